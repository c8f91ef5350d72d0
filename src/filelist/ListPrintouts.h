#pragma once

#include "app/FeatureContext.h"

namespace corvanta {

struct Printout;

// The printouts of the Project, Topic and File Lists, on the printer chosen in the print dialog
// (a PDF file where there is none). A list of 726 rows or more asks first.
class ListPrintouts final : public ListPrinting
{
public:
    explicit ListPrintouts(const FeatureContext &context);

    void printList(ActiveList list) override;

    void PrintProjectList();
    void PrintTopicList();
    void PrintFileList();

private:
    FeatureContext c;

    // listName is "Project", "Topic" or "File".
    void printList(const ListControl &list, const QString &listName, const Printout &printout);
};

} // namespace corvanta
