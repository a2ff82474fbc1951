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
    // Items whose commands this program has not yet stand disabled in their places.
    auto disabled = [](QMenu *menu, const char *name, const char *caption) {
        QAction *item = menu->addAction(QLatin1String(caption));
        item->setObjectName(QLatin1String(name));
        item->setEnabled(false);
        return item;
    };
    mPlay = menuBar()->addMenu(QStringLiteral("&Play"));
    mPlay->setObjectName(QStringLiteral("mPlay"));
    mPlay->menuAction()->setVisible(false);
    disabled(mPlay, "mPlaySolve", "Solve puzzle on-screen");
    disabled(mPlay, "mPlayConfigure", "Configure Interactive Puzzle Player (local use) ...");

    mExport = menuBar()->addMenu(QStringLiteral("E&xport"));
    mExport->setObjectName(QStringLiteral("mExport"));
    // The export commands are connected with the other exports (mainfm_export.cpp).
    disabled(mExport, "mExportMetafile", "As Graphic ...");
    disabled(mExport, "mExportText", "As &Text ...");
    disabled(mExport, "mExportPDF", "As Portable Document &Format (PDF) ...");
    mExport->addSeparator();
    disabled(mExport, "mExportEmail", "&E-Mail Puzzle (interactive) ...");
    disabled(mExport, "mExportPublish", "&Publish to Sandeck (one click) ...");
    mExportInteractive =
        mExport->addAction(QStringLiteral("E&xport to Any Other Web Site (interactive) ..."));
    mExportInteractive->setObjectName(QStringLiteral("mExportInteractive"));
    connect(mExportInteractive, &QAction::triggered, this, &TMainFm::mExportInteractiveClick);
    disabled(mExport, "mExportManage", "&View && Manage Puzzles Published to Sandeck ...");
    mExportConfigureInteractive =
        mExport->addAction(QStringLiteral("&Configure Interactive Puzzle Player (export use) ..."));
    mExportConfigureInteractive->setObjectName(QStringLiteral("mExportConfigureInteractive"));
    connect(mExportConfigureInteractive, &QAction::triggered, this,
            &TMainFm::mExportConfigureInteractiveClick);
    // Kept hidden, without commands.
    for (const char *caption :
         {"Copy and &Paste Wizard ...", "Start Export Wizard ...", "As &Bitmap (BMP) ...",
          "As Encapsulated &Postscript (EPS) ...", "As &Graphics Interchange Format (GIF) ...", "As &JPEG ...",
          "As Portable &Network Graphics (PNG) ...", "As &Scalable Vector Graphic (SVC) ...",
          "As &Web Page (HTML) ...", "To &Printable Web Page ...", "To Macintosh &Computer ...",
          "To Word &Document ...", "To Other Windows Program ..."})
        mExport->addAction(QLatin1String(caption))->setVisible(false);
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
