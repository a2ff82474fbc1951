// The layout dialog's pieces that need no widgets: the entry parsers and formats, the entry and
// tab checks with their messages, the column-width check, the border styles and the custom
// border, the margins from a border, the averages and the stepping of the margin entries.
#pragma once

#include "globals.h"
#include "layoutsettings.h"

#include <QList>
#include <QString>
#include <QStringList>

// ---- Parsers --------------------------------------------------------------------------------------

/** Every double quote read as a blank, then a strict decimal number (blanks around it allowed);
 *  false and 0 when the text is no finite number. */
bool ParseMeasurement(const QString &text, double *value);
/** ParseMeasurement with defaultValue for a text that does not parse. */
double ParseMeasurementDefault(const QString &text, double defaultValue);
/** The text up to the first double quote as a number ("0.5\" wide" reads 0.5); defaultValue and
 *  ok false when that part is no number. */
double ParseInchesBeforeQuote(const QString &text, double defaultValue, bool *ok = nullptr);
/** The first run of digits of the text as a number; false when the text has none. */
bool ParseFirstDigitRun(const QString &text, int *value);

// ---- Formats ----------------------------------------------------------------------------------------

/** "%4.2f" and an inch mark: margins. */
QString FormatMarginText(double inches);
/** "%4.2f": the border insets. */
QString FormatInsetText(double inches);
/** "%5.3f" and an inch mark: subtitle spacing, band widths, the inset averages. */
QString FormatSpacingText(double inches);
/** A blank, "0.###" and an inch mark: cell sizes, line weights, the grid position. */
QString FormatLengthText(double inches);
/** The number and " %". */
QString FormatLeadingText(int percent);
/** " %5.3f" and an inch mark: the margin average. */
QString FormatMarginAverageText(double inches);

// ---- Entry checks -----------------------------------------------------------------------------------

enum class TEntryState {
    Ok,
    WrongFormat,
    OutOfRange
};

struct TValueRange {
    double Min;
    double Max;
    bool Contains(double v) const { return v >= Min && v <= Max; }
};

constexpr TValueRange CellSizeRange{0.05, 12};
constexpr TValueRange LineWeightRange{0, 0.25};
constexpr TValueRange SubtitleSpacingRange{-0.25, 5};
constexpr TValueRange CellNumberPercentRange{5, 100};
constexpr TValueRange LetterPercentRange{25, 125};
constexpr TValueRange LeadingRange{25, 500};
constexpr TValueRange TitleSizeRange{1, 216};
constexpr TValueRange CreditsSizeRange{1, 24};
constexpr TValueRange WorksheetSizeRange{8, 36};

/** An inch entry read with ParseMeasurement; value is set only when the state is Ok. */
TEntryState CheckInchEntry(const QString &text, TValueRange range, double *value = nullptr);
/** The grid's place from a margin: from -margin to paper - margin. */
TEntryState CheckPositionEntry(const QString &text, double margin, double paper, double *value = nullptr);
/** A margin or border inset: the number before any inch mark, not negative. */
TEntryState CheckMarginEntry(const QString &text, double *value = nullptr);
/** A whole number in range (spin edits). */
TEntryState CheckIntegerEntry(const QString &text, TValueRange range, int *value = nullptr);
/** The leading: the first run of digits, 25 to 500. */
TEntryState CheckLeadingEntry(const QString &text, int *value = nullptr);

// ---- Tab checks -------------------------------------------------------------------------------------

/** The Clue Columns tab's message for a red leading entry. */
QString LeadingTabMessage();
/** The message for red margin or border inset entries. */
QString MarginTabMessage();
/** The message for any other red entry. */
QString RedEntryTabMessage();

/** The entries of the Puzzle or Solution tab as the tab check reads them. */
struct TGridTabEntries {
    QString CellWidth;
    QString CellHeight;
    bool HeightEnabled = true; // the height entry is not taken from the width
    bool FontSizeRed = false;  // the cell-number or letter size entry
    QString LineWeight;
    bool HasPosition = false; // the puzzle's place from the margins (Puzzle tab only)
    QString Left;
    QString Top;
    double MarginLeft = 1, MarginTop = 1; // the dialog's working margins
    double PaperWidth = 8.5, PaperHeight = 11;
};

/** The Puzzle (gridName "Puzzle") or Solution ("Solution") tab's message: a sentence for each
 *  failing entry and the closing sentences; empty when every entry passes. */
QString GridTabMessage(const QString &gridName, const TGridTabEntries &entries);

/** What CheckFit reads: the dialog's working values and chosen controls. */
struct TFitInput {
    double PaperWidth = 8.5, PaperHeight = 11;
    double MarginLeft = 1, MarginRight = 1, MarginTop = 1, MarginBottom = 1;
    double CellWidth = 0.25;
    int Columns = 4;
    int ClueTextSize = 12;
    int ClueNumberOffset = 0;
};
/** Inches a clue needs: its number and three characters. */
double NeededClueWidth(const TFitInput &in);
/** Inches one column gets between the margins, less the gaps of 0.75 cell between columns. */
double AvailableColumnWidth(const TFitInput &in);
/** The width and margin check; empty when the layout fits. */
QString CheckFitMessage(const TFitInput &in);

// ---- Other dialog values ------------------------------------------------------------------------------

/** The 4-bit style code: bit 0 bold, bit 1 italic, bit 2 underline, bit 3 strike-out. */
TFontStyles PackFontStyle(bool bold, bool italic, bool underline, bool strikeOut);
/** "( n pt.)": percent of the cell (inches) in whole points. */
QString PointSizeLabelText(int percent, double cellInches);
/** The word-bank lists' indexes for a stored mode (outside 0..1 counts as 1) and sort (outside
 *  0..3 counts as 0). */
int WordBankModeIndex(int mode);
int WordBankSortIndex(int sort);
/** The word bank's page: 1, or in page mode 3 the page other than the puzzle page. */
int WordBankPageFor(int pageChoice, int puzzlePage);
/** The view tab Apply shows for the dialog's tab: the clue page for the clue tabs, the
 *  penciled-in grid for the credits, the solution page, else the puzzle page. */
QString ApplyViewTabCaption(int tab, int puzzlePage, bool separateClues, int solutionPage);

// ---- Border styles ----------------------------------------------------------------------------------

extern const QString NoBorderItemText; // "None"
extern const QString CustomBorderName; // "CUSTOM  (Specify details below)"
/** The name older puzzles stored for the custom border. */
extern const QString OldCustomBorderName;
constexpr int NoBorderItem = 0;
constexpr int CustomBorderItem = 1;
constexpr int BorderBandCount = 5;

/** The 25 ready styles, "name = band, band, ...". */
const QStringList &ReadyBorderStyles();
/** The 27 items of the border style list: "None", the custom item and the ready styles. */
QStringList BorderStyleItems();
/** The items of a band width list: "None" and the widths from 0.005 to 0.50 inch. */
const QStringList &BandWidthItems();

/** The text before "=", trimmed. */
QString BorderStyleName(const QString &style);
/** The item whose name is the stored style's name (the old custom name counts as the custom
 *  item); -1 when none is. */
int FindBorderStyleItem(const QStringList &items, const QString &style);
/** The total width of a style's bands and gaps, in inches. */
double BorderBandTotal(const QString &style);

/** The custom border panel: five bands from the outside in, each a width list text ("None", an
 *  item or typed) and a colour, and the gaps box. */
struct TBorderBand {
    QString Width = QStringLiteral("None");
    TColor Color = 0;
};
struct TCustomBorder {
    TBorderBand Bands[BorderBandCount];
    bool Gaps = false;
};

/** The panel for a style: the gaps box ticked when the style has gaps (which are then taken out),
 *  then five bands in turn, each width formatted "%5.3f" with an inch mark (a fifth character "0"
 *  dropped) matched to the first list item that contains it, else typed; a missing or zero band
 *  shows "None". */
TCustomBorder ShowBorderStyle(const QString &style);
/** The custom style text of the panel: the custom name, " = ", the bands separated by ", ",
 *  with "Gap, " before bands 2 to 5 when gaps are on (not before empty bands at the end). */
QString BuildCustomBorderStyle(const TCustomBorder &border);

/** The margins a border gives: on each side the outside inset, the band total and the inside
 *  inset; false (and margins untouched) when the style has no band width. */
bool MarginsFromBorder(const QString &style, const TPageRect &outside, const TPageRect &inside,
                       TPageRect *margins);

/** One bar of a style's picture in the list: pixels from the left and width, its colour. */
struct TBorderBar {
    int Left = 0;
    int Width = 0;
    TColor Color = 0;
    bool operator==(const TBorderBar &) const = default;
};
/** The bars of a style's list picture: from 5 pixels, 100 pixels to the inch (at least 1 a band),
 *  gaps left blank. */
QList<TBorderBar> BorderStyleBars(const QString &style);

// ---- Averages and stepping -----------------------------------------------------------------------------

struct TAverage {
    double Value = 0;
    bool AllEqual = true;
};
TAverage AverageOf(double a, double b, double c, double d);
/** "Outside" or "Outside (Average)", and so on. */
QString AverageLabelText(const QString &name, bool allEqual);

/** +1 for Up, "+" and "=", -1 for Down and "-", 0 for any other key. */
int StepDirectionOf(int key, const QString &text);
/** The value stepped by 0.01 inch in the direction, on whole hundredths, never below 0. */
double StepInches(double value, int direction);

/** The red and black times (ms) of each blink of the spacing hints: starting at on and off, both
 *  growing by a third after every blink. */
QList<QPair<int, int>> BlinkSchedule(int count, int onMs, int offMs);
