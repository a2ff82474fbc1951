// Typing a title on a puzzle whose pages are full: every key lands in the field, and the page
// question that a spill raises comes once, after the edit, and once per puzzle.
#include "mainwindowtest.h"

#include "autolayout.h"
#include "checkpts.h"
#include "globals.h"
#include "layoutsettings.h"
#include "uidialogs.h"
#include "wysiwyg.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

namespace {

const QString kPuzzle13 = QStringLiteral(TRV_TEST_DATA) + "/layout/puzzle13.trv";
// Longer than the pause that ends a title edit.
constexpr int kPause = TMainFm::TitleEditPauseMs + 300;

class TitleEditTest : public MainWindowTest
{
protected:
    // The puzzle laid out on two puzzle pages without a title, asked or not; the title field
    // focused.
    TMainFm *twoPagePuzzle(TMainFm *window, ScriptedPageChooser &chooser, bool asked)
    {
        if (!window)
            window = makeReadyWindow(kPuzzle13);
        else {
            window->ReadPuzzleFile(kPuzzle13);
            window->AfterPuzzleOpened(kPuzzle13);
        }
        DocControls.AutoLayout = true;
        window->AutoLayoutCB->setChecked(true);
        AutoLayoutPageChoice = 1;
        AutoLayout_OnSpill = true;
        DocControls.PuzzleTitle.clear();
        window->TitleEd->setText(QString());
        AskBeforeUsingTwoPages = asked;
        chooser.Answers = {{TPageChoice::TwoPages, false}};
        RunAutoLayout(0);
        AskBeforeUsingTwoPages = true;
        EXPECT_EQ(chooser.Asked, asked ? 1 : 0);
        EXPECT_EQ(PageCount, 3);
        chooser.Asked = 0;
        chooser.Answers = {{TPageChoice::TwoPages, false}, {TPageChoice::TwoPages, false}};
        window->show();
        QApplication::setActiveWindow(window);
        window->ShowNotebookPage(0);
        window->TitleEd->setFocus();
        QCoreApplication::processEvents();
        EXPECT_EQ(QApplication::focusWidget(), window->TitleEd);
        return window;
    }

    ScriptedPrompter prompter;
    ScriptedUiDialogs forms;
};

TEST_F(TitleEditTest, TheQuestionWaitsForTheEditAndComesOncePerPuzzle)
{
    ScriptedPageChooser chooser;
    TMainFm *window = twoPagePuzzle(nullptr, chooser, false);

    // The first key makes the title block and the page spills: nothing is asked while typing.
    const QString typed = QStringLiteral("Abcdef ghijk lmnop");
    QTest::keyClicks(window->TitleEd, typed, Qt::NoModifier, 20);
    EXPECT_EQ(window->TitleEd->text(), typed);
    EXPECT_EQ(chooser.Asked, 0) << "asked while typing";

    // A pause ends the edit.
    QTest::qWait(kPause);
    EXPECT_EQ(chooser.Asked, 1);
    EXPECT_EQ(window->TitleEd->text(), typed);
    EXPECT_EQ(DocControls.PuzzleTitle, typed);

    // Emptied and typed again, then focus leaves the field: the same answer, not a new question.
    window->TitleEd->selectAll();
    QTest::keyClick(window->TitleEd, Qt::Key_Backspace);
    QTest::keyClicks(window->TitleEd, QStringLiteral("Birds"));
    window->SubtitleEd->setFocus();
    QCoreApplication::processEvents();
    QTest::qWait(kPause);
    EXPECT_EQ(chooser.Asked, 1);
    EXPECT_EQ(window->TitleEd->text(), QStringLiteral("Birds"));
    EXPECT_EQ(PageCount, 3);
}

TEST_F(TitleEditTest, APuzzleWhoseLayoutAskedIsNotAskedAgainByATitleEdit)
{
    ScriptedPageChooser chooser;
    TMainFm *window = twoPagePuzzle(nullptr, chooser, false);
    // Another puzzle, whose own layout asked the question.
    twoPagePuzzle(window, chooser, true);
    QTest::keyClicks(window->TitleEd, QStringLiteral("Fish"));
    window->RunPendingTitleLayout();
    EXPECT_EQ(chooser.Asked, 0);
    EXPECT_EQ(window->TitleEd->text(), QStringLiteral("Fish"));
    EXPECT_TRUE(UndoRedoState().UndoCaption.contains(QStringLiteral("Auto-Layout")))
        << "the expert ran for the edit";
    EXPECT_EQ(PageCount, 3);
}

} // namespace
