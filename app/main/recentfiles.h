// The recent-files list of the File menu: up to 24 paths, one per registered menu item, kept in
// the settings group "Recent" with the values "1", "2", ... (slot 1 is the newest).
#pragma once

#include <QList>
#include <QString>
#include <array>

class QAction;

class TRecentFiles
{
public:
    static constexpr int MaxSlots = 24;

    /** keyPath is the registry path of the list, "Software\Halvard, Inc.\TRV\Recent". */
    TRecentFiles(const QString &keyPath, QAction *separator);

    /** Registers the next menu item and reads its path; a 25th item throws. */
    void AddMenuItem(QAction *item);
    /** Puts path at the top; a path already listed (compared ignoring case) moves up, else the
     *  oldest drops out. Saves and updates the menu. */
    void AddFile(const QString &path);
    /** The path of a registered item, found by the slot number in its data; empty when none. */
    QString FileOfMenuItem(const QAction *item) const;
    void Save();
    void UpdateMenu();

    int Count() const { return m_items.size(); }
    QString Path(int slot) const { return slot >= 1 && slot <= MaxSlots ? m_paths[slot - 1] : QString(); }

    /** What a menu item shows for a path: the file name (Linux paths have no drive). */
    static QString ShortForm(const QString &path);

private:
    QString m_group;
    QAction *m_separator;
    QList<QAction *> m_items;
    std::array<QString, MaxSlots> m_paths;
};
