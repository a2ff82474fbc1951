// A file named on the command line relative to the folder the program was started from.
#include "programenv.h"
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
    QProcessEnvironment env = SeededProgramEnvironment(home.path());
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(work.path());
    process.start(program, {QStringLiteral("space.trv")});
    ASSERT_TRUE(process.waitForStarted(10000));

    const QString expected = QDir(work.path()).filePath("space.trv");
    QString recent;
    QDeadlineTimer deadline(60000);
    while (!deadline.hasExpired() && process.state() == QProcess::Running) {
        recent = StoredRecentFile(home.path());
        if (!recent.isEmpty())
            break;
        process.waitForFinished(200);
    }
    process.kill();
    process.waitForFinished(5000);
    EXPECT_EQ(recent, expected);
}
