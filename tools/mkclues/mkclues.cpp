// mkclues: builds the clue files Clues.02 ... Clues.17 from WordNet glosses.
// Each line is an answer in lower case followed by "|" and a candidate clue, per candidate.
#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <cstdint>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Options {
    std::string wordnetDir;
    std::string outDir;
    std::string scowlDir;          // optional: dictionary word lists for the coverage report
    std::vector<std::string> scowlLists{"english", "american"};
    int scowlSize = 80;
    int minLength = 2;
    int maxLength = 17;
    std::size_t maxCandidates = 5;
};

const std::array<const char *, 4> kParts = {"noun", "verb", "adj", "adv"};

bool isLowerAsciiWord(const std::string &w)
{
    if (w.empty())
        return false;
    return std::all_of(w.begin(), w.end(), [](unsigned char c) { return c >= 'a' && c <= 'z'; });
}

std::string lowerAscii(std::string s)
{
    for (char &c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string trim(const std::string &s)
{
    std::size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return {};
    std::size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

// One synset of a data file: its lemmas and its gloss up to the first ";".
struct Synset {
    std::vector<std::string> lemmas;
    std::string gloss;
};

// Reads data.<part>: "offset lex_filenum ss_type w_cnt word lex_id ... p_cnt ... | gloss".
// Lines that begin with a blank are the licence header.
bool readDataFile(const fs::path &path, std::map<long, Synset> &synsets)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == ' ')
            continue;
        std::size_t bar = line.find(" | ");
        std::string head = bar == std::string::npos ? line : line.substr(0, bar);
        std::istringstream fields(head);
        long offset = 0;
        std::string lexFile, ssType, wcntHex;
        if (!(fields >> offset >> lexFile >> ssType >> wcntHex))
            continue;
        long wcnt = std::strtol(wcntHex.c_str(), nullptr, 16);
        Synset syn;
        for (long i = 0; i < wcnt; ++i) {
            std::string word, lexId;
            if (!(fields >> word >> lexId))
                break;
            std::size_t paren = word.find('(');   // adjective markers such as "(a)"
            if (paren != std::string::npos)
                word.erase(paren);
            syn.lemmas.push_back(word);
        }
        if (bar != std::string::npos) {
            std::string gloss = line.substr(bar + 3);
            std::size_t semi = gloss.find(';');
            if (semi != std::string::npos)
                gloss.erase(semi);
            std::replace(gloss.begin(), gloss.end(), '|', '/');
            syn.gloss = trim(gloss);
        }
        synsets[offset] = std::move(syn);
    }
    return true;
}

// Reads index.<part>: "lemma pos synset_cnt p_cnt [ptr...] sense_cnt tagsense_cnt offset..."
// and gives each lemma its synset offsets in the index's order (most frequent sense first).
bool readIndexFile(const fs::path &path, std::vector<std::pair<std::string, std::vector<long>>> &out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == ' ')
            continue;
        std::istringstream fields(line);
        std::string lemma, pos;
        int synsetCount = 0, ptrCount = 0;
        if (!(fields >> lemma >> pos >> synsetCount >> ptrCount))
            continue;
        std::string skip;
        for (int i = 0; i < ptrCount; ++i)
            fields >> skip;
        int senseCount = 0, tagged = 0;
        fields >> senseCount >> tagged;
        std::vector<long> offsets;
        long off = 0;
        for (int i = 0; i < synsetCount && (fields >> off); ++i)
            offsets.push_back(off);
        out.emplace_back(lemma, std::move(offsets));
    }
    return true;
}

// Adds a candidate unless it is empty, gives the answer away, repeats one already taken
// or the answer already has enough.
void addCandidate(std::vector<std::string> &list, const std::string &answer, const std::string &gloss,
                  std::size_t maxCandidates)
{
    if (list.size() >= maxCandidates || gloss.empty())
        return;
    if (lowerAscii(gloss).find(answer) != std::string::npos)
        return;
    if (std::find(list.begin(), list.end(), gloss) != list.end())
        return;
    list.push_back(gloss);
}

std::set<std::string> readDictionaryWords(const Options &opt)
{
    std::set<std::string> words;
    std::error_code ec;
    for (const auto &entry : fs::directory_iterator(opt.scowlDir, ec)) {
        std::string name = entry.path().filename().string();
        std::size_t dot = name.rfind('.');
        if (dot == std::string::npos)
            continue;
        std::string base = name.substr(0, dot);
        int size = std::atoi(name.c_str() + dot + 1);
        bool wanted = false;
        for (const auto &list : opt.scowlLists)
            wanted = wanted || base == list + "-words";
        if (!wanted || size <= 0 || size > opt.scowlSize)
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::string line;
        while (std::getline(in, line)) {
            line = trim(line);
            if (!line.empty() && std::all_of(line.begin(), line.end(), [](unsigned char c) {
                    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
                }))
                words.insert(lowerAscii(line));
        }
    }
    return words;
}

int usage()
{
    std::cerr << "usage: mkclues --wordnet DIR --out DIR [--scowl DIR] [--lists a;b] [--size N]\n"
                 "               [--min N] [--max N] [--candidates N]\n";
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    Options opt;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&]() -> std::string { return i + 1 < argc ? argv[++i] : std::string(); };
        if (arg == "--wordnet")
            opt.wordnetDir = value();
        else if (arg == "--out")
            opt.outDir = value();
        else if (arg == "--scowl")
            opt.scowlDir = value();
        else if (arg == "--lists") {
            opt.scowlLists.clear();
            std::stringstream ss(value());
            std::string item;
            while (std::getline(ss, item, ';'))
                if (!item.empty())
                    opt.scowlLists.push_back(item);
        } else if (arg == "--size")
            opt.scowlSize = std::atoi(value().c_str());
        else if (arg == "--min")
            opt.minLength = std::atoi(value().c_str());
        else if (arg == "--max")
            opt.maxLength = std::atoi(value().c_str());
        else if (arg == "--candidates")
            opt.maxCandidates = static_cast<std::size_t>(std::max(1, std::atoi(value().c_str())));
        else
            return usage();
    }
    if (opt.wordnetDir.empty() || opt.outDir.empty() || opt.minLength < 1 || opt.maxLength > 99 ||
        opt.minLength > opt.maxLength)
        return usage();

    // Per part of speech: lemma -> its glosses, the senses in the index's frequency order
    // when the index file is there, else in the data file's order.
    std::array<std::map<std::string, std::vector<std::string>>, kParts.size()> byPart;
    bool anyPart = false;
    for (std::size_t p = 0; p < kParts.size(); ++p) {
        const std::string part = kParts[p];
        std::map<long, Synset> synsets;
        if (!readDataFile(fs::path(opt.wordnetDir) / ("data." + part), synsets))
            continue;
        anyPart = true;
        auto &glosses = byPart[p];
        std::vector<std::pair<std::string, std::vector<long>>> index;
        if (readIndexFile(fs::path(opt.wordnetDir) / ("index." + part), index)) {
            for (const auto &[lemma, offsets] : index) {
                if (!isLowerAsciiWord(lemma))
                    continue;
                auto &list = glosses[lemma];
                for (long off : offsets) {
                    auto it = synsets.find(off);
                    if (it != synsets.end())
                        addCandidate(list, lemma, it->second.gloss, SIZE_MAX);
                }
            }
        } else {
            for (const auto &[off, syn] : synsets)
                for (const auto &lemma : syn.lemmas)
                    if (isLowerAsciiWord(lemma))
                        addCandidate(glosses[lemma], lemma, syn.gloss, SIZE_MAX);
        }
    }
    if (!anyPart) {
        std::cerr << "mkclues: no WordNet data files in " << opt.wordnetDir << "\n";
        return 1;
    }

    auto lengthWanted = [&](const std::string &w) {
        int len = static_cast<int>(w.size());
        return len >= opt.minLength && len <= opt.maxLength;
    };

    // answer -> candidate clues: nouns first, then verbs, adjectives and adverbs.
    std::map<std::string, std::vector<std::string>> clues;
    for (const auto &glosses : byPart)
        for (const auto &[lemma, list] : glosses) {
            if (!lengthWanted(lemma))
                continue;
            auto &out = clues[lemma];
            for (const auto &g : list)
                addCandidate(out, lemma, g, opt.maxCandidates);
        }

    // The dictionary holds inflected forms (plurals, verb forms) that WordNet lists only
    // under their base form: give those words the glosses of their noun or verb base,
    // found through WordNet's exception lists and its suffix rules.
    std::set<std::string> dict;
    if (!opt.scowlDir.empty())
        dict = readDictionaryWords(opt);
    static const std::vector<std::pair<std::string, std::string>> kRules[2] = {
        {{"s", ""}, {"ses", "s"}, {"xes", "x"}, {"zes", "z"}, {"ches", "ch"}, {"shes", "sh"},
         {"men", "man"}, {"ies", "y"}},
        {{"s", ""}, {"ies", "y"}, {"es", "e"}, {"es", ""}, {"ed", "e"}, {"ed", ""}, {"ing", "e"},
         {"ing", ""}}};
    for (std::size_t p = 0; p < 2; ++p) {
        std::multimap<std::string, std::string> exceptions;
        std::ifstream exc(fs::path(opt.wordnetDir) / (std::string(kParts[p]) + ".exc"), std::ios::binary);
        std::string line;
        while (std::getline(exc, line)) {
            std::istringstream fields(line);
            std::string inflected, base;
            fields >> inflected;
            while (fields >> base)
                exceptions.emplace(inflected, base);
        }
        const auto &glosses = byPart[p];
        for (const auto &word : dict) {
            if (!lengthWanted(word) || glosses.count(word))
                continue;
            std::vector<std::string> bases;
            auto range = exceptions.equal_range(word);
            for (auto it = range.first; it != range.second; ++it)
                bases.push_back(it->second);
            for (const auto &[suffix, ending] : kRules[p])
                if (word.size() > suffix.size() + 1 &&
                    word.compare(word.size() - suffix.size(), suffix.size(), suffix) == 0)
                    bases.push_back(word.substr(0, word.size() - suffix.size()) + ending);
            for (const auto &base : bases) {
                auto it = glosses.find(base);
                if (it == glosses.end())
                    continue;
                auto &out = clues[word];
                for (const auto &g : it->second)
                    addCandidate(out, word, g, opt.maxCandidates);
            }
        }
    }

    std::error_code ec;
    fs::create_directories(opt.outDir, ec);
    std::vector<std::ofstream> files;
    std::vector<long> answersPerLength(static_cast<std::size_t>(opt.maxLength) + 1, 0);
    for (int len = opt.minLength; len <= opt.maxLength; ++len) {
        char name[16];
        std::snprintf(name, sizeof name, "Clues.%02d", len);
        fs::path path = fs::path(opt.outDir) / name;
        fs::path tmp = path;
        tmp += ".tmp";
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) {
            std::cerr << "mkclues: cannot write " << tmp << "\n";
            return 1;
        }
        // std::map orders the answers byte by byte, which is the order the reader expects.
        for (const auto &[answer, list] : clues) {
            if (static_cast<int>(answer.size()) != len || list.empty())
                continue;
            out << answer;
            for (const auto &clue : list)
                out << '|' << clue;
            out << "\r\n";
            ++answersPerLength[static_cast<std::size_t>(len)];
        }
        out.close();
        if (!out) {
            std::cerr << "mkclues: write failed for " << tmp << "\n";
            return 1;
        }
        fs::rename(tmp, path, ec);
        if (ec) {
            std::cerr << "mkclues: cannot rename " << tmp << ": " << ec.message() << "\n";
            return 1;
        }
    }

    if (!opt.scowlDir.empty()) {
        std::vector<long> total(static_cast<std::size_t>(opt.maxLength) + 1, 0);
        std::vector<long> covered(total.size(), 0);
        for (const auto &w : dict) {
            int len = static_cast<int>(w.size());
            if (len < opt.minLength || len > opt.maxLength)
                continue;
            ++total[static_cast<std::size_t>(len)];
            auto it = clues.find(w);
            if (it != clues.end() && !it->second.empty())
                ++covered[static_cast<std::size_t>(len)];
        }
        std::cout << "Clue coverage of the dictionary words (length: with a clue / words):\n";
        long sumCovered = 0, sumTotal = 0;
        for (int len = opt.minLength; len <= opt.maxLength; ++len) {
            auto i = static_cast<std::size_t>(len);
            sumCovered += covered[i];
            sumTotal += total[i];
            std::printf("  %2d: %6ld / %6ld  (%5.1f %%)\n", len, covered[i], total[i],
                        total[i] ? 100.0 * static_cast<double>(covered[i]) / static_cast<double>(total[i]) : 0.0);
        }
        std::printf("  all: %6ld / %6ld\n", sumCovered, sumTotal);
    }
    long answers = 0;
    for (long n : answersPerLength)
        answers += n;
    std::cout << "mkclues: wrote clues for " << answers << " answers to " << opt.outDir << "\n";
    return 0;
}
