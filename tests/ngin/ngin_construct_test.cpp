// ngin_construct_test.cpp - whole constructions on small grids with a fixture dictionary:
// results, repeatability, stuck shading, rip-up, cancel, rejected and duplicate words,
// theme words and the engine's cell choice.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ngin_fixture.h"
#include "trv_grid.h"
#include "trv_ngin.h"
#include "trv_wrds.h"

namespace {

using ngintest::CheckFill;
using ngintest::GridRows;
using ngintest::MakeGrid;

// Four-letter words that differ only in their ends: a ring of four slots cannot be made
// of them without using one twice, which only the search finds out.
const std::vector<std::string> FourLetterWords = {"ABCA", "ABCB", "BBCA", "BBCB"};

std::vector<std::string> Dictionary()
{
    static std::vector<std::string> words = [] {
        auto w = ngintest::ReadWordList("words3.txt");
        w.insert(w.end(), FourLetterWords.begin(), FourLetterWords.end());
        return w;
    }();
    return words;
}

// The lexicon keeps each length once loaded, so the whole process shares one dictionary.
class DictionaryEnvironment : public ::testing::Environment
{
public:
    void SetUp() override { ngintest::EnterDictionaryFolder(Dictionary()); }
};
const auto *const Env = ::testing::AddGlobalTestEnvironment(new DictionaryEnvironment);

std::vector<std::pair<int, int>> Progress;
std::vector<std::string> Rejected;
int CancelAfter = -1;

void OnProgress(int steps, int percent)
{
    Progress.emplace_back(steps, percent);
    if (CancelAfter >= 0 && static_cast<int>(Progress.size()) > CancelAfter)
        TRVUserCancel();
}
void OnRejects()
{
    for (const auto &w : Rejected)
        TRVRejectedWord(w.c_str());
}

struct ThemeReport {
    char code;
    int number;
    std::string word;
};
std::vector<ThemeReport> Reports;
void OnTheme(char code, int number, const char *word) { Reports.push_back({code, number, word ? word : ""}); }

class ConstructTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Progress.clear();
        Rejected.clear();
        Reports.clear();
        CancelAfter = -1;
        TRVEstablishConstructInfoCB(OnProgress);
        TRVEstablishRejectedWordsCB(OnRejects);
        TRVEstablishThemeWordCallBacks(OnTheme);
        TRVThemeDeleteAll();
    }
    // Number of sections a construction ran: each starts its step count again at 1.
    static int Sections()
    {
        int n = 0;
        for (const auto &p : Progress)
            n += p.first == 1;
        return n;
    }
};

const std::vector<std::string> ThreeByThree = {"...", "...", "..."};

TEST_F(ConstructTest, FullyLetteredGridReturnsForwardAndReportsOnce)
{
    MakeGrid({"CAT", "ARE", "TEN"});
    EXPECT_EQ(TRVConstructCmd(0), TRV_FORWARD);
    ASSERT_EQ(Progress.size(), 1u);
    EXPECT_EQ(Progress[0], std::make_pair(0, 100));
}

TEST_F(ConstructTest, FixedSeedRepeatsTheFillAndClockSeedVaries)
{
    MakeGrid(ThreeByThree);
    ASSERT_EQ(TRVConstructCmd(0), TRV_FINISHED);
    auto first = GridRows();
    EXPECT_EQ(CheckFill(Dictionary(), {}), "");
    TRVClearGridLetters(1);
    ASSERT_EQ(TRVConstructCmd(0), TRV_FINISHED);
    EXPECT_EQ(GridRows(), first);
    EXPECT_EQ(Progress.back().second, 100);

    std::set<std::vector<std::string>> fills;
    for (int run = 0; run < 6; ++run) {
        TRVClearGridLetters(1);
        ASSERT_EQ(TRVConstructCmd(TRV_CONSTRUCT_RANDOM), TRV_FINISHED);
        EXPECT_EQ(CheckFill(Dictionary(), {}), "");
        fills.insert(GridRows());
    }
    EXPECT_GT(fills.size(), 1u);
}

TEST_F(ConstructTest, SlotWithoutFittingWordShadesTheStuckArea)
{
    // Row 1 is a six-letter slot and the dictionary has no six-letter words.
    MakeGrid({"......", "#.####", "#A..##"});
    EXPECT_EQ(TRVConstructCmd(TRV_RIPUP_ALLOWED), TRV_TOTALLY_EXHAUSTED);
    auto shade = [](int c, int r) { return TRVShadeCell(c, r) & 12; };
    for (int c = 1; c <= 6; ++c)
        EXPECT_EQ(shade(c, 1), 4) << c;
    EXPECT_EQ(shade(2, 2), 4);  // more than half of its down slot is stuck
    EXPECT_EQ(shade(2, 3), 12); // the user's own letter inside the area
    EXPECT_EQ(shade(3, 3), 0);
    EXPECT_EQ(shade(4, 3), 0);
    EXPECT_EQ(Progress.size(), 1u); // given up before any search step
}

TEST_F(ConstructTest, WithoutRipUpTheFirstExhaustedSectionEndsTheBuild)
{
    MakeGrid({"....", ".##.", ".##.", "...."});
    EXPECT_EQ(TRVConstructCmd(0), TRV_TOTALLY_EXHAUSTED);
    EXPECT_EQ(Sections(), 1);
    TRVClearGridLetters(1);
    Progress.clear();
    EXPECT_EQ(TRVConstructCmd(TRV_RIPUP_ALLOWED), TRV_TOTALLY_EXHAUSTED);
    EXPECT_GT(Sections(), 1);
}

TEST_F(ConstructTest, CancelInsideTheCallbackEndsAfterOneStep)
{
    MakeGrid(ThreeByThree);
    CancelAfter = 1; // the start report, then one step
    EXPECT_EQ(TRVConstructCmd(0), TRV_USER_CANCELLED);
    ASSERT_EQ(Progress.size(), 2u);
    EXPECT_EQ(Progress[1].first, 1);
    // A new construction starts without the old cancel.
    CancelAfter = -1;
    TRVClearGridLetters(1);
    EXPECT_EQ(TRVConstructCmd(0), TRV_FINISHED);
}

struct RejectCase {
    std::vector<std::string> rejected;
    int result;
    std::string row;
};

TEST_F(ConstructTest, RejectedWordsAreNeverLeftInTheGrid)
{
    const RejectCase cases[] = {
        {{"CATS", "CUT"}, TRV_FINISHED, "COT"},
        {{"C?T"}, TRV_TOTALLY_EXHAUSTED, "C.T"},
    };
    for (const auto &k : cases) {
        MakeGrid({"C.T"});
        Rejected = k.rejected;
        EXPECT_EQ(TRVConstructCmd(TRV_RIPUP_ALLOWED), k.result);
        EXPECT_EQ(GridRows()[0], k.row);
    }
}

TEST_F(ConstructTest, NoWordIsLeftTwice)
{
    // Across and down of a word square would repeat; the three squares must differ.
    for (int run = 0; run < 5; ++run) {
        MakeGrid(ThreeByThree);
        ASSERT_EQ(TRVConstructCmd(TRV_CONSTRUCT_RANDOM | TRV_RIPUP_ALLOWED), TRV_FINISHED);
        EXPECT_EQ(CheckFill(Dictionary(), {}), "");
    }
    // A fixed word already in the grid may not be made again elsewhere.
    MakeGrid({"CAT", "###", "C.T"});
    Rejected = {"CUT"};
    EXPECT_EQ(TRVConstructCmd(0), TRV_FINISHED);
    EXPECT_EQ(GridRows()[2], "COT");
}

TEST_F(ConstructTest, ThemeWordsArePlacedAndReported)
{
    // Two 3 x 3 blocks (clues 1-8 and 6-...), a six-letter down slot and a five-letter
    // across slot at clue 12; the dictionary has no words of five or six letters.
    MakeGrid({"...###", "...###", "...###", "######", "...##.", "...##.", "...##.", "#####.", "#####.",
              "#####.", ".....#"});
    ASSERT_EQ(TRVGetCellNumber(1, 11), 12);
    ASSERT_EQ(TRVGetCellNumber(6, 5), 9);
    TRVNewThemeWord("OCEAN", "", 0);
    TRVNewThemeWord("BREEZE", "", 0);
    ASSERT_EQ(TRVConstructCmd(TRV_RIPUP_ALLOWED), TRV_FINISHED);
    EXPECT_EQ(CheckFill(Dictionary(), {"OCEAN", "BREEZE"}), "");
    Reports.clear();
    TRVCorrectAllThemeWordLocations(0);
    ASSERT_EQ(Reports.size(), 4u);
    EXPECT_EQ(Reports[0].code, ' ');
    EXPECT_EQ(Reports[0].number, 0);
    EXPECT_EQ(Reports[1].code, 'D');
    EXPECT_EQ(Reports[1].number, 9);
    EXPECT_EQ(Reports[1].word, "BREEZE");
    EXPECT_EQ(Reports[2].code, 'A');
    EXPECT_EQ(Reports[2].number, 12);
    EXPECT_EQ(Reports[2].word, "OCEAN");
    EXPECT_EQ(Reports[3].code, '*');
    for (int c = 1; c <= 5; ++c)
        EXPECT_EQ(TRVGetFontColor(c, 11), ccThemeHorz);
    for (int r = 5; r <= 10; ++r)
        EXPECT_EQ(TRVGetFontColor(6, r), ccThemeVert);
}

TEST_F(ConstructTest, ThemeWordsCrossingDictionaryWordsAreTriedFirst)
{
    MakeGrid(ThreeByThree);
    TRVNewThemeWord("SEA", "", 0);
    TRVNewThemeWord("ASK", "", 0);
    ASSERT_EQ(TRVConstructCmd(TRV_RIPUP_ALLOWED), TRV_FINISHED);
    EXPECT_EQ(CheckFill(Dictionary(), {}), "");
    auto words = ngintest::SlotWords();
    std::set<std::string> placed(words.begin(), words.end());
    EXPECT_TRUE(placed.count("SEA") || placed.count("ASK"));
}

// ---- The engine's own choices on a live engine ------------------------------------------

class EngineTest : public ConstructTest
{
protected:
    void TearDown() override { TRVDestroy(); }
    engine &E() { return *Engine; }
    int X(int c, int r) { return Grid.Index(c, r); }
};

TEST_F(EngineTest, FarnessOfSharedSlotsCornersAndStrangers)
{
    // A ring of slots: (1,1)-(3,1) across, (1,1)-(1,3) and (3,1)-(3,3) down, (1,3)-(3,3) across;
    // the cell (5,5) stands alone in its own slots.
    MakeGrid({"...#.", ".#.#.", "...#.", "####.", "....."});
    ASSERT_EQ(TRVCreate(), 1);
    EXPECT_EQ(E().Farness(X(1, 1), X(3, 1)), 1);
    EXPECT_EQ(E().Farness(X(1, 1), X(1, 1)), 1);
    EXPECT_EQ(E().Farness(X(1, 1), X(3, 3)), 2); // both corners lie in the right slots
    EXPECT_EQ(E().Farness(X(1, 2), X(2, 3)), 3); // one corner does, the other is a block
    EXPECT_EQ(E().Farness(X(1, 2), X(5, 1)), 4);
    EXPECT_EQ(E().Farness_Ring(X(1, 1), X(3, 3)), 2);
    EXPECT_EQ(E().Farness_Ring(X(1, 2), X(5, 1)), MaxCols);
}

TEST_F(EngineTest, TouchedCellsFollowLettersAndLeaveWithTheLastOne)
{
    MakeGrid(ThreeByThree);
    ASSERT_EQ(TRVCreate(), 1);
    cell &c = Grid.At(2, 2);
    c.letter = 'A';
    E().UpdateTouchedCells(X(2, 2));
    EXPECT_EQ(E().TouchedCells.CountNodes(), 4);
    EXPECT_FALSE(E().TouchedCells.IsPresent(X(2, 2)));
    c.letter = Empty;
    E().UpdateTouchedCells(X(2, 2));
    EXPECT_EQ(E().TouchedCells.CountNodes(), 0);
}

TEST_F(EngineTest, EqualFactorsTieToTheLowerCellFirstAndTheHigherAmongNearCells)
{
    MakeGrid(ThreeByThree);
    ASSERT_EQ(TRVCreate(), 1);
    for (int x = E().start; x <= E().finish; ++x)
        E().fsCombo[x] = AllLetters;
    Grid.MarkWholePuzzleWithGroupSizes();
    EXPECT_EQ(E().ChooseFirstCellOfSection(), X(1, 1));
    celllist nearCells; // in decreasing index order, as the cell choice builds it
    nearCells.Push(X(1, 1));
    nearCells.Push(X(2, 1));
    EXPECT_EQ(E().ChooseHighestFlexFactor(nearCells), X(2, 1));
}

TEST_F(EngineTest, ThemeTrialsSkipPlacedWordsAndMarkTriedSlots)
{
    MakeGrid(ThreeByThree);
    TRVNewThemeWord("SEA", "", 0);
    TRVNewThemeWord("ASK", "", 0);
    ASSERT_EQ(TRVCreate(), 1);
    ThmWds.SetupBySize();
    slotlist all;
    all.AddAllSlots();
    E().Flexibilities_Restore(all);
    E().Depth = 1;
    E().CurrentAction = &E().ActionAtDepth[1];
    action &a = *E().CurrentAction;

    // Every slot crossing the corner's slots is a candidate; the last down slot is on top.
    ASSERT_EQ(E().Theme_Action_CheckForAndPrepareIt(X(1, 1)), 1);
    EXPECT_EQ(a.ActionIdent, Theme);
    EXPECT_EQ(a.ThemeWordSlotList.CountNodes(), 6);
    int top = a.ThemeWordSlotList.Peek();
    EXPECT_EQ(top, Grid.At(3, 1).xVertWord);

    ThmWds.SlotxLocation(0, Grid.At(1, 1).xHorzWord); // SEA already stands elsewhere
    ASSERT_EQ(E().Theme_Assignment_AdvanceToNextQualifiedWordAndPushCellL(), 1);
    EXPECT_EQ(ThmWds.SlotxLocation(1), top); // ASK is tried in the top slot
    EXPECT_EQ(ThmWds.SlotxLocation(0), Grid.At(1, 1).xHorzWord);
    EXPECT_EQ(a.CountNodes(), 3);
    E().Theme_Assignment_RemoveContraindicatedWord();
    a.PurgeAllNodes();
    EXPECT_EQ(ThmWds.SlotxLocation(1), -1);
    EXPECT_EQ(ThmWds.SlotxLocation(0), Grid.At(1, 1).xHorzWord);

    // The top slot has had both words; the next slot takes ASK.
    ASSERT_EQ(E().Theme_Assignment_AdvanceToNextQualifiedWordAndPushCellL(), 1);
    EXPECT_EQ(WSLOTS::Slot[top].ThemeTest, -2);
    EXPECT_EQ(ThmWds.SlotxLocation(1), Grid.At(2, 1).xVertWord);
    a.PurgeAllNodes();
    E().Theme_Action_UponBacktrack_CleanUpFailedTests();
    EXPECT_EQ(WSLOTS::Slot[top].ThemeTest, 0);
    EXPECT_TRUE(a.ThemeWordSlotList.IsEmpty());
}

} // namespace
