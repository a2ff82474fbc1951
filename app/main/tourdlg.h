// The quick tour: eight pages about the program, one of which chooses the default puzzle type.
// TMainFm::ShowQuickTour shows it (Help "&Quick Tour && Setup ..." and the first run).
#pragma once

#include <QDialog>

#include <functional>
#include <utility>
#include <vector>

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
    // "Two Types": the two kinds of puzzle side by side.
    QLabel *FreeformImg = nullptr;
    QLabel *SymmetricalImg = nullptr;
    // "Choose": clicking a picture chooses its type as its radio button does.
    QLabel *SetupLooseImg = nullptr;
    QLabel *SetupTightImg = nullptr;
    // Pictures of the main window's controls; clicking one shows the note under it.
    QLabel *StepTabsImg = nullptr; // the step tabs; its width shows 3 or 4 tabs
    QLabel *JustAPictureLbl = nullptr;
    QLabel *TrafficLightImg = nullptr;
    QLabel *JustAPictureLbl2 = nullptr;
    QLabel *MenuImg = nullptr;
    QLabel *JustAPictureLbl3 = nullptr;
    QLabel *PublishImg = nullptr;
    QLabel *JustAPictureLbl4 = nullptr;

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
    QLabel *addPicture(QWidget *page, const char *name, const char *resource);
    QLabel *addNote(QWidget *page, QLabel *picture, const char *name, const char *text);
    void showPage(int index);
    void chooseType(int type);
    TTourHooks m_hooks;
    std::vector<std::pair<QLabel *, QLabel *>> m_notes; // picture, its "just a picture" note
};
