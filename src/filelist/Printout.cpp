#include "filelist/Printout.h"

#include "platform/Printing.h"
#include "platform/Ui.h"
#include "store/ListControl.h"

#include <memory>

namespace corvanta {

void printCopies(
    Ui &ui, PrintService &printing, const ListControl &list, const Printout &printout,
    bool selectionOnly)
{
    const PrintDialogSettings chosen = printing.dialogSettings;
    for (int copy = 0; copy < std::max(1, chosen.copies); ++copy) {
        ui.pumpEvents();
        std::unique_ptr<PrintDocument> doc = printing.startDocument(chosen.orientation);
        if (!doc)
            return;
        doc->setBold(true);
        doc->setFontSize(28);
        doc->printLine(printout.titleColumn, printout.title);
        doc->setFontSize(printout.rowSize);
        doc->setBold(false);
        doc->endLine();
        for (int row = 0; row < list.ListCount(); ++row) {
            ui.pumpEvents();
            if (row >= list.ListCount())
                break;
            if (selectionOnly && !list.isSelected(row))
                continue;
            printout.printRow(*doc, list.rowText(row));
        }
        doc->endDoc();
    }
}

QString pagePrintoutTitle(int pages)
{
    return u' ' + QString::number(pages) + QStringLiteral(" Page Printout");
}

} // namespace corvanta
