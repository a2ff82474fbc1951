// The preferences dialog and the editable-text size.
#include "preferencesdlg.h"
#include "globals.h"
#include "ui_preferencesdlg.h"

#include "cluesedit.h"
#include "mainfm.h"
#include "myoverrides.h"
#include "namevaluelines.h"
#include "prefsstore.h"
#include "prompter.h"
#include "uidialogs.h"
#include "viewpaint.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>

#include <algorithm>

TPreferencesDlg *PreferencesDlg = nullptr;

const TColor TPreferencesDlg::PencilColors[4] = {0x000000, 0x808080, 0xC0C0C0, 0xFFFFFF};
const int TPreferencesDlg::EditTextSizes[5] = {7, 8, 9, 10, 11};

namespace {

constexpr int DarkGrayIndex = 1;

/** The fixed application colours, from "Gray" (index 2) to "Yellow" (index 11). */
constexpr TColor FixedAppColors[10] = {0xC0C0C0, 0xEFEFEF, 0xFFFFFF, 0xEFFAFA, 0xE8E4E0,
                                       0xF8E0C0, 0xDBC782, 0xCAF7C8, 0x6FEA75, 0x94FCFA};

TColor winFromColor(const QColor &color) { return (color.blue() << 16) | (color.green() << 8) | color.red(); }

const QString HelpText = QStringLiteral(
    "This Preferences dialog changes how the program operates so it is convenient for you to use. "
    "Nothing here changes your puzzle.\r\n\r\n"
    "The simulated pencil is how the letters look in the grid while you work on the puzzle; "
    "printed puzzles do not use it. Theme words can stand out in colour or in bold.\r\n\r\n"
    "The application color is the background of the program's windows. The text size of "
    "editable text changes the word list, the rejected words and the clue lists on the screen "
    "only.\r\n\r\n"
    "Apply shows the changes now, OK applies them and closes this dialog, and Save also keeps "
    "them for the next time you start the program. Defaults puts the pencil and the automatic "
    "clues back to how they were when the program was installed; press Apply, OK or Save to "
    "use them.");

} // namespace

TPreferencesDlg::TPreferencesDlg(QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TPreferencesDlg>())
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("PreferencesDlg"));
    PencilFontCmBx = m_ui->PencilFontCmBx;
    PencilFontSizeSpEd = m_ui->PencilFontSizeSpEd;
    PrefNonThemeColorCmBx = m_ui->PrefNonThemeColorCmBx;
    PrefThemeInColorCB = m_ui->PrefThemeInColorCB;
    PrefThemeInBoldCB = m_ui->PrefThemeInBoldCB;
    PrefHideAnswerCB = m_ui->PrefHideAnswerCB;
    PastelCB = m_ui->PastelCB;
    DesktopColorCmBx = m_ui->DesktopColorCmBx;
    EditTextSizeCmBx = m_ui->EditTextSizeCmBx;
    PrefAutoPatNoticeCB = m_ui->PrefAutoPatNoticeCB;
    PrefAutoClueFreeformCB = m_ui->PrefAutoClueFreeformCB;
    PrefAutoClueSymmetricalCB = m_ui->PrefAutoClueSymmetricalCB;
    OKBtn = m_ui->OKBtn;
    CancelBtn = m_ui->CancelBtn;
    PrefApplyBtn = m_ui->PrefApplyBtn;
    PrefSaveBtn = m_ui->PrefSaveBtn;
    PrefDefaultsBtn = m_ui->PrefDefaultsBtn;
    HelpBtn = m_ui->HelpBtn;

    connect(OKBtn, &QPushButton::clicked, this, &TPreferencesDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(PrefApplyBtn, &QPushButton::clicked, this, &TPreferencesDlg::PrefApplyBtnClick);
    connect(PrefSaveBtn, &QPushButton::clicked, this, &TPreferencesDlg::PrefSaveBtnClick);
    connect(PrefDefaultsBtn, &QPushButton::clicked, this, &TPreferencesDlg::PrefDefaultsBtnClick);
    connect(HelpBtn, &QPushButton::clicked, this, &TPreferencesDlg::HelpBtnClick);
    // The size counts once it is entered (Enter, leaving the box, the arrows, Apply): typing
    // "101" does not pass through 1 and 10 as sizes. The colour follows every key.
    PencilFontSizeSpEd->setKeyboardTracking(false);
    connect(PencilFontSizeSpEd, &QSpinBox::valueChanged, this, &TPreferencesDlg::PencilFontSizeSpEdChange);
    // (The spin box's own textChanged waits for the value; its line edit's does not.)
    connect(PencilFontSizeSpEd->findChild<QLineEdit *>(), &QLineEdit::textChanged, this, [this] {
        bool ok = false;
        const int typed = PencilFontSizeSpEd->cleanText().toInt(&ok);
        ShowPencilSizeValid(!ok || (typed >= 0 && typed <= 100));
    });
    // The user's choices only (mouse or keyboard), not the list set by LoadFromSettings.
    connect(DesktopColorCmBx, &QComboBox::activated, this, &TPreferencesDlg::DesktopColorCmBxChange);
    // The list's popup showing is the drop-down.
    DesktopColorCmBx->view()->window()->installEventFilter(this);

    FillFontList();
    PreferencesDlg = this;
}

TPreferencesDlg::~TPreferencesDlg()
{
    if (PreferencesDlg == this)
        PreferencesDlg = nullptr;
}

TColor TPreferencesDlg::AppColorOf(int index) const
{
    const QPalette palette = QApplication::palette();
    if (index == 0)
        return winFromColor(palette.color(QPalette::Active, QPalette::Button));
    if (index == 1)
        return winFromColor(palette.color(QPalette::Active, QPalette::Light));
    if (index >= 2 && index < 12)
        return FixedAppColors[index - 2];
    if (index == CustomColorIndex)
        return m_customColor;
    return -1;
}

void TPreferencesDlg::FillFontList()
{
    const QString selected = PencilFontCmBx->currentText();
    QStringList fonts = GetFontList();
    fonts.sort(Qt::CaseInsensitive);
    fonts.removeDuplicates();
    PencilFontCmBx->clear();
    PencilFontCmBx->addItems(fonts);
    PencilFontCmBx->setCurrentIndex(PencilFontCmBx->findText(selected, Qt::MatchExactly));
}

void TPreferencesDlg::SelectPencilFont(const QString &wanted)
{
    // A font that is not installed (on many desktops neither "Comic Sans MS" nor "Arial" is)
    // shows as the installed face that stands in for it, so that the box always has a choice.
    QStringList installed;
    for (int i = 0; i < PencilFontCmBx->count(); ++i)
        installed << PencilFontCmBx->itemText(i);
    PencilFontCmBx->setCurrentIndex(
        PencilFontCmBx->findText(PencilFontChoice(installed, wanted), Qt::MatchExactly));
}

void TPreferencesDlg::LoadFromSettings()
{
    m_droppedDown = false;
    FillFontList();
    SelectPencilFont(PencilFont);
    PencilFontSizeSpEd->setValue(PencilSize);
    PencilFontSizeSpEdChange(); // also when the value did not change
    const TColor *pencil = std::find(std::begin(PencilColors), std::end(PencilColors), PencilColor);
    PrefNonThemeColorCmBx->setCurrentIndex(
        pencil == std::end(PencilColors) ? DarkGrayIndex : int(pencil - std::begin(PencilColors)));
    PrefThemeInColorCB->setChecked(PencilThemeColor);
    PrefThemeInBoldCB->setChecked(PencilThemeBold);
    PrefHideAnswerCB->setChecked(PencilHideAnswer);
    PastelCB->setChecked(PastelHighlight);
    PrefAutoPatNoticeCB->setChecked(AutoPatternNotice);
    PrefAutoClueSymmetricalCB->setChecked(AutoClueSymmetrical);
    PrefAutoClueFreeformCB->setChecked(AutoClueFreeform);

    // The application colour: the first item of that colour, else "Custom" takes it.
    int appIndex = CustomColorIndex;
    for (int i = 0; i < CustomColorIndex; ++i)
        if (AppColorOf(i) == ColorScheme) {
            appIndex = i;
            break;
        }
    if (appIndex == CustomColorIndex)
        m_customColor = ColorScheme;
    DesktopColorCmBx->setCurrentIndex(appIndex);

    const int *size = std::find(std::begin(EditTextSizes), std::end(EditTextSizes), EditTextSize);
    if (size != std::end(EditTextSizes))
        EditTextSizeCmBx->setCurrentIndex(int(size - std::begin(EditTextSizes)));
}

void TPreferencesDlg::StoreToSettings()
{
    if (PencilFontCmBx->currentIndex() >= 0)
        PencilFont = PencilFontCmBx->currentText();
    PencilSize = m_pendingSize;
    PastelHighlight = PastelCB->isChecked();
    const int pencil = PrefNonThemeColorCmBx->currentIndex();
    PencilColor = pencil >= 0 && pencil < 4 ? PencilColors[pencil] : 0x808080;
    PencilThemeColor = PrefThemeInColorCB->isChecked();
    PencilThemeBold = PrefThemeInBoldCB->isChecked();
    PencilHideAnswer = PrefHideAnswerCB->isChecked();

    const TColor app = AppColorOf(DesktopColorCmBx->currentIndex());
    if (app >= 0)
        DesktopColor = app;
    if (Hooks.ApplyColorScheme)
        Hooks.ApplyColorScheme(DesktopColor);
    else
        ColorScheme = DesktopColor;
    ApplyDialogColor();

    const int size = EditTextSizeCmBx->currentIndex();
    if (size >= 0 && size < 5)
        EditTextSize = EditTextSizes[size];
    if (Hooks.ApplyEditTextSize)
        Hooks.ApplyEditTextSize();

    AutoPatternNotice = PrefAutoPatNoticeCB->isChecked();
    AutoClueSymmetrical = PrefAutoClueSymmetricalCB->isChecked();
    AutoClueFreeform = PrefAutoClueFreeformCB->isChecked();
    // The Clues menu's two items follow.
    if (Hooks.SetAutoClueSymmetrical)
        Hooks.SetAutoClueSymmetrical(AutoClueSymmetrical);
    if (Hooks.SetAutoClueFreeform)
        Hooks.SetAutoClueFreeform(AutoClueFreeform);
}

void TPreferencesDlg::PrefApplyBtnClick()
{
    // A size still being typed is entered first (and refused when out of range).
    PencilFontSizeSpEd->interpretText();
    StoreToSettings();
    if (Hooks.ApplyEditTextSize)
        Hooks.ApplyEditTextSize();
    if (Hooks.FormResize)
        Hooks.FormResize();
    if (Hooks.RedrawView)
        Hooks.RedrawView();
}

void TPreferencesDlg::OKBtnClick()
{
    PrefApplyBtnClick();
    accept();
}

void TPreferencesDlg::PrefSaveBtnClick()
{
    PrefApplyBtnClick();
    RegistryWrite();
}

void TPreferencesDlg::PrefDefaultsBtnClick()
{
    // The controls only: nothing is stored until Apply, OK or Save.
    FillFontList();
    SelectPencilFont(QStringLiteral("Comic Sans MS"));
    PencilFontSizeSpEd->setValue(60);
    PencilFontSizeSpEdChange();
    PrefNonThemeColorCmBx->setCurrentIndex(DarkGrayIndex);
    PrefThemeInColorCB->setChecked(true);
    PrefThemeInBoldCB->setChecked(false);
    PrefAutoClueSymmetricalCB->setChecked(true);
    PrefAutoClueFreeformCB->setChecked(true);
}

void TPreferencesDlg::PencilFontSizeSpEdChange()
{
    const int value = PencilFontSizeSpEd->value();
    const bool valid = value >= 0 && value <= 100;
    ShowPencilSizeValid(valid);
    if (valid)
        m_pendingSize = value;
}

void TPreferencesDlg::ShowPencilSizeValid(bool valid)
{
    QPalette palette = PencilFontSizeSpEd->palette();
    palette.setColor(QPalette::Text, valid ? Qt::black : Qt::red);
    PencilFontSizeSpEd->setPalette(palette);
}

void TPreferencesDlg::DesktopColorCmBxDropDown() { m_droppedDown = true; }

void TPreferencesDlg::DesktopColorCmBxChange()
{
    // Only a choice from the dropped-down list asks; by keyboard "Custom" keeps its colour.
    if (m_droppedDown && DesktopColorCmBx->currentIndex() == CustomColorIndex) {
        TColor color = m_customColor;
        if (uiDialogs().ChooseColor(this, &color))
            m_customColor = color;
    }
    m_droppedDown = false;
}

void TPreferencesDlg::HelpBtnClick()
{
    const int x = frameGeometry().left() + HelpBtn->width() + 150;
    const int y = frameGeometry().top();
    // The balloon is 350 pixels wide and shows for 70 seconds.
    if (Hooks.ShowBalloon)
        Hooks.ShowBalloon(HelpText, x, 70, y);
    else if (MainFm)
        MainFm->ShowBalloon(HelpText, x, 70, y);
    else
        showInformation(HelpText);
}

void TPreferencesDlg::SavePreferences()
{
    LoadFromSettings();
    RegistryWrite();
}

void TPreferencesDlg::RegistryWrite()
{
    if (!IsClosing())
        PrefApplyBtnClick();
    WriteRegistry();
}

void TPreferencesDlg::WriteRegistry()
{
    if (!IsClosing())
        PrefApplyBtnClick();
    if (Hooks.WriteRegistry)
        Hooks.WriteRegistry();
    else
        ::WriteRegistry();
}

void TPreferencesDlg::ReadPreferenceFlags(const TNameValueLines &list)
{
    ::ReadPreferenceFlags(list);
    if (Hooks.SetAutoClueSymmetrical)
        Hooks.SetAutoClueSymmetrical(AutoClueSymmetrical);
    if (Hooks.SetAutoClueFreeform)
        Hooks.SetAutoClueFreeform(AutoClueFreeform);
}

bool TPreferencesDlg::IsClosing() const { return Hooks.IsClosing ? Hooks.IsClosing() : MainFormClosing; }

void TPreferencesDlg::ApplyDialogColor()
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ColorFromWin(ColorScheme));
    setPalette(palette);
}

void TPreferencesDlg::showEvent(QShowEvent *event)
{
    ApplyDialogColor();
    QDialog::showEvent(event);
}

bool TPreferencesDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && watched == DesktopColorCmBx->view()->window())
        DesktopColorCmBxDropDown();
    return QDialog::eventFilter(watched, event);
}

void ApplyEditTextSize(TCluesEdit *editor, QPlainTextEdit *memo, QTableView *acrossGrid, QTableView *downGrid,
                       QTableView *alternateGrid)
{
    if (editor) {
        editor->SetTextFontSize(EditTextSize);
        QFont slotFont = editor->SlotsFont();
        slotFont.setPointSize(EditTextSize);
        editor->SetSlotsFont(slotFont);
        editor->SetSlotsRight(TextWidthInFont(QStringLiteral("22 A"), slotFont) + 3);
        editor->update();
    }
    if (memo) {
        QFont font = memo->font();
        font.setPointSize(EditTextSize);
        memo->setFont(font);
    }
    for (QTableView *grid : {acrossGrid, downGrid, alternateGrid}) {
        if (!grid)
            continue;
        QFont font = grid->font();
        font.setPointSize(EditTextSize);
        grid->setFont(font);
        const int rowHeight = QFontInfo(font).pixelSize() + 5;
        QHeaderView *rows = grid->verticalHeader();
        rows->setMinimumSectionSize(std::min(rows->minimumSectionSize(), rowHeight));
        rows->setDefaultSectionSize(rowHeight);
        if (grid->model() && grid->model()->rowCount() > 0)
            grid->setRowHeight(0, 0);
    }
}
