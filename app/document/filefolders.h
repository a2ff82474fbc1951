// Where the file dialogs start and the names they propose: the current puzzle's folder, else the
// folder last used for that kind of file (kept in the settings), else the documents folder.
#pragma once

#include <QString>

#include <functional>

/** The kinds of file the dialogs open and save; each kind remembers its own last folder. */
enum class TFileKind {
    Puzzle,
    WordList,
    Pdf,
    Graphic,
    Text,
    WebPage
};

/** The settings value, under the program key's "Folders", holding the kind's last folder. */
QString LastFolderValueName(TFileKind kind);

/** The folder of the document's file; empty when the document has none to offer: an untitled
 *  document, a web address, a folder that is gone, or the program folder (the samples' home,
 *  no place for the user's own files). */
QString PuzzleFolder(const QString &documentName);

/** The folder a dialog for this kind of file starts in: PuzzleFolder, else the kind's last folder
 *  when it still exists (and is not the program folder), else GetDocumentsFolder. Never empty. */
QString StartFolder(TFileKind kind, const QString &documentName);

/** Remembers the folder of a file the user chose for this kind (not the program folder). */
void RememberFolder(TFileKind kind, const QString &fileName);

/** The puzzle's name for a file made from it: the document's file name without its extension
 *  (a web address: its last part), else the title when it makes a name of more than 2
 *  characters, else "Untitled". Characters that cannot stand in a file name become "_". */
QString PuzzleBaseName(const QString &documentName, const QString &title = QString());

/** StartFolder + PuzzleBaseName + extension (given with its dot, e.g. ".pdf"). */
QString ProposedFileName(TFileKind kind, const QString &documentName, const QString &extension,
                         const QString &title = QString());

/** The current document's file name and title, for forms that do not know the main window; the
 *  main window fills them. Unset, the document counts as untitled. */
struct TDocumentNameHooks {
    std::function<QString()> FileName;
    std::function<QString()> Title;
};
extern TDocumentNameHooks DocumentNameHooks;

/** ProposedFileName for the current document. */
QString ProposedDocumentFileName(TFileKind kind, const QString &extension);
