// Panels that leave the desktop colour unpainted and link labels that underline under the mouse.
#include "myoverrides.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPainter>

QColor ColorFromWin(int color) { return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF); }

TPanel::TPanel(QWidget *parent, const QString &name) : QFrame(parent) { setObjectName(name); }

void TPanel::SetColor(int color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void TPanel::paintEvent(QPaintEvent *event)
{
    // The view paints the desktop itself; filling it here first would only make it flicker.
    if (m_color == DesktopPanelColor)
        return;
    QPainter painter(this);
    painter.fillRect(rect(), ColorFromWin(m_color));
    QFrame::paintEvent(event);
}

bool TLabelHover::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Enter || type == QEvent::Leave) {
        auto *label = qobject_cast<QLabel *>(watched);
        if (label && label->objectName().endsWith(QLatin1String("Lnk"))) {
            QFont font = label->font();
            font.setUnderline(type == QEvent::Enter);
            label->setFont(font);
        }
    }
    return QObject::eventFilter(watched, event);
}

void InstallLabelOverrides(QApplication *app)
{
    if (app->findChild<TLabelHover *>(QString(), Qt::FindDirectChildrenOnly))
        return;
    app->installEventFilter(new TLabelHover(app));
}
