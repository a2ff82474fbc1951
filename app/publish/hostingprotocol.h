// The puzzle-hosting service's protocol, headless: the request URLs and the publish form, and the
// reading of the presence, publish and list replies. Nothing here touches the network; the posting
// and management windows send the requests with the program's HTTP client.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

/** Who is asking: the account on the service and this installation of the program. */
struct THostingIdentity {
    QString Server;        // base URL of the service, without a trailing "/"
    QString Group;         // the account's group number (decimal text)
    QString Account;       // the account name, already made URL-safe
    QString InstallNumber; // the installation number
    QString InstallDate;   // the installation date
    QString ExeTimeStamp;  // the program file's time stamp
    QString PostingEmail;  // the service's posting address, sent as "email="
};

/** The account as the presence check (and, in part, the list) reports it. */
struct TAccountStatus {
    int Presence = 0; // 2 the puzzle exists, 1 it does not, 0 unknown
    int PuzzleCount = 0;
    int FreeLimit = 1;
    int SubscriptionLimit = 0; // never below FreeLimit once read from a reply
    QDate SubscriptionExpiry = QDate(2000, 1, 1);
    QString UrlOfLatestCheck;
    QString Announcement;
    QString AnnouncementUrl;
    bool AnnouncementYesBtn = false;
    qint64 Time = 0; // the server's time
};

/** What goes into the publish form besides the identity. */
struct TQuickPublishInput {
    QString PuzzleFileName; // the puzzle file's full name
    QString Title;
    QString DistributedVia;
    qint64 ServerTime = 0; // the "Time" of the latest presence check, 0 before any
    QString PuzzleName;
    QStringList PuzzleData; // the applet's data file
    QStringList HtmlPage;   // the hosted page
    QStringList PageFields; // the fields the service builds its own page from
};

struct TPublishReply {
    QString PuzzleLink;
    QString Timely;
    QString Error; // empty when the puzzle was published
};

struct TListedPuzzle {
    QString Title;
    QString Link;
};

enum class TQuota {
    Allowed,
    FreeLimitReached,
    SubscriptionExpired,
    SubscriptionQuotaExceeded
};

class HostingProtocol
{
public:
    /** The longest puzzle link taken from the service; a longer one is of no use in a browser
     *  or an e-mail. */
    static constexpr qsizetype MaxLinkLength = 2000;

    explicit HostingProtocol(const THostingIdentity &identity);

    const THostingIdentity &Identity() const { return m_identity; }
    QString Password() const { return m_password; }

    // ---- Query pieces ----
    QString AccountQuery() const;
    QString PuzzleQuery(const QString &name) const;
    QString ClientQuery() const;
    QString SubscribeUrl() const;

    // ---- Request URLs ----
    QString PresenceUrl(const QString &puzzleName) const;
    QString PublishUrl() const;
    QString ListUrl() const;
    QString DeleteUrl(const QString &fileName) const;

    // ---- Form fields (name=value lines; the HTTP client encodes them) ----
    void AddAccountFields(QStringList &form, const QString &puzzleName) const;
    void AddClientFields(QStringList &form) const;
    /** name + i + "=" + line i, with "%" and "=" escaped; an empty line is sent as one blank. */
    static void AddEscapedFields(const QString &name, QStringList &form, const QStringList &lines);
    QStringList QuickPublishForm(const TQuickPublishInput &in) const;

    // ---- Replies ----
    static TAccountStatus ParsePresence(const QByteArray &reply, const QDate &today);
    /** "YYYY-MM-DD"; a short or malformed text gives 1 January 2000, an impossible date today. */
    static QDate ParseServerDate(const QString &text, const QDate &today);
    static TPublishReply ParsePublishReply(const QByteArray &reply);
    /** The puzzles of the list reply, each linked below the service's own address. */
    QList<TListedPuzzle> ParseList(const QByteArray &reply) const;
    /** Takes "SubscriptionExpiry" and "SubscriptionLimit" of the list reply, where present. */
    static void ParseListStatus(const QByteArray &reply, const QDate &today, TAccountStatus &status);

    // ---- Decisions and texts ----
    static TQuota QuotaDecision(const TAccountStatus &s, bool newPuzzle, const QDate &today);
    /** The message box text of a refusal; empty for Allowed. */
    static QString QuotaMessage(TQuota quota, int subscriptionLimit);
    /** True only for an http:// or https:// URL with a host. */
    static bool IsWebAddress(const QString &url);
    /** "MyFirstPuzzle" -> "My First Puzzle". */
    static QString SpaceOutTitle(const QString &text);
    /** The file name of a puzzle link: the part after its last "/". */
    static QString DeleteName(const QString &link);

private:
    THostingIdentity m_identity;
    QString m_password;
};
