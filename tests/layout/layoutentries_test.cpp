// The layout dialog's widget-free pieces: entry checks and formats, the Puzzle and Solution tab
// sentences, the column-width check, the border styles and the custom border, the margins a
// border gives, stepping and the hint blinks.
#include "layoutentries.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

static void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

namespace {

const char *stateName(TEntryState s)
{
    return s == TEntryState::Ok ? "Ok" : s == TEntryState::WrongFormat ? "WrongFormat" : "OutOfRange";
}

TEST(LayoutEntries, EntryTextsAndTheirOutcomes)
{
    using Check = std::function<TEntryState(const QString &, double *)>;
    const Check cell = [](const QString &t, double *v) { return CheckInchEntry(t, CellSizeRange, v); };
    const Check line = [](const QString &t, double *v) { return CheckInchEntry(t, LineWeightRange, v); };
    const Check margin = [](const QString &t, double *v) { return CheckMarginEntry(t, v); };
    const Check left = [](const QString &t, double *v) { return CheckPositionEntry(t, 1.0, 8.5, v); };
    const Check spacing = [](const QString &t, double *v) {
        return CheckInchEntry(t, SubtitleSpacingRange, v);
    };
    const Check leading = [](const QString &t, double *v) {
        int i = 0;
        const TEntryState s = CheckLeadingEntry(t, &i);
        *v = i;
        return s;
    };
    const Check title = [](const QString &t, double *v) {
        int i = 0;
        const TEntryState s = CheckIntegerEntry(t, TitleSizeRange, &i);
        *v = i;
        return s;
    };
    const struct {
        const char *entry;
        const Check &check;
        QString text;
        TEntryState state;
        double value; // when Ok
    } cases[] = {
        {"cell width", cell, "0.04", TEntryState::OutOfRange, 0},
        {"cell width", cell, "0.05", TEntryState::Ok, 0.05},
        {"cell width", cell, " 0.25\"", TEntryState::Ok, 0.25},
        {"cell width", cell, "12", TEntryState::Ok, 12},
        {"cell width", cell, "12.01", TEntryState::OutOfRange, 0},
        {"cell width", cell, "0.25\" wide", TEntryState::WrongFormat, 0},
        {"cell width", cell, "", TEntryState::WrongFormat, 0},
        {"line weight", line, "0", TEntryState::Ok, 0},
        {"line weight", line, "0.26", TEntryState::OutOfRange, 0},
        {"margin", margin, "abc", TEntryState::WrongFormat, 0},
        {"margin", margin, "", TEntryState::WrongFormat, 0},
        {"margin", margin, "0.5\" wide", TEntryState::Ok, 0.5},
        {"margin", margin, "0.00\"", TEntryState::Ok, 0},
        {"margin", margin, "-0.10\"", TEntryState::OutOfRange, 0},
        {"from left margin", left, "-1", TEntryState::Ok, -1},
        {"from left margin", left, "-1.01", TEntryState::OutOfRange, 0},
        {"from left margin", left, "7.5\"", TEntryState::Ok, 7.5},
        {"from left margin", left, "7.51", TEntryState::OutOfRange, 0},
        {"subtitle spacing", spacing, "-0.250\"", TEntryState::Ok, -0.25},
        {"subtitle spacing", spacing, "-0.26", TEntryState::OutOfRange, 0},
        {"leading", leading, "120 %", TEntryState::Ok, 120},
        {"leading", leading, "about 130", TEntryState::Ok, 130},
        {"leading", leading, "12", TEntryState::OutOfRange, 0},
        {"leading", leading, "501 %", TEntryState::OutOfRange, 0},
        {"leading", leading, "%", TEntryState::WrongFormat, 0},
        {"title size", title, "216", TEntryState::Ok, 216},
        {"title size", title, "217", TEntryState::OutOfRange, 0},
        {"title size", title, "", TEntryState::WrongFormat, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.entry) + " \"" + c.text.toStdString() + "\"");
        double value = -99;
        const TEntryState state = c.check(c.text, &value);
        EXPECT_STREQ(stateName(state), stateName(c.state));
        if (c.state == TEntryState::Ok) {
            EXPECT_DOUBLE_EQ(value, c.value);
        }
    }
    EXPECT_EQ(FormatLeadingText(120), "120 %") << "a leading is shown again the way it was typed";
}

TEST(LayoutEntries, ParsersAndFormats)
{
    double v = -1;
    EXPECT_TRUE(ParseMeasurement("0.5\"", &v));
    EXPECT_DOUBLE_EQ(v, 0.5);
    EXPECT_FALSE(ParseMeasurement("0.5\" wide", &v));
    EXPECT_EQ(v, 0);
    EXPECT_FALSE(ParseMeasurement("inf", &v));
    EXPECT_DOUBLE_EQ(ParseMeasurementDefault("x", 3), 3);
    bool ok = false;
    EXPECT_DOUBLE_EQ(ParseInchesBeforeQuote("0.5\" wide", 0, &ok), 0.5);
    EXPECT_TRUE(ok);
    EXPECT_DOUBLE_EQ(ParseInchesBeforeQuote("abc", 7, &ok), 7);
    EXPECT_FALSE(ok);

    const struct {
        QString shown;
        QString expected;
    } formats[] = {
        {FormatMarginText(1), "1.00\""},
        {FormatInsetText(0.5), "0.50"},
        {FormatSpacingText(0), "0.000\""},
        {FormatMarginAverageText(0.8), " 0.800\""},
        {FormatLengthText(0.25), " 0.25\""},
        {FormatLengthText(0.0625), " 0.063\""},
        {FormatLengthText(-0.0001), " 0\""},
        {FormatLengthText(-1.5), " -1.5\""},
        {PointSizeLabelText(36, 0.25), "( 6 pt.)"},
        {PointSizeLabelText(90, 0.15), "( 10 pt.)"},
    };
    for (const auto &f : formats)
        EXPECT_EQ(f.shown, f.expected);
}

TEST(LayoutEntries, PuzzleAndSolutionTabSentences)
{
    TGridTabEntries e;
    e.CellWidth = "0.04";
    e.CellHeight = "abc";
    e.LineWeight = "x";
    e.HasPosition = true;
    e.Left = "9";
    e.Top = "top";
    e.MarginLeft = 1;

    // Square on: the height comes from the width and is not checked.
    e.HeightEnabled = false;
    EXPECT_EQ(GridTabMessage("Puzzle", e),
              "Puzzle cell width is out of range. "
              "Puzzle line weight entry is in wrong format. "
              "Entry for \"from left margin\" is out of range. "
              "Entry for \"from top margin\" is in wrong format. "
              "Black text means the entry is acceptable. "
              "To close the Layout dialog without making any changes, press its Cancel button.");

    // Square off, and the cell-number size red.
    e.HeightEnabled = true;
    e.FontSizeRed = true;
    e.Left = e.Top = " 0\"";
    EXPECT_EQ(GridTabMessage("Puzzle", e),
              "Puzzle cell width is out of range. "
              "Puzzle cell height entry is in wrong format. "
              "Puzzle font size is out of range. "
              "Puzzle line weight entry is in wrong format. "
              "Black text means the entry is acceptable. "
              "To close the Layout dialog without making any changes, press its Cancel button.");

    TGridTabEntries solution;
    solution.CellWidth = solution.CellHeight = " 0.15\"";
    solution.LineWeight = "0.3";
    EXPECT_EQ(GridTabMessage("Solution", solution),
              "Solution line weight is out of range. Black text means the entry is acceptable.");
    solution.LineWeight = " 0.01\"";
    EXPECT_EQ(GridTabMessage("Solution", solution), "") << "every entry passes";
}

TEST(LayoutEntries, ColumnWidthCheck)
{
    // Three columns, 8.5-inch paper, 1-inch margins, 0.5-inch cells, 12-point clues.
    TFitInput in;
    in.Columns = 3;
    in.CellWidth = 0.5;
    EXPECT_NEAR(NeededClueWidth(in), 0.667, 0.001);
    EXPECT_NEAR(AvailableColumnWidth(in), 1.917, 0.001);
    EXPECT_EQ(CheckFitMessage(in), "");

    // Narrow paper, wide margins and cells, big clues, many columns: every remedy is offered.
    TFitInput narrow;
    narrow.PaperWidth = 6;
    narrow.MarginLeft = narrow.MarginRight = 1.5;
    narrow.CellWidth = 0.5;
    narrow.Columns = 5;
    narrow.ClueTextSize = 14;
    narrow.ClueNumberOffset = 2;
    EXPECT_EQ(CheckFitMessage(narrow),
              "Your formatting choices result in columns that are too narrow for the clues. Try to:  "
              " -- select wider paper size -- reduce left/right margins width -- reduce puzzle cell "
              "width -- reduce clue font sizes -- use fewer columns");

    TFitInput tall;
    tall.MarginTop = 5;
    tall.MarginBottom = 4.5;
    EXPECT_EQ(CheckFitMessage(tall), " The top/bottom margins are too big for the current paper size.");
}

/** What a style draws: its bands and gaps in order, without the ones that draw nothing and the
 *  gaps after the last band. */
QList<QPair<double, TColor>> drawnBands(const QString &style)
{
    QList<QPair<double, TColor>> drawn; // a gap is (width, -1)
    QString bands = TextAfterChar('=', style);
    while (bands.size() >= 3) {
        bool isBand = false;
        double width = 0;
        TColor colour = 0;
        ParseFrameBand(bands, &isBand, &width, &colour);
        if (width > 0)
            drawn.append({width, isBand ? colour : -1});
    }
    while (!drawn.isEmpty() && drawn.last().second == -1)
        drawn.removeLast();
    return drawn;
}

TEST(BorderStyles, ReadyStylesRoundTripThroughTheCustomPanel)
{
    const QStringList items = BorderStyleItems();
    ASSERT_EQ(items.size(), 27);
    EXPECT_EQ(items[NoBorderItem], "None");
    EXPECT_EQ(items[CustomBorderItem], "CUSTOM  (Specify details below)");
    ASSERT_EQ(ReadyBorderStyles().size(), 25);
    for (const QString &style : ReadyBorderStyles()) {
        SCOPED_TRACE(style.toStdString());
        EXPECT_EQ(FindBorderStyleItem(items, style), items.indexOf(style));
        const QString custom = BuildCustomBorderStyle(ShowBorderStyle(style));
        EXPECT_TRUE(custom.startsWith(CustomBorderName + " = "));
        EXPECT_EQ(drawnBands(custom), drawnBands(style));
        EXPECT_NEAR(BorderBandTotal(custom), BorderBandTotal(style), 1e-9) << "the margins stay";
        EXPECT_GT(BorderBandTotal(style), 0);
    }
}

TEST(BorderStyles, PanelTextsAndListItems)
{
    const TCustomBorder twoThin = ShowBorderStyle("Two thin lines = 0.04 * 0, Gap, 0.04 * 0");
    EXPECT_TRUE(twoThin.Gaps);
    EXPECT_EQ(twoThin.Bands[0].Width, "0.04\"");
    EXPECT_EQ(twoThin.Bands[2].Width, "None");
    const TCustomBorder frame = ShowBorderStyle("Frame = 0.02 * 0, 0.15 * 12566463, 0.02 * 0");
    EXPECT_EQ(frame.Bands[0].Width, "0.02\" Fine") << "the first list item that holds the width";
    EXPECT_EQ(frame.Bands[1].Color, 12566463);
    EXPECT_EQ(ShowBorderStyle("X = 0.125 * 255").Bands[0].Width, "0.125\"") << "typed when no item has it";

    TCustomBorder five;
    for (TBorderBand &band : five.Bands)
        band = {"0.02\" Fine", 0};
    five.Gaps = true;
    EXPECT_EQ(BuildCustomBorderStyle(five),
              "CUSTOM  (Specify details below) = 0.02\" Fine*0, Gap, 0.02\" Fine*0, Gap, "
              "0.02\" Fine*0, Gap, 0.02\" Fine*0, Gap, 0.02\" Fine*0");

    EXPECT_EQ(FindBorderStyleItem(BorderStyleItems(), "Custom  (Specify detals below) = 0.02*0"),
              CustomBorderItem);
    EXPECT_EQ(FindBorderStyleItem(BorderStyleItems(), "None = None 0, None 12632256, None 0"), NoBorderItem);
    EXPECT_EQ(FindBorderStyleItem(BorderStyleItems(), "Paisley = 0.1 * 0"), -1);

    // The list picture: from 5 pixels, 100 pixels to the inch, a gap left blank.
    const QList<TBorderBar> bars = BorderStyleBars("Two thin lines = 0.04 * 0, Gap, 0.04 * 0");
    EXPECT_EQ(bars, (QList<TBorderBar>{{5, 4, 0}, {10, 4, 0}}));
    EXPECT_EQ(BorderStyleBars("One fine line = 0.002 * 255"), (QList<TBorderBar>{{5, 1, 255}}))
        << "a band is at least one pixel";
}

TEST(BorderStyles, MarginsComeFromTheBorder)
{
    const TPageRect outside{0.5, 0.4, 0.3, 0.63};
    const TPageRect inside{0.25, 0.2, 0.1, 0};
    TPageRect margins{9, 9, 9, 9};
    ASSERT_TRUE(MarginsFromBorder("Frame = 0.02 * 0, 0.15 * 12566463, 0.02 * 0", outside, inside, &margins));
    EXPECT_NEAR(margins.Left, 0.5 + 0.19 + 0.25, 1e-9);
    EXPECT_NEAR(margins.Top, 0.4 + 0.19 + 0.2, 1e-9);
    EXPECT_NEAR(margins.Right, 0.3 + 0.19 + 0.1, 1e-9);
    EXPECT_NEAR(margins.Bottom, 0.63 + 0.19, 1e-9);
    EXPECT_FALSE(MarginsFromBorder("None = None 0, None 12632256, None 0", outside, inside, &margins));
    EXPECT_EQ(margins.Left, 0.5 + 0.19 + 0.25) << "no border leaves the margins as they are";
}

TEST(LayoutEntries, SteppingKeys)
{
    const struct {
        double value;
        int key;
        QString text;
        double expected;
    } cases[] = {
        {0.00, Qt::Key_Down, "", 0.00},   {0.00, Qt::Key_Minus, "-", 0.00}, {0.004, Qt::Key_Down, "", 0.00},
        {0.01, Qt::Key_Down, "", 0.00},   {1.00, Qt::Key_Up, "", 1.01},     {1.00, Qt::Key_Plus, "+", 1.01},
        {1.00, Qt::Key_Equal, "=", 1.01}, {0.625, Qt::Key_Up, "", 0.64},    {0.5, Qt::Key_X, "x", 0.5},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(QString("%1 %2").arg(c.value).arg(c.text).toStdString());
        const int direction = StepDirectionOf(c.key, c.text);
        const double stepped = direction ? StepInches(c.value, direction) : c.value;
        EXPECT_DOUBLE_EQ(stepped, c.expected);
        EXPECT_NE(FormatInsetText(stepped), "-0.00");
    }
}

TEST(LayoutEntries, AveragesAndHintBlinks)
{
    EXPECT_TRUE(AverageOf(0.5, 0.5, 0.5, 0.5).AllEqual);
    const TAverage mixed = AverageOf(0.5, 0.5, 0.5, 0.63);
    EXPECT_FALSE(mixed.AllEqual);
    EXPECT_DOUBLE_EQ(mixed.Value, 0.5325);
    EXPECT_EQ(AverageLabelText("Outside", false), "Outside (Average)");

    // Ten blinks of 50 ms red and 25 ms black, each a third longer: about four seconds.
    const auto blinks = BlinkSchedule(10, 50, 25);
    ASSERT_EQ(blinks.size(), 10);
    EXPECT_EQ(blinks[0], qMakePair(50, 25));
    EXPECT_EQ(blinks[1], qMakePair(67, 33));
    int total = 0;
    for (const auto &b : blinks)
        total += b.first + b.second;
    EXPECT_GT(total, 3500);
    EXPECT_LT(total, 4500);
}

TEST(LayoutEntries, PagesAndViewTabsOfApply)
{
    EXPECT_EQ(WordBankPageFor(1, 1), 1);
    EXPECT_EQ(WordBankPageFor(3, 1), 2);
    EXPECT_EQ(WordBankPageFor(3, 2), 1);
    EXPECT_EQ(WordBankModeIndex(5), 1);
    EXPECT_EQ(WordBankSortIndex(-1), 0);
    EXPECT_EQ(ApplyViewTabCaption(1, 1, false, 2), "Page 1");
    EXPECT_EQ(ApplyViewTabCaption(2, 1, true, 3), "Page 2") << "clues on their own page";
    EXPECT_EQ(ApplyViewTabCaption(3, 1, false, 2), "Penciled-In Grid*");
    EXPECT_EQ(ApplyViewTabCaption(7, 1, false, 3), "Page 3");
    EXPECT_EQ(ApplyViewTabCaption(6, 2, true, 3), "Page 2");
}

} // namespace
