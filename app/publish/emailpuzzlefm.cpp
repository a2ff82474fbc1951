// The e-mail-a-puzzle form.
#include "emailpuzzlefm.h"
#include "globalsui.h"
#include "ui_emailpuzzlefm.h"

#include "contactusfm.h"
#include "globals.h"
#include "httpclient.h"
#include "prompter.h"
#include "registry.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {
const QString kSenderName = QStringLiteral("EmailPuzzle_SenderName");
const QString kSenderEmail = QStringLiteral("EmailPuzzle_SenderEmail");
const QString kDestinationEmail = QStringLiteral("EmailPuzzle_DestinationEmail");
const QString kCC = QStringLiteral("EmailPuzzle_CC");
} // namespace

const QString TEmailPuzzleFm::NoPublishingTip =
    QStringLiteral("Publishing is not available here. Publish the puzzle from the Publish window, then email "
                   "its link from the list of your published puzzles.");

TEmailPuzzleFm::TEmailPuzzleFm(bool publishFirst, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TEmailPuzzleFm>()), m_publishFirst(publishFirst)
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("EmailPuzzleFm"));
    PuzzleTitleEd = m_ui->PuzzleTitleEd;
    SubjectEd = m_ui->SubjectEd;
    EmailMemo = m_ui->EmailMemo;
    SenderNameEd = m_ui->SenderNameEd;
    ReturnEmailEd = m_ui->ReturnEmailEd;
    DestinationEmailEd = m_ui->DestinationEmailEd;
    CCYourselfCB = m_ui->CCYourselfCB;
    SendingLbl = m_ui->SendingLbl;
    HeaderLbl = m_ui->HeaderLbl;
    SendEmailBtn = m_ui->SendEmailBtn;
    CancelBtn = m_ui->CancelBtn;
    SendingLbl->hide();

    const TRegistryKey key;
    SenderNameEd->setText(key.ReadString(kSenderName, GetWindowsUserName()));
    ReturnEmailEd->setText(key.ReadString(kSenderEmail, QString()));
    DestinationEmailEd->setText(key.ReadString(kDestinationEmail, QString()));
    CCYourselfCB->setChecked(key.ReadBool(kCC, false));

    // Connected after loading: the remembered values are no edit.
    const auto markEdited = [this] { m_edited = true; };
    for (QLineEdit *edit : {PuzzleTitleEd, SubjectEd, SenderNameEd, ReturnEmailEd, DestinationEmailEd})
        connect(edit, &QLineEdit::textChanged, this, markEdited);
    connect(EmailMemo, &QPlainTextEdit::textChanged, this, markEdited);
    connect(CCYourselfCB, &QCheckBox::toggled, this, markEdited);
    connect(SendEmailBtn, &QPushButton::clicked, this, &TEmailPuzzleFm::SendEmailBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TEmailPuzzleFm::reject);
}

TEmailPuzzleFm::~TEmailPuzzleFm() = default;

QString TEmailPuzzleFm::ScriptUrl()
{
    return MakerBaseUrl() + QStringLiteral("/cgi-bin/hvTrvEmailPuzzle.cgi");
}

QString TEmailPuzzleFm::LinkPlaceholder()
{
    return HostingBaseUrl() + QStringLiteral("/.ToBeDetermined..Do.Not.Edit.This.Line.");
}

QString TEmailPuzzleFm::PuzzleTitle() const { return PuzzleTitleEd->text(); }

void TEmailPuzzleFm::PrepareMessage(const QString &title)
{
    PuzzleTitleEd->setText(title);
    SubjectEd->setText(QStringLiteral("A crossword puzzle for you."));
    const QStringList lines = {QStringLiteral("Hi,"),
                               QString(),
                               QStringLiteral("Here is an interactive crossword puzzle I made."),
                               QStringLiteral("Just click on the link to call it up."),
                               QString(),
                               LinkPlaceholder(),
                               QString(),
                               SenderNameEd->text(),
                               QString()};
    EmailMemo->setPlainText(lines.join('\n'));
    m_edited = false;
}

void TEmailPuzzleFm::InsertLink()
{
    const QString link = LastPuzzleLink ? LastPuzzleLink() : QString();
    const QString placeholder = LinkPlaceholder();
    QStringList lines = MemoLines(EmailMemo->toPlainText());
    bool replaced = false;
    for (QString &line : lines)
        if (line.contains(placeholder)) {
            line = link;
            replaced = true;
            break;
        }
    if (!replaced)
        lines << link;
    EmailMemo->setPlainText(lines.join('\n'));
}

QStringList TEmailPuzzleFm::MessageFields() const
{
    QStringList form;
    form << QStringLiteral("recipient=") + DestinationEmailEd->text()
         << QStringLiteral("subject=") + SubjectEd->text()
         << QStringLiteral("Message=\n") + JoinLinesLf(MemoLines(EmailMemo->toPlainText()))
         << QStringLiteral("realname=") + SenderNameEd->text()
         << QStringLiteral("email=") + ReturnEmailEd->text();
    if (CCYourselfCB->isChecked())
        form << QStringLiteral("BccTo=") + ReturnEmailEd->text();
    form << QStringLiteral("env_report=REMOTE_ADDR");
    return form;
}

bool TEmailPuzzleFm::SendMessage()
{
    if (m_publishFirst && !PublishFirst)
        return false;
    if (!IsValidEmail(DestinationEmailEd->text())) {
        showInformation(
            QStringLiteral("The destination email address has a problem. Please fix it and try again."));
        return false;
    }
    if (!IsValidEmail(ReturnEmailEd->text()) &&
        askConfirmation(QStringLiteral("Your return email address has a problem.") + ParagraphBreak +
                            QStringLiteral("Click \"Yes\" if you want to send the email as is or "
                                           "\"No\" if you want to fix your email address first."),
                        Prompter::Yes | Prompter::No) == Prompter::No)
        return false;

    SendEmailBtn->setEnabled(false); // no second publish or post while one runs
    const auto finish = [this](bool sent) {
        SendingLbl->hide();
        SendEmailBtn->setEnabled(true);
        return sent;
    };
    if (m_publishFirst) {
        SendingLbl->setText(QStringLiteral("Publishing ..."));
        SendingLbl->show();
        if (!PublishFirst())
            return finish(false);
    }
    InsertLink();
    SendingLbl->setText(QStringLiteral("Sending Email ..."));
    SendingLbl->show();
    const bool sent = PostMessageToServer(MessageFields(), ScriptUrl(), this, SendingProgress(SendingLbl));
    if (sent)
        m_edited = false;
    return finish(sent);
}

void TEmailPuzzleFm::SendEmailBtnClick() { SendMessage(); }

bool TEmailPuzzleFm::QueryClose()
{
    return QueryCloseMessageForm(m_edited, [this] { return SendMessage(); });
}

void TEmailPuzzleFm::reject()
{
    // Cancel or Esc while the message is on its way ends the request; the form stays.
    if (MainHttpClient().busy()) {
        MainHttpClient().abort();
        return;
    }
    if (QueryClose())
        QDialog::reject();
}

void TEmailPuzzleFm::done(int result)
{
    TRegistryKey key;
    key.WriteString(kSenderName, SenderNameEd->text());
    key.WriteString(kSenderEmail, ReturnEmailEd->text());
    key.WriteString(kDestinationEmail, DestinationEmailEd->text());
    key.WriteBool(kCC, CCYourselfCB->isChecked());
    QDialog::done(result);
}

void TEmailPuzzleFm::showEvent(QShowEvent *event)
{
    updateSendButton();
    QDialog::showEvent(event);
}

void TEmailPuzzleFm::updateSendButton()
{
    const bool blocked = m_publishFirst && !PublishFirst;
    SendEmailBtn->setEnabled(!blocked);
    SendEmailBtn->setToolTip(blocked ? NoPublishingTip : QString());
}
