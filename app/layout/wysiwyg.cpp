// The page model and clue flow: clue boxes, the line map, the wrapped lines of every clue and
// where each line falls, the title block, the word bank and the output-device metrics.
//
// Measuring is done once per flow on a measuring image at the printer's resolution (300 pixels
// to the inch without a printer), with font hinting off, so that the line breaks are the same
// on the screen, on paper and in every export. Hostile layout values (from a file) are clamped
// here for composing only; the settings themselves are left as they are.
#include "wysiwyg.h"

#include "fileio.h"
#include "globals.h"
#include "layoutsettings.h"

#include "printersource.h"
#include "prompter.h"
#include "trv600.h"

#include <QDataStream>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QIODevice>
#include <QImage>
#include <QLoggingCategory>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

Q_LOGGING_CATEGORY(lcPageModel, "trv.layout.pagemodel", QtWarningMsg)

// ---- Page model -------------------------------------------------------------------------------

TPageRect ClueBoxes[MaxLayoutPages + 1][MaxBoxesPerPage + 2];
int ClueBoxCount[MaxLayoutPages + 1];
int LineMap[MaxLayoutPages + 1][MaxBoxesPerPage + 2];
bool ClueBoxesReady = false, SequenceReady = false, PrinterInfoReady = false;
int NewColumnSkip = 0;
double ClueColumnWidth = 0;
double LineHeightBase = 12.0 / 72;
double ClueLineHeight = 12.0 / 72 * 1.15;
TPageRect GridKeepOutRect;
TPageRect WordBankRect;
QStringList WordBankList;
int OverflowLineCount = 0;

double InchesPerDevicePixelX = 0, InchesPerDevicePixelY = 0;
double HalfDevicePixelX = 0, HalfDevicePixelY = 0;
double PuzzleCellInner = 0, SolutionCellInner = 0;
int AcrDwnDeviceHeight = 0, ClueTextDeviceHeight = 0, ClueNumberDeviceHeight = 0, TenPointDeviceHeight = 0;
TGridFontSize PuzzleNumberSize, PencilLetterSize, SolutionLetterSize, SolutionNumberSize;
int ClueWrapWidth = 1;
int NumberColumnWidth = 0;
double NumberColumnWidthInches = 0;
int ClueWrapCount = 0;

TLayoutHooks LayoutHooks;

namespace {

// ---- Values for composing (clamped; the settings stay as they are) ----------------------------

double finiteOr(double v, double fallback) { return std::isfinite(v) ? v : fallback; }

int composeColumns(const TLayoutSettings &s) { return std::clamp(s.ClueColumns, 1, MaxLayoutPages); }
int composeLeading(const TLayoutSettings &s) { return std::clamp(s.LeadingPercentage, 10, 1000); }
int composeSize(int points) { return std::clamp(points, 1, 1000); }
int composeNumberSize(const TLayoutSettings &s) { return composeSize(s.ClueNumberFontSize); }
int composeTextSize(const TLayoutSettings &s) { return composeSize(s.ClueTextFontSize); }
double composePaperWidth(const TLayoutSettings &s) { return finiteOr(s.PaperWidth, 8.5); }
double composePaperHeight(const TLayoutSettings &s) { return finiteOr(s.PaperHeight, 11); }
double composeMargin(double m) { return finiteOr(m, 0); }
double composeCell(double size) { return std::max(0.0, finiteOr(size, 0)); }
int composePuzzlePage(const TLayoutSettings &s) { return std::clamp(s.PuzzlePage, 1, MaxLayoutPages); }

bool wordBankAtBottom(const TLayoutSettings &s) { return DocControls.WordBankCB && s.WordBankMode == 1; }

bool hasClueRows(const TClueGrid *grid) { return grid && grid->RowCount() > 1; }

int readNumber(const QString &text, int fallback)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok ? n : fallback;
}

// ---- Measuring device -------------------------------------------------------------------------

struct TMeasuring {
    int dpiX = 0, dpiY = 0;
    QImage image;
    QFont numberFont, textFont, themeFont;
    std::unique_ptr<QFontMetricsF> number, text, theme;
    bool fontsReady = false;
};
TMeasuring g_measure;

int devicePpiX() { return DevicePixelsPerInchX > 0 ? DevicePixelsPerInchX : 300; }
int devicePpiY() { return DevicePixelsPerInchY > 0 ? DevicePixelsPerInchY : 300; }

// The image text is measured on, at the device resolution.
QImage &measuringImage()
{
    const int x = devicePpiX(), y = devicePpiY();
    if (g_measure.image.isNull() || g_measure.dpiX != x || g_measure.dpiY != y) {
        g_measure.image = QImage(4, 4, QImage::Format_ARGB32_Premultiplied);
        g_measure.image.setDotsPerMeterX(qRound(x / 0.0254));
        g_measure.image.setDotsPerMeterY(qRound(y / 0.0254));
        g_measure.dpiX = x;
        g_measure.dpiY = y;
        g_measure.fontsReady = false;
    }
    return g_measure.image;
}

QFont measuringFont(const QString &family, int pixels, TFontStyles style)
{
    QFont font(family);
    font.setPixelSize(std::max(1, pixels));
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false); // widths are sums of character advances
    font.setBold(style & fsBold);
    font.setItalic(style & fsItalic);
    font.setUnderline(style & fsUnderline);
    font.setStrikeOut(style & fsStrikeOut);
    return font;
}

// The clue fonts of this flow (ClueFlow_MeasureClues makes them; EstablishOne makes them when
// it is called alone).
// Character advances of the two clue fonts, kept until the fonts change.
QHash<char16_t, double> g_textAdvances;
QHash<char16_t, double> g_themeAdvances;

void buildClueFonts(const TLayoutSettings &s)
{
    g_textAdvances.clear();
    g_themeAdvances.clear();
    QImage &image = measuringImage();
    const int numberPixels = InchesToDevicePixels(composeNumberSize(s) / 72.0);
    const int textPixels = InchesToDevicePixels(composeTextSize(s) / 72.0);
    g_measure.numberFont = measuringFont(s.ClueNumberFont, numberPixels, s.ClueNumberStyle & fsBold);
    g_measure.textFont = measuringFont(s.ClueTextFont, textPixels, 0);
    g_measure.themeFont = measuringFont(s.ClueTextFont, textPixels, s.ClueThemeStyle);
    g_measure.number = std::make_unique<QFontMetricsF>(g_measure.numberFont, &image);
    g_measure.text = std::make_unique<QFontMetricsF>(g_measure.textFont, &image);
    g_measure.theme = std::make_unique<QFontMetricsF>(g_measure.themeFont, &image);
    g_measure.fontsReady = true;
}

void ensureClueFonts(const TLayoutSettings &s)
{
    measuringImage();
    if (!g_measure.fontsReady || !g_measure.text)
        buildClueFonts(s);
}

// ---- Messages ---------------------------------------------------------------------------------

enum class TMessageKind {
    TooManyPages,
    CluesEndUnknown,
    NoWordSlots,
    PaperTooSmall
};
struct TPendingMessage {
    TMessageKind Kind;
    QString Text;
};
std::vector<TPendingMessage> g_pending;
bool g_tooManyReported = false;   // this overflowing layout has queued its message
bool g_cluesEndReported = false;  // once per run
bool g_noSlotsReported = false;   // once per run
bool g_noMiniBoxReported = false; // once per run
bool g_showingMessages = false;

const QString kTooManyPages =
    QStringLiteral("Your clues take up too many pages. Try to pack more clues into fewer pages.");

void queueMessage(TMessageKind kind, const QString &text) { g_pending.push_back({kind, text}); }

void dropPending(TMessageKind kind)
{
    g_pending.erase(std::remove_if(g_pending.begin(), g_pending.end(),
                                   [kind](const TPendingMessage &m) { return m.Kind == kind; }),
                    g_pending.end());
}

// ---- Placement --------------------------------------------------------------------------------

int totalLines()
{
    long long sum = 0;
    for (int p = 1; p <= MaxLayoutPages; ++p)
        for (int j = 1; j <= ClueBoxCount[p]; ++j)
            sum += std::max(0, LineMap[p][j]);
    return int(std::min<long long>(sum, 1 << 30));
}

// Line L of the boxes as they are (no skip).
bool rawPlace(int line, int *page, TPageRect *rect)
{
    if (line < 1)
        return false;
    long long first = 1;
    for (int p = 1; p <= MaxLayoutPages; ++p)
        for (int j = 1; j <= ClueBoxCount[p]; ++j) {
            const int n = std::max(0, LineMap[p][j]);
            if (line >= first && line < first + n) {
                const TPageRect &box = ClueBoxes[p][j];
                if (page)
                    *page = p;
                if (rect) {
                    rect->Left = box.Left;
                    rect->Right = box.Right;
                    rect->Top = box.Top + double(line - first) * ClueLineHeight;
                    rect->Bottom = rect->Top + ClueLineHeight;
                }
                return true;
            }
            first += n;
        }
    return false;
}

// The down heading moves to a new column only when there are across and down clues.
bool skipApplies(const TLayoutSettings &s)
{
    return s.NewColumnDown && hasClueRows(CluesAcrossSG) && hasClueRows(CluesDownSG) &&
           DownHeadingLine() >= 1;
}

void computeSkip(int heading)
{
    NewColumnSkip = 0;
    int refPage = 0, curPage = 0;
    TPageRect ref, cur;
    if (!rawPlace(heading - 2, &refPage, &ref))
        return;
    bool placed = rawPlace(heading, &curPage, &cur);
    // Stops at the first line without a placement (the clues run past the last box).
    while (placed && curPage == refPage && cur.Left == ref.Left) {
        ++NewColumnSkip;
        placed = rawPlace(heading + NewColumnSkip, &curPage, &cur);
    }
}

// The line's number in the boxes, with the skip of NewColumnDown.
int mappedLine(const TLayoutSettings &s, int line)
{
    if (skipApplies(s) && line >= DownHeadingLine())
        return line + NewColumnSkip;
    return line;
}

bool placeLine(const TLayoutSettings &s, int line, int *page, TPageRect *rect, bool report)
{
    int mapped = line;
    if (s.NewColumnDown) {
        if (skipApplies(s)) {
            const int heading = DownHeadingLine();
            if (line == heading)
                computeSkip(heading);
            if (line >= heading)
                mapped = line + NewColumnSkip;
        } else {
            NewColumnSkip = 0;
        }
    }
    if (rawPlace(mapped, page, rect))
        return true;
    if (report && !ClueBoxesReady) {
        InternalError(QStringLiteral("Clue boxes are not initialized."));
        return false;
    }
    // Lines past the last box are the overflow the flow reports (OverflowLineCount); painters
    // just skip them.
    if (report && mapped < 1 && line != -99 && line != -88 && line != -22 && !g_noMiniBoxReported) {
        g_noMiniBoxReported = true;
        InternalError(QStringLiteral("No MiniBox for Sequence Number ") + QString::number(line));
    }
    return false;
}

// ---- Flow -------------------------------------------------------------------------------------

// Skip, ready flag and overflow after the line numbers were written.
void finishSequence(const TLayoutSettings &s)
{
    NewColumnSkip = 0;
    if (skipApplies(s))
        placeLine(s, DownHeadingLine(), nullptr, nullptr, false);
    SequenceReady = true;

    const int last = LastClueLine();
    OverflowLineCount = last >= 1 ? std::max(0, mappedLine(s, last) - totalLines()) : 0;
    if (OverflowLineCount > 0) {
        if (!g_tooManyReported) {
            g_tooManyReported = true;
            queueMessage(TMessageKind::TooManyPages, kTooManyPages);
        }
    } else {
        // A layout that fits re-arms the message and withdraws one not shown yet.
        g_tooManyReported = false;
        dropPending(TMessageKind::TooManyPages);
    }
}

int g_reportedPageCount = -1; // the count the window was last told

// Tells the window a page count it was not told yet; never while the Auto-Layout expert tries
// layouts (the first flow or ClueFlow_EnsureCurrent after it tells).
void reportPageCount(bool changed)
{
    if (AutoLayoutPending || !(changed || PageCount != g_reportedPageCount))
        return;
    g_reportedPageCount = PageCount;
    if (LayoutHooks.PageCountChanged)
        LayoutHooks.PageCountChanged(PageCount);
}

void setPageCount(const TLayoutSettings &s)
{
    const int count = std::max(LastCluePage(s) + 1, composePuzzlePage(s) + 1);
    const bool changed = count != PageCount;
    PageCount = SolutionPage = count;
    reportPageCount(changed);
}

// ---- Inputs of a flow (ClueFlow_EnsureCurrent) -------------------------------------------------

struct TFlowInputs {
    QByteArray Settings;
    QStringList Rows; // across rows, then down rows
    int AcrossRows = 0;
    int AcrossChanges = -1, DownChanges = -1;
    int AcrossSerial = 0, DownSerial = 0;
    bool operator==(const TFlowInputs &) const = default;
};
TFlowInputs g_flowInputs;
bool g_haveFlowInputs = false;

QString rowFingerprint(const TClueRow &row)
{
    return row.Cells[0] + QChar(0x1F) + row.Cells[1] + QChar(0x1F) + QChar(row.ThemeWord ? u'T' : u'F');
}

TFlowInputs currentFlowInputs(const TLayoutSettings &s)
{
    TFlowInputs in;
    QDataStream out(&in.Settings, QIODevice::WriteOnly);
    const TPrinterMetrics &pm = CachedPrinterMetrics();
    out << pm.Printer << pm.DpiX << pm.DpiY << pm.PaperWidthPx << pm.PaperHeightPx << pm.OffsetXPx
        << pm.OffsetYPx;
    out << DevicePixelsPerInchX << DevicePixelsPerInchY << s.PaperWidth << s.PaperHeight << s.MarginLeft
        << s.MarginTop << s.MarginRight << s.MarginBottom;
    out << s.CellWidth << s.CellHeight << s.PuzzleLeft << s.PuzzleTop << PuzzleLineInset
        << s.GridLineThickness << Columns << Rows << s.CellWidthSol << s.CellHeightSol
        << s.GridLineThicknessSol << s.AlignSolution << s.SolutionLeft << s.SolutionTop << SolutionLineInset;
    out << s.ClueColumns << s.SeparateClues << s.PuzzlePage << s.LeadingPercentage << s.ClueNumberFont
        << s.ClueNumberFontSize << s.ClueNumberStyle << s.ClueTextFont << s.ClueTextFontSize
        << s.ClueThemeStyle << s.ClueThemeAllCaps << s.NewColumnDown << s.AcrDwnFontSize << ClueNumberDigits;
    out << s.TitleFontSize << s.SubtitleFontSize << s.SubtitleExtraSpacing << TitleBlockHeight
        << int(s.PutTitleOnCode) << s.CellNumberPercent << s.CellLetterPercent << PencilSize;
    out << s.WordBankMode << s.WordBankSort << s.WordBankPage << s.WordBankHeader << DocControls.WordBankCB
        << DocControls.PuzzleTitle << DocControls.PuzzleSubtitle << FreeformMode;
    out << (wordBankAtBottom(s) ? BuildWordBankText(s) : QString());
    if (CluesAcrossSG) {
        in.AcrossChanges = CluesAcrossSG->ChangeCount();
        in.AcrossSerial = CluesAcrossSG->Serial();
        for (int r = 1; r < CluesAcrossSG->RowCount(); ++r)
            in.Rows.append(rowFingerprint(CluesAcrossSG->Row(r)));
    }
    in.AcrossRows = int(in.Rows.size());
    if (CluesDownSG) {
        in.DownChanges = CluesDownSG->ChangeCount();
        in.DownSerial = CluesDownSG->Serial();
        for (int r = 1; r < CluesDownSG->RowCount(); ++r)
            in.Rows.append(rowFingerprint(CluesDownSG->Row(r)));
    }
    return in;
}

void recordFlowInputs(const TLayoutSettings &s)
{
    g_flowInputs = currentFlowInputs(s);
    g_haveFlowInputs = true;
}

// The last flow numbered the rows the grids hold now: the same grids with as many rows. Cheap
// enough for every single-clue change; ClueFlow_EnsureCurrent compares the texts as well.
bool flowNumberedTheseRows()
{
    if (!g_haveFlowInputs || !SequenceReady || !CluesAcrossSG || !CluesDownSG)
        return false;
    const int across = CluesAcrossSG->RowCount() - 1;
    const int down = CluesDownSG->RowCount() - 1;
    return g_flowInputs.AcrossSerial == CluesAcrossSG->Serial() &&
           g_flowInputs.DownSerial == CluesDownSG->Serial() && g_flowInputs.AcrossRows == across &&
           g_flowInputs.Rows.size() == across + down;
}

// After one clue was re-wrapped: the model is current again when nothing else changed.
void recordSingleClueChange(const TLayoutSettings &s, const TClueGrid *grid, int row)
{
    if (!g_haveFlowInputs)
        return;
    TFlowInputs now = currentFlowInputs(s);
    if (now.Settings != g_flowInputs.Settings || now.Rows.size() != g_flowInputs.Rows.size() ||
        now.AcrossRows != g_flowInputs.AcrossRows)
        return;
    const int changed = (grid == CluesDownSG ? now.AcrossRows : 0) + row - 1;
    for (int i = 0; i < now.Rows.size(); ++i)
        if (i != changed && now.Rows[i] != g_flowInputs.Rows[i])
            return;
    g_flowInputs = now;
}

// ---- Wrapping ---------------------------------------------------------------------------------

bool isBlank(QChar c) { return c.unicode() <= ' '; }

// The text of a word bank split into lines no wider than the area.
QStringList breakWordBank(const TLayoutSettings &s, QString text, double areaWidth)
{
    QImage &image = measuringImage();
    const int pixels = RoundToPixel(3.0 * composeTextSize(s) / 72.0 * devicePpiY());
    const QFontMetricsF plain(measuringFont(s.ClueTextFont, pixels, 0), &image);
    const QFontMetricsF bold(measuringFont(s.ClueTextFont, pixels, fsBold), &image);
    const double headingWidth = bold.horizontalAdvance(s.WordBankHeader + QStringLiteral("  "));
    const double fullWidth = RoundToPixel(finiteOr(areaWidth, 0) * devicePpiX() * 3);
    const QString breaks = s.WordBankSort == 2 ? QStringLiteral(", ") : QStringLiteral(",;");

    QStringList lines;
    bool first = true;
    for (;;) {
        text = text.trimmed();
        if (text.isEmpty())
            break;
        const double available = fullWidth - (first ? headingWidth : 0);
        first = false;
        auto fits = [&](int length) { return plain.horizontalAdvance(text.left(length)) < available; };
        // Prefixes that end at a break, and the whole text (its end ends the last item). A
        // separator stays at the end of its line; a blank break goes.
        std::vector<int> ends;
        for (int i = 1; i < text.size(); ++i)
            if (breaks.contains(text[i]))
                ends.push_back(isBlank(text[i]) ? i : i + 1);
        const int itemEnd = ends.empty() ? int(text.size()) : ends.front();
        ends.push_back(int(text.size()));
        int take = 0;
        int lo = 0, hi = int(ends.size()) - 1;
        while (lo <= hi) { // the last end that fits (widths grow with the prefix)
            const int mid = (lo + hi) / 2;
            if (fits(ends[size_t(mid)])) {
                take = ends[size_t(mid)];
                lo = mid + 1;
            } else {
                hi = mid - 1;
            }
        }
        if (take == 0) {
            // Not even the first item fits: as much of it as fits, at least one character.
            take = 1;
            int a = 2, b = itemEnd;
            while (a <= b) {
                const int mid = (a + b) / 2;
                if (fits(mid)) {
                    take = mid;
                    a = mid + 1;
                } else {
                    b = mid - 1;
                }
            }
            // A separator never starts a line: it overhangs the rest of its item.
            if (take + 1 == itemEnd && breaks.contains(text[take]) && !isBlank(text[take]))
                take = itemEnd;
        }
        lines.append(text.left(take));
        text.remove(0, take); // the blanks after it go with the trim
    }
    return lines;
}

} // namespace

// ---- Device conversion ------------------------------------------------------------------------

int InchesToDevicePixels(double inches)
{
    const double perPixel = InchesPerDevicePixelY;
    if (!(perPixel > 0) || !std::isfinite(perPixel))
        return RoundToPixel(inches * 300);
    return RoundToPixel(inches / perPixel);
}

// ---- Metrics ----------------------------------------------------------------------------------

void ComputeGridTiles(const TLayoutSettings &s)
{
    GridTileColumns = GridTileRows = 1;
    const double printableWidth = PrintableWidth(s);
    const double printableHeight = PrintableHeight(s);
    const double gridRight = CellPageLeft(s, Columns + 1) + PuzzleLineInset;
    const double gridBottom = CellPageTop(s, Rows + 1) + PuzzleLineInset;
    auto tiles = [](double extent, double printable) {
        if (!(printable > 0) || !std::isfinite(printable) || !std::isfinite(extent))
            return 1;
        const double n = std::ceil(extent / printable - 1e-9);
        return std::isfinite(n) ? int(std::clamp(n, 1.0, 50.0)) : 1;
    };
    GridTileColumns = tiles(gridRight - s.MarginLeft, printableWidth);
    GridTileRows = tiles(gridBottom - s.MarginTop, printableHeight);
}

void ComputeGridTiles() { ComputeGridTiles(LayoutSettings); }

void WYSIWYGChange(TLayoutSettings &s)
{
    InitPageMetrics(s);
    const int ppiX = devicePpiX(), ppiY = devicePpiY();
    InchesPerDevicePixelX = 1.0 / ppiX;
    InchesPerDevicePixelY = 1.0 / ppiY;
    HalfDevicePixelX = InchesPerDevicePixelX / 2;
    HalfDevicePixelY = InchesPerDevicePixelY / 2;
    PuzzleCellInner = std::min(s.CellHeight - s.GridLineThickness, s.CellWidth - s.GridLineThickness);
    SolutionCellInner =
        std::min(GetCellHeight(s) - GetGridPageValue(s), GetCellWidth(s) - GetGridPageValue(s));
    auto height = [ppiY](int points) { return std::max(0, RoundToPixel(ppiY * double(points) / 72)); };
    AcrDwnDeviceHeight = height(s.AcrDwnFontSize);
    ClueTextDeviceHeight = height(s.ClueTextFontSize);
    ClueNumberDeviceHeight = height(s.ClueNumberFontSize);
    TenPointDeviceHeight = height(10);
    // The grid font sizes, for every output device.
    auto gridFont = [ppiY](double inner, int percent) {
        TGridFontSize size;
        size.Pixels = std::max(0, RoundToPixel(ppiY * finiteOr(inner, 0) * percent / 100.0));
        size.Points = RoundToPixel(size.Pixels * 72.0 / ppiY);
        return size;
    };
    PuzzleNumberSize = gridFont(PuzzleCellInner, s.CellNumberPercent);
    PencilLetterSize = gridFont(PuzzleCellInner, PencilSize);
    SolutionLetterSize = gridFont(SolutionCellInner, s.CellLetterPercent);
    SolutionNumberSize = gridFont(SolutionCellInner, s.CellNumberPercent);
    PrinterInfoReady = true;
    measuringImage();
    UpdateGridPosition(s);
    ComputeGridTiles(s);
}

void WYSIWYGChange() { WYSIWYGChange(LayoutSettings); }

void ComputeTitleBlockHeight(const TLayoutSettings &s)
{
    const bool title = !DocControls.PuzzleTitle.isEmpty();
    const bool subtitle = !DocControls.PuzzleSubtitle.isEmpty();
    int points = 0;
    if (title)
        points += std::max(0, s.TitleFontSize);
    if (subtitle)
        points += std::max(0, s.SubtitleFontSize);
    TitleBlockHeight = points * 1.3 / 72;
    if (title && subtitle)
        TitleBlockHeight += finiteOr(s.SubtitleExtraSpacing, 0);
    UpdateGridPosition(s);
}

void ComputeTitleBlockHeight() { ComputeTitleBlockHeight(LayoutSettings); }

// ---- Boxes ------------------------------------------------------------------------------------

void WordBank_Layout(const TLayoutSettings &s)
{
    WordBankList.clear();
    const double width = composePaperWidth(s) - composeMargin(s.MarginLeft) - composeMargin(s.MarginRight);
    WordBankList = breakWordBank(s, BuildWordBankText(s), width);
}

void WordBank_Layout() { WordBank_Layout(LayoutSettings); }

void ClueBoxes_Setup(TLayoutSettings &s)
{
    UpdateGridPosition(s);
    const double cellWidth = composeCell(s.CellWidth);
    const double cellHeight = composeCell(s.CellHeight);
    const double paperWidth = composePaperWidth(s);
    const double paperHeight = composePaperHeight(s);
    const double marginLeft = composeMargin(s.MarginLeft);
    const double marginRight = composeMargin(s.MarginRight);
    const double marginTop = composeMargin(s.MarginTop);
    const double marginBottom = composeMargin(s.MarginBottom);
    const int columns = composeColumns(s);
    const double titleHeight = finiteOr(TitleBlockHeight, 0);

    s.PuzzleClueGap = cellHeight * 1.2;
    s.ClueColumnGap = cellWidth * 0.75;

    const TPageRect first = CellPageRect(s, 1, 1);
    const TPageRect last = CellPageRect(s, std::max(1, Columns), std::max(1, Rows));
    GridKeepOutRect.Left = first.Left - s.ClueColumnGap;
    GridKeepOutRect.Top = first.Top - s.PuzzleClueGap;
    GridKeepOutRect.Right = last.Right + s.ClueColumnGap;
    GridKeepOutRect.Bottom = last.Bottom + s.PuzzleClueGap;

    WordBankRect.Left = marginLeft;
    WordBankRect.Right = paperWidth - marginRight;
    WordBankRect.Bottom = paperHeight - marginBottom;
    WordBankRect.Top = WordBankRect.Bottom;
    const bool bottomBank = wordBankAtBottom(s);
    if (bottomBank) {
        WordBank_Layout(s);
        s.asWordBankHeight = WordBankList.size() * composeTextSize(s) / 72.0 * composeLeading(s) / 100.0;
        WordBankRect.Top = WordBankRect.Bottom - s.asWordBankHeight - 0.1;
    }

    ClueColumnWidth = (paperWidth - marginLeft - marginRight - (columns - 1) * s.ClueColumnGap) / columns;

    const TPageRect &keep = GridKeepOutRect;
    constexpr double c = ClueBoxClearance;
    for (int p = 1; p <= MaxLayoutPages; ++p) {
        int n = 0;
        for (int j = 1; j <= columns && n + 2 <= MaxBoxesPerPage + 1; ++j) {
            TPageRect &box = ClueBoxes[p][n + 1];
            box.Left = marginLeft + (j - 1) * (ClueColumnWidth + s.ClueColumnGap);
            box.Right = box.Left + ClueColumnWidth;
            box.Top = PageRuleB(s, p) ? marginTop + titleHeight : marginTop;
            box.Bottom = paperHeight - marginBottom;
            if (bottomBank && s.WordBankPage == p)
                box.Bottom -= finiteOr(s.asWordBankHeight, 0);
            if (p != s.PuzzlePage) {
                ++n;
                continue;
            }
            if (s.SeparateClues) {
                box.Bottom = box.Top + 0.00001;
                ++n;
                continue;
            }
            if (!(box.Left <= keep.Right && keep.Left <= box.Right)) {
                ++n;
                continue;
            }
            if (keep.Top <= box.Top + c && box.Bottom - c <= keep.Bottom)
                continue; // the grid covers the whole column
            TPageRect &copy = ClueBoxes[p][n + 2];
            copy = box;
            if (keep.Top <= box.Top + c) {
                if (keep.Bottom < box.Bottom - c)
                    box.Top = keep.Bottom;
                ++n;
            } else {
                box.Bottom = keep.Top;
                ++n;
                if (keep.Bottom < copy.Bottom - c) {
                    copy.Top = keep.Bottom;
                    ++n;
                }
            }
        }
        ClueBoxCount[p] = std::min(n, MaxBoxesPerPage);
    }
    ClueBoxesReady = true;
    LineMap_Setup(s);
}

void ClueBoxes_Setup() { ClueBoxes_Setup(LayoutSettings); }

void LineMap_Setup(const TLayoutSettings &s)
{
    LineHeightBase = std::max(composeNumberSize(s), composeTextSize(s)) / 72.0;
    ClueLineHeight = LineHeightBase * composeLeading(s) / 100.0;
    for (int p = 1; p <= MaxLayoutPages; ++p)
        for (int j = 0; j <= MaxBoxesPerPage + 1; ++j) {
            if (j < 1 || j > ClueBoxCount[p]) {
                LineMap[p][j] = 0;
                continue;
            }
            const double lines = (ClueBoxes[p][j].Bottom - ClueBoxes[p][j].Top) / ClueLineHeight;
            // A box of negative height holds nothing; no box holds more than a million lines.
            LineMap[p][j] = std::isfinite(lines) ? int(std::clamp(std::trunc(lines), 0.0, 1e6)) : 0;
        }
}

void LineMap_Setup() { LineMap_Setup(LayoutSettings); }

// ---- Clue flow --------------------------------------------------------------------------------

void ClueFlow_MeasureClues(TLayoutSettings &s)
{
    WYSIWYGChange(s);
    ClueBoxes_Setup(s);
    buildClueFonts(s);
    const QString zeros = ClueNumberDigits == 1   ? QStringLiteral("00")
                          : ClueNumberDigits == 3 ? QStringLiteral("0000")
                                                  : QStringLiteral("000");
    NumberColumnWidth = std::max(0, RoundToPixel(g_measure.number->horizontalAdvance(zeros)));
    NumberColumnWidthInches = NumberColumnWidth * InchesPerDevicePixelX;
    ClueWrapWidth = std::max(1, InchesToDevicePixels(ClueColumnWidth) - NumberColumnWidth);
}

void ClueFlow_MeasureClues() { ClueFlow_MeasureClues(LayoutSettings); }

int FindWrapPoint(const QString &text, int start, int count)
{
    if (start < 1 || count <= 0)
        return 0;
    const QString piece = text.mid(start - 1, count);
    const int p = int(piece.lastIndexOf(u' ')) + 1;
    // A hyphen ending the piece (with any hyphens just before it) is not a break.
    qsizetype end = piece.size();
    if (end > 0 && piece[end - 1] == u'-')
        while (end > 0 && piece[end - 1] == u'-')
            --end;
    const int q = int(piece.left(end).lastIndexOf(u'-')) + 1;
    const int best = std::max(p, q);
    return best > 0 ? best + start - 1 : 0;
}

int ClueFlow_EstablishOne(const TLayoutSettings &s, TClueGrid *grid, int row)
{
    ++ClueWrapCount;
    if (!grid || row < 1 || !grid->ValidRow(row))
        return 1;
    if (!PrinterInfoReady)
        InternalError(QStringLiteral("Printer info is not initialized."));
    ensureClueFonts(s);
    TClueRow &clue = grid->Row(row);
    const bool theme = !FreeformMode && clue.ThemeWord;
    const QFontMetricsF &fm = theme ? *g_measure.theme : *g_measure.text;
    QString text = clue.Cells[1];
    if (theme && s.ClueThemeAllCaps)
        text = text.toUpper();
    qsizetype n = text.size();
    while (n > 0 && isBlank(text[n - 1]))
        --n;
    text.truncate(n);

    const double limit = std::max(1, ClueWrapWidth);
    // A piece's width is the sum of its characters' advances (kerning left out), so the clue's
    // running widths come from one pass over its characters.
    std::vector<double> edge(size_t(n) + 1, 0.0);
    QHash<char16_t, double> &advances = theme ? g_themeAdvances : g_textAdvances;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        auto it = advances.constFind(c);
        if (it == advances.constEnd())
            it = advances.insert(c, fm.horizontalAdvance(text[i]));
        edge[size_t(i) + 1] = edge[size_t(i)] + it.value();
    }
    auto wider = [&](int start, int length) {
        return edge[size_t(start + length)] - edge[size_t(start)] > limit;
    };
    QStringList lines;
    int start = 0; // 0-based
    while (start < n && isBlank(text[start]))
        ++start;
    while (start < n && lines.size() < TClueGrid::MaxClueLines) {
        const int remaining = int(n) - start;
        int a = remaining;
        if (wider(start, a)) {
            // The shortest piece that is too wide (widths grow with the piece); breaking from
            // there gives what breaking from the whole rest would.
            int lo = 1, hi = remaining;
            while (lo < hi) {
                const int mid = lo + (hi - lo) / 2;
                if (wider(start, mid))
                    hi = mid;
                else
                    lo = mid + 1;
            }
            a = hi;
            while (a > 1 && wider(start, a)) {
                const int b = FindWrapPoint(text, start + 1, a); // 1-based
                const int upTo = b - start;                      // piece length up to b
                if (b > 0 && upTo < a)
                    a = upTo;
                else
                    a -= 1; // inside a word, a character at a time; at least one stays
            }
        }
        lines.append(text.mid(start, a));
        start += a;
        while (start < n && isBlank(text[start]))
            ++start;
    }
    clue.Lines = lines;
    return std::max(1, int(lines.size()));
}

int ClueFlow_EstablishOne(TClueGrid *grid, int row)
{
    return ClueFlow_EstablishOne(LayoutSettings, grid, row);
}

int ClueFlow_LinesOf(TClueGrid *grid, int row)
{
    if (!grid || !grid->ValidRow(row))
        return 1;
    int count = 0;
    for (const QString &line : grid->Row(row).Lines) {
        if (line.isEmpty())
            break;
        ++count;
    }
    return std::max(1, count);
}

namespace {

// Numbers the lines of the stream: three heading lines before each direction that has clues,
// then each clue's lines as linesOf gives them; column 3 gets a clue's first line.
template <typename LinesOf> void numberClues(LinesOf linesOf)
{
    int counter = 0;
    for (TClueGrid *grid : {CluesAcrossSG, CluesDownSG}) {
        if (!grid)
            continue;
        if (grid->RowCount() > 1)
            counter += 3;
        for (int r = 1; r < grid->RowCount(); ++r) {
            const int k = linesOf(grid, r);
            grid->Row(r).Cells[3] = QString::number(counter);
            counter += k;
        }
    }
}

} // namespace

void ClueFlow_EstablishAll(TLayoutSettings &s)
{
    ClueFlow_MeasureClues(s);
    numberClues([&s](TClueGrid *grid, int row) { return ClueFlow_EstablishOne(s, grid, row); });
    finishSequence(s);
    setPageCount(s);
    recordFlowInputs(s);
}

void ClueFlow_EstablishAll() { ClueFlow_EstablishAll(LayoutSettings); }

void ClueFlow_Renumber()
{
    numberClues(ClueFlow_LinesOf);
    finishSequence(LayoutSettings);
}

void ClueFlow_EnsureCurrent()
{
    const bool stale = ClueLayoutDirty || !SequenceReady || !g_haveFlowInputs ||
                       !(currentFlowInputs(LayoutSettings) == g_flowInputs);
    ClueLayoutDirty = false;
    if (!stale) {
        reportPageCount(false);
        return;
    }
    ClueFlow_InvalidateAll();
    ClueFlow_EstablishAll(LayoutSettings);
}

void ClueFlow_ClueWasChanged(TClueGrid *grid, int row)
{
    if (ClueLayoutDirty || !ClueBoxesReady || !SequenceReady || CluesNeedRebuild)
        return;
    if (!grid || row < 1 || !grid->ValidRow(row))
        return;
    if (!flowNumberedTheseRows()) {
        // Rows came or went (or the grids were made anew) since the last flow: the row may have
        // no line number yet, so the whole flow is made again rather than this one clue.
        ClueFlow_InvalidateAll();
        ClueFlow_EstablishAll(LayoutSettings);
        if (!GridUpdating && LayoutHooks.PaintCluesStartingFrom)
            LayoutHooks.PaintCluesStartingFrom(CluesAcrossSG, 0);
        return;
    }
    TLayoutSettings &s = LayoutSettings;
    const int before = ClueFlow_LinesOf(grid, row);
    ClueFlow_MeasureClues(s);
    const int after = ClueFlow_EstablishOne(s, grid, row);
    if (before != after) {
        ClueFlow_Renumber();
        if (!GridUpdating && LayoutHooks.PaintCluesStartingFrom)
            LayoutHooks.PaintCluesStartingFrom(grid, row);
    } else if (!GridUpdating && ClueBoxesReady && SequenceReady && !CluesNeedRebuild &&
               LayoutHooks.DrawOneClue) {
        LayoutHooks.DrawOneClue(grid, row);
    }
    setPageCount(s);
    recordSingleClueChange(s, grid, row);
}

void ClueFlow_InvalidateAll()
{
    SequenceReady = false;
    for (TClueGrid *grid : {CluesAcrossSG, CluesDownSG}) {
        if (!grid)
            continue;
        for (int r = 0; r < grid->RowCount(); ++r)
            grid->Row(r).Lines.clear();
    }
}

bool ClueFlow_GetPlacement(int line, int *page, TPageRect *rect)
{
    return placeLine(LayoutSettings, line, page, rect, true);
}

int DownHeadingLine()
{
    const int first = hasClueRows(CluesDownSG) ? readNumber(CluesDownSG->Cell(3, 1), -5) : -5;
    return first - 2;
}

namespace {

constexpr int kNoLastLine = -6;

int lastLineOfGrid(TClueGrid *grid)
{
    if (!hasClueRows(grid))
        return kNoLastLine;
    const int row = grid->RowCount() - 1;
    bool ok = false;
    const int first = grid->Cell(3, row).trimmed().toInt(&ok);
    if (!ok)
        return kNoLastLine;
    return first + ClueFlow_LinesOf(grid, row) - 1;
}

} // namespace

int LastClueLine()
{
    const int down = lastLineOfGrid(CluesDownSG);
    return down != kNoLastLine ? down : lastLineOfGrid(CluesAcrossSG);
}

int LastCluePage(const TLayoutSettings &s)
{
    if (!SequenceReady)
        return 2;
    const int last = LastClueLine();
    int page = 0;
    if (placeLine(s, last, &page, nullptr, false))
        return page;
    if (last >= 1) {
        // The clues run past the last box (OverflowLineCount): the last page that holds lines.
        const int total = totalLines();
        if (total < 1 || !rawPlace(total, &page, nullptr))
            return 1;
        return page;
    }
    // No clue line at all. Clue grids without rows are no error: the grid page shows the grid
    // and empty clue columns (word slots whose clue rows are not made yet, a freeform puzzle
    // without words). Only a grid without word slots is worth a word to the user.
    const bool noClueRows = !hasClueRows(CluesAcrossSG) && !hasClueRows(CluesDownSG);
    if (noClueRows && (FreeformMode || TRVGetWLCountTotal() > 0))
        return 1;
    // Clue grids waiting for their rebuild are no error either.
    if (!CluesNeedRebuild) {
        if (TRVGetWLCountTotal() > 0) {
            if (!g_cluesEndReported) {
                g_cluesEndReported = true;
                queueMessage(
                    TMessageKind::CluesEndUnknown,
                    QStringLiteral("An unexpected error occured: Can't figure out where clues end."));
            }
        } else if (!g_noSlotsReported) {
            g_noSlotsReported = true;
            queueMessage(
                TMessageKind::NoWordSlots,
                QStringLiteral("There are no word slots in your grid. To proceed, you need to have "
                               "some word slots. Please edit or enlarge the grid so that there are "
                               "some open (white) cells and some word slots.") +
                    ParagraphBreak + QStringLiteral("To clear the grid, just press \"Yes,\" below.") +
                    ParagraphBreak +
                    QStringLiteral("If you blacked out the grid on purpose, just press \"Ok,\" below. "));
        }
    }
    return 2;
}

int LastCluePage() { return LastCluePage(LayoutSettings); }

bool NoWidows(const TLayoutSettings &s)
{
    const int heading = DownHeadingLine();
    const int last = LastClueLine();
    auto sameColumn = [&s](int a, int b) {
        int pa = 0, pb = 0;
        TPageRect ra, rb;
        if (!placeLine(s, a, &pa, &ra, false) || !placeLine(s, b, &pb, &rb, false))
            return false;
        return pa == pb && ra.Left == rb.Left;
    };
    // Placing the heading line first brings the skip of NewColumnDown up to date.
    int dummy = 0;
    placeLine(s, heading, &dummy, nullptr, false);
    const bool test1 = sameColumn(std::max(heading - 3, 1), std::min(heading + 2, last));
    const bool test2 = sameColumn(heading - 1, heading);
    const bool test3 = sameColumn(std::max(1, last - 1), last);
    qCDebug(lcPageModel) << "NoWidows: heading" << heading << "last" << last << "test1" << test1 << "test2"
                         << test2 << "test3" << test3;
    return test3 && !(test2 && !test1);
}

bool NoWidows() { return NoWidows(LayoutSettings); }

// ---- Relayout ---------------------------------------------------------------------------------

void RelayoutPage()
{
    const bool titleOnly = LayoutHooks.TitleChanged && LayoutHooks.TitleChanged();
    if (!titleOnly && LayoutHooks.FormResize)
        LayoutHooks.FormResize();
    FitLayoutToPaper(LayoutSettings);
    if (CluesNeedRebuild)
        RebuildClueGrids();
    ClueFlow_InvalidateAll();
    ClueFlow_EstablishAll(LayoutSettings);
    if (LayoutHooks.RedrawView)
        LayoutHooks.RedrawView();
}

void FitLayoutToPaper(TLayoutSettings &s)
{
    QString notes;
    const double f = finiteOr(s.CellWidth, 0) * 0.75 * s.ClueColumns;
    const double g = s.PaperWidth - s.MarginLeft - s.MarginRight - f;
    const double need = s.ClueNumberFontSize / 72.0 + 3 * s.ClueTextFontSize / 72.0;
    double w = g / std::max(1, s.ClueColumns);
    bool reduced = false;
    while (need > w && s.ClueColumns > 1) {
        --s.ClueColumns;
        w = g / s.ClueColumns;
        if (!reduced) {
            reduced = true;
            notes += QStringLiteral(" Reducing the number of columns.");
        }
    }
    bool sides = false;
    for (int i = 0; i < 4 && w < need && s.MarginLeft + s.MarginRight > 0.25; ++i) {
        s.MarginLeft /= 2;
        s.MarginRight /= 2;
        if (!sides) {
            sides = true;
            notes += QStringLiteral(" Altering left and right margins.");
        }
        w = (s.PaperWidth - s.MarginLeft - s.MarginRight - f) / std::max(1, s.ClueColumns);
    }
    bool ends = false;
    for (int i = 0;
         i < 4 && s.MarginTop + s.MarginBottom + 2 > s.PaperHeight && s.MarginTop + s.MarginBottom > 0.25;
         ++i) {
        s.MarginTop /= 2;
        s.MarginBottom /= 2;
        if (!ends) {
            ends = true;
            notes += QStringLiteral(" Altering top and bottom margins.");
        }
    }
    if (!notes.isEmpty() && !AutoLayoutPending)
        queueMessage(
            TMessageKind::PaperTooSmall,
            QStringLiteral("This new paper size does not provide enough room for the current layout. ") +
                notes);
}

void FitLayoutToPaper() { FitLayoutToPaper(LayoutSettings); }

void SetCurrentPage(int page)
{
    CurrentPage = std::clamp(page, 1, std::max(1, PageCount));
    if (LayoutHooks.CurrentPageChanged)
        LayoutHooks.CurrentPageChanged(CurrentPage);
}

// ---- Messages ---------------------------------------------------------------------------------

void ShowPendingLayoutMessages()
{
    if (AutoLayoutPending || g_showingMessages || g_pending.empty())
        return;
    g_showingMessages = true;
    // Taken first: a box's event loop may paint and queue new messages for the next time.
    std::vector<TPendingMessage> pending;
    pending.swap(g_pending);
    for (const TPendingMessage &m : pending) {
        switch (m.Kind) {
        case TMessageKind::TooManyPages:
            prompter().ask(m.Text, QString(), Prompter::Information, Prompter::Ok);
            break;
        case TMessageKind::CluesEndUnknown:
            if (LayoutHooks.ShowErrorForm)
                LayoutHooks.ShowErrorForm(m.Text);
            else
                prompter().ask(m.Text, QString(), Prompter::Error, Prompter::Ok);
            break;
        case TMessageKind::NoWordSlots:
            if (prompter().ask(m.Text, QString(), Prompter::Information, Prompter::Yes | Prompter::Ok) ==
                    Prompter::Yes &&
                LayoutHooks.ClearPattern)
                LayoutHooks.ClearPattern();
            break;
        case TMessageKind::PaperTooSmall:
            prompter().ask(m.Text, QString(), Prompter::Error, Prompter::Ok);
            break;
        }
    }
    g_showingMessages = false;
}

bool HasPendingLayoutMessages() { return !g_pending.empty(); }

void ResetLayoutMessages()
{
    g_tooManyReported = false;
    g_cluesEndReported = false;
    g_noSlotsReported = false;
    g_noMiniBoxReported = false;
}

void InstallDocumentLayoutHooks()
{
    DocHooks.ClueFlowInvalidateAll = [] { ClueFlow_InvalidateAll(); };
    DocHooks.ClueFlowEstablishAll = [] { ClueFlow_EstablishAll(); };
    DocHooks.ClueFlowClueWasChanged = [](TClueGrid *grid, int row) { ClueFlow_ClueWasChanged(grid, row); };
    FileHooks.WYSIWYGChange = [] { WYSIWYGChange(); };
    FileHooks.WordBankLayout = [] { WordBank_Layout(); };
    FileHooks.ComputeTitleBlockHeight = [] { ComputeTitleBlockHeight(); };
}
