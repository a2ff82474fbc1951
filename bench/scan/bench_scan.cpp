// bench_scan.cpp - times uncached scans of patterns with 0 to 3 known letters for each word
// length 3 to 15 over the built dictionary: the plain walk and the indexed scan.
//   bench_scan [folder holding ZEDAVIV]   (default: this program's folder)
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "trv600.h"
#include "trv_grid.h"
#include "trv_scan.h"

namespace {

int quietBox(const char *text, const char *, int)
{
    std::fprintf(stderr, "box: %s\n", text);
    return TRV_IDRETRY;
}

uint32_t rnd()
{
    static uint32_t s = 12345;
    s = s * 1664525u + 1013904223u;
    return s >> 8;
}

// The words of a loaded list, decoded from its records (sections walked as the scanner does).
std::vector<std::string> wordsOf(int L)
{
    std::vector<std::string> out;
    const WLIST &w = Lexicon.wlist[L];
    if (!w.top)
        return out;
    int nu = psize[L] / 2;
    uint32_t n = w.asize / 2;
    auto decode = [&](const uint16_t *r) {
        std::string s(size_t(L), '?');
        for (int i = 0; i < L; i++) {
            int e = L - 1 - i;
            s[size_t(i)] = char('@' + ((r[nu - 1 - e / 3] >> (5 * (e % 3))) & 31));
        }
        out.push_back(s);
    };
    bool sections = L >= 2 && L <= 9 && w.asize < SectionedListLimit;
    if (!sections) {
        for (uint32_t k = 0; k + nu <= n; k += uint32_t(nu))
            decode(w.top + k);
        return out;
    }
    int h = L <= 3 ? 1 : 2;
    for (uint32_t pos = 0; pos + h <= n;) {
        unsigned count = h == 1 ? w.top[pos] >> 8 : w.top[pos + 1];
        if (!count)
            break;
        pos += uint32_t(h);
        for (unsigned c = 0; c < count && pos + nu <= n; c++, pos += uint32_t(nu))
            decode(w.top + pos);
    }
    return out;
}

struct Timing {
    double us = 0;      // per scan
    double recPerS = 0; // records compared per second (plain walk)
    double perScan = 0; // records compared per scan
};

Timing run(scanner &s, const std::vector<std::string> &patterns, bool indexed)
{
    ScanUseIndex = indexed;
    uint64_t visited0 = ScanRecordsVisited;
    long sink = 0;
    size_t scans = 0;
    auto t0 = std::chrono::steady_clock::now();
    double elapsed = 0;
    do {
        for (auto &p : patterns) {
            for (size_t i = 0; i < p.size(); i++)
                s.sCell[i].letter = p[i] == '.' ? char(Empty) : p[i];
            s.sWord.length = int(p.size());
            ScanLexicon(s.sWord);
            sink += s.sWord.totalfits;
        }
        scans += patterns.size();
        elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    } while (elapsed < 0.1);
    if (sink < 0)
        std::puts("");
    Timing t;
    t.us = elapsed * 1e6 / double(scans);
    t.recPerS = double(ScanRecordsVisited - visited0) / elapsed;
    t.perScan = double(ScanRecordsVisited - visited0) / double(scans);
    return t;
}

} // namespace

int main(int argc, char **argv)
{
    std::filesystem::path folder = argc > 1 ? std::filesystem::path(argv[1])
                                            : std::filesystem::canonical("/proc/self/exe").parent_path();
    std::filesystem::current_path(folder);
    if (!std::filesystem::exists("ZEDAVIV/E.P05")) {
        std::fprintf(stderr, "bench_scan: no dictionary in %s/ZEDAVIV (build with TRV_BUILD_DATA=ON)\n",
                     folder.c_str());
        return 1;
    }
    TRVSetMessageBoxHandler(quietBox);
    scanner s;

    std::printf("Uncached scans, patterns with 0-3 known letters taken from dictionary words.\n");
    std::printf("%3s %7s %8s | %13s %11s %11s %9s | %13s %8s\n", "len", "words", "layout", "walk us/scan",
                "Mrec/s 0", "Mrec/s 1-3", "compared", "index us/scan", "speed-up");
    double rec0 = 0, sec0 = 0, rec13 = 0, sec13 = 0;
    for (int L = 3; L <= 15; L++) {
        Lexicon.ReadWordList(L);
        std::vector<std::string> words = wordsOf(L);
        if (words.empty())
            continue;
        std::vector<std::string> patterns[4];
        for (int known = 0; known <= 3; known++)
            for (int t = 0; t < 100; t++) {
                const std::string &w = words[rnd() % words.size()];
                std::string p(size_t(L), '.');
                for (int k = 0; k < known; k++) {
                    size_t at = rnd() % size_t(L);
                    p[at] = w[at];
                }
                patterns[known].push_back(p);
            }
        double walkUs = 0, indexUs = 0, r0 = 0, s0 = 0, r13 = 0, s13 = 0, compared = 0;
        for (int known = 0; known <= 3; known++) {
            Timing walk = run(s, patterns[known], false);
            Timing index = run(s, patterns[known], true);
            walkUs += walk.us / 4;
            if (known)
                compared += walk.perScan / 3;
            indexUs += index.us / 4;
            double secs = walk.us * 1e-6;
            (known ? r13 : r0) += walk.recPerS * secs;
            (known ? s13 : s0) += secs;
        }
        bool plain = !(L <= 9 && Lexicon.wlist[L].asize < SectionedListLimit);
        std::printf("%3d %7zu %8s | %13.2f %11.0f %11.0f %8.0f%% | %13.2f %7.1fx\n", L, words.size(),
                    plain ? "records" : "sections", walkUs, r0 / s0 / 1e6, r13 / s13 / 1e6,
                    100.0 * compared / double(words.size()), indexUs, walkUs / indexUs);
        rec0 += r0;
        sec0 += s0;
        rec13 += r13;
        sec13 += s13;
    }
    std::printf(
        "plain walk, all lengths: %.0f M records/s without letters, %.0f M records/s with 1-3 letters\n",
        rec0 / sec0 / 1e6, rec13 / sec13 / 1e6);
    std::printf(
        "(Mrec/s: records compared per second by the plain walk, for patterns without letters and\n"
        " with 1-3; compared: share of the list compared per scan with 1-3 letters, below 100%% where\n"
        " sections are skipped. The index visits only records that can fit.)\n");
    return 0;
}
