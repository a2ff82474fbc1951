// The one-or-two-pages question of the Auto-Layout expert: one page with small features, two
// pages, or the grid and the clues on separate pages, optionally remembered as the page mode.
#pragma once

#include "autolayout.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TPageChoiceFm;
}
class QCheckBox;
class QPushButton;

/** Made once at start-up; while it lives it is the expert's page chooser. */
class TPageChoiceFm : public QDialog, public TPageChooser
{
    Q_OBJECT
public:
    explicit TPageChoiceFm(QWidget *parent = nullptr);
    ~TPageChoiceFm() override;

    /** Runs the form modally (through uiDialogs()); 2 one page, 3 two pages, else closed. */
    int AskPages() override;

    QPushButton *OnePageBtn = nullptr;
    QPushButton *TwoPagesBtn = nullptr;
    QPushButton *SeparatePagesBtn = nullptr;
    QCheckBox *RememberCB = nullptr;

public slots:
    void OnePageBtnClick();
    void TwoPagesBtnClick();
    void SeparatePagesBtnClick();
    void FormShow();

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::unique_ptr<Ui::TPageChoiceFm> m_ui;
    TPageChooser *m_previous = nullptr;
};

extern TPageChoiceFm *PageChoiceFm;
