// The document view's paint box: it shows the window's composed page image and draws the
// passing marks (key cursor, word band, press frame) over it from state, so that a mark never
// touches the image itself. Mouse input goes to the main window's editing handlers.
#pragma once

#include <QRect>
#include <QWidget>

class TMainFm;

class TViewPort : public QWidget
{
    Q_OBJECT
public:
    TViewPort(TMainFm *owner, QWidget *parent);

    /** Takes the keyboard for the view: shown, of no size, strong focus. */
    QWidget *FocusChild() const { return m_focusChild; }

    // Marks drawn over the image in exclusive-or style.
    struct TKeyCursorMark {
        bool Shown = false;
        QRect Cell;        // the cell's pixel rectangle
        int Inset = 1;     // grid-line width
        int Direction = 1; // 1 across, 2 down
    };
    const TKeyCursorMark &KeyCursorMark() const { return m_keyCursor; }
    void SetKeyCursorMark(const TKeyCursorMark &mark);
    /** The word band (outline of a run of cells), empty when none. */
    QRect WordBand() const { return m_band; }
    void SetWordBand(const QRect &rect, int penWidth);
    /** The frame of the pressed cell, empty when none. */
    QRect PressFrame() const { return m_pressFrame; }
    void SetPressFrame(const QRect &rect);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    TMainFm *m_owner;
    QWidget *m_focusChild;
    TKeyCursorMark m_keyCursor;
    QRect m_band;
    int m_bandPen = 1;
    QRect m_pressFrame;
};
