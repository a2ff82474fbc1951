// Web text helpers, the hosting values, paths, and the form post against a loopback server.
#include "globals.h"
#include "globalsui.h"
#include "httpclient.h"
#include "procinfo.h"
#include "prompter.h"
#include "testprint.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

namespace {

// Answers every request with one fixed status and body, and keeps the last request.
class LoopbackServer
{
public:
    LoopbackServer(int status, QByteArray reason, QByteArray body)
        : m_status(status), m_reason(std::move(reason)), m_body(std::move(body))
    {
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] { accept(); });
        m_server.listen(QHostAddress::LocalHost);
    }

    QString url(const char *path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
    }

    QByteArray request;

private:
    void accept()
    {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                m_pending[socket] += socket->readAll();
                const QByteArray &data = m_pending[socket];
                const qsizetype end = data.indexOf("\r\n\r\n");
                if (end < 0)
                    return;
                qsizetype length = 0;
                for (const QByteArray &line : data.left(end).split('\n'))
                    if (line.toLower().startsWith("content-length:"))
                        length = line.mid(15).trimmed().toLongLong();
                if (data.size() < end + 4 + length)
                    return;
                request = data;
                socket->write(
                    "HTTP/1.1 " + QByteArray::number(m_status) + " " + m_reason +
                    "\r\nContent-Type: text/html\r\nContent-Length: " + QByteArray::number(m_body.size()) +
                    "\r\nSet-Cookie: session=abc; Path=/\r\nConnection: close\r\n\r\n" + m_body);
                socket->disconnectFromHost();
            });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }

    QTcpServer m_server;
    int m_status;
    QByteArray m_reason;
    QByteArray m_body;
    QHash<QTcpSocket *, QByteArray> m_pending;
};

class WebTest : public ::testing::Test
{
protected:
    void SetUp() override { InitGlobals(); }
};

} // namespace

TEST_F(WebTest, UrlEncodeValuesAndAddresses)
{
    const struct {
        const char *text;
        const char *value;
        const char *address;
    } cases[] = {
        {"a b%", "a%20b%25", "a%20b%25"},
        {"  padded\t", "padded", "padded"},
        {"a&b=c?d+e", "a%26b%3Dc%3Fd%2Be", "a&b=c?d%2Be"},
        {"<\"#>", "%3C%22%23%3E", "%3C%22%23%3E"},
        {"x\ty", "x%09y", "x%09y"},
        {"http://h/p.cgi?a=1&b=2 3", "http://h/p.cgi%3Fa%3D1%26b%3D2%203", "http://h/p.cgi?a=1&b=2%203"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(UrlEncode(c.text), c.value) << c.text;
        EXPECT_EQ(UrlEncodeAddress(c.text), c.address) << c.text;
    }
    EXPECT_EQ(UrlEncode(QString::fromUtf8("Zoë")), QString::fromUtf8("Zoë")); // above 127 stays
}

TEST_F(WebTest, SanitizeName)
{
    const struct {
        const char *text;
        const char *name;
    } cases[] = {
        {"my first puzzle!", "MyFirstPuzzle"},
        {"o'neil-smith", "ONeil-Smith"},
        {"", "NoName"},
        {"!!!", "NoName"},
        {"ABC def_ghi", "AbcDef_Ghi"},
        {"x7 9y", "X79y"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SanitizeName(c.text), c.name) << c.text;

    // Stops once longer than 60, and at a dropped character once longer than 45.
    EXPECT_EQ(SanitizeName(QString(80, 'a')).size(), 61);
    const QString long46 = QString(46, 'b') + " tail";
    EXPECT_EQ(SanitizeName(long46), "B" + QString(45, 'b'));
    EXPECT_EQ(SanitizeName(QString(45, 'b') + " tail"), "B" + QString(44, 'b') + "Tail");
}

TEST_F(WebTest, HostingPasswordAndId)
{
    const struct {
        const char *text;
        const char *number;
        const char *password;
    } cases[] = {
        {"", "", "982634622"},
        {"abc", "0", "1519506404"},
        {"  John Smith ", "12345", "1033091404"},
        {"MyPuzzle", "x", "1334920908"},
        {"Zo\xC3\xAB", "-7", "1701717740"},
        {"A", "2147483647", "1164848931"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(MakeHostingPassword(QString::fromUtf8(c.text), c.number), c.password)
            << c.text << " " << c.number;
    EXPECT_EQ(MakeHostingPassword("abc", "0"), MakeHostingPassword("ABC", "0"));
    EXPECT_EQ(FormatId1(63517100), "6");
    EXPECT_EQ(FormatId1(1000), "-63516094");
}

TEST_F(WebTest, EmailAddresses)
{
    const struct {
        const char *text;
        bool valid;
    } cases[] = {
        {"a@b.c", true},
        {"First.Last+x@mail.example.com", true},
        {"a@.b", false},
        {"@b.c", false},
        {"a@b", false},
        {"a@b@c.d", false},
        {"a@b.", false},
        {"-@b.c", false},
        {"A@B.C", true},
        // Only ASCII letters are lower-cased: the Kelvin sign is no "k".
        {"\xE2\x84\xAA@b.c", false},
        {"a@\xE2\x84\xAA.c", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(IsValidEmail(QString::fromUtf8(c.text)), c.valid) << c.text;
}

TEST_F(WebTest, SmallTextHelpers)
{
    QStringList lines{"kept"};
    SplitLines("one\r\n\r\ntwo\rthree\nfour", &lines);
    EXPECT_EQ(lines, (QStringList{"kept", "one", "two", "three", "four"}));
    EXPECT_EQ(JoinLinesLf({"a", "b"}), "a\nb\n");
    EXPECT_EQ(ColorToHtml(0x0000FF), "#FF0000");
    EXPECT_EQ(ColorToHtml(0x123456), "#563412");
    EXPECT_EQ(StraightenQuotes(QString::fromUtf8("\u2018a\u2019 \u201Cb\u201D")), "'a' \"b\"");
    EXPECT_EQ(StripQuery("http://h/p?q=1"), "http://h/p");
    EXPECT_EQ(StripQuery("http://h/p"), "http://h/p");
    QString s = "a-b-c";
    ReplaceChar(s, '-', '+');
    EXPECT_EQ(s, "a+b+c");
    EXPECT_EQ(FormatStampDate(2007, 3, 9), "2007-03-09");
    EXPECT_EQ(FormatStampTime(7, 5, 0), "07:05:00");
    EXPECT_EQ(FileAgeStamp("/no/such/file"), "InvalidFileAge");
    EXPECT_TRUE(HostingAdText().contains("free hosting"));
}

TEST_F(WebTest, FoldersAndTheDistributionNote)
{
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", dir.filePath("data").toLocal8Bit());
    const QString user = GetUserDataFolder();
    EXPECT_EQ(user, dir.filePath("data") + "/Halvard Inc/Tarvel");
    EXPECT_TRUE(QDir(user).exists());
    qputenv("XDG_DATA_DIRS", dir.filePath("system").toLocal8Bit());
    EXPECT_EQ(GetCommonAppDataPath(), dir.filePath("system"));
    EXPECT_EQ(GetIniFileName(false), "") << "no common folder yet";
    EXPECT_EQ(GetIniFileName(true), dir.filePath("system") + "/Tarvel/trv.ini");
    EXPECT_EQ(GetCommonDataFolder(false), dir.filePath("system") + "/Tarvel");
    EXPECT_EQ(GetSpecialFolderPath(99), "");
    qunsetenv("XDG_DATA_DIRS");
    qunsetenv("XDG_DATA_HOME");
    EXPECT_FALSE(GetDocumentsFolder().isEmpty());
    EXPECT_TRUE(GetProgramFolder().endsWith('/'));
    EXPECT_EQ(GetProgramFolder(), QCoreApplication::applicationDirPath() + "/");

    SetProgramFolderForTesting(dir.path());
    EXPECT_EQ(ReadDistributedVia(), "Open Error");
    QFile note(dir.filePath("DistributedVia.txt"));
    ASSERT_TRUE(note.open(QIODevice::WriteOnly));
    note.write("Shop #1, e-mail: x.y/z! " + QByteArray(100, 'q') + "\r\nsecond line\r\n");
    note.close();
    const QString via = ReadDistributedVia();
    EXPECT_EQ(via.size(), 80);
    EXPECT_TRUE(via.startsWith("Shop _1, e-mail_ x.y/z_ qqq"));
    SetProgramFolderForTesting(QString());
}

TEST_F(WebTest, SystemDetails)
{
    const struct {
        const char *meminfo;
        int load;
    } memory[] = {
        {"MemTotal:       16000000 kB\nMemFree:         1000000 kB\nMemAvailable:    4000000 kB\n", 75},
        {"MemAvailable:    1000 kB\nMemTotal:        1000 kB\n", 0},
        {"MemTotal:        3000 kB\nMemAvailable:    1000 kB", 66},
        {"MemTotal:       16000000 kB\nMemFree:         1000000 kB\n", 0}, // older kernels
        {"", 0},
    };
    for (const auto &m : memory)
        EXPECT_EQ(MemoryLoadFromMeminfo(m.meminfo), m.load) << m.meminfo;
    EXPECT_EQ(UptimeFromProcUptime("350735.47 234388.90\n"), 350735);
    EXPECT_EQ(UptimeFromProcUptime(""), 0);

    EXPECT_FALSE(GetWindowsUserName().isEmpty());
    const int load = GetMemoryLoad();
    EXPECT_GT(load, 0); // a running system uses some of its memory
    EXPECT_LE(load, 100);
    EXPECT_GT(GetUptimeSeconds(), 0);
    EXPECT_TRUE(FormatUptime().contains(" days, "));
    EXPECT_TRUE(GetWindowsVersionName().contains(", Build "));
    InstallNumber = "4242";
    EXPECT_EQ(GetUserInstallName(), SanitizeName(GetWindowsUserName() + "4242"));
}

TEST_F(WebTest, PostSucceedsOnlyWithA2xxStatus)
{
    ScriptedPrompter script;
    {
        LoopbackServer server(200, "OK", "thanks");
        PostMessageToServer({"Name=Ann Lee", "Note=a&b=c%", QString::fromUtf8("City=Zürich")},
                            server.url("/cgi-bin/hvTechSupport.cgi"));
        ASSERT_EQ(script.boxes.size(), 1);
        EXPECT_EQ(script.lastText(), "Message sent successfully.");
        const QByteArray &r = server.request;
        EXPECT_TRUE(r.startsWith("POST /cgi-bin/hvTechSupport.cgi HTTP/1.1\r\n"));
        EXPECT_TRUE(r.contains("User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"));
        EXPECT_TRUE(r.contains("Accept: text/html, */*\r\n"));
        EXPECT_TRUE(r.contains("Content-Type: application/x-www-form-urlencoded\r\n"));
        EXPECT_TRUE(r.endsWith("\r\n\r\nName=Ann%20Lee&Note=a%26b%3Dc%25&City=Z%FCrich"));
    }
    {
        LoopbackServer server(500, "Internal Server Error", "<html>broken</html>");
        PostMessageToServer({"a=1"}, server.url("/x.cgi"));
        ASSERT_EQ(script.boxes.size(), 2);
        EXPECT_EQ(script.lastText(),
                  "The following error occurred when sending your message: " + ParagraphBreak +
                      "\"HTTP/1.1 500 Internal Server Error\"" + ParagraphBreak + ConnectionHelpText);
        EXPECT_TRUE(server.request.contains("Cookie: session=abc")) << "cookie of the first reply";
    }
    {
        QTcpServer closed;
        ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
        const quint16 port = closed.serverPort();
        closed.close(); // nothing listens there now: the connection is refused
        PostMessageToServer({"a=1"}, QStringLiteral("http://127.0.0.1:%1/x.cgi").arg(port));
        ASSERT_EQ(script.boxes.size(), 3);
        EXPECT_EQ(script.lastText(),
                  "The following error occurred when sending your message: " + ParagraphBreak +
                      "\"Unknown error or not connected to the Internet\"" + ParagraphBreak +
                      ConnectionHelpText);
        EXPECT_EQ(MainHttpClient().statusCode(), 0);
        EXPECT_FALSE(MainHttpClient().errorString().isEmpty());
    }
}

TEST(WebReplyText, ErrorLinesAndShortenedText)
{
    const struct {
        const char *reply;
        const char *error;
    } cases[] = {
        {"OK", ""},
        {"Error=Mail system down\r\n", "Mail system down"},
        {"PuzzleLink=x\r\nerror= Disk full \r\nError=second", "Disk full"},
        {"Error=\r\n", ""},
        {"Errors=none", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ReplyErrorText(c.reply), QLatin1String(c.error)) << c.reply;
    EXPECT_EQ(ShortenServerText(QString(2000, 'a')), QString(2000, 'a'));
    EXPECT_EQ(ShortenServerText(QString(300000, 'a')), QString(2000, 'a') + "...");
    EXPECT_EQ(ShortenServerText("abcdef", 3), "abc...");
}

TEST_F(WebTest, BaseUrlsComeFromTheSettings)
{
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
    QSettings settings(QStringLiteral("Halvard, Inc."), QStringLiteral("TRV"));
    settings.setValue("Network/MakerBaseUrl", "http://127.0.0.1:8080/");
    settings.sync();
    EXPECT_EQ(MakerBaseUrl(), "http://127.0.0.1:8080");
    settings.remove("Network/MakerBaseUrl");
    settings.sync();
    EXPECT_TRUE(MakerBaseUrl().startsWith("http://"));
    EXPECT_FALSE(HostingBaseUrl().endsWith('/'));
    qunsetenv("XDG_CONFIG_HOME");
}

TEST_F(WebTest, GetReturnsTheBodyAndTheStatus)
{
    HttpClient client;
    LoopbackServer server(404, "Not Found", "missing");
    QByteArray body;
    EXPECT_FALSE(client.get(server.url("/p.trv"), &body));
    EXPECT_EQ(client.statusCode(), 404);
    EXPECT_EQ(body, "missing");
    LoopbackServer ok(204, "No Content", "");
    EXPECT_TRUE(client.get(ok.url("/p.trv"), &body));
    EXPECT_TRUE(server.request.startsWith("GET /p.trv HTTP/1.1\r\n"));
}
