// The spelling dialog "Tarvel - Check Spelling": made at start-up, shown modally by the Edit
// menu's check; it runs the check over the puzzle's texts and stops at each word not known,
// offering Add, Change, Ignore and Ignore All.
#pragma once

#include "spellcheck.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TSpellingDlg;
}
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class TSpellingDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TSpellingDlg(QWidget *parent = nullptr);
    ~TSpellingDlg() override;

    QLabel *MainMesgLbl = nullptr;
    QLabel *CurrentWordLbl = nullptr;
    QLabel *LocationLbl = nullptr;
    QLabel *LocationLbl2 = nullptr;
    QLabel *MemoLbl = nullptr;
    QPlainTextEdit *ContextMemo = nullptr;
    QLineEdit *WordEdit = nullptr;
    QPushButton *AddBtn = nullptr;
    QPushButton *ChangeBtn = nullptr;
    QPushButton *IgnoreBtn = nullptr;
    QPushButton *IgnoreAllBtn = nullptr;
    QPushButton *ResumeBtn = nullptr;
    QPushButton *StopBtn = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *HelpBtn = nullptr;
    /** Diagnostics, hidden: the current text, "Stage n", "Row n", "Offset n". */
    QLabel *DiagTextLbl = nullptr;
    QLabel *DiagStageLbl = nullptr;
    QLabel *DiagRowLbl = nullptr;
    QLabel *DiagOffsetLbl = nullptr;

    /** Set by the menu command, consumed by the main window's idle handler (StartCheck). */
    bool CheckPending = false;
    /** The texts to check (not owned; the caller keeps them while the dialog shows). */
    void SetTexts(TSpellingTexts *texts) { m_check.SetTexts(texts); }
    /** The dictionary asked first; null goes back to the engine's (not owned). */
    void SetDictionary(TSpellingDictionary *dictionary);
    /** Repaints the main window's view when the dialog closes. */
    std::function<void()> RepaintView;
    /** How often a running check refreshes its labels and lets events in. */
    int RefreshIntervalMs = 25;

    /** The user's supplement in the user data folder, computed once. */
    QString UserDictionaryPath();
    /** The shared supplement beside the program. */
    QString SharedDictionaryPath() const;

    TSpellCheck &Check() { return m_check; }

    void StartCheck();
    void RunCheck();
    bool LoadDictionaries();
    void ShowMisspelling();
    /** 0 the location, 1 with the entry's placement or the clue's answer, 2 clear the second
     *  line. */
    void ShowLocation(int mode);
    /** The help text of HelpBtn. */
    static QString HelpText();

public slots:
    void AddBtnClick();
    void ChangeBtnClick();
    void IgnoreBtnClick();
    void IgnoreAllBtnClick();
    void ResumeBtnClick();
    void StopBtnClick();
    void HelpBtnClick();
    void WordEditChange();
    void FormShow();
    void FormClose();
    /** Closing: the running check stops first, then the dictionary. */
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showProgress();
    void setButtons(bool running);

    std::unique_ptr<Ui::TSpellingDlg> m_ui;
    TSpellCheck m_check;
    TEngineSpellingDictionary m_engineDictionary;
    QString m_userPath;
    bool m_userPathKnown = false;
    bool m_keepContext = false;
    bool m_closing = false;
};

/** The dialog, once made (at start-up in the program; else by the first use). */
extern TSpellingDlg *SpellingDlg;
