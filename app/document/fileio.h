// The puzzle file: writing and reading the puzzle text, saving and opening files of both
// formats, new-puzzle defaults, and the stock clues taken from the clue files.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

/** Main-window and printer operations the puzzle file reader and writer call; each may be
 *  left unset (then nothing happens, and there is no printer). */
struct TPuzzleFileHooks {
    std::function<QString()> PrinterName;
    std::function<int()> PrinterOrientation; // 0 portrait, 1 landscape
    std::function<void(int orientation)> SetPrinterOrientation;
    std::function<void()> WYSIWYGChange;                 // page view follows the printer
    std::function<void(bool freeform)> SwitchPuzzleType; // SwitchToFreeform / SwitchToSymmetrical
    std::function<void()> ControlsChanged;               // DocControls were set by the reader
    std::function<void()> WordBankLayout;
    /** After a parse: word-slot count, traffic light, title block height. */
    std::function<void()> AfterPuzzleRead;
    /** After a file was read: re-select the view mode, re-arrange the panels, redraw the grid. */
    std::function<void()> AfterFileRead;
    /** After an older-format import: the penciled-in view, window arrangement, symmetry
     *  buttons, word-slot count and traffic light. */
    std::function<void()> AfterOldPuzzleRead;
    std::function<void()> ComputeTitleBlockHeight;
    /** Left position that centres a freeform grid on the page. */
    std::function<double()> CenteredGridLeft;
    /** The maker's web address, the credits line of a new puzzle (a configuration value). */
    std::function<QString()> MakerWebAddress;
    /** A new puzzle also resets the layout values the file does not carry to the values the
     *  main window's creation gives them. */
    std::function<void()> ResetWindowLayoutValues;
};
extern TPuzzleFileHooks FileHooks;

/** The symmetry mode names by mode 0..6. */
extern const char *const SymmetryModeNames[7];

/** What a reader or writer has to tell the user: its messages in the order it found them (the
 *  window shows each as a box of its kind) and whether it did its work. */
struct TFileMessage {
    enum Kind {
        Information,
        Warning,
        Error
    };
    Kind Type;
    QString Text;
};
struct TFileResult {
    bool Ok = false;
    QList<TFileMessage> Messages;

    explicit operator bool() const { return Ok; }
    /** The text of the last message, empty when there is none. */
    QString ErrorText() const { return Messages.isEmpty() ? QString() : Messages.last().Text; }
    void Add(TFileMessage::Kind kind, const QString &text) { Messages.append({kind, text}); }
};
/** Hands a result's messages to the notice hooks (for reads the document makes on its own). */
void ReportFileMessages(const TFileResult &result);

/** Writes the whole puzzle as puzzle-file text (rebuilding the clue grids first when needed). */
void WritePuzzleToStrings(QStringList &list);
/** Parses a puzzle text into the program state. A text whose grid cannot be read (no "GRID:"
 *  line, a size that is unreadable or not allowed) changes nothing: not Ok. */
TFileResult LoadPuzzleFromStrings(const QStringList &list);
/** Reads a puzzle text as a file holds it (Windows-1252, LF or CR LF), such as one fetched from
 *  the web; name is the one the messages give. Not Ok, with the open puzzle left as it was, when
 *  the text cannot be read; Ok leaves the document unmodified. */
TFileResult LoadPuzzleFromBytes(const QByteArray &bytes, const QString &name);
/** Saves the puzzle; the old file stays whole when the write fails. */
TFileResult WritePuzzleFile(const QString &fileName);
/** Reads a puzzle file (Windows-1252, LF or CR LF); not Ok when it could not be read. */
TFileResult LoadTextPuzzleFile(const QString &fileName);

/** A file to open once the main window is ready. */
extern QString PendingPuzzleFileName;
/** Opens a puzzle of either format; Ok when a puzzle was read (not when it is missing,
 *  unreadable or of an unknown format, nor when it was only remembered for later). */
TFileResult LoadPuzzleFile(const QString &fileName);
/** Not Ok when the engine could not read the grid. */
TFileResult LoadOldPuzzleFile(const QString &fileName);
/** The ".CLU" companion of an older-format puzzle: the file name's first ".owt" (any case)
 *  with "owt" replaced by "CLU", or an existing file of that name in another letter case;
 *  empty when the file name holds no ".owt". */
QString ClueCompanionName(const QString &puzzleFileName);
void SetDefaultLayout();

// Stock clues from the clue files ZEDAVIV/Clues.NN.

/** Pseudo-random index 0 .. n-1 for the pick among the candidates; replaceable by tests. */
extern std::function<int(int n)> StockClueRandom;
/** Forgets which missing clue files were already reported (each is reported once per run). */
void ResetStockClueReports();

/** One unclued answer: "<answer> A<row>" or "<answer> D<row>" and its byte-ordered key. */
struct TStockClueItem {
    QString Text;
    QByteArray Key;
};

void AssignStockClues(bool automatic);
void LoadStockClueFile(int length, const std::vector<TStockClueItem> &items);
void PickStockClue(const QString &item, const QString &line);
