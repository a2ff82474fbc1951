// The clue grids of the other-clues page: columns, selection, keys, mouse, edits and painting,
// and the main window's clue-grid operations.
#include "cluegrids.h"

#include "cluesview.h"
#include "mainfm.h"
#include "mainfm_controls.h"

#include "alphabet.h"
#include "cluesedit.h"
#include "cluespg.h"
#include "fileio.h"
#include "globals.h"
#include "hourglass.h"
#include "trv600.h"
#include "wysiwyg.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTableView>

#include <algorithm>
#include <climits>

namespace {

constexpr int kAnswerColumn = 0;
constexpr int kClueColumn = 1;
// Characters the answer column is wide enough for at first: a two-digit number, a blank and
// fifteen letters (the longest answer of a 15 x 15 grid).
constexpr int kDefaultAnswerChars = 18;

QFont answerFont(bool bold)
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    const TCluesEdit *editor = MainFm ? MainFm->ClueEditor : nullptr;
    font.setPointSize(editor ? editor->TextFontSize() : 8);
    font.setBold(bold);
    return font;
}

// The client width a grid has, also while it is hidden (its viewport is then not laid out).
int clientWidth(const QTableView *view)
{
    if (view->isVisible())
        return view->viewport()->width();
    int width = view->maximumViewportSize().width();
    if (view->verticalScrollBar()->isVisible())
        width -= view->verticalScrollBar()->width();
    return width;
}

// A row is one of the user's words: across and down by their marker, the alternate grid by the
// marker of the row it stands for.
bool isThemeRow(int grid, int row)
{
    if (grid == AlternateClueGrid) {
        QChar direction;
        int target = 0;
        ParseAlternateTarget(CluesAlternateSG->Cell(2, row), direction, target);
        TClueGrid *source = direction == QLatin1Char('D')   ? CluesDownSG
                            : direction == QLatin1Char('A') ? CluesAcrossSG
                                                            : nullptr;
        return source && source->ValidRow(target) && target > 0 && source->Row(target).ThemeWord;
    }
    TClueGrid *model = grid == AcrossClueGrid ? CluesAcrossSG : CluesDownSG;
    return model && model->ValidRow(row) && model->Row(row).ThemeWord;
}

} // namespace

// ---- Pure helpers ---------------------------------------------------------------------------------

TClueColumnWidths ClueColumnWidths(int answerWidth, int clientWidth)
{
    TClueColumnWidths widths;
    widths.Answer = std::max(5, std::min(answerWidth, clientWidth - 5));
    widths.Clue = std::max(0, clientWidth - widths.Answer - 1);
    return widths;
}

void ParseAlternateTarget(const QString &cell, QChar &direction, int &row)
{
    direction = QLatin1Char(' ');
    row = 0;
    if (cell.isEmpty())
        return;
    direction = cell.at(0);
    bool ok = false;
    const int n = cell.mid(1).toInt(&ok);
    row = ok ? n : 0;
}

int AnswerRowAtOrAbove(const TClueGrid &grid, int row)
{
    // Answer rows carry the row they stand for in column 2; alternates and headings do not.
    for (int r = std::min(row, grid.RowCount() - 1); r >= 1; --r)
        if (!grid.Cell(0, r).trimmed().isEmpty() && !grid.Cell(2, r).isEmpty())
            return r;
    return 0;
}

// ---- Controller -------------------------------------------------------------------------------

TClueGridsController::TClueGridsController(TMainFm *window) : QObject(window), m_window(window)
{
    for (int grid = AcrossClueGrid; grid <= AlternateClueGrid; ++grid) {
        QTableView *view = View(grid);
        view->setItemDelegate(new TClueGridDelegate(this, grid, view));
        view->setWordWrap(false);
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        view->setSelectionBehavior(QAbstractItemView::SelectItems);
        view->setEditTriggers(grid == AlternateClueGrid
                                  ? QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed
                                  : QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                                        QAbstractItemView::DoubleClicked);
        view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view->setMouseTracking(true);
        view->setContextMenuPolicy(Qt::NoContextMenu);
        view->horizontalHeader()->setMinimumSectionSize(0);
        view->verticalHeader()->setMinimumSectionSize(0);
        // One line of text a row (the text-size preference sets the same when applied).
        view->verticalHeader()->setDefaultSectionSize(QFontInfo(view->font()).pixelSize() + 5);
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
        connect(view->verticalScrollBar(), &QScrollBar::valueChanged, window,
                &TMainFm::CluesAnySGTopLeftChanged);
        connect(view->horizontalScrollBar(), &QScrollBar::valueChanged, window,
                &TMainFm::CluesAnySGTopLeftChanged);
    }
}

QTableView *TClueGridsController::View(int grid) const
{
    switch (grid) {
    case AcrossClueGrid: return m_window->CluesAcrossSG;
    case DownClueGrid: return m_window->CluesDownSG;
    case AlternateClueGrid: return m_window->CluesAlternateSG;
    default: return nullptr;
    }
}

TClueGrid *TClueGridsController::Model(int grid) const
{
    switch (grid) {
    case AcrossClueGrid: return ::CluesAcrossSG;
    case DownClueGrid: return ::CluesDownSG;
    case AlternateClueGrid: return ::CluesAlternateSG;
    default: return nullptr;
    }
}

int TClueGridsController::GridOf(const QObject *object) const
{
    for (int grid = AcrossClueGrid; grid <= AlternateClueGrid; ++grid) {
        const QTableView *view = View(grid);
        if (view && (object == view || object == view->viewport()))
            return grid;
    }
    return NoClueGrid;
}

int TClueGridsController::NarrowestClientWidth() const
{
    int narrowest = INT_MAX;
    for (int grid = AcrossClueGrid; grid <= AlternateClueGrid; ++grid)
        narrowest = std::min(narrowest, clientWidth(View(grid)));
    return narrowest;
}

void TClueGridsController::FitColumns()
{
    static bool fitting = false;
    if (fitting)
        return;
    fitting = true;
    if (AnswerColumnWidth <= 0)
        AnswerColumnWidth =
            QFontMetrics(answerFont(true)).horizontalAdvance(QString(kDefaultAnswerChars, 'W')) + 4;
    const int narrowest = NarrowestClientWidth();
    const int answer = ClueColumnWidths(AnswerColumnWidth, narrowest).Answer;
    for (int grid = AcrossClueGrid; grid <= AlternateClueGrid; ++grid) {
        QTableView *view = View(grid);
        if (!view->model())
            continue;
        // Only the answer and the clue show; the link column and the clue flow's are hidden.
        for (int column = 2; column < view->model()->columnCount(); ++column)
            if (!view->isColumnHidden(column))
                view->setColumnHidden(column, true);
        view->setColumnWidth(kAnswerColumn, answer);
        view->setColumnWidth(kClueColumn, ClueColumnWidths(answer, clientWidth(view)).Clue);
    }
    fitting = false;
}

void TClueGridsController::ApplyRowHeights(int grid)
{
    QTableView *view = View(grid);
    TClueGrid *model = Model(grid);
    if (!view || !model || view->model() != model)
        return;
    for (int r = 0; r < model->RowCount(); ++r) {
        const bool hide = model->Row(r).Height == 0;
        if (view->isRowHidden(r) != hide)
            view->setRowHidden(r, hide);
    }
}

void TClueGridsController::AttachModels()
{
    for (int grid = AcrossClueGrid; grid <= AlternateClueGrid; ++grid) {
        if (!qobject_cast<QTableView *>(View(grid)))
            continue;
        QAbstractItemModel *model = View(grid)->model();
        if (!model || model == m_models[grid])
            continue;
        m_models[grid] = model;
        // After the view's own handling of a reset, which forgets hidden rows and columns.
        connect(model, &QAbstractItemModel::modelReset, this, [this, grid] {
            ApplyRowHeights(grid);
            FitColumns();
        });
        connect(model, &QObject::destroyed, this, [this, grid] { m_models[grid] = nullptr; });
        ApplyRowHeights(grid);
        FitColumns();
    }
}

void TClueGridsController::Repaint()
{
    for (int grid = AcrossClueGrid; grid <= AlternateClueGrid; ++grid)
        View(grid)->viewport()->update();
}

void TClueGridsController::select(int grid, int row, bool fromMouse)
{
    ActiveGrid = grid;
    EnteredRow = row;
    SelectionSource = fromMouse ? 2 : 1;
    SelectedClueRow = row;
    Repaint();
    m_window->UpdateThemeAdoptEnables();
}

bool TClueGridsController::SelectCell(int grid, int column, int row, bool fromMouse)
{
    QTableView *view = View(grid);
    if (!view || column < kAnswerColumn || column > kClueColumn || row < 1)
        return false;
    if (view->viewport()->cursor().shape() == Qt::SplitHCursor)
        return false;
    AnswerColumnMode = column == kAnswerColumn;
    select(grid, row, fromMouse);
    return !AnswerColumnMode;
}

void TClueGridsController::moveHighlight(int grid, int row)
{
    QTableView *view = View(grid);
    TClueGrid *model = Model(grid);
    row = std::clamp(row, 1, std::max(1, model->RowCount() - 1));
    SelectedClueRow = row;
    view->scrollTo(model->index(row, kAnswerColumn));
    Repaint();
    m_window->UpdateThemeAdoptEnables();
}

void TClueGridsController::EnterPressed(int grid)
{
    QTableView *view = View(grid);
    TClueGrid *model = Model(grid);
    if (!view || !model)
        return;
    const int row = SelectedClueRow > 0 ? SelectedClueRow : view->currentIndex().row();
    if (grid == AlternateClueGrid) {
        if (row > 0)
            m_window->AdoptAlternateClue(row);
        return;
    }
    const int next = std::min(std::max(row, 0) + 1, model->RowCount() - 1);
    if (next < 1)
        return;
    AnswerColumnMode = false;
    view->setCurrentIndex(model->index(next, kClueColumn));
    select(grid, next, false);
}

bool TClueGridsController::KeyDown(int grid, int key, const QString &text)
{
    QTableView *view = View(grid);
    TClueGrid *model = Model(grid);
    if (!view || !model)
        return false;
    const bool typed = !text.isEmpty() && text.at(0).isPrint();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (grid != AlternateClueGrid)
            m_window->SetModified();
        EnterPressed(grid);
        return true;
    }
    if (AnswerColumnMode && ActiveGrid == grid) {
        switch (key) {
        case Qt::Key_Up: moveHighlight(grid, SelectedClueRow - 1); return true;
        case Qt::Key_Down: moveHighlight(grid, SelectedClueRow + 1); return true;
        case Qt::Key_Right:
            AnswerColumnMode = false;
            view->setCurrentIndex(model->index(SelectedClueRow, kClueColumn));
            select(grid, SelectedClueRow, false);
            return true;
        default: break;
        }
        if (typed && grid != AlternateClueGrid) {
            // Typing in the answer column types into the clue; the grid starts the edit.
            AnswerColumnMode = false;
            view->setCurrentIndex(model->index(SelectedClueRow, kClueColumn));
            select(grid, SelectedClueRow, false);
            m_window->SetModified();
        }
        return false;
    }
    const QModelIndex current = view->currentIndex();
    if ((key == Qt::Key_Left || key == Qt::Key_Home) && current.isValid() &&
        current.column() == kClueColumn) {
        SelectCell(grid, kAnswerColumn, current.row(), false);
        return true;
    }
    if (typed && grid != AlternateClueGrid)
        m_window->SetModified();
    return false;
}

void TClueGridsController::ClueEdited(int grid, int row, const QString &text)
{
    TClueGrid *model = Model(grid);
    if (!model || !model->ValidRow(row) || row < 1)
        return;
    if (grid == AlternateClueGrid) {
        if (model->Cell(kClueColumn, row) == text)
            return;
        model->SetCell(kClueColumn, row, text);
        // An alternate stays where it is until adopted; an answer row's own clue goes back.
        const QString key = model->Cell(kAnswerColumn, row);
        if (!key.isEmpty() && key != QLatin1String(" "))
            m_window->RefreshClueRow(row);
        return;
    }
    const QString clue = text.isEmpty() ? QStringLiteral(" ") : text;
    if (model->Cell(kClueColumn, row) == clue)
        return;
    model->SetCell(kClueColumn, row, clue);
    StoreClueForAnswer(model->Cell(kAnswerColumn, row), clue);
    NoteClueCellEdit(clue);
    if (DocHooks.ClueFlowClueWasChanged)
        DocHooks.ClueFlowClueWasChanged(model, row);
    m_window->SetModified();
}

bool TClueGridsController::NearDivider(int grid, const QPoint &at) const
{
    const QTableView *view = View(grid);
    if (!view)
        return false;
    const int divider = view->columnViewportPosition(kAnswerColumn) + view->columnWidth(kAnswerColumn);
    return std::abs(at.x() - divider) <= 2;
}

void TClueGridsController::MouseDown(int grid, const QPoint &at, Qt::MouseButton button)
{
    PressPos = at;
    if (button == Qt::LeftButton && NearDivider(grid, at))
        Dragging = true;
}

void TClueGridsController::MouseMove(int grid, const QPoint &at)
{
    QTableView *view = View(grid);
    if (Dragging) {
        const int narrowest = NarrowestClientWidth();
        const int answer =
            std::max(5, std::min(at.x() - view->columnViewportPosition(kAnswerColumn), narrowest - 5));
        view->setColumnWidth(kAnswerColumn, answer);
        view->setColumnWidth(kClueColumn, std::max(0, clientWidth(view) - answer - 1));
        AnswerColumnWidth = answer;
        return;
    }
    if (NearDivider(grid, at))
        view->viewport()->setCursor(Qt::SplitHCursor);
    else
        view->viewport()->unsetCursor();
}

void TClueGridsController::MouseUp(int)
{
    if (!Dragging)
        return;
    Dragging = false;
    FitColumns();
}

bool TClueGridsController::eventFilter(QObject *watched, QEvent *event)
{
    const int grid = GridOf(watched);
    if (grid == NoClueGrid)
        return false;
    QTableView *view = View(grid);
    // A grid being destroyed (its own part already gone) still sends events.
    if (!qobject_cast<QTableView *>(view))
        return false;
    AttachModels();
    const bool onViewport = watched == view->viewport();
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Resize: FitColumns(); break;
    case QEvent::MouseButtonPress: {
        if (!onViewport)
            break;
        auto *mouse = static_cast<QMouseEvent *>(event);
        const QPoint at = mouse->position().toPoint();
        MouseDown(grid, at, mouse->button());
        if (Dragging)
            return true;
        const QModelIndex index = view->indexAt(at);
        if (!index.isValid())
            return mouse->button() != Qt::LeftButton;
        if (mouse->button() == Qt::RightButton) {
            // The pop-up acts on the row under the pointer.
            AnswerColumnMode = false;
            view->setCurrentIndex(index.sibling(index.row(), kClueColumn));
            select(grid, index.row(), true);
            m_window->ClueGridPopup->popup(mouse->globalPosition().toPoint());
            return true;
        }
        if (mouse->button() != Qt::LeftButton)
            return true;
        if (!SelectCell(grid, index.column(), index.row(), true)) {
            view->setFocus(Qt::MouseFocusReason);
            return true;
        }
        break;
    }
    case QEvent::MouseMove:
        if (!onViewport)
            break;
        MouseMove(grid, static_cast<QMouseEvent *>(event)->position().toPoint());
        if (Dragging)
            return true;
        break;
    case QEvent::MouseButtonRelease:
        if (onViewport && Dragging) {
            MouseUp(grid);
            return true;
        }
        break;
    case QEvent::MouseButtonDblClick: {
        if (!onViewport)
            break;
        auto *mouse = static_cast<QMouseEvent *>(event);
        const QModelIndex index = view->indexAt(mouse->position().toPoint());
        if (!index.isValid() || index.column() != kClueColumn)
            return true;
        if (grid == AlternateClueGrid) {
            m_window->CluesAlternateSGDblClick();
            return true;
        }
        break;
    }
    case QEvent::KeyPress: {
        if (onViewport)
            break;
        auto *key = static_cast<QKeyEvent *>(event);
        return KeyDown(grid, key->key(), key->text());
    }
    case QEvent::KeyRelease:
        if (!onViewport && !AnswerColumnMode) {
            const QModelIndex current = view->currentIndex();
            if (current.isValid() && current.row() >= 1 &&
                (ActiveGrid != grid || SelectedClueRow != current.row()))
                select(grid, current.row(), false);
        }
        break;
    case QEvent::FocusIn:
        if (!onViewport) {
            const QModelIndex current = view->currentIndex();
            if (ActiveGrid != grid && !AnswerColumnMode && current.isValid() && current.row() >= 1)
                select(grid, current.row(), false);
            Repaint();
        }
        break;
    case QEvent::FocusOut:
        if (!onViewport) {
            GridLeftLast = grid - 1;
            Repaint();
        }
        break;
    default: break;
    }
    return false;
}

// ---- Delegate ---------------------------------------------------------------------------------------

TClueGridDelegate::TClueGridDelegate(TClueGridsController *controller, int grid, QObject *parent)
    : QStyledItemDelegate(parent), m_controller(controller), m_grid(grid)
{}

void TClueGridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const
{
    const int row = index.row();
    const int column = index.column();
    const TClueGridsController &c = *m_controller;
    const QTableView *view = c.View(m_grid);
    TClueGrid *model = c.Model(m_grid);
    const bool rowHighlighted =
        c.AnswerColumnMode && c.ActiveGrid == m_grid && c.SelectedClueRow == row && view && view->hasFocus();

    // The alternate grid's heading of the down clues: the page's "ACROSS" label font on the
    // page colour.
    if (m_grid == AlternateClueGrid && row == AlternateDownRow && AlternateDownRow > 0) {
        painter->fillRect(option.rect, MainFm->tsOtherClues->palette().color(QPalette::Window));
        if (column == kAnswerColumn) {
            painter->setFont(MainFm->AcrossLbl->font());
            painter->setPen(MainFm->AcrossLbl->palette().color(QPalette::WindowText));
            painter->drawText(option.rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                              index.data().toString());
        }
        return;
    }

    if (column == kAnswerColumn) {
        const bool selected = rowHighlighted;
        painter->fillRect(option.rect, selected ? option.palette.color(QPalette::Highlight)
                                                : option.palette.color(QPalette::Base));
        painter->setFont(answerFont(isThemeRow(m_grid, row)));
        painter->setPen(selected ? option.palette.color(QPalette::HighlightedText)
                                 : option.palette.color(QPalette::Text));
        painter->drawText(option.rect.adjusted(2, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                          index.data().toString());
        return;
    }

    QStyleOptionViewItem opt(option);
    if (rowHighlighted)
        opt.state |= QStyle::State_Selected;
    if (m_grid == AlternateClueGrid && model) {
        // The answers' own clues in black, the alternates below them in teal.
        const bool answerRow = !ExtractLetterRun(model->Cell(kAnswerColumn, row)).isEmpty();
        opt.palette.setColor(QPalette::Text, answerRow ? QColor(Qt::black) : QColor(0x00, 0x80, 0x80));
    }
    QStyledItemDelegate::paint(painter, opt, index);
}

QWidget *TClueGridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                         const QModelIndex &index) const
{
    if (index.column() != kClueColumn)
        return nullptr;
    return QStyledItemDelegate::createEditor(parent, option, index);
}

void TClueGridDelegate::setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &index) const
{
    if (auto *line = qobject_cast<QLineEdit *>(editor))
        m_controller->ClueEdited(m_grid, index.row(), line->text());
}

bool TClueGridDelegate::eventFilter(QObject *editor, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        auto *widget = qobject_cast<QWidget *>(editor);
        if (widget && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            emit commitData(widget);
            emit closeEditor(widget, QAbstractItemDelegate::NoHint);
            m_controller->EnterPressed(m_grid);
            return true;
        }
        if (m_grid != AlternateClueGrid && !key->text().isEmpty() && MainFm)
            MainFm->SetModified();
    }
    return QStyledItemDelegate::eventFilter(editor, event);
}

// ---- The main window's clue-grid operations ----------------------------------------------------

void TMainFm::FitClueColumns()
{
    if (!ClueGrids)
        return;
    ClueGrids->AttachModels();
    ClueGrids->FitColumns();
}

bool TMainFm::GetSelectedClueRow(int &grid, int &row) const
{
    grid = -1;
    row = 0;
    if (!ClueGrids)
        return false;
    switch (ClueGrids->ActiveGrid) {
    case AcrossClueGrid:
    case DownClueGrid:
        grid = ClueGrids->ActiveGrid - 1;
        row = ClueGrids->SelectedClueRow;
        break;
    case AlternateClueGrid: {
        QChar direction;
        AlternateRowTarget(ClueGrids->SelectedClueRow, direction, row);
        if (direction == QLatin1Char('A'))
            grid = 0;
        else if (direction == QLatin1Char('D'))
            grid = 1;
        else
            row = 0;
        break;
    }
    default: return false;
    }
    return row > 0;
}

void TMainFm::AlternateRowTarget(int alternateRow, QChar &direction, int &row) const
{
    ParseAlternateTarget(::CluesAlternateSG ? ::CluesAlternateSG->Cell(2, alternateRow) : QString(),
                         direction, row);
}

void TMainFm::UpdateThemeAdoptEnables()
{
    bool adopt = false;
    bool unadopt = false;
    int grid = -1;
    int row = 0;
    if (GetSelectedClueRow(grid, row)) {
        TClueGrid *model = grid == 0 ? ::CluesAcrossSG : ::CluesDownSG;
        if (model && model->ValidRow(row)) {
            const QString key = model->Cell(0, row);
            if (model->Row(row).ThemeWord)
                unadopt = true;
            else
                adopt = !ExtractEntryWord(key).isEmpty() && !AnswerOfKey(key).contains(QChar(TRV_EMPTY));
        }
    }
    auto show = [](QLabel *link, bool enabled) {
        if (!link)
            return;
        link->setEnabled(enabled);
        QFont font = link->font();
        font.setBold(true);
        font.setUnderline(enabled);
        link->setFont(font);
        link->setStyleSheet(enabled ? QStringLiteral("color: #0000FF") : QStringLiteral("color: #000000"));
        if (enabled)
            link->setCursor(Qt::PointingHandCursor);
        else
            link->unsetCursor();
    };
    show(CluesAdoptLnk, adopt);
    show(CluesUnadoptLnk, unadopt);
    if (pumAdopt)
        pumAdopt->setEnabled(adopt);
    if (pumUnadopt)
        pumUnadopt->setEnabled(unadopt);
}

void TMainFm::AdoptAlternateClue(int alternateRow)
{
    TClueGrid *alternates = ::CluesAlternateSG;
    if (!alternates || !alternates->ValidRow(alternateRow) || alternateRow < 1)
        return;
    const int answerRow = AnswerRowAtOrAbove(*alternates, alternateRow);
    if (answerRow < 1)
        return;
    alternates->SetCell(1, answerRow, alternates->Cell(1, alternateRow));
    RefreshClueRow(answerRow);
}

void TMainFm::RefreshClueRow(int alternateRow)
{
    QChar direction;
    int row = 0;
    AlternateRowTarget(alternateRow, direction, row);
    TClueGrid *target = direction == QLatin1Char('A')   ? ::CluesAcrossSG
                        : direction == QLatin1Char('D') ? ::CluesDownSG
                                                        : nullptr;
    if (!target || row < 1 || !target->ValidRow(row))
        return;
    const QString clue = ::CluesAlternateSG->Cell(1, alternateRow);
    target->SetCell(1, row, clue);
    StoreClueForAnswer(target->Cell(0, row), clue);
    if (DocHooks.ClueFlowClueWasChanged)
        DocHooks.ClueFlowClueWasChanged(target, row);
    SetModified();
}

void TMainFm::AssignStockCluesNow()
{
    THourglass busy;
    AssignStockClues(false);
    auto lastNumber = [](const TClueGrid *grid) {
        if (!grid || grid->RowCount() < 2)
            return 0;
        return ExtractDigitRun(grid->Cell(0, grid->RowCount() - 1)).toInt();
    };
    const int highest = std::max(lastNumber(::CluesAcrossSG), lastNumber(::CluesDownSG));
    ClueNumberDigits = highest <= 9 ? 1 : (highest < 100 ? 2 : 3);
    ClueFlow_InvalidateAll();
    ClueFlow_EstablishAll();
    InvalidateView();
}

void TMainFm::CluesShowAlternatesCBClick()
{
    DocControls.ShowAlternates = CluesShowAlternatesCB->isChecked();
    ToggleAlternateCluesView();
}

void TMainFm::mCluesShowAltClick()
{
    ShowNotebookPage(3);
    CluesShowAlternatesCB->setChecked(!CluesShowAlternatesCB->isChecked());
    CluesShowAlternatesCBClick();
}

void TMainFm::ShowAlternateGrid()
{
    const bool on = DocControls.ShowAlternates;
    CluesAlternateSG->setVisible(on);
    CluesAlternateSG->setEnabled(on);
    AltLbl->setVisible(on);
    CluesAcrossSG->setVisible(!on);
    CluesDownSG->setVisible(!on);
    DownLbl->setVisible(!on);
    CluesPageExplanationLbl->setVisible(!on);
    mainfm::setCheckedQuietly(CluesShowAlternatesCB, on);
    if (mCluesShowAlt)
        mCluesShowAlt->setChecked(on);
    ArrangePanels();
    FitClueColumns();
    CluesAnySGTopLeftChanged();
}

void TMainFm::CluesAdoptLnkClick()
{
    if (CluesAdoptLnk->isEnabled())
        AdoptThemeWord();
}

void TMainFm::CluesUnadoptLnkClick()
{
    if (CluesUnadoptLnk->isEnabled())
        UnadoptThemeWord();
}

void TMainFm::pumAdoptClick() { AdoptThemeWord(); }

void TMainFm::pumUnadoptClick() { UnadoptThemeWord(); }

void TMainFm::CluesAlternateSGDblClick()
{
    if (ClueGrids && ClueGrids->ActiveGrid == AlternateClueGrid && ClueGrids->SelectedClueRow > 0)
        AdoptAlternateClue(ClueGrids->SelectedClueRow);
}

void TMainFm::CluesAnySGTopLeftChanged()
{
    // Sideways scrolling goes back to column 0 unless the grids were given both scroll bars.
    const bool bothBars = CluesAcrossSG->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn &&
                          CluesAcrossSG->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn;
    if (!bothBars)
        for (QTableView *view : {CluesAcrossSG, CluesDownSG, CluesAlternateSG})
            if (view->horizontalScrollBar()->value() != 0)
                view->horizontalScrollBar()->setValue(0);
    QString heading = QStringLiteral("ACROSS");
    if (DocControls.ShowAlternates && !CluesAlternateSG->isHidden() && AlternateDownRow > 0 &&
        CluesAlternateSG->rowAt(0) > AlternateDownRow)
        heading = QStringLiteral("DOWN");
    AcrossLbl->setText(heading);
}
