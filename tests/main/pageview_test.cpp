// The page view: the printed page as the view shows it, and what a change leaves behind.
#include "globals.h"
#include "layoutsettings.h"
#include "mainwindowtest.h"

#include "alphabet.h"
#include "cluespg.h"
#include "fileio.h"
#include "printersource.h"
#include "printing.h"
#include "puzzlefiles.h"
#include "trv600.h"
#include "viewpaint.h"
#include "viewport.h"
#include "wysiwyg.h"

#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QTabBar>

namespace {

const QString kFilled = QStringLiteral(TRV_TEST_DATA) + "/main/filled15.trv";

// The dark pixels of a rectangle of the image, cropped to their bounding box.
QImage darkGlyph(const QImage &image, const TPixelRect &r)
{
    int left = r.Right, top = r.Bottom, right = r.Left - 1, bottom = r.Top - 1;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    if (right < left)
        return QImage();
    return image.copy(left, top, right - left + 1, bottom - top + 1);
}

// Inside a cell, clear of its grid lines and of its number corner.
TPixelRect letterArea(const TPixelRect &cell)
{
    const int w = cell.Right - cell.Left;
    const int h = cell.Bottom - cell.Top;
    return {cell.Left + w / 6, cell.Top + h / 3, cell.Right - w / 6, cell.Bottom - h / 10};
}

// Fails the test when a box is asked for while the page image is being painted.
class PaintWatchPrompter : public ScriptedPrompter
{
public:
    const QImage *Image = nullptr;
    Button ask(const QString &text, const QString &caption, Kind kind, Buttons buttons, int help) override
    {
        if (Image && Image->paintingActive())
            ADD_FAILURE() << "a box during a paint: " << text.toStdString();
        return ScriptedPrompter::ask(text, caption, kind, buttons, help);
    }
};

} // namespace

class PageViewTest : public MainWindowTest
{
protected:
    TMainFm *openAt100()
    {
        TMainFm *window = makeReadyWindow(kFilled);
        window->PixelsPerInch = 96;
        window->ViewPort->resize(900, 1100);
        for (TClueGrid *grid : {CluesAcrossSG, CluesDownSG})
            for (int r = 1; r < grid->RowCount(); ++r)
                grid->SetCell(1, r, QStringLiteral("Clue for ") + AnswerOfKey(grid->Cell(0, r)));
        ClueLayoutDirty = true;
        window->ShowViewTab(QStringLiteral("Page 1"));
        window->FreeZoom(100, PaperWidth / 2, PaperHeight / 2);
        compose(window);
        return window;
    }
    static void compose(TMainFm *window)
    {
        window->InvalidateView();
        window->ViewPortPaint();
    }
    ScriptedPrompter m_prompter;
};

TEST_F(PageViewTest, AShortenedTitleLeavesNothingOfTheOldOne)
{
    TMainFm *window = openAt100();
    window->TitleEd->setText(QStringLiteral("A Rather Long Title For The Page"));
    window->TitleEdChange();
    window->ViewPortPaint();
    window->TitleEd->setText(QStringLiteral("A Rather"));
    window->TitleEdChange();
    window->ViewPortPaint();
    const QImage edited = window->WorkBitmap().copy();
    compose(window);
    EXPECT_TRUE(edited == window->WorkBitmap());
    EXPECT_TRUE(m_prompter.boxes.isEmpty());
}

TEST_F(PageViewTest, AClueEditThatDropsALineRepaintsAsAFreshPage)
{
    TMainFm *window = openAt100();
    // A clue of two lines, then one: the clues after it move up and the last line goes blank.
    const QString longClue =
        QStringLiteral("A clue long enough to need a second line in its column of the page");
    CluesAcrossSG->SetCell(1, 1, longClue);
    ClueFlow_ClueWasChanged(CluesAcrossSG, 1);
    compose(window);
    const int lines = int(CluesAcrossSG->Row(1).Lines.size());
    ASSERT_GE(lines, 2);
    const int last = LastClueLine();
    const QImage beforeEdit = window->WorkBitmap().copy();

    CluesAcrossSG->SetCell(1, 1, QStringLiteral("Short"));
    ClueFlow_ClueWasChanged(CluesAcrossSG, 1);
    EXPECT_EQ(LastClueLine(), last - (lines - 1));
    const QImage edited = window->WorkBitmap().copy();
    EXPECT_FALSE(edited == beforeEdit); // repainted at once, without a full compose
    compose(window);
    EXPECT_TRUE(edited == window->WorkBitmap());
}

TEST_F(PageViewTest, TheUpsideDownSolutionShowsTheLastCellFirst)
{
    TMainFm *window = openAt100();
    window->ShowViewTab(QStringLiteral("Solution"));
    window->FreeZoom(100, PaperWidth / 2, PaperHeight / 2);
    compose(window);
    ASSERT_EQ(CurrentPage, SolutionPage);
    ASSERT_NE(GetCellLetter(1, 1).toUpper(), GetCellLetter(Columns, Rows).toUpper());
    const QImage upright = darkGlyph(window->WorkBitmap(), letterArea(CellPixelRectFor(1, 1)));
    const QImage last = darkGlyph(window->WorkBitmap(), letterArea(CellPixelRectFor(Columns, Rows)));
    SolutionUpsideDown = true;
    compose(window);
    const QImage turned = darkGlyph(window->WorkBitmap(), letterArea(CellPixelRectFor(1, 1)));
    SolutionUpsideDown = false;
    ASSERT_FALSE(last.isNull());
    ASSERT_FALSE(turned.isNull());
    // The same letter, drawn a fraction of a pixel elsewhere: the same size within a pixel, and
    // no longer the letter that stood there.
    EXPECT_NEAR(turned.width(), last.width(), 1);
    EXPECT_NEAR(turned.height(), last.height(), 1);
    EXPECT_FALSE(turned == upright);
}

TEST_F(PageViewTest, AnA4PuzzleWithoutAPrinterStaysA4)
{
    if (HasPrinter())
        GTEST_SKIP() << "this machine has a printer";
    QFile source(kFilled);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    QByteArray text = source.readAll();
    text.replace("[Auto-Layout]",
                 "[Paper Size and Margins]\r\nPaperWidth=8.27\r\nPaperHeight=11.69\r\n\r\n[Auto-Layout]");
    const QString a4 = programFile(QStringLiteral("a4.trv"));
    writeFile(a4, text);
    TMainFm *window = makeReadyWindow(a4);
    ASSERT_DOUBLE_EQ(PaperWidth, 8.27);
    const QString before = programFile(QStringLiteral("before.trv"));
    const QString after = programFile(QStringLiteral("after.trv"));
    ASSERT_TRUE(SavePuzzleFile(before));
    window->ShowViewTab(QStringLiteral("Page 1"));
    compose(window);
    window->ShowViewTab(QStringLiteral("Solution"));
    compose(window);
    EXPECT_DOUBLE_EQ(PaperWidth, 8.27);
    EXPECT_DOUBLE_EQ(PaperHeight, 11.69);
    ASSERT_TRUE(SavePuzzleFile(after));
    QFile b(before), a(after);
    ASSERT_TRUE(b.open(QIODevice::ReadOnly));
    ASSERT_TRUE(a.open(QIODevice::ReadOnly));
    EXPECT_EQ(b.readAll(), a.readAll());
}

TEST_F(PageViewTest, TheOverflowMessageAndTheTabsWaitTillThePaintIsOver)
{
    TMainFm *window = openAt100();
    PaintWatchPrompter watch;
    watch.Image = &window->WorkBitmap();
    const int tabs = window->ViewTabCtl->count();
    ClueTextFontSize = 96; // far more than nine pages of clues
    compose(window);
    EXPECT_GT(OverflowLineCount, 0);
    EXPECT_TRUE(watch.boxes.isEmpty());
    EXPECT_EQ(window->ViewTabCtl->count(), tabs); // not rebuilt inside the paint
    QCoreApplication::processEvents();
    ASSERT_EQ(watch.boxes.size(), 1);
    EXPECT_EQ(watch.lastText(),
              QStringLiteral("Your clues take up too many pages. Try to pack more clues into fewer pages."));
    EXPECT_EQ(window->ViewTabCtl->count(), PageCount + 4); // the pages, penciled, clues, solution, custom
    // The same overflowing layout painted again says nothing more.
    compose(window);
    QCoreApplication::processEvents();
    EXPECT_EQ(watch.boxes.size(), 1);
}
