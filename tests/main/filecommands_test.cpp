// File commands: the unsaved-changes question, Save/Save As/Save As Once naming, failed opens
// and a save-close-reopen round trip.
#include "mainwindowtest.h"

#include "checkpts.h"
#include "cluesedit.h"
#include "cp1252.h"
#include "fileio.h"
#include "filetypes.h"
#include "globals.h"
#include "hintfm.h"
#include "mainfm.h"
#include "prompter.h"
#include "recentfiles.h"
#include "uidialogs.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QTcpServer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kRich = QStringLiteral(TRV_TEST_DATA "/clues/rich.trv");
const QString kQuestion = QStringLiteral("The current puzzle is unsaved.  Do you want to save it?");

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class FileCommandsTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(m_docs.isValid());
        m_first = m_docs.filePath("first.trv");
        m_other = m_docs.filePath("other.trv");
        ASSERT_TRUE(QFile::copy(kRich, m_first));
        ASSERT_TRUE(QFile::copy(kRich, m_other));
    }
    void TearDown() override
    {
        MainFormClosing = false;
        MainWindowTest::TearDown();
    }

    /** A window with other.trv then first.trv opened (first.trv is recent file 1, other.trv 2). */
    TMainFm *openedWindow()
    {
        TMainFm *window = makeReadyWindow();
        EXPECT_TRUE(window->OpenPuzzleFileOrUrl(m_other));
        EXPECT_TRUE(window->OpenPuzzleFileOrUrl(m_first));
        return window;
    }

    QTemporaryDir m_docs;
    QString m_first, m_other;
};

// ---- The save question --------------------------------------------------------------------------

enum class Command {
    New,
    Open,
    Recent,
    Exit
};
enum class Answer {
    Cancel,
    No,
    YesSaveCancelled,
    YesSaved
};

struct QuestionCase {
    const char *name;
    Command command;
    Answer answer;
    bool goesOn;
};

class SaveQuestionTest : public FileCommandsTest, public ::testing::WithParamInterface<QuestionCase>
{};

TEST_P(SaveQuestionTest, CommandGoesOnOnlyWhenNoOrSaved)
{
    const QuestionCase c = GetParam();
    TMainFm *window = openedWindow();
    window->TitleEd->setText(QStringLiteral("Edited title"));
    window->TitleEdChange();
    ASSERT_TRUE(window->IsModified());
    const QString caption = window->windowTitle();

    ScriptedPrompter prompter;
    ScriptedUiDialogs dialogs;
    const QString saved = m_docs.filePath("saved.trv");
    switch (c.answer) {
    case Answer::Cancel: prompter.answers << Prompter::Cancel; break;
    case Answer::No: prompter.answers << Prompter::No; break;
    case Answer::YesSaveCancelled: prompter.answers << Prompter::Yes; break;
    case Answer::YesSaved:
        prompter.answers << Prompter::Yes;
        dialogs.FileNames << saved;
        break;
    }
    if (c.answer != Answer::YesSaveCancelled)
        dialogs.FileNames << m_other; // the open dialog's choice

    switch (c.command) {
    case Command::New: window->mFileNew->trigger(); break;
    case Command::Open: window->mFileOpen->trigger(); break;
    case Command::Recent: window->mFileRecent[1]->trigger(); break;
    case Command::Exit: window->mFileExit->trigger(); break;
    }

    EXPECT_EQ(boxesWithText(prompter, kQuestion), 1);
    EXPECT_EQ(prompter.boxes.size(), 1);
    EXPECT_EQ(c.answer == Answer::YesSaved, QFile::exists(saved));
    const QString name = window->SavePuzzleDialog.FileName;
    if (!c.goesOn) {
        EXPECT_EQ(name, m_first);
        EXPECT_EQ(window->windowTitle(), caption);
        EXPECT_EQ(window->TitleEd->text(), "Edited title");
        EXPECT_TRUE(window->IsModified());
        EXPECT_FALSE(MainFormClosing);
        return;
    }
    switch (c.command) {
    case Command::New:
        EXPECT_TRUE(name.endsWith("/Untitled")) << name.toStdString();
        EXPECT_EQ(window->windowTitle(), "Tarvel  -  Untitled");
        EXPECT_TRUE(window->TitleEd->text().isEmpty());
        EXPECT_FALSE(window->DocumentLoaded);
        EXPECT_FALSE(window->IsModified());
        break;
    case Command::Open:
    case Command::Recent:
        EXPECT_EQ(name, m_other);
        EXPECT_EQ(window->RecentFiles()->Path(1), m_other);
        EXPECT_FALSE(window->IsModified());
        break;
    case Command::Exit: EXPECT_TRUE(MainFormClosing); break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, SaveQuestionTest,
    ::testing::Values(QuestionCase{"NewCancel", Command::New, Answer::Cancel, false},
                      QuestionCase{"NewNo", Command::New, Answer::No, true},
                      QuestionCase{"NewYesCancelled", Command::New, Answer::YesSaveCancelled, false},
                      QuestionCase{"NewYesSaved", Command::New, Answer::YesSaved, true},
                      QuestionCase{"OpenCancel", Command::Open, Answer::Cancel, false},
                      QuestionCase{"OpenNo", Command::Open, Answer::No, true},
                      QuestionCase{"OpenYesCancelled", Command::Open, Answer::YesSaveCancelled, false},
                      QuestionCase{"OpenYesSaved", Command::Open, Answer::YesSaved, true},
                      QuestionCase{"RecentCancel", Command::Recent, Answer::Cancel, false},
                      QuestionCase{"RecentNo", Command::Recent, Answer::No, true},
                      QuestionCase{"RecentYesCancelled", Command::Recent, Answer::YesSaveCancelled, false},
                      QuestionCase{"RecentYesSaved", Command::Recent, Answer::YesSaved, true},
                      QuestionCase{"ExitCancel", Command::Exit, Answer::Cancel, false},
                      QuestionCase{"ExitNo", Command::Exit, Answer::No, true},
                      QuestionCase{"ExitYesCancelled", Command::Exit, Answer::YesSaveCancelled, false},
                      QuestionCase{"ExitYesSaved", Command::Exit, Answer::YesSaved, true}),
    [](const ::testing::TestParamInfo<QuestionCase> &info) { return std::string(info.param.name); });

// ---- Naming -------------------------------------------------------------------------------------

TEST(SaveNameForFilterTest, PdfFilterGivesPdfNameOthersKeepTheName)
{
    const struct {
        const char *name;
        int filter;
        const char *expected;
    } cases[] = {
        {"/d/a.trv", 2, "/d/a.pdf"}, {"/d/a.TRV", 2, "/d/a.pdf"}, {"/d/a", 2, "/d/a.pdf"},
        {"/d/a.pdf", 2, "/d/a.pdf"}, {"/d/a.PDF", 2, "/d/a.PDF"}, {"/d/a.trv.x", 2, "/d/a.trv.x.pdf"},
        {"/d/a.trv", 1, "/d/a.trv"}, {"/d/a.trv", 3, "/d/a.trv"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TMainFm::SaveNameForFilter(QString::fromLatin1(c.name), c.filter),
                  QString::fromLatin1(c.expected))
            << c.name << " filter " << c.filter;
}

TEST_F(FileCommandsTest, SaveAsOnceKeepsNameCaptionAndRecentFiles)
{
    TMainFm *window = openedWindow();
    const QString caption = window->windowTitle();
    ScriptedPrompter prompter;
    ScriptedUiDialogs dialogs;
    dialogs.FileNames << m_docs.filePath("copy"); // no suffix: ".trv" is added
    window->mFileSaveAsOnce->trigger();
    EXPECT_EQ(dialogs.Asked, QStringList{"save: Save As Once"});
    EXPECT_EQ(fileBytes(m_docs.filePath("copy.trv")).isEmpty(), false);
    EXPECT_EQ(window->SavePuzzleDialog.FileName, m_first);
    EXPECT_EQ(window->windowTitle(), caption);
    EXPECT_EQ(window->RecentFiles()->Path(1), m_first);
    EXPECT_EQ(window->RecentFiles()->Path(2), m_other);
}

TEST_F(FileCommandsTest, SaveAsksForANameUnlessTheDocumentIsAPuzzleFile)
{
    // Untitled, web-address and older-format documents go through Save As; the proposal and the
    // file left alone show which.
    const QString old = m_docs.filePath("old.owt");
    writeFile(old, "CROSSWORD old bytes");
    const struct {
        QString name;
        QString proposedEnd;
    } cases[] = {
        {QStringLiteral("Untitled"), QStringLiteral("/Untitled")},
        {QStringLiteral("http://example.com/p/web.trv"), QStringLiteral("/web.trv")},
        {old, QStringLiteral("/old.trv")},
    };
    TMainFm *window = makeReadyWindow();
    for (const auto &c : cases) {
        ScriptedPrompter prompter;
        ScriptedUiDialogs dialogs;
        window->SavePuzzleDialog.FileName = c.name;
        window->mFileSave->trigger();
        EXPECT_EQ(dialogs.Asked, QStringList{"save: Save As"}) << c.name.toStdString();
        ASSERT_EQ(dialogs.Proposed.size(), 1);
        EXPECT_TRUE(dialogs.Proposed.first().endsWith(c.proposedEnd))
            << dialogs.Proposed.first().toStdString();
        EXPECT_EQ(window->SavePuzzleDialog.FileName, c.name); // cancelled: nothing renamed
    }
    EXPECT_EQ(fileBytes(old), "CROSSWORD old bytes");

    // A puzzle file is saved in place, without a dialog.
    ScriptedUiDialogs dialogs;
    const QString plain = m_docs.filePath("plain.trv");
    window->SavePuzzleDialog.FileName = plain;
    window->mFileSave->trigger();
    EXPECT_TRUE(dialogs.Asked.isEmpty());
    EXPECT_TRUE(QFile::exists(plain));
    EXPECT_EQ(window->RecentFiles()->Path(1), plain);
}

TEST_F(FileCommandsTest, SaveAsOverExistingFileAsksAndNoKeepsIt)
{
    TMainFm *window = openedWindow();
    const QString target = m_docs.filePath("taken.trv");
    writeFile(target, "keep me");
    ScriptedPrompter prompter;
    prompter.answers << Prompter::No;
    ScriptedUiDialogs dialogs;
    dialogs.FileNames << target;
    window->mFileSaveAs->trigger();
    EXPECT_EQ(prompter.boxes.size(), 1);
    EXPECT_EQ(fileBytes(target), "keep me");
    EXPECT_EQ(window->SavePuzzleDialog.FileName, m_first);
}

// ---- Failed opens -------------------------------------------------------------------------------

TEST_F(FileCommandsTest, FailedOpenLeavesTheDocumentAsItWas)
{
    const QString unknown = m_docs.filePath("unknown.trv");
    writeFile(unknown, "not a puzzle\n");
    enum class Way {
        Recent,
        OpenDialog,
        CommandLine
    };
    const struct {
        const char *what;
        Way way;
        QString expectedMessageStart;
    } cases[] = {
        {"deleted recent file", Way::Recent, m_other + " was not found."},
        {"unknown format", Way::OpenDialog, unknown + " has an unknown file format."},
        {"web address that cannot be fetched", Way::CommandLine,
         "The following error occurred while trying to fetch a puzzle from the Web:"},
    };
    // An address where nothing listens: the fetch is refused at once.
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const QString webAddress = QStringLiteral("http://127.0.0.1:%1/web.trv").arg(closed.serverPort());
    closed.close();
    for (const auto &c : cases) {
        TMainFm *window = openedWindow();
        TakeCheckPoint(TCheckPointKind::Layout, QStringLiteral("an edit"));
        const int undo = UndoCount();
        const QString caption = window->windowTitle();
        window->DocumentLoaded = false;
        if (c.way == Way::Recent)
            QFile::remove(m_other);
        ScriptedPrompter prompter;
        ScriptedUiDialogs dialogs;
        dialogs.FileNames << unknown;
        switch (c.way) {
        case Way::Recent: window->mFileRecent[1]->trigger(); break;
        case Way::OpenDialog: window->mFileOpen->trigger(); break;
        case Way::CommandLine: EXPECT_FALSE(window->OpenPuzzleFileOrUrl(webAddress)); break;
        }
        ASSERT_EQ(prompter.boxes.size(), 1) << c.what;
        EXPECT_TRUE(prompter.boxes.first().text.startsWith(c.expectedMessageStart)) << c.what;
        EXPECT_EQ(window->SavePuzzleDialog.FileName, m_first) << c.what;
        EXPECT_EQ(window->windowTitle(), caption) << c.what;
        EXPECT_EQ(window->RecentFiles()->Path(1), m_first) << c.what;
        EXPECT_EQ(window->RecentFiles()->Path(2), m_other) << c.what;
        EXPECT_EQ(UndoCount(), undo) << c.what;
        EXPECT_FALSE(window->DocumentLoaded) << c.what;
        EXPECT_FALSE(GridUpdating) << c.what;
        ASSERT_TRUE(QFile::exists(m_other) || QFile::copy(kRich, m_other));
    }
}

// ---- A file that cannot be read never replaces the open puzzle -----------------------------------

const QString kGarden = QStringLiteral(TRV_TEST_DATA "/main/garden.trv");

QStringList puzzleText()
{
    QStringList lines;
    WritePuzzleToStrings(lines);
    return lines;
}

TEST_F(FileCommandsTest, BrokenFileNeverReplacesTheOpenPuzzle)
{
    const QByteArray garden = fileBytes(kGarden);
    const struct {
        const char *name;
        const char *file;
        QByteArray bytes;    // the file is not written when empty and named "missing"
        const char *message; // %1: the file
    } cases[] = {
        {"cut before the grid", "cut.trv", garden.left(garden.indexOf("GRID:")),
         "File %1 contains no GRID section."},
        {"size not allowed", "wide.trv", QByteArray(garden).replace("\nColumns=5\r", "\nColumns=60\r"),
         "File %1 contains an invalid puzzle size."},
        {"unreadable size", "rows.trv", QByteArray(garden).replace("\nRows=5\r", "\nRows=five\r"),
         "File %1 contains an invalid puzzle size."},
        {"bad header", "header.trv", "Not a puzzle\r\n" + garden, "%1 has an unknown file format."},
        {"empty file", "empty.trv", QByteArray(), "%1 has an unknown file format."},
        {"older format, size not allowed", "big.owt", "CROSSWORD (big) (0*5)\nEND.\n",
         "TRV file error number 3 while reading from file."},
        {"older format, size unreadable", "nosize.owt", "CROSSWORD no size\nEND.\n",
         "TRV file error number 2 while reading from file."},
        {"missing file", "missing.trv", QByteArray(), "%1 was not found."},
    };
    const QString good = m_docs.filePath("garden.trv");
    ASSERT_TRUE(QFile::copy(kGarden, good));
    TMainFm *window = makeReadyWindow();
    ASSERT_TRUE(window->OpenPuzzleFileOrUrl(good));
    const QString caption = window->windowTitle();
    const QStringList before = puzzleText();
    const QString words = window->ClueEditor->GetAllText();
    ASSERT_TRUE(words.contains("WINGS"));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = m_docs.filePath(c.file);
        if (QLatin1String(c.file) != QLatin1String("missing.trv"))
            writeFile(path, c.bytes);
        ScriptedPrompter prompter;
        EXPECT_FALSE(window->OpenPuzzleFileOrUrl(path));
        ASSERT_EQ(prompter.boxes.size(), 1);
        EXPECT_EQ(prompter.lastText(), QString::fromLatin1(c.message).arg(path));
        EXPECT_EQ(window->SavePuzzleDialog.FileName, good);
        EXPECT_EQ(window->windowTitle(), caption);
        EXPECT_EQ(window->RecentFiles()->Path(1), good);
        EXPECT_FALSE(window->IsModified());
        EXPECT_TRUE(window->DocumentLoaded);
        EXPECT_FALSE(GridUpdating);
        EXPECT_EQ(window->ClueEditor->GetAllText(), words);
        EXPECT_EQ(puzzleText(), before);
    }
    // Save writes the open puzzle over its own file, as it was.
    ScriptedPrompter prompter;
    ScriptedUiDialogs dialogs;
    window->mFileSave->trigger();
    EXPECT_TRUE(dialogs.Asked.isEmpty());
    EXPECT_TRUE(prompter.boxes.isEmpty()) << prompter.lastText().toStdString();
    QStringList saved;
    ASSERT_TRUE(Cp1252::readTextLines(good, &saved));
    EXPECT_EQ(saved, before);
}

// ---- The puzzle-type switch ---------------------------------------------------------------------

TEST_F(FileCommandsTest, TypeSwitchLeavesAnUntitledPuzzleThatSaveAsksToName)
{
    const QString good = m_docs.filePath("garden.trv");
    ASSERT_TRUE(QFile::copy(kGarden, good));
    const QByteArray original = fileBytes(good);
    TMainFm *window = makeReadyWindow();
    ASSERT_TRUE(window->OpenPuzzleFileOrUrl(good));
    ASSERT_FALSE(FreeformMode);
    window->TitleEd->setText(QStringLiteral("Edited title"));
    window->TitleEdChange();

    ScriptedPrompter prompter;
    prompter.answers << Prompter::No;
    ScriptedUiDialogs dialogs;
    window->mGridFreeform->trigger();
    ASSERT_TRUE(FreeformMode);
    EXPECT_EQ(boxesWithText(prompter, kQuestion), 1);
    EXPECT_TRUE(window->SavePuzzleDialog.FileName.endsWith("/Untitled"))
        << window->SavePuzzleDialog.FileName.toStdString();
    EXPECT_EQ(window->windowTitle(), "Tarvel  -  Untitled");
    EXPECT_FALSE(window->DocumentLoaded);

    // A cancelled name writes nothing; a name given gets the new puzzle.
    window->mFileSave->trigger();
    EXPECT_EQ(dialogs.Asked, QStringList{"save: Save As"});
    const QString fresh = m_docs.filePath("fresh.trv");
    dialogs.FileNames << fresh;
    window->mFileSave->trigger();
    EXPECT_EQ(dialogs.Asked, (QStringList{"save: Save As", "save: Save As"}));
    EXPECT_EQ(fileBytes(good), original);
    EXPECT_TRUE(fileBytes(fresh).contains("TightlyCrossed=F\r\n"));
    EXPECT_EQ(window->SavePuzzleDialog.FileName, fresh);
}

// ---- The example word list ----------------------------------------------------------------------

TEST_F(FileCommandsTest, SaveAndCloseWhileTheExampleShowsSaveTheUsersWords)
{
    enum class Command {
        Save,
        SaveAs,
        SaveAsOnce,
        Close,
        New
    };
    const struct {
        const char *name;
        Command command;
    } cases[] = {
        {"Save", Command::Save},   {"Save As", Command::SaveAs}, {"Save As Once", Command::SaveAsOnce},
        {"Close", Command::Close}, {"New", Command::New},
    };
    const QString mine = QStringLiteral("HERON\tA wading bird");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TMainFm *window = makeReadyWindow();
        const QString named = m_docs.filePath("named.trv");
        const QString chosen = m_docs.filePath("chosen.trv");
        QFile::remove(named);
        QFile::remove(chosen);
        window->SavePuzzleDialog.FileName = named;
        window->ClueEditor->SetAllText(mine);
        window->ExampleLnkClick();
        ASSERT_NE(window->ClueEditor->GetAllText(), mine);

        ScriptedPrompter prompter;
        ScriptedUiDialogs dialogs;
        dialogs.FileNames << chosen;
        switch (c.command) {
        case Command::Save: window->mFileSave->trigger(); break;
        case Command::SaveAs: window->mFileSaveAs->trigger(); break;
        case Command::SaveAsOnce: window->mFileSaveAsOnce->trigger(); break;
        case Command::Close:
        case Command::New:
            prompter.answers << Prompter::Yes;
            (c.command == Command::Close ? window->mFileClose : window->mFileNew)->trigger();
            EXPECT_EQ(boxesWithText(prompter, kQuestion), 1);
            break;
        }
        const QByteArray bytes = fileBytes(c.command == Command::Save ? named : chosen);
        EXPECT_TRUE(bytes.contains("\t0\t--\tHERON\t|A wading bird\r\n")) << bytes.toStdString();
        EXPECT_FALSE(bytes.contains("NewJersey"));
        EXPECT_FALSE(window->HintFm->isVisible());
        if (c.command == Command::Save || c.command == Command::SaveAs) {
            EXPECT_FALSE(window->IsModified());
        }
        if (c.command != Command::Close && c.command != Command::New) {
            EXPECT_EQ(window->ClueEditor->GetAllText(), mine);
        }
    }
}

// ---- Round trip ---------------------------------------------------------------------------------

// From a rich file and from the start-up document: Save As a.trv, an edit, Save, Close, reopen
// from recent file 1, Save As b.trv.
class SaveCloseReopenTest : public FileCommandsTest, public ::testing::WithParamInterface<const char *>
{};

TEST_P(SaveCloseReopenTest, SavesTheSameBytes)
{
    TMainFm *window = makeReadyWindow();
    const QString pencilFont = PencilFont; // an installed font, also after reading a file
    if (QString::fromLatin1(GetParam()) == QLatin1String("rich")) {
        ASSERT_TRUE(window->OpenPuzzleFileOrUrl(kRich));
    }
    const QString a = m_docs.filePath("a.trv");
    const QString b = m_docs.filePath("b.trv");
    ScriptedPrompter prompter;
    ScriptedUiDialogs dialogs;
    dialogs.FileNames << a << b;
    window->mFileSaveAs->trigger();
    EXPECT_EQ(window->windowTitle(), "Tarvel  -  a.trv");
    EXPECT_EQ(window->RecentFiles()->Path(1), a);
    window->mBuildDifferent->trigger();
    window->mFileSave->trigger();
    window->mFileClose->trigger();
    EXPECT_EQ(window->windowTitle(), "Tarvel  -  Untitled");
    window->mFileRecent[0]->trigger();
    EXPECT_EQ(window->SavePuzzleDialog.FileName, a);
    EXPECT_EQ(PencilFont, pencilFont);
    window->mFileSaveAs->trigger();
    EXPECT_TRUE(prompter.boxes.isEmpty()) << prompter.lastText().toStdString();
    const QByteArray bytesA = fileBytes(a);
    ASSERT_FALSE(bytesA.isEmpty());
    EXPECT_EQ(bytesA, fileBytes(b));
}

INSTANTIATE_TEST_SUITE_P(Documents, SaveCloseReopenTest, ::testing::Values("rich", "startup"));

} // namespace

namespace {

// The start-up asks for the ".trv" association; closing the window writes it, naming this
// program with the file as its one argument, the way the command line opens a puzzle.
TEST_F(FileCommandsTest, ClosingRegistersTheFileTypeForThisProgram)
{
    TMainFm *window = makeReadyWindow();
    QFile::remove(TrvDesktopEntryPath());
    RegisterFileTypeOnClose = true;
    ASSERT_TRUE(window->close());
    const QByteArray entry = fileBytes(TrvDesktopEntryPath());
    const QByteArray exec =
        "Exec=" + DesktopExecArgument(QCoreApplication::applicationFilePath()).toUtf8() + " %f\n";
    EXPECT_TRUE(entry.contains(exec)) << entry.toStdString();
    EXPECT_FALSE(RegisterFileTypeOnClose);
}

} // namespace
