// The puzzle file association in freedesktop form: a shared-mime-info package, the program's icon
// and a desktop entry under $XDG_DATA_HOME, and the probe whether that folder can be written.
#include "filetypes.h"

#include "cp1252.h"
#include "globals.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QMutex>
#include <QMutexLocker>
#include <QProcess>
#include <QStandardPaths>

namespace {

// The base name of the package, the icon and the desktop entry (the desktop file ID "tarvel").
const char *const kName = "tarvel";
// How long each of update-mime-database and update-desktop-database may take to start and to run.
constexpr int kToolTimeoutMs = 10000;

QString applicationsDir() { return XdgDataHome() + QStringLiteral("/applications"); }
QString mimeDir() { return XdgDataHome() + QStringLiteral("/mime"); }
QString mimePackagesDir() { return mimeDir() + QStringLiteral("/packages"); }

/** The string escapes of a desktop entry value (Desktop Entry Specification, "Possible value
 *  types"): backslash, newline, tab and carriage return. */
QString escapeDesktopString(const QString &text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\': out += QStringLiteral("\\\\"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        default: out += c; break;
        }
    }
    return out;
}

QByteArray readAllOf(const QString &path, bool *ok)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *ok = false;
        return {};
    }
    QByteArray bytes = f.readAll();
    *ok = f.error() == QFileDevice::NoError;
    return bytes;
}

/** The icon's place for its bytes: hicolor/NxN/apps for a square image of N pixels. */
QString iconPathFor(const QByteArray &bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    const QString base = XdgDataHome() + QStringLiteral("/icons/");
    const QString file = QLatin1String(kName) + QStringLiteral(".png");
    if (size.isValid() && size.width() > 0 && size.width() == size.height())
        return base + QStringLiteral("hicolor/%1x%1/apps/").arg(size.width()) + file;
    return base + file;
}

/** Writes bytes as the whole file at path (its folder made when missing); false when it cannot.
 *  A failure leaves the old file as it was. */
bool writeWhole(const QString &path, const QByteArray &bytes)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    return Cp1252::writeFileSafely(path, bytes);
}

/** Writes, reads back and removes a probe file in dir (made when missing). */
bool probeFolder(const QString &dir)
{
    if (!QDir().mkpath(dir))
        return false;
    // A probe file beside the entries; the process id keeps two running programs apart.
    const QString path = dir + QStringLiteral("/.TestAdmin.%1.zqz").arg(QCoreApplication::applicationPid());
    const QByteArray written = QDateTime::currentDateTime().toString(Qt::ISODateWithMs).toUtf8();
    bool ok = false;
    {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            ok = f.write(written) == written.size();
            ok = f.flush() && ok;
            f.close();
            ok = ok && f.error() == QFileDevice::NoError;
        }
    }
    if (ok) {
        bool readOk = false;
        const QByteArray read = readAllOf(path, &readOk);
        ok = readOk && read.trimmed() == written.trimmed();
    }
    // Removed in any case; a probe that stays counts as a failure.
    const bool existed = QFileInfo::exists(path);
    if (existed && !QFile::remove(path))
        ok = false;
    return ok && !QFileInfo::exists(path);
}

/** Runs the named program with one argument when it is installed, within the time limit. */
void runTool(const QString &name, const QString &argument)
{
    const QString exe = QStandardPaths::findExecutable(name);
    if (exe.isEmpty())
        return;
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(exe, {argument});
    if (!process.waitForStarted(kToolTimeoutMs))
        return;
    if (!process.waitForFinished(kToolTimeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
    }
}

} // namespace

QString TrvMimeType() { return QStringLiteral("application/x-tarvel-puzzle"); }
QString TrvMimeComment() { return QStringLiteral("Tarvel Puzzle File"); }
QString TrvMimeGlob() { return QStringLiteral("*.trv"); }

QString XdgDataHome()
{
    QString dir = QFile::decodeName(qgetenv("XDG_DATA_HOME"));
    if (dir.isEmpty() || !QDir::isAbsolutePath(dir))
        dir = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(dir);
}

QString TrvMimePackagePath()
{
    return mimePackagesDir() + QLatin1Char('/') + QLatin1String(kName) + QStringLiteral(".xml");
}

QString TrvDesktopEntryPath()
{
    return applicationsDir() + QLatin1Char('/') + QLatin1String(kName) + QStringLiteral(".desktop");
}

QString TrvIconPath(const QString &iconSource)
{
    bool ok = false;
    const QByteArray bytes = readAllOf(iconSource, &ok);
    return iconPathFor(ok ? bytes : QByteArray());
}

QString DesktopExecArgument(const QString &argument)
{
    // Field codes: a literal "%" is "%%". Quoting: the whole in double quotes, with '"', '`', '$'
    // and '\' preceded by a backslash. The string escapes of the file come last, because a reader
    // undoes them first (so a backslash becomes four, a dollar "\\$").
    QString quoted;
    quoted.reserve(argument.size() + 8);
    quoted += QLatin1Char('"');
    for (const QChar c : argument) {
        switch (c.unicode()) {
        case '%': quoted += QStringLiteral("%%"); break;
        case '"':
        case '`':
        case '$':
        case '\\':
            quoted += QLatin1Char('\\');
            quoted += c;
            break;
        default: quoted += c; break;
        }
    }
    quoted += QLatin1Char('"');
    return escapeDesktopString(quoted);
}

QByteArray TrvMimePackageText()
{
    // The ".trv" key (the glob, case-insensitive like Windows names) and the "trvfile" class (the
    // type with its description); the icon by name from the icon theme, like DefaultIcon.
    QString text;
    text += QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    text += QStringLiteral("<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n");
    text += QStringLiteral("  <mime-type type=\"%1\">\n").arg(TrvMimeType());
    text += QStringLiteral("    <comment>%1</comment>\n").arg(TrvMimeComment());
    text += QStringLiteral("    <icon name=\"%1\"/>\n").arg(QLatin1String(kName));
    text += QStringLiteral("    <glob pattern=\"%1\"/>\n").arg(TrvMimeGlob());
    text += QStringLiteral("  </mime-type>\n");
    text += QStringLiteral("</mime-info>\n");
    return text.toUtf8();
}

QByteArray TrvDesktopEntryText(const QString &programPath, const QString &iconPath)
{
    QString text;
    text += QStringLiteral("[Desktop Entry]\n");
    text += QStringLiteral("Type=Application\n");
    text += QStringLiteral("Name=Tarvel\n");
    // "trvfile\shell\open\command": the quoted program path and the file.
    text += QStringLiteral("Exec=") + DesktopExecArgument(programPath) + QStringLiteral(" %f\n");
    // "trvfile\DefaultIcon": the program's icon.
    if (!iconPath.isEmpty())
        text += QStringLiteral("Icon=") + escapeDesktopString(iconPath) + QLatin1Char('\n');
    text += QStringLiteral("Terminal=false\n");
    text += QStringLiteral("MimeType=%1;\n").arg(TrvMimeType());
    return text.toUtf8();
}

bool TestRegistryWrite()
{
    // Both folders are probed, so that neither is left with a probe when the other fails.
    const bool applications = probeFolder(applicationsDir());
    const bool packages = probeFolder(mimePackagesDir());
    return applications && packages;
}

bool RegistryIsWritable()
{
    static QMutex mutex;
    static QHash<QString, bool> results;
    const QString key = XdgDataHome();
    QMutexLocker lock(&mutex);
    const auto it = results.constFind(key);
    if (it != results.constEnd())
        return it.value();
    const bool writable = TestRegistryWrite();
    results.insert(key, writable);
    return writable;
}

void RegisterFileType(const QString &programPath, const QString &iconSource)
{
    RegisterFileTypeOnClose = false;
    if (!RegistryIsWritable())
        return;

    // ".trv" and "trvfile": the MIME package.
    writeWhole(TrvMimePackagePath(), TrvMimePackageText());

    // "trvfile\DefaultIcon": the program's icon, copied; the entry names it only when it is there.
    bool iconRead = false;
    const QByteArray iconBytes = readAllOf(iconSource, &iconRead);
    QString iconPath;
    if (iconRead && !iconBytes.isEmpty()) {
        iconPath = iconPathFor(iconBytes);
        writeWhole(iconPath, iconBytes);
        if (!QFileInfo(iconPath).isFile())
            iconPath.clear();
    }

    // "trvfile\shell\open\command": the desktop entry.
    writeWhole(TrvDesktopEntryPath(),
               TrvDesktopEntryText(QFileInfo(programPath).absoluteFilePath(), iconPath));

    runTool(QStringLiteral("update-mime-database"), mimeDir());
    runTool(QStringLiteral("update-desktop-database"), applicationsDir());
}
