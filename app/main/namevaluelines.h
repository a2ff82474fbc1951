// A list of name=value lines, as the first-run file trv.ini holds them: the name is everything
// before the first "=", compared without regard to case; a missing name reads as empty text.
#pragma once

#include <QString>
#include <QStringList>

class TNameValueLines
{
public:
    TNameValueLines() = default;
    explicit TNameValueLines(const QStringList &lines) : m_lines(lines) {}

    /** Reads a Windows-1252 text file (LF or CR LF); false when it cannot be opened. */
    bool LoadFromFile(const QString &fileName);
    void Add(const QString &name, const QString &value);
    /** The value of the first line whose name matches, else empty text. */
    QString Value(const QString &name) const;
    const QStringList &Lines() const { return m_lines; }

private:
    QStringList m_lines;
};
