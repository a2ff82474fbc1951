// The plain-text export: the clue text with each spacing, the compact solution by direction and
// by number, compared byte for byte with the expected files (Windows-1252, CR LF).
#include "cluetextgrids.h"
#include "layoutsettings.h"
#include "textexport.h"

#include <QFile>
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

// The clue grids of the expected files, and others set per test.
class TextExportTest : public ::testing::Test
{
protected:
    void setGrids(const TClueTextRows &across, const TClueTextRows &down) { m_grids.Set(across, down); }

    static QStringList clues(bool align, const QString &separator)
    {
        QStringList lines{QStringLiteral("left over")};
        BuildCluesText(align, separator, lines);
        return lines;
    }

    TClueTextGrids m_grids;
};

TEST_F(TextExportTest, ClueTextForEachSpacingMatchesTheFile)
{
    struct Case {
        bool align;
        QString separator;
        const char *file;
    };
    const Case cases[] = {
        {false, QStringLiteral(" "), "text-clues-1space.txt"},
        {false, QStringLiteral("  "), "text-clues-2spaces.txt"},
        {false, QStringLiteral("\t"), "text-clues-tab.txt"},
        {true, QStringLiteral("  "), "text-clues-aligned.txt"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(cp1252FileBytes(clues(c.align, c.separator)), layoutFixture(c.file)) << c.file;
}

TEST_F(TextExportTest, CompactSolutionsMatchTheFiles)
{
    EXPECT_EQ(cp1252FileBytes({BuildSolutionTextByDirection(false)}),
              layoutFixture("text-solution-direction.txt"));
    // By number in ascending order with no upper limit: 1000 and 1002 after 999, 1A before 1D.
    EXPECT_EQ(cp1252FileBytes({BuildSolutionTextByNumber(true, true)}),
              layoutFixture("text-solution-number.txt"));
}

TEST_F(TextExportTest, CompactSolutionVariants)
{
    setGrids({{QStringLiteral(" 3 Ant"), QString()}, {QStringLiteral(" 1 BEE"), QString()}},
             {{QStringLiteral(" 1 ELK"), QString()}});
    struct Case {
        bool capitals;
        QString header;
        bool byNumber, upper, hyphenate;
        QString expected;
    };
    const Case cases[] = {
        {true, QStringLiteral("Key"), false, false, false,
         QStringLiteral("KEY  ACROSS:  3 ant, 1 bee;  DOWN:  1 elk")},
        {false, QStringLiteral("Key"), false, false, false,
         QStringLiteral("Key  Across:  3 ant, 1 bee;  Down:  1 elk")},
        {false, QString(), false, false, false, QStringLiteral("Across:  3 ant, 1 bee;  Down:  1 elk")},
        // Upper case covers the headings and the header whatever the capitals setting.
        {false, QStringLiteral("Key"), false, true, false,
         QStringLiteral("KEY  ACROSS:  3 ANT, 1 BEE;  DOWN:  1 ELK")},
        {false, QString(), true, false, false, QStringLiteral("1A bee, 1D elk, 3A ant")},
        {false, QString(), true, false, true, QStringLiteral("1-A bee, 1-D elk, 3-A ant")},
        {true, QStringLiteral("Key"), true, false, false, QStringLiteral("KEY  1A bee, 1D elk, 3A ant")},
        {false, QStringLiteral("Key"), true, true, false, QStringLiteral("KEY  1A BEE, 1D ELK, 3A ANT")},
    };
    for (const Case &c : cases) {
        AcrDwnCapitals = c.capitals;
        SolutionHeaderText = c.header;
        const QString text = c.byNumber ? BuildSolutionTextByNumber(c.upper, c.hyphenate)
                                        : BuildSolutionTextByDirection(c.upper);
        EXPECT_EQ(text, c.expected) << c.expected.toStdString();
    }
}

TEST_F(TextExportTest, ByNumberKeepsEveryNumberAboveZeroInNumericOrder)
{
    SolutionHeaderText.clear();
    // Numbers beyond any integer type still sort by value; 0 and rows without a number are left
    // out; an entry without an answer takes its marker at the end.
    setGrids({{QStringLiteral("123456789012345678901 FAR"), QString()},
              {QStringLiteral(" 0 NIL"), QString()},
              {QStringLiteral("abc"), QString()},
              {QStringLiteral("10 TEN"), QString()},
              {QStringLiteral("007 BOND"), QString()}},
             {{QStringLiteral("9"), QString()}, {QStringLiteral("1300 LAST"), QString()}});
    EXPECT_EQ(BuildSolutionTextByNumber(false, false),
              QStringLiteral("007A bond, 9D, 10A ten, 1300D last, 123456789012345678901A far"));
    EXPECT_EQ(BuildSolutionTextByDirection(false),
              QStringLiteral("ACROSS:  123456789012345678901 far, 10 ten, 007 bond;  DOWN:  9, 1300 last"));
}

TEST_F(TextExportTest, NoAcrossCluesStillGiveTheAcrossHeading)
{
    AcrDwnCapitals = false;
    SolutionHeaderText.clear();
    setGrids({}, {{QStringLiteral(" 3 ANT"), QStringLiteral("Small insect")}});
    EXPECT_EQ(cp1252FileBytes(clues(false, QStringLiteral(" "))), layoutFixture("text-noacross-clues.txt"));
    EXPECT_EQ(cp1252FileBytes({BuildSolutionTextByDirection(false)}),
              layoutFixture("text-noacross-solution.txt"));
    // Grids not made yet read as grids without answers.
    CluesAcrossSG = nullptr;
    EXPECT_EQ(cp1252FileBytes(clues(false, QStringLiteral(" "))), layoutFixture("text-noacross-clues.txt"));
    EXPECT_EQ(cp1252FileBytes({BuildSolutionTextByDirection(false)}),
              layoutFixture("text-noacross-solution.txt"));
    EXPECT_EQ(BuildSolutionTextByNumber(false, false), QStringLiteral("3D ant"));
}

} // namespace
