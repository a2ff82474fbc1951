// The dialog "Customize Alphabet": a language's alphabet, 32 accented letters to add or remove
// and an edit for any other characters, at most 31 characters in all. Created by
// TMainFm::ShowAlphabetDialog for each use; OK stores the alphabet with SetAlphabet.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <memory>

namespace Ui {
class TAlphabetFm;
}
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

/** The dialog's working alphabet, without widgets. */
class TAlphabetEditor
{
public:
    /** The 26 letters and five special characters. */
    static constexpr int MaxLength = 31;
    /** The languages of the list, "English" first and "Other - Not Listed" last. */
    static QStringList Languages();
    /** The alphabet of a language of the list (Windows-1252 characters); empty for others. */
    static QString LanguageAlphabet(const QString &language);
    /** The characters of the 32 accented-letter buttons, in button order. */
    static QString AccentedLetters();

    QString Alphabet;
    /** The last addition was refused: the alphabet was full. */
    bool Warning = false;

    void SetLanguage(const QString &language);
    /** A button's character: removed when present, else appended while there is room. False
     *  (and the warning) when refused. */
    bool Toggle(QChar c);
    /** " A B C ... " : a blank, then each character followed by a blank. */
    QString LabelText() const;
    /** The alphabet's characters beyond the first 26 that no button carries. */
    QString OtherText() const;
    /** The other-characters edit went from previous to text: the text upper-cased, without
     *  blanks and repeats; characters gone from it leave the alphabet, new ones join it. Returns
     *  the text the edit shows: previous when the additions would not fit (with the warning). */
    QString OtherEdited(const QString &previous, const QString &text);
};

class TAlphabetFm : public QDialog
{
    Q_OBJECT
public:
    explicit TAlphabetFm(QWidget *parent = nullptr);
    ~TAlphabetFm() override;

    QComboBox *LanguageCmBx = nullptr;
    QLabel *AlphabetLbl = nullptr;
    QToolButton *AccentSB[32] = {};
    QPushButton *OtherSB = nullptr;
    QLineEdit *OtherEd = nullptr;
    QLabel *OtherInfo1Lbl = nullptr;
    QLabel *OtherInfo2Lbl = nullptr;
    QLabel *MaxCharsLbl = nullptr;
    QLabel *RemoveCharLbl = nullptr;
    QPushButton *OkBtn = nullptr;
    QPushButton *CancelBtn = nullptr;

    const TAlphabetEditor &Editor() const { return m_editor; }

public slots:
    /** Loads CustomAlphabet, selects English when no language is selected, takes the dialog
     *  colour. */
    void FormShow();
    void LanguageCmBxChange();
    void AccentSBClick(int index);
    void OtherEdChange(const QString &text);
    void OtherSBClick();
    void OkBtnClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showAlphabet(bool rewriteOther);

    std::unique_ptr<Ui::TAlphabetFm> m_ui;
    TAlphabetEditor m_editor;
    QString m_otherText;
};
