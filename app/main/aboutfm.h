// Shown by TMainFm::mHelpAboutClick (Help "&About ..."), created for each showing, modal.
// The About box: the program's picture, the operating system line with the "(admin)" flag, the
// "Click here to email us" link and OK.
#pragma once

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class TAboutFm;
}
class QLabel;
class QPushButton;

class TAboutFm : public QDialog
{
    Q_OBJECT
public:
    /** The "(admin)" flag from RegistryIsWritable (filetypes.h). */
    explicit TAboutFm(QWidget *parent = nullptr);
    /** admin: HKEY_CLASSES_ROOT is writable; the caller asks (tests give either). */
    explicit TAboutFm(bool admin, QWidget *parent = nullptr);
    ~TAboutFm() override;

    QLabel *AboutImage = nullptr;
    QLabel *DescriptionLbl = nullptr;
    QLabel *OSLbl = nullptr;
    QLabel *EmailLnk = nullptr;
    QPushButton *OKBtn = nullptr;

    /** Help "&E-Mail Us ..." of the main window, run by the email link; unset does nothing. */
    std::function<void()> OnEmailUs;

    /** "OS:  " + GetWindowsVersionName() + "  " + "(admin)" or "(non admin)". */
    static QString OSText(bool admin);

public slots:
    void EmailLnkClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::unique_ptr<Ui::TAboutFm> m_ui;
};
