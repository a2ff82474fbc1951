// The edit controls' own undo after the document was replaced: Ctrl+Z in the word-and-clue
// editor or a title field never brings back the text that the program replaced, and undoes and
// redoes what the user typed there.
#include "mainwindowtest.h"

#include "checkpts.h"
#include "cluesedit.h"
#include "hintfm.h"
#include "uidialogs.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <functional>

namespace {

const QString kGarden = QStringLiteral(TRV_TEST_DATA "/main/garden.trv");
const QString kRich = QStringLiteral(TRV_TEST_DATA "/clues/rich.trv");

class EditorUndoTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(m_docs.isValid());
        m_garden = m_docs.filePath("garden.trv");
        m_rich = m_docs.filePath("rich.trv");
        m_list = m_docs.filePath("birds.thm");
        ASSERT_TRUE(QFile::copy(kGarden, m_garden));
        ASSERT_TRUE(QFile::copy(kRich, m_rich));
        writeFile(m_list, "HERON\tA wading bird\r\nWREN\tA small bird\r\n");
    }

    /** A shown window with garden.trv open and typing of the user's in its word list. */
    TMainFm *gardenWithTyping()
    {
        TMainFm *window = makeReadyWindow();
        window->resize(1000, 700);
        window->show();
        QApplication::setActiveWindow(window);
        EXPECT_TRUE(window->OpenPuzzleFileOrUrl(m_garden));
        focusEditor(window);
        window->ClueEditor->SetCaret(0, 5);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("zz"));
        EXPECT_EQ(window->ClueEditor->GetEntryText(0), QStringLiteral("CATSzz\tPets that purr"));
        return window;
    }

    static void focusEditor(TMainFm *window)
    {
        QCoreApplication::processEvents(); // a closed balloon hands the activation back first
        QApplication::setActiveWindow(window);
        window->ShowNotebookPage(1);
        window->ClueEditor->setFocus();
        QCoreApplication::processEvents();
        ASSERT_EQ(QApplication::focusWidget(), window->ClueEditor);
    }

    static void key(int k, Qt::KeyboardModifiers mods = Qt::ControlModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(k), mods);
    }

    QTemporaryDir m_docs;
    QString m_garden, m_rich, m_list;
};

TEST_F(EditorUndoTest, CtrlZAfterTheListWasReplacedUndoesOnlyNewTyping)
{
    ScriptedPrompter prompter; // "save the current puzzle?" is answered No
    ScriptedUiDialogs dialogs;
    const struct {
        const char *name;
        std::function<void(TMainFm *)> run;
        const char *firstWord; // the list's first word afterwards; empty for an empty list
    } cases[] = {
        {"open another puzzle", [&](TMainFm *w) { ASSERT_TRUE(w->OpenPuzzleFileOrUrl(m_rich)); }, "CAT"},
        {"open the same puzzle again", [&](TMainFm *w) { ASSERT_TRUE(w->OpenPuzzleFileOrUrl(m_garden)); },
         "CATS"},
        {"New", [](TMainFm *w) { w->mFileNew->trigger(); }, ""},
        {"Close", [](TMainFm *w) { w->mFileClose->trigger(); }, ""},
        {"import a word list",
         [&](TMainFm *w) {
             dialogs.FileNames = {m_list};
             w->mCluesImportClick();
         },
         "CATSzz"},
        {"whole-puzzle undo of a clear",
         [](TMainFm *w) {
             w->ThemeClearLnkClick();
             ASSERT_EQ(w->CountListedWords(), 0);
             w->UndoSpBtnClick();
         },
         "CATSzz"},
        {"whole-puzzle redo of an import",
         [&](TMainFm *w) {
             dialogs.FileNames = {m_list};
             w->mCluesImportClick();
             w->UndoSpBtnClick();
             w->RedoSpBtnClick();
             ASSERT_EQ(w->ClueEditor->GetWord(3), "HERON");
         },
         "CATSzz"},
        {"example list shown and put back",
         [](TMainFm *w) {
             w->ExampleLnkClick();
             ASSERT_EQ(w->ClueEditor->GetWord(0), "NewJersey");
             w->HintFm->CloseBalloon();
         },
         "CATSzz"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        prompter.answers = {Prompter::No, Prompter::No};
        TMainFm *window = gardenWithTyping();
        c.run(window);
        const QString replaced = window->ClueEditor->GetAllText();
        EXPECT_EQ(window->ClueEditor->GetWord(0), QLatin1String(c.firstWord));
        const bool modified = window->IsModified();

        focusEditor(window);
        key(Qt::Key_Z);
        EXPECT_EQ(window->ClueEditor->GetAllText(), replaced);
        EXPECT_EQ(window->IsModified(), modified);
        key(Qt::Key_Y);
        EXPECT_EQ(window->ClueEditor->GetAllText(), replaced);

        window->ClueEditor->SetCaret(0, 1);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("q"));
        const QString typed = window->ClueEditor->GetAllText();
        ASSERT_EQ(typed, QStringLiteral("q") + replaced);
        key(Qt::Key_Z);
        EXPECT_EQ(window->ClueEditor->GetAllText(), replaced);
        key(Qt::Key_Z);
        EXPECT_EQ(window->ClueEditor->GetAllText(), replaced) << "no undo behind the replaced list";
        key(Qt::Key_Y);
        EXPECT_EQ(window->ClueEditor->GetAllText(), typed);
    }
}

// The puzzle-type switch keeps the list as it is: the editor's undo still goes over the user's
// own typing in it, and no further.
TEST_F(EditorUndoTest, TypeSwitchKeepsTheListAndItsTyping)
{
    ScriptedPrompter prompter;
    prompter.answers = {Prompter::No};
    TMainFm *window = gardenWithTyping();
    const QString typed = window->ClueEditor->GetAllText();
    window->ChangePuzzleType(0);
    ASSERT_TRUE(FreeformMode);
    EXPECT_EQ(window->ClueEditor->GetAllText(), typed);
    focusEditor(window);
    key(Qt::Key_Z);
    EXPECT_EQ(window->ClueEditor->GetEntryText(0), QStringLiteral("CATS\tPets that purr"));
    key(Qt::Key_Z);
    EXPECT_EQ(window->ClueEditor->GetEntryText(0), QStringLiteral("CATS\tPets that purr"));
    EXPECT_GT(window->CountListedWords(), 0);
    key(Qt::Key_Y);
    EXPECT_EQ(window->ClueEditor->GetAllText(), typed);
}

// A title field's own undo does not reach into the puzzle that was open before, even when the
// new puzzle's title reads the same.
TEST_F(EditorUndoTest, TitleFieldsForgetThePreviousPuzzlesTyping)
{
    ScriptedPrompter prompter;
    const struct {
        const char *name;
        std::function<void(TMainFm *)> run;
    } cases[] = {
        {"open another puzzle", [&](TMainFm *w) { ASSERT_TRUE(w->OpenPuzzleFileOrUrl(m_rich)); }},
        {"open the same puzzle again", [&](TMainFm *w) { ASSERT_TRUE(w->OpenPuzzleFileOrUrl(m_garden)); }},
        {"whole-puzzle undo",
         [](TMainFm *w) {
             TakeCheckPoint(TCheckPointKind::Layout, QStringLiteral("resize grid"));
             w->UndoSpBtnClick();
         }},
        {"New", [](TMainFm *w) { w->mFileNew->trigger(); }},
        {"Close", [](TMainFm *w) { w->mFileClose->trigger(); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        prompter.answers = {Prompter::No};
        TMainFm *window = gardenWithTyping();
        QApplication::setActiveWindow(window);
        window->ShowNotebookPage(0);
        window->TitleEd->setFocus();
        QCoreApplication::processEvents();
        ASSERT_EQ(QApplication::focusWidget(), window->TitleEd);
        window->TitleEd->end(false);
        // Typed and taken back: the title reads as in the file, its undo history holds the typing.
        QTest::keyClicks(window->TitleEd, QStringLiteral("xy"));
        key(Qt::Key_Backspace, Qt::NoModifier);
        key(Qt::Key_Backspace, Qt::NoModifier);
        ASSERT_EQ(window->TitleEd->text(), "Garden Friends");
        ASSERT_TRUE(window->TitleEd->isUndoAvailable());

        c.run(window);
        const QString title = window->TitleEd->text();
        const QString subtitle = window->SubtitleEd->text();
        for (QLineEdit *edit : {window->TitleEd, window->SubtitleEd}) {
            edit->setFocus();
            QCoreApplication::processEvents();
            key(Qt::Key_Z);
        }
        EXPECT_EQ(window->TitleEd->text(), title);
        EXPECT_EQ(window->SubtitleEd->text(), subtitle);
    }
}

} // namespace
