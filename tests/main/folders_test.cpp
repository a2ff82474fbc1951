// Where the file dialogs start and the names they propose: the puzzle's folder, else the last
// folder of that kind of file, else the documents folder (the home folder when that is missing).
#include "mainwindowtest.h"

#include "exportgraphicfm.h"
#include "exporttextfm.h"
#include "filefolders.h"
#include "testsupport.h"
#include "uidialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

const QString kGarden = QStringLiteral(TRV_TEST_DATA "/main/garden.trv");

const TFileKind kAllKinds[] = {TFileKind::Puzzle,  TFileKind::WordList, TFileKind::Pdf,
                               TFileKind::Graphic, TFileKind::Text,     TFileKind::WebPage};

class FoldersTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(m_puzzles.isValid() && m_last.isValid());
        m_documents = QDir(TestHome()).filePath(QStringLiteral("Documents"));
        m_hadDocuments = QFileInfo(m_documents).isDir();
        m_gone = m_puzzles.filePath(QStringLiteral("gone"));
    }
    void TearDown() override
    {
        if (m_hadDocuments)
            QDir().mkpath(m_documents);
        else
            QDir(m_documents).removeRecursively();
        MainWindowTest::TearDown();
    }
    void setDocumentsFolder(bool exists)
    {
        if (exists)
            ASSERT_TRUE(QDir().mkpath(m_documents));
        else
            ASSERT_TRUE(QDir(m_documents).removeRecursively());
    }
    static void setLastFolder(TFileKind kind, const QString &folder)
    {
        QSettings key = programKey();
        key.setValue(QStringLiteral("Folders/") + LastFolderValueName(kind), folder);
        key.sync();
    }

    QTemporaryDir m_puzzles, m_last;
    QString m_documents, m_gone;
    bool m_hadDocuments = false;
};

TEST_F(FoldersTest, StartFolderByPuzzleLastFolderAndDocumentsForEveryKind)
{
    const QString home = QDir::cleanPath(TestHome());
    const QString program = QDir::cleanPath(m_program.path());
    enum Expect {
        Documents,
        Home,
        PuzzleDir,
        LastDir
    };
    struct Case {
        const char *name;
        bool documentsExist;
        QString document;
        QString last; // the kind's remembered folder, empty for none
        Expect expected;
    };
    const Case cases[] = {
        {"no puzzle, nothing remembered", true, "Untitled", {}, Documents},
        {"no puzzle, the documents folder missing", false, "Untitled", {}, Home},
        {"a new puzzle in the documents folder", true, m_documents + "/Untitled", {}, Documents},
        {"no puzzle, a folder remembered", true, "Untitled", m_last.path(), LastDir},
        {"a remembered folder that is gone", false, "Untitled", m_gone, Home},
        {"the program folder remembered", true, "Untitled", program, Documents},
        {"a puzzle", true, m_puzzles.filePath("p.trv"), m_last.path(), PuzzleDir},
        {"a puzzle, the documents folder missing", false, m_puzzles.filePath("p.trv"), {}, PuzzleDir},
        {"a puzzle whose folder is gone", true, m_gone + "/p.trv", m_last.path(), LastDir},
        {"a sample in the program folder", true, program + "/Sample.trv", {}, Documents},
        {"a puzzle from the web", true, "http://example.com/p/web.trv", m_last.path(), LastDir},
    };
    for (const Case &c : cases) {
        setDocumentsFolder(c.documentsExist);
        const QString documents = c.documentsExist ? m_documents : home;
        EXPECT_EQ(GetDocumentsFolder(), documents) << c.name;
        for (TFileKind kind : kAllKinds) {
            SCOPED_TRACE(std::string(c.name) + ", " + LastFolderValueName(kind).toStdString());
            clearSettings();
            if (!c.last.isEmpty())
                setLastFolder(kind, c.last);
            const QString expected = c.expected == PuzzleDir ? m_puzzles.path()
                                     : c.expected == LastDir ? m_last.path()
                                                             : documents;
            EXPECT_EQ(StartFolder(kind, c.document), expected);
            // The other kinds keep folders of their own.
            for (TFileKind other : kAllKinds) {
                if (other != kind && c.expected == LastDir) {
                    EXPECT_EQ(StartFolder(other, c.document), documents)
                        << LastFolderValueName(other).toStdString();
                }
            }
        }
    }
}

TEST_F(FoldersTest, ChosenFoldersAreRememberedButNeverTheProgramFolder)
{
    for (TFileKind kind : kAllKinds) {
        SCOPED_TRACE(LastFolderValueName(kind).toStdString());
        clearSettings();
        RememberFolder(kind, m_last.filePath("x.any"));
        EXPECT_EQ(StartFolder(kind, "Untitled"), m_last.path());
        RememberFolder(kind, programFile("Sample.trv"));
        EXPECT_EQ(programKey().value("Folders/" + LastFolderValueName(kind)).toString(), m_last.path());
        RememberFolder(kind, "http://example.com/x.trv");
        EXPECT_EQ(StartFolder(kind, "Untitled"), m_last.path());
    }
}

TEST(PuzzleNameTest, FilesMadeFromThePuzzleTakeItsNameElseItsTitle)
{
    const struct {
        QString document, title, expected;
    } cases[] = {
        {"Untitled", "", "Untitled"},
        {"/home/u/Documents/Untitled", "Birds of Prey", "Birds of Prey"},
        {"/home/u/birds.trv", "Birds of Prey", "birds"},
        {"/home/u/old.crossword.owt", "", "old.crossword"},
        {"http://example.com/p/web.trv?x=1", "", "web"},
        {"Untitled", "ab", "Untitled"},
        {"Untitled", "  Sun/Moon  ", "Sun_Moon"},
        {"Untitled", "...", "Untitled"},
        {"", "", "Untitled"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(PuzzleBaseName(c.document, c.title), c.expected)
            << c.document.toStdString() << " | " << c.title.toStdString();
}

// Every save dialog that makes a file from the puzzle proposes the puzzle's name with the file's
// extension in the puzzle's folder; without a puzzle, "Untitled" in the documents folder, which
// is the home folder when the documents folder is missing (never "Documents" as a file name).
TEST_F(FoldersTest, ExportsProposeThePuzzleNameWithTheirExtension)
{
    const QString puzzle = m_puzzles.filePath("garden.trv");
    ASSERT_TRUE(QFile::copy(kGarden, puzzle));
    const struct {
        const char *name;
        bool opened;
        bool documentsExist;
        QString folder;
        QString base;
    } cases[] = {
        {"a puzzle", true, true, m_puzzles.path(), "garden"},
        {"no puzzle", false, true, m_documents, "Untitled"},
        {"no puzzle, no documents folder", false, false, QDir::cleanPath(TestHome()), "Untitled"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        setDocumentsFolder(c.documentsExist);
        clearSettings();
        TMainFm *window = makeReadyWindow(c.opened ? puzzle : QString());
        ScriptedPrompter prompter;
        ScriptedUiDialogs dialogs;
        dialogs.ModalResults << QDialog::Accepted; // the PDF's page choice
        window->mFileCreatePDF->trigger();
        window->mExportTextClick();
        ASSERT_NE(ExportTextFm, nullptr);
        ExportTextFm->ExportSaveBtn->click();
        window->mExportMetafileClick();
        ASSERT_NE(ExportGraphicFm, nullptr);
        ExportGraphicFm->IncludeGridCB->setChecked(true);
        ExportGraphicFm->ExportSaveBtn->click();
        window->ThemeExportLnkClick();
        window->mFileSaveAsClick();
        const QDir folder(c.folder);
        EXPECT_EQ(dialogs.Asked,
                  QStringList({"modal: TPdfPageChoiceFm", "save: Export puzzle as PDF document",
                               "save: Export As Text", "save: Export As Graphic",
                               "save: Export:  Save Your Words and Clues Separately", "save: Save As"}));
        EXPECT_EQ(dialogs.Proposed,
                  QStringList({folder.filePath(c.base + ".pdf"), folder.filePath(c.base + ".txt"),
                               folder.filePath(c.base + ".emf"), folder.filePath(c.base + ".thm"),
                               c.opened ? puzzle : folder.filePath("Untitled")}));
        ExportTextFm->close();
        ExportGraphicFm->close();
    }
}

// The open dialog starts in the folder last used for puzzles; the sample command in the program
// folder, which it does not remember; a sample's Save As goes to the user's folder.
TEST_F(FoldersTest, OpenStartsInTheLastPuzzleFolderAndSamplesInTheProgramFolder)
{
    setDocumentsFolder(true);
    const QString chosen = m_last.filePath("garden.trv");
    const QString sample = programFile("Sample.trv");
    ASSERT_TRUE(QFile::copy(kGarden, chosen));
    ASSERT_TRUE(QFile::copy(kGarden, sample));
    TMainFm *window = makeReadyWindow();
    ScriptedPrompter prompter;
    ScriptedUiDialogs dialogs;
    dialogs.FileNames << chosen;
    window->mFileOpen->trigger();
    window->mFileNew->trigger(); // the last folder outlives the puzzle
    window->mFileOpen->trigger();
    dialogs.FileNames << sample;
    window->mFileOpenSamples->trigger();
    ASSERT_EQ(window->SavePuzzleDialog.FileName, sample);
    window->mFileOpen->trigger();
    window->mFileSave->trigger(); // a sample is saved as the user's own
    EXPECT_EQ(dialogs.Asked, QStringList({"open: Open", "open: Open", "open: Open Sample Puzzles",
                                          "open: Open", "save: Save As"}));
    EXPECT_EQ(dialogs.Proposed, QStringList({m_documents, m_last.path(), window->ProgramFolder(),
                                             m_last.path(), m_last.filePath("Sample.trv")}));
}

} // namespace
