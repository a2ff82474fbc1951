// Writes cut short as on a full disk, for the writers of the document library: the safe write
// itself, the lists saved after the replace question, the word-list export, the desktop
// integration files and the settings store. The old file must survive every cut whole.
#include "cp1252.h"
#include "cutwrites.h"
#include "filetypes.h"
#include "globals.h"
#include "lines.h"
#include "prompter.h"
#include "registry.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QStringList wordLines(int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << QStringLiteral("WORD%1\tA clue with \u00e9 for word %1").arg(i);
    return lines;
}

// Small files stay inside one write buffer, large ones span several.
const struct SizeCase {
    const char *name;
    int lines;
} kSizes[] = {{"small", 180}, {"large", 3000}};

TEST(CutWrites, TheSafeWriteKeepsTheOldFileAndSaysWhy)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("list.txt"));
    for (const SizeCase &c : kSizes) {
        SCOPED_TRACE(c.name);
        const QStringList lines = wordLines(c.lines);
        const qint64 size = ExpectCutWritesKeepTheOldFile(
            target, [&](QString *reason) { return Cp1252::writeTextLines(target, lines, reason); });
        EXPECT_EQ(size > 16 * 1024, c.lines > 1000);
        const QByteArray bytes(int(size), 'b');
        ExpectCutWritesKeepTheOldFile(
            target, [&](QString *reason) { return Cp1252::writeFileSafely(target, bytes, reason); });
    }
}

TEST(CutWrites, FailureTextNamesTheFileOnceAndGivesTheReason)
{
    const struct {
        QString message, file, reason, expected;
    } cases[] = {
        {"Could not save.", "/tmp/a b.trv", "No space left on device",
         "Could not save.\n\n/tmp/a b.trv: No space left on device"},
        {"The file /tmp/x.txt failed.", "/tmp/x.txt", "File too large",
         "The file /tmp/x.txt failed.\n\nFile too large"},
        {"Could not save.", "/tmp/y", "", "Could not save.\n\n/tmp/y: The file could not be written."},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Cp1252::writeFailureText(c.message, c.file, c.reason), c.expected);
}

TEST(CutWrites, ListSavedAfterTheReplaceQuestionKeepsTheOldFile)
{
    InitGlobals();
    ScriptedPrompter prompter; // answers Yes to the replace question
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("puzzle.txt"));
    for (const SizeCase &c : kSizes) {
        SCOPED_TRACE(c.name);
        const QStringList lines = wordLines(c.lines);
        ExpectCutWritesKeepTheOldFile(
            target, [&](QString *reason) { return SaveListConfirmOverwrite(lines, target, reason); });
    }
}

TEST(CutWrites, WordListExportSaysTheFileAndTheReason)
{
    InitGlobals();
    ScriptedPrompter prompter;
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("words.thm"));
    for (const SizeCase &c : kSizes) {
        SCOPED_TRACE(c.name);
        TEntries entries;
        entries.LoadLines(wordLines(c.lines));
        ExpectCutWritesKeepTheOldFile(target, [&](QString *reason) {
            prompter.boxes.clear();
            const bool ok = entries.SaveToFile(target);
            *reason = prompter.lastText();
            if (!ok) {
                EXPECT_TRUE(reason->startsWith(
                    QStringLiteral("Invalid file name, file not found or access denied.")));
                EXPECT_TRUE(reason->contains(target));
            }
            return ok;
        });
    }
}

TEST(CutWrites, DesktopIntegrationFilesAreWrittenWholeOrNotAtAll)
{
    QTemporaryDir dir;
    const QByteArray savedDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("data"))));
    InitGlobals();
    const QString icon = QStringLiteral(TRV_TEST_DATA "/../../resources/TRVIcon.png");
    const QString program = dir.filePath(QStringLiteral("trv_800"));
    PutFile(program, "#!/bin/sh\n");
    RegisterFileType(program, icon);
    const QStringList files = {TrvMimePackagePath(), TrvDesktopEntryPath(), TrvIconPath(icon)};
    QList<QByteArray> written;
    qint64 largest = 0;
    for (const QString &f : files) {
        written << FileBytes(f);
        ASSERT_FALSE(written.last().isEmpty()) << f.toStdString();
        largest = std::max(largest, qint64(written.last().size()));
    }
    for (qint64 cut : CutPoints(largest)) {
        SCOPED_TRACE(cut);
        QList<QStringList> before;
        for (const QString &f : files) {
            PutFile(f, kOldFile);
            before << FolderEntries(QFileInfo(f).absolutePath());
        }
        {
            TFileSizeLimit limit(cut);
            RegisterFileType(program, icon);
        }
        for (int i = 0; i < files.size(); ++i) {
            SCOPED_TRACE(files[i].toStdString());
            // Each file is the old one, or the whole new one when it fits under the cut.
            EXPECT_EQ(FileBytes(files[i]), written[i].size() <= cut ? written[i] : kOldFile);
            if (i != 1) { // update-desktop-database may add its cache beside the desktop entry
                EXPECT_EQ(FolderEntries(QFileInfo(files[i]).absolutePath()), before[i]);
            }
        }
    }
    qputenv("XDG_DATA_HOME", savedDataHome);
    InitGlobals();
}

// ---- The settings store ---------------------------------------------------------------------

class SettingsStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_savedConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("config"))));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           m_dir.filePath(QStringLiteral("config")));
        TRegistryKey::ForgetWriteFailureReport();
        m_file = QSettings(QStringLiteral("Halvard, Inc."), QStringLiteral("TRV")).fileName();
    }
    void TearDown() override
    {
        qputenv("XDG_CONFIG_HOME", m_savedConfig);
        const QString config = m_savedConfig.isEmpty() ? QDir::homePath() + QStringLiteral("/.config")
                                                       : QString::fromLocal8Bit(m_savedConfig);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config);
        TRegistryKey::ForgetWriteFailureReport();
    }
    static void writeValues(int count, const QString &value)
    {
        TRegistryKey key;
        for (int i = 0; i < count; ++i)
            key.WriteString(QStringLiteral("Value%1").arg(i), value);
        key.Flush();
    }

    QTemporaryDir m_dir;
    QByteArray m_savedConfig;
    QString m_file;
};

TEST_F(SettingsStoreTest, ACutWriteKeepsTheOldFileAndIsReportedOncePerRun)
{
    ScriptedPrompter prompter;
    writeValues(3, QStringLiteral("old"));
    const QByteArray old = FileBytes(m_file);
    ASSERT_FALSE(old.isEmpty());
    ASSERT_TRUE(prompter.boxes.isEmpty());
    for (qint64 cut : CutPoints(old.size() + 3000)) {
        SCOPED_TRACE(cut);
        const QStringList before = FolderEntries(QFileInfo(m_file).absolutePath());
        bool flushed = true;
        {
            TFileSizeLimit limit(cut);
            TRegistryKey key;
            key.WriteString(QStringLiteral("Value0"), QString(6000, QLatin1Char('n')));
            flushed = key.Flush();
        }
        EXPECT_FALSE(flushed);
        EXPECT_EQ(FileBytes(m_file), old);
        EXPECT_EQ(FolderEntries(QFileInfo(m_file).absolutePath()), before);
    }
    ASSERT_EQ(prompter.boxes.size(), 1);
    EXPECT_EQ(prompter.boxes[0].kind, Prompter::Warning);
    EXPECT_TRUE(prompter.boxes[0].text.contains(m_file));
    EXPECT_TRUE(prompter.boxes[0].text.contains(QLatin1String(kCutReason)))
        << prompter.boxes[0].text.toStdString();
    // Writable again: the values are written and nothing more is said.
    writeValues(3, QStringLiteral("new"));
    EXPECT_EQ(TRegistryKey().ReadString(QStringLiteral("Value2"), QString()), QStringLiteral("new"));
    EXPECT_EQ(prompter.boxes.size(), 1);
}

TEST_F(SettingsStoreTest, AFolderThatCannotBeMadeIsReportedOnceWithTheReason)
{
    ScriptedPrompter prompter;
    // The settings folder's place is taken by a file: no folder can be made there, even as root.
    QDir().mkpath(QFileInfo(QFileInfo(m_file).absolutePath()).absolutePath());
    PutFile(QFileInfo(m_file).absolutePath(), "a file, not a folder");
    for (int i = 0; i < 3; ++i) {
        TRegistryKey key;
        key.WriteInteger(QStringLiteral("Top"), i);
        EXPECT_FALSE(key.Flush());
    }
    {
        TRegistryKey key; // written through the key's end alone
        key.WriteInteger(QStringLiteral("Left"), 1);
    }
    ASSERT_EQ(prompter.boxes.size(), 1);
    EXPECT_TRUE(prompter.boxes[0].text.contains(QDir::toNativeSeparators(m_file)));
    EXPECT_TRUE(prompter.boxes[0].text.contains(QLatin1String("Not a directory")))
        << prompter.boxes[0].text.toStdString();
    // Reading never reports.
    EXPECT_EQ(TRegistryKey().ReadInteger(QStringLiteral("Top"), -1), -1);
    EXPECT_EQ(prompter.boxes.size(), 1);
}

} // namespace
