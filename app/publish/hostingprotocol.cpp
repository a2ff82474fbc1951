#include "hostingprotocol.h"

#include "cp1252.h"
#include "globals.h"

#include <QUrl>

#include <algorithm>

namespace {

const QString kScripts = QStringLiteral("/cgi-bin/Subscribe/");

/** The reply's lines; the service answers in Windows-1252. */
QStringList replyLines(const QByteArray &reply)
{
    QStringList lines;
    SplitLines(Cp1252::toUnicode(reply), &lines);
    return lines;
}

/** The value of the first name=value line with that name (names compare without case). */
QString valueOf(const QStringList &lines, const QString &name, bool *found = nullptr)
{
    for (const QString &line : lines) {
        const qsizetype eq = line.indexOf('=');
        if (eq >= 0 && line.left(eq).compare(name, Qt::CaseInsensitive) == 0) {
            if (found)
                *found = true;
            return line.mid(eq + 1);
        }
    }
    if (found)
        *found = false;
    return QString();
}

qint64 numberOr(const QString &text, qint64 fallback)
{
    bool ok = false;
    const qint64 n = text.trimmed().toLongLong(&ok);
    return ok ? n : fallback;
}

int intOr(const QString &text, int fallback)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok ? n : fallback;
}

/** A part of a date: its number when it is all digits, else the fallback. */
int datePart(const QString &text, int fallback)
{
    if (text.isEmpty())
        return fallback;
    for (QChar c : text)
        if (c < '0' || c > '9')
            return fallback;
    return text.toInt();
}

} // namespace

HostingProtocol::HostingProtocol(const THostingIdentity &identity)
    : m_identity(identity),
      m_password(MakeHostingPassword(identity.Group + identity.Account, identity.InstallNumber))
{
    while (m_identity.Server.endsWith('/'))
        m_identity.Server.chop(1);
}

// ---- Query pieces -----------------------------------------------------------------------------

// Every value that comes from the user or the server is encoded, so that no "&" or "=" in it can
// add a parameter of its own.

QString HostingProtocol::AccountQuery() const
{
    return "?Group=" + UrlEncode(m_identity.Group) + "&Account=" + UrlEncode(m_identity.Account);
}

QString HostingProtocol::PuzzleQuery(const QString &name) const
{
    return AccountQuery() + "&Puzzle=" + UrlEncode(name);
}

QString HostingProtocol::ClientQuery() const
{
    return "&TRV_Version=8.01&Exe_TimeStamp=" + UrlEncode(m_identity.ExeTimeStamp) +
           "&InstallDate=" + UrlEncode(m_identity.InstallDate) +
           "&InstallNum=" + UrlEncode(m_identity.InstallNumber) + "&Password=" + m_password;
}

QString HostingProtocol::SubscribeUrl() const
{
    return m_identity.Server + kScripts + "BeforeSecurePage.cgi" + AccountQuery();
}

// ---- Request URLs -----------------------------------------------------------------------------

QString HostingProtocol::PresenceUrl(const QString &puzzleName) const
{
    return m_identity.Server + kScripts + "PuzzlePresence.cgi" + PuzzleQuery(puzzleName) + ClientQuery();
}

QString HostingProtocol::PublishUrl() const { return m_identity.Server + kScripts + "PostPuzzle.cgi"; }

QString HostingProtocol::ListUrl() const
{
    return m_identity.Server + kScripts + "FetchPuzzleList.cgi" + AccountQuery() + ClientQuery();
}

QString HostingProtocol::DeleteUrl(const QString &fileName) const
{
    return m_identity.Server + kScripts + "DeletePuzzle.cgi" + PuzzleQuery(fileName) + ClientQuery();
}

// ---- Form fields ------------------------------------------------------------------------------

void HostingProtocol::AddAccountFields(QStringList &form, const QString &puzzleName) const
{
    form << "Group=" + m_identity.Group << "Account=" + m_identity.Account << "Puzzle=" + puzzleName;
}

void HostingProtocol::AddClientFields(QStringList &form) const
{
    form << QStringLiteral("TRV_Version=8.01") << "Exe_TimeStamp=" + m_identity.ExeTimeStamp
         << "InstallDate=" + m_identity.InstallDate << "InstallNum=" + m_identity.InstallNumber
         << "Password=" + m_password;
}

void HostingProtocol::AddEscapedFields(const QString &name, QStringList &form, const QStringList &lines)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.isEmpty()) {
            line = QStringLiteral(" ");
        } else {
            // "%" first, or the "%" of "%3D" would be escaped again.
            line.replace('%', QStringLiteral("%25"));
            line.replace('=', QStringLiteral("%3D"));
        }
        form << name + QString::number(i) + '=' + line;
    }
}

QStringList HostingProtocol::QuickPublishForm(const TQuickPublishInput &in) const
{
    QStringList form;
    form << QStringLiteral("recipient=Publish") << QStringLiteral("subject=TRV Interactive puzzle post")
         << QStringLiteral("bgcolor=$ddeeff") << "Puzzle_File_Name=" + in.PuzzleFileName
         << "PuzzleTitle=" + in.Title << "email=" + m_identity.PostingEmail
         << "DistributedVia=" + in.DistributedVia << "Id1=" + FormatId1(in.ServerTime);
    AddAccountFields(form, in.PuzzleName);
    AddClientFields(form);
    form << QStringLiteral("env_report=REMOTE_ADDR") << QStringLiteral("PuzzleIncluded=True");
    AddEscapedFields(QStringLiteral("PuzzleFile"), form, in.PuzzleData);
    form << QStringLiteral("HtmlIncluded=True");
    AddEscapedFields(QStringLiteral("HtmlFile"), form, in.HtmlPage);
    form << QStringLiteral("PageBuildingFieldsIncluded=True");
    AddEscapedFields(QStringLiteral("PageFields"), form, in.PageFields);
    return form;
}

// ---- Replies ----------------------------------------------------------------------------------

TAccountStatus HostingProtocol::ParsePresence(const QByteArray &reply, const QDate &today)
{
    const QStringList lines = replyLines(reply);
    TAccountStatus s;
    const QString exists = valueOf(lines, QStringLiteral("Exists")).trimmed();
    s.Presence = exists == QLatin1String("True") ? 2 : exists == QLatin1String("False") ? 1 : 0;
    s.PuzzleCount = intOr(valueOf(lines, QStringLiteral("PuzzleCount")), 0);
    s.FreeLimit = intOr(valueOf(lines, QStringLiteral("FreeLimit")), 1);
    s.SubscriptionLimit =
        std::max(intOr(valueOf(lines, QStringLiteral("SubscriptionLimit")), 0), s.FreeLimit);
    s.SubscriptionExpiry = ParseServerDate(valueOf(lines, QStringLiteral("SubscriptionExpiry")), today);
    s.UrlOfLatestCheck = valueOf(lines, QStringLiteral("UrlOfLatestCheck"));
    s.Announcement = valueOf(lines, QStringLiteral("Announcement"));
    s.AnnouncementUrl = valueOf(lines, QStringLiteral("AnnouncementUrl"));
    s.AnnouncementYesBtn = valueOf(lines, QStringLiteral("AnnouncementYesBtn")).toUpper().startsWith('T');
    s.Time = numberOr(valueOf(lines, QStringLiteral("Time")), 0);
    return s;
}

QDate HostingProtocol::ParseServerDate(const QString &text, const QDate &today)
{
    // "YYYY-MM-DD": the separators stand at the fifth and eighth characters.
    if (text.size() <= 9 || text.at(4) != '-' || text.at(7) != '-')
        return QDate(2000, 1, 1);
    const QDate date(datePart(text.mid(0, 4), 1999), datePart(text.mid(5, 2), 12),
                     datePart(text.mid(8, 2), 31));
    return date.isValid() ? date : today;
}

TPublishReply HostingProtocol::ParsePublishReply(const QByteArray &reply)
{
    const QStringList lines = replyLines(reply);
    TPublishReply r;
    r.PuzzleLink = valueOf(lines, QStringLiteral("PuzzleLink")).trimmed();
    r.Timely = valueOf(lines, QStringLiteral("Timely")).trimmed();
    r.Error = valueOf(lines, QStringLiteral("Error")).trimmed();
    return r;
}

QList<TListedPuzzle> HostingProtocol::ParseList(const QByteArray &reply) const
{
    static const QString kEnd = QStringLiteral(".html\"");
    const QUrl base(m_identity.Server);
    QList<TListedPuzzle> puzzles;
    for (const QString &line : replyLines(reply)) {
        // A puzzle line names its page with at least two characters before ".html\"".
        const qsizetype end = line.indexOf(kEnd);
        if (end < 2)
            continue;
        // The link must stay on the service's host: a path that could name another host, or
        // leave the address, is dropped.
        const QString path = line.left(end + 5).trimmed();
        if (path.size() > MaxLinkLength || path.startsWith('@') || path.startsWith('/') ||
            path.contains(QStringLiteral("://")) || path.contains('"') || path.contains('\\'))
            continue;
        const QString link = m_identity.Server + '/' + path;
        const QUrl url(link);
        if (!url.isValid() || url.host() != base.host() || url.scheme() != base.scheme() ||
            url.port() != base.port() || url.userInfo() != base.userInfo())
            continue;
        const QString stem = path.chopped(5);
        puzzles.append({SpaceOutTitle(stem.mid(stem.lastIndexOf('/') + 1)), link});
    }
    return puzzles;
}

void HostingProtocol::ParseListStatus(const QByteArray &reply, const QDate &today, TAccountStatus &status)
{
    const QStringList lines = replyLines(reply);
    bool found = false;
    const QString expiry = valueOf(lines, QStringLiteral("SubscriptionExpiry"), &found);
    if (found)
        status.SubscriptionExpiry = ParseServerDate(expiry, today);
    const QString limit = valueOf(lines, QStringLiteral("SubscriptionLimit"), &found);
    if (found)
        status.SubscriptionLimit = intOr(limit, 0);
    status.SubscriptionLimit = std::max(status.SubscriptionLimit, status.FreeLimit);
}

// ---- Decisions and texts ----------------------------------------------------------------------

TQuota HostingProtocol::QuotaDecision(const TAccountStatus &s, bool newPuzzle, const QDate &today)
{
    const QDate expiry = s.SubscriptionExpiry;
    const bool subscribed = expiry.isValid() && expiry > today;
    const int limit = subscribed ? std::max(s.SubscriptionLimit, s.FreeLimit) : s.FreeLimit;
    if (qint64(s.PuzzleCount) + (newPuzzle ? 1 : 0) <= limit)
        return TQuota::Allowed;
    if (!expiry.isValid() || expiry <= QDate(2001, 1, 1))
        return TQuota::FreeLimitReached;
    return subscribed ? TQuota::SubscriptionQuotaExceeded : TQuota::SubscriptionExpired;
}

QString HostingProtocol::QuotaMessage(TQuota quota, int subscriptionLimit)
{
    switch (quota) {
    case TQuota::Allowed: break;
    case TQuota::FreeLimitReached:
        return QStringLiteral("You have reached the limit of free puzzle hosting. To look into "
                              "subscription options, click \"Yes\" below");
    case TQuota::SubscriptionExpired:
        return QStringLiteral("Your subscription has expired. To look into renewing your "
                              "subscription, click \"Yes\" below");
    case TQuota::SubscriptionQuotaExceeded:
        return "This action would exceed your subscription quota of " + QString::number(subscriptionLimit) +
               " published puzzles. Please either increase your subscription level or delete "
               "some puzzles. Click \"Yes\" to look into increasing your subscription.";
    }
    return QString();
}

bool HostingProtocol::IsWebAddress(const QString &url)
{
    const QUrl u(url, QUrl::StrictMode);
    if (!u.isValid() || u.host().isEmpty())
        return false;
    const QString scheme = u.scheme().toLower();
    // The scheme must be followed by "//" and a host, not be a relative or opaque address.
    return (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           url.indexOf(QStringLiteral("://")) == scheme.size();
}

QString HostingProtocol::SpaceOutTitle(const QString &text)
{
    QString out;
    out.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (i > 0 && c >= 'A' && c <= 'Z')
            out += ' ';
        out += c;
    }
    return out;
}

QString HostingProtocol::DeleteName(const QString &link) { return link.mid(link.lastIndexOf('/') + 1); }
