// The drawing surface in inches and the printer page as the surface unit keeps it.
#include "ascanvas.h"

#include "printersource.h"
#include "prompter.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPaintDevice>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <vector>

TProbedPage ProbedPage;

namespace {

constexpr double ScreenPixelsPerInch = 78;
constexpr double MeasurePixelsPerInch = 150;
constexpr double SimulatedPrinterPixelsPerInch = 300;

QColor toQColor(TColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

QString inches(double v)
{
    if (std::fabs(v) < 0.00005)
        v = 0; // no "-0.0000"
    return QString::asprintf("%.4f", v);
}

QString colourText(TColor c) { return QString::asprintf("%06X", unsigned(c) & 0xFFFFFFu); }

/** The image text is measured on, at 150 pixels to the inch. */
const QImage &measureImage()
{
    static const QImage image = [] {
        QImage i(1, 1, QImage::Format_RGB32);
        const int dotsPerMeter = int(std::lround(MeasurePixelsPerInch / 0.0254));
        i.setDotsPerMeterX(dotsPerMeter);
        i.setDotsPerMeterY(dotsPerMeter);
        i.fill(Qt::white);
        return i;
    }();
    return image;
}

QFont makeFont(const TCanvasFont &f, int pixelHeight)
{
    QFont font(f.Name);
    font.setPixelSize(std::max(1, pixelHeight));
    font.setBold(f.Style & fsBold);
    font.setItalic(f.Style & fsItalic);
    font.setUnderline(f.Style & fsUnderline);
    font.setStrikeOut(f.Style & fsStrikeOut);
    font.setHintingPreference(QFont::PreferNoHinting); // widths scale with the resolution
    font.setKerning(false);                            // and match the clue flow's measure
    return font;
}

} // namespace

// ---- TSimulatedPrinter ------------------------------------------------------------------------

TSimulatedPrinter::TSimulatedPrinter(double paperWidth, double paperHeight)
    : QImage(std::max(1, int(std::lround(paperWidth * SimulatedPrinterPixelsPerInch))),
             std::max(1, int(std::lround(paperHeight * SimulatedPrinterPixelsPerInch))), QImage::Format_RGB32)
{
    const int dotsPerMeter = int(std::lround(SimulatedPrinterPixelsPerInch / 0.0254));
    setDotsPerMeterX(dotsPerMeter);
    setDotsPerMeterY(dotsPerMeter);
    fill(Qt::white);
}

// ---- TAsCanvas: targets -----------------------------------------------------------------------

TAsCanvas::TAsCanvas() = default;

TAsCanvas::~TAsCanvas()
{
    // The painter ends before the image it draws on goes.
    m_ownPainter.reset();
    m_bitmap.reset();
}

void TAsCanvas::Unbind()
{
    m_ownPainter.reset();
    m_bitmap.reset();
    m_painter = nullptr;
    m_device = nullptr;
    m_kind = TTargetKind::None;
    m_deviceWidth = m_deviceHeight = 0;
}

void TAsCanvas::Bound(double ppiX, double ppiY)
{
    PixelsPerInchX = ppiX;
    PixelsPerInchY = ppiY;
    if (ppiX != 0)
        InchesPerPixelX = 1.0 / ppiX;
    if (ppiY != 0)
        InchesPerPixelY = 1.0 / ppiY;
    Font = TCanvasFont();
    Pen = TCanvasPen();
    Brush = TCanvasBrush();
    ScreenPercent = 1.0;
    ViewLeft = ViewTop = 0;
    Zoom = 0.97;
}

void TAsCanvas::SetTargetView(QPainter *painter)
{
    Unbind();
    m_kind = TTargetKind::View;
    m_painter = painter;
    const double ppi = InchesPerPixel > 0 ? 1.0 / InchesPerPixel : ScreenPixelsPerInch;
    Bound(ppi, ppi);
    if (InchesPerPixel > 0)
        InchesPerPixelX = InchesPerPixelY = InchesPerPixel;
}

void TAsCanvas::SetTargetPrinter(QPainter *painter, QPagedPaintDevice *device)
{
    Unbind();
    m_kind = TTargetKind::Printer;
    m_painter = painter;
    m_device = device;
    int dpiX = device ? device->logicalDpiX() : 0;
    int dpiY = device ? device->logicalDpiY() : 0;
    if (dpiX <= 0)
        dpiX = 300;
    if (dpiY <= 0)
        dpiY = 300;
    if (device) {
        m_deviceWidth = device->width();
        m_deviceHeight = device->height();
    }
    Bound(dpiX, dpiY);
    SetPrinterPage();
}

void TAsCanvas::SetTargetSimulatedPrinter(TSimulatedPrinter *image)
{
    Unbind();
    m_kind = TTargetKind::Printer;
    if (image && !image->isNull()) {
        m_ownPainter = std::make_unique<QPainter>(image);
        m_painter = m_ownPainter.get();
        m_deviceWidth = image->width();
        m_deviceHeight = image->height();
    }
    Bound(SimulatedPrinterPixelsPerInch, SimulatedPrinterPixelsPerInch);
    SetPrinterPage();
}

void TAsCanvas::SetPrinterPage()
{
    // Full-page mode: the origin is the paper's corner, no physical offset.
    PageOrigin = {0, 0, m_deviceWidth / PixelsPerInchX, m_deviceHeight / PixelsPerInchY};
    for (int n = 1; n <= 101; ++n)
        Placements[n] = PageOrigin;
}

void TAsCanvas::SetTargetMetafile(QPainter *painter, QPaintDevice *device)
{
    Unbind();
    m_kind = TTargetKind::Metafile;
    m_painter = painter;
    if (device) {
        m_deviceWidth = device->width();
        m_deviceHeight = device->height();
    }
    Bound(m_deviceWidth, m_deviceHeight);
}

void TAsCanvas::SetTarget(const TBitmapSignalObject &signal)
{
    Unbind();
    m_kind = TTargetKind::Bitmap;
    m_deviceWidth = std::max(0, signal.Width);
    m_deviceHeight = std::max(0, signal.Height);
    if (m_deviceWidth > 0 && m_deviceHeight > 0) {
        m_bitmap = std::make_unique<QImage>(m_deviceWidth, m_deviceHeight, QImage::Format_RGB32);
        m_bitmap->fill(Qt::white);
        m_ownPainter = std::make_unique<QPainter>(m_bitmap.get());
        m_painter = m_ownPainter.get();
    }
    Bound(m_deviceWidth, m_deviceHeight);
}

int TAsCanvas::DeviceWidth() const
{
    switch (m_kind) {
    case TTargetKind::View: return m_painter && m_painter->device() ? m_painter->device()->width() : 100;
    case TTargetKind::Printer: return m_device ? m_device->width() : m_deviceWidth;
    case TTargetKind::Metafile:
    case TTargetKind::Bitmap: return m_deviceWidth;
    default: return 100;
    }
}

int TAsCanvas::DeviceHeight() const
{
    switch (m_kind) {
    case TTargetKind::View: return m_painter && m_painter->device() ? m_painter->device()->height() : 100;
    case TTargetKind::Printer: return m_device ? m_device->height() : m_deviceHeight;
    case TTargetKind::Metafile:
    case TTargetKind::Bitmap: return m_deviceHeight;
    default: return 100;
    }
}

// ---- TAsCanvas: drawing -----------------------------------------------------------------------

void TAsCanvas::AddLog(const QString &line) const
{
    if (Log)
        Log->append(line);
}

TColor TAsCanvas::PenColour(bool blend) const
{
    if (blend && m_kind == TTargetKind::View)
        return BlendColor(Pen.Color & 0xFFFFFF, Brush.Color & 0xFFFFFF, PenPixels);
    return Pen.Color & 0xFFFFFF;
}

double TAsCanvas::SetPenWidth(double inchesWide)
{
    const double previous = PenWidth;
    PreviousPenWidth = previous;
    if (PenInHundredths)
        inchesWide = std::clamp(std::round(inchesWide * 100), 1.0, 500.0) / 100;
    PenWidth = inchesWide;
    PenPixels = inchesWide * PixelsPerInchX;
    Pen.Width = std::max(1, RoundToPixel(inchesWide * PixelsPerInchX));
    return previous;
}

void TAsCanvas::Rectangle(double left, double top, double right, double bottom)
{
    AddLog(QStringLiteral("Rectangle %1 %2 %3 %4 pen=%5 width=%6 brush=%7 clear=%8")
               .arg(inches(left), inches(top), inches(right), inches(bottom), colourText(Pen.Color),
                    inches(PenWidth), colourText(Brush.Color))
               .arg(Brush.Clear ? 1 : 0));
    if (!m_painter)
        return;
    if (m_kind == TTargetKind::Metafile) {
        // A metafile keeps shapes, not pixels: the rectangle is its four-corner polygon.
        const QPointF corners[4] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
        QStringList *log = Log;
        Log = nullptr;
        Polygon(corners, 4, false);
        Log = log;
        return;
    }
    // Windows rectangle: outline on columns L..R-1 and rows T..B-1; a wider pen is centred on
    // that outline (the extra pixel of an even width inward).
    const int l = XToDevice(std::min(left, right)), r = XToDevice(std::max(left, right)) + 1;
    const int t = YToDevice(std::min(top, bottom)), b = YToDevice(std::max(top, bottom)) + 1;
    const int w = std::max(1, Pen.Width);
    const int out = (w - 1) / 2, in = w - 1 - out;
    if (!Brush.Clear)
        m_painter->fillRect(QRect(QPoint(l, t), QPoint(r - 1, b - 1)), toQColor(Brush.Color));
    const QColor pen = toQColor(PenColour(true));
    auto band = [&](int x0, int y0, int x1, int y1) { // inclusive corners
        if (x0 <= x1 && y0 <= y1)
            m_painter->fillRect(QRect(QPoint(x0, y0), QPoint(x1, y1)), pen);
    };
    const int ox0 = l - out, ox1 = r - 1 + out, oy0 = t - out, oy1 = b - 1 + out;
    const int iy0 = std::min(t + in + 1, oy1 + 1), iy1 = std::max(b - 2 - in, iy0 - 1);
    band(ox0, oy0, ox1, std::min(t + in, oy1));     // top
    band(ox0, std::max(b - 1 - in, oy0), ox1, oy1); // bottom
    band(ox0, iy0, std::min(l + in, ox1), iy1);     // left
    band(std::max(r - 1 - in, ox0), iy0, ox1, iy1); // right
}

void TAsCanvas::FillRect(double left, double top, double right, double bottom, TColor colour)
{
    AddLog(QStringLiteral("FillRect %1 %2 %3 %4 colour=%5")
               .arg(inches(left), inches(top), inches(right), inches(bottom), colourText(colour)));
    if (!m_painter)
        return;
    const int l = XToDevice(left), r = XToDevice(right);
    const int t = YToDevice(top), b = YToDevice(bottom);
    if (r > l && b > t)
        m_painter->fillRect(QRect(l, t, r - l, b - t), toQColor(colour));
}

void TAsCanvas::Polygon(const QPointF *points, int count, bool blendPen)
{
    if (Log) {
        QString line = QStringLiteral("Polygon %1").arg(count);
        for (int i = 0; i < count; ++i)
            line += QLatin1Char(' ') + inches(points[i].x()) + QLatin1Char(' ') + inches(points[i].y());
        line += QStringLiteral(" pen=%1 width=%2 brush=%3 clear=%4 blend=%5")
                    .arg(colourText(Pen.Color), inches(PenWidth), colourText(Brush.Color))
                    .arg(Brush.Clear ? 1 : 0)
                    .arg(blendPen ? 1 : 0);
        AddLog(line);
    }
    if (!m_painter || count <= 0 || !points)
        return;
    QPolygon device;
    device.reserve(count);
    for (int i = 0; i < count; ++i)
        device << QPoint(XToDevice(points[i].x()), YToDevice(points[i].y()));
    m_painter->save();
    m_painter->setRenderHint(QPainter::Antialiasing, false);
    QPen pen(toQColor(PenColour(blendPen)));
    pen.setWidth(std::max(1, Pen.Width));
    pen.setJoinStyle(Qt::MiterJoin);
    m_painter->setPen(pen);
    m_painter->setBrush(Brush.Clear ? QBrush(Qt::NoBrush) : QBrush(toQColor(Brush.Color)));
    m_painter->drawPolygon(device, Qt::OddEvenFill);
    m_painter->restore();
}

void TAsCanvas::FillSquare(int size, int dx, int dy, double x, double y)
{
    AddLog(QStringLiteral("FillSquare %1 %2 %3 %4 %5 pen=%6")
               .arg(size)
               .arg(dx)
               .arg(dy)
               .arg(inches(x), inches(y), colourText(Pen.Color)));
    if (!m_painter || size <= 0)
        return;
    m_painter->fillRect(QRect(XToDevice(x) + dx, YToDevice(y) + dy, size, size), toQColor(Pen.Color));
}

TSpan TAsCanvas::TextOut(const QString &text, double x, double y, const TSpan &previous)
{
    AddLog(QStringLiteral("TextOut %1 %2 %3 %4 style=%5 color=%6 brush=%7 clear=%8 \"%9\"")
               .arg(inches(x), inches(y), Font.Name, QString::number(Font.Size))
               .arg(Font.Style)
               .arg(colourText(Font.Color), colourText(Brush.Color))
               .arg(Brush.Clear ? 1 : 0)
               .arg(text));
    if (!m_painter || PointsToDevice(Font.Size) <= 0)
        return m_kind == TTargetKind::View ? previous : TSpan();
    const int dx = XToDevice(x), dy = YToDevice(y);
    m_painter->save();
    m_painter->setFont(DeviceFont());
    m_painter->setPen(toQColor(Font.Color));
    TSpan span;
    if (m_kind == TTargetKind::View) {
        span = AATextOut(*m_painter, previous, dx, dy, text, Brush.Color, Brush.Clear);
    } else {
        const QFontMetricsF metrics(m_painter->font(), m_painter->device());
        const int width = int(std::ceil(metrics.horizontalAdvance(text)));
        const QRect cell(dx, dy, width, int(std::ceil(metrics.height())));
        if (!Brush.Clear && width > 0)
            m_painter->fillRect(cell, toQColor(Brush.Color));
        m_painter->drawText(QPointF(dx, dy + metrics.ascent()), text);
        span = SpanFromRect(cell);
    }
    m_painter->restore();
    return span;
}

double TAsCanvas::TextWidth(const QString &text) const
{
    const int px = RoundToPixel(Font.Size * MeasurePixelsPerInch / 72);
    if (px <= 0 || text.isEmpty())
        return 0;
    const QFontMetricsF metrics(makeFont(Font, px), &measureImage());
    return metrics.horizontalAdvance(text) / MeasurePixelsPerInch;
}

double TAsCanvas::TextHeight(const QString &text) const
{
    Q_UNUSED(text);
    const int px = RoundToPixel(Font.Size * MeasurePixelsPerInch / 72);
    if (px <= 0)
        return 0;
    const QFontMetricsF metrics(makeFont(Font, px), &measureImage());
    return metrics.height() / MeasurePixelsPerInch;
}

// ---- Placement and zoom -----------------------------------------------------------------------

void TAsCanvas::SetPagePlacement(int n, const TPageRect &rect)
{
    if (n < 1 || n > 101)
        return; // "Placing page n is out of range." stays silent
    Placements[n] = rect;
    PlacementCount = std::max(PlacementCount, n);
}

void TAsCanvas::ZoomToPlacement(int n, const TPageRect &rect)
{
    double dx = 0, dy = 0;
    if (n >= 1 && n <= 101) {
        dx = Placements[n].Left;
        dy = Placements[n].Top;
    }
    ZoomToRect(rect.Left + dx, rect.Top + dy, rect.Right + dx, rect.Bottom + dy);
}

void TAsCanvas::ZoomToRect(double left, double top, double right, double bottom)
{
    if (m_kind == TTargetKind::Printer) {
        showInformation(QStringLiteral("Printing of selected parts of a page is not yet supported."));
        return;
    }
    double w = right - left, h = bottom - top;
    if (!(w > 0))
        w = 0.1;
    if (!(h > 0))
        h = 0.1;
    const int dw = DeviceWidth(), dh = DeviceHeight();
    if (dw > 0 && dh > 0)
        InchesPerPixelX = InchesPerPixelY = std::max(w / dw, h / dh);
    else
        InchesPerPixelX = InchesPerPixelY = 30.0;
    if (Zoom < 0.01)
        Zoom = 1.0;
    InchesPerPixelX /= Zoom;
    InchesPerPixelY /= Zoom;
    PixelsPerInchX = 1.0 / InchesPerPixelX;
    PixelsPerInchY = 1.0 / InchesPerPixelY;
    ScreenPercent = ScreenPixelsPerInch > 0 ? PixelsPerInchX * 100 / ScreenPixelsPerInch : 20.0;
    CentreOn((left + right) / 2, (top + bottom) / 2);
}

void TAsCanvas::CentreOn(double x, double y)
{
    const double w = DeviceWidth() * InchesPerPixelX, h = DeviceHeight() * InchesPerPixelY;
    ViewLeft = x - w / 2;
    ViewTop = y - h / 2;
    Placements[0] = {ViewLeft + w, ViewTop + h, x, y}; // right, bottom, centre x, centre y
}

// ---- Conversion -------------------------------------------------------------------------------

int TAsCanvas::XToDevice(double x) const
{
    if (m_kind == TTargetKind::View)
        return PageXToPixel(PageOrigin.Left + x - ViewLeft);
    return RoundToPixel((PageOrigin.Left + x - ViewLeft) * PixelsPerInchX);
}

int TAsCanvas::YToDevice(double y) const
{
    if (m_kind == TTargetKind::View)
        return PageYToPixel(PageOrigin.Top + y - ViewTop);
    return RoundToPixel((PageOrigin.Top + y - ViewTop) * PixelsPerInchY);
}

int TAsCanvas::LengthToDevice(double inchesLong) const
{
    if (m_kind == TTargetKind::View)
        return PageToPixelsX(inchesLong);
    return RoundToPixel(inchesLong * PixelsPerInchX);
}

int TAsCanvas::PointsToDevice(double points) const { return RoundToPixel(points / 72 * PixelsPerInchY); }

QFont TAsCanvas::DeviceFont() const { return makeFont(Font, PointsToDevice(Font.Size)); }

// ---- Unit routines ----------------------------------------------------------------------------

void MergeBounds(TPageRect &box, const TPageRect &rect)
{
    box.Left = std::min(box.Left, rect.Left);
    box.Top = std::min(box.Top, rect.Top);
    box.Right = std::max(box.Right, rect.Right);
    box.Bottom = std::max(box.Bottom, rect.Bottom);
}

void InflateRectInches(TPageRect &rect, double d)
{
    rect.Left += d;
    rect.Top += d;
    rect.Right -= d;
    rect.Bottom -= d;
}

bool ProbePrinterPage()
{
    ProbedPage = TProbedPage();
    const TPrinterMetrics &m = CachedPrinterMetrics();
    if (m.Printer) {
        ProbedPage.PrinterSelected = true;
        ProbedPage.ResolutionX = m.DpiX;
        ProbedPage.ResolutionY = m.DpiY;
        ProbedPage.PhysicalWidth = RoundToPixel(m.PaperWidthPx);
        ProbedPage.PhysicalHeight = RoundToPixel(m.PaperHeightPx);
        ProbedPage.OffsetX = RoundToPixel(m.OffsetXPx);
        ProbedPage.OffsetY = RoundToPixel(m.OffsetYPx);
        if (m.DpiX != 0) {
            ProbedPage.PaperWidth = m.PaperWidthPx / m.DpiX;
            ProbedPage.OffsetXInches = m.OffsetXPx / m.DpiX;
            ProbedPage.PrintableWidth = (m.PaperWidthPx - 2 * m.OffsetXPx) / m.DpiX;
        } else {
            ProbedPage.OffsetXInches = 0.25;
            ProbedPage.PrintableWidth = 8;
        }
        if (m.DpiY != 0) {
            ProbedPage.PaperHeight = m.PaperHeightPx / m.DpiY;
            ProbedPage.OffsetYInches = m.OffsetYPx / m.DpiY;
            ProbedPage.PrintableHeight = (m.PaperHeightPx - 2 * m.OffsetYPx) / m.DpiY;
        } else {
            ProbedPage.PaperHeight = 11;
            ProbedPage.OffsetYInches = 0.25;
            ProbedPage.PrintableHeight = 10.25;
        }
    }
    auto inRange = [](double v) { return v >= 2 && v <= 50; };
    if (!inRange(ProbedPage.PaperWidth) || !inRange(ProbedPage.PaperHeight)) {
        ProbedPage.PaperWidth = 8.5; // both sides, not the height alone
        ProbedPage.PaperHeight = 11.0;
    }
    return m.Printer;
}
