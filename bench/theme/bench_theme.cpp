// bench_theme.cpp - how many of the user's words a symmetrical build places. Every stock
// pattern of 13 x 13 and up is filled (rip-up allowed, fixed seed) with each of a few theme
// sets drawn from the clue files by a fixed seed; per pattern size it prints the theme words
// placed of those that have a slot of their length, the fills completed and the median time.
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "trv600.h"

namespace {

// As many attempts as Make Puzzle allows.
constexpr int MakePuzzleAttempts = 6;

struct Pattern {
    int columns = 0, rows = 0;
    std::string name;
    std::vector<std::string> lines;
};

int Quiet(const char *, const char *, int buttons) { return buttons == TRV_MB_OK ? TRV_IDOK : TRV_IDRETRY; }
long Steps = 0;
void OnProgress(int steps, int)
{
    if (steps > 0)
        ++Steps;
}
void NoRejects() {}

int Placed = 0;
void OnTheme(char, int number, const char *)
{
    if (number != 0)
        ++Placed;
}

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

std::string Clean(std::string line)
{
    std::string out;
    for (char c : line)
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            out += c;
    return out;
}

// The stock patterns of the file, in file order.
std::vector<Pattern> ReadStockPatterns(const std::string &file)
{
    std::ifstream in(file, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    std::vector<Pattern> patterns;
    size_t i = 0;
    while (i < lines.size() && lines[i] != "BEGIN")
        ++i;
    for (++i; i < lines.size() && lines[i] != "END."; ++i) {
        Pattern p;
        if (std::sscanf(lines[i].c_str(), " (%d*%d)", &p.columns, &p.rows) != 2)
            continue;
        p.name = lines[i].substr(lines[i].find(')') + 1);
        for (int r = 1; r <= p.rows && i + r < lines.size(); ++r)
            p.lines.push_back(Clean(lines[i + r]));
        i += p.rows;
        patterns.push_back(p);
    }
    return patterns;
}

void LoadPattern(const Pattern &p)
{
    TRVCreateRenumGrid(p.columns, p.rows);
    for (int r = 1; r <= p.rows; ++r)
        for (int c = 1; c <= p.columns; ++c) {
            const std::string &line = p.lines[r - 1];
            const char ch = c <= static_cast<int>(line.size()) ? line[c - 1] : '~';
            char code = TRV_EMPTY;
            if (ch == '*')
                code = TRV_BLOCK;
            else if (ch == '~')
                code = TRV_REMOVED;
            else if (std::isalpha(static_cast<unsigned char>(ch)))
                code = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
            TRVSetCellOnly(c, r, code);
        }
    TRVRenumberGrid();
}

// Answers of the clue file of one length that are plain letters, upper case.
std::vector<std::string> ClueAnswers(int length)
{
    char name[32];
    std::snprintf(name, sizeof name, "ZEDAVIV/Clues.%02d", length);
    std::ifstream in(name, std::ios::binary);
    std::vector<std::string> answers;
    for (std::string line; std::getline(in, line);) {
        std::string answer = line.substr(0, line.find('|'));
        bool plain = static_cast<int>(answer.size()) == length;
        for (char &c : answer) {
            if (!std::isalpha(static_cast<unsigned char>(c)))
                plain = false;
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        if (plain)
            answers.push_back(answer);
    }
    return answers;
}

// Four theme sets of 3, 4, 5 and 6 words, lengths 4 to 10, drawn with a fixed seed.
std::vector<std::vector<std::string>> ThemeSets()
{
    std::map<int, std::vector<std::string>> byLength;
    for (int n = 4; n <= 10; ++n)
        byLength[n] = ClueAnswers(n);
    std::mt19937 random(28);
    std::vector<std::vector<std::string>> sets;
    for (int size = 3; size <= 6; ++size) {
        std::vector<std::string> set;
        while (static_cast<int>(set.size()) < size) {
            const auto &words = byLength[4 + static_cast<int>(random() % 7)];
            if (words.empty())
                continue;
            const std::string &w = words[random() % words.size()];
            if (std::find(set.begin(), set.end(), w) == set.end())
                set.push_back(w);
        }
        sets.push_back(set);
    }
    return sets;
}

struct Tally {
    int fit = 0, placed = 0, runs = 0, filled = 0, allPlaced = 0;
    std::vector<double> ms, steps;
};

double Median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void PrintRow(const std::string &label, const Tally &t)
{
    const double slowest = t.ms.empty() ? 0 : *std::max_element(t.ms.begin(), t.ms.end());
    std::printf("%-8s %5d %6d/%-6d %5.1f %% %7d/%-5d %7d/%-5d %9.1f %10.1f %12.0f\n", label.c_str(), t.runs,
                t.placed, t.fit, t.fit ? 100.0 * t.placed / t.fit : 100.0, t.allPlaced, t.runs, t.filled,
                t.runs, Median(t.ms), slowest, Median(t.steps));
}

} // namespace

int main(int argc, char **argv)
{
    // StockPat and ZEDAVIV are looked for in the given folder, else beside the program;
    // a second argument limits the patterns taken of each size (default: all of them), and a
    // third one, "each", prints a line for every fill; a fourth, "single", builds each fill
    // once (TRVConstructCmd) instead of as Make Puzzle does, with its retries.
    std::string folder = argc > 1 ? argv[1] : ExecutableFolder();
    const int perSize = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1 << 30;
    const bool each = argc > 3 && std::string(argv[3]) == "each";
    const bool single = argc > 4 && std::string(argv[4]) == "single";
    if (chdir(folder.c_str()) != 0) {
        std::fprintf(stderr, "cannot enter %s\n", folder.c_str());
        return 1;
    }
    TRVSetMessageBoxHandler(Quiet);
    TRVEstablishConstructInfoCB(OnProgress);
    TRVEstablishRejectedWordsCB(NoRejects);
    TRVEstablishThemeWordCallBacks(OnTheme);

    const std::vector<Pattern> patterns = ReadStockPatterns("StockPat");
    const auto sets = ThemeSets();
    if (patterns.empty() || sets.empty()) {
        std::fprintf(stderr, "no StockPat or clue files in %s\n", folder.c_str());
        return 1;
    }
    for (size_t s = 0; s < sets.size(); ++s) {
        std::printf("set %zu:", s + 1);
        for (const auto &w : sets[s])
            std::printf(" %s", w.c_str());
        std::printf("\n");
    }

    std::map<std::pair<int, int>, Tally> bySize;
    std::map<std::pair<int, int>, int> taken;
    Tally total;
    for (const Pattern &p : patterns) {
        if (p.columns < 13 || p.rows < 13)
            continue;
        const auto size = std::make_pair(p.columns, p.rows);
        if (taken[size]++ >= perSize)
            continue;
        for (size_t s = 0; s < sets.size(); ++s) {
            const auto &set = sets[s];
            LoadPattern(p);
            TRVThemeDeleteAll();
            int fit = 0;
            for (const auto &w : set)
                if (TRVGetWLCount(static_cast<int>(w.size())) > 0) {
                    TRVNewThemeWord(w.c_str(), "", 0);
                    ++fit;
                }
            Steps = 0;
            const auto t0 = std::chrono::steady_clock::now();
            const int result = single ? TRVConstructCmd(TRV_RIPUP_ALLOWED)
                                      : TRVConstructKeepingThemeWords(TRV_RIPUP_ALLOWED, MakePuzzleAttempts);
            const double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
            Placed = 0;
            TRVCorrectAllThemeWordLocations(0);
            if (each) {
                std::printf("%2dx%-2d %-20s set %zu: result %d, placed %d of %d, %.1f ms, %ld steps\n",
                            p.columns, p.rows, p.name.c_str(), s + 1, result, Placed, fit, ms, Steps);
                std::fflush(stdout);
            }
            for (Tally *t : {&bySize[size], &total}) {
                t->fit += fit;
                t->placed += Placed;
                ++t->runs;
                t->filled += result == TRV_FINISHED;
                t->allPlaced += Placed >= fit;
                t->ms.push_back(ms);
                t->steps.push_back(static_cast<double>(Steps));
            }
        }
    }
    std::printf("%-8s %5s %13s %7s %13s %13s %9s %10s %12s\n", "size", "fills", "placed/fit", "share",
                "all placed", "completed", "median ms", "slowest ms", "median steps");
    for (const auto &[size, t] : bySize)
        PrintRow(std::to_string(size.first) + "x" + std::to_string(size.second), t);
    PrintRow("all", total);
    return 0;
}
