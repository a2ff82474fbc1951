// The start folders of the file dialogs, the last folder of each kind of file and the names
// proposed for files made from the puzzle.
#include "filefolders.h"

#include "globals.h"
#include "registry.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kFoldersKey = QStringLiteral("Folders");

bool isProgramFolder(const QString &folder)
{
    return QDir::cleanPath(QFileInfo(folder).absoluteFilePath()) ==
           QDir::cleanPath(QFileInfo(GetProgramFolder()).absoluteFilePath());
}

// A folder worth starting in: it exists and holds no program files.
bool usableFolder(const QString &folder)
{
    return !folder.isEmpty() && QFileInfo(folder).isDir() && !isProgramFolder(folder);
}

bool isUntitled(const QString &documentName)
{
    const QString name = documentName.trimmed();
    return name.isEmpty() || QFileInfo(name).fileName() == QLatin1String("Untitled");
}

QString fileNameSafe(QString name)
{
    for (QChar &c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 32)
            c = QLatin1Char('_');
    name = name.trimmed();
    // A name of dots alone would name a folder or a hidden file.
    if (!name.isEmpty() && name.count(QLatin1Char('.')) == name.size())
        name.clear();
    return name;
}

QString documentFileName() { return DocumentNameHooks.FileName ? DocumentNameHooks.FileName() : QString(); }

} // namespace

TDocumentNameHooks DocumentNameHooks;

QString LastFolderValueName(TFileKind kind)
{
    switch (kind) {
    case TFileKind::Puzzle: return QStringLiteral("Puzzle");
    case TFileKind::WordList: return QStringLiteral("WordList");
    case TFileKind::Pdf: return QStringLiteral("PDF");
    case TFileKind::Graphic: return QStringLiteral("Graphic");
    case TFileKind::Text: return QStringLiteral("Text");
    case TFileKind::WebPage: return QStringLiteral("WebPage");
    }
    return QString();
}

QString PuzzleFolder(const QString &documentName)
{
    if (isUntitled(documentName) || IsHttpUrl(documentName) || documentName.contains(QLatin1String("://")))
        return QString();
    const QFileInfo info(documentName);
    if (info.isRelative())
        return QString();
    const QString folder = info.absolutePath();
    return usableFolder(folder) ? folder : QString();
}

QString StartFolder(TFileKind kind, const QString &documentName)
{
    const QString puzzle = PuzzleFolder(documentName);
    if (!puzzle.isEmpty())
        return puzzle;
    const TRegistryKey key(kFoldersKey);
    const QString last = key.ReadString(LastFolderValueName(kind), QString());
    if (usableFolder(last))
        return QDir::cleanPath(last);
    return GetDocumentsFolder();
}

void RememberFolder(TFileKind kind, const QString &fileName)
{
    if (fileName.isEmpty() || IsHttpUrl(fileName))
        return;
    const QString folder = QFileInfo(fileName).absolutePath();
    if (!usableFolder(folder))
        return;
    TRegistryKey key(kFoldersKey);
    if (key.ReadString(LastFolderValueName(kind), QString()) != folder)
        key.WriteString(LastFolderValueName(kind), folder);
}

QString PuzzleBaseName(const QString &documentName, const QString &title)
{
    if (!isUntitled(documentName)) {
        QString name = documentName.trimmed();
        if (IsHttpUrl(name) || name.contains(QLatin1String("://"))) {
            name = StripQuery(name);
            name = name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
        }
        const QString base = fileNameSafe(QFileInfo(name).completeBaseName());
        if (!base.isEmpty())
            return base;
    }
    const QString fromTitle = fileNameSafe(title);
    return fromTitle.size() > 2 ? fromTitle : QStringLiteral("Untitled");
}

QString ProposedFileName(TFileKind kind, const QString &documentName, const QString &extension,
                         const QString &title)
{
    return QDir(StartFolder(kind, documentName)).filePath(PuzzleBaseName(documentName, title) + extension);
}

QString ProposedDocumentFileName(TFileKind kind, const QString &extension)
{
    return ProposedFileName(kind, documentFileName(), extension,
                            DocumentNameHooks.Title ? DocumentNameHooks.Title() : QString());
}
