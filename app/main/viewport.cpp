// The document view's paint box.
#include "viewport.h"

#include "mainfm.h"
#include "myoverrides.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

TViewPort::TViewPort(TMainFm *owner, QWidget *parent) : QWidget(parent), m_owner(owner)
{
    setObjectName(QStringLiteral("ViewPort"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    // Qt gives no keyboard focus to a hidden widget, so the focus taker is a visible child
    // without area.
    m_focusChild = new QWidget(this);
    m_focusChild->setObjectName(QStringLiteral("ViewPortFocus"));
    m_focusChild->setFocusPolicy(Qt::StrongFocus);
    m_focusChild->setGeometry(0, 0, 0, 0);
    m_focusChild->show();
}

static QRect grown(const QRect &r, int by) { return r.isNull() ? r : r.adjusted(-by, -by, by, by); }

void TViewPort::SetKeyCursorMark(const TKeyCursorMark &mark)
{
    const QRect old = m_keyCursor.Cell;
    m_keyCursor = mark;
    update(grown(old, 2));
    update(grown(mark.Cell, 2));
}

void TViewPort::SetWordBand(const QRect &rect, int penWidth)
{
    update(grown(m_band, m_bandPen + 1));
    m_band = rect;
    m_bandPen = qMax(1, penWidth);
    update(grown(m_band, m_bandPen + 1));
}

void TViewPort::SetPressFrame(const QRect &rect)
{
    update(grown(m_pressFrame, 2));
    m_pressFrame = rect;
    update(grown(m_pressFrame, 2));
}

void TViewPort::paintEvent(QPaintEvent *event)
{
    if (m_owner->ComposePending())
        m_owner->ViewPortPaint();
    QPainter p(this);
    const QImage &image = m_owner->WorkBitmap();
    p.drawImage(event->rect(), image, event->rect());
    if (image.width() < width() || image.height() < height()) {
        const QRegion rest = QRegion(rect()) - QRegion(image.rect());
        for (const QRect &r : rest)
            p.fillRect(r, ColorFromWin(0x800000));
    }

    // Marks invert what is under them, as the classic caret and rubber band do.
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    if (m_keyCursor.Shown && !m_keyCursor.Cell.isEmpty()) {
        const QRect box = m_keyCursor.Cell.adjusted(m_keyCursor.Inset, m_keyCursor.Inset, -m_keyCursor.Inset,
                                                    -m_keyCursor.Inset);
        // White pen and a navy brush, inverted onto the cell.
        p.setPen(QPen(Qt::white, 1));
        p.setBrush(ColorFromWin(0x800000));
        p.drawRect(box.adjusted(0, 0, -1, -1));
        const int w = qMax(2, box.width() / 4);
        const QPoint c = box.center();
        QPolygon wedge;
        if (m_keyCursor.Direction == 2)
            wedge << QPoint(c.x() - w / 2, box.bottom() - w) << QPoint(c.x() + w / 2, box.bottom() - w)
                  << QPoint(c.x(), box.bottom() - 1);
        else
            wedge << QPoint(box.right() - w, c.y() - w / 2) << QPoint(box.right() - w, c.y() + w / 2)
                  << QPoint(box.right() - 1, c.y());
        p.setBrush(Qt::white);
        p.drawPolygon(wedge);
    }
    p.setBrush(Qt::NoBrush);
    if (!m_band.isEmpty()) {
        p.setPen(QPen(ColorFromWin(0x00FFFF), m_bandPen));
        p.drawRect(m_band.adjusted(0, 0, -1, -1));
    }
    if (!m_pressFrame.isEmpty()) {
        p.setPen(QPen(ColorFromWin(0x00FFFF), 1));
        p.drawRect(m_pressFrame.adjusted(0, 0, -1, -1));
    }
}

void TViewPort::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_owner->ViewPortResized();
}

void TViewPort::mousePressEvent(QMouseEvent *event)
{
    m_owner->ViewPortMouseDown(event->button(), event->modifiers(), event->position().toPoint());
}

void TViewPort::mouseMoveEvent(QMouseEvent *event)
{
    m_owner->ViewPortMouseMove(event->buttons(), event->position().toPoint());
}

void TViewPort::mouseReleaseEvent(QMouseEvent *event)
{
    m_owner->ViewPortMouseUp(event->button(), event->position().toPoint());
}
