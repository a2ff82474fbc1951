// A small, independent reader of Enhanced Metafiles for the tests: it splits the bytes into
// records with its own little-endian reading (no code shared with the writer), checks the
// structure, and pulls out the texts with the font selected for each.
#pragma once

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>

namespace EmfType {
constexpr quint32 Header = 1, Polygon = 3, Polyline = 4, PolyPolygon = 8, SetWindowExtEx = 9,
                  SetViewportExtEx = 11, Eof = 14, SetMapMode = 17, SetBkMode = 18, SetTextAlign = 22,
                  SetTextColor = 24, SelectObject = 37, CreatePen = 38, CreateBrushIndirect = 39,
                  DeleteObject = 40, Rectangle = 43, ExtCreateFontIndirectW = 82, ExtTextOutW = 84,
                  Polygon16 = 86, Polyline16 = 87, PolyPolygon16 = 91, ExtCreatePen = 95;
}

struct TEmfRecordInfo {
    quint32 Type = 0;
    quint32 Size = 0;
    quint32 Offset = 0;
};

/** A RECTL as stored (both corners inclusive). */
struct TEmfRectL {
    qint32 Left = 0, Top = 0, Right = 0, Bottom = 0;
};

struct TEmfFontInfo {
    QString Face;      // "<stock>" for a stock font
    qint32 Height = 0; // lfHeight
    qint32 Weight = 0; // lfWeight
    bool Italic = false;
    bool Underline = false;
};

struct TEmfTextInfo {
    QString Text;
    QPoint Reference;     // ptlReference, logical units
    QList<qint32> Dx;     // empty when the record has none
    TEmfFontInfo Font;    // the font selected when the text was drawn
    bool HasFont = false; // false: no font was selected
};

class TEmfWalker
{
public:
    explicit TEmfWalker(const QByteArray &bytes);

    /** The records in file order (as far as they could be read). */
    const QList<TEmfRecordInfo> &Records() const { return m_records; }
    /** Every structural fault found; empty when the file is sound. */
    QStringList Problems() const;
    int Count(quint32 type) const;

    // The header (zero when there is none).
    TEmfRectL Bounds() const { return Rect(8); }
    TEmfRectL Frame() const { return Rect(24); }
    quint32 Signature() const { return U32(40); }
    quint32 Version() const { return U32(44); }
    quint32 HeaderBytes() const { return U32(48); }
    quint32 HeaderRecords() const { return U32(52); }
    quint16 HeaderHandles() const { return quint16(U32(56) & 0xFFFF); }
    QSize Device() const { return QSize(I32(72), I32(76)); }
    QSize Millimeters() const { return QSize(I32(80), I32(84)); }

    /** The texts of the EXTTEXTOUTW records in order, each with the font selected then. */
    QList<TEmfTextInfo> Texts() const;
    /** The handles of the objects created, in order (a handle appears again when reused). */
    QList<quint32> CreatedHandles() const;
    /** The two integers of the first record of that type (extents and the like). */
    QPoint FirstPair(quint32 type) const;

    quint32 U32(qint64 offset) const;
    qint32 I32(qint64 offset) const { return qint32(U32(offset)); }
    quint16 U16(qint64 offset) const;

private:
    TEmfRectL Rect(qint64 offset) const
    {
        return {I32(offset), I32(offset + 4), I32(offset + 8), I32(offset + 12)};
    }
    TEmfFontInfo ReadFont(qint64 recordOffset) const;

    QByteArray m_bytes;
    QList<TEmfRecordInfo> m_records;
    QString m_splitError; // why the record walk stopped early
};
