// bench_construct.cpp - times whole constructions (rip-up allowed) of the benchmark patterns,
// without and with theme words, and prints the result, the steps and the wall time of each,
// the share of fill words that the built clue files can clue, and the first 15 x 15 fill.
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "bench_patterns.h"
#include "trv600.h"

namespace {

long Steps = 0;
void OnProgress(int steps, int)
{
    if (steps > 0)
        ++Steps;
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

// The answers of the clue files ZEDAVIV/Clues.02 ... Clues.17, lower case.
std::set<std::string> ReadClueAnswers()
{
    std::set<std::string> answers;
    for (int len = 2; len <= 17; ++len) {
        char name[32];
        std::snprintf(name, sizeof name, "ZEDAVIV/Clues.%02d", len);
        std::ifstream in(name, std::ios::binary);
        std::string line;
        while (std::getline(in, line)) {
            const std::string answer = line.substr(0, line.find('|'));
            if (!answer.empty())
                answers.insert(answer);
        }
    }
    return answers;
}

// The words of the filled grid: runs of two or more letters across and down, lower case.
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

void PrintGrid(const BenchPattern &p)
{
    const int height = static_cast<int>(p.rows.size());
    const int width = static_cast<int>(p.rows[0].size());
    std::printf("fill of %s:\n", p.name);
    for (int r = 1; r <= height; ++r) {
        std::printf("  ");
        for (int c = 1; c <= width; ++c) {
            const char code = TRVGetCell(c, r);
            std::printf("%c ", code == TRV_BLOCK
                                   ? '#'
                                   : static_cast<char>(std::toupper(static_cast<unsigned char>(code))));
        }
        std::printf("\n");
    }
}

} // namespace

int main(int argc, char **argv)
{
    // The dictionary folder ZEDAVIV is looked for in the given folder, else beside the program.
    std::string folder = argc > 1 ? argv[1] : ExecutableFolder();
    int repeat = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;
    if (chdir(folder.c_str()) != 0) {
        std::fprintf(stderr, "cannot enter %s\n", folder.c_str());
        return 1;
    }
    TRVSetMessageBoxHandler(Quiet);
    TRVEstablishConstructInfoCB(OnProgress);
    TRVEstablishRejectedWordsCB(OnRejects);

    std::printf("%-10s %-6s %6s %9s %10s\n", "pattern", "theme", "result", "steps", "seconds");
    const std::set<std::string> clued = ReadClueAnswers();
    long fillWords = 0, cluedWords = 0;
    bool gridShown = false;
    std::vector<double> times;
    int runs = 0, filled = 0, filled15 = 0, runs15 = 0;
    double worst = 0;
    for (int rep = 0; rep < repeat; ++rep) {
        for (const auto &p : BenchPatterns()) {
            for (int withTheme = 0; withTheme < 2; ++withTheme) {
                LoadBenchPattern(p);
                TRVThemeDeleteAll();
                if (withTheme)
                    for (const auto &w : p.themeWords)
                        TRVNewThemeWord(w.c_str(), "", 0);
                Steps = 0;
                auto t0 = std::chrono::steady_clock::now();
                int result = TRVConstructCmd(TRV_RIPUP_ALLOWED);
                double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
                std::printf("%-10s %-6s %6d %9ld %10.3f\n", p.name, withTheme ? "yes" : "no", result, Steps,
                            s);
                std::fflush(stdout);
                times.push_back(s);
                worst = std::max(worst, s);
                ++runs;
                filled += result == TRV_FINISHED;
                if (std::strncmp(p.name, "15x15", 5) == 0) {
                    ++runs15;
                    filled15 += result == TRV_FINISHED;
                    if (result == TRV_FINISHED && !gridShown) {
                        PrintGrid(p);
                        gridShown = true;
                    }
                }
                if (result == TRV_FINISHED) {
                    for (const auto &w :
                         FillWords(static_cast<int>(p.rows[0].size()), static_cast<int>(p.rows.size()))) {
                        ++fillWords;
                        cluedWords += clued.count(w) != 0;
                    }
                }
            }
        }
    }
    std::sort(times.begin(), times.end());
    double median = times.size() % 2 ? times[times.size() / 2]
                                     : (times[times.size() / 2 - 1] + times[times.size() / 2]) / 2;
    std::printf("filled %d of %d (%.0f %%), 15x15 filled %d of %d\n", filled, runs, 100.0 * filled / runs,
                filled15, runs15);
    std::printf("median %.3f s, slowest %.3f s\n", median, worst);
    if (clued.empty())
        std::printf("no clue files in %s/ZEDAVIV: clued share not measured\n", folder.c_str());
    else
        std::printf("fill words with a clue: %ld of %ld (%.1f %%)\n", cluedWords, fillWords,
                    fillWords ? 100.0 * cluedWords / fillWords : 0.0);
    return 0;
}
