#include "emfwalker.h"

#include <QHash>
#include <QSet>

namespace {

constexpr quint32 kStockBit = 0x80000000u;

bool createsObject(quint32 type)
{
    return type == EmfType::CreatePen || type == EmfType::CreateBrushIndirect ||
           type == EmfType::ExtCreateFontIndirectW || type == EmfType::ExtCreatePen ||
           type == 49 /* CREATEPALETTE */ || type == 93 /* CREATEMONOBRUSH */
           || type == 94 /* CREATEDIBPATTERNBRUSHPT */;
}

/** The kind of object a record creates or a stock index names: 'p'en, 'b'rush, 'f'ont. */
char kindOfType(quint32 type)
{
    switch (type) {
    case EmfType::CreatePen:
    case EmfType::ExtCreatePen: return 'p';
    case EmfType::ExtCreateFontIndirectW: return 'f';
    case 49: return 'l';
    default: return 'b';
    }
}
char kindOfStock(quint32 index)
{
    if (index <= 5)
        return 'b';
    if (index <= 8)
        return 'p';
    if (index == 15)
        return 'l';
    return 'f';
}

} // namespace

TEmfWalker::TEmfWalker(const QByteArray &bytes) : m_bytes(bytes)
{
    qint64 offset = 0;
    while (offset + 8 <= m_bytes.size()) {
        const quint32 type = U32(offset), size = U32(offset + 4);
        if (size < 8 || offset + size > m_bytes.size()) {
            m_splitError = QStringLiteral("record at %1 (type %2) has size %3, outside the file")
                               .arg(offset)
                               .arg(type)
                               .arg(size);
            return;
        }
        m_records.append({type, size, quint32(offset)});
        offset += size;
    }
    if (offset != m_bytes.size())
        m_splitError = QStringLiteral("%1 stray bytes at the end").arg(m_bytes.size() - offset);
}

quint32 TEmfWalker::U32(qint64 offset) const
{
    if (offset < 0 || offset + 4 > m_bytes.size())
        return 0;
    const auto *b = reinterpret_cast<const unsigned char *>(m_bytes.constData() + offset);
    return quint32(b[0]) | (quint32(b[1]) << 8) | (quint32(b[2]) << 16) | (quint32(b[3]) << 24);
}

quint16 TEmfWalker::U16(qint64 offset) const
{
    if (offset < 0 || offset + 2 > m_bytes.size())
        return 0;
    const auto *b = reinterpret_cast<const unsigned char *>(m_bytes.constData() + offset);
    return quint16(b[0] | (b[1] << 8));
}

int TEmfWalker::Count(quint32 type) const
{
    int n = 0;
    for (const TEmfRecordInfo &r : m_records)
        n += r.Type == type ? 1 : 0;
    return n;
}

QPoint TEmfWalker::FirstPair(quint32 type) const
{
    for (const TEmfRecordInfo &r : m_records)
        if (r.Type == type)
            return QPoint(I32(r.Offset + 8), I32(r.Offset + 12));
    return QPoint();
}

QStringList TEmfWalker::Problems() const
{
    QStringList problems;
    if (!m_splitError.isEmpty())
        problems << m_splitError;
    if (m_records.isEmpty() || m_records.first().Type != EmfType::Header) {
        problems << QStringLiteral("no EMR_HEADER first");
        return problems;
    }
    if (Signature() != 0x464D4520)
        problems << QStringLiteral("signature 0x%1").arg(Signature(), 0, 16);
    if (Version() != 0x10000)
        problems << QStringLiteral("version 0x%1").arg(Version(), 0, 16);
    if (HeaderBytes() != quint32(m_bytes.size()))
        problems << QStringLiteral("header nBytes %1, file %2").arg(HeaderBytes()).arg(m_bytes.size());
    if (HeaderRecords() != quint32(m_records.size()))
        problems
            << QStringLiteral("header nRecords %1, counted %2").arg(HeaderRecords()).arg(m_records.size());
    if (m_records.last().Type != EmfType::Eof)
        problems << QStringLiteral("last record is type %1, not EMR_EOF").arg(m_records.last().Type);
    if (Count(EmfType::Eof) != 1)
        problems << QStringLiteral("%1 EMR_EOF records").arg(Count(EmfType::Eof));

    QHash<quint32, char> alive;    // handle -> kind
    QHash<char, quint32> selected; // kind -> handle (stock: with the stock bit)
    quint32 highest = 0;
    for (const TEmfRecordInfo &r : m_records) {
        if (r.Size % 4 != 0)
            problems << QStringLiteral("record at %1 has size %2").arg(r.Offset).arg(r.Size);
        if (createsObject(r.Type)) {
            const quint32 h = U32(r.Offset + 8);
            if (h == 0 || (h & kStockBit))
                problems << QStringLiteral("object created with handle 0x%1").arg(h, 0, 16);
            else if (alive.contains(h))
                problems << QStringLiteral("handle %1 created while alive").arg(h);
            alive.insert(h, kindOfType(r.Type));
            highest = std::max(highest, h);
        } else if (r.Type == EmfType::SelectObject) {
            const quint32 h = U32(r.Offset + 8);
            if (h & kStockBit) {
                if ((h & ~kStockBit) > 19)
                    problems << QStringLiteral("unknown stock object %1").arg(h & ~kStockBit);
                selected.insert(kindOfStock(h & ~kStockBit), h);
            } else if (!alive.contains(h)) {
                problems << QStringLiteral("handle %1 selected while not alive (record at %2)")
                                .arg(h)
                                .arg(r.Offset);
            } else {
                selected.insert(alive.value(h), h);
            }
        } else if (r.Type == EmfType::DeleteObject) {
            const quint32 h = U32(r.Offset + 8);
            if (!alive.contains(h))
                problems << QStringLiteral("handle %1 deleted while not alive").arg(h);
            else if (selected.value(alive.value(h)) == h)
                problems << QStringLiteral("handle %1 deleted while selected").arg(h);
            alive.remove(h);
        }
    }
    if (HeaderHandles() != highest + 1)
        problems
            << QStringLiteral("header nHandles %1, highest handle used %2").arg(HeaderHandles()).arg(highest);
    return problems;
}

TEmfFontInfo TEmfWalker::ReadFont(qint64 recordOffset) const
{
    const qint64 lf = recordOffset + 12; // after type, size and handle
    TEmfFontInfo font;
    font.Height = I32(lf);
    font.Weight = I32(lf + 16);
    font.Italic = (U32(lf + 20) & 0xFF) != 0;
    font.Underline = ((U32(lf + 20) >> 8) & 0xFF) != 0;
    for (int i = 0; i < 32; ++i) {
        const quint16 c = U16(lf + 28 + 2 * i);
        if (c == 0)
            break;
        font.Face += QChar(c);
    }
    return font;
}

QList<TEmfTextInfo> TEmfWalker::Texts() const
{
    QList<TEmfTextInfo> texts;
    QHash<quint32, TEmfFontInfo> fonts;
    bool haveFont = false;
    TEmfFontInfo current;
    for (const TEmfRecordInfo &r : m_records) {
        if (r.Type == EmfType::ExtCreateFontIndirectW) {
            fonts.insert(U32(r.Offset + 8), ReadFont(r.Offset));
        } else if (r.Type == EmfType::SelectObject) {
            const quint32 h = U32(r.Offset + 8);
            if (fonts.contains(h)) {
                current = fonts.value(h);
                haveFont = true;
            } else if ((h & kStockBit) && kindOfStock(h & ~kStockBit) == 'f') {
                current = TEmfFontInfo();
                current.Face = QStringLiteral("<stock>");
                haveFont = true;
            }
        } else if (r.Type == EmfType::DeleteObject) {
            fonts.remove(U32(r.Offset + 8));
        } else if (r.Type == EmfType::ExtTextOutW) {
            const qint64 at = r.Offset;
            TEmfTextInfo text;
            text.Reference = QPoint(I32(at + 36), I32(at + 40));
            const quint32 n = U32(at + 44), offString = U32(at + 48), offDx = U32(at + 72);
            if (offString + qint64(n) * 2 <= r.Size)
                for (quint32 i = 0; i < n; ++i)
                    text.Text += QChar(U16(at + offString + 2 * i));
            if (offDx != 0 && offDx + qint64(n) * 4 <= r.Size)
                for (quint32 i = 0; i < n; ++i)
                    text.Dx.append(I32(at + offDx + 4 * i));
            text.Font = current;
            text.HasFont = haveFont;
            texts.append(text);
        }
    }
    return texts;
}

QList<quint32> TEmfWalker::CreatedHandles() const
{
    QList<quint32> handles;
    for (const TEmfRecordInfo &r : m_records)
        if (createsObject(r.Type))
            handles.append(U32(r.Offset + 8));
    return handles;
}
