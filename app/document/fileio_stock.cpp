// Stock clues: unclued answers get candidates from the clue file of their length, read in
// one merge pass per length, and a clue picked from them unless the answer has one already.
#include "fileio.h"

#include "alphabet.h"
#include "cluespg.h"
#include "cp1252.h"
#include "globals.h"
#include "notices.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <set>

std::function<int(int n)> StockClueRandom = [](int n) {
    return n > 0 ? int(QRandomGenerator::global()->bounded(n)) : 0;
};

namespace {

std::set<int> g_reportedMissingFiles;

QString clueFolder() { return GetProgramFolder() + QStringLiteral("ZEDAVIV/"); }

QString twoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

// The key of a clue-file line or an item: its first run of alphabet letters in lower case,
// as Windows-1252 bytes, so that keys compare byte by byte like the file's own order.
QByteArray stockKey(const QString &text)
{
    return Cp1252::fromUnicode(LowerCaseText(ExtractLetterRun(text)));
}

void showUnclued()
{
    if (DocHooks.ShowUncluedCount)
        DocHooks.ShowUncluedCount(UncluedCount);
}

void reportMissingFile(int length)
{
    if (!g_reportedMissingFiles.insert(length).second)
        return;
    showError(QStringLiteral("The Clues file, ZEDAVIV/Clues.%1 is missing or corrupted. This means you must "
                             "assign your own clues for words with %2 letters.")
                  .arg(twoDigits(length))
                  .arg(length));
}

} // namespace

void ResetStockClueReports() { g_reportedMissingFiles.clear(); }

void AssignStockClues(bool automatic)
{
    if (DocHooks.SetConstructCaption)
        DocHooks.SetConstructCaption(QStringLiteral("Assigning Clues"));
    ApplyThemeWordClues();
    if (automatic && (FreeformMode ? !AutoClueFreeform : !AutoClueSymmetrical))
        return;
    if (!CluesAcrossSG || !CluesDownSG)
        return;
    TClueGridsUpdate update;

    std::vector<std::vector<TStockClueItem>> lists(18);
    UncluedCount = 0;
    for (TClueGrid *grid : {CluesAcrossSG, CluesDownSG}) {
        const QChar dir = grid == CluesAcrossSG ? QLatin1Char('A') : QLatin1Char('D');
        for (int r = 1; r < grid->RowCount(); ++r) {
            const TClueRow &row = grid->Row(r);
            // The rows that close the down grid with the word bank hold no answer.
            if (row.Alternates || row.Cells[0].contains(QChar(2)) || row.Cells[0].isEmpty() ||
                row.Cells[0] == QLatin1String("WordBank"))
                continue;
            const QString answer = ExtractEntryWord(row.Cells[0]);
            if (answer.size() < 1 || answer.size() > 17)
                continue;
            QString text = answer + QLatin1Char(' ') + dir + QString::number(r);
            lists[size_t(answer.size())].push_back({text, stockKey(text)});
            if (row.Cells[1] == QLatin1String(" "))
                ++UncluedCount;
        }
    }
    showUnclued();
    for (int len = 1; len <= 17; ++len) {
        auto &items = lists[size_t(len)];
        if (items.empty())
            continue;
        std::stable_sort(items.begin(), items.end(),
                         [](const TStockClueItem &a, const TStockClueItem &b) { return a.Key < b.Key; });
        LoadStockClueFile(len, items);
    }
    if (DocControls.ShowAlternates)
        FillAlternateCluesGrid();
    if (DocHooks.FitClueColumns)
        DocHooks.FitClueColumns();
}

void LoadStockClueFile(int length, const std::vector<TStockClueItem> &items)
{
    QFile file(clueFolder() + QStringLiteral("Clues.") + twoDigits(length));
    if (!file.open(QIODevice::ReadOnly)) {
        reportMissingFile(length);
        return;
    }
    auto readLine = [&file](QString &line) {
        QByteArray bytes = file.readLine();
        while (bytes.endsWith('\n') || bytes.endsWith('\r'))
            bytes.chop(1);
        line = Cp1252::toUnicode(bytes);
    };
    // End of file once only blank space is left.
    auto moreLines = [&file]() {
        while (!file.atEnd()) {
            char c = 0;
            if (!file.peek(&c, 1))
                return false;
            if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
                return true;
            file.skip(1);
        }
        return false;
    };
    QString line;
    readLine(line);
    QByteArray lineKey = stockKey(line);
    for (const TStockClueItem &item : items) {
        while (lineKey < item.Key && moreLines()) {
            readLine(line);
            lineKey = stockKey(line);
        }
        if (lineKey == item.Key)
            PickStockClue(item.Text, line);
    }
    if (file.error() != QFileDevice::NoError)
        reportMissingFile(length);
}

void PickStockClue(const QString &item, const QString &line)
{
    TClueGrid *grid = item.contains(QLatin1String(" D"))   ? CluesDownSG
                      : item.contains(QLatin1String(" A")) ? CluesAcrossSG
                                                           : nullptr;
    if (!grid)
        return;
    bool ok = false;
    const int row = ExtractDigitRun(item).toInt(&ok);
    if (!ok)
        return;
    const int bar = line.indexOf(QLatin1Char('|'));
    if (bar < 0)
        return;
    // Refuse a row beyond the grid before anything is changed.
    if (row < 1 || row >= grid->RowCount()) {
        showInformation(QStringLiteral("ZZZ Index error"));
        return;
    }
    TClueRow &target = grid->Row(row);
    if (target.Cells[1].isEmpty())
        target.Cells[1] = QStringLiteral(" ");
    QStringList &alternates = grid->EnsureAlternates(row);
    const QStringList pieces = line.mid(bar + 1).split(QLatin1Char('|'));
    for (QString piece : pieces) {
        if (piece.isEmpty())
            continue;
        piece[0] = UpperCaseChar(piece.at(0));
        auto at = std::lower_bound(alternates.begin(), alternates.end(), piece);
        if (at == alternates.end() || *at != piece)
            alternates.insert(at, piece);
    }
    bool filled = false;
    const QString answer = ExtractEntryWord(target.Cells[0]);
    if (target.Cells[1] == QLatin1String(" ") && !answer.isEmpty() && !target.Cells[0].contains(QChar(2)) &&
        CurrentCluesSL) {
        const QString stored = CurrentCluesSL->Value(answer);
        if (!stored.isEmpty()) {
            target.Cells[1] = stored;
            filled = true;
        }
    }
    if (target.Cells[1] == QLatin1String(" ") && !alternates.isEmpty()) {
        int pick = StockClueRandom ? StockClueRandom(int(alternates.size())) : 0;
        pick = std::clamp(pick, 0, int(alternates.size()) - 1);
        target.Cells[1] = alternates.at(pick);
        StoreClueForAnswer(target.Cells[0], target.Cells[1]);
        filled = true;
    }
    if (filled && UncluedCount > 0) {
        --UncluedCount;
        showUnclued();
    }
}
