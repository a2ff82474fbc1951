// boundary_test.cpp - the engine as the program sees it: only the public header and the
// shared library, bound by name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "trv600.h"

namespace {

std::vector<std::string> boxes;
int RecordBox(const char *text, const char *caption, int)
{
    boxes.push_back(std::string(caption) + ": " + text);
    return TRV_IDRETRY;
}

int drawn = 0;
void CountDraw(int, int) { ++drawn; }

// Runs first: no grid has been made in this process yet.
TEST(EngineBoundary, BeforeAnyGridNothingIsTouched)
{
    ASSERT_EQ(TRVGetWidth(), 0);
    EXPECT_EQ(TRVGetCell(1, 1), TRV_EDGE);
    EXPECT_EQ(TRVGetCellDispLetter(1, 1), TRV_EDGE);
    EXPECT_EQ(TRVGetCellNumber(1, 1), 0);
    TRVSetCell(1, 1, TRV_BLOCK);
    TRVSetCellOnly(1, 1, 'A');
    TRVSetCellDispNumber(1, 1, 3);
    TRVRenumberGrid();
    TRVClearGrid();
    TRVClearGridLetters(1);
    TRVComputeHotSpots();
    TRVExchangeAcrossDown();
    TRVInvalidateDisplay();
    TRVMouseEvent('D');
    TRVMouseEvent('U');
    EXPECT_EQ(TRVTrafficLightColor(), TRV_GREEN);
    EXPECT_EQ(TRVGetWLCountTotal(), 0);
    EXPECT_EQ(TRVGetCell(1, 1), TRV_EDGE);
    EXPECT_EQ(TRVGetSymMode(), 1);
}

TEST(EngineBoundary, GridThroughTheExports)
{
    TRVSetMessageBoxHandler(&RecordBox);
    TRVEstablishDrawCellCallBacks(&CountDraw, &CountDraw, &CountDraw, &CountDraw);
    TRVCreateRenumGrid(15, 15);
    EXPECT_EQ(TRVSavedState(), 1);
    EXPECT_EQ(TRVGetWLCount(15), 30);
    TRVMouseEvent('D');
    TRVSetCell(1, 1, TRV_BLOCK);
    TRVMouseEvent('U');
    EXPECT_GT(drawn, 0);
    EXPECT_EQ(TRVGetCell(15, 15), TRV_BLOCK);
    EXPECT_EQ(TRVGetCellNumber(2, 1), 1);
    EXPECT_EQ(TRVSavedState(), 0);
    EXPECT_EQ(TRVTestC(), 5);
    EXPECT_EQ(TRVGetMaxCols(), 2101);
    EXPECT_EQ(TRVCanDo(2101, 14), 0);
    TRVResizeGrid(2102, 3);
    EXPECT_EQ(TRVGetWidth(), 15);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].rfind("Error: ", 0), 0u);

    const std::string zoo = std::string(TRV_TEST_DATA) + "/engine/zoo.txt";
    EXPECT_EQ(TRVReadPuzzle(zoo.c_str()), 0);
    EXPECT_EQ(TRVGetWidth(), 5);
    EXPECT_EQ(TRVGetCell(1, 8), 'Z');
    EXPECT_EQ(TRVGetSymMode(), 2);
    TRVSetMessageBoxHandler(nullptr);
    TRVEstablishDrawCellCallBacks(nullptr, nullptr, nullptr, nullptr);
}

} // namespace
