// Readers of the Linux /proc texts behind the computer details of a support message.
#pragma once

#include <QByteArray>

/** Percent of memory in use from the text of /proc/meminfo (MemTotal less MemAvailable);
 *  0 when either value is missing. */
int MemoryLoadFromMeminfo(const QByteArray &meminfo);
/** Whole seconds since boot from the text of /proc/uptime; 0 when it cannot be read. */
qint64 UptimeFromProcUptime(const QByteArray &uptime);
