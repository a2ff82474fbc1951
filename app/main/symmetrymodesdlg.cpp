// The symmetry-mode dialog.
#include "symmetrymodesdlg.h"
#include "ui_symmetrymodesdlg.h"

#include "globals.h"
#include "hintfm.h"
#include "myoverrides.h"
#include "trv600.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>

namespace {

// The engine's mode values, in the order of the members above.
struct ModeControls {
    QRadioButton *TSymmetryModesDlg::*button;
    QLabel *TSymmetryModesDlg::*image;
    void (TSymmetryModesDlg::*imageClick)();
    const char *picture;
};
const ModeControls kModes[7] = {
    {&TSymmetryModesDlg::NoSymmetryRB, &TSymmetryModesDlg::NoSymmetryImage,
     &TSymmetryModesDlg::NoSymmetryImageClick, ":/SymNone"},
    {&TSymmetryModesDlg::StandardDiagonalRB, &TSymmetryModesDlg::StandardDiagonalImage,
     &TSymmetryModesDlg::StandardDiagonalImageClick, ":/SymStandard"},
    {&TSymmetryModesDlg::SpiralRB, &TSymmetryModesDlg::SpiralImage, &TSymmetryModesDlg::SpiralImageClick,
     ":/SymSpiral"},
    {&TSymmetryModesDlg::VerticalRB, &TSymmetryModesDlg::VerticalImage,
     &TSymmetryModesDlg::VerticalImageClick, ":/SymVert"},
    {&TSymmetryModesDlg::HorizontalRB, &TSymmetryModesDlg::HorizontalImage,
     &TSymmetryModesDlg::HorizontalImageClick, ":/SymHorz"},
    {&TSymmetryModesDlg::HorizontalVerticalRB, &TSymmetryModesDlg::HorizontalVerticalImage,
     &TSymmetryModesDlg::HorizontalVerticalImageClick, ":/SymHV"},
    {&TSymmetryModesDlg::KaleidoscopeRB, &TSymmetryModesDlg::KaleidoscopeImage,
     &TSymmetryModesDlg::KaleidoscopeImageClick, ":/SymKaleidoscope"},
};

} // namespace

TSymmetryModesDlg::TSymmetryModesDlg(QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TSymmetryModesDlg>())
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("SymmetryModesDlg"));
    NoSymmetryRB = m_ui->NoSymmetryRB;
    StandardDiagonalRB = m_ui->StandardDiagonalRB;
    SpiralRB = m_ui->SpiralRB;
    VerticalRB = m_ui->VerticalRB;
    HorizontalRB = m_ui->HorizontalRB;
    HorizontalVerticalRB = m_ui->HorizontalVerticalRB;
    KaleidoscopeRB = m_ui->KaleidoscopeRB;
    NoSymmetryImage = m_ui->NoSymmetryImage;
    StandardDiagonalImage = m_ui->StandardDiagonalImage;
    SpiralImage = m_ui->SpiralImage;
    VerticalImage = m_ui->VerticalImage;
    HorizontalImage = m_ui->HorizontalImage;
    HorizontalVerticalImage = m_ui->HorizontalVerticalImage;
    KaleidoscopeImage = m_ui->KaleidoscopeImage;
    HelpLnk = m_ui->HelpLnk;
    OKBtn = m_ui->OKBtn;
    CancelBtn = m_ui->CancelBtn;
    HelpBtn = m_ui->HelpBtn;
    for (const ModeControls &m : kModes) {
        QLabel *image = this->*(m.image);
        // The small mode pictures are drawn twice their size, pixel for pixel.
        const QPixmap picture(QLatin1String(m.picture));
        image->setPixmap(picture.scaled(image->size(), Qt::KeepAspectRatio, Qt::FastTransformation));
        image->installEventFilter(this);
    }
    QFont font = HelpLnk->font();
    font.setUnderline(true);
    HelpLnk->setFont(font);
    HelpLnk->setStyleSheet(QStringLiteral("color: #0000FF"));
    HelpLnk->installEventFilter(this);
    connect(OKBtn, &QPushButton::clicked, this, &TSymmetryModesDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(HelpBtn, &QPushButton::clicked, this, &TSymmetryModesDlg::HelpBtnClick);
}

TSymmetryModesDlg::~TSymmetryModesDlg() = default;

QRadioButton *TSymmetryModesDlg::ModeRB(int mode) const
{
    return mode >= 0 && mode < 7 ? this->*(kModes[mode].button) : nullptr;
}

int TSymmetryModesDlg::CheckedMode() const
{
    for (int mode = 0; mode < 7; ++mode)
        if (ModeRB(mode)->isChecked())
            return mode;
    return -1;
}

void TSymmetryModesDlg::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TSymmetryModesDlg::FormShow()
{
    if (QRadioButton *button = ModeRB(TRVGetSymMode()))
        button->setChecked(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ColorFromWin(ColorScheme));
    setPalette(palette);
}

void TSymmetryModesDlg::OKBtnClick()
{
    const int mode = CheckedMode();
    if (mode >= 0)
        TRVSetSymMode(mode);
    accept();
}

QString TSymmetryModesDlg::HelpText()
{
    return QStringLiteral(
        "American crossword puzzles are usually diagonally symmetric. "
        "Turn the grid upside down and its pattern of black squares looks the same. "
        "While you edit the pattern, the symmetry mode makes each change in every cell that the "
        "symmetry pairs with the cell you click:\n\n"
        "1. No Symmetry: only the cell you click changes.\n"
        "2. Standard Diagonal: the cell and the cell opposite it through the centre of the grid "
        "(the usual crossword symmetry).\n"
        "3. Spiral (Four-way): the cell and its images when the grid is turned by a quarter, a "
        "half and three quarters.\n"
        "4. Kaleidoscope (Eight-way): the four-way spiral, and the mirror image of each of them.\n"
        "5. Horizontal: the cell and its mirror image from left to right, so the pattern's left "
        "and right halves match.\n"
        "6. Vertical: the cell and its mirror image from top to bottom, so the pattern's top and "
        "bottom halves match.\n"
        "7. Horizontal/Vertical (Four-way): both mirror images and the cell opposite through the "
        "centre.");
}

void TSymmetryModesDlg::HelpBtnClick()
{
    if (!HintFm)
        return;
    const QRect frame = frameGeometry();
    HintFm->ShowBalloon(HelpText(), frame.right() - 8, 90, frame.bottom() - 445);
}

void TSymmetryModesDlg::HelpLnkClick() { HelpBtnClick(); }

void TSymmetryModesDlg::NoSymmetryImageClick() { NoSymmetryRB->setChecked(true); }
void TSymmetryModesDlg::StandardDiagonalImageClick() { StandardDiagonalRB->setChecked(true); }
void TSymmetryModesDlg::SpiralImageClick() { SpiralRB->setChecked(true); }
void TSymmetryModesDlg::VerticalImageClick() { VerticalRB->setChecked(true); }
void TSymmetryModesDlg::HorizontalImageClick() { HorizontalRB->setChecked(true); }
void TSymmetryModesDlg::HorizontalVerticalImageClick() { HorizontalVerticalRB->setChecked(true); }
void TSymmetryModesDlg::KaleidoscopeImageClick() { KaleidoscopeRB->setChecked(true); }

bool TSymmetryModesDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == HelpLnk) {
            HelpLnkClick();
            return true;
        }
        for (const ModeControls &m : kModes)
            if (watched == this->*(m.image)) {
                (this->*(m.imageClick))();
                return true;
            }
    }
    return QDialog::eventFilter(watched, event);
}
