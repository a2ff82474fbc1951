// The text model behind the word-and-clue editor: display lines with slot labels, wrapping,
// the undo ring of text snapshots, entries with their word and clue, the sorts and word-list files.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <algorithm>
#include <array>
#include <limits>
#include <memory>
#include <vector>

// Label of a display line whose entry is not placed in the grid.
inline const QString kUnsetSlotLabel = QStringLiteral(" -  ");

constexpr QChar kTab = u'\t';
constexpr QChar kLf = u'\n';
constexpr QChar kCr = u'\r';

// Per display line: what was drawn last and the slot label.
struct TAuxiliaryInfo {
    bool Painted = false;
    QString SlotLabel = kUnsetSlotLabel;
    int SelectionStart = 1;
    int SelectionEnd = 1;
};

// Caret, anchor and top line kept with an undo snapshot.
struct TUndoPosition {
    int TopLine = 0;
    int CaretLine = 0;
    int CaretColumn = 1;
    int AnchorLine = 0;
    int AnchorColumn = 1;
    bool operator==(const TUndoPosition &) const = default;
};

// A list of lines, each with its own TAuxiliaryInfo.
class TMyStringList
{
public:
    int Count() const { return int(m_rows.size()); }
    // Out-of-range indexes read as an empty line.
    const QString &Line(int index) const;
    // Replaces the text and keeps the line's label; a change clears Painted.
    void SetLine(int index, const QString &text);
    TAuxiliaryInfo *Info(int index);
    const TAuxiliaryInfo *Info(int index) const;

    int AddLine(const QString &text);
    // index = Count() appends; an index outside 0..Count() changes nothing and warns.
    bool InsertLine(int index, const QString &text);
    void InsertLines(int index, const QStringList &texts);
    void DeleteLine(int index);
    void DeleteLines(int first, int last);
    void MoveLineToEnd(int index);
    void ClearLines();
    // Lines and slot labels only; painted flags and spans start fresh.
    void CopyFrom(const TMyStringList &other);
    // Case-insensitive text order; labels travel with their lines.
    void Sort();

    TUndoPosition Position;

    // The first row whose text changed, or that was inserted, removed or moved, since the last
    // ForgetChanges(); Count() when none was. Lets an index over the rows catch up from there.
    int FirstChangedRow() const { return std::min(m_firstChanged, Count()); }
    void ForgetChanges() const { m_firstChanged = std::numeric_limits<int>::max(); }

private:
    void changedFrom(int row) { m_firstChanged = std::min(m_firstChanged, std::max(row, 0)); }

    mutable int m_firstChanged = 0;
    struct Row {
        QString Text;
        TAuxiliaryInfo Info;
    };
    std::vector<Row> m_rows;
};

// Measures text for wrapping and drawing; the editor lends one built on its font.
class TTextCanvas
{
public:
    virtual ~TTextCanvas() = default;
    virtual int TextWidth(QStringView text) const = 0;
};

struct TSeparator {
    int Position = 0; // 1-based; 0 when there is none
    int Run = 0;
};

// String helpers; positions are 1-based.
bool IsSeparatorChar(QChar c);
QString LfToCrLf(const QString &text);
QString RemoveCr(const QString &text);
TSeparator FindSeparator(QStringView text);
int FindLineBreak(QStringView text);
// Orders two (line, column) positions so that the first comes first.
void OrderPositions(int &line1, int &column1, int &line2, int &column2);
QString ZeroPad6(int n);
QString ExpandTabs(const QString &text, int n);
QString StripLineBreak(const QString &text);
QString NormalizeEntryLine(const QString &line);
QString BarToTab(const QString &line);

class TMyLines
{
public:
    TMyLines();

    // Reading.
    int LineCount() const { return m_lines.Count(); }
    QString GetLine(int line) const { return m_lines.Line(line); }
    int LineLength(int line) const { return int(m_lines.Line(line).size()); }
    // Length without the line's ending line break.
    int TextLength(int line) const;
    QString GetSlotLabel(int line) const;
    QChar CharAt(int line, int column) const;
    bool NeedsRepaint(int line) const;
    void SetPainted(int line, bool painted);
    void GetPaintedSpan(int line, int &start, int &end) const;
    void SetPaintedSpan(int line, int start, int end);
    void MarkAllForRepaint();

    // Paragraph geometry.
    bool IsParagraphStart(int line) const;
    bool IsParagraphEnd(int line) const;
    int ParagraphFirstLine(int line) const;
    int ParagraphLastLine(int line) const;
    // Paragraphs by number from 0: their count, a paragraph's first line and a line's
    // paragraph (-1 when out of range). The index behind them is brought up to date from the
    // first changed line on, so adding at the end or editing one entry costs no full rescan.
    int ParagraphCount() const { return int(paragraphStarts().size()); }
    int ParagraphStartLine(int paragraph) const;
    int ParagraphOfLine(int line) const;
    TSeparator FindSeparatorInParagraph(int line) const;
    bool LineHasSeparator(int line) const { return FindSeparatorInParagraph(line).Position > 0; }
    // The line holds the separator or lies before it (no continuation indent).
    bool StartsBeforeSeparator(int line) const { return FindSeparatorInParagraph(line).Position != 0; }

    // Offsets within a paragraph (1-based).
    int OffsetInParagraph(int line, int column) const;
    int PositionFromOffset(int offset, int &line) const;

    bool IsWordStart(int line, int column) const;
    bool IsPastLineEnd(int line, int column) const;

    // Editing; each marks what it touched for repaint and rewraps.
    void InsertCharAt(int line, int column, QChar c);
    void OverwriteCharAt(int line, int column, QChar c);
    void DeleteCharAt(int line, int column);
    void InsertText(int line, int column, const QString &text);
    void DeleteRange(int line1, int column1, int line2, int column2);
    QString GetRangeText(int line1, int column1, int line2, int column2) const;
    void AppendRaw(const QString &text);
    void DeleteLine(int line);
    void MoveLineToEnd(int line);
    void SetSlotLabel(int line, const QString &label);
    // One empty line; a text replaced by the program keeps no undo steps of the old one.
    void ClearAll();
    void SortLines();
    void PrefixLine(int line, int n);
    void StripPrefixes();

    // Wrapping.
    void SetMeasure(const TTextCanvas *canvas, int tabAlignX, int clueSpacing, int wrapWidth);
    int MeasureText(QStringView text, bool startsBeforeSeparator, int n) const;
    int SplitLine(QStringView rest, bool startsBeforeSeparator) const;
    void RewrapParagraph(int line);
    void UnwrapParagraph(int line);
    void UnwrapAll();
    void RewrapAll();
    bool WrapEnabled() const { return m_wrapEnabled; }
    int WrapWidth() const { return m_wrapWidth; }
    int ClueSpacing() const { return m_clueSpacing; }
    const TTextCanvas *Canvas() const { return m_canvas; }
    int BlankWidth() const;

    // Undo ring.
    void SaveUndoState(const TUndoPosition &position);
    // Forgets every snapshot: the text the program put in is where undo stops.
    void ClearUndoHistory();
    bool Undo(TUndoPosition &position);
    bool Redo(TUndoPosition &position);
    int NewestSnapshotCaretLine() const;
    bool ChangedSinceSnapshot() const { return !m_snapshotCurrent; }
    int SnapshotCount() const { return m_snapshotCount; }
    int UndoDepth() const { return m_undoDepth; }
    int RingPosition() const { return m_ringPosition; }

    // Saved state.
    void MarkSaved() { m_saved = true; }
    bool IsSaved() const { return m_saved; }
    void Touch();

    bool TailDirty() const { return m_tailDirty; }
    void ClearTailDirty() { m_tailDirty = false; }

    static constexpr int kRingSize = 100;

private:
    void markFrom(int line);
    void changed();
    const std::vector<int> &paragraphStarts() const;
    int ringSlotOfSnapshot(int k) const;

    TMyStringList m_lines;
    mutable std::vector<int> m_paragraphStarts; // first lines, valid below m_lines' first change
    std::array<TMyStringList, kRingSize + 1> m_undoSlots;
    int m_ringPosition = 0;
    int m_snapshotCount = 0;
    int m_undoDepth = 0;
    bool m_snapshotCurrent = false;
    bool m_saved = true;
    bool m_tailDirty = false;
    bool m_wrapEnabled = true;
    const TTextCanvas *m_canvas = nullptr;
    int m_tabAlignX = 0;
    int m_clueSpacing = 0;
    int m_wrapWidth = 100000;
};

// Pieces of one display line for drawing.
struct TDisplayLineParts {
    QString Label; // empty on continuation lines
    QString WordPart;
    QString SeparatorRun;
    QString CluePart;
    bool HoldsSeparator = false;
};

using TEntryChangedProc = void (*)(int entry, int kind);

enum TEntryChangeKind {
    kEntryChanged = 1,
    kEntryRemoved = 2
};

// Entries (paragraphs) over the display lines.
class TEntries
{
public:
    TEntries();

    TMyLines &Lines() { return *m_lines; }
    const TMyLines &Lines() const { return *m_lines; }

    int EntryOfLine(int line) const;
    int FirstLineOfEntry(int entry) const;
    int EntryCount() const;

    QString GetEntryText(int entry) const;
    QString GetWord(int entry) const;
    QString GetClue(int entry) const;
    static QString WordOfText(const QString &entryText);
    static QString ClueOfText(const QString &entryText);
    QString GetEntrySlotLabel(int entry) const;
    void SetEntrySlotLabel(int entry, const QString &label);
    void ClearSlotLabels();

    TDisplayLineParts SplitDisplayLine(int line) const;

    int AppendText(const QString &text);
    void EnsureTrailingEmptyEntry();
    void DeleteEntry(int entry);

    void SetChangeCallbacks(TEntryChangedProc wordChanged, TEntryChangedProc clueChanged);
    void RememberEntry(int line);
    void NotifyIfChanged(int line);
    void NotifyAtPosition(int line, int column, int kind);
    void NotifyRange(int line1, int line2, int kind);

    // Returns false after showing the file-error message.
    bool LoadFromFile(const QString &name);
    bool SaveToFile(const QString &name) const;
    // Appends the lines of a word-list file as entries; the undo history starts afresh.
    void LoadLines(const QStringList &fileLines);
    // The word-list file's lines, as SaveToFile writes them.
    QStringList ListFileLines() const;

    void SortAlphabetically();
    void SortByLength();
    void SortByLocation();
    int BlankRank(int entry) const;
    static int BlankRankOfText(const QString &entryText);

private:
    void terminateLastLine();

    std::unique_ptr<TMyLines> m_lines;
    TEntryChangedProc m_wordChanged = nullptr;
    TEntryChangedProc m_clueChanged = nullptr;
    QString m_wordBeforeEdit;
    QString m_clueBeforeEdit;
};
