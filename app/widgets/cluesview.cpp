// The clue editor's word list and the scrolling of the clue grids.
#include "cluesview.h"

#include "cluesedit.h"
#include "globals.h"
#include "hourglass.h"

#include <algorithm>
#include <cmath>

// ---- TCluesEditWordList -----------------------------------------------------------------

namespace {

void editorWordChanged(int entry, int)
{
    if (DocHooks.ClueEditorWordChanged)
        DocHooks.ClueEditorWordChanged(entry);
}

void editorClueChanged(int entry, int kind)
{
    if (kind == kEntryChanged && CluesAcrossSG && CluesDownSG && CluesAlternateSG)
        ApplyThemeWordClue(entry);
}

} // namespace

TCluesEditWordList::TCluesEditWordList(TCluesEdit *editor) : m_editor(editor)
{
    m_editor->SetChangeCallbacks(editorWordChanged, editorClueChanged);
}

int TCluesEditWordList::EntryCount() const { return m_editor->EntryCount(); }
QString TCluesEditWordList::GetWord(int entry) const { return m_editor->GetWord(entry); }
QString TCluesEditWordList::GetClue(int entry) const { return m_editor->GetClue(entry); }
QString TCluesEditWordList::GetSlotLabel(int entry) const { return m_editor->GetSlotLabel(entry); }
void TCluesEditWordList::AddEntry(const QString &text) { m_editor->AddEntry(text); }
void TCluesEditWordList::Clear() { m_editor->Clear(); }
void TCluesEditWordList::MarkSaved() { m_editor->MarkSaved(); }
bool TCluesEditWordList::IsSaved() const { return m_editor->IsSaved(); }
void TCluesEditWordList::NotifyAllChanged() { m_editor->NotifyAllChanged(); }
void TCluesEditWordList::UpdateScrollBar() { m_editor->UpdateScrollBar(); }

// ---- The alternate grid ----------------------------------------------------------------

void ToggleAlternateCluesView()
{
    EraseFixedLettersNext = false;
    THourglass busy;
    auto visible = [](int grid) { return DocHooks.VisibleClueRows ? DocHooks.VisibleClueRows(grid) : 0; };
    auto scroll = [](int grid, int top) {
        if (DocHooks.ScrollClueGrid)
            DocHooks.ScrollClueGrid(grid, std::max(top, 1));
    };
    int grid = -1, row = 0;
    bool selected = DocHooks.GetSelectedClueRow && DocHooks.GetSelectedClueRow(grid, row);
    if (DocControls.ShowAlternates) {
        FillAlternateCluesGrid();
        int b = 1;
        if (selected && (grid == 0 || grid == 1)) {
            TClueGrid *g = grid == 0 ? CluesAcrossSG : CluesDownSG;
            bool ok = false;
            int v = g->Cell(2, row).toInt(&ok);
            if (ok && v > 0)
                b = v;
        }
        scroll(2, b - visible(2) / 2);
    } else if (const int a = DocHooks.SelectedAlternateRow ? DocHooks.SelectedAlternateRow() : 0;
               a > 0 && a < CluesAlternateSG->RowCount()) {
        const int d = AlternateDownRow;
        if (d > 0 && a < d) {
            int target = int(std::lround(double(CluesAcrossSG->RowCount() - 1) * a / d));
            target = std::min(target, CluesAcrossSG->RowCount() - 1);
            scroll(0, target - visible(0) / 2);
        } else if (CluesAlternateSG->RowCount() > d) {
            int target = int(std::lround(double(CluesDownSG->RowCount() - 1) * (a - d) /
                                         (CluesAlternateSG->RowCount() - d)));
            target = std::min(target, CluesDownSG->RowCount() - 1);
            scroll(1, target - visible(1) / 2);
        }
    }
    if (DocHooks.ShowAlternateGrid)
        DocHooks.ShowAlternateGrid();
}
