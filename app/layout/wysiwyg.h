// The page model: the layout settings of the puzzle turned into clue boxes in inches on up to
// 9 pages, the wrapped lines of every clue and where each line falls, the title block, the word
// bank and the metrics of the output device. Every output draws the cached lines at the places
// ClueFlow_GetPlacement gives, so line and page breaks are the same everywhere.
#pragma once

#include "cluespg.h"
#include "pagetypes.h"

#include <QString>
#include <QStringList>

#include <functional>

struct TLayoutSettings;

constexpr int MaxLayoutPages = 9;
constexpr int MaxBoxesPerPage = 19;
/** Clearance between a clue box and the grid's keep-out area when deciding overlap. */
constexpr double ClueBoxClearance = 0;

// ---- Page model (indices from 1, as pages and boxes are numbered) ----------------------------

extern TPageRect ClueBoxes[MaxLayoutPages + 1][MaxBoxesPerPage + 2];
extern int ClueBoxCount[MaxLayoutPages + 1];
extern int LineMap[MaxLayoutPages + 1][MaxBoxesPerPage + 2];
extern bool ClueBoxesReady, SequenceReady, PrinterInfoReady;
extern int NewColumnSkip;
extern double ClueColumnWidth;
extern double LineHeightBase; // inches from a line's top to the bottom of its text
extern double ClueLineHeight; // LineHeightBase x LeadingPercentage / 100
extern TPageRect GridKeepOutRect;
extern TPageRect WordBankRect;
extern QStringList WordBankList;
/** Clue lines that fall beyond the last box of page 9 (0 when everything fits). */
extern int OverflowLineCount;

// ---- Output-device metrics (WYSIWYGChange) ----------------------------------------------------

extern double InchesPerDevicePixelX, InchesPerDevicePixelY;
extern double HalfDevicePixelX, HalfDevicePixelY;
extern double PuzzleCellInner, SolutionCellInner;
extern int AcrDwnDeviceHeight, ClueTextDeviceHeight, ClueNumberDeviceHeight, TenPointDeviceHeight;
/** A grid font size taken for the output device: points and device pixels. */
struct TGridFontSize {
    int Points = 0;
    int Pixels = 0;
};
extern TGridFontSize PuzzleNumberSize, PencilLetterSize, SolutionLetterSize, SolutionNumberSize;
extern int ClueWrapWidth;     // device pixels
extern int NumberColumnWidth; // device pixels
extern double NumberColumnWidthInches;

/** Times the clues were wrapped (every ClueFlow_EstablishOne); tests count re-flows. */
extern int ClueWrapCount;

// ---- Composer ---------------------------------------------------------------------------------
// The composer lays out the settings it is given; the forms without settings lay out
// LayoutSettings. Where it takes them to change, it writes back what it settles: the paper of the
// printer (WYSIWYGChange), the gaps and the word-bank height (ClueBoxes_Setup), and the columns
// and margins that make room on the paper (FitLayoutToPaper).

/** Places the grid (UpdateGridPosition), then recomputes gaps, keep-out, word bank, clue boxes
 *  and the line map. Hostile settings are clamped for composing only. */
void ClueBoxes_Setup(TLayoutSettings &s);
void ClueBoxes_Setup();
void LineMap_Setup(const TLayoutSettings &s);
void LineMap_Setup();
void ClueFlow_MeasureClues(TLayoutSettings &s);
void ClueFlow_MeasureClues();
int ClueFlow_EstablishOne(const TLayoutSettings &s, TClueGrid *grid, int row);
int ClueFlow_EstablishOne(TClueGrid *grid, int row);
void ClueFlow_EstablishAll(TLayoutSettings &s);
void ClueFlow_EstablishAll();
/** Re-flows everything only when an input changed since the last flow (layout settings, titles,
 *  word bank, clue texts, device metrics) or ClueLayoutDirty is set; clears ClueLayoutDirty. */
void ClueFlow_EnsureCurrent();
int ClueFlow_LinesOf(TClueGrid *grid, int row);
void ClueFlow_Renumber();
void ClueFlow_ClueWasChanged(TClueGrid *grid, int row);
void ClueFlow_InvalidateAll();
bool ClueFlow_GetPlacement(int line, int *page, TPageRect *rect);
int DownHeadingLine();
int LastClueLine();
int LastCluePage(const TLayoutSettings &s);
int LastCluePage();
bool NoWidows(const TLayoutSettings &s);
bool NoWidows();
/** Within the count characters from start (1-based): the position (1-based, in the whole text)
 *  of the last blank or of the last "-" (a hyphen ending the piece, with any hyphens just before
 *  it, is no break), whichever is later; 0 when the piece has neither. */
int FindWrapPoint(const QString &text, int start, int count);
/** TitleBlockHeight from the title and subtitle fields, then UpdateGridPosition. */
void ComputeTitleBlockHeight(const TLayoutSettings &s);
void ComputeTitleBlockHeight();
void RelayoutPage();
void FitLayoutToPaper(TLayoutSettings &s);
void FitLayoutToPaper();
void WYSIWYGChange(TLayoutSettings &s);
void WYSIWYGChange();
/** GridTileColumns and GridTileRows: how many printable areas (PrintableWidth(),
 *  PrintableHeight()) the grid spans across and down, 1..50 each. WYSIWYGChange runs it after
 *  UpdateGridPosition. */
void ComputeGridTiles(const TLayoutSettings &s);
void ComputeGridTiles();
void WordBank_Layout(const TLayoutSettings &s);
void WordBank_Layout();
/** round(inches / InchesPerDevicePixelY), at 300 pixels to the inch before any metrics. */
int InchesToDevicePixels(double inches);

/** Sets the current page (at most PageCount) and tells the window. */
void SetCurrentPage(int page);

/** The composer's messages wait here: a paint never shows a message box. The view shows them
 *  once after painting (never while AutoLayoutPending); each shows at most once per layout. */
void ShowPendingLayoutMessages();
bool HasPendingLayoutMessages();
/** Forgets which once-per-run messages were shown (a new puzzle). */
void ResetLayoutMessages();

/** Points the document's clue-flow hooks and the puzzle file's layout hooks (page metrics, word
 *  bank, title block) at the page model. */
void InstallDocumentLayoutHooks();

/** Main-window operations the composer calls; each may be left unset. */
struct TLayoutHooks {
    /** The page count reached the model; the window updates its tabs after the paint. */
    std::function<void(int count)> PageCountChanged;
    std::function<void(int page)> CurrentPageChanged;
    std::function<void()> FormResize;
    std::function<void()> RedrawView;
    std::function<void(TClueGrid *grid, int row)> PaintCluesStartingFrom;
    std::function<void(TClueGrid *grid, int row)> DrawOneClue;
    std::function<void()> ClearPattern;
    std::function<void(const QString &text)> ShowErrorForm;
    /** True while the layout is being changed by the window and titles only changed. */
    std::function<bool()> TitleChanged;
};
extern TLayoutHooks LayoutHooks;
