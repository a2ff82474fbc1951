// The spelling check: the Edit menu's command, the words page's link and the check asked for at idle.
#include "mainfm.h"
#include "mainfm_controls.h"

#include "cluesedit.h"
#include "cluespg.h"
#include "spellcheck.h"
#include "spellingdlg.h"
#include "uidialogs.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>

using namespace mainfm;

void TMainFm::BuildSpellingMenuItem()
{
    mEdit->addSeparator();
    mEditSpelling = mEdit->addAction(QStringLiteral("C&heck Spelling ..."));
    mEditSpelling->setObjectName(QStringLiteral("mEditSpelling"));
    connect(mEditSpelling, &QAction::triggered, this, &TMainFm::mEditSpellingClick);
}

TSpellingDlg *TMainFm::EnsureSpellingDlg()
{
    if (!SpellingDlg)
        new TSpellingDlg(this); // registers itself as SpellingDlg
    return SpellingDlg;
}

void TMainFm::IdleSpellingCheck()
{
    if (SpellingDlg && SpellingDlg->CheckPending) {
        SpellingDlg->CheckPending = false;
        SpellingDlg->StartCheck();
    }
}

void TMainFm::mEditSpellingClick()
{
    TSpellingDlg *dialog = EnsureSpellingDlg();
    // The texts as the document holds them; a change goes back through the window's fields.
    TPuzzleSpellingTexts texts(ClueEditor);
    texts.Changed = [this](TPuzzleSpellingTexts::Target target) {
        switch (target) {
        case TPuzzleSpellingTexts::TitleText:
            setTextQuietly(TitleEd, DocControls.PuzzleTitle);
            TitlesChanged();
            break;
        case TPuzzleSpellingTexts::SubtitleText:
            setTextQuietly(SubtitleEd, DocControls.PuzzleSubtitle);
            TitlesChanged();
            break;
        default: InvalidateView(); break;
        }
    };
    dialog->SetTexts(&texts);
    dialog->RepaintView = [this] { InvalidateView(); };
    dialog->CheckPending = true;
    ScheduleIdle();
    uiDialogs().RunModal(*dialog);
    dialog->CheckPending = false;
    dialog->SetTexts(nullptr);
}

void TMainFm::ThemeCheckSpellingLnkClick() { mEditSpellingClick(); }
