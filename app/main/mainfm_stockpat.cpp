// The stock-pattern command of the speed bar and the Grid menu.
#include "mainfm.h"

#include "checkpts.h"
#include "stockpatternsdlg.h"
#include "uidialogs.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

void TMainFm::BuildStockPatternMenuItem()
{
    mGridSelect = mGrid->addAction(QStringLiteral("Select Stock Symmetrical &Pattern ..."));
    mGridSelect->setObjectName(QStringLiteral("mGridSelect"));
    connect(mGridSelect, &QAction::triggered, this, &TMainFm::StockPatternSpBtnClick);
}

void TMainFm::StockPatternSpBtnClick()
{
    // A command button, not a tool: it never stays down.
    if (StockPatternSpBtn)
        StockPatternSpBtn->setChecked(false);
    TStockPatternsDlg dialog(this);
    const int result = uiDialogs().RunModal(dialog);
    if (result != QDialog::Rejected) {
        ShowPenciledView();
        return;
    }
    if (dialog.PatternLoaded() && UndoRedoState().UndoEnabled)
        UndoSpBtnClick();
}
