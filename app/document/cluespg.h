// Answers and clues: the across, down and alternate clue grids as row models, the answer=clue
// memory CurrentCluesSL, the word bank text, and the automatic stock clues from the clue files.
#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

struct TLayoutSettings;

/** Answer=clue memory: answers in upper case as names, each with the clue last given to it. */
class TNameValueList
{
public:
    /** The value of the name, empty when there is none (names compare without regard to case). */
    QString Value(const QString &name) const;
    /** Sets the value of the name, replacing an earlier one; an empty value removes the name. */
    void SetValue(const QString &name, const QString &value);
    void Clear();
    int Count() const { return int(m_names.size()); }
    QString Name(int i) const { return m_names.value(i); }
    QString ValueAt(int i) const { return m_values.value(i); }

private:
    QStringList m_names;
    QStringList m_values;
    QHash<QString, int> m_index;
};

/** One row of a clue grid. Columns: 0 the answer key, 1 the clue, 2 the row in the alternate
 *  grid, 3 the first line number in the clue flow, then the clue's wrapped lines. */
struct TClueRow {
    QString Cells[4];
    QStringList Lines;                       // wrapped lines placed by the clue flow (at most 40)
    bool ThemeWord = false;                  // the answer is one of the user's theme words
    std::unique_ptr<QStringList> Alternates; // alternate clues from the clue files, sorted
    int Height = -1;                         // row height; 0 hides the row, -1 the default
};

/** A clue grid: row 0 is a fixed header row, rows 1.. the answers in grid order. */
class TClueGrid : public QAbstractTableModel
{
public:
    static constexpr int MaxClueLines = 40;

    explicit TClueGrid(QObject *parent = nullptr);

    int RowCount() const { return int(m_rows.size()); }
    /** Sets the number of rows (at least 1, the header row); removed rows take their alternates. */
    void SetRowCount(int count);
    /** Text of a cell; out-of-range cells read as empty. */
    QString Cell(int column, int row) const;
    /** Sets a cell's text; out-of-range cells are ignored (columns 4.. are the wrapped lines). */
    void SetCell(int column, int row, const QString &text);
    bool ValidRow(int row) const { return row >= 0 && row < RowCount(); }
    TClueRow &Row(int row) { return m_rows.at(size_t(row)); }
    const TClueRow &Row(int row) const { return m_rows.at(size_t(row)); }
    /** The row's alternate list, created when missing. */
    QStringList &EnsureAlternates(int row);
    /** Tells views that the whole grid may have changed. */
    void NotifyAllChanged();
    /** Grows whenever the clue texts may have changed: a SetCell of columns 0..3, a change of
     *  the row count, or NoteChanged (the page composer re-flows when it moved). */
    int ChangeCount() const { return m_changeCount; }
    /** Counts a change made through Row() (direct edits of the cells or ThemeWord). */
    void NoteChanged() { ++m_changeCount; }
    /** Tells this grid from every other grid made during the run, one made at the address of a
     *  deleted one too (a flow is current only for the grids it numbered). */
    int Serial() const { return m_serial; }
    /** Between BeginUpdate and the matching EndUpdate the grid sends no signals; views see
     *  one reset at the end (a long rebuild would otherwise reset them once per row). */
    void BeginUpdate();
    void EndUpdate();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    /** The clue column (1) of the answer rows can be edited in a view; the view's delegate
     *  stores the text. */
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    std::vector<TClueRow> m_rows;
    int m_updating = 0;
    int m_changeCount = 0;
    int m_serial = 0;
};

/** Holds the three clue grids in BeginUpdate for its lifetime. */
class TClueGridsUpdate
{
public:
    TClueGridsUpdate();
    ~TClueGridsUpdate();
    TClueGridsUpdate(const TClueGridsUpdate &) = delete;
    TClueGridsUpdate &operator=(const TClueGridsUpdate &) = delete;
};

/** Values held by controls of the main window that the document reads and sets; the main
 *  window keeps its widgets in step with them. */
struct TDocumentControls {
    QString PuzzleTitle;               // title field
    QString PuzzleSubtitle;            // subtitle field
    bool LooseAutoSize = true;         // automatic freeform size chosen
    bool EveryPuzzleDifferent = false; // "Make every puzzle different"
    bool FlagOneLetterSlots = false;   // "Blind cells"
    bool FlagTwoLetterSlots = false;   // "Two-letter words"
    bool ShowHotSpots = false;         // "Show hot spots"
    bool Exchanged = false;            // exchange-across-and-down button down
    bool WordBankCB = false;           // "Provide Word Bank"
    bool AutoLayout = true;            // automatic-layout check box
    bool ShowAlternates = false;       // "Show alternate clues too" (CluesShowAlternatesCB)
};
extern TDocumentControls DocControls;

/** The user's word-and-clue list as the document sees it (the main window's TCluesEdit). */
class TWordListAccess
{
public:
    virtual ~TWordListAccess() = default;
    /** Entries, the trailing empty entry included. */
    virtual int EntryCount() const = 0;
    virtual QString GetWord(int entry) const = 0;
    virtual QString GetClue(int entry) const = 0;
    virtual QString GetSlotLabel(int entry) const = 0;
    /** Adds an entry before the trailing empty entry. */
    virtual void AddEntry(const QString &text) = 0;
    /** Empties the list, leaving the one trailing empty entry. */
    virtual void Clear() = 0;
    virtual void MarkSaved() = 0;
    virtual bool IsSaved() const = 0;
    /** Reports every entry as changed to the change callbacks. */
    virtual void NotifyAllChanged() = 0;
    /** Brings the list's scroll bar up to date after entries were added. */
    virtual void UpdateScrollBar() {}
};

/** A word list without an editor (tools, benchmarks, headless runs): entries are "word<Tab>clue". */
class TPlainWordList : public TWordListAccess
{
public:
    int EntryCount() const override { return int(m_entries.size()) + 1; }
    QString GetWord(int entry) const override
    {
        return m_entries.value(entry).section(QLatin1Char('\t'), 0, 0);
    }
    QString GetClue(int entry) const override { return m_entries.value(entry).section(QLatin1Char('\t'), 1); }
    QString GetSlotLabel(int) const override { return QStringLiteral(" -  "); }
    void AddEntry(const QString &text) override { m_entries << text; }
    void Clear() override { m_entries.clear(); }
    void MarkSaved() override {}
    bool IsSaved() const override { return true; }
    void NotifyAllChanged() override {}

private:
    QStringList m_entries;
};

/** Main-window operations the document calls; each may be left unset. */
struct TDocumentHooks {
    std::function<void()> SetModified;
    /** The selected clue row: grid (0 across, 1 down) and row; false without a selection. */
    std::function<bool(int &grid, int &row)> GetSelectedClueRow;
    std::function<void()> SendThemeWordsToEngine;
    std::function<void(int entry)> DeleteThemeEntry;
    std::function<void()> UpdateThemeAdoptEnables;
    std::function<void()> RedrawThemePageSummary;
    std::function<void()> FitClueColumns;
    std::function<void()> ShowAlternateGrid; // show/hide grids after a toggle
    // The grids' view, read and scrolled only by the window's ToggleAlternateCluesView (cluesview.h).
    std::function<int(int grid)> VisibleClueRows; // visible rows of a grid (0, 1, 2 alternate)
    std::function<void(int grid, int topRow)> ScrollClueGrid;
    /** The highlighted row of the alternate grid while it is the grid in use, else 0. */
    std::function<int()> SelectedAlternateRow;
    /** The word-and-clue editor's word of an entry changed or the entry was removed. */
    std::function<void(int entry)> ClueEditorWordChanged;
    std::function<void()> ClueFlowInvalidateAll;
    std::function<void()> ClueFlowEstablishAll;
    std::function<void(TClueGrid *grid, int row)> ClueFlowClueWasChanged;
    std::function<void(const QString &caption)> SetConstructCaption;
    /** Shows the unclued count in the construction dialog and makes its labels visible. */
    std::function<void(int count)> ShowUncluedCount;
};
extern TDocumentHooks DocHooks;
/** The main window's word list; null until the main window installs it. */
extern TWordListAccess *WordList;

/** The next "erase letters" command also erases the fixed letters (cleared by most commands). */
extern bool EraseFixedLettersNext;

extern TClueGrid *CluesAcrossSG;
extern TClueGrid *CluesDownSG;
extern TClueGrid *CluesAlternateSG;
extern TNameValueList *CurrentCluesSL;
extern int AlternateDownRow;
extern int ClueNumberDigits;
extern int UncluedCount;

/** Makes the three clue grids and CurrentCluesSL (the main window's creation). */
void CreateClueGrids();
void FreeClueGrids();

/** The clue-grid key of an answer: the number right-aligned to two characters, a blank and
 *  the answer. */
QString MakeAnswerKey(int number, const QString &answer);
/** The answer part of a key (the text after the number and its blank). */
QString AnswerOfKey(const QString &key);

void StoreClueForAnswer(const QString &key, const QString &clue);
void RebuildClueGrids();
void UpdateAnswersAtCell(int column, int row);
void FillAlternateCluesGrid();
void ClearClueGrids();
void ApplyThemeWordClue(int entry);
void ApplyThemeWordClues();
void AdoptThemeWord();
void UnadoptThemeWord();
QString BuildWordBankText();
/** The word bank in the order of s.WordBankSort. */
QString BuildWordBankText(const TLayoutSettings &s);
void NoteClueCellEdit(const QString &clue);
