// The document view: zoom steps and their limits, the view tabs and the View menu, the colours a
// cell shows on the page image, the engine's draw-cell callbacks and the deferred cell paints,
// and the instructions shown over an untouched freeform grid.
#include "globals.h"
#include "layoutsettings.h"
#include "mainwindowtest.h"

#include "myoverrides.h"
#include "trv600.h"
#include "viewpaint.h"
#include "viewport.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QMenu>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabBar>

#include <cmath>
#include <functional>
#include <limits>
#include <utility>
#include <vector>

namespace {

const QString kFilled = QStringLiteral(TRV_TEST_DATA) + "/main/filled15.trv";
const QString kPenciled = QStringLiteral("Penciled-In Grid*");
constexpr TColor kSilver = 0xC0C0C0;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Colours as "$BBGGRR" texts, so that failures read like the colours in the code.
QString winHex(TColor colour)
{
    return QStringLiteral("$%1").arg(colour & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper();
}

QString pixelHex(const QImage &image, int x, int y)
{
    if (!image.rect().contains(x, y))
        return QStringLiteral("outside the image");
    const QRgb p = image.pixel(x, y);
    return winHex(qRed(p) | qGreen(p) << 8 | qBlue(p) << 16);
}

// The centre of a cell on the grid page.
QString cellCentre(const TMainFm *window, int column, int row)
{
    const TPixelRect cell = CellPixelRect(column, row);
    return pixelHex(window->WorkBitmap(), (cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
}

// Inside a cell at its left middle: clear of the grid line, the number (top left), the letter
// (centre) and the cross over an isolated removed cell (diagonals).
QString cellInside(const TMainFm *window, int column, int row)
{
    const TPixelRect cell = CellPixelRect(column, row);
    return pixelHex(window->WorkBitmap(), cell.Left + std::max(1, GridLinePixelWidth) + 2,
                    (cell.Top + cell.Bottom) / 2);
}

// How many pixels inside a cell's grid lines have the colour.
int pixelsInCell(const TMainFm *window, int column, int row, TColor colour)
{
    const TPixelRect cell = CellPixelRect(column, row);
    const int w = std::max(1, GridLinePixelWidth);
    int n = 0;
    for (int y = cell.Top + w; y < cell.Bottom - w; ++y)
        for (int x = cell.Left + w; x < cell.Right - w; ++x)
            n += pixelHex(window->WorkBitmap(), x, y) == winHex(colour);
    return n;
}

QStringList tabCaptions(const TMainFm *window)
{
    QStringList captions;
    for (int i = 0; i < window->ViewTabCtl->count(); ++i)
        captions << window->ViewTabCtl->tabText(i);
    return captions;
}

class ViewTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        m_pastel = PastelHighlight;
        m_highlight = HighlightColor;
    }

    void TearDown() override
    {
        EXPECT_TRUE(m_prompter.boxes.isEmpty()) << m_prompter.lastText().toStdString();
        PastelHighlight = m_pastel;
        HighlightColor = m_highlight;
        GridUpdating = false;
        MainFormReady = false;
        MainWindowTest::TearDown();
    }

    // A new window whose view is width x height pixels at 96 pixels per inch.
    TMainFm *viewWindow(int width = 600, int height = 800)
    {
        TMainFm *window = makeWindow();
        // The test's program folder has no clue files, which rebuilding the clues would report.
        window->SetAutoClueSymmetrical(false);
        window->SetAutoClueFreeform(false);
        MainFormReady = true;
        window->PixelsPerInch = 96;
        window->ViewPort->resize(width, height);
        return window;
    }

    TMainFm *openFilled()
    {
        TMainFm *window = viewWindow();
        window->ReadPuzzleFile(kFilled);
        window->AfterPuzzleOpened(kFilled);
        return window;
    }

    // A new empty engine grid without symmetry, and the window's size to match it.
    static void useGrid(int columns, int rows)
    {
        TRVCreateRenumGrid(columns, rows);
        TRVSetSymMode(0);
        Columns = columns;
        Rows = rows;
    }

    static void showPenciled(TMainFm *window)
    {
        window->ShowPenciledView();
        window->ViewPortPaint();
    }

    static void showPage1(TMainFm *window)
    {
        window->ShowViewTab(QStringLiteral("Page 1"));
        window->ViewPortPaint();
    }

    ScriptedPrompter m_prompter; // no box is expected; one would show here instead of blocking
    bool m_pastel = true;
    TColor m_highlight = 0;
};

// ---- Zoom -------------------------------------------------------------------------------------------

TEST(ViewZoomTest, ZoomComesInStepsOfWholePixelsPerCell)
{
    // Zoom step i shows a cell in i pixels: zoom 100 i / (ppi x cell width).
    struct Row {
        const char *name;
        double ppi, cellWidth, asked;
        int pixelsPerCell;
    };
    const Row rows[] = {
        {"a step is kept", 96, 0.25, 100, 24},
        {"between steps, the next one up", 96, 0.25, 101, 25},
        {"another resolution", 300, 0.25, 100, 75},
        {"below 10, the step above 10", 96, 0.27, 5, 3},
        {"negative, the step above 10", 96, 0.25, -50, 3},
        {"above 500, the step above 500", 96, 0.27, 900, 130},
        {"10 itself a step", 100, 0.5, 10, 5},
        {"500 itself a step", 100, 0.5, 900, 250},
        {"at least two pixels a cell", 96, 0.01, 10, 2},
        {"largest sane cell at the finest screen", 10000, 100, 100, 1000000},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        double ipp = 0, used = 0;
        ASSERT_TRUE(TMainFm::QuantizeZoom(row.asked, row.ppi, row.cellWidth, &ipp, &used));
        EXPECT_NEAR(used, 100.0 * row.pixelsPerCell / (row.ppi * row.cellWidth), 1e-9 * used);
        EXPECT_NEAR(ipp, row.cellWidth / row.pixelsPerCell, 1e-12 * row.cellWidth);
        // Asking again for the zoom in use keeps it.
        double ippAgain = 0, usedAgain = 0;
        ASSERT_TRUE(TMainFm::QuantizeZoom(used, row.ppi, row.cellWidth, &ippAgain, &usedAgain));
        EXPECT_EQ(usedAgain, used);
        EXPECT_EQ(ippAgain, ipp);
    }
}

TEST(ViewZoomTest, InsaneSizesAreRefused)
{
    struct Row {
        const char *name;
        double ppi, cellWidth, zoom;
    };
    const Row rows[] = {
        {"cell width 0", 96, 0, 100},
        {"cell width -1", 96, -1, 100},
        {"cell width 1e300", 96, 1e300, 100},
        {"cell width NaN", 96, kNaN, 100},
        {"cell width infinite", 96, kInf, 100},
        {"no resolution", 0, 0.25, 100},
        {"negative resolution", -96, 0.25, 100},
        {"resolution NaN", kNaN, 0.25, 100},
        {"zoom NaN", 96, 0.25, kNaN},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        double ipp = 0, used = 0;
        EXPECT_FALSE(TMainFm::QuantizeZoom(row.zoom, row.ppi, row.cellWidth, &ipp, &used));
    }
}

TEST_F(ViewTest, DamagedCellWidthFallsBackToTheDefaultZoom)
{
    TMainFm *window = viewWindow();
    for (const double width : {0.0, -1.0, 1e300, kNaN}) {
        SCOPED_TRACE(width);
        CellWidth = width;
        window->SetZoomAndCentre(100, 4.25, 5.5);
        EXPECT_EQ(window->Zoom, 37);
        EXPECT_EQ(InchesPerPixel, 0.03);
        EXPECT_DOUBLE_EQ(ViewPageRect.Right - ViewPageRect.Left, 600 * 0.03);
        // The page still composes.
        window->ViewPortPaint();
        EXPECT_FALSE(window->WorkBitmap().isNull());
    }
}

TEST_F(ViewTest, EmptyViewFitsAtTheDefaultZoom)
{
    TMainFm *window = viewWindow();
    window->ViewPort->resize(0, 0);
    for (int mode = 0; mode <= 4; ++mode) {
        SCOPED_TRACE(mode);
        window->SetViewMode(mode, 1);
        EXPECT_GE(window->Zoom, 37);
        EXPECT_LT(window->Zoom, 40);
        EXPECT_TRUE(std::isfinite(ViewCenterX) && std::isfinite(ViewCenterY));
    }
    window->ViewPortPaint();
    EXPECT_FALSE(window->WorkBitmap().isNull());
}

// ---- Tabs and the View menu --------------------------------------------------------------------

TEST_F(ViewTest, TabsFollowThePageCountAndTheFirstFreeZoomAddsCustom)
{
    TMainFm *window = viewWindow();
    window->SetPageCount(3, 2);
    EXPECT_EQ(tabCaptions(window),
              QStringList({"Page 1", "Page 2", "Page 3", kPenciled, "Clues", "Solution"}));
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(window->mViewPage[i]->isVisible(), i < 3) << "page " << i + 1;
    EXPECT_FALSE(window->mViewCustom->isVisible());

    window->SetViewMode(vmWholePage, 2);
    window->mViewZoomInClick();
    EXPECT_EQ(tabCaptions(window),
              QStringList({"Page 1", "Page 2", "Page 3", kPenciled, "Clues", "Solution", "Custom"}));
    EXPECT_TRUE(window->mViewCustom->isVisible());
    EXPECT_EQ(window->ViewTabCaption(), "Custom");
    window->mViewZoomInClick();
    EXPECT_EQ(tabCaptions(window).count("Custom"), 1);
}

TEST_F(ViewTest, ViewMenuItemsShowTheirTabAndAreTheOnlyOneChecked)
{
    TMainFm *window = viewWindow();
    window->SetPageCount(3, 2);
    window->SetViewMode(vmWholePage, 2);
    window->mViewZoomInClick(); // the custom view, of page 1
    struct Row {
        const char *name;
        std::function<QAction *(TMainFm *)> item;
        QString tab;
        int page, view;
    };
    const Row rows[] = {
        {"page 3", [](TMainFm *w) { return w->mViewPage[2]; }, "Page 3", 3, 0},
        {"grid", [](TMainFm *w) { return w->mViewPuzzle; }, kPenciled, 1, 2},
        {"clues", [](TMainFm *w) { return w->mViewClues; }, "Clues", 1, 3},
        {"solution", [](TMainFm *w) { return w->mViewSolution; }, "Solution", 3, 4},
        {"custom", [](TMainFm *w) { return w->mViewCustom; }, "Custom", 1, 5},
        {"page 2", [](TMainFm *w) { return w->mViewPage[1]; }, "Page 2", 2, 0},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        QAction *item = row.item(window);
        item->trigger();
        EXPECT_EQ(window->ViewTabCaption(), row.tab);
        EXPECT_EQ(CurrentPage, row.page);
        EXPECT_EQ(View, row.view);
        EXPECT_TRUE(item->isChecked());
        int checked = 0;
        for (QAction *a : window->mViewPage)
            checked += a->isChecked();
        for (QAction *a :
             {window->mViewPuzzle, window->mViewClues, window->mViewSolution, window->mViewCustom})
            checked += a->isChecked();
        EXPECT_EQ(checked, 1);
    }
}

TEST_F(ViewTest, StaleTabOfAPageBeyondTheCountShowsTheLastPage)
{
    TMainFm *window = viewWindow();
    window->SetPageCount(9, 2);
    window->SetPageCount(2, 0); // the count changes, the tabs stay
    ASSERT_EQ(window->ViewTabCtl->tabText(6), "Page 7");
    {
        const QSignalBlocker quiet(window->ViewTabCtl);
        window->ViewTabCtl->setCurrentIndex(6);
    }
    window->ViewTabCtlChange();
    EXPECT_EQ(CurrentPage, 2);
    EXPECT_EQ(View, 0);
}

TEST_F(ViewTest, ShowViewTabIfOtherSwitchesOnlyWhenAnotherPageShows)
{
    struct Row {
        const char *fromTab;
        int fromPage;
        QString text;
        const char *toTab;
        int toPage;
    };
    const Row rows[] = {
        {"Page 1", 1, "Page 2", "Page 2", 2},
        {"Page 2", 2, "Page 2", "Page 2", 2},
        {"Page 2", 2, kPenciled, "Penciled-In Grid*", 1},
        {"Page 1", 1, kPenciled, "Page 1", 1}, // the grid's page shows already
        {"Clues", 1, "Page 1", "Clues", 1},
        {"Clues", 1, "Page 3", "Page 3", 3},
        {"Page 1", 1, "Clues", "Page 1", 1},
        {"Custom", 2, "Page 2", "Page 2", 2},
        {"Custom", 1, "Clues", "Clues", 1},
        {"Custom", 3, "Custom", "Custom", 3},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(QStringLiteral("%1 (page %2) asked %3")
                         .arg(row.fromTab)
                         .arg(row.fromPage)
                         .arg(row.text)
                         .toStdString());
        TMainFm *window = viewWindow();
        window->SetPageCount(3, 2);
        if (QLatin1String(row.fromTab) == QLatin1String("Custom")) {
            window->ShowViewTab(QStringLiteral("Page %1").arg(row.fromPage));
            window->FreeZoom(window->Zoom, ViewCenterX, ViewCenterY);
        } else {
            window->ShowViewTab(row.fromTab);
        }
        ASSERT_EQ(window->ViewTabCaption(), row.fromTab);
        ASSERT_EQ(CurrentPage, row.fromPage);

        window->ShowViewTabIfOther(row.text);
        EXPECT_EQ(window->ViewTabCaption(), row.toTab);
        EXPECT_EQ(CurrentPage, row.toPage);
    }
}

TEST_F(ViewTest, ZoomInKeepsTheViewCentre)
{
    TMainFm *window = viewWindow();
    window->SetViewMode(vmWholePage, 2);
    window->ViewPortPaint();
    const double x = (ViewPageRect.Left + ViewPageRect.Right) / 2;
    const double y = (ViewPageRect.Top + ViewPageRect.Bottom) / 2;
    double zoom = window->Zoom;
    for (int click = 1; click <= 3; ++click) {
        SCOPED_TRACE(click);
        window->mViewZoomInClick();
        // A compose re-fits the view: the custom view must come back as it was left.
        window->ViewPortPaint();
        EXPECT_GT(window->Zoom, zoom);
        zoom = window->Zoom;
        EXPECT_EQ(window->ViewTabCaption(), "Custom");
        EXPECT_EQ(View, 5);
        EXPECT_NEAR((ViewPageRect.Left + ViewPageRect.Right) / 2, x, InchesPerPixel / 2);
        EXPECT_NEAR((ViewPageRect.Top + ViewPageRect.Bottom) / 2, y, InchesPerPixel / 2);
    }
    window->ViewPortPaint();
    EXPECT_EQ(window->Zoom, zoom);
}

// ---- Fitted views and scrolling ---------------------------------------------------------------

TEST_F(ViewTest, PageWidthShowsTheWholeWidthFromTheTopOfThePage)
{
    TMainFm *window = viewWindow();
    window->mViewPageWidthClick();
    window->ViewPortPaint();
    EXPECT_EQ(window->ViewTabCaption(), "Custom");
    EXPECT_LE(ViewPageRect.Left, 0);
    EXPECT_GE(ViewPageRect.Right, PaperWidth);
    // The page takes nine tenths of the view's width or a little more.
    EXPECT_GE(PaperWidth / InchesPerPixel, 0.9 * window->ViewPort->width());
    EXPECT_NEAR(ViewPageRect.Top, 0, InchesPerPixel);
}

TEST_F(ViewTest, GridViewsShowTheWholeGrid)
{
    struct Row {
        int columns, rows, width, height;
    };
    const Row rows[] = {
        {5, 5, 600, 800}, {15, 15, 600, 800}, {7, 4, 800, 300}, {4, 7, 800, 300}, {51, 51, 640, 480}};
    for (const Row &row : rows) {
        for (const bool solution : {false, true}) {
            SCOPED_TRACE(QStringLiteral("%1 x %2 in %3 x %4, %5")
                             .arg(row.columns)
                             .arg(row.rows)
                             .arg(row.width)
                             .arg(row.height)
                             .arg(solution ? "solution" : "penciled")
                             .toStdString());
            TMainFm *window = viewWindow(row.width, row.height);
            useGrid(row.columns, row.rows);
            if (solution)
                window->ShowSolutionView();
            else
                window->ShowPenciledView();
            window->ViewPortPaint();
            auto rect = solution ? CellPixelRectFor : CellPixelRect;
            const TPixelRect first = rect(1, 1), last = rect(row.columns, row.rows);
            EXPECT_GE(first.Left, 0);
            EXPECT_GE(first.Top, 0);
            EXPECT_LE(last.Right, row.width);
            EXPECT_LE(last.Bottom, row.height);
            // And not lost in the middle: the grid fills most of the view one way, unless the
            // zoom is at its limit.
            if (window->Zoom < 500) {
                EXPECT_GT(std::max(double(last.Right - first.Left) / row.width,
                                   double(last.Bottom - first.Top) / row.height),
                          0.75);
            }
        }
    }
}

class ViewScrollTest : public ViewTest
{
protected:
    // A shown window (the scroll bars follow a shown view only) with a view of that size on
    // the whole first page.
    TMainFm *shownPage(const QSize &view)
    {
        TMainFm *window = viewWindow();
        window->resize(900, 700);
        window->show();
        QCoreApplication::processEvents();
        window->ViewPort->resize(view);
        showPage1(window);
        EXPECT_GT(window->ViewPortHorzScrollbar->maximum(), window->ViewPortHorzScrollbar->minimum());
        EXPECT_GT(window->ViewPortVertScrollbar->maximum(), window->ViewPortVertScrollbar->minimum());
        return window;
    }

    static void scroll(TMainFm *window, QScrollBar *bar, QAbstractSlider::SliderAction action, int times)
    {
        for (int i = 0; i < times; ++i) {
            bar->triggerAction(action);
            window->ViewPortPaint();
        }
    }
};

TEST_F(ViewScrollTest, StepMovesTheCentreAndMakesTheCustomView)
{
    TMainFm *window = shownPage(QSize(600, 400));
    const double x = ViewCenterX, y = ViewCenterY;
    QScrollBar *across = window->ViewPortHorzScrollbar;
    QScrollBar *down = window->ViewPortVertScrollbar;

    scroll(window, across, QAbstractSlider::SliderSingleStepAdd, 1);
    EXPECT_EQ(window->ViewTabCaption(), "Custom");
    EXPECT_EQ(View, 5);
    EXPECT_NEAR(ViewCenterX, x + across->singleStep() * InchesPerPixel, InchesPerPixel / 2);
    EXPECT_NEAR(ViewCenterY, y, InchesPerPixel / 2);

    scroll(window, down, QAbstractSlider::SliderSingleStepSub, 1);
    EXPECT_NEAR(ViewCenterY, y - down->singleStep() * InchesPerPixel, InchesPerPixel / 2);
    EXPECT_NEAR(ViewCenterX, x + across->singleStep() * InchesPerPixel, InchesPerPixel / 2);
}

TEST_F(ViewScrollTest, StepsThereAndBackComeBackToTheStart)
{
    // Odd sizes too: the centre of the view is then between two pixels.
    for (const QSize &size : {QSize(600, 400), QSize(601, 401)}) {
        SCOPED_TRACE(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height()).toStdString());
        TMainFm *window = shownPage(size);
        const double x = ViewCenterX, y = ViewCenterY;
        scroll(window, window->ViewPortVertScrollbar, QAbstractSlider::SliderSingleStepAdd, 10);
        scroll(window, window->ViewPortVertScrollbar, QAbstractSlider::SliderSingleStepSub, 10);
        scroll(window, window->ViewPortHorzScrollbar, QAbstractSlider::SliderSingleStepAdd, 10);
        scroll(window, window->ViewPortHorzScrollbar, QAbstractSlider::SliderSingleStepSub, 10);
        EXPECT_NEAR(ViewCenterX, x, InchesPerPixel / 2);
        EXPECT_NEAR(ViewCenterY, y, InchesPerPixel / 2);
    }
}

// ---- Cell colours -------------------------------------------------------------------------------

TEST_F(ViewTest, FilledGridShowsBlocksRemovedAndLetteredCells)
{
    TMainFm *window = openFilled();
    ASSERT_EQ(PageColor, 0xFFFFFF);
    ASSERT_EQ(RemovedCellColor, 0xFFFFFF);
    ASSERT_EQ(TRVGetCell(4, 1), TRV_BLOCK);
    ASSERT_EQ(TRVGetCell(10, 5), TRV_REMOVED);
    ASSERT_TRUE(TRVIsCellFixed(2, 1));

    for (const bool penciled : {false, true}) {
        SCOPED_TRACE(penciled ? "penciled tab" : "page tab");
        if (penciled)
            showPenciled(window);
        else
            showPage1(window);
        EXPECT_EQ(cellCentre(window, 4, 1), winHex(clPuzzleGrid));
        EXPECT_EQ(cellInside(window, 10, 5), winHex(kSilver));
        EXPECT_EQ(TRVGetCellDispColor(10, 5), kSilver);
        EXPECT_EQ(cellInside(window, 5, 1), winHex(PageColor)); // "a"
        EXPECT_EQ(cellInside(window, 2, 1), winHex(PageColor)); // fixed "E"
        // The penciled grid crosses the isolated removed cell out; the page does not.
        EXPECT_EQ(pixelsInCell(window, 10, 5, clPuzzleGrid) > 0, penciled);
    }

    // The solution page draws its grid in its own place and colour.
    clSolutionGrid = 0x404040;
    window->ShowViewTab(QStringLiteral("Solution"));
    window->ViewPortPaint();
    ASSERT_EQ(CurrentPage, SolutionPage);
    const TPixelRect block = CellPixelRectFor(4, 1);
    EXPECT_EQ(pixelHex(window->WorkBitmap(), (block.Left + block.Right) / 2, (block.Top + block.Bottom) / 2),
              winHex(0x404040));

    // With a removed-cell colour of its own the cell is no longer an isolated one.
    RemovedCellColor = 0x808080;
    showPage1(window);
    EXPECT_EQ(cellInside(window, 10, 5), winHex(0x808080));
    EXPECT_EQ(TRVGetCellDispColor(10, 5), 0x808080);

    // Open cells show the page's colour, whatever it is.
    PageColor = 0xE0F0FF;
    for (const bool penciled : {false, true}) {
        SCOPED_TRACE(penciled ? "penciled tab, cream page" : "page tab, cream page");
        if (penciled)
            showPenciled(window);
        else
            showPage1(window);
        EXPECT_EQ(cellInside(window, 5, 1), winHex(0xE0F0FF));
        EXPECT_EQ(TRVGetCellDispColor(5, 1), 0xE0F0FF);
    }
}

TEST_F(ViewTest, PastelTintsOnThePenciledTabAndThePageColourElsewhere)
{
    TMainFm *window = viewWindow();
    PageColor = 0xF0F0F0; // not white, so that the page colour is told from an untinted colour
    struct Row {
        bool pastel;
        TColor colour, penciled;
    };
    const Row rows[] = {
        {true, 0x00FF00, 0xBFFFBF},  {true, 0xFF00FF, 0xA0D0FF},  {true, 0x00FFFF, 0xA7FFFF},
        {true, 0x0000FF, 0x9090FF},  {true, 0xA7FFFF, 0xDCFFFF},  {true, 0xFF9933, 0xFFFFB0},
        {true, 0x123456, 0x123456},  {false, 0x00FF00, 0x00FF00}, {false, 0xFF9933, 0xFF9933},
        {false, 0xA7FFFF, 0xA7FFFF},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(QStringLiteral("%1 pastel %2").arg(winHex(row.colour)).arg(row.pastel).toStdString());
        PastelHighlight = row.pastel;
        window->ShowPenciledView();
        EXPECT_EQ(winHex(ViewCellColor(row.colour)), winHex(row.penciled));
        for (const char *tab : {"Page 1", "Solution", "Clues"}) {
            window->ShowViewTab(tab);
            EXPECT_EQ(winHex(ViewCellColor(row.colour)), winHex(PageColor)) << tab;
        }
    }
    // The two-letter colour follows the setting.
    PastelHighlight = true;
    HighlightColor = 0x00FF00;
    window->ShowPenciledView();
    EXPECT_EQ(winHex(ViewCellColor(0x00FF00)), winHex(0xFFFFB0));
}

TEST_F(ViewTest, HotSpotLevelsShowOnlyWhenAskedFor)
{
    // In an open grid every cell is as hot as the grid is big.
    struct Row {
        int columns, rows, level;
        TColor colour, penciled;
    };
    const Row rows[] = {
        {5, 5, 0, 0xFFFFFF, 0xFFFFFF}, {6, 5, 1, 0xA7FFFF, 0xDCFFFF}, {6, 6, 2, 0x00FFFF, 0xA7FFFF},
        {7, 7, 3, 0xFF00FF, 0xA0D0FF}, {8, 8, 4, 0x0000FF, 0x9090FF},
    };
    TMainFm *window = viewWindow();
    for (const Row &row : rows) {
        SCOPED_TRACE(QStringLiteral("%1 x %2").arg(row.columns).arg(row.rows).toStdString());
        useGrid(row.columns, row.rows);
        window->ShowHotSpotsCB->setChecked(true);
        TRVSetShowHotSpots(1);
        ASSERT_EQ(TRVGetDifficulty(2, 2), row.level);
        showPenciled(window);
        EXPECT_EQ(cellInside(window, 2, 2), winHex(row.penciled));
        EXPECT_EQ(winHex(TRVGetCellDispColor(2, 2)), winHex(row.colour));
        showPage1(window);
        EXPECT_EQ(cellInside(window, 2, 2), winHex(PageColor));

        window->ShowHotSpotsCB->setChecked(false);
        TRVSetShowHotSpots(0);
        showPenciled(window);
        EXPECT_EQ(cellInside(window, 2, 2), winHex(PageColor));
    }
}

TEST_F(ViewTest, TwoLetterAndUncrossedColoursFollowTheirBoxes)
{
    TMainFm *window = viewWindow();
    useGrid(5, 5);
    for (const auto &[c, r] : {std::pair{3, 1}, {4, 2}, {1, 3}, {3, 3}})
        TRVSetCell(c, r, TRV_BLOCK);
    // (1,1) starts a two-letter word, (2,3) is between two blocks, (4,1) is both.
    ASSERT_EQ(TRVShadeCell(1, 1), TRV_SHADE_TWO_LETTER);
    ASSERT_EQ(TRVShadeCell(2, 3), TRV_SHADE_UNCROSSED);
    ASSERT_EQ(TRVShadeCell(4, 1), TRV_SHADE_TWO_LETTER | TRV_SHADE_UNCROSSED);
    window->ShowHotSpotsCB->setChecked(false);

    const TColor page = PageColor, two = HighlightColor, green = 0x00FF00;
    struct Row {
        bool twoLetter, uncrossed;
        TColor cell11, cell23, cell41;
    };
    const Row rows[] = {
        {false, false, page, page, page},
        {true, false, two, page, two},
        {false, true, page, green, green},
        {true, true, two, green, green}, // the uncrossed colour wins
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(QStringLiteral("two-letter %1, uncrossed %2")
                         .arg(row.twoLetter)
                         .arg(row.uncrossed)
                         .toStdString());
        window->CheckBoxTwoLetter->setChecked(row.twoLetter);
        window->CheckBoxUncrossed->setChecked(row.uncrossed);
        showPenciled(window);
        const struct {
            int c, r;
            TColor colour;
        } cells[] = {{1, 1, row.cell11}, {2, 3, row.cell23}, {4, 1, row.cell41}};
        for (const auto &cell : cells) {
            SCOPED_TRACE(QStringLiteral("cell %1,%2").arg(cell.c).arg(cell.r).toStdString());
            EXPECT_EQ(winHex(TRVGetCellDispColor(cell.c, cell.r)), winHex(cell.colour));
            EXPECT_EQ(cellInside(window, cell.c, cell.r), winHex(ViewCellColor(cell.colour)));
        }
    }
    // The colours on the grid are the pastel ones.
    EXPECT_EQ(cellInside(window, 1, 1), winHex(0xFFFFB0));
    EXPECT_EQ(cellInside(window, 2, 3), winHex(0xBFFFBF));
}

TEST_F(ViewTest, TickingADisplayBoxShowsItsColoursAtTheNextPaint)
{
    struct Row {
        const char *name;
        std::function<QCheckBox *(TMainFm *)> box;
        int columns, rows;
        std::vector<std::pair<int, int>> blocks;
        int column, row; // a cell that the box colours
        TColor colour;
    };
    const Row rows[] = {
        {"two-letter words",
         [](TMainFm *w) { return w->CheckBoxTwoLetter; },
         5,
         5,
         {{3, 1}},
         1,
         1,
         HighlightColor},
        {"uncrossed cells",
         [](TMainFm *w) { return w->CheckBoxUncrossed; },
         5,
         5,
         {{1, 3}, {3, 3}},
         2,
         3,
         0x00FF00},
        {"hot spots", [](TMainFm *w) { return w->ShowHotSpotsCB; }, 6, 6, {}, 2, 2, 0x00FFFF},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        TMainFm *window = viewWindow();
        useGrid(row.columns, row.rows);
        for (const auto &[c, r] : row.blocks)
            TRVSetCell(c, r, TRV_BLOCK);
        QCheckBox *box = row.box(window);
        box->setChecked(false);
        TRVSetShowHotSpots(0);
        // The program keeps the hot spots computed, shown or not (a new grid, an opened file).
        TRVComputeHotSpots();
        showPenciled(window);
        ASSERT_EQ(cellInside(window, row.column, row.row), winHex(PageColor));

        // What a paint of the view does after a click: flush the marked cells, or compose.
        auto nextPaint = [&] {
            window->FlushCellPaints();
            if (window->ComposePending())
                window->ViewPortPaint();
        };
        box->click();
        ASSERT_TRUE(box->isChecked());
        nextPaint();
        EXPECT_EQ(winHex(TRVGetCellDispColor(row.column, row.row)), winHex(row.colour));
        EXPECT_EQ(cellInside(window, row.column, row.row), winHex(ViewCellColor(row.colour)));

        box->click();
        ASSERT_FALSE(box->isChecked());
        nextPaint();
        EXPECT_EQ(cellInside(window, row.column, row.row), winHex(PageColor));
    }
}

TEST_F(ViewTest, FailedBuildShowsTheStuckCellAndItsArea)
{
    // Word lists without words: every slot of the 3 x 3 grid is stuck, the fixed letter most.
    QDir(programFile("ZEDAVIV")).mkpath(".");
    writeFile(programFile("ZEDAVIV/E.P03"), QByteArray());
    TMainFm *window = viewWindow();
    useGrid(3, 3);
    TRVSetCellOnly(1, 1, 'A');
    ASSERT_EQ(TRVConstructCmd(0), TRV_TOTALLY_EXHAUSTED);
    ASSERT_EQ(TRVShadeCell(1, 1), TRV_SHADE_STUCK_CELL | TRV_SHADE_STUCK_AREA);
    ASSERT_EQ(TRVShadeCell(2, 2), TRV_SHADE_STUCK_AREA);
    // Stuck colours show whatever the boxes say.
    window->CheckBoxTwoLetter->setChecked(true);
    window->CheckBoxUncrossed->setChecked(true);
    window->ShowHotSpotsCB->setChecked(true);

    struct Row {
        bool pastel;
        TColor stuckCell, stuckArea;
    };
    for (const Row &row : {Row{true, 0x9090FF, 0xA7FFFF}, Row{false, 0x0000FF, 0x00FFFF}}) {
        SCOPED_TRACE(row.pastel ? "pastel" : "plain");
        PastelHighlight = row.pastel;
        showPenciled(window);
        EXPECT_EQ(cellInside(window, 1, 1), winHex(row.stuckCell));
        EXPECT_EQ(cellInside(window, 2, 2), winHex(row.stuckArea));
        EXPECT_EQ(TRVGetCellDispColor(1, 1), 0x0000FF);
        EXPECT_EQ(TRVGetCellDispColor(2, 2), 0x00FFFF);
    }
}

TEST_F(ViewTest, StuckFilterRepaintsExactlyTheShadedCells)
{
    // A 3-letter section that cannot be filled beside a corner cell that belongs to no slot.
    QDir(programFile("ZEDAVIV")).mkpath(".");
    writeFile(programFile("ZEDAVIV/E.P03"), QByteArray());
    TMainFm *window = viewWindow();
    useGrid(4, 4);
    for (int i = 1; i <= 4; ++i) {
        TRVSetCellOnly(4, i, TRV_BLOCK);
        TRVSetCellOnly(i, 4, TRV_BLOCK);
    }
    TRVRenumberGrid();
    showPenciled(window);
    // The build's own repaints are held back, as while the grid updates.
    GridUpdating = true;
    ASSERT_EQ(TRVConstructCmd(0), TRV_TOTALLY_EXHAUSTED);
    GridUpdating = false;
    int shaded = 0;
    for (int r = 1; r <= 4; ++r)
        for (int c = 1; c <= 4; ++c)
            shaded += (TRVShadeCell(c, r) & (TRV_SHADE_STUCK_CELL | TRV_SHADE_STUCK_AREA)) != 0;
    ASSERT_GT(shaded, 0);
    ASSERT_LT(shaded, 16);
    const long long before = window->CellPaints;
    window->RedrawCells(6);
    window->FlushCellPaints();
    EXPECT_EQ(window->CellPaints - before, shaded);
    // Now that they show their colours, the filter finds nothing more to do.
    window->RedrawCells(6);
    window->FlushCellPaints();
    EXPECT_EQ(window->CellPaints - before, shaded);
}

TEST_F(ViewTest, EdgeCodeInsideTheGridShowsGreen)
{
    TMainFm *window = viewWindow();
    useGrid(5, 5);
    TRVSetCellOnly(3, 3, TRV_EDGE);
    showPenciled(window);
    EXPECT_EQ(cellCentre(window, 3, 3), winHex(0x008000));
    EXPECT_EQ(TRVGetCellDispColor(3, 3), 0x008000);
}

// ---- Engine callbacks and deferred paints ----------------------------------------------------

class ViewCallbackTest : public ViewTest
{
protected:
    TMainFm *composedGrid()
    {
        TMainFm *window = viewWindow();
        useGrid(7, 4);
        showPenciled(window);
        EXPECT_FALSE(window->ComposePending());
        return window;
    }
};

TEST_F(ViewCallbackTest, SetCellRepaintsAtTheNextFlush)
{
    TMainFm *window = composedGrid();
    ASSERT_EQ(cellCentre(window, 5, 2), winHex(PageColor));
    TRVSetCell(5, 2, TRV_BLOCK);
    EXPECT_EQ(cellCentre(window, 5, 2), winHex(PageColor)); // painted at the flush only
    const long long before = window->CellPaints;
    window->FlushCellPaints();
    EXPECT_EQ(cellCentre(window, 5, 2), winHex(clPuzzleGrid));
    EXPECT_GT(window->CellPaints, before);
}

TEST_F(ViewCallbackTest, CallbacksTakeRowThenColumn)
{
    struct Row {
        const char *name;
        void (*callback)(int row, int column);
        bool paintsColour;
    };
    const Row rows[] = {
        {"vicinity", TMainFm::EngineRedrawCellCallback, true},
        {"colour", TMainFm::EngineDrawCellColorCallback, true},
        {"letter", TMainFm::EngineDrawCellTextCallback, false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        TMainFm *window = composedGrid();
        // The engine changes a cell without a callback; the callback names it (row 3, column 6),
        // which on a 7 x 4 grid has no cell the other way round.
        TRVSetCellOnly(6, 3, TRV_BLOCK);
        const long long before = window->CellPaints;
        row.callback(3, 6);
        window->FlushCellPaints();
        EXPECT_GT(window->CellPaints, before);
        EXPECT_EQ(cellCentre(window, 6, 3), winHex(row.paintsColour ? clPuzzleGrid : PageColor));
    }
}

TEST_F(ViewCallbackTest, LetterTheEngineWritesShowsAfterTheFlush)
{
    TMainFm *window = composedGrid();
    const int blank = pixelsInCell(window, 2, 3, PageColor);
    TRVSetCellOnly(2, 3, 'w');
    TMainFm::EngineDrawCellTextCallback(3, 2);
    window->FlushCellPaints();
    EXPECT_LT(pixelsInCell(window, 2, 3, PageColor), blank);
    EXPECT_EQ(TRVGetCellDispLetter(2, 3), 'w');
}

TEST_F(ViewCallbackTest, EachMarkedCellIsPaintedOnce)
{
    TMainFm *window = composedGrid();
    const long long before = window->CellPaints;
    for (int i = 0; i < 100000; ++i)
        TMainFm::EngineDrawCellColorCallback(i / 7 % 4 + 1, i % 7 + 1);
    window->FlushCellPaints();
    EXPECT_EQ(window->CellPaints - before, 7 * 4);
    // Nothing is left for a second flush.
    window->FlushCellPaints();
    EXPECT_EQ(window->CellPaints - before, 7 * 4);
}

TEST_F(ViewCallbackTest, NoPaintsWhileTheGridUpdatesOrAComposeIsDue)
{
    TMainFm *window = composedGrid();
    TRVSetCellOnly(6, 3, TRV_BLOCK);
    const long long before = window->CellPaints;

    GridUpdating = true;
    TMainFm::EngineDrawCellColorCallback(3, 6);
    TMainFm::EngineRedrawCellCallback(3, 6);
    GridUpdating = false;
    window->FlushCellPaints();
    EXPECT_EQ(window->CellPaints, before);

    // A compose is due: it paints everything, so the marks are dropped.
    window->InvalidateView();
    TMainFm::EngineDrawCellColorCallback(3, 6);
    window->FlushCellPaints();
    EXPECT_EQ(window->CellPaints, before);
    EXPECT_EQ(cellCentre(window, 6, 3), winHex(PageColor));
}

TEST_F(ViewCallbackTest, AreaRedrawAroundTwoSilverNeighboursEnds)
{
    TMainFm *window = composedGrid();
    // Twice: the second area redraw must not take the cells as visited by the first.
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round);
        TRVSetCellDispColor(3, 2, kSilver);
        TRVSetCellDispColor(4, 2, kSilver);
        window->RedrawCellArea(3, 2);
        window->FlushCellPaints();
        // Both open cells are painted again, with their real colour.
        EXPECT_EQ(TRVGetCellDispColor(3, 2), PageColor);
        EXPECT_EQ(TRVGetCellDispColor(4, 2), PageColor);
    }
}

// ---- Untouched freeform grid --------------------------------------------------------------------

TEST_F(ViewTest, UntouchedFreeformGridShowsTheInstructions)
{
    TMainFm *window = viewWindow();
    if (!window->IsUntouchedFreeformGrid())
        window->SwitchToFreeform(true);
    ASSERT_TRUE(window->LooseRB->isChecked());
    ASSERT_EQ(Columns, 15);
    ASSERT_EQ(Rows, 15);
    ASSERT_TRUE(window->IsGridAllOpen());
    showPage1(window);

    EXPECT_FALSE(window->mGridEditing->isEnabled());
    // No grid lines: the corner of a cell is the page; the text of the instructions is there.
    const TPixelRect first = CellPixelRect(1, 1);
    const TPixelRect last = CellPixelRect(15, 15);
    EXPECT_EQ(pixelHex(window->WorkBitmap(), first.Left, first.Top), winHex(PageColor));
    int text = 0;
    for (int y = first.Top; y < last.Bottom; ++y)
        for (int x = first.Left; x < last.Right; ++x)
            text += pixelHex(window->WorkBitmap(), x, y) != winHex(PageColor);
    EXPECT_GT(text, 0);

    TRVSetCellOnly(1, 1, 'A');
    window->ViewPortPaint();
    EXPECT_TRUE(window->mGridEditing->isEnabled());
    EXPECT_NE(pixelHex(window->WorkBitmap(), first.Left, first.Top), winHex(PageColor));
}

} // namespace
