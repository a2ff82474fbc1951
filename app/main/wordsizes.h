// The word-slot histogram of the grid page: where its rows, bars and counts go. One function
// computes the whole layout, so that painting and the mouse always agree.
#pragma once

#include <vector>

/** One row of the histogram: the word length, its slot count and where they are drawn. */
struct TWordSizesRow {
    int Length = 0;
    int Top = 0;     // y of the row: its texts' top; the bar and tick hang below it
    int Count = 0;   // slots of this length
    int LengthX = 0; // x of the length text
    int BarEnd = 0;  // right end of the bar (the bar is drawn only when Count > 0)
    int CountX = 0;  // x of the count text
};

struct TWordSizesGeometry {
    static constexpr int RowPitch = 7;
    static constexpr int FirstRowTop = 18;
    static constexpr int MaxRows = 23;
    static constexpr int AxisLeft = 45;
    static constexpr int AxisRight = 47;
    static constexpr int BarLeft = 46;

    int Scale = 3;       // pixels per slot
    int PanelHeight = 0; // the height the histogram's panel takes
    int AxisTop = 0;
    int AxisBottom = 0;
    std::vector<TWordSizesRow> Rows; // lengths 1..n in order
    /** Row boundaries: length i owns the band from Bounds[i - 1] up to (not including) Bounds[i]. */
    std::vector<int> Bounds;

    /** The length whose band holds y; 0 when none. */
    int LengthAt(int y) const;
    /** Inside a row's band and left of its bar's end + 3 (the length texts included): the place
     *  where a press shows the slots. */
    bool IsOverBar(int x, int y) const;
};

/** The histogram for a grid of columns x rows with counts[i] slots of length i (missing entries
 *  count 0) and total slots in all; boxWidth is the paint box's width and maxPanelHeight the
 *  most its panel may take. */
TWordSizesGeometry ComputeWordSizesGeometry(int total, const std::vector<int> &counts, int columns, int rows,
                                            int boxWidth, int maxPanelHeight);
