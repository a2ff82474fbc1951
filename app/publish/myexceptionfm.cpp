// The error dialog.
#include "myexceptionfm.h"
#include "globals.h"
#include "ui_myexceptionfm.h"

#include "contactusfm.h"
#include "prompter.h"
#include "uidialogs.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

QStringList TMyExceptionFm::SuppressedMessages;

bool TMyExceptionFm::IsSuppressed(const QString &message)
{
    return SuppressedMessages.contains(message, Qt::CaseSensitive);
}

QString TMyExceptionFm::BackupName(const QString &fileName)
{
    const qsizetype slash = qMax(fileName.lastIndexOf('/'), fileName.lastIndexOf('\\'));
    return fileName.left(slash + 1) + QStringLiteral("Backup of ") + fileName.mid(slash + 1);
}

TMyExceptionFm::TMyExceptionFm(const QString &message, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TMyExceptionFm>()), m_message(message)
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("MyExceptionFm"));
    ExceptionMesgLbl = m_ui->ExceptionMesgLbl;
    DontInterruptCB = m_ui->DontInterruptCB;
    TryToSaveCB = m_ui->TryToSaveCB;
    TryErrorReportCB = m_ui->TryErrorReportCB;
    ContinueBtn = m_ui->ContinueBtn;
    ExitProgramBtn = m_ui->ExitProgramBtn;
    ExceptionMesgLbl->setText(message);
    connect(DontInterruptCB, &QCheckBox::clicked, this, &TMyExceptionFm::DontInterruptCBClick);
    connect(ContinueBtn, &QPushButton::clicked, this, &TMyExceptionFm::ContinueBtnClick);
    connect(ExitProgramBtn, &QPushButton::clicked, this, &TMyExceptionFm::ExitProgramBtnClick);
}

TMyExceptionFm::~TMyExceptionFm() = default;

void TMyExceptionFm::DontInterruptCBClick(bool checked)
{
    if (!checked)
        return;
    const QString question =
        QStringLiteral("Please note that this option does not fix the error; the error may keep "
                       "happening silently. This option is intended for use only when frequent "
                       "repeated error reports prevent you from saving your work and restarting "
                       "the program.") +
        ParagraphBreak +
        QStringLiteral("In any case, you should save your puzzle file and restart the program. "
                       "If the error happens again after you restart the program, you may want "
                       "to shut down and restart Windows. ") +
        ParagraphBreak + QStringLiteral("Do you really want to suppress further reporting of this error?");
    if (askConfirmation(question, Prompter::Yes | Prompter::No) != Prompter::Yes)
        DontInterruptCB->setChecked(false);
}

void TMyExceptionFm::runChosenActions()
{
    if (DontInterruptCB->isChecked() && !IsSuppressed(m_message))
        SuppressedMessages << m_message;
    if (TryToSaveCB->isChecked()) {
        TryToSaveCB->setChecked(false);
        if (SaveBackupAs)
            SaveBackupAs(BackupName(PuzzleFileName ? PuzzleFileName() : QString()));
    }
    if (TryErrorReportCB->isChecked()) {
        TryErrorReportCB->setChecked(false);
        const QString subject = QStringLiteral("Error Report: ") + m_message;
        if (ShowErrorReport) {
            ShowErrorReport(subject);
        } else {
            TContactUsFm report(this);
            report.SubjectEd->setText(subject);
            report.SetErrorReportMode();
            uiDialogs().RunModal(report);
        }
    }
}

void TMyExceptionFm::ContinueBtnClick()
{
    runChosenActions();
    accept();
}

void TMyExceptionFm::ExitProgramBtnClick()
{
    runChosenActions();
    if (!CloseMainWindow) {
        done(ExitResult);
        QCoreApplication::quit();
        return;
    }
    // The main window asks about unsaved changes; a cancel there keeps everything running.
    if (CloseMainWindow())
        done(ExitResult);
}
