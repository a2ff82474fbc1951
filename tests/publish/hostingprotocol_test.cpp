// The hosting service's protocol: request URLs and forms, reply parsing and the quota decision.
#include "hostingprotocol.h"

#include "globals.h"

#include <gtest/gtest.h>

#include <QUrlQuery>

#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QDate &date, std::ostream *os) { *os << date.toString(Qt::ISODate).toStdString(); }

namespace {

const QString kServer = QStringLiteral("http://host.example");
const QDate kToday(2010, 6, 15);

class HostingProtocolTest : public ::testing::Test
{
protected:
    static THostingIdentity identity()
    {
        THostingIdentity id;
        id.Server = kServer;
        id.Group = QStringLiteral("12");
        id.Account = QStringLiteral("JohnSmith");
        id.InstallNumber = QStringLiteral("4711");
        id.InstallDate = QStringLiteral("2008-01-02");
        id.ExeTimeStamp = QStringLiteral("2009-05-01 10:20:30");
        id.PostingEmail = QStringLiteral("post@host.example");
        return id;
    }

    HostingProtocol proto{identity()};
    const QString password = MakeHostingPassword("12JohnSmith", "4711");
    const QString client = "&TRV_Version=8.01&Exe_TimeStamp=2009-05-01%2010:20:30"
                           "&InstallDate=2008-01-02&InstallNum=4711&Password=" +
                           password;
};

// ---- Requests ---------------------------------------------------------------------------------

TEST_F(HostingProtocolTest, QueriesAndUrls)
{
    EXPECT_EQ(proto.Password(), password);
    EXPECT_EQ(proto.AccountQuery(), "?Group=12&Account=JohnSmith");
    EXPECT_EQ(proto.ClientQuery(), client);
    EXPECT_EQ(proto.SubscribeUrl(),
              kServer + "/cgi-bin/Subscribe/BeforeSecurePage.cgi?Group=12&Account=JohnSmith");
    EXPECT_EQ(proto.PresenceUrl("MyPuzzle"),
              kServer +
                  "/cgi-bin/Subscribe/PuzzlePresence.cgi?Group=12&Account=JohnSmith"
                  "&Puzzle=MyPuzzle" +
                  client);
    EXPECT_EQ(proto.PublishUrl(), kServer + "/cgi-bin/Subscribe/PostPuzzle.cgi");
    EXPECT_EQ(proto.ListUrl(),
              kServer + "/cgi-bin/Subscribe/FetchPuzzleList.cgi?Group=12&Account=JohnSmith" + client);
    EXPECT_EQ(proto.DeleteUrl("Tom&Jerry=1.html"),
              kServer +
                  "/cgi-bin/Subscribe/DeletePuzzle.cgi?Group=12&Account=JohnSmith"
                  "&Puzzle=Tom%26Jerry%3D1.html" +
                  client);
}

TEST_F(HostingProtocolTest, ServerSuppliedValuesCannotAddParameters)
{
    THostingIdentity id = identity();
    id.Server += '/';
    id.Account = QStringLiteral("Jo&Password=0");
    const HostingProtocol odd(id);
    const QString url = odd.DeleteUrl("a&Group=99&x=.html");
    ASSERT_TRUE(url.startsWith(kServer + "/cgi-bin/")) << url.toStdString(); // no "//"
    const QUrlQuery query(url.mid(url.indexOf('?') + 1));
    QStringList names;
    for (const auto &item : query.queryItems())
        names << item.first;
    EXPECT_EQ(names, QStringList({"Group", "Account", "Puzzle", "TRV_Version", "Exe_TimeStamp", "InstallDate",
                                  "InstallNum", "Password"}));
    EXPECT_EQ(query.queryItemValue("Group"), "12");
    EXPECT_EQ(query.queryItemValue("Account", QUrl::FullyDecoded), "Jo&Password=0");
    EXPECT_EQ(query.queryItemValue("Puzzle", QUrl::FullyDecoded), "a&Group=99&x=.html");
}

TEST_F(HostingProtocolTest, EscapedFields)
{
    QStringList form{"keep=me"};
    HostingProtocol::AddEscapedFields("PuzzleFile", form, {"a=b", "50%", "=", "%3D", "", " x ", "plain"});
    EXPECT_EQ(form,
              QStringList({"keep=me", "PuzzleFile0=a%3Db", "PuzzleFile1=50%25", "PuzzleFile2=%3D",
                           "PuzzleFile3=%253D", "PuzzleFile4= ", "PuzzleFile5= x ", "PuzzleFile6=plain"}));
}

TEST_F(HostingProtocolTest, QuickPublishFormOrder)
{
    TQuickPublishInput in;
    in.PuzzleFileName = QStringLiteral("/home/u/My Puzzle.trv");
    in.Title = QStringLiteral("My Puzzle");
    in.DistributedVia = QStringLiteral("CD");
    in.ServerTime = 63517100;
    in.PuzzleName = QStringLiteral("My-Puzzle");
    in.PuzzleData = QStringList{"Across=1", ""};
    in.HtmlPage = QStringList{"<p width=50%>"};
    in.PageFields = QStringList{"Title=My Puzzle"};
    const QStringList expected{"recipient=Publish",
                               "subject=TRV Interactive puzzle post",
                               "bgcolor=$ddeeff",
                               "Puzzle_File_Name=/home/u/My Puzzle.trv",
                               "PuzzleTitle=My Puzzle",
                               "email=post@host.example",
                               "DistributedVia=CD",
                               "Id1=" + FormatId1(63517100),
                               "Group=12",
                               "Account=JohnSmith",
                               "Puzzle=My-Puzzle",
                               "TRV_Version=8.01",
                               "Exe_TimeStamp=2009-05-01 10:20:30",
                               "InstallDate=2008-01-02",
                               "InstallNum=4711",
                               "Password=" + password,
                               "env_report=REMOTE_ADDR",
                               "PuzzleIncluded=True",
                               "PuzzleFile0=Across%3D1",
                               "PuzzleFile1= ",
                               "HtmlIncluded=True",
                               "HtmlFile0=<p width%3D50%25>",
                               "PageBuildingFieldsIncluded=True",
                               "PageFields0=Title%3DMy Puzzle"};
    EXPECT_EQ(proto.QuickPublishForm(in), expected);
}

// ---- Presence reply ---------------------------------------------------------------------------

TEST(HostingPresence, EmptyReplyGivesDefaults)
{
    const TAccountStatus s = HostingProtocol::ParsePresence(QByteArray(), kToday);
    EXPECT_EQ(s.Presence, 0);
    EXPECT_EQ(s.PuzzleCount, 0);
    EXPECT_EQ(s.FreeLimit, 1);
    EXPECT_EQ(s.SubscriptionLimit, 1); // raised to the free limit
    EXPECT_EQ(s.SubscriptionExpiry, QDate(2000, 1, 1));
    EXPECT_FALSE(s.AnnouncementYesBtn);
    EXPECT_EQ(s.Time, 0);
    EXPECT_TRUE(s.Announcement.isEmpty());
}

TEST(HostingPresence, FullReply)
{
    const QByteArray reply = "Exists=True\r\nPuzzleCount=3\r\nFreeLimit=2\r\n"
                             "SubscriptionLimit=10\r\n"
                             "SubscriptionExpiry=2012-06-30\r\n"
                             "UrlOfLatestCheck=http://host.example/12/JohnSmith/P.html\r\n"
                             "Announcement=New: a=b\r\nAnnouncementUrl=http://host.example/n\r\n"
                             "AnnouncementYesBtn=true\r\nTime=1234567890123\r\n";
    const TAccountStatus s = HostingProtocol::ParsePresence(reply, kToday);
    EXPECT_EQ(s.Presence, 2);
    EXPECT_EQ(s.PuzzleCount, 3);
    EXPECT_EQ(s.FreeLimit, 2);
    EXPECT_EQ(s.SubscriptionLimit, 10);
    EXPECT_EQ(s.SubscriptionExpiry, QDate(2012, 6, 30));
    EXPECT_EQ(s.UrlOfLatestCheck, "http://host.example/12/JohnSmith/P.html");
    EXPECT_EQ(s.Announcement, "New: a=b"); // only the first "=" splits
    EXPECT_EQ(s.AnnouncementUrl, "http://host.example/n");
    EXPECT_TRUE(s.AnnouncementYesBtn);
    EXPECT_EQ(s.Time, 1234567890123);
}

TEST(HostingPresence, ExistsAndLimits)
{
    struct Case {
        const char *reply;
        int presence, freeLimit, subscriptionLimit;
        bool yes;
    };
    const Case cases[] = {
        {"Exists=False\nAnnouncementYesBtn=False", 1, 1, 1, false},
        {"Exists=maybe\nAnnouncementYesBtn=T", 0, 1, 1, true},
        {"PuzzleCount=2\nFreeLimit=5\nSubscriptionLimit=3", 0, 5, 5, false},  // raised
        {"FreeLimit=x\nSubscriptionLimit=junk\nExists=True", 2, 1, 1, false}, // non-numbers
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.reply);
        const TAccountStatus s = HostingProtocol::ParsePresence(c.reply, kToday);
        EXPECT_EQ(s.Presence, c.presence);
        EXPECT_EQ(s.FreeLimit, c.freeLimit);
        EXPECT_EQ(s.SubscriptionLimit, c.subscriptionLimit);
        EXPECT_EQ(s.AnnouncementYesBtn, c.yes);
    }
}

TEST(HostingDates, ParseServerDate)
{
    struct Case {
        const char *text;
        QDate expected;
    };
    const Case cases[] = {
        {"2012-06-30", QDate(2012, 6, 30)},
        {"2012-06-30 12:00", QDate(2012, 6, 30)},
        {"2012-6-3", QDate(2000, 1, 1)},  // one-digit month and day
        {"2012-06-3", QDate(2000, 1, 1)}, // nine characters
        {"", QDate(2000, 1, 1)},
        {"2012/06/30", QDate(2000, 1, 1)},   // no "-" separators
        {"abcd-ef-gh", QDate(1999, 12, 31)}, // every part defaults
        {"2012-xx-05", QDate(2012, 12, 5)},
        {"2012-02-30", kToday}, // impossible day
        {"2012-13-01", kToday},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(HostingProtocol::ParseServerDate(c.text, kToday), c.expected);
    }
}

// ---- Quota ------------------------------------------------------------------------------------

TEST(HostingQuota, Decision)
{
    struct Case {
        const char *what;
        int count, freeLimit, subscriptionLimit;
        QDate expiry;
        bool newPuzzle;
        TQuota expected;
    };
    const QDate none(2000, 1, 1), past(2008, 1, 1), future(2011, 1, 1);
    const Case cases[] = {
        {"first free puzzle", 0, 1, 1, none, true, TQuota::Allowed},
        {"free limit reached", 1, 1, 1, none, true, TQuota::FreeLimitReached},
        {"replacing at the free limit", 1, 1, 1, none, false, TQuota::Allowed},
        {"expiry on 2001-01-01 counts as none", 1, 1, 10, QDate(2001, 1, 1), true, TQuota::FreeLimitReached},
        {"no date at all", 1, 1, 10, QDate(), true, TQuota::FreeLimitReached},
        {"expired subscription", 3, 1, 10, past, true, TQuota::SubscriptionExpired},
        {"expiring today is expired", 1, 1, 10, kToday, true, TQuota::SubscriptionExpired},
        {"expired but within the free limit", 1, 2, 10, past, true, TQuota::Allowed},
        {"within the subscription", 9, 1, 10, future, true, TQuota::Allowed},
        {"subscription quota exceeded", 10, 1, 10, future, true, TQuota::SubscriptionQuotaExceeded},
        {"replacing at the subscription quota", 10, 1, 10, future, false, TQuota::Allowed},
        {"low subscription limit counts as free", 2, 3, 0, future, true, TQuota::Allowed},
        {"low subscription limit exceeded", 3, 3, 0, future, true, TQuota::SubscriptionQuotaExceeded},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TAccountStatus s;
        s.PuzzleCount = c.count;
        s.FreeLimit = c.freeLimit;
        s.SubscriptionLimit = c.subscriptionLimit;
        s.SubscriptionExpiry = c.expiry;
        EXPECT_EQ(HostingProtocol::QuotaDecision(s, c.newPuzzle, kToday), c.expected);
    }
}

TEST(HostingQuota, ParsedReplyAtTheFreeLimit)
{
    const TAccountStatus s =
        HostingProtocol::ParsePresence("Exists=True\nPuzzleCount=1\nFreeLimit=1", kToday);
    EXPECT_EQ(HostingProtocol::QuotaDecision(s, true, kToday), TQuota::FreeLimitReached);
    EXPECT_EQ(HostingProtocol::QuotaDecision(s, false, kToday), TQuota::Allowed);
}

TEST(HostingQuota, Messages)
{
    EXPECT_TRUE(HostingProtocol::QuotaMessage(TQuota::Allowed, 5).isEmpty());
    EXPECT_EQ(HostingProtocol::QuotaMessage(TQuota::FreeLimitReached, 5),
              "You have reached the limit of free puzzle hosting. To look into subscription "
              "options, click \"Yes\" below");
    EXPECT_EQ(HostingProtocol::QuotaMessage(TQuota::SubscriptionExpired, 5),
              "Your subscription has expired. To look into renewing your subscription, click "
              "\"Yes\" below");
    EXPECT_EQ(HostingProtocol::QuotaMessage(TQuota::SubscriptionQuotaExceeded, 25),
              "This action would exceed your subscription quota of 25 published puzzles. Please "
              "either increase your subscription level or delete some puzzles. Click \"Yes\" to "
              "look into increasing your subscription.");
}

// ---- Publish and list replies -----------------------------------------------------------------

TEST(HostingReplies, PublishReply)
{
    TPublishReply r = HostingProtocol::ParsePublishReply(
        "PuzzleLink=http://host.example/12/JohnSmith/P.html\r\nTimely=True\r\n");
    EXPECT_EQ(r.PuzzleLink, "http://host.example/12/JohnSmith/P.html");
    EXPECT_EQ(r.Timely, "True");
    EXPECT_TRUE(r.Error.isEmpty());
    r = HostingProtocol::ParsePublishReply("Error=Bad password\n");
    EXPECT_EQ(r.Error, "Bad password");
    EXPECT_TRUE(r.PuzzleLink.isEmpty());
}

TEST(HostingReplies, IsWebAddress)
{
    struct Case {
        const char *url;
        bool expected;
    };
    const Case cases[] = {
        {"http://host.example/12/P.html", true},
        {"https://host.example", true},
        {"HTTP://HOST.EXAMPLE/x", true},
        {"http://host.example:8080/x?a=b", true},
        {"", false},
        {"http://", false},
        {"http:/host.example/x", false},
        {"http:host.example", false},
        {"host.example/x.html", false},
        {"ftp://host.example/x", false},
        {"file:///etc/passwd", false},
        {"javascript:alert(1)", false},
        {"mailto:a@host.example", false},
        {" http://host.example", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.url);
        EXPECT_EQ(HostingProtocol::IsWebAddress(c.url), c.expected);
    }
}

TEST_F(HostingProtocolTest, ParseList)
{
    const QByteArray reply = "Your puzzles:\r\n"
                             "Group/Account/MyFirstPuzzle.html\">\r\n"
                             "G/A/" +
                             QByteArray(3000, 'L') +
                             ".html\">\r\n" // too long a link
                             "@evil.example/x.html\">\r\n"
                             "/evil.example/x.html\">\r\n"
                             "http://evil.example/x.html\">\r\n"
                             "a\"b/x.html\">\r\n"
                             "\\\\evil.example/x.html\">\r\n"
                             "a.html\">\r\n"                  // too short a name
                             "Group/Account/NoQuote.html\r\n" // no closing quote
                             "ab.html\">\r\n"
                             "SubscriptionLimit=20\r\n";
    const QList<TListedPuzzle> list = proto.ParseList(reply);
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list[0].Title, "My First Puzzle");
    EXPECT_EQ(list[0].Link, kServer + "/Group/Account/MyFirstPuzzle.html");
    EXPECT_EQ(list[1].Title, "ab");
    EXPECT_EQ(list[1].Link, kServer + "/ab.html");
    EXPECT_EQ(HostingProtocol::DeleteName(list[0].Link), "MyFirstPuzzle.html");
    EXPECT_EQ(HostingProtocol::DeleteName("NoSlash.html"), "NoSlash.html");
}

TEST(HostingReplies, ListStatusKeepsWhatIsMissing)
{
    TAccountStatus s;
    s.FreeLimit = 3;
    s.SubscriptionLimit = 7;
    s.SubscriptionExpiry = QDate(2011, 1, 1);
    HostingProtocol::ParseListStatus("x.html\">\r\nSubscriptionLimit=20\r\n", kToday, s);
    EXPECT_EQ(s.SubscriptionLimit, 20);
    EXPECT_EQ(s.SubscriptionExpiry, QDate(2011, 1, 1));
    HostingProtocol::ParseListStatus("SubscriptionExpiry=2012-03-04\nSubscriptionLimit=1", kToday, s);
    EXPECT_EQ(s.SubscriptionExpiry, QDate(2012, 3, 4));
    EXPECT_EQ(s.SubscriptionLimit, 3); // raised to the free limit
}

TEST(HostingReplies, SpaceOutTitle)
{
    struct Case {
        const char *text, *expected;
    };
    const Case cases[] = {
        {"MyFirstPuzzle", "My First Puzzle"}, {"ABC", "A B C"}, {"X", "X"}, {"", ""},
        {"lower-case_1", "lower-case_1"},     {"a1B", "a1 B"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(HostingProtocol::SpaceOutTitle(c.text), c.expected);
}

} // namespace
