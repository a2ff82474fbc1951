// mkstockpat: makes the stock-pattern file StockPat beside the program.
//
//   mkstockpat --size CxR --count N --dict FOLDER --out PART [--seed S] [--budget STEPS]
//              [--max-run L]
//     generates N patterns of C columns and R rows and writes them (headers and rows, CR LF)
//     to the part file PART. With N = 0 every valid pattern of the size is enumerated (only
//     for tiny grids). Each pattern has half-turn symmetry, connected open cells, every open
//     cell in an across and a down slot, slots 3 to L (at most 15) long, and is kept only when
//     the engine fills it from the dictionary in FOLDER/ZEDAVIV within the step budget.
//   mkstockpat --join OUT PART...
//     writes the file OUT: the file header, BEGIN, the parts in the given order, END.
//
// Everything is deterministic: a fixed seed, an own draw (next() % n) and a budget counted in
// engine steps, never in time, so the file is byte-identical between builds and machines.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "trv600.h"

namespace {

struct Options {
    int columns = 0;
    int rows = 0;
    int count = 0;
    uint32_t seed = 20240611;
    long budget = 400000;
    int maxRun = 15;
    std::string dict = ".";
    std::string out;
};

// A pattern: true for a block, row by row.
struct Grid {
    int w = 0, h = 0;
    std::vector<char> block;
    char &at(int r, int c) { return block[static_cast<size_t>(r * w + c)]; }
    char at(int r, int c) const { return block[static_cast<size_t>(r * w + c)]; }
    int blocks() const { return static_cast<int>(std::count(block.begin(), block.end(), 1)); }
};

class Draw
{
public:
    explicit Draw(uint32_t seed) : m_gen(seed) {}
    // 0 .. n-1, by next() % n: the same numbers on every standard library.
    int below(int n) { return static_cast<int>(m_gen() % static_cast<uint32_t>(n)); }

private:
    std::mt19937 m_gen;
};

// Runs of open cells in one line; false when one is 1 or 2 long or longer than maxRun.
bool LineOk(const Grid &g, bool across, int index, int maxRun)
{
    const int len = across ? g.w : g.h;
    int run = 0;
    for (int i = 0; i <= len; ++i) {
        const bool open = i < len && !(across ? g.at(index, i) : g.at(i, index));
        if (open) {
            ++run;
        } else {
            if (run > 0 && (run < 3 || run > maxRun))
                return false;
            run = 0;
        }
    }
    return true;
}

bool RunsOk(const Grid &g, int maxRun)
{
    for (int r = 0; r < g.h; ++r)
        if (!LineOk(g, true, r, maxRun))
            return false;
    for (int c = 0; c < g.w; ++c)
        if (!LineOk(g, false, c, maxRun))
            return false;
    return true;
}

// No run of 1 or 2 open cells in the lines through (r, c) and its partner.
bool ShortRunsAbsentAround(const Grid &g, int r, int c)
{
    const int big = 1 << 20;
    return LineOk(g, true, r, big) && LineOk(g, true, g.h - 1 - r, big) && LineOk(g, false, c, big) &&
           LineOk(g, false, g.w - 1 - c, big);
}

bool Connected(const Grid &g)
{
    std::vector<char> seen(g.block.size(), 0);
    std::vector<int> stack;
    int open = 0;
    for (size_t i = 0; i < g.block.size(); ++i)
        if (!g.block[i]) {
            ++open;
            if (stack.empty() && !seen[i]) {
                stack.push_back(static_cast<int>(i));
                seen[i] = 1;
            }
        }
    if (open == 0)
        return false;
    int reached = 0;
    while (!stack.empty()) {
        const int i = stack.back();
        stack.pop_back();
        ++reached;
        const int r = i / g.w, c = i % g.w;
        const int nr[4] = {r - 1, r + 1, r, r}, nc[4] = {c, c, c - 1, c + 1};
        for (int k = 0; k < 4; ++k) {
            if (nr[k] < 0 || nr[k] >= g.h || nc[k] < 0 || nc[k] >= g.w)
                continue;
            const int j = nr[k] * g.w + nc[k];
            if (!g.block[static_cast<size_t>(j)] && !seen[static_cast<size_t>(j)]) {
                seen[static_cast<size_t>(j)] = 1;
                stack.push_back(j);
            }
        }
    }
    return reached == open;
}

// The smallest text of the pattern under the turns and mirrors that keep its size.
std::string CanonicalKey(const Grid &g)
{
    std::string best;
    const int transforms = g.w == g.h ? 8 : 4;
    for (int t = 0; t < transforms; ++t) {
        std::string key;
        for (int r = 0; r < g.h; ++r)
            for (int c = 0; c < g.w; ++c) {
                int sr = r, sc = c;
                if (t & 1)
                    sc = g.w - 1 - sc;
                if (t & 2)
                    sr = g.h - 1 - sr;
                if (t & 4)
                    std::swap(sr, sc);
                key += g.at(sr, sc) ? '*' : '-';
            }
        if (best.empty() || key < best)
            best = key;
    }
    return best;
}

double BlockShare(const Grid &g) { return static_cast<double>(g.blocks()) / (g.w * g.h); }

// The block share wanted: 14-18 % from 13 x 13 up, a looser range for small grids.
void ShareRange(int w, int h, double &lo, double &hi)
{
    if (std::min(w, h) >= 13) {
        lo = 0.14;
        hi = 0.18;
    } else {
        lo = 0.08;
        hi = 0.24;
    }
}

void SetPair(Grid &g, int r, int c, char v)
{
    g.at(r, c) = v;
    g.at(g.h - 1 - r, g.w - 1 - c) = v;
}

// One random pattern; false when the attempt ran into a dead end.
bool RandomPattern(Draw &draw, int w, int h, int maxRun, Grid &g)
{
    g.w = w;
    g.h = h;
    g.block.assign(static_cast<size_t>(w * h), 0);
    double lo, hi;
    ShareRange(w, h, lo, hi);
    const int minBlocks = static_cast<int>(std::ceil(lo * w * h - 1e-9));
    const int maxBlocks = static_cast<int>(std::floor(hi * w * h + 1e-9));
    const int target = minBlocks + draw.below(maxBlocks - minBlocks + 1);
    // Give up after a run of refused placements: a fresh attempt is cheaper than a dead end.
    const int refusals = 60 + w * h / 4;
    for (int refused = 0; refused < refusals;) {
        if (g.blocks() >= target && RunsOk(g, maxRun))
            break;
        // Break a run that is still too long first, else place anywhere.
        int r = -1, c = -1;
        std::vector<std::pair<int, int>> longCells;
        std::vector<int> across(static_cast<size_t>(w * h), 0), down(static_cast<size_t>(w * h), 0);
        for (int rr = 0; rr < h; ++rr)
            for (int cc = 0, start = 0; cc <= w; ++cc)
                if (cc == w || g.at(rr, cc)) {
                    for (int k = start; k < cc; ++k)
                        across[static_cast<size_t>(rr * w + k)] = cc - start;
                    start = cc + 1;
                }
        for (int cc = 0; cc < w; ++cc)
            for (int rr = 0, start = 0; rr <= h; ++rr)
                if (rr == h || g.at(rr, cc)) {
                    for (int k = start; k < rr; ++k)
                        down[static_cast<size_t>(k * w + cc)] = rr - start;
                    start = rr + 1;
                }
        // Cells in a run that is too long and that can take a block without leaving a run of
        // one or two; those in an across and a down run that are both too long come first.
        std::vector<std::pair<int, int>> both;
        for (int i = 0; i < w * h; ++i) {
            const bool a = across[static_cast<size_t>(i)] > maxRun, d = down[static_cast<size_t>(i)] > maxRun;
            if (!a && !d)
                continue;
            const int rr = i / w, cc = i % w;
            SetPair(g, rr, cc, 1);
            const bool fits = ShortRunsAbsentAround(g, rr, cc);
            SetPair(g, rr, cc, 0);
            if (!fits)
                continue;
            longCells.emplace_back(rr, cc);
            if (a && d)
                both.emplace_back(rr, cc);
        }
        if (!both.empty())
            longCells.swap(both);
        if (!longCells.empty()) {
            const auto &p = longCells[static_cast<size_t>(draw.below(static_cast<int>(longCells.size())))];
            r = p.first;
            c = p.second;
        } else {
            r = draw.below(h);
            c = draw.below(w);
            if (g.at(r, c)) {
                ++refused;
                continue;
            }
        }
        SetPair(g, r, c, 1);
        if (g.blocks() > maxBlocks || !ShortRunsAbsentAround(g, r, c) || !Connected(g)) {
            SetPair(g, r, c, 0);
            ++refused;
        }
    }
    const double share = BlockShare(g);
    return RunsOk(g, maxRun) && Connected(g) && share >= lo - 1e-9 && share <= hi + 1e-9;
}

// Every valid pattern of a tiny size, in a fixed order.
std::vector<Grid> AllPatterns(int w, int h, int maxRun)
{
    std::vector<std::pair<int, int>> reps; // one cell of each symmetric pair
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c)
            if (r * w + c <= (h - 1 - r) * w + (w - 1 - c))
                reps.emplace_back(r, c);
    std::vector<Grid> all;
    const uint32_t n = 1u << reps.size();
    for (uint32_t mask = 0; mask < n; ++mask) {
        Grid g;
        g.w = w;
        g.h = h;
        g.block.assign(static_cast<size_t>(w * h), 0);
        for (size_t i = 0; i < reps.size(); ++i)
            if (mask & (1u << i))
                SetPair(g, reps[i].first, reps[i].second, 1);
        if (RunsOk(g, maxRun) && Connected(g))
            all.push_back(g);
    }
    return all;
}

long Steps = 0;
long Budget = 0;
bool Cancelled = false;
void OnProgress(int, int)
{
    ++Steps;
    if (Steps > Budget && !Cancelled) {
        Cancelled = true;
        TRVUserCancel();
    }
}
void OnRejects() {}
int Quiet(const char *, const char *, int buttons) { return buttons == TRV_MB_OK ? TRV_IDOK : TRV_IDRETRY; }

// True when the engine fills the pattern within the budget; steps gets the steps it took.
bool Fillable(const Grid &g, long &steps)
{
    TRVCreateRenumGrid(g.w, g.h);
    for (int r = 0; r < g.h; ++r)
        for (int c = 0; c < g.w; ++c)
            TRVSetCellOnly(c + 1, r + 1, g.at(r, c) ? TRV_BLOCK : TRV_EMPTY);
    TRVRenumberGrid();
    TRVThemeDeleteAll();
    Steps = 0;
    Cancelled = false;
    const int result = TRVConstructCmd(TRV_RIPUP_ALLOWED);
    steps = Steps;
    return result == TRV_FINISHED;
}

std::string TwoDigits(int n)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", n);
    return buf;
}

bool WriteFile(const std::string &name, const std::string &data)
{
    const std::string temp = name + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << data;
        if (!out.flush())
            return false;
    }
    return std::rename(temp.c_str(), name.c_str()) == 0;
}

int Join(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: mkstockpat --join OUT PART...\n");
        return 2;
    }
    std::string data = "TRV -- Stock Patterns\r\nBEGIN\r\n";
    for (int i = 3; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "mkstockpat: cannot read %s\n", argv[i]);
            return 1;
        }
        data.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    data += "END.\r\n";
    if (!WriteFile(argv[2], data)) {
        std::fprintf(stderr, "mkstockpat: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}

bool ParseArgs(int argc, char **argv, Options &o)
{
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i], value = argv[i + 1];
        if (key == "--size") {
            if (std::sscanf(value.c_str(), "%dx%d", &o.columns, &o.rows) != 2)
                return false;
        } else if (key == "--count") {
            o.count = std::atoi(value.c_str());
        } else if (key == "--seed") {
            o.seed = static_cast<uint32_t>(std::strtoul(value.c_str(), nullptr, 10));
        } else if (key == "--budget") {
            o.budget = std::atol(value.c_str());
        } else if (key == "--max-run") {
            o.maxRun = std::atoi(value.c_str());
        } else if (key == "--dict") {
            o.dict = value;
        } else if (key == "--out") {
            o.out = value;
        } else {
            return false;
        }
    }
    return argc % 2 == 1 && o.columns >= 3 && o.columns <= 51 && o.rows >= 3 && o.rows <= 51 &&
           o.count >= 0 && o.budget > 0 && o.maxRun >= 3 && o.maxRun <= 15 && !o.out.empty();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "--join") == 0)
        return Join(argc, argv);
    Options o;
    if (!ParseArgs(argc, argv, o)) {
        std::fprintf(stderr, "usage: mkstockpat --size CxR --count N --dict FOLDER --out PART "
                             "[--seed S] [--budget STEPS] [--max-run L]\n"
                             "       mkstockpat --join OUT PART...\n");
        return 2;
    }
    std::string out = o.out;
    if (!out.empty() && out[0] != '/') {
        char cwd[4096];
        if (getcwd(cwd, sizeof cwd))
            out = std::string(cwd) + "/" + out;
    }
    // The engine reads ZEDAVIV from the current folder.
    if (chdir(o.dict.c_str()) != 0) {
        std::fprintf(stderr, "mkstockpat: cannot enter %s\n", o.dict.c_str());
        return 1;
    }
    TRVSetMessageBoxHandler(Quiet);
    TRVEstablishConstructInfoCB(OnProgress);
    TRVEstablishRejectedWordsCB(OnRejects);
    Budget = o.budget;

    // Each size draws from its own stream, so the sizes do not depend on one another.
    Draw draw(o.seed ^ static_cast<uint32_t>(o.columns * 1000 + o.rows) * 2654435761u);
    std::vector<Grid> kept;
    std::set<std::string> keys;
    int tried = 0;
    long stepsTotal = 0, stepsMax = 0;
    const auto consider = [&](const Grid &g) {
        if (!keys.insert(CanonicalKey(g)).second)
            return;
        ++tried;
        long steps = 0;
        if (Fillable(g, steps)) {
            kept.push_back(g);
            stepsTotal += steps;
            stepsMax = std::max(stepsMax, steps);
        }
    };
    if (o.count == 0) {
        if (o.columns * o.rows > 25) {
            std::fprintf(stderr, "mkstockpat: enumerating every pattern is only for tiny grids\n");
            return 2;
        }
        for (const Grid &g : AllPatterns(o.columns, o.rows, o.maxRun))
            consider(g);
    } else {
        const int maxTries = o.count * 40;
        for (int attempt = 0;
             attempt < maxTries * 50 && static_cast<int>(kept.size()) < o.count && tried < maxTries;
             ++attempt) {
            Grid g;
            if (RandomPattern(draw, o.columns, o.rows, o.maxRun, g))
                consider(g);
        }
    }

    const std::string size = std::to_string(o.columns) + "x" + std::to_string(o.rows);
    std::string data;
    double shareMin = 1, shareMax = 0, shareSum = 0;
    for (size_t i = 0; i < kept.size(); ++i) {
        const Grid &g = kept[i];
        const double share = BlockShare(g);
        shareMin = std::min(shareMin, share);
        shareMax = std::max(shareMax, share);
        shareSum += share;
        data += "(" + std::to_string(g.w) + "*" + std::to_string(g.h) + ") Standard " + size + " " +
                TwoDigits(static_cast<int>(i + 1)) + "\r\n";
        for (int r = 0; r < g.h; ++r) {
            for (int c = 0; c < g.w; ++c)
                data += g.at(r, c) ? '*' : '-';
            data += "\r\n";
        }
    }
    if (!WriteFile(out, data)) {
        std::fprintf(stderr, "mkstockpat: cannot write %s\n", out.c_str());
        return 1;
    }
    const size_t n = std::max<size_t>(kept.size(), 1);
    std::printf("%-6s kept %d/%d tried, blocks %.1f-%.1f %% (mean %.1f %%), fill steps mean %ld max %ld\n",
                size.c_str(), static_cast<int>(kept.size()), tried, 100 * (kept.empty() ? 0 : shareMin),
                100 * shareMax, 100 * shareSum / static_cast<double>(n), stepsTotal / static_cast<long>(n),
                stepsMax);
    if (o.count > 0 && static_cast<int>(kept.size()) < o.count) {
        std::fprintf(stderr, "mkstockpat: only %d of %d patterns of %s could be filled\n",
                     static_cast<int>(kept.size()), o.count, size.c_str());
        return 1;
    }
    return 0;
}
