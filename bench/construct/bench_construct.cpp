// bench_construct.cpp - times whole constructions (rip-up allowed) of the benchmark patterns,
// without and with theme words, and prints the result, the steps and the wall time of each.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench_patterns.h"
#include "trv600.h"

namespace {

long Steps = 0;
void OnProgress(int steps, int) {
    if (steps > 0) ++Steps;
}
void OnRejects() {}
int Quiet(const char *, const char *, int buttons) {
    return buttons == TRV_MB_OK ? TRV_IDOK : TRV_IDRETRY;
}

std::string ExecutableFolder() {
    char path[4096];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return ".";
    path[n] = 0;
    std::string s(path);
    return s.substr(0, s.rfind('/'));
}

}  // namespace

int main(int argc, char **argv) {
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
    std::vector<double> times;
    int runs = 0, filled = 0, filled15 = 0, runs15 = 0;
    double worst = 0;
    for (int rep = 0; rep < repeat; ++rep) {
        for (const auto &p : BenchPatterns()) {
            for (int withTheme = 0; withTheme < 2; ++withTheme) {
                LoadBenchPattern(p);
                TRVThemeDeleteAll();
                if (withTheme)
                    for (const auto &w : p.themeWords) TRVNewThemeWord(w.c_str(), "", 0);
                Steps = 0;
                auto t0 = std::chrono::steady_clock::now();
                int result = TRVConstructCmd(TRV_RIPUP_ALLOWED);
                double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
                std::printf("%-10s %-6s %6d %9ld %10.3f\n", p.name, withTheme ? "yes" : "no", result,
                            Steps, s);
                std::fflush(stdout);
                times.push_back(s);
                worst = std::max(worst, s);
                ++runs;
                filled += result == TRV_FINISHED;
                if (std::strncmp(p.name, "15x15", 5) == 0) {
                    ++runs15;
                    filled15 += result == TRV_FINISHED;
                }
            }
        }
    }
    std::sort(times.begin(), times.end());
    double median = times.size() % 2 ? times[times.size() / 2]
                                     : (times[times.size() / 2 - 1] + times[times.size() / 2]) / 2;
    std::printf("filled %d of %d (%.0f %%), 15x15 filled %d of %d\n", filled, runs,
                100.0 * filled / runs, filled15, runs15);
    std::printf("median %.3f s, slowest %.3f s\n", median, worst);
    return 0;
}
