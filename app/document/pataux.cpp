// Word-size chart marks, the main window's saved bounds and the puzzle size controls.
#include "pataux.h"

#include "alphabet.h"
#include "docevents.h"
#include "globals.h"
#include "layoutsettings.h"
#include "trv600.h"

#include <QPainter>

const QStringList PuzzleSizeItems = {"5 x 5",
                                     "7 x 7",
                                     "9 x 9",
                                     "10 x 10",
                                     "13 x 13",
                                     "15 x 15 (standard size)",
                                     "17 x 17",
                                     "19 x 19",
                                     "21 x 21",
                                     "23 x 23",
                                     "Custom (up to 51 x 51)"};

std::function<void(const QString &, int)> ShowSlotBalloon;

namespace {

QList<TSlotMark> g_marks;
int g_markedLength = 0;
bool g_balloonShown = false;

bool letterOrOpen(int c, int r)
{
    return c >= 1 && r >= 1 && c <= Columns && r <= Rows && IsLetterOrOpen(GetCellLetter(c, r));
}

int runLength(int c, int r, int dc, int dr)
{
    int b = 0;
    while (letterOrOpen(c - (b + 1) * dc, r - (b + 1) * dr))
        ++b;
    int f = 0;
    while (letterOrOpen(c + (f + 1) * dc, r + (f + 1) * dr))
        ++f;
    return b + 1 + f;
}

} // namespace

int SlotMatchOfCell(int column, int row, int n)
{
    if (!letterOrOpen(column, row))
        return 0;
    int match = 0;
    if (runLength(column, row, 1, 0) == n)
        match |= 1;
    if (runLength(column, row, 0, 1) == n)
        match |= 2;
    return match;
}

void HighlightSlotsOfLength(int n)
{
    if (GridUpdating)
        return;
    QList<TSlotMark> marks;
    for (int r = 1; r <= Rows; ++r)
        for (int c = 1; c <= Columns; ++c)
            if (const int m = SlotMatchOfCell(c, r, n))
                marks.append({c, r, m});
    if (!marks.isEmpty()) {
        g_balloonShown = false; // only the call just before may have shown the balloon
    } else {
        if (g_balloonShown) {
            g_balloonShown = false; // the release after the press that showed the balloon
        } else {
            if (ShowSlotBalloon)
                ShowSlotBalloon("There is no slot for a " + QString::number(n) + "-letter word. " +
                                    "Please try another word size. " +
                                    "Hold down the mouse button as long as needed.",
                                4);
            g_balloonShown = true;
        }
    }
    // Drawing the same marks a second time takes them away again.
    if (g_markedLength == n && !g_marks.isEmpty()) {
        g_marks.clear();
        g_markedLength = 0;
    } else {
        g_marks = marks;
        g_markedLength = marks.isEmpty() ? 0 : n;
    }
    emit TDocumentEvents::Instance().SlotMarksChanged();
}

QList<TSlotMark> CurrentSlotMarks() { return g_marks; }

void PaintSlotMarks(QPainter &painter)
{
    if (g_marks.isEmpty())
        return;
    const bool puzzle = CurrentPage == PuzzlePage;
    if (!puzzle && CurrentPage != SolutionPage)
        return;
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    const QColor grey(0x80, 0x80, 0x80);
    const QColor silver(0xC0, 0xC0, 0xC0);
    // Filled bars without an outline: an outline would be drawn twice over the fill's edge and
    // cancel itself out in exclusive-or mode.
    painter.setPen(Qt::NoPen);
    for (const TSlotMark &m : g_marks) {
        const char code = TRVGetCell(m.Column, m.Row);
        if (code == TRV_BLOCK || code == TRV_EDGE || code == TRV_REMOVED)
            continue;
        const TPixelRect p = puzzle ? CellPixelRect(m.Column, m.Row) : CellPixelRectFor(m.Column, m.Row);
        const int left = p.Left, top = p.Top, right = p.Right + 1, bottom = p.Bottom + 1;
        const int h = (bottom - top) / 5;
        const int w = (right - left) / 5;
        painter.setBrush(grey);
        if (m.Match & 1)
            painter.drawRect(QRect(QPoint(left, top + h), QPoint(right - 1, bottom - h - 1)));
        if (m.Match & 2)
            painter.drawRect(QRect(QPoint(left + w, top), QPoint(right - w - 1, bottom - 1)));
        if (m.Match == 3) {
            painter.setBrush(silver);
            painter.drawRect(QRect(QPoint(left + w, top + h), QPoint(right - w - 1, bottom - h - 1)));
        }
    }
    painter.restore();
}

QString CustomSizeText(int columns, int rows)
{
    return "Custom " + QString::number(columns) + " x " + QString::number(rows) + " (Can be up to 51 x 51)";
}

void SetPuzzleDimensions(int columns, int rows, bool custom)
{
    Columns = columns;
    Rows = rows;
    emit TDocumentEvents::Instance().PuzzleDimensionsChanged(columns, rows, custom);
}
