// The words page and the clue pages: the word-and-clue editor's commands and summaries, the theme
// words sent to the engine and reported back, the special characters and the alphabet dialog, the
// word bank switch, the rejected-words list, the Clues menu and the other-clues page's controls.
// The clue grids' own handling is in cluegrids.cpp.
#include "documentcontrols.h"
#include "mainfm.h"
#include "mainfm_controls.h"

#include "additionalcluesdlg.h"
#include "alphabet.h"
#include "alphabetfm.h"
#include "autolayout.h"
#include "checkpts.h"
#include "cluegrids.h"
#include "cluesedit.h"
#include "cluespg.h"
#include "cp1252.h"
#include "filefolders.h"
#include "globals.h"
#include "hintfm.h"
#include "hourglass.h"
#include "layoutsettings.h"
#include "lines.h"
#include "myoverrides.h"
#include "prompter.h"
#include "trv600.h"
#include "uidialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>

#include <functional>
#include <utility>

using namespace mainfm;

namespace {

constexpr int kMaxThemeWordsSent = 1000;
constexpr int kMaxThemeWordLetters = 255;

// Runs a function for the events of a watched object; true from it takes the event.
class TEventHook : public QObject
{
public:
    using THandler = std::function<bool(QEvent *)>;
    TEventHook(QObject *watched, THandler handler) : QObject(watched), m_handler(std::move(handler))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override { return m_handler(event); }

private:
    THandler m_handler;
};

// A command on a left-button release over a label.
QObject *onClick(QLabel *label, std::function<void()> click)
{
    return new TEventHook(label, [click = std::move(click)](QEvent *event) {
        if (event->type() != QEvent::MouseButtonRelease ||
            static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton)
            return false;
        click();
        return true;
    });
}

QLabel *makeLink(QWidget *parent, const QString &name, const QString &caption)
{
    QLabel *link = makeLabel(parent, name, caption);
    link->setCursor(Qt::PointingHandCursor);
    link->setStyleSheet(QStringLiteral("color: #0000FF"));
    link->adjustSize();
    return link;
}

// Places controls left to right from x at y, 12 pixels apart; returns the x after the last.
int placeInRow(int x, int y, std::initializer_list<QWidget *> controls)
{
    for (QWidget *control : controls) {
        control->move(x, y);
        x += control->width() + 12;
    }
    return x;
}

QAction *addItem(QMenu *menu, const char *name, const QString &caption)
{
    QAction *item = menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
    return item;
}

const QString kImportFilter =
    QStringLiteral("All Theme Word Files (*.thm *.wff *.wsy);;Only Theme Words for Freeform Puzzles (*.wff);;"
                   "Only Theme Words for Symmetrical Puzzles (*.wsy);;Puzzle Files (*.trv);;All Files (*)");

} // namespace

// ---- Building the pages -------------------------------------------------------------------------

void TMainFm::BuildWordsPage()
{
    tsYourWords = new QWidget;
    tsYourWords->setObjectName(QStringLiteral("tsYourWords"));
    MainNotebookPages->addTab(tsYourWords, QStringLiteral("Your Words && Clues"));
    ThemePanel = new TPanel(tsYourWords, QStringLiteral("ThemePanel"));
    ThemeListSizeLabel = makeLabel(ThemePanel, QStringLiteral("ThemeListSizeLabel"), QString());
    ThemeListSizeLabel->setGeometry(8, 38, 360, 16);
    WordsLbl = makeLabel(ThemePanel, QStringLiteral("WordsLbl"), QStringLiteral("Words"));
    WordsLbl->setGeometry(8, 56, 80, 16);
    CluesLbl = makeLabel(ThemePanel, QStringLiteral("CluesLbl"), QStringLiteral("Clues"));
    CluesLbl->setGeometry(120, 56, 80, 16);
    ThemeSortPanel = new TPanel(tsYourWords, QStringLiteral("ThemeSortPanel"));
    ThemeSortPanel->setFixedHeight(76);
    WordBankCB = makeControl<QCheckBox>(ThemeSortPanel, QStringLiteral("WordBankCB"),
                                        QStringLiteral("Provide Word Bank"), QRect(8, 50, 200, 22));
    BuildWordsPageLinks();
    ConnectRejectedWords();

    // The editor's word reports; the alphabet dialog for the document's refusals.
    DocHooks.ClueEditorWordChanged = [this](int entry) { ClueEditorWordChanged(entry); };
    OpenCustomizeAlphabetDialog = [] {
        if (MainFm)
            MainFm->ShowAlphabetDialog();
    };
    // A click on the summary recounts it.
    onClick(ThemeListSizeLabel, [this] { RedrawThemePageSummay(); });
}

void TMainFm::BuildWordsPageLinks()
{
    auto link = [this](QLabel *&member, const char *name, const QString &caption, QWidget *parent,
                       void (TMainFm::*click)()) {
        member = makeLink(parent, QLatin1String(name), caption);
        onClick(member, [this, click] { (this->*click)(); });
    };
    link(ThemeImportLnk, "ThemeImportLnk", QStringLiteral("import"), ThemePanel,
         &TMainFm::ThemeImportLnkClick);
    link(SampleWordListsLnk, "SampleWordListsLnk", QStringLiteral("sample word lists"), ThemePanel,
         &TMainFm::SampleWordListsLnkClick);
    link(ThemeExportLnk, "ThemeExportLnk", QStringLiteral("export"), ThemePanel,
         &TMainFm::ThemeExportLnkClick);
    link(ThemeClearLnk, "ThemeClearLnk", QStringLiteral("Clear list below"), ThemePanel,
         &TMainFm::ThemeClearLnkClick);
    link(InstructionsLnk, "InstructionsLnk", QStringLiteral("instructions"), ThemePanel,
         &TMainFm::InstructionsLnkClick);
    link(ExampleLnk, "ExampleLnk", QStringLiteral("example"), ThemePanel, &TMainFm::ExampleLnkClick);
    link(HintsLnk, "HintsLnk", QStringLiteral("word list hints"), ThemePanel, &TMainFm::HintsLnkClick);
    link(ThemeCheckSpellingLnk, "ThemeCheckSpellingLnk", QStringLiteral("check spelling"), ThemePanel,
         &TMainFm::ThemeCheckSpellingLnkClick);
    placeInRow(8, 2, {ThemeImportLnk, SampleWordListsLnk, ThemeExportLnk, ThemeClearLnk});
    link(ThemeAddTitleLnk, "ThemeAddTitleLnk", QStringLiteral("add title"), ThemePanel,
         &TMainFm::ThemeAddTitleLnkClick);
    placeInRow(8, 20, {InstructionsLnk, ExampleLnk, HintsLnk, ThemeCheckSpellingLnk, ThemeAddTitleLnk});

    QLabel *sortLbl =
        makeLabel(ThemeSortPanel, QStringLiteral("ThemeSortLbl"), QStringLiteral("Sort list by:"));
    sortLbl->adjustSize();
    link(ThemeSortAlphaLnk, "ThemeSortAlphaLnk", QStringLiteral("alphabet"), ThemeSortPanel,
         &TMainFm::ThemeSortAlphaLnkClick);
    link(ThemeSortSizeLnk, "ThemeSortSizeLnk", QStringLiteral("size"), ThemeSortPanel,
         &TMainFm::ThemeSortSizeLnkClick);
    link(ThemeSortLocationLnk, "ThemeSortLocationLnk", QStringLiteral("placement"), ThemeSortPanel,
         &TMainFm::ThemeSortLocationLnkClick);
    placeInRow(8, 6, {sortLbl, ThemeSortAlphaLnk, ThemeSortSizeLnk, ThemeSortLocationLnk});

    link(SpecialCharactersLnk, "SpecialCharactersLnk", QStringLiteral("special characters"), ThemeSortPanel,
         &TMainFm::CustomAlphabetLnkClick);
    SpecialCharactersLnk->move(8, 30);
    int x = SpecialCharactersLnk->x() + SpecialCharactersLnk->width() + 8;
    for (int i = 0; i < 5; ++i) {
        QToolButton *button = new QToolButton(ThemeSortPanel);
        button->setObjectName(QStringLiteral("SpecialChar%1SB").arg(i + 1));
        button->setGeometry(x + i * 24, 26, 22, 22);
        SpecialCharSB[i] = button;
        AlphabetControls.SpecialCharSB[i] = button;
        connect(button, &QToolButton::clicked, this, [this, i] { SpecialCharAllSBClick(i); });
        // A release with Shift, Ctrl or the middle button opens the alphabet dialog.
        new TEventHook(button, [this, button](QEvent *event) {
            if (event->type() != QEvent::MouseButtonRelease)
                return false;
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() != Qt::MiddleButton &&
                !(mouse->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)))
                return false;
            button->setDown(false);
            ShowAlphabetDialog();
            return true;
        });
    }
    link(CustomAlphabetLnk, "CustomAlphabetLnk", QStringLiteral("customize"), ThemeSortPanel,
         &TMainFm::CustomAlphabetLnkClick);
    CustomAlphabetLnk->move(x + 5 * 24 + 6, 30);
    link(WordBankLnk, "WordBankLnk", QStringLiteral("(details)"), ThemeSortPanel, &TMainFm::WordBankLnkClick);
    WordBankLnk->move(WordBankCB->x() + WordBankCB->sizeHint().width() + 6, 54);
    link(TitlesChangeFontsLnk, "TitlesChangeFontsLnk", QStringLiteral("fonts"), tsPuzzleType,
         &TMainFm::ThemeAddTitleLnkClick);
    TitlesChangeFontsLnk->move(TitleEd->x() + TitleEd->width() + 8, TitleEd->y() + 3);

    // The additional clues (an answer list in the clues) are switched off in the menus; their
    // section name and list stay with the window for the dialog.
    link(AdditionalCluesCustomizeLnk, "AdditionalCluesCustomizeLnk", QStringLiteral("Customize"),
         ThemeSortPanel, &TMainFm::AdditionalCluesCustomizeLnkClick);
    AdditionalCluesCustomizeLnk->hide();
    AnswerListLabelEdit = new QLineEdit(ThemeSortPanel);
    AnswerListLabelEdit->setObjectName(QStringLiteral("AnswerListLabelEdit"));
    AnswerListLabelEdit->setText(QStringLiteral("Answers"));
    AnswerListLabelEdit->hide();
    AnswerListMemo = new QPlainTextEdit(ThemeSortPanel);
    AnswerListMemo->setObjectName(QStringLiteral("AnswerListMemo"));
    AnswerListMemo->hide();
}

void TMainFm::BuildOtherCluesPage()
{
    tsOtherClues = new QWidget;
    tsOtherClues->setObjectName(QStringLiteral("tsOtherClues"));
    MainNotebookPages->addTab(tsOtherClues, QStringLiteral("Other Clues"));
    CluesShowAlternatesCB = new QCheckBox(QStringLiteral("Show alternate clues too"), tsOtherClues);
    CluesShowAlternatesCB->setObjectName(QStringLiteral("CluesShowAlternatesCB"));
    CluesShowAlternatesCB->resize(180, 22);
    connect(CluesShowAlternatesCB, &QCheckBox::clicked, this, &TMainFm::CluesShowAlternatesCBClick);
    CluesPageExplanationLbl = makeLabel(tsOtherClues, QStringLiteral("CluesPageExplanationLbl"),
                                        QStringLiteral("Click on a clue to type a new one."));
    AltLbl = makeLabel(tsOtherClues, QStringLiteral("AltLbl"),
                       QStringLiteral("Double-click on alternates to use them."));
    AltLbl->hide();
    AcrossLbl = makeLabel(tsOtherClues, QStringLiteral("AcrossLbl"), QStringLiteral("ACROSS"));
    AcrossLbl->resize(80, 16);
    DownLbl = makeLabel(tsOtherClues, QStringLiteral("DownLbl"), QStringLiteral("DOWN"));
    DownLbl->resize(80, 16);
    for (QLabel *heading : {AcrossLbl, DownLbl}) {
        QFont font = heading->font();
        font.setBold(true);
        heading->setFont(font);
    }
    CluesAcrossSG = makeClueGrid(tsOtherClues, QStringLiteral("CluesAcrossSG"));
    CluesDownSG = makeClueGrid(tsOtherClues, QStringLiteral("CluesDownSG"));
    CluesAlternateSG = makeClueGrid(tsOtherClues, QStringLiteral("CluesAlternateSG"));
    CluesAlternateSG->hide();
    ThemeAdoptPanel = new TPanel(tsOtherClues, QStringLiteral("ThemeAdoptPanel"));
    ThemeAdoptPanel->resize(310, 40);
    CluesAdoptLnk = makeLabel(ThemeAdoptPanel, QStringLiteral("CluesAdoptLnk"),
                              QStringLiteral("Make this one of my words (Adopt)"));
    CluesAdoptLnk->setGeometry(8, 2, 300, 18);
    CluesUnadoptLnk = makeLabel(ThemeAdoptPanel, QStringLiteral("CluesUnadoptLnk"),
                                QStringLiteral("Remove this from my words (Unadopt)"));
    CluesUnadoptLnk->setGeometry(8, 20, 300, 18);
    onClick(CluesAdoptLnk, [this] { CluesAdoptLnkClick(); });
    onClick(CluesUnadoptLnk, [this] { CluesUnadoptLnkClick(); });

    ClueGridPopup = new QMenu(this);
    ClueGridPopup->setObjectName(QStringLiteral("ClueGridPopup"));
    pumAdopt = addItem(ClueGridPopup, "pumAdopt", QStringLiteral("Make this one of my words (Adopt)"));
    pumUnadopt = addItem(ClueGridPopup, "pumUnadopt", QStringLiteral("Remove this from my words (Unadopt)"));
    connect(pumAdopt, &QAction::triggered, this, &TMainFm::pumAdoptClick);
    connect(pumUnadopt, &QAction::triggered, this, &TMainFm::pumUnadoptClick);

    ClueGrids = new TClueGridsController(this);
    UpdateThemeAdoptEnables();
    // The labels above the grids follow the page's width.
    new TEventHook(tsOtherClues, [this](QEvent *event) {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Show)
            PlaceOtherCluesLabels();
        return false;
    });

    DocHooks.FitClueColumns = [this] { FitClueColumns(); };
    DocHooks.GetSelectedClueRow = [this](int &grid, int &row) { return GetSelectedClueRow(grid, row); };
    DocHooks.UpdateThemeAdoptEnables = [this] { UpdateThemeAdoptEnables(); };
    DocHooks.ShowAlternateGrid = [this] { ShowAlternateGrid(); };
    DocHooks.SelectedAlternateRow = [this] {
        return ClueGrids && ClueGrids->ActiveGrid == AlternateClueGrid ? ClueGrids->SelectedClueRow : 0;
    };
    DocHooks.VisibleClueRows = [this](int grid) {
        const QTableView *view = ClueGrids->View(grid + 1);
        if (!view)
            return 0;
        return view->viewport()->height() / std::max(1, view->verticalHeader()->defaultSectionSize());
    };
    DocHooks.ScrollClueGrid = [this](int grid, int topRow) {
        QTableView *view = ClueGrids->View(grid + 1);
        TClueGrid *model = ClueGrids->Model(grid + 1);
        if (view && model && model->ValidRow(topRow))
            view->scrollTo(model->index(topRow, 1), QAbstractItemView::PositionAtTop);
    };
}

void TMainFm::PlaceOtherCluesLabels()
{
    const int width = std::max(0, tsOtherClues->width() - 8);
    CluesPageExplanationLbl->setGeometry(4, 4, width, 16);
    AltLbl->setGeometry(4, 4, width, 16);
}

// ---- Word-list commands -----------------------------------------------------------------------

void TMainFm::WordListChanged()
{
    ThemeTallyValid = false;
    if (FreeformMode)
        UpdateTrafficLight();
}

void TMainFm::ImportWordList(const QString &caption, const QString &startFolder, const QString &filter,
                             const QString &description, bool namesExport)
{
    const QString name = uiDialogs().OpenFileName(this, caption, startFolder, filter);
    if (name.isEmpty())
        return;
    if (namesExport) // the sample lists' folder is not the user's
        RememberFolder(TFileKind::WordList, name);
    TakeCheckPoint(TCheckPointKind::WordList, description);
    ClueEditor->LoadFromFile(name);
    UpdateThemeFitCount();
    if (namesExport) {
        WordListSaveDialog.FileName = name;
        WordListOpenDialog.FileName = name;
    }
    WordListChanged();
    SetModified();
}

void TMainFm::ThemeImportLnkClick()
{
    ImportWordList(QStringLiteral("Import:  Fetch More Words And Clues From a File"),
                   StartFolder(TFileKind::WordList, SavePuzzleDialog.FileName), kImportFilter,
                   QStringLiteral("import theme words from file"), true);
}

void TMainFm::SampleWordListsLnkClick()
{
    // The list for the current puzzle type is the one the dialog starts with.
    const QString freeform = QStringLiteral("Freeform Word Lists (*.ff.thm Freeform*.thm)");
    const QString symmetrical = QStringLiteral("Symmetrical Word Lists (*.sym.thm Symmetrical*.thm)");
    const QString filter = (FreeformMode ? freeform + QStringLiteral(";;") + symmetrical
                                         : symmetrical + QStringLiteral(";;") + freeform) +
                           QStringLiteral(";;Sample Word Lists (*.thm);;All Files (*)");
    ImportWordList(QStringLiteral("Import Sample Word List"), ProgramFolder(), filter,
                   QStringLiteral("import sample word list"), false);
}

void TMainFm::ThemeExportLnkClick()
{
    // The list's own name when it has one, else the puzzle's; the folder is the puzzle's, else
    // the last one used for word lists.
    const QString folder = StartFolder(TFileKind::WordList, SavePuzzleDialog.FileName);
    const QString proposed = WordListSaveDialog.FileName.isEmpty()
                                 ? ProposedFileName(TFileKind::WordList, SavePuzzleDialog.FileName,
                                                    QStringLiteral(".thm"), TitleEd->text())
                                 : QDir(folder).filePath(QFileInfo(WordListSaveDialog.FileName).fileName());
    QString name =
        uiDialogs().SaveFileName(this, QStringLiteral("Export:  Save Your Words and Clues Separately"),
                                 proposed, QStringLiteral("Theme Word Files (*.thm)"));
    if (name.isEmpty())
        return;
    if (QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".thm");
    if (!mayReplaceFile(name))
        return;
    // The export is not the puzzle: words typed since the puzzle was saved stay unsaved.
    const bool wasModified = IsModified();
    ClueEditor->SaveToFile(name);
    if (wasModified && !IsModified())
        PuzzleModified = true;
    WordListSaveDialog.FileName = name;
    RememberFolder(TFileKind::WordList, name);
}

void TMainFm::ThemeClearLnkClick()
{
    TakeCheckPoint(TCheckPointKind::WordList, QStringLiteral("clear your words and clues"));
    ClueEditorLines();
    UpdateThemeFitCount();
    SendThemeWordsToEngine();
    TRVCorrectAllThemeWordLocations(1);
    WordListChanged();
    SetModified();
}

void TMainFm::SortThemeList(void (TCluesEdit::*sort)(), const QString &description)
{
    THourglass busy;
    TakeCheckPoint(TCheckPointKind::WordList, description);
    (ClueEditor->*sort)();
    RedrawThemePageSummay();
    SetModified();
}

void TMainFm::ThemeSortAlphaLnkClick()
{
    SortThemeList(&TCluesEdit::SortAlphabetically, QStringLiteral("sort theme word list alphabetically"));
}

void TMainFm::ThemeSortSizeLnkClick()
{
    SortThemeList(&TCluesEdit::SortByLength, QStringLiteral("sort theme word list by size"));
}

void TMainFm::ThemeSortLocationLnkClick()
{
    SortThemeList(&TCluesEdit::SortByLocation, QStringLiteral("sort theme word list by location"));
}

void TMainFm::mCluesImportClick()
{
    ShowNotebookPage(1);
    ThemeImportLnkClick();
}

void TMainFm::mCluesExportClick()
{
    ShowNotebookPage(1);
    ThemeExportLnkClick();
}

void TMainFm::mCluesSortAlphabeticallyClick()
{
    ShowNotebookPage(1);
    ThemeSortAlphaLnkClick();
}

void TMainFm::mCluesSortSizeClick()
{
    ShowNotebookPage(1);
    ThemeSortSizeLnkClick();
}

void TMainFm::mCluesSortPlacementClick()
{
    ShowNotebookPage(1);
    ThemeSortLocationLnkClick();
}

TEntries &TMainFm::ClueEditorLines()
{
    ClueEditor->Clear();
    return ClueEditor->Entries();
}

void TMainFm::DeleteThemeEntry(int entry) { ClueEditor->DeleteEntry(entry); }

// ---- Special characters and the alphabet ------------------------------------------------------

void TMainFm::CustomAlphabetLnkClick() { ShowAlphabetDialog(); }

void TMainFm::ShowAlphabetDialog()
{
    const QString before = CustomAlphabet;
    TAlphabetFm dialog(this);
    uiDialogs().RunModal(dialog);
    // The alphabet is part of the puzzle file.
    if (CustomAlphabet != before)
        SetModified();
}

void TMainFm::SpecialCharAllSBClick(int index)
{
    if (index < 0 || index >= 5 || !SpecialCharSB[index])
        return;
    QString text = SpecialCharSB[index]->text();
    text.replace(QStringLiteral("&&"), QStringLiteral("&"));
    if (text.trimmed().isEmpty()) {
        ShowAlphabetDialog();
        return;
    }
    ClueEditor->setFocus();
    ClueEditor->TypeText(text);
}

// ---- Help balloons ------------------------------------------------------------------------------

QString TMainFm::WordListHintsText(bool freeform)
{
    if (freeform)
        return QStringLiteral(
            "FREEFORM PUZZLE TYPE\n\n"
            "A freeform puzzle is made of your words only. The program places as many of them as it "
            "can, each crossing at least one other word at a letter they share.\n\n"
            "- Give at least two words, and more to make a richer puzzle: 10 to 40 words work well.\n"
            "- Words with common letters (E, A, R, S, T ...) cross more easily.\n"
            "- A word that cannot cross any other is left out; the status bar tells how many were "
            "omitted.\n"
            "- Press \"Make Puzzle\" again (with \"Make every puzzle different\") for another arrangement.");
    return QStringLiteral(
        "SYMMETRICAL PUZZLE TYPE\n\n"
        "A symmetrical puzzle fills a pattern of black and white squares. Your words are placed "
        "first as theme words; the rest of the grid is filled from the dictionary.\n\n"
        "- Only words whose length matches a word slot of the pattern can be placed: the summary "
        "above the list tells how many are compatible with the current pattern.\n"
        "- Long words are hard to place; a few words of 3 to 9 letters place best.\n"
        "- Words that cross each other badly may be left out: the status bar tells how many of "
        "your words the puzzle contains.\n"
        "- Up to five special characters (accented letters) may be used in your words; see "
        "\"special characters\" below the list.\n"
        "- The words are sent in list order: put the most important ones first.");
}

QString TMainFm::ThemeFitsHelpText(bool freeform)
{
    if (freeform)
        return QStringLiteral(
            "FREEFORM PUZZLES -- SOME WORDS OMITTED.\n\n"
            "Not every word could cross the words already placed, so some were left out of the "
            "puzzle. To get more of your words in:\n"
            "- Make the puzzle again: every build tries a different arrangement when \"Make every "
            "puzzle different\" is ticked.\n"
            "- Choose a larger fixed size on the grid page, or automatic size.\n"
            "- Add words that share letters with the omitted ones.\n"
            "- Leave out words that share few letters with the others.");
    return QStringLiteral(
        "SYMMETRICAL PUZZLES -- COMPATIBLE WORDS.\n\n"
        "A word is compatible with the current pattern when the pattern has at least one word slot "
        "of the word's length. Only compatible words can become theme words of the puzzle.\n"
        "- Choose another pattern, or draw your own, to make room for longer words.\n"
        "- At most 1000 of your words are used.");
}

void TMainFm::HintsLnkClick()
{
    if (ActiveNotebookPage() != 1)
        return;
    const QPoint at = InstrumentPanel->mapToGlobal(QPoint(0, 0));
    ShowBalloon(WordListHintsText(FreeformMode), at.x() + 25, FreeformMode ? 28 : 40, at.y());
}

void TMainFm::SBThemeFitsClick()
{
    const QRect window = frameGeometry();
    if (FreeformMode) {
        if (HintFm)
            HintFm->resize(475, HintFm->height());
        ShowBalloon(ThemeFitsHelpText(true), window.right() - 250, 180, window.bottom() - 490);
    } else {
        ShowBalloon(ThemeFitsHelpText(false), window.right() - 250, 60, window.bottom() - 375);
    }
}

// ---- Word bank and additional clues -----------------------------------------------------------------

void TMainFm::WordBankCBClick()
{
    if (IgnoreWordBankCBClick) {
        IgnoreWordBankCBClick = false;
        return;
    }
    DocControls.WordBankCB = WordBankCB->isChecked();
    // The snapshot must hold the state before the click, which the box already shows.
    WordBankCBCheckpointing = true;
    TakeCheckPoint(TCheckPointKind::Layout, DocControls.WordBankCB ? QStringLiteral("word bank addition")
                                                                   : QStringLiteral("word bank removal"));
    WordBankCBCheckpointing = false;
    RebuildClueGrids();
    RunAutoLayout(AutoLayoutKeepViewTab);
    if (WordBankPage >= 1)
        ShowViewTab(QStringLiteral("Page ") + QString::number(WordBankPage));
    SetModified();
}

void TMainFm::AdditionalCluesCustomizeLnkClick()
{
    TAdditionalCluesDlg dialog(AnswerListLabelEdit, AnswerListMemo, this);
    uiDialogs().RunModal(dialog);
}

void TMainFm::mCluesAddAdditionalClick() { AdditionalCluesCustomizeLnkClick(); }

// ---- Theme words ----------------------------------------------------------------------------

QString TMainFm::NormalizeAnswer(const QString &word) const
{
    QString letters;
    for (QChar c : word)
        if (IsAlphabetChar(c))
            letters += c;
    return letters;
}

QList<QByteArray> TMainFm::ThemeWordsToSend()
{
    QList<QByteArray> words;
    for (int e = 0; e < ClueEditor->EntryCount(); ++e) {
        const QString word = UpperCaseText(ClueEditor->GetWord(e));
        AddSpecialCharacters(word);
        const QString answer = NormalizeAnswer(word).left(kMaxThemeWordLetters);
        if (answer.isEmpty() || TRVGetWLCount(int(answer.size())) == 0)
            continue;
        if (words.size() == kMaxThemeWordsSent)
            break;
        QByteArray letters;
        for (QChar c : answer)
            letters += DisplayToEngineLetter(c);
        words << letters;
    }
    return words;
}

void TMainFm::SendThemeWordsToEngine()
{
    THourglass busy;
    TRVThemeDeleteAll();
    for (const QByteArray &letters : ThemeWordsToSend())
        TRVNewThemeWord(letters.constData(), "", 0);
}

void TMainFm::ResendThemeWordsIfChanged()
{
    if (!ThemeWordsChanged)
        return;
    ThemeWordsChanged = false;
    SendThemeWordsToEngine();
    TRVCorrectAllThemeWordLocations(1);
}

void TMainFm::ClueEditorWordChanged(int)
{
    WordListChanged();
    // Long lists and big grids wait for the next build.
    if (ClueEditor->EntryCount() < 100 && Columns + Rows < 55) {
        ThemeWordsChanged = true;
        // A puzzle being read sends its words when it is complete.
        if (!LoadingPuzzle)
            ResendThemeWordsIfChanged();
    }
}

void TMainFm::ThemeWordPlaced(const QString &word, int number, QChar code)
{
    if (number == 0) {
        if (code == QLatin1Char(' ')) {
            ClueEditor->ClearSlotLabels();
            PlacedThemeWordCount = 0;
        } else {
            RedrawThemePageSummay();
            if (ClueGrids)
                ClueGrids->Repaint();
            UpdateThemeAdoptEnables();
        }
        return;
    }
    const QString upper = UpperCaseText(word);
    const QString label = QString::number(number) + QLatin1Char(' ') + code;
    for (int e = 0; e < ClueEditor->EntryCount(); ++e) {
        if (UpperCaseText(ClueEditor->GetWord(e)) != upper)
            continue;
        const QString current = ClueEditor->GetSlotLabel(e);
        if (current == label)
            break;
        if (current != kUnsetSlotLabel)
            continue;
        ClueEditor->SetSlotLabel(e, label);
        ++PlacedThemeWordCount;
        break;
    }
    TClueGrid *grid = code == QLatin1Char('A') ? ::CluesAcrossSG : ::CluesDownSG;
    if (!grid)
        return;
    const QString key = MakeAnswerKey(number, upper);
    for (int r = 1; r < grid->RowCount(); ++r)
        if (grid->Cell(0, r) == key) {
            if (!grid->Row(r).ThemeWord) {
                grid->Row(r).ThemeWord = true;
                grid->NoteChanged();
            }
            break;
        }
}

// ---- Summaries --------------------------------------------------------------------------------

int TMainFm::CountListedWords() const
{
    int n = 0;
    for (int e = 0; e < ClueEditor->EntryCount(); ++e)
        n += ClueEditor->GetWord(e).size() > 1;
    return n;
}

void TMainFm::UpdateThemeFitCount()
{
    CompatibleWordCount = 0;
    if (!FreeformMode) {
        for (int e = 0; e < ClueEditor->EntryCount(); ++e)
            CompatibleWordCount += TRVGetWLCount(CountAlphabetChars(ClueEditor->GetWord(e))) > 0;
    } else {
        int longest = 0;
        for (int length = 1; length <= 51; ++length)
            if (TRVGetWLCount(length) > 0)
                longest = length;
        for (int e = 0; e < ClueEditor->EntryCount(); ++e)
            CompatibleWordCount += CountAlphabetChars(ClueEditor->GetWord(e)) <= longest;
    }
    RedrawThemePageSummay();
}

void TMainFm::RedrawThemePageSummay()
{
    const int listed = CountListedWords();
    const bool blank = gridIsBlank();
    QString summary =
        QString::number(listed) + Pluralize(listed, QStringLiteral(" entry")) + QStringLiteral(" listed.  ");
    QString fits;
    if (!FreeformMode) {
        if (blank && TRVTrafficLightColor() == 3)
            summary += QStringLiteral("No pattern has been drawn or selected.  ");
        else
            summary += QString::number(CompatibleWordCount) +
                       QStringLiteral(" are compatible with the current pattern.  ");
        if (CompatibleWordCount > kMaxThemeWordsSent)
            summary += QStringLiteral("Using only the first ") + QString::number(kMaxThemeWordsSent);
        fits = QString::number(CompatibleWordCount) + Pluralize(CompatibleWordCount, QStringLiteral(" is")) +
               QStringLiteral(" compatible");
    } else {
        const int omitted = listed - PlacedThemeWordCount;
        fits = QString::number(omitted) + Pluralize(omitted, QStringLiteral(" word")) +
               Pluralize(omitted, QStringLiteral(" was")) + QStringLiteral(" omitted");
    }
    ThemeListSizeLabel->setText(summary);
    // The status panel of compatible or omitted words explains itself once it shows a count.
    if (!SBThemeFits->findChild<QObject *>(QStringLiteral("SBThemeFitsClick"), Qt::FindDirectChildrenOnly))
        onClick(SBThemeFits, [this] {
            SBThemeFitsClick();
        })->setObjectName(QStringLiteral("SBThemeFitsClick"));
    SBThemeWords->setText(blank ? QString()
                                : QStringLiteral("Puzzle contains ") + QString::number(PlacedThemeWordCount) +
                                      Pluralize(PlacedThemeWordCount, QStringLiteral(" of your word")) +
                                      QLatin1Char('.'));
    SBThemeFits->setText(blank ? QString() : fits);
}

void TMainFm::IdleWordsPage()
{
    if (ClueEditor)
        UpdateThemeFitCount();
}

// ---- Rejected words ---------------------------------------------------------------------------

QChar TMainFm::GlueRejectWordsMemoKeyPress(QChar key)
{
    return key >= QLatin1Char('a') && key <= QLatin1Char('z') ? QChar(key.unicode() - 'a' + 'A') : key;
}

void TMainFm::ConnectRejectedWords()
{
    connect(GlueSaveRejectedWordListBtn, &QPushButton::clicked, this,
            &TMainFm::GlueSaveRejectedWordListClick);
    connect(GlueClearRejectedWordsBtn, &QPushButton::clicked, this, &TMainFm::GlueClearRejectedWordsBtnClick);
    QPlainTextEdit *memo = GlueRejectWordsMemo;
    new TEventHook(memo, [memo](QEvent *event) {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->text().size() != 1)
            return false;
        const QChar typed = key->text().at(0);
        const QChar upper = GlueRejectWordsMemoKeyPress(typed);
        if (upper == typed)
            return false;
        QKeyEvent replaced(QEvent::KeyPress, key->key(), key->modifiers(), QString(upper),
                           key->isAutoRepeat(), ushort(key->count()));
        QCoreApplication::sendEvent(memo, &replaced);
        return true;
    });
}

void TMainFm::GlueSaveRejectedWordListClick()
{
    const QString fileName = RejectedWordsFileName();
    if (fileName.isEmpty()) {
        showError(QStringLiteral("The rejected words cannot be saved: there is no folder for your data."));
        return;
    }
    QStringList lines = GlueRejectWordsMemo->toPlainText().split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the line end of the last word
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    QString error;
    if (!Cp1252::writeTextLines(fileName, lines, &error))
        showError(QStringLiteral("Cannot save ") + QDir::toNativeSeparators(fileName) +
                  (error.isEmpty() ? QString() : QStringLiteral(": ") + error));
}

void TMainFm::GlueClearRejectedWordsBtnClick() { GlueRejectWordsMemo->clear(); }

// ---- Clues menu ---------------------------------------------------------------------------------

void TMainFm::mBuildAutoClueClick()
{
    THourglass busy;
    TakeCheckPoint(TCheckPointKind::Clues, QStringLiteral("add clues"));
    AssignStockCluesNow();
}

void TMainFm::BuildCluesMenu()
{
    QMenuBar *bar = menuBar();
    mClues = bar->addMenu(QStringLiteral("&Clues"));
    mClues->setObjectName(QStringLiteral("mClues"));
    mCluesImport =
        addItem(mClues, "mCluesImport", QStringLiteral("&Import Words && Clues From a Text File ..."));
    connect(mCluesImport, &QAction::triggered, this, &TMainFm::mCluesImportClick);
    mCluesExport =
        addItem(mClues, "mCluesExport", QStringLiteral("&Export Your Words && Clues to a File ..."));
    connect(mCluesExport, &QAction::triggered, this, &TMainFm::mCluesExportClick);
    mCluesSort = mClues->addMenu(QStringLiteral("&Sort Your Words and Clues"));
    mCluesSort->setObjectName(QStringLiteral("mCluesSort"));
    mCluesSortAlphabetically =
        addItem(mCluesSort, "mCluesSortAlphabetically", QStringLiteral("&Alphabetically"));
    connect(mCluesSortAlphabetically, &QAction::triggered, this, &TMainFm::mCluesSortAlphabeticallyClick);
    mCluesSortSize = addItem(mCluesSort, "mCluesSortSize", QStringLiteral("By &Size"));
    connect(mCluesSortSize, &QAction::triggered, this, &TMainFm::mCluesSortSizeClick);
    mCluesSortPlacement = addItem(mCluesSort, "mCluesSortPlacement",
                                  QStringLiteral("By &Placement Location in the Puzzle Grid"));
    connect(mCluesSortPlacement, &QAction::triggered, this, &TMainFm::mCluesSortPlacementClick);
    mClues->addSeparator();
    mBuildAutoClue = addItem(mClues, "mBuildAutoClue", QStringLiteral("Add Stock Clues &Now"));
    connect(mBuildAutoClue, &QAction::triggered, this, &TMainFm::mBuildAutoClueClick);
    mCluesAddAdditional = addItem(mClues, "mCluesAddAdditional",
                                  QStringLiteral("Add Additional Clues (e.g., &List of Answer Words)"));
    mCluesAddAdditional->setVisible(false);
    mCluesAddAdditional->setEnabled(false);
    connect(mCluesAddAdditional, &QAction::triggered, this, &TMainFm::mCluesAddAdditionalClick);
    mClueAutomaticallyFreeform =
        mClues->addAction(QStringLiteral("Add Stock Clues Automatically for &Freeform Puzzles"));
    mClueAutomaticallyFreeform->setObjectName(QStringLiteral("mClueAutomaticallyFreeform"));
    mClueAutomaticallyFreeform->setCheckable(true);
    connect(mClueAutomaticallyFreeform, &QAction::triggered, this, &TMainFm::mClueAutomaticallyFreeformClick);
    mClueAutomaticallySymmetrical =
        mClues->addAction(QStringLiteral("Add Stock Clues Automatically for S&ymmetrical Puzzles"));
    mClueAutomaticallySymmetrical->setObjectName(QStringLiteral("mClueAutomaticallySymmetrical"));
    mClueAutomaticallySymmetrical->setCheckable(true);
    connect(mClueAutomaticallySymmetrical, &QAction::triggered, this,
            &TMainFm::mClueAutomaticallySymmetricalClick);
    mClues->addSeparator();
    mCluesShowAlt = addItem(mClues, "mCluesShowAlt", QStringLiteral("Show &Alternate Clues"));
    mCluesShowAlt->setCheckable(true);
    connect(mCluesShowAlt, &QAction::triggered, this, &TMainFm::mCluesShowAltClick);

    mGridCustomAlphabet = addItem(mGrid, "mGridCustomAlphabet", QStringLiteral("Customize &Alphabet ..."));
    connect(mGridCustomAlphabet, &QAction::triggered, this, &TMainFm::CustomAlphabetLnkClick);
}
