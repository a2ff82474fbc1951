// test_lexicon.cpp - reading the dictionary files: the tool-to-reader round trip, the D.Pnn
// fallback, the loading messages, and missing, empty, short, odd-sized and hostile files.
#include <cstdio>
#include <sys/stat.h>

#include "scan_fixture.h"

using namespace scantest;

namespace {

class Lexicon_ : public ScanTest
{
protected:
    static int inLexicon(const char *w)
    {
        static scanner s;
        return s.IsInLexicon(w);
    }
};

TEST_F(Lexicon_, ToolOutputReadsBackForEveryLength)
{
    WordMaker mk(11);
    std::vector<std::string> words;
    for (int L = 1; L <= 17; L++)
        for (int i = 0; i < 6; i++)
            words.push_back(mk.word(L));
    {
        std::ofstream f("words.txt");
        for (auto &w : words) {
            std::string lower = w;
            for (char &c : lower)
                c = char(c - 'A' + 'a');
            f << lower << "\r\n";
        }
        f << "don't\nParis\n";
    }
    std::string cmd = std::string(TRV_BIN_DIR) + "/trv_mkdict --out ZEDAVIV --words words.txt > tool.log";
    ASSERT_EQ(std::system(cmd.c_str()), 0);

    for (auto &w : words)
        EXPECT_EQ(inLexicon(w.c_str()), 1) << w;
    EXPECT_EQ(inLexicon("PARIS"), 1); // a plain word file takes either case
    EXPECT_EQ(inLexicon("DONT"), 0);
    for (int L = 1; L <= 17; L++) {
        const WLIST &wl = Lexicon.wlist[L];
        EXPECT_GT(wl.nwords, 0u) << L;
        EXPECT_EQ(wl.asize, wl.nwords * uint32_t(psize[L])) << L;
    }
    // A changed letter is not a word (the tiny lists make a clash unlikely; the seed is fixed).
    for (auto &w : words) {
        if (w.size() < 4)
            continue;
        std::string x = w;
        x[x.size() / 2] = x[x.size() / 2] == 'Q' ? 'J' : 'Q';
        EXPECT_EQ(inLexicon(x.c_str()), 0) << x;
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(Lexicon_, FallsBackToTheDFile)
{
    writeDict({"LETTERS", "ANOTHER"});
    std::filesystem::rename("ZEDAVIV/E.P07", "ZEDAVIV/D.P07");
    EXPECT_EQ(inLexicon("letters"), 1);
    EXPECT_EQ(inLexicon("LETTERZ"), 0);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(Lexicon_, MissingFileIsReportedAtEveryAttempt)
{
    for (int attempt = 1; attempt <= 3; attempt++) {
        EXPECT_EQ(inLexicon("LEMON"), 0);
        EXPECT_EQ(countBoxes("Cannot open 'ZEDAVIV/E.P05' or 'ZEDAVIV/D.P05'"), attempt);
        // Looked up again, not answered from the cache.
        EXPECT_EQ(Hit, 0);
    }
    EXPECT_EQ(Lexicon.wlist[5].nwords, 0u);
    EXPECT_EQ(Lexicon.wlist[5].top, nullptr);
}

TEST_F(Lexicon_, EmptyFileIsAnEmptyListTriedAgainLater)
{
    writeFile("ZEDAVIV/E.P10", {});
    EXPECT_EQ(inLexicon("BLUEBERRYS"), 0);
    EXPECT_TRUE(boxes().empty());
    writeDict({"BLUEBERRYS"});
    EXPECT_EQ(inLexicon("BLUEBERRYS"), 1);
}

TEST_F(Lexicon_, TrailingPartialRecordIsNoWord)
{
    struct Case {
        int length;
        std::vector<std::string> words;
        int extra; // bytes after the last whole record
    } cases[] = {{10, {"ABCDEFGHIJ", "KLMNOPQRST"}, 5}, {1, {"A", "B"}, 1}, {16, {"ABCDEFGHIJKLMNOP"}, 11}};
    for (auto &c : cases) {
        std::vector<uint8_t> b;
        for (auto &w : c.words)
            putWord(b, w);
        for (int i = 0; i < c.extra; i++)
            b.push_back(uint8_t(0x41 + i));
        char name[32];
        std::snprintf(name, sizeof name, "ZEDAVIV/E.P%02d", c.length);
        writeFile(name, b);
        Lexicon.ReadWordList(c.length);
        EXPECT_EQ(Lexicon.wlist[c.length].nwords, c.words.size()) << c.length;
        EXPECT_EQ(Lexicon.wlist[c.length].asize, c.words.size() * psize[c.length]) << c.length;
        for (auto &w : c.words)
            EXPECT_EQ(inLexicon(w.c_str()), 1) << w;
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(Lexicon_, ReadErrorIsReported)
{
    std::filesystem::create_directory("ZEDAVIV/E.P05"); // opens, but cannot be read
    struct stat st;
    ASSERT_EQ(stat("ZEDAVIV/E.P05", &st), 0);
    if (st.st_size < 4)
        GTEST_SKIP() << "folder size too small to attempt a read";
    Lexicon.ReadWordList(5);
    EXPECT_EQ(countBoxes("TRV: Error reading ZEDAVIV/E.P05 after 0 bytes\n"), 1);
    EXPECT_EQ(Lexicon.wlist[5].nwords, 0u);
    EXPECT_EQ(Lexicon.wlist[5].top, nullptr);
}

TEST_F(Lexicon_, CeilingOf65535Records)
{
    std::vector<uint8_t> b;
    for (int i = 0; i < 70000; i++)
        putUnit(b, 1 + i % 26);
    writeFile("ZEDAVIV/E.P01", b);
    Lexicon.ReadWordList(1);
    EXPECT_EQ(countBoxes("Enforcing ceiling of 70001 words max.\n"), 1);
    EXPECT_EQ(Lexicon.wlist[1].nwords, 65535u);
    EXPECT_EQ(Lexicon.wlist[1].asize, 65535u * 2);
}

TEST_F(Lexicon_, ListsOfTenLettersAndMoreMustStaySmall)
{
    std::vector<uint8_t> b;
    for (int i = 0; i < 8200; i++)
        putWord(b, "ABCDEFGHIJ"); // 65600 bytes
    writeFile("ZEDAVIV/E.P10", b);
    scanner s;
    for (int indexed = 0; indexed < 2; indexed++) {
        ScanUseIndex = indexed;
        for (int i = 0; i < 10; i++)
            s.sCell[i].letter = "ABCDEFGHIJ"[i];
        s.sWord.length = 10;
        ScanLexicon(s.sWord);
        EXPECT_EQ(s.sWord.totalfits, 0);
        EXPECT_EQ(s.LetterSet(0), 0u);
        EXPECT_EQ(countBoxes("TRV: Internal error, wordsize=10 (huge list)\n"), indexed + 1);
    }
}

// Hostile section headers: the scans stay inside the data and both scans agree.
TEST_F(Lexicon_, HostileSectionsStayInBounds)
{
    struct Case {
        const char *what;
        int length;
        std::vector<uint8_t> bytes;
        long fitsAll; // records visited by a pattern without letters
    };
    auto units = [](std::initializer_list<unsigned> us, std::initializer_list<std::string> words = {}) {
        std::vector<uint8_t> b;
        for (unsigned u : us)
            putUnit(b, u);
        for (auto &w : words)
            putWord(b, w);
        return b;
    };
    std::vector<Case> cases = {
        {"count past the end, two-unit headers", 5, units({0, 60000}, {"ABCDE", "FGHIJ", "KLMNO"}), 3},
        {"count past the end, one-unit headers", 3, units({200 << 8}, {"ABC", "DEF"}), 2},
        {"lone signature unit", 7, units({5}), 0},
        // 16 bytes: the reader keeps two whole six-byte chunks, which end inside the second record.
        {"records cut by the end of the data", 8, units({0, 2}, {"ABCDEFGH", "IJKLMNOP"}), 1},
        {"no end header", 4, units({0, 1}, {"ABCD"}), 1},
        {"count one more than the records", 9, units({0, 3}, {"ABCDEFGHI", "JKLMNOPQR", "STU"}), 2},
    };
    for (auto &c : cases) {
        char name[32];
        std::snprintf(name, sizeof name, "ZEDAVIV/E.P%02d", c.length);
        auto bytes = c.bytes;
        if (bytes.size() % psize[c.length])
            bytes.resize(bytes.size() + 1, 0x7F); // odd size too
        writeFile(name, bytes);
        Lexicon.Release(c.length);
        FlushFlexibilityCache();
        scanner s;
        long fits[2];
        for (int indexed = 0; indexed < 2; indexed++) {
            ScanUseIndex = indexed;
            for (int i = 0; i < c.length; i++)
                s.sCell[i].letter = TRV_EMPTY;
            s.sWord.length = c.length;
            ScanLexicon(s.sWord);
            fits[indexed] = s.sWord.totalfits;
        }
        EXPECT_EQ(fits[0], c.fitsAll) << c.what;
        EXPECT_EQ(fits[1], c.fitsAll) << c.what;
    }
}

} // namespace
