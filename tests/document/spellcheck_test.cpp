// The spelling check without windows, over a small puzzle document: the word walk, the reports
// with their locations, the supplement file, Change writing back, and stopping.
#include "spellcheck.h"

#include "alphabet.h"
#include "cluesedit.h"
#include "cluespg.h"
#include "cp1252.h"
#include "cutwrites.h"
#include "globals.h"
#include "layoutsettings.h"
#include "prompter.h"
#include "testprint.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

/** A dictionary of a few words (case ignored) that records what it was asked. */
class FakeDictionary : public TSpellingDictionary
{
public:
    QSet<QString> Known;
    QStringList Asked;
    bool CreateResult = true;
    int Creates = 0;
    int Destroys = 0;

    bool Create() override
    {
        ++Creates;
        return CreateResult;
    }
    bool Contains(const QString &word) override
    {
        Asked << word;
        return Known.contains(word.toLower());
    }
    void Destroy() override { ++Destroys; }
};

// (entry, kind) from the editor's change callbacks
QList<QPair<int, int>> g_wordChanges;
QList<QPair<int, int>> g_clueChanges;
void wordChanged(int entry, int kind) { g_wordChanges.append({entry, kind}); }
void clueChanged(int entry, int kind) { g_clueChanges.append({entry, kind}); }

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

struct Report {
    QString word;
    QString location;
    QString placement;
};

class SpellCheckTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InitGlobals();
        SetAlphabet(DefaultAlphabet);
        DocControls = TDocumentControls{};
        DocHooks = TDocumentHooks{};
        DocHooks.SetModified = [this] { ++m_modified; };
        DocHooks.ClueFlowClueWasChanged = [this](TClueGrid *grid, int row) {
            m_reflowed.append({grid, row});
        };
        CreateClueGrids();
        ASSERT_TRUE(m_dir.isValid());
        m_user = m_dir.path() + "/user/SpellSup.txt";
        m_shared = m_dir.path() + "/SpellSup.txt";
        QDir().mkpath(m_dir.path() + "/user");

        // The fixture puzzle: every text the check walks, with a few words not known.
        DocControls.PuzzleTitle = "A Blorp puzzle";
        DocControls.PuzzleSubtitle = "I don't go; it's the dog's";
        CreditsLine = "made with care";
        m_editor = std::make_unique<TCluesEdit>();
        m_editor->SetChangeCallbacks(wordChanged, clueChanged);
        m_editor->AddEntry("CATT\tFeline pet");
        m_editor->AddEntry("ZYX\tFeline friend");
        m_editor->AddEntry("DOGG\tCanine pet");
        m_editor->SetSlotLabel(0, "12 D");
        m_editor->SetSlotLabel(2, "3 A");
        g_wordChanges.clear();
        g_clueChanges.clear();
        CluesAcrossSG->SetRowCount(2);
        CluesAcrossSG->SetCell(0, 1, " 3 DOGG");
        CluesAcrossSG->SetCell(1, 1, "Canine pett");
        CluesDownSG->SetRowCount(3);
        CluesDownSG->SetCell(0, 1, "12 CATT");
        CluesDownSG->SetCell(1, 1, "Feline blorp");
        CluesDownSG->SetCell(0, 2, "WordBank");
        CluesDownSG->SetCell(1, 2, "Word Bank:  CATT  DOGG  ZYX");

        m_dictionary.Known = {"puzzle", "go",     "it",  "the",    "made",
                              "with",   "feline", "pet", "canine", "friend"};
        writeBytes(m_shared, "don't\r\ndog's\r\nit's\r\n");
        m_texts = std::make_unique<TPuzzleSpellingTexts>(m_editor.get());
        m_check.SetTexts(m_texts.get());
        m_check.SetDictionary(&m_dictionary);
        m_check.SetSupplementPaths(m_user, m_shared);
    }

    void TearDown() override
    {
        DocHooks = TDocumentHooks{};
        FreeClueGrids();
    }

    void start()
    {
        ASSERT_TRUE(m_check.LoadDictionaries());
        m_check.Restart();
    }

    /** Runs to the next word not found; an empty report when the check finished. */
    Report next()
    {
        if (m_check.Run() != TSpellCheck::NotFound)
            return {};
        return {m_check.NotFoundWord(), m_check.LocationText(), m_check.PlacementText()};
    }

    /** Runs to the next report and checks it is of that word. */
    void expectReport(const QString &word)
    {
        const Report r = next();
        ASSERT_EQ(r.word, word);
    }

    ScriptedPrompter m_prompter;
    QTemporaryDir m_dir;
    QString m_user, m_shared;
    FakeDictionary m_dictionary;
    std::unique_ptr<TCluesEdit> m_editor;
    std::unique_ptr<TPuzzleSpellingTexts> m_texts;
    TSpellCheck m_check;
    int m_modified = 0;
    QList<QPair<TClueGrid *, int>> m_reflowed;
};

TEST(SpellCheckWordStart, SkipsTheWordWithItsApostrophesAndWhatIsNotALetter)
{
    InitGlobals();
    SetAlphabet(DefaultAlphabet);
    const struct {
        const char *text;
        int offset;
        int next;
    } cases[] = {
        {"", 1, 1},          {"a", 1, 1},        {"cat dog", 1, 5},
        {"cat dog", 5, 1},   {"  cat", 1, 3},    {"cat, dog!", 1, 6},
        {"cat, dog!", 6, 1}, {"don't go", 1, 7}, {"rock'n'roll band", 1, 13},
        {"cat x", 1, 1},     {"'tis so", 1, 2},  {"cat", 9, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.text) + " @" + std::to_string(c.offset));
        EXPECT_EQ(TSpellCheck::NextWordStart(QString::fromLatin1(c.text), c.offset), c.next);
    }
}

TEST_F(SpellCheckTest, ReportsEachUnknownWordWhereItStandsThroughEveryText)
{
    start();
    const Report expected[] = {
        {"Blorp", "Title", ""},
        {"care", "Credits line", ""},
        {"CATT", "Your Words & Clues # 1", "Used at 12 Down"},
        {"ZYX", "Your Words & Clues # 2", ""},
        {"DOGG", "Your Words & Clues # 3", "Used at 3 Across"},
        {"pett", "Clue for 3 Across ", "(DOGG)"},
    };
    for (const Report &e : expected) {
        SCOPED_TRACE(e.word.toStdString());
        const Report r = next();
        EXPECT_EQ(r.word, e.word);
        EXPECT_EQ(r.location, e.location);
        EXPECT_EQ(r.placement, e.placement);
        // The first "Blorp" is ignored for the rest of the run: the down clue's "blorp" passes.
        if (e.word == "Blorp")
            m_check.IgnoreAllWord();
        else
            m_check.IgnoreWord();
    }
    // The word bank's row is made from the answers: none of them is reported from there again.
    EXPECT_EQ(next().word, QString());
    EXPECT_EQ(m_check.CurrentStage(), TSpellCheck::EndStage);
    EXPECT_EQ(m_check.LocationText(), "End.");

    // One-letter words and the letters after an apostrophe are never looked up; words with an
    // apostrophe are looked up whole.
    for (const char *never : {"A", "I", "t", "s", "don", "dog"})
        EXPECT_FALSE(m_dictionary.Asked.contains(never)) << never;
    for (const char *whole : {"don't", "it's", "dog's"})
        EXPECT_TRUE(m_dictionary.Asked.contains(whole)) << whole;
    EXPECT_EQ(m_modified, 0);
}

// The default credits line names the program, which no dictionary holds.
TEST_F(SpellCheckTest, TheProgramsOwnNameIsKnownInAnyCase)
{
    DocControls.PuzzleTitle = "TARVEL puzzle";
    CreditsLine = "Made with Tarvel";
    start();
    EXPECT_EQ(next().word, "CATT");
    EXPECT_FALSE(m_dictionary.Asked.contains("Tarvel"));
}

TEST_F(SpellCheckTest, QuotedWordsAreLookedUpWithoutTheirQuotes)
{
    DocControls.PuzzleTitle = "'Blorp' and 'the pet's'";
    start();
    EXPECT_EQ(next().word, "Blorp");
    m_check.IgnoreWord();
    EXPECT_EQ(next().word, "and");
    m_check.IgnoreWord();
    EXPECT_EQ(next().word, "pet's");
    EXPECT_TRUE(m_dictionary.Asked.contains("the"));
}

TEST_F(SpellCheckTest, ChangeStoresTheTextWhereItCameFromAndMarksTheDocumentModified)
{
    start();
    expectReport("Blorp");
    m_check.ChangeWord("Bold");
    EXPECT_EQ(DocControls.PuzzleTitle, "A Bold puzzle");
    EXPECT_EQ(m_modified, 1);
    // The replacement is looked up again at once: still unknown, it is reported again.
    const Report again = next();
    EXPECT_EQ(again.word, "Bold");
    EXPECT_EQ(again.location, "Title");
    m_check.ChangeWord("puzzle");
    EXPECT_EQ(DocControls.PuzzleTitle, "A puzzle puzzle");

    expectReport("care");
    m_check.ChangeWord("pet");
    EXPECT_EQ(CreditsLine, "made with pet");
    EXPECT_EQ(m_modified, 3);

    expectReport("CATT");
    m_check.ChangeWord("CATS");
    EXPECT_EQ(m_editor->GetEntryText(0), "CATS\tFeline pet");
    EXPECT_EQ(m_modified, 4);
    EXPECT_EQ(next().location, "Your Words & Clues # 1"); // "CATS" is no word of the dictionary
    m_check.IgnoreWord();
    expectReport("ZYX");
    m_check.ChangeWord("Zyx");
    EXPECT_EQ(m_editor->GetEntryText(1), "Zyx\tFeline friend");
    m_check.IgnoreAllWord();
    expectReport("DOGG");
    m_check.IgnoreWord();

    expectReport("pett");
    m_check.ChangeWord("pet");
    EXPECT_EQ(CluesAcrossSG->Cell(1, 1), "Canine pet");
    EXPECT_EQ(CurrentCluesSL->Value("DOGG"), "Canine pet");
    ASSERT_EQ(m_reflowed.size(), 1);
    EXPECT_EQ(m_reflowed[0], qMakePair(CluesAcrossSG, 1));
    EXPECT_EQ(m_modified, 6);
    const Report down = next();
    EXPECT_EQ(down.word, "blorp");
    EXPECT_EQ(down.location, "Clue for 12 Down");
    EXPECT_EQ(down.placement, "(CATT)");
    m_check.IgnoreWord();
    EXPECT_EQ(next().word, QString());
    EXPECT_EQ(m_modified, 6);
}

TEST_F(SpellCheckTest, AnEntryChangeReachesTheEditorsChangeCallbacks)
{
    m_editor->ReplaceEntry(1, "ZYX\tFeline frend");
    m_dictionary.Known << "cat";
    start();
    expectReport("Blorp");
    m_check.IgnoreWord();
    expectReport("care");
    m_check.IgnoreWord();
    expectReport("CATT");
    m_check.ChangeWord("CAT");
    EXPECT_EQ(g_wordChanges, (QList<QPair<int, int>>{{0, kEntryChanged}}));
    EXPECT_TRUE(g_clueChanges.isEmpty());
    EXPECT_EQ(m_editor->GetSlotLabel(0), "12 D");
    expectReport("ZYX");
    m_check.IgnoreWord();
    expectReport("frend");
    m_check.ChangeWord("friend");
    EXPECT_EQ(m_editor->GetEntryText(1), "ZYX\tFeline friend");
    EXPECT_EQ(g_clueChanges, (QList<QPair<int, int>>{{1, kEntryChanged}}));
    EXPECT_EQ(g_wordChanges.size(), 1);
}

TEST_F(SpellCheckTest, TheSupplementIsTheUsersFileElseTheSharedOneElseEmpty)
{
    {
        TSpellCheck check; // the shared file: "don't" is known
        check.SetSupplementPaths(m_user, m_shared);
        check.LoadDictionaries();
        EXPECT_TRUE(check.IsKnownWord("DON'T"));
    }
    {
        writeBytes(m_user, "zyx\r\n");
        TSpellCheck check; // the user's file wins
        check.SetSupplementPaths(m_user, m_shared);
        check.LoadDictionaries();
        EXPECT_TRUE(check.IsKnownWord("Zyx"));
        EXPECT_FALSE(check.IsKnownWord("don't"));
    }
    {
        TSpellCheck check; // no file at either path: an empty supplement, and the check runs
        check.SetTexts(m_texts.get());
        check.SetDictionary(&m_dictionary);
        check.SetSupplementPaths(m_dir.path() + "/none/SpellSup.txt", m_dir.path() + "/none.txt");
        EXPECT_TRUE(check.LoadDictionaries());
        EXPECT_TRUE(check.Supplement().Words().isEmpty());
        check.Restart();
        EXPECT_EQ(check.Run(), TSpellCheck::NotFound);
        EXPECT_EQ(check.NotFoundWord(), "Blorp");
    }
    EXPECT_TRUE(m_prompter.boxes.isEmpty());
}

TEST_F(SpellCheckTest, AddWritesTheUsersFileSortedWithoutRegardToCaseAndWithoutDuplicates)
{
    writeBytes(m_shared, "zork\r\nalpha\r\nZORK\r\nit's\r\nd\xE9j\xE0\r\ndon't\r\ndog's\r\n");
    start();
    expectReport("Blorp");
    m_check.AddWord();
    EXPECT_EQ(fileBytes(m_user),
              QByteArray("alpha\r\nBlorp\r\ndog's\r\ndon't\r\nd\xE9j\xE0\r\nit's\r\nzork\r\n"));
    // The down clue's "blorp" is known now; the shared file is left as it was.
    expectReport("care");
    EXPECT_EQ(fileBytes(m_shared),
              QByteArray("zork\r\nalpha\r\nZORK\r\nit's\r\nd\xE9j\xE0\r\ndon't\r\ndog's\r\n"));
    TSpellCheck again; // the next run reads the user's file
    again.SetSupplementPaths(m_user, m_shared);
    again.LoadDictionaries();
    EXPECT_TRUE(again.IsKnownWord("BLORP"));
    EXPECT_TRUE(again.IsKnownWord(QString::fromLatin1("D\xC9J\xC0")));
    EXPECT_TRUE(m_prompter.boxes.isEmpty());

    // A word already there in another case is not added twice.
    TWordSet words;
    words.Assign({"beta", "Alpha"});
    EXPECT_TRUE(words.Add("blorp"));
    EXPECT_FALSE(words.Add("BLORP"));
    EXPECT_FALSE(words.Add("ALPHA"));
    EXPECT_EQ(words.Words(), QStringList({"Alpha", "beta", "blorp"}));
}

TEST_F(SpellCheckTest, AnUnwritableSupplementIsSaidAndTheWordStaysKnown)
{
    writeBytes(m_dir.path() + "/file", "not a folder");
    const QString unwritable = m_dir.path() + "/file/SpellSup.txt";
    m_check.SetSupplementPaths(unwritable, m_shared);
    start();
    expectReport("Blorp");
    m_check.AddWord();
    ASSERT_EQ(m_prompter.boxes.size(), 1);
    EXPECT_TRUE(m_prompter.boxes[0].text.startsWith(
        "Unable to update user spelling dictionary; can't write to file " + unwritable + ".\n\n"));
    EXPECT_TRUE(m_prompter.boxes[0].text.contains("Not a directory"))
        << m_prompter.boxes[0].text.toStdString();
    EXPECT_EQ(m_prompter.boxes[0].kind, Prompter::Information);
    EXPECT_TRUE(m_check.IsKnownWord("BLORP"));
    m_check.Restart();
    EXPECT_EQ(next().word, "care");
}

TEST_F(SpellCheckTest, ACutWriteOfTheSupplementKeepsTheOldFileAndSaysWhy)
{
    for (int words : {300, 4000}) {
        SCOPED_TRACE(words);
        QByteArray old;
        for (int i = 0; i < words; ++i)
            old += "known" + QByteArray::number(i) + "\r\n";
        ExpectCutWritesKeepTheOldFile(
            m_user,
            [&](QString *reason) {
                m_prompter.boxes.clear();
                TSpellCheck check; // reads the user's file anew, so "Blorp" is unknown each time
                check.SetTexts(m_texts.get());
                check.SetDictionary(&m_dictionary);
                check.SetSupplementPaths(m_user, m_shared);
                EXPECT_TRUE(check.LoadDictionaries());
                check.Restart();
                EXPECT_EQ(check.Run(), TSpellCheck::NotFound);
                EXPECT_EQ(check.NotFoundWord(), "Blorp");
                check.AddWord();
                *reason = m_prompter.lastText();
                return m_prompter.boxes.isEmpty();
            },
            old);
    }
}

TEST_F(SpellCheckTest, AStopEndsTheRunAfterTheCurrentWordAndTheRunGoesOnFromThere)
{
    start();
    int pumps = 0;
    const auto stopAtThird = [&] {
        if (++pumps == 3)
            m_check.RequestStop();
    };
    EXPECT_EQ(m_check.Run(stopAtThird, 0), TSpellCheck::NotFound); // "Blorp" comes first
    m_check.IgnoreWord();
    EXPECT_EQ(m_check.Run(stopAtThird, 0), TSpellCheck::Stopped);
    EXPECT_EQ(m_check.Pumps(), 2);
    const int stage = m_check.CurrentStage(), offset = m_check.Offset();
    EXPECT_EQ(m_check.Run(stopAtThird, 0), TSpellCheck::Stopped); // still asked to stop
    EXPECT_EQ(m_check.CurrentStage(), stage);
    EXPECT_EQ(m_check.Offset(), offset);
    m_check.ClearStop();
    EXPECT_EQ(next().word, "care");
    // With a long interval the pump never runs: labels follow the clock, not the words.
    m_check.IgnoreWord();
    EXPECT_EQ(m_check.Run(stopAtThird, 60000), TSpellCheck::NotFound);
    EXPECT_EQ(m_check.Pumps(), 0);
}

TEST_F(SpellCheckTest, TheDictionaryIsStartedOnceAndAskedOnlyWhileStarted)
{
    m_dictionary.CreateResult = false;
    EXPECT_FALSE(m_check.LoadDictionaries());
    EXPECT_FALSE(m_check.IsKnownWord("puzzle"));
    m_dictionary.CreateResult = true;
    EXPECT_TRUE(m_check.LoadDictionaries()); // a later check tries again
    EXPECT_TRUE(m_check.LoadDictionaries());
    EXPECT_EQ(m_dictionary.Creates, 2);
    EXPECT_TRUE(m_check.IsKnownWord("PUZZLE"));
    m_check.StopDictionary();
    m_check.StopDictionary();
    EXPECT_EQ(m_dictionary.Destroys, 1);
    m_dictionary.Asked.clear();
    EXPECT_FALSE(m_check.IsKnownWord("puzzle"));
    EXPECT_TRUE(m_dictionary.Asked.isEmpty());
}

} // namespace
