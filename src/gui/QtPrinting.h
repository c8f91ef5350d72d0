#pragma once

#include "platform/Printing.h"

#include <memory>

class QPrinter;

namespace corvanta {

// The print dialog (QPrintDialog) and the printer it chose (QPrinter: a real printer or a PDF
// file, so printing works on a machine without printers).
class QtPrintService : public PrintService
{
public:
    QtPrintService();
    ~QtPrintService() override;

    bool showPrintDialog() override;
    std::unique_ptr<PrintDocument> startDocument(PageOrientation orientation) override;

    QPrinter &printer() { return *printer_; }

private:
    std::unique_ptr<QPrinter> printer_;
};

} // namespace corvanta
