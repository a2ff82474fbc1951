// trv_exports.cpp - the exported TRV functions for the grid, its cells and display memory,
// hot spots, the mouse, sizes, the older text reader and the message-box handler.
// Every export here that changes the grid holds EngineBusy and does nothing (or returns its
// failure result) when called from inside another guarded export's callbacks.
#include <cstdio>

#include "trv600.h"
#include "trv_grid.h"

namespace {

// Cell exports take (column, row); a cell outside the grid reads as neutral and is never written.
cell *CellAt(int column, int row) { return Grid.Inside(column, row) ? &Grid.At(column, row) : nullptr; }

} // namespace

TRV_EXTERN(TRVMessageBoxProc) TRVSetMessageBoxHandler(TRVMessageBoxProc handler) {
    TRVMessageBoxProc previous = MessageBoxHandler;
    MessageBoxHandler = handler;
    return previous;
}

// ---- Grid ------------------------------------------------------------------------------

TRV_EXTERN(void) TRVCreateRenumGrid(int width, int height) {
    EngineBusy busy;
    if (busy.Refused()) return;
    if (!GRID::CanDo(width, height)) { // the old grid stays
        static char text[100];
        std::snprintf(text, sizeof text, "A grid of %d by %d cells is not possible.", width, height);
        ErrorBox(text);
        return;
    }
    if (width >= 52 || height >= 52) {
        static char text[100];
        std::snprintf(text, sizeof text, "Bad arguments passed to TRVCreateRenumGrid(%d,%d).", width, height);
        MesgBox(text);
    }
    Grid.CreateGrid(width, height);
    Grid.RenumberGrid();
}

TRV_EXTERN(void) TRVResizeGrid(int width, int height) {
    EngineBusy busy;
    if (!busy.Refused()) Grid.ResizeGrid(width, height);
}

TRV_EXTERN(int) TRVCanDo(int columns, int rows) { return GRID::CanDo(columns, rows); }

TRV_EXTERN(void) TRVClearGrid(void) {
    EngineBusy busy;
    if (!busy.Refused()) Grid.ClearGrid();
}

TRV_EXTERN(void) TRVClearGridLetters(int fixedToo) {
    EngineBusy busy;
    if (!busy.Refused()) Grid.ClearGridLetters(fixedToo);
}

TRV_EXTERN(void) TRVExchangeAcrossDown(void) {
    EngineBusy busy;
    if (!busy.Refused()) Grid.ExchangeAcrossDown();
}

TRV_EXTERN(void) TRVRenumberGrid(void) {
    EngineBusy busy;
    if (!busy.Refused()) Grid.RenumberGrid();
}

// The symmetry code selects the partner cells of every edit; an unknown one is refused.
TRV_EXTERN(void) TRVSetSymMode(int mode) {
    EngineBusy busy;
    if (busy.Refused() || mode < 0 || mode > 6) return;
    Grid.SetSymMode(mode);
}

TRV_EXTERN(int) TRVGetSymMode(void) { return Grid.SymMode; }
TRV_EXTERN(int) TRVGetWidth(void) { return Grid.Width; }
TRV_EXTERN(int) TRVGetHeight(void) { return Grid.Height; }

TRV_EXTERN(int) TRVGetWLCount(int length) {
    if (length < 0 || length >= MaxWLStats) return 0;
    return Grid.WLengthTally[length];
}

TRV_EXTERN(int) TRVGetWLCountTotal(void) { return WSLOTS::NumberWords; }
TRV_EXTERN(int) TRVGetMaxCols(void) { return MaxCols; }
TRV_EXTERN(int) TRVGetMaxRows(void) { return MaxRows; }
TRV_EXTERN(int) TRVGetMaxCells(void) { return MaxCells; }
TRV_EXTERN(int) TRVBigPattern(void) { return Grid.ComputeBigPatternFlag(); }
TRV_EXTERN(int) TRVSavedState(void) { return SavedState; }
TRV_EXTERN(int) TRVTestC(void) { return 5; }

// ---- Cells -----------------------------------------------------------------------------

TRV_EXTERN(char) TRVGetCell(int column, int row) {
    const cell *c = CellAt(column, row);
    return c ? c->letter : static_cast<char>(Edge);
}

TRV_EXTERN(void) TRVSetCell(int column, int row, char code) {
    EngineBusy busy;
    if (!busy.Refused()) Grid.SetCell(column, row, code);
}

TRV_EXTERN(void) TRVSetCellOnly(int column, int row, char code) {
    EngineBusy busy;
    if (!busy.Refused()) Grid.SetCellOnly(column, row, code);
}

TRV_EXTERN(int) TRVIsCellFixed(int column, int row) {
    const cell *c = CellAt(column, row);
    return c ? c->IsFixed : 0;
}

TRV_EXTERN(int) TRVGetCellNumber(int column, int row) {
    const cell *c = CellAt(column, row);
    return c ? c->boxnumber : 0;
}

TRV_EXTERN(int) TRVShadeCell(int column, int row) {
    const cell *c = CellAt(column, row);
    if (!c) return 0;
    return (c->IsStuckCell ? TRV_SHADE_STUCK_CELL : 0) | (c->IsStuckArea ? TRV_SHADE_STUCK_AREA : 0) |
           (c->IsTwoLetter ? TRV_SHADE_TWO_LETTER : 0) | (c->IsUncrossed ? TRV_SHADE_UNCROSSED : 0);
}

TRV_EXTERN(int) TRVGetFontColor(int column, int row) {
    const cell *c = CellAt(column, row);
    return c ? c->FontColor : 0;
}

TRV_EXTERN(int) TRVGetDifficulty(int column, int row) {
    const cell *c = CellAt(column, row);
    return c ? c->difficulty : 0;
}

// ---- Cell display memory ---------------------------------------------------------------

TRV_EXTERN(void) TRVSetCellDisp(int column, int row, int flag) {
    if (cell *c = CellAt(column, row)) c->Displayed = flag & 1;
}

TRV_EXTERN(void) TRVSetCellDispLetter(int column, int row, char letter) {
    if (cell *c = CellAt(column, row)) c->DispLet = letter;
}

TRV_EXTERN(void) TRVSetCellDispNumber(int column, int row, int number) {
    if (cell *c = CellAt(column, row)) c->DispNum = static_cast<int16_t>(number);
}

TRV_EXTERN(void) TRVSetCellDispColor(int column, int row, int color) {
    if (cell *c = CellAt(column, row)) c->DispColor = color;
}

TRV_EXTERN(void) TRVSetCellDispDiff(int column, int row, int level) {
    if (cell *c = CellAt(column, row)) c->DispDiff = level & 7;
}

TRV_EXTERN(int) TRVGetCellDisp(int column, int row) {
    const cell *c = CellAt(column, row);
    return c ? c->Displayed : 0;
}

TRV_EXTERN(char) TRVGetCellDispLetter(int column, int row) {
    const cell *c = CellAt(column, row);
    return c ? c->DispLet : static_cast<char>(Edge);
}

TRV_EXTERN(int) TRVGetCellDispNumber(int column, int row) {
    const cell *c = CellAt(column, row);
    return c ? c->DispNum : 0;
}

TRV_EXTERN(int) TRVGetCellDispColor(int column, int row) {
    const cell *c = CellAt(column, row);
    return c ? c->DispColor : 0;
}

TRV_EXTERN(void) TRVInvalidateDisplay(void) { Grid.InvalidateDisplay(); }

TRV_EXTERN(void)
TRVEstablishDrawCellCallBacks(TRVDrawCellProc vicinity, TRVDrawCellProc color, TRVDrawCellProc number,
                              TRVDrawCellProc letter) {
    UIDrawVicinityQuickly = vicinity;
    UIDrawCellColor = color;
    UIDrawCellNumber = number;
    UIDrawCellLetter = letter;
}

// ---- Mouse and hot spots ---------------------------------------------------------------

// Refused while busy: the stored state stays, so the deferred work runs at a later release.
TRV_EXTERN(void) TRVMouseEvent(char state) {
    EngineBusy busy;
    if (busy.Refused()) return;
    if (MouseCondition == 'D' && state == 'U') GRID::MouseRelease();
    MouseCondition = state;
}

TRV_EXTERN(void) TRVComputeHotSpots(void) {
    EngineBusy busy;
    if (!busy.Refused()) Grid.ComputeHotSpots();
}

TRV_EXTERN(void) TRVUpdateHotSpots(void) {
    EngineBusy busy;
    if (!busy.Refused()) Grid.UpdateHotSpots();
}

TRV_EXTERN(void) TRVSetShowHotSpots(int flag) {
    EngineBusy busy;
    if (busy.Refused()) return;
    ShowHotSpots = flag;
    if (flag) Grid.ComputeHotSpots();
}

TRV_EXTERN(int) TRVGetShowHotSpots(void) { return ShowHotSpots; }
TRV_EXTERN(int) TRVTrafficLightColor(void) { return Grid.TrafficLightColor(); }

// ---- Older text format and undo hooks --------------------------------------------------

TRV_EXTERN(int) TRVReadPuzzle(const char *fileName) {
    EngineBusy busy;
    if (busy.Refused()) return 99; // as when the file cannot be opened: nothing was read
    return Grid.ReadPuzzle(fileName);
}

// Undo and redo live in the program; these stay for its bindings.
TRV_EXTERN(void) TRVUndoSpBtnClick(void) { Grid.Undo(); }
TRV_EXTERN(void) TRVRedoSpBtnClick(void) { Grid.Redo(); }
