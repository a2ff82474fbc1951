// Window fades by alpha blending and the start-up pauses, both skipped when TRV_NO_FADE=1
// (for tests and for desktops without a compositor).
#pragma once

class QWidget;

/** True when the environment variable TRV_NO_FADE is "1". */
bool FadesDisabled();

/** Blocks the thread for ms milliseconds (the start-up pauses); nothing when fades are off. */
void StartUpPause(int ms);

/** Fades w in over ms milliseconds, giving up after capMs: alpha = elapsed x 255 / ms. The
 *  loop runs on the wall clock without processing messages. */
void FadeWindowIn(QWidget *w, int ms, int capMs, bool strictlyAbove254);

/** Fades w from its current opacity down to 0 over ms milliseconds, giving up after capMs. */
void FadeWindowOut(QWidget *w, int ms, int capMs);
