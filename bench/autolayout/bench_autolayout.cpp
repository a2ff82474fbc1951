// bench_autolayout - the Auto-Layout expert's cost on the layout fixtures (15 x 15, 21 x 21 and the
// 13 x 13 with long clues that needs two pages, in each page mode) and on forced worst cases: the
// 13 x 13 with every clue written eight times, where nothing fits and the expert gives up after
// trying every candidate, in page mode 2, with two pages allowed, and in mode 2 with the column
// count fixed. For each, with the trial cache and without it: the trials, the relayouts, the
// median time of the runs, and the layout chosen (the two must agree). No printer: the page is
// measured at 300 pixels to the inch.
// Usage: bench_autolayout [runs]   (default 5)
#include "autolayout.h"
#include "cluespg.h"
#include "fileio.h"
#include "globals.h"
#include "layoutsettings.h"
#include "printersource.h"
#include "prompter.h"
#include "puzzlefiles.h"
#include "trv600.h"
#include "wysiwyg.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

constexpr double kTypicalGoalMs = 500;
constexpr double kWorstGoalMs = 5000;

struct Case {
    const char *name;
    const char *file;
    std::function<void()> prepare; // changes made after loading
    double goalMs;
};

void Load(const QString &fileName, TPlainWordList &words)
{
    InitGlobals();
    DocControls = TDocumentControls{};
    FreeClueGrids();
    CreateClueGrids();
    words.Clear();
    WordList = &words;
    DocHooks = TDocumentHooks{};
    FileHooks = TPuzzleFileHooks{};
    LayoutHooks = TLayoutHooks{};
    AutoLayoutHooks = TAutoLayoutHooks{};
    InstallDocumentLayoutHooks();
    FileHooks.AfterPuzzleRead = [] { ComputeTitleBlockHeight(); };
    AutoClueSymmetrical = AutoClueFreeform = false;
    MainFormReady = true;
    TRVCreateRenumGrid(15, 15);
    WYSIWYGChange();
    LoadingPuzzle = true;
    ReadTextPuzzleFile(fileName);
    LoadingPuzzle = false;
    CluesNeedRebuild = true;
    RebuildClueGrids();
    ClueFlow_InvalidateAll();
    ClueFlow_EstablishAll();
}

QString Layout()
{
    return QStringLiteral("%1 col, clues %2 pt, leading %3 %, cell %4 x %5, margins %6/%7/%8/%9, "
                          "title %10/%11, left %12, %13 pages")
        .arg(ClueColumns)
        .arg(ClueTextFontSize)
        .arg(LeadingPercentage)
        .arg(CellWidth)
        .arg(CellHeight)
        .arg(MarginTop)
        .arg(MarginLeft)
        .arg(MarginRight)
        .arg(MarginBottom)
        .arg(TitleFontSize)
        .arg(SubtitleFontSize)
        .arg(PuzzleLeft, 0, 'f', 3)
        .arg(PageCount);
}

const char *OutcomeName(TAutoLayoutOutcome o)
{
    switch (o) {
    case TAutoLayoutOutcome::Fitted: return "fitted";
    case TAutoLayoutOutcome::GaveUp: return "gave up";
    case TAutoLayoutOutcome::Canceled: return "canceled";
    default: return "not run";
    }
}

struct Result {
    TAutoLayoutRunInfo info;
    double ms = 0;
    QString layout;
};

Result Measure(const Case &c, bool cache, int runs, TPlainWordList &words)
{
    const QString fileName =
        QDir(QStringLiteral(TRV_LAYOUT_FIXTURE_DIR)).filePath(QString::fromLatin1(c.file));
    std::vector<double> ms;
    Result r;
    SetAutoLayoutCacheEnabled(cache);
    for (int i = 0; i < runs; ++i) {
        Load(fileName, words);
        if (c.prepare)
            c.prepare();
        ScriptedPrompter quiet;
        QElapsedTimer timer;
        timer.start();
        RunAutoLayout(0);
        ms.push_back(timer.nsecsElapsed() / 1e6);
        r.info = LastAutoLayoutRun();
        r.layout = Layout();
    }
    SetAutoLayoutCacheEnabled(true);
    std::sort(ms.begin(), ms.end());
    r.ms = ms[ms.size() / 2];
    return r;
}

// Every clue written eight times over: no candidate holds the clues on one page.
void EightfoldClues()
{
    AutoLayoutPageChoice = 2;
    for (TClueGrid *grid : {CluesAcrossSG, CluesDownSG})
        for (int r = 1; r < grid->RowCount(); ++r) {
            const QString clue = grid->Cell(1, r);
            QStringList copies;
            for (int i = 0; i < 8; ++i)
                copies << clue;
            grid->SetCell(1, r, copies.join(QStringLiteral(" ")));
        }
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    SetPrinterForTesting(nullptr);
    TPlainWordList words;
    const std::vector<Case> cases = {
        {"15x15", "puzzle15.trv", nullptr, kTypicalGoalMs},
        {"21x21", "puzzle21.trv", nullptr, kTypicalGoalMs},
        {"13x13 two pages", "puzzle13.trv", [] { AskBeforeUsingTwoPages = false; }, kTypicalGoalMs},
        {"13x13 mode 2", "puzzle13.trv", [] { AutoLayoutPageChoice = 2; }, kTypicalGoalMs},
        {"13x13 mode 3", "puzzle13.trv", [] { AutoLayoutPageChoice = 3; }, kTypicalGoalMs},
        {"worst case", "puzzle13.trv", EightfoldClues, kWorstGoalMs},
        {"worst, two pages", "puzzle13.trv",
         [] {
             EightfoldClues();
             AutoLayoutPageChoice = 1;
             AskBeforeUsingTwoPages = false;
         },
         kWorstGoalMs},
        {"worst, columns off", "puzzle13.trv",
         [] {
             EightfoldClues();
             AutoClueColumns = false;
         },
         kWorstGoalMs},
    };
    std::printf("median of %d runs; times in ms\n", runs);
    std::printf("%-19s %-8s %7s %9s %6s %9s  %s\n", "case", "cache", "trials", "relayouts", "hits", "time",
                "outcome");
    bool ok = true;
    for (const Case &c : cases) {
        const Result on = Measure(c, true, runs, words);
        const Result off = Measure(c, false, runs, words);
        for (const Result *r : {&on, &off})
            std::printf("%-19s %-8s %7d %9d %6d %9.1f  %s\n", c.name, r == &on ? "on" : "off", r->info.Trials,
                        r->info.Relayouts, r->info.CacheHits, r->ms, OutcomeName(r->info.Outcome));
        const bool same = on.layout == off.layout && on.info.Outcome == off.info.Outcome &&
                          on.info.Trials == off.info.Trials;
        const bool met = on.ms <= c.goalMs;
        std::printf("%-19s layout: %s\n", c.name, qPrintable(on.layout));
        std::printf("%-19s goal <= %g ms with the cache: %s; same layout without it: %s\n", c.name, c.goalMs,
                    met ? "met" : "MISSED", same ? "yes" : "NO");
        std::fflush(stdout);
        ok = ok && same && met;
    }
    MainFormReady = false;
    WordList = nullptr;
    return ok ? 0 : 1;
}
