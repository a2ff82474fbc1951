// reader_test.cpp - the older "CROSSWORD" text reader: result codes, symmetry names, grid
// rows, theme words, CR LF files and hostile input.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "engine_test_util.h"
#include "trv_grid.h"
#include "trv_wrds.h"

namespace {

std::string Fixture(const char *name) { return std::string(TRV_TEST_DATA) + "/engine/" + name; }

std::string ReadAll(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> scratchFiles;

// Writes text to a scratch file of this test and returns its path.
std::string WriteTemp(const std::string &name, const std::string &text)
{
    scratchFiles.push_back(::testing::TempDir() + "trv_reader_" + std::to_string(getpid()) + "_" + name);
    std::string path = ::testing::TempDir() + "trv_reader_" + std::to_string(getpid()) + "_" + name;
    std::ofstream out(path, std::ios::binary);
    out << text;
    return path;
}

std::string ToCrLf(const std::string &text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

// Everything the reader leaves behind, for comparing two reads.
struct Snapshot {
    int result, width, height, mode, saved;
    std::string cells, fixed, numbers;
    std::vector<std::string> words;
    bool operator==(const Snapshot &) const = default;
};

Snapshot Read(const std::string &path)
{
    ThmWds.DeleteAll();
    Snapshot s{};
    s.result = TRVReadPuzzle(path.c_str());
    s.width = TRVGetWidth();
    s.height = TRVGetHeight();
    s.mode = TRVGetSymMode();
    s.saved = TRVSavedState();
    for (int r = 1; r <= s.height; ++r)
        for (int c = 1; c <= s.width; ++c) {
            s.cells += TRVGetCell(c, r);
            s.fixed += static_cast<char>('0' + TRVIsCellFixed(c, r));
            s.numbers += std::to_string(TRVGetCellNumber(c, r)) + ",";
        }
    for (int k = 0; k < ThmWds.NumThemeWords(); ++k)
        s.words.push_back(std::string(ThmWds.Word(k)) + "@" + std::to_string(ThmWds.SlotxLocation(k)) + "#" +
                          std::to_string(ThmWds.WordRec[k].Priority));
    return s;
}

class ReaderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ScriptedBoxes::Install();
        TRVEstablishDrawCellCallBacks(nullptr, nullptr, nullptr, nullptr);
        TRVSetSymMode(1);
        TRVCreateRenumGrid(15, 15);
        ThmWds.DeleteAll();
    }
    void TearDown() override
    {
        for (const std::string &path : scratchFiles)
            std::remove(path.c_str());
        scratchFiles.clear();
        ThmWds.DeleteAll();
        TRVSetMessageBoxHandler(nullptr);
        TRVSetSymMode(1);
    }
};

TEST_F(ReaderTest, ResultCodes)
{
    struct Case {
        const char *file;
        int result;
    } cases[] = {
        {"zoo.txt", 0},       {"empty.txt", 1},   {"bad_header.txt", 1}, {"no_size.txt", 2},
        {"one_group.txt", 2}, {"too_big.txt", 3}, {"refused.txt", 3},    {"no_end.txt", 0},
    };
    for (const Case &c : cases) {
        TRVCreateRenumGrid(4, 3);
        TRVSetCellOnly(2, 2, 'Q');
        EXPECT_EQ(TRVReadPuzzle(Fixture(c.file).c_str()), c.result) << c.file;
        if (c.result != 0) { // a refused file leaves the grid as it was
            EXPECT_EQ(TRVGetWidth(), 4) << c.file;
            EXPECT_EQ(TRVGetCell(2, 2), 'Q') << c.file;
        }
    }
    EXPECT_TRUE(ScriptedBoxes::shown.empty());

    const std::string missing = Fixture("no_such_file.txt");
    EXPECT_EQ(TRVReadPuzzle(missing.c_str()), 99);
    ASSERT_EQ(ScriptedBoxes::shown.size(), 1u);
    EXPECT_EQ(ScriptedBoxes::shown[0].caption, "Error");
    EXPECT_EQ(ScriptedBoxes::shown[0].text.rfind("Cannot open file '" + missing + "'.  Press Retry", 0), 0u);
    EXPECT_EQ(TRVReadPuzzle(nullptr), 99);
}

TEST_F(ReaderTest, PuzzleWithThemeWords)
{
    const Snapshot s = Read(Fixture("zoo.txt"));
    ASSERT_EQ(s.result, 0);
    EXPECT_EQ(s.width, 5);
    EXPECT_EQ(s.height, 8);
    EXPECT_EQ(s.mode, 2); // "symmetry:  spiral." in lower case; the line after "END." is not read
    EXPECT_EQ(s.saved, 1);
    EXPECT_EQ(s.cells, "CAMELOTTERBISONRHINOABCDEFGHIJKLMNOZEBRA");
    EXPECT_EQ(s.fixed, std::string(40, '1'));
    EXPECT_EQ(TRVGetCellNumber(1, 8), 12);

    ASSERT_EQ(ThmWds.NumThemeWords(), 3); // the line without an answer is skipped
    EXPECT_STREQ(ThmWds.Word(0), "ZEBRA");
    EXPECT_EQ(ThmWds.WordRec[0].Priority, 3);
    const int slot = ThmWds.SlotxLocation(0);
    ASSERT_GE(slot, 0);
    EXPECT_EQ(int(WSLOTS::Slot[slot].next), 1);
    EXPECT_EQ(int(WSLOTS::Slot[slot].xFirstCell), Grid.Index(1, 8));
    EXPECT_EQ(GetBoxCode(slot), 12);

    EXPECT_STREQ(ThmWds.Word(1), "GHOST"); // clue 99 has no slot: stored unplaced
    EXPECT_EQ(ThmWds.SlotxLocation(1), -1);
    EXPECT_STREQ(ThmWds.Word(2), "COBRA");
    EXPECT_EQ(ThmWds.WordRec[2].Priority, 2);
    EXPECT_EQ(GetBoxCode(ThmWds.SlotxLocation(2)), -1);
}

TEST_F(ReaderTest, ShortGridBlock)
{
    const Snapshot s = Read(Fixture("short_grid.txt"));
    ASSERT_EQ(s.result, 0);
    const std::string E(1, Empty), B(1, Block);
    EXPECT_EQ(s.cells, "A" + B + "B" + E + "cDef" + E + E + E + E + E + E + E + E);
    EXPECT_EQ(s.fixed, "1010010000000000");
    // The "END." that ended the grid block did not end the reading.
    EXPECT_EQ(s.mode, 3);
    EXPECT_EQ(TRVGetCellNumber(1, 1), 1); // a down slot only: the block stands right of it
    EXPECT_EQ(TRVGetCellNumber(3, 1), 2);
}

// The line that ends a grid block early is only looked at as the start of the theme words.
TEST_F(ReaderTest, LineEndingAGridBlockEarly)
{
    const std::string head = "CROSSWORD (t) (2*2)\nSYMMETRY:  None.\nGRID:\n\tA B\n";
    const std::string ab = std::string("AB") + char(Empty) + char(Empty);
    struct Case {
        const char *rest;
        int mode;
        std::string cells;
        int words;
    } cases[] = {
        {"SYMMETRY:  Spiral.\nEND.\n", 0, ab, 0},
        {"GRID:\n\tC D\n\tE F\nEND.\n", 0, ab, 0},
        {"THEME WORDS:\n1 1A AB | x\nEND THEME WORDS\nSYMMETRY:  Vertical.\nEND.\n", 3, ab, 1},
        {"END.\nSYMMETRY:  Horizontal.\nEND.\n", 4, ab, 0},
    };
    for (const Case &c : cases) {
        const Snapshot s = Read(WriteTemp("early.txt", head + c.rest));
        ASSERT_EQ(s.result, 0) << c.rest;
        EXPECT_EQ(s.mode, c.mode) << c.rest;
        EXPECT_EQ(s.cells, c.cells) << c.rest;
        EXPECT_EQ(static_cast<int>(s.words.size()), c.words) << c.rest;
    }
}

TEST_F(ReaderTest, SymmetryNames)
{
    struct Case {
        const char *line;
        int mode;
    } cases[] = {
        {"SYMMETRY:  2-Way.", 1},        {"SYMMETRY:  4-Way.", 5},
        {"SYMMETRY:  None.", 0},         {"SYMMETRY:  Standard Diagonal.", 1},
        {"SYMMETRY:  Horz/Vert.", 5},    {"SYMMETRY:  Spiral.", 2},
        {"SYMMETRY:  Vertical.", 3},     {"SYMMETRY:  Horizontal.", 4},
        {"SYMMETRY:  Kaleidoscope.", 6}, {"Symmetry:  HORIZONTAL.", 4},
        {"SYMMETRY:  Diagonal.", 1},     {"SYMMETRY: None.", 1},
        {"SYMMETRY:  None", 1},          {"", 1},
    };
    for (const Case &c : cases) {
        TRVSetSymMode(0);
        const std::string path =
            WriteTemp("sym.txt", std::string("CROSSWORD (s) (3*3)\n") + c.line + "\nEND.\n");
        ASSERT_EQ(TRVReadPuzzle(path.c_str()), 0) << c.line;
        EXPECT_EQ(TRVGetSymMode(), c.mode) << c.line;
    }
}

TEST_F(ReaderTest, CrLfReadsLikeLf)
{
    const Snapshot lf = Read(Fixture("zoo.txt"));
    const Snapshot crlf = Read(WriteTemp("zoo_crlf.txt", ToCrLf(ReadAll(Fixture("zoo.txt")))));
    EXPECT_EQ(lf, crlf);
    const Snapshot shortLf = Read(Fixture("short_grid.txt"));
    const Snapshot shortCrLf = Read(WriteTemp("short_crlf.txt", ToCrLf(ReadAll(Fixture("short_grid.txt")))));
    EXPECT_EQ(shortLf, shortCrLf);

    // A line break that straddles the end of a piece.
    const std::string longRow = "\t" + std::string(4699, 'X') + "\n\t" + "Y\n";
    const std::string text = "CROSSWORD (l) (2*2)\nGRID:\n" + longRow + "END.\n";
    EXPECT_EQ(Read(WriteTemp("edge_lf.txt", text)), Read(WriteTemp("edge_crlf.txt", ToCrLf(text))));
}

TEST_F(ReaderTest, LongLinesAreReadInPieces)
{
    // The first piece of a long row holds 4701 characters; the rest reads as the next row.
    const std::string row1 = "\t";
    std::string pairs;
    for (int k = 0; k < 2350; ++k)
        pairs += "A ";
    const std::string text = "CROSSWORD (long) (3*3)\nGRID:\n" + row1 + pairs + " B C\n\tD E F\nEND.\n";
    const Snapshot s = Read(WriteTemp("long.txt", text));
    ASSERT_EQ(s.result, 0);
    EXPECT_EQ(s.cells, std::string("AAABC") + static_cast<char>(Empty) + "DEF");

    // A header line of any length.
    const std::string header = "CROSSWORD (" + std::string(20000, 't') + ") (4*2)\nEND.\n";
    EXPECT_EQ(Read(WriteTemp("long_header.txt", header)).result, 2); // the size is in a later piece
    const std::string shortHeader = "CROSSWORD (t) (4*2)" + std::string(20000, ' ') + "\nEND.\n";
    EXPECT_EQ(Read(WriteTemp("long_header2.txt", shortHeader)).result, 0);
}

TEST_F(ReaderTest, HostileFiles)
{
    // A NUL, control characters and a line break in cell positions leave the cells open.
    std::string text = "CROSSWORD (nul) (4*2)\nGRID:\n\t";
    text += std::string("\0 \x03 \x05 Z", 7);
    text += "\n\tA\n";
    Snapshot s = Read(WriteTemp("nul.txt", text));
    ASSERT_EQ(s.result, 0);
    const char E = Empty;
    EXPECT_EQ(s.cells, std::string({E, E, E, 'Z', 'A', E, E, E}));

    // A huge size, signs and overflowing numbers.
    EXPECT_EQ(Read(WriteTemp("ovf.txt", "CROSSWORD (a) (99999999999999999999*5)\n")).result, 3);
    EXPECT_EQ(Read(WriteTemp("neg.txt", "CROSSWORD (a) (-5*5)\n")).result, 3);
    EXPECT_EQ(Read(WriteTemp("half.txt", "CROSSWORD (a) (5*")).result, 2);

    // A theme-word answer too long for the store, and a theme section without its end.
    const std::string longWord =
        "CROSSWORD (w) (3*3)\nTHEME WORDS:\n1 1A " + std::string(6000, 'W') + " | long\n2 4A SHORT | ok";
    s = Read(WriteTemp("longword.txt", longWord));
    EXPECT_EQ(s.result, 0);
    EXPECT_EQ(ThmWds.NumThemeWords(), 1);

    // Random binary data after a valid header, many times over.
    std::mt19937 random(11);
    for (int round = 0; round < 50; ++round) {
        std::string junk = "CROSSWORD (junk) (9*7)\n";
        if (round % 2)
            junk += "GRID:\n";
        const int n = 1 + static_cast<int>(random() % 12000);
        for (int k = 0; k < n; ++k) {
            int pick = static_cast<int>(random() % 20);
            junk += pick == 0 ? '\n' : pick == 1 ? '\t' : pick == 2 ? ' ' : static_cast<char>(random());
        }
        s = Read(WriteTemp("junk.txt", junk));
        ASSERT_EQ(s.result, 0) << round;
        ASSERT_EQ(s.width, 9);
        ASSERT_EQ(s.height, 7);
        for (char c : s.cells) {
            const unsigned char u = static_cast<unsigned char>(c);
            ASSERT_FALSE(u < 32 && u != Block && u != Empty && u != Removed) << round << ": " << int(u);
        }
    }
}

} // namespace
