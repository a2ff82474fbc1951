// The main window: its frame (notebook pages, view section, status bar, timers, menus), its
// creation, idle, exception and hint handling, resizing, settings and closing.
#pragma once

#include <QCursor>
#include <QImage>
#include <QMap>
#include <QPixmap>
#include <QMainWindow>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <QTimer>
#include <memory>

class QAbstractButton;
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
class QTableView;
class QToolButton;
class TCluesEdit;
class TCluesEditWordList;
class TPanel;
class TRecentFiles;
class TNameValueLines;

/** What the program remembers of a file dialog between showings. */
struct TFileDialogState {
    QString FileName;
    QString InitialDir;
};

/** Start-up puzzle type, registry values "SetupLoose" and "SetupTight". */
extern bool SetupLoose;
extern bool SetupTight;

class TMainFm : public QMainWindow
{
    Q_OBJECT
public:
    /** Builds the frame and runs FormCreate. */
    explicit TMainFm(QWidget *parent = nullptr);
    ~TMainFm() override;

    // ---- Frame controls, by their names -------------------------------------------------------
    TPanel *ClientPanel = nullptr;
    TPanel *SpeedBarPanel = nullptr;
    TPanel *InstrumentPanel = nullptr;
    QToolButton *PatternEditSpBtn = nullptr;
    QToolButton *ExchangeAcrossDownSpBtn = nullptr;
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
    QWidget *ViewPort = nullptr;
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
    QAction *mFileRecentLine = nullptr;
    QAction *mFileRecent[6] = {};
    QMenu *mView = nullptr;
    QAction *mViewPuzzle = nullptr;
    QMenu *mBuild = nullptr;
    QAction *mMakeAnother = nullptr;
    QMenu *mClues = nullptr;
    QAction *mClueAutomaticallySymmetrical = nullptr;
    QAction *mClueAutomaticallyFreeform = nullptr;

    // ---- File dialogs, glyphs, cursors --------------------------------------------------------
    TFileDialogState SavePuzzleDialog;
    TFileDialogState OpenPuzzleDialog;
    TFileDialogState WordListOpenDialog;
    TFileDialogState WordListSaveDialog;
    TFileDialogState PdfExportDialog;
    /** The typing-direction and symmetry glyphs by resource name ("LETTER_A", "SP_STD", ...). */
    QMap<QString, QPixmap> Glyphs;
    QPixmap TypingDirectionGlyph;
    /** Screen cursors by number (1 "ALPHA_H" ... 14 "Zoom"); number 13 has none. */
    QMap<int, QCursor> Cursors;

    /** Messages that the exception handler does not show (exact match). */
    QStringList SuppressedMessages;
    TRecentFiles *RecentFiles() const { return m_recentFiles.get(); }
    const QImage &DesktopImage() const { return m_desktopImage; }
    QString ProgramFolder() const { return m_programFolder; }
    bool DocumentLoaded = false;

    // ---- Frame services -----------------------------------------------------------------------
    void ShowErrorForm(const QString &text);
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
    void ReadPuzzleFile(const QString &name);
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
    void SwitchToFreeform(bool resetGrid);
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

    /** Marks start-up as finished: from now on the idle handler runs. */
    void StartUpFinished();
    /** Runs one idle pass now (the idle timer calls this). */
    void OnIdleEvent();
    /** The idle passes run so far (for the start-up checks). */
    int IdlePasses() const { return m_idlePasses; }

public slots:
    void FormCreate();
    void FormPaint();
    void MainNotebookPagesChange(int index);
    void MainNotebookPagesClick();
    void mFileRecentAnyClick(QAction *item);
    void mFileExitClick();
    void mFileSaveAsClick();
    void mClueAutomaticallySymmetricalClick();
    void mClueAutomaticallyFreeformClick();
    void PuzzleSizeCmBxChange(int index);
    void ApplySizeBtnClick();
    void ApplySizeBtnMouseDown();
    void SizeAnyRBClick();
    void PatternEditSpBtnClick();
    void SymSpBtnClick(QAbstractButton *sender);
    void ExchangeAcrossDownSpBtnClick();
    void ShowHotSpotsCBClick();
    void CheckBoxUncrossedClick();
    void CheckBoxTwoLetterClick();
    void WordBankCBClick();
    void AutoLayoutCBClick();
    void GlueRandomCBClick();
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
    void InstallDocumentHooks();
    void ConnectDocumentControls();
    void TitlesChanged();
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
};

/** The main window, created first and alive for the whole run. */
extern TMainFm *MainFm;
