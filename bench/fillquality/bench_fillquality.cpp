// bench_fillquality - what the automatic fill puts into a 15 x 15 grid: the stock 15 x 15
// patterns and the hand-drawn benchmark ones, each filled with seed 5 and with a clock seed,
// at most 30 s a fill. Prints the fill rate, the median time, the share of fill words a
// general reader knows (SCOWL size 60 or below, or an inflection of such a word), the share
// that have a stock clue and the median length of their first clue.
//   bench_fillquality [folder] [stock patterns, default 12, 0 = all] [random runs per pattern, default 1]
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "bench_patterns.h"
#include "trv600.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kTimeLimit = 30.0;
constexpr int MakePuzzleAttempts = 6; // as the program's Make Puzzle
Clock::time_point Started;
bool Cancelled = false;

void OnProgress(int, int)
{
    if (!Cancelled && std::chrono::duration<double>(Clock::now() - Started).count() > kTimeLimit) {
        Cancelled = true;
        TRVUserCancel();
    }
}
void OnRejects() {}
int Quiet(const char *, const char *, int buttons) { return buttons == TRV_MB_OK ? TRV_IDOK : TRV_IDRETRY; }

std::string ExecutableFolder()
{
    char path[4096];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return ".";
    path[n] = 0;
    std::string s(path);
    return s.substr(0, s.rfind('/'));
}

std::string Lower(std::string s)
{
    for (char &c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// SCOWL level of every lower-case word of the English and American lists (lowest level wins).
std::map<std::string, int> ReadScowlLevels(const std::string &dir)
{
    std::map<std::string, int> level;
    std::error_code ec;
    for (const auto &e : std::filesystem::directory_iterator(dir, ec)) {
        const std::string name = e.path().filename().string();
        const size_t dot = name.rfind('.');
        if (dot == std::string::npos)
            continue;
        const std::string list = name.substr(0, dot);
        if (list != "english-words" && list != "american-words")
            continue;
        const int lv = std::atoi(name.c_str() + dot + 1);
        std::ifstream in(e.path(), std::ios::binary);
        std::string w;
        while (std::getline(in, w)) {
            while (!w.empty() && (w.back() == '\r' || w.back() == ' '))
                w.pop_back();
            if (w.empty() || !std::all_of(w.begin(), w.end(), [](char c) { return c >= 'a' && c <= 'z'; }))
                continue;
            auto it = level.find(w);
            if (it == level.end() || it->second > lv)
                level[w] = lv;
        }
    }
    return level;
}

// Answer -> first clue of its line in the clue files.
std::map<std::string, std::string> ReadFirstClues()
{
    std::map<std::string, std::string> clues;
    for (int len = 2; len <= 17; ++len) {
        char name[32];
        std::snprintf(name, sizeof name, "ZEDAVIV/Clues.%02d", len);
        std::ifstream in(name, std::ios::binary);
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            const size_t bar = line.find('|');
            if (bar == std::string::npos || bar == 0)
                continue;
            const size_t next = line.find('|', bar + 1);
            clues[Lower(line.substr(0, bar))] =
                line.substr(bar + 1, next == std::string::npos ? std::string::npos : next - bar - 1);
        }
    }
    return clues;
}

// The 15 x 15 patterns of StockPat as rows of '#' and '.'.
std::vector<BenchPattern> ReadStock15(size_t count)
{
    std::vector<BenchPattern> out;
    std::ifstream in("StockPat", std::ios::binary);
    std::string line;
    static std::vector<std::string> names;
    names.reserve(200);
    while (std::getline(in, line) && (count == 0 || out.size() < count)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.rfind("(15*15)", 0) != 0)
            continue;
        names.push_back("stock-" + std::to_string(out.size() + 1));
        BenchPattern p{names.back().c_str(), {}, {}};
        for (int r = 0; r < 15 && std::getline(in, line); ++r) {
            std::string row;
            for (char c : line)
                if (c == '*')
                    row += '#';
                else if (c == '-')
                    row += '.';
            p.rows.push_back(row);
        }
        if (p.rows.size() == 15 &&
            std::all_of(p.rows.begin(), p.rows.end(), [](auto &r) { return r.size() == 15; }))
            out.push_back(p);
    }
    return out;
}

std::vector<std::string> FillWords(int width, int height)
{
    std::vector<std::string> words;
    auto run = [&](int c, int r, int dc, int dr) {
        std::string word;
        for (; c <= width && r <= height; c += dc, r += dr) {
            const char code = TRVGetCell(c, r);
            if (code == TRV_BLOCK || code == TRV_REMOVED || code == TRV_EDGE || code == TRV_EMPTY) {
                if (word.size() >= 2)
                    words.push_back(word);
                word.clear();
            } else {
                word += static_cast<char>(std::tolower(static_cast<unsigned char>(code)));
            }
        }
        if (word.size() >= 2)
            words.push_back(word);
    };
    for (int r = 1; r <= height; ++r)
        run(1, r, 1, 0);
    for (int c = 1; c <= width; ++c)
        run(c, 1, 0, 1);
    return words;
}

// True when the word is at SCOWL size 60 or below, or a regular inflection of such a word
// (plural or third person, past, -ing, comparative, superlative).
bool Common(const std::string &w, const std::map<std::string, int> &levels)
{
    auto known = [&](const std::string &b) {
        auto it = levels.find(b);
        return b.size() >= 2 && it != levels.end() && it->second <= 60;
    };
    if (known(w))
        return true;
    auto ends = [&](const char *s) {
        const size_t n = std::strlen(s);
        return w.size() > n + 1 && w.compare(w.size() - n, n, s) == 0;
    };
    auto stem = [&](size_t n) { return w.substr(0, w.size() - n); };
    auto undoubled = [&](size_t n) {
        std::string s = stem(n);
        return s.size() >= 2 && s[s.size() - 1] == s[s.size() - 2] ? s.substr(0, s.size() - 1) : s;
    };
    if (ends("s") && known(stem(1)))
        return true;
    if (ends("es") && known(stem(2)))
        return true;
    if (ends("ies") && known(stem(3) + "y"))
        return true;
    for (const char *suf : {"ed", "er"}) {
        if (ends(suf) && (known(stem(2)) || known(stem(1)) || known(undoubled(2)) || known(stem(3) + "y")))
            return true;
    }
    for (const char *suf : {"ing", "est"}) {
        if (ends(suf) &&
            (known(stem(3)) || known(stem(3) + "e") || known(undoubled(3)) || known(stem(4) + "y")))
            return true;
    }
    return false;
}

double Median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

struct Tally {
    int runs = 0, filled = 0;
    std::vector<double> times;
    long words = 0, common = 0, clued = 0;
    std::vector<double> clueLengths;
    std::map<std::string, int> rare, unclued;
};

void Print(const char *label, const Tally &t)
{
    auto pct = [](double a, double b) { return b ? 100.0 * a / b : 0.0; };
    std::printf("%-14s %5d/%-5d %6.1f %9.2f %8.1f %8.1f %10.0f\n", label, t.filled, t.runs,
                pct(t.filled, t.runs), Median(t.times), pct(double(t.common), double(t.words)),
                pct(double(t.clued), double(t.words)), Median(t.clueLengths));
}

} // namespace

int main(int argc, char **argv)
{
    const std::string folder = argc > 1 ? argv[1] : ExecutableFolder();
    const size_t stockCount = argc > 2 ? size_t(std::max(0, std::atoi(argv[2]))) : 12;
    const int randomRuns = argc > 3 ? std::max(0, std::atoi(argv[3])) : 1;
    const std::map<std::string, int> levels = ReadScowlLevels(TRV_SCOWL_DIR);
    if (chdir(folder.c_str()) != 0) {
        std::fprintf(stderr, "cannot enter %s\n", folder.c_str());
        return 1;
    }
    TRVSetMessageBoxHandler(Quiet);
    TRVEstablishConstructInfoCB(OnProgress);
    TRVEstablishRejectedWordsCB(OnRejects);
    const std::map<std::string, std::string> clues = ReadFirstClues();

    std::vector<std::pair<std::string, std::vector<BenchPattern>>> sets;
    sets.push_back({"stock 15x15", ReadStock15(stockCount)});
    std::vector<BenchPattern> drawn;
    for (const auto &p : BenchPatterns())
        if (std::strncmp(p.name, "15x15", 5) == 0)
            drawn.push_back(p);
    sets.push_back({"drawn 15x15", drawn});

    std::map<std::string, Tally> tallies;
    std::printf("%-12s %-7s %6s %8s %7s %7s\n", "pattern", "seed", "result", "seconds", "common", "clued");
    for (const auto &[setName, patterns] : sets) {
        for (const auto &p : patterns) {
            for (int run = 0; run <= randomRuns; ++run) {
                LoadBenchPattern(p);
                TRVThemeDeleteAll();
                Cancelled = false;
                Started = Clock::now();
                // As Make Puzzle fills, with its fresh starts.
                const int result = TRVConstructKeepingThemeWords(
                    TRV_RIPUP_ALLOWED | (run ? TRV_CONSTRUCT_RANDOM : 0), MakePuzzleAttempts);
                const double s = std::chrono::duration<double>(Clock::now() - Started).count();
                for (const char *key : {setName.c_str(), "all"}) {
                    Tally &t = tallies[key];
                    ++t.runs;
                    t.times.push_back(s);
                }
                long words = 0, common = 0, clued = 0;
                if (result == TRV_FINISHED) {
                    for (const auto &w : FillWords(15, 15)) {
                        const bool isCommon = Common(w, levels);
                        auto clue = clues.find(w);
                        ++words;
                        common += isCommon;
                        clued += clue != clues.end();
                        for (const char *key : {setName.c_str(), "all"}) {
                            Tally &t = tallies[key];
                            ++t.words;
                            t.common += isCommon;
                            if (!isCommon)
                                ++t.rare[w];
                            if (clue != clues.end()) {
                                ++t.clued;
                                t.clueLengths.push_back(double(clue->second.size()));
                            } else {
                                ++t.unclued[w];
                            }
                        }
                    }
                    for (const char *key : {setName.c_str(), "all"})
                        ++tallies[key].filled;
                }
                std::printf("%-12s %-7s %6d %8.2f %6.1f%% %6.1f%%\n", p.name, run ? "random" : "5", result, s,
                            words ? 100.0 * common / words : 0.0, words ? 100.0 * clued / words : 0.0);
                std::fflush(stdout);
            }
        }
    }
    std::printf("\n%-14s %11s %6s %9s %8s %8s %10s\n", "set", "filled", "%", "median s", "common%", "clued%",
                "clue len");
    for (const auto &[setName, patterns] : sets)
        Print(setName.c_str(), tallies[setName]);
    Print("all", tallies["all"]);
    for (const auto &[title, words] :
         {std::pair{"uncommon", &tallies["all"].rare}, {"unclued", &tallies["all"].unclued}}) {
        std::printf("%s fill words (%zu):", title, words->size());
        int shown = 0;
        for (const auto &[w, n] : *words)
            if (shown++ < 40)
                std::printf(" %s", w.c_str());
        std::printf("\n");
    }
    return 0;
}
