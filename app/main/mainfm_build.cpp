// Make Puzzle for a symmetrical puzzle, the traffic light, and the grid commands of the speed bar
// beside it: erase all letters, undo and redo.
#include "mainfm.h"
#include "mainfm_controls.h"

#include "autolayout.h"
#include "hintfm.h"

#include "alphabet.h"
#include "autopatconfirmdlg.h"
#include "checkpts.h"
#include "cluesedit.h"
#include "cluespg.h"
#include "constructingdlg.h"
#include "globals.h"
#include "hourglass.h"
#include "lines.h"
#include "loose.h"
#include "myoverrides.h"
#include "prompter.h"
#include "stockpat.h"
#include "trv600.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolButton>
#include <algorithm>
#include <new>

namespace {

// The short and the long part of a two-part hint ("short|long").
void applyHint(QToolButton *button, const QString &hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    button->setToolTip(bar < 0 ? hint : hint.left(bar));
    button->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

// The unplaced words named in the message after a build.
constexpr int kUnplacedWordsNamed = 10;

} // namespace

void TMainFm::BuildEditMenu(QMenu *before)
{
    mEdit = new QMenu(QStringLiteral("&Edit"), this);
    mEdit->setObjectName(QStringLiteral("mEdit"));
    menuBar()->insertMenu(before->menuAction(), mEdit);
    mEditUndo = mEdit->addAction(QStringLiteral("&Undo"));
    mEditUndo->setObjectName(QStringLiteral("mEditUndo"));
    connect(mEditUndo, &QAction::triggered, this, &TMainFm::UndoSpBtnClick);
    mEditRedo = mEdit->addAction(QStringLiteral("&Redo"));
    mEditRedo->setObjectName(QStringLiteral("mEditRedo"));
    connect(mEditRedo, &QAction::triggered, this, &TMainFm::RedoSpBtnClick);
    mEdit->addSeparator();
    // The clipboard copies; their commands are connected with the exports.
    const struct {
        const char *name;
        const char *caption;
    } copies[] = {
        {"mEditCopyPuzzleGrid", "Copy Puzzle &Grid to Clipboard"},
        {"mEditCopyPuzzleAll", "Copy &Puzzle Grid && Clues to Clipboard"},
        {"mEditCopyClues", "Copy &Clues to Clipboard (Text only)"},
        {"mEditCopySolution", "Copy &Solution Grid to Clipboard"},
        {"mEditCopySolutionText", "Copy Compact S&olution to Clipboard"},
    };
    for (const auto &copy : copies) {
        QAction *item = mEdit->addAction(QLatin1String(copy.caption));
        item->setObjectName(QLatin1String(copy.name));
    }
    QAction *format = mEdit->addAction(QStringLiteral("Select Exporting &Format for Clipboard"));
    format->setObjectName(QStringLiteral("mEditClipboardFormat"));
    format->setVisible(false);
    mEdit->addSeparator();
}

void TMainFm::BuildCommandButtons()
{
    auto make = [this](const char *name, const QIcon &icon, void (TMainFm::*click)()) {
        auto *button = new QToolButton(SpeedBarPanel);
        button->setObjectName(QLatin1String(name));
        button->setAutoRaise(true);
        button->setIcon(icon);
        button->setIconSize(QSize(16, 16));
        connect(button, &QToolButton::clicked, this, click);
        return button;
    };
    EraseLettersAllSpBtn = make("EraseLettersAllSpBtn", QIcon(QStringLiteral(":/EraseLetter")),
                                &TMainFm::EraseLettersAllSpBtnClick);
    UndoSpBtn = make("UndoSpBtn", style()->standardIcon(QStyle::SP_ArrowBack), &TMainFm::UndoSpBtnClick);
    RedoSpBtn = make("RedoSpBtn", style()->standardIcon(QStyle::SP_ArrowForward), &TMainFm::RedoSpBtnClick);
    PrintSpBtn = make("PrintSpBtn", QIcon(QStringLiteral(":/FilePrint")), &TMainFm::mFilePrintClick);
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
    // A shortcut still reaches here while a build runs with the menus disabled.
    if (m_building || !UndoRedoState().UndoEnabled)
        return;
    UndoCheckPoint();
    AfterGridRestored();
}

void TMainFm::RedoSpBtnClick()
{
    EraseFixedLettersNext = false;
    if (m_building || !UndoRedoState().RedoEnabled)
        return;
    RedoCheckPoint();
    AfterGridRestored();
}

void TMainFm::EraseLettersAllSpBtnClick()
{
    THourglass busy;
    const bool fixedToo = EraseFixedLettersNext;
    TakeCheckPoint(TCheckPointKind::Letters, fixedToo ? QStringLiteral("erase fixed letters")
                                                      : QStringLiteral("erase all filler letters"));
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

// ---- Make Puzzle ------------------------------------------------------------------------------

void TMainFm::BuildMakePuzzleButtons()
{
    auto make = [this](QWidget *parent, const char *name, const QRect &place) {
        auto *button = new QToolButton(parent);
        button->setObjectName(QLatin1String(name));
        button->setText(QStringLiteral("Make Puzzle"));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setIconSize(QSize(16, 24));
        button->setGeometry(place);
        connect(button, &QToolButton::clicked, this, &TMainFm::ConstructSpBtnClick);
        return button;
    };
    ConstructSpBtn = make(SpeedBarPanel, "ConstructSpBtn", QRect()); // placed with the speed bar
    MakeSpBtn = make(LoosePatternPnl, "MakeSpBtn", QRect(160, 88, 120, 30));
    connect(ConstructingDlgTimer, &QTimer::timeout, this, &TMainFm::ConstructingDlgTimerTimer);
    // Green until the engine's grid exists and the window asks it.
    m_trafficLight = TRV_GREEN;
    for (QToolButton *button : {ConstructSpBtn, MakeSpBtn})
        button->setIcon(QIcon(QStringLiteral(":/MakePuzzleGreenImage")));
}

void TMainFm::UpdateTrafficLight()
{
    int colour = TRV_GREEN;
    if (!LooseRB->isChecked()) {
        colour = TRVTrafficLightColor();
        RedLight = colour == TRV_RED;
        if (IsGridBlank())
            colour = TRV_GREEN;
    }
    if (colour == m_trafficLight)
        return;
    m_trafficLight = colour;
    const QIcon picture(QStringLiteral(":/") + (colour == TRV_RED ? QStringLiteral("MakePuzzleRedImage")
                                                : colour == TRV_YELLOW
                                                    ? QStringLiteral("MakePuzzleYellowImage")
                                                    : QStringLiteral("MakePuzzleGreenImage")));
    ConstructSpBtn->setIcon(picture);
    MakeSpBtn->setIcon(picture);
}

bool TMainFm::IsGridBlank() const
{
    for (int r = 1; r <= Rows; ++r)
        for (int c = 1; c <= Columns; ++c)
            if (TRVGetCell(c, r) != TRV_EMPTY)
                return false;
    return true;
}

void TMainFm::ChangeAllEnabledFlags(bool enable)
{
    QCoreApplication::processEvents();
    const bool wasUpdating = GridUpdating;
    GridUpdating = true;
    ClientPanel->setEnabled(enable);
    for (QAction *item : menuBar()->actions())
        item->setEnabled(enable);
    QCoreApplication::processEvents();
    GridUpdating = wasUpdating;
}

void TMainFm::ConstructingDlgTimerTimer()
{
    ConstructingDlgTimer->stop();
    if (ConstructingDlg)
        ConstructingDlg->hide();
}

bool TMainFm::ChooseAutoPattern()
{
    PatternWasChosen = true;
    const bool blank = IsGridBlank();
    bool automatic = RedLight && blank;
    if (RedLight && !blank && AutoPatternNotice) {
        switch (ShowAutoPatternNotice(this)) {
        case TAutoPatAnswer::Cancel: return false;
        case TAutoPatAnswer::GetPattern: automatic = true; break;
        case TAutoPatAnswer::Ok: break;
        }
    }
    if (!automatic)
        return true;
    if (AutoSelectStockPattern()) {
        PatternWasChosen = false;
        return true;
    }
    showInformation(QStringLiteral("No pattern of black && white squares is available for the current "
                                   "custom pattern size. ") +
                    QStringLiteral("\n\n") + QStringLiteral("You can: ") + QStringLiteral("\n") +
                    QStringLiteral("Select a standard size, ") + QStringLiteral("\n") +
                    QStringLiteral("Select a Stock Pattern (see the \"Pattern\" menu), or ") +
                    QStringLiteral("\n") +
                    QStringLiteral("Press the help button where you select a custom size."));
    return false;
}

bool TMainFm::AutoSelectStockPattern()
{
    TStockPatterns patterns;
    if (!patterns.ParseStockPatFile())
        return false;
    patterns.SetThemeWords(ThemeWordsFromWordList());
    const int n = patterns.PickBestStockPattern(Columns, Rows, GlueRandomCB->isChecked());
    return n > 0 && patterns.SelectPattern(n);
}

TConstructingDlg *TMainFm::PrepareConstructingDialog()
{
    if (!ConstructingDlg)
        ConnectAutoLayoutProgress(new TConstructingDlg(this));
    TConstructingDlg *dialog = ConstructingDlg;
    dialog->setWindowTitle(QStringLiteral("Constructing Puzzle"));
    for (QWidget *w :
         {static_cast<QWidget *>(dialog->ConstructionCanceledLabel),
          static_cast<QWidget *>(dialog->UncluedLabel),
          static_cast<QWidget *>(dialog->ConstructNumberUncluedLabel),
          static_cast<QWidget *>(dialog->PuzzleSizeLbl), static_cast<QWidget *>(dialog->SizeLbl)})
        w->hide();
    dialog->CancelBtn->show();
    dialog->Pump = [this] { FlushCellPaints(); };
    ConstructingDlgTimer->stop();
    dialog->FormResize();
    dialog->show();
    return dialog;
}

void TMainFm::ShowCanceled(TConstructingDlg *dialog)
{
    dialog->ConstructionCanceledLabel->show();
    ConstructingDlgTimer->start(500);
    if (dialog->ProgressInfo2Label->text().toInt() > 99)
        dialog->ProgressInfo2Label->setText(QStringLiteral("99"));
}

void TMainFm::ConstructSpBtnClick()
{
    if (m_building)
        return;
    // A new puzzle: its page question may be asked again after a title edit.
    ForgetTitleEdits();
    // The build reads the word list: the user's, not the example shown in its place.
    if (HintFm)
        HintFm->PutBackExampleList();
    EraseFixedLettersNext = false;
    if (!TightRB->isChecked() && !LooseRB->isChecked()) {
        ShowNotebookPage(0);
        showInformation(
            QStringLiteral("Please look at the dictionary page (\"Dict\") and select which type of "
                           "puzzle you want. ") +
            QStringLiteral("\n\n") +
            QStringLiteral("You should base your decision on whether you want a puzzle made of only "
                           "your words or mostly generic words."));
        return;
    }
    const bool random = GlueRandomCB->isChecked();
    if (LooseRB->isChecked()) {
        const QString tab = ViewTabCaption();
        ConstructFreeformPuzzle(random);
        RebuildClueGrids();
        GridUpdating = true;
        ShowViewTab(tab);
        GridUpdating = false;
        InvalidateView();
        QCoreApplication::processEvents();
        return;
    }

    UpdateTrafficLight();
    bool clearedGrid = false;
    if (GridHasNoOpenCells()) {
        // A full grid starts again: letters only when its pattern was chosen, else everything.
        GridUpdating = true;
        QCoreApplication::processEvents();
        if (PatternWasChosen) {
            EraseFixedLettersNext = false;
            EraseLettersAllSpBtnClick();
        } else {
            ClearPatternBtnClick();
            clearedGrid = true;
        }
        GridUpdating = true;
        QCoreApplication::processEvents();
        GridUpdating = false;
        UpdateTrafficLight();
    }
    if (!ChooseAutoPattern()) {
        // The grid was cleared for a pattern that did not come: it comes back as it was.
        if (clearedGrid && UndoRedoState().UndoEnabled)
            UndoSpBtnClick();
        return;
    }
    if (!CheckLongSlotsFilled())
        return;
    TRVEstablishTraceCB([] {});
    TakeCheckPoint(TCheckPointKind::Letters, QStringLiteral("construct symmetrical puzzle"));

    TConstructingDlg *dialog = PrepareConstructingDialog();

    ShowKeyCursor(KeyCursorCol, KeyCursorRow, false);
    m_building = true;
    ChangeAllEnabledFlags(false);
    if (IsPenciledViewActive())
        InvalidateView();

    int result = -1;
    BuildSymmetrical(dialog, random, result);
    // After the window is back, so that the user can look at the puzzle while reading.
    if (result == TRV_FINISHED || result == TRV_FORWARD) {
        const QString text = UnplacedThemeWordsText(UnplacedThemeWords());
        if (!text.isEmpty())
            showInformation(text);
    }
}

void TMainFm::BuildSymmetrical(TConstructingDlg *dialog, bool random, int &result)
{
    const QString tab = ViewTabCaption();
    // Whatever happens from here on, the window comes back to life.
    struct CleanUp {
        TMainFm *w;
        const QString &tab;
        const int &result;
        ~CleanUp()
        {
            if (!tab.contains(QLatin1String("Penciled-In Grid*"))) {
                GridUpdating = true;
                w->ShowViewTab(tab);
                GridUpdating = false;
                w->InvalidateView();
            } else {
                w->SelectViewTab(QStringLiteral("Penciled-In Grid*"));
            }
            w->SetModified();
            w->ChangeAllEnabledFlags(true);
            w->m_building = false;
            w->ViewPortFocus->setFocus();
            w->VPKeyCursorUpdate();
            if (result != TRV_USER_CANCELLED && ConstructingDlg)
                ConstructingDlg->hide();
            ConstructCanceled = false;
        }
    } cleanUp{this, tab, result};

    if (!tab.contains(QLatin1String("Penciled-In Grid*")))
        ShowViewTab(QStringLiteral("Penciled-In Grid*"));
    SendThemeWordsToEngine();
    try {
        dialog->ShowProgress(0, 0);
        // A Cancel before the engine starts would be forgotten by it.
        result = ConstructCanceled
                     ? TRV_USER_CANCELLED
                     : TRVConstructKeepingThemeWords(random ? (TRV_CONSTRUCT_RANDOM | TRV_RIPUP_ALLOWED)
                                                            : TRV_RIPUP_ALLOWED,
                                                     MakePuzzleAttempts);
    } catch (const std::bad_alloc &) {
        ChangeAllEnabledFlags(true);
        dialog->hide();
        ShowConstructErrorMessage();
        // The grid is whatever the failed build left: no clues or layout are made from it.
        // The clean-up gives the window back.
        return;
    }
    FlushCellPaints();
    TRVCorrectAllThemeWordLocations(1);
    if (result == TRV_TOTALLY_EXHAUSTED) {
        RedrawCells(6);
        FlushCellPaints();
        ShowConstructIncompleteMessage();
    }
    if (result == TRV_USER_CANCELLED)
        ShowCanceled(dialog);
    mMakeAnother->setEnabled(true);
    RebuildClueGrids();
    ::RunAutoLayout(AutoLayoutShowProgressNow);
    ClueEditor->update();
    UpdateTrafficLight();
    UpdateWordSlotCount();
}

void TMainFm::mMakeAnotherClick()
{
    if (m_building)
        return;
    // The grid starts again from nothing; without "Make every puzzle different" the same
    // pattern and the same fill come back for the same words.
    if (TightRB->isChecked())
        ClearPatternBtnClick();
    ConstructSpBtnClick();
}

QList<TMainFm::TUnplacedWord> TMainFm::UnplacedThemeWords() const
{
    QList<TUnplacedWord> words;
    for (int e = 0; ClueEditor && e < ClueEditor->EntryCount(); ++e) {
        if (ClueEditor->GetSlotLabel(e) != kUnsetSlotLabel)
            continue;
        const QString word = ClueEditor->GetWord(e).trimmed();
        const int letters = CountAlphabetChars(word);
        if (letters == 0)
            continue;
        words.append({word, letters, TRVGetWLCount(letters) > 0});
    }
    return words;
}

QString TMainFm::UnplacedThemeWordsText(const QList<TUnplacedWord> &words)
{
    bool anyWithSlot = false;
    for (const TUnplacedWord &w : words)
        anyWithSlot = anyWithSlot || w.HasSlot;
    if (!anyWithSlot)
        return QString();
    QString text = words.size() == 1
                       ? QStringLiteral("One of your words is not in the puzzle:\n")
                       : QStringLiteral("%1 of your words are not in the puzzle:\n").arg(words.size());
    const int named = std::min<int>(int(words.size()), kUnplacedWordsNamed);
    for (int i = 0; i < named; ++i) {
        text += QStringLiteral("\n") + words.at(i).Word;
        if (!words.at(i).HasSlot)
            text += QStringLiteral(" (no %1-letter slot in this grid)").arg(words.at(i).Letters);
    }
    if (words.size() > named)
        text += QStringLiteral("\nand %1 more").arg(words.size() - named);
    text +=
        QStringLiteral("\n\nTo try other places for them, tick \"Make every puzzle different\" and make the "
                       "puzzle again, or choose another pattern.");
    return text;
}

void TMainFm::ClearPatternBtnClick()
{
    // Clear Grid: every cell open and empty, hot spots off, the words sent again.
    TakeCheckPoint(TCheckPointKind::Pattern, QStringLiteral("clear pattern"));
    const bool wasUpdating = GridUpdating;
    GridUpdating = true;
    DocControls.ShowHotSpots = false;
    mainfm::setCheckedQuietly(ShowHotSpotsCB, false);
    TRVSetShowHotSpots(0);
    TRVClearGrid();
    TRVRenumberGrid();
    GridUpdating = wasUpdating;
    SendThemeWordsToEngine();
    TRVCorrectAllThemeWordLocations(0);
    TRVInvalidateDisplay();
    InvalidateView();
    UpdateWordSlotCount();
    UpdateTrafficLight();
    UpdateThemeFitCount();
    CluesNeedRebuild = true;
    RebuildClueGrids();
    ShowGridPageState();
    if (ClueEditor)
        ClueEditor->update();
    SetModified();
}

// ---- Freeform --------------------------------------------------------------------------------

void TMainFm::ConstructFreeformPuzzle(bool random)
{
    QList<TFreeformEntry> entries;
    for (int e = 0; WordList && e < WordList->EntryCount(); ++e)
        entries.append({WordList->GetWord(e), WordList->GetClue(e)});
    if (HasOneLetterAnswer(entries))
        showInformation(FreeformOneLetterText);
    TFreeformRefusal refusal = CheckFreeformWords(entries);
    if (refusal == TFreeformRefusal::NoWords) {
        // No words: the advice on where words come from, then the list as it is now.
        ShowNotebookPage(1);
        ShowNextStep();
        entries.clear();
        for (int e = 0; WordList && e < WordList->EntryCount(); ++e)
            entries.append({WordList->GetWord(e), WordList->GetClue(e)});
        refusal = CheckFreeformWords(entries);
        if (refusal == TFreeformRefusal::NoWords)
            return;
    }
    if (refusal != TFreeformRefusal::None) {
        ShowNotebookPage(1);
        showInformation(FreeformRefusalText(refusal));
        return;
    }

    THourglass busy;
    ConstructCanceled = false;
    TakeCheckPoint(TCheckPointKind::Layout, QStringLiteral("construct freeform puzzle"));
    ClearGridUnlessOpen();
    TConstructingDlg *dialog = PrepareConstructingDialog();
    ShowKeyCursor(KeyCursorCol, KeyCursorRow, false);
    m_building = true;
    ChangeAllEnabledFlags(false);
    SendThemeWordsToEngine();

    TFreeformOptions options;
    options.AutoSize = SizeAutoRB->isChecked();
    options.Columns = Columns;
    options.Rows = Rows;
    if (!options.AutoSize)
        options.GridCells = ReadFreeformGridCells();
    options.EveryPuzzleDifferent = random;
    options.Seed = static_cast<std::uint32_t>(QDateTime::currentMSecsSinceEpoch());
    options.Cancelled = [] { return ConstructCanceled; };
    options.Progress = [dialog](int percent) { dialog->ShowProgress(percent, 0); };
    options.SizeShown = [dialog](int columns, int rows) {
        dialog->PuzzleSizeLbl->show();
        dialog->SizeLbl->show();
        dialog->SizeLbl->setText(QStringLiteral("%1x%2").arg(columns).arg(rows));
    };
    options.Pump = [this] {
        FlushCellPaints();
        QCoreApplication::processEvents();
    };

    TFreeformResult result;
    bool failed = false;
    struct CleanUp {
        TMainFm *w;
        TConstructingDlg *dialog;
        const TFreeformResult &result;
        ~CleanUp()
        {
            w->FinishFreeformBuild();
            QCoreApplication::processEvents();
            w->SetModified();
            w->ChangeAllEnabledFlags(true);
            w->m_building = false;
            w->ViewPortFocus->setFocus();
            w->VPKeyCursorUpdate();
            if (!result.Cancelled)
                dialog->hide();
            ConstructCanceled = false;
        }
    } cleanUp{this, dialog, result};
    try {
        dialog->ShowProgress(0, 0);
        result = TFreeformBuilder(entries, options).BuildFreeformPuzzle();
    } catch (const std::bad_alloc &) {
        failed = true;
        ChangeAllEnabledFlags(true);
        dialog->hide();
        ShowConstructErrorMessage();
    }
    if (result.Cancelled)
        ShowCanceled(dialog);
    if (result.Adopted) {
        StoreFreeformResult(result);
        SendThemeWordsToEngine();
    } else if (!failed && !result.Cancelled) {
        showInformation(FreeformNothingPlacedText);
    }
}

void TMainFm::FinishFreeformBuild()
{
    CluesNeedRebuild = true;
    RebuildClueGrids();
    // Only the set-up: the puzzle just built must stay.
    if (!m_freeformSetUpApplied)
        SwitchToFreeform(false, true);
    // After the freeform set-up, whose cell size and grid place the expert may change.
    ::RunAutoLayout(AutoLayoutShowProgressNow);
    TRVSetShowHotSpots(ShowHotSpotsCB->isChecked() ? 1 : 0);
    SetModified();
    SetViewMode(View, 0);
    ArrangePanels();
    TRVInvalidateDisplay();
    InvalidateView();
    UpdateWordSlotCount();
    UpdateTrafficLight();
}
