// The three clue grids of the other-clues page (CluesAcrossSG, CluesDownSG, CluesAlternateSG) as
// the user works them: which columns show and how wide, the column-0 divider dragged with the
// mouse, the answer-column mode that highlights a whole row, clue edits stored for their answers,
// alternates adopted from the alternate grid, and the painting rules of each grid.
#pragma once

#include <QObject>
#include <QPoint>
#include <QString>
#include <QStyledItemDelegate>

class QLabel;
class QTableView;
class TClueGrid;
class TMainFm;

/** Grid numbers of the selection state: 1 across, 2 down, 3 alternate (0 none). */
enum TClueGridId {
    NoClueGrid = 0,
    AcrossClueGrid = 1,
    DownClueGrid = 2,
    AlternateClueGrid = 3
};

/** Widths of the answer and clue columns for a client width: the answer column clamped to
 *  5 .. client - 5, the clue column the rest less 1. */
struct TClueColumnWidths {
    int Answer = 0;
    int Clue = 0;
};
TClueColumnWidths ClueColumnWidths(int answerWidth, int clientWidth);

/** The alternate grid's column 2 ("A12", "D3"): direction and row; an empty cell gives a blank
 *  and 0, a missing number 0. */
void ParseAlternateTarget(const QString &cell, QChar &direction, int &row);

/** The nearest row at or above row whose column 0 holds an answer (0 when none). */
int AnswerRowAtOrAbove(const TClueGrid &grid, int row);

class TClueGridsController : public QObject
{
public:
    explicit TClueGridsController(TMainFm *window);

    // Selection state.
    int ActiveGrid = NoClueGrid;
    /** The highlighted row of the active grid. */
    int SelectedClueRow = 0;
    /** The row last entered by a cell selection. */
    int EnteredRow = 0;
    /** 1 the last selection came from the keyboard, 2 from the mouse. */
    int SelectionSource = 0;
    /** Column 0 is selected: the highlighted row shows as a whole. */
    bool AnswerColumnMode = false;
    /** The grid the focus left last: 0 across, 1 down, 2 alternate. */
    int GridLeftLast = 0;
    /** The answer-column width shared by the three grids (0 until first fitted). */
    int AnswerColumnWidth = 0;
    bool Dragging = false;
    QPoint PressPos;

    QTableView *View(int grid) const;
    TClueGrid *Model(int grid) const;
    /** The grid number of a view or its viewport, 0 for anything else. */
    int GridOf(const QObject *object) const;

    /** The narrowest client width of the three grids. */
    int NarrowestClientWidth() const;
    void FitColumns();
    /** Rows of height 0 (the header row, collapsed alternates) hidden, the others shown. */
    void ApplyRowHeights(int grid);

    /** A cell selection by the user. False when refused: the link column, any cell while the
     *  split cursor shows, and column 0 (which turns on the answer-column mode instead). */
    bool SelectCell(int grid, int column, int row, bool fromMouse);
    /** Keys before the grid handles them (answer-column mode, Enter); true when taken. */
    bool KeyDown(int grid, int key, const QString &text);
    /** A clue cell's edit is done: stored for its answer (across, down); in the alternate grid an
     *  answer row's clue goes back to its across or down row, an alternate waits for adoption. */
    void ClueEdited(int grid, int row, const QString &text);
    void MouseDown(int grid, const QPoint &at, Qt::MouseButton button);
    void MouseMove(int grid, const QPoint &at);
    void MouseUp(int grid);
    /** The pointer is within 2 pixels of the column-0 divider of the grid. */
    bool NearDivider(int grid, const QPoint &at) const;
    /** Enter: the next row's clue cell (across, down) or adopting the row (alternate). */
    void EnterPressed(int grid);
    /** Attaches to models and selection models the views received since last time. */
    void AttachModels();
    /** Repaints the three grids. */
    void Repaint();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void select(int grid, int row, bool fromMouse);
    void moveHighlight(int grid, int row);

    TMainFm *m_window;
    QObject *m_models[4] = {};
};

/** Paints and edits the cells of one clue grid. */
class TClueGridDelegate : public QStyledItemDelegate
{
public:
    TClueGridDelegate(TClueGridsController *controller, int grid, QObject *parent);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

protected:
    bool eventFilter(QObject *editor, QEvent *event) override;

private:
    TClueGridsController *m_controller;
    int m_grid;
};
