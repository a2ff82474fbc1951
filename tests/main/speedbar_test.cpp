// The grid commands of the speed bar: erase all letters (twice for the fixed ones too), exchange
// across and down, and undo and redo with their captions.
#include "mainwindowtest.h"

#include "checkpts.h"
#include "trv600.h"

#include <QAction>
#include <QToolButton>

namespace {

const QString kFilled = QStringLiteral(TRV_TEST_DATA) + "/main/filled15.trv";

class SpeedBarTest : public MainWindowTest
{
protected:
    TMainFm *open() { return makeReadyWindow(kFilled); }
    void TearDown() override
    {
        MainFormReady = false;
        MainWindowTest::TearDown();
    }
};

TEST_F(SpeedBarTest, EraseAllLettersTwiceTakesTheFixedLettersToo)
{
    TMainFm *window = open();
    EXPECT_FALSE(window->UndoSpBtn->isEnabled());
    EXPECT_FALSE(window->mEditUndo->isEnabled());

    window->EraseLettersAllSpBtn->click();
    EXPECT_EQ(TRVGetCell(5, 1), TRV_EMPTY); // the engine's letter
    EXPECT_EQ(TRVGetCell(1, 1), 'S');       // the fixed one stays
    EXPECT_EQ(TRVGetCell(4, 1), TRV_BLOCK);
    EXPECT_TRUE(window->IsModified());
    EXPECT_EQ(window->mEditUndo->text(), "Undo erase all filler letters");
    EXPECT_EQ(window->UndoSpBtn->statusTip(), "Undo erase all filler letters");

    window->EraseLettersAllSpBtn->click();
    EXPECT_EQ(TRVGetCell(1, 1), TRV_EMPTY);
    EXPECT_EQ(window->mEditUndo->text(), "Undo erase fixed letters");

    // Undo brings the fixed letters back, and again the engine's; redo goes forward again.
    window->UndoSpBtn->click();
    EXPECT_EQ(TRVGetCell(1, 1), 'S');
    EXPECT_EQ(TRVGetCell(5, 1), TRV_EMPTY);
    window->mEditUndo->trigger();
    EXPECT_EQ(TRVGetCell(5, 1), 'a');
    EXPECT_FALSE(window->UndoSpBtn->isEnabled());
    ASSERT_TRUE(window->RedoSpBtn->isEnabled());
    window->RedoSpBtn->click();
    EXPECT_EQ(TRVGetCell(5, 1), TRV_EMPTY);
    EXPECT_EQ(TRVGetCell(1, 1), 'S');
}

TEST_F(SpeedBarTest, AnotherCommandBetweenTheTwoErasesKeepsTheFixedLetters)
{
    TMainFm *window = open();
    window->EraseLettersAllSpBtn->click();
    window->EraseLettersSpBtn->click(); // a tool click ends the toggle
    window->EraseLettersAllSpBtn->click();
    EXPECT_EQ(TRVGetCell(1, 1), 'S');
}

TEST_F(SpeedBarTest, ExchangeSwapsTheKeyCursor)
{
    TMainFm *window = open();
    window->KeyCursorCol = 3;
    window->KeyCursorRow = 7;
    const char letter = TRVGetCell(3, 7);
    window->ExchangeAcrossDownSpBtn->click();
    EXPECT_EQ(QPoint(window->KeyCursorCol, window->KeyCursorRow), QPoint(7, 3));
    EXPECT_EQ(TRVGetCell(7, 3), letter);
}

} // namespace
