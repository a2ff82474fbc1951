// The current printer and its kept metrics.
#include "printersource.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMarginsF>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <memory>

namespace {

std::unique_ptr<QPrinter> g_systemPrinter;
std::unique_ptr<QPrinter> g_filePrinter;
QPrinter *g_testPrinter = nullptr;
bool g_usingTestPrinter = false;
bool g_read = false;
TPrinterMetrics g_metrics;

bool guiRunning() { return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr; }

QPrinter *systemPrinter()
{
    if (g_systemPrinter)
        return g_systemPrinter.get();
    if (!guiRunning())
        return nullptr;
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    if (printers.isEmpty())
        return nullptr;
    const QPrinterInfo chosen =
        QPrinterInfo::defaultPrinter().isNull() ? printers.first() : QPrinterInfo::defaultPrinter();
    g_systemPrinter = std::make_unique<QPrinter>(chosen, QPrinter::HighResolution);
    g_systemPrinter->setFullPage(true);
    return g_systemPrinter.get();
}

// The document lays its pages out by these metrics.
[[maybe_unused]] const bool g_metricsShared = [] {
    SetPrinterMetricsSource(&CachedPrinterMetrics);
    return true;
}();

} // namespace

TPrinterMetrics ReadPrinterMetrics(QPrinter &printer)
{
    TPrinterMetrics m;
    m.Printer = true;
    const int dpi = printer.resolution();
    m.DpiX = m.DpiY = dpi > 0 ? dpi : 300;
    const QPageLayout layout = printer.pageLayout();
    const QRect full = layout.fullRectPixels(m.DpiX);
    m.PaperWidthPx = full.width();
    m.PaperHeightPx = full.height();
    const QMarginsF margins = layout.minimumMargins();
    const double perPoint = m.DpiX / 72.0;
    m.OffsetXPx = margins.left() * perPoint;
    m.OffsetYPx = margins.top() * perPoint;
    m.Name = printer.printerName();
    return m;
}

QPrinter *CurrentPrinter()
{
    if (g_usingTestPrinter)
        return g_testPrinter;
    if (QPrinter *printer = systemPrinter())
        return printer;
    // Without an installed printer a job can still go to a PDF file.
    if (!g_filePrinter && guiRunning()) {
        g_filePrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
        g_filePrinter->setOutputFormat(QPrinter::PdfFormat);
        g_filePrinter->setFullPage(true);
    }
    return g_filePrinter.get();
}

bool PrintsToFileOnly()
{
    QPrinter *printer = CurrentPrinter();
    return printer && printer == g_filePrinter.get();
}

bool RefreshPrinterMetrics()
{
    const bool wasRead = g_read;
    g_read = true;
    QPrinter *printer = g_usingTestPrinter ? g_testPrinter : systemPrinter();
    const TPrinterMetrics read = printer ? ReadPrinterMetrics(*printer) : TPrinterMetrics{};
    const bool changed = wasRead && !(read == g_metrics);
    g_metrics = read;
    return changed;
}

void SetPrinterPaper(QPrinter &printer, double widthInches, double heightInches)
{
    const QSizeF portrait(std::min(widthInches, heightInches), std::max(widthInches, heightInches));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageSize(QPageSize(portrait, QPageSize::Inch, QString(), QPageSize::FuzzyMatch));
    printer.setPageOrientation(widthInches > heightInches ? QPageLayout::Landscape : QPageLayout::Portrait);
}

const TPrinterMetrics &CachedPrinterMetrics()
{
    if (!g_read)
        RefreshPrinterMetrics();
    return g_metrics;
}

void SetPrinterForTesting(QPrinter *printer)
{
    g_testPrinter = printer;
    g_usingTestPrinter = printer != nullptr;
    if (printer)
        printer->setFullPage(true);
    RefreshPrinterMetrics();
}
