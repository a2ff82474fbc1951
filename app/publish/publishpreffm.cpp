// The player preferences form and its two value sets in the program key.
#include "publishpreffm.h"
#include "globals.h"
#include "ui_publishpreffm.h"

#include "appletsizefm.h"
#include "registry.h"
#include "uidialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>

#include <iterator>

namespace {

constexpr TColor DefaultColor = 0xD8E9EC;     // background of the applet
constexpr TColor DefaultFontColor = 0x800000; // its text: navy
constexpr int DefaultGridShadow = 3;
constexpr int DefaultAppletSize = TPublishPrefFm::AutomaticMedium;
constexpr int NormalTextSize = 3;
constexpr TColor LinkColor = 0xFF0000; // blue

QColor toQColor(TColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

/** The applet and browser sizes of the fixed items of AppletSizeCmBx; the "Other" items take
 *  the size dialog's values. */
struct TAppletSizeRow {
    const char *Width;
    const char *Height;
    int BrowserWidth;
    int BrowserHeight;
};
constexpr TAppletSizeRow AppletSizes[8] = {
    {"600", "350", 650, 480}, {"700", "450", 750, 580}, {"900", "600", 950, 730},   {nullptr, nullptr, 0, 0},
    {"85%", "85%", 650, 480}, {"95%", "95%", 750, 580}, {"100%", "100%", 950, 730}, {"95%", "95%", 0, 0},
};
// The browser window around an "Other" applet.
constexpr int OtherBrowserExtraWidth = 50, OtherBrowserExtraHeight = 130;

} // namespace

TPublishPrefFm::TPublishPrefFm(QWidget *parent, const std::function<void(int)> &progress)
    : QDialog(parent), m_ui(std::make_unique<Ui::TPublishPrefFm>())
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("PublishPrefFm"));
    PrefPgCtl = m_ui->PrefPgCtl;
    PuzzleLayoutCmBx = m_ui->PuzzleLayoutCmBx;
    GridShadowCmBx = m_ui->GridShadowCmBx;
    CapitalizeGridCB = m_ui->CapitalizeGridCB;
    ColorSamplePnl = m_ui->ColorSamplePnl;
    BackgroundColorLnk = m_ui->BackgroundColorLnk;
    TextColorLnk = m_ui->TextColorLnk;
    AppearanceDefaultsBtn = m_ui->AppearanceDefaultsBtn;
    DisplayTimerCB = m_ui->DisplayTimerCB;
    ShowRevealLetterCB = m_ui->ShowRevealLetterCB;
    ShowRevealWordCB = m_ui->ShowRevealWordCB;
    ShowCheckCB = m_ui->ShowCheckCB;
    ShowSolveCB = m_ui->ShowSolveCB;
    CopyrightEd = m_ui->CopyrightEd;
    CopyrightBtn = m_ui->CopyrightBtn;
    OptionsDefaultsBtn = m_ui->OptionsDefaultsBtn;
    AppletSizeCmBx = m_ui->AppletSizeCmBx;
    AppletSizeLbl = m_ui->AppletSizeLbl;
    PuzzleTextSizeCmBx = m_ui->PuzzleTextSizeCmBx;
    AppletSizeDefaultsBtn = m_ui->AppletSizeDefaultsBtn;
    PreloadTitleCB = m_ui->PreloadTitleCB;
    PreloadAuthorCB = m_ui->PreloadAuthorCB;
    PreloadDateCB = m_ui->PreloadDateCB;
    PublishedAuthorEd = m_ui->PublishedAuthorEd;
    PreloadDefaultsBtn = m_ui->PreloadDefaultsBtn;
    SavePreferencesBtn = m_ui->SavePreferencesBtn;
    CloseBtn = m_ui->CloseBtn;

    // "No shadow", then 1 to 10 pixels.
    for (int pixels = 1; pixels <= 10; ++pixels)
        GridShadowCmBx->addItem(QString::number(pixels) + QStringLiteral(" Pixel Shadow"));

    for (QLabel *link : {BackgroundColorLnk, TextColorLnk}) {
        QFont font = link->font();
        font.setUnderline(true);
        link->setFont(font);
        QPalette palette = link->palette();
        palette.setColor(QPalette::WindowText, toQColor(LinkColor));
        link->setPalette(palette);
        link->installEventFilter(this);
    }
    ColorSamplePnl->setAutoFillBackground(true);
    ColorSamplePnl->installEventFilter(this);

    connect(AppearanceDefaultsBtn, &QPushButton::clicked, this, &TPublishPrefFm::AppearanceDefaultsBtnClick);
    connect(OptionsDefaultsBtn, &QPushButton::clicked, this, &TPublishPrefFm::OptionsDefaultsBtnClick);
    connect(AppletSizeDefaultsBtn, &QPushButton::clicked, this, &TPublishPrefFm::AppletSizeDefaultsBtnClick);
    connect(PreloadDefaultsBtn, &QPushButton::clicked, this, &TPublishPrefFm::PreloadDefaultsBtnClick);
    connect(CopyrightBtn, &QPushButton::clicked, this, &TPublishPrefFm::CopyrightBtnClick);
    connect(SavePreferencesBtn, &QPushButton::clicked, this, &TPublishPrefFm::SavePreferencesBtnClick);
    connect(CloseBtn, &QPushButton::clicked, this, &QDialog::accept);
    // Every change of the applet size recomputes it; only the user's choice (mouse or keyboard)
    // opens the size dialog, never a value being loaded or a Defaults button.
    connect(AppletSizeCmBx, &QComboBox::currentIndexChanged, this, [this] { ComputeAppletSize(); });
    connect(AppletSizeCmBx, &QComboBox::activated, this, &TPublishPrefFm::AppletSizeCmBxSelect);
    connect(PuzzleTextSizeCmBx, &QComboBox::currentIndexChanged, this,
            &TPublishPrefFm::PuzzleTextSizeCmBxChange);

    if (progress)
        progress(50);
    AppearanceDefaultsBtnClick();
    OptionsDefaultsBtnClick();
    AppletSizeDefaultsBtnClick();
    PreloadDefaultsBtnClick();
    if (progress)
        progress(51);
    LoadPreferences(1);
    if (progress)
        progress(52);
}

TPublishPrefFm::~TPublishPrefFm() = default;

QString TPublishPrefFm::Prefix() const
{
    return m_set == 2 ? QStringLiteral("OnWeb_") : QStringLiteral("OnPlay_");
}

// ---- The value sets ---------------------------------------------------------------------------

void TPublishPrefFm::LoadPreferences(int set)
{
    if (set == m_set || (set != 1 && set != 2))
        return;
    m_set = set;
    setWindowTitle(set == 1 ? QStringLiteral("Interactive Puzzle Preferences - For Local Play")
                            : QStringLiteral("Interactive Puzzle Preferences - For Exporting and Email"));

    const TRegistryKey key;
    const QString prefix = Prefix();
    // A number outside its range counts as missing, so a damaged value cannot select nothing.
    const auto readInRange = [&](const char *name, int low, int high, int ifAbsent) {
        const int value = key.ReadInteger(prefix + QLatin1String(name), ifAbsent);
        return value >= low && value <= high ? value : ifAbsent;
    };
    const auto readBool = [&](const char *name, bool ifAbsent) {
        return key.ReadBool(prefix + QLatin1String(name), ifAbsent);
    };
    const auto readString = [&](const char *name, const QString &ifAbsent) {
        return key.ReadString(prefix + QLatin1String(name), ifAbsent);
    };

    PuzzleLayoutCmBx->setCurrentIndex(readInRange("PuzzleLayout", 0, PuzzleLayoutCmBx->count() - 1, 0));
    GridShadowCmBx->setCurrentIndex(
        readInRange("GridShadow", 0, GridShadowCmBx->count() - 1, DefaultGridShadow));
    CapitalizeGridCB->setChecked(readBool("CapitalizeGrid", true));
    SetSampleColors(readInRange("Color", 0, 0xFFFFFF, DefaultColor),
                    readInRange("FontColor", 0, 0xFFFFFF, DefaultFontColor));
    CopyrightEd->setText(readString("MessageBelow", QString()));
    DisplayTimerCB->setChecked(readBool("DisplayTimer", true));
    ShowRevealLetterCB->setChecked(readBool("ShowRevealLetterBtn", true));
    ShowRevealWordCB->setChecked(readBool("ShowRevealWordBtn", true));
    ShowCheckCB->setChecked(readBool("ShowCheckBtn", true));
    ShowSolveCB->setChecked(readBool("ShowSolveBtn", false));
    m_otherWidth =
        readInRange("AppletOtherWidth", TAppletSizeFm::MinWidth, TAppletSizeFm::MaxWidth, DefaultOtherWidth);
    m_otherHeight = readInRange("AppletOtherHeight", TAppletSizeFm::MinHeight, TAppletSizeFm::MaxHeight,
                                DefaultOtherHeight);
    AppletSizeCmBx->setCurrentIndex(
        readInRange("AppletSize", 0, AppletSizeCmBx->count() - 1, DefaultAppletSize));
    PuzzleTextSizeStr = readString("PuzzleTextSize", QStringLiteral("Normal"));
    SelectTextSize();
    PreloadTitleCB->setChecked(readBool("PreloadTitle", true));
    PreloadAuthorCB->setChecked(readBool("PreloadAuthor", true));
    PreloadDateCB->setChecked(readBool("PreloadDate", true));
    PublishedAuthorEd->setText(readString("PreloadAuthorText", GetWindowsUserName()));
    // The Other size may have changed while the item stayed the same.
    ComputeAppletSize();
}

void TPublishPrefFm::SavePreferences()
{
    TRegistryKey key;
    const QString prefix = Prefix();
    const auto name = [&](const char *value) { return prefix + QLatin1String(value); };
    key.WriteInteger(name("PuzzleLayout"), PuzzleLayoutCmBx->currentIndex());
    key.WriteInteger(name("GridShadow"), GridShadowCmBx->currentIndex());
    key.WriteBool(name("CapitalizeGrid"), CapitalizeGridCB->isChecked());
    key.WriteInteger(name("FontColor"), m_fontColor);
    key.WriteInteger(name("Color"), m_color);
    key.WriteString(name("MessageBelow"), CopyrightEd->text());
    key.WriteBool(name("DisplayTimer"), DisplayTimerCB->isChecked());
    key.WriteBool(name("ShowRevealLetterBtn"), ShowRevealLetterCB->isChecked());
    key.WriteBool(name("ShowRevealWordBtn"), ShowRevealWordCB->isChecked());
    key.WriteBool(name("ShowCheckBtn"), ShowCheckCB->isChecked());
    key.WriteBool(name("ShowSolveBtn"), ShowSolveCB->isChecked());
    key.WriteInteger(name("AppletSize"), AppletSizeCmBx->currentIndex());
    key.WriteInteger(name("AppletOtherWidth"), m_otherWidth);
    key.WriteInteger(name("AppletOtherHeight"), m_otherHeight);
    key.WriteString(name("PuzzleTextSize"), PuzzleTextSizeStr);
    key.WriteBool(name("PreloadTitle"), PreloadTitleCB->isChecked());
    key.WriteBool(name("PreloadAuthor"), PreloadAuthorCB->isChecked());
    key.WriteBool(name("PreloadDate"), PreloadDateCB->isChecked());
    key.WriteString(name("PreloadAuthorText"), PublishedAuthorEd->text());
    key.Flush();
}

TPlayerPrefs TPublishPrefFm::Prefs() const
{
    TPlayerPrefs prefs;
    prefs.PuzzleLayout = PuzzleLayoutCmBx->currentIndex();
    prefs.GridShadow = GridShadowCmBx->currentIndex();
    prefs.CapitalizeGrid = CapitalizeGridCB->isChecked();
    prefs.FontColor = m_fontColor;
    prefs.Color = m_color;
    prefs.MessageBelow = CopyrightEd->text();
    prefs.DisplayTimer = DisplayTimerCB->isChecked();
    prefs.ShowRevealLetterBtn = ShowRevealLetterCB->isChecked();
    prefs.ShowRevealWordBtn = ShowRevealWordCB->isChecked();
    prefs.ShowCheckBtn = ShowCheckCB->isChecked();
    prefs.ShowSolveBtn = ShowSolveCB->isChecked();
    prefs.AppletSize = AppletSizeCmBx->currentIndex();
    prefs.AppletWidth = AppletWidth;
    prefs.AppletHeight = AppletHeight;
    prefs.Auto = Auto;
    prefs.PlayBrowserWidth = PlayBrowserWidth;
    prefs.PlayBrowserHeight = PlayBrowserHeight;
    prefs.PuzzleTextSize = PuzzleTextSizeStr;
    prefs.PreloadTitle = PreloadTitleCB->isChecked();
    prefs.PreloadAuthor = PreloadAuthorCB->isChecked();
    prefs.PreloadDate = PreloadDateCB->isChecked();
    prefs.PreloadAuthorText = PublishedAuthorEd->text();
    return prefs;
}

// ---- Applet size and text size ----------------------------------------------------------------

void TPublishPrefFm::ComputeAppletSize()
{
    const int item = AppletSizeCmBx->currentIndex();
    if (item < 0 || item >= int(std::size(AppletSizes)))
        return;
    const TAppletSizeRow &row = AppletSizes[item];
    Auto = item >= AutomaticSmall;
    if (item == FixedOther) {
        AppletWidth = QString::number(m_otherWidth);
        AppletHeight = QString::number(m_otherHeight);
    } else {
        AppletWidth = QString::fromLatin1(row.Width);
        AppletHeight = QString::fromLatin1(row.Height);
    }
    if (item == FixedOther || item == AutomaticOther) {
        PlayBrowserWidth = m_otherWidth + OtherBrowserExtraWidth;
        PlayBrowserHeight = m_otherHeight + OtherBrowserExtraHeight;
    } else {
        PlayBrowserWidth = row.BrowserWidth;
        PlayBrowserHeight = row.BrowserHeight;
    }
    AppletSizeLbl->setText(QStringLiteral("Applet Size:  ") + AppletWidth + QStringLiteral(" x ") +
                           AppletHeight +
                           (Auto ? QStringLiteral(" (of browser size)") : QStringLiteral(" (Fixed size)")));
}

void TPublishPrefFm::AppletSizeCmBxSelect(int index)
{
    if (index == FixedOther || index == AutomaticOther) {
        TAppletSizeFm sizeFm(this);
        sizeFm.SetAppletSize(m_otherWidth, m_otherHeight);
        // Cancel keeps the size chosen before.
        if (uiDialogs().RunModal(sizeFm) == QDialog::Accepted) {
            m_otherWidth = sizeFm.AppletWidth();
            m_otherHeight = sizeFm.AppletHeight();
        }
    }
    ComputeAppletSize();
}

void TPublishPrefFm::SelectTextSize()
{
    int item = PuzzleTextSizeCmBx->findText(PuzzleTextSizeStr);
    if (item < 0)
        item = NormalTextSize;
    PuzzleTextSizeCmBx->setCurrentIndex(item);
    // An unknown size from the settings becomes "Normal" here too, not only in the list.
    PuzzleTextSizeStr = PuzzleTextSizeCmBx->itemText(item);
}

void TPublishPrefFm::PuzzleTextSizeCmBxChange(int index)
{
    if (index >= 0)
        PuzzleTextSizeStr = PuzzleTextSizeCmBx->itemText(index);
}

// ---- Buttons and links ------------------------------------------------------------------------

void TPublishPrefFm::AppearanceDefaultsBtnClick()
{
    PuzzleLayoutCmBx->setCurrentIndex(0);
    GridShadowCmBx->setCurrentIndex(DefaultGridShadow);
    CapitalizeGridCB->setChecked(true);
    SetSampleColors(DefaultColor, DefaultFontColor);
}

void TPublishPrefFm::OptionsDefaultsBtnClick()
{
    DisplayTimerCB->setChecked(true);
    ShowRevealLetterCB->setChecked(true);
    ShowRevealWordCB->setChecked(true);
    ShowCheckCB->setChecked(true);
    ShowSolveCB->setChecked(false);
    CopyrightEd->clear();
}

void TPublishPrefFm::AppletSizeDefaultsBtnClick()
{
    AppletSizeCmBx->setCurrentIndex(DefaultAppletSize);
    PuzzleTextSizeCmBx->setCurrentIndex(NormalTextSize);
    ComputeAppletSize();
}

void TPublishPrefFm::PreloadDefaultsBtnClick()
{
    PreloadTitleCB->setChecked(true);
    PreloadAuthorCB->setChecked(true);
    PreloadDateCB->setChecked(true);
    PublishedAuthorEd->setText(GetWindowsUserName());
}

void TPublishPrefFm::CopyrightBtnClick()
{
    CopyrightEd->setText(QString(QChar(0x00A9)) + CopyrightEd->text());
}

void TPublishPrefFm::BackgroundColorLnkClick()
{
    TColor color = m_color;
    if (uiDialogs().ChooseColor(this, &color))
        SetSampleColors(color, m_fontColor);
}

void TPublishPrefFm::TextColorLnkClick()
{
    TColor color = m_fontColor;
    if (uiDialogs().ChooseColor(this, &color))
        SetSampleColors(m_color, color);
}

void TPublishPrefFm::SavePreferencesBtnClick() { SavePreferences(); }

void TPublishPrefFm::SetSampleColors(TColor color, TColor fontColor)
{
    m_color = color;
    m_fontColor = fontColor;
    QPalette palette = ColorSamplePnl->palette();
    palette.setColor(QPalette::Window, toQColor(color));
    palette.setColor(QPalette::WindowText, toQColor(fontColor));
    ColorSamplePnl->setPalette(palette);
}

// ---- Events -----------------------------------------------------------------------------------

void TPublishPrefFm::showEvent(QShowEvent *event)
{
    SelectTextSize();
    QDialog::showEvent(event);
}

bool TPublishPrefFm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == BackgroundColorLnk || watched == ColorSamplePnl) {
            BackgroundColorLnkClick();
            return true;
        }
        if (watched == TextColorLnk) {
            TextColorLnkClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
