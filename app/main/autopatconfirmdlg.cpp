// The notice before a build on a red, non-empty grid.
#include "autopatconfirmdlg.h"
#include "ui_autopatconfirmdlg.h"

#include "globals.h"
#include "uidialogs.h"

#include <QToolTip>

TAutoPatConfirmDlg::TAutoPatConfirmDlg(QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TAutoPatConfirmDlg>())
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("AutoPatConfirmDlg"));
    connect(m_ui->OKBtn, &QPushButton::clicked, this, [this] {
        m_answer = TAutoPatAnswer::Ok;
        accept();
    });
    connect(m_ui->CancelBtn, &QPushButton::clicked, this, [this] {
        m_answer = TAutoPatAnswer::Cancel;
        reject();
    });
    connect(m_ui->GetPatternBtn, &QPushButton::clicked, this, [this] {
        m_answer = TAutoPatAnswer::GetPattern;
        accept();
    });
    connect(m_ui->HelpBtn, &QPushButton::clicked, this, [this] {
        QToolTip::showText(m_ui->HelpBtn->mapToGlobal(QPoint(0, 0)),
                           QStringLiteral("A symmetrical puzzle is built on a pattern of black and white "
                                          "squares. A red light means that the words may not fit the "
                                          "pattern now in the grid."),
                           m_ui->HelpBtn);
    });
    connect(m_ui->NoAutoPatternWarningCB, &QCheckBox::clicked, this,
            &TAutoPatConfirmDlg::NoAutoPatternWarningCBClick);
}

TAutoPatConfirmDlg::~TAutoPatConfirmDlg() = default;

void TAutoPatConfirmDlg::Prepare() { m_ui->NoAutoPatternWarningCB->setChecked(!AutoPatternNotice); }

void TAutoPatConfirmDlg::NoAutoPatternWarningCBClick()
{
    AutoPatternNotice = !m_ui->NoAutoPatternWarningCB->isChecked();
}

std::function<TAutoPatAnswer(QWidget *parent)> ShowAutoPatternNotice = [](QWidget *parent) {
    TAutoPatConfirmDlg dialog(parent);
    dialog.Prepare();
    uiDialogs().RunModal(dialog);
    return dialog.Answer();
};
