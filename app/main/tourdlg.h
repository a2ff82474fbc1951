// The quick tour: eight pages about the program, one of which chooses the default puzzle type.
// TMainFm::ShowQuickTour shows it (Help "&Quick Tour && Setup ..." and the first run).
#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;
class QRadioButton;
class QStackedWidget;

/** What the tour asks of the main window; each may be left unset. */
struct TTourHooks {
    /** Switches the puzzle to the type (0 freeform, 1 symmetrical), asking about unsaved work
     *  first; true when the puzzle now has that type. */
    std::function<bool(int type)> ChooseType;
    std::function<void()> SavePreferences;
};

class TTourDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TTourDlg(const TTourHooks &hooks, QWidget *parent = nullptr);

    QStackedWidget *TourNtBk = nullptr;
    QLabel *PageLbl = nullptr;
    QRadioButton *SetupLooseRB = nullptr;
    QRadioButton *SetupTightRB = nullptr;
    QPushButton *NextBtn = nullptr;
    QPushButton *BackBtn = nullptr;
    QPushButton *ExitBtn = nullptr;
    QLabel *StepTabsImg = nullptr;   // picture of the step tabs; its width shows 3 or 4 tabs
    QLabel *JustAPictureLbl = nullptr;

    static const char *const PageNames[8];

public slots:
    void NextBtnClick();
    void BackBtnClick();
    void ExitBtnClick();
    void SetupLooseRBClick();
    void SetupTightRBClick();

    /** Closing without a type chosen (Exit Setup, the window's close box) chooses freeform. */
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showPage(int index);
    void chooseType(int type);
    TTourHooks m_hooks;
};
