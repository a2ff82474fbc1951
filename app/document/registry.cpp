// The program's settings key on QSettings, with the registry's value types.
#include "registry.h"

namespace {
const char *const Organisation = "Halvard, Inc.";
const char *const Application = "TRV";
}

TRegistryKey::TRegistryKey(const QString &subKey)
    : m_settings(std::make_unique<QSettings>(QString::fromLatin1(Organisation),
                                             QString::fromLatin1(Application)))
{
    if (!subKey.isEmpty())
        m_settings->beginGroup(subKey);
}

TRegistryKey::~TRegistryKey()
{
    m_settings->sync();
}

bool TRegistryKey::ProgramKeyExists()
{
    QSettings settings(QString::fromLatin1(Organisation), QString::fromLatin1(Application));
    if (settings.status() != QSettings::NoError)
        return false;
    return !settings.allKeys().isEmpty();
}

bool TRegistryKey::Readable() const
{
    return m_settings->status() != QSettings::FormatError;
}

bool TRegistryKey::ValueExists(const QString &name) const
{
    return Readable() && m_settings->contains(name);
}

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
    m_settings->setValue(name, value);
}

void TRegistryKey::WriteBool(const QString &name, bool value)
{
    m_settings->setValue(name, value ? 1 : 0);
}

void TRegistryKey::WriteString(const QString &name, const QString &value)
{
    m_settings->setValue(name, value);
}

void TRegistryKey::DeleteValue(const QString &name)
{
    m_settings->remove(name);
}

bool TRegistryKey::Flush()
{
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}
