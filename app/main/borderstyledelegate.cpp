// The border style list's drawing.
#include "borderstyledelegate.h"

#include "layoutentries.h"
#include "myoverrides.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include <algorithm>

namespace {

constexpr int NameLeft = 105;
constexpr int NameTop = 9;
constexpr int BarInset = 3;

int itemHeight(const QFontMetrics &metrics) { return std::max(26, metrics.height() + NameTop + 4); }

} // namespace

void PaintBorderStyleItem(QPainter &painter, const QRect &rect, const QString &style, bool selected,
                          const QPalette &palette)
{
    painter.save();
    painter.setClipRect(rect);
    painter.fillRect(rect, Qt::white);
    const int barTop = rect.top() + BarInset;
    const int barHeight = std::max(1, rect.height() - 2 * BarInset);
    for (const TBorderBar &bar : BorderStyleBars(style))
        painter.fillRect(rect.left() + bar.Left, barTop, bar.Width, barHeight, ColorFromWin(bar.Color));
    const QString name = BorderStyleName(style);
    const QFontMetrics metrics = painter.fontMetrics();
    const QRect nameRect(rect.left() + NameLeft - 2, rect.top() + NameTop - 1,
                         metrics.horizontalAdvance(name) + 4, metrics.height() + 2);
    if (selected)
        painter.fillRect(nameRect, palette.color(QPalette::Highlight));
    painter.setPen(selected ? palette.color(QPalette::HighlightedText) : QColor(Qt::black));
    painter.drawText(QPoint(rect.left() + NameLeft, rect.top() + NameTop + metrics.ascent()), name);
    painter.restore();
}

void TBorderStyleDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const
{
    painter->setFont(option.font);
    PaintBorderStyleItem(*painter, option.rect, index.data(Qt::DisplayRole).toString(),
                         option.state & QStyle::State_Selected, option.palette);
}

QSize TBorderStyleDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QString name = BorderStyleName(index.data(Qt::DisplayRole).toString());
    return {NameLeft + option.fontMetrics.horizontalAdvance(name) + 8, itemHeight(option.fontMetrics)};
}

TBorderStyleComboBox::TBorderStyleComboBox(QWidget *parent) : QComboBox(parent)
{
    setItemDelegate(new TBorderStyleDelegate(this));
    setMaxVisibleItems(14);
}

QSize TBorderStyleComboBox::sizeHint() const
{
    QSize size = QComboBox::sizeHint();
    size.setHeight(std::max(size.height(), itemHeight(fontMetrics()) + 6));
    return size;
}

QSize TBorderStyleComboBox::minimumSizeHint() const
{
    QSize size = QComboBox::minimumSizeHint();
    size.setHeight(std::max(size.height(), itemHeight(fontMetrics()) + 6));
    return size;
}

void TBorderStyleComboBox::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    if (currentIndex() >= 0)
        PaintBorderStyleItem(painter, field, currentText(), false, palette());
}
