// The main window's Export menu for the interactive puzzle: the publishing form and the player
// preferences.
#include "mainfm.h"

#include "publishfm.h"
#include "publishpreffm.h"
#include "uidialogs.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>

void TMainFm::BuildExportMenu()
{
    mExport = menuBar()->addMenu(QStringLiteral("E&xport"));
    mExport->setObjectName(QStringLiteral("mExport"));
    mExportInteractive =
        mExport->addAction(QStringLiteral("E&xport to Any Other Web Site (interactive) ..."));
    mExportInteractive->setObjectName(QStringLiteral("mExportInteractive"));
    connect(mExportInteractive, &QAction::triggered, this, &TMainFm::mExportInteractiveClick);
    mExportConfigureInteractive =
        mExport->addAction(QStringLiteral("&Configure Interactive Puzzle Player (export use) ..."));
    mExportConfigureInteractive->setObjectName(QStringLiteral("mExportConfigureInteractive"));
    connect(mExportConfigureInteractive, &QAction::triggered, this,
            &TMainFm::mExportConfigureInteractiveClick);
}

TPublishPrefFm *TMainFm::EnsurePublishPrefFm(const std::function<void(int)> &progress)
{
    if (!PublishPrefFm)
        PublishPrefFm = new TPublishPrefFm(this, progress);
    return PublishPrefFm;
}

TPublishHooks TMainFm::PublishHooks()
{
    TPublishHooks hooks;
    hooks.Prefs = [this] { return EnsurePublishPrefFm()->Prefs(); };
    hooks.AdvancedOptions = [this] {
        TPublishPrefFm *prefs = EnsurePublishPrefFm();
        prefs->LoadPreferences(2);
        prefs->PrefPgCtl->setCurrentIndex(0);
        uiDialogs().RunModal(*prefs);
    };
    hooks.MainTitle = [this] { return TitleEd ? TitleEd->text() : QString(); };
    hooks.PuzzleFileName = [this] { return SavePuzzleDialog.FileName; };
    hooks.ShowHelpTopic = [this](const QString &page) { ShowHelpTopic(page); };
    // The program's own browser window and the hosting service's one-click publish are not
    // part of the program yet: their hooks stay empty.
    return hooks;
}

void TMainFm::mExportInteractiveClick()
{
    EnsurePublishPrefFm()->LoadPreferences(2);
    TPublishFm form(PublishHooks(), this);
    uiDialogs().RunModal(form);
}

void TMainFm::mExportConfigureInteractiveClick()
{
    TPublishPrefFm *prefs = EnsurePublishPrefFm();
    prefs->LoadPreferences(2);
    uiDialogs().RunModal(*prefs);
}
