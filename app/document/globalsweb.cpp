// Paths of the program's folders and files, details of the computer for support messages, and
// the text helpers and the form post of the web features.
#include "globals.h"

#include "alphabet.h"
#include "cp1252.h"
#include "notices.h"
#include "procinfo.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSysInfo>

#include <pwd.h>
#include <unistd.h>

namespace {

QString g_programFolderOverride;

// Removes the control characters and blanks at both ends.
QString trimControls(const QString &text)
{
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && text[b].unicode() <= ' ')
        ++b;
    while (e > b && text[e - 1].unicode() <= ' ')
        --e;
    return text.mid(b, e - b);
}

// A value of /proc/meminfo in kB, -1 when missing.
qint64 memInfoValue(const QByteArray &info, const char *key)
{
    for (const QByteArray &line : info.split('\n'))
        if (line.startsWith(key)) {
            const QList<QByteArray> parts = line.simplified().split(' ');
            if (parts.size() >= 2)
                return parts[1].toLongLong();
        }
    return -1;
}

QByteArray readProcFile(const char *name)
{
    QFile f{QString::fromLatin1(name)};
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

} // namespace

// ---- Paths and files --------------------------------------------------------------------------

QString GetProgramFolder()
{
    if (!g_programFolderOverride.isEmpty())
        return AddBackslash(g_programFolderOverride);
    QString dir;
    if (QCoreApplication::instance())
        dir = QCoreApplication::applicationDirPath();
    else
        dir = QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).path();
    return AddBackslash(dir);
}

void SetProgramFolderForTesting(const QString &folder) { g_programFolderOverride = folder; }

QString GetSpecialFolderPath(int csidl)
{
    switch (csidl) {
    case 5: return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    case 26: return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    case 28: return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    case 35: {
        // The system-wide entries follow the user's own in the list of data folders.
        const QStringList all = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
        return all.size() > 1 ? all.last() : QString();
    }
    default: return {};
    }
}

QString GetMyDocumentsPath() { return GetSpecialFolderPath(5); }

QString GetDocumentsFolder()
{
    // The desktop's documents folder when it is there, else the home folder: the user's files
    // never start out in the program folder, and a dialog never in a folder that is missing.
    const QString docs = GetMyDocumentsPath();
    if (!docs.isEmpty() && QFileInfo(docs).isDir())
        return QDir::cleanPath(docs);
    const QString home = QDir::homePath();
    return QFileInfo(home).isDir() ? QDir::cleanPath(home) : QDir::rootPath();
}

QString GetCommonAppDataPath()
{
    const QString common = GetSpecialFolderPath(35);
    return common.isEmpty() ? GetSpecialFolderPath(26) : common;
}

QString GetUserDataFolder()
{
    const QString local = GetSpecialFolderPath(28);
    if (local.isEmpty())
        return {};
    const QString folder = local + "/Halvard Inc/Tarvel";
    QDir().mkpath(folder); // failures are ignored: the caller finds the folder missing
    return folder;
}

QString GetCommonDataFolder(bool create)
{
    const QString common = GetCommonAppDataPath();
    if (common.isEmpty())
        return {};
    const QString folder = common + "/Tarvel";
    if (QFileInfo(folder).isDir() || (create && QDir().mkpath(folder)))
        return folder;
    return {};
}

QString GetIniFileName(bool create)
{
    const QString folder = GetCommonDataFolder(create);
    return folder.isEmpty() ? QString() : folder + "/trv.ini";
}

QString ReadDistributedVia()
{
    QFile file(GetProgramFolder() + "DistributedVia");
    if (!file.exists())
        file.setFileName(GetProgramFolder() + "DistributedVia.txt");
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("Open Error");
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return QStringLiteral("Read Error");
    const QList<QByteArray> lines = Cp1252::splitLines(data);
    QString line = lines.isEmpty() ? QString() : Cp1252::toUnicode(lines.first()).left(80);
    for (QChar &c : line)
        if (!(IsAsciiLetter(c) || IsDigitChar(c) || c == ' ' || c == ',' || c == '-' || c == '.' || c == '/'))
            c = '_';
    return line;
}

QString FormatStampDate(int year, int month, int day)
{
    return QString::asprintf("%4d-%2d-%2d", year, month, day).replace(' ', '0');
}

QString FormatStampTime(int hour, int minute, int second)
{
    return QString::asprintf("%2d:%2d:%2d", hour, minute, second).replace(' ', '0');
}

QString FileAgeStamp(const QString &fileName)
{
    const QFileInfo info(fileName);
    const QDateTime stamp = info.exists() ? info.lastModified() : QDateTime();
    if (!stamp.isValid())
        return QStringLiteral("InvalidFileAge");
    const QDate d = stamp.date();
    const QTime t = stamp.time();
    return FormatStampDate(d.year(), d.month(), d.day()) + "_" +
           FormatStampTime(t.hour(), t.minute(), t.second());
}

// ---- System details ---------------------------------------------------------------------------

QString GetWindowsVersionName()
{
    // The name of this system, then its kernel as the "service pack" and its build number.
    const QString kernel = QSysInfo::kernelVersion();
    const int build = ExtractDigitRun(kernel).toInt();
    return QSysInfo::prettyProductName() +
           QString::asprintf(", \"%s\", Build %d", qPrintable(QSysInfo::kernelType() + " " + kernel), build);
}

bool IsWorkstation() { return true; }

int MemoryLoadFromMeminfo(const QByteArray &meminfo)
{
    const qint64 total = memInfoValue(meminfo, "MemTotal:");
    const qint64 available = memInfoValue(meminfo, "MemAvailable:");
    if (total <= 0 || available < 0 || available > total)
        return 0;
    return int((total - available) * 100 / total);
}

qint64 UptimeFromProcUptime(const QByteArray &uptime)
{
    bool ok = false;
    const double seconds = uptime.split(' ').value(0).trimmed().toDouble(&ok);
    return ok && seconds > 0 ? qint64(seconds) : 0;
}

int GetMemoryLoad() { return MemoryLoadFromMeminfo(readProcFile("/proc/meminfo")); }

qint64 GetUptimeSeconds() { return UptimeFromProcUptime(readProcFile("/proc/uptime")); }

QString FormatUptime()
{
    const qint64 s = GetUptimeSeconds();
    return QString::asprintf("%d days, %d hours, %d minutes", int(s / 86400), int(s % 86400 / 3600),
                             int(s % 3600 / 60));
}

QString GetWindowsUserName()
{
    if (const passwd *pw = getpwuid(getuid()); pw && pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    return QString::fromLocal8Bit(qgetenv("USER"));
}

QString GetUserInstallName() { return SanitizeName(GetWindowsUserName() + InstallNumber); }

// ---- Text for the web -------------------------------------------------------------------------

QString SanitizeName(const QString &text)
{
    QString result;
    bool partStart = true;
    for (QChar c : text) {
        if (IsAsciiLetter(c) || IsDigitChar(c) || c == '-' || c == '_') {
            result.append(partStart ? UpperCaseChar(c) : LowerCaseChar(c));
            partStart = c == '-' || c == '_';
        } else {
            if (result.size() > 45)
                break;
            partStart = true;
        }
        if (result.size() > 60)
            break;
    }
    return result.isEmpty() ? QStringLiteral("NoName") : result;
}

bool IsValidEmail(const QString &text)
{
    int ats = 0;
    bool nameSeen = false, dotSeen = false, domainSeen = false, endingSeen = false;
    for (QChar c : text) {
        if (c >= 'A' && c <= 'Z')
            c = QChar(c.unicode() + 32); // plain ASCII lower case
        const bool alnum = (c >= 'a' && c <= 'z') || IsDigitChar(c);
        if (c == '@')
            ++ats;
        else if (ats == 0)
            nameSeen = nameSeen || alnum;
        else if (c == '.')
            dotSeen = true;
        else if (alnum && !dotSeen)
            domainSeen = true;
        else if (alnum)
            endingSeen = true;
    }
    return ats == 1 && nameSeen && dotSeen && domainSeen && endingSeen;
}

QString ColorToHtml(TColor colour)
{
    return QString::asprintf("#%02X%02X%02X", colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

QString StraightenQuotes(const QString &text)
{
    QString s = text;
    for (QChar &c : s) {
        const char16_t u = c.unicode();
        if (u == 0x2018 || u == 0x2019) // Windows-1252 0x91, 0x92
            c = '\'';
        else if (u == 0x201C || u == 0x201D) // 0x93, 0x94
            c = '"';
    }
    return s;
}

void SplitLines(const QString &text, QStringList *list)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\r' || text[i] == '\n') {
            if (i > start)
                list->append(text.mid(start, i - start));
            start = i + 1;
        }
    }
}

QString JoinLinesLf(const QStringList &list)
{
    QString s;
    for (const QString &line : list)
        s += line + '\n';
    return s;
}

QString StripQuery(const QString &url)
{
    const qsizetype q = url.indexOf('?');
    return q < 0 ? url : url.left(q);
}

void ReplaceChar(QString &text, QChar from, QChar to) { text.replace(from, to); }

namespace {

QString percentEncode(const QString &text, const QString &alsoKept)
{
    static const QString kAlways = QStringLiteral(" \"#%+<>");
    const QString trimmed = trimControls(text);
    QString out;
    out.reserve(trimmed.size());
    for (QChar c : trimmed) {
        const bool encode = c.unicode() < 32 || kAlways.contains(c) ||
                            (QStringLiteral("&=?").contains(c) && !alsoKept.contains(c));
        if (encode)
            out += QString::asprintf("%%%02X", c.unicode());
        else
            out += c;
    }
    return out;
}

} // namespace

QString UrlEncode(const QString &text)
{
    // A value inside a query: "&", "=" and "?" would split it, so they are encoded too.
    return percentEncode(text, QString());
}

QString UrlEncodeAddress(const QString &text)
{
    // A whole address keeps the separators of its query.
    return percentEncode(text, QStringLiteral("&=?"));
}

QString ReplyErrorText(const QByteArray &reply)
{
    QStringList lines;
    SplitLines(Cp1252::toUnicode(reply), &lines);
    for (const QString &line : lines) {
        const qsizetype eq = line.indexOf('=');
        if (eq >= 0 && line.left(eq).trimmed().compare(QLatin1String("Error"), Qt::CaseInsensitive) == 0)
            return line.mid(eq + 1).trimmed();
    }
    return QString();
}

QString ShortenServerText(const QString &text, qsizetype max)
{
    if (text.size() <= max)
        return text;
    return text.left(max) + QStringLiteral("...");
}

QString HostingAdText()
{
    return QStringLiteral("Tarvel comes with free hosting of your interactive puzzles at the "
                          "Sandeck web site.");
}

QString MakeHostingPassword(const QString &text, const QString &numberText)
{
    QByteArray bytes = Cp1252::fromUnicode(trimControls(text));
    for (char &c : bytes)
        if (c >= 'a' && c <= 'z')
            c = char(c - 32); // plain ASCII upper case
    bool ok = false;
    const quint32 number = quint32(numberText.trimmed().toInt(&ok));
    quint32 a = 0, b = 0;
    for (qsizetype i = bytes.size() - 1; i >= 0; --i) {
        const quint32 c = static_cast<unsigned char>(bytes[i]);
        a += c;
        a = (a << 1) | (a >> 31);
        b ^= c;
        b = (b >> 1) | (b << 31);
    }
    const quint32 key = 0x3A91D07Eu;
    return QString::number((a ^ b ^ (ok ? number : 0u) ^ key) & 0x7FFFFFFFu);
}

QString FormatId1(qint64 number) { return QString::number(number - 63517094); }
