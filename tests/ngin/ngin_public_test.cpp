// ngin_public_test.cpp - a whole build driven through the public header only, linked
// against the shared library: grid, pattern, theme words, construction, letters, locations.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ngin_fixture.h"
#include "trv600.h"

namespace {

std::vector<std::string> Located;
void OnTheme(char code, int number, const char *word)
{
    if (code == 'A' || code == 'D')
        Located.push_back(code + std::to_string(number) + " " + word);
}
int Steps = 0;
void OnProgress(int, int) { ++Steps; }
void OnRejects() { TRVRejectedWord("TOP"); }

TEST(PublicBuild, PatternThemeWordsConstructAndReadBack)
{
    auto words = ngintest::ReadWordList("words3.txt");
    ngintest::EnterDictionaryFolder(words);
    TRVEstablishConstructInfoCB(OnProgress);
    TRVEstablishRejectedWordsCB(OnRejects);
    TRVEstablishThemeWordCallBacks(OnTheme);

    // Two 3 x 3 corners joined by a block cross; SEA is the theme word.
    const std::vector<std::string> pattern = {"...#...", "...#...", "...#...", "#######",
                                              "...#...", "...#...", "...#..."};
    TRVCreateRenumGrid(7, 7);
    for (int r = 1; r <= 7; ++r)
        for (int c = 1; c <= 7; ++c)
            if (pattern[r - 1][c - 1] == '#')
                TRVSetCellOnly(c, r, TRV_BLOCK);
    TRVRenumberGrid();
    ASSERT_EQ(TRVGetWLCountTotal(), 24);
    TRVThemeDeleteAll();
    TRVNewThemeWord("SEA", "Where ships sail", 0);

    ASSERT_EQ(TRVConstructCmd(TRV_RIPUP_ALLOWED), TRV_FINISHED);
    EXPECT_GT(Steps, 1);
    std::vector<std::string> rows = ngintest::GridRows();
    for (int r = 0; r < 7; ++r)
        for (int c = 0; c < 7; ++c)
            EXPECT_EQ(rows[r][c] == '#', pattern[r][c] == '#') << r << "," << c;
    EXPECT_EQ(ngintest::CheckFill(words, {"SEA"}), "");
    for (const auto &w : ngintest::SlotWords())
        EXPECT_NE(w, "TOP");

    Located.clear();
    TRVCorrectAllThemeWordLocations(0);
    ASSERT_EQ(Located.size(), 1u);
    EXPECT_NE(Located[0].find(" SEA"), std::string::npos);
}

TEST(PublicBuild, SpellingLookUpNeedsALiveEngine)
{
    ngintest::EnterDictionaryFolder(ngintest::ReadWordList("words3.txt"));
    TRVCreateRenumGrid(3, 3);
    EXPECT_EQ(TRVIsInSpellingDict("cat"), 0);
    ASSERT_EQ(TRVCreate(), 1);
    EXPECT_EQ(TRVIsInSpellingDict("cat"), 1);
    EXPECT_EQ(TRVIsInSpellingDict("QQX"), 0);
    EXPECT_EQ(TRVRejectedWord("CAT"), 0);
    TRVDestroy();
    EXPECT_EQ(TRVIsInSpellingDict("cat"), 0);
}

} // namespace
