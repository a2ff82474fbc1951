// The menus' keyboard shortcuts: the desktop's keys on the usual commands, no key twice, and the
// puzzle's Undo and Redo keys left to a text field or the word list that has the focus.
#include "mainwindowtest.h"

#include "checkpts.h"
#include "cluesedit.h"
#include "menukeys.h"
#include "uidialogs.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTest>
#include <QTextEdit>

#include <map>

namespace {

const QString kGarden = QStringLiteral(TRV_TEST_DATA "/main/garden.trv");

void collectItems(QMenu *menu, QList<QAction *> &items)
{
    for (QAction *action : menu->actions()) {
        if (action->isSeparator())
            continue;
        if (action->menu())
            collectItems(action->menu(), items);
        else
            items << action;
    }
}

TEST_F(MainWindowTest, MenuShortcutsAreTheDesktopKeysAndNoKeyIsUsedTwice)
{
    TMainFm *window = makeReadyWindow();
    // A key the item must have (other keys of the desktop's scheme may follow it).
    const std::map<QString, QStringList> expected = {
        {"mFileNew", {"Ctrl+N"}},
        {"mFileOpen", {"Ctrl+O"}},
        {"mFileSave", {"Ctrl+S"}},
        {"mFileSaveAs", {"Ctrl+Shift+S"}},
        {"mFilePrint", {"Ctrl+P"}},
        {"mFileClose", {"Ctrl+W"}},
        {"mFileExit", {"Ctrl+Q"}},
        {"mEditUndo", {"Ctrl+Z"}},
        {"mEditRedo", {"Ctrl+Shift+Z", "Ctrl+Y"}},
        {"mViewZoomIn", {"Ctrl++"}},
        {"mViewZoomOut", {"Ctrl+-"}},
        {"mHelpContents", {"F1"}},
    };
    // The word-and-clue editor's own keys stay its own.
    const QStringList editorKeys = {"Ctrl+A", "Ctrl+C", "Ctrl+V", "Ctrl+X"};

    QList<QAction *> items;
    for (QAction *menu : window->menuBar()->actions())
        collectItems(menu->menu(), items);
    std::map<QString, QString> owner; // key -> item
    int withKeys = 0;
    for (QAction *item : items) {
        SCOPED_TRACE(item->objectName().toStdString() + " " + item->text().toStdString());
        const auto wanted = expected.find(item->objectName());
        if (wanted == expected.end()) {
            EXPECT_TRUE(item->shortcuts().isEmpty());
            continue;
        }
        ++withKeys;
        QStringList keys;
        for (const QKeySequence &key : item->shortcuts())
            keys << key.toString(QKeySequence::PortableText);
        for (const QString &key : wanted->second)
            EXPECT_TRUE(keys.contains(key)) << key.toStdString() << " in " << keys.join(", ").toStdString();
        // The menu shows the first key beside the caption.
        EXPECT_EQ(item->shortcut().toString(QKeySequence::PortableText), keys.value(0));
        EXPECT_EQ(item->shortcutContext(), Qt::WindowShortcut);
        for (const QString &key : keys) {
            EXPECT_FALSE(editorKeys.contains(key)) << key.toStdString();
            const auto [place, fresh] = owner.emplace(key, item->objectName());
            EXPECT_TRUE(fresh) << key.toStdString() << " also on " << place->second.toStdString();
        }
    }
    EXPECT_EQ(withKeys, int(expected.size()));
}

// Whatever keys the desktop's scheme binds in the fields themselves: an editable field claims
// every undo and redo key before the menus' shortcuts see it.
TEST(TextFieldKeysTest, EditableFieldsKeepUndoAndRedoKeys)
{
    QLineEdit line, readOnlyLine;
    readOnlyLine.setReadOnly(true);
    QPlainTextEdit plain;
    QTextEdit rich, readOnlyRich;
    readOnlyRich.setReadOnly(true);
    QSpinBox spin;
    QWidget view;
    const struct {
        const char *name;
        QObject *receiver;
        bool keeps;
    } receivers[] = {
        {"line edit", &line, true},
        {"read-only line edit", &readOnlyLine, false},
        {"plain text", &plain, true},
        {"rich text", &rich, true},
        {"read-only text", &readOnlyRich, false},
        {"spin box", &spin, true},
        {"a widget without text", &view, false},
    };
    const struct {
        int key;
        Qt::KeyboardModifiers mods;
        bool editKey;
    } keys[] = {
        {Qt::Key_Z, Qt::ControlModifier, true}, {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, true},
        {Qt::Key_Y, Qt::ControlModifier, true}, {Qt::Key_S, Qt::ControlModifier, false},
        {Qt::Key_Z, Qt::AltModifier, false},
    };
    for (const auto &r : receivers)
        for (const auto &k : keys) {
            QKeyEvent override(QEvent::ShortcutOverride, k.key, k.mods);
            QKeyEvent press(QEvent::KeyPress, k.key, k.mods);
            EXPECT_EQ(TextFieldKeepsKey(r.receiver, override), r.keeps && k.editKey)
                << r.name << " key " << k.key;
            EXPECT_FALSE(TextFieldKeepsKey(r.receiver, press)) << r.name;
        }
}

class UndoKeysTest : public MainWindowTest
{
protected:
    /** A shown, active window with garden.trv open and one puzzle step to undo. */
    TMainFm *windowWithAStep()
    {
        TMainFm *window = makeReadyWindow();
        window->resize(1000, 700);
        window->show();
        QApplication::setActiveWindow(window);
        EXPECT_TRUE(window->OpenPuzzleFileOrUrl(kGarden));
        TakeCheckPoint(TCheckPointKind::Layout, QStringLiteral("a step"));
        EXPECT_TRUE(UndoRedoState().UndoEnabled);
        EXPECT_FALSE(UndoRedoState().RedoEnabled);
        return window;
    }
    static void focus(TMainFm *window, QWidget *widget, int page)
    {
        QCoreApplication::processEvents();
        QApplication::setActiveWindow(window);
        window->ShowNotebookPage(page);
        widget->setFocus();
        QCoreApplication::processEvents();
        ASSERT_EQ(QApplication::focusWidget(), widget);
    }
    static void key(int k, Qt::KeyboardModifiers mods = Qt::ControlModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(k), mods);
    }
    /** True while the puzzle's step is still there to undo (the puzzle's Undo did not run). */
    static bool puzzleUntouched() { return UndoRedoState().UndoEnabled && !UndoRedoState().RedoEnabled; }
};

TEST_F(UndoKeysTest, WithTheWordListFocusedTheKeysUndoItsTypingNotThePuzzle)
{
    ScriptedPrompter prompter;
    ScriptedUiDialogs dialogs;
    TMainFm *window = windowWithAStep();
    focus(window, window->ClueEditor, 1);
    window->ClueEditor->SetCaret(0, 5);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("zz"));
    const QString typed = window->ClueEditor->GetEntryText(0);
    ASSERT_TRUE(typed.contains("zz"));
    const bool stepStill = UndoRedoState().UndoEnabled;

    key(Qt::Key_Z);
    EXPECT_FALSE(window->ClueEditor->GetEntryText(0).contains("zz"));
    EXPECT_FALSE(UndoRedoState().RedoEnabled) << "the puzzle's Undo ran";
    EXPECT_EQ(UndoRedoState().UndoEnabled, stepStill);
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(window->ClueEditor->GetEntryText(0), typed);
    key(Qt::Key_Z);
    key(Qt::Key_Y);
    EXPECT_EQ(window->ClueEditor->GetEntryText(0), typed);
    EXPECT_FALSE(UndoRedoState().RedoEnabled);
}

TEST_F(UndoKeysTest, ATextFieldKeepsTheKeysAndTheGridViewPassesThemToThePuzzle)
{
    ScriptedPrompter prompter;
    ScriptedUiDialogs dialogs;
    TMainFm *window = windowWithAStep();
    focus(window, window->GlueRejectWordsMemo, 0);
    QTest::keyClicks(window->GlueRejectWordsMemo, QStringLiteral("OGRE"));
    for (int k : {Qt::Key_Z, Qt::Key_Y}) {
        key(k);
        EXPECT_TRUE(puzzleUntouched()) << "key " << k;
    }
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(puzzleUntouched());

    // The grid view holds no text: the keys are the puzzle's.
    focus(window, window->ViewPortFocus, 2);
    key(Qt::Key_Z);
    EXPECT_TRUE(UndoRedoState().RedoEnabled);
    key(Qt::Key_Y);
    EXPECT_TRUE(puzzleUntouched());
    key(Qt::Key_Z);
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(puzzleUntouched());
}

} // namespace
