// A control that only paints and takes mouse presses, both through functions its owner gives: the
// window's small pictures (page arrows, step labels, the pastel palette).
#pragma once

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include <functional>
#include <utility>

class TPaintBox : public QWidget
{
public:
    TPaintBox(QWidget *parent, const QString &name) : QWidget(parent) { setObjectName(name); }

    std::function<void(QPainter &)> OnPaint;
    std::function<void(const QPoint &)> OnMouseDown;

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (!OnPaint)
            return;
        QPainter painter(this);
        OnPaint(painter);
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && OnMouseDown)
            OnMouseDown(event->position().toPoint());
    }
};
