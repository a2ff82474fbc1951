// Readable test failure output for Qt strings and characters.
#pragma once

#include <QChar>
#include <QString>

#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(QChar c, std::ostream *os)
{
    *os << "U+" << std::hex << int(c.unicode()) << std::dec << " '" << QString(c).toStdString() << "'";
}
