#include "filelist/ListPrintouts.h"

#include "app/Operations.h"
#include "filelist/Printout.h"
#include "platform/MsgBox.h"
#include "platform/Printing.h"
#include "platform/Ui.h"
#include "store/ListControl.h"

namespace corvanta {

namespace {

// Project and topic names, one a line; the project row " ..." and any name with "..." stay out.
void printName(PrintDocument &doc, const QString &row)
{
    if (!row.contains(QStringLiteral("...")))
        doc.printLine(3, row);
}

// A pointer takes three lines: its name, its target, a line holding one space.
void printPointer(PrintDocument &doc, const QString &row)
{
    const qsizetype tab = row.indexOf(u'\t');
    doc.printLine(2, tab < 0 ? row : row.left(tab));
    doc.printLine(2, tab < 0 ? QString() : row.mid(tab + 1));
    doc.printLine(2, QStringLiteral(" "));
}

} // namespace

ListPrintouts::ListPrintouts(const FeatureContext &context) : c(context)
{
    const auto reg = [this](std::initializer_list<const char *> names, void (ListPrintouts::*print)()) {
        for (const char *name : names)
            c.operations.add(QString::fromLatin1(name), [this, print] { (this->*print)(); });
    };
    reg({"PrintProjectList", "mnuPrintOutProjects", "mnuPrintProjectList", "entry:Print Project List"},
        &ListPrintouts::PrintProjectList);
    reg({"PrintTopicList", "mnuTopicPopupPrintTopicList"}, &ListPrintouts::PrintTopicList);
    reg({"PrintFileList", "mnuPrintOutFiles", "mnuPrintFileList", "entry:Print File List"},
        &ListPrintouts::PrintFileList);
}

void ListPrintouts::printList(ActiveList list)
{
    if (list == ActiveList::Projects)
        PrintProjectList();
    else if (list == ActiveList::Topics)
        PrintTopicList();
    else if (list == ActiveList::Files)
        PrintFileList();
}

void ListPrintouts::PrintProjectList()
{
    printList(c.lstProjectList, QStringLiteral("Project"),
        {QStringLiteral("Corvanta Project List"), 14, 12, printName});
}

void ListPrintouts::PrintTopicList()
{
    printList(c.lstTopicList, QStringLiteral("Topic"),
        {QStringLiteral("Corvanta Topic List"), 14, 12, printName});
}

void ListPrintouts::PrintFileList()
{
    printList(c.lstFileList, QStringLiteral("File"),
        {QStringLiteral("Corvanta File List"), 16, 12, printPointer});
}

void ListPrintouts::printList(
    const ListControl &list, const QString &listName, const Printout &printout)
{
    const int pages = list.ListCount() / 66;
    if (pages > 10
        && c.ui.msgBox(QStringLiteral("This Printout Will Print Approximately ")
                   + QString::number(pages) + QStringLiteral(" Pages.") + fiveSpaces()
                   + QStringLiteral("\rDo You Want To Print The ") + listName
                   + QStringLiteral(" List?\r"),
               pagePrintoutTitle(pages), MsgBox::YesNo | MsgBox::Question)
            != MsgBox::Yes)
        return;
    PrintService *printing = c.platform.printing;
    if (!printing)
        return;
    // With two rows or more selected the dialog offers "Selection", and opens on it.
    const int shown = PrintFlags::HidePrintToFile | (list.SelCount() >= 2 ? PrintFlags::Selection : 0);
    printing->dialogSettings.flags = shown;
    if (!printing->showPrintDialog())
        return;
    c.ui.pumpEvents();
    printCopies(c.ui, *printing, list, printout,
        printing->dialogSettings.flags != PrintFlags::HidePrintToFile);
}

} // namespace corvanta
