// The progress dialog of a build.
#include "constructingdlg.h"
#include "ui_constructingdlg.h"

#include "autolayout.h"
#include "globals.h"
#include "myoverrides.h"
#include "openingscreen.h"
#include "trv600.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QPainter>
#include <QPointer>

TConstructingDlg *ConstructingDlg = nullptr;

TConstructingDlg::TConstructingDlg(QWidget *mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::WindowStaysOnTopHint),
      m_ui(std::make_unique<Ui::TConstructingDlg>()), m_mainWindow(mainWindow)
{
    if (OpeningScreen)
        OpeningScreen->SetLoadProgress(39);
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("ConstructingDlg"));
    ConstructionProgressBarPB = m_ui->ConstructionProgressBarPB;
    ConstructPercentNumberLabel = m_ui->ConstructPercentNumberLabel;
    ProgressInfo2Label = m_ui->ProgressInfo2Label;
    ConstructNumberUncluedLabel = m_ui->ConstructNumberUncluedLabel;
    UncluedLabel = m_ui->UncluedLabel;
    ConstructionCanceledLabel = m_ui->ConstructionCanceledLabel;
    PuzzleSizeLbl = m_ui->PuzzleSizeLbl;
    SizeLbl = m_ui->SizeLbl;
    CancelBtn = m_ui->CancelBtn;
    setModal(false);
    ConstructionProgressBarPB->installEventFilter(this);
    connect(CancelBtn, &QPushButton::clicked, this, &TConstructingDlg::CancelBtnClick);
    FormResize();
    ConstructingDlg = this;
    if (OpeningScreen)
        OpeningScreen->SetLoadProgress(40);
}

TConstructingDlg::~TConstructingDlg()
{
    if (ConstructingDlg == this)
        ConstructingDlg = nullptr;
}

void TConstructingDlg::FormResize()
{
    if (!m_mainWindow)
        return;
    const QRect main = m_mainWindow->frameGeometry();
    move(std::max(main.left() + main.width() - width() - 10, 0),
         std::max(main.top() + main.height() - height() - 30, 0));
}

void TConstructingDlg::SetPercent(int percent)
{
    if (percent == m_percent)
        return;
    // At most a hundred changes a build: cheap enough to show each at once.
    m_percent = percent;
    ConstructPercentNumberLabel->setText(QString::number(percent));
    ConstructionProgressBarPB->update();
}

void TConstructingDlg::ShowProgress(int percent, int count)
{
    SetPercent(percent);
    if (OnProgress)
        OnProgress(percent, count);
    if (m_sincePump.isValid() && m_sincePump.elapsed() < 25 && percent < 100)
        return;
    m_sincePump.start();
    ProgressInfo2Label->setText(QString::number(count));
    if (Pump)
        Pump();
    if (!QCoreApplication::closingDown())
        QCoreApplication::processEvents();
}

bool TConstructingDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ConstructionProgressBarPB && event->type() == QEvent::Paint) {
        QPainter p(ConstructionProgressBarPB);
        const QRect r = ConstructionProgressBarPB->rect();
        const int filled = r.width() * std::clamp(m_percent, 0, 100) / 100;
        p.fillRect(QRect(r.left(), r.top(), filled, r.height()), ColorFromWin(0x800000));
        p.fillRect(QRect(r.left() + filled, r.top(), r.width() - filled, r.height()), ColorFromWin(0xC0C0C0));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TConstructingDlg::ShowForAutoLayout()
{
    setWindowTitle(QStringLiteral("AutoLayout"));
    for (QWidget *w :
         {static_cast<QWidget *>(ConstructionCanceledLabel), static_cast<QWidget *>(UncluedLabel),
          static_cast<QWidget *>(ConstructNumberUncluedLabel), static_cast<QWidget *>(PuzzleSizeLbl),
          static_cast<QWidget *>(SizeLbl)})
        w->hide();
    CancelBtn->show();
    SetPercent(0);
    FormResize();
    show();
    raise();
}

void TConstructingDlg::CancelBtnClick()
{
    TRVUserCancel();
    ConstructCanceled = true;
}

void TConstructingDlg::reject()
{
    CancelBtnClick();
    QDialog::reject();
}

void TConstructingDlg::closeEvent(QCloseEvent *event)
{
    CancelBtnClick();
    QDialog::closeEvent(event);
}

void ConnectAutoLayoutProgress(TConstructingDlg *dialog)
{
    const QPointer<TConstructingDlg> d(dialog);
    AutoLayoutHooks.ShowProgress = [d] {
        if (d)
            d->ShowForAutoLayout();
    };
    AutoLayoutHooks.HideProgress = [d] {
        if (d)
            d->hide();
    };
    AutoLayoutHooks.Progress = [d](int percent, int) {
        if (d)
            d->SetPercent(percent);
    };
    AutoLayoutHooks.CancelWindow = [d]() -> QWidget * { return d.data(); };
}
