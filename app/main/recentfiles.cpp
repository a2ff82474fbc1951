// The recent-files list of the File menu and its settings group.
#include "recentfiles.h"

#include "registry.h"

#include <QAction>
#include <QFileInfo>
#include <stdexcept>

TRecentFiles::TRecentFiles(const QString &keyPath, QAction *separator) : m_separator(separator)
{
    // The list lives in the program key's subkey named by the last part of the path.
    const int cut = keyPath.lastIndexOf(QLatin1Char('\\'));
    m_group = cut >= 0 ? keyPath.mid(cut + 1) : keyPath;
}

void TRecentFiles::AddMenuItem(QAction *item)
{
    if (m_items.size() >= MaxSlots)
        throw std::logic_error("Too many recent-file menu items.");
    m_items.append(item);
    const int slot = m_items.size();
    // The item knows its slot, so a click finds its path whatever the caption shows.
    item->setData(slot);
    TRegistryKey key(m_group);
    m_paths[slot - 1] = key.ReadString(QString::number(slot), QString());
    UpdateMenu();
}

void TRecentFiles::AddFile(const QString &path)
{
    QString carried = path;
    for (int i = 0; i < MaxSlots; ++i) {
        const QString old = m_paths[i];
        m_paths[i] = carried;
        if (old.compare(path, Qt::CaseInsensitive) == 0)
            break;
        carried = old;
    }
    Save();
    UpdateMenu();
}

QString TRecentFiles::FileOfMenuItem(const QAction *item) const
{
    if (!item || !m_items.contains(const_cast<QAction *>(item)))
        return QString();
    bool ok = false;
    const int slot = item->data().toInt(&ok);
    return ok ? Path(slot) : QString();
}

void TRecentFiles::Save()
{
    TRegistryKey key(m_group);
    for (int slot = 1; slot <= m_items.size(); ++slot) {
        const QString &path = m_paths[slot - 1];
        if (path.isEmpty())
            key.DeleteValue(QString::number(slot));
        else
            key.WriteString(QString::number(slot), path);
    }
    key.Flush();
}

QString TRecentFiles::ShortForm(const QString &path) { return QFileInfo(path).fileName(); }

void TRecentFiles::UpdateMenu()
{
    bool any = false;
    for (int i = 0; i < m_items.size(); ++i) {
        QAction *item = m_items[i];
        const QString &path = m_paths[i];
        if (path.isEmpty()) {
            item->setText(QString());
            item->setVisible(false);
        } else {
            QString shown = ShortForm(path);
            shown.replace(QLatin1Char('&'), QLatin1String("&&"));
            // "&1" makes the number the item's key in the open menu.
            item->setText(QLatin1Char('&') + QString::number(i + 1) + QLatin1Char(' ') + shown);
            item->setVisible(true);
            any = true;
        }
    }
    if (m_separator)
        m_separator->setVisible(any);
}
