// The posting window of One-Click Publish.
#include "postingpuzzlefm.h"
#include "ui_postingpuzzlefm.h"

#include "globals.h"
#include "hostingstate.h"
#include "hourglass.h"
#include "httpclient.h"
#include "linklabel.h"
#include "prompter.h"
#include "registry.h"
#include "uidialogs.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

const QString TPostingPuzzleFm::AutoCloseKey = QStringLiteral("PostingPuzzleAutoCloseAndShow");
const QString TPostingPuzzleFm::SendUncheckedQuestion =
    QStringLiteral("Tarvel could not check whether a puzzle with this title is already published. If it is, "
                   "sending replaces it. Do you want to send the puzzle anyway?");

namespace {

/** Opens a server-supplied address, only when it is an http(s) address. */
bool openWebAddress(const QString &url)
{
    return HostingProtocol::IsWebAddress(url) && shell().Open(QUrl(url));
}

} // namespace

TPostingPuzzleFm::TPostingPuzzleFm(const HostingProtocol &protocol, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TPostingPuzzleFm>()), m_protocol(protocol)
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("PostingPuzzleFm"));
    Memo = m_ui->Memo;
    LaunchBitBtn = m_ui->LaunchBitBtn;
    AutoCloseAndShowCB = m_ui->AutoCloseAndShowCB;
    SubscribeLnk = m_ui->SubscribeLnk;
    CloseBtn = m_ui->CloseBtn;

    connect(LaunchBitBtn, &QPushButton::clicked, this, &TPostingPuzzleFm::LaunchBitBtnClick);
    connect(CloseBtn, &QPushButton::clicked, this, &TPostingPuzzleFm::CloseBtnClick);
    MakeLinkLabel(SubscribeLnk);
    SubscribeLnk->installEventFilter(this);
    LaunchBitBtn->setAutoDefault(false);
    CloseBtn->setAutoDefault(false);

    const TRegistryKey key;
    m_autoCloseRead = key.ReadBool(AutoCloseKey, false);
    AutoCloseAndShowCB->setChecked(m_autoCloseRead);
    LaunchBitBtn->setEnabled(false);
}

TPostingPuzzleFm::~TPostingPuzzleFm() { saveAutoClose(); }

void TPostingPuzzleFm::saveAutoClose()
{
    const bool checked = AutoCloseAndShowCB->isChecked();
    if (checked == m_autoCloseRead)
        return;
    TRegistryKey key;
    key.WriteBool(AutoCloseKey, checked);
    key.Flush();
    m_autoCloseRead = checked;
}

bool TPostingPuzzleFm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == SubscribeLnk && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        SubscribeLnkClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TPostingPuzzleFm::clearMemo()
{
    m_lines.clear();
    Memo->clear();
}

void TPostingPuzzleFm::addLine(const QString &line)
{
    // A text with line breaks (ParagraphBreak) takes one memo line per line. Server text is
    // shortened, and each line is added at the end without laying out the memo again.
    static const QRegularExpression breaks(QStringLiteral("\r\n|\n|\r"));
    for (const QString &part : line.split(breaks)) {
        const QString shown = ShortenServerText(part);
        QTextCursor cursor(Memo->document());
        cursor.movePosition(QTextCursor::End);
        if (!m_lines.isEmpty())
            cursor.insertBlock();
        cursor.insertText(shown);
        m_lines << shown;
    }
    Memo->moveCursor(QTextCursor::End);
}

void TPostingPuzzleFm::LaunchBitBtnClick()
{
    if (openWebAddress(LastPuzzleLink))
        BrowserLaunched = true;
    else
        showInformation(QStringLiteral("Something is preventing Tarvel from opening up a web "
                                       "browser. You can open one up manually and point it to \n\n") +
                        LastPuzzleLink);
    accept();
}

void TPostingPuzzleFm::CloseBtnClick()
{
    if (MainHttpClient().busy()) {
        MainHttpClient().abort();
        return;
    }
    QDialog::reject();
}

void TPostingPuzzleFm::reject()
{
    if (MainHttpClient().busy()) {
        MainHttpClient().abort();
        return;
    }
    QDialog::reject();
}

void TPostingPuzzleFm::done(int result)
{
    saveAutoClose();
    QDialog::done(result);
}

void TPostingPuzzleFm::SubscribeLnkClick()
{
    const QString url = m_protocol.SubscribeUrl();
    if (!openWebAddress(url))
        showInformation(QStringLiteral("Something is preventing Tarvel from opening up a web "
                                       "browser. You can open one up manually and point it to \n\n") +
                        url);
}

int TPostingPuzzleFm::checkPresence(const QString &puzzleName, TAccountStatus &status, bool *failed)
{
    status = TAccountStatus();
    *failed = false;
    QByteArray body;
    HttpClient &client = MainHttpClient();
    bool fetched;
    {
        THourglass wait;
        const QString caption = windowTitle();
        fetched =
            client.get(m_protocol.PresenceUrl(puzzleName), &body, this, HttpClient::ScriptLimit, progress());
        setWindowTitle(caption);
    }
    // A script that answers "Error=" has not checked anything either.
    const QString scriptError = fetched ? ReplyErrorText(body) : QString();
    if (!fetched || !scriptError.isEmpty()) {
        *failed = true;
        ServerTime = 0;
        if (client.canceled())
            return 0;
        addLine(QString());
        addLine(QStringLiteral("The following error occurred while trying to check for your "
                               "puzzle on the Web:"));
        addLine(QString());
        addLine('"' + (fetched ? scriptError : client.failureText()) + '"');
        addLine(QString());
        addLine(ConnectionHelpText);
        return 0;
    }
    status = HostingProtocol::ParsePresence(body, Today);
    ServerTime = status.Time;
    return status.Presence;
}

HttpClient::Progress TPostingPuzzleFm::progress()
{
    const QString caption = windowTitle();
    return [this, caption](qint64 sent, qint64 received) {
        setWindowTitle(QStringLiteral("%1 - %2 KB sent, %3 KB received")
                           .arg(caption)
                           .arg((sent + 1023) / 1024)
                           .arg((received + 1023) / 1024));
    };
}

bool TPostingPuzzleFm::showError(const QString &text, bool heading)
{
    EmailPublishing = false;
    LaunchBitBtn->setEnabled(false);
    if (heading)
        addLine(QStringLiteral("The following error occurred while trying to publish your puzzle "
                               "to the Web:"));
    addLine(text.isEmpty() ? HttpClient::unknownErrorText() : text);
    if (heading) {
        addLine(QString());
        addLine(ConnectionHelpText);
    }
    return false;
}

bool TPostingPuzzleFm::Post(const QString &publishUrl, const QStringList &form, const QString &puzzleName,
                            bool playMode)
{
    m_refused = false;
    BrowserLaunched = false;
    LaunchBitBtn->setEnabled(false);
    clearMemo();
    addLine(QStringLiteral("Contacting host . . . "));
    addLine(QString());
    QCoreApplication::processEvents();

    // Presence. A cancel ends the whole operation; after a failed check nothing is sent
    // without the user's yes.
    TAccountStatus status;
    bool presenceFailed = false;
    const int presence = checkPresence(puzzleName, status, &presenceFailed);
    if (presenceFailed) {
        if (MainHttpClient().canceled()) {
            addLine(QStringLiteral("Canceled by User"));
            EmailPublishing = false;
            return false;
        }
        if (askConfirmation(SendUncheckedQuestion, Prompter::Yes | Prompter::No) != Prompter::Yes) {
            addLine(QString());
            return showError(QStringLiteral("Operation cancelled."), false);
        }
    }

    // Announcement.
    const QString announcement = status.Announcement.trimmed();
    if (!announcement.isEmpty()) {
        const Prompter::Button answer =
            prompter().ask(announcement, QString(), Prompter::Information,
                           status.AnnouncementYesBtn ? Prompter::Yes | Prompter::No : Prompter::Ok);
        if (answer == Prompter::Yes)
            openWebAddress(status.AnnouncementUrl.trimmed());
    }

    // Quota.
    const TQuota quota = HostingProtocol::QuotaDecision(status, presence != 2, Today);
    if (quota != TQuota::Allowed) {
        const Prompter::Buttons buttons = quota == TQuota::SubscriptionQuotaExceeded
                                              ? Prompter::Yes | Prompter::No
                                              : Prompter::Yes | Prompter::Cancel;
        const Prompter::Button answer =
            prompter().ask(HostingProtocol::QuotaMessage(quota, status.SubscriptionLimit), QString(),
                           Prompter::Information, buttons);
        if (answer == Prompter::Yes)
            openWebAddress(m_protocol.SubscribeUrl());
        setResult(QDialog::Rejected);
        m_refused = true;
        EmailPublishing = false;
        return false;
    }

    // Replacing.
    QString note;
    if (!playMode) {
        if (presence == 2) {
            const Prompter::Button answer =
                askConfirmation("A puzzle with that title already exists. Its URL is:\n\n" +
                                    status.UrlOfLatestCheck + "\n\n" + "Do you want to replace it? ",
                                Prompter::Yes | Prompter::No);
            if (answer != Prompter::Yes)
                return showError("Operation cancelled. " + ParagraphBreak +
                                     "You may wish to change the title of your puzzle and try "
                                     "again. It must be a change in the letters or numbers.",
                                 false);
        } else if (presence == 0) {
            note = QStringLiteral("Can not tell if a puzzle with that title already exists.");
        }
    }

    // Send, with the server time of this presence check.
    QStringList sentForm = form;
    for (QString &field : sentForm)
        if (field.startsWith(QLatin1String("Id1="))) {
            field = "Id1=" + FormatId1(ServerTime);
            break;
        }
    addLine(QStringLiteral("Sending puzzle . . . "));
    addLine(QString());
    QCoreApplication::processEvents();
    HttpClient &client = MainHttpClient();
    QByteArray body;
    bool sent;
    {
        THourglass wait;
        const QString caption = windowTitle();
        sent = client.post(publishUrl, sentForm, &body, this, HttpClient::ScriptLimit, progress());
        setWindowTitle(caption);
    }
    if (!sent)
        return showError(client.failureText(), true);
    const TPublishReply reply = HostingProtocol::ParsePublishReply(body);
    if (!reply.Error.isEmpty()) {
        EmailPublishing = false;
        LaunchBitBtn->setEnabled(false);
        addLine(QStringLiteral("There was a problem publishing your puzzle to the web."));
        addLine(QStringLiteral("The hosting web server said:"));
        addLine(reply.Error);
        return false;
    }
    // A link longer than any browser takes is of no use, and would go into e-mails as well.
    if (reply.PuzzleLink.size() > HostingProtocol::MaxLinkLength)
        return showError(QStringLiteral("The hosting web server gave a web address of %1 "
                                        "characters for your puzzle, too long to use.")
                             .arg(reply.PuzzleLink.size()),
                         true);
    if (!HostingProtocol::IsWebAddress(reply.PuzzleLink))
        return showError(QStringLiteral("The hosting web server did not give a web address for "
                                        "your puzzle."),
                         true);

    LastPuzzleLink = reply.PuzzleLink;
    addLine(QStringLiteral("Your interactive puzzle has been published to the Web."));
    addLine(QString());
    addLine(QStringLiteral("The web address of your puzzle is:"));
    addLine(QString());
    addLine(reply.PuzzleLink);
    addLine(QString());
    addLine(QStringLiteral("This is a chance to copy & paste this web address."));
    addLine(QStringLiteral("You can also get it from your browser's address line."));
    LaunchBitBtn->setEnabled(true);
    if (EmailPublishing) {
        BrowserLaunched = true; // the e-mail form carries on; nothing is opened
    } else if (playMode || AutoCloseAndShowCB->isChecked()) {
        if (openWebAddress(reply.PuzzleLink))
            BrowserLaunched = true;
    }
    if (!note.isEmpty()) {
        addLine(QString());
        addLine(note);
    }
    return true;
}

bool ShowPostingPuzzle(const HostingProtocol &protocol, const QString &publishUrl, const QStringList &form,
                       const QString &puzzleName, bool playMode, QWidget *parent)
{
    TPostingPuzzleFm fm(protocol, parent);
    fm.show();
    QCoreApplication::processEvents();
    const bool published = fm.Post(publishUrl, form, puzzleName, playMode);
    fm.hide();
    if (!BrowserLaunched && !fm.Refused())
        uiDialogs().RunModal(fm);
    return published;
}
