// Editing the grid in the document view: typing at the key cursor, the arrow keys, pattern
// painting, erasing letters and words, the zoom tool and the key cursor's blink.
#include "mainwindowtest.h"

#include "alphabet.h"
#include "checkpts.h"
#include "trv600.h"
#include "viewport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>

#include <cmath>

namespace {

const QString kFilled = QStringLiteral(TRV_TEST_DATA) + "/main/filled15.trv";

QPoint centreOf(int c, int r)
{
    const TPixelRect rect = CellPixelRect(c, r);
    return QPoint((rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2);
}

char cell(int c, int r) { return TRVGetCell(c, r); }

class GridEditTest : public MainWindowTest
{
protected:
    TMainFm *open(const QString &file = kFilled)
    {
        TMainFm *window = makeReadyWindow(file);
        window->setWindowState(Qt::WindowNoState);
        window->resize(1000, 700);
        window->show();
        QApplication::setActiveWindow(window);
        QCoreApplication::processEvents();
        window->PixelsPerInch = 96;
        window->ShowPenciledView();
        window->ViewPortPaint();
        return window;
    }
    // The typing tool, with the keyboard on the grid.
    void startTyping(TMainFm *window, int c, int r)
    {
        window->KeyCursorCol = c;
        window->KeyCursorRow = r;
        window->VPCursorLetterSpBtnClick();
        ASSERT_TRUE(window->ViewHasFocus());
        ASSERT_EQ(window->ViewTool, 1);
    }
    void key(TMainFm *window, int code, const QString &text = QString())
    {
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text);
        QApplication::sendEvent(window->ViewPortFocus, &press);
    }
    void type(TMainFm *window, const QString &text)
    {
        for (QChar c : text)
            key(window, 0, QString(c));
    }
    void TearDown() override
    {
        MainFormReady = false;
        MainWindowTest::TearDown();
    }
};

// ---- Keys -----------------------------------------------------------------------------------------

TEST_F(GridEditTest, ArrowKeysWrapAtBothCorners)
{
    TMainFm *window = open();
    startTyping(window, 1, 1);
    const struct {
        int col, row, key, wantCol, wantRow;
    } cases[] = {
        {15, 1, Qt::Key_Right, 1, 2}, {15, 15, Qt::Key_Right, 1, 1}, {1, 2, Qt::Key_Left, 15, 1},
        {1, 1, Qt::Key_Left, 15, 15}, {1, 15, Qt::Key_Down, 2, 1},   {15, 15, Qt::Key_Down, 1, 1},
        {2, 1, Qt::Key_Up, 1, 15},    {1, 1, Qt::Key_Up, 15, 15},    {7, 7, Qt::Key_Right, 8, 7},
    };
    for (const auto &t : cases) {
        window->KeyCursorCol = t.col;
        window->KeyCursorRow = t.row;
        key(window, t.key);
        EXPECT_EQ(QPoint(window->KeyCursorCol, window->KeyCursorRow), QPoint(t.wantCol, t.wantRow))
            << "from " << t.col << "," << t.row << " key " << t.key;
    }
}

TEST_F(GridEditTest, TypingWritesFixedLettersAndMovesOn)
{
    PencilThemeColor = true;
    TMainFm *window = open();
    ASSERT_EQ(cell(4, 1), TRV_BLOCK);
    const struct {
        int col, row;
        QString typed;
        char wantCell; // what the cell holds afterwards
        int wantCol, wantRow;
    } cases[] = {
        {15, 15, "x", 'X', 1, 1},     // the last cell across goes on to the first
        {4, 1, "b", TRV_BLOCK, 5, 1}, // a block takes nothing, the cursor still moves
        {5, 1, " ", TRV_EMPTY, 6, 1}, // a blank empties the cell
        {2, 2, "q", 'Q', 3, 2},       // lower case becomes a fixed capital
    };
    for (const auto &t : cases) {
        startTyping(window, t.col, t.row);
        type(window, t.typed);
        EXPECT_EQ(cell(t.col, t.row), t.wantCell) << t.col << "," << t.row;
        EXPECT_EQ(QPoint(window->KeyCursorCol, window->KeyCursorRow), QPoint(t.wantCol, t.wantRow));
        window->ShowKeyCursor(0, 0, false);
        window->ViewTool = 0;
    }
    EXPECT_TRUE(TRVIsCellFixed(2, 2));
    EXPECT_TRUE(window->IsModified());

    // The fixed letter is drawn green.
    window->FlushCellPaints();
    const TPixelRect box = CellPixelRect(2, 2);
    int green = 0;
    for (int y = box.Top; y < box.Bottom; ++y)
        for (int x = box.Left; x < box.Right; ++x) {
            const QColor p = window->WorkBitmap().pixelColor(x, y);
            green += p.green() > p.red() + 40 && p.green() > p.blue() + 40;
        }
    EXPECT_GT(green, 3);
}

TEST_F(GridEditTest, FiveLettersAreOneUndoStep)
{
    TMainFm *window = open();
    const int before = UndoCount();
    startTyping(window, 1, 2);
    type(window, "abcde");
    EXPECT_EQ(UndoCount(), before + 1);
    EXPECT_EQ(cell(5, 2), 'E');
    UndoCheckPoint();
    QString row;
    for (int c = 1; c <= 5; ++c)
        row += QChar(cell(c, 2));
    EXPECT_EQ(row, "yuppi");
}

TEST_F(GridEditTest, BackspaceIsUndoableAndMarksTheDocumentModified)
{
    TMainFm *window = open();
    ASSERT_FALSE(window->IsModified());
    startTyping(window, 3, 2);
    key(window, Qt::Key_Backspace);
    EXPECT_EQ(QPoint(window->KeyCursorCol, window->KeyCursorRow), QPoint(2, 2));
    EXPECT_EQ(cell(2, 2), TRV_EMPTY);
    EXPECT_TRUE(window->IsModified());
    ASSERT_EQ(UndoCount(), 1);
    UndoCheckPoint();
    EXPECT_EQ(cell(2, 2), 'u');
    RedoCheckPoint();
    EXPECT_EQ(cell(2, 2), TRV_EMPTY);
}

TEST_F(GridEditTest, TypedWordAndBackspaceGoAndComeBackWithUndoAndRedo)
{
    TMainFm *window = open();
    auto row2 = [] {
        QString text;
        for (int c = 2; c <= 4; ++c)
            text += cell(c, 2) == TRV_EMPTY ? QChar('-') : QChar(cell(c, 2));
        return text;
    };
    window->VPCursorLetterSpBtnClick();
    window->ViewPortMouseDown(Qt::LeftButton, {}, centreOf(2, 2));
    window->ViewPortMouseUp(Qt::LeftButton, centreOf(2, 2));
    type(window, "cat");
    key(window, Qt::Key_Backspace);
    EXPECT_EQ(row2(), "CA-");
    EXPECT_TRUE(window->IsModified());
    window->ViewPortPaint();
    UndoCheckPoint();
    EXPECT_EQ(row2(), "upp");
    EXPECT_TRUE(window->ComposePending()); // the view shows the restored grid
    window->ViewPortPaint();
    RedoCheckPoint();
    EXPECT_EQ(row2(), "CA-");
    EXPECT_TRUE(window->ComposePending());
}

// ---- Key cursor -------------------------------------------------------------------------------------

TEST_F(GridEditTest, KeyCursorShowsAtOnceBlinksAndHidesWithTheFocus)
{
    TMainFm *window = open();
    startTyping(window, 3, 3);
    EXPECT_TRUE(window->ViewPort->KeyCursorMark().Shown);
    EXPECT_TRUE(window->KeyCursorTimer->isActive());
    window->KeyCursorTimerTimer();
    EXPECT_FALSE(window->ViewPort->KeyCursorMark().Shown);
    window->KeyCursorTimerTimer();
    EXPECT_TRUE(window->ViewPort->KeyCursorMark().Shown);

    window->TitleEd->setFocus();
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->ViewPort->KeyCursorMark().Shown);
    EXPECT_FALSE(window->KeyCursorTimer->isActive());
}

TEST_F(GridEditTest, KeyCursorShowsOnlyOnTheGridPageWithTheTypingTool)
{
    TMainFm *window = open();
    const struct {
        const char *view;
        int tool;
        bool shown;
    } cases[] = {
        {"Penciled-In Grid*", 1, true},  {"Penciled-In Grid*", 2, true},  {"Page 1", 1, true},
        {"Penciled-In Grid*", 3, false}, {"Penciled-In Grid*", 0, false}, {"Solution", 1, false},
    };
    for (const auto &t : cases) {
        window->ShowViewTab(t.view);
        window->ViewPortFocus->setFocus();
        window->ViewTool = t.tool;
        window->VPKeyCursorUpdate();
        EXPECT_EQ(window->ViewPort->KeyCursorMark().Shown, t.shown) << t.view << " tool " << t.tool;
    }
}

// ---- Mouse --------------------------------------------------------------------------------------------

TEST_F(GridEditTest, PressOnTheKeyCursorsCellTurnsTheTypingDirection)
{
    TMainFm *window = open();
    startTyping(window, 2, 3);
    window->ViewPortMouseDown(Qt::LeftButton, {}, centreOf(2, 3));
    EXPECT_EQ(window->TypingDirection, 2);
    EXPECT_EQ(window->ViewTool, 2);
    window->ViewPortMouseDown(Qt::LeftButton, {}, centreOf(1, 7));
    EXPECT_EQ(QPoint(window->KeyCursorCol, window->KeyCursorRow), QPoint(1, 7));
    EXPECT_EQ(window->TypingDirection, 2);
    type(window, "zz");
    EXPECT_EQ(cell(1, 8), 'Z'); // typing down now
}

TEST_F(GridEditTest, PatternDragLeavesTheCellsBesideACornerAlone)
{
    TMainFm *window = open(QString()); // the new freeform grid: all open, no symmetry
    window->PatternEditSpBtn->setChecked(true);
    window->PatternEditSpBtnClick();
    window->ViewPortPaint();
    const TPixelRect a = CellPixelRect(3, 3);
    window->ViewPortMouseDown(Qt::LeftButton, {}, centreOf(3, 3));
    // Along the diagonal through the corner of (3,3) and (4,4), just inside the two cells
    // beside that corner, then on into (4,4).
    for (const QPoint &p :
         {QPoint(a.Right - 2, a.Bottom - 2), QPoint(a.Right + 1, a.Bottom - 2),
          QPoint(a.Right - 2, a.Bottom + 1), QPoint(a.Right + 1, a.Bottom + 1), centreOf(4, 4)})
        window->ViewPortMouseMove(Qt::LeftButton, p);
    window->ViewPortMouseUp(Qt::LeftButton, centreOf(4, 4));
    EXPECT_EQ(cell(3, 3), TRV_BLOCK);
    EXPECT_EQ(cell(4, 4), TRV_BLOCK);
    EXPECT_EQ(cell(4, 3), TRV_EMPTY);
    EXPECT_EQ(cell(3, 4), TRV_EMPTY);

    // The right button removes a cell, and restores it.
    window->ViewPortMouseDown(Qt::RightButton, {}, centreOf(8, 8));
    window->ViewPortMouseUp(Qt::RightButton, centreOf(8, 8));
    EXPECT_EQ(cell(8, 8), TRV_REMOVED);
    window->ViewPortMouseDown(Qt::RightButton, {}, centreOf(8, 8));
    window->ViewPortMouseUp(Qt::RightButton, centreOf(8, 8));
    EXPECT_EQ(cell(8, 8), TRV_EMPTY);
    EXPECT_TRUE(window->IsModified());
}

TEST_F(GridEditTest, EraseClickIsAnUndoableModification)
{
    TMainFm *window = open();
    ASSERT_FALSE(window->IsModified());
    window->EraseLettersSpBtnClick();
    ASSERT_EQ(window->ViewTool, 3);
    window->ViewPortMouseDown(Qt::LeftButton, {}, centreOf(5, 1));
    window->ViewPortMouseUp(Qt::LeftButton, centreOf(5, 1));
    EXPECT_EQ(cell(5, 1), TRV_EMPTY);
    EXPECT_TRUE(window->IsModified());
    UndoCheckPoint();
    EXPECT_EQ(cell(5, 1), 'a');
}

TEST_F(GridEditTest, RightClickWordEraseRejectsWholeWordsOnce)
{
    TMainFm *window = open();
    window->RejectWordSpBtnClick();
    ASSERT_EQ(window->ViewTool, 11);
    // Columns 9..11 of row 1 are a three-letter slot between blocks.
    auto rejectRow1 = [&](const char *letters) {
        for (int i = 0; i < 3; ++i)
            TRVSetCellOnly(9 + i, 1, letters[i]);
        window->ViewPortMouseDown(Qt::RightButton, {}, centreOf(9, 1));
        window->ViewPortMouseMove(Qt::RightButton, centreOf(11, 1));
        window->ViewPortMouseUp(Qt::RightButton, centreOf(11, 1));
    };
    rejectRow1("ice");
    EXPECT_EQ(cell(9, 1), TRV_EMPTY);
    EXPECT_EQ(cell(11, 1), TRV_EMPTY);
    rejectRow1("ice");
    EXPECT_EQ(window->GlueRejectWordsMemo->toPlainText(), "ICE");
    rejectRow1("i\x02"
               "e"); // a word with an empty cell rejects nothing
    EXPECT_EQ(window->GlueRejectWordsMemo->toPlainText(), "ICE");

    // The empty cell is taken as its mark character, never as the control code.
    TRVSetCellOnly(9, 1, 'i');
    TRVSetCellOnly(10, 1, TRV_EMPTY);
    TRVSetCellOnly(11, 1, 'e');
    EXPECT_EQ(window->TakeWordAt(10, 1, 1), "i-e");
}

TEST_F(GridEditTest, ZoomToolStopsAtItsLimitsAndKeepsThePointUnderThePointer)
{
    TMainFm *window = open();
    window->ZoomInSpBtnClick();
    ASSERT_EQ(window->ViewTool, 14);
    const QPoint at = centreOf(8, 8);
    double beforeX = 0, beforeY = 0, afterX = 0, afterY = 0;
    PixelToPage(at.x(), at.y(), &beforeX, &beforeY);
    window->ViewPortMouseDown(Qt::LeftButton, {}, at);
    PixelToPage(at.x(), at.y(), &afterX, &afterY);
    EXPECT_NEAR(afterX, beforeX, 2 * InchesPerPixel);
    EXPECT_NEAR(afterY, beforeY, 2 * InchesPerPixel);
    EXPECT_EQ(window->ViewTabCaption(), "Custom");

    for (int i = 0; i < 40; ++i)
        window->ViewPortMouseDown(Qt::LeftButton, {}, at);
    EXPECT_GE(window->Zoom, 500);
    EXPECT_LT(window->Zoom, 550);
    for (int i = 0; i < 60; ++i)
        window->ViewPortMouseDown(Qt::RightButton, {}, at);
    // The lowest step above 10 that a cell of whole pixels allows.
    EXPECT_GE(window->Zoom, 10);
    EXPECT_LT(window->Zoom, 10 / 0.75);
}

} // namespace
