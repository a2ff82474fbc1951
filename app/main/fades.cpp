// Window fades by alpha blending and the start-up pauses.
#include "fades.h"

#include <QElapsedTimer>
#include <QThread>
#include <QWidget>
#include <algorithm>
#include <cmath>

bool FadesDisabled() { return qEnvironmentVariable("TRV_NO_FADE") == QLatin1String("1"); }

void StartUpPause(int ms)
{
    if (!FadesDisabled())
        QThread::msleep(static_cast<unsigned long>(ms));
}

void FadeWindowIn(QWidget *w, int ms, int capMs, bool strictlyAbove254)
{
    if (FadesDisabled() || ms <= 0) {
        w->setWindowOpacity(1.0);
        return;
    }
    QElapsedTimer clock;
    clock.start();
    int shown = -1;
    for (;;) {
        const qint64 elapsed = clock.elapsed();
        const int alpha = std::clamp(static_cast<int>(std::lround(elapsed * 255.0 / ms)), 0, 255);
        if (alpha != shown) {
            w->setWindowOpacity(alpha / 255.0);
            shown = alpha;
        }
        const bool done = strictlyAbove254 ? alpha > 254 : alpha >= 255;
        if (done || elapsed > capMs)
            break;
    }
    w->setWindowOpacity(1.0);
}

void FadeWindowOut(QWidget *w, int ms, int capMs)
{
    const int start = std::clamp(static_cast<int>(std::lround(w->windowOpacity() * 255)), 0, 255);
    if (FadesDisabled() || ms <= 0) {
        w->setWindowOpacity(0.0);
        return;
    }
    QElapsedTimer clock;
    clock.start();
    int shown = -1;
    for (;;) {
        const qint64 elapsed = clock.elapsed();
        const int alpha =
            std::clamp(static_cast<int>(std::lround(start * double(ms - elapsed) / ms)), 0, start);
        if (alpha != shown) {
            w->setWindowOpacity(alpha / 255.0);
            shown = alpha;
        }
        if (alpha == 0 || elapsed > capMs)
            break;
    }
}
