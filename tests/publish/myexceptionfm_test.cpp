// The error dialog: suppressed messages, the backup of the puzzle, the error report and the way
// out through the main window's close.
#include "myexceptionfm.h"

#include "contactusfm.h"
#include "globals.h"
#include "prompter.h"
#include "uidialogs.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kMessage = QStringLiteral("Access violation at address 0040A1B2.");

class MyExceptionFmTest : public ::testing::Test
{
protected:
    void SetUp() override { TMyExceptionFm::SuppressedMessages.clear(); }
    void TearDown() override { TMyExceptionFm::SuppressedMessages.clear(); }

    // Ticks the box the way a click does, answering its question.
    void tickDontInterrupt(TMyExceptionFm &fm, Prompter::Button answer)
    {
        prompter.answers = {answer};
        fm.DontInterruptCB->click();
    }

    ScriptedPrompter prompter;
    ScriptedUiDialogs dialogs;
};

TEST_F(MyExceptionFmTest, OnlyTheVerySameMessageIsSuppressed)
{
    TMyExceptionFm fm(kMessage);
    tickDontInterrupt(fm, Prompter::Yes);
    ASSERT_TRUE(fm.DontInterruptCB->isChecked());
    EXPECT_TRUE(
        prompter.lastText().endsWith("Do you really want to suppress further reporting of this error?"));
    fm.ContinueBtn->click();
    EXPECT_EQ(fm.result(), QDialog::Accepted);

    const struct {
        QString text;
        bool suppressed;
    } cases[] = {
        {kMessage, true},
        {QStringLiteral("Access violation at address 0040A1B3."), false},
        {QStringLiteral("access violation at address 0040A1B2."), false},
        {QStringLiteral("Access violation at address 0040A1B2"), false},
        {kMessage + ' ', false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TMyExceptionFm::IsSuppressed(c.text), c.suppressed) << c.text.toStdString();

    TMyExceptionFm again(kMessage);
    tickDontInterrupt(again, Prompter::Yes);
    again.ContinueBtn->click();
    EXPECT_EQ(TMyExceptionFm::SuppressedMessages.size(), 1) << "a message is listed once";
}

TEST_F(MyExceptionFmTest, NoToTheQuestionUnticksAndSuppressesNothing)
{
    TMyExceptionFm fm(kMessage);
    tickDontInterrupt(fm, Prompter::No);
    EXPECT_FALSE(fm.DontInterruptCB->isChecked());
    fm.ContinueBtn->click();
    EXPECT_FALSE(TMyExceptionFm::IsSuppressed(kMessage));
}

TEST_F(MyExceptionFmTest, BackupGoesNextToThePuzzle)
{
    const struct {
        const char *file, *backup;
    } cases[] = {
        {"/home/u/docs/My Puzzle.trv", "/home/u/docs/Backup of My Puzzle.trv"},
        {"My Puzzle.trv", "Backup of My Puzzle.trv"},
        {"C:\\Docs\\A.trv", "C:\\Docs\\Backup of A.trv"},
        {"/home/u.d/x", "/home/u.d/Backup of x"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TMyExceptionFm::BackupName(QString::fromLatin1(c.file)), QLatin1String(c.backup));

    TMyExceptionFm fm(kMessage);
    QStringList saved;
    fm.PuzzleFileName = [] { return QStringLiteral("/home/u/docs/My Puzzle.trv"); };
    fm.SaveBackupAs = [&](const QString &name) { saved << name; };
    fm.TryToSaveCB->setChecked(true);
    fm.ContinueBtn->click();
    EXPECT_EQ(saved, QStringList{"/home/u/docs/Backup of My Puzzle.trv"});
}

TEST_F(MyExceptionFmTest, ErrorReportOpensTheSupportForm)
{
    TMyExceptionFm withHook(kMessage);
    QStringList subjects;
    withHook.ShowErrorReport = [&](const QString &subject) { subjects << subject; };
    withHook.TryErrorReportCB->setChecked(true);
    withHook.ContinueBtn->click();
    EXPECT_EQ(subjects, QStringList{"Error Report: " + kMessage});

    // Without the hook the dialog opens the form itself.
    QString subject;
    bool readOnly = false;
    dialogs.OnModal = [&](QDialog &form) {
        if (auto *support = qobject_cast<TContactUsFm *>(&form)) {
            subject = support->SubjectEd->text();
            readOnly = support->SubjectEd->isReadOnly();
            support->CancelBtn->click(); // discards the report: Cancel to the close question
        }
    };
    prompter.answers = {Prompter::Cancel};
    TMyExceptionFm alone(kMessage);
    alone.TryErrorReportCB->setChecked(true);
    alone.ContinueBtn->click();
    dialogs.OnModal = nullptr;
    EXPECT_TRUE(dialogs.Asked.contains("modal: ContactUsFm"));
    EXPECT_EQ(subject, "Error Report: " + kMessage);
    EXPECT_TRUE(readOnly);
}

TEST_F(MyExceptionFmTest, ExitProgramGoesThroughTheMainWindowsCloseQuery)
{
    // The main window's close query on a modified puzzle: Cancel keeps it open.
    PuzzleModified = true;
    int closes = 0;
    const auto closeMainWindow = [&] {
        ++closes;
        return askConfirmation(QStringLiteral("Save changes?"),
                               Prompter::Yes | Prompter::No | Prompter::Cancel) != Prompter::Cancel;
    };
    TMyExceptionFm fm(kMessage);
    QStringList saved;
    fm.SaveBackupAs = [&](const QString &name) { saved << name; };
    fm.PuzzleFileName = [] { return QStringLiteral("/tmp/p.trv"); };
    fm.CloseMainWindow = closeMainWindow;
    fm.TryToSaveCB->setChecked(true);
    fm.show();

    prompter.answers = {Prompter::Cancel};
    fm.ExitProgramBtn->click();
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(fm.isVisible()) << "a cancelled close leaves the program running";
    EXPECT_EQ(saved.size(), 1);

    prompter.answers = {Prompter::No};
    fm.ExitProgramBtn->click();
    EXPECT_EQ(closes, 2);
    EXPECT_FALSE(fm.isVisible());
    EXPECT_EQ(fm.result(), TMyExceptionFm::ExitResult);
    EXPECT_EQ(saved.size(), 1) << "the backup is made once";
    PuzzleModified = false;
}

} // namespace
