// The stock-pattern dialog.
#include "stockpatternsdlg.h"
#include "ui_stockpatternsdlg.h"

#include "globals.h"
#include "hintfm.h"
#include "myoverrides.h"
#include "prompter.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include <algorithm>

// ---- Model ------------------------------------------------------------------------------------

int TStockPatternsModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return static_cast<int>((m_cells.size() + ColumnCount - 1) / ColumnCount);
}

int TStockPatternsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TStockPatternsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int i = index.row() * ColumnCount + index.column();
    const bool filled = i < m_cells.size();
    switch (role) {
    case Qt::DisplayRole: return filled ? m_cells.at(i).Text : QString();
    case PatternRole: return filled ? i + 1 : 0;
    case RowLinesRole: return filled ? m_cells.at(i).RowLines : QStringList();
    default: return {};
    }
}

void TStockPatternsModel::AddPattern(const QString &text, const QStringList &rowLines)
{
    const bool newRow = m_cells.size() % ColumnCount == 0;
    const int row = static_cast<int>(m_cells.size() / ColumnCount);
    if (newRow)
        beginInsertRows(QModelIndex(), row, row);
    m_cells.append({text, rowLines});
    if (newRow) {
        endInsertRows();
    } else {
        const QModelIndex cell = index(row, static_cast<int>((m_cells.size() - 1) % ColumnCount));
        emit dataChanged(cell, cell);
    }
}

void TStockPatternsModel::Clear()
{
    beginResetModel();
    m_cells.clear();
    endResetModel();
}

// ---- Miniatures -------------------------------------------------------------------------------

TStockPatternDelegate::TStockPatternDelegate(TStockPatternsDlg *dialog)
    : QStyledItemDelegate(dialog), m_dialog(dialog)
{}

void TStockPatternDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                  const QModelIndex &index) const
{
    if (m_dialog->NoPatterns())
        return;
    const QRect cell = option.rect;
    painter->save();
    painter->fillRect(cell, Qt::white);
    const int n = index.data(TStockPatternsModel::PatternRole).toInt();
    if (n > 0) {
        const TStockPattern &p = m_dialog->Patterns().Pattern(n);
        const QStringList lines = index.data(TStockPatternsModel::RowLinesRole).toStringList();
        constexpr int px = CellPixels;
        const int w = cell.width();
        const int left = cell.left() + (w - px * p.Columns) / 2;
        const int top = cell.top() + (w - px * p.Rows) / 2;
        painter->setRenderHint(QPainter::Antialiasing, false);
        for (int r = 0; r < p.Rows; ++r) {
            const QString line = r < lines.size() ? lines.at(r) : QString();
            for (int c = 0; c < p.Columns; ++c) {
                const QRect square(left + c * px, top + r * px, px, px);
                if (c >= line.size()) {
                    painter->fillRect(square, Qt::red);
                    continue;
                }
                const QChar ch = line.at(c);
                if (ch == QLatin1Char('*')) {
                    painter->fillRect(square, Qt::black);
                } else if (ch == QLatin1Char('-')) {
                    painter->setPen(Qt::black);
                    painter->setBrush(Qt::white);
                    painter->drawRect(square.adjusted(0, 0, -1, -1));
                } else if (ch != QLatin1Char('~')) {
                    painter->fillRect(square, Qt::green); // fixed letters and characters refused
                }
            }
        }
        const QString caption = QStringLiteral("# %1   %2 x %3").arg(n).arg(p.Columns).arg(p.Rows);
        painter->setPen(Qt::black);
        painter->setFont(option.font);
        const int captionTop = top + px * p.Rows + 2;
        painter->drawText(QRect(cell.left(), captionTop, w, option.fontMetrics.height()),
                          Qt::AlignHCenter | Qt::AlignTop, caption);
    }
    if (index.row() == m_dialog->FrameRow() && index.column() == m_dialog->FrameColumn()) {
        // Exclusive-or pen: yellow over the white cell shows blue, over black shows yellow.
        painter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        QPen pen(QColor(0xFF, 0xFF, 0x00), 7);
        pen.setJoinStyle(Qt::MiterJoin);
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(cell.adjusted(4, 4, -5, -5));
    }
    painter->restore();
}

// ---- Dialog -----------------------------------------------------------------------------------

TStockPatternsDlg::TStockPatternsDlg(QWidget *parent, const QString &fileName)
    : QDialog(parent), m_ui(std::make_unique<Ui::TStockPatternsDlg>())
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("StockPatternsDlg"));
    PatternsDG = m_ui->PatternsDG;
    StockBrowseCB = m_ui->StockBrowseCB;
    OKBtn = m_ui->OKBtn;
    CancelBtn = m_ui->CancelBtn;
    HelpBtn = m_ui->HelpBtn;

    m_model = new TStockPatternsModel(this);
    PatternsDG->setModel(m_model);
    PatternsDG->setItemDelegate(new TStockPatternDelegate(this));
    PatternsDG->horizontalHeader()->hide();
    PatternsDG->verticalHeader()->hide();
    PatternsDG->setShowGrid(true);
    PatternsDG->setSelectionMode(QAbstractItemView::NoSelection);
    PatternsDG->setEditTriggers(QAbstractItemView::NoEditTriggers);
    PatternsDG->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    PatternsDG->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    PatternsDG->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    PatternsDG->installEventFilter(this);
    PatternsDG->viewport()->installEventFilter(this);
    connect(PatternsDG, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &) { PatternsDGDblClick(); });

    connect(OKBtn, &QPushButton::clicked, this, &TStockPatternsDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(HelpBtn, &QPushButton::clicked, this, &TStockPatternsDlg::HelpBtnClick);
    connect(StockBrowseCB, &QCheckBox::clicked, this, &TStockPatternsDlg::StockBrowseCBClick);

    readPatterns(fileName);
    fitRowHeight();
}

TStockPatternsDlg::~TStockPatternsDlg() = default;

void TStockPatternsDlg::readPatterns(const QString &fileName)
{
    m_model->Clear();
    if (!m_patterns.ParseStockPatFile(fileName))
        return;
    for (int n = 1; n <= m_patterns.Count(); ++n)
        m_model->AddPattern(m_patterns.Pattern(n).Text, m_patterns.Pattern(n).RowLines);
}

void TStockPatternsDlg::fitRowHeight()
{
    // Two rows of miniatures in view; the columns share the width left of the scroll bar.
    const int height = (PatternsDG->viewport()->height() - 3) / 2;
    PatternsDG->verticalHeader()->setDefaultSectionSize(std::max(height, 1));
    const int width = PatternsDG->viewport()->width() / TStockPatternsModel::ColumnCount;
    PatternsDG->horizontalHeader()->setDefaultSectionSize(std::max(width, 1));
}

void TStockPatternsDlg::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    fitRowHeight();
}

void TStockPatternsDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    fitRowHeight();
    if (!FormShow())
        QTimer::singleShot(0, this, &QDialog::reject);
}

bool TStockPatternsDlg::FormShow()
{
    if (!FailureText().isEmpty()) {
        showInformation(QStringLiteral("No stock patterns are available right now. This is because ") +
                        FailureText());
        return false;
    }
    m_selColumn = m_frameColumn = m_mouseColumn = 0;
    m_selRow = m_frameRow = m_mouseRow = -1;
    m_patterns.ResetSession();
    PatternsDG->setFont(QFont(QStringLiteral("Arial")));
    PatternsDG->setFocus();
    m_patterns.SetThemeWords(ThemeWordsFromWordList());
    m_patterns.CountThemeWordLengths();
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ColorFromWin(ColorScheme));
    setPalette(palette);
    PatternsDG->viewport()->update();
    return true;
}

int TStockPatternsDlg::PatternAt(int column, int row) const
{
    if (column < 0 || column >= TStockPatternsModel::ColumnCount || row < 0)
        return 0;
    const int n = row * TStockPatternsModel::ColumnCount + column + 1;
    return n <= m_patterns.Count() ? n : 0;
}

int TStockPatternsDlg::SelectedPattern() const { return PatternAt(m_selColumn, m_selRow); }

bool TStockPatternsDlg::PatternsDGSelectCell(int column, int row)
{
    if (NoPatterns() || PatternAt(column, row) == 0)
        return false;
    const QModelIndex oldFrame = m_model->index(m_frameRow, m_frameColumn);
    m_selColumn = m_frameColumn = column;
    m_selRow = m_frameRow = row;
    const QModelIndex cell = m_model->index(row, column);
    PatternsDG->scrollTo(cell);
    // The old frame goes with a repaint of its cell, the new one comes with its own.
    if (oldFrame.isValid())
        PatternsDG->update(oldFrame);
    PatternsDG->update(cell);
    if (StockBrowseCB->isChecked())
        loadSelected();
    return true;
}

void TStockPatternsDlg::PatternsDGMouseDown(int column, int row)
{
    m_mouseColumn = column;
    m_mouseRow = row;
}

void TStockPatternsDlg::PatternsDGDblClick()
{
    if (!PatternsDGSelectCell(m_mouseColumn, m_mouseRow))
        return;
    OKBtnClick();
}

bool TStockPatternsDlg::PatternsDGKeyDown(int key)
{
    int dc = 0, dr = 0;
    switch (key) {
    case Qt::Key_Left: dc = -1; break;
    case Qt::Key_Right: dc = 1; break;
    case Qt::Key_Up: dr = -1; break;
    case Qt::Key_Down: dr = 1; break;
    default: return false;
    }
    if (SelectedPattern() == 0) {
        if (dc > 0 || dr > 0)
            PatternsDGSelectCell(0, std::max(PatternsDG->rowAt(0), 0));
    } else {
        // A step onto an empty cell or off the grid leaves the selection where it is.
        PatternsDGSelectCell(m_selColumn + dc, m_selRow + dr);
    }
    return true;
}

bool TStockPatternsDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == PatternsDG && event->type() == QEvent::KeyPress) {
        if (PatternsDGKeyDown(static_cast<QKeyEvent *>(event)->key()))
            return true;
    } else if (watched == PatternsDG->viewport() && event->type() == QEvent::MouseButtonPress) {
        const QPoint at = static_cast<QMouseEvent *>(event)->position().toPoint();
        const QModelIndex cell = PatternsDG->indexAt(at);
        PatternsDGMouseDown(cell.isValid() ? cell.column() : 0, cell.isValid() ? cell.row() : -1);
        if (cell.isValid())
            PatternsDGSelectCell(cell.column(), cell.row());
    }
    return QDialog::eventFilter(watched, event);
}

void TStockPatternsDlg::StockBrowseCBClick()
{
    if (StockBrowseCB->isChecked() && SelectedPattern() != 0)
        loadSelected();
}

bool TStockPatternsDlg::loadSelected() { return m_patterns.SelectPattern(SelectedPattern()); }

void TStockPatternsDlg::OKBtnClick()
{
    if (loadSelected())
        accept();
}

QString TStockPatternsDlg::HelpText()
{
    return QStringLiteral(
        "The Select Stock Patterns dialog allows you to quickly select a pattern appropriate for "
        "your puzzle. Each picture shows a pattern of black and white squares; its number and "
        "size are written below it. Squares in green hold fixed letters, squares in red are "
        "missing from the pattern.\n\n"
        "Click on a pattern to select it, then press OK (or double-click it) to load it into the "
        "grid. Tick \"Browse patterns on main screen\" to see each pattern you select in the "
        "puzzle grid at once. Cancel puts the grid back as it was before.");
}

void TStockPatternsDlg::HelpBtnClick()
{
    if (!HintFm)
        return;
    HintFm->resize(520, HintFm->height());
    HintFm->ShowBalloon(HelpText(), HelpBtn->mapToGlobal(QPoint(0, 0)).x(), 120, frameGeometry().top() - 10);
}
