// The border style list: each item drawn as its band bars with the style's name beside them,
// in the dropped-down list and in the closed box alike.
#pragma once

#include <QComboBox>
#include <QStyledItemDelegate>

class QPainter;

/** Paints one style ("name = bands") into rect: a white field, the bands as bars 3 pixels in
 *  from top and bottom, the name 105 pixels from the left and 9 down; the name is highlighted
 *  when selected. */
void PaintBorderStyleItem(QPainter &painter, const QRect &rect, const QString &style, bool selected,
                          const QPalette &palette);

class TBorderStyleDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

/** A combo box whose items are border styles drawn by TBorderStyleDelegate. */
class TBorderStyleComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit TBorderStyleComboBox(QWidget *parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};
