// The EMF writer: a QPaintEngine that turns painter calls into EMF records ([MS-EMF]).
//
// Geometry. The painter draws in logical units of 1/1200 inch, which are written unchanged
// into the records. The header describes the whole exported area:
//   Bounds = (0, 0) .. (device width - 1, device height - 1) reference pixels (inclusive),
//   Frame  = (0, 0) .. (round(width x 2540), round(height x 2540)) hundredths of a millimetre,
//   Device = 864 x 1116 pixels and Millimeters = 216 x 279 mm: a fixed, letter-sized reference
//            device of exactly 4.0 pixels per millimetre, whatever screen the program runs on
//            (a measured screen would make the output differ from machine to machine; a
//            fixed value makes it the same everywhere).
// The mapping records (MM_ANISOTROPIC, window extent = logical size, viewport extent = the area
// in reference pixels, both origins 0) let readers scale logical units onto the frame.
//
// Objects. Pens, brushes and fonts are created on demand, selected, and deleted once replaced;
// the lowest free handle is reused. The stock NULL_PEN and NULL_BRUSH stand for Qt::NoPen and
// Qt::NoBrush. At the end the stock BLACK_PEN, WHITE_BRUSH and DEVICE_DEFAULT_FONT are selected
// and every live object is deleted, so nothing selected is ever deleted.
//
// Coordinates go in the 16-bit records (POLYGON16, POLYLINE16, POLYPOLYGON16) when every point
// fits in the int16 range (a 27-inch area does); otherwise the 32-bit twins are written, so
// nothing is ever distorted by clamping.
#include "emfwriter.h"

#include "cp1252.h"

#include <QFontMetricsF>
#include <QLineF>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>
#include <QTextItem>
#include <QTransform>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

// Record types.
constexpr quint32 EMR_HEADER = 1;
constexpr quint32 EMR_POLYGON = 3;
constexpr quint32 EMR_POLYLINE = 4;
constexpr quint32 EMR_POLYPOLYGON = 8;
constexpr quint32 EMR_SETWINDOWEXTEX = 9;
constexpr quint32 EMR_SETWINDOWORGEX = 10;
constexpr quint32 EMR_SETVIEWPORTEXTEX = 11;
constexpr quint32 EMR_SETVIEWPORTORGEX = 12;
constexpr quint32 EMR_EOF = 14;
constexpr quint32 EMR_SETMAPMODE = 17;
constexpr quint32 EMR_SETBKMODE = 18;
constexpr quint32 EMR_SETPOLYFILLMODE = 19;
constexpr quint32 EMR_SETTEXTALIGN = 22;
constexpr quint32 EMR_SETTEXTCOLOR = 24;
constexpr quint32 EMR_SELECTOBJECT = 37;
constexpr quint32 EMR_CREATEPEN = 38;
constexpr quint32 EMR_CREATEBRUSHINDIRECT = 39;
constexpr quint32 EMR_DELETEOBJECT = 40;
constexpr quint32 EMR_RECTANGLE = 43;
constexpr quint32 EMR_EXTCREATEFONTINDIRECTW = 82;
constexpr quint32 EMR_EXTTEXTOUTW = 84;
constexpr quint32 EMR_POLYGON16 = 86;
constexpr quint32 EMR_POLYLINE16 = 87;
constexpr quint32 EMR_POLYPOLYGON16 = 91;

constexpr quint32 kStock = 0x80000000u;
constexpr quint32 WHITE_BRUSH = 0, NULL_BRUSH = 5, BLACK_PEN = 7, NULL_PEN = 8;
constexpr quint32 DEVICE_DEFAULT_FONT = 14;

constexpr quint32 MM_ANISOTROPIC = 8;
constexpr quint32 TRANSPARENT_MODE = 1;
constexpr quint32 ALTERNATE = 1, WINDING = 2;
constexpr quint32 TA_BASELINE = 24; // | TA_LEFT (0)
constexpr quint32 PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4;
constexpr quint32 BS_SOLID = 0;
constexpr quint32 GM_COMPATIBLE = 1;
constexpr quint8 DEFAULT_CHARSET = 1;

/** Little-endian record payload. */
class TRecord
{
public:
    explicit TRecord(quint32 type)
    {
        U32(type);
        U32(0);
    }
    void U32(quint32 v) { Raw(&v, sizeof v); }
    void I32(qint32 v) { Raw(&v, sizeof v); }
    void I16(qint16 v) { Raw(&v, sizeof v); }
    void U16(quint16 v) { Raw(&v, sizeof v); }
    void U8(quint8 v) { m_data.append(char(v)); }
    void F32(float v)
    {
        quint32 bits;
        std::memcpy(&bits, &v, sizeof bits);
        U32(bits);
    }
    void Rect(const QRect &r) // RECTL, inclusive corners
    {
        I32(r.left());
        I32(r.top());
        I32(r.right());
        I32(r.bottom());
    }
    void Pad()
    {
        while (m_data.size() % 4)
            m_data.append('\0');
    }
    int Size() const { return int(m_data.size()); }
    /** The finished record: padded, with its size filled in. */
    QByteArray Done()
    {
        Pad();
        const quint32 size = qToLittleEndian(quint32(m_data.size()));
        std::memcpy(m_data.data() + 4, &size, 4);
        return m_data;
    }

private:
    template <typename T> void Raw(const T *v, int n)
    {
        T le = qToLittleEndian(*v);
        m_data.append(reinterpret_cast<const char *>(&le), n);
    }
    QByteArray m_data;
};

quint32 colorRef(const QColor &c)
{
    const QColor rgb = c.toRgb();
    return quint32(rgb.red()) | (quint32(rgb.green()) << 8) | (quint32(rgb.blue()) << 16);
}

bool fitsInt16(const QPolygon &p)
{
    constexpr int lo = std::numeric_limits<qint16>::min(), hi = std::numeric_limits<qint16>::max();
    return std::all_of(p.cbegin(), p.cend(), [](const QPoint &q) {
        return q.x() >= lo && q.x() <= hi && q.y() >= lo && q.y() <= hi;
    });
}

} // namespace

class TEmfPaintEngine : public QPaintEngine
{
public:
    explicit TEmfPaintEngine(TEmfDevice *device) : QPaintEngine(AllFeatures), m_device(device) {}

    bool begin(QPaintDevice *) override;
    bool end() override;
    void updateState(const QPaintEngineState &state) override;
    Type type() const override { return QPaintEngine::User; }

    void drawRects(const QRect *rects, int rectCount) override;
    void drawRects(const QRectF *rects, int rectCount) override;
    void drawLines(const QLine *lines, int lineCount) override;
    void drawLines(const QLineF *lines, int lineCount) override;
    void drawPolygon(const QPoint *points, int pointCount, PolygonDrawMode mode) override;
    void drawPolygon(const QPointF *points, int pointCount, PolygonDrawMode mode) override;
    void drawPath(const QPainterPath &path) override;
    void drawTextItem(const QPointF &p, const QTextItem &textItem) override;
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}

private:
    struct TSelected {
        quint32 Handle = 0; // 0: a stock object (or nothing yet)
        QByteArray Key;     // what is selected; empty: nothing chosen yet
    };

    void Add(TRecord &record)
    {
        m_body += record.Done();
        ++m_records;
    }
    void AddU32(quint32 type, quint32 value)
    {
        TRecord r(type);
        r.U32(value);
        Add(r);
    }
    void AddPair(quint32 type, qint32 a, qint32 b)
    {
        TRecord r(type);
        r.I32(a);
        r.I32(b);
        Add(r);
    }
    quint32 NewHandle();
    /** Selects the object described by key: a stock object when stock, else one created by
     *  create(handle); the object it replaces is deleted when it was created here. */
    template <typename Create>
    void Select(TSelected &slot, const QByteArray &key, bool stock, quint32 stockIndex, Create create);
    void SelectPen();
    void SelectBrush();
    void SelectFont(const QFont &font, int pixelSize);
    void SetFillMode(Qt::FillRule rule);

    /** Logical point (after the painter's transform), rounded. */
    QPoint Map(const QPointF &p) const { return m_transform.map(p).toPoint(); }
    QPolygon Map(const QPointF *points, int count) const;
    /** Device-unit bounds (inclusive) of logical points, grown by half the pen. */
    QRect DeviceBounds(const QPolygon &poly, bool withPen) const;
    double ToDeviceX(double x) const { return x * m_deviceWidth / m_device->LogicalWidth(); }
    double ToDeviceY(double y) const { return y * m_deviceHeight / m_device->LogicalHeight(); }

    void AddPoly(quint32 type16, quint32 type32, const QPolygon &poly, bool withPen);
    void AddPolyPolygon(const QList<QPolygon> &polys);

    TEmfDevice *m_device;
    QByteArray m_body;
    int m_records = 0;
    int m_deviceWidth = 1, m_deviceHeight = 1;
    std::vector<bool> m_handles; // index 0 unused
    quint32 m_maxHandle = 0;
    TSelected m_pen, m_brush, m_font;
    QPen m_statePen;
    QBrush m_stateBrush;
    QFont m_stateFont;
    QTransform m_transform;
    qint64 m_textColor = -1, m_bkMode = -1, m_textAlign = -1, m_fillMode = -1;
};

// ---- Objects ----

quint32 TEmfPaintEngine::NewHandle()
{
    for (quint32 h = 1; h < m_handles.size(); ++h)
        if (!m_handles[h]) {
            m_handles[h] = true;
            return h;
        }
    if (m_handles.empty())
        m_handles.push_back(false);
    m_handles.push_back(true);
    const quint32 h = quint32(m_handles.size() - 1);
    m_maxHandle = std::max(m_maxHandle, h);
    return h;
}

template <typename Create>
void TEmfPaintEngine::Select(TSelected &slot, const QByteArray &key, bool stock, quint32 stockIndex,
                             Create create)
{
    if (!slot.Key.isEmpty() && slot.Key == key)
        return;
    quint32 handle = 0;
    if (stock) {
        AddU32(EMR_SELECTOBJECT, kStock | stockIndex);
    } else {
        handle = NewHandle();
        create(handle);
        AddU32(EMR_SELECTOBJECT, handle);
    }
    if (slot.Handle) {
        AddU32(EMR_DELETEOBJECT, slot.Handle);
        m_handles[slot.Handle] = false;
    }
    slot.Handle = handle;
    slot.Key = key;
}

void TEmfPaintEngine::SelectPen()
{
    const QPen &pen = m_statePen;
    const bool none = pen.style() == Qt::NoPen || pen.brush().style() == Qt::NoBrush;
    quint32 style = PS_SOLID;
    switch (pen.style()) {
    case Qt::DashLine: style = PS_DASH; break;
    case Qt::DotLine: style = PS_DOT; break;
    case Qt::DashDotLine: style = PS_DASHDOT; break;
    case Qt::DashDotDotLine: style = PS_DASHDOTDOT; break;
    default: break;
    }
    // Width 0 (cosmetic) is GDI's one-pixel pen too.
    const qint32 width = pen.isCosmetic() ? 0 : qint32(std::lround(pen.widthF()));
    const quint32 colour = colorRef(pen.color());
    const QByteArray key =
        none ? QByteArray("null")
             : QByteArray::number(style) + ' ' + QByteArray::number(width) + ' ' + QByteArray::number(colour);
    Select(m_pen, key, none, NULL_PEN, [&](quint32 h) {
        TRecord r(EMR_CREATEPEN);
        r.U32(h);
        r.U32(style);
        r.I32(width);
        r.I32(0);
        r.U32(colour);
        Add(r);
    });
}

void TEmfPaintEngine::SelectBrush()
{
    const bool none = m_stateBrush.style() == Qt::NoBrush;
    const quint32 colour = colorRef(m_stateBrush.color());
    const QByteArray key = none ? QByteArray("null") : QByteArray::number(colour);
    Select(m_brush, key, none, NULL_BRUSH, [&](quint32 h) {
        TRecord r(EMR_CREATEBRUSHINDIRECT);
        r.U32(h);
        r.U32(BS_SOLID);
        r.U32(colour);
        r.U32(0);
        Add(r);
    });
}

void TEmfPaintEngine::SelectFont(const QFont &font, int pixelSize)
{
    const QString face = font.family().left(31);
    const qint32 weight = font.bold() ? 700 : 400;
    const quint8 italic = font.italic() ? 1 : 0, underline = font.underline() ? 1 : 0,
                 strike = font.strikeOut() ? 1 : 0;
    const QByteArray key = face.toUtf8() + '|' + QByteArray::number(pixelSize) + '|' +
                           QByteArray::number(weight) + '|' + QByteArray::number(italic) +
                           QByteArray::number(underline) + QByteArray::number(strike);
    Select(m_font, key, false, 0, [&](quint32 h) {
        TRecord r(EMR_EXTCREATEFONTINDIRECTW);
        r.U32(h);
        // LOGFONTW (92 bytes)
        r.I32(-pixelSize); // lfHeight: the em height in logical units
        r.I32(0);          // lfWidth
        r.I32(0);          // lfEscapement
        r.I32(0);          // lfOrientation
        r.I32(weight);
        r.U8(italic);
        r.U8(underline);
        r.U8(strike);
        r.U8(DEFAULT_CHARSET);
        r.U8(0); // lfOutPrecision OUT_DEFAULT_PRECIS
        r.U8(0); // lfClipPrecision CLIP_DEFAULT_PRECIS
        r.U8(0); // lfQuality DEFAULT_QUALITY
        r.U8(0); // lfPitchAndFamily DEFAULT_PITCH | FF_DONTCARE
        for (int i = 0; i < 32; ++i)
            r.U16(i < face.size() ? face.at(i).unicode() : 0);
        Add(r);
    });
}

void TEmfPaintEngine::SetFillMode(Qt::FillRule rule)
{
    const quint32 mode = rule == Qt::WindingFill ? WINDING : ALTERNATE;
    if (m_fillMode != mode) {
        AddU32(EMR_SETPOLYFILLMODE, mode);
        m_fillMode = mode;
    }
}

// ---- Begin, end, state ----

bool TEmfPaintEngine::begin(QPaintDevice *)
{
    m_device->m_bytes.clear();
    m_body.clear();
    m_records = 0;
    m_handles.clear();
    m_maxHandle = 0;
    m_pen = m_brush = m_font = TSelected();
    m_statePen = QPen();
    m_stateBrush = QBrush();
    m_stateFont = QFont();
    m_transform = QTransform();
    m_textColor = m_bkMode = m_textAlign = m_fillMode = -1;
    m_deviceWidth =
        std::max(1, int(std::lround(m_device->WidthInches() * 25.4 * TEmfDevice::kReferencePixelsPerMM)));
    m_deviceHeight =
        std::max(1, int(std::lround(m_device->HeightInches() * 25.4 * TEmfDevice::kReferencePixelsPerMM)));

    AddU32(EMR_SETMAPMODE, MM_ANISOTROPIC);
    AddPair(EMR_SETWINDOWORGEX, 0, 0);
    AddPair(EMR_SETWINDOWEXTEX, m_device->LogicalWidth(), m_device->LogicalHeight());
    AddPair(EMR_SETVIEWPORTORGEX, 0, 0);
    AddPair(EMR_SETVIEWPORTEXTEX, m_deviceWidth, m_deviceHeight);
    return true;
}

bool TEmfPaintEngine::end()
{
    // Nothing selected is deleted: the stock objects go in first.
    if (m_pen.Handle)
        Select(m_pen, "stock", true, BLACK_PEN, [](quint32) {});
    if (m_brush.Handle)
        Select(m_brush, "stock", true, WHITE_BRUSH, [](quint32) {});
    if (m_font.Handle)
        Select(m_font, "stock", true, DEVICE_DEFAULT_FONT, [](quint32) {});

    TRecord eof(EMR_EOF);
    eof.U32(0);  // nPalEntries
    eof.U32(16); // offPalEntries
    eof.U32(20); // nSizeLast
    Add(eof);

    static const QString description =
        QStringLiteral("Tarvel 8.0") + QChar(0) + QStringLiteral("Page parts") + QChar(0) + QChar(0);
    TRecord header(EMR_HEADER);
    header.Rect(QRect(QPoint(0, 0), QPoint(m_deviceWidth - 1, m_deviceHeight - 1))); // rclBounds
    header.I32(0); // rclFrame, hundredths of a millimetre
    header.I32(0);
    header.I32(qint32(std::lround(m_device->WidthInches() * 2540)));
    header.I32(qint32(std::lround(m_device->HeightInches() * 2540)));
    header.U32(0x464D4520); // " EMF"
    header.U32(0x10000);
    const int headerSize = 108 + ((int(description.size()) * 2 + 3) & ~3);
    header.U32(quint32(headerSize + m_body.size())); // nBytes
    header.U32(quint32(m_records + 1));              // nRecords, with the header
    header.U16(quint16(std::min<quint32>(m_maxHandle + 1, 0xFFFF)));
    header.U16(0);
    header.U32(quint32(description.size())); // nDescription (characters)
    header.U32(108);                         // offDescription
    header.U32(0);                           // nPalEntries
    header.I32(TEmfDevice::kReferenceWidthMM * TEmfDevice::kReferencePixelsPerMM); // szlDevice
    header.I32(TEmfDevice::kReferenceHeightMM * TEmfDevice::kReferencePixelsPerMM);
    header.I32(TEmfDevice::kReferenceWidthMM); // szlMillimeters
    header.I32(TEmfDevice::kReferenceHeightMM);
    header.U32(0);                                    // cbPixelFormat
    header.U32(0);                                    // offPixelFormat
    header.U32(0);                                    // bOpenGL
    header.I32(TEmfDevice::kReferenceWidthMM * 1000); // szlMicrometers
    header.I32(TEmfDevice::kReferenceHeightMM * 1000);
    for (const QChar c : description)
        header.U16(c.unicode());
    QByteArray bytes = header.Done();
    Q_ASSERT(bytes.size() == headerSize);
    bytes += m_body;
    m_body.clear();
    m_device->m_bytes = bytes;
    return true;
}

void TEmfPaintEngine::updateState(const QPaintEngineState &state)
{
    const DirtyFlags flags = state.state();
    if (flags & DirtyPen)
        m_statePen = state.pen();
    if (flags & DirtyBrush)
        m_stateBrush = state.brush();
    if (flags & DirtyFont)
        m_stateFont = state.font();
    if (flags & DirtyTransform)
        m_transform = state.transform();
}

// ---- Shapes ----

QPolygon TEmfPaintEngine::Map(const QPointF *points, int count) const
{
    QPolygon poly;
    poly.reserve(count);
    for (int i = 0; i < count; ++i)
        poly << Map(points[i]);
    return poly;
}

QRect TEmfPaintEngine::DeviceBounds(const QPolygon &poly, bool withPen) const
{
    if (poly.isEmpty())
        return QRect(QPoint(0, 0), QPoint(-1, -1));
    const QRect r = poly.boundingRect();
    double grow = 0;
    if (withPen && m_statePen.style() != Qt::NoPen)
        grow = std::max(1.0, m_statePen.widthF()) / 2;
    const int l = int(std::floor(ToDeviceX(r.left() - grow)));
    const int t = int(std::floor(ToDeviceY(r.top() - grow)));
    const int rr = int(std::ceil(ToDeviceX(r.right() + grow)));
    const int b = int(std::ceil(ToDeviceY(r.bottom() + grow)));
    return QRect(QPoint(l, t), QPoint(rr, b));
}

void TEmfPaintEngine::AddPoly(quint32 type16, quint32 type32, const QPolygon &poly, bool withPen)
{
    const bool small = fitsInt16(poly);
    TRecord r(small ? type16 : type32);
    r.Rect(DeviceBounds(poly, withPen));
    r.U32(quint32(poly.size()));
    for (const QPoint &p : poly) {
        if (small) {
            r.I16(qint16(p.x()));
            r.I16(qint16(p.y()));
        } else {
            r.I32(p.x());
            r.I32(p.y());
        }
    }
    Add(r);
}

void TEmfPaintEngine::AddPolyPolygon(const QList<QPolygon> &polys)
{
    QPolygon all;
    for (const QPolygon &p : polys)
        all += p;
    const bool small = fitsInt16(all);
    TRecord r(small ? EMR_POLYPOLYGON16 : EMR_POLYPOLYGON);
    r.Rect(DeviceBounds(all, true));
    r.U32(quint32(polys.size()));
    r.U32(quint32(all.size()));
    for (const QPolygon &p : polys)
        r.U32(quint32(p.size()));
    for (const QPoint &p : all) {
        if (small) {
            r.I16(qint16(p.x()));
            r.I16(qint16(p.y()));
        } else {
            r.I32(p.x());
            r.I32(p.y());
        }
    }
    Add(r);
}

void TEmfPaintEngine::drawRects(const QRect *rects, int rectCount)
{
    for (int i = 0; i < rectCount; ++i) {
        const QRectF r(rects[i]);
        drawRects(&r, 1);
    }
}

void TEmfPaintEngine::drawRects(const QRectF *rects, int rectCount)
{
    for (int i = 0; i < rectCount; ++i) {
        const QRectF &rect = rects[i];
        if (m_transform.type() > QTransform::TxScale) { // rotated: a polygon
            const QPointF corners[4] = {rect.topLeft(), rect.topRight(), rect.bottomRight(),
                                        rect.bottomLeft()};
            drawPolygon(corners, 4, WindingMode);
            continue;
        }
        SelectPen();
        SelectBrush();
        const QRectF m = m_transform.mapRect(rect.normalized());
        // GDI leaves out the right column and bottom row of a rectangle (with a NULL pen one
        // more, with a pen its outline runs on the last ones): one more unit right and down
        // makes the fill cover exactly the rectangle and the outline run on its edges, as Qt's.
        const int l = int(std::lround(m.left())), t = int(std::lround(m.top()));
        const int r = int(std::lround(m.right())) + 1, b = int(std::lround(m.bottom())) + 1;
        TRecord rec(EMR_RECTANGLE);
        rec.I32(l);
        rec.I32(t);
        rec.I32(r);
        rec.I32(b);
        Add(rec);
    }
}

void TEmfPaintEngine::drawLines(const QLine *lines, int lineCount)
{
    for (int i = 0; i < lineCount; ++i) {
        const QLineF l(lines[i]);
        drawLines(&l, 1);
    }
}

void TEmfPaintEngine::drawLines(const QLineF *lines, int lineCount)
{
    for (int i = 0; i < lineCount; ++i) {
        const QPointF ends[2] = {lines[i].p1(), lines[i].p2()};
        drawPolygon(ends, 2, PolylineMode);
    }
}

void TEmfPaintEngine::drawPolygon(const QPoint *points, int pointCount, PolygonDrawMode mode)
{
    QPolygonF poly;
    poly.reserve(pointCount);
    for (int i = 0; i < pointCount; ++i)
        poly << QPointF(points[i]);
    drawPolygon(poly.constData(), pointCount, mode);
}

void TEmfPaintEngine::drawPolygon(const QPointF *points, int pointCount, PolygonDrawMode mode)
{
    if (pointCount <= 0 || !points)
        return;
    const QPolygon poly = Map(points, pointCount);
    SelectPen();
    if (mode == PolylineMode) {
        if (m_statePen.style() != Qt::NoPen)
            AddPoly(EMR_POLYLINE16, EMR_POLYLINE, poly, true);
        return;
    }
    SelectBrush();
    SetFillMode(mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
    AddPoly(EMR_POLYGON16, EMR_POLYGON, poly, true);
}

void TEmfPaintEngine::drawPath(const QPainterPath &path)
{
    const QList<QPolygonF> polys = path.toSubpathPolygons(m_transform);
    if (polys.isEmpty())
        return;
    const QTransform saved = m_transform;
    m_transform = QTransform(); // the polygons are mapped already
    if (m_stateBrush.style() == Qt::NoBrush) {
        for (const QPolygonF &p : polys)
            drawPolygon(p.constData(), int(p.size()), PolylineMode);
    } else if (polys.size() == 1) {
        drawPolygon(polys.first().constData(), int(polys.first().size()),
                    path.fillRule() == Qt::WindingFill ? WindingMode : OddEvenMode);
    } else {
        QList<QPolygon> mapped;
        for (const QPolygonF &p : polys)
            mapped << p.toPolygon();
        SelectPen();
        SelectBrush();
        SetFillMode(path.fillRule());
        AddPolyPolygon(mapped);
    }
    m_transform = saved;
}

// ---- Text ----

void TEmfPaintEngine::drawTextItem(const QPointF &p, const QTextItem &textItem)
{
    const QString text = textItem.text();
    if (text.isEmpty() || m_statePen.style() == Qt::NoPen)
        return;
    const QFont font = textItem.font();
    int pixelSize = font.pixelSize();
    if (pixelSize <= 0)
        pixelSize = int(std::lround(font.pointSizeF() * TEmfDevice::kLogicalDpi / 72.0));
    if (pixelSize <= 0)
        return;

    SelectFont(font, pixelSize);
    const quint32 colour = colorRef(m_statePen.color());
    if (m_textColor != colour) {
        AddU32(EMR_SETTEXTCOLOR, colour);
        m_textColor = colour;
    }
    if (m_bkMode != TRANSPARENT_MODE) {
        AddU32(EMR_SETBKMODE, TRANSPARENT_MODE);
        m_bkMode = TRANSPARENT_MODE;
    }
    if (m_textAlign != TA_BASELINE) {
        AddU32(EMR_SETTEXTALIGN, TA_BASELINE);
        m_textAlign = TA_BASELINE;
    }

    // Advances measured on the font at the logical resolution; each Dx is the step of the
    // rounded running sum, so the rounded positions never drift from the exact ones.
    QFont measured = font;
    measured.setPixelSize(pixelSize);
    const QFontMetricsF metrics(measured, m_device);
    const int n = int(text.size());
    std::vector<qint32> dx(size_t(n), 0);
    double exact = 0;
    qint64 placed = 0;
    for (int i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
            exact += metrics.horizontalAdvance(text.mid(i, 2));
        } else if (c.isLowSurrogate() && i > 0 && text.at(i - 1).isHighSurrogate()) {
            continue; // the pair's advance went on its first half
        } else {
            exact += metrics.horizontalAdvance(QString(c));
        }
        const qint64 target = std::llround(exact);
        dx[size_t(i)] = qint32(target - placed);
        placed = target;
    }

    const QPoint ref = Map(p);
    const QRect bounds(
        QPoint(int(std::floor(ToDeviceX(ref.x()))), int(std::floor(ToDeviceY(ref.y() - metrics.ascent())))),
        QPoint(int(std::ceil(ToDeviceX(ref.x() + double(placed)))),
               int(std::ceil(ToDeviceY(ref.y() + metrics.descent())))));
    constexpr quint32 kStringOffset = 76;
    const quint32 dxOffset = kStringOffset + ((quint32(n) * 2 + 3) & ~3u);
    TRecord r(EMR_EXTTEXTOUTW);
    r.Rect(bounds);                                 // rclBounds (device units)
    r.U32(GM_COMPATIBLE);                           // iGraphicsMode
    r.F32(float(2540.0 / TEmfDevice::kLogicalDpi)); // exScale: logical units to 0.01 mm
    r.F32(float(2540.0 / TEmfDevice::kLogicalDpi)); // eyScale
    r.I32(ref.x());                                 // EmrText.ptlReference
    r.I32(ref.y());
    r.U32(quint32(n));    // nChars
    r.U32(kStringOffset); // offString
    r.U32(0);             // fOptions
    r.I32(0);             // rcl: none
    r.I32(0);
    r.I32(-1);
    r.I32(-1);
    r.U32(dxOffset); // offDx
    Q_ASSERT(r.Size() == int(kStringOffset));
    for (const QChar c : text)
        r.U16(c.unicode());
    r.Pad();
    for (const qint32 d : dx)
        r.I32(d);
    Add(r);
}

// ---- The device ----

TEmfDevice::TEmfDevice(double widthInches, double heightInches)
    : m_widthInches(widthInches > 0 ? widthInches : 0.01),
      m_heightInches(heightInches > 0 ? heightInches : 0.01)
{
    m_logicalWidth = std::max(1, int(std::lround(m_widthInches * kLogicalDpi)));
    m_logicalHeight = std::max(1, int(std::lround(m_heightInches * kLogicalDpi)));
}

TEmfDevice::~TEmfDevice() = default;

QPaintEngine *TEmfDevice::paintEngine() const
{
    if (!m_engine)
        m_engine = std::make_unique<TEmfPaintEngine>(const_cast<TEmfDevice *>(this));
    return m_engine.get();
}

int TEmfDevice::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth: return m_logicalWidth;
    case PdmHeight: return m_logicalHeight;
    case PdmWidthMM: return int(std::lround(m_widthInches * 25.4));
    case PdmHeightMM: return int(std::lround(m_heightInches * 25.4));
    case PdmNumColors: return std::numeric_limits<int>::max();
    case PdmDepth: return 24;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return kLogicalDpi;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
    default: return QPaintDevice::metric(metric);
    }
}

bool TEmfDevice::SaveToFile(const QString &fileName, QString *error) const
{
    auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (m_bytes.isEmpty())
        return fail(QStringLiteral("The metafile is not finished."));
    return Cp1252::writeFileSafely(fileName, m_bytes, error);
}
