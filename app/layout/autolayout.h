// The Auto-Layout expert: searches fixed lists of candidate layouts, from generous to squeezed,
// lays the page out for each with the composer and keeps the first that puts the grid on one
// sheet and the clues on one puzzle page (or two, when allowed), then polishes it. Headless: it
// reaches the main window only through AutoLayoutHooks and asks the page question through the
// installed TPageChooser.
#pragma once

#include "pagetypes.h"

#include <QList>
#include <QString>

#include <functional>

class QWidget;
struct TLayoutSettings;

// ---- Running the expert -------------------------------------------------------------------------

/** RunAutoLayout flags. */
constexpr int AutoLayoutShowProgressNow = 1; // show the progress window at once (Make Puzzle)
constexpr int AutoLayoutKeepViewTab = 2;     // show the current view tab again afterwards

/** The entry point: nothing unless the main window's AutoLayoutCB (DocControls.AutoLayout) is
 *  ticked. Callers take their own checkpoint first. Does nothing while a run is in progress. */
void RunAutoLayout(int flags);
/** The search and polish of one run, on a copy of LayoutSettings with the word-bank page of the
 *  page mode; true when a layout was found and LayoutSettings took it, false after a give-up or a
 *  cancel, which leave LayoutSettings as it was (but a page mode the question asked to keep). */
bool DoAutoLayout();
/** After a title or subtitle edit: re-runs the expert (with its checkpoint) when the puzzle now
 *  spills onto more pages than the page mode allows and AutoLayout_OnSpill is on. Such a run
 *  does not ask the page question again when this puzzle's question had an answer. */
void AutoLayoutAfterTitleEdit();
/** A new puzzle: its page question has no answer yet. */
void ForgetTitleEditPageAnswer();

// ---- Trials ---------------------------------------------------------------------------------------
// The trials, the polish and the page model work on the settings given: a run's own copy, which
// LayoutSettings takes when a layout fitted.

/** One trial: stores in s the candidate values whose Auto switch is on (margins replaced by the
 *  border's when it has bands) and tells whether the page reaches the required quality fqr.
 *  True at once after a cancel. */
bool Fits(TLayoutSettings &s, int columns, int clueSize, int leading, double cellWidth, double cellHeight,
          double top, double leftRight, double bottom, int titleSize, int subtitleSize, int fqr);
/** Fits for each column count of ClueColumnTrialOrder, up to the first success. */
bool FitsAnyColumns(TLayoutSettings &s, int clueSize, int leading, double cellWidth, double cellHeight,
                    double top, double leftRight, double bottom, int titleSize, int subtitleSize, int fqr);
bool AutoLayout_TryBeautiful(TLayoutSettings &s, int columns, int fqr);
bool AutoLayout_TryRegular(TLayoutSettings &s, int columns, int fqr);
/** The squeezed lists; the column count is not used (every trial tries all counts). */
bool AutoLayout_TrySquished(TLayoutSettings &s, int columns, int fqr);
/** Strategies of AutoLayout_TryStage. */
constexpr int AutoLayoutBeautiful = 0, AutoLayoutRegular = 1, AutoLayoutSquished = 2;
/** Runs the strategy over its nine trials (progress base + trial), up to the first success. */
bool AutoLayout_TryStage(TLayoutSettings &s, int progressBase, int strategy, int fqr);

/** The fit quality of the settings after a full relayout: 0 the grid does not fit, 1 more than
 *  two puzzle pages or clue lines lost past the last page, 2/3 two puzzle pages with/without a
 *  widow, 4/5 one puzzle page with/without a widow. Without settings: of LayoutSettings. */
int FitQuality(TLayoutSettings &s);
int FitQuality();
/** Relays the page out (title block, paper fit, clue flow, grid tiles; no window work, no
 *  repaint) and counts the sheets: grid tiles + PageCount - 1. */
int CountPrintedPages(TLayoutSettings &s);
int CountPrintedPages();
/** Whether a grid of these cells fits the paper between these margins (the bottom one grows by
 *  the word bank when it stands at the bottom of the puzzle page). */
bool GridFitsPaper(const TLayoutSettings &s, double cellWidth, double cellHeight, double left, double top,
                   double right, double bottom);
bool CurrentGridFitsPaper(const TLayoutSettings &s);
/** Trial margins: left and right leftRight, or with a banded border every side FrameOutside +
 *  the band total + FrameInside. */
TPageRect FrameAdjustedMargins(const TLayoutSettings &s, double top, double leftRight, double bottom);

// ---- Polish ---------------------------------------------------------------------------------------

void Improve_SideMargins(TLayoutSettings &s, int fqr);
/** Shrinks size by a point at a time (at most 99 times, never below 1) while the text, measured
 *  in inches in TitleFont and TitleStyle, is wider than the paper between the margins less 0.2.
 *  Without settings: those of LayoutSettings. */
void Improve_TitleFontSize(const TLayoutSettings &s, const QString &text, int &size);
void Improve_TitleFontSize(const QString &text, int &size);
void Improve_TopBottomMargins(TLayoutSettings &s, int fqr);
void Improve_ClueSpacing(TLayoutSettings &s, int fqr);
void Improve_CenterPuzzleGrid(TLayoutSettings &s, int fqr);

// ---- Pages ----------------------------------------------------------------------------------------

/** 1, or in page mode 3 the page other than the puzzle page. */
int DefaultWordBankPage(const TLayoutSettings &s);
int DefaultWordBankPage();
/** The quality to require after one page failed: 5 for one page, 3 when two are allowed (asking
 *  the installed chooser in mode 1 when AskBeforeUsingTwoPages is on). */
int AskPageChoice();

/** A button of the one-or-two-pages form. */
enum class TPageChoice {
    OnePage,
    TwoPages,
    SeparatePages
};
/** What the form's button does: with remember, the page mode it stands for and no more asking;
 *  then SeparateClues and WordBankPage. Returns the form's result: 2 one page, 3 two pages. */
int ApplyPageChoice(TPageChoice choice, bool remember);

/** Asks the one-or-two-pages question; the program installs the form, tests a script. */
class TPageChooser
{
public:
    virtual ~TPageChooser() = default;
    /** Shows the question modally; 2 when one page was chosen, 3 for two pages, anything else
     *  when it was closed without a choice. */
    virtual int AskPages() = 0;
};
/** Installs the chooser (not owned; null: nobody is asked and two pages are allowed); returns
 *  the previous one. */
TPageChooser *SetPageChooser(TPageChooser *chooser);

/** Answers from a queue (through ApplyPageChoice, as the form's buttons) and counts the
 *  questions; with the queue empty the question is closed without a choice. Installs itself
 *  while it lives. */
class ScriptedPageChooser : public TPageChooser
{
public:
    struct Answer {
        TPageChoice Choice;
        bool Remember = false;
    };
    QList<Answer> Answers;
    int Asked = 0;

    ScriptedPageChooser();
    ~ScriptedPageChooser() override;
    ScriptedPageChooser(const ScriptedPageChooser &) = delete;
    ScriptedPageChooser &operator=(const ScriptedPageChooser &) = delete;
    int AskPages() override;

private:
    TPageChooser *m_previous = nullptr;
};

// ---- Progress, give-up ------------------------------------------------------------------------

void ShowAutoLayoutProgress();
void HideAutoLayoutProgress();
/** Shows the progress window once more than 2.1 s of the run have passed. */
void CheckAutoLayoutClock();
/** The give-up message for one page, or for two when two puzzle pages were allowed. */
QString AutoLayoutGiveUpText(bool twoPages);
/** Unticks AutoLayoutCB and shows the give-up message. */
void AutoLayoutGiveUp(bool twoPages);

/** Main-window operations the expert calls; each may be left unset. */
struct TAutoLayoutHooks {
    /** Shows the progress window modeless: caption "AutoLayout", the percent and Cancel. */
    std::function<void()> ShowProgress;
    std::function<void()> HideProgress;
    /** After each trial (percent 0..100, trials so far) and once at 100 %. */
    std::function<void(int percent, int trials)> Progress;
    /** The only window whose input runs while the expert pumps messages (its Cancel). */
    std::function<QWidget *()> CancelWindow;
    std::function<QString()> ViewTabCaption;
    std::function<void(const QString &caption)> ShowViewTab;
    /** DocControls.AutoLayout was cleared: the window unticks AutoLayoutCB quietly. */
    std::function<void()> AutoLayoutUnchecked;
    /** The run's page count; the window rebuilds its page items and view tabs. */
    std::function<void(int count)> SetPageCount;
    std::function<void()> InvalidateView;
};
extern TAutoLayoutHooks AutoLayoutHooks;

// ---- Trial cache and figures ----------------------------------------------------------------------

/** Within one run a trial whose relayout inputs were seen before takes the stored result
 *  instead of a relayout. On by default; tests and the benchmark switch it off to compare. */
void SetAutoLayoutCacheEnabled(bool on);
/** The milliseconds clock that times the progress window's delay; empty: a steady clock.
 *  Tests give a clock of their own instead of waiting. */
void SetAutoLayoutClock(std::function<qint64()> nowMs);

enum class TAutoLayoutOutcome {
    NotRun,
    Fitted,
    GaveUp,
    Canceled
};

/** Figures of the last run. */
struct TAutoLayoutRunInfo {
    TAutoLayoutOutcome Outcome = TAutoLayoutOutcome::NotRun;
    int Quality = 0;   // the required quality the run ended with
    int Trials = 0;    // Fits calls that got past the quick check
    int Relayouts = 0; // relayouts made, the final one included
    int CacheHits = 0;
    bool ProgressShown = false;
    qint64 ProgressShownAfterMs = -1;
};
const TAutoLayoutRunInfo &LastAutoLayoutRun();
/** During a run the settings its trials lay out (LayoutSettings keeps those from before the run
 *  until a layout fits); LayoutSettings outside a run. */
const TLayoutSettings &AutoLayoutTrialSettings();

/** The column counts in the order trials take them. */
extern const int ClueColumnTrialOrder[9];
