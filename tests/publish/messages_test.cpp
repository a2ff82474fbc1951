// The support form and the e-mail-a-puzzle form against the fake maker's server: the fields in
// their order, the link in the letter, the address checks and the close question.
#include "contactusfm.h"
#include "emailpuzzlefm.h"
#include "publishdoc.h"

#include "alphabet.h"
#include "checkpts.h"
#include "cluespg.h"
#include "fakehostingserver.h"
#include "fileio.h"
#include "hostingprotocol.h"
#include "prompter.h"
#include "registry.h"
#include "uidialogs.h"

#include "testgrid.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>

#include <functional>
#include <memory>

namespace {

const QString kSupportPath = QStringLiteral("/cgi-bin/hvTechSupport.cgi");
const QString kEmailPath = QStringLiteral("/cgi-bin/hvTrvEmailPuzzle.cgi");
const QString kHosting = QStringLiteral("http://puzzles.example");
const QString kLink = QStringLiteral("http://puzzles.example/0/ann/Birds.html");

QStringList namesOf(const TFakeRequest &request)
{
    QStringList names;
    for (const auto &pair : request.form)
        names << pair.first;
    return names;
}

class MessagesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.isListening());
        QSettings settings(QStringLiteral("Halvard, Inc."), QStringLiteral("TRV"));
        settings.setValue("Network/MakerBaseUrl", server.baseUrl());
        settings.setValue("Network/HostingBaseUrl", kHosting);
        for (const char *name : {"EmailPuzzle_SenderName", "EmailPuzzle_SenderEmail",
                                 "EmailPuzzle_DestinationEmail", "EmailPuzzle_CC"})
            settings.remove(QLatin1String(name));
        ResetPublishDocument(&words);
        SetTestGrid({QStringLiteral("*A"), QStringLiteral("B-")});
        CreateCheckPointPool(5);
    }
    void TearDown() override
    {
        FreeCheckPointPool();
        WordList = nullptr;
        QSettings settings(QStringLiteral("Halvard, Inc."), QStringLiteral("TRV"));
        settings.remove("Network/MakerBaseUrl");
        settings.remove("Network/HostingBaseUrl");
    }

    std::unique_ptr<TContactUsFm> supportForm()
    {
        auto form = std::make_unique<TContactUsFm>();
        form->PuzzleFileName = [] { return QStringLiteral("/home/u/docs/Birds.trv"); };
        form->SenderNameEd->setText(QStringLiteral("Ann Lee"));
        form->ReturnEmailEd->setText(QStringLiteral("ann@example.com"));
        form->SubjectEd->setText(QStringLiteral("Printing"));
        return form;
    }
    // A form for a puzzle already published (no publishing step), ready to send.
    std::unique_ptr<TEmailPuzzleFm> emailForm()
    {
        auto form = std::make_unique<TEmailPuzzleFm>(false);
        form->LastPuzzleLink = [] { return kLink; };
        form->SenderNameEd->setText(QStringLiteral("Ann Lee"));
        form->ReturnEmailEd->setText(QStringLiteral("ann@example.com"));
        form->DestinationEmailEd->setText(QStringLiteral("bob@example.org"));
        form->PrepareMessage(QStringLiteral("Birds"));
        return form;
    }

    QList<TFakeRequest> sent(const QString &path) const { return server.requestsFor(path); }

    TFakeHostingServer server;
    TPlainWordList words;
    ScriptedPrompter prompter;
    ScriptedUiDialogs dialogs;
};

// ---- Support form -----------------------------------------------------------------------------

TEST(ContactUsHistory, PartsJoinInTheirOrder)
{
    struct Case {
        const char *undo, *current, *redo, *expected;
    };
    const Case cases[] = {
        {"", "", "", ""},
        {"\tb\r\n\ta\r\n", "", "", "\r\nRecent Actions (most recent on top):\r\n\tb\r\n\ta\r\n"},
        {"", "\tc", "\td\r\n", "\tc\r\n\r\nRecent Actions Undone (In order undone):\r\n\td\r\n"},
        {"\ta\r\n", "\tc", "\td\r\n",
         "\r\nRecent Actions (most recent on top):\r\n\ta\r\n\tc\r\n"
         "\r\nRecent Actions Undone (In order undone):\r\n\td\r\n"},
        {"\ta\r\n", "\tc", "", "\r\nRecent Actions (most recent on top):\r\n\ta\r\n\tc\r\n"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TContactUsFm::BuildHistory(QString::fromLatin1(c.undo), QString::fromLatin1(c.current),
                                             QString::fromLatin1(c.redo)),
                  QString::fromLatin1(c.expected))
            << c.undo << "|" << c.current << "|" << c.redo;
}

TEST_F(MessagesTest, SupportMessageCarriesItsFieldsInOrder)
{
    struct Case {
        bool attach;
        bool history;
        const char *memo;
        const char *message;
    };
    const Case cases[] = {
        {false, false, "", " \n"},
        {true, false, "Line one\r\n\r\nLine three\n", " \nLine one\n\nLine three\n"},
        {false, true, "Hello", " \nHello\n"},
        {true, true, "", " \n"},
    };
    const QStringList head = {"recipient",
                              "subject",
                              "Message",
                              "bgcolor",
                              "realname",
                              "email",
                              "TRV_Version",
                              "Exe_TimeStamp",
                              "DistributedVia",
                              "Operating_System",
                              "Admin",
                              "Memory_Used",
                              "Time_Since_Last_Reboot",
                              "Registry_Test_Str",
                              "Screen_Size",
                              "Puzzle_File_Name",
                              "History",
                              "env_report"};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "attach " << c.attach << " history " << c.history);
        ClearCheckPoints();
        if (c.history)
            TakeCheckPoint(TCheckPointKind::Layout, QStringLiteral("resize grid"));
        server.clearRequests();
        auto form = supportForm();
        form->EmailMemo->setPlainText(QString::fromLatin1(c.memo));
        form->AttachePuzzleCB->setChecked(c.attach);
        form->SendEmailBtnClick();

        const QList<TFakeRequest> requests = sent(kSupportPath);
        ASSERT_EQ(requests.size(), 1);
        const TFakeRequest &r = requests.first();
        EXPECT_EQ(r.method, "POST");
        QStringList expectedNames = head;
        QStringList puzzle;
        WritePuzzleToStrings(puzzle);
        if (c.attach) {
            expectedNames << QStringLiteral("PuzzleIncluded");
            for (qsizetype i = 0; i < puzzle.size(); ++i)
                expectedNames << QStringLiteral("PuzzleFile%1").arg(i);
        } else {
            expectedNames << QStringLiteral("Puzzle");
        }
        EXPECT_EQ(namesOf(r), expectedNames);

        EXPECT_EQ(r.formValue("recipient"), "receptionist");
        EXPECT_EQ(r.formValue("subject"), "TRV: Printing");
        EXPECT_EQ(r.formValue("Message"), QString::fromLatin1(c.message));
        EXPECT_EQ(r.formValue("bgcolor"), "$ddeeff");
        EXPECT_EQ(r.formValue("realname"), "Ann Lee");
        EXPECT_EQ(r.formValue("email"), "ann@example.com");
        EXPECT_EQ(r.formValue("TRV_Version"), "8.0");
        EXPECT_TRUE(r.formValue("Admin") == "Yes" || r.formValue("Admin") == "No");
        EXPECT_TRUE(r.formValue("Memory_Used").endsWith('%'));
        EXPECT_EQ(r.formValue("Registry_Test_Str"), "");
        EXPECT_TRUE(r.formValue("Screen_Size").contains(QLatin1String(" x ")));
        EXPECT_EQ(r.formValue("Puzzle_File_Name"), "/home/u/docs/Birds.trv");
        EXPECT_EQ(r.formValue("History"),
                  c.history
                      ? QStringLiteral("\r\nRecent Actions (most recent on top):\r\n") + UndoHistoryText()
                      : QString());
        EXPECT_EQ(r.formValue("env_report"), "REMOTE_ADDR");
        if (c.attach) {
            EXPECT_EQ(r.formValue("PuzzleIncluded"), "True");
            QStringList escaped;
            HostingProtocol::AddEscapedFields(QStringLiteral("PuzzleFile"), escaped, puzzle);
            for (qsizetype i = 0; i < puzzle.size(); ++i)
                EXPECT_EQ(r.form.at(head.size() + 1 + i).second, escaped.at(i).section('=', 1))
                    << "PuzzleFile" << i;
        } else {
            EXPECT_EQ(r.formValue("Puzzle"), "Not provided. Sender unchecked checkbox.");
        }
        EXPECT_FALSE(form->Edited()) << "a message that went through leaves the form unedited";
    }
}

TEST_F(MessagesTest, SupportReturnAddressIsCheckedFirst)
{
    auto form = supportForm();
    form->ReturnEmailEd->setText(QStringLiteral("ann at example"));
    prompter.answers = {Prompter::No};
    EXPECT_FALSE(form->SendMessage());
    EXPECT_TRUE(prompter.lastText().startsWith("Your email address does not appear"));
    EXPECT_TRUE(sent(kSupportPath).isEmpty()) << "No lets the user fix the address";

    prompter.answers = {Prompter::Yes};
    EXPECT_TRUE(form->SendMessage());
    ASSERT_EQ(sent(kSupportPath).size(), 1);
    EXPECT_EQ(sent(kSupportPath).first().formValue("email"), "ann at example");
}

TEST_F(MessagesTest, ErrorReportModeLocksTheSubject)
{
    auto form = supportForm();
    form->SetErrorReportMode();
    EXPECT_TRUE(form->SubjectEd->isReadOnly());
    EXPECT_EQ(form->SubjectLbl->text(), "3. Subject (already filled in for you)");
    EXPECT_EQ(form->MessageLbl->text(), "4. Optional comments");
}

// ---- E-mail a puzzle --------------------------------------------------------------------------

TEST_F(MessagesTest, EmailMessageCarriesItsFieldsInOrder)
{
    for (bool cc : {false, true}) {
        SCOPED_TRACE(cc ? "with a copy" : "without a copy");
        server.clearRequests();
        auto form = emailForm();
        form->CCYourselfCB->setChecked(cc);
        form->SendEmailBtnClick();
        const QList<TFakeRequest> requests = sent(kEmailPath);
        ASSERT_EQ(requests.size(), 1);
        const TFakeRequest &r = requests.first();
        QStringList names = {"recipient", "subject", "Message", "realname", "email"};
        if (cc)
            names << QStringLiteral("BccTo");
        names << QStringLiteral("env_report");
        EXPECT_EQ(namesOf(r), names);
        EXPECT_EQ(r.formValue("recipient"), "bob@example.org");
        EXPECT_EQ(r.formValue("subject"), "A crossword puzzle for you.");
        EXPECT_EQ(r.formValue("Message"), "\nHi,\n\nHere is an interactive crossword puzzle I made.\n"
                                          "Just click on the link to call it up.\n\n" +
                                              kLink + "\n\nAnn Lee\n");
        EXPECT_EQ(r.formValue("realname"), "Ann Lee");
        EXPECT_EQ(r.formValue("email"), "ann@example.com");
        if (cc) {
            EXPECT_EQ(r.formValue("BccTo"), "ann@example.com");
        }
        EXPECT_EQ(r.formValue("env_report"), "REMOTE_ADDR");
    }
}

TEST_F(MessagesTest, EmptyEmailLetterSendsABareLineFeed)
{
    auto form = emailForm();
    form->EmailMemo->clear();
    form->LastPuzzleLink = nullptr; // no link to append either
    ASSERT_TRUE(form->SendMessage());
    EXPECT_EQ(sent(kEmailPath).first().formValue("Message"), "\n");
}

TEST_F(MessagesTest, LinkReplacesThePlaceholderOrIsAppended)
{
    const QString placeholder = kHosting + "/.ToBeDetermined..Do.Not.Edit.This.Line.";
    ASSERT_EQ(TEmailPuzzleFm::LinkPlaceholder(), placeholder);
    struct Case {
        QStringList memo, expected;
    };
    const Case cases[] = {
        {{"Hi", "See: " + placeholder, "Bye"}, {"Hi", kLink, "Bye"}},
        {{placeholder, placeholder}, {kLink, placeholder}},
        {{"Hi", "", "Bye"}, {"Hi", "", "Bye", kLink}},
        {{}, {kLink}},
    };
    for (const Case &c : cases) {
        auto form = emailForm();
        form->EmailMemo->setPlainText(c.memo.join('\n'));
        form->InsertLink();
        EXPECT_EQ(MemoLines(form->EmailMemo->toPlainText()), c.expected) << c.memo.join('|').toStdString();
    }
}

TEST_F(MessagesTest, EmailAddressesAreChecked)
{
    auto form = emailForm();
    form->DestinationEmailEd->setText(QStringLiteral("bob@"));
    EXPECT_FALSE(form->SendMessage());
    EXPECT_EQ(prompter.lastText(),
              "The destination email address has a problem. Please fix it and try again.");

    form->DestinationEmailEd->setText(QStringLiteral("bob@example.org"));
    form->ReturnEmailEd->setText(QStringLiteral("ann"));
    prompter.answers = {Prompter::No};
    EXPECT_FALSE(form->SendMessage());
    EXPECT_TRUE(prompter.lastText().startsWith("Your return email address has a problem."));
    EXPECT_TRUE(sent(kEmailPath).isEmpty());
}

TEST_F(MessagesTest, PublishingComesBeforeTheMessage)
{
    TEmailPuzzleFm form(true);
    form.SenderNameEd->setText(QStringLiteral("Ann Lee"));
    form.ReturnEmailEd->setText(QStringLiteral("ann@example.com"));
    form.DestinationEmailEd->setText(QStringLiteral("bob@example.org"));
    form.PrepareMessage(QStringLiteral("Birds"));

    form.show();
    EXPECT_FALSE(form.SendEmailBtn->isEnabled()) << "no way to publish: nothing to send";
    EXPECT_EQ(form.SendEmailBtn->toolTip(), TEmailPuzzleFm::NoPublishingTip);
    form.hide();

    QString link;
    bool publishes = false;
    QStringList titles;
    form.LastPuzzleLink = [&] { return link; };
    form.PublishFirst = [&] {
        titles << form.PuzzleTitle();
        if (publishes)
            link = kLink; // publishing sets the link the letter carries
        return publishes;
    };
    form.show();
    EXPECT_TRUE(form.SendEmailBtn->isEnabled());

    EXPECT_FALSE(form.SendMessage());
    EXPECT_TRUE(sent(kEmailPath).isEmpty()) << "a failed publish sends nothing";

    publishes = true;
    EXPECT_TRUE(form.SendMessage());
    EXPECT_EQ(titles, QStringList({"Birds", "Birds"}));
    ASSERT_EQ(sent(kEmailPath).size(), 1);
    EXPECT_TRUE(sent(kEmailPath).first().formValue("Message").contains("\n" + kLink + "\n"));
    form.hide();
}

TEST_F(MessagesTest, EmailAddressesAreRememberedBetweenForms)
{
    {
        TRegistryKey key;
        key.WriteString("EmailPuzzle_SenderName", "Ann Lee");
        key.WriteString("EmailPuzzle_DestinationEmail", "bob@example.org");
        key.WriteBool("EmailPuzzle_CC", true);
    }
    TEmailPuzzleFm first(false);
    EXPECT_EQ(first.SenderNameEd->text(), "Ann Lee");
    EXPECT_EQ(first.DestinationEmailEd->text(), "bob@example.org");
    EXPECT_TRUE(first.CCYourselfCB->isChecked());
    EXPECT_FALSE(first.Edited()) << "remembered values are no edit";
    first.ReturnEmailEd->setText(QStringLiteral("ann@example.com"));
    first.CCYourselfCB->setChecked(false);
    first.PrepareMessage(QStringLiteral("Birds")); // unedited: closes without a question
    first.show();
    ASSERT_TRUE(first.close());
    EXPECT_TRUE(prompter.boxes.isEmpty());

    TEmailPuzzleFm second(false);
    EXPECT_EQ(second.ReturnEmailEd->text(), "ann@example.com");
    EXPECT_FALSE(second.CCYourselfCB->isChecked());
}

// ---- Close question ---------------------------------------------------------------------------

TEST_F(MessagesTest, CloseQuestionSendsOnlyWhatGoesThrough)
{
    struct Form {
        const char *name;
        QString path;
        std::function<std::unique_ptr<QDialog>(std::function<bool()> *edited)> make;
    };
    const Form forms[] = {
        {"support", kSupportPath,
         [this](std::function<bool()> *edited) -> std::unique_ptr<QDialog> {
             auto form = supportForm();
             form->EmailMemo->setPlainText(QStringLiteral("Help"));
             *edited = [f = form.get()] { return f->Edited(); };
             return form;
         }},
        {"e-mail", kEmailPath,
         [this](std::function<bool()> *edited) -> std::unique_ptr<QDialog> {
             auto form = emailForm();
             form->EmailMemo->appendPlainText(QStringLiteral("Enjoy"));
             *edited = [f = form.get()] { return f->Edited(); };
             return form;
         }},
    };
    struct Case {
        Prompter::Button answer;
        bool serverFails;
        bool closes;
        int posts;
        bool editedAfter;
    };
    const Case cases[] = {
        {Prompter::Yes, false, true, 1, false},
        {Prompter::Yes, true, false, 1, true}, // failed: the message stays to try again
        {Prompter::No, false, false, 0, true},
        {Prompter::Cancel, false, true, 0, true},
    };
    for (const Form &f : forms)
        for (const Case &c : cases) {
            SCOPED_TRACE(testing::Message()
                         << f.name << " answer " << int(c.answer) << (c.serverFails ? " server fails" : ""));
            server.clearRequests();
            server.clearBehaviours();
            if (c.serverFails)
                server.setBehaviour(f.path, TFakeReply::Status, 500);
            std::function<bool()> edited;
            std::unique_ptr<QDialog> form = f.make(&edited);
            ASSERT_TRUE(edited());
            form->show();
            prompter.boxes.clear();
            prompter.answers = {c.answer};
            EXPECT_EQ(form->close(), c.closes);
            EXPECT_EQ(form->isVisible(), !c.closes);
            ASSERT_FALSE(prompter.boxes.isEmpty());
            EXPECT_EQ(prompter.boxes.first().text, TContactUsFm::SendNowQuestion);
            EXPECT_EQ(sent(f.path).size(), c.posts);
            EXPECT_EQ(edited(), c.editedAfter);
            form->hide();
        }
    server.clearBehaviours();
}

TEST_F(MessagesTest, UneditedFormClosesWithoutAQuestion)
{
    TContactUsFm form;
    form.show();
    EXPECT_TRUE(form.close());
    EXPECT_TRUE(prompter.boxes.isEmpty());
}

} // namespace
