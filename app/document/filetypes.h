// The puzzle file association (the desktop entry and MIME type of ".trv" files, written at close)
// and the probe whether the desktop data folders may be written (RegistryIsWritable).
//
// On this platform HKEY_CLASSES_ROOT is the user's freedesktop data folder ($XDG_DATA_HOME,
// ~/.local/share when unset): the keys ".trv" and "trvfile" become a shared-mime-info package,
// "trvfile\shell\open\command" and "trvfile\DefaultIcon" a desktop entry with the program's icon
// copied under icons/. "Writable" means that the folders applications/ and mime/packages/ can be
// written.
#pragma once

#include <QByteArray>
#include <QString>

/** "application/x-tarvel-puzzle", the MIME type of a puzzle file (the "trvfile" class). */
QString TrvMimeType();
/** "Tarvel Puzzle File", the type's description. */
QString TrvMimeComment();
/** "*.trv", the file name pattern (the ".trv" key). */
QString TrvMimeGlob();

/** $XDG_DATA_HOME, or ~/.local/share when it is unset, empty or not absolute. No trailing "/". */
QString XdgDataHome();
/** $XDG_DATA_HOME/mime/packages/tarvel.xml */
QString TrvMimePackagePath();
/** $XDG_DATA_HOME/applications/tarvel.desktop */
QString TrvDesktopEntryPath();
/** Where the icon of iconSource is copied: $XDG_DATA_HOME/icons/hicolor/NxN/apps/tarvel.png for a
 *  square image of N pixels, else $XDG_DATA_HOME/icons/tarvel.png. */
QString TrvIconPath(const QString &iconSource);

/** One argument of a desktop entry's Exec key as it stands in the file: "%" doubled, the whole
 *  in double quotes with '"', '`', '$' and '\' escaped by a backslash, then the string escapes
 *  of the file ('\' as "\\", newline "\n", tab "\t", carriage return "\r"). */
QString DesktopExecArgument(const QString &argument);
/** The shared-mime-info package text (UTF-8). */
QByteArray TrvMimePackageText();
/** The desktop entry text (UTF-8) for the program's full path and the copied icon's path (no Icon
 *  key when iconPath is empty). */
QByteArray TrvDesktopEntryText(const QString &programPath, const QString &iconPath);

/** Writes, reads back and removes a probe file (text: the current date and time) in
 *  $XDG_DATA_HOME/applications and $XDG_DATA_HOME/mime/packages, creating the folders when
 *  missing; true only when both succeed (read text equals written text, and the probe is gone). */
bool TestRegistryWrite();
/** The result of TestRegistryWrite, computed once per run for each data folder (a changed
 *  XDG_DATA_HOME is probed anew). */
bool RegistryIsWritable();

/** Clears RegisterFileTypeOnClose; when RegistryIsWritable, writes the MIME package, copies the
 *  icon (iconSource: a file or ":/..." resource), writes the desktop entry for programPath (made
 *  absolute), in that order, then runs update-mime-database and update-desktop-database when they
 *  are installed (each given at most a few seconds). Every file is written whole (QSaveFile); one
 *  that cannot be written is skipped silently. A rerun writes byte-identical files. */
void RegisterFileType(const QString &programPath, const QString &iconSource);
