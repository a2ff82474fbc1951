// The main window's small forms: the help balloon, the preferences dialog, About and the
// next-step advice.
#include "globals.h"
#include "mainfm.h"

#include "aboutfm.h"
#include "filetypes.h"
#include "hintfm.h"
#include "nextstepfm.h"
#include "preferencesdlg.h"
#include "prefsstore.h"
#include "uidialogs.h"

#include <QAction>
#include <QMenu>

void TMainFm::CreateSmallForms()
{
    HintFm = std::make_unique<THintFm>();
    HintFm->SetClueEditor(ClueEditor);

    PreferencesDlg = std::make_unique<TPreferencesDlg>(this);
    TPreferencesHooks &hooks = PreferencesDlg->Hooks;
    hooks.ApplyColorScheme = [this](int colour) { ApplyColorScheme(colour); };
    hooks.ApplyEditTextSize = [this] {
        ApplyEditTextSize(ClueEditor, GlueRejectWordsMemo, CluesAcrossSG, CluesDownSG, CluesAlternateSG);
    };
    hooks.FormResize = [this] { FormResize(); };
    hooks.RedrawView = [this] { RedrawView(); };
    hooks.SetAutoClueSymmetrical = [this](bool on) { SetAutoClueSymmetrical(on); };
    hooks.SetAutoClueFreeform = [this](bool on) { SetAutoClueFreeform(on); };
    hooks.WriteRegistry = [] { WriteRegistry(); };
    hooks.IsClosing = [] { return MainFormClosing; };
    hooks.ShowBalloon = [this](const QString &text, int x, int seconds, int y) {
        ShowBalloon(text, x, seconds, y);
    };
    PreferencesDlg->LoadFromSettings();

    mFilePreferences = new QAction(QStringLiteral("Pre&ferences ..."), this);
    mFilePreferences->setObjectName(QStringLiteral("mFilePreferences"));
    mFile->insertAction(mFileRecentLine, mFilePreferences);
    connect(mFilePreferences, &QAction::triggered, this, &TMainFm::mFilePreferencesClick);
    mHelpAbout = mHelp->addAction(QStringLiteral("&About ..."));
    mHelpAbout->setObjectName(QStringLiteral("mHelpAbout"));
    connect(mHelpAbout, &QAction::triggered, this, &TMainFm::mHelpAboutClick);
}

void TMainFm::ShowBalloon(const QString &text, int x, int seconds, int y)
{
    if (HintFm)
        HintFm->ShowBalloon(text, x, seconds, y);
}

void TMainFm::mFilePreferencesClick()
{
    PreferencesDlg->LoadFromSettings();
    uiDialogs().RunModal(*PreferencesDlg);
}

void TMainFm::mHelpAboutClick()
{
    TAboutFm about(RegistryIsWritable(), this);
    about.OnEmailUs = [this, &about] {
        about.close();
        ShowContactForm();
    };
    uiDialogs().RunModal(about);
}

void TMainFm::ExampleLnkClick()
{
    if (HintFm)
        HintFm->ShowExampleWordList(geometry().left() + 420, geometry().top() + 160);
}

void TMainFm::InstructionsLnkClick()
{
    if (HintFm)
        HintFm->ShowInstructions(geometry().left() + 420, geometry().top() + 160);
}

void TMainFm::ShowNextStep()
{
    TNextStepFm form(this);
    form.SetInstructionsAction([this] { InstructionsLnkClick(); });
    form.SetExampleAction([this] {
        show();
        ExampleLnkClick();
    });
    form.SetSampleWordListsAction([this] { SampleWordListsLnkClick(); });
    form.SetImportAction([this] { ThemeImportLnkClick(); });
    uiDialogs().RunModal(form);
}
