// Page geometry, page rules, printer fallback, the long-slot check and the small helpers.
#include "alphabet.h"
#include "cp1252.h"
#include "globals.h"
#include "globalsui.h"
#include "layoutsettings.h"
#include "prompter.h"
#include "testprint.h"
#include "trv600.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QToolButton>
#include <QWidget>

#include <climits>
#include <cmath>
#include <limits>

namespace {

class GlobalsTest : public ::testing::Test
{
protected:
    void SetUp() override { InitGlobals(); }
    void TearDown() override { InitGlobals(); }
};

// Fills a grid of the engine: '#' block, '.' open, letters as given.
void loadGrid(const std::vector<std::string> &rows)
{
    const int h = int(rows.size());
    const int w = int(rows[0].size());
    TRVCreateRenumGrid(w, h);
    Columns = w;
    Rows = h;
    for (int r = 1; r <= h; ++r)
        for (int c = 1; c <= w; ++c) {
            const char ch = rows[r - 1][c - 1];
            TRVSetCellOnly(c, r, ch == '#' ? TRV_BLOCK : ch == '.' ? TRV_EMPTY : ch);
        }
    TRVRenumberGrid();
}

} // namespace

TEST_F(GlobalsTest, PageRulesForEveryCode)
{
    // One string per code 0..8: the pages 1..N that carry the element.
    const struct {
        int puzzlePage;
        int solutionPage;
        const char *pages[9];
    } layouts[] = {
        {1, 2, {"00", "10", "11", "11", "11", "11", "11", "10", "11"}},
        {1, 3, {"000", "100", "101", "010", "011", "110", "111", "110", "111"}},
        {2, 4, {"0000", "0100", "0101", "1000", "1001", "1100", "1101", "1110", "1111"}},
    };
    for (const auto &l : layouts) {
        PuzzlePage = l.puzzlePage;
        SolutionPage = l.solutionPage;
        for (int code = 0; code <= 8; ++code)
            for (int p = 1; p <= l.solutionPage; ++p) {
                const bool expected = l.pages[code][p - 1] == '1';
                EXPECT_EQ(PageRuleMatches(code, p), expected)
                    << "code " << code << " page " << p << " X " << l.puzzlePage << " N " << l.solutionPage;
                EXPECT_EQ(PageRuleMatches(code | 0x80, p), expected) << "high bit ignored";
            }
        EXPECT_FALSE(PageRuleMatches(9, 1));
        EXPECT_FALSE(PageRuleMatches(127, 1));
    }
    PuzzlePage = 1;
    SolutionPage = 3;
    PutFrameOnCode = 7;
    PutTitleOnCode = 2;
    EXPECT_TRUE(PageRuleA(2));
    EXPECT_FALSE(PageRuleA(3));
    EXPECT_FALSE(PageRuleB(2));
    EXPECT_TRUE(PageRuleB(3));
    EXPECT_EQ(PageRuleTexts.size(), 9);
    EXPECT_EQ(PageRuleTexts[3], "First non-grid page (if available)");
}

TEST_F(GlobalsTest, CellRectanglesInInches)
{
    PuzzleGridLeft = 1.5;
    PuzzleGridTop = 2;
    PuzzleLineInset = 0.01;
    CellWidth = 0.25;
    CellHeight = 0.3;
    const TPageRect first = CellPageRect(1, 1);
    EXPECT_DOUBLE_EQ(first.Left, 1.51);
    EXPECT_DOUBLE_EQ(first.Top, 2.01);
    EXPECT_DOUBLE_EQ(first.Right, 1.76);
    EXPECT_DOUBLE_EQ(first.Bottom, 2.31);
    EXPECT_DOUBLE_EQ(CellPageLeft(3), 2.01);

    SolutionGridLeft = 4;
    SolutionGridTop = 5;
    SolutionLineInset = 0.02;
    CellWidthSol = 0.15;
    CellHeightSol = 0.2;
    EXPECT_DOUBLE_EQ(CellPageRectFor(2, 3).Left, 4.17);
    EXPECT_DOUBLE_EQ(CellPageRectFor(2, 3).Bottom, 5.62);
    AlignSolution = true;
    EXPECT_EQ(CellPageRectFor(2, 3), CellPageRect(2, 3));
    EXPECT_DOUBLE_EQ(GetCellWidth(), 0.25);
    EXPECT_DOUBLE_EQ(GetGridPageValue(), GridLineThickness);
}

TEST_F(GlobalsTest, PixelConversionsRoundHalfToEvenAndClamp)
{
    InchesPerPixel = 0.5;
    ViewPageRect = {1, 2, 9, 13};
    EXPECT_EQ(PageXToPixel(1 + 1.25), 2); // 2.5 -> 2
    EXPECT_EQ(PageXToPixel(1 + 1.75), 4); // 3.5 -> 4
    EXPECT_EQ(PageYToPixel(2 - 1.25), -2);
    EXPECT_EQ(PageToPixelsX(3), 6);
    double x = 0, y = 0;
    PixelToPage(4, 6, &x, &y);
    EXPECT_DOUBLE_EQ(x, 3);
    EXPECT_DOUBLE_EQ(y, 5);
    EXPECT_DOUBLE_EQ(PixelsToPage(7), 3.5);

    InchesPerPixel = 1e-300; // extreme zoom
    EXPECT_EQ(PageXToPixel(5), INT_MAX);
    EXPECT_EQ(PageXToPixel(-5), INT_MIN);
    EXPECT_EQ(PageToPixelsY(1), INT_MAX);
    InchesPerPixel = 0;
    EXPECT_EQ(PageToPixelsX(1), INT_MAX);
    EXPECT_EQ(PageToPixelsX(0), 0); // 0/0
    EXPECT_EQ(RoundToPixel(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(RoundToPixel(-std::numeric_limits<double>::infinity()), INT_MIN);

    InchesPerPixel = 0.01;
    ViewPageRect = {0, 0, 8.5, 11};
    PuzzleGridLeft = PuzzleGridTop = 0;
    PuzzleLineInset = 0;
    CellWidth = CellHeight = 0.25;
    EXPECT_EQ(CellPixelRect(2, 1), (TPixelRect{25, 0, 50, 25}));
    EXPECT_EQ(PageRectToPixels({0.1, 0.2, 0.3, 0.4}), (TPixelRect{10, 20, 30, 40}));
}

TEST_F(GlobalsTest, PageMetricsFromThePrinterOrTheFallback)
{
    ApplyPageMetrics(true, 600, 600, 8.27 * 600, 11.69 * 600, 30, 60);
    EXPECT_NEAR(PaperWidth, 8.27, 1e-9);
    EXPECT_NEAR(PaperHeight, 11.69, 1e-9);
    EXPECT_DOUBLE_EQ(PhysicalOffsetX, 0.05);
    EXPECT_DOUBLE_EQ(PhysicalOffsetY, 0.1);
    EXPECT_EQ(DevicePixelsPerInchX, 600);
    EXPECT_DOUBLE_EQ(PageRect.Right, PaperWidth);

    ApplyPageMetrics(true, 300, 300, 60 * 300, 11 * 300, 0, 0); // a 60-inch page
    EXPECT_DOUBLE_EQ(PaperWidth, 8.5);
    EXPECT_DOUBLE_EQ(PaperHeight, 11);
    ApplyPageMetrics(true, 300, 300, 1.5 * 300, 11 * 300, 0, 0);
    EXPECT_DOUBLE_EQ(PaperWidth, 8.5);

    // Without a printer an A4 puzzle stays A4; a paper out of reason becomes Letter.
    PaperWidth = 8.27;
    PaperHeight = 11.69;
    ApplyPageMetrics(false, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(DevicePixelsPerInchX, 300);
    EXPECT_EQ(DevicePixelsPerInchY, 300);
    EXPECT_EQ(PageRect, (TPageRect{0, 0, 8.27, 11.69}));
    PaperWidth = 0;
    ApplyPageMetrics(false, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(PageRect, (TPageRect{0, 0, 8.5, 11}));

    QFont font("Arial");
    font.setPixelSize(20);
    EXPECT_EQ(TextWidthInFont("", font), 0);
    EXPECT_GT(TextWidthInFont("WWWW", font), TextWidthInFont("i", font));

    InitPageMetrics(); // whatever this machine has, the page is plausible
    EXPECT_GE(PaperWidth, 2);
    EXPECT_LE(PaperHeight, 50);
    EXPECT_GT(DevicePixelsPerInchX, 0);
}

TEST_F(GlobalsTest, LongSlotsMustBeFilledBeforeABuild)
{
    ScriptedPrompter script;
    const std::string open17 = std::string(17, '.') + "#";
    const std::string open18 = "AB" + std::string(16, '.');
    const std::string full18(18, 'X');
    const std::string blocks(18, '#');

    loadGrid({blocks, open17, blocks});
    EXPECT_TRUE(CheckLongSlotsFilled());
    loadGrid({blocks, full18, blocks});
    EXPECT_TRUE(CheckLongSlotsFilled());
    EXPECT_TRUE(script.boxes.isEmpty());

    loadGrid({blocks, open18, blocks});
    EXPECT_FALSE(CheckLongSlotsFilled());
    ASSERT_EQ(script.boxes.size(), 1);
    const QString expected =
        "The puzzle can not be constructed because you must supply all the letters in word "
        "slots longer than 17 letters. This applies to " +
        QString::number(TRVGetCellNumber(1, 2)) + " across (AB" + QString(16, QChar(TRV_EMPTY)) + ")";
    EXPECT_EQ(script.boxes[0].text, expected);
    EXPECT_EQ(script.boxes[0].kind, Prompter::Information);

    // A down slot, and a list cut short once it is long.
    std::vector<std::string> tall(20, std::string(20, '.'));
    loadGrid(tall);
    script.boxes.clear();
    EXPECT_FALSE(CheckLongSlotsFilled());
    ASSERT_EQ(script.boxes.size(), 1);
    EXPECT_TRUE(script.lastText().endsWith(")" + QString(", and others.")));
    EXPECT_EQ(script.lastText().count(" across ("), 3);

    std::vector<std::string> column(18, std::string("#.#"));
    loadGrid(column);
    script.boxes.clear();
    EXPECT_FALSE(CheckLongSlotsFilled());
    EXPECT_TRUE(script.lastText().contains(" down ("));

    // Down slots are listed in reading order of their first cells, as the clue grids have
    // them: the slot starting in row 1 of column 3 before the one starting in row 2 of column 1.
    std::vector<std::string> twoDown(20, std::string(".#."));
    twoDown[0][0] = '#';
    twoDown[19][2] = '#';
    loadGrid(twoDown);
    script.boxes.clear();
    EXPECT_FALSE(CheckLongSlotsFilled());
    const QString open19(19, QChar(TRV_EMPTY));
    EXPECT_TRUE(script.lastText().endsWith(
        "This applies to " + QString::number(TRVGetCellNumber(3, 1)) + " down (" + open19 + "), " +
        QString::number(TRVGetCellNumber(1, 2)) + " down (" + open19 + ")"))
        << script.lastText().toStdString();
}

TEST_F(GlobalsTest, ConstructionMessagesCarryTheirHelpContexts)
{
    ScriptedPrompter script;
    ShowConstructErrorMessage();
    ShowConstructIncompleteMessage();
    ReleaseBuild = true;
    InternalError("impossible");
    ASSERT_EQ(script.boxes.size(), 2);
    EXPECT_EQ(script.boxes[0].kind, Prompter::Error);
    EXPECT_EQ(script.boxes[0].helpContext, 990030);
    EXPECT_TRUE(script.boxes[0].buttons & Prompter::Help);
    EXPECT_EQ(script.boxes[0].text,
              "An error occurred while constructing your puzzle. You can try again and it might "
              "work next time. For more information on this topic press the help button.");
    EXPECT_EQ(script.boxes[1].kind, Prompter::Information);
    EXPECT_EQ(script.boxes[1].helpContext, 990010);
    EXPECT_EQ(script.boxes[1].text,
              "Puzzle construction can not be completed. Sometimes the program can mark the "
              "problem area in red and yellow. To continue, change, move or erase some letters "
              "that were there when you pressed the constuct button, or change the pattern and "
              "try again.");
    EXPECT_TRUE(script.boxes[1].buttons & Prompter::Help);
    ReleaseBuild = false;
    InternalError("impossible");
    ASSERT_EQ(script.boxes.size(), 3);
    EXPECT_TRUE(script.lastText().endsWith("\"impossible\""));
    MessageFmt("%d of %s", 3, "five");
    EXPECT_EQ(script.lastText(), "3 of five");
}

TEST_F(GlobalsTest, ToolbarHintsSplitIntoTipAndStatus)
{
    QWidget window;
    auto *construct = new QToolButton(&window);
    construct->setObjectName("ConstructSpBtn");
    auto *help = new QToolButton(&window);
    help->setObjectName("HelpSpBtn");
    SetToolbarHints(&window);
    EXPECT_EQ(construct->toolTip(), "Construct puzzle Now");
    EXPECT_EQ(construct->statusTip(),
              "Construct Now:  Red = Probably not ready;  Yellow = Might work;  Green = Ready.");
    EXPECT_EQ(help->toolTip(), "Help");
}

TEST_F(GlobalsTest, StartUpValues)
{
    EXPECT_TRUE(ReleaseBuild);
    EXPECT_TRUE(AutoCellSize && AutoCellShape && AutoCenter && AutoClueColumns && AutoClueSize &&
                AutoClueSpacing && AutoMargins && AutoNewColumn && AutoTitleSize && AutoLayout_OnApply &&
                AutoLayout_OnSpill);
    EXPECT_FALSE(GridUpdating || AutoLayoutPending || MainFormBoundsRestored);
    EXPECT_TRUE(RepaintOnPageChange);
    EXPECT_TRUE(FirstIdle);
    EXPECT_EQ(WordSizeRowHeight, 7);
    EXPECT_EQ(WordSizeChartTop, 18);
    EXPECT_EQ(CustomAlphabet, DefaultAlphabet);
    EXPECT_EQ(ParagraphBreak, "\r\n\r\n");
    EXPECT_EQ(ConnectionHelpText,
              "Please make sure you are connected to the Internet. Also, it may be necessary for "
              "you to configure firewall software (e.g., ZoneAlarm) to allow Tarvel or " +
                  QCoreApplication::applicationFilePath() +
                  " to access the Internet directly.Then try again.");
}

TEST_F(GlobalsTest, SizeSpecsAndNumbers)
{
    const struct {
        const char *text;
        int columns, rows;
    } sizes[] = {
        {"15 x 15 (standard size)", 15, 15},
        {"Custom (up to 51 x 51)", 51, 51},
        {"5 x 5", 5, 5},
        {"Custom 15 x 17 (Can be up to 51 x 51)", 15, 17},
        {"Custom", 15, 15},
        {"12", 12, 15},
    };
    for (const auto &s : sizes) {
        int c = 0, r = 0;
        ParseSizeSpec(s.text, &c, &r);
        EXPECT_EQ(c, s.columns) << s.text;
        EXPECT_EQ(r, s.rows) << s.text;
    }
    const struct {
        double value;
        const char *text;
    } floats[] = {{0.25, "0.25"},        {8.5, "8.5"},   {1, "1"}, {0.005, "0.005"},
                  {11.123456, "11.123"}, {-2.5, "-2.5"}, {0, "0"}};
    for (const auto &f : floats)
        EXPECT_EQ(FloatToShortStr(f.value), f.text);
    EXPECT_DOUBLE_EQ(StrToFloatDefault(" 0.25\" ", 9), 0.25);
    EXPECT_DOUBLE_EQ(StrToFloatDefault("\t1.5\t", 9), 1.5);
    EXPECT_DOUBLE_EQ(StrToFloatDefault("", 9), 9);
    EXPECT_DOUBLE_EQ(StrToFloatDefault("abc", 9), 9);
    EXPECT_DOUBLE_EQ(StrToFloatDefault("\"\"1", 9), 9); // only the first quote goes
}

TEST_F(GlobalsTest, TextHelpers)
{
    EXPECT_EQ(ParseTFFlags("TFTF"), 1 | 4);
    EXPECT_EQ(ParseTFFlags("ttt"), 7);
    EXPECT_EQ(ParseTFFlags("TT"), 0);
    EXPECT_EQ(FormatTFFlags(1 | 8), "TFFT");
    EXPECT_EQ(AddBackslash(""), "");
    EXPECT_EQ(AddBackslash("/tmp"), "/tmp/");
    EXPECT_EQ(AddBackslash("/tmp/"), "/tmp/");
    EXPECT_EQ(DirectionFromText("12 a"), 'A');
    EXPECT_EQ(DirectionFromText("ad"), 'D');
    EXPECT_EQ(DirectionFromText("x"), ' ');
    EXPECT_EQ(DirectionFromText(QString::fromUtf8("\u1E9A")), ' '); // upper case "A" + mark
    EXPECT_EQ(TextBeforeChar('=', QString::fromUtf8("\u00A0key\x01=v")),
              QString::fromUtf8("\u00A0key")); // blanks and controls go, no-break space stays
    EXPECT_TRUE(IsHttpUrl("HTTP://x"));
    EXPECT_EQ(UrlOrFileName("/home/u/p.trv"), "p.trv");
    EXPECT_EQ(UrlOrFileName("http://h/p.trv"), "http://h/p.trv");
    EXPECT_EQ(LastCharPos("a.b.c", '.'), 4);
    EXPECT_EQ(LastCharPos("abc", '.'), 0);
    int index = 7;
    EXPECT_FALSE(FindExactString({"GRID:", "x"}, "grid:", &index));
    EXPECT_EQ(index, -1);
    EXPECT_TRUE(FindExactString({"GRID:", "x"}, "x", &index));
    EXPECT_EQ(index, 1);
    EXPECT_EQ(SpacesToUnderscores("a b c"), "a_b_c");
    EXPECT_TRUE(EndsWithText("Puzzle.TRV", ".trv"));
    EXPECT_EQ(TextAfterChar('=', "Style =  a, b"), "a, b");
    EXPECT_EQ(TextAfterChar('=', "none"), "");
    EXPECT_EQ(TextBeforeChar('=', " key = v"), "key");
    EXPECT_EQ(TextBeforeChar('=', " key "), "key");
    EXPECT_EQ(TrimBlanksTabs("\t a b \t"), "a b");
    EXPECT_EQ(ColorIndexToColor(9), 0x0000FF);
    EXPECT_EQ(ColorIndexToColor(11), 0xFF0000);
    EXPECT_EQ(ColorIndexToColor(16), 0);
    EXPECT_EQ(WordListPlaceIndex("InClues"), 0);
    EXPECT_EQ(WordListPlaceIndex("bottom"), 1);
    EXPECT_EQ(WordListOrderIndex("GivenComma"), 3);
    EXPECT_EQ(WordListOrderIndex("x"), 0);
    EXPECT_DOUBLE_EQ(SumValuesAfterEquals("One = 0.04\"*16711680, Gap, 0.02\" Fine *255, None"),
                     0.04 + 0.0125 + 0.02);
    EXPECT_DOUBLE_EQ(SumValuesAfterEquals("None = None 0, None 12632256, None 0"), 0);
}

TEST_F(GlobalsTest, ParseFrameBand)
{
    const struct {
        const char *bands;
        bool isBand;
        double width;
        TColor color;
        const char *rest;
    } cases[] = {
        {"0.04\"*16711680", true, 0.04, 16711680, ""},
        {"0.02\" Fine *16711680", true, 0.02, 16711680, ""},
        {"0.02 *  0", true, 0.02, 0, ""},
        {"Gap", false, 0.0125, 0xFFFFFF, ""},
        {"None", false, 0, 0xFFFFFF, ""},
        {"None 12632256", false, 0, 0xFFFFFF, ""},
        {"-0.03*255, gap, none", true, 0.03, 255, " GAP, NONE"}, // the first "-" goes; upper case
        {"0.01 thin *", true, 0.01, 0, ""},                      // no colour: 0
        {"x*12", true, 0, 12, ""},                               // no number: 0
    };
    for (const auto &c : cases) {
        QString bands = QString::fromLatin1(c.bands);
        bool isBand = !c.isBand;
        double width = -1;
        TColor color = -1;
        ParseFrameBand(bands, &isBand, &width, &color);
        EXPECT_EQ(isBand, c.isBand) << c.bands;
        EXPECT_DOUBLE_EQ(width, c.width) << c.bands;
        EXPECT_EQ(color, c.color) << c.bands;
        EXPECT_EQ(bands.toStdString(), c.rest) << c.bands;
    }
    // Band by band through a list; the rest keeps at most 199 characters.
    QString list = QStringLiteral("0.04\"*16711680, Gap, 0.02\" Fine *255");
    bool isBand = false;
    double width = 0;
    TColor color = 0;
    ParseFrameBand(list, &isBand, &width, &color);
    EXPECT_EQ(color, 16711680);
    ParseFrameBand(list, &isBand, &width, &color);
    EXPECT_FALSE(isBand);
    EXPECT_DOUBLE_EQ(width, 0.0125);
    ParseFrameBand(list, &isBand, &width, &color);
    EXPECT_EQ(color, 255);
    EXPECT_TRUE(list.isEmpty());
    QString longList = QStringLiteral("Gap,") + QString(300, QLatin1Char('A'));
    ParseFrameBand(longList, &isBand, &width, &color);
    EXPECT_EQ(longList.size(), 199);
}

TEST_F(GlobalsTest, Pluralize)
{
    const struct {
        int count;
        const char *word;
        const char *result;
    } cases[] = {
        {1, "word", "word"},  {2, "word", "words"}, {2, "entry", "entries"},
        {0, "day", "days"},   {3, "key", "keys"},   {2, " is", " are"},
        {2, " was", " were"}, {1, " is", " is"},    {2, "y", "ies"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Pluralize(c.count, c.word), c.result) << c.count << " " << c.word;
}

TEST_F(GlobalsTest, SaveListAsksBeforeReplacing)
{
    ScriptedPrompter script;
    QTemporaryDir dir;
    const QString name = dir.filePath("list.txt");
    EXPECT_TRUE(SaveListConfirmOverwrite({"one", "two"}, name));
    EXPECT_TRUE(script.boxes.isEmpty());

    script.answers = {Prompter::No};
    EXPECT_FALSE(SaveListConfirmOverwrite({"three"}, name));
    ASSERT_EQ(script.boxes.size(), 1);
    EXPECT_EQ(script.boxes[0].text, "The file " + name + " already exists. Is it okay to replace it?");
    QStringList lines;
    ASSERT_TRUE(Cp1252::readTextLines(name, &lines));
    EXPECT_EQ(lines, (QStringList{"one", "two"}));

    script.answers = {Prompter::Yes};
    EXPECT_TRUE(SaveListConfirmOverwrite({"three"}, name));
    ASSERT_TRUE(Cp1252::readTextLines(name, &lines));
    EXPECT_EQ(lines, QStringList{"three"});
}
