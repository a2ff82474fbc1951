// trv_grid.cpp - the one grid of the process: cell and slot stores, numbering, sizes,
// symmetry, hot spots, traffic light, region sizes, and the library's fault boxes.
#include "trv_grid.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

cell *CELLS::Cell = nullptr;
char *CELLS::UnalignedCell = nullptr;
int CELLS::NumberCellRecords = 0;
char CELLS::StuckAreaShowing = 0;

WSLOT *WSLOTS::Slot = nullptr;
int WSLOTS::NumberWordRecords = 0;
int WSLOTS::NumberWords = 0;

int SavedState = 0;
int DelayedCalculations = 0;
int ShowHotSpots = 0;
char MouseCondition = 'U';
const int DiffLevel[NumDiffLevels] = {0, 350, 550, 750, 1050};

TRVDrawCellProc UIDrawVicinityQuickly = nullptr;
TRVDrawCellProc UIDrawCellColor = nullptr;
TRVDrawCellProc UIDrawCellNumber = nullptr;
TRVDrawCellProc UIDrawCellLetter = nullptr;

TRVMessageBoxProc MessageBoxHandler = nullptr;

GRID Grid;

namespace {

constexpr int MaxTempData = 32760; // scratch bytes for resizing and transposing
constexpr int MaxNumGroups = 4096;
constexpr int DisplayNothingYet = 12336;

enum TrafficLight {
    Green = 1,
    Yellow = 2,
    Red = 3
};

// The last message answered with Ignore, per kind of box (compared by address).
const char *LastErrorPointer = nullptr;
const char *LastWarningPointer = nullptr;

int ShowBox(const char *text, const char *caption, int buttons) {
    if (MessageBoxHandler) return MessageBoxHandler(text, caption, buttons);
    std::fprintf(stderr, "%s: %s\n", caption, text);
    return buttons == TRV_MB_OK ? TRV_IDOK : TRV_IDRETRY;
}

void AnswerFaultBox(const char *text, const char *composed, const char *caption, const char *&last) {
    int answer = ShowBox(composed, caption, TRV_MB_ABORTRETRYIGNORE);
    if (answer == TRV_IDABORT) std::exit(1);
    if (answer == TRV_IDIGNORE) last = text;
}

bool IsUpperLetter(char code) { return code >= 'A' && code <= 'Z'; }
bool IsAsciiLetter(char code) { return IsUpperLetter(code) || (code >= 'a' && code <= 'z'); }

void SetBoxNumber(cell &c, int number) {
    if (c.boxnumber != number) {
        c.boxnumber = static_cast<int16_t>(number);
        c.Displayed = 0;
    }
}

// Offset that keeps the contents centred when a dimension goes from oldN to newN cells.
int CentreOffset(int oldN, int newN) {
    int diff = newN - oldN;
    int offset = diff / 2;
    int larger = oldN > newN ? oldN : newN;
    int smaller = oldN > newN ? newN : oldN;
    if (larger % 2 == 1 && smaller % 2 == 0) offset += diff % 2;
    return offset;
}

void ReportRefusedSize(int width, int height) {
    static char text[120];
    std::snprintf(text, sizeof text, "A grid of %d by %d cells is not possible.", width, height);
    ErrorBox(text);
}

} // namespace

// ---- Fault boxes -----------------------------------------------------------------------

void MesgBox(const char *text) { ShowBox(text ? text : "", "Message", TRV_MB_OK); }

void ErrorBox(const char *text) {
    if (!text) text = "";
    if (text == LastErrorPointer) return;
    char composed[1200];
    std::snprintf(composed, sizeof composed,
                  "%s  Press Retry to continue, press Ignore to continue and suppress future "
                  "occurrances of this message, or press Abort to quit the program immediately "
                  "without saving your work.",
                  text);
    AnswerFaultBox(text, composed, "Error", LastErrorPointer);
}

void WarningBox(const char *text) {
    if (!text) text = "";
    if (text == LastWarningPointer) return;
    char composed[1200];
    std::snprintf(composed, sizeof composed,
                  "Warning: An error was caught and prevented at \"%s\". Press Retry to "
                  "continue, press Ignore to continue and suppress future occurrances of this "
                  "message, or press Abort to quit the program immediately without saving "
                  "your work.",
                  text);
    AnswerFaultBox(text, composed, "Warning", LastWarningPointer);
}

// ---- Stores ----------------------------------------------------------------------------

int WSLOTS::NumberEmptyCells(int Slotx) {
    if (!Grid.HasCells() || Slotx < 0 || Slotx >= NumberWords) return 0;
    const WSLOT &s = Slot[Slotx];
    int count = 0;
    for (int k = 0, i = s.xFirstCell; k < s.Length; ++k, i += s.next)
        if (CELLS::Cell[i].letter == Empty) ++count;
    return count;
}

static void ReleaseStores() {
    std::free(CELLS::UnalignedCell);
    CELLS::UnalignedCell = nullptr;
    CELLS::Cell = nullptr;
    CELLS::NumberCellRecords = 0;
    std::free(WSLOTS::Slot);
    WSLOTS::Slot = nullptr;
    WSLOTS::NumberWordRecords = 0;
    WSLOTS::NumberWords = 0;
}

GRID::GRID() { ComputeBigPatternFlag(); }

GRID::~GRID() { ReleaseStores(); }

// ---- Size and shape --------------------------------------------------------------------

int GRID::CanDo(int AskCols, int AskRows) {
    if (AskCols < 1 || AskCols > MaxCols || AskRows < 1 || AskRows > MaxRows) return 0;
    return (AskCols + 1) * (AskRows + 2) <= MaxCells ? 1 : 0;
}

void GRID::CreateGrid(int width, int height) {
    if (!CanDo(width, height)) return; // callers refuse such sizes before they get here
    ReleaseStores();
    Height = height;
    Width = width;
    Down = width + 1;
    Up = -Down;

    // One spare record lets the first record start on the next 32-byte boundary.
    int records = (width + 1) * (height + 2) + 1;
    char *block = static_cast<char *>(std::malloc(static_cast<size_t>(records + 1) * sizeof(cell)));
    if (block) {
        uintptr_t start = reinterpret_cast<uintptr_t>(block);
        char *aligned = block + (32 - start % 32);
        CELLS::UnalignedCell = block;
        CELLS::Cell = reinterpret_cast<cell *>(aligned);
        CELLS::NumberCellRecords = records;
        if (reinterpret_cast<uintptr_t>(aligned) % 32 != 0) ErrorBox("Cell is not aligned.");
    }

    int capacity = width * height > 10 ? width * height : 10;
    WSLOTS::Slot = static_cast<WSLOT *>(std::malloc(static_cast<size_t>(capacity) * sizeof(WSLOT)));
    if (WSLOTS::Slot) {
        WSLOTS::NumberWordRecords = capacity;
    } else {
        ErrorBox("Memory allocation failure at 'Slots'");
        WSLOTS::NumberWordRecords = 0;
    }
    WSLOTS::NumberWords = 0;

    CELLS::StuckAreaShowing = 0;
    for (int i = 0; i < CELLS::NumberCellRecords; ++i) {
        cell &c = CELLS::Cell[i];
        std::memset(&c, 0, sizeof c);
        c.letter = Edge;
        c.IsBlocked = 1;
        c.DispColor = DisplayNothingYet;
        c.DispLet = Invalid;
        c.ValidDD = 1;
        c.xHorzWord = NoWord;
        c.xVertWord = NoWord;
    }
    if (HasCells()) {
        for (int row = 1; row <= height; ++row)
            for (int column = 1; column <= width; ++column) {
                cell &c = At(column, row);
                c.letter = Empty;
                c.IsBlocked = 0;
                c.IsFixed = 0;
            }
    }
    SavedState = (width == 15 && height == 15 && SymMode == 1) ? 1 : 0;
    ComputeBigPatternFlag();
}

int GRID::ComputeBigPatternFlag() {
    BigPatternFlag = (Width * Height > BigPatternThreshold || SymMode == 6) ? 1 : 0;
    return BigPatternFlag;
}

void GRID::RenumberGrid() {
    if (!HasCells()) return;
    cell *C = CELLS::Cell;
    WSLOT *S = WSLOTS::Slot;
    const int capacity = WSLOTS::NumberWordRecords;
    int n = 1, k = 0;
    for (int i = FirstIndex(); i <= LastIndex(); ++i) {
        cell &c = C[i];
        // Every number is taken away first, so every numbered cell is drawn again.
        SetBoxNumber(c, 0);
        c.xHorzWord = NoWord;
        c.xVertWord = NoWord;
        if (c.IsBlocked) continue;
        TestCellForSmallIntesectingWords(i);
        bool across = C[i - 1].IsBlocked && !C[i + 1].IsBlocked;
        bool down = C[i + Up].IsBlocked && !C[i + Down].IsBlocked;
        if (across || down) SetBoxNumber(c, n);
        if (across) {
            if (k < capacity) S[k] = WSLOT{static_cast<int16_t>(i), 0, 0, 0, 1, nullptr};
            ++k;
        }
        if (down) {
            if (k < capacity)
                S[k] = WSLOT{static_cast<int16_t>(i), 0, 0, 0, static_cast<int16_t>(Down), nullptr};
            ++k;
        }
        if (across || down) ++n;
    }
    if (k > capacity) {
        MesgBox("Too many word slots.  Simplify the pattern.");
        WSLOTS::NumberWords = capacity;
    } else {
        WSLOTS::NumberWords = k;
    }

    for (int &t : WLengthTally) t = 0;
    for (int s = 0; s < WSLOTS::NumberWords; ++s) {
        WSLOT &slot = S[s];
        int length = 0;
        for (int i = slot.xFirstCell; !C[i].IsBlocked; i += slot.next, ++length) {
            if (slot.next == 1)
                C[i].xHorzWord = static_cast<int16_t>(s);
            else
                C[i].xVertWord = static_cast<int16_t>(s);
        }
        slot.Length = static_cast<int16_t>(length);
        if (length < MaxWLStats)
            ++WLengthTally[length];
        else
            ++WLengthTally[0];
    }
}

int GRID::ResizeGrid(int NewWidth, int NewHeight) {
    if (!CanDo(NewWidth, NewHeight)) {
        ReportRefusedSize(NewWidth, NewHeight);
        return 0;
    }
    unsigned char *scratch = static_cast<unsigned char *>(std::malloc(MaxTempData));
    if (!scratch) {
        ErrorBox("Out of memory while resizing the grid.");
        return 0;
    }
    std::memset(scratch, Empty, MaxTempData);
    if (HasCells()) {
        int xOffset = CentreOffset(Width, NewWidth);
        int yOffset = CentreOffset(Height, NewHeight);
        for (int y = 1; y <= Height; ++y)
            for (int x = 1; x <= Width; ++x) {
                int nx = x + xOffset, ny = y + yOffset;
                if (nx >= 1 && nx <= NewWidth && ny >= 1 && ny <= NewHeight)
                    scratch[(NewWidth + 1) * ny + nx] = static_cast<unsigned char>(At(x, y).letter);
            }
    }
    CreateGrid(NewWidth, NewHeight);
    if (HasCells()) {
        for (int y = 1; y <= Height; ++y)
            for (int x = 1; x <= Width; ++x) {
                cell &c = At(x, y);
                AssignLetterToCell(c, static_cast<char>(scratch[Index(x, y)]));
                c.IsFixed = IsUpperLetter(c.letter) ? 1 : 0;
            }
    }
    std::free(scratch);
    RenumberGrid();
    ComputeHotSpots();
    SavedState = 0;
    return 1;
}

int GRID::ExchangeAcrossDown() {
    if (!HasCells()) return 0;
    const int W = Width, H = Height;
    if (!CanDo(H, W)) {
        ReportRefusedSize(H, W);
        return 0;
    }
    unsigned char *codes = static_cast<unsigned char *>(std::malloc(MaxTempData));
    unsigned char *states = static_cast<unsigned char *>(std::malloc(MaxTempData));
    if (!codes || !states) {
        std::free(codes);
        std::free(states);
        return 0;
    }
    std::memset(codes, Empty, MaxTempData);
    std::memset(states, 0, MaxTempData);
    for (int y = 1; y <= H; ++y)
        for (int x = 1; x <= W; ++x) {
            const cell &c = At(x, y);
            int j = (H + 1) * x + y;
            codes[j] = static_cast<unsigned char>(c.letter);
            states[j] = static_cast<unsigned char>(c.FontColor | (c.IsFixed ? 64 : 0));
        }
    CreateGrid(H, W);
    if (HasCells()) {
        for (int y = 1; y <= Height; ++y)
            for (int x = 1; x <= Width; ++x) {
                cell &c = At(x, y);
                int j = Index(x, y);
                AssignLetterToCell(c, static_cast<char>(codes[j]));
                c.FontColor = states[j] & 15;
                c.IsFixed = (states[j] & 64) ? 1 : 0;
            }
    }
    std::free(codes);
    std::free(states);
    RenumberGrid();
    ComputeHotSpots();
    SavedState = 0;
    return 1;
}

// An open cell back to Empty, with its display memory and search marks reset; the font
// colour stays.
static void ResetToEmpty(cell &c) {
    c.letter = Empty;
    c.IsFixed = 0;
    c.Displayed = 0;
    c.DispColor = DisplayNothingYet;
    c.DispLet = Invalid;
    c.DispNum = 0;
    c.DispDiff = 0;
    c.IsStuckArea = 0;
    c.IsStuckCell = 0;
    c.AssignDepth = 0;
    c.ValidDD = 1;
}

void GRID::ClearGrid() {
    if (!HasCells()) return;
    for (int y = 1; y <= Height; ++y)
        for (int x = 1; x <= Width; ++x) {
            cell &c = At(x, y);
            c.IsBlocked = 0;
            ResetToEmpty(c);
        }
    CELLS::StuckAreaShowing = 0;
    RenumberGrid();
    ComputeHotSpots();
    SavedState = (Width == 15 && Height == 15 && SymMode == 1) ? 1 : 0;
}

void GRID::ClearGridLetters(int ClearFixedThemeWordsToo) {
    if (!HasCells()) return;
    int kept = 0;
    for (int y = 1; y <= Height; ++y)
        for (int x = 1; x <= Width; ++x) {
            cell &c = At(x, y);
            if (c.IsBlocked || (!ClearFixedThemeWordsToo && c.IsFixed)) {
                ++kept;
                continue;
            }
            ResetToEmpty(c);
        }
    SavedState = (Width == 15 && Height == 15 && SymMode == 1 && kept == 0) ? 1 : 0;
}

void GRID::InvalidateDisplay() {
    for (int i = 0; i < CELLS::NumberCellRecords; ++i) {
        cell &c = CELLS::Cell[i];
        c.Displayed = 0;
        c.DispColor = -1;
        c.DispLet = Invalid;
        c.DispNum = 0;
    }
}

void GRID::SetSymMode(int mode) {
    SymMode = mode;
    ComputeBigPatternFlag();
    SavedState = 0;
}

void GRID::MouseRelease() {
    const int delayed = DelayedCalculations;
    if (delayed) Grid.RenumberGrid();
    Grid.UpdateHotSpots();
    if (delayed) {
        Grid.DrawQuickBoxNumbersUpdate();
        DelayedCalculations = 0;
    }
}

// ---- Cell setting ----------------------------------------------------------------------

void GRID::AssignLetterToCell(cell &c, char code) {
    if (c.letter != code) c.Displayed = 0;
    c.letter = code;
    c.IsBlocked = (code == Block || code == Edge || code == Removed) ? 1 : 0;
    if (c.IsBlocked) c.boxnumber = 0;
    if (code == Empty) c.IsFixed = 0;
}

void GRID::SetCellOnly(int column, int row, char code) {
    if (!Inside(column, row)) return;
    cell &c = At(column, row);
    AssignLetterToCell(c, code);
    c.IsFixed = IsUpperLetter(code) ? 1 : 0;
    if (CELLS::StuckAreaShowing) ClearStuckAreaColor();
}

void GRID::SetCell(int column, int row, char code) {
    if (!Inside(column, row)) return;
    QuickDrawCount = 0;
    cell &edited = At(column, row);
    const char oldCode = edited.letter;
    const bool oldBlocked = edited.IsBlocked;
    AssignLetterToCell(edited, code);
    const bool blockingChanged = (oldBlocked || edited.IsBlocked) && oldCode != code;
    if (!blockingChanged) {
        SavedState = 0;
        return;
    }

    // A letter on a black square opens it and its partners without lettering them.
    const char partnerValue = IsAsciiLetter(code) ? static_cast<char>(Empty) : code;
    if (CELLS::StuckAreaShowing) ClearStuckAreaColor();

    const int W = Width, H = Height, c = column, r = row;
    int X1 = 0, X2 = 0, Y1 = 0, Y2 = 0;
    bool turnInside = false;
    if (SymMode == 2 || SymMode == 6) {
        int dx = 2 * c - (W + 1), dy = 2 * r - (H + 1);
        if (W % 2 == 0 && H % 2 == 1) {
            if (dx > 0)
                --dx;
            else if (dx < 0)
                ++dx;
            if (dy >= 0)
                ++dy;
            else
                --dy;
        } else if (W % 2 == 1 && H % 2 == 0) {
            if (dx >= 0)
                ++dx;
            else
                --dx;
            if (dy > 0)
                --dy;
            else if (dy < 0)
                ++dy;
        }
        X1 = ((W + 1) + dy) / 2;
        X2 = ((W + 1) - dy) / 2;
        Y1 = ((H + 1) + dx) / 2;
        Y2 = ((H + 1) - dx) / 2;
        turnInside = X1 >= 1 && X1 <= W && Y1 >= 1 && Y1 <= H;
    }

    auto setPartner = [&](int x, int y) {
        if (!Inside(x, y)) return;
        int i = Index(x, y);
        cell *C = CELLS::Cell;
        AssignLetterToCell(C[i], partnerValue);
        if (QuickDrawCount < QuickDrawMax) {
            QuickDrawListX[QuickDrawCount] = x;
            QuickDrawListY[QuickDrawCount] = y;
            ++QuickDrawCount;
        }
        // While renumbering waits for the mouse, keep the numbers on screen plausible.
        if (ComputeBigPatternFlag() && !C[i].IsBlocked) {
            if (!C[i + 1 + Up].IsBlocked) SetBoxNumber(C[i + 1], 0);
            if (!C[i + Down - 1].IsBlocked) SetBoxNumber(C[i + Down], 0);
        }
    };

    setPartner(c, r);
    switch (SymMode) {
    case 1: setPartner(W + 1 - c, H + 1 - r); break;
    case 2:
        setPartner(W + 1 - c, H + 1 - r);
        if (turnInside) {
            setPartner(X1, Y2);
            setPartner(X2, Y1);
        }
        break;
    case 3: setPartner(c, H + 1 - r); break;
    case 4: setPartner(W + 1 - c, r); break;
    case 5:
    case 6:
        if (SymMode == 6 && turnInside) {
            setPartner(X1, Y1);
            setPartner(X2, Y2);
            setPartner(X1, Y2);
            setPartner(X2, Y1);
        }
        setPartner(c, H + 1 - r);
        setPartner(W + 1 - c, r);
        setPartner(W + 1 - c, H + 1 - r);
        break;
    default: break;
    }

    if (!ComputeBigPatternFlag()) {
        RenumberGrid();
        DrawQuickDrawList();
        DrawQuickBoxNumbersUpdate();
    } else {
        DelayedCalculations = 1;
        DrawQuickDrawList();
    }
    SavedState = 0;
}

// ---- Redraws ---------------------------------------------------------------------------

void GRID::DrawQuickDrawList() {
    if (!HasCells()) return;
    const int count = QuickDrawCount < QuickDrawMax ? QuickDrawCount : QuickDrawMax;
    for (int k = 0; k < count; ++k) {
        const int x = QuickDrawListX[k], y = QuickDrawListY[k];
        if (!Inside(x, y)) continue;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                int i = Index(x + dx, y + dy);
                if (CELLS::Cell[i].letter != Edge) TestCellForSmallIntesectingWords(i);
            }
        static const int far[4][2] = {{-2, 0}, {2, 0}, {0, -2}, {0, 2}};
        for (const auto &f : far) {
            int fx = x + f[0], fy = y + f[1];
            if (Inside(fx, fy) && At(fx, fy).letter != Edge) TestCellForSmallIntesectingWords(Index(fx, fy));
        }
        InvalidateHotSpots(x, y);
        cell &c = At(x, y);
        if (c.difficulty != 0) {
            c.difficulty = 0;
            c.Displayed = 0;
        }
        CallDraw(UIDrawVicinityQuickly, y, x);
    }
    QuickDrawCount = 0;
}

void GRID::DrawQuickBoxNumbersUpdate() {
    if (!HasCells()) return;
    for (int y = 1; y <= Height; ++y)
        for (int x = 1; x <= Width; ++x)
            if (Inside(x, y) && At(x, y).boxnumber != At(x, y).DispNum) CallDraw(UIDrawCellNumber, y, x);
}

void GRID::ClearStuckAreaColor() {
    if (!HasCells()) return;
    for (int i = FirstIndex(); i <= LastIndex() && i < CELLS::NumberCellRecords; ++i) {
        cell &c = CELLS::Cell[i];
        if (!c.IsStuckArea && !c.IsStuckCell) continue;
        c.IsStuckArea = 0;
        c.IsStuckCell = 0;
        c.Displayed = 0;
        const int row = i / Down, column = i % Down;
        CallDraw(UIDrawCellColor, row, column);
        CallDraw(UIDrawCellLetter, row, column);
        CallDraw(UIDrawCellNumber, row, column);
    }
    CELLS::StuckAreaShowing = 0;
}

// ---- Hot spots, traffic light, regions -------------------------------------------------

void GRID::TestCellForSmallIntesectingWords(int cellx) {
    if (!HasCells() || cellx < 0 || cellx >= CELLS::NumberCellRecords) return;
    const cell *C = CELLS::Cell;
    const int n = CELLS::NumberCellRecords;
    // A cell outside the store counts as not blocked.
    auto blocked = [&](int j) { return j >= 0 && j < n && C[j].IsBlocked; };
    const bool left = blocked(cellx - 1), right = blocked(cellx + 1);
    const bool above = blocked(cellx + Up), below = blocked(cellx + Down);
    bool twoLetter = false;
    if (!(left && right)) twoLetter = (left && blocked(cellx + 2)) || (blocked(cellx - 2) && right);
    if (!(above && below))
        twoLetter = twoLetter || (above && blocked(cellx + 2 * Down)) || (blocked(cellx + 2 * Up) && below);
    const bool uncrossed = (left && right) || (above && below);
    cell &c = CELLS::Cell[cellx];
    if (c.IsTwoLetter != twoLetter) {
        c.IsTwoLetter = twoLetter;
        c.Displayed = 0;
    }
    if (c.IsUncrossed != uncrossed) {
        c.IsUncrossed = uncrossed;
        c.Displayed = 0;
    }
}

void GRID::ComputeHotSpots() {
    if (!HasCells()) return;
    for (int i = FirstIndex(); i <= LastIndex(); ++i)
        if (!CELLS::Cell[i].IsBlocked) CELLS::Cell[i].ValidDD = 0;
    UpdateHotSpots();
}

void GRID::InvalidateHotSpots(int x, int y) {
    if (!Inside(x, y)) return;
    cell *C = CELLS::Cell;
    const int origin = Index(x, y);
    auto mark = [&](int j) {
        if (!C[j].IsBlocked) C[j].ValidDD = 0;
    };
    // Marks the open run on both sides of j along step (the border stops every walk).
    auto walk = [&](int j, int step) {
        for (int k = j - step; !C[k].IsBlocked; k -= step) mark(k);
        for (int k = j + step; !C[k].IsBlocked; k += step) mark(k);
    };
    mark(origin);
    walk(origin, 1);
    walk(origin, Down);
    for (int step : {1, -1}) {
        for (int k = origin + step; !C[k].IsBlocked; k += step) walk(k, Down);
    }
    for (int step : {Down, Up}) {
        for (int k = origin + step; !C[k].IsBlocked; k += step) walk(k, 1);
    }
}

int GRID::ComputeOneHotSpot(int x, int y, int StopAtHeat) {
    if (!Inside(x, y)) return 0;
    const cell *C = CELLS::Cell;
    const int i = Index(x, y);
    const int words = WSLOTS::NumberWords;
    auto valid = [&](int s) { return s >= 0 && s < words; };
    const cell &c = C[i];
    if (c.IsBlocked || !valid(c.xHorzWord) || !valid(c.xVertWord)) return 0;
    const WSLOT &HW = WSLOTS::Slot[c.xHorzWord];
    const WSLOT &VW = WSLOTS::Slot[c.xVertWord];
    const int n = CELLS::NumberCellRecords;
    int heat = 0;
    for (int a = 0; a < HW.Length; ++a) {
        const int c1 = HW.xFirstCell + a * HW.next;
        if (c1 == i) continue;
        for (int b = 0; b < VW.Length; ++b) {
            const int c2 = VW.xFirstCell + b * VW.next;
            if (c2 == i) continue;
            const int c3 = c1 + c2 - i;
            if (c1 < 0 || c1 >= n || c2 < 0 || c2 >= n || c3 < 0 || c3 >= n) continue;
            const cell &corner = C[c3];
            if (corner.IsBlocked || !valid(corner.xHorzWord) || !valid(corner.xVertWord)) continue;
            if (C[c1].xVertWord == corner.xVertWord && C[c2].xHorzWord == corner.xHorzWord)
                heat += HW.Length + VW.Length + WSLOTS::Slot[corner.xHorzWord].Length +
                        WSLOTS::Slot[corner.xVertWord].Length;
        }
        if (heat >= StopAtHeat) break;
    }
    return heat < StopAtHeat ? heat : StopAtHeat;
}

void GRID::UpdateHotSpots() {
    if (!HasCells()) return;
    for (int y = 1; y <= Height; ++y)
        for (int x = 1; x <= Width; ++x) {
            if (!Inside(x, y)) return; // a callback replaced the grid
            cell &c = At(x, y);
            if (c.ValidDD) continue;
            int level = 0;
            if (!c.IsBlocked) {
                const int heat = ComputeOneHotSpot(x, y, DiffLevel[NumDiffLevels - 1]);
                for (int l = NumDiffLevels - 1; l >= 1; --l)
                    if (heat >= DiffLevel[l]) {
                        level = l;
                        break;
                    }
            }
            if (level != c.difficulty) {
                c.Displayed = 0;
                c.difficulty = level;
            }
            c.ValidDD = 1;
            if (c.difficulty != c.DispDiff && ShowHotSpots) {
                c.DispDiff = static_cast<uint16_t>(c.difficulty & 7);
                CallDraw(UIDrawCellColor, y, x);
                CallDraw(UIDrawCellLetter, y, x);
                CallDraw(UIDrawCellNumber, y, x);
            }
        }
}

int GRID::TrafficLightColor() {
    if (!HasCells()) return Green;
    int light = Green;
    int counted[NumDiffLevels] = {};
    // Per level: the count that turns the light at least yellow, and the count that makes it red.
    static const int yellowAt[NumDiffLevels] = {0, 5, 3, 1, 1};
    static const int redAt[NumDiffLevels] = {0, 15, 9, 5, 3};
    for (int i = FirstIndex(); i <= LastIndex(); ++i) {
        const cell &c = CELLS::Cell[i];
        if (c.IsBlocked) continue;
        const int level = c.difficulty;
        if (level < 1 || level >= NumDiffLevels) continue;
        ++counted[level];
        if (counted[level] >= redAt[level]) return Red;
        if (counted[level] >= yellowAt[level]) light = Yellow;
    }
    return light;
}

void GRID::MarkWholePuzzleWithGroupSizes() {
    if (!HasCells()) return;
    cell *C = CELLS::Cell;
    const int first = FirstIndex(), last = LastIndex();
    int groups = 0;
    bool warned = false;
    for (int i = first; i <= last; ++i) {
        cell &c = C[i];
        if (c.letter != Empty) {
            c.GroupID = 0;
            continue;
        }
        const int above = C[i + Up].GroupID, left = C[i - 1].GroupID;
        if (above == 0 && left == 0) {
            if (C[i + 1].letter == Empty && C[i + 1 + Up].letter == Empty) {
                c.GroupID = C[i + 1 + Up].GroupID;
            } else {
                if (groups + 1 >= MaxNumGroups - 1) {
                    if (!warned) ErrorBox("Non-critical internal error:  MaxNumGroups exceeded.");
                    warned = true;
                    groups = MaxNumGroups - 2;
                } else {
                    ++groups;
                }
                c.GroupID = static_cast<uint16_t>(groups);
            }
        } else if (left == 0 || above == left) {
            c.GroupID = static_cast<uint16_t>(above);
        } else if (above == 0) {
            c.GroupID = static_cast<uint16_t>(left);
        } else {
            for (int j = first; j < i; ++j)
                if (C[j].GroupID == left) C[j].GroupID = static_cast<uint16_t>(above);
            c.GroupID = static_cast<uint16_t>(above);
        }
    }
    // Every label is at most `groups`, so only that much of the table needs clearing; the
    // search calls this at every step.
    static int count[MaxNumGroups];
    std::memset(count, 0, sizeof(int) * static_cast<size_t>(groups + 1));
    for (int i = first; i <= last; ++i)
        if (C[i].GroupID <= groups) ++count[C[i].GroupID];
    for (int i = first; i <= last; ++i)
        if (C[i].GroupID != 0 && C[i].GroupID <= groups)
            C[i].GroupID = static_cast<uint16_t>(count[C[i].GroupID]);
}

// ---- Slot helpers ----------------------------------------------------------------------

int GetBoxCode(int Slotx) {
    if (!Grid.HasCells() || Slotx < 0 || Slotx >= WSLOTS::NumberWords) return 0;
    const WSLOT &s = WSLOTS::Slot[Slotx];
    const int number = CELLS::Cell[s.xFirstCell].boxnumber;
    return s.next == 1 ? number : -number;
}

int GetSlotx(int BoxCode) {
    if (!Grid.HasCells() || BoxCode == 0 || BoxCode < -32767 || BoxCode > 32767) return -1;
    const int wanted = BoxCode < 0 ? -BoxCode : BoxCode;
    const bool wantAcross = BoxCode >= 0;
    int found = -1;
    for (int s = 0; s < WSLOTS::NumberWords; ++s) {
        const WSLOT &slot = WSLOTS::Slot[s];
        if (CELLS::Cell[slot.xFirstCell].boxnumber != wanted) continue;
        found = s;
        if ((slot.next == 1) == wantAcross) return s;
    }
    return found;
}
