// The main window's Export menu for the interactive puzzle: the publishing form and the player
// preferences.
#include "mainfm.h"

#include "contactusfm.h"
#include "emailpuzzlefm.h"
#include "hostingstate.h"
#include "managefm.h"
#include "publishfm.h"
#include "publishpreffm.h"
#include "uidialogs.h"
#include "webbrowserfm.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

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
    auto command = [this](const char *name, const char *caption, void (TMainFm::*click)()) {
        QAction *item = mExport->addAction(QLatin1String(caption));
        item->setObjectName(QLatin1String(name));
        connect(item, &QAction::triggered, this, click);
        return item;
    };
    command("mExportEmail", "&E-Mail Puzzle (interactive) ...", &TMainFm::mExportEmailClick);
    command("mExportPublish", "&Publish to Sandeck (one click) ...", &TMainFm::PublishSpBtnClick);
    mExportInteractive =
        mExport->addAction(QStringLiteral("E&xport to Any Other Web Site (interactive) ..."));
    mExportInteractive->setObjectName(QStringLiteral("mExportInteractive"));
    connect(mExportInteractive, &QAction::triggered, this, &TMainFm::mExportInteractiveClick);
    command("mExportManage", "&View && Manage Puzzles Published to Sandeck ...",
            &TMainFm::mExportManageClick);
    // The hosting commands follow the settings each time the menu opens.
    connect(mExport, &QMenu::aboutToShow, this, &TMainFm::UpdateHostingCommands);
    mExportConfigureInteractive =
        mExport->addAction(QStringLiteral("&Configure Interactive Puzzle Player (export use) ..."));
    mExportConfigureInteractive->setObjectName(QStringLiteral("mExportConfigureInteractive"));
    connect(mExportConfigureInteractive, &QAction::triggered, this,
            &TMainFm::mExportConfigureInteractiveClick);
    // Kept hidden, without commands.
    for (const char *caption :
         {"Copy and &Paste Wizard ...", "Start Export Wizard ...", "As &Bitmap (BMP) ...",
          "As Encapsulated &Postscript (EPS) ...", "As &Graphics Interchange Format (GIF) ...",
          "As &JPEG ...", "As Portable &Network Graphics (PNG) ...", "As &Scalable Vector Graphic (SVC) ...",
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
    hooks.ShowInBrowserWindow = [this](const QString &url, int width, int height) {
        TWebBrowserFm *browser = EnsureBrowser(false);
        browser->resize(width, height);
        browser->show();
        browser->raise();
        browser->Navigate(url);
        return true;
    };
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

// ---- Hosting service and messages to the maker ------------------------------------------------------

void TMainFm::UpdateHostingCommands()
{
    // One-click publishing, the manage window and the e-mailed link need the hosting service's
    // address and an account group in the settings.
    const bool hosting = HostingConfigured();
    for (const char *name : {"mExportEmail", "mExportPublish", "mExportManage", "mFileManage"})
        if (auto *item = findChild<QAction *>(QLatin1String(name)))
            item->setEnabled(hosting);
    if (PublishSpBtn)
        PublishSpBtn->setEnabled(hosting);
}

void TMainFm::PublishSpBtnClick()
{
    UpdateHostingCommands();
    if (!HostingConfigured())
        return;
    EnsurePublishPrefFm()->LoadPreferences(2);
    TPublishFm form(PublishHooks(), this);
    form.QuickPublish();
}

void TMainFm::mExportManageClick()
{
    UpdateHostingCommands();
    if (!HostingConfigured())
        return;
    TManageFm manage(HostingProtocol(HostingIdentity()), this);
    manage.EmailLink = [this](const QString &title) { ShowEmailPuzzleForm(false, title); };
    manage.show();
    manage.RefreshPuzzleList();
    manage.hide();
    uiDialogs().RunModal(manage);
}

void TMainFm::mExportEmailClick()
{
    UpdateHostingCommands();
    if (!HostingConfigured())
        return;
    EnsurePublishPrefFm()->LoadPreferences(2);
    ShowEmailPuzzleForm(true, TitleEd->text());
}

void TMainFm::ShowEmailPuzzleForm(bool publishFirst, const QString &title)
{
    TEmailPuzzleFm form(publishFirst, this);
    form.LastPuzzleLink = [] { return LastPuzzleLink; };
    if (publishFirst) {
        form.PublishFirst = [this, &form] {
            TitleEd->setText(form.PuzzleTitle());
            TPublishFm publish(PublishHooks(), this);
            return publish.QuickPublish();
        };
    } else {
        form.SendEmailBtn->setText(QStringLiteral("Send Email"));
        form.HeaderLbl->setText(QStringLiteral("This emails a link to the the puzzle you selected."));
    }
    form.PrepareMessage(title);
    uiDialogs().RunModal(form);
}

void TMainFm::ShowContactForm(const QString &errorSubject)
{
    TContactUsFm form(this);
    form.PuzzleFileName = [this] { return SavePuzzleDialog.FileName; };
    if (!errorSubject.isEmpty()) {
        form.SubjectEd->setText(QStringLiteral("Error Report: ") + errorSubject);
        form.SetErrorReportMode();
    }
    uiDialogs().RunModal(form);
}

void TMainFm::mHelpEmailUsClick() { ShowContactForm(); }

// ---- The program's browser windows ------------------------------------------------------------------

TWebBrowserFm *TMainFm::EnsureBrowser(bool navigation)
{
    QPointer<TWebBrowserFm> &browser = navigation ? DirectoryBrowser : PlayBrowser;
    if (!browser) {
        browser = new TWebBrowserFm(navigation, this);
        browser->QuerySaveChanges = [this] {
            const int answer = QuerySaveChanges();
            return answer == 7 || (answer == 6 && !IsModified());
        };
        browser->AfterPuzzleOpened = [this](const QString &url) { AfterPuzzleOpened(url); };
    }
    return browser;
}

bool TMainFm::OpenPuzzleFromWeb(const QString &url, bool askToSave)
{
    TWebBrowserFm *browser = EnsureBrowser(true);
    const auto ask = browser->QuerySaveChanges;
    if (!askToSave)
        browser->QuerySaveChanges = [] { return true; };
    const bool opened = browser->OpenPuzzleFromWeb(url);
    browser->QuerySaveChanges = ask;
    return opened;
}

void TMainFm::mFileFenmoorClick()
{
    TWebBrowserFm *browser = EnsureBrowser(true);
    browser->FitToScreen();
    browser->show();
    browser->raise();
    browser->Navigate(TWebBrowserFm::HomeUrl());
}
