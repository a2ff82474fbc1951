// The Layout dialog and its "Margin && Border" tab.
#include "layoutdlg.h"
#include "globals.h"
#include "layoutsettings.h"
#include "ui_layoutdlg.h"

#include "borderstyledelegate.h"
#include "checkpts.h"
#include "cluespg.h"
#include "layoutentries.h"
#include "mainfm.h"
#include "myoverrides.h"
#include "prompter.h"
#include "registry.h"
#include "uidialogs.h"
#include "wysiwyg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QFontDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace {

const QColor RedText(255, 0, 0);
const QColor FocusYellow(255, 255, 0);

TColor winFromColor(const QColor &color) { return (color.blue() << 16) | (color.green() << 8) | color.red(); }

void setSampleColor(QLabel *sample, TColor colour)
{
    QPalette palette = sample->palette();
    palette.setColor(QPalette::WindowText, ColorFromWin(colour));
    sample->setPalette(palette);
}

TColor sampleColor(const QLabel *sample)
{
    return winFromColor(sample->palette().color(QPalette::WindowText));
}

void setShapeColor(QLabel *shape, TColor colour)
{
    QPalette palette = shape->palette();
    palette.setColor(QPalette::Window, ColorFromWin(colour));
    shape->setPalette(palette);
}

TColor shapeColor(const QLabel *shape) { return winFromColor(shape->palette().color(QPalette::Window)); }

void setLabelTextColor(QLabel *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

QLineEdit *spinLine(QSpinBox *spin) { return spin->findChild<QLineEdit *>(); }

/** The credits suggestions: the program's own line and lines to fill in. */
QStringList creditsSuggestions()
{
    return {TMainFm::DefaultCreditsLine(), QStringLiteral("Puzzle by <Name>"),
            QStringLiteral("Copyright <Year> <Name>"),
            QStringLiteral("Copyright <Year> <Name>.  All rights reserved."),
            QStringLiteral("Made by <Name> for <Name>, <Year>")};
}

} // namespace

// A setting of a settings value, for the entries that edit it.
#define FIELD(name)                                                                                          \
    [](TLayoutSettings & s) -> auto & { return s.name; }

struct TLayoutDlg::TEntry {
    QWidget *Widget = nullptr;
    std::function<QString()> Text;
    std::function<TEntryState(const QString &text, double *value)> Check;
    /** How the working value shows; a text that equals it leaves the (maybe finer) value as it is. */
    std::function<QString(double)> Format;
    /** The entry's value in a settings value (the working copy, or the settings being stored). */
    std::function<double(TLayoutSettings &)> Get;
    std::function<void(TLayoutSettings &, double)> Set;
    std::function<void()> After;
};

// ---- Creation ---------------------------------------------------------------------------------------

TLayoutDlg::TLayoutDlg(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::TLayoutDlg>())
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("LayoutDlg"));
    m_ui->LayoutPgCtl->setTabVisible(GraphicsTab, false);
    m_ui->LayoutPgCtl->setCurrentIndex(AutoLayoutTab);
    m_ui->FrameCustomPnl->hide();
    m_blinkTimer.setSingleShot(true);
    connect(&m_blinkTimer, &QTimer::timeout, this, &TLayoutDlg::BlinkStep);
    FillLists();
    ConnectEntries();
    ConnectControls();
    ShowShadingKey();
}

TLayoutDlg::~TLayoutDlg() = default;

int TLayoutDlg::Run(QWidget *parent, const TLayoutDlgHooks &hooks, const QString &tabText)
{
    TLayoutDlg dialog(parent);
    dialog.Hooks = hooks;
    dialog.LoadFromSettings();
    dialog.ActivateTab(dialog.FindTabIndex(tabText));
    return uiDialogs().RunModal(dialog);
}

void TLayoutDlg::FillLists()
{
    Ui::TLayoutDlg &ui = *m_ui;
    m_fonts = GetFontList();
    m_fonts.sort(Qt::CaseInsensitive);
    m_fonts.removeDuplicates();
    for (QComboBox *box : {ui.AcrDwnFontCmBx, ui.ClueNumberFontCmBx, ui.ClueTextFontCmBx, ui.CreditsFontCmBx,
                           ui.WorksheetFontCmBx, ui.PuzzleFontCmBx, ui.SolutionFontCmBx, ui.TitleFontCmBx,
                           ui.SubTitleFontCmBx})
        box->addItems(m_fonts);
    ui.PutFrameOnCmBx->addItems(PageRuleTexts);
    ui.PutTitleOnCmBx->addItems(PageRuleTexts);
    ui.CreditsLineCmBx->addItems(creditsSuggestions());
    ui.FrameStyleCmBx->addItems(BorderStyleItems());
    for (QComboBox *band :
         {ui.FrameBand1CmBx, ui.FrameBand2CmBx, ui.FrameBand3CmBx, ui.FrameBand4CmBx, ui.FrameBand5CmBx})
        band->addItems(BandWidthItems());
}

void TLayoutDlg::ConnectControls()
{
    Ui::TLayoutDlg &ui = *m_ui;
    connect(ui.OKBtn, &QPushButton::clicked, this, &TLayoutDlg::OKBtnClick);
    connect(ui.CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui.LayoutApplyBtn, &QPushButton::clicked, this, &TLayoutDlg::LayoutApplyBtnClick);
    connect(ui.AutoLayoutNowBtn, &QPushButton::clicked, this, &TLayoutDlg::AutoLayoutNowBtnClick);
    connect(ui.HelpBtn, &QPushButton::clicked, this, &TLayoutDlg::HelpBtnClick);
    connect(ui.WordBankMemorizeBtn, &QPushButton::clicked, this, &TLayoutDlg::WordBankMemorizeBtnClick);
    connect(ui.LayoutPgCtl, &QTabWidget::currentChanged, this, &TLayoutDlg::LayoutPgCtlChanging);

    // Defaults.
    connect(ui.LayoutClueColumnsDefaultsBtn, &QPushButton::clicked, this,
            &TLayoutDlg::LayoutClueColumnsDefaultsBtnClick);
    connect(ui.LayoutClueTextDefaultsBtn, &QPushButton::clicked, this,
            &TLayoutDlg::LayoutClueTextDefaultsBtnClick);
    connect(ui.LayoutCreditsDefaultsBtn, &QPushButton::clicked, this,
            &TLayoutDlg::LayoutCreditsDefaultsBtnClick);
    connect(ui.LayoutMarginsDefaultsBtn, &QPushButton::clicked, this,
            &TLayoutDlg::LayoutMarginsDefaultsBtnClick);
    connect(ui.LayoutPuzzleDefaultsBtn, &QPushButton::clicked, this,
            &TLayoutDlg::LayoutPuzzleDefaultsBtnClick);
    connect(ui.LayoutSolutionDefaultsBtn, &QPushButton::clicked, this,
            &TLayoutDlg::LayoutSolutionDefaultsBtnClick);
    connect(ui.LayoutTitleDefaultsBtn, &QPushButton::clicked, this, &TLayoutDlg::LayoutTitleDefaultsBtnClick);

    // Auto-Layout switches and the editing that takes an item from the expert.
    connect(ui.AutoLayoutCB, &QCheckBox::toggled, this, &TLayoutDlg::AutoLayoutCBClick);
    for (QRadioButton *radio : {ui.AutoLayout_1or2PagesRB, ui.AutoLayout_OnePageRB, ui.AutoLayout_TwoPagesRB})
        connect(radio, &QRadioButton::toggled, this, &TLayoutDlg::UpdateAutoLayoutEnables);
    for (QCheckBox *box :
         {ui.AutoMarginsCB, ui.AutoCellSizeCB, ui.AutoCellShapeCB, ui.AutoClueSizeCB, ui.AutoClueSpacingCB,
          ui.AutoClueColumnsCB, ui.AutoNewColumnCB, ui.AutoTitleSizeCB, ui.AutoCenterCB})
        connect(box, &QCheckBox::toggled, this, &TLayoutDlg::ShadeAutoLayoutControls);
    for (QLineEdit *edit : {ui.PuzzleCellWidthEdit, ui.PuzzleCellHeightEdit})
        connect(edit, &QLineEdit::textEdited, this, [this] { UntickSwitch(m_ui->AutoCellSizeCB); });
    connect(ui.LayoutPuzzleLeftEdit, &QLineEdit::textEdited, this,
            [this] { UntickSwitch(m_ui->AutoCenterCB); });
    connect(ui.LeadingPercentageEB, &QLineEdit::textEdited, this,
            [this] { UntickSwitch(m_ui->AutoClueSpacingCB); });
    connect(ui.LayoutClueColumns, &QComboBox::activated, this,
            [this] { UntickSwitch(m_ui->AutoClueColumnsCB); });
    connect(ui.NewColumnCB, &QCheckBox::clicked, this, [this] { UntickSwitch(m_ui->AutoNewColumnCB); });
    connect(ui.PuzzleSquareCB, &QCheckBox::clicked, this, [this] { UntickSwitch(m_ui->AutoCellShapeCB); });
    for (QSpinBox *spin : {ui.ClueTextFontSizeSpEd, ui.ClueNumberFontSizeSpEd, ui.AcrDwnFontSizeSpEd})
        connect(spin, &QSpinBox::valueChanged, this, [this, spin] {
            if (spin->hasFocus())
                UntickSwitch(m_ui->AutoClueSizeCB);
        });
    for (QSpinBox *spin : {ui.TitleFontSizeSpEd, ui.SubTitleFontSizeSpEd})
        connect(spin, &QSpinBox::valueChanged, this, [this, spin] {
            if (spin->hasFocus())
                UntickSwitch(m_ui->AutoTitleSizeCB);
        });

    // Square cells and the aligned solution.
    for (QCheckBox *box : {ui.PuzzleSquareCB, ui.SolutionSquareCB, ui.AlignSolutionCB_AlwaysEnabled})
        connect(box, &QCheckBox::toggled, this, [this] {
            UpdateSquareEnables();
            UpdatePointSizeLabels();
        });

    // Colours and the header font.
    const QList<QPair<QPushButton *, QLabel *>> colours = {
        {ui.CluesColorBtn, ui.CluesColorLbl},
        {ui.PuzzleLineColorBtn, ui.PuzzleLineColorLbl},
        {ui.PuzzleNumberColorBtn, ui.PuzzleNumberColorLbl},
        {ui.SolutionLineColorBtn_AlwaysEnabled, ui.SolutionLineColorLbl_AlwaysEnabled},
        {ui.SolutionLetterColorBtn, ui.SolutionLetterColorLbl},
        {ui.TitleColorBtn, ui.TitleColorExampleLbl},
        {ui.SubtitleColorBtn, ui.SubtitleColorExampleLbl},
        {ui.WordBankColorBtn, ui.WordBankColorLbl}};
    for (const auto &[button, sample] : colours)
        connect(button, &QPushButton::clicked, this, [this, sample] { ChangeSampleColor(sample); });
    connect(ui.SolutionHeaderFontBtn, &QPushButton::clicked, this, &TLayoutDlg::ChooseSolutionHeaderFont);

    // Margin && Border.
    connect(ui.FrameStyleCmBx, &QComboBox::currentIndexChanged, this, &TLayoutDlg::FrameStyleCmBxChange);
    connect(ui.FrameStyle_NoneLnk, &QLabel::linkActivated, this, &TLayoutDlg::FrameStyle_NoneLnkClick);
    connect(ui.CustomizeBorderStyleCB, &QCheckBox::clicked, this, &TLayoutDlg::CustomizeBorderStyleCBClick);
    for (QComboBox *band :
         {ui.FrameBand1CmBx, ui.FrameBand2CmBx, ui.FrameBand3CmBx, ui.FrameBand4CmBx, ui.FrameBand5CmBx})
        connect(band, &QComboBox::currentTextChanged, this, &TLayoutDlg::FrameBandAnyCmBxChange);
    connect(ui.FrameUseGapsCB, &QCheckBox::clicked, this, &TLayoutDlg::FrameUseGapsCBClick);
    connect(ui.FrameAdjustIndividuallyCB, &QCheckBox::toggled, this,
            &TLayoutDlg::FrameAdjustIndividuallyCBClick);
    connect(ui.FrameColor1Lnk, &QLabel::linkActivated, this, &TLayoutDlg::FrameColor1LnkClick);
    connect(ui.FrameColor2Lnk, &QLabel::linkActivated, this, &TLayoutDlg::FrameColor2LnkClick);
    connect(ui.FrameColor3Lnk, &QLabel::linkActivated, this, &TLayoutDlg::FrameColor3LnkClick);
    connect(ui.FrameColor4Lnk, &QLabel::linkActivated, this, &TLayoutDlg::FrameColor4LnkClick);
    connect(ui.FrameColor5Lnk, &QLabel::linkActivated, this, &TLayoutDlg::FrameColor5LnkClick);
    for (QLabel *shape : {ui.FrameColor1, ui.FrameColor2, ui.FrameColor3, ui.FrameColor4, ui.FrameColor5})
        shape->installEventFilter(this);
    for (QLineEdit *edit : MarginEdits() + OutsideEdits() + InsideEdits())
        edit->installEventFilter(this);
    for (QLineEdit *average : {ui.FrameSpacingOutsideEd, ui.FrameSpacingInsideEd, ui.MarginAllEdit})
        average->installEventFilter(this);
    // Typing into an average entry types the same into its four entries.
    connect(ui.FrameSpacingOutsideEd, &QLineEdit::textEdited, this,
            [this] { CopyAverageToEdges(m_ui->FrameSpacingOutsideEd, OutsideEdits()); });
    connect(ui.FrameSpacingInsideEd, &QLineEdit::textEdited, this,
            [this] { CopyAverageToEdges(m_ui->FrameSpacingInsideEd, InsideEdits()); });
    connect(ui.MarginAllEdit, &QLineEdit::textEdited, this,
            [this] { CopyAverageToEdges(m_ui->MarginAllEdit, MarginEdits()); });
    const QList<std::tuple<QToolButton *, QToolButton *, std::function<QList<QLineEdit *>()>>> spins = {
        {ui.FrameSpacingOutsideSpBtnUp, ui.FrameSpacingOutsideSpBtnDown, [this] { return OutsideEdits(); }},
        {ui.FrameSpacingInsideSpBtnUp, ui.FrameSpacingInsideSpBtnDown, [this] { return InsideEdits(); }},
        {ui.MarginSpBtnUp, ui.MarginSpBtnDown, [this] { return MarginEdits(); }}};
    for (const auto &[up, down, group] : spins) {
        connect(up, &QToolButton::clicked, this, [this, group] { StepGroup(group(), 1); });
        connect(down, &QToolButton::clicked, this, [this, group] { StepGroup(group(), -1); });
    }
    connect(ui.SubtitleExtraSpacingSpBtnUp, &QToolButton::clicked, this, [this] { StepSubtitleSpacing(1); });
    connect(ui.SubtitleExtraSpacingSpBtnDown, &QToolButton::clicked, this,
            [this] { StepSubtitleSpacing(-1); });
    connect(ui.LeadingPercentageEB, &QLineEdit::editingFinished, this, [this] {
        int leading = 0;
        if (CheckLeadingEntry(m_ui->LeadingPercentageEB->text(), &leading) == TEntryState::Ok)
            SetEntryText(m_ui->LeadingPercentageEB, FormatLeadingText(leading));
    });
}

void TLayoutDlg::ConnectEntries()
{
    Ui::TLayoutDlg &ui = *m_ui;
    using TReal = std::function<double &(TLayoutSettings &)>;
    using TWhole = std::function<int &(TLayoutSettings &)>;
    auto add = [this](QWidget *widget, std::function<QString()> text,
                      std::function<TEntryState(const QString &, double *)> check,
                      std::function<QString(double)> format, TReal value, TWhole intValue,
                      std::function<void()> after) {
        auto entry = std::make_unique<TEntry>();
        entry->Widget = widget;
        entry->Text = std::move(text);
        entry->Check = std::move(check);
        entry->Format = std::move(format);
        if (value) {
            entry->Get = [value](TLayoutSettings &s) { return value(s); };
            entry->Set = [value](TLayoutSettings &s, double v) { value(s) = v; };
        } else {
            entry->Get = [intValue](TLayoutSettings &s) { return double(intValue(s)); };
            entry->Set = [intValue](TLayoutSettings &s, double v) { intValue(s) = int(v); };
        }
        entry->After = std::move(after);
        TEntry *raw = entry.get();
        m_entries.push_back(std::move(entry));
        QLineEdit *line = qobject_cast<QLineEdit *>(widget);
        if (!line)
            line = spinLine(static_cast<QSpinBox *>(widget));
        connect(line, &QLineEdit::textChanged, this, [this, raw] { EntryChanged(*raw); });
    };
    auto inch = [&](QLineEdit *edit, TValueRange range, TReal value, std::function<void()> after = {}) {
        add(
            edit, [edit] { return edit->text(); },
            [range](const QString &t, double *v) { return CheckInchEntry(t, range, v); }, FormatLengthText,
            std::move(value), nullptr, std::move(after));
    };
    auto integer = [&](QSpinBox *spin, TValueRange range, TWhole value, std::function<void()> after = {}) {
        add(
            spin, [spin] { return spin->cleanText(); },
            [range](const QString &t, double *v) {
                int i = 0;
                const TEntryState s = CheckIntegerEntry(t, range, &i);
                *v = i;
                return s;
            },
            {}, nullptr, std::move(value), std::move(after));
    };
    auto margin = [&](QLineEdit *edit, TReal value, std::function<QString(double)> format,
                      std::function<void()> after) {
        add(
            edit, [edit] { return edit->text(); },
            [](const QString &t, double *v) { return CheckMarginEntry(t, v); }, std::move(format),
            std::move(value), nullptr, std::move(after));
    };
    const auto points = [this] { UpdatePointSizeLabels(); };

    inch(ui.PuzzleCellWidthEdit, CellSizeRange, FIELD(CellWidth), points);
    inch(ui.PuzzleCellHeightEdit, CellSizeRange, FIELD(CellHeight), points);
    inch(ui.PuzzleLineWeightEdit, LineWeightRange, FIELD(GridLineThickness));
    inch(ui.SolutionCellWidthEdit, CellSizeRange, FIELD(CellWidthSol), points);
    inch(ui.SolutionCellHeightEdit, CellSizeRange, FIELD(CellHeightSol), points);
    inch(ui.SolutionLineWeightEdit, LineWeightRange, FIELD(GridLineThicknessSol));
    add(
        ui.SubtitleExtraSpacingEd, [e = ui.SubtitleExtraSpacingEd] { return e->text(); },
        [](const QString &t, double *v) { return CheckInchEntry(t, SubtitleSpacingRange, v); },
        FormatSpacingText, FIELD(SubtitleExtraSpacing), nullptr, {});
    // The grid's place is checked against the margins typed in this dialog.
    add(
        ui.LayoutPuzzleLeftEdit, [e = ui.LayoutPuzzleLeftEdit] { return e->text(); },
        [this](const QString &t, double *v) {
            return CheckPositionEntry(t, m_work.MarginLeft, m_work.PaperWidth, v);
        },
        FormatLengthText, FIELD(PuzzleLeft), nullptr, {});
    add(
        ui.LayoutPuzzleTopEdit, [e = ui.LayoutPuzzleTopEdit] { return e->text(); },
        [this](const QString &t, double *v) {
            return CheckPositionEntry(t, m_work.MarginTop, m_work.PaperHeight, v);
        },
        FormatLengthText, FIELD(PuzzleTop), nullptr, {});
    add(
        ui.LeadingPercentageEB, [e = ui.LeadingPercentageEB] { return e->text(); },
        [](const QString &t, double *v) {
            int i = 0;
            const TEntryState s = CheckLeadingEntry(t, &i);
            *v = i;
            return s;
        },
        [](double v) { return FormatLeadingText(int(v)); }, nullptr, FIELD(LeadingPercentage), {});
    integer(ui.PuzzleFontSizeSpEd, CellNumberPercentRange, FIELD(CellNumberPercent), points);
    integer(ui.SolutionFontSizeSpEd, LetterPercentRange, FIELD(CellLetterPercent), points);
    integer(ui.TitleFontSizeSpEd, TitleSizeRange, FIELD(TitleFontSize));
    integer(ui.SubTitleFontSizeSpEd, TitleSizeRange, FIELD(SubtitleFontSize));
    integer(ui.CreditsFontSizeSpEd, CreditsSizeRange, FIELD(CreditsFontSize));
    integer(ui.WorksheetFontSizeSpEd, WorksheetSizeRange, FIELD(WorksheetFontSize));

    const auto marginChanged = [this] { MarginChanged(); };
    margin(ui.MarginTopEdit, FIELD(MarginTop), FormatMarginText, marginChanged);
    margin(ui.MarginLeftEdit, FIELD(MarginLeft), FormatMarginText, marginChanged);
    margin(ui.MarginRightEdit, FIELD(MarginRight), FormatMarginText, marginChanged);
    margin(ui.MarginBottomEdit, FIELD(MarginBottom), FormatMarginText, marginChanged);
    const auto insetChanged = [this] { InsetChanged(); };
    margin(ui.FrameSpacingOutsideTopEd, FIELD(FrameOutside.Top), FormatInsetText, insetChanged);
    margin(ui.FrameSpacingOutsideLeftEd, FIELD(FrameOutside.Left), FormatInsetText, insetChanged);
    margin(ui.FrameSpacingOutsideRightEd, FIELD(FrameOutside.Right), FormatInsetText, insetChanged);
    margin(ui.FrameSpacingOutsideBottomEd, FIELD(FrameOutside.Bottom), FormatInsetText, insetChanged);
    margin(ui.FrameSpacingInsideTopEd, FIELD(FrameInside.Top), FormatInsetText, insetChanged);
    margin(ui.FrameSpacingInsideLeftEd, FIELD(FrameInside.Left), FormatInsetText, insetChanged);
    margin(ui.FrameSpacingInsideRightEd, FIELD(FrameInside.Right), FormatInsetText, insetChanged);
    margin(ui.FrameSpacingInsideBottomEd, FIELD(FrameInside.Bottom), FormatInsetText, insetChanged);
}

#undef FIELD

QList<QLineEdit *> TLayoutDlg::MarginEdits() const
{
    return {m_ui->MarginTopEdit, m_ui->MarginLeftEdit, m_ui->MarginRightEdit, m_ui->MarginBottomEdit};
}

QList<QLineEdit *> TLayoutDlg::OutsideEdits() const
{
    return {m_ui->FrameSpacingOutsideTopEd, m_ui->FrameSpacingOutsideLeftEd, m_ui->FrameSpacingOutsideRightEd,
            m_ui->FrameSpacingOutsideBottomEd};
}

QList<QLineEdit *> TLayoutDlg::InsideEdits() const
{
    return {m_ui->FrameSpacingInsideTopEd, m_ui->FrameSpacingInsideLeftEd, m_ui->FrameSpacingInsideRightEd,
            m_ui->FrameSpacingInsideBottomEd};
}

// ---- Tabs -------------------------------------------------------------------------------------------

QTabWidget *TLayoutDlg::LayoutPgCtl() const { return m_ui->LayoutPgCtl; }

int TLayoutDlg::FindTabIndex(const QString &prefix) const
{
    for (int i = 0; i < m_ui->LayoutPgCtl->count(); ++i)
        if (m_ui->LayoutPgCtl->tabText(i).startsWith(prefix))
            return i;
    return 0;
}

void TLayoutDlg::ActivateTab(int index)
{
    m_switchingTab = true;
    m_ui->LayoutPgCtl->setCurrentIndex(index);
    m_switchingTab = false;
    m_activeTab = m_ui->LayoutPgCtl->currentIndex();
    ShowShadingKey();
}

void TLayoutDlg::LayoutPgCtlChanging(int index)
{
    if (m_switchingTab || index == m_activeTab)
        return;
    // Back to the tab being left while it is checked, so that a refusal never shows the new one.
    m_switchingTab = true;
    m_ui->LayoutPgCtl->setCurrentIndex(m_activeTab);
    m_switchingTab = false;
    if (CheckTab(m_activeTab))
        ActivateTab(index);
}

void TLayoutDlg::ShowShadingKey()
{
    const int tab = m_activeTab;
    m_ui->ShadingKeyPnl->setVisible(tab == ClueColumnsTab || tab == ClueTextTab || tab == BorderTab ||
                                    tab == PuzzleTab || tab == TitleTab);
    QPalette palette = m_ui->ShadingKeyPnl->palette();
    palette.setColor(QPalette::Window, ShadowColor());
    m_ui->ShadingKeyPnl->setPalette(palette);
}

// ---- Entries ----------------------------------------------------------------------------------------

void TLayoutDlg::EntryChanged(TEntry &entry)
{
    const QString text = entry.Text();
    double value = 0;
    const bool valid = entry.Check(text, &value) == TEntryState::Ok;
    SetEntryValid(entry.Widget, valid);
    if (valid && (!entry.Format || text != entry.Format(entry.Get(m_work))))
        entry.Set(m_work, value);
    if (entry.After)
        entry.After();
}

void TLayoutDlg::SetEntryValid(QWidget *entry, bool valid)
{
    QPalette palette = entry->palette();
    palette.setColor(QPalette::Text, valid ? QColor(Qt::black) : RedText);
    entry->setPalette(palette);
    if (valid)
        m_red.remove(entry);
    else
        m_red.insert(entry);
}

bool TLayoutDlg::IsRed(const QWidget *entry) { return entry->palette().color(QPalette::Text) == RedText; }

TLayoutDlg::TEntry *TLayoutDlg::EntryOf(const QWidget *widget)
{
    for (auto &entry : m_entries)
        if (entry->Widget == widget)
            return entry.get();
    return nullptr;
}

void TLayoutDlg::SetEntryText(QLineEdit *edit, const QString &text)
{
    if (edit->text() == text) {
        // The same text: the check runs again all the same (the margins may have moved).
        if (TEntry *entry = EntryOf(edit))
            EntryChanged(*entry);
        return;
    }
    edit->setText(text);
}

void TLayoutDlg::RecheckPositions()
{
    for (QWidget *edit : {static_cast<QWidget *>(m_ui->LayoutPuzzleLeftEdit),
                          static_cast<QWidget *>(m_ui->LayoutPuzzleTopEdit)})
        if (TEntry *entry = EntryOf(edit))
            EntryChanged(*entry);
}

// ---- Load and store ---------------------------------------------------------------------------------

void TLayoutDlg::SelectFont(QComboBox *box, const QString &font)
{
    int index = box->findText(font, Qt::MatchFixedString); // case-insensitive
    if (index < 0 && !font.isEmpty()) {
        // A font this system lacks stays the puzzle's font.
        index = 0;
        while (index < box->count() && QString::compare(box->itemText(index), font, Qt::CaseInsensitive) < 0)
            ++index;
        box->insertItem(index, font);
    }
    box->setCurrentIndex(index);
}

void TLayoutDlg::ShowClueColumns(const TLayoutSettings &s)
{
    Ui::TLayoutDlg &ui = *m_ui;
    ui.LayoutClueColumns->setCurrentIndex(std::clamp(s.ClueColumns, 1, 9) - 1);
    SetEntryText(ui.LeadingPercentageEB, FormatLeadingText(s.LeadingPercentage));
    SelectFont(ui.AcrDwnFontCmBx, s.AcrDwnFont);
    ui.AcrDwnFontSizeSpEd->setValue(s.AcrDwnFontSize - s.ClueTextFontSize);
    ui.AcrDwnBoldCB->setChecked(s.AcrDwnBold);
    ui.AcrDwnCapitalsCB->setChecked(s.AcrDwnCapitals);
}

void TLayoutDlg::ShowClueText(const TLayoutSettings &s)
{
    Ui::TLayoutDlg &ui = *m_ui;
    SelectFont(ui.ClueNumberFontCmBx, s.ClueNumberFont);
    SelectFont(ui.ClueTextFontCmBx, s.ClueTextFont);
    SelectFont(ui.AcrDwnFontCmBx, s.AcrDwnFont);
    ui.ClueNumberFontSizeSpEd->setValue(s.ClueNumberFontSize - s.ClueTextFontSize);
    ui.ClueTextFontSizeSpEd->setValue(s.ClueTextFontSize);
    ui.CluesNumbersBoldCB->setChecked(s.ClueNumberStyle & fsBold);
    ui.CluesThemeBoldCB->setChecked(s.ClueThemeStyle & fsBold);
    ui.CluesThemeItalicsCB->setChecked(s.ClueThemeStyle & fsItalic);
    ui.CluesThemeColorCB->setChecked(s.ClueThemeInColor);
    ui.CluesThemeAllCapsCB->setChecked(s.ClueThemeAllCaps);
}

void TLayoutDlg::ShowCredits(const TLayoutSettings &s)
{
    Ui::TLayoutDlg &ui = *m_ui;
    ui.CreditsLineCmBx->setCurrentText(s.CreditsLine);
    SelectFont(ui.CreditsFontCmBx, s.CreditsFont);
    ui.CreditsFontSizeSpEd->setValue(s.CreditsFontSize);
}

void TLayoutDlg::ShowMargins(const TLayoutSettings &s)
{
    Ui::TLayoutDlg &ui = *m_ui;
    const QList<QLineEdit *> outside = OutsideEdits(), inside = InsideEdits();
    const double outsideValues[4] = {s.FrameOutside.Top, s.FrameOutside.Left, s.FrameOutside.Right,
                                     s.FrameOutside.Bottom};
    const double insideValues[4] = {s.FrameInside.Top, s.FrameInside.Left, s.FrameInside.Right,
                                    s.FrameInside.Bottom};
    for (int i = 0; i < 4; ++i) {
        SetEntryText(outside[i], FormatInsetText(outsideValues[i]));
        SetEntryText(inside[i], FormatInsetText(insideValues[i]));
    }
    SetEntryText(ui.MarginTopEdit, FormatMarginText(s.MarginTop));
    SetEntryText(ui.MarginLeftEdit, FormatMarginText(s.MarginLeft));
    SetEntryText(ui.MarginRightEdit, FormatMarginText(s.MarginRight));
    SetEntryText(ui.MarginBottomEdit, FormatMarginText(s.MarginBottom));
}

void TLayoutDlg::ShowPuzzleGrid(const TLayoutSettings &s)
{
    Ui::TLayoutDlg &ui = *m_ui;
    SetEntryText(ui.PuzzleCellWidthEdit, FormatLengthText(s.CellWidth));
    SetEntryText(ui.PuzzleCellHeightEdit, FormatLengthText(s.CellHeight));
    ui.PuzzleSquareCB->setChecked(s.CellWidth == s.CellHeight);
    SetEntryText(ui.PuzzleLineWeightEdit, FormatLengthText(s.GridLineThickness));
    SelectFont(ui.PuzzleFontCmBx, s.PuzzleNumberFont);
    ui.PuzzleFontSizeSpEd->setValue(s.CellNumberPercent);
    ui.PuzzlePageCmBx->setCurrentIndex(s.PuzzlePage == 2 ? 1 : 0);
    SetEntryText(ui.LayoutPuzzleLeftEdit, FormatLengthText(s.PuzzleLeft));
    SetEntryText(ui.LayoutPuzzleTopEdit, FormatLengthText(s.PuzzleTop));
}

void TLayoutDlg::ShowSolutionGrid(const TLayoutSettings &s)
{
    Ui::TLayoutDlg &ui = *m_ui;
    SetEntryText(ui.SolutionCellWidthEdit, FormatLengthText(s.CellWidthSol));
    SetEntryText(ui.SolutionCellHeightEdit, FormatLengthText(s.CellHeightSol));
    ui.SolutionSquareCB->setChecked(s.CellWidthSol == s.CellHeightSol);
    SetEntryText(ui.SolutionLineWeightEdit, FormatLengthText(s.GridLineThicknessSol));
    SelectFont(ui.SolutionFontCmBx, s.SolutionFont);
    ui.SolutionFontSizeSpEd->setValue(s.CellLetterPercent);
    ui.SolutionThemeBoldCB->setChecked(s.SolutionThemeBold);
    ui.SolutionThemeColorCB->setChecked(s.SolutionThemeColor);
}

void TLayoutDlg::ShowTitleFonts(const TLayoutSettings &s)
{
    Ui::TLayoutDlg &ui = *m_ui;
    SelectFont(ui.TitleFontCmBx, s.TitleFont);
    ui.TitleFontSizeSpEd->setValue(s.TitleFontSize);
    SelectFont(ui.SubTitleFontCmBx, s.SubtitleFont);
    ui.SubTitleFontSizeSpEd->setValue(s.SubtitleFontSize);
}

void TLayoutDlg::LoadFromSettings()
{
    Ui::TLayoutDlg &ui = *m_ui;
    m_loading = true;
    m_red.clear();
    m_wordBankChanged = false;
    m_hintBlinks = 10;

    m_work = LayoutSettings;
    const TLayoutSettings &s = m_work;

    // Auto-Layout.
    ui.AutoLayoutCB->setChecked(DocControls.AutoLayout);
    (s.AutoLayoutPageChoice == 2   ? ui.AutoLayout_OnePageRB
     : s.AutoLayoutPageChoice == 3 ? ui.AutoLayout_TwoPagesRB
                                   : ui.AutoLayout_1or2PagesRB)
        ->setChecked(true);
    ui.AskAboutSecondPageCB->setChecked(s.AskBeforeUsingTwoPages);
    ui.AutoMarginsCB->setChecked(s.AutoMargins);
    ui.AutoCellSizeCB->setChecked(s.AutoCellSize);
    ui.AutoCellShapeCB->setChecked(s.AutoCellShape);
    ui.AutoClueSizeCB->setChecked(s.AutoClueSize);
    ui.AutoClueSpacingCB->setChecked(s.AutoClueSpacing);
    ui.AutoClueColumnsCB->setChecked(s.AutoClueColumns);
    ui.AutoNewColumnCB->setChecked(s.AutoNewColumn);
    ui.AutoTitleSizeCB->setChecked(s.AutoTitleSize);
    ui.AutoCenterCB->setChecked(s.AutoCenter);
    ui.Autolayout_OnApplyCB->setChecked(s.AutoLayout_OnApply);
    ui.Autolayout_OnSpillCB->setChecked(s.AutoLayout_OnSpill);

    // Clue Columns and Clue Text.
    ShowClueColumns(s);
    ui.PutCluesOnSeparatePagesCB->setChecked(s.SeparateClues);
    ui.NewColumnCB->setChecked(s.NewColumnDown);
    ui.AcrossTextEd->setText(s.AcrossText);
    ui.DownTextEd->setText(s.DownText);
    ShowClueText(s);
    setSampleColor(ui.CluesColorLbl, s.clClues);

    // Credits.
    ShowCredits(s);
    ui.WorksheetLineCmBx->setCurrentText(s.WorksheetLine);
    SelectFont(ui.WorksheetFontCmBx, s.WorksheetFontName);
    ui.WorksheetFontSizeSpEd->setValue(s.WorksheetFontSize);

    // Margin && Border: the stored style takes the place of its item when that is "None" or the
    // custom one; an unknown style takes the custom item's place too.
    const QStringList items = BorderStyleItems();
    ui.FrameStyleCmBx->setItemText(NoBorderItem, items[NoBorderItem]);
    ui.FrameStyleCmBx->setItemText(CustomBorderItem, items[CustomBorderItem]);
    int style = FindBorderStyleItem(items, s.FrameStyle);
    if (style < 0)
        style = CustomBorderItem;
    if (style <= CustomBorderItem)
        ui.FrameStyleCmBx->setItemText(style, s.FrameStyle);
    {
        const QSignalBlocker quiet(ui.FrameStyleCmBx);
        ui.FrameStyleCmBx->setCurrentIndex(style);
    }
    ui.PutFrameOnCmBx->setCurrentIndex(std::min(s.PutFrameOnCode & 0x7F, 8));
    ui.FrameAdjustIndividuallyCB->setChecked(true);
    FrameAdjustIndividuallyCBClick();
    ShowMargins(s);
    FrameStyleCmBxChange(style);

    // Puzzle.
    ShowPuzzleGrid(s);
    setSampleColor(ui.PuzzleLineColorLbl, s.clPuzzleGrid);
    setSampleColor(ui.PuzzleNumberColorLbl, s.clPuzzleNumber);

    // Solution.
    ShowSolutionGrid(s);
    setSampleColor(ui.SolutionLineColorLbl_AlwaysEnabled, s.clSolutionGrid);
    ui.AlignSolutionCB_AlwaysEnabled->setChecked(s.AlignSolution);
    ui.NumberedSolutionCB_AlwaysEnabled->setChecked(s.NumberedSolution);
    setSampleColor(ui.SolutionLetterColorLbl, s.clSolutionLetter);
    ui.SolutionHeaderTextEd->setText(s.SolutionHeaderText);

    // Title.
    ui.PuzzleTitleEd->setText(DocControls.PuzzleTitle);
    ui.PuzzleSubtitleEd->setText(DocControls.PuzzleSubtitle);
    ShowTitleFonts(s);
    setSampleColor(ui.TitleColorExampleLbl, s.TitleColor);
    ui.TitleBoldCB->setChecked(s.TitleStyle & fsBold);
    ui.TitleItalicCB->setChecked(s.TitleStyle & fsItalic);
    ui.TitleUnderlineCB->setChecked(s.TitleStyle & fsUnderline);
    ui.PutTitleOnCmBx->setCurrentIndex(std::min(s.PutTitleOnCode & 0x7F, 8));
    setSampleColor(ui.SubtitleColorExampleLbl, s.SubtitleColor);
    ui.SubtitleBoldCB->setChecked(s.SubtitleStyle & fsBold);
    ui.SubtitleItalicCB->setChecked(s.SubtitleStyle & fsItalic);
    ui.SubtitleUnderlineCB->setChecked(s.SubtitleStyle & fsUnderline);
    SetEntryText(ui.SubtitleExtraSpacingEd, FormatSpacingText(s.SubtitleExtraSpacing));

    // Word Bank.
    ui.WordBankCB->setChecked(DocControls.WordBankCB);
    ui.WordBankModeCmBx->setCurrentIndex(WordBankModeIndex(s.WordBankMode));
    ui.WordBankSortCmBx->setCurrentIndex(WordBankSortIndex(s.WordBankSort));
    ui.WordBankHeaderCmBx->setCurrentText(s.WordBankHeader);
    setSampleColor(ui.WordBankColorLbl, s.clWordBank);

    // Spin edits whose value did not change still check their text.
    for (auto &entry : m_entries)
        EntryChanged(*entry);
    UpdateAutoLayoutEnables();
    UpdateSquareEnables();
    UpdatePointSizeLabels();
    UpdateMarginAverages();
    ShadeAutoLayoutControls();
    m_loading = false;
}

void TLayoutDlg::StoreToSettings()
{
    Ui::TLayoutDlg &ui = *m_ui;
    // The stored settings with the typed values of the entries and what the other controls show.
    TLayoutSettings s = LayoutSettings;
    for (auto &entry : m_entries)
        entry->Set(s, entry->Get(m_work));

    s.AutoLayoutPageChoice = ui.AutoLayout_OnePageRB->isChecked()    ? 2
                             : ui.AutoLayout_TwoPagesRB->isChecked() ? 3
                                                                     : 1;
    s.AskBeforeUsingTwoPages = ui.AskAboutSecondPageCB->isChecked();
    s.AutoMargins = ui.AutoMarginsCB->isChecked();
    s.AutoCellSize = ui.AutoCellSizeCB->isChecked();
    s.AutoCellShape = ui.AutoCellShapeCB->isChecked();
    s.AutoClueSize = ui.AutoClueSizeCB->isChecked();
    s.AutoClueSpacing = ui.AutoClueSpacingCB->isChecked();
    s.AutoClueColumns = ui.AutoClueColumnsCB->isChecked();
    s.AutoNewColumn = ui.AutoNewColumnCB->isChecked();
    s.AutoTitleSize = ui.AutoTitleSizeCB->isChecked();
    s.AutoCenter = ui.AutoCenterCB->isChecked();
    s.AutoLayout_OnApply = ui.Autolayout_OnApplyCB->isChecked();
    s.AutoLayout_OnSpill = ui.Autolayout_OnSpillCB->isChecked();

    s.FrameStyle = ui.FrameStyleCmBx->currentText();
    s.PutFrameOnCode = std::uint8_t(std::max(0, ui.PutFrameOnCmBx->currentIndex()));

    if (ui.PuzzleSquareCB->isChecked())
        s.CellHeight = s.CellWidth;
    s.clPuzzleGrid = sampleColor(ui.PuzzleLineColorLbl);
    s.PuzzleNumberFont = ui.PuzzleFontCmBx->currentText();
    s.clPuzzleNumber = s.clSolutionNumber = sampleColor(ui.PuzzleNumberColorLbl);
    s.PuzzlePage = ui.PuzzlePageCmBx->currentIndex() + 1;

    s.AlignSolution = ui.AlignSolutionCB_AlwaysEnabled->isChecked();
    s.NumberedSolution = ui.NumberedSolutionCB_AlwaysEnabled->isChecked();
    // Square solution cells are square in their own size, also while they follow the puzzle's, so
    // they stay square when the solution stops following.
    if (ui.SolutionSquareCB->isChecked())
        s.CellHeightSol = s.CellWidthSol;
    s.clSolutionGrid = sampleColor(ui.SolutionLineColorLbl_AlwaysEnabled);
    s.SolutionFont = ui.SolutionFontCmBx->currentText();
    s.clSolutionLetter = sampleColor(ui.SolutionLetterColorLbl);
    s.SolutionThemeBold = ui.SolutionThemeBoldCB->isChecked();
    s.SolutionThemeColor = ui.SolutionThemeColorCB->isChecked();
    s.SolutionHeaderText = ui.SolutionHeaderTextEd->text();
    s.SolutionHeaderFont = m_work.SolutionHeaderFont;
    s.SolutionHeaderFontSize = m_work.SolutionHeaderFontSize;
    s.SolutionHeaderStyle = m_work.SolutionHeaderStyle;
    s.SolutionHeaderColor = m_work.SolutionHeaderColor;

    s.SeparateClues = ui.PutCluesOnSeparatePagesCB->isChecked();
    s.ClueColumns = ui.LayoutClueColumns->currentIndex() + 1;
    s.AcrossText = ui.AcrossTextEd->text();
    s.DownText = ui.DownTextEd->text();
    s.AcrDwnFont = ui.AcrDwnFontCmBx->currentText();
    s.AcrDwnBold = ui.AcrDwnBoldCB->isChecked();
    s.AcrDwnCapitals = ui.AcrDwnCapitalsCB->isChecked();
    s.NewColumnDown = ui.NewColumnCB->isChecked();
    s.ClueTextFont = ui.ClueTextFontCmBx->currentText();
    s.ClueTextFontSize = ui.ClueTextFontSizeSpEd->value();
    s.AcrDwnFontSize = s.ClueTextFontSize + ui.AcrDwnFontSizeSpEd->value();
    s.ClueNumberFont = ui.ClueNumberFontCmBx->currentText();
    s.ClueNumberFontSize = s.ClueTextFontSize + ui.ClueNumberFontSizeSpEd->value();
    s.ClueNumberStyle = (s.ClueNumberStyle & ~fsBold) | (ui.CluesNumbersBoldCB->isChecked() ? fsBold : 0);
    s.clClues = sampleColor(ui.CluesColorLbl);
    s.ClueThemeStyle =
        (s.ClueThemeStyle & ~(fsBold | fsItalic)) |
        PackFontStyle(ui.CluesThemeBoldCB->isChecked(), ui.CluesThemeItalicsCB->isChecked(), false, false);
    s.ClueThemeInColor = ui.CluesThemeColorCB->isChecked();
    s.ClueThemeAllCaps = ui.CluesThemeAllCapsCB->isChecked();

    s.TitleFont = ui.TitleFontCmBx->currentText();
    s.TitleColor = sampleColor(ui.TitleColorExampleLbl);
    s.TitleStyle = PackFontStyle(ui.TitleBoldCB->isChecked(), ui.TitleItalicCB->isChecked(),
                                 ui.TitleUnderlineCB->isChecked(), s.TitleStyle & fsStrikeOut);
    s.PutTitleOnCode = std::uint8_t(std::max(0, ui.PutTitleOnCmBx->currentIndex()));
    s.SubtitleFont = ui.SubTitleFontCmBx->currentText();
    s.SubtitleColor = sampleColor(ui.SubtitleColorExampleLbl);
    s.SubtitleStyle = PackFontStyle(ui.SubtitleBoldCB->isChecked(), ui.SubtitleItalicCB->isChecked(),
                                    ui.SubtitleUnderlineCB->isChecked(), s.SubtitleStyle & fsStrikeOut);

    s.CreditsLine = ui.CreditsLineCmBx->currentText();
    s.CreditsFont = ui.CreditsFontCmBx->currentText();
    s.WorksheetLine = ui.WorksheetLineCmBx->currentText();
    s.WorksheetFontName = ui.WorksheetFontCmBx->currentText();

    s.WordBankMode = ui.WordBankModeCmBx->currentIndex();
    s.WordBankSort = ui.WordBankSortCmBx->currentIndex();
    s.WordBankHeader = ui.WordBankHeaderCmBx->currentText();
    s.WordBankPage = WordBankPageFor(s.AutoLayoutPageChoice, s.PuzzlePage);
    m_wordBankChanged = s.WordBankMode != WordBankModeIndex(WordBankMode) ||
                        s.WordBankSort != WordBankSortIndex(WordBankSort) ||
                        QString::compare(s.WordBankHeader, WordBankHeader, Qt::CaseInsensitive) != 0 ||
                        ui.WordBankCB->isChecked() != DocControls.WordBankCB;
    LayoutSettings = s;

    DocControls.AutoLayout = ui.AutoLayoutCB->isChecked();
    if (Hooks.SetAutoLayoutChecked)
        Hooks.SetAutoLayoutChecked(DocControls.AutoLayout);
    // The titles go into the window's fields without its title-edit path: the page is set up
    // here, and the expert runs (or not) after the whole store.
    DocControls.PuzzleTitle = ui.PuzzleTitleEd->text();
    DocControls.PuzzleSubtitle = ui.PuzzleSubtitleEd->text();
    if (Hooks.SetTitlesQuietly)
        Hooks.SetTitlesQuietly(DocControls.PuzzleTitle, DocControls.PuzzleSubtitle);
    ComputeTitleBlockHeight();
    DocControls.WordBankCB = ui.WordBankCB->isChecked();
    if (Hooks.SetWordBankChecked)
        Hooks.SetWordBankChecked(DocControls.WordBankCB);

    RelayoutPage();
    if (Hooks.SetModified)
        Hooks.SetModified();
    else if (DocHooks.SetModified)
        DocHooks.SetModified();
    else
        PuzzleModified = true;
}

bool TLayoutDlg::ApplyWordBankChange()
{
    if (!m_wordBankChanged)
        return false;
    m_wordBankChanged = false;
    if (Hooks.RebuildClueGrids)
        Hooks.RebuildClueGrids();
    else
        RebuildClueGrids();
    return true;
}

// ---- Checks -----------------------------------------------------------------------------------------

bool TLayoutDlg::CheckTab(int index)
{
    Ui::TLayoutDlg &ui = *m_ui;
    QWidget *page = ui.LayoutPgCtl->widget(index);
    const bool anyRed = std::any_of(m_red.begin(), m_red.end(),
                                    [page](const QWidget *w) { return page && page->isAncestorOf(w); });
    QString message;
    switch (index) {
    case ClueColumnsTab:
        if (m_red.contains(ui.LeadingPercentageEB))
            message = LeadingTabMessage();
        break;
    case BorderTab:
        if (anyRed)
            message = MarginTabMessage();
        break;
    case PuzzleTab: {
        TGridTabEntries e;
        e.CellWidth = ui.PuzzleCellWidthEdit->text();
        e.CellHeight = ui.PuzzleCellHeightEdit->text();
        e.HeightEnabled = !ui.PuzzleSquareCB->isChecked();
        e.FontSizeRed = m_red.contains(ui.PuzzleFontSizeSpEd);
        e.LineWeight = ui.PuzzleLineWeightEdit->text();
        e.HasPosition = true;
        e.Left = ui.LayoutPuzzleLeftEdit->text();
        e.Top = ui.LayoutPuzzleTopEdit->text();
        e.MarginLeft = m_work.MarginLeft;
        e.MarginTop = m_work.MarginTop;
        e.PaperWidth = m_work.PaperWidth;
        e.PaperHeight = m_work.PaperHeight;
        message = GridTabMessage(QStringLiteral("Puzzle"), e);
        break;
    }
    case SolutionTab: {
        TGridTabEntries e;
        e.CellWidth = ui.SolutionCellWidthEdit->text();
        e.CellHeight = ui.SolutionCellHeightEdit->text();
        e.HeightEnabled = !ui.SolutionSquareCB->isChecked() && !ui.AlignSolutionCB_AlwaysEnabled->isChecked();
        e.FontSizeRed = m_red.contains(ui.SolutionFontSizeSpEd);
        e.LineWeight = ui.SolutionLineWeightEdit->text();
        message = GridTabMessage(QStringLiteral("Solution"), e);
        break;
    }
    default:
        if (anyRed)
            message = RedEntryTabMessage();
        break;
    }
    if (message.isEmpty())
        return true;
    prompter().ask(message, QString(), Prompter::Error, Prompter::Ok);
    return false;
}

bool TLayoutDlg::CheckFit()
{
    TFitInput in;
    in.PaperWidth = m_work.PaperWidth;
    in.PaperHeight = m_work.PaperHeight;
    in.MarginLeft = m_work.MarginLeft;
    in.MarginRight = m_work.MarginRight;
    in.MarginTop = m_work.MarginTop;
    in.MarginBottom = m_work.MarginBottom;
    in.CellWidth = m_work.CellWidth;
    in.Columns = m_ui->LayoutClueColumns->currentIndex() + 1;
    in.ClueTextSize = m_ui->ClueTextFontSizeSpEd->value();
    in.ClueNumberOffset = m_ui->ClueNumberFontSizeSpEd->value();
    const QString message = CheckFitMessage(in);
    if (message.isEmpty())
        return true;
    prompter().ask(message, QString(), Prompter::Error, Prompter::Ok);
    return false;
}

bool TLayoutDlg::CheckBeforeStoring()
{
    if (!CheckTab(m_activeTab))
        return false;
    // The grid's place depends on the margins, which another tab may have changed since.
    if (m_activeTab != PuzzleTab) {
        RecheckPositions();
        if (!CheckTab(PuzzleTab)) {
            ActivateTab(PuzzleTab);
            return false;
        }
    }
    return CheckFit();
}

// ---- OK, Apply, Help --------------------------------------------------------------------------------

void TLayoutDlg::OKBtnClick()
{
    if (!CheckBeforeStoring())
        return;
    TakeCheckPoint(TCheckPointKind::Layout, QStringLiteral("manual layout & fonts change"));
    StoreToSettings();
    if (m_ui->Autolayout_OnApplyCB->isChecked()) {
        TakeCheckPoint(TCheckPointKind::Layout, QStringLiteral("adjustment by Auto-Layout expert"));
        ApplyWordBankChange();
        if (Hooks.RunAutoLayout)
            Hooks.RunAutoLayout(2);
    } else if (ApplyWordBankChange()) {
        RelayoutPage();
    }
    if (Hooks.InvalidateView)
        Hooks.InvalidateView();
    accept();
}

void TLayoutDlg::LayoutApplyBtnClick() { Apply(false); }

void TLayoutDlg::AutoLayoutNowBtnClick() { Apply(true); }

bool TLayoutDlg::Apply(bool runExpert)
{
    if (!CheckBeforeStoring())
        return false;
    TakeCheckPoint(TCheckPointKind::Layout, QStringLiteral("manual layout & fonts change"));
    StoreToSettings();
    if (Hooks.ShowViewTabIfOther)
        Hooks.ShowViewTabIfOther(ApplyViewTabCaption(m_activeTab, PuzzlePage, SeparateClues, SolutionPage));
    if (m_ui->Autolayout_OnApplyCB->isChecked() || runExpert) {
        TakeCheckPoint(TCheckPointKind::Layout, QStringLiteral("adjustment by Auto-Layout expert"));
        ApplyWordBankChange();
        if (Hooks.RunAutoLayout)
            Hooks.RunAutoLayout(2);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        LoadFromSettings();
    } else if (ApplyWordBankChange()) {
        RelayoutPage();
    }
    if (Hooks.InvalidateView)
        Hooks.InvalidateView();
    return true;
}

QString TLayoutDlg::HelpText(int tab) const
{
    switch (tab) {
    case AutoLayoutTab:
        return QStringLiteral(
            "Auto-Layout Page\n\n"
            "The Auto-Layout Expert arranges the printed page for you: it chooses the clue columns, "
            "the type sizes, the spacing, the margins and the size of the cells so that the grid and "
            "the clues fit on one page, or on two when you allow it.\n\n"
            "Untick an item to keep it as you set it. Changing an item on another page of this dialog "
            "unticks it for you. Press \"Do Auto-Layout Now\" to see the result at once.");
    case ClueColumnsTab:
        return QStringLiteral(
            "Clue Columns Page\n\n"
            "Choose how many columns the clues flow into and how far apart their lines are "
            "(leading, in percent of the type size). The headings \"Across\" and \"Down\" can have "
            "their own font and wording, and the Down clues can start a new column.");
    case ClueTextTab:
        return QStringLiteral(
            "Clue Text Page\n\n"
            "The font, size and colour of the clues and of their numbers. Clues of your theme words "
            "can stand out in bold, italics, red or capitals.");
    case CreditsTab:
        return QStringLiteral(
            "Credits Page\n\n"
            "The credits line is printed in small type under the grid. The worksheet line (for a "
            "name and a date) is printed at the top of the page.");
    case BorderTab:
        return QStringLiteral(
            "Margins Page\n\n"
            "Choose a border from the list, or tick Customize to make one of up to five bands. "
            "With a border, the margins follow from the space outside and inside the border. "
            "Step any entry with the arrow keys, or with + and -.");
    case PuzzleTab:
        return QStringLiteral(
            "Puzzle Page\n\n"
            "The size of the cells, the weight and colour of the grid lines, the cell numbers, and "
            "where the grid stands on the page (measured from the margins).");
    case SolutionTab:
        return QStringLiteral(
            "Solution Page\n\n"
            "The solution grid can take the puzzle grid's cells or have its own. Choose the letters' "
            "font and size, how theme words show, and a heading over the solution.");
    case TitleTab:
        return QStringLiteral(
            "Title Page\n\n"
            "The title and subtitle of the puzzle, their fonts, sizes and colours, and the pages they "
            "are printed on.");
    default: break;
    }
    return QStringLiteral("Not yet enabled.");
}

void TLayoutDlg::HelpBtnClick()
{
    const bool notYet = m_activeTab == GraphicsTab || m_activeTab == WordBankTab;
    const QString text = notYet ? QStringLiteral("Not yet enabled.") : HelpText(m_activeTab);
    const QRect frame = frameGeometry();
    const int x = frame.right() - Hooks.BalloonWidth - 8;
    const int y = frame.bottom() - (notYet ? 200 : 300);
    if (Hooks.ShowBalloon)
        Hooks.ShowBalloon(text, x, 50, y);
    else
        showInformation(text);
}

void TLayoutDlg::WordBankMemorizeBtnClick()
{
    TRegistryKey key;
    if (!key.Readable())
        return;
    key.WriteString(QStringLiteral("WordBankMode"),
                    WordListPlaceNames.value(WordBankModeIndex(m_ui->WordBankModeCmBx->currentIndex())));
    key.WriteString(QStringLiteral("WordBankHeader"), m_ui->WordBankHeaderCmBx->currentText());
    key.WriteString(QStringLiteral("WordBankSort"),
                    WordListOrderNames.value(WordBankSortIndex(m_ui->WordBankSortCmBx->currentIndex())));
    key.WriteBool(QStringLiteral("WordBankCB"), m_ui->WordBankCB->isChecked());
    key.Flush();
}

// ---- Defaults ---------------------------------------------------------------------------------------
// Each button shows the factory values of its tab's settings; nothing is stored until OK or Apply.

void TLayoutDlg::LayoutClueColumnsDefaultsBtnClick() { ShowClueColumns(TLayoutSettings{}); }

void TLayoutDlg::LayoutClueTextDefaultsBtnClick() { ShowClueText(TLayoutSettings{}); }

void TLayoutDlg::LayoutCreditsDefaultsBtnClick()
{
    TLayoutSettings factory;
    factory.CreditsLine = TMainFm::DefaultCreditsLine();
    ShowCredits(factory);
}

void TLayoutDlg::LayoutMarginsDefaultsBtnClick()
{
    // "No Border" first, so that the default insets do not set the margins from a border.
    FrameStyle_NoneLnkClick();
    const TLayoutSettings factory;
    m_work.MarginLeft = factory.MarginLeft;
    m_work.MarginTop = factory.MarginTop;
    m_work.MarginRight = factory.MarginRight;
    m_work.MarginBottom = factory.MarginBottom;
    ShowMargins(factory);
}

void TLayoutDlg::LayoutPuzzleDefaultsBtnClick() { ShowPuzzleGrid(TLayoutSettings{}); }

void TLayoutDlg::LayoutSolutionDefaultsBtnClick() { ShowSolutionGrid(TLayoutSettings{}); }

void TLayoutDlg::LayoutTitleDefaultsBtnClick()
{
    m_ui->PuzzleTitleEd->clear();
    m_ui->PuzzleSubtitleEd->clear();
    ShowTitleFonts(TLayoutSettings{});
}

// ---- Auto-Layout shading and enables ------------------------------------------------------------------

QColor TLayoutDlg::ShadowColor() { return QColor(160, 160, 160); }

void TLayoutDlg::AutoLayoutCBClick()
{
    UpdateAutoLayoutEnables();
    ShadeAutoLayoutControls();
}

void TLayoutDlg::UpdateAutoLayoutEnables()
{
    Ui::TLayoutDlg &ui = *m_ui;
    const bool on = ui.AutoLayoutCB->isChecked();
    for (QWidget *w : std::initializer_list<QWidget *>{
             ui.AutoLayout_1or2PagesRB, ui.AutoLayout_OnePageRB, ui.AutoLayout_TwoPagesRB, ui.AutoMarginsCB,
             ui.AutoCellSizeCB, ui.AutoCellShapeCB, ui.AutoClueSizeCB, ui.AutoClueSpacingCB,
             ui.AutoClueColumnsCB, ui.AutoNewColumnCB, ui.AutoTitleSizeCB, ui.AutoCenterCB,
             ui.Autolayout_OnApplyCB, ui.Autolayout_OnSpillCB})
        w->setEnabled(on);
    ui.AskAboutSecondPageCB->setEnabled(on && ui.AutoLayout_1or2PagesRB->isChecked());
}

void TLayoutDlg::UntickSwitch(QCheckBox *box)
{
    if (m_loading || !box->isChecked())
        return;
    box->setChecked(false); // its toggle re-shades
}

void TLayoutDlg::ShadeOne(QWidget *widget, bool shaded, bool autoLayoutOn)
{
    const bool entry = qobject_cast<QLineEdit *>(widget) || qobject_cast<QSpinBox *>(widget) ||
                       qobject_cast<QComboBox *>(widget);
    QPalette palette = widget->palette();
    if (entry) {
        QColor colour = shaded && autoLayoutOn ? ShadowColor() : QColor(Qt::white);
        // An inset entry keeps its yellow while it has the focus.
        if (widget->hasFocus() && (OutsideEdits().contains(widget) || InsideEdits().contains(widget)))
            colour = FocusYellow;
        palette.setColor(QPalette::Base, colour);
        if (qobject_cast<QComboBox *>(widget))
            palette.setColor(QPalette::Button, colour);
        widget->setPalette(palette);
        return;
    }
    // Boxes and labels take the shade, or else the dialog's own background.
    widget->setAutoFillBackground(shaded && autoLayoutOn);
    palette.setColor(QPalette::Window, ShadowColor());
    widget->setPalette(palette);
}

void TLayoutDlg::ShadeAutoLayoutControls()
{
    Ui::TLayoutDlg &ui = *m_ui;
    const bool on = ui.AutoLayoutCB->isChecked();
    const QList<QPair<QCheckBox *, QList<QWidget *>>> table = {
        {ui.AutoMarginsCB,
         {ui.MarginTopEdit, ui.MarginLeftEdit, ui.MarginRightEdit, ui.MarginBottomEdit, ui.MarginAllEdit,
          ui.FrameSpacingOutsideEd, ui.FrameSpacingInsideEd, ui.FrameSpacingOutsideTopEd,
          ui.FrameSpacingOutsideLeftEd, ui.FrameSpacingOutsideRightEd, ui.FrameSpacingOutsideBottomEd,
          ui.FrameSpacingInsideTopEd, ui.FrameSpacingInsideLeftEd, ui.FrameSpacingInsideRightEd,
          ui.FrameSpacingInsideBottomEd}},
        {ui.AutoCellSizeCB,
         {ui.PuzzleCellWidthEdit, ui.PuzzleCellHeightEdit, ui.SolutionCellWidthEdit,
          ui.SolutionCellHeightEdit}},
        {ui.AutoCellShapeCB, {ui.PuzzleSquareCB, ui.PuzzleSquareLbl, ui.SolutionSquareCB}},
        {ui.AutoCenterCB, {ui.LayoutPuzzleLeftEdit}},
        {ui.AutoClueColumnsCB, {ui.LayoutClueColumns}},
        {ui.AutoClueSizeCB, {ui.ClueTextFontSizeSpEd, ui.ClueNumberFontSizeSpEd, ui.AcrDwnFontSizeSpEd}},
        {ui.AutoClueSpacingCB, {ui.LeadingPercentageEB}},
        {ui.AutoNewColumnCB, {ui.NewColumnCB}},
        {ui.AutoTitleSizeCB, {ui.TitleFontSizeSpEd, ui.SubTitleFontSizeSpEd}}};
    for (const auto &[box, controls] : table)
        for (QWidget *control : controls)
            ShadeOne(control, box->isChecked(), on);
    ShowShadingKey();
}

void TLayoutDlg::UpdateSquareEnables()
{
    Ui::TLayoutDlg &ui = *m_ui;
    const bool puzzleSquare = ui.PuzzleSquareCB->isChecked();
    ui.PuzzleCellHeightEdit->setEnabled(!puzzleSquare);
    ui.PuzzleCellHeightLbl->setEnabled(!puzzleSquare);
    const bool align = ui.AlignSolutionCB_AlwaysEnabled->isChecked();
    for (QWidget *w : ui.SolutionCellsGB->findChildren<QWidget *>())
        if (!w->objectName().contains(QLatin1String("AlwaysEnabled")))
            w->setEnabled(!align);
    const bool height = !align && !ui.SolutionSquareCB->isChecked();
    ui.SolutionCellHeightEdit->setEnabled(height);
    ui.SolutionCellHeightLbl->setEnabled(height);
}

void TLayoutDlg::UpdatePointSizeLabels()
{
    const bool puzzleSquare = m_ui->PuzzleSquareCB->isChecked();
    const double puzzleCell = puzzleSquare ? m_work.CellWidth : std::min(m_work.CellWidth, m_work.CellHeight);
    m_ui->PuzzleFontSizeLbl->setText(PointSizeLabelText(m_work.CellNumberPercent, puzzleCell));
    double solutionCell = m_work.CellWidthSol;
    if (m_ui->AlignSolutionCB_AlwaysEnabled->isChecked())
        solutionCell = puzzleCell;
    else if (!m_ui->SolutionSquareCB->isChecked())
        solutionCell = std::min(m_work.CellWidthSol, m_work.CellHeightSol);
    m_ui->SolutionFontSizeLbl->setText(PointSizeLabelText(m_work.CellLetterPercent, solutionCell));
}

// ---- Colours ----------------------------------------------------------------------------------------

void TLayoutDlg::ChangeSampleColor(QLabel *sample)
{
    TColor colour = sampleColor(sample);
    if (uiDialogs().ChooseColor(this, &colour))
        setSampleColor(sample, colour);
}

void TLayoutDlg::ChooseSolutionHeaderFont()
{
    QFont font(m_work.SolutionHeaderFont,
               m_work.SolutionHeaderFontSize > 0 ? m_work.SolutionHeaderFontSize : 12);
    font.setBold(m_work.SolutionHeaderStyle & fsBold);
    font.setItalic(m_work.SolutionHeaderStyle & fsItalic);
    font.setUnderline(m_work.SolutionHeaderStyle & fsUnderline);
    font.setStrikeOut(m_work.SolutionHeaderStyle & fsStrikeOut);
    bool chosen = false;
    if (Hooks.ChooseFont) {
        chosen = Hooks.ChooseFont(this, &font);
    } else {
        font = QFontDialog::getFont(&chosen, font, this);
    }
    if (!chosen)
        return;
    m_work.SolutionHeaderFont = font.family();
    m_work.SolutionHeaderFontSize = font.pointSize();
    m_work.SolutionHeaderStyle =
        PackFontStyle(font.bold(), font.italic(), font.underline(), font.strikeOut());
}

void TLayoutDlg::ApplyDialogColor()
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ColorFromWin(ColorScheme));
    setPalette(palette);
}

void TLayoutDlg::showEvent(QShowEvent *event)
{
    ApplyDialogColor();
    ShowShadingKey();
    QDialog::showEvent(event);
}

// ---- Margin && Border ---------------------------------------------------------------------------------

void TLayoutDlg::FrameStyleCmBxChange(int index)
{
    Ui::TLayoutDlg &ui = *m_ui;
    const QString style = ui.FrameStyleCmBx->itemText(index);
    const bool none = index == NoBorderItem;
    ui.BorderSpacingGB->setVisible(!none);
    ui.MarginSpacingGB->setVisible(true);
    ui.PutFrameOnCmBx->setEnabled(!none);
    ui.PutBorderOnLbl->setEnabled(!none);
    const bool custom =
        index == CustomBorderItem && FindBorderStyleItem(BorderStyleItems(), style) == CustomBorderItem;
    ui.CustomizeBorderStyleCB->setChecked(custom);
    ui.FrameCustomPnl->setVisible(custom);
    if (custom && !m_fillingPanel)
        ShowBorderStyle(style);
    if (!m_loading)
        MarginsFromBorder();
    UpdateMarginAverages();
}

void TLayoutDlg::FrameStyle_NoneLnkClick() { m_ui->FrameStyleCmBx->setCurrentIndex(NoBorderItem); }

void TLayoutDlg::CustomizeBorderStyleCBClick()
{
    if (!m_ui->CustomizeBorderStyleCB->isChecked()) {
        m_ui->FrameCustomPnl->hide();
        return;
    }
    // The panel starts from the chosen style.
    m_ui->FrameCustomPnl->show();
    ShowBorderStyle(m_ui->FrameStyleCmBx->currentText());
    BuildCustomBorderStyle();
}

void TLayoutDlg::FrameBandAnyCmBxChange()
{
    if (!m_fillingPanel)
        BuildCustomBorderStyle();
}

void TLayoutDlg::FrameUseGapsCBClick() { BuildCustomBorderStyle(); }

void TLayoutDlg::FrameColorMouseDown(int band)
{
    QLabel *shapes[BorderBandCount] = {m_ui->FrameColor1, m_ui->FrameColor2, m_ui->FrameColor3,
                                       m_ui->FrameColor4, m_ui->FrameColor5};
    if (band < 1 || band > BorderBandCount)
        return;
    TColor colour = shapeColor(shapes[band - 1]);
    if (!uiDialogs().ChooseColor(this, &colour))
        return;
    setShapeColor(shapes[band - 1], colour);
    BuildCustomBorderStyle();
}

void TLayoutDlg::FrameAdjustIndividuallyCBClick()
{
    m_ui->FramePlacementDetailPnl->setVisible(m_ui->FrameAdjustIndividuallyCB->isChecked());
}

TCustomBorder TLayoutDlg::PanelBorder() const
{
    const QComboBox *widths[BorderBandCount] = {m_ui->FrameBand1CmBx, m_ui->FrameBand2CmBx,
                                                m_ui->FrameBand3CmBx, m_ui->FrameBand4CmBx,
                                                m_ui->FrameBand5CmBx};
    const QLabel *shapes[BorderBandCount] = {m_ui->FrameColor1, m_ui->FrameColor2, m_ui->FrameColor3,
                                             m_ui->FrameColor4, m_ui->FrameColor5};
    TCustomBorder border;
    for (int i = 0; i < BorderBandCount; ++i) {
        border.Bands[i].Width = widths[i]->currentText();
        border.Bands[i].Color = shapeColor(shapes[i]);
    }
    border.Gaps = m_ui->FrameUseGapsCB->isChecked();
    return border;
}

void TLayoutDlg::ShowBorderStyle(const QString &style)
{
    QComboBox *widths[BorderBandCount] = {m_ui->FrameBand1CmBx, m_ui->FrameBand2CmBx, m_ui->FrameBand3CmBx,
                                          m_ui->FrameBand4CmBx, m_ui->FrameBand5CmBx};
    QLabel *shapes[BorderBandCount] = {m_ui->FrameColor1, m_ui->FrameColor2, m_ui->FrameColor3,
                                       m_ui->FrameColor4, m_ui->FrameColor5};
    const TCustomBorder border = ::ShowBorderStyle(style);
    m_fillingPanel = true;
    m_ui->FrameUseGapsCB->setChecked(border.Gaps);
    for (int i = 0; i < BorderBandCount; ++i) {
        const int item = widths[i]->findText(border.Bands[i].Width, Qt::MatchExactly);
        if (item >= 0)
            widths[i]->setCurrentIndex(item);
        widths[i]->setCurrentText(border.Bands[i].Width);
        setShapeColor(shapes[i], border.Bands[i].Color);
    }
    m_fillingPanel = false;
}

void TLayoutDlg::BuildCustomBorderStyle()
{
    const QString text = ::BuildCustomBorderStyle(PanelBorder());
    m_fillingPanel = true; // the panel made the text: it is not filled from it again
    m_ui->FrameStyleCmBx->setItemText(CustomBorderItem, text);
    m_ui->FrameStyleCmBx->setCurrentIndex(CustomBorderItem);
    m_fillingPanel = false;
    MarginsFromBorder();
    m_ui->FrameStyleCmBx->update();
}

void TLayoutDlg::MarginsFromBorder()
{
    TPageRect margins;
    if (!::MarginsFromBorder(m_ui->FrameStyleCmBx->currentText(), m_work.FrameOutside, m_work.FrameInside,
                             &margins))
        return;
    m_work.MarginLeft = margins.Left;
    m_work.MarginTop = margins.Top;
    m_work.MarginRight = margins.Right;
    m_work.MarginBottom = margins.Bottom;
    // Shown rounded; the working values keep the exact sums.
    SetEntryText(m_ui->MarginTopEdit, FormatMarginText(margins.Top));
    SetEntryText(m_ui->MarginLeftEdit, FormatMarginText(margins.Left));
    SetEntryText(m_ui->MarginRightEdit, FormatMarginText(margins.Right));
    SetEntryText(m_ui->MarginBottomEdit, FormatMarginText(margins.Bottom));
}

void TLayoutDlg::MarginChanged()
{
    UpdateMarginAverages();
    RecheckPositions();
}

void TLayoutDlg::InsetChanged()
{
    if (!m_loading)
        MarginsFromBorder();
    UpdateMarginAverages();
}

void TLayoutDlg::UpdateMarginAverages()
{
    if (m_averageFocus)
        return;
    Ui::TLayoutDlg &ui = *m_ui;
    const TLayoutSettings &w = m_work;
    const TAverage outside =
        AverageOf(w.FrameOutside.Top, w.FrameOutside.Left, w.FrameOutside.Right, w.FrameOutside.Bottom);
    const TAverage inside =
        AverageOf(w.FrameInside.Top, w.FrameInside.Left, w.FrameInside.Right, w.FrameInside.Bottom);
    const TAverage margins = AverageOf(w.MarginTop, w.MarginLeft, w.MarginRight, w.MarginBottom);
    ui.FrameSpacingOutsideEd->setText(FormatSpacingText(outside.Value));
    ui.FrameSpacingInsideEd->setText(FormatSpacingText(inside.Value));
    ui.MarginAllEdit->setText(FormatMarginAverageText(margins.Value));
    ui.FrameSpacingOutsideLbl->setText(ui.FrameStyleCmBx->currentIndex() == NoBorderItem
                                           ? QStringLiteral("Margin (all edges)")
                                           : AverageLabelText(QStringLiteral("Outside"), outside.AllEqual));
    ui.FrameSpacingInsideLbl->setText(AverageLabelText(QStringLiteral("Inside"), inside.AllEqual));
    ui.MarginAllLbl->setText(AverageLabelText(QStringLiteral("Margin Width"), margins.AllEqual));
}

void TLayoutDlg::CopyAverageToEdges(QLineEdit *average, const QList<QLineEdit *> &edges)
{
    const bool wasFocus = m_averageFocus;
    m_averageFocus = true; // the average being typed is not rewritten meanwhile
    for (QLineEdit *edge : edges)
        SetEntryText(edge, average->text());
    m_averageFocus = wasFocus;
}

void TLayoutDlg::StepEntry(QLineEdit *edit, int direction)
{
    TEntry *entry = EntryOf(edit);
    if (!entry || direction == 0)
        return;
    const double value = StepInches(entry->Get(m_work), direction);
    const bool margin = MarginEdits().contains(edit);
    SetEntryText(edit, margin ? FormatMarginText(value) : FormatInsetText(value));
    UntickSwitch(m_ui->AutoMarginsCB);
}

void TLayoutDlg::StepGroup(const QList<QLineEdit *> &group, int direction)
{
    for (QLineEdit *edit : group)
        StepEntry(edit, direction);
}

void TLayoutDlg::StepSubtitleSpacing(int direction)
{
    const double value = std::clamp(std::round((m_work.SubtitleExtraSpacing + 0.01 * direction) * 100) / 100,
                                    SubtitleSpacingRange.Min, SubtitleSpacingRange.Max);
    SetEntryText(m_ui->SubtitleExtraSpacingEd, FormatSpacingText(value));
}

void TLayoutDlg::BlinkSpacingHints(int count, int onMs, int offMs)
{
    m_blinkTimer.stop();
    m_blinkTimes = BlinkSchedule(count, onMs, offMs);
    m_blinkIndex = 0;
    m_blinkRed = false;
    BlinkStep();
}

void TLayoutDlg::BlinkStep()
{
    QLabel *hints[2] = {m_ui->MarginAdjustLbl, m_ui->FrameSpacingLbl};
    if (!m_blinkRed && m_blinkIndex >= m_blinkTimes.size()) {
        for (QLabel *hint : hints)
            setLabelTextColor(hint, Qt::black);
        return;
    }
    m_blinkRed = !m_blinkRed;
    for (QLabel *hint : hints)
        setLabelTextColor(hint, m_blinkRed ? RedText : QColor(Qt::black));
    const QPair<int, int> times = m_blinkTimes[m_blinkIndex];
    if (m_blinkRed) {
        m_blinkTimer.start(times.first);
    } else {
        ++m_blinkIndex;
        m_blinkTimer.start(times.second);
    }
}

bool TLayoutDlg::eventFilter(QObject *watched, QEvent *event)
{
    Ui::TLayoutDlg &ui = *m_ui;
    QLabel *shapes[BorderBandCount] = {ui.FrameColor1, ui.FrameColor2, ui.FrameColor3, ui.FrameColor4,
                                       ui.FrameColor5};
    if (event->type() == QEvent::MouseButtonPress) {
        for (int i = 0; i < BorderBandCount; ++i)
            if (watched == shapes[i]) {
                FrameColorMouseDown(i + 1);
                return true;
            }
    }
    QLineEdit *edit = qobject_cast<QLineEdit *>(watched);
    if (!edit)
        return QDialog::eventFilter(watched, event);
    const bool edge = OutsideEdits().contains(edit) || InsideEdits().contains(edit);
    const bool average =
        edit == ui.FrameSpacingOutsideEd || edit == ui.FrameSpacingInsideEd || edit == ui.MarginAllEdit;
    switch (event->type()) {
    case QEvent::KeyPress: {
        if (average)
            break;
        const auto *key = static_cast<QKeyEvent *>(event);
        const int direction = StepDirectionOf(key->key(), key->text());
        if (direction != 0) {
            StepEntry(edit, direction);
            return true;
        }
        if (edge && !key->text().isEmpty() && key->text()[0].isPrint()) {
            // Typed all the same, but the hints show the easier way.
            BlinkSpacingHints(m_hintBlinks, 50, 25);
            m_hintBlinks = 2;
        }
        break;
    }
    case QEvent::FocusIn:
        if (average) {
            m_averageFocus = true;
        } else if (edge) {
            QPalette palette = edit->palette();
            palette.setColor(QPalette::Base, FocusYellow);
            edit->setPalette(palette);
        }
        break;
    case QEvent::FocusOut:
        if (average) {
            m_averageFocus = false;
            UpdateMarginAverages();
        } else if (edge) {
            ShadeAutoLayoutControls();
        }
        break;
    default: break;
    }
    return QDialog::eventFilter(watched, event);
}
