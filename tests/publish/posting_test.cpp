// One-Click Publish: the posting window against the fake hosting server (presence, announcement,
// quota, replace question, send, errors and cancelling), its auto-close setting, and the
// publishing form's hosted form and button.
#include "postingpuzzlefm.h"
#include "publishdoc.h"

#include "alphabet.h"
#include "cluespg.h"
#include "fakehostingserver.h"
#include "globals.h"
#include "hostingstate.h"
#include "httpclient.h"
#include "prompter.h"
#include "publishfm.h"
#include "registry.h"
#include "uidialogs.h"

#include "testgrid.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

namespace {

const QString kGroup = QStringLiteral("12");
const QString kAccount = QStringLiteral("JohnSmith");
const QString kPost = QStringLiteral("/cgi-bin/Subscribe/PostPuzzle.cgi");
const QString kPresence = QStringLiteral("/cgi-bin/Subscribe/PuzzlePresence.cgi");
const QString kBefore = QStringLiteral("http://before.example/old.html");

std::string s(const QString &text) { return text.toStdString(); }

/** Answers every request with one fixed 200 body (for replies the fake cannot give). */
class FixedReplyServer
{
public:
    explicit FixedReplyServer(QByteArray body) : m_body(std::move(body))
    {
        m_server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    m_pending[socket] += socket->readAll();
                    const QByteArray data = m_pending[socket];
                    const qsizetype end = data.indexOf("\r\n\r\n");
                    if (end < 0)
                        return;
                    qsizetype length = 0;
                    for (const QByteArray &line : data.left(end).split('\n'))
                        if (line.toLower().startsWith("content-length:"))
                            length = line.mid(15).trimmed().toLongLong();
                    if (data.size() < end + 4 + length)
                        return;
                    ++Requests;
                    socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
                                  QByteArray::number(m_body.size()) + "\r\nConnection: close\r\n\r\n" +
                                  m_body);
                    socket->disconnectFromHost();
                });
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    QString url() const { return "http://127.0.0.1:" + QString::number(m_server.serverPort()) + "/post"; }
    int Requests = 0;

private:
    QTcpServer m_server;
    QByteArray m_body;
    QHash<QTcpSocket *, QByteArray> m_pending;
};

class PostingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.isListening());
        InitGlobals();
        InstallNumber = QStringLiteral("4711");
        InstallDate = QStringLiteral("2008-01-02");
        LastPuzzleLink = kBefore;
        EmailPublishing = false;
        BrowserLaunched = false;
        ServerTime = 0;
        TRegistryKey().DeleteValue(TPostingPuzzleFm::AutoCloseKey);
    }

    THostingIdentity identity() const
    {
        THostingIdentity id;
        id.Server = server.baseUrl();
        id.Group = kGroup;
        id.Account = kAccount;
        id.InstallNumber = QStringLiteral("4711");
        id.InstallDate = QStringLiteral("2008-01-02");
        id.ExeTimeStamp = QStringLiteral("2009-05-01_10:20:30");
        id.PostingEmail = QStringLiteral("post@host.example");
        return id;
    }

    QStringList formFor(const QString &name, const HostingProtocol *protocol = nullptr) const
    {
        TQuickPublishInput in;
        in.Title = name;
        in.PuzzleName = name;
        in.PuzzleData = {QStringLiteral("Title=") + name};
        return protocol ? protocol->QuickPublishForm(in) : HostingProtocol(identity()).QuickPublishForm(in);
    }

    TFakeHostingServer server;
    ScriptedPrompter prompter;
    ScriptedUiDialogs dialogs;
    RecordingShell shellRecorder;
};

QString helpEnd() { return ConnectionHelpText; }

// ---- Post, one table ------------------------------------------------------------------------

TEST_F(PostingTest, PostAgainstTheFakeServer)
{
    enum Setup {
        New,
        Exists,
        FreeLimit,
        Expired,
        QuotaExceeded,
        Unknown,
        PostError,
        NoLink,
        NonHttpLink,
        Status500,
        Garbage,
        Refused,
        SlowCancel
    };
    struct Case {
        const char *name;
        Setup setup;
        bool emailPublishing; // at the start
        bool autoClose;
        QList<Prompter::Button> answers;
        QStringList memoEnd; // the memo's last lines
        bool published;
        bool opensLink; // the puzzle link opened
        bool opensSubscribe;
        bool emailAfter;
        bool faked; // the fake got the post
        int boxes;  // message boxes shown
    };
    const QString failed =
        QStringLiteral("The following error occurred while trying to publish your puzzle to the Web:");
    const QString noAddress =
        QStringLiteral("The hosting web server did not give a web address for your puzzle.");
    const QString birdsLink = server.puzzleLink(kGroup, kAccount, "Birds");
    const QStringList success = {"Your interactive puzzle has been published to the Web.",
                                 "",
                                 "The web address of your puzzle is:",
                                 "",
                                 birdsLink,
                                 "",
                                 "This is a chance to copy & paste this web address.",
                                 "You can also get it from your browser's address line."};
    const Case cases[] = {
        {"new", New, false, true, {}, success, true, true, false, false, true, 0},
        {"exists, Yes", Exists, true, false, {Prompter::Yes}, success, true, false, false, true, true, 1},
        {"exists, No",
         Exists,
         true,
         true,
         {Prompter::No},
         {"Operation cancelled. ", "",
          "You may wish to change the title of your puzzle and try again. It must be a change "
          "in the letters or numbers."},
         false,
         false,
         false,
         false,
         false,
         1},
        {"free limit, Yes", FreeLimit, true, false, {Prompter::Yes}, {}, false, false, true, false, false, 1},
        {"expired, Cancel",
         Expired,
         true,
         false,
         {Prompter::Cancel},
         {},
         false,
         false,
         false,
         false,
         false,
         1},
        {"quota exceeded, No",
         QuotaExceeded,
         true,
         false,
         {Prompter::No},
         {},
         false,
         false,
         false,
         false,
         false,
         1},
        {"unknown presence",
         Unknown,
         true,
         false,
         {},
         {"You can also get it from your browser's address line.", "",
          "Can not tell if a puzzle with that title already exists."},
         true,
         false,
         false,
         true,
         true,
         0},
        {"Error",
         PostError,
         true,
         false,
         {},
         {"There was a problem publishing your puzzle to the web.",
          "The hosting web server said:", "Disk full"},
         false,
         false,
         false,
         false,
         true,
         0},
        {"no link",
         NoLink,
         true,
         true,
         {},
         {failed, noAddress, "", helpEnd()},
         false,
         false,
         false,
         false,
         true,
         0},
        {"non-http link",
         NonHttpLink,
         false,
         true,
         {},
         {failed, noAddress, "", helpEnd()},
         false,
         false,
         false,
         false,
         false,
         0},
        {"500",
         Status500,
         true,
         true,
         {},
         {failed, "HTTP/1.1 500 Internal Server Error", "", helpEnd()},
         false,
         false,
         false,
         false,
         true,
         0},
        {"garbage",
         Garbage,
         true,
         true,
         {},
         {failed, noAddress, "", helpEnd()},
         false,
         false,
         false,
         false,
         true,
         0},
        {"slow, then cancelled",
         SlowCancel,
         true,
         true,
         {},
         {failed, "Canceled by User", "", helpEnd()},
         false,
         false,
         false,
         false,
         true,
         0},
        // Last: the port stays closed.
        {"refused, sent anyway",
         Refused,
         true,
         true,
         {Prompter::Yes},
         {failed, "Unknown error or not connected to the Internet", "", helpEnd()},
         false,
         false,
         false,
         false,
         false,
         1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        server.clearBehaviours();
        server.clearRequests();
        server.setPostError(QString());
        server.setRequestHook(nullptr);
        server.setPresenceValue("SubscriptionExpiry", "2000-01-01");
        server.setPresenceValue("SubscriptionLimit", "0");
        // Each row has an account of its own (the fake keeps what was posted).
        QString account = kAccount + QString::fromLatin1(c.name);
        account.remove(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")));
        THostingIdentity id = identity();
        id.Account = account;
        const HostingProtocol protocol(id);
        const QString link = server.puzzleLink(kGroup, account, "Birds");
        QStringList memoEnd = c.memoEnd;
        if (c.memoEnd == success)
            memoEnd.replace(4, link);
        // "Exists" as the fake's list has it (a value once set or omitted stays so).
        const bool exists = c.setup == Exists;
        server.setPresenceValue("Exists", exists ? "True" : "False");
        if (exists)
            server.addPuzzle(kGroup, account, "Birds");
        FixedReplyServer odd("PuzzleLink=javascript:alert(1)\r\nTimely=True\r\n");
        QString publishUrl = protocol.PublishUrl();
        switch (c.setup) {
        case New:
        case Exists: break;
        case FreeLimit: server.addPuzzle(kGroup, account, "Other"); break;
        case Expired:
            server.addPuzzle(kGroup, account, "Other");
            server.setPresenceValue("SubscriptionExpiry", "2005-01-01");
            break;
        case QuotaExceeded:
            server.addPuzzle(kGroup, account, "A");
            server.addPuzzle(kGroup, account, "B");
            server.setPresenceValue("SubscriptionExpiry", "2099-12-31");
            server.setPresenceValue("SubscriptionLimit", "2");
            break;
        case Unknown: server.omitPresenceValue("Exists"); break;
        case PostError: server.setPostError("Disk full"); break;
        case NoLink: server.setBehaviour(kPost, TFakeReply::Status, 200); break;
        case NonHttpLink: publishUrl = odd.url(); break;
        case Status500: server.setBehaviour(kPost, TFakeReply::Status, 500); break;
        case Garbage: server.setBehaviour(kPost, TFakeReply::Garbage); break;
        case Refused: break;
        case SlowCancel: server.setBehaviour(kPost, TFakeReply::NoReplyUntilCancelled); break;
        }

        LastPuzzleLink = kBefore;
        EmailPublishing = c.emailPublishing;
        BrowserLaunched = false;
        shellRecorder.Opened.clear();
        prompter.boxes.clear();
        prompter.answers = c.answers;

        auto fm = std::make_unique<TPostingPuzzleFm>(protocol);
        fm->AutoCloseAndShowCB->setChecked(c.autoClose);
        fm->show();
        if (c.setup == SlowCancel)
            server.setRequestHook([&](const TFakeRequest &request) {
                if (request.path == kPost)
                    QTimer::singleShot(50, fm.get(), [&] { fm->CloseBtn->click(); });
            });
        if (c.setup == Refused)
            server.closePort();
        const bool published = fm->Post(publishUrl, formFor("Birds", &protocol), "Birds", false);

        EXPECT_EQ(published, c.published);
        const QStringList memo = fm->MemoLines();
        ASSERT_GE(memo.size(), memoEnd.size()) << s(memo.join('|'));
        EXPECT_EQ(memo.mid(memo.size() - memoEnd.size()), memoEnd) << s(memo.join('|'));
        QStringList opened;
        for (const QUrl &url : shellRecorder.Opened)
            opened << url.toString();
        QStringList expectedOpened;
        if (c.opensLink)
            expectedOpened << link;
        if (c.opensSubscribe)
            expectedOpened << protocol.SubscribeUrl();
        EXPECT_EQ(opened, expectedOpened);
        EXPECT_EQ(LastPuzzleLink, c.published ? link : kBefore) << s(LastPuzzleLink);
        EXPECT_EQ(EmailPublishing, c.emailAfter);
        EXPECT_EQ(BrowserLaunched, c.published && (c.opensLink || c.emailPublishing));
        EXPECT_EQ(fm->LaunchBitBtn->isEnabled(), c.published);
        EXPECT_EQ(server.requestsFor(kPost).size(), c.faked ? 1 : 0);
        EXPECT_EQ(prompter.boxes.size(), c.boxes);
        EXPECT_EQ(fm->Refused(), c.setup == FreeLimit || c.setup == Expired || c.setup == QuotaExceeded);
        EXPECT_TRUE(fm->isVisible()) << "a cancel does not close the window";
        if (c.setup == NonHttpLink) {
            EXPECT_EQ(odd.Requests, 1);
        }
        if (c.setup == Refused) {
            // The failed presence check was said first; the puzzle was tried after the yes.
            EXPECT_TRUE(memo.contains("The following error occurred while trying to check for "
                                      "your puzzle on the Web:"));
            EXPECT_TRUE(memo.contains("Contacting host . . . "));
            EXPECT_TRUE(memo.contains("Sending puzzle . . . "));
            EXPECT_EQ(prompter.boxes[0].text, TPostingPuzzleFm::SendUncheckedQuestion);
        }
        if (c.setup == Exists) {
            EXPECT_EQ(prompter.boxes[0].text, "A puzzle with that title already exists. Its URL is:\n\n" +
                                                  link + "\n\nDo you want to replace it? ");
        }
        if (c.setup == QuotaExceeded) {
            EXPECT_TRUE(prompter.boxes[0].text.startsWith(
                "This action would exceed your subscription quota of 2 published puzzles."));
            EXPECT_EQ(prompter.boxes[0].buttons, Prompter::Yes | Prompter::No);
        }
        if (c.setup == FreeLimit || c.setup == Expired) {
            EXPECT_TRUE(prompter.boxes[0].text.startsWith(
                c.setup == FreeLimit ? "You have reached the limit of free puzzle hosting."
                                     : "Your subscription has expired."));
            EXPECT_EQ(prompter.boxes[0].buttons, Prompter::Yes | Prompter::Cancel);
        }
    }
}

TEST_F(PostingTest, EscapeCancelsARunningRequestAndKeepsTheWindow)
{
    const HostingProtocol protocol(identity());
    server.setBehaviour(kPost, TFakeReply::NoReplyUntilCancelled);
    TPostingPuzzleFm fm(protocol);
    fm.show();
    server.setRequestHook([&](const TFakeRequest &request) {
        if (request.path == kPost)
            QTimer::singleShot(50, &fm, [&] {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QCoreApplication::sendEvent(&fm, &press);
            });
    });
    EmailPublishing = true;
    EXPECT_FALSE(fm.Post(protocol.PublishUrl(), formFor("Birds"), "Birds", false));
    server.setRequestHook(nullptr);
    EXPECT_TRUE(fm.isVisible());
    EXPECT_TRUE(fm.MemoLines().contains("Canceled by User"));
    EXPECT_FALSE(EmailPublishing);
    EXPECT_FALSE(MainHttpClient().busy());
    // With no request running, Esc closes it.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&fm, &press);
    EXPECT_FALSE(fm.isVisible());
}

TEST_F(PostingTest, PlayModeOpensThePuzzleWithoutAskingToReplace)
{
    const HostingProtocol protocol(identity());
    server.addPuzzle(kGroup, kAccount, "Play-Puzzle");
    server.setPresenceValue("Exists", "True");
    TPostingPuzzleFm fm(protocol);
    EXPECT_TRUE(fm.Post(protocol.PublishUrl(), formFor("Play-Puzzle"), "Play-Puzzle", true));
    EXPECT_TRUE(prompter.boxes.isEmpty());
    const QString link = server.puzzleLink(kGroup, kAccount, "Play-Puzzle");
    ASSERT_EQ(shellRecorder.Opened.size(), 1);
    EXPECT_EQ(shellRecorder.Opened[0].toString(), link);
    EXPECT_TRUE(BrowserLaunched);
    EXPECT_EQ(LastPuzzleLink, link);
    EXPECT_EQ(ServerTime, 63517200);
}

TEST_F(PostingTest, AnnouncementOpensOnlyAWebAddress)
{
    const HostingProtocol protocol(identity());
    struct Case {
        const char *url;
        bool yesButton;
        Prompter::Button answer;
        bool opened;
    };
    const Case cases[] = {
        {"http://news.example/a.html", true, Prompter::Yes, true},
        {"http://news.example/a.html", true, Prompter::No, false},
        {"http://news.example/a.html", false, Prompter::Ok, false},
        {"file:///etc/passwd", true, Prompter::Yes, false},
        {"javascript:alert(1)", true, Prompter::Yes, false},
    };
    server.setPresenceValue("Exists", "False");
    server.setPresenceValue("Announcement", "  News!  ");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.url);
        server.setPresenceValue("AnnouncementUrl", QString(" ") + c.url);
        server.setPresenceValue("AnnouncementYesBtn", c.yesButton ? "true" : "False");
        shellRecorder.Opened.clear();
        prompter.boxes.clear();
        prompter.answers = {c.answer};
        TPostingPuzzleFm fm(protocol);
        fm.Post(protocol.PublishUrl(), formFor("News"), "News", false);
        ASSERT_GE(prompter.boxes.size(), 1);
        EXPECT_EQ(prompter.boxes[0].text, "News!");
        EXPECT_EQ(prompter.boxes[0].buttons, c.yesButton ? Prompter::Yes | Prompter::No : int(Prompter::Ok));
        const bool opened = !shellRecorder.Opened.isEmpty() &&
                            shellRecorder.Opened[0].toString() == QString::fromLatin1(c.url);
        EXPECT_EQ(opened, c.opened);
        for (const QUrl &url : shellRecorder.Opened)
            EXPECT_TRUE(url.scheme() == "http") << s(url.toString());
    }
}

TEST_F(PostingTest, AutoCloseSettingIsWrittenOnlyWhenChanged)
{
    const HostingProtocol protocol(identity());
    {
        TPostingPuzzleFm fm(protocol);
        EXPECT_FALSE(fm.AutoCloseAndShowCB->isChecked()); // missing: false
        fm.CloseBtn->click();
    }
    EXPECT_FALSE(TRegistryKey().ValueExists(TPostingPuzzleFm::AutoCloseKey));
    {
        TPostingPuzzleFm fm(protocol);
        fm.AutoCloseAndShowCB->setChecked(true);
        EXPECT_FALSE(TRegistryKey().ValueExists(TPostingPuzzleFm::AutoCloseKey));
        fm.CloseBtn->click();
        EXPECT_TRUE(TRegistryKey().ReadBool(TPostingPuzzleFm::AutoCloseKey, false));
    }
    {
        TPostingPuzzleFm fm(protocol);
        EXPECT_TRUE(fm.AutoCloseAndShowCB->isChecked());
        fm.AutoCloseAndShowCB->setChecked(false);
        fm.AutoCloseAndShowCB->setChecked(true);                         // back as it was: nothing to write
        TRegistryKey().WriteBool(TPostingPuzzleFm::AutoCloseKey, false); // someone else's write
        fm.CloseBtn->click();
        EXPECT_FALSE(TRegistryKey().ReadBool(TPostingPuzzleFm::AutoCloseKey, true));
    }
}

TEST_F(PostingTest, LaunchButtonAndSubscriptionLink)
{
    const HostingProtocol protocol(identity());
    server.setPresenceValue("Exists", "False");
    TPostingPuzzleFm fm(protocol);
    fm.show();
    ASSERT_TRUE(fm.Post(protocol.PublishUrl(), formFor("Owls"), "Owls", false));
    EXPECT_TRUE(shellRecorder.Opened.isEmpty());
    EXPECT_FALSE(BrowserLaunched);
    fm.LaunchBitBtn->click();
    fm.SubscribeLnkClick();
    ASSERT_EQ(shellRecorder.Opened.size(), 2);
    EXPECT_EQ(shellRecorder.Opened[0].toString(), server.puzzleLink(kGroup, kAccount, "Owls"));
    EXPECT_EQ(shellRecorder.Opened[1].toString(), protocol.SubscribeUrl());
    EXPECT_TRUE(BrowserLaunched);
    EXPECT_FALSE(fm.isVisible());
    EXPECT_EQ(fm.result(), QDialog::Accepted);
}

// ---- The publishing form ------------------------------------------------------------------

class QuickPublishTest : public PostingTest
{
protected:
    void SetUp() override
    {
        PostingTest::SetUp();
        ResetPublishDocument(&words, false);
        SetTestGrid({QStringLiteral("*A")});
        QSettings settings(QStringLiteral("Halvard, Inc."), QStringLiteral("TRV"));
        settings.setValue("Network/HostingBaseUrl", server.baseUrl());
        settings.setValue("Network/HostingGroup", kGroup);
        hooks.MainTitle = [] { return QStringLiteral("Big Birds & Owls"); };
        hooks.PuzzleFileName = [] { return QStringLiteral("/home/me/Birds.trv"); };
    }
    void TearDown() override
    {
        QSettings settings(QStringLiteral("Halvard, Inc."), QStringLiteral("TRV"));
        settings.remove("Network/HostingBaseUrl");
        settings.remove("Network/HostingGroup");
        WordList = nullptr;
    }
    TPublishHooks hooks;
    TPlainWordList words;
};

TEST_F(QuickPublishTest, PuzzleNameAndForm)
{
    TPublishFm form(hooks);
    EXPECT_EQ(form.GetPuzzleName(), SanitizeName("Big Birds & Owls"));
    form.PlayMode = true;
    EXPECT_EQ(form.GetPuzzleName(), "Play-Puzzle");
    form.PlayMode = false;

    ServerTime = 1234;
    const HostingProtocol protocol(HostingIdentity());
    EXPECT_EQ(protocol.Identity().Server, server.baseUrl());
    EXPECT_EQ(protocol.Identity().Group, kGroup);
    EXPECT_EQ(protocol.Identity().Account, SanitizeName(GetWindowsUserName()));
    EXPECT_EQ(protocol.Identity().InstallNumber, "4711");
    EXPECT_EQ(protocol.Identity().InstallDate, "2008-01-02");
    EXPECT_EQ(protocol.Identity().ExeTimeStamp, FileAgeStamp(QCoreApplication::applicationFilePath()));
    EXPECT_EQ(protocol.Identity().PostingEmail, HostingPostingEmail());

    const QString name = form.GetPuzzleName();
    TQuickPublishInput in;
    in.PuzzleFileName = "/home/me/Birds.trv";
    in.Title = "Big Birds & Owls";
    in.DistributedVia = ReadDistributedVia();
    in.ServerTime = 1234;
    in.PuzzleName = name;
    in.PuzzleData = form.BuildPuzzleData();
    in.HtmlPage = form.BuildAppletPage(name + ".txt", false);
    in.PageFields = form.BuildPageFields(name + ".txt", false);
    EXPECT_EQ(form.QuickPublishForm(protocol), protocol.QuickPublishForm(in));
    EXPECT_TRUE(form.QuickPublishForm(protocol).join('\n').contains(name + ".txt"));
}

TEST_F(QuickPublishTest, ButtonPostsThroughThePostingWindow)
{
    int hooked = 0;
    hooks.QuickPublish = [&] { ++hooked; };
    TPublishFm form(hooks);
    EXPECT_TRUE(form.Java_QuickPublishBtn->isEnabled());
    QStringList modal;
    dialogs.OnModal = [&](QDialog &dialog) { modal << dialog.objectName() + ": " + dialog.windowTitle(); };
    const QString account = SanitizeName(GetWindowsUserName());
    form.Java_QuickPublishBtn->click();
    EXPECT_EQ(hooked, 0);
    const QString name = SanitizeName("Big Birds & Owls");
    EXPECT_EQ(server.puzzles(kGroup, account), QStringList{name});
    const QList<TFakeRequest> posts = server.requestsFor(kPost);
    ASSERT_EQ(posts.size(), 1);
    EXPECT_EQ(posts[0].formValue("Puzzle"), name);
    EXPECT_EQ(posts[0].formValue("PuzzleTitle"), "Big Birds & Owls");
    EXPECT_EQ(posts[0].formValue("Puzzle_File_Name"), "/home/me/Birds.trv");
    EXPECT_EQ(posts[0].formValue("Id1"), FormatId1(63517200)); // of this presence check
    EXPECT_EQ(ServerTime, 63517200);
    // Not opened in the browser: the window is shown modally with the result.
    EXPECT_EQ(modal, QStringList{"PostingPuzzleFm: Publishing Puzzle"});
    EXPECT_TRUE(shellRecorder.Opened.isEmpty());
    EXPECT_EQ(LastPuzzleLink, server.puzzleLink(kGroup, account, name));

    // Published again with the box ticked: replaced (Yes), opened, no modal window; "Id1"
    // carries the server time of this check, not of the one before.
    TRegistryKey().WriteBool(TPostingPuzzleFm::AutoCloseKey, true);
    server.setPresenceValue("Time", "63517300");
    prompter.answers = {Prompter::Yes};
    modal.clear();
    form.Java_QuickPublishBtn->click();
    ASSERT_EQ(server.requestsFor(kPost).size(), 2);
    EXPECT_EQ(server.requestsFor(kPost)[1].formValue("Id1"), FormatId1(63517300));
    EXPECT_TRUE(modal.isEmpty());
    ASSERT_EQ(shellRecorder.Opened.size(), 1);
    EXPECT_EQ(shellRecorder.Opened[0].toString(), server.puzzleLink(kGroup, account, name));

    // A quota refusal shows no empty window afterwards.
    prompter.answers = {Prompter::Cancel};
    form.TitleEd->setText("Second One");
    form.Java_QuickPublishBtn->click();
    EXPECT_EQ(server.requestsFor(kPost).size(), 2);
    EXPECT_TRUE(modal.isEmpty());
}

TEST_F(QuickPublishTest, WithoutAnAccountGroupTheHookRuns)
{
    QSettings(QStringLiteral("Halvard, Inc."), QStringLiteral("TRV")).remove("Network/HostingGroup");
    EXPECT_FALSE(HostingConfigured());
    TPublishFm bare(hooks);
    EXPECT_FALSE(bare.Java_QuickPublishBtn->isEnabled());
    int hooked = 0;
    hooks.QuickPublish = [&] { ++hooked; };
    TPublishFm form(hooks);
    EXPECT_TRUE(form.Java_QuickPublishBtn->isEnabled());
    form.Java_QuickPublishBtn->click();
    EXPECT_EQ(hooked, 1);
    EXPECT_TRUE(server.requests().isEmpty());
}

} // namespace
