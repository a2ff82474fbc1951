// The Export menu's interactive-puzzle items: the publishing form and the player preferences,
// both on the export value set, with the main window's title and help behind the form.
#include "mainwindowtest.h"

#include "publishfm.h"
#include "publishpreffm.h"
#include "uidialogs.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

TEST_F(MainWindowTest, ExportMenuOpensThePublishingFormAndThePlayerPreferences)
{
    TMainFm *window = makeWindow();
    ScriptedUiDialogs dialogs;
    RecordingShell shell;
    ASSERT_NE(window->mExport, nullptr);
    EXPECT_EQ(window->mExportInteractive->text(),
              QStringLiteral("E&xport to Any Other Web Site (interactive) ..."));
    EXPECT_EQ(window->mExportConfigureInteractive->text(),
              QStringLiteral("&Configure Interactive Puzzle Player (export use) ..."));

    window->TitleEd->setText(QStringLiteral("Birds"));
    QString title;
    int setShown = 0;
    bool quickPublish = true;
    dialogs.OnModal = [&](QDialog &form) {
        if (auto *publish = qobject_cast<TPublishFm *>(&form)) {
            title = publish->TitleEd->text();
            quickPublish = publish->Java_QuickPublishBtn->isEnabled();
            publish->HowToPublishLnkClick(); // the help page goes through the shell
        } else if (auto *prefs = qobject_cast<TPublishPrefFm *>(&form)) {
            setShown = prefs->ValueSet();
        }
    };
    window->mExportInteractive->trigger();
    EXPECT_EQ(title, QStringLiteral("Birds"));
    EXPECT_FALSE(quickPublish); // the hosting service is not connected
    EXPECT_EQ(window->PublishPrefFm->ValueSet(), 2);

    window->PublishPrefFm->LoadPreferences(1);
    window->mExportConfigureInteractive->trigger();
    EXPECT_EQ(setShown, 2);
    EXPECT_EQ(dialogs.Asked, (QStringList{QStringLiteral("modal: PublishFm"),
                                          QStringLiteral("modal: ") + window->PublishPrefFm->objectName()}));
}
