// The customize-alphabet dialog.
#include "alphabetfm.h"
#include "ui_alphabetfm.h"

#include "alphabet.h"
#include "cp1252.h"
#include "globals.h"
#include "myoverrides.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>

namespace {

QString cp1252(std::initializer_list<unsigned char> bytes)
{
    QString text;
    for (unsigned char b : bytes)
        text += Cp1252::toChar(b);
    return text;
}

} // namespace

// ---- Working alphabet ------------------------------------------------------------------------

QStringList TAlphabetEditor::Languages()
{
    return {QStringLiteral("English"),           QStringLiteral("French"),     QStringLiteral("German"),
            QStringLiteral("Italian"),           QStringLiteral("Portuguese"), QStringLiteral("Spanish"),
            QStringLiteral("Other - Not Listed")};
}

QString TAlphabetEditor::LanguageAlphabet(const QString &language)
{
    if (language == QLatin1String("English") || language == QLatin1String("Other - Not Listed"))
        return DefaultAlphabet;
    if (language == QLatin1String("French"))
        return DefaultAlphabet + cp1252({0xC7});
    if (language == QLatin1String("Italian"))
        return DefaultAlphabet + cp1252({0xC0, 0xC8, 0xCC, 0xD2, 0xD9});
    if (language == QLatin1String("German"))
        return DefaultAlphabet + cp1252({0xC4, 0xD6, 0xDC, 0xDF});
    if (language == QLatin1String("Portuguese"))
        return DefaultAlphabet + cp1252({0xC7, 0xC3, 0xD5});
    if (language == QLatin1String("Spanish"))
        return DefaultAlphabet + cp1252({0xD1});
    return QString();
}

QString TAlphabetEditor::AccentedLetters()
{
    // À..Ï, Ñ..Ö, Ø..Ý, ß, Œ, Š, Ÿ
    QString letters;
    for (int b = 0xC0; b <= 0xCF; ++b)
        letters += Cp1252::toChar(static_cast<unsigned char>(b));
    for (int b = 0xD1; b <= 0xD6; ++b)
        letters += Cp1252::toChar(static_cast<unsigned char>(b));
    for (int b = 0xD8; b <= 0xDD; ++b)
        letters += Cp1252::toChar(static_cast<unsigned char>(b));
    return letters + cp1252({0xDF, 0x8C, 0x8A, 0x9F});
}

void TAlphabetEditor::SetLanguage(const QString &language)
{
    const QString alphabet = LanguageAlphabet(language);
    if (!alphabet.isEmpty())
        Alphabet = alphabet;
}

bool TAlphabetEditor::Toggle(QChar c)
{
    if (Alphabet.contains(c)) {
        Alphabet.remove(c);
        Warning = false;
        return true;
    }
    if (Alphabet.size() < MaxLength) {
        Alphabet += c;
        Warning = false;
        return true;
    }
    Warning = true;
    return false;
}

QString TAlphabetEditor::LabelText() const
{
    QString text = QStringLiteral(" ");
    for (QChar c : Alphabet)
        text += c + QStringLiteral(" ");
    return text;
}

QString TAlphabetEditor::OtherText() const
{
    const QString buttons = AccentedLetters();
    QString other;
    for (int i = 26; i < Alphabet.size(); ++i)
        if (!buttons.contains(Alphabet.at(i)))
            other += Alphabet.at(i);
    return other;
}

QString TAlphabetEditor::OtherEdited(const QString &previous, const QString &text)
{
    QString cleaned;
    for (QChar c : UpperCaseText(text))
        if (c > QLatin1Char(' ') && Cp1252::canEncode(c) && !cleaned.contains(c))
            cleaned += c;
    QString alphabet = Alphabet;
    for (QChar c : previous)
        if (!cleaned.contains(c) && alphabet.indexOf(c) >= 26)
            alphabet.remove(alphabet.indexOf(c), 1);
    for (QChar c : cleaned)
        if (!previous.contains(c) && !alphabet.contains(c))
            alphabet += c;
    if (alphabet.size() > MaxLength) {
        Warning = true;
        return previous;
    }
    if (alphabet != Alphabet)
        Warning = false;
    Alphabet = alphabet;
    return cleaned;
}

// ---- Dialog ---------------------------------------------------------------------------------

TAlphabetFm::TAlphabetFm(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::TAlphabetFm>())
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("AlphabetFm"));
    LanguageCmBx = m_ui->LanguageCmBx;
    AlphabetLbl = m_ui->AlphabetLbl;
    OtherSB = m_ui->OtherSB;
    OtherEd = m_ui->OtherEd;
    OtherInfo1Lbl = m_ui->OtherInfo1Lbl;
    OtherInfo2Lbl = m_ui->OtherInfo2Lbl;
    MaxCharsLbl = m_ui->MaxCharsLbl;
    RemoveCharLbl = m_ui->RemoveCharLbl;
    OkBtn = m_ui->OkBtn;
    CancelBtn = m_ui->CancelBtn;

    LanguageCmBx->addItems(TAlphabetEditor::Languages());
    LanguageCmBx->setCurrentIndex(-1);
    const QString letters = TAlphabetEditor::AccentedLetters();
    for (int i = 0; i < 32; ++i) {
        auto *button = new QToolButton(m_ui->AccentPnl);
        button->setObjectName(QStringLiteral("Accent%1SB").arg(i + 1));
        button->setCheckable(true);
        button->setText(letters.at(i));
        button->setGeometry((i % 16) * 30, (i / 16) * 28, 28, 26);
        AccentSB[i] = button;
        connect(button, &QToolButton::clicked, this, [this, i] { AccentSBClick(i); });
    }
    OtherInfo1Lbl->hide();
    OtherInfo2Lbl->hide();
    RemoveCharLbl->hide();
    connect(LanguageCmBx, &QComboBox::activated, this, &TAlphabetFm::LanguageCmBxChange);
    connect(OtherEd, &QLineEdit::textEdited, this, &TAlphabetFm::OtherEdChange);
    connect(OtherSB, &QPushButton::clicked, this, &TAlphabetFm::OtherSBClick);
    connect(OkBtn, &QPushButton::clicked, this, &TAlphabetFm::OkBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TAlphabetFm::~TAlphabetFm() = default;

void TAlphabetFm::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TAlphabetFm::FormShow()
{
    m_editor.Alphabet = CustomAlphabet;
    m_editor.Warning = false;
    if (LanguageCmBx->currentIndex() < 0) {
        const QSignalBlocker block(LanguageCmBx);
        LanguageCmBx->setCurrentIndex(LanguageCmBx->findText(QStringLiteral("English")));
    }
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ColorFromWin(ColorScheme));
    setPalette(palette);
    showAlphabet(true);
}

void TAlphabetFm::showAlphabet(bool rewriteOther)
{
    AlphabetLbl->setText(m_editor.LabelText());
    for (QToolButton *button : AccentSB) {
        const QSignalBlocker block(button);
        button->setChecked(m_editor.Alphabet.contains(button->text().at(0)));
    }
    if (rewriteOther) {
        m_otherText = m_editor.OtherText();
        if (OtherEd->text() != m_otherText)
            OtherEd->setText(m_otherText);
    }
    QFont font = MaxCharsLbl->font();
    font.setBold(m_editor.Warning);
    MaxCharsLbl->setFont(font);
    MaxCharsLbl->setStyleSheet(m_editor.Warning ? QStringLiteral("color: #FF0000") : QString());
    RemoveCharLbl->setVisible(m_editor.Warning);
}

void TAlphabetFm::LanguageCmBxChange()
{
    m_editor.SetLanguage(LanguageCmBx->currentText());
    m_editor.Warning = false;
    showAlphabet(true);
}

void TAlphabetFm::AccentSBClick(int index)
{
    if (index < 0 || index >= 32)
        return;
    m_editor.Toggle(AccentSB[index]->text().at(0));
    showAlphabet(true);
}

void TAlphabetFm::OtherEdChange(const QString &text)
{
    const QString shown = m_editor.OtherEdited(m_otherText, text);
    if (shown != text) {
        const int caret = OtherEd->cursorPosition() - int(text.size() - shown.size());
        OtherEd->setText(shown);
        OtherEd->setCursorPosition(std::clamp(caret, 0, int(shown.size())));
    }
    m_otherText = shown;
    showAlphabet(false);
}

void TAlphabetFm::OtherSBClick()
{
    OtherInfo1Lbl->show();
    OtherInfo2Lbl->show();
    OtherEd->setFocus();
}

void TAlphabetFm::OkBtnClick()
{
    SetAlphabet(m_editor.Alphabet);
    accept();
}
