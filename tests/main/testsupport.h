// Shared helpers of the main-window tests.
#pragma once

#include <QString>

/** The temporary home folder of the test run (HOME, XDG_CONFIG_HOME and XDG_DATA_HOME under it). */
QString TestHome();
/** The file named as the first command-line parameter. */
QString CommandLineFile();
