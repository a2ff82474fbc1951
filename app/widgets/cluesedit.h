// The word-and-clue editor: a custom widget that draws each entry's label, word, separator and
// clue in their own colours, with its own caret, selection, keys, mouse, clipboard and undo.
#pragma once

#include "lines.h"
#include "pagetypes.h"
#include "spellcheck.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <array>
#include <memory>

class QScrollBar;
class QTimer;
class QKeyEvent;

enum TParaMark {
    pmNone,
    pmLine,
    pmSpace,
    pmSpaceLine
};
enum TScrollStyle {
    ssNone,
    ssHorizontal,
    ssVertical,
    ssBoth
};

class TCluesEdit : public QWidget, public TSpellingEntryList
{
    Q_OBJECT

public:
    explicit TCluesEdit(QWidget *parent = nullptr);
    ~TCluesEdit() override;

    // Properties.
    QColor AnswerColor() const { return m_answerColor; }
    void SetAnswerColor(const QColor &c);
    bool AnswerInCaps() const { return m_answerInCaps; }
    void SetAnswerInCaps(bool on) { m_answerInCaps = on; }
    QColor ClueColor() const { return m_clueColor; }
    void SetClueColor(const QColor &c);
    int ClueSpacing() const { return m_clueSpacing; }
    void SetClueSpacing(int n);
    QString ConvertTabsTo() const { return m_convertTabsTo; }
    void SetConvertTabsTo(const QString &text) { m_convertTabsTo = text; }
    QColor SeparatorColor() const { return m_separatorColor; }
    void SetSeparatorColor(const QColor &c);
    QFont SlotsFont() const { return m_slotsFont; }
    void SetSlotsFont(const QFont &f);
    // The slot font's colour (a font carries its colour in the original toolkit).
    QColor SlotsFontColor() const { return m_slotsFontColor; }
    void SetSlotsFontColor(const QColor &c);
    QColor SlotsColor() const { return m_slotsColor; }
    void SetSlotsColor(const QColor &c);
    TParaMark ParaMark() const { return m_paraMark; }
    void SetParaMark(TParaMark mark);
    TScrollStyle Scrollbars() const { return m_scrollbars; }
    void SetScrollbars(TScrollStyle style);
    int SlotsLeft() const { return m_slotsLeft; }
    void SetSlotsLeft(int n) { m_slotsLeft = n; }
    int SlotsRight() const { return m_slotsRight; }
    void SetSlotsRight(int n);
    int TabAlignX() const { return m_tabAlignX; }
    void SetTabAlignX(int n) { m_tabAlignX = n; }
    QString TextFontName() const { return m_textFontName; }
    void SetTextFontName(const QString &name);
    int TextFontSize() const { return m_textFontSize; }
    void SetTextFontSize(int size);
    TFontStyles TextFontStyles() const { return m_textFontStyles; }
    void SetTextFontStyles(TFontStyles styles);
    int TextMarginLeft() const { return m_textMarginLeft; }
    void SetTextMarginLeft(int n);
    int TextMarginRight() const { return m_textMarginRight; }
    void SetTextMarginRight(int n);

    // Operations of the program (entries are 0-based).
    int AddEntry(const QString &text);
    void ReplaceEntry(int entry, const QString &text) override;
    void DeleteEntry(int entry);
    void SetChangeCallbacks(TEntryChangedProc wordChanged, TEntryChangedProc clueChanged);
    void Relayout();
    void Prepare() {}
    void UpdateCaret();
    QString GetAllText() const;
    // SetAllText, Clear and LoadFromFile replace or extend the text as the program's doing: the
    // editor's own undo history starts afresh with them.
    void SetAllText(const QString &text);
    void NotifyAllChanged();
    int EntryCount() const override { return m_entries->EntryCount(); }
    int WordCount() const;
    QString GetWord(int entry) const { return m_entries->GetWord(entry); }
    QString GetClue(int entry) const { return m_entries->GetClue(entry); }
    QString GetEntryText(int entry) const override { return StripLineBreak(m_entries->GetEntryText(entry)); }
    QString GetSlotLabel(int entry) const override { return m_entries->GetEntrySlotLabel(entry); }
    void SetSlotLabel(int entry, const QString &label);
    void ClearSlotLabels();
    void MarkSaved() { m_entries->Lines().MarkSaved(); }
    bool IsSaved() const { return m_entries->Lines().IsSaved(); }
    void Clear();
    bool LoadFromFile(const QString &name);
    bool SaveToFile(const QString &name);
    void SortAlphabetically();
    void SortByLength();
    void SortByLocation();
    void UpdateScrollBar();

    TEntries &Entries() override { return *m_entries; }
    const TEntries &Entries() const { return *m_entries; }

    // Caret and selection (line 0-based, column 1-based).
    int CaretLine() const { return m_caretLine; }
    int CaretColumn() const { return m_caretColumn; }
    int AnchorLine() const { return m_anchorLine; }
    int AnchorColumn() const { return m_anchorColumn; }
    void SetCaret(int line, int column, bool extendSelection = false);
    bool HasSelection() const;
    QString SelectedText() const;
    bool InsertMode() const { return m_insertMode; }
    int TopLine() const { return m_topLine; }
    void SetTopLine(int line);
    bool LaidOut() const { return m_laidOut; }
    int LineHeight() const { return m_lineHeight; }
    int GapHeight() const { return m_gapHeight; }
    int TextLeft() const { return m_slotsRight + m_textMarginLeft; }
    int CaretWidth() const;
    // Top of a display line's row (below its gap), relative to the widget; -1 when not shown.
    int LineY(int line) const;
    // The pixel x of a column on a display line.
    int ColumnX(int line, int column) const;

    // Keys re-sent by the instance manager (Tab, Enter and the arrows) and all others.
    void HandleKeyPress(QKeyEvent *event);
    // Typed text at the caret, as if keyed.
    void TypeText(const QString &text);

    static constexpr int kPasteLimit = 150000;
    static constexpr int kMultiClickMs = 500;

protected:
    bool event(QEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void sortKeepingCaret(void (TEntries::*sort)());
    class Canvas;
    struct EntryOffset {
        int Entry = 0;
        int Offset = 1;
    };

    void applyFonts();
    void fontsChanged();
    int textWidth() const;
    int wrapWidth() const;
    bool rowHasGap(int line) const;
    int rowHeight(int line) const;
    int lastFullyVisibleLine() const;
    int lastVisibleLine() const;
    void scrollToCaret();
    void positionFromPoint(const QPoint &p, int &line, int &column) const;
    int columnAtX(int line, int x) const;
    int maxColumn(int line) const;
    void clampCaret();
    void collapse();
    void afterMove(bool extend);
    EntryOffset entryOffset(int line, int column) const;
    void placeAt(const EntryOffset &where, int &line, int &column) const;
    void setCaretTo(const EntryOffset &where);
    TUndoPosition currentPosition() const;
    void restorePosition(const TUndoPosition &p);
    void snapshot();
    void snapshotIfNewLine();
    void selectionSpan(int line, int &start, int &end) const;
    void deleteSelection();
    void typeChar(QChar c);
    void backspace();
    void deleteForward();
    void deleteWord();
    void enterKey();
    void moveLeft(bool word);
    void moveRight(bool word);
    void moveVertical(int delta);
    void pageUp();
    void pageDown();
    void undo();
    void redo();
    void copy();
    void cut();
    void paste();
    void selectAll();
    void selectWordAtCaret();
    void selectEntryAtCaret();
    void refresh();
    void drawLine(int line, QImage &image);
    void buildGapImage();
    void caretBlink();
    bool acceptsChar(QChar c) const;
    bool handlesShortcut(const QKeyEvent *event) const;

    std::unique_ptr<TEntries> m_entries;
    std::unique_ptr<Canvas> m_canvas;

    QColor m_answerColor = Qt::black;
    bool m_answerInCaps = false;
    QColor m_clueColor = Qt::black;
    int m_clueSpacing = 0;
    QString m_convertTabsTo;
    QColor m_separatorColor = Qt::black;
    QFont m_slotsFont;
    QColor m_slotsFontColor = Qt::black;
    QColor m_slotsColor;
    TParaMark m_paraMark = pmSpaceLine;
    TScrollStyle m_scrollbars = ssNone;
    int m_slotsLeft = 1;
    int m_slotsRight = 26;
    int m_tabAlignX = 0;
    QString m_textFontName = QStringLiteral("MS Sans Serif");
    int m_textFontSize = 8;
    TFontStyles m_textFontStyles = 0;
    int m_textMarginLeft = 3;
    int m_textMarginRight = 0;

    QFont m_textFont;
    int m_caretLine = 0;
    int m_caretColumn = 1;
    int m_anchorLine = 0;
    int m_anchorColumn = 1;
    int m_desiredX = 0;
    bool m_insertMode = true;
    int m_topLine = 0;
    int m_visibleLines = 1;
    int m_lineHeight = 13;
    int m_gapHeight = 5;
    bool m_laidOut = false;

    bool m_buttonDown = false;
    quint64 m_lastDoubleClick = 0;
    bool m_haveDoubleClick = false;
    bool m_doubleClickActive = false;
    bool m_releaseConsumed = false;
    bool m_justLoaded = false;

    bool m_caretOn = true;
    bool m_caretHidden = false;
    QTimer *m_blinkTimer = nullptr;
    QScrollBar *m_scrollBar = nullptr;
    QImage m_lineImage;
    QImage m_gapImage;
    int m_paintedRows = 0;
    int m_drawnCaretLine = -1;
};

// Routes Tab, Enter and the arrow keys to the focused editor before dialogs or shortcuts see
// them; every editor registers itself (up to 21 are tracked).
class TCluesEditInstanceManager : public QObject
{
    Q_OBJECT

public:
    static constexpr int kSlots = 21;
    static TCluesEditInstanceManager &Instance();

    bool Register(TCluesEdit *editor);
    void Unregister(TCluesEdit *editor);
    // Called from the editor's paint: from then on its keys are routed.
    void RecordWindow(TCluesEdit *editor);
    TCluesEdit *FocusedEditor() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TCluesEditInstanceManager() = default;
    void installFilter();

    struct Slot {
        bool InUse = false;
        bool WindowKnown = false;
        TCluesEdit *Editor = nullptr;
    };
    std::array<Slot, kSlots> m_slots{};
    bool m_filterInstalled = false;
};
