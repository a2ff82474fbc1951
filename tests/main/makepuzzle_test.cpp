// Make Puzzle for a symmetrical puzzle: the progress dialog, Cancel, a grid that cannot be
// filled, errors inside the build, and a window that cannot be closed meanwhile.
#include "mainwindowtest.h"

#include "alphabet.h"
#include "autopatconfirmdlg.h"
#include "checkpts.h"
#include "cluesedit.h"
#include "cluespg.h"
#include "constructingdlg.h"
#include "fileio.h"
#include "globals.h"
#include "lines.h"
#include "myoverrides.h"
#include "puzzlefiles.h"
#include "trv600.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include <cctype>
#include <stdexcept>

namespace {

const QString kFilled = QStringLiteral(TRV_TEST_DATA) + "/main/filled15.trv";

class MakePuzzleTest : public MainWindowTest
{
protected:
    // The window on the filled puzzle, its letters erased, with the built dictionary.
    TMainFm *open()
    {
        QDir(programFile("ZEDAVIV")).mkpath(".");
        for (int n = 1; n <= 17; ++n) {
            const QString name = QStringLiteral("ZEDAVIV/E.P%1").arg(n, 2, 10, QLatin1Char('0'));
            QFile::remove(programFile(name));
            QFile::link(QStringLiteral(TRV_BIN_DIR "/") + name, programFile(name));
        }
        TMainFm *window = makeReadyWindow(kFilled);
        TRVClearGridLetters(1);
        window->GlueRandomCB->setChecked(false);
        window->show();
        return window;
    }
    void SetUp() override
    {
        MainWindowTest::SetUp();
        m_notice = ShowAutoPatternNotice;
        ShowAutoPatternNotice = [this](QWidget *) {
            ++notices;
            return noticeAnswer;
        };
        if (!QFile::exists(QStringLiteral(TRV_BIN_DIR "/ZEDAVIV/E.P03")))
            GTEST_SKIP() << "this build made no dictionary";
    }
    TAutoPatAnswer noticeAnswer = TAutoPatAnswer::Ok;
    int notices = 0;
    std::function<TAutoPatAnswer(QWidget *)> m_notice;
    void TearDown() override
    {
        ShowAutoPatternNotice = m_notice;
        if (ConstructingDlg)
            ConstructingDlg->OnProgress = nullptr;
        delete ConstructingDlg;
        MainFormReady = false;
        MainWindowTest::TearDown();
    }
    ScriptedPrompter prompter;
};

TEST_F(MakePuzzleTest, BuildFillsTheGridAndEnablesMakeAnother)
{
    TMainFm *window = open();
    window->ConstructSpBtn->click(); // makes the dialog
    TRVClearGridLetters(1);
    // A picture of the dialog in the middle of the build.
    bool grabbed = false;
    ConstructingDlg->OnProgress = [&](int percent, int) {
        if (!grabbed && percent >= 30) {
            grabbed = ConstructingDlg->grab().save(QStringLiteral(TRV_TEST_OUTPUT "/progress-dialog.png"));
            ConstructingDlg->OnProgress = nullptr;
        }
    };
    window->ConstructSpBtn->click();
    EXPECT_TRUE(grabbed);
    EXPECT_NE(TRVGetCell(5, 1), TRV_EMPTY);
    EXPECT_TRUE(window->mMakeAnother->isEnabled());
    EXPECT_TRUE(window->ClientPanel->isEnabled());
    EXPECT_FALSE(window->IsBuilding());
    EXPECT_FALSE(ConstructingDlg->isVisible());
    EXPECT_TRUE(window->IsModified());
}

TEST_F(MakePuzzleTest, NoticeOnARedPatternGoesOnStopsOrLooksForAPattern)
{
    const struct {
        TAutoPatAnswer answer;
        bool built;
        const char *message; // the last message, if any
    } cases[] = {
        {TAutoPatAnswer::Ok, true, ""},
        {TAutoPatAnswer::Cancel, false, ""},
        // No stock pattern fits the words yet: the user is told, the grid stays.
        {TAutoPatAnswer::GetPattern, false, "No pattern of black && white squares is available"},
    };
    for (const auto &c : cases) {
        TMainFm *window = open();
        window->UpdateTrafficLight();
        ASSERT_TRUE(window->RedLight);
        noticeAnswer = c.answer;
        notices = 0;
        prompter.boxes.clear();
        window->ConstructSpBtn->click();
        EXPECT_EQ(notices, 1);
        EXPECT_EQ(TRVGetCell(5, 1) != TRV_EMPTY, c.built) << int(c.answer);
        EXPECT_EQ(TRVGetCell(4, 1), TRV_BLOCK);
        EXPECT_TRUE(prompter.boxes.isEmpty() ? QString(c.message).isEmpty()
                                             : prompter.lastText().startsWith(c.message))
            << prompter.lastText().toStdString();
    }
    // With the notice turned off, the build goes on on the grid as it is.
    TMainFm *window = open();
    AutoPatternNotice = false;
    notices = 0;
    window->ConstructSpBtn->click();
    EXPECT_EQ(notices, 0);
    EXPECT_NE(TRVGetCell(5, 1), TRV_EMPTY);
    AutoPatternNotice = true;
}

TEST_F(MakePuzzleTest, BlankGridTakesAStockPatternWithoutAsking)
{
    if (!QFile::exists(QStringLiteral(TRV_BIN_DIR "/StockPat")))
        GTEST_SKIP() << "this build made no stock patterns";
    QFile::link(QStringLiteral(TRV_BIN_DIR "/StockPat"), programFile("StockPat"));
    TMainFm *window = open();
    window->ResetGridForType(false);
    for (const char *w : {"OCEAN\tBig water", "ISLAND\tLand in water", "HARBOR\tPort"})
        WordList->AddEntry(QString::fromLatin1(w));
    ASSERT_TRUE(window->IsGridBlank());
    auto blocks = [] {
        int n = 0;
        for (int r = 1; r <= Rows; ++r)
            for (int c = 1; c <= Columns; ++c)
                n += TRVGetCell(c, r) == TRV_BLOCK;
        return n;
    };
    auto pattern = [] {
        QString cells;
        for (int r = 1; r <= Rows; ++r)
            for (int c = 1; c <= Columns; ++c)
                cells += TRVGetCell(c, r) == TRV_BLOCK ? QLatin1Char('#') : QLatin1Char('.');
        return cells;
    };
    ASSERT_FALSE(DocControls.EveryPuzzleDifferent);
    QString first;
    for (int round = 0; round < 2; ++round) {
        // The second round starts on the full grid of the first: it is cleared, and a pattern
        // is chosen again, the same one for the same words.
        window->ConstructSpBtn->click();
        EXPECT_EQ(notices, 0);
        EXPECT_GT(blocks(), 0) << round;
        EXPECT_TRUE(GridHasNoOpenCells()) << round;
        EXPECT_FALSE(window->PatternWasChosen);
        if (round == 0)
            first = pattern();
        else
            EXPECT_EQ(pattern(), first);
    }
}

TEST_F(MakePuzzleTest, CommandMakesAndSavesASymmetricalPuzzle)
{
    if (!QFile::exists(QStringLiteral(TRV_BIN_DIR "/StockPat")))
        GTEST_SKIP() << "this build made no stock patterns";
    QFile::link(QStringLiteral(TRV_BIN_DIR "/StockPat"), programFile("StockPat"));
    TMainFm *window = open();
    window->ResetGridForType(false);
    for (const char *w : {"OCEAN\tBig water", "ISLAND\tLand in water", "HARBOR\tPort", "SAILOR\tSeaman"})
        WordList->AddEntry(QString::fromLatin1(w));
    window->ConstructSpBtn->click();
    ASSERT_TRUE(GridHasNoOpenCells());
    const QString file = QStringLiteral(TRV_TEST_OUTPUT "/symmetrical15.trv");
    ASSERT_TRUE(SavePuzzleFile(file));
    EXPECT_TRUE(QFile::exists(file));
}

TEST_F(MakePuzzleTest, FullGridClearedForAPatternThatDoesNotComeIsPutBack)
{
    // A full grid whose pattern the user did not choose is cleared before a pattern is looked
    // for; when none comes, the clear is undone.
    TMainFm *window = open();
    window->ConstructSpBtn->click();
    ASSERT_TRUE(GridHasNoOpenCells());
    const char before = TRVGetCell(5, 1);
    ASSERT_FALSE(TRVIsCellFixed(5, 1)) << before;
    window->PatternWasChosen = false;
    prompter.boxes.clear();
    window->ConstructSpBtn->click();
    EXPECT_TRUE(prompter.lastText().startsWith("No pattern of black && white squares is available"))
        << prompter.lastText().toStdString();
    // (The engine keeps a letter read back from a snapshot in upper case, unfixed.)
    EXPECT_EQ(std::toupper(TRVGetCell(5, 1)), std::toupper(before));
    EXPECT_FALSE(TRVIsCellFixed(5, 1));
    EXPECT_EQ(TRVGetCell(4, 1), TRV_BLOCK);
}

TEST_F(MakePuzzleTest, UndoAfterABuildRestoresTheGrid)
{
    TMainFm *window = open();
    window->ConstructSpBtn->click();
    ASSERT_TRUE(GridHasNoOpenCells());
    const char built = TRVGetCell(5, 1);
    window->UndoSpBtn->click();
    EXPECT_EQ(TRVGetCell(5, 1), TRV_EMPTY);
    EXPECT_EQ(TRVGetCell(4, 1), TRV_BLOCK);
    window->RedoSpBtn->click();
    EXPECT_TRUE(GridHasNoOpenCells());
    EXPECT_EQ(std::toupper(TRVGetCell(5, 1)), std::toupper(built));
}

TEST_F(MakePuzzleTest, BlankGridShowsAGreenLight)
{
    TMainFm *window = open();
    window->UpdateTrafficLight();
    ASSERT_TRUE(window->RedLight);
    const QImage red = window->ConstructSpBtn->icon().pixmap(16, 24).toImage();
    window->ResetGridForType(false);
    window->UpdateTrafficLight();
    const QImage green = window->ConstructSpBtn->icon().pixmap(16, 24).toImage();
    EXPECT_NE(red, green);
    EXPECT_EQ(green, QIcon(QStringLiteral(":/MakePuzzleGreenImage")).pixmap(16, 24).toImage());
}

TEST_F(MakePuzzleTest, CancelStopsTheBuildAndTheDialogGoesHalfASecondLater)
{
    TMainFm *window = open();
    window->ConstructSpBtn->click(); // makes the dialog
    TRVClearGridLetters(1);
    bool closed = true;
    ConstructingDlg->OnProgress = [&](int, int) {
        ConstructingDlg->CancelBtn->click();
        closed = window->close();     // a close under a running build is refused
        window->mEditUndo->trigger(); // and so is an undo by its shortcut
        ConstructingDlg->OnProgress = nullptr;
    };
    window->ConstructSpBtn->click();
    EXPECT_FALSE(closed);
    EXPECT_EQ(UndoCount(), 2); // the two builds' steps: the undo did not run
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(ConstructingDlg->ConstructionCanceledLabel->isVisible());
    EXPECT_LE(ConstructingDlg->ProgressInfo2Label->text().toInt(), 99);
    EXPECT_TRUE(ConstructingDlg->isVisible());
    EXPECT_TRUE(window->ClientPanel->isEnabled());
    EXPECT_FALSE(ConstructCanceled);
    QElapsedTimer waited;
    waited.start();
    while (ConstructingDlg->isVisible() && waited.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_FALSE(ConstructingDlg->isVisible());
    EXPECT_GE(waited.elapsed(), 400);
}

TEST_F(MakePuzzleTest, UnfillableGridShowsItsStuckCellsAndSaysSo)
{
    TMainFm *window = open();
    // No word fits the fixed letters of the first slot.
    for (int c = 1; c <= 3; ++c)
        TRVSetCellOnly(c, 1, 'Q');
    window->ShowPenciledView();
    window->ViewPortPaint();
    window->ConstructSpBtn->click();
    EXPECT_TRUE(prompter.lastText().startsWith("Puzzle construction can not be completed."))
        << prompter.lastText().toStdString();
    // Any cells the engine shaded show their stuck colours.
    for (int r = 1; r <= Rows; ++r)
        for (int c = 1; c <= Columns; ++c) {
            const int shade = TRVShadeCell(c, r);
            if (shade & (TRV_SHADE_STUCK_CELL | TRV_SHADE_STUCK_AREA)) {
                EXPECT_EQ(TRVGetCellDispColor(c, r), shade & TRV_SHADE_STUCK_CELL ? 0x0000FF : 0x00FFFF)
                    << c << "," << r;
            }
        }
    EXPECT_TRUE(window->ClientPanel->isEnabled());
}

TEST_F(MakePuzzleTest, ErrorsInsideTheBuildLeaveAUsableWindow)
{
    TMainFm *window = open();
    window->ConstructSpBtn->click();
    TRVClearGridLetters(1);
    ConstructingDlg->OnProgress = [](int, int) { throw std::bad_alloc(); };
    window->ConstructSpBtnClick();
    EXPECT_TRUE(prompter.lastText().startsWith("An error occurred while constructing your puzzle"))
        << prompter.lastText().toStdString();
    EXPECT_TRUE(window->ClientPanel->isEnabled());
    EXPECT_FALSE(window->IsBuilding());

    ConstructingDlg->OnProgress = [](int, int) { throw std::runtime_error("broken"); };
    EXPECT_THROW(window->ConstructSpBtnClick(), std::runtime_error);
    EXPECT_TRUE(window->ClientPanel->isEnabled());
    EXPECT_FALSE(window->IsBuilding());
    EXPECT_FALSE(ConstructingDlg->isVisible());
    EXPECT_FALSE(ConstructCanceled);
}

TEST_F(MakePuzzleTest, MessageAfterTheBuildNamesExactlyTheWordsWithoutALocation)
{
    TMainFm *window = open();
    // A length without a slot in this grid, for a word that can never be placed.
    int noSlot = 2;
    while (TRVGetWLCount(noSlot) > 0)
        ++noSlot;
    const QString tooLong = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ").left(noSlot);
    // Five Qs fit a five-letter slot of the pattern, but no crossing word fits them.
    for (const QString &w : {QStringLiteral("OCEAN\tBig water"), QStringLiteral("QQQQQ\tNever"),
                             tooLong + QStringLiteral("\tToo long")})
        WordList->AddEntry(w);
    ASSERT_GT(TRVGetWLCount(5), 0);
    prompter.boxes.clear();
    window->ConstructSpBtn->click();
    ASSERT_TRUE(GridHasNoOpenCells());
    QStringList unplaced;
    for (int e = 0; e < window->ClueEditor->EntryCount(); ++e)
        if (!window->ClueEditor->GetWord(e).isEmpty() &&
            window->ClueEditor->GetSlotLabel(e) == kUnsetSlotLabel)
            unplaced << window->ClueEditor->GetWord(e);
    ASSERT_TRUE(unplaced.contains(QStringLiteral("QQQQQ")));
    ASSERT_TRUE(unplaced.contains(tooLong));
    ASSERT_EQ(prompter.boxes.size(), 1);
    QStringList named = prompter.lastText().split(QLatin1Char('\n'));
    named = named.mid(2, named.size() - 4); // the lines between the heading and the advice
    QStringList expected;
    for (const QString &w : unplaced)
        expected << (w == tooLong ? w + QStringLiteral(" (no %1-letter slot in this grid)").arg(noSlot) : w);
    EXPECT_EQ(named, expected) << prompter.lastText().toStdString();
}

TEST(UnplacedThemeWordsTextTest, NamesTenThenCountsTheRestAndStaysQuietWhenAllFitPlaced)
{
    using W = TMainFm::TUnplacedWord;
    QList<W> twelve;
    for (int i = 0; i < 12; ++i)
        twelve.append({QStringLiteral("WORD%1").arg(i), 5, true});
    const struct {
        QList<W> words;
        QStringList lines; // empty: no message
    } cases[] = {
        {{}, {}},
        {{{QStringLiteral("TOOLONGWORD"), 11, false}}, {}},
        {{{QStringLiteral("NECTAR"), 6, true}, {QStringLiteral("TOOLONGWORD"), 11, false}},
         {QStringLiteral("2 of your words are not in the puzzle:"), QString(), QStringLiteral("NECTAR"),
          QStringLiteral("TOOLONGWORD (no 11-letter slot in this grid)")}},
        {{{QStringLiteral("PETAL"), 5, true}},
         {QStringLiteral("One of your words is not in the puzzle:"), QString(), QStringLiteral("PETAL")}},
        {twelve, QStringList{QStringLiteral("12 of your words are not in the puzzle:"), QString()}
                     << QStringList{"WORD0", "WORD1", "WORD2", "WORD3", "WORD4", "WORD5", "WORD6", "WORD7",
                                    "WORD8", "WORD9", "and 2 more"}},
    };
    for (const auto &c : cases) {
        const QString text = TMainFm::UnplacedThemeWordsText(c.words);
        if (c.lines.isEmpty()) {
            EXPECT_TRUE(text.isEmpty()) << text.toStdString();
            continue;
        }
        QStringList lines = text.split(QLatin1Char('\n'));
        ASSERT_GE(lines.size(), c.lines.size() + 2) << text.toStdString();
        EXPECT_EQ(lines.mid(0, c.lines.size()), c.lines) << text.toStdString();
        EXPECT_TRUE(lines.last().startsWith("To try other places for them")) << text.toStdString();
    }
}

TEST_F(MakePuzzleTest, MakeAnotherStartsFromAClearGridAndGivesTheSamePuzzle)
{
    if (!QFile::exists(QStringLiteral(TRV_BIN_DIR "/StockPat")))
        GTEST_SKIP() << "this build made no stock patterns";
    QFile::link(QStringLiteral(TRV_BIN_DIR "/StockPat"), programFile("StockPat"));
    TMainFm *window = open();
    window->ResetGridForType(false);
    for (const char *w :
         {"NECTAR\tFlower juice", "COCOON\tSilk case", "PETAL\tFlower part", "POLLEN\tFlower dust"})
        WordList->AddEntry(QString::fromLatin1(w));
    auto letters = [] {
        QString cells;
        for (int r = 1; r <= Rows; ++r)
            for (int c = 1; c <= Columns; ++c)
                cells += QLatin1Char(char(std::toupper(TRVGetCell(c, r))));
        return cells;
    };
    window->ConstructSpBtn->click();
    ASSERT_TRUE(GridHasNoOpenCells());
    const QString first = letters();
    const int undoSteps = UndoCount();
    window->mMakeAnother->trigger();
    EXPECT_EQ(letters(), first);
    EXPECT_EQ(UndoCount(), undoSteps + 3); // the clear grid, the pattern chosen again, the build
}

} // namespace

namespace {

// Freeform builds need no dictionary: the window makes them itself.
class FreeformCommandTest : public MainWindowTest
{
protected:
    TMainFm *start(bool freeformStart, const QStringList &words)
    {
        SetupLoose = freeformStart;
        SetupTight = !freeformStart;
        TMainFm *window = makeReadyWindow();
        for (const QString &w : words)
            WordList->AddEntry(w);
        window->GlueRandomCB->setChecked(false);
        return window;
    }
    void TearDown() override
    {
        delete ConstructingDlg;
        MainFormReady = false;
        SetupLoose = SetupTight = false;
        MainWindowTest::TearDown();
    }
    static int letterCells()
    {
        int n = 0;
        for (int r = 1; r <= Rows; ++r)
            for (int c = 1; c <= Columns; ++c) {
                const char code = TRVGetCell(c, r);
                n += code != TRV_EMPTY && code != TRV_REMOVED && code != TRV_BLOCK && code != TRV_EDGE;
            }
        return n;
    }
    ScriptedPrompter prompter;
};

const QStringList kAnimals = {"horse\tIt neighs", "zebra\tStriped", "otter\tSwims", "heron\tWades",
                              "tern\tSea bird"};

TEST_F(FreeformCommandTest, WordsBecomeAGridOfUnfixedLetters)
{
    TMainFm *window = start(true, kAnimals);
    window->ConstructSpBtn->click();
    EXPECT_GT(letterCells(), 10);
    EXPECT_LT(Columns, 15);
    for (int r = 1; r <= Rows; ++r)
        for (int c = 1; c <= Columns; ++c)
            EXPECT_FALSE(TRVIsCellFixed(c, r)) << c << "," << r;
    EXPECT_TRUE(window->IsModified());
    EXPECT_TRUE(window->ClientPanel->isEnabled());
    EXPECT_FALSE(ConstructingDlg->isVisible());
    EXPECT_TRUE(prompter.boxes.isEmpty());
}

TEST_F(FreeformCommandTest, BuiltPuzzleSurvivesTheFirstFreeformSetUp)
{
    // The window started symmetrical; the freeform type was ticked without its set-up.
    TMainFm *window = start(false, kAnimals);
    window->LooseRB->setChecked(true);
    window->ConstructSpBtn->click();
    EXPECT_GT(letterCells(), 10);
    EXPECT_TRUE(FreeformMode);
}

TEST_F(FreeformCommandTest, CommandMakesAndSavesAFreeformPuzzleOfThirtyWords)
{
    const QStringList words = {"apple\tRed fruit",
                               "banana\tYellow fruit",
                               "cherry\tSmall red fruit",
                               "grape\tVine fruit",
                               "lemon\tSour fruit",
                               "melon\tBig juicy fruit",
                               "orange\tCitrus fruit",
                               "peach\tFuzzy fruit",
                               "pear\tFruit with a narrow top",
                               "plum\tPurple fruit",
                               "carrot\tOrange root",
                               "celery\tCrunchy stalk",
                               "onion\tMakes you cry",
                               "potato\tSpud",
                               "tomato\tSalad fruit",
                               "pepper\tHot or sweet pod",
                               "garlic\tPungent bulb",
                               "spinach\tLeafy green",
                               "lettuce\tSalad leaves",
                               "radish\tRed root",
                               "bread\tBaked loaf",
                               "butter\tSpread from cream",
                               "cheese\tMade from curds",
                               "honey\tMade by bees",
                               "jam\tFruit spread",
                               "milk\tDairy drink",
                               "rice\tWhite grain",
                               "pasta\tItalian staple",
                               "salad\tBowl of greens",
                               "soup\tServed in a bowl"};
    TMainFm *window = start(true, words);
    window->ConstructSpBtn->click();
    EXPECT_GT(letterCells(), 80);
    const QString file = QStringLiteral(TRV_TEST_OUTPUT "/freeform30.trv");
    ASSERT_TRUE(SavePuzzleFile(file));
    EXPECT_TRUE(QFile::exists(file));
}

TEST_F(FreeformCommandTest, WordsWithoutCommonLettersAreRefused)
{
    TMainFm *window = start(true, {"cat\tPet", "dog\tPet"});
    const int columns = Columns;
    window->ConstructSpBtn->click();
    ASSERT_FALSE(prompter.boxes.isEmpty());
    EXPECT_TRUE(prompter.lastText().startsWith("A freeform crossword puzzle requires"))
        << prompter.lastText().toStdString();
    EXPECT_EQ(Columns, columns);
    EXPECT_EQ(letterCells(), 0);
}

} // namespace
