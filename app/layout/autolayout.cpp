// The Auto-Layout expert: candidate tables, trials with their cache, the search stages, the
// polish steps, the page question and the run's progress, cancel and give-up.
//
// A trial is the composer's relayout (title block, paper fit, clue flow, grid tiles) of the run's
// own copy of the settings, without any window work; LayoutSettings takes the copy once, when a
// layout fitted. Within one run the same trial often comes back (the squeezed stages repeat
// theirs for every step, and with AutoClueColumns off every stage does), so each trial's result
// is kept under the values the relayout reads, and a repeat writes back what the relayout would
// have written.
#include "autolayout.h"

#include "ascanvas.h"
#include "checkpts.h"
#include "cluespg.h"
#include "globals.h"
#include "hourglass.h"
#include "inputguard.h"
#include "layoutsettings.h"
#include "prompter.h"
#include "wysiwyg.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>

#include <algorithm>
#include <utility>
#include <vector>

const int ClueColumnTrialOrder[9] = {4, 3, 2, 5, 6, 1, 7, 8, 9};

TAutoLayoutHooks AutoLayoutHooks;

namespace {

// ---- Candidate tables -----------------------------------------------------------------------------

// Beautiful: the given column count, leading 115, title 36/18, square cells, all four margins the
// level's. A list is tried when its gate (clue size at cell size) fits or it has none.
struct TSizeCells {
    int ClueSize;
    std::vector<double> Cells;
};
struct TBeautifulList {
    int GateSize; // 0: no gate
    double GateCell;
    std::vector<TSizeCells> Runs;
};
struct TBeautifulLevel {
    double Margin;
    int GateSize;
    double GateCell;
    std::vector<TBeautifulList> Lists;
};

const std::vector<TBeautifulLevel> kBeautifulLevels = {
    {1.0,
     12,
     0.30,
     {{13,
       0.30,
       {{16, {0.50, 0.45, 0.40}}, {15, {0.50, 0.45, 0.40, 0.35}}, {14, {0.35, 0.30}}, {13, {0.30}}}},
      {0, 0, {{15, {0.50, 0.45, 0.40}}, {14, {0.50, 0.45, 0.40, 0.35}}, {13, {0.35, 0.30}}, {12, {0.30}}}},
      {0, 0, {{14, {0.50, 0.45, 0.40}}, {13, {0.50, 0.45, 0.40, 0.35}}, {12, {0.35, 0.30}}, {11, {0.30}}}}}},
    {0.75,
     11,
     0.25,
     {{13,
       0.25,
       {{16, {0.50, 0.45, 0.40}},
        {15, {0.50, 0.45, 0.40, 0.35}},
        {14, {0.35, 0.30}},
        {13, {0.30, 0.28, 0.25}}}},
      {12,
       0.25,
       {{15, {0.50, 0.45, 0.40}},
        {14, {0.50, 0.45, 0.40, 0.35}},
        {13, {0.35, 0.30}},
        {12, {0.30, 0.28, 0.25}}}},
      {0,
       0,
       {{14, {0.50, 0.45, 0.40}},
        {13, {0.50, 0.45, 0.40, 0.35}},
        {12, {0.35, 0.30}},
        {11, {0.30, 0.28, 0.25}}}}}},
    {0.5,
     10,
     0.25,
     {{12,
       0.25,
       {{15, {0.50, 0.45, 0.40}},
        {14, {0.50, 0.45, 0.40, 0.35}},
        {13, {0.35, 0.30}},
        {12, {0.30, 0.28, 0.25}}}},
      {0,
       0,
       {{14, {0.50, 0.45, 0.40}},
        {13, {0.50, 0.45, 0.40, 0.35}},
        {12, {0.35, 0.30}},
        {11, {0.30, 0.28, 0.25}},
        {10, {0.25}}}}}},
};

// Regular: the given column count, square cells of 0.25, all margins 0.5.
struct TRegularTrial {
    int ClueSize; // 0: no gate
    int Leading;
    int Title;
    int Subtitle;
};
struct TRegularList {
    TRegularTrial Gate;
    std::vector<TRegularTrial> Trials;
};
constexpr TRegularTrial kRegularGate{8, 110, 24, 12};
const std::vector<TRegularList> kRegularLists = {
    {{10, 110, 24, 12},
     {{10, 112, 36, 18},
      {10, 115, 32, 16},
      {10, 112, 32, 16},
      {10, 110, 32, 16},
      {10, 112, 28, 14},
      {10, 110, 28, 14},
      {10, 110, 26, 13},
      {10, 110, 24, 12}}},
    {{9, 110, 24, 12},
     {{9, 115, 28, 14},
      {9, 115, 26, 13},
      {9, 115, 24, 12},
      {9, 110, 28, 14},
      {9, 110, 26, 13},
      {9, 110, 24, 12}}},
    {{0, 0, 0, 0},
     {{8, 115, 28, 14},
      {8, 115, 26, 13},
      {8, 115, 24, 12},
      {8, 110, 28, 14},
      {8, 110, 26, 13},
      {8, 110, 24, 12}}},
};

// Squished: every trial tries all column counts; margins are top = left/right, and bottom.
struct TSquishedTrial {
    int ClueSize;
    int Leading;
    int Title;
    int Subtitle;
    double CellWidth;
    double CellHeight;
    double TopSides;
    double Bottom;
};
struct TSquishedGroup {
    TSquishedTrial Gate;
    std::vector<TSquishedTrial> Trials;
};

// The four rows that groups C to F try at one cell size and margins.
std::vector<TSquishedTrial> squishedFour(double w, double h, double topSides, double bottom)
{
    return {{9, 110, 22, 11, w, h, topSides, bottom},
            {8, 110, 20, 10, w, h, topSides, bottom},
            {8, 109, 18, 10, w, h, topSides, bottom},
            {8, 108, 16, 10, w, h, topSides, bottom}};
}

std::vector<TSquishedTrial> joined(std::vector<TSquishedTrial> a, const std::vector<TSquishedTrial> &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<TSquishedGroup> kSquishedGroups = {
    // A
    {{8, 114, 20, 10, 0.23, 0.24, 0.35, 0.5},
     {{10, 114, 24, 12, 0.24, 0.24, 0.45, 0.5},
      {10, 113, 24, 12, 0.24, 0.24, 0.40, 0.5},
      {9, 114, 24, 12, 0.24, 0.24, 0.40, 0.5},
      {9, 114, 24, 12, 0.23, 0.24, 0.40, 0.5},
      {9, 114, 24, 12, 0.23, 0.24, 0.35, 0.5},
      {8, 114, 20, 10, 0.23, 0.24, 0.35, 0.5}}},
    // B
    {{8, 112, 20, 10, 0.21, 0.23, 0.25, 0.5},
     {{9, 114, 22, 11, 0.22, 0.24, 0.35, 0.5},
      {8, 114, 20, 10, 0.22, 0.24, 0.35, 0.5},
      {8, 114, 20, 10, 0.22, 0.24, 0.30, 0.5},
      {9, 112, 22, 11, 0.21, 0.23, 0.35, 0.5},
      {8, 112, 20, 10, 0.21, 0.23, 0.35, 0.5},
      {8, 112, 20, 10, 0.21, 0.23, 0.30, 0.5},
      {8, 112, 20, 10, 0.21, 0.23, 0.25, 0.5}}},
    // C
    {{8, 108, 16, 10, 0.19, 0.21, 0.25, 0.45},
     joined(squishedFour(0.20, 0.22, 0.25, 0.5), squishedFour(0.19, 0.21, 0.25, 0.45))},
    // D, E, F
    {{8, 108, 16, 10, 0.18, 0.20, 0.25, 0.25}, squishedFour(0.18, 0.20, 0.25, 0.25)},
    {{8, 108, 16, 10, 0.17, 0.20, 0.25, 0.25}, squishedFour(0.17, 0.20, 0.25, 0.25)},
    {{8, 108, 16, 10, 0.16, 0.20, 0.25, 0.25}, squishedFour(0.16, 0.20, 0.25, 0.25)},
    // G
    {{7, 108, 14, 9, 0.16, 0.20, 0.25, 0.25},
     {{7, 110, 20, 10, 0.16, 0.20, 0.25, 0.25},
      {7, 110, 18, 9, 0.16, 0.20, 0.25, 0.25},
      {7, 109, 16, 9, 0.16, 0.20, 0.25, 0.25},
      {7, 108, 14, 9, 0.16, 0.20, 0.25, 0.25}}},
    // H, the last: a failed gate ends the strategy.
    {{7, 100, 14, 9, 0.10, 0.13, 0.25, 0.25},
     {{7, 108, 14, 9, 0.15, 0.19, 0.25, 0.25},
      {7, 107, 14, 9, 0.14, 0.18, 0.25, 0.25},
      {7, 106, 14, 9, 0.13, 0.17, 0.25, 0.25},
      {7, 105, 14, 9, 0.12, 0.16, 0.25, 0.25},
      {7, 100, 14, 9, 0.12, 0.15, 0.25, 0.25},
      {7, 100, 14, 9, 0.11, 0.14, 0.25, 0.25},
      {7, 100, 14, 9, 0.10, 0.13, 0.25, 0.25}}},
};

// ---- Run state ------------------------------------------------------------------------------------

// Every value a relayout reads that a trial can change.
struct TTrialKey {
    int Columns, NumberSize, TextSize, AcrDwnSize, Leading;
    double Top, Left, Right, Bottom, CellWidth, CellHeight;
    int TitleSize, SubtitleSize;
    bool NewColumnDown, SeparateClues;
    int WordBankPage;
    double PuzzleLeft;
    bool operator==(const TTrialKey &) const = default;
};

size_t qHash(const TTrialKey &k, size_t seed = 0)
{
    return qHashMulti(seed, k.Columns, k.NumberSize, k.TextSize, k.AcrDwnSize, k.Leading, k.Top, k.Left,
                      k.Right, k.Bottom, k.CellWidth, k.CellHeight, k.TitleSize, k.SubtitleSize,
                      k.NewColumnDown, k.SeparateClues, k.WordBankPage, k.PuzzleLeft);
}

// A trial's quality and what its relayout wrote that the search reads later.
struct TTrialResult {
    int Quality;
    int ClueColumns;
    double MarginTop, MarginLeft, MarginRight, MarginBottom;
    double WordBankHeight;
};

struct TRun {
    bool Active = false;
    bool ProgressShown = false;
    double FrameBandTotal = 0;
    int Percent = 0;
    qint64 StartMs = -1; // on the run clock; -1 before the first run
    QElapsedTimer PumpClock;
    QHash<TTrialKey, TTrialResult> Cache;
    const TLayoutSettings *Trial = nullptr; // the run's copy of the settings
};
TRun g_run;
TAutoLayoutRunInfo g_info;
bool g_cacheEnabled = true;
TPageChooser *g_chooser = nullptr;
bool g_titleEditRunning = false;

// The answer the page question last had for this puzzle: not asked yet, closed without a
// choice, or the choice; title edits take it instead of asking again. The last choice a
// button applied is noted to fill it.
enum class TTitleEditAnswer {
    NotAsked,
    Closed,
    Chosen
};
TTitleEditAnswer g_titleEditAnswer = TTitleEditAnswer::NotAsked;
TPageChoice g_titleEditChoice = TPageChoice::TwoPages;
bool g_choiceApplied = false;
TPageChoice g_lastChoice = TPageChoice::TwoPages;

constexpr qint64 kProgressDelayMs = 2100;
constexpr qint64 kPumpIntervalMs = 25;

std::function<qint64()> g_clock;

// Milliseconds on the run clock: the one the tests set, else a steady clock.
qint64 nowMs()
{
    if (g_clock)
        return g_clock();
    static QElapsedTimer steady;
    if (!steady.isValid())
        steady.start();
    return steady.elapsed();
}

double bandTotal(const TLayoutSettings &s)
{
    return g_run.Active ? g_run.FrameBandTotal : SumValuesAfterEquals(s.FrameStyle);
}

TTrialKey currentKey(const TLayoutSettings &s)
{
    return {s.ClueColumns,  s.ClueNumberFontSize, s.ClueTextFontSize, s.AcrDwnFontSize, s.LeadingPercentage,
            s.MarginTop,    s.MarginLeft,         s.MarginRight,      s.MarginBottom,   s.CellWidth,
            s.CellHeight,   s.TitleFontSize,      s.SubtitleFontSize, s.NewColumnDown,  s.SeparateClues,
            s.WordBankPage, s.PuzzleLeft};
}

// The composer's relayout of the settings for a trial: no window re-arrangement, no repaint.
void relayout(TLayoutSettings &s)
{
    if (g_run.Active)
        ++g_info.Relayouts;
    ComputeTitleBlockHeight(s);
    FitLayoutToPaper(s);
    if (CluesNeedRebuild)
        RebuildClueGrids();
    ClueFlow_InvalidateAll();
    ClueFlow_EstablishAll(s);
}

void setProgress(int percent) { g_run.Percent = percent; }

// Lets painting, timers and the progress window's Cancel run, at most every 25 ms; the run's
// input guard keeps everything else waiting.
void pumpMessages()
{
    if (!QCoreApplication::instance() || QCoreApplication::closingDown())
        return;
    if (g_run.PumpClock.isValid() && g_run.PumpClock.elapsed() < kPumpIntervalMs)
        return;
    QCoreApplication::processEvents();
    g_run.PumpClock.start();
}

// The trial's quality from the cache or from a relayout.
int trialQuality(TLayoutSettings &s)
{
    if (!g_run.Active || !g_cacheEnabled)
        return FitQuality(s);
    const TTrialKey key = currentKey(s);
    const auto hit = g_run.Cache.constFind(key);
    if (hit != g_run.Cache.constEnd()) {
        ++g_info.CacheHits;
        const TTrialResult &r = hit.value();
        s.ClueColumns = r.ClueColumns;
        s.MarginTop = r.MarginTop;
        s.MarginLeft = r.MarginLeft;
        s.MarginRight = r.MarginRight;
        s.MarginBottom = r.MarginBottom;
        s.asWordBankHeight = r.WordBankHeight;
        return r.Quality;
    }
    const int quality = FitQuality(s);
    g_run.Cache.insert(key, {quality, s.ClueColumns, s.MarginTop, s.MarginLeft, s.MarginRight, s.MarginBottom,
                             s.asWordBankHeight});
    return quality;
}

void afterTrial()
{
    if (!g_run.Active)
        return;
    ++g_info.Trials;
    if (AutoLayoutHooks.Progress)
        AutoLayoutHooks.Progress(g_run.Percent, g_info.Trials);
    pumpMessages();
}

// The polish steps' trial: every value as the settings hold it, with the changes given.
struct TCurrent {
    TLayoutSettings &S;
    int Columns = S.ClueColumns;
    int ClueSize = S.ClueTextFontSize;
    int Leading = S.LeadingPercentage;
    double CellW = S.CellWidth, CellH = S.CellHeight;
    double Top = S.MarginTop, Sides = S.MarginLeft, Bottom = S.MarginBottom;
    int Title = S.TitleFontSize, Subtitle = S.SubtitleFontSize;
    explicit TCurrent(TLayoutSettings &s) : S(s) {}
    bool fits(int fqr) const
    {
        return Fits(S, Columns, ClueSize, Leading, CellW, CellH, Top, Sides, Bottom, Title, Subtitle, fqr);
    }
};

void applyBorderMargins(TLayoutSettings &s)
{
    const TPageRect m = FrameAdjustedMargins(s, s.MarginTop, s.MarginLeft, s.MarginBottom);
    s.MarginTop = m.Top;
    s.MarginLeft = m.Left;
    s.MarginRight = m.Right;
    s.MarginBottom = m.Bottom;
}

} // namespace

// ---- Trials ---------------------------------------------------------------------------------------

TPageRect FrameAdjustedMargins(const TLayoutSettings &s, double top, double leftRight, double bottom)
{
    TPageRect m{leftRight, top, leftRight, bottom};
    const double w = bandTotal(s);
    if (w > 0) {
        m.Left = s.FrameOutside.Left + w + s.FrameInside.Left;
        m.Top = s.FrameOutside.Top + w + s.FrameInside.Top;
        m.Right = s.FrameOutside.Right + w + s.FrameInside.Right;
        m.Bottom = s.FrameOutside.Bottom + w + s.FrameInside.Bottom;
    }
    return m;
}

bool GridFitsPaper(const TLayoutSettings &s, double cellWidth, double cellHeight, double left, double top,
                   double right, double bottom)
{
    if (DocControls.WordBankCB && s.WordBankMode == 1 && s.WordBankPage == s.PuzzlePage)
        bottom += s.asWordBankHeight + 0.1;
    return Columns * cellWidth + left + right <= s.PaperWidth &&
           Rows * cellHeight + top + bottom <= s.PaperHeight;
}

bool CurrentGridFitsPaper(const TLayoutSettings &s)
{
    return GridFitsPaper(s, s.CellWidth, s.CellHeight, s.MarginLeft, s.MarginTop, s.MarginRight,
                         s.MarginBottom);
}

int CountPrintedPages(TLayoutSettings &s)
{
    relayout(s);
    if (!g_run.Active && AutoLayoutHooks.InvalidateView)
        AutoLayoutHooks.InvalidateView();
    return GridTileColumns * GridTileRows + PageCount - 1;
}

int CountPrintedPages() { return CountPrintedPages(LayoutSettings); }

int FitQuality(TLayoutSettings &s)
{
    const int n = CountPrintedPages(s);
    if (GridTileColumns > 1 || GridTileRows > 1 || !CurrentGridFitsPaper(s))
        return 0;
    // Clue lines past the last page are lost, whatever page count the composer settles on.
    if (OverflowLineCount > 0 || n > 3)
        return 1;
    const bool clean = NoWidows(s);
    if (n == 3)
        return clean ? 3 : 2;
    return clean ? 5 : 4;
}

int FitQuality() { return FitQuality(LayoutSettings); }

bool Fits(TLayoutSettings &s, int columns, int clueSize, int leading, double cellWidth, double cellHeight,
          double top, double leftRight, double bottom, int titleSize, int subtitleSize, int fqr)
{
    if (ConstructCanceled)
        return true;
    CheckAutoLayoutClock();
    const TPageRect m = FrameAdjustedMargins(s, top, leftRight, bottom);
    if (!GridFitsPaper(s, cellWidth, cellHeight, leftRight, m.Top, leftRight, m.Bottom))
        return false;
    if (s.AutoCellSize) {
        s.CellWidth = cellWidth;
        s.CellHeight = cellHeight;
    }
    if (s.AutoMargins) {
        s.MarginTop = m.Top;
        s.MarginLeft = m.Left;
        s.MarginRight = m.Right;
        s.MarginBottom = m.Bottom;
    }
    if (s.AutoClueColumns)
        s.ClueColumns = columns;
    if (s.AutoClueSize)
        s.ClueTextFontSize = s.ClueNumberFontSize = s.AcrDwnFontSize = clueSize;
    if (s.AutoClueSpacing)
        s.LeadingPercentage = leading;
    if (s.AutoTitleSize) {
        s.TitleFontSize = titleSize;
        s.SubtitleFontSize = subtitleSize;
    }
    const int quality = trialQuality(s);
    afterTrial();
    return quality >= fqr;
}

bool FitsAnyColumns(TLayoutSettings &s, int clueSize, int leading, double cellWidth, double cellHeight,
                    double top, double leftRight, double bottom, int titleSize, int subtitleSize, int fqr)
{
    for (int columns : ClueColumnTrialOrder)
        if (Fits(s, columns, clueSize, leading, cellWidth, cellHeight, top, leftRight, bottom, titleSize,
                 subtitleSize, fqr))
            return true;
    return false;
}

// ---- Strategies -----------------------------------------------------------------------------------

bool AutoLayout_TryBeautiful(TLayoutSettings &s, int columns, int fqr)
{
    for (const TBeautifulLevel &level : kBeautifulLevels) {
        const double m = level.Margin;
        auto trial = [&](int size, double cell) {
            return Fits(s, columns, size, 115, cell, cell, m, m, m, 36, 18, fqr);
        };
        if (!trial(level.GateSize, level.GateCell))
            continue;
        for (const TBeautifulList &list : level.Lists) {
            if (list.GateSize && !trial(list.GateSize, list.GateCell))
                continue;
            for (const TSizeCells &run : list.Runs)
                for (double cell : run.Cells)
                    if (trial(run.ClueSize, cell))
                        return true;
        }
    }
    return false;
}

bool AutoLayout_TryRegular(TLayoutSettings &s, int columns, int fqr)
{
    auto trial = [&](const TRegularTrial &t) {
        return Fits(s, columns, t.ClueSize, t.Leading, 0.25, 0.25, 0.5, 0.5, 0.5, t.Title, t.Subtitle, fqr);
    };
    if (!trial(kRegularGate))
        return false;
    for (const TRegularList &list : kRegularLists) {
        if (list.Gate.ClueSize && !trial(list.Gate))
            continue;
        for (const TRegularTrial &t : list.Trials)
            if (trial(t))
                return true;
    }
    return false;
}

bool AutoLayout_TrySquished(TLayoutSettings &s, int /*columns*/, int fqr)
{
    auto trial = [&](const TSquishedTrial &t) {
        return FitsAnyColumns(s, t.ClueSize, t.Leading, t.CellWidth, t.CellHeight, t.TopSides, t.TopSides,
                              t.Bottom, t.Title, t.Subtitle, fqr);
    };
    for (const TSquishedGroup &group : kSquishedGroups) {
        if (!trial(group.Gate))
            continue;
        for (const TSquishedTrial &t : group.Trials)
            if (trial(t))
                return true;
    }
    return false;
}

bool AutoLayout_TryStage(TLayoutSettings &s, int progressBase, int strategy, int fqr)
{
    for (int step = 1; step <= 9; ++step) {
        setProgress(progressBase + step);
        bool ok = false;
        switch (strategy) {
        case AutoLayoutBeautiful: ok = AutoLayout_TryBeautiful(s, step, fqr); break;
        case AutoLayoutRegular: ok = AutoLayout_TryRegular(s, step, fqr); break;
        default: ok = AutoLayout_TrySquished(s, ClueColumnTrialOrder[step - 1], fqr); break;
        }
        if (ok)
            return true;
    }
    return false;
}

// ---- Polish ---------------------------------------------------------------------------------------

void Improve_SideMargins(TLayoutSettings &s, int fqr)
{
    // A border fixes every trial's margins: widening them would store margins no trial used.
    if (!s.AutoMargins || bandTotal(s) > 0)
        return;
    TCurrent t(s);
    double kept = s.MarginLeft;
    for (double m = kept + 0.1; m <= 1.00001; m += 0.1) {
        t.Sides = m;
        if (!t.fits(fqr))
            break;
        kept = m;
    }
    s.MarginLeft = s.MarginRight = kept;
}

void Improve_TitleFontSize(const TLayoutSettings &s, const QString &text, int &size)
{
    if (!s.AutoTitleSize || text.isEmpty())
        return;
    // Measured in inches on the inch canvas, so the view's zoom does not matter.
    TAsCanvas canvas;
    canvas.Font.Name = s.TitleFont.isEmpty() ? QStringLiteral("Arial") : s.TitleFont;
    canvas.Font.Style = s.TitleStyle;
    canvas.Font.Size = size;
    const double room = s.PaperWidth - s.MarginLeft - s.MarginRight - 0.2;
    for (int rounds = 0; rounds < 99 && canvas.TextWidth(text) > room; ++rounds) {
        size = std::max(1, size - 1);
        canvas.Font.Size = size;
    }
}

void Improve_TitleFontSize(const QString &text, int &size)
{
    Improve_TitleFontSize(LayoutSettings, text, size);
}

void Improve_TopBottomMargins(TLayoutSettings &s, int fqr)
{
    if (!s.AutoMargins || bandTotal(s) > 0)
        return;
    TCurrent t(s);
    double top = s.MarginTop, bottom = s.MarginBottom;
    for (;;) {
        t.Top = top;
        t.Bottom = bottom + 0.1;
        if (!(t.Bottom < 0.5) || !t.fits(fqr))
            break;
        bottom = t.Bottom;
    }
    for (;;) {
        t.Bottom = bottom;
        t.Top = top + 0.1;
        if (!(t.Top < 0.5) || !t.fits(fqr))
            break;
        top = t.Top;
    }
    while (top + bottom + 0.1 < 1.0001) {
        t.Top = top + 0.05;
        t.Bottom = bottom + 0.05;
        if (!t.fits(fqr))
            break;
        top = t.Top;
        bottom = t.Bottom;
    }
    s.MarginTop = top;
    s.MarginBottom = bottom;
}

void Improve_ClueSpacing(TLayoutSettings &s, int fqr)
{
    if (!s.AutoClueSpacing)
        return;
    TCurrent t(s);
    int kept = s.LeadingPercentage;
    while (kept < 115) {
        t.Leading = kept + 1;
        if (!t.fits(fqr))
            break;
        kept = t.Leading;
    }
    s.LeadingPercentage = kept;
}

void Improve_CenterPuzzleGrid(TLayoutSettings &s, int fqr)
{
    if (!s.AutoCenter)
        return;
    const double old = s.PuzzleLeft;
    s.PuzzleLeft = s.PaperWidth / 2 - Columns * s.CellWidth / 2 - s.MarginLeft;
    if (TCurrent(s).fits(fqr))
        return;
    s.PuzzleLeft = old;
    if (!TCurrent(s).fits(fqr))
        InternalError(QStringLiteral("In Improve_CenterPuzzleGrid, Fits() failed to restore parameters."));
}

// ---- Pages ----------------------------------------------------------------------------------------

int DefaultWordBankPage(const TLayoutSettings &s)
{
    return s.AutoLayoutPageChoice == 3 ? 3 - s.PuzzlePage : 1;
}

int DefaultWordBankPage() { return DefaultWordBankPage(LayoutSettings); }

int ApplyPageChoice(TPageChoice choice, bool remember)
{
    g_choiceApplied = true;
    g_lastChoice = choice;
    switch (choice) {
    case TPageChoice::OnePage:
        if (remember) {
            AskBeforeUsingTwoPages = false;
            AutoLayoutPageChoice = 2;
        }
        SeparateClues = false;
        WordBankPage = 1;
        return 2;
    case TPageChoice::TwoPages:
        if (remember) {
            AskBeforeUsingTwoPages = false;
            AutoLayoutPageChoice = 1;
        }
        SeparateClues = false;
        WordBankPage = DefaultWordBankPage();
        return 3;
    case TPageChoice::SeparatePages:
        if (remember) {
            AskBeforeUsingTwoPages = false;
            AutoLayoutPageChoice = 3;
        }
        SeparateClues = true;
        return 3;
    }
    return 3;
}

TPageChooser *SetPageChooser(TPageChooser *chooser) { return std::exchange(g_chooser, chooser); }

int AskPageChoice()
{
    if (AutoLayoutPageChoice == 2)
        return 5;
    if (AutoLayoutPageChoice != 1 || !AskBeforeUsingTwoPages || !g_chooser)
        return 3;
    // A title edit takes the answer this puzzle's question already had.
    if (g_titleEditRunning && g_titleEditAnswer == TTitleEditAnswer::Chosen)
        return ApplyPageChoice(g_titleEditChoice, false) == 2 ? 5 : 3;
    if (g_titleEditRunning && g_titleEditAnswer == TTitleEditAnswer::Closed)
        return 3;
    g_choiceApplied = false;
    const int result = g_chooser->AskPages();
    g_titleEditAnswer = g_choiceApplied ? TTitleEditAnswer::Chosen : TTitleEditAnswer::Closed;
    g_titleEditChoice = g_lastChoice;
    return result == 2 ? 5 : 3;
}

ScriptedPageChooser::ScriptedPageChooser() : m_previous(SetPageChooser(this)) {}

ScriptedPageChooser::~ScriptedPageChooser() { SetPageChooser(m_previous); }

int ScriptedPageChooser::AskPages()
{
    ++Asked;
    if (Answers.isEmpty())
        return 0;
    const Answer a = Answers.takeFirst();
    return ApplyPageChoice(a.Choice, a.Remember);
}

// ---- Progress, give-up ------------------------------------------------------------------------

void ShowAutoLayoutProgress()
{
    if (g_run.ProgressShown)
        return;
    g_run.ProgressShown = true;
    g_info.ProgressShown = true;
    g_info.ProgressShownAfterMs = g_run.StartMs >= 0 ? nowMs() - g_run.StartMs : 0;
    if (AutoLayoutHooks.ShowProgress)
        AutoLayoutHooks.ShowProgress();
}

void HideAutoLayoutProgress()
{
    if (!g_run.ProgressShown)
        return;
    g_run.ProgressShown = false;
    if (AutoLayoutHooks.HideProgress)
        AutoLayoutHooks.HideProgress();
}

void CheckAutoLayoutClock()
{
    if (g_run.Active && !g_run.ProgressShown && g_run.StartMs >= 0 &&
        nowMs() - g_run.StartMs > kProgressDelayMs)
        ShowAutoLayoutProgress();
}

QString AutoLayoutGiveUpText(bool twoPages)
{
    return QStringLiteral("The Auto-Layout expert can't squeeze your puzzle down to %1. ")
               .arg(twoPages ? QStringLiteral("two pages") : QStringLiteral("one page")) +
           ParagraphBreak +
           QStringLiteral("This might be because the current Auto-Layout settings don't allow it to ") +
           QStringLiteral("change the things it needs to change. The Expert is being disabled. ") +
           QStringLiteral("To reenable the Auto-Layout expert and change its settings, ") +
           QStringLiteral("pull down the Layout menu and select the first item.");
}

void AutoLayoutGiveUp(bool twoPages)
{
    DocControls.AutoLayout = false;
    if (AutoLayoutHooks.AutoLayoutUnchecked)
        AutoLayoutHooks.AutoLayoutUnchecked();
    prompter().ask(AutoLayoutGiveUpText(twoPages), QString(), Prompter::Information, Prompter::Ok);
}

// ---- Runs -----------------------------------------------------------------------------------------

void RunAutoLayout(int flags)
{
    if (!DocControls.AutoLayout) {
        AutoLayoutPending = false;
        return;
    }
    if (g_run.Active)
        return;
    g_info = TAutoLayoutRunInfo{};
    // A cancel left from an earlier job (a cancelled build runs the expert next) is not ours.
    ConstructCanceled = false;
    const bool keepTab = (flags & AutoLayoutKeepViewTab) && AutoLayoutHooks.ViewTabCaption;
    const QString tab = keepTab ? AutoLayoutHooks.ViewTabCaption() : QString();
    g_run.ProgressShown = false;
    g_run.StartMs = nowMs();
    if (flags & AutoLayoutShowProgressNow)
        ShowAutoLayoutProgress();
    DoAutoLayout();
    HideAutoLayoutProgress();
    // The cancel ended this run; it must not end the next build or run too.
    ConstructCanceled = false;
    if (g_info.Outcome == TAutoLayoutOutcome::GaveUp)
        AutoLayoutGiveUp(g_info.Quality == 2);
    if (keepTab && AutoLayoutHooks.ShowViewTab)
        AutoLayoutHooks.ShowViewTab(tab);
}

// The question is modal and the page is painted behind it: it shows the layout from before the
// run, which LayoutSettings still holds, not a trial's half-fitted values. The answer goes to
// LayoutSettings, as the form's buttons do: the page mode it asked to remember stays there, and
// the clue placement it chose goes on to the trial, with which the search goes on.
int askPageChoiceOverRunStart(TLayoutSettings &trial)
{
    if (AutoLayoutPageChoice != 1 || !AskBeforeUsingTwoPages || !g_chooser)
        return AskPageChoice();
    // A copy is laid out, so that what the composer settles does not stay in LayoutSettings.
    TLayoutSettings shown = LayoutSettings;
    relayout(shown);
    if (AutoLayoutHooks.InvalidateView)
        AutoLayoutHooks.InvalidateView();
    const bool separate = SeparateClues;
    const int bankPage = WordBankPage;
    const int q = AskPageChoice();
    trial.AutoLayoutPageChoice = AutoLayoutPageChoice;
    trial.AskBeforeUsingTwoPages = AskBeforeUsingTwoPages;
    trial.SeparateClues = std::exchange(SeparateClues, separate);
    trial.WordBankPage = std::exchange(WordBankPage, bankPage);
    return q;
}

bool DoAutoLayout()
{
    THourglass busy;
    if (g_run.StartMs < 0)
        g_run.StartMs = nowMs();
    g_run.Active = true;
    g_run.Cache.clear();
    g_run.PumpClock.invalidate();
    AutoLayoutPending = true;
    // The trials change a copy of the settings; LayoutSettings takes the layout that fitted.
    TLayoutSettings trial = LayoutSettings;
    trial.WordBankPage = DefaultWordBankPage(trial);
    g_run.FrameBandTotal = SumValuesAfterEquals(trial.FrameStyle);
    trial.SeparateClues = trial.AutoLayoutPageChoice == 3;
    g_run.Trial = &trial;

    bool ok = false;
    int q = 5;
    {
        TInputGuard guard(AutoLayoutHooks.CancelWindow ? AutoLayoutHooks.CancelWindow() : nullptr);
        if (trial.AutoNewColumn)
            trial.NewColumnDown = true;
        setProgress(2);
        ok = AutoLayout_TryBeautiful(trial, 2, 5);
        if (!ok) {
            if (trial.AutoNewColumn)
                trial.NewColumnDown = false;
            ok = AutoLayout_TryStage(trial, 20, AutoLayoutBeautiful, 5);
        }
        if (!ok)
            ok = AutoLayout_TryStage(trial, 40, AutoLayoutRegular, 5);
        if (!ok) {
            q = askPageChoiceOverRunStart(trial);
            if (q == 3) {
                if (trial.AutoNewColumn) {
                    trial.NewColumnDown = true;
                    setProgress(60);
                    ok = AutoLayout_TryBeautiful(trial, 2, 3);
                    if (!ok)
                        trial.NewColumnDown = false;
                }
                if (!ok)
                    ok = AutoLayout_TryStage(trial, 60, AutoLayoutBeautiful, 3);
                if (!ok)
                    ok = AutoLayout_TryStage(trial, 70, AutoLayoutRegular, 3);
            }
            if (!ok)
                ok = AutoLayout_TryStage(trial, 80, AutoLayoutSquished, q);
        }
        if (!ok) {
            q = q == 5 ? 4 : 2;
            ok = AutoLayout_TryStage(trial, 90, AutoLayoutSquished, q);
        }

        if (ok && !ConstructCanceled) {
            Improve_SideMargins(trial, q);
            Improve_TitleFontSize(trial, DocControls.PuzzleTitle, trial.TitleFontSize);
            Improve_TitleFontSize(trial, DocControls.PuzzleSubtitle, trial.SubtitleFontSize);
            if (2 * trial.SubtitleFontSize < 3 * trial.SolutionHeaderFontSize) {
                trial.SolutionHeaderFontSize = 2 * trial.SubtitleFontSize / 3;
                if (trial.SolutionHeaderFontSize < 6)
                    trial.SolutionHeaderFontSize = 0;
            }
            Improve_TopBottomMargins(trial, q);
            Improve_ClueSpacing(trial, q);
            Improve_CenterPuzzleGrid(trial, q);
        }
        setProgress(100);
        if (AutoLayoutHooks.Progress)
            AutoLayoutHooks.Progress(100, g_info.Trials);
        // A cancel during the polish counts too: its later trials all "fitted".
        const bool canceled = ConstructCanceled;

        g_info.Quality = q;
        if (canceled) {
            g_info.Outcome = TAutoLayoutOutcome::Canceled;
        } else if (!ok) {
            // Nothing fitted: the layout from before the run stays, not the last squeeze.
            g_info.Outcome = TAutoLayoutOutcome::GaveUp;
        } else {
            g_info.Outcome = TAutoLayoutOutcome::Fitted;
            if (trial.AutoMargins)
                applyBorderMargins(trial);
            LayoutSettings = trial;
        }
        // The page model of the kept values: the last trial may have been a rejected one.
        relayout(LayoutSettings);
        if (g_info.Outcome == TAutoLayoutOutcome::Fitted) {
            const int bankPage = PageCount == 2 ? 1 : 3 - PuzzlePage;
            if (bankPage != WordBankPage) {
                WordBankPage = bankPage;
                relayout(LayoutSettings);
            }
        }
        ok = g_info.Outcome == TAutoLayoutOutcome::Fitted;
        g_run.Cache.clear();
        g_run.Active = false;
        g_run.Trial = nullptr;
    }
    AutoLayoutPending = false;
    if (AutoLayoutHooks.SetPageCount)
        AutoLayoutHooks.SetPageCount(PageCount);
    if (AutoLayoutHooks.InvalidateView)
        AutoLayoutHooks.InvalidateView();
    return ok;
}

void AutoLayoutAfterTitleEdit()
{
    if (AutoLayoutPending || g_titleEditRunning || g_run.Active || !DocControls.AutoLayout ||
        !AutoLayout_OnSpill)
        return;
    g_titleEditRunning = true;
    const int n = CountPrintedPages();
    if (n > 2 && (AutoLayoutPageChoice != 3 || n > 3)) {
        TakeCheckPoint(TCheckPointKind::Layout, QStringLiteral("formatting by Auto-Layout expert"));
        RunAutoLayout(AutoLayoutKeepViewTab);
    }
    g_titleEditRunning = false;
}

void ForgetTitleEditPageAnswer() { g_titleEditAnswer = TTitleEditAnswer::NotAsked; }

// ---- Trial cache and figures ----------------------------------------------------------------------

void SetAutoLayoutCacheEnabled(bool on) { g_cacheEnabled = on; }

void SetAutoLayoutClock(std::function<qint64()> nowMs) { g_clock = std::move(nowMs); }

const TAutoLayoutRunInfo &LastAutoLayoutRun() { return g_info; }

const TLayoutSettings &AutoLayoutTrialSettings() { return g_run.Trial ? *g_run.Trial : LayoutSettings; }
