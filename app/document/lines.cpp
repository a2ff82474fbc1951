// The word-and-clue text model: display lines, wrapping, the undo ring, entries, sorts and
// word-list files.
#include "lines.h"

#include "cp1252.h"
#include "notices.h"

#include <algorithm>

namespace {

const QString kEmpty;

bool isLineBreak(QChar c) { return c == kLf || c == kCr; }

void showListWarning(const QString &text) { showWarning(text); }

const QString kFileErrorText = QStringLiteral("Invalid file name, file not found or access denied.");

QString joinLines(const TMyStringList &list, int first, int last)
{
    QString joined;
    qsizetype size = 0;
    for (int i = first; i <= last; ++i)
        size += list.Line(i).size();
    joined.reserve(size);
    for (int i = first; i <= last; ++i)
        joined += list.Line(i);
    return joined;
}

// Cuts text at its line breaks; each piece keeps its break.
QStringList cutAtLineBreaks(const QString &text)
{
    QStringList pieces;
    QStringView rest(text);
    while (!rest.isEmpty()) {
        const int at = FindLineBreak(rest);
        if (at == 0) {
            pieces << rest.toString();
            break;
        }
        pieces << rest.left(at).toString();
        rest = rest.mid(at);
    }
    if (pieces.isEmpty())
        pieces << QString();
    return pieces;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TMyStringList

const QString &TMyStringList::Line(int index) const
{
    if (index < 0 || index >= Count())
        return kEmpty;
    return m_rows[size_t(index)].Text;
}

void TMyStringList::SetLine(int index, const QString &text)
{
    if (index < 0 || index >= Count())
        return;
    Row &row = m_rows[size_t(index)];
    if (row.Text != text) {
        row.Text = text;
        row.Info.Painted = false;
        changedFrom(index);
    }
}

TAuxiliaryInfo *TMyStringList::Info(int index)
{
    if (index < 0 || index >= Count())
        return nullptr;
    return &m_rows[size_t(index)].Info;
}

const TAuxiliaryInfo *TMyStringList::Info(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return &m_rows[size_t(index)].Info;
}

int TMyStringList::AddLine(const QString &text)
{
    changedFrom(Count());
    m_rows.push_back(Row{text, TAuxiliaryInfo{}});
    return Count() - 1;
}

bool TMyStringList::InsertLine(int index, const QString &text)
{
    if (index == Count()) {
        AddLine(text);
        return true;
    }
    if (index < 0 || index > Count()) {
        showListWarning(QStringLiteral("Inserting %1 into list of count %2").arg(index).arg(Count()));
        return false;
    }
    m_rows.insert(m_rows.begin() + index, Row{text, TAuxiliaryInfo{}});
    changedFrom(index);
    return true;
}

void TMyStringList::InsertLines(int index, const QStringList &texts)
{
    if (index < 0 || index > Count() || texts.isEmpty())
        return;
    std::vector<Row> rows;
    rows.reserve(size_t(texts.size()));
    for (const QString &text : texts)
        rows.push_back(Row{text, TAuxiliaryInfo{}});
    m_rows.insert(m_rows.begin() + index, std::make_move_iterator(rows.begin()),
                  std::make_move_iterator(rows.end()));
    changedFrom(index);
}

void TMyStringList::DeleteLine(int index)
{
    if (index < 0 || index >= Count())
        return;
    m_rows.erase(m_rows.begin() + index);
    changedFrom(index);
}

void TMyStringList::DeleteLines(int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, Count() - 1);
    if (first > last)
        return;
    m_rows.erase(m_rows.begin() + first, m_rows.begin() + last + 1);
    changedFrom(first);
}

void TMyStringList::MoveLineToEnd(int index)
{
    if (index < 0 || index >= Count())
        return;
    Row row = std::move(m_rows[size_t(index)]);
    m_rows.erase(m_rows.begin() + index);
    m_rows.push_back(std::move(row));
    changedFrom(index);
}

void TMyStringList::ClearLines()
{
    m_rows.clear();
    changedFrom(0);
}

void TMyStringList::CopyFrom(const TMyStringList &other)
{
    changedFrom(0);
    m_rows.clear();
    m_rows.reserve(other.m_rows.size());
    for (const Row &row : other.m_rows) {
        Row copy{row.Text, TAuxiliaryInfo{}};
        copy.Info.SlotLabel = row.Info.SlotLabel;
        m_rows.push_back(std::move(copy));
    }
}

void TMyStringList::Sort()
{
    changedFrom(0);
    std::stable_sort(m_rows.begin(), m_rows.end(), [](const Row &a, const Row &b) {
        return QString::compare(a.Text, b.Text, Qt::CaseInsensitive) < 0;
    });
}

// ---------------------------------------------------------------------------------------------
// String helpers

bool IsSeparatorChar(QChar c) { return c == kTab || c == u' ' || c == u','; }

QString LfToCrLf(const QString &text)
{
    QString result;
    result.reserve(text.size() + text.count(kLf));
    for (QChar c : text) {
        if (c == kLf)
            result += kCr;
        result += c;
    }
    return result;
}

QString RemoveCr(const QString &text)
{
    QString result = text;
    result.remove(kCr);
    return result;
}

TSeparator FindSeparator(QStringView text)
{
    TSeparator sep;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (IsSeparatorChar(text[i])) {
            sep.Position = int(i) + 1;
            qsizetype j = i;
            while (j < text.size() && IsSeparatorChar(text[j]))
                ++j;
            sep.Run = int(j - i);
            break;
        }
    }
    return sep;
}

// The first line break: a CR (taken with an LF right after it) or an LF, whichever comes
// first, so that no piece ever holds two paragraphs.
int FindLineBreak(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == kLf)
            return int(i) + 1;
        if (text[i] == kCr) {
            if (i + 1 < text.size() && text[i + 1] == kLf)
                return int(i) + 2;
            return int(i) + 1;
        }
    }
    return 0;
}

// By line, then by column: a line may hold more than 10000 characters.
void OrderPositions(int &line1, int &column1, int &line2, int &column2)
{
    if (line2 < line1 || (line2 == line1 && column2 < column1)) {
        std::swap(line1, line2);
        std::swap(column1, column2);
    }
}

QString ZeroPad6(int n) { return QStringLiteral("%1").arg(n, 6, 10, QChar(u'0')); }

QString ExpandTabs(const QString &text, int n)
{
    if (!text.contains(kTab))
        return text;
    const QString blanks(std::max(n, 0), u' ');
    QString result;
    for (QChar c : text) {
        if (c == kTab)
            result += blanks;
        else
            result += c;
    }
    return result;
}

QString StripLineBreak(const QString &text)
{
    if (text.endsWith(QStringLiteral("\r\n")) || text.endsWith(QStringLiteral("\n\r")))
        return text.left(text.size() - 2);
    if (text.endsWith(kLf) || text.endsWith(kCr))
        return text.left(text.size() - 1);
    return text;
}

QString NormalizeEntryLine(const QString &line)
{
    QString text = line;
    text.remove(kCr);
    text.remove(kLf);
    const TSeparator sep = FindSeparator(text);
    const qsizetype bar = text.indexOf(u'|');
    if (sep.Position > 0 && bar == sep.Position) // the bar stands right after that character
        text.remove(bar, 1);
    return text + kLf;
}

// A "|" stands for the separator:
//  - with a separator run, the last "|" up to the end of that run becomes a Tab ("WORD|a clue");
//  - with none, the first "|" becomes the Tab ("WORD|clue");
//  - after an answer of several words ("NEW YORK|Big Apple") the "|" ends the answer: its words
//    run together, as every answer must, and the "|" becomes the Tab.
QString BarToTab(const QString &line)
{
    QString text = line;
    const TSeparator sep = FindSeparator(text);
    const qsizetype firstBar = text.indexOf(u'|');
    if (firstBar < 0)
        return text;
    if (sep.Position == 0) {
        text[firstBar] = kTab;
        return text;
    }
    const qsizetype lastInRun = text.lastIndexOf(u'|', sep.Position + sep.Run - 1);
    if (lastInRun >= 0) {
        text[lastInRun] = kTab;
        return text;
    }
    // The bar lies beyond the first separator run: an answer of several words when only blanks
    // separate the words before it.
    const QString answer = text.left(firstBar);
    if (answer.contains(kTab) || answer.contains(u','))
        return text;
    QString joined = answer;
    joined.remove(u' ');
    if (joined.isEmpty())
        return text;
    return joined + kTab + text.mid(firstBar + 1);
}

// ---------------------------------------------------------------------------------------------
// TMyLines

TMyLines::TMyLines() { m_lines.AddLine(QString()); }

int TMyLines::TextLength(int line) const
{
    const QString &text = m_lines.Line(line);
    if (!text.isEmpty() && isLineBreak(text.back()))
        return int(text.size()) - 1;
    return int(text.size());
}

QString TMyLines::GetSlotLabel(int line) const
{
    const TAuxiliaryInfo *info = m_lines.Info(line);
    return info ? info->SlotLabel : kUnsetSlotLabel;
}

QChar TMyLines::CharAt(int line, int column) const
{
    const QString &text = m_lines.Line(line);
    if (column < 1 || column > text.size())
        return QChar(0);
    return text[column - 1];
}

bool TMyLines::NeedsRepaint(int line) const
{
    const TAuxiliaryInfo *info = m_lines.Info(line);
    return info && !info->Painted;
}

void TMyLines::SetPainted(int line, bool painted)
{
    if (TAuxiliaryInfo *info = m_lines.Info(line))
        info->Painted = painted;
}

void TMyLines::GetPaintedSpan(int line, int &start, int &end) const
{
    const TAuxiliaryInfo *info = m_lines.Info(line);
    start = info ? info->SelectionStart : 1;
    end = info ? info->SelectionEnd : 1;
}

void TMyLines::SetPaintedSpan(int line, int start, int end)
{
    if (TAuxiliaryInfo *info = m_lines.Info(line)) {
        info->SelectionStart = start;
        info->SelectionEnd = end;
    }
}

void TMyLines::MarkAllForRepaint() { markFrom(0); }

void TMyLines::markFrom(int line)
{
    for (int i = std::max(line, 0); i < m_lines.Count(); ++i)
        m_lines.Info(i)->Painted = false;
}

void TMyLines::changed()
{
    m_snapshotCurrent = false;
    m_saved = false;
}

void TMyLines::Touch() { changed(); }

bool TMyLines::IsParagraphEnd(int line) const
{
    if (line < 0 || line >= m_lines.Count())
        return false;
    if (line == m_lines.Count() - 1)
        return true;
    const QString &text = m_lines.Line(line);
    return !text.isEmpty() && isLineBreak(text.back());
}

bool TMyLines::IsParagraphStart(int line) const
{
    if (line < 0 || line >= m_lines.Count())
        return false;
    return line == 0 || IsParagraphEnd(line - 1);
}

int TMyLines::ParagraphFirstLine(int line) const
{
    line = std::clamp(line, 0, m_lines.Count() - 1);
    while (line > 0 && !IsParagraphEnd(line - 1))
        --line;
    return line;
}

int TMyLines::ParagraphLastLine(int line) const
{
    line = std::clamp(line, 0, m_lines.Count() - 1);
    while (!IsParagraphEnd(line))
        ++line;
    return line;
}

const std::vector<int> &TMyLines::paragraphStarts() const
{
    const int from = m_lines.FirstChangedRow();
    if (from < m_lines.Count() || (!m_paragraphStarts.empty() && m_paragraphStarts.back() >= from)) {
        // Whether a line starts a paragraph depends only on the lines before it.
        m_paragraphStarts.erase(std::lower_bound(m_paragraphStarts.begin(), m_paragraphStarts.end(), from),
                                m_paragraphStarts.end());
        for (int l = from; l < m_lines.Count(); ++l)
            if (IsParagraphStart(l))
                m_paragraphStarts.push_back(l);
    }
    m_lines.ForgetChanges();
    return m_paragraphStarts;
}

int TMyLines::ParagraphStartLine(int paragraph) const
{
    const std::vector<int> &starts = paragraphStarts();
    if (paragraph < 0 || paragraph >= int(starts.size()))
        return -1;
    return starts[size_t(paragraph)];
}

int TMyLines::ParagraphOfLine(int line) const
{
    if (line < 0 || line >= m_lines.Count())
        return -1;
    const std::vector<int> &starts = paragraphStarts();
    return int(std::upper_bound(starts.begin(), starts.end(), line) - starts.begin()) - 1;
}

TSeparator TMyLines::FindSeparatorInParagraph(int line) const
{
    if (line < 0 || line >= m_lines.Count())
        return TSeparator{};
    for (int l = ParagraphFirstLine(line); l <= line; ++l) {
        const TSeparator sep = FindSeparator(m_lines.Line(l));
        if (sep.Position > 0)
            return l == line ? sep : TSeparator{};
    }
    return TSeparator{LineLength(line) + 1, 0};
}

int TMyLines::OffsetInParagraph(int line, int column) const
{
    int offset = column;
    for (int l = ParagraphFirstLine(line); l < line; ++l)
        offset += LineLength(l);
    return offset;
}

int TMyLines::PositionFromOffset(int offset, int &line) const
{
    int l = ParagraphFirstLine(line);
    const int last = ParagraphLastLine(l);
    while (l < last && offset > LineLength(l)) {
        offset -= LineLength(l);
        ++l;
    }
    line = l;
    return offset;
}

bool TMyLines::IsWordStart(int line, int column) const
{
    if (column == 1)
        return true;
    if (CharAt(line, column - 1) == u' ' && CharAt(line, column) != u' ')
        return true;
    const TSeparator sep = FindSeparatorInParagraph(line);
    return sep.Position > 0 && sep.Run > 0 && column == sep.Position + sep.Run;
}

bool TMyLines::IsPastLineEnd(int line, int column) const { return column > TextLength(line); }

void TMyLines::InsertCharAt(int line, int column, QChar c) { InsertText(line, column, QString(c)); }

void TMyLines::OverwriteCharAt(int line, int column, QChar c)
{
    if (line < 0 || line >= m_lines.Count())
        return;
    if (column >= 1 && column <= TextLength(line)) {
        QString text = m_lines.Line(line);
        text[column - 1] = c;
        m_lines.SetLine(line, text);
        changed();
        RewrapParagraph(line);
    } else {
        InsertText(line, column, QString(c));
    }
}

void TMyLines::DeleteCharAt(int line, int column) { DeleteRange(line, column, line, column + 1); }

void TMyLines::InsertText(int line, int column, const QString &text)
{
    if (line < 0 || line > m_lines.Count())
        return;
    if (line == m_lines.Count())
        m_lines.AddLine(QString());
    const QString &old = m_lines.Line(line);
    const int at = std::clamp(column, 1, int(old.size()) + 1) - 1;
    const QStringList pieces = cutAtLineBreaks(old.left(at) + text + old.mid(at));
    m_lines.SetLine(line, pieces.front());
    m_lines.Info(line)->Painted = false;
    if (pieces.size() > 1) {
        m_lines.InsertLines(line + 1, pieces.mid(1));
        if (line + int(pieces.size()) < m_lines.Count())
            m_tailDirty = true;
        markFrom(line);
    }
    changed();
    for (int k = int(pieces.size()) - 1; k >= 0; --k)
        RewrapParagraph(line + k);
}

void TMyLines::DeleteRange(int line1, int column1, int line2, int column2)
{
    OrderPositions(line1, column1, line2, column2);
    if (line1 < 0 || line1 >= m_lines.Count())
        return;
    const QString &first = m_lines.Line(line1);
    const int from = std::clamp(column1, 1, int(first.size()) + 1) - 1;
    QString text = first.left(from);
    if (line2 < m_lines.Count())
        text += m_lines.Line(line2).mid(std::max(column2, 1) - 1);
    line2 = std::min(line2, m_lines.Count() - 1);
    m_lines.SetLine(line1, text);
    if (line2 > line1) {
        m_lines.DeleteLines(line1 + 1, line2);
        m_tailDirty = true;
    }
    changed();
    RewrapParagraph(line1);
    markFrom(line1 - 1);
}

QString TMyLines::GetRangeText(int line1, int column1, int line2, int column2) const
{
    OrderPositions(line1, column1, line2, column2);
    column1 = std::max(column1, 1);
    column2 = std::max(column2, 1);
    if (line1 == line2)
        return m_lines.Line(line1).mid(column1 - 1, std::max(column2 - column1, 0));
    QString text = m_lines.Line(line1).mid(column1 - 1);
    for (int l = line1 + 1; l < line2; ++l)
        text += m_lines.Line(l);
    text += m_lines.Line(line2).left(column2 - 1);
    return text;
}

void TMyLines::AppendRaw(const QString &text) { InsertText(m_lines.Count(), 1, text); }

void TMyLines::DeleteLine(int line)
{
    if (line < 0 || line >= m_lines.Count())
        return;
    m_lines.DeleteLine(line);
    if (m_lines.Count() == 0)
        m_lines.AddLine(QString());
    m_tailDirty = true;
    changed();
    markFrom(line - 1);
}

void TMyLines::MoveLineToEnd(int line)
{
    m_lines.MoveLineToEnd(line);
    markFrom(line);
    changed();
}

void TMyLines::SetSlotLabel(int line, const QString &label)
{
    TAuxiliaryInfo *info = m_lines.Info(line);
    if (info && info->SlotLabel != label) {
        info->SlotLabel = label;
        info->Painted = false;
    }
}

void TMyLines::ClearAll()
{
    m_lines.ClearLines();
    m_lines.AddLine(QString());
    m_tailDirty = true;
    changed();
    ClearUndoHistory();
}

void TMyLines::SortLines()
{
    m_lines.Sort();
    markFrom(0);
    changed();
}

void TMyLines::PrefixLine(int line, int n)
{
    if (line < 0 || line >= m_lines.Count())
        return;
    m_lines.SetLine(line, ZeroPad6(n) + m_lines.Line(line));
    changed();
}

void TMyLines::StripPrefixes()
{
    for (int l = 0; l < m_lines.Count(); ++l)
        m_lines.SetLine(l, m_lines.Line(l).mid(6));
    changed();
}

// ---------------------------------------------------------------------------------------------
// Wrapping

void TMyLines::SetMeasure(const TTextCanvas *canvas, int tabAlignX, int clueSpacing, int wrapWidth)
{
    m_canvas = canvas;
    m_tabAlignX = tabAlignX;
    m_clueSpacing = clueSpacing;
    m_wrapWidth = wrapWidth;
}

int TMyLines::BlankWidth() const
{
    static const QString blank(u' ');
    return m_canvas ? m_canvas->TextWidth(blank) : 5;
}

// A Tab is ClueSpacing blanks wide; a continuation line of a clue is indented by ClueSpacing
// blanks.
int TMyLines::MeasureText(QStringView text, bool startsBeforeSeparator, int n) const
{
    const QStringView piece = text.left(std::clamp(n, 0, int(text.size())));
    const int tabs = int(piece.count(kTab));
    int width;
    if (m_canvas) {
        if (tabs > 0) {
            QString plain = piece.toString();
            plain.replace(kTab, u' ');
            width = m_canvas->TextWidth(plain);
        } else {
            width = m_canvas->TextWidth(piece);
        }
    } else {
        width = 5 * int(piece.size());
    }
    if (tabs > 0 || !startsBeforeSeparator) {
        const int blank = BlankWidth();
        width += tabs * (m_clueSpacing - 1) * blank;
        if (!startsBeforeSeparator)
            width += m_clueSpacing * blank;
    }
    return width;
}

// How many characters of the rest of a paragraph go onto its next display line.
int TMyLines::SplitLine(QStringView rest, bool startsBeforeSeparator) const
{
    const int length = int(rest.size());
    int n = 0;
    while (n + 10 <= length && !rest.mid(n, 10).contains(kLf) &&
           MeasureText(rest, startsBeforeSeparator, n + 10) <= m_wrapWidth)
        n += 10;
    while (n < length && rest[n] != kLf && MeasureText(rest, startsBeforeSeparator, n + 1) <= m_wrapWidth)
        ++n;
    if (n >= length)
        return length;
    if (rest[n] == kLf)
        return n + 1;
    const qsizetype blank = rest.left(n).lastIndexOf(u' ');
    if (blank >= 0)
        return int(blank) + 1;
    return std::max(n, 1);
}

void TMyLines::RewrapParagraph(int line)
{
    if (!m_wrapEnabled || line < 0 || line >= m_lines.Count())
        return;
    const int first = ParagraphFirstLine(line);
    const int last = ParagraphLastLine(first);
    const QString joined = joinLines(m_lines, first, last);
    const int sepPosition = FindSeparator(joined).Position;

    QStringList pieces;
    const QStringView all(joined);
    int offset = 0;
    while (offset < all.size()) {
        const bool beforeSeparator = sepPosition == 0 || offset + 1 <= sepPosition;
        const int n = SplitLine(all.mid(offset), beforeSeparator);
        pieces << all.mid(offset, n).toString();
        offset += n;
    }
    if (pieces.isEmpty())
        pieces << QString();

    const int oldCount = last - first + 1;
    const int common = std::min(int(pieces.size()), oldCount);
    for (int k = 0; k < common; ++k)
        m_lines.SetLine(first + k, pieces[k]);
    if (pieces.size() > oldCount) {
        m_lines.InsertLines(first + oldCount, pieces.mid(oldCount));
        m_tailDirty = true;
        markFrom(first + oldCount);
    } else if (pieces.size() < oldCount) {
        m_lines.DeleteLines(first + int(pieces.size()), last);
        m_tailDirty = true;
        markFrom(first + int(pieces.size()));
    }
}

void TMyLines::UnwrapParagraph(int line)
{
    if (line < 0 || line >= m_lines.Count())
        return;
    const int first = ParagraphFirstLine(line);
    const int last = ParagraphLastLine(first);
    if (last == first)
        return;
    m_lines.SetLine(first, joinLines(m_lines, first, last));
    m_lines.DeleteLines(first + 1, last);
    m_tailDirty = true;
    markFrom(first);
}

void TMyLines::UnwrapAll()
{
    m_wrapEnabled = false;
    for (int l = m_lines.Count() - 1; l >= 0; --l) {
        const int first = ParagraphFirstLine(l);
        UnwrapParagraph(first);
        l = first;
    }
}

void TMyLines::RewrapAll()
{
    m_wrapEnabled = true;
    for (int l = m_lines.Count() - 1; l >= 0; --l) {
        const int first = ParagraphFirstLine(l);
        RewrapParagraph(first);
        l = first;
    }
}

// ---------------------------------------------------------------------------------------------
// Undo ring: slots 1..100 hold the snapshots, slot 0 the present while undoing.

int TMyLines::ringSlotOfSnapshot(int k) const
{
    const int m = ((m_ringPosition - k) % kRingSize + kRingSize) % kRingSize;
    return m + 1;
}

void TMyLines::SaveUndoState(const TUndoPosition &position)
{
    m_undoDepth = 0;
    m_ringPosition = m_ringPosition % kRingSize + 1;
    TMyStringList &slot = m_undoSlots[size_t(m_ringPosition)];
    slot.CopyFrom(m_lines);
    slot.Position = position;
    m_snapshotCount = std::min(m_snapshotCount + 1, kRingSize);
    m_snapshotCurrent = true;
}

// Without snapshots, the next edit snapshots the present first (nothing counts as captured), so
// the first undo gives back exactly the text the program put in, and no undo goes behind it.
void TMyLines::ClearUndoHistory()
{
    for (TMyStringList &slot : m_undoSlots)
        slot.ClearLines();
    m_ringPosition = 0;
    m_snapshotCount = 0;
    m_undoDepth = 0;
    m_snapshotCurrent = false;
}

namespace {

void restore(TMyStringList &lines, const TMyStringList &from, TUndoPosition &position)
{
    lines.CopyFrom(from);
    if (lines.Count() == 0)
        lines.AddLine(QString());
    position = from.Position;
}

} // namespace

bool TMyLines::Undo(TUndoPosition &position)
{
    if (m_undoDepth == 0) {
        m_undoSlots[0].CopyFrom(m_lines);
        m_undoSlots[0].Position = position;
    }
    if (m_undoDepth >= m_snapshotCount)
        return false;
    ++m_undoDepth;
    restore(m_lines, m_undoSlots[size_t(ringSlotOfSnapshot(m_undoDepth))], position);
    m_tailDirty = true;
    changed();
    RewrapAll();
    return true;
}

// Going forward to depth 0 brings the present back from slot 0, which is a change like any other.
bool TMyLines::Redo(TUndoPosition &position)
{
    if (m_undoDepth <= 0)
        return false;
    --m_undoDepth;
    const int slot = m_undoDepth == 0 ? 0 : ringSlotOfSnapshot(m_undoDepth);
    restore(m_lines, m_undoSlots[size_t(slot)], position);
    m_tailDirty = true;
    changed();
    RewrapAll();
    return true;
}

int TMyLines::NewestSnapshotCaretLine() const
{
    if (m_snapshotCount == 0)
        return -1;
    return m_undoSlots[size_t(m_ringPosition)].Position.CaretLine;
}

// ---------------------------------------------------------------------------------------------
// TEntries

TEntries::TEntries() : m_lines(std::make_unique<TMyLines>()) {}

int TEntries::EntryOfLine(int line) const { return m_lines->ParagraphOfLine(line); }

int TEntries::FirstLineOfEntry(int entry) const { return m_lines->ParagraphStartLine(entry); }

int TEntries::EntryCount() const { return m_lines->ParagraphCount(); }

// Joins every line of the entry, however many there are.
QString TEntries::GetEntryText(int entry) const
{
    const int first = FirstLineOfEntry(entry);
    if (first < 0)
        return QString();
    const int last = m_lines->ParagraphLastLine(first);
    QString text;
    for (int l = first; l <= last; ++l)
        text += m_lines->GetLine(l);
    return text;
}

QString TEntries::WordOfText(const QString &entryText)
{
    const QString text = StripLineBreak(entryText);
    const TSeparator sep = FindSeparator(text);
    const QString word = sep.Position > 0 ? text.left(sep.Position - 1) : text;
    qsizetype from = 0;
    qsizetype to = word.size();
    while (from < to && word[from] == u' ')
        ++from;
    while (to > from && word[to - 1] == u' ')
        --to;
    return word.mid(from, to - from);
}

QString TEntries::ClueOfText(const QString &entryText)
{
    const QString text = StripLineBreak(entryText);
    const TSeparator sep = FindSeparator(text);
    if (sep.Position == 0)
        return QString();
    const QString clue = text.mid(sep.Position - 1 + sep.Run);
    qsizetype from = 0;
    qsizetype to = clue.size();
    while (from < to && clue[from] == u' ')
        ++from;
    while (to > from && clue[to - 1] == u' ')
        --to;
    return clue.mid(from, to - from);
}

QString TEntries::GetWord(int entry) const { return WordOfText(GetEntryText(entry)); }

QString TEntries::GetClue(int entry) const { return ClueOfText(GetEntryText(entry)); }

QString TEntries::GetEntrySlotLabel(int entry) const
{
    const int first = FirstLineOfEntry(entry);
    return first < 0 ? kUnsetSlotLabel : m_lines->GetSlotLabel(first);
}

void TEntries::SetEntrySlotLabel(int entry, const QString &label)
{
    m_lines->SetSlotLabel(FirstLineOfEntry(entry), label);
}

void TEntries::ClearSlotLabels()
{
    for (int l = 0; l < m_lines->LineCount(); ++l)
        m_lines->SetSlotLabel(l, kUnsetSlotLabel);
}

TDisplayLineParts TEntries::SplitDisplayLine(int line) const
{
    TDisplayLineParts parts;
    if (line < 0 || line >= m_lines->LineCount())
        return parts;
    if (m_lines->IsParagraphStart(line))
        parts.Label = m_lines->GetSlotLabel(line);
    const QString text = m_lines->GetLine(line).left(m_lines->TextLength(line));
    const TSeparator sep = m_lines->FindSeparatorInParagraph(line);
    if (sep.Position == 0) {
        parts.CluePart = text;
    } else if (sep.Run == 0) {
        parts.WordPart = text;
    } else {
        parts.HoldsSeparator = true;
        parts.WordPart = text.left(sep.Position - 1);
        parts.SeparatorRun = text.mid(sep.Position - 1, sep.Run);
        parts.CluePart = text.mid(sep.Position - 1 + sep.Run);
    }
    return parts;
}

int TEntries::AppendText(const QString &text)
{
    const int last = m_lines->LineCount() - 1;
    const QString &line = m_lines->GetLine(last);
    const int column = line.endsWith(kLf) ? int(line.size()) : int(line.size()) + 1;
    m_lines->InsertText(last, column, text);
    return last;
}

// One call is not enough when the last entry has lost its line break: the first LF ends that
// entry, the second makes the empty one.
void TEntries::EnsureTrailingEmptyEntry()
{
    for (int i = 0; i < 2; ++i) {
        if (m_lines->GetLine(m_lines->LineCount() - 1) == QString(kLf))
            return;
        AppendText(QString(kLf));
    }
}

void TEntries::DeleteEntry(int entry)
{
    const int first = FirstLineOfEntry(entry);
    if (first < 0)
        return;
    m_lines->UnwrapParagraph(first);
    m_lines->DeleteRange(first, 1, first + 1, 1);
}

void TEntries::SetChangeCallbacks(TEntryChangedProc wordChanged, TEntryChangedProc clueChanged)
{
    m_wordChanged = wordChanged;
    m_clueChanged = clueChanged;
}

void TEntries::RememberEntry(int line)
{
    const int entry = EntryOfLine(line);
    m_wordBeforeEdit = GetWord(entry);
    m_clueBeforeEdit = GetClue(entry);
}

void TEntries::NotifyIfChanged(int line)
{
    const int entry = EntryOfLine(line);
    if (entry < 0)
        return;
    if (m_wordChanged && GetWord(entry) != m_wordBeforeEdit)
        m_wordChanged(entry, kEntryChanged);
    if (m_clueChanged && GetClue(entry) != m_clueBeforeEdit)
        m_clueChanged(entry, kEntryChanged);
}

void TEntries::NotifyAtPosition(int line, int column, int kind)
{
    const int entry = EntryOfLine(line);
    if (entry < 0)
        return;
    const TSeparator sep = m_lines->FindSeparatorInParagraph(line);
    const bool inWord = sep.Position > 0 && column < sep.Position;
    const bool inClue = sep.Position == 0 || column >= sep.Position + sep.Run;
    if (inWord) {
        if (m_wordChanged)
            m_wordChanged(entry, kind);
    } else if (inClue) {
        if (m_clueChanged)
            m_clueChanged(entry, kind);
    }
}

void TEntries::NotifyRange(int line1, int line2, int kind)
{
    if (line2 < line1)
        std::swap(line1, line2);
    const int last = m_lines->LineCount() - 1;
    int first = EntryOfLine(std::clamp(line1, 0, last));
    int final = EntryOfLine(std::clamp(line2, 0, last));
    for (int entry = first; entry <= final; ++entry) {
        if (m_wordChanged)
            m_wordChanged(entry, kind);
        if (m_clueChanged)
            m_clueChanged(entry, kind);
    }
}

int TEntries::BlankRankOfText(const QString &text)
{
    if (text.isEmpty())
        return 90000;
    if (text == QString(kLf))
        return 80000;
    for (qsizetype i = 0; i + 1 < text.size(); ++i)
        if (text[i] != u' ' && text[i] != kTab)
            return 0;
    if (text.back() == kLf || text.back() == u' ')
        return 70000 - int(text.size());
    return 0;
}

int TEntries::BlankRank(int entry) const { return BlankRankOfText(GetEntryText(entry)); }

// With wrapping off every entry is one line; a last entry without its line break would glue
// itself to whatever a sort put after it.
void TEntries::terminateLastLine()
{
    const int last = m_lines->LineCount() - 1;
    const QString &line = m_lines->GetLine(last);
    if (!line.isEmpty() && !line.endsWith(kLf))
        m_lines->InsertText(last, int(line.size()) + 1, QString(kLf));
}

void TEntries::SortAlphabetically()
{
    m_lines->UnwrapAll();
    terminateLastLine();
    m_lines->SortLines();
    for (int moved = 0, count = m_lines->LineCount(); moved < count && BlankRank(0) >= 1; ++moved)
        m_lines->MoveLineToEnd(0);
    m_lines->RewrapAll();
}

namespace {

int clampKey(int key) { return std::clamp(key, 0, 999999); }

} // namespace

void TEntries::SortByLength()
{
    m_lines->UnwrapAll();
    terminateLastLine();
    for (int l = 0; l < m_lines->LineCount(); ++l) {
        const QString text = m_lines->GetLine(l);
        const QString word = WordOfText(text);
        m_lines->PrefixLine(l, clampKey(word.isEmpty() ? BlankRankOfText(text) : int(word.size())));
    }
    m_lines->SortLines();
    m_lines->StripPrefixes();
    m_lines->RewrapAll();
}

void TEntries::SortByLocation()
{
    m_lines->UnwrapAll();
    terminateLastLine();
    for (int l = 0; l < m_lines->LineCount(); ++l) {
        const QString label = m_lines->GetSlotLabel(l);
        QString number = label.left(label.size() - 1);
        if (number.endsWith(u' '))
            number.chop(1);
        bool ok = false;
        int n = number.trimmed().toInt(&ok);
        if (!ok)
            n = 0;
        int key;
        if (label.endsWith(u'D'))
            key = 20000 + n;
        else if (label.endsWith(u'A'))
            key = 10000 + n;
        else
            key = 30000 + BlankRankOfText(m_lines->GetLine(l)) + n;
        m_lines->PrefixLine(l, clampKey(key));
    }
    m_lines->SortLines();
    m_lines->StripPrefixes();
    m_lines->RewrapAll();
}

// ---------------------------------------------------------------------------------------------
// Word-list files

void TEntries::LoadLines(const QStringList &fileLines)
{
    // Loaded entries follow the last real entry: a last entry that lost its line break gets it
    // back, and the empty entry kept at the end is dropped (the file brings its own).
    if (fileLines.isEmpty())
        return;
    const int last = m_lines->LineCount() - 1;
    if (m_lines->GetLine(last) == QString(kLf) && last > 0)
        m_lines->DeleteLine(last);
    else
        terminateLastLine();
    for (const QString &line : fileLines)
        m_lines->AppendRaw(BarToTab(NormalizeEntryLine(line)));
    if (EntryCount() > 1 && BlankRank(0) > 0)
        m_lines->DeleteLine(0);
    m_lines->RewrapAll();
    // The editor's undo is for typing: stepping back over a load would bring back the list as
    // it stood before the load.
    m_lines->ClearUndoHistory();
}

bool TEntries::LoadFromFile(const QString &name)
{
    QStringList fileLines;
    const bool ok = Cp1252::readTextLines(name, &fileLines);
    LoadLines(fileLines);
    if (!ok)
        showInformation(kFileErrorText);
    return ok;
}

QStringList TEntries::ListFileLines() const
{
    QStringList lines;
    const int count = EntryCount();
    for (int e = 0; e < count; ++e)
        lines << StripLineBreak(GetEntryText(e));
    return lines;
}

bool TEntries::SaveToFile(const QString &name) const
{
    QString error;
    if (!Cp1252::writeTextLines(name, ListFileLines(), &error)) {
        showInformation(Cp1252::writeFailureText(kFileErrorText, name, error));
        return false;
    }
    return true;
}
