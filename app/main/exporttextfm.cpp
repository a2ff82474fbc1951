// The Export As Text dialog.
#include "exporttextfm.h"
#include "ui_exporttextfm.h"

#include "cp1252.h"
#include "filefolders.h"
#include "globals.h"
#include "myoverrides.h"
#include "prompter.h"
#include "textexport.h"
#include "uidialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

TExportTextFm *ExportTextFm = nullptr;

TExportTextFm::TExportTextFm(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::TExportTextFm>())
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("ExportTextFm"));
    setModal(false);
    ExportCluesRB = m_ui->ExportCluesRB;
    ExportCluesGB = m_ui->ExportCluesGB;
    ClueSpacing1RB = m_ui->ClueSpacing1RB;
    ClueSpacing2RB = m_ui->ClueSpacing2RB;
    ClueSpacingTabRB = m_ui->ClueSpacingTabRB;
    AlignNumbersCB = m_ui->AlignNumbersCB;
    ExportSolutionRB = m_ui->ExportSolutionRB;
    ExportSolutionGB = m_ui->ExportSolutionGB;
    SolutionByDirectionRB = m_ui->SolutionByDirectionRB;
    SolutionByNumberRB = m_ui->SolutionByNumberRB;
    HyphenateCB = m_ui->HyphenateCB;
    UppercaseCB = m_ui->UppercaseCB;
    TextPreviewMemo = m_ui->TextPreviewMemo;
    ExportSaveBtn = m_ui->ExportSaveBtn;
    CopyToClipboardBtn = m_ui->CopyToClipboardBtn;

    // Each set of radios is a group of its own: left to auto-exclusivity, choosing the kind of
    // text could release the chosen spacing or sequence inside the group boxes.
    for (const auto &radios : {std::initializer_list<QRadioButton *>{ExportCluesRB, ExportSolutionRB},
                               {ClueSpacing1RB, ClueSpacing2RB, ClueSpacingTabRB},
                               {SolutionByDirectionRB, SolutionByNumberRB}}) {
        auto *group = new QButtonGroup(this);
        for (QRadioButton *radio : radios)
            group->addButton(radio);
    }

    // toggled rather than clicked, so that choices made in code refresh the preview too; a radio
    // reports only being chosen (its partner's release would refresh a second time).
    auto onChosen = [this](QRadioButton *radio, void (TExportTextFm::*handler)()) {
        connect(radio, &QRadioButton::toggled, this, [this, handler](bool checked) {
            if (checked)
                (this->*handler)();
        });
    };
    onChosen(ExportCluesRB, &TExportTextFm::ExportCluesRBClick);
    onChosen(ExportSolutionRB, &TExportTextFm::ExportSolutionRBClick);
    for (QRadioButton *radio : {ClueSpacing1RB, ClueSpacing2RB, ClueSpacingTabRB})
        onChosen(radio, &TExportTextFm::ClueAnyClick);
    for (QRadioButton *radio : {SolutionByDirectionRB, SolutionByNumberRB})
        onChosen(radio, &TExportTextFm::SolutionAnyClick);
    connect(AlignNumbersCB, &QCheckBox::toggled, this, &TExportTextFm::ClueAnyClick);
    connect(UppercaseCB, &QCheckBox::toggled, this, &TExportTextFm::SolutionAnyClick);
    connect(HyphenateCB, &QCheckBox::toggled, this, &TExportTextFm::HyphenateCBClick);
    connect(HyphenateCB, &QCheckBox::toggled, this, &TExportTextFm::SolutionAnyClick);
    connect(CopyToClipboardBtn, &QPushButton::clicked, this, &TExportTextFm::CopyToClipboardBtnClick);
    connect(ExportSaveBtn, &QPushButton::clicked, this, &TExportTextFm::ExportSaveBtnClick);

    updateEnables();
    ExportTextFm = this;
}

TExportTextFm::~TExportTextFm()
{
    if (ExportTextFm == this)
        ExportTextFm = nullptr;
}

void TExportTextFm::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TExportTextFm::FormShow()
{
    RefreshPreview();
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ColorFromWin(ColorScheme));
    setPalette(palette);
}

void TExportTextFm::updateEnables()
{
    const bool clues = ExportCluesRB->isChecked();
    for (QWidget *control : std::initializer_list<QWidget *>{ExportCluesGB, ClueSpacing1RB, ClueSpacing2RB,
                                                             ClueSpacingTabRB, AlignNumbersCB})
        control->setEnabled(clues);
    for (QWidget *control : std::initializer_list<QWidget *>{UppercaseCB, ExportSolutionGB,
                                                             SolutionByDirectionRB, SolutionByNumberRB})
        control->setEnabled(!clues);
    HyphenateCB->setEnabled(!clues && SolutionByNumberRB->isChecked());
}

void TExportTextFm::showLines(const QStringList &lines)
{
    m_lines = lines;
    TextPreviewMemo->setPlainText(lines.join(QLatin1Char('\n')));
}

void TExportTextFm::RefreshPreview()
{
    if (ExportCluesRB->isChecked())
        ClueAnyClick();
    else
        SolutionAnyClick();
}

void TExportTextFm::ExportCluesRBClick()
{
    updateEnables();
    ClueAnyClick();
}

void TExportTextFm::ExportSolutionRBClick()
{
    updateEnables();
    SolutionAnyClick();
}

void TExportTextFm::ClueAnyClick()
{
    if (!ExportCluesRB->isChecked())
        return;
    QString separator = QStringLiteral(" ");
    if (ClueSpacing2RB->isChecked())
        separator = QStringLiteral("  ");
    else if (ClueSpacingTabRB->isChecked())
        separator = QStringLiteral("\t");
    QStringList lines;
    BuildCluesText(AlignNumbersCB->isChecked(), separator, lines);
    showLines(lines);
}

void TExportTextFm::SolutionAnyClick()
{
    if (!ExportSolutionRB->isChecked())
        return;
    updateEnables();
    const bool upper = UppercaseCB->isChecked();
    showLines({SolutionByDirectionRB->isChecked()
                   ? BuildSolutionTextByDirection(upper)
                   : BuildSolutionTextByNumber(upper, HyphenateCB->isChecked())});
}

void TExportTextFm::HyphenateCBClick()
{
    // The preview follows through SolutionAnyClick; the box needs nothing of its own.
}

QString TExportTextFm::PreviewText() const
{
    QString text;
    for (const QString &line : m_lines)
        text += line + QStringLiteral("\r\n");
    return text;
}

void TExportTextFm::CopyToClipboardBtnClick() { QGuiApplication::clipboard()->setText(PreviewText()); }

void TExportTextFm::ExportSaveBtnClick()
{
    // The puzzle's name; the file last written again while it lies where the dialog starts.
    QString proposed = ProposedDocumentFileName(TFileKind::Text, QStringLiteral(".txt"));
    if (!m_lastFile.isEmpty() && QFileInfo(m_lastFile).absolutePath() == QFileInfo(proposed).absolutePath())
        proposed = m_lastFile;
    QString name = uiDialogs().SaveFileName(this, QStringLiteral("Export As Text"), proposed,
                                            QStringLiteral("Text Files (*.txt);;All files (*)"));
    if (name.isEmpty())
        return;
    if (QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".txt");
    const QString shown = QDir::toNativeSeparators(name);
    if (!mayReplaceFile(name))
        return;
    QString error;
    if (!Cp1252::writeTextLines(name, m_lines, &error)) {
        showError(QStringLiteral("The file ") + shown + QStringLiteral(" could not be written.") +
                  (error.isEmpty() ? QString() : QStringLiteral("\n") + error));
        return;
    }
    m_lastFile = name;
    RememberFolder(TFileKind::Text, name);
}
