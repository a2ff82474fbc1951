// A check run of the installed program: with TRV_EXIT_WHEN_OPENED=1 in the environment it closes
// its window once the first idle pass has opened the file named on the command line, so that a
// script can start it headless on a puzzle and see it end by itself.
#pragma once

/** The environment variable that asks for the check run. */
inline constexpr const char *kExitWhenOpenedVariable = "TRV_EXIT_WHEN_OPENED";

/** When the variable is "1": watches the start-up and, after the first idle pass, writes
 *  "folder: " and the current folder (where the engine reads its dictionary) to standard output,
 *  closes the main window and quits (exit code 0). A message box or other modal window instead ends the
 *  program at once with exit code 3, after writing its title and text to standard error, since
 *  nobody is there to answer it. Nothing happens otherwise. */
void ExitWhenOpenedIfAsked();
