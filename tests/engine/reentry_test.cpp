// reentry_test.cpp - exports called from inside the engine's own callbacks, through the
// public header and the shared library: those that would change the grid, the theme words
// or the engine refuse, reads keep working, and the outer run ends as it would without them.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "ngin_fixture.h"
#include "trv600.h"

namespace {

// Two 3 x 3 corners joined by a block cross; SEA is the theme word.
const std::vector<std::string> Pattern = {"...#...", "...#...", "...#...", "#######",
                                          "...#...", "...#...", "...#..."};

// The lexicon keeps each length once loaded, so the whole process shares one dictionary.
class DictionaryEnvironment : public ::testing::Environment
{
public:
    void SetUp() override { ngintest::EnterDictionaryFolder(ngintest::ReadWordList("words3.txt")); }
};
const auto *const Env = ::testing::AddGlobalTestEnvironment(new DictionaryEnvironment);

// What the exports show of the grid.
struct Snapshot {
    int width = 0, height = 0, symMode = 0, slots = 0, showHotSpots = 0;
    std::string cells; // letter, clue number, font colour and hot-spot level of each cell
    bool operator==(const Snapshot &) const = default;
};

Snapshot Take()
{
    Snapshot s{TRVGetWidth(),        TRVGetHeight(),       TRVGetSymMode(),
               TRVGetWLCountTotal(), TRVGetShowHotSpots(), {}};
    for (int r = 1; r <= s.height; ++r)
        for (int c = 1; c <= s.width; ++c)
            s.cells += std::string(1, TRVGetCell(c, r)) + std::to_string(TRVGetCellNumber(c, r)) + "/" +
                       std::to_string(TRVGetFontColor(c, r)) + "/" + std::to_string(TRVGetDifficulty(c, r)) +
                       " ";
    return s;
}

// The callback from which a nested export is called.
enum class Inside {
    Nothing,
    ConstructInfo,
    DrawCell,
    RejectedWords,
    ThemeWord
};
const char *Name(Inside where)
{
    switch (where) {
    case Inside::ConstructInfo: return "construct-info";
    case Inside::DrawCell: return "draw-cell";
    case Inside::RejectedWords: return "rejected-words";
    case Inside::ThemeWord: return "theme-word";
    default: return "nothing";
    }
}

// A nested export: calls it and answers whether its result shows the refusal (void exports
// answer true; their refusal shows as an unchanged grid).
struct Nested {
    const char *name;
    std::function<bool()> call;
};

const std::string Zoo = std::string(TRV_TEST_DATA) + "/engine/zoo.txt";
// A word of the finished grid other than the theme word: added as a theme word, it would be
// reported.
std::string PlacedWord;

const std::vector<Nested> &MutatingExports()
{
    static const std::vector<Nested> list = {
        {"TRVCreateRenumGrid",
         [] {
             TRVCreateRenumGrid(5, 5);
             return true;
         }},
        {"TRVCreateRenumGrid larger",
         [] {
             TRVCreateRenumGrid(21, 21);
             return true;
         }},
        {"TRVResizeGrid",
         [] {
             TRVResizeGrid(9, 9);
             return true;
         }},
        {"TRVClearGrid",
         [] {
             TRVClearGrid();
             return true;
         }},
        {"TRVClearGridLetters",
         [] {
             TRVClearGridLetters(1);
             return true;
         }},
        {"TRVRenumberGrid",
         [] {
             TRVRenumberGrid();
             return true;
         }},
        {"TRVExchangeAcrossDown",
         [] {
             TRVExchangeAcrossDown();
             return true;
         }},
        {"TRVSetSymMode",
         [] {
             TRVSetSymMode(TRVGetSymMode() == 3 ? 4 : 3);
             return true;
         }},
        {"TRVSetCell",
         [] {
             TRVSetCell(1, 1, TRV_BLOCK);
             return true;
         }},
        {"TRVSetCellOnly",
         [] {
             TRVSetCellOnly(1, 1, TRV_BLOCK);
             return true;
         }},
        {"TRVReadPuzzle", [] { return TRVReadPuzzle(Zoo.c_str()) == 99; }},
        {"TRVNewThemeWord",
         [] {
             TRVNewThemeWord(PlacedWord.c_str(), "", 0);
             return true;
         }},
        {"TRVThemeDeleteAll",
         [] {
             TRVThemeDeleteAll();
             return true;
         }},
        {"TRVThemeDeleteWord",
         [] {
             TRVThemeDeleteWord(0);
             return true;
         }},
        {"TRVCorrectAllThemeWordLocations",
         [] {
             TRVCorrectAllThemeWordLocations(1);
             return true;
         }},
        {"TRVCreate", [] { return TRVCreate() == 0; }},
        {"TRVDestroy",
         [] {
             const int alive = TRVIsInSpellingDict("ACE");
             TRVDestroy();
             return TRVIsInSpellingDict("ACE") == alive;
         }},
        {"TRVConstructCmd", [] { return TRVConstructCmd(TRV_RIPUP_ALLOWED) == TRV_TOTALLY_EXHAUSTED; }},
        {"TRVComputeHotSpots",
         [] {
             TRVComputeHotSpots();
             return true;
         }},
        {"TRVUpdateHotSpots",
         [] {
             TRVUpdateHotSpots();
             return true;
         }},
        {"TRVSetShowHotSpots",
         [] {
             TRVSetShowHotSpots(!TRVGetShowHotSpots());
             return true;
         }},
        {"TRVMouseEvent",
         [] {
             TRVMouseEvent('D');
             TRVMouseEvent('U');
             return true;
         }},
    };
    return list;
}

// The callbacks. While armed, the one named by `where` calls `nested` each time it runs.
Inside where = Inside::Nothing;
const Nested *nested = nullptr;
bool armed = false, inNested = false;
int nestedCalls = 0;
std::vector<std::string> faults;
std::vector<std::string> located, boxes;
std::function<void()> onInfo; // extra work in the construct-info callback

void CallNested(Inside from)
{
    if (!armed || from != where || !nested || inNested)
        return;
    inNested = true;
    ++nestedCalls;
    const Snapshot before = Take();
    if (!nested->call())
        faults.push_back("result did not show the refusal");
    if (!(Take() == before))
        faults.push_back("the grid changed");
    inNested = false;
}

void OnInfo(int, int)
{
    if (onInfo)
        onInfo();
    CallNested(Inside::ConstructInfo);
}
void OnDraw(int, int) { CallNested(Inside::DrawCell); }
void OnRejects()
{
    TRVRejectedWord("TOP");
    CallNested(Inside::RejectedWords);
}
void OnTheme(char code, int number, const char *word)
{
    if (code == 'A' || code == 'D')
        located.push_back(code + std::to_string(number) + " " + word);
    CallNested(Inside::ThemeWord);
}
int OnBox(const char *text, const char *caption, int buttons)
{
    boxes.push_back(std::string(caption) + ": " + text);
    return buttons == TRV_MB_OK ? TRV_IDOK : TRV_IDRETRY;
}

struct Outcome {
    int state = -1;
    std::vector<std::string> rows, located, boxes;
};

// A fresh grid and theme word, a construction and the location report, with the nested
// export armed for the construction and the report only.
Outcome Build()
{
    TRVSetMessageBoxHandler(&OnBox);
    TRVEstablishConstructInfoCB(&OnInfo);
    TRVEstablishRejectedWordsCB(&OnRejects);
    TRVEstablishThemeWordCallBacks(&OnTheme);
    TRVEstablishDrawCellCallBacks(&OnDraw, &OnDraw, &OnDraw, &OnDraw);
    TRVSetShowHotSpots(0);
    TRVSetSymMode(1);
    ngintest::MakeGrid(Pattern);
    TRVThemeDeleteAll();
    TRVNewThemeWord("SEA", "Where ships sail", 0);
    located.clear();
    boxes.clear();

    Outcome out;
    armed = true;
    out.state = TRVConstructCmd(TRV_RIPUP_ALLOWED);
    TRVCorrectAllThemeWordLocations(1);
    armed = false;
    out.rows = ngintest::GridRows();
    out.located = located;
    out.boxes = boxes;
    TRVSetMessageBoxHandler(nullptr);
    return out;
}

const Outcome &Baseline()
{
    static const Outcome base = [] {
        where = Inside::Nothing;
        Outcome out = Build();
        for (const std::string &w : ngintest::SlotWords())
            if (w != "SEA")
                PlacedWord = w;
        return out;
    }();
    return base;
}

TEST(EngineReentry, MutatingExportsRefuseInsideEachCallback)
{
    const Outcome &base = Baseline();
    ASSERT_EQ(base.state, TRV_FINISHED);
    ASSERT_EQ(base.located.size(), 1u);
    ASSERT_TRUE(base.boxes.empty()) << base.boxes[0];
    ASSERT_FALSE(PlacedWord.empty());

    for (Inside from : {Inside::ConstructInfo, Inside::DrawCell, Inside::RejectedWords, Inside::ThemeWord}) {
        for (const Nested &n : MutatingExports()) {
            SCOPED_TRACE(std::string(n.name) + " inside the " + Name(from) + " callback");
            where = from;
            nested = &n;
            nestedCalls = 0;
            faults.clear();
            const Outcome out = Build();
            where = Inside::Nothing;
            nested = nullptr;
            EXPECT_GT(nestedCalls, 0);
            EXPECT_TRUE(faults.empty()) << faults[0];
            EXPECT_EQ(out.state, base.state);
            EXPECT_EQ(out.rows, base.rows);
            EXPECT_EQ(out.located, base.located);
            EXPECT_EQ(out.boxes, base.boxes);
        }
    }
}

TEST(EngineReentry, ReadsCancelAndDisplayMemoryWorkInside)
{
    Baseline();
    int infoCalls = 0;
    std::vector<std::string> problems;
    onInfo = [&] {
        if (++infoCalls < 3) {
            if (TRVGetWidth() != 7 || TRVGetHeight() != 7 || TRVGetCell(4, 1) != TRV_BLOCK ||
                TRVGetWLCountTotal() != 24 || TRVIsInSpellingDict("ACE") != 1)
                problems.push_back("a read gave a wrong answer");
            TRVSetCellDispLetter(1, 1, 'x');
            if (TRVGetCellDispLetter(1, 1) != 'x')
                problems.push_back("display memory refused");
            return;
        }
        TRVUserCancel();
    };
    where = Inside::Nothing;
    const Outcome out = Build();
    onInfo = nullptr;
    EXPECT_EQ(out.state, TRV_USER_CANCELLED);
    EXPECT_EQ(infoCalls, 3);
    EXPECT_TRUE(problems.empty()) << problems[0];
}

// Outside a construction too: an edit's redraw cannot replace the grid under the edit.
TEST(EngineReentry, RedrawOfAnEditCannotReplaceTheGrid)
{
    ngintest::MakeGrid(Pattern);
    int draws = 0;
    static std::function<void()> inDraw;
    inDraw = [&] {
        ++draws;
        TRVCreateRenumGrid(3, 3);
    };
    TRVEstablishDrawCellCallBacks([](int, int) { inDraw(); }, nullptr, nullptr, nullptr);
    TRVSetCell(2, 2, TRV_BLOCK);
    TRVEstablishDrawCellCallBacks(nullptr, nullptr, nullptr, nullptr);
    inDraw = nullptr;
    EXPECT_GT(draws, 0);
    EXPECT_EQ(TRVGetWidth(), 7);
    EXPECT_EQ(TRVGetCell(2, 2), TRV_BLOCK);
    EXPECT_EQ(TRVGetCell(6, 6), TRV_BLOCK); // its partner
}

TEST(EngineReentry, SymmetryModeOutsideItsRangeIsRefused)
{
    ngintest::MakeGrid(Pattern);
    for (int mode = 0; mode <= 6; ++mode) {
        TRVSetSymMode(mode);
        EXPECT_EQ(TRVGetSymMode(), mode);
    }
    TRVSetSymMode(2);
    for (int bad : {-1, 7, 100, INT_MAX, INT_MIN}) {
        TRVSetSymMode(bad);
        EXPECT_EQ(TRVGetSymMode(), 2) << bad;
    }
    TRVSetSymMode(1);
}

TEST(EngineReentry, InstanceCountSaturates)
{
    TRVEstablishConstructInfoCB(nullptr);
    const int start = TRVInstanceCount(0);
    ASSERT_EQ(start, 0);
    EXPECT_EQ(TRVInstanceCount(INT_MAX), INT_MAX);
    EXPECT_EQ(TRVInstanceCount(1), INT_MAX);
    EXPECT_EQ(TRVInstanceCount(INT_MAX), INT_MAX);
    EXPECT_EQ(TRVInstanceCount(-INT_MAX), 0);
    EXPECT_EQ(TRVInstanceCount(INT_MIN), INT_MIN);
    EXPECT_EQ(TRVInstanceCount(-1), INT_MIN);
    EXPECT_EQ(TRVInstanceCount(INT_MAX), -1);
    EXPECT_EQ(TRVInstanceCount(1), 0);
}

} // namespace
