// The window's side of the document state: the controls that the puzzle file reads and writes
// show the document's values (DocControls, the engine's grid and FreeformMode), and every change
// the user makes on them goes back to the document and marks it modified. The grid page's and the
// words page's own commands are in mainfm_gridpage.cpp and mainfm_words.cpp.
#include "autolayout.h"
#include "mainfm.h"
#include "mainfm_controls.h"

using namespace mainfm;
#include "wysiwyg.h"

#include "alphabet.h"
#include "checkpts.h"
#include "cluesedit.h"
#include "cluespg.h"
#include "constructingdlg.h"
#include "fileio.h"
#include "globals.h"
#include "hourglass.h"
#include "layoutsettings.h"
#include "lines.h"
#include "myoverrides.h"
#include "pataux.h"
#include "stockpat.h"
#include "trv600.h"
#include "viewpaint.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include <QSpinBox>
#include <QToolButton>
#include <utility>

QString TMainFm::DefaultCreditsLine() { return QStringLiteral("Made with Tarvel"); }

// ---- Hooks and connections ------------------------------------------------------------------

void TMainFm::InstallDocumentHooks()
{
    FileHooks.SwitchPuzzleType = [this](bool freeform) {
        if (freeform)
            SwitchToFreeform(false);
        else
            SwitchToSymmetrical(false);
    };
    FileHooks.ControlsChanged = [this] {
        // A puzzle read in (a file, a whole-puzzle undo) starts the title fields' own undo
        // afresh, also where a title reads as before: setText forgets the typing history.
        for (QLineEdit *edit : {TitleEd, SubtitleEd}) {
            const QSignalBlocker block(edit);
            edit->setText(edit == TitleEd ? DocControls.PuzzleTitle : DocControls.PuzzleSubtitle);
        }
        ShowDocumentControls();
    };
    FileHooks.AfterPuzzleRead = [this] {
        UpdateWordSlotCount();
        ComputeTitleBlockHeight();
    };
    FileHooks.AfterFileRead = [this] {
        SetViewMode(View, 0);
        ArrangePanels();
        TRVInvalidateDisplay();
        InvalidateView();
    };
    FileHooks.AfterOldPuzzleRead = [this] {
        ShowDocumentControls();
        ArrangePanels();
    };
    FileHooks.CenteredGridLeft = [this] { return CenteredGridLeft(); };
    FileHooks.MakerWebAddress = [] { return DefaultCreditsLine(); };
    DocHooks.SendThemeWordsToEngine = [this] { SendThemeWordsToEngine(); };
    DocHooks.RedrawThemePageSummary = [this] { RedrawThemePageSummay(); };
    DocHooks.DeleteThemeEntry = [this](int entry) { ClueEditor->DeleteEntry(entry); };
    StockPatternHooks.BeforeLoad = [this] {
        KeyCursorCol = KeyCursorRow = 1;
        DocControls.Exchanged = false;
        setCheckedQuietly(ExchangeAcrossDownSpBtn, false);
    };
    StockPatternHooks.ArrangeAfterLoad = [this] {
        RebuildClueGrids();
        ArrangePanels();
        TRVSetShowHotSpots(ShowHotSpotsCB->isChecked() ? 1 : 0);
    };
    StockPatternHooks.RefreshAfterLoad = [this] {
        TRVInvalidateDisplay();
        InvalidateView();
        UpdateWordSlotCount();
        SetModified();
        UpdateTrafficLight();
        SendThemeWordsToEngine();
        TRVCorrectAllThemeWordLocations(0);
        UpdateThemeFitCount();
    };
    // The stock-clue pass reports into the progress dialog of the build that runs it.
    DocHooks.SetConstructCaption = [](const QString &caption) {
        if (ConstructingDlg)
            ConstructingDlg->setWindowTitle(caption);
    };
    DocHooks.ShowUncluedCount = [](int count) {
        if (!ConstructingDlg)
            return;
        ConstructingDlg->UncluedLabel->show();
        ConstructingDlg->ConstructNumberUncluedLabel->show();
        ConstructingDlg->ConstructNumberUncluedLabel->setText(QString::number(count));
    };
    // The printer, the page view, the word-bank layout and the title block join these hooks
    // with the page model and printing.
}

void TMainFm::ConnectDocumentControls()
{
    connect(LooseRB, &QRadioButton::clicked, this, [this] { ChangePuzzleType(0); });
    connect(TightRB, &QRadioButton::clicked, this, [this] { ChangePuzzleType(1); });
    connect(TitleEd, &QLineEdit::textEdited, this, &TMainFm::TitleEdChange);
    connect(SubtitleEd, &QLineEdit::textEdited, this, &TMainFm::SubtitleEdChange);
    m_titleEditTimer.setSingleShot(true);
    m_titleEditTimer.setInterval(TitleEditPauseMs);
    connect(&m_titleEditTimer, &QTimer::timeout, this, &TMainFm::RunPendingTitleLayout);
    for (QLineEdit *edit : {TitleEd, SubtitleEd})
        connect(edit, &QLineEdit::editingFinished, this, &TMainFm::RunPendingTitleLayout);
    connect(GlueRandomCB, &QCheckBox::clicked, this, &TMainFm::GlueRandomCBClick);
    connect(AutoLayoutCB, &QCheckBox::clicked, this, &TMainFm::AutoLayoutCBClick);
    connect(WordBankCB, &QCheckBox::clicked, this, &TMainFm::WordBankCBClick);
    connect(CheckBoxUncrossed, &QCheckBox::clicked, this, &TMainFm::CheckBoxUncrossedClick);
    connect(CheckBoxTwoLetter, &QCheckBox::clicked, this, &TMainFm::CheckBoxTwoLetterClick);
    connect(ShowHotSpotsCB, &QCheckBox::clicked, this, &TMainFm::ShowHotSpotsCBClick);
    connect(ExchangeAcrossDownSpBtn, &QToolButton::clicked, this, &TMainFm::ExchangeAcrossDownSpBtnClick);
    connect(SizeAutoRB, &QRadioButton::clicked, this, &TMainFm::SizeAnyRBClick);
    connect(SizeFixedRB, &QRadioButton::clicked, this, &TMainFm::SizeAnyRBClick);
    connect(ApplySizeBtn, &QPushButton::pressed, this, &TMainFm::ApplySizeBtnMouseDown);
}

// ---- Showing the document ---------------------------------------------------------------------

void TMainFm::ShowDocumentControls()
{
    setTextQuietly(TitleEd, DocControls.PuzzleTitle);
    setTextQuietly(SubtitleEd, DocControls.PuzzleSubtitle);
    setCheckedQuietly(FreeformMode ? LooseRB : TightRB, true);
    setCheckedQuietly(GlueRandomCB, DocControls.EveryPuzzleDifferent);
    mBuildDifferent->setChecked(DocControls.EveryPuzzleDifferent);
    setCheckedQuietly(AutoLayoutCB, DocControls.AutoLayout);
    setCheckedQuietly(WordBankCB, DocControls.WordBankCB);
    setCheckedQuietly(CheckBoxUncrossed, DocControls.FlagOneLetterSlots);
    setCheckedQuietly(CheckBoxTwoLetter, DocControls.FlagTwoLetterSlots);
    setCheckedQuietly(ShowHotSpotsCB, DocControls.ShowHotSpots);
    setCheckedQuietly(ExchangeAcrossDownSpBtn, DocControls.Exchanged);
    setCheckedQuietly(DocControls.LooseAutoSize ? SizeAutoRB : SizeFixedRB, true);
    for (QWidget *control : {static_cast<QWidget *>(ColCountSpEd), static_cast<QWidget *>(RowCountSpEd),
                             static_cast<QWidget *>(ApplySizeBtn)})
        control->setEnabled(!DocControls.LooseAutoSize);
    if (QWidget *label = LoosePatternPnl->findChild<QWidget *>(QStringLiteral("ColRowLbl")))
        label->setEnabled(!DocControls.LooseAutoSize);
    // The size list and spin edits follow the engine's grid.
    {
        const QSignalBlocker blockList(PuzzleSizeCmBx);
        SetPuzzleDimensions(TRVGetWidth(), TRVGetHeight(), false);
    }
    // Freeform puzzles have the size choice; symmetrical ones the mode's name and the display
    // flags.
    LoosePatternPnl->setVisible(FreeformMode);
    for (QWidget *symmetricalOnly : {static_cast<QWidget *>(CurrentSymModeLabel),
                                     SymmetryPanel->findChild<QWidget *>(QStringLiteral("SymmetryLbl")),
                                     static_cast<QWidget *>(FlagsPanel)})
        if (symmetricalOnly)
            symmetricalOnly->setVisible(!FreeformMode);
    UpdateSymmetryButtons();
    UpdateWordSlotCount();
    RedrawThemePageSummay();
}

// ---- User changes -------------------------------------------------------------------------------

void TMainFm::TitlesChanged()
{
    // A title the user types must show on the page that holds it.
    if (!PageRuleB(CurrentPage)) {
        PutTitleOnCode = 2;
        if (!PageRuleB(CurrentPage))
            PutTitleOnCode = 8;
    }
    const double before = TitleBlockHeight;
    if (FileHooks.ComputeTitleBlockHeight)
        FileHooks.ComputeTitleBlockHeight();
    // A title block of another height moves the grid and the clues: lay the page out again. The
    // expert acts on a spill when the edit is done, so that its question never comes mid-typing.
    if (!LoadingPuzzle && TitleBlockHeight != before) {
        m_titleChanged = true;
        RelayoutPage();
        m_titleChanged = false;
        m_titleLayoutPending = true;
    }
    if (m_titleLayoutPending)
        m_titleEditTimer.start();
    SetModified();
    InvalidateView();
}

void TMainFm::RunPendingTitleLayout()
{
    if (!m_titleLayoutPending)
        return;
    m_titleLayoutPending = false;
    m_titleEditTimer.stop();
    AutoLayoutAfterTitleEdit();
    InvalidateView();
}

void TMainFm::ForgetTitleEdits()
{
    m_titleLayoutPending = false;
    m_titleEditTimer.stop();
    ForgetTitleEditPageAnswer();
}

void TMainFm::TitleEdChange()
{
    DocControls.PuzzleTitle = TitleEd->text();
    TitlesChanged();
}

void TMainFm::SubtitleEdChange()
{
    DocControls.PuzzleSubtitle = SubtitleEd->text();
    TitlesChanged();
}

void TMainFm::GlueRandomCBClick()
{
    DocControls.EveryPuzzleDifferent = GlueRandomCB->isChecked();
    mBuildDifferent->setChecked(GlueRandomCB->isChecked());
    SetModified();
}

void TMainFm::mBuildDifferentClick()
{
    GlueRandomCB->setChecked(!GlueRandomCB->isChecked());
    GlueRandomCBClick();
}

void TMainFm::AutoLayoutCBClick()
{
    DocControls.AutoLayout = AutoLayoutCB->isChecked();
    SetModified();
}

void TMainFm::ExchangeAcrossDownSpBtnClick()
{
    TakeCheckPoint(TCheckPointKind::Layout, QStringLiteral("exchange across & down"));
    DocControls.Exchanged = ExchangeAcrossDownSpBtn->isChecked();
    TRVExchangeAcrossDown();
    SetPuzzleDimensions(TRVGetWidth(), TRVGetHeight(), false);
    PseudoFormResize();
    // The key cursor stays on its letter, which changed places with the grid.
    std::swap(KeyCursorCol, KeyCursorRow);
    RedrawView();
    CluesNeedRebuild = true;
    RebuildClueGrids();
    ::RunAutoLayout(AutoLayoutKeepViewTab);
    ShowDocumentControls();
    SetModified();
}
