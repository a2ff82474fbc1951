// bench_freeform.cpp - times freeform builds (automatic size, seed 5) of 50, 100 and 200 answer
// words with their first clues, drawn by a fixed seed from the built clue files, in a "short"
// set (3-8 letters) and a "mixed" set (3-10 letters). Prints the share of words placed, the
// size, the median time of five builds and the density (letter cells / cells) of the grid.
#include "loose.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

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

struct Line {
    std::string answer;
    std::string clue;
};

// Answers of the given lengths with their first clue, file by file.
std::vector<Line> ReadClues(int shortest, int longest)
{
    std::vector<Line> lines;
    for (int len = shortest; len <= longest; ++len) {
        char name[32];
        std::snprintf(name, sizeof name, "ZEDAVIV/Clues.%02d", len);
        std::ifstream in(name, std::ios::binary);
        std::string line;
        while (std::getline(in, line)) {
            const size_t bar = line.find('|');
            if (bar == std::string::npos || bar == 0)
                continue;
            const size_t next = line.find('|', bar + 1);
            lines.push_back({line.substr(0, bar),
                             line.substr(bar + 1, next == std::string::npos ? next : next - bar - 1)});
        }
    }
    return lines;
}

// Distinct lines drawn from the pool by a fixed seed.
QList<TFreeformEntry> Pick(const std::vector<Line> &pool, int count, std::uint32_t seed)
{
    std::mt19937 random(seed);
    std::set<size_t> taken;
    QList<TFreeformEntry> entries;
    while (int(entries.size()) < count && taken.size() < pool.size()) {
        const size_t i = random() % pool.size();
        if (!taken.insert(i).second)
            continue;
        entries.push_back({QString::fromStdString(pool[i].answer), QString::fromStdString(pool[i].clue)});
    }
    return entries;
}

} // namespace

int main(int argc, char **argv)
{
    const std::string folder = argc > 1 ? argv[1] : ExecutableFolder();
    const std::uint32_t seed = argc > 2 ? std::uint32_t(std::strtoul(argv[2], nullptr, 10)) : 2024u;
    if (chdir(folder.c_str()) != 0) {
        std::fprintf(stderr, "cannot enter %s\n", folder.c_str());
        return 1;
    }
    const struct {
        const char *name;
        int shortest, longest;
    } sets[] = {{"short", 3, 8}, {"mixed", 3, 10}};
    std::printf("%-6s %5s %8s %9s %8s %8s\n", "set", "words", "placed", "size", "seconds", "density");
    for (const auto &set : sets) {
        const std::vector<Line> pool = ReadClues(set.shortest, set.longest);
        if (pool.empty()) {
            std::fprintf(stderr, "no clue files in %s/ZEDAVIV\n", folder.c_str());
            return 1;
        }
        for (int count : {50, 100, 200}) {
            const QList<TFreeformEntry> entries = Pick(pool, count, seed);
            std::vector<double> seconds;
            TFreeformResult result;
            for (int run = 0; run < 5; ++run) {
                const auto start = std::chrono::steady_clock::now();
                result = TFreeformBuilder(entries).BuildFreeformPuzzle();
                seconds.push_back(
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
            }
            std::sort(seconds.begin(), seconds.end());
            const double density = result.Columns * result.Rows > 0
                                       ? double(result.LetterCount()) / (result.Columns * result.Rows)
                                       : 0.0;
            char size[16];
            std::snprintf(size, sizeof size, "%dx%d", result.Columns, result.Rows);
            std::printf("%-6s %5d %7.1f%% %9s %8.3f %8.3f\n", set.name, count,
                        100.0 * result.Placed.size() / entries.size(), size, seconds[2], density);
            std::fflush(stdout);
        }
    }
    return 0;
}
