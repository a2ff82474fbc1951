// The window's side of the program-wide helpers: the speed buttons' hints, the hosting
// advertisement on a label and posting a message to the web site with its outcome box.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QLabel;
class QWidget;

/** Sets the two-part hints ("short|long") of the main window's speed buttons found by name
 *  under the window: the short part as tool tip, the long part as status tip. */
void SetToolbarHints(QWidget *mainWindow);

/** Posts the name=value fields to the URL and tells the user how it went; never throws.
 *  True when the message went through: a 2xx reply without an "Error=" line. While it runs only
 *  modalTo's window takes input (a cancel there ends it); progress gets the bytes sent and
 *  received. */
bool PostMessageToServer(const QStringList &fields, const QString &url, QWidget *modalTo = nullptr,
                         const std::function<void(qint64 sent, qint64 received)> &progress = {});

/** Sets the hosting advertisement sentence (HostingAdText) on a label. */
void SetHostingAdText(QLabel *label);
