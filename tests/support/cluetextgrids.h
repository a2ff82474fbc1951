// Clue grids of the tests' own in place of the program's, for the text exports: an unnumbered
// row, an accented answer and clue, 1 across and down, numbers above 999. The expected files
// tests/data/layout/text-*.txt hold the texts of these grids.
#pragma once

#include "cluespg.h"
#include "cp1252.h"
#include "layoutsettings.h"

#include <QFile>
#include <QStringList>

#include <memory>
#include <utility>
#include <vector>

using TClueTextRows = std::vector<std::pair<QString, QString>>;

inline std::unique_ptr<TClueGrid> makeClueTextGrid(const TClueTextRows &rows)
{
    auto grid = std::make_unique<TClueGrid>();
    grid->SetRowCount(int(rows.size()) + 1);
    for (int i = 0; i < int(rows.size()); ++i) {
        grid->SetCell(0, i + 1, rows[size_t(i)].first);
        grid->SetCell(1, i + 1, rows[size_t(i)].second);
    }
    return grid;
}

/** While it lives, the clue grids and the headings the texts use are the tests' own. */
class TClueTextGrids
{
public:
    TClueTextGrids()
        : m_saved(CluesAcrossSG, CluesDownSG), m_savedTexts{AcrossText, DownText, SolutionHeaderText},
          m_savedCapitals(AcrDwnCapitals)
    {
        AcrossText = QStringLiteral("Across");
        DownText = QStringLiteral("Down");
        SolutionHeaderText = QStringLiteral("Solution");
        AcrDwnCapitals = true;
        Set({{QStringLiteral(" 1 CAT"), QStringLiteral("Feline pet")},
             {QStringLiteral(" 7 CAF\u00C9"), QStringLiteral("Paris caf\u00E9")},
             {QString(), QStringLiteral("Unnumbered note")},
             {QStringLiteral("12 Dog"), QStringLiteral("Canine pet")},
             {QStringLiteral("1002 ELK"), QStringLiteral("Antlered deer")}},
            {{QStringLiteral(" 1 COW"), QStringLiteral("Bovine")},
             {QStringLiteral(" 2 EMU"), QStringLiteral("Big bird")},
             {QStringLiteral("999 OWL"), QStringLiteral("Night hunter")},
             {QStringLiteral("1000 YAK"), QStringLiteral("Shaggy ox")}});
    }
    ~TClueTextGrids()
    {
        CluesAcrossSG = m_saved.first;
        CluesDownSG = m_saved.second;
        AcrossText = m_savedTexts[0];
        DownText = m_savedTexts[1];
        SolutionHeaderText = m_savedTexts[2];
        AcrDwnCapitals = m_savedCapitals;
    }
    TClueTextGrids(const TClueTextGrids &) = delete;
    TClueTextGrids &operator=(const TClueTextGrids &) = delete;

    void Set(const TClueTextRows &across, const TClueTextRows &down)
    {
        m_across = makeClueTextGrid(across);
        m_down = makeClueTextGrid(down);
        CluesAcrossSG = m_across.get();
        CluesDownSG = m_down.get();
    }

private:
    std::unique_ptr<TClueGrid> m_across, m_down;
    std::pair<TClueGrid *, TClueGrid *> m_saved;
    QStringList m_savedTexts;
    bool m_savedCapitals = true;
};

/** An expected file of tests/data/layout, as its bytes. */
inline QByteArray layoutFixture(const char *name)
{
    QFile file(QStringLiteral(TRV_TEST_DATA "/layout/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/** Lines as a text file holds them: Windows-1252, each ended by CR LF. */
inline QByteArray cp1252FileBytes(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += Cp1252::fromUnicode(line) + "\r\n";
    return bytes;
}
