// The stock patterns: the "StockPat" file of ready-made symmetrical patterns beside the program,
// loading one of them into the engine's grid, and the theme fit score that the automatic
// pattern choice ranks them by. No windows here; the dialog and the main window sit on top.
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <functional>

/** One pattern of the file: size, name (at most 20 characters) and its row lines with blanks
 *  and tabs removed (a row may be shorter or longer than Columns). */
struct TStockPattern {
    int Columns = 0;
    int Rows = 0;
    QString Name;
    QStringList RowLines;
    /** Columns and rows as three characters each, right-aligned, then the name. */
    QString Text;
};

/** Window work around a load that the document cannot do itself; empty ones are skipped. */
struct TStockPatternHooks {
    /** Before the grid changes: key cursor to column 1, row 1; across/down button raised. */
    std::function<void()> BeforeLoad;
    /** While the grid is still updating: clue grids rebuilt, window re-arranged, the hot-spot
     *  box handed to the engine. */
    std::function<void()> ArrangeAfterLoad;
    /** After the update: view redrawn, slot count, modified mark, traffic light, theme words
     *  sent and located, theme fit count. */
    std::function<void()> RefreshAfterLoad;
};
extern TStockPatternHooks StockPatternHooks;

/** Three characters, right-aligned; a negative number gives "  0". */
QString FormatPatternDim(int n);
/** The program folder + "StockPat". */
QString StockPatPath();
/** The words of the user's word list (the document's WordList), without the trailing empty entry. */
QStringList ThemeWordsFromWordList();

class TStockPatterns
{
public:
    /** Random number 1..count for picks among candidates; the default uses QRandomGenerator. */
    using RandomPick = std::function<int(int count)>;

    static constexpr int MaxDim = 51;
    static constexpr int NameLength = 20;

    /** Reads the file; false with FailureText() set when it is missing or malformed. */
    bool ParseStockPatFile(const QString &fileName = StockPatPath());
    /** The same for lines already read. */
    bool ParseStockPatLines(const QStringList &lines);

    /** Empty when the file was read. */
    QString FailureText() const { return m_failure; }
    bool NoPatterns() const { return m_patterns.isEmpty(); }
    int Count() const { return static_cast<int>(m_patterns.size()); }
    /** Pattern n, counted from 1. */
    const TStockPattern &Pattern(int n) const { return m_patterns.at(n - 1); }
    /** Columns and rows of pattern n (both 0 when either reads as 0 or n is not a pattern). */
    void PatternSize(int n, int &columns, int &rows) const;

    // Theme fit. The words come in as a plain list; any change of the list clears the tally.
    void SetThemeWords(const QStringList &words);
    void WordListChanged() { m_tallyValid = false; }
    bool TallyValid() const { return m_tallyValid; }
    /** T[k] = words with k alphabet characters (1..51); T[52] their sum; T[53] the last shape
     *  penalty. */
    void CountThemeWordLengths();
    /** S[k] = runs of k open cells across and down; S[52] runs reaching the right or bottom
     *  border; S[53] open cells. */
    void AnalysePattern(int n);
    /** 0..100; counts the words first when the tally is not valid. */
    int ThemeFitScore(int n);
    const std::array<int, 54> &Tally() const { return m_tally; }
    const std::array<int, 54> &Slots() const { return m_slots; }
    double WastedPercent() const { return m_wastedPercent; }
    double UnplacedPercent() const { return m_unplacedPercent; }

    /** Why pattern n cannot be loaded, empty when it can. */
    QString LoadRefusal(int n) const;
    /** Loads pattern n into the engine's grid as the OK button does; a refused pattern is
     *  explained to the user and nothing changes. True when the grid was loaded. */
    bool SelectPattern(int n);
    /** Set by the first load (which takes the undo checkpoint); cleared by ResetSession. */
    bool PatternLoaded() const { return m_patternLoaded; }
    void ResetSession() { m_patternLoaded = false; }

    /** The automatic choice: the best of the patterns of the size, or with different set a
     *  random one among those within 12 points of the best. 0 when none fits. */
    int PickBestStockPattern(int columns, int rows, bool different, const RandomPick &random = RandomPick());
    /** Candidates in slot order as (pattern number, score); n = 1, or random 1..count when
     *  different; the n-th (the last when fewer) within 12 points of the best. 0 when none. */
    static int PickAmongCandidates(const QList<QPair<int, int>> &candidates, bool different,
                                   const RandomPick &random = RandomPick());

private:
    QList<TStockPattern> m_patterns;
    QString m_failure;
    QStringList m_words;
    std::array<int, 54> m_tally{};
    std::array<int, 54> m_slots{};
    bool m_tallyValid = false;
    bool m_patternLoaded = false;
    double m_wastedPercent = 0;
    double m_unplacedPercent = 0;
};
