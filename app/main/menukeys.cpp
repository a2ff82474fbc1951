// The menus' shortcut table and the text fields' claim on the edit keys.
#include "menukeys.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSet>
#include <QTextEdit>
#include <QWidget>

namespace {

// The desktop's keys for a command; where its key scheme has none (some schemes give Save As
// and Quit no key), the keys the Linux desktops use.
QList<QKeySequence> standard(QKeySequence::StandardKey key, QKeyCombination otherwise = QKeyCombination())
{
    const QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    if (keys.isEmpty() && otherwise != QKeyCombination())
        return {QKeySequence(otherwise)};
    return keys;
}

// Undo and redo keep to the same keys on every desktop (some schemes add Alt+Backspace, which
// would reach past the word-and-clue editor's own Backspace).
QList<QKeySequence> undoKeys() { return {QKeySequence(Qt::CTRL | Qt::Key_Z)}; }

QList<QKeySequence> redoKeys()
{
    return {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)};
}

bool isEditableTextField(const QObject *receiver)
{
    if (const auto *line = qobject_cast<const QLineEdit *>(receiver))
        return !line->isReadOnly();
    if (const auto *spin = qobject_cast<const QAbstractSpinBox *>(receiver))
        return !spin->isReadOnly();
    if (const auto *plain = qobject_cast<const QPlainTextEdit *>(receiver))
        return !plain->isReadOnly();
    if (const auto *rich = qobject_cast<const QTextEdit *>(receiver))
        return !rich->isReadOnly();
    return false;
}

} // namespace

QList<TMenuKeys> MenuShortcutTable()
{
    return {
        {"mFileNew", standard(QKeySequence::New)},
        {"mFileOpen", standard(QKeySequence::Open)},
        {"mFileSave", standard(QKeySequence::Save)},
        {"mFileSaveAs", standard(QKeySequence::SaveAs, Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
        {"mFilePrint", standard(QKeySequence::Print)},
        {"mFileClose", standard(QKeySequence::Close)},
        {"mFileExit", standard(QKeySequence::Quit, Qt::CTRL | Qt::Key_Q)},
        {"mEditUndo", undoKeys()},
        {"mEditRedo", redoKeys()},
        {"mViewZoomIn", standard(QKeySequence::ZoomIn, Qt::CTRL | Qt::Key_Plus)},
        {"mViewZoomOut", standard(QKeySequence::ZoomOut, Qt::CTRL | Qt::Key_Minus)},
        {"mHelpContents", standard(QKeySequence::HelpContents, QKeyCombination(Qt::Key_F1))},
    };
}

void InstallMenuShortcuts(QWidget *window)
{
    QSet<QKeySequence> taken;
    for (const TMenuKeys &row : MenuShortcutTable()) {
        auto *item = window->findChild<QAction *>(QLatin1String(row.item));
        if (!item)
            continue;
        QList<QKeySequence> keys;
        for (const QKeySequence &key : row.keys)
            if (!key.isEmpty() && !taken.contains(key)) {
                taken.insert(key);
                keys << key;
            }
        item->setShortcuts(keys);
        item->setShortcutContext(Qt::WindowShortcut);
    }
}

bool TextFieldKeepsKey(const QObject *receiver, const QKeyEvent &key)
{
    if (key.type() != QEvent::ShortcutOverride || !isEditableTextField(receiver))
        return false;
    const QKeySequence pressed(key.keyCombination());
    for (const QList<QKeySequence> &keys : {undoKeys(), redoKeys()})
        if (keys.contains(pressed))
            return true;
    return false;
}
