#include "pdfpagechoicefm.h"

#include "globals.h"
#include "myoverrides.h"
#include "ui_pdfpagechoicefm.h"

TPdfPageChoiceFm *PdfPageChoiceFm = nullptr;

TPdfPageChoiceFm::TPdfPageChoiceFm(QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TPdfPageChoiceFm>())
{
    m_ui->setupUi(this);
    ExportPdfAllRB = m_ui->ExportPdfAllRB;
    ExportPdfPuzzleRB = m_ui->ExportPdfPuzzleRB;
    ExportPdfSolutionRB = m_ui->ExportPdfSolutionRB;
    if (!PdfPageChoiceFm)
        PdfPageChoiceFm = this;
}

TPdfPageChoiceFm::~TPdfPageChoiceFm()
{
    if (PdfPageChoiceFm == this)
        PdfPageChoiceFm = nullptr;
}

TPdfPages TPdfPageChoiceFm::Pages() const
{
    if (ExportPdfSolutionRB->isChecked())
        return TPdfPages::Solution;
    if (ExportPdfPuzzleRB->isChecked())
        return TPdfPages::Puzzle;
    return TPdfPages::All;
}

void TPdfPageChoiceFm::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TPdfPageChoiceFm::FormShow()
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ColorFromWin(ColorScheme));
    setPalette(palette);
}
