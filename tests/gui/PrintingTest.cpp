#include "gui/PdfPrinting.h"
#include "search/FileSearch.h"

#include <gtest/gtest.h>

namespace corvanta::test {
namespace {

class PrintingTest : public PdfFormFixture
{
protected:
    void SetUp() override { start(); }
};

TEST_F(PrintingTest, searchResults_printToAPdfWithTitleEveryPathAndPageBreaks)
{
    if (!PdfPrintService::canReadPdf())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    FileSearch search(form->context(), {{data.path(), data.path()}});
    search.Form_Load();
    for (int i = 0; i < 150; ++i)
        search.lstFileSearch.addRow(
            u"/home/user/documents/report-%1.txt"_s.arg(i, 3, 10, QChar(u'0')));

    search.PrintSearchResults();

    const QString text = printing.text();
    EXPECT_TRUE(text.contains(u"Corvanta Search Results"_s)) << qPrintable(text.left(400));
    for (int i = 0; i < 150; ++i)
        EXPECT_TRUE(text.contains(u"/home/user/documents/report-%1.txt"_s.arg(i, 3, 10, QChar(u'0')))) << i;
    // 150 lines of 10 points do not fit on one page.
    EXPECT_GE(text.count(u'\f'), 2);
}

TEST_F(PrintingTest, document_measuresColumnsInTheCurrentFontsAverageWidth)
{
    std::unique_ptr<PrintDocument> doc = printing.startDocument(PageOrientation::Landscape);
    ASSERT_NE(doc, nullptr);
    doc->setFontSize(10);
    const double small = doc->averageCharWidth();
    doc->setFontSize(20);
    doc->setBold(true);
    EXPECT_NEAR(doc->averageCharWidth(), 2 * small, small * 0.3);
    EXPECT_GT(small, 2.0); // points
    doc->printLine(1, u"landscape"_s);
    doc->endDoc();
    EXPECT_EQ(printing.printer().pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_TRUE(QFileInfo(printing.file()).size() > 0);
}

} // namespace
} // namespace corvanta::test
