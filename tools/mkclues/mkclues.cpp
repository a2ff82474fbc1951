// mkclues: builds the clue files Clues.02 ... Clues.17 from WordNet glosses.
// Each line is an answer in lower case followed by "|" and a candidate clue, per candidate.
// Candidates follow WordNet's sense order, nouns first, then verbs, adjectives and adverbs;
// inflected dictionary words take the glosses of their base word with a short tag.
#include "cluetext.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;
using namespace mkclues;

namespace {

struct Options {
    std::string wordnetDir;
    std::string outDir;
    std::string scowlDir;          // optional: dictionary words, which also get inflected forms clued
    std::vector<std::string> scowlLists{"english", "american"};
    int scowlSize = 80;
    int minLength = 2;
    int maxLength = 17;
    std::size_t maxCandidates = 4;
};

enum Part { Noun, Verb, Adj, Adv };
const std::array<const char *, 4> kParts = {"noun", "verb", "adj", "adv"};

bool isLowerAsciiWord(const std::string &w)
{
    if (w.empty())
        return false;
    return std::all_of(w.begin(), w.end(), [](unsigned char c) { return c >= 'a' && c <= 'z'; });
}

bool endsWith(const std::string &s, const std::string &suffix)
{
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// One synset of a data file: its lemmas as the synset spells them and its cleaned gloss.
struct Synset {
    std::vector<std::string> lemmas;
    std::string gloss;
};

// One sense of a lemma. A synset that spells the lemma with capitals ("Paris", "CAT") names
// something proper rather than the common word.
struct Sense {
    std::string gloss;
    bool proper = false;
};
using Lexicon = std::map<std::string, std::vector<Sense>>;

bool spelledProper(const Synset &syn, const std::string &lemma)
{
    bool capitalised = false;
    for (const auto &w : syn.lemmas) {
        if (w == lemma)
            return false;
        capitalised = capitalised || lowerAscii(w) == lemma;
    }
    return capitalised;
}

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
        if (bar != std::string::npos)
            syn.gloss = cleanGloss(line.substr(bar + 3));
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

// The senses of each lemma of one part of speech, in the index's frequency order when the
// index file is there, else in the data file's order.
bool readPart(const fs::path &dir, const std::string &part, Lexicon &lexicon)
{
    std::map<long, Synset> synsets;
    if (!readDataFile(dir / ("data." + part), synsets))
        return false;
    std::vector<std::pair<std::string, std::vector<long>>> index;
    if (readIndexFile(dir / ("index." + part), index)) {
        for (const auto &[lemma, offsets] : index) {
            if (!isLowerAsciiWord(lemma))
                continue;
            auto &senses = lexicon[lemma];
            for (long off : offsets) {
                auto it = synsets.find(off);
                if (it != synsets.end())
                    senses.push_back({it->second.gloss, spelledProper(it->second, lemma)});
            }
        }
    } else {
        for (const auto &[off, syn] : synsets)
            for (const auto &spelled : syn.lemmas) {
                std::string lemma = lowerAscii(spelled);
                if (isLowerAsciiWord(lemma))
                    lexicon[lemma].push_back({syn.gloss, spelled != lemma});
            }
    }
    return true;
}

enum class Tag { None, Plural, ThirdPerson, Past, IngForm, Comparative, Superlative };

const char *tagText(Tag tag)
{
    switch (tag) {
    case Tag::None: return "";
    case Tag::Plural: return "(pl.)";
    case Tag::ThirdPerson: return "(he/she/it)";
    case Tag::Past: return "(past)";
    case Tag::IngForm: return "(-ing form)";
    case Tag::Comparative: return "(comp.)";
    case Tag::Superlative: return "(sup.)";
    }
    return "";
}

// An inflected word read as a form of a base word.
struct Form {
    std::string base;
    Tag tag;
};

// What an entry of an exception list is: noun.exc holds plurals, verb.exc past and -ing
// forms besides a few -s forms, adj.exc and adv.exc comparatives and superlatives.
// Forms that are none of these (am, are, halfways) are not used.
Tag exceptionTag(Part part, const std::string &form, const std::string &base)
{
    switch (part) {
    case Noun:
        return Tag::Plural;
    case Verb:
        if (endsWith(form, "ing"))
            return Tag::IngForm;
        if (base == "be")
            return form == "is" ? Tag::ThirdPerson
                   : form == "was" || form == "were" || form == "been" ? Tag::Past : Tag::None;
        return endsWith(form, "s") ? Tag::ThirdPerson : Tag::Past;
    case Adj:
    case Adv:
        if (endsWith(form, "st"))
            return Tag::Superlative;
        return endsWith(form, "er") || form == "worse" ? Tag::Comparative : Tag::None;
    }
    return Tag::None;
}

// A stem ending consonant-vowel-consonant doubles its last letter before -ing, -er and -est
// (hop, hopping), so "hoping" comes from "hope", while "singing" comes from "sing".
bool doublesLastLetter(const std::string &stem)
{
    auto vowel = [](char c) { return std::string_view("aeiou").find(c) != std::string_view::npos; };
    const std::size_t n = stem.size();
    return n >= 3 && !vowel(stem[n - 1]) && std::string_view("wxy").find(stem[n - 1]) == std::string_view::npos &&
           vowel(stem[n - 2]) && !vowel(stem[n - 3]);
}

// WordNet's own morphology: the exception lists, then its suffix rules.
class Morphology
{
public:
    void readExceptions(const fs::path &dir)
    {
        for (std::size_t p = 0; p < kParts.size(); ++p) {
            std::ifstream exc(dir / (std::string(kParts[p]) + ".exc"), std::ios::binary);
            std::string line;
            while (std::getline(exc, line)) {
                std::istringstream fields(line);
                std::string form, base;
                fields >> form;
                while (fields >> base)
                    if (base != form && isLowerAsciiWord(base))
                        m_exceptions[p].emplace(form, base);
            }
        }
    }

    // The readings of word as an inflected form in one part of speech whose base has a
    // sense there. Adjective suffix rules are left out for words that are lemmas themselves,
    // as -er ends many nouns (owner, loner) that are no comparatives.
    std::vector<Form> analyse(const std::string &word, Part part, const Lexicon &lexicon, bool isLemma) const
    {
        std::vector<Form> forms;
        auto known = [&](const std::string &base) { return lexicon.count(base) != 0; };
        auto add = [&](const std::string &base, Tag tag) {
            if (tag == Tag::None || !known(base))
                return;
            for (const auto &f : forms)
                if (f.base == base && f.tag == tag)
                    return;
            forms.push_back({base, tag});
        };
        auto range = m_exceptions[part].equal_range(word);
        for (auto it = range.first; it != range.second; ++it)
            add(it->second, exceptionTag(part, word, it->second));
        if (part == Adv || (part == Adj && isLemma))
            return forms;

        struct Rule {
            const char *suffix;
            const char *ending;
            Tag tag;
        };
        // Per tag, the rules in order of preference: "-ed" and friends try the base with
        // a final "e" first.
        static const std::vector<Rule> kRules[3] = {
            {{"s", "", Tag::Plural}, {"ses", "s", Tag::Plural}, {"xes", "x", Tag::Plural},
             {"zes", "z", Tag::Plural}, {"ches", "ch", Tag::Plural}, {"shes", "sh", Tag::Plural},
             {"men", "man", Tag::Plural}, {"ies", "y", Tag::Plural}},
            {{"s", "", Tag::ThirdPerson}, {"ies", "y", Tag::ThirdPerson}, {"es", "e", Tag::ThirdPerson},
             {"es", "", Tag::ThirdPerson}, {"ed", "e", Tag::Past}, {"ed", "", Tag::Past},
             {"ing", "e", Tag::IngForm}, {"ing", "", Tag::IngForm}},
            {{"er", "e", Tag::Comparative}, {"er", "", Tag::Comparative}, {"est", "e", Tag::Superlative},
             {"est", "", Tag::Superlative}}};
        // Two-letter nouns are mostly abbreviations and symbols (ha, wa): no plurals for them.
        const std::size_t minBase = part == Noun ? 3 : 2;
        for (Tag tag : {Tag::Plural, Tag::ThirdPerson, Tag::Past, Tag::IngForm, Tag::Comparative, Tag::Superlative}) {
            std::vector<std::string> bases;
            for (const Rule &rule : kRules[part]) {
                const std::string suffix = rule.suffix;
                if (rule.tag != tag || word.size() < suffix.size() + 2 || !endsWith(word, suffix))
                    continue;
                std::string base = word.substr(0, word.size() - suffix.size()) + rule.ending;
                // A bare stem takes "-es" only after a hiss or an "o" (boxes, goes, not grilles).
                if (suffix == "es" && base + "es" == word && !endsWith(base, "o") && !endsWith(base, "s") &&
                    !endsWith(base, "x") && !endsWith(base, "z") && !endsWith(base, "ch") && !endsWith(base, "sh"))
                    continue;
                if (base.size() >= minBase && known(base) &&
                    std::find(bases.begin(), bases.end(), base) == bases.end())
                    bases.push_back(base);
            }
            if (bases.empty())
                continue;
            // Both "stem" and "stem"+"e" are words (singe/sing, hope/hop): a -ing, -er or -est
            // form belongs to the bare stem unless that stem would have doubled its last letter.
            std::size_t pick = 0;
            if (bases.size() > 1 && bases[0] == bases[1] + "e" && tag != Tag::Past && !doublesLastLetter(bases[1]))
                pick = 1;
            add(bases[pick], tag);
        }
        return forms;
    }

private:
    std::array<std::multimap<std::string, std::string>, 4> m_exceptions;
};

// A gloss offered for an answer, with the tag of the inflection it stands for.
struct Candidate {
    const std::string *gloss;
    Tag tag;
};

std::string withTag(const std::string &gloss, Tag tag)
{
    return tag == Tag::None ? gloss : gloss + " " + tagText(tag);
}

// The clues written for an answer: its own senses, then those of its base words, each group in
// sense order so that the commonest meanings come first. A gloss longer than kClueLength is cut
// at a natural break, or left out when no cut leaves a sound phrase. The tag comes on top, so
// that an inflected form is clued like its base word. An answer that gets nothing so takes its
// long glosses, whole or cut, up to kLongClueLength characters. None holds the answer or a base word of
// it (giveaways), none repeats another.
std::vector<std::string> chooseClues(const std::vector<std::string> &giveaways,
                                     const std::vector<Candidate> &candidates, std::size_t maxCandidates,
                                     const WordKindOf &kindOf)
{
    std::vector<std::string> clues;
    auto offer = [&](const std::string &gloss, Tag tag) {
        const std::string text = withTag(gloss, tag);
        if (clues.size() < maxCandidates && !gloss.empty() &&
            std::none_of(giveaways.begin(), giveaways.end(), [&](const auto &w) { return givesAway(text, w); }) &&
            std::find(clues.begin(), clues.end(), text) == clues.end())
            clues.push_back(text);
    };
    for (bool own : {true, false})
        for (const auto &c : candidates)
            if ((c.tag == Tag::None) == own)
                offer(c.gloss->size() <= kClueLength ? *c.gloss : cutGloss(*c.gloss, kClueLength, kindOf), c.tag);
    // A long definition still beats no clue at all.
    if (clues.empty())
        for (bool own : {true, false})
            for (const auto &c : candidates)
                if ((c.tag == Tag::None) == own)
                    offer(cutGloss(*c.gloss, kLongClueLength, kindOf), c.tag);
    return clues;
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

    std::array<Lexicon, kParts.size()> lexicons;
    bool anyPart = false;
    for (std::size_t p = 0; p < kParts.size(); ++p)
        anyPart = readPart(opt.wordnetDir, kParts[p], lexicons[p]) || anyPart;
    if (!anyPart) {
        std::cerr << "mkclues: no WordNet data files in " << opt.wordnetDir << "\n";
        return 1;
    }
    Morphology morphology;
    morphology.readExceptions(opt.wordnetDir);

    auto lengthWanted = [&](const std::string &w) {
        int len = static_cast<int>(w.size());
        return len >= opt.minLength && len <= opt.maxLength;
    };

    // The answers: every WordNet lemma, and the dictionary words, whose inflected forms
    // WordNet lists only under their base word.
    std::set<std::string> dict;
    if (!opt.scowlDir.empty())
        dict = readDictionaryWords(opt);
    std::set<std::string> answers;
    for (const auto &lexicon : lexicons)
        for (const auto &entry : lexicon)
            if (lengthWanted(entry.first))
                answers.insert(entry.first);
    for (const auto &word : dict)
        if (lengthWanted(word))
            answers.insert(word);

    // Adjectives and adverbs that are nothing else, for cutting long glosses.
    const WordKindOf kindOf = [&lexicons](const std::string &word) {
        if (lexicons[Noun].count(word))
            return WordKind::Other;
        if (lexicons[Adj].count(word))
            return WordKind::Adjective;
        return lexicons[Adv].count(word) && !lexicons[Verb].count(word) ? WordKind::Adverb : WordKind::Other;
    };

    // std::map orders the answers byte by byte, which is the order the reader expects.
    std::map<std::string, std::vector<std::string>> clues;
    for (const auto &answer : answers) {
        std::vector<Candidate> candidates;
        std::vector<std::string> giveaways{answer};
        const std::vector<Sense> *own[kParts.size()] = {};
        bool hasCommonSense = false;
        for (std::size_t p = 0; p < kParts.size(); ++p) {
            auto it = lexicons[p].find(answer);
            if (it == lexicons[p].end())
                continue;
            own[p] = &it->second;
            for (const auto &s : it->second)
                hasCommonSense = hasCommonSense || !s.proper;
        }
        // The answer's own senses; proper ones only for a word that has no common sense.
        for (const auto *senses : own)
            if (senses)
                for (const auto &s : *senses)
                    if (!s.proper || !hasCommonSense)
                        candidates.push_back({&s.gloss, Tag::None});
        // Then its readings as an inflected form; proper senses have no plural or the like.
        if (dict.count(answer)) {
            const bool isLemma = std::any_of(std::begin(own), std::end(own), [](auto *s) { return s != nullptr; });
            for (std::size_t p = 0; p < kParts.size(); ++p)
                for (const Form &form : morphology.analyse(answer, static_cast<Part>(p), lexicons[p], isLemma)) {
                    giveaways.push_back(form.base);
                    for (const auto &s : lexicons[p].at(form.base))
                        if (!s.proper)
                            candidates.push_back({&s.gloss, form.tag});
                }
        }
        auto chosen = chooseClues(giveaways, candidates, opt.maxCandidates, kindOf);
        if (!chosen.empty())
            clues.emplace(answer, std::move(chosen));
    }

    std::error_code ec;
    fs::create_directories(opt.outDir, ec);
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
        for (const auto &[answer, list] : clues) {
            if (static_cast<int>(answer.size()) != len)
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
            if (!lengthWanted(w))
                continue;
            ++total[w.size()];
            if (clues.count(w))
                ++covered[w.size()];
        }
        auto percent = [](long part, long whole) {
            return whole ? 100.0 * static_cast<double>(part) / static_cast<double>(whole) : 0.0;
        };
        std::cout << "Clue coverage of the dictionary words (length: with a clue / words):\n";
        long sumCovered = 0, sumTotal = 0;
        for (int len = opt.minLength; len <= opt.maxLength; ++len) {
            auto i = static_cast<std::size_t>(len);
            sumCovered += covered[i];
            sumTotal += total[i];
            std::printf("  %2d: %6ld / %6ld  (%5.1f %%)\n", len, covered[i], total[i], percent(covered[i], total[i]));
        }
        std::printf("  all: %6ld / %6ld\n", sumCovered, sumTotal);
        std::printf("Dictionary words with a clue: %.1f %%\n", percent(sumCovered, sumTotal));
    }
    long written = 0;
    for (long n : answersPerLength)
        written += n;
    std::cout << "mkclues: wrote clues for " << written << " answers to " << opt.outDir << "\n";
    return 0;
}
