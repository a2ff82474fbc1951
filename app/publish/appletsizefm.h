// The size of an "Other" applet: width and height in pixels, asked when the user picks "Fixed
// Other" or "Automatic Other" among the player preferences' applet sizes.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TAppletSizeFm;
}
class QPushButton;
class QSpinBox;

class TAppletSizeFm : public QDialog
{
    Q_OBJECT
public:
    /** The sizes the spin edits accept (pixels). */
    static constexpr int MinWidth = 200, MaxWidth = 2400;
    static constexpr int MinHeight = 150, MaxHeight = 1600;

    explicit TAppletSizeFm(QWidget *parent = nullptr);
    ~TAppletSizeFm() override;

    QSpinBox *WidthSpEd = nullptr;
    QSpinBox *HeightSpEd = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;

    /** The starting values (kept within the spin ranges). */
    void SetAppletSize(int width, int height);
    int AppletWidth() const;
    int AppletHeight() const;

private:
    std::unique_ptr<Ui::TAppletSizeFm> m_ui;
};
