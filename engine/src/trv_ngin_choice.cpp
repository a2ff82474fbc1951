// trv_ngin_choice.cpp - where the search works next: touched cells, closeness of cells,
// the cell ranking, the guidance cell, and the choice and trial of theme words.
#include <cstdlib>

#include "trv_grid.h"
#include "trv_ngin.h"
#include "trv_wrds.h"

namespace {

inline cell &C(int x) { return CELLS::Cell[x]; }
inline WSLOT &S(int s) { return WSLOTS::Slot[s]; }

bool SlotWhollyEmpty(int s) {
    if (s == NoWord) return true;
    const WSLOT &w = S(s);
    int x = w.xFirstCell;
    for (int i = 0; i < w.Length; ++i, x += w.next)
        if (C(x).letter != Empty) return false;
    return true;
}

// No cell of the slot is empty.
bool SlotWhollyFull(int s) {
    const WSLOT &w = S(s);
    int x = w.xFirstCell;
    for (int i = 0; i < w.Length; ++i, x += w.next)
        if (C(x).letter == Empty) return false;
    return true;
}

int SlotLength(int s) { return s == NoWord ? 0 : S(s).Length; }

// Theme words of a slot length, 0 for lengths the store cannot hold.
int ThemeCount(int length) {
    return length >= 1 && length <= MaxThemeLength ? ThmWds.CountBySize[length] : 0;
}
int ThemeUnplaced(int length) {
    return length >= 1 && length <= MaxThemeLength ? ThmWds.CountBySizeUnplaced[length] : 0;
}

} // namespace

// ---- Touched cells ---------------------------------------------------------------------

void engine::UpdateTouchedCells(int Cellx) {
    const cell &c = C(Cellx);
    if (c.letter != Empty) {
        TouchedCells.RemoveIfPresent(Cellx);
        for (int s : {static_cast<int>(c.xHorzWord), static_cast<int>(c.xVertWord)}) {
            if (s == NoWord) continue;
            const WSLOT &w = S(s);
            int x = w.xFirstCell;
            for (int i = 0; i < w.Length; ++i, x += w.next)
                if (x != Cellx && C(x).letter == Empty) TouchedCells.AddNodeSortedUnique(x);
        }
        TouchedCells.RemoveIfPresent(Cellx);
        return;
    }
    TouchedCells.AddNodeSortedUnique(Cellx);
    if (c.xHorzWord != NoWord && SlotWhollyEmpty(c.xHorzWord)) {
        const WSLOT &w = S(c.xHorzWord);
        int x = w.xFirstCell;
        for (int i = 0; i < w.Length; ++i, x += w.next)
            if (SlotWhollyEmpty(C(x).xVertWord)) TouchedCells.RemoveIfPresent(x);
    }
    if (c.xVertWord != NoWord && SlotWhollyEmpty(c.xVertWord)) {
        const WSLOT &w = S(c.xVertWord);
        int x = w.xFirstCell;
        for (int i = 0; i < w.Length; ++i, x += w.next)
            if (SlotWhollyEmpty(C(x).xHorzWord)) TouchedCells.RemoveIfPresent(x);
    }
}

// ---- Closeness -------------------------------------------------------------------------

int engine::Farness(int Cellx1, int Cellx2) const {
    if (Cellx1 < 0 || Cellx2 < 0) return 4;
    const cell &c1 = C(Cellx1);
    const cell &c2 = C(Cellx2);
    int a1 = c1.xHorzWord, d1 = c1.xVertWord, a2 = c2.xHorzWord, d2 = c2.xVertWord;
    if ((d1 != NoWord && d1 == d2) || (a1 != NoWord && a1 == a2)) return 1;
    if (Cellx1 == Cellx2) return 0;
    int down = Grid.Down;
    int r1 = Cellx1 / down, k1 = Cellx1 % down, r2 = Cellx2 / down, k2 = Cellx2 % down;
    int paths = 0;
    const cell &e = C(r2 * down + k1);
    if (d1 != NoWord && a2 != NoWord && e.xVertWord == d1 && e.xHorzWord == a2) ++paths;
    const cell &f = C(r1 * down + k2);
    if (d2 != NoWord && a1 != NoWord && f.xVertWord == d2 && f.xHorzWord == a1) ++paths;
    return paths == 2 ? 2 : paths == 1 ? 3 : 4;
}

int engine::Farness_Ring(int Cellx1, int Cellx2) const {
    if (Farness(Cellx1, Cellx2) >= 4) return MaxCols;
    int down = Grid.Down;
    int dc = std::abs(Cellx1 % down - Cellx2 % down);
    int dr = std::abs(Cellx1 / down - Cellx2 / down);
    return dc > dr ? dc : dr;
}

// ---- Ranking ---------------------------------------------------------------------------

int engine::ComputeHeatFlexFactor(int Cellx) {
    ComputeFlexCountForCell(Cellx);
    const cell &c = C(Cellx);
    int g = c.GroupID;
    int factor = (26 - FlexCount[Cellx]) + (c.Heat >> 6);
    if (g < 25) factor += 2 * (25 - g);
    if (g < 9) factor += 4 * (9 - g);
    return factor;
}

int engine::ChooseFirstCellOfSection() {
    int best = -1, bestFactor = 0;
    for (int x = start; x <= finish; ++x) {
        if (C(x).letter != Empty || !InSomeSlot(x)) continue;
        int f = ComputeHeatFlexFactor(x);
        if (best < 0 || f > bestFactor) {
            best = x;
            bestFactor = f;
        }
    }
    return best;
}

int engine::ChooseHighestFlexFactor(const celllist &List) {
    int best = -1, bestFactor = 0;
    for (int n = List.top; n != 0; n = Node(n).Next) {
        int x = Node(n).Index;
        if (C(x).letter != Empty) continue;
        int f = ComputeHeatFlexFactor(x);
        if (best < 0 || f > bestFactor) {
            best = x;
            bestFactor = f;
        }
    }
    return best;
}

int engine::ChoiceOfCell(int SeedCellx) {
    Grid.MarkWholePuzzleWithGroupSizes();
    int answer = SeedCellx;
    if (SeedCellx >= 0)
        CurrentAction->GuidanceCellx = static_cast<int16_t>(GuideCell_MoveOutOfBigSlots(SeedCellx));
    int reference = CurrentAction->GuidanceCellx;
    if (TouchedCells.IsEmpty()) return answer;

    celllist nearCells, mediumCells, farCells;
    for (int n = TouchedCells.top; n != 0; n = Node(n).Next) {
        int x = Node(n).Index;
        int f = Farness(reference, x);
        if (f < 3)
            nearCells.Push(x);
        else if (f == 3)
            mediumCells.Push(x);
        else
            farCells.Push(x);
    }
    if (!nearCells.IsEmpty()) return ChooseHighestFlexFactor(nearCells);
    answer = GuideCell_JumpToLatestTouchedCell();
    CurrentAction->GuidanceCellx = static_cast<int16_t>(answer);
    if (mediumCells.IsEmpty() && Option_RipUpAllowed) return -5;
    return answer;
}

// ---- Guidance cell ---------------------------------------------------------------------

int engine::GuideCell_MoveOutOfBigSlots(int Cellx) const {
    auto weight = [](int x) { return SlotLength(C(x).xHorzWord) + SlotLength(C(x).xVertWord); };
    int best = Cellx;
    int bestWeight = weight(Cellx);
    for (int dc = -1; dc <= 1; ++dc) {
        for (int dr = -1; dr <= 1; ++dr) {
            int x = Cellx + dr * Grid.Down + dc;
            const cell &c = C(x);
            if (c.IsBlocked || c.letter != Empty || Farness(Cellx, x) >= 3) continue;
            int w = weight(x);
            if (w < bestWeight) {
                best = x;
                bestWeight = w;
            }
        }
    }
    return best;
}

void engine::GuideCell_AddAllEmptyTouchedCells(int Cellx, celllist &OutputList) const {
    const cell &c = C(Cellx);
    for (int s : {static_cast<int>(c.xHorzWord), static_cast<int>(c.xVertWord)}) {
        if (s == NoWord) continue;
        const WSLOT &w = S(s);
        int x = w.xFirstCell;
        for (int i = 0; i < w.Length; ++i, x += w.next)
            if (C(x).letter == Empty) OutputList.AddNodeSortedUnique(x);
    }
}

int engine::GuideCell_JumpToLatestTouchedCell() {
    celllist collected;
    for (int d = Depth; d >= 1 && collected.IsEmpty(); --d) {
        const action &a = ActionAtDepth[d];
        switch (a.ActionIdent) {
        case None: break;
        case Theme:
        case Forced:
            for (int n = a.RestoreList.top; n != 0; n = Node(n).Next)
                GuideCell_AddAllEmptyTouchedCells(Node(n).Index, collected);
            break;
        case Elective:
            if (!a.RestoreList.IsEmpty()) GuideCell_AddAllEmptyTouchedCells(a.RestoreList.Peek(), collected);
            break;
        default: ErrorBox("GC_JTLTC:  Invalid ActionID."); break;
        }
    }
    if (collected.IsEmpty()) return -1;
    int best = ChooseHighestFlexFactor(collected);
    return best < 0 ? -1 : GuideCell_MoveOutOfBigSlots(best);
}

// ---- Theme words -----------------------------------------------------------------------

int engine::CountOfEmptyUntouchedCells(int Slotx) const {
    const WSLOT &w = S(Slotx);
    int count = 0;
    int x = w.xFirstCell;
    for (int i = 0; i < w.Length; ++i, x += w.next)
        if (C(x).letter == Empty && !TouchedCells.IsPresent(x)) ++count;
    return count;
}

int engine::Theme_Action_CheckForAndPrepareIt(int Cellx) {
    CurrentAction->TwSlotSeries = -1;
    Theme_SlotList_AddSelectedSlotsToList(Cellx);
    if (CurrentAction->ThemeWordSlotList.IsEmpty()) return 0;
    CurrentAction->ActionIdent = Theme;
    return 1;
}

void engine::Theme_SlotList_AddSelectedSlotsToList(int Cellx) {
    slotlist potential;
    const cell &c = C(Cellx);
    // Walk the cell's down slot, then its across slot, collecting the slots crossing them.
    for (int pass = 0; pass < 2; ++pass) {
        int walked = pass == 0 ? c.xVertWord : c.xHorzWord;
        if (walked == NoWord) continue;
        const WSLOT &w = S(walked);
        int x = w.xFirstCell;
        for (int i = 0; i < w.Length; ++i, x += w.next) {
            int crossing = pass == 0 ? C(x).xHorzWord : C(x).xVertWord;
            if (crossing == NoWord || S(crossing).ThemeTest != 0) continue;
            // A trial tries the words of the slot's own length, so only a slot with unplaced
            // words of its length and a cell still empty is worth one.
            if (ThemeUnplaced(S(crossing).Length) <= 0 || SlotWhollyFull(crossing)) continue;
            int percent = CountOfEmptyUntouchedCells(crossing) * 100 / S(crossing).Length;
            potential.AddNodeSortedByFirstArgument(percent, crossing);
        }
    }
    if (potential.IsEmpty()) return;
    slotlist byLength;
    int lowest = Node(potential.top).Int16;
    for (int n = potential.top; n != 0 && Node(n).Int16 == lowest; n = Node(n).Next)
        byLength.AddNodeSortedByFirstArgument(S(Node(n).Index).Length, Node(n).Index);
    while (!byLength.IsEmpty()) CurrentAction->ThemeWordSlotList.Push(byLength.Pop());
}

int engine::Theme_Assignment_AdvanceToNextQualifiedWordAndPushCellL() {
    action &a = *CurrentAction;
    if (a.TwSlotSeries == -1) a.TwSlotSeries = static_cast<int16_t>(a.ThemeWordSlotList.top);
    for (;;) {
        if (a.TwSlotSeries <= 0) return 0;
        int s = Node(a.TwSlotSeries).Index;
        WSLOT &w = S(s);
        ++w.ThemeTest;
        if (w.ThemeTest > ThemeCount(w.Length) || w.ThemeTest <= 0) {
            w.ThemeTest = -2;
            a.TwSlotSeries = Node(a.TwSlotSeries).Next;
            if (a.TwSlotSeries == 0) return 0;
            WSLOT &nw = S(Node(a.TwSlotSeries).Index);
            if (nw.ThemeTest != 0) return 0;
            nw.ThemeTest = 1;
            if (ThemeCount(nw.Length) < 1) continue;
        }
        int slot = Node(a.TwSlotSeries).Index;
        WSLOT &t = S(slot);
        int wn = ThmWds.WordNumber(t.Length, t.ThemeTest);
        if (ThmWds.SlotxLocation(wn) != -1) continue;
        const char *word = ThmWds.Word(wn);
        bool fits = true;
        int x = t.xFirstCell;
        for (int i = 0; i < t.Length && fits; ++i, x += t.next) {
            char ch = word[i];
            const cell &cc = C(x);
            if (cc.letter == Empty)
                fits = (fsCombo[x] & fsBitPositionOfOneLetter[ch & 31]) != 0;
            else
                fits = mychricmp(static_cast<unsigned char>(cc.letter), static_cast<unsigned char>(ch)) == 0;
        }
        if (!fits) continue;
        ThmWds.SlotxLocation(wn, slot);
        x = t.xFirstCell;
        for (int i = 0; i < t.Length; ++i, x += t.next)
            if (C(x).letter == Empty) a.Push(x, word[i]);
        return 1;
    }
}

void engine::Theme_Assignment_RemoveContraindicatedWord() {
    action &a = *CurrentAction;
    if (a.TwSlotSeries > 0) {
        const WSLOT &w = S(Node(a.TwSlotSeries).Index);
        if (w.ThemeTest >= 1 && w.ThemeTest <= ThemeCount(w.Length)) {
            int wn = ThmWds.WordNumber(w.Length, w.ThemeTest);
            if (ThmWds.SlotxLocation(wn) == Node(a.TwSlotSeries).Index) ThmWds.SlotxLocation(wn, -1);
        }
    }
    AssignmentList_UndoIt();
}

void engine::Theme_Action_UponBacktrack_CleanUpFailedTests() {
    action &a = *CurrentAction;
    while (!a.ThemeWordSlotList.IsEmpty()) S(a.ThemeWordSlotList.Pop()).ThemeTest = 0;
    a.TwSlotSeries = -1;
}
