// The advice form shown when a freeform puzzle is made from an empty word list.
#include "nextstepfm.h"
#include "ui_nextstepfm.h"

#include "globals.h"
#include "myoverrides.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QMouseEvent>

TNextStepFm::TNextStepFm(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::TNextStepFm>())
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("NextStepFm"));
    SampleWordListsLnk = m_ui->SampleWordListsLnk;
    ImportLnk = m_ui->ImportLnk;
    InstructionsLnk = m_ui->InstructionsLnk;
    ExampleLnk = m_ui->ExampleLnk;
    for (QLabel *link : {SampleWordListsLnk, ImportLnk, InstructionsLnk, ExampleLnk}) {
        link->installEventFilter(this);
        updateLink(link, {});
    }
    connect(m_ui->ButtonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_ui->ButtonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

TNextStepFm::~TNextStepFm() = default;

void TNextStepFm::updateLink(QLabel *link, const TAction &action)
{
    // An enabled link is blue, bold and underlined with the hand cursor; a disabled one is gray.
    const bool enabled = static_cast<bool>(action);
    link->setEnabled(enabled);
    QFont font = link->font();
    font.setBold(true);
    font.setUnderline(enabled);
    link->setFont(font);
    QPalette palette = link->palette();
    palette.setColor(QPalette::Active, QPalette::WindowText, ColorFromWin(0xFF0000));
    palette.setColor(QPalette::Inactive, QPalette::WindowText, ColorFromWin(0xFF0000));
    link->setPalette(palette);
    link->setCursor(enabled ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TNextStepFm::SetSampleWordListsAction(TAction action)
{
    m_sampleWordLists = std::move(action);
    updateLink(SampleWordListsLnk, m_sampleWordLists);
}

void TNextStepFm::SetImportAction(TAction action)
{
    m_import = std::move(action);
    updateLink(ImportLnk, m_import);
}

void TNextStepFm::SetInstructionsAction(TAction action)
{
    m_instructions = std::move(action);
    updateLink(InstructionsLnk, m_instructions);
}

void TNextStepFm::SetExampleAction(TAction action)
{
    m_example = std::move(action);
    updateLink(ExampleLnk, m_example);
}

void TNextStepFm::SampleWordListsLnkClick()
{
    if (m_sampleWordLists)
        m_sampleWordLists();
}

void TNextStepFm::ImportLnkClick()
{
    if (m_import)
        m_import();
}

void TNextStepFm::InstructionsLnkClick()
{
    if (m_instructions)
        m_instructions();
}

void TNextStepFm::ExampleLnkClick()
{
    if (m_example)
        m_example();
}

void TNextStepFm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ColorFromWin(ColorScheme));
    setPalette(palette);
}

bool TNextStepFm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        auto *link = qobject_cast<QLabel *>(watched);
        if (link && link->isEnabled()) {
            if (link == SampleWordListsLnk)
                SampleWordListsLnkClick();
            else if (link == ImportLnk)
                ImportLnkClick();
            else if (link == InstructionsLnk)
                InstructionsLnkClick();
            else if (link == ExampleLnk)
                ExampleLnkClick();
            else
                return QDialog::eventFilter(watched, event);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
