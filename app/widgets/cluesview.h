// The clue editor and the clue grids as the window shows them: the editor's word list for the
// document, and the scrolling that keeps the selected answer in sight when the alternate grid is
// shown or hidden.
#pragma once

#include "cluespg.h"

class TCluesEdit;

/** The word list of a TCluesEdit, the main window's word-and-clue editor. It gives the editor
 *  the document's edit reports: a changed or removed word goes to DocHooks.ClueEditorWordChanged,
 *  a changed clue of a placed word to its clue-grid row (ApplyThemeWordClue). */
class TCluesEditWordList : public TWordListAccess
{
public:
    explicit TCluesEditWordList(TCluesEdit *editor);
    int EntryCount() const override;
    QString GetWord(int entry) const override;
    QString GetClue(int entry) const override;
    QString GetSlotLabel(int entry) const override;
    void AddEntry(const QString &text) override;
    void Clear() override;
    void MarkSaved() override;
    bool IsSaved() const override;
    void NotifyAllChanged() override;
    void UpdateScrollBar() override;

private:
    TCluesEdit *m_editor;
};

/** Fills the alternate grid when it is shown and scrolls the grid that comes into use to the
 *  answer selected in the other one, then shows or hides the grids (DocHooks). */
void ToggleAlternateCluesView();
