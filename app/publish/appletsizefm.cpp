// The "Other" applet size dialog.
#include "appletsizefm.h"
#include "ui_appletsizefm.h"

#include <QPushButton>
#include <QSpinBox>

TAppletSizeFm::TAppletSizeFm(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::TAppletSizeFm>())
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("AppletSizeFm"));
    WidthSpEd = m_ui->WidthSpEd;
    HeightSpEd = m_ui->HeightSpEd;
    OKBtn = m_ui->OKBtn;
    CancelBtn = m_ui->CancelBtn;
    WidthSpEd->setRange(MinWidth, MaxWidth);
    HeightSpEd->setRange(MinHeight, MaxHeight);
    connect(OKBtn, &QPushButton::clicked, this, [this] {
        // A number still being typed counts.
        WidthSpEd->interpretText();
        HeightSpEd->interpretText();
        accept();
    });
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TAppletSizeFm::~TAppletSizeFm() = default;

void TAppletSizeFm::SetAppletSize(int width, int height)
{
    WidthSpEd->setValue(width);
    HeightSpEd->setValue(height);
}

int TAppletSizeFm::AppletWidth() const { return WidthSpEd->value(); }
int TAppletSizeFm::AppletHeight() const { return HeightSpEd->value(); }
