// The support form: a message to the maker's support script with the system details, the recent
// undo history and, when the user agrees, the puzzle being worked on. The error dialog opens it
// as an error report, with the subject filled in.
//
// The main window fills PuzzleFileName with the current document's file name (empty when unset).
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace Ui {
class TContactUsFm;
}
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

/** The lines of a memo's text as the message carries them: no line for an empty memo, and no
 *  empty last line for a text that ends with a line break. */
QStringList MemoLines(const QString &text);

/** Progress of a message on its way, shown after the label's text as it was at the start. */
std::function<void(qint64 sent, qint64 received)> SendingProgress(QLabel *label);

/** The close question of an edited message form (TContactUsFm::SendNowQuestion): Yes runs send
 *  and allows the close only when it succeeded, No keeps the form, Cancel discards the message.
 *  An unedited form closes without asking. True when the form may close. */
bool QueryCloseMessageForm(bool edited, const std::function<bool()> &send);

class TContactUsFm : public QDialog
{
    Q_OBJECT
public:
    explicit TContactUsFm(QWidget *parent = nullptr);
    ~TContactUsFm() override;

    QLineEdit *SenderNameEd = nullptr;
    QLineEdit *ReturnEmailEd = nullptr;
    QLineEdit *SubjectEd = nullptr;
    QPlainTextEdit *EmailMemo = nullptr;
    QCheckBox *AttachePuzzleCB = nullptr;
    QLabel *SendingLbl = nullptr;
    QLabel *HeresWhyLnk = nullptr;
    QLabel *SenderNameLbl = nullptr;
    QLabel *ReturnEmailLbl = nullptr;
    QLabel *SubjectLbl = nullptr;
    QLabel *MessageLbl = nullptr;
    QPushButton *SendEmailBtn = nullptr;
    QPushButton *CancelBtn = nullptr;

    std::function<QString()> PuzzleFileName;

    /** The support script: MakerBaseUrl() + "/cgi-bin/hvTechSupport.cgi". */
    static QString ScriptUrl();
    /** Asked when an edited message form is closed (this form and the e-mail form). */
    static const QString SendNowQuestion;

    /** Whether a field changed since the form was made or the message last went through. */
    bool Edited() const { return m_edited; }

    /** The form's fields in the order the support script reads them. */
    QStringList MessageFields() const;

    /** The recent actions: undo history, the current state and the redo history. */
    static QString BuildHistory();
    /** The same text from the three parts (UndoHistoryText, CurrentStateText, RedoHistoryText). */
    static QString BuildHistory(const QString &undo, const QString &current, const QString &redo);

    /** Checks the return address and posts the message; true when it went through. */
    bool SendMessage();
    /** The close question: true when the form may close (after Yes only once the message went
     *  through, or after Cancel). An unedited form closes without asking. */
    bool QueryClose();

public slots:
    void SendEmailBtnClick();
    void SetErrorReportMode();
    void HeresWhyLnkClick();
    /** Closes through the close question. */
    void reject() override;

private:
    std::unique_ptr<Ui::TContactUsFm> m_ui;
    bool m_edited = false;
};
