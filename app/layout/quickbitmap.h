// Anti-aliased text for the screen: text is drawn 2 to 4 times larger into one shared 24-bit
// bitmap, reduced in place by a box filter and copied onto the target. Spans remember how far
// an earlier text reached, so a shorter new text can erase the rest of the old one.
#pragma once

#include "pagetypes.h"

#include <QImage>
#include <QRect>
#include <QString>

#include <limits>

class QPainter;

/** Columns [Min, Max] of device pixels; empty while Min > Max. */
struct TSpan {
    int Min = std::numeric_limits<int>::max();
    int Max = std::numeric_limits<int>::min();
    bool operator==(const TSpan &) const = default;
};
TSpan SpanFromRect(const QRect &rect);
bool SpanNotEmpty(const TSpan &span);

/** A 24-bit bitmap with an in-place box-filter reduction. */
class TQuickBitmap
{
public:
    TQuickBitmap();
    QImage &Image() { return m_image; }
    /** Sets the size (pixels) and fills it with the colour. */
    void Reset(int width, int height, TColor fill);
    /** Replaces each factor x factor block (whole blocks only) by its mean, written at the
     *  block's row and column; returns the columns of output that are not pure white. Factor 1
     *  does nothing (empty span); a factor outside 1..4 throws std::invalid_argument
     *  "ReduceBitmap error". */
    TSpan ReduceBitmap(int factor);

private:
    QImage m_image;
};
/** The one shared instance. */
TQuickBitmap &SharedQuickBitmap();

/** The enlargement for a font of |pixelHeight|: <= 6 gives 4, <= 11 gives 3, >= 20 gives 1,
 *  else 2; a text longer than 70 characters raises 2 or 3 by one. */
int AAFactorForFont(int pixelHeight, const QString &text);
/** Text size in device pixels with the painter's font; factor > 1 measures f times larger and
 *  divides, rounding up. */
int AATextWidth(QPainter &canvas, int factor, const QString &text);
int AATextHeight(QPainter &canvas, int factor, const QString &text);
/** Draws text with its top-left at (x, y) in the painter's font and pen colour over background
 *  (solid) or, with clearBackground, darkening what lies below. Parts of the previous span the
 *  new text does not cover are filled with the background. Returns the new span. */
TSpan AATextOut(QPainter &canvas, const TSpan &previous, int x, int y, const QString &text, TColor background,
                bool clearBackground);
