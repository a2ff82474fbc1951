// The preferences dialog without a main window: its hooks stand in for the window. Defaults and
// Cancel, the pending pencil size, the application colour's "Custom" item by keyboard and from
// the dropped-down list, the round trip of every setting, the automatic-clue hooks, the registry
// write, the help balloon and the editable-text size.
#include "preferencesdlg.h"

#include "cluesedit.h"
#include "globals.h"
#include "mainfm.h"
#include "namevaluelines.h"
#include "prompter.h"
#include "uidialogs.h"
#include "viewpaint.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTableView>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

/** Every preference the dialog reads or writes. */
struct TPrefValues {
    QString Font;
    int Size = 60;
    TColor Pencil = 0x808080;
    bool ThemeColor = true, ThemeBold = false, HideAnswer = false, Pastel = false;
    TColor Desktop = 128, Scheme = 15983055;
    int TextSize = 8;
    bool PatternNotice = true, ClueSymmetrical = true, ClueFreeform = false;

    static TPrefValues Current()
    {
        TPrefValues v;
        v.Font = PencilFont;
        v.Size = PencilSize;
        v.Pencil = PencilColor;
        v.ThemeColor = PencilThemeColor;
        v.ThemeBold = PencilThemeBold;
        v.HideAnswer = PencilHideAnswer;
        v.Pastel = PastelHighlight;
        v.Desktop = DesktopColor;
        v.Scheme = ColorScheme;
        v.TextSize = EditTextSize;
        v.PatternNotice = AutoPatternNotice;
        v.ClueSymmetrical = AutoClueSymmetrical;
        v.ClueFreeform = AutoClueFreeform;
        return v;
    }
    void Install() const
    {
        PencilFont = Font;
        PencilSize = Size;
        PencilColor = Pencil;
        PencilThemeColor = ThemeColor;
        PencilThemeBold = ThemeBold;
        PencilHideAnswer = HideAnswer;
        PastelHighlight = Pastel;
        DesktopColor = Desktop;
        ColorScheme = Scheme;
        EditTextSize = TextSize;
        AutoPatternNotice = PatternNotice;
        AutoClueSymmetrical = ClueSymmetrical;
        AutoClueFreeform = ClueFreeform;
    }
};

void expectSame(const TPrefValues &a, const TPrefValues &b, const char *where)
{
    SCOPED_TRACE(where);
    EXPECT_EQ(a.Font, b.Font);
    EXPECT_EQ(a.Size, b.Size);
    EXPECT_EQ(a.Pencil, b.Pencil);
    EXPECT_EQ(a.ThemeColor, b.ThemeColor);
    EXPECT_EQ(a.ThemeBold, b.ThemeBold);
    EXPECT_EQ(a.HideAnswer, b.HideAnswer);
    EXPECT_EQ(a.Pastel, b.Pastel);
    EXPECT_EQ(a.Desktop, b.Desktop);
    EXPECT_EQ(a.Scheme, b.Scheme);
    EXPECT_EQ(a.TextSize, b.TextSize);
    EXPECT_EQ(a.PatternNotice, b.PatternNotice);
    EXPECT_EQ(a.ClueSymmetrical, b.ClueSymmetrical);
    EXPECT_EQ(a.ClueFreeform, b.ClueFreeform);
}

void sendKey(QWidget *widget, int key, const QString &text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(widget, &release);
}

class PreferencesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_saved = TPrefValues::Current();
        m_previousMain = MainFm;
        MainFm = nullptr; // the dialog must not need a main window
        dlg = std::make_unique<TPreferencesDlg>();
        TPreferencesHooks &h = dlg->Hooks;
        h.ApplyColorScheme = [this](int color) {
            calls << QStringLiteral("ApplyColorScheme");
            schemes.push_back(color);
            ColorScheme = color;
        };
        h.ApplyEditTextSize = [this] { calls << QStringLiteral("ApplyEditTextSize"); };
        h.FormResize = [this] { calls << QStringLiteral("FormResize"); };
        h.RedrawView = [this] { calls << QStringLiteral("RedrawView"); };
        h.SetAutoClueSymmetrical = [this](bool on) {
            calls << QStringLiteral("SetAutoClueSymmetrical");
            symmetricalTicks.push_back(on);
            AutoClueSymmetrical = on;
        };
        h.SetAutoClueFreeform = [this](bool on) {
            calls << QStringLiteral("SetAutoClueFreeform");
            freeformTicks.push_back(on);
            AutoClueFreeform = on;
        };
        h.WriteRegistry = [this] {
            calls << QStringLiteral("WriteRegistry");
            written.push_back(TPrefValues::Current());
        };
        h.IsClosing = [this] { return closing; };
        h.ShowBalloon = [this](const QString &text, int x, int seconds, int y) {
            calls << QStringLiteral("ShowBalloon");
            balloonText = text;
            balloonX = x;
            balloonSeconds = seconds;
            balloonY = y;
        };
    }
    void TearDown() override
    {
        dlg.reset();
        m_saved.Install();
        MainFm = m_previousMain;
    }

    /** Settings far from the defaults. */
    static TPrefValues unusual()
    {
        TPrefValues v;
        const QStringList fonts = GetFontList();
        v.Font = fonts.isEmpty() ? QStringLiteral("Arial") : fonts.last();
        v.Size = 40;
        v.Pencil = 0x000000;
        v.ThemeColor = false;
        v.ThemeBold = true;
        v.HideAnswer = false;
        v.Pastel = false;
        v.Desktop = 0xEFFAFA;
        v.Scheme = 0xEFFAFA; // "Cream"
        v.TextSize = 10;
        v.PatternNotice = false;
        v.ClueSymmetrical = false;
        v.ClueFreeform = false;
        return v;
    }

    std::unique_ptr<TPreferencesDlg> dlg;
    QStringList calls;
    std::vector<int> schemes;
    std::vector<bool> symmetricalTicks, freeformTicks;
    std::vector<TPrefValues> written;
    bool closing = false;
    QString balloonText;
    int balloonX = 0, balloonSeconds = 0, balloonY = 0;

private:
    TPrefValues m_saved;
    TMainFm *m_previousMain = nullptr;
};

TEST_F(PreferencesTest, ControlsCarryTheirNamesCaptionsAndItems)
{
    EXPECT_EQ(dlg->windowTitle(), "Preferences  --  Program behaviors that do not affect your puzzle.");
    for (const char *name :
         {"PencilFontCmBx", "PencilFontSizeSpEd", "PrefNonThemeColorCmBx", "PrefThemeInColorCB",
          "PrefThemeInBoldCB", "PrefHideAnswerCB", "PastelCB", "DesktopColorCmBx", "EditTextSizeCmBx",
          "PrefAutoPatNoticeCB", "PrefAutoClueFreeformCB", "PrefAutoClueSymmetricalCB", "OKBtn", "CancelBtn",
          "PrefApplyBtn", "PrefSaveBtn", "PrefDefaultsBtn", "HelpBtn"})
        EXPECT_NE(dlg->findChild<QWidget *>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(dlg->PrefApplyBtn->text(), "Apply");
    EXPECT_EQ(dlg->PrefSaveBtn->text(), "Save");
    EXPECT_EQ(dlg->PrefDefaultsBtn->text(), "Defaults");
    EXPECT_EQ(dlg->PrefThemeInColorCB->text(), "Except show theme words in color");
    EXPECT_EQ(dlg->PrefThemeInBoldCB->text(), "Show theme words in bold");
    EXPECT_EQ(dlg->PrefAutoPatNoticeCB->text(), "Give notice when not automatically selecting a pattern.");
    EXPECT_EQ(dlg->PrefAutoClueFreeformCB->text(), "freeform and/or");
    EXPECT_EQ(dlg->PrefAutoClueSymmetricalCB->text(), "symmetrical puzzles.");

    auto items = [](QComboBox *box) {
        QStringList list;
        for (int i = 0; i < box->count(); ++i)
            list << box->itemText(i);
        return list;
    };
    EXPECT_EQ(items(dlg->PrefNonThemeColorCmBx), QStringList({"Black", "Dark gray", "Light gray", "White"}));
    EXPECT_EQ(items(dlg->DesktopColorCmBx),
              QStringList({"Normal", "Normal--Lighter for some", "Gray", "Silver", "White", "Cream", "Ice",
                           "Light Blue", "Blue", "Light Green", "Green", "Yellow", "Custom"}));
    EXPECT_EQ(items(dlg->EditTextSizeCmBx),
              QStringList({"Small", "Medium", "Large", "Extra large", "Jumbo"}));

    // Hidden and disabled, also once the dialog shows.
    dlg->show();
    EXPECT_FALSE(dlg->PrefHideAnswerCB->isVisible());
    EXPECT_FALSE(dlg->PrefHideAnswerCB->isEnabled());
    EXPECT_FALSE(dlg->PastelCB->isVisible());
    EXPECT_FALSE(dlg->PastelCB->isEnabled());
    EXPECT_TRUE(dlg->PrefThemeInColorCB->isVisible());
    dlg->hide();

    // The font list is the screen's, sorted.
    const QStringList fonts = items(dlg->PencilFontCmBx);
    QStringList sorted = fonts;
    sorted.sort(Qt::CaseInsensitive);
    EXPECT_EQ(fonts, sorted);
}

// Neither "Comic Sans MS" nor "Arial" is installed on many Linux desktops: the font box then
// shows the installed face that stands in for the wanted one, never an empty choice.
TEST_F(PreferencesTest, FontBoxSelectsAnInstalledFaceForAFontThatIsMissing)
{
    const QStringList installed = GetFontList();
    ASSERT_FALSE(installed.isEmpty());
    for (const QString &wanted : {QStringLiteral("No Such Font"), QStringLiteral("Comic Sans MS"),
                                  QStringLiteral("Arial"), installed.last()}) {
        SCOPED_TRACE(wanted.toStdString());
        PencilFont = wanted;
        dlg->LoadFromSettings();
        ASSERT_GE(dlg->PencilFontCmBx->currentIndex(), 0);
        const QString shown = dlg->PencilFontCmBx->currentText();
        EXPECT_TRUE(installed.contains(shown));
        if (installed.contains(wanted)) {
            EXPECT_EQ(shown, wanted);
        }
        dlg->PrefDefaultsBtn->click();
        ASSERT_GE(dlg->PencilFontCmBx->currentIndex(), 0);
        EXPECT_EQ(dlg->PencilFontCmBx->currentText(),
                  PencilFontChoice(installed, QStringLiteral("Comic Sans MS")));
        dlg->PrefApplyBtn->click();
        EXPECT_TRUE(installed.contains(PencilFont));
    }
}

TEST(FontChoiceTest, FirstInstalledCandidateElseAnyInstalledFont)
{
    const QStringList installed = {"DejaVu Sans", "Liberation Sans", "Noto Serif"};
    const struct {
        QStringList installed, candidates;
        QString expected;
    } cases[] = {
        {installed, {"Comic Sans MS", "Arial", "Liberation Sans"}, "Liberation Sans"},
        {installed, {"Noto Serif", "DejaVu Sans"}, "Noto Serif"},
        {installed, {"Comic Sans MS", "Arial"}, "DejaVu Sans"},
        {installed, {"liberation sans"}, "DejaVu Sans"}, // names match exactly
        {installed, {"", "Noto Serif"}, "Noto Serif"},
        {{}, {"Arial", "Comic Sans MS"}, "Arial"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FirstInstalledFont(c.installed, c.candidates), c.expected)
            << c.candidates.join(", ").toStdString();
    EXPECT_EQ(PencilFontChoice(installed, "Noto Serif"), "Noto Serif");
    EXPECT_EQ(PencilFontChoice(QStringList{"Arial", "Comic Sans MS"}, "Missing"), "Comic Sans MS");
    EXPECT_EQ(PencilFontChoice(QStringList{"Arial", "DejaVu Sans"}, "Missing"), "Arial");
    EXPECT_TRUE(installed.contains(PencilFontChoice(installed, "Missing")));
}

TEST_F(PreferencesTest, ApplicationColoursOfTheList)
{
    const QPalette palette = QApplication::palette();
    const QColor button = palette.color(QPalette::Active, QPalette::Button);
    const QColor light = palette.color(QPalette::Active, QPalette::Light);
    EXPECT_EQ(dlg->AppColorOf(0), (button.blue() << 16) | (button.green() << 8) | button.red());
    EXPECT_EQ(dlg->AppColorOf(1), (light.blue() << 16) | (light.green() << 8) | light.red());
    const TColor fixed[] = {0xC0C0C0, 0xEFEFEF, 0xFFFFFF, 0xEFFAFA, 0xE8E4E0,
                            0xF8E0C0, 0xDBC782, 0xCAF7C8, 0x6FEA75, 0x94FCFA};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(dlg->AppColorOf(i + 2), fixed[i]) << dlg->DesktopColorCmBx->itemText(i + 2).toStdString();
    EXPECT_EQ(dlg->AppColorOf(12), dlg->CustomColor());
}

TEST_F(PreferencesTest, DefaultsThenCancelChangesNothing)
{
    const TPrefValues before = unusual();
    before.Install();
    dlg->LoadFromSettings();
    dlg->PrefDefaultsBtn->click();
    // The controls show the defaults ...
    EXPECT_EQ(dlg->PencilFontSizeSpEd->value(), 60);
    EXPECT_EQ(dlg->PrefNonThemeColorCmBx->currentText(), "Dark gray");
    EXPECT_TRUE(dlg->PrefThemeInColorCB->isChecked());
    EXPECT_FALSE(dlg->PrefThemeInBoldCB->isChecked());
    EXPECT_TRUE(dlg->PrefAutoClueSymmetricalCB->isChecked());
    EXPECT_TRUE(dlg->PrefAutoClueFreeformCB->isChecked());
    if (GetFontList().contains("Comic Sans MS")) {
        EXPECT_EQ(dlg->PencilFontCmBx->currentText(), "Comic Sans MS");
    }
    // ... what Defaults does not touch stays ...
    EXPECT_EQ(dlg->DesktopColorCmBx->currentText(), "Cream");
    EXPECT_EQ(dlg->EditTextSizeCmBx->currentText(), "Extra large");
    EXPECT_FALSE(dlg->PrefAutoPatNoticeCB->isChecked());
    // ... and nothing was stored or told.
    expectSame(TPrefValues::Current(), before, "after Defaults");
    dlg->CancelBtn->click();
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
    expectSame(TPrefValues::Current(), before, "after Cancel");
    EXPECT_TRUE(calls.isEmpty()) << calls.join(", ").toStdString();
}

TEST_F(PreferencesTest, DefaultsThenApplyStoresTheDefaults)
{
    unusual().Install();
    dlg->LoadFromSettings();
    dlg->PrefDefaultsBtn->click();
    dlg->PrefApplyBtn->click();
    EXPECT_EQ(PencilSize, 60);
    EXPECT_EQ(PencilColor, 0x808080);
    EXPECT_TRUE(PencilThemeColor);
    EXPECT_FALSE(PencilThemeBold);
    EXPECT_TRUE(AutoClueSymmetrical);
    EXPECT_TRUE(AutoClueFreeform);
    EXPECT_EQ(ColorScheme, 0xEFFAFA);
    EXPECT_EQ(EditTextSize, 10);
    EXPECT_FALSE(AutoPatternNotice);
}

TEST_F(PreferencesTest, TypedSizeOutOfRangeIsRedAndApplyKeepsThePreviousSize)
{
    PencilSize = 45;
    dlg->LoadFromSettings();
    EXPECT_EQ(dlg->PendingPencilSize(), 45);
    dlg->show();
    dlg->PencilFontSizeSpEd->setFocus();
    dlg->PencilFontSizeSpEd->selectAll();
    for (const char *digit : {"1", "0", "1"})
        sendKey(dlg->PencilFontSizeSpEd, Qt::Key_0 + (digit[0] - '0'), QString::fromLatin1(digit));
    EXPECT_EQ(dlg->PencilFontSizeSpEd->cleanText(), "101");
    // Red as soon as the text is out of range; 1 and 10 on the way did not count as sizes.
    EXPECT_EQ(dlg->PencilFontSizeSpEd->palette().color(QPalette::Text), QColor(Qt::red));
    EXPECT_EQ(dlg->PendingPencilSize(), 45);
    dlg->PrefApplyBtn->click();
    EXPECT_EQ(dlg->PencilFontSizeSpEd->value(), 101);
    EXPECT_EQ(dlg->PencilFontSizeSpEd->palette().color(QPalette::Text), QColor(Qt::red));
    EXPECT_EQ(dlg->PendingPencilSize(), 45);
    EXPECT_EQ(PencilSize, 45);

    // Entered with the Enter key, which is OK: the same.
    dlg->PencilFontSizeSpEd->selectAll();
    for (const char *digit : {"2", "0", "0"})
        sendKey(dlg->PencilFontSizeSpEd, Qt::Key_0 + (digit[0] - '0'), QString::fromLatin1(digit));
    sendKey(dlg->PencilFontSizeSpEd, Qt::Key_Return);
    EXPECT_EQ(dlg->PencilFontSizeSpEd->value(), 200);
    EXPECT_EQ(dlg->PendingPencilSize(), 45);
    EXPECT_EQ(PencilSize, 45);
    dlg->show();

    // A size in range typed and applied is taken.
    dlg->PencilFontSizeSpEd->selectAll();
    for (const char *digit : {"7", "5"})
        sendKey(dlg->PencilFontSizeSpEd, Qt::Key_0 + (digit[0] - '0'), QString::fromLatin1(digit));
    EXPECT_EQ(dlg->PencilFontSizeSpEd->palette().color(QPalette::Text), QColor(Qt::black));
    dlg->PrefApplyBtn->click();
    EXPECT_EQ(PencilSize, 75);
    PencilSize = 45;
    dlg->LoadFromSettings();

    // Below the range as well.
    dlg->PencilFontSizeSpEd->setValue(-1);
    EXPECT_EQ(dlg->PencilFontSizeSpEd->palette().color(QPalette::Text), QColor(Qt::red));
    dlg->PrefApplyBtn->click();
    EXPECT_EQ(PencilSize, 45);

    // Both ends of the range are taken, in black.
    for (int size : {100, 0}) {
        dlg->PencilFontSizeSpEd->setValue(size);
        EXPECT_EQ(dlg->PencilFontSizeSpEd->palette().color(QPalette::Text), QColor(Qt::black));
        dlg->PrefApplyBtn->click();
        EXPECT_EQ(PencilSize, size);
    }
    dlg->hide();
}

TEST_F(PreferencesTest, CustomChosenByKeyboardKeepsTheLastCustomColour)
{
    ScriptedUiDialogs dialogs;
    dialogs.Colors << 0x00FF00;
    // A scheme not in the list becomes the custom colour.
    ColorScheme = 0x123456;
    dlg->LoadFromSettings();
    EXPECT_EQ(dlg->DesktopColorCmBx->currentIndex(), TPreferencesDlg::CustomColorIndex);
    EXPECT_EQ(dlg->CustomColor(), 0x123456);
    // Another scheme from the list keeps it.
    ColorScheme = 0xEFFAFA;
    dlg->LoadFromSettings();
    EXPECT_EQ(dlg->DesktopColorCmBx->currentText(), "Cream");
    EXPECT_EQ(dlg->CustomColor(), 0x123456);

    sendKey(dlg->DesktopColorCmBx, Qt::Key_End);
    EXPECT_EQ(dlg->DesktopColorCmBx->currentText(), "Custom");
    EXPECT_FALSE(dialogs.Asked.contains("color")) << dialogs.Asked.join(", ").toStdString();
    EXPECT_EQ(dlg->CustomColor(), 0x123456);
    dlg->PrefApplyBtn->click();
    EXPECT_EQ(DesktopColor, 0x123456);
    EXPECT_EQ(ColorScheme, 0x123456);
    ASSERT_FALSE(schemes.empty());
    EXPECT_EQ(schemes.back(), 0x123456);
    // The dialog takes the application colour too.
    EXPECT_EQ(dlg->palette().color(QPalette::Window), QColor(0x56, 0x34, 0x12));
}

TEST_F(PreferencesTest, CustomChosenFromTheDroppedDownListAsksForAColour)
{
    ScriptedUiDialogs dialogs;
    dialogs.Colors << 0xABCDEF;
    ColorScheme = 0xEFFAFA;
    dlg->LoadFromSettings();
    EXPECT_FALSE(dlg->DroppedDown());
    dlg->show();

    auto chooseFromList = [&](int index) {
        dlg->DesktopColorCmBx->showPopup();
        EXPECT_TRUE(dlg->DroppedDown());
        QAbstractItemView *view = dlg->DesktopColorCmBx->view();
        view->setCurrentIndex(view->model()->index(index, 0));
        sendKey(view, Qt::Key_Return);
    };

    chooseFromList(TPreferencesDlg::CustomColorIndex);
    EXPECT_EQ(dlg->DesktopColorCmBx->currentText(), "Custom");
    EXPECT_EQ(dialogs.Asked, QStringList({"color"}));
    EXPECT_EQ(dlg->CustomColor(), 0xABCDEF);
    EXPECT_FALSE(dlg->DroppedDown()); // cleared by the change
    dlg->PrefApplyBtn->click();
    EXPECT_EQ(DesktopColor, 0xABCDEF);
    EXPECT_EQ(ColorScheme, 0xABCDEF);

    // A cancelled colour dialog keeps the custom colour.
    chooseFromList(TPreferencesDlg::CustomColorIndex);
    EXPECT_EQ(dialogs.Asked.count("color"), 2);
    EXPECT_EQ(dlg->CustomColor(), 0xABCDEF);

    // Another item from the list asks nothing and clears the flag.
    chooseFromList(8);
    EXPECT_EQ(dlg->DesktopColorCmBx->currentText(), "Blue");
    EXPECT_EQ(dialogs.Asked.count("color"), 2);
    EXPECT_FALSE(dlg->DroppedDown());
    dlg->PrefApplyBtn->click();
    EXPECT_EQ(ColorScheme, 0xDBC782);
    dlg->hide();
}

TEST_F(PreferencesTest, LoadThenStoreKeepsEverySetting)
{
    const QStringList fonts = GetFontList();
    const QPalette palette = QApplication::palette();
    const QColor button = palette.color(QPalette::Active, QPalette::Button);
    const TColor normal = (button.blue() << 16) | (button.green() << 8) | button.red();

    struct Row {
        const char *name;
        std::function<void(TPrefValues &)> change;
    };
    const std::vector<Row> rows = {
        {"defaults", [](TPrefValues &) {}},
        {"first font", [&](TPrefValues &v) { v.Font = fonts.isEmpty() ? v.Font : fonts.first(); }},
        {"last font", [&](TPrefValues &v) { v.Font = fonts.isEmpty() ? v.Font : fonts.last(); }},
        {"size 0", [](TPrefValues &v) { v.Size = 0; }},
        {"size 100", [](TPrefValues &v) { v.Size = 100; }},
        {"size 37", [](TPrefValues &v) { v.Size = 37; }},
        {"pencil black", [](TPrefValues &v) { v.Pencil = 0; }},
        {"pencil dark gray", [](TPrefValues &v) { v.Pencil = 0x808080; }},
        {"pencil light gray", [](TPrefValues &v) { v.Pencil = 0xC0C0C0; }},
        {"pencil white", [](TPrefValues &v) { v.Pencil = 0xFFFFFF; }},
        {"theme colour off", [](TPrefValues &v) { v.ThemeColor = false; }},
        {"theme bold on", [](TPrefValues &v) { v.ThemeBold = true; }},
        {"hide answer on", [](TPrefValues &v) { v.HideAnswer = true; }},
        {"pastel on", [](TPrefValues &v) { v.Pastel = true; }},
        {"normal colour", [&](TPrefValues &v) { v.Scheme = v.Desktop = normal; }},
        {"gray", [](TPrefValues &v) { v.Scheme = v.Desktop = 0xC0C0C0; }},
        {"cream", [](TPrefValues &v) { v.Scheme = v.Desktop = 0xEFFAFA; }},
        {"ice", [](TPrefValues &v) { v.Scheme = v.Desktop = 0xE8E4E0; }},
        {"light blue", [](TPrefValues &v) { v.Scheme = v.Desktop = 0xF8E0C0; }},
        {"yellow", [](TPrefValues &v) { v.Scheme = v.Desktop = 0x94FCFA; }},
        {"custom colour", [](TPrefValues &v) { v.Scheme = v.Desktop = 0x010203; }},
        {"text 7", [](TPrefValues &v) { v.TextSize = 7; }},
        {"text 9", [](TPrefValues &v) { v.TextSize = 9; }},
        {"text 11", [](TPrefValues &v) { v.TextSize = 11; }},
        {"no pattern notice", [](TPrefValues &v) { v.PatternNotice = false; }},
        {"no symmetrical clues", [](TPrefValues &v) { v.ClueSymmetrical = false; }},
        {"freeform clues", [](TPrefValues &v) { v.ClueFreeform = true; }},
        {"everything",
         [&](TPrefValues &v) {
             v = unusual();
             v.HideAnswer = v.Pastel = v.ClueFreeform = true;
         }},
    };
    for (const Row &row : rows) {
        TPrefValues values;
        values.Font = fonts.isEmpty() ? QStringLiteral("Arial") : fonts.value(fonts.size() / 2);
        values.Desktop = values.Scheme; // the scheme replaces the desktop colour on every start
        row.change(values);
        values.Install();
        dlg->LoadFromSettings();
        // Something else in the globals, so that Store has to put each value back.
        TPrefValues other = unusual();
        other.Font = QStringLiteral("no such font");
        other.Size = 99;
        other.Pencil = 0xC0C0C1;
        other.ThemeColor = !values.ThemeColor;
        other.ThemeBold = !values.ThemeBold;
        other.HideAnswer = !values.HideAnswer;
        other.Pastel = !values.Pastel;
        other.Desktop = other.Scheme = 0x445566;
        other.TextSize = 12;
        other.PatternNotice = !values.PatternNotice;
        other.ClueSymmetrical = !values.ClueSymmetrical;
        other.ClueFreeform = !values.ClueFreeform;
        other.Install();
        dlg->StoreToSettings();
        TPrefValues expected = values;
        if (fonts.isEmpty())
            expected.Font = other.Font; // no font to select: the font stays
        expectSame(TPrefValues::Current(), expected, row.name);
    }
}

TEST_F(PreferencesTest, UnlistedValuesFallBackToADefaultChoiceOrKeepTheList)
{
    EditTextSize = 9;
    dlg->LoadFromSettings();
    EXPECT_EQ(dlg->EditTextSizeCmBx->currentText(), "Large");
    // A pencil colour not in the list selects "Dark gray"; a text size outside 7..11 leaves the
    // list as it was.
    PencilColor = 0x123456;
    EditTextSize = 14;
    dlg->LoadFromSettings();
    EXPECT_EQ(dlg->PrefNonThemeColorCmBx->currentText(), "Dark gray");
    EXPECT_EQ(dlg->EditTextSizeCmBx->currentText(), "Large");
    dlg->StoreToSettings();
    EXPECT_EQ(PencilColor, 0x808080);
    EXPECT_EQ(EditTextSize, 9);
}

TEST_F(PreferencesTest, AutoClueBoxesReachTheHooks)
{
    AutoClueSymmetrical = true;
    AutoClueFreeform = false;
    dlg->LoadFromSettings();
    EXPECT_TRUE(dlg->PrefAutoClueSymmetricalCB->isChecked());
    EXPECT_FALSE(dlg->PrefAutoClueFreeformCB->isChecked());

    dlg->PrefAutoClueSymmetricalCB->setChecked(false);
    dlg->PrefAutoClueFreeformCB->setChecked(true);
    EXPECT_TRUE(symmetricalTicks.empty()); // only Apply, OK or Save tell
    dlg->PrefApplyBtn->click();
    ASSERT_EQ(symmetricalTicks.size(), 1u);
    ASSERT_EQ(freeformTicks.size(), 1u);
    EXPECT_FALSE(symmetricalTicks.back());
    EXPECT_TRUE(freeformTicks.back());
    EXPECT_FALSE(AutoClueSymmetrical);
    EXPECT_TRUE(AutoClueFreeform);

    dlg->PrefAutoClueSymmetricalCB->setChecked(true);
    dlg->PrefAutoClueFreeformCB->setChecked(false);
    dlg->OKBtn->click();
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_TRUE(symmetricalTicks.back());
    EXPECT_FALSE(freeformTicks.back());

    // Apply tells the window in order: colours, text size, menus, then resize and repaint.
    calls.clear();
    dlg->PrefApplyBtn->click();
    EXPECT_EQ(calls, QStringList({"ApplyColorScheme", "ApplyEditTextSize", "SetAutoClueSymmetrical",
                                  "SetAutoClueFreeform", "ApplyEditTextSize", "FormResize", "RedrawView"}));
}

TEST_F(PreferencesTest, ReadPreferenceFlagsReachesTheHooks)
{
    TNameValueLines list;
    list.Add("PencilThemeColor", "T");
    list.Add("PencilThemeBold", "F");
    list.Add("PencilHideAnswer", "x");
    list.Add("AutoPatternNotice", "F");
    list.Add("AutoClue", "F"); // the fallback for an absent "AutoClueSymmetrical"
    list.Add("AutoClueFreeform", "T");
    dlg->ReadPreferenceFlags(list);
    EXPECT_TRUE(PencilThemeColor);
    EXPECT_FALSE(PencilThemeBold);
    EXPECT_FALSE(PencilHideAnswer);
    EXPECT_FALSE(AutoPatternNotice);
    ASSERT_FALSE(symmetricalTicks.empty());
    EXPECT_FALSE(symmetricalTicks.back());
    ASSERT_FALSE(freeformTicks.empty());
    EXPECT_TRUE(freeformTicks.back());

    TNameValueLines empty;
    dlg->ReadPreferenceFlags(empty);
    EXPECT_TRUE(AutoPatternNotice);
    EXPECT_TRUE(symmetricalTicks.back());
    EXPECT_FALSE(freeformTicks.back());
}

TEST_F(PreferencesTest, SaveAppliesThenWritesTheRegistry)
{
    PencilSize = 50;
    dlg->LoadFromSettings();
    dlg->PencilFontSizeSpEd->setValue(70);
    dlg->PrefSaveBtn->click();
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written.back().Size, 70);
    EXPECT_TRUE(calls.contains("RedrawView"));
    EXPECT_EQ(calls.last(), "WriteRegistry");
}

TEST_F(PreferencesTest, SavePreferencesTakesTheSettingsFirst)
{
    // The controls hold something else; SavePreferences writes the settings as they are.
    PencilSize = 30;
    AutoClueFreeform = true;
    dlg->LoadFromSettings();
    dlg->PencilFontSizeSpEd->setValue(90);
    dlg->PrefAutoClueFreeformCB->setChecked(false);
    dlg->SavePreferences();
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written.back().Size, 30);
    EXPECT_TRUE(written.back().ClueFreeform);
    EXPECT_EQ(dlg->PencilFontSizeSpEd->value(), 30);

    // While the main window closes nothing is applied, only written.
    closing = true;
    calls.clear();
    dlg->SavePreferences();
    EXPECT_EQ(calls, QStringList({"WriteRegistry"}));
    ASSERT_EQ(written.size(), 2u);
}

TEST_F(PreferencesTest, WriteRegistryWithoutAHookWritesTheProgramKey)
{
    dlg->Hooks.WriteRegistry = nullptr;
    PencilSize = 33;
    EditTextSize = 11;
    dlg->LoadFromSettings();
    dlg->PrefSaveBtn->click();
    QSettings key(QStringLiteral("Halvard, Inc."), QStringLiteral("TRV"));
    EXPECT_EQ(key.value("PencilSize").toInt(), 33);
    EXPECT_EQ(key.value("EditTextSize").toInt(), 11);
    key.clear();
    key.sync();
}

TEST_F(PreferencesTest, HelpShowsTheBalloon)
{
    dlg->move(100, 80);
    dlg->HelpBtn->click();
    EXPECT_TRUE(balloonText.startsWith(
        "This Preferences dialog changes how the program operates so it is convenient for you to use."));
    EXPECT_EQ(balloonSeconds, 70);
    EXPECT_EQ(balloonX, dlg->frameGeometry().left() + dlg->HelpBtn->width() + 150);
    EXPECT_EQ(balloonY, dlg->frameGeometry().top());

    // Without the hook and without a main window: an information box.
    dlg->Hooks.ShowBalloon = nullptr;
    ScriptedPrompter prompter;
    dlg->HelpBtn->click();
    ASSERT_EQ(prompter.boxes.size(), 1);
    EXPECT_TRUE(prompter.lastText().startsWith("This Preferences dialog changes how the program operates"));
}

TEST_F(PreferencesTest, ShowingTakesTheApplicationColour)
{
    ColorScheme = 0xDBC782;
    dlg->show();
    EXPECT_EQ(dlg->palette().color(QPalette::Window), QColor(0x82, 0xC7, 0xDB));
    dlg->hide();
}

TEST(ApplyEditTextSizeTest, SizesTheEditorMemoAndClueGrids)
{
    const int saved = EditTextSize;
    QWidget window;
    TCluesEdit editor(&window);
    editor.SetSlotsFont(QFont(QStringLiteral("Arial"), 8));
    QPlainTextEdit memo(&window);
    QStandardItemModel model(4, 3);
    QTableView across(&window), down(&window), alternate(&window);
    for (QTableView *grid : {&across, &down, &alternate})
        grid->setModel(&model);
    for (int size : {7, 11}) {
        EditTextSize = size;
        ApplyEditTextSize(&editor, &memo, &across, &down, &alternate);
        EXPECT_EQ(editor.TextFontSize(), size);
        EXPECT_EQ(editor.SlotsFont().pointSize(), size);
        EXPECT_EQ(editor.SlotsRight(), TextWidthInFont(QStringLiteral("22 A"), editor.SlotsFont()) + 3);
        EXPECT_EQ(memo.font().pointSize(), size);
        for (QTableView *grid : {&across, &down, &alternate}) {
            EXPECT_EQ(grid->font().pointSize(), size);
            const int height = QFontInfo(grid->font()).pixelSize() + 5;
            EXPECT_EQ(grid->verticalHeader()->defaultSectionSize(), height);
            EXPECT_EQ(grid->rowHeight(0), 0);
            EXPECT_EQ(grid->rowHeight(1), height);
        }
    }
    // Null controls are skipped.
    ApplyEditTextSize(nullptr, nullptr, nullptr, nullptr, nullptr);
    EditTextSize = saved;
}

} // namespace
