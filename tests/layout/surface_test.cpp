// The drawing surface in inches (TAsCanvas) and the anti-aliased text of TQuickBitmap.
#include "ascanvas.h"
#include "globals.h"
#include "printersource.h"
#include "prompter.h"
#include "quickbitmap.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTemporaryDir>

#include <stdexcept>

namespace {

const QString TestFont = QStringLiteral("Liberation Sans");

QRgb rgb(TColor c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

bool isDark(QRgb p) { return qRed(p) + qGreen(p) + qBlue(p) < 3 * 200; }

int darkPixelsInColumns(const QImage &image, int from, int to)
{
    int n = 0;
    for (int x = std::max(0, from); x <= std::min(to, image.width() - 1); ++x)
        for (int y = 0; y < image.height(); ++y)
            n += isDark(image.pixel(x, y));
    return n;
}

class SurfaceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InitGlobals();
        InchesPerPixel = 1.0 / 78;
        ViewPageRect = {0, 0, 8.5, 11};
    }
};

QImage whiteImage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// ---- Pen widths -------------------------------------------------------------------------------

struct PenCase {
    const char *name;
    bool view;        // the view (blended) or a bitmap
    double penInches; // at 78 pixels to the inch
    int pixels;       // expected line width
    TColor colour;    // expected line colour
};

TEST_F(SurfaceTest, PenWidthsDrawWholePixelsAndBlendOnTheView)
{
    // 0.001 inch at 78 ppi is 0.078 pixel: one pixel, 255 - round(0.078 x 255) = 235 on the view.
    const PenCase cases[] = {
        {"sub-pixel on the view", true, 0.001, 1, 0xEBEBEB},
        {"sub-pixel on a bitmap", false, 0.001, 1, 0x000000},
        {"half a pixel on the view", true, 0.5 / 78, 1, 0x7F7F7F},
        {"three pixels on the view", true, 3.0 / 78, 3, 0x000000},
        {"three pixels on a bitmap", false, 3.0 / 78, 3, 0x000000},
    };
    for (const PenCase &c : cases) {
        SCOPED_TRACE(c.name);
        QImage viewImage = whiteImage(240, 240);
        QPainter viewPainter(&viewImage);
        TAsCanvas surface;
        if (c.view)
            surface.SetTargetView(&viewPainter);
        else
            surface.SetTarget(TBitmapSignalObject{240, 240});
        // A bitmap of 240 pixels is one inch until zoomed; make it 78 pixels to the inch.
        if (!c.view) {
            surface.PixelsPerInchX = surface.PixelsPerInchY = 78;
            surface.InchesPerPixelX = surface.InchesPerPixelY = 1.0 / 78;
        }
        surface.SetPenWidth(c.penInches);
        EXPECT_EQ(surface.Pen.Width, c.pixels);
        surface.Pen.Color = 0;
        surface.Brush.Color = 0xFFFFFF;
        surface.Rectangle(1, 1, 2, 2);
        viewPainter.end();
        const QImage &image = c.view ? viewImage : *surface.Bitmap();
        ASSERT_FALSE(image.isNull());
        // The left edge lies at device column 78; a middle row shows the line's width.
        const int y = 117;
        const int out = (c.pixels - 1) / 2;
        EXPECT_EQ(image.pixel(78 - out - 1, y), qRgb(255, 255, 255));
        for (int x = 78 - out; x < 78 - out + c.pixels; ++x)
            EXPECT_EQ(image.pixel(x, y), rgb(c.colour)) << "column " << x;
        EXPECT_EQ(image.pixel(78 - out + c.pixels, y), qRgb(255, 255, 255));
        // The right edge is the converted right: column 156 (exclusive edge 157).
        EXPECT_EQ(image.pixel(156 - out, y), rgb(c.colour));
        EXPECT_EQ(image.pixel(156 - out + c.pixels, y), qRgb(255, 255, 255));
    }
}

// ---- AAFactorForFont --------------------------------------------------------------------------

TEST(AAFactorForFont, Thresholds)
{
    const QString shortText = QStringLiteral("Across");
    const QString text70(70, QLatin1Char('x'));
    const QString text71(71, QLatin1Char('x'));
    const struct {
        int height;
        QString text;
        int factor;
    } cases[] = {
        {0, shortText, 4},  {6, shortText, 4},   {7, shortText, 3},  {11, shortText, 3},
        {12, shortText, 2}, {15, shortText, 2},  {19, shortText, 2}, {20, shortText, 1},
        {40, shortText, 1}, {-15, shortText, 2}, {15, text70, 2},    {15, text71, 3},
        {11, text71, 4},    {6, text71, 4},      {20, text71, 1},    {-9, text71, 4},
    };
    for (const auto &c : cases)
        EXPECT_EQ(AAFactorForFont(c.height, c.text), c.factor)
            << "height " << c.height << ", " << c.text.size() << " characters";
}

// ---- ReduceBitmap -----------------------------------------------------------------------------

TEST(ReduceBitmap, FactorTwoWritesBlockMeansInPlace)
{
    TQuickBitmap bitmap;
    bitmap.Reset(4, 4, 0xFFFFFF);
    QImage &image = bitmap.Image();
    // Block (0, 0): red 0/100/40/60 -> 50, green 10/10/30/30 -> 20, blue 255 x 4 -> 255.
    image.setPixel(0, 0, qRgb(0, 10, 255));
    image.setPixel(1, 0, qRgb(100, 10, 255));
    image.setPixel(0, 1, qRgb(40, 30, 255));
    image.setPixel(1, 1, qRgb(60, 30, 255));
    // Block (1, 1): one black pixel among three white -> 191 (765 / 4, whole numbers).
    image.setPixel(3, 3, qRgb(0, 0, 0));
    const TSpan span = bitmap.ReduceBitmap(2);
    EXPECT_EQ(image.pixel(0, 0), qRgb(50, 20, 255));
    EXPECT_EQ(image.pixel(1, 0), qRgb(255, 255, 255)); // block (1, 0): all white
    EXPECT_EQ(image.pixel(0, 1), qRgb(255, 255, 255)); // block (0, 1): all white
    EXPECT_EQ(image.pixel(1, 1), qRgb(191, 191, 191));
    EXPECT_EQ(span, (TSpan{0, 1}));
}

TEST(ReduceBitmap, WholeBlocksOnlyAndWhiteGivesAnEmptySpan)
{
    TQuickBitmap bitmap;
    bitmap.Reset(5, 5, 0xFFFFFF);
    bitmap.Image().setPixel(4, 0, qRgb(0, 0, 0)); // the fifth column is no whole block
    const TSpan span = bitmap.ReduceBitmap(2);
    EXPECT_FALSE(SpanNotEmpty(span));
}

TEST(ReduceBitmap, FactorOneChangesNothing)
{
    TQuickBitmap bitmap;
    bitmap.Reset(4, 4, 0xFFFFFF);
    bitmap.Image().setPixel(1, 1, qRgb(0, 0, 0));
    const QImage before = bitmap.Image().copy();
    EXPECT_FALSE(SpanNotEmpty(bitmap.ReduceBitmap(1)));
    EXPECT_EQ(bitmap.Image(), before);
}

TEST(ReduceBitmap, InvalidFactorThrows)
{
    TQuickBitmap bitmap;
    bitmap.Reset(8, 8, 0xFFFFFF);
    for (int factor : {0, 5, -1}) {
        try {
            bitmap.ReduceBitmap(factor);
            ADD_FAILURE() << "factor " << factor << " did not throw";
        } catch (const std::invalid_argument &e) {
            EXPECT_STREQ(e.what(), "ReduceBitmap error");
        }
    }
}

// ---- Text measure -----------------------------------------------------------------------------

TEST_F(SurfaceTest, TextWidthIsTheSameInchesAtEveryResolution)
{
    const QString text = QStringLiteral("The quick brown fox jumps over the lazy dog");
    double first = -1;
    for (int ppi : {78, 300, 1200}) {
        SCOPED_TRACE(ppi);
        TAsCanvas surface;
        surface.SetTarget(TBitmapSignalObject{ppi, ppi}); // one inch spans the bitmap
        surface.Font.Name = TestFont;
        surface.Font.Size = 12;
        const double width = surface.TextWidth(text);
        ASSERT_GT(width, 2.0);
        if (first < 0)
            first = width;
        EXPECT_NEAR(width, first, 1e-9);
        // The device font of the target measures the same inches, within 2 %.
        const QFontMetricsF device(surface.DeviceFont());
        EXPECT_NEAR(device.horizontalAdvance(text) / ppi, width, width * 0.02);
        EXPECT_NEAR(surface.TextHeight(text), device.height() / ppi, 0.02);
    }
}

// ---- Conversions ------------------------------------------------------------------------------

TEST_F(SurfaceTest, ViewConvertsExactlyAsThePageView)
{
    InchesPerPixel = 1.0 / 93.7;
    ViewPageRect = {0.37, 1.21, 8.87, 12.21};
    QImage image = whiteImage(50, 50);
    QPainter painter(&image);
    TAsCanvas surface;
    surface.SetTargetView(&painter);
    EXPECT_EQ(surface.TargetKind(), TTargetKind::View);
    EXPECT_DOUBLE_EQ(surface.PixelsPerInchX, 93.7);
    for (double v : {0.0, 0.37, 1.0, 1.005, 2.5, 4.25, 8.4999, -0.2}) {
        EXPECT_EQ(surface.XToDevice(v), PageXToPixel(v)) << v;
        EXPECT_EQ(surface.YToDevice(v), PageYToPixel(v)) << v;
        EXPECT_EQ(surface.LengthToDevice(v), PageToPixelsX(v)) << v;
    }
    EXPECT_EQ(surface.DeviceWidth(), 50);
}

TEST_F(SurfaceTest, SimulatedPrinterIs300PixelsToTheInchFromThePaperCorner)
{
    TSimulatedPrinter sheet(8.5, 11);
    EXPECT_EQ(sheet.width(), 2550);
    EXPECT_EQ(sheet.height(), 3300);
    TAsCanvas surface;
    surface.SetTargetSimulatedPrinter(&sheet);
    EXPECT_EQ(surface.TargetKind(), TTargetKind::Printer);
    EXPECT_EQ(surface.XToDevice(1.0), 300);
    EXPECT_EQ(surface.YToDevice(2.0), 600);
    EXPECT_EQ(surface.LengthToDevice(0.5), 150);
    EXPECT_EQ(surface.PointsToDevice(12), 50);
    EXPECT_EQ(surface.DeviceWidth(), 2550);
    EXPECT_EQ(surface.PageOrigin, (TPageRect{0, 0, 8.5, 11}));
    EXPECT_EQ(surface.Placements[101], surface.PageOrigin);
    EXPECT_EQ(surface.DeviceFont().pixelSize(), 50);
}

TEST_F(SurfaceTest, PdfWriterIsDrawnAtItsResolution)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QPdfWriter writer(dir.filePath(QStringLiteral("page.pdf")));
    writer.setResolution(600);
    writer.setPageSize(QPageSize(QPageSize::Letter));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    TAsCanvas surface;
    surface.SetTargetPrinter(&painter, &writer);
    EXPECT_EQ(surface.TargetKind(), TTargetKind::Printer);
    EXPECT_DOUBLE_EQ(surface.PixelsPerInchX, 600);
    EXPECT_EQ(surface.XToDevice(1.0), 600);
    EXPECT_EQ(surface.DeviceWidth(), writer.width());
    surface.Font.Name = TestFont;
    surface.TextOut(QStringLiteral("Printed"), 1, 1);
    surface.Rectangle(1, 2, 3, 4);
    painter.end();
}

// ---- Zoom -------------------------------------------------------------------------------------

TEST_F(SurfaceTest, ZoomToRectOfZeroWidthTakesATenthOfAnInch)
{
    TAsCanvas surface;
    surface.SetTarget(TBitmapSignalObject{100, 100});
    surface.ZoomToRect(2, 3, 2, 3); // 0.1 x 0.1 inch over 100 pixels, 3 % border
    EXPECT_NEAR(surface.InchesPerPixelX, 0.001 / 0.97, 1e-12);
    EXPECT_NEAR(surface.PixelsPerInchX, 970, 1e-9);
    EXPECT_NEAR(surface.ScreenPercent, 970 * 100.0 / 78, 1e-9);
    EXPECT_NEAR(surface.ViewLeft, 2 - 50 * 0.001 / 0.97, 1e-12);
    EXPECT_EQ(surface.XToDevice(2), 50); // the centre lands in the middle
    EXPECT_EQ(surface.YToDevice(3), 50);

    surface.ZoomToRect(1, 1, 1, 3); // zero width, 2 inches high: the height decides
    EXPECT_NEAR(surface.InchesPerPixelY, 0.02 / 0.97, 1e-12);
}

TEST_F(SurfaceTest, ZoomOnThePrinterOnlyTellsTheUser)
{
    ScriptedPrompter prompter;
    TSimulatedPrinter sheet(8.5, 11);
    TAsCanvas surface;
    surface.SetTargetSimulatedPrinter(&sheet);
    surface.ZoomToRect(1, 1, 2, 2);
    ASSERT_EQ(prompter.boxes.size(), 1);
    EXPECT_EQ(prompter.lastText(), "Printing of selected parts of a page is not yet supported.");
    EXPECT_EQ(prompter.boxes.last().kind, Prompter::Information);
    EXPECT_DOUBLE_EQ(surface.PixelsPerInchX, 300);
    EXPECT_EQ(surface.ViewLeft, 0);
}

TEST_F(SurfaceTest, PlacementsOutOfRangeAreIgnored)
{
    TAsCanvas surface;
    surface.SetPagePlacement(3, {1, 2, 3, 4});
    surface.SetPagePlacement(0, {9, 9, 9, 9});
    surface.SetPagePlacement(102, {9, 9, 9, 9});
    EXPECT_EQ(surface.PlacementCount, 3);
    EXPECT_EQ(surface.Placements[3], (TPageRect{1, 2, 3, 4}));
    EXPECT_EQ(surface.Placements[0], TPageRect());
}

// ---- Anti-aliased text ------------------------------------------------------------------------

TEST_F(SurfaceTest, ShorterTextErasesTheRemainsOfTheLongerOne)
{
    for (int pixelHeight : {9, 15, 24}) { // factors 3, 2 and 1
        SCOPED_TRACE(pixelHeight);
        QImage image = whiteImage(400, 60);
        QPainter painter(&image);
        QFont font(TestFont);
        font.setPixelSize(pixelHeight);
        painter.setFont(font);
        painter.setPen(Qt::black);
        const TSpan first = AATextOut(painter, TSpan(), 10, 10, QStringLiteral("LONG TEXT"), 0xFFFFFF, false);
        ASSERT_TRUE(SpanNotEmpty(first));
        const TSpan second = AATextOut(painter, first, 10, 10, QStringLiteral("AB"), 0xFFFFFF, false);
        painter.end();
        ASSERT_TRUE(SpanNotEmpty(second));
        EXPECT_LT(second.Max, first.Max);
        EXPECT_GT(darkPixelsInColumns(image, second.Min, second.Max), 0);
        EXPECT_EQ(darkPixelsInColumns(image, second.Max + 1, image.width() - 1), 0);
        for (int x = second.Max + 1; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y)
                ASSERT_EQ(image.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
    }
}

TEST_F(SurfaceTest, ClearBrushTextDarkensWhatLiesBelow)
{
    QImage image(200, 40, QImage::Format_RGB32);
    image.fill(QColor(200, 220, 255));
    QPainter painter(&image);
    QFont font(TestFont);
    font.setPixelSize(14);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const TSpan span = AATextOut(painter, TSpan(), 5, 5, QStringLiteral("Hello"), 0xFFFFFF, true);
    painter.end();
    ASSERT_TRUE(SpanNotEmpty(span));
    int darker = 0;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y) {
            const QRgb p = image.pixel(x, y);
            EXPECT_LE(qRed(p), 200);
            EXPECT_LE(qGreen(p), 220);
            darker += qRed(p) < 200;
        }
    EXPECT_GT(darker, 0);
    EXPECT_EQ(image.pixel(190, 2), qRgb(200, 220, 255)); // outside the text: as before
}

TEST_F(SurfaceTest, ViewTextGoesThroughTheAntiAliasedPath)
{
    QImage image = whiteImage(300, 40);
    QPainter painter(&image);
    TAsCanvas surface;
    surface.SetTargetView(&painter);
    surface.Font.Name = TestFont;
    surface.Font.Size = 10; // 11 pixels at 78 ppi: factor 3
    const TSpan span = surface.TextOut(QStringLiteral("Clue text"), 0.1, 0.1);
    painter.end();
    ASSERT_TRUE(SpanNotEmpty(span));
    EXPECT_GE(span.Min, surface.XToDevice(0.1));
    EXPECT_GT(darkPixelsInColumns(image, span.Min, span.Max), 0);
    EXPECT_EQ(darkPixelsInColumns(image, span.Max + 1, image.width() - 1), 0);
}

// ---- Log ----------------------------------------------------------------------------------------

TEST_F(SurfaceTest, LogsAreTheSameWhateverTheResolution)
{
    auto draw = [](TAsCanvas &surface) {
        QStringList log;
        surface.Log = &log;
        surface.Font.Name = TestFont;
        surface.Font.Style = fsBold;
        surface.SetPenWidth(0.01);
        surface.Rectangle(1, 2, 3, 4);
        surface.FillRect(0.5, 0.5, 1, 1, 0x0000FF);
        const QPointF points[] = {{1, 1}, {2, 1}, {1.5, 2}};
        surface.Polygon(points, 3);
        surface.FillSquare(4, -2, -2, 1, 1);
        surface.TextOut(QStringLiteral("Title"), 1, 2);
        return log;
    };
    TAsCanvas screen;
    screen.SetTarget(TBitmapSignalObject{78, 78});
    TSimulatedPrinter sheet(8.5, 11);
    TAsCanvas printer;
    printer.SetTargetSimulatedPrinter(&sheet);
    const QStringList a = draw(screen), b = draw(printer);
    ASSERT_EQ(a.size(), 5);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a[0], "Rectangle 1.0000 2.0000 3.0000 4.0000 pen=000000 width=0.0100 "
                    "brush=FFFFFF clear=0");
    EXPECT_TRUE(a[4].startsWith("TextOut 1.0000 2.0000 Liberation Sans 12 style=1")) << a[4].toStdString();
}

// ---- Unit routines ------------------------------------------------------------------------------

TEST(SurfaceRoutines, MergeBoundsAndInflate)
{
    TPageRect box{1, 1, 2, 2};
    MergeBounds(box, {0.5, 1.5, 3, 1.8});
    EXPECT_EQ(box, (TPageRect{0.5, 1, 3, 2}));
    InflateRectInches(box, 0.25);
    EXPECT_EQ(box, (TPageRect{0.75, 1.25, 2.75, 1.75}));
    InflateRectInches(box, -0.25);
    EXPECT_EQ(box, (TPageRect{0.5, 1, 3, 2}));
}

TEST(SurfaceRoutines, ProbePrinterPageReadsTheCachedPrinter)
{
    struct Case {
        const char *name;
        QSizeF paperInches;
        double width, height; // expected paper
    };
    const Case cases[] = {
        {"letter", {8.5, 11}, 8.5, 11},
        {"A5 landscape-like", {8.27, 5.83}, 8.27, 5.83},
        {"too narrow: both sides reset", {1.5, 20}, 8.5, 11},
        {"too long: both sides reset", {20, 60}, 8.5, 11},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setFullPage(true);
        printer.setResolution(300);
        printer.setPageSize(QPageSize(c.paperInches, QPageSize::Inch));
        printer.setPageMargins(QMarginsF(0, 0, 0, 0));
        SetPrinterForTesting(&printer);
        const TPrinterMetrics &read = CachedPrinterMetrics();
        ASSERT_NEAR(read.PaperWidthPx / read.DpiX, c.paperInches.width(), 0.01); // as set
        ASSERT_NEAR(read.PaperHeightPx / read.DpiY, c.paperInches.height(), 0.01);
        EXPECT_TRUE(ProbePrinterPage());
        EXPECT_TRUE(ProbedPage.PrinterSelected);
        EXPECT_EQ(ProbedPage.ResolutionX, 300);
        EXPECT_NEAR(ProbedPage.PaperWidth, c.width, 0.01);
        EXPECT_NEAR(ProbedPage.PaperHeight, c.height, 0.01);
        SetPrinterForTesting(nullptr);
    }
}

TEST(SurfaceRoutines, SpanFromRect)
{
    EXPECT_EQ(SpanFromRect(QRect(3, 0, 4, 1)), (TSpan{3, 6}));
    EXPECT_FALSE(SpanNotEmpty(SpanFromRect(QRect(3, 0, 0, 1))));
    EXPECT_FALSE(SpanNotEmpty(TSpan()));
}

} // namespace
