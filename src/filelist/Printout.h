#pragma once

#include <QString>

#include <functional>

namespace corvanta {

class ListControl;
class PrintDocument;
class PrintService;
class Ui;

// How a list prints: a bold 28-point title at its column, an empty line, then every row in
// rowSize points as printRow lays it out (printRow may print several lines or none).
struct Printout
{
    QString title;
    int titleColumn = 14;
    double rowSize = 12;
    std::function<void(PrintDocument &, const QString &rowText)> printRow;
};

// Prints list once the print dialog was accepted: one document per copy chosen there, in its
// orientation, only the selected rows when selectionOnly. Events run before each copy and each
// row, so the rows are counted anew each time.
void printCopies(
    Ui &ui, PrintService &printing, const ListControl &list, const Printout &printout,
    bool selectionOnly);

// The title of the question asked before a long printout: " 12 Page Printout".
QString pagePrintoutTitle(int pages);

} // namespace corvanta
