// The preference values that the preferences dialog reads from a first-run list and writes to
// the program key; the dialog calls these.
#pragma once

class TNameValueLines;

/** The Boolean part of a first-run reading: "T"/"F" flags into the preference globals, then the
 *  two automatic-clue menu items ticked to match. */
void ReadPreferenceFlags(const TNameValueLines &list);

/** Writes the window rectangle and the preferences to the program key (creating it); nothing
 *  and no message when the key cannot be written. */
void WriteRegistry();

/** The built-in first-run defaults, used when no trv.ini is found. */
TNameValueLines BuiltInFirstRunDefaults(int screenWidth, int screenHeight);
