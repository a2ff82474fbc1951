// The puzzle file association in freedesktop form and the probe whether it may be written.
#include "filetypes.h"
#include "globals.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <optional>

namespace {

const QString kIconSource = QStringLiteral(TRV_TEST_DATA "/../../resources/TRVIcon.png");

/** Saves an environment variable and puts it back (or unsets it) at the end of the scope. */
class EnvGuard
{
public:
    explicit EnvGuard(const char *name) : m_name(name), m_set(qEnvironmentVariableIsSet(name))
    {
        if (m_set)
            m_value = qgetenv(name);
    }
    ~EnvGuard()
    {
        if (m_set)
            qputenv(m_name, m_value);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    bool m_set;
    QByteArray m_value;
};

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

/** Undoes an Exec value as the Desktop Entry Specification reads it: first the string escapes,
 *  then the quoting (arguments split at blanks; inside double quotes '\' before '"', '`', '$' or
 *  '\' stands for that character), then "%%" as "%" (other field codes are kept as they are).
 *  Nothing when the value breaks a rule. */
std::optional<QStringList> parseExec(const QString &value)
{
    QString s;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != QLatin1Char('\\')) {
            s += value[i];
            continue;
        }
        if (++i >= value.size())
            return std::nullopt;
        switch (value[i].unicode()) {
        case 's': s += QLatin1Char(' '); break;
        case 'n': s += QLatin1Char('\n'); break;
        case 't': s += QLatin1Char('\t'); break;
        case 'r': s += QLatin1Char('\r'); break;
        case '\\': s += QLatin1Char('\\'); break;
        default: return std::nullopt; // not a string escape
        }
    }
    const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QStringList args;
    qsizetype i = 0;
    while (i < s.size()) {
        if (s[i] == QLatin1Char(' ')) {
            ++i;
            continue;
        }
        QString arg;
        if (s[i] == QLatin1Char('"')) {
            ++i;
            while (i < s.size() && s[i] != QLatin1Char('"')) {
                if (s[i] == QLatin1Char('\\')) {
                    if (++i >= s.size() || !QStringLiteral("\"`$\\").contains(s[i]))
                        return std::nullopt;
                } else if (QStringLiteral("`$").contains(s[i])) {
                    return std::nullopt; // must be escaped inside quotes
                }
                arg += s[i++];
            }
            if (i >= s.size())
                return std::nullopt; // unterminated
            ++i;
            if (i < s.size() && s[i] != QLatin1Char(' '))
                return std::nullopt;
        } else {
            while (i < s.size() && s[i] != QLatin1Char(' ')) {
                if (reserved.contains(s[i]))
                    return std::nullopt; // needs quoting
                arg += s[i++];
            }
        }
        // Field codes: "%%" is a literal "%"; a lone field code is an argument of its own.
        QString expanded;
        for (qsizetype k = 0; k < arg.size(); ++k) {
            if (arg[k] == QLatin1Char('%')) {
                if (k + 1 >= arg.size())
                    return std::nullopt;
                if (arg[k + 1] == QLatin1Char('%')) {
                    expanded += QLatin1Char('%');
                    ++k;
                    continue;
                }
                if (arg.size() != 2)
                    return std::nullopt;
            }
            expanded += arg[k];
        }
        args << expanded;
    }
    return args;
}

/** The value of key in the desktop entry text (first match). */
QString keyValue(const QByteArray &entry, const QString &key)
{
    for (const QString &line : QString::fromUtf8(entry).split(QLatin1Char('\n')))
        if (line.startsWith(key + QLatin1Char('=')))
            return line.mid(key.size() + 1);
    return {};
}

/** Runs desktop-file-validate on path; nothing when it is not installed, else (passed, output). */
std::optional<std::pair<bool, QString>> validateDesktopEntry(const QString &path)
{
    const QString exe = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (exe.isEmpty())
        return std::nullopt;
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(exe, {path});
    const bool finished = p.waitForStarted(10000) && p.waitForFinished(20000);
    const QString output = QString::fromLocal8Bit(p.readAll());
    const bool passed = finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0 &&
                        !output.contains(QLatin1String("error:"));
    return std::make_pair(passed, output);
}

/** True when this process may write into a folder without write permission (root, or a
 *  capability that overrides permissions), so read-only folders cannot be tested. */
bool permissionsAreIgnored(const QString &scratch)
{
    const QString dir = scratch + QStringLiteral("/perm-check");
    QDir().mkpath(dir);
    QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QFile f(dir + QStringLiteral("/x"));
    const bool wrote = f.open(QIODevice::WriteOnly);
    f.close();
    QFile::remove(dir + QStringLiteral("/x"));
    QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QDir(dir).removeRecursively();
    return wrote;
}

void makeReadOnly(const QString &dir)
{
    QDir().mkpath(dir);
    QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                   QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther);
}

void makeWritable(const QString &dir)
{
    QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

/** Every file below dir, relative names sorted. */
QStringList filesBelow(const QString &dir)
{
    QStringList files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(dir).relativeFilePath(it.next());
    files.sort();
    return files;
}

class FileTypesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_data = m_dir.filePath(QStringLiteral("data"));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_data));
        InitGlobals();
    }
    void TearDown() override { InitGlobals(); }

    /** An executable file standing for the program, in folder (made under the scratch folder). */
    QString makeProgram(const QString &folder)
    {
        const QString dir = m_dir.filePath(folder);
        EXPECT_TRUE(QDir().mkpath(dir));
        const QString path = dir + QStringLiteral("/trv_800");
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n");
        f.close();
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
        return path;
    }

    EnvGuard m_dataHomeGuard{"XDG_DATA_HOME"};
    QTemporaryDir m_dir;
    QString m_data;
};

} // namespace

TEST_F(FileTypesTest, DataFolderFollowsXdgDataHomeWithTheHomeDefault)
{
    EnvGuard home("HOME");
    EXPECT_EQ(XdgDataHome(), m_data);
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_data + QStringLiteral("/")));
    EXPECT_EQ(XdgDataHome(), m_data);
    qputenv("HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("home"))));
    qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(XdgDataHome(), m_dir.filePath(QStringLiteral("home")) + "/.local/share");
    qputenv("XDG_DATA_HOME", "");
    EXPECT_EQ(XdgDataHome(), m_dir.filePath(QStringLiteral("home")) + "/.local/share");
    qputenv("XDG_DATA_HOME", "relative/data");
    EXPECT_EQ(XdgDataHome(), m_dir.filePath(QStringLiteral("home")) + "/.local/share")
        << "a relative value is ignored";
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_data));
    EXPECT_EQ(TrvMimePackagePath(), m_data + "/mime/packages/tarvel.xml");
    EXPECT_EQ(TrvDesktopEntryPath(), m_data + "/applications/tarvel.desktop");
    EXPECT_EQ(TrvIconPath(kIconSource), m_data + "/icons/hicolor/32x32/apps/tarvel.png");
    EXPECT_EQ(TrvIconPath(QStringLiteral("/no/such/icon.png")), m_data + "/icons/tarvel.png");
}

TEST_F(FileTypesTest, ProbeMakesTheFoldersAndLeavesNothingBehind)
{
    ASSERT_FALSE(QFileInfo::exists(m_data));
    EXPECT_TRUE(TestRegistryWrite());
    EXPECT_TRUE(QFileInfo(m_data + "/applications").isDir());
    EXPECT_TRUE(QFileInfo(m_data + "/mime/packages").isDir());
    EXPECT_EQ(filesBelow(m_data), QStringList{}) << "the probe files are removed";
    EXPECT_TRUE(RegistryIsWritable());
    EXPECT_TRUE(RegistryIsWritable()) << "cached";
    EXPECT_EQ(filesBelow(m_data), QStringList{});
}

TEST_F(FileTypesTest, WritesTheFourAssociations)
{
    const QString program = makeProgram(QStringLiteral("prog"));
    RegisterFileTypeOnClose = true;
    RegisterFileType(program, kIconSource);
    EXPECT_FALSE(RegisterFileTypeOnClose) << "the request to register at close is cleared";

    // ".trv" and "trvfile": the MIME package.
    EXPECT_EQ(readFile(m_data + "/mime/packages/tarvel.xml"),
              QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                         "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                         "  <mime-type type=\"application/x-tarvel-puzzle\">\n"
                         "    <comment>Tarvel Puzzle File</comment>\n"
                         "    <icon name=\"tarvel\"/>\n"
                         "    <glob pattern=\"*.trv\"/>\n"
                         "  </mime-type>\n"
                         "</mime-info>\n"));

    // "trvfile\DefaultIcon": the program's icon, copied.
    const QString icon = m_data + "/icons/hicolor/32x32/apps/tarvel.png";
    ASSERT_FALSE(readFile(kIconSource).isEmpty());
    EXPECT_EQ(readFile(icon), readFile(kIconSource));

    // "trvfile\shell\open\command": the desktop entry.
    const QByteArray expected = "[Desktop Entry]\n"
                                "Type=Application\n"
                                "Name=Tarvel\n"
                                "Exec=\"" +
                                QFile::encodeName(program) +
                                "\" %f\n"
                                "Icon=" +
                                QFile::encodeName(icon) +
                                "\n"
                                "Terminal=false\n"
                                "MimeType=application/x-tarvel-puzzle;\n";
    EXPECT_EQ(readFile(m_data + "/applications/tarvel.desktop"), expected);
    EXPECT_EQ(TrvDesktopEntryText(program, icon), expected);

    // No probe files, no temporary files of the whole-file writes.
    for (const QString &f : filesBelow(m_data)) {
        EXPECT_FALSE(f.contains(QLatin1String("TestAdmin"))) << f.toStdString();
        EXPECT_FALSE(QFileInfo(f).fileName().startsWith(QLatin1String("tarvel.desktop."))) << f.toStdString();
    }
}

TEST_F(FileTypesTest, ExecQuotingFollowsTheDesktopEntrySpecification)
{
    EXPECT_EQ(DesktopExecArgument(QStringLiteral("/opt/trv/trv_800")), "\"/opt/trv/trv_800\"");
    EXPECT_EQ(DesktopExecArgument(QStringLiteral("/a b%c/t")), "\"/a b%%c/t\"");
    // '"', '`', '$' get a backslash inside the quotes, which the string escape doubles; a
    // backslash becomes four.
    EXPECT_EQ(DesktopExecArgument(QStringLiteral("/q\"d$e`f\\g")), "\"/q\\\\\"d\\\\$e\\\\`f\\\\\\\\g\"");
    const QStringList paths = {
        QStringLiteral("/opt/trv/trv_800"),     QStringLiteral("/a b%c/trv_800"),
        QStringLiteral("/q\"d$e/trv_800"),      QStringLiteral("/x\\y`z'w/trv 800"),
        QStringLiteral("/%f %%u/$HOME/\"\"/t"), QStringLiteral("/tab\there/new\nline/t"),
        QStringLiteral("/ümlaut;&|<>*?#()~/t"),
    };
    for (const QString &path : paths) {
        const QString exec = DesktopExecArgument(path) + QStringLiteral(" %f");
        const auto args = parseExec(exec);
        ASSERT_TRUE(args.has_value()) << exec.toStdString();
        EXPECT_EQ(*args, (QStringList{path, QStringLiteral("%f")})) << exec.toStdString();
    }
}

TEST_F(FileTypesTest, ExecSurvivesProgramFoldersWithSpecialCharacters)
{
    const QStringList folders = {
        QStringLiteral("a b%c"),
        QStringLiteral("q\"d$e"),
        QStringLiteral("x\\y`z 'w' %f"),
    };
    for (const QString &folder : folders) {
        SCOPED_TRACE(folder.toStdString());
        const QString program = makeProgram(folder);
        RegisterFileType(program, kIconSource);
        const QByteArray entry = readFile(TrvDesktopEntryPath());
        const QString exec = keyValue(entry, QStringLiteral("Exec"));
        const auto args = parseExec(exec);
        ASSERT_TRUE(args.has_value()) << exec.toStdString();
        EXPECT_EQ(*args, (QStringList{program, QStringLiteral("%f")})) << exec.toStdString();
        if (const auto result = validateDesktopEntry(TrvDesktopEntryPath())) {
            EXPECT_TRUE(result->first) << result->second.toStdString() << "\n" << entry.toStdString();
        }
    }
}

TEST_F(FileTypesTest, ARerunWritesIdenticalFiles)
{
    const QString program = makeProgram(QStringLiteral("a b%c"));
    RegisterFileType(program, kIconSource);
    const QStringList files = filesBelow(m_data);
    ASSERT_TRUE(files.contains(QStringLiteral("applications/tarvel.desktop")));
    ASSERT_TRUE(files.contains(QStringLiteral("mime/packages/tarvel.xml")));
    ASSERT_TRUE(files.contains(QStringLiteral("icons/hicolor/32x32/apps/tarvel.png")));
    QList<QByteArray> before;
    for (const QString &f : files)
        before << readFile(m_data + "/" + f);

    RegisterFileType(program, kIconSource);
    EXPECT_EQ(filesBelow(m_data), files);
    const QStringList ours = {QStringLiteral("applications/tarvel.desktop"),
                              QStringLiteral("mime/packages/tarvel.xml"),
                              QStringLiteral("icons/hicolor/32x32/apps/tarvel.png")};
    for (qsizetype i = 0; i < files.size(); ++i) {
        // The databases of update-mime-database may carry a time; the files written here may not.
        if (ours.contains(files[i]) || files[i] == QLatin1String("mime/globs2")) {
            EXPECT_EQ(readFile(m_data + "/" + files[i]), before[i]) << files[i].toStdString();
        }
    }
}

TEST_F(FileTypesTest, AReadOnlyFolderIsSkippedWithoutError)
{
    if (permissionsAreIgnored(m_dir.path()))
        GTEST_SKIP() << "this process ignores folder permissions (root)";
    const QString program = makeProgram(QStringLiteral("prog"));

    // applications/ read-only: not writable, nothing written.
    makeReadOnly(m_data + "/applications");
    EXPECT_FALSE(TestRegistryWrite());
    EXPECT_FALSE(RegistryIsWritable());
    RegisterFileTypeOnClose = true;
    RegisterFileType(program, kIconSource);
    EXPECT_FALSE(RegisterFileTypeOnClose);
    EXPECT_EQ(filesBelow(m_data), QStringList{});
    makeWritable(m_data + "/applications");

    // mime/packages read-only (another data folder, so that the cached answer does not apply).
    const QString other = m_dir.filePath(QStringLiteral("data2"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(other));
    makeReadOnly(other + "/mime/packages");
    EXPECT_FALSE(TestRegistryWrite());
    EXPECT_FALSE(RegistryIsWritable());
    RegisterFileType(program, kIconSource);
    EXPECT_EQ(filesBelow(other), QStringList{}) << "no probe left in applications/ either";
    makeWritable(other + "/mime/packages");

    // Writable folders but icons/ read-only: the icon is skipped, the rest is written.
    const QString third = m_dir.filePath(QStringLiteral("data3"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(third));
    makeReadOnly(third + "/icons");
    EXPECT_TRUE(RegistryIsWritable());
    RegisterFileType(program, kIconSource);
    EXPECT_TRUE(QFileInfo::exists(third + "/mime/packages/tarvel.xml"));
    const QByteArray entry = readFile(third + "/applications/tarvel.desktop");
    EXPECT_FALSE(keyValue(entry, QStringLiteral("Exec")).isEmpty());
    EXPECT_TRUE(keyValue(entry, QStringLiteral("Icon")).isEmpty()) << "no icon to name";
    EXPECT_FALSE(QFileInfo::exists(third + "/icons/hicolor"));
    makeWritable(third + "/icons");

    // applications/ read-only after the cached probe: the entry cannot be rewritten, so it stays
    // as it was, and no temporary file of the whole-file write is left.
    makeReadOnly(third + "/applications");
    const QByteArray old = readFile(third + "/applications/tarvel.desktop");
    const QStringList before = QDir(third + "/applications").entryList(QDir::Files | QDir::Hidden);
    RegisterFileType(makeProgram(QStringLiteral("other")), kIconSource);
    EXPECT_EQ(readFile(third + "/applications/tarvel.desktop"), old);
    EXPECT_EQ(QDir(third + "/applications").entryList(QDir::Files | QDir::Hidden), before);
    makeWritable(third + "/applications");
}

TEST_F(FileTypesTest, TheMimeDatabaseMapsTheGlobToTheType)
{
    if (QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty())
        GTEST_SKIP() << "update-mime-database is not installed (shared-mime-info)";
    RegisterFileType(makeProgram(QStringLiteral("prog")), kIconSource);
    const QString globs2 = QString::fromUtf8(readFile(m_data + "/mime/globs2"));
    bool found = false;
    for (const QString &line : globs2.split(QLatin1Char('\n'))) {
        // weight:type:glob[:flags]
        const QStringList fields = line.split(QLatin1Char(':'));
        if (fields.size() >= 3 && fields[1] == TrvMimeType() && fields[2] == TrvMimeGlob())
            found = true;
    }
    EXPECT_TRUE(found) << globs2.toStdString();
    EXPECT_TRUE(QString::fromUtf8(readFile(m_data + "/mime/types")).split('\n').contains(TrvMimeType()));
}

TEST_F(FileTypesTest, TheDesktopDatabaseListsTheEntryForTheType)
{
    if (QStandardPaths::findExecutable(QStringLiteral("update-desktop-database")).isEmpty())
        GTEST_SKIP() << "update-desktop-database is not installed (desktop-file-utils)";
    RegisterFileType(makeProgram(QStringLiteral("prog")), kIconSource);
    const QString cache = QString::fromUtf8(readFile(m_data + "/applications/mimeinfo.cache"));
    EXPECT_TRUE(cache.contains(TrvMimeType() + QStringLiteral("=tarvel.desktop;"))) << cache.toStdString();
}

TEST_F(FileTypesTest, TheDesktopEntryPassesDesktopFileValidate)
{
    RegisterFileType(makeProgram(QStringLiteral("prog")), kIconSource);
    const auto result = validateDesktopEntry(TrvDesktopEntryPath());
    if (!result)
        GTEST_SKIP() << "desktop-file-validate is not installed (desktop-file-utils)";
    EXPECT_TRUE(result->first) << result->second.toStdString();
}
