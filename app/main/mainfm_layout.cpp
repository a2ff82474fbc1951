// The main window's Layout && Fonts menu, the layout dialog and the Auto-Layout expert's hooks.
#include "mainfm.h"
#include "mainfm_controls.h"

#include "autolayout.h"
#include "checkpts.h"
#include "cluespg.h"
#include "hintfm.h"
#include "inputguard.h"
#include "layoutdlg.h"
#include "printing.h"
#include "prompter.h"

#include <QAction>
#include <QCheckBox>
#include <QFontDialog>
#include <QMenu>
#include <QMenuBar>

using namespace mainfm;

void TMainFm::BuildLayoutMenu()
{
    mLayout = new QMenu(QStringLiteral("&Layout && Fonts"), this);
    mLayout->setObjectName(QStringLiteral("mLayout"));
    // Before the Play and Export menus, as the menu bar lists them.
    QMenu *next = mPlay ? mPlay : mExport;
    menuBar()->insertMenu(next ? next->menuAction() : nullptr, mLayout);
    mLayoutDoAutoLayoutNow = mLayout->addAction(QStringLiteral("&Redo Auto-Layout Now"));
    mLayoutDoAutoLayoutNow->setObjectName(QStringLiteral("mLayoutDoAutoLayoutNow"));
    connect(mLayoutDoAutoLayoutNow, &QAction::triggered, this, &TMainFm::mLayoutDoAutoLayoutNowClick);
    mLayout->addSeparator();
    const struct {
        const char *name;
        const char *caption;
        bool visible;
    } items[] = {
        {"mLayoutConfigure", "&Configure Auto-Layout Expert ...", true},
        {"mLayoutClueColumns", "Clue &Columns ...", true},
        {"mLayoutClueText", "Clue Te&xt ...", true},
        {"mLayoutCredits", "Cre&dits ...", true},
        {"mLayoutGraphics", "&Graphics ...", false},
        {"mLayoutMargin", "&Margin && Border ...", true},
        {"mLayoutPuzzle", "&Puzzle Grid ...", true},
        {"mLayoutSolution", "&Solution Grid ...", true},
        {"mLayoutTitle", "&Title ...", true},
        {"mLayoutWordBank", "&Word Bank ...", true},
    };
    for (const auto &entry : items) {
        QAction *item = mLayout->addAction(QLatin1String(entry.caption));
        item->setObjectName(QLatin1String(entry.name));
        item->setVisible(entry.visible);
        connect(item, &QAction::triggered, this, [this, item] { mLayoutAnyClick(item); });
    }

    // The other menus' ways into the dialog, each with its fixed tab.
    const struct {
        QMenu *menu;
        const char *name;
        const char *caption;
        const char *tab;
    } openers[] = {
        {mClues, "mCluesFont", "Change Clue Font ...", "Clue Text"},
        {mClues, "mCluesColumns", "Change Clue Columns ...", "Clue Columns"},
        {mGrid, "mGridChangePuzzle", "Change Puzzle Grid Size or Position ...", "Puzzle"},
        {mGrid, "mGridChangeSolution", "Change Solution Grid Size ...", "Solution"},
    };
    for (const auto &entry : openers) {
        QAction *item = entry.menu->addAction(QLatin1String(entry.caption));
        item->setObjectName(QLatin1String(entry.name));
        const QString tab = QLatin1String(entry.tab);
        connect(item, &QAction::triggered, this, [this, tab] { OpenLayoutDialogAt(tab); });
    }
}

void TMainFm::ThemeAddTitleLnkClick() { OpenLayoutDialogAt(QStringLiteral("Title")); }

void TMainFm::WordBankLnkClick() { OpenLayoutDialogAt(QStringLiteral("Word Bank")); }

QString TMainFm::LayoutTabTextOfCaption(const QString &caption)
{
    QString text = caption;
    const qsizetype amp = text.indexOf(QLatin1Char('&'));
    if (amp >= 0)
        text.remove(amp, 1);
    text.remove(QStringLiteral(" Grid"));
    text.remove(QLatin1Char('.'));
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

void TMainFm::mLayoutAnyClick(QAction *item) { OpenLayoutDialogAt(LayoutTabTextOfCaption(item->text())); }

int TMainFm::OpenLayoutDialogAt(const QString &tabText)
{
    TLayoutDlgHooks h;
    // The dialog has already put the titles into the document: show them without running the
    // title-edit path (its relayout and the expert) in the middle of storing.
    h.SetTitlesQuietly = [this](const QString &title, const QString &subtitle) {
        setTextQuietly(TitleEd, title);
        setTextQuietly(SubtitleEd, subtitle);
    };
    h.SetAutoLayoutChecked = [this](bool on) {
        DocControls.AutoLayout = on;
        setCheckedQuietly(AutoLayoutCB, on);
    };
    h.SetWordBankChecked = [this](bool on) {
        DocControls.WordBankCB = on;
        setCheckedQuietly(WordBankCB, on);
    };
    h.SetModified = [this] { SetModified(); };
    h.ShowViewTabIfOther = [this](const QString &caption) { ShowViewTabIfOther(caption); };
    h.RebuildClueGrids = [] { ::RebuildClueGrids(); };
    h.RunAutoLayout = [](int flags) { ::RunAutoLayout(flags); };
    h.InvalidateView = [this] { InvalidateView(); };
    h.ShowBalloon = [this](const QString &text, int x, int seconds, int y) {
        ShowBalloon(text, x, seconds, y);
    };
    if (HintFm)
        h.BalloonWidth = HintFm->width();
    h.ChooseFont = [](QWidget *parent, QFont *font) {
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, *font, parent);
        if (ok)
            *font = chosen;
        return ok;
    };
    const int result = TLayoutDlg::Run(this, h, tabText);
    if (result == QDialog::Accepted)
        InvalidateView();
    return result;
}

void TMainFm::InstallAutoLayoutHooks()
{
    AutoLayoutHooks.ViewTabCaption = [this] { return ViewTabCaption(); };
    AutoLayoutHooks.ShowViewTab = [this](const QString &caption) { ShowViewTab(caption); };
    AutoLayoutHooks.AutoLayoutUnchecked = [this] { setCheckedQuietly(AutoLayoutCB, false); };
    AutoLayoutHooks.SetPageCount = [this](int count) { SetPageCount(count, 2); };
    AutoLayoutHooks.InvalidateView = [this] { InvalidateView(); };
    // Idle work waits while the expert pumps messages.
    TInputGuard::HoldTimers(&m_idleTimer);
    // Printing offers the expert when the clues spill over.
    PrintHooks.RunAutoLayout = [this] { mLayoutDoAutoLayoutNowClick(); };
}

void TMainFm::mLayoutDoAutoLayoutNowClick()
{
    if (!AutoLayoutCB->isChecked()) {
        const Prompter::Button answer = askConfirmation(
            QStringLiteral("The Auto-Layout Expert is currently disabled. Do you want to see it's "
                           "configuration screen so you can enable it?"),
            Prompter::Yes | Prompter::No);
        if (answer == Prompter::Yes)
            OpenLayoutDialogAt(QStringLiteral("Configure"));
    }
    if (AutoLayoutCB->isChecked()) {
        TakeCheckPoint(TCheckPointKind::Layout, QStringLiteral("formatting by Auto-Layout expert"));
        ::RunAutoLayout(2);
    }
}
