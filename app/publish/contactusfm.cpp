// The support form.
#include "contactusfm.h"
#include "globalsui.h"
#include "ui_contactusfm.h"

#include "checkpts.h"
#include "fileio.h"
#include "filetypes.h"
#include "globals.h"
#include "hostingprotocol.h"
#include "httpclient.h"
#include "prompter.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

QStringList MemoLines(const QString &text)
{
    if (text.isEmpty())
        return {};
    QString normal = text;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normal.replace('\r', '\n');
    QStringList lines = normal.split('\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

std::function<void(qint64, qint64)> SendingProgress(QLabel *label)
{
    const QString base = label->text();
    return [label, base](qint64 sent, qint64 received) {
        label->setText(QStringLiteral("%1 %2 KB sent, %3 KB received")
                           .arg(base)
                           .arg((sent + 1023) / 1024)
                           .arg((received + 1023) / 1024));
    };
}

const QString TContactUsFm::SendNowQuestion =
    QStringLiteral("Are you ready to send your email now (Yes/No)? Press Cancel to discard your email.");

bool QueryCloseMessageForm(bool edited, const std::function<bool()> &send)
{
    if (!edited)
        return true;
    switch (askConfirmation(TContactUsFm::SendNowQuestion, Prompter::Yes | Prompter::No | Prompter::Cancel)) {
    case Prompter::Yes:
        // A message that did not go through stays in the form for another try.
        return send && send();
    case Prompter::Cancel: return true;
    default: return false;
    }
}

TContactUsFm::TContactUsFm(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::TContactUsFm>())
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("ContactUsFm"));
    SenderNameEd = m_ui->SenderNameEd;
    ReturnEmailEd = m_ui->ReturnEmailEd;
    SubjectEd = m_ui->SubjectEd;
    EmailMemo = m_ui->EmailMemo;
    AttachePuzzleCB = m_ui->AttachePuzzleCB;
    SendingLbl = m_ui->SendingLbl;
    HeresWhyLnk = m_ui->HeresWhyLnk;
    SenderNameLbl = m_ui->SenderNameLbl;
    ReturnEmailLbl = m_ui->ReturnEmailLbl;
    SubjectLbl = m_ui->SubjectLbl;
    MessageLbl = m_ui->MessageLbl;
    SendEmailBtn = m_ui->SendEmailBtn;
    CancelBtn = m_ui->CancelBtn;
    SendingLbl->hide();

    const auto markEdited = [this] { m_edited = true; };
    for (QLineEdit *edit : {SenderNameEd, ReturnEmailEd, SubjectEd})
        connect(edit, &QLineEdit::textChanged, this, markEdited);
    connect(EmailMemo, &QPlainTextEdit::textChanged, this, markEdited);
    connect(AttachePuzzleCB, &QCheckBox::toggled, this, markEdited);
    connect(SendEmailBtn, &QPushButton::clicked, this, &TContactUsFm::SendEmailBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TContactUsFm::reject);
    connect(HeresWhyLnk, &QLabel::linkActivated, this, &TContactUsFm::HeresWhyLnkClick);
}

TContactUsFm::~TContactUsFm() = default;

QString TContactUsFm::ScriptUrl() { return MakerBaseUrl() + QStringLiteral("/cgi-bin/hvTechSupport.cgi"); }

QString TContactUsFm::BuildHistory()
{
    return BuildHistory(UndoHistoryText(), CurrentStateText(), RedoHistoryText());
}

QString TContactUsFm::BuildHistory(const QString &undo, const QString &current, const QString &redo)
{
    QString h = redo;
    if (!h.isEmpty())
        h = QStringLiteral("\r\nRecent Actions Undone (In order undone):\r\n") + h;
    if (!current.isEmpty())
        h = current + QStringLiteral("\r\n") + h;
    if (!undo.isEmpty())
        h = QStringLiteral("\r\nRecent Actions (most recent on top):\r\n") + undo + h;
    return h;
}

QStringList TContactUsFm::MessageFields() const
{
    const QString fileName = PuzzleFileName ? PuzzleFileName() : QString();
    QSize screen;
    if (const QScreen *primary = QGuiApplication::primaryScreen())
        screen = primary->size();
    QStringList form;
    form << QStringLiteral("recipient=receptionist") << QStringLiteral("subject=TRV: ") + SubjectEd->text()
         << QStringLiteral("Message= \n") + JoinLinesLf(MemoLines(EmailMemo->toPlainText()))
         << QStringLiteral("bgcolor=$ddeeff") << QStringLiteral("realname=") + SenderNameEd->text()
         << QStringLiteral("email=") + ReturnEmailEd->text() << QStringLiteral("TRV_Version=8.0")
         << QStringLiteral("Exe_TimeStamp=") + FileAgeStamp(QCoreApplication::applicationFilePath())
         << QStringLiteral("DistributedVia=") + ReadDistributedVia()
         << QStringLiteral("Operating_System=") + GetWindowsVersionName()
         << (RegistryIsWritable() ? QStringLiteral("Admin=Yes") : QStringLiteral("Admin=No"))
         << QStringLiteral("Memory_Used=%1%").arg(GetMemoryLoad())
         << QStringLiteral("Time_Since_Last_Reboot=") + FormatUptime() << QStringLiteral("Registry_Test_Str=")
         << QStringLiteral("Screen_Size=%1 x %2").arg(screen.width()).arg(screen.height())
         << QStringLiteral("Puzzle_File_Name=") + fileName << QStringLiteral("History=") + BuildHistory()
         << QStringLiteral("env_report=REMOTE_ADDR");
    if (AttachePuzzleCB->isChecked()) {
        form << QStringLiteral("PuzzleIncluded=True");
        QStringList puzzle;
        WritePuzzleToStrings(puzzle);
        HostingProtocol::AddEscapedFields(QStringLiteral("PuzzleFile"), form, puzzle);
    } else {
        form << QStringLiteral("Puzzle=Not provided. Sender unchecked checkbox.");
    }
    return form;
}

bool TContactUsFm::SendMessage()
{
    if (!IsValidEmail(ReturnEmailEd->text()) &&
        askConfirmation(QStringLiteral("Your email address does not appear to be in the correct "
                                       "form. We use your email address to send you a reply. ") +
                            ParagraphBreak +
                            QStringLiteral("Click \"Yes\" if you want to send the email as is or "
                                           "\"No\" if you want to fix your email address first."),
                        Prompter::Yes | Prompter::No) == Prompter::No)
        return false;
    const QStringList fields = MessageFields();
    SendingLbl->show();
    SendEmailBtn->setEnabled(false); // no second post while this one runs
    const QString sendingText = SendingLbl->text();
    const bool sent = PostMessageToServer(fields, ScriptUrl(), this, SendingProgress(SendingLbl));
    SendEmailBtn->setEnabled(true);
    SendingLbl->hide();
    SendingLbl->setText(sendingText);
    if (sent)
        m_edited = false;
    return sent;
}

void TContactUsFm::SendEmailBtnClick() { SendMessage(); }

bool TContactUsFm::QueryClose()
{
    return QueryCloseMessageForm(m_edited, [this] { return SendMessage(); });
}

void TContactUsFm::reject()
{
    // Cancel or Esc while the message is on its way ends the request; the form stays.
    if (MainHttpClient().busy()) {
        MainHttpClient().abort();
        return;
    }
    if (QueryClose())
        QDialog::reject();
}

void TContactUsFm::SetErrorReportMode()
{
    SenderNameLbl->setText(QStringLiteral("1. Your Name (optional)"));
    ReturnEmailLbl->setText(QStringLiteral("2. Your Email (optional)"));
    SubjectLbl->setText(QStringLiteral("3. Subject (already filled in for you)"));
    MessageLbl->setText(QStringLiteral("4. Optional comments"));
    SubjectEd->setReadOnly(true);
    QPalette palette = SubjectEd->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    SubjectEd->setPalette(palette);
}

void TContactUsFm::HeresWhyLnkClick()
{
    showInformation(QStringLiteral("Please use this email form because:") + ParagraphBreak +
                    QStringLiteral("1. It can send important information we need to answer your question, "
                                   "including a copy of the puzzle you are working on and certain technical "
                                   "details such as how much memory is available to Tarvel.") +
                    ParagraphBreak +
                    QStringLiteral("2. We closed all our publicized emails addresses because they were "
                                   "receiving too much spam.") +
                    ParagraphBreak +
                    QStringLiteral("Note: We will keep this email (including your email address) "
                                   "confidential."));
}
