// Stock clues: the clue files made by mkclues, the merge join, the choice of a clue and the
// unclued count.
#include "globals.h"
#include "layoutsettings.h"
#include "puzzlefiles.h"
#include "testdoc.h"

#include <QDir>
#include <QFile>

namespace {

QByteArray readAll(const QString &name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(MkClues, WritesOneLinePerAnswerInByteOrderWithoutGiveaways)
{
    const QString dir = QStringLiteral(TRV_CLUE_FIXTURE_DIR "/ZEDAVIV/");
    EXPECT_EQ(
        readAll(dir + "Clues.03"),
        QByteArray(
            "ant|social insect living in organized colonies\r\n"
            "bee|any of numerous hairy-bodied insects|a social gathering to carry out some communal task\r\n"
            "cat|feline mammal usually having thick soft fur\r\n"
            "dog|informal term for a man|a member of the genus Canis|go after with the intent to catch\r\n"
            "gnu|large African antelope / with a bar inside\r\n"
            "ire|belligerence aroused by a real or supposed wrong\r\n"
            "owl|nocturnal bird of prey\r\n"
            "run|move fast by using one's feet|flee\r\n"));
    EXPECT_EQ(
        readAll(dir + "Clues.06"),
        QByteArray("agouti|agile long-legged rabbit-sized rodent of Central America and South America and "
                   "the West Indies\r\n"
                   "antler|deciduous horn of a member of the deer family\r\n"
                   "choler|belligerence aroused by a real or supposed wrong\r\n"
                   "varlet|a servant who attends a knight\r\n"));
    EXPECT_TRUE(QFile::exists(dir + "Clues.02")) << "every length has its file, empty or not";
    EXPECT_TRUE(QFile::exists(dir + "Clues.17"));
}

class StockClueTest : public DocTest
{
protected:
    void SetUp() override
    {
        DocTest::SetUp();
        MainFormReady = false;
        AutoClueSymmetrical = true;
        AutoClueFreeform = true;
        DocHooks.ShowUncluedCount = [this](int n) { shown.push_back(n); };
    }
    std::vector<int> shown;
};

TEST_F(StockClueTest, SameAnswerAcrossAndDownBothJoinTheSameLine)
{
    setGrid({"DOG", "o**", "g**"});
    RebuildClueGrids();
    ASSERT_EQ(CluesAcrossSG->Cell(0, 1), QStringLiteral(" 1 DOG"));
    ASSERT_EQ(CluesDownSG->Cell(0, 1), QStringLiteral(" 1 DOG"));
    AssignStockClues(false);
    for (TClueGrid *g : {CluesAcrossSG, CluesDownSG}) {
        ASSERT_TRUE(g->Row(1).Alternates);
        EXPECT_EQ(g->Row(1).Alternates->size(), 3);
        EXPECT_EQ(g->Row(1).Alternates->value(0), QStringLiteral("A member of the genus Canis"));
        EXPECT_NE(g->Cell(1, 1), QStringLiteral(" "));
    }
    // The down answer takes the clue the across one was given, and the count says so.
    EXPECT_EQ(CluesDownSG->Cell(1, 1), CluesAcrossSG->Cell(1, 1));
    EXPECT_EQ(UncluedCount, 0);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front(), 2);
    EXPECT_TRUE(prompter->boxes.isEmpty());
}

TEST_F(StockClueTest, ExistingClueThenStoredClueThenRandomCandidate)
{
    setGrid({"DOG*", "****", "CAT*", "****", "BEE*"});
    RebuildClueGrids();
    CluesAcrossSG->SetCell(1, 1, QStringLiteral("Man's best friend"));
    CurrentCluesSL->SetValue(QStringLiteral("CAT"), QStringLiteral("Mouser"));
    int asked = -1;
    StockClueRandom = [&](int n) {
        asked = n;
        return n - 1;
    };
    AssignStockClues(false);
    EXPECT_EQ(CluesAcrossSG->Cell(1, 1), QStringLiteral("Man's best friend"));
    EXPECT_TRUE(CluesAcrossSG->Row(1).Alternates) << "a clued row still gets candidates";
    EXPECT_EQ(CluesAcrossSG->Cell(1, 2), QStringLiteral("Mouser"));
    EXPECT_EQ(asked, 2) << "only BEE drew a random candidate";
    EXPECT_EQ(CluesAcrossSG->Cell(1, 3), QStringLiteral("Any of numerous hairy-bodied insects"));
    EXPECT_EQ(CurrentCluesSL->Value(QStringLiteral("BEE")), CluesAcrossSG->Cell(1, 3));
    EXPECT_EQ(UncluedCount, 0);
}

TEST_F(StockClueTest, AnswersThatAreNotLookedUp)
{
    // An open cell, no file line, and a length beyond 17.
    setGrid({"DO-*", "****", "XYZ*"});
    RebuildClueGrids();
    AssignStockClues(false);
    EXPECT_FALSE(CluesAcrossSG->Row(1).Alternates);
    EXPECT_FALSE(CluesAcrossSG->Row(2).Alternates);
    EXPECT_EQ(UncluedCount, 1) << "XYZ stays unclued; the open answer is not counted";
    setGrid({QString(18, QLatin1Char('a'))});
    CluesNeedRebuild = true;
    RebuildClueGrids();
    AssignStockClues(false);
    EXPECT_EQ(UncluedCount, 0);
}

TEST_F(StockClueTest, RowBeyondTheGridIsRefusedBeforeAnythingChanges)
{
    setGrid({"DOG"});
    RebuildClueGrids();
    const int rows = CluesAcrossSG->RowCount();
    PickStockClue(QStringLiteral("DOG A7"), QStringLiteral("dog|a clue"));
    EXPECT_EQ(prompter->lastText(), QStringLiteral("ZZZ Index error"));
    EXPECT_EQ(CluesAcrossSG->RowCount(), rows);
    PickStockClue(QStringLiteral("DOG A"), QStringLiteral("dog|a clue"));
    EXPECT_EQ(prompter->boxes.size(), 1) << "a row that is no number is skipped silently";
    EXPECT_FALSE(CluesAcrossSG->Row(1).Alternates);
}

TEST_F(StockClueTest, MissingClueFileIsReportedOncePerRun)
{
    QTemporaryDir empty;
    SetProgramFolderForTesting(empty.path() + QLatin1Char('/'));
    setGrid({"DOG"});
    RebuildClueGrids();
    AssignStockClues(false);
    AssignStockClues(false);
    ASSERT_EQ(prompter->boxes.size(), 1);
    EXPECT_EQ(
        prompter->lastText(),
        QStringLiteral("The Clues file, ZEDAVIV/Clues.03 is missing or corrupted. This means you must assign "
                       "your own clues for words with 3 letters."));
    EXPECT_EQ(CluesAcrossSG->Cell(1, 1), QStringLiteral(" "));
}

TEST_F(StockClueTest, WordBankRowsAreNoAnswers)
{
    // Only the three-letter file exists: the word-bank row must not be looked up as an
    // eight-letter answer, and its text stays.
    QTemporaryDir folder;
    QDir(folder.path()).mkpath(QStringLiteral("ZEDAVIV"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(TRV_CLUE_FIXTURE_DIR "/ZEDAVIV/Clues.03"),
                            folder.path() + QStringLiteral("/ZEDAVIV/Clues.03")));
    SetProgramFolderForTesting(folder.path() + QLatin1Char('/'));
    DocControls.WordBankCB = true;
    WordBankMode = 0;
    WordBankHeader = QStringLiteral("WORD BANK:");
    setGrid({"DOG"});
    RebuildClueGrids();
    const int bank = CluesDownSG->RowCount() - 1;
    ASSERT_EQ(CluesDownSG->Cell(0, bank), QStringLiteral("WordBank"));
    const QString text = CluesDownSG->Cell(1, bank);
    AssignStockClues(false);
    EXPECT_TRUE(prompter->boxes.isEmpty()) << prompter->lastText().toStdString();
    EXPECT_EQ(CluesDownSG->Cell(1, bank), text);
    EXPECT_NE(CluesAcrossSG->Cell(1, 1), QStringLiteral(" "));
}

TEST_F(StockClueTest, SpecialLettersJoinInTheFilesByteOrder)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("ZEDAVIV"));
    QFile f(dir.path() + QStringLiteral("/ZEDAVIV/Clues.04"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("azul|Blue in Madrid\r\na\xf1os|Years in Madrid\r\n"); // "z" (0x7A) before "ñ" (0xF1)
    f.close();
    SetProgramFolderForTesting(dir.path() + QLatin1Char('/'));
    SetAlphabet(DefaultAlphabet + QChar(0xD1));
    setGrid({QStringLiteral("A") + QChar(0xD1) + QStringLiteral("OS"), "****", "AZUL"});
    RebuildClueGrids();
    AssignStockClues(false);
    EXPECT_EQ(CluesAcrossSG->Cell(1, 1), QStringLiteral("Years in Madrid"));
    EXPECT_EQ(CluesAcrossSG->Cell(1, 2), QStringLiteral("Blue in Madrid"));
}

TEST_F(StockClueTest, AutomaticAssignmentFollowsThePreferenceOfThePuzzleType)
{
    setGrid({"DOG"});
    FreeformMode = true;
    AutoClueFreeform = false;
    MainFormReady = true;
    RebuildClueGrids();
    EXPECT_EQ(CluesAcrossSG->Cell(1, 1), QStringLiteral(" "));
    EXPECT_TRUE(shown.empty()) << "the unclued label stays hidden";
    AssignStockClues(false);
    EXPECT_NE(CluesAcrossSG->Cell(1, 1), QStringLiteral(" "));
    MainFormReady = false;
}

TEST_F(StockClueTest, ReadingAPuzzleLeavesItsMissingCluesMissing)
{
    // Automatic clues on, and every draw picks another candidate: a stock clue given while
    // reading would differ from one opening to the next.
    int draws = 0;
    StockClueRandom = [&draws](int n) { return draws++ % n; };
    MainFormReady = true;
    QStringList firstOpen;
    for (int pass = 0; pass < 2; ++pass) {
        PuzzleModified = true;
        ReadTextPuzzleFile(QStringLiteral(TRV_TEST_DATA "/clues/unclued.trv"));
        QStringList rows;
        for (int r = 1; r < CluesAcrossSG->RowCount(); ++r)
            rows << CluesAcrossSG->Cell(0, r) + QLatin1Char('|') + CluesAcrossSG->Cell(1, r);
        if (pass == 0)
            firstOpen = rows;
        else
            EXPECT_EQ(rows, firstOpen);
        EXPECT_FALSE(PuzzleModified) << pass;
    }
    MainFormReady = false;
    ASSERT_EQ(CluesAcrossSG->RowCount(), 4);
    EXPECT_EQ(CluesAcrossSG->Cell(1, 1), QStringLiteral(" "));
    EXPECT_EQ(CluesAcrossSG->Cell(1, 2), QStringLiteral("Kept from the file"));
    EXPECT_EQ(CluesAcrossSG->Cell(1, 3), QString()) << "an empty clue stays empty, not blank";
    EXPECT_EQ(draws, 0);
    EXPECT_TRUE(prompter->boxes.isEmpty()) << prompter->lastText().toStdString();

    // Nothing was remembered for them either: a later rebuild keeps them missing.
    RebuildClueGrids();
    EXPECT_EQ(CluesAcrossSG->Cell(1, 1), QStringLiteral(" "));
    EXPECT_EQ(CluesAcrossSG->Cell(1, 3), QString());

    // Asked for, they come.
    AssignStockClues(false);
    EXPECT_EQ(CluesAcrossSG->Cell(1, 1), QStringLiteral("Nocturnal bird of prey"));
    EXPECT_EQ(CluesAcrossSG->Cell(1, 2), QStringLiteral("Kept from the file"));
    EXPECT_EQ(CluesAcrossSG->Cell(1, 3), QStringLiteral("A member of the genus Canis"));
    EXPECT_EQ(UncluedCount, 0);
}

TEST_F(StockClueTest, BuiltClueFilesGiveWordNetClues)
{
    const QString folder = QStringLiteral(TRV_BIN_DIR "/");
    if (!QFile::exists(folder + QStringLiteral("ZEDAVIV/Clues.05")))
        GTEST_SKIP() << "the clue files were not built";
    SetProgramFolderForTesting(folder);
    setGrid({"HORSE", "*****", "tiger"});
    RebuildClueGrids();
    AssignStockClues(false);
    for (int r = 1; r <= 2; ++r) {
        EXPECT_NE(CluesAcrossSG->Cell(1, r), QStringLiteral(" ")) << r;
        EXPECT_FALSE(CluesAcrossSG->Cell(1, r).contains(QLatin1Char('|')));
    }
}

} // namespace
