// test_themewords.cpp - the theme-word store: limits, deletion, by-size order, the
// case-insensitive comparison and the location report with its font colours.
#include <cstring>
#include <tuple>

#include "scan_fixture.h"
#include "trv_grid.h"

using namespace scantest;

namespace {

class ThemeWords : public ScanTest
{};

struct Report {
    char code;
    int number;
    std::string word;
    bool null;
};
std::vector<Report> reports;
void recordReport(char code, int number, const char *word)
{
    reports.push_back({code, number, word ? word : "", word == nullptr});
}
std::vector<std::pair<int, int>> drawnLetters, drawnNumbers;
std::vector<char> drawOrder; // 'L' letter, 'N' number, in call order
void drawLetter(int row, int column)
{
    drawnLetters.push_back({row, column});
    drawOrder.push_back('L');
}
void drawNumber(int row, int column)
{
    drawnNumbers.push_back({row, column});
    drawOrder.push_back('N');
}

void setRow(int row, const char *codes)
{
    for (int c = 0; codes[c]; c++)
        TRVSetCellOnly(c + 1, row, codes[c] == '#' ? TRV_BLOCK : codes[c] == '.' ? TRV_EMPTY : codes[c]);
}

TEST_F(ThemeWords, StoreHoldsAtMostOneThousandWords)
{
    for (int i = 0; i < 1000; i++)
        TRVNewThemeWord(("W" + std::to_string(i)).c_str(), "", 0);
    EXPECT_EQ(ThmWds.NumThemeWords(), 1000);
    EXPECT_TRUE(boxes().empty());
    TRVNewThemeWord("ONEMORE", "", 0);
    EXPECT_EQ(ThmWds.NumThemeWords(), 1000);
    EXPECT_EQ(countBoxes("tw::NW. Ran out of wordrec's."), 1);
    EXPECT_STREQ(ThmWds.Word(999), "W999");
    TRVThemeDeleteAll();
    EXPECT_EQ(ThmWds.NumThemeWords(), 0);
    EXPECT_EQ(ThmWds.VStrings.NumEntries, 0);
}

TEST_F(ThemeWords, WordOf53CharactersIsStoredAnd54Refused)
{
    std::string w53(53, 'A'), w54(54, 'B');
    TRVNewThemeWord(w53.c_str(), "", 0);
    TRVNewThemeWord(w54.c_str(), "", 0);
    ASSERT_EQ(ThmWds.NumThemeWords(), 1);
    EXPECT_EQ(ThmWds.Word(0), w53);
    EXPECT_EQ(countBoxes("Requested a virtual string that is too large"), 1);
    EXPECT_EQ(ThmWds.VStrings.NumEntries, 1);
    // The refused word left its record free for the next one.
    TRVNewThemeWord("NEXT", "", 0);
    EXPECT_STREQ(ThmWds.Word(1), "NEXT");
}

TEST_F(ThemeWords, DeletingRenumbersTheWordsAbove)
{
    TRVNewThemeWord("ZERO", "", 0);
    TRVNewThemeWord("ONE", "", 5);
    TRVNewThemeWord("TWO", "", 0);
    ThmWds.DeleteWord(0);
    ASSERT_EQ(ThmWds.NumThemeWords(), 2);
    EXPECT_STREQ(ThmWds.Word(0), "ONE");
    EXPECT_STREQ(ThmWds.Word(1), "TWO");
    EXPECT_EQ(ThmWds.WordRec[0].Priority, 5);
    EXPECT_EQ(ThmWds.WordRec[2].Priority, -1);
    EXPECT_EQ(ThmWds.VStrings.NumEntries, 2);
    EXPECT_TRUE(boxes().empty());

    ThmWds.DeleteWord(2); // free record
    ThmWds.DeleteWord(-1);
    EXPECT_EQ(countBoxes("Attempt to delete an unused WordRec."), 2);
    EXPECT_EQ(ThmWds.NumThemeWords(), 2);

    TRVThemeDeleteWord(1);
    EXPECT_EQ(countBoxes("TRVThemeDeleteWord"), 1);
    EXPECT_EQ(ThmWds.NumThemeWords(), 1);
    EXPECT_STREQ(ThmWds.Word(5), ""); // out of range reads nothing
}

TEST_F(ThemeWords, WordsSentWithPriorityMinusOneAreDeletedLikeAnyOther)
{
    // An older puzzle file may carry the priority -1, the mark of a free record.
    TRVNewThemeWord("ZEBRA", "", -1);
    TRVNewThemeWord("OKAPI", "", 2);
    TRVNewThemeWord("LLAMA", "", -1);
    ASSERT_EQ(ThmWds.NumThemeWords(), 3);
    ThmWds.DeleteWord(0);
    ASSERT_EQ(ThmWds.NumThemeWords(), 2);
    EXPECT_STREQ(ThmWds.Word(0), "OKAPI");
    EXPECT_STREQ(ThmWds.Word(1), "LLAMA");
    TRVThemeDeleteAll();
    EXPECT_EQ(ThmWds.NumThemeWords(), 0);
    EXPECT_EQ(ThmWds.VStrings.NumEntries, 0);
    EXPECT_TRUE(boxes().empty());
    TRVNewThemeWord("LION", "", 0);
    EXPECT_STREQ(ThmWds.Word(0), "LION");
}

TEST_F(ThemeWords, ReleasingAFreeStringSlotIsReported)
{
    ThmWds.VStrings.ReleaseString(7);
    EXPECT_EQ(countBoxes("Attempt to release virtual string 7, which was not in use. 0 entries are in use."),
              1);
}

TEST_F(ThemeWords, NewThemeWordClearsTheSavedState)
{
    SavedState = 1;
    TRVNewThemeWord("", "", 0);
    EXPECT_EQ(SavedState, 1);
    TRVNewThemeWord("", "", 3);
    EXPECT_EQ(SavedState, 0);
    SavedState = 1;
    TRVNewThemeWord("", "clue", 0);
    EXPECT_EQ(SavedState, 0);
}

TEST_F(ThemeWords, BySizeTablesGroupWordsShortestFirstInSendingOrder)
{
    for (const char *w : {"OCEAN", "SEA", "RIVER", "BAY", "", "LAKES"})
        TRVNewThemeWord(w, "", 0);
    EXPECT_EQ(ThmWds.WordNumber(3, 1), -1); // stale (empty) tables are used, with a message
    EXPECT_EQ(countBoxes("themewords::WordNumber -- Not SetupBySizeIsValid"), 1);
    ThmWds.SetupBySize();
    boxes().clear();
    EXPECT_EQ(ThmWds.CountBySize[3], 2);
    EXPECT_EQ(ThmWds.CountBySize[5], 3);
    EXPECT_EQ(ThmWds.CountBySizeCumulative[4], 2);
    EXPECT_EQ(ThmWds.CountBySizeCumulative[51], 5);
    EXPECT_EQ(ThmWds.WordNumber(3, 1), 1);
    EXPECT_EQ(ThmWds.WordNumber(3, 2), 3);
    EXPECT_STREQ(ThmWds.Word(5, 1), "OCEAN");
    EXPECT_STREQ(ThmWds.Word(5, 2), "RIVER");
    EXPECT_STREQ(ThmWds.Word(5, 3), "LAKES");
    EXPECT_EQ(ThmWds.WordNumber(5, 4), -1);
    EXPECT_EQ(ThmWds.WordNumber(0, 1), -1);
    EXPECT_TRUE(boxes().empty());

    EXPECT_EQ(ThmWds.CountBySizeUnplaced[5], 3);
    ThmWds.SlotxLocation(2, 7);
    EXPECT_EQ(ThmWds.CountBySizeUnplaced[5], 2);
    ThmWds.SlotxLocation(2, 8);
    EXPECT_EQ(ThmWds.CountBySizeUnplaced[5], 2);
    ThmWds.ClearAllSlotxLocations();
    EXPECT_EQ(ThmWds.CountBySizeUnplaced[5], 3);
    EXPECT_EQ(ThmWds.SlotxLocation(2), -1);

    ThmWds.SetupBySizeInvalidate();
    EXPECT_STREQ(ThmWds.Word(3, 1), "SEA");
    EXPECT_EQ(countBoxes("themewords::Word -- Not SetupBySizeIsValid"), 1);
}

TEST(ThemeCompare, CaseInsensitiveIncludingLatin1)
{
    struct Case {
        const char *a, *b;
        int want;
    } cases[] = {
        {"ocean", "OCEAN", 0},
        {"abc", "abd", -1},
        {"abd", "ABC", 1},
        {"ab", "abc", -1},
        {"abc", "ab", 1},
        {"", "", 0},
        {"\xE9t\xE9", "\xC9T\xC9", 0},
        {"\xFE", "\xDE", 0},
        {"\xF7", "\xD7", 1},
        {"\xFF", "\xDF", 1},
        {"\xE0", "A", 1},
        {"Z", "\xC0", -1},
    };
    for (auto &c : cases)
        EXPECT_EQ(mystricmp(c.a, c.b), c.want) << c.a << " / " << c.b;
    EXPECT_EQ(mychricmp('q', 'Q'), 0);
    EXPECT_EQ(mytoupper(0xF7), 0xF7);
    EXPECT_EQ(mytoupper(0xE5), 0xC5);
    EXPECT_EQ(AlphaSize("AB\x01"
                        "C"),
              3);
}

TEST_F(ThemeWords, LocationsAreReportedAndColoured)
{
    // Row 1: OCEAN across; column 7: a down word; row 3 has an Empty cell.
    TRVCreateRenumGrid(7, 5);
    setRow(1, "OCEAN#S");
    setRow(2, "######E");
    setRow(3, "RIV.R#A");
    setRow(4, "######S");
    setRow(5, "#######");
    TRVRenumberGrid();
    int acrossNumber = TRVGetCellNumber(1, 1), downNumber = TRVGetCellNumber(7, 1);
    Grid.At(7, 5).FontColor = ccThemeHorz; // coloured by an earlier report, no longer a theme cell
    for (const char *w : {"ocean", "SEAS", "RIVER", "OCEAN"})
        TRVNewThemeWord(w, "", 0);

    reports.clear();
    drawnLetters.clear();
    drawnNumbers.clear();
    drawOrder.clear();
    TRVEstablishThemeWordCallBacks(recordReport);
    TRVEstablishDrawCellCallBacks(nullptr, nullptr, drawNumber, drawLetter);
    TRVCorrectAllThemeWordLocations(1);
    TRVEstablishThemeWordCallBacks(nullptr);
    TRVEstablishDrawCellCallBacks(nullptr, nullptr, nullptr, nullptr);

    ASSERT_EQ(reports.size(), 5u);
    EXPECT_EQ(reports[0].code, ' ');
    EXPECT_TRUE(reports[0].null);
    // Both copies of OCEAN are reported for the same slot, then the down word.
    EXPECT_EQ(std::tie(reports[1].code, reports[1].number, reports[1].word),
              std::make_tuple('A', acrossNumber, std::string("OCEAN")));
    EXPECT_EQ(std::tie(reports[2].code, reports[2].number, reports[2].word),
              std::make_tuple('A', acrossNumber, std::string("OCEAN")));
    EXPECT_EQ(std::tie(reports[3].code, reports[3].number, reports[3].word),
              std::make_tuple('D', downNumber, std::string("SEAS")));
    EXPECT_EQ(reports[4].code, '*');
    EXPECT_TRUE(reports[4].null);

    for (int c = 1; c <= 5; c++)
        EXPECT_EQ(TRVGetFontColor(c, 1), ccThemeHorz) << c;
    for (int r = 1; r <= 4; r++)
        EXPECT_EQ(TRVGetFontColor(7, r), ccThemeVert) << r;
    for (int c = 1; c <= 5; c++)
        EXPECT_EQ(TRVGetFontColor(c, 3), 0) << c; // never reported
    EXPECT_EQ(TRVGetFontColor(7, 5), 0);          // lost its colour
    EXPECT_NE(ThmWds.SlotxLocation(0), -1);
    EXPECT_EQ(ThmWds.SlotxLocation(2), -1);
    EXPECT_EQ(ThmWds.SetupBySizeIsValid, 0);

    // Every recoloured cell is redrawn, letter before number, with (row, column).
    EXPECT_EQ(drawnLetters.size(), 10u);
    EXPECT_EQ(drawnLetters, drawnNumbers);
    for (size_t i = 0; i < drawOrder.size(); i++)
        EXPECT_EQ(drawOrder[i], i % 2 ? 'N' : 'L') << i;
    EXPECT_NE(std::find(drawnLetters.begin(), drawnLetters.end(), std::make_pair(5, 7)), drawnLetters.end());
    EXPECT_NE(std::find(drawnLetters.begin(), drawnLetters.end(), std::make_pair(1, 3)), drawnLetters.end());
}

TEST_F(ThemeWords, CrossingCellTakesTheDownColour)
{
    TRVCreateRenumGrid(3, 3);
    setRow(1, "CAT");
    setRow(2, "A##");
    setRow(3, "B##");
    TRVRenumberGrid();
    TRVNewThemeWord("CAT", "", 0);
    TRVNewThemeWord("CAB", "", 0);
    TRVCorrectAllThemeWordLocations(0);
    EXPECT_EQ(TRVGetFontColor(1, 1), ccThemeVert);
    EXPECT_EQ(TRVGetFontColor(2, 1), ccThemeHorz);
    EXPECT_EQ(TRVGetFontColor(1, 3), ccThemeVert);
    // Without Draw the display memory is left alone.
    EXPECT_NE(TRVGetCellDispLetter(2, 1), TRV_EMPTY);
}

} // namespace
