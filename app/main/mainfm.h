// The main window: its frame (notebook pages, view section, status bar, timers, menus), its
// creation, idle, exception and hint handling, resizing, settings and closing.
#pragma once

#include "pagetypes.h"
#include "publishfm.h"
#include "viewmode.h"

#include <QCursor>
#include <QImage>
#include <QMainWindow>
#include <QMap>
#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <QTimer>
#include <memory>
#include <vector>

class QAbstractButton;
class TClueGrid;
class TClueGridsController;
class TPrintDialogs;
class THintFm;
class TPreferencesDlg;
class TPublishPrefFm;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSpinBox;
class QStatusBar;
class QTabBar;
class QTabWidget;
class QKeyEvent;
class QPainter;
class QTableView;
class QToolButton;
class TCluesEdit;
class TCluesEditWordList;
class TExportGraphicFm;
class TExportTextFm;
class TPaintBox;
class TWebBrowserFm;
class TPanel;
class TRecentFiles;
class TViewPort;
class TNameValueLines;
class TSizeFm;
class TSpellingDlg;
struct TWordSizesGeometry;

/** What the program remembers of a file dialog between showings. */
struct TFileDialogState {
    QString FileName;
};

/** Start-up puzzle type, registry values "SetupLoose" and "SetupTight". */
extern bool SetupLoose;
extern bool SetupTight;

class TMainFm : public QMainWindow
{
    Q_OBJECT
public:
    /** A build that leaves some of the user's words out is made again, up to this many
     *  attempts in all; the fill holding the most of them is kept. */
    static constexpr int MakePuzzleAttempts = 6;

    /** Builds the frame and runs FormCreate. */
    explicit TMainFm(QWidget *parent = nullptr);
    ~TMainFm() override;

    // ---- Frame controls, by their names -------------------------------------------------------
    TPanel *ClientPanel = nullptr;
    TPanel *SpeedBarPanel = nullptr;
    TPanel *InstrumentPanel = nullptr;
    QToolButton *PatternEditSpBtn = nullptr;
    QToolButton *VPCursorLetterSpBtn = nullptr;
    QToolButton *EraseLettersSpBtn = nullptr;
    QToolButton *RejectWordSpBtn = nullptr;
    QToolButton *ZoomInSpBtn = nullptr;
    QToolButton *ExchangeAcrossDownSpBtn = nullptr;
    QToolButton *EraseLettersAllSpBtn = nullptr;
    QToolButton *ConstructSpBtn = nullptr;
    QToolButton *MakeSpBtn = nullptr;
    QToolButton *UndoSpBtn = nullptr;
    QToolButton *PrintSpBtn = nullptr;
    QToolButton *RedoSpBtn = nullptr;
    QToolButton *FileOpenSpBtn = nullptr;
    QToolButton *FileSaveSpBtn = nullptr;
    QToolButton *HelpSpBtn = nullptr;
    QToolButton *PublishSpBtn = nullptr;
    QToolButton *PlaySpBtn = nullptr;
    QTabWidget *MainNotebookPages = nullptr;
    QWidget *tsPuzzleType = nullptr;
    QWidget *tsYourWords = nullptr;
    QWidget *tsGrid = nullptr;
    QWidget *tsOtherClues = nullptr;
    // Puzzle-type page.
    QRadioButton *LooseRB = nullptr;
    QRadioButton *TightRB = nullptr;
    QLineEdit *TitleEd = nullptr;
    QLineEdit *SubtitleEd = nullptr;
    QCheckBox *GlueRandomCB = nullptr;
    QCheckBox *AutoLayoutCB = nullptr;
    QPlainTextEdit *GlueRejectWordsMemo = nullptr;
    QPushButton *GlueSaveRejectedWordListBtn = nullptr;
    QPushButton *GlueClearRejectedWordsBtn = nullptr;
    // Words page.
    TPanel *ThemePanel = nullptr;
    /** The one word-and-clue editor, on ThemePanel. */
    TCluesEdit *ClueEditor = nullptr;
    QLabel *WordsLbl = nullptr;
    QLabel *CluesLbl = nullptr;
    TPanel *ThemeSortPanel = nullptr;
    QCheckBox *WordBankCB = nullptr;
    QLabel *ThemeListSizeLabel = nullptr;
    // Grid page.
    TPanel *SizePanel = nullptr;
    QComboBox *PuzzleSizeCmBx = nullptr;
    QPushButton *ApplySizeBtn = nullptr;
    TPanel *SymmetryPanel = nullptr;
    QToolButton *SymNoneSpBtn = nullptr;
    QToolButton *SymStandardSpBtn = nullptr;
    QToolButton *SymSpiralSpBtn = nullptr;
    QToolButton *SymKaleidoscopeSpBtn = nullptr;
    QToolButton *SymHorizontalSpBtn = nullptr;
    QToolButton *SymVerticalSpBtn = nullptr;
    QToolButton *SymHorzAndVertSpBtn = nullptr;
    QLabel *CurrentSymModeLabel = nullptr;
    TPanel *FlagsPanel = nullptr;
    QCheckBox *CheckBoxUncrossed = nullptr;
    QCheckBox *CheckBoxTwoLetter = nullptr;
    QCheckBox *ShowHotSpotsCB = nullptr;
    TPanel *WordSizesPanel = nullptr;
    QLabel *WordSizesHintLbl = nullptr;
    TPanel *LoosePatternPnl = nullptr;
    QRadioButton *SizeAutoRB = nullptr;
    QRadioButton *SizeFixedRB = nullptr;
    QSpinBox *ColCountSpEd = nullptr;
    QSpinBox *RowCountSpEd = nullptr;
    // Other-clues page.
    QCheckBox *CluesShowAlternatesCB = nullptr;
    QLabel *AcrossLbl = nullptr;
    QLabel *DownLbl = nullptr;
    QTableView *CluesAcrossSG = nullptr;
    QTableView *CluesDownSG = nullptr;
    QTableView *CluesAlternateSG = nullptr;
    TPanel *ThemeAdoptPanel = nullptr;
    // View section.
    TPanel *ViewSectionPanel = nullptr;
    QTabBar *ViewTabCtl = nullptr;
    TPanel *DesktopPanel = nullptr;
    TViewPort *ViewPort = nullptr;
    /** Takes the keyboard for the grid (a child of ViewPort). */
    QWidget *ViewPortFocus = nullptr;
    QScrollBar *ViewPortHorzScrollbar = nullptr;
    QScrollBar *ViewPortVertScrollbar = nullptr;
    // Status bar.
    QStatusBar *StatusBar = nullptr;
    QLabel *SBPage = nullptr;
    QLabel *SBWordslots = nullptr;
    QLabel *SBThemeWords = nullptr;
    QLabel *SBThemeFits = nullptr;
    // Timers.
    QTimer *ConstructingDlgTimer = nullptr;
    QTimer *KeyCursorTimer = nullptr;
    // Menus.
    QMenu *mFile = nullptr;
    QAction *mFileExit = nullptr;
    QAction *mFilePrinterSetup = nullptr;
    QAction *mFilePrint = nullptr;
    QMenu *mHelp = nullptr;
    QAction *mHelpContents = nullptr;
    QAction *mHelpGettingStarted = nullptr;
    QAction *mHelpHowTo = nullptr;
    QAction *mHelpSetup = nullptr;
    QAction *mHelpAbout = nullptr;
    QAction *mFilePreferences = nullptr;
    QAction *mFileRecentLine = nullptr;
    QAction *mFileRecent[6] = {};
    QMenu *mEdit = nullptr;
    QAction *mEditUndo = nullptr;
    QAction *mEditRedo = nullptr;
    QMenu *mView = nullptr;
    QAction *mViewPage[9] = {}; // mViewPage1 .. mViewPage9
    QAction *mViewPuzzle = nullptr;
    QAction *mViewClues = nullptr;
    QAction *mViewSolution = nullptr;
    QAction *mViewCustom = nullptr;
    QAction *mViewZoomIn = nullptr;
    QAction *mViewZoomOut = nullptr;
    QAction *mViewPageWidth = nullptr;
    QMenu *mGrid = nullptr;
    QMenu *mGridEditing = nullptr;
    QAction *mGridCursorPattern = nullptr;
    QAction *mGridCursorAlpha = nullptr;
    QAction *mGridCursorEraseLetter = nullptr;
    QAction *mGridCursorEraseWord = nullptr;
    QMenu *mBuild = nullptr;
    QAction *mBuildBuildNow = nullptr;
    QAction *mMakeAnother = nullptr;
    QAction *mBuildStartOver = nullptr;
    QAction *mBuildDifferent = nullptr;
    QMenu *mClues = nullptr;
    QAction *mClueAutomaticallySymmetrical = nullptr;
    QAction *mClueAutomaticallyFreeform = nullptr;
    QMenu *mExport = nullptr;
    QAction *mExportInteractive = nullptr;
    QAction *mExportConfigureInteractive = nullptr;

    // ---- File dialogs, glyphs, cursors --------------------------------------------------------
    TFileDialogState SavePuzzleDialog;
    TFileDialogState OpenPuzzleDialog;
    TFileDialogState WordListOpenDialog;
    TFileDialogState WordListSaveDialog;
    /** The typing-direction and symmetry glyphs by resource name ("LETTER_A", "SP_STD", ...). */
    QMap<QString, QPixmap> Glyphs;
    QPixmap TypingDirectionGlyph;
    /** Screen cursors by number (1 "ALPHA_H" ... 14 "Zoom"); number 13 has none. */
    QMap<int, QCursor> Cursors;

    /** Messages that the exception handler does not show (exact match): the error dialog's list. */
    QStringList &SuppressedMessages;
    TRecentFiles *RecentFiles() const { return m_recentFiles.get(); }
    const QImage &DesktopImage() const { return m_desktopImage; }
    QString ProgramFolder() const { return m_programFolder; }
    bool DocumentLoaded = false;

    // ---- Frame services -----------------------------------------------------------------------
    void ShowErrorForm(const QString &text);
    /** Opens a document or address with the desktop's program; false when nothing opened it. */
    bool ShellOpen(const QString &target);
    /** Opens a page of the help folder beside the program; a missing page is said plainly. */
    void ShowHelpTopic(const QString &page);
    /** The quick tour, modal; it may choose the default puzzle type. */
    void ShowQuickTour();
    /** The advice shown when a freeform puzzle is asked for without words. */
    void ShowNextStep();
    /** The words page's "example" and "instructions" commands. */
    void ExampleLnkClick();
    void InstructionsLnkClick();
    /** The help balloon and the preferences dialog, made at start-up. */
    std::unique_ptr<THintFm> HintFm;
    std::unique_ptr<TPreferencesDlg> PreferencesDlg;
    /** The player preferences, made at start-up (or at first use when start-up did not). */
    QPointer<TPublishPrefFm> PublishPrefFm;
    TPublishPrefFm *EnsurePublishPrefFm(const std::function<void(int)> &progress = {});
    /** The publishing form's side of the main window. */
    TPublishHooks PublishHooks();
    /** The rejected-words file "trv_glob.rjt" in the user data folder; empty when unknown. */
    static QString RejectedWordsFileName();
    /** Answers the engine's rejected-words callback with the memo's lines. */
    void SendRejectedWordsToEngine();
    void ApplyColorScheme(int color);
    void UpdateCaption();
    void FadeIn(int ms);
    void ArrangePanels();
    void RememberWindowRect();
    void ClampWindowRect();
    void MaximizeOnSmallScreen();
    void ChoosePencilFont(const QString &name);
    void RefreshPanelBackgrounds();
    void LoadDesktopImage(const QString &fileName);
    int ActiveNotebookPage() const;
    void ShowNotebookPage(int index);
    void SetAutoClueSymmetrical(bool on);
    void SetAutoClueFreeform(bool on);
    /** Reads a puzzle file; false when nothing was read. */
    bool ReadPuzzleFile(const QString &name);
    void AfterPuzzleOpened(const QString &name);
    bool IsModified() const;
    /** Marks the document modified (the export previews refresh here once they exist). */
    void SetModified();
    /** 6 Yes, 7 No, 2 Cancel: asks to save an unsaved puzzle; Yes runs Save As. */
    int QuerySaveChanges();

    /** The rectangle rules of ClampWindowRect on (top, left, width, height). */
    static QRect ClampedWindowRect(const QRect &rect, const QSize &screen);
    /** The first-run window size for a screen: 75 % by 85 %, within 800..1550 and 600..1150. */
    static QSize FirstRunWindowSize(const QSize &screen);

    // ---- Settings (registry values and first-run file) ----------------------------------------
    bool LoadRegistrySettings();
    void LoadFirstRunSettings();
    void LoadWordBankSettings();
    /** Applies a first-run name=value list (trv.ini or the built-in defaults). */
    void ApplyFirstRunSettings(const TNameValueLines &list);

    // ---- Document controls: the window's side of the document state -------------------------
    /** Shows the document's values on every control that the puzzle file reads and writes
     *  (titles, puzzle type, symmetry, exchange, display flags, word bank, auto-layout, size). */
    void ShowDocumentControls();
    /** keepGrid: only the set-up of the type, the grid as it stands (after a freeform build). */
    void SwitchToFreeform(bool resetGrid, bool keepGrid = false);
    void SwitchToSymmetrical(bool resetGrid);
    /** 0 freeform, 1 symmetrical: asks about unsaved work, then starts a new puzzle of the type. */
    void ChangePuzzleType(int type);
    /** A new, empty puzzle of the current type. */
    void ResetGridForType(bool showPenciled);
    double CenteredGridLeft() const;
    void UpdateSymmetryButtons();
    void UpdateWordSlotCount();
    void SendThemeWordsToEngine();
    /** The engine's report of a placed theme word (code "A"/"D"), or its start (" ") and end. */
    void ThemeWordPlaced(const QString &word, int number, QChar code);
    QString NormalizeAnswer(const QString &word) const;
    int CountListedWords() const;
    void UpdateThemeFitCount();
    void RedrawThemePageSummay();
    /** The credits line of a new puzzle. */
    static QString DefaultCreditsLine();
    /** The view's cursor number while the pattern-edit tool is active (by symmetry mode). */
    int PatternCursor = 5;
    int PlacedThemeWordCount = 0;
    int CompatibleWordCount = 0;

    // ---- Document view: modes, tabs, zoom, scrolling and cell painting (mainfm_view.cpp) ------
    /** mode: a TViewMode. */
    void SetViewMode(int mode, int how);
    void RedrawView();
    void ShowPenciledView();
    void ShowCluesView();
    void ShowSolutionView();
    void ShowCustomView();
    int CluesViewPage() const;
    bool SelectViewTab(const QString &text);
    void ShowViewTab(const QString &text);
    void ShowViewTabIfOther(const QString &text);
    bool IsPenciledViewActive() const;
    QString ViewTabCaption() const;
    void SetPageCount(int count, int how);
    void SetCurrentPage(int page);
    /** Sets the zoom (quantised, 10..500) and the view centre (page inches) and derives the
     *  view rectangle, line width, font heights and the page's pixel rectangle. */
    void SetZoomAndCentre(double zoom, double x, double y);
    /** The quantised zoom: the first i >= 2 whose zoom 100 / (ppi x cellWidth / i) exceeds the
     *  one asked for; false for a cell width or resolution that is not a sane size. */
    static bool QuantizeZoom(double zoom, double pixelsPerInch, double cellWidth, double *inchesPerPixel,
                             double *zoomUsed);
    /** A zoom the user chose: the custom view, created the first time. */
    void FreeZoom(double zoom, double x, double y);
    double Zoom = 37;
    /** Screen pixels per inch; tests may set it. */
    double PixelsPerInch = 96;
    bool CustomViewExists = false;
    int CustomPage = 1;
    double CustomZoom = 100, CustomCenterX = 4.25, CustomCenterY = 5.5;

    /** Composes the current page into the page image (skipped while the grid updates). */
    void ViewPortPaint();
    /** Asks for a compose at the next paint of the view. */
    void InvalidateView();
    bool ComposePending() const { return m_composePending; }
    const QImage &WorkBitmap() const { return m_workBitmap; }
    void ViewPortResized();
    void RedrawCells(int filter);
    void DrawAllCells(QPainter &canvas);
    /** Paints a cell now: its colour, then its letter and number. */
    void DrawCell(QPainter &canvas, int column, int row);
    /** Outside a compose: marks the cell for the next flush. */
    void DrawCell(int column, int row);
    void DrawCellColor(QPainter &canvas, int column, int row);
    void RedrawCellArea(int column, int row);
    bool IsIsolatedRemovedCell(int column, int row) const;
    bool IsUntouchedFreeformGrid() const;
    bool IsGridAllOpen() const;
    /** Paints every marked cell into the page image and updates their area of the view once. */
    void FlushCellPaints();
    /** Cells painted since start (each DrawCell that painted). */
    long long CellPaints = 0;
    /** Fewer cells are open than hold letters (set by DrawAllCells). */
    bool FewerOpenCellsThanLetters = false;
    QImage ViewCellBitmap;
    void UpdateViewCursor();
    // The engine's draw-cell callbacks; the engine passes (row, column).
    static void EngineRedrawCellCallback(int row, int column);
    static void EngineDrawCellColorCallback(int row, int column);
    static void EngineDrawCellNumberCallback(int row, int column);
    static void EngineDrawCellTextCallback(int row, int column);

    // ---- Grid editing by keyboard and mouse (mainfm_grid.cpp) ------------------------------
    /** 0 none, 1 typing across, 2 typing down, 3 erase letters, 11 erase word, 14 zoom. */
    int ViewTool = 0;
    int TypingDirection = 1;
    int KeyCursorCol = 1;
    int KeyCursorRow = 1;
    void ShowKeyCursor(int column, int row, bool show);
    void VPKeyCursorUpdate();
    void DrawKeyCursor(int column, int row);
    void DrawWordRubberBand(int column, int row);
    void DrawWordBand(int direction);
    QString TakeWordAt(int column, int row, int direction);
    /** The cell under a view pixel, false (and -1, -1) outside the grid. */
    bool CellAtPoint(int x, int y, int *column, int *row) const;
    bool FormKeyDown(int key);
    bool FormKeyPress(QChar key);
    void ViewPortMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint &at);
    void ViewPortMouseMove(Qt::MouseButtons buttons, const QPoint &at);
    void ViewPortMouseUp(Qt::MouseButton button, const QPoint &at);
    /** The help balloon: for now a tool tip shown for that many seconds. */
    void ShowBalloon(const QString &text, int x, int seconds, int y);
    bool ViewHasFocus() const;

    // ---- Make Puzzle (mainfm_build.cpp) -----------------------------------------------------
    void UpdateTrafficLight();
    void ChangeAllEnabledFlags(bool enable);
    /** Decides whether a symmetrical build goes on with the current grid. */
    bool ChooseAutoPattern();
    /** Loads the stock pattern that suits the words best; false when none was loaded. */
    bool AutoSelectStockPattern();
    bool IsGridBlank() const;
    /** The last traffic-light colour from the engine was red. */
    bool RedLight = false;
    /** The grid's pattern was chosen by the user (or came with the file), not automatically. */
    bool PatternWasChosen = false;
    bool IsBuilding() const { return m_building; }
    /** Builds a freeform puzzle from the word list into the grid. */
    void ConstructFreeformPuzzle(bool random);
    void FinishFreeformBuild();

    /** Marks start-up as finished: from now on the idle handler runs. */
    void StartUpFinished();
    /** Runs one idle pass now (the idle timer calls this). */
    void OnIdleEvent();
    /** The idle passes run so far (for the start-up checks). */
    int IdlePasses() const { return m_idlePasses; }

    /** An entry of the word list that has no location in the grid after a build. */
    struct TUnplacedWord {
        QString Word;
        int Letters = 0;      // its alphabet characters
        bool HasSlot = false; // the grid has a slot of that length
    };
    /** The entries without a location (no "12 A" label), in list order. */
    QList<TUnplacedWord> UnplacedThemeWords() const;
    /** The message after a build that names them, at most 10 and then "and N more"; empty when
     *  every word that has a slot of its length was placed. */
    static QString UnplacedThemeWordsText(const QList<TUnplacedWord> &words);

public slots:
    void FormCreate();
    void FormPaint();
    void MainNotebookPagesChange(int index);
    void MainNotebookPagesClick();
    void mFileRecentAnyClick(QAction *item);
    void mFileExitClick();
    void mFilePrintClick();
    void mHelpContentsClick();
    void HelpSpBtnClick();
    void mHelpGettingStartedClick();
    void mHelpHowToClick();
    void mHelpSetupClick();
    void mHelpAboutClick();
    void mExportInteractiveClick();
    void mExportConfigureInteractiveClick();
    void mFilePreferencesClick();
    void mFilePrinterSetupClick();
    void mFileSaveAsClick();
    void mClueAutomaticallySymmetricalClick();
    void mClueAutomaticallyFreeformClick();
    void PuzzleSizeCmBxChange(int index);
    void ApplySizeBtnClick();
    void ApplySizeBtnMouseDown();
    void SizeAnyRBClick();
    void PatternEditSpBtnClick();
    void VPCursorLetterSpBtnClick();
    void EraseLettersAllSpBtnClick();
    void ConstructSpBtnClick();
    /** "Make Another Puzzle Now": for a symmetrical puzzle Clear Grid first, then Make Puzzle. */
    void mMakeAnotherClick();
    void ClearPatternBtnClick();
    void ConstructingDlgTimerTimer();
    void UndoSpBtnClick();
    void RedoSpBtnClick();
    void EraseLettersSpBtnClick();
    void RejectWordSpBtnClick();
    void ZoomInSpBtnClick();
    void mGridCursorPatternClick();
    void mGridCursorAlphaClick();
    void mGridCursorEraseLetterClick();
    void mGridCursorEraseWordClick();
    void KeyCursorTimerTimer();
    void ViewPortFocusExit();
    void ViewTabCtlChanging(int index);
    void ViewTabCtlChange();
    void mViewPageAnyClick(QAction *item);
    void mViewPuzzleClick();
    void mViewCluesClick();
    void mViewSolutionClick();
    void mViewCustomClick();
    void mViewZoomInClick();
    void mViewZoomOutClick();
    void mViewPageWidthClick();
    void ViewPortHorzScrollbarChange(int position);
    void ViewPortVertScrollbarChange(int position);
    void ViewPortScroll(int action);
    void SymSpBtnClick(QAbstractButton *sender);
    void ExchangeAcrossDownSpBtnClick();
    void ShowHotSpotsCBClick();
    void CheckBoxUncrossedClick();
    void CheckBoxTwoLetterClick();
    void WordBankCBClick();
    void AutoLayoutCBClick();
    void GlueRandomCBClick();
    void mBuildDifferentClick();
    void TitleEdChange();
    void SubtitleEdChange();

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildFrame();
    void BuildMenus();
    void BuildPuzzleTypePage();
    void BuildWordsPage();
    void BuildGridPage();
    void BuildOtherCluesPage();
    void BuildViewSection();
    void BuildStatusBar();
    void LoadGlyphsAndCursors();
    void LoadRejectedWords();
    void RegisterEngineCallbacks();
    void BuildToolButtons();
    void BuildCommandButtons();
    void BuildMakePuzzleButtons();
    void BuildSpeedBar();
    class TConstructingDlg *PrepareConstructingDialog();
    void ShowCanceled(class TConstructingDlg *dialog);
    /** The engine's part of Make Puzzle for a symmetrical puzzle, the window disabled meanwhile. */
    void BuildSymmetrical(class TConstructingDlg *dialog, bool random, int &result);
    void BuildEditMenu(QMenu *before);
    void ShowUndoRedo(const struct TUndoRedoState &state);
    void AfterGridRestored();
    void BuildGridMenu();
    void BuildCluesMenu();
    void BuildViewFlagItems();
    void BuildSpellingMenuItem();
    void IdleSpellingCheck();
    void IdleWordsPage();
    void BuildHelpMenu();
    void CreateSmallForms();
    void BuildExportMenu();
    void ConnectView();
    void InstallCheckPointHooks();
    /** The page model's, printing's and the document's layout hooks. */
    void InstallLayoutHooks();
    /** The page model chose page n: status panel, cursor, repaint. */
    void CurrentPageShown(int page);
    /** Repaints clues on the page image after one clue changed (no full compose). */
    void RepaintClues(TClueGrid *grid, int row, bool oneClue);
    /** Shows the page model's queued messages once the paint is over. */
    void ShowLayoutMessagesLater();
    void FitViewGeometry(int mode);
    void SetScrollBars();
    void UpdateToolControls();
    void MarkCell(int column, int row, unsigned char kind);
    void MarkCellArea(int column, int row);
    bool ViewKeyEvent(QKeyEvent *event);
    bool PassesCornerRule(int column, int row, const QPoint &at) const;
    QRect CellRect(int column, int row) const;
    void SetToolButton(QToolButton *button, bool down);
    /** Takes up the tool, or puts it down when it is the one in use. */
    void ToggleViewTool(int tool);
    void InstallDocumentHooks();
    void ConnectDocumentControls();
    void TitlesChanged();
    /** A display box was clicked: the document's flag follows and the grid shows it. */
    void DisplayFlagClicked(QCheckBox *box, bool &flag, int filterOn, int filterOff);
    /** The symmetrical type's display flags and symmetry mode, kept while freeform is chosen. */
    struct {
        bool Valid = false;
        bool Uncrossed = false;
        bool TwoLetter = false;
        bool HotSpots = false;
        int Mode = 1;
    } m_savedSymmetrical;
    void RestoreRememberedRect();
    void ApplyWindowState(int state);
    bool FormCloseQuery();
    void FormClose();
    void FormDestroy();
    void FormResize();
    void PseudoFormResize();
    bool FormCanResize();
    void ApplicationException(QObject *sender, const QString &message);
    void ApplicationHint(const QString &hint);
    void ScheduleIdle();

    std::unique_ptr<TRecentFiles> m_recentFiles;
    std::unique_ptr<TCluesEditWordList> m_wordList;
    QStringList m_workList;
    QImage m_desktopImage;
    QImage m_workBitmap;
    std::unique_ptr<TPrintDialogs> m_printDialogs;
    bool m_pageCountPending = false;
    bool m_layoutMessagesPending = false;
    bool m_composePending = true;
    bool m_building = false;
    bool m_freeformSetUpApplied = false;
    int m_trafficLight = 0;
    TPageRect m_allPagesRect; // the page area the scroll bars move over (inches)
    bool m_composing = false;
    // Cells waiting for the flush: one byte per cell, bit 1 colour and letter, bit 2 letter.
    std::vector<unsigned char> m_cellMarks;
    int m_markColumns = 0;
    int m_markRows = 0;
    bool m_flushScheduled = false;
    // Cells whose area RedrawCellArea visited in its current outermost call.
    std::vector<unsigned> m_areaVisited;
    unsigned m_areaGeneration = 0;
    int m_areaDepth = 0;
    // Key cursor and mouse actions.
    bool m_keyCursorDrawn = false;
    int m_keyCursorDrawnCol = 0;
    int m_keyCursorDrawnRow = 0;
    int m_pressCol = -1;
    int m_pressRow = -1;
    int m_lastCol = -1;
    int m_lastRow = -1;
    char m_paintCode = 1;
    bool m_pressShift = false;
    bool m_pressRight = false;
    int m_bandState = 0;
    QString m_programFolder;
    QTimer m_idleTimer;
    bool m_startUpFinished = false;
    bool m_idleHandlerInstalled = false;
    bool m_alphaSwitchedOff = false;
    bool m_destroyed = false;
    bool m_sizeChangeConnected = false;
    bool m_applySizeConnected = false;
    int m_idlePasses = 0;
    Qt::WindowStates m_lastWindowState = Qt::WindowNoState;

public:
    // ---- Words page and clue grids (mainfm_words.cpp) ---------------------------------------------
    // Words page: links and controls (the editor and the summary are above).
    QLabel *ThemeImportLnk = nullptr;
    QLabel *SampleWordListsLnk = nullptr;
    QLabel *ThemeExportLnk = nullptr;
    QLabel *ThemeClearLnk = nullptr;
    QLabel *ThemeSortAlphaLnk = nullptr;
    QLabel *ThemeSortSizeLnk = nullptr;
    QLabel *ThemeSortLocationLnk = nullptr;
    QLabel *ThemeCheckSpellingLnk = nullptr;
    QLabel *CustomAlphabetLnk = nullptr;
    QLabel *SpecialCharactersLnk = nullptr;
    QLabel *InstructionsLnk = nullptr;
    QLabel *ExampleLnk = nullptr;
    QLabel *HintsLnk = nullptr;
    QLabel *AdditionalCluesCustomizeLnk = nullptr;
    QToolButton *SpecialCharSB[5] = {}; // SpecialChar1SB .. SpecialChar5SB
    /** The additional-clues section's name and list (the feature is switched off in the menus). */
    QLineEdit *AnswerListLabelEdit = nullptr;
    QPlainTextEdit *AnswerListMemo = nullptr;
    // Other-clues page.
    QLabel *AltLbl = nullptr;
    QLabel *CluesPageExplanationLbl = nullptr;
    QLabel *CluesAdoptLnk = nullptr;
    QLabel *CluesUnadoptLnk = nullptr;
    QMenu *ClueGridPopup = nullptr;
    QAction *pumAdopt = nullptr;
    QAction *pumUnadopt = nullptr;
    /** Selection, answer-column mode, column drag and painting of the three clue grids. */
    TClueGridsController *ClueGrids = nullptr;
    // Clues menu, and the Grid menu's alphabet item.
    QAction *mCluesImport = nullptr;
    QAction *mCluesExport = nullptr;
    QMenu *mCluesSort = nullptr;
    QAction *mCluesSortAlphabetically = nullptr;
    QAction *mCluesSortSize = nullptr;
    QAction *mCluesSortPlacement = nullptr;
    QAction *mBuildAutoClue = nullptr;
    QAction *mCluesAddAdditional = nullptr;
    QAction *mCluesShowAlt = nullptr;
    QAction *mGridCustomAlphabet = nullptr;

    /** The word list changed since the theme words were last sent to the engine. */
    bool ThemeWordsChanged = false;
    /** The stock-pattern fit's word-length tally still counts the current word list; every
     *  change of the list clears it. */
    bool ThemeTallyValid = false;

    /** The words that SendThemeWordsToEngine sends, as engine letters, in list order: answers
     *  (alphabet characters only, at most 255) whose length has a word slot, at most 1000. */
    QList<QByteArray> ThemeWordsToSend();
    void ResendThemeWordsIfChanged();
    /** The editor reports a changed or removed word (entry index). */
    void ClueEditorWordChanged(int entry);
    /** Empties the word-and-clue editor (one undo snapshot of its own) and returns its entries. */
    class TEntries &ClueEditorLines();
    void DeleteThemeEntry(int entry);
    /** The customize-alphabet dialog; a changed alphabet marks the document modified. */
    void ShowAlphabetDialog();
    /** A typed character for the rejected-words memo: a..z become upper case. */
    static QChar GlueRejectWordsMemoKeyPress(QChar key);
    /** The help balloon's texts of the "word list hints" link and the status panel. */
    static QString WordListHintsText(bool freeform);
    static QString ThemeFitsHelpText(bool freeform);

    // Clue grids (cluegrids.cpp).
    /** Column 0 the shared answer-column width, column 1 the rest; the link column and the
     *  clue-flow columns hidden. */
    void FitClueColumns();
    /** The selected row of the across (grid 0) or down (grid 1) grid; for the alternate grid the
     *  row it stands for. False without a selection. */
    bool GetSelectedClueRow(int &grid, int &row) const;
    void UpdateThemeAdoptEnables();
    /** The direction ("A", "D" or a blank) and row an alternate-grid row stands for ("A12"). */
    void AlternateRowTarget(int alternateRow, QChar &direction, int &row) const;
    /** Copies the alternate row's clue to the nearest answer row at or above it, then to its
     *  across or down row. */
    void AdoptAlternateClue(int alternateRow);
    /** The alternate answer row's clue into its across or down row: stored and re-flowed. */
    void RefreshClueRow(int alternateRow);
    void AssignStockCluesNow();

public slots:
    void ThemeImportLnkClick();
    void SampleWordListsLnkClick();
    void ThemeExportLnkClick();
    void ThemeClearLnkClick();
    void ThemeSortAlphaLnkClick();
    void ThemeSortSizeLnkClick();
    void ThemeSortLocationLnkClick();
    void CustomAlphabetLnkClick();
    /** A special-character button: types its character, or opens the alphabet dialog. */
    void SpecialCharAllSBClick(int index);
    void HintsLnkClick();
    void SBThemeFitsClick();
    void AdditionalCluesCustomizeLnkClick();
    void mCluesImportClick();
    void mCluesExportClick();
    void mCluesSortAlphabeticallyClick();
    void mCluesSortSizeClick();
    void mCluesSortPlacementClick();
    void mBuildAutoClueClick();
    void mCluesAddAdditionalClick();
    void mCluesShowAltClick();
    void GlueSaveRejectedWordListClick();
    void GlueClearRejectedWordsBtnClick();
    void CluesShowAlternatesCBClick();
    void CluesAdoptLnkClick();
    void CluesUnadoptLnkClick();
    void pumAdoptClick();
    void pumUnadoptClick();
    void CluesAlternateSGDblClick();
    /** A grid scrolled: the alternate grid's heading follows, sideways scrolling goes back. */
    void CluesAnySGTopLeftChanged();

private:
    void BuildWordsPageLinks();
    void ConnectRejectedWords();
    /** Clears the tally, and in freeform mode updates the traffic light. */
    void WordListChanged();
    void SortThemeList(void (TCluesEdit::*sort)(), const QString &description);
    void ImportWordList(const QString &caption, const QString &startFolder, const QString &filter,
                        const QString &description, bool namesExport);
    void ShowAlternateGrid();
    void PlaceOtherCluesLabels();

    // ---- Grid page: type, size, symmetry, flags, word-slot histogram (mainfm_gridpage.cpp) --------
public:
    QToolButton *ClearPatternSpBtn = nullptr;
    QPushButton *ChangeSymModeBtn = nullptr;
    QComboBox *BlockColorCmBx = nullptr;
    /** The word-slot histogram's paint box in WordSizesPanel. */
    QWidget *PaintBoxWS = nullptr;
    /** The puzzle-type page's links to the explanations of the two types. */
    QLabel *FreeformLnk = nullptr;
    QLabel *SymmetricalLnk = nullptr;
    QAction *mGridFreeform = nullptr;
    QAction *mGridSymmetrical = nullptr;
    QAction *mGridClear = nullptr;
    QAction *mGridExchange = nullptr;
    QAction *mGridEditingSymmetryMode = nullptr;
    QAction *mViewBlindCells = nullptr;
    QAction *mViewTwoLetterWords = nullptr;
    QAction *mViewHotSpots = nullptr;
    /** The "Other Clues" tab shows for freeform puzzles too. */
    bool OtherCluesTabUnlocked = false;

    /** Shows the pages, controls and menu items of the puzzle type. */
    void SetupPagesForType(bool symmetrical);
    /** A new, empty grid of columns x rows, with one undo step; nothing happens when the engine
     *  has that size already, and a size out of 1..51 or refused by the engine is refused with a
     *  message. Either way the size controls end up showing the engine's size. True when resized. */
    bool ResizePuzzle(int columns, int rows);
    /** The histogram's layout for the grid and paint box as they are now. */
    TWordSizesGeometry WordSizesLayout() const;
    void PaintBoxWSPaint(QPainter &canvas);
    /** A press on a length marks its slots in the grid; the release takes the marks away. */
    void PaintBoxWSMouseDown(const QPoint &at);
    void PaintBoxWSMouseMove(const QPoint &at);
    void PaintBoxWSMouseUp();
    /** The custom-size dialog: the one made at start-up, else one made now. */
    TSizeFm *EnsureSizeFm();

public slots:
    void mGridFreeformClick();
    void mGridSymmetricalClick();
    void mGridExchangeClick();
    void mGridEditingSymmetryModeClick();
    /** Opens the symmetry-mode dialog; OK takes up the pattern tool with the chosen mode. */
    void ChangeSymModeClick();
    void mViewBlindCellsClick();
    void mViewTwoLetterWordsClick();
    void mViewHotSpotsClick();
    void ColCountSpEdChange();
    void RowCountSpEdChange();
    /** Sets the removed-cell colour from the list; with a sender the view and document follow. */
    void BlockColorCmBxChange(QObject *sender);
    /** "Custom": the colour dialog chooses the removed-cell colour. */
    void BlockColorCmBxCloseUp();
    void FreeformLnkClick();
    void SymmetricalLnkClick();

private:
    void BuildPuzzleTypeLinks();
    void BuildSlotMarksOverlay();
    /** The grid page's controls that follow the document: the block-colour list and the View
     *  menu's display-flag ticks. */
    void ShowGridPageState();
    QWidget *m_slotMarksOverlay = nullptr;
    int m_pressedSlotLength = 0;

    // ---- Layout && Fonts menu, layout dialog, Auto-Layout hooks (mainfm_layout.cpp) -------------
public:
    QMenu *mLayout = nullptr;
    QAction *mLayoutDoAutoLayoutNow = nullptr;
    QLabel *ThemeAddTitleLnk = nullptr;
    QLabel *TitlesChangeFontsLnk = nullptr;
    QLabel *WordBankLnk = nullptr;
    void ThemeAddTitleLnkClick();
    void WordBankLnkClick();
    void BuildLayoutMenu();
    /** The layout dialog's tab for a menu caption: the first "&", " Grid" and every "." removed,
     *  trailing blanks cut ("&Puzzle Grid ..." gives "Puzzle"). */
    static QString LayoutTabTextOfCaption(const QString &caption);
    /** The layout dialog on the first tab whose caption starts with the text; its result. */
    int OpenLayoutDialogAt(const QString &tabText);
    void mLayoutAnyClick(QAction *item);
    void mLayoutDoAutoLayoutNowClick();
    /** The expert's, the page model's title flag and printing's offer. */
    void InstallAutoLayoutHooks();
    bool m_titleChanged = false;

    // ---- Title edits (mainfm_document.cpp) --------------------------------------------------------
public:
    /** A title edit that spilled the page runs the expert when the edit is done: focus leaves the
     *  field, Enter is pressed, or the typing pauses this long. */
    static constexpr int TitleEditPauseMs = 1000;
    /** Runs the expert now if a title edit is waiting for it. */
    void RunPendingTitleLayout();

private:
    /** A new puzzle: no title edit waits, and the page question may be asked again. */
    void ForgetTitleEdits();
    QTimer m_titleEditTimer;
    bool m_titleLayoutPending = false;

    // ---- File commands (mainfm_file.cpp) -----------------------------------------------------------
public:
    QAction *mFileNew = nullptr;
    QAction *mFileOpen = nullptr;
    QAction *mFileOpenSamples = nullptr;
    QAction *mFileFenmoor = nullptr;
    QAction *mFileSave = nullptr;
    QAction *mFileSaveAs = nullptr;
    QAction *mFileSaveAsOnce = nullptr;
    QAction *mFileClose = nullptr;
    QMenu *mFileExport = nullptr;
    QMenu *mPlay = nullptr;
    QAction *mFileCreatePDF = nullptr;
    QAction *mFilePublish = nullptr;
    QAction *mFileManage = nullptr;

    /** Opens a puzzle file (asking about unsaved work first unless askToSave is false) or a
     *  web address; true when a puzzle was opened. A failed open changes nothing. */
    bool OpenPuzzleFileOrUrl(const QString &name, bool askToSave = true);
    /** Saves the puzzle (or a PDF for a ".pdf" name); a saved puzzle goes to the recent files. */
    bool SavePuzzleOrPdf(const QString &name);
    /** The name for the save dialog's filter (1 puzzle, 2 PDF, 3 all files). */
    static QString SaveNameForFilter(const QString &name, int filterIndex);
    /** The notebook page of a press on the step labels at x. */
    static int StepLabelPageAt(int x);
    /** A press on the step labels at x: the notebook page under it, by StepLabelPageAt on the
     *  x mapped from the real tab widths to the label's. */
    void MainNotebookTabsSpacerPnlMouseDown(int x);
    TPaintBox *MainNotebookTabsSpacerPnl = nullptr;
    TPaintBox *PageLeftPB = nullptr;
    TPaintBox *PageRightPB = nullptr;
    TPaintBox *PastelPaletteImage = nullptr;
    /** The window takes the dialog colour of the preferences. */
    void FormShow();

public slots:
    void mFileOpenClick();
    void mFileOpenSamplesClick();
    void mFileSaveClick();
    void mFileSaveAsOnceClick();
    /** New and Close: asks about unsaved work, then starts an empty puzzle of the start-up type. */
    void mFileCloseClick();
    void PageLeftPBClick();
    void PageRightPBClick();
    void PastelPaletteImageClick();

private:
    void BuildFileMenu(QMenuBar *bar);
    void OpenWithDialog(const QString &caption, const QString &folder);
    /** Save As starting from a proposed name; the document is renamed only by a saved puzzle. */
    void SaveAs(const QString &proposed);
    /** Asks for a file name (default suffix ".trv") and about replacing a file; empty when not. */
    QString AskSaveName(const QString &caption, const QString &proposed, const QString &filter);
    /** A new puzzle has no file: "Untitled" in the documents folder, so Save asks for a name. */
    void MakeDocumentUntitled();
    /** The words page's example list goes back to the user's list before a command that saves
     *  or drops the word list. */
    void PutBackUsersWordList();
    void PageArrowClick(int step);
    /** The step labels above the notebook, the page arrows beside the view tabs and the pastel
     *  palette picture on the puzzle-type page. */
    void BuildSmallPictures();
    int StepLabelDesignX(int x) const;

    // ---- Stock patterns (mainfm_stockpat.cpp) ------------------------------------------------------
public:
    QToolButton *StockPatternSpBtn = nullptr;
    QAction *mGridSelect = nullptr;
    /** Grid "Select Stock Symmetrical &Pattern ...", appended to the Grid menu. */
    void BuildStockPatternMenuItem();

public slots:
    /** The stock-pattern dialog, modal: OK shows the penciled grid; Cancel after a load undoes
     *  the one step that covers every pattern browsed. */
    void StockPatternSpBtnClick();

public:
    // ---- Spelling check (mainfm_spelling.cpp) -----------------------------------------------------
public:
    QAction *mEditSpelling = nullptr;
    /** The spelling dialog: the one made at start-up, else one made now. */
    TSpellingDlg *EnsureSpellingDlg();

public slots:
    /** Edit "C&heck Spelling ..." and the words page's link: check the puzzle's texts. */
    void mEditSpellingClick();
    void ThemeCheckSpellingLnkClick();

    // ---- Exports: PDF, graphic, text and the clipboard (mainfm_export.cpp) -------------------------
public:
    /** Connects and enables the File, Edit and Export menus' export and copy items. */
    void InstallExportCommands();
    /** The page choice, the Auto-Layout offer, then the PDF; a name shorter than two characters
     *  asks for one. True exactly when the file was written. */
    bool ExportPdf(const QString &name);
    /** True when every clue fits the pages, or the user agreed to a PDF without the clues
     *  that do not. */
    bool PdfMayLeaveOutClues();

    /** The export forms made at start-up, else made now. */
    TExportGraphicFm *EnsureExportGraphicFm();
    TExportTextFm *EnsureExportTextFm();
    /** The open export forms follow a change of the puzzle. */
    void RefreshExportForms();

    // ---- Hosting service and messages to the maker (mainfm_publish.cpp) ----------------------------
    /** The one-click, manage and e-mail commands follow whether the hosting service is set up. */
    void UpdateHostingCommands();
    /** The e-mail form; with publishFirst it publishes the puzzle before sending its link. */
    void ShowEmailPuzzleForm(bool publishFirst, const QString &title);
    /** The support form, modal; in error-report mode with that subject when one is given. */
    void ShowContactForm(const QString &errorSubject = QString());
    /** The browser window of the puzzle directory (with navigation) or of the local play of a
     *  puzzle (without), made on first use and freed when the window closes. */
    TWebBrowserFm *EnsureBrowser(bool navigation);
    /** Opens a puzzle from a web address through the browser's fetch; true when it opened. */
    bool OpenPuzzleFromWeb(const QString &url, bool askToSave);
    QPointer<TWebBrowserFm> DirectoryBrowser;
    QPointer<TWebBrowserFm> PlayBrowser;

public slots:
    void PublishSpBtnClick();
    void mExportManageClick();
    void mExportEmailClick();
    void mHelpEmailUsClick();
    void mFileFenmoorClick();
    void mExportPDFClick();
    void mFileCreatePDFClick();
    void mExportMetafileClick();
    void mExportTextClick();
    void mEditCopyPuzzleGridClick();
    void mEditCopyPuzzleAllClick();
    void mEditCopySolutionClick();
    void mEditCopyCluesClick();
    void mEditCopySolutionTextClick();
};

/** The main window, created first and alive for the whole run. */
extern TMainFm *MainFm;
