// The environment for starting the program as a separate process in a test: a home of its own
// whose settings say this is not a first run (a stored window position and puzzle type), so no
// tour comes before the first idle pass opens the file; offscreen, without fades.
#pragma once

#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QSettings>
#include <QString>

inline QString ProgramSettingsFile(const QString &home)
{
    return home + QStringLiteral("/config/Halvard, Inc./TRV.conf");
}

inline QProcessEnvironment SeededProgramEnvironment(const QString &home)
{
    const QString conf = ProgramSettingsFile(home);
    QDir().mkpath(QFileInfo(conf).path());
    {
        QSettings seed(conf, QSettings::IniFormat);
        seed.setValue("SetupLoose", 1);
        seed.setValue("SetupTight", 0);
        for (const char *key : {"Top", "Left"})
            seed.setValue(key, 10);
        seed.setValue("Width", 900);
        seed.setValue("Height", 700);
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home);
    env.insert("XDG_CONFIG_HOME", home + "/config");
    env.insert("XDG_DATA_HOME", home + "/data");
    env.insert("XDG_RUNTIME_DIR", home);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("TRV_NO_FADE", "1");
    return env;
}

/** The first recent file the program run in that home has stored; empty while there is none. */
inline QString StoredRecentFile(const QString &home)
{
    QSettings stored(ProgramSettingsFile(home), QSettings::IniFormat);
    for (const QString &key : stored.allKeys())
        if (key.endsWith(QLatin1String("Recent/1")) || key.endsWith(QLatin1String("Recent\\1")))
            return stored.value(key).toString();
    return {};
}
