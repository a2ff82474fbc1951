// hotspot_test.cpp - heat and difficulty levels, their invalidation after edits, the traffic
// light, two-letter and uncrossed marks, and the sizes of empty regions.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "engine_test_util.h"
#include "trv_grid.h"

namespace {

void MakeGrid(const std::vector<const char *> &rows)
{
    const int width = static_cast<int>(std::strlen(rows[0]));
    TRVCreateRenumGrid(width, static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r)
        for (int c = 0; c < width; ++c) {
            char ch = rows[r][c];
            TRVSetCellOnly(c + 1, r + 1, ch == '.' ? char(Empty) : ch == '#' ? char(Block) : ch);
        }
    TRVRenumberGrid();
}

std::vector<int> Levels()
{
    std::vector<int> levels;
    for (int r = 1; r <= TRVGetHeight(); ++r)
        for (int c = 1; c <= TRVGetWidth(); ++c)
            levels.push_back(TRVGetDifficulty(c, r));
    return levels;
}

class HotSpotTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ScriptedBoxes::Install();
        TRVEstablishDrawCellCallBacks(nullptr, nullptr, nullptr, nullptr);
        TRVSetShowHotSpots(0);
        TRVMouseEvent('U');
        TRVSetSymMode(0);
    }
    void TearDown() override
    {
        TRVEstablishDrawCellCallBacks(nullptr, nullptr, nullptr, nullptr);
        TRVSetMessageBoxHandler(nullptr);
        TRVSetSymMode(1);
    }
};

// In an open W x H grid every cell lies in (W-1)(H-1) rectangles of heat 2(W+H).
TEST_F(HotSpotTest, HeatAndLevelsOfOpenGrids)
{
    struct Case {
        int width, height, heat, level;
    } cases[] = {
        {3, 3, 48, 0},   {2, 12, 308, 0},  {5, 5, 320, 0},   {2, 13, 360, 1},    {5, 6, 440, 1},
        {3, 10, 468, 1}, {3, 11, 560, 2},  {6, 6, 600, 2},   {3, 12, 660, 2},    {3, 13, 768, 3},
        {7, 7, 1008, 3}, {3, 15, 1008, 3}, {3, 16, 1140, 4}, {15, 15, 11760, 4},
    };
    for (const Case &c : cases) {
        TRVCreateRenumGrid(c.width, c.height);
        TRVComputeHotSpots();
        EXPECT_EQ(Grid.ComputeOneHotSpot(1, 1, 1 << 30), c.heat) << c.width << "x" << c.height;
        EXPECT_EQ(Grid.ComputeOneHotSpot(2, 2, 1050), c.heat < 1050 ? c.heat : 1050);
        for (int level : Levels())
            ASSERT_EQ(level, c.level) << c.width << "x" << c.height;
    }
    EXPECT_EQ(TRVTrafficLightColor(), TRV_RED); // the open 15 x 15
}

TEST_F(HotSpotTest, BlockedAndSlotlessCellsHaveNoHeat)
{
    MakeGrid({"...#", "#...", "...."});
    TRVComputeHotSpots();
    EXPECT_EQ(Grid.ComputeOneHotSpot(4, 1, 1050), 0);    // a block
    EXPECT_EQ(Grid.ComputeOneHotSpot(1, 1, 1 << 30), 0); // no down slot
    // (2,2): across 4 cells, down 3; rectangles with corners in rows 1 and 3.
    EXPECT_GT(Grid.ComputeOneHotSpot(2, 2, 1 << 30), 0);
    EXPECT_EQ(Grid.ComputeOneHotSpot(0, 0, 1050), 0);
}

// The levels that edits leave behind equal a full recomputation.
TEST_F(HotSpotTest, InvalidationAfterEditsMatchesFullRecomputation)
{
    std::mt19937 random(7);
    for (int mode : {0, 1, 2}) {
        TRVSetSymMode(mode);
        TRVCreateRenumGrid(13, 13);
        TRVComputeHotSpots();
        for (int edit = 0; edit < 40; ++edit) {
            int c = 1 + static_cast<int>(random() % 13), r = 1 + static_cast<int>(random() % 13);
            TRVMouseEvent('D');
            TRVSetCell(c, r, TRVGetCell(c, r) == Block ? Empty : Block);
            TRVMouseEvent('U');
            std::vector<int> incremental = Levels();
            TRVComputeHotSpots();
            ASSERT_EQ(incremental, Levels()) << "mode " << mode << " edit " << edit;
        }
    }
}

TEST_F(HotSpotTest, TrafficLightCounts)
{
    struct Case {
        int level, cells, light;
    } cases[] = {
        {1, 4, TRV_GREEN},  {1, 5, TRV_YELLOW}, {1, 14, TRV_YELLOW}, {1, 15, TRV_RED},   {2, 2, TRV_GREEN},
        {2, 3, TRV_YELLOW}, {2, 8, TRV_YELLOW}, {2, 9, TRV_RED},     {3, 1, TRV_YELLOW}, {3, 4, TRV_YELLOW},
        {3, 5, TRV_RED},    {4, 1, TRV_YELLOW}, {4, 2, TRV_YELLOW},  {4, 3, TRV_RED},    {0, 40, TRV_GREEN},
    };
    for (const Case &c : cases) {
        TRVCreateRenumGrid(15, 15);
        for (int k = 0; k < c.cells; ++k)
            Grid.At(1 + k % 15, 1 + k / 15).difficulty = c.level;
        EXPECT_EQ(TRVTrafficLightColor(), c.light) << c.cells << " at level " << c.level;
    }
    // Blocked cells do not count.
    TRVCreateRenumGrid(15, 15);
    for (int k = 0; k < 5; ++k) {
        TRVSetCellOnly(k + 1, 1, Block);
        Grid.At(k + 1, 1).difficulty = 4;
    }
    EXPECT_EQ(TRVTrafficLightColor(), TRV_GREEN);
    TRVCreateRenumGrid(1, 1);
    TRVSetCellOnly(1, 1, Block);
    EXPECT_EQ(TRVTrafficLightColor(), TRV_GREEN);
}

TEST_F(HotSpotTest, ShadeBits)
{
    MakeGrid({"..#..", ".#.#.", ".....", "#...."});
    struct Case {
        int column, row, shade;
    } cases[] = {
        {1, 1, TRV_SHADE_TWO_LETTER},                       // two-letter across word
        {2, 1, TRV_SHADE_TWO_LETTER | TRV_SHADE_UNCROSSED}, // and nothing below or above
        {3, 2, TRV_SHADE_UNCROSSED},                        // blocks left and right
        {2, 4, TRV_SHADE_TWO_LETTER},                       // two-letter down word
        {4, 3, TRV_SHADE_TWO_LETTER},
        {1, 3, 0},
        {5, 2, TRV_SHADE_UNCROSSED},
        {5, 3, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TRVShadeCell(c.column, c.row), c.shade) << c.column << "," << c.row;
    Grid.At(1, 1).IsStuckCell = 1;
    EXPECT_EQ(TRVShadeCell(1, 1), 10);
    Grid.At(1, 1).IsStuckArea = 1;
    EXPECT_EQ(TRVShadeCell(1, 1), 14);

    // The quick redraw of an edit re-marks the neighbours.
    TRVSetCell(5, 3, Block);
    EXPECT_EQ(TRVShadeCell(5, 4) & TRV_SHADE_UNCROSSED, TRV_SHADE_UNCROSSED);
}

TEST_F(HotSpotTest, StuckShadeIsClearedByAnEdit)
{
    MakeGrid({"....", "....", "...."});
    DrawCounter::Install();
    Grid.At(2, 2).IsStuckArea = 1;
    Grid.At(3, 3).IsStuckCell = 1;
    CELLS::StuckAreaShowing = 1;
    TRVSetCellOnly(1, 1, 'A');
    EXPECT_EQ(TRVShadeCell(2, 2) & 12, 0);
    EXPECT_EQ(TRVShadeCell(3, 3) & 12, 0);
    EXPECT_EQ(CELLS::StuckAreaShowing, 0);
    ASSERT_EQ(DrawCounter::calls.size(), 6u);
    EXPECT_EQ(DrawCounter::calls[0].kind, 'C');
    EXPECT_EQ(DrawCounter::calls[0].row, 2);
    EXPECT_EQ(DrawCounter::calls[3].row, 3);
    EXPECT_EQ(DrawCounter::calls[3].column, 3);
}

TEST_F(HotSpotTest, ShowHotSpotsOffDrawsNothing)
{
    TRVCreateRenumGrid(8, 8);
    DrawCounter::Install();
    TRVComputeHotSpots();
    EXPECT_TRUE(DrawCounter::calls.empty());
    EXPECT_EQ(TRVGetDifficulty(4, 4), 4); // levels stay up to date
    TRVSetShowHotSpots(1);
    EXPECT_EQ(TRVGetShowHotSpots(), 1);
    EXPECT_EQ(DrawCounter::Count('C'), 64);
    EXPECT_EQ(DrawCounter::Count('L'), 64);
    EXPECT_EQ(DrawCounter::Count('N'), 64);
    DrawCounter::calls.clear();
    TRVUpdateHotSpots();
    TRVComputeHotSpots(); // nothing changed: nothing redrawn
    EXPECT_TRUE(DrawCounter::calls.empty());
    TRVSetShowHotSpots(0);
}

TEST_F(HotSpotTest, RegionSizes)
{
    struct Case {
        std::vector<const char *> rows;
        std::vector<int> sizes; // GroupID of each cell, row by row
    } cases[] = {
        {{"....", "####", "...."}, {4, 4, 4, 4, 0, 0, 0, 0, 4, 4, 4, 4}},
        {{".#.", ".#.", "..."}, {7, 0, 7, 7, 0, 7, 7, 7, 7}},
        {{"..A..", "..A..", ".#A#."}, {5, 5, 0, 5, 5, 5, 5, 0, 5, 5, 5, 0, 0, 0, 5}},
        {{"#.#", "...", "#.#"}, {0, 5, 0, 5, 5, 5, 0, 5, 0}},
        {{"#..", "..#", ".#."}, {0, 5, 5, 5, 5, 0, 5, 0, 1}},
    };
    for (const Case &c : cases) {
        MakeGrid(c.rows);
        Grid.MarkWholePuzzleWithGroupSizes();
        std::vector<int> sizes;
        for (int r = 1; r <= TRVGetHeight(); ++r)
            for (int col = 1; col <= TRVGetWidth(); ++col)
                sizes.push_back(Grid.At(col, r).GroupID);
        EXPECT_EQ(sizes, c.sizes) << c.rows[0];
    }
    EXPECT_TRUE(ScriptedBoxes::shown.empty());
}

TEST_F(HotSpotTest, ManyRegionsReportOnce)
{
    // A checkerboard of 51 x 51 has 1301 single-cell regions; 177 x 177 has far more than 4094.
    TRVCreateRenumGrid(177, 177);
    ScriptedBoxes::shown.clear();
    for (int r = 1; r <= 177; ++r)
        for (int c = 1; c <= 177; ++c)
            if ((r + c) % 2)
                TRVSetCellOnly(c, r, Block);
    Grid.MarkWholePuzzleWithGroupSizes();
    ASSERT_EQ(ScriptedBoxes::shown.size(), 1u);
    EXPECT_NE(ScriptedBoxes::shown[0].text.find("MaxNumGroups exceeded."), std::string::npos);
    EXPECT_EQ(int(Grid.At(1, 1).GroupID), 1);
    EXPECT_GT(int(Grid.At(177, 177).GroupID), 1); // the regions sharing the last number
}

} // namespace
