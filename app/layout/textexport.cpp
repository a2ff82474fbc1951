// Plain-text export of the clues and the compact solution.
#include "textexport.h"

#include "alphabet.h"
#include "cluespg.h"
#include "layoutsettings.h"

#include <map>

namespace {

QString heading(const QString &text) { return AcrDwnCapitals ? UpperCaseText(text) : text; }

/** The clue number of an answer key as its digits without leading zeros; empty when the key
 *  has no number or the number is 0. Kept as digits so that no number is too large to sort. */
QString clueNumberDigits(const QString &key)
{
    QString digits = ExtractDigitRun(key);
    qsizetype zeros = 0;
    while (zeros < digits.size() && digits[zeros] == QLatin1Char('0'))
        ++zeros;
    return digits.mid(zeros);
}

/** Orders numbers given as digit strings without leading zeros. */
struct NumericOrder {
    bool operator()(const QString &a, const QString &b) const
    {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    }
};

int answerRows(const TClueGrid *grid) { return grid ? grid->RowCount() : 0; }

void appendClueLines(const TClueGrid *grid, bool align, const QString &separator, QStringList &lines)
{
    for (int row = 1; row < answerRows(grid); ++row) {
        QString number = ExtractDigitRun(grid->Cell(0, row));
        if (align && number.size() == 1)
            number.prepend(QStringLiteral("  "));
        lines << number + separator + grid->Cell(1, row);
    }
}

/** "Heading:  entry, entry" over the numbered rows, or the heading alone without any. */
QString directionPart(const TClueGrid *grid, const QString &headingText)
{
    QString part = heading(headingText);
    bool first = true;
    for (int row = 1; row < answerRows(grid); ++row) {
        const QString entry = LowerCaseText(grid->Cell(0, row).trimmed());
        if (clueNumberDigits(entry).isEmpty())
            continue;
        part += (first ? QStringLiteral(":  ") : QStringLiteral(", ")) + entry;
        first = false;
    }
    return part;
}

QString withHeaderAndCase(const QString &text, bool upperCase)
{
    QString result = text;
    if (!SolutionHeaderText.isEmpty())
        result = heading(SolutionHeaderText) + QStringLiteral("  ") + result;
    return upperCase ? UpperCaseText(result) : result;
}

/** The across and the down entry of one clue number (either may be missing). */
struct NumberedEntries {
    QString Entry[2];
};
using EntriesByNumber = std::map<QString, NumberedEntries, NumericOrder>;

/** Stores each numbered entry of the grid under its number, the marker inserted at the entry's
 *  first blank (after the number); direction 0 is across, 1 down. */
void collectByNumber(const TClueGrid *grid, int direction, const QString &marker, EntriesByNumber &entries)
{
    for (int row = 1; row < answerRows(grid); ++row) {
        QString entry = LowerCaseText(grid->Cell(0, row).trimmed());
        const QString number = clueNumberDigits(entry);
        if (number.isEmpty())
            continue;
        const qsizetype blank = entry.indexOf(QLatin1Char(' '));
        entry.insert(blank < 0 ? entry.size() : blank, marker);
        entries[number].Entry[direction] = entry;
    }
}

} // namespace

void BuildCluesText(bool alignSmallNumbers, const QString &separator, QStringList &lines)
{
    lines.clear();
    lines << heading(AcrossText) << QString();
    appendClueLines(CluesAcrossSG, alignSmallNumbers, separator, lines);
    lines << QString() << heading(DownText) << QString();
    appendClueLines(CluesDownSG, alignSmallNumbers, separator, lines);
}

QString BuildSolutionTextByDirection(bool upperCase)
{
    return withHeaderAndCase(directionPart(CluesAcrossSG, AcrossText) + QStringLiteral(";  ") +
                                 directionPart(CluesDownSG, DownText),
                             upperCase);
}

QString BuildSolutionTextByNumber(bool upperCase, bool hyphenate)
{
    EntriesByNumber entries;
    collectByNumber(CluesAcrossSG, 0, hyphenate ? QStringLiteral("-A") : QStringLiteral("A"), entries);
    collectByNumber(CluesDownSG, 1, hyphenate ? QStringLiteral("-D") : QStringLiteral("D"), entries);
    QStringList parts;
    for (const auto &numbered : entries)
        for (const QString &entry : numbered.second.Entry)
            if (!entry.isEmpty())
                parts << entry;
    return withHeaderAndCase(parts.join(QStringLiteral(", ")), upperCase);
}
