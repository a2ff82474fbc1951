// The main window's exports: the PDF of the pages, the page parts as a graphic, the texts, and
// the Edit menu's copies to the clipboard.
#include "mainfm.h"

#include "cp1252.h"
#include "exportgraphicfm.h"
#include "exporttextfm.h"
#include "filefolders.h"
#include "globals.h"
#include "layoutsettings.h"
#include "pageparts.h"
#include "pdfpagechoicefm.h"
#include "printing.h"
#include "prompter.h"
#include "textexport.h"
#include "uidialogs.h"
#include "wysiwyg.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>

namespace {

const QString kPdfFilter = QStringLiteral("Portable Document Format (*.pdf);;All files (*)");

// Items of the menus found by name: the menus are built by their own families.
QAction *menuItem(TMainFm *window, const char *name)
{
    return window->findChild<QAction *>(QLatin1String(name));
}

} // namespace

void TMainFm::InstallExportCommands()
{
    const struct {
        const char *name;
        void (TMainFm::*handler)();
    } items[] = {
        {"mFileCreatePDF", &TMainFm::mFileCreatePDFClick},
        {"mExportPDF", &TMainFm::mExportPDFClick},
        {"mExportMetafile", &TMainFm::mExportMetafileClick},
        {"mExportText", &TMainFm::mExportTextClick},
        {"mEditCopyPuzzleGrid", &TMainFm::mEditCopyPuzzleGridClick},
        {"mEditCopyPuzzleAll", &TMainFm::mEditCopyPuzzleAllClick},
        {"mEditCopySolution", &TMainFm::mEditCopySolutionClick},
        {"mEditCopyClues", &TMainFm::mEditCopyCluesClick},
        {"mEditCopySolutionText", &TMainFm::mEditCopySolutionTextClick},
    };
    for (const auto &item : items) {
        QAction *action = menuItem(this, item.name);
        if (!action)
            continue;
        action->setEnabled(true);
        connect(action, &QAction::triggered, this, item.handler);
    }
}

void TMainFm::mExportPDFClick() { ExportPdf(QString()); }
void TMainFm::mFileCreatePDFClick() { ExportPdf(QString()); }

bool TMainFm::ExportPdf(const QString &name)
{
    TPdfPageChoiceFm *choice = PdfPageChoiceFm ? PdfPageChoiceFm : new TPdfPageChoiceFm(this);
    if (uiDialogs().RunModal(*choice) != QDialog::Accepted)
        return false;
    if (!OfferAutoLayout())
        return false;
    if (choice->Pages() != TPdfPages::Solution && !PdfMayLeaveOutClues()) // the solution page has no clues
        return false;
    QString file = name;
    if (file.length() < 2) {
        const QString start = ProposedFileName(TFileKind::Pdf, SavePuzzleDialog.FileName,
                                               QStringLiteral(".pdf"), TitleEd->text());
        file = uiDialogs().SaveFileName(this, QStringLiteral("Export puzzle as PDF document"), start,
                                        kPdfFilter);
        if (file.isEmpty())
            return false;
        if (QFileInfo(file).suffix().isEmpty())
            file += QStringLiteral(".pdf");
        if (!mayReplaceFile(file))
            return false;
        RememberFolder(TFileKind::Pdf, file);
    }
    QString error;
    if (!TRaveCanvas::SaveToPdf(file, choice->Pages(), &error)) {
        showInformation(Cp1252::writeFailureText(QStringLiteral("Can not create the file ") + file +
                                                     QStringLiteral(". It might be in use."),
                                                 file, error));
        return false;
    }
    return true;
}

bool TMainFm::PdfMayLeaveOutClues()
{
    // Clues past the last of the nine pages would be missing from the file: the user decides.
    ClueFlow_EnsureCurrent();
    if (OverflowLineCount <= 0)
        return true;
    const Prompter::Button answer = askConfirmation(
        QStringLiteral("Your clues take up too many pages. Try to pack more clues into fewer pages.") +
            ParagraphBreak + QStringLiteral("Export the PDF anyway, without the clues that do not fit?"),
        Prompter::Yes | Prompter::No);
    return answer == Prompter::Yes;
}

// ---- Graphic and text exports ---------------------------------------------------------------------

TExportGraphicFm *TMainFm::EnsureExportGraphicFm()
{
    return ExportGraphicFm ? ExportGraphicFm : new TExportGraphicFm(this);
}

TExportTextFm *TMainFm::EnsureExportTextFm() { return ExportTextFm ? ExportTextFm : new TExportTextFm(this); }

void TMainFm::RefreshExportForms()
{
    if (ExportTextFm)
        ExportTextFm->RefreshPreview();
    if (ExportGraphicFm && ExportGraphicFm->isVisible())
        ExportGraphicFm->RefreshPages();
}

void TMainFm::mExportMetafileClick()
{
    TExportGraphicFm *form = EnsureExportGraphicFm();
    form->show();
    form->raise();
    form->RefreshPages();
}

void TMainFm::mExportTextClick()
{
    TExportTextFm *form = EnsureExportTextFm();
    form->show();
    form->raise();
}

void TMainFm::mEditCopyPuzzleGridClick() { CopyPagePartsToClipboard(PuzzlePage, PartGrid); }

void TMainFm::mEditCopyPuzzleAllClick()
{
    CopyPagePartsToClipboard(PuzzlePage, PartGrid | PartClues | PartWordBank);
    if (PageCount > 2)
        ShowBalloon(
            QStringLiteral("This menu option copies the page with the unsolved grid on it. To copy/paste the "
                           "other page of clues, pull down the Export menu and select \"as graphic\". "),
            geometry().left() + 80, 30, geometry().top() + 60);
}

void TMainFm::mEditCopySolutionClick() { CopyPagePartsToClipboard(SolutionPage, PartSolution); }

void TMainFm::mEditCopyCluesClick()
{
    QStringList lines;
    BuildCluesText(true, QStringLiteral("  "), lines);
    QString text;
    for (const QString &line : lines)
        text += line + QStringLiteral("\r\n");
    QGuiApplication::clipboard()->setText(text);
}

void TMainFm::mEditCopySolutionTextClick()
{
    QGuiApplication::clipboard()->setText(BuildSolutionTextByDirection(false));
}
