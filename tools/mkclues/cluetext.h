// Turning WordNet glosses into crossword clues: cleaning, cutting to length, and the
// test that a clue does not give its answer away.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace mkclues {

// The longest gloss wanted in a clue; the tag of an inflected form comes on top.
constexpr std::size_t kClueLength = 60;
// The longest whole gloss taken when an answer has no shorter clue at all.
constexpr std::size_t kLongClueLength = 100;

std::string lowerAscii(std::string s);
std::string trim(const std::string &s);

// The definition part of a raw gloss: up to its first ";" or a ':' that introduces an
// example, without parenthesised remarks, with `quoted' words in plain double quotes,
// spaces collapsed and no stray punctuation at either end. May come back empty.
std::string cleanGloss(const std::string &raw);

// How WordNet uses a word, as far as cutting a gloss needs to know: only as an adjective,
// only as an adverb, or otherwise.
enum class WordKind {
    Other,
    Adjective,
    Adverb
};
using WordKindOf = std::function<WordKind(const std::string &)>;

// A cleaned gloss cut to at most maxLength characters just before a natural break
// (a comma, " or ", " that " ...), or empty when no cut leaves a sound phrase. kindOf,
// when given, keeps a cut from ending on an adverb or from parting an adjective from the
// noun it qualifies ("with erect or spreading stems").
// Without commas, only a relative clause, a participle or an adverb of detail may start the
// part cut off: a comma too often parts a phrase ("a device consisting of a flat, thin ...").
std::string cutGloss(const std::string &gloss, std::size_t maxLength, const WordKindOf &kindOf = {},
                     bool commas = true);

// True when the text holds word (lower case) in any case as a whole word or as the start
// of a word; for words shorter than three letters only whole words count.
bool givesAway(const std::string &text, const std::string &word);

// True when a word of the text shares the answer's stem: begins with its first five letters,
// or with the whole answer when that is shorter; an answer of one or two letters counts only
// as a whole word.
bool sharesStem(const std::string &text, const std::string &answer);

// True when a raw WordNet gloss calls its sense obscene, vulgar, an offensive term or name, an
// ethnic slur, derogatory or a disparaging term (its quoted examples aside).
bool offensiveGloss(const std::string &raw);
// True when a raw gloss marks its sense archaic or obsolete ("(archaic) ...", "obsolete term for").
bool datedGloss(const std::string &raw);

// The text with its first letter upper-cased, as the clue is printed.
std::string capitalised(std::string text);

// The lower-case words (runs of letters) of a text.
std::vector<std::string> wordsOf(const std::string &text);

// The quoted examples of a raw WordNet gloss ("he came from the city"), in order.
std::vector<std::string> examplesOf(const std::string &raw);

// A fill-in-the-blank clue from an example sentence: the sentence (or as much of it around
// the answer as fits in maxLength) with the answer, standing in it once as a whole word,
// written as "___". Empty when the answer is not there once, when no word precedes it, or
// when another word shares its stem.
std::string blankClue(const std::string &example, const std::string &answer,
                      std::size_t maxLength = kClueLength);

} // namespace mkclues
