// The page elements as the document view paints them, in view pixels on the window's page
// image. The view (TMainFm) composes a page by calling these in order; cell colours are the
// view's, the letters and numbers over them are drawn here.
#pragma once

#include "cluespg.h"
#include "pagetypes.h"

#include <QRect>

class QPainter;

// ---- View settings ------------------------------------------------------------------------------

/** Smallest pixel heights at which pencilled letters and cell numbers are still drawn. */
extern int MinLetterFontSize;
extern int MinNumberFontSize;
/** The colour of two-letter words, and whether the view tints colours to pastels. */
extern TColor HighlightColor;
extern bool PastelHighlight;
/** The solution page shows the grid turned by half a turn. */
extern bool SolutionUpsideDown;
/** Black strips of this many pixels along the right and bottom of the page. */
extern int PageShadowWidth;
/** Lines at the printable-area boundaries when the grid spans several sheets. */
extern bool ShowTileGuides;

/** Derived by the view geometry from the zoom (pixels). */
struct TViewMetrics {
    int PuzzleNumberPixelHeight = 0; // cell numbers of the puzzle grid
    int PencilLetterPixelHeight = 0; // pencilled letters
    int SolutionLetterPixelHeight = 0;
    int SolutionNumberPixelHeight = 0;
    TPixelRect AllPagesPixelRect; // the page, or every sheet the grid spans on its page
};
extern TViewMetrics ViewMetrics;
/** The first clue line's rectangle (inches), for the view. */
extern TPageRect FirstClueBoxRect;

// ---- Painters -----------------------------------------------------------------------------------

void VP_BeginPaint(QPainter &canvas, const QRect &clip);
void VP_UpdatePageCursor();
void VP_DrawPageBorders(QPainter &canvas);
void VP_DrawTitles(QPainter &canvas);
void VP_DrawWorksheetLine(QPainter &canvas);
void VP_DrawSolutionHeader(QPainter &canvas);
void VP_DrawFreeformHelp(QPainter &canvas);
void VP_DrawCreditsLine(QPainter &canvas);
void VP_DrawAllClues(QPainter &canvas);
/** Paints the clues from this row on (across row 0: everything) and blanks the lines the flow
 *  no longer needs. */
void VP_PaintCluesStartingFrom(QPainter &canvas, TClueGrid *grid, int row);
void VP_DrawOneClue(QPainter &canvas, TClueGrid *grid, int row);
/** A heading: direction 1 across at line 1, 2 down at its line. */
void Viewport_DrawAcrDwn(QPainter &canvas, int direction, int line);
void VP_DrawWordBankArea(QPainter &canvas);
void VP_DrawWordBank(QPainter &canvas);
/** A cell's letter and number over the colour the view painted; only when the engine's
 *  remembered letter or number differs. */
void VP_DrawCell(QPainter &canvas, int column, int row);
/** The colour an open cell shows on the current view tab (pastel tints; print-like tabs show
 *  open cells in the page colour). */
TColor ViewCellColor(TColor colour);

/** The lines of the freeform instructions, in order, with the number of text heights each
 *  stands below the one before it. */
struct TFreeformHelpLine {
    const char *Text;
    int Gap;
};
extern const TFreeformHelpLine FreeformHelpLines[7];
