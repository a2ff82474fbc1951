// The dialog "Select a Stock Pattern": the patterns of the StockPat file as miniatures, four to a
// row; the chosen one is loaded into the grid. Made for each use by the stock-pattern button and
// the Grid menu; the file is read when the dialog is made.
#pragma once

#include "stockpat.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <QStyledItemDelegate>

#include <memory>

namespace Ui {
class TStockPatternsDlg;
}
class QCheckBox;
class QPushButton;
class QTableView;
class TStockPatternsDlg;

/** The patterns as cells of four columns, in file order row by row. The display text of a
 *  cell is columns and rows (three characters each) and the name; PatternRole gives the
 *  pattern number (0 for an empty cell). */
class TStockPatternsModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int ColumnCount = 4;
    static constexpr int PatternRole = Qt::UserRole + 1;
    static constexpr int RowLinesRole = Qt::UserRole + 2;

    using QAbstractTableModel::QAbstractTableModel;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    /** Puts a pattern into the next free cell, adding a row when the last one is full. */
    void AddPattern(const QString &text, const QStringList &rowLines);
    void Clear();
    int Count() const { return static_cast<int>(m_cells.size()); }

private:
    struct Cell {
        QString Text;
        QStringList RowLines;
    };
    QList<Cell> m_cells;
};

/** Draws a cell's miniature (5 pixels a cell) with its caption, and the selection frame of the
 *  cell the dialog has selected. */
class TStockPatternDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    static constexpr int CellPixels = 5;
    explicit TStockPatternDelegate(TStockPatternsDlg *dialog);
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

private:
    TStockPatternsDlg *m_dialog;
};

class TStockPatternsDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TStockPatternsDlg(QWidget *parent = nullptr, const QString &fileName = StockPatPath());
    ~TStockPatternsDlg() override;

    QTableView *PatternsDG = nullptr;
    QCheckBox *StockBrowseCB = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;
    QPushButton *HelpBtn = nullptr;

    TStockPatterns &Patterns() { return m_patterns; }
    TStockPatternsModel *Model() const { return m_model; }
    /** Empty when the file was read. */
    QString FailureText() const { return m_patterns.FailureText(); }
    bool NoPatterns() const { return m_patterns.NoPatterns(); }

    /** Pattern number (from 1) of a cell; 0 when the cell holds none. */
    int PatternAt(int column, int row) const;
    /** The selected pattern, 0 when none. */
    int SelectedPattern() const;
    /** The cell carrying the selection frame; row -1 when none. */
    int FrameColumn() const { return m_frameColumn; }
    int FrameRow() const { return m_frameRow; }
    /** Whether a pattern was loaded since the dialog was shown (one undo step covers them all). */
    bool PatternLoaded() const { return m_patterns.PatternLoaded(); }

    /** The opening part of the help balloon's text. */
    static QString HelpText();

public slots:
    /** Tells the user when there are no patterns (and closes); otherwise resets the selection
     *  and the loaded flag, focuses the grid and counts the user's word lengths. False when the
     *  dialog closes. */
    bool FormShow();
    /** Loads the selected pattern and closes with OK; with nothing selected, or a pattern that
     *  cannot be loaded, the user is told and the dialog stays. */
    void OKBtnClick();
    void HelpBtnClick();
    /** Selects a cell holding a pattern (false for an empty one); loads it at once while
     *  browsing is ticked. */
    bool PatternsDGSelectCell(int column, int row);
    void PatternsDGMouseDown(int column, int row);
    /** Selects the cell under the last mouse press, loads it and closes with OK. */
    void PatternsDGDblClick();
    /** Arrow keys move the selection to a neighbouring pattern; with nothing selected, Right or
     *  Down selects the first pattern of the top visible row. True when the key was taken. */
    bool PatternsDGKeyDown(int key);
    void StockBrowseCBClick();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void readPatterns(const QString &fileName);
    void fitRowHeight();
    /** Loads the selected pattern; true when the grid was loaded. */
    bool loadSelected();

    std::unique_ptr<Ui::TStockPatternsDlg> m_ui;
    TStockPatterns m_patterns;
    TStockPatternsModel *m_model = nullptr;
    int m_selColumn = 0;
    int m_selRow = -1;
    int m_frameColumn = 0;
    int m_frameRow = -1;
    int m_mouseColumn = 0;
    int m_mouseRow = -1;
};
