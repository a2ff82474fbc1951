// The posting window of One-Click Publish: checks the puzzle's presence and the
// account's quota on the hosting service, asks about replacing a puzzle of the same name, posts
// the puzzle and shows what happened. Requests go through MainHttpClient() with this window as
// the only one taking input; Close or Esc while a request runs cancels it.
#pragma once

#include "hostingprotocol.h"
#include "httpclient.h"

#include <QDate>
#include <QDialog>

#include <memory>

namespace Ui {
class TPostingPuzzleFm;
}
class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

class TPostingPuzzleFm : public QDialog
{
    Q_OBJECT
public:
    /** The registry value of "Do this automatically from now on.". */
    static const QString AutoCloseKey;
    /** Asked before sending when the presence check failed. */
    static const QString SendUncheckedQuestion;

    /** Reads the auto-close box from the registry (false when missing). */
    explicit TPostingPuzzleFm(const HostingProtocol &protocol, QWidget *parent = nullptr);
    /** Writes the auto-close box when the user changed it and it was not written yet. */
    ~TPostingPuzzleFm() override;

    QPlainTextEdit *Memo = nullptr;
    QPushButton *LaunchBitBtn = nullptr;
    QCheckBox *AutoCloseAndShowCB = nullptr;
    QLabel *SubscribeLnk = nullptr;
    QPushButton *CloseBtn = nullptr;

    /** The date the quota is judged on (tests set it; today otherwise). */
    QDate Today = QDate::currentDate();

    /** Presence check, announcement, quota, replace question, send. True when the puzzle was
     *  published; a refusal or failure clears EmailPublishing. A cancel stops the whole
     *  operation; "Id1=" of the form gets the server time of this presence check. */
    bool Post(const QString &publishUrl, const QStringList &form, const QString &puzzleName, bool playMode);
    /** The last Post stopped at the quota (the window's result is Cancel). */
    bool Refused() const { return m_refused; }
    /** The memo's lines. */
    QStringList MemoLines() const { return m_lines; }

public slots:
    void LaunchBitBtnClick();
    void CloseBtnClick();
    void SubscribeLnkClick();
    /** Esc: cancels a running request instead of closing. */
    void reject() override;
    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void clearMemo();
    void addLine(const QString &line);
    void saveAutoClose();
    /** 2 exists, 1 absent, 0 unknown; status filled from the reply (defaults on failure, which
     *  sets failed and is written to the memo unless it was a cancel). */
    int checkPresence(const QString &puzzleName, TAccountStatus &status, bool *failed);
    bool showError(const QString &text, bool heading);
    /** Shows the bytes of the running request in the caption. */
    HttpClient::Progress progress();

    std::unique_ptr<Ui::TPostingPuzzleFm> m_ui;
    HostingProtocol m_protocol;
    bool m_autoCloseRead = false;
    bool m_refused = false;
    QStringList m_lines;
};

/** One-Click Publish's window: made, shown, posted through, hidden, then shown modally (through
 *  uiDialogs()) unless the browser was launched or the quota refused the puzzle. True when the
 *  puzzle was published. */
bool ShowPostingPuzzle(const HostingProtocol &protocol, const QString &publishUrl, const QStringList &form,
                       const QString &puzzleName, bool playMode, QWidget *parent = nullptr);
