// The grid commands of the speed bar beside Make Puzzle: erase all letters, undo and redo.
#include "mainfm.h"

#include "checkpts.h"
#include "cluesedit.h"
#include "cluespg.h"
#include "globals.h"
#include "hourglass.h"
#include "myoverrides.h"
#include "trv600.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolButton>

namespace {

// The short and the long part of a two-part hint ("short|long").
void applyHint(QToolButton *button, const QString &hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    button->setToolTip(bar < 0 ? hint : hint.left(bar));
    button->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

} // namespace

void TMainFm::BuildEditMenu(QMenu *before)
{
    mEdit = new QMenu(QStringLiteral("&Edit"), this);
    mEdit->setObjectName(QStringLiteral("mEdit"));
    menuBar()->insertMenu(before->menuAction(), mEdit);
    mEditUndo = mEdit->addAction(QStringLiteral("&Undo"));
    mEditUndo->setObjectName(QStringLiteral("mEditUndo"));
    mEditUndo->setShortcut(QKeySequence::Undo);
    connect(mEditUndo, &QAction::triggered, this, &TMainFm::UndoSpBtnClick);
    mEditRedo = mEdit->addAction(QStringLiteral("&Redo"));
    mEditRedo->setObjectName(QStringLiteral("mEditRedo"));
    mEditRedo->setShortcut(QKeySequence::Redo);
    connect(mEditRedo, &QAction::triggered, this, &TMainFm::RedoSpBtnClick);
}

void TMainFm::BuildCommandButtons()
{
    auto make = [this](const char *name, const QIcon &icon, int x, void (TMainFm::*click)()) {
        auto *button = new QToolButton(SpeedBarPanel);
        button->setObjectName(QLatin1String(name));
        button->setAutoRaise(true);
        button->setIcon(icon);
        button->setIconSize(QSize(16, 16));
        button->setGeometry(x, 4, 24, 24);
        connect(button, &QToolButton::clicked, this, click);
        return button;
    };
    EraseLettersAllSpBtn = make("EraseLettersAllSpBtn", QIcon(QStringLiteral(":/EraseLetter")), 166,
                                &TMainFm::EraseLettersAllSpBtnClick);
    UndoSpBtn = make("UndoSpBtn", style()->standardIcon(QStyle::SP_ArrowBack), 196, &TMainFm::UndoSpBtnClick);
    RedoSpBtn = make("RedoSpBtn", style()->standardIcon(QStyle::SP_ArrowForward), 220, &TMainFm::RedoSpBtnClick);
    CheckPointHooks.ShowUndoRedo = [this](const TUndoRedoState &state) { ShowUndoRedo(state); };
    ShowUndoRedo(UndoRedoState());
}

void TMainFm::ShowUndoRedo(const TUndoRedoState &state)
{
    mEditUndo->setText(state.UndoCaption);
    mEditUndo->setEnabled(state.UndoEnabled);
    mEditRedo->setText(state.RedoCaption);
    mEditRedo->setEnabled(state.RedoEnabled);
    applyHint(UndoSpBtn, state.UndoHint);
    applyHint(RedoSpBtn, state.RedoHint);
    UndoSpBtn->setEnabled(state.UndoEnabled);
    RedoSpBtn->setEnabled(state.RedoEnabled);
}

// After the grid came back from a snapshot or lost letters, the engine's theme words and the
// window's counts follow it again.
void TMainFm::AfterGridRestored()
{
    UpdateThemeFitCount();
    SendThemeWordsToEngine();
    TRVCorrectAllThemeWordLocations(0);
    UpdateWordSlotCount();
    TRVComputeHotSpots();
    VPKeyCursorUpdate();
}

void TMainFm::UndoSpBtnClick()
{
    EraseFixedLettersNext = false;
    if (!UndoRedoState().UndoEnabled)
        return;
    UndoCheckPoint();
    AfterGridRestored();
}

void TMainFm::RedoSpBtnClick()
{
    EraseFixedLettersNext = false;
    if (!UndoRedoState().RedoEnabled)
        return;
    RedoCheckPoint();
    AfterGridRestored();
}

void TMainFm::EraseLettersAllSpBtnClick()
{
    THourglass busy;
    const bool fixedToo = EraseFixedLettersNext;
    TakeCheckPoint(4, fixedToo ? QStringLiteral("erase fixed letters") : QStringLiteral("erase all filler letters"));
    ShowKeyCursor(KeyCursorCol, KeyCursorRow, false);
    GridUpdating = true;
    TRVClearGridLetters(fixedToo ? 1 : 0);
    SendThemeWordsToEngine();
    TRVCorrectAllThemeWordLocations(0);
    GridUpdating = false;
    TRVInvalidateDisplay();
    InvalidateView();
    CluesNeedRebuild = true;
    RebuildClueGrids();
    UpdateWordSlotCount();
    VPKeyCursorUpdate();
    ClueEditor->update();
    SetModified();
    // A second press straight after also takes the letters the user typed.
    EraseFixedLettersNext = true;
}
