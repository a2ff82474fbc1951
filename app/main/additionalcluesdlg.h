// The dialog "Additional Clues": the heading of the additional-clues section (an answer list
// after the clues). Created by TMainFm::AdditionalCluesCustomizeLnkClick for each use. The two
// radio buttons are shown but not read.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TAdditionalCluesDlg;
}
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

class TAdditionalCluesDlg : public QDialog
{
    Q_OBJECT
public:
    /** labelEdit and answerList are the main window's AnswerListLabelEdit and AnswerListMemo. */
    TAdditionalCluesDlg(QLineEdit *labelEdit, QPlainTextEdit *answerList, QWidget *parent = nullptr);
    ~TAdditionalCluesDlg() override;

    QRadioButton *AllAnswersRB = nullptr;
    QRadioButton *GenericAnswersRB = nullptr;
    QLineEdit *AdditionalCluesCustomLabelEd = nullptr;
    QPushButton *OkBtn = nullptr;
    QPushButton *CancelBtn = nullptr;

public slots:
    /** The section name into the edit; the dialog colour. */
    void FormShow();
    /** Checkpoint, the name back to the main window, its answer list emptied. */
    void OkBtnClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::unique_ptr<Ui::TAdditionalCluesDlg> m_ui;
    QLineEdit *m_labelEdit;
    QPlainTextEdit *m_answerList;
};
