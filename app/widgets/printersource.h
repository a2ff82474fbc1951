// The one printer the program prints on, and its page metrics. Asking the print system can
// block (a CUPS queue may be slow or gone), so the metrics are read once and kept for the
// printer they came from; they are read again at printer set-up and when a print command
// starts (a printer added or chosen since), never while painting.
#pragma once

#include "printermetrics.h"

#include <QString>

class QPrinter;

/** The kept metrics; read from the print system at the first call. */
const TPrinterMetrics &CachedPrinterMetrics();
/** Reads the metrics again (printer set-up, start of a job); true when they differ from the
 *  kept ones, so that the pages must be laid out again. */
bool RefreshPrinterMetrics();
/** Sets the printer's sheet to a paper of these inches; a wider than high paper is the
 *  landscape orientation of its portrait size. */
void SetPrinterPaper(QPrinter &printer, double widthInches, double heightInches);
/** The printer of this run (full-page mode: coordinates start at the paper's corner). Without an
 *  installed printer it is a PDF-file printer, which reports no metrics: the page keeps the
 *  puzzle's paper. Made at the first call and kept; null only without a GUI. */
QPrinter *CurrentPrinter();
/** True when the current printer only writes PDF files (no printer is installed). */
bool PrintsToFileOnly();
/** Puts a printer in place of the system's (a PDF-file printer in tests), or with null goes back
 *  to the system's. The caller keeps ownership. The metrics are read again. */
void SetPrinterForTesting(QPrinter *printer);
/** The metrics of a given printer. */
TPrinterMetrics ReadPrinterMetrics(QPrinter &printer);
