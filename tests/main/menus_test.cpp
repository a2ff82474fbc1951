// The File menu's items in order with their names and states, the notebook step labels and the
// page arrows.
#include "mainwindowtest.h"

#include "globals.h"
#include "mainfm.h"
#include "paintbox.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <gtest/gtest.h>

#include <iterator>
#include <vector>

namespace {

struct ItemRow {
    const char *caption;
    const char *name;
    bool visible;
    bool enabled;
};

/** The menu's items without separators. */
QList<QAction *> itemsOf(QMenu *menu)
{
    QList<QAction *> items;
    for (QAction *action : menu->actions())
        if (!action->isSeparator())
            items << action;
    return items;
}

TEST_F(MainWindowTest, FileMenuItemsInOrderWithNamesAndStates)
{
    TMainFm *window = makeReadyWindow();
    const ItemRow expected[] = {
        {"&New", "mFileNew", true, true},
        {"&Open", "mFileOpen", true, true},
        {"Open Sample Pu&zzles ...", "mFileOpenSamples", true, true},
        {"Open Puzzles From www.fenmoor.example ...", "mFileFenmoor", true, true},
        {"&Save", "mFileSave", true, true},
        {"Save &As ...", "mFileSaveAs", true, true},
        {"Save As ... (but don't rename open file)", "mFileSaveAsOnce", true, true},
        {"&Close", "mFileClose", true, true},
        {"&Export", "", false, false},
        {"P&rinter Setup ...", "mFilePrinterSetup", true, true},
        {"&Print ...", "mFilePrint", true, true},
        {"Create P&DF ...", "mFileCreatePDF", true, true},
        {"Publish to &Web ...", "mFilePublish", false, false}, // Qt disables a hidden action
        {"&View && Manage Published Puzzles ...", "mFileManage", false, false},
        {"Pre&ferences ...", "mFilePreferences", true, true},
    };
    const QList<QAction *> items = itemsOf(window->mFile);
    // Six recent-file items (hidden while empty) and Exit end the menu.
    const int fixed = int(std::size(expected));
    ASSERT_EQ(items.size(), fixed + 7);
    for (int i = 0; i < fixed; ++i) {
        EXPECT_EQ(items[i]->text(), QString::fromUtf8(expected[i].caption)) << i;
        EXPECT_EQ(items[i]->objectName(), QString::fromUtf8(expected[i].name)) << i;
        EXPECT_EQ(items[i]->isVisible(), expected[i].visible) << expected[i].caption;
        EXPECT_EQ(items[i]->isEnabled(), expected[i].enabled) << expected[i].caption;
    }
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(items[fixed + i]->objectName(), QStringLiteral("mFileRecent%1").arg(i + 1));
    EXPECT_EQ(items.last()->text(), "E&xit");
    EXPECT_EQ(items.last()->objectName(), "mFileExit");
}

TEST_F(MainWindowTest, MenuBarMenusAndItemsInOrder)
{
    // "-" marks an item kept hidden, "~" one that stands disabled; a submenu's items follow it
    // with a leading ">".
    const struct {
        const char *menu;
        bool visible;
        std::vector<const char *> items;
    } menus[] = {
        {"&Edit",
         true,
         {"Undo", "Redo", "Copy Puzzle &Grid to Clipboard", "Copy &Puzzle Grid && Clues to Clipboard",
          "Copy &Clues to Clipboard (Text only)", "Copy &Solution Grid to Clipboard",
          "Copy Compact S&olution to Clipboard", "-Select Exporting &Format for Clipboard",
          "C&heck Spelling ..."}},
        {"&View",
         true,
         {"-Go To &Next Page",
          "Page &1",
          "Page &2",
          "-Page &3",
          "-Page &4",
          "-Page &5",
          "-Page &6",
          "-Page &7",
          "-Page &8",
          "-Page &9",
          "&Grid  (Shown with letters that don't print)",
          "&Clues",
          "&Solution",
          "-Custo&m",
          "Zoom &In",
          "Zoom &Out",
          "Zoom Page &Width",
          "Blind Cells (Green)",
          "Two-letter Words (Blue)",
          "Hot Spots (various colors)"}},
        {"&Grid",
         true,
         {"&Freeform Puzzle Type (All of your words)", "&Symmetrical Puzzle Type (most crossings)",
          "&Clear Grid", "E&xchange Across and Down Words", "Grid &Editing",
          ">Choose &Symmetry Mode for \"Edit Pattern\" ...",
          ">Edit &Pattern:   Click to make cells black, white, or (right-click) removed.",
          ">&Type on the Answer Grid:   Click starting cell; click again to type down.",
          ">Erase &Letters:  Click on cells to erase letter.",
          ">Erase &Words:  Click and release in different cells of the word to erase",
          "Select Stock Symmetrical &Pattern ...", "Customize &Alphabet ...",
          "Change Puzzle Grid Size or Position ...", "Change Solution Grid Size ..."}},
        {"&Make",
         true,
         {"&Make Puzzle Now", "Make &Another Puzzle Now", "&Start Over (clear the grid)",
          "Make Every Puzzle &Different"}},
        {"&Clues",
         true,
         {"&Import Words && Clues From a Text File ...", "&Export Your Words && Clues to a File ...",
          "&Sort Your Words and Clues", ">&Alphabetically", ">By &Size",
          ">By &Placement Location in the Puzzle Grid", "Add Stock Clues &Now",
          "-Add Additional Clues (e.g., &List of Answer Words)",
          "Add Stock Clues Automatically for &Freeform Puzzles",
          "Add Stock Clues Automatically for S&ymmetrical Puzzles", "Show &Alternate Clues",
          "Change Clue Font ...", "Change Clue Columns ..."}},
        {"&Layout && Fonts",
         true,
         {"&Redo Auto-Layout Now", "&Configure Auto-Layout Expert ...", "Clue &Columns ...", "Clue Te&xt ...",
          "Cre&dits ...", "-&Graphics ...", "&Margin && Border ...", "&Puzzle Grid ...", "&Solution Grid ...",
          "&Title ...", "&Word Bank ..."}},
        {"&Play", false, {"~Solve puzzle on-screen", "~Configure Interactive Puzzle Player (local use) ..."}},
        {"E&xport",
         true,
         {"As Graphic ...",
          "As &Text ...",
          "As Portable Document &Format (PDF) ...",
          "~&E-Mail Puzzle (interactive) ...",
          "~&Publish to Sandeck (one click) ...",
          "E&xport to Any Other Web Site (interactive) ...",
          "~&View && Manage Puzzles Published to Sandeck ...",
          "&Configure Interactive Puzzle Player (export use) ...",
          "-Copy and &Paste Wizard ...",
          "-Start Export Wizard ...",
          "-As &Bitmap (BMP) ...",
          "-As Encapsulated &Postscript (EPS) ...",
          "-As &Graphics Interchange Format (GIF) ...",
          "-As &JPEG ...",
          "-As Portable &Network Graphics (PNG) ...",
          "-As &Scalable Vector Graphic (SVC) ...",
          "-As &Web Page (HTML) ...",
          "-To &Printable Web Page ...",
          "-To Macintosh &Computer ...",
          "-To Word &Document ...",
          "-To Other Windows Program ..."}},
        {"&Help",
         true,
         {"&Contents ...", "&Getting Started ...", "&How to Make a Puzzle ...", "&Quick Tour && Setup ...",
          "-&Topic Search ...", "-&Puzzle Ideas ...", "&E-Mail Us ...", "&About ..."}},
    };
    TMainFm *window = makeReadyWindow();
    const QList<QAction *> bar = window->menuBar()->actions();
    ASSERT_EQ(bar.size(), int(std::size(menus)) + 1);
    EXPECT_EQ(bar.first()->text(), "&File");
    for (int m = 0; m < int(std::size(menus)); ++m) {
        QAction *menuItem = bar[m + 1];
        const auto &expected = menus[m];
        EXPECT_EQ(menuItem->text(), QString::fromUtf8(expected.menu));
        EXPECT_EQ(menuItem->isVisible(), expected.visible) << expected.menu;
        QList<QAction *> items;
        for (QAction *item : itemsOf(menuItem->menu())) {
            items << item;
            if (item->menu())
                items << itemsOf(item->menu());
        }
        ASSERT_EQ(items.size(), int(expected.items.size())) << expected.menu;
        for (int i = 0; i < items.size(); ++i) {
            QString caption = QString::fromUtf8(expected.items[size_t(i)]);
            const bool hidden = caption.startsWith('-');
            const bool off = caption.startsWith('~');
            if (hidden || off)
                caption.remove(0, 1);
            if (caption.startsWith('>'))
                caption.remove(0, 1);
            EXPECT_EQ(items[i]->text(), caption) << expected.menu;
            if (caption.startsWith(QLatin1String("Page &")))
                continue; // the page items follow the page count
            EXPECT_EQ(items[i]->isVisible(), !hidden) << caption.toStdString();
            if (off) {
                EXPECT_FALSE(items[i]->isEnabled()) << caption.toStdString();
            }
        }
    }
}

TEST_F(MainWindowTest, SpeedBarButtonsInOrderNeverTakeTheFocus)
{
    TMainFm *window = makeReadyWindow();
    window->SwitchToSymmetrical(false);
    struct Button {
        const char *name;
        bool visible;
        bool enabled;
    };
    const Button order[] = {
        {"FileOpenSpBtn", true, true},
        {"FileSaveSpBtn", true, true},
        {"PrintSpBtn", true, true},
        {"UndoSpBtn", true, false},
        {"RedoSpBtn", true, false},
        {"ConstructSpBtn", true, true},
        {"StockPatternSpBtn", true, true},
        {"EraseLettersAllSpBtn", true, true},
        {"ExchangeAcrossDownSpBtn", true, true},
        {"ZoomInSpBtn", true, true},
        {"PatternEditSpBtn", true, true},
        {"VPCursorLetterSpBtn", true, true},
        {"EraseLettersSpBtn", true, true},
        {"RejectWordSpBtn", true, true},
        {"HelpSpBtn", true, true},
        {"PublishSpBtn", true, false},
        {"PlaySpBtn", false, false},
    };
    int right = 0;
    for (const Button &b : order) {
        SCOPED_TRACE(b.name);
        auto *button = window->findChild<QToolButton *>(QLatin1String(b.name));
        ASSERT_NE(button, nullptr);
        EXPECT_GE(button->x(), right) << "overlaps the button before it";
        right = button->geometry().right() + 1;
        EXPECT_EQ(button->isVisibleTo(window), b.visible);
        EXPECT_EQ(button->isEnabled(), b.enabled);
        EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
    }
}

TEST(StepLabelTest, PressPositionChoosesNotebookPage)
{
    const struct {
        int x;
        int page;
    } cases[] = {{0, 0}, {81, 0}, {82, 1}, {206, 1}, {207, 2}, {254, 2}, {255, 3}, {600, 3}};
    for (const auto &c : cases)
        EXPECT_EQ(TMainFm::StepLabelPageAt(c.x), c.page) << "x " << c.x;
}

void pressAt(QWidget *widget, const QPoint &at)
{
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
}

TEST_F(MainWindowTest, AStepLabelChoosesTheTabBelowIt)
{
    TMainFm *window = makeReadyWindow();
    window->SwitchToSymmetrical(false);
    window->show();
    QWidget *strip = window->MainNotebookTabsSpacerPnl;
    const QTabBar *bar = window->MainNotebookPages->tabBar();
    for (int index = bar->count() - 1; index >= 0; --index) {
        if (!bar->isTabVisible(index))
            continue;
        SCOPED_TRACE(bar->tabText(index).toStdString());
        const QRect tab = bar->tabRect(index);
        for (int x : {tab.left() + 2, tab.center().x(), tab.right() - 2}) {
            pressAt(strip, QPoint(strip->mapFromGlobal(bar->mapToGlobal(QPoint(x, 0))).x(), 8));
            EXPECT_EQ(window->MainNotebookPages->currentIndex(), index) << "x " << x;
        }
    }
}

TEST_F(MainWindowTest, PageArrowsWrapAround)
{
    TMainFm *window = makeReadyWindow();
    window->SetPageCount(3, 2);
    window->SetCurrentPage(1);
    window->PageLeftPBClick();
    EXPECT_EQ(CurrentPage, 3);
    EXPECT_EQ(window->ViewTabCaption(), "Page 3");
    window->PageRightPBClick();
    EXPECT_EQ(CurrentPage, 1);
    EXPECT_EQ(window->ViewTabCaption(), "Page 1");
    window->PageRightPBClick();
    EXPECT_EQ(CurrentPage, 2);
    pressAt(window->PageLeftPB, QPoint(8, 8));
    EXPECT_EQ(CurrentPage, 1);
    pressAt(window->PageRightPB, QPoint(12, 8));
    EXPECT_EQ(CurrentPage, 2);
}

} // namespace
