// The quick tour: its pages, leaving it, and the puzzle type it chooses.
#include "mainwindowtest.h"

#include "tourdlg.h"
#include "uidialogs.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>

TEST_F(MainWindowTest, TourPagesAndLeavingWithoutATypeChoosesFreeform)
{
    SetupLoose = SetupTight = false;
    int saved = 0;
    TTourHooks hooks;
    hooks.SavePreferences = [&] { ++saved; };
    ScriptedPrompter prompter;
    TTourDlg tour(hooks);
    tour.show();
    EXPECT_EQ(tour.PageLbl->text(), QStringLiteral("Page 1 of 8"));
    tour.BackBtn->click();
    EXPECT_EQ(prompter.lastText(), QStringLiteral("You are on the first page."));
    tour.NextBtn->click();
    tour.NextBtn->click();
    EXPECT_EQ(tour.TourNtBk->currentWidget()->objectName(), QStringLiteral("Choose"));
    tour.NextBtn->click(); // no type yet: the page stays
    EXPECT_EQ(tour.TourNtBk->currentIndex(), 2);
    EXPECT_TRUE(prompter.lastText().startsWith(QLatin1String("Please make a selection of one of the puzzle types.")));
    tour.ExitBtn->click();
    EXPECT_TRUE(SetupLoose);
    EXPECT_FALSE(SetupTight);
    EXPECT_EQ(saved, 1);
    EXPECT_EQ(tour.result(), int(QDialog::Rejected));
}

TEST_F(MainWindowTest, TourTypeChoiceAsksAboutUnsavedWorkFirst)
{
    TMainFm *window = makeReadyWindow();
    ASSERT_TRUE(FreeformMode);
    SetupLoose = true;
    SetupTight = false;
    window->SetModified();
    ScriptedPrompter prompter;
    prompter.answers << Prompter::Cancel; // "save it?": cancel
    ScriptedUiDialogs dialogs;
    dialogs.OnModal = [](QDialog &form) {
        auto &tour = static_cast<TTourDlg &>(form);
        tour.SetupTightRB->click();
        EXPECT_FALSE(tour.SetupTightRB->isChecked()); // refused: the choice is undone
        EXPECT_TRUE(tour.SetupLooseRB->isChecked());
        tour.ExitBtn->click();
    };
    window->ShowQuickTour();
    ASSERT_EQ(prompter.boxes.size(), 1);
    EXPECT_EQ(prompter.lastText(), QStringLiteral("The current puzzle is unsaved.  Do you want to save it?"));
    EXPECT_TRUE(FreeformMode);
    EXPECT_TRUE(SetupLoose);
    EXPECT_FALSE(SetupTight);
}
