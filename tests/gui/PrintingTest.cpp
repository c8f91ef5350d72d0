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

    EXPECT_EQ(printing.dialogs, 1);
    const QString text = printing.text();
    ASSERT_FALSE(text.isEmpty());
    const QStringList lines = text.split(u'\n');
    qsizetype titleLine = -1;
    for (qsizetype i = 0; i < lines.size() && titleLine < 0; ++i) {
        if (lines[i].contains(u"Corvanta Search Results"_s))
            titleLine = i;
    }
    ASSERT_GE(titleLine, 0) << qPrintable(text.left(400));
    for (int i = 0; i < 150; ++i)
        EXPECT_TRUE(
            text.contains(u"/home/user/documents/report-%1.txt"_s.arg(i, 3, 10, QChar(u'0'))))
            << i;
    // 150 lines of 10 points do not fit on one page.
    EXPECT_GE(text.count(u'\f'), 2);

    // The title starts at column 14 of its large font, the rows at column 3 of theirs (the
    // text tool counts from the leftmost text, so only the difference shows).
    const QString title = lines[titleLine];
    const QString row = lines[lines.indexOf(lines.filter(u"report-000"_s).first())];
    const auto indent = [](const QString &s) { return s.size() - s.trimmed().size(); };
    EXPECT_GT(indent(title), indent(row) + 10);
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
    EXPECT_TRUE(doc->bold());
    EXPECT_EQ(doc->fontSize(), 20);
    EXPECT_GT(small, 2.0); // points
    doc->printLine(1, u"landscape"_s);
    doc->endDoc();
    EXPECT_EQ(printing.printer().pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_TRUE(QFileInfo(printing.file()).size() > 0);
}

} // namespace
} // namespace corvanta::test
