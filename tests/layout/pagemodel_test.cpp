// The page model and clue flow (wysiwyg.h): wrapping, clue boxes and placement, the title block,
// fitting to the paper, overflow, the word bank and re-flow counting.
#include "cluespg.h"
#include "globals.h"
#include "layoutsettings.h"
#include "printersource.h"
#include "prompter.h"
#include "trv600.h"
#include "wysiwyg.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <memory>
#include <thread>

namespace {

std::string str(const QString &s) { return s.toStdString(); }

/** Runs fn on a thread; a hang fails the whole test program at once instead of blocking it. */
void runWithTimeout(const std::function<void()> &fn, const char *what)
{
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> finished = done->get_future();
    std::thread worker([fn, done] {
        fn();
        done->set_value();
    });
    // Generous, for the sanitizer build: a hang never ends, a slow flow ends in seconds.
    if (finished.wait_for(std::chrono::seconds(60)) == std::future_status::timeout) {
        std::fprintf(stderr, "Page model hung: %s\n", what);
        std::fflush(stderr);
        std::_Exit(3);
    }
    // The thread ends here, not during the program's teardown, where Qt's per-thread data it
    // made would be cleaned up after Qt itself is gone.
    worker.join();
}

/** A word list of theme words, each with an across slot. */
class FakeWordList : public TWordListAccess
{
public:
    QStringList Words;
    int EntryCount() const override { return int(Words.size()) + 1; }
    QString GetWord(int e) const override { return Words.value(e); }
    QString GetClue(int) const override { return QString(); }
    QString GetSlotLabel(int e) const override { return e < Words.size() ? QStringLiteral("1A") : QString(); }
    void AddEntry(const QString &) override {}
    void Clear() override {}
    void MarkSaved() override {}
    bool IsSaved() const override { return true; }
    void NotifyAllChanged() override {}
};

class PageModelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InitGlobals();
        DocControls = TDocumentControls{};
        DocHooks = TDocumentHooks{};
        LayoutHooks = TLayoutHooks{};
        FreeClueGrids();
        CreateClueGrids();
        WordList = &words;
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setPageSize(QPageSize(QPageSize::Letter));
        printer->setOutputFileName(dir.filePath(QStringLiteral("out.pdf")));
        SetPrinterForTesting(printer.get());
        // Messages left by an earlier test go; the once-only flags start again.
        {
            ScriptedPrompter drain;
            AutoLayoutPending = false;
            ShowPendingLayoutMessages();
        }
        ResetLayoutMessages();
        ClueFlow_InvalidateAll();
        ClueWrapCount = 0;
    }
    void TearDown() override
    {
        SetPrinterForTesting(nullptr);
        WordList = nullptr;
    }

    static void addClues(TClueGrid *grid, int count, const QString &text = QStringLiteral("A clue"))
    {
        const int first = grid->RowCount();
        grid->SetRowCount(first + count);
        for (int i = 0; i < count; ++i) {
            grid->SetCell(0, first + i, MakeAnswerKey(first + i, QStringLiteral("WORD")));
            grid->SetCell(1, first + i, text);
        }
    }
    static void flow()
    {
        ClueFlow_InvalidateAll();
        ClueFlow_EstablishAll();
    }
    static int capacity()
    {
        int n = 0;
        for (int p = 1; p <= MaxLayoutPages; ++p)
            for (int j = 1; j <= ClueBoxCount[p]; ++j)
                n += LineMap[p][j];
        return n;
    }
    static int firstLine(TClueGrid *grid, int row) { return grid->Cell(3, row).toInt(); }

    /** The composer's clue-text metrics at the device resolution (set by WYSIWYGChange). */
    static QFontMetricsF textMetrics(double scale = 1)
    {
        static QImage image;
        image = QImage(4, 4, QImage::Format_ARGB32_Premultiplied);
        image.setDotsPerMeterX(qRound(DevicePixelsPerInchX / 0.0254));
        image.setDotsPerMeterY(qRound(DevicePixelsPerInchY / 0.0254));
        QFont font(ClueTextFont);
        font.setPixelSize(scale == 1 ? InchesToDevicePixels(ClueTextFontSize / 72.0)
                                     : RoundToPixel(scale * ClueTextFontSize / 72.0 * DevicePixelsPerInchY));
        font.setHintingPreference(QFont::PreferNoHinting);
        return QFontMetricsF(font, &image);
    }

    FakeWordList words;
    QTemporaryDir dir;
    std::unique_ptr<QPrinter> printer;
};

TEST_F(PageModelTest, ArialIsLiberationSans)
{
    EXPECT_EQ(str(QFontInfo(QFont(QStringLiteral("Arial"))).family()), "Liberation Sans");
}

TEST_F(PageModelTest, FindWrapPoint)
{
    const struct {
        const char *text;
        int start, count, result;
    } cases[] = {
        {"abc def", 1, 7, 4},     // the blank
        {"abcdef", 1, 6, 0},      // neither
        {"well-known", 1, 10, 5}, // after the hyphen
        {"well-", 1, 5, 0},       // a hyphen ending the piece is no break
        {"a-b-", 1, 4, 2},        // ... the one before it is
        {"a-b--", 1, 5, 2},       // ... and so are hyphens just before it
        {"ab cd-", 1, 6, 3},      // the blank before a trailing hyphen
        {"ab-cd ef", 1, 8, 6},    // the later of blank and hyphen
        {"xx abc def", 4, 7, 7},  // positions in the whole text
        {"xx abc def", 4, 3, 0},  // "abc"
        {"abc", 1, 0, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FindWrapPoint(QString::fromLatin1(c.text), c.start, c.count), c.result)
            << c.text << " " << c.start << " " << c.count;
}

TEST_F(PageModelTest, Wrapping)
{
    CluesAcrossSG->SetRowCount(2);
    ClueFlow_MeasureClues();
    const QFontMetricsF fm = textMetrics();
    auto width = [&](const char *t) { return int(std::ceil(fm.horizontalAdvance(QString::fromLatin1(t)))); };
    const QString words40 = QString(QStringLiteral("word ")).repeated(100);
    const struct {
        const char *name;
        QString text;
        int wrapWidth;
        QStringList lines; // empty: check the count and that nothing is lost
        int count;
    } cases[] = {
        {"empty clue", QString(), 1000, {}, 1},
        {"blank clue", QStringLiteral("   "), 1000, {}, 1},
        {"fits", QStringLiteral("Small dog"), 100000, {QStringLiteral("Small dog")}, 1},
        {"at a blank",
         QStringLiteral("aaa bbb"),
         width("aaa bbb") - 1,
         {QStringLiteral("aaa "), QStringLiteral("bbb")},
         2},
        {"blanks at line starts skipped",
         QStringLiteral("aaa      bbb"),
         width("aaa ") + 1,
         {QStringLiteral("aaa "), QStringLiteral("bbb")},
         2},
        {"after a hyphen",
         QStringLiteral("well-known"),
         width("well-kno"),
         {QStringLiteral("well-"), QStringLiteral("known")},
         2},
        {"a word wider than the column",
         QStringLiteral("abcdefghij"),
         width("abcde") + 1,
         {QStringLiteral("abcde"), QStringLiteral("fghij")},
         2},
        {"a character wider than the column",
         QStringLiteral("WMW"),
         1,
         {QStringLiteral("W"), QStringLiteral("M"), QStringLiteral("W")},
         3},
        {"cut at 40 lines", words40, width("word ") + 1, {}, 40},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        CluesAcrossSG->SetCell(1, 1, c.text);
        ClueWrapWidth = c.wrapWidth;
        const int n = ClueFlow_EstablishOne(CluesAcrossSG, 1);
        EXPECT_EQ(n, c.count);
        EXPECT_EQ(ClueFlow_LinesOf(CluesAcrossSG, 1), c.count);
        const QStringList lines = CluesAcrossSG->Row(1).Lines;
        if (!c.lines.isEmpty()) {
            EXPECT_EQ(lines, c.lines);
        }
        EXPECT_LE(lines.size(), TClueGrid::MaxClueLines);
        for (const QString &line : lines) {
            EXPECT_FALSE(line.isEmpty());
            if (line.size() > 1) {
                EXPECT_LE(fm.horizontalAdvance(line), c.wrapWidth + 0.5) << str(line);
            }
        }
    }
}

TEST_F(PageModelTest, WrapWidthComesFromTheColumnWidth)
{
    ClueColumns = 3;
    ClueNumberDigits = 2;
    ClueFlow_MeasureClues();
    EXPECT_GT(NumberColumnWidth, 0);
    EXPECT_EQ(ClueWrapWidth, InchesToDevicePixels(ClueColumnWidth) - NumberColumnWidth);
    EXPECT_DOUBLE_EQ(NumberColumnWidthInches, NumberColumnWidth * InchesPerDevicePixelX);

    // A column narrower than the number column still wraps, one pixel wide.
    ClueColumns = 1;
    MarginLeft = 4.2;
    MarginRight = 4.2;
    ClueFlow_MeasureClues();
    EXPECT_EQ(ClueWrapWidth, 1);
}

TEST_F(PageModelTest, DeviceMetrics)
{
    WYSIWYGChange();
    EXPECT_TRUE(PrinterInfoReady);
    EXPECT_EQ(DevicePixelsPerInchY, printer->resolution());
    EXPECT_DOUBLE_EQ(InchesPerDevicePixelY, 1.0 / DevicePixelsPerInchY);
    EXPECT_EQ(ClueTextDeviceHeight, RoundToPixel(DevicePixelsPerInchY * 12 / 72.0));
    EXPECT_EQ(TenPointDeviceHeight, RoundToPixel(DevicePixelsPerInchY * 10 / 72.0));
    EXPECT_EQ(PuzzleNumberSize.Pixels,
              RoundToPixel(DevicePixelsPerInchY * PuzzleCellInner * CellNumberPercent / 100));
    EXPECT_GT(PuzzleNumberSize.Points, 0);
    EXPECT_GT(SolutionLetterSize.Pixels, 0);
    EXPECT_EQ(InchesToDevicePixels(1), DevicePixelsPerInchY);

    InchesPerDevicePixelY = 0; // before any metrics: 300 to the inch
    EXPECT_EQ(InchesToDevicePixels(1), 300);
}

TEST_F(PageModelTest, GridTiles)
{
    const struct {
        int columns, rows;
        double cell;
        int across, down;
    } cases[] = {{15, 15, 0.25, 1, 1}, {51, 15, 0.25, 2, 1}, {15, 51, 0.25, 1, 2}, {51, 51, 1.0, 8, 6}};
    for (const auto &c : cases) {
        Columns = c.columns;
        Rows = c.rows;
        CellWidth = CellHeight = c.cell;
        WYSIWYGChange();
        EXPECT_EQ(GridTileColumns, c.across) << c.columns << " x " << c.rows;
        EXPECT_EQ(GridTileRows, c.down) << c.columns << " x " << c.rows;
    }
}

TEST_F(PageModelTest, TitleBlockHeight)
{
    TitleFontSize = 36;
    SubtitleFontSize = 16;
    SubtitleExtraSpacing = 0.1;
    const struct {
        const char *title, *subtitle;
        double height;
    } cases[] = {
        {"Title", "Subtitle", 52 * 1.3 / 72 + 0.1},
        {"Title", "", 36 * 1.3 / 72},
        {"", "Subtitle", 16 * 1.3 / 72},
        {"", "", 0},
    };
    for (const auto &c : cases) {
        DocControls.PuzzleTitle = c.title;
        DocControls.PuzzleSubtitle = c.subtitle;
        ComputeTitleBlockHeight();
        EXPECT_DOUBLE_EQ(TitleBlockHeight, c.height) << c.title << "/" << c.subtitle;
        // The grid moves down by it on the title's page.
        EXPECT_DOUBLE_EQ(PuzzleGridTop, MarginTop + PuzzleTop + c.height);
    }
}

TEST_F(PageModelTest, BoxesAndPlacement)
{
    // Letter paper, 1-inch margins, 4 clue columns, a 15 x 15 grid of 0.25-inch cells at the
    // top left of page 1: the grid covers the tops of columns 1 to 3.
    const double columnWidth = (6.5 - 3 * 0.1875) / 4;
    const double line = 12 / 72.0 * 1.15;
    struct Case {
        const char *name;
        std::function<void()> setup;
        std::function<void()> check;
    };
    const Case cases[] = {
        {"grid at the top", [] {},
         [&] {
             EXPECT_DOUBLE_EQ(ClueColumnWidth, columnWidth);
             ASSERT_EQ(ClueBoxCount[1], 4);
             const double keepBottom = 1.01 + 3.75 + 0.3;
             EXPECT_NEAR(GridKeepOutRect.Bottom, keepBottom, 1e-9);
             EXPECT_NEAR(ClueBoxes[1][1].Top, keepBottom, 1e-9);
             EXPECT_DOUBLE_EQ(ClueBoxes[1][1].Bottom, 10);
             EXPECT_DOUBLE_EQ(ClueBoxes[1][4].Top, 1);
             EXPECT_EQ(LineMap[1][1], int((10 - keepBottom) / line));
             EXPECT_EQ(ClueBoxCount[2], 4);
             EXPECT_EQ(LineMap[2][1], int(9 / line));
             int page = 0;
             TPageRect rect;
             ASSERT_TRUE(ClueFlow_GetPlacement(1, &page, &rect));
             EXPECT_EQ(page, 1);
             EXPECT_EQ(rect.Left, ClueBoxes[1][1].Left);
             EXPECT_DOUBLE_EQ(rect.Top, ClueBoxes[1][1].Top);
             EXPECT_NEAR(rect.Bottom - rect.Top, ClueLineHeight, 1e-12);
             ASSERT_TRUE(ClueFlow_GetPlacement(LineMap[1][1] + 1, &page, &rect));
             EXPECT_EQ(rect.Left, ClueBoxes[1][2].Left);
             EXPECT_DOUBLE_EQ(rect.Top, ClueBoxes[1][2].Top);
         }},
        {"full-height grid", [] { Rows = 40; },
         [] {
             // Columns 1 to 3 lose their boxes on the grid page; column 4 keeps its box.
             ASSERT_EQ(ClueBoxCount[1], 1);
             EXPECT_DOUBLE_EQ(ClueBoxes[1][1].Left, 1 + 3 * (ClueColumnWidth + ClueColumnGap));
             EXPECT_DOUBLE_EQ(ClueBoxes[1][1].Top, 1);
             EXPECT_EQ(ClueBoxCount[2], 4);
         }},
        {"grid in mid-column", [] { PuzzleTop = 3; },
         [] {
             ASSERT_EQ(ClueBoxCount[1], 7);
             const double keepTop = 4.01 - 0.3, keepBottom = 4.01 + 3.75 + 0.3;
             EXPECT_DOUBLE_EQ(ClueBoxes[1][1].Top, 1);
             EXPECT_NEAR(ClueBoxes[1][1].Bottom, keepTop, 1e-9);
             EXPECT_NEAR(ClueBoxes[1][2].Top, keepBottom, 1e-9);
             EXPECT_DOUBLE_EQ(ClueBoxes[1][2].Bottom, 10);
             EXPECT_EQ(ClueBoxes[1][1].Left, ClueBoxes[1][2].Left);
             EXPECT_DOUBLE_EQ(ClueBoxes[1][7].Top, 1);
         }},
        {"separate clues", [] { SeparateClues = true; },
         [] {
             EXPECT_EQ(ClueBoxCount[1], 4);
             for (int j = 1; j <= 4; ++j)
                 EXPECT_EQ(LineMap[1][j], 0);
             int page = 0;
             TPageRect rect;
             ASSERT_TRUE(ClueFlow_GetPlacement(1, &page, &rect));
             EXPECT_EQ(page, 2);
         }},
        {"word bank at the bottom",
         [] {
             DocControls.WordBankCB = true;
             WordBankMode = 1;
             WordBankPage = 2;
         },
         [] {
             EXPECT_FALSE(WordBankList.isEmpty());
             EXPECT_DOUBLE_EQ(asWordBankHeight, WordBankList.size() * 12 / 72.0 * 1.15);
             EXPECT_DOUBLE_EQ(WordBankRect.Bottom, 10);
             EXPECT_DOUBLE_EQ(WordBankRect.Top, 10 - asWordBankHeight - 0.1);
             EXPECT_DOUBLE_EQ(ClueBoxes[2][1].Bottom, 10 - asWordBankHeight);
             EXPECT_DOUBLE_EQ(ClueBoxes[3][1].Bottom, 10);
             EXPECT_DOUBLE_EQ(ClueBoxes[1][1].Bottom, 10);
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        InitGlobals();
        DocControls = TDocumentControls{};
        CluesAcrossSG->SetRowCount(1);
        CluesDownSG->SetRowCount(1);
        addClues(CluesAcrossSG, 5);
        addClues(CluesDownSG, 5);
        c.setup();
        runWithTimeout(flow, c.name);
        c.check();
    }
}

TEST_F(PageModelTest, NewColumnDownStartsTheDownHeadingInTheNextColumn)
{
    NewColumnDown = true;
    addClues(CluesAcrossSG, 3);
    addClues(CluesDownSG, 4);
    runWithTimeout(flow, "new column down");
    // Across: heading lines 1 and 2, clues 3, 4, 5; then a blank, the down heading, a blank.
    EXPECT_EQ(firstLine(CluesAcrossSG, 1), 3);
    EXPECT_EQ(firstLine(CluesDownSG, 1), 9);
    EXPECT_EQ(DownHeadingLine(), 7);
    EXPECT_EQ(NewColumnSkip, LineMap[1][1] - 7 + 1);
    int page = 0;
    TPageRect rect;
    ASSERT_TRUE(ClueFlow_GetPlacement(DownHeadingLine(), &page, &rect));
    EXPECT_EQ(page, 1);
    EXPECT_EQ(rect.Left, ClueBoxes[1][2].Left);
    EXPECT_DOUBLE_EQ(rect.Top, ClueBoxes[1][2].Top);
    // Across lines stay where they are.
    ASSERT_TRUE(ClueFlow_GetPlacement(5, &page, &rect));
    EXPECT_EQ(rect.Left, ClueBoxes[1][1].Left);
    // The last down clue follows the heading in the new column.
    ASSERT_TRUE(ClueFlow_GetPlacement(LastClueLine(), &page, &rect));
    EXPECT_EQ(rect.Left, ClueBoxes[1][2].Left);
    EXPECT_EQ(OverflowLineCount, 0);
}

TEST_F(PageModelTest, StreamsWithoutAcrossOrDownClues)
{
    struct Case {
        const char *name;
        int across, down;
        int heading, last, firstDown;
        bool freeform;
        int pages;
    };
    const Case cases[] = {
        {"no across", 0, 3, 1, 5, 3, false, 2},
        {"no down", 3, 0, -7, 5, 0, false, 2},
        // No clue line at all: the clues' page is taken as 2 (and the user is told why);
        // a freeform puzzle without words is no error and keeps the grid and solution pages.
        {"neither", 0, 0, -7, -6, 0, false, 3},
        {"neither, freeform", 0, 0, -7, -6, 0, true, 2},
    };
    for (const Case &c : cases) {
        for (bool newColumn : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (newColumn ? " new column" : ""));
            CluesAcrossSG->SetRowCount(1);
            CluesDownSG->SetRowCount(1);
            addClues(CluesAcrossSG, c.across);
            addClues(CluesDownSG, c.down);
            NewColumnDown = newColumn;
            FreeformMode = c.freeform;
            {
                ScriptedPrompter quiet;
                runWithTimeout(flow, c.name);
                ShowPendingLayoutMessages();
            }
            EXPECT_EQ(DownHeadingLine(), c.heading);
            EXPECT_EQ(LastClueLine(), c.last);
            EXPECT_EQ(NewColumnSkip, 0);
            if (c.down) {
                EXPECT_EQ(firstLine(CluesDownSG, 1), c.firstDown);
            }
            EXPECT_EQ(PageCount, c.pages);
            bool widows = true;
            runWithTimeout([&] { widows = NoWidows(); }, c.name);
            (void)widows;
        }
    }
}

TEST_F(PageModelTest, DownHeadingOnTheLastLineOfAllBoxes)
{
    NewColumnDown = true;
    ClueFlow_MeasureClues();
    // Down heading H = across lines + 4; put it on the last line the boxes hold.
    addClues(CluesAcrossSG, capacity() - 4);
    addClues(CluesDownSG, 2);
    {
        ScriptedPrompter quiet;
        runWithTimeout(flow, "heading on the last line");
        EXPECT_TRUE(quiet.boxes.isEmpty());
    }
    EXPECT_EQ(DownHeadingLine(), capacity());
    EXPECT_EQ(NewColumnSkip, 1); // stopped where the boxes end
    EXPECT_GT(OverflowLineCount, 0);
    EXPECT_EQ(PageCount, MaxLayoutPages + 1);
}

TEST_F(PageModelTest, NoWidows)
{
    ClueFlow_MeasureClues();
    const int box = LineMap[1][1];
    // Five across clues: down heading at line 9; the down clues take lines 11 on.
    struct Case {
        const char *name;
        int across, down;
        bool result;
    };
    const Case cases[] = {
        {"last line alone in the next column", 5, box - 9, false},
        {"last two lines together", 5, box - 8, true},
        {"down heading last in its column", box - 4, 3, false},
        {"break just before the down heading", box - 3, 3, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        CluesAcrossSG->SetRowCount(1);
        CluesDownSG->SetRowCount(1);
        addClues(CluesAcrossSG, c.across);
        addClues(CluesDownSG, c.down);
        flow();
        EXPECT_EQ(NoWidows(), c.result)
            << "heading " << DownHeadingLine() << " last " << LastClueLine() << " box " << box;
    }
}

TEST_F(PageModelTest, FitLayoutToPaper)
{
    struct Case {
        double paperWidth, paperHeight;
        double left, right, top, bottom;
        double sides, ends; // the sums after
        bool note;
    };
    const Case cases[] = {
        {8.5, 11, 1, 1, 1, 1, 2, 2, false},
        {1.0, 11, 0.2, 0.2, 1, 1, 0.2, 2, true},  // a pair sum of 0.4 ends at 0.2
        {1.0, 11, 2, 2, 1, 1, 0.25, 2, true},     // 4 -> 2 -> 1 -> 0.5 -> 0.25
        {8.5, 2.0, 1, 1, 0.2, 0.2, 2, 0.2, true}, // top and bottom likewise
        {8.5, 2.0, 1, 1, 4, 4, 2, 0.5, true},     // at most 4 halvings
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.paperWidth);
        SCOPED_TRACE(c.top + c.bottom);
        InitGlobals();
        ClueColumns = 1;
        PaperWidth = c.paperWidth;
        PaperHeight = c.paperHeight;
        MarginLeft = c.left;
        MarginRight = c.right;
        MarginTop = c.top;
        MarginBottom = c.bottom;
        ScriptedPrompter script;
        FitLayoutToPaper();
        EXPECT_DOUBLE_EQ(MarginLeft + MarginRight, c.sides);
        EXPECT_DOUBLE_EQ(MarginTop + MarginBottom, c.ends);
        EXPECT_TRUE(script.boxes.isEmpty()); // queued, not shown
        EXPECT_EQ(HasPendingLayoutMessages(), c.note);
        ShowPendingLayoutMessages();
        if (c.note) {
            ASSERT_EQ(script.boxes.size(), 1);
            EXPECT_TRUE(script.boxes[0].text.startsWith(
                "This new paper size does not provide enough room for the current layout. "));
            EXPECT_EQ(script.boxes[0].kind, Prompter::Error);
        }
    }
    // Too many columns: reduced to what fits.
    InitGlobals();
    ClueColumns = 9;
    {
        ScriptedPrompter script;
        FitLayoutToPaper();
        ShowPendingLayoutMessages();
        ASSERT_EQ(script.boxes.size(), 1);
        EXPECT_TRUE(script.boxes[0].text.contains("Reducing the number of columns."));
    }
    EXPECT_LT(ClueColumns, 9);
    EXPECT_GE(ClueColumns, 1);
}

TEST_F(PageModelTest, HostileLayoutValuesAreClampedForComposingOnly)
{
    struct Case {
        const char *name;
        std::function<void()> setup;
    };
    const Case cases[] = {
        {"no clue columns", [] { ClueColumns = 0; }},
        {"negative clue columns", [] { ClueColumns = -3; }},
        {"too many clue columns", [] { ClueColumns = 40; }},
        {"zero leading", [] { LeadingPercentage = 0; }},
        {"negative leading", [] { LeadingPercentage = -50; }},
        {"zero clue size",
         [] {
             ClueTextFontSize = 0;
             ClueNumberFontSize = 0;
         }},
        {"negative clue size", [] { ClueTextFontSize = -5; }},
        {"margins taller than the page",
         [] {
             MarginTop = 8;
             MarginBottom = 8;
         }},
        {"margins wider than the page",
         [] {
             MarginLeft = 6;
             MarginRight = 6;
         }},
        {"word bank taller than the page",
         [] {
             DocControls.WordBankCB = true;
             WordBankMode = 1;
             WordBankPage = 1;
             ClueTextFontSize = 400;
         }},
        {"not-a-number margin", [] { MarginLeft = std::nan(""); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        InitGlobals();
        DocControls = TDocumentControls{};
        CluesAcrossSG->SetRowCount(1);
        CluesDownSG->SetRowCount(1);
        addClues(CluesAcrossSG, 20);
        addClues(CluesDownSG, 20);
        c.setup();
        const int columns = ClueColumns, leading = LeadingPercentage, size = ClueTextFontSize;
        ScriptedPrompter quiet;
        runWithTimeout(flow, c.name);
        EXPECT_EQ(ClueColumns, columns);
        EXPECT_EQ(LeadingPercentage, leading);
        EXPECT_EQ(ClueTextFontSize, size);
        EXPECT_GE(ClueWrapWidth, 1);
        EXPECT_TRUE(std::isfinite(ClueLineHeight));
        EXPECT_GT(ClueLineHeight, 0);
        for (int p = 1; p <= MaxLayoutPages; ++p) {
            EXPECT_LE(ClueBoxCount[p], MaxBoxesPerPage);
            EXPECT_GE(ClueBoxCount[p], 0);
            for (int j = 1; j <= ClueBoxCount[p]; ++j)
                EXPECT_GE(LineMap[p][j], 0);
        }
        EXPECT_GE(PageCount, 2);
        EXPECT_LE(PageCount, MaxLayoutPages + 1);
        EXPECT_GE(OverflowLineCount, 0);
        ShowPendingLayoutMessages();
    }
}

TEST_F(PageModelTest, OverflowIsCountedAndReportedOnce)
{
    // Only pages 2 to 9 hold clues, one column of 10 lines each: 80 lines.
    SeparateClues = true;
    ClueColumns = 1;
    MarginTop = 1;
    MarginBottom = 8;
    addClues(CluesAcrossSG, 100);
    ScriptedPrompter script;
    flow();
    ASSERT_EQ(capacity(), 80);
    EXPECT_EQ(OverflowLineCount, 102 - 80);
    EXPECT_EQ(PageCount, MaxLayoutPages + 1);
    EXPECT_TRUE(script.boxes.isEmpty()); // not during the flow
    EXPECT_TRUE(HasPendingLayoutMessages());

    flow(); // the same overflowing layout: not queued twice
    AutoLayoutPending = true;
    ShowPendingLayoutMessages();
    EXPECT_TRUE(script.boxes.isEmpty());
    AutoLayoutPending = false;
    ShowPendingLayoutMessages();
    ASSERT_EQ(script.boxes.size(), 1);
    EXPECT_EQ(str(script.boxes[0].text),
              "Your clues take up too many pages. Try to pack more clues into fewer pages.");
    EXPECT_FALSE(HasPendingLayoutMessages());
    ShowPendingLayoutMessages();
    EXPECT_EQ(script.boxes.size(), 1);

    flow(); // still overflowing: nothing new
    EXPECT_FALSE(HasPendingLayoutMessages());

    CluesAcrossSG->SetRowCount(50); // fits: re-armed
    flow();
    EXPECT_EQ(OverflowLineCount, 0);
    EXPECT_FALSE(HasPendingLayoutMessages());
    addClues(CluesAcrossSG, 60);
    flow();
    EXPECT_GT(OverflowLineCount, 0);
    EXPECT_TRUE(HasPendingLayoutMessages());
    ShowPendingLayoutMessages();
    EXPECT_EQ(script.boxes.size(), 2);
}

TEST_F(PageModelTest, OverflowWithdrawnWhenTheLayoutFitsBeforeItIsShown)
{
    SeparateClues = true;
    ClueColumns = 1;
    MarginTop = 1;
    MarginBottom = 8;
    addClues(CluesAcrossSG, 100);
    ScriptedPrompter script;
    flow();
    EXPECT_TRUE(HasPendingLayoutMessages());
    SeparateClues = false;
    ClueColumns = 4;
    MarginBottom = 1;
    flow();
    EXPECT_EQ(OverflowLineCount, 0);
    ShowPendingLayoutMessages();
    EXPECT_TRUE(script.boxes.isEmpty());
}

TEST_F(PageModelTest, NoClueLinesAtAll)
{
    ScriptedPrompter script;
    script.answers = {Prompter::Yes};
    int cleared = 0;
    QStringList errors;
    LayoutHooks.ClearPattern = [&] { ++cleared; };
    LayoutHooks.ShowErrorForm = [&](const QString &text) { errors.append(text); };
    flow();
    flow();
    EXPECT_EQ(PageCount, 3); // the clues' page is taken as 2
    EXPECT_TRUE(script.boxes.isEmpty());
    ShowPendingLayoutMessages();
    if (TRVGetWLCountTotal() > 0) {
        ASSERT_EQ(errors.size(), 1);
        EXPECT_EQ(str(errors[0]), "An unexpected error occured: Can't figure out where clues end.");
    } else {
        ASSERT_EQ(script.boxes.size(), 1);
        EXPECT_TRUE(script.boxes[0].text.startsWith("There are no word slots in your grid."));
        EXPECT_EQ(script.boxes[0].buttons, Prompter::Yes | Prompter::Ok);
        EXPECT_EQ(cleared, 1);
    }
    // Once per run.
    flow();
    ShowPendingLayoutMessages();
    EXPECT_LE(script.boxes.size() + errors.size(), 1);
}

TEST_F(PageModelTest, WordBankBreakStyles)
{
    DocControls.WordBankCB = true;
    WordBankMode = 1;
    WordBankHeader = QString();
    words.Words = {QStringLiteral("alpha"), QStringLiteral("beta"), QStringLiteral("gamma"),
                   QStringLiteral("delta")};
    WYSIWYGChange();
    const QFontMetricsF fm = textMetrics(3);
    auto setArea = [&](double pixels) {
        const double inches = pixels / (3.0 * DevicePixelsPerInchX);
        MarginLeft = 1;
        MarginRight = PaperWidth - 1 - inches;
    };
    struct Case {
        const char *name;
        int sort;
        QStringList grid; // answers of the across grid (sorts 0 and 1)
        QStringList lines;
    };
    const Case cases[] = {
        // Sort 2: words as given, separated by blanks; each blank is a break and goes.
        {"as given", 2, {}, {"alpha", "beta", "gamma", "delta."}},
        // Sort 3: commas, which stay at the end of their line; a blank is no break.
        {"as given with commas", 3, {}, {"alpha,", "beta,", "gamma,", "delta."}},
        // Sort 1: by size, groups separated by ";": the blank after the size stays
        // ("3 cat, dog;  4 oxen.").
        {"by size", 1, {"CAT", "DOG", "OXEN"}, {"3 cat,", "dog;", "4 oxen."}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        WordBankSort = c.sort;
        CluesAcrossSG->SetRowCount(1);
        for (int i = 0; i < c.grid.size(); ++i) {
            CluesAcrossSG->SetRowCount(i + 2);
            CluesAcrossSG->SetCell(0, i + 1, MakeAnswerKey(i + 1, c.grid[i]));
        }
        // Room for the widest line (and the two blanks of the heading), not for two items.
        double widest = 0;
        for (const QString &line : c.lines)
            widest = std::max(widest, fm.horizontalAdvance(line));
        const double heading = fm.horizontalAdvance(QStringLiteral("  ")) + 2; // bold blanks are as wide
        setArea(widest + heading);
        for (int i = 0; i + 1 < c.lines.size(); ++i)
            ASSERT_GT(fm.horizontalAdvance(c.lines[i] + QStringLiteral(" ") + c.lines[i + 1]),
                      widest + heading);
        WordBank_Layout();
        EXPECT_EQ(WordBankList, c.lines);

        // A wide area: everything on one line, the last item ended by the end of the text.
        MarginLeft = MarginRight = 1;
        WordBank_Layout();
        EXPECT_EQ(WordBankList.size(), 1);
        EXPECT_EQ(WordBankList.value(0), BuildWordBankText());
    }
}

TEST_F(PageModelTest, WordBankInATooNarrowAreaLosesNothing)
{
    DocControls.WordBankCB = true;
    WordBankMode = 1;
    WYSIWYGChange();
    for (int sort : {0, 2}) {
        SCOPED_TRACE(sort);
        WordBankSort = sort;
        words.Words = {QStringLiteral("elephant"), QStringLiteral("giraffe"), QStringLiteral("ox")};
        CluesAcrossSG->SetRowCount(1);
        addClues(CluesAcrossSG, 0);
        CluesAcrossSG->SetRowCount(4);
        CluesAcrossSG->SetCell(0, 1, MakeAnswerKey(1, QStringLiteral("ELEPHANT")));
        CluesAcrossSG->SetCell(0, 2, MakeAnswerKey(2, QStringLiteral("GIRAFFE")));
        CluesAcrossSG->SetCell(0, 3, MakeAnswerKey(3, QStringLiteral("OX")));
        for (double area : {0.0, 0.02, 0.3}) {
            SCOPED_TRACE(area);
            MarginLeft = 1;
            MarginRight = PaperWidth - 1 - area;
            runWithTimeout([] { WordBank_Layout(); }, "narrow word bank");
            QString text = BuildWordBankText();
            text.remove(QLatin1Char(',')).remove(QLatin1Char(' '));
            QString joined = WordBankList.join(QString());
            joined.remove(QLatin1Char(',')).remove(QLatin1Char(' '));
            EXPECT_EQ(str(joined), str(text));
            for (const QString &line : WordBankList) {
                EXPECT_FALSE(line.trimmed().isEmpty());
                EXPECT_FALSE(line.startsWith(QLatin1Char(','))) << str(line);
            }
        }
    }
}

TEST_F(PageModelTest, EnsureCurrentReflowsOnlyWhenSomethingChanged)
{
    addClues(CluesAcrossSG, 6);
    addClues(CluesDownSG, 4);
    const int clues = 10;
    ClueFlow_EnsureCurrent();
    EXPECT_EQ(ClueWrapCount, clues);
    EXPECT_TRUE(SequenceReady);

    ClueFlow_EnsureCurrent(); // an unchanged repaint measures no text
    EXPECT_EQ(ClueWrapCount, clues);

    struct Case {
        const char *name;
        std::function<void()> change;
    };
    const Case cases[] = {
        {"a clue text", [] { CluesAcrossSG->SetCell(1, 2, QStringLiteral("Changed")); }},
        {"a clue text edited in place", [] { CluesDownSG->Row(1).Cells[1] = QStringLiteral("In place"); }},
        {"a theme word", [] { CluesDownSG->Row(2).ThemeWord = true; }},
        {"a row more", [] { addClues(CluesDownSG, 1); }},
        {"the clue size", [] { ClueTextFontSize = 10; }},
        {"the clue columns", [] { ClueColumns = 3; }},
        {"the title", [] { DocControls.PuzzleTitle = QStringLiteral("Title"); }},
        {"the word bank box", [] { DocControls.WordBankCB = true; }},
        {"the puzzle type", [] { FreeformMode = true; }},
        {"the layout marked dirty", [] { ClueLayoutDirty = true; }},
        {"the sequence invalidated", [] { ClueFlow_InvalidateAll(); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        c.change();
        const int before = ClueWrapCount;
        ClueFlow_EnsureCurrent();
        EXPECT_EQ(ClueWrapCount - before, CluesAcrossSG->RowCount() + CluesDownSG->RowCount() - 2);
        EXPECT_FALSE(ClueLayoutDirty);
        const int after = ClueWrapCount;
        ClueFlow_EnsureCurrent();
        EXPECT_EQ(ClueWrapCount, after);
    }
}

TEST_F(PageModelTest, ClueWasChangedRewrapsOneClue)
{
    addClues(CluesAcrossSG, 3);
    addClues(CluesDownSG, 3);
    ClueFlow_EnsureCurrent();
    QList<int> painted, drawn;
    LayoutHooks.PaintCluesStartingFrom = [&](TClueGrid *, int row) { painted.append(row); };
    LayoutHooks.DrawOneClue = [&](TClueGrid *, int row) { drawn.append(row); };

    // Same number of lines: only this clue is drawn again.
    CluesAcrossSG->SetCell(1, 2, QStringLiteral("Other"));
    int before = ClueWrapCount;
    ClueFlow_ClueWasChanged(CluesAcrossSG, 2);
    EXPECT_EQ(ClueWrapCount - before, 1);
    EXPECT_EQ(drawn, QList<int>{2});
    EXPECT_TRUE(painted.isEmpty());
    // The model is current: the next paint wraps nothing.
    before = ClueWrapCount;
    ClueFlow_EnsureCurrent();
    EXPECT_EQ(ClueWrapCount, before);

    // More lines: renumbered, and painted from this clue on.
    const int downFirst = firstLine(CluesDownSG, 1);
    CluesAcrossSG->SetCell(1, 2, QString(QStringLiteral("long clue text ")).repeated(30));
    ClueFlow_ClueWasChanged(CluesAcrossSG, 2);
    EXPECT_EQ(painted, QList<int>{2});
    const int lines = ClueFlow_LinesOf(CluesAcrossSG, 2);
    EXPECT_GT(lines, 1);
    EXPECT_EQ(firstLine(CluesAcrossSG, 3), firstLine(CluesAcrossSG, 2) + lines);
    EXPECT_EQ(firstLine(CluesDownSG, 1), downFirst + lines - 1);

    // While the grid is updating nothing is painted.
    GridUpdating = true;
    CluesAcrossSG->SetCell(1, 2, QStringLiteral("Short"));
    ClueFlow_ClueWasChanged(CluesAcrossSG, 2);
    GridUpdating = false;
    EXPECT_EQ(painted.size(), 1);
    EXPECT_EQ(drawn.size(), 1);
}

TEST_F(PageModelTest, PageCountAndCurrentPage)
{
    QList<int> counts, pages;
    LayoutHooks.PageCountChanged = [&](int n) { counts.append(n); };
    LayoutHooks.CurrentPageChanged = [&](int n) { pages.append(n); };
    addClues(CluesAcrossSG, 5);
    flow();
    EXPECT_EQ(PageCount, 2);
    EXPECT_EQ(SolutionPage, 2);
    flow();
    EXPECT_LE(counts.size(), 1); // told only when it changed
    PuzzlePage = 3;
    flow();
    EXPECT_EQ(PageCount, 4);
    EXPECT_EQ(counts.last(), 4);
    // Found while the Auto-Layout expert works: told at the next look, without a re-flow.
    const int told = int(counts.size());
    AutoLayoutPending = true;
    PuzzlePage = 5;
    flow();
    EXPECT_EQ(PageCount, 6);
    EXPECT_EQ(int(counts.size()), told);
    AutoLayoutPending = false;
    const int wraps = ClueWrapCount;
    ClueFlow_EnsureCurrent();
    EXPECT_EQ(ClueWrapCount, wraps);
    EXPECT_EQ(counts.last(), 6);
    SetCurrentPage(9);
    EXPECT_EQ(CurrentPage, 6);
    SetCurrentPage(0);
    EXPECT_EQ(CurrentPage, 1);
    EXPECT_EQ(pages, (QList<int>{6, 1}));
}

} // namespace
