// Qt's print and page set-up dialogs.
#include "printdialogs.h"

#include <QAbstractPrintDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

bool TQtPrintDialogs::PrintDialog(QPrinter &printer, int minPage, int maxPage)
{
    QPrintDialog dialog(&printer, m_parent);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintShowPageSize);
    dialog.setMinMax(minPage, maxPage);
    printer.setFromTo(0, 0);
    return dialog.exec() == QDialog::Accepted;
}

bool TQtPrintDialogs::PrinterSetupDialog(QPrinter &printer)
{
    QPageSetupDialog dialog(&printer, m_parent);
    return dialog.exec() == QDialog::Accepted;
}
