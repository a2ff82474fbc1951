// bench_layout - the printed page's speed on the layout fixtures (a 15 x 15 and a 21 x 21 puzzle
// with all their clues): the whole clue flow, the re-flow after one clue edit, the page image of
// page 1 and of the solution page at 100 % and a print of every page to a PDF file. Each figure
// is the median of the runs in milliseconds (after three untimed warm-up runs), printed one to a
// line beside its goal.
// Usage: bench_layout [runs [folder]]
//   runs: default 21; the PDF print runs a third as often, at least 3.
//   folder: keeps the page images (PNG) and the PDF files there to look at; else they go to a
//   temporary folder.
#include "cluespg.h"
#include "fileio.h"
#include "globals.h"
#include "printersource.h"
#include "printing.h"
#include "prompter.h"
#include "puzzlefiles.h"
#include "wysiwyg.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

constexpr double kReflowGoalMs = 5;
constexpr double kRepaintGoalMs = 16;
constexpr int kWarmUpRuns = 3;

const char *const kFixtures[] = {"puzzle15.trv", "puzzle21.trv"};

/** Median milliseconds of runs calls of work, after untimed calls that fill the font and glyph
 *  caches (the first few page images take twice as long); undo, when given, runs untimed after
 *  each call. */
double MedianMs(int runs, const std::function<void()> &work, const std::function<void()> &undo = {})
{
    std::vector<double> ms;
    QElapsedTimer timer;
    for (int i = 0; i < kWarmUpRuns + runs; ++i) {
        timer.start();
        work();
        if (i >= kWarmUpRuns)
            ms.push_back(timer.nsecsElapsed() / 1e6);
        if (undo)
            undo();
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

void Report(const char *puzzle, const QString &what, double ms, double goal, const char *goalName)
{
    std::printf("%-12s %-28s %9.3f ms", puzzle, qPrintable(what), ms);
    if (goal > 0)
        std::printf("   %s <= %g ms: %s", goalName, goal, ms <= goal ? "met" : "MISSED");
    std::printf("\n");
    std::fflush(stdout);
}

/** The document as the program holds it after opening the file, with the page layer's hooks. */
void LoadPuzzle(const QString &fileName, TPlainWordList &words)
{
    SetPrinterForTesting(nullptr);
    InitGlobals();
    DocControls = TDocumentControls{};
    FreeClueGrids();
    CreateClueGrids();
    words.Clear();
    WordList = &words;
    DocHooks = TDocumentHooks{};
    FileHooks = TPuzzleFileHooks{};
    InstallDocumentLayoutHooks();
    FileHooks.AfterPuzzleRead = [] { ComputeTitleBlockHeight(); };
    // As in the running program; a file's own clues are kept, no stock clues are added.
    AutoClueSymmetrical = AutoClueFreeform = false;
    MainFormReady = true;
    WYSIWYGChange();
    ReadTextPuzzleFile(fileName);
    ClueFlow_InvalidateAll();
    ClueFlow_EstablishAll();
}

bool BenchPuzzle(const char *name, int runs, const QString &outputFolder, bool keep, TPlainWordList &words)
{
    const QString fileName = QDir(QStringLiteral(TRV_LAYOUT_FIXTURE_DIR)).filePath(QString::fromLatin1(name));
    if (!QFileInfo::exists(fileName)) {
        std::fprintf(stderr, "no fixture %s\n", qPrintable(fileName));
        return false;
    }
    LoadPuzzle(fileName, words);
    const int clues = CluesAcrossSG->RowCount() - 1 + CluesDownSG->RowCount() - 1;
    std::printf("%-12s %d x %d, %d clues, %d pages\n", name, Columns, Rows, clues, PageCount);

    Report(name, QStringLiteral("clue flow"),
           MedianMs(runs,
                    [] {
                        ClueFlow_InvalidateAll();
                        ClueFlow_EstablishAll();
                    }),
           kReflowGoalMs, "re-flow goal");

    // A clue in the middle of the across list that gains and loses a few lines in turn, so
    // that the clues after it move every time.
    const int row = std::max(1, (CluesAcrossSG->RowCount() - 1) / 2);
    const QString original = CluesAcrossSG->Cell(1, row);
    const QString longer = original + QStringLiteral(", and a good deal more said about it so that the clue "
                                                     "takes a few more lines in its column");
    // Each timed edit is followed by the untimed opposite one.
    auto edit = [row](const QString &text) {
        CluesAcrossSG->SetCell(1, row, text);
        ClueFlow_ClueWasChanged(CluesAcrossSG, row);
    };
    const double longerMs = MedianMs(
        runs, [&] { edit(longer); }, [&] { edit(original); });
    Report(name, QStringLiteral("clue edit re-flow, longer"), longerMs, kReflowGoalMs, "re-flow goal");
    edit(longer);
    const double shorterMs = MedianMs(
        runs, [&] { edit(original); }, [&] { edit(longer); });
    Report(name, QStringLiteral("clue edit re-flow, shorter"), shorterMs, kReflowGoalMs, "re-flow goal");
    edit(original);

    const int pages = PageCount;
    QImage image;
    Report(name, QStringLiteral("page 1 at 100 %"), MedianMs(runs, [&] { image = RenderPageImage(1, 100); }),
           kRepaintGoalMs, "page repaint goal");
    Report(name, QStringLiteral("solution page %1 at 100 %").arg(pages),
           MedianMs(runs, [&] { image = RenderPageImage(pages, 100); }), kRepaintGoalMs, "page repaint goal");
    const QString base = QDir(outputFolder).filePath(QFileInfo(fileName).completeBaseName());
    if (keep)
        for (int p = 1; p <= pages; ++p)
            RenderPageImage(p, 100).save(base + QStringLiteral("-page%1.png").arg(p));

    // The print goes to a PDF file through the printer the program would print on.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::Letter));
    printer.setFullPage(true);
    printer.setOutputFileName(base + QStringLiteral(".pdf"));
    SetPrinterForTesting(&printer);
    WYSIWYGChange();
    bool printed = true;
    const double printMs =
        MedianMs(std::max(3, runs / 3), [&] { printed = PrintPages(printer, 1, 1) && printed; });
    Report(name, QStringLiteral("print %1 pages to PDF").arg(pages), printMs, 0, nullptr);
    const qint64 pdfBytes = QFileInfo(printer.outputFileName()).size();
    if (!printed || pdfBytes <= 0)
        std::fprintf(stderr, "%s: the print to PDF failed (%lld bytes written)\n", name,
                     static_cast<long long>(pdfBytes));
    SetPrinterForTesting(nullptr);
    return printed && pdfBytes > 0;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    const bool keep = argc > 2;
    QTemporaryDir temporary;
    const QString outputFolder = keep ? QString::fromLocal8Bit(argv[2]) : temporary.path();
    if (!QDir().mkpath(outputFolder)) {
        std::fprintf(stderr, "no folder for the PDF files\n");
        return 1;
    }
    ScriptedPrompter quiet; // messages are recorded, never shown
    TPlainWordList words;
    std::printf("median of %d runs (PDF print: %d)\n", runs, std::max(3, runs / 3));
    bool ok = true;
    for (const char *name : kFixtures)
        ok = BenchPuzzle(name, runs, outputFolder, keep, words) && ok;
    for (const auto &box : quiet.boxes)
        std::fprintf(stderr, "message: %s\n", qPrintable(box.text));
    MainFormReady = false;
    WordList = nullptr;
    return ok ? 0 : 1;
}
