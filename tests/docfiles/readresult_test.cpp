// The document's readers hand their messages back in the result and show nothing themselves.
#include "fileio.h"
#include "globals.h"
#include "notices.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

namespace {

class ReadResultTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        // Any message that went past the result would reach the notice hooks.
        NoticeHooks().Show = [this](TNoticeHooks::Kind, const QString &text, int) { m_shown << text; };
        MainFormReady = true;
    }
    void TearDown() override
    {
        NoticeHooks().Show = nullptr;
        MainFormReady = false;
    }
    QString write(const char *name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(QString::fromLatin1(name));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            ADD_FAILURE() << "cannot write " << path.toStdString();
        return path;
    }

    QTemporaryDir m_dir;
    QStringList m_shown;
};

TEST_F(ReadResultTest, AFileThatCannotBeReadGivesItsMessageInTheResult)
{
    const QString missing = m_dir.filePath(QStringLiteral("none.trv"));
    const QString unknown = write("odd.trv", "SOMETHING ELSE\r\n");
    const QString h = QStringLiteral("TRVFileFormat=2.0");
    struct Case {
        const char *name;
        std::function<TFileResult()> read;
        TFileMessage::Kind kind;
        QString text;
    };
    const Case cases[] = {
        {"no grid",
         [&] {
             return LoadPuzzleFromStrings({h, "Columns=2", "Rows=1", "FileName=x.trv"});
         },
         TFileMessage::Error, QStringLiteral("File x.trv contains no GRID section.")},
        {"bad size",
         [&] {
             return LoadPuzzleFromStrings({h, "Columns=60", "Rows=2", "GRID:", "FileName=x.trv"});
         },
         TFileMessage::Error, QStringLiteral("File x.trv contains an invalid puzzle size.")},
        {"bytes of another format",
         [] { return LoadPuzzleFromBytes("<html>\r\n", QStringLiteral("http://x/p.trv")); },
         TFileMessage::Error, QStringLiteral("http://x/p.trv has an unknown file format.")},
        {"text file missing", [&] { return LoadTextPuzzleFile(missing); }, TFileMessage::Error,
         QStringLiteral("Error while reading file %1.  Please check puzzle and clues for completeness and "
                        "consistency.")
             .arg(missing)},
        {"file missing", [&] { return LoadPuzzleFile(missing); }, TFileMessage::Information,
         QStringLiteral("%1 was not found.").arg(missing)},
        {"file of another format", [&] { return LoadPuzzleFile(unknown); }, TFileMessage::Information,
         QStringLiteral("%1 has an unknown file format.").arg(unknown)},
    };
    for (const Case &c : cases) {
        const TFileResult result = c.read();
        EXPECT_FALSE(result) << c.name;
        ASSERT_EQ(result.Messages.size(), 1) << c.name;
        EXPECT_EQ(result.Messages.first().Type, c.kind) << c.name;
        EXPECT_EQ(result.ErrorText(), c.text) << c.name;
    }
    EXPECT_TRUE(m_shown.isEmpty()) << m_shown.join('\n').toStdString();
}

TEST_F(ReadResultTest, APuzzleRememberedForLaterIsNotReadAndSaysNothing)
{
    MainFormReady = false;
    const TFileResult result = LoadPuzzleFile(m_dir.filePath(QStringLiteral("later.trv")));
    EXPECT_FALSE(result);
    EXPECT_TRUE(result.Messages.isEmpty());
    EXPECT_EQ(PendingPuzzleFileName, m_dir.filePath(QStringLiteral("later.trv")));
    PendingPuzzleFileName.clear();
}

} // namespace
