// mkclues run on the WordNet-format fixture with a small dictionary word list: the clues
// each answer gets, their order and text, and the coverage line it prints.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using Clues = std::vector<std::string>;

struct RunResult {
    QTemporaryDir folder;
    QByteArray output;                  // what mkclues printed
    std::map<int, QByteArray> files;    // answer length -> clue file
    std::map<std::string, Clues> clues; // answer -> its clues
};

class MkCluesRun : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        result = std::make_unique<RunResult>();
        const QString dir = result->folder.path();
        QDir(dir).mkpath(QStringLiteral("scowl"));
        QFile words(dir + QStringLiteral("/scowl/english-words.10"));
        ASSERT_TRUE(words.open(QIODevice::WriteOnly));
        // Twelve of these thirteen words get a clue: "zzz" has no reading.
        words.write(
            "cats\nmice\ndogs\nran\nruns\nrunning\nbetter\nbest\ncolder\ncoldest\noxen\nhorse\nzzz\n");
        words.close();

        QProcess mkclues;
        mkclues.start(QStringLiteral(TRV_BIN_DIR "/mkclues"),
                      {QStringLiteral("--wordnet"), QStringLiteral(TRV_TEST_DATA "/clues/wordnet"),
                       QStringLiteral("--out"), dir + QStringLiteral("/out"), QStringLiteral("--scowl"),
                       dir + QStringLiteral("/scowl"), QStringLiteral("--lists"), QStringLiteral("english"),
                       QStringLiteral("--size"), QStringLiteral("10")});
        ASSERT_TRUE(mkclues.waitForFinished(30000));
        ASSERT_EQ(mkclues.exitCode(), 0) << mkclues.readAllStandardError().toStdString();
        result->output = mkclues.readAllStandardOutput();

        for (int len = 2; len <= 17; ++len) {
            QFile f(dir + QStringLiteral("/out/Clues.%1").arg(len, 2, 10, QLatin1Char('0')));
            ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << len;
            result->files[len] = f.readAll();
            for (const QByteArray &line : result->files[len].split('\n')) {
                QList<QByteArray> fields = line.trimmed().split('|');
                if (fields.size() < 2)
                    continue;
                Clues &list = result->clues[fields.takeFirst().toStdString()];
                for (const QByteArray &clue : fields)
                    list.push_back(clue.toStdString());
            }
        }
    }
    static void TearDownTestSuite() { result.reset(); }

    static Clues cluesOf(const std::string &answer)
    {
        auto it = result->clues.find(answer);
        return it == result->clues.end() ? Clues() : it->second;
    }

    struct Case {
        const char *answer;
        Clues clues;
    };
    static void expectClues(const std::vector<Case> &cases)
    {
        for (const Case &c : cases)
            EXPECT_EQ(cluesOf(c.answer), c.clues) << c.answer;
    }

    static inline std::unique_ptr<RunResult> result;
};

TEST_F(MkCluesRun, SensesInWordNetOrderNounsBeforeVerbs)
{
    // The index lists "informal term for a man" first, the data file lists it second.
    expectClues(
        {{"dog",
          {"informal term for a man", "a member of the genus Canis", "go after with the intent to catch"}}});
}

TEST_F(MkCluesRun, ProperNounSensesOnlyForWordsWithoutCommonOnes)
{
    // "CAT" (tomography) is cat's first sense in the index, but cat has common senses.
    expectClues(
        {{"cat", {"feline mammal usually having thick soft fur"}}, {"paris", {"the capital of France"}}});
}

TEST_F(MkCluesRun, InflectedFormsTakeTheBaseGlossesWithATag)
{
    expectClues({
        {"cats", {"feline mammal usually having thick soft fur (pl.)"}},
        {"mice", {"any of numerous small rodents (pl.)", "person who is quiet or timid (pl.)"}},
        {"dogs",
         {"informal term for a man (pl.)", "a member of the genus Canis (pl.)",
          "go after with the intent to catch (he/she/it)"}},
        {"ran", {"move fast by using one's feet (past)", "flee (past)"}},
        {"better", {"having desirable or positive qualities (comp.)"}},
        {"best", {"having desirable or positive qualities (sup.)"}},
        {"colder",
         {"having a low or inadequate temperature (comp.)", "giving no sensation of warmth (comp.)"}},
        {"coldest",
         {"having a low or inadequate temperature (sup.)", "giving no sensation of warmth (sup.)"}},
        // A form that is a lemma itself keeps its own senses first; "running"'s own gloss, a
        // play "... to carry the ball through or past ...", has no clean cut and is left out.
        {"runs",
         {"frequent and watery bowel movements", "move fast by using one's feet (he/she/it)",
          "flee (he/she/it)"}},
        {"running", {"move fast by using one's feet (-ing form)", "flee (-ing form)"}},
    });
}

TEST_F(MkCluesRun, NoClueGivesTheAnswerOrItsBaseAway)
{
    expectClues({
        {"ant", {"social insect living in organized colonies"}}, // "... names the ant itself"
        {"run", {"move fast by using one's feet", "flee"}},      // "... running or functioning"
        // "the leaves of the shrub Catha edulis" starts a word with "cat", in another case.
        {"cats", {"feline mammal usually having thick soft fur (pl.)"}},
        // Two letters count only as a whole word: "oxcart" stays, "the ox of ..." goes.
        {"ox", {"a castrated bull used to pull an oxcart"}},
        {"oxen", {"a castrated bull used to pull an oxcart (pl.)"}},
        // The "coldness" of the long gloss lies beyond the cut, so what is written is fair.
        {"cold", {"having a low or inadequate temperature", "giving no sensation of warmth"}},
    });
}

TEST_F(MkCluesRun, LongGlossesAreCutAtABreakOrLoseToShortOnes)
{
    expectClues({
        // The rodent sense comes first in the index and is long: cut before "typically", it
        // keeps its place.
        {"mouse", {"any of numerous small rodents", "person who is quiet or timid"}},
        // "solid-hoofed herbivorous quadruped domesticated since prehistoric times" has no clean cut.
        {"horse", {"a framework for holding wood that is being sawed"}},
        {"good", {"having desirable or positive qualities"}},
        // The commas of a list are no place to cut; with no other break the whole gloss stays.
        {"class", {"people having the same social, economic, or educational status"}},
        // "or" between two nouns is no break either ("the act of giving students").
        {"testing",
         {"the act of giving students or candidates a test to determine what they know or have learned"}},
        // Nothing shorter and no clean cut: the whole definition rather than no clue.
        {"agouti",
         {"agile long-legged rabbit-sized rodent of Central America and South America and the West Indies"}},
    });
}

TEST_F(MkCluesRun, WordNetMarkupIsCleanedAway)
{
    expectClues({
        {"critter", {"a regional term for \"creature\""}},
        {"broadsword", {"a sword with a broad blade and two cutting edges"}},
        {"acold", {"feeling cold"}}, // "of persons; feeling cold; ..."
    });
}

TEST_F(MkCluesRun, EveryLineIsASortedAnswerWithAtMostFourTidyClues)
{
    for (const auto &[len, bytes] : result->files) {
        ASSERT_TRUE(bytes.isEmpty() || bytes.endsWith("\r\n")) << len;
        QByteArray previous;
        for (QByteArray line : bytes.split('\n')) {
            if (line.isEmpty())
                continue;
            ASSERT_TRUE(line.endsWith('\r')) << line.toStdString();
            line.chop(1);
            QList<QByteArray> fields = line.split('|');
            const QByteArray answer = fields.takeFirst();
            EXPECT_EQ(answer.size(), len) << line.toStdString();
            EXPECT_LT(previous, answer);
            previous = answer;
            EXPECT_GE(fields.size(), 1);
            EXPECT_LE(fields.size(), 4) << line.toStdString();
            for (const QByteArray &clue : fields) {
                EXPECT_FALSE(clue.isEmpty()) << line.toStdString();
                const qsizetype tag = clue.endsWith(')') ? clue.size() - clue.lastIndexOf(" (") : 0;
                EXPECT_LE(clue.size() - tag, fields.size() == 1 ? 100 : 60) << clue.toStdString();
                EXPECT_EQ(clue, clue.trimmed()) << clue.toStdString();
                EXPECT_FALSE(clue.contains('`') || clue.contains(';') || clue.contains("  "))
                    << clue.toStdString();
                EXPECT_FALSE(clue.endsWith(',') || clue.endsWith(':')) << clue.toStdString();
            }
        }
    }
}

TEST_F(MkCluesRun, ReportsTheShareOfDictionaryWordsWithAClue)
{
    EXPECT_TRUE(result->output.contains("Dictionary words with a clue: 92.3 %\n"))
        << result->output.toStdString();
}

// mkclues --curated on the same fixture: crossword clues, the words left out for a general
// audience, and the fill words that trv_mkspellsup turns into the spelling supplement.
class MkCluesCurated : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        result = std::make_unique<RunResult>();
        const QString dir = result->folder.path();
        QDir(dir).mkpath(QStringLiteral("scowl"));
        QFile words(dir + QStringLiteral("/scowl/english-words.10"));
        ASSERT_TRUE(words.open(QIODevice::WriteOnly));
        words.write(
            "cats\nmice\nran\nrunning\nhorse\nzzz\ncock\ncocks\nzorp\nzorps\nglorp\nire\nfoil\nlandscaper\n"
            "thou\nvarlet\nant\nagouti\nfrom\n");
        words.close();

        QProcess mkclues;
        mkclues.start(QStringLiteral(TRV_BIN_DIR "/mkclues"),
                      {QStringLiteral("--wordnet"), QStringLiteral(TRV_TEST_DATA "/clues/wordnet"),
                       QStringLiteral("--out"), dir + QStringLiteral("/out"), QStringLiteral("--scowl"),
                       dir + QStringLiteral("/scowl"), QStringLiteral("--lists"), QStringLiteral("english"),
                       QStringLiteral("--size"), QStringLiteral("10"), QStringLiteral("--curated"),
                       QStringLiteral("--fill-out"), dir + QStringLiteral("/fill.txt")});
        ASSERT_TRUE(mkclues.waitForFinished(30000));
        ASSERT_EQ(mkclues.exitCode(), 0) << mkclues.readAllStandardError().toStdString();
        result->output = mkclues.readAllStandardOutput();

        QProcess spellsup;
        spellsup.start(QStringLiteral(TRV_BIN_DIR "/trv_mkspellsup"),
                       {QStringLiteral("--out"), dir + QStringLiteral("/SpellSup.txt"),
                        QStringLiteral("--scowl"), dir + QStringLiteral("/scowl"), QStringLiteral("--lists"),
                        QStringLiteral("english"), QStringLiteral("--size"), QStringLiteral("10"),
                        QStringLiteral("--fill"), dir + QStringLiteral("/fill.txt")});
        ASSERT_TRUE(spellsup.waitForFinished(30000));
        ASSERT_EQ(spellsup.exitCode(), 0) << spellsup.readAllStandardError().toStdString();

        for (int len = 2; len <= 17; ++len) {
            QFile f(dir + QStringLiteral("/out/Clues.%1").arg(len, 2, 10, QLatin1Char('0')));
            ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << len;
            result->files[len] = f.readAll();
            for (const QByteArray &line : result->files[len].split('\n')) {
                QList<QByteArray> fields = line.trimmed().split('|');
                if (fields.size() < 2)
                    continue;
                Clues &list = result->clues[fields.takeFirst().toStdString()];
                for (const QByteArray &clue : fields)
                    list.push_back(clue.toStdString());
            }
        }
        fill = linesOf(dir + QStringLiteral("/fill.txt"));
        supplement = linesOf(dir + QStringLiteral("/SpellSup.txt"));
    }
    static void TearDownTestSuite() { result.reset(); }

    static std::set<std::string> linesOf(const QString &path)
    {
        std::set<std::string> lines;
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            for (const QByteArray &line : f.readAll().split('\n'))
                if (!line.trimmed().isEmpty())
                    lines.insert(line.trimmed().toLower().toStdString());
        return lines;
    }

    static inline std::unique_ptr<RunResult> result;
    static inline std::set<std::string> fill, supplement;
};

TEST_F(MkCluesCurated, OffensiveWordsLeaveFillAndCluesButStaySpelledRight)
{
    struct Case {
        const char *word;
        bool inFill;
        Clues clues; // empty: no clue line at all
    };
    const std::vector<Case> cases = {
        {"zorp", false, {}},  // its only sense points to the usage domain ethnic slur
        {"glorp", false, {}}, // its gloss says "ethnic slur"
        {"zorps", false, {}}, // the plural of a word left out goes with it
        // The usual sense is clean: the word stays, its obscene sense gives no clue.
        {"cock", true, {"Rooster", "Stopcock", "Adult male chicken"}},
        {"cocks", true, {"Rooster (pl.)", "Stopcock (pl.)", "Adult male chicken (pl.)"}},
    };
    for (const Case &c : cases) {
        auto it = result->clues.find(c.word);
        EXPECT_EQ(it == result->clues.end() ? Clues() : it->second, c.clues) << c.word;
        EXPECT_EQ(fill.count(c.word) != 0, c.inFill) << c.word;
        EXPECT_EQ(supplement.count(c.word) != 0, !c.inFill) << c.word;
    }
    EXPECT_TRUE(result->output.contains("excluded words: 3 (3 of them in the word lists)"))
        << result->output.toStdString();
}

TEST_F(MkCluesCurated, CluesAreShortSynonymsThenGlossesThatKeepTheAnswerHidden)
{
    const std::vector<std::pair<const char *, Clues>> cases = {
        // Synonyms of the synset come first, the gloss after.
        {"ire", {"Anger", "Belligerence aroused by a real or supposed wrong"}},
        // The gloss holds "landscape", which shares the stem: the nearest hypernym is left.
        {"landscaper", {"Architect"}},
        // "a gloss that names the ant itself" holds the answer.
        {"ant", {"Social insect living in organized colonies"}},
        // An archaic sense gives nothing; the other sense stays.
        {"thou", {"The cardinal number that is the product of 10 and 100"}},
        {"varlet", {}},
        // Too long and no break but a comma ("a device consisting of a flat, thin ..."): no
        // clue rather than a cut-off one.
        {"foil", {}},
        {"agouti", {}},
        {"running", {"Flee (-ing form)"}},
        // No sense of its own: the blanks it fills in examples of clean senses, shortest first.
        // Examples of an offensive sense, with an excluded word, with the word twice or with
        // too little around it give nothing.
        {"from", {"Good news ___ the hospital", "Ire grew ___ one small wrong"}},
    };
    for (const auto &[answer, clues] : cases) {
        auto it = result->clues.find(answer);
        EXPECT_EQ(it == result->clues.end() ? Clues() : it->second, clues) << answer;
    }
    // Words without a clue stay out of the fill and in the spelling supplement.
    for (const char *word : {"foil", "agouti", "varlet", "zzz"}) {
        EXPECT_EQ(fill.count(word), 0u) << word;
        EXPECT_EQ(supplement.count(word), 1u) << word;
    }
}

TEST_F(MkCluesCurated, EveryCandidateIsCapitalisedShortAndFreeOfTheAnswersStem)
{
    for (const auto &[answer, clues] : result->clues) {
        EXPECT_LE(clues.size(), 4u) << answer;
        const std::string stem = answer.substr(0, std::min<std::size_t>(answer.size(), 5));
        for (const auto &clue : clues) {
            EXPECT_LE(clue.size(), 60u) << clue;
            ASSERT_FALSE(clue.empty()) << answer;
            EXPECT_FALSE(clue[0] >= 'a' && clue[0] <= 'z') << clue;
            std::string word;
            for (char ch : clue + " ") {
                if (std::isalpha(static_cast<unsigned char>(ch))) {
                    word += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
                    continue;
                }
                if (stem.size() >= 3) {
                    EXPECT_NE(word.compare(0, stem.size(), stem), 0) << answer << ": " << clue;
                }
                word.clear();
            }
        }
    }
}

} // namespace

// The common words Make Puzzle fills with first: clued fill words up to the common size, and
// inflections of such words.
TEST(MkCluesCommonWords, AreTheCluedFillWordsUpToTheCommonSizeAndTheirInflections)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("scowl"));
    for (const auto &[level, text] :
         {std::pair{10, "cat\nrun\nzzz\n"}, std::pair{20, "ant\nhorse\nrunning\n"}}) {
        QFile words(dir.path() + QStringLiteral("/scowl/english-words.%1").arg(level));
        ASSERT_TRUE(words.open(QIODevice::WriteOnly));
        words.write(text);
    }
    QProcess mkclues;
    mkclues.start(QStringLiteral(TRV_BIN_DIR "/mkclues"), {QStringLiteral("--wordnet"),
                                                           QStringLiteral(TRV_TEST_DATA "/clues/wordnet"),
                                                           QStringLiteral("--out"),
                                                           dir.path() + QStringLiteral("/out"),
                                                           QStringLiteral("--scowl"),
                                                           dir.path() + QStringLiteral("/scowl"),
                                                           QStringLiteral("--lists"),
                                                           QStringLiteral("english"),
                                                           QStringLiteral("--size"),
                                                           QStringLiteral("20"),
                                                           QStringLiteral("--curated"),
                                                           QStringLiteral("--fill-size"),
                                                           QStringLiteral("20"),
                                                           QStringLiteral("--unclued"),
                                                           QStringLiteral("--common-size"),
                                                           QStringLiteral("10"),
                                                           QStringLiteral("--fill-out"),
                                                           dir.path() + QStringLiteral("/fill.txt"),
                                                           QStringLiteral("--common-out"),
                                                           dir.path() + QStringLiteral("/common.txt")});
    ASSERT_TRUE(mkclues.waitForFinished(30000));
    ASSERT_EQ(mkclues.exitCode(), 0) << mkclues.readAllStandardError().toStdString();
    auto lines = [&](const char *name) {
        QFile f(dir.path() + QLatin1Char('/') + QLatin1String(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        std::set<std::string> out;
        for (const QByteArray &line : f.readAll().split('\n'))
            if (!line.trimmed().isEmpty())
                out.insert(line.trimmed().toStdString());
        return out;
    };
    EXPECT_EQ(lines("fill.txt"), (std::set<std::string>{"ant", "cat", "horse", "run", "running", "zzz"}));
    // ant and horse are rarer; zzz has no clue; running is a form of run.
    EXPECT_EQ(lines("common.txt"), (std::set<std::string>{"cat", "run", "running"}));
}
