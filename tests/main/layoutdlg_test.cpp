// The Layout dialog made directly, its hooks standing in for the main window: load and store,
// entries that turn red and keep their last value, the tab and place checks, OK, Apply and
// "Do Auto-Layout Now" with their checkpoints, the quiet title store, border choices and the
// custom border, stepping, the hint blinks, shading, defaults, help, the word-bank memory, and
// the screenshots of two tabs.
#include "layoutdlg.h"

#include "checkpts.h"
#include "cluespg.h"
#include "globals.h"
#include "layoutentries.h"
#include "layoutsettings.h"
#include "prompter.h"
#include "registry.h"
#include "trv600.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QThread>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>

static void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

namespace {

/** Every setting the dialog stores, one "name=value" line each, doubles in full. */
QStringList settingsSnapshot()
{
    QStringList s;
    auto d = [&](const char *name, double v) { s << QString("%1=%2").arg(name).arg(v, 0, 'g', 17); };
    auto i = [&](const char *name, int v) { s << QString("%1=%2").arg(name).arg(v); };
    auto t = [&](const char *name, const QString &v) { s << QString("%1=%2").arg(name, v); };
    d("PaperWidth", PaperWidth), d("PaperHeight", PaperHeight);
    d("MarginLeft", MarginLeft), d("MarginTop", MarginTop), d("MarginRight", MarginRight),
        d("MarginBottom", MarginBottom);
    i("AutoLayout", DocControls.AutoLayout), i("AutoLayoutPageChoice", AutoLayoutPageChoice);
    i("AskBeforeUsingTwoPages", AskBeforeUsingTwoPages);
    for (const bool *b :
         {&AutoMargins, &AutoCellSize, &AutoCellShape, &AutoClueSize, &AutoClueSpacing, &AutoClueColumns,
          &AutoNewColumn, &AutoTitleSize, &AutoCenter, &AutoLayout_OnApply, &AutoLayout_OnSpill})
        i("switch", *b);
    t("FrameStyle", FrameStyle);
    for (const TPageRect *r : {&FrameOutside, &FrameInside})
        d("inset", r->Left), d("inset", r->Top), d("inset", r->Right), d("inset", r->Bottom);
    i("PutFrameOnCode", PutFrameOnCode);
    d("CellWidth", CellWidth), d("CellHeight", CellHeight), d("GridLineThickness", GridLineThickness);
    i("clPuzzleGrid", clPuzzleGrid), t("PuzzleNumberFont", PuzzleNumberFont),
        i("CellNumberPercent", CellNumberPercent);
    i("clPuzzleNumber", clPuzzleNumber), i("clSolutionNumber", clSolutionNumber), i("PuzzlePage", PuzzlePage);
    d("PuzzleLeft", PuzzleLeft), d("PuzzleTop", PuzzleTop);
    i("AlignSolution", AlignSolution), i("NumberedSolution", NumberedSolution);
    d("CellWidthSol", CellWidthSol), d("CellHeightSol", CellHeightSol),
        d("GridLineThicknessSol", GridLineThicknessSol);
    i("clSolutionGrid", clSolutionGrid), t("SolutionFont", SolutionFont),
        i("CellLetterPercent", CellLetterPercent);
    i("clSolutionLetter", clSolutionLetter), i("SolutionThemeBold", SolutionThemeBold);
    i("SolutionThemeColor", SolutionThemeColor), t("SolutionHeaderText", SolutionHeaderText);
    t("SolutionHeaderFont", SolutionHeaderFont), i("SolutionHeaderFontSize", SolutionHeaderFontSize);
    i("SolutionHeaderStyle", SolutionHeaderStyle), i("SolutionHeaderColor", SolutionHeaderColor);
    i("SeparateClues", SeparateClues), i("ClueColumns", ClueColumns),
        i("LeadingPercentage", LeadingPercentage);
    t("AcrossText", AcrossText), t("DownText", DownText), t("AcrDwnFont", AcrDwnFont);
    i("AcrDwnFontSize", AcrDwnFontSize), i("AcrDwnBold", AcrDwnBold), i("AcrDwnCapitals", AcrDwnCapitals);
    i("NewColumnDown", NewColumnDown), t("ClueNumberFont", ClueNumberFont),
        i("ClueNumberFontSize", ClueNumberFontSize);
    i("ClueNumberStyle", ClueNumberStyle), t("ClueTextFont", ClueTextFont),
        i("ClueTextFontSize", ClueTextFontSize);
    i("clClues", clClues), i("ClueThemeStyle", ClueThemeStyle), i("ClueThemeInColor", ClueThemeInColor);
    i("ClueThemeAllCaps", ClueThemeAllCaps);
    t("Title", DocControls.PuzzleTitle), t("TitleFont", TitleFont), i("TitleFontSize", TitleFontSize);
    i("TitleColor", TitleColor), i("TitleStyle", TitleStyle), i("PutTitleOnCode", PutTitleOnCode);
    t("Subtitle", DocControls.PuzzleSubtitle), t("SubtitleFont", SubtitleFont),
        i("SubtitleFontSize", SubtitleFontSize);
    i("SubtitleColor", SubtitleColor), i("SubtitleStyle", SubtitleStyle),
        d("SubtitleExtraSpacing", SubtitleExtraSpacing);
    t("CreditsLine", CreditsLine), t("CreditsFont", CreditsFont), i("CreditsFontSize", CreditsFontSize);
    t("WorksheetLine", WorksheetLine), t("WorksheetFontName", WorksheetFontName),
        i("WorksheetFontSize", WorksheetFontSize);
    i("WordBankMode", WordBankMode), i("WordBankSort", WordBankSort), t("WordBankHeader", WordBankHeader);
    i("WordBankPage", WordBankPage), i("WordBankCB", DocControls.WordBankCB), i("clWordBank", clWordBank);
    return s;
}

void sendKey(QWidget *widget, int key, const QString &text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(widget, &release);
}

bool waitUntil(const std::function<bool()> &done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return done();
}

QStringList undoHistory() { return UndoHistoryText().split("\r\n", Qt::SkipEmptyParts); }

class LayoutDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InitGlobals();
        DocControls = TDocumentControls{};
        DocHooks = TDocumentHooks{};
        CheckPointHooks = TCheckPointHooks{};
        TRVCreateRenumGrid(15, 15);
        FreeClueGrids();
        CreateClueGrids();
        WordList = &words;
        CreateCheckPointPool(10);
        makeDialog();
    }
    void TearDown() override
    {
        dlg.reset();
        FreeCheckPointPool();
        WordList = nullptr;
    }
    void makeDialog()
    {
        dlg = std::make_unique<TLayoutDlg>();
        dlg->Hooks.SetModified = [this] { ++modified; };
        dlg->Hooks.SetTitlesQuietly = [this](const QString &title, const QString &subtitle) {
            titlesShown << title + "|" + subtitle;
        };
        dlg->Hooks.RunAutoLayout = [this](int flags) {
            expertFlags << flags;
            ClueColumns = 2; // what the expert chose
        };
        dlg->Hooks.ShowViewTabIfOther = [this](const QString &caption) { viewTabs << caption; };
        dlg->Hooks.RebuildClueGrids = [this] { ++rebuilds; };
        dlg->Hooks.ShowBalloon = [this](const QString &text, int x, int seconds, int y) {
            balloon = {text, x, seconds, y};
        };
    }
    template <typename T> T *ctl(const char *name) const
    {
        T *widget = dlg->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLineEdit *edit(const char *name) const { return ctl<QLineEdit>(name); }
    void type(const char *name, const QString &text) const
    {
        QLineEdit *e = edit(name);
        e->setText(text);
        emit e->textEdited(text);
    }

    TPlainWordList words;
    ScriptedPrompter prompter;
    std::unique_ptr<TLayoutDlg> dlg;
    int modified = 0, rebuilds = 0;
    QStringList titlesShown, viewTabs;
    QList<int> expertFlags;
    struct {
        QString text;
        int x = 0, seconds = 0, y = 0;
    } balloon;
};

TEST_F(LayoutDlgTest, LoadThenStoreChangesNoSetting)
{
    // Values that the entries show rounded, a border whose margins are not the stored ones, and
    // fonts, styles and colours away from the defaults.
    FrameStyle = ReadyBorderStyles().at(18);
    FrameOutside = {0.625, 0.5, 0.5, 0.63};
    FrameInside = {0.2, 0.25, 0.3125, 0.25};
    MarginLeft = 0.777, MarginTop = 1.0625, MarginRight = 0.8, MarginBottom = 1.3;
    PutFrameOnCode = 5;
    CellWidth = 0.2501, CellHeight = 0.3;
    GridLineThickness = 0.015;
    PuzzleLeft = 0.125, PuzzleTop = -0.5;
    PuzzlePage = 2;
    CellWidthSol = CellHeightSol = 0.16;
    clPuzzleGrid = 255, clPuzzleNumber = clSolutionNumber = 0x123456, clSolutionLetter = 0xFF0000;
    LeadingPercentage = 120, ClueColumns = 3, SeparateClues = true;
    ClueTextFontSize = 11, ClueNumberFontSize = 12, AcrDwnFontSize = 13;
    ClueThemeStyle = fsItalic, ClueThemeInColor = true;
    TitleFont = "Some Font Nobody Has";
    TitleStyle = fsBold | fsStrikeOut, TitleFontSize = 40, PutTitleOnCode = 8;
    SubtitleExtraSpacing = 0.0625;
    SolutionHeaderText = "Answers", SolutionHeaderFontSize = 14, SolutionHeaderStyle = fsItalic;
    CreditsLine = "Puzzle by Ann";
    WorksheetLine = "Name ________________________";
    DocControls.PuzzleTitle = "Birds", DocControls.PuzzleSubtitle = "of the garden";
    DocControls.WordBankCB = true;
    WordBankMode = 0, WordBankSort = 2, WordBankHeader = "HINTS: ";
    AutoLayoutPageChoice = 3, WordBankPage = 1;
    AutoMargins = false, AutoCenter = false, AskBeforeUsingTwoPages = false;
    const QStringList before = settingsSnapshot();

    dlg->LoadFromSettings();
    dlg->StoreToSettings();
    EXPECT_EQ(settingsSnapshot(), before);
    EXPECT_FALSE(dlg->WordBankChanged());
    EXPECT_EQ(modified, 1);
    EXPECT_EQ(titlesShown, QStringList{"Birds|of the garden"});
    EXPECT_TRUE(expertFlags.isEmpty());
    EXPECT_TRUE(prompter.boxes.isEmpty());
}

TEST_F(LayoutDlgTest, EntriesTurnRedAndKeepTheirLastValidValue)
{
    dlg->LoadFromSettings();
    const struct {
        const char *entry;
        QString text;
        bool red;
        std::function<double()> working;
        double expected;
    } cases[] = {
        {"PuzzleCellWidthEdit", "0.04", true, [&] { return dlg->Working().CellWidth; }, 0.25},
        {"PuzzleCellWidthEdit", "0.05", false, [&] { return dlg->Working().CellWidth; }, 0.05},
        {"LeadingPercentageEB", "120 %", false, [&] { return double(dlg->Working().LeadingPercentage); },
         120},
        {"LeadingPercentageEB", "20 %", true, [&] { return double(dlg->Working().LeadingPercentage); }, 120},
        {"MarginTopEdit", "abc", true, [&] { return dlg->Working().MarginTop; }, 1},
        {"MarginTopEdit", "0.5\" wide", false, [&] { return dlg->Working().MarginTop; }, 0.5},
        {"MarginTopEdit", "-0.2", true, [&] { return dlg->Working().MarginTop; }, 0.5},
        {"FrameSpacingInsideLeftEd", "x", true, [&] { return dlg->Working().FrameInside.Left; }, 0.25},
        {"FrameSpacingInsideLeftEd", "0.4", false, [&] { return dlg->Working().FrameInside.Left; }, 0.4},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.entry) + " \"" + c.text.toStdString() + "\"");
        type(c.entry, c.text);
        EXPECT_EQ(TLayoutDlg::IsRed(edit(c.entry)), c.red);
        EXPECT_DOUBLE_EQ(c.working(), c.expected);
    }

    // A red margin keeps the dialog on its tab and away from the settings.
    dlg->ActivateTab(TLayoutDlg::BorderTab);
    type("MarginTopEdit", "abc");
    dlg->LayoutPgCtl()->setCurrentIndex(TLayoutDlg::PuzzleTab);
    EXPECT_EQ(dlg->LayoutPgCtl()->currentIndex(), TLayoutDlg::BorderTab);
    EXPECT_EQ(prompter.lastText(), MarginTabMessage());
    dlg->OKBtnClick();
    dlg->LayoutApplyBtnClick();
    EXPECT_EQ(prompter.boxes.size(), 3);
    EXPECT_NE(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(modified, 0);
    EXPECT_EQ(MarginTop, 1);
    EXPECT_EQ(UndoCount(), 0);
}

TEST_F(LayoutDlgTest, PuzzleTabIsLeftOnlyWithGoodEntries)
{
    dlg->LoadFromSettings();
    dlg->ActivateTab(TLayoutDlg::PuzzleTab);
    type("PuzzleCellWidthEdit", "0.04");
    dlg->LayoutPgCtl()->setCurrentIndex(TLayoutDlg::TitleTab);
    EXPECT_EQ(dlg->LayoutPgCtl()->currentIndex(), TLayoutDlg::PuzzleTab);
    EXPECT_EQ(prompter.lastText(), "Puzzle cell width is out of range. Black text means the entry is "
                                   "acceptable. To close the Layout dialog without making any changes, "
                                   "press its Cancel button.");
    type("PuzzleCellWidthEdit", "0.3");
    dlg->LayoutPgCtl()->setCurrentIndex(TLayoutDlg::TitleTab);
    EXPECT_EQ(dlg->LayoutPgCtl()->currentIndex(), TLayoutDlg::TitleTab);
    EXPECT_EQ(prompter.boxes.size(), 1);
}

TEST_F(LayoutDlgTest, GridPlaceIsCheckedAgainstTheTypedMarginsAndAgainOnOK)
{
    dlg->LoadFromSettings();
    type("MarginLeftEdit", "2.00\"");
    type("LayoutPuzzleLeftEdit", "-1.5");
    EXPECT_FALSE(TLayoutDlg::IsRed(edit("LayoutPuzzleLeftEdit")))
        << "-1.5 lies within the typed 2-inch margin";

    // The margin goes back on its own tab: the place turns red, and OK (pressed there) refuses
    // with the Puzzle tab's sentence and shows that tab.
    dlg->ActivateTab(TLayoutDlg::BorderTab);
    type("MarginLeftEdit", "1.00\"");
    EXPECT_TRUE(TLayoutDlg::IsRed(edit("LayoutPuzzleLeftEdit")));
    dlg->OKBtnClick();
    EXPECT_NE(dlg->result(), QDialog::Accepted);
    EXPECT_TRUE(prompter.lastText().startsWith("Entry for \"from left margin\" is out of range. "));
    EXPECT_EQ(dlg->LayoutPgCtl()->currentIndex(), TLayoutDlg::PuzzleTab);
    EXPECT_EQ(PuzzleLeft, 0);
    EXPECT_EQ(modified, 0);
}

TEST_F(LayoutDlgTest, OkApplyAndAutoLayoutNowTakeTheirCheckpoints)
{
    const QString manual = "\tmanual layout & fonts change";
    const QString expert = "\tadjustment by Auto-Layout expert";
    enum Slot {
        Ok,
        Apply,
        Now
    };
    const struct {
        Slot slot;
        bool onApply;
        QStringList history; // newest first
        bool expertRuns;
        bool accepted;
    } cases[] = {
        {Apply, false, {manual}, false, false},      {Apply, true, {expert, manual}, true, false},
        {Now, false, {expert, manual}, true, false}, {Ok, false, {manual}, false, true},
        {Ok, true, {expert, manual}, true, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(int(&c - cases));
        ClearCheckPoints();
        InitGlobals();
        makeDialog();
        expertFlags.clear();
        viewTabs.clear();
        AutoLayout_OnApply = c.onApply;
        dlg->LoadFromSettings();
        if (c.slot == Ok)
            dlg->OKBtnClick();
        else if (c.slot == Apply)
            dlg->LayoutApplyBtnClick();
        else
            dlg->AutoLayoutNowBtnClick();
        EXPECT_EQ(undoHistory(), c.history);
        // (Two empty lists are not compared: Qt's comparison passes memcmp a null pointer.)
        if (c.expertRuns) {
            EXPECT_EQ(expertFlags, QList<int>{2});
        } else {
            EXPECT_TRUE(expertFlags.isEmpty());
        }
        EXPECT_EQ(dlg->result() == QDialog::Accepted, c.accepted);
        if (c.slot != Ok) {
            EXPECT_EQ(viewTabs, QStringList{"Page 1"});
        }
        // Apply shows what the expert chose; OK closes.
        if (c.slot != Ok && c.expertRuns) {
            EXPECT_EQ(ctl<QComboBox>("LayoutClueColumns")->currentText(), "2");
        }
    }
}

TEST_F(LayoutDlgTest, TitlesAreStoredWithoutTheTitleEditPath)
{
    dlg->LoadFromSettings();
    EXPECT_EQ(TitleBlockHeight, 0);
    edit("PuzzleTitleEd")->setText("Birds");
    edit("PuzzleSubtitleEd")->setText("and their songs");
    dlg->StoreToSettings();
    EXPECT_EQ(DocControls.PuzzleTitle, "Birds");
    EXPECT_EQ(DocControls.PuzzleSubtitle, "and their songs");
    EXPECT_EQ(titlesShown, QStringList{"Birds|and their songs"}) << "the window is told once, quietly";
    EXPECT_GT(TitleBlockHeight, 0) << "the store sets the title block up itself";
    EXPECT_TRUE(expertFlags.isEmpty()) << "no relayout by the expert in the middle of storing";
}

TEST_F(LayoutDlgTest, BorderChoicesSetTheMargins)
{
    dlg->LoadFromSettings();
    auto *styles = ctl<QComboBox>("FrameStyleCmBx");
    auto *spacing = ctl<QGroupBox>("BorderSpacingGB");
    auto *putOn = ctl<QComboBox>("PutFrameOnCmBx");
    EXPECT_TRUE(spacing->isHidden());
    EXPECT_FALSE(putOn->isEnabled());

    // "Frame" has 0.19 inch of bands: each margin is outside + 0.19 + inside.
    styles->setCurrentIndex(BorderStyleItems().indexOf(ReadyBorderStyles().at(18)));
    EXPECT_FALSE(spacing->isHidden());
    EXPECT_TRUE(putOn->isEnabled());
    EXPECT_EQ(edit("MarginTopEdit")->text(), "0.94\"");
    EXPECT_EQ(edit("MarginBottomEdit")->text(), "1.07\"");
    EXPECT_NEAR(dlg->Working().MarginBottom, 0.63 + 0.19 + 0.25, 1e-9);
    EXPECT_EQ(ctl<QLabel>("FrameSpacingOutsideLbl")->text(), "Outside (Average)");

    // Customizing starts from the chosen style; a wider middle band widens the margins.
    auto *customize = ctl<QCheckBox>("CustomizeBorderStyleCB");
    customize->click();
    EXPECT_EQ(styles->currentIndex(), CustomBorderItem);
    EXPECT_FALSE(ctl<QWidget>("FrameCustomPnl")->isHidden());
    EXPECT_EQ(ctl<QComboBox>("FrameBand2CmBx")->currentText(), "0.15\"");
    ctl<QComboBox>("FrameBand2CmBx")->setCurrentText("0.20\" Wide");
    EXPECT_EQ(styles->currentText(),
              "CUSTOM  (Specify details below) = 0.02\" Fine*0, 0.20\" Wide*12566463, 0.02\" Fine*0, "
              "None*16777215, None*16777215");
    EXPECT_EQ(edit("MarginTopEdit")->text(), "0.99\"");

    // "No Border": the plain margins, no border page rule; the margins stay as they were.
    emit ctl<QLabel>("FrameStyle_NoneLnk")->linkActivated("#");
    EXPECT_EQ(styles->currentIndex(), NoBorderItem);
    EXPECT_TRUE(spacing->isHidden());
    EXPECT_FALSE(putOn->isEnabled());
    EXPECT_EQ(edit("MarginTopEdit")->text(), "0.99\"");
    EXPECT_TRUE(ctl<QCheckBox>("AutoMarginsCB")->isChecked()) << "choosing a border is no step";
}

TEST_F(LayoutDlgTest, OldCustomNameLoadsAsTheCustomItem)
{
    FrameStyle = "Custom  (Specify detals below) = 0.02\" Fine*255, Gap, 0.06\" Medium*0";
    dlg->LoadFromSettings();
    auto *styles = ctl<QComboBox>("FrameStyleCmBx");
    EXPECT_EQ(styles->currentIndex(), CustomBorderItem);
    EXPECT_EQ(styles->currentText(), FrameStyle);
    EXPECT_TRUE(ctl<QCheckBox>("CustomizeBorderStyleCB")->isChecked());
    EXPECT_FALSE(ctl<QWidget>("FrameCustomPnl")->isHidden());
    EXPECT_EQ(ctl<QComboBox>("FrameBand1CmBx")->currentText(), "0.02\" Fine");
    EXPECT_EQ(ctl<QComboBox>("FrameBand2CmBx")->currentText(), "0.06\" Medium");
    EXPECT_TRUE(ctl<QCheckBox>("FrameUseGapsCB")->isChecked());
    EXPECT_EQ(edit("MarginTopEdit")->text(), "1.00\"") << "loading keeps the stored margins";
    dlg->StoreToSettings();
    EXPECT_EQ(FrameStyle, "Custom  (Specify detals below) = 0.02\" Fine*255, Gap, 0.06\" Medium*0");
}

TEST_F(LayoutDlgTest, SteppingTheMarginAndInsetEntries)
{
    MarginTop = 0;
    dlg->LoadFromSettings();
    auto *autoMargins = ctl<QCheckBox>("AutoMarginsCB");
    EXPECT_TRUE(autoMargins->isChecked()) << "loading unticks nothing";
    const struct {
        const char *entry;
        int key;
        QString text;
        QString shown;
    } steps[] = {
        {"MarginTopEdit", Qt::Key_Down, "", "0.00\""},
        {"MarginTopEdit", Qt::Key_Minus, "-", "0.00\""},
        {"MarginTopEdit", Qt::Key_Plus, "+", "0.01\""},
        {"MarginTopEdit", Qt::Key_Equal, "=", "0.02\""},
        {"MarginTopEdit", Qt::Key_Up, "", "0.03\""},
        {"MarginLeftEdit", Qt::Key_Down, "", "0.99\""},
        {"FrameSpacingOutsideBottomEd", Qt::Key_Up, "", "0.64"},
        {"FrameSpacingInsideTopEd", Qt::Key_Minus, "-", "0.24"},
    };
    for (const auto &s : steps) {
        SCOPED_TRACE(std::string(s.entry) + " " + s.shown.toStdString());
        sendKey(edit(s.entry), s.key, s.text);
        EXPECT_EQ(edit(s.entry)->text(), s.shown);
    }
    EXPECT_FALSE(autoMargins->isChecked()) << "a step takes the margins from the expert";
    EXPECT_DOUBLE_EQ(dlg->Working().FrameOutside.Bottom, 0.64);

    // A spin button steps the four entries of its group.
    ctl<QToolButton>("MarginSpBtnUp")->click();
    EXPECT_EQ(edit("MarginTopEdit")->text(), "0.04\"");
    EXPECT_EQ(edit("MarginRightEdit")->text(), "1.01\"");
    EXPECT_EQ(ctl<QLabel>("MarginAllLbl")->text(), "Margin Width (Average)");

    dlg->LoadFromSettings();
    EXPECT_TRUE(autoMargins->isChecked());
}

TEST_F(LayoutDlgTest, TypingIntoAnInsetBlinksTheHintsOnATimer)
{
    dlg->LoadFromSettings();
    auto *hint = ctl<QLabel>("MarginAdjustLbl");
    QLineEdit *inset = edit("FrameSpacingOutsideTopEd");
    QElapsedTimer clock;
    clock.start();
    sendKey(inset, Qt::Key_5, "5");
    EXPECT_LT(clock.elapsed(), 200) << "the handler returns at once";
    EXPECT_EQ(inset->text(), "0.505") << "the character is typed all the same";
    EXPECT_TRUE(dlg->IsBlinking());
    EXPECT_EQ(hint->palette().color(QPalette::WindowText), QColor(255, 0, 0));

    // The next character blinks twice: 50 + 25 and 67 + 33 ms.
    sendKey(inset, Qt::Key_Backspace);
    sendKey(inset, Qt::Key_7, "7");
    clock.restart();
    EXPECT_TRUE(waitUntil([&] { return !dlg->IsBlinking(); }, 3000));
    EXPECT_GT(clock.elapsed(), 150);
    EXPECT_LT(clock.elapsed(), 1500);
    EXPECT_EQ(hint->palette().color(QPalette::WindowText), QColor(Qt::black));
}

TEST_F(LayoutDlgTest, ShadingFollowsTheSwitches)
{
    const struct {
        bool autoLayout, autoMargins;
        QColor margin;
    } cases[] = {
        {true, true, TLayoutDlg::ShadowColor()},
        {true, false, Qt::white},
        {false, true, Qt::white},
    };
    for (const auto &c : cases) {
        DocControls.AutoLayout = c.autoLayout;
        AutoMargins = c.autoMargins;
        dlg->LoadFromSettings();
        EXPECT_EQ(edit("MarginTopEdit")->palette().color(QPalette::Base), c.margin);
        EXPECT_EQ(ctl<QCheckBox>("AutoMarginsCB")->isEnabled(), c.autoLayout);
    }
    // The key shows on the tabs that hold shaded items.
    for (int tab = 0; tab < dlg->LayoutPgCtl()->count(); ++tab) {
        dlg->ActivateTab(tab);
        const bool keyed = tab == TLayoutDlg::ClueColumnsTab || tab == TLayoutDlg::ClueTextTab ||
                           tab == TLayoutDlg::BorderTab || tab == TLayoutDlg::PuzzleTab ||
                           tab == TLayoutDlg::TitleTab;
        EXPECT_EQ(ctl<QLabel>("ShadingKeyPnl")->isVisibleTo(dlg.get()), keyed) << tab;
    }
    // Choosing a column count takes the columns from the expert.
    DocControls.AutoLayout = true;
    AutoClueColumns = true;
    dlg->LoadFromSettings();
    emit ctl<QComboBox>("LayoutClueColumns")->activated(2);
    EXPECT_FALSE(ctl<QCheckBox>("AutoClueColumnsCB")->isChecked());
    EXPECT_EQ(ctl<QComboBox>("LayoutClueColumns")->palette().color(QPalette::Base), QColor(Qt::white));
}

TEST_F(LayoutDlgTest, MarginDefaultsHelpAndWordBankMemory)
{
    FrameStyle = ReadyBorderStyles().at(0);
    MarginTop = 2;
    dlg->LoadFromSettings();
    dlg->LayoutMarginsDefaultsBtnClick();
    EXPECT_EQ(ctl<QComboBox>("FrameStyleCmBx")->currentIndex(), NoBorderItem);
    EXPECT_EQ(edit("MarginTopEdit")->text(), "1.00\"");
    EXPECT_EQ(edit("FrameSpacingOutsideBottomEd")->text(), "0.63");
    EXPECT_EQ(edit("FrameSpacingInsideLeftEd")->text(), "0.25");
    EXPECT_EQ(MarginTop, 2) << "nothing is stored before OK or Apply";

    dlg->ActivateTab(TLayoutDlg::BorderTab);
    dlg->HelpBtnClick();
    EXPECT_TRUE(balloon.text.startsWith("Margins Page\n"));
    EXPECT_EQ(balloon.seconds, 50);
    EXPECT_EQ(balloon.x, dlg->frameGeometry().right() - 350 - 8);
    dlg->ActivateTab(TLayoutDlg::WordBankTab);
    dlg->HelpBtnClick();
    EXPECT_EQ(balloon.text, "Not yet enabled.");
    EXPECT_EQ(balloon.y, dlg->frameGeometry().bottom() - 200);

    ctl<QComboBox>("WordBankModeCmBx")->setCurrentIndex(0);
    ctl<QComboBox>("WordBankSortCmBx")->setCurrentIndex(3);
    ctl<QComboBox>("WordBankHeaderCmBx")->setCurrentText("HINTS: ");
    ctl<QCheckBox>("WordBankCB")->setChecked(true);
    dlg->WordBankMemorizeBtnClick();
    const TRegistryKey key;
    EXPECT_EQ(key.ReadString("WordBankMode", QString()), "InClues");
    EXPECT_EQ(key.ReadString("WordBankSort", QString()), "GivenComma");
    EXPECT_EQ(key.ReadString("WordBankHeader", QString()), "HINTS: ");
    EXPECT_TRUE(key.ReadBool("WordBankCB", false));
}

TEST_F(LayoutDlgTest, WordBankChangeRebuildsTheClueGridsOnce)
{
    dlg->LoadFromSettings();
    ctl<QComboBox>("WordBankHeaderCmBx")->setCurrentText("word bank:");
    dlg->LayoutApplyBtnClick();
    EXPECT_EQ(rebuilds, 0) << "the header differs only in case";
    ctl<QComboBox>("WordBankModeCmBx")->setCurrentIndex(0);
    dlg->LayoutApplyBtnClick();
    dlg->LayoutApplyBtnClick();
    EXPECT_EQ(rebuilds, 1);
}

TEST_F(LayoutDlgTest, Screenshots)
{
    DocControls.AutoLayout = true;
    DocControls.PuzzleTitle = "Birds";
    FrameStyle = "CUSTOM  (Specify details below) = 0.10\" Heavy*8388608, Gap, 0.04\"*16436871, Gap, "
                 "0.02\" Fine*255, None*16777215, None*16777215";
    AutoMargins = true;
    TPageRect margins;
    ASSERT_TRUE(MarginsFromBorder(FrameStyle, FrameOutside, FrameInside, &margins));
    MarginLeft = margins.Left, MarginTop = margins.Top, MarginRight = margins.Right,
    MarginBottom = margins.Bottom;
    dlg->LoadFromSettings();
    dlg->resize(820, 640);
    dlg->show();

    dlg->ActivateTab(TLayoutDlg::AutoLayoutTab);
    QCoreApplication::processEvents();
    const QImage autoTab = dlg->grab().toImage();
    EXPECT_TRUE(autoTab.save(QStringLiteral(TRV_TEST_OUTPUT "/layout-autolayout-tab.png")));

    dlg->ActivateTab(TLayoutDlg::BorderTab);
    QCoreApplication::processEvents();
    const QImage borderTab = dlg->grab().toImage();
    EXPECT_TRUE(borderTab.save(QStringLiteral(TRV_TEST_OUTPUT "/layout-margin-border.png")));
    // The picture holds the shaded margin entries and the border's heavy navy band.
    QLineEdit *margin = edit("MarginTopEdit");
    const QPoint inMargin = margin->mapTo(dlg.get(), QPoint(margin->width() - 4, margin->height() / 2));
    EXPECT_EQ(borderTab.pixelColor(inMargin * borderTab.devicePixelRatio()), TLayoutDlg::ShadowColor());
    auto *styles = ctl<QComboBox>("FrameStyleCmBx");
    const QPoint inBand = styles->mapTo(dlg.get(), QPoint(12, styles->height() / 2));
    EXPECT_EQ(borderTab.pixelColor(inBand * borderTab.devicePixelRatio()), QColor(0, 0, 128));
    dlg->hide();
}

} // namespace
