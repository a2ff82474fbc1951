// test_pack.cpp - the dictionary tool's packing: letter units, signatures, sections and the
// per-length limits of the files it writes.
#include "scan_fixture.h"

using namespace scantest;

namespace {

TEST(Pack, LettersGoThreeToAUnitFromTheEnd)
{
    struct Case {
        const char *word;
        std::vector<uint16_t> units;
    } cases[] = {
        {"WORD", {23, 15940}},
        {"word", {23, 15940}},
        {"A", {1}},
        {"AB", {1 << 5 | 2}},
        {"ABC", {1 << 10 | 2 << 5 | 3}},
        {"ZZZZZZZ", {26, 26 << 10 | 26 << 5 | 26, 26 << 10 | 26 << 5 | 26}},
    };
    for (auto &c : cases)
        EXPECT_EQ(trvdict::packWord(c.word), c.units) << c.word;
}

TEST(Pack, SignatureGroupsLettersByLength)
{
    struct Case {
        const char *word;
        unsigned sig;
    } cases[] = {
        {"AZ", 0b0011}, // four groups, two bits a letter
        {"GMS", 0b011011},      {"FLRZ", 0b00011011}, {"HIRSZ", 0b0001011010}, // three groups: A-H, I-R, S-Z
        {"LMALMZZ", 0b0100111},                                                // two groups, one bit a letter
        {"ABCDEFGHIJ", 0},                                                     // no groups from 10 letters on
    };
    for (auto &c : cases)
        EXPECT_EQ(trvdict::signature(c.word), c.sig) << c.word;
}

TEST(Pack, WordFilterKeepsLettersOnly)
{
    EXPECT_EQ(trvdict::normalizeWord("ocean\r", true), "OCEAN");
    EXPECT_EQ(trvdict::normalizeWord("Paris", true), "");
    EXPECT_EQ(trvdict::normalizeWord("Paris", false), "PARIS");
    EXPECT_EQ(trvdict::normalizeWord("don't", false), "");
    EXPECT_EQ(trvdict::normalizeWord("caf\xE9", false), "");
    EXPECT_EQ(trvdict::normalizeWord(std::string(18, 'a'), false), "");
}

// Parses a sectioned list: (signature, count) per section; checks the end header and padding.
std::vector<std::pair<unsigned, unsigned>> sections(const trvdict::ListFile &lf)
{
    std::vector<std::pair<unsigned, unsigned>> out;
    const auto &b = lf.bytes;
    auto unit = [&](size_t i) { return unsigned(b[2 * i] | b[2 * i + 1] << 8); };
    size_t ru = size_t(trvdict::recordBytes(lf.length)) / 2, pos = 0, n = b.size() / 2;
    bool one = lf.length <= 3;
    while (pos < n) {
        unsigned sig = one ? unit(pos) & 0xFF : unit(pos);
        unsigned count = one ? unit(pos) >> 8 : unit(pos + 1);
        pos += one ? 1 : 2;
        if (count == 0)
            break;
        out.push_back({sig, count});
        pos += count * ru;
    }
    for (; pos < n; pos++)
        EXPECT_EQ(unit(pos), 0u) << "padding";
    return out;
}

TEST(Pack, ShortListsAreSectionedBySignature)
{
    // 512 three-letter words of letters S-Z share one signature: sections of 255, 255, 2.
    std::vector<std::string> words;
    for (char a = 'S'; a <= 'Z'; a++)
        for (char b = 'S'; b <= 'Z'; b++)
            for (char c = 'S'; c <= 'Z'; c++)
                words.push_back({a, b, c});
    words.push_back("ABC");
    auto lf = trvdict::buildList(3, words);
    EXPECT_TRUE(lf.sectioned);
    auto s = sections(lf);
    ASSERT_EQ(s.size(), 4u);
    EXPECT_EQ(s[0], std::make_pair(trvdict::signature("ABC"), 1u));
    EXPECT_EQ(s[1], std::make_pair(63u, 255u));
    EXPECT_EQ(s[3], std::make_pair(63u, 2u));

    // Seven letters: six-byte records with two-unit headers, padded to whole records.
    auto lf7 = trvdict::buildList(7, {"ABCDEFG", "MNOPQRS", "ABCDEFH"});
    EXPECT_EQ(lf7.bytes.size() % 6, 0u);
    auto s7 = sections(lf7);
    ASSERT_EQ(s7.size(), 2u);
    EXPECT_EQ(s7[0].second, 2u);
}

TEST(Pack, LimitsKeepTheCommonestWords)
{
    WordMaker mk(7);
    std::vector<std::string> words;
    while (words.size() < 9000)
        words.push_back(mk.word(10));
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());
    std::string first = words[0], last = words.back();
    std::swap(words[0], words.back()); // the last one alphabetically is now the commonest
    auto lf = trvdict::buildList(10, words);
    EXPECT_FALSE(lf.sectioned);
    EXPECT_EQ(lf.words, 65499u / 8);
    EXPECT_LT(lf.bytes.size(), 65500u);
    std::vector<uint8_t> lastPacked;
    for (uint16_t u : trvdict::packWord(last)) {
        lastPacked.push_back(uint8_t(u));
        lastPacked.push_back(uint8_t(u >> 8));
    }
    EXPECT_TRUE(std::equal(lastPacked.begin(), lastPacked.end(), lf.bytes.end() - 8));

    // Four letters: too many for sections yet too few for plain records is trimmed into sections.
    std::vector<std::string> four;
    for (int i = 0; four.size() < 16370; i++)
        four.push_back(
            {char('A' + i / 17576), char('A' + i / 676 % 26), char('A' + i / 26 % 26), char('A' + i % 26)});
    auto lf4 = trvdict::buildList(4, four);
    EXPECT_TRUE(lf4.sectioned);
    EXPECT_LT(lf4.bytes.size(), 65500u);
    EXPECT_GT(lf4.dropped, 0u);
    four.resize(16370);
    for (int i = 16370; four.size() < 20000; i++)
        four.push_back(
            {char('A' + i / 17576), char('A' + i / 676 % 26), char('A' + i / 26 % 26), char('A' + i % 26)});
    auto big = trvdict::buildList(4, four);
    EXPECT_FALSE(big.sectioned);
    EXPECT_EQ(big.bytes.size(), 80000u);

    // Never as many records as the reader's ceiling.
    std::vector<std::string> ones(70000, "A");
    EXPECT_EQ(trvdict::buildList(1, ones).words, trvdict::MaxRecords);
}

TEST(Pack, ScowlSizePicksItsLevelsCommonestFirst)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("trv_scowl_" + std::to_string(getpid()));
    fs::create_directories(dir);
    auto write = [&](const std::string &name, const std::string &text) {
        std::ofstream(dir / name, std::ios::binary) << text;
    };
    write("english-words.10", "cat\r\nParis\r\n"); // proper nouns are left out
    write("american-words.10", "color\n");
    write("english-words.35", "gnu\n");
    write("english-words.70", "auk\n");
    write("english-words.80", "evhoe\n");
    write("english-words.x", "junk\n");
    write("british-words.10", "colour\n"); // a list not asked for
    const struct {
        int size;
        std::vector<std::string> words;
    } cases[] = {
        {10, {"CAT", "COLOR"}},
        {35, {"CAT", "COLOR", "GNU"}},
        {70, {"CAT", "COLOR", "GNU", "AUK"}},
        {80, {"CAT", "COLOR", "GNU", "AUK", "EVHOE"}},
    };
    for (const auto &c : cases) {
        std::vector<std::string> words;
        std::string error;
        ASSERT_TRUE(trvdict::readScowl(dir.string(), {"english", "american"}, c.size, words, &error))
            << error;
        EXPECT_EQ(words, c.words) << "size " << c.size;
    }
    std::error_code ec;
    fs::remove_all(dir, ec);
}

} // namespace
