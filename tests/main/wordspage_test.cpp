// The words page: theme-word reports, the words sent to the engine, the summary lines, the
// word-list commands, the special characters and alphabet dialog, and the rejected words.
#include "mainwindowtest.h"

#include "alphabet.h"
#include "alphabetfm.h"
#include "checkpts.h"
#include "cluesedit.h"
#include "cluespg.h"
#include "cp1252.h"
#include "nextstepfm.h"
#include "testcp1252.h"
#include "trv600.h"
#include "uidialogs.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

namespace {

// A word of the length made from a number, so that every word of a list differs.
QString wordOf(int n, int length)
{
    QString word;
    for (int i = 0; i < length; ++i, n /= 26)
        word += QChar('A' + n % 26);
    return word;
}

QByteArray fileBytes(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QAction *findItem(QWidget *window, const char *name)
{
    return window->findChild<QAction *>(QLatin1String(name));
}

class WordsPageTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        DocControls = TDocumentControls();
    }

    TMainFm *symmetricalWindow()
    {
        TMainFm *window = makeReadyWindow();
        window->SwitchToSymmetrical(true);
        return window;
    }

    /** Each entry one line "word<Tab>clue". */
    static void setWords(TMainFm *window, const QStringList &entries)
    {
        window->ClueEditor->SetAllText(entries.join('\n'));
    }

    /** One letter in the corner: the 15 x 15 grid is no longer blank and keeps its slots. */
    static void markGrid() { TRVSetCell(1, 1, 'A'); }
};

TEST_F(WordsPageTest, ThemeWordReportsLabelEntriesAndMarkRows)
{
    TMainFm *window = symmetricalWindow();
    setWords(window, {"word\tfirst", "Word\tsecond", "other\tthird"});
    ::CluesAcrossSG->SetRowCount(3);
    ::CluesAcrossSG->SetCell(0, 1, " 9 WORD");
    ::CluesAcrossSG->SetCell(0, 2, "12 WORD");
    ::CluesDownSG->SetRowCount(2);
    ::CluesDownSG->SetCell(0, 1, " 3 OTHER");

    struct Report {
        char code;
        int number;
        const char *word;
        const char *labels[3]; // of the three entries afterwards
        int placed;
    } reports[] = {
        {' ', 0, "", {" -  ", " -  ", " -  "}, 0},
        {'A', 9, "WORD", {"9 A", " -  ", " -  "}, 1},
        // The first copy carries another place: the second copy takes this one.
        {'A', 12, "WORD", {"9 A", "12 A", " -  "}, 2},
        // Reported again: the copy that carries it ends the search.
        {'A', 9, "WORD", {"9 A", "12 A", " -  "}, 2},
        {'D', 3, "OTHER", {"9 A", "12 A", "3 D"}, 3},
        {'*', 0, "", {"9 A", "12 A", "3 D"}, 3},
        {' ', 0, "", {" -  ", " -  ", " -  "}, 0},
    };
    for (const Report &r : reports) {
        window->ThemeWordPlaced(QLatin1String(r.word), r.number, QLatin1Char(r.code));
        for (int e = 0; e < 3; ++e)
            EXPECT_EQ(window->ClueEditor->GetSlotLabel(e), QLatin1String(r.labels[e]))
                << "after " << r.code << r.number << ", entry " << e;
        EXPECT_EQ(window->PlacedThemeWordCount, r.placed) << r.code << r.number;
    }
    // One-digit boxes have their key with a leading blank, two-digit ones without.
    EXPECT_TRUE(::CluesAcrossSG->Row(1).ThemeWord);
    EXPECT_TRUE(::CluesAcrossSG->Row(2).ThemeWord);
    EXPECT_TRUE(::CluesDownSG->Row(1).ThemeWord);
}

TEST_F(WordsPageTest, OnlyTheFirstThousandCompatibleWordsAreSent)
{
    TMainFm *window = symmetricalWindow();
    markGrid();
    // The empty 15 x 15 grid has slots of 15 cells only: the four-letter words have none.
    QStringList entries;
    QList<QByteArray> expected;
    for (int i = 0; i < 1001; ++i) {
        const QString word = wordOf(i, 15);
        entries << word + "\tclue";
        if (expected.size() < 1000)
            expected << word.toLatin1();
        if (i % 100 == 0)
            entries << wordOf(i, 4) + "\tno slot";
    }
    setWords(window, entries);

    const QList<QByteArray> sent = window->ThemeWordsToSend();
    EXPECT_EQ(sent.size(), 1000);
    EXPECT_EQ(sent, expected) << "list order, words without a slot skipped";

    window->UpdateThemeFitCount();
    EXPECT_EQ(window->CompatibleWordCount, 1001);
    EXPECT_TRUE(window->ThemeListSizeLabel->text().endsWith("Using only the first 1000"))
        << window->ThemeListSizeLabel->text().toStdString();
}

TEST_F(WordsPageTest, SummaryTextsForEachTypeAndCount)
{
    struct Case {
        bool freeform;
        bool blank;
        int listed;
        int placed;
        int compatible;
        const char *label;
        const char *words;
        const char *fits;
    } cases[] = {
        {false, false, 1, 1, 1, "1 entry listed.  1 are compatible with the current pattern.  ",
         "Puzzle contains 1 of your word.", "1 is compatible"},
        {false, false, 3, 0, 2, "3 entries listed.  2 are compatible with the current pattern.  ",
         "Puzzle contains 0 of your words.", "2 are compatible"},
        {false, true, 2, 0, 2, "2 entries listed.  No pattern has been drawn or selected.  ", "", ""},
        {true, false, 3, 0, 0, "3 entries listed.  ", "Puzzle contains 0 of your words.",
         "3 words were omitted"},
        {true, false, 2, 1, 0, "2 entries listed.  ", "Puzzle contains 1 of your word.",
         "1 word was omitted"},
        {true, true, 1, 0, 0, "1 entry listed.  ", "", ""},
    };
    TMainFm *window = makeReadyWindow();
    for (const Case &c : cases) {
        if (c.freeform)
            window->SwitchToFreeform(true);
        else
            window->SwitchToSymmetrical(true);
        TRVClearGrid();
        if (!c.blank)
            markGrid();
        QStringList entries;
        for (int i = 0; i < c.listed; ++i)
            entries << wordOf(i, 5);
        entries << "X"; // one letter is no word
        setWords(window, entries);
        window->PlacedThemeWordCount = c.placed;
        window->CompatibleWordCount = c.compatible;
        window->RedrawThemePageSummay();
        EXPECT_EQ(window->ThemeListSizeLabel->text(), QLatin1String(c.label)) << c.label;
        EXPECT_EQ(window->SBThemeWords->text(), QLatin1String(c.words)) << c.label;
        EXPECT_EQ(window->SBThemeFits->text(), QLatin1String(c.fits)) << c.label;
    }
}

TEST_F(WordsPageTest, ARefusedSixthSpecialCharacterIsExplainedOnce)
{
    TMainFm *window = symmetricalWindow();
    SetAlphabet(DefaultAlphabet + cp({0xC0, 0xC4, 0xC7, 0xD1, 0xD6}));
    ScriptedPrompter prompter;
    ScriptedUiDialogs dialogs;
    window->ClueEditor->setFocus();
    // Each keystroke changes the word and sends the theme words again.
    window->ClueEditor->TypeText(cp({0xC9}) + "COLE");
    int refusals = 0;
    for (const auto &box : prompter.boxes)
        refusals += box.text.contains("makes it one too many");
    EXPECT_EQ(refusals, 1);
    EXPECT_EQ(dialogs.Asked.count("modal: AlphabetFm"), 1);
    EXPECT_EQ(CustomAlphabet.size(), 31);
}

TEST_F(WordsPageTest, AlphabetOkThatChangesTheAlphabetMarksTheDocumentModified)
{
    TMainFm *window = symmetricalWindow();
    struct Case {
        const char *name;
        std::function<void(TAlphabetFm &)> act;
        bool modified;
        QString alphabet;
    } cases[] = {
        {"OK with a letter added",
         [](TAlphabetFm &f) {
             f.AccentSB[0]->click();
             f.OkBtn->click();
         },
         true, DefaultAlphabet + cp({0xC0})},
        {"OK without a change", [](TAlphabetFm &f) { f.OkBtn->click(); }, false, DefaultAlphabet},
        {"Cancel after a change",
         [](TAlphabetFm &f) {
             f.AccentSB[1]->click();
             f.CancelBtn->click();
         },
         false, DefaultAlphabet},
    };
    for (const Case &c : cases) {
        SetAlphabet(DefaultAlphabet);
        PuzzleModified = false;
        window->ClueEditor->MarkSaved();
        ScriptedUiDialogs dialogs;
        dialogs.OnModal = [&](QDialog &dialog) { c.act(static_cast<TAlphabetFm &>(dialog)); };
        window->CustomAlphabetLnkClick();
        EXPECT_EQ(window->IsModified(), c.modified) << c.name;
        EXPECT_EQ(CustomAlphabet, c.alphabet) << c.name;
    }
}

TEST_F(WordsPageTest, SpecialCharacterButtonsTypeOrOpenTheAlphabetDialog)
{
    TMainFm *window = symmetricalWindow();
    SetAlphabet(DefaultAlphabet + cp({0xD1}) + "&");
    EXPECT_EQ(window->SpecialCharSB[0]->text(), cp({0xD1}));
    ScriptedUiDialogs dialogs;
    window->SpecialCharSB[0]->click();
    window->SpecialCharSB[1]->click(); // "&&" on the button types "&"
    EXPECT_EQ(window->ClueEditor->GetWord(0), cp({0xD1}) + "&");
    EXPECT_TRUE(dialogs.Asked.isEmpty());
    window->SpecialCharSB[2]->click(); // empty
    EXPECT_EQ(dialogs.Asked, QStringList{"modal: AlphabetFm"});
}

TEST_F(WordsPageTest, ImportExportClearAndSortCommands)
{
    TMainFm *window = symmetricalWindow();
    const QString list = programFile("pets.thm");
    writeFile(list, "CATS\tPets that purr\r\nBEE\tBuzzer\r\n");
    const QString exported = programFile("out");
    ScriptedUiDialogs dialogs;
    dialogs.FileNames << list << exported;
    const int undoBefore = UndoCount();

    window->mCluesImportClick();
    EXPECT_EQ(window->ActiveNotebookPage(), 1);
    EXPECT_EQ(window->ClueEditor->GetWord(0), "CATS");
    EXPECT_EQ(window->WordListSaveDialog.FileName, list) << "the export proposes the imported file";
    EXPECT_TRUE(window->IsModified());
    EXPECT_EQ(UndoCount(), undoBefore + 1);

    window->ThemeExportLnkClick();
    EXPECT_EQ(fileBytes(exported + ".thm"), fileBytes(list));
    EXPECT_TRUE(window->IsModified()) << "an export is no save of the puzzle";
    EXPECT_EQ(UndoCount(), undoBefore + 1);

    window->ThemeSortAlphaLnkClick();
    EXPECT_EQ(window->ClueEditor->GetWord(0), "BEE");
    window->ThemeClearLnkClick();
    EXPECT_EQ(window->CountListedWords(), 0);
    EXPECT_EQ(UndoCount(), undoBefore + 3);
    EXPECT_EQ(dialogs.Asked, (QStringList{"open: Import:  Fetch More Words And Clues From a File",
                                          "save: Export:  Save Your Words and Clues Separately"}));
}

TEST_F(WordsPageTest, NextStepLinksRunTheSampleListsAndImport)
{
    TMainFm *window = symmetricalWindow();
    ScriptedUiDialogs dialogs;
    dialogs.OnModal = [](QDialog &dialog) {
        auto &form = static_cast<TNextStepFm &>(dialog);
        form.SampleWordListsLnkClick();
        form.ImportLnkClick();
    };
    window->ShowNextStep();
    EXPECT_TRUE(dialogs.Asked.contains("open: Import Sample Word List"));
    EXPECT_TRUE(dialogs.Asked.contains("open: Import:  Fetch More Words And Clues From a File"));
    EXPECT_EQ(dialogs.Proposed.value(0), window->ProgramFolder());
}

TEST_F(WordsPageTest, MenusCarryTheWordListCommands)
{
    TMainFm *window = makeReadyWindow();
    for (const char *name : {"mCluesImport", "mCluesExport", "mCluesSortAlphabetically", "mCluesSortSize",
                             "mCluesSortPlacement", "mBuildAutoClue", "mCluesShowAlt"})
        EXPECT_NE(findItem(window, name), nullptr) << name;
    QAction *alphabet = findItem(window, "mGridCustomAlphabet");
    ASSERT_NE(alphabet, nullptr);
    EXPECT_EQ(alphabet->text(), "Customize &Alphabet ...");
    EXPECT_TRUE(window->mGrid->actions().contains(alphabet));
    EXPECT_FALSE(findItem(window, "mCluesAddAdditional")->isVisible());
}

// ---- Rejected words -------------------------------------------------------------------------

TEST_F(WordsPageTest, RejectedWordsMemoTypesCapitals)
{
    TMainFm *window = makeReadyWindow();
    struct Case {
        const char *typed;
        const char *shown;
    } cases[] = {{"q", "Q"}, {"Q", "Q"}, {"7", "7"}, {"z", "Z"}, {"-", "-"}};
    for (const Case &c : cases) {
        window->GlueRejectWordsMemo->clear();
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QLatin1String(c.typed));
        QApplication::sendEvent(window->GlueRejectWordsMemo, &press);
        EXPECT_EQ(window->GlueRejectWordsMemo->toPlainText(), QLatin1String(c.shown)) << c.typed;
    }
}

TEST_F(WordsPageTest, OnlyAHundredRejectedWordsReachTheEngine)
{
    TMainFm *window = makeReadyWindow();
    QStringList lines;
    for (int i = 0; i < 150; ++i)
        lines << wordOf(i, 6);
    window->GlueRejectWordsMemo->setPlainText(lines.join('\n'));
    ScriptedPrompter prompter;
    ASSERT_NE(TRVCreate(), 0);
    window->SendRejectedWordsToEngine();
    TRVDestroy();
    ASSERT_EQ(prompter.boxes.size(), 1);
    EXPECT_EQ(prompter.boxes[0].text, "Sorry, only the first 100 rejected words can be processed.");
    EXPECT_EQ(prompter.boxes[0].helpContext, 990020);
}

TEST_F(WordsPageTest, SavedRejectedWordsEndInCrLfAndClearLeavesTheFile)
{
    TMainFm *window = makeReadyWindow();
    const QString file = TMainFm::RejectedWordsFileName();
    window->GlueRejectWordsMemo->setPlainText(QStringLiteral("ICE\nOAR\n") + cp({0xC9}) + "TE\n");
    window->GlueSaveRejectedWordListBtn->click();
    EXPECT_EQ(fileBytes(file), QByteArray("ICE\r\nOAR\r\n\xC9TE\r\n"));

    window->GlueClearRejectedWordsBtn->click();
    EXPECT_TRUE(window->GlueRejectWordsMemo->toPlainText().isEmpty());
    EXPECT_EQ(fileBytes(file), QByteArray("ICE\r\nOAR\r\n\xC9TE\r\n"));
}

} // namespace
