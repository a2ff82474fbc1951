// Labels that act as links on the publishing forms: blue, underlined, a pointing hand.
#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QPalette>

inline void MakeLinkLabel(QLabel *label)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    label->setPalette(palette);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    label->setCursor(Qt::PointingHandCursor);
}
