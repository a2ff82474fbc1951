// The plain-text export: the clue text with each spacing, the compact solution by direction and
// by number, compared byte for byte with the expected files (Windows-1252, CR LF).
#include "cluespg.h"
#include "cp1252.h"
#include "globals.h"
#include "textexport.h"

#include <QFile>
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

QByteArray fixture(const char *name)
{
    QFile file(QStringLiteral(TRV_TEST_DATA "/layout/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

QByteArray fileBytes(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += Cp1252::fromUnicode(line) + "\r\n";
    return bytes;
}

using Rows = std::vector<std::pair<QString, QString>>;

std::unique_ptr<TClueGrid> makeGrid(const Rows &rows)
{
    auto grid = std::make_unique<TClueGrid>();
    grid->SetRowCount(int(rows.size()) + 1);
    for (int i = 0; i < int(rows.size()); ++i) {
        grid->SetCell(0, i + 1, rows[size_t(i)].first);
        grid->SetCell(1, i + 1, rows[size_t(i)].second);
    }
    return grid;
}

// Clue grids of our own in place of the program's, and the headings the texts use.
class TextExportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_saved = {CluesAcrossSG, CluesDownSG};
        m_savedTexts = {AcrossText, DownText, SolutionHeaderText};
        m_savedCapitals = AcrDwnCapitals;
        AcrossText = QStringLiteral("Across");
        DownText = QStringLiteral("Down");
        SolutionHeaderText = QStringLiteral("Solution");
        AcrDwnCapitals = true;
        // An unnumbered row, an accented answer and clue, 1 across and down, numbers above 999.
        setGrids({{QStringLiteral(" 1 CAT"), QStringLiteral("Feline pet")},
                  {QStringLiteral(" 7 CAF\u00C9"), QStringLiteral("Paris caf\u00E9")},
                  {QString(), QStringLiteral("Unnumbered note")},
                  {QStringLiteral("12 Dog"), QStringLiteral("Canine pet")},
                  {QStringLiteral("1002 ELK"), QStringLiteral("Antlered deer")}},
                 {{QStringLiteral(" 1 COW"), QStringLiteral("Bovine")},
                  {QStringLiteral(" 2 EMU"), QStringLiteral("Big bird")},
                  {QStringLiteral("999 OWL"), QStringLiteral("Night hunter")},
                  {QStringLiteral("1000 YAK"), QStringLiteral("Shaggy ox")}});
    }

    void TearDown() override
    {
        CluesAcrossSG = m_saved.first;
        CluesDownSG = m_saved.second;
        AcrossText = m_savedTexts[0];
        DownText = m_savedTexts[1];
        SolutionHeaderText = m_savedTexts[2];
        AcrDwnCapitals = m_savedCapitals;
    }

    void setGrids(const Rows &across, const Rows &down)
    {
        m_across = makeGrid(across);
        m_down = makeGrid(down);
        CluesAcrossSG = m_across.get();
        CluesDownSG = m_down.get();
    }

    static QStringList clues(bool align, const QString &separator)
    {
        QStringList lines{QStringLiteral("left over")};
        BuildCluesText(align, separator, lines);
        return lines;
    }

    std::unique_ptr<TClueGrid> m_across, m_down;
    std::pair<TClueGrid *, TClueGrid *> m_saved;
    QStringList m_savedTexts;
    bool m_savedCapitals = true;
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
        EXPECT_EQ(fileBytes(clues(c.align, c.separator)), fixture(c.file)) << c.file;
}

TEST_F(TextExportTest, CompactSolutionsMatchTheFiles)
{
    EXPECT_EQ(fileBytes({BuildSolutionTextByDirection(false)}), fixture("text-solution-direction.txt"));
    // By number in ascending order with no upper limit: 1000 and 1002 after 999, 1A before 1D.
    EXPECT_EQ(fileBytes({BuildSolutionTextByNumber(true, true)}), fixture("text-solution-number.txt"));
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
        {true, QStringLiteral("Key"), false, false, false, QStringLiteral("KEY  ACROSS:  3 ant, 1 bee;  DOWN:  1 elk")},
        {false, QStringLiteral("Key"), false, false, false, QStringLiteral("Key  Across:  3 ant, 1 bee;  Down:  1 elk")},
        {false, QString(), false, false, false, QStringLiteral("Across:  3 ant, 1 bee;  Down:  1 elk")},
        // Upper case covers the headings and the header whatever the capitals setting.
        {false, QStringLiteral("Key"), false, true, false, QStringLiteral("KEY  ACROSS:  3 ANT, 1 BEE;  DOWN:  1 ELK")},
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
    EXPECT_EQ(fileBytes(clues(false, QStringLiteral(" "))), fixture("text-noacross-clues.txt"));
    EXPECT_EQ(fileBytes({BuildSolutionTextByDirection(false)}), fixture("text-noacross-solution.txt"));
    // Grids not made yet read as grids without answers.
    m_across.reset();
    CluesAcrossSG = nullptr;
    EXPECT_EQ(fileBytes(clues(false, QStringLiteral(" "))), fixture("text-noacross-clues.txt"));
    EXPECT_EQ(fileBytes({BuildSolutionTextByDirection(false)}), fixture("text-noacross-solution.txt"));
    EXPECT_EQ(BuildSolutionTextByNumber(false, false), QStringLiteral("3D ant"));
}

} // namespace
