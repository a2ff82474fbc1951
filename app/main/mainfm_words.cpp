// The words page and the clue pages: the word-and-clue editor's summaries, the theme words sent
// to the engine and reported back, the word bank switch, and the three clue grids.
#include "mainfm.h"
#include "mainfm_controls.h"

#include "alphabet.h"
#include "checkpts.h"
#include "cluesedit.h"
#include "cluespg.h"
#include "globals.h"
#include "hourglass.h"
#include "lines.h"
#include "myoverrides.h"
#include "trv600.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QLabel>
#include <QTableView>

using namespace mainfm;

namespace {
constexpr int kMaxThemeWordsSent = 1000;
} // namespace

void TMainFm::BuildWordsPage()
{
    tsYourWords = new QWidget;
    tsYourWords->setObjectName(QStringLiteral("tsYourWords"));
    MainNotebookPages->addTab(tsYourWords, QStringLiteral("Your Words && Clues"));
    ThemePanel = new TPanel(tsYourWords, QStringLiteral("ThemePanel"));
    WordsLbl = makeLabel(ThemePanel, QStringLiteral("WordsLbl"), QStringLiteral("Words"));
    WordsLbl->setGeometry(8, 52, 80, 18);
    CluesLbl = makeLabel(ThemePanel, QStringLiteral("CluesLbl"), QStringLiteral("Clues"));
    CluesLbl->setGeometry(120, 52, 80, 18);
    WordBankCB = makeControl<QCheckBox>(ThemePanel, QStringLiteral("WordBankCB"),
        QStringLiteral("Provide Word Bank"), QRect(8, 8, 200, 22));
    ThemeListSizeLabel = makeLabel(ThemePanel, QStringLiteral("ThemeListSizeLabel"), QString());
    ThemeListSizeLabel->setGeometry(8, 32, 360, 18);
    ThemeSortPanel = new TPanel(tsYourWords, QStringLiteral("ThemeSortPanel"));
    ThemeSortPanel->setFixedHeight(28);
}

void TMainFm::BuildOtherCluesPage()
{
    tsOtherClues = new QWidget;
    tsOtherClues->setObjectName(QStringLiteral("tsOtherClues"));
    MainNotebookPages->addTab(tsOtherClues, QStringLiteral("Other Clues"));
    CluesShowAlternatesCB = new QCheckBox(QStringLiteral("Show alternate clues too"), tsOtherClues);
    CluesShowAlternatesCB->setObjectName(QStringLiteral("CluesShowAlternatesCB"));
    CluesShowAlternatesCB->resize(180, 22);
    AcrossLbl = makeLabel(tsOtherClues, QStringLiteral("AcrossLbl"), QStringLiteral("ACROSS"));
    AcrossLbl->resize(80, 16);
    DownLbl = makeLabel(tsOtherClues, QStringLiteral("DownLbl"), QStringLiteral("DOWN"));
    DownLbl->resize(80, 16);
    CluesAcrossSG = makeClueGrid(tsOtherClues, QStringLiteral("CluesAcrossSG"));
    CluesDownSG = makeClueGrid(tsOtherClues, QStringLiteral("CluesDownSG"));
    CluesAlternateSG = makeClueGrid(tsOtherClues, QStringLiteral("CluesAlternateSG"));
    CluesAlternateSG->hide();
    ThemeAdoptPanel = new TPanel(tsOtherClues, QStringLiteral("ThemeAdoptPanel"));
    ThemeAdoptPanel->resize(310, 40);
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

// ---- Clues menu ---------------------------------------------------------------------------------

void TMainFm::BuildCluesMenu()
{
    QMenuBar *bar = menuBar();
    mClues = bar->addMenu(QStringLiteral("&Clues"));
    mClues->setObjectName(QStringLiteral("mClues"));
    mClueAutomaticallyFreeform =
        mClues->addAction(QStringLiteral("Add Stock Clues Automatically for &Freeform Puzzles"));
    mClueAutomaticallyFreeform->setObjectName(QStringLiteral("mClueAutomaticallyFreeform"));
    mClueAutomaticallyFreeform->setCheckable(true);
    connect(mClueAutomaticallyFreeform, &QAction::triggered, this,
            &TMainFm::mClueAutomaticallyFreeformClick);
    mClueAutomaticallySymmetrical =
        mClues->addAction(QStringLiteral("Add Stock Clues Automatically for S&ymmetrical Puzzles"));
    mClueAutomaticallySymmetrical->setObjectName(QStringLiteral("mClueAutomaticallySymmetrical"));
    mClueAutomaticallySymmetrical->setCheckable(true);
    connect(mClueAutomaticallySymmetrical, &QAction::triggered, this,
            &TMainFm::mClueAutomaticallySymmetricalClick);
}

void TMainFm::IdleWordsPage() {}
