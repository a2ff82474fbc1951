// ngin_fixture.cpp - packed fixture dictionaries, grids from text and fill checks for the
// engine tests. Uses only the public interface of the library.
#include "ngin_fixture.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <stdexcept>

#include "trv600.h"

namespace ngintest {

namespace {

void PutUnit(std::vector<unsigned char> &out, unsigned unit) {
    out.push_back(static_cast<unsigned char>(unit & 255));
    out.push_back(static_cast<unsigned char>(unit >> 8));
}

// Letters grouped in threes from the end of the word, the first unit holding the rest.
std::vector<unsigned> Record(const std::string &w) {
    int n = static_cast<int>(w.size());
    std::vector<unsigned> units;
    int first = n % 3 == 0 ? 3 : n % 3;
    int pos = 0;
    for (int take = first; pos < n; take = 3) {
        unsigned u = 0;
        for (int i = 0; i < take; ++i) u = (u << 5) | (w[pos++] & 31);
        units.push_back(u);
    }
    return units;
}

unsigned Group(int length, char ch) {
    int c = ch & 31;
    if (length <= 4) return c <= 6 ? 0 : c <= 12 ? 1 : c <= 18 ? 2 : 3;
    if (length <= 6) return c <= 8 ? 0 : c <= 18 ? 1 : 2;
    return c <= 12 ? 0 : 1;
}

unsigned Signature(const std::string &w) {
    int n = static_cast<int>(w.size());
    int bits = n <= 6 ? 2 : 1;
    unsigned sig = 0;
    for (char ch : w) sig = (sig << bits) | Group(n, ch);
    return sig;
}

}  // namespace

void WritePackedDictionary(const std::string &folder, const std::vector<std::string> &words) {
    std::map<int, std::set<std::string>> byLength;
    for (const auto &w : words)
        if (!w.empty() && w.size() <= 17) byLength[static_cast<int>(w.size())].insert(w);
    std::string dir = folder + "/ZEDAVIV";
    std::string cmd = "mkdir -p '" + dir + "'";
    if (std::system(cmd.c_str()) != 0) throw std::runtime_error("cannot make " + dir);
    for (int n = 1; n <= 17; ++n) {
        std::vector<unsigned char> out;
        // One record per section keeps the layout simple and valid for lengths 2 to 9.
        for (const auto &w : byLength[n]) {
            auto rec = Record(w);
            if (n >= 2 && n <= 3) PutUnit(out, (1u << 8) | Signature(w));
            if (n >= 4 && n <= 9) {
                PutUnit(out, Signature(w));
                PutUnit(out, 1);
            }
            for (unsigned u : rec) PutUnit(out, u);
        }
        if (n >= 2 && n <= 3) PutUnit(out, 0);
        if (n >= 4 && n <= 9) {
            PutUnit(out, 0);
            PutUnit(out, 0);
        }
        char name[64];
        std::snprintf(name, sizeof name, "/E.P%02d", n);
        std::ofstream f(dir + name, std::ios::binary);
        f.write(reinterpret_cast<const char *>(out.data()), static_cast<std::streamsize>(out.size()));
    }
}

std::vector<std::string> ReadWordList(const std::string &name) {
    std::ifstream f(std::string(TRV_TEST_DATA) + "/ngin/" + name);
    if (!f) throw std::runtime_error("cannot read " + name);
    std::vector<std::string> words;
    std::string line;
    while (std::getline(f, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) words.push_back(line);
    }
    return words;
}

std::string EnterDictionaryFolder(const std::vector<std::string> &words) {
    char tmpl[] = "/tmp/trv_ngin_XXXXXX";
    const char *dir = mkdtemp(tmpl);
    if (!dir) throw std::runtime_error("mkdtemp failed");
    WritePackedDictionary(dir, words);
    if (chdir(dir) != 0) throw std::runtime_error("chdir failed");
    return dir;
}

void MakeGrid(const std::vector<std::string> &rows) {
    int height = static_cast<int>(rows.size());
    int width = static_cast<int>(rows[0].size());
    TRVCreateRenumGrid(width, height);
    for (int r = 1; r <= height; ++r)
        for (int c = 1; c <= width; ++c) {
            char ch = rows[r - 1][c - 1];
            TRVSetCellOnly(c, r, ch == '#' ? TRV_BLOCK : ch == '.' ? TRV_EMPTY : ch);
        }
    TRVRenumberGrid();
}

std::vector<std::string> GridRows() {
    std::vector<std::string> rows;
    for (int r = 1; r <= TRVGetHeight(); ++r) {
        std::string row;
        for (int c = 1; c <= TRVGetWidth(); ++c) {
            char ch = TRVGetCell(c, r);
            row += ch == TRV_BLOCK ? '#' : ch == TRV_EMPTY ? '.' : ch;
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> SlotWords() {
    std::vector<std::string> rows = GridRows();
    int height = static_cast<int>(rows.size());
    int width = height ? static_cast<int>(rows[0].size()) : 0;
    auto open = [&](int r, int c) {
        return r >= 0 && r < height && c >= 0 && c < width && rows[r][c] != '#';
    };
    std::vector<std::string> words;
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c) {
            if (!open(r, c)) continue;
            for (int dir = 0; dir < 2; ++dir) {
                int dr = dir, dc = 1 - dir;
                if (open(r - dr, c - dc) || !open(r + dr, c + dc)) continue;
                std::string w;
                for (int rr = r, cc = c; open(rr, cc); rr += dr, cc += dc) w += rows[rr][cc];
                words.push_back(w);
            }
        }
    return words;
}

std::string CheckFill(const std::vector<std::string> &dictionary,
                      const std::vector<std::string> &themeWords) {
    std::set<std::string> known(dictionary.begin(), dictionary.end());
    known.insert(themeWords.begin(), themeWords.end());
    std::set<std::string> seen;
    for (const auto &w : SlotWords()) {
        if (w.find('.') != std::string::npos) return "incomplete slot " + w;
        if (!known.count(w)) return "unknown word " + w;
        if (!seen.insert(w).second) return "word twice " + w;
    }
    return "";
}

}  // namespace ngintest
