// The management window of the published puzzles: lists the account's puzzles on
// the hosting service, deletes one, opens or copies its link, or hands it to the e-mail form.
#pragma once

#include "hostingprotocol.h"

#include <QDate>
#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class TManageFm;
}
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

class TManageFm : public QDialog
{
    Q_OBJECT
public:
    explicit TManageFm(const HostingProtocol &protocol, QWidget *parent = nullptr);
    ~TManageFm() override;

    QTableWidget *ManageSG = nullptr;
    QPlainTextEdit *StatusMemo = nullptr;
    QLabel *SubscriptionLbl = nullptr;
    QPushButton *DeleteBtn = nullptr;
    QPushButton *ViewPuzzleBtn = nullptr;
    QPushButton *CopyLinkBtn = nullptr;
    QPushButton *EmailLinkBtn = nullptr;
    QPushButton *CloseBtn = nullptr;

    /** Opens the e-mail form for the selected puzzle, without its publishing step,
     *  with the button caption "Send Email" and the header "This emails a link to the the puzzle
     *  you selected."; LastPuzzleLink is set before it is called. Empty: nothing opens. */
    std::function<void(const QString &title)> EmailLink;

    /** The date the list's status values are read on (today unless a test sets it). */
    QDate Today = QDate::currentDate();
    /** The account status of the last list reply (expiry and limit). */
    TAccountStatus Status;

    /** Fetches the list and fills the grid; a failure is written to the status memo. True when
     *  the list came. */
    bool RefreshPuzzleList();

    /** The selected puzzle's row (-1 when none), title and link. */
    int SelectedRow() const;
    QString SelectedTitle() const;
    QString SelectedLink() const;

public slots:
    void DeleteBtnClick();
    void ViewPuzzleBtnClick();
    void CopyLinkBtnClick();
    void EmailLinkBtnClick();
    /** Close or Esc: cancels a running request instead of closing. */
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setColumnWidths();
    void updateButtons();
    void memoLines(const QStringList &lines);

    std::unique_ptr<Ui::TManageFm> m_ui;
    HostingProtocol m_protocol;
};
