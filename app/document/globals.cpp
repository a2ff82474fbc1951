// The program-wide state with its start-up values, page geometry and page rules, printer
// metrics, the shared construction messages and the small text and number helpers.
#include "globals.h"

#include "alphabet.h"
#include "cp1252.h"
#include "layoutsettings.h"
#include "notices.h"
#include "printermetrics.h"
#include "trv600.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <limits>

// ---- Storage, with the values of a new puzzle -------------------------------------------------

int Columns = 15;
int Rows = 15;
bool FreeformMode = false;

double PuzzleGridLeft = 0, PuzzleGridTop = 0;
double PuzzleLineInset = 0.01;
TColor OpenCellColor = 0xFFFFFF;

double SolutionGridLeft = 0, SolutionGridTop = 0;
double SolutionLineInset = 0.01;

double InchesPerPixel = 1.0 / 96;
TPageRect ViewPageRect{0, 0, 8.5, 11};
int View = 2;
double ViewCenterX = 4.25, ViewCenterY = 5.5;
int CurrentPage = 1;
int PageCount = 2;

double PhysicalOffsetX = 0, PhysicalOffsetY = 0;
int DevicePixelsPerInchX = 300, DevicePixelsPerInchY = 300;
TPageRect PageRect{0, 0, 8.5, 11};
int SolutionPage = 2;

const QStringList PageRuleTexts = {"No pages",
                                   "Puzzle grid page",
                                   "Puzzle grid page & solution",
                                   "First non-grid page (if available)",
                                   "First non-grid page & solution",
                                   "First two pages",
                                   "First two pages & solution",
                                   "All pages except solution",
                                   "All pages"};

bool IgnoreWordBankCBClick = false;
bool WordBankCBCheckpointing = false;
const QStringList WordListPlaceNames = {"InClues", "Bottom"};
const QStringList WordListOrderNames = {"Alpha", "Size", "Given", "GivenComma"};

QString CreatedBy;
double TitleBlockHeight = 0;

bool AutoLayoutPending = false;

QString PencilFont;
int PencilSize = 60;
TColor PencilColor = 0x808080;
bool PencilThemeColor = false, PencilThemeBold = false, PencilHideAnswer = false;
TColor DesktopColor = 128;
TColor ColorScheme = 15983055;
TColor PageColor = 0xFFFFFF;
int EditTextSize = 8;
bool AutoPatternNotice = true;
bool AutoClueSymmetrical = true, AutoClueFreeform = false;
QString InstallNumber;
QString InstallDate;

int Top = 10, Left = 20, Width = 1000, Height = 720;
int WindowState = 0;
bool MainFormBoundsRestored = false;
bool MainFormReady = false;
bool FirstIdle = true;
bool MainFormClosing = false;
bool RegisterFileTypeOnClose = false;
bool PuzzleModified = false;
bool CluesNeedRebuild = false;
bool ClueLayoutDirty = false;
bool GridUpdating = false;
bool LoadingPuzzle = false;
bool ConstructCanceled = false;
bool RepaintOnPageChange = true;
bool ReleaseBuild = true;

QString ConnectionHelpText;
const QString ParagraphBreak = QStringLiteral("\r\n\r\n");

int GridLinePixelWidth = 1;
int GridTileColumns = 1;
int GridTileRows = 1;
int WordSizeRowHeight = 7;
int WordSizeChartTop = 18;

void InitGlobals()
{
    LayoutSettings = TLayoutSettings{};

    Columns = 15;
    Rows = 15;
    FreeformMode = false;

    PuzzleGridLeft = PuzzleGridTop = 0;
    PuzzleLineInset = GridLineThickness;
    OpenCellColor = 0xFFFFFF;

    SolutionGridLeft = SolutionGridTop = 0;
    SolutionLineInset = GridLineThicknessSol;

    InchesPerPixel = 1.0 / 96;
    ViewPageRect = {0, 0, 8.5, 11};
    ViewCenterX = 4.25;
    ViewCenterY = 5.5;
    GridTileColumns = GridTileRows = 1;
    View = 2;
    CurrentPage = 1;
    PageCount = 2;

    PhysicalOffsetX = PhysicalOffsetY = 0;
    DevicePixelsPerInchX = DevicePixelsPerInchY = 300;
    PageRect = {0, 0, PaperWidth, PaperHeight};
    SolutionPage = 2;
    IgnoreWordBankCBClick = WordBankCBCheckpointing = false;

    CreatedBy.clear();
    TitleBlockHeight = 0;
    AutoLayoutPending = false;

    PencilFont = "Comic Sans MS";
    PencilSize = 60;
    PencilColor = 0x808080;
    PencilThemeColor = PencilThemeBold = PencilHideAnswer = false;
    DesktopColor = 128;
    ColorScheme = 15983055;
    PageColor = 0xFFFFFF;
    EditTextSize = 8;
    AutoPatternNotice = true;
    AutoClueSymmetrical = true;
    AutoClueFreeform = false;

    Top = 10;
    Left = 20;
    Width = 1000;
    Height = 720;
    WindowState = 0;
    MainFormBoundsRestored = MainFormReady = MainFormClosing = RegisterFileTypeOnClose = false;
    FirstIdle = true;
    PuzzleModified = CluesNeedRebuild = ClueLayoutDirty = GridUpdating = LoadingPuzzle = ConstructCanceled =
        false;
    RepaintOnPageChange = true;
    ReleaseBuild = true;

    WordSizeRowHeight = 7;
    WordSizeChartTop = 18;

    CustomAlphabet = DefaultAlphabet;
    BuildCaseTables();

    const QString program = QCoreApplication::instance()
                                ? QCoreApplication::applicationFilePath()
                                : QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    ConnectionHelpText =
        "Please make sure you are connected to the Internet. Also, it may be necessary for you "
        "to configure firewall software (e.g., ZoneAlarm) to allow Tarvel or " +
        program + " to access the Internet directly." + "Then try again.";
}

// ---- Geometry ---------------------------------------------------------------------------------

double GetCellWidth(const TLayoutSettings &s) { return s.AlignSolution ? s.CellWidth : s.CellWidthSol; }
double GetCellHeight(const TLayoutSettings &s) { return s.AlignSolution ? s.CellHeight : s.CellHeightSol; }
double GetGridPageValue(const TLayoutSettings &s)
{
    return s.AlignSolution ? s.GridLineThickness : s.GridLineThicknessSol;
}
double GetCellWidth() { return GetCellWidth(LayoutSettings); }
double GetCellHeight() { return GetCellHeight(LayoutSettings); }
double GetGridPageValue() { return GetGridPageValue(LayoutSettings); }

double CellPageLeft(const TLayoutSettings &s, int c)
{
    return PuzzleGridLeft + PuzzleLineInset + (c - 1) * s.CellWidth;
}
double CellPageTop(const TLayoutSettings &s, int r)
{
    return PuzzleGridTop + PuzzleLineInset + (r - 1) * s.CellHeight;
}
double CellPageLeft(int c) { return CellPageLeft(LayoutSettings, c); }
double CellPageTop(int r) { return CellPageTop(LayoutSettings, r); }

TPageRect CellPageRect(const TLayoutSettings &s, int c, int r)
{
    TPageRect rect;
    rect.Left = CellPageLeft(s, c);
    rect.Right = rect.Left + s.CellWidth;
    rect.Top = CellPageTop(s, r);
    rect.Bottom = rect.Top + s.CellHeight;
    return rect;
}

TPageRect CellPageRect(int c, int r) { return CellPageRect(LayoutSettings, c, r); }

double CellPageLeftFor(int c)
{
    if (AlignSolution)
        return CellPageLeft(c);
    return SolutionGridLeft + SolutionLineInset + (c - 1) * GetCellWidth();
}

double CellPageTopFor(int r)
{
    if (AlignSolution)
        return CellPageTop(r);
    return SolutionGridTop + SolutionLineInset + (r - 1) * GetCellHeight();
}

TPageRect CellPageRectFor(int c, int r)
{
    if (AlignSolution)
        return CellPageRect(c, r);
    TPageRect rect;
    rect.Left = CellPageLeftFor(c);
    rect.Right = rect.Left + GetCellWidth();
    rect.Top = CellPageTopFor(r);
    rect.Bottom = rect.Top + GetCellHeight();
    return rect;
}

double PageRightMarginSum() { return MarginLeft + MarginRight; }
double PageBottomMarginSum() { return MarginTop + MarginBottom; }
double PrintableWidth(const TLayoutSettings &s) { return s.PaperWidth - s.MarginLeft - s.MarginRight; }
double PrintableHeight(const TLayoutSettings &s) { return s.PaperHeight - s.MarginTop - s.MarginBottom; }
double PrintableWidth() { return PrintableWidth(LayoutSettings); }
double PrintableHeight() { return PrintableHeight(LayoutSettings); }

void UpdateGridPosition(const TLayoutSettings &s)
{
    PuzzleGridLeft = s.MarginLeft + s.PuzzleLeft;
    PuzzleGridTop = s.MarginTop + s.PuzzleTop + (PageRuleB(s, s.PuzzlePage) ? TitleBlockHeight : 0);
    SolutionGridLeft = s.MarginLeft + s.SolutionLeft;
    SolutionGridTop = s.MarginTop + s.SolutionTop + (PageRuleB(s, SolutionPage) ? TitleBlockHeight : 0);
}

void UpdateGridPosition() { UpdateGridPosition(LayoutSettings); }

int RoundToPixel(double v)
{
    // At extreme zoom the quotient can leave the int range; clamp rather than overflow.
    if (std::isnan(v))
        return 0;
    const double r = std::nearbyint(v); // round half to even in the default rounding mode
    if (r >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (r <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(r);
}

void PixelToPage(int x, int y, double *pageX, double *pageY)
{
    *pageX = x * InchesPerPixel + ViewPageRect.Left;
    *pageY = y * InchesPerPixel + ViewPageRect.Top;
}

double PixelsToPage(int n) { return n * InchesPerPixel; }
int PageXToPixel(double x) { return RoundToPixel((x - ViewPageRect.Left) / InchesPerPixel); }
int PageYToPixel(double y) { return RoundToPixel((y - ViewPageRect.Top) / InchesPerPixel); }
int PageToPixelsX(double d) { return RoundToPixel(d / InchesPerPixel); }
int PageToPixelsY(double d) { return RoundToPixel(d / InchesPerPixel); }

TPixelRect PageRectToPixels(const TPageRect &rect)
{
    return {PageXToPixel(rect.Left), PageYToPixel(rect.Top), PageXToPixel(rect.Right),
            PageYToPixel(rect.Bottom)};
}

TPixelRect CellPixelRect(int c, int r)
{
    return {PageXToPixel(CellPageLeft(c)), PageYToPixel(CellPageTop(r)), PageXToPixel(CellPageLeft(c + 1)),
            PageYToPixel(CellPageTop(r + 1))};
}

TPixelRect CellPixelRectFor(int c, int r)
{
    if (AlignSolution)
        return CellPixelRect(c, r);
    return {PageXToPixel(CellPageLeftFor(c)), PageYToPixel(CellPageTopFor(r)),
            PageXToPixel(CellPageLeftFor(c + 1)), PageYToPixel(CellPageTopFor(r + 1))};
}

// ---- Page rules -------------------------------------------------------------------------------

bool PageRuleMatches(const TLayoutSettings &s, int code, int p)
{
    const int X = s.PuzzlePage;
    const int N = SolutionPage;
    const bool Q = (p <= 2 && p != X) || (p == 1 && N == 2);
    switch (code & 0x7F) {
    case 0: return false;
    case 1: return p == X;
    case 2: return p == X || p == N;
    case 3: return Q;
    case 4: return Q || p == N;
    case 5: return p <= 2;
    case 6: return p <= 2 || p == N;
    case 7: return p < N;
    case 8: return true;
    default: return false;
    }
}

bool PageRuleB(const TLayoutSettings &s, int p) { return PageRuleMatches(s, s.PutTitleOnCode, p); }
bool PageRuleMatches(int code, int p) { return PageRuleMatches(LayoutSettings, code, p); }
bool PageRuleA(int p) { return PageRuleMatches(PutFrameOnCode, p); }
bool PageRuleB(int p) { return PageRuleB(LayoutSettings, p); }

// ---- Printer ----------------------------------------------------------------------------------

bool HasPrinter() { return PrinterMetrics().Printer; }

void ApplyPageMetrics(TLayoutSettings &s, bool printer, int dpiX, int dpiY, double pageWidthPx,
                      double pageHeightPx, double offsetXPx, double offsetYPx)
{
    if (printer && dpiX > 0 && dpiY > 0) {
        DevicePixelsPerInchX = dpiX;
        DevicePixelsPerInchY = dpiY;
        s.PaperWidth = pageWidthPx / dpiX;
        s.PaperHeight = pageHeightPx / dpiY;
        PhysicalOffsetX = offsetXPx / dpiX;
        PhysicalOffsetY = offsetYPx / dpiY;
    } else {
        // Without a printer the puzzle keeps its own paper.
        DevicePixelsPerInchX = DevicePixelsPerInchY = 300;
        PhysicalOffsetX = PhysicalOffsetY = 0;
    }
    const bool plausible =
        s.PaperWidth >= 2 && s.PaperWidth <= 50 && s.PaperHeight >= 2 && s.PaperHeight <= 50;
    if (!plausible) {
        s.PaperWidth = 8.5;
        s.PaperHeight = 11;
    }
    PageRect = {0, 0, s.PaperWidth, s.PaperHeight};
}

void ApplyPageMetrics(bool printer, int dpiX, int dpiY, double pageWidthPx, double pageHeightPx,
                      double offsetXPx, double offsetYPx)
{
    ApplyPageMetrics(LayoutSettings, printer, dpiX, dpiY, pageWidthPx, pageHeightPx, offsetXPx, offsetYPx);
}

void InitPageMetrics(TLayoutSettings &s)
{
    const TPrinterMetrics &m = PrinterMetrics();
    ApplyPageMetrics(s, m.Printer, m.DpiX, m.DpiY, m.PaperWidthPx, m.PaperHeightPx, m.OffsetXPx, m.OffsetYPx);
}

void InitPageMetrics() { InitPageMetrics(LayoutSettings); }

QStringList GetFontList()
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return {};
    return QFontDatabase::families();
}

QString FirstInstalledFont(const QStringList &installed, const QStringList &candidates)
{
    for (const QString &candidate : candidates)
        if (!candidate.isEmpty() && installed.contains(candidate, Qt::CaseSensitive))
            return candidate;
    return installed.isEmpty() ? candidates.value(0) : installed.first();
}

QString PencilFontChoice(const QStringList &installed, const QString &wanted)
{
    QStringList candidates{wanted, QStringLiteral("Comic Sans MS"), QStringLiteral("Arial")};
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        for (const char *name : {"Comic Sans MS", "Arial"})
            candidates << QFontInfo(QFont(QLatin1String(name))).family();
    candidates << QStringLiteral("Liberation Sans") << QStringLiteral("Arimo")
               << QStringLiteral("DejaVu Sans") << QStringLiteral("Noto Sans") << QStringLiteral("FreeSans")
               << QStringLiteral("Nimbus Sans");
    return FirstInstalledFont(installed, candidates);
}

QString InstalledPencilFont(const QString &wanted)
{
    const QStringList installed = GetFontList();
    if (installed.isEmpty())
        return wanted; // no fonts to ask: a program without a screen keeps the name
    // A missing font would be replaced by whatever the system finds close to its name, which for
    // "Comic Sans MS" may be a script face: fall back to fonts of the program's own choice.
    for (const QString &candidate : {wanted, QStringLiteral("Comic Sans MS"), QStringLiteral("Arial")})
        if (installed.contains(candidate, Qt::CaseSensitive))
            return candidate;
    return QStringLiteral("Arial");
}

int TextWidthInFont(const QString &text, const QFont &font)
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        QImage bitmap(40, 40, QImage::Format_RGB32);
        const QFontMetricsF metrics(font, &bitmap);
        return RoundToPixel(metrics.horizontalAdvance(text));
    }
    const int height = font.pixelSize() > 0 ? font.pixelSize() : font.pointSize();
    return (std::abs(height) + 1) * int(text.size()) / 2;
}

// ---- Messages ---------------------------------------------------------------------------------

void ShowConstructErrorMessage()
{
    showError("An error occurred while constructing your puzzle. You can try again and it might "
              "work next time. For more information on this topic press the help button.",
              990030);
}

void ShowConstructIncompleteMessage()
{
    showInformation("Puzzle construction can not be completed. Sometimes the program can mark the problem "
                    "area in red and yellow. To continue, change, move or erase some letters that were there "
                    "when you pressed the constuct button, or change the pattern and try again.",
                    990010);
}

void InternalError(const QString &text)
{
    if (ReleaseBuild)
        return;
    showError("An internal program error occurred. It was believed impossible to get this error. "
              "Please report it to Halvard, Inc., quoting this message: \"" +
              text + "\"");
}

void MessageFmt(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    const QString text = QString::vasprintf(format, args);
    va_end(args);
    showInformation(text);
}

bool CheckLongSlotsFilled()
{
    constexpr int kLongest = 17;
    QString list;
    bool stopped = false;
    auto letterOrOpen = [](int c, int r) {
        return c >= 1 && r >= 1 && c <= Columns && r <= Rows && IsLetterOrOpen(GetCellLetter(c, r));
    };
    // Across runs first, then down runs, both in reading order of their first cells (the order
    // of the clue grids): a run starts where the cell before it is not a letter or open.
    for (int pass = 0; pass < 2 && !stopped; ++pass) {
        const bool across = pass == 0;
        const int dc = across ? 1 : 0;
        const int dr = across ? 0 : 1;
        for (int r = 1; r <= Rows && !stopped; ++r)
            for (int c = 1; c <= Columns && !stopped; ++c) {
                if (!letterOrOpen(c, r) || letterOrOpen(c - dc, r - dr))
                    continue;
                QString letters;
                bool hasOpen = false;
                for (int k = 0; letterOrOpen(c + k * dc, r + k * dr); ++k) {
                    const QChar ch = GetCellLetter(c + k * dc, r + k * dr);
                    hasOpen = hasOpen || ch.unicode() == TRV_EMPTY;
                    letters.append(ch);
                }
                if (letters.size() <= kLongest || !hasOpen)
                    continue;
                if (list.size() > 79) {
                    list += ", and others.";
                    stopped = true;
                    break;
                }
                if (!list.isEmpty())
                    list += ", ";
                list += QString::number(TRVGetCellNumber(c, r)) + (across ? " across (" : " down (") +
                        letters + ")";
            }
    }
    if (list.isEmpty())
        return true;
    showInformation("The puzzle can not be constructed because you must supply all the letters in "
                    "word slots longer than " +
                    QString::number(kLongest) + " letters. " + "This applies to " + list);
    return false;
}

// ---- Small helpers ----------------------------------------------------------------------------

int MinInt(int a, int b) { return a < b ? a : b; }
int MaxInt(int a, int b) { return a > b ? a : b; }
double MinFloat(double a, double b) { return a < b ? a : b; }

TColor ColorIndexToColor(int index)
{
    static constexpr TColor kColors[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                           0x808000, 0x808080, 0xC0C0C0, 0x0000FF, 0x00FF00, 0xFF0000,
                                           0xFF00FF, 0xFFFF00, 0x00FFFF, 0xFFFFFF};
    return index >= 0 && index < 16 ? kColors[index] : 0x000000;
}

TColor BlendColor(TColor colour, TColor background, double w)
{
    if (!(w < 1))
        return colour;
    TColor result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int c = (colour >> shift) & 0xFF;
        const int b = (background >> shift) & 0xFF;
        const int v = std::clamp(b - RoundToPixel(w * (b - c)), 0, 255);
        result |= v << shift;
    }
    return result;
}

int WordListPlaceIndex(const QString &text)
{
    const qsizetype i = WordListPlaceNames.indexOf(text);
    return i < 0 ? 1 : int(i);
}

int WordListOrderIndex(const QString &text)
{
    const qsizetype i = WordListOrderNames.indexOf(text);
    return i < 0 ? 0 : int(i);
}

void ParseSizeSpec(const QString &text, int *columns, int *rows)
{
    bool ok = false;
    const int c = ExtractDigitRun(text).toInt(&ok);
    *columns = ok ? c : 15;
    const qsizetype x = text.indexOf('x');
    int r = 0;
    ok = false;
    if (x >= 0)
        r = ExtractDigitRun(text.mid(x + 1)).toInt(&ok);
    *rows = ok ? r : 15;
}

QString FloatToShortStr(double x)
{
    QString s = QString::number(x, 'g', 5);
    // The general format writes exponents without padding or "+": 1E-5, 1.5E20.
    const qsizetype e = s.indexOf('e');
    if (e >= 0) {
        QString exponent = s.mid(e + 1);
        const bool negative = exponent.startsWith('-');
        if (exponent.startsWith('+') || negative)
            exponent.remove(0, 1);
        while (exponent.size() > 1 && exponent.startsWith('0'))
            exponent.remove(0, 1);
        s = s.left(e) + "E" + (negative ? "-" : "") + exponent;
    }
    return s;
}

int ParseTFFlags(const QString &text)
{
    if (text.size() < 3)
        return 0;
    int bits = 0;
    for (int i = 0; i < 4; ++i)
        if (i < text.size() && text[i].toUpper() == 'T')
            bits |= 1 << i;
    return bits;
}

QString FormatTFFlags(int bits)
{
    QString s;
    for (int i = 0; i < 4; ++i)
        s.append((bits & (1 << i)) ? 'T' : 'F');
    return s;
}

QString AddBackslash(const QString &path)
{
    if (path.isEmpty() || path.endsWith('/'))
        return path;
    return path + '/';
}

bool SaveListConfirmOverwrite(const QStringList &list, const QString &fileName, QString *error)
{
    if (QFileInfo::exists(fileName)) {
        if (!askYesNo("The file " + fileName + " already exists. " + "Is it okay to replace it?"))
            return false;
    }
    // Written beside the old file and swapped in at the end, so a failure keeps the old one.
    return Cp1252::writeTextLines(fileName, list, error);
}

QChar DirectionFromText(const QString &text)
{
    // Plain ASCII upper case: only "a"/"A" and "d"/"D" count.
    if (text.contains('D') || text.contains('d'))
        return 'D';
    if (text.contains('A') || text.contains('a'))
        return 'A';
    return ' ';
}

bool IsHttpUrl(const QString &text) { return text.toLower().contains("http://"); }

QString UrlOrFileName(const QString &text) { return IsHttpUrl(text) ? text : QFileInfo(text).fileName(); }

int LastCharPos(const QString &text, QChar ch) { return int(text.lastIndexOf(ch)) + 1; }

bool FindExactString(const QStringList &list, const QString &text, int *index)
{
    const qsizetype i = list.indexOf(text);
    if (index)
        *index = int(i);
    return i >= 0;
}

QString SpacesToUnderscores(const QString &text)
{
    QString s = text;
    s.replace(' ', '_');
    return s;
}

bool EndsWithText(const QString &text, const QString &suffix)
{
    return LowerCaseText(text).endsWith(LowerCaseText(suffix));
}

QString TextAfterChar(QChar ch, const QString &text)
{
    const qsizetype i = text.indexOf(ch);
    if (i < 0)
        return {};
    QString rest = text.mid(i + 1);
    qsizetype k = 0;
    while (k < rest.size() && rest[k] == ' ')
        ++k;
    return rest.mid(k);
}

QString TextBeforeChar(QChar ch, const QString &text)
{
    const qsizetype i = text.indexOf(ch);
    // Trimmed of blanks and control characters only: a no-break space (0xA0) stays.
    const QString before = i < 0 ? text : text.left(i);
    qsizetype b = 0;
    qsizetype e = before.size();
    while (b < e && before[b].unicode() <= ' ')
        ++b;
    while (e > b && before[e - 1].unicode() <= ' ')
        --e;
    return before.mid(b, e - b);
}

QString TrimBlanksTabs(const QString &text)
{
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t'))
        ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t'))
        --e;
    return text.mid(b, e - b);
}

double StrToFloatDefault(const QString &text, double defaultValue)
{
    QString s = text;
    const qsizetype quote = s.indexOf('"');
    if (quote >= 0)
        s.remove(quote, 1);
    s = TrimBlanksTabs(s);
    if (s.isEmpty())
        return defaultValue;
    bool ok = false;
    const double v = s.toDouble(&ok);
    return ok && std::isfinite(v) ? v : defaultValue;
}

QString Pluralize(int count, const QString &word)
{
    if (count == 1)
        return word;
    if (word.endsWith(" is"))
        return word.left(word.size() - 3) + " are";
    if (word.endsWith(" was"))
        return word.left(word.size() - 4) + " were";
    // "entry" gives "entries", but a vowel before the "y" only takes an "s": "day", "key".
    if (word.endsWith('y')) {
        const QChar before = word.size() >= 2 ? word[word.size() - 2].toLower() : QChar();
        if (!QStringLiteral("aeiou").contains(before) || before.isNull())
            return word.left(word.size() - 1) + "ies";
    }
    return word + "s";
}

void ParseFrameBand(QString &bands, bool *isBand, double *width, TColor *color)
{
    bands = bands.toUpper();
    const qsizetype comma = bands.indexOf(',');
    QString band = comma < 0 ? bands : bands.left(comma);
    bands = comma < 0 ? QString() : bands.mid(comma + 1, 199);
    const qsizetype dash = band.indexOf('-');
    if (dash >= 0)
        band.remove(dash, 1);
    bool b = false;
    double w = 0;
    TColor c = 0xFFFFFF;
    if (band.contains("GAP"))
        w = 0.0125;
    const qsizetype star = band.indexOf('*');
    if (!band.contains("NONE") && star >= 0) {
        b = true;
        QString number = band.left(star);
        for (qsizetype i = 0; i < number.size(); ++i)
            if (IsAsciiLetter(number[i])) {
                number.truncate(i);
                break;
            }
        w = StrToFloatDefault(number, 0);
        bool ok = false;
        const int value = ExtractDigitRun(band.mid(star + 1)).toInt(&ok);
        c = ok ? value : 0;
    }
    if (isBand)
        *isBand = b;
    if (width)
        *width = w;
    if (color)
        *color = c;
}

double SumValuesAfterEquals(const QString &text)
{
    QString bands = TextAfterChar('=', text);
    double sum = 0;
    for (int n = 0; n < 99 && bands.size() >= 3; ++n) {
        bool isBand = false;
        double width = 0;
        TColor color = 0;
        ParseFrameBand(bands, &isBand, &width, &color);
        sum += width;
    }
    return sum;
}
