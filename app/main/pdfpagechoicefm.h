// "Export to PDF": which pages the PDF holds. Made at start-up and kept, so the choice stays
// from one export to the next.
#pragma once

#include "printing.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TPdfPageChoiceFm;
}
class QRadioButton;

class TPdfPageChoiceFm : public QDialog
{
    Q_OBJECT
public:
    explicit TPdfPageChoiceFm(QWidget *parent = nullptr);
    ~TPdfPageChoiceFm() override;

    /** The pages of the ticked button. */
    TPdfPages Pages() const;

    QRadioButton *ExportPdfAllRB = nullptr;
    QRadioButton *ExportPdfPuzzleRB = nullptr;
    QRadioButton *ExportPdfSolutionRB = nullptr;

public slots:
    void FormShow();

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::unique_ptr<Ui::TPdfPageChoiceFm> m_ui;
};

extern TPdfPageChoiceFm *PdfPageChoiceFm;
