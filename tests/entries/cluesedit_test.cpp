// Tests of the word-and-clue editor: key and mouse scripts, the clipboard, notifications, routing
// of Tab inside dialogs and what the editor draws.
#include "cluesedit.h"
#include "prompter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include <functional>
#include <memory>
#include <vector>

namespace {

struct Notice {
    char Callback; // 'W' word, 'C' clue
    int Entry;
    int Kind;
    bool operator==(const Notice &) const = default;
};

std::vector<Notice> g_notices;
void wordChanged(int entry, int kind) { g_notices.push_back({'W', entry, kind}); }
void clueChanged(int entry, int kind) { g_notices.push_back({'C', entry, kind}); }

std::ostream &operator<<(std::ostream &os, const Notice &n)
{
    return os << n.Callback << "(" << n.Entry << "," << n.Kind << ")";
}

class EditorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_notices.clear();
        m_dialog = std::make_unique<QDialog>();
        auto *layout = new QVBoxLayout(m_dialog.get());
        m_lineEdit = new QLineEdit(m_dialog.get());
        m_editor = new TCluesEdit(m_dialog.get());
        m_editor->SetClueSpacing(3);
        m_editor->setMinimumSize(300, 200);
        m_button = new QPushButton(QStringLiteral("OK"), m_dialog.get());
        m_button->setDefault(true);
        layout->addWidget(m_lineEdit);
        layout->addWidget(m_editor);
        layout->addWidget(m_button);
        m_editor->SetChangeCallbacks(wordChanged, clueChanged);
        m_dialog->show();
        QApplication::setActiveWindow(m_dialog.get());
        m_editor->setFocus();
        QApplication::processEvents();
        m_editor->repaint();
        ASSERT_TRUE(m_editor->LaidOut());
    }

    void setEntries(const QStringList &entries)
    {
        for (const QString &e : entries)
            m_editor->AddEntry(e);
        g_notices.clear();
    }

    void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(k), mods);
    }

    void type(const QString &text) { QTest::keyClicks(m_editor, text); }

    // Mouse events with their own time stamps (QTest keeps its clicks far apart).
    void mouse(QEvent::Type type, QPoint pos, quint64 ms, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, pos, m_editor->mapToGlobal(pos), Qt::LeftButton, held, mods);
        e.setTimestamp(ms);
        QApplication::sendEvent(m_editor, &e);
    }

    QPoint pointOf(int line, int column) const
    {
        return QPoint(m_editor->ColumnX(line, column) + 1,
                      m_editor->LineY(line) + m_editor->LineHeight() / 2);
    }

    std::unique_ptr<QDialog> m_dialog;
    QLineEdit *m_lineEdit = nullptr;
    TCluesEdit *m_editor = nullptr;
    QPushButton *m_button = nullptr;
};

} // namespace

TEST_F(EditorTest, EmptyEditorTypingWordTabClue)
{
    EXPECT_EQ(m_editor->EntryCount(), 1);
    EXPECT_EQ(m_editor->CaretWidth(), 3);
    type(QStringLiteral("C"));
    EXPECT_EQ(m_editor->CaretWidth(), 2);
    type(QStringLiteral("AT"));
    key(Qt::Key_Tab);
    type(QStringLiteral("A pet"));
    EXPECT_EQ(m_editor->GetEntryText(0), QStringLiteral("CAT\tA pet"));
    EXPECT_EQ(m_editor->GetWord(0), QStringLiteral("CAT"));
    EXPECT_EQ(m_editor->GetClue(0), QStringLiteral("A pet"));
    EXPECT_EQ(m_editor->CaretWidth(), 1);
    EXPECT_FALSE(m_editor->IsSaved());
    // Characters that Windows-1252 cannot hold are not typed.
    QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("\u00e9\u0141\u20ac"));
    QApplication::sendEvent(m_editor, &typed);
    EXPECT_EQ(m_editor->GetClue(0), QString::fromUtf8("A pet\u00e9\u20ac"));
    // Keys held with Alt, or with Ctrl outside the editor's own commands, type nothing.
    key(Qt::Key_X, Qt::AltModifier);
    key(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(m_editor->GetClue(0), QString::fromUtf8("A pet\u00e9\u20ac"));
}

TEST_F(EditorTest, TabEnterAndArrowsStayInsideTheDialog)
{
    setEntries({QStringLiteral("CAT\tpet")});
    m_editor->SetCaret(0, 4);
    key(Qt::Key_Tab);
    EXPECT_TRUE(m_editor->hasFocus());
    EXPECT_EQ(m_editor->GetEntryText(0), QStringLiteral("CAT\t\tpet"));
    key(Qt::Key_Backtab, Qt::ShiftModifier); // does nothing, not even leave
    EXPECT_TRUE(m_editor->hasFocus());
    EXPECT_EQ(m_editor->GetEntryText(0), QStringLiteral("CAT\t\tpet"));
    key(Qt::Key_Left);
    EXPECT_EQ(m_editor->CaretColumn(), 4);
    key(Qt::Key_Return);
    EXPECT_EQ(m_dialog->result(), 0);
    EXPECT_TRUE(m_dialog->isVisible());
    EXPECT_EQ(m_editor->EntryCount(), 3);
    EXPECT_EQ(m_editor->GetEntryText(0), QStringLiteral("CAT"));
    EXPECT_EQ(m_editor->CaretLine(), 1);
    key(Qt::Key_Up);
    EXPECT_EQ(m_editor->CaretLine(), 0);

    // With the focus elsewhere Tab moves the focus as usual.
    m_lineEdit->setFocus();
    ASSERT_TRUE(m_lineEdit->hasFocus());
    key(Qt::Key_Tab);
    EXPECT_FALSE(m_lineEdit->hasFocus());
}

TEST_F(EditorTest, PopupMenuOverTheEditorKeepsItsKeys)
{
    setEntries({QStringLiteral("CAT\tpet"), QStringLiteral("DOG\tfriend")});
    m_editor->SetCaret(0, 1);
    QMenu menu;
    menu.addAction(QStringLiteral("One"));
    QAction *two = menu.addAction(QStringLiteral("Two"));
    bool triggered = false;
    QObject::connect(two, &QAction::triggered, [&triggered] { triggered = true; });
    menu.popup(m_editor->mapToGlobal(QPoint(10, 10)));
    QApplication::processEvents();
    ASSERT_TRUE(m_editor->hasFocus());
    QTest::keyClick(&menu, Qt::Key_Down);
    QTest::keyClick(&menu, Qt::Key_Down);
    EXPECT_EQ(menu.activeAction(), two);
    QTest::keyClick(&menu, Qt::Key_Return);
    EXPECT_TRUE(triggered);
    EXPECT_EQ(m_editor->CaretLine(), 0);
    EXPECT_EQ(m_editor->EntryCount(), 3);
}

TEST_F(EditorTest, ArrowsMoveOnlyTheFocusedEditor)
{
    auto *second = new TCluesEdit(m_dialog.get());
    m_dialog->layout()->addWidget(second);
    QApplication::processEvents();
    second->repaint();
    second->AddEntry(QStringLiteral("ONE\ttwo"));
    setEntries({QStringLiteral("CAT\tpet")});
    m_editor->SetCaret(0, 3);
    second->SetCaret(0, 3);
    second->setFocus();
    key(Qt::Key_Right);
    EXPECT_EQ(second->CaretColumn(), 4);
    EXPECT_EQ(m_editor->CaretColumn(), 3);
    m_editor->setFocus();
    key(Qt::Key_Left);
    EXPECT_EQ(m_editor->CaretColumn(), 2);
    EXPECT_EQ(second->CaretColumn(), 4);
}

TEST_F(EditorTest, MovementKeys)
{
    setEntries({QStringLiteral("CAT\ta small pet"), QStringLiteral("DOG\tfriend")});
    m_editor->SetCaret(0, 1);
    key(Qt::Key_End);
    EXPECT_EQ(m_editor->CaretColumn(), 16);
    key(Qt::Key_Right);
    EXPECT_EQ(m_editor->CaretLine(), 1);
    EXPECT_EQ(m_editor->CaretColumn(), 1);
    key(Qt::Key_Left);
    EXPECT_EQ(m_editor->CaretLine(), 0);
    EXPECT_EQ(m_editor->CaretColumn(), 16);
    key(Qt::Key_Home);
    key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(m_editor->CaretColumn(), 5); // the start of the clue
    key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(m_editor->CaretColumn(), 7); // "small"
    key(Qt::Key_Right, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(m_editor->SelectedText(), QStringLiteral("small "));
    key(Qt::Key_Left);
    EXPECT_FALSE(m_editor->HasSelection());
    key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(m_editor->CaretLine(), 2);
    key(Qt::Key_Down); // at the end in insert mode: the empty entry is already there
    EXPECT_EQ(m_editor->EntryCount(), 3);
    key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(m_editor->CaretLine(), 0);
    EXPECT_EQ(m_editor->CaretColumn(), 1);
    key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(m_editor->SelectedText(), QStringLiteral("CAT\ta small pet\nDOG\tfriend\n"));
}

TEST_F(EditorTest, OverwriteModeAndDeletes)
{
    setEntries({QStringLiteral("CAT\ta pet"), QStringLiteral("DOG\tfriend")});
    m_editor->SetCaret(0, 1);
    key(Qt::Key_Insert);
    EXPECT_FALSE(m_editor->InsertMode());
    type(QStringLiteral("B"));
    EXPECT_EQ(m_editor->GetWord(0), QStringLiteral("BAT"));
    key(Qt::Key_Return); // overwrite mode: only moves to the next line
    EXPECT_EQ(m_editor->CaretLine(), 1);
    EXPECT_EQ(m_editor->EntryCount(), 3);
    key(Qt::Key_Insert);
    m_editor->SetCaret(0, 5);
    key(Qt::Key_Delete, Qt::ControlModifier); // the word "a "
    EXPECT_EQ(m_editor->GetEntryText(0), QStringLiteral("BAT\tpet"));
    key(Qt::Key_End);
    g_notices.clear();
    key(Qt::Key_Delete); // at the end of an entry: joins the next one
    EXPECT_EQ(m_editor->GetEntryText(0), QStringLiteral("BAT\tpetDOG\tfriend"));
    EXPECT_EQ(m_editor->EntryCount(), 2);
    EXPECT_EQ(g_notices, (std::vector<Notice>{{'W', 1, 2}, {'C', 0, 1}}));
}

TEST_F(EditorTest, BackspaceJoiningEntriesNotifies)
{
    setEntries({QStringLiteral("CAT\tpet"), QStringLiteral("DOG\tfriend"), QStringLiteral("EMU")});
    m_editor->SetCaret(1, 1);
    key(Qt::Key_Backspace);
    EXPECT_EQ(m_editor->GetEntryText(0), QStringLiteral("CAT\tpetDOG\tfriend"));
    EXPECT_EQ(m_editor->EntryCount(), 3);
    EXPECT_EQ(m_editor->CaretLine(), 0);
    EXPECT_EQ(m_editor->CaretColumn(), 8);
    // DOG's entry goes (word, kind 2); the joined entry's clue changed (kind 1).
    EXPECT_EQ(g_notices, (std::vector<Notice>{{'W', 1, 2}, {'C', 0, 1}}));

    // Joining onto an entry without a clue changes that entry's word.
    g_notices.clear();
    m_editor->SetCaret(1, 1);
    m_editor->SetCaret(2, 1);
    key(Qt::Key_Up);
    ASSERT_EQ(m_editor->GetEntryText(1), QStringLiteral("EMU"));
    key(Qt::Key_Down);
    key(Qt::Key_Backspace);
    EXPECT_EQ(g_notices, (std::vector<Notice>{{'W', 2, 2}, {'W', 1, 1}}));

    // Plain typing reports only what changed.
    g_notices.clear();
    m_editor->SetCaret(0, 4);
    type(QStringLiteral("S"));
    EXPECT_EQ(g_notices, (std::vector<Notice>{{'W', 0, 1}}));
    g_notices.clear();
    key(Qt::Key_End);
    type(QStringLiteral("!"));
    EXPECT_EQ(g_notices, (std::vector<Notice>{{'C', 0, 1}}));
}

TEST_F(EditorTest, UndoGoesBackOneLineOfTypingAtATime)
{
    setEntries({QStringLiteral("ONE"), QStringLiteral("TWO"), QStringLiteral("THREE")});
    for (int line = 0; line < 3; ++line) {
        m_editor->SetCaret(line, m_editor->Entries().Lines().TextLength(line) + 1);
        type(QStringLiteral("xy"));
    }
    EXPECT_EQ(m_editor->GetAllText(), QStringLiteral("ONExy\nTWOxy\nTHREExy\n"));
    g_notices.clear();
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(m_editor->GetAllText(), QStringLiteral("ONExy\nTWOxy\nTHREE\n"));
    EXPECT_FALSE(g_notices.empty()); // every entry is reported changed
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(m_editor->GetAllText(), QStringLiteral("ONExy\nTWO\nTHREE\n"));
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(m_editor->GetAllText(), QStringLiteral("ONE\nTWO\nTHREE\n"));
    key(Qt::Key_Z, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(m_editor->GetAllText(), QStringLiteral("ONExy\nTWO\nTHREE\n"));
    key(Qt::Key_Y, Qt::ControlModifier);
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(m_editor->GetAllText(), QStringLiteral("ONExy\nTWOxy\nTHREExy\n"));

    // Typing after an undo, even on the line of the newest snapshot, can itself be undone, and a
    // redo no longer brings back the text that the typing replaced.
    key(Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(m_editor->GetAllText(), QStringLiteral("ONExy\nTWOxy\nTHREE\n"));
    m_editor->SetCaret(2, 6);
    type(QStringLiteral("z"));
    EXPECT_EQ(m_editor->GetAllText(), QStringLiteral("ONExy\nTWOxy\nTHREEz\n"));
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(m_editor->GetAllText(), QStringLiteral("ONExy\nTWOxy\nTHREEz\n"));
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(m_editor->GetAllText(), QStringLiteral("ONExy\nTWOxy\nTHREE\n"));
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(m_editor->GetAllText(), QStringLiteral("ONExy\nTWOxy\nTHREEz\n"));
}

// Whatever way the program puts a list in, Ctrl+Z with nothing typed leaves it (and its saved
// state) alone, and undo and redo then go over the user's typing only.
TEST_F(EditorTest, UndoNeverGoesBehindAListThatTheProgramPutIn)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("list.thm"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("CAT\tpet\r\nDOG\tfriend\r\n\r\n"); // as the editor saves a list
    }
    const QString loaded = QStringLiteral("CAT\tpet\nDOG\tfriend\n");
    const struct {
        const char *name;
        std::function<void()> replace;
        QString after;
    } cases[] = {
        {"cleared and refilled, as a puzzle is read",
         [&] {
             m_editor->Clear();
             m_editor->AddEntry(QStringLiteral("CAT\tpet"));
             m_editor->AddEntry(QStringLiteral("DOG\tfriend"));
             m_editor->MarkSaved();
         },
         loaded},
        {"all text set", [&] { m_editor->SetAllText(QStringLiteral("CAT\tpet\nDOG\tfriend")); },
         QStringLiteral("CAT\tpet\nDOG\tfriend")},
        {"cleared", [&] { m_editor->Clear(); }, QString()},
        {"loaded after a clear",
         [&] {
             m_editor->Clear();
             ASSERT_TRUE(m_editor->LoadFromFile(file));
         },
         loaded},
        {"loaded onto the list", [&] { ASSERT_TRUE(m_editor->LoadFromFile(file)); },
         QStringLiteral("OLD\told\n") + loaded},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        m_editor->Clear();
        setEntries({QStringLiteral("OLD\told")});
        m_editor->SetCaret(0, 4);
        type(QStringLiteral("er"));
        key(Qt::Key_Z, Qt::ControlModifier);
        ASSERT_EQ(m_editor->GetAllText(), QStringLiteral("OLD\told\n")); // behind the present

        c.replace();
        ASSERT_EQ(m_editor->GetAllText(), c.after);
        const bool saved = m_editor->IsSaved();
        m_editor->setFocus();
        key(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(m_editor->GetAllText(), c.after);
        EXPECT_EQ(m_editor->IsSaved(), saved);
        key(Qt::Key_Y, Qt::ControlModifier);
        key(Qt::Key_Z, Qt::ShiftModifier | Qt::ControlModifier);
        EXPECT_EQ(m_editor->GetAllText(), c.after);
        EXPECT_EQ(m_editor->IsSaved(), saved);

        m_editor->SetCaret(0, 1);
        type(QStringLiteral("q"));
        const QString typed = m_editor->GetAllText();
        ASSERT_EQ(typed, QStringLiteral("q") + c.after);
        key(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(m_editor->GetAllText(), c.after);
        key(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(m_editor->GetAllText(), c.after);
        key(Qt::Key_Y, Qt::ControlModifier);
        EXPECT_EQ(m_editor->GetAllText(), typed);
    }
}

TEST_F(EditorTest, ClipboardCopyCutAndPaste)
{
    setEntries({QStringLiteral("CAT\tpet"), QStringLiteral("DOG\tfriend")});
    m_editor->SetCaret(0, 1);
    m_editor->SetCaret(1, 4, true);
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("CAT\tpet\r\nDOG"));
    key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(m_editor->GetAllText(), QStringLiteral("\tfriend\n"));
    g_notices.clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("EMU\r\nGNU"));
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(m_editor->GetAllText(), QStringLiteral("EMU\nGNU\tfriend\n"));
    EXPECT_EQ(m_editor->CaretLine(), 1);
    EXPECT_EQ(m_editor->CaretColumn(), 4);
    EXPECT_EQ(g_notices, (std::vector<Notice>{{'W', 0, 1}, {'C', 0, 1}, {'W', 1, 1}, {'C', 1, 1}}));

    // Each undo step changes the text: back over the paste, the cut, and then the typing, which
    // joins the earlier paste on the same line.
    m_editor->SetCaret(0, 4);
    type(QStringLiteral("!"));
    m_editor->SetCaret(0, 1);
    m_editor->SetCaret(0, 3, true);
    key(Qt::Key_X, Qt::ControlModifier);
    m_editor->SetCaret(0, 1);
    m_editor->SetCaret(0, 2, true);
    key(Qt::Key_V, Qt::ControlModifier);
    const QStringList steps{QStringLiteral("EM!\nGNU\tfriend\n"), QStringLiteral("U!\nGNU\tfriend\n"),
                            QStringLiteral("EMU!\nGNU\tfriend\n"), QStringLiteral("\tfriend\n")};
    for (int i = 0; i < steps.size(); ++i) {
        if (i > 0)
            key(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(m_editor->GetAllText(), steps[i]) << "undo " << i;
    }
}

TEST_F(EditorTest, PasteIsCappedAt150000Characters)
{
    ScriptedPrompter boxes;
    QGuiApplication::clipboard()->setText(QString(200000, u'a'));
    key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(boxes.boxes.size(), 1);
    EXPECT_EQ(boxes.boxes[0].kind, Prompter::Warning);
    EXPECT_TRUE(boxes.lastText().startsWith(
        QStringLiteral("The clipboard contains an extremely large amount of text.  Only the first 150000")));
    EXPECT_EQ(m_editor->GetEntryText(0).size(), 150000);
    EXPECT_EQ(m_editor->EntryCount(), 1); // pasted into the empty entry

    QGuiApplication::clipboard()->setText(QString(150000, u'b'));
    m_editor->Clear();
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(boxes.boxes.size(), 1);
    EXPECT_EQ(m_editor->GetEntryText(0).size(), 150000);
}

TEST_F(EditorTest, DoubleAndTripleClick)
{
    setEntries({QStringLiteral("CAT\ta small pet"), QStringLiteral("DOG\tfriend")});
    const QPoint onSmall = pointOf(0, 8);
    mouse(QEvent::MouseButtonPress, onSmall, 1000);
    mouse(QEvent::MouseButtonRelease, onSmall, 1050);
    EXPECT_EQ(m_editor->CaretColumn(), 8);
    mouse(QEvent::MouseButtonPress, onSmall, 1100);
    mouse(QEvent::MouseButtonDblClick, onSmall, 1100);
    mouse(QEvent::MouseButtonRelease, onSmall, 1150);
    EXPECT_EQ(m_editor->SelectedText(), QStringLiteral("small "));

    // A third click within 500 ms of the double-click takes the whole entry.
    mouse(QEvent::MouseButtonPress, onSmall, 1500);
    mouse(QEvent::MouseButtonRelease, onSmall, 1550);
    EXPECT_EQ(m_editor->SelectedText(), QStringLiteral("CAT\ta small pet\n"));

    // 600 ms after a double-click a click only places the caret.
    mouse(QEvent::MouseButtonPress, onSmall, 3000);
    mouse(QEvent::MouseButtonDblClick, onSmall, 3000);
    mouse(QEvent::MouseButtonRelease, onSmall, 3050);
    EXPECT_EQ(m_editor->SelectedText(), QStringLiteral("small "));
    mouse(QEvent::MouseButtonPress, pointOf(1, 2), 3600);
    mouse(QEvent::MouseButtonRelease, pointOf(1, 2), 3650);
    EXPECT_FALSE(m_editor->HasSelection());
    EXPECT_EQ(m_editor->CaretLine(), 1);
    EXPECT_EQ(m_editor->CaretColumn(), 2);

    // Shift+click extends; a click below the last line lands on the empty entry.
    mouse(QEvent::MouseButtonPress, pointOf(0, 1), 5000, Qt::ShiftModifier);
    mouse(QEvent::MouseButtonRelease, pointOf(0, 1), 5050, Qt::ShiftModifier);
    EXPECT_EQ(m_editor->SelectedText(), QStringLiteral("CAT\ta small pet\nD"));
    QTest::mouseClick(m_editor, Qt::LeftButton, Qt::NoModifier, QPoint(100, m_editor->height() - 5));
    EXPECT_EQ(m_editor->CaretLine(), 2);
    EXPECT_EQ(m_editor->EntryCount(), 3);
}

TEST_F(EditorTest, DragSelectsAndScrolls)
{
    QStringList many;
    for (int i = 0; i < 40; ++i)
        many << QStringLiteral("WORD%1\tclue").arg(i);
    setEntries(many);
    m_editor->SetCaret(0, 1);
    QTest::mousePress(m_editor, Qt::LeftButton, Qt::NoModifier, pointOf(0, 2));
    QMouseEvent move(QEvent::MouseMove, QPointF(50, m_editor->height() + 10),
                     m_editor->mapToGlobal(QPointF(50, 0)), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    for (int i = 0; i < 5; ++i)
        QApplication::sendEvent(m_editor, &move);
    EXPECT_GT(m_editor->TopLine(), 0);
    EXPECT_EQ(m_editor->AnchorLine(), 0);
    EXPECT_EQ(m_editor->AnchorColumn(), 2);
    EXPECT_GT(m_editor->CaretLine(), 5);
    QTest::mouseRelease(m_editor, Qt::LeftButton, Qt::NoModifier, QPoint(50, m_editor->height() - 2));
    EXPECT_TRUE(m_editor->HasSelection());
}

TEST_F(EditorTest, PagingKeys)
{
    QStringList many;
    for (int i = 0; i < 40; ++i)
        many << QStringLiteral("WORD%1\tclue").arg(i);
    setEntries(many);
    m_editor->SetCaret(0, 1);
    key(Qt::Key_PageDown);
    const int top = m_editor->TopLine();
    EXPECT_GT(top, 0);
    EXPECT_EQ(m_editor->CaretLine(), top); // the caret keeps its row
    key(Qt::Key_PageUp);
    EXPECT_EQ(m_editor->TopLine(), 0);
    EXPECT_EQ(m_editor->CaretLine(), 0);
    key(Qt::Key_Down, Qt::ControlModifier); // scrolls one line, then moves down
    EXPECT_EQ(m_editor->TopLine(), 1);
    EXPECT_EQ(m_editor->CaretLine(), 1);
    for (int i = 0; i < 20; ++i)
        key(Qt::Key_PageDown);
    EXPECT_EQ(m_editor->CaretLine(), 40); // the empty entry at the end
}

TEST_F(EditorTest, CaretKeepsItsCharacterAcrossARewrap)
{
    setEntries({QStringLiteral("CAT\ta rather long clue that has to wrap over several lines of the editor, "
                               "since it goes on and on and on about the cat and its habits")});
    const TMyLines &lines = m_editor->Entries().Lines();
    ASSERT_GT(lines.LineCount(), 3);
    m_editor->SetCaret(2, 3);
    const QChar under = lines.CharAt(2, 3);
    const int offset = lines.OffsetInParagraph(2, 3);
    m_dialog->resize(m_dialog->width() + 250, m_dialog->height());
    QApplication::processEvents();
    EXPECT_LT(m_editor->CaretLine(), 2);
    EXPECT_EQ(lines.CharAt(m_editor->CaretLine(), m_editor->CaretColumn()), under);
    EXPECT_EQ(lines.OffsetInParagraph(m_editor->CaretLine(), m_editor->CaretColumn()), offset);

    // Continuation lines of a clue start ClueSpacing blanks right of the text edge.
    const int blank = lines.BlankWidth();
    EXPECT_EQ(m_editor->ColumnX(1, 1), m_editor->TextLeft() + 3 * blank);
}

TEST_F(EditorTest, LoadSaveAndSorts)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("words.thm"));
    setEntries({QStringLiteral("PEAR\tfruit"), QStringLiteral("FIG\tsmall fruit")});
    m_editor->SetCaret(1, 2);
    m_editor->SortAlphabetically();
    EXPECT_EQ(m_editor->GetAllText(), QStringLiteral("FIG\tsmall fruit\nPEAR\tfruit\n"));
    EXPECT_EQ(m_editor->CaretLine(), 0); // the caret went along with FIG
    EXPECT_EQ(m_editor->CaretColumn(), 2);
    ASSERT_TRUE(m_editor->SaveToFile(name));
    EXPECT_TRUE(m_editor->IsSaved());
    m_editor->Clear();
    EXPECT_EQ(m_editor->EntryCount(), 1);
    ASSERT_TRUE(m_editor->LoadFromFile(name));
    EXPECT_EQ(m_editor->GetAllText(), QStringLiteral("FIG\tsmall fruit\nPEAR\tfruit\n"));
    EXPECT_EQ(m_editor->CaretLine(), 0);
    EXPECT_TRUE(m_editor->IsSaved());
    m_editor->SortByLength();
    EXPECT_EQ(m_editor->GetWord(0), QStringLiteral("FIG"));
    m_editor->SetSlotLabel(1, QStringLiteral("1 A"));
    m_editor->SortByLocation();
    EXPECT_EQ(m_editor->GetWord(0), QStringLiteral("PEAR"));
    EXPECT_EQ(m_editor->WordCount(), 2);

    // A file that cannot be read is reported and leaves unsaved typing unsaved.
    ScriptedPrompter boxes;
    type(QStringLiteral("x"));
    ASSERT_FALSE(m_editor->IsSaved());
    EXPECT_FALSE(m_editor->LoadFromFile(dir.filePath(QStringLiteral("missing.thm"))));
    EXPECT_EQ(boxes.lastText(), QStringLiteral("Invalid file name, file not found or access denied."));
    EXPECT_FALSE(m_editor->IsSaved());
    EXPECT_EQ(m_editor->EntryCount(), 3);
}

TEST_F(EditorTest, DrawsFourColoursAndGapLines)
{
    m_editor->SetTextFontSize(16);
    m_editor->SetTextFontStyles(fsBold);
    m_editor->SetAnswerColor(QColor(0, 160, 0));
    m_editor->SetSeparatorColor(QColor(230, 0, 0));
    m_editor->SetClueColor(QColor(0, 0, 255));
    m_editor->SetSlotsColor(QColor(200, 200, 200));
    m_editor->SetSlotsFontColor(QColor(160, 0, 160));
    setEntries({QStringLiteral("MMM,WWW"), QStringLiteral("HHH,,NNN"), QStringLiteral("OX,,,XO")});
    m_editor->SetSlotLabel(0, QStringLiteral("1 A"));
    m_lineEdit->setFocus(); // no caret in the picture
    const QImage image = m_editor->grab().toImage().convertToFormat(QImage::Format_RGB32);

    int answer = 0, separator = 0, clue = 0, slotPixels = 0, gapLine = 0, label = 0;
    int answerRight = 0, separatorLeft = image.width(), separatorRight = 0, clueLeft = image.width();
    const int firstRowBottom = m_editor->LineY(0) + m_editor->LineHeight();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width() - 30; ++x) {
            const QColor c = image.pixelColor(x, y);
            const int r = c.red(), g = c.green(), b = c.blue();
            if (x < m_editor->SlotsRight()) {
                if (c == QColor(200, 200, 200))
                    ++slotPixels;
                else if (y < firstRowBottom && std::min(r, b) - g > 60)
                    ++label; // drawn in the slot font's colour
                continue;
            }
            if (c == QColor(207, 222, 255)) {
                ++gapLine;
            } else if (g - std::max(r, b) > 60) {
                ++answer;
                answerRight = std::max(answerRight, x);
            } else if (r - std::max(g, b) > 60) {
                ++separator;
                separatorLeft = std::min(separatorLeft, x);
                separatorRight = std::max(separatorRight, x);
            } else if (b - std::max(r, g) > 60) {
                ++clue;
                clueLeft = std::min(clueLeft, x);
            }
        }
    }
    EXPECT_GT(answer, 20);
    EXPECT_GT(separator, 5);
    EXPECT_GT(clue, 20);
    EXPECT_GT(slotPixels, 100);
    EXPECT_GT(label, 5);
    EXPECT_GT(gapLine, 2 * 200); // a line in each of the two gaps, across the text area
    EXPECT_LT(answerRight, separatorRight);
    EXPECT_LT(separatorLeft, clueLeft);

    // pmNone draws no gap.
    m_editor->SetParaMark(pmNone);
    const QImage flat = m_editor->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int flatGap = 0;
    for (int y = 0; y < flat.height(); ++y)
        for (int x = 0; x < flat.width(); ++x)
            if (flat.pixelColor(x, y) == QColor(207, 222, 255))
                ++flatGap;
    EXPECT_EQ(flatGap, 0);
}
