// trv_ngin.h - the construction engine: node pool and lists, duplicate and rejected-word
// monitors, per-depth actions, and the depth-first search that fills the grid.
#ifndef TRV_NGIN_H
#define TRV_NGIN_H

#include <cstdint>
#include <memory>
#include <vector>

#include "trv600.h"
#include "trv_scan.h"

// ---- Node pool -------------------------------------------------------------------------

#pragma pack(push, 1)
struct listnode {
    char Letter;     // letter to assign, or the letter to restore
    uint8_t ccColor; // font colour to restore
    int16_t Int16;   // sort key, or the assignment depth to restore
    int16_t Index;   // payload: a cell or slot index
    int16_t Next;    // next node, 0 = end of list
};
#pragma pack(pop)
static_assert(sizeof(listnode) == 8, "list nodes are 8 bytes");

// Raised inside the engine when the pool cannot grow any further; the construction ends.
struct NodePoolFull {};

class nodepool {
  public:
    static listnode *Pool;
    static int PoolSize;
    static int FreeTop;
    static int PoolObjectCount;
    static constexpr int PoolSizeSpaceLimit = 32766;

    explicit nodepool(int RequestedPoolSize);
    ~nodepool();
    nodepool(const nodepool &) = delete;
    nodepool &operator=(const nodepool &) = delete;

    static bool Ok() { return Pool != nullptr; }
    static int BoostPoolSize();
    // Takes a node off the free list, growing the pool when it is empty (throws NodePoolFull).
    static int TakeNode();
    static void GiveBack(int n) {
        Pool[n].Next = static_cast<int16_t>(FreeTop);
        FreeTop = n;
    }
};

inline listnode &Node(int n) { return nodepool::Pool[n]; }

class genericlist {
  public:
    int top = 0;
    static int InstanceCount;

    genericlist() { ++InstanceCount; }
    ~genericlist();
    genericlist(const genericlist &) = delete;
    genericlist &operator=(const genericlist &) = delete;

    bool IsEmpty() const { return top == 0; }
    int AddNodeSortedUnique(int Index);
    int AddNodeSortedByFirstArgument(int Int16, int Index);
    void Push(int Index, char Letter = 0, int ccColor = 0, int Int16 = 0);
    int Pop(); // payload of the head; the list must not be empty
    int Peek() const { return Node(top).Index; }
    int CountNodes() const;
    int IsPresent(int Index) const;
    void RemoveIfPresent(int Index);
    void PurgeAllNodes();
};

class slotlist : public genericlist {
  public:
    void AddAllSlots();
};

class celllist : public genericlist {};

class cellqueue : public celllist {
  public:
    void AddToQueueUnique(int Index);
};

// ---- Duplicate and rejected words ------------------------------------------------------

class dupcheck {
  public:
    static constexpr int HashSize = 128;
    static constexpr int DupWordProtectSize = 2;
    slotlist DupHashTable[HashSize];

    int IsDuplicateWord(int Slotx);
    void IfWordIsComplete_RemoveItFromList(int Slotx);
    void ClearData();
    void PreloadExistingWords();
    static int Hash(int Slotx);
};

class rejects {
  public:
    static constexpr int MaxRejWords = 100;
    static constexpr int MaxRejWordSize = 15;
    int NumRejWords = 0;
    char RejectedWords[MaxRejWords][MaxRejWordSize + 1] = {};

    void RequestRejectsList();
    int ReceiveRejectedWord(const char *word);
    int IsRejectedWord(int Slotx) const;
    int IsAnIntersectingWordOnRejectionList(int Cellx) const;
};

// ---- Actions ---------------------------------------------------------------------------

enum actionID {
    None = 0,
    Theme = 1,
    Elective = 2,
    Forced = 3,
    FewWords = 4
};

// The work of one search depth; the base list is the assignment list (cell, letter).
class action : public celllist {
  public:
    celllist RestoreList;
    actionID ActionIdent = None;
    slotlist ThemeWordSlotList;
    int16_t TwSlotSeries = -1;
    uint32_t ElectiveCells = 0;
    int16_t GuidanceCellx = -1;

    void ClearAction();
    int ThemeWordPopNode() { return ThemeWordSlotList.Pop(); }
    int ThemeWordSlotListIsEmpty() const { return ThemeWordSlotList.IsEmpty(); }
    void ThemeWordTestBeginSeries() { TwSlotSeries = -1; }
};

// ---- The engine ------------------------------------------------------------------------

enum states {
    Forward = 0,
    Stuck = 1,
    TotallyExhausted = 2,
    Finished = 3,
    UserCancelled = 4,
    FarJump = 5,
    Exhausted = 6
};
enum stepresult {
    NothingLeft = 0,
    Worked = 1,
    DidNotWork = 2
};

constexpr int ConstructRandomBit = 1;
constexpr int RipUpAllowedBit = 2;
constexpr FlexSet AllLetters = 0x7FFFFFE0u;

class engine {
  public:
    int KludgeCount = 0;
    int GreatestDepthTraversed = 0;
    int Depth = 0;
    int MaxDepth = 0;
    int IterationCount = 0;
    std::vector<FlexSet> fsHorz, fsVert, fsCombo;
    std::vector<uint8_t> FlexCount;
    std::unique_ptr<action[]> ActionAtDepth;
    int start = 0, finish = 0;
    action *CurrentAction = nullptr;
    scanner Scanner;
    dupcheck DupMonitor;
    rejects RejMonitor;
    celllist OrphansList, TouchedCells, ActiveCluster, OldCellsTouched, ConstrainingCells, ConstrainedCells;
    // Membership marks of ConstrainingCells and ConstrainedCells, so that adding a cell that is
    // already listed costs no walk of the sorted list.
    std::vector<uint8_t> InConstraining, InConstrained;
    int NumCellsToFill = 1;
    int NumCellsFilled = 0;
    int ProgressInfo2 = 0;
    int Option_ConstructRandom = 0;
    int Option_RipUpAllowed = 0;

    static uint8_t SetBitCount[256];

    engine();
    ~engine();
    engine(const engine &) = delete;
    engine &operator=(const engine &) = delete;

    int ConstructCmd(int Options);
    int ConstructIsolatedSection(int SeedCellx);
    int PuzzleWideDoAllForcedCells();

    int AssignmentList_DoIt();
    void AssignmentList_UndoIt();
    void Elective_PrepareAssignmentList(int Cellx);
    char Elective_NextLetterInPseudoRandomSequence();
    int Elective_DoNextAssignment();
    void Elective_Action_UndoIt();
    void Forced_Action_UndoIt() { CurrentAction->ActionIdent = None; }
    void Theme_Action_UndoIt() { CurrentAction->ActionIdent = None; }
    void Forced_SearchAndPushForcedCells();
    int Forced_SearchEntireGridAndPushForcedCells();
    static char Forced_GetLetterFromFlexSet(FlexSet fs);

    void Depth_Incr();
    void Depth_Decr();

    void ConstrainingCells_Add(int Cellx);
    int ConstrainingCells_DeleteToLevel(int Level);
    void ConstrainingCells_ExpandList();
    void ConstrainingCells_Clear();

    void HighlightStuckCells();
    void HighlightStuckCell(int Cellx);

    void UserInterfaceDrawLetter(int Cellx) const;
    void UserInterfaceDrawLetterRestore(int Cellx) const { UserInterfaceDrawLetter(Cellx); }

    int Flexibilities_Update(slotlist &SlotList);
    void Flexibilities_Restore(slotlist &SlotList);
    int IsInSpellingDict(const char *word) { return Scanner.IsInLexicon(word); }
    int PassOnRejectedWord(const char *word) { return RejMonitor.ReceiveRejectedWord(word); }
    void PlanConstructionPath();

    // Cell choice, guidance and theme-word trials.
    void UpdateTouchedCells(int Cellx);
    int Farness(int Cellx1, int Cellx2) const;
    int Farness_Ring(int Cellx1, int Cellx2) const;
    void ComputeFlexCountForCell(int Cellx) { FlexCount[Cellx] = CountLetters(fsCombo[Cellx]); }
    int ComputeHeatFlexFactor(int Cellx);
    int ChooseFirstCellOfSection();
    int ChooseHighestFlexFactor(const celllist &List);
    int ChoiceOfCell(int SeedCellx);
    int GuideCell_MoveOutOfBigSlots(int Cellx) const;
    int GuideCell_JumpToLatestTouchedCell();
    void GuideCell_AddAllEmptyTouchedCells(int Cellx, celllist &OutputList) const;
    int CountOfEmptyUntouchedCells(int Slotx) const;
    int Theme_Action_CheckForAndPrepareIt(int Cellx);
    void Theme_SlotList_AddSelectedSlotsToList(int Cellx);
    int Theme_Assignment_AdvanceToNextQualifiedWordAndPushCellL();
    void Theme_Assignment_RemoveContraindicatedWord();
    void Theme_Action_UponBacktrack_CleanUpFailedTests();

    static int CountLetters(FlexSet fs) {
        return SetBitCount[fs & 255] + SetBitCount[(fs >> 8) & 255] + SetBitCount[(fs >> 16) & 255] +
               SetBitCount[fs >> 24];
    }
    // An open cell that lies in no slot is never filled by the search.
    static bool InSomeSlot(int Cellx);
};

// ---- Module state ----------------------------------------------------------------------

extern engine *Engine;
extern nodepool *NodePool;
extern TRVConstructInfoProc UIConstructInfo;
extern TRVRejectedWordsProc UISendRejectedWords;
extern TRVTraceProc UITraceCSide;
extern int UserCancel;
extern unsigned ConstructSeed;     // seed of a construction without the random bit
extern long ConstructionSteps;     // steps of the current (or last) construction, all sections
extern long ConstructionStepLimit; // a construction stops as cancelled at this many steps; 0: none
// The retries of a build that left theme words out may take together RetryStepFloor steps
// plus the first attempt's steps, of which at most RetryStepCeiling count.
constexpr long RetryStepFloor = 20000;
constexpr long RetryStepCeiling = 500000;
// The first fill of Make Puzzle starts again from the grid, with the next seed, when it runs
// past FirstFillStepLimit steps; the limit doubles at each start and the last of
// FirstFillStarts has none.
extern long FirstFillStepLimit; // 200000; a variable so that tests can make it small
constexpr int FirstFillStarts = 6;
// The first CommonWordStarts of those fill with the common words only (where the dictionary
// has them), so that most puzzles hold words every reader knows; the later starts, the retries
// and the repairs use every word.
constexpr int CommonWordStarts = 4;
// A theme word still missing after them is tried in at most RepairSlotsTried slots, the words
// within RepairReach words of it made again. The repairs together take at most RepairStepFloor
// steps plus the first attempt's steps, and one try at most a RepairShares-th of that.
constexpr long RepairStepFloor = 20000;
constexpr size_t RepairSlotsTried = 12;
constexpr int RepairReach = 2;
constexpr long RepairShares = 3;
extern int InstanceCount;
constexpr int PersistentNewGuideCell = 1;
constexpr int AvoidPrematureThemeWordAssignment = 0;
constexpr int InstanceAssumeFocusFlag = -4;

// The engine's one pseudo-random generator (the letter order of the search).
void EngineSrand(unsigned seed);
int EngineRand(); // 0 .. 0x7FFFFFFF

#endif
