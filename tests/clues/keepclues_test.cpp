// Clues kept through saving, reopening, undo and redo: answers with special, fixed and unfixed
// letters, blank and empty clues, clues holding a "|".
#include "puzzlefiles.h"
#include "testdoc.h"

#include <QFile>

namespace {

const QChar kEnye(0xD1), kEnyeSmall(0xF1);

QByteArray fileBytes(const QString &name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList puzzleText()
{
    QStringList list;
    WritePuzzleToStrings(list);
    return list;
}

// A puzzle whose across answer (row 1) and down answer (column 1) share the cell (1, 1).
struct KeepCase {
    const char *name;
    QString alphabet;
    QStringList rows;
    QString acrossKey;
    QString across, down; // the clues of both answers
    QChar edit;           // the letter typed over (1, 1)
};

std::vector<KeepCase> keepCases()
{
    const QString enye = DefaultAlphabet + kEnye;
    return {
        {"upper-case special letter",
         enye,
         {kEnye + QStringLiteral("AS"), "O**", "S**"},
         QStringLiteral(" 1 ") + kEnye + QStringLiteral("AS"),
         "Across clue",
         "Down clue",
         kEnyeSmall},
        {"lower-case special letter",
         enye,
         {kEnyeSmall + QStringLiteral("as"), "o**", "s**"},
         QStringLiteral(" 1 ") + kEnye + QStringLiteral("AS"),
         "Across clue",
         "Down clue",
         kEnye},
        {"fixed letters", DefaultAlphabet, {"CAT", "O**", "W**"}, " 1 CAT", "Across clue", "Down clue", 'B'},
        {"unfixed and fixed letters",
         DefaultAlphabet,
         {"cAt", "o**", "W**"},
         " 1 CAT",
         "Across clue",
         "Down clue",
         'b'},
        {"blank and empty clues", DefaultAlphabet, {"CAT", "O**", "W**"}, " 1 CAT", " ", "", 'B'},
        {"clues holding a bar", DefaultAlphabet, {"CAT", "O**", "W**"}, " 1 CAT", "Either | or", "|", 'B'},
    };
}

class KeepCluesTest : public DocTest
{
protected:
    void SetUp() override
    {
        DocTest::SetUp();
        // Every draw picks another candidate, so that a stock clue given by a read shows.
        AutoClueSymmetrical = true;
        StockClueRandom = [this](int n) { return draws++ % n; };
    }
    void TearDown() override
    {
        MainFormReady = false;
        FreeCheckPointPool();
        DocTest::TearDown();
    }

    // Builds the case's puzzle, then turns automatic clues on as the running program has them.
    void build(const KeepCase &c)
    {
        MainFormReady = false;
        SetAlphabet(c.alphabet);
        setGrid(c.rows);
        CluesNeedRebuild = true;
        RebuildClueGrids();
        CluesAcrossSG->SetCell(1, 1, c.across);
        CluesDownSG->SetCell(1, 1, c.down);
        MainFormReady = true;
    }
    static void expectClues(const KeepCase &c, const char *step)
    {
        EXPECT_EQ(CluesAcrossSG->Cell(0, 1), c.acrossKey) << c.name << ", " << step;
        EXPECT_EQ(CluesAcrossSG->Cell(1, 1), c.across) << c.name << ", " << step;
        EXPECT_EQ(CluesDownSG->Cell(1, 1), c.down) << c.name << ", " << step;
    }
    void expectNoBox(const KeepCase &c, const char *step)
    {
        EXPECT_TRUE(prompter->boxes.isEmpty())
            << c.name << ", " << step << ": " << prompter->lastText().toStdString();
        prompter->boxes.clear();
    }

    int draws = 0;
};

TEST_F(KeepCluesTest, SaveAndReopenGiveTheSameTextAndClues)
{
    for (const KeepCase &c : keepCases()) {
        build(c);
        const QStringList first = puzzleText();
        ReadPuzzleFromStrings(first);
        EXPECT_EQ(puzzleText(), first) << c.name;
        expectClues(c, "read back");
        expectNoBox(c, "read back");

        QTemporaryDir dir;
        const QString a = dir.filePath(QStringLiteral("a.trv")), b = dir.filePath(QStringLiteral("b.trv"));
        ASSERT_TRUE(SavePuzzleFile(a));
        ReadTextPuzzleFile(a);
        ASSERT_TRUE(SavePuzzleFile(b));
        EXPECT_EQ(fileBytes(a), fileBytes(b)) << c.name;
        expectClues(c, "reopened");
        expectNoBox(c, "reopened");
    }
}

TEST_F(KeepCluesTest, UndoAndRedoGiveBackEachStepExactly)
{
    for (const KeepCase &c : keepCases()) {
        build(c);
        CreateCheckPointPool(30);
        QList<QStringList> steps{puzzleText()};
        TakeCheckPoint(TCheckPointKind::Clues, QStringLiteral("clue change"));
        CluesAcrossSG->SetCell(1, 1, QStringLiteral("Changed across"));
        steps << puzzleText();
        // Typing over the shared cell patches both keys and clears both clues.
        TakeCheckPoint(TCheckPointKind::Typing, QStringLiteral("typing of fixed letters"));
        SetCellLetter(1, 1, c.edit);
        UpdateAnswersAtCell(1, 1);
        steps << puzzleText();
        TakeCheckPoint(TCheckPointKind::Clues, QStringLiteral("clue change"));
        CluesDownSG->SetCell(1, 1, QStringLiteral("Changed down"));
        steps << puzzleText();

        for (int s = 2; s >= 0; --s) {
            UndoCheckPoint();
            EXPECT_EQ(puzzleText(), steps[s]) << c.name << ", undo to step " << s;
        }
        expectClues(c, "undone");
        for (int s = 1; s <= 3; ++s) {
            RedoCheckPoint();
            EXPECT_EQ(puzzleText(), steps[s]) << c.name << ", redo to step " << s;
        }
        EXPECT_EQ(CluesAcrossSG->Cell(0, 1).at(3), UpperCaseChar(c.edit)) << c.name;
        EXPECT_EQ(CluesDownSG->Cell(1, 1), QStringLiteral("Changed down")) << c.name;
        expectNoBox(c, "undo and redo");
    }
}

TEST_F(KeepCluesTest, KeysWithALowerCaseSpecialLetterKeepTheirClues)
{
    // Earlier files hold the key of an answer with an unfixed special letter in lower case.
    const KeepCase c = keepCases().at(1); // the lower-case special letter
    build(c);
    QStringList text = puzzleText();
    for (QString &line : text)
        if (line.startsWith(QStringLiteral("\t 1 ") + kEnye))
            line[4] = kEnyeSmall;
    ASSERT_TRUE(text.contains(QStringLiteral("\t 1 ") + kEnyeSmall + QStringLiteral("AS\t|Across clue")));
    ASSERT_TRUE(text.contains(QStringLiteral("\t 1 ") + kEnyeSmall + QStringLiteral("OS\t|Down clue")));
    ReadPuzzleFromStrings(text);
    expectClues(c, "read");
    expectNoBox(c, "read");
    EXPECT_EQ(CurrentCluesSL->Value(kEnye + QStringLiteral("AS")), QStringLiteral("Across clue"));
    EXPECT_TRUE(puzzleText().contains(QStringLiteral("\t 1 ") + kEnye + QStringLiteral("AS\t|Across clue")));
}

} // namespace
