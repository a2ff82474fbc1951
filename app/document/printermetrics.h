// The page metrics of the printer the program prints on, as the document lays out its pages by
// them. The printing layer reads them from the print system and hands them over.
#pragma once

#include <QString>

#include <functional>

/** What the current printer reports, in its device pixels. */
struct TPrinterMetrics {
    bool Printer = false; // a printer is there to print on
    int DpiX = 300, DpiY = 300;
    double PaperWidthPx = 2550; // the physical sheet
    double PaperHeightPx = 3300;
    double OffsetXPx = 0; // the unprintable edge at the left and top
    double OffsetYPx = 0;
    QString Name; // the printer they were read from
    bool operator==(const TPrinterMetrics &) const = default;
};

/** The current printer's kept metrics; no printer while no source is set. */
const TPrinterMetrics &PrinterMetrics();
/** Sets where PrinterMetrics() comes from (the printing layer's kept metrics). */
void SetPrinterMetricsSource(std::function<const TPrinterMetrics &()> source);
