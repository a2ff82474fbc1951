// dictpack.cpp - builds the packed dictionary files: word packing, letter-group sections,
// per-length limits that keep the commonest words, and the readers of the source word lists.
#include "dictpack.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <unordered_set>

namespace trvdict {

namespace {

int groupsOf(int length)
{
    if (length >= 2 && length <= 4)
        return 4;
    if (length == 5 || length == 6)
        return 3;
    if (length >= 7 && length <= 9)
        return 2;
    return 1;
}

unsigned groupOf(int groups, int code)
{
    switch (groups) {
    case 4: return code <= 6 ? 0 : code <= 12 ? 1 : code <= 18 ? 2 : 3;
    case 3: return code <= 8 ? 0 : code <= 18 ? 1 : 2;
    case 2: return code <= 12 ? 0 : 1;
    default: return 0;
    }
}

void putUnit(std::vector<uint8_t> &out, unsigned u)
{
    out.push_back(uint8_t(u & 0xFF));
    out.push_back(uint8_t(u >> 8));
}

void putWord(std::vector<uint8_t> &out, const std::string &w)
{
    for (uint16_t u : packWord(w))
        putUnit(out, u);
}

int headerUnits(int length) { return length <= 3 ? 1 : 2; }
size_t sectionCap(int length) { return length <= 3 ? 255 : 65535; }

// Size of the sectioned file of these words, padded to whole records.
size_t sectionedSize(int length, const std::vector<std::string> &words, size_t n)
{
    std::map<unsigned, size_t> bySig;
    for (size_t i = 0; i < n; i++)
        bySig[signature(words[i])]++;
    size_t sections = 0;
    for (auto &[sig, count] : bySig)
        sections += (count + sectionCap(length) - 1) / sectionCap(length);
    size_t ps = size_t(recordBytes(length));
    size_t bytes = (sections + 1) * 2 * headerUnits(length) + n * ps;
    return (bytes + ps - 1) / ps * ps;
}

} // namespace

int recordBytes(int length) { return 2 * ((length + 2) / 3); }

std::vector<uint16_t> packWord(const std::string &word)
{
    int L = int(word.size());
    std::vector<uint16_t> units(size_t((L + 2) / 3), 0);
    for (int i = 0, u = 0; i < L; i++) {
        units[u] = uint16_t((units[u] << 5) | (word[i] & 31));
        if ((L - i - 1) % 3 == 0)
            u++;
    }
    return units;
}

unsigned signature(const std::string &word)
{
    int groups = groupsOf(int(word.size()));
    int bpl = groups == 2 ? 1 : 2;
    unsigned sig = 0;
    for (char c : word)
        sig = (sig << bpl) | groupOf(groups, c & 31);
    return groups == 1 ? 0 : sig;
}

std::string normalizeWord(const std::string &line, bool lowerOnly)
{
    std::string w = line;
    while (!w.empty() && (w.back() == '\r' || w.back() == ' ' || w.back() == '\t'))
        w.pop_back();
    if (w.empty() || w.size() > size_t(MaxLength))
        return "";
    for (char &c : w) {
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
        else if (lowerOnly || c < 'A' || c > 'Z')
            return "";
    }
    return w;
}

ListFile buildList(int length, const std::vector<std::string> &words)
{
    ListFile lf;
    lf.length = length;
    const size_t ps = size_t(recordBytes(length));
    size_t n = std::min(words.size(), MaxRecords);
    if (length >= 10)
        n = std::min(n, (SectionedLimit - 1) / ps);

    bool sections = length >= 2 && length <= 9;
    if (sections && sectionedSize(length, words, n) >= SectionedLimit) {
        if (length >= 4 && n * ps >= SectionedLimit) {
            sections = false; // big enough to be read as plain records
        } else {
            // Too big for sections, too small for plain records: keep fewer words.
            size_t lo = 0, hi = n;
            while (lo < hi) {
                size_t mid = (lo + hi + 1) / 2;
                if (sectionedSize(length, words, mid) < SectionedLimit)
                    lo = mid;
                else
                    hi = mid - 1;
            }
            n = lo;
        }
    }
    std::vector<std::string> kept(words.begin(), words.begin() + long(n));
    lf.words = n;
    lf.dropped = words.size() - n;
    lf.sectioned = sections;
    if (!sections) {
        std::sort(kept.begin(), kept.end());
        for (auto &w : kept)
            putWord(lf.bytes, w);
        return lf;
    }
    std::sort(kept.begin(), kept.end(), [](const std::string &a, const std::string &b) {
        unsigned sa = signature(a), sb = signature(b);
        return sa != sb ? sa < sb : a < b;
    });
    for (size_t i = 0; i < kept.size();) {
        unsigned sig = signature(kept[i]);
        size_t j = i;
        while (j < kept.size() && j - i < sectionCap(length) && signature(kept[j]) == sig)
            j++;
        size_t count = j - i;
        if (headerUnits(length) == 1) {
            putUnit(lf.bytes, unsigned(count << 8) | sig);
        } else {
            putUnit(lf.bytes, sig);
            putUnit(lf.bytes, unsigned(count));
        }
        for (; i < j; i++)
            putWord(lf.bytes, kept[i]);
    }
    for (int u = 0; u < headerUnits(length); u++)
        putUnit(lf.bytes, 0); // end of the list
    while (lf.bytes.size() % ps)
        lf.bytes.push_back(0);
    return lf;
}

bool writeDictionary(const std::string &dir, const std::vector<std::string> &words,
                     std::vector<ListFile> *lists, std::string *error, char letter)
{
    std::vector<std::string> byLength[MaxLength + 1];
    std::unordered_set<std::string> seen;
    for (const auto &w : words)
        if (!w.empty() && w.size() <= size_t(MaxLength) && seen.insert(w).second)
            byLength[w.size()].push_back(w);
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        if (error)
            *error = "cannot create " + dir + ": " + ec.message();
        return false;
    }
    for (int L = 1; L <= MaxLength; L++) {
        ListFile lf = buildList(L, byLength[L]);
        char name[16];
        std::snprintf(name, sizeof name, "%c.P%02d", letter, L);
        std::string path = dir + "/" + name;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(lf.bytes.data()), std::streamsize(lf.bytes.size()));
        out.close();
        if (!out) {
            if (error)
                *error = "cannot write " + path;
            return false;
        }
        if (lists)
            lists->push_back(std::move(lf));
    }
    return true;
}

bool readWordFile(const std::string &path, bool lowerOnly, std::vector<std::string> &words,
                  std::string *error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error)
            *error = "cannot open " + path;
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        std::string w = normalizeWord(line, lowerOnly);
        if (!w.empty())
            words.push_back(w);
    }
    return true;
}

bool readScowl(const std::string &dir, const std::vector<std::string> &lists, int maxLevel,
               std::vector<std::string> &words, std::string *error)
{
    std::map<int, std::vector<std::string>> byLevel; // level -> files, in list order
    for (const auto &list : lists) {
        std::error_code ec;
        for (const auto &e : std::filesystem::directory_iterator(dir, ec)) {
            std::string name = e.path().filename().string();
            std::string prefix = list + "-words.";
            if (name.compare(0, prefix.size(), prefix) != 0)
                continue;
            std::string level = name.substr(prefix.size());
            if (level.empty() || level.find_first_not_of("0123456789") != std::string::npos)
                continue;
            int lv = std::stoi(level);
            if (lv <= maxLevel)
                byLevel[lv].push_back(e.path().string());
        }
        if (ec) {
            if (error)
                *error = "cannot read " + dir + ": " + ec.message();
            return false;
        }
    }
    if (byLevel.empty()) {
        if (error)
            *error = "no word lists in " + dir;
        return false;
    }
    for (auto &[level, files] : byLevel) {
        std::sort(files.begin(), files.end(), [&](const std::string &a, const std::string &b) {
            auto rank = [&](const std::string &f) {
                for (size_t i = 0; i < lists.size(); i++)
                    if (std::filesystem::path(f).filename().string().rfind(lists[i] + "-", 0) == 0)
                        return i;
                return lists.size();
            };
            return rank(a) < rank(b);
        });
        for (const auto &f : files)
            if (!readWordFile(f, true, words, error))
                return false;
    }
    return true;
}

} // namespace trvdict
