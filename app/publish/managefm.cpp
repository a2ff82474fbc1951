// The management window of the published puzzles.
#include "managefm.h"
#include "globalsui.h"
#include "ui_managefm.h"

#include "cp1252.h"
#include "globals.h"
#include "hostingstate.h"
#include "hourglass.h"
#include "httpclient.h"
#include "prompter.h"
#include "uidialogs.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QUrl>
#include <algorithm>

namespace {
const QString kPleaseClick = QStringLiteral("Please click on a puzzle.");
}

TManageFm::TManageFm(const HostingProtocol &protocol, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TManageFm>()), m_protocol(protocol)
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("ManageFm"));
    ManageSG = m_ui->ManageSG;
    StatusMemo = m_ui->StatusMemo;
    SubscriptionLbl = m_ui->SubscriptionLbl;
    DeleteBtn = m_ui->DeleteBtn;
    ViewPuzzleBtn = m_ui->ViewPuzzleBtn;
    CopyLinkBtn = m_ui->CopyLinkBtn;
    EmailLinkBtn = m_ui->EmailLinkBtn;
    CloseBtn = m_ui->CloseBtn;

    ManageSG->setColumnCount(2);
    ManageSG->setHorizontalHeaderLabels(
        {QStringLiteral("Approximate Title"), QStringLiteral("Link to puzzle")});
    ManageSG->verticalHeader()->hide();
    ManageSG->horizontalHeader()->setStretchLastSection(false);
    ManageSG->setSelectionBehavior(QAbstractItemView::SelectRows);
    ManageSG->setSelectionMode(QAbstractItemView::SingleSelection);
    ManageSG->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ManageSG->viewport()->installEventFilter(this);
    StatusMemo->hide();

    connect(ManageSG->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { updateButtons(); });
    connect(DeleteBtn, &QPushButton::clicked, this, &TManageFm::DeleteBtnClick);
    connect(ViewPuzzleBtn, &QPushButton::clicked, this, &TManageFm::ViewPuzzleBtnClick);
    connect(CopyLinkBtn, &QPushButton::clicked, this, &TManageFm::CopyLinkBtnClick);
    connect(EmailLinkBtn, &QPushButton::clicked, this, &TManageFm::EmailLinkBtnClick);
    connect(CloseBtn, &QPushButton::clicked, this, &TManageFm::reject);
    for (QPushButton *button : {DeleteBtn, ViewPuzzleBtn, CopyLinkBtn, EmailLinkBtn, CloseBtn})
        button->setAutoDefault(false);
    SetHostingAdText(SubscriptionLbl);
    setColumnWidths();
    updateButtons();
}

TManageFm::~TManageFm() = default;

bool TManageFm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ManageSG->viewport() && event->type() == QEvent::Resize)
        setColumnWidths();
    return QDialog::eventFilter(watched, event);
}

void TManageFm::setColumnWidths()
{
    const int width = ManageSG->viewport()->width();
    const int first = width / 4;
    ManageSG->setColumnWidth(0, first);
    ManageSG->setColumnWidth(1, std::max(0, width - first - 1));
}

int TManageFm::SelectedRow() const
{
    const QModelIndexList rows = ManageSG->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return -1;
    const int row = rows.first().row();
    return row >= 0 && row < ManageSG->rowCount() ? row : -1;
}

QString TManageFm::SelectedTitle() const
{
    const int row = SelectedRow();
    const QTableWidgetItem *item = row < 0 ? nullptr : ManageSG->item(row, 0);
    return item ? item->text() : QString();
}

QString TManageFm::SelectedLink() const
{
    const int row = SelectedRow();
    const QTableWidgetItem *item = row < 0 ? nullptr : ManageSG->item(row, 1);
    return item ? item->text() : QString();
}

void TManageFm::updateButtons()
{
    const bool selected = SelectedRow() >= 0;
    for (QPushButton *button : {DeleteBtn, ViewPuzzleBtn, CopyLinkBtn, EmailLinkBtn})
        button->setEnabled(selected);
}

void TManageFm::memoLines(const QStringList &lines)
{
    // Server text is shortened: a very long line would take the memo minutes to lay out.
    QStringList shown;
    shown.reserve(lines.size());
    for (const QString &line : lines)
        shown << ShortenServerText(line);
    StatusMemo->setPlainText(shown.join('\n'));
}

void TManageFm::reject()
{
    if (MainHttpClient().busy()) {
        MainHttpClient().abort();
        return;
    }
    QDialog::reject();
}

bool TManageFm::RefreshPuzzleList()
{
    // 1.
    ManageSG->hide();
    StatusMemo->show();
    StatusMemo->clear();
    SubscriptionLbl->setText(QStringLiteral("Retrieving information. Please wait."));
    QCoreApplication::processEvents();
    HttpClient &client = MainHttpClient();
    QByteArray body;
    bool fetched;
    {
        THourglass wait;
        const QString waiting = SubscriptionLbl->text();
        fetched = client.get(
            m_protocol.ListUrl(), &body, this, HttpClient::ScriptLimit,
            [this, waiting](qint64, qint64 received) {
                SubscriptionLbl->setText(
                    QStringLiteral("%1 (%2 KB received)").arg(waiting).arg((received + 1023) / 1024));
            });
    }
    // A script that answers "Error=" sent no list.
    const QString scriptError = fetched ? ReplyErrorText(body) : QString();
    if (!fetched || !scriptError.isEmpty()) {
        // 4.
        memoLines({QString(),
                   QStringLiteral("The following error occurred while trying to fetch a list of "
                                  "your puzzles from the Web:"),
                   QString(), '"' + (fetched ? scriptError : client.failureText()) + '"', QString(),
                   ConnectionHelpText});
        SetHostingAdText(SubscriptionLbl);
        ManageSG->clearSelection();
        ManageSG->setRowCount(0);
        updateButtons();
        return false;
    }

    // 2.
    QStringList lines;
    SplitLines(Cp1252::toUnicode(body), &lines);
    memoLines(lines);
    const QList<TListedPuzzle> puzzles = m_protocol.ParseList(body);
    HostingProtocol::ParseListStatus(body, Today, Status);
    ManageSG->clearSelection();
    ManageSG->setRowCount(int(puzzles.size()));
    for (int row = 0; row < puzzles.size(); ++row) {
        ManageSG->setItem(row, 0, new QTableWidgetItem(puzzles[row].Title));
        ManageSG->setItem(row, 1, new QTableWidgetItem(puzzles[row].Link));
    }

    // 3.
    SetHostingAdText(SubscriptionLbl);
    CloseBtn->setFocus();
    ManageSG->clearSelection();
    ManageSG->setCurrentItem(nullptr);
    StatusMemo->hide();
    ManageSG->show();
    setColumnWidths();
    updateButtons();
    return true;
}

void TManageFm::DeleteBtnClick()
{
    const QString link = SelectedLink();
    if (link.isEmpty()) {
        showInformation(kPleaseClick);
        return;
    }
    const QString name = HostingProtocol::DeleteName(link);
    if (askConfirmation("Are you sure you want to permanently delete the puzzle " + name + " off the server?",
                        Prompter::Yes | Prompter::No) == Prompter::Yes) {
        HttpClient &client = MainHttpClient();
        QByteArray reply;
        bool deleted;
        {
            THourglass wait;
            deleted = client.get(m_protocol.DeleteUrl(name), &reply, this);
        }
        const QString scriptError = deleted ? ReplyErrorText(reply) : QString();
        if (!deleted || !scriptError.isEmpty())
            showInformation("The following error occurred while trying to delete your puzzle "
                            "from the Web:" +
                            ParagraphBreak + '"' +
                            ShortenServerText(deleted ? scriptError : client.failureText()) + '"' +
                            ParagraphBreak + ConnectionHelpText);
        // A cancel ends the command: no list is fetched after it.
        if (client.canceled())
            return;
    }
    RefreshPuzzleList();
}

void TManageFm::ViewPuzzleBtnClick()
{
    const QString link = SelectedLink();
    if (link.isEmpty()) {
        showInformation(kPleaseClick);
        return;
    }
    if (!HostingProtocol::IsWebAddress(link) || !shell().Open(QUrl(link)))
        showInformation(QStringLiteral("Something is preventing Tarvel from opening up a web "
                                       "browser. You can open one up manually and point it to \n\n") +
                        link);
}

void TManageFm::CopyLinkBtnClick()
{
    const QString link = SelectedLink();
    if (link.isEmpty()) {
        showInformation(kPleaseClick);
        return;
    }
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        clipboard->setText(link);
    showInformation(
        QStringLiteral("The clipboard now contians the link. The next step is to paste it into another "
                       "application. The key combination Ctrl-V will paste at the blinking cursor."));
}

void TManageFm::EmailLinkBtnClick()
{
    const QString link = SelectedLink();
    if (link.isEmpty()) {
        showInformation(kPleaseClick);
        return;
    }
    LastPuzzleLink = link;
    if (EmailLink)
        EmailLink(SelectedTitle());
}
