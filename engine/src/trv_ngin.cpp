// trv_ngin.cpp - the construction search: forced cells, elective letters, theme-word
// actions, sections, rip-up and stuck-cell shading, and the engine's exported functions.
#include "trv_ngin.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <climits>
#include <new>
#include <random>

#include "trv_grid.h"
#include "trv_wrds.h"

engine *Engine = nullptr;
nodepool *NodePool = nullptr;
TRVConstructInfoProc UIConstructInfo = nullptr;
TRVRejectedWordsProc UISendRejectedWords = nullptr;
TRVTraceProc UITraceCSide = nullptr;
int UserCancel = 0;
unsigned ConstructSeed = 5;
long ConstructionSteps = 0;
long ConstructionStepLimit = 0;
long FirstFillStepLimit = 200000;
int InstanceCount = 0;

uint8_t engine::SetBitCount[256];

namespace {

std::mt19937 RandomGenerator(5);

inline cell &C(int x) { return CELLS::Cell[x]; }
inline WSLOT &S(int s) { return WSLOTS::Slot[s]; }

// Letters as the run-time character classes see them (upper or lower case).
inline bool IsLetter(char code) { return std::isalpha(static_cast<unsigned char>(code)) != 0; }

// Writes a cell code the way every assignment of the search does.
void WriteCode(cell &c, char code) {
    if (c.letter != code) c.Displayed = 0;
    c.letter = code;
    c.IsBlocked = (code == Block || code == Edge || code == Removed) ? 1 : 0;
    if (c.IsBlocked) c.boxnumber = 0;
    if (code == Empty) c.IsFixed = 0;
}

int SlotSpellingThemeWord(int wn);

// The scans see the common words only while the scope lasts (also when the build throws).
struct CommonWordsScope {
    explicit CommonWordsScope(bool on) { SetCommonWordsOnly(on); }
    ~CommonWordsScope() { SetCommonWordsOnly(false); }
    CommonWordsScope(const CommonWordsScope &) = delete;
    CommonWordsScope &operator=(const CommonWordsScope &) = delete;
};

// A theme word whose letters are erased is no longer placed and may be tried again.
void UnplaceThemeWordsAt(int Slotx) {
    if (Slotx == NoWord) return;
    for (int wn = 0; wn < ThmWds.NumThemeWords(); ++wn)
        if (ThmWds.SlotxLocation(wn) == Slotx) ThmWds.SlotxLocation(wn, -1);
}

void ReportProgress(int steps, int filled, int toFill) {
    if (UIConstructInfo) UIConstructInfo(steps, filled * 100 / toFill);
}

} // namespace

void EngineSrand(unsigned seed) { RandomGenerator.seed(seed); }

int EngineRand() { return static_cast<int>(RandomGenerator() >> 1); }

bool engine::InSomeSlot(int Cellx) {
    const cell &c = C(Cellx);
    return c.xHorzWord != NoWord || c.xVertWord != NoWord;
}

// ---- The search state: made for the grid as it stands, freed after the build -----------

engine::engine() {
    start = Grid.Down + 1;
    finish = Grid.Down * Grid.Height + Grid.Width;
    MaxDepth = 2;
    for (int x = start; x <= finish; ++x)
        if (!C(x).IsBlocked) ++MaxDepth;
    fsHorz.assign(finish + 1, 0);
    fsVert.assign(finish + 1, 0);
    fsCombo.assign(finish + 1, 0);
    FlexCount.assign(finish + 1, 0);
    InConstraining.assign(finish + 1, 0);
    InConstrained.assign(finish + 1, 0);
    ActionAtDepth.reset(new (std::nothrow) action[MaxDepth + 1]);
    if (!ActionAtDepth) ErrorBox("Problem allocating memory in Engine constructor.");
    Scanner.fsHorz = fsHorz.data();
    Scanner.fsVert = fsVert.data();
    Scanner.fsCombo = fsCombo.data();
    for (int x = start; x <= finish; ++x) fsHorz[x] = fsVert[x] = AllLetters;
    for (int s = 0; s < WSLOTS::NumberWords; ++s) S(s).ThemeTest = 0;
    for (int b = 0; b < 256; ++b) {
        int n = 0;
        for (int v = b; v != 0; v >>= 1) n += v & 1;
        SetBitCount[b] = static_cast<uint8_t>(n);
    }
    CurrentAction = ActionAtDepth ? &ActionAtDepth[0] : nullptr;
}

engine::~engine() {
    TouchedCells.PurgeAllNodes();
    if (ActionAtDepth)
        for (int d = 0; d < MaxDepth; ++d) ActionAtDepth[d].ClearAction();
}

// ---- A build: every isolated section in turn, with progress and cancel -----------------

int engine::ConstructCmd(int Options) {
    KludgeCount = 0;
    Option_ConstructRandom = Options & ConstructRandomBit;
    Option_RipUpAllowed = (Options & RipUpAllowedBit) ? 1 : 0;
    if (Option_ConstructRandom)
        EngineSrand(
            static_cast<unsigned>(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
    else
        EngineSrand(ConstructSeed);
    ConstructionSteps = 0;
    ThmWds.SetupBySize();

    slotlist all;
    all.AddAllSlots();
    Flexibilities_Restore(all);

    NumCellsToFill = 0;
    NumCellsFilled = 0;
    for (int x = start; x <= finish; ++x) {
        char code = C(x).letter;
        if (code == Empty) {
            if (InSomeSlot(x)) ++NumCellsToFill;
        } else if (IsLetter(code)) {
            ++NumCellsToFill;
            ++NumCellsFilled;
        }
    }
    if (NumCellsToFill < 1) NumCellsToFill = 1;
    ReportProgress(0, NumCellsFilled, NumCellsToFill);

    DupMonitor.PreloadExistingWords();
    RejMonitor.RequestRejectsList();
    ThmWds.ClearAllSlotxLocations();
    // A theme word already standing in the grid is placed: the trials do not try it again.
    for (int wn = 0; wn < ThmWds.NumThemeWords(); ++wn) {
        const int at = SlotSpellingThemeWord(wn);
        if (at != NoWord) ThmWds.SlotxLocation(wn, at);
    }
    PlanConstructionPath();

    int State = PuzzleWideDoAllForcedCells();
    if (State == Exhausted) State = TotallyExhausted;
    int ExhaustedCount = 0;
    int seed = -1;
    while (State == Forward || State == Finished || State == FarJump || State == Exhausted) {
        TouchedCells.PurgeAllNodes();
        ActiveCluster.PurgeAllNodes();
        if (State != Exhausted) {
            seed = ChooseFirstCellOfSection();
            if (seed == -1) break;
            ConstrainingCells_Clear();
            ExhaustedCount = 0;
        }
        if (State == Exhausted) {
            if (!Option_RipUpAllowed) {
                State = TotallyExhausted;
                break;
            }
            bool gaveUp = false;
            do {
                ++ExhaustedCount;
                if (ConstrainingCells_DeleteToLevel(ExhaustedCount) == TotallyExhausted) {
                    gaveUp = true;
                    break;
                }
            } while (PuzzleWideDoAllForcedCells() == Exhausted);
            if (gaveUp) {
                State = TotallyExhausted;
                break;
            }
        }
        for (int d = 0; d < MaxDepth; ++d) ActionAtDepth[d].ClearAction();
        State = ConstructIsolatedSection(seed);
    }
    if (State == TotallyExhausted || State == Exhausted) HighlightStuckCells();

    ConstrainingCells_Clear();
    ThmWds.SetupBySizeInvalidate();
    SavedState = 0;
    return State;
}

// ---- One section: forward, back and stuck, depth by depth ------------------------------

int engine::ConstructIsolatedSection(int SeedCellx) {
    for (int s = 0; s < WSLOTS::NumberWords; ++s)
        if (S(s).ThemeTest != 0) S(s).ThemeTest = 0;
    Depth = 1;
    GreatestDepthTraversed = 0;
    CurrentAction = &ActionAtDepth[1];
    IterationCount = 0;
    int st = Forward;
    int seed = SeedCellx;

    while (st == Forward || st == Stuck) {
        if (Depth >= MaxDepth) {
            // Every depth fills at least one cell, so this cannot happen in a sound grid;
            // stop rather than run past the action records.
            ErrorBox("Depth is exceeding allocated memory.");
            return TotallyExhausted;
        }
        if (st == Forward) {
            Forced_SearchAndPushForcedCells();
            int c = ChoiceOfCell(seed);
            seed = -1;
            if (c == -5) {
                st = FarJump;
            } else if (c == -1) {
                st = Finished;
            } else {
                if (CurrentAction->IsEmpty() && Theme_Action_CheckForAndPrepareIt(c))
                    Theme_Assignment_AdvanceToNextQualifiedWordAndPushCellL();
                if (CurrentAction->IsEmpty()) Elective_PrepareAssignmentList(c);
                if (CurrentAction->IsEmpty()) {
                    st = Stuck;
                    Theme_Action_UponBacktrack_CleanUpFailedTests();
                    Depth_Decr();
                } else if (AssignmentList_DoIt()) {
                    Depth_Incr();
                } else {
                    st = Stuck;
                }
            }
        } else {
            switch (CurrentAction->ActionIdent) {
            case Theme: {
                Theme_Assignment_RemoveContraindicatedWord();
                int r = NothingLeft;
                if (Theme_Assignment_AdvanceToNextQualifiedWordAndPushCellL()) {
                    if (AssignmentList_DoIt()) {
                        r = Worked;
                    } else {
                        Theme_Assignment_RemoveContraindicatedWord();
                        r = DidNotWork;
                    }
                }
                if (r == Worked) {
                    st = Forward;
                    Depth_Incr();
                } else if (r == NothingLeft) {
                    Theme_Action_UndoIt();
                    int c = ChoiceOfCell(-1);
                    Elective_PrepareAssignmentList(c);
                    if (CurrentAction->IsEmpty()) {
                        Theme_Action_UponBacktrack_CleanUpFailedTests();
                        Depth_Decr();
                    } else if (AssignmentList_DoIt()) {
                        st = Forward;
                        Depth_Incr();
                    }
                }
                break;
            }
            case Elective: {
                int r = Elective_DoNextAssignment();
                if (r == NothingLeft) {
                    Elective_Action_UndoIt();
                    Theme_Action_UponBacktrack_CleanUpFailedTests();
                    Depth_Decr();
                } else if (r == Worked) {
                    st = Forward;
                    Depth_Incr();
                }
                break;
            }
            case Forced:
                AssignmentList_UndoIt();
                Forced_Action_UndoIt();
                Theme_Action_UponBacktrack_CleanUpFailedTests();
                Depth_Decr();
                break;
            default:
                // Only an action with work in it can be stuck; anything else ends the depth.
                Theme_Action_UponBacktrack_CleanUpFailedTests();
                Depth_Decr();
                break;
            }
        }
        if (st == Stuck && Depth == 0) st = Exhausted;
        ++IterationCount;
        ++ConstructionSteps;
        ProgressInfo2 = IterationCount;
        ReportProgress(IterationCount, NumCellsFilled, NumCellsToFill);
        if (UserCancel || (ConstructionStepLimit > 0 && ConstructionSteps >= ConstructionStepLimit))
            st = UserCancelled;
    }
    return st;
}

// ---- Cells with only one letter left, pushed before any choice -------------------------

char engine::Forced_GetLetterFromFlexSet(FlexSet fs) {
    for (int bit = 30; bit >= 5; --bit)
        if (fs & (1u << bit)) return static_cast<char>('A' + (30 - bit));
    return 0;
}

void engine::Forced_SearchAndPushForcedCells() {
    bool pushed = false;
    bool stuck = false;
    for (int n = TouchedCells.top; n != 0; n = Node(n).Next) {
        int x = Node(n).Index;
        if (C(x).letter != Empty) continue;
        ComputeFlexCountForCell(x);
        if (FlexCount[x] == 0) {
            stuck = true;
        } else if (FlexCount[x] == 1) {
            CurrentAction->Push(x, Forced_GetLetterFromFlexSet(fsCombo[x]));
            pushed = true;
        }
    }
    if (pushed) CurrentAction->ActionIdent = Forced;
    if (stuck) ErrorBox("Forced_SearchAndPushForcedCells detected a stuck cell.");
}

int engine::Forced_SearchEntireGridAndPushForcedCells() {
    int answer = 2;
    for (int x = start; x <= finish; ++x) {
        if (C(x).letter != Empty || !InSomeSlot(x)) continue;
        ComputeFlexCountForCell(x);
        if (FlexCount[x] == 0) return 0;
        if (FlexCount[x] == 1) {
            CurrentAction->Push(x, Forced_GetLetterFromFlexSet(fsCombo[x]));
            answer = 3;
        }
    }
    if (answer == 3) CurrentAction->ActionIdent = Forced;
    return answer;
}

int engine::PuzzleWideDoAllForcedCells() {
    Depth = 1;
    CurrentAction = &ActionAtDepth[0];
    int r = Forced_SearchEntireGridAndPushForcedCells();
    bool ok = true;
    while (r == 3) {
        ok = AssignmentList_DoIt() != 0;
        CurrentAction->PurgeAllNodes();
        if (!ok) break;
        r = Forced_SearchEntireGridAndPushForcedCells();
    }
    return (r == 0 || !ok) ? Exhausted : Forward;
}

// ---- Placing and taking back the letters of one choice ---------------------------------

int engine::AssignmentList_DoIt() {
    action &a = *CurrentAction;
    bool across = true;
    if (a.ActionIdent == Theme) {
        int first = a.top;
        int second = first ? Node(first).Next : 0;
        int c1 = Node(first).Index;
        if (second != 0) {
            int c2 = Node(second).Index;
            if ((C(c1).xVertWord != NoWord && C(c1).xVertWord == C(c2).xVertWord) ||
                C(c1).xHorzWord == NoWord)
                across = false;
        }
    }
    slotlist changed;
    while (!a.IsEmpty()) {
        int n = a.top;
        int x = Node(n).Index;
        char letter = Node(n).Letter;
        a.Pop();
        cell &c = C(x);
        a.RestoreList.Push(x, c.letter, c.FontColor, static_cast<int16_t>(c.AssignDepth));
        c.FontColor = a.ActionIdent == Theme ? (across ? ccThemeHorz : ccThemeVert) : 0;
        if (c.letter == Empty && IsLetter(letter)) ++NumCellsFilled;
        WriteCode(c, letter);
        c.AssignDepth = Depth;
        UpdateTouchedCells(x);
        ConstrainingCells_Add(x);
        int dup =
            (DupMonitor.IsDuplicateWord(c.xHorzWord) != 0) + (DupMonitor.IsDuplicateWord(c.xVertWord) != 0);
        if (dup != 0 || RejMonitor.IsAnIntersectingWordOnRejectionList(x) != 0) {
            a.PurgeAllNodes();
            return 0;
        }
        UserInterfaceDrawLetter(x);
        changed.AddNodeSortedUnique(c.xHorzWord);
        changed.AddNodeSortedUnique(c.xVertWord);
    }
    return Flexibilities_Update(changed);
}

void engine::AssignmentList_UndoIt() {
    action &a = *CurrentAction;
    slotlist changed;
    while (!a.RestoreList.IsEmpty()) {
        listnode saved = Node(a.RestoreList.top);
        a.RestoreList.Pop();
        int x = saved.Index;
        cell &c = C(x);
        if (IsLetter(c.letter) && saved.Letter == Empty) --NumCellsFilled;
        DupMonitor.IfWordIsComplete_RemoveItFromList(c.xHorzWord);
        DupMonitor.IfWordIsComplete_RemoveItFromList(c.xVertWord);
        WriteCode(c, saved.Letter);
        c.FontColor = saved.ccColor & 15;
        c.AssignDepth = saved.Int16;
        UserInterfaceDrawLetterRestore(x);
        if (saved.Letter == Empty) UpdateTouchedCells(x);
        changed.AddNodeSortedUnique(c.xHorzWord);
        changed.AddNodeSortedUnique(c.xVertWord);
    }
    Flexibilities_Restore(changed);
}

// ---- Choosing a letter for a cell with several possible --------------------------------

void engine::Elective_PrepareAssignmentList(int Cellx) {
    if (Cellx < 0 || CountLetters(fsCombo[Cellx]) < 2) return;
    action &a = *CurrentAction;
    a.ElectiveCells = fsCombo[Cellx];
    char letter = Elective_NextLetterInPseudoRandomSequence();
    a.ActionIdent = Elective;
    a.Push(Cellx, letter);
}

char engine::Elective_NextLetterInPseudoRandomSequence() {
    uint32_t &set = CurrentAction->ElectiveCells;
    int n = CountLetters(set);
    if (n == 0) return 0;
    int k = EngineRand() % n;
    for (int bit = 30; bit >= 5; --bit) {
        if (!(set & (1u << bit))) continue;
        if (k-- == 0) {
            set &= ~(1u << bit);
            return static_cast<char>('A' + (30 - bit));
        }
    }
    return 0;
}

int engine::Elective_DoNextAssignment() {
    action &a = *CurrentAction;
    int x = Node(a.RestoreList.top).Index;
    char letter = Elective_NextLetterInPseudoRandomSequence();
    if (letter == 0) return NothingLeft;
    cell &c = C(x);
    DupMonitor.IfWordIsComplete_RemoveItFromList(c.xHorzWord);
    DupMonitor.IfWordIsComplete_RemoveItFromList(c.xVertWord);
    WriteCode(c, Empty);
    {
        slotlist both;
        both.AddNodeSortedUnique(c.xHorzWord);
        both.AddNodeSortedUnique(c.xVertWord);
        Flexibilities_Update(both);
    }
    WriteCode(c, letter);
    int dup = (DupMonitor.IsDuplicateWord(c.xHorzWord) != 0) + (DupMonitor.IsDuplicateWord(c.xVertWord) != 0);
    if (dup != 0 || RejMonitor.IsAnIntersectingWordOnRejectionList(x) != 0) return DidNotWork;
    UserInterfaceDrawLetter(x);
    slotlist both;
    both.AddNodeSortedUnique(c.xHorzWord);
    both.AddNodeSortedUnique(c.xVertWord);
    return Flexibilities_Update(both) ? Worked : DidNotWork;
}

void engine::Elective_Action_UndoIt() {
    action &a = *CurrentAction;
    listnode saved = Node(a.RestoreList.top);
    a.RestoreList.Pop();
    int x = saved.Index;
    cell &c = C(x);
    c.FontColor = saved.ccColor & 15;
    a.ActionIdent = None;
    if (IsLetter(c.letter) && saved.Letter == Empty) --NumCellsFilled;
    DupMonitor.IfWordIsComplete_RemoveItFromList(c.xHorzWord);
    DupMonitor.IfWordIsComplete_RemoveItFromList(c.xVertWord);
    WriteCode(c, saved.Letter);
    c.AssignDepth = saved.Int16;
    UserInterfaceDrawLetterRestore(x);
    if (saved.Letter == Empty) UpdateTouchedCells(x);
    slotlist both;
    both.AddNodeSortedUnique(c.xHorzWord);
    both.AddNodeSortedUnique(c.xVertWord);
    Flexibilities_Restore(both);
}

// ---- The depth of the search and its choices -------------------------------------------

void engine::Depth_Incr() {
    int16_t guide = CurrentAction->GuidanceCellx;
    ++Depth;
    if (Depth > GreatestDepthTraversed) GreatestDepthTraversed = Depth;
    CurrentAction = &ActionAtDepth[Depth];
    CurrentAction->GuidanceCellx = guide;
}

void engine::Depth_Decr() {
    int16_t guide = CurrentAction->GuidanceCellx;
    do {
        --Depth;
        CurrentAction = &ActionAtDepth[Depth];
    } while (Depth > 0 && CurrentAction->ActionIdent == None);
    if (PersistentNewGuideCell) CurrentAction->GuidanceCellx = guide;
}

// ---- Rip-up: erasing the letters near a stuck cell that constrain it -------------------

void engine::ConstrainingCells_Add(int Cellx) {
    if (!InConstrained[Cellx]) {
        InConstrained[Cellx] = 1;
        ConstrainedCells.AddNodeSortedUnique(Cellx);
    }
    const cell &c = C(Cellx);
    for (int s : {static_cast<int>(c.xHorzWord), static_cast<int>(c.xVertWord)}) {
        if (s == NoWord) continue;
        const WSLOT &w = S(s);
        int x = w.xFirstCell;
        for (int i = 0; i < w.Length; ++i, x += w.next)
            if (C(x).letter != Empty && !InConstraining[x]) {
                InConstraining[x] = 1;
                ConstrainingCells.AddNodeSortedUnique(x);
            }
    }
}

void engine::ConstrainingCells_Clear() {
    for (int n = ConstrainingCells.top; n != 0; n = Node(n).Next) InConstraining[Node(n).Index] = 0;
    for (int n = ConstrainedCells.top; n != 0; n = Node(n).Next) InConstrained[Node(n).Index] = 0;
    ConstrainingCells.PurgeAllNodes();
    ConstrainedCells.PurgeAllNodes();
}

void engine::ConstrainingCells_ExpandList() {
    celllist expanded;
    for (int n = ConstrainingCells.top; n != 0; n = Node(n).Next) {
        const cell &c = C(Node(n).Index);
        for (int s : {static_cast<int>(c.xHorzWord), static_cast<int>(c.xVertWord)}) {
            if (s == NoWord) continue;
            const WSLOT &w = S(s);
            int x = w.xFirstCell;
            for (int i = 0; i < w.Length; ++i, x += w.next) expanded.AddNodeSortedUnique(x);
        }
    }
    for (int n = ConstrainingCells.top; n != 0; n = Node(n).Next) InConstraining[Node(n).Index] = 0;
    ConstrainingCells.PurgeAllNodes();
    ConstrainingCells.top = expanded.top;
    expanded.top = 0;
    for (int n = ConstrainingCells.top; n != 0; n = Node(n).Next) InConstraining[Node(n).Index] = 1;
}

int engine::ConstrainingCells_DeleteToLevel(int Level) {
    if (Level == 7) ConstrainingCells_ExpandList();
    celllist marked;
    for (int n = ConstrainingCells.top; n != 0; n = Node(n).Next) {
        int x = Node(n).Index;
        if (C(x).letter == Empty) continue;
        for (int m = ConstrainedCells.top; m != 0; m = Node(m).Next) {
            if (Farness_Ring(x, Node(m).Index) <= Level) {
                marked.Push(x);
                break;
            }
        }
    }
    slotlist changed;
    while (!marked.IsEmpty()) {
        int x = marked.Pop();
        cell &c = C(x);
        if (c.letter == Empty || c.IsFixed) continue;
        DupMonitor.IfWordIsComplete_RemoveItFromList(c.xHorzWord);
        DupMonitor.IfWordIsComplete_RemoveItFromList(c.xVertWord);
        UnplaceThemeWordsAt(c.xHorzWord);
        UnplaceThemeWordsAt(c.xVertWord);
        WriteCode(c, Empty);
        --NumCellsFilled;
        c.AssignDepth = Depth;
        UserInterfaceDrawLetter(x);
        changed.AddNodeSortedUnique(c.xHorzWord);
        changed.AddNodeSortedUnique(c.xVertWord);
    }
    Flexibilities_Restore(changed);
    return Level < 8 ? Exhausted : TotallyExhausted;
}

// ---- The stuck area shown when a build fails -------------------------------------------

void engine::HighlightStuckCell(int Cellx) {
    // Spreads the stuck area through the lettered cells of the slots, without recursion.
    celllist todo;
    todo.Push(Cellx);
    while (!todo.IsEmpty()) {
        int x = todo.Pop();
        cell &c = C(x);
        if (!c.IsStuckArea) {
            c.IsStuckArea = 1;
            c.Displayed = 0;
        }
        CELLS::StuckAreaShowing = 1;
        for (int s : {static_cast<int>(c.xHorzWord), static_cast<int>(c.xVertWord)}) {
            if (s == NoWord) continue;
            const WSLOT &w = S(s);
            int y = w.xFirstCell;
            for (int i = 0; i < w.Length; ++i, y += w.next) {
                cell &d = C(y);
                if (d.letter != Empty && !d.IsStuckArea) {
                    d.IsStuckArea = 1;
                    d.Displayed = 0;
                    todo.Push(y);
                }
            }
        }
    }
}

void engine::HighlightStuckCells() {
    for (int x = start; x <= finish; ++x)
        if (!C(x).IsBlocked && InSomeSlot(x) && CountLetters(fsCombo[x]) == 0) HighlightStuckCell(x);
    for (int s = 0; s < WSLOTS::NumberWords; ++s) {
        const WSLOT &w = S(s);
        int stuck = 0;
        int x = w.xFirstCell;
        for (int i = 0; i < w.Length; ++i, x += w.next) stuck += C(x).IsStuckArea;
        if (2 * stuck <= w.Length) continue;
        x = w.xFirstCell;
        for (int i = 0; i < w.Length; ++i, x += w.next) {
            cell &c = C(x);
            if (c.letter == Empty && !c.IsStuckArea) {
                c.IsStuckArea = 1;
                c.Displayed = 0;
            }
        }
    }
    for (int x = start; x <= finish; ++x) {
        cell &c = C(x);
        if (c.IsStuckArea && c.IsFixed && !c.IsStuckCell) {
            c.IsStuckCell = 1;
            c.Displayed = 0;
        }
    }
}

// ---- Helpers ---------------------------------------------------------------------------

void engine::UserInterfaceDrawLetter(int Cellx) const {
    int row = Cellx / Grid.Down;
    int column = Cellx % Grid.Down;
    CallDraw(UIDrawCellLetter, row, column);
    CallDraw(UIDrawCellNumber, row, column);
}

int engine::Flexibilities_Update(slotlist &SlotList) {
    while (!SlotList.IsEmpty()) {
        int s = SlotList.Pop();
        if (s == NoWord) continue;
        if (!Scanner.ComputeFlexibility(s)) {
            SlotList.PurgeAllNodes();
            return 0;
        }
    }
    return 1;
}

void engine::Flexibilities_Restore(slotlist &SlotList) {
    while (!SlotList.IsEmpty()) {
        int s = SlotList.Pop();
        if (s != NoWord) Scanner.ComputeFlexibility(s);
    }
}

void engine::PlanConstructionPath() {
    for (int row = 1; row <= Grid.Height; ++row)
        for (int column = 1; column <= Grid.Width; ++column)
            Grid.At(column, row).Heat = Grid.ComputeOneHotSpot(column, row, 2100);
}

// ---- Exports ---------------------------------------------------------------------------

namespace {

void DestroyEngine() {
    delete Engine;
    Engine = nullptr;
    delete NodePool;
    NodePool = nullptr;
}

// The node pool and the engine for the current grid: 1, or 0 when they could not be made.
int CreateEngine() {
    UserCancel = 0;
    try {
        DestroyEngine();
        if (!Grid.HasCells()) return 0;
        try {
            NodePool = new nodepool(5 * Grid.LastIndex());
        } catch (const std::bad_alloc &) {
            ErrorBox("Caught an exception when allocating memory for NodePool.");
            NodePool = nullptr;
            return 0;
        }
        if (!nodepool::Ok()) {
            delete NodePool;
            NodePool = nullptr;
        }
        if (NodePool) {
            try {
                Engine = new engine;
            } catch (const std::bad_alloc &) {
                ErrorBox("Caught an exception when allocating memory");
                DestroyEngine();
                return 0;
            } catch (const NodePoolFull &) {
                DestroyEngine();
                return 0;
            }
            if (!Engine->ActionAtDepth) {
                DestroyEngine();
                return 0;
            }
        }
        if (!NodePool || !Engine) {
            ErrorBox("Some are NULL");
            DestroyEngine();
            return 0;
        }
        return 1;
    } catch (...) {
        DestroyEngine();
        return 0;
    }
}

void DestroyEngineReporting() {
    try {
        DestroyEngine();
    } catch (...) {
        ErrorBox("Caught an exception in engine::~engine().");
        Engine = nullptr;
    }
}

} // namespace

// The engine and the construction hold EngineBusy for their whole run: the callbacks they
// call may read the grid, cancel and hand over rejected words, but not replace the grid,
// the theme words or the engine under the search.
TRV_EXTERN(int) TRVCreate(void) {
    EngineBusy busy;
    return busy.Refused() ? 0 : CreateEngine();
}

TRV_EXTERN(void) TRVDestroy(void) {
    EngineBusy busy;
    if (!busy.Refused()) DestroyEngineReporting();
}

namespace {

// One whole construction: the engine made, run and destroyed.
int ConstructOnce(int options) {
    if (!CreateEngine()) return TotallyExhausted;
    int state = TotallyExhausted;
    try {
        state = Engine->ConstructCmd(options);
    } catch (const NodePoolFull &) {
        state = TotallyExhausted;
    } catch (const std::bad_alloc &) {
        ErrorBox("Ran out of memory; the construction was stopped.");
        state = TotallyExhausted;
    } catch (...) {
        state = TotallyExhausted;
    }
    if (state != Forward && state != TotallyExhausted && state != Finished && state != UserCancelled)
        state = TotallyExhausted;
    DestroyEngineReporting();
    ThmWds.SetupBySizeInvalidate();
    return state;
}

// The complete slot whose letters spell theme word wn, or NoWord.
int SlotSpellingThemeWord(int wn) {
    const char *word = ThmWds.Word(wn);
    const int len = AlphaSize(word);
    char letters[MaxThemeLength + 1];
    if (len < 1 || len > MaxThemeLength) return NoWord;
    for (int s = 0; s < WSLOTS::NumberWords; ++s) {
        const WSLOT &w = S(s);
        if (w.Length != len) continue;
        bool complete = true;
        int x = w.xFirstCell;
        for (int i = 0; i < len && complete; ++i, x += w.next) {
            letters[i] = C(x).letter;
            complete = letters[i] != Empty;
        }
        letters[len] = 0;
        if (complete && mystricmp(word, letters) == 0) return s;
    }
    return NoWord;
}

// No cell of any slot is empty.
bool EverySlotIsFull() {
    for (int s = 0; s < WSLOTS::NumberWords; ++s) {
        int x = S(s).xFirstCell;
        for (int i = 0; i < S(s).Length; ++i, x += S(s).next)
            if (C(x).letter == Empty) return false;
    }
    return true;
}

// A theme word with a slot of its length in the grid.
bool ThemeWordIsPlaceable(int wn) {
    const int len = AlphaSize(ThmWds.Word(wn));
    return len >= 1 && len <= MaxThemeLength && Grid.WLengthTally[len] != 0;
}

// The theme words that stand in a complete slot of the grid (each word counted once), and
// those that have a slot of their length at all.
void CountThemeWordsInGrid(int &placed, int &placeable) {
    placed = placeable = 0;
    for (int wn = 0; wn < ThmWds.NumThemeWords(); ++wn) {
        if (!ThemeWordIsPlaceable(wn)) continue;
        ++placeable;
        if (SlotSpellingThemeWord(wn) != NoWord) ++placed;
    }
}

struct GridLetters {
    std::vector<cell> cells;
    char stuckShowing = 0;

    void Take() {
        cells.assign(CELLS::Cell, CELLS::Cell + CELLS::NumberCellRecords);
        stuckShowing = CELLS::StuckAreaShowing;
    }
    // Puts the cells back and has every one of them drawn again.
    void Restore() const {
        std::copy(cells.begin(), cells.end(), CELLS::Cell);
        CELLS::StuckAreaShowing = stuckShowing;
        Grid.InvalidateDisplay();
        for (int x = Grid.Down + 1; x <= Grid.Down * Grid.Height + Grid.Width; ++x) {
            const int row = x / Grid.Down, column = x % Grid.Down;
            if (column < 1 || column > Grid.Width) continue;
            CallDraw(UIDrawCellLetter, row, column);
            CallDraw(UIDrawCellNumber, row, column);
        }
    }
};

// The slots of theme word wn's length where it could stand in the complete grid: none holds
// another theme word, and none has a letter the word lacks where a theme word or a fixed
// letter crosses it. The slot whose letters differ least from the word comes first, so that
// its repair changes the fewest crossing words.
std::vector<int> RepairSlotsFor(int wn, const std::vector<char> &themeSlot) {
    const char *word = ThmWds.Word(wn);
    const int len = AlphaSize(word);
    auto inThemeWord = [&themeSlot](const cell &c) {
        return (c.xHorzWord != NoWord && themeSlot[static_cast<size_t>(c.xHorzWord)]) ||
               (c.xVertWord != NoWord && themeSlot[static_cast<size_t>(c.xVertWord)]);
    };
    std::vector<std::pair<int, int>> ranked; // (differing letters, slot)
    for (int s = 0; s < WSLOTS::NumberWords; ++s) {
        const WSLOT &w = S(s);
        if (w.Length != len || themeSlot[static_cast<size_t>(s)]) continue;
        int differing = 0;
        bool allowed = true;
        int x = w.xFirstCell;
        for (int i = 0; i < len && allowed; ++i, x += w.next) {
            const cell &c = C(x);
            const bool same =
                mychricmp(static_cast<unsigned char>(c.letter), static_cast<unsigned char>(word[i])) == 0;
            if (same) continue;
            ++differing;
            if (c.IsFixed || inThemeWord(c)) allowed = false;
            // The crossing word changes, so it needs a letter the search may choose again.
            const int crossing = w.next == 1 ? c.xVertWord : c.xHorzWord;
            if (crossing == NoWord) continue;
            bool free = false;
            int y = S(crossing).xFirstCell;
            for (int j = 0; j < S(crossing).Length && !free; ++j, y += S(crossing).next)
                free = y != x && !C(y).IsFixed && !inThemeWord(C(y));
            if (!free) allowed = false;
        }
        if (allowed) ranked.emplace_back(differing, s);
    }
    std::stable_sort(ranked.begin(), ranked.end());
    std::vector<int> slots;
    for (const auto &r : ranked) slots.push_back(r.second);
    return slots;
}

// Writes theme word wn into slot s of the complete grid, holds it and the theme words already
// standing there, and erases the words crossing it and, out to the reach, the words through
// the erased cells, for the search to fill again. Returns the cells it held, whose hold is to
// be released after the search.
std::vector<int> PrepareRepair(int wn, int s, const std::vector<char> &themeSlot, int reach) {
    std::vector<int> held;
    auto hold = [&held](int x) {
        if (!C(x).IsFixed) {
            C(x).IsFixed = 1;
            held.push_back(x);
        }
    };
    for (int t = 0; t < WSLOTS::NumberWords; ++t) {
        if (!themeSlot[static_cast<size_t>(t)]) continue;
        int x = S(t).xFirstCell;
        for (int i = 0; i < S(t).Length; ++i, x += S(t).next) hold(x);
    }
    const WSLOT &w = S(s);
    const char *word = ThmWds.Word(wn);
    const bool across = w.next == 1;
    int x = w.xFirstCell;
    for (int i = 0; i < w.Length; ++i, x += w.next) {
        cell &c = C(x);
        WriteCode(c, word[i]);
        c.FontColor = across ? ccThemeHorz : ccThemeVert;
        hold(x);
    }
    // The letters left of a word erased only in part bind its erased cells as tightly as
    // before, often to no letter the new crossing allows.
    auto erase = [](int slot, std::vector<int> &erased) {
        if (slot == NoWord) return;
        int y = S(slot).xFirstCell;
        for (int j = 0; j < S(slot).Length; ++j, y += S(slot).next) {
            cell &c = C(y);
            if (c.IsFixed || c.letter == Empty) continue;
            WriteCode(c, Empty);
            c.FontColor = 0;
            erased.push_back(y);
        }
    };
    std::vector<int> erased;
    x = w.xFirstCell;
    for (int i = 0; i < w.Length; ++i, x += w.next) erase(across ? C(x).xVertWord : C(x).xHorzWord, erased);
    for (int r = 1; r < reach; ++r) {
        std::vector<int> ring;
        for (int y : erased) {
            erase(C(y).xHorzWord, ring);
            erase(C(y).xVertWord, ring);
        }
        erased = ring;
    }
    return held;
}

} // namespace

TRV_EXTERN(int) TRVConstructCmd(int options) {
    EngineBusy busy;
    if (busy.Refused()) return TotallyExhausted;
    return ConstructOnce(options);
}

TRV_EXTERN(int) TRVConstructKeepingThemeWords(int options, int attempts) {
    EngineBusy busy;
    if (busy.Refused()) return TotallyExhausted;
    if (!Grid.HasCells()) return ConstructOnce(options);
    GridLetters before, best;
    before.Take();
    int bestState = -1, bestPlaced = -1;
    bool bestComplete = false, bestIsInGrid = false;
    long budget = 0, firstSteps = 0;
    bool cancelled = false;
    for (int attempt = 0; attempt < (attempts < 1 ? 1 : attempts); ++attempt) {
        if (attempt > 0) {
            before.Restore();
            bestIsInGrid = false;
        }
        int state;
        if (attempt == 0) {
            // A search that has wandered into a hard corner of the grid seldom gets out of it,
            // while a fresh start usually fills quickly: the first fill starts again with the
            // next seed (from 105, apart from the retries' seeds) each time it runs past its
            // limit, which doubles, and the last start runs to the end.
            long spent = 0;
            for (int start = 0;; ++start) {
                const bool last = start + 1 >= FirstFillStarts;
                ConstructSeed = start == 0 ? 5 : 104 + static_cast<unsigned>(start);
                ConstructionStepLimit = last ? 0 : FirstFillStepLimit << start;
                // A start with the common words only may also find that they cannot fill the
                // grid; the next start tries again with every word.
                const bool common = start < CommonWordStarts;
                {
                    CommonWordsScope scope(common);
                    state = ConstructOnce(options);
                }
                spent += ConstructionSteps;
                const bool stoppedByLimit = state == UserCancelled && !UserCancel;
                if (last || UserCancel || state == Finished || state == Forward ||
                    (!stoppedByLimit && !common))
                    break;
                before.Restore();
            }
            ConstructionSteps = spent;
        } else {
            // Without the random bit, attempt k is seeded 5 + k: the same words give the same
            // puzzle. A retry stops (as if cancelled) where the rest of the budget runs out.
            ConstructSeed = 5 + static_cast<unsigned>(attempt);
            ConstructionStepLimit = budget;
            state = ConstructOnce(options);
        }
        ConstructSeed = 5;
        ConstructionStepLimit = 0;
        if (state == UserCancelled) {
            if (bestState < 0) return state;
            cancelled = UserCancel != 0;
            break;
        }
        int placed = 0, placeable = 0;
        CountThemeWordsInGrid(placed, placeable);
        const bool complete = state == Finished || state == Forward;
        if (bestState < 0 || (complete && !bestComplete) ||
            (complete == bestComplete && placed > bestPlaced)) {
            best.Take();
            bestState = state;
            bestPlaced = placed;
            bestComplete = complete;
            bestIsInGrid = true;
        }
        if (bestComplete && bestPlaced >= placeable) break;
        // The retries together may cost as many steps as the first attempt, within a floor
        // for quick fills and a ceiling for slow ones.
        if (attempt == 0) {
            firstSteps = ConstructionSteps;
            budget = RetryStepFloor + std::min(ConstructionSteps, RetryStepCeiling);
        } else
            budget -= ConstructionSteps;
        if (budget <= 0) break;
    }
    // A theme word the attempts left out of a complete fill is written where it differs least
    // from the fill, and the words around it are made again. Most slots that cannot take it
    // fail before the first step; a try that searches may spend a share of the budget.
    const long repairTotal = RepairStepFloor + std::min(firstSteps, RetryStepCeiling);
    long repairBudget = cancelled ? 0 : repairTotal;
    for (int wn = 0; bestComplete && repairBudget > 0 && wn < ThmWds.NumThemeWords(); ++wn) {
        if (!bestIsInGrid) best.Restore();
        bestIsInGrid = true;
        if (!ThemeWordIsPlaceable(wn) || SlotSpellingThemeWord(wn) != NoWord) continue;
        std::vector<char> themeSlot(static_cast<size_t>(WSLOTS::NumberWords), 0);
        for (int other = 0; other < ThmWds.NumThemeWords(); ++other) {
            const int at = SlotSpellingThemeWord(other);
            if (at != NoWord) themeSlot[static_cast<size_t>(at)] = 1;
        }
        const std::vector<int> slots = RepairSlotsFor(wn, themeSlot);
        for (size_t k = 0; k < slots.size() && k < RepairSlotsTried && repairBudget > 0; ++k) {
            if (!bestIsInGrid) best.Restore();
            const std::vector<int> held = PrepareRepair(wn, slots[k], themeSlot, RepairReach);
            ConstructSeed = 5 + static_cast<unsigned>(k);
            ConstructionStepLimit = std::min(repairBudget, repairTotal / RepairShares);
            const int state = ConstructOnce(options);
            ConstructSeed = 5;
            ConstructionStepLimit = 0;
            for (int x : held) C(x).IsFixed = 0;
            bestIsInGrid = false;
            repairBudget -= ConstructionSteps;
            if (state == UserCancelled && UserCancel) {
                repairBudget = 0;
                break;
            }
            int placed = 0, placeable = 0;
            CountThemeWordsInGrid(placed, placeable);
            if ((state == Finished || state == Forward) && EverySlotIsFull() && placed > bestPlaced) {
                best.Take();
                bestState = Finished;
                bestPlaced = placed;
                bestIsInGrid = true;
                break;
            }
        }
    }
    if (!bestIsInGrid) best.Restore();
    return bestState;
}

TRV_EXTERN(void) TRVUserCancel(void) { UserCancel = 1; }

TRV_EXTERN(int) TRVRejectedWord(const char *word) {
    if (!Engine || !word) return 1;
    try {
        return Engine->PassOnRejectedWord(word);
    } catch (...) {
        return 1;
    }
}

TRV_EXTERN(int) TRVIsInSpellingDict(const char *word) {
    if (!Engine || !word) return 0;
    try {
        return Engine->IsInSpellingDict(word);
    } catch (...) {
        return 0;
    }
}

TRV_EXTERN(TRVConstructInfoProc) TRVEstablishConstructInfoCB(TRVConstructInfoProc proc) {
    UIConstructInfo = proc;
    return proc;
}

TRV_EXTERN(TRVRejectedWordsProc) TRVEstablishRejectedWordsCB(TRVRejectedWordsProc proc) {
    UISendRejectedWords = proc;
    return proc;
}

TRV_EXTERN(TRVTraceProc) TRVEstablishTraceCB(TRVTraceProc proc) {
    UITraceCSide = proc;
    return proc;
}

// The count saturates at the ends of int rather than wrapping.
TRV_EXTERN(int) TRVInstanceCount(int delta) {
    const long long sum = static_cast<long long>(InstanceCount) + delta;
    InstanceCount = sum > INT_MAX ? INT_MAX : sum < INT_MIN ? INT_MIN : static_cast<int>(sum);
    if (InstanceCount > 1 && UIConstructInfo) UIConstructInfo(0, InstanceAssumeFocusFlag);
    return InstanceCount;
}
