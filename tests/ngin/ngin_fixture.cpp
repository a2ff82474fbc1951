// ngin_fixture.cpp - packed fixture dictionaries, grids from text and fill checks for the
// engine tests. Uses only the public interface of the library.
#include "ngin_fixture.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <stdexcept>

#include "dictpack.h"
#include "trv600.h"

namespace ngintest {

void WritePackedDictionary(const std::string &folder, const std::vector<std::string> &words)
{
    std::string error;
    if (!trvdict::writeDictionary(folder + "/ZEDAVIV", words, nullptr, &error))
        throw std::runtime_error("cannot write the dictionary: " + error);
}

std::vector<std::string> ReadWordList(const std::string &name)
{
    std::ifstream f(std::string(TRV_TEST_DATA) + "/ngin/" + name);
    if (!f)
        throw std::runtime_error("cannot read " + name);
    std::vector<std::string> words;
    std::string line;
    while (std::getline(f, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            words.push_back(line);
    }
    return words;
}

std::string EnterDictionaryFolder(const std::vector<std::string> &words)
{
    char tmpl[] = "/tmp/trv_ngin_XXXXXX";
    const char *dir = mkdtemp(tmpl);
    if (!dir)
        throw std::runtime_error("mkdtemp failed");
    WritePackedDictionary(dir, words);
    if (chdir(dir) != 0)
        throw std::runtime_error("chdir failed");
    return dir;
}

void MakeGrid(const std::vector<std::string> &rows)
{
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

std::vector<std::string> GridRows()
{
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

std::vector<std::string> SlotWords()
{
    std::vector<std::string> rows = GridRows();
    int height = static_cast<int>(rows.size());
    int width = height ? static_cast<int>(rows[0].size()) : 0;
    auto open = [&](int r, int c) {
        return r >= 0 && r < height && c >= 0 && c < width && rows[r][c] != '#';
    };
    std::vector<std::string> words;
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c) {
            if (!open(r, c))
                continue;
            for (int dir = 0; dir < 2; ++dir) {
                int dr = dir, dc = 1 - dir;
                if (open(r - dr, c - dc) || !open(r + dr, c + dc))
                    continue;
                std::string w;
                for (int rr = r, cc = c; open(rr, cc); rr += dr, cc += dc)
                    w += rows[rr][cc];
                words.push_back(w);
            }
        }
    return words;
}

std::string CheckFill(const std::vector<std::string> &dictionary, const std::vector<std::string> &themeWords)
{
    std::set<std::string> known(dictionary.begin(), dictionary.end());
    known.insert(themeWords.begin(), themeWords.end());
    std::set<std::string> seen;
    for (const auto &w : SlotWords()) {
        if (w.find('.') != std::string::npos)
            return "incomplete slot " + w;
        if (!known.count(w))
            return "unknown word " + w;
        if (!seen.insert(w).second)
            return "word twice " + w;
    }
    return "";
}

} // namespace ngintest
