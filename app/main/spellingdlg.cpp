// The spelling dialog.
#include "spellingdlg.h"
#include "ui_spellingdlg.h"

#include "globals.h"
#include "myoverrides.h"
#include "prompter.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

TSpellingDlg *SpellingDlg = nullptr;

namespace {

void setTextColor(QLabel *label, const QColor &color)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}

} // namespace

TSpellingDlg::TSpellingDlg(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::TSpellingDlg>())
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("SpellingDlg"));
    MainMesgLbl = m_ui->MainMesgLbl;
    CurrentWordLbl = m_ui->CurrentWordLbl;
    LocationLbl = m_ui->LocationLbl;
    LocationLbl2 = m_ui->LocationLbl2;
    MemoLbl = m_ui->MemoLbl;
    ContextMemo = m_ui->ContextMemo;
    WordEdit = m_ui->WordEdit;
    AddBtn = m_ui->AddBtn;
    ChangeBtn = m_ui->ChangeBtn;
    IgnoreBtn = m_ui->IgnoreBtn;
    IgnoreAllBtn = m_ui->IgnoreAllBtn;
    ResumeBtn = m_ui->ResumeBtn;
    StopBtn = m_ui->StopBtn;
    OKBtn = m_ui->OKBtn;
    HelpBtn = m_ui->HelpBtn;
    DiagTextLbl = m_ui->DiagTextLbl;
    DiagStageLbl = m_ui->DiagStageLbl;
    DiagRowLbl = m_ui->DiagRowLbl;
    DiagOffsetLbl = m_ui->DiagOffsetLbl;
    for (QLabel *label : {DiagTextLbl, DiagStageLbl, DiagRowLbl, DiagOffsetLbl})
        label->hide();
    // The word stays marked in the context while the focus is in the word to edit.
    QPalette palette = ContextMemo->palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    ContextMemo->setPalette(palette);

    m_check.SetDictionary(&m_engineDictionary);
    connect(AddBtn, &QPushButton::clicked, this, &TSpellingDlg::AddBtnClick);
    connect(ChangeBtn, &QPushButton::clicked, this, &TSpellingDlg::ChangeBtnClick);
    connect(IgnoreBtn, &QPushButton::clicked, this, &TSpellingDlg::IgnoreBtnClick);
    connect(IgnoreAllBtn, &QPushButton::clicked, this, &TSpellingDlg::IgnoreAllBtnClick);
    connect(ResumeBtn, &QPushButton::clicked, this, &TSpellingDlg::ResumeBtnClick);
    connect(StopBtn, &QPushButton::clicked, this, &TSpellingDlg::StopBtnClick);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(HelpBtn, &QPushButton::clicked, this, &TSpellingDlg::HelpBtnClick);
    connect(WordEdit, &QLineEdit::textEdited, this, &TSpellingDlg::WordEditChange);
    for (QPushButton *button : {AddBtn, ChangeBtn, IgnoreBtn, IgnoreAllBtn, ResumeBtn, StopBtn})
        button->setEnabled(false);
    SpellingDlg = this;
}

TSpellingDlg::~TSpellingDlg()
{
    m_check.StopDictionary();
    if (SpellingDlg == this)
        SpellingDlg = nullptr;
}

void TSpellingDlg::SetDictionary(TSpellingDictionary *dictionary)
{
    m_check.SetDictionary(dictionary ? dictionary : &m_engineDictionary);
}

QString TSpellingDlg::UserDictionaryPath()
{
    if (!m_userPathKnown) {
        const QString folder = GetUserDataFolder();
        m_userPath = folder.isEmpty() ? QStringLiteral("SpellSup.txt")
                                      : AddBackslash(folder) + QStringLiteral("SpellSup.txt");
        m_userPathKnown = true;
    }
    return m_userPath;
}

QString TSpellingDlg::SharedDictionaryPath() const
{
    return GetProgramFolder() + QStringLiteral("SpellSup.txt");
}

QString TSpellingDlg::HelpText()
{
    return QStringLiteral("If this word is correct, press Add to add it to the spelling dictionary. If this "
                          "word is incorrect, fix it and press Change. To move on without making changes, "
                          "press Ignore. To also skip future occurances of this word in this puzzle, press "
                          "Ignore All.");
}

void TSpellingDlg::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TSpellingDlg::FormShow()
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ColorFromWin(ColorScheme));
    setPalette(palette);
}

bool TSpellingDlg::LoadDictionaries()
{
    m_check.SetSupplementPaths(UserDictionaryPath(), SharedDictionaryPath());
    return m_check.LoadDictionaries();
}

void TSpellingDlg::StartCheck()
{
    const bool started = LoadDictionaries();
    m_check.Restart();
    ShowLocation(2);
    if (started) {
        RunCheck();
        return;
    }
    MainMesgLbl->setText(QStringLiteral("The spelling dictionary could not be loaded."));
    MainMesgLbl->adjustSize();
    MainMesgLbl->show();
    CurrentWordLbl->clear();
    ContextMemo->clear();
    LocationLbl->clear();
    MemoLbl->clear();
}

void TSpellingDlg::setButtons(bool running)
{
    for (QPushButton *button : {AddBtn, ChangeBtn, IgnoreBtn, IgnoreAllBtn, ResumeBtn})
        button->setEnabled(false);
    OKBtn->setEnabled(!running);
    HelpBtn->setEnabled(!running);
    StopBtn->setEnabled(running);
}

void TSpellingDlg::showProgress()
{
    CurrentWordLbl->setText(m_check.CurrentWord());
    ShowLocation(0);
    DiagTextLbl->setText(m_check.Text());
    DiagStageLbl->setText(QStringLiteral("Stage ") + QString::number(m_check.CurrentStage()));
    DiagRowLbl->setText(QStringLiteral("Row ") + QString::number(m_check.Row()));
    DiagOffsetLbl->setText(QStringLiteral("Offset ") + QString::number(m_check.Offset()));
}

void TSpellingDlg::RunCheck()
{
    MainMesgLbl->setText(QStringLiteral("Checking"));
    MainMesgLbl->adjustSize();
    MainMesgLbl->show();
    if (!m_keepContext)
        ContextMemo->clear();
    m_keepContext = false;
    WordEdit->clear();
    setButtons(true);
    const TSpellCheck::RunResult result = m_check.Run(
        [this] {
            showProgress();
            QCoreApplication::processEvents();
        },
        RefreshIntervalMs);
    if (m_closing) {
        // Closed while the check ran: the dictionary goes only now that the check is over.
        m_closing = false;
        m_check.StopDictionary();
        return;
    }
    switch (result) {
    case TSpellCheck::NotFound: ShowMisspelling(); break;
    case TSpellCheck::Finished:
        showProgress();
        MainMesgLbl->setText(QStringLiteral("Spell Check Completed."));
        MainMesgLbl->adjustSize();
        CurrentWordLbl->clear();
        ContextMemo->clear();
        break;
    case TSpellCheck::Stopped:
        showProgress();
        ResumeBtn->setEnabled(true);
        break;
    }
    StopBtn->setEnabled(false);
    OKBtn->setEnabled(true);
    HelpBtn->setEnabled(true);
}

void TSpellingDlg::ShowLocation(int mode)
{
    if (mode == 2) {
        LocationLbl2->clear();
        setTextColor(LocationLbl2, Qt::black);
        return;
    }
    LocationLbl->setText(m_check.LocationText());
    MemoLbl->setText(m_check.MemoText());
    if (m_check.CurrentStage() == TSpellCheck::EndStage)
        LocationLbl2->clear();
    else if (mode == 1) {
        LocationLbl2->setText(m_check.PlacementText());
        setTextColor(LocationLbl2, Qt::red);
    }
}

void TSpellingDlg::ShowMisspelling()
{
    const QString word = m_check.NotFoundWord();
    MainMesgLbl->setText(QStringLiteral("Not Found:"));
    MainMesgLbl->adjustSize();
    CurrentWordLbl->setText(word);
    WordEdit->setText(word);
    ShowLocation(1);
    ContextMemo->setPlainText(m_check.Text());
    QTextCursor cursor(ContextMemo->document());
    cursor.setPosition(m_check.Offset() - 1);
    cursor.setPosition(m_check.Offset() - 1 + int(word.size()), QTextCursor::KeepAnchor);
    ContextMemo->setTextCursor(cursor);
    AddBtn->setEnabled(true);
    IgnoreBtn->setEnabled(true);
    IgnoreAllBtn->setEnabled(true);
    WordEdit->setFocus();
    WordEdit->end(false);
}

void TSpellingDlg::AddBtnClick()
{
    ShowLocation(2);
    m_check.AddWord();
    RunCheck();
}

void TSpellingDlg::ChangeBtnClick()
{
    ShowLocation(2);
    m_check.ChangeWord(WordEdit->text());
    // The changed word is looked up again with the old text still in view.
    m_keepContext = true;
    RunCheck();
}

void TSpellingDlg::IgnoreBtnClick()
{
    ShowLocation(2);
    m_check.IgnoreWord();
    RunCheck();
}

void TSpellingDlg::IgnoreAllBtnClick()
{
    ShowLocation(2);
    m_check.IgnoreAllWord();
    RunCheck();
}

void TSpellingDlg::ResumeBtnClick()
{
    ShowLocation(2);
    m_check.ClearStop();
    RunCheck();
}

void TSpellingDlg::StopBtnClick()
{
    ShowLocation(2);
    m_check.RequestStop();
}

void TSpellingDlg::HelpBtnClick()
{
    ShowLocation(2);
    showInformation(HelpText());
}

void TSpellingDlg::WordEditChange()
{
    // Only a word that was not found can be changed.
    ChangeBtn->setEnabled(AddBtn->isEnabled());
}

void TSpellingDlg::FormClose()
{
    MainMesgLbl->hide();
    if (RepaintView)
        RepaintView();
    if (m_check.Running()) {
        m_check.RequestStop();
        m_closing = true;
    } else {
        m_check.StopDictionary();
    }
}

void TSpellingDlg::done(int result)
{
    FormClose();
    QDialog::done(result);
}
