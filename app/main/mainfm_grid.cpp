// Grid editing in the document view: the tools, typing at the key cursor, pattern painting,
// erasing letters and words, and the zoom tool.
#include "mainfm.h"

#include "alphabet.h"
#include "checkpts.h"
#include "cluespg.h"
#include "cp1252.h"
#include "globals.h"
#include "layoutsettings.h"
#include "trv600.h"
#include "viewpaint.h"
#include "viewport.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QToolButton>

#include <algorithm>

namespace {

const QString PenciledCaption = QStringLiteral("Penciled-In Grid*");

bool isAsciiLetterCell(QChar c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// One step of the key cursor with the wrapping of the arrow keys: across runs on to the next
// row, down to the next column; past the end to the first cell, before the start to the last.
void stepCell(int key, int &c, int &r)
{
    switch (key) {
    case Qt::Key_Right:
        if (++c > Columns) {
            c = 1;
            if (++r > Rows)
                r = 1;
        }
        break;
    case Qt::Key_Left:
        if (--c < 1) {
            c = Columns;
            if (--r < 1)
                r = Rows;
        }
        break;
    case Qt::Key_Down:
        if (++r > Rows) {
            r = 1;
            if (++c > Columns)
                c = 1;
        }
        break;
    case Qt::Key_Up:
        if (--r < 1) {
            r = Rows;
            if (--c < 1)
                c = Columns;
        }
        break;
    default: break;
    }
}

} // namespace

// ---- Tools ------------------------------------------------------------------------------------------

void TMainFm::SetToolButton(QToolButton *button, bool down)
{
    const QSignalBlocker quiet(button);
    button->setChecked(down);
}

void TMainFm::UpdateToolControls()
{
    // One tool at a time; all buttons may be up.
    SetToolButton(VPCursorLetterSpBtn, ViewTool == 1 || ViewTool == 2);
    SetToolButton(EraseLettersSpBtn, ViewTool == 3);
    SetToolButton(RejectWordSpBtn, ViewTool == 11);
    SetToolButton(ZoomInSpBtn, ViewTool == 14);
    if (ViewTool != 0)
        SetToolButton(PatternEditSpBtn, false);
    VPCursorLetterSpBtn->setIcon(
        QIcon(Glyphs.value(TypingDirection == 2 ? QStringLiteral("LETTER_D") : QStringLiteral("LETTER_A"))));
    TypingDirectionGlyph =
        Glyphs.value(TypingDirection == 2 ? QStringLiteral("LETTER_D") : QStringLiteral("LETTER_A"));
    mGridCursorPattern->setChecked(PatternEditSpBtn->isChecked());
    mGridCursorAlpha->setChecked(VPCursorLetterSpBtn->isChecked());
    mGridCursorEraseLetter->setChecked(EraseLettersSpBtn->isChecked());
    mGridCursorEraseWord->setChecked(RejectWordSpBtn->isChecked());
    UpdateViewCursor();
}

void TMainFm::UpdateViewCursor()
{
    if (!ViewPort)
        return;
    const bool gridPage = CurrentPage == PuzzlePage;
    int number = 0;
    if (PatternEditSpBtn->isChecked() && gridPage)
        number = PatternCursor;
    else if (ViewTool == 14 || (gridPage && ViewTool != 0))
        number = ViewTool;
    if (Cursors.contains(number))
        ViewPort->setCursor(Cursors.value(number));
    else
        ViewPort->unsetCursor();
}

void TMainFm::PatternEditSpBtnClick()
{
    EraseFixedLettersNext = false;
    ShowKeyCursor(KeyCursorCol, KeyCursorRow, false);
    if (PatternEditSpBtn->isChecked()) {
        ViewTool = 0;
        ShowViewTabIfOther(PenciledCaption);
    } else {
        ViewTool = 0;
    }
    UpdateToolControls();
}

void TMainFm::VPCursorLetterSpBtnClick()
{
    EraseFixedLettersNext = false;
    ShowViewTabIfOther(PenciledCaption);
    ShowKeyCursor(KeyCursorCol, KeyCursorRow, false);
    // A second press of the active typing tool turns the typing direction.
    if ((ViewHasFocus() && ViewTool == 1) || ViewTool == 2)
        TypingDirection = TypingDirection == 1 ? 2 : 1;
    ViewTool = TypingDirection;
    UpdateToolControls();
    ViewPortFocus->setFocus(Qt::OtherFocusReason);
    VPKeyCursorUpdate();
}

void TMainFm::ToggleViewTool(int tool)
{
    EraseFixedLettersNext = false;
    if (tool != 14)
        ShowViewTabIfOther(PenciledCaption);
    ShowKeyCursor(KeyCursorCol, KeyCursorRow, false);
    ViewTool = ViewTool == tool ? 0 : tool;
    UpdateToolControls();
}

void TMainFm::EraseLettersSpBtnClick() { ToggleViewTool(3); }
void TMainFm::RejectWordSpBtnClick() { ToggleViewTool(11); }
void TMainFm::ZoomInSpBtnClick() { ToggleViewTool(14); }

void TMainFm::mGridCursorPatternClick()
{
    PatternEditSpBtn->setChecked(!PatternEditSpBtn->isChecked());
    PatternEditSpBtnClick();
}

void TMainFm::mGridCursorAlphaClick() { VPCursorLetterSpBtnClick(); }
void TMainFm::mGridCursorEraseLetterClick() { EraseLettersSpBtnClick(); }
void TMainFm::mGridCursorEraseWordClick() { RejectWordSpBtnClick(); }

// ---- Key cursor -------------------------------------------------------------------------------------

bool TMainFm::ViewHasFocus() const { return ViewPortFocus && ViewPortFocus->hasFocus(); }

void TMainFm::VPKeyCursorUpdate()
{
    const bool show = ViewHasFocus() && CurrentPage == PuzzlePage && (ViewTool == 1 || ViewTool == 2);
    ShowKeyCursor(KeyCursorCol, KeyCursorRow, show);
}

void TMainFm::ShowKeyCursor(int column, int row, bool show)
{
    KeyCursorTimer->stop();
    if (m_keyCursorDrawn) {
        m_keyCursorDrawn = false;
        ViewPort->SetKeyCursorMark({});
    }
    if (!show)
        return;
    DrawKeyCursor(column, row);
    m_keyCursorDrawnCol = column;
    m_keyCursorDrawnRow = row;
    KeyCursorTimer->start();
}

void TMainFm::DrawKeyCursor(int column, int row)
{
    // Each call inverts the mark: drawn, then gone, as an exclusive-or drawing would.
    m_keyCursorDrawn = !m_keyCursorDrawn;
    TViewPort::TKeyCursorMark mark;
    mark.Shown = m_keyCursorDrawn;
    mark.Cell = CellRect(column, row);
    mark.Inset = std::max(1, GridLinePixelWidth);
    mark.Direction = TypingDirection;
    ViewPort->SetKeyCursorMark(mark);
}

void TMainFm::KeyCursorTimerTimer() { DrawKeyCursor(m_keyCursorDrawnCol, m_keyCursorDrawnRow); }

void TMainFm::ViewPortFocusExit() { VPKeyCursorUpdate(); }

// ---- Keys -------------------------------------------------------------------------------------------

bool TMainFm::ViewKeyEvent(QKeyEvent *event)
{
    if (FormKeyDown(event->key()))
        return true;
    const QString text = event->text();
    if (text.size() == 1 && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return FormKeyPress(text.at(0));
    return false;
}

bool TMainFm::FormKeyDown(int key)
{
    if (!ViewHasFocus() || (ViewTool != 1 && ViewTool != 2))
        return false;
    switch (key) {
    case Qt::Key_Right:
    case Qt::Key_Left:
    case Qt::Key_Down:
    case Qt::Key_Up: stepCell(key, KeyCursorCol, KeyCursorRow); break;
    case Qt::Key_Backspace: {
        stepCell(ViewTool == 2 ? Qt::Key_Up : Qt::Key_Left, KeyCursorCol, KeyCursorRow);
        const char code = TRVGetCell(KeyCursorCol, KeyCursorRow);
        if (code != TRV_BLOCK && code != TRV_REMOVED) {
            // Part of the typing run: one undo step with the letters typed before it.
            TakeCheckPoint(TCheckPointKind::Typing, QStringLiteral("typing of fixed letters"));
            ShowKeyCursor(KeyCursorCol, KeyCursorRow, false);
            SetCellLetter(KeyCursorCol, KeyCursorRow, QChar(TRV_EMPTY));
            SetModified();
            DrawCell(KeyCursorCol, KeyCursorRow);
            UpdateAnswersAtCell(KeyCursorCol, KeyCursorRow);
        }
        break;
    }
    default: return false;
    }
    VPKeyCursorUpdate();
    return true;
}

bool TMainFm::FormKeyPress(QChar key)
{
    if (!ViewHasFocus() || (ViewTool != 1 && ViewTool != 2))
        return false;
    // Only characters of the Windows-1252 set reach the grid.
    bool ok = false;
    Cp1252::fromChar(key, &ok);
    if (!ok || (key != QLatin1Char(' ') && !IsAlphabetChar(key)))
        return false;
    const char code = TRVGetCell(KeyCursorCol, KeyCursorRow);
    if (code != TRV_BLOCK && code != TRV_REMOVED) {
        TakeCheckPoint(TCheckPointKind::Typing, QStringLiteral("typing of fixed letters"));
        ShowKeyCursor(KeyCursorCol, KeyCursorRow, false);
        QChar letter = key;
        if (letter >= 'a' && letter <= 'z')
            letter = letter.toUpper();
        SetCellLetter(KeyCursorCol, KeyCursorRow, letter == QLatin1Char(' ') ? QChar(TRV_EMPTY) : letter);
        SetModified();
        DrawCell(KeyCursorCol, KeyCursorRow);
        UpdateAnswersAtCell(KeyCursorCol, KeyCursorRow);
    }
    stepCell(TypingDirection == 2 ? Qt::Key_Down : Qt::Key_Right, KeyCursorCol, KeyCursorRow);
    VPKeyCursorUpdate();
    return true;
}

// ---- Mouse ------------------------------------------------------------------------------------------

bool TMainFm::CellAtPoint(int x, int y, int *column, int *row) const
{
    *column = *row = -1;
    if (Columns < 1 || Rows < 1)
        return false;
    const TPixelRect first = CellPixelRect(1, 1);
    const TPixelRect last = CellPixelRect(Columns, Rows);
    if (x < first.Left || x >= last.Right || y < first.Top || y >= last.Bottom)
        return false;
    // An estimate from the cell size, corrected cell by cell (at most across the whole grid).
    const double cellX = std::max(1e-9, (last.Right - first.Left) / double(Columns));
    const double cellY = std::max(1e-9, (last.Bottom - first.Top) / double(Rows));
    int c = std::clamp(int((x - first.Left) / cellX) + 1, 1, Columns);
    int r = std::clamp(int((y - first.Top) / cellY) + 1, 1, Rows);
    for (int steps = 0; steps < Columns + Rows; ++steps) {
        const TPixelRect cell = CellPixelRect(c, r);
        int dc = x < cell.Left ? -1 : (x >= cell.Right ? 1 : 0);
        int dr = y < cell.Top ? -1 : (y >= cell.Bottom ? 1 : 0);
        if (dc == 0 && dr == 0)
            break;
        c = std::clamp(c + dc, 1, Columns);
        r = std::clamp(r + dr, 1, Rows);
    }
    *column = c;
    *row = r;
    return true;
}

bool TMainFm::PassesCornerRule(int column, int row, const QPoint &at) const
{
    // A drag takes a new cell only away from its corners, so a diagonal drag does not catch
    // the cells beside the corner it passes.
    const TPixelRect cell = CellPixelRect(column, row);
    const int m = std::min(cell.Right - cell.Left, cell.Bottom - cell.Top) / 3;
    const int dx1 = at.x() - cell.Left, dx2 = cell.Right - at.x();
    const int dy1 = at.y() - cell.Top, dy2 = cell.Bottom - at.y();
    return dx1 + dy1 > m && dx2 + dy1 > m && dx1 + dy2 > m && dx2 + dy2 > m;
}

void TMainFm::ViewPortMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint &at)
{
    const bool hadFocus = ViewHasFocus();
    ViewPortFocus->setFocus(Qt::MouseFocusReason);
    int c = -1, r = -1;
    const bool overCell = CellAtPoint(at.x(), at.y(), &c, &r);
    const bool gridPage = CurrentPage == PuzzlePage;
    const bool right = button == Qt::RightButton;

    if ((ViewTool == 1 || ViewTool == 2) && overCell) {
        if (hadFocus && c == KeyCursorCol && r == KeyCursorRow) {
            ShowKeyCursor(KeyCursorCol, KeyCursorRow, false);
            TypingDirection = TypingDirection == 1 ? 2 : 1;
            ViewTool = TypingDirection;
            UpdateToolControls();
        } else {
            KeyCursorCol = c;
            KeyCursorRow = r;
        }
        VPKeyCursorUpdate();
        return;
    }
    if (PatternEditSpBtn->isChecked() && gridPage && overCell) {
        TakeCheckPoint(TCheckPointKind::Pattern, QStringLiteral("pattern change"));
        const char code = TRVGetCell(c, r);
        if (right)
            m_paintCode = code == TRV_REMOVED ? TRV_EMPTY : TRV_REMOVED;
        else
            m_paintCode = code == TRV_BLOCK ? TRV_EMPTY : TRV_BLOCK;
        TRVMouseEvent('D');
        TRVSetCell(c, r, m_paintCode);
        SetModified();
        CluesNeedRebuild = true;
        m_pressCol = m_lastCol = c;
        m_pressRow = m_lastRow = r;
        return;
    }
    if (ViewTool == 3 && overCell) {
        m_pressCol = c;
        m_pressRow = r;
        if (isAsciiLetterCell(GetCellLetter(c, r))) {
            TakeCheckPoint(TCheckPointKind::Letters, QStringLiteral("erase letters"));
            SetCellLetter(c, r, QChar(TRV_EMPTY));
            SetModified(); // the erase is an edit of its own and must not be lost at close
            DrawCell(c, r);
            UpdateAnswersAtCell(c, r);
            m_lastCol = c;
            m_lastRow = r;
        }
        return;
    }
    if (ViewTool == 11 && overCell) {
        if (!IsLetterOrOpen(GetCellLetter(c, r)))
            return;
        if (right)
            TakeCheckPoint(TCheckPointKind::RejectWord, QStringLiteral("reject word"));
        else
            TakeCheckPoint(TCheckPointKind::Letters, QStringLiteral("erase word"));
        m_pressCol = c;
        m_pressRow = r;
        m_pressShift = modifiers & Qt::ShiftModifier;
        m_pressRight = right;
        m_bandState = 0;
        DrawWordRubberBand(c, r);
        return;
    }
    if (ViewTool == 14) {
        double factor = 1;
        if (button == Qt::LeftButton && Zoom < 500)
            factor = 1.33;
        else if (right && Zoom > 10)
            factor = 0.75;
        // The page point under the pointer stays where it is.
        double px = 0, py = 0;
        PixelToPage(at.x(), at.y(), &px, &py);
        double x = px + (ViewCenterX - px) / factor;
        double y = py + (ViewCenterY - py) / factor;
        x = std::clamp(x, 0.0,
                       std::max(PaperWidth, GridTileColumns * PrintableWidth() + PageRightMarginSum()));
        y = std::clamp(y, 0.0,
                       std::max(PaperHeight, GridTileRows * PrintableHeight() + PageBottomMarginSum()));
        FreeZoom(Zoom * factor, x, y);
        TRVInvalidateDisplay();
        InvalidateView();
        return;
    }
    if (ViewTool == 0 && !PatternEditSpBtn->isChecked()) {
        QString text = QStringLiteral("This preview area can be used to edit the grid but not the clues.") +
                       QStringLiteral("\r\n\r\n") + QStringLiteral("To edit the clues, ") +
                       QStringLiteral("click on the \"Your Words & Clues\" tab ");
        if (TightRB->isChecked())
            text += QStringLiteral("(or \"Other Clues\" tab) ");
        text += QStringLiteral("at right and make your changes there. ") + QStringLiteral("\r\n\r\n") +
                QStringLiteral("Most people never need to edit the grid manually. ") +
                QStringLiteral("However, if you want direct control of the grid, ") +
                QStringLiteral("use the buttons with arrows pointing ") +
                QStringLiteral("diagonally up and left. ") +
                QStringLiteral("Hold your mouse pointer over each button to read what these tools do.");
        ShowBalloon(text, geometry().left() + 80, 90, geometry().top() + 120);
    }
}

void TMainFm::ViewPortMouseMove(Qt::MouseButtons buttons, const QPoint &at)
{
    UpdateCaption();
    if (buttons == Qt::NoButton || m_pressCol < 0)
        return;
    int c = -1, r = -1;
    if (!CellAtPoint(at.x(), at.y(), &c, &r))
        return;
    const bool gridPage = CurrentPage == PuzzlePage;
    if (PatternEditSpBtn->isChecked() && gridPage) {
        if ((c != m_lastCol || r != m_lastRow) && PassesCornerRule(c, r, at)) {
            TRVSetCell(c, r, m_paintCode);
            CluesNeedRebuild = true;
            m_lastCol = c;
            m_lastRow = r;
        }
        return;
    }
    if (ViewTool == 3 && (buttons & Qt::LeftButton)) {
        if ((c != m_lastCol || r != m_lastRow) && PassesCornerRule(c, r, at) &&
            isAsciiLetterCell(GetCellLetter(c, r))) {
            SetCellLetter(c, r, QChar(TRV_EMPTY));
            SetModified();
            DrawCell(c, r);
            UpdateAnswersAtCell(c, r);
            m_lastCol = c;
            m_lastRow = r;
        }
        return;
    }
    if (ViewTool == 11) {
        int state = 0;
        if (r == m_pressRow && c != m_pressCol)
            state = 1;
        else if (c == m_pressCol && r != m_pressRow)
            state = 2;
        if (state != m_bandState) {
            m_bandState = state;
            DrawWordBand(state);
        }
    }
}

void TMainFm::ViewPortMouseUp(Qt::MouseButton, const QPoint &)
{
    const bool gridPage = CurrentPage == PuzzlePage;
    if (PatternEditSpBtn->isChecked() && m_pressCol >= 0 && gridPage) {
        TRVMouseEvent('U');
        UpdateWordSlotCount();
        m_pressCol = m_pressRow = -1;
        CluesNeedRebuild = true;
        if (!m_workBitmap.isNull()) {
            QPainter canvas(&m_workBitmap);
            VP_DrawAllClues(canvas);
        }
        UpdateThemeFitCount();
        return;
    }
    if (ViewTool == 11 && m_pressCol >= 0) {
        ViewPort->SetWordBand(QRect(), 1);
        ViewPort->SetPressFrame(QRect());
        const QString word = TakeWordAt(m_pressCol, m_pressRow, m_bandState).toUpper();
        if (m_bandState != 0)
            SetModified();
        if (m_pressRight && !word.isEmpty() && !word.contains(QLatin1Char('-'))) {
            const QStringList rejected = GlueRejectWordsMemo->toPlainText().split(QLatin1Char('\n'));
            if (!rejected.contains(word))
                GlueRejectWordsMemo->appendPlainText(word);
        }
        m_bandState = 0;
        m_pressCol = m_pressRow = -1;
        return;
    }
    m_pressCol = m_pressRow = -1;
}

// ---- Word band --------------------------------------------------------------------------------------

void TMainFm::DrawWordRubberBand(int column, int row) { ViewPort->SetPressFrame(CellRect(column, row)); }

void TMainFm::DrawWordBand(int direction)
{
    if (direction != 1 && direction != 2) {
        ViewPort->SetWordBand(QRect(), 1);
        return;
    }
    const int dc = direction == 1 ? 1 : 0;
    const int dr = direction == 2 ? 1 : 0;
    int c0 = m_pressCol, r0 = m_pressRow, c1 = m_pressCol, r1 = m_pressRow;
    auto part = [](int c, int r) {
        return c >= 1 && c <= Columns && r >= 1 && r <= Rows && IsLetterOrOpen(GetCellLetter(c, r));
    };
    while (part(c0 - dc, r0 - dr)) {
        c0 -= dc;
        r0 -= dr;
    }
    while (part(c1 + dc, r1 + dr)) {
        c1 += dc;
        r1 += dr;
    }
    ViewPort->SetWordBand(CellRect(c0, r0) | CellRect(c1, r1), GridLinePixelWidth);
}

QString TMainFm::TakeWordAt(int column, int row, int direction)
{
    if (direction != 1 && direction != 2)
        return QString();
    const int dc = direction == 1 ? 1 : 0;
    const int dr = direction == 2 ? 1 : 0;
    auto part = [](int c, int r) {
        return c >= 1 && c <= Columns && r >= 1 && r <= Rows && IsLetterOrOpen(GetCellLetter(c, r));
    };
    int c = column, r = row;
    while (part(c - dc, r - dr)) {
        c -= dc;
        r -= dr;
    }
    QString word;
    for (; part(c, r); c += dc, r += dr) {
        QChar letter = GetCellLetter(c, r);
        // An empty cell is written as its mark character, never as the control code.
        DecodeMarkChar(letter);
        word += letter;
        SetCellLetter(c, r, QChar(TRV_EMPTY));
        DrawCell(c, r);
        UpdateAnswersAtCell(c, r);
    }
    return word;
}

// ---- Help balloon -----------------------------------------------------------------------------------
