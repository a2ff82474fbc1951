// The stock patterns: the StockPat parser and its refusals, loading into the engine, the theme
// fit score and the candidate window, and the rules every pattern of the built StockPat keeps.
#include "alphabet.h"
#include "checkpts.h"
#include "prompter.h"
#include "stockpat.h"
#include "trv600.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

const QString Header = QStringLiteral("TRV -- Stock Patterns");
const QString BadHeaderText =
    QStringLiteral("the StockPat file header \"TRV -- Stock Patterns\" is corrupted.");
const QString NoBeginEndText =
    QStringLiteral("the StockPat file does not contain a \"BEGIN\" or an \"END.\" line.");

QStringList Wrap(const QStringList &body)
{
    return QStringList{Header, "BEGIN"} + body + QStringList{"END."};
}

struct ParseCase {
    const char *what;
    QStringList lines;
    bool ok;
    QString failure;
    QStringList texts; // every pattern's text, in order
};

TEST(StockPatParse, FileShapesAndHeaders)
{
    const ParseCase cases[] = {
        {"good", Wrap({"(3*3) Tiny", "---", "-*-", "---"}), true, "", {"  3  3Tiny"}},
        {"missing header", {"BEGIN", "(3*1) A", "---", "END."}, false, BadHeaderText, {}},
        {"header with a trailing blank",
         {Header + " ", "BEGIN", "(3*1) A", "---", "END."},
         false,
         BadHeaderText,
         {}},
        {"empty file", {}, false, BadHeaderText, {}},
        {"missing BEGIN", {Header, "(3*1) A", "---", "END."}, false, NoBeginEndText, {}},
        {"missing END.", {Header, "BEGIN", "(3*1) A", "---"}, false, NoBeginEndText, {}},
        {"END. right below BEGIN", {Header, "BEGIN", "END."}, false, NoBeginEndText, {}},
        {"END. above BEGIN", {Header, "END.", "x", "BEGIN"}, false, NoBeginEndText, {}},
        {"lower-case begin and end.", {Header, "begin", "(3*1) A", "---", "end."}, true, "", {"  3  1A"}},
        {"blanks around the numbers", Wrap({"( 3 * 1 )   Spaced", "- - -"}), true, "", {"  3  1Spaced"}},
        {"name cut to 20 characters, trailing blank kept",
         Wrap({"(3*1) abcdefghijklmnopqrs tail", "---"}),
         true,
         "",
         {"  3  1abcdefghijklmnopqrs "}},
        {"52 columns skipped, its rows tried as headers",
         Wrap({"(52*2) Big", "(3*1) Row", "---", "(3*1) B", "---"}),
         true,
         "",
         {"  3  1Row", "  3  1B"}},
        {"0 rows skipped", Wrap({"(3*0) Zero", "(3*1) B", "---"}), true, "", {"  3  1B"}},
        {"missing column count skipped", Wrap({"(*1) NoCols", "(3*1) B", "---"}), true, "", {"  3  1B"}},
        {"huge count skipped without overflow",
         Wrap({"(99999999999999*1) Huge", "(3*1) B", "---"}),
         true,
         "",
         {"  3  1B"}},
        {"not a header skipped", Wrap({"a comment", "(3*1) B", "---"}), true, "", {"  3  1B"}},
        {"rows reaching END. end the reading",
         Wrap({"(3*1) A", "---", "(3*3) Short", "---", "---"}),
         true,
         "",
         {"  3  1A"}},
        {"12 x 10 formatted",
         Wrap({"(12*10) W", "", "", "", "", "", "", "", "", "", ""}),
         true,
         "",
         {" 12 10W"}},
    };
    for (const ParseCase &c : cases) {
        SCOPED_TRACE(c.what);
        TStockPatterns sp;
        EXPECT_EQ(sp.ParseStockPatLines(c.lines), c.ok);
        EXPECT_EQ(sp.FailureText(), c.failure);
        QStringList texts;
        for (int n = 1; n <= sp.Count(); ++n)
            texts << sp.Pattern(n).Text;
        EXPECT_EQ(texts, c.texts);
    }
}

TEST(StockPatParse, FileReadWithCrLfOrLfAndMissingFile)
{
    QTemporaryDir dir;
    for (const char *eol : {"\r\n", "\n"}) {
        const QString name = dir.filePath("StockPat");
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray("TRV -- Stock Patterns") + eol + "BEGIN" + eol + "(3*2) \xe9t\xe9" + eol +
                "- -\t-" + eol + "***" + eol + "END." + eol);
        f.close();
        TStockPatterns sp;
        ASSERT_TRUE(sp.ParseStockPatFile(name)) << sp.FailureText().toStdString();
        ASSERT_EQ(sp.Count(), 1);
        EXPECT_EQ(sp.Pattern(1).Name, QString::fromUtf8("été"));
        EXPECT_EQ(sp.Pattern(1).RowLines, (QStringList{"---", "***"}));
    }
    TStockPatterns sp;
    EXPECT_FALSE(sp.ParseStockPatFile(dir.filePath("none")));
    EXPECT_EQ(sp.FailureText(), QStringLiteral("the file 'StockPat' is missing or misplaced, or you "
                                               "donot have enough memory available"));
    EXPECT_TRUE(sp.NoPatterns());
}

TEST(StockPatLoad, BadCellsAreRefusedWithColumnAndRow)
{
    CustomAlphabet = DefaultAlphabet;
    TStockPatterns sp;
    ASSERT_TRUE(sp.ParseStockPatLines(Wrap({"(3*2) Pipe", "--|", "---",      // "|"
                                            "(3*2) Tick", "---", "-`-",      // "`"
                                            "(3*2) Short", "---", "-",       // missing cells
                                            "(3*2) Long", "---", "*-*extra", // beyond the width
                                            "(3*2) Letters", "aB~", "-*-"})));
    struct {
        int n;
        QString reason;
    } cases[] = {
        {1, "It has a problem (invalid character) starting at column 3 and row 1."},
        {2, "It has a problem (invalid character) starting at column 2 and row 2."},
        {3, "It has a problem (invalid character) starting at column 2 and row 2."},
        {4, ""},
        {5, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.n);
        EXPECT_EQ(sp.LoadRefusal(c.n), c.reason);
    }

    ScriptedPrompter prompter;
    TRVCreateRenumGrid(5, 5);
    EXPECT_FALSE(sp.SelectPattern(1));
    EXPECT_EQ(prompter.lastText(), QStringLiteral("That pattern can not be loaded. It has a problem "
                                                  "(invalid character) starting at column 3 and row 1."));
    EXPECT_EQ(TRVGetWidth(), 5); // the grid was not touched
    EXPECT_FALSE(sp.PatternLoaded());
    EXPECT_FALSE(sp.SelectPattern(0));
    EXPECT_TRUE(prompter.lastText().startsWith("No stock pattern is selected."));

    CreateCheckPointPool(4);
    EXPECT_TRUE(sp.SelectPattern(5));
    EXPECT_TRUE(sp.PatternLoaded());
    EXPECT_EQ(TRVGetWidth(), 3);
    EXPECT_EQ(TRVGetHeight(), 2);
    EXPECT_EQ(TRVGetCell(1, 1), 'A');
    EXPECT_EQ(TRVGetCell(2, 1), 'B');
    EXPECT_EQ(TRVGetCell(3, 1), TRV_REMOVED);
    EXPECT_EQ(TRVGetCell(2, 2), TRV_BLOCK);
    EXPECT_EQ(TRVGetCell(3, 2), TRV_EMPTY);
    FreeCheckPointPool();
}

TStockPatterns OnePattern(const QStringList &rows)
{
    TStockPatterns sp;
    QStringList body{QStringLiteral("(%1*%2) P").arg(rows.first().size()).arg(rows.size())};
    sp.ParseStockPatLines(Wrap(body + rows));
    return sp;
}

TEST(StockPatScore, FormulaWithAndWithoutWords)
{
    CustomAlphabet = DefaultAlphabet;
    const QStringList open3{"---", "---", "---"};
    struct {
        const char *what;
        QStringList rows;
        QStringList words;
        int score;
    } cases[] = {
        // No words: 100 - penalty(K) - 100 x letters in slots of 7+ / (open + 1).
        {"3x3 open: only 3-slots, clipped", open3, {}, 100},
        {"4x4 open: K = (8/9)^2, penalty 25", {"----", "----", "----", "----"}, {}, 75},
        {"5x5 open: K = (10/11)^2, penalty 30", {"-----", "-----", "-----", "-----", "-----"}, {}, 70},
        {"7x1: 700/8 = 87.5 rounds to 88", {"-------"}, {}, 12},
        {"7x7 open: below zero gives 0", QStringList(7, "-------"), {}, 0},
        // Words: one 8-letter word without a slot among 7 words: 100/8 = 12.5 rounds to 12.
        {"unplaced 12.5 rounds to even 12", open3, {"ABCDEFGH", "A", "A", "A", "A", "A", "A"}, 88},
        {"unplaced 37.5 rounds to even 38",
         open3,
         {"ABCDEFGH", "ABCDEFGH", "ABCDEFGH", "A", "A", "A", "A"},
         62},
        {"two-letter words but no two-letter slot", open3, {"AB"}, 97},
        {"signs outside the alphabet do not count", open3, {"AB-"}, 97},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        TStockPatterns sp = OnePattern(c.rows);
        ASSERT_EQ(sp.Count(), 1);
        sp.SetThemeWords(c.words);
        EXPECT_EQ(sp.ThemeFitScore(1), c.score);
    }
}

TEST(StockPatScore, WordListChangeClearsTheTally)
{
    CustomAlphabet = DefaultAlphabet;
    TStockPatterns sp = OnePattern({"---", "---", "---"});
    sp.SetThemeWords({"AB"});
    EXPECT_FALSE(sp.TallyValid());
    EXPECT_EQ(sp.ThemeFitScore(1), 97); // counted before scoring
    EXPECT_TRUE(sp.TallyValid());
    EXPECT_EQ(sp.Tally()[2], 1);
    sp.SetThemeWords({"ABC"});
    EXPECT_EQ(sp.ThemeFitScore(1), 100); // not the stale tally
    sp.WordListChanged();
    EXPECT_FALSE(sp.TallyValid());
}

TEST(StockPatPick, TwelvePointWindow)
{
    const QList<QPair<int, int>> candidates{{1, 80}, {2, 90}, {3, 78}, {4, 77}, {5, 85}};
    EXPECT_EQ(TStockPatterns::PickAmongCandidates(candidates, false), 1);
    EXPECT_EQ(TStockPatterns::PickAmongCandidates({}, true), 0);
    // Within 12 of the best (90) remain 1, 2, 3, 5 in slot order; 4 (77) is dropped.
    const struct {
        int draw;
        int pattern;
    } draws[] = {{1, 1}, {2, 2}, {3, 3}, {4, 5}, {9, 5}};
    for (const auto &d : draws) {
        int asked = 0;
        const int got = TStockPatterns::PickAmongCandidates(candidates, true, [&](int count) {
            asked = count;
            return d.draw;
        });
        EXPECT_EQ(asked, 4);
        EXPECT_EQ(got, d.pattern) << "draw " << d.draw;
    }
}

// ---- The built file ---------------------------------------------------------------------

QString Transformed(const TStockPattern &p, int t, int &w, int &h)
{
    w = (t & 4) ? p.Rows : p.Columns;
    h = (t & 4) ? p.Columns : p.Rows;
    QString s;
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) {
            int sr = (t & 4) ? c : r, sc = (t & 4) ? r : c;
            if (t & 1)
                sc = p.Columns - 1 - sc;
            if (t & 2)
                sr = p.Rows - 1 - sr;
            s += p.RowLines.at(sr).at(sc);
        }
    return s;
}

// The smallest of the pattern's eight turns and mirrors, with its size.
QString CanonicalKey(const TStockPattern &p)
{
    QString best;
    for (int t = 0; t < 8; ++t) {
        int w = 0, h = 0;
        const QString s = Transformed(p, t, w, h);
        const QString key = QStringLiteral("%1x%2:").arg(w).arg(h) + s;
        if (best.isEmpty() || key < best)
            best = key;
    }
    return best;
}

// Runs of open cells across and down; false when a run is shorter than 3 or longer than 15.
bool RunsBetween3And15(const TStockPattern &p)
{
    auto open = [&](int r, int c) { return p.RowLines.at(r).at(c) == QLatin1Char('-'); };
    for (int across = 0; across < 2; ++across) {
        const int lines = across ? p.Rows : p.Columns, len = across ? p.Columns : p.Rows;
        for (int i = 0; i < lines; ++i) {
            int run = 0;
            for (int k = 0; k <= len; ++k) {
                if (k < len && (across ? open(i, k) : open(k, i))) {
                    ++run;
                } else {
                    if (run > 0 && (run < 3 || run > 15))
                        return false;
                    run = 0;
                }
            }
        }
    }
    return true;
}

bool OpenCellsConnected(const TStockPattern &p)
{
    QList<QPair<int, int>> stack;
    QSet<int> seen;
    int open = 0;
    for (int r = 0; r < p.Rows; ++r)
        for (int c = 0; c < p.Columns; ++c)
            if (p.RowLines.at(r).at(c) == QLatin1Char('-')) {
                if (!open++) {
                    stack.append({r, c});
                    seen.insert(r * 100 + c);
                }
            }
    while (!stack.isEmpty()) {
        const auto [r, c] = stack.takeLast();
        const int nr[4] = {r - 1, r + 1, r, r}, nc[4] = {c, c, c - 1, c + 1};
        for (int k = 0; k < 4; ++k)
            if (nr[k] >= 0 && nr[k] < p.Rows && nc[k] >= 0 && nc[k] < p.Columns &&
                p.RowLines.at(nr[k]).at(nc[k]) == QLatin1Char('-') && !seen.contains(nr[k] * 100 + nc[k])) {
                seen.insert(nr[k] * 100 + nc[k]);
                stack.append({nr[k], nc[k]});
            }
    }
    return open > 0 && seen.size() == open;
}

TEST(BuiltStockPat, CountsAndPatternRules)
{
    const QString name = QStringLiteral(TRV_BIN_DIR "/StockPat");
    QFile f(name);
    if (!f.exists())
        GTEST_SKIP() << "StockPat is not built (TRV_BUILD_DATA off)";
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.endsWith("END.\r\n"));
    EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n")); // CR LF throughout

    TStockPatterns sp;
    ASSERT_TRUE(sp.ParseStockPatFile(name)) << sp.FailureText().toStdString();
    const std::map<QString, int> wanted{{"5x5", 1},    {"7x7", 12},   {"9x9", 12},   {"10x10", 12},
                                        {"11x11", 12}, {"11x13", 12}, {"13x11", 12}, {"13x13", 25},
                                        {"15x15", 40}, {"15x17", 12}, {"17x17", 25}, {"19x19", 12},
                                        {"21x21", 12}, {"23x23", 12}};
    std::map<QString, int> counts;
    std::set<QString> keys, names;
    for (int n = 1; n <= sp.Count(); ++n) {
        const TStockPattern &p = sp.Pattern(n);
        SCOPED_TRACE(p.Name.toStdString());
        const QString size = QStringLiteral("%1x%2").arg(p.Columns).arg(p.Rows);
        ++counts[size];
        EXPECT_TRUE(names.insert(p.Name).second);
        EXPECT_LE(p.Name.size(), 20);
        int blocks = 0;
        bool cellsOk = true;
        for (int r = 0; r < p.Rows; ++r) {
            ASSERT_EQ(p.RowLines.at(r).size(), p.Columns);
            for (int c = 0; c < p.Columns; ++c) {
                const QChar ch = p.RowLines.at(r).at(c);
                cellsOk = cellsOk && (ch == QLatin1Char('*') || ch == QLatin1Char('-')) &&
                          ch == p.RowLines.at(p.Rows - 1 - r).at(p.Columns - 1 - c);
                blocks += ch == QLatin1Char('*');
            }
        }
        EXPECT_TRUE(cellsOk) << "only * and -, with half-turn symmetry";
        EXPECT_TRUE(RunsBetween3And15(p));
        EXPECT_TRUE(OpenCellsConnected(p));
        if (p.Columns >= 15 && p.Rows >= 15) {
            const double share = double(blocks) / (p.Columns * p.Rows);
            EXPECT_GE(share, 0.14 - 1e-9);
            EXPECT_LE(share, 0.18 + 1e-9);
        }
        EXPECT_TRUE(keys.insert(CanonicalKey(p)).second) << "same as another under turns and mirrors";
    }
    for (const auto &[size, least] : wanted)
        EXPECT_GE(counts[size], least) << size.toStdString();
}

} // namespace
