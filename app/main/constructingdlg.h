// The progress dialog of a build: percent done, the engine's step count, the unclued words and
// Cancel. It stays on top beside the main window while the build runs in the command handler.
// The Auto-Layout expert shows it too, with the percent and Cancel only.
#pragma once

#include <QDialog>
#include <QElapsedTimer>

#include <functional>
#include <memory>

namespace Ui {
class TConstructingDlg;
}
class QFrame;
class QLabel;
class QPushButton;

class TConstructingDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TConstructingDlg(QWidget *mainWindow);
    ~TConstructingDlg() override;

    QFrame *ConstructionProgressBarPB = nullptr;
    QLabel *ConstructPercentNumberLabel = nullptr;
    QLabel *ProgressInfo2Label = nullptr;
    QLabel *ConstructNumberUncluedLabel = nullptr;
    QLabel *UncluedLabel = nullptr;
    QLabel *ConstructionCanceledLabel = nullptr;
    QLabel *PuzzleSizeLbl = nullptr;
    QLabel *SizeLbl = nullptr;
    QPushButton *CancelBtn = nullptr;

    /** Shows the progress; at most every 25 ms (and always at 100 %) it repaints and lets
     *  pending events run, so Cancel and the view's marked cells get their turn. */
    void ShowProgress(int percent, int count);
    /** Runs before the pending events when the dialog lets them run (the view's flush). */
    std::function<void()> Pump;
    /** Runs at every progress report, first (tests reach into a running build here). */
    std::function<void(int percent, int count)> OnProgress;
    int Percent() const { return m_percent; }
    /** Places the dialog at the main window's lower right. */
    void FormResize();

    /** Shows the dialog modeless for the Auto-Layout expert: caption "AutoLayout", the percent
     *  and Cancel; the build's labels hidden. */
    void ShowForAutoLayout();
    /** Shows a percent without pumping messages (the expert pumps them itself). */
    void SetPercent(int percent);

public slots:
    void CancelBtnClick();
    /** Escape cancels the job, as the close button does; the window goes as before. */
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::unique_ptr<Ui::TConstructingDlg> m_ui;
    QWidget *m_mainWindow;
    QElapsedTimer m_sincePump;
    int m_percent = -1;
};

/** The dialog, once made (at start-up in the program; by tests as needed). */
extern TConstructingDlg *ConstructingDlg;

/** Points the Auto-Layout expert's progress hooks at the dialog: show, hide, percent, and its
 *  window as the one whose input (Cancel) runs during a run. */
void ConnectAutoLayoutProgress(TConstructingDlg *dialog);
