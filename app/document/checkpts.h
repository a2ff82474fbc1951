// Undo and redo by whole-puzzle snapshots: a fixed pool of checkpoints, each holding the
// puzzle text and the view values of the moment it was taken.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

/** What a snapshot was taken before; the kind decides which snapshots are merged or skipped. */
enum class TCheckPointKind : std::uint8_t {
    None = 0,
    /** Grid size, puzzle type, freeform build, exchange, stock pattern, layout, paper, word bank. */
    Layout = 2,
    /** Pattern painting and clearing. */
    Pattern = 3,
    /** Erasing letters or words, symmetrical build. */
    Letters = 4,
    /** Typing fixed letters: a run keeps only its first snapshot. */
    Typing = 5,
    /** Stock and additional clues. */
    Clues = 6,
    /** The word list: import, sort, clear, adopt. */
    WordList = 7,
    RejectWord = 8,
    /** A run keeps only its first snapshot; not taken while redo is possible. */
    Scroll = 9,
    /** Not taken while redo is possible. */
    ViewTab = 10,
    /** The state Undo leaves, so that Redo can come back to it. */
    CurrentState = 12,
};

class TCheckPoint
{
public:
    TCheckPoint();
    virtual ~TCheckPoint();
    TCheckPoint(const TCheckPoint &) = delete;
    TCheckPoint &operator=(const TCheckPoint &) = delete;

    bool IsValid() const { return CreatedOk; }
    QString GetDescription() const { return Description; }
    void Capture(TCheckPointKind kind, const QString &description);
    void Restore();

    TCheckPoint *Next = nullptr;
    QString Description;
    TCheckPointKind Kind = TCheckPointKind::None;
    QStringList PuzzleText;
    QString ViewTabCaption;
    int Page = 0;
    int ViewMode = 0;
    double ViewScale[2] = {1.0, 1.0};
    bool CreatedOk = false;
};

/** The view values a snapshot records, and what the Undo and Redo controls show; the main
 *  window installs these. */
struct TCheckPointHooks {
    std::function<QString()> ViewTabCaption;
    std::function<void(double &zoom, double &scale)> ViewScale;
    /** Puts the view back (View is already set): SetCurrentPage, SetViewMode with redraw, the
     *  view tab by its caption and the two scale values. */
    std::function<void(const TCheckPoint &snapshot)> RestoreView;
    /** After a restore: traffic light, title block height, page relayout. */
    std::function<void()> AfterRestore;
    /** Shows the Undo and Redo captions, hints and enables. */
    std::function<void(const struct TUndoRedoState &state)> ShowUndoRedo;
    /** Before a snapshot: the window puts back what it shows only for a moment (the words
     *  page's example list), so that the snapshot holds the user's own document. */
    std::function<void()> BeforeCapture;
};
extern TCheckPointHooks CheckPointHooks;

struct TUndoRedoState {
    QString UndoCaption = QStringLiteral("Undo");
    QString UndoHint = QStringLiteral("Undo|Undo");
    bool UndoEnabled = false;
    QString RedoCaption = QStringLiteral("Redo");
    QString RedoHint = QStringLiteral("Redo|Redo");
    bool RedoEnabled = false;
};

/** Single-clue redraws wait for the next full redraw of the clues (set by Undo and Redo). */
extern bool ClueRedrawPending;

void CreateCheckPointPool(int count);
void TakeCheckPoint(TCheckPointKind kind, const QString &description);
void UndoCheckPoint();
void RedoCheckPoint();
void ClearCheckPoints();
void FreeCheckPointPool();
QString CurrentStateText();
QString UndoHistoryText();
QString RedoHistoryText();
void UpdateUndoRedoCaptions();
/** The captions last computed by UpdateUndoRedoCaptions. */
const TUndoRedoState &UndoRedoState();
/** Snapshots in the undo and redo lists, in the free list, and whether a current state is held. */
int UndoCount();
int RedoCount();
int FreeCount();
bool HasCurrentState();
