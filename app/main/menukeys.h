// The menus' keyboard shortcuts: the desktop's standard keys for the usual commands, and the
// rule that leaves the edit keys to a text field that has the focus.
#pragma once

#include <QKeySequence>
#include <QList>

class QKeyEvent;
class QObject;
class QWidget;

/** One menu item's keys: the item's object name and its keys, the first shown in the menu. */
struct TMenuKeys {
    const char *item;
    QList<QKeySequence> keys;
};

/** The shortcuts of the main window's menu items, in order of precedence: a key that an earlier
 *  item already has is left out of a later one, so no key is used twice. */
QList<TMenuKeys> MenuShortcutTable();

/** Gives the window's menu items (found by object name) their keys from the table. */
void InstallMenuShortcuts(QWidget *window);

/** True when a key on its way to the receiver is that widget's own: an undo or redo key sent to
 *  an editable text field (line edit, spin box, plain or rich text edit). Such a key must not
 *  reach the puzzle's Undo and Redo. The word-and-clue editor claims its own keys itself. */
bool TextFieldKeepsKey(const QObject *receiver, const QKeyEvent &key);
