// mkfilled.cpp - makes a filled 15 x 15 puzzle file for the tests: a benchmark pattern with one
// inner block cut out of the grid and one fixed word, filled by the engine with its fixed seed,
// written as puzzle-file text (Windows-1252, CR LF).
// Usage: mkfilled <folder holding ZEDAVIV> <output file>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_patterns.h"
#include "trv600.h"

namespace {

const char *const kPatternName = "15x15-01";
// A word that fits the pattern's first short across slot and still lets the fill finish.
const char *const kFixedWord = "SEA";

void OnProgress(int, int) {}
void OnRejects() {}
int Quiet(const char *, const char *, int buttons) { return buttons == TRV_MB_OK ? TRV_IDOK : TRV_IDRETRY; }

const BenchPattern *FindPattern(const char *name)
{
    for (const auto &p : BenchPatterns())
        if (std::strcmp(p.name, name) == 0)
            return &p;
    return nullptr;
}

bool IsOpen(int column, int row)
{
    char code = TRVGetCell(column, row);
    return code != TRV_BLOCK && code != TRV_EDGE && code != TRV_REMOVED;
}

// The first block in reading order off the border whose four neighbours are all open: cutting
// it out leaves every slot as it was, so the pattern fills as before.
bool FindInnerBlock(int &column, int &row)
{
    for (int r = 2; r < TRVGetHeight(); ++r)
        for (int c = 2; c < TRVGetWidth(); ++c)
            if (TRVGetCell(c, r) == TRV_BLOCK && IsOpen(c - 1, r) && IsOpen(c + 1, r) && IsOpen(c, r - 1) &&
                IsOpen(c, r + 1)) {
                column = c;
                row = r;
                return true;
            }
    return false;
}

// The first across slot in reading order whose length is 3 to 5.
bool FindShortAcross(int &column, int &row, int &length)
{
    for (int r = 1; r <= TRVGetHeight(); ++r)
        for (int c = 1; c <= TRVGetWidth();) {
            if (!IsOpen(c, r)) {
                ++c;
                continue;
            }
            int end = c;
            while (end <= TRVGetWidth() && IsOpen(end, r))
                ++end;
            if (end - c >= 3 && end - c <= 5) {
                column = c;
                row = r;
                length = end - c;
                return true;
            }
            c = end;
        }
    return false;
}

// One grid row as the puzzle file holds it: a Tab, then per cell its character and a blank;
// "*" block, "-" empty, "~" removed, a fixed letter upper case, an engine letter lower case.
std::string GridLine(int row)
{
    std::string line = "\t";
    for (int c = 1; c <= TRVGetWidth(); ++c) {
        char code = TRVGetCell(c, row);
        char ch;
        switch (code) {
        case TRV_BLOCK: ch = '*'; break;
        case TRV_EMPTY: ch = '-'; break;
        case TRV_EDGE: ch = '|'; break;
        case TRV_REMOVED: ch = '~'; break;
        default: {
            unsigned char u = static_cast<unsigned char>(code);
            ch = static_cast<char>(TRVIsCellFixed(c, row) ? std::toupper(u) : std::tolower(u));
        }
        }
        line += ch;
        line += ' ';
    }
    return line;
}

bool WritePuzzle(const std::string &fileName)
{
    std::vector<std::string> lines = {
        "TRVFileFormat=2.0",
        "PuzzleTitle=Filled Fifteen",
        "PuzzleSubtitle=A grid the engine filled",
        "Columns=" + std::to_string(TRVGetWidth()),
        "Rows=" + std::to_string(TRVGetHeight()),
        "TightlyCrossed=T",
        "SymmetryMode=Standard Diagonal",
        "ShowHotSpots=F",
        "FlagOneLetterSlots=F",
        "FlagTwoLetterSlots=F",
        "",
        "[Auto-Layout]",
        "AutoLayout=F",
        "",
        "GRID:",
    };
    for (int r = 1; r <= TRVGetHeight(); ++r)
        lines.push_back(GridLine(r));
    lines.push_back("END GRID");
    // No theme words and no clue sections: the reader takes both as empty.
    lines.push_back("THEME WORDS:");
    lines.push_back("END THEME WORDS");
    lines.push_back("END.");

    std::ofstream out(fileName, std::ios::binary);
    for (const auto &line : lines)
        out << line << "\r\n";
    out.close();
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: mkfilled <folder holding ZEDAVIV> <output file>\n");
        return 2;
    }
    // The output name is taken before entering the dictionary's folder, which the engine needs.
    const std::string output = std::filesystem::absolute(argv[2]).string();
    if (chdir(argv[1]) != 0) {
        std::fprintf(stderr, "cannot enter %s\n", argv[1]);
        return 1;
    }
    TRVSetMessageBoxHandler(Quiet);
    TRVEstablishConstructInfoCB(OnProgress);
    TRVEstablishRejectedWordsCB(OnRejects);

    const BenchPattern *pattern = FindPattern(kPatternName);
    if (!pattern) {
        std::fprintf(stderr, "no pattern %s\n", kPatternName);
        return 1;
    }
    LoadBenchPattern(*pattern);
    TRVSetSymMode(1);

    // The engine loads its word lists for a grid, so the word is looked up once one is there.
    if (!TRVCreate()) {
        std::fprintf(stderr, "cannot load the dictionary from %s\n", argv[1]);
        return 1;
    }
    const bool known = TRVIsInSpellingDict(kFixedWord);
    TRVDestroy();
    if (!known) {
        std::fprintf(stderr, "%s is not in the dictionary\n", kFixedWord);
        return 1;
    }

    // Only the block itself is cut out, not its symmetry partner, so that the file holds a
    // removed cell beside ordinary blocks.
    int removedColumn = 0, removedRow = 0;
    if (!FindInnerBlock(removedColumn, removedRow)) {
        std::fprintf(stderr, "%s has no inner block with four open neighbours\n", kPatternName);
        return 1;
    }
    TRVSetCellOnly(removedColumn, removedRow, TRV_REMOVED);

    int wordColumn = 0, wordRow = 0, wordLength = 0;
    if (!FindShortAcross(wordColumn, wordRow, wordLength) ||
        wordLength != static_cast<int>(std::strlen(kFixedWord))) {
        std::fprintf(stderr, "%s does not fit the first across slot of 3 to 5 cells\n", kFixedWord);
        return 1;
    }
    for (int i = 0; i < wordLength; ++i)
        TRVSetCellOnly(wordColumn + i, wordRow,
                       static_cast<char>(std::toupper(static_cast<unsigned char>(kFixedWord[i]))));
    TRVRenumberGrid();

    // Without TRV_CONSTRUCT_RANDOM the engine uses its fixed seed, so the fill repeats.
    int result = TRVConstructCmd(TRV_RIPUP_ALLOWED);
    if (result != TRV_FINISHED) {
        std::fprintf(stderr, "construction ended with %d, not finished\n", result);
        return 1;
    }
    if (!WritePuzzle(output)) {
        std::fprintf(stderr, "cannot write %s\n", output.c_str());
        return 1;
    }
    std::printf("%s: pattern %s, removed cell column %d row %d, fixed %s at column %d row %d across\n",
                output.c_str(), kPatternName, removedColumn, removedRow, kFixedWord, wordColumn, wordRow);
    return 0;
}
