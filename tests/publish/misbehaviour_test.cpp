// Every request of the publishing and message forms against a server that misbehaves: what the
// user is told, how many POSTs the server got, and that nothing is asked for after a cancel.
#include "contactusfm.h"
#include "emailpuzzlefm.h"
#include "managefm.h"
#include "myexceptionfm.h"
#include "postingpuzzlefm.h"
#include "publishdoc.h"

#include "checkpts.h"
#include "fakehostingserver.h"
#include "globals.h"
#include "hostingprotocol.h"
#include "hostingstate.h"
#include "httpclient.h"
#include "prompter.h"
#include "uidialogs.h"

#include "testgrid.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTimer>

#include <memory>

namespace {

const QString kGroup = QStringLiteral("12");
const QString kAccount = QStringLiteral("JohnSmith");
const QString kScripts = QStringLiteral("/cgi-bin/Subscribe/");
const QString kPresence = kScripts + "PuzzlePresence.cgi";
const QString kPost = kScripts + "PostPuzzle.cgi";
const QString kList = kScripts + "FetchPuzzleList.cgi";
const QString kDelete = kScripts + "DeletePuzzle.cgi";
const QString kSupport = QStringLiteral("/cgi-bin/hvTechSupport.cgi");
const QString kEmail = QStringLiteral("/cgi-bin/hvTrvEmailPuzzle.cgi");

enum class Op {
    Publish,
    List,
    Delete,
    Email,
    Support,
    ErrorReport
};

class MisbehaviourTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.isListening());
        QSettings settings(QStringLiteral("Halvard, Inc."), QStringLiteral("TRV"));
        settings.setValue("Network/MakerBaseUrl", server.baseUrl());
        settings.setValue("Network/HostingBaseUrl", server.baseUrl());
        // Short, so that the time-out rows end soon, yet long enough for a busy machine's
        // fake server to answer the other rows.
        settings.setValue("Network/TimeoutSeconds", 2);
        ResetPublishDocument(&words);
        SetTestGrid({QStringLiteral("*A"), QStringLiteral("B-")});
        CreateCheckPointPool(5);
        InitGlobals();
        LastPuzzleLink = server.puzzleLink(kGroup, kAccount, "Birds");
        EmailPublishing = false;
    }
    void TearDown() override
    {
        FreeCheckPointPool();
        WordList = nullptr;
        QSettings settings(QStringLiteral("Halvard, Inc."), QStringLiteral("TRV"));
        for (const char *key : {"Network/MakerBaseUrl", "Network/HostingBaseUrl", "Network/TimeoutSeconds"})
            settings.remove(QLatin1String(key));
    }

    HostingProtocol protocol() const
    {
        THostingIdentity id;
        id.Server = server.baseUrl();
        id.Group = kGroup;
        id.Account = kAccount;
        id.InstallNumber = QStringLiteral("4711");
        return HostingProtocol(id);
    }

    int posts() const
    {
        int n = 0;
        for (const TFakeRequest &request : server.requests())
            n += request.method == "POST";
        return n;
    }

    TFakeHostingServer server;
    TPlainWordList words;
    ScriptedPrompter prompter;
    ScriptedUiDialogs dialogs;
    RecordingShell shellRecorder;
};

// The message forms, ready to send without a question.
void fillSender(QLineEdit *name, QLineEdit *email)
{
    name->setText(QStringLiteral("Ann Lee"));
    email->setText(QStringLiteral("ann@example.com"));
}

} // namespace

TEST_F(MisbehaviourTest, WhatTheUserIsToldAndWhatTheServerGot)
{
    const QString timedOut = QStringLiteral("The server did not answer within 2 seconds.");
    const QString tooLarge = QStringLiteral("larger than 1 MiB");
    const QString canceled = QStringLiteral("Canceled by User");
    const QString publishFailed =
        QStringLiteral("The following error occurred while trying to publish your puzzle to the Web:");
    const QString presenceFailed =
        QStringLiteral("The following error occurred while trying to check for your puzzle on the Web:");
    const QString listFailed = QStringLiteral(
        "The following error occurred while trying to fetch a list of your puzzles from the Web:");
    const QString deleteFailed =
        QStringLiteral("The following error occurred while trying to delete your puzzle from the Web:");
    const QString sendFailed = QStringLiteral("The following error occurred when sending your message: ");
    const QString published = QStringLiteral("Your interactive puzzle has been published to the Web.");
    const QString redirected = QStringLiteral("The server sent the request on to http://localhost:");
    const QString mailDown = QStringLiteral("\"Mail system down\"");

    struct Case {
        const char *name;
        Op op;
        QString path; // the script that misbehaves
        TFakeReply reply;
        int status;  // for TFakeReply::Status
        bool cancel; // the user cancels once the request has arrived
        QList<Prompter::Button> answers;
        QStringList told; // in the memo or the message boxes, in this order
        int posts;        // POSTs the server got
    };
    const TFakeReply Hang = TFakeReply::NoReplyUntilCancelled;
    const Case cases[] = {
        // One-Click Publish: the presence check.
        {"publish, presence hangs, cancelled",
         Op::Publish,
         kPresence,
         Hang,
         0,
         true,
         {},
         {"Contacting host . . . ", canceled},
         0},
        {"publish, presence 500, No",
         Op::Publish,
         kPresence,
         TFakeReply::Status,
         500,
         false,
         {Prompter::No},
         {presenceFailed, "HTTP/1.1 500 Internal Server Error", "Operation cancelled.",
          TPostingPuzzleFm::SendUncheckedQuestion},
         0},
        {"publish, presence closed, No",
         Op::Publish,
         kPresence,
         TFakeReply::CloseWithoutReply,
         0,
         false,
         {Prompter::No},
         {presenceFailed, TPostingPuzzleFm::SendUncheckedQuestion},
         0},
        {"publish, presence closed, Yes",
         Op::Publish,
         kPresence,
         TFakeReply::CloseWithoutReply,
         0,
         false,
         {Prompter::Yes},
         {presenceFailed, published, "Can not tell if a puzzle with that title already exists.",
          TPostingPuzzleFm::SendUncheckedQuestion},
         1},
        {"publish, presence Error=, No",
         Op::Publish,
         kPresence,
         TFakeReply::ErrorBody,
         0,
         false,
         {Prompter::No},
         {presenceFailed, mailDown, TPostingPuzzleFm::SendUncheckedQuestion},
         0},
        {"publish, presence times out, No",
         Op::Publish,
         kPresence,
         Hang,
         0,
         false,
         {Prompter::No},
         {presenceFailed, timedOut},
         0},
        // One-Click Publish: the post itself.
        {"publish, post closed",
         Op::Publish,
         kPost,
         TFakeReply::CloseWithoutReply,
         0,
         false,
         {},
         {publishFailed},
         1},
        {"publish, post redirected",
         Op::Publish,
         kPost,
         TFakeReply::RedirectElsewhere,
         0,
         false,
         {},
         {publishFailed, redirected},
         1},
        {"publish, post times out", Op::Publish, kPost, Hang, 0, false, {}, {publishFailed, timedOut}, 1},
        {"publish, post hangs, cancelled",
         Op::Publish,
         kPost,
         Hang,
         0,
         true,
         {},
         {publishFailed, canceled},
         1},
        {"publish, post Error=",
         Op::Publish,
         kPost,
         TFakeReply::ErrorBody,
         0,
         false,
         {},
         {"There was a problem publishing your puzzle to the web.",
          "The hosting web server said:", "Mail system down"},
         1},
        {"publish, post 300 MB",
         Op::Publish,
         kPost,
         TFakeReply::HugeBody,
         0,
         false,
         {},
         {publishFailed, tooLarge},
         1},
        {"publish, post 300 KB link",
         Op::Publish,
         kPost,
         TFakeReply::LongLine,
         0,
         false,
         {},
         {publishFailed, "The hosting web server gave a web address of 300"},
         1},
        // The list of published puzzles.
        {"list hangs, cancelled", Op::List, kList, Hang, 0, true, {}, {listFailed, canceled}, 0},
        {"list times out", Op::List, kList, Hang, 0, false, {}, {listFailed, timedOut}, 0},
        {"list Error=", Op::List, kList, TFakeReply::ErrorBody, 0, false, {}, {listFailed, mailDown}, 0},
        {"list 300 MB", Op::List, kList, TFakeReply::HugeBody, 0, false, {}, {listFailed, tooLarge}, 0},
        {"list redirected to another host",
         Op::List,
         kList,
         TFakeReply::RedirectElsewhere,
         0,
         false,
         {},
         {listFailed, redirected, "which is not followed"},
         0},
        {"list with a 300 KB line",
         Op::List,
         kList,
         TFakeReply::LongLine,
         0,
         false,
         {},
         {"Note=xxxxxxxxxx", "..."},
         0},
        // Deleting a puzzle (the list is fetched first, then the user says Yes).
        {"delete Error=",
         Op::Delete,
         kDelete,
         TFakeReply::ErrorBody,
         0,
         false,
         {Prompter::Yes},
         {deleteFailed, mailDown},
         0},
        {"delete hangs, cancelled",
         Op::Delete,
         kDelete,
         Hang,
         0,
         true,
         {Prompter::Yes},
         {deleteFailed, canceled},
         0},
        {"delete 500",
         Op::Delete,
         kDelete,
         TFakeReply::Status,
         500,
         false,
         {Prompter::Yes},
         {deleteFailed, "HTTP/1.1 500 Internal Server Error"},
         0},
        // E-mailing a link.
        {"e-mail Error=", Op::Email, kEmail, TFakeReply::ErrorBody, 0, false, {}, {sendFailed, mailDown}, 1},
        {"e-mail closed", Op::Email, kEmail, TFakeReply::CloseWithoutReply, 0, false, {}, {sendFailed}, 1},
        {"e-mail hangs, cancelled", Op::Email, kEmail, Hang, 0, true, {}, {sendFailed, canceled}, 1},
        {"e-mail redirected",
         Op::Email,
         kEmail,
         TFakeReply::RedirectElsewhere,
         0,
         false,
         {},
         {sendFailed, redirected, "it was not sent again"},
         1},
        {"e-mail 300 MB", Op::Email, kEmail, TFakeReply::HugeBody, 0, false, {}, {sendFailed, tooLarge}, 1},
        // The support form.
        {"support times out", Op::Support, kSupport, Hang, 0, false, {}, {sendFailed, timedOut}, 1},
        {"support hangs, cancelled", Op::Support, kSupport, Hang, 0, true, {}, {sendFailed, canceled}, 1},
        {"support Error=",
         Op::Support,
         kSupport,
         TFakeReply::ErrorBody,
         0,
         false,
         {},
         {sendFailed, mailDown},
         1},
        {"support closed",
         Op::Support,
         kSupport,
         TFakeReply::CloseWithoutReply,
         0,
         false,
         {},
         {sendFailed},
         1},
        // The error report of the error dialog.
        {"error report Error=",
         Op::ErrorReport,
         kSupport,
         TFakeReply::ErrorBody,
         0,
         false,
         {},
         {sendFailed, mailDown},
         1},
        {"error report 500",
         Op::ErrorReport,
         kSupport,
         TFakeReply::Status,
         500,
         false,
         {},
         {sendFailed, "HTTP/1.1 500 Internal Server Error"},
         1},
        {"error report with a 300 KB line",
         Op::ErrorReport,
         kSupport,
         TFakeReply::LongLine,
         0,
         false,
         {},
         {"Message sent successfully."},
         1},
    };

    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        server.clearBehaviours();
        server.clearRequests();
        server.setRequestHook(nullptr);
        server.addPuzzle(kGroup, kAccount, QStringLiteral("Birds"));
        prompter.boxes.clear();
        prompter.answers = c.answers;
        LastPuzzleLink = server.puzzleLink(kGroup, kAccount, "Birds");
        QElapsedTimer clock;
        clock.start();

        // The user cancels from the form that started the request, once it has arrived.
        std::function<void()> cancel;
        qsizetype requestsAtCancel = -1;
        QObject row;
        server.setRequestHook([&](const TFakeRequest &request) {
            if (c.cancel && request.path == c.path && requestsAtCancel < 0) {
                requestsAtCancel = server.requests().size();
                QTimer::singleShot(30, &row, [&] { cancel(); });
            }
        });
        // Set last: the normal list comes first for a delete.
        const auto misbehave = [&] { server.setBehaviour(c.path, c.reply, c.status); };

        QStringList told;
        const HostingProtocol hosting = protocol();
        switch (c.op) {
        case Op::Publish: {
            TPostingPuzzleFm fm(hosting);
            fm.AutoCloseAndShowCB->setChecked(false);
            fm.show();
            cancel = [&] { fm.CloseBtn->click(); };
            misbehave();
            TQuickPublishInput in;
            in.Title = in.PuzzleName = QStringLiteral("Birds");
            in.PuzzleData = {QStringLiteral("PuzzleTitle=Birds")};
            server.setPresenceValue("Exists", "False");
            server.setPresenceValue("PuzzleCount", "0"); // within the free limit
            fm.Post(hosting.PublishUrl(), hosting.QuickPublishForm(in), "Birds", false);
            told = fm.MemoLines();
            EXPECT_EQ(fm.Memo->document()->blockCount(), told.size());
            break;
        }
        case Op::List:
        case Op::Delete: {
            TManageFm fm(hosting);
            fm.show();
            cancel = [&] { fm.CloseBtn->click(); };
            if (c.op == Op::Delete) {
                ASSERT_TRUE(fm.RefreshPuzzleList());
                fm.ManageSG->selectRow(0);
                misbehave();
                server.clearRequests();
                fm.DeleteBtnClick();
            } else {
                misbehave();
                fm.RefreshPuzzleList();
                told = fm.StatusMemo->toPlainText().split('\n');
            }
            EXPECT_TRUE(fm.isVisible()) << "a cancel ends the request, not the window";
            break;
        }
        case Op::Email: {
            TEmailPuzzleFm fm(false);
            fm.LastPuzzleLink = [] { return LastPuzzleLink; };
            fillSender(fm.SenderNameEd, fm.ReturnEmailEd);
            fm.DestinationEmailEd->setText(QStringLiteral("bob@example.org"));
            fm.PrepareMessage(QStringLiteral("Birds"));
            fm.show();
            cancel = [&] { fm.CancelBtn->click(); };
            misbehave();
            fm.SendMessage();
            EXPECT_TRUE(fm.SendingLbl->isHidden());
            break;
        }
        case Op::Support: {
            TContactUsFm fm;
            fillSender(fm.SenderNameEd, fm.ReturnEmailEd);
            fm.SubjectEd->setText(QStringLiteral("Printing"));
            fm.show();
            cancel = [&] { fm.CancelBtn->click(); };
            misbehave();
            fm.SendMessage();
            break;
        }
        case Op::ErrorReport: {
            TMyExceptionFm error(QStringLiteral("Access violation"));
            std::unique_ptr<TContactUsFm> report;
            error.ShowErrorReport = [&](const QString &subject) {
                report = std::make_unique<TContactUsFm>();
                report->SubjectEd->setText(subject);
                report->SetErrorReportMode();
                report->show();
                cancel = [&] { report->CancelBtn->click(); };
                report->SendMessage();
            };
            error.TryErrorReportCB->setChecked(true);
            misbehave();
            error.ContinueBtnClick();
            ASSERT_TRUE(report);
            EXPECT_EQ(server.requestsFor(kSupport).value(0).formValue("subject"),
                      "TRV: Error Report: Access violation");
            break;
        }
        }
        for (const ScriptedPrompter::Box &box : prompter.boxes)
            told << box.text;
        const QString all = told.join('\n');

        // (Message boxes come after the memo's lines.)
        // What the user is told, in this order, and never a success after a failure.
        qsizetype at = 0;
        for (const QString &part : c.told) {
            const qsizetype found = all.indexOf(part, at);
            EXPECT_GE(found, 0) << "missing \"" << part.left(200).toStdString() << "\" in:\n"
                                << all.left(3000).toStdString();
            if (found >= 0)
                at = found + part.size();
        }
        if (!c.told.contains(published)) {
            EXPECT_FALSE(all.contains(published));
        }
        if (!c.told.contains(QStringLiteral("Message sent successfully."))) {
            EXPECT_FALSE(all.contains(QStringLiteral("Message sent successfully.")));
        }
        // Server text is shortened wherever it is shown.
        for (const QString &line : all.split('\n'))
            EXPECT_LE(line.size(), 2003);

        EXPECT_EQ(posts(), c.posts);
        if (c.reply == TFakeReply::RedirectElsewhere) {
            EXPECT_EQ(server.requestsFor(c.path).size(), 1) << "the redirect was not followed";
        }
        if (c.cancel) {
            EXPECT_GE(requestsAtCancel, 1) << "the request arrived";
            EXPECT_EQ(server.requests().size(), requestsAtCancel) << "nothing after the cancel";
        }
        EXPECT_FALSE(MainHttpClient().busy());
        EXPECT_LT(clock.elapsed(), 15000);
        server.setRequestHook(nullptr);
    }
}
