#pragma once

#include "platform/Printing.h"

#include <memory>

class QPrinter;

namespace corvanta {

// The print dialog (QPrintDialog) and the printer it chose (QPrinter: a real printer or a PDF
// file, so printing works on a machine without printers). Each copy is a document of its own;
// printed to a file, the second copy goes beside it as "name-2.pdf", and so on, never over a
// file that is there.
class QtPrintService : public PrintService
{
public:
    QtPrintService();
    ~QtPrintService() override;

    bool showPrintDialog() override;
    std::unique_ptr<PrintDocument> startDocument(PageOrientation orientation) override;

    QPrinter &printer() { return *printer_; }

    // Whether the system has any printer; without one the dialog always offers a PDF file.
    static bool hasPrinters();
    // The file a copy after the first is printed to: file with "-n" before its suffix, n counted
    // up from copy until no such file exists.
    static QString copyFileName(const QString &file, int copy);

protected:
    // The modal dialog over the printer with dialogSettings; false when cancelled.
    virtual bool runDialog();

private:
    std::unique_ptr<QPrinter> printer_;
    QString jobFile_;     // the file the user chose for this printout; empty for a printer
    int jobDocuments_ = 0;
};

} // namespace corvanta
