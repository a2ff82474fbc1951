// Answers and clues: rebuilding the clue grids from the engine's grid, the answer=clue memory,
// alternate clues, adopting theme words and the word bank text.
#include "cluespg.h"

#include "alphabet.h"
#include "checkpts.h"
#include "fileio.h"
#include "globals.h"
#include "layoutsettings.h"
#include "notices.h"
#include "trv600.h"

#include <algorithm>
#include <cmath>

TDocumentControls DocControls;
TDocumentHooks DocHooks;
TWordListAccess *WordList = nullptr;
bool EraseFixedLettersNext = false;
TClueGrid *CluesAcrossSG = nullptr;
TClueGrid *CluesDownSG = nullptr;
TClueGrid *CluesAlternateSG = nullptr;
TNameValueList *CurrentCluesSL = nullptr;
int AlternateDownRow = 0;
int ClueNumberDigits = 1;
int UncluedCount = 0;

namespace {

const QChar kOpenCell(TRV_EMPTY);
const QString kNoClue = QStringLiteral(" ");

void callHook(const std::function<void()> &hook)
{
    if (hook)
        hook();
}

int keyNumber(const QString &key)
{
    bool ok = false;
    int n = ExtractDigitRun(key).toInt(&ok);
    return ok ? n : 0;
}

void reflowRow(TClueGrid *grid, int row)
{
    if (DocHooks.ClueFlowClueWasChanged)
        DocHooks.ClueFlowClueWasChanged(grid, row);
}

// One across or down pass of the rebuild: clear the rows, add a row for each slot that starts in
// the grid, then give each its clue from the answer list or the theme words.
void rebuildDirection(TClueGrid *grid, bool down)
{
    if (CluesNeedRebuild) {
        for (int r = 1; r < grid->RowCount(); ++r) {
            TClueRow &row = grid->Row(r);
            row.Cells[0].clear();
            row.Cells[1].clear();
            row.Cells[2].clear();
            row.ThemeWord = false;
            row.Alternates.reset();
        }
        grid->SetRowCount(1);
    }
    const int width = TRVGetWidth();
    const int height = TRVGetHeight();
    int i = 1;
    auto addAnswer = [&](int c, int r, const QString &run) {
        // Keys hold the answer in the Windows-1252 upper case the file's grid letters fold to,
        // so a key compares equal whether its cells were read back fixed or not.
        QString key = MakeAnswerKey(TRVGetCellNumber(c, r), UpperCaseText(run));
        if (grid->RowCount() < i + 1)
            grid->SetRowCount(i + 1);
        TClueRow &row = grid->Row(i);
        if (CluesNeedRebuild) {
            row.Cells[1] = kNoClue;
            row.Cells[2].clear();
        }
        if (row.Cells[0] != key) {
            row.Cells[0] = key;
            row.Cells[1] = kNoClue;
            row.Alternates.reset();
        }
        row.ThemeWord = false;
        ++i;
    };
    if (!down) {
        for (int r = 1; r <= height; ++r)
            for (int c = 1; c <= width; ++c) {
                if (!IsLetterOrOpen(GetCellLetter(c, r)) ||
                    (c > 1 && IsLetterOrOpen(GetCellLetter(c - 1, r))))
                    continue;
                QString run;
                for (int k = c; k <= width && IsLetterOrOpen(GetCellLetter(k, r)); ++k)
                    run += GetCellLetter(k, r);
                if (run.size() >= 2)
                    addAnswer(c, r, run);
            }
    } else {
        for (int r = 1; r <= height; ++r)
            for (int c = 1; c <= width; ++c) {
                if (!IsLetterOrOpen(GetCellLetter(c, r)) ||
                    (r > 1 && IsLetterOrOpen(GetCellLetter(c, r - 1))))
                    continue;
                QString run;
                for (int k = r; k <= height && IsLetterOrOpen(GetCellLetter(c, k)); ++k)
                    run += GetCellLetter(c, k);
                if (run.size() >= 2)
                    addAnswer(c, r, run);
            }
    }
    grid->SetRowCount(i);

    for (int r = 1; r < grid->RowCount(); ++r) {
        TClueRow &row = grid->Row(r);
        QString answer = AnswerOfKey(row.Cells[0]);
        QString word = ExtractEntryWord(row.Cells[0]);
        if (word.isEmpty() || answer.contains(kOpenCell)) {
            row.Cells[1] = kNoClue;
            row.Alternates.reset();
            continue;
        }
        QString stored = CurrentCluesSL->Value(word);
        if (!stored.isEmpty())
            row.Cells[1] = stored;
    }
}

// The highest clue number of a grid: that of its last numbered row.
int lastNumber(const TClueGrid *grid)
{
    for (int r = grid->RowCount() - 1; r >= 1; --r) {
        int n = keyNumber(grid->Cell(0, r));
        if (n > 0)
            return n;
    }
    return 0;
}

// Patches the answer at (column, row) in one direction's grid and its alternate-grid row.
void updateAnswerInGrid(TClueGrid *grid, int column, int row, bool down)
{
    int c = column, r = row, k = 1;
    if (!down) {
        while (c > 1 && IsLetterOrOpen(GetCellLetter(c - 1, r))) {
            --c;
            ++k;
        }
    } else {
        while (r > 1 && IsLetterOrOpen(GetCellLetter(c, r - 1))) {
            --r;
            ++k;
        }
    }
    const int number = TRVGetCellNumber(c, r);
    if (number <= 0)
        return;
    // Upper case, as a rebuild builds the key.
    const QChar letter = UpperCaseChar(GetCellLetter(column, row));
    // 0-based place of the letter in the key: the number takes at least two characters
    // (" 3", "12", "105", "1234"), then a blank, then the answer.
    const int pos = k + std::max(2, int(QString::number(number).size()));
    for (int i = 1; i < grid->RowCount(); ++i) {
        TClueRow &src = grid->Row(i);
        if (keyNumber(src.Cells[0]) != number)
            continue;
        if (pos < src.Cells[0].size())
            src.Cells[0][pos] = letter;
        src.Cells[1] = kNoClue;
        src.Alternates.reset();
        src.ThemeWord = false;
        reflowRow(grid, i);
        bool ok = false;
        int a = src.Cells[2].toInt(&ok);
        if (ok && a > 0 && a < CluesAlternateSG->RowCount()) {
            QString altKey = CluesAlternateSG->Cell(0, a);
            if (pos < altKey.size())
                altKey[pos] = letter;
            else
                altKey = src.Cells[0];
            CluesAlternateSG->SetCell(0, a, altKey);
            CluesAlternateSG->SetCell(1, a, QString());
            for (int b = a + 1; b < CluesAlternateSG->RowCount() && !CluesAlternateSG->Cell(1, b).isEmpty();
                 ++b) {
                CluesAlternateSG->SetCell(1, b, QString());
                CluesAlternateSG->Row(b).Height = 0;
            }
        }
        grid->NotifyAllChanged();
        return;
    }
}

void appendAlternateRows(TClueGrid *src, QChar direction)
{
    for (int n = 1; n < src->RowCount(); ++n) {
        int a = CluesAlternateSG->RowCount();
        CluesAlternateSG->SetRowCount(a + 1);
        CluesAlternateSG->SetCell(0, a, src->Cell(0, n));
        CluesAlternateSG->SetCell(1, a, src->Cell(1, n));
        CluesAlternateSG->SetCell(2, a, QString(direction) + QString::number(n));
        src->SetCell(2, n, QString::number(a));
        if (src->Row(n).Alternates)
            for (const QString &alt : *src->Row(n).Alternates) {
                int b = CluesAlternateSG->RowCount();
                CluesAlternateSG->SetRowCount(b + 1);
                CluesAlternateSG->SetCell(1, b, alt);
            }
        CluesAlternateSG->SetRowCount(CluesAlternateSG->RowCount() + 1);
    }
}

// The entry's direction from its slot label: 'A', 'D' or a blank.
QChar entryDirection(int entry) { return DirectionFromText(WordList->GetSlotLabel(entry)); }

} // namespace

// ---- TNameValueList -----------------------------------------------------------------------

QString TNameValueList::Value(const QString &name) const
{
    auto it = m_index.constFind(UpperCaseText(name));
    return it == m_index.constEnd() ? QString() : m_values.at(*it);
}

void TNameValueList::SetValue(const QString &name, const QString &value)
{
    const QString key = UpperCaseText(name);
    auto it = m_index.find(key);
    if (it != m_index.end()) {
        if (!value.isEmpty()) {
            m_values[*it] = value;
            return;
        }
        int gone = *it;
        m_names.removeAt(gone);
        m_values.removeAt(gone);
        m_index.clear();
        for (int i = 0; i < m_names.size(); ++i)
            m_index.insert(UpperCaseText(m_names.at(i)), i);
        return;
    }
    if (value.isEmpty())
        return;
    m_index.insert(key, int(m_names.size()));
    m_names.append(name);
    m_values.append(value);
}

void TNameValueList::Clear()
{
    m_names.clear();
    m_values.clear();
    m_index.clear();
}

// ---- TClueGrid ----------------------------------------------------------------------------

TClueGrid::TClueGrid(QObject *parent) : QAbstractTableModel(parent)
{
    static int lastSerial = 0;
    m_serial = ++lastSerial;
    m_rows.resize(1);
    m_rows[0].Height = 0;
}

void TClueGrid::SetRowCount(int count)
{
    count = std::max(count, 1);
    if (count == RowCount())
        return;
    ++m_changeCount;
    if (m_updating) {
        m_rows.resize(size_t(count));
        return;
    }
    beginResetModel();
    m_rows.resize(size_t(count));
    endResetModel();
}

QString TClueGrid::Cell(int column, int row) const
{
    if (!ValidRow(row) || column < 0)
        return QString();
    const TClueRow &r = m_rows[size_t(row)];
    if (column < 4)
        return r.Cells[column];
    return r.Lines.value(column - 4);
}

void TClueGrid::SetCell(int column, int row, const QString &text)
{
    if (!ValidRow(row) || column < 0 || column >= 4 + MaxClueLines)
        return;
    TClueRow &r = m_rows[size_t(row)];
    if (column < 4) {
        r.Cells[column] = text;
        ++m_changeCount;
    } else {
        int line = column - 4;
        while (r.Lines.size() <= line)
            r.Lines.append(QString());
        r.Lines[line] = text;
    }
    if (!m_updating)
        emit dataChanged(index(row, column), index(row, column));
}

QStringList &TClueGrid::EnsureAlternates(int row)
{
    TClueRow &r = m_rows.at(size_t(row));
    if (!r.Alternates)
        r.Alternates = std::make_unique<QStringList>();
    return *r.Alternates;
}

void TClueGrid::NotifyAllChanged()
{
    if (m_updating)
        return;
    beginResetModel();
    endResetModel();
}

void TClueGrid::BeginUpdate()
{
    if (m_updating++ == 0)
        beginResetModel();
}

void TClueGrid::EndUpdate()
{
    if (m_updating > 0 && --m_updating == 0)
        endResetModel();
}

TClueGridsUpdate::TClueGridsUpdate()
{
    for (TClueGrid *g : {CluesAcrossSG, CluesDownSG, CluesAlternateSG})
        if (g)
            g->BeginUpdate();
}

TClueGridsUpdate::~TClueGridsUpdate()
{
    for (TClueGrid *g : {CluesAcrossSG, CluesDownSG, CluesAlternateSG})
        if (g)
            g->EndUpdate();
}

int TClueGrid::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : RowCount(); }

int TClueGrid::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 4 + MaxClueLines;
}

Qt::ItemFlags TClueGrid::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == 1 && index.row() >= 1)
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant TClueGrid::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    return Cell(index.column(), index.row());
}

// ---- Grids and keys -----------------------------------------------------------------------

void CreateClueGrids()
{
    if (!CluesAcrossSG)
        CluesAcrossSG = new TClueGrid;
    if (!CluesDownSG)
        CluesDownSG = new TClueGrid;
    if (!CluesAlternateSG)
        CluesAlternateSG = new TClueGrid;
    if (!CurrentCluesSL)
        CurrentCluesSL = new TNameValueList;
}

void FreeClueGrids()
{
    delete CluesAcrossSG;
    delete CluesDownSG;
    delete CluesAlternateSG;
    delete CurrentCluesSL;
    CluesAcrossSG = CluesDownSG = CluesAlternateSG = nullptr;
    CurrentCluesSL = nullptr;
}

QString MakeAnswerKey(int number, const QString &answer)
{
    QString n = QString::number(number);
    if (number < 10)
        n.prepend(QLatin1Char(' '));
    return n + QLatin1Char(' ') + answer;
}

QString AnswerOfKey(const QString &key)
{
    QString t = key;
    for (int k = 0; k < 2 && t.startsWith(QLatin1Char(' ')); ++k)
        t.remove(0, 1);
    int blank = t.indexOf(QLatin1Char(' '));
    if (blank >= 0) {
        bool digits = true;
        for (int i = 0; i < blank; ++i)
            digits = digits && t.at(i).isDigit();
        if (digits)
            t.remove(0, blank + 1);
    }
    return t;
}

void StoreClueForAnswer(const QString &key, const QString &clue)
{
    if (!CurrentCluesSL || clue.trimmed().isEmpty())
        return;
    if (AnswerOfKey(key).contains(kOpenCell))
        return;
    QString word = ExtractEntryWord(key);
    if (word.isEmpty())
        return;
    CurrentCluesSL->SetValue(word, clue);
}

void RebuildClueGrids()
{
    EraseFixedLettersNext = false;
    TBusy busy;
    if (!CurrentCluesSL) {
        showError(QStringLiteral("CurrentCluesSL is nil"));
        return;
    }
    CreateClueGrids();
    // The rows are made again below: until the flow numbers them anew, nothing may draw or
    // re-wrap a clue by the old numbers (the stock clues re-wrap rows as they come).
    callHook(DocHooks.ClueFlowInvalidateAll);
    TClueGridsUpdate update;
    if (CluesNeedRebuild)
        CluesAlternateSG->SetRowCount(1);
    rebuildDirection(CluesAcrossSG, false);
    rebuildDirection(CluesDownSG, true);

    if (DocControls.WordBankCB && WordBankMode == 0 &&
        CluesDownSG->Cell(0, CluesDownSG->RowCount() - 1) != QLatin1String("WordBank")) {
        int last = CluesDownSG->RowCount() + 1;
        CluesDownSG->SetRowCount(last + 1);
        CluesDownSG->SetCell(0, last - 1, QString());
        CluesDownSG->SetCell(1, last - 1, QString());
        CluesDownSG->SetCell(0, last, QStringLiteral("WordBank"));
        CluesDownSG->SetCell(1, last, WordBankHeader + QStringLiteral("  ") + BuildWordBankText());
    }

    FillAlternateCluesGrid();
    const bool wasRebuild = CluesNeedRebuild;
    CluesNeedRebuild = false;

    TRVCorrectAllThemeWordLocations(FreeformMode ? 0 : 1);

    if (MainFormReady) {
        // Reading a file or a checkpoint gives its own clues, blank ones included.
        if (!LoadingPuzzle)
            AssignStockClues(true);
        int highest = std::max(lastNumber(CluesAcrossSG), lastNumber(CluesDownSG));
        ClueNumberDigits = highest <= 9 ? 1 : (highest < 100 ? 2 : 3);
        callHook(DocHooks.ClueFlowInvalidateAll);
        callHook(DocHooks.ClueFlowEstablishAll);
        if (wasRebuild)
            callHook(DocHooks.SetModified);
    }
    CluesAcrossSG->Row(0).Height = 0;
    CluesDownSG->Row(0).Height = 0;
    CluesAcrossSG->NotifyAllChanged();
    CluesDownSG->NotifyAllChanged();
}

void UpdateAnswersAtCell(int column, int row)
{
    if (!CluesAcrossSG || !CluesDownSG || !CluesAlternateSG)
        return;
    TClueGridsUpdate update;
    updateAnswerInGrid(CluesAcrossSG, column, row, false);
    updateAnswerInGrid(CluesDownSG, column, row, true);
}

void FillAlternateCluesGrid()
{
    TBusy busy;
    TClueGridsUpdate update;
    CluesAlternateSG->SetRowCount(1);
    CluesAlternateSG->Row(0).Height = 0;
    appendAlternateRows(CluesAcrossSG, QLatin1Char('A'));
    int r = CluesAlternateSG->RowCount();
    CluesAlternateSG->SetRowCount(r + 3);
    CluesAlternateSG->SetCell(0, r + 1, QStringLiteral("DOWN"));
    AlternateDownRow = r + 1;
    appendAlternateRows(CluesDownSG, QLatin1Char('D'));
    CluesAlternateSG->Row(0).Height = 0;
    CluesAlternateSG->NotifyAllChanged();
}

void ClearClueGrids()
{
    for (TClueGrid *g : {CluesAcrossSG, CluesDownSG}) {
        if (!g)
            continue;
        for (int r = 0; r < g->RowCount(); ++r) {
            TClueRow &row = g->Row(r);
            row.Cells[0].clear();
            row.Cells[1].clear();
            row.Cells[2].clear();
            row.Alternates.reset();
            row.ThemeWord = false;
        }
        g->SetRowCount(1);
        g->NotifyAllChanged();
    }
    if (CluesAlternateSG) {
        for (int r = 0; r < CluesAlternateSG->RowCount(); ++r)
            for (QString &cell : CluesAlternateSG->Row(r).Cells)
                cell.clear();
        CluesAlternateSG->SetRowCount(1);
        CluesAlternateSG->NotifyAllChanged();
    }
}

void ApplyThemeWordClue(int entry)
{
    if (!WordList || entry < 0 || entry >= WordList->EntryCount())
        return;
    const QString word = UpperCaseText(WordList->GetWord(entry));
    const QString clue = WordList->GetClue(entry);
    const QString label = WordList->GetSlotLabel(entry);
    bool ok = false;
    const int number = ExtractDigitRun(label).toInt(&ok);
    const QChar dir = label.contains(QLatin1Char('D'))   ? QLatin1Char('D')
                      : label.contains(QLatin1Char('A')) ? QLatin1Char('A')
                                                         : QChar();
    if (dir.isNull() || !ok)
        return;
    TClueGrid *grid = dir == QLatin1Char('D') ? CluesDownSG : CluesAcrossSG;
    for (int r = 1; r < grid->RowCount(); ++r) {
        const QString key = grid->Cell(0, r);
        if (keyNumber(key) != number || UpperCaseText(ExtractEntryWord(key)) != word)
            continue;
        grid->SetCell(1, r, clue);
        StoreClueForAnswer(key, clue);
        reflowRow(grid, r);
        bool altOk = false;
        int a = grid->Cell(2, r).toInt(&altOk);
        if (altOk && a > 0 && a < CluesAlternateSG->RowCount())
            CluesAlternateSG->SetCell(1, a, clue);
        return;
    }
}

void ApplyThemeWordClues()
{
    if (!WordList)
        return;
    for (int e = 0; e < WordList->EntryCount(); ++e)
        if (entryDirection(e) != QLatin1Char(' ') && !WordList->GetClue(e).isEmpty())
            ApplyThemeWordClue(e);
}

void AdoptThemeWord()
{
    EraseFixedLettersNext = false;
    int grid = -1, row = 0;
    if (DocHooks.GetSelectedClueRow && DocHooks.GetSelectedClueRow(grid, row) && (grid == 0 || grid == 1)) {
        TakeCheckPoint(TCheckPointKind::WordList, QStringLiteral("adopt theme word"));
        TClueGrid *g = grid == 0 ? CluesAcrossSG : CluesDownSG;
        if (row >= 1 && row < g->RowCount() && WordList) {
            WordList->AddEntry(ExtractEntryWord(g->Cell(0, row)) + QLatin1Char('\t') +
                               g->Cell(1, row).trimmed());
            g->Row(row).ThemeWord = true;
            callHook(DocHooks.SendThemeWordsToEngine);
            TRVCorrectAllThemeWordLocations(1);
            reflowRow(g, row);
            callHook(DocHooks.RedrawThemePageSummary);
            callHook(DocHooks.SetModified);
        }
    } else {
        InternalError(QStringLiteral("No adoptable word is selected."));
    }
    callHook(DocHooks.UpdateThemeAdoptEnables);
}

void UnadoptThemeWord()
{
    EraseFixedLettersNext = false;
    int grid = -1, row = 0;
    if (DocHooks.GetSelectedClueRow && DocHooks.GetSelectedClueRow(grid, row) && (grid == 0 || grid == 1)) {
        TakeCheckPoint(TCheckPointKind::WordList, QStringLiteral("unadopt theme word"));
        TClueGrid *g = grid == 0 ? CluesAcrossSG : CluesDownSG;
        if (row >= 1 && row < g->RowCount() && WordList) {
            const QString answer = ExtractEntryWord(g->Cell(0, row));
            for (int e = 0; e < WordList->EntryCount(); ++e)
                if (WordList->GetWord(e).compare(answer, Qt::CaseInsensitive) == 0) {
                    if (DocHooks.DeleteThemeEntry)
                        DocHooks.DeleteThemeEntry(e);
                    break;
                }
            g->Row(row).ThemeWord = false;
            reflowRow(g, row);
            callHook(DocHooks.SendThemeWordsToEngine);
            TRVCorrectAllThemeWordLocations(1);
            callHook(DocHooks.RedrawThemePageSummary);
            callHook(DocHooks.SetModified);
        }
    } else {
        InternalError(QStringLiteral("No unadoptable word is selected."));
    }
    callHook(DocHooks.UpdateThemeAdoptEnables);
}

QString BuildWordBankText(const TLayoutSettings &s)
{
    QString text;
    if (s.WordBankSort == 2 || s.WordBankSort == 3) {
        QStringList words;
        if (WordList)
            for (int e = 0; e < WordList->EntryCount(); ++e)
                if (entryDirection(e) != QLatin1Char(' '))
                    words.append(WordList->GetWord(e));
        text = words.join(s.WordBankSort == 2 ? QStringLiteral(" ") : QStringLiteral(", "));
    } else {
        QStringList sorted;
        for (TClueGrid *g : {CluesAcrossSG, CluesDownSG}) {
            if (!g)
                continue;
            for (int r = 1; r < g->RowCount(); ++r) {
                const QString key = g->Cell(0, r);
                if (keyNumber(key) <= 0)
                    continue;
                QString w = LowerCaseText(ExtractEntryWord(key));
                if (!sorted.contains(w))
                    sorted.append(w);
            }
        }
        std::sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) {
            return QString::compare(a, b, Qt::CaseInsensitive) < 0;
        });
        if (s.WordBankSort == 1) {
            QStringList groups;
            for (int len = 1; len <= 51; ++len) {
                QStringList same;
                for (const QString &w : sorted)
                    if (w.size() == len)
                        same.append(w);
                if (!same.isEmpty())
                    groups.append(QString::number(len) + QLatin1Char(' ') + same.join(QStringLiteral(", ")));
            }
            text = groups.join(QStringLiteral(";  "));
        } else {
            text = sorted.join(QStringLiteral(", "));
            if (!text.isEmpty())
                text[0] = UpperCaseChar(text.at(0));
        }
    }
    text = text.trimmed();
    if (!text.isEmpty())
        text += QLatin1Char('.');
    return text;
}

QString BuildWordBankText() { return BuildWordBankText(LayoutSettings); }

void NoteClueCellEdit(const QString &) {}
