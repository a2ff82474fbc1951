// The installation: "cmake --install" into a temporary prefix gives the Linux layout, and the
// installed program, started headless through its link on each installed sample puzzle, finds its
// library and data from its own folder, opens the puzzle and ends by itself.
#include "filetypes.h"
#include "programenv.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

QString RunTool(const QString &program, const QStringList &args, int *exitCode = nullptr,
                int timeoutMs = 120000)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(5000);
    }
    if (exitCode)
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromLocal8Bit(process.readAll());
}

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/** One installation for the suite. */
class InstallTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        prefix = new QTemporaryDir;
        installLog = RunTool(QStringLiteral(TRV_CMAKE_COMMAND),
                             {QStringLiteral("--install"), QStringLiteral(TRV_BUILD_DIR),
                              QStringLiteral("--prefix"), prefix->path()},
                             &installCode);
    }
    static void TearDownTestSuite()
    {
        delete prefix;
        prefix = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(prefix->isValid());
        ASSERT_EQ(installCode, 0) << installLog.toStdString();
        lib = at(QStringLiteral("lib/tarvel"));
    }

    static QString at(const QString &relative) { return QDir(prefix->path()).filePath(relative); }

    static inline QTemporaryDir *prefix = nullptr;
    static inline QString installLog;
    static inline int installCode = -1;
    QString lib;
};

TEST_F(InstallTest, LaysOutTheProgramItsDataAndTheDesktopFiles)
{
    for (const char *file : {"trv_800", "libTRV600.so"})
        EXPECT_TRUE(QFileInfo(QDir(lib).filePath(QLatin1String(file))).isFile()) << file;
    // The link is relative, so the tree can move.
    const QFileInfo link(at(QStringLiteral("bin/trv_800")));
    EXPECT_TRUE(link.isSymLink());
    EXPECT_EQ(RunTool(QStringLiteral("readlink"), {link.filePath()}).trimmed(),
              QStringLiteral("../lib/tarvel/trv_800"));
    // libTRV600.so is found beside the program wherever it lies.
    const QString dynamic = RunTool(QStringLiteral("readelf"),
                                    {QStringLiteral("-d"), QDir(lib).filePath(QStringLiteral("trv_800"))});
    EXPECT_TRUE(dynamic.contains(QLatin1String("[$ORIGIN]"))) << dynamic.toStdString();
    EXPECT_TRUE(dynamic.contains(QLatin1String("libTRV600.so")));

    if (!QStringLiteral(TRV_SAMPLES_MANIFEST).isEmpty()) {
        EXPECT_TRUE(QFileInfo(QDir(lib).filePath(QStringLiteral("ZEDAVIV/E.P05"))).isFile());
        EXPECT_TRUE(QFileInfo(QDir(lib).filePath(QStringLiteral("ZEDAVIV/Clues.03"))).isFile());
        EXPECT_TRUE(QFileInfo(QDir(lib).filePath(QStringLiteral("StockPat"))).isFile());
        EXPECT_GE(QDir(lib).entryList({QStringLiteral("*.ff.thm")}).size(), 8);
        EXPECT_GE(QDir(lib).entryList({QStringLiteral("*.sym.thm")}).size(), 8);
        EXPECT_GE(QDir(lib).entryList({QStringLiteral("*.trv")}).size(), 6);
    }

    const QString desktop = at(QStringLiteral("share/applications/tarvel.desktop"));
    ASSERT_TRUE(QFileInfo(desktop).isFile());
    EXPECT_TRUE(ReadAll(desktop).contains("MimeType=" + TrvMimeType().toUtf8() + ";\n"));
    if (!QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate")).isEmpty()) {
        int code = -1;
        const QString log = RunTool(QStringLiteral("desktop-file-validate"), {desktop}, &code);
        EXPECT_EQ(code, 0) << log.toStdString();
    }
    // The type the program itself registers at close.
    EXPECT_EQ(ReadAll(at(QStringLiteral("share/mime/packages/tarvel.xml"))), TrvMimePackageText());
    EXPECT_TRUE(QFileInfo(at(QStringLiteral("share/icons/hicolor/scalable/apps/tarvel.svg"))).isFile());
    EXPECT_TRUE(QFileInfo(at(QStringLiteral("share/icons/hicolor/32x32/apps/tarvel.png"))).isFile());
}

/** Runs the installed program through its link with an empty home of its own (not a first run,
 *  so no tour comes before the open) in the check-run mode; gives the exit code (-1 when it did
 *  not end by itself), its output and the first recent file it stored. */
struct CheckRun {
    int exitCode = -1;
    std::string output;
    QString recent;
};

CheckRun RunInstalled(const QString &program, const QString &argument)
{
    CheckRun run;
    QTemporaryDir home, work;
    if (!home.isValid() || !work.isValid())
        return run;
    QProcessEnvironment env = SeededProgramEnvironment(home.path());
    env.insert("TRV_EXIT_WHEN_OPENED", "1");
    // Nothing of the build may help it find its library.
    env.remove("LD_LIBRARY_PATH");
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(work.path());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, {argument});
    if (!process.waitForStarted(10000))
        return run;
    const bool ended = process.waitForFinished(90000);
    if (!ended) {
        process.kill();
        process.waitForFinished(5000);
    }
    run.output = process.readAll().toStdString();
    if (ended && process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    run.recent = StoredRecentFile(home.path());
    return run;
}

TEST_F(InstallTest, InstalledProgramOpensASamplePuzzleHeadlessAndEnds)
{
    const QStringList puzzles = QDir(lib).entryList({QStringLiteral("*.trv")}, QDir::Files, QDir::Name);
    if (puzzles.isEmpty())
        GTEST_SKIP() << "the build made no samples";
    for (const QString &name : puzzles) {
        SCOPED_TRACE(name.toStdString());
        const QString puzzle = QDir(lib).filePath(name);
        const CheckRun run = RunInstalled(at(QStringLiteral("bin/trv_800")), puzzle);
        EXPECT_EQ(run.exitCode, 0) << run.output;
        // The puzzle was opened: it heads the recent files.
        EXPECT_EQ(run.recent, puzzle) << run.output;
        // Started elsewhere, it went to its own folder for the dictionary.
        EXPECT_NE(run.output.find("folder: " + QFileInfo(lib).canonicalFilePath().toStdString() + "\n"),
                  std::string::npos)
            << run.output;
    }
}

TEST_F(InstallTest, AMessageEndsTheCheckRunWithItsText)
{
    // Nobody could answer it: the run ends at once and says why.
    const QString missing = QDir(prefix->path()).filePath(QStringLiteral("missing.trv"));
    const CheckRun run = RunInstalled(at(QStringLiteral("bin/trv_800")), missing);
    EXPECT_EQ(run.exitCode, 3) << run.output;
    EXPECT_NE(run.output.find(missing.toStdString() + " was not found."), std::string::npos) << run.output;
    EXPECT_TRUE(run.recent.isEmpty());
}

} // namespace
