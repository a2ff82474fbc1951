// The page painters and printing.
#include "printing.h"

#include "alphabet.h"
#include "cp1252.h"
#include "filefolders.h"
#include "globals.h"
#include "layoutsettings.h"
#include "printersource.h"
#include "prompter.h"
#include "trv600.h"
#include "wysiwyg.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

const TOutputProfile ScreenProfile = {"screen", true, true, true, true, 1.0};
const TOutputProfile PrinterProfile = {"printer", true, true, true, true, 1.0};
const TOutputProfile GraphicProfile = {"graphic", false, false, true, false, 1.0};
const TOutputProfile PdfProfile = {"pdf", true, true, true, true, 1.0};

QString PrintJobTitle;
double TileOriginX = 0, TileOriginY = 0;
double TileEndX = 0, TileEndY = 0;
int LastPrintedLine = 0;
QStringList LastPrintJobTitles;
TPrintHooks PrintHooks;

namespace {

TPrintDialogs *g_dialogs = nullptr;

void setFont(TAsCanvas &cv, const TOutputProfile &profile, const QString &name, double points,
             TFontStyles style, TColor colour)
{
    cv.Font.Name = name.isEmpty() ? QStringLiteral("Arial") : name;
    cv.Font.Size = points * profile.FontScale;
    cv.Font.Style = style;
    cv.Font.Color = colour;
    // Text never paints a box behind itself; what must go is erased by the caller first.
    cv.Brush.Clear = true;
}

// One device pixel of the canvas, in inches.
double pixelX(const TAsCanvas &cv) { return cv.InchesPerPixelX; }
double pixelY(const TAsCanvas &cv) { return cv.InchesPerPixelY; }

// The small clearance inside a cell's lines: a printer pixel, the same inches on every output so
// that the page is laid out alike everywhere.
constexpr double kCellClearance = 1.0 / 300;

bool onSheet(int linePage, int page) { return linePage == page; }

// The cell's grid-line thickness for the part.
double lineThickness(TGridPart part)
{
    return part == TGridPart::Solution ? GetGridPageValue() : GridLineThickness;
}

TPageRect cellRect(int column, int row, TGridPart part)
{
    return part == TGridPart::Solution ? CellPageRectFor(column, row) : CellPageRect(column, row);
}

bool hasClues(const TClueGrid *grid) { return grid && grid->RowCount() > 1; }

QColor toQColor(TColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

} // namespace

// ---- Page painters ------------------------------------------------------------------------------

void PrintPageBorder(TAsCanvas &cv, const TOutputProfile &profile)
{
    if (!profile.Border)
        return;
    QString bands = TextAfterChar(QLatin1Char('='), FrameStyle);
    TPageRect outer = {FrameOutside.Left, FrameOutside.Top, PaperWidth - FrameOutside.Right,
                       PaperHeight - FrameOutside.Bottom};
    for (int i = 0; i < 99 && bands.trimmed().size() >= 3; ++i) {
        bool isBand = false;
        double width = 0;
        TColor colour = 0xFFFFFF;
        ParseFrameBand(bands, &isBand, &width, &colour);
        TPageRect inner = outer;
        InflateRectInches(inner, width);
        if (isBand && width > 0) {
            // Four strips, each at least one device pixel thick.
            const double w = std::max(width, pixelX(cv));
            const double h = std::max(width, pixelY(cv));
            cv.FillRect(outer.Left, outer.Top, outer.Right, outer.Top + h, colour);
            cv.FillRect(outer.Left, outer.Top, outer.Left + w, outer.Bottom, colour);
            cv.FillRect(outer.Right - w, outer.Top, outer.Right, outer.Bottom, colour);
            cv.FillRect(outer.Left, outer.Bottom - h, outer.Right, outer.Bottom, colour);
        }
        outer = inner;
    }
}

void PrintTitles(TAsCanvas &cv, const TOutputProfile &profile, TSpan *spans)
{
    double y = MarginTop;
    const double middle = MarginLeft + PaperWidth - MarginRight;
    struct Line {
        const QString &text;
        const QString &font;
        int size;
        TColor colour;
        TFontStyles style;
    };
    const Line lines[2] = {
        {DocControls.PuzzleTitle, TitleFont, TitleFontSize, TitleColor, TitleStyle},
        {DocControls.PuzzleSubtitle, SubtitleFont, SubtitleFontSize, SubtitleColor, SubtitleStyle}};
    for (int i = 0; i < 2; ++i) {
        const Line &line = lines[i];
        if (line.text.isEmpty()) {
            // The screen erases what an earlier text left.
            if (spans && SpanNotEmpty(spans[i]))
                spans[i] = cv.TextOut(QString(), MarginLeft, y, spans[i]);
            continue;
        }
        setFont(cv, profile, line.font, line.size, line.style, line.colour);
        const double x = (middle - cv.TextWidth(line.text)) / 2;
        const TSpan span = cv.TextOut(line.text, x, y, spans ? spans[i] : TSpan());
        if (spans)
            spans[i] = span;
        if (i == 0)
            y += TitleFontSize / 72.0 + SubtitleExtraSpacing;
    }
}

void PrintWorksheetLine(TAsCanvas &cv, const TOutputProfile &profile, TSpan *span)
{
    if (!profile.WorksheetLine || (WorksheetLine.isEmpty() && !(span && SpanNotEmpty(*span))))
        return;
    setFont(cv, profile, WorksheetFontName, WorksheetFontSize, fsItalic, 0);
    const double x = (PaperWidth - cv.TextWidth(WorksheetLine)) / 2;
    const double y = FrameOutside.Top - WorksheetFontSize / 72.0 * 1.12;
    const TSpan drawn = cv.TextOut(WorksheetLine, x, y, span ? *span : TSpan());
    if (span)
        *span = drawn;
}

void PrintSolutionHeader(TAsCanvas &cv, const TOutputProfile &profile)
{
    if (!profile.SolutionHeader || SolutionHeaderText.isEmpty() || SolutionHeaderFontSize == 0)
        return;
    setFont(cv, profile, SolutionHeaderFont, SolutionHeaderFontSize, SolutionHeaderStyle,
            SolutionHeaderColor);
    // Over the solution grid, wherever that grid stands.
    const TPageRect first = CellPageRectFor(1, 1);
    cv.TextOut(SolutionHeaderText, first.Left, first.Top - SolutionHeaderFontSize / 72.0);
}

void PrintCreditsLine(TAsCanvas &cv, const TOutputProfile &profile)
{
    if (!profile.CreditsLine || CreditsLine.isEmpty())
        return;
    setFont(cv, profile, CreditsFont, CreditsFontSize, 0, clPuzzleGrid);
    const TPageRect first = CellPageRect(1, 1);
    const TPageRect last = CellPageRect(Columns, Rows);
    cv.TextOut(CreditsLine, first.Left, last.Bottom + CreditsFontSize / 72.0 * 0.25);
    cv.Font.Color = 0;
}

void PrintGridBackground(TAsCanvas &cv, int columns, int rows, TGridPart part)
{
    if (RemovedCellColor == PageColor)
        return;
    const TPageRect first = cellRect(1, 1, part);
    const TPageRect last = cellRect(columns, rows, part);
    const double half = lineThickness(part) * 0.5;
    cv.FillRect(first.Left - half, first.Top - half, last.Right + half + kCellClearance,
                last.Bottom + half + kCellClearance, RemovedCellColor);
}

void PrintCellFrame(TAsCanvas &cv, int column, int row, TGridPart part)
{
    const QChar code = GetCellLetter(column, row);
    if (code.unicode() == TRV_REMOVED)
        return;
    const TColor pen = part == TGridPart::Solution ? clSolutionGrid : clPuzzleGrid;
    cv.Pen.Color = pen;
    cv.SetPenWidth(lineThickness(part));
    cv.Brush.Clear = false;
    if (code.unicode() == TRV_BLOCK)
        cv.Brush.Color = pen;
    else if (code.unicode() == TRV_EDGE)
        cv.Brush.Color = 0x008000;
    else
        cv.Brush.Color = OpenCellColor;
    const TPageRect r = cellRect(column, row, part);
    cv.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
}

namespace {

// The number in the cell's top-left corner, in the part's geometry.
void printNumber(TAsCanvas &cv, const TOutputProfile &profile, int column, int row, TGridPart part)
{
    const int n = TRVGetCellNumber(column, row);
    if (n <= 0)
        return;
    const double inner = part == TGridPart::Solution ? SolutionCellInner : PuzzleCellInner;
    const double points = inner * CellNumberPercent / 100.0 * 72.0;
    setFont(cv, profile, PuzzleNumberFont, points, 0,
            part == TGridPart::Solution ? clSolutionNumber : clPuzzleNumber);
    const TPageRect r = cellRect(column, row, part);
    const double inset = lineThickness(part) / 2;
    const double left = r.Left + inset + kCellClearance;
    const double top = r.Top + inset + kCellClearance;
    cv.Brush.Clear = true;
    cv.TextOut(QString::number(n), left + points / 72.0 / 10, top);
}

} // namespace

void PrintCellNumber(TAsCanvas &cv, const TOutputProfile &profile, int column, int row)
{
    printNumber(cv, profile, column, row, TGridPart::Puzzle);
}

void PrintSolutionNumber(TAsCanvas &cv, const TOutputProfile &profile, int column, int row)
{
    printNumber(cv, profile, column, row, TGridPart::Solution);
}

void PrintSolutionLetter(TAsCanvas &cv, const TOutputProfile &profile, int column, int row, int fromColumn,
                         int fromRow)
{
    if (fromColumn <= 0 || fromRow <= 0) {
        fromColumn = column;
        fromRow = row;
    }
    const QChar code = GetCellLetter(column, row);
    if (code.unicode() == TRV_REMOVED)
        return;
    const QChar c = UpperCaseChar(GetCellLetter(fromColumn, fromRow));
    if (!IsAlphabetChar(c))
        return; // open cells without a letter print a blank
    const TColor engineColour = ColorIndexToColor(TRVGetFontColor(fromColumn, fromRow));
    const bool theme =
        engineColour == 0x0000FF || engineColour == 0xFF0000 || TRVIsCellFixed(fromColumn, fromRow) != 0;
    const double points = SolutionCellInner * CellLetterPercent / 100.0 * 72.0;
    const TFontStyles style = theme && SolutionThemeBold ? fsBold : 0;
    const TColor colour = theme && SolutionThemeColor && engineColour != 0 ? engineColour : clSolutionLetter;
    setFont(cv, profile, SolutionFont, points, style, colour);
    const TPageRect r = CellPageRectFor(column, row);
    const double inset = GetGridPageValue() / 2;
    const double boxLeft = r.Left + inset + kCellClearance;
    const double boxRight = r.Right - inset - kCellClearance;
    const double boxTop = r.Top + inset + kCellClearance;
    const double boxBottom = r.Bottom - inset - kCellClearance;
    const double height = points * profile.FontScale / 72.0;
    double y = boxTop + (boxBottom - boxTop - 0.95 * height) * 0.5 + kCellClearance;
    if (NumberedSolution)
        y += SolutionCellInner * CellNumberPercent / 100.0 / 3;
    const QString text(c);
    const double x = (boxLeft + boxRight - cv.TextWidth(text)) / 2;
    cv.Brush.Clear = true;
    cv.TextOut(text, x, y);
}

void PrintGrid(TAsCanvas &cv, const TOutputProfile &profile, TGridPart part)
{
    const bool clear = cv.Brush.Clear;
    const TColor brush = cv.Brush.Color;
    if (part == TGridPart::Puzzle) {
        PrintGridBackground(cv, Columns, Rows, part);
        for (int r = 1; r <= Rows; ++r)
            for (int c = 1; c <= Columns; ++c)
                PrintCellFrame(cv, c, r, part);
        for (int r = 1; r <= Rows; ++r)
            for (int c = 1; c <= Columns; ++c)
                PrintCellNumber(cv, profile, c, r);
    }
    if (part == TGridPart::Solution) {
        PrintGridBackground(cv, Columns, Rows, part);
        for (int r = 1; r <= Rows; ++r)
            for (int c = 1; c <= Columns; ++c)
                PrintCellFrame(cv, c, r, part);
        for (int r = 1; r <= Rows; ++r)
            for (int c = 1; c <= Columns; ++c) {
                PrintSolutionLetter(cv, profile, c, r);
                if (NumberedSolution)
                    PrintSolutionNumber(cv, profile, c, r);
            }
    }
    cv.Brush.Clear = clear;
    cv.Brush.Color = brush;
}

void PrintClueHeading(TAsCanvas &cv, const TOutputProfile &profile, int page, int line)
{
    int linePage = 0;
    TPageRect rect;
    if (!ClueFlow_GetPlacement(line, &linePage, &rect) || !onSheet(linePage, page))
        return;
    // Line 1 is the across heading, unless there are no across clues and the down heading
    // moved up to it.
    QString text = line == 1 && hasClues(CluesAcrossSG) ? AcrossText : DownText;
    if (AcrDwnCapitals)
        text = text.toUpper();
    setFont(cv, profile, AcrDwnFont, AcrDwnFontSize, AcrDwnBold ? fsBold : 0, clClues);
    cv.TextOut(text, rect.Left, rect.Top);
}

int PrintClue(TAsCanvas &cv, const TOutputProfile &profile, int page, TClueGrid *grid, int row,
              double eraseWidth)
{
    if (!grid || !grid->ValidRow(row))
        return 0;
    bool ok = false;
    const int first = grid->Cell(3, row).trimmed().toInt(&ok);
    if (!ok)
        return 0;
    const TClueRow &clue = grid->Row(row);
    const QStringList lines = clue.Lines.isEmpty() ? QStringList{QString()} : clue.Lines;
    const bool theme = !FreeformMode && clue.ThemeWord;

    int linePage = 0;
    TPageRect rect;
    if (ClueFlow_GetPlacement(first, &linePage, &rect) && onSheet(linePage, page)) {
        if (eraseWidth > 0)
            cv.FillRect(rect.Left, rect.Top, rect.Right + eraseWidth, rect.Bottom, cv.Brush.Color);
        setFont(cv, profile, ClueNumberFont, ClueNumberFontSize, ClueNumberStyle & fsBold, clClues);
        const QString number = ExtractDigitRun(grid->Cell(0, row));
        const double end = rect.Left + NumberColumnWidthInches - cv.TextWidth(QStringLiteral("0"));
        const double x = std::max(rect.Left, end - cv.TextWidth(number));
        cv.TextOut(number, x, rect.Top + LineHeightBase - ClueNumberFontSize / 72.0);
    }
    LastPrintedLine = first;
    const TFontStyles style = theme ? ClueThemeStyle : 0;
    const TColor colour = theme && ClueThemeInColor ? 0x0000FF : clClues;
    for (int i = 0; i < lines.size(); ++i) {
        if (!ClueFlow_GetPlacement(first + i, &linePage, &rect))
            break; // beyond the last page: counted by the page model
        LastPrintedLine = first + i;
        if (!onSheet(linePage, page))
            continue;
        if (eraseWidth > 0 && i > 0)
            cv.FillRect(rect.Left, rect.Top, rect.Right + eraseWidth, rect.Bottom, cv.Brush.Color);
        QString text = lines.at(i);
        if (theme && ClueThemeAllCaps)
            text = text.toUpper();
        setFont(cv, profile, ClueTextFont, ClueTextFontSize, style, colour);
        cv.TextOut(text, rect.Left + NumberColumnWidthInches,
                   rect.Top + LineHeightBase - ClueTextFontSize / 72.0);
    }
    return first + int(lines.size()) - 1;
}

void PrintCluesOfPage(TAsCanvas &cv, const TOutputProfile &profile, int page)
{
    if (ClueLayoutDirty || !SequenceReady || CluesNeedRebuild)
        return;
    LastPrintedLine = 0;
    if (hasClues(CluesAcrossSG)) {
        PrintClueHeading(cv, profile, page, 1);
        for (int r = 1; r < CluesAcrossSG->RowCount(); ++r)
            PrintClue(cv, profile, page, CluesAcrossSG, r);
    }
    if (hasClues(CluesDownSG)) {
        // The same rule as the screen: the heading two lines before the first down clue.
        PrintClueHeading(cv, profile, page, DownHeadingLine());
        for (int r = 1; r < CluesDownSG->RowCount(); ++r)
            PrintClue(cv, profile, page, CluesDownSG, r);
    }
}

void PrintWordBank(TAsCanvas &cv, const TOutputProfile &profile, int page)
{
    if (!DocControls.WordBankCB || WordBankMode != 1 || page != WordBankPage)
        return;
    double x = WordBankRect.Left;
    double y = WordBankRect.Top + 0.2;
    setFont(cv, profile, ClueTextFont, ClueTextFontSize, fsBold, clWordBank);
    cv.TextOut(WordBankHeader, x, y);
    x += cv.TextWidth(WordBankHeader + QStringLiteral("  "));
    setFont(cv, profile, ClueTextFont, ClueTextFontSize, 0, clWordBank);
    const double step = cv.TextHeight(QStringLiteral("X")) * std::max(1, LeadingPercentage) / 100.0;
    for (const QString &line : WordBankList) {
        cv.TextOut(line, x, y);
        y += step;
        x = WordBankRect.Left;
    }
}

namespace {

// What a page carries above its grid and clues: border, titles, worksheet line, solution header.
void printPageHead(TAsCanvas &cv, const TOutputProfile &profile, int page)
{
    if (PageRuleA(page))
        PrintPageBorder(cv, profile);
    if (PageRuleB(page))
        PrintTitles(cv, profile);
    if (page == PuzzlePage)
        PrintWorksheetLine(cv, profile);
    if (page == PageCount)
        PrintSolutionHeader(cv, profile);
}

} // namespace

void PaintPage(TAsCanvas &cv, const TOutputProfile &profile, int page)
{
    printPageHead(cv, profile, page);
    if (page == PuzzlePage) {
        PrintGrid(cv, profile, TGridPart::Puzzle);
        PrintCreditsLine(cv, profile);
    }
    PrintCluesOfPage(cv, profile, page);
    PrintWordBank(cv, profile, page);
    if (page == PageCount && page != PuzzlePage)
        PrintGrid(cv, profile, TGridPart::Solution);
}

QImage RenderPageImage(int page, double zoomPercent, double pixelsPerInch)
{
    const double ipp = 1.0 / std::max(1.0, pixelsPerInch * zoomPercent / 100.0);
    const TPageRect savedRect = ViewPageRect;
    const double savedIpp = InchesPerPixel;
    InchesPerPixel = ipp;
    ViewPageRect = {0, 0, PaperWidth, PaperHeight};
    QImage image(std::max(1, RoundToPixel(PaperWidth / ipp)), std::max(1, RoundToPixel(PaperHeight / ipp)),
                 QImage::Format_RGB32);
    image.fill(toQColor(PageColor));
    {
        QPainter painter(&image);
        TAsCanvas cv;
        cv.SetTargetView(&painter);
        cv.Brush.Color = PageColor;
        ClueFlow_EnsureCurrent();
        PaintPage(cv, ScreenProfile, page);
    }
    ViewPageRect = savedRect;
    InchesPerPixel = savedIpp;
    return image;
}

// ---- Printing -----------------------------------------------------------------------------------

TPrintDialogs *SetPrintDialogs(TPrintDialogs *dialogs)
{
    TPrintDialogs *previous = g_dialogs;
    g_dialogs = dialogs;
    return previous;
}

bool AutoLayoutOfferRule(int n)
{
    switch (AutoLayoutPageChoice) {
    case 1: return n > 3 || (n > 2 && AskBeforeUsingTwoPages);
    case 2: return n > 2;
    case 3: return n > 3;
    default: return false;
    }
}

namespace {

bool aborted(const QPrinter &printer) { return printer.printerState() == QPrinter::Aborted; }

// Pages from..to as sheets: the grid page takes one sheet per grid tile, each showing its own
// part of the grid; its clues and word bank go with the first tile. newSheet starts a sheet
// after the first; stop is asked between sheets and ends the run (false).
bool printSheets(TAsCanvas &cv, const TOutputProfile &profile, int from, int to, bool sheetOpen,
                 const std::function<void()> &newSheet, const std::function<bool()> &stop)
{
    bool needSheet = sheetOpen;
    auto sheet = [&] {
        if (needSheet)
            newSheet();
        needSheet = true;
    };
    for (int p = from; p <= to; ++p) {
        if (stop())
            return false;
        TileOriginX = MarginLeft;
        TileOriginY = MarginTop;
        cv.ViewLeft = cv.ViewTop = 0;
        sheet();
        printPageHead(cv, profile, p);
        if (p == PuzzlePage) {
            for (int j = 1; j <= GridTileRows; ++j)
                for (int k = 1; k <= GridTileColumns; ++k) {
                    if (j > 1 || k > 1)
                        sheet();
                    TileOriginX = PrintableWidth() * (k - 1) + MarginLeft;
                    TileEndX = PrintableWidth() * k + MarginLeft;
                    TileOriginY = PrintableHeight() * (j - 1) + MarginTop;
                    TileEndY = PrintableHeight() * j + MarginTop;
                    cv.ViewLeft = TileOriginX - MarginLeft;
                    cv.ViewTop = TileOriginY - MarginTop;
                    PrintGrid(cv, profile, TGridPart::Puzzle);
                    if (k == 1 && j == GridTileRows)
                        PrintCreditsLine(cv, profile);
                    if (j == 1 && k == 1) {
                        // The clues of the grid page go with the first tile, which shows the
                        // page unshifted.
                        PrintCluesOfPage(cv, profile, p);
                        PrintWordBank(cv, profile, p);
                    }
                    if (stop())
                        return false;
                }
            cv.ViewLeft = cv.ViewTop = 0;
        } else {
            PrintCluesOfPage(cv, profile, p);
            PrintWordBank(cv, profile, p);
        }
        if (p == PageCount && p != PuzzlePage)
            PrintGrid(cv, profile, TGridPart::Solution);
    }
    return !stop();
}

// The sheets of one copy, on an open painter. sheetOpen: a sheet was already begun (and drawn
// on) by an earlier copy in the same document, so this copy starts on a new one.
bool printCopy(QPainter &painter, QPrinter &printer, bool sheetOpen)
{
    TAsCanvas cv;
    cv.SetTargetPrinter(&painter, &printer);
    const int from = printer.fromPage() > 0 ? printer.fromPage() : 1;
    const int to = printer.toPage() > 0 ? std::min(printer.toPage(), PageCount) : PageCount;
    return printSheets(
        cv, PrinterProfile, from, to, sheetOpen, [&] { printer.newPage(); },
        [&] { return aborted(printer); });
}

// The puzzle's name in the folder where its PDF files go.
QString defaultPdfName() { return ProposedDocumentFileName(TFileKind::Pdf, QStringLiteral(".pdf")); }

// A job that writes a PDF file names the document by the puzzle's title, as the file's title.
QString docNameFor(const QPrinter &printer, const QString &jobTitle)
{
    if (printer.outputFormat() != QPrinter::PdfFormat)
        return jobTitle;
    return PdfDocumentTitle(printer.outputFileName());
}

QString jobTitle(int copy, int copies)
{
    return copies > 1 ? PrintJobTitle + QStringLiteral(" - Copy %1").arg(copy) : PrintJobTitle;
}

} // namespace

QString PdfDocumentTitle(const QString &fileName)
{
    const QString title = DocControls.PuzzleTitle.simplified();
    if (!title.isEmpty())
        return title;
    const QString base = QFileInfo(fileName).completeBaseName();
    return base.isEmpty() ? QStringLiteral("Untitled") : base;
}

void RenderPdfDocument(TAsCanvas &cv, TPdfPages pages, const std::function<void()> &newPage)
{
    WYSIWYGChange();
    ClueFlow_EnsureCurrent();
    // Pens are written in hundredths of an inch, from 0.01 to 5 inches.
    cv.PenInHundredths = true;
    int last = PageCount;
    if (pages == TPdfPages::Puzzle)
        last = PageCount - 1;
    const int first = pages == TPdfPages::Solution ? last : 1;
    printSheets(cv, PdfProfile, first, last, false, newPage, [] { return false; });
}

bool TRaveCanvas::SaveToPdf(const QString &fileName, TPdfPages pages, QString *error)
{
    // The document is made in memory and then written whole, so a failed write (a full disk)
    // leaves the old file and is reported rather than leaving a PDF without its last pages.
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        writer.setPageSize(QPageSize(QSizeF(PaperWidth, PaperHeight), QPageSize::Inch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setTitle(PdfDocumentTitle(fileName));
        writer.setCreator(QStringLiteral("Tarvel"));
        QPainter painter;
        if (!painter.begin(&writer)) {
            if (error)
                *error = QStringLiteral("The PDF could not be started.");
            return false;
        }
        TAsCanvas cv;
        cv.SetTargetPrinter(&painter, &writer);
        RenderPdfDocument(cv, pages, [&writer] { writer.newPage(); });
        painter.end();
    }
    return Cp1252::writeFileSafely(fileName, bytes, error);
}

bool PrintPages(QPrinter &printer, int copy, int copies)
{
    const QString title = jobTitle(copy, copies);
    printer.setDocName(docNameFor(printer, title));
    LastPrintJobTitles.append(title);
    RefreshPrinterMetrics();
    QPainter painter;
    if (!painter.begin(&printer)) {
        showError(QStringLiteral("The printer could not start the job \"%1\".").arg(title));
        return false;
    }
    WYSIWYGChange();
    ClueFlow_EnsureCurrent();
    const bool done = printCopy(painter, printer, false);
    if (!aborted(printer))
        painter.end();
    return done;
}

// The pages laid out again for the current printer's (or the puzzle's own) paper.
static void relayoutForPrinter()
{
    InitPageMetrics();
    RelayoutPage();
    TRVInvalidateDisplay();
    if (LayoutHooks.RedrawView)
        LayoutHooks.RedrawView();
}

bool OfferAutoLayout()
{
    ClueFlow_EnsureCurrent();
    const int n = PageCount;
    if (!PrintHooks.RunAutoLayout || !DocControls.AutoLayout || !AutoLayoutOfferRule(n))
        return true;
    const Prompter::Button answer = askConfirmation(
        QStringLiteral("Your puzzle is using %1 pages (not counting the solution). ").arg(n - 1) +
            QStringLiteral("The AutoLayout expert is configured to reduce that number. ") + ParagraphBreak +
            QStringLiteral("Do you want the Auto-Layout expert to make your puzzle fit on fewer pages? ") +
            QStringLiteral("(You can view the result before printing.) "),
        Prompter::Yes | Prompter::No | Prompter::Cancel);
    if (answer == Prompter::Cancel)
        return false;
    if (answer == Prompter::Yes)
        PrintHooks.RunAutoLayout();
    return true;
}

void PrintPuzzle()
{
    QPrinter *printer = CurrentPrinter();
    if (!printer) {
        showInformation(QStringLiteral("Windows reports that no printers are installed."));
        return;
    }
    // A printer added or chosen since the pages were laid out: lay them out for it first, so
    // that the paper shows what the screen does.
    if (RefreshPrinterMetrics())
        relayoutForPrinter();
    if (PrintsToFileOnly()) {
        // The file's sheets are the puzzle's paper.
        SetPrinterPaper(*printer, PaperWidth, PaperHeight);
        if (printer->outputFileName().isEmpty())
            printer->setOutputFileName(defaultPdfName());
    }
    if (!OfferAutoLayout())
        return;
    if (OverflowLineCount > 0)
        showInformation(
            QStringLiteral("Your clues take up too many pages. Try to pack more clues into fewer pages."));
    if (!g_dialogs)
        return;
    printer->setFromTo(0, 0);
    printer->setCopyCount(1);
    if (!g_dialogs->PrintDialog(*printer, 1, PageCount))
        return;
    // Another printer or paper chosen in the dialog.
    if (!PrintsToFileOnly() && RefreshPrinterMetrics())
        relayoutForPrinter();
    LastPrintJobTitles.clear();
    const int copies = std::max(1, printer->copyCount());
    if (copies > 1 && printer->collateCopies()) {
        printer->setCopyCount(1);
        if (!printer->outputFileName().isEmpty()) {
            // To a file: every copy goes into the one document (separate jobs would each
            // overwrite the file).
            RefreshPrinterMetrics();
            QPainter painter;
            printer->setDocName(docNameFor(*printer, jobTitle(1, copies)));
            if (!painter.begin(printer)) {
                showError(
                    QStringLiteral("The printer could not start the job \"%1\".").arg(jobTitle(1, copies)));
                return;
            }
            WYSIWYGChange();
            ClueFlow_EnsureCurrent();
            bool ok = true;
            for (int i = 1; i <= copies && ok; ++i) {
                LastPrintJobTitles.append(jobTitle(i, copies));
                ok = printCopy(painter, *printer, i > 1);
            }
            if (!aborted(*printer))
                painter.end();
        } else {
            for (int i = 1; i <= copies && !aborted(*printer); ++i)
                PrintPages(*printer, i, copies);
        }
        printer->setCopyCount(copies);
    } else {
        PrintPages(*printer, 1, copies);
    }
}

void RunPrinterSetup()
{
    QPrinter *printer = CurrentPrinter();
    if (!printer) {
        showInformation(QStringLiteral("Windows reports that no printers are installed."));
        return;
    }
    // Without a printer the dialog shows the puzzle's own paper, and what is chosen there
    // becomes the paper of the pages and of the PDF.
    const bool fileOnly = PrintsToFileOnly();
    if (fileOnly)
        SetPrinterPaper(*printer, PaperWidth, PaperHeight);
    if (!g_dialogs || !g_dialogs->PrinterSetupDialog(*printer))
        return;
    if (fileOnly) {
        const QRectF sheet = printer->pageLayout().fullRect(QPageLayout::Inch);
        if (sheet.width() >= 2 && sheet.width() <= 50 && sheet.height() >= 2 && sheet.height() <= 50) {
            PaperWidth = sheet.width();
            PaperHeight = sheet.height();
        }
    }
    RefreshPrinterMetrics();
    relayoutForPrinter();
}
