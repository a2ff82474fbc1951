// The program's settings key on QSettings, with the registry's value types.
#include "registry.h"

#include "cp1252.h"
#include "notices.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <functional>
#include <unistd.h>

namespace {
const char *const Organisation = "Halvard, Inc.";
const char *const Application = "TRV";

bool g_writeFailureReported = false;

// A second name of the same file: costs no disk space, so it works on a full disk too.
bool hardLink(const QString &from, const QString &to)
{
    QFile::remove(to);
    return ::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

QString sideName(const QString &path, const char *what)
{
    return path + QLatin1Char('.') + QLatin1String(what) +
           QString::number(QCoreApplication::applicationPid());
}

// True when the settings file holds every value the program's key holds in memory. Qt keeps
// the key in a cache of its own and (up to Qt 6.4) renames a settings file into place even when
// writing it failed, so the file is read back fresh under a second name.
bool fileHoldsValues(const QString &path)
{
    const QString check = sideName(path, "check");
    if (!hardLink(path, check))
        return true; // no second name on this file system: the status is all there is
    bool same = true;
    {
        QSettings held(QString::fromLatin1(Organisation), QString::fromLatin1(Application));
        held.setFallbacksEnabled(false);
        QSettings onDisk(check, QSettings::IniFormat);
        const QStringList keys = held.allKeys();
        same = onDisk.status() == QSettings::NoError && onDisk.allKeys().size() == keys.size();
        for (const QString &key : keys)
            if (!same || !onDisk.contains(key) || onDisk.value(key).toString() != held.value(key).toString())
                same = false;
    }
    QFile::remove(check);
    return same;
}

bool fileBytesDiffer(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return !file.open(QIODevice::ReadOnly) || file.readAll() != bytes;
}

// The system's reason why nothing can be written beside the settings file.
QString writeFailureReason(const QString &path)
{
    const QString probe = sideName(path, "probe");
    QString reason;
    if (Cp1252::writeFileSafely(probe, QByteArray(64 * 1024, ' '), &reason)) {
        QFile::remove(probe);
        reason = QStringLiteral("The settings file could not be written.");
    }
    return reason;
}

void reportWriteFailure(const QString &path)
{
    if (g_writeFailureReported)
        return;
    g_writeFailureReported = true;
    showWarning(Cp1252::writeFailureText(
        QStringLiteral("Tarvel could not save its settings (preferences, window position and recent "
                       "files). Changes to them will be lost when the program ends."),
        path, writeFailureReason(path)));
}

bool g_lastWriteFailed = false; // Qt keeps the values it could not write and tries them again
QString g_lastFileName;         // of the settings file last opened (opening another would write)

// Runs a step that may write the settings file and checks the file afterwards. The old file is
// kept until the new one proved whole: under a second name, which costs no space when Qt writes
// a new file and renames it, and in memory for when Qt writes in place. On failure the old file
// is put back and the user is told, once per run.
bool guardedWrite(const QString &path, const std::function<bool()> &write)
{
    const bool existed = QFileInfo::exists(path);
    QByteArray old;
    if (existed) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            old = file.readAll();
    }
    const QString backup = sideName(path, "old");
    const bool linked = existed && hardLink(path, backup);
    const bool ok = write() && fileHoldsValues(path);
    if (!ok && existed) {
        if (fileBytesDiffer(path, old)) {
            // rename() puts the old file back in one step and needs no space.
            const bool keptWhole = linked && !fileBytesDiffer(backup, old);
            if (!keptWhole ||
                std::rename(QFile::encodeName(backup).constData(), QFile::encodeName(path).constData()) != 0)
                Cp1252::writeFileSafely(path, old);
        }
    } else if (!ok) {
        QFile::remove(path);
    }
    QFile::remove(backup);
    g_lastWriteFailed = !ok;
    if (!ok)
        reportWriteFailure(path);
    return ok;
}
} // namespace

TRegistryKey::TRegistryKey(const QString &subKey)
{
    auto open = [this] {
        m_settings =
            std::make_unique<QSettings>(QString::fromLatin1(Organisation), QString::fromLatin1(Application));
        return m_settings->status() == QSettings::NoError;
    };
    // Opening writes what an earlier write could not: that is checked like any write.
    if (g_lastWriteFailed && !g_lastFileName.isEmpty())
        guardedWrite(g_lastFileName, open);
    else
        open();
    g_lastFileName = m_settings->fileName();
    if (!subKey.isEmpty())
        m_settings->beginGroup(subKey);
}

TRegistryKey::~TRegistryKey()
{
    if (m_dirty)
        Flush();
    else
        m_settings->sync();
}

void TRegistryKey::ForgetWriteFailureReport()
{
    g_writeFailureReported = false;
    g_lastWriteFailed = false;
}

bool TRegistryKey::ProgramKeyExists()
{
    QSettings settings(QString::fromLatin1(Organisation), QString::fromLatin1(Application));
    if (settings.status() != QSettings::NoError)
        return false;
    return !settings.allKeys().isEmpty();
}

bool TRegistryKey::Readable() const { return m_settings->status() != QSettings::FormatError; }

bool TRegistryKey::ValueExists(const QString &name) const { return Readable() && m_settings->contains(name); }

bool TRegistryKey::ReadInteger(const QString &name, int *value) const
{
    if (!ValueExists(name))
        return false;
    bool ok = false;
    const int v = m_settings->value(name).toString().trimmed().toInt(&ok);
    if (ok)
        *value = v;
    return ok;
}

bool TRegistryKey::ReadBool(const QString &name, bool *value) const
{
    // Booleans are stored as the integers 0 and 1.
    int v = 0;
    if (!ReadInteger(name, &v))
        return false;
    *value = v != 0;
    return true;
}

bool TRegistryKey::ReadString(const QString &name, QString *value) const
{
    if (!ValueExists(name))
        return false;
    const QVariant v = m_settings->value(name);
    if (!v.canConvert<QString>())
        return false;
    *value = v.toString();
    return true;
}

int TRegistryKey::ReadInteger(const QString &name, int ifAbsent) const
{
    int v = ifAbsent;
    ReadInteger(name, &v);
    return v;
}

bool TRegistryKey::ReadBool(const QString &name, bool ifAbsent) const
{
    bool v = ifAbsent;
    ReadBool(name, &v);
    return v;
}

QString TRegistryKey::ReadString(const QString &name, const QString &ifAbsent) const
{
    QString v = ifAbsent;
    ReadString(name, &v);
    return v;
}

void TRegistryKey::WriteInteger(const QString &name, int value)
{
    m_dirty = true;
    m_settings->setValue(name, value);
}

void TRegistryKey::WriteBool(const QString &name, bool value)
{
    m_dirty = true;
    m_settings->setValue(name, value ? 1 : 0);
}

void TRegistryKey::WriteString(const QString &name, const QString &value)
{
    m_dirty = true;
    m_settings->setValue(name, value);
}

void TRegistryKey::DeleteValue(const QString &name)
{
    m_dirty = true;
    m_settings->remove(name);
}

bool TRegistryKey::Flush()
{
    if (!m_dirty) {
        m_settings->sync();
        return m_settings->status() == QSettings::NoError;
    }
    m_dirty = false;
    return guardedWrite(m_settings->fileName(), [this] {
        m_settings->sync();
        return m_settings->status() == QSettings::NoError;
    });
}
