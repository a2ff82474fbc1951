// The main window's Help menu, help pages and the desktop shell.
#include "globals.h"
#include "mainfm.h"

#include "preferencesdlg.h"
#include "prompter.h"
#include "tourdlg.h"
#include "uidialogs.h"

#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QUrl>

void TMainFm::BuildHelpMenu()
{
    mHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mHelp->setObjectName(QStringLiteral("mHelp"));
    const struct {
        QAction *TMainFm::*item;
        const char *name;
        const char *caption;
        void (TMainFm::*click)();
    } items[] = {
        {&TMainFm::mHelpContents, "mHelpContents", "&Contents ...", &TMainFm::mHelpContentsClick},
        {&TMainFm::mHelpGettingStarted, "mHelpGettingStarted", "&Getting Started ...",
         &TMainFm::mHelpGettingStartedClick},
        {&TMainFm::mHelpHowTo, "mHelpHowTo", "&How to Make a Puzzle ...", &TMainFm::mHelpHowToClick},
        {&TMainFm::mHelpSetup, "mHelpSetup", "&Quick Tour && Setup ...", &TMainFm::mHelpSetupClick},
    };
    for (const auto &entry : items) {
        QAction *item = mHelp->addAction(QLatin1String(entry.caption));
        item->setObjectName(QLatin1String(entry.name));
        connect(item, &QAction::triggered, this, entry.click);
        this->*(entry.item) = item;
    }
    for (const char *caption : {"&Topic Search ...", "&Puzzle Ideas ..."})
        mHelp->addAction(QLatin1String(caption))->setVisible(false);
    QAction *emailUs = mHelp->addAction(QStringLiteral("&E-Mail Us ..."));
    emailUs->setObjectName(QStringLiteral("mHelpEmailUs"));
    connect(emailUs, &QAction::triggered, this, &TMainFm::mHelpEmailUsClick);
}

void TMainFm::mHelpContentsClick() { ShowHelpTopic(QStringLiteral("Index.htm")); }
void TMainFm::HelpSpBtnClick() { ShowHelpTopic(QStringLiteral("Index.htm")); }
void TMainFm::mHelpGettingStartedClick() { ShowHelpTopic(QStringLiteral("GettingStarted.htm")); }
void TMainFm::mHelpHowToClick() { ShowHelpTopic(QStringLiteral("QuickStartGuide.htm")); }

void TMainFm::mHelpSetupClick() { ShowQuickTour(); }

void TMainFm::ShowQuickTour()
{
    TTourHooks hooks;
    hooks.ChooseType = [this](int type) {
        // The guard of the puzzle-type buttons: the same type changes nothing, another asks
        // about unsaved work first and takes a checkpoint.
        ChangePuzzleType(type);
        return FreeformMode == (type == 0);
    };
    hooks.SavePreferences = [this] { PreferencesDlg->SavePreferences(); };
    TTourDlg tour(hooks, this);
    uiDialogs().RunModal(tour);
    RedrawView();
}

bool TMainFm::ShellOpen(const QString &target)
{
    const QUrl url = target.contains(QLatin1String("://")) ? QUrl(target) : QUrl::fromLocalFile(target);
    return url.isValid() && shell().Open(url);
}

void TMainFm::ShowHelpTopic(const QString &page)
{
    const QString folder = GetProgramFolder() + QStringLiteral("Help/");
    const QString path = folder + page;
    if (!QFileInfo::exists(path)) {
        showInformation(
            QStringLiteral("The help page \"%1\" is not installed: the folder \"%2\" does not hold it.")
                .arg(page, folder));
        return;
    }
    if (!ShellOpen(QStringLiteral("file://") + path))
        showError(QStringLiteral("The help page \"%1\" could not be opened.").arg(path));
}
