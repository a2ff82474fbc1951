// The splash window: the picture, the load percentage, its fades and dragging by the mouse.
#include "openingscreen.h"

#include "fades.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>

TOpeningScreen *OpeningScreen = nullptr;

TOpeningScreen::TOpeningScreen(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("OpeningScreen"));
    setWindowTitle(QStringLiteral("Tarvel"));
    SplashImage = new QLabel(this);
    SplashImage->setObjectName(QStringLiteral("SplashImage"));
    const QPixmap picture(QStringLiteral(":/TRVSplash"));
    SplashImage->setPixmap(picture);
    SplashImage->setGeometry(2, 2, picture.width(), picture.height());
    // The client area is the picture plus 2 pixels each way.
    setFixedSize(picture.width() + 4, picture.height() + 4);

    LaunchProgressLbl = new QLabel(QStringLiteral("0% Loaded"), this);
    LaunchProgressLbl->setObjectName(QStringLiteral("LaunchProgressLbl"));
    LaunchProgressLbl->setGeometry(32, height() - 40, 160, 20);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TOpeningScreen::SetLoadProgress(int percent)
{
    LaunchProgressLbl->setText(QString::number(percent) + QStringLiteral("% Loaded"));
    LaunchProgressLbl->repaint();
}

void TOpeningScreen::FadeIn(int ms) { FadeWindowIn(this, ms, 2500, true); }

void TOpeningScreen::FadeOut(int ms) { FadeWindowOut(this, ms, 2500); }

void TOpeningScreen::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragging = true;
        m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
    }
}

void TOpeningScreen::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging)
        move(event->globalPosition().toPoint() - m_dragOffset);
}

void TOpeningScreen::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_dragging = false;
}
