// The interactive puzzle: the applet's data file (AppletPuzzleData), the web page
// that embeds the applet (AppletPage) and the fields from which the hosting service builds its
// own page (PageBuildingFields). Plain functions: the publishing form's fields and the player
// preferences come in as structs, the puzzle from the document globals.
#pragma once

#include "pagetypes.h"

#include <QString>
#include <QStringList>

/** The fields of the publishing form TPublishFm that the builders read. */
struct TPublishInputs {
    QString Title;         // TitleEd
    QString Author;        // AuthorEd
    QString Date;          // DateEd
    bool PlayMode = false; // the main window's Play command: the title becomes "Play-Puzzle"
};

/** One value set of the player preferences (TPublishPrefFm), with the defaults of the
 *  "Defaults" buttons (a missing "FontColor" is the default text colour 0x800000). */
struct TPlayerPrefs {
    // Appearance.
    int PuzzleLayout = 0;        // "PuzzleLayout": 0 Left, 1 Middle, 2 Right
    int GridShadow = 3;          // "GridShadow": 0 "No shadow", 1..10 "n Pixel Shadow"
    bool CapitalizeGrid = true;  // "CapitalizeGrid"
    TColor FontColor = 0x800000; // "FontColor": the sample panel's font colour (text)
    TColor Color = 0xD8E9EC;     // "Color": the sample panel's colour (background)
    // Options.
    QString MessageBelow;     // "MessageBelow": the copyright line (CopyrightEd)
    bool DisplayTimer = true; // "DisplayTimer"
    bool ShowRevealLetterBtn = true;
    bool ShowRevealWordBtn = true;
    bool ShowCheckBtn = true;
    bool ShowSolveBtn = false;
    // Applet size: item 5 "Automatic Medium" (the prefs form recomputes the texts from it).
    int AppletSize = 5; // "AppletSize": item of AppletSizeCmBx
    QString AppletWidth = QStringLiteral("95%");
    QString AppletHeight = QStringLiteral("95%");
    bool Auto = true; // the sizes are shares of the browser window
    int PlayBrowserWidth = 750;
    int PlayBrowserHeight = 580;
    QString PuzzleTextSize = QStringLiteral("Normal"); // "PuzzleTextSize" (PuzzleTextSizeStr)
    // Preload.
    bool PreloadTitle = true;
    bool PreloadAuthor = true;
    bool PreloadDate = true;
    QString PreloadAuthorText; // "PreloadAuthorText" (PublishedAuthorEd): the user's name
};

/** The applet's data file: key=value lines in a fixed order. Every value has its CR and LF
 *  replaced by a blank, so no value can add a key. Reads Columns, Rows, the engine's grid,
 *  RemovedCellColor, PageColor and the across and down clue grids. */
QStringList BuildPuzzleData(const TPublishInputs &inputs, const TPlayerPrefs &prefs);

/** The web page that embeds the applet. ownSite: the user's own site or a local test (the
 *  archives beside the page); otherwise the hosted page ("/applet-bin/"). The title, the word
 *  bank header, the word bank and the data file name are HTML-escaped (non-ASCII as &#N;); the
 *  data file name is percent-encoded first. Reads DocControls.WordBankCB and WordBankHeader. */
QStringList BuildAppletPage(const QString &dataFileName, bool ownSite, const TPublishInputs &inputs,
                            const TPlayerPrefs &prefs);

/** The fields from which the hosting service builds its page: the title as typed, values
 *  without CR or LF; "WhoHostse=WeHost" only for the hosted page. */
QStringList BuildPageFields(const QString &dataFileName, bool ownSite, const TPublishInputs &inputs,
                            const TPlayerPrefs &prefs);

/** The title in effect: "Play-Puzzle" in play mode, else the form's title. */
QString PublishTitle(const TPublishInputs &inputs);

/** A value for a key=value line: CR and LF become blanks. */
QString PublishDataValue(const QString &text);

/** Text for HTML content or a quoted attribute: & < > " ' as entities, control characters and
 *  everything outside printable ASCII as numeric references (&#NNNN;, one per code point). */
QString HtmlEscapeText(const QString &text);
