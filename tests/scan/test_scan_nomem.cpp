// test_scan_nomem.cpp - scans while large allocations fail: without memory for the record
// index the plain walk answers, with the same letter sets, and the index is built later.
#include <cstdlib>
#include <new>
#include <set>

#include "scan_fixture.h"

namespace {
bool refuseLarge = false;
constexpr size_t Large = 16384;
} // namespace

// The whole program's allocations go through here, so the engine's index sees the refusals.
// (GCC takes the free() of a replaced delete for a mismatch once it is inlined.)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void *operator new(size_t n)
{
    if (refuseLarge && n >= Large)
        throw std::bad_alloc();
    if (void *p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void *p) noexcept { std::free(p); }
void operator delete(void *p, size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

using namespace scantest;

namespace {

struct Answer {
    long fits = 0;
    std::vector<FlexSet> sets;
    bool operator==(const Answer &) const = default;
};

Answer scan(scanner &s, const std::string &p, bool indexed)
{
    ScanUseIndex = indexed;
    for (size_t i = 0; i < p.size(); i++)
        s.sCell[i].letter = p[i] == '.' ? char(TRV_EMPTY) : p[i];
    s.sWord.length = int(p.size());
    ScanLexicon(s.sWord);
    ScanUseIndex = true;
    Answer a;
    a.fits = s.sWord.totalfits;
    for (size_t i = 0; i < p.size(); i++)
        a.sets.push_back(s.LetterSet(int(i)));
    return a;
}

class ScanWithoutMemory : public ScanTest
{};

TEST_F(ScanWithoutMemory, PlainWalkAnswersWhenTheIndexCannotBeBuilt)
{
    // A sectioned list and a plain one, both large enough for index tables above the limit.
    struct Case {
        int length;
        int words;
    } cases[] = {{5, 6000}, {10, 3000}};
    WordMaker mk(9);
    std::vector<std::string> all;
    for (auto &c : cases) {
        std::set<std::string> unique;
        while (int(unique.size()) < c.words)
            unique.insert(mk.word(c.length));
        all.insert(all.end(), unique.begin(), unique.end());
    }
    writeDict(all);
    scanner s;
    for (auto &c : cases) {
        std::vector<std::string> patterns = {std::string(size_t(c.length), '.')};
        for (int t = 0; t < 20; t++) {
            std::string p = all[mk.next() % all.size()];
            if (int(p.size()) != c.length)
                p = mk.word(c.length);
            for (int i = 0; i < c.length; i++)
                if (mk.next() % 3)
                    p[size_t(i)] = '.';
            patterns.push_back(p);
        }
        std::vector<Answer> want;
        for (auto &p : patterns)
            want.push_back(scan(s, p, false)); // loads the list
        ASSERT_GT(want[0].fits, 0) << c.length;

        refuseLarge = true;
        std::vector<Answer> starved;
        for (auto &p : patterns)
            starved.push_back(scan(s, p, true));
        refuseLarge = false;
        for (size_t i = 0; i < patterns.size(); i++)
            EXPECT_EQ(starved[i], want[i]) << patterns[i];
        for (size_t i = 0; i < patterns.size(); i++)
            EXPECT_EQ(scan(s, patterns[i], true), want[i]) << patterns[i];
    }
    EXPECT_TRUE(boxes().empty());
}

} // namespace
