// The About box.
#include "aboutfm.h"
#include "ui_aboutfm.h"

#include "filetypes.h"
#include "globals.h"
#include "myoverrides.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>

static void initAboutResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(trv);
        return true;
    }();
    (void)done;
}

TAboutFm::TAboutFm(QWidget *parent) : TAboutFm(RegistryIsWritable(), parent) {}

TAboutFm::TAboutFm(bool admin, QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::TAboutFm>())
{
    initAboutResources();
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("AboutFm"));
    AboutImage = m_ui->AboutImage;
    DescriptionLbl = m_ui->DescriptionLbl;
    OSLbl = m_ui->OSLbl;
    EmailLnk = m_ui->EmailLnk;
    OKBtn = m_ui->OKBtn;

    // The client area takes the size of the picture; the lines stand on its empty lower part.
    const QPixmap picture(QStringLiteral(":/TRVSplash"));
    if (!picture.isNull()) {
        AboutImage->setPixmap(picture);
        AboutImage->setGeometry(0, 0, picture.width(), picture.height());
        setFixedSize(picture.size());
    } else {
        setFixedSize(size());
    }
    OSLbl->setText(OSText(admin));
    QPalette linkPalette = EmailLnk->palette();
    linkPalette.setColor(QPalette::WindowText, ColorFromWin(0xFF0000)); // link blue
    EmailLnk->setPalette(linkPalette);
    EmailLnk->installEventFilter(this);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
}

TAboutFm::~TAboutFm() = default;

QString TAboutFm::OSText(bool admin)
{
    return QStringLiteral("OS:  ") + GetWindowsVersionName() + QStringLiteral("  ") +
           (admin ? QStringLiteral("(admin)") : QStringLiteral("(non admin)"));
}

void TAboutFm::EmailLnkClick()
{
    if (OnEmailUs)
        OnEmailUs();
}

bool TAboutFm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == EmailLnk && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        EmailLnkClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
