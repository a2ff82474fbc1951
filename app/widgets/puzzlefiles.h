// Opening, reading and saving puzzle files from the window: the document's readers and writer,
// under the hourglass, with their messages shown as message boxes.
#pragma once

#include "fileio.h"

/** Shows each message of the result as a box of its kind, in order; the normal cursor shows
 *  while a box is up. Returns result.Ok. */
bool ShowFileResult(const TFileResult &result);

bool ReadPuzzleFromStrings(const QStringList &list);
bool ReadPuzzleFromBytes(const QByteArray &bytes, const QString &name);
bool SavePuzzleFile(const QString &fileName);
bool ReadTextPuzzleFile(const QString &fileName);
bool OpenPuzzleFile(const QString &fileName);
/** Opens the file remembered while the main window was not ready, if any. */
void OpenPendingPuzzleFile();
bool ReadOldPuzzleFile(const QString &fileName);
