// The main window: frame, creation, idle and exception handling, resizing and closing.
#include "mainfm.h"
#include "mainfm_controls.h"

#include "alphabet.h"
#include "application.h"
#include "checkpts.h"
#include "cluegrids.h"
#include "cluesedit.h"
#include "cluespg.h"
#include "cluesview.h"
#include "constructingdlg.h"
#include "cp1252.h"
#include "desktopimage.h"
#include "documentcontrols.h"
#include "fades.h"
#include "filefolders.h"
#include "fileio.h"
#include "filetypes.h"
#include "globals.h"
#include "globalsui.h"
#include "hintfm.h"
#include "layoutsettings.h"
#include "menukeys.h"
#include "myexceptionfm.h"
#include "myoverrides.h"
#include "openingscreen.h"
#include "pataux.h"
#include "preferencesdlg.h"
#include "prefsstore.h"
#include "printing.h"
#include "prompter.h"
#include "recentfiles.h"
#include "startup.h"
#include "trv600.h"
#include "uidialogs.h"
#include "viewpaint.h"
#include "viewport.h"
#include "webbrowserfm.h"
#include "wysiwyg.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <cstdlib>
#include <ctime>

TMainFm *MainFm = nullptr;
bool SetupLoose = false;
bool SetupTight = false;

static void initResources() { Q_INIT_RESOURCE(trv); }

using namespace mainfm;

namespace {

// Design-time sizes of the frame; ArrangePanels places everything else from these.
constexpr int DesignLeft = 8;
constexpr int DesignTop = 8;
constexpr int DesignWidth = 1000;
constexpr int DesignHeight = 700;
constexpr int InstrumentPanelWidth = 380;
constexpr int SpeedBarHeight = 32;

// Engine callbacks. They reach the build control and the word-list glue once those are on the
// window; until then a call has nothing to update. The draw-cell callbacks are the view's.
void themeWordLocation(char code, int number, const char *word)
{
    if (!MainFm)
        return;
    QString letters;
    for (const char *b = word; b && *b; ++b)
        letters += EngineToDisplayLetter(*b);
    MainFm->ThemeWordPlaced(letters, number, Cp1252::toChar(static_cast<unsigned char>(code)));
}
void constructInfo(int steps, int percent)
{
    if (ConstructingDlg)
        ConstructingDlg->ShowProgress(percent, steps);
}

void sendRejectedWords()
{
    if (MainFm)
        MainFm->SendRejectedWordsToEngine();
}

} // namespace

TMainFm::TMainFm(QWidget *parent)
    : QMainWindow(parent), SuppressedMessages(TMyExceptionFm::SuppressedMessages)
{
    initResources();
    MainFm = this;
    setObjectName(QStringLiteral("MainFm"));
    setWindowIcon(QIcon(QStringLiteral(":/TRVIcon")));
    m_idleTimer.setSingleShot(true);
    m_idleTimer.setInterval(0);
    connect(&m_idleTimer, &QTimer::timeout, this, &TMainFm::OnIdleEvent);
    BuildFrame();
    FormCreate();
}

TMainFm::~TMainFm()
{
    // Closing the window moves the focus out of a title field, whose editingFinished would
    // reach this half-destroyed window.
    for (QLineEdit *edit : {TitleEd, SubtitleEd})
        if (edit)
            disconnect(edit, nullptr, this, nullptr);
    FormDestroy();
    if (MainFm == this)
        MainFm = nullptr;
}

// ---- Frame --------------------------------------------------------------------------------------

void TMainFm::BuildFrame()
{
    setGeometry(DesignLeft, DesignTop, DesignWidth, DesignHeight);
    BuildMenus();

    ClientPanel = new TPanel(this, QStringLiteral("ClientPanel"));
    setCentralWidget(ClientPanel);
    SpeedBarPanel = new TPanel(ClientPanel, QStringLiteral("SpeedBarPanel"));
    PatternEditSpBtn =
        makeSpeedButton(SpeedBarPanel, QStringLiteral("PatternEditSpBtn"), QStringLiteral("SP_STD"));
    connect(PatternEditSpBtn, &QToolButton::clicked, this, &TMainFm::PatternEditSpBtnClick);
    ExchangeAcrossDownSpBtn =
        makeSpeedButton(SpeedBarPanel, QStringLiteral("ExchangeAcrossDownSpBtn"), QStringLiteral("EXCHANGE"));
    BuildToolButtons();
    BuildCommandButtons();

    InstrumentPanel = new TPanel(ClientPanel, QStringLiteral("InstrumentPanel"));
    MainNotebookPages = new QTabWidget(InstrumentPanel);
    MainNotebookPages->setObjectName(QStringLiteral("MainNotebookPages"));
    auto *instrumentLayout = new QGridLayout(InstrumentPanel);
    instrumentLayout->setContentsMargins(0, 0, 0, 0);
    instrumentLayout->setSpacing(0);
    instrumentLayout->addWidget(MainNotebookPages, 1, 0); // the step labels go above
    BuildPuzzleTypePage();
    BuildWordsPage();
    BuildGridPage();
    BuildOtherCluesPage();
    connect(MainNotebookPages, &QTabWidget::currentChanged, this, &TMainFm::MainNotebookPagesChange);

    BuildViewSection();
    BuildSmallPictures();
    BuildStatusBar();

    ConstructingDlgTimer = new QTimer(this);
    ConstructingDlgTimer->setObjectName(QStringLiteral("ConstructingDlgTimer"));
    ConstructingDlgTimer->setInterval(500);
    KeyCursorTimer = new QTimer(this);
    KeyCursorTimer->setObjectName(QStringLiteral("KeyCursorTimer"));
    KeyCursorTimer->setInterval(500);
    BuildMakePuzzleButtons();
    BuildSpeedBar();
    UpdateHostingCommands();
}

// The speed bar, left to right: files and printing, undo, Make Puzzle, the grid commands, the
// grid tools, help and publishing. Speed buttons never take the keyboard focus, so Tab goes
// through the fields of the page.
void TMainFm::BuildSpeedBar()
{
    auto command = [this](const char *name, const QIcon &icon, void (TMainFm::*click)()) {
        auto *button = new QToolButton(SpeedBarPanel);
        button->setObjectName(QLatin1String(name));
        button->setAutoRaise(true);
        button->setIcon(icon);
        button->setIconSize(QSize(16, 16));
        if (click)
            connect(button, &QToolButton::clicked, this, click);
        return button;
    };
    FileOpenSpBtn = command("FileOpenSpBtn", QIcon(QStringLiteral(":/FileOpen")), &TMainFm::mFileOpenClick);
    FileOpenSpBtn->setToolTip(QStringLiteral("Open"));
    FileSaveSpBtn = command("FileSaveSpBtn", QIcon(QStringLiteral(":/FileSave")), &TMainFm::mFileSaveClick);
    FileSaveSpBtn->setToolTip(QStringLiteral("Save"));
    HelpSpBtn = command("HelpSpBtn", QIcon(QStringLiteral(":/Help")), &TMainFm::HelpSpBtnClick);
    // One-click publishing is on while the hosting service is set up; playing on screen stands
    // hidden and off, as its menu does.
    PublishSpBtn = command("PublishSpBtn", QIcon(QStringLiteral(":/Globe")), &TMainFm::PublishSpBtnClick);
    PublishSpBtn->setText(QStringLiteral("One-Click Publish"));
    PublishSpBtn->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    PlaySpBtn = command("PlaySpBtn", style()->standardIcon(QStyle::SP_MediaPlay), nullptr);
    PlaySpBtn->setEnabled(false);
    PlaySpBtn->hide();

    struct Place {
        QToolButton *button;
        int gapBefore;
    };
    const Place places[] = {
        {FileOpenSpBtn, 0},
        {FileSaveSpBtn, 0},
        {PrintSpBtn, 0},
        {UndoSpBtn, 6},
        {RedoSpBtn, 0},
        {ConstructSpBtn, 6},
        {StockPatternSpBtn, 6},
        {EraseLettersAllSpBtn, 0},
        {ExchangeAcrossDownSpBtn, 0},
        {ZoomInSpBtn, 6},
        {PatternEditSpBtn, 0},
        {VPCursorLetterSpBtn, 0},
        {EraseLettersSpBtn, 0},
        {RejectWordSpBtn, 0},
        {HelpSpBtn, 6},
        {PublishSpBtn, 6},
        {PlaySpBtn, 0},
    };
    int x = 4;
    for (const Place &place : places) {
        QToolButton *button = place.button;
        button->setFocusPolicy(Qt::NoFocus);
        x += place.gapBefore;
        int width = 24;
        if (button == ConstructSpBtn)
            width = 110;
        else if (button == PublishSpBtn)
            width = button->sizeHint().width() + 8;
        const int height = button == ConstructSpBtn || button == PublishSpBtn ? 30 : 24;
        button->setGeometry(x, (SpeedBarHeight - height) / 2, width, height);
        x += width + 2;
    }
}

void TMainFm::BuildToolButtons()
{
    // The grid tools beside the pattern button: one tool at a time, all may be up.
    const struct {
        QToolButton *TMainFm::*button;
        const char *name;
        const char *glyph;
        void (TMainFm::*click)();
    } tools[] = {
        {&TMainFm::VPCursorLetterSpBtn, "VPCursorLetterSpBtn", "LETTER_A",
         &TMainFm::VPCursorLetterSpBtnClick},
        {&TMainFm::EraseLettersSpBtn, "EraseLettersSpBtn", "EraseLetter", &TMainFm::EraseLettersSpBtnClick},
        {&TMainFm::RejectWordSpBtn, "RejectWordSpBtn", "RejectWord", &TMainFm::RejectWordSpBtnClick},
        {&TMainFm::ZoomInSpBtn, "ZoomInSpBtn", "Zoom", &TMainFm::ZoomInSpBtnClick},
        {&TMainFm::StockPatternSpBtn, "StockPatternSpBtn", "StockPattern", &TMainFm::StockPatternSpBtnClick},
    };
    for (const auto &tool : tools) {
        QToolButton *button =
            makeSpeedButton(SpeedBarPanel, QLatin1String(tool.name), QLatin1String(tool.glyph));
        connect(button, &QToolButton::clicked, this, tool.click);
        this->*(tool.button) = button;
    }
}

void TMainFm::BuildMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu"));
    BuildFileMenu(bar);

    mView = bar->addMenu(QStringLiteral("&View"));
    BuildEditMenu(mView);
    BuildSpellingMenuItem();
    mView->setObjectName(QStringLiteral("mView"));
    QAction *nextPage = mView->addAction(QStringLiteral("Go To &Next Page"));
    nextPage->setObjectName(QStringLiteral("mViewNextPage"));
    nextPage->setVisible(false);
    for (int i = 0; i < 9; ++i) {
        mViewPage[i] = mView->addAction(QStringLiteral("Page &%1").arg(i + 1));
        mViewPage[i]->setObjectName(QStringLiteral("mViewPage%1").arg(i + 1));
        mViewPage[i]->setCheckable(true);
        mViewPage[i]->setVisible(i < 2);
        QAction *item = mViewPage[i];
        connect(item, &QAction::triggered, this, [this, item] { mViewPageAnyClick(item); });
    }
    auto viewItem = [this](const char *name, const QString &caption, void (TMainFm::*handler)()) {
        QAction *item = mView->addAction(caption);
        item->setObjectName(QLatin1String(name));
        connect(item, &QAction::triggered, this, handler);
        return item;
    };
    mViewPuzzle = viewItem("mViewPuzzle", QStringLiteral("&Grid  (Shown with letters that don't print)"),
                           &TMainFm::mViewPuzzleClick);
    mViewClues = viewItem("mViewClues", QStringLiteral("&Clues"), &TMainFm::mViewCluesClick);
    mViewSolution = viewItem("mViewSolution", QStringLiteral("&Solution"), &TMainFm::mViewSolutionClick);
    mViewCustom = viewItem("mViewCustom", QStringLiteral("Custo&m"), &TMainFm::mViewCustomClick);
    mViewCustom->setVisible(false);
    for (QAction *item : {mViewPuzzle, mViewClues, mViewSolution, mViewCustom})
        item->setCheckable(true);
    mView->addSeparator();
    mViewZoomIn = viewItem("mViewZoomIn", QStringLiteral("Zoom &In"), &TMainFm::mViewZoomInClick);
    mViewZoomOut = viewItem("mViewZoomOut", QStringLiteral("Zoom &Out"), &TMainFm::mViewZoomOutClick);
    mViewPageWidth =
        viewItem("mViewPageWidth", QStringLiteral("Zoom Page &Width"), &TMainFm::mViewPageWidthClick);
    mViewPageWidth->setCheckable(true);
    BuildViewFlagItems();

    BuildGridMenu();

    mBuild = bar->addMenu(QStringLiteral("&Make"));
    mBuild->setObjectName(QStringLiteral("mBuild"));
    mBuildBuildNow = mBuild->addAction(QStringLiteral("&Make Puzzle Now"));
    mBuildBuildNow->setObjectName(QStringLiteral("mBuildBuildNow"));
    connect(mBuildBuildNow, &QAction::triggered, this, &TMainFm::ConstructSpBtnClick);
    mMakeAnother = mBuild->addAction(QStringLiteral("Make &Another Puzzle Now"));
    mMakeAnother->setObjectName(QStringLiteral("mMakeAnother"));
    connect(mMakeAnother, &QAction::triggered, this, &TMainFm::mMakeAnotherClick);
    mBuildStartOver = mBuild->addAction(QStringLiteral("&Start Over (clear the grid)"));
    mBuildStartOver->setObjectName(QStringLiteral("mBuildStartOver"));
    connect(mBuildStartOver, &QAction::triggered, this, &TMainFm::ClearPatternBtnClick);
    mBuild->addSeparator();
    mBuildDifferent = mBuild->addAction(QStringLiteral("Make Every Puzzle &Different"));
    mBuildDifferent->setObjectName(QStringLiteral("mBuildDifferent"));
    mBuildDifferent->setCheckable(true);
    connect(mBuildDifferent, &QAction::triggered, this, &TMainFm::mBuildDifferentClick);

    BuildCluesMenu();

    BuildExportMenu();
    BuildLayoutMenu();
    BuildHelpMenu();
    InstallExportCommands();
    InstallMenuShortcuts(this);
}

void TMainFm::BuildPuzzleTypePage()
{
    tsPuzzleType = new QWidget;
    tsPuzzleType->setObjectName(QStringLiteral("tsPuzzleType"));
    MainNotebookPages->addTab(tsPuzzleType, QStringLiteral("Puzzle Type"));
    LooseRB = makeControl<QRadioButton>(tsPuzzleType, QStringLiteral("LooseRB"),
                                        QStringLiteral("Freeform Crossword"), QRect(8, 8, 200, 22));
    TightRB = makeControl<QRadioButton>(tsPuzzleType, QStringLiteral("TightRB"),
                                        QStringLiteral("Symmetrical Crossword"), QRect(8, 32, 200, 22));
    makeLabel(tsPuzzleType, QStringLiteral("TitleLbl"), QStringLiteral("Title:"))->setGeometry(8, 64, 60, 20);
    TitleEd = new QLineEdit(tsPuzzleType);
    TitleEd->setObjectName(QStringLiteral("TitleEd"));
    TitleEd->setGeometry(72, 62, 230, 22);
    makeLabel(tsPuzzleType, QStringLiteral("SubtitleLbl"), QStringLiteral("Subtitle:"))
        ->setGeometry(8, 90, 60, 20);
    SubtitleEd = new QLineEdit(tsPuzzleType);
    SubtitleEd->setObjectName(QStringLiteral("SubtitleEd"));
    SubtitleEd->setGeometry(72, 88, 230, 22);
    GlueRandomCB =
        makeControl<QCheckBox>(tsPuzzleType, QStringLiteral("GlueRandomCB"),
                               QStringLiteral("Make every puzzle different"), QRect(8, 116, 296, 22));
    AutoLayoutCB =
        makeControl<QCheckBox>(tsPuzzleType, QStringLiteral("AutoLayoutCB"),
                               QStringLiteral("Auto-layout puzzle on 1 or 2 pages."), QRect(8, 140, 296, 22));
    makeLabel(tsPuzzleType, QStringLiteral("RejectWordsLbl"), QStringLiteral("Rejected words:"))
        ->setGeometry(8, 170, 200, 20);
    GlueRejectWordsMemo = new QPlainTextEdit(tsPuzzleType);
    GlueRejectWordsMemo->setObjectName(QStringLiteral("GlueRejectWordsMemo"));
    GlueRejectWordsMemo->setGeometry(8, 192, 296, 200);
    GlueSaveRejectedWordListBtn = new QPushButton(QStringLiteral("Save rejected word list"), tsPuzzleType);
    GlueSaveRejectedWordListBtn->setObjectName(QStringLiteral("GlueSaveRejectedWordListBtn"));
    GlueClearRejectedWordsBtn = new QPushButton(QStringLiteral("Clear list"), tsPuzzleType);
    GlueClearRejectedWordsBtn->setObjectName(QStringLiteral("GlueClearRejectedWordsBtn"));
}

void TMainFm::BuildViewSection()
{
    ViewSectionPanel = new TPanel(ClientPanel, QStringLiteral("ViewSectionPanel"));
    ViewTabCtl = new QTabBar(ViewSectionPanel);
    ViewTabCtl->setObjectName(QStringLiteral("ViewTabCtl"));
    ViewTabCtl->setExpanding(false);
    ViewTabCtl->addTab(QStringLiteral("Page 1"));
    ViewTabCtl->addTab(QStringLiteral("Page 2"));
    DesktopPanel = new TPanel(ViewSectionPanel, QStringLiteral("DesktopPanel"));
    ViewPort = new TViewPort(this, DesktopPanel);
    ViewPortFocus = ViewPort->FocusChild();
    ViewPortHorzScrollbar = new QScrollBar(Qt::Horizontal, ViewSectionPanel);
    ViewPortHorzScrollbar->setObjectName(QStringLiteral("ViewPortHorzScrollbar"));
    ViewPortVertScrollbar = new QScrollBar(Qt::Vertical, ViewSectionPanel);
    ViewPortVertScrollbar->setObjectName(QStringLiteral("ViewPortVertScrollbar"));
    // Tabs on top, scroll bars aligned bottom and right, the desktop and the view port filling.
    auto *layout = new QGridLayout(ViewSectionPanel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *tabRow = new QHBoxLayout; // the page arrows go at its right end
    tabRow->setContentsMargins(0, 0, 0, 0);
    tabRow->addWidget(ViewTabCtl);
    tabRow->addStretch(1);
    layout->addLayout(tabRow, 0, 0, 1, 2);
    layout->addWidget(DesktopPanel, 1, 0);
    layout->addWidget(ViewPortVertScrollbar, 1, 1);
    layout->addWidget(ViewPortHorzScrollbar, 2, 0);
    auto *desktopLayout = new QGridLayout(DesktopPanel);
    desktopLayout->setContentsMargins(0, 0, 0, 0);
    desktopLayout->addWidget(ViewPort, 0, 0);
}

void TMainFm::BuildStatusBar()
{
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(false);
    StatusBar->setMinimumHeight(22);
    setStatusBar(StatusBar);
    SBPage = makeLabel(StatusBar, QStringLiteral("SBPage"), QStringLiteral("Page 1"));
    SBPage->setGeometry(2, 2, 80, 18);
    SBWordslots = makeLabel(StatusBar, QStringLiteral("SBWordslots"), QString());
    SBWordslots->setGeometry(90, 2, 150, 18);
    SBThemeWords = makeLabel(StatusBar, QStringLiteral("SBThemeWords"), QString());
    SBThemeFits = makeLabel(StatusBar, QStringLiteral("SBThemeFits"), QString());
    for (QLabel *panel : {SBPage, SBWordslots, SBThemeWords, SBThemeFits}) {
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
    }
}

// ---- Creation -------------------------------------------------------------------------------

void TMainFm::FormCreate()
{
    // Idle handler; pending messages.
    qApp->installEventFilter(this);
    m_idleHandlerInstalled = true;
    if (!QCoreApplication::closingDown())
        QCoreApplication::processEvents();

    // Suppressed messages and the exception handler; the work list.
    SuppressedMessages.clear();
    TApplication::SetExceptionHandler(
        [this](QObject *sender, const QString &message) { ApplicationException(sender, message); });
    m_workList.clear();

    // The clue grids' contents live in the document; these views show them.
    CreateClueGrids();
    CluesAcrossSG->setModel(::CluesAcrossSG);
    CluesDownSG->setModel(::CluesDownSG);
    CluesAlternateSG->setModel(::CluesAlternateSG);

    // The puzzle file type is registered at every close unless the preferences did it before.
    RegisterFileTypeOnClose = true;

    // Recent files.
    m_recentFiles = std::make_unique<TRecentFiles>(QStringLiteral("Software\\Halvard, Inc.\\TRV\\Recent"),
                                                   mFileRecentLine);
    for (QAction *item : mFileRecent)
        m_recentFiles->AddMenuItem(item);

    // The engine reads its dictionary relative to the current folder.
    m_programFolder = GetProgramFolder();
    if (!QFileInfo::exists(QStringLiteral("ZEDAVIV/Clues.03"))) {
        if (!QDir::setCurrent(m_programFolder))
            showWarning(QStringLiteral("Cannot change to ") + QCoreApplication::applicationFilePath() +
                        QStringLiteral("'s directory."));
    }

    // The word-and-clue editor; the two labels take its colours. The word-list page sets
    // the editor's change callbacks.
    ClueEditor = new TCluesEdit(ThemePanel);
    ClueEditor->setObjectName(QStringLiteral("ClueEditor"));
    ClueEditor->move(0, 73);
    ClueEditor->resize(ThemePanel->contentsRect().width(), qMax(0, ThemePanel->height() - 73));
    ClueEditor->SetClueSpacing(5);
    const QFont slotsFont(QStringLiteral("Arial"), 8);
    ClueEditor->SetSlotsFont(slotsFont);
    ClueEditor->SetSlotsFontColor(ColorFromWin(0x696969));
    ClueEditor->SetSlotsColor(ColorFromWin(ThemePanel->Color()));
    ClueEditor->SetSlotsLeft(1);
    ClueEditor->SetSlotsRight(QFontMetrics(slotsFont).horizontalAdvance(QStringLiteral("22 A")) + 4);
    ClueEditor->SetTextFontSize(8);
    ClueEditor->SetTextFontStyles(0);
    ClueEditor->SetAnswerColor(ColorFromWin(0x800000));
    ClueEditor->SetClueColor(ColorFromWin(0x006F00));
    m_wordList = std::make_unique<TCluesEditWordList>(ClueEditor);
    WordList = m_wordList.get();
    DocHooks.SetModified = [this] { SetModified(); };
    InstallDocumentHooks();
    ConnectDocumentControls();
    WordsLbl->setStyleSheet(QStringLiteral("color: #000080"));
    CluesLbl->setStyleSheet(QStringLiteral("color: #006F00"));

    // The plain alphabet.
    SetAlphabet(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"));

    // Status tips reach the caption through event(). The grid:
    PatAuxControls.MainForm = this;
    PatAuxControls.PuzzleSizeCmBx = PuzzleSizeCmBx;
    PatAuxControls.ColCountSpEd = ColCountSpEd;
    PatAuxControls.RowCountSpEd = RowCountSpEd;
    TRVCreateRenumGrid(15, 15);
    SetPuzzleDimensions(15, 15, false);
    SymStandardSpBtn->setChecked(true);

    // Glyphs and cursors.
    LoadGlyphsAndCursors();

    // Engine callbacks, in this order.
    RegisterEngineCallbacks();

    // View defaults.
    PencilFont = QStringLiteral("Comic Sans MS");
    View = vmPageWidth;
    mViewPuzzle->setChecked(true);
    ArrangePanels();
    ConnectView();
    InstallCheckPointHooks();
    InstallLayoutHooks();
    CreateSmallForms();
    PixelsPerInch = ViewPort->logicalDpiX() > 0 ? ViewPort->logicalDpiX() : 96;
    SetZoomAndCentre(Zoom, PaperWidth / 2, PaperHeight / 2);
    TRVSetShowHotSpots(0);

    // The document name; the file dialogs find their folders from it (filefolders.h).
    SavePuzzleDialog.FileName = QStringLiteral("Untitled");
    DocumentNameHooks.FileName = [this] { return SavePuzzleDialog.FileName; };
    DocumentNameHooks.Title = [this] { return TitleEd->text(); };
    UpdateCaption();

    // Toolbar hints; the progress-dialog timer off.
    SetToolbarHints(this);
    ConstructingDlgTimer->stop();

    // Rejected words.
    LoadRejectedWords();

    // The undo history.
    CreateCheckPointPool(30);

    // Automatic clues; the random generator; colours.
    SetAutoClueSymmetrical(true);
    SetAutoClueFreeform(true);
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    DesktopColor = 128;
    PageColor = 0xFFFFFF;
    RemovedCellColor = 0xFFFFFF;

    // Settings.
    if (!LoadRegistrySettings())
        LoadFirstRunSettings();
    LoadWordBankSettings();

    // Puzzle type; the desktop colour.
    if (SetupTight)
        SwitchToSymmetrical(false);
    else
        SwitchToFreeform(false);
    SetViewMode(View, 0);
    DesktopPanel->SetColor(DesktopPanelColor);
    // The start-up grid's clue rows, as New and reading a file build them, so that saving the
    // start-up puzzle and reading it back give the same file.
    CluesNeedRebuild = true;
    RebuildClueGrids();

    // Titles.
    DocControls.PuzzleTitle.clear();
    DocControls.PuzzleSubtitle.clear();
    TitleFont = QStringLiteral("Times New Roman");
    TitleFontSize = 36;
    SubtitleFont = QStringLiteral("Times New Roman");
    SubtitleFontSize = 16;
    PutTitleOnCode = 2;
    AcrossText = QStringLiteral("Across");
    DownText = QStringLiteral("Down");
    CreditsFont = QStringLiteral("Times New Roman");
    CreditsFontSize = 7;
    CreditsLine = DefaultCreditsLine();
    WorksheetLine.clear();
    WorksheetFontName = QStringLiteral("Arial");
    WorksheetFontSize = 11;

    // The pattern-edit tool starts off; hot spots; the first page tab.
    PatternEditSpBtnClick();
    PatternEditSpBtn->setChecked(false);
    TRVComputeHotSpots();
    // The first page, in the view mode the settings stored.
    SetPageCount(2, 2);
    switch (View) {
    case vmPenciled: ShowPenciledView(); break;
    case vmClues: ShowCluesView(); break;
    case vmSolution: ShowSolutionView(); break;
    case vmPageWidth:
        SetCurrentPage(1);
        SetViewMode(vmPageWidth, 2);
        break;
    default: ShowViewTab(QStringLiteral("Page 1")); break;
    }

    // The size controls must have their handlers.
    if (!m_sizeChangeConnected || !m_applySizeConnected)
        showInformation(QStringLiteral("Some components have lost their event handlers"));

    // Start-up state of the build and the panels.
    mMakeAnother->setEnabled(false);
    LoosePatternPnl->move(12, 8);
    DocumentLoaded = false;
    // The editor's first layout adds the empty entry that always ends the list; an empty list
    // has nothing to save.
    ClueEditor->Relayout();
    ClueEditor->MarkSaved();
    RefreshPanelBackgrounds();

    // The desktop picture; the work bitmap; nothing modified yet.
    LoadDesktopImage(m_programFolder + QStringLiteral("TRVDesktopImage.jpg"));
    m_workBitmap = QImage(1, 1, QImage::Format_RGB32);
    ShowDocumentControls();
    UpdateTrafficLight();
    FormShow();
    PuzzleModified = false;
}

void TMainFm::LoadGlyphsAndCursors()
{
    for (const char *name :
         {"LETTER_A", "LETTER_D", "SP_NOSYM", "SP_STD", "SP_SPIRL", "SP_KALI", "SP_HORZ", "SP_VERT", "SP_HV"})
        Glyphs.insert(QString::fromLatin1(name), QPixmap(QStringLiteral(":/") + QLatin1String(name)));
    TypingDirectionGlyph = Glyphs.value(QStringLiteral("LETTER_A"));

    const struct {
        int number;
        const char *name;
        int hotX, hotY;
    } cursors[] = {
        {1, "ALPHA_H", 4, 7},         {2, "ALPHA_V", 4, 7},     {3, "EraseLetter", 8, 8},
        {4, "SymNone", 8, 8},         {5, "SymStandard", 8, 8}, {6, "SymSpiral", 8, 8},
        {7, "SymKaleidoscope", 8, 8}, {8, "SymHorz", 8, 8},     {9, "SymVert", 8, 8},
        {10, "SymHV", 8, 8},          {11, "RejectWord", 8, 8}, {13, "HyperLink", 0, 0},
        {14, "Zoom", 11, 11},
    };
    for (const auto &c : cursors) {
        const QPixmap picture(QStringLiteral(":/") + QLatin1String(c.name));
        if (!picture.isNull()) // there is no "HyperLink" picture: number 13 stays without cursor
            Cursors.insert(c.number, QCursor(picture, c.hotX, c.hotY));
    }
}

void TMainFm::RegisterEngineCallbacks()
{
    TRVEstablishDrawCellCallBacks(EngineRedrawCellCallback, EngineDrawCellColorCallback,
                                  EngineDrawCellNumberCallback, EngineDrawCellTextCallback);
    TRVEstablishThemeWordCallBacks(themeWordLocation);
    TRVEstablishConstructInfoCB(constructInfo);
    TRVEstablishRejectedWordsCB(sendRejectedWords);
}

QString TMainFm::RejectedWordsFileName()
{
    // Kept in the user data folder: the program folder, which start-up may make current, is
    // often not writable on Linux.
    const QString folder = GetUserDataFolder();
    return folder.isEmpty() ? QString() : AddBackslash(folder) + QStringLiteral("trv_glob.rjt");
}

void TMainFm::LoadRejectedWords()
{
    const QString fileName = RejectedWordsFileName();
    QStringList lines;
    if (fileName.isEmpty() || !Cp1252::readTextLines(fileName, &lines))
        return;
    GlueRejectWordsMemo->setPlainText(lines.join(QLatin1Char('\n')));
}

// ---- Frame services -------------------------------------------------------------------------

void TMainFm::SendRejectedWordsToEngine()
{
    // One word a line of the memo until the engine's list is full.
    const QStringList lines = GlueRejectWordsMemo->toPlainText().split(QLatin1Char('\n'));
    int sent = 0;
    for (const QString &line : lines) {
        if (line.isEmpty() && sent == lines.size() - 1)
            break; // the memo's trailing line end
        const QByteArray word = Cp1252::fromUnicode(line.left(255));
        if (TRVRejectedWord(word.constData()) == 1) {
            prompter().ask(QStringLiteral("Sorry, only the first ") + QString::number(sent) +
                               QStringLiteral(" rejected words can be processed."),
                           QString(), Prompter::Information, Prompter::Ok | Prompter::Help, 990020);
            return;
        }
        ++sent;
    }
}

void TMainFm::ShowErrorForm(const QString &text)
{
    if (TMyExceptionFm::IsSuppressed(text))
        return;
    TMyExceptionFm form(text, this);
    form.PuzzleFileName = [this] { return SavePuzzleDialog.FileName; };
    form.SaveBackupAs = [this](const QString &backupName) {
        // Save As Once under the backup's name: the open document keeps its own.
        const QString previous = SavePuzzleDialog.FileName;
        SavePuzzleDialog.FileName = backupName;
        mFileSaveAsOnceClick();
        SavePuzzleDialog.FileName = previous;
    };
    form.CloseMainWindow = [this] { return close(); };
    form.ShowErrorReport = [this](const QString &subject) { ShowContactForm(subject); };
    uiDialogs().RunModal(form);
}

void TMainFm::ApplyColorScheme(int color)
{
    ColorScheme = color;
    SpeedBarPanel->SetColor(color);
    ClientPanel->SetColor(color);
    if (ClueEditor)
        ClueEditor->SetSlotsColor(ColorFromWin(color));
}

void TMainFm::UpdateCaption()
{
    setWindowTitle(QStringLiteral("Tarvel  -  ") + UrlOrFileName(SavePuzzleDialog.FileName));
}

void TMainFm::FadeIn(int ms) { FadeWindowIn(this, ms, 2000, false); }

void TMainFm::ArrangePanels()
{
    const int clientWidth = ClientPanel->width();
    const int clientHeight = ClientPanel->height();
    SpeedBarPanel->setGeometry(0, 0, clientWidth, SpeedBarHeight);
    InstrumentPanel->setGeometry(0, SpeedBarHeight, InstrumentPanelWidth, clientHeight - SpeedBarHeight);
    ViewSectionPanel->setGeometry(InstrumentPanelWidth + 4, SpeedBarHeight,
                                  clientWidth - InstrumentPanelWidth - 4, clientHeight - SpeedBarHeight);

    QWidget *active = MainNotebookPages->currentWidget();
    const int pageWidth = active ? active->width() : InstrumentPanelWidth;
    const int pageHeight = active ? active->height() : clientHeight;

    // Words page: the sort panel 4 above the bottom, the editor panel down to 8 above it.
    ThemeSortPanel->setGeometry(0, pageHeight - 4 - ThemeSortPanel->height(), pageWidth,
                                ThemeSortPanel->height());
    ThemePanel->setGeometry(0, 0, pageWidth, qMax(0, ThemeSortPanel->y() - 8));
    if (ClueEditor)
        ClueEditor->setGeometry(0, 73, ThemePanel->contentsRect().width(),
                                qMax(0, ThemePanel->height() - 73));

    // Puzzle-type page: the two buttons at the bottom, the memo down to 4 above them.
    const int buttonHeight = 26;
    const int buttonTop = pageHeight - buttonHeight - 4;
    GlueSaveRejectedWordListBtn->setGeometry(8, buttonTop, 180, buttonHeight);
    GlueClearRejectedWordsBtn->setGeometry(196, buttonTop, 100, buttonHeight);
    GlueRejectWordsMemo->setGeometry(8, GlueRejectWordsMemo->y(), pageWidth - 16,
                                     qMax(0, buttonTop - 4 - GlueRejectWordsMemo->y()));

    // Grid page: the four panels spread over the page height.
    const int free = pageHeight - SizePanel->height() - SymmetryPanel->height() - FlagsPanel->height() -
                     WordSizesPanel->height() - 6 - 6;
    const int gap = free < 104 ? free / 4 : 25;
    SizePanel->move(0, gap / 2 + 6);
    SymmetryPanel->move(0, SizePanel->y() + SizePanel->height() + gap);
    FlagsPanel->move(0, SymmetryPanel->y() + SymmetryPanel->height() + gap);
    WordSizesPanel->move(0, FlagsPanel->y() + FlagsPanel->height() + gap + 6);
    WordSizesHintLbl->move(4, WordSizesPanel->y() - WordSizesHintLbl->height());
    WordSizesHintLbl->setVisible(WordSizesHintLbl->y() > LoosePatternPnl->y() + LoosePatternPnl->height());

    // Other-clues page: the across and down grids share the space above the adoption panel.
    CluesShowAlternatesCB->move(pageWidth - CluesShowAlternatesCB->width() - 4, 22);
    AcrossLbl->move(4, CluesShowAlternatesCB->y() + CluesShowAlternatesCB->height() - 6);
    ThemeAdoptPanel->setGeometry(0, pageHeight - ThemeAdoptPanel->height(), pageWidth,
                                 ThemeAdoptPanel->height());
    const int spaceTop = AcrossLbl->y() + AcrossLbl->height();
    const int half = qMax(0, (ThemeAdoptPanel->y() - spaceTop) / 2);
    CluesAcrossSG->setGeometry(4, spaceTop, pageWidth - 8, qMax(0, half - 8));
    DownLbl->move(4, spaceTop + half);
    CluesDownSG->setGeometry(4, DownLbl->y() + DownLbl->height(), pageWidth - 8,
                             qMax(0, half - DownLbl->height() - 8));
    CluesAlternateSG->setGeometry(4, spaceTop, pageWidth - 8,
                                  CluesDownSG->y() + CluesDownSG->height() - spaceTop);
    for (QTableView *grid : {CluesAcrossSG, CluesDownSG, CluesAlternateSG})
        if (grid->model() && grid->model()->rowCount() > 0)
            grid->setRowHeight(0, 0);

    // Status bar panels.
    const int barWidth = StatusBar->width();
    const int fits = (barWidth - SBPage->width() - 40 - SBWordslots->width()) / 2 - 30;
    SBWordslots->move(SBPage->x() + SBPage->width() + 8, SBPage->y());
    SBThemeWords->setGeometry(SBWordslots->x() + SBWordslots->width() + 8, SBPage->y(), qMax(0, fits + 60),
                              SBPage->height());
    SBThemeFits->setGeometry(SBThemeWords->x() + SBThemeWords->width() + 8, SBPage->y(), qMax(0, fits),
                             SBPage->height());
}

QRect TMainFm::ClampedWindowRect(const QRect &rect, const QSize &screen)
{
    return QRect(qMin(rect.left(), screen.width() - 100), qMin(rect.top(), screen.height() - 100),
                 qMax(rect.width(), 680), qMax(rect.height(), 470));
}

QSize TMainFm::FirstRunWindowSize(const QSize &screen)
{
    const int width = qBound(800, qRound(screen.width() * 0.75), 1550);
    const int height = qBound(600, qRound(screen.height() * 0.85), 1150);
    return QSize(width, height);
}

static QSize screenSize()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1024, 768);
}

void TMainFm::ClampWindowRect()
{
    const QRect r = ClampedWindowRect(QRect(Left, Top, Width, Height), screenSize());
    Left = r.left();
    Top = r.top();
    Width = r.width();
    Height = r.height();
}

void TMainFm::MaximizeOnSmallScreen()
{
    const QSize screen = screenSize();
    if (screen.width() <= 700 || screen.height() <= 500)
        ApplyWindowState(2);
}

void TMainFm::ChoosePencilFont(const QString &name) { PencilFont = InstalledPencilFont(name); }

void TMainFm::RefreshPanelBackgrounds()
{
    // Labels on panels become opaque in the panel's colour.
    for (QLabel *label : findChildren<QLabel *>()) {
        const auto *panel = qobject_cast<TPanel *>(label->parentWidget());
        if (!panel)
            continue;
        label->setAutoFillBackground(true);
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, ColorFromWin(panel->Color()));
        label->setPalette(palette);
    }
    for (TPanel *panel : findChildren<TPanel *>())
        panel->update();
}

void TMainFm::LoadDesktopImage(const QString &fileName)
{
    m_desktopImage = LoadDesktopJpeg(fileName);
    DesktopPanel->update();
}

int TMainFm::ActiveNotebookPage() const
{
    QWidget *page = MainNotebookPages->currentWidget();
    if (page == tsYourWords)
        return 1;
    if (page == tsGrid)
        return 2;
    if (page == tsOtherClues)
        return 3;
    return 0;
}

void TMainFm::ShowNotebookPage(int index)
{
    QWidget *page = nullptr;
    switch (index) {
    case 0: page = tsPuzzleType; break;
    case 1: page = tsYourWords; break;
    case 2: page = tsGrid; break;
    case 3: page = TightRB->isChecked() ? tsOtherClues : tsPuzzleType; break;
    default: break;
    }
    if (page && MainNotebookPages->currentWidget() != page)
        MainNotebookPages->setCurrentWidget(page); // runs the page-change handling
    else
        MainNotebookPagesChange(MainNotebookPages->currentIndex());
}

void TMainFm::MainNotebookPagesChange(int)
{
    QWidget *page = MainNotebookPages->currentWidget();
    if (page == tsOtherClues)
        ArrangePanels();
    else if (page == tsYourWords && ClueEditor)
        ClueEditor->setFocus();
}

void TMainFm::MainNotebookPagesClick() {}

void TMainFm::SetAutoClueSymmetrical(bool on)
{
    AutoClueSymmetrical = on;
    mClueAutomaticallySymmetrical->setChecked(on);
}

void TMainFm::SetAutoClueFreeform(bool on)
{
    AutoClueFreeform = on;
    mClueAutomaticallyFreeform->setChecked(on);
}

void TMainFm::mClueAutomaticallySymmetricalClick() { SetAutoClueSymmetrical(!AutoClueSymmetrical); }

void TMainFm::mClueAutomaticallyFreeformClick() { SetAutoClueFreeform(!AutoClueFreeform); }

void TMainFm::SetModified()
{
    PuzzleModified = true;
    RefreshExportForms();
}

bool TMainFm::IsModified() const { return PuzzleModified || (ClueEditor && !ClueEditor->IsSaved()); }

int TMainFm::QuerySaveChanges()
{
    // The words page's example list goes back to the user's list first, so that it is the
    // user's words that are asked about and saved.
    if (HintFm)
        HintFm->CloseBalloon();
    if (!IsModified())
        return 7;
    const Prompter::Button answer =
        askConfirmation(QStringLiteral("The current puzzle is unsaved.  Do you want to save it?"),
                        Prompter::Yes | Prompter::No | Prompter::Cancel);
    if (answer == Prompter::Yes) {
        mFileSaveAsClick();
        return 6;
    }
    return answer == Prompter::No ? 7 : 2;
}

// ---- Start-up, idle, hints, exceptions ----------------------------------------------------

void TMainFm::StartUpFinished()
{
    m_startUpFinished = true;
    ScheduleIdle();
}

void TMainFm::ScheduleIdle()
{
    if (m_startUpFinished && !m_idleTimer.isActive())
        m_idleTimer.start();
}

void TMainFm::OnIdleEvent()
{
    ++m_idlePasses;
    if (MainFormReady) {
        if (FirstIdle) {
            const QStringList args = QCoreApplication::arguments();
            FirstIdle = false;
            // The first run: the tour chooses the default puzzle type.
            if (!SetupLoose && !SetupTight)
                ShowQuickTour();
            if (args.size() > 1)
                OpenPuzzleFileOrUrl(TStartUp::ResolveHandedInName(args.at(1)));
        }
    }
    IdleSpellingCheck();
    IdleWordsPage();
    IgnoreWordBankCBClick = false;
    WordBankCBCheckpointing = false;
}

bool TMainFm::eventFilter(QObject *watched, QEvent *event)
{
    // The pages and the status bar get their sizes from layouts after the window's own resize.
    if (event->type() == QEvent::Resize && !m_destroyed &&
        (watched == MainNotebookPages->currentWidget() || watched == StatusBar))
        ArrangePanels();
    // A text field keeps its own undo and redo keys: the menus' Undo and Redo are the puzzle's.
    if (event->type() == QEvent::ShortcutOverride &&
        TextFieldKeepsKey(watched, *static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    // The grid's keys, before focus navigation can take arrows or Tab.
    if (watched == ViewPortFocus && ViewPortFocus) {
        if (event->type() == QEvent::KeyPress && ViewKeyEvent(static_cast<QKeyEvent *>(event)))
            return true;
        if (event->type() == QEvent::FocusOut)
            ViewPortFocusExit();
    }
    // Idle work runs once the queue is empty after any input or window message.
    if (watched != &m_idleTimer && m_startUpFinished) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
        case QEvent::FocusIn:
        case QEvent::Show:
        case QEvent::Resize:
        case QEvent::WindowActivate:
        case QEvent::Close:
        case QEvent::Timer: ScheduleIdle(); break;
        default: break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainFm::ApplicationException(QObject *, const QString &message) { ShowErrorForm(message); }

void TMainFm::ApplicationHint(const QString &hint)
{
    if (!hint.isEmpty())
        setWindowTitle(hint);
    else
        UpdateCaption();
}

bool TMainFm::event(QEvent *event)
{
    if (event->type() == QEvent::StatusTip) {
        ApplicationHint(static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

// ---- Resizing -------------------------------------------------------------------------------

bool TMainFm::FormCanResize()
{
    if (MainFormReady && !m_alphaSwitchedOff) {
        m_alphaSwitchedOff = true;
        setWindowOpacity(1.0);
    }
    return true;
}

void TMainFm::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    FormCanResize();
    FormResize();
}

void TMainFm::FormResize()
{
    if (!QCoreApplication::closingDown() && !MainFormClosing) {
        if (ClueEditor)
            ClueEditor->Relayout();
        PseudoFormResize();
    }
    RememberWindowRect();
}

void TMainFm::PseudoFormResize()
{
    if (m_lastWindowState != Qt::WindowNoState && windowState() == Qt::WindowNoState) {
        m_lastWindowState = Qt::WindowNoState;
        RestoreRememberedRect();
    }
    ArrangePanels();
}

void TMainFm::RememberWindowRect()
{
    if (windowState() != Qt::WindowNoState || MainFormBoundsRestored)
        return;
    Top = y();
    Left = x();
    Width = width();
    Height = height();
}

void TMainFm::RestoreRememberedRect() { RestoreMainFormBounds(); }

void TMainFm::ApplyWindowState(int state)
{
    WindowState = state == 2 ? 2 : 0;
    setWindowState(WindowState == 2 ? Qt::WindowMaximized : Qt::WindowNoState);
}

void TMainFm::paintEvent(QPaintEvent *event)
{
    QMainWindow::paintEvent(event);
    m_lastWindowState = windowState();
    FormPaint();
}

void TMainFm::FormPaint() {}

void TMainFm::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && windowState() == Qt::WindowNoState)
        PseudoFormResize();
}

// ---- Closing --------------------------------------------------------------------------------

void TMainFm::closeEvent(QCloseEvent *event)
{
    // The build runs inside its command: the window must outlive it.
    if (m_building || !FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

bool TMainFm::FormCloseQuery()
{
    const int answer = QuerySaveChanges();
    const bool canClose = answer == 7 || (answer == 6 && !IsModified());
    if (canClose) {
        MainFormClosing = true;
        WriteRegistry();
    }
    return canClose;
}

void TMainFm::FormClose()
{
    // Start-up asked for the ".trv" association; the browser windows go with the window.
    if (RegisterFileTypeOnClose)
        RegisterFileType(QCoreApplication::applicationFilePath(), QStringLiteral(":/TRVIcon"));
    delete DirectoryBrowser.data();
    delete PlayBrowser.data();
}

void TMainFm::FormDestroy()
{
    if (m_destroyed)
        return;
    m_destroyed = true;
    if (m_idleHandlerInstalled)
        qApp->removeEventFilter(this);
    // The clue grids' filters would see the grids' last events while the window is half gone.
    delete ClueGrids;
    ClueGrids = nullptr;
    m_idleTimer.stop();
    TApplication::SetExceptionHandler(nullptr);
    m_workBitmap = QImage();
    m_desktopImage = QImage();
    SuppressedMessages.clear();
    FreeCheckPointPool();
    WordList = nullptr;
    m_wordList.reset();
    DocHooks = TDocumentHooks{};
    LayoutHooks = TLayoutHooks{};
    PrintHooks = TPrintHooks{};
    SetPrintDialogs(nullptr);
    FileHooks = TPuzzleFileHooks{};
    DocumentNameHooks = TDocumentNameHooks{};
    for (QTableView *grid : {CluesAcrossSG, CluesDownSG, CluesAlternateSG})
        grid->setModel(nullptr);
    FreeClueGrids();
    Glyphs.clear();
    delete ClueEditor;
    ClueEditor = nullptr;
    m_workList.clear();
    m_recentFiles.reset();
}
