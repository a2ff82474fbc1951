// trv_ngin_list.cpp - the engine's node pool, its singly linked lists, the duplicate-word
// and rejected-word monitors and the per-depth action records.
#include <cctype>
#include <cstring>
#include <new>

#include "trv_grid.h"
#include "trv_ngin.h"

// ---- Node pool -------------------------------------------------------------------------

listnode *nodepool::Pool = nullptr;
int nodepool::PoolSize = 0;
int nodepool::FreeTop = 0;
int nodepool::PoolObjectCount = 0;

namespace {

// Chains nodes first..last in increasing order in front of the node 'then'.
void ChainFree(listnode *pool, int first, int last, int then) {
    for (int n = first; n < last; ++n) pool[n].Next = static_cast<int16_t>(n + 1);
    pool[last].Next = static_cast<int16_t>(then);
}

} // namespace

nodepool::nodepool(int RequestedPoolSize) {
    int size = RequestedPoolSize < PoolSizeSpaceLimit / 8 ? RequestedPoolSize : PoolSizeSpaceLimit / 8;
    if (size < 8) size = 8;
    Pool = new (std::nothrow) listnode[size + 1];
    if (!Pool) {
        PoolSize = 0;
        FreeTop = 0;
        ErrorBox("Can not allocate 'Pool'");
        return;
    }
    PoolSize = size;
    ChainFree(Pool, 1, PoolSize, 0);
    FreeTop = 1;
    Pool[0] = listnode{'#', 0, 0, 12345, 0};
    ++PoolObjectCount;
}

nodepool::~nodepool() {
    if (!Pool) return;
    if (Pool[0].Letter != '#' || Pool[0].Index != 12345 || Pool[0].Next != 0)
        ErrorBox("Generic list nil node was altered.");
    delete[] Pool;
    Pool = nullptr;
    PoolSize = 0;
    FreeTop = 0;
    --PoolObjectCount;
}

int nodepool::BoostPoolSize() {
    if (!Pool || PoolSize >= PoolSizeSpaceLimit) return 0;
    int size = 2 * PoolSize;
    if (size > PoolSizeSpaceLimit) size = PoolSizeSpaceLimit;
    listnode *grown = nullptr;
    while (size > PoolSize) {
        grown = new (std::nothrow) listnode[size + 1];
        if (grown) break;
        size -= PoolSize / 8 > 0 ? PoolSize / 8 : 1;
    }
    if (!grown) return 0;
    std::memcpy(grown, Pool, sizeof(listnode) * (PoolSize + 1));
    ChainFree(grown, PoolSize + 1, size, FreeTop);
    FreeTop = PoolSize + 1;
    delete[] Pool;
    Pool = grown;
    PoolSize = size;
    return 1;
}

int nodepool::TakeNode() {
    if (FreeTop == 0 && !BoostPoolSize()) {
        ErrorBox("The engine ran out of list nodes; the construction was stopped.");
        throw NodePoolFull{};
    }
    int n = FreeTop;
    FreeTop = Pool[n].Next;
    return n;
}

// ---- Lists -----------------------------------------------------------------------------

int genericlist::InstanceCount = 0;

genericlist::~genericlist() {
    if (nodepool::Ok()) PurgeAllNodes();
    --InstanceCount;
}

int genericlist::AddNodeSortedUnique(int Index) {
    int prev = 0;
    int n = top;
    while (n != 0 && Node(n).Index < Index) {
        prev = n;
        n = Node(n).Next;
    }
    if (n != 0 && Node(n).Index == Index) return 1;
    int k = nodepool::TakeNode();
    Node(k) = listnode{0, 0, 0, static_cast<int16_t>(Index), static_cast<int16_t>(n)};
    if (prev == 0)
        top = k;
    else
        Node(prev).Next = static_cast<int16_t>(k);
    return 1;
}

int genericlist::AddNodeSortedByFirstArgument(int Int16, int Index) {
    int prev = 0;
    int n = top;
    while (n != 0 && Node(n).Int16 < Int16) {
        prev = n;
        n = Node(n).Next;
    }
    int k = nodepool::TakeNode();
    Node(k) =
        listnode{0, 0, static_cast<int16_t>(Int16), static_cast<int16_t>(Index), static_cast<int16_t>(n)};
    if (prev == 0)
        top = k;
    else
        Node(prev).Next = static_cast<int16_t>(k);
    return 1;
}

void genericlist::Push(int Index, char Letter, int ccColor, int Int16) {
    int k = nodepool::TakeNode();
    Node(k) = listnode{Letter, static_cast<uint8_t>(ccColor), static_cast<int16_t>(Int16),
                       static_cast<int16_t>(Index), static_cast<int16_t>(top)};
    top = k;
}

int genericlist::Pop() {
    int n = top;
    int index = Node(n).Index;
    top = Node(n).Next;
    nodepool::GiveBack(n);
    return index;
}

int genericlist::CountNodes() const {
    int count = 0;
    for (int n = top; n != 0; n = Node(n).Next) ++count;
    return count;
}

int genericlist::IsPresent(int Index) const {
    for (int n = top; n != 0; n = Node(n).Next)
        if (Node(n).Index == Index) return 1;
    return 0;
}

void genericlist::RemoveIfPresent(int Index) {
    int prev = 0;
    for (int n = top; n != 0; prev = n, n = Node(n).Next) {
        if (Node(n).Index != Index) continue;
        if (prev == 0)
            top = Node(n).Next;
        else
            Node(prev).Next = Node(n).Next;
        nodepool::GiveBack(n);
        return;
    }
}

void genericlist::PurgeAllNodes() {
    while (top != 0) {
        int n = top;
        top = Node(n).Next;
        nodepool::GiveBack(n);
    }
}

void slotlist::AddAllSlots() {
    for (int s = WSLOTS::NumberWords - 1; s >= 0; --s) Push(s);
}

void cellqueue::AddToQueueUnique(int Index) {
    int last = 0;
    for (int n = top; n != 0; n = Node(n).Next) {
        if (Node(n).Index == Index) return;
        last = n;
    }
    int k = nodepool::TakeNode();
    Node(k) = listnode{0, 0, 0, static_cast<int16_t>(Index), 0};
    if (last == 0)
        top = k;
    else
        Node(last).Next = static_cast<int16_t>(k);
}

// ---- Duplicate-word monitor ------------------------------------------------------------

namespace {

constexpr int ChMask = 31;

bool SlotIsComplete(const WSLOT &w) {
    int x = w.xFirstCell;
    for (int i = 0; i < w.Length; ++i, x += w.next)
        if (CELLS::Cell[x].letter == Empty) return false;
    return true;
}

int Upper(char c) { return std::toupper(static_cast<unsigned char>(c)); }

} // namespace

int dupcheck::Hash(int Slotx) {
    const WSLOT &w = WSLOTS::Slot[Slotx];
    const cell *c = CELLS::Cell;
    int l0 = c[w.xFirstCell].letter & ChMask;
    int l1 = c[w.xFirstCell + w.next].letter & ChMask;
    if (w.Length == 2) return (l0 * 4) ^ l1;
    int l2 = c[w.xFirstCell + 2 * w.next].letter & ChMask;
    return ((l0 * 16) ^ (l1 * 4) ^ l2) & 127;
}

int dupcheck::IsDuplicateWord(int Slotx) {
    if (Slotx == NoWord) return 0;
    const WSLOT &w = WSLOTS::Slot[Slotx];
    if (w.Length < DupWordProtectSize || !SlotIsComplete(w)) return 0;
    slotlist &bucket = DupHashTable[Hash(Slotx)];
    for (int n = bucket.top; n != 0; n = Node(n).Next) {
        int other = Node(n).Index;
        if (other == Slotx) break;
        const WSLOT &o = WSLOTS::Slot[other];
        if (o.Length != w.Length) continue;
        int x = w.xFirstCell, y = o.xFirstCell;
        int i = 0;
        for (; i < w.Length; ++i, x += w.next, y += o.next)
            if (Upper(CELLS::Cell[x].letter) != Upper(CELLS::Cell[y].letter)) break;
        if (i == w.Length) return 1;
    }
    bucket.AddNodeSortedUnique(Slotx);
    return 0;
}

void dupcheck::IfWordIsComplete_RemoveItFromList(int Slotx) {
    if (Slotx == NoWord) return;
    const WSLOT &w = WSLOTS::Slot[Slotx];
    if (w.Length < DupWordProtectSize || !SlotIsComplete(w)) return;
    DupHashTable[Hash(Slotx)].RemoveIfPresent(Slotx);
}

void dupcheck::ClearData() {
    for (auto &bucket : DupHashTable) bucket.PurgeAllNodes();
}

void dupcheck::PreloadExistingWords() {
    ClearData();
    for (int s = 0; s < WSLOTS::NumberWords; ++s) IsDuplicateWord(s);
}

// ---- Rejected-word monitor -------------------------------------------------------------

void rejects::RequestRejectsList() {
    NumRejWords = 0;
    if (UISendRejectedWords)
        UISendRejectedWords();
    else
        ErrorBox("Rej. Ptr. is empty!");
}

int rejects::ReceiveRejectedWord(const char *word) {
    if (NumRejWords >= MaxRejWords) return 1;
    char *dst = RejectedWords[NumRejWords];
    int i = 0;
    for (; i < MaxRejWordSize && word[i] != 0; ++i) dst[i] = static_cast<char>(Upper(word[i]));
    for (; i <= MaxRejWordSize; ++i) dst[i] = 0;
    ++NumRejWords;
    return 0;
}

int rejects::IsRejectedWord(int Slotx) const {
    if (Slotx == NoWord) return 0;
    const WSLOT &w = WSLOTS::Slot[Slotx];
    if (w.Length > MaxRejWordSize || !SlotIsComplete(w)) return 0;
    for (int k = 0; k < NumRejWords; ++k) {
        const char *r = RejectedWords[k];
        int x = w.xFirstCell;
        int i = 0;
        for (; i < w.Length; ++i, x += w.next)
            if (r[i] != '?' && r[i] != Upper(CELLS::Cell[x].letter)) break;
        if (i == w.Length) return 1;
    }
    return 0;
}

int rejects::IsAnIntersectingWordOnRejectionList(int Cellx) const {
    const cell &c = CELLS::Cell[Cellx];
    return IsRejectedWord(c.xHorzWord) + IsRejectedWord(c.xVertWord);
}

// ---- Actions ---------------------------------------------------------------------------

void action::ClearAction() {
    PurgeAllNodes();
    RestoreList.PurgeAllNodes();
    while (!ThemeWordSlotList.IsEmpty()) WSLOTS::Slot[ThemeWordSlotList.Pop()].ThemeTest = 0;
    TwSlotSeries = -1;
    ActionIdent = None;
}
