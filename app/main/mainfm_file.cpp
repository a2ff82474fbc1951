// The main window's file commands: New, Open, Save, Save As, Close, Exit and recent files, with
// the unsaved-changes question; the notebook step labels, page arrows and the pastel palette.
#include "layoutsettings.h"
#include "mainfm.h"

#include "alphabet.h"
#include "autolayout.h"
#include "checkpts.h"
#include "cluesedit.h"
#include "filefolders.h"
#include "fileio.h"
#include "globals.h"
#include "hintfm.h"
#include "httpclient.h"
#include "myoverrides.h"
#include "paintbox.h"
#include "prompter.h"
#include "puzzlefiles.h"
#include "recentfiles.h"
#include "trv600.h"
#include "uidialogs.h"
#include "viewpaint.h"
#include "wysiwyg.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPolygon>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>

#include <algorithm>

namespace {

const QString kPuzzleFilter = QStringLiteral("Puzzle Files (*.trv);;All Files (*)");
// Save As also offers a PDF of the pages; Save As Once keeps to puzzle files, as it writes a
// puzzle whatever the name.
const QString kPdfFilter = QStringLiteral("Portable Document Format (*.pdf)");
const QString kSaveAsFilter =
    QStringLiteral("Puzzle Files (*.trv);;") + kPdfFilter + QStringLiteral(";;All Files (*)");

bool isWebAddress(const QString &name)
{
    return name.contains(QLatin1String("http://"), Qt::CaseInsensitive);
}

bool goOnAfterQuestion(TMainFm *window, int answer)
{
    return answer == 7 || (answer == 6 && !window->IsModified());
}

} // namespace

// ---- The File menu --------------------------------------------------------------------------------

void TMainFm::BuildFileMenu(QMenuBar *bar)
{
    mFile = bar->addMenu(QStringLiteral("&File"));
    mFile->setObjectName(QStringLiteral("mFile"));
    auto item = [this](const char *name, const QString &caption, void (TMainFm::*handler)()) {
        QAction *action = mFile->addAction(caption);
        action->setObjectName(QLatin1String(name));
        if (handler)
            connect(action, &QAction::triggered, this, handler);
        else
            action->setEnabled(false);
        return action;
    };
    mFileNew = item("mFileNew", QStringLiteral("&New"), &TMainFm::mFileCloseClick);
    mFileOpen = item("mFileOpen", QStringLiteral("&Open"), &TMainFm::mFileOpenClick);
    mFileOpenSamples =
        item("mFileOpenSamples", QStringLiteral("Open Sample Pu&zzles ..."), &TMainFm::mFileOpenSamplesClick);
    mFileFenmoor = item("mFileFenmoor",
                        QStringLiteral("Open Puzzles From ") + DirectoryHostName() + QStringLiteral(" ..."),
                        &TMainFm::mFileFenmoorClick);
    mFile->addSeparator();
    mFileSave = item("mFileSave", QStringLiteral("&Save"), &TMainFm::mFileSaveClick);
    mFileSaveAs = item("mFileSaveAs", QStringLiteral("Save &As ..."), &TMainFm::mFileSaveAsClick);
    mFileSaveAsOnce = item("mFileSaveAsOnce", QStringLiteral("Save As ... (but don't rename open file)"),
                           &TMainFm::mFileSaveAsOnceClick);
    mFileClose = item("mFileClose", QStringLiteral("&Close"), &TMainFm::mFileCloseClick);
    mFile->addSeparator();
    mFileExport = new QMenu(QStringLiteral("&Export"), mFile);
    mFileExport->setObjectName(QStringLiteral("mFileExport"));
    for (const char *caption : {"Export Unsolved &Puzzle...", "Export &Clues...", "Export &Solution...",
                                "&Edit Exporting Preferences..."})
        mFileExport->addAction(QLatin1String(caption));
    QAction *exportItem = mFile->addMenu(mFileExport);
    exportItem->setVisible(false);
    exportItem->setEnabled(false);
    mFilePrinterSetup =
        item("mFilePrinterSetup", QStringLiteral("P&rinter Setup ..."), &TMainFm::mFilePrinterSetupClick);
    mFilePrint = item("mFilePrint", QStringLiteral("&Print ..."), &TMainFm::mFilePrintClick);
    // Connected with the other exports (mainfm_export.cpp).
    mFileCreatePDF = item("mFileCreatePDF", QStringLiteral("Create P&DF ..."), nullptr);
    mFilePublish =
        item("mFilePublish", QStringLiteral("Publish to &Web ..."), &TMainFm::mExportInteractiveClick);
    mFilePublish->setVisible(false);
    mFileManage = item("mFileManage", QStringLiteral("&View && Manage Published Puzzles ..."),
                       &TMainFm::mExportManageClick);
    mFileManage->setVisible(false);
    mFileRecentLine = mFile->addSeparator();
    mFileRecentLine->setObjectName(QStringLiteral("mFileRecentLine"));
    for (int i = 0; i < 6; ++i) {
        mFileRecent[i] = mFile->addAction(QString());
        mFileRecent[i]->setObjectName(QStringLiteral("mFileRecent%1").arg(i + 1));
        QAction *recent = mFileRecent[i];
        connect(recent, &QAction::triggered, this, [this, recent] { mFileRecentAnyClick(recent); });
    }
    mFile->addSeparator();
    mFileExit = item("mFileExit", QStringLiteral("E&xit"), &TMainFm::mFileExitClick);
}

// ---- Open ---------------------------------------------------------------------------------------

void TMainFm::mFileOpenClick() { OpenWithDialog(QStringLiteral("Open"), QString()); }

void TMainFm::mFileOpenSamplesClick()
{
    OpenWithDialog(QStringLiteral("Open Sample Puzzles"), ProgramFolder());
}

void TMainFm::OpenWithDialog(const QString &caption, const QString &folder)
{
    // The question comes before the dialog, so that the user can save first; it is not asked
    // again for the chosen file.
    if (!goOnAfterQuestion(this, QuerySaveChanges()))
        return;
    // Without a folder of its own the dialog starts where the user keeps puzzles.
    const bool ownFolder = !folder.isEmpty();
    const QString start = ownFolder ? folder : StartFolder(TFileKind::Puzzle, SavePuzzleDialog.FileName);
    const QString name = uiDialogs().OpenFileName(this, caption, start, kPuzzleFilter);
    if (name.isEmpty() || !QFileInfo::exists(name))
        return;
    if (!ownFolder)
        RememberFolder(TFileKind::Puzzle, name);
    OpenPuzzleFileOrUrl(name, false);
}

bool TMainFm::OpenPuzzleFileOrUrl(const QString &name, bool askToSave)
{
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    GridUpdating = true;
    bool opened = false;
    if (isWebAddress(name)) {
        opened = OpenPuzzleFromWeb(name, askToSave);
        if (opened)
            AfterPuzzleOpened(name);
    } else if (!askToSave || goOnAfterQuestion(this, QuerySaveChanges())) {
        opened = ReadPuzzleFile(name);
        if (opened)
            AfterPuzzleOpened(name);
    }
    if (!opened) {
        GridUpdating = false;
        InvalidateView();
    }
    QApplication::restoreOverrideCursor();
    UpdateViewCursor();
    return opened;
}

bool TMainFm::ReadPuzzleFile(const QString &name) { return OpenPuzzleFile(name); }

void TMainFm::AfterPuzzleOpened(const QString &name)
{
    SavePuzzleDialog.FileName = name;
    if (!isWebAddress(name))
        OpenPuzzleDialog.FileName = name;
    UpdateCaption();
    ForgetTitleEdits();
    SendThemeWordsToEngine();
    TRVCorrectAllThemeWordLocations(0);
    GridUpdating = false;
    ShowViewTab(QStringLiteral("Page 1"));
    InvalidateView();
    UpdateThemeFitCount();
    UpdateThemeAdoptEnables();
    TRVComputeHotSpots();
    UpdateTrafficLight();
    ClearCheckPoints();
    ClueEditor->MarkSaved();
    DocumentLoaded = true;
    m_recentFiles->AddFile(name);
}

void TMainFm::mFileRecentAnyClick(QAction *item)
{
    const QString name = m_recentFiles->FileOfMenuItem(item);
    if (!name.isEmpty())
        OpenPuzzleFileOrUrl(name);
}

// ---- Save ---------------------------------------------------------------------------------------

void TMainFm::mFileSaveClick()
{
    PutBackUsersWordList();
    const QString name = SavePuzzleDialog.FileName;
    // A sample opened from the program folder is not written over: it is saved as the user's.
    const bool sample = QFileInfo(name).isAbsolute() &&
                        QDir::cleanPath(QFileInfo(name).absolutePath()) == QDir::cleanPath(ProgramFolder());
    if (UrlOrFileName(name) == QLatin1String("Untitled") || isWebAddress(name) || sample) {
        mFileSaveAsClick();
        return;
    }
    // A puzzle imported from an older format is never written over: the new format goes to a
    // ".trv" file of the same name, so the old file and its clue companion stay whole.
    const QFileInfo info(name);
    if (info.suffix().compare(QLatin1String("trv"), Qt::CaseInsensitive) != 0) {
        SaveAs(QDir(info.path()).filePath(info.completeBaseName() + QStringLiteral(".trv")));
        return;
    }
    if (SavePuzzleOrPdf(name)) {
        OpenPuzzleDialog.FileName = name;
        UpdateCaption();
    }
}

void TMainFm::mFileSaveAsClick()
{
    PutBackUsersWordList();
    QString proposed = SavePuzzleDialog.FileName;
    if (isWebAddress(proposed))
        proposed = proposed.mid(proposed.lastIndexOf(QLatin1Char('/')) + 1);
    // A new puzzle is named after its title; a puzzle outside the user's folders (a sample)
    // keeps its name but is saved where the user keeps puzzles.
    if (UrlOrFileName(proposed) == QLatin1String("Untitled")) {
        proposed = QStringLiteral("Untitled");
        const QString title = UrlOrFileName(TitleEd->text());
        if (title.length() > 2)
            proposed = title;
    } else if (PuzzleFolder(proposed).isEmpty()) {
        proposed = QFileInfo(proposed).fileName();
    }
    SaveAs(proposed);
}

void TMainFm::SaveAs(const QString &proposed)
{
    const QString previous = SavePuzzleDialog.FileName;
    const QString name = AskSaveName(QStringLiteral("Save As"), proposed, kSaveAsFilter);
    if (name.isEmpty())
        return;
    SavePuzzleDialog.FileName = name;
    if (SavePuzzleOrPdf(name) && name.endsWith(QLatin1String(".trv"), Qt::CaseInsensitive)) {
        OpenPuzzleDialog.FileName = name;
        UpdateCaption();
        return;
    }
    // A failed save, or another kind of file, does not rename the document.
    SavePuzzleDialog.FileName = previous;
}

void TMainFm::mFileSaveAsOnceClick()
{
    PutBackUsersWordList();
    QString proposed = SavePuzzleDialog.FileName;
    if (PuzzleFolder(proposed).isEmpty())
        proposed = PuzzleBaseName(proposed, TitleEd->text()) + QStringLiteral(".trv");
    const QString name = AskSaveName(QStringLiteral("Save As Once"), proposed, kPuzzleFilter);
    if (!name.isEmpty())
        SavePuzzleFile(name);
}

QString TMainFm::AskSaveName(const QString &caption, const QString &proposed, const QString &filter)
{
    // A bare name starts in the puzzle's folder, else in the last one used for puzzles.
    QString start = proposed;
    if (start.isEmpty() || QFileInfo(start).isRelative())
        start = QDir(StartFolder(TFileKind::Puzzle, SavePuzzleDialog.FileName)).filePath(start);
    QString chosenFilter;
    QString name = uiDialogs().SaveFileName(this, caption, start, filter, &chosenFilter);
    if (name.isEmpty())
        return QString();
    const int filterIndex = chosenFilter == kPdfFilter ? 2 : 1;
    if (QFileInfo(name).suffix().isEmpty())
        name += filterIndex == 2 ? QStringLiteral(".pdf") : QStringLiteral(".trv");
    name = SaveNameForFilter(name, filterIndex);
    if (!mayReplaceFile(name))
        return QString();
    RememberFolder(
        name.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) ? TFileKind::Pdf : TFileKind::Puzzle, name);
    return name;
}

QString TMainFm::SaveNameForFilter(const QString &name, int filterIndex)
{
    if (filterIndex != 2 || name.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        return name;
    QString base = name;
    if (base.endsWith(QLatin1String(".trv"), Qt::CaseInsensitive))
        base.chop(4);
    return base + QStringLiteral(".pdf");
}

void TMainFm::PutBackUsersWordList()
{
    if (HintFm)
        HintFm->PutBackExampleList();
}

bool TMainFm::SavePuzzleOrPdf(const QString &name)
{
    if (name.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        return ExportPdf(name);
    if (!SavePuzzleFile(name))
        return false;
    m_recentFiles->AddFile(name);
    return true;
}

// ---- New, Close, Exit ---------------------------------------------------------------------------

void TMainFm::mFileCloseClick()
{
    PutBackUsersWordList();
    if (!goOnAfterQuestion(this, QuerySaveChanges()))
        return;
    LoadWordBankSettings();
    ForgetTitleEdits();
    GridUpdating = true;

    // The document's settings for a new puzzle.
    PutTitleOnCode = 2;
    PutFrameOnCode = 7;
    AutoLayoutPageChoice = 1;
    SeparateClues = false;
    AlignSolution = true;
    NumberedSolution = false;
    KeyCursorCol = KeyCursorRow = 1;
    {
        const QSignalBlocker quietTitle(TitleEd);
        const QSignalBlocker quietSubtitle(SubtitleEd);
        TitleEd->setText(QString()); // setText, unlike clear(), forgets the undo history
        SubtitleEd->setText(QString());
    }
    DocControls.PuzzleTitle.clear();
    DocControls.PuzzleSubtitle.clear();
    TitleColor = SubtitleColor = 0;
    TitleStyle = DefaultTitleStyle;
    SubtitleStyle = DefaultSubtitleStyle;
    CreditsLine = DefaultCreditsLine();
    AcrossText = QStringLiteral("Across");
    DownText = QStringLiteral("Down");
    clPuzzleGrid = clPuzzleNumber = clSolutionGrid = clSolutionLetter = clSolutionNumber = clClues =
        clWordBank = 0;
    WorksheetFontName = QStringLiteral("Arial");
    WorksheetFontSize = 11;
    WorksheetLine.clear();
    DocControls.EveryPuzzleDifferent = true;
    const bool symmetrical = !FreeformMode;
    DocControls.FlagOneLetterSlots = DocControls.FlagTwoLetterSlots = symmetrical;
    DocControls.Exchanged = false;
    FrameStyle = QStringLiteral("None = None 0, None 12632256, None 0");
    SetDefaultLayout();
    ShowDocumentControls();

    MakeDocumentUntitled();

    // The start-up type, with its symmetry; the grid is emptied at 15 x 15.
    if (SetupTight)
        SwitchToSymmetrical(true);
    else
        SwitchToFreeform(true);
    SymSpBtnClick(FreeformMode ? SymNoneSpBtn : SymStandardSpBtn);
    PatternEditSpBtn->setChecked(false);
    PatternCursor = 0;
    VP_UpdatePageCursor();
    FrameInside = DefaultFrameInside;
    FrameOutside = DefaultFrameOutside;
    GridUpdating = false;

    ShowViewTabIfOther(QStringLiteral("Page 1"));
    UpdateWordSlotCount();
    UpdateSymmetryButtons();
    UpdateTrafficLight();
    ClueEditorLines();
    SendThemeWordsToEngine();
    TRVCorrectAllThemeWordLocations(0);
    UpdateThemeFitCount();
    ClueEditor->MarkSaved();
    CustomViewExists = false;
    SetPageCount(2, 2);

    SolutionHeaderFont = QStringLiteral("Arial");
    SolutionHeaderFontSize = 14;
    SolutionHeaderStyle = 0;
    SolutionHeaderColor = 0;
    mMakeAnother->setEnabled(false);
    DocumentLoaded = false;
    SetAlphabet(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    if (AutoLayoutCB->isChecked())
        RunAutoLayout(AutoLayoutKeepViewTab);
    InvalidateView();
    PuzzleModified = false;
}

void TMainFm::MakeDocumentUntitled()
{
    OpenPuzzleDialog.FileName = QStringLiteral(" ");
    SavePuzzleDialog.FileName = QDir(GetDocumentsFolder()).filePath(QStringLiteral("Untitled"));
    UpdateCaption();
}

void TMainFm::mFileExitClick() { close(); }

// ---- Notebook step labels, page arrows, pastel palette -------------------------------------------

int TMainFm::StepLabelPageAt(int x)
{
    if (x < 82)
        return 0;
    if (x < 207)
        return 1;
    if (x < 255)
        return 2;
    return 3;
}

void TMainFm::BuildSmallPictures()
{
    // Step labels: "Step n" over each of the type's notebook tabs.
    MainNotebookTabsSpacerPnl = new TPaintBox(InstrumentPanel, QStringLiteral("MainNotebookTabsSpacerPnl"));
    MainNotebookTabsSpacerPnl->setFixedHeight(16);
    MainNotebookTabsSpacerPnl->OnPaint = [this](QPainter &painter) {
        const QTabBar *bar = MainNotebookPages->tabBar();
        const int steps = TightRB->isChecked() ? 4 : 3;
        const QWidget *pages[4] = {tsPuzzleType, tsYourWords, tsGrid, tsOtherClues};
        painter.setPen(palette().color(QPalette::WindowText));
        for (int step = 0; step < steps; ++step) {
            const int index = MainNotebookPages->indexOf(const_cast<QWidget *>(pages[step]));
            if (index < 0 || !bar->isTabVisible(index))
                continue;
            const QRect tab = bar->tabRect(index).translated(bar->mapTo(InstrumentPanel, QPoint()));
            const QRect place(tab.left(), 0, tab.width(), MainNotebookTabsSpacerPnl->height());
            painter.drawText(place, Qt::AlignCenter, QStringLiteral("Step %1").arg(step + 1));
        }
    };
    MainNotebookTabsSpacerPnl->OnMouseDown = [this](const QPoint &at) {
        MainNotebookTabsSpacerPnlMouseDown(StepLabelDesignX(at.x()));
    };
    static_cast<QGridLayout *>(InstrumentPanel->layout())->addWidget(MainNotebookTabsSpacerPnl, 0, 0);

    // Page arrows at the right end of the view tabs: blue triangles.
    auto arrow = [this](const char *name, bool left, void (TMainFm::*click)()) {
        auto *box = new TPaintBox(ViewSectionPanel, QLatin1String(name));
        box->setFixedSize(20, ViewTabCtl->sizeHint().height());
        box->OnPaint = [box, left](QPainter &painter) {
            const int w = box->width();
            const int h = box->height();
            const QPolygon triangle =
                left ? QPolygon({QPoint(12, 2), QPoint(4, h / 2), QPoint(12, h - 4)})
                     : QPolygon({QPoint(w - 14, 2), QPoint(w - 6, h / 2), QPoint(w - 14, h - 4)});
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(ColorFromWin(0xFF0000));
            painter.setBrush(ColorFromWin(0xFF0000));
            painter.drawPolygon(triangle);
        };
        box->OnMouseDown = [this, click](const QPoint &) { (this->*click)(); };
        return box;
    };
    PageLeftPB = arrow("PageLeftPB", true, &TMainFm::PageLeftPBClick);
    PageRightPB = arrow("PageRightPB", false, &TMainFm::PageRightPBClick);
    auto *viewLayout = static_cast<QGridLayout *>(ViewSectionPanel->layout());
    auto *tabRow = static_cast<QHBoxLayout *>(viewLayout->itemAtPosition(0, 0)->layout());
    tabRow->addWidget(PageLeftPB);
    tabRow->addWidget(PageRightPB);
    tabRow->addSpacing(8);

    // The pastel palette: the view's four pastel highlight colours.
    PastelPaletteImage = new TPaintBox(tsPuzzleType, QStringLiteral("PastelPaletteImage"));
    PastelPaletteImage->setGeometry(330, 142, 16, 16);
    PastelPaletteImage->OnPaint = [](QPainter &painter) {
        const TColor pastels[4] = {0xBFFFBF, 0xA0D0FF, 0xA7FFFF, 0x9090FF};
        for (int i = 0; i < 4; ++i)
            painter.fillRect(QRect((i % 2) * 8, (i / 2) * 8, 8, 8), ColorFromWin(pastels[i]));
        painter.setPen(Qt::gray);
        painter.drawRect(0, 0, 15, 15);
    };
    PastelPaletteImage->OnMouseDown = [this](const QPoint &) { PastelPaletteImageClick(); };
}

int TMainFm::StepLabelDesignX(int x) const
{
    // The labels' page limits are 82, 207 and 255 for tabs of those widths; the real tabs follow
    // the font, so each tab's span is scaled onto its span in those limits.
    static const int limits[4] = {0, 82, 207, 255};
    const QTabBar *bar = MainNotebookPages->tabBar();
    const QWidget *pages[3] = {tsPuzzleType, tsYourWords, tsGrid};
    int from = 0;
    for (int step = 0; step < 3; ++step) {
        const int index = MainNotebookPages->indexOf(const_cast<QWidget *>(pages[step]));
        const int to = bar->tabRect(index).right() + 1 + bar->mapTo(InstrumentPanel, QPoint()).x();
        if (x < to)
            return limits[step] + (x - from) * (limits[step + 1] - limits[step]) / std::max(1, to - from);
        from = to;
    }
    return limits[3] + (x - from);
}

void TMainFm::MainNotebookTabsSpacerPnlMouseDown(int x)
{
    UpdateCaption();
    ShowNotebookPage(StepLabelPageAt(x));
}

void TMainFm::PageArrowClick(int step)
{
    if (PageCount < 1)
        return;
    int page = CurrentPage + step;
    if (page < 1)
        page = PageCount;
    else if (page > PageCount)
        page = 1;
    SetCurrentPage(page);
    ShowViewTab(QStringLiteral("Page %1").arg(page));
}

void TMainFm::PageLeftPBClick() { PageArrowClick(-1); }

void TMainFm::PageRightPBClick() { PageArrowClick(1); }

void TMainFm::PastelPaletteImageClick()
{
    if (!OtherCluesTabUnlocked) {
        OtherCluesTabUnlocked = true;
        SetupPagesForType(!FreeformMode);
        return;
    }
    for (QTableView *grid : {CluesAcrossSG, CluesDownSG, CluesAlternateSG})
        if (grid) {
            grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        }
}

void TMainFm::FormShow()
{
    QPalette colours = palette();
    colours.setColor(QPalette::Window, ColorFromWin(ColorScheme));
    setPalette(colours);
}
