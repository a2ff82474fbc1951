// Program-wide document and settings state, page geometry, page rules, shared messages, paths,
// system details and web helpers. Every part of the program reads and writes these by name.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

class QLabel;
class QWidget;

// ---- Types -------------------------------------------------------------------------------------

/** A rectangle of doubles (inches on the page). */
struct TPageRect {
    double Left = 0;
    double Top = 0;
    double Right = 0;
    double Bottom = 0;
    bool operator==(const TPageRect &) const = default;
};

/** A rectangle in view pixels, edges as given (Right and Bottom are exclusive edges). */
struct TPixelRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const TPixelRect &) const = default;
};

/** Windows colour value $BBGGRR. */
using TColor = int;

/** Font style bits, in the order of the "BIUS" flags of the puzzle file. */
using TFontStyles = int;
constexpr TFontStyles fsBold = 1;
constexpr TFontStyles fsItalic = 2;
constexpr TFontStyles fsUnderline = 4;
constexpr TFontStyles fsStrikeOut = 8;

constexpr TFontStyles DefaultClueNumberStyle = fsBold;
constexpr TFontStyles DefaultClueThemeStyle = fsBold | fsItalic;
constexpr TFontStyles DefaultTitleStyle = 0;
constexpr TFontStyles DefaultSubtitleStyle = 0;

// ---- Grid and puzzle type ---------------------------------------------------------------------

extern int Columns;              // grid width, 1..51
extern int Rows;                 // grid height, 1..51
extern bool FreeformMode;        // "Freeform Crossword" chosen (LooseRB); no cell-letter mapping

// ---- Puzzle grid on the page (inches) ---------------------------------------------------------

extern double CellWidth, CellHeight;
extern double PuzzleLeft, PuzzleTop;         // stored grid place from the margins ("PuzzleLeft", "PuzzleTop")
extern double PuzzleGridLeft, PuzzleGridTop; // top-left corner of the grid on the paper (computed)
extern double PuzzleLineInset;               // grid line thickness in effect for the puzzle grid
extern double GridLineThickness;
extern int CellNumberPercent;
extern QString PuzzleNumberFont;
extern TColor clPuzzleGrid, clPuzzleNumber;
extern TColor RemovedCellColor;
extern TColor OpenCellColor;                 // fill of open cells on paper
extern int BlockedCellColor;                 // item of the block-colour list, 0 White .. 6 Custom

// ---- Solution grid ----------------------------------------------------------------------------

extern bool AlignSolution;
extern bool NumberedSolution;
extern double CellWidthSol, CellHeightSol;
extern double SolutionLeft, SolutionTop;         // stored, as PuzzleLeft and PuzzleTop
extern double SolutionGridLeft, SolutionGridTop; // on the paper (computed)
extern double SolutionLineInset;
extern double GridLineThicknessSol;
extern int CellLetterPercent;
extern QString SolutionFont;
extern bool SolutionThemeBold, SolutionThemeColor;
extern TColor clSolutionNumber, clSolutionGrid, clSolutionLetter, clClues, clWordBank;

// ---- Page view --------------------------------------------------------------------------------

extern double InchesPerPixel;
extern TPageRect ViewPageRect;
extern int View;        // 0 whole page, 1 page width, 2 penciled-in grid, 3 clues, 4 solution, 5 custom
extern double ViewCenterX, ViewCenterY; // page point (inches) at the centre of the view
extern int CurrentPage; // page shown
extern int PageCount;

// ---- Paper, margins, border -------------------------------------------------------------------

extern double PaperWidth, PaperHeight;
extern double PhysicalOffsetX, PhysicalOffsetY;
extern int DevicePixelsPerInchX, DevicePixelsPerInchY;
extern TPageRect PageRect;
extern double MarginLeft, MarginRight, MarginTop, MarginBottom;
extern int PuzzlePage;   // the page holding the grid
extern int SolutionPage; // the page holding the solution, the last page
extern std::uint8_t PutFrameOnCode; // page rule code of the border
extern std::uint8_t PutTitleOnCode; // page rule code of the title
extern QString FrameStyle;
extern TPageRect FrameInside;  // inner frame insets (inches)
extern TPageRect FrameOutside; // outer frame insets (inches)
extern const TPageRect DefaultFrameInside;
extern const TPageRect DefaultFrameOutside;
extern QString WorksheetLine;
extern int WorksheetFontSize;
extern QString WorksheetFontName;

/** The list texts of the page rule codes 0..8. */
extern const QStringList PageRuleTexts;

// ---- Clues and columns ------------------------------------------------------------------------

extern int ClueColumns;
extern bool SeparateClues;
extern QString AcrossText, DownText;
extern int LeadingPercentage;
extern QString ClueNumberFont;
extern int ClueNumberFontSize;
extern TFontStyles ClueNumberStyle; // "ClueNumberBold" in the puzzle file
extern QString ClueTextFont;
extern int ClueTextFontSize;
extern TFontStyles ClueThemeStyle;  // "ClueThemeBold", "ClueThemeItalic"
extern bool ClueThemeInColor, ClueThemeAllCaps;
extern QString AcrDwnFont;
extern int AcrDwnFontSize;
extern bool AcrDwnBold, AcrDwnCapitals, NewColumnDown;
extern double ClueColumnGap;
extern double PuzzleClueGap;

// ---- Word bank --------------------------------------------------------------------------------

extern int WordBankMode;     // 0 "InClues", 1 "Bottom"
extern int WordBankSort;     // 0 "Alpha", 1 "Size", 2 "Given", 3 "GivenComma"
extern QString WordBankHeader;
extern int WordBankPage;     // "WordBankPager" in the puzzle file
extern double asWordBankHeight;
extern bool IgnoreWordBankCBClick;
extern bool WordBankCBCheckpointing;
extern const QStringList WordListPlaceNames; // ("InClues", "Bottom")
extern const QStringList WordListOrderNames; // ("Alpha", "Size", "Given", "GivenComma")

// ---- Title and credits ------------------------------------------------------------------------

extern QString CreatedBy;
extern QString CreditsLine;
extern QString TitleFont;
extern int TitleFontSize;
extern TColor TitleColor;
extern TFontStyles TitleStyle;      // "TitleBIUS"
extern QString SubtitleFont;
extern int SubtitleFontSize;
extern TColor SubtitleColor;
extern TFontStyles SubtitleStyle;   // "SubtitleBIUS"
extern double SubtitleExtraSpacing;
extern QString CreditsFont;
extern int CreditsFontSize;
extern QString SolutionHeaderText;   // heading over the solution grid; off while empty
extern QString SolutionHeaderFont;
extern int SolutionHeaderFontSize;   // 0: no solution header
extern TFontStyles SolutionHeaderStyle;
extern TColor SolutionHeaderColor;
extern double TitleBlockHeight;      // inches the title and subtitle take at the top of a page

// ---- Auto-layout ------------------------------------------------------------------------------

extern bool AutoCellSize, AutoCellShape, AutoCenter, AutoClueColumns, AutoClueSize,
    AutoClueSpacing, AutoMargins, AutoNewColumn, AutoTitleSize, AutoLayout_OnApply,
    AutoLayout_OnSpill;
extern int AutoLayoutPageChoice; // 1, 2 or 3
extern bool AskBeforeUsingTwoPages;
extern bool AutoLayoutPending;

// ---- Pencil, colours and preferences (registry values) ----------------------------------------

extern QString PencilFont;
/** The pencil font to use for a wanted name: that font when installed, else Comic Sans MS, else Arial. */
QString InstalledPencilFont(const QString &wanted);
extern int PencilSize;     // percent of the cell
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
extern bool FirstIdle;          // the first idle pass opens the file named on the command line
extern bool MainFormClosing;
extern bool RegisterFileTypeOnClose;
extern bool PuzzleModified;
extern bool CluesNeedRebuild;
extern bool ClueLayoutDirty;
extern bool GridUpdating;       // cell painting is skipped meanwhile
extern bool LoadingPuzzle;
extern bool ConstructCanceled;
extern bool RepaintOnPageChange;
extern bool ReleaseBuild;       // internal errors stay silent

// ---- Texts ------------------------------------------------------------------------------------

extern QString ConnectionHelpText;
extern const QString ParagraphBreak; // CR LF CR LF

extern int GridLinePixelWidth; // grid line width in view pixels (set by the view)
extern int GridTileColumns;    // printable areas the grid spans across
extern int GridTileRows;       // and down
extern int WordSizeRowHeight; // pixel row height of the word-size chart
extern int WordSizeChartTop;  // its top offset

/** Sets every global above to its start-up value and builds the case tables. Run once before
 *  any window exists; tests call it to start from a clean state. */
void InitGlobals();

// ---- Geometry (page inches) -------------------------------------------------------------------

double GetCellWidth();
double GetCellHeight();
double GetGridPageValue();
double CellPageLeft(int c);
double CellPageTop(int r);
TPageRect CellPageRect(int c, int r);
double CellPageLeftFor(int c);
double CellPageTopFor(int r);
TPageRect CellPageRectFor(int c, int r);
double PageRightMarginSum();
double PageBottomMarginSum();
double PrintableWidth();
double PrintableHeight();
/** Places both grids on the paper from their stored places: PuzzleGridLeft = MarginLeft +
 *  PuzzleLeft, PuzzleGridTop = MarginTop + PuzzleTop (+ TitleBlockHeight when the title is on
 *  the grid page); the solution grid likewise on the last page. */
void UpdateGridPosition();

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

// ---- Printer ----------------------------------------------------------------------------------

/** Reads the page metrics of the current printer (cached, see printersource.h); without one the
 *  puzzle keeps its paper at 300 dpi. */
void InitPageMetrics();
/** Applies measured printer metrics (device pixels). Without a printer the paper stays; a paper
 *  outside 2..50 inches either way gives 8.5 x 11. */
void ApplyPageMetrics(bool printer, int dpiX, int dpiY, double pageWidthPx, double pageHeightPx,
                      double offsetXPx, double offsetYPx);
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
/** Sets the two-part hints ("short|long") of the main window's speed buttons found by name
 *  under the window: the short part as tool tip, the long part as status tip. */
void SetToolbarHints(QWidget *mainWindow);

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
bool SaveListConfirmOverwrite(const QStringList &list, const QString &fileName,
                              QString *error = nullptr);
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
int GetMemoryLoad();             // percent of memory in use
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
/** Posts the name=value fields to the URL and tells the user how it went; never throws.
 *  True when the message went through: a 2xx reply without an "Error=" line. While it runs only
 *  modalTo's window takes input (a cancel there ends it); progress gets the bytes sent and
 *  received. */
bool PostMessageToServer(const QStringList &fields, const QString &url, QWidget *modalTo = nullptr,
                         const std::function<void(qint64 sent, qint64 received)> &progress = {});
/** The text of the first "Error=" line of a script's reply (trimmed), empty when there is none
 *  or it is empty. */
QString ReplyErrorText(const QByteArray &reply);
/** Text from a server, cut to at most max characters followed by "..." when longer. */
QString ShortenServerText(const QString &text, qsizetype max = 2000);
/** The hosting advertisement sentence, and setting it on a label. */
QString HostingAdText();
void SetHostingAdText(QLabel *label);
QString MakeHostingPassword(const QString &text, const QString &numberText);
QString FormatId1(qint64 number);
