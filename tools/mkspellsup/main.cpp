// main.cpp - trv_mkspellsup: writes the shared spelling supplement SpellSup.txt from the SCOWL
// lists and size that the dictionary is built from. The packed dictionary holds words of 1 to 17
// letters A-Z only, and of lengths with too many words only the commonest; the supplement takes
// the rest, so that contractions ("don't"), possessives ("dog's"), long words and the words the
// size limits left out are known to the spelling check as well. With --fill the dictionary is
// packed from that list of fill words instead, and every listed word it leaves out (rare,
// offensive or unclued) comes here too.
// The file is Windows-1252 text (here plain ASCII), one word a line, lines ended by CR LF,
// sorted without regard to case, without duplicates.
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <unordered_set>
#include <vector>

#include "dictpack.h"

namespace {

void usage()
{
    std::fprintf(stderr,
                 "usage: trv_mkspellsup --out FILE --scowl DIR [--lists english,american] [--size 70]\n"
                 "                      [--fill FILE]\n");
}

std::vector<std::string> splitList(const std::string &s)
{
    std::vector<std::string> out;
    std::string cur;
    for (char c : s) {
        if (c == ',' || c == ';') {
            if (!cur.empty())
                out.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty())
        out.push_back(cur);
    return out;
}

bool isLower(char c) { return c >= 'a' && c <= 'z'; }
bool isLetter(char c) { return isLower(c) || (c >= 'A' && c <= 'Z'); }

std::string lowerCase(std::string s)
{
    for (char &c : s)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return s;
}

std::string stripLineEnd(std::string s)
{
    while (!s.empty() && (s.back() == '\r' || s.back() == ' ' || s.back() == '\t'))
        s.pop_back();
    return s;
}

// A word made of letters and apostrophes that starts with a letter. Word lists take lower case
// only, as the dictionary does (their capitalised words are names); contractions such as "I'm"
// keep their capitals.
bool acceptable(const std::string &w, bool lowerOnly)
{
    if (w.empty() || !isLetter(w.front()))
        return false;
    for (char c : w)
        if (!(c == '\'' || (lowerOnly ? isLower(c) : isLetter(c))))
            return false;
    return true;
}

// The files <dir>/<list>-<kind>.<level> for levels up to maxLevel, lower levels first and, within
// a level, in the order of the lists.
std::vector<std::string> listFiles(const std::string &dir, const std::vector<std::string> &lists,
                                   const std::string &kind, int maxLevel, std::string *error)
{
    std::map<int, std::vector<std::string>> byLevel;
    for (const auto &list : lists) {
        std::error_code ec;
        const std::string prefix = list + "-" + kind + ".";
        for (const auto &e : std::filesystem::directory_iterator(dir, ec)) {
            const std::string name = e.path().filename().string();
            if (name.compare(0, prefix.size(), prefix) != 0)
                continue;
            const std::string level = name.substr(prefix.size());
            if (level.empty() || level.find_first_not_of("0123456789") != std::string::npos)
                continue;
            if (std::stoi(level) <= maxLevel)
                byLevel[std::stoi(level)].push_back(e.path().string());
        }
        if (ec) {
            *error = "cannot read " + dir + ": " + ec.message();
            return {};
        }
    }
    std::vector<std::string> files;
    for (auto &[level, names] : byLevel) {
        std::stable_sort(names.begin(), names.end(), [&](const std::string &a, const std::string &b) {
            auto rank = [&](const std::string &f) {
                const std::string base = std::filesystem::path(f).filename().string();
                for (size_t i = 0; i < lists.size(); i++)
                    if (base.rfind(lists[i] + "-", 0) == 0)
                        return i;
                return lists.size();
            };
            return rank(a) < rank(b);
        });
        files.insert(files.end(), names.begin(), names.end());
    }
    return files;
}

bool readLines(const std::string &path, std::vector<std::string> &lines, std::string *error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = "cannot open " + path;
        return false;
    }
    std::string line;
    while (std::getline(in, line))
        lines.push_back(stripLineEnd(line));
    return true;
}

// The words the dictionary builder reads but leaves out of its files because of the size limit
// of their length, in upper case (exactly as trv_mkdict chooses them).
std::vector<std::string> wordsLeftOutOfDictionary(const std::vector<std::string> &words)
{
    std::vector<std::string> byLength[trvdict::MaxLength + 1];
    std::unordered_set<std::string> seen;
    for (const auto &w : words)
        if (!w.empty() && w.size() <= size_t(trvdict::MaxLength) && seen.insert(w).second)
            byLength[w.size()].push_back(w);
    std::vector<std::string> left;
    for (int L = 1; L <= trvdict::MaxLength; L++) {
        const trvdict::ListFile lf = trvdict::buildList(L, byLength[L]);
        left.insert(left.end(), byLength[L].begin() + long(lf.words), byLength[L].end());
    }
    return left;
}

bool lessNoCase(const std::string &a, const std::string &b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

int main(int argc, char **argv)
{
    std::string out, scowl, lists = "english,american", fill;
    int size = 70;
    for (int i = 1; i < argc; i++) {
        const std::string a = argv[i];
        if (i + 1 >= argc) {
            usage();
            return 2;
        }
        const std::string v = argv[++i];
        if (a == "--out")
            out = v;
        else if (a == "--scowl")
            scowl = v;
        else if (a == "--lists")
            lists = v;
        else if (a == "--size")
            size = std::atoi(v.c_str());
        else if (a == "--fill")
            fill = v;
        else {
            usage();
            return 2;
        }
    }
    if (out.empty() || scowl.empty()) {
        usage();
        return 2;
    }
    const std::vector<std::string> names = splitList(lists);
    std::string error;

    std::vector<std::string> dictionaryWords;
    if (!trvdict::readScowl(scowl, names, size, dictionaryWords, &error)) {
        std::fprintf(stderr, "trv_mkspellsup: %s\n", error.c_str());
        return 1;
    }

    // Candidates in the order found; the first spelling of a word (ignoring case) is kept.
    std::vector<std::string> chosen;
    std::unordered_set<std::string> taken;
    size_t withApostrophe = 0, overLong = 0, leftOut = 0;
    auto take = [&](const std::string &w, size_t &counter) {
        if (taken.insert(lowerCase(w)).second) {
            chosen.push_back(w);
            counter++;
        }
    };
    for (const char *kind : {"words", "contractions"}) {
        const bool wordList = std::string(kind) == "words";
        const std::vector<std::string> files = listFiles(scowl, names, kind, size, &error);
        if (!error.empty()) {
            std::fprintf(stderr, "trv_mkspellsup: %s\n", error.c_str());
            return 1;
        }
        for (const auto &f : files) {
            std::vector<std::string> lines;
            if (!readLines(f, lines, &error)) {
                std::fprintf(stderr, "trv_mkspellsup: %s\n", error.c_str());
                return 1;
            }
            for (const auto &w : lines) {
                if (!acceptable(w, wordList))
                    continue;
                if (w.find('\'') != std::string::npos)
                    take(w, withApostrophe);
                else if (w.size() > size_t(trvdict::MaxLength))
                    take(w, overLong);
            }
        }
    }
    if (fill.empty()) {
        for (const auto &w : wordsLeftOutOfDictionary(dictionaryWords))
            take(lowerCase(w), leftOut);
    } else {
        // The dictionary is packed from the fill words: every listed word it does not hold
        // (rare, offensive, unclued, or over a size limit) goes here.
        std::vector<std::string> fillWords;
        if (!trvdict::readWordFile(fill, false, fillWords, &error)) {
            std::fprintf(stderr, "trv_mkspellsup: %s\n", error.c_str());
            return 1;
        }
        std::unordered_set<std::string> packed(fillWords.begin(), fillWords.end());
        for (const auto &w : wordsLeftOutOfDictionary(fillWords))
            packed.erase(w);
        for (const auto &w : dictionaryWords)
            if (!packed.count(w))
                take(lowerCase(w), leftOut);
    }

    std::stable_sort(chosen.begin(), chosen.end(), lessNoCase);
    std::string text;
    for (const auto &w : chosen)
        text += w + "\r\n";
    std::filesystem::path target(out);
    std::error_code ec;
    if (target.has_parent_path())
        std::filesystem::create_directories(target.parent_path(), ec);
    const std::string temporary = out + ".tmp";
    {
        errno = 0;
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file.write(text.data(), std::streamsize(text.size()));
        file.close(); // the last flush can fail too
        if (!file) {
            std::fprintf(stderr, "trv_mkspellsup: cannot write %s: %s\n", temporary.c_str(),
                         errno ? std::strerror(errno) : "write failed");
            std::remove(temporary.c_str());
            return 1;
        }
    }
    std::filesystem::rename(temporary, target, ec);
    if (ec) {
        std::remove(temporary.c_str());
        std::fprintf(stderr, "trv_mkspellsup: cannot write %s: %s\n", out.c_str(), ec.message().c_str());
        return 1;
    }
    std::printf("SpellSup.txt: %zu words (%zu with an apostrophe, %zu longer than %d letters, %zu left "
                "out of the dictionary by its size limits) in %s\n",
                chosen.size(), withApostrophe, overLong, trvdict::MaxLength, leftOut, out.c_str());
    return 0;
}
