// Pattern helpers: the size controls, the word-size chart marks and the saved window bounds.
#include "documentcontrols.h"
#include "globals.h"
#include "layoutsettings.h"
#include "pataux.h"
#include "testprint.h"
#include "trv600.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QPainter>
#include <QSpinBox>
#include <QWidget>

namespace {

class PatAuxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InitGlobals();
        list.addItems(PuzzleSizeItems);
        cols.setRange(1, 51);
        rows.setRange(1, 51);
        PatAuxControls.ColCountSpEd = &cols;
        PatAuxControls.RowCountSpEd = &rows;
        PatAuxControls.PuzzleSizeCmBx = &list;
        ShowSlotBalloon = [this](const QString &text, int seconds) {
            balloons.append(text);
            balloonSeconds = seconds;
        };
    }
    void TearDown() override
    {
        PatAuxControls = TPatAuxControls{};
        ShowSlotBalloon = nullptr;
        InitGlobals();
    }

    // '#' block, '.' open.
    static void loadGrid(const std::vector<std::string> &pattern)
    {
        Rows = int(pattern.size());
        Columns = int(pattern[0].size());
        TRVCreateRenumGrid(Columns, Rows);
        for (int r = 1; r <= Rows; ++r)
            for (int c = 1; c <= Columns; ++c)
                TRVSetCellOnly(c, r, pattern[r - 1][c - 1] == '#' ? TRV_BLOCK : TRV_EMPTY);
        TRVRenumberGrid();
    }

    QComboBox list;
    QSpinBox cols, rows;
    QStringList balloons;
    int balloonSeconds = 0;
};

} // namespace

TEST_F(PatAuxTest, SizesSelectTheirItemOrACustomOne)
{
    SetPuzzleDimensions(15, 15, false);
    EXPECT_EQ(Columns, 15);
    EXPECT_EQ(list.currentText(), "15 x 15 (standard size)");

    SetPuzzleDimensions(51, 51, false);
    EXPECT_EQ(list.currentIndex(), list.count() - 1);
    EXPECT_EQ(list.currentText(), "Custom (up to 51 x 51)");

    SetPuzzleDimensions(15, 17, false);
    EXPECT_EQ(list.currentText(), "Custom 15 x 17 (Can be up to 51 x 51)");
    EXPECT_EQ(cols.value(), 15);
    EXPECT_EQ(rows.value(), 17);
    EXPECT_EQ(Rows, 17);

    SetPuzzleDimensions(9, 9, true); // the custom item names the size, the list item wins
    EXPECT_EQ(list.itemText(list.count() - 1), "Custom 9 x 9 (Can be up to 51 x 51)");
    EXPECT_EQ(list.currentText(), "9 x 9");

    PatAuxControls = TPatAuxControls{};
    SetPuzzleDimensions(7, 5, false); // without controls only the globals change
    EXPECT_EQ(Columns, 7);
    EXPECT_EQ(Rows, 5);
}

TEST_F(PatAuxTest, SlotMarksAcrossDownAndBoth)
{
    // A 3-letter across slot crossing a 3-letter down slot in the middle.
    loadGrid({"#.#", "...", "#.#"});
    const int expected[3][3] = {{0, 2, 0}, {1, 3, 1}, {0, 2, 0}};
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 3; ++c)
            EXPECT_EQ(SlotMatchOfCell(c, r, 3), expected[r - 1][c - 1]) << c << "," << r;

    HighlightSlotsOfLength(3);
    EXPECT_EQ(CurrentSlotMarks().size(), 5);
    EXPECT_TRUE(balloons.isEmpty());

    // Paint onto a white page: 20 pixels a cell.
    InchesPerPixel = 0.25 / 20;
    ViewPageRect = {0, 0, 8.5, 11};
    PuzzleGridLeft = PuzzleGridTop = 0;
    PuzzleLineInset = 0;
    CurrentPage = PuzzlePage = 1;
    QImage image(60, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        PaintSlotMarks(painter);
    }
    const QRgb white = qRgb(255, 255, 255);
    const QRgb bar = qRgb(0x7F, 0x7F, 0x7F); // white XOR $808080
    EXPECT_EQ(image.pixel(2, 30), bar);      // across bar of cell (1,2)
    EXPECT_EQ(image.pixel(2, 21), white);    // above the bar, inside the cell's top fifth
    EXPECT_EQ(image.pixel(30, 2), bar);      // down bar of cell (2,1)
    EXPECT_EQ(image.pixel(22, 2), white);    // left of the down bar
    EXPECT_EQ(image.pixel(2, 2), white);     // block
    const QRgb centre = image.pixel(30, 30); // both bars, then the silver centre
    EXPECT_NE(centre, white);
    EXPECT_NE(centre, bar);
    EXPECT_EQ(image.pixel(22, 30), bar); // only the across bar at the crossing's left edge

    HighlightSlotsOfLength(3); // the release takes the marks away again
    EXPECT_TRUE(CurrentSlotMarks().isEmpty());

    CurrentPage = 5; // neither the grid page nor the solution page: nothing drawn
    HighlightSlotsOfLength(3);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        PaintSlotMarks(painter);
    }
    EXPECT_EQ(image.pixel(30, 30), white);
}

TEST_F(PatAuxTest, NoSlotBalloonShowsOncePerPressAndRelease)
{
    loadGrid({"#.#", "...", "#.#"});
    HighlightSlotsOfLength(7); // press
    HighlightSlotsOfLength(7); // release
    ASSERT_EQ(balloons.size(), 1);
    EXPECT_EQ(balloons[0], "There is no slot for a 7-letter word. Please try another word size. "
                           "Hold down the mouse button as long as needed.");
    EXPECT_EQ(balloonSeconds, 4);
    HighlightSlotsOfLength(7);
    EXPECT_EQ(balloons.size(), 2);
    // The release went elsewhere; a call that marks cells forgets the balloon, so the next
    // press without a slot shows it again.
    HighlightSlotsOfLength(3);
    HighlightSlotsOfLength(3);
    HighlightSlotsOfLength(7);
    EXPECT_EQ(balloons.size(), 3);
    HighlightSlotsOfLength(7);

    GridUpdating = true;
    HighlightSlotsOfLength(7);
    HighlightSlotsOfLength(3);
    EXPECT_EQ(balloons.size(), 3);
    EXPECT_TRUE(CurrentSlotMarks().isEmpty());
}

TEST_F(PatAuxTest, MainWindowBoundsComeBackUnderTheGuard)
{
    QWidget window;
    PatAuxControls.MainForm = &window;
    Top = 40;
    Left = 30;
    Width = 500;
    Height = 300;
    RestoreMainFormBounds();
    EXPECT_EQ(window.size(), QSize(500, 300));
    EXPECT_EQ(window.pos(), QPoint(30, 40));
    EXPECT_FALSE(MainFormBoundsRestored);
}
