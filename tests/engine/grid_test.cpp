// grid_test.cpp - the grid model: sizes, numbering, symmetry partners, resizing, transposing,
// clearing, deferred renumbering, saved state and the neutral answers outside the grid.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include "engine_test_util.h"
#include "trv_grid.h"

namespace {

using CellSet = std::set<std::pair<int, int>>;

// Builds a numbered grid from rows of '.' (empty), '#' (block), '~' (removed) or letters.
void MakeGrid(const std::vector<const char *> &rows)
{
    const int width = static_cast<int>(std::strlen(rows[0]));
    TRVCreateRenumGrid(width, static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r)
        for (int c = 0; c < width; ++c) {
            char ch = rows[r][c];
            char code = ch == '.' ? char(Empty) : ch == '#' ? char(Block) : ch == '~' ? char(Removed) : ch;
            TRVSetCellOnly(c + 1, r + 1, code);
        }
    TRVRenumberGrid();
}

CellSet BlockedCells()
{
    CellSet cells;
    for (int r = 1; r <= TRVGetHeight(); ++r)
        for (int c = 1; c <= TRVGetWidth(); ++c)
            if (TRVGetCell(c, r) == Block)
                cells.insert({c, r});
    return cells;
}

class GridTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ScriptedBoxes::Install();
        TRVEstablishDrawCellCallBacks(nullptr, nullptr, nullptr, nullptr);
        TRVSetShowHotSpots(0);
        TRVMouseEvent('U');
        TRVSetSymMode(1);
        TRVCreateRenumGrid(15, 15);
    }
    void TearDown() override { TRVSetMessageBoxHandler(nullptr); }
};

TEST_F(GridTest, CanDoBounds)
{
    struct Case {
        int columns, rows, expected;
    } cases[] = {
        {2101, 13, 1}, {2101, 14, 0}, {0, 5, 0},    {5, 0, 0},     {-1, 5, 0},    {1, 1, 1},
        {2102, 1, 0},  {1, 2101, 1},  {1, 2102, 0}, {177, 177, 1}, {178, 178, 0}, {51, 51, 1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TRVCanDo(c.columns, c.rows), c.expected) << c.columns << " x " << c.rows;
}

TEST_F(GridTest, SmallGridsNumbering)
{
    TRVCreateRenumGrid(1, 1);
    EXPECT_EQ(TRVGetWLCountTotal(), 0);
    EXPECT_EQ(TRVGetCellNumber(1, 1), 0);

    TRVCreateRenumGrid(2, 1);
    EXPECT_EQ(TRVGetWLCountTotal(), 1);
    EXPECT_EQ(TRVGetWLCount(2), 1);
    EXPECT_EQ(TRVGetCellNumber(1, 1), 1);
    EXPECT_EQ(TRVGetCellNumber(2, 1), 0);
    EXPECT_EQ(int(WSLOTS::Slot[0].next), 1);
    EXPECT_EQ(GetBoxCode(0), 1);

    // (1,1) starts both slots: one number, the across slot first.
    MakeGrid({"...", "..#", ".#."});
    EXPECT_EQ(TRVGetCellNumber(1, 1), 1);
    EXPECT_EQ(int(Grid.At(1, 1).xHorzWord), 0);
    EXPECT_EQ(int(Grid.At(1, 1).xVertWord), 1);
    EXPECT_EQ(GetBoxCode(0), 1);
    EXPECT_EQ(GetBoxCode(1), -1);
    EXPECT_EQ(TRVGetCellNumber(2, 1), 2);
    EXPECT_EQ(TRVGetCellNumber(3, 1), 0); // nothing below it: no slot starts there
    EXPECT_EQ(TRVGetCellNumber(1, 2), 3);
    EXPECT_EQ(TRVGetCellNumber(3, 3), 0); // open on no side
    EXPECT_EQ(TRVGetWLCountTotal(), 4);   // 1A, 1D, 2D, 3A
    EXPECT_EQ(GetSlotx(1), 0);
    EXPECT_EQ(GetSlotx(-1), 1);
    EXPECT_EQ(GetSlotx(-3), 3); // only an across 3: the last slot with that number
    EXPECT_EQ(GetSlotx(9), -1);
    EXPECT_EQ(GetBoxCode(-1), 0);
}

// Renumbering takes every number away before it gives it again, so each numbered cell must
// be drawn anew, while the other cells keep their drawn state.
TEST_F(GridTest, RenumberingRedrawsNumberedCells)
{
    MakeGrid({"...", "..#", ".#."});
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 3; ++c)
            TRVSetCellDisp(c, r, 1);
    TRVRenumberGrid();
    struct Case {
        int column, row, displayed;
    } cases[] = {{1, 1, 0}, {2, 1, 0}, {1, 2, 0}, {3, 1, 1}, {2, 2, 1}, {3, 3, 1}, {3, 2, 1}};
    for (const Case &c : cases)
        EXPECT_EQ(TRVGetCellDisp(c.column, c.row), c.displayed) << c.column << "," << c.row;
}

TEST_F(GridTest, LengthTally)
{
    struct Case {
        int width, index, expected;
    } cases[] = {{100, 100, 1}, {100, 0, 0}, {101, 0, 1}, {101, 100, 0}, {120, 0, 1}};
    for (const Case &c : cases) {
        TRVCreateRenumGrid(c.width, 1);
        EXPECT_EQ(TRVGetWLCount(c.index), c.expected) << c.width << " [" << c.index << "]";
    }
    TRVCreateRenumGrid(15, 15);
    EXPECT_EQ(TRVGetWLCount(15), 30);
    EXPECT_EQ(TRVGetWLCountTotal(), 30);
}

struct SymCase {
    int mode, width, height, column, row;
    CellSet expected;
};

TEST_F(GridTest, SymmetryPartners)
{
    const SymCase cases[] = {
        // 15 x 15, cell (2, 4).
        {0, 15, 15, 2, 4, {{2, 4}}},
        {1, 15, 15, 2, 4, {{2, 4}, {14, 12}}},
        {2, 15, 15, 2, 4, {{2, 4}, {14, 12}, {4, 14}, {12, 2}}},
        {3, 15, 15, 2, 4, {{2, 4}, {2, 12}}},
        {4, 15, 15, 2, 4, {{2, 4}, {14, 4}}},
        {5, 15, 15, 2, 4, {{2, 4}, {2, 12}, {14, 4}, {14, 12}}},
        {6, 15, 15, 2, 4, {{2, 4}, {4, 2}, {12, 14}, {4, 14}, {12, 2}, {2, 12}, {14, 4}, {14, 12}}},
        // 14 x 15: even width, odd height.
        {0, 14, 15, 2, 4, {{2, 4}}},
        {1, 14, 15, 2, 4, {{2, 4}, {13, 12}}},
        {2, 14, 15, 2, 4, {{2, 4}, {13, 12}, {3, 13}, {12, 3}}},
        {3, 14, 15, 2, 4, {{2, 4}, {2, 12}}},
        {4, 14, 15, 2, 4, {{2, 4}, {13, 4}}},
        {5, 14, 15, 2, 4, {{2, 4}, {2, 12}, {13, 4}, {13, 12}}},
        {6, 14, 15, 2, 4, {{2, 4}, {3, 3}, {12, 13}, {3, 13}, {12, 3}, {2, 12}, {13, 4}, {13, 12}}},
        // 15 x 14: odd width, even height.
        {0, 15, 14, 2, 4, {{2, 4}}},
        {1, 15, 14, 2, 4, {{2, 4}, {14, 11}}},
        {2, 15, 14, 2, 4, {{2, 4}, {14, 11}, {5, 14}, {11, 1}}},
        {3, 15, 14, 2, 4, {{2, 4}, {2, 11}}},
        {4, 15, 14, 2, 4, {{2, 4}, {14, 4}}},
        {5, 15, 14, 2, 4, {{2, 4}, {2, 11}, {14, 4}, {14, 11}}},
        {6, 15, 14, 2, 4, {{2, 4}, {5, 1}, {11, 14}, {5, 14}, {11, 1}, {2, 11}, {14, 4}, {14, 11}}},
        // The corner cases of the quarter turn and the mirrors.
        {1, 15, 15, 1, 1, {{1, 1}, {15, 15}}},
        {1, 15, 15, 8, 8, {{8, 8}}},
        {2, 15, 15, 1, 3, {{1, 3}, {15, 13}, {3, 15}, {13, 1}}},
        {2, 14, 15, 1, 1, {{1, 1}, {14, 15}}},
        {3, 15, 15, 2, 1, {{2, 1}, {2, 15}}},
        {4, 15, 15, 2, 1, {{2, 1}, {14, 1}}},
        {6, 15, 15, 1, 2, {{1, 2}, {2, 1}, {14, 15}, {2, 15}, {14, 1}, {1, 14}, {15, 2}, {15, 14}}},
        {6, 15, 15, 8, 8, {{8, 8}}},
        {5, 15, 15, 8, 1, {{8, 1}, {8, 15}}},
    };
    for (const SymCase &c : cases) {
        TRVSetSymMode(c.mode);
        TRVCreateRenumGrid(c.width, c.height);
        TRVSetCell(c.column, c.row, Block);
        EXPECT_EQ(BlockedCells(), c.expected) << "mode " << c.mode << " " << c.width << "x" << c.height
                                              << " (" << c.column << "," << c.row << ")";
        EXPECT_LE(Grid.QuickDrawCount, QuickDrawMax);
    }
}

// On a square grid the spiral ties the four quarter turns, the kaleidoscope all eight images.
TEST_F(GridTest, SquareGridsTieTheirSymmetryGroup)
{
    for (int n : {14, 15}) {
        for (int mode : {2, 6}) {
            TRVSetSymMode(mode);
            for (int r = 1; r <= n; ++r)
                for (int c = 1; c <= n; ++c) {
                    TRVCreateRenumGrid(n, n);
                    TRVSetCell(c, r, Block);
                    CellSet expected = {{c, r}, {n + 1 - c, n + 1 - r}, {r, n + 1 - c}, {n + 1 - r, c}};
                    if (mode == 6)
                        expected.insert({{r, c}, {n + 1 - r, n + 1 - c}, {c, n + 1 - r}, {n + 1 - c, r}});
                    ASSERT_EQ(BlockedCells(), expected)
                        << n << " mode " << mode << " (" << c << "," << r << ")";
                }
        }
    }
}

TEST_F(GridTest, PartnersTakeOpeningCodes)
{
    TRVSetSymMode(1);
    TRVCreateRenumGrid(15, 15);
    DrawCounter::Install();
    TRVSetCell(3, 3, Block);
    EXPECT_EQ(TRVGetCell(13, 13), Block);
    EXPECT_EQ(DrawCounter::Count('V'), 2); // the edited cell and its partner

    // A letter on a black square opens it and its partner without lettering them.
    TRVSetCell(3, 3, 'Q');
    EXPECT_EQ(TRVGetCell(3, 3), Empty);
    EXPECT_EQ(TRVGetCell(13, 13), Empty);
    EXPECT_EQ(TRVGetWLCountTotal(), 30);

    // A letter on an open square is stored and nothing else happens.
    DrawCounter::calls.clear();
    TRVSetCell(3, 3, 'Q');
    EXPECT_EQ(TRVGetCell(3, 3), 'Q');
    EXPECT_EQ(TRVGetCell(13, 13), Empty);
    EXPECT_TRUE(DrawCounter::calls.empty());

    TRVSetCell(4, 5, Removed);
    EXPECT_EQ(TRVGetCell(12, 11), Removed);
    TRVSetCell(4, 5, Empty);
    EXPECT_EQ(TRVGetCell(12, 11), Empty);
    TRVEstablishDrawCellCallBacks(nullptr, nullptr, nullptr, nullptr);
}

TEST_F(GridTest, ResizeCentresContents)
{
    struct Case {
        int from, to, offset;
    } cases[] = {{14, 15, 1}, {15, 14, -1}, {13, 16, 1}, {14, 17, 2}, {15, 16, 0}, {16, 15, 0}};
    for (const Case &c : cases) {
        TRVCreateRenumGrid(c.from, c.from);
        TRVSetCellOnly(3, 4, 'X');
        TRVSetCellOnly(c.from, c.from, Block);
        TRVResizeGrid(c.to, c.to);
        ASSERT_EQ(TRVGetWidth(), c.to);
        ASSERT_EQ(TRVGetHeight(), c.to);
        EXPECT_EQ(TRVGetCell(3 + c.offset, 4 + c.offset), 'X') << c.from << " -> " << c.to;
        EXPECT_EQ(TRVIsCellFixed(3 + c.offset, 4 + c.offset), 1);
        const int corner = c.from + c.offset;
        if (corner <= c.to) {
            EXPECT_EQ(TRVGetCell(corner, corner), Block) << c.from << " -> " << c.to;
        }
        EXPECT_EQ(TRVSavedState(), 0);
    }
    // Only the width changes: the rows stay where they are.
    TRVCreateRenumGrid(14, 10);
    TRVSetCellOnly(2, 2, 'K');
    TRVResizeGrid(17, 10);
    EXPECT_EQ(TRVGetCell(4, 2), 'K');
}

TEST_F(GridTest, ImpossibleSizesAreRefused)
{
    MakeGrid({"AB#", "...", "#.."});
    TRVResizeGrid(2102, 5);
    EXPECT_EQ(TRVGetWidth(), 3);
    EXPECT_EQ(TRVGetCell(1, 1), 'A');
    ASSERT_EQ(ScriptedBoxes::shown.size(), 1u);
    EXPECT_EQ(ScriptedBoxes::shown[0].caption, "Error");
    TRVResizeGrid(0, 5);
    TRVResizeGrid(2101, 14);
    EXPECT_EQ(TRVGetWidth(), 3);
    EXPECT_EQ(TRVGetHeight(), 3);
    EXPECT_EQ(TRVGetCell(3, 1), Block);

    // 14 x 2006 fits, its transpose 2006 x 14 does not.
    TRVCreateRenumGrid(14, 2006);
    TRVSetCellOnly(1, 2000, 'Z');
    ScriptedBoxes::shown.clear();
    TRVExchangeAcrossDown();
    EXPECT_EQ(TRVGetWidth(), 14);
    EXPECT_EQ(TRVGetHeight(), 2006);
    EXPECT_EQ(TRVGetCell(1, 2000), 'Z');
    EXPECT_EQ(ScriptedBoxes::shown.size(), 1u);

    // A refused new grid keeps the old one and writes nothing.
    MakeGrid({"AB", "C#"});
    TRVCreateRenumGrid(3000, 3000);
    TRVCreateRenumGrid(0, 0);
    TRVCreateRenumGrid(178, 178);
    EXPECT_EQ(TRVGetWidth(), 2);
    EXPECT_EQ(TRVGetCell(1, 2), 'C');
    EXPECT_EQ(TRVGetWLCountTotal(), 2);
}

TEST_F(GridTest, CreateRenumGridWarnsAboveProgramSizes)
{
    TRVCreateRenumGrid(52, 10);
    EXPECT_EQ(TRVGetWidth(), 52);
    EXPECT_EQ(TRVGetHeight(), 10);
    ASSERT_EQ(ScriptedBoxes::shown.size(), 1u);
    EXPECT_EQ(ScriptedBoxes::shown[0].text, "Bad arguments passed to TRVCreateRenumGrid(52,10).");
    EXPECT_EQ(ScriptedBoxes::shown[0].caption, "Message");
    EXPECT_EQ(ScriptedBoxes::shown[0].buttons, TRV_MB_OK);
}

TEST_F(GridTest, ExchangeAcrossDownTransposes)
{
    MakeGrid({"AB..", "#...", "..~c"});
    Grid.At(2, 1).FontColor = ccBlue;
    TRVExchangeAcrossDown();
    ASSERT_EQ(TRVGetWidth(), 3);
    ASSERT_EQ(TRVGetHeight(), 4);
    EXPECT_EQ(TRVGetCell(1, 1), 'A');
    EXPECT_EQ(TRVGetCell(1, 2), 'B');
    EXPECT_EQ(TRVGetFontColor(1, 2), ccBlue);
    EXPECT_EQ(TRVIsCellFixed(1, 2), 1);
    EXPECT_EQ(TRVGetCell(2, 1), Block);
    EXPECT_EQ(TRVGetCell(3, 3), Removed);
    EXPECT_EQ(TRVGetCell(3, 4), 'c');
    EXPECT_EQ(TRVIsCellFixed(3, 4), 0);
    EXPECT_EQ(TRVGetCellNumber(1, 1), 1);
}

TEST_F(GridTest, ClearingAndSavedState)
{
    TRVSetSymMode(1);
    TRVCreateRenumGrid(15, 15);
    EXPECT_EQ(TRVSavedState(), 1);
    TRVSetCellOnly(1, 1, 'A');
    EXPECT_EQ(TRVSavedState(), 1); // a single cell write leaves it
    TRVSetCellOnly(2, 1, 'b');
    TRVClearGridLetters(0);
    EXPECT_EQ(TRVGetCell(1, 1), 'A'); // fixed letters stay
    EXPECT_EQ(TRVGetCell(2, 1), Empty);
    EXPECT_EQ(TRVSavedState(), 0);
    TRVClearGridLetters(1);
    EXPECT_EQ(TRVGetCell(1, 1), Empty);
    EXPECT_EQ(TRVSavedState(), 1);

    TRVSetCell(5, 5, 'E'); // any cell edit clears it
    EXPECT_EQ(TRVSavedState(), 0);
    TRVSetCell(5, 5, Block);
    TRVClearGridLetters(1);
    EXPECT_EQ(TRVSavedState(), 0); // a block remains
    TRVClearGrid();
    EXPECT_EQ(TRVGetCell(5, 5), Empty);
    EXPECT_EQ(TRVGetCell(11, 11), Empty);
    EXPECT_EQ(TRVSavedState(), 1);

    TRVSetSymMode(0);
    EXPECT_EQ(TRVSavedState(), 0);
    TRVClearGrid();
    EXPECT_EQ(TRVSavedState(), 0); // not the standard diagonal
    TRVCreateRenumGrid(15, 15);
    EXPECT_EQ(TRVSavedState(), 0);
    TRVSetSymMode(1);
    TRVCreateRenumGrid(15, 14);
    EXPECT_EQ(TRVSavedState(), 0);
}

TEST_F(GridTest, BigPatternDefersRenumbering)
{
    TRVSetSymMode(0);
    TRVCreateRenumGrid(20, 20);
    EXPECT_EQ(TRVBigPattern(), 1);
    DrawCounter::Install();
    EXPECT_EQ(TRVGetWLCountTotal(), 40);
    TRVMouseEvent('D');
    TRVSetCell(5, 1, Block);
    EXPECT_EQ(TRVGetWLCountTotal(), 40); // waits for the mouse
    EXPECT_EQ(TRVGetCellNumber(6, 1), 6);
    EXPECT_EQ(DelayedCalculations, 1);
    TRVMouseEvent('U');
    EXPECT_EQ(TRVGetWLCountTotal(), 41); // row 1 split in two
    EXPECT_EQ(TRVGetCellNumber(6, 1), 5);
    EXPECT_EQ(DelayedCalculations, 0);
    EXPECT_GT(DrawCounter::Count('N'), 0);

    // "U" without a "D" before it runs nothing.
    TRVSetCell(10, 1, Block);
    TRVMouseEvent('U');
    EXPECT_EQ(TRVGetWLCountTotal(), 41);
    EXPECT_EQ(DelayedCalculations, 1);
    TRVMouseEvent('D');
    TRVMouseEvent('U');
    EXPECT_EQ(TRVGetWLCountTotal(), 42);

    // Opening a cell while renumbering waits clears the numbers it makes impossible.
    TRVMouseEvent('D');
    TRVSetCell(5, 2, Block);
    TRVMouseEvent('U');
    EXPECT_NE(TRVGetCellNumber(6, 2), 0);
    EXPECT_NE(TRVGetCellNumber(5, 3), 0);
    TRVMouseEvent('D');
    TRVSetCell(5, 2, Empty);
    EXPECT_EQ(TRVGetCellNumber(6, 2), 0);
    EXPECT_EQ(TRVGetCellNumber(5, 3), 0);
    TRVMouseEvent('U');

    // Kaleidoscope defers even on a small grid.
    TRVSetSymMode(6);
    TRVCreateRenumGrid(15, 15);
    EXPECT_EQ(TRVBigPattern(), 1);
    TRVSetSymMode(1);
    EXPECT_EQ(TRVBigPattern(), 0);
    TRVEstablishDrawCellCallBacks(nullptr, nullptr, nullptr, nullptr);
}

TEST_F(GridTest, CellExportsOutsideTheGridAreNeutral)
{
    MakeGrid({"AB.", "#.."});
    TRVSetCellDispNumber(1, 1, 7);
    const int records = CELLS::NumberCellRecords;
    std::vector<cell> before(CELLS::Cell, CELLS::Cell + records);
    const std::pair<int, int> outside[] = {{0, 1},   {1, 0},      {4, 1},       {1, 3},
                                           {-3, -3}, {100000, 1}, {1, -100000}, {0, 0}};
    for (const auto &[c, r] : outside) {
        EXPECT_EQ(TRVGetCell(c, r), Edge);
        EXPECT_EQ(TRVGetCellDispLetter(c, r), Edge);
        EXPECT_EQ(TRVIsCellFixed(c, r), 0);
        EXPECT_EQ(TRVGetCellNumber(c, r), 0);
        EXPECT_EQ(TRVShadeCell(c, r), 0);
        EXPECT_EQ(TRVGetFontColor(c, r), 0);
        EXPECT_EQ(TRVGetDifficulty(c, r), 0);
        EXPECT_EQ(TRVGetCellDisp(c, r), 0);
        EXPECT_EQ(TRVGetCellDispNumber(c, r), 0);
        EXPECT_EQ(TRVGetCellDispColor(c, r), 0);
        TRVSetCell(c, r, Block);
        TRVSetCellOnly(c, r, 'Z');
        TRVSetCellDisp(c, r, 1);
        TRVSetCellDispLetter(c, r, 'Q');
        TRVSetCellDispNumber(c, r, 9);
        TRVSetCellDispColor(c, r, 255);
        TRVSetCellDispDiff(c, r, 3);
    }
    ASSERT_EQ(CELLS::NumberCellRecords, records);
    EXPECT_EQ(std::memcmp(before.data(), CELLS::Cell, records * sizeof(cell)), 0);
    for (int length : {-1, 101, 1000, -100000})
        EXPECT_EQ(TRVGetWLCount(length), 0);
    EXPECT_TRUE(ScriptedBoxes::shown.empty());
}

TEST_F(GridTest, DisplayMemory)
{
    TRVCreateRenumGrid(3, 3);
    EXPECT_EQ(TRVGetCellDispLetter(2, 2), Invalid);
    EXPECT_EQ(TRVGetCellDispColor(2, 2), 12336);
    TRVSetCellDisp(2, 2, 3);
    EXPECT_EQ(TRVGetCellDisp(2, 2), 1);
    TRVSetCellDispNumber(2, 2, 70000); // kept as a signed 16-bit value
    EXPECT_EQ(TRVGetCellDispNumber(2, 2), 70000 - 65536);
    TRVSetCellDispNumber(2, 2, -3);
    EXPECT_EQ(TRVGetCellDispNumber(2, 2), -3);
    TRVSetCellDispDiff(2, 2, 12);
    EXPECT_EQ(Grid.At(2, 2).DispDiff, 4);
    TRVSetCellDispLetter(2, 2, 'M');
    TRVSetCellDispColor(2, 2, 0x00FF00);
    EXPECT_EQ(TRVGetCellDispLetter(2, 2), 'M');
    EXPECT_EQ(TRVGetCellDispColor(2, 2), 0x00FF00);
    TRVInvalidateDisplay();
    EXPECT_EQ(TRVGetCellDisp(2, 2), 0);
    EXPECT_EQ(TRVGetCellDispColor(2, 2), -1);
    EXPECT_EQ(TRVGetCellDispLetter(2, 2), Invalid);
    EXPECT_EQ(TRVGetCellDispNumber(2, 2), 0);
}

TEST_F(GridTest, StoreLayout)
{
    // The records start on a cache-line boundary inside their block: every record of every
    // size can be written whole (the sanitizer build reports a record past the block's end).
    for (auto [columns, rows] : {std::pair{1, 1}, {2, 3}, {7, 5}, {50, 51}}) {
        TRVCreateRenumGrid(columns, rows);
        ASSERT_EQ(CELLS::NumberCellRecords, (columns + 1) * (rows + 2) + 1);
        std::memset(static_cast<void *>(CELLS::Cell), 0x5A,
                    static_cast<size_t>(CELLS::NumberCellRecords) * sizeof(cell));
        EXPECT_EQ(reinterpret_cast<const unsigned char *>(
                      CELLS::Cell)[static_cast<size_t>(CELLS::NumberCellRecords) * sizeof(cell) - 1],
                  0x5A);
    }
    TRVCreateRenumGrid(7, 5);
    EXPECT_EQ(CELLS::NumberCellRecords, 8 * 7 + 1);
    EXPECT_EQ(Grid.Down, 8);
    EXPECT_EQ(Grid.Up, -8);
    for (int i = 0; i < CELLS::NumberCellRecords; ++i) {
        const int row = i / Grid.Down, column = i % Grid.Down;
        const bool inner = row >= 1 && row <= 5 && column >= 1;
        EXPECT_EQ(CELLS::Cell[i].letter, inner ? Empty : Edge) << i;
    }
    EXPECT_EQ(TRVTestC(), 5);
    EXPECT_EQ(TRVGetMaxCols(), 2101);
    EXPECT_EQ(TRVGetMaxRows(), 2101);
    EXPECT_EQ(TRVGetMaxCells(), 32100);
}

TEST_F(GridTest, NumberEmptyCells)
{
    MakeGrid({"AB..", "...."});
    EXPECT_EQ(WSLOTS::NumberEmptyCells(0), 2); // 1 across: A B . .
    EXPECT_EQ(WSLOTS::NumberEmptyCells(1), 1); // 1 down: A .
    EXPECT_EQ(WSLOTS::NumberEmptyCells(-1), 0);
    EXPECT_EQ(WSLOTS::NumberEmptyCells(99), 0);
}

} // namespace
