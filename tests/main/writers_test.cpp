// The main window's writers when the disk fills: Save, the PDF export, the graphic and text
// exports and the rejected words each keep the old file and tell the user which file failed and
// why; a failed Save leaves the document unsaved. And a PDF whose clues run past the last page
// is written only when the user agrees.
#include "mainwindowtest.h"

#include "cutwrites.h"
#include "exportgraphicfm.h"
#include "exporttextfm.h"
#include "pdfpagechoicefm.h"
#include "uidialogs.h"
#include "wysiwyg.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

const QString kFilled = QStringLiteral(TRV_TEST_DATA) + "/main/filled15.trv";
const QString kSaveFailure = QStringLiteral(
    "An error occurred while trying to save your puzzle file. Please try again, perhaps saving it to a "
    "different drive Letter (e.g., C:) or to a floppy diskette.");

class WindowWritersTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(m_out.isValid());
    }
    void TearDown() override
    {
        MainFormReady = false;
        MainWindowTest::TearDown();
    }
    /** A window with a copy of the filled puzzle opened from the output folder. */
    TMainFm *openCopy()
    {
        const QString copy = m_out.filePath(QStringLiteral("puzzle.trv"));
        QFile::remove(copy);
        EXPECT_TRUE(QFile::copy(kFilled, copy));
        return makeReadyWindow(copy);
    }
    QTemporaryDir m_out;
};

TEST_F(WindowWritersTest, AFailedSaveSaysTheFileAndWhyAndTheDocumentStaysUnsaved)
{
    TMainFm *window = openCopy();
    const QString file = window->SavePuzzleDialog.FileName;
    const QString caption = window->windowTitle();
    ScriptedPrompter prompter;
    ScriptedUiDialogs dialogs;
    ExpectCutWritesKeepTheOldFile(file, [&](QString *reason) {
        prompter.boxes.clear();
        window->SetModified();
        window->mFileSave->trigger();
        const bool saved = !window->IsModified();
        if (!saved) {
            EXPECT_EQ(prompter.boxes.size(), 1);
            EXPECT_EQ(prompter.boxes.value(0).kind, Prompter::Warning);
            *reason = prompter.lastText();
            EXPECT_TRUE(reason->startsWith(kSaveFailure + "\n\n" + QDir::toNativeSeparators(file) + ": "))
                << reason->toStdString();
        }
        return saved;
    });
    EXPECT_TRUE(dialogs.Asked.isEmpty());
    EXPECT_EQ(window->SavePuzzleDialog.FileName, file);
    EXPECT_EQ(window->windowTitle(), caption);

    // A save asked for by New that fails: New does not go on and the puzzle is kept.
    const QString other = m_out.filePath(QStringLiteral("other.trv"));
    window->SetModified();
    prompter.boxes.clear();
    prompter.answers = {Prompter::Yes};
    dialogs.FileNames << other;
    {
        TFileSizeLimit limit(100);
        window->mFileNew->trigger();
    }
    EXPECT_TRUE(window->IsModified());
    EXPECT_FALSE(QFile::exists(other));
    EXPECT_EQ(window->SavePuzzleDialog.FileName, file);
    EXPECT_TRUE(prompter.lastText().startsWith(kSaveFailure));
}

TEST_F(WindowWritersTest, AFailedPdfExportSaysTheFileAndWhy)
{
    TMainFm *window = openCopy();
    DocControls.AutoLayout = false;
    ScriptedPrompter prompter;
    ScriptedUiDialogs dialogs;
    const QString pdf = m_out.filePath(QStringLiteral("puzzle.pdf"));
    ExpectCutWritesKeepTheOldFile(pdf, [&](QString *reason) {
        prompter.boxes.clear();
        dialogs.ModalResults = {int(QDialog::Accepted)};
        const bool ok = window->ExportPdf(pdf);
        *reason = prompter.lastText();
        if (!ok) {
            EXPECT_TRUE(reason->startsWith("Can not create the file " + pdf + ". It might be in use.\n\n"));
        }
        return ok;
    });
}

TEST_F(WindowWritersTest, TheGraphicAndTextExportsAndTheRejectedWordsSayTheFileAndWhy)
{
    TMainFm *window = openCopy();
    ScriptedPrompter prompter; // answers Yes to every replace question
    ScriptedUiDialogs dialogs;

    window->mExportMetafileClick();
    TExportGraphicFm *graphic = ExportGraphicFm;
    ASSERT_NE(graphic, nullptr);
    graphic->IncludeGridCB->setChecked(true);
    const QString emf = m_out.filePath(QStringLiteral("grid.emf"));
    ExpectCutWritesKeepTheOldFile(emf, [&](QString *reason) {
        prompter.boxes.clear();
        dialogs.FileNames = {emf};
        graphic->ExportSaveBtn->click();
        *reason = prompter.lastText();
        if (!reason->contains("could not be saved"))
            return true;
        EXPECT_TRUE(reason->startsWith("The graphic could not be saved to " + QDir::toNativeSeparators(emf)));
        return false;
    });
    graphic->close();

    TExportTextFm *text = window->EnsureExportTextFm();
    text->RefreshPreview();
    const QString txt = m_out.filePath(QStringLiteral("clues.txt"));
    ExpectCutWritesKeepTheOldFile(txt, [&](QString *reason) {
        prompter.boxes.clear();
        dialogs.FileNames = {txt};
        text->ExportSaveBtn->click();
        *reason = prompter.lastText();
        if (!reason->contains("could not be written"))
            return true;
        EXPECT_TRUE(
            reason->startsWith("The file " + QDir::toNativeSeparators(txt) + " could not be written."));
        return false;
    });

    const QString rejected = TMainFm::RejectedWordsFileName();
    QString words;
    for (int i = 0; i < 2000; ++i)
        words += QStringLiteral("WORD%1\n").arg(i);
    window->GlueRejectWordsMemo->setPlainText(words);
    ExpectCutWritesKeepTheOldFile(rejected, [&](QString *reason) {
        prompter.boxes.clear();
        window->GlueSaveRejectedWordListBtn->click();
        *reason = prompter.lastText();
        if (prompter.boxes.isEmpty())
            return true;
        EXPECT_TRUE(reason->startsWith("Cannot save " + QDir::toNativeSeparators(rejected) + ": "));
        return false;
    });
}

// ---- Clues past the last page --------------------------------------------------------------------

TEST_F(WindowWritersTest, APdfWithCluesPastTheLastPageIsWrittenOnlyWhenTheUserAgrees)
{
    TMainFm *window = openCopy();
    DocControls.AutoLayout = false;
    // Long clues for every answer: far more than nine pages hold.
    const QString longClue =
        QStringLiteral("A very long clue that goes on and on about its answer ").repeated(12);
    int clues = 0;
    for (TClueGrid *grid : {CluesAcrossSG, CluesDownSG})
        for (int r = 1; r < grid->RowCount(); ++r)
            if (!grid->Cell(0, r).isEmpty() && grid->Cell(0, r) != QLatin1String("WordBank")) {
                grid->SetCell(1, r, longClue);
                ++clues;
            }
    ASSERT_GT(clues, 50);
    WYSIWYGChange();
    ClueFlow_InvalidateAll();
    ClueFlow_EnsureCurrent();
    ASSERT_GT(OverflowLineCount, 0);

    ScriptedPrompter prompter;
    ScriptedUiDialogs dialogs;
    const QString pdf = m_out.filePath(QStringLiteral("long.pdf"));
    const QString tooMany =
        QStringLiteral("Your clues take up too many pages. Try to pack more clues into fewer pages.");
    struct Case {
        const char *name;
        bool viaSaveAs;
        Prompter::Button answer;
        bool written;
    } cases[] = {
        {"the export command, stopped", false, Prompter::No, false},
        {"the export command, agreed", false, Prompter::Yes, true},
        {"Save As with the PDF filter, stopped", true, Prompter::No, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(pdf);
        prompter.boxes.clear();
        prompter.answers = {c.answer};
        dialogs.ModalResults = {int(QDialog::Accepted)};
        if (c.viaSaveAs) {
            dialogs.FileNames = {pdf};
            dialogs.Filters = {QStringLiteral("Portable Document Format (*.pdf)")};
            window->mFileSaveAs->trigger();
        } else {
            EXPECT_EQ(window->ExportPdf(pdf), c.written);
        }
        ASSERT_GE(prompter.boxes.size(), 1);
        EXPECT_TRUE(prompter.boxes[0].text.startsWith(tooMany)) << prompter.boxes[0].text.toStdString();
        EXPECT_TRUE(prompter.boxes[0].buttons & Prompter::No);
        EXPECT_EQ(QFile::exists(pdf), c.written);
        EXPECT_EQ(FolderEntries(m_out.path()),
                  c.written ? QStringList({"long.pdf", "puzzle.trv"}) : QStringList({"puzzle.trv"}));
    }
}

TEST_F(WindowWritersTest, APdfWhoseCluesFitIsNotQuestioned)
{
    TMainFm *window = openCopy();
    DocControls.AutoLayout = false;
    ScriptedPrompter prompter;
    ScriptedUiDialogs dialogs;
    dialogs.ModalResults = {int(QDialog::Accepted)};
    const QString pdf = m_out.filePath(QStringLiteral("fits.pdf"));
    EXPECT_TRUE(window->ExportPdf(pdf));
    EXPECT_TRUE(prompter.boxes.isEmpty());
    EXPECT_TRUE(QFile::exists(pdf));
}

} // namespace
