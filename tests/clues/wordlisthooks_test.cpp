// The document's side of the word-and-clue editor and the clue-grid views: the editor reports
// word edits through DocHooks and clue edits of placed words into the grids; only the clue
// column can be edited in a view; unticking the alternates scrolls to the selected alternate.
#include "cluesview.h"
#include "testdoc.h"

#include "cluesedit.h"

namespace {

class WordListHooksTest : public DocTest
{};

TEST_F(WordListHooksTest, TheEditorReportsWordsToTheWindowAndCluesToTheGrids)
{
    TCluesEdit editor;
    TCluesEditWordList list(&editor);
    WordList = &list;
    QList<int> changed;
    DocHooks.ClueEditorWordChanged = [&](int entry) { changed << entry; };
    setGrid({"ANT"});
    RebuildClueGrids();
    editor.AddEntry(QStringLiteral("ANT"));
    editor.SetSlotLabel(0, QStringLiteral("1 A"));
    editor.SetCaret(0, 4);

    editor.TypeText(QStringLiteral("S"));
    EXPECT_EQ(changed, QList<int>{0}) << "the word changed";
    editor.TypeText(QStringLiteral("S"));
    EXPECT_EQ(changed, (QList<int>{0, 0}));

    // The word is ANTSS now and no longer the grid's ANT: its clue goes nowhere.
    changed.clear();
    editor.TypeText(QStringLiteral("\tWorker"));
    EXPECT_TRUE(changed.isEmpty()) << "only the clue changed";
    EXPECT_EQ(CluesAcrossSG->Cell(1, 1), QStringLiteral(" "));

    // Back to ANT: the placed word's clue reaches its row and the answer memory.
    editor.SetAllText(QStringLiteral("ANT"));
    editor.SetSlotLabel(0, QStringLiteral("1 A"));
    editor.SetCaret(0, 4);
    editor.TypeText(QStringLiteral("\tWorker"));
    EXPECT_EQ(CluesAcrossSG->Cell(1, 1), QStringLiteral("Worker"));
    EXPECT_EQ(CurrentCluesSL->Value(QStringLiteral("ANT")), QStringLiteral("Worker"));
    WordList = &words;
}

TEST_F(WordListHooksTest, OnlyTheClueColumnOfAnswerRowsIsEditable)
{
    setGrid({"ANT"});
    RebuildClueGrids();
    EXPECT_TRUE(CluesAcrossSG->flags(CluesAcrossSG->index(1, 1)) & Qt::ItemIsEditable);
    for (int column : {0, 2, 3, 4})
        EXPECT_FALSE(CluesAcrossSG->flags(CluesAcrossSG->index(1, column)) & Qt::ItemIsEditable) << column;
    EXPECT_FALSE(CluesAcrossSG->flags(CluesAcrossSG->index(0, 1)) & Qt::ItemIsEditable) << "the header row";
}

TEST_F(WordListHooksTest, UntickingTheAlternatesScrollsToTheSelectedAlternatesAnswer)
{
    QStringList rows;
    for (int r = 0; r < 10; ++r)
        rows << QStringLiteral("--*--");
    setGrid(rows);
    RebuildClueGrids();
    int scrolledGrid = -1, top = -1;
    DocHooks.VisibleClueRows = [](int) { return 6; };
    DocHooks.ScrollClueGrid = [&](int grid, int t) {
        scrolledGrid = grid;
        top = t;
    };
    // The window maps an alternate row to its answer for adopting; the toggle needs the row itself.
    DocHooks.GetSelectedClueRow = [](int &grid, int &row) {
        grid = 0;
        row = 1;
        return true;
    };
    const int downRow = AlternateDownRow + 2;
    DocHooks.SelectedAlternateRow = [downRow] { return downRow; };
    DocControls.ShowAlternates = false;
    ToggleAlternateCluesView();
    EXPECT_EQ(scrolledGrid, 1) << "a row below the DOWN heading scrolls the down grid";
    EXPECT_GE(top, 1);

    DocHooks.SelectedAlternateRow = [] { return 0; };
    scrolledGrid = -1;
    ToggleAlternateCluesView();
    EXPECT_EQ(scrolledGrid, -1) << "no alternate selected: nothing scrolls";
}

} // namespace
