// The window and the document meet: an opened file shows on every control that the puzzle file
// reads and writes, each user change there reaches the document, and undo and redo bring the
// controls back with the document.
#include "mainwindowtest.h"

#include "puzzlefiles.h"
#include "testsupport.h"

#include "checkpts.h"
#include "cluesedit.h"
#include "cluespg.h"
#include "cp1252.h"
#include "fileio.h"
#include "trv600.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>

#include <functional>

namespace {

const QString kGarden = QStringLiteral(TRV_TEST_DATA) + "/main/garden.trv";

// Types into a line edit as the keyboard would, so that its user-edit signal fires.
void typeText(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->selectAll();
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &press);
    }
}

QString puzzleText()
{
    QStringList lines;
    WritePuzzleToStrings(lines);
    return lines.join("\n");
}

bool hasLine(const QString &line)
{
    QStringList lines;
    WritePuzzleToStrings(lines);
    return lines.contains(line);
}

class DocumentControlsTest : public MainWindowTest
{
protected:
    TMainFm *openGarden()
    {
        TMainFm *window = makeWindow();
        // The test's program folder has no clue files, which commands that rebuild the clue
        // grids would report.
        window->SetAutoClueSymmetrical(false);
        window->SetAutoClueFreeform(false);
        MainFormReady = true;
        window->ReadPuzzleFile(kGarden);
        window->AfterPuzzleOpened(kGarden);
        return window;
    }
    void TearDown() override
    {
        MainFormReady = false;
        MainWindowTest::TearDown();
    }
};

TEST_F(DocumentControlsTest, StartUpTypeIsTheDocumentsType)
{
    for (const bool tight : {false, true}) {
        writeFile(programFile("trv.ini"),
                  tight ? "SetupTight=T\r\nSetupLoose=F\r\n" : "SetupTight=F\r\nSetupLoose=T\r\n");
        TMainFm *window = makeWindow();
        EXPECT_EQ(FreeformMode, !tight);
        EXPECT_EQ(window->LooseRB->isChecked(), !tight);
        EXPECT_EQ(window->TightRB->isChecked(), tight);
        EXPECT_FALSE(window->IsModified());
    }
}

TEST_F(DocumentControlsTest, StoredWordBankChoiceIsTheNewPuzzles)
{
    programKey().setValue("WordBankCB", 1);
    TMainFm *window = makeWindow();
    EXPECT_TRUE(window->WordBankCB->isChecked());
    EXPECT_TRUE(hasLine("WordBankCB=T"));
}

TEST_F(DocumentControlsTest, OpenedFileShowsOnEveryControl)
{
    ScriptedPrompter prompter;
    TMainFm *window = openGarden();
    EXPECT_TRUE(prompter.boxes.isEmpty()) << prompter.lastText().toStdString();
    EXPECT_EQ(window->TitleEd->text(), "Garden Friends");
    EXPECT_EQ(window->SubtitleEd->text(), "A small puzzle about pets");
    EXPECT_TRUE(window->TightRB->isChecked());
    EXPECT_FALSE(window->LooseRB->isChecked());
    EXPECT_FALSE(FreeformMode);
    EXPECT_EQ(TRVGetSymMode(), 4);
    EXPECT_TRUE(window->SymHorizontalSpBtn->isChecked());
    EXPECT_FALSE(window->SymStandardSpBtn->isChecked());
    EXPECT_EQ(window->CurrentSymModeLabel->text(), "  Horizontal");
    EXPECT_TRUE(window->ShowHotSpotsCB->isChecked());
    EXPECT_TRUE(window->CheckBoxTwoLetter->isChecked());
    EXPECT_FALSE(window->CheckBoxUncrossed->isChecked());
    EXPECT_TRUE(window->WordBankCB->isChecked());
    EXPECT_FALSE(window->AutoLayoutCB->isChecked());
    EXPECT_TRUE(window->GlueRandomCB->isChecked());
    EXPECT_FALSE(window->ExchangeAcrossDownSpBtn->isChecked());
    EXPECT_EQ(window->PuzzleSizeCmBx->currentText(), "5 x 5");
    EXPECT_EQ(window->SBPage->text(), "Page 1");
    EXPECT_EQ(window->SBWordslots->text(), "  5 Word slots  ");
    EXPECT_EQ(window->SBThemeWords->text(), "Puzzle contains 3 of your words.");
    EXPECT_EQ(window->SBThemeFits->text(), "3 are compatible");
    EXPECT_EQ(window->ClueEditor->GetSlotLabel(0), "1 A");
    EXPECT_FALSE(window->IsModified());
}

TEST_F(DocumentControlsTest, TypedTitleIsSavedAndUndoRedoBringItBack)
{
    ScriptedPrompter prompter;
    TMainFm *window = openGarden();
    typeText(window->TitleEd, "Birds");
    EXPECT_EQ(DocControls.PuzzleTitle, "Birds");
    EXPECT_TRUE(window->IsModified());

    const QString saved = TestHome() + "/birds.trv";
    ASSERT_TRUE(SavePuzzleFile(saved));
    QStringList lines;
    ASSERT_TRUE(Cp1252::readTextLines(saved, &lines));
    EXPECT_TRUE(lines.contains("PuzzleTitle=Birds"));

    // Reopen over another title: the file's title comes back into the field.
    typeText(window->TitleEd, "Something else");
    PuzzleModified = false;
    window->ReadPuzzleFile(saved);
    window->AfterPuzzleOpened(saved);
    EXPECT_EQ(window->TitleEd->text(), "Birds");
    EXPECT_TRUE(window->TightRB->isChecked());
    EXPECT_TRUE(window->SymHorizontalSpBtn->isChecked());

    // A command takes a snapshot, the title is typed after it: undo shows the snapshot's title
    // and button state, redo the newer ones.
    window->ExchangeAcrossDownSpBtn->click();
    EXPECT_TRUE(window->ExchangeAcrossDownSpBtn->isChecked());
    typeText(window->TitleEd, "Fish");
    UndoCheckPoint();
    EXPECT_EQ(window->TitleEd->text(), "Birds");
    EXPECT_FALSE(window->ExchangeAcrossDownSpBtn->isChecked());
    EXPECT_TRUE(window->ShowHotSpotsCB->isChecked());
    EXPECT_EQ(window->SBWordslots->text(), "  5 Word slots  ");
    RedoCheckPoint();
    EXPECT_EQ(window->TitleEd->text(), "Fish");
    EXPECT_TRUE(window->ExchangeAcrossDownSpBtn->isChecked());
    EXPECT_TRUE(prompter.boxes.isEmpty()) << prompter.lastText().toStdString();
}

TEST_F(DocumentControlsTest, EveryUserChangeReachesTheDocument)
{
    struct Case {
        const char *name;
        std::function<void(TMainFm *)> change;
        QString line; // a line the written puzzle holds afterwards
    };
    const Case cases[] = {
        {"subtitle", [](TMainFm *w) { typeText(w->SubtitleEd, "Pets"); }, "PuzzleSubtitle=Pets"},
        {"every puzzle different", [](TMainFm *w) { w->GlueRandomCB->click(); }, "EveryPuzzleDifferent=F"},
        {"auto-layout", [](TMainFm *w) { w->AutoLayoutCB->click(); }, "AutoLayout=T"},
        {"word bank", [](TMainFm *w) { w->WordBankCB->click(); }, "WordBankCB=F"},
        {"blind cells", [](TMainFm *w) { w->CheckBoxUncrossed->click(); }, "FlagOneLetterSlots=T"},
        {"two-letter words", [](TMainFm *w) { w->CheckBoxTwoLetter->click(); }, "FlagTwoLetterSlots=F"},
        {"hot spots", [](TMainFm *w) { w->ShowHotSpotsCB->click(); }, "ShowHotSpots=F"},
        {"symmetry", [](TMainFm *w) { w->SymKaleidoscopeSpBtn->click(); },
         "SymmetryMode=Kaleidoscope (Eight-way)"},
        {"exchange", [](TMainFm *w) { w->ExchangeAcrossDownSpBtn->click(); }, "Exchanged=T"},
        {"fixed size", [](TMainFm *w) { w->SizeFixedRB->click(); }, "LooseAutoSize=F"},
        {"size list", [](TMainFm *w) { w->PuzzleSizeCmBxChange(1); }, "Columns=7"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPrompter prompter;
        TMainFm *window = openGarden();
        ASSERT_FALSE(window->IsModified());
        EXPECT_FALSE(hasLine(c.line));
        c.change(window);
        EXPECT_TRUE(window->IsModified());
        EXPECT_TRUE(hasLine(c.line));
        EXPECT_TRUE(prompter.boxes.isEmpty()) << prompter.lastText().toStdString();
    }
}

TEST_F(DocumentControlsTest, ChangesWithASnapshotUndoToTheOpenedPuzzle)
{
    // Word bank, exchange, size and type each take an undo step; one undo gives back the
    // opened puzzle text and its controls.
    const std::function<void(TMainFm *)> changes[] = {
        [](TMainFm *w) { w->WordBankCB->click(); },
        [](TMainFm *w) { w->ExchangeAcrossDownSpBtn->click(); },
        [](TMainFm *w) { w->PuzzleSizeCmBxChange(1); },
        [](TMainFm *w) { w->LooseRB->click(); },
    };
    int step = 0;
    for (const auto &change : changes) {
        SCOPED_TRACE(step++);
        ScriptedPrompter prompter;
        TMainFm *window = openGarden();
        const QString opened = puzzleText();
        change(window);
        EXPECT_NE(puzzleText(), opened);
        UndoCheckPoint();
        EXPECT_EQ(puzzleText(), opened);
        EXPECT_TRUE(window->WordBankCB->isChecked());
        EXPECT_FALSE(window->ExchangeAcrossDownSpBtn->isChecked());
        EXPECT_TRUE(window->TightRB->isChecked());
        EXPECT_TRUE(window->SymHorizontalSpBtn->isChecked());
        EXPECT_TRUE(prompter.boxes.isEmpty()) << prompter.lastText().toStdString();
    }
}

TEST_F(DocumentControlsTest, TypeSwitchAsksAboutUnsavedWorkFirst)
{
    ScriptedPrompter prompter;
    TMainFm *window = openGarden();
    typeText(window->TitleEd, "Unsaved");
    prompter.answers = {Prompter::Cancel};
    window->LooseRB->click();
    EXPECT_EQ(prompter.boxes.size(), 1);
    EXPECT_TRUE(window->TightRB->isChecked());
    EXPECT_FALSE(FreeformMode);
    EXPECT_EQ(TRVGetWidth(), 5);
    EXPECT_EQ(window->TitleEd->text(), "Unsaved");

    prompter.answers = {Prompter::No};
    window->LooseRB->click();
    EXPECT_TRUE(window->LooseRB->isChecked());
    EXPECT_TRUE(FreeformMode);
    EXPECT_EQ(TRVGetWidth(), 15);
    EXPECT_EQ(TRVGetSymMode(), 0);
    EXPECT_TRUE(window->SymNoneSpBtn->isChecked());
    EXPECT_FALSE(window->ShowHotSpotsCB->isChecked());
    EXPECT_TRUE(window->SizeAutoRB->isChecked());
    EXPECT_TRUE(window->SBWordslots->text().isEmpty());
    EXPECT_TRUE(window->IsModified()) << "the word list was kept: it is still unsaved";

    // Back to symmetrical: the flags and the mode that freeform put aside return; a new puzzle
    // starts without hot spots.
    prompter.answers = {Prompter::No};
    window->TightRB->click();
    EXPECT_FALSE(FreeformMode);
    EXPECT_EQ(TRVGetSymMode(), 4);
    EXPECT_TRUE(window->SymHorizontalSpBtn->isChecked());
    EXPECT_TRUE(window->CheckBoxTwoLetter->isChecked());
    EXPECT_FALSE(window->ShowHotSpotsCB->isChecked());
}

TEST_F(DocumentControlsTest, SizeOverTheLimitIsRefused)
{
    ScriptedPrompter prompter;
    TMainFm *window = openGarden();
    window->SizeFixedRB->click();
    window->ColCountSpEd->setMaximum(99);
    window->ColCountSpEd->setValue(52);
    window->ApplySizeBtnClick();
    EXPECT_EQ(prompter.lastText(), "The maximum  temp puzzle size is 51 x 51.");
    EXPECT_EQ(TRVGetWidth(), 5);
}

} // namespace
