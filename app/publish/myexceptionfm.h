// The error dialog: shows an unexpected error and offers to stop showing that same message, to
// save a backup of the puzzle and to send an error report; then the program goes on or ends.
//
// The main window fills the hooks when it makes the dialog:
//   SaveBackupAs     <- saves the puzzle once under that name (the document keeps its own name)
//   PuzzleFileName   <- the current document's file name
//   CloseMainWindow  <- its close query, then its close; false when the user cancelled
//   ShowErrorReport  <- opens the support form in error-report mode with that subject
// Without ShowErrorReport the dialog opens the support form itself (without a file name). Without
// CloseMainWindow, Exit Program quits the application's event loop.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace Ui {
class TMyExceptionFm;
}
class QCheckBox;
class QLabel;
class QPushButton;

class TMyExceptionFm : public QDialog
{
    Q_OBJECT
public:
    /** The dialog's result when the program is ending. */
    static constexpr int ExitResult = 2;

    explicit TMyExceptionFm(const QString &message, QWidget *parent = nullptr);
    ~TMyExceptionFm() override;

    QLabel *ExceptionMesgLbl = nullptr;
    QCheckBox *DontInterruptCB = nullptr;
    QCheckBox *TryToSaveCB = nullptr;
    QCheckBox *TryErrorReportCB = nullptr;
    QPushButton *ContinueBtn = nullptr;
    QPushButton *ExitProgramBtn = nullptr;

    std::function<void(const QString &backupName)> SaveBackupAs;
    std::function<QString()> PuzzleFileName;
    std::function<bool()> CloseMainWindow;
    std::function<void(const QString &subject)> ShowErrorReport;

    /** Error texts the user asked not to see again, for the whole program run. */
    static QStringList SuppressedMessages;
    /** Whether exactly this text is suppressed. */
    static bool IsSuppressed(const QString &message);

    /** "Backup of " before the file's own name, in the same folder. */
    static QString BackupName(const QString &fileName);

    QString Message() const { return m_message; }

public slots:
    void ContinueBtnClick();
    /** Does what Continue does, then ends the program through the main window's close; a
     *  cancelled close leaves the dialog open and the program running. */
    void ExitProgramBtnClick();
    void DontInterruptCBClick(bool checked);

private:
    /** Suppressing, the backup and the error report, as ticked; each runs once. */
    void runChosenActions();

    std::unique_ptr<Ui::TMyExceptionFm> m_ui;
    QString m_message;
};
