// The clue grids of the other-clues page: the columns shown, the answer-column mode, clue edits,
// the column divider, adopting alternates and the adopt and unadopt links.
#include "mainwindowtest.h"

#include "cluegrids.h"
#include "cluespg.h"
#include "trv600.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableView>

namespace {

const QString kGarden = QStringLiteral(TRV_TEST_DATA) + "/main/garden.trv";

void sendMouse(QWidget *widget, QEvent::Type type, const QPoint &at, Qt::MouseButton button = Qt::LeftButton)
{
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)),
                      type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void pressKey(QWidget *widget, int key, const QString &text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
}

TEST(ClueGridHelpers, ColumnWidthsTargetsAndAnswerRows)
{
    struct Widths {
        int answer, client, expectAnswer, expectClue;
    } widths[] = {{120, 360, 120, 239}, {400, 360, 355, 4}, {2, 360, 5, 354}};
    for (const Widths &w : widths) {
        const TClueColumnWidths got = ClueColumnWidths(w.answer, w.client);
        EXPECT_EQ(got.Answer, w.expectAnswer) << w.answer;
        EXPECT_EQ(got.Clue, w.expectClue) << w.answer;
    }

    struct Target {
        const char *cell;
        char direction;
        int row;
    } targets[] = {{"A12", 'A', 12}, {"D3", 'D', 3}, {"", ' ', 0}, {"D", 'D', 0}, {"Ax", 'A', 0}};
    for (const Target &t : targets) {
        QChar direction;
        int row = -1;
        ParseAlternateTarget(QLatin1String(t.cell), direction, row);
        EXPECT_EQ(direction, QLatin1Char(t.direction)) << t.cell;
        EXPECT_EQ(row, t.row) << t.cell;
    }

    TClueGrid grid;
    grid.SetRowCount(6);
    grid.SetCell(0, 1, " 1 CATS");
    grid.SetCell(2, 1, "A1");
    grid.SetCell(1, 2, "An alternate");
    grid.SetCell(0, 4, "DOWN");
    grid.SetCell(0, 5, " 1 COW");
    grid.SetCell(2, 5, "D1");
    EXPECT_EQ(AnswerRowAtOrAbove(grid, 2), 1);
    EXPECT_EQ(AnswerRowAtOrAbove(grid, 4), 1) << "the heading is no answer";
    EXPECT_EQ(AnswerRowAtOrAbove(grid, 5), 5);
}

class ClueGridsTest : public MainWindowTest
{
protected:
    /** The garden puzzle (5 x 5: CATS and WINGS across, COW, TANS and SON down) on the
     *  other-clues page of a shown window. */
    TMainFm *gardenOnCluesPage()
    {
        TMainFm *window = makeReadyWindow(kGarden);
        window->resize(1100, 800);
        window->show();
        window->ShowNotebookPage(3);
        QApplication::processEvents();
        return window;
    }

    static QPoint cellCentre(QTableView *view, int row, int column)
    {
        return view->visualRect(view->model()->index(row, column)).center();
    }
};

TEST_F(ClueGridsTest, OnlyTheAnswerAndTheClueShowWithTheClueTakingTheRest)
{
    TMainFm *window = gardenOnCluesPage();
    ASSERT_EQ(window->ActiveNotebookPage(), 3);
    auto check = [](QTableView *view) {
        for (int column = 2; column < view->model()->columnCount(); ++column)
            EXPECT_TRUE(view->isColumnHidden(column)) << view->objectName().toStdString() << " " << column;
        EXPECT_EQ(view->columnWidth(0) + view->columnWidth(1) + 1, view->viewport()->width())
            << view->objectName().toStdString();
        EXPECT_GT(view->columnWidth(1), view->columnWidth(0));
        EXPECT_FALSE(view->horizontalScrollBar()->isVisible());
    };
    check(window->CluesAcrossSG);
    check(window->CluesDownSG);
    // A rebuild resets the models; the columns stay as they were.
    RebuildClueGrids();
    QApplication::processEvents();
    check(window->CluesAcrossSG);
    window->CluesShowAlternatesCB->click();
    QApplication::processEvents();
    check(window->CluesAlternateSG);
}

TEST_F(ClueGridsTest, AnswerColumnModeHighlightsRowsByTheKeys)
{
    TMainFm *window = gardenOnCluesPage();
    QTableView *across = window->CluesAcrossSG;
    TClueGridsController *c = window->ClueGrids;
    sendMouse(across->viewport(), QEvent::MouseButtonPress, cellCentre(across, 1, 0));
    sendMouse(across->viewport(), QEvent::MouseButtonRelease, cellCentre(across, 1, 0));
    EXPECT_TRUE(c->AnswerColumnMode);
    EXPECT_EQ(c->ActiveGrid, AcrossClueGrid);
    EXPECT_EQ(c->SelectedClueRow, 1);
    EXPECT_NE(across->currentIndex().column(), 0) << "column 0 is never the selected cell";

    struct Step {
        int key;
        int row;
        bool mode;
    } steps[] = {{Qt::Key_Down, 2, true}, {Qt::Key_Down, 2, true},   {Qt::Key_Up, 1, true},
                 {Qt::Key_Up, 1, true},   {Qt::Key_Right, 1, false}, {Qt::Key_Left, 1, true}};
    for (const Step &s : steps) {
        pressKey(across, s.key);
        EXPECT_EQ(c->SelectedClueRow, s.row) << s.key;
        EXPECT_EQ(c->AnswerColumnMode, s.mode) << s.key;
    }
    int grid = -1, row = 0;
    EXPECT_TRUE(window->GetSelectedClueRow(grid, row));
    EXPECT_EQ(grid, 0);
    EXPECT_EQ(row, 1);
}

TEST_F(ClueGridsTest, AnEditedClueIsStoredAndEnterGoesToTheNextRow)
{
    TMainFm *window = gardenOnCluesPage();
    QTableView *across = window->CluesAcrossSG;
    PuzzleModified = false;
    across->setFocus();
    const QModelIndex first = across->model()->index(1, 1);
    across->setCurrentIndex(first);
    across->edit(first);
    auto *editor = across->viewport()->findChild<QLineEdit *>();
    ASSERT_NE(editor, nullptr);
    editor->setText("Purring pets");
    pressKey(editor, Qt::Key_Return);
    EXPECT_EQ(::CluesAcrossSG->Cell(1, 1), "Purring pets");
    EXPECT_EQ(CurrentCluesSL->Value("CATS"), "Purring pets");
    EXPECT_TRUE(PuzzleModified);
    EXPECT_EQ(across->currentIndex().row(), 2);
    EXPECT_EQ(window->ClueGrids->SelectedClueRow, 2);
}

TEST_F(ClueGridsTest, TheDividerDragsTheAnswerColumnOfAllThreeGrids)
{
    TMainFm *window = gardenOnCluesPage();
    QTableView *across = window->CluesAcrossSG;
    const int before = across->columnWidth(0);
    const QString clue = ::CluesAcrossSG->Cell(1, 1);
    QWidget *port = across->viewport();
    sendMouse(port, QEvent::MouseMove, QPoint(before + 1, 5), Qt::NoButton);
    EXPECT_EQ(port->cursor().shape(), Qt::SplitHCursor);
    sendMouse(port, QEvent::MouseButtonPress, QPoint(before + 1, 5));
    sendMouse(port, QEvent::MouseMove, QPoint(before + 31, 5));
    sendMouse(port, QEvent::MouseButtonRelease, QPoint(before + 31, 5));
    for (QTableView *view : {window->CluesAcrossSG, window->CluesDownSG, window->CluesAlternateSG})
        EXPECT_EQ(view->columnWidth(0), before + 31) << view->objectName().toStdString();
    EXPECT_EQ(across->columnWidth(0) + across->columnWidth(1) + 1, port->width());
    EXPECT_EQ(::CluesAcrossSG->Cell(1, 1), clue) << "no cell was edited";
    EXPECT_FALSE(across->indexWidget(across->currentIndex())) << "no edit was started";
}

TEST_F(ClueGridsTest, AdoptAndUnadoptFollowTheSelectedRow)
{
    TMainFm *window = gardenOnCluesPage();
    TClueGridsController *c = window->ClueGrids;
    ::CluesAcrossSG->SetCell(0, 2, QStringLiteral(" 3 WI") + QChar(TRV_EMPTY) + "GS");
    struct Case {
        const char *name;
        int grid;
        int row;
        bool themeWord;
        bool adopt;
        bool unadopt;
    } cases[] = {
        {"no selection", NoClueGrid, 0, false, false, false},
        {"a generic answer", AcrossClueGrid, 1, false, true, false},
        {"one of the user's words", AcrossClueGrid, 1, true, false, true},
        {"an answer with an open cell", AcrossClueGrid, 2, false, false, false},
        {"a down answer", DownClueGrid, 1, false, true, false},
    };
    for (const Case &k : cases) {
        c->ActiveGrid = k.grid;
        c->SelectedClueRow = k.row;
        c->AnswerColumnMode = false;
        if (k.row > 0)
            c->Model(k.grid)->Row(k.row).ThemeWord = k.themeWord;
        window->UpdateThemeAdoptEnables();
        EXPECT_EQ(window->CluesAdoptLnk->isEnabled(), k.adopt) << k.name;
        EXPECT_EQ(window->pumAdopt->isEnabled(), k.adopt) << k.name;
        EXPECT_EQ(window->CluesUnadoptLnk->isEnabled(), k.unadopt) << k.name;
        EXPECT_EQ(window->pumUnadopt->isEnabled(), k.unadopt) << k.name;
        EXPECT_EQ(window->CluesAdoptLnk->font().underline(), k.adopt) << k.name;
    }
}

TEST_F(ClueGridsTest, AlternatesAreAdoptedByDoubleClickAndTheHeadingFollowsTheScroll)
{
    TMainFm *window = gardenOnCluesPage();
    QStringList &alternates = ::CluesAcrossSG->EnsureAlternates(1);
    alternates << "Feline friends";
    QStringList &downAlternates = ::CluesDownSG->EnsureAlternates(::CluesDownSG->RowCount() - 1);
    for (int i = 0; i < 60; ++i) {
        alternates << QStringLiteral("Alternate %1").arg(i);
        downAlternates << QStringLiteral("Down alternate %1").arg(i);
    }
    window->CluesShowAlternatesCB->click();
    QApplication::processEvents();
    QTableView *view = window->CluesAlternateSG;
    EXPECT_TRUE(view->isVisible());
    EXPECT_FALSE(window->CluesAcrossSG->isVisible());
    EXPECT_TRUE(window->AltLbl->isVisible());
    EXPECT_TRUE(window->mCluesShowAlt->isChecked());

    QChar direction;
    int target = 0;
    window->AlternateRowTarget(1, direction, target);
    EXPECT_EQ(direction, QLatin1Char('A'));
    EXPECT_EQ(target, 1);

    // An alternate row stands for no answer; its answer row does.
    int grid = -1, row = 0;
    sendMouse(view->viewport(), QEvent::MouseButtonPress, cellCentre(view, 2, 1));
    sendMouse(view->viewport(), QEvent::MouseButtonRelease, cellCentre(view, 2, 1));
    EXPECT_FALSE(window->GetSelectedClueRow(grid, row));
    sendMouse(view->viewport(), QEvent::MouseButtonDblClick, cellCentre(view, 2, 1));
    EXPECT_EQ(::CluesAcrossSG->Cell(1, 1), "Feline friends");
    EXPECT_EQ(::CluesAlternateSG->Cell(1, 1), "Feline friends");
    EXPECT_EQ(CurrentCluesSL->Value("CATS"), "Feline friends");

    EXPECT_EQ(window->AcrossLbl->text(), "ACROSS");
    view->scrollToBottom();
    QApplication::processEvents();
    EXPECT_EQ(window->AcrossLbl->text(), "DOWN");
    window->CluesShowAlternatesCB->click();
    EXPECT_EQ(window->AcrossLbl->text(), "ACROSS");
    EXPECT_TRUE(window->CluesAcrossSG->isVisible());
}

} // namespace
