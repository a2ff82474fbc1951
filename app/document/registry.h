// The program's settings key: HKEY_CURRENT_USER "Software\Halvard, Inc.\TRV" and its subkeys,
// kept in QSettings("Halvard, Inc.", "TRV"). Values keep their registry names and types.
#pragma once

#include <QSettings>
#include <QString>
#include <memory>

class TRegistryKey
{
public:
    /** Opens the program key, or its subkey (e.g. "Recent"). Nothing is created on disk until a
     *  value is written. */
    explicit TRegistryKey(const QString &subKey = QString());
    ~TRegistryKey();
    TRegistryKey(const TRegistryKey &) = delete;
    TRegistryKey &operator=(const TRegistryKey &) = delete;

    /** True when the program key holds any value: the key was created by an earlier run. An
     *  unreadable settings file counts as no key. */
    static bool ProgramKeyExists();

    bool ValueExists(const QString &name) const;
    /** A value of another type (an integer that is no number) reads as absent. */
    bool ReadInteger(const QString &name, int *value) const;
    bool ReadBool(const QString &name, bool *value) const;
    bool ReadString(const QString &name, QString *value) const;

    int ReadInteger(const QString &name, int ifAbsent) const;
    bool ReadBool(const QString &name, bool ifAbsent) const;
    QString ReadString(const QString &name, const QString &ifAbsent) const;

    void WriteInteger(const QString &name, int value);
    void WriteBool(const QString &name, bool value);
    void WriteString(const QString &name, const QString &value);
    void DeleteValue(const QString &name);

    /** Writes pending values; false when the settings file cannot be written, and then the
     *  old file is left as it was and the user is told (once per run). The key's destruction
     *  flushes too. */
    bool Flush();
    bool Readable() const;
    /** Lets the next failed write be reported again (for tests). */
    static void ForgetWriteFailureReport();

private:
    std::unique_ptr<QSettings> m_settings;
    bool m_dirty = false; // values were written or deleted since the last flush
};
