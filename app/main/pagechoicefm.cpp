// The one-or-two-pages question of the Auto-Layout expert.
#include "pagechoicefm.h"
#include "ui_pagechoicefm.h"

#include "globals.h"
#include "myoverrides.h"
#include "uidialogs.h"

#include <QCheckBox>
#include <QPushButton>

TPageChoiceFm *PageChoiceFm = nullptr;

TPageChoiceFm::TPageChoiceFm(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::TPageChoiceFm>())
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("PageChoiceFm"));
    OnePageBtn = m_ui->OnePageBtn;
    TwoPagesBtn = m_ui->TwoPagesBtn;
    SeparatePagesBtn = m_ui->SeparatePagesBtn;
    RememberCB = m_ui->RememberCB;
    // No button is the default: Enter must not pick a page count by accident.
    for (QPushButton *button : {OnePageBtn, TwoPagesBtn, SeparatePagesBtn})
        button->setAutoDefault(false);
    connect(OnePageBtn, &QPushButton::clicked, this, &TPageChoiceFm::OnePageBtnClick);
    connect(TwoPagesBtn, &QPushButton::clicked, this, &TPageChoiceFm::TwoPagesBtnClick);
    connect(SeparatePagesBtn, &QPushButton::clicked, this, &TPageChoiceFm::SeparatePagesBtnClick);
    m_previous = SetPageChooser(this);
    PageChoiceFm = this;
}

TPageChoiceFm::~TPageChoiceFm()
{
    SetPageChooser(m_previous);
    if (PageChoiceFm == this)
        PageChoiceFm = nullptr;
}

int TPageChoiceFm::AskPages() { return uiDialogs().RunModal(*this); }

void TPageChoiceFm::OnePageBtnClick()
{
    done(ApplyPageChoice(TPageChoice::OnePage, RememberCB->isChecked()));
}

void TPageChoiceFm::TwoPagesBtnClick()
{
    done(ApplyPageChoice(TPageChoice::TwoPages, RememberCB->isChecked()));
}

void TPageChoiceFm::SeparatePagesBtnClick()
{
    done(ApplyPageChoice(TPageChoice::SeparatePages, RememberCB->isChecked()));
}

void TPageChoiceFm::FormShow()
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ColorFromWin(ColorScheme));
    setPalette(palette);
}

void TPageChoiceFm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}
