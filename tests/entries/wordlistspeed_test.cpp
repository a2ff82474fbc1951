// Long word lists: exporting and filling the editor take time in proportion to the list. The
// bounds are generous (a quadratic pass takes tens of seconds here), for loaded machines and
// sanitizer builds.
#include "cluesedit.h"
#include "lines.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

namespace {

QStringList numberedLines(int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << QStringLiteral("WORD%1|Clue number %1").arg(i);
    return lines;
}

} // namespace

TEST(WordListSpeed, HundredThousandLinesExportInLinearTime)
{
    const QStringList file = numberedLines(100000);
    TEntries entries;
    entries.LoadLines(file);
    QElapsedTimer t;
    t.start();
    const QStringList saved = entries.ListFileLines();
    const qint64 ms = t.elapsed();
    ASSERT_GE(saved.size(), file.size());
    EXPECT_EQ(saved.front(), QStringLiteral("WORD0\tClue number 0"));
    EXPECT_EQ(saved[99999], QStringLiteral("WORD99999\tClue number 99999"));
    EXPECT_LT(ms, 5000);
}

TEST(WordListSpeed, TenThousandEntriesAddedToTheEditorInLinearTime)
{
    TCluesEdit editor;
    editor.resize(300, 400);
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < 10000; ++i)
        editor.AddEntry(QStringLiteral("WORD%1\tclue %1").arg(i));
    const qint64 ms = t.elapsed();
    EXPECT_EQ(editor.EntryCount(), 10001);
    EXPECT_EQ(editor.GetWord(9999), QStringLiteral("WORD9999"));
    EXPECT_LT(ms, 5000);
}
