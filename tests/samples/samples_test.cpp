// The samples the build puts in the program folder: every word list imports as the "sample word
// lists" link finds it, and every puzzle opens without a message and saves back byte for byte.
#include "alphabet.h"
#include "cluespg.h"
#include "fileio.h"
#include "globals.h"
#include "lines.h"
#include "prompter.h"
#include "puzzlefiles.h"
#include "trv600.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <memory>

namespace {

const QString kProgramFolder = QStringLiteral(TRV_BIN_DIR);

/** The samples' names from the build's manifest; empty when the build makes no data. */
QStringList Manifest()
{
    QFile file(QStringLiteral(TRV_SAMPLES_MANIFEST));
    QStringList names;
    if (QStringLiteral(TRV_SAMPLES_MANIFEST).isEmpty() || !file.open(QIODevice::ReadOnly))
        return names;
    for (const QByteArray &line : file.readAll().split('\n'))
        if (!line.trimmed().isEmpty())
            names << QString::fromLatin1(line.trimmed());
    return names;
}

/** The files of the program folder that match the filter of the "sample word lists" dialog. */
QStringList ListsFor(const QStringList &patterns)
{
    return QDir(kProgramFolder).entryList(patterns, QDir::Files, QDir::Name);
}

class SamplesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        names = Manifest();
        if (names.isEmpty())
            GTEST_SKIP() << "the build made no samples";
        prompter = std::make_unique<ScriptedPrompter>();
    }
    void TearDown() override
    {
        prompter.reset();
        WordList = nullptr;
        MainFormReady = false;
    }

    /** A fresh document of the other kind than the file, as the program has one at start-up. */
    void ResetDocument(bool freeform)
    {
        InitGlobals();
        SetAlphabet(DefaultAlphabet);
        DocControls = TDocumentControls{};
        FreeformMode = freeform;
        FreeClueGrids();
        CreateClueGrids();
        words.Clear();
        WordList = &words;
        SetDefaultLayout();
        TRVCreateRenumGrid(15, 15);
    }

    QStringList names;
    std::unique_ptr<ScriptedPrompter> prompter;
    TPlainWordList words;
};

TEST_F(SamplesTest, WordListsOfBothKindsLieWhereTheLinkLooksAndImport)
{
    const QStringList freeform = ListsFor({QStringLiteral("*.ff.thm"), QStringLiteral("Freeform*.thm")});
    const QStringList symmetrical =
        ListsFor({QStringLiteral("*.sym.thm"), QStringLiteral("Symmetrical*.thm")});
    EXPECT_GE(freeform.size(), 8);
    EXPECT_GE(symmetrical.size(), 8);
    for (const QString &name : freeform + symmetrical) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_TRUE(names.contains(name));
        TEntries list;
        ASSERT_TRUE(list.LoadFromFile(QDir(kProgramFolder).filePath(name)));
        // The entries and the trailing empty one.
        ASSERT_GE(list.EntryCount(), 13);
        QStringList answers;
        for (int e = 0; e + 1 < list.EntryCount(); ++e) {
            const QString word = list.GetWord(e), clue = list.GetClue(e);
            EXPECT_FALSE(word.isEmpty()) << e;
            EXPECT_GE(clue.size(), 3) << word.toStdString();
            // A clue that names its answer gives the puzzle away.
            EXPECT_FALSE(clue.contains(QRegularExpression(QStringLiteral("\\b%1\\b").arg(word),
                                                          QRegularExpression::CaseInsensitiveOption)))
                << word.toStdString();
            EXPECT_FALSE(answers.contains(word.toUpper())) << word.toStdString();
            answers << word.toUpper();
            for (QChar c : word)
                EXPECT_TRUE(c.isLetter() && c.unicode() < 128) << word.toStdString();
            if (name.endsWith(QLatin1String(".sym.thm"))) {
                EXPECT_LE(word.size(), 7) << word.toStdString(); // the stock patterns' longest slots
            }
        }
    }
    EXPECT_TRUE(prompter->boxes.isEmpty()) << prompter->lastText().toStdString();
}

TEST_F(SamplesTest, PuzzlesOpenWithoutAMessageAndSaveBackTheSameBytes)
{
    QStringList puzzles;
    for (const QString &name : names)
        if (name.endsWith(QLatin1String(".trv")))
            puzzles << name;
    EXPECT_GE(puzzles.size(), 6);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    int freeformCount = 0, symmetricalCount = 0;
    for (const QString &name : puzzles) {
        SCOPED_TRACE(name.toStdString());
        const QString path = QDir(kProgramFolder).filePath(name);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const bool freeform = bytes.contains("\r\nTightlyCrossed=F\r\n");
        ResetDocument(!freeform);
        MainFormReady = true;
        ASSERT_TRUE(OpenPuzzleFile(path));
        MainFormReady = false;
        EXPECT_TRUE(prompter->boxes.isEmpty()) << prompter->lastText().toStdString();
        EXPECT_EQ(FreeformMode, freeform);
        (freeform ? freeformCount : symmetricalCount)++;

        EXPECT_GE(Columns, 13);
        EXPECT_LE(Columns, 21);
        EXPECT_GE(Rows, 13);
        EXPECT_LE(Rows, 21);
        EXPECT_FALSE(DocControls.PuzzleTitle.trimmed().isEmpty());
        EXPECT_TRUE(DocControls.AutoLayout);
        EXPECT_GE(words.EntryCount(), 13);
        int clues = 0;
        for (TClueGrid *grid : {CluesAcrossSG, CluesDownSG})
            for (int r = 1; r < grid->RowCount(); ++r, ++clues)
                EXPECT_FALSE(grid->Cell(1, r).trimmed().isEmpty()) << grid->Cell(0, r).toStdString();
        EXPECT_GE(clues, 8);

        const QString again = dir.filePath(name);
        ASSERT_TRUE(SavePuzzleFile(again));
        QFile saved(again);
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
        EXPECT_TRUE(saved.readAll() == bytes);
        prompter->boxes.clear();
    }
    EXPECT_GE(freeformCount, 3);
    EXPECT_GE(symmetricalCount, 3);
}

} // namespace
