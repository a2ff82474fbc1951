// mkclues: builds the clue files Clues.02 ... Clues.17 from WordNet glosses.
// Each line is an answer in lower case followed by "|" and a candidate clue, per candidate.
// Candidates follow WordNet's sense order, nouns first, then verbs, adjectives and adverbs;
// inflected dictionary words take the glosses of their base word with a short tag.
// With --curated the clues are crossword clues for a general audience (short synonyms first,
// no offensive, dated or proper-noun senses, nothing that shares the answer's stem), offensive
// words are left out altogether, and the fill words for the dictionary are chosen and written.
#include "cluetext.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
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
    std::string scowlDir; // optional: dictionary words, which also get inflected forms clued
    std::vector<std::string> scowlLists{"english", "american"};
    int scowlSize = 80;
    int minLength = 2;
    int maxLength = 17;
    std::size_t maxCandidates = 4;
};

enum Part {
    Noun,
    Verb,
    Adj,
    Adv
};
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

// A pointer of a synset to another one: its symbol ("@" hypernym, ";u" usage domain ...) and
// the target's part of speech and offset.
struct Pointer {
    std::string symbol;
    char pos = 'n';
    long offset = 0;
};

// One synset of a data file: its lemmas as the synset spells them, its cleaned gloss, its raw
// gloss and its pointers; the flags say what its usage labels and gloss make of it.
struct Synset {
    std::vector<std::string> lemmas;
    std::string gloss;
    std::string rawGloss;
    std::vector<Pointer> pointers;
    bool offensive = false; // obscene, ethnic slur, disparaging
    bool dated = false;     // archaic or obsolete
};

// One sense of a lemma. A synset that spells the lemma with capitals ("Paris", "CAT") names
// something proper rather than the common word.
struct Sense {
    std::string gloss;
    bool proper = false;
    const Synset *synset = nullptr;
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
            std::size_t paren = word.find('('); // adjective markers such as "(a)"
            if (paren != std::string::npos)
                word.erase(paren);
            syn.lemmas.push_back(word);
        }
        int pointerCount = 0;
        fields >> pointerCount;
        for (int i = 0; i < pointerCount; ++i) {
            Pointer ptr;
            std::string pos, sourceTarget;
            if (!(fields >> ptr.symbol >> ptr.offset >> pos >> sourceTarget))
                break;
            ptr.pos = pos.empty() ? 'n' : pos[0];
            syn.pointers.push_back(std::move(ptr));
        }
        if (bar != std::string::npos) {
            syn.rawGloss = trim(line.substr(bar + 3));
            syn.gloss = cleanGloss(syn.rawGloss);
        }
        synsets[offset] = std::move(syn);
    }
    return true;
}

// Reads index.<part>: "lemma pos synset_cnt p_cnt [ptr...] sense_cnt tagsense_cnt offset..."
// and gives each lemma its synset offsets in the index's order (most frequent sense first).
struct IndexEntry {
    std::string lemma;
    std::vector<long> offsets;
    int tagged = 0; // senses counted in WordNet's semantic concordance (cntlist)
};

bool readIndexFile(const fs::path &path, std::vector<IndexEntry> &out)
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
        out.push_back({lemma, std::move(offsets), tagged});
    }
    return true;
}

// The senses of each lemma of one part of speech, in the index's frequency order when the
// index file is there, else in the data file's order.
// The senses of each lemma of one part of speech, in the index's frequency order when the
// index file is there, else in the data file's order. tagged adds up each lemma's tagged senses.
bool readPart(const fs::path &dir, const std::string &part, const std::map<long, Synset> &synsets,
              Lexicon &lexicon, std::map<std::string, int> &tagged)
{
    std::vector<IndexEntry> index;
    if (readIndexFile(dir / ("index." + part), index)) {
        for (const auto &entry : index) {
            if (!isLowerAsciiWord(entry.lemma))
                continue;
            tagged[entry.lemma] += entry.tagged;
            auto &senses = lexicon[entry.lemma];
            for (long off : entry.offsets) {
                auto it = synsets.find(off);
                if (it != synsets.end())
                    senses.push_back({it->second.gloss, spelledProper(it->second, entry.lemma), &it->second});
            }
        }
    } else {
        for (const auto &[off, syn] : synsets)
            for (const auto &spelled : syn.lemmas) {
                std::string lemma = lowerAscii(spelled);
                if (isLowerAsciiWord(lemma))
                    lexicon[lemma].push_back({syn.gloss, spelled != lemma, &syn});
            }
    }
    return true;
}

int partOfPointer(char pos)
{
    switch (pos) {
    case 'v': return Verb;
    case 'a':
    case 's': return Adj;
    case 'r': return Adv;
    default: return Noun;
    }
}

// Marks the synsets that WordNet files under the usage domains obscenity, ethnic slur and
// disparagement, or whose gloss calls them so, as offensive; those under archaism, or glossed
// archaic or obsolete, as dated.
void markUsage(std::array<std::map<long, Synset>, 4> &synsets)
{
    auto domainHas = [&](const Pointer &p, std::initializer_list<const char *> names) {
        const auto &part = synsets[static_cast<std::size_t>(partOfPointer(p.pos))];
        auto it = part.find(p.offset);
        if (it == part.end())
            return false;
        for (const auto &lemma : it->second.lemmas)
            for (const char *name : names)
                if (lowerAscii(lemma) == name)
                    return true;
        return false;
    };
    for (auto &part : synsets)
        for (auto &[offset, syn] : part) {
            for (const auto &p : syn.pointers) {
                if (p.symbol != ";u")
                    continue;
                syn.offensive = syn.offensive || domainHas(p, {"obscenity", "ethnic_slur", "disparagement"});
                syn.dated = syn.dated || domainHas(p, {"archaism"});
            }
            syn.offensive = syn.offensive || offensiveGloss(syn.rawGloss);
            syn.dated = syn.dated || datedGloss(syn.rawGloss);
        }
}

enum class Tag {
    None,
    Plural,
    ThirdPerson,
    Past,
    IngForm,
    Comparative,
    Superlative
};

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
    case Noun: return Tag::Plural;
    case Verb:
        if (endsWith(form, "ing"))
            return Tag::IngForm;
        if (base == "be")
            return form == "is"                                        ? Tag::ThirdPerson
                   : form == "was" || form == "were" || form == "been" ? Tag::Past
                                                                       : Tag::None;
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
    return n >= 3 && !vowel(stem[n - 1]) &&
           std::string_view("wxy").find(stem[n - 1]) == std::string_view::npos && vowel(stem[n - 2]) &&
           !vowel(stem[n - 3]);
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
        static const std::vector<Rule> kRules[3] = {{{"s", "", Tag::Plural},
                                                     {"ses", "s", Tag::Plural},
                                                     {"xes", "x", Tag::Plural},
                                                     {"zes", "z", Tag::Plural},
                                                     {"ches", "ch", Tag::Plural},
                                                     {"shes", "sh", Tag::Plural},
                                                     {"men", "man", Tag::Plural},
                                                     {"ies", "y", Tag::Plural}},
                                                    {{"s", "", Tag::ThirdPerson},
                                                     {"ies", "y", Tag::ThirdPerson},
                                                     {"es", "e", Tag::ThirdPerson},
                                                     {"es", "", Tag::ThirdPerson},
                                                     {"ed", "e", Tag::Past},
                                                     {"ed", "", Tag::Past},
                                                     {"ing", "e", Tag::IngForm},
                                                     {"ing", "", Tag::IngForm}},
                                                    {{"er", "e", Tag::Comparative},
                                                     {"er", "", Tag::Comparative},
                                                     {"est", "e", Tag::Superlative},
                                                     {"est", "", Tag::Superlative}}};
        // Two-letter nouns are mostly abbreviations and symbols (ha, wa): no plurals for them.
        const std::size_t minBase = part == Noun ? 3 : 2;
        for (Tag tag :
             {Tag::Plural, Tag::ThirdPerson, Tag::Past, Tag::IngForm, Tag::Comparative, Tag::Superlative}) {
            std::vector<std::string> bases;
            for (const Rule &rule : kRules[part]) {
                const std::string suffix = rule.suffix;
                if (rule.tag != tag || word.size() < suffix.size() + 2 || !endsWith(word, suffix))
                    continue;
                std::string base = word.substr(0, word.size() - suffix.size()) + rule.ending;
                // A bare stem takes "-es" only after a hiss or an "o" (boxes, goes, not grilles).
                if (suffix == "es" && base + "es" == word && !endsWith(base, "o") && !endsWith(base, "s") &&
                    !endsWith(base, "x") && !endsWith(base, "z") && !endsWith(base, "ch") &&
                    !endsWith(base, "sh"))
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
            if (bases.size() > 1 && bases[0] == bases[1] + "e" && tag != Tag::Past &&
                !doublesLastLetter(bases[1]))
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
            std::none_of(giveaways.begin(), giveaways.end(),
                         [&](const auto &w) { return givesAway(text, w); }) &&
            std::find(clues.begin(), clues.end(), text) == clues.end())
            clues.push_back(text);
    };
    for (bool own : {true, false})
        for (const auto &c : candidates)
            if ((c.tag == Tag::None) == own)
                offer(c.gloss->size() <= kClueLength ? *c.gloss : cutGloss(*c.gloss, kClueLength, kindOf),
                      c.tag);
    // A long definition still beats no clue at all.
    if (clues.empty())
        for (bool own : {true, false})
            for (const auto &c : candidates)
                if ((c.tag == Tag::None) == own)
                    offer(cutGloss(*c.gloss, kLongClueLength, kindOf), c.tag);
    return clues;
}

// The lower-case dictionary words of the wanted SCOWL lists up to the size, each with the lowest
// size level that lists it.
std::map<std::string, int> readDictionaryWords(const Options &opt)
{
    std::map<std::string, int> words;
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
                })) {
                auto [it, added] = words.emplace(lowerAscii(line), size);
                if (!added)
                    it->second = std::min(it->second, size);
            }
        }
    }
    return words;
}

// The project's own exclusion list: one word a line, "#" starts a comment; "*part*" excludes
// every word that holds the part, "part*" every word that begins with it, "*part" every word
// that ends with it.
struct ExclusionList {
    std::vector<std::string> words, inside, starts, ends;

    bool read(const std::string &path)
    {
        std::ifstream in(path, std::ios::binary);
        if (!in)
            return false;
        std::string line;
        while (std::getline(in, line)) {
            line = lowerAscii(trim(line.substr(0, line.find('#'))));
            const bool front = !line.empty() && line.front() == '*',
                       back = line.size() > 1 && line.back() == '*';
            const std::string core =
                line.substr(front ? 1 : 0, line.size() - (front ? 1 : 0) - (back ? 1 : 0));
            if (core.empty())
                continue;
            (front && back ? inside : front ? ends : back ? starts : words).push_back(core);
        }
        return true;
    }
    bool has(const std::string &word) const
    {
        auto any = [&](const std::vector<std::string> &parts, auto test) {
            return std::any_of(parts.begin(), parts.end(), test);
        };
        return std::find(words.begin(), words.end(), word) != words.end() ||
               any(inside, [&](const std::string &p) { return word.find(p) != std::string::npos; }) ||
               any(starts, [&](const std::string &p) { return word.compare(0, p.size(), p) == 0; }) ||
               any(ends, [&](const std::string &p) { return endsWith(word, p); });
    }
};

// A sense offered for an answer, with the tag of the inflection it stands for.
struct SenseOffer {
    const Sense *sense;
    Tag tag;
};

// A synonym fit for a crossword clue: a plain lower-case lemma (or phrase) of a few words.
bool plainLemma(const std::string &lemma)
{
    if (lemma.empty() || lemma.size() > 30)
        return false;
    return std::all_of(lemma.begin(), lemma.end(), [](unsigned char c) {
        return (c >= 'a' && c <= 'z') || c == '_' || c == '-' || c == '\'';
    });
}

// Crossword clues for an answer: first a short synonym for each sense (another lemma of the
// synset, else the first lemma of its nearest hypernym), then the glosses that fit in
// kClueLength characters with their tag (whole, or cut before a clause of detail). Offensive,
// dated and proper-noun senses give nothing. No candidate shares a stem with the answer or its
// base words, or holds an excluded word; each starts with a capital.
std::vector<std::string> chooseCrosswordClues(const std::string &answer,
                                              const std::vector<std::string> &giveaways,
                                              const std::vector<SenseOffer> &offers,
                                              const std::array<std::map<long, Synset>, 4> &synsets,
                                              const std::set<std::string> &excluded,
                                              std::size_t maxCandidates, const WordKindOf &kindOf)
{
    std::vector<std::string> clues;
    auto acceptable = [&](const std::string &text) {
        if (text.empty() || text.size() > kClueLength)
            return false;
        for (const auto &w : giveaways)
            if (sharesStem(text, w))
                return false;
        for (const auto &w : wordsOf(text))
            if (excluded.count(w))
                return false;
        const std::string shown = capitalised(text);
        return std::find(clues.begin(), clues.end(), shown) == clues.end();
    };
    auto offer = [&](const std::string &text) {
        if (clues.size() < maxCandidates && acceptable(text))
            clues.push_back(capitalised(text));
    };
    auto usable = [](const Sense &s) {
        return !s.proper && s.synset && !s.synset->offensive && !s.synset->dated;
    };
    auto synonymText = [&](const std::string &lemma, Tag tag) {
        std::string text = lemma;
        std::replace(text.begin(), text.end(), '_', ' ');
        return withTag(text, tag);
    };
    // At most three synonyms, so that a gloss explains the word too when there is one.
    const std::size_t synonymLimit = std::min<std::size_t>(3, maxCandidates);
    for (const auto &o : offers) {
        if (clues.size() >= synonymLimit)
            break;
        if (!usable(*o.sense))
            continue;
        const Synset &syn = *o.sense->synset;
        bool found = false;
        for (const auto &lemma : syn.lemmas)
            if (!found && lowerAscii(lemma) != answer && plainLemma(lemma) &&
                acceptable(synonymText(lemma, o.tag))) {
                offer(synonymText(lemma, o.tag));
                found = true;
            }
        for (const auto &p : syn.pointers) {
            if (found)
                break;
            if (p.symbol != "@" && p.symbol != "@i" && p.symbol != "&")
                continue;
            const auto &part = synsets[static_cast<std::size_t>(partOfPointer(p.pos))];
            auto it = part.find(p.offset);
            if (it == part.end() || it->second.offensive)
                continue;
            for (const auto &lemma : it->second.lemmas)
                if (!found && plainLemma(lemma) && acceptable(synonymText(lemma, o.tag))) {
                    offer(synonymText(lemma, o.tag));
                    found = true;
                }
        }
    }
    for (const auto &o : offers) {
        if (!usable(*o.sense) || o.sense->gloss.empty())
            continue;
        const std::size_t tagLength = o.tag == Tag::None ? 0 : std::string(tagText(o.tag)).size() + 1;
        const std::string &gloss = o.sense->gloss;
        const std::string text = gloss.size() + tagLength <= kClueLength
                                     ? gloss
                                     : cutGloss(gloss, kClueLength - tagLength, kindOf, false);
        if (!text.empty())
            offer(withTag(text, o.tag));
    }
    return clues;
}

// Writes the lines (CR LF) to a temporary file beside path and renames it into place only when
// every byte reached the disk, so a failed write never leaves a cut file for the build to use and
// the old file stays as it was. Returns the reason of a failure, empty on success.
std::string writeLines(const std::string &path, const std::vector<std::string> &lines)
{
    const std::string tmp = path + ".tmp";
    {
        errno = 0;
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        for (const auto &l : lines)
            out << l << "\r\n";
        out.close(); // the last flush can fail too
        if (!out) {
            const std::string reason = errno ? std::strerror(errno) : "write failed";
            std::remove(tmp.c_str());
            return reason;
        }
    }
    std::error_code ec;
    std::filesystem::rename(tmp, path, ec);
    if (ec) {
        std::remove(tmp.c_str());
        return ec.message();
    }
    return {};
}

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

int usage()
{
    std::cerr
        << "usage: mkclues --wordnet DIR --out DIR [--scowl DIR] [--lists a;b] [--size N]\n"
           "               [--min N] [--max N] [--candidates N]\n"
           "               [--curated [--exclude FILE] [--fill-size N] [--rescue N] [--inflections]\n"
           "                          [--unclued [--unclued-size N]] [--rare-length N] [--fill-out FILE]\n"
           "                          [--excluded-out FILE] [--common-size N --common-out FILE]]\n";
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    Options opt;
    bool curated = false;
    std::string excludeFile, fillOut, excludedOut, commonOut;
    int fillSize = 60, rescue = 0, uncluedSize = -1, commonSize = 60;
    bool inflections = false, uncluedCommon = false;
    int rareLength = 0;
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
        else if (arg == "--curated")
            curated = true;
        else if (arg == "--exclude")
            excludeFile = value();
        else if (arg == "--fill-size")
            fillSize = std::atoi(value().c_str());
        else if (arg == "--rescue")
            rescue = std::atoi(value().c_str());
        else if (arg == "--inflections")
            inflections = true;
        else if (arg == "--unclued")
            uncluedCommon = true;
        else if (arg == "--unclued-size")
            uncluedSize = std::atoi(value().c_str());
        else if (arg == "--rare-length")
            rareLength = std::atoi(value().c_str());
        else if (arg == "--common-size")
            commonSize = std::atoi(value().c_str());
        else if (arg == "--common-out")
            commonOut = value();
        else if (arg == "--excluded-out")
            excludedOut = value();
        else if (arg == "--fill-out")
            fillOut = value();
        else
            return usage();
    }
    if (opt.wordnetDir.empty() || opt.outDir.empty() || opt.minLength < 1 || opt.maxLength > 99 ||
        opt.minLength > opt.maxLength || (!fillOut.empty() && opt.scowlDir.empty()))
        return usage();

    std::array<std::map<long, Synset>, kParts.size()> synsets;
    std::array<Lexicon, kParts.size()> lexicons;
    std::map<std::string, int> tagged;
    std::array<std::map<std::string, int>, kParts.size()> taggedByPart;
    bool anyPart = false;
    for (std::size_t p = 0; p < kParts.size(); ++p)
        anyPart = readDataFile(fs::path(opt.wordnetDir) / ("data." + std::string(kParts[p])), synsets[p]) ||
                  anyPart;
    if (!anyPart) {
        std::cerr << "mkclues: no WordNet data files in " << opt.wordnetDir << "\n";
        return 1;
    }
    markUsage(synsets);
    for (std::size_t p = 0; p < kParts.size(); ++p)
        readPart(opt.wordnetDir, kParts[p], synsets[p], lexicons[p], taggedByPart[p]);
    for (const auto &part : taggedByPart)
        for (const auto &[lemma, count] : part)
            tagged[lemma] += count;
    Morphology morphology;
    morphology.readExceptions(opt.wordnetDir);
    ExclusionList listed;
    if (!excludeFile.empty() && !listed.read(excludeFile)) {
        std::cerr << "mkclues: cannot read " << excludeFile << "\n";
        return 1;
    }

    auto lengthWanted = [&](const std::string &w) {
        int len = static_cast<int>(w.size());
        return len >= opt.minLength && len <= opt.maxLength;
    };

    // The answers: every WordNet lemma, and the dictionary words, whose inflected forms
    // WordNet lists only under their base word.
    std::map<std::string, int> dict;
    if (!opt.scowlDir.empty())
        dict = readDictionaryWords(opt);
    std::set<std::string> answers;
    for (const auto &lexicon : lexicons)
        for (const auto &entry : lexicon)
            if (lengthWanted(entry.first))
                answers.insert(entry.first);
    for (const auto &word : dict)
        if (lengthWanted(word.first))
            answers.insert(word.first);

    // Adjectives and adverbs that are nothing else, for cutting long glosses.
    const WordKindOf kindOf = [&lexicons](const std::string &word) {
        if (lexicons[Noun].count(word))
            return WordKind::Other;
        if (lexicons[Adj].count(word))
            return WordKind::Adjective;
        return lexicons[Adv].count(word) && !lexicons[Verb].count(word) ? WordKind::Adverb : WordKind::Other;
    };

    // The readings of a dictionary word as an inflected form.
    auto formsOf = [&](const std::string &answer, bool isLemma) {
        std::vector<std::pair<Part, Form>> forms;
        if (dict.count(answer))
            for (std::size_t p = 0; p < kParts.size(); ++p)
                for (const Form &form :
                     morphology.analyse(answer, static_cast<Part>(p), lexicons[p], isLemma))
                    forms.push_back({static_cast<Part>(p), form});
        return forms;
    };
    auto isLemma = [&](const std::string &w) {
        return std::any_of(lexicons.begin(), lexicons.end(),
                           [&](const Lexicon &l) { return l.count(w) != 0; });
    };

    // Words left out for a general audience: those whose senses are offensive at least as often
    // as not, the listed ones, and the inflected forms of either that are no lemma of their own.
    std::set<std::string> excluded;
    if (curated) {
        // Proper senses aside, most senses offensive, or half of them with the commonest sense
        // (first of the part with the most tagged senses, when WordNet has counts) offensive.
        auto offensiveWord = [&](const std::string &w) {
            int offensive = 0, total = 0, mostTagged = 0;
            const Sense *commonest = nullptr;
            for (std::size_t p = 0; p < kParts.size(); ++p) {
                auto it = lexicons[p].find(w);
                if (it == lexicons[p].end())
                    continue;
                for (const auto &s : it->second) {
                    if (s.proper)
                        continue;
                    ++total;
                    offensive += s.synset && s.synset->offensive;
                }
                auto t = taggedByPart[p].find(w);
                const int count = t == taggedByPart[p].end() ? 0 : t->second;
                if (count > mostTagged && !it->second.empty() && !it->second.front().proper) {
                    mostTagged = count;
                    commonest = &it->second.front();
                }
            }
            if (offensive == 0)
                return false;
            if (2 * offensive > total)
                return true;
            return 2 * offensive == total && commonest && commonest->synset && commonest->synset->offensive;
        };
        for (const auto &w : answers)
            if (listed.has(w) || offensiveWord(w))
                excluded.insert(w);
        // Besides WordNet's readings, plain suffixes catch forms of words it knows in one part of
        // speech only ("arsed").
        auto endingOnExcluded = [&](const std::string &w) {
            bool offensiveBase = false;
            for (std::string_view suffix :
                 {"s", "es", "d", "ed", "ing", "er", "ers", "est", "y", "ier", "iest"}) {
                if (w.size() < suffix.size() + 3 ||
                    w.compare(w.size() - suffix.size(), suffix.size(), suffix) != 0)
                    continue;
                const std::string stem = w.substr(0, w.size() - suffix.size());
                std::vector<std::string> bases{stem, stem + "e"};
                if (stem.size() > 3 && stem[stem.size() - 1] == stem[stem.size() - 2])
                    bases.push_back(stem.substr(0, stem.size() - 1));
                for (const auto &base : bases) {
                    if (excluded.count(base))
                        offensiveBase = true;
                    else if (isLemma(base))
                        return false; // "spiced" is a form of spice
                }
            }
            return offensiveBase;
        };
        for (const auto &[w, level] : dict) {
            if (excluded.count(w) || isLemma(w))
                continue;
            bool off = endingOnExcluded(w);
            for (const auto &[part, form] : formsOf(w, false))
                off = off || excluded.count(form.base) != 0;
            if (off)
                excluded.insert(w);
        }
    }

    // std::map orders the answers byte by byte, which is the order the reader expects.
    std::map<std::string, std::vector<std::string>> clues;
    for (const auto &answer : answers) {
        if (excluded.count(answer))
            continue;
        std::vector<Candidate> candidates;
        std::vector<SenseOffer> offers;
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
                    if (!s.proper || !hasCommonSense) {
                        candidates.push_back({&s.gloss, Tag::None});
                        offers.push_back({&s, Tag::None});
                    }
        // Then its readings as an inflected form; proper senses have no plural or the like.
        const bool lemma = std::any_of(std::begin(own), std::end(own), [](auto *s) { return s != nullptr; });
        for (const auto &[part, form] : formsOf(answer, lemma)) {
            giveaways.push_back(form.base);
            if (excluded.count(form.base))
                continue;
            for (const auto &s : lexicons[part].at(form.base))
                if (!s.proper) {
                    candidates.push_back({&s.gloss, form.tag});
                    offers.push_back({&s, form.tag});
                }
        }
        auto chosen = curated ? chooseCrosswordClues(answer, giveaways, offers, synsets, excluded,
                                                     opt.maxCandidates, kindOf)
                              : chooseClues(giveaways, candidates, opt.maxCandidates, kindOf);
        if (!chosen.empty())
            clues.emplace(answer, std::move(chosen));
    }
    // A word WordNet gives no sense of its own (from, the, onto ...) is clued by the blank it
    // fills in WordNet's example sentences, the shortest first; the examples of offensive or
    // dated senses, and those holding an excluded word, are not used.
    if (curated) {
        std::map<std::string, std::set<std::string>> blanks; // answer -> clues, shortest first by length
        for (const auto &answer : answers)
            if (!clues.count(answer) && !excluded.count(answer) && answer.size() > 1)
                blanks[answer];
        for (const auto &part : synsets)
            for (const auto &[offset, syn] : part) {
                if (syn.offensive || syn.dated)
                    continue;
                for (const auto &example : examplesOf(syn.rawGloss)) {
                    const std::vector<std::string> words = wordsOf(example);
                    if (std::any_of(words.begin(), words.end(),
                                    [&](const std::string &w) { return excluded.count(w) > 0; }))
                        continue;
                    for (const auto &w : std::set<std::string>(words.begin(), words.end())) {
                        auto it = blanks.find(w);
                        if (it == blanks.end())
                            continue;
                        if (std::string clue = blankClue(example, w); !clue.empty())
                            it->second.insert(std::move(clue));
                    }
                }
            }
        for (auto &[answer, found] : blanks) {
            std::vector<std::string> list(found.begin(), found.end());
            std::stable_sort(list.begin(), list.end(),
                             [](const std::string &a, const std::string &b) { return a.size() < b.size(); });
            if (list.size() > opt.maxCandidates)
                list.resize(opt.maxCandidates);
            if (!list.empty())
                clues.emplace(answer, std::move(list));
        }
    }

    std::error_code ec;
    fs::create_directories(opt.outDir, ec);
    std::vector<long> answersPerLength(static_cast<std::size_t>(opt.maxLength) + 1, 0);
    for (int len = opt.minLength; len <= opt.maxLength; ++len) {
        char name[16];
        std::snprintf(name, sizeof name, "Clues.%02d", len);
        const std::string path = (fs::path(opt.outDir) / name).string();
        std::vector<std::string> lines;
        for (const auto &[answer, list] : clues) {
            if (static_cast<int>(answer.size()) != len)
                continue;
            std::string line = answer;
            for (const auto &clue : list)
                line += '|' + clue;
            lines.push_back(std::move(line));
            ++answersPerLength[static_cast<std::size_t>(len)];
        }
        if (const std::string reason = writeLines(path, lines); !reason.empty()) {
            std::cerr << "mkclues: cannot write " << path << ": " << reason << "\n";
            return 1;
        }
    }

    auto percent = [](long part, long whole) {
        return whole ? 100.0 * static_cast<double>(part) / static_cast<double>(whole) : 0.0;
    };
    if (!opt.scowlDir.empty() && !curated) {
        std::vector<long> total(static_cast<std::size_t>(opt.maxLength) + 1, 0);
        std::vector<long> covered(total.size(), 0);
        for (const auto &[w, level] : dict) {
            if (!lengthWanted(w))
                continue;
            ++total[w.size()];
            if (clues.count(w))
                ++covered[w.size()];
        }
        std::cout << "Clue coverage of the dictionary words (length: with a clue / words):\n";
        long sumCovered = 0, sumTotal = 0;
        for (int len = opt.minLength; len <= opt.maxLength; ++len) {
            auto i = static_cast<std::size_t>(len);
            sumCovered += covered[i];
            sumTotal += total[i];
            std::printf("  %2d: %6ld / %6ld  (%5.1f %%)\n", len, covered[i], total[i],
                        percent(covered[i], total[i]));
        }
        std::printf("  all: %6ld / %6ld\n", sumCovered, sumTotal);
        std::printf("Dictionary words with a clue: %.1f %%\n", percent(sumCovered, sumTotal));
    }
    if (!opt.scowlDir.empty() && curated) {
        // The fill words, none excluded: the common ones (up to the fill size) that have a clue,
        // or all of them with --unclued; from the larger sizes those with a clue that are at most
        // rareLength letters long, that WordNet's sense counts show in use (--rescue), or that
        // inflect a common word (--inflections). Commonest first.
        auto familiar = [&](const std::string &w) {
            if (rescue <= 0)
                return false;
            auto count = [&](const std::string &x) {
                auto it = tagged.find(x);
                return it == tagged.end() ? 0 : it->second;
            };
            if (count(w) >= rescue)
                return true;
            for (const auto &[part, form] : formsOf(w, isLemma(w)))
                if (count(form.base) >= rescue)
                    return true;
            return false;
        };
        // A rarer form of a common word (SCOWL lists some plurals and past forms at larger sizes).
        auto inflectionUpTo = [&](const std::string &w, int size) {
            for (const auto &[part, form] : formsOf(w, isLemma(w))) {
                auto it = dict.find(form.base);
                if (it != dict.end() && it->second <= size)
                    return true;
            }
            return false;
        };
        auto inflectionOfCommon = [&](const std::string &w) { return inflectionUpTo(w, fillSize); };
        std::vector<std::pair<int, std::string>> fill;
        // Words without a clue stay in the fill up to this size (the fill's own by default).
        if (uncluedSize < 0)
            uncluedSize = fillSize;
        long leftUnclued = 0, uncluedInFill = 0, rescued = 0, dictExcluded = 0;
        for (const auto &[w, level] : dict) {
            if (!lengthWanted(w) && w.size() != 1)
                continue;
            if (excluded.count(w)) {
                ++dictExcluded;
                continue;
            }
            const bool clued = clues.count(w) != 0;
            if (level > fillSize && !familiar(w) && !(inflections && inflectionOfCommon(w)) &&
                !(clued && static_cast<int>(w.size()) <= rareLength))
                continue;
            if (!clued && w.size() > 1 && (!uncluedCommon || level > uncluedSize)) {
                ++leftUnclued;
                continue;
            }
            rescued += level > fillSize;
            uncluedInFill += !clued && w.size() > 1;
            fill.push_back({level, w});
        }
        std::stable_sort(fill.begin(), fill.end(),
                         [](const auto &a, const auto &b) { return a.first < b.first; });
        std::vector<long> perLength(18, 0);
        std::vector<double> firstLengths, allLengths;
        std::vector<std::string> lines, common;
        for (const auto &[level, w] : fill) {
            lines.push_back(w);
            // The words Make Puzzle fills with first: clued, and known to a general reader.
            if (w.size() == 1 || (clues.count(w) && (level <= commonSize || inflectionUpTo(w, commonSize))))
                common.push_back(w);
            if (w.size() < perLength.size())
                ++perLength[w.size()];
            if (!clues.count(w))
                continue;
            const auto &list = clues.at(w);
            firstLengths.push_back(static_cast<double>(list.front().size()));
            for (const auto &c : list)
                allLengths.push_back(static_cast<double>(c.size()));
        }
        for (const auto &[file, content] :
             {std::pair{excludedOut, std::vector<std::string>(excluded.begin(), excluded.end())},
              std::pair{fillOut, lines}, std::pair{commonOut, common}}) {
            if (file.empty())
                continue;
            if (const std::string reason = writeLines(file, content); !reason.empty()) {
                std::cerr << "mkclues: cannot write " << file << ": " << reason << "\n";
                return 1;
            }
        }
        std::printf("Fill dictionary: SCOWL size %d and below", fillSize);
        if (rescue > 0)
            std::printf(", larger sizes up to %d when WordNet counts %d tagged senses", opt.scowlSize,
                        rescue);
        std::printf("\n  words per length:");
        for (int len = 2; len <= 17; ++len)
            std::printf(" %d:%ld", len, perLength[static_cast<std::size_t>(len)]);
        const long fillWords = static_cast<long>(fill.size());
        std::printf("\n  %ld words, %ld of them from the larger sizes; %ld left out for want of a clue\n",
                    fillWords, rescued, leftUnclued);
        std::printf("  excluded words: %zu (%ld of them in the word lists)", excluded.size(), dictExcluded);
        int shown = 0;
        for (const auto &w : excluded)
            if (dict.count(w) && dict.at(w) <= 50 && shown++ < 12)
                std::printf(" %s", w.c_str());
        std::printf(
            "\n  fill words with a clue: %.1f %%; median clue length %.0f, first clue %.0f characters\n",
            percent(fillWords - uncluedInFill, fillWords), median(allLengths), median(firstLengths));
        std::printf("  common words (clued, SCOWL size %d and below or an inflection of one): %zu\n",
                    commonSize, common.size());
    }
    long written = 0;
    for (long n : answersPerLength)
        written += n;
    std::cout << "mkclues: wrote clues for " << written << " answers to " << opt.outDir << "\n";
    return 0;
}
