// The puzzle file commands' boxes and cursors around the document's readers and writer.
#include "puzzlefiles.h"

#include "hourglass.h"
#include "prompter.h"

#include <QCursor>
#include <QGuiApplication>

bool ShowFileResult(const TFileResult &result)
{
    for (const TFileMessage &m : result.Messages) {
        // Around a message the cursor is normal, then the hourglass again.
        const bool gui = qobject_cast<QGuiApplication *>(QCoreApplication::instance()) &&
                         QGuiApplication::overrideCursor();
        if (gui)
            QGuiApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
        switch (m.Type) {
        case TFileMessage::Information: showInformation(m.Text); break;
        case TFileMessage::Warning: showWarning(m.Text); break;
        case TFileMessage::Error: showError(m.Text); break;
        }
        if (gui)
            QGuiApplication::restoreOverrideCursor();
    }
    return result.Ok;
}

bool ReadPuzzleFromStrings(const QStringList &list) { return ShowFileResult(LoadPuzzleFromStrings(list)); }

bool ReadPuzzleFromBytes(const QByteArray &bytes, const QString &name)
{
    return ShowFileResult(LoadPuzzleFromBytes(bytes, name));
}

bool SavePuzzleFile(const QString &fileName)
{
    TFileResult result;
    {
        THourglass wait;
        result = WritePuzzleFile(fileName);
    }
    return ShowFileResult(result);
}

bool ReadTextPuzzleFile(const QString &fileName) { return ShowFileResult(LoadTextPuzzleFile(fileName)); }

bool OpenPuzzleFile(const QString &fileName)
{
    THourglass wait;
    return ShowFileResult(LoadPuzzleFile(fileName));
}

void OpenPendingPuzzleFile()
{
    if (PendingPuzzleFileName.isEmpty())
        return;
    const QString name = PendingPuzzleFileName;
    PendingPuzzleFileName.clear();
    OpenPuzzleFile(name);
}

bool ReadOldPuzzleFile(const QString &fileName) { return ShowFileResult(LoadOldPuzzleFile(fileName)); }
