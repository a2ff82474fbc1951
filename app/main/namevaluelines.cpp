// name=value lines with names compared without regard to case.
#include "namevaluelines.h"

#include "cp1252.h"

bool TNameValueLines::LoadFromFile(const QString &fileName)
{
    QStringList lines;
    if (!Cp1252::readTextLines(fileName, &lines))
        return false;
    m_lines = lines;
    return true;
}

void TNameValueLines::Add(const QString &name, const QString &value)
{
    m_lines.append(name + QLatin1Char('=') + value);
}

QString TNameValueLines::Value(const QString &name) const
{
    for (const QString &line : m_lines) {
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        if (line.left(eq).compare(name, Qt::CaseInsensitive) == 0)
            return line.mid(eq + 1);
    }
    return QString();
}
