// The page painters and printing. Each page element is drawn by one painter, in inches on a
// TAsCanvas; the outputs (screen, printer, graphic export, PDF) differ only by their profile.
#pragma once

#include "ascanvas.h"
#include "cluespg.h"
#include "layoutsettings.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

class QPrinter;

/** What an output draws differently from the printed page. */
struct TOutputProfile {
    const char *Name;
    bool Border;         // the page border
    bool WorksheetLine;  // the worksheet line over the border
    bool CreditsLine;    // the credits under the grid
    bool SolutionHeader; // the heading over the solution grid
    double FontScale;    // type sizes are multiplied by this
};
extern const TOutputProfile ScreenProfile;
extern const TOutputProfile PrinterProfile;
extern const TOutputProfile GraphicProfile;
extern const TOutputProfile PdfProfile;

// ---- Print state --------------------------------------------------------------------------------

extern QString PrintJobTitle;           // "Tarvel  -  " and the puzzle's file name
extern double TileOriginX, TileOriginY; // the page area mapped to the sheet
extern double TileEndX, TileEndY;
extern int LastPrintedLine;
/** The document titles of the jobs of the last print command, in order (one per copy). */
extern QStringList LastPrintJobTitles;

// ---- Page painters ------------------------------------------------------------------------------
// Each draws on the canvas for page p with the profile's differences. Text on the view canvas
// is anti-aliased with the canvas brush as background.

void PrintPageBorder(TAsCanvas &cv, const TOutputProfile &profile);
/** Title and subtitle; spans (title, subtitle) are kept for the screen when given. */
void PrintTitles(TAsCanvas &cv, const TOutputProfile &profile, TSpan *spans = nullptr);
void PrintWorksheetLine(TAsCanvas &cv, const TOutputProfile &profile, TSpan *span = nullptr);
void PrintSolutionHeader(TAsCanvas &cv, const TOutputProfile &profile);
void PrintCreditsLine(TAsCanvas &cv, const TOutputProfile &profile);
/** Which grid a painter draws: the puzzle's or the solution's, each with its own geometry. */
enum class TGridPart : std::uint8_t {
    Puzzle = 1,
    Solution = 2
};
void PrintGrid(TAsCanvas &cv, const TOutputProfile &profile, TGridPart part);
void PrintGridBackground(TAsCanvas &cv, int columns, int rows, TGridPart part);
void PrintCellFrame(TAsCanvas &cv, int column, int row, TGridPart part);
void PrintCellNumber(TAsCanvas &cv, const TOutputProfile &profile, int column, int row);
void PrintSolutionNumber(TAsCanvas &cv, const TOutputProfile &profile, int column, int row);
/** The solution letter of (column, row); the letter is read from (fromColumn, fromRow) when
 *  given (the screen's upside-down solution). */
void PrintSolutionLetter(TAsCanvas &cv, const TOutputProfile &profile, int column, int row,
                         int fromColumn = 0, int fromRow = 0);
/** The across heading (line 1) or the down heading (any other line), when the line is on p. */
void PrintClueHeading(TAsCanvas &cv, const TOutputProfile &profile, int page, int line);
/** One clue's number and cached lines, those on page p. With eraseWidth > 0 each line's area,
 *  widened to the right by eraseWidth inches, is first filled with the canvas brush. Returns the
 *  clue's last line. */
int PrintClue(TAsCanvas &cv, const TOutputProfile &profile, int page, TClueGrid *grid, int row,
              double eraseWidth = 0);
void PrintCluesOfPage(TAsCanvas &cv, const TOutputProfile &profile, int page);
void PrintWordBank(TAsCanvas &cv, const TOutputProfile &profile, int page);

/** Everything printed on page p, on one sheet (no tiling), the grid included: what the screen
 *  shows of the page and what a page export draws. */
void PaintPage(TAsCanvas &cv, const TOutputProfile &profile, int page);

/** Page p at a zoom (percent of actual size at the screen's resolution) into an image, as the
 *  page view shows it (print-like cells). Used by the page view's tests and the benchmark. */
QImage RenderPageImage(int page, double zoomPercent, double pixelsPerInch = 96);

// ---- Printing -----------------------------------------------------------------------------------

/** The print and printer set-up dialogs; the program installs Qt's, tests a scripted one. */
class TPrintDialogs
{
public:
    virtual ~TPrintDialogs() = default;
    /** Lets the user choose range, copies and collation on the printer (fromPage/toPage 0 for
     *  all pages); false when cancelled. */
    virtual bool PrintDialog(QPrinter &printer, int minPage, int maxPage) = 0;
    virtual bool PrinterSetupDialog(QPrinter &printer) = 0;
};
/** Installs the dialogs (not owned); returns the previous ones. */
TPrintDialogs *SetPrintDialogs(TPrintDialogs *dialogs);

/** Main-window operations printing calls; each may be left unset. */
struct TPrintHooks {
    /** Runs the Auto-Layout expert (no offer while unset). */
    std::function<void()> RunAutoLayout;
};
extern TPrintHooks PrintHooks;

/** The print command: checks, the Auto-Layout offer, the print dialog, the copies. */
void PrintPuzzle();
/** One print job (copy n of copies) on the printer; false when it could not start or was
 *  aborted. */
bool PrintPages(QPrinter &printer, int copy, int copies);
/** Printer set-up, then the page follows the new printer. */
void RunPrinterSetup();
/** Offers the Auto-Layout expert when the puzzle uses more pages than its rule allows (printing
 *  and PDF ask alike); false when the user cancelled. */
bool OfferAutoLayout();
/** Whether the Auto-Layout expert would be offered for N pages (solution page included). */
bool AutoLayoutOfferRule(int pageCount);

// ---- PDF ----------------------------------------------------------------------------------------

/** Which pages a PDF export writes. */
enum class TPdfPages {
    All = 1,      // every page
    Puzzle = 2,   // the puzzle pages, not the solution page
    Solution = 3, // the solution page alone
};
/** The PDF writer: pages drawn by the printed page's painters on a PDF target of the canvas. */
class TRaveCanvas
{
public:
    /** Writes the chosen pages into a PDF of the paper's size, one PDF page per sheet (a grid
     *  of several tiles gives a page per tile). The file is replaced only when everything was
     *  written; false with the reason otherwise. */
    static bool SaveToPdf(const QString &fileName, TPdfPages pages, QString *error = nullptr);
};
/** The title a PDF of the puzzle carries: the puzzle's title, else the file's name without its
 *  folder and extension. */
QString PdfDocumentTitle(const QString &fileName);
/** Draws the chosen pages on a canvas bound to a PDF; newPage starts the next PDF page. */
void RenderPdfDocument(TAsCanvas &cv, TPdfPages pages, const std::function<void()> &newPage);
