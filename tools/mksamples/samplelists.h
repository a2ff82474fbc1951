// The sample word lists: themed answers drawn from WordNet's hyponym trees, ranked by how
// common they are (WordNet's sense counts and SCOWL's size levels), each with a short clue cut
// from its gloss. Standard library only; the tool writes the lists through the document code.
#pragma once

#include "cluetext.h"

#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace mksamples {

/** One theme: the hyponym trees of its roots, less the trees of its exclusions. Synsets are
 *  named "lemma.n.NN" (the lemma's NN-th noun sense in WordNet's order). */
struct Theme {
    const char *name; // file name part: "Birds" gives Birds.ff.thm and Birds.sym.thm
    std::vector<const char *> roots;
    std::vector<const char *> excluded;
};

/** The themes the samples ship with. */
const std::vector<Theme> &Themes();

/** What makes a list of one kind. */
struct ListShape {
    int minLetters;
    int maxLetters;
    int count; // answers wanted
};
/** Freeform lists: 4 to 12 letters. Symmetrical: up to 7 letters, which the stock patterns'
 *  slots take. */
ListShape FreeformShape();
ListShape SymmetricalShape();

struct Entry {
    std::string answer; // as written to the list: a common noun in lower case, a name capitalised
    std::string clue;
};

class WordNet
{
public:
    /** Reads index.noun, the four data files and cntlist.rev of the folder; false with error set. */
    bool Load(const std::string &folder, std::string *error);

    /** How WordNet uses the word: only as an adjective, only as an adverb, or otherwise. */
    mkclues::WordKind KindOf(const std::string &lowerWord) const;
    /** Offsets of the lemma's noun senses, in WordNet's order. */
    std::vector<long> Senses(const std::string &lemma) const;
    /** The synset "lemma.n.NN", -1 when there is none. */
    long Synset(const std::string &name) const;

    struct Word {
        std::string lemma; // as the synset spells it ("golden_eagle", "France")
        int tagCount = 0;  // times this sense was tagged in WordNet's concordance
    };
    struct Node {
        std::vector<Word> words;
        std::string gloss;           // raw gloss
        std::vector<long> hyponyms;  // "~" and "~i"
        std::vector<long> hypernyms; // "@" and "@i"
        bool instance = false;       // an instance ("@i"): France of European country
    };
    const Node *At(long offset) const;
    /** True when a sense of the word (lower case; noun, verb, adjective or adverb) is not for a
     *  general audience: glossed as offensive, filed under WordNet's usage domains of slang,
     *  obscenity, disparagement or ethnic slurs or its topic of drugs, or glossed with a word of
     *  sex, the body's private parts or drugs. The samples leave such words out altogether. */
    bool UnsuitableWord(const std::string &lowerWord) const;
    /** The same for the word or a base it may be inflected from ("ruts" from "rut", "begot"
     *  is not undone): the clue files give inflected forms their base's glosses. */
    bool UnsuitableForm(const std::string &lowerWord) const;

private:
    std::unordered_map<std::string, std::vector<long>> m_index;
    std::set<std::string> m_verbs, m_adjectives, m_adverbs;
    std::unordered_map<long, Node> m_nodes;
    std::set<std::string> m_unsuitable;
};

/** Words kept out for a general audience: the patterns of the clue files' exclusion list
 *  ("*part*", "part*", "*part" or a whole word), one a line, "#" comments. */
class Exclusions
{
public:
    bool Load(const std::string &file, std::string *error);
    bool Excludes(const std::string &lowerWord) const;

private:
    std::vector<std::string> m_whole, m_prefix, m_suffix, m_inner;
};

/** SCOWL size levels of the words of the lists (words, upper-case words and proper names). */
class Commonness
{
public:
    bool Load(const std::string &folder, const std::vector<std::string> &lists, int maxLevel,
              std::string *error);
    /** The lowest level that lists the word as spelled, 0 when none up to maxLevel does. */
    int Level(const std::string &word) const;

private:
    std::unordered_map<std::string, int> m_levels;
};

/** The list of one theme and shape: the commonest answers first (tag count, then SCOWL level,
 *  then nearness to the root, then the answer), each with a clue that does not give it away;
 *  fewer than shape.count when the trees hold fewer. */
std::vector<Entry> MakeList(const WordNet &wn, const Commonness &common, const Exclusions &excluded,
                            const Theme &theme, const ListShape &shape, std::string *error);

/** The answer's letters in upper case, as the engine takes them. */
std::string AnswerLetters(const std::string &answer);

} // namespace mksamples
