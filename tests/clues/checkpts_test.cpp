// Checkpoints: the pool, coalescing, undo and redo of whole puzzles, captions and histories.
#include "testdoc.h"

namespace {

class CheckPointTest : public DocTest
{
protected:
    void SetUp() override
    {
        DocTest::SetUp();
        setGrid({"---", "---", "---"});
        CreateCheckPointPool(30);
    }
    void TearDown() override
    {
        FreeCheckPointPool();
        DocTest::TearDown();
    }
    static QStringList puzzleText()
    {
        QStringList list;
        WritePuzzleToStrings(list);
        return list;
    }
    // Types one fixed letter the way grid typing does: the checkpoint first, then the change.
    static void typeLetter(int column, QChar letter)
    {
        TakeCheckPoint(TCheckPointKind::Typing, QStringLiteral("typing of fixed letters"));
        SetCellLetter(column, 1, letter);
        CluesNeedRebuild = true;
    }
};

TEST_F(CheckPointTest, TheThirtyFirstCheckpointReusesTheOldest)
{
    for (int i = 1; i <= 31; ++i)
        TakeCheckPoint(TCheckPointKind::Layout, QStringLiteral("step %1").arg(i));
    EXPECT_EQ(UndoCount(), 30);
    const QStringList history = UndoHistoryText().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(history.size(), 30);
    EXPECT_EQ(history.first(), QStringLiteral("\tstep 31"));
    EXPECT_EQ(history.last(), QStringLiteral("\tstep 2"));
    UndoCheckPoint();
    EXPECT_EQ(UndoCount(), 28) << "the current state took the oldest step's snapshot, one was undone";
    EXPECT_TRUE(HasCurrentState());
    EXPECT_EQ(UndoCount() + RedoCount() + FreeCount() + 1, 30);
}

TEST_F(CheckPointTest, RunsOfTypingAndScrollingCoalesce)
{
    for (int i = 0; i < 5; ++i)
        typeLetter(1 + i % 3, QLatin1Char('A' + i));
    EXPECT_EQ(UndoCount(), 1);
    TakeCheckPoint(TCheckPointKind::Scroll, QStringLiteral("scroll"));
    TakeCheckPoint(TCheckPointKind::Scroll, QStringLiteral("scroll"));
    typeLetter(1, QLatin1Char('Z'));
    EXPECT_EQ(UndoCount(), 3) << "a scroll between letters starts a new run";
}

TEST_F(CheckPointTest, UndoThenRedoRestoresTheTextExactly)
{
    const QStringList before = puzzleText();
    TakeCheckPoint(TCheckPointKind::Layout, QStringLiteral("resize grid"));
    TRVResizeGrid(5, 4);
    CluesNeedRebuild = true;
    const QStringList after = puzzleText();
    UndoCheckPoint();
    EXPECT_EQ(puzzleText(), before);
    EXPECT_EQ(UndoRedoState().RedoCaption, QStringLiteral("Redo resize grid"));
    EXPECT_EQ(UndoRedoState().RedoHint, QStringLiteral("Redo|Redo resize grid"));
    EXPECT_FALSE(UndoRedoState().UndoEnabled);
    EXPECT_EQ(CurrentStateText(), QStringLiteral("\tresize grid"));
    RedoCheckPoint();
    EXPECT_EQ(puzzleText(), after);
    EXPECT_EQ(UndoRedoState().UndoCaption, QStringLiteral("Undo resize grid"));
    EXPECT_FALSE(UndoRedoState().RedoEnabled);
    EXPECT_EQ(words.EntryCount(), 1) << "no blank entry appears with undo and redo";
}

TEST_F(CheckPointTest, ScrollAndViewTabChangeKeepTheRedoList)
{
    TakeCheckPoint(TCheckPointKind::Pattern, QStringLiteral("pattern change"));
    TakeCheckPoint(TCheckPointKind::Letters, QStringLiteral("erase word"));
    UndoCheckPoint();
    ASSERT_EQ(RedoCount(), 1);
    TakeCheckPoint(TCheckPointKind::Scroll, QStringLiteral("scroll"));
    TakeCheckPoint(TCheckPointKind::ViewTab, QStringLiteral("view tab change"));
    EXPECT_EQ(RedoCount(), 1);
    TakeCheckPoint(TCheckPointKind::RejectWord, QStringLiteral("reject word"));
    EXPECT_EQ(RedoCount(), 0);
    EXPECT_FALSE(HasCurrentState());
}

TEST_F(CheckPointTest, TypingAfterAnUndoIsNeverLost)
{
    typeLetter(1, QLatin1Char('A'));
    const QStringList typedFirst = puzzleText();
    UndoCheckPoint();
    typeLetter(2, QLatin1Char('B'));
    const QStringList typedAfterUndo = puzzleText();
    RedoCheckPoint(); // nothing to redo any more: the new typing cleared the redo list
    EXPECT_EQ(puzzleText(), typedAfterUndo);
    EXPECT_NE(puzzleText(), typedFirst);
    UndoCheckPoint();
    EXPECT_EQ(GetCellLetter(2, 1), QChar(TRV_EMPTY));
    EXPECT_EQ(GetCellLetter(1, 1), QChar(TRV_EMPTY));
}

TEST_F(CheckPointTest, HistoryTextsListAtMostThirtyFive)
{
    CreateCheckPointPool(45);
    for (int i = 1; i <= 40; ++i)
        TakeCheckPoint(TCheckPointKind::Layout, QStringLiteral("step %1").arg(i));
    EXPECT_EQ(UndoHistoryText().count(QStringLiteral("\r\n")), 35);
    UndoCheckPoint();
    UndoCheckPoint();
    UndoCheckPoint();
    // Undone first at the top, most recently undone last.
    EXPECT_EQ(RedoHistoryText(), QStringLiteral("\t\r\n\tstep 40\r\n\tstep 39\r\n"));
    EXPECT_EQ(CurrentStateText(), QStringLiteral("\tstep 38"));
}

TEST_F(CheckPointTest, ClearLeavesNothingToUndoOrRedo)
{
    TakeCheckPoint(TCheckPointKind::Layout, QStringLiteral("resize grid"));
    TakeCheckPoint(TCheckPointKind::Layout, QStringLiteral("resize grid"));
    UndoCheckPoint();
    ClearCheckPoints();
    EXPECT_EQ(UndoCount(), 0);
    EXPECT_EQ(RedoCount(), 0);
    EXPECT_EQ(UndoRedoState().UndoCaption, QStringLiteral("Undo"));
    EXPECT_FALSE(UndoRedoState().RedoEnabled);
    UndoCheckPoint(); // refused quietly
    EXPECT_TRUE(prompter->boxes.isEmpty());
}

} // namespace
