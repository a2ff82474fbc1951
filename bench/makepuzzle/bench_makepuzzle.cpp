// bench_makepuzzle - the whole Make Puzzle command (theme words, the build with its progress
// dialog and the live view, the clue rebuild without automatic clues) on the ten 15 x 15
// benchmark patterns with their theme words, seed 5, against the bare engine build with
// callbacks that do nothing; then the stock-clue pass on its own.
#include "bench_patterns.h"

#include "cluesedit.h"
#include "cluespg.h"
#include "constructingdlg.h"
#include "globals.h"
#include "mainfm.h"
#include "prompter.h"
#include "trv600.h"
#include "uidialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QRadioButton>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

void Nothing(int, int) {}
void NoRejects() {}

double Seconds(QElapsedTimer &t) { return t.nsecsElapsed() / 1e9; }

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString folder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QCoreApplication::applicationDirPath();
    if (!QDir::setCurrent(folder)) {
        std::fprintf(stderr, "cannot enter %s\n", qPrintable(folder));
        return 1;
    }
    InitGlobals();
    ScriptedPrompter quiet;  // the build's messages are answered, not shown
    ScriptedUiDialogs forms; // and so are its modal forms: a benchmark never waits for a click
    TMainFm window;
    window.SetAutoClueSymmetrical(false);
    window.SetAutoClueFreeform(false);
    MainFormReady = true;
    window.SwitchToSymmetrical(true);
    window.GlueRandomCB->setChecked(false);
    window.resize(1000, 700);
    window.show();
    window.ShowPenciledView();
    QCoreApplication::processEvents();

    std::printf("%-10s %10s %10s %8s %10s\n", "pattern", "bare s", "command s", "over %", "clues s");
    double bareSum = 0, commandSum = 0;
    for (const auto &p : BenchPatterns()) {
        if (std::strncmp(p.name, "15x15", 5) != 0)
            continue;
        // The bare build: the engine alone with callbacks that do nothing, making as many
        // attempts for the theme words as the command does.
        LoadBenchPattern(p);
        TRVThemeDeleteAll();
        for (const auto &w : p.themeWords)
            TRVNewThemeWord(w.c_str(), "", 0);
        TRVEstablishDrawCellCallBacks(Nothing, Nothing, Nothing, Nothing);
        TRVEstablishConstructInfoCB(Nothing);
        TRVEstablishRejectedWordsCB(NoRejects);
        QElapsedTimer t;
        t.start();
        const int bare = TRVConstructKeepingThemeWords(TRV_RIPUP_ALLOWED, TMainFm::MakePuzzleAttempts);
        const double bareSeconds = Seconds(t);

        // The command, with the window's own callbacks.
        TRVEstablishDrawCellCallBacks(TMainFm::EngineRedrawCellCallback, TMainFm::EngineDrawCellColorCallback,
                                      TMainFm::EngineDrawCellNumberCallback,
                                      TMainFm::EngineDrawCellTextCallback);
        TRVEstablishConstructInfoCB([](int steps, int percent) {
            if (ConstructingDlg)
                ConstructingDlg->ShowProgress(percent, steps);
        });
        LoadBenchPattern(p);
        Columns = Rows = 15;
        WordList->Clear();
        for (const auto &w : p.themeWords)
            WordList->AddEntry(QString::fromStdString(w) + QStringLiteral("\tclue"));
        window.ViewPortPaint();
        t.start();
        window.ConstructSpBtnClick();
        const double commandSeconds = Seconds(t);

        // The stock-clue pass on the finished grid.
        window.SetAutoClueSymmetrical(true);
        CluesNeedRebuild = true;
        t.start();
        RebuildClueGrids();
        const double clueSeconds = Seconds(t);
        window.SetAutoClueSymmetrical(false);

        bareSum += bareSeconds;
        commandSum += commandSeconds;
        std::printf("%-10s %10.3f %10.3f %8.1f %10.3f%s\n", p.name, bareSeconds, commandSeconds,
                    bareSeconds > 0 ? 100.0 * (commandSeconds - bareSeconds) / bareSeconds : 0.0, clueSeconds,
                    bare == TRV_FINISHED ? "" : "  (bare build did not finish)");
        std::fflush(stdout);
    }
    std::printf("sum: bare %.3f s, command %.3f s, over %.1f %%\n", bareSum, commandSum,
                bareSum > 0 ? 100.0 * (commandSum - bareSum) / bareSum : 0.0);
    // Anything the command asked on the way is a fault of the road, not of the figures.
    for (const ScriptedPrompter::Box &box : quiet.boxes)
        std::printf("box: %s\n", qPrintable(box.text.left(120)));
    for (const QString &form : forms.Asked)
        std::printf("form: %s\n", qPrintable(form));
    MainFormReady = false;
    return 0;
}
