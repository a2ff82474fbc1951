// Qt's print and page set-up dialogs behind the printing seam.
#pragma once

#include "printing.h"

class QWidget;

class TQtPrintDialogs : public TPrintDialogs
{
public:
    explicit TQtPrintDialogs(QWidget *parent) : m_parent(parent) {}
    bool PrintDialog(QPrinter &printer, int minPage, int maxPage) override;
    bool PrinterSetupDialog(QPrinter &printer) override;

private:
    QWidget *m_parent;
};
