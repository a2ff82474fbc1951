// The grid page: the puzzle type, the grid size, the symmetry mode, the display flags, the
// removed-cell colour and the word-slot histogram, with their Grid and View menu items.
#include "mainfm.h"
#include "mainfm_controls.h"
#include "paintbox.h"

#include "alphabet.h"
#include "checkpts.h"
#include "cluesedit.h"
#include "cluespg.h"
#include "docevents.h"
#include "globals.h"
#include "hourglass.h"
#include "layoutsettings.h"
#include "myoverrides.h"
#include "pataux.h"
#include "sizefm.h"
#include "symmetrymodesdlg.h"
#include "trv600.h"
#include "uidialogs.h"
#include "viewpaint.h"
#include "viewport.h"
#include "wordsizes.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>

#include <functional>

using namespace mainfm;

namespace {

const QString PenciledCaption = QStringLiteral("Penciled-In Grid*");

// The removed-cell colours of the block-colour list by item; White is the page colour and
// Custom comes from the colour dialog.
constexpr TColor kBlockColors[] = {0xFFFFFF, 0xEFEFEF, 0xDFDFDF, 0xC0C0BF, 0x808080, 0x000000};
constexpr int kCustomBlockColor = 6;

// The histogram's paint box: painting and the mouse go to the main window.
class TWordSizesBox : public QWidget
{
public:
    TWordSizesBox(TMainFm *owner, QWidget *parent) : QWidget(parent), m_owner(owner)
    {
        setObjectName(QStringLiteral("PaintBoxWS"));
        setMouseTracking(true);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter canvas(this);
        m_owner->PaintBoxWSPaint(canvas);
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton)
            m_owner->PaintBoxWSMouseDown(event->position().toPoint());
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        m_owner->PaintBoxWSMouseMove(event->position().toPoint());
    }
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton)
            m_owner->PaintBoxWSMouseUp();
    }

private:
    TMainFm *m_owner;
};

// The slot marks of the histogram drawn over the document view: a see-through widget on top of
// the view port that inverts the marked cells on every paint, so the page image stays untouched.
class TSlotMarksOverlay : public QWidget
{
public:
    explicit TSlotMarksOverlay(QWidget *viewPort) : QWidget(viewPort)
    {
        setObjectName(QStringLiteral("SlotMarksOverlay"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(viewPort->rect());
        viewPort->installEventFilter(this);
        show();
        raise();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        PaintSlotMarks(painter);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == parent() && event->type() == QEvent::Resize)
            setGeometry(parentWidget()->rect());
        return false;
    }
};

bool wordListHoldsText()
{
    for (int e = 0; WordList && e < WordList->EntryCount(); ++e)
        if (!WordList->GetWord(e).trimmed().isEmpty() || !WordList->GetClue(e).trimmed().isEmpty())
            return true;
    return false;
}

QLabel *makeLink(QWidget *parent, const QString &name, const QString &caption, const QRect &place)
{
    QLabel *link = makeLabel(parent, name, caption);
    link->setGeometry(place);
    link->setCursor(Qt::PointingHandCursor);
    link->setStyleSheet(QStringLiteral("color: #0000FF"));
    return link;
}

// Runs a command on a left-button release over a link label.
class TLinkClick : public QObject
{
public:
    TLinkClick(QLabel *link, std::function<void()> click) : QObject(link), m_click(std::move(click))
    {
        link->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            m_click();
            return true;
        }
        return false;
    }

private:
    std::function<void()> m_click;
};

} // namespace

// ---- Building the page ----------------------------------------------------------------------------

void TMainFm::BuildGridPage()
{
    tsGrid = new QWidget;
    tsGrid->setObjectName(QStringLiteral("tsGrid"));
    MainNotebookPages->addTab(tsGrid, QStringLiteral("Grid"));

    // Freeform puzzles: automatic or fixed size, and the background of removed cells (the Make
    // Puzzle button joins them between the two).
    LoosePatternPnl = new TPanel(tsGrid, QStringLiteral("LoosePatternPnl"));
    LoosePatternPnl->setGeometry(12, 8, 290, 176);
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
    RowCountSpEd->setGeometry(172, 58, 56, 24);
    for (QSpinBox *spin : {ColCountSpEd, RowCountSpEd}) {
        SetUpGridDimensionEntry(spin);
        spin->setValue(15);
        ShowGridDimensionValidity(spin);
    }
    connect(ColCountSpEd, &QSpinBox::valueChanged, this, &TMainFm::ColCountSpEdChange);
    connect(RowCountSpEd, &QSpinBox::valueChanged, this, &TMainFm::RowCountSpEdChange);
    ApplySizeBtn = new QPushButton(QStringLiteral("Apply"), LoosePatternPnl);
    ApplySizeBtn->setObjectName(QStringLiteral("ApplySizeBtn"));
    ApplySizeBtn->setGeometry(232, 58, 50, 24);
    makeLabel(LoosePatternPnl, QStringLiteral("BlockColorLbl"), QStringLiteral("Background:"))
        ->setGeometry(8, 136, 100, 20);
    BlockColorCmBx = new QComboBox(LoosePatternPnl);
    BlockColorCmBx->setObjectName(QStringLiteral("BlockColorCmBx"));
    BlockColorCmBx->addItems({QStringLiteral("White"), QStringLiteral("Very light gray"),
                              QStringLiteral("Light gray"), QStringLiteral("Medium gray"),
                              QStringLiteral("Dark gray"), QStringLiteral("Black"),
                              QStringLiteral("Custom")});
    BlockColorCmBx->setGeometry(112, 134, 170, 24);
    connect(BlockColorCmBx, &QComboBox::activated, this, [this] {
        BlockColorCmBxChange(BlockColorCmBx);
        BlockColorCmBxCloseUp();
    });

    // Symmetrical puzzles: the size list and Clear Grid.
    SizePanel = new TPanel(tsGrid, QStringLiteral("SizePanel"));
    SizePanel->resize(310, 60);
    makeLabel(SizePanel, QStringLiteral("SizeLbl"), QStringLiteral("Size:"))->setGeometry(8, 8, 60, 20);
    PuzzleSizeCmBx = new QComboBox(SizePanel);
    PuzzleSizeCmBx->setObjectName(QStringLiteral("PuzzleSizeCmBx"));
    PuzzleSizeCmBx->addItems(PuzzleSizeItems);
    PuzzleSizeCmBx->setCurrentIndex(5);
    PuzzleSizeCmBx->setGeometry(70, 6, 232, 24);
    ClearPatternSpBtn = new QToolButton(SizePanel);
    ClearPatternSpBtn->setObjectName(QStringLiteral("ClearPatternSpBtn"));
    ClearPatternSpBtn->setText(QStringLiteral("Clear Grid"));
    ClearPatternSpBtn->setToolTip(QStringLiteral("Clear the grid: every cell white and empty"));
    ClearPatternSpBtn->setGeometry(70, 33, 90, 24);
    connect(ClearPatternSpBtn, &QToolButton::clicked, this, &TMainFm::ClearPatternBtnClick);
    m_sizeChangeConnected =
        bool(connect(PuzzleSizeCmBx, &QComboBox::activated, this, &TMainFm::PuzzleSizeCmBxChange));
    m_applySizeConnected =
        bool(connect(ApplySizeBtn, &QPushButton::clicked, this, &TMainFm::ApplySizeBtnClick));

    SymmetryPanel = new TPanel(tsGrid, QStringLiteral("SymmetryPanel"));
    SymmetryPanel->resize(310, 64);
    makeLabel(SymmetryPanel, QStringLiteral("SymmetryLbl"), QStringLiteral("Symmetry Mode:"))
        ->setGeometry(8, 4, 112, 18);
    CurrentSymModeLabel = makeLabel(SymmetryPanel, QStringLiteral("CurrentSymModeLabel"), QString());
    CurrentSymModeLabel->setGeometry(120, 4, 150, 18);
    ChangeSymModeBtn = new QPushButton(QStringLiteral("..."), SymmetryPanel);
    ChangeSymModeBtn->setObjectName(QStringLiteral("ChangeSymModeBtn"));
    ChangeSymModeBtn->setToolTip(QStringLiteral("Choose a symmetry mode"));
    ChangeSymModeBtn->setGeometry(272, 2, 30, 22);
    connect(ChangeSymModeBtn, &QPushButton::clicked, this, &TMainFm::ChangeSymModeClick);
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
        QToolButton *button =
            makeSpeedButton(SymmetryPanel, QString::fromLatin1(s.name), QString::fromLatin1(s.glyph));
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
                                            QStringLiteral("Show hot spots (parts that are hard to make)"),
                                            QRect(8, 28, 294, 22));

    WordSizesPanel = new TPanel(tsGrid, QStringLiteral("WordSizesPanel"));
    WordSizesPanel->resize(310, 140);
    auto *histogramLayout = new QGridLayout(WordSizesPanel);
    histogramLayout->setContentsMargins(0, 0, 0, 0);
    PaintBoxWS = new TWordSizesBox(this, WordSizesPanel);
    histogramLayout->addWidget(PaintBoxWS, 0, 0);
    WordSizesHintLbl = makeLabel(tsGrid, QStringLiteral("WordSizesHintLbl"),
                                 QStringLiteral("Click on a size or blue bar to show slot locations"));
    WordSizesHintLbl->resize(310, 16);

    // The chart's slot marks appear over the document view; its balloon at the notebook page.
    connect(&TDocumentEvents::Instance(), &TDocumentEvents::SlotMarksChanged, this, [this] {
        BuildSlotMarksOverlay();
        m_slotMarksOverlay->update();
    });
    const QPointer<TMainFm> window(this);
    ShowSlotBalloon = [window](const QString &text, int seconds) {
        if (!window)
            return;
        const QPoint at = window->tsGrid->mapToGlobal(QPoint(0, window->WordSizesPanel->y()));
        window->ShowBalloon(text, at.x(), seconds, at.y());
    };

    BuildPuzzleTypeLinks();
}

void TMainFm::BuildPuzzleTypeLinks()
{
    FreeformLnk = makeLink(tsPuzzleType, QStringLiteral("FreeformLnk"), QStringLiteral("What is it?"),
                           QRect(LooseRB->geometry().right() + 8, LooseRB->y() + 2, 90, 18));
    SymmetricalLnk = makeLink(tsPuzzleType, QStringLiteral("SymmetricalLnk"), QStringLiteral("What is it?"),
                              QRect(TightRB->geometry().right() + 8, TightRB->y() + 2, 90, 18));
    new TLinkClick(FreeformLnk, [this] { FreeformLnkClick(); });
    new TLinkClick(SymmetricalLnk, [this] { SymmetricalLnkClick(); });
}

void TMainFm::BuildSlotMarksOverlay()
{
    if (!m_slotMarksOverlay && ViewPort)
        m_slotMarksOverlay = new TSlotMarksOverlay(ViewPort);
}

// ---- Grid menu and the View menu's display flags --------------------------------------------------

void TMainFm::BuildGridMenu()
{
    mGrid = menuBar()->addMenu(QStringLiteral("&Grid"));
    mGrid->setObjectName(QStringLiteral("mGrid"));
    auto gridItem = [this](QMenu *menu, QAction *TMainFm::*item, const char *name, const QString &caption,
                           void (TMainFm::*click)()) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, click);
        this->*item = action;
        return action;
    };
    gridItem(mGrid, &TMainFm::mGridFreeform, "mGridFreeform",
             QStringLiteral("&Freeform Puzzle Type (All of your words)"), &TMainFm::mGridFreeformClick)
        ->setCheckable(true);
    gridItem(mGrid, &TMainFm::mGridSymmetrical, "mGridSymmetrical",
             QStringLiteral("&Symmetrical Puzzle Type (most crossings)"), &TMainFm::mGridSymmetricalClick)
        ->setCheckable(true);
    mGrid->addSeparator();
    gridItem(mGrid, &TMainFm::mGridClear, "mGridClear", QStringLiteral("&Clear Grid"),
             &TMainFm::ClearPatternBtnClick);
    gridItem(mGrid, &TMainFm::mGridExchange, "mGridExchange",
             QStringLiteral("E&xchange Across and Down Words"), &TMainFm::mGridExchangeClick);
    mGrid->addSeparator();

    mGridEditing = mGrid->addMenu(QStringLiteral("Grid &Editing"));
    mGridEditing->setObjectName(QStringLiteral("mGridEditing"));
    gridItem(mGridEditing, &TMainFm::mGridEditingSymmetryMode, "mGridEditingSymmetryMode",
             QStringLiteral("Choose &Symmetry Mode for \"Edit Pattern\" ..."),
             &TMainFm::mGridEditingSymmetryModeClick);
    mGridEditing->addSeparator();
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
    for (const auto &entry : items)
        gridItem(mGridEditing, entry.item, entry.name, QString::fromLatin1(entry.caption), entry.click)
            ->setCheckable(true);
    BuildStockPatternMenuItem();
}

void TMainFm::BuildViewFlagItems()
{
    mView->addSeparator();
    const struct {
        QAction *TMainFm::*item;
        const char *name;
        const char *caption;
        void (TMainFm::*click)();
    } items[] = {
        {&TMainFm::mViewBlindCells, "mViewBlindCells", "Blind Cells (Green)", &TMainFm::mViewBlindCellsClick},
        {&TMainFm::mViewTwoLetterWords, "mViewTwoLetterWords", "Two-letter Words (Blue)",
         &TMainFm::mViewTwoLetterWordsClick},
        {&TMainFm::mViewHotSpots, "mViewHotSpots", "Hot Spots (various colors)",
         &TMainFm::mViewHotSpotsClick},
    };
    for (const auto &entry : items) {
        QAction *item = mView->addAction(QLatin1String(entry.caption));
        item->setObjectName(QLatin1String(entry.name));
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, entry.click);
        this->*(entry.item) = item;
    }
}

void TMainFm::mGridFreeformClick() { ChangePuzzleType(0); }
void TMainFm::mGridSymmetricalClick() { ChangePuzzleType(1); }

void TMainFm::mGridExchangeClick() { ExchangeAcrossDownSpBtn->click(); }

void TMainFm::mGridEditingSymmetryModeClick() { ChangeSymModeClick(); }

// ---- Puzzle type ----------------------------------------------------------------------------------

void TMainFm::ChangePuzzleType(int type)
{
    const int current = FreeformMode ? 0 : 1;
    // The button and menu tick of the current type stay until the switch is allowed.
    setCheckedQuietly(current == 0 ? LooseRB : TightRB, true);
    mGridFreeform->setChecked(current == 0);
    mGridSymmetrical->setChecked(current == 1);
    if (type == current)
        return;
    const int answer = QuerySaveChanges();
    if (!(answer == 7 || (answer == 6 && !IsModified())))
        return;
    TakeCheckPoint(TCheckPointKind::Layout, QStringLiteral("change puzzle type"));
    if (type == 0)
        SwitchToFreeform(true);
    else
        SwitchToSymmetrical(true);
    // The empty puzzle of the new type is not the file that was open: Save asks for a name.
    MakeDocumentUntitled();
    DocumentLoaded = false;
}

void TMainFm::SwitchToFreeform(bool resetGrid, bool keepGrid)
{
    // The symmetrical settings are put aside only when leaving the symmetrical type: a second
    // call (a freeform build, a freeform file opened over a freeform puzzle) must not replace
    // them with freeform's.
    const bool leavingSymmetrical = !LooseRB->isChecked();
    FreeformMode = true;
    m_freeformSetUpApplied = true;
    setCheckedQuietly(LooseRB, true);
    CellWidth = CellHeight = 0.35;
    PuzzleLeft = CenteredGridLeft();
    if (MainFormReady && !keepGrid)
        ResetGridForType(resetGrid);
    if (leavingSymmetrical) {
        m_savedSymmetrical.Valid = true;
        m_savedSymmetrical.Uncrossed = DocControls.FlagOneLetterSlots;
        m_savedSymmetrical.TwoLetter = DocControls.FlagTwoLetterSlots;
        m_savedSymmetrical.HotSpots = DocControls.ShowHotSpots;
        m_savedSymmetrical.Mode = TRVGetSymMode();
    }
    DocControls.FlagOneLetterSlots = DocControls.FlagTwoLetterSlots = DocControls.ShowHotSpots = false;
    for (QCheckBox *box : {CheckBoxUncrossed, CheckBoxTwoLetter, ShowHotSpotsCB})
        setCheckedQuietly(box, false);
    TRVSetShowHotSpots(0);
    TRVSetSymMode(0);
    UpdateSymmetryButtons();
    SetupPagesForType(false);
    ShowDocumentControls();
    RedrawCells(9);
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
        UpdateSymmetryButtons();
    }
    SetupPagesForType(true);
    ShowDocumentControls();
    RedrawCells(8);
}

void TMainFm::ResetGridForType(bool showPenciled)
{
    GridUpdating = true;
    KeyCursorCol = KeyCursorRow = 1;
    DocControls.Exchanged = false;
    setCheckedQuietly(ExchangeAcrossDownSpBtn, false);
    UpdateViewCursor();
    VP_UpdatePageCursor();
    AutoCellSize = AutoCellShape = AutoCenter = AutoClueColumns = AutoClueSize = AutoClueSpacing =
        AutoMargins = AutoNewColumn = AutoTitleSize = AutoLayout_OnApply = AutoLayout_OnSpill = true;
    DocControls.LooseAutoSize = true;
    setCheckedQuietly(SizeAutoRB, true);
    TRVResizeGrid(15, 15);
    SetPuzzleDimensions(15, 15, false);
    PseudoFormResize();
    DocControls.ShowHotSpots = false;
    setCheckedQuietly(ShowHotSpotsCB, false);
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
    UpdateTrafficLight();
    SendThemeWordsToEngine();
    TRVCorrectAllThemeWordLocations(0);
    UpdateThemeFitCount();
    // A new puzzle has nothing to save, unless it keeps the user's words: those are not in any
    // file of this type, so closing must still ask about them.
    if (wordListHoldsText()) {
        SetModified();
    } else {
        ClueEditor->MarkSaved();
        PuzzleModified = false;
    }
}

void TMainFm::SetupPagesForType(bool symmetrical)
{
    const int otherClues = MainNotebookPages->indexOf(tsOtherClues);
    const bool otherCluesShown = symmetrical || OtherCluesTabUnlocked;
    if (!otherCluesShown && MainNotebookPages->currentIndex() == otherClues)
        MainNotebookPages->setCurrentIndex(0);
    MainNotebookPages->setTabVisible(otherClues, otherCluesShown);
    if (MainNotebookTabsSpacerPnl)
        MainNotebookTabsSpacerPnl->update(); // three or four step labels

    // Symmetrical only: stock patterns, rejected words, alternate clues, symmetry and the
    // display flags. Some of these come with other parts of the window and may not be there.
    for (const char *name : {"StockPatternSpBtn", "RejectWordsLbl"})
        if (auto *control = findChild<QWidget *>(QLatin1String(name)))
            control->setVisible(symmetrical);
    for (QWidget *control :
         {static_cast<QWidget *>(GlueRejectWordsMemo), static_cast<QWidget *>(GlueSaveRejectedWordListBtn),
          static_cast<QWidget *>(GlueClearRejectedWordsBtn)})
        control->setVisible(symmetrical);
    for (const char *name : {"mCluesShowAlt", "mGridSelect"})
        if (auto *item = findChild<QAction *>(QLatin1String(name)))
            item->setEnabled(symmetrical);
    for (QAction *item : {mGridEditingSymmetryMode, mViewBlindCells, mViewTwoLetterWords, mViewHotSpots})
        item->setEnabled(symmetrical);
    if (auto *label = SymmetryPanel->findChild<QWidget *>(QStringLiteral("SymmetryLbl")))
        label->setVisible(symmetrical);
    CurrentSymModeLabel->setVisible(symmetrical);
    // Freeform has its own size and background controls where the symmetrical ones are.
    for (QWidget *panel : {static_cast<QWidget *>(SizePanel), static_cast<QWidget *>(SymmetryPanel),
                           static_cast<QWidget *>(FlagsPanel)})
        panel->setVisible(symmetrical);
    LoosePatternPnl->setVisible(!symmetrical);
    LoosePatternPnl->raise();
    mGridFreeform->setChecked(!symmetrical);
    mGridSymmetrical->setChecked(symmetrical);
    RedrawThemePageSummay();
}

double TMainFm::CenteredGridLeft() const { return (PaperWidth - Columns * 0.35) / 2 - MarginLeft; }

void TMainFm::FreeformLnkClick()
{
    const QPoint at = InstrumentPanel->mapToGlobal(QPoint(0, 0));
    ShowBalloon(
        QStringLiteral("FREEFORM CROSSWORD\n\n"
                       "A freeform puzzle is made of your words only: Tarvel places as many of them as "
                       "it can, each crossing the others where they share a letter, and with "
                       "Auto-size it makes the grid as small as the words allow.\n\n"
                       "Choose it when every answer must be one of your words, for example the "
                       "vocabulary of a lesson."),
        at.x(), 30, at.y());
}

void TMainFm::SymmetricalLnkClick()
{
    const QPoint at = InstrumentPanel->mapToGlobal(QPoint(0, 0));
    ShowBalloon(
        QStringLiteral("SYMMETRICAL CROSSWORD\n\n"
                       "A symmetrical puzzle looks like the crosswords of newspapers: a square grid "
                       "with a symmetric pattern of black squares, in which nearly every letter is "
                       "part of an across and a down word.\n\n"
                       "Your words are placed first, as theme words; Tarvel fills the rest of the grid "
                       "with words from its dictionary and can give them clues of their own. Not all "
                       "of your words may fit.\n\n"
                       "Choose the grid's size and pattern on the Grid page, or let Tarvel choose a "
                       "stock pattern that suits your words."),
        at.x(), 50, at.y());
}

// ---- Symmetry -------------------------------------------------------------------------------------

void TMainFm::UpdateSymmetryButtons()
{
    ShowKeyCursor(KeyCursorCol, KeyCursorRow, false);
    // The label and buttons always follow the engine; the pattern tool stays as it is.
    const int mode = TRVGetSymMode();
    if (mode >= 0 && mode <= 6) {
        const SymmetryMode &s = SymmetryModes[mode];
        CurrentSymModeLabel->setText(QLatin1String(s.label));
        setCheckedQuietly(this->*(s.button), true);
        PatternCursor = s.cursor;
        PatternEditSpBtn->setIcon(QIcon(Glyphs.value(QLatin1String(s.glyph))));
    }
    UpdateViewCursor();
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
    ShowViewTabIfOther(PenciledCaption);
    UpdateSymmetryButtons();
    if (changed)
        SetModified();
}

void TMainFm::ChangeSymModeClick()
{
    const int before = TRVGetSymMode();
    TSymmetryModesDlg dialog(this);
    if (uiDialogs().RunModal(dialog) != QDialog::Accepted)
        return;
    PatternEditSpBtn->setChecked(true);
    PatternEditSpBtnClick();
    UpdateSymmetryButtons();
    if (TRVGetSymMode() != before)
        SetModified();
}

// ---- Display flags --------------------------------------------------------------------------------

void TMainFm::DisplayFlagClicked(QCheckBox *box, bool &flag, int filterOn, int filterOff)
{
    if (LoadingPuzzle)
        return;
    flag = box->isChecked();
    if (flag && !IsPenciledViewActive())
        ShowViewTab(QStringLiteral("Penciled"));
    RedrawCells(flag ? filterOn : filterOff);
    ShowGridPageState();
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
        UpdateTrafficLight();
    } else {
        RedrawCells(5);
    }
    ShowGridPageState();
    SetModified();
}

void TMainFm::mViewBlindCellsClick()
{
    setCheckedQuietly(CheckBoxUncrossed, !CheckBoxUncrossed->isChecked());
    CheckBoxUncrossedClick();
}

void TMainFm::mViewTwoLetterWordsClick()
{
    setCheckedQuietly(CheckBoxTwoLetter, !CheckBoxTwoLetter->isChecked());
    CheckBoxTwoLetterClick();
}

void TMainFm::mViewHotSpotsClick()
{
    setCheckedQuietly(ShowHotSpotsCB, !ShowHotSpotsCB->isChecked());
    ShowHotSpotsCBClick();
}

void TMainFm::ShowGridPageState()
{
    mViewBlindCells->setChecked(DocControls.FlagOneLetterSlots);
    mViewTwoLetterWords->setChecked(DocControls.FlagTwoLetterSlots);
    mViewHotSpots->setChecked(DocControls.ShowHotSpots);
    const QSignalBlocker quiet(BlockColorCmBx);
    BlockColorCmBx->setCurrentIndex(qBound(0, BlockedCellColor, kCustomBlockColor));
}

// ---- Removed-cell colour --------------------------------------------------------------------------

void TMainFm::BlockColorCmBxChange(QObject *sender)
{
    const int item = BlockColorCmBx->currentIndex();
    if (item < 0 || item == kCustomBlockColor)
        return; // a custom colour comes from the colour dialog
    BlockedCellColor = item;
    RemovedCellColor = item == 0 ? PageColor : kBlockColors[item];
    if (sender) {
        TRVInvalidateDisplay();
        InvalidateView();
        SetModified();
    }
}

void TMainFm::BlockColorCmBxCloseUp()
{
    if (BlockColorCmBx->currentIndex() != kCustomBlockColor)
        return;
    TColor colour = RemovedCellColor;
    if (!uiDialogs().ChooseColor(this, &colour)) {
        ShowGridPageState(); // the list shows the colour in use again
        return;
    }
    BlockedCellColor = kCustomBlockColor;
    RemovedCellColor = colour;
    TRVInvalidateDisplay();
    InvalidateView();
    SetModified();
}

// ---- Size -----------------------------------------------------------------------------------------

TSizeFm *TMainFm::EnsureSizeFm()
{
    if (!SizeFm)
        new TSizeFm(this); // registers itself as SizeFm
    return SizeFm;
}

void TMainFm::ColCountSpEdChange() { ShowGridDimensionValidity(ColCountSpEd); }
void TMainFm::RowCountSpEdChange() { ShowGridDimensionValidity(RowCountSpEd); }

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
    // Nothing to do on the press: the resize takes its own undo step, so that an Apply from the
    // keyboard can be undone too and an Apply that changes nothing takes none.
}

void TMainFm::ApplySizeBtnClick() { ResizePuzzle(ColCountSpEd->value(), RowCountSpEd->value()); }

bool TMainFm::ResizePuzzle(int columns, int rows)
{
    if (columns == TRVGetWidth() && rows == TRVGetHeight()) {
        SetPuzzleDimensions(columns, rows, false);
        return false;
    }
    if (!IsValidGridDimension(columns) || !IsValidGridDimension(rows) || !TRVCanDo(columns, rows)) {
        MessageFmt("The maximum  temp puzzle size is %d x %d.", 51, 51);
        // The controls show the grid the engine still has.
        SetPuzzleDimensions(TRVGetWidth(), TRVGetHeight(), false);
        return false;
    }
    TakeCheckPoint(TCheckPointKind::Layout, QStringLiteral("resize grid"));
    if (DocControls.ShowHotSpots) {
        DocControls.ShowHotSpots = false;
        setCheckedQuietly(ShowHotSpotsCB, false);
        TRVSetShowHotSpots(0);
    }
    GridUpdating = true;
    TRVClearGrid();
    TRVResizeGrid(columns, rows);
    SetPuzzleDimensions(columns, rows, false);
    UpdateThemeFitCount();
    CluesNeedRebuild = true;
    RebuildClueGrids();
    PseudoFormResize();
    GridUpdating = false;
    SetViewMode(View, 2);
    ShowGridPageState();
    UpdateWordSlotCount();
    SetModified();
    return true;
}

void TMainFm::PuzzleSizeCmBxChange(int index)
{
    QString size = PuzzleSizeCmBx->itemText(index);
    if (size.contains(QLatin1String("Custom"))) {
        // OK puts the size into the list's last item and selects it.
        if (uiDialogs().RunModal(*EnsureSizeFm()) != QDialog::Accepted) {
            SetPuzzleDimensions(TRVGetWidth(), TRVGetHeight(), false);
            return;
        }
        size = PuzzleSizeCmBx->currentText();
    }
    int columns = 0, rows = 0;
    ParseSizeSpec(size, &columns, &rows);
    ResizePuzzle(columns, rows);
}

// ---- Word-slot count and histogram ----------------------------------------------------------------

void TMainFm::UpdateWordSlotCount()
{
    SBWordslots->setText(gridIsBlank() ? QString()
                                       : QStringLiteral("  %1 Word slots  ").arg(TRVGetWLCountTotal()));
    const TWordSizesGeometry layout = WordSizesLayout();
    if (layout.PanelHeight > 0 && WordSizesPanel->height() != layout.PanelHeight)
        WordSizesPanel->resize(WordSizesPanel->width(), layout.PanelHeight);
    ShowGridPageState();
    PaintBoxWS->update();
}

TWordSizesGeometry TMainFm::WordSizesLayout() const
{
    std::vector<int> counts(TWordSizesGeometry::MaxRows + 1, 0);
    for (int length = 1; length <= TWordSizesGeometry::MaxRows; ++length)
        counts[size_t(length)] = TRVGetWLCount(length);
    const int room = MainNotebookPages->height() - WordSizesPanel->y() - 16;
    return ComputeWordSizesGeometry(TRVGetWLCountTotal(), counts, Columns, Rows, PaintBoxWS->width(), room);
}

void TMainFm::PaintBoxWSPaint(QPainter &canvas)
{
    const TWordSizesGeometry g = WordSizesLayout();
    // The room may have changed with the window: the panel takes its height after this paint.
    if (g.PanelHeight > 0 && WordSizesPanel->height() != g.PanelHeight)
        QMetaObject::invokeMethod(
            this, [this] { UpdateWordSlotCount(); }, Qt::QueuedConnection);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    canvas.setFont(font);
    canvas.setPen(Qt::black);
    const auto text = [&canvas](int x, int y, const QString &s) {
        canvas.drawText(QRect(x, y, 200, 20), Qt::AlignLeft | Qt::AlignTop, s);
    };
    text(10, 2, QStringLiteral("Size             Count"));
    if (g.Rows.empty())
        return;
    canvas.fillRect(QRect(QPoint(TWordSizesGeometry::AxisLeft, g.AxisTop),
                          QPoint(TWordSizesGeometry::AxisRight - 1, g.AxisBottom - 1)),
                    Qt::black);
    for (const TWordSizesRow &row : g.Rows) {
        text(row.LengthX, row.Top, QString::number(row.Length));
        const int tick = row.Length % 2 == 1 ? 4 : 8;
        canvas.fillRect(QRect(TWordSizesGeometry::AxisLeft - tick, row.Top + 5, tick, 2), Qt::black);
        if (row.Count <= 0)
            continue;
        text(row.CountX, row.Top, QString::number(row.Count));
        int colour = 0xFF0000; // blue
        if (row.Length == 1 && DocControls.FlagOneLetterSlots)
            colour = 0x00FF00;
        else if (row.Length == 2 && DocControls.FlagTwoLetterSlots)
            colour = 0xFFFF00;
        canvas.fillRect(
            QRect(QPoint(TWordSizesGeometry::BarLeft, row.Top + 4), QPoint(row.BarEnd - 1, row.Top + 7)),
            ColorFromWin(colour));
    }
}

void TMainFm::PaintBoxWSMouseDown(const QPoint &at)
{
    m_pressedSlotLength = WordSizesLayout().LengthAt(at.y());
    if (m_pressedSlotLength > 0)
        HighlightSlotsOfLength(m_pressedSlotLength);
}

void TMainFm::PaintBoxWSMouseMove(const QPoint &at)
{
    if (WordSizesLayout().IsOverBar(at.x(), at.y()))
        PaintBoxWS->setCursor(Qt::PointingHandCursor);
    else
        PaintBoxWS->unsetCursor();
}

void TMainFm::PaintBoxWSMouseUp()
{
    if (m_pressedSlotLength > 0)
        HighlightSlotsOfLength(m_pressedSlotLength);
    m_pressedSlotLength = 0;
}
