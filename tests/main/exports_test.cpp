// The main window's exports: the PDF command and Save As PDF, the graphic form, and the Edit
// menu's copies to the clipboard.
#include "globals.h"
#include "layoutsettings.h"
#include "mainwindowtest.h"

#include "exportgraphicfm.h"
#include "pageparts.h"
#include "pdfpagechoicefm.h"
#include "uidialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

const QString kFilled = QStringLiteral(TRV_TEST_DATA) + "/main/filled15.trv";

class ExportsTest : public MainWindowTest
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
    QTemporaryDir m_out;
};

TEST_F(ExportsTest, ExportPdfIsTrueExactlyWhenTheFileWasWritten)
{
    TMainFm *window = makeReadyWindow(kFilled);
    ScriptedPrompter prompter;
    ScriptedUiDialogs dialogs;
    const QString given = m_out.filePath("given.pdf");
    const QString chosen = m_out.filePath("chosen");
    const QString missing = m_out.filePath("no folder/x.pdf");
    struct Case {
        const char *name;
        bool accepted; // the page choice
        QString argument;
        QString answer; // the save dialog's answer when asked
        bool result;
        QString written;
        bool message;
    };
    const Case cases[] = {
        {"the page choice cancelled", false, given, {}, false, {}, false},
        {"a given name", true, given, {}, true, given, false},
        {"a name from the dialog, the suffix added", true, {}, chosen, true, chosen + ".pdf", false},
        {"the dialog cancelled", true, {}, {}, false, {}, false},
        {"a missing folder", true, missing, {}, false, {}, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(given);
        prompter.boxes.clear();
        dialogs.ModalResults = {c.accepted ? int(QDialog::Accepted) : int(QDialog::Rejected)};
        dialogs.FileNames.clear();
        if (!c.answer.isEmpty())
            dialogs.FileNames << c.answer;
        EXPECT_EQ(window->ExportPdf(c.argument), c.result);
        if (!c.written.isEmpty()) {
            EXPECT_TRUE(QFile::exists(c.written));
        }
        EXPECT_EQ(prompter.boxes.size(), c.message ? 1 : 0);
        if (c.message) {
            EXPECT_TRUE(prompter.lastText().startsWith("Can not create the file " + missing +
                                                       ". It might be in use.\n\n"));
            EXPECT_TRUE(prompter.lastText().contains("No such file or directory"))
                << prompter.lastText().toStdString();
        }
    }
}

TEST_F(ExportsTest, SaveAsWithThePdfFilterWritesAPdfAndKeepsTheDocumentsName)
{
    TMainFm *window = makeReadyWindow(kFilled);
    ScriptedPrompter prompter;
    ScriptedUiDialogs dialogs;
    dialogs.FileNames << m_out.filePath("copy.trv");
    dialogs.Filters << QStringLiteral("Portable Document Format (*.pdf)");
    dialogs.ModalResults = {int(QDialog::Accepted)};
    window->mFileSaveAs->trigger();
    EXPECT_TRUE(QFile::exists(m_out.filePath("copy.pdf")));
    EXPECT_FALSE(QFile::exists(m_out.filePath("copy.trv")));
    EXPECT_EQ(window->SavePuzzleDialog.FileName, kFilled);
    EXPECT_EQ(window->windowTitle(), "Tarvel  -  filled15.trv");
}

TEST_F(ExportsTest, EditCopiesPutTheirPartsOnTheClipboard)
{
    TMainFm *window = makeReadyWindow(kFilled);
    QClipboard *clipboard = QGuiApplication::clipboard();
    const struct {
        const char *item;
        bool picture;
    } cases[] = {{"mEditCopyPuzzleGrid", true},
                 {"mEditCopyPuzzleAll", true},
                 {"mEditCopySolution", true},
                 {"mEditCopyClues", false},
                 {"mEditCopySolutionText", false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.item);
        clipboard->setText(QStringLiteral("before"));
        auto *action = window->findChild<QAction *>(QLatin1String(c.item));
        ASSERT_NE(action, nullptr);
        ASSERT_TRUE(action->isEnabled());
        action->trigger();
        const QMimeData *data = clipboard->mimeData();
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(data->hasFormat(QStringLiteral("image/emf")), c.picture);
        if (!c.picture) {
            EXPECT_NE(clipboard->text(), QStringLiteral("before"));
        }
    }
    EXPECT_TRUE(clipboard->text().startsWith(AcrDwnCapitals ? AcrossText.toUpper() : AcrossText) ||
                !SolutionHeaderText.isEmpty());
}

TEST_F(ExportsTest, GraphicFormFollowsThePageAndLeavesTheClipboardAloneWithNothingChosen)
{
    TMainFm *window = makeReadyWindow(kFilled);
    ScriptedPrompter prompter;
    ScriptedUiDialogs dialogs;
    window->mExportMetafileClick();
    TExportGraphicFm *form = ExportGraphicFm;
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(form->ExportPageCmBx->count(), PageCount);
    EXPECT_TRUE(form->ExportPageCmBx->itemText(PuzzlePage - 1).endsWith(" (Puzzle)"));
    EXPECT_TRUE(form->ExportPageCmBx->itemText(SolutionPage - 1).endsWith(" (Solution)"));

    // The boxes of each page, and the flags they give.
    form->ExportPageCmBx->setCurrentIndex(SolutionPage - 1);
    EXPECT_TRUE(form->IncludeGridCB->isEnabled());
    EXPECT_FALSE(form->IncludeCluesCB->isEnabled());
    form->IncludeGridCB->setChecked(true);
    form->IncludeTitleCB->setChecked(false);
    EXPECT_EQ(form->Flags(), int(PartSolution));
    form->ExportPageCmBx->setCurrentIndex(PuzzlePage - 1);
    EXPECT_EQ(form->Flags() & (PartGrid | PartClues), PartGrid | PartClues);

    // A repaint does not rebuild the list; its change signal is not sent again.
    int changes = 0;
    QObject::connect(form->ExportPageCmBx, &QComboBox::currentIndexChanged, form, [&changes] { ++changes; });
    form->RefreshPages();
    form->repaint();
    EXPECT_EQ(changes, 0);

    // Nothing chosen: the message, no file dialog, the clipboard as it was.
    QGuiApplication::clipboard()->setText(QStringLiteral("the user's text"));
    for (QCheckBox *box :
         {form->IncludeTitleCB, form->IncludeGridCB, form->IncludeCluesCB, form->IncludeWordbankCB})
        box->setChecked(false);
    form->CopyToClipboardBtn->click();
    form->ExportSaveBtn->click();
    EXPECT_EQ(
        boxesWithText(prompter, QStringLiteral("Please indicate what you want to export by clicking on at "
                                               "least one of the checkboxes.")),
        2);
    EXPECT_TRUE(dialogs.Asked.isEmpty());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("the user's text"));

    // A file: "puzzle" is written as "puzzle.EMF", the clipboard still as it was.
    form->IncludeGridCB->setChecked(true);
    dialogs.FileNames << m_out.filePath("puzzle");
    form->ExportSaveBtn->click();
    EXPECT_TRUE(QFile::exists(m_out.filePath("puzzle.EMF")));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("the user's text"));
    form->close();
}

} // namespace
