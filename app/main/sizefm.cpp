// The custom-size dialog.
#include "sizefm.h"
#include "ui_sizefm.h"

#include "globals.h"
#include "hintfm.h"
#include "myoverrides.h"
#include "pataux.h"

#include <QPalette>
#include <QPushButton>
#include <QSpinBox>

TSizeFm *SizeFm = nullptr;

bool IsValidGridDimension(int value) { return value >= 1 && value <= 51; }

void SetUpGridDimensionEntry(QSpinBox *entry)
{
    // Wide enough for any typing, so that a wrong value shows red instead of being clipped.
    entry->setRange(-999, 999);
    ShowGridDimensionValidity(entry);
}

void ShowGridDimensionValidity(QSpinBox *entry)
{
    QPalette palette = entry->palette();
    palette.setColor(QPalette::Text, IsValidGridDimension(entry->value()) ? Qt::black : Qt::red);
    entry->setPalette(palette);
}

TSizeFm::TSizeFm(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::TSizeFm>())
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("SizeFm"));
    ColCountSpEd = m_ui->ColCountSpEd;
    RowCountSpEd = m_ui->RowCountSpEd;
    OKBtn = m_ui->OKBtn;
    CancelBtn = m_ui->CancelBtn;
    HelpBtn = m_ui->HelpBtn;
    SetUpGridDimensionEntry(ColCountSpEd);
    SetUpGridDimensionEntry(RowCountSpEd);
    connect(ColCountSpEd, &QSpinBox::valueChanged, this, &TSizeFm::ColCountSpEdChange);
    connect(RowCountSpEd, &QSpinBox::valueChanged, this, &TSizeFm::RowCountSpEdChange);
    connect(OKBtn, &QPushButton::clicked, this, &TSizeFm::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(HelpBtn, &QPushButton::clicked, this, &TSizeFm::HelpBtnClick);
    SizeFm = this;
}

TSizeFm::~TSizeFm()
{
    if (SizeFm == this)
        SizeFm = nullptr;
}

void TSizeFm::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TSizeFm::FormShow()
{
    ColCountSpEd->setValue(Columns);
    RowCountSpEd->setValue(Rows);
    ColCountSpEdChange();
    RowCountSpEdChange();
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ColorFromWin(ColorScheme));
    setPalette(palette);
}

void TSizeFm::OKBtnClick()
{
    if (!IsValidGridDimension(ColCountSpEd->value()) || !IsValidGridDimension(RowCountSpEd->value()))
        return; // the red entry says what is wrong
    SetPuzzleDimensions(ColCountSpEd->value(), RowCountSpEd->value(), true);
    accept();
}

void TSizeFm::ColCountSpEdChange() { ShowGridDimensionValidity(ColCountSpEd); }

void TSizeFm::RowCountSpEdChange() { ShowGridDimensionValidity(RowCountSpEd); }

QString TSizeFm::HelpText()
{
    return QStringLiteral(
        "Drawing a Pattern\n\n"
        "Choose the number of columns (across) and rows (down) of the grid, each from 1 to 51. "
        "A number shown in red is out of range; OK waits until both are black.\n\n"
        "The new grid starts empty: every cell is white. On the Penciled-In Grid, the "
        "\"Edit Pattern\" tool makes cells black with a click (and removed with a right-click), "
        "and the symmetry mode copies each change to the matching cells. The word-slot chart on "
        "the Grid page shows how many slots of each length the pattern has.");
}

void TSizeFm::HelpBtnClick()
{
    if (!HintFm)
        return;
    HintFm->resize(500, HintFm->height());
    const QRect frame = frameGeometry();
    HintFm->ShowBalloon(HelpText(), frame.right(), 50, frame.top());
}
