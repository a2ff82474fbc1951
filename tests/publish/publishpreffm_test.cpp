// The player preferences form: its two value sets in the settings, the applet size table and
// the "Other" size dialog, missing and damaged values, the Defaults buttons, and the controls
// as read through Prefs().
#include "publishpreffm.h"

#include "appletsizefm.h"
#include "globals.h"
#include "registry.h"
#include "uidialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

/** Every field of a value set, one "name=value" a line, so a mismatch names the field. */
std::string Lines(const TPlayerPrefs &p)
{
    const auto b = [](bool v) { return v ? QStringLiteral("true") : QStringLiteral("false"); };
    const QStringList lines = {
        QStringLiteral("PuzzleLayout=%1").arg(p.PuzzleLayout),
        QStringLiteral("GridShadow=%1").arg(p.GridShadow),
        QStringLiteral("CapitalizeGrid=") + b(p.CapitalizeGrid),
        QStringLiteral("FontColor=%1").arg(p.FontColor, 6, 16, QChar(u'0')),
        QStringLiteral("Color=%1").arg(p.Color, 6, 16, QChar(u'0')),
        QStringLiteral("MessageBelow=") + p.MessageBelow,
        QStringLiteral("DisplayTimer=") + b(p.DisplayTimer),
        QStringLiteral("ShowRevealLetterBtn=") + b(p.ShowRevealLetterBtn),
        QStringLiteral("ShowRevealWordBtn=") + b(p.ShowRevealWordBtn),
        QStringLiteral("ShowCheckBtn=") + b(p.ShowCheckBtn),
        QStringLiteral("ShowSolveBtn=") + b(p.ShowSolveBtn),
        QStringLiteral("AppletSize=%1").arg(p.AppletSize),
        QStringLiteral("Applet=%1 x %2").arg(p.AppletWidth, p.AppletHeight),
        QStringLiteral("Auto=") + b(p.Auto),
        QStringLiteral("Browser=%1 x %2").arg(p.PlayBrowserWidth).arg(p.PlayBrowserHeight),
        QStringLiteral("PuzzleTextSize=") + p.PuzzleTextSize,
        QStringLiteral("PreloadTitle=") + b(p.PreloadTitle),
        QStringLiteral("PreloadAuthor=") + b(p.PreloadAuthor),
        QStringLiteral("PreloadDate=") + b(p.PreloadDate),
        QStringLiteral("PreloadAuthorText=") + p.PreloadAuthorText,
    };
    return lines.join(u'\n').toStdString();
}

/** The values a fresh installation starts with. */
TPlayerPrefs DefaultPrefs()
{
    TPlayerPrefs p;
    p.PreloadAuthorText = GetWindowsUserName();
    return p;
}

/** A set with every value away from its default; Fixed Other 640 x 400. */
TPlayerPrefs LocalPlayPrefs()
{
    TPlayerPrefs p;
    p.PuzzleLayout = 2;
    p.GridShadow = 0;
    p.CapitalizeGrid = false;
    p.FontColor = 0x0000FF;
    p.Color = 0xFFFFFF;
    p.MessageBelow = QStringLiteral("\u00A9 2024 Ann Example");
    p.DisplayTimer = false;
    p.ShowRevealLetterBtn = false;
    p.ShowRevealWordBtn = false;
    p.ShowCheckBtn = false;
    p.ShowSolveBtn = true;
    p.AppletSize = TPublishPrefFm::FixedOther;
    p.AppletWidth = QStringLiteral("640");
    p.AppletHeight = QStringLiteral("400");
    p.Auto = false;
    p.PlayBrowserWidth = 690;
    p.PlayBrowserHeight = 530;
    p.PuzzleTextSize = QStringLiteral("Largest");
    p.PreloadTitle = false;
    p.PreloadAuthor = false;
    p.PreloadDate = false;
    p.PreloadAuthorText = QStringLiteral("Ann Example");
    return p;
}

/** Another set, different in every value from LocalPlayPrefs; Automatic Other 820 x 560. */
TPlayerPrefs ExportPrefs()
{
    TPlayerPrefs p;
    p.PuzzleLayout = 1;
    p.GridShadow = 10;
    p.FontColor = 0x00FF00;
    p.Color = 0x123456;
    p.MessageBelow = QStringLiteral("Puzzles by Bob");
    p.ShowRevealWordBtn = true;
    p.AppletSize = TPublishPrefFm::AutomaticOther;
    p.AppletWidth = QStringLiteral("95%");
    p.AppletHeight = QStringLiteral("95%");
    p.Auto = true;
    p.PlayBrowserWidth = 870;
    p.PlayBrowserHeight = 690;
    p.PuzzleTextSize = QStringLiteral("Smallest");
    p.PreloadAuthorText = QStringLiteral("Bob");
    return p;
}

void Click(QWidget *widget)
{
    const QPointF at(2, 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
}

/** The user picks an item with the arrow keys (the list emits activated, as for a mouse pick). */
void UserChooses(QComboBox *box, int item)
{
    const bool down = item > 0;
    box->setCurrentIndex(down ? item - 1 : item + 1);
    QKeyEvent key(QEvent::KeyPress, down ? Qt::Key_Down : Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(box, &key);
    ASSERT_EQ(box->currentIndex(), item);
}

int ModalCount(const ScriptedUiDialogs &dialogs)
{
    return int(dialogs.Asked.count(QStringLiteral("modal: AppletSizeFm")));
}

class PublishPrefFmTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Both value sets start absent.
        QSettings settings(QStringLiteral("Halvard, Inc."), QStringLiteral("TRV"));
        for (const QString &name : settings.allKeys())
            if (name.startsWith(QLatin1String("OnPlay_")) || name.startsWith(QLatin1String("OnWeb_")))
                settings.remove(name);
    }

    /** Answers the next size dialog with a size and OK (or Cancel). */
    void AnswerSizeDialog(int width, int height, bool ok)
    {
        dialogs.OnModal = [=](QDialog &dialog) {
            auto *sizeFm = qobject_cast<TAppletSizeFm *>(&dialog);
            ASSERT_NE(sizeFm, nullptr);
            sizeFm->WidthSpEd->setValue(width);
            sizeFm->HeightSpEd->setValue(height);
            (ok ? sizeFm->OKBtn : sizeFm->CancelBtn)->click();
        };
    }

    /** Sets the form's controls the way a user would; the Other size comes from the applet
     *  width and height of p. */
    void Fill(TPublishPrefFm &form, const TPlayerPrefs &p)
    {
        form.PuzzleLayoutCmBx->setCurrentIndex(p.PuzzleLayout);
        form.GridShadowCmBx->setCurrentIndex(p.GridShadow);
        form.CapitalizeGridCB->setChecked(p.CapitalizeGrid);
        dialogs.Colors = {p.Color};
        Click(form.BackgroundColorLnk);
        dialogs.Colors = {p.FontColor};
        Click(form.TextColorLnk);
        form.CopyrightEd->setText(p.MessageBelow);
        form.DisplayTimerCB->setChecked(p.DisplayTimer);
        form.ShowRevealLetterCB->setChecked(p.ShowRevealLetterBtn);
        form.ShowRevealWordCB->setChecked(p.ShowRevealWordBtn);
        form.ShowCheckCB->setChecked(p.ShowCheckBtn);
        form.ShowSolveCB->setChecked(p.ShowSolveBtn);
        if (p.AppletSize == TPublishPrefFm::FixedOther || p.AppletSize == TPublishPrefFm::AutomaticOther)
            AnswerSizeDialog(p.PlayBrowserWidth - 50, p.PlayBrowserHeight - 130, true);
        UserChooses(form.AppletSizeCmBx, p.AppletSize);
        dialogs.OnModal = nullptr;
        form.PuzzleTextSizeCmBx->setCurrentIndex(form.PuzzleTextSizeCmBx->findText(p.PuzzleTextSize));
        form.PreloadTitleCB->setChecked(p.PreloadTitle);
        form.PreloadAuthorCB->setChecked(p.PreloadAuthor);
        form.PreloadDateCB->setChecked(p.PreloadDate);
        form.PublishedAuthorEd->setText(p.PreloadAuthorText);
    }

    ScriptedUiDialogs dialogs;
};

// ---- Creation and the value sets --------------------------------------------------------------

TEST_F(PublishPrefFmTest, CreationLoadsLocalPlayAndReloadsOnlyAnotherSet)
{
    QList<int> reported;
    TPublishPrefFm form(nullptr, [&](int percent) { reported << percent; });
    EXPECT_EQ(reported, QList<int>({50, 51, 52}));
    EXPECT_EQ(form.ValueSet(), 1);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Interactive Puzzle Preferences - For Local Play"));

    // Selecting the set in use again keeps what the user changed.
    form.ShowSolveCB->setChecked(true);
    form.LoadPreferences(1);
    EXPECT_TRUE(form.ShowSolveCB->isChecked());

    form.LoadPreferences(2);
    EXPECT_EQ(form.ValueSet(), 2);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Interactive Puzzle Preferences - For Exporting and Email"));
    EXPECT_FALSE(form.ShowSolveCB->isChecked());
}

TEST_F(PublishPrefFmTest, BothSetsAreSavedAndLoadedUnderTheirOwnPrefixes)
{
    const struct {
        int set;
        TPlayerPrefs prefs;
    } sets[] = {{1, LocalPlayPrefs()}, {2, ExportPrefs()}};
    {
        TPublishPrefFm form;
        for (const auto &s : sets) {
            form.LoadPreferences(s.set);
            Fill(form, s.prefs);
            ASSERT_EQ(Lines(form.Prefs()), Lines(s.prefs)) << "set " << s.set << " as entered";
            form.SavePreferencesBtn->click();
        }
    }
    const TRegistryKey key;
    EXPECT_EQ(key.ReadInteger(QStringLiteral("OnPlay_AppletOtherWidth"), 0), 640);
    EXPECT_EQ(key.ReadInteger(QStringLiteral("OnPlay_AppletOtherHeight"), 0), 400);
    EXPECT_EQ(key.ReadInteger(QStringLiteral("OnWeb_AppletOtherWidth"), 0), 820);
    EXPECT_EQ(key.ReadInteger(QStringLiteral("OnWeb_AppletOtherHeight"), 0), 560);

    const int modalsBefore = ModalCount(dialogs);
    TPublishPrefFm fresh;
    EXPECT_EQ(Lines(fresh.Prefs()), Lines(sets[0].prefs));
    fresh.LoadPreferences(2);
    EXPECT_EQ(Lines(fresh.Prefs()), Lines(sets[1].prefs));
    fresh.LoadPreferences(1);
    EXPECT_EQ(Lines(fresh.Prefs()), Lines(sets[0].prefs));
    EXPECT_EQ(ModalCount(dialogs), modalsBefore) << "loading an Other size asks nothing";
}

TEST_F(PublishPrefFmTest, MissingOrDamagedValuesGiveTheDefaults)
{
    using TWrite = std::function<void(TRegistryKey &)>;
    const struct {
        const char *name;
        TWrite write;
    } cases[] = {
        {"nothing stored", [](TRegistryKey &) {}},
        {"out of range or of another type",
         [](TRegistryKey &key) {
             key.WriteInteger(QStringLiteral("OnPlay_PuzzleLayout"), 3);
             key.WriteInteger(QStringLiteral("OnPlay_GridShadow"), 11);
             key.WriteString(QStringLiteral("OnPlay_CapitalizeGrid"), QStringLiteral("yes"));
             key.WriteInteger(QStringLiteral("OnPlay_FontColor"), -1);
             key.WriteInteger(QStringLiteral("OnPlay_Color"), 0x1000000);
             key.WriteInteger(QStringLiteral("OnPlay_AppletSize"), 8);
             key.WriteInteger(QStringLiteral("OnPlay_AppletOtherWidth"), 0);
             key.WriteString(QStringLiteral("OnPlay_AppletOtherHeight"), QStringLiteral("tall"));
             key.WriteString(QStringLiteral("OnPlay_PuzzleTextSize"), QStringLiteral("Huge"));
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        {
            TRegistryKey key;
            c.write(key);
        }
        TPublishPrefFm form;
        EXPECT_EQ(Lines(form.Prefs()), Lines(DefaultPrefs()));
        EXPECT_EQ(form.Prefs().FontColor, 0x800000);
        EXPECT_EQ(form.OtherWidth(), 700);
        EXPECT_EQ(form.OtherHeight(), 450);
        EXPECT_EQ(form.PuzzleTextSizeCmBx->currentText(), QStringLiteral("Normal"));
        EXPECT_EQ(form.AppletSizeLbl->text(), QStringLiteral("Applet Size:  95% x 95% (of browser size)"));
    }
}

TEST_F(PublishPrefFmTest, EachDefaultsButtonResetsItsOwnGroup)
{
    using TReset = std::function<void(TPlayerPrefs &)>;
    const struct {
        const char *name;
        QPushButton *TPublishPrefFm::*button;
        TReset reset;
    } cases[] = {
        {"appearance", &TPublishPrefFm::AppearanceDefaultsBtn,
         [](TPlayerPrefs &p) {
             p.PuzzleLayout = 0;
             p.GridShadow = 3;
             p.CapitalizeGrid = true;
             p.FontColor = 0x800000;
             p.Color = 0xD8E9EC;
         }},
        {"options", &TPublishPrefFm::OptionsDefaultsBtn,
         [](TPlayerPrefs &p) {
             p.DisplayTimer = p.ShowRevealLetterBtn = p.ShowRevealWordBtn = p.ShowCheckBtn = true;
             p.ShowSolveBtn = false;
             p.MessageBelow.clear();
         }},
        {"applet size", &TPublishPrefFm::AppletSizeDefaultsBtn,
         [](TPlayerPrefs &p) {
             p.AppletSize = 5;
             p.AppletWidth = p.AppletHeight = QStringLiteral("95%");
             p.Auto = true;
             p.PlayBrowserWidth = 750;
             p.PlayBrowserHeight = 580;
             p.PuzzleTextSize = QStringLiteral("Normal");
         }},
        {"preload", &TPublishPrefFm::PreloadDefaultsBtn,
         [](TPlayerPrefs &p) {
             p.PreloadTitle = p.PreloadAuthor = p.PreloadDate = true;
             p.PreloadAuthorText = GetWindowsUserName();
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TPublishPrefFm form;
        Fill(form, LocalPlayPrefs());
        const int modalsBefore = ModalCount(dialogs);
        (form.*c.button)->click();
        TPlayerPrefs expected = LocalPlayPrefs();
        c.reset(expected);
        EXPECT_EQ(Lines(form.Prefs()), Lines(expected));
        EXPECT_EQ(ModalCount(dialogs), modalsBefore);
    }
}

// ---- Applet size ------------------------------------------------------------------------------

TEST_F(PublishPrefFmTest, AppletSizeFollowsTheItem)
{
    {
        TRegistryKey key;
        key.WriteInteger(QStringLiteral("OnPlay_AppletOtherWidth"), 640);
        key.WriteInteger(QStringLiteral("OnPlay_AppletOtherHeight"), 400);
    }
    const struct {
        int item;
        const char *width, *height;
        bool isAuto;
        int browserWidth, browserHeight;
        const char *label;
    } rows[] = {
        {0, "600", "350", false, 650, 480, "Applet Size:  600 x 350 (Fixed size)"},
        {1, "700", "450", false, 750, 580, "Applet Size:  700 x 450 (Fixed size)"},
        {2, "900", "600", false, 950, 730, "Applet Size:  900 x 600 (Fixed size)"},
        {3, "640", "400", false, 690, 530, "Applet Size:  640 x 400 (Fixed size)"},
        {4, "85%", "85%", true, 650, 480, "Applet Size:  85% x 85% (of browser size)"},
        {5, "95%", "95%", true, 750, 580, "Applet Size:  95% x 95% (of browser size)"},
        {6, "100%", "100%", true, 950, 730, "Applet Size:  100% x 100% (of browser size)"},
        {7, "95%", "95%", true, 690, 530, "Applet Size:  95% x 95% (of browser size)"},
    };
    TPublishPrefFm form;
    for (const auto &r : rows) {
        SCOPED_TRACE(r.item);
        form.AppletSizeCmBx->setCurrentIndex(r.item);
        const TPlayerPrefs prefs = form.Prefs();
        EXPECT_EQ(prefs.AppletSize, r.item);
        EXPECT_EQ(prefs.AppletWidth, QLatin1String(r.width));
        EXPECT_EQ(prefs.AppletHeight, QLatin1String(r.height));
        EXPECT_EQ(prefs.Auto, r.isAuto);
        EXPECT_EQ(prefs.PlayBrowserWidth, r.browserWidth);
        EXPECT_EQ(prefs.PlayBrowserHeight, r.browserHeight);
        EXPECT_EQ(form.AppletSizeLbl->text(), QLatin1String(r.label));
    }
    EXPECT_EQ(ModalCount(dialogs), 0) << "only the user's choice asks for the Other size";
}

TEST_F(PublishPrefFmTest, SizeDialogOpensOnTheUsersChoiceAndCancelKeepsTheSize)
{
    {
        TRegistryKey key;
        key.WriteInteger(QStringLiteral("OnPlay_AppletSize"), TPublishPrefFm::FixedOther);
        key.WriteInteger(QStringLiteral("OnPlay_AppletOtherWidth"), 640);
        key.WriteInteger(QStringLiteral("OnPlay_AppletOtherHeight"), 400);
    }
    TPublishPrefFm form;
    form.LoadPreferences(2);
    form.LoadPreferences(1);
    EXPECT_EQ(form.AppletWidth, QStringLiteral("640"));
    EXPECT_EQ(ModalCount(dialogs), 0);

    // The dialog starts from the stored size; OK takes the new one.
    int startWidth = 0, startHeight = 0;
    dialogs.OnModal = [&](QDialog &dialog) {
        auto &sizeFm = static_cast<TAppletSizeFm &>(dialog);
        startWidth = sizeFm.WidthSpEd->value();
        startHeight = sizeFm.HeightSpEd->value();
        sizeFm.WidthSpEd->setValue(900);
        sizeFm.HeightSpEd->setValue(500);
        sizeFm.OKBtn->click();
    };
    UserChooses(form.AppletSizeCmBx, TPublishPrefFm::AutomaticOther);
    EXPECT_EQ(ModalCount(dialogs), 1);
    EXPECT_EQ(startWidth, 640);
    EXPECT_EQ(startHeight, 400);
    EXPECT_EQ(form.AppletWidth, QStringLiteral("95%"));
    EXPECT_TRUE(form.Auto);
    EXPECT_EQ(form.PlayBrowserWidth, 950);
    EXPECT_EQ(form.PlayBrowserHeight, 630);

    // Cancel keeps 900 x 500 whatever the spin edits hold.
    AnswerSizeDialog(300, 300, false);
    UserChooses(form.AppletSizeCmBx, TPublishPrefFm::FixedOther);
    EXPECT_EQ(ModalCount(dialogs), 2);
    EXPECT_EQ(form.AppletSizeLbl->text(), QStringLiteral("Applet Size:  900 x 500 (Fixed size)"));
    EXPECT_EQ(form.PlayBrowserWidth, 950);
    EXPECT_EQ(form.PlayBrowserHeight, 630);

    // Other items ask nothing.
    dialogs.OnModal = nullptr;
    UserChooses(form.AppletSizeCmBx, TPublishPrefFm::FixedLarge);
    UserChooses(form.AppletSizeCmBx, TPublishPrefFm::AutomaticSmall);
    EXPECT_EQ(ModalCount(dialogs), 2);
}

// ---- Colours, copyright and text size ---------------------------------------------------------

TEST_F(PublishPrefFmTest, ColourLinksAndSampleSetTheColours)
{
    TPublishPrefFm form;
    dialogs.Colors = {0x0000FF};
    Click(form.TextColorLnk);
    dialogs.Colors = {0x00FFFF};
    Click(form.ColorSamplePnl);
    EXPECT_EQ(form.Prefs().FontColor, 0x0000FF);
    EXPECT_EQ(form.Prefs().Color, 0x00FFFF);
    EXPECT_EQ(form.ColorSamplePnl->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(form.ColorSamplePnl->palette().color(QPalette::Window), QColor(255, 255, 0));

    // A cancelled colour dialog changes nothing.
    Click(form.BackgroundColorLnk);
    Click(form.TextColorLnk);
    EXPECT_EQ(form.Prefs().Color, 0x00FFFF);
    EXPECT_EQ(form.Prefs().FontColor, 0x0000FF);
    EXPECT_EQ(dialogs.Asked.count(QStringLiteral("color")), 4);
}

TEST_F(PublishPrefFmTest, CopyrightButtonPutsTheSignInFront)
{
    TPublishPrefFm form;
    form.CopyrightEd->setText(QStringLiteral("2024 Ann Example"));
    form.CopyrightBtn->click();
    EXPECT_EQ(form.Prefs().MessageBelow, QStringLiteral("\u00A92024 Ann Example"));
}

TEST_F(PublishPrefFmTest, ShowingSelectsTheTextSize)
{
    const struct {
        const char *chosen;
        const char *shown;
    } cases[] = {{"Small", "Small"}, {"Larger", "Larger"}, {"Gigantic", "Normal"}};
    TPublishPrefFm form;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.chosen);
        form.PuzzleTextSizeStr = QLatin1String(c.chosen);
        form.show();
        EXPECT_EQ(form.PuzzleTextSizeCmBx->currentText(), QLatin1String(c.shown));
        EXPECT_EQ(form.Prefs().PuzzleTextSize, QLatin1String(c.shown));
        form.hide();
    }
    form.PuzzleTextSizeCmBx->setCurrentIndex(form.PuzzleTextSizeCmBx->findText(QStringLiteral("Largest")));
    EXPECT_EQ(form.PuzzleTextSizeStr, QStringLiteral("Largest"));
}

} // namespace
