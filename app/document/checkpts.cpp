// Undo and redo: snapshots move between the free list, the undo list (newest first), the redo
// list (most recently undone first) and the current-state slot; none is ever made after start-up.
#include "checkpts.h"

#include "cluespg.h"
#include "fileio.h"
#include "globals.h"
#include "trv600.h"

#include <QCursor>
#include <QGuiApplication>

#include <deque>
#include <memory>
#include <vector>

TCheckPointHooks CheckPointHooks;
bool ClueRedrawPending = false;

namespace {

std::vector<std::unique_ptr<TCheckPoint>> g_pool;
std::vector<TCheckPoint *> g_free;
std::deque<TCheckPoint *> g_undo; // front: newest
std::deque<TCheckPoint *> g_redo; // front: most recently undone
TCheckPoint *g_current = nullptr;
TCheckPointKind g_lastKind = TCheckPointKind::None;
TUndoRedoState g_state;

TCheckPoint *GetFreeNode()
{
    if (!g_free.empty()) {
        TCheckPoint *node = g_free.back();
        g_free.pop_back();
        return node;
    }
    if (!g_undo.empty()) {
        TCheckPoint *oldest = g_undo.back();
        g_undo.pop_back();
        return oldest;
    }
    InternalError(QStringLiteral("Error in CheckPts.GetFreeNode"));
    return nullptr;
}

void moveRedoToFree()
{
    for (TCheckPoint *node : g_redo)
        g_free.push_back(node);
    g_redo.clear();
}

// Up to 35 descriptions, from the front of the list or from its back.
QString history(const std::deque<TCheckPoint *> &list, bool fromBack)
{
    QString text;
    const int size = int(list.size());
    for (int i = 0; i < size && i < 35; ++i) {
        const TCheckPoint *node = list.at(size_t(fromBack ? size - 1 - i : i));
        text += QStringLiteral("\t") + node->Description + QStringLiteral("\r\n");
    }
    return text;
}

} // namespace

TCheckPoint::TCheckPoint() { CreatedOk = true; }

TCheckPoint::~TCheckPoint() = default;

void TCheckPoint::Capture(TCheckPointKind kind, const QString &description)
{
    const bool wasUpdating = GridUpdating;
    GridUpdating = true;
    PuzzleText.clear();
    WritePuzzleToStrings(PuzzleText);
    Kind = kind;
    Description = description;
    ViewTabCaption = CheckPointHooks.ViewTabCaption ? CheckPointHooks.ViewTabCaption() : QString();
    Page = CurrentPage;
    ViewMode = View;
    if (CheckPointHooks.ViewScale)
        CheckPointHooks.ViewScale(ViewScale[0], ViewScale[1]);
    GridUpdating = wasUpdating;
}

void TCheckPoint::Restore()
{
    const bool gui = qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
    if (gui)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    GridUpdating = true;
    ReportFileMessages(LoadPuzzleFromStrings(PuzzleText));
    GridUpdating = true;
    View = ViewMode;
    if (CheckPointHooks.RestoreView)
        CheckPointHooks.RestoreView(*this);
    TRVInvalidateDisplay();
    if (WordList)
        WordList->NotifyAllChanged();
    GridUpdating = false;
    if (CheckPointHooks.AfterRestore)
        CheckPointHooks.AfterRestore();
    if (gui)
        QGuiApplication::restoreOverrideCursor();
}

void CreateCheckPointPool(int count)
{
    g_free.clear();
    g_undo.clear();
    g_redo.clear();
    g_current = nullptr;
    g_pool.clear();
    for (int i = 0; i < count; ++i) {
        auto node = std::make_unique<TCheckPoint>();
        if (!node->IsValid())
            break;
        g_free.push_back(node.get());
        g_pool.push_back(std::move(node));
    }
    ClearCheckPoints();
}

void TakeCheckPoint(TCheckPointKind kind, const QString &description)
{
    if (CheckPointHooks.BeforeCapture)
        CheckPointHooks.BeforeCapture();
    using K = TCheckPointKind;
    if (kind == g_lastKind && (kind == K::Typing || kind == K::Scroll))
        return;
    g_lastKind = kind;
    if (!g_redo.empty() && (kind == K::Scroll || kind == K::ViewTab))
        return;
    moveRedoToFree();
    if (g_current) {
        g_free.push_back(g_current);
        g_current = nullptr;
    }
    TCheckPoint *node = GetFreeNode();
    if (!node)
        return;
    node->Capture(kind, description);
    g_undo.push_front(node);
    UpdateUndoRedoCaptions();
}

void UndoCheckPoint()
{
    TRVUndoSpBtnClick();
    if (g_undo.empty()) {
        InternalError(QStringLiteral("Unexpected Undo"));
        return;
    }
    ClueRedrawPending = true;
    if (!g_current) {
        g_current = GetFreeNode();
        if (!g_current)
            return;
        g_current->Capture(TCheckPointKind::CurrentState, QString());
        // Taking the current state may have sacrificed the last undo step.
        if (g_undo.empty()) {
            g_free.push_back(g_current);
            g_current = nullptr;
            return;
        }
    }
    g_redo.push_front(g_current);
    g_current = g_undo.front();
    g_undo.pop_front();
    // Typing after an undo starts a new step, so that it is never coalesced into an old run.
    g_lastKind = TCheckPointKind::None;
    g_current->Restore();
    UpdateUndoRedoCaptions();
}

void RedoCheckPoint()
{
    TRVRedoSpBtnClick();
    if (g_redo.empty()) {
        InternalError(QStringLiteral("Unexpected Redo"));
        return;
    }
    if (!g_current) {
        InternalError(QStringLiteral("Redo \"current state\" problem."));
        return;
    }
    ClueRedrawPending = true;
    g_undo.push_front(g_current);
    g_current = g_redo.front();
    g_redo.pop_front();
    g_lastKind = TCheckPointKind::None;
    g_current->Restore();
    UpdateUndoRedoCaptions();
}

void ClearCheckPoints()
{
    for (TCheckPoint *node : g_undo)
        g_free.push_back(node);
    g_undo.clear();
    moveRedoToFree();
    g_lastKind = TCheckPointKind::None;
    UpdateUndoRedoCaptions();
}

void FreeCheckPointPool()
{
    ClearCheckPoints();
    g_free.clear();
    g_current = nullptr;
    g_pool.clear();
}

QString CurrentStateText() { return g_current ? QStringLiteral("\t") + g_current->Description : QString(); }

QString UndoHistoryText() { return history(g_undo, false); }

QString RedoHistoryText() { return history(g_redo, true); }

void UpdateUndoRedoCaptions()
{
    TUndoRedoState s;
    if (!g_undo.empty()) {
        const QString d = g_undo.front()->Description;
        s.UndoCaption = QStringLiteral("Undo ") + d;
        s.UndoHint = QStringLiteral("Undo|Undo ") + d;
        s.UndoEnabled = true;
    }
    if (!g_redo.empty() && g_current) {
        const QString d = g_current->Description;
        s.RedoCaption = QStringLiteral("Redo ") + d;
        s.RedoHint = QStringLiteral("Redo|Redo ") + d;
        s.RedoEnabled = true;
    }
    g_state = s;
    if (CheckPointHooks.ShowUndoRedo)
        CheckPointHooks.ShowUndoRedo(g_state);
}

const TUndoRedoState &UndoRedoState() { return g_state; }

int UndoCount() { return int(g_undo.size()); }

int RedoCount() { return int(g_redo.size()); }

int FreeCount() { return int(g_free.size()); }

bool HasCurrentState() { return g_current != nullptr; }
