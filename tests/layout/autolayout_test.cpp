// The Auto-Layout expert on the layout fixtures: the trial cache against the plain search,
// cancel, give-up, the page modes and the page question, the border, the polish, the page model
// after a run, the progress dialog and the input held away during a run.
#include "globals.h"
#include "layoutdoc.h"
#include "layoutsettings.h"

#include "autolayout.h"
#include "checkpts.h"
#include "constructingdlg.h"
#include "inputguard.h"
#include "pagechoicefm.h"
#include "uidialogs.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest/qtestspontaneevent.h>

#include <functional>
#include <ostream>

namespace {

/** Every value a run may change or must leave alone, and the page count. */
struct LayoutValues {
    int Columns, AcrDwn, Number, Text, Leading;
    double Top, Left, Right, Bottom, CellW, CellH;
    int Title, Subtitle;
    double PuzzleLeft;
    bool NewColumnDown, Separate;
    int BankPage, Header, Pages, Mode;
    bool Ask;

    static LayoutValues now()
    {
        return {ClueColumns,      AcrDwnFontSize,       ClueNumberFontSize,
                ClueTextFontSize, LeadingPercentage,    MarginTop,
                MarginLeft,       MarginRight,          MarginBottom,
                CellWidth,        CellHeight,           TitleFontSize,
                SubtitleFontSize, ::PuzzleLeft,         ::NewColumnDown,
                SeparateClues,    WordBankPage,         SolutionHeaderFontSize,
                PageCount,        AutoLayoutPageChoice, AskBeforeUsingTwoPages};
    }
    bool operator==(const LayoutValues &) const = default;
};

void PrintTo(const LayoutValues &v, std::ostream *os)
{
    *os << v.Columns << " col, sizes " << v.AcrDwn << "/" << v.Number << "/" << v.Text << ", leading "
        << v.Leading << ", margins " << v.Top << "/" << v.Left << "/" << v.Right << "/" << v.Bottom
        << ", cell " << v.CellW << "x" << v.CellH << ", title " << v.Title << "/" << v.Subtitle << ", left "
        << v.PuzzleLeft << ", newcol " << v.NewColumnDown << ", separate " << v.Separate << ", bank page "
        << v.BankPage << ", header " << v.Header << ", pages " << v.Pages << ", mode " << v.Mode << ", ask "
        << v.Ask;
}

const char *const kPuzzle13 = TRV_TEST_DATA "/layout/puzzle13.trv";
const char *const kPuzzle15 = TRV_TEST_DATA "/layout/puzzle15.trv";
const char *const kPuzzle21 = TRV_TEST_DATA "/layout/puzzle21.trv";

// A border of two bands, 0.05 and 0.03 inch, with a gap of 0.0125 inch between them.
const QString kBorder = QStringLiteral("Test = 0.05\" Line * 0, Gap, 0.03\" Line * 0");
constexpr double kBorderBands = 0.05 + 0.0125 + 0.03;

/** Every clue written eight times over: no candidate puts the clues on one page. */
void eightfoldClues()
{
    for (TClueGrid *grid : {CluesAcrossSG, CluesDownSG})
        for (int r = 1; r < grid->RowCount(); ++r) {
            QStringList copies;
            for (int i = 0; i < 8; ++i)
                copies << grid->Cell(1, r);
            grid->SetCell(1, r, copies.join(QLatin1Char(' ')));
        }
}

} // namespace

class AutoLayoutTest : public LayoutDocTest
{
protected:
    void SetUp() override
    {
        LayoutDocTest::SetUp();
        AutoLayoutHooks = TAutoLayoutHooks{};
        SetAutoLayoutCacheEnabled(true);
        ConstructCanceled = false;
    }
    void TearDown() override
    {
        AutoLayoutHooks = TAutoLayoutHooks{};
        SetAutoLayoutCacheEnabled(true);
        SetAutoLayoutClock(nullptr);
        ConstructCanceled = false;
        LayoutDocTest::TearDown();
    }
    /** Loads a fixture with the expert on and the page question off unless a test asks for it. */
    void open(const char *file)
    {
        load(QString::fromLatin1(file));
        DocControls.AutoLayout = true;
        AskBeforeUsingTwoPages = false;
    }
    /** The page model of the values as they stand (as the window has it before a run). */
    static void settle() { CountPrintedPages(); }
    /** Runs the expert on the fixture after prepare, and gives the values it left. */
    LayoutValues runOn(const char *file, const std::function<void()> &prepare, bool cache)
    {
        open(file);
        if (prepare)
            prepare();
        SetAutoLayoutCacheEnabled(cache);
        RunAutoLayout(0);
        SetAutoLayoutCacheEnabled(true);
        return LayoutValues::now();
    }
};

TEST_F(AutoLayoutTest, CachedAndUncachedSearchesAgree)
{
    struct Case {
        const char *name;
        const char *file;
        std::function<void()> prepare;
        TAutoLayoutOutcome outcome;
    };
    const Case cases[] = {
        {"15 x 15", kPuzzle15, nullptr, TAutoLayoutOutcome::Fitted},
        {"21 x 21", kPuzzle21, nullptr, TAutoLayoutOutcome::Fitted},
        {"13 x 13, two pages", kPuzzle13, nullptr, TAutoLayoutOutcome::Fitted},
        {"15 x 15, columns fixed", kPuzzle15, [] { AutoClueColumns = false; }, TAutoLayoutOutcome::Fitted},
        {"21 x 21 with a border", kPuzzle21, [] { FrameStyle = kBorder; }, TAutoLayoutOutcome::Fitted},
        {"21 x 21, word bank at the bottom", kPuzzle21,
         [] {
             DocControls.WordBankCB = true;
             WordBankMode = 1;
         },
         TAutoLayoutOutcome::Fitted},
        {"13 x 13, mode 2, nothing fits", kPuzzle13,
         [] {
             AutoLayoutPageChoice = 2;
             eightfoldClues();
         },
         TAutoLayoutOutcome::GaveUp},
        {"13 x 13, mode 3", kPuzzle13, [] { AutoLayoutPageChoice = 3; }, TAutoLayoutOutcome::Fitted},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const LayoutValues plain = runOn(c.file, c.prepare, false);
        const TAutoLayoutRunInfo plainRun = LastAutoLayoutRun();
        const LayoutValues cached = runOn(c.file, c.prepare, true);
        const TAutoLayoutRunInfo cachedRun = LastAutoLayoutRun();
        EXPECT_EQ(plainRun.Outcome, c.outcome);
        EXPECT_EQ(cachedRun.Outcome, plainRun.Outcome);
        EXPECT_EQ(cached, plain);
        // The same steps, fewer of them relaid out.
        EXPECT_EQ(cachedRun.Trials, plainRun.Trials);
        EXPECT_EQ(plainRun.CacheHits, 0);
        EXPECT_GT(cachedRun.CacheHits, 0);
        EXPECT_LT(cachedRun.Relayouts, plainRun.Relayouts);
    }
}

TEST_F(AutoLayoutTest, CancelPutsEverythingBackAndALeftoverFlagIsNotObeyed)
{
    // Mode 3 changes SeparateClues and the word-bank page; the polish shrinks the solution header.
    auto prepare = [] {
        AutoLayoutPageChoice = 3;
        AskBeforeUsingTwoPages = true;
        WordBankPage = 5;
        SolutionHeaderFontSize = 30;
    };
    const LayoutValues fitted = runOn(kPuzzle13, prepare, true);
    const int trials = LastAutoLayoutRun().Trials;
    ASSERT_GT(trials, 10);
    ASSERT_NE(fitted.Header, 30);

    for (int n : {1, trials / 2, trials - 1}) {
        SCOPED_TRACE(n);
        open(kPuzzle13);
        prepare();
        settle();
        const LayoutValues before = LayoutValues::now();
        AutoLayoutHooks.Progress = [n](int, int count) {
            if (count == n)
                ConstructCanceled = true;
        };
        RunAutoLayout(0);
        EXPECT_EQ(LastAutoLayoutRun().Outcome, TAutoLayoutOutcome::Canceled);
        EXPECT_EQ(LayoutValues::now(), before);
        EXPECT_FALSE(ConstructCanceled);
        EXPECT_TRUE(DocControls.AutoLayout);
    }

    // A cancelled build leaves the flag set when it runs the expert: the run still lays out.
    open(kPuzzle13);
    prepare();
    AutoLayoutHooks.Progress = nullptr;
    ConstructCanceled = true;
    RunAutoLayout(0);
    EXPECT_EQ(LastAutoLayoutRun().Outcome, TAutoLayoutOutcome::Fitted);
    EXPECT_EQ(LayoutValues::now(), fitted);
}

TEST_F(AutoLayoutTest, GiveUpPutsTheLayoutBackAndSaysHowManyPages)
{
    struct Case {
        int mode;
        const char *pages;
    };
    for (const Case &c : {Case{2, "down to one page. "}, Case{1, "down to two pages. "}}) {
        SCOPED_TRACE(c.mode);
        open(kPuzzle13);
        AutoLayoutPageChoice = c.mode;
        eightfoldClues();
        settle();
        const LayoutValues before = LayoutValues::now();
        int unticked = 0;
        AutoLayoutHooks.AutoLayoutUnchecked = [&] { ++unticked; };
        prompter->boxes.clear();
        qsizetype boxesDuringRun = -1;
        AutoLayoutHooks.Progress = [&](int percent, int) {
            if (percent == 100)
                boxesDuringRun = prompter->boxes.size();
        };
        RunAutoLayout(0);
        EXPECT_EQ(LastAutoLayoutRun().Outcome, TAutoLayoutOutcome::GaveUp);
        EXPECT_EQ(LayoutValues::now(), before);
        EXPECT_FALSE(DocControls.AutoLayout);
        EXPECT_EQ(unticked, 1);
        // The trials overflow the pages, but no box shows before the give-up's.
        EXPECT_EQ(boxesDuringRun, 0);
        ASSERT_EQ(prompter->boxes.size(), 1);
        EXPECT_EQ(prompter->lastText(), AutoLayoutGiveUpText(c.mode == 1));
        EXPECT_TRUE(prompter->lastText().contains(QLatin1String(c.pages)))
            << prompter->lastText().toStdString();
    }
    EXPECT_TRUE(AutoLayoutGiveUpText(false).startsWith(QStringLiteral(
        "The Auto-Layout expert can't squeeze your puzzle down to one page. \r\n\r\nThis might")));
    EXPECT_TRUE(AutoLayoutGiveUpText(false).endsWith(QStringLiteral("select the first item.")));
}

TEST_F(AutoLayoutTest, OverflowingCluesRateAsTooManyPages)
{
    open(kPuzzle21);
    ClueColumns = 1;
    ClueTextFontSize = ClueNumberFontSize = AcrDwnFontSize = 300;
    EXPECT_EQ(FitQuality(), 1);
    EXPECT_GT(OverflowLineCount, 0);
}

TEST_F(AutoLayoutTest, PageModesAndThePageQuestion)
{
    struct Case {
        const char *name;
        int mode;
        bool ask;
        QList<ScriptedPageChooser::Answer> answers;
        int asked;
        int pages;
        bool separate;
    };
    const Case cases[] = {
        // Mode 2 never asks and never takes a second puzzle page.
        {"one page always", 2, true, {}, 0, 2, false},
        {"asked, one page", 1, true, {{TPageChoice::OnePage, false}}, 1, 2, false},
        {"asked, two pages", 1, true, {{TPageChoice::TwoPages, false}}, 1, 3, false},
        {"asked, separate pages", 1, true, {{TPageChoice::SeparatePages, false}}, 1, 3, true},
        {"question closed", 1, true, {}, 1, 3, false},
        {"two pages, not asked", 1, false, {}, 0, 3, false},
        {"separate pages always", 3, true, {}, 0, 3, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPageChooser chooser;
        chooser.Answers = c.answers;
        open(kPuzzle13);
        AutoLayoutPageChoice = c.mode;
        AskBeforeUsingTwoPages = c.ask;
        RunAutoLayout(0);
        const TAutoLayoutRunInfo &run = LastAutoLayoutRun();
        EXPECT_EQ(run.Outcome, TAutoLayoutOutcome::Fitted);
        EXPECT_EQ(chooser.Asked, c.asked);
        EXPECT_EQ(PageCount, c.pages);
        EXPECT_EQ(SeparateClues, c.separate);
        // One page needs quality 5, or 4 at the last fallback; two need 3, or 2.
        if (c.pages == 2)
            EXPECT_GE(run.Quality, 4);
        else
            EXPECT_LE(run.Quality, 3);
        // The word bank goes on the only clue page, else on the page beside the grid's.
        EXPECT_EQ(WordBankPage, c.pages == 2 ? 1 : 3 - PuzzlePage);
        // Answers without "Don't ask again" leave the mode alone.
        EXPECT_EQ(AutoLayoutPageChoice, c.mode);
        EXPECT_EQ(AskBeforeUsingTwoPages, c.ask);
    }
}

TEST_F(AutoLayoutTest, ARememberedPageAnswerOutlastsTheLayoutsPutBack)
{
    // The question comes over the layout from before the run, which is put back around it.
    ScriptedPageChooser chooser;
    chooser.Answers = {{TPageChoice::OnePage, true}};
    open(kPuzzle13);
    AutoLayoutPageChoice = 1;
    AskBeforeUsingTwoPages = true;
    RunAutoLayout(0);
    EXPECT_EQ(chooser.Asked, 1);
    EXPECT_EQ(LastAutoLayoutRun().Outcome, TAutoLayoutOutcome::Fitted);
    EXPECT_EQ(AutoLayoutPageChoice, 2);
    EXPECT_FALSE(AskBeforeUsingTwoPages);
}

TEST_F(AutoLayoutTest, TrialsLeaveTheSettingsAloneUntilALayoutFits)
{
    // The trials lay out the run's own copy: the settings the window paints, and the page model
    // the question shows, are those from before the run until a layout fits.
    struct WatchingChooser : ScriptedPageChooser {
        const TLayoutSettings *Before = nullptr;
        int BeforePages = 0;
        bool SawBefore = false;
        int AskPages() override
        {
            SawBefore = LayoutSettings == *Before && PageCount == BeforePages;
            return ScriptedPageChooser::AskPages();
        }
    };
    WatchingChooser chooser;
    chooser.Answers = {{TPageChoice::TwoPages, false}};
    open(kPuzzle13);
    AutoLayoutPageChoice = 1;
    AskBeforeUsingTwoPages = true;
    settle();
    const TLayoutSettings before = LayoutSettings;
    chooser.Before = &before;
    chooser.BeforePages = PageCount;
    int trials = 0, changed = 0;
    AutoLayoutHooks.Progress = [&](int, int) {
        ++trials;
        if (!(LayoutSettings == before))
            ++changed;
    };
    RunAutoLayout(0);
    ASSERT_EQ(LastAutoLayoutRun().Outcome, TAutoLayoutOutcome::Fitted);
    EXPECT_EQ(chooser.Asked, 1);
    EXPECT_TRUE(chooser.SawBefore);
    EXPECT_GT(trials, 0);
    EXPECT_EQ(changed, 0);
    EXPECT_FALSE(LayoutSettings == before);
}

TEST_F(AutoLayoutTest, TheFormsButtonsSetThePageChoice)
{
    struct Case {
        QString button;
        bool remember;
        int result, mode;
        bool ask, separate;
        int bankPage;
    };
    const Case cases[] = {
        {QStringLiteral("OnePageBtn"), false, 2, 1, true, false, 1},
        {QStringLiteral("OnePageBtn"), true, 2, 2, false, false, 1},
        {QStringLiteral("TwoPagesBtn"), true, 3, 1, false, false, 1},
        {QStringLiteral("SeparatePagesBtn"), true, 3, 3, false, true, 7},
    };
    TPageChoiceFm form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Please Choose How Many Pages"));
    EXPECT_EQ(form.SeparatePagesBtn->text(), QStringLiteral("Separate Pages for Grid && Clues"));
    ScriptedUiDialogs dialogs;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.button.toStdString() + (c.remember ? " remembered" : ""));
        AutoLayoutPageChoice = 1;
        AskBeforeUsingTwoPages = true;
        SeparateClues = !c.separate;
        WordBankPage = 7;
        dialogs.OnModal = [&](QDialog &d) {
            d.findChild<QCheckBox *>(QStringLiteral("RememberCB"))->setChecked(c.remember);
            d.findChild<QPushButton *>(c.button)->click();
        };
        EXPECT_EQ(form.AskPages(), c.result);
        EXPECT_EQ(AutoLayoutPageChoice, c.mode);
        EXPECT_EQ(AskBeforeUsingTwoPages, c.ask);
        EXPECT_EQ(SeparateClues, c.separate);
        EXPECT_EQ(WordBankPage, c.bankPage);
    }
    // While it lives the form is the expert's chooser: it is asked during a run in mode 1.
    open(kPuzzle13);
    AutoLayoutPageChoice = 1;
    AskBeforeUsingTwoPages = true;
    dialogs.Asked.clear();
    dialogs.OnModal = [](QDialog &d) { d.findChild<QPushButton *>(QStringLiteral("OnePageBtn"))->click(); };
    RunAutoLayout(0);
    EXPECT_EQ(dialogs.Asked, QStringList{QStringLiteral("modal: PageChoiceFm")});
    EXPECT_EQ(LastAutoLayoutRun().Quality, 5) << int(LastAutoLayoutRun().Outcome);
    EXPECT_EQ(PageCount, 2);
}

TEST_F(AutoLayoutTest, ABorderSetsEveryTrialsMargins)
{
    ASSERT_NEAR(SumValuesAfterEquals(kBorder), kBorderBands, 1e-9);
    open(kPuzzle21);
    FrameStyle = kBorder;
    FrameInside = {0.1, 0.2, 0.3, 0.4};
    FrameOutside = {0.25, 0.25, 0.25, 0.3};
    const TPageRect border{0.25 + kBorderBands + 0.1, 0.25 + kBorderBands + 0.2, 0.25 + kBorderBands + 0.3,
                           0.3 + kBorderBands + 0.4};
    auto near = [](const TPageRect &a, const TPageRect &b) {
        return std::abs(a.Left - b.Left) < 1e-9 && std::abs(a.Top - b.Top) < 1e-9 &&
               std::abs(a.Right - b.Right) < 1e-9 && std::abs(a.Bottom - b.Bottom) < 1e-9;
    };
    int trials = 0, others = 0;
    AutoLayoutHooks.Progress = [&](int percent, int) {
        if (percent == 100)
            return;
        ++trials;
        const TLayoutSettings &s = AutoLayoutTrialSettings();
        if (!near(TPageRect{s.MarginLeft, s.MarginTop, s.MarginRight, s.MarginBottom}, border))
            ++others;
    };
    RunAutoLayout(0);
    EXPECT_EQ(LastAutoLayoutRun().Outcome, TAutoLayoutOutcome::Fitted);
    EXPECT_GT(trials, 0);
    EXPECT_EQ(others, 0);
    // No polish step widens them past the border: the kept margins are the border's.
    EXPECT_TRUE(near(TPageRect{MarginLeft, MarginTop, MarginRight, MarginBottom}, border));
}

TEST_F(AutoLayoutTest, TheSubtitleSizeLimitsTheSolutionHeader)
{
    struct Case {
        int subtitle, header, expected;
    };
    // 2 x 8 div 3 = 5 is under 6: no header at all.
    for (const Case &c : {Case{8, 6, 0}, Case{8, 14, 0}, Case{12, 14, 8}, Case{12, 8, 8}, Case{8, 5, 5}}) {
        SCOPED_TRACE(testing::Message() << c.subtitle << " " << c.header);
        open(kPuzzle15);
        AutoTitleSize = false;
        SubtitleFontSize = c.subtitle;
        SolutionHeaderFontSize = c.header;
        RunAutoLayout(0);
        ASSERT_EQ(LastAutoLayoutRun().Outcome, TAutoLayoutOutcome::Fitted);
        EXPECT_EQ(SolutionHeaderFontSize, c.expected);
    }
}

TEST_F(AutoLayoutTest, ATitleTooWideShrinksAPointAtATime)
{
    PaperWidth = 8.5;
    MarginLeft = MarginRight = 1;
    TitleFont = QStringLiteral("Times New Roman");
    TitleStyle = 0;
    const double room = 8.5 - 2 - 0.2;
    auto width = [](const QString &text, int size) {
        TAsCanvas canvas;
        canvas.Font.Name = TitleFont;
        canvas.Font.Size = size;
        return canvas.TextWidth(text);
    };
    const QString title = QStringLiteral("A Rather Long Title For A Puzzle About Ships");
    int size = 36;
    Improve_TitleFontSize(title, size);
    ASSERT_LT(size, 36);
    EXPECT_LE(width(title, size), room);
    EXPECT_GT(width(title, size + 1), room);
    // Measured in inches: the view's zoom does not change it.
    const double zoom = InchesPerPixel;
    InchesPerPixel = zoom / 3;
    int zoomed = 36;
    Improve_TitleFontSize(title, zoomed);
    InchesPerPixel = zoom;
    EXPECT_EQ(zoomed, size);
    // At most 99 rounds, never below a point.
    const QString endless(400, QLatin1Char('W'));
    for (int start : {36, 120}) {
        int s = start;
        Improve_TitleFontSize(endless, s);
        EXPECT_EQ(s, std::max(1, start - 99));
    }
    // Only with AutoTitleSize, and an empty text is left alone.
    AutoTitleSize = false;
    int untouched = 36;
    Improve_TitleFontSize(title, untouched);
    EXPECT_EQ(untouched, 36);
}

TEST_F(AutoLayoutTest, ThePageModelAfterARunIsTheKeptLayouts)
{
    struct Case {
        const char *name;
        const char *file;
        std::function<void()> prepare;
    };
    const Case cases[] = {
        // The polish ends on a rejected trial of more pages.
        {"21 x 21, separate pages, no centring", kPuzzle21,
         [] {
             AutoCenter = false;
             AutoLayoutPageChoice = 3;
         }},
        {"13 x 13, separate pages, no centring", kPuzzle13,
         [] {
             AutoCenter = false;
             AutoLayoutPageChoice = 3;
         }},
        {"13 x 13, word bank at the bottom", kPuzzle13,
         [] {
             AutoCenter = false;
             DocControls.WordBankCB = true;
             WordBankMode = 1;
         }},
        {"15 x 15 with a border", kPuzzle15, [] { FrameStyle = kBorder; }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        open(c.file);
        c.prepare();
        RunAutoLayout(0);
        ASSERT_EQ(LastAutoLayoutRun().Outcome, TAutoLayoutOutcome::Fitted);
        const int pages = PageCount;
        const int bankPage = WordBankPage;
        const int lastLine = LastClueLine();
        TPageRect lastPlace;
        int lastPage = 0;
        ClueFlow_GetPlacement(lastLine, &lastPage, &lastPlace);
        flow();
        EXPECT_EQ(PageCount, pages);
        EXPECT_EQ(WordBankPage, bankPage);
        TPageRect place;
        int page = 0;
        ASSERT_TRUE(ClueFlow_GetPlacement(LastClueLine(), &page, &place));
        EXPECT_EQ(page, lastPage);
        EXPECT_EQ(place, lastPlace);
    }
}

TEST_F(AutoLayoutTest, ATitleEditThatSpillsRunsTheExpertOnce)
{
    CreateCheckPointPool(5);
    open(kPuzzle15);
    RunAutoLayout(0);
    ASSERT_EQ(PageCount, 2);
    // Titles this big push the grid and clues onto more sheets.
    auto spill = [] { TitleFontSize = SubtitleFontSize = 200; };
    int runs = 0;
    AutoLayoutHooks.SetPageCount = [&](int) { ++runs; };
    spill();
    AutoLayoutAfterTitleEdit();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(PageCount, 2);
    EXPECT_TRUE(UndoRedoState().UndoEnabled);
    // Nothing while AutoLayout_OnSpill is off or while a run is in progress.
    for (bool pending : {false, true}) {
        AutoLayout_OnSpill = pending;
        AutoLayoutPending = pending;
        spill();
        AutoLayoutAfterTitleEdit();
        EXPECT_EQ(runs, 1);
    }
    AutoLayoutPending = false;
    FreeCheckPointPool();
}

TEST_F(AutoLayoutTest, TheProgressDialogShowsAtOnceOrAfterTwoSeconds)
{
    QWidget main;
    TConstructingDlg dialog(&main);
    ConnectAutoLayoutProgress(&dialog);
    bool visibleAtFirstTrial = false;
    auto progress = AutoLayoutHooks.Progress;
    AutoLayoutHooks.Progress = [&](int percent, int trials) {
        if (trials == 1 && percent < 100)
            visibleAtFirstTrial = dialog.isVisible();
        progress(percent, trials);
    };
    // Make Puzzle's run shows it at once, with the percent and Cancel only.
    open(kPuzzle15);
    RunAutoLayout(AutoLayoutShowProgressNow);
    EXPECT_TRUE(visibleAtFirstTrial);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("AutoLayout"));
    EXPECT_FALSE(dialog.ConstructionCanceledLabel->isVisibleTo(&dialog));
    EXPECT_FALSE(dialog.UncluedLabel->isVisibleTo(&dialog));
    EXPECT_FALSE(dialog.ConstructNumberUncluedLabel->isVisibleTo(&dialog));
    EXPECT_TRUE(dialog.CancelBtn->isVisibleTo(&dialog));
    EXPECT_EQ(dialog.ConstructPercentNumberLabel->text(), QStringLiteral("100"));
    EXPECT_FALSE(dialog.isVisible());

    // Other runs show it only when they take more than 2.1 s: each trial here takes 60 ms on
    // the run's clock.
    qint64 now = 0;
    SetAutoLayoutClock([&] { return now; });
    open(kPuzzle15);
    RunAutoLayout(AutoLayoutKeepViewTab);
    EXPECT_FALSE(LastAutoLayoutRun().ProgressShown);
    open(kPuzzle15);
    SetAutoLayoutCacheEnabled(false);
    bool visibleBeforeDelay = false;
    AutoLayoutHooks.Progress = [&](int percent, int trials) {
        if (now <= 2100 && dialog.isVisible())
            visibleBeforeDelay = true;
        now += 60;
        progress(percent, trials);
    };
    RunAutoLayout(0);
    ASSERT_GT(now, 2160) << "the run needs more trials to pass the delay";
    EXPECT_TRUE(LastAutoLayoutRun().ProgressShown);
    EXPECT_FALSE(visibleBeforeDelay);
    EXPECT_GT(LastAutoLayoutRun().ProgressShownAfterMs, 2100);
    EXPECT_LE(LastAutoLayoutRun().ProgressShownAfterMs, 2160);
    EXPECT_FALSE(dialog.isVisible());
}

namespace {

/** A main window that counts the close events it was given. */
class CountingWindow : public QWidget
{
public:
    int Closes = 0;

protected:
    void closeEvent(QCloseEvent *event) override
    {
        ++Closes;
        QWidget::closeEvent(event);
    }
};

} // namespace

TEST_F(AutoLayoutTest, DuringARunOnlyCancelTakesInput)
{
    CountingWindow main;
    auto *title = new QLineEdit(&main);
    title->setObjectName(QStringLiteral("TitleEd"));
    new QVBoxLayout(&main);
    main.layout()->addWidget(title);
    main.show();
    title->setFocus();
    TConstructingDlg dialog(&main);
    ConnectAutoLayoutProgress(&dialog);
    // The idle timer is held back until the run ends.
    QTimer idle;
    idle.setSingleShot(true);
    idle.setInterval(0);
    int idlePasses = 0;
    QObject::connect(&idle, &QTimer::timeout, [&] { ++idlePasses; });
    TInputGuard::HoldTimers(&idle);

    auto progress = AutoLayoutHooks.Progress;
    bool posted = false, sawCancel = false;
    int closesDuringRun = -1;
    AutoLayoutHooks.Progress = [&](int percent, int trials) {
        progress(percent, trials);
        if (!posted) {
            // Typing, closing the window and idle work, then a click on Cancel; the trial's pump
            // follows.
            posted = true;
            auto key = [&](QEvent::Type type) {
                QCoreApplication::postEvent(
                    title, new QKeyEvent(type, Qt::Key_X, Qt::NoModifier, QStringLiteral("x")));
            };
            key(QEvent::KeyPress);
            key(QEvent::KeyRelease);
            // The user closes the window: the window system's close event reaches it.
            QCloseEvent close;
            QSpontaneKeyEvent::setSpontaneous(&close);
            QCoreApplication::instance()->notify(&main, &close);
            idle.start();
            const QPointF centre = QRectF(dialog.CancelBtn->rect()).center();
            const QPointF global = dialog.CancelBtn->mapToGlobal(centre);
            for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
                QCoreApplication::postEvent(
                    dialog.CancelBtn,
                    new QMouseEvent(type, centre, global, Qt::LeftButton,
                                    type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                    Qt::NoModifier));
            return;
        }
        if (ConstructCanceled && !sawCancel) {
            sawCancel = true;
            closesDuringRun = main.Closes;
        }
    };
    open(kPuzzle21);
    settle();
    const LayoutValues before = LayoutValues::now();
    RunAutoLayout(AutoLayoutShowProgressNow);
    EXPECT_EQ(LastAutoLayoutRun().Outcome, TAutoLayoutOutcome::Canceled);
    EXPECT_TRUE(sawCancel);
    EXPECT_EQ(LastAutoLayoutRun().Trials, 1);
    EXPECT_EQ(LayoutValues::now(), before);
    EXPECT_TRUE(title->text().isEmpty());
    EXPECT_EQ(closesDuringRun, 0);
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(idlePasses, 0);
    // Closing the window and the idle work come once the run is over; the typing is gone.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(main.Closes, 1);
    EXPECT_FALSE(main.isVisible());
    EXPECT_EQ(idlePasses, 1);
    EXPECT_TRUE(title->text().isEmpty());
    TInputGuard::ReleaseTimers(&idle);
}
