// The HTTP client against the fake hosting server: results, failure texts, cancelling, one
// request at a time, input blocking, and what the server reads from queries and forms.
#include "fakehostingserver.h"
#include "globals.h"
#include "globalsui.h"
#include "httpclient.h"
#include "prompter.h"
#include "testprint.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString Unknown = QStringLiteral("Unknown error or not connected to the Internet");

class HttpClientTest : public ::testing::Test
{
protected:
    TFakeHostingServer server;
    HttpClient client;
};

// Counts the input that gets through to it.
class InputCounter : public QLineEdit
{
public:
    int keys = 0;
    int clicks = 0;

protected:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress)
            ++keys;
        else if (event->type() == QEvent::MouseButtonPress)
            ++clicks;
        return QLineEdit::event(event);
    }
};

void pressKeyAndClick(QWidget *widget)
{
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(widget, &key);
    const QPointF at(2, 2);
    QMouseEvent click(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &click);
}

} // namespace

TEST_F(HttpClientTest, ResultOfEachKindOfReply)
{
    const struct {
        const char *path;
        TFakeReply reply;
        int status;
        bool ok;
        const char *responseText;
        bool networkError;
    } cases[] = {
        {"/index.htm", TFakeReply::Normal, 0, true, "HTTP/1.1 200 OK", false},
        {"/missing.htm", TFakeReply::Normal, 0, false, "HTTP/1.1 404 Not Found", false},
        {"/a.cgi", TFakeReply::Status, 500, false, "HTTP/1.1 500 Internal Server Error", false},
        {"/b.cgi", TFakeReply::Status, 503, false, "HTTP/1.1 503 Service Unavailable", false},
        // Unreadable text is still a 2xx reply; reading it is the caller's business.
        {"/c.cgi", TFakeReply::Garbage, 0, true, "HTTP/1.1 200 OK", false},
        // A 2xx reply that ends before its Content-Length is not a success.
        {"/cgi-bin/Subscribe/PuzzlePresence.cgi", TFakeReply::CutShort, 0, false, "HTTP/1.1 200 OK", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        server.setBehaviour(c.path, c.reply, c.status);
        QByteArray body = "stale";
        EXPECT_EQ(client.get(server.url(c.path), &body), c.ok);
        EXPECT_EQ(client.responseText(), c.responseText);
        EXPECT_EQ(client.errorString().isEmpty(), !c.networkError) << client.errorString().toStdString();
        if (!c.ok) {
            EXPECT_EQ(client.failureText(), c.networkError ? client.errorString() : client.responseText());
        }
        if (c.reply == TFakeReply::Garbage) {
            EXPECT_EQ(body.size(), 512);
            EXPECT_FALSE(body.contains('='));
        }
        EXPECT_NE(body, "stale");
    }
    ASSERT_EQ(server.requests().size(), int(std::size(cases)));
    EXPECT_EQ(server.requests().first().method, "GET");
}

TEST_F(HttpClientTest, NoConnectionGivesTheUnknownErrorText)
{
    // The server drops the connection and closes its port: that request and the next fail.
    server.setBehaviour("/drop.cgi", TFakeReply::Closed);
    EXPECT_FALSE(client.get(server.url("/drop.cgi")));
    EXPECT_EQ(client.statusCode(), 0);
    EXPECT_EQ(client.failureText(), Unknown);
    EXPECT_FALSE(server.isListening());

    EXPECT_FALSE(client.post(server.url("/x.cgi"), {"a=1"}));
    EXPECT_EQ(client.statusCode(), 0);
    EXPECT_TRUE(client.responseText().isEmpty());
    EXPECT_FALSE(client.errorString().isEmpty());
    EXPECT_EQ(client.failureText(), Unknown);
    EXPECT_EQ(server.requests().size(), 1);
}

TEST_F(HttpClientTest, AbortEndsASlowRequest)
{
    client.abort(); // nothing runs: no effect
    EXPECT_FALSE(client.busy());

    server.setBehaviour("/slow.cgi", TFakeReply::NoReplyUntilCancelled);
    QTimer::singleShot(100, [this] {
        EXPECT_TRUE(client.busy());
        client.abort();
    });
    QElapsedTimer clock;
    clock.start();
    QByteArray body;
    EXPECT_FALSE(client.get(server.url("/slow.cgi"), &body));
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(client.responseText(), "Canceled by User");
    EXPECT_EQ(client.errorString(), "Canceled by User");
    EXPECT_EQ(client.failureText(), "Canceled by User");
    EXPECT_EQ(client.statusCode(), 0);
    EXPECT_FALSE(client.busy());

    // The next request runs normally.
    EXPECT_TRUE(client.get(server.url("/index.htm"), &body));
    EXPECT_TRUE(client.errorString().isEmpty());
}

TEST_F(HttpClientTest, OneRequestAtATime)
{
    server.setBehaviour("/slow.cgi", TFakeReply::NoReplyUntilCancelled);
    bool refusedGet = true, refusedPost = true;
    QString refusalText;
    QByteArray otherBody = "stale";
    server.setRequestHook([&](const TFakeRequest &) {
        QTimer::singleShot(0, [&] {
            refusedGet = !client.get(server.url("/index.htm"), &otherBody);
            refusalText = client.failureText();
            refusedPost = !client.post(server.url("/form.cgi"), {"a=1"});
            EXPECT_TRUE(client.busy()) << "the running request goes on";
            client.abort();
        });
    });
    QByteArray body;
    EXPECT_FALSE(client.get(server.url("/slow.cgi"), &body));
    EXPECT_TRUE(refusedGet);
    EXPECT_TRUE(refusedPost);
    EXPECT_EQ(refusalText, "Another request is still running.");
    EXPECT_TRUE(otherBody.isEmpty());
    EXPECT_EQ(client.failureText(), "Canceled by User") << "the running request's own result";
    // The refused requests never reached the server.
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_EQ(server.requests().first().path, "/slow.cgi");
}

TEST_F(HttpClientTest, OnlyTheRunningWindowTakesInputAndNoWindowCloses)
{
    QWidget mainWindow;
    InputCounter *mainEdit = new InputCounter;
    (new QVBoxLayout(&mainWindow))->addWidget(mainEdit);
    QWidget posting;
    InputCounter *postingEdit = new InputCounter;
    (new QVBoxLayout(&posting))->addWidget(postingEdit);
    mainWindow.show();
    posting.show();

    bool mainClosed = true, postingClosed = true;
    server.setRequestHook([&](const TFakeRequest &) {
        ASSERT_TRUE(client.busy());
        pressKeyAndClick(mainEdit);
        pressKeyAndClick(postingEdit);
        mainClosed = mainWindow.close();
        postingClosed = posting.close();
    });
    EXPECT_TRUE(client.get(server.url("/index.htm"), nullptr, &posting));
    EXPECT_EQ(mainEdit->keys, 0);
    EXPECT_EQ(mainEdit->clicks, 0);
    EXPECT_EQ(postingEdit->keys, 1);
    EXPECT_EQ(postingEdit->clicks, 1);
    EXPECT_FALSE(mainClosed);
    EXPECT_FALSE(postingClosed);
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_TRUE(posting.isVisible());

    // Without a window no widget takes input; once the request is over all of them do again.
    server.setRequestHook([&](const TFakeRequest &) { pressKeyAndClick(postingEdit); });
    EXPECT_TRUE(client.get(server.url("/index.htm")));
    EXPECT_EQ(postingEdit->keys, 1);
    pressKeyAndClick(mainEdit);
    EXPECT_EQ(mainEdit->keys, 1);
    EXPECT_EQ(mainEdit->clicks, 1);
    EXPECT_TRUE(mainWindow.close());
}

TEST_F(HttpClientTest, ServerReadsQueryAndFormAsWindows1252)
{
    const QString value = QString::fromUtf8("a&b=c%d é€+");
    EXPECT_TRUE(client.get(server.url("/index.htm?Name=" + UrlEncode(value) + "&Empty=&Plain=x y")));
    EXPECT_TRUE(client.post(server.url("/f.cgi"), {"Name=" + value, "Second=2", "Name=again"}));
    ASSERT_EQ(server.requests().size(), 2);

    const TFakeRequest &get = server.requests()[0];
    EXPECT_EQ(get.path, "/index.htm");
    EXPECT_EQ(get.query.value("Name"), value);
    EXPECT_TRUE(get.query.contains("Empty"));
    EXPECT_EQ(get.query.value("Plain"), "x y");
    EXPECT_TRUE(get.raw.startsWith("GET /index.htm?Name=a%26b%3Dc%25d%20%E9%80%2B&")) << get.raw.data();

    const TFakeRequest &post = server.requests()[1];
    EXPECT_EQ(post.method, "POST");
    const QList<QPair<QString, QString>> form = {{"Name", value}, {"Second", "2"}, {"Name", "again"}};
    EXPECT_EQ(post.form, form);
    EXPECT_EQ(post.formValue("Name"), value);

    // A "+" in a form is a blank; in a query it stays.
    EXPECT_EQ(TFakeHostingServer::decodePairs("a=b+c%2B", true).value(0).second, "b c+");
    EXPECT_EQ(TFakeHostingServer::decodePairs("a=b+c", false).value(0).second, "b+c");
}

TEST_F(HttpClientTest, HostingScriptsKeepAPuzzleListPerAccount)
{
    const QString account = "?Group=7&Account=AnnLee";
    QByteArray body;
    ASSERT_TRUE(client.get(server.scriptUrl("PuzzlePresence.cgi") + account + "&Puzzle=Cats", &body));
    EXPECT_TRUE(body.contains("Exists=False\r\n"));
    EXPECT_TRUE(body.contains("PuzzleCount=0\r\n"));

    ASSERT_TRUE(client.post(server.scriptUrl("PostPuzzle.cgi"),
                            {"recipient=Publish", "Group=7", "Account=AnnLee", "Puzzle=Cats"}, &body));
    const QString link = server.baseUrl() + "/7/AnnLee/Cats.html";
    EXPECT_EQ(body, "PuzzleLink=" + link.toLatin1() + "\r\nTimely=True\r\n");
    EXPECT_EQ(server.puzzles("7", "AnnLee"), QStringList{"Cats"});
    EXPECT_TRUE(server.puzzles("8", "AnnLee").isEmpty());

    server.setPresenceValue("FreeLimit", "3");
    server.omitPresenceValue("Exists");
    ASSERT_TRUE(client.get(server.scriptUrl("PuzzlePresence.cgi") + account + "&Puzzle=Cats", &body));
    EXPECT_FALSE(body.contains("Exists="));
    EXPECT_TRUE(body.contains("FreeLimit=3\r\n"));
    EXPECT_TRUE(body.contains("PuzzleCount=1\r\n"));
    EXPECT_TRUE(body.contains("UrlOfLatestCheck=" + link.toLatin1() + "\r\n"));

    server.addPuzzle("7", "AnnLee", "MyFirstPuzzle");
    server.setPresenceValue("SubscriptionLimit", "5");
    ASSERT_TRUE(client.get(server.scriptUrl("FetchPuzzleList.cgi") + account, &body));
    EXPECT_EQ(body, "7/AnnLee/Cats.html\">\r\n7/AnnLee/MyFirstPuzzle.html\">\r\n"
                    "SubscriptionExpiry=2000-01-01\r\nSubscriptionLimit=5\r\n");

    ASSERT_TRUE(client.get(server.scriptUrl("DeletePuzzle.cgi") + account + "&Puzzle=Cats.html", &body));
    EXPECT_EQ(body, "OK");
    ASSERT_TRUE(client.get(server.scriptUrl("DeletePuzzle.cgi") + account + "&Puzzle=MyFirstPuzzle"));
    EXPECT_TRUE(server.puzzles("7", "AnnLee").isEmpty());

    server.setPostError("Quota exceeded");
    ASSERT_TRUE(
        client.post(server.scriptUrl("PostPuzzle.cgi"), {"Group=7", "Account=AnnLee", "Puzzle=Dogs"}, &body));
    EXPECT_EQ(body, "Error=Quota exceeded\r\n");
    EXPECT_TRUE(server.puzzles("7", "AnnLee").isEmpty());

    ASSERT_TRUE(client.get(server.scriptUrl("BeforeSecurePage.cgi") + account, &body));
    EXPECT_TRUE(body.contains("<html>"));
    server.addFile("/p/a.trv", "TRVFileFormat=8\r\n", "text/plain");
    ASSERT_TRUE(client.get(server.url("/p/a.trv"), &body));
    EXPECT_EQ(body, "TRVFileFormat=8\r\n");
}

TEST_F(HttpClientTest, PostMessageToServerTellsWhetherItWentThrough)
{
    ScriptedPrompter script;
    EXPECT_TRUE(PostMessageToServer({"recipient=receptionist", "subject=Hi"},
                                    server.url("/cgi-bin/hvTechSupport.cgi")));
    EXPECT_EQ(script.lastText(), "Message sent successfully.");
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_EQ(server.requests().first().formValue("subject"), "Hi");

    server.setBehaviour("/cgi-bin/hvTechSupport.cgi", TFakeReply::CutShort);
    EXPECT_FALSE(PostMessageToServer({"a=1"}, server.url("/cgi-bin/hvTechSupport.cgi")));
    EXPECT_TRUE(script.lastText().startsWith("The following error occurred"));
    EXPECT_FALSE(script.lastText().contains("200 OK")) << "a cut reply shows the network error";
    EXPECT_EQ(script.boxes.size(), 2);

    // A 200 that says "Error=" did not send the message.
    server.setBehaviour("/cgi-bin/hvTechSupport.cgi", TFakeReply::ErrorBody);
    EXPECT_FALSE(PostMessageToServer({"a=1"}, server.url("/cgi-bin/hvTechSupport.cgi")));
    EXPECT_EQ(script.lastText(), "The following error occurred when sending your message: " + ParagraphBreak +
                                     "\"Mail system down\"" + ParagraphBreak + ConnectionHelpText);
}

TEST_F(HttpClientTest, RequestsAreSentOnceAndEndWithinTheirLimits)
{
    QSettings settings(QStringLiteral("Halvard, Inc."), QStringLiteral("TRV"));
    // Long enough for a busy machine's fake server to answer the rows that get an answer.
    settings.setValue("Network/TimeoutSeconds", 2);
    const struct {
        const char *name;
        bool post;
        TFakeReply reply;
        bool ok;
        const char *told; // part of the failure text
        int requests;     // that the server got
    } cases[] = {
        {"POST, closed without a reply", true, TFakeReply::CloseWithoutReply, false, "", 1},
        {"POST, redirected", true, TFakeReply::RedirectElsewhere, false,
         "sent the request on to http://localhost:", 1},
        {"POST, redirected on its own host", true, TFakeReply::RedirectHome, false, "it was not sent again",
         1},
        {"GET, redirected to another host", false, TFakeReply::RedirectElsewhere, false,
         "which is not followed", 1},
        {"GET, redirected on its own host", false, TFakeReply::RedirectHome, true, "", 2},
        {"POST, 300 MB", true, TFakeReply::HugeBody, false, "larger than 1 MiB", 1},
        {"GET, 300 MB", false, TFakeReply::HugeBody, false, "larger than 1 MiB", 1},
        {"GET, no answer", false, TFakeReply::NoReplyUntilCancelled, false,
         "The server did not answer within 2 seconds.", 1},
        {"POST, no answer", true, TFakeReply::NoReplyUntilCancelled, false,
         "The server did not answer within 2 seconds.", 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        server.clearRequests();
        server.setBehaviour("/x.cgi", c.reply);
        const qint64 hugeBefore = server.hugeBytesSent();
        QElapsedTimer clock;
        clock.start();
        QByteArray body;
        const bool ok = c.post ? client.post(server.url("/x.cgi"), {"Password=secret"}, &body)
                               : client.get(server.url("/x.cgi"), &body);
        EXPECT_EQ(ok, c.ok);
        EXPECT_TRUE(client.failureText().contains(QLatin1String(c.told)))
            << client.failureText().toStdString();
        EXPECT_EQ(server.requests().size(), c.requests);
        EXPECT_EQ(client.timedOut(), c.reply == TFakeReply::NoReplyUntilCancelled);
        EXPECT_FALSE(client.canceled());
        EXPECT_LE(body.size(), HttpClient::ScriptLimit);
        EXPECT_LT(clock.elapsed(), 8000);
        // The huge body stops soon after the cap: the client reads no further.
        EXPECT_LT(server.hugeBytesSent() - hugeBefore, 50 * 1024 * 1024);
        if (c.reply == TFakeReply::RedirectHome && !c.post) {
            EXPECT_TRUE(body.contains("Puzzle Directory"));
        }
    }
    // A larger cap lets a page through that a script reply may not be.
    server.addFile("/big.htm", QByteArray(2 * 1024 * 1024, 'a'));
    EXPECT_FALSE(client.get(server.url("/big.htm")));
    EXPECT_TRUE(client.get(server.url("/big.htm"), nullptr, nullptr, HttpClient::PageLimit));
    settings.remove("Network/TimeoutSeconds");
    EXPECT_EQ(HttpClient::TimeoutSeconds(), 60.0);
}

TEST(HttpSettingsTest, ServiceValuesComeFromTheSettings)
{
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
    QSettings settings(QStringLiteral("Halvard, Inc."), QStringLiteral("TRV"));
    const struct {
        const char *stored; // null: missing
        const char *group;
    } groups[] = {{nullptr, "0"}, {"", "0"}, {"  ", "0"}, {"42", "42"}, {" 7 ", "7"}, {"x1", "0"}};
    for (const auto &c : groups) {
        if (c.stored)
            settings.setValue("Network/HostingGroup", c.stored);
        else
            settings.remove("Network/HostingGroup");
        settings.sync();
        EXPECT_EQ(HostingGroup(), c.group) << (c.stored ? c.stored : "(missing)");
    }
    settings.setValue("Network/DirectoryBaseUrl", "http://127.0.0.1:8080/dir//");
    settings.setValue("Network/HostingPostingEmail", "post@example.com");
    settings.sync();
    EXPECT_EQ(DirectoryBaseUrl(), "http://127.0.0.1:8080/dir");
    EXPECT_EQ(HostingPostingEmail(), "post@example.com");
    settings.remove("Network");
    settings.sync();
    EXPECT_TRUE(DirectoryBaseUrl().startsWith("http://"));
    EXPECT_FALSE(HostingPostingEmail().isEmpty());
    qunsetenv("XDG_CONFIG_HOME");
}
