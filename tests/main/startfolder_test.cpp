// A file named on the command line relative to the folder the program was started from.
#include "startup.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

TEST(StartFolder, HandedInNamesResolveAgainstTheStartFolder)
{
    const QString start = TStartUp::StartFolder();
    ASSERT_FALSE(start.isEmpty());
    // Fixed at the first call, whatever is current later.
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QDir::rootPath()));
    EXPECT_EQ(TStartUp::StartFolder(), start);
    const QString resolved = TStartUp::ResolveHandedInName(QStringLiteral("space.trv"));
    QDir::setCurrent(before);

    EXPECT_EQ(resolved, QDir(start).filePath(QStringLiteral("space.trv")));
    const struct {
        QString name, expected;
    } cases[] = {
        {QStringLiteral("sub/./a.trv"), QDir::cleanPath(start + "/sub/a.trv")},
        {QStringLiteral("../a.trv"), QDir::cleanPath(start + "/../a.trv")},
        {QStringLiteral("/abs/a.trv"), QStringLiteral("/abs/a.trv")},
        {QStringLiteral("http://example.com/a.trv"), QStringLiteral("http://example.com/a.trv")},
        {QString(), QString()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TStartUp::ResolveHandedInName(c.name), c.expected) << c.name.toStdString();
}

// The real program, started in a folder of its own with "space.trv": it opens the file there,
// which its recent-files list (written at once, with the absolute name) shows.
TEST(StartFolder, ProgramOpensRelativeArgumentFromItsStartFolder)
{
    const QString program = QStringLiteral(TRV_BIN_DIR "/trv_800");
    if (!QFile::exists(program))
        GTEST_SKIP() << "trv_800 not built";
    QTemporaryDir home, work;
    ASSERT_TRUE(home.isValid() && work.isValid());
    ASSERT_TRUE(QFile::copy(QStringLiteral(TRV_TEST_DATA "/main/garden.trv"), work.filePath("space.trv")));
    // Not a first run (a stored window position and puzzle type): no tour before the first idle
    // opens the file.
    const QString conf = home.path() + "/config/Halvard, Inc./TRV.conf";
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
    env.insert("HOME", home.path());
    env.insert("XDG_CONFIG_HOME", home.path() + "/config");
    env.insert("XDG_DATA_HOME", home.path() + "/data");
    env.insert("XDG_RUNTIME_DIR", home.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("TRV_NO_FADE", "1");
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(work.path());
    process.start(program, {QStringLiteral("space.trv")});
    ASSERT_TRUE(process.waitForStarted(10000));

    const QString expected = QDir(work.path()).filePath("space.trv");
    QString recent;
    QDeadlineTimer deadline(60000);
    while (!deadline.hasExpired() && process.state() == QProcess::Running) {
        QSettings stored(conf, QSettings::IniFormat);
        for (const QString &key : stored.allKeys())
            if (key.endsWith(QLatin1String("Recent/1")) || key.endsWith(QLatin1String("Recent\\1")))
                recent = stored.value(key).toString();
        if (!recent.isEmpty())
            break;
        process.waitForFinished(200);
    }
    process.kill();
    process.waitForFinished(5000);
    EXPECT_EQ(recent, expected);
}
