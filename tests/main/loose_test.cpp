// The freeform builder without its window: refusals, word preparation, repeatability, fixed
// obstacles, storing into the engine's grid and buckets under heavy load.
#include "loose.h"

#include "alphabet.h"
#include "globals.h"
#include "trv600.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace {

QList<TFreeformEntry> entriesOf(const QStringList &answers)
{
    QList<TFreeformEntry> entries;
    for (const QString &a : answers)
        entries.push_back({a, "clue of " + a});
    return entries;
}

QList<TFreeformEntry> sampleWords()
{
    return entriesOf({"puzzle", "letter", "answer", "across", "down",   "grid",  "clue",   "word",
                      "square", "black",  "white",  "pencil", "eraser", "theme", "number", "solve",
                      "hint",   "paper",  "corner", "center", "border", "cross", "block",  "entry"});
}

TFreeformResult build(const QList<TFreeformEntry> &entries, TFreeformOptions options = {})
{
    return TFreeformBuilder(entries, std::move(options)).BuildFreeformPuzzle();
}

// Every placed word is spelled by its cells, and every run of two or more letters across or
// down is exactly one placed word: nothing half-placed, nothing run together.
void expectWholeWords(const TFreeformResult &r)
{
    std::set<std::tuple<int, int, bool, QString>> placed;
    for (const TFreeformPlacement &p : r.Placed) {
        for (int i = 0; i < p.Word.size(); ++i) {
            const int c = p.Across ? p.Column + i : p.Column;
            const int row = p.Across ? p.Row : p.Row + i;
            ASSERT_TRUE(c >= 1 && c <= r.Columns && row >= 1 && row <= r.Rows) << p.Word.toStdString();
            EXPECT_EQ(r.Cell(c, row), p.Word[i]) << p.Word.toStdString();
        }
        placed.insert({p.Column, p.Row, p.Across, p.Word});
    }
    auto letter = [&](int c, int row) {
        return c >= 1 && c <= r.Columns && row >= 1 && row <= r.Rows && r.Cell(c, row).unicode() > 20;
    };
    int runs = 0;
    for (bool across : {true, false})
        for (int row = 1; row <= r.Rows; ++row)
            for (int c = 1; c <= r.Columns; ++c) {
                if (!letter(c, row) || letter(across ? c - 1 : c, across ? row : row - 1))
                    continue;
                QString run;
                for (int x = c, y = row; letter(x, y); across ? ++x : ++y)
                    run += r.Cell(x, y);
                if (run.size() < 2)
                    continue;
                ++runs;
                EXPECT_TRUE(placed.count({c, row, across, run})) << run.toStdString();
            }
    EXPECT_EQ(runs, r.Placed.size());
}

class FreeformTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_alphabet = CustomAlphabet;
        m_freeform = FreeformMode;
        CustomAlphabet = DefaultAlphabet;
        FreeformMode = true;
    }
    void TearDown() override
    {
        CustomAlphabet = m_alphabet;
        FreeformMode = m_freeform;
    }

private:
    QString m_alphabet;
    bool m_freeform = false;
};

TEST_F(FreeformTest, WordListsAreRefusedForTheirReason)
{
    const struct {
        QStringList answers;
        TFreeformRefusal refusal;
    } cases[] = {
        {{}, TFreeformRefusal::NoWords},
        {{"", ""}, TFreeformRefusal::NoWords},
        {{"TANGO"}, TFreeformRefusal::OneWord},
        {{"CAT", "DOG"}, TFreeformRefusal::NoSharedLetters},
        {{"cat", "dog", "fly"}, TFreeformRefusal::NoSharedLetters},
        {{"CAT", "DOG", "ant"}, TFreeformRefusal::None},
        {{"cat", "TOG"}, TFreeformRefusal::None},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CheckFreeformWords(entriesOf(c.answers)), c.refusal) << c.answers.join(',').toStdString();

    const QString text = FreeformRefusalText(TFreeformRefusal::NoSharedLetters);
    EXPECT_TRUE(text.startsWith("A freeform crossword puzzle requires that the answer words cross"));
    EXPECT_TRUE(text.endsWith(FreeformWordsNote));
    EXPECT_TRUE(FreeformWordsNote.startsWith("\n\nNote: "));
}

TEST_F(FreeformTest, OneLetterAnswerIsNotedAndLongOnesAreDropped)
{
    const QString longWord = QString(52, 'E');
    const QList<TFreeformEntry> entries = entriesOf({"A", "cat", "tag", longWord, "gnat"});
    EXPECT_TRUE(HasOneLetterAnswer(entries));
    EXPECT_FALSE(HasOneLetterAnswer(entriesOf({"cat", "tag"})));
    EXPECT_TRUE(FreeformOneLetterText.endsWith(FreeformWordsNote));

    const TFreeformResult r = build(entries);
    ASSERT_TRUE(r.Adopted);
    ASSERT_EQ(r.Dropped.size(), 2);
    EXPECT_EQ(r.Dropped[0].Entry, 0);
    EXPECT_EQ(r.Dropped[0].Reason, TFreeformDropReason::TooShort);
    EXPECT_EQ(r.Dropped[1].Answer, longWord);
    EXPECT_EQ(r.Dropped[1].Reason, TFreeformDropReason::TooLong);
    EXPECT_EQ(r.Placed.size(), 3);
    for (const TFreeformPlacement &p : r.Placed)
        EXPECT_EQ(p.Clue, "clue of " + entries[p.Entry].Answer);
    expectWholeWords(r);
}

TEST_F(FreeformTest, SameSeedGivesTheSamePuzzle)
{
    auto seeded = [](bool different, std::uint32_t seed) {
        TFreeformOptions o;
        o.EveryPuzzleDifferent = different;
        o.Seed = seed;
        return o;
    };
    const TFreeformResult first = build(sampleWords());
    const TFreeformResult again = build(sampleWords());
    const TFreeformResult ignoredSeed = build(sampleWords(), seeded(false, 77));
    const TFreeformResult other = build(sampleWords(), seeded(true, 77));
    ASSERT_TRUE(first.Adopted);
    expectWholeWords(first);
    for (const TFreeformResult *r : {&again, &ignoredSeed}) {
        EXPECT_EQ(r->Columns, first.Columns);
        EXPECT_EQ(r->Rows, first.Rows);
        EXPECT_EQ(r->Cells, first.Cells);
    }
    EXPECT_NE(other.Cells, first.Cells);
    expectWholeWords(other);

    TFreeformBuilder twice(sampleWords());
    const TFreeformResult one = twice.BuildFreeformPuzzle();
    const TFreeformResult two = twice.BuildFreeformPuzzle();
    EXPECT_EQ(two.Cells, one.Cells);
    EXPECT_EQ(two.Placed.size(), one.Placed.size());
    EXPECT_EQ(one.Cells, first.Cells);
}

TEST_F(FreeformTest, AutoSizeTrimsToTheUsedCells)
{
    const TFreeformResult r = build(sampleWords());
    ASSERT_TRUE(r.Adopted);
    auto rowUsed = [&](int row) {
        for (int c = 1; c <= r.Columns; ++c)
            if (r.Cell(c, row).unicode() > 20)
                return true;
        return false;
    };
    auto columnUsed = [&](int c) {
        for (int row = 1; row <= r.Rows; ++row)
            if (r.Cell(c, row).unicode() > 20)
                return true;
        return false;
    };
    EXPECT_TRUE(rowUsed(1) && rowUsed(r.Rows) && columnUsed(1) && columnUsed(r.Columns));
    EXPECT_EQ(r.Placed.size() + r.Dropped.size(), sampleWords().size());
}

TEST_F(FreeformTest, FixedSizeNeverCoversBlocksOrRemovedCells)
{
    // 9 x 9: a frame of removed cells in the corners, a block lattice, and old letters that
    // count as empty.
    const QStringList pattern = {
        "--.....--", "-...#...-", "..#...#..", "....x....", ".#..#..#.",
        "....x....", "..#...#..", "-...#...-", "--.....--",
    };
    TFreeformOptions o;
    o.AutoSize = false;
    o.Columns = 9;
    o.Rows = 9;
    for (const QString &line : pattern)
        for (QChar ch : line)
            o.GridCells.push_back(ch == '#'   ? QChar(TRV_BLOCK)
                                  : ch == '-' ? QChar(TRV_REMOVED)
                                  : ch == 'x' ? QChar('X')
                                              : QChar(TRV_EMPTY));
    const TFreeformResult r = build(sampleWords(), o);
    ASSERT_TRUE(r.Adopted);
    EXPECT_EQ(r.Columns, 9);
    EXPECT_EQ(r.Rows, 9);
    for (int row = 1; row <= 9; ++row)
        for (int c = 1; c <= 9; ++c) {
            const QChar ch = pattern[row - 1][c - 1];
            if (ch == '#') {
                EXPECT_EQ(r.Cell(c, row).unicode(), TRV_BLOCK) << c << "," << row;
            } else if (ch == '-') {
                EXPECT_EQ(r.Cell(c, row).unicode(), TRV_REMOVED) << c << "," << row;
            }
        }
    expectWholeWords(r);
}

TEST_F(FreeformTest, StoringRemovesUnusedCellsAndUnfixesEveryLetter)
{
    // A fixed "C" where the result has a "C" must come out unfixed too.
    TRVCreateRenumGrid(3, 3);
    TRVSetCellOnly(1, 2, 'C');
    ASSERT_TRUE(TRVIsCellFixed(1, 2));
    TFreeformResult r;
    r.Adopted = true;
    r.Columns = 3;
    r.Rows = 3;
    for (QChar ch : QString("\002T\002CAT\002G\002"))
        r.Cells.push_back(ch);
    ASSERT_TRUE(StoreFreeformResult(r));
    const char *expected = "\004t\004cat\004g\004";
    for (int row = 1; row <= 3; ++row)
        for (int c = 1; c <= 3; ++c) {
            EXPECT_EQ(TRVGetCell(c, row), expected[(row - 1) * 3 + c - 1]) << c << "," << row;
            EXPECT_FALSE(TRVIsCellFixed(c, row)) << c << "," << row;
        }

    // A whole build stored into a grid of another size.
    TRVCreateRenumGrid(15, 15);
    const TFreeformResult built = build(sampleWords());
    ASSERT_TRUE(StoreFreeformResult(built));
    ASSERT_EQ(TRVGetWidth(), built.Columns);
    ASSERT_EQ(TRVGetHeight(), built.Rows);
    EXPECT_EQ(Columns, built.Columns);
    EXPECT_EQ(Rows, built.Rows);
    int letters = 0;
    for (int row = 1; row <= built.Rows; ++row)
        for (int c = 1; c <= built.Columns; ++c) {
            const char cell = TRVGetCell(c, row);
            if (built.Cell(c, row).unicode() == TRV_EMPTY) {
                EXPECT_EQ(cell, TRV_REMOVED);
                continue;
            }
            ++letters;
            EXPECT_EQ(QChar(cell), LowerCaseChar(built.Cell(c, row)));
            EXPECT_FALSE(TRVIsCellFixed(c, row));
        }
    EXPECT_EQ(letters, built.LetterCount());
}

TEST_F(FreeformTest, NothingPlacedLeavesTheGridAsItWas)
{
    TRVCreateRenumGrid(4, 3);
    TRVSetCellOnly(2, 2, 'q');
    const std::vector<QChar> before = ReadFreeformGridCells();

    // Every cell a block: not even the first word has room.
    TFreeformOptions o;
    o.AutoSize = false;
    o.Columns = 4;
    o.Rows = 3;
    o.GridCells.assign(12, QChar(TRV_BLOCK));
    const TFreeformResult r = build(entriesOf({"cat", "tag"}), o);
    EXPECT_FALSE(r.Adopted);
    EXPECT_TRUE(r.Placed.isEmpty());
    ASSERT_EQ(r.Dropped.size(), 2);
    EXPECT_EQ(r.Dropped[0].Reason, TFreeformDropReason::NotPlaced);

    EXPECT_FALSE(StoreFreeformResult(r));
    EXPECT_EQ(TRVGetWidth(), 4);
    EXPECT_EQ(TRVGetHeight(), 3);
    EXPECT_EQ(ReadFreeformGridCells(), before);
}

TEST_F(FreeformTest, CancelKeepsTheBestAttemptSoFar)
{
    int progressCalls = 0;
    TFreeformOptions o;
    o.Cancelled = [] { return true; };
    o.Progress = [&](int) { ++progressCalls; };
    const TFreeformResult r = build(sampleWords(), o);
    EXPECT_TRUE(r.Cancelled);
    EXPECT_EQ(r.Attempts, 1);
    EXPECT_EQ(progressCalls, 1);
    ASSERT_TRUE(r.Adopted);
    expectWholeWords(r);
}

TEST_F(FreeformTest, ManyOfOneLetterArePlacedAsWholeWords)
{
    // 200 x 9 "E"s: far more than 1000 records in one bucket.
    const QList<TFreeformEntry> entries = entriesOf(QStringList(200, "EEEEEEEEE"));
    TFreeformOptions o;
    o.AutoSize = false;
    o.Columns = TFreeformBuilder::MaxSide;
    o.Rows = TFreeformBuilder::MaxSide;
    const TFreeformResult r = build(entries, o);
    ASSERT_TRUE(r.Adopted);
    EXPECT_GT(r.Placed.size() * 8, 1000);
    EXPECT_EQ(r.Placed.size() + r.Dropped.size(), 200);
    expectWholeWords(r);
}

} // namespace
