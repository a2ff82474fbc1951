// The splash window shown while the program starts, with its load percentage.
#pragma once

#include <QPoint>
#include <QWidget>

class QLabel;

class TOpeningScreen : public QWidget
{
    Q_OBJECT
public:
    explicit TOpeningScreen(QWidget *parent = nullptr);

    QLabel *SplashImage = nullptr;
    QLabel *LaunchProgressLbl = nullptr;

    /** Shows percent followed by "% Loaded" and repaints the label at once. */
    void SetLoadProgress(int percent);
    void FadeIn(int ms);
    void FadeOut(int ms);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_dragging = false;
    QPoint m_dragOffset;
};

/** The splash while it exists, else null; forms created during start-up report progress here. */
extern TOpeningScreen *OpeningScreen;
