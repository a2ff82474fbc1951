// The additional-clues dialog.
#include "additionalcluesdlg.h"
#include "ui_additionalcluesdlg.h"

#include "checkpts.h"
#include "globals.h"
#include "myoverrides.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

TAdditionalCluesDlg::TAdditionalCluesDlg(QLineEdit *labelEdit, QPlainTextEdit *answerList, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TAdditionalCluesDlg>()), m_labelEdit(labelEdit),
      m_answerList(answerList)
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("AdditionalCluesDlg"));
    AllAnswersRB = m_ui->AllAnswersRB;
    GenericAnswersRB = m_ui->GenericAnswersRB;
    AdditionalCluesCustomLabelEd = m_ui->AdditionalCluesCustomLabelEd;
    OkBtn = m_ui->OkBtn;
    CancelBtn = m_ui->CancelBtn;
    connect(OkBtn, &QPushButton::clicked, this, &TAdditionalCluesDlg::OkBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TAdditionalCluesDlg::~TAdditionalCluesDlg() = default;

void TAdditionalCluesDlg::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TAdditionalCluesDlg::FormShow()
{
    if (m_labelEdit)
        AdditionalCluesCustomLabelEd->setText(m_labelEdit->text());
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ColorFromWin(ColorScheme));
    setPalette(palette);
}

void TAdditionalCluesDlg::OkBtnClick()
{
    TakeCheckPoint(TCheckPointKind::Clues, QStringLiteral("setup additional clues"));
    if (m_labelEdit)
        m_labelEdit->setText(AdditionalCluesCustomLabelEd->text());
    if (m_answerList)
        m_answerList->clear();
    accept();
}
