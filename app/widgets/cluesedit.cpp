// The word-and-clue editor widget and the key routing that lets it keep Tab, Enter and the arrows
// inside dialogs.
#include "cluesedit.h"

#include "cp1252.h"
#include "globals.h"
#include "prompter.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int kBitmapWidth = 2400;
const QColor kGapLineColor(207, 222, 255);
const QColor kSelectionColor(0, 0, 128); // navy

const QString kPasteTooLarge = QStringLiteral(
    "The clipboard contains an extremely large amount of text.  Only the first 150000 characters "
    "can be pasted in one operation.  You may need to copy and paste smaller pieces of your text "
    "in several steps.");

// Inverts the pixels and combines them by exclusive-or with a colour, as the selection and the
// caret are shown.
void invertRect(QImage &image, QRect rect, QRgb xorWith)
{
    rect = rect.intersected(image.rect());
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = rect.left(); x <= rect.right(); ++x)
            row[x] = 0xFF000000u | ((~row[x] ^ xorWith) & 0x00FFFFFFu);
    }
}

} // namespace

// Measures with the editor's text font. The font is drawn without kerning or ligatures, so a
// text is as wide as its characters together, and their widths are kept: wrapping measures
// the same characters many times.
class TCluesEdit::Canvas : public TTextCanvas
{
public:
    explicit Canvas(const QFont &font) : m_metrics(font) { m_latin.fill(-1); }
    int TextWidth(QStringView text) const override
    {
        int width = 0;
        for (QChar c : text)
            width += charWidth(c);
        return width;
    }
    void SetFont(const QFont &font)
    {
        if (font == m_font)
            return;
        m_font = font;
        m_metrics = QFontMetrics(font);
        m_latin.fill(-1);
        m_other.clear();
    }
    const QFontMetrics &Metrics() const { return m_metrics; }

private:
    int charWidth(QChar c) const
    {
        const ushort u = c.unicode();
        if (u < m_latin.size()) {
            int &w = m_latin[u];
            if (w < 0)
                w = m_metrics.horizontalAdvance(c);
            return w;
        }
        auto it = m_other.find(u);
        if (it == m_other.end())
            it = m_other.insert(u, m_metrics.horizontalAdvance(c));
        return *it;
    }

    QFont m_font;
    QFontMetrics m_metrics;
    mutable std::array<int, 256> m_latin{};
    mutable QHash<ushort, int> m_other;
};

// ---------------------------------------------------------------------------------------------
// Construction and properties

TCluesEdit::TCluesEdit(QWidget *parent)
    : QWidget(parent), m_entries(std::make_unique<TEntries>()), m_canvas(std::make_unique<Canvas>(font()))
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setCursor(Qt::IBeamCursor);
    m_slotsColor = palette().color(QPalette::Button);
    m_slotsFont = font();
    m_slotsFont.setPointSize(m_textFontSize);

    m_scrollBar = new QScrollBar(Qt::Vertical, this);
    m_scrollBar->setFocusPolicy(Qt::NoFocus);
    m_scrollBar->setCursor(Qt::ArrowCursor);
    connect(m_scrollBar, &QScrollBar::valueChanged, this, &TCluesEdit::SetTopLine);

    m_blinkTimer = new QTimer(this);
    connect(m_blinkTimer, &QTimer::timeout, this, &TCluesEdit::caretBlink);

    m_lineImage = QImage(kBitmapWidth, 1, QImage::Format_RGB32);
    m_lineImage.fill(Qt::white);
    applyFonts();
    TCluesEditInstanceManager::Instance().Register(this);
}

TCluesEdit::~TCluesEdit() { TCluesEditInstanceManager::Instance().Unregister(this); }

void TCluesEdit::fontsChanged()
{
    applyFonts();
    if (m_laidOut)
        Relayout();
    m_entries->Lines().MarkAllForRepaint();
    update();
}

void TCluesEdit::SetAnswerColor(const QColor &c)
{
    m_answerColor = c;
    fontsChanged();
}
void TCluesEdit::SetClueColor(const QColor &c)
{
    m_clueColor = c;
    fontsChanged();
}
void TCluesEdit::SetSeparatorColor(const QColor &c)
{
    m_separatorColor = c;
    fontsChanged();
}
void TCluesEdit::SetSlotsFont(const QFont &f)
{
    m_slotsFont = f;
    fontsChanged();
}
void TCluesEdit::SetSlotsFontColor(const QColor &c)
{
    m_slotsFontColor = c;
    fontsChanged();
}
void TCluesEdit::SetSlotsColor(const QColor &c)
{
    m_slotsColor = c;
    fontsChanged();
}
void TCluesEdit::SetClueSpacing(int n)
{
    m_clueSpacing = n;
    fontsChanged();
}
void TCluesEdit::SetParaMark(TParaMark mark)
{
    m_paraMark = mark;
    fontsChanged();
}
void TCluesEdit::SetSlotsRight(int n)
{
    m_slotsRight = n;
    fontsChanged();
}
void TCluesEdit::SetTextFontName(const QString &name)
{
    m_textFontName = name;
    fontsChanged();
}
void TCluesEdit::SetTextFontSize(int size)
{
    m_textFontSize = size;
    fontsChanged();
}
void TCluesEdit::SetTextFontStyles(TFontStyles styles)
{
    m_textFontStyles = styles;
    fontsChanged();
}
void TCluesEdit::SetTextMarginLeft(int n)
{
    m_textMarginLeft = n;
    fontsChanged();
}
void TCluesEdit::SetTextMarginRight(int n)
{
    m_textMarginRight = n;
    fontsChanged();
}

void TCluesEdit::SetScrollbars(TScrollStyle style)
{
    m_scrollbars = style;
    m_scrollBar->setVisible(style == ssVertical || style == ssBoth);
    if (m_laidOut)
        Relayout();
}

void TCluesEdit::applyFonts()
{
    m_textFont = QFont(m_textFontName, std::max(m_textFontSize, 1));
    m_textFont.setBold(m_textFontStyles & fsBold);
    m_textFont.setItalic(m_textFontStyles & fsItalic);
    m_textFont.setUnderline(m_textFontStyles & fsUnderline);
    m_textFont.setStrikeOut(m_textFontStyles & fsStrikeOut);
    m_textFont.setKerning(false);
    m_textFont.setStyleStrategy(QFont::PreferNoShaping);
    m_canvas->SetFont(m_textFont);
    m_lineHeight = std::max(m_canvas->Metrics().height(), 1);
    m_gapHeight = m_lineHeight / 3 + 1;
    if (m_lineImage.height() != m_lineHeight || m_lineImage.width() < std::max(width(), kBitmapWidth))
        m_lineImage = QImage(std::max(width(), kBitmapWidth), m_lineHeight, QImage::Format_RGB32);
    buildGapImage();
}

// The gap repeats the first pixel row of an empty line; pmSpaceLine draws a thin line across it.
void TCluesEdit::buildGapImage()
{
    m_gapImage = QImage(std::max(width(), kBitmapWidth), m_gapHeight, QImage::Format_RGB32);
    m_gapImage.fill(Qt::white);
    QPainter p(&m_gapImage);
    p.fillRect(0, 0, m_slotsRight, m_gapHeight, m_slotsColor);
    if (m_paraMark == pmSpaceLine) {
        p.setPen(kGapLineColor);
        const int y = (m_gapHeight + 1) / 2;
        p.drawLine(m_slotsRight, y, m_gapImage.width(), y);
    }
}

int TCluesEdit::textWidth() const
{
    return width() - (m_scrollBar->isHidden() ? 0 : m_scrollBar->sizeHint().width());
}

int TCluesEdit::wrapWidth() const
{
    return textWidth() - (m_slotsRight + m_textMarginLeft) - m_textMarginRight - 2;
}

// ---------------------------------------------------------------------------------------------
// Layout and geometry

void TCluesEdit::Relayout()
{
    applyFonts();
    const EntryOffset caret = entryOffset(m_caretLine, m_caretColumn);
    const EntryOffset anchor = entryOffset(m_anchorLine, m_anchorColumn);
    TMyLines &lines = m_entries->Lines();
    lines.SetMeasure(m_canvas.get(), m_tabAlignX, m_clueSpacing, std::max(wrapWidth(), 1));
    m_visibleLines = std::max(height() / m_lineHeight, 1);
    if (!m_laidOut) {
        m_laidOut = true;
        m_entries->EnsureTrailingEmptyEntry();
        lines.RewrapAll();
        m_caretLine = m_anchorLine = lines.LineCount() - 1;
        m_caretColumn = m_anchorColumn = 1;
    } else {
        lines.RewrapAll();
        placeAt(caret, m_caretLine, m_caretColumn);
        placeAt(anchor, m_anchorLine, m_anchorColumn);
    }
    clampCaret();
    scrollToCaret();
    UpdateScrollBar();
    update();
}

void TCluesEdit::UpdateScrollBar()
{
    const QSignalBlocker block(m_scrollBar);
    m_scrollBar->setRange(0, std::max(m_entries->Lines().LineCount() - 1, 0));
    m_scrollBar->setPageStep(std::max(m_visibleLines - 1, 1));
    m_scrollBar->setSingleStep(1);
    m_scrollBar->setValue(m_topLine);
}

void TCluesEdit::resizeEvent(QResizeEvent *)
{
    const int bar = m_scrollBar->sizeHint().width();
    m_scrollBar->setGeometry(width() - bar, 0, bar, height());
    Relayout();
}

bool TCluesEdit::rowHasGap(int line) const
{
    return (m_paraMark == pmSpace || m_paraMark == pmSpaceLine) && line > 0 && line > m_topLine &&
           m_entries->Lines().IsParagraphStart(line);
}

int TCluesEdit::rowHeight(int line) const { return m_lineHeight + (rowHasGap(line) ? m_gapHeight : 0); }

int TCluesEdit::LineY(int line) const
{
    if (line < m_topLine || line >= m_entries->Lines().LineCount())
        return -1;
    int y = 0;
    for (int l = m_topLine; l < line; ++l) {
        y += rowHeight(l);
        if (y > height())
            return -1;
    }
    return y + (rowHasGap(line) ? m_gapHeight : 0);
}

int TCluesEdit::lastFullyVisibleLine() const
{
    const int count = m_entries->Lines().LineCount();
    int y = 0;
    int last = m_topLine;
    for (int l = m_topLine; l < count; ++l) {
        y += rowHeight(l);
        if (y > height())
            break;
        last = l;
    }
    return last;
}

int TCluesEdit::lastVisibleLine() const
{
    const int count = m_entries->Lines().LineCount();
    int y = 0;
    int last = m_topLine;
    for (int l = m_topLine; l < count && y < height(); ++l) {
        last = l;
        y += rowHeight(l);
    }
    return last;
}

void TCluesEdit::SetTopLine(int line)
{
    line = std::clamp(line, 0, std::max(m_entries->Lines().LineCount() - 1, 0));
    if (line == m_topLine)
        return;
    m_topLine = line;
    m_entries->Lines().MarkAllForRepaint();
    UpdateScrollBar();
    update();
}

void TCluesEdit::scrollToCaret()
{
    if (m_caretLine < m_topLine) {
        SetTopLine(m_caretLine);
        return;
    }
    if (m_caretLine <= lastFullyVisibleLine())
        return;
    // The caret line becomes the last row.
    int top = m_caretLine;
    int total = m_lineHeight;
    for (int counted = 0; top > 0 && counted < 1000; ++counted) {
        const int above = top - 1;
        // Moving the top up: the old top row gains its gap, the new top row has none.
        const int more = m_lineHeight + ((m_paraMark == pmSpace || m_paraMark == pmSpaceLine) &&
                                                 m_entries->Lines().IsParagraphStart(top)
                                             ? m_gapHeight
                                             : 0);
        if (total + more > height())
            break;
        total += more;
        top = above;
    }
    SetTopLine(top);
}

int TCluesEdit::maxColumn(int line) const { return m_entries->Lines().TextLength(line) + 1; }

int TCluesEdit::ColumnX(int line, int column) const
{
    const TMyLines &lines = m_entries->Lines();
    const QString text = lines.GetLine(line).left(lines.TextLength(line));
    return TextLeft() + lines.MeasureText(text, lines.StartsBeforeSeparator(line), column - 1);
}

int TCluesEdit::columnAtX(int line, int x) const
{
    const int last = maxColumn(line);
    int best = 1;
    int bestDistance = std::abs(ColumnX(line, 1) - x);
    for (int c = 2; c <= last; ++c) {
        const int d = std::abs(ColumnX(line, c) - x);
        if (d < bestDistance) {
            best = c;
            bestDistance = d;
        }
    }
    return best;
}

void TCluesEdit::positionFromPoint(const QPoint &p, int &line, int &column) const
{
    const int count = m_entries->Lines().LineCount();
    int y = 0;
    line = m_topLine;
    for (int l = m_topLine; l < count; ++l) {
        line = l;
        y += rowHeight(l);
        if (p.y() < y)
            break;
    }
    line = std::clamp(line, 0, count - 1);
    column = columnAtX(line, p.x());
}

int TCluesEdit::CaretWidth() const
{
    const TMyLines &lines = m_entries->Lines();
    if (m_insertMode) {
        if (m_entries->EntryCount() <= 2) {
            const int chars = lines.TextLength(0) + (lines.LineCount() > 1 ? lines.TextLength(1) : 0);
            if (chars == 0)
                return 3;
            if (chars == 1)
                return 2;
        }
        return 1;
    }
    const QChar c = lines.CharAt(m_caretLine, m_caretColumn);
    if (c == kTab)
        return std::max(m_clueSpacing * lines.BlankWidth(), 1);
    if (c.isNull() || c == kLf)
        return std::max(lines.BlankWidth(), 1);
    return std::max(m_canvas->TextWidth(QString(c)), 1);
}

// ---------------------------------------------------------------------------------------------
// Caret and selection

void TCluesEdit::clampCaret()
{
    const int count = m_entries->Lines().LineCount();
    m_caretLine = std::clamp(m_caretLine, 0, count - 1);
    m_anchorLine = std::clamp(m_anchorLine, 0, count - 1);
    m_caretColumn = std::clamp(m_caretColumn, 1, maxColumn(m_caretLine));
    m_anchorColumn = std::clamp(m_anchorColumn, 1, maxColumn(m_anchorLine));
}

void TCluesEdit::SetCaret(int line, int column, bool extendSelection)
{
    m_caretLine = line;
    m_caretColumn = column;
    if (!extendSelection) {
        m_anchorLine = line;
        m_anchorColumn = column;
    }
    clampCaret();
    m_desiredX = ColumnX(m_caretLine, m_caretColumn);
    scrollToCaret();
    refresh();
}

bool TCluesEdit::HasSelection() const
{
    return m_caretLine != m_anchorLine || m_caretColumn != m_anchorColumn;
}

QString TCluesEdit::SelectedText() const
{
    return m_entries->Lines().GetRangeText(m_anchorLine, m_anchorColumn, m_caretLine, m_caretColumn);
}

void TCluesEdit::collapse()
{
    m_anchorLine = m_caretLine;
    m_anchorColumn = m_caretColumn;
}

void TCluesEdit::afterMove(bool extend)
{
    clampCaret();
    if (!extend)
        collapse();
    scrollToCaret();
    m_caretOn = true;
    refresh();
}

TCluesEdit::EntryOffset TCluesEdit::entryOffset(int line, int column) const
{
    EntryOffset where;
    where.Entry = std::max(m_entries->EntryOfLine(line), 0);
    where.Offset = m_entries->Lines().OffsetInParagraph(std::max(line, 0), column);
    return where;
}

void TCluesEdit::placeAt(const EntryOffset &where, int &line, int &column) const
{
    int first = m_entries->FirstLineOfEntry(where.Entry);
    if (first < 0) {
        line = m_entries->Lines().LineCount() - 1;
        column = maxColumn(line);
        return;
    }
    column = m_entries->Lines().PositionFromOffset(where.Offset, first);
    line = first;
}

void TCluesEdit::setCaretTo(const EntryOffset &where)
{
    placeAt(where, m_caretLine, m_caretColumn);
    clampCaret();
    collapse();
    m_desiredX = ColumnX(m_caretLine, m_caretColumn);
    scrollToCaret();
}

TUndoPosition TCluesEdit::currentPosition() const
{
    TUndoPosition p;
    p.TopLine = m_topLine;
    p.CaretLine = m_caretLine;
    p.CaretColumn = m_caretColumn;
    p.AnchorLine = m_anchorLine;
    p.AnchorColumn = m_anchorColumn;
    return p;
}

void TCluesEdit::restorePosition(const TUndoPosition &p)
{
    m_caretLine = p.CaretLine;
    m_caretColumn = p.CaretColumn;
    m_anchorLine = p.AnchorLine;
    m_anchorColumn = p.AnchorColumn;
    clampCaret();
    m_topLine = -1;
    SetTopLine(p.TopLine);
    m_desiredX = ColumnX(m_caretLine, m_caretColumn);
    scrollToCaret();
}

// A snapshot of text that the newest snapshot already holds would only make one undo step do
// nothing (cut and paste over a selection both take one, and so does the selection's deletion).
void TCluesEdit::snapshot()
{
    TMyLines &lines = m_entries->Lines();
    if (lines.SnapshotCount() > 0 && !lines.ChangedSinceSnapshot())
        return;
    lines.SaveUndoState(currentPosition());
}

// Typing along one line undoes as one step: a snapshot only when the caret moved to another line
// since the last one and the text changed meanwhile. An edit made while the text stands behind
// the present takes one too, so that the edit can be undone and a redo cannot overwrite it.
void TCluesEdit::snapshotIfNewLine()
{
    const TMyLines &lines = m_entries->Lines();
    if (lines.UndoDepth() > 0 ||
        (m_caretLine != lines.NewestSnapshotCaretLine() && lines.ChangedSinceSnapshot()))
        snapshot();
}

void TCluesEdit::selectionSpan(int line, int &start, int &end) const
{
    int l1 = m_anchorLine, c1 = m_anchorColumn, l2 = m_caretLine, c2 = m_caretColumn;
    OrderPositions(l1, c1, l2, c2);
    start = end = 1;
    if (!HasSelection() || line < l1 || line > l2)
        return;
    start = line == l1 ? c1 : 1;
    end = line == l2 ? c2 : 99999;
}

void TCluesEdit::UpdateCaret()
{
    m_caretOn = true;
    refresh();
}

void TCluesEdit::caretBlink()
{
    m_caretOn = !m_caretOn;
    const int y = LineY(m_caretLine);
    if (y >= 0)
        update(QRect(0, y, width(), m_lineHeight));
}

// Redraws only rows whose text, label or selection changed since they were drawn.
void TCluesEdit::refresh()
{
    if (!m_laidOut) {
        update();
        return;
    }
    TMyLines &lines = m_entries->Lines();
    const int count = lines.LineCount();
    int y = 0;
    int l = m_topLine;
    for (; l < count && y < height(); ++l) {
        const int h = rowHeight(l);
        int start, end, paintedStart, paintedEnd;
        selectionSpan(l, start, end);
        lines.GetPaintedSpan(l, paintedStart, paintedEnd);
        if (lines.NeedsRepaint(l) || start != paintedStart || end != paintedEnd || l == m_caretLine)
            update(QRect(0, y, width(), h));
        y += h;
    }
    const int rows = l - m_topLine;
    if (y < height() && (lines.TailDirty() || rows != m_paintedRows))
        update(QRect(0, y, width(), height() - y));
    lines.ClearTailDirty();
    // The row the caret was drawn on last.
    const int caretY = LineY(m_drawnCaretLine);
    if (m_drawnCaretLine != m_caretLine && caretY >= 0)
        update(QRect(0, caretY, width(), m_lineHeight));
}

// ---------------------------------------------------------------------------------------------
// Painting

void TCluesEdit::drawLine(int line, QImage &image)
{
    TMyLines &lines = m_entries->Lines();
    image.fill(Qt::white);
    QPainter p(&image);
    p.fillRect(0, 0, m_slotsRight, m_lineHeight, m_slotsColor);
    const TDisplayLineParts parts = m_entries->SplitDisplayLine(line);
    const QFontMetrics &fm = m_canvas->Metrics();
    const int baseline = fm.ascent();

    if (!parts.Label.isEmpty()) {
        QFont slotFont = m_slotsFont;
        if (parts.Label.size() > 4) {
            for (int size = std::max(m_slotsFont.pointSize(), 6); size >= 6; --size) {
                slotFont.setPointSize(size);
                if (QFontMetrics(slotFont).horizontalAdvance(parts.Label) < m_slotsRight || size == 6)
                    break;
            }
        }
        const QFontMetrics sm(slotFont);
        p.setFont(slotFont);
        p.setPen(m_slotsFontColor);
        p.drawText(m_slotsRight - m_textMarginLeft - sm.horizontalAdvance(parts.Label), baseline,
                   parts.Label);
    }

    const int left = TextLeft();
    const int right = std::max(textWidth() - m_textMarginRight, left);
    p.setClipRect(QRect(left, 0, right - left, m_lineHeight));
    p.setFont(m_textFont);
    int x = left;
    if (!parts.WordPart.isEmpty()) {
        p.setPen(m_answerColor);
        p.drawText(x, baseline, parts.WordPart);
        x += m_canvas->TextWidth(parts.WordPart);
    }
    if (parts.HoldsSeparator) {
        const QString run = ExpandTabs(parts.SeparatorRun, m_clueSpacing);
        p.setPen(m_separatorColor);
        p.drawText(x, baseline, run);
        x += m_canvas->TextWidth(run) + 1;
    } else if (!parts.CluePart.isEmpty()) {
        x += m_clueSpacing * lines.BlankWidth(); // continuation of a clue
    }
    if (!parts.CluePart.isEmpty()) {
        p.setPen(m_clueColor);
        p.drawText(x, baseline, ExpandTabs(parts.CluePart, m_clueSpacing));
    }
    p.end();

    int start, end;
    selectionSpan(line, start, end);
    if (start != end) {
        const int textLength = lines.TextLength(line);
        const int x1 = ColumnX(line, std::min(start, textLength + 1));
        const int x2 = ColumnX(line, std::min(end, textLength + 1));
        if (x2 > x1)
            invertRect(image, QRect(x1, 0, x2 - x1, m_lineHeight), kSelectionColor.rgb());
    }
    lines.SetPaintedSpan(line, start, end);
    lines.SetPainted(line, true);

    if (line == m_caretLine)
        m_drawnCaretLine = line;
    if (line == m_caretLine && hasFocus() && m_caretOn && !m_caretHidden)
        invertRect(image, QRect(ColumnX(line, m_caretColumn), 0, CaretWidth(), m_lineHeight), 0);
}

void TCluesEdit::paintEvent(QPaintEvent *)
{
    TCluesEditInstanceManager::Instance().RecordWindow(this);
    if (!m_laidOut) {
        // Painting before the first layout: lay out now and draw on the next paint.
        InternalError(QStringLiteral("TCluesEdit not Initialized."));
        Relayout();
        return;
    }
    QPainter painter(this);
    applyFonts();
    m_entries->Lines().SetMeasure(m_canvas.get(), m_tabAlignX, m_clueSpacing, std::max(wrapWidth(), 1));
    const TMyLines &lines = m_entries->Lines();
    const int count = lines.LineCount();
    int y = 0;
    int rows = 0;
    for (int l = m_topLine; l < count && y < height(); ++l, ++rows) {
        if (rowHasGap(l)) {
            painter.drawImage(0, y, m_gapImage);
            y += m_gapHeight;
        }
        drawLine(l, m_lineImage);
        painter.drawImage(0, y, m_lineImage, 0, 0, width(), m_lineHeight);
        y += m_lineHeight;
    }
    m_paintedRows = rows;
    // Rows below the last line are blank.
    for (; y < height(); y += m_lineHeight) {
        painter.fillRect(0, y, m_slotsRight, m_lineHeight, m_slotsColor);
        painter.fillRect(m_slotsRight, y, width() - m_slotsRight, m_lineHeight, Qt::white);
    }
}

// ---------------------------------------------------------------------------------------------
// Program operations

int TCluesEdit::AddEntry(const QString &text)
{
    m_entries->EnsureTrailingEmptyEntry();
    // The caret and anchor stay on their characters; on the empty entry they move down with it.
    const int before = m_entries->EntryCount();
    EntryOffset caret = entryOffset(m_caretLine, m_caretColumn);
    EntryOffset anchor = entryOffset(m_anchorLine, m_anchorColumn);
    const int line = m_entries->AppendText(text + kLf);
    const int added = m_entries->EntryCount() - before;
    if (caret.Entry >= before - 1)
        caret.Entry += added;
    if (anchor.Entry >= before - 1)
        anchor.Entry += added;
    placeAt(caret, m_caretLine, m_caretColumn);
    placeAt(anchor, m_anchorLine, m_anchorColumn);
    clampCaret();
    UpdateScrollBar();
    refresh();
    return line;
}

void TCluesEdit::ReplaceEntry(int entry, const QString &text)
{
    const int first = m_entries->FirstLineOfEntry(entry);
    if (first < 0)
        return;
    TMyLines &lines = m_entries->Lines();
    const EntryOffset caret = entryOffset(m_caretLine, m_caretColumn);
    lines.UnwrapParagraph(first);
    lines.DeleteRange(first, 1, first, lines.TextLength(first) + 1);
    lines.InsertText(first, 1, StripLineBreak(text));
    lines.RewrapParagraph(first);
    setCaretTo(caret);
    UpdateScrollBar();
    refresh();
}

void TCluesEdit::DeleteEntry(int entry)
{
    const EntryOffset caret = entryOffset(m_caretLine, m_caretColumn);
    m_entries->DeleteEntry(entry);
    EntryOffset where = caret;
    if (caret.Entry > entry)
        --where.Entry;
    else if (caret.Entry == entry)
        where.Offset = 1;
    setCaretTo(where);
    UpdateScrollBar();
    refresh();
}

void TCluesEdit::SetChangeCallbacks(TEntryChangedProc wordChanged, TEntryChangedProc clueChanged)
{
    m_entries->SetChangeCallbacks(wordChanged, clueChanged);
}

QString TCluesEdit::GetAllText() const
{
    QStringList texts;
    const int count = m_entries->EntryCount();
    for (int e = 0; e < count; ++e)
        texts << StripLineBreak(m_entries->GetEntryText(e));
    return texts.join(kLf);
}

void TCluesEdit::SetAllText(const QString &text)
{
    Clear();
    m_entries->AppendText(text);
    clampCaret();
    UpdateScrollBar();
    refresh();
}

void TCluesEdit::NotifyAllChanged()
{
    m_entries->NotifyRange(0, m_entries->Lines().LineCount() - 1, kEntryChanged);
}

int TCluesEdit::WordCount() const
{
    int count = 0;
    const int entries = m_entries->EntryCount();
    for (int e = 0; e < entries; ++e)
        if (m_entries->GetWord(e).size() > 1)
            ++count;
    return count;
}

void TCluesEdit::SetSlotLabel(int entry, const QString &label)
{
    m_entries->SetEntrySlotLabel(entry, label);
    refresh();
}

void TCluesEdit::ClearSlotLabels()
{
    m_entries->ClearSlotLabels();
    refresh();
}

// The program replaces the whole list (open, New, a whole-puzzle undo, the example list): the
// editor's undo starts afresh, so that Ctrl+Z never brings back the list that was replaced.
void TCluesEdit::Clear()
{
    m_entries->Lines().ClearAll();
    m_entries->EnsureTrailingEmptyEntry();
    m_caretLine = m_anchorLine = 0;
    m_caretColumn = m_anchorColumn = 1;
    m_topLine = 0;
    Relayout();
    m_caretLine = m_anchorLine = m_entries->Lines().LineCount() - 1;
    m_caretColumn = m_anchorColumn = 1;
    MarkSaved();
    m_entries->Lines().MarkAllForRepaint();
    update();
}

// A load starts the undo history afresh (a file that yields nothing keeps it).
bool TCluesEdit::LoadFromFile(const QString &name)
{
    TMyLines &lines = m_entries->Lines();
    m_caretLine = lines.LineCount() - 1;
    m_caretColumn = maxColumn(m_caretLine);
    collapse();
    const EntryOffset end = entryOffset(m_caretLine, m_caretColumn);
    const int before = m_entries->EntryCount();
    const bool onEmptyEntry = lines.LineCount() > 1 && lines.GetLine(m_caretLine) == QString(kLf);
    const bool empty = lines.LineCount() == 1 && lines.TextLength(0) == 0;
    const bool ok = m_entries->LoadFromFile(name);
    Relayout();
    // The caret goes to the start of the first loaded entry.
    if (m_entries->EntryCount() == before && !empty)
        setCaretTo(end);
    else
        setCaretTo(EntryOffset{empty ? 0 : onEmptyEntry ? before - 1 : before, 1});
    m_justLoaded = true;
    // A failed load added nothing: unsaved typing stays unsaved.
    if (ok)
        MarkSaved();
    lines.MarkAllForRepaint();
    UpdateScrollBar();
    update();
    return ok;
}

bool TCluesEdit::SaveToFile(const QString &name)
{
    const bool ok = m_entries->SaveToFile(name);
    if (ok)
        MarkSaved();
    return ok;
}

// Sorts the entries and puts the caret back on the word it was in.
void TCluesEdit::sortKeepingCaret(void (TEntries::*sort)())
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const QString word = m_entries->GetWord(m_entries->EntryOfLine(m_caretLine));
    const int offset = m_entries->Lines().OffsetInParagraph(m_caretLine, m_caretColumn);
    ((*m_entries).*sort)();
    int found = -1;
    for (int e = 0; e < m_entries->EntryCount(); ++e)
        if (m_entries->GetWord(e) == word)
            found = e;
    setCaretTo(EntryOffset{std::max(found, 0), found < 0 ? 1 : offset});
    m_entries->Lines().MarkAllForRepaint();
    UpdateScrollBar();
    update();
    QGuiApplication::restoreOverrideCursor();
}

void TCluesEdit::SortAlphabetically() { sortKeepingCaret(&TEntries::SortAlphabetically); }

void TCluesEdit::SortByLength() { sortKeepingCaret(&TEntries::SortByLength); }

void TCluesEdit::SortByLocation()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_entries->SortByLocation();
    setCaretTo(EntryOffset{0, 1});
    m_entries->Lines().MarkAllForRepaint();
    UpdateScrollBar();
    update();
    QGuiApplication::restoreOverrideCursor();
}

// ---------------------------------------------------------------------------------------------
// Editing

bool TCluesEdit::acceptsChar(QChar c) const
{
    const ushort u = c.unicode();
    if (u < 32 || u == 127 || (u >= 0x80 && u < 0xA0))
        return false;
    return Cp1252::canEncode(c);
}

void TCluesEdit::deleteSelection()
{
    int l1 = m_anchorLine, c1 = m_anchorColumn, l2 = m_caretLine, c2 = m_caretColumn;
    OrderPositions(l1, c1, l2, c2);
    snapshot();
    m_entries->NotifyRange(l1, l2, kEntryRemoved);
    const EntryOffset start = entryOffset(l1, c1);
    m_entries->Lines().DeleteRange(l1, c1, l2, c2);
    setCaretTo(start);
}

void TCluesEdit::typeChar(QChar c)
{
    if (HasSelection())
        deleteSelection();
    snapshotIfNewLine();
    TMyLines &lines = m_entries->Lines();
    m_entries->RememberEntry(m_caretLine);
    EntryOffset after = entryOffset(m_caretLine, m_caretColumn);
    const int entry = after.Entry;
    if (c == kLf) {
        ++after.Entry;
        after.Offset = 1;
    } else {
        ++after.Offset;
    }
    if (m_insertMode || c == kLf)
        lines.InsertCharAt(m_caretLine, m_caretColumn, c);
    else
        lines.OverwriteCharAt(m_caretLine, m_caretColumn, c);
    setCaretTo(after);
    m_entries->NotifyIfChanged(m_entries->FirstLineOfEntry(entry));
    UpdateScrollBar();
}

void TCluesEdit::TypeText(const QString &text)
{
    for (QChar c : text)
        if (acceptsChar(c) || c == kTab)
            typeChar(c);
    m_caretOn = true;
    refresh();
}

// Joining two entries reports the later one as removed and the joined one as changed.
void TCluesEdit::backspace()
{
    if (HasSelection()) {
        deleteSelection();
        return;
    }
    TMyLines &lines = m_entries->Lines();
    const int line = m_caretLine;
    const int column = m_caretColumn;
    if (column == 1 && line == 0)
        return;
    snapshotIfNewLine();
    EntryOffset at = entryOffset(line, column);
    if (column == 1 && lines.IsParagraphStart(line)) {
        m_entries->NotifyAtPosition(line, 1, kEntryRemoved);
        const int previous = line - 1;
        const EntryOffset join = entryOffset(previous, lines.LineLength(previous));
        lines.DeleteCharAt(previous, lines.LineLength(previous));
        setCaretTo(join);
        m_entries->NotifyAtPosition(m_caretLine, m_caretColumn, kEntryChanged);
    } else {
        m_entries->RememberEntry(line);
        if (column == 1)
            lines.DeleteCharAt(line - 1, lines.LineLength(line - 1));
        else
            lines.DeleteCharAt(line, column - 1);
        --at.Offset;
        setCaretTo(at);
        m_entries->NotifyIfChanged(m_entries->FirstLineOfEntry(at.Entry));
    }
    UpdateScrollBar();
}

void TCluesEdit::deleteForward()
{
    if (HasSelection()) {
        deleteSelection();
        return;
    }
    TMyLines &lines = m_entries->Lines();
    int line = m_caretLine;
    int column = m_caretColumn;
    // The end of a wrapped line is the start of the next one.
    if (column > lines.LineLength(line) && !lines.IsParagraphEnd(line)) {
        ++line;
        column = 1;
    }
    if (line >= lines.LineCount() || column > lines.LineLength(line))
        return;
    snapshotIfNewLine();
    const EntryOffset at = entryOffset(line, column);
    if (lines.CharAt(line, column) == kLf) {
        if (line + 1 >= lines.LineCount())
            return; // the last line break stays: it ends the last entry
        m_entries->NotifyAtPosition(line + 1, 1, kEntryRemoved);
        lines.DeleteCharAt(line, column);
        setCaretTo(at);
        m_entries->NotifyAtPosition(m_caretLine, m_caretColumn, kEntryChanged);
    } else {
        m_entries->RememberEntry(line);
        lines.DeleteCharAt(line, column);
        setCaretTo(at);
        m_entries->NotifyIfChanged(m_entries->FirstLineOfEntry(at.Entry));
    }
    UpdateScrollBar();
}

void TCluesEdit::deleteWord()
{
    snapshot();
    if (HasSelection()) {
        deleteSelection();
        return;
    }
    const TMyLines &lines = m_entries->Lines();
    int column = m_caretColumn;
    for (int steps = 0; steps < 10000; ++steps) {
        ++column;
        if (lines.IsPastLineEnd(m_caretLine, column) || lines.IsWordStart(m_caretLine, column))
            break;
    }
    column = std::min(column, lines.TextLength(m_caretLine) + 1);
    if (column <= m_caretColumn)
        return;
    m_entries->NotifyRange(m_caretLine, m_caretLine, kEntryRemoved);
    const EntryOffset at = entryOffset(m_caretLine, m_caretColumn);
    m_entries->Lines().DeleteRange(m_caretLine, m_caretColumn, m_caretLine, column);
    setCaretTo(at);
    UpdateScrollBar();
}

void TCluesEdit::enterKey()
{
    if (m_insertMode) {
        snapshot();
        typeChar(kLf);
    } else if (m_caretLine + 1 < m_entries->Lines().LineCount()) {
        m_caretLine += 1;
        m_caretColumn = 1;
        m_desiredX = ColumnX(m_caretLine, m_caretColumn);
        afterMove(false);
    }
}

void TCluesEdit::moveLeft(bool word)
{
    const TMyLines &lines = m_entries->Lines();
    do {
        if (m_caretColumn > 1) {
            --m_caretColumn;
        } else if (m_caretLine > 0) {
            --m_caretLine;
            m_caretColumn = maxColumn(m_caretLine);
        } else {
            break;
        }
    } while (word && !lines.IsWordStart(m_caretLine, m_caretColumn));
    m_desiredX = ColumnX(m_caretLine, m_caretColumn);
}

void TCluesEdit::moveRight(bool word)
{
    const TMyLines &lines = m_entries->Lines();
    do {
        if (m_caretColumn < maxColumn(m_caretLine)) {
            ++m_caretColumn;
        } else if (m_caretLine + 1 < lines.LineCount()) {
            ++m_caretLine;
            m_caretColumn = 1;
        } else {
            break;
        }
    } while (word && !lines.IsWordStart(m_caretLine, m_caretColumn));
    m_desiredX = ColumnX(m_caretLine, m_caretColumn);
}

void TCluesEdit::moveVertical(int delta)
{
    const int count = m_entries->Lines().LineCount();
    if (delta > 0 && m_caretLine + 1 >= count) {
        if (m_insertMode) {
            m_entries->EnsureTrailingEmptyEntry();
            m_caretLine = m_entries->Lines().LineCount() - 1;
            m_caretColumn = 1;
            UpdateScrollBar();
        }
        return;
    }
    m_caretLine = std::clamp(m_caretLine + delta, 0, count - 1);
    m_caretColumn = columnAtX(m_caretLine, m_desiredX);
}

void TCluesEdit::pageUp()
{
    const int step = std::max(m_visibleLines - 1, 1);
    if (m_topLine == 0) {
        m_caretLine = 0;
    } else {
        const int top = std::max(m_topLine - step, 0);
        m_caretLine = std::max(m_caretLine - (m_topLine - top), 0);
        SetTopLine(top);
    }
    m_caretColumn = columnAtX(m_caretLine, m_desiredX);
}

void TCluesEdit::pageDown()
{
    const int count = m_entries->Lines().LineCount();
    const int step = std::max(m_visibleLines - 1, 1);
    const int top = std::min(m_topLine + step, count - 1);
    if (top == m_topLine) {
        m_caretLine = count - 1;
    } else {
        m_caretLine = std::min(m_caretLine + (top - m_topLine), count - 1);
        SetTopLine(top);
    }
    m_caretColumn = columnAtX(m_caretLine, m_desiredX);
}

void TCluesEdit::undo()
{
    TUndoPosition p = currentPosition();
    if (!m_entries->Lines().Undo(p))
        return;
    restorePosition(p);
    m_entries->NotifyRange(0, m_entries->Lines().LineCount() - 1, kEntryChanged);
    UpdateScrollBar();
}

void TCluesEdit::redo()
{
    TUndoPosition p = currentPosition();
    if (!m_entries->Lines().Redo(p))
        return;
    restorePosition(p);
    m_entries->NotifyRange(0, m_entries->Lines().LineCount() - 1, kEntryChanged);
    UpdateScrollBar();
}

void TCluesEdit::copy()
{
    if (!HasSelection())
        return;
    QGuiApplication::clipboard()->setText(LfToCrLf(SelectedText()));
}

void TCluesEdit::cut()
{
    if (!HasSelection())
        return;
    snapshot();
    copy();
    deleteSelection();
}

// Characters that Windows-1252 cannot hold arrive as "?", so the list saves what is shown.
void TCluesEdit::paste()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText())
        return;
    snapshot();
    QString text = data->text();
    if (text.size() > kPasteLimit) {
        showWarning(kPasteTooLarge);
        text.truncate(kPasteLimit);
    }
    text = RemoveCr(text);
    for (QChar &c : text)
        if (c != kLf && c != kTab && !Cp1252::canEncode(c))
            c = u'?';
    if (HasSelection())
        deleteSelection();
    const int oldLine = m_caretLine;
    EntryOffset after = entryOffset(m_caretLine, m_caretColumn);
    const qsizetype breaks = text.count(kLf);
    if (breaks == 0) {
        after.Offset += int(text.size());
    } else {
        after.Entry += int(breaks);
        after.Offset = int(text.size() - text.lastIndexOf(kLf));
    }
    m_entries->Lines().InsertText(m_caretLine, m_caretColumn, text);
    setCaretTo(after);
    m_entries->NotifyRange(oldLine, m_caretLine, kEntryChanged);
    collapse();
    Relayout();
}

void TCluesEdit::selectAll()
{
    m_anchorLine = 0;
    m_anchorColumn = 1;
    m_caretLine = m_entries->Lines().LineCount() - 1;
    m_caretColumn = maxColumn(m_caretLine);
    m_desiredX = ColumnX(m_caretLine, m_caretColumn);
    scrollToCaret();
}

// ---------------------------------------------------------------------------------------------
// Keys

bool TCluesEdit::handlesShortcut(const QKeyEvent *event) const
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Insert: return mods == Qt::NoModifier || mods == Qt::ControlModifier;
    case Qt::Key_A:
    case Qt::Key_C:
    case Qt::Key_V:
    case Qt::Key_X:
    case Qt::Key_Y:
    case Qt::Key_Z:
        if (mods == Qt::ControlModifier)
            return true;
        break;
    default: break;
    }
    if (mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = event->text();
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [this](QChar c) { return acceptsChar(c); });
}

bool TCluesEdit::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (handlesShortcut(key)) {
            key->accept();
            return true;
        }
    } else if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            HandleKeyPress(key);
            return true;
        }
    }
    return QWidget::event(event);
}

// Tab belongs to the editor: it never moves the focus away.
bool TCluesEdit::focusNextPrevChild(bool) { return false; }

void TCluesEdit::keyPressEvent(QKeyEvent *event) { HandleKeyPress(event); }

void TCluesEdit::HandleKeyPress(QKeyEvent *event)
{
    if (!m_laidOut)
        Relayout();
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    m_caretHidden = false;
    event->accept();
    switch (event->key()) {
    case Qt::Key_Left:
        moveLeft(ctrl);
        afterMove(shift);
        return;
    case Qt::Key_Right:
        moveRight(ctrl);
        afterMove(shift);
        return;
    case Qt::Key_Up:
        if (ctrl && m_topLine > 0)
            SetTopLine(m_topLine - 1);
        moveVertical(-1);
        afterMove(shift);
        return;
    case Qt::Key_Down:
        if (ctrl) {
            int lastWithText = m_entries->Lines().LineCount() - 1;
            while (lastWithText > 0 && m_entries->Lines().TextLength(lastWithText) == 0)
                --lastWithText;
            if (m_topLine < lastWithText)
                SetTopLine(m_topLine + 1);
        }
        moveVertical(1);
        afterMove(shift);
        return;
    case Qt::Key_PageUp:
        if (!ctrl) {
            pageUp();
            afterMove(shift);
        }
        return;
    case Qt::Key_PageDown:
        if (!ctrl) {
            pageDown();
            afterMove(shift);
        }
        return;
    case Qt::Key_End:
        if (ctrl) {
            m_caretLine = m_entries->Lines().LineCount() - 1;
            m_caretColumn = maxColumn(m_caretLine);
            SetTopLine(m_entries->Lines().LineCount() - m_visibleLines / 2);
        } else {
            m_caretColumn = maxColumn(m_caretLine);
        }
        m_desiredX = ColumnX(m_caretLine, m_caretColumn);
        afterMove(shift);
        return;
    case Qt::Key_Home:
        if (ctrl) {
            SetTopLine(0);
            m_caretLine = 0;
        }
        m_caretColumn = 1;
        m_desiredX = ColumnX(m_caretLine, m_caretColumn);
        afterMove(shift);
        return;
    case Qt::Key_Insert:
        if (!ctrl)
            m_insertMode = !m_insertMode;
        refresh();
        return;
    case Qt::Key_Backspace:
        backspace();
        refresh();
        return;
    case Qt::Key_Delete:
        if (ctrl)
            deleteWord();
        else
            deleteForward();
        refresh();
        return;
    case Qt::Key_Tab:
        if (m_convertTabsTo.isEmpty())
            typeChar(kTab);
        else
            for (QChar c : m_convertTabsTo)
                typeChar(c);
        refresh();
        return;
    case Qt::Key_Backtab: return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        enterKey();
        refresh();
        return;
    default: break;
    }
    if (ctrl && !(event->modifiers() & Qt::AltModifier)) {
        switch (event->key()) {
        case Qt::Key_Z:
            if (shift)
                redo();
            else
                undo();
            break;
        case Qt::Key_Y: redo(); break;
        case Qt::Key_A: selectAll(); break;
        case Qt::Key_C: copy(); break;
        case Qt::Key_V: paste(); break;
        case Qt::Key_X: cut(); break;
        default: event->ignore(); return;
        }
        m_caretOn = true;
        refresh();
        return;
    }
    // Alt with a key is a menu or system key, not typing.
    if (!ctrl && (event->modifiers() & (Qt::AltModifier | Qt::MetaModifier))) {
        event->ignore();
        return;
    }
    const QString text = event->text();
    bool typed = false;
    for (QChar c : text) {
        if (acceptsChar(c)) {
            typeChar(c);
            typed = true;
        }
    }
    if (!typed) {
        event->ignore();
        return;
    }
    m_caretOn = true;
    refresh();
}

// ---------------------------------------------------------------------------------------------
// Mouse

void TCluesEdit::selectEntryAtCaret()
{
    const TMyLines &lines = m_entries->Lines();
    const int first = lines.ParagraphFirstLine(m_caretLine);
    const int last = lines.ParagraphLastLine(first);
    m_anchorLine = first;
    m_anchorColumn = 1;
    if (last + 1 < lines.LineCount()) {
        m_caretLine = last + 1;
        m_caretColumn = 1;
    } else {
        m_caretLine = last;
        m_caretColumn = lines.LineLength(last) + 1;
    }
}

void TCluesEdit::selectWordAtCaret()
{
    // Start from the character under the caret, so that a caret already at a word's start keeps
    // that word.
    if (m_caretColumn < maxColumn(m_caretLine))
        ++m_caretColumn;
    moveLeft(true);
    const int startLine = m_caretLine;
    const int startColumn = m_caretColumn;
    moveRight(true);
    if (m_caretLine > startLine && m_caretColumn == 1)
        moveLeft(false);
    m_anchorLine = startLine;
    m_anchorColumn = startColumn;
    m_desiredX = ColumnX(m_caretLine, m_caretColumn);
}

void TCluesEdit::mousePressEvent(QMouseEvent *event)
{
    m_justLoaded = false;
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton || m_doubleClickActive)
        return;
    if (!m_laidOut)
        Relayout();
    const quint64 now = event->timestamp();
    if (m_haveDoubleClick && now >= m_lastDoubleClick && now - m_lastDoubleClick <= quint64(kMultiClickMs)) {
        selectEntryAtCaret();
        m_releaseConsumed = true;
        refresh();
        return;
    }
    int line, column;
    positionFromPoint(event->position().toPoint(), line, column);
    const bool below = event->position().y() >= LineY(m_entries->Lines().LineCount() - 1) + m_lineHeight &&
                       LineY(m_entries->Lines().LineCount() - 1) >= 0;
    if (below) {
        m_entries->EnsureTrailingEmptyEntry();
        UpdateScrollBar();
        positionFromPoint(event->position().toPoint(), line, column);
    }
    m_caretLine = line;
    m_caretColumn = column;
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    clampCaret();
    if (!extend)
        collapse();
    m_desiredX = ColumnX(m_caretLine, m_caretColumn);
    m_buttonDown = true;
    m_caretHidden = true;
    refresh();
}

void TCluesEdit::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton) || m_doubleClickActive || m_justLoaded || !m_buttonDown)
        return;
    QPoint p = event->position().toPoint();
    if (p.y() < 0 && m_topLine > 0)
        SetTopLine(m_topLine - 1);
    else if (p.y() >= height() && m_topLine + 1 < m_entries->Lines().LineCount())
        SetTopLine(m_topLine + 1);
    p.setY(std::clamp(p.y(), 0, std::max(height() - 1, 0)));
    int line, column;
    positionFromPoint(p, line, column);
    m_caretLine = line;
    m_caretColumn = column;
    clampCaret();
    m_desiredX = ColumnX(m_caretLine, m_caretColumn);
    if (m_caretLine > lastFullyVisibleLine())
        scrollToCaret();
    refresh();
}

void TCluesEdit::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_buttonDown = false;
    m_caretHidden = false;
    if (m_releaseConsumed) {
        m_releaseConsumed = false;
        refresh();
        return;
    }
    if (m_justLoaded || m_doubleClickActive) {
        m_justLoaded = false;
        m_doubleClickActive = false;
        refresh();
        return;
    }
    int line, column;
    positionFromPoint(event->position().toPoint(), line, column);
    const int lastLine = m_entries->Lines().LineCount() - 1;
    if (LineY(lastLine) >= 0 && event->position().y() >= LineY(lastLine) + m_lineHeight) {
        m_entries->EnsureTrailingEmptyEntry();
        UpdateScrollBar();
        positionFromPoint(event->position().toPoint(), line, column);
    }
    m_caretLine = line;
    m_caretColumn = column;
    clampCaret();
    m_desiredX = ColumnX(m_caretLine, m_caretColumn);
    m_caretOn = true;
    refresh();
}

void TCluesEdit::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_lastDoubleClick = event->timestamp();
    m_haveDoubleClick = true;
    m_doubleClickActive = true;
    selectWordAtCaret();
    refresh();
}

void TCluesEdit::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    m_caretOn = true;
    const int flash = QApplication::cursorFlashTime();
    if (flash > 0)
        m_blinkTimer->start(flash / 2);
    refresh();
}

void TCluesEdit::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    m_blinkTimer->stop();
    refresh();
}

// ---------------------------------------------------------------------------------------------
// TCluesEditInstanceManager

TCluesEditInstanceManager &TCluesEditInstanceManager::Instance()
{
    static TCluesEditInstanceManager manager;
    return manager;
}

void TCluesEditInstanceManager::installFilter()
{
    if (!m_filterInstalled && qApp) {
        qApp->installEventFilter(this);
        m_filterInstalled = true;
        connect(qApp, &QObject::destroyed, this, [this] { m_filterInstalled = false; });
    }
}

bool TCluesEditInstanceManager::Register(TCluesEdit *editor)
{
    installFilter();
    for (Slot &slot : m_slots) {
        if (!slot.InUse) {
            slot = Slot{true, false, editor};
            return true;
        }
    }
    return false;
}

void TCluesEditInstanceManager::Unregister(TCluesEdit *editor)
{
    for (Slot &slot : m_slots)
        if (slot.InUse && slot.Editor == editor)
            slot = Slot{};
}

void TCluesEditInstanceManager::RecordWindow(TCluesEdit *editor)
{
    for (Slot &slot : m_slots)
        if (slot.InUse && slot.Editor == editor)
            slot.WindowKnown = true;
}

TCluesEdit *TCluesEditInstanceManager::FocusedEditor() const
{
    for (const Slot &slot : m_slots)
        if (slot.InUse && slot.Editor->hasFocus())
            return slot.WindowKnown ? slot.Editor : nullptr;
    return nullptr;
}

// Tab, Enter and the arrows go to the focused editor before focus navigation, default buttons
// or shortcuts can take them.
bool TCluesEditInstanceManager::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride) ||
        !watched->isWidgetType())
        return false;
    const int key = static_cast<QKeyEvent *>(event)->key();
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right: break;
    default: return false;
    }
    // Only keys on their way to the editor: a popup menu opened over it gets its own keys even
    // though the editor keeps the focus meanwhile.
    TCluesEdit *editor = FocusedEditor();
    if (!editor || watched != editor)
        return false;
    if (type == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    if (type == QEvent::KeyPress)
        editor->HandleKeyPress(static_cast<QKeyEvent *>(event));
    return true;
}
