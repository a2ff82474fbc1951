// The form that e-mails the link of a published puzzle through the maker's e-mail script,
// publishing the puzzle first when it was made with that step.
//
// The main window fills the hooks after making the form:
//   PublishFirst    <- copies PuzzleTitle() into its title field and runs One-Click Publish;
//                      true when the puzzle was published
//   LastPuzzleLink  <- the link of the last published or selected puzzle
// Without PublishFirst a form made with the publishing step cannot send: its button is disabled
// with a tooltip saying why. Without LastPuzzleLink the link is empty.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace Ui {
class TEmailPuzzleFm;
}
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class TEmailPuzzleFm : public QDialog
{
    Q_OBJECT
public:
    /** Reads the "EmailPuzzle_*" values from the settings. */
    explicit TEmailPuzzleFm(bool publishFirst, QWidget *parent = nullptr);
    ~TEmailPuzzleFm() override;

    QLineEdit *PuzzleTitleEd = nullptr;
    QLineEdit *SubjectEd = nullptr;
    QPlainTextEdit *EmailMemo = nullptr;
    QLineEdit *SenderNameEd = nullptr;
    QLineEdit *ReturnEmailEd = nullptr;
    QLineEdit *DestinationEmailEd = nullptr;
    QCheckBox *CCYourselfCB = nullptr;
    QLabel *SendingLbl = nullptr;
    QLabel *HeaderLbl = nullptr;
    QPushButton *SendEmailBtn = nullptr;
    QPushButton *CancelBtn = nullptr;

    std::function<bool()> PublishFirst;
    std::function<QString()> LastPuzzleLink;

    /** The e-mail script: MakerBaseUrl() + "/cgi-bin/hvTrvEmailPuzzle.cgi". */
    static QString ScriptUrl();
    /** The memo line that InsertLink replaces by the puzzle's link. */
    static QString LinkPlaceholder();
    /** The tooltip of the send button when publishing is needed but not available. */
    static const QString NoPublishingTip;

    bool PublishesFirst() const { return m_publishFirst; }
    bool Edited() const { return m_edited; }
    QString PuzzleTitle() const;

    /** The title, the standard subject and the letter with the link placeholder; the form then
     *  counts as unedited. */
    void PrepareMessage(const QString &title);
    /** Puts LastPuzzleLink in place of the first memo line holding the placeholder, or appends
     *  it as the last line. */
    void InsertLink();
    /** The fields in the order the e-mail script reads them. */
    QStringList MessageFields() const;

    /** Checks the addresses, publishes first when asked to, and posts the message; true when it
     *  went through. */
    bool SendMessage();
    /** The close question (see QueryCloseMessageForm); true when the form may close. */
    bool QueryClose();

public slots:
    void SendEmailBtnClick();
    void reject() override;
    /** Writes the "EmailPuzzle_*" values, then closes. */
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void updateSendButton();

    std::unique_ptr<Ui::TEmailPuzzleFm> m_ui;
    bool m_publishFirst = false;
    bool m_edited = false;
};
