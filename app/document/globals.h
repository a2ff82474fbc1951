// Program-wide document state, page geometry, page rules, shared messages, paths, system
// details and web helpers. The layout settings themselves are in layoutsettings.h.
#pragma once

#include "pagetypes.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

struct TLayoutSettings;

// ---- Grid and puzzle type ---------------------------------------------------------------------

extern int Columns;       // grid width, 1..51
extern int Rows;          // grid height, 1..51
extern bool FreeformMode; // "Freeform Crossword" chosen (LooseRB); no cell-letter mapping

// ---- Grids on the page (inches, computed from the settings) ----------------------------------

extern double PuzzleGridLeft, PuzzleGridTop;     // top-left corner of the grid on the paper
extern double PuzzleLineInset;                   // grid line thickness in effect for the puzzle grid
extern double SolutionGridLeft, SolutionGridTop; // on the paper
extern double SolutionLineInset;
extern TColor OpenCellColor;    // fill of open cells on paper
extern double TitleBlockHeight; // inches the title and subtitle take at the top of a page

// ---- Page view --------------------------------------------------------------------------------

extern double InchesPerPixel;
extern TPageRect ViewPageRect;
extern int View; // 0 whole page, 1 page width, 2 penciled-in grid, 3 clues, 4 solution, 5 custom
extern double ViewCenterX, ViewCenterY; // page point (inches) at the centre of the view
extern int CurrentPage;                 // page shown
extern int PageCount;

// ---- Printer page -----------------------------------------------------------------------------

extern double PhysicalOffsetX, PhysicalOffsetY;
extern int DevicePixelsPerInchX, DevicePixelsPerInchY;
extern TPageRect PageRect;
extern int SolutionPage; // the page holding the solution, the last page

/** The list texts of the page rule codes 0..8. */
extern const QStringList PageRuleTexts;

// ---- Word bank, author, auto-layout run -------------------------------------------------------

extern bool IgnoreWordBankCBClick;
extern bool WordBankCBCheckpointing;
extern const QStringList WordListPlaceNames; // ("InClues", "Bottom")
extern const QStringList WordListOrderNames; // ("Alpha", "Size", "Given", "GivenComma")
extern QString CreatedBy;
extern bool AutoLayoutPending;

// ---- Pencil, colours and preferences (registry values) ----------------------------------------

extern QString PencilFont;
/** The pencil font to use for a wanted name: that font when installed, else Comic Sans MS, else Arial. */
QString InstalledPencilFont(const QString &wanted);
extern int PencilSize; // percent of the cell
extern TColor PencilColor;
extern bool PencilThemeColor, PencilThemeBold, PencilHideAnswer;
extern TColor DesktopColor;
extern TColor ColorScheme;
extern TColor PageColor;
extern int EditTextSize;
extern bool AutoPatternNotice;
extern bool AutoClueSymmetrical, AutoClueFreeform;
extern QString InstallNumber; // "ConsistentRandomNumber"
extern QString InstallDate;   // "InstalledOnlineVersionDate"

// ---- Main window rectangle and run-time flags -------------------------------------------------

extern int Top, Left, Width, Height;
extern int WindowState; // 0 normal, 2 maximised
extern bool MainFormBoundsRestored;
extern bool MainFormReady;
extern bool FirstIdle; // the first idle pass opens the file named on the command line
extern bool MainFormClosing;
extern bool RegisterFileTypeOnClose;
extern bool PuzzleModified;
extern bool CluesNeedRebuild;
extern bool ClueLayoutDirty;
extern bool GridUpdating; // cell painting is skipped meanwhile
extern bool LoadingPuzzle;
extern bool ConstructCanceled;
extern bool RepaintOnPageChange;
extern bool ReleaseBuild; // internal errors stay silent

// ---- Texts ------------------------------------------------------------------------------------

extern QString ConnectionHelpText;
extern const QString ParagraphBreak; // CR LF CR LF

extern int GridLinePixelWidth; // grid line width in view pixels (set by the view)
extern int GridTileColumns;    // printable areas the grid spans across
extern int GridTileRows;       // and down
extern int WordSizeRowHeight;  // pixel row height of the word-size chart
extern int WordSizeChartTop;   // its top offset

/** Sets every global above and the layout settings to their start-up values and builds the case
 *  tables. Run once before any window exists; tests call it to start from a clean state. */
void InitGlobals();

// ---- Geometry (page inches) -------------------------------------------------------------------
// The forms without settings read LayoutSettings; the composer passes the settings it lays out.

double GetCellWidth();
double GetCellHeight();
double GetGridPageValue();
double GetCellWidth(const TLayoutSettings &s);
double GetCellHeight(const TLayoutSettings &s);
double GetGridPageValue(const TLayoutSettings &s);
double CellPageLeft(int c);
double CellPageTop(int r);
TPageRect CellPageRect(int c, int r);
double CellPageLeft(const TLayoutSettings &s, int c);
double CellPageTop(const TLayoutSettings &s, int r);
TPageRect CellPageRect(const TLayoutSettings &s, int c, int r);
double CellPageLeftFor(int c);
double CellPageTopFor(int r);
TPageRect CellPageRectFor(int c, int r);
double PageRightMarginSum();
double PageBottomMarginSum();
double PrintableWidth();
double PrintableHeight();
double PrintableWidth(const TLayoutSettings &s);
double PrintableHeight(const TLayoutSettings &s);
/** Places both grids on the paper from their stored places: PuzzleGridLeft = MarginLeft +
 *  PuzzleLeft, PuzzleGridTop = MarginTop + PuzzleTop (+ TitleBlockHeight when the title is on
 *  the grid page); the solution grid likewise on the last page. */
void UpdateGridPosition();
void UpdateGridPosition(const TLayoutSettings &s);

// ---- Geometry (view pixels) -------------------------------------------------------------------
// Pixel values round half to even and are clamped to the 32-bit range (a not-a-number gives 0).

void PixelToPage(int x, int y, double *pageX, double *pageY);
double PixelsToPage(int n);
int PageXToPixel(double x);
int PageYToPixel(double y);
int PageToPixelsX(double d);
int PageToPixelsY(double d);
TPixelRect PageRectToPixels(const TPageRect &rect);
TPixelRect CellPixelRect(int c, int r);
TPixelRect CellPixelRectFor(int c, int r);
/** round-half-even of a double to int, clamped to the int range. */
int RoundToPixel(double v);

// ---- Page rules -------------------------------------------------------------------------------

bool PageRuleMatches(int code, int page);
bool PageRuleA(int page); // the border
bool PageRuleB(int page); // the title
/** The rules with the grid page of these settings. */
bool PageRuleMatches(const TLayoutSettings &s, int code, int page);
bool PageRuleB(const TLayoutSettings &s, int page);

// ---- Printer ----------------------------------------------------------------------------------

/** Reads the page metrics of the current printer (kept, see printermetrics.h); without one the
 *  puzzle keeps its paper at 300 dpi. */
void InitPageMetrics();
/** The same, setting the paper of s. */
void InitPageMetrics(TLayoutSettings &s);
/** Applies measured printer metrics (device pixels). Without a printer the paper stays; a paper
 *  outside 2..50 inches either way gives 8.5 x 11. */
void ApplyPageMetrics(bool printer, int dpiX, int dpiY, double pageWidthPx, double pageHeightPx,
                      double offsetXPx, double offsetYPx);
void ApplyPageMetrics(TLayoutSettings &s, bool printer, int dpiX, int dpiY, double pageWidthPx,
                      double pageHeightPx, double offsetXPx, double offsetYPx);
bool HasPrinter();
QStringList GetFontList();
/** The first of the candidates that is among the installed fonts (exact names), else the first
 *  installed font; the first candidate when the list of installed fonts is empty. */
QString FirstInstalledFont(const QStringList &installed, const QStringList &candidates);
/** The pencil font a font box shows for a wanted name that may not be installed: the wanted
 *  font, "Comic Sans MS", "Arial", the faces the system draws in their place, common sans faces,
 *  else any installed font. */
QString PencilFontChoice(const QStringList &installed, const QString &wanted);
int TextWidthInFont(const QString &text, const QFont &font);

// ---- Messages ---------------------------------------------------------------------------------

void ShowConstructErrorMessage();
void ShowConstructIncompleteMessage();
void InternalError(const QString &text);
/** printf-style formatting, shown in an information box. */
void MessageFmt(const char *format, ...) __attribute__((format(printf, 1, 2)));
/** False (after telling the user) while a slot longer than 17 cells still has open cells. */
bool CheckLongSlotsFilled();

// ---- Small helpers ----------------------------------------------------------------------------

int MinInt(int a, int b);
int MaxInt(int a, int b);
double MinFloat(double a, double b);
TColor ColorIndexToColor(int index);
/** Lightens a colour toward a background for lines thinner than a pixel: weight w >= 1 keeps
 *  the colour; below it each channel is background - round(w x (background - colour)). */
TColor BlendColor(TColor colour, TColor background, double w);
int WordListPlaceIndex(const QString &text);
int WordListOrderIndex(const QString &text);
void ParseSizeSpec(const QString &text, int *columns, int *rows);
/** General format, 5 significant digits, "." as the decimal separator. */
QString FloatToShortStr(double x);
int ParseTFFlags(const QString &text);
QString FormatTFFlags(int bits);
/** Appends the folder separator "/" unless the text is empty or ends with one. */
QString AddBackslash(const QString &path);
/** Asks before replacing an existing file, then saves the list (Windows-1252, CR LF) safely:
 *  the old file stays as it was when the write fails. */
bool SaveListConfirmOverwrite(const QStringList &list, const QString &fileName, QString *error = nullptr);
QChar DirectionFromText(const QString &text);
bool IsHttpUrl(const QString &text);
QString UrlOrFileName(const QString &text);
int LastCharPos(const QString &text, QChar ch);
bool FindExactString(const QStringList &list, const QString &text, int *index);
QString SpacesToUnderscores(const QString &text);
bool EndsWithText(const QString &text, const QString &suffix);
QString TextAfterChar(QChar ch, const QString &text);
QString TextBeforeChar(QChar ch, const QString &text);
QString TrimBlanksTabs(const QString &text);
double StrToFloatDefault(const QString &text, double defaultValue);
QString Pluralize(int count, const QString &word);
/** Reads the next band of a border style's band list (the text after its "="): bands is
 *  upper-cased and keeps the text after the band's comma (at most 199 characters). A "GAP" is
 *  0.0125 inch wide and not a band; a band "<width>[\"][ name] * <colour>" (not "NONE") gives
 *  its width in inches and its decimal colour (0 when missing); otherwise width 0, white. The
 *  first "-" of the band is dropped. */
void ParseFrameBand(QString &bands, bool *isBand, double *width, TColor *color);
/** The sum of the band widths of a border style ("name = band, band, ..."), at most 99 bands. */
double SumValuesAfterEquals(const QString &text);

// ---- Paths and files --------------------------------------------------------------------------

/** The folder of the program file, with a trailing "/". */
QString GetProgramFolder();
/** Overrides the program folder (tests); empty goes back to the executable's folder. */
void SetProgramFolderForTesting(const QString &folder);
/** The folder standing for a Windows special folder: 5 documents, 26 application data
 *  (the user's configuration folder), 28 local application data (the user's data folder),
 *  35 common application data (the system-wide data folder); empty for any other number. */
QString GetSpecialFolderPath(int csidl);
QString GetMyDocumentsPath();
/** The documents folder when it exists, else the home folder; always an existing folder. */
QString GetDocumentsFolder();
QString GetCommonAppDataPath();
/** Local application data + "Halvard Inc/Tarvel", made when missing; empty when unknown. */
QString GetUserDataFolder();
QString GetCommonDataFolder(bool create);
QString GetIniFileName(bool create);
QString ReadDistributedVia();
QString FileAgeStamp(const QString &fileName);
QString FormatStampDate(int year, int month, int day);
QString FormatStampTime(int hour, int minute, int second);

// ---- System details ---------------------------------------------------------------------------

QString GetWindowsVersionName(); // the operating system's name and version
bool IsWorkstation();
int GetMemoryLoad(); // percent of memory in use
qint64 GetUptimeSeconds();
QString FormatUptime();
QString GetWindowsUserName();
QString GetUserInstallName();

// ---- Text for the web -------------------------------------------------------------------------

QString SanitizeName(const QString &text);
bool IsValidEmail(const QString &text);
QString ColorToHtml(TColor colour);
QString StraightenQuotes(const QString &text);
void SplitLines(const QString &text, QStringList *list);
QString JoinLinesLf(const QStringList &list);
QString StripQuery(const QString &url);
void ReplaceChar(QString &text, QChar from, QChar to);
/** Percent-encodes a value for a query: control characters, blank, double quote, "#", "%", "+",
 *  "<", ">" and also "&", "=", "?" (which would split the value); the text is trimmed first. */
QString UrlEncode(const QString &text);
/** The same for a whole address, which keeps "&", "=" and "?" as its query's separators. */
QString UrlEncodeAddress(const QString &text);
/** The text of the first "Error=" line of a script's reply (trimmed), empty when there is none
 *  or it is empty. */
QString ReplyErrorText(const QByteArray &reply);
/** Text from a server, cut to at most max characters followed by "..." when longer. */
QString ShortenServerText(const QString &text, qsizetype max = 2000);
/** The hosting advertisement sentence. */
QString HostingAdText();
QString MakeHostingPassword(const QString &text, const QString &numberText);
QString FormatId1(qint64 number);
