// The main window's side of the printed page: the page model's hooks, the document's clue-flow
// and printer hooks, and the print commands.
#include "mainfm.h"

#include "checkpts.h"
#include "fileio.h"
#include "printdialogs.h"
#include "printersource.h"
#include "printing.h"
#include "viewpaint.h"
#include "viewport.h"
#include "wysiwyg.h"

#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QTimer>

void TMainFm::InstallLayoutHooks()
{
    m_printDialogs = std::make_unique<TQtPrintDialogs>(this);
    SetPrintDialogs(m_printDialogs.get());

    LayoutHooks.PageCountChanged = [this](int) {
        // Never inside a paint: the tabs follow once the paint is over.
        if (m_pageCountPending)
            return;
        m_pageCountPending = true;
        QTimer::singleShot(0, this, [this] {
            m_pageCountPending = false;
            SetPageCount(PageCount, 2);
        });
    };
    LayoutHooks.CurrentPageChanged = [this](int page) { CurrentPageShown(page); };
    LayoutHooks.FormResize = [this] { FormResize(); };
    LayoutHooks.RedrawView = [this] { RedrawView(); };
    LayoutHooks.PaintCluesStartingFrom = [this](TClueGrid *grid, int row) { RepaintClues(grid, row, false); };
    LayoutHooks.DrawOneClue = [this](TClueGrid *grid, int row) { RepaintClues(grid, row, true); };
    LayoutHooks.ClearPattern = [this] { ClearPatternBtnClick(); };
    LayoutHooks.ShowErrorForm = [this](const QString &text) { ShowErrorForm(text); };
    LayoutHooks.TitleChanged = [this] { return m_titleChanged; };
    InstallAutoLayoutHooks();

    InstallDocumentLayoutHooks();
    FileHooks.PrinterName = [] {
        QPrinter *printer = CurrentPrinter();
        return printer ? printer->printerName() : QString();
    };
    FileHooks.PrinterOrientation = [] {
        QPrinter *printer = CurrentPrinter();
        return printer && printer->pageLayout().orientation() == QPageLayout::Landscape ? 1 : 0;
    };
    FileHooks.SetPrinterOrientation = [](int orientation) {
        QPrinter *printer = CurrentPrinter();
        if (!printer)
            return;
        printer->setPageOrientation(orientation == 1 ? QPageLayout::Landscape : QPageLayout::Portrait);
        RefreshPrinterMetrics();
    };
}

void TMainFm::CurrentPageShown(int page)
{
    SBPage->setText(QStringLiteral("Page %1").arg(page));
    VP_UpdatePageCursor();
    if (RepaintOnPageChange)
        InvalidateView();
}

void TMainFm::RepaintClues(TClueGrid *grid, int row, bool oneClue)
{
    // A full compose is on its way: it paints every clue.
    if (m_composePending || m_composing || m_workBitmap.isNull() || !ViewPort)
        return;
    {
        QPainter canvas(&m_workBitmap);
        if (oneClue)
            VP_DrawOneClue(canvas, grid, row);
        else
            VP_PaintCluesStartingFrom(canvas, grid, row);
    }
    ViewPort->update();
}

void TMainFm::ShowLayoutMessagesLater()
{
    if (!HasPendingLayoutMessages() || m_layoutMessagesPending)
        return;
    m_layoutMessagesPending = true;
    QTimer::singleShot(0, this, [this] {
        m_layoutMessagesPending = false;
        if (!AutoLayoutPending)
            ShowPendingLayoutMessages();
    });
}

void TMainFm::mFilePrintClick()
{
    PrintJobTitle = QStringLiteral("Tarvel  -  ") + SavePuzzleDialog.FileName;
    PrintPuzzle();
}

void TMainFm::mFilePrinterSetupClick()
{
    TakeCheckPoint(TCheckPointKind::Layout, QStringLiteral("possible paper size or orientation change"));
    RunPrinterSetup();
}
