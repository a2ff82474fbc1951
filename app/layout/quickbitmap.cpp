// Anti-aliased text for the screen through one shared 24-bit bitmap and a box-filter reduction.
#include "quickbitmap.h"
#include "globals.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace {

constexpr TColor White = 0xFFFFFF;
constexpr TColor NearWhite = 0xFEFEFE;

QColor toQColor(TColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

/** The painter font's height in device pixels. */
int fontPixelHeight(const QPainter &canvas)
{
    const QFont font = canvas.font();
    if (font.pixelSize() > 0)
        return font.pixelSize();
    const int dpi = canvas.device() ? canvas.device()->logicalDpiY() : 96;
    return RoundToPixel(font.pointSizeF() * (dpi > 0 ? dpi : 96) / 72.0);
}

/** The painter's font f times larger. */
QFont scaledFont(const QPainter &canvas, int factor)
{
    QFont font = canvas.font();
    if (factor <= 1)
        return font;
    if (font.pixelSize() > 0)
        font.setPixelSize(font.pixelSize() * factor);
    else
        font.setPointSizeF(font.pointSizeF() * factor);
    return font;
}

QFontMetrics metricsFor(const QPainter &canvas, const QFont &font)
{
    if (canvas.device())
        return QFontMetrics(font, canvas.device());
    return QFontMetrics(font);
}

int ceilDiv(int n, int d) { return n <= 0 ? 0 : (n + d - 1) / d; }

/** Fills the columns of the previous span that the new span does not cover, rows top..bottom
 *  (inclusive), with the background. */
void eraseRemains(QPainter &canvas, const TSpan &previous, const TSpan &now, int top, int height,
                  TColor background)
{
    if (!SpanNotEmpty(previous) || height <= 0)
        return;
    const QColor colour = toQColor(background);
    auto fill = [&](int from, int to) {
        if (from <= to)
            canvas.fillRect(QRect(from, top, to - from + 1, height), colour);
    };
    if (!SpanNotEmpty(now)) {
        fill(previous.Min, previous.Max);
        return;
    }
    fill(previous.Min, std::min(previous.Max, now.Min - 1));
    fill(std::max(previous.Min, now.Max + 1), previous.Max);
}

} // namespace

TSpan SpanFromRect(const QRect &rect)
{
    TSpan span;
    if (rect.width() > 0) {
        span.Min = rect.left();
        span.Max = rect.right(); // inclusive
    }
    return span;
}

bool SpanNotEmpty(const TSpan &span) { return span.Min <= span.Max; }

// ---- TQuickBitmap -----------------------------------------------------------------------------

TQuickBitmap::TQuickBitmap() : m_image(1, 1, QImage::Format_RGB888) { m_image.fill(Qt::white); }

void TQuickBitmap::Reset(int width, int height, TColor fill)
{
    width = std::max(1, width);
    height = std::max(1, height);
    if (m_image.width() != width || m_image.height() != height || m_image.format() != QImage::Format_RGB888)
        m_image = QImage(width, height, QImage::Format_RGB888);
    m_image.fill(toQColor(fill));
}

TSpan TQuickBitmap::ReduceBitmap(int factor)
{
    if (factor < 1 || factor > 4)
        throw std::invalid_argument("ReduceBitmap error");
    TSpan span;
    if (factor == 1)
        return span;
    if (m_image.format() != QImage::Format_RGB888)
        m_image.convertTo(QImage::Format_RGB888);
    const int blocksAcross = m_image.width() / factor;
    const int blocksDown = m_image.height() / factor;
    const int area = factor * factor;
    for (int by = 0; by < blocksDown; ++by) {
        // The output row by lies at or above the rows of its block, so writing in place never
        // overwrites a pixel still to be read.
        uchar *out = m_image.scanLine(by);
        for (int bx = 0; bx < blocksAcross; ++bx) {
            int sum[3] = {0, 0, 0};
            for (int dy = 0; dy < factor; ++dy) {
                const uchar *in = m_image.constScanLine(by * factor + dy) + bx * factor * 3;
                for (int dx = 0; dx < factor; ++dx) {
                    sum[0] += in[0];
                    sum[1] += in[1];
                    sum[2] += in[2];
                    in += 3;
                }
            }
            uchar *px = out + bx * 3;
            px[0] = uchar(sum[0] / area);
            px[1] = uchar(sum[1] / area);
            px[2] = uchar(sum[2] / area);
            if (px[0] + px[1] + px[2] < 765) {
                span.Min = std::min(span.Min, bx);
                span.Max = std::max(span.Max, bx);
            }
        }
    }
    return span;
}

TQuickBitmap &SharedQuickBitmap()
{
    static TQuickBitmap bitmap;
    return bitmap;
}

// ---- Anti-aliased text ------------------------------------------------------------------------

int AAFactorForFont(int pixelHeight, const QString &text)
{
    const int h = std::abs(pixelHeight);
    int factor = h <= 6 ? 4 : h <= 11 ? 3 : h >= 20 ? 1 : 2;
    if (text.size() > 70 && (factor == 2 || factor == 3))
        ++factor;
    return factor;
}

int AATextWidth(QPainter &canvas, int factor, const QString &text)
{
    if (factor <= 1)
        return metricsFor(canvas, canvas.font()).horizontalAdvance(text);
    return ceilDiv(metricsFor(canvas, scaledFont(canvas, factor)).horizontalAdvance(text), factor);
}

int AATextHeight(QPainter &canvas, int factor, const QString &text)
{
    Q_UNUSED(text);
    if (factor <= 1)
        return metricsFor(canvas, canvas.font()).height();
    return ceilDiv(metricsFor(canvas, scaledFont(canvas, factor)).height(), factor);
}

TSpan AATextOut(QPainter &canvas, const TSpan &previous, int x, int y, const QString &text, TColor background,
                bool clearBackground)
{
    background &= 0xFFFFFF;
    const int factor = AAFactorForFont(fontPixelHeight(canvas), text);
    const int width = AATextWidth(canvas, factor, text);
    const int height = AATextHeight(canvas, factor, text);
    const QColor ink = canvas.pen().color();
    TSpan span;

    canvas.save();
    if (width > 0 && height > 0) {
        if (factor == 1) {
            const QRect cell(x, y, width, height);
            if (!clearBackground)
                canvas.fillRect(cell, toQColor(background));
            canvas.setPen(ink);
            canvas.drawText(QPoint(x, y + metricsFor(canvas, canvas.font()).ascent()), text);
            span = SpanFromRect(cell);
        } else {
            // Drawn f times larger into the shared bitmap: the background (white under a clear
            // brush, so that the darkening copy leaves what lies below), the text cell in the
            // background or, on white, in $FEFEFE so that the whole cell counts as written.
            TQuickBitmap &quick = SharedQuickBitmap();
            const TColor fill = clearBackground ? White : background;
            quick.Reset(factor * (width + 1), factor * (height + 1), fill);
            {
                QPainter big(&quick.Image());
                const QFont font = scaledFont(canvas, factor);
                if (!clearBackground && background == White)
                    big.fillRect(QRect(0, 0, factor * width, factor * height), toQColor(NearWhite));
                big.setFont(font);
                big.setPen(ink);
                big.drawText(QPoint(0, QFontMetrics(font, &quick.Image()).ascent()), text);
            }
            const TSpan written = quick.ReduceBitmap(factor);
            if (SpanNotEmpty(written)) {
                const QRect source(written.Min, 0, written.Max - written.Min + 1, height);
                if (clearBackground)
                    canvas.setCompositionMode(QPainter::CompositionMode_Multiply);
                canvas.drawImage(QPoint(x + written.Min, y), quick.Image(), source);
                canvas.setCompositionMode(QPainter::CompositionMode_SourceOver);
                span.Min = x + written.Min;
                span.Max = x + written.Max;
            }
        }
    }
    if (!clearBackground)
        eraseRemains(canvas, previous, span, y, std::max(height, 1), background);
    canvas.restore();
    return span;
}
