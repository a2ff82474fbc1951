// The grid page: the puzzle type, the grid size, the symmetry mode, the display flags and the
// word-slot count.
#include "mainfm.h"
#include "mainfm_controls.h"

#include "alphabet.h"
#include "checkpts.h"
#include "cluesedit.h"
#include "cluespg.h"
#include "globals.h"
#include "hourglass.h"
#include "myoverrides.h"
#include "pataux.h"
#include "trv600.h"
#include "viewpaint.h"

#include <QAction>
#include <QButtonGroup>
#include <QMenu>
#include <QMenuBar>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>

using namespace mainfm;

void TMainFm::BuildGridPage()
{
    tsGrid = new QWidget;
    tsGrid->setObjectName(QStringLiteral("tsGrid"));
    MainNotebookPages->addTab(tsGrid, QStringLiteral("Grid"));

    LoosePatternPnl = new TPanel(tsGrid, QStringLiteral("LoosePatternPnl"));
    LoosePatternPnl->setGeometry(12, 8, 290, 120);
    LoosePatternPnl->hide();
    SizeAutoRB = makeControl<QRadioButton>(LoosePatternPnl, QStringLiteral("SizeAutoRB"),
        QStringLiteral("Auto-size  (recommended)"), QRect(8, 8, 270, 22));
    SizeAutoRB->setChecked(true);
    SizeFixedRB = makeControl<QRadioButton>(LoosePatternPnl, QStringLiteral("SizeFixedRB"),
        QStringLiteral("Fixed size:"), QRect(8, 34, 100, 22));
    makeLabel(LoosePatternPnl, QStringLiteral("ColRowLbl"), QStringLiteral("Columns    Rows"))
        ->setGeometry(112, 36, 120, 18);
    ColCountSpEd = new QSpinBox(LoosePatternPnl);
    ColCountSpEd->setObjectName(QStringLiteral("ColCountSpEd"));
    ColCountSpEd->setGeometry(112, 58, 56, 24);
    RowCountSpEd = new QSpinBox(LoosePatternPnl);
    RowCountSpEd->setObjectName(QStringLiteral("RowCountSpEd"));
    RowCountSpEd->setGeometry(176, 58, 56, 24);
    for (QSpinBox *spin : {ColCountSpEd, RowCountSpEd}) {
        spin->setRange(1, 51);
        spin->setValue(15);
    }

    SizePanel = new TPanel(tsGrid, QStringLiteral("SizePanel"));
    SizePanel->resize(310, 60);
    makeLabel(SizePanel, QStringLiteral("SizeLbl"), QStringLiteral("Size:"))->setGeometry(8, 8, 60, 20);
    PuzzleSizeCmBx = new QComboBox(SizePanel);
    PuzzleSizeCmBx->setObjectName(QStringLiteral("PuzzleSizeCmBx"));
    PuzzleSizeCmBx->addItems(PuzzleSizeItems);
    PuzzleSizeCmBx->setCurrentIndex(5);
    PuzzleSizeCmBx->setGeometry(70, 6, 170, 24);
    ApplySizeBtn = new QPushButton(QStringLiteral("Apply"), SizePanel);
    ApplySizeBtn->setObjectName(QStringLiteral("ApplySizeBtn"));
    ApplySizeBtn->setGeometry(246, 6, 56, 24);
    m_sizeChangeConnected = bool(connect(PuzzleSizeCmBx, &QComboBox::activated, this,
                                         &TMainFm::PuzzleSizeCmBxChange));
    m_applySizeConnected = bool(connect(ApplySizeBtn, &QPushButton::clicked, this,
                                        &TMainFm::ApplySizeBtnClick));

    SymmetryPanel = new TPanel(tsGrid, QStringLiteral("SymmetryPanel"));
    SymmetryPanel->resize(310, 64);
    makeLabel(SymmetryPanel, QStringLiteral("SymmetryLbl"), QStringLiteral("Symmetry Mode:"))
        ->setGeometry(8, 4, 112, 18);
    CurrentSymModeLabel = makeLabel(SymmetryPanel, QStringLiteral("CurrentSymModeLabel"), QString());
    CurrentSymModeLabel->setGeometry(120, 4, 180, 18);
    auto *group = new QButtonGroup(SymmetryPanel);
    group->setExclusive(true);
    const struct {
        QToolButton *TMainFm::*button;
        const char *name;
        const char *glyph;
    } symmetry[] = {
        {&TMainFm::SymNoneSpBtn, "SymNoneSpBtn", "SP_NOSYM"},
        {&TMainFm::SymStandardSpBtn, "SymStandardSpBtn", "SP_STD"},
        {&TMainFm::SymSpiralSpBtn, "SymSpiralSpBtn", "SP_SPIRL"},
        {&TMainFm::SymKaleidoscopeSpBtn, "SymKaleidoscopeSpBtn", "SP_KALI"},
        {&TMainFm::SymHorizontalSpBtn, "SymHorizontalSpBtn", "SP_HORZ"},
        {&TMainFm::SymVerticalSpBtn, "SymVerticalSpBtn", "SP_VERT"},
        {&TMainFm::SymHorzAndVertSpBtn, "SymHorzAndVertSpBtn", "SP_HV"},
    };
    int x = 8;
    for (const auto &s : symmetry) {
        QToolButton *button = makeSpeedButton(SymmetryPanel, QString::fromLatin1(s.name),
                                              QString::fromLatin1(s.glyph));
        button->setGeometry(x, 26, 32, 32);
        group->addButton(button);
        this->*(s.button) = button;
        x += 38;
    }
    connect(group, &QButtonGroup::buttonClicked, this, &TMainFm::SymSpBtnClick);

    FlagsPanel = new TPanel(tsGrid, QStringLiteral("FlagsPanel"));
    FlagsPanel->resize(310, 56);
    makeLabel(FlagsPanel, QStringLiteral("FlagLabel"), QStringLiteral("Flag:"))->setGeometry(8, 6, 40, 18);
    CheckBoxUncrossed = makeControl<QCheckBox>(FlagsPanel, QStringLiteral("CheckBoxUncrossed"),
        QStringLiteral("Blind cells"), QRect(50, 4, 110, 22));
    CheckBoxTwoLetter = makeControl<QCheckBox>(FlagsPanel, QStringLiteral("CheckBoxTwoLetter"),
        QStringLiteral("Two-letter words"), QRect(164, 4, 140, 22));
    ShowHotSpotsCB = makeControl<QCheckBox>(FlagsPanel, QStringLiteral("ShowHotSpotsCB"),
        QStringLiteral("Show hot spots (parts that are hard to make)"), QRect(8, 28, 294, 22));

    WordSizesPanel = new TPanel(tsGrid, QStringLiteral("WordSizesPanel"));
    WordSizesPanel->resize(310, 140);
    WordSizesHintLbl = makeLabel(tsGrid, QStringLiteral("WordSizesHintLbl"),
                                 QStringLiteral("Click on a size or blue bar to show slot locations"));
    WordSizesHintLbl->resize(310, 16);
}

void TMainFm::UpdateSymmetryButtons()
{
    const int mode = TRVGetSymMode();
    if (mode < 0 || mode > 6)
        return;
    const SymmetryMode &s = SymmetryModes[mode];
    CurrentSymModeLabel->setText(QLatin1String(s.label));
    setCheckedQuietly(this->*(s.button), true);
    PatternCursor = s.cursor;
    PatternEditSpBtn->setIcon(QIcon(Glyphs.value(QLatin1String(s.glyph))));
}

void TMainFm::UpdateWordSlotCount()
{
    SBWordslots->setText(gridIsBlank() ? QString()
                                       : QStringLiteral("  %1 Word slots  ").arg(TRVGetWLCountTotal()));
}

double TMainFm::CenteredGridLeft() const
{
    return (PaperWidth - Columns * 0.35) / 2 - MarginLeft;
}

void TMainFm::ChangePuzzleType(int type)
{
    const int current = FreeformMode ? 0 : 1;
    // The button of the current type stays checked until the switch is allowed.
    setCheckedQuietly(current == 0 ? LooseRB : TightRB, true);
    if (type == current)
        return;
    const int answer = QuerySaveChanges();
    if (!(answer == 7 || (answer == 6 && !IsModified())))
        return;
    TakeCheckPoint(2, QStringLiteral("change puzzle type"));
    if (type == 0)
        SwitchToFreeform(true);
    else
        SwitchToSymmetrical(true);
}

void TMainFm::SwitchToFreeform(bool resetGrid, bool keepGrid)
{
    FreeformMode = true;
    m_freeformSetUpApplied = true;
    setCheckedQuietly(LooseRB, true);
    CellWidth = CellHeight = 0.35;
    PuzzleLeft = CenteredGridLeft();
    if (MainFormReady && !keepGrid)
        ResetGridForType(resetGrid);
    m_savedSymmetrical.Valid = true;
    m_savedSymmetrical.Uncrossed = DocControls.FlagOneLetterSlots;
    m_savedSymmetrical.TwoLetter = DocControls.FlagTwoLetterSlots;
    m_savedSymmetrical.HotSpots = DocControls.ShowHotSpots;
    m_savedSymmetrical.Mode = TRVGetSymMode();
    DocControls.FlagOneLetterSlots = DocControls.FlagTwoLetterSlots = DocControls.ShowHotSpots = false;
    TRVSetShowHotSpots(0);
    TRVSetSymMode(0);
    ShowDocumentControls();
    RedrawCells(8);
}

void TMainFm::SwitchToSymmetrical(bool resetGrid)
{
    FreeformMode = false;
    setCheckedQuietly(TightRB, true);
    CellWidth = CellHeight = 0.25;
    PuzzleLeft = 0;
    if (MainFormReady)
        ResetGridForType(resetGrid);
    if (m_savedSymmetrical.Valid) {
        DocControls.FlagOneLetterSlots = m_savedSymmetrical.Uncrossed;
        DocControls.FlagTwoLetterSlots = m_savedSymmetrical.TwoLetter;
        DocControls.ShowHotSpots = m_savedSymmetrical.HotSpots;
        TRVSetShowHotSpots(DocControls.ShowHotSpots ? 1 : 0);
        TRVSetSymMode(m_savedSymmetrical.Mode);
    }
    ShowDocumentControls();
    RedrawCells(8);
}

void TMainFm::ResetGridForType(bool showPenciled)
{
    GridUpdating = true;
    KeyCursorCol = KeyCursorRow = 1;
    VP_UpdatePageCursor();
    DocControls.Exchanged = false;
    AutoCellSize = AutoCellShape = AutoCenter = AutoClueColumns = AutoClueSize = AutoClueSpacing =
        AutoMargins = AutoNewColumn = AutoTitleSize = AutoLayout_OnApply = AutoLayout_OnSpill = true;
    DocControls.LooseAutoSize = true;
    TRVResizeGrid(15, 15);
    SetPuzzleDimensions(15, 15, false);
    PseudoFormResize();
    DocControls.ShowHotSpots = false;
    TRVSetShowHotSpots(0);
    TRVClearGrid();
    ClearClueGrids();
    CreateClueGrids();
    ::CurrentCluesSL->Clear();
    CluesNeedRebuild = true;
    RebuildClueGrids();
    GridUpdating = false;
    if (showPenciled)
        ShowViewTab(QStringLiteral("Penciled"));
    InvalidateView();
    UpdateWordSlotCount();
    UpdateSymmetryButtons();
    SendThemeWordsToEngine();
    TRVCorrectAllThemeWordLocations(0);
    UpdateThemeFitCount();
    ClueEditor->MarkSaved();
    PuzzleModified = false;
}

void TMainFm::DisplayFlagClicked(QCheckBox *box, bool &flag, int filterOn, int filterOff)
{
    if (LoadingPuzzle)
        return;
    flag = box->isChecked();
    if (flag && !IsPenciledViewActive())
        ShowViewTab(QStringLiteral("Penciled"));
    RedrawCells(flag ? filterOn : filterOff);
    UpdateWordSlotCount();
    SetModified();
}

void TMainFm::CheckBoxUncrossedClick()
{
    DisplayFlagClicked(CheckBoxUncrossed, DocControls.FlagOneLetterSlots, 2, 3);
}

void TMainFm::CheckBoxTwoLetterClick()
{
    DisplayFlagClicked(CheckBoxTwoLetter, DocControls.FlagTwoLetterSlots, 0, 1);
}

void TMainFm::ShowHotSpotsCBClick()
{
    THourglass busy;
    DocControls.ShowHotSpots = ShowHotSpotsCB->isChecked();
    TRVSetShowHotSpots(DocControls.ShowHotSpots ? 1 : 0);
    if (DocControls.ShowHotSpots) {
        if (!IsPenciledViewActive())
            ShowViewTab(QStringLiteral("Penciled"));
        TRVComputeHotSpots();
    } else {
        RedrawCells(5);
    }
    SetModified();
}

void TMainFm::SymSpBtnClick(QAbstractButton *sender)
{
    PatternEditSpBtn->setChecked(true);
    PatternEditSpBtnClick();
    int mode = 1;
    for (int m = 0; m < 7; ++m)
        if (sender == this->*(SymmetryModes[m].button))
            mode = m;
    const bool changed = mode != TRVGetSymMode();
    TRVSetSymMode(mode);
    UpdateSymmetryButtons();
    if (changed)
        SetModified();
}

void TMainFm::SizeAnyRBClick()
{
    const bool automatic = SizeAutoRB->isChecked();
    if (automatic != DocControls.LooseAutoSize) {
        DocControls.LooseAutoSize = automatic;
        SetModified();
    }
    ShowDocumentControls();
}

void TMainFm::ApplySizeBtnMouseDown()
{
    TakeCheckPoint(2, QStringLiteral("resize grid"));
}

void TMainFm::ApplySizeBtnClick()
{
    const int columns = ColCountSpEd->value();
    const int rows = RowCountSpEd->value();
    if (columns == Columns && rows == Rows)
        return;
    if (columns > 51 || rows > 51 || columns < 1 || rows < 1 || !TRVCanDo(columns, rows)) {
        MessageFmt("The maximum  temp puzzle size is %d x %d.", 51, 51);
        return;
    }
    if (DocControls.ShowHotSpots) {
        DocControls.ShowHotSpots = false;
        TRVSetShowHotSpots(0);
    }
    GridUpdating = true;
    TRVClearGrid();
    TRVResizeGrid(columns, rows);
    Columns = columns;
    Rows = rows;
    UpdateThemeFitCount();
    CluesNeedRebuild = true;
    RebuildClueGrids();
    PseudoFormResize();
    GridUpdating = false;
    ShowDocumentControls();
    SetModified();
}

void TMainFm::PuzzleSizeCmBxChange(int index)
{
    const QString text = PuzzleSizeCmBx->itemText(index);
    if (text.contains(QLatin1String("Custom"))) {
        // The custom-size dialog comes with the grid page; until then the list goes back.
        SetPuzzleDimensions(Columns, Rows, false);
        return;
    }
    TakeCheckPoint(2, QStringLiteral("resize grid"));
    int columns = 0, rows = 0;
    ParseSizeSpec(text, &columns, &rows);
    SetPuzzleDimensions(columns, rows, false);
    Columns = 0; // the size always counts as changed
    ApplySizeBtnClick();
}

// ---- Grid menu and the View menu's display flags --------------------------------------------------

void TMainFm::BuildGridMenu()
{
    mGrid = menuBar()->addMenu(QStringLiteral("&Grid"));
    mGrid->setObjectName(QStringLiteral("mGrid"));
    mGridEditing = mGrid->addMenu(QStringLiteral("Grid &Editing"));
    mGridEditing->setObjectName(QStringLiteral("mGridEditing"));
    const struct {
        QAction *TMainFm::*item;
        const char *name;
        const char *caption;
        void (TMainFm::*click)();
    } items[] = {
        {&TMainFm::mGridCursorPattern, "mGridCursorPattern",
         "Edit &Pattern:   Click to make cells black, white, or (right-click) removed.",
         &TMainFm::mGridCursorPatternClick},
        {&TMainFm::mGridCursorAlpha, "mGridCursorAlpha",
         "&Type on the Answer Grid:   Click starting cell; click again to type down.",
         &TMainFm::mGridCursorAlphaClick},
        {&TMainFm::mGridCursorEraseLetter, "mGridCursorEraseLetter",
         "Erase &Letters:  Click on cells to erase letter.", &TMainFm::mGridCursorEraseLetterClick},
        {&TMainFm::mGridCursorEraseWord, "mGridCursorEraseWord",
         "Erase &Words:  Click and release in different cells of the word to erase",
         &TMainFm::mGridCursorEraseWordClick},
    };
    for (const auto &entry : items) {
        QAction *item = mGridEditing->addAction(QString::fromLatin1(entry.caption));
        item->setObjectName(QLatin1String(entry.name));
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, entry.click);
        this->*(entry.item) = item;
    }
}

void TMainFm::BuildViewFlagItems() {}
