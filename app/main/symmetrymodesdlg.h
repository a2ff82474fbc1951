// The dialog "Select A Symmetry Mode": one radio button and picture per mode; OK gives the
// engine the chosen mode. Created for each use by the grid page's and the Grid menu's commands.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TSymmetryModesDlg;
}
class QLabel;
class QPushButton;
class QRadioButton;

class TSymmetryModesDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TSymmetryModesDlg(QWidget *parent = nullptr);
    ~TSymmetryModesDlg() override;

    QRadioButton *NoSymmetryRB = nullptr;
    QRadioButton *StandardDiagonalRB = nullptr;
    QRadioButton *SpiralRB = nullptr;
    QRadioButton *VerticalRB = nullptr;
    QRadioButton *HorizontalRB = nullptr;
    QRadioButton *HorizontalVerticalRB = nullptr;
    QRadioButton *KaleidoscopeRB = nullptr;
    QLabel *NoSymmetryImage = nullptr;
    QLabel *StandardDiagonalImage = nullptr;
    QLabel *SpiralImage = nullptr;
    QLabel *VerticalImage = nullptr;
    QLabel *HorizontalImage = nullptr;
    QLabel *HorizontalVerticalImage = nullptr;
    QLabel *KaleidoscopeImage = nullptr;
    QLabel *HelpLnk = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;
    QPushButton *HelpBtn = nullptr;

    /** The radio button of an engine mode 0..6 (null outside). */
    QRadioButton *ModeRB(int mode) const;
    /** The mode of the checked radio button, -1 when none is checked. */
    int CheckedMode() const;
    /** The explanation of the modes shown by Help. */
    static QString HelpText();

public slots:
    /** Checks the engine's mode and takes the dialog colour. */
    void FormShow();
    /** Gives the engine the checked mode and closes. */
    void OKBtnClick();
    void HelpBtnClick();
    void HelpLnkClick();
    void NoSymmetryImageClick();
    void StandardDiagonalImageClick();
    void SpiralImageClick();
    void VerticalImageClick();
    void HorizontalImageClick();
    void HorizontalVerticalImageClick();
    void KaleidoscopeImageClick();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::unique_ptr<Ui::TSymmetryModesDlg> m_ui;
};
