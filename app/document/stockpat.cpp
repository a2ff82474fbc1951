#include "stockpat.h"

#include "alphabet.h"
#include "checkpts.h"
#include "cluespg.h"
#include "cp1252.h"
#include "globals.h"
#include "notices.h"
#include "pataux.h"
#include "trv600.h"

#include <QCoreApplication>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>

TStockPatternHooks StockPatternHooks;

namespace {

const char *const FileHeader = "TRV -- Stock Patterns";

bool IsBlank(QChar c) { return c == QLatin1Char(' '); }

// The first run of digits in text[from, to); -1 when there is none, MaxDim + 1 when it is
// larger than any allowed size (long runs are not converted, so they cannot overflow).
int DigitRun(const QString &text, qsizetype from, qsizetype to)
{
    qsizetype i = from;
    while (i < to && !text.at(i).isDigit())
        ++i;
    if (i >= to)
        return -1;
    int value = 0;
    for (; i < to && text.at(i).isDigit(); ++i) {
        value = value * 10 + text.at(i).digitValue();
        if (value > TStockPatterns::MaxDim)
            return TStockPatterns::MaxDim + 1;
    }
    return value;
}

// A header "(columns*rows) name"; false when the line holds no "(", "*", ")" in this order.
bool ParseHeader(const QString &line, int &columns, int &rows, QString &name)
{
    const qsizetype open = line.indexOf(QLatin1Char('('));
    if (open < 0)
        return false;
    const qsizetype star = line.indexOf(QLatin1Char('*'), open + 1);
    if (star < 0)
        return false;
    const qsizetype close = line.indexOf(QLatin1Char(')'), star + 1);
    if (close < 0)
        return false;
    columns = DigitRun(line, open + 1, star);
    rows = DigitRun(line, star + 1, close);
    qsizetype start = close + 1;
    while (start < line.size() && IsBlank(line.at(start)))
        ++start;
    name = line.mid(start, TStockPatterns::NameLength);
    return true;
}

QString CleanRow(const QString &line)
{
    QString row;
    row.reserve(line.size());
    for (QChar c : line)
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t'))
            row += c;
    return row;
}

// The cell of column c (0-based); a missing cell reads as removed.
QChar CellAt(const TStockPattern &p, int row, int column)
{
    const QString &line = p.RowLines.at(row);
    return column < line.size() ? line.at(column) : QLatin1Char('~');
}

bool IsOpenCell(QChar c) { return c == QLatin1Char('-') || IsAlphabetChar(c); }

// Nearest integer, ties to the even one.
long RoundHalfEven(double x)
{
    const double f = std::floor(x);
    const double diff = x - f;
    long r = static_cast<long>(f);
    if (diff > 0.5 || (diff == 0.5 && (r % 2 != 0)))
        ++r;
    return r;
}

int ShapePenalty(double k)
{
    static const struct {
        double below;
        int penalty;
    } steps[] = {{0.05, 0}, {0.1, 1},  {0.15, 2}, {0.2, 3},  {0.25, 5}, {0.3, 7},  {0.4, 9},
                 {0.5, 12}, {0.6, 15}, {0.7, 20}, {0.8, 25}, {0.9, 30}, {1.0, 40}, {1.5, 50}};
    for (const auto &s : steps)
        if (k < s.below)
            return s.penalty;
    return 70;
}

int DefaultRandom(int count) { return 1 + static_cast<int>(QRandomGenerator::global()->bounded(count)); }

} // namespace

QString FormatPatternDim(int n)
{
    if (n < 0)
        n = 0;
    return QString::number(n).rightJustified(3, QLatin1Char(' '));
}

QString StockPatPath() { return GetProgramFolder() + QStringLiteral("StockPat"); }

QStringList ThemeWordsFromWordList()
{
    QStringList words;
    if (!WordList)
        return words;
    // The last entry is the list's trailing empty one.
    for (int i = 0; i + 1 < WordList->EntryCount(); ++i)
        words << WordList->GetWord(i);
    return words;
}

bool TStockPatterns::ParseStockPatFile(const QString &fileName)
{
    QStringList lines;
    if (!Cp1252::readTextLines(fileName, &lines)) {
        m_patterns.clear();
        m_failure = QStringLiteral("the file 'StockPat' is missing or misplaced, or you donot "
                                   "have enough memory available");
        return false;
    }
    return ParseStockPatLines(lines);
}

bool TStockPatterns::ParseStockPatLines(const QStringList &lines)
{
    m_patterns.clear();
    m_failure.clear();
    if (lines.isEmpty() || lines.first() != QLatin1String(FileHeader)) {
        m_failure = QStringLiteral("the StockPat file header \"TRV -- Stock Patterns\" is corrupted.");
        return false;
    }
    qsizetype begin = -1, end = -1;
    for (qsizetype i = 1; i < lines.size() && (begin < 0 || end < 0); ++i) {
        if (begin < 0 && lines.at(i).compare(QLatin1String("BEGIN"), Qt::CaseInsensitive) == 0)
            begin = i;
        else if (end < 0 && lines.at(i).compare(QLatin1String("END."), Qt::CaseInsensitive) == 0)
            end = i;
    }
    if (begin < 0 || end < 0 || end - begin < 2) {
        m_failure = QStringLiteral("the StockPat file does not contain a \"BEGIN\" or an \"END.\" line.");
        return false;
    }
    qsizetype i = begin + 1;
    while (i < end) {
        int columns = 0, rows = 0;
        QString name;
        if (!ParseHeader(lines.at(i), columns, rows, name) || columns < 1 || columns > MaxDim || rows < 1 ||
            rows > MaxDim) {
            ++i;
            continue;
        }
        if (i + rows >= end)
            break; // its rows would run into END.
        TStockPattern p;
        p.Columns = columns;
        p.Rows = rows;
        p.Name = name;
        p.Text = FormatPatternDim(columns) + FormatPatternDim(rows) + name;
        for (int r = 1; r <= rows; ++r)
            p.RowLines << CleanRow(lines.at(i + r));
        m_patterns << p;
        i += rows + 1;
    }
    return true;
}

void TStockPatterns::PatternSize(int n, int &columns, int &rows) const
{
    columns = rows = 0;
    if (n < 1 || n > Count())
        return;
    const TStockPattern &p = Pattern(n);
    if (p.Columns > 0 && p.Rows > 0) {
        columns = p.Columns;
        rows = p.Rows;
    }
}

void TStockPatterns::SetThemeWords(const QStringList &words)
{
    m_words = words;
    m_tallyValid = false;
}

void TStockPatterns::CountThemeWordLengths()
{
    for (int k = 0; k <= 52; ++k)
        m_tally[k] = 0;
    for (const QString &w : m_words) {
        const int k = CountAlphabetChars(w);
        if (k <= MaxDim)
            ++m_tally[k];
    }
    for (int k = 1; k <= MaxDim; ++k)
        m_tally[52] += m_tally[k];
    m_tallyValid = true;
}

void TStockPatterns::AnalysePattern(int n)
{
    m_slots.fill(0);
    if (n < 1 || n > Count())
        return;
    const TStockPattern &p = Pattern(n);
    // Runs of open cells along every row (across) or column (down); slot 52 counts the runs
    // that reach the far edge, slot 53 the open cells (counted once, across).
    auto countRuns = [&](bool across) {
        const int lines = across ? p.Rows : p.Columns;
        const int length = across ? p.Columns : p.Rows;
        for (int i = 0; i < lines; ++i) {
            int run = 0;
            for (int j = 0; j < length; ++j) {
                if (IsOpenCell(across ? CellAt(p, i, j) : CellAt(p, j, i))) {
                    ++run;
                    if (across)
                        ++m_slots[53];
                } else if (run > 0) {
                    ++m_slots[run];
                    run = 0;
                }
            }
            if (run > 0) {
                ++m_slots[run];
                ++m_slots[52];
            }
        }
    };
    countRuns(true);
    countRuns(false);
}

int TStockPatterns::ThemeFitScore(int n)
{
    if (!m_tallyValid)
        CountThemeWordLengths();
    AnalysePattern(n);
    const auto &T = m_tally;
    const auto &S = m_slots;
    const int b = (T[2] >= 1 && S[2] == 0) ? 3 : 0;

    const double t = T[3] + T[4] + T[5] + T[6] + 1;
    const double s = S[3] + S[4] + S[5] + S[6] + 1;
    double k = 0;
    for (int len = 3; len <= 6; ++len) {
        double d = T[len] / t - S[len] / s;
        if (len == 3 && d < 0)
            d = 0;
        k += d * d;
    }
    const int penalty = ShapePenalty(k);
    m_tally[53] = penalty;

    long wasted = 0, unplaced = 0;
    for (int len = 7; len <= MaxDim; ++len) {
        if (T[len] == 0) {
            wasted += static_cast<long>(len) * S[len];
        } else {
            if (S[len] == 0)
                unplaced += T[len];
            if (S[len] - T[len] >= 2)
                wasted += (static_cast<long>(len) * (S[len] - T[len]) * 33) / 100;
        }
    }
    m_wastedPercent = 100.0 * wasted / (S[53] + 1);
    m_unplacedPercent = 100.0 * unplaced / (T[52] + 1);
    const long score =
        100 - b - penalty - (RoundHalfEven(m_wastedPercent) + RoundHalfEven(m_unplacedPercent));
    return score < 0 ? 0 : static_cast<int>(score);
}

QString TStockPatterns::LoadRefusal(int n) const
{
    int columns = 0, rows = 0;
    PatternSize(n, columns, rows);
    QString reason;
    if (columns == 0 || rows == 0)
        reason = QStringLiteral("It causes an error when loading.");
    if (columns > MaxDim || rows > MaxDim || !TRVCanDo(columns, rows)) {
        if (!reason.isEmpty())
            reason += QLatin1Char(' ');
        reason += QStringLiteral("It is too large.");
    }
    if (!reason.isEmpty())
        return reason;
    const TStockPattern &p = Pattern(n);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const QString &line = p.RowLines.at(r);
            const QChar ch = c < line.size() ? line.at(c) : QChar(); // missing cells never pass
            const bool ok = ch == QLatin1Char('*') || ch == QLatin1Char('-') || ch == QLatin1Char('~') ||
                            (!ch.isNull() && IsAlphabetChar(ch));
            if (!ok)
                return QStringLiteral("It has a problem (invalid character) starting at column %1 "
                                      "and row %2.")
                    .arg(c + 1)
                    .arg(r + 1);
        }
    }
    return QString();
}

bool TStockPatterns::SelectPattern(int n)
{
    if (n < 1 || n > Count()) {
        showInformation(QStringLiteral(
            "No stock pattern is selected. To select a stock pattern, click on it with the mouse. "
            "A blue rectangle will appear to show you which stock pattern is selected. If you do "
            "not want to load a stock pattern, press cancel."));
        return false;
    }
    const QString reason = LoadRefusal(n);
    if (!reason.isEmpty()) {
        showInformation(QStringLiteral("That pattern can not be loaded. ") + reason);
        return false;
    }
    // One checkpoint covers every load of a session, and only a load that happens takes it,
    // so that a refused pattern leaves no empty undo step behind.
    if (!m_patternLoaded) {
        TakeCheckPoint(TCheckPointKind::Layout, QStringLiteral("load stock pattern"));
        m_patternLoaded = true;
    }

    const TStockPattern &p = Pattern(n);
    GridUpdating = true;
    if (StockPatternHooks.BeforeLoad)
        StockPatternHooks.BeforeLoad();
    TRVResizeGrid(p.Columns, p.Rows);
    SetPuzzleDimensions(p.Columns, p.Rows, false);
    for (int r = 0; r < p.Rows; ++r) {
        for (int c = 0; c < p.Columns; ++c) {
            const QChar ch = p.RowLines.at(r).at(c);
            QChar code = ch;
            if (ch == QLatin1Char('*') || ch == QLatin1Char('-') || ch == QLatin1Char('~'))
                EncodeMarkChar(code);
            else
                code = UpperCaseChar(ch); // a letter of the pattern is a fixed letter
            SetCellLetter(c + 1, r + 1, code);
        }
    }
    TRVRenumberGrid();
    TRVInvalidateDisplay();
    CluesNeedRebuild = true;
    if (StockPatternHooks.ArrangeAfterLoad)
        StockPatternHooks.ArrangeAfterLoad();
    TRVComputeHotSpots();
    GridUpdating = false;
    if (StockPatternHooks.RefreshAfterLoad)
        StockPatternHooks.RefreshAfterLoad();
    return true;
}

int TStockPatterns::PickAmongCandidates(const QList<QPair<int, int>> &candidates, bool different,
                                        const RandomPick &random)
{
    if (candidates.isEmpty())
        return 0;
    int best = candidates.first().second;
    for (const auto &c : candidates)
        best = std::max(best, c.second);
    QList<int> kept;
    for (const auto &c : candidates)
        if (c.second >= best - 12)
            kept << c.first;
    int n = 1;
    if (different)
        n = random ? random(static_cast<int>(kept.size())) : DefaultRandom(static_cast<int>(kept.size()));
    n = std::clamp(n, 1, static_cast<int>(kept.size()));
    return kept.at(n - 1);
}

int TStockPatterns::PickBestStockPattern(int columns, int rows, bool different, const RandomPick &random)
{
    constexpr int SlotCount = 25;
    QList<QPair<int, int>> candidates;
    for (int n = 1; n <= Count(); ++n) {
        int c = 0, r = 0;
        PatternSize(n, c, r);
        if (c != columns || r != rows)
            continue;
        const int score = ThemeFitScore(n);
        if (candidates.size() < SlotCount) {
            candidates.append({n, score});
            continue;
        }
        int lowest = 0;
        for (int i = 1; i < candidates.size(); ++i)
            if (candidates.at(i).second < candidates.at(lowest).second)
                lowest = i;
        if (score > candidates.at(lowest).second)
            candidates[lowest] = {n, score};
    }
    return PickAmongCandidates(candidates, different, random);
}
