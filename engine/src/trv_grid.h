// trv_grid.h - the one grid of the process: cell store, slot store, numbering, symmetry,
// hot spots, and the library's fault boxes and draw-cell callback slots.
#ifndef TRV_GRID_H
#define TRV_GRID_H

#include <cstdint>

#include "trv600.h"

// Cell codes.
enum : char {
    Block = 1,
    Empty = 2,
    Edge = 3,
    Removed = 4,
    Invalid = 5
};

constexpr int MaxCols = 2101;
constexpr int MaxRows = 2101;
constexpr int MaxCells = 32100;
constexpr int MaxWLStats = 101;
constexpr int QuickDrawMax = 8;
constexpr int BigPatternThreshold = 361;
constexpr int NoWord = -9;
constexpr int NumDiffLevels = 5;

// Colour codes used by the engine.
enum ColorCode : int {
    ccBlack = 0,
    ccMaroon,
    ccGreen,
    ccOlive,
    ccNavy,
    ccPurple,
    ccTeal,
    ccGray,
    ccSilver,
    ccRed,
    ccLime,
    ccBlue,
    ccFuchsia,
    ccAqua,
    ccYellow,
    ccWhite,
    ccThemeHorz = ccRed,
    ccThemeVert = ccBlue
};

#pragma pack(push, 1)
// One grid cell: 32 bytes, fields in this order.
struct cell {
    char letter;  // cell code or letter
    char DispLet; // letter last drawn (Invalid: redraw needed)
    uint16_t IsBlocked : 1;
    uint16_t IsFixed : 1;
    uint16_t IsStuckArea : 1;
    uint16_t IsStuckCell : 1;
    uint16_t IsTwoLetter : 1;
    uint16_t IsUncrossed : 1;
    uint16_t Displayed : 1;
    uint16_t DispDiff : 3;
    uint16_t ValidDD : 1;
    uint16_t FontColor : 4;
    uint16_t spare : 1;
    int16_t DispNum;
    int32_t DispColor;
    int32_t difficulty;
    int16_t boxnumber;
    int16_t xHorzWord;
    int16_t xVertWord;
    int32_t Heat;
    int8_t FrontID;
    uint16_t GroupID;
    int32_t AssignDepth;
    int8_t filler1;
};

// One word slot.
struct WSLOT {
    int16_t xFirstCell;
    int16_t Length;
    int16_t LetterCount;
    int16_t ThemeTest;
    int16_t next; // 1 across, Down down
    char *def;
};
#pragma pack(pop)

static_assert(sizeof(cell) == 32, "cell record must be 32 bytes");

// Cell store (static members only).
struct CELLS {
    static cell *Cell;          // first record, on a 32-byte boundary
    static char *UnalignedCell; // the block as allocated
    static int NumberCellRecords;
    static char StuckAreaShowing;
};

// Slot store (static members only).
struct WSLOTS {
    static WSLOT *Slot;
    static int NumberWordRecords; // capacity
    static int NumberWords;       // slots in use
    static int NumberEmptyCells(int Slotx);
};

class GRID {
  public:
    CELLS Cells;
    WSLOTS Slots;
    int Height = 0;
    int Width = 0;
    int BigPatternFlag = 0;
    int Down = 1;
    int Up = -1;
    int WLengthTally[MaxWLStats] = {};
    int SymMode = 1;
    int QuickDrawListX[QuickDrawMax] = {};
    int QuickDrawListY[QuickDrawMax] = {};
    int QuickDrawCount = 0;

    GRID();
    ~GRID();

    // Size and shape.
    static int CanDo(int AskCols, int AskRows);
    void CreateGrid(int width, int height);
    int ResizeGrid(int NewWidth, int NewHeight); // 1 done, 0 refused (grid unchanged)
    int ExchangeAcrossDown();                    // 1 done, 0 refused (grid unchanged)
    void RenumberGrid();
    void ClearGrid();
    void ClearGridLetters(int ClearFixedThemeWordsToo);
    void InvalidateDisplay();
    void SetSymMode(int mode);
    int ComputeBigPatternFlag();
    static void MouseRelease();
    void Undo() {}
    void Redo() {}

    // Cell setting.
    void SetCell(int column, int row, char code);
    void SetCellOnly(int column, int row, char code);
    static void AssignLetterToCell(cell &c, char code);

    // Redraws.
    void DrawQuickDrawList();
    void DrawQuickBoxNumbersUpdate();
    void ClearStuckAreaColor();

    // Hot spots, traffic light, regions.
    void TestCellForSmallIntesectingWords(int cellx);
    void ComputeHotSpots();
    void InvalidateHotSpots(int x, int y);
    int ComputeOneHotSpot(int x, int y, int StopAtHeat);
    void UpdateHotSpots();
    int TrafficLightColor();
    void MarkWholePuzzleWithGroupSizes();

    // Older text format.
    int ReadPuzzle(const char *Filename);

    // Helpers.
    bool HasCells() const { return CELLS::Cell != nullptr && CELLS::NumberCellRecords > 0; }
    bool Inside(int column, int row) const {
        return HasCells() && column >= 1 && column <= Width && row >= 1 && row <= Height;
    }
    int Index(int column, int row) const { return Down * row + column; }
    cell &At(int column, int row) { return CELLS::Cell[Index(column, row)]; }
    int FirstIndex() const { return Down + 1; }
    int LastIndex() const { return Down * Height + Width; }
};

extern GRID Grid;

// Module state of trv_grid.
extern int SavedState;
extern int DelayedCalculations;
extern int ShowHotSpots;
extern char MouseCondition;
extern const int DiffLevel[NumDiffLevels];

// Draw-cell callbacks: (row, column). Call through the Call* helpers, which skip unset slots.
extern TRVDrawCellProc UIDrawVicinityQuickly;
extern TRVDrawCellProc UIDrawCellColor;
extern TRVDrawCellProc UIDrawCellNumber;
extern TRVDrawCellProc UIDrawCellLetter;
inline void CallDraw(TRVDrawCellProc p, int row, int column) {
    if (p) p(row, column);
}

// Re-entry guard of the exports. An export that changes the grid, the theme words or the
// engine holds it for its whole run, callbacks and message boxes included. Such an export
// called from inside one of those callbacks finds it held and refuses, so no outer loop has
// its cells, slots, word store or engine replaced under it.
class EngineBusy {
  public:
    EngineBusy() : owner(!held) { held = true; }
    ~EngineBusy() {
        if (owner) held = false;
    }
    EngineBusy(const EngineBusy &) = delete;
    EngineBusy &operator=(const EngineBusy &) = delete;
    bool Refused() const { return !owner; } // another guarded export is running
    static bool Held() { return held; }

  private:
    static inline bool held = false;
    const bool owner;
};

// Slot helpers.
int GetBoxCode(int Slotx);
int GetSlotx(int BoxCode);

// Fault boxes. The text identifies the message by its address (one string per call site),
// so pass string literals or a per-site static buffer. They go through the installed
// handler; without one the text goes to stderr and the answer is Retry (or OK).
void MesgBox(const char *text);
void ErrorBox(const char *text);
void WarningBox(const char *text);
extern TRVMessageBoxProc MessageBoxHandler;

#endif
