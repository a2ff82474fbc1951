// test_scanner.cpp - letter sets of patterns: the indexed scan and the plain walk against a
// word-by-word reference, the cache, slots of the grid, fixed letters and theme words.
#include <algorithm>
#include <map>
#include <set>

#include "scan_fixture.h"
#include "trv_cach.h"
#include "trv_grid.h"

using namespace scantest;

namespace {

constexpr FlexSet AllLetters = 0x7FFFFFE0;

FlexSet bitOf(char c) { return fsBitPositionOfOneLetter[c & 31]; }

struct Answer {
    long fits = 0;
    std::vector<FlexSet> sets;
    bool operator==(const Answer &) const = default;
};

std::ostream &operator<<(std::ostream &os, const Answer &a)
{
    os << "fits " << a.fits << " sets";
    for (FlexSet s : a.sets)
        os << ' ' << std::hex << s << std::dec;
    return os;
}

// Runs one uncached scan of a pattern ('.' is an open cell).
Answer scanPattern(scanner &s, const std::string &pattern, bool indexed)
{
    ScanUseIndex = indexed;
    for (size_t i = 0; i < pattern.size(); i++)
        s.sCell[i].letter = pattern[i] == '.' ? char(TRV_EMPTY) : pattern[i];
    s.sWord.length = int(pattern.size());
    ScanLexicon(s.sWord);
    ScanUseIndex = true;
    Answer a;
    a.fits = s.sWord.totalfits;
    for (size_t i = 0; i < pattern.size(); i++)
        a.sets.push_back(s.LetterSet(int(i)));
    return a;
}

// The answer worked out word by word from the words themselves.
Answer reference(const std::vector<std::string> &words, const std::string &pattern)
{
    Answer a;
    a.sets.assign(pattern.size(), 0);
    for (auto &w : words) {
        if (w.size() != pattern.size())
            continue;
        bool fits = true;
        for (size_t i = 0; i < w.size() && fits; i++)
            fits = pattern[i] == '.' || (pattern[i] & 31) == (w[i] & 31);
        if (!fits)
            continue;
        a.fits++;
        for (size_t i = 0; i < w.size(); i++)
            a.sets[i] |= bitOf(w[i]);
    }
    return a;
}

std::string randomPattern(WordMaker &mk, const std::vector<std::string> &pool, int length)
{
    std::string p(size_t(length), '.');
    int known = int(mk.next() % 5);
    const std::string *from = pool.empty() || mk.next() % 4 == 0 ? nullptr : &pool[mk.next() % pool.size()];
    for (int k = 0; k < known; k++) {
        size_t at = mk.next() % size_t(length);
        char c = from ? (*from)[at] : char('A' + mk.next() % 26);
        if (mk.next() % 3 == 0)
            c = char(c | 0x20); // lower case stands for the same letter
        p[at] = c;
    }
    return p;
}

class Scanner : public ScanTest
{};

TEST_F(Scanner, IndexedScanAndPlainWalkGiveTheReferenceAnswer)
{
    // Sizes that give sectioned lists and, for 6 and 8 letters, plain lists of 65500 bytes or more.
    const int counts[18] = {0,    20,   300,  2000, 3000, 5000, 20000, 3000, 12000,
                            5000, 2000, 2000, 2000, 1500, 1500, 1500,  1000, 1000};
    WordMaker mk(3);
    std::vector<std::string> words;
    std::vector<std::string> byLength[18];
    for (int L = 1; L <= 17; L++) {
        std::set<std::string> unique;
        while (int(unique.size()) < counts[L] && unique.size() < (L == 1 ? 26u : 1u << 30))
            unique.insert(mk.word(L));
        for (auto &w : unique) {
            words.push_back(w);
            byLength[L].push_back(w);
        }
    }
    writeDict(words);

    scanner s;
    for (int L = 1; L <= 17; L++) {
        for (int t = 0; t < 120; t++) {
            std::string p = randomPattern(mk, byLength[L], L);
            Answer want = reference(byLength[L], p);
            EXPECT_EQ(scanPattern(s, p, true), want) << p;
            EXPECT_EQ(scanPattern(s, p, false), want) << p;
        }
        // Whole words, as a dictionary look-up asks, and the same with one letter changed.
        for (int t = 0; t < 10; t++) {
            std::string p = byLength[L][mk.next() % byLength[L].size()];
            if (t % 2)
                p[mk.next() % size_t(L)] = char('A' + mk.next() % 26);
            Answer want = reference(byLength[L], p);
            EXPECT_EQ(scanPattern(s, p, true), want) << p;
            EXPECT_EQ(scanPattern(s, p, false), want) << p;
        }
    }
    EXPECT_EQ(Lexicon.wlist[6].asize, 20000u * 4); // plain records
    EXPECT_LT(Lexicon.wlist[5].asize, 65500u);     // sections

    // Sections spare the plain walk most of the list.
    uint64_t before = ScanRecordsVisited;
    scanPattern(s, "Q....", false);
    EXPECT_LT(ScanRecordsVisited - before, Lexicon.wlist[5].nwords / 2);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(Scanner, SectionsThatDisagreeWithTheirRecordsAreWalkedAsWritten)
{
    // Records filed under the wrong signature: the walk skips them by their header, and so
    // must the index.
    WordMaker mk(5);
    std::vector<uint8_t> b;
    for (unsigned sig : {0u, 0x155u, 0x2AAu, 0x3FFu}) {
        putUnit(b, sig);
        putUnit(b, 40);
        for (int i = 0; i < 40; i++)
            putWord(b, mk.word(5));
    }
    putUnit(b, 0);
    putUnit(b, 0);
    writeFile("ZEDAVIV/E.P05", b);
    scanner s;
    for (int t = 0; t < 300; t++) {
        std::string p = randomPattern(mk, {}, 5);
        EXPECT_EQ(scanPattern(s, p, true), scanPattern(s, p, false)) << p;
    }
}

TEST_F(Scanner, ShortPatternsAreCachedLongOnesNot)
{
    writeDict({"CAT", "COT", "CUT", "ABCDEFGHIJ", "ABCDEFGHIK"});
    scanner s;
    auto recalc = [&](const std::string &p) {
        for (size_t i = 0; i < p.size(); i++)
            s.sCell[i].letter = p[i] == '.' ? char(TRV_EMPTY) : p[i];
        s.sWord.length = int(p.size());
        recalc_flexibility(s.sWord);
        Answer a;
        a.fits = s.sWord.totalfits;
        for (size_t i = 0; i < p.size(); i++)
            a.sets.push_back(s.LetterSet(int(i)));
        return a;
    };
    Answer first = recalc("C.T");
    EXPECT_EQ(Hit, 0);
    EXPECT_EQ(first.fits, 3);
    EXPECT_EQ(s.sWord.relflex, 3u);
    Answer again = recalc("C.T");
    EXPECT_EQ(Hit, -1);
    EXPECT_EQ(again, first);
    EXPECT_EQ(s.sWord.relflex, 3u);
    EXPECT_EQ(s.sCell[1].uniques[0], 3);
    EXPECT_EQ(s.sCell[1].uniques[1], 3);
    EXPECT_EQ(s.sCell[1].mtotalf, 3);
    for (int pass = 0; pass < 2; pass++) { // no open cell: scanned, then from the cache
        EXPECT_EQ(recalc("COT").fits, 1);
        EXPECT_EQ(Hit, -pass);
        EXPECT_EQ(s.sWord.relflex, 65535u);
    }

    recalc("ABCDEFGHI.");
    EXPECT_EQ(Hit, 0);
    Answer ten = recalc("ABCDEFGHI.");
    EXPECT_EQ(Hit, 0);
    EXPECT_EQ(ten.fits, 2);
    EXPECT_EQ(ten.sets[9], bitOf('J') | bitOf('K'));
}

TEST(FlexCacheTest, HashAndLeastRecentlyUsedReplacement)
{
    EXPECT_EQ(FlexCache::HashCacheKey("AB"), 192); // ((65*2)^66 = 192) folded
    EXPECT_EQ(FlexCache::HashCacheKey(""), 0);

    FlexCache cache(800);
    CELL cells[3];
    unsigned rows[3][32] = {};
    Cww1Word w;
    w.length = 3;
    for (int i = 0; i < 3; i++) {
        w.cell[i] = &cells[i];
        cells[i].acr = cells[i].dwn = rows[i];
    }
    auto setKey = [&](int n) {
        cells[0].letter = char('A' + n / 676);
        cells[1].letter = char('A' + n / 26 % 26);
        cells[2].letter = char('A' + n % 26);
    };
    for (int n = 0; n < 800; n++) {
        setKey(n);
        for (auto &r : rows)
            std::fill(std::begin(r), std::end(r), 0u);
        rows[0][1 + n % 26] = 1;
        w.totalfits = n;
        cache.WriteToCache(w);
    }
    EXPECT_EQ(cache.CacheInUse, 800);
    setKey(0);
    ASSERT_EQ(cache.GetFromCache(w), 1); // now the most recently used
    EXPECT_EQ(w.totalfits, 0);
    EXPECT_EQ(rows[0][1], 1u);
    EXPECT_EQ(cells[0].mtotalf, 1);
    setKey(800);
    EXPECT_EQ(cache.GetFromCache(w), 0);
    cache.WriteToCache(w); // replaces entry 1, the least recently used
    setKey(1);
    EXPECT_EQ(cache.GetFromCache(w), 0);
    setKey(0);
    EXPECT_EQ(cache.GetFromCache(w), 1);
    setKey(2);
    EXPECT_EQ(cache.GetFromCache(w), 1);
    EXPECT_EQ(w.totalfits, 2);

    w.length = 10; // only 3 to 9 cells are cached
    for (int i = 3; i < 10; i++)
        w.cell[i] = &cells[0];
    EXPECT_EQ(cache.GetFromCache(w), 0);
}

TEST_F(Scanner, LookUpIgnoresCase)
{
    writeDict({"WORD", "CROSSWORDPUZZLE"});
    scanner s;
    EXPECT_EQ(s.IsInLexicon("word"), 1);
    EXPECT_EQ(s.IsInLexicon("WORD"), 1);
    EXPECT_EQ(s.IsInLexicon("WoRd"), 1);
    EXPECT_EQ(s.IsInLexicon("WORE"), 0);
    EXPECT_EQ(s.IsInLexicon("crosswordpuzzle"), 1);
    EXPECT_EQ(s.IsInLexicon(std::string(18, 'A').c_str()), 0);
    EXPECT_EQ(s.IsInLexicon(""), 0);
    EXPECT_EQ(s.IsInLexicon(nullptr), 0);
    EXPECT_TRUE(boxes().empty());
}

// Slots of a real grid with the engine's letter-set arrays.
class Slots : public ScanTest
{
protected:
    void grid(int w, int h, const std::vector<std::string> &rows)
    {
        TRVCreateRenumGrid(w, h);
        for (int r = 0; r < h; r++)
            for (int c = 0; c < w; c++) {
                char ch = rows[size_t(r)][size_t(c)];
                TRVSetCellOnly(c + 1, r + 1, ch == '.' ? char(TRV_EMPTY) : ch == '#' ? char(TRV_BLOCK) : ch);
            }
        TRVRenumberGrid();
        size_t n = size_t(CELLS::NumberCellRecords);
        horz.assign(n, AllLetters);
        vert.assign(n, AllLetters);
        combo.assign(n, AllLetters);
        s.fsHorz = horz.data();
        s.fsVert = vert.data();
        s.fsCombo = combo.data();
    }
    int cellIndex(int column, int row) { return Grid.Index(column, row); }

    scanner s;
    std::vector<FlexSet> horz, vert, combo;
};

TEST_F(Slots, FixedLettersAreTheirOwnSetsEvenWhenNoWord)
{
    writeDict({"HELLO"});
    grid(5, 1, {"QZXJK"});
    ASSERT_EQ(WSLOTS::NumberWords, 1);
    EXPECT_EQ(s.ComputeFlexibility(0), 1);
    for (int c = 1; c <= 5; c++) {
        EXPECT_EQ(horz[size_t(cellIndex(c, 1))], bitOf("QZXJK"[c - 1])) << c;
        EXPECT_EQ(combo[size_t(cellIndex(c, 1))], bitOf("QZXJK"[c - 1])) << c;
    }
    // One letter not fixed (lower case): the dictionary decides, and nothing fits.
    grid(5, 1, {"QZXJk"});
    EXPECT_EQ(s.ComputeFlexibility(0), 0);
    EXPECT_EQ(horz[size_t(cellIndex(1, 1))], 0u);
}

TEST_F(Slots, ThemeWordsAddTheirLetters)
{
    writeDict({"HELLO"});
    TRVNewThemeWord("world", "", 0);
    TRVNewThemeWord("HELPS", "", 0);
    ThmWds.SetupBySize();
    struct Case {
        const char *row;
        std::vector<FlexSet> sets;
    } cases[] = {
        {".....",
         {bitOf('H') | bitOf('W'), bitOf('E') | bitOf('O'), bitOf('L') | bitOf('R'), bitOf('L') | bitOf('P'),
          bitOf('O') | bitOf('D') | bitOf('S')}},
        {"H....", {bitOf('H'), bitOf('E'), bitOf('L'), bitOf('L') | bitOf('P'), bitOf('O') | bitOf('S')}},
        {"w....", {bitOf('W'), bitOf('O'), bitOf('R'), bitOf('L'), bitOf('D')}}, // no dictionary word
    };
    for (auto &c : cases) {
        grid(5, 1, {c.row});
        EXPECT_EQ(s.ComputeFlexibility(0), 1) << c.row;
        for (int i = 0; i < 5; i++)
            EXPECT_EQ(horz[size_t(cellIndex(i + 1, 1))], c.sets[size_t(i)]) << c.row << i;
    }
    EXPECT_TRUE(boxes().empty());
    // The dictionary answer in the cache holds no theme letters.
    EXPECT_EQ(s.IsInLexicon("WORLD"), 0);
    // Stale by-size tables are still read, with a message for each word read.
    ThmWds.SetupBySizeInvalidate();
    grid(5, 1, {"....."});
    EXPECT_EQ(s.ComputeFlexibility(0), 1);
    EXPECT_EQ(countBoxes("themewords::Word -- Not SetupBySizeIsValid"), 2);
    EXPECT_EQ(horz[size_t(cellIndex(1, 1))], bitOf('H') | bitOf('W'));
}

TEST_F(Slots, DownSlotCombinesWithTheAcrossSets)
{
    writeDict({"CAB", "COB"});
    grid(1, 3, {".", ".", "."});
    ASSERT_EQ(WSLOTS::NumberWords, 1);
    ASSERT_NE(WSLOTS::Slot[0].next, 1);
    size_t mid = size_t(cellIndex(1, 2));
    horz[mid] = bitOf('O') | bitOf('E');
    EXPECT_EQ(s.ComputeFlexibility(0), 1);
    EXPECT_EQ(vert[mid], bitOf('A') | bitOf('O'));
    EXPECT_EQ(combo[mid], bitOf('O'));
    EXPECT_EQ(horz[mid], bitOf('O') | bitOf('E'));
    horz[mid] = bitOf('E');
    EXPECT_EQ(s.ComputeFlexibility(0), 0);
    EXPECT_EQ(combo[mid], 0u);
}

TEST_F(Slots, SlotOf18CellsIsLeftAlone)
{
    grid(18, 1, {".................."});
    ASSERT_EQ(WSLOTS::Slot[0].Length, 18);
    horz[size_t(cellIndex(3, 1))] = 12345;
    EXPECT_EQ(s.ComputeFlexibility(0), 1);
    EXPECT_EQ(horz[size_t(cellIndex(3, 1))], 12345u);
    EXPECT_TRUE(boxes().empty()); // no list was even opened
}

TEST_F(Slots, IndexedAndPlainScansGiveTheSameSetsWithThemeWords)
{
    // Five letters in sections, six letters as plain records of 65500 bytes or more, twelve
    // letters as plain records; each length with theme words from inside and outside the list.
    struct Case {
        int length;
        int words;
    } cases[] = {{5, 3000}, {6, 17000}, {12, 2000}};
    WordMaker mk(21);
    std::vector<std::string> all, byLength[18], themes[18];
    for (auto &c : cases) {
        std::set<std::string> unique;
        while (int(unique.size()) < c.words)
            unique.insert(mk.word(c.length));
        byLength[c.length].assign(unique.begin(), unique.end());
        all.insert(all.end(), unique.begin(), unique.end());
        themes[c.length] = {byLength[c.length][7], mk.word(c.length), mk.word(c.length)};
        for (char &ch : themes[c.length][2])
            ch = char(ch | 0x20); // sent in lower case
        for (auto &t : themes[c.length])
            TRVNewThemeWord(t.c_str(), "", 0);
    }
    writeDict(all);
    ThmWds.SetupBySize();

    for (auto &c : cases) {
        const int L = c.length;
        grid(L, 1, {std::string(size_t(L), '.')});
        std::vector<std::string> pool = byLength[L];
        pool.insert(pool.end(), themes[L].begin(), themes[L].end());
        for (int t = 0; t < 80; t++) {
            std::string p = randomPattern(mk, pool, L);
            Answer want = reference(byLength[L], p);
            for (auto &tw : themes[L]) {
                bool fits = true;
                for (int i = 0; i < L && fits; i++)
                    fits = p[size_t(i)] == '.' || mytoupper(p[size_t(i)]) == mytoupper(tw[size_t(i)]);
                if (fits)
                    for (int i = 0; i < L; i++)
                        want.sets[size_t(i)] |= bitOf(tw[size_t(i)]);
            }
            bool okay = std::find(want.sets.begin(), want.sets.end(), 0u) == want.sets.end();
            for (int i = 0; i < L; i++)
                TRVSetCellOnly(i + 1, 1, p[size_t(i)] == '.' ? char(TRV_EMPTY) : p[size_t(i)]);
            for (bool indexed : {true, false}) {
                FlushFlexibilityCache();
                ScanUseIndex = indexed;
                EXPECT_EQ(s.ComputeFlexibility(0), int(okay)) << p << indexed;
                for (int i = 0; i < L; i++)
                    EXPECT_EQ(horz[size_t(cellIndex(i + 1, 1))], want.sets[size_t(i)]) << p << indexed << i;
            }
            ScanUseIndex = true;
        }
    }
    EXPECT_LT(Lexicon.wlist[5].asize, 65500u);
    EXPECT_GE(Lexicon.wlist[6].asize, 65500u);
    EXPECT_TRUE(boxes().empty());
}

} // namespace
