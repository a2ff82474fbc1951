// Clue grids: answer keys, rebuilds that keep or forget clues, letter updates, word banks.
#include "cluesview.h"
#include "globals.h"
#include "layoutsettings.h"
#include "testdoc.h"

namespace {

const QChar kOpen(TRV_EMPTY);

int findRow(TClueGrid *grid, const QString &key)
{
    for (int r = 1; r < grid->RowCount(); ++r)
        if (grid->Cell(0, r) == key)
            return r;
    return -1;
}

TEST(ClueKeys, NumberIsRightAlignedToTwoCharacters)
{
    struct Case {
        int number;
        const char *key;
    } cases[] = {{3, " 3 WORD"}, {12, "12 WORD"}, {105, "105 WORD"}};
    for (const auto &c : cases) {
        const QString key = MakeAnswerKey(c.number, QStringLiteral("WORD"));
        EXPECT_EQ(key, QLatin1String(c.key));
        EXPECT_EQ(ExtractEntryWord(key), QStringLiteral("WORD")) << c.key;
        EXPECT_EQ(AnswerOfKey(key), QStringLiteral("WORD")) << c.key;
    }
}

class CluesPgTest : public DocTest
{};

TEST_F(CluesPgTest, RebuildFindsRunsOfTwoOrMoreWithNumbersAndBlankClues)
{
    setGrid({"ANT*B", "*****", "-O***"});
    RebuildClueGrids();
    ASSERT_EQ(CluesAcrossSG->RowCount(), 3);
    EXPECT_EQ(CluesAcrossSG->Cell(0, 1), QStringLiteral(" 1 ANT"));
    EXPECT_EQ(CluesAcrossSG->Cell(0, 2), QStringLiteral(" 2 ") + kOpen + QStringLiteral("O"));
    EXPECT_EQ(CluesAcrossSG->Cell(1, 1), QStringLiteral(" "));
    EXPECT_EQ(CluesDownSG->RowCount(), 1) << "single cells are no answers";
    EXPECT_FALSE(CluesNeedRebuild);
}

TEST_F(CluesPgTest, ClueMemorySurvivesAGridChange)
{
    setGrid({"ANT", "***", "BEE"});
    RebuildClueGrids();
    CluesAcrossSG->SetCell(1, 1, QStringLiteral("Small worker"));
    StoreClueForAnswer(CluesAcrossSG->Cell(0, 1), QStringLiteral("Small worker"));
    CluesAcrossSG->EnsureAlternates(1) << QStringLiteral("Insect");

    // Another answer changes: ANT keeps its clue and its alternates.
    SetCellLetter(1, 3, 'S');
    RebuildClueGrids();
    EXPECT_EQ(CluesAcrossSG->Cell(1, 1), QStringLiteral("Small worker"));
    ASSERT_TRUE(CluesAcrossSG->Row(1).Alternates);
    EXPECT_EQ(CluesAcrossSG->Row(1).Alternates->value(0), QStringLiteral("Insect"));

    // ANT becomes ART: the clue goes; it comes back with ANT.
    SetCellLetter(2, 1, 'R');
    RebuildClueGrids();
    EXPECT_EQ(CluesAcrossSG->Cell(0, 1), QStringLiteral(" 1 ART"));
    EXPECT_EQ(CluesAcrossSG->Cell(1, 1), QStringLiteral(" "));
    EXPECT_FALSE(CluesAcrossSG->Row(1).Alternates);
    SetCellLetter(2, 1, 'N');
    CluesNeedRebuild = true;
    RebuildClueGrids();
    EXPECT_EQ(CluesAcrossSG->Cell(1, 1), QStringLiteral("Small worker"));
}

TEST_F(CluesPgTest, AnswerWithAnOpenCellHasNoClueAndIsNotRemembered)
{
    setGrid({"AN-"});
    CurrentCluesSL->SetValue(QStringLiteral("AN"), QStringLiteral("Indefinite article"));
    RebuildClueGrids();
    EXPECT_EQ(CluesAcrossSG->Cell(1, 1), QStringLiteral(" ")) << "the open cell is not the end of the word";
    StoreClueForAnswer(CluesAcrossSG->Cell(0, 1), QStringLiteral("Something"));
    EXPECT_EQ(CurrentCluesSL->Value(QStringLiteral("AN")), QStringLiteral("Indefinite article"));
    StoreClueForAnswer(QStringLiteral(" 1 ANT"), QStringLiteral(" "));
    EXPECT_TRUE(CurrentCluesSL->Value(QStringLiteral("ANT")).isEmpty());
}

TEST_F(CluesPgTest, UpdateAnswersAtCellPatchesThreeDigitKeys)
{
    // Numbers run 1..51 on row 1, 52 on row 2, 53..103 on row 4, 104 on row 5, 105 on row 7.
    QStringList rows;
    const QString open(51, QLatin1Char('-')), blocks(51, QLatin1Char('*'));
    rows << open << open << blocks << open << open << blocks << open << open;
    setGrid(rows);
    ASSERT_EQ(TRVGetCellNumber(1, 7), 105);
    RebuildClueGrids();
    const QString oldKey = MakeAnswerKey(105, QString(51, kOpen));
    const int across = findRow(CluesAcrossSG, oldKey);
    ASSERT_GT(across, 0);
    CluesAcrossSG->SetCell(1, across, QStringLiteral("A clue"));
    FillAlternateCluesGrid();
    const int alt = CluesAcrossSG->Cell(2, across).toInt();
    ASSERT_GT(alt, 0);

    SetCellLetter(3, 7, 'Q');
    UpdateAnswersAtCell(3, 7);
    QString expected = oldKey;
    expected[6] = QLatin1Char('Q'); // position 7: three digits, a blank, the third letter
    EXPECT_EQ(CluesAcrossSG->Cell(0, across), expected);
    EXPECT_EQ(CluesAcrossSG->Cell(1, across), QStringLiteral(" "));
    EXPECT_EQ(CluesAlternateSG->Cell(0, alt), expected);
    const int number = TRVGetCellNumber(3, 7);
    EXPECT_GE(CluesDownSG->RowCount(), 2);
    EXPECT_GE(findRow(CluesDownSG, MakeAnswerKey(number, QStringLiteral("Q") + kOpen)), 1);
}

TEST_F(CluesPgTest, UpdateAnswersAtCellPatchesKeysOfEveryNumberWidth)
{
    // Diagonal blocks every third cell: two-cell answers numbered up to about 1700.
    QStringList rows;
    for (int r = 0; r < 51; ++r) {
        QString row;
        for (int c = 0; c < 51; ++c)
            row += (c % 3 == r % 3) ? QLatin1Char('*') : QLatin1Char('-');
        rows << row;
    }
    setGrid(rows);
    RebuildClueGrids();
    const int lows[] = {1, 10, 100, 1000};
    for (int low : lows) {
        // The first across answer numbered at least low.
        int at = 0;
        for (int i = 1; i < CluesAcrossSG->RowCount() && !at; ++i)
            if (ExtractDigitRun(CluesAcrossSG->Cell(0, i)).toInt() >= low)
                at = i;
        ASSERT_GT(at, 0) << low;
        const int number = ExtractDigitRun(CluesAcrossSG->Cell(0, at)).toInt();
        int col = 0, row = 0;
        for (int r = 1; r <= 51 && !col; ++r)
            for (int c = 1; c < 51 && !col; ++c)
                if (TRVGetCellNumber(c, r) == number && IsLetterOrOpen(GetCellLetter(c + 1, r)) &&
                    (c == 1 || !IsLetterOrOpen(GetCellLetter(c - 1, r))))
                    col = c, row = r;
        ASSERT_GT(col, 0) << low;
        SetCellLetter(col + 1, row, 'Q');
        UpdateAnswersAtCell(col + 1, row);
        EXPECT_EQ(CluesAcrossSG->Cell(0, at), MakeAnswerKey(number, QString(kOpen) + QLatin1Char('Q')))
            << number;
    }
}

TEST_F(CluesPgTest, WordBankTextInItsFourStyles)
{
    setGrid({"ANT**", "*****", "BEE**", "*****", "HORSE"});
    words.AddEntry(QStringLiteral("Horse\tIt neighs"));
    words.AddEntry(QStringLiteral("ant\tWorker"));
    words.AddEntry(QStringLiteral("zebra\tStriped"));
    words.setLabel(0, QStringLiteral("3 A"));
    words.setLabel(1, QStringLiteral("1 A"));
    RebuildClueGrids();
    struct Case {
        int sort;
        const char *text;
    } cases[] = {
        {0, "Ant, bee, horse."},
        {1, "3 ant, bee;  5 horse."},
        {2, "Horse ant."},
        {3, "Horse, ant."},
    };
    for (const auto &c : cases) {
        WordBankSort = c.sort;
        EXPECT_EQ(BuildWordBankText(), QLatin1String(c.text)) << c.sort;
    }
    setGrid({"*"});
    CluesNeedRebuild = true;
    RebuildClueGrids();
    WordBankSort = 0;
    EXPECT_EQ(BuildWordBankText(), QString());
}

TEST_F(CluesPgTest, SpecialLettersAreUpperCaseInKeysAndLowerCaseInTheWordBank)
{
    const QChar enye(0xD1), enyeSmall(0xF1);
    SetAlphabet(DefaultAlphabet + enye);
    setGrid({QStringLiteral("A") + enyeSmall + QStringLiteral("OS"), "****",
             QStringLiteral("B") + enye + QStringLiteral("O*")});
    RebuildClueGrids();
    EXPECT_EQ(CluesAcrossSG->Cell(0, 1), QStringLiteral(" 1 A") + enye + QStringLiteral("OS"));
    EXPECT_EQ(CluesAcrossSG->Cell(0, 2), QStringLiteral(" 2 B") + enye + QStringLiteral("O"));
    WordBankSort = 0;
    EXPECT_EQ(BuildWordBankText(),
              QStringLiteral("A") + enyeSmall + QStringLiteral("os, b") + enyeSmall + QStringLiteral("o."));
}

TEST_F(CluesPgTest, WordBankRowEndsTheDownGridAndIsNotAClue)
{
    setGrid({"AB", "CD"});
    DocControls.WordBankCB = true;
    WordBankMode = 0;
    WordBankHeader = QStringLiteral("Words:");
    RebuildClueGrids();
    const int last = CluesDownSG->RowCount() - 1;
    EXPECT_EQ(CluesDownSG->Cell(0, last), QStringLiteral("WordBank"));
    EXPECT_EQ(CluesDownSG->Cell(1, last), QStringLiteral("Words:  Ab, ac, bd, cd."));
    EXPECT_EQ(CluesDownSG->Cell(0, last - 1), QString());
    RebuildClueGrids();
    EXPECT_EQ(CluesDownSG->RowCount() - 1, last) << "a second rebuild adds no second bank";
}

TEST_F(CluesPgTest, AlternateGridListsAcrossThenDownWithCandidates)
{
    setGrid({"AB", "CD"});
    RebuildClueGrids();
    CluesAcrossSG->EnsureAlternates(1) << QStringLiteral("First") << QStringLiteral("Second");
    FillAlternateCluesGrid();
    // Across 1 with its two candidates and a blank row, across 3, then the DOWN heading.
    EXPECT_EQ(CluesAlternateSG->Cell(0, 1), QStringLiteral(" 1 AB"));
    EXPECT_EQ(CluesAlternateSG->Cell(2, 1), QStringLiteral("A1"));
    EXPECT_EQ(CluesAlternateSG->Cell(1, 2), QStringLiteral("First"));
    EXPECT_EQ(CluesAlternateSG->Cell(1, 3), QStringLiteral("Second"));
    EXPECT_EQ(CluesAlternateSG->Cell(0, 5), QStringLiteral(" 3 CD"));
    EXPECT_EQ(CluesAlternateSG->Cell(0, AlternateDownRow), QStringLiteral("DOWN"));
    EXPECT_EQ(CluesAlternateSG->Cell(2, AlternateDownRow + 2), QStringLiteral("D1"));
    EXPECT_EQ(CluesDownSG->Cell(2, 1), QString::number(AlternateDownRow + 2));
}

TEST_F(CluesPgTest, AdoptAndUnadoptMoveAnAnswerIntoTheWordList)
{
    setGrid({"ANT"});
    RebuildClueGrids();
    CluesAcrossSG->SetCell(1, 1, QStringLiteral("Worker"));
    int modified = 0;
    DocHooks.SetModified = [&] { ++modified; };
    DocHooks.GetSelectedClueRow = [](int &grid, int &row) {
        grid = 0;
        row = 1;
        return true;
    };
    DocHooks.DeleteThemeEntry = [&](int e) { words.entries.erase(words.entries.begin() + e); };
    CreateCheckPointPool(5);
    AdoptThemeWord();
    ASSERT_EQ(words.EntryCount(), 2);
    EXPECT_EQ(words.GetWord(0), QStringLiteral("ANT"));
    EXPECT_EQ(words.GetClue(0), QStringLiteral("Worker"));
    EXPECT_TRUE(CluesAcrossSG->Row(1).ThemeWord);
    EXPECT_EQ(UndoRedoState().UndoCaption, QStringLiteral("Undo adopt theme word"));
    UnadoptThemeWord();
    EXPECT_EQ(words.EntryCount(), 1);
    EXPECT_FALSE(CluesAcrossSG->Row(1).ThemeWord);
    EXPECT_EQ(modified, 2);
    FreeCheckPointPool();
}

TEST_F(CluesPgTest, RebuildWithoutTheAnswerListIsRefused)
{
    delete CurrentCluesSL;
    CurrentCluesSL = nullptr;
    RebuildClueGrids();
    EXPECT_EQ(prompter->lastText(), QStringLiteral("CurrentCluesSL is nil"));
}

} // namespace

namespace {

TEST_F(CluesPgTest, RebuildResetsAttachedViewsOnce)
{
    QStringList rows;
    for (int r = 0; r < 15; ++r)
        rows << QString(15, QLatin1Char('-'));
    setGrid(rows);
    int resets = 0, changes = 0;
    QObject::connect(CluesAcrossSG, &QAbstractItemModel::modelReset, [&] { ++resets; });
    QObject::connect(CluesAcrossSG, &QAbstractItemModel::dataChanged, [&] { ++changes; });
    RebuildClueGrids();
    EXPECT_EQ(CluesAcrossSG->rowCount(), 16);
    EXPECT_EQ(CluesAcrossSG->data(CluesAcrossSG->index(1, 0)).toString(),
              MakeAnswerKey(1, QString(15, kOpen)));
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(changes, 0);
}

} // namespace

namespace {

TEST_F(CluesPgTest, PlacedThemeWordsLendTheirCluesToTheGrid)
{
    setGrid({"ANT", "***", "BEE"});
    RebuildClueGrids();
    FillAlternateCluesGrid();
    words.AddEntry(QStringLiteral("ant\tWorker"));
    words.AddEntry(QStringLiteral("BEE\tBuzzer"));
    words.AddEntry(QStringLiteral("OWL\tHooter"));
    words.setLabel(0, QStringLiteral("1 A"));
    words.setLabel(1, QStringLiteral("2 D")); // no down answer 2: nothing happens
    ApplyThemeWordClues();
    EXPECT_EQ(CluesAcrossSG->Cell(1, 1), QStringLiteral("Worker"));
    EXPECT_EQ(CluesAlternateSG->Cell(1, CluesAcrossSG->Cell(2, 1).toInt()), QStringLiteral("Worker"));
    EXPECT_EQ(CurrentCluesSL->Value(QStringLiteral("ANT")), QStringLiteral("Worker"));
    EXPECT_EQ(CluesAcrossSG->Cell(1, 2), QStringLiteral(" "));
}

TEST_F(CluesPgTest, ToggleScrollsTheAlternateGridToTheSelectedAnswer)
{
    QStringList rows;
    for (int r = 0; r < 10; ++r)
        rows << QStringLiteral("--*--");
    setGrid(rows);
    RebuildClueGrids();
    int scrolledGrid = -1, top = -1;
    DocHooks.GetSelectedClueRow = [](int &grid, int &row) {
        grid = 0;
        row = 9;
        return true;
    };
    DocHooks.VisibleClueRows = [](int) { return 6; };
    DocHooks.ScrollClueGrid = [&](int grid, int t) {
        scrolledGrid = grid;
        top = t;
    };
    DocControls.ShowAlternates = true;
    ToggleAlternateCluesView();
    EXPECT_EQ(scrolledGrid, 2);
    EXPECT_EQ(top, CluesAcrossSG->Cell(2, 9).toInt() - 3);
}

} // namespace
