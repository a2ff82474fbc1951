// The spelling dialog in the main window: the Edit menu's command shows it, the idle handler
// starts the check, Change writes through the window, closing stops a running check before the
// dictionary goes, and a dictionary that cannot be loaded is said.
#include "mainwindowtest.h"

#include "cluesedit.h"
#include "cluespg.h"
#include "spellcheck.h"
#include "spellingdlg.h"
#include "uidialogs.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QTextCursor>

namespace {

class FakeDictionary : public TSpellingDictionary
{
public:
    QSet<QString> Known;
    bool Started = false;
    int Destroys = 0;
    int AskedWhileStopped = 0;
    int Asked = 0;
    std::function<void(int asked)> OnAsk;

    bool Create() override { return Started = true; }
    bool Contains(const QString &word) override
    {
        AskedWhileStopped += !Started;
        ++Asked;
        if (OnAsk)
            OnAsk(Asked);
        return Known.contains(word.toLower());
    }
    void Destroy() override
    {
        Started = false;
        ++Destroys;
    }
};

class SpellingWindowTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        FirstIdle = false; // the idle passes here only start the check
        QFile::remove(AddBackslash(GetUserDataFolder()) + "SpellSup.txt");
        m_main = makeReadyWindow();
        m_main->TitleEd->setText("A Blorp puzzle");
        m_main->TitleEdChange();
        m_main->ClueEditor->AddEntry("CATT\tFeline pet");
        m_main->ClueEditor->AddEntry("DOG\tCanine pet");
        m_main->ClueEditor->SetSlotLabel(0, "12 D");
        m_dialog = m_main->EnsureSpellingDlg();
        m_dictionary.Known = {"a",      "puzzle", "bold", "cat",  "dog",   "feline",
                              "canine", "pet",    "made", "with", "tarvel"};
    }

    TMainFm *m_main = nullptr;
    TSpellingDlg *m_dialog = nullptr;
    FakeDictionary m_dictionary;
};

TEST_F(SpellingWindowTest, TheMenuCommandChecksAtIdleAndStopsOnEachUnknownWord)
{
    ASSERT_TRUE(m_main->mEditSpelling);
    EXPECT_EQ(m_main->mEditSpelling->text(), "C&heck Spelling ...");
    EXPECT_TRUE(m_main->mEdit->actions().contains(m_main->mEditSpelling));
    m_dialog->SetDictionary(&m_dictionary);
    ScriptedUiDialogs dialogs;
    bool checked = false;
    dialogs.OnModal = [&](QDialog &shown) {
        ASSERT_EQ(&shown, m_dialog);
        EXPECT_EQ(shown.windowTitle(), "Tarvel - Check Spelling");
        EXPECT_TRUE(m_dialog->CheckPending);
        m_main->OnIdleEvent();
        EXPECT_FALSE(m_dialog->CheckPending);
        EXPECT_EQ(m_dialog->MainMesgLbl->text(), "Not Found:");
        EXPECT_EQ(m_dialog->CurrentWordLbl->text(), "Blorp");
        EXPECT_EQ(m_dialog->LocationLbl->text(), "Title");
        EXPECT_EQ(m_dialog->MemoLbl->text(), "Whole title");
        EXPECT_EQ(m_dialog->LocationLbl2->text(), "");
        EXPECT_EQ(m_dialog->ContextMemo->textCursor().selectedText(), "Blorp");
        EXPECT_EQ(m_dialog->WordEdit->text(), "Blorp");
        for (QPushButton *b :
             {m_dialog->AddBtn, m_dialog->IgnoreBtn, m_dialog->IgnoreAllBtn, m_dialog->OKBtn})
            EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
        for (QPushButton *b : {m_dialog->ChangeBtn, m_dialog->ResumeBtn, m_dialog->StopBtn})
            EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();

        // Typing enables Change; the title field and the document take the change.
        m_dialog->WordEdit->setText("Bold");
        emit m_dialog->WordEdit->textEdited("Bold");
        ASSERT_TRUE(m_dialog->ChangeBtn->isEnabled());
        m_dialog->ChangeBtn->click();
        EXPECT_EQ(m_main->TitleEd->text(), "A Bold puzzle");
        EXPECT_EQ(DocControls.PuzzleTitle, "A Bold puzzle");
        EXPECT_TRUE(m_main->IsModified());

        EXPECT_EQ(m_dialog->CurrentWordLbl->text(), "CATT");
        EXPECT_EQ(m_dialog->LocationLbl->text(), "Your Words & Clues # 1");
        EXPECT_EQ(m_dialog->LocationLbl2->text(), "Used at 12 Down");
        EXPECT_EQ(m_dialog->LocationLbl2->palette().color(QPalette::WindowText), QColor(Qt::red));
        m_dialog->IgnoreBtn->click();
        EXPECT_EQ(m_dialog->MainMesgLbl->text(), "Spell Check Completed.");
        EXPECT_EQ(m_dialog->LocationLbl->text(), "End.");
        EXPECT_EQ(m_dialog->LocationLbl2->text(), "");
        EXPECT_EQ(m_dialog->CurrentWordLbl->text(), "");
        checked = true;
        m_dialog->OKBtn->click();
    };
    m_main->mEditSpelling->trigger();
    EXPECT_TRUE(checked);
    EXPECT_TRUE(dialogs.Asked.contains("modal: SpellingDlg"));
    EXPECT_EQ(m_dictionary.Destroys, 1);
    EXPECT_EQ(m_dictionary.AskedWhileStopped, 0);
}

TEST_F(SpellingWindowTest, ClosingDuringACheckStopsItBeforeTheDictionaryGoes)
{
    for (int i = 0; i < 50; ++i)
        m_main->ClueEditor->AddEntry("CAT\tA feline pet a canine pet a dog");
    m_main->TitleEd->setText("A puzzle");
    m_main->TitleEdChange();
    m_dictionary.Known << "catt";
    m_dialog->SetDictionary(&m_dictionary);
    m_dialog->RefreshIntervalMs = 0; // events get in after every word
    // The user closes the window (Escape, the title bar) in the middle of the check.
    m_dictionary.OnAsk = [this](int asked) {
        if (asked == 20)
            QMetaObject::invokeMethod(m_dialog, "reject", Qt::QueuedConnection);
    };
    ScriptedUiDialogs dialogs;
    dialogs.OnModal = [&](QDialog &) {
        m_main->OnIdleEvent();
        EXPECT_FALSE(m_dialog->isVisible());
    };
    m_main->mEditSpelling->trigger();
    // The check ended where the window closed: no word was reported after it.
    EXPECT_EQ(m_dictionary.Asked, 20);
    EXPECT_TRUE(m_dialog->Check().StopRequested());
    EXPECT_EQ(m_dialog->Check().NotFoundWord(), "");
    EXPECT_EQ(m_dictionary.Destroys, 1);
    EXPECT_EQ(m_dictionary.AskedWhileStopped, 0);
    EXPECT_FALSE(m_dialog->Check().Running());
}

TEST_F(SpellingWindowTest, ADictionaryThatCannotBeLoadedIsSaidInsteadOfAnEmptyDialog)
{
    // The program folder of the fixture has no dictionary files: the engine's dictionary fails.
    ScriptedPrompter prompter;
    ScriptedUiDialogs dialogs;
    dialogs.OnModal = [&](QDialog &) {
        m_main->OnIdleEvent();
        EXPECT_TRUE(m_dialog->MainMesgLbl->isVisible());
        EXPECT_EQ(m_dialog->MainMesgLbl->text(), "The spelling dictionary could not be loaded.");
        EXPECT_EQ(m_dialog->CurrentWordLbl->text(), "");
        for (QPushButton *b : {m_dialog->AddBtn, m_dialog->ChangeBtn, m_dialog->IgnoreBtn,
                               m_dialog->IgnoreAllBtn, m_dialog->ResumeBtn, m_dialog->StopBtn})
            EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
        EXPECT_TRUE(m_dialog->OKBtn->isEnabled());
    };
    m_main->ThemeCheckSpellingLnkClick();
    EXPECT_TRUE(dialogs.Asked.contains("modal: SpellingDlg"));
    EXPECT_TRUE(prompter.boxes.isEmpty());
}

} // namespace
