#pragma once

#include <QString>

#include <memory>

namespace corvanta {

// Flags of the print dialog, at their classic values, so printouts can ask "exactly Selection".
namespace PrintFlags {
enum : int {
    AllPages = 0x0,
    Selection = 0x1, // in: "Selection" is chosen; out: the user chose it
    HidePrintToFile = 0x100000,
};
}

enum class PageOrientation { Portrait = 1, Landscape = 2 };

// What the print dialog shows and what the user chose there. The program keeps one of these for
// its one print dialog, so a printout that sets no flags gets those the last one left.
struct PrintDialogSettings
{
    int flags = PrintFlags::AllPages;
    int copies = 1;
    PageOrientation orientation = PageOrientation::Portrait;
};

// One printed document: lines of text placed at print columns, with page breaks made as the
// page fills. Column n starts n - 1 average character widths of the current font from the left
// margin. Text printed on one line sits on a common baseline until endLine().
class PrintDocument
{
public:
    virtual ~PrintDocument() = default;

    virtual void setFontName(const QString &family) = 0;
    virtual void setFontSize(double points) = 0;
    virtual void setBold(bool bold) = 0;
    virtual QString fontName() const = 0;
    virtual double fontSize() const = 0;
    virtual bool bold() const = 0;
    // The current font's average character width, in points.
    virtual double averageCharWidth() const = 0;

    // Places text at column on the current line.
    virtual void printAt(int column, const QString &text) = 0;
    // Ends the current line (an empty line when nothing was printed on it); starts a new page
    // when the next line would not fit.
    virtual void endLine() = 0;
    // Sends the document to the printer; nothing may be printed after it.
    virtual void endDoc() = 0;

    // The common case: text at column, then the end of the line.
    void printLine(int column, const QString &text)
    {
        printAt(column, text);
        endLine();
    }
};

// The print dialog and the printer chosen in it.
class PrintService
{
public:
    virtual ~PrintService() = default;

    // The one print dialog's settings; they persist from one use to the next.
    PrintDialogSettings dialogSettings;

    // Shows the print dialog modally with dialogSettings and, unless cancelled, stores the
    // user's choice back into them. Returns false when the user cancelled.
    virtual bool showPrintDialog() = 0;
    // Starts a document on the printer chosen last, in orientation; nullptr when the printer
    // cannot be opened.
    virtual std::unique_ptr<PrintDocument> startDocument(PageOrientation orientation) = 0;
};

} // namespace corvanta
