// ngin_lists_test.cpp - the engine's node pool, lists, duplicate and rejected-word monitors.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ngin_fixture.h"
#include "trv_grid.h"
#include "trv_ngin.h"

namespace {

std::vector<int> Payloads(const genericlist &l)
{
    std::vector<int> v;
    for (int n = l.top; n != 0; n = Node(n).Next)
        v.push_back(Node(n).Index);
    return v;
}

class PoolTest : public ::testing::Test
{
protected:
    void SetUp() override { pool = new nodepool(40); }
    void TearDown() override { delete pool; }
    nodepool *pool = nullptr;
};

int FreeNodes()
{
    int free = 0;
    for (int n = nodepool::FreeTop; n != 0; n = Node(n).Next)
        ++free;
    return free;
}

TEST_F(PoolTest, AFreshPoolHandsOutTheNodesAskedForInOrder)
{
    EXPECT_EQ(FreeNodes(), 40);
    celllist l;
    std::vector<int> taken;
    for (int v = 0; v < 40; ++v) {
        l.Push(v);
        taken.push_back(l.top);
    }
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(taken[i], i + 1); // node 0 is never handed out
    EXPECT_EQ(FreeNodes(), 0);
}

TEST_F(PoolTest, SortedUniqueIgnoresAValueAlreadyPresent)
{
    celllist l;
    for (int v : {7, -3, 12, 7, 0, 12})
        EXPECT_EQ(l.AddNodeSortedUnique(v), 1);
    EXPECT_EQ(Payloads(l), (std::vector<int>{-3, 0, 7, 12}));
    EXPECT_EQ(l.CountNodes(), 4);
}

TEST_F(PoolTest, SortedByKeyPutsANewNodeBeforeEqualKeys)
{
    celllist l;
    l.AddNodeSortedByFirstArgument(5, 100);
    l.AddNodeSortedByFirstArgument(3, 200);
    l.AddNodeSortedByFirstArgument(5, 300);
    EXPECT_EQ(Payloads(l), (std::vector<int>{200, 300, 100}));
}

TEST_F(PoolTest, PushPopRemoveAndQueue)
{
    celllist l;
    l.Push(1);
    l.Push(2);
    l.Push(3);
    EXPECT_EQ(l.Peek(), 3);
    l.RemoveIfPresent(2);
    l.RemoveIfPresent(99);
    EXPECT_EQ(Payloads(l), (std::vector<int>{3, 1}));
    EXPECT_EQ(l.Pop(), 3);
    EXPECT_TRUE(l.IsPresent(1));
    EXPECT_FALSE(l.IsPresent(3));
    cellqueue q;
    for (int v : {4, 2, 4, 9})
        q.AddToQueueUnique(v);
    EXPECT_EQ(Payloads(q), (std::vector<int>{4, 2, 9}));
}

TEST_F(PoolTest, NodesGoBackToTheFreeList)
{
    {
        celllist l;
        for (int v = 0; v < 30; ++v)
            l.Push(v);
    }
    EXPECT_EQ(FreeNodes(), 40);
}

TEST_F(PoolTest, GrowingKeepsNodeNumbersAndContents)
{
    const listnode nil = Node(0);
    celllist l;
    std::vector<int> first;
    for (int v = 0; v < 40; ++v) {
        l.Push(v);
        first.push_back(l.top);
    }
    for (int v = 40; v < 100; ++v)
        l.Push(v); // the pool grows twice
    std::vector<int> v = Payloads(l);
    ASSERT_EQ(v.size(), 100u);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(v[i], 99 - i);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(Node(first[i]).Index, i);
    // The nil node comes through unchanged (the pool's destructor checks it too).
    EXPECT_EQ(Node(0).Letter, nil.Letter);
    EXPECT_EQ(Node(0).Index, nil.Index);
    EXPECT_EQ(Node(0).Next, 0);
}

// A huge request starts with a small pool; either way the lists grow to the node limit and no
// further, without ending the process.
TEST(PoolLimit, GrowthStopsAtTheNodeLimitWithoutEndingTheProcess)
{
    for (int requested : {4095, 100000}) {
        SCOPED_TRACE(requested);
        nodepool pool(requested);
        EXPECT_LE(FreeNodes(), nodepool::PoolSizeSpaceLimit / 8);
        celllist l;
        bool full = false;
        try {
            for (int v = 0; v < 40000; ++v)
                l.Push(v & 0x3FFF);
        } catch (const NodePoolFull &) {
            full = true;
        }
        EXPECT_TRUE(full);
        EXPECT_EQ(l.CountNodes(), nodepool::PoolSizeSpaceLimit);
    }
}

// Word checks on a grid of three across slots of three cells and one of two.
class MonitorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ngintest::MakeGrid({"...", "###", "...", "###", "...", "###", "..#"});
        pool = new nodepool(200);
    }
    void TearDown() override { delete pool; }
    void Write(int row, const char *letters)
    {
        for (int c = 0; letters[c]; ++c)
            Grid.At(c + 1, row).letter = letters[c] == '.' ? static_cast<char>(Empty) : letters[c];
    }
    int SlotOfRow(int row) { return Grid.At(1, row).xHorzWord; }
    nodepool *pool = nullptr;
};

TEST_F(MonitorTest, SecondEqualWordIsADuplicateUntilTheFirstLosesALetter)
{
    dupcheck dup;
    Write(1, "ERA");
    Write(3, "era");
    EXPECT_EQ(dup.IsDuplicateWord(SlotOfRow(1)), 0);
    EXPECT_EQ(dup.IsDuplicateWord(SlotOfRow(3)), 1);
    dup.IfWordIsComplete_RemoveItFromList(SlotOfRow(1));
    Write(1, "E.A");
    EXPECT_EQ(dup.IsDuplicateWord(SlotOfRow(3)), 0);
}

TEST_F(MonitorTest, TwoLetterWordsTakePartAndIncompleteSlotsDoNot)
{
    dupcheck dup;
    Write(7, "AT");
    Write(5, "AT.");
    EXPECT_EQ(dup.IsDuplicateWord(SlotOfRow(7)), 0);
    EXPECT_EQ(dup.IsDuplicateWord(SlotOfRow(5)), 0);
    EXPECT_EQ(dup.IsDuplicateWord(NoWord), 0);
    dup.PreloadExistingWords();
    int filed = 0;
    for (const auto &bucket : dup.DupHashTable)
        filed += bucket.CountNodes();
    EXPECT_EQ(filed, 1);
}

struct RejectCase {
    const char *stored;
    const char *slotWord;
    int rejected;
};

TEST_F(MonitorTest, RejectedWordsMatchPositionsWildcardsAndBeginnings)
{
    const RejectCase cases[] = {
        {"CATS", "CAT", 1}, {"C?T", "CAT", 1}, {"C?T", "COT", 1}, {"CA", "CAT", 0},
        {"cat", "CAT", 1},  {"DOG", "CAT", 0}, {"C?T", "CA.", 0},
    };
    for (const auto &k : cases) {
        rejects rej;
        EXPECT_EQ(rej.ReceiveRejectedWord(k.stored), 0);
        Write(1, k.slotWord);
        EXPECT_EQ(rej.IsRejectedWord(SlotOfRow(1)), k.rejected) << k.stored << " / " << k.slotWord;
        EXPECT_EQ(rej.IsAnIntersectingWordOnRejectionList(Grid.Index(1, 1)), k.rejected);
    }
}

TEST_F(MonitorTest, TheHundredAndFirstRejectedWordIsRefused)
{
    rejects rej;
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(rej.ReceiveRejectedWord("ABCDEFGHIJKLMNOPQRS"), 0);
    EXPECT_EQ(std::string(rej.RejectedWords[99]), "ABCDEFGHIJKLMNO");
    EXPECT_EQ(rej.ReceiveRejectedWord("CAT"), 1);
    EXPECT_EQ(rej.NumRejWords, 100);
    Write(1, "CAT");
    EXPECT_EQ(rej.IsRejectedWord(SlotOfRow(1)), 0);
}

TEST(Exports, RejectedWordAndSpellingWithoutAnEngineDoNotCrash)
{
    EXPECT_EQ(TRVRejectedWord("CAT"), 1);
    EXPECT_EQ(TRVIsInSpellingDict("CAT"), 0);
    EXPECT_EQ(TRVIsInSpellingDict(nullptr), 0);
    TRVDestroy();
}

std::vector<std::pair<int, int>> Infos;
void OnInfo(int a, int b) { Infos.emplace_back(a, b); }

TEST(Exports, InstanceCountAboveOneAsksTheProgramToTakeFocus)
{
    EXPECT_EQ(TRVEstablishConstructInfoCB(OnInfo), OnInfo);
    EXPECT_EQ(TRVInstanceCount(1), 1);
    EXPECT_TRUE(Infos.empty());
    EXPECT_EQ(TRVInstanceCount(1), 2);
    ASSERT_EQ(Infos.size(), 1u);
    EXPECT_EQ(Infos[0], std::make_pair(0, -4));
    EXPECT_EQ(TRVInstanceCount(-2), 0);
    TRVEstablishConstructInfoCB(nullptr);
}

} // namespace
