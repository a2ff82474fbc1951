// The Export As Text dialog: a modeless preview of the clues or the compact solution as plain
// text, with Copy To Clipboard and Export To File. Made once at start-up; the main window asks
// it to refresh the preview after every change of the puzzle.
#pragma once

#include <QDialog>
#include <QStringList>

#include <memory>

namespace Ui {
class TExportTextFm;
}
class QCheckBox;
class QGroupBox;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

class TExportTextFm : public QDialog
{
    Q_OBJECT
public:
    explicit TExportTextFm(QWidget *parent = nullptr);
    ~TExportTextFm() override;

    QRadioButton *ExportCluesRB = nullptr;
    QGroupBox *ExportCluesGB = nullptr;
    QRadioButton *ClueSpacing1RB = nullptr;
    QRadioButton *ClueSpacing2RB = nullptr;
    QRadioButton *ClueSpacingTabRB = nullptr;
    QCheckBox *AlignNumbersCB = nullptr;
    QRadioButton *ExportSolutionRB = nullptr;
    QGroupBox *ExportSolutionGB = nullptr;
    QRadioButton *SolutionByDirectionRB = nullptr;
    QRadioButton *SolutionByNumberRB = nullptr;
    QCheckBox *HyphenateCB = nullptr;
    QCheckBox *UppercaseCB = nullptr;
    QPlainTextEdit *TextPreviewMemo = nullptr;
    QPushButton *ExportSaveBtn = nullptr;
    QPushButton *CopyToClipboardBtn = nullptr;

    /** Rebuilds the preview for the chosen kind of text. */
    void RefreshPreview();
    /** The lines shown in the preview, as they are copied and written. */
    const QStringList &PreviewLines() const { return m_lines; }
    /** The preview as copied: every line ended by CR LF. */
    QString PreviewText() const;

public slots:
    void ExportCluesRBClick();
    void ClueAnyClick();
    void ExportSolutionRBClick();
    void SolutionAnyClick();
    void HyphenateCBClick();
    void CopyToClipboardBtnClick();
    void ExportSaveBtnClick();
    void FormShow();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void updateEnables();
    void showLines(const QStringList &lines);

    std::unique_ptr<Ui::TExportTextFm> m_ui;
    QStringList m_lines;
    QString m_lastFile; // the file last written, proposed again while its folder is the start
};

/** The dialog, once made (at start-up in the program). */
extern TExportTextFm *ExportTextFm;
