// The page elements as the document view paints them.
#include "viewpaint.h"

#include "alphabet.h"
#include "globals.h"
#include "layoutsettings.h"
#include "mainfm.h"
#include "myoverrides.h"
#include "printing.h"
#include "prompter.h"
#include "trv600.h"
#include "wysiwyg.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>

#include <algorithm>

int MinLetterFontSize = 6;
int MinNumberFontSize = 5;
TColor HighlightColor = 0xFF9933;
bool PastelHighlight = true;
bool SolutionUpsideDown = false;
int PageShadowWidth = 4;
bool ShowTileGuides = true;
TViewMetrics ViewMetrics;
TPageRect FirstClueBoxRect;

const TFreeformHelpLine FreeformHelpLines[7] = {
    {"To make a freeform crossword:", 0}, {"1.  Click on the \"Your Words &", 2},
    {"    Clues\" tab (above right)", 1}, {"and type some words.", 1},
    {"2.  Press the \"Make Puzzle\"", 2}, {"button (above).  Your", 1},
    {"puzzle will appear here.", 1},
};

namespace {

TSpan g_titleSpans[2];
TSpan g_worksheetSpan;

QRect toQRect(const TPixelRect &r) { return QRect(QPoint(r.Left, r.Top), QPoint(r.Right - 1, r.Bottom - 1)); }

bool onGridPage() { return CurrentPage == PuzzlePage; }
bool onSolutionPage() { return CurrentPage == SolutionPage && CurrentPage != PuzzlePage; }

QString currentTabCaption()
{
    if (!MainFm || !MainFm->ViewTabCtl || MainFm->ViewTabCtl->currentIndex() < 0)
        return QString();
    return MainFm->ViewTabCtl->tabText(MainFm->ViewTabCtl->currentIndex());
}

QFont pixelFont(const QString &family, int pixels, bool bold = false)
{
    // A puzzle without the font key names none: the sans-serif face stands in.
    QFont font(family.isEmpty() ? QStringLiteral("Arial") : family);
    font.setPixelSize(qMax(1, pixels));
    font.setBold(bold);
    return font;
}

// The cell's code and letter as one engine byte, the form the engine's display memory keeps.
char displayByte(QChar c)
{
    return c.unicode() < 32 ? static_cast<char>(c.unicode()) : DisplayToEngineLetter(c);
}

} // namespace

// ---- Page ----------------------------------------------------------------------------------------

void VP_BeginPaint(QPainter &canvas, const QRect &clip)
{
    g_titleSpans[0] = g_titleSpans[1] = g_worksheetSpan = TSpan();
    if (CurrentPage > PageCount && MainFm)
        MainFm->SetCurrentPage(PageCount);
    if (MainFm && !MainFm->DesktopImage().isNull())
        canvas.drawImage(clip, MainFm->DesktopImage());
    else
        canvas.fillRect(clip, ColorFromWin(DesktopColor));
    const QRect page =
        onGridPage() ? toQRect(ViewMetrics.AllPagesPixelRect) : toQRect(PageRectToPixels(PageRect));
    if (PageShadowWidth > 0) {
        canvas.fillRect(QRect(page.right() + 1, page.top() + PageShadowWidth, PageShadowWidth, page.height()),
                        Qt::black);
        canvas.fillRect(
            QRect(page.left() + PageShadowWidth, page.bottom() + 1, page.width(), PageShadowWidth),
            Qt::black);
    }
    canvas.fillRect(page, ColorFromWin(PageColor));
    if (!ShowTileGuides || !onGridPage())
        return;
    // Three lines at each boundary between sheets: the printable edge and the two margins.
    const TColor guides[3] = {0x0000FF, 0xC0C0C0, 0xC0C0C0};
    for (int i = 1; i < GridTileColumns; ++i) {
        const double x[3] = {MarginLeft + PrintableWidth() * i,
                             MarginLeft + PrintableWidth() * i + MarginRight,
                             MarginLeft + PrintableWidth() * i + MarginRight + MarginLeft};
        for (int k = 0; k < 3; ++k) {
            canvas.setPen(ColorFromWin(guides[k]));
            canvas.drawLine(PageXToPixel(x[k]), page.top(), PageXToPixel(x[k]), page.bottom());
        }
    }
    for (int j = 1; j < GridTileRows; ++j) {
        const double y[3] = {MarginTop + PrintableHeight() * j,
                             MarginTop + PrintableHeight() * j + MarginBottom,
                             MarginTop + PrintableHeight() * j + MarginBottom + MarginTop};
        for (int k = 0; k < 3; ++k) {
            canvas.setPen(ColorFromWin(guides[k]));
            canvas.drawLine(page.left(), PageYToPixel(y[k]), page.right(), PageYToPixel(y[k]));
        }
    }
}

void VP_UpdatePageCursor()
{
    if (MainFm)
        MainFm->UpdateViewCursor();
}

namespace {

int g_lastDrawnLine = 0;
double g_wordBankRight = 0;
bool g_sequenceBoxShown = false;

// A surface in inches over the view's page image; text gets the page colour behind it.
void bindView(TAsCanvas &cv, QPainter &canvas)
{
    cv.SetTargetView(&canvas);
    cv.Brush.Color = PageColor;
    cv.Brush.Clear = false;
}

bool cluesReady() { return !ClueLayoutDirty && SequenceReady && !CluesNeedRebuild; }

// Blanks one line of the flow on the current page.
void blankLine(TAsCanvas &cv, int line)
{
    int page = 0;
    TPageRect rect;
    if (ClueFlow_GetPlacement(line, &page, &rect) && page == CurrentPage)
        cv.FillRect(rect.Left, rect.Top, rect.Right + ClueColumnGap / 2, rect.Bottom, PageColor);
}

int firstDownRow(TClueGrid *grid, int row) { return grid == CluesDownSG ? std::max(1, row) : 1; }

} // namespace

void VP_DrawPageBorders(QPainter &canvas)
{
    TAsCanvas cv;
    bindView(cv, canvas);
    PrintPageBorder(cv, ScreenProfile);
}

void VP_DrawTitles(QPainter &canvas)
{
    TAsCanvas cv;
    bindView(cv, canvas);
    PrintTitles(cv, ScreenProfile, g_titleSpans);
}

void VP_DrawWorksheetLine(QPainter &canvas)
{
    TAsCanvas cv;
    bindView(cv, canvas);
    PrintWorksheetLine(cv, ScreenProfile, &g_worksheetSpan);
}

void VP_DrawSolutionHeader(QPainter &canvas)
{
    if (SolutionPage != CurrentPage)
        return;
    TAsCanvas cv;
    bindView(cv, canvas);
    PrintSolutionHeader(cv, ScreenProfile);
}

void VP_DrawCreditsLine(QPainter &canvas)
{
    if (!onGridPage())
        return;
    TAsCanvas cv;
    bindView(cv, canvas);
    PrintCreditsLine(cv, ScreenProfile);
}

void VP_DrawAllClues(QPainter &canvas)
{
    if (CluesNeedRebuild)
        return;
    ClueFlow_EnsureCurrent();
    VP_PaintCluesStartingFrom(canvas, CluesAcrossSG, 0);
    if (WordBankPage == CurrentPage && !AutoLayoutPending)
        VP_DrawWordBankArea(canvas);
}

void Viewport_DrawAcrDwn(QPainter &canvas, int direction, int line)
{
    if (!cluesReady())
        return;
    TAsCanvas cv;
    bindView(cv, canvas);
    if (direction == 2 && line > 1) {
        blankLine(cv, line - 1);
        blankLine(cv, line);
        blankLine(cv, line + 1);
    }
    PrintClueHeading(cv, ScreenProfile, CurrentPage, line);
    int page = 0;
    TPageRect rect;
    if (line == 1 && ClueFlow_GetPlacement(1, &page, &rect))
        FirstClueBoxRect = rect;
}

void VP_DrawOneClue(QPainter &canvas, TClueGrid *grid, int row)
{
    if (!cluesReady() || !grid || !grid->ValidRow(row))
        return;
    bool ok = false;
    grid->Cell(3, row).trimmed().toInt(&ok);
    if (!ok) {
        // Never a box inside a paint: it is shown once, after it.
        if (!g_sequenceBoxShown) {
            g_sequenceBoxShown = true;
            const QString text =
                QStringLiteral(
                    "Can't find sequence # in: \"%1\" for clue: \"%2\" for location && word: \"%3\"")
                    .arg(grid->Cell(3, row), grid->Cell(1, row), grid->Cell(0, row)) +
                ParagraphBreak + QStringLiteral("Row=%1  RowCount=%2").arg(row).arg(grid->RowCount());
            QTimer::singleShot(0, [text] { showInformation(text); });
        }
        return;
    }
    if (AutoLayoutPending)
        return;
    TAsCanvas cv;
    bindView(cv, canvas);
    const int last = PrintClue(cv, ScreenProfile, CurrentPage, grid, row, ClueColumnGap / 2);
    g_lastDrawnLine = std::max(g_lastDrawnLine, last);
}

void VP_PaintCluesStartingFrom(QPainter &canvas, TClueGrid *grid, int row)
{
    if (!cluesReady())
        return;
    g_lastDrawnLine = 0;
    const bool fromStart = grid == CluesAcrossSG && row <= 0;
    if (grid == CluesAcrossSG) {
        if (fromStart && CluesAcrossSG->RowCount() > 1)
            Viewport_DrawAcrDwn(canvas, 1, 1);
        for (int r = std::max(1, row); r < CluesAcrossSG->RowCount(); ++r)
            VP_DrawOneClue(canvas, CluesAcrossSG, r);
    }
    if (CluesDownSG && CluesDownSG->RowCount() > 1) {
        if (grid == CluesAcrossSG)
            Viewport_DrawAcrDwn(canvas, 2, DownHeadingLine());
        for (int r = firstDownRow(grid, row); r < CluesDownSG->RowCount(); ++r)
            VP_DrawOneClue(canvas, CluesDownSG, r);
    }
    // Lines the flow no longer needs, up to the end of the last drawn line's page.
    TAsCanvas cv;
    bindView(cv, canvas);
    int lastPage = 0;
    TPageRect rect;
    if (!ClueFlow_GetPlacement(std::max(1, g_lastDrawnLine), &lastPage, &rect))
        return;
    for (int line = g_lastDrawnLine + 1; line < 9999; ++line) {
        int page = 0;
        if (!ClueFlow_GetPlacement(line, &page, &rect) || page > lastPage)
            break;
        if (page == CurrentPage)
            cv.FillRect(rect.Left, rect.Top, rect.Right + ClueColumnGap / 2, rect.Bottom, PageColor);
    }
}

void VP_DrawWordBankArea(QPainter &canvas)
{
    double right = 0;
    if (CurrentPage >= 1 && CurrentPage <= MaxLayoutPages)
        for (int j = 1; j <= ClueBoxCount[CurrentPage]; ++j)
            right = std::max(right, ClueBoxes[CurrentPage][j].Right);
    g_wordBankRight = std::min(right + FrameInside.Right, PaperWidth) - 0.05;
    if (DocControls.WordBankCB && WordBankMode == 1)
        VP_DrawWordBank(canvas);
}

void VP_DrawWordBank(QPainter &canvas)
{
    TAsCanvas cv;
    bindView(cv, canvas);
    PrintWordBank(cv, ScreenProfile, CurrentPage);
}

void VP_DrawFreeformHelp(QPainter &canvas)
{
    if (GridUpdating)
        return;
    TPixelRect first, last;
    if (onGridPage()) {
        first = CellPixelRect(1, 1);
        last = CellPixelRect(Columns, Rows);
    } else if (onSolutionPage()) {
        first = CellPixelRectFor(1, 1);
        last = CellPixelRectFor(Columns, Rows);
    } else {
        return;
    }
    const QRect area(QPoint(first.Left, first.Top), QPoint(last.Right, last.Bottom));
    const int h = area.height() / 11 - 1;
    if (h < 1)
        return;
    canvas.setFont(pixelFont(QStringLiteral("Arial"), h));
    const QFontMetrics metrics(canvas.font());
    const int middle = area.left() + area.width() / 2;
    int y = area.top() + h / 2;
    for (const TFreeformHelpLine &line : FreeformHelpLines) {
        y += line.Gap * h;
        const QString text = QString::fromLatin1(line.Text);
        canvas.setPen(ColorFromWin(line.Gap == 0 ? 0xFF8000 : BlendColor(0xFF8000, PageColor, 0.85)));
        canvas.drawText(middle - metrics.horizontalAdvance(text) / 2, y + metrics.ascent(), text);
    }
}

// ---- Cells ---------------------------------------------------------------------------------------

TColor ViewCellColor(TColor colour)
{
    if (PastelHighlight) {
        static const struct {
            TColor from, to;
        } kPastels[] = {{0x00FF00, 0x02BFFFBF & 0xFFFFFF},
                        {0xFF00FF, 0xA0D0FF},
                        {0x00FFFF, 0xA7FFFF},
                        {0x0000FF, 0x9090FF},
                        {0xA7FFFF, 0xDCFFFF}};
        if (colour == HighlightColor)
            colour = 0xFFFFB0;
        else
            for (const auto &p : kPastels)
                if (colour == p.from) {
                    colour = p.to;
                    break;
                }
    }
    if (!currentTabCaption().contains(QLatin1String("Pencil")) && colour != RemovedCellColor && colour != 0)
        return PageColor;
    return colour;
}

void VP_DrawCell(QPainter &canvas, int column, int row)
{
    if (GridUpdating || !MainFm)
        return;
    const bool gridPage = onGridPage();
    const bool solutionPage = onSolutionPage();
    if (!gridPage && !solutionPage)
        return;
    TPixelRect cell = gridPage ? CellPixelRect(column, row) : CellPixelRectFor(column, row);

    const int n = TRVGetCellNumber(column, row);
    QChar c = GetCellLetter(column, row);
    if (TRVGetCellDispNumber(column, row) == n && TRVGetCellDispLetter(column, row) == displayByte(c))
        return;
    if (gridPage && ViewMetrics.PencilLetterPixelHeight < MinLetterFontSize)
        return;
    const bool fixed = TRVIsCellFixed(column, row) != 0;
    TColor letterColour = ColorIndexToColor(TRVGetFontColor(column, row));
    if (solutionPage && SolutionUpsideDown)
        c = GetCellLetter(Columns - column + 1, Rows - row + 1);
    c = UpperCaseChar(c);
    const bool isLetter = IsAlphabetChar(c) || c.unicode() == TRV_EMPTY;
    const bool isolated = MainFm->IsIsolatedRemovedCell(column, row);
    const int w = qMax(1, GridLinePixelWidth);
    // The inside of the cell, within its grid lines.
    QRect box(QPoint(cell.Left + w, cell.Top + w), QPoint(cell.Right - w, cell.Bottom - w));
    if (isolated && currentTabCaption().contains(QLatin1String("Pencil"))) {
        canvas.setPen(QPen(ColorFromWin(clPuzzleGrid), w));
        const int inset = box.height() / 8;
        const QRect x = box.adjusted(inset, inset, -inset, -inset);
        canvas.drawLine(x.topLeft(), x.bottomRight());
        canvas.drawLine(x.topRight(), x.bottomLeft());
    }
    if (isLetter && box.width() > 0 && box.height() > 0) {
        const bool theme = letterColour != 0;
        if (fixed)
            letterColour = 0x008000;
        const QString text = c.unicode() == TRV_EMPTY ? QString() : QString(c);
        if (solutionPage) {
            // The printed solution's own painters, in view pixels.
            TAsCanvas cv;
            bindView(cv, canvas);
            if (NumberedSolution && n >= 1)
                PrintSolutionNumber(cv, ScreenProfile, column, row);
            if (SolutionUpsideDown)
                PrintSolutionLetter(cv, ScreenProfile, column, row, Columns - column + 1, Rows - row + 1);
            else
                PrintSolutionLetter(cv, ScreenProfile, column, row);
        } else {
            const bool symmetrical = MainFm->TightRB && MainFm->TightRB->isChecked();
            bool bold = symmetrical && theme && PencilThemeBold;
            TColor colour = letterColour;
            if (letterColour == 0 || FreeformMode || !PencilThemeColor)
                colour = PencilColor;
            QString shown = text;
            if (PencilHideAnswer && !text.isEmpty()) {
                shown = QString(QChar(0x2713)); // check mark
                bold = true;
                colour = PencilColor;
            }
            // The cell is composed in one reusable bitmap, then copied.
            QImage &bitmap = MainFm->ViewCellBitmap;
            if (box.width() >= 1000 || box.height() >= 1000)
                return;
            if (bitmap.size() != box.size())
                bitmap = QImage(box.size(), QImage::Format_RGB32);
            bitmap.fill(ColorFromWin(ViewCellColor(TRVGetCellDispColor(column, row))));
            QPainter cellPainter(&bitmap);
            cellPainter.setRenderHint(QPainter::TextAntialiasing);
            if (ViewMetrics.PuzzleNumberPixelHeight >= MinNumberFontSize && n >= 1) {
                cellPainter.setFont(pixelFont(PuzzleNumberFont, ViewMetrics.PuzzleNumberPixelHeight));
                cellPainter.setPen(ColorFromWin(clPuzzleNumber));
                cellPainter.drawText(1, QFontMetrics(cellPainter.font()).ascent(), QString::number(n));
                TRVSetCellDispNumber(column, row, n);
            }
            cellPainter.setFont(pixelFont(PencilFont, ViewMetrics.PencilLetterPixelHeight, bold));
            cellPainter.setPen(ColorFromWin(colour));
            const QFontMetrics metrics(cellPainter.font());
            int y = qRound(0.8 * ViewMetrics.PuzzleNumberPixelHeight);
            if (PencilFont == QLatin1String("Comic Sans MS"))
                y -= qRound(0.15 * ViewMetrics.PencilLetterPixelHeight);
            cellPainter.drawText((box.width() - metrics.horizontalAdvance(shown)) / 2, y + metrics.ascent(),
                                 shown);
            cellPainter.end();
            canvas.drawImage(box.topLeft(), bitmap);
        }
    }
    TRVSetCellDispLetter(column, row, displayByte(GetCellLetter(column, row)));
}
