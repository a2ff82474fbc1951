// The word-slot histogram's layout: the scale, the rows a grid shows, where counts go, and what
// the mouse finds where.
#include "wordsizes.h"

#include <gtest/gtest.h>

namespace {

constexpr int kBoxWidth = 306;

TWordSizesGeometry layout(int total, const std::vector<int> &counts, int columns, int rows,
                          int maxPanelHeight = 1000)
{
    return ComputeWordSizesGeometry(total, counts, columns, rows, kBoxWidth, maxPanelHeight);
}

TEST(WordSizesGeometry, ScaleShrinksPastThreeAndSixHundredSlots)
{
    const struct {
        int total;
        int scale;
    } cases[] = {{0, 3}, {300, 3}, {301, 2}, {600, 2}, {601, 1}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.total);
        std::vector<int> counts(16, 0);
        counts[15] = 10;
        const TWordSizesGeometry g = layout(c.total, counts, 15, 15);
        EXPECT_EQ(g.Scale, c.scale);
        EXPECT_EQ(g.Rows[14].BarEnd, 47 + 10 * c.scale);
    }
}

TEST(WordSizesGeometry, ALargeGridShowsLengthsOneToTwentyThree)
{
    const TWordSizesGeometry g = layout(0, {}, 25, 25);
    ASSERT_EQ(g.Rows.size(), 23u);
    EXPECT_EQ(g.Rows.front().Length, 1);
    EXPECT_EQ(g.Rows.front().Top, 18);
    EXPECT_EQ(g.Rows.back().Length, 23);
    EXPECT_EQ(g.Rows.back().Top, 18 + 7 * 22);
    EXPECT_EQ(g.AxisTop, 22);
    EXPECT_EQ(g.AxisBottom, 18 + 7 * 23);
    EXPECT_EQ(g.PanelHeight, 7 * 23 + 30);
    // 24 boundaries: each row's top + 2, then the last row's top + 7.
    ASSERT_EQ(g.Bounds.size(), 24u);
    EXPECT_EQ(g.Bounds[0], 20);
    EXPECT_EQ(g.Bounds[22], 18 + 7 * 22 + 2);
    EXPECT_EQ(g.Bounds[23], 18 + 7 * 22 + 7);

    // The longer side decides, and the panel stays within the room it has.
    EXPECT_EQ(layout(0, {}, 5, 9).Rows.size(), 9u);
    EXPECT_EQ(layout(0, {}, 25, 25, 150).PanelHeight, 150);
}

TEST(WordSizesGeometry, CountsStandInStaggeredColumnsClearOfTheirBars)
{
    // Even lengths on multiples of 28, odd ones 14 further, at least 2 past the bar's end
    // (47 + count x 3), the bar stopping 40 short of the box's right edge.
    const struct {
        int count;
        int evenX;
        int oddX;
    } cases[] = {
        {1, 56, 70},    // bar end 50
        {2, 56, 70},    // bar end 53: 55 still fits before 56
        {3, 84, 70},    // bar end 56: 58 passes 56
        {10, 84, 98},   // bar end 77
        {100, 280, 294} // bar end held at 306 - 40 = 266
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.count);
        std::vector<int> counts(16, 0);
        counts[4] = counts[5] = c.count;
        const TWordSizesGeometry g = layout(2 * c.count, counts, 15, 15);
        EXPECT_EQ(g.Rows[3].CountX, c.evenX);
        EXPECT_EQ(g.Rows[4].CountX, c.oddX);
        EXPECT_LE(g.Rows[3].BarEnd, kBoxWidth - 40);
    }
    const TWordSizesGeometry g = layout(0, {}, 15, 15);
    EXPECT_EQ(g.Rows[0].LengthX, 24);
    EXPECT_EQ(g.Rows[1].LengthX, 10);
}

TEST(WordSizesGeometry, TheMouseFindsTheRowUnderIt)
{
    std::vector<int> counts(6, 0);
    counts[3] = 4; // bar end 59
    const TWordSizesGeometry g = layout(4, counts, 5, 5);
    EXPECT_EQ(g.LengthAt(5), 0);  // the heading
    EXPECT_EQ(g.LengthAt(20), 1); // row 1 from its top + 2
    EXPECT_EQ(g.LengthAt(26), 1);
    EXPECT_EQ(g.LengthAt(27), 2);
    EXPECT_EQ(g.LengthAt(18 + 7 * 4 + 6), 5);
    EXPECT_EQ(g.LengthAt(18 + 7 * 4 + 7), 0); // below the last row
    const int row3 = 18 + 7 * 2 + 5;
    EXPECT_TRUE(g.IsOverBar(10, row3)); // the length text
    EXPECT_TRUE(g.IsOverBar(61, row3));
    EXPECT_FALSE(g.IsOverBar(62, row3));
    EXPECT_TRUE(g.IsOverBar(49, 27)); // a row without slots: its length text only
    EXPECT_FALSE(g.IsOverBar(50, 27));
    EXPECT_FALSE(g.IsOverBar(10, 5));
}

} // namespace
