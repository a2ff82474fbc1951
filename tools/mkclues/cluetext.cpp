#include "cluetext.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <initializer_list>
#include <sstream>
#include <string_view>
#include <vector>

namespace mkclues {

namespace {

bool isWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Strips spaces and the punctuation a cut or a removed remark leaves at either end.
std::string stripEnds(const std::string &s)
{
    const std::string_view junk = " \t\r\n,;:-/";
    std::size_t b = s.find_first_not_of(junk);
    if (b == std::string::npos)
        return {};
    std::size_t e = s.find_last_not_of(junk);
    return s.substr(b, e - b + 1);
}

// Where the definition ends: at the first ";" outside parentheses, or where a quoted
// example follows a colon. An unclosed parenthesis falls back to the first ";".
std::size_t definitionEnd(const std::string &raw)
{
    int depth = 0;
    std::size_t lastNonSpace = std::string::npos;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '(')
            ++depth;
        else if (c == ')' && depth > 0)
            --depth;
        else if (depth == 0 && c == ';')
            return i;
        else if (depth == 0 && c == '"' && lastNonSpace != std::string::npos && raw[lastNonSpace] == ':')
            return i;
        if (!isSpace(c))
            lastNonSpace = i;
    }
    return depth == 0 ? raw.size() : std::min(raw.find(';'), raw.size());
}

std::string withoutRemarks(const std::string &text)
{
    std::string out;
    int depth = 0;
    for (char c : text) {
        if (c == '(')
            ++depth;
        else if (c == ')')
            depth = std::max(0, depth - 1);
        else if (depth == 0)
            out += c;
    }
    return out;
}

// WordNet quotes as `word'; the closing mark is the first "'" not followed by a letter,
// so that `don't' keeps its apostrophe.
std::string plainQuotes(std::string text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '`')
            continue;
        std::size_t close = std::string::npos;
        for (std::size_t j = i + 1; j < text.size() && text[j] != '`'; ++j)
            if (text[j] == '\'' && (j + 1 == text.size() || !isWordChar(text[j + 1]))) {
                close = j;
                break;
            }
        if (close == std::string::npos) {
            text.erase(i, 1);
            --i;
            continue;
        }
        text[i] = '"';
        text[close] = '"';
        i = close;
    }
    return text;
}

std::string collapseSpaces(const std::string &text)
{
    std::string out;
    for (char c : text) {
        if (isSpace(c)) {
            if (!out.empty() && out.back() != ' ')
                out += ' ';
            continue;
        }
        if ((c == ',' || c == ';' || c == ':' || c == '.') && !out.empty() && out.back() == ' ')
            out.pop_back();
        if (std::isalpha(static_cast<unsigned char>(c)) && !out.empty() && out.back() == ',')
            out += ' '; // "spin,wind"
        out += c;
    }
    return out;
}

bool among(std::string_view word, std::initializer_list<std::string_view> list)
{
    return std::find(list.begin(), list.end(), word) != list.end();
}

// A cut must leave a phrase that stands on its own: two words at least besides an article,
// not ending on a word that needs a follower, and no quote left open.
bool soundPhrase(const std::string &phrase)
{
    std::vector<std::string> words;
    std::istringstream in(lowerAscii(phrase));
    for (std::string w; in >> w;)
        words.push_back(w);
    const std::size_t articles = !words.empty() && among(words.front(), {"a", "an", "the"}) ? 1 : 0;
    if (words.size() < articles + 2)
        return false;
    if (among(words.back(),
              {"a",          "an",         "the",       "of",        "to",         "in",
               "on",         "at",         "by",        "for",       "from",       "with",
               "into",       "onto",       "through",   "about",     "over",       "under",
               "between",    "within",     "without",   "upon",      "against",    "like",
               "than",       "across",     "along",     "around",    "behind",     "below",
               "beyond",     "during",     "toward",    "towards",   "until",      "and",
               "or",         "but",        "its",       "his",       "her",        "their",
               "one's",      "is",         "are",       "be",        "been",       "being",
               "has",        "have",       "had",       "was",       "were",       "can",
               "could",      "may",        "might",     "will",      "would",      "should",
               "must",       "do",         "does",      "so",        "that",       "which",
               "who",        "whose",      "whom",      "where",     "when",       "whereby",
               "especially", "usually",    "typically", "often",     "mostly",     "sometimes",
               "chiefly",    "mainly",     "widely",    "commonly",  "generally",  "formerly",
               "very",       "more",       "most",      "less",      "least",      "not",
               "also",       "as",         "such",      "used",      "associated", "characterized",
               "caused",     "made",       "found",     "known",     "called",     "based",
               "relating",   "pertaining", "belonging", "referring", "if",         "whether",
               "because",    "although",   "though",    "unless",    "thought",    "designed",
               "intended",   "able",       "unable",    "likely",    "tending"}))
        return false;
    // Nouns that mean little without what follows ("by means | of", "as a result | of").
    if (among(words.back(), {"means",  "result", "effect", "part",  "parts", "set",    "one",
                             "ones",   "type",   "types",  "kind",  "kinds", "sort",   "sorts",
                             "number", "piece",  "tip",    "order", "lack",  "amount", "variety"}))
        return false;
    return std::count(phrase.begin(), phrase.end(), '"') % 2 == 0;
}

} // namespace

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

std::string cleanGloss(const std::string &raw)
{
    const std::size_t end = definitionEnd(raw);
    std::string text = plainQuotes(withoutRemarks(raw.substr(0, end)));
    std::replace(text.begin(), text.end(), '|', '/'); // "|" separates the candidates
    text = stripEnds(collapseSpaces(text));
    // "of persons; feeling cold": a leading qualifier names what the definition after it
    // applies to; alone it defines nothing.
    if (text.size() > 3 && text.compare(0, 3, "of ") == 0 && text.find(' ', 3) == std::string::npos) {
        const std::string rest = trim(raw.substr(std::min(end + 1, raw.size())));
        return end < raw.size() && raw[end] == ';' && !rest.empty() && rest[0] != '"' ? cleanGloss(rest)
                                                                                      : std::string();
    }
    return text;
}

// True when the words from k on continue a list after a comma: one or two words, then another
// comma or "or"/"and" ("economic, or educational", "red and blue").
template <typename Words> static bool continuesList(const Words &words, std::size_t k)
{
    if (among(words[k].text, {"or", "and"}))
        return true;
    for (std::size_t j = k; j < words.size() && j < k + 2; ++j) {
        if (words[j].text.back() == ',')
            return true;
        if (j + 1 < words.size() && among(words[j + 1].text, {"or", "and"}))
            return true;
    }
    return false;
}

std::string cutGloss(const std::string &gloss, std::size_t maxLength, const WordKindOf &kindOf, bool commas)
{
    if (gloss.size() <= maxLength)
        return gloss;
    static const std::initializer_list<std::string_view> kRelatives = {"that", "which", "who",  "whose",
                                                                       "whom", "where", "when", "whereby"};
    // A break ends the head of a definition: punctuation, a relative clause, a participle or
    // adverb that starts the details. A cut before a preposition, "and" or "or" too often leaves
    // half a thought ("a membrane in the eye between the retina", "the act of giving students"), and
    // inside a relative clause only punctuation cuts ("the branch of engineering that deals").
    auto isBreak = [](std::string_view before, std::string_view next) {
        return before.back() == ',' || before.back() == ';' || before.back() == ':' || next == "--" ||
               among(next, kRelatives) || among(next, {"but",        "so",         "if",
                                                       "whether",    "because",    "although",
                                                       "though",     "unless",     "while",
                                                       "especially", "usually",    "typically",
                                                       "often",      "mostly",     "sometimes",
                                                       "chiefly",    "mainly",     "widely",
                                                       "formerly",   "such",       "as",
                                                       "with",       "without",    "having",
                                                       "used",       "caused",     "characterized",
                                                       "consisting", "containing", "made",
                                                       "found",      "native",     "grown",
                                                       "cultivated", "yielding",   "bearing",
                                                       "producing",  "growing",    "marked",
                                                       "resembling", "including",  "noted",
                                                       "known"});
    };
    struct Word {
        std::size_t start;
        std::string_view text;
    };
    std::vector<Word> words;
    for (std::size_t i = 0; i < gloss.size();) {
        std::size_t end = std::min(gloss.find(' ', i), gloss.size());
        words.push_back({i, std::string_view(gloss).substr(i, end - i)});
        i = end + 1;
    }
    std::size_t firstRelative = words.size();
    for (std::size_t k = 0; k < words.size() && firstRelative == words.size(); ++k)
        if (among(words[k].text, kRelatives))
            firstRelative = k;

    // The latest break that fits gives the fullest phrase.
    for (std::size_t k = words.size() - 1; k > 0; --k) {
        const std::size_t end = words[k].start - 1; // the space before word k
        if (end > maxLength)
            continue;
        const std::string_view before = std::string_view(gloss).substr(0, end);
        const bool punctuation = before.back() == ',' || before.back() == ';' || before.back() == ':';
        if (punctuation && !commas)
            continue;
        // "or" parts two nouns too ("students or candidates"): it breaks only before a second
        // clause ("a low temperature or feeling a sensation of ...").
        const auto endsWith = [](std::string_view w, std::string_view end) {
            return w.size() > end.size() + 2 && w.substr(w.size() - end.size()) == end;
        };
        const bool clauseOr = words[k].text == "or" && k + 1 < words.size() &&
                              (endsWith(words[k + 1].text, "ing") || endsWith(words[k + 1].text, "ed"));
        if (!(isBreak(before, words[k].text) || clauseOr) || (k > firstRelative && !punctuation))
            continue;
        // The comma of a list ("the same social, economic, or educational status") parts
        // the words it lists.
        if (before.back() == ',' && continuesList(words, k))
            continue;
        std::string phrase = stripEnds(gloss.substr(0, end));
        if (!soundPhrase(phrase))
            continue;
        if (kindOf) {
            const WordKind last = kindOf(lowerAscii(phrase.substr(phrase.rfind(' ') + 1)));
            const bool joined = words[k].text == "or" || words[k].text == "and";
            if (last == WordKind::Adverb || (last == WordKind::Adjective && joined))
                continue;
        }
        return phrase;
    }
    return {};
}

bool givesAway(const std::string &text, const std::string &word)
{
    if (word.empty())
        return false;
    const std::string lower = lowerAscii(text);
    for (std::size_t at = lower.find(word); at != std::string::npos; at = lower.find(word, at + 1)) {
        if (at > 0 && isWordChar(lower[at - 1]))
            continue;
        const std::size_t end = at + word.size();
        if (word.size() < 3 && end < lower.size() && isWordChar(lower[end]))
            continue;
        return true;
    }
    return false;
}

std::vector<std::string> wordsOf(const std::string &text)
{
    std::vector<std::string> words;
    std::string cur;
    for (char c : text + " ") {
        if (std::isalpha(static_cast<unsigned char>(c))) {
            cur += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        } else if (!cur.empty()) {
            words.push_back(cur);
            cur.clear();
        }
    }
    return words;
}

bool sharesStem(const std::string &text, const std::string &answer)
{
    if (answer.empty())
        return false;
    const std::string stem = lowerAscii(answer.substr(0, std::min<std::size_t>(answer.size(), 5)));
    for (const auto &w : wordsOf(text)) {
        if (stem.size() < 3 ? w == stem : w.compare(0, stem.size(), stem) == 0)
            return true;
    }
    return false;
}

namespace {

// The gloss without its quoted examples, lower-cased.
std::string definitionText(const std::string &raw)
{
    std::string out;
    bool quoted = false;
    for (char c : raw) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted)
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

bool containsAny(const std::string &text, std::initializer_list<std::string_view> parts)
{
    return std::any_of(parts.begin(), parts.end(),
                       [&](std::string_view p) { return text.find(p) != std::string::npos; });
}

} // namespace

bool offensiveGloss(const std::string &raw)
{
    // "Vulgar" and "obscene" also describe things ("tawdry or vulgar", "profane or obscene
    // expression"); only as a label of the word itself do they count.
    return containsAny(definitionText(raw),
                       {"obscene term", "obscene word", "obscene name", "obscene slang", "vulgar term",
                        "vulgar word", "vulgar name", "vulgar slang", "(vulgar", "(obscene", "offensive term",
                        "offensive name", "offensive word", "offensive slang", "ethnic slur", "derogatory",
                        "disparaging term", "disparaging name", "disparaging word"});
}

bool datedGloss(const std::string &raw)
{
    const std::string text = definitionText(raw);
    if (text.compare(0, 7, "archaic") == 0 || text.compare(0, 8, "obsolete") == 0)
        return true;
    return containsAny(text, {"(archaic", "(obsolete", "archaic term", "archaic word", "archaic name",
                              "archaic spelling", "obsolete term", "obsolete word", "obsolete name",
                              "obsolete spelling"});
}

std::string capitalised(std::string text)
{
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

std::vector<std::string> examplesOf(const std::string &raw)
{
    std::vector<std::string> out;
    std::size_t at = raw.find('"');
    while (at != std::string::npos) {
        const std::size_t end = raw.find('"', at + 1);
        if (end == std::string::npos)
            break;
        std::string example = trim(raw.substr(at + 1, end - at - 1));
        if (!example.empty())
            out.push_back(std::move(example));
        at = raw.find('"', end + 1);
    }
    return out;
}

std::string blankClue(const std::string &example, const std::string &answer, std::size_t maxLength)
{
    // The example's words as written, each with its trailing punctuation.
    std::vector<std::string> tokens;
    std::istringstream in(example);
    for (std::string t; in >> t;)
        tokens.push_back(t);
    const std::string want = lowerAscii(answer);
    auto bare = [](const std::string &t) {
        std::size_t b = 0, e = t.size();
        while (b < e && !std::isalpha(static_cast<unsigned char>(t[b])))
            ++b;
        while (e > b && !std::isalpha(static_cast<unsigned char>(t[e - 1])))
            --e;
        return std::pair<std::size_t, std::size_t>{b, e};
    };
    int blank = -1;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const auto [b, e] = bare(tokens[i]);
        const std::string word = lowerAscii(tokens[i].substr(b, e - b));
        // "don't" or "well-known" are not the answer standing alone.
        if (word.find_first_not_of("abcdefghijklmnopqrstuvwxyz") != std::string::npos)
            continue;
        if (word == want) {
            if (blank >= 0)
                return {};
            blank = static_cast<int>(i);
        }
    }
    if (blank <= 0)
        return {};
    {
        const auto [b, e] = bare(tokens[static_cast<std::size_t>(blank)]);
        tokens[static_cast<std::size_t>(blank)].replace(b, e - b, "___");
    }
    // Words around the blank, as many as fit, nearer ones first and the last word's trailing
    // punctuation dropped.
    auto join = [&tokens](int first, int last) {
        std::string out;
        for (int i = first; i <= last; ++i)
            out += (out.empty() ? "" : " ") + tokens[static_cast<std::size_t>(i)];
        while (!out.empty() && std::strchr(".,;:!?", out.back()))
            out.pop_back();
        return out;
    };
    int first = blank - 1, last = blank;
    const int count = static_cast<int>(tokens.size());
    for (bool grew = true; grew;) {
        grew = false;
        if (last + 1 < count && join(first, last + 1).size() <= maxLength) {
            ++last;
            grew = true;
        }
        if (first > 0 && join(first - 1, last).size() <= maxLength) {
            --first;
            grew = true;
        }
    }
    std::string clue = join(first, last);
    // Two words and a blank is the least that points to one answer.
    if (clue.size() > maxLength || last - first < 2)
        return {};
    std::string rest = clue;
    rest.replace(rest.find("___"), 3, " ");
    if (sharesStem(rest, answer))
        return {};
    return capitalised(clue);
}

} // namespace mkclues
