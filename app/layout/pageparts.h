// Chosen parts of one page as a picture: an enhanced metafile the size of exactly those parts,
// for a file or the clipboard (with a PNG beside it), drawn by the printed page's painters.
#pragma once

#include "ascanvas.h"

#include <QByteArray>
#include <QImage>
#include <QString>

/** The parts of a page a picture may hold; the flags combine. */
enum TPagePart {
    PartTitles = 0x02,   // title and subtitle, on pages that carry them
    PartGrid = 0x04,     // the puzzle grid with its credits line, on the grid page
    PartClues = 0x08,    // the clues that fall on the page
    PartWordBank = 0x10, // the word bank, on its page
    PartSolution = 0x20, // the solution grid
};

/** The area, in page inches, of the chosen parts of page p; Empty() when none is there. */
struct TPartsBounds {
    TPageRect Rect{0, 0, 0, 0};
    bool Any = false;
    bool Empty() const { return !Any; }
    void Merge(const TPageRect &r);
};
TPartsBounds PagePartsBounds(int page, int flags);

/** Draws the chosen parts of page p on the canvas, in the printed page's order. */
void RenderPageParts(TAsCanvas &cv, int page, int flags);

/** The chosen parts as an enhanced metafile of the area's size (the parts fill it within the
 *  canvas's 3 % border) and as a PNG of about 200 pixels to the inch. False when no part is
 *  there. */
struct TPagePartsPicture {
    QByteArray Emf;
    QImage Png;
};
bool RenderPagePartsPicture(int page, int flags, TPagePartsPicture *picture);

/** The chosen parts' picture on the clipboard; false, leaving the clipboard alone, when no part
 *  is there. */
bool CopyPagePartsToClipboard(int page, int flags);

/** The picture on the clipboard: the metafile as "image/emf" and under the office suites' name
 *  for it, and the PNG. */
void CopyMetafileToClipboard(const TPagePartsPicture &picture);

/** The file a metafile export writes for the chosen name: ".EMF" is added when the file-name
 *  part has no extension (a dot in a folder name does not count). */
QString MetafileFileName(const QString &chosen);

/** Writes the picture's metafile safely (nothing is replaced unless all was written). */
bool SaveMetafile(const TPagePartsPicture &picture, const QString &fileName, QString *error = nullptr);
