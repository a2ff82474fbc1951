// The layout dialog's widget-free pieces: parsers, formats, checks, border styles, stepping.
#include "layoutentries.h"

#include <QPair>
#include <QtCore/qnamespace.h>

#include <algorithm>
#include <cmath>

namespace {

const QChar InchMark = QLatin1Char('"');

/** A strict decimal number: blanks around it allowed, nothing else. */
bool toNumber(const QString &text, double *value)
{
    const QString s = text.trimmed();
    bool ok = false;
    const double v = s.isEmpty() ? 0 : s.toDouble(&ok);
    if (!ok || !std::isfinite(v)) {
        *value = 0;
        return false;
    }
    *value = v;
    return true;
}

TEntryState inRange(bool parsed, double v, TValueRange range)
{
    if (!parsed)
        return TEntryState::WrongFormat;
    return range.Contains(v) ? TEntryState::Ok : TEntryState::OutOfRange;
}

/** The band list of a style, items taken in turn as the border painter takes them. */
struct TParsedBand {
    bool IsBand = false;
    double Width = 0;
    TColor Color = 0;
};
QList<TParsedBand> parseBands(const QString &bandText)
{
    QList<TParsedBand> bands;
    QString rest = bandText;
    for (int i = 0; i < 99 && rest.size() >= 3; ++i) {
        TParsedBand b;
        ParseFrameBand(rest, &b.IsBand, &b.Width, &b.Color);
        bands.append(b);
    }
    return bands;
}

/** A band of the panel that draws nothing: "None", or no width. */
bool isEmptyBand(const TBorderBand &band)
{
    QString rest = band.Width + QLatin1Char('*') + QString::number(band.Color);
    bool isBand = false;
    double width = 0;
    ParseFrameBand(rest, &isBand, &width, nullptr);
    return !isBand || width <= 0;
}

} // namespace

// ---- Parsers --------------------------------------------------------------------------------------

bool ParseMeasurement(const QString &text, double *value)
{
    QString s = text;
    s.replace(InchMark, QLatin1Char(' '));
    double v = 0;
    const bool ok = toNumber(s, &v);
    if (value)
        *value = v;
    return ok;
}

double ParseMeasurementDefault(const QString &text, double defaultValue)
{
    double v = 0;
    return ParseMeasurement(text, &v) ? v : defaultValue;
}

double ParseInchesBeforeQuote(const QString &text, double defaultValue, bool *ok)
{
    const qsizetype quote = text.indexOf(InchMark);
    double v = 0;
    const bool parsed = toNumber(quote < 0 ? text : text.left(quote), &v);
    if (ok)
        *ok = parsed;
    return parsed ? v : defaultValue;
}

bool ParseFirstDigitRun(const QString &text, int *value)
{
    qsizetype i = 0;
    while (i < text.size() && !text[i].isDigit())
        ++i;
    qsizetype end = i;
    while (end < text.size() && text[end].isDigit())
        ++end;
    if (end == i)
        return false;
    bool ok = false;
    const int v = text.mid(i, end - i).toInt(&ok);
    if (!ok)
        return false; // more digits than an int holds
    if (value)
        *value = v;
    return true;
}

// ---- Formats ----------------------------------------------------------------------------------------

QString FormatMarginText(double inches) { return QString::asprintf("%4.2f", inches) + InchMark; }

QString FormatInsetText(double inches) { return QString::asprintf("%4.2f", inches); }

QString FormatSpacingText(double inches) { return QString::asprintf("%5.3f", inches) + InchMark; }

QString FormatLengthText(double inches)
{
    // "0.###": up to three decimals, no trailing zeros, and never "-0".
    QString s = QString::number(inches, 'f', 3);
    while (s.contains(QLatin1Char('.')) && (s.endsWith(QLatin1Char('0')) || s.endsWith(QLatin1Char('.'))))
        s.chop(1);
    if (s == QLatin1String("-0"))
        s = QStringLiteral("0");
    return QLatin1Char(' ') + s + InchMark;
}

QString FormatLeadingText(int percent) { return QString::number(percent) + QStringLiteral(" %"); }

QString FormatMarginAverageText(double inches) { return QString::asprintf(" %5.3f", inches) + InchMark; }

// ---- Entry checks -----------------------------------------------------------------------------------

TEntryState CheckInchEntry(const QString &text, TValueRange range, double *value)
{
    double v = 0;
    const bool parsed = ParseMeasurement(text, &v);
    const TEntryState state = inRange(parsed, v, range);
    if (state == TEntryState::Ok && value)
        *value = v;
    return state;
}

TEntryState CheckPositionEntry(const QString &text, double margin, double paper, double *value)
{
    return CheckInchEntry(text, {-margin, paper - margin}, value);
}

TEntryState CheckMarginEntry(const QString &text, double *value)
{
    bool ok = false;
    const double v = ParseInchesBeforeQuote(text, 0, &ok);
    const TEntryState state = inRange(ok, v, {0, HUGE_VAL});
    if (state == TEntryState::Ok && value)
        *value = v;
    return state;
}

TEntryState CheckIntegerEntry(const QString &text, TValueRange range, int *value)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    const TEntryState state = inRange(ok, v, range);
    if (state == TEntryState::Ok && value)
        *value = v;
    return state;
}

TEntryState CheckLeadingEntry(const QString &text, int *value)
{
    int v = 0;
    const bool parsed = ParseFirstDigitRun(text, &v);
    const TEntryState state = inRange(parsed, v, LeadingRange);
    if (state == TEntryState::Ok && value)
        *value = v;
    return state;
}

// ---- Tab checks -------------------------------------------------------------------------------------

QString LeadingTabMessage()
{
    return QStringLiteral("Any entry that is blank or red is either out of range or in the wrong "
                          "format.  Leading can range from ") +
           QStringLiteral("25") + QStringLiteral("% to ") + QStringLiteral("500") +
           QStringLiteral("%.  To close the Layout dialog ") +
           QStringLiteral("without making any changes, press its Cancel button.");
}

QString MarginTabMessage()
{
    return QStringLiteral("A margin or border spacing entry that is red is negative or in the "
                          "wrong format.  Black text means the entry is acceptable.  To close the "
                          "Layout dialog without making any changes, press its Cancel button.");
}

QString RedEntryTabMessage()
{
    return QStringLiteral("Any entry that is red is either out of range or in the wrong format.  "
                          "Black text means the entry is acceptable.  To close the Layout dialog "
                          "without making any changes, press its Cancel button.");
}

QString GridTabMessage(const QString &gridName, const TGridTabEntries &e)
{
    QString text;
    auto sentence = [&](TEntryState state, const QString &what) {
        if (state == TEntryState::WrongFormat)
            text += what + QStringLiteral(" entry is in wrong format. ");
        else if (state == TEntryState::OutOfRange)
            text += what + QStringLiteral(" is out of range. ");
    };
    sentence(CheckInchEntry(e.CellWidth, CellSizeRange), gridName + QStringLiteral(" cell width"));
    if (e.HeightEnabled)
        sentence(CheckInchEntry(e.CellHeight, CellSizeRange), gridName + QStringLiteral(" cell height"));
    if (e.FontSizeRed)
        text += gridName + QStringLiteral(" font size is out of range. ");
    sentence(CheckInchEntry(e.LineWeight, LineWeightRange), gridName + QStringLiteral(" line weight"));
    if (e.HasPosition) {
        auto position = [&](TEntryState state, const QString &name) {
            if (state == TEntryState::Ok)
                return;
            text += QStringLiteral("Entry for ") + InchMark + name + InchMark +
                    (state == TEntryState::WrongFormat ? QStringLiteral(" is in wrong format. ")
                                                       : QStringLiteral(" is out of range. "));
        };
        position(CheckPositionEntry(e.Left, e.MarginLeft, e.PaperWidth), QStringLiteral("from left margin"));
        position(CheckPositionEntry(e.Top, e.MarginTop, e.PaperHeight), QStringLiteral("from top margin"));
    }
    if (text.isEmpty())
        return text;
    if (e.HasPosition)
        return text + QStringLiteral("Black text means the entry is acceptable. ") +
               QStringLiteral("To close the Layout dialog without making any changes, ") +
               QStringLiteral("press its Cancel button.");
    return text + QStringLiteral("Black text means the entry is acceptable.");
}

double NeededClueWidth(const TFitInput &in)
{
    return (in.ClueTextSize + in.ClueNumberOffset) / 72.0 + 3 * in.ClueTextSize / 72.0;
}

double AvailableColumnWidth(const TFitInput &in)
{
    const int n = std::max(1, in.Columns);
    return (in.PaperWidth - in.MarginLeft - in.MarginRight - (n - 1) * 0.75 * in.CellWidth) / n;
}

QString CheckFitMessage(const TFitInput &in)
{
    QString text;
    if (NeededClueWidth(in) > AvailableColumnWidth(in)) {
        text = QStringLiteral("Your formatting choices result in columns that are too narrow for "
                              "the clues. Try to:  ");
        if (in.PaperWidth < 8)
            text += QStringLiteral(" -- select wider paper size");
        if (in.MarginLeft + in.MarginRight > 2)
            text += QStringLiteral(" -- reduce left/right margins width");
        if (in.CellWidth > 0.35)
            text += QStringLiteral(" -- reduce puzzle cell width");
        if (in.ClueTextSize > 12)
            text += QStringLiteral(" -- reduce clue font sizes");
        if (in.Columns > 1)
            text += QStringLiteral(" -- use fewer columns");
    }
    if (in.MarginTop + in.MarginBottom + 2 > in.PaperHeight)
        text += QStringLiteral(" The top/bottom margins are too big for the current paper size.");
    return text;
}

// ---- Other dialog values ------------------------------------------------------------------------------

TFontStyles PackFontStyle(bool bold, bool italic, bool underline, bool strikeOut)
{
    return (bold ? fsBold : 0) | (italic ? fsItalic : 0) | (underline ? fsUnderline : 0) |
           (strikeOut ? fsStrikeOut : 0);
}

QString PointSizeLabelText(int percent, double cellInches)
{
    const long points = std::lround(percent * cellInches / 100 * 72);
    return QStringLiteral("( ") + QString::number(points) + QStringLiteral(" pt.)");
}

int WordBankModeIndex(int mode) { return mode >= 0 && mode <= 1 ? mode : 1; }

int WordBankSortIndex(int sort) { return sort >= 0 && sort <= 3 ? sort : 0; }

int WordBankPageFor(int pageChoice, int puzzlePage) { return pageChoice == 3 ? 3 - puzzlePage : 1; }

QString ApplyViewTabCaption(int tab, int puzzlePage, bool separateClues, int solutionPage)
{
    const QString page = QStringLiteral("Page ");
    switch (tab) {
    case 1:
    case 2: return page + QString::number(separateClues ? 3 - puzzlePage : 1);
    case 3: return QStringLiteral("Penciled-In Grid*");
    case 7: return page + QString::number(solutionPage);
    default: return page + QString::number(puzzlePage);
    }
}

// ---- Border styles ----------------------------------------------------------------------------------

const QString NoBorderItemText = QStringLiteral("None");
const QString CustomBorderName = QStringLiteral("CUSTOM  (Specify details below)");
const QString OldCustomBorderName = QStringLiteral("Custom  (Specify detals below)");

const QStringList &ReadyBorderStyles()
{
    // Coloured styles mark each width with an inch mark (and a weight word where the width list
    // has one) and fill up to five bands with empty white ones. Colours are $BBGGRR decimals.
    static const QStringList styles = {
        "Blue, 2-tone = 0.10\" Heavy * 8388608, 0.06\" Medium * 16436871, 0\" * 16777215, "
        "0\" * 16777215, 0\" * 16777215",
        "Blue, 3-D = 0.04\" * 16436871, 0.08\" * 14772545, 0.04\" * 8388608, 0\" * 16777215, "
        "0\" * 16777215",
        "Christmas = 0.06\" Medium * 255, 0.02\" Fine * 55295, 0.06\" Medium * 25600, "
        "0.02\" Fine * 55295, 0.06\" Medium * 255",
        "Green, 2-tone = 0.10\" Heavy * 25600, 0.06\" Medium * 9498256, 0\" * 16777215, "
        "0\" * 16777215, 0\" * 16777215",
        "Pink, 2-tone = 0.10\" Heavy * 9639167, 0.06\" Medium * 13353215, 0\" * 16777215, "
        "0\" * 16777215, 0\" * 16777215",
        "Pink, 3-D = 0.04\" * 13353215, 0.08\" * 11823615, 0.04\" * 9639167, 0\" * 16777215, "
        "0\" * 16777215",
        "Rainbow = 0.04\" * 255, 0.04\" * 42495, 0.04\" * 65535, 0.04\" * 32768, "
        "0.04\" * 16711680",
        "Rainbow with gaps = 0.04\" * 255, Gap, 0.04\" * 42495, Gap, 0.04\" * 65535, Gap, "
        "0.04\" * 32768, Gap, 0.04\" * 16711680",
        "Yellow Jacket = 0.04\" * 0, 0.04\" * 65535, 0.04\" * 0, 0.04\" * 65535, 0.04\" * 0",
        "One fine line = 0.02 *  0",
        "One medium line = 0.06 * 0",
        "One heavy line = 0.10 * 0",
        "Two thin lines = 0.04 * 0, Gap, 0.04 * 0",
        "Three thin lines = 0.02 * 0, Gap, 0.02 * 0, Gap, 0.02 * 0",
        "Three varied lines = 0.02 * 0, Gap, 0.06 * 0, Gap, 0.02 * 0",
        "Five varied lines = 0.01 * 0, Gap, 0.02 * 0, Gap, 0.04 * 0, Gap, 0.02 * 0, Gap, 0.01 * 0",
        "Two heavy lines = 0.10 * 0, Gap, 0.10 * 0",
        "Thick on the outside = 0.10 * 0, Gap, 0.02 * 0",
        "Frame = 0.02 * 0, 0.15 * 12566463, 0.02 * 0",
        "Inward Frame Very Light = 0.005 * 0, 0.04 * 14737632, 0.02 * 12566463, 0.01 * 0",
        "Inward Frame Light = 0.01 * 0, 0.06 * 14737632, 0.04 * 12566463, 0.01 * 0",
        "Inward Frame = 0.01 * 0, 0.08 * 14737632, 0.06 * 12566463, 0.02 * 0",
        "Inward Frame Heavy = 0.02 * 0, 0.10 * 14737632, 0.08 * 12566463, 0.04 * 0",
        "Inward Frame Very Heavy = 0.02 * 0, 0.15 * 14737632, 0.10 * 12566463, 0.06 * 8421504, "
        "0.02 * 0",
        "Banded Frame = 0.02 * 0, 0.06 * 12566463, 0.02 * 0, 0.06 * 12566463, 0.02 * 0",
    };
    return styles;
}

QStringList BorderStyleItems()
{
    QStringList items = {NoBorderItemText, CustomBorderName};
    items += ReadyBorderStyles();
    return items;
}

const QStringList &BandWidthItems()
{
    static const QStringList items = {
        "None",         "0.005\" Finest", "0.01\"", "0.02\" Fine",     "0.04\"", "0.06\" Medium",
        "0.08\"",       "0.10\" Heavy",   "0.15\"", "0.20\" Wide",     "0.25\"", "0.30\"",
        "0.35\" Broad", "0.40\"",         "0.45\"", "0.50\" Broadest",
    };
    return items;
}

QString BorderStyleName(const QString &style) { return TextBeforeChar(QLatin1Char('='), style); }

int FindBorderStyleItem(const QStringList &items, const QString &style)
{
    QString name = BorderStyleName(style);
    if (name == OldCustomBorderName)
        name = CustomBorderName;
    for (int i = 0; i < items.size(); ++i)
        if (BorderStyleName(items[i]) == name)
            return i;
    return -1;
}

double BorderBandTotal(const QString &style) { return SumValuesAfterEquals(style); }

TCustomBorder ShowBorderStyle(const QString &style)
{
    TCustomBorder border;
    QString bands = TextAfterChar(QLatin1Char('='), style).toUpper();
    if (bands.contains(QLatin1String("GAP,"))) {
        border.Gaps = true;
        bands.remove(QLatin1String("GAP,"));
    }
    for (TBorderBand &band : border.Bands) {
        bool isBand = false;
        double width = 0;
        TColor colour = 0xFFFFFF;
        ParseFrameBand(bands, &isBand, &width, &colour);
        band.Color = colour;
        if (!isBand || width <= 0) {
            band.Width = NoBorderItemText;
            continue;
        }
        QString text = QString::asprintf("%5.3f", width);
        if (text.size() >= 5 && text[4] == QLatin1Char('0'))
            text.remove(4, 1);
        text += InchMark;
        band.Width = text;
        for (const QString &item : BandWidthItems())
            if (item.contains(text)) {
                band.Width = item;
                break;
            }
    }
    return border;
}

QString BuildCustomBorderStyle(const TCustomBorder &border)
{
    // Gaps after the last band that draws would only widen the margins.
    int last = 0;
    for (int i = 0; i < BorderBandCount; ++i)
        if (!isEmptyBand(border.Bands[i]))
            last = i;
    QString text = CustomBorderName + QStringLiteral(" = ");
    for (int i = 0; i < BorderBandCount; ++i) {
        const TBorderBand &band = border.Bands[i];
        if (i > 0) {
            text += QStringLiteral(", ");
            if (border.Gaps && i <= last)
                text += QStringLiteral("Gap, ");
        }
        text += band.Width + QLatin1Char('*') + QString::number(band.Color);
    }
    return text;
}

bool MarginsFromBorder(const QString &style, const TPageRect &outside, const TPageRect &inside,
                       TPageRect *margins)
{
    const double total = BorderBandTotal(style);
    if (total <= 0)
        return false;
    margins->Left = outside.Left + total + inside.Left;
    margins->Top = outside.Top + total + inside.Top;
    margins->Right = outside.Right + total + inside.Right;
    margins->Bottom = outside.Bottom + total + inside.Bottom;
    return true;
}

QList<TBorderBar> BorderStyleBars(const QString &style)
{
    QList<TBorderBar> bars;
    int x = 5;
    for (const TParsedBand &band : parseBands(TextAfterChar(QLatin1Char('='), style))) {
        const int pixels = int(std::lround(band.Width * 100));
        if (band.IsBand) {
            const int w = std::max(1, pixels);
            bars.append({x, w, band.Color});
            x += w;
        } else {
            x += pixels; // a gap stays blank
        }
    }
    return bars;
}

// ---- Averages and stepping -----------------------------------------------------------------------------

TAverage AverageOf(double a, double b, double c, double d)
{
    return {(a + b + c + d) / 4, a == b && b == c && c == d};
}

QString AverageLabelText(const QString &name, bool allEqual)
{
    return allEqual ? name : name + QStringLiteral(" (Average)");
}

int StepDirectionOf(int key, const QString &text)
{
    if (key == Qt::Key_Up || text == QLatin1String("+") || text == QLatin1String("="))
        return 1;
    if (key == Qt::Key_Down || text == QLatin1String("-"))
        return -1;
    return 0;
}

double StepInches(double value, int direction)
{
    const double stepped = std::round((value + 0.01 * direction) * 100) / 100;
    return std::max(0.0, stepped);
}

QList<QPair<int, int>> BlinkSchedule(int count, int onMs, int offMs)
{
    QList<QPair<int, int>> times;
    double on = onMs, off = offMs;
    for (int i = 0; i < count; ++i) {
        times.append({int(std::lround(on)), int(std::lround(off))});
        on = on * 4 / 3;
        off = off * 4 / 3;
    }
    return times;
}
