#include "samplelists.h"

#include "cluetext.h"

#include <algorithm>
#include <cctype>
#include <deque>
#include <fstream>
#include <optional>
#include <sstream>
#include <tuple>

namespace mksamples {

namespace {

bool readLines(const std::string &path, std::vector<std::string> &lines, std::string *error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = "cannot read " + path;
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return true;
}

bool isLetters(const std::string &s)
{
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isalpha(c) != 0; });
}

bool hasCapital(const std::string &s)
{
    return std::any_of(s.begin(), s.end(), [](unsigned char c) { return std::isupper(c) != 0; });
}

/** A gloss that labels its sense offensive, or that speaks of sex, the body's private parts or
 *  drugs: the samples are for a general audience, children included. */
bool UnsuitableGloss(const std::string &raw)
{
    static const std::set<std::string> topics = {
        "sex",        "sexual",      "sexually",    "genital",      "genitals",   "genitalia",
        "penis",      "vagina",      "vulva",       "reproductive", "testis",     "testicle",
        "breast",     "breasts",     "bosom",       "nipple",       "buttocks",   "anus",
        "brassiere",  "lingerie",    "prostitute",  "prostitution", "brothel",    "concubine",
        "concubines", "erotic",      "pornography", "masturbation", "copulation", "intercourse",
        "orgasm",     "narcotic",    "marijuana",   "cannabis",     "heroin",     "cocaine",
        "drunk",      "drunkenness", "feces",       "excrement",    "urine",      "urinate",
        "urination"};
    if (mkclues::offensiveGloss(raw))
        return true;
    for (const std::string &word : mkclues::wordsOf(raw))
        if (topics.count(word))
            return true;
    return false;
}

} // namespace

// ---- Themes ---------------------------------------------------------------------------------------

const std::vector<Theme> &Themes()
{
    // Everyday subjects. The exclusions cut away trees whose words are rare, grim or not for a
    // general audience.
    static const std::vector<Theme> themes = {
        {"Birds",
         {"bird.n.01"},
         {"titmouse.n.01", "booby.n.02", "cock.n.04", "gamecock.n.01", "archaeopteryx.n.01"}},
        {"Fruit", {"edible_fruit.n.01", "berry.n.01"}, {"eating_apple.n.01"}},
        {"Space",
         {"planet.n.01", "celestial_body.n.01"},
         {"morning_star.n.01", "evening_star.n.01", "black_hole.n.01"}},
        {"Music", {"musical_instrument.n.01"}, {"calliope.n.02", "bull_fiddle.n.01"}},
        {"Weather",
         {"atmospheric_phenomenon.n.01", "weather.n.01", "precipitation.n.03", "wind.n.01", "cloud.n.02"},
         {"miasma.n.02", "elves.n.01"}},
        {"Body",
         {"external_body_part.n.01", "sense_organ.n.01", "internal_organ.n.01", "bone.n.01"},
         {"breast.n.01", "breast.n.02", "labium.n.01", "genitalia.n.01", "buttocks.n.01", "lap.n.01",
          "hood.n.08", "frill.n.03", "arthromere.n.01"}},
        {"Countries", {"country.n.02"}, {}},
        {"Sports", {"sport.n.01"}, {"blood_sport.n.01", "hunting.n.01", "gymnastics.n.01"}},
        {"Dogs", {"dog.n.01"}, {}},
        {"Furniture", {"furniture.n.01"}, {"berth.n.03"}},
    };
    return themes;
}

ListShape FreeformShape() { return {4, 12, 20}; }
ListShape SymmetricalShape() { return {3, 7, 20}; }

// ---- WordNet ----------------------------------------------------------------------------------------

bool WordNet::Load(const std::string &folder, std::string *error)
{
    std::vector<std::string> lines;
    // index.noun: "lemma n synset_cnt p_cnt [ptr...] sense_cnt tagsense_cnt offset ..."
    if (!readLines(folder + "/index.noun", lines, error))
        return false;
    for (const std::string &line : lines) {
        if (line.empty() || line[0] == ' ')
            continue;
        std::istringstream in(line);
        std::string lemma, pos;
        int synsets = 0, pointers = 0;
        in >> lemma >> pos >> synsets >> pointers;
        std::string skip;
        for (int i = 0; i < pointers; ++i)
            in >> skip;
        in >> skip >> skip;
        std::vector<long> &senses = m_index[lemma];
        for (int i = 0; i < synsets; ++i) {
            long offset = 0;
            if (in >> offset)
                senses.push_back(offset);
        }
    }

    // The other parts' lemmas, for cutting glosses where a phrase ends.
    for (auto [part, names] : {std::pair{"verb", &m_verbs}, {"adj", &m_adjectives}, {"adv", &m_adverbs}}) {
        lines.clear();
        if (!readLines(folder + "/index." + part, lines, error))
            return false;
        for (const std::string &line : lines)
            if (!line.empty() && line[0] != ' ')
                names->insert(line.substr(0, line.find(' ')));
    }

    // cntlist.rev: "sense_key sense_number tag_count"; a noun's key is "lemma%1:lexfile:lexid::".
    std::unordered_map<std::string, int> counts;
    lines.clear();
    if (!readLines(folder + "/cntlist.rev", lines, error))
        return false;
    for (const std::string &line : lines) {
        std::istringstream in(line);
        std::string key;
        int number = 0, count = 0;
        if (in >> key >> number >> count && key.find("%1:") != std::string::npos)
            counts[key] = count;
    }

    // data.<part>: "offset lexfile type w_cnt (word lex_id)... p_cnt (symbol offset pos st)... | gloss".
    // Only the nouns make the trees; every part tells which words are unsuitable.
    struct Domains {
        std::vector<std::string> words;
        std::vector<long> targets; // ";u" usage and ";c" topic domains (nouns)
    };
    std::vector<Domains> filed;
    for (const char *part : {"noun", "verb", "adj", "adv"}) {
        const bool nouns = std::string(part) == "noun";
        lines.clear();
        if (!readLines(folder + "/data." + part, lines, error))
            return false;
        for (const std::string &line : lines) {
            if (line.empty() || line[0] == ' ')
                continue;
            const std::size_t bar = line.find(" | ");
            std::istringstream in(line.substr(0, bar));
            long offset = 0;
            std::string lexfile, type, countHex;
            in >> offset >> lexfile >> type >> countHex;
            Node node;
            Domains domains;
            const int wordCount = std::stoi(countHex, nullptr, 16);
            for (int i = 0; i < wordCount; ++i) {
                std::string word, lexId;
                in >> word >> lexId;
                // Adjectives carry a position marker: "galore(ip)".
                const std::size_t paren = word.find('(');
                if (paren != std::string::npos)
                    word.erase(paren);
                const std::string lower = mkclues::lowerAscii(word);
                domains.words.push_back(lower);
                const std::string key =
                    lower + "%1:" + lexfile + ":" + (lexId.size() < 2 ? "0" : "") + lexId + "::";
                const auto found = counts.find(key);
                node.words.push_back({word, found == counts.end() ? 0 : found->second});
            }
            int pointerCount = 0;
            in >> pointerCount;
            for (int i = 0; i < pointerCount; ++i) {
                std::string symbol, pos, sourceTarget;
                long target = 0;
                in >> symbol >> target >> pos >> sourceTarget;
                if ((symbol == ";u" || symbol == ";c") && pos == "n")
                    domains.targets.push_back(target);
                if (pos != "n")
                    continue;
                if (symbol == "~" || symbol == "~i")
                    node.hyponyms.push_back(target);
                else if (symbol == "@" || symbol == "@i")
                    node.hypernyms.push_back(target);
                if (symbol == "@i")
                    node.instance = true;
            }
            node.gloss = bar == std::string::npos ? std::string() : line.substr(bar + 3);
            if (UnsuitableGloss(node.gloss))
                m_unsuitable.insert(domains.words.begin(), domains.words.end());
            if (!domains.targets.empty())
                filed.push_back(std::move(domains));
            if (nouns)
                m_nodes.emplace(offset, std::move(node));
        }
    }
    if (m_nodes.empty()) {
        *error = "no synsets in " + folder + "/data.noun";
        return false;
    }
    std::set<long> unsuitableDomains;
    for (const char *domain : {"slang", "obscenity", "vulgarism", "disparagement", "ethnic_slur", "drug"})
        for (long offset : Senses(domain))
            unsuitableDomains.insert(offset);
    for (const Domains &d : filed)
        for (long target : d.targets)
            if (unsuitableDomains.count(target))
                m_unsuitable.insert(d.words.begin(), d.words.end());
    return true;
}

mkclues::WordKind WordNet::KindOf(const std::string &w) const
{
    const bool other = m_index.count(w) || m_verbs.count(w);
    if (!other && m_adjectives.count(w) && !m_adverbs.count(w))
        return mkclues::WordKind::Adjective;
    if (!other && m_adverbs.count(w) && !m_adjectives.count(w))
        return mkclues::WordKind::Adverb;
    return mkclues::WordKind::Other;
}

std::vector<long> WordNet::Senses(const std::string &lemma) const
{
    const auto it = m_index.find(lemma);
    return it == m_index.end() ? std::vector<long>() : it->second;
}

long WordNet::Synset(const std::string &name) const
{
    const std::size_t dot = name.find(".n.");
    if (dot == std::string::npos)
        return -1;
    const int sense = std::atoi(name.c_str() + dot + 3);
    const std::vector<long> senses = Senses(name.substr(0, dot));
    return sense >= 1 && sense <= int(senses.size()) ? senses[size_t(sense - 1)] : -1;
}

const WordNet::Node *WordNet::At(long offset) const
{
    const auto it = m_nodes.find(offset);
    return it == m_nodes.end() ? nullptr : &it->second;
}

bool WordNet::UnsuitableWord(const std::string &lowerLemma) const
{
    return m_unsuitable.count(lowerLemma) > 0;
}

bool WordNet::UnsuitableForm(const std::string &w) const
{
    if (UnsuitableWord(w))
        return true;
    // Every base the regular endings allow; a wrong guess only leaves a word out.
    static const std::pair<const char *, const char *> endings[] = {
        {"s", ""},    {"es", ""}, {"ies", "y"}, {"ed", ""},  {"ed", "e"},  {"ied", "y"}, {"ing", ""},
        {"ing", "e"}, {"er", ""}, {"er", "e"},  {"est", ""}, {"est", "e"}, {"ier", "y"}, {"iest", "y"}};
    for (const auto &[ending, replacement] : endings) {
        const std::string e = ending;
        if (w.size() > e.size() + 1 && w.compare(w.size() - e.size(), e.size(), e) == 0) {
            const std::string stem = w.substr(0, w.size() - e.size());
            if (UnsuitableWord(stem + replacement))
                return true;
            // A doubled last consonant: "rutted" from "rut".
            if (stem.size() > 2 && stem.back() == stem[stem.size() - 2] &&
                UnsuitableWord(stem.substr(0, stem.size() - 1)))
                return true;
        }
    }
    return false;
}

// ---- Exclusions and commonness ----------------------------------------------------------------------

bool Exclusions::Load(const std::string &file, std::string *error)
{
    std::vector<std::string> lines;
    if (!readLines(file, lines, error))
        return false;
    for (std::string line : lines) {
        line = mkclues::lowerAscii(mkclues::trim(line));
        if (line.empty() || line[0] == '#')
            continue;
        const bool front = line.front() == '*', back = line.size() > 1 && line.back() == '*';
        const std::string core = line.substr(front ? 1 : 0, line.size() - (front ? 1 : 0) - (back ? 1 : 0));
        if (front && back)
            m_inner.push_back(core);
        else if (front)
            m_suffix.push_back(core);
        else if (back)
            m_prefix.push_back(core);
        else
            m_whole.push_back(core);
    }
    return true;
}

bool Exclusions::Excludes(const std::string &lowerWord) const
{
    for (const std::string &w : m_whole)
        if (lowerWord == w || lowerWord == w + "s")
            return true;
    for (const std::string &p : m_prefix)
        if (lowerWord.compare(0, p.size(), p) == 0)
            return true;
    for (const std::string &s : m_suffix)
        if (lowerWord.size() >= s.size() && lowerWord.compare(lowerWord.size() - s.size(), s.size(), s) == 0)
            return true;
    for (const std::string &i : m_inner)
        if (lowerWord.find(i) != std::string::npos)
            return true;
    return false;
}

bool Commonness::Load(const std::string &folder, const std::vector<std::string> &lists, int maxLevel,
                      std::string *error)
{
    static const int kLevels[] = {10, 20, 35, 40, 50, 55, 60, 70, 80, 95};
    for (const std::string &list : lists)
        for (const char *kind : {"words", "upper", "proper-names"})
            for (int level : kLevels) {
                if (level > maxLevel)
                    break;
                std::ifstream in(folder + "/" + list + "-" + kind + "." + std::to_string(level),
                                 std::ios::binary);
                std::string word;
                while (std::getline(in, word)) {
                    if (!word.empty() && word.back() == '\r')
                        word.pop_back();
                    if (!isLetters(word))
                        continue;
                    auto [it, added] = m_levels.emplace(word, level);
                    if (!added)
                        it->second = std::min(it->second, level);
                }
            }
    if (m_levels.empty()) {
        *error = "no SCOWL word lists in " + folder;
        return false;
    }
    return true;
}

int Commonness::Level(const std::string &word) const
{
    const auto it = m_levels.find(word);
    return it == m_levels.end() ? 0 : it->second;
}

// ---- Lists ----------------------------------------------------------------------------------------

std::string AnswerLetters(const std::string &answer)
{
    std::string letters;
    for (unsigned char c : answer)
        if (std::isalpha(c))
            letters += char(std::toupper(c));
    return letters;
}

namespace {

// A theme's synset must be the answer's first sense: "jack" is a fruit too, but nobody would
// guess it.
constexpr long kMaxSenseRank = 1;

struct Candidate {
    Entry entry;
    int tagCount = 0;
    int level = 0;
    int depth = 0;
};

std::tuple<int, int, int, std::string> Rank(const Candidate &c)
{
    return {-c.tagCount, c.level, c.depth, AnswerLetters(c.entry.answer)};
}

/** The answer for a lemma: one word as spelled (a common noun in lower case, a name with its
 *  capital), common in SCOWL and of the shape's length; empty otherwise. Lemmas of more than one
 *  word ("sugar_apple") are left out: they were mostly rare, with poor clues. */
std::string AnswerOf(const std::string &lemma, const Commonness &common, const ListShape &shape, int *level)
{
    if (!isLetters(lemma))
        return {};
    *level = common.Level(lemma);
    if (*level == 0 && hasCapital(lemma))
        *level = common.Level(mkclues::lowerAscii(lemma));
    if (*level == 0)
        return {};
    const int letters = int(lemma.size());
    if (letters < shape.minLetters || letters > shape.maxLetters)
        return {};
    return lemma;
}

bool clueIsSound(const std::string &clue, const std::string &lemma, const Exclusions &excluded)
{
    if (clue.size() < 3)
        return false;
    const std::string word = mkclues::lowerAscii(lemma);
    if (mkclues::givesAway(clue, word) || mkclues::sharesStem(clue, word))
        return false;
    for (const std::string &word : mkclues::wordsOf(clue))
        if (excluded.Excludes(word))
            return false;
    return true;
}

std::string spacedLemma(const WordNet::Node &node)
{
    std::string name = node.words.empty() ? std::string() : node.words.front().lemma;
    std::replace(name.begin(), name.end(), '_', ' ');
    return name;
}

bool isVowel(const std::string &word)
{
    return !word.empty() && std::string("AEIOUaeiou").find(word[0]) != std::string::npos;
}

bool danglingEnd(const std::string &word)
{
    const auto ends = [&word](const char *tail) {
        const std::string t = tail;
        return word.size() > t.size() && word.compare(word.size() - t.size(), t.size(), t) == 0;
    };
    return ends("ed") || ends("en") || word == "grown" || word == "various" || word == "several" ||
           word == "organism";
}

/** A short clue for the lemma in this synset: its gloss cut at a natural break, else the whole
 *  gloss when short, else "A kind of" + its hypernym; empty when none is sound. */
std::string ClueFor(const WordNet &wn, const Commonness &common, const WordNet::Node &node,
                    const std::string &lemma, bool instance, const Exclusions &excluded)
{
    // The whole definition when it is short; else a cut that keeps at least three words (a
    // shorter one tends to lose the noun: "Small wild") and does not end on a dangling
    // participle ("A ball game played"), an adjective ("... of cold southern") or an adverb;
    // else a longer whole one.
    const std::string gloss = mkclues::cleanGloss(node.gloss);
    std::string clue = gloss;
    if (clue.size() > 56) {
        clue = mkclues::cutGloss(gloss, 56, [&wn](const std::string &w) { return wn.KindOf(w); });
        const std::vector<std::string> words = mkclues::wordsOf(clue);
        if (words.size() < 3 || danglingEnd(words.back()) ||
            wn.KindOf(words.back()) != mkclues::WordKind::Other)
            clue = gloss.size() <= 64 ? gloss : std::string();
    }
    if (clueIsSound(clue, lemma, excluded))
        return mkclues::capitalised(clue);
    // "A kind of" the nearest broader term whose words are common ("anseriform bird" is not).
    std::vector<long> level = node.hypernyms;
    for (int up = 0; up < 2 && !level.empty(); ++up) {
        std::vector<long> next;
        for (long offset : level)
            if (const WordNet::Node *parent = wn.At(offset)) {
                const std::string name = spacedLemma(*parent);
                bool plain = !name.empty();
                for (const std::string &word : mkclues::wordsOf(name))
                    plain = plain && common.Level(word) > 0 && common.Level(word) <= 50;
                clue = instance ? std::string(isVowel(name) ? "An " : "A ") + name : "A kind of " + name;
                if (plain && clueIsSound(clue, lemma, excluded))
                    return clue;
                next.insert(next.end(), parent->hypernyms.begin(), parent->hypernyms.end());
            }
        level = next;
    }
    return {};
}

} // namespace

std::vector<Entry> MakeList(const WordNet &wn, const Commonness &common, const Exclusions &excluded,
                            const Theme &theme, const ListShape &shape, std::string *error)
{
    std::set<long> cut;
    for (const char *name : theme.excluded) {
        const long offset = wn.Synset(name);
        if (offset < 0) {
            *error = std::string("no synset ") + name;
            return {};
        }
        cut.insert(offset);
    }
    // Breadth first from the roots, so that each synset keeps its least depth.
    std::deque<std::pair<long, int>> queue;
    std::set<long> seen;
    for (const char *name : theme.roots) {
        const long offset = wn.Synset(name);
        if (offset < 0) {
            *error = std::string("no synset ") + name;
            return {};
        }
        queue.emplace_back(offset, 0);
        seen.insert(offset);
    }
    std::map<std::string, Candidate> byLetters;
    while (!queue.empty()) {
        const auto [offset, depth] = queue.front();
        queue.pop_front();
        const WordNet::Node *node = wn.At(offset);
        if (!node || cut.count(offset))
            continue;
        for (long child : node->hyponyms)
            if (seen.insert(child).second)
                queue.emplace_back(child, depth + 1);
        if (depth == 0 || UnsuitableGloss(node->gloss) || mkclues::datedGloss(node->gloss))
            continue;
        // One answer per synset: its commonest lemma whose first sense this is.
        std::optional<Candidate> best;
        for (const WordNet::Word &word : node->words) {
            int level = 0;
            const std::string answer = AnswerOf(word.lemma, common, shape, &level);
            if (answer.empty())
                continue;
            const std::string lower = mkclues::lowerAscii(word.lemma);
            const std::vector<long> senses = wn.Senses(lower);
            const auto rank = std::find(senses.begin(), senses.end(), offset) - senses.begin();
            if (rank >= kMaxSenseRank)
                continue;
            if (wn.UnsuitableWord(lower) || excluded.Excludes(lower))
                continue;
            Candidate c{{answer, {}}, word.tagCount, level, depth};
            if (best && !(Rank(c) < Rank(*best)))
                continue;
            c.entry.clue = ClueFor(wn, common, *node, word.lemma, node->instance, excluded);
            if (!c.entry.clue.empty())
                best = c;
        }
        if (!best)
            continue;
        const std::string letters = AnswerLetters(best->entry.answer);
        const auto existing = byLetters.find(letters);
        if (existing == byLetters.end() || Rank(*best) < Rank(existing->second))
            byLetters[letters] = *best;
    }
    std::vector<Candidate> all;
    for (auto &[letters, c] : byLetters)
        all.push_back(c);
    std::sort(all.begin(), all.end(),
              [](const Candidate &a, const Candidate &b) { return Rank(a) < Rank(b); });
    // A clue that an earlier answer has already ("A kind of edible fruit") would not tell the
    // two apart.
    std::vector<Entry> list;
    std::set<std::string> clues;
    for (const Candidate &c : all) {
        if (int(list.size()) == shape.count)
            break;
        if (clues.insert(mkclues::lowerAscii(c.entry.clue)).second)
            list.push_back(c.entry);
    }
    return list;
}

} // namespace mksamples
