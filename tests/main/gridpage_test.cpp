// The grid page: the puzzle type and its question, the grid size by every route, the symmetry
// controls and dialog, the display flags' menu items, the removed-cell colour and the word-slot
// histogram's mouse.
#include "globals.h"
#include "layoutsettings.h"
#include "mainwindowtest.h"

#include "checkpts.h"
#include "cluesedit.h"
#include "cluespg.h"
#include "myoverrides.h"
#include "pataux.h"
#include "sizefm.h"
#include "symmetrymodesdlg.h"
#include "trv600.h"
#include "uidialogs.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>

#include <functional>

namespace {

const QString kGarden = QStringLiteral(TRV_TEST_DATA) + "/main/garden.trv";
const QString kSaveQuestion = QStringLiteral("The current puzzle is unsaved.  Do you want to save it?");
const QString kSizeRefused = QStringLiteral("The maximum  temp puzzle size is 51 x 51.");

void sendMouse(QWidget *widget, QEvent::Type type, const QPoint &at)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void clickWithMouse(QWidget *widget)
{
    const QPoint centre = widget->rect().center();
    sendMouse(widget, QEvent::MouseButtonPress, centre);
    sendMouse(widget, QEvent::MouseButtonRelease, centre);
}

void pressSpace(QWidget *widget)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QApplication::sendEvent(widget, &release);
}

bool isRed(const QSpinBox *entry) { return entry->palette().color(QPalette::Text) == QColor(Qt::red); }

class GridPageTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        DocControls = TDocumentControls(); // no display flags left over from an earlier window
    }

    /** A ready window of the start-up type, a new 15 x 15 puzzle. */
    TMainFm *startWith(bool symmetrical)
    {
        writeFile(programFile("trv.ini"),
                  symmetrical ? "SetupTight=T\r\nSetupLoose=F\r\n" : "SetupTight=F\r\nSetupLoose=T\r\n");
        TMainFm *window = makeReadyWindow();
        window->show();
        QCoreApplication::processEvents();
        return window;
    }
    TMainFm *openGarden()
    {
        TMainFm *window = makeReadyWindow(kGarden);
        window->show();
        QCoreApplication::processEvents();
        return window;
    }

    ScriptedPrompter prompter;
    ScriptedUiDialogs dialogs;
};

// ---- Puzzle type ------------------------------------------------------------------------------

TEST_F(GridPageTest, ChoosingTheCurrentTypeAsksNothingAndTakesNoUndoStep)
{
    TMainFm *window = openGarden();
    window->CheckBoxUncrossed->click(); // unsaved work
    ASSERT_TRUE(window->IsModified());
    const int undo = UndoCount();
    const std::function<void()> routes[] = {
        [window] { window->TightRB->click(); },
        [window] { window->mGridSymmetrical->trigger(); },
        [window] { window->ChangePuzzleType(1); },
    };
    for (const auto &route : routes) {
        route();
        EXPECT_TRUE(prompter.boxes.isEmpty());
        EXPECT_EQ(UndoCount(), undo);
        EXPECT_TRUE(window->TightRB->isChecked());
        EXPECT_TRUE(window->mGridSymmetrical->isChecked());
        EXPECT_FALSE(window->mGridFreeform->isChecked());
        EXPECT_EQ(TRVGetWidth(), 5);
    }
}

TEST_F(GridPageTest, CancelOrAnUnsavedYesKeepsTheType)
{
    // Yes runs Save As, which saves nothing here (its file dialog is cancelled): the puzzle is
    // still unsaved, so nothing may be dropped.
    for (const Prompter::Button answer : {Prompter::Cancel, Prompter::Yes}) {
        for (const bool byMenu : {false, true}) {
            SCOPED_TRACE(int(answer) * 10 + byMenu);
            TMainFm *window = openGarden();
            window->CheckBoxUncrossed->click();
            const int undo = UndoCount();
            prompter.boxes.clear();
            prompter.answers = {answer};
            if (byMenu)
                window->mGridFreeform->trigger();
            else
                window->LooseRB->click();
            ASSERT_EQ(prompter.boxes.size(), 1);
            EXPECT_EQ(prompter.boxes[0].text, kSaveQuestion);
            EXPECT_FALSE(FreeformMode);
            EXPECT_TRUE(window->TightRB->isChecked());
            EXPECT_FALSE(window->LooseRB->isChecked());
            EXPECT_FALSE(window->mGridFreeform->isChecked());
            EXPECT_EQ(UndoCount(), undo);
            EXPECT_EQ(TRVGetWidth(), 5);
            EXPECT_TRUE(window->IsModified());
        }
    }
}

TEST_F(GridPageTest, FreeformAndBackRestoresTheSymmetricalModeAndFlags)
{
    TMainFm *window = startWith(true);
    window->SymKaleidoscopeSpBtn->click();
    window->CheckBoxUncrossed->click();
    window->CheckBoxTwoLetter->click();
    window->ShowNotebookPage(3);
    const int undo = UndoCount();

    prompter.answers = {Prompter::No};
    window->LooseRB->click();
    EXPECT_EQ(prompter.boxes.size(), 1);
    EXPECT_EQ(UndoCount(), undo + 1);
    EXPECT_TRUE(FreeformMode);
    EXPECT_TRUE(window->mGridFreeform->isChecked());
    EXPECT_EQ(TRVGetSymMode(), 0);
    EXPECT_TRUE(window->SymNoneSpBtn->isChecked());
    for (QCheckBox *box : {window->CheckBoxUncrossed, window->CheckBoxTwoLetter, window->ShowHotSpotsCB})
        EXPECT_FALSE(box->isChecked()) << box->objectName().toStdString();
    for (QAction *item : {window->mViewBlindCells, window->mViewTwoLetterWords, window->mViewHotSpots}) {
        EXPECT_FALSE(item->isChecked()) << item->objectName().toStdString();
        EXPECT_FALSE(item->isEnabled()) << item->objectName().toStdString();
    }
    // Freeform's pages: no other-clues tab (the page that showed it went back to the first),
    // no rejected words, the freeform size panel.
    const int otherClues = window->MainNotebookPages->indexOf(window->tsOtherClues);
    EXPECT_FALSE(window->MainNotebookPages->isTabVisible(otherClues));
    EXPECT_EQ(window->MainNotebookPages->currentIndex(), 0);
    EXPECT_FALSE(window->GlueRejectWordsMemo->isVisible());
    EXPECT_FALSE(window->mGridEditingSymmetryMode->isEnabled());
    EXPECT_TRUE(window->LoosePatternPnl->isVisibleTo(window->tsGrid));
    EXPECT_FALSE(window->IsModified());

    // A freeform build sets the type up again; the symmetrical settings stay put aside.
    window->SwitchToFreeform(false, true);

    window->TightRB->click();
    EXPECT_EQ(prompter.boxes.size(), 1); // nothing was unsaved
    EXPECT_FALSE(FreeformMode);
    EXPECT_EQ(TRVGetSymMode(), 6);
    EXPECT_TRUE(window->SymKaleidoscopeSpBtn->isChecked());
    EXPECT_EQ(window->CurrentSymModeLabel->text(), "  Kaleidoscope (8)");
    EXPECT_TRUE(window->CheckBoxUncrossed->isChecked());
    EXPECT_TRUE(window->CheckBoxTwoLetter->isChecked());
    EXPECT_TRUE(window->mViewBlindCells->isChecked());
    EXPECT_TRUE(window->mViewTwoLetterWords->isEnabled());
    EXPECT_TRUE(window->MainNotebookPages->isTabVisible(otherClues));
    EXPECT_TRUE(window->GlueRejectWordsMemo->isVisible());
    EXPECT_FALSE(window->LoosePatternPnl->isVisibleTo(window->tsGrid));
}

TEST_F(GridPageTest, ASwitchThatKeepsTheWordsLeavesThemUnsaved)
{
    TMainFm *window = startWith(true);
    WordList->AddEntry(QStringLiteral("MOUSE\tA small rodent"));
    WordList->MarkSaved();
    PuzzleModified = false;
    ASSERT_FALSE(window->IsModified());
    window->LooseRB->click();
    EXPECT_TRUE(prompter.boxes.isEmpty());
    EXPECT_TRUE(FreeformMode);
    EXPECT_EQ(window->ClueEditor->GetWord(0), "MOUSE");
    EXPECT_TRUE(window->IsModified()); // closing now asks about the words
}

// ---- Size -------------------------------------------------------------------------------------

TEST_F(GridPageTest, EveryResizeRouteTakesOneUndoStepPerRealResize)
{
    enum Route {
        Mouse,
        Keyboard,
        List,
        Custom
    };
    const struct Case {
        const char *name;
        Route route;
        int columns, rows; // typed into the entries or the custom dialog
        QString item;      // the size list's item (List)
        int undoSteps;
        int messages;
        int width, height; // the engine's grid afterwards
    } cases[] = {
        {"mouse, same size", Mouse, 15, 15, {}, 0, 0, 15, 15},
        {"mouse, 0 columns", Mouse, 0, 15, {}, 0, 1, 15, 15},
        {"mouse, 52 rows", Mouse, 15, 52, {}, 0, 1, 15, 15},
        {"mouse, refused by the engine", Mouse, -5, 10, {}, 0, 1, 15, 15},
        {"mouse, 10 x 12", Mouse, 10, 12, {}, 1, 0, 10, 12},
        {"keyboard, same size", Keyboard, 15, 15, {}, 0, 0, 15, 15},
        {"keyboard, 0 columns", Keyboard, 0, 15, {}, 0, 1, 15, 15},
        {"keyboard, 52 rows", Keyboard, 15, 52, {}, 0, 1, 15, 15},
        {"keyboard, refused by the engine", Keyboard, -5, 10, {}, 0, 1, 15, 15},
        {"keyboard, 10 x 12", Keyboard, 10, 12, {}, 1, 0, 10, 12},
        {"list, same size", List, 0, 0, "15 x 15 (standard size)", 0, 0, 15, 15},
        {"list, 9 x 9", List, 0, 0, "9 x 9", 1, 0, 9, 9},
        {"custom, same size", Custom, 15, 15, {}, 0, 0, 15, 15},
        {"custom, 0 columns", Custom, 0, 15, {}, 0, 0, 15, 15},
        {"custom, 52 rows", Custom, 15, 52, {}, 0, 0, 15, 15},
        {"custom, 20 x 30", Custom, 20, 30, {}, 1, 0, 20, 30},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TMainFm *window = startWith(c.route == List || c.route == Custom);
        if (c.route == Mouse || c.route == Keyboard)
            window->SizeFixedRB->click();
        prompter.boxes.clear();
        const int undo = UndoCount();
        switch (c.route) {
        case Mouse:
        case Keyboard:
            window->ColCountSpEd->setValue(c.columns);
            window->RowCountSpEd->setValue(c.rows);
            EXPECT_EQ(isRed(window->ColCountSpEd), !IsValidGridDimension(c.columns));
            EXPECT_EQ(isRed(window->RowCountSpEd), !IsValidGridDimension(c.rows));
            if (c.route == Mouse)
                clickWithMouse(window->ApplySizeBtn);
            else
                pressSpace(window->ApplySizeBtn);
            break;
        case List: window->PuzzleSizeCmBxChange(window->PuzzleSizeCmBx->findText(c.item)); break;
        case Custom: {
            bool okRefused = false;
            dialogs.OnModal = [&](QDialog &dialog) {
                auto *form = qobject_cast<TSizeFm *>(&dialog);
                ASSERT_NE(form, nullptr);
                form->ColCountSpEd->setValue(c.columns);
                form->RowCountSpEd->setValue(c.rows);
                form->OKBtn->click();
                okRefused = form->isVisible(); // then the dialog is cancelled
            };
            window->PuzzleSizeCmBxChange(window->PuzzleSizeCmBx->count() - 1);
            dialogs.OnModal = {};
            EXPECT_EQ(dialogs.Asked.value(dialogs.Asked.size() - 1), "modal: SizeFm");
            EXPECT_EQ(okRefused, !IsValidGridDimension(c.columns) || !IsValidGridDimension(c.rows));
            break;
        }
        }
        EXPECT_EQ(UndoCount() - undo, c.undoSteps);
        EXPECT_EQ(boxesWithText(prompter, kSizeRefused), c.messages);
        EXPECT_EQ(TRVGetWidth(), c.width);
        EXPECT_EQ(TRVGetHeight(), c.height);
        // The program's size and every size control agree with the engine.
        EXPECT_EQ(Columns, c.width);
        EXPECT_EQ(Rows, c.height);
        EXPECT_EQ(window->ColCountSpEd->value(), c.width);
        EXPECT_EQ(window->RowCountSpEd->value(), c.height);
        int listColumns = 0, listRows = 0;
        ParseSizeSpec(window->PuzzleSizeCmBx->currentText(), &listColumns, &listRows);
        EXPECT_EQ(listColumns, c.width);
        EXPECT_EQ(listRows, c.height);
        if (c.undoSteps == 1) {
            UndoCheckPoint();
            EXPECT_EQ(TRVGetWidth(), 15);
            EXPECT_EQ(TRVGetHeight(), 15);
            EXPECT_EQ(window->ColCountSpEd->value(), 15);
        }
    }
}

// ---- Symmetry ---------------------------------------------------------------------------------

TEST_F(GridPageTest, SymmetryControlsFollowTheEngineWhateverTheTool)
{
    TMainFm *window = openGarden();
    for (const bool toolDown : {false, true}) {
        SCOPED_TRACE(toolDown);
        window->PatternEditSpBtn->setChecked(toolDown);
        TRVSetSymMode(2);
        window->UpdateSymmetryButtons();
        EXPECT_EQ(window->CurrentSymModeLabel->text(), "  Spiral (4)");
        EXPECT_TRUE(window->SymSpiralSpBtn->isChecked());
        EXPECT_EQ(window->PatternCursor, 6);
        EXPECT_EQ(window->PatternEditSpBtn->isChecked(), toolDown);
        TRVSetSymMode(9); // no mode: nothing changes
        window->UpdateSymmetryButtons();
        EXPECT_EQ(window->CurrentSymModeLabel->text(), "  Spiral (4)");
        EXPECT_TRUE(window->SymSpiralSpBtn->isChecked());
    }

    window->PatternEditSpBtn->setChecked(false);
    PuzzleModified = false;
    window->SymVerticalSpBtn->click();
    EXPECT_EQ(TRVGetSymMode(), 3);
    EXPECT_EQ(window->CurrentSymModeLabel->text(), "  Vertical");
    EXPECT_TRUE(window->PatternEditSpBtn->isChecked());
    EXPECT_TRUE(window->IsModified());
}

TEST_F(GridPageTest, SymmetryDialogShowsAndSetsTheMode)
{
    TMainFm *window = openGarden(); // Horizontal
    bool shownChecked = false;
    dialogs.OnModal = [&](QDialog &dialog) {
        auto *modes = qobject_cast<TSymmetryModesDlg *>(&dialog);
        ASSERT_NE(modes, nullptr);
        shownChecked = modes->HorizontalRB->isChecked();
        sendMouse(modes->KaleidoscopeImage, QEvent::MouseButtonRelease, QPoint(5, 5));
        EXPECT_TRUE(modes->KaleidoscopeRB->isChecked());
        modes->OKBtn->click();
    };
    window->mGridEditingSymmetryMode->trigger();
    EXPECT_EQ(dialogs.Asked.value(dialogs.Asked.size() - 1), "modal: SymmetryModesDlg");
    EXPECT_TRUE(shownChecked);
    EXPECT_EQ(TRVGetSymMode(), 6);
    EXPECT_EQ(window->CurrentSymModeLabel->text(), "  Kaleidoscope (8)");
    EXPECT_TRUE(window->SymKaleidoscopeSpBtn->isChecked());
    EXPECT_TRUE(window->PatternEditSpBtn->isChecked());
    EXPECT_TRUE(window->IsModified());

    // Cancel changes nothing, whatever was picked.
    dialogs.OnModal = [](QDialog &dialog) {
        auto *modes = qobject_cast<TSymmetryModesDlg *>(&dialog);
        modes->NoSymmetryRB->setChecked(true);
        modes->CancelBtn->click();
    };
    window->ChangeSymModeBtn->click();
    EXPECT_EQ(TRVGetSymMode(), 6);
    EXPECT_TRUE(window->SymKaleidoscopeSpBtn->isChecked());
}

// ---- Display flags and the removed-cell colour ------------------------------------------------

TEST_F(GridPageTest, ViewMenuFlagItemsFollowAndToggleTheirBoxes)
{
    TMainFm *window = openGarden(); // two-letter words and hot spots on
    EXPECT_FALSE(window->mViewBlindCells->isChecked());
    EXPECT_TRUE(window->mViewTwoLetterWords->isChecked());
    EXPECT_TRUE(window->mViewHotSpots->isChecked());
    const struct {
        QAction *item;
        QCheckBox *box;
        const bool *flag;
    } flags[] = {
        {window->mViewBlindCells, window->CheckBoxUncrossed, &DocControls.FlagOneLetterSlots},
        {window->mViewTwoLetterWords, window->CheckBoxTwoLetter, &DocControls.FlagTwoLetterSlots},
        {window->mViewHotSpots, window->ShowHotSpotsCB, &DocControls.ShowHotSpots},
    };
    for (const auto &f : flags) {
        SCOPED_TRACE(f.item->objectName().toStdString());
        const bool before = f.box->isChecked();
        for (const bool expected : {!before, before}) {
            f.item->trigger();
            EXPECT_EQ(f.box->isChecked(), expected);
            EXPECT_EQ(*f.flag, expected);
            EXPECT_EQ(f.item->isChecked(), expected);
        }
    }
    // A box clicked on the page ticks its item too.
    window->CheckBoxUncrossed->click();
    EXPECT_TRUE(window->mViewBlindCells->isChecked());
}

TEST_F(GridPageTest, RemovedCellColourComesFromTheListOrTheColourDialog)
{
    TMainFm *window = startWith(false);
    QComboBox *list = window->BlockColorCmBx;
    auto choose = [list](int item) {
        list->setCurrentIndex(item);
        emit list->activated(item);
    };
    choose(4);
    EXPECT_EQ(RemovedCellColor, 0x808080);
    EXPECT_EQ(BlockedCellColor, 4);
    EXPECT_TRUE(window->IsModified());
    choose(0);
    EXPECT_EQ(RemovedCellColor, PageColor);

    dialogs.Colors = {0x123456};
    choose(6);
    EXPECT_EQ(dialogs.Asked.value(dialogs.Asked.size() - 1), "color");
    EXPECT_EQ(RemovedCellColor, 0x123456);
    EXPECT_EQ(BlockedCellColor, 6);

    choose(5);
    choose(6); // the colour dialog cancelled: black stays, and the list says so
    EXPECT_EQ(RemovedCellColor, 0);
    EXPECT_EQ(list->currentIndex(), 5);

    // Without a sender only the colour is set.
    PuzzleModified = false;
    list->setCurrentIndex(1);
    window->BlockColorCmBxChange(nullptr);
    EXPECT_EQ(RemovedCellColor, 0xEFEFEF);
    EXPECT_FALSE(window->IsModified());
}

// ---- Word-slot histogram ----------------------------------------------------------------------

TEST_F(GridPageTest, PressingALengthMarksItsSlotsUntilTheRelease)
{
    TMainFm *window = openGarden(); // slots: two of 3 letters, two of 4, one of 5
    window->ShowNotebookPage(2);
    QCoreApplication::processEvents();
    QWidget *box = window->PaintBoxWS;
    const int fiveLetters = 18 + 7 * 4 + 4;
    sendMouse(box, QEvent::MouseButtonPress, QPoint(60, fiveLetters));
    EXPECT_EQ(CurrentSlotMarks().size(), 5); // WINGS
    sendMouse(box, QEvent::MouseButtonRelease, QPoint(60, fiveLetters));
    EXPECT_TRUE(CurrentSlotMarks().isEmpty());

    // The hand shows over a bar (5 letters: one slot, bar end 50) and its length text only.
    const struct {
        QPoint at;
        bool hand;
    } cases[] = {{{52, fiveLetters}, true}, {{53, fiveLetters}, false}, {{10, 26}, true}, {{200, 26}, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.at.x() * 1000 + c.at.y());
        sendMouse(box, QEvent::MouseMove, c.at);
        EXPECT_EQ(box->cursor().shape() == Qt::PointingHandCursor, c.hand);
    }
}

// ---- Clear Grid ---------------------------------------------------------------------------------

TEST_F(GridPageTest, ClearGridOpensEveryCellTurnsHotSpotsOffAndUndoesAsClearPattern)
{
    TMainFm *window = startWith(true);
    TRVSetCell(3, 3, 1); // a block and its partner
    window->ShowHotSpotsCB->click();
    ASSERT_TRUE(window->ShowHotSpotsCB->isChecked());
    const int undo = UndoCount();

    window->ClearPatternBtnClick();

    for (int r = 1; r <= TRVGetHeight(); ++r)
        for (int c = 1; c <= TRVGetWidth(); ++c)
            ASSERT_EQ(TRVGetCell(c, r), 2) << c << "," << r;
    EXPECT_FALSE(window->ShowHotSpotsCB->isChecked());
    EXPECT_FALSE(DocControls.ShowHotSpots);
    EXPECT_EQ(TRVGetShowHotSpots(), 0);
    EXPECT_EQ(UndoCount(), undo + 1);
    EXPECT_TRUE(UndoRedoState().UndoCaption.contains(QStringLiteral("clear pattern")))
        << UndoRedoState().UndoCaption.toStdString();
    EXPECT_TRUE(window->IsModified());
    EXPECT_TRUE(prompter.boxes.isEmpty());
}

} // namespace
