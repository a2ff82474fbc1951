// Windows-1252 conversion, line-end helpers and the safe file write.
#include "cp1252.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace Cp1252 {

namespace {

// Characters of the bytes 0x80..0x9F; an unassigned byte keeps its own value (a C1 control).
constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int byteOf(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == u)
            return 0x80 + i;
    return -1;
}

} // namespace

QChar toChar(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return QChar(kHigh[byte - 0x80]);
    return QChar(char16_t(byte));
}

char fromChar(QChar c, bool *ok)
{
    const int b = byteOf(c);
    if (ok)
        *ok = b >= 0;
    return b >= 0 ? char(b) : '?';
}

bool canEncode(QChar c) { return byteOf(c) >= 0; }

bool canEncode(const QString &text)
{
    for (QChar c : text)
        if (byteOf(c) < 0)
            return false;
    return true;
}

QString toUnicode(const QByteArray &bytes)
{
    QString s;
    s.reserve(bytes.size());
    for (char b : bytes)
        s.append(toChar(static_cast<unsigned char>(b)));
    return s;
}

QString toUnicode(const char *bytes) { return bytes ? toUnicode(QByteArray(bytes)) : QString(); }

QByteArray fromUnicode(const QString &text, bool *lossless)
{
    QByteArray out;
    out.reserve(text.size());
    bool all = true;
    for (QChar c : text) {
        bool ok = false;
        out.append(fromChar(c, &ok));
        all = all && ok;
    }
    if (lossless)
        *lossless = all;
    return out;
}

QList<QByteArray> splitLines(const QByteArray &bytes)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (bytes[i] == '\n' || bytes[i] == '\r') {
            lines.append(bytes.mid(start, i - start));
            if (bytes[i] == '\r' && i + 1 < n && bytes[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines.append(bytes.mid(start));
    return lines;
}

QByteArray joinLinesCrLf(const QList<QByteArray> &lines)
{
    QByteArray out;
    for (const QByteArray &line : lines) {
        out.append(line);
        out.append("\r\n", 2);
    }
    return out;
}

bool writeFileSafely(const QString &fileName, const QByteArray &data, QString *error)
{
    // Qt's commit() renames the temporary file even when its final flush failed, so the data
    // is written unbuffered (write() then reports what reached the file) and every step is
    // checked before the temporary file may replace the old one.
    QSaveFile file(fileName);
    auto fail = [&](const QString &fallback) {
        if (error) {
            const bool known = file.error() != QFileDevice::NoError;
            *error = known ? file.errorString() : fallback;
        }
        file.cancelWriting();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(QStringLiteral("The file could not be created."));
    qint64 written = 0;
    while (written < data.size()) {
        // A short write leaves the rest to the next call, which then reports why it failed.
        const qint64 n = file.write(data.constData() + written, data.size() - written);
        if (n <= 0)
            break;
        written += n;
    }
    if (written != data.size())
        return fail(QStringLiteral("Not every byte could be written."));
    if (!file.flush() || file.error() != QFileDevice::NoError)
        return fail(QStringLiteral("The data could not be written to the disk."));
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool writeTextLines(const QString &fileName, const QStringList &lines, QString *error)
{
    QList<QByteArray> encoded;
    encoded.reserve(lines.size());
    for (const QString &line : lines)
        encoded.append(fromUnicode(line));
    return writeFileSafely(fileName, joinLinesCrLf(encoded), error);
}

QString writeFailureText(const QString &message, const QString &fileName, const QString &reason)
{
    const QString shown = QDir::toNativeSeparators(fileName);
    QString text = message + QStringLiteral("\n\n");
    if (!message.contains(shown) && !message.contains(fileName))
        text += shown + QStringLiteral(": ");
    return text + (reason.isEmpty() ? QStringLiteral("The file could not be written.") : reason);
}

bool readTextLines(const QString &fileName, QStringList *lines, QString *error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return false;
    }
    lines->clear();
    for (const QByteArray &line : splitLines(data))
        lines->append(toUnicode(line));
    return true;
}

} // namespace Cp1252
