// Helpers of the grid page: marking the word slots of one length from the word-size chart and
// setting the puzzle size.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QPainter;

/** The items of the size list `PuzzleSizeCmBx`, as the main window's form has them. */
extern const QStringList PuzzleSizeItems;

/** Shows the help balloon (text, seconds) at the word-size chart; set by the main window. */
extern std::function<void(const QString &text, int seconds)> ShowSlotBalloon;

/** One marked cell: 1 across slot of the length, 2 down slot, 3 both. */
struct TSlotMark {
    int Column;
    int Row;
    int Match;
};

/** The match of one cell for slots of length n (0 when none). */
int SlotMatchOfCell(int column, int row, int n);
/** Marks (first call) or unmarks (the same length again) every cell in a slot of length n;
 *  without such a slot the balloon tells so, once for a press and its release. */
void HighlightSlotsOfLength(int n);
/** The cells marked now (empty when none). */
QList<TSlotMark> CurrentSlotMarks();
/** Draws the current slot marks onto the view's backing image, exclusive-or style. */
void PaintSlotMarks(QPainter &painter);

/** "Custom " + columns + " x " + rows + " (Can be up to 51 x 51)". */
QString CustomSizeText(int columns, int rows);
/** Sets Columns and Rows; the size spin edits and the size list follow (PuzzleDimensionsChanged). */
void SetPuzzleDimensions(int columns, int rows, bool custom);
