// Two small control overrides used by the forms: panels that leave the desktop colour unpainted
// and labels whose names end in "Lnk" that underline under the mouse.
#pragma once

#include <QColor>
#include <QFrame>
#include <QObject>

class QApplication;

/** Windows colour value ($BBGGRR) as a QColor. */
QColor ColorFromWin(int color);

/** The desktop colour: a panel in this colour paints nothing itself. */
constexpr int DesktopPanelColor = 0xEFFAFB;

class TPanel : public QFrame
{
    Q_OBJECT
public:
    explicit TPanel(QWidget *parent = nullptr, const QString &name = QString());
    int Color() const { return m_color; }
    void SetColor(int color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_color = 0xF0F0F0;
};

/** Underlines every label whose object name ends in "Lnk" while the mouse is over it. */
class TLabelHover : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

/** Installs the label override on the application (once). */
void InstallLabelOverrides(QApplication *app);
