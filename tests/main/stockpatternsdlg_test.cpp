// The stock-pattern dialog over a small StockPat of its own: the miniatures and the selection
// frame, selection by keys and mouse, loading and its refusals, and Cancel after browsing.
#include "mainwindowtest.h"

#include "checkpts.h"
#include "cluesedit.h"
#include "cluespg.h"
#include "hintfm.h"
#include "stockpatternsdlg.h"
#include "trv600.h"
#include "uidialogs.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>
#include <QTextEdit>
#include <QToolButton>

namespace {

// Five patterns: two rows of cells, the second with three empty cells. Pattern 4 holds a "|",
// pattern 5 a short row; both are shown but refused.
const char *const kStockPat = "TRV -- Stock Patterns\n"
                              "BEGIN\n"
                              "(5*5) Open\n-----\n-----\n-----\n-----\n-----\n"
                              "(5*5) Corners\n*---*\n-----\n-----\n-----\n*---*\n"
                              "(5*5) Middle\n-----\n-----\n--*--\n-----\n-----\n"
                              "(3*3) Bar\n--|\n---\n---\n"
                              "(4*3) Short\n----\n---\n----\n"
                              "END.\n";

void sendKey(QWidget *widget, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

void sendMouse(QWidget *widget, QEvent::Type type, const QPoint &at)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), Qt::LeftButton, held,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

QPoint cellCentre(QTableView *grid, int column, int row)
{
    return grid->visualRect(grid->model()->index(row, column)).center();
}

void clickCell(QTableView *grid, int column, int row)
{
    const QPoint at = cellCentre(grid, column, row);
    sendMouse(grid->viewport(), QEvent::MouseButtonPress, at);
    sendMouse(grid->viewport(), QEvent::MouseButtonRelease, at);
}

// The engine's grid, row by row, for comparing states.
QString gridText()
{
    QString text = QStringLiteral("%1x%2:").arg(TRVGetWidth()).arg(TRVGetHeight());
    for (int r = 1; r <= TRVGetHeight(); ++r)
        for (int c = 1; c <= TRVGetWidth(); ++c)
            text += QChar(TRVGetCell(c, r));
    return text;
}

class StockPatternsDlgTest : public MainWindowTest
{
protected:
    TMainFm *open(const QByteArray &stockPat = kStockPat)
    {
        if (!stockPat.isEmpty())
            writeFile(programFile("StockPat"), stockPat);
        TMainFm *window = makeReadyWindow();
        if (FreeformMode)
            window->SwitchToSymmetrical(true);
        window->show();
        QCoreApplication::processEvents();
        return window;
    }

    /** The dialog as the window shows it, with the grid laid out. */
    std::unique_ptr<TStockPatternsDlg> showDialog(TMainFm *window)
    {
        auto dialog = std::make_unique<TStockPatternsDlg>(window);
        dialog->show();
        QCoreApplication::processEvents();
        return dialog;
    }

    ScriptedPrompter prompter;
    ScriptedUiDialogs dialogs;
};

TEST_F(StockPatternsDlgTest, MiniaturesAndTheSelectionFrameAreDrawn)
{
    TMainFm *window = open();
    auto dialog = showDialog(window);
    ASSERT_TRUE(dialog->FailureText().isEmpty());
    ASSERT_EQ(dialog->Model()->rowCount(), 2);
    EXPECT_EQ(dialog->Model()->index(0, 1).data().toString(), "  5  5Corners");
    ASSERT_TRUE(dialog->PatternsDGSelectCell(1, 0));

    QTableView *grid = dialog->PatternsDG;
    const QImage image = grid->viewport()->grab().toImage();
    // A cell's square (column c, row r from 0) of the miniature in a grid cell.
    auto square = [&](int gridColumn, int gridRow, int c, int r, int columns, int rows) {
        const QRect cell = grid->visualRect(grid->model()->index(gridRow, gridColumn));
        const int w = cell.width();
        const QPoint topLeft(cell.left() + (w - 5 * columns) / 2, cell.top() + (w - 5 * rows) / 2);
        return image.pixelColor(topLeft + QPoint(5 * c + 2, 5 * r + 2));
    };
    const struct {
        const char *what;
        int gridColumn, gridRow, c, r, columns, rows;
        QColor colour;
    } cases[] = {
        {"open cell", 0, 0, 0, 0, 5, 5, Qt::white},
        {"block", 1, 0, 0, 0, 5, 5, Qt::black},
        {"block in the middle", 2, 0, 2, 2, 5, 5, Qt::black},
        {"refused character", 3, 0, 2, 0, 3, 3, Qt::green},
        {"missing cell", 0, 1, 3, 1, 4, 3, Qt::red},
    };
    for (const auto &k : cases)
        EXPECT_EQ(square(k.gridColumn, k.gridRow, k.c, k.r, k.columns, k.rows), k.colour) << k.what;
    // An open cell has a black outline.
    const QRect first = grid->visualRect(grid->model()->index(0, 0));
    const int w = first.width();
    EXPECT_EQ(image.pixelColor(first.left() + (w - 25) / 2, first.top() + (w - 25) / 2), QColor(Qt::black));

    // The frame: blue over white, 4 pixels inside the selected cell only.
    auto frameSpot = [&](int gridColumn) {
        const QRect cell = grid->visualRect(grid->model()->index(0, gridColumn));
        return image.pixelColor(cell.left() + cell.width() / 2, cell.top() + 5);
    };
    EXPECT_EQ(frameSpot(1), QColor(Qt::blue));
    EXPECT_EQ(frameSpot(0), QColor(Qt::white));

    // Moving the selection moves the frame.
    dialog->PatternsDGSelectCell(0, 0);
    const QImage moved = grid->viewport()->grab().toImage();
    const QRect second = grid->visualRect(grid->model()->index(0, 1));
    EXPECT_EQ(moved.pixelColor(second.left() + second.width() / 2, second.top() + 5), QColor(Qt::white));
    EXPECT_EQ(moved.pixelColor(first.left() + first.width() / 2, first.top() + 5), QColor(Qt::blue));
}

TEST_F(StockPatternsDlgTest, KeysAndMouseSelectOnlyCellsWithAPattern)
{
    TMainFm *window = open();
    auto dialog = showDialog(window);
    QTableView *grid = dialog->PatternsDG;
    ASSERT_EQ(dialog->SelectedPattern(), 0);

    // Nothing selected: Left does nothing, Down takes the first pattern of the top row.
    sendKey(grid, Qt::Key_Left);
    EXPECT_EQ(dialog->SelectedPattern(), 0);
    sendKey(grid, Qt::Key_Down);
    EXPECT_EQ(dialog->SelectedPattern(), 1);
    sendKey(grid, Qt::Key_Right);
    EXPECT_EQ(dialog->SelectedPattern(), 2);
    // Below pattern 2 is an empty cell: the selection stays.
    sendKey(grid, Qt::Key_Down);
    EXPECT_EQ(dialog->SelectedPattern(), 2);
    EXPECT_EQ(dialog->FrameColumn(), 1);
    EXPECT_EQ(dialog->FrameRow(), 0);

    clickCell(grid, 0, 1);
    EXPECT_EQ(dialog->SelectedPattern(), 5);
    clickCell(grid, 2, 1);
    EXPECT_EQ(dialog->SelectedPattern(), 5);
    EXPECT_EQ(dialog->FrameRow(), 1);
    EXPECT_EQ(dialog->FrameColumn(), 0);
    EXPECT_EQ(gridText().left(6), "15x15:") << "nothing is loaded while not browsing";

    // A double click loads the pattern under the pointer and closes with OK.
    const QPoint at = cellCentre(grid, 1, 0);
    sendMouse(grid->viewport(), QEvent::MouseButtonPress, at);
    sendMouse(grid->viewport(), QEvent::MouseButtonRelease, at);
    sendMouse(grid->viewport(), QEvent::MouseButtonDblClick, at);
    EXPECT_EQ(dialog->SelectedPattern(), 2);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(gridText(), "5x5:" + QString(QChar(TRV_BLOCK)) + QString(3, QChar(TRV_EMPTY)) +
                              QChar(TRV_BLOCK) + QString(15, QChar(TRV_EMPTY)) + QChar(TRV_BLOCK) +
                              QString(3, QChar(TRV_EMPTY)) + QChar(TRV_BLOCK));
}

TEST_F(StockPatternsDlgTest, OkRefusesWithTheReasonAndStays)
{
    TMainFm *window = open();
    const struct {
        int column, row;
        const char *message;
    } cases[] = {
        {-1, -1,
         "No stock pattern is selected. To select a stock pattern, click on it with the mouse. "
         "A blue rectangle will appear to show you which stock pattern is selected. If you "
         "do not want to load a stock pattern, press cancel."},
        {3, 0,
         "That pattern can not be loaded. It has a problem (invalid character) starting at "
         "column 3 and row 1."},
        {0, 1,
         "That pattern can not be loaded. It has a problem (invalid character) starting at "
         "column 4 and row 2."},
    };
    const QString before = gridText();
    const int undo = UndoCount();
    for (const auto &k : cases) {
        SCOPED_TRACE(k.message);
        auto dialog = showDialog(window);
        if (k.row >= 0) {
            ASSERT_TRUE(dialog->PatternsDGSelectCell(k.column, k.row));
        }
        prompter.boxes.clear();
        dialog->OKBtn->click();
        ASSERT_EQ(prompter.boxes.size(), 1);
        EXPECT_EQ(prompter.boxes[0].text, QString::fromLatin1(k.message));
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_FALSE(dialog->PatternLoaded());
        EXPECT_EQ(gridText(), before);
        EXPECT_EQ(UndoCount(), undo);
    }
}

TEST_F(StockPatternsDlgTest, CancelAfterBrowsingPutsTheGridBackInOneUndo)
{
    TMainFm *window = open();
    const QString before = gridText();
    const int undo = UndoCount();
    QStringList browsed;
    dialogs.OnModal = [&](QDialog &d) {
        auto &dialog = static_cast<TStockPatternsDlg &>(d);
        dialog.StockBrowseCB->click();
        for (int column : {0, 1, 2}) {
            dialog.PatternsDGSelectCell(column, 0);
            browsed << gridText();
        }
        dialog.CancelBtn->click();
    };
    window->StockPatternSpBtn->click();
    EXPECT_EQ(dialogs.Asked, QStringList{"modal: StockPatternsDlg"});
    ASSERT_EQ(browsed.size(), 3);
    EXPECT_EQ(browsed[0].left(4), "5x5:");
    EXPECT_NE(browsed[0], browsed[1]);
    EXPECT_NE(browsed[1], browsed[2]);
    EXPECT_EQ(gridText(), before);
    EXPECT_EQ(UndoCount(), undo);
    EXPECT_FALSE(window->StockPatternSpBtn->isChecked());

    // Ticking browse with a selection loads it at once; OK keeps the grid, as one undo step.
    dialogs.Asked.clear();
    dialogs.OnModal = [&](QDialog &d) {
        auto &dialog = static_cast<TStockPatternsDlg &>(d);
        dialog.PatternsDGSelectCell(2, 0);
        EXPECT_EQ(gridText(), before);
        dialog.StockBrowseCB->click();
        EXPECT_EQ(gridText().left(4), "5x5:");
        dialog.OKBtn->click();
    };
    window->mGridSelect->trigger();
    EXPECT_EQ(dialogs.Asked, QStringList{"modal: StockPatternsDlg"});
    EXPECT_EQ(TRVGetCell(3, 3), TRV_BLOCK);
    EXPECT_EQ(UndoCount(), undo + 1);
    window->UndoSpBtn->click();
    EXPECT_EQ(gridText(), before);
}

TEST_F(StockPatternsDlgTest, UnreadableFileIsExplainedAndTheDialogCloses)
{
    const struct {
        QByteArray file;
        const char *reason;
    } cases[] = {
        {QByteArray(), "the file 'StockPat' is missing or misplaced, or you donot have enough memory "
                       "available"},
        {"TRV -- Stock Patterns \nBEGIN\nEND.\n", "the StockPat file header \"TRV -- Stock Patterns\" "
                                                  "is corrupted."},
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(k.reason);
        QFile::remove(programFile("StockPat"));
        TMainFm *window = open(k.file);
        prompter.boxes.clear();
        const QString before = gridText();
        window->StockPatternSpBtn->click();
        ASSERT_EQ(prompter.boxes.size(), 1);
        EXPECT_EQ(prompter.boxes[0].text, "No stock patterns are available right now. This is because " +
                                              QString::fromLatin1(k.reason));
        EXPECT_EQ(gridText(), before);
    }
}

TEST_F(StockPatternsDlgTest, HelpShowsTheWideBalloon)
{
    TMainFm *window = open();
    THintFm hint;
    auto dialog = showDialog(window);
    dialog->HelpBtn->click();
    EXPECT_TRUE(hint.isVisible());
    EXPECT_EQ(hint.width(), 520);
    EXPECT_TRUE(
        hint.HintTextMemo->toPlainText().startsWith("The Select Stock Patterns dialog allows you to quickly "
                                                    "select a pattern appropriate for your puzzle."));
    hint.CloseBalloon();
}

TEST_F(StockPatternsDlgTest, CommandsSitInTheGridMenuAndSpeedBarForSymmetricalOnly)
{
    TMainFm *window = open();
    const QList<QAction *> items = window->mGrid->actions();
    const qsizetype at = items.indexOf(window->mGridSelect);
    ASSERT_GT(at, 0);
    EXPECT_EQ(items.at(at - 1)->menu(), window->findChild<QMenu *>("mGridEditing"));
    EXPECT_EQ(window->mGridSelect->text(), "Select Stock Symmetrical &Pattern ...");
    for (const bool symmetrical : {false, true}) {
        window->SetupPagesForType(symmetrical);
        EXPECT_EQ(window->mGridSelect->isEnabled(), symmetrical);
        EXPECT_EQ(window->StockPatternSpBtn->isVisibleTo(window), symmetrical);
    }
}

TEST_F(StockPatternsDlgTest, AutomaticChoiceIsTheSameEachTimeForTheSameWords)
{
    if (!QFile::exists(QStringLiteral(TRV_BIN_DIR "/StockPat")))
        GTEST_SKIP() << "this build made no stock patterns";
    TMainFm *window = open(QByteArray());
    ASSERT_TRUE(QFile::copy(QStringLiteral(TRV_BIN_DIR "/StockPat"), programFile("StockPat")));
    window->ResetGridForType(false);
    for (const char *w : {"OCEAN\tBig water", "ISLAND\tLand in water", "HARBOR\tPort", "LIGHTHOUSE\tBeacon"})
        WordList->AddEntry(QString::fromLatin1(w));
    window->GlueRandomCB->setChecked(false);
    QStringList chosen;
    for (int round = 0; round < 3; ++round) {
        window->ResetGridForType(false);
        ASSERT_TRUE(window->AutoSelectStockPattern());
        chosen << gridText();
    }
    EXPECT_EQ(chosen[0].left(6), "15x15:");
    EXPECT_TRUE(chosen[0].contains(QChar(TRV_BLOCK)));
    EXPECT_EQ(chosen[1], chosen[0]);
    EXPECT_EQ(chosen[2], chosen[0]);
}

TEST_F(StockPatternsDlgTest, ScreenshotOfTheGeneratedPatterns)
{
    if (!QFile::exists(QStringLiteral(TRV_BIN_DIR "/StockPat")))
        GTEST_SKIP() << "this build made no stock patterns";
    TMainFm *window = open(QByteArray());
    ASSERT_TRUE(QFile::copy(QStringLiteral(TRV_BIN_DIR "/StockPat"), programFile("StockPat")));
    auto dialog = showDialog(window);
    ASSERT_FALSE(dialog->NoPatterns());
    QTableView *grid = dialog->PatternsDG;
    // Scroll to the first 15 x 15 pattern and select the one beside it.
    int n = 1;
    for (; n <= dialog->Patterns().Count() && dialog->Patterns().Pattern(n).Columns != 15; ++n) {
    }
    ASSERT_LE(n, dialog->Patterns().Count());
    const int row = (n - 1) / 4;
    grid->scrollTo(grid->model()->index(row, 0), QAbstractItemView::PositionAtTop);
    ASSERT_TRUE(dialog->PatternsDGSelectCell(1, row));
    QCoreApplication::processEvents();
    EXPECT_TRUE(dialog->grab().save(QStringLiteral(TRV_TEST_OUTPUT "/stock-patterns.png")));
}

} // namespace
