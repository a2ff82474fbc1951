// The window's side of the document state: the controls that the puzzle file reads and writes
// show the document's values (DocControls, the engine's grid and FreeformMode), and every change
// the user makes on them goes back to the document and marks it modified. Also the puzzle-type
// switch, the size controls, the word-slot count and the theme-word summaries.
#include "mainfm.h"
#include "wysiwyg.h"

#include "alphabet.h"
#include "checkpts.h"
#include "cluesedit.h"
#include "cluespg.h"
#include "constructingdlg.h"
#include "fileio.h"
#include "globals.h"
#include "hourglass.h"
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

#include <utility>
#include <QSpinBox>
#include <QToolButton>

namespace {

// The symmetry modes by engine value 0..6: speed button, label text, glyph, pattern cursor.
struct SymmetryMode {
    QToolButton *TMainFm::*button;
    const char *label;
    const char *glyph;
    int cursor;
};
const SymmetryMode kSymmetryModes[7] = {
    {&TMainFm::SymNoneSpBtn, "  No Symmetry", "SP_NOSYM", 4},
    {&TMainFm::SymStandardSpBtn, "  Standard Diagonal", "SP_STD", 5},
    {&TMainFm::SymSpiralSpBtn, "  Spiral (4)", "SP_SPIRL", 6},
    {&TMainFm::SymVerticalSpBtn, "  Vertical", "SP_VERT", 9},
    {&TMainFm::SymHorizontalSpBtn, "  Horizontal", "SP_HORZ", 8},
    {&TMainFm::SymHorzAndVertSpBtn, "Horizontal/Vertical (4)", "SP_HV", 10},
    {&TMainFm::SymKaleidoscopeSpBtn, "  Kaleidoscope (8)", "SP_KALI", 7},
};

constexpr int kMaxThemeWordsSent = 1000;

// Sets a control's state without running its user-change handler.
void setCheckedQuietly(QAbstractButton *button, bool on)
{
    const QSignalBlocker block(button);
    button->setChecked(on);
}

void setTextQuietly(QLineEdit *edit, const QString &text)
{
    if (edit->text() == text)
        return; // keeps the caret where the user left it
    const QSignalBlocker block(edit);
    edit->setText(text);
}

// Every cell of the grid is open (nothing drawn or typed yet).
bool gridIsBlank()
{
    const int width = TRVGetWidth();
    const int height = TRVGetHeight();
    for (int r = 1; r <= height; ++r)
        for (int c = 1; c <= width; ++c)
            if (TRVGetCell(c, r) != TRV_EMPTY)
                return false;
    return true;
}

} // namespace

QString TMainFm::DefaultCreditsLine()
{
    return QStringLiteral("Made with Tarvel");
}

// ---- Hooks and connections ------------------------------------------------------------------

void TMainFm::InstallDocumentHooks()
{
    FileHooks.SwitchPuzzleType = [this](bool freeform) {
        if (freeform)
            SwitchToFreeform(false);
        else
            SwitchToSymmetrical(false);
    };
    FileHooks.ControlsChanged = [this] { ShowDocumentControls(); };
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

void TMainFm::UpdateSymmetryButtons()
{
    const int mode = TRVGetSymMode();
    if (mode < 0 || mode > 6)
        return;
    const SymmetryMode &s = kSymmetryModes[mode];
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

// ---- Puzzle type --------------------------------------------------------------------------------

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

// ---- User changes -------------------------------------------------------------------------------

void TMainFm::TitlesChanged()
{
    // A title the user types must show on the page that holds it.
    if (!PageRuleB(CurrentPage)) {
        PutTitleOnCode = 2;
        if (!PageRuleB(CurrentPage))
            PutTitleOnCode = 8;
    }
    if (FileHooks.ComputeTitleBlockHeight)
        FileHooks.ComputeTitleBlockHeight();
    SetModified();
    InvalidateView();
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

void TMainFm::WordBankCBClick()
{
    if (IgnoreWordBankCBClick) {
        IgnoreWordBankCBClick = false;
        return;
    }
    DocControls.WordBankCB = WordBankCB->isChecked();
    // The snapshot must hold the state before the click, which the box already shows.
    WordBankCBCheckpointing = true;
    TakeCheckPoint(2, DocControls.WordBankCB ? QStringLiteral("word bank addition")
                                             : QStringLiteral("word bank removal"));
    WordBankCBCheckpointing = false;
    RebuildClueGrids();
    SetModified();
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
        if (sender == this->*(kSymmetryModes[m].button))
            mode = m;
    const bool changed = mode != TRVGetSymMode();
    TRVSetSymMode(mode);
    UpdateSymmetryButtons();
    if (changed)
        SetModified();
}

void TMainFm::ExchangeAcrossDownSpBtnClick()
{
    TakeCheckPoint(2, QStringLiteral("exchange across & down"));
    DocControls.Exchanged = ExchangeAcrossDownSpBtn->isChecked();
    TRVExchangeAcrossDown();
    SetPuzzleDimensions(TRVGetWidth(), TRVGetHeight(), false);
    PseudoFormResize();
    // The key cursor stays on its letter, which changed places with the grid.
    std::swap(KeyCursorCol, KeyCursorRow);
    RedrawView();
    CluesNeedRebuild = true;
    RebuildClueGrids();
    ShowDocumentControls();
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

// ---- Theme words and summaries ----------------------------------------------------------------

QString TMainFm::NormalizeAnswer(const QString &word) const
{
    QString letters;
    for (QChar c : word)
        if (IsAlphabetChar(c))
            letters += c;
    return letters;
}

void TMainFm::SendThemeWordsToEngine()
{
    THourglass busy;
    TRVThemeDeleteAll();
    int sent = 0;
    for (int e = 0; e < ClueEditor->EntryCount(); ++e) {
        const QString word = UpperCaseText(ClueEditor->GetWord(e));
        AddSpecialCharacters(word);
        const QString answer = NormalizeAnswer(word).left(255);
        if (answer.isEmpty() || TRVGetWLCount(int(answer.size())) == 0)
            continue;
        if (sent == kMaxThemeWordsSent)
            break;
        QByteArray letters;
        for (QChar c : answer)
            letters += DisplayToEngineLetter(c);
        TRVNewThemeWord(letters.constData(), "", 0);
        ++sent;
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
            grid->Row(r).ThemeWord = true;
            break;
        }
}

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
    QString summary = QString::number(listed) + Pluralize(listed, QStringLiteral(" entry")) +
                      QStringLiteral(" listed.  ");
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
    SBThemeWords->setText(blank ? QString()
                                : QStringLiteral("Puzzle contains ") + QString::number(PlacedThemeWordCount) +
                                      Pluralize(PlacedThemeWordCount, QStringLiteral(" of your word")) +
                                      QLatin1Char('.'));
    SBThemeFits->setText(blank ? QString() : fits);
}
