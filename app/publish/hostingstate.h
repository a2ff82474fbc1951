// The run-wide values of the hosting-service client and who this installation is
// on the service.
#pragma once

#include "hostingprotocol.h"

#include <QString>

/** The "Time" of the latest presence reply of this run; 0 before any. */
extern qint64 ServerTime;
/** The address of the last published or selected puzzle (used by the e-mail form). */
extern QString LastPuzzleLink;
/** Set by the e-mail form while it has the puzzle published first; a failed publish clears it. */
extern bool EmailPublishing;
/** The posting window opened the puzzle in the browser (or the e-mail form takes it over). */
extern bool BrowserLaunched;

/** This installation on the hosting service: the configured server, group and posting address,
 *  the user's name made URL-safe, the installation number and date, and the program file's time
 *  stamp. */
THostingIdentity HostingIdentity();

/** True when a posting window can be made: the service's address is a web address and an
 *  account group (other than "0") is configured. */
bool HostingConfigured();
