// The word-slot histogram's layout.
#include "wordsizes.h"

#include <algorithm>

TWordSizesGeometry ComputeWordSizesGeometry(int total, const std::vector<int> &counts, int columns, int rows,
                                            int boxWidth, int maxPanelHeight)
{
    using G = TWordSizesGeometry;
    G g;
    g.Scale = total > 600 ? 1 : total > 300 ? 2 : 3;
    const int n = std::clamp(std::max(columns, rows), 0, G::MaxRows);
    g.PanelHeight = std::min(G::RowPitch * n + 30, maxPanelHeight);
    g.AxisTop = G::FirstRowTop + 4;
    g.AxisBottom = G::FirstRowTop + G::RowPitch * n;
    const int barLimit = boxWidth - 40;
    for (int i = 1; i <= n; ++i) {
        TWordSizesRow row;
        row.Length = i;
        row.Top = G::FirstRowTop + G::RowPitch * (i - 1);
        row.Count = i < int(counts.size()) ? std::max(counts[size_t(i)], 0) : 0;
        const bool odd = i % 2 == 1;
        row.LengthX = odd ? 24 : 10;
        row.BarEnd = std::min(G::AxisRight + row.Count * g.Scale, barLimit);
        // Counts stand in two staggered columns every 28 pixels, clear of the bar.
        const int offset = odd ? 14 : 0;
        const int need = row.BarEnd + 2 - offset;
        row.CountX = offset + (need <= 0 ? 0 : (need + 27) / 28 * 28);
        g.Rows.push_back(row);
        g.Bounds.push_back(row.Top + 2);
    }
    if (n > 0)
        g.Bounds.push_back(g.Rows.back().Top + 7);
    return g;
}

int TWordSizesGeometry::LengthAt(int y) const
{
    for (size_t i = 1; i < Bounds.size(); ++i)
        if (y >= Bounds[i - 1] && y < Bounds[i])
            return int(i);
    return 0;
}

bool TWordSizesGeometry::IsOverBar(int x, int y) const
{
    const int length = LengthAt(y);
    return length > 0 && x < Rows[size_t(length - 1)].BarEnd + 3;
}
