// The quick tour: its pages, leaving it, the puzzle type it chooses and its pictures.
#include "mainwindowtest.h"

#include "tourdlg.h"
#include "uidialogs.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>

#include <vector>

namespace {

void press(QWidget *widget)
{
    const QPointF at(2, 2);
    QMouseEvent event(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

} // namespace

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
    EXPECT_TRUE(
        prompter.lastText().startsWith(QLatin1String("Please make a selection of one of the puzzle types.")));
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

TEST_F(MainWindowTest, TourPicturesOfControlsRevealTheirOwnNote)
{
    TTourDlg tour{TTourHooks{}};
    for (const char *name : {"FreeformImg", "SymmetricalImg", "SetupLooseImg", "SetupTightImg", "StepTabsImg",
                             "TrafficLightImg", "MenuImg", "PublishImg"}) {
        auto *picture = tour.findChild<QLabel *>(QLatin1String(name));
        ASSERT_NE(picture, nullptr) << name;
        EXPECT_FALSE(picture->pixmap().isNull()) << name << " has no picture";
    }
    const struct {
        QLabel *picture;
        QLabel *note;
        const char *names; // what the note says the picture shows
    } cases[] = {
        {tour.StepTabsImg, tour.JustAPictureLbl, "The real tabs are on the main form, near its right side."},
        {tour.TrafficLightImg, tour.JustAPictureLbl2, "The real traffic light"},
        {tour.MenuImg, tour.JustAPictureLbl3, "The real menu"},
        {tour.PublishImg, tour.JustAPictureLbl4, "The real One-Click Publish button"},
    };
    for (const auto &c : cases)
        EXPECT_TRUE(c.note->isHidden()) << c.names;
    for (size_t i = 0; i < std::size(cases); ++i) {
        press(cases[i].picture);
        EXPECT_FALSE(cases[i].note->isHidden()) << cases[i].names;
        EXPECT_TRUE(cases[i].note->text().startsWith(QLatin1String("This is just a picture. ")));
        EXPECT_TRUE(cases[i].note->text().contains(QLatin1String(cases[i].names)))
            << cases[i].note->text().toStdString();
        for (size_t later = i + 1; later < std::size(cases); ++later)
            EXPECT_TRUE(cases[later].note->isHidden()) << cases[later].names << " shown by another picture";
    }
}

TEST_F(MainWindowTest, TourTypePicturesChooseTheirType)
{
    SetupLoose = SetupTight = false;
    std::vector<int> asked;
    int saved = 0;
    TTourHooks hooks;
    hooks.ChooseType = [&](int type) {
        asked.push_back(type);
        return true;
    };
    hooks.SavePreferences = [&] { ++saved; };
    TTourDlg tour(hooks);
    EXPECT_EQ(tour.StepTabsImg->width(), 222);
    const struct {
        QLabel *picture;
        int type;
        QRadioButton *radio;
        int tabsWidth;
    } cases[] = {
        {tour.SetupTightImg, 1, tour.SetupTightRB, 291},
        {tour.SetupLooseImg, 0, tour.SetupLooseRB, 222},
    };
    for (const auto &c : cases) {
        press(c.picture);
        ASSERT_FALSE(asked.empty());
        EXPECT_EQ(asked.back(), c.type);
        EXPECT_TRUE(c.radio->isChecked()) << c.type;
        EXPECT_EQ(SetupTight, c.type == 1);
        EXPECT_EQ(SetupLoose, c.type == 0);
        EXPECT_EQ(tour.StepTabsImg->width(), c.tabsWidth) << c.type;
    }
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_EQ(saved, 2);
}
