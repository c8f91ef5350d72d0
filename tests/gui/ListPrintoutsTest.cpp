#include "gui/PdfPrinting.h"
#include "platform/Keys.h"
#include "platform/MsgBox.h"

#include <gtest/gtest.h>

namespace corvanta::test {
namespace {

// The three list printouts, printed to PDF files and read back as text.
class ListPrintoutsTest : public PdfFormFixture
{
protected:
    void SetUp() override
    {
        if (!PdfPrintService::canReadPdf())
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
        data.write(u"Project.List"_s, "Alpha\r\nBeta...Gamma\r\nDelta Echo\r\n");
        data.write(u"Project.Topics"_s, "Inbox\r\nOld...stuff\r\n");
        data.write(u"Project.Files"_s,
            "Home page\thttp://example.com\r\n\t/no/name.txt\r\nLetter\t/home/u/letter.odt\r\n");
        start();
    }

    // The printed lines without their layout's indent (the text tool drops the empty line under
    // the large title), and the indent of the line holding text.
    QStringList printedLines(const QString &pdf = u"printout.pdf"_s) const
    {
        QStringList lines;
        for (const QString &line : printing.text(pdf).split(u'\n'))
            lines << line.trimmed();
        while (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }
    qsizetype indentOf(const QString &text) const
    {
        for (const QString &line : printing.text().split(u'\n')) {
            if (line.trimmed() == text)
                return line.size() - line.trimmed().size();
        }
        return -1;
    }
};

TEST_F(ListPrintoutsTest, eachList_printsItsTitleAndRowsInItsLayout)
{
    struct Case
    {
        const char *item;
        QStringList lines;
    };
    const Case cases[] = {
        // The project row " ..." and names holding "..." stay out of the name lists.
        {"mnuPrintOutProjects", {u"Corvanta Project List"_s, u"Alpha"_s, u"Delta Echo"_s}},
        {"mnuPrintProjectList", {u"Corvanta Project List"_s, u"Alpha"_s, u"Delta Echo"_s}},
        {"entry:Print Project List", {u"Corvanta Project List"_s, u"Alpha"_s, u"Delta Echo"_s}},
        {"mnuTopicPopupPrintTopicList", {u"Corvanta Topic List"_s, u"Inbox"_s}},
        // Three lines a pointer: name, target, a blank line; an empty name prints empty.
        {"mnuPrintOutFiles",
            {u"Corvanta File List"_s, u"Home page"_s, u"http://example.com"_s, u""_s, u""_s,
                u"/no/name.txt"_s, u""_s, u"Letter"_s, u"/home/u/letter.odt"_s}},
        {"mnuPrintFileList", {u"Corvanta File List"_s}},
        {"entry:Print File List", {u"Corvanta File List"_s}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.item);
        QFile::remove(printing.file());
        form->run(QString::fromLatin1(c.item));
        EXPECT_EQ(printedLines().mid(0, c.lines.size()), c.lines);
        EXPECT_EQ(printing.shownFlags, PrintFlags::HidePrintToFile);
    }
    // The title stands well right of the rows (columns 16 and 2 in fonts of 28 and 12 points).
    EXPECT_GT(indentOf(u"Corvanta File List"_s), indentOf(u"Letter"_s) + 10);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(ListPrintoutsTest, twoSelectedRows_openTheDialogOnSelectionAndPrintOnlyThem)
{
    files().selectRow(0);
    form->run(u"PrintFileList"_s);
    EXPECT_EQ(printing.shownFlags, PrintFlags::HidePrintToFile); // one row: "All"
    EXPECT_TRUE(printedLines().contains(u"Letter"_s));

    files().selectRow(2);
    files().setRow(0);
    files().setSelected(true);
    printing.chooseSelection = true;
    form->run(u"PrintFileList"_s);
    EXPECT_EQ(printing.shownFlags, PrintFlags::HidePrintToFile | PrintFlags::Selection);
    EXPECT_EQ(printedLines(),
        (QStringList {u"Corvanta File List"_s, u"Home page"_s, u"http://example.com"_s,
            u""_s, u"Letter"_s, u"/home/u/letter.odt"_s}));
}

TEST_F(ListPrintoutsTest, longLists_askFromRow726AndNoPrintsNothing)
{
    struct Case
    {
        int rows;
        int answer;
        bool asked;
        bool printed;
    };
    for (const Case c : {Case {725, MsgBox::No, false, true}, Case {726, MsgBox::No, true, false},
             Case {800, MsgBox::Yes, true, true}}) {
        SCOPED_TRACE(c.rows);
        QFile::remove(printing.file());
        projects().clear();
        for (int i = 0; i < c.rows; ++i)
            projects().addRow(u"Project %1"_s.arg(i));
        ui.boxes.clear();
        ui.answers = {c.answer};
        const int dialogs = printing.dialogs;
        form->run(u"PrintProjectList"_s);
        ASSERT_EQ(ui.boxes.size(), c.asked ? 1u : 0u);
        if (c.asked) {
            const QString pages = QString::number(c.rows / 66);
            EXPECT_EQ(ui.boxes[0].text,
                u"This Printout Will Print Approximately "_s + pages
                    + u" Pages.     \rDo You Want To Print The Project List?\r"_s);
            EXPECT_EQ(ui.boxes[0].title, u" "_s + pages + u" Page Printout"_s);
            EXPECT_EQ(ui.boxes[0].flags, MsgBox::YesNo | MsgBox::Question);
        }
        EXPECT_EQ(printing.dialogs - dialogs, c.printed ? 1 : 0);
        EXPECT_EQ(QFileInfo::exists(printing.file()), c.printed);
    }
    EXPECT_TRUE(printing.text().contains(u"Project 799"_s));
}

TEST_F(ListPrintoutsTest, twoCopies_areTwoDocumentsAndACancelledDialogPrintsNothing)
{
    printing.copies = 2;
    form->run(u"PrintTopicList"_s);
    for (const QString &pdf : {u"printout.pdf"_s, u"printout-2.pdf"_s})
        EXPECT_EQ(printedLines(pdf), (QStringList {u"Corvanta Topic List"_s, u"Inbox"_s}));

    // A copy never goes over a file that is there.
    printing.copies = 2;
    form->run(u"PrintTopicList"_s);
    EXPECT_TRUE(QFileInfo::exists(printing.file(u"printout-3.pdf"_s)));

    for (const QString &pdf : {u"printout.pdf"_s, u"printout-2.pdf"_s, u"printout-3.pdf"_s})
        QFile::remove(printing.file(pdf));
    printing.cancel = true;
    form->run(u"PrintTopicList"_s);
    EXPECT_EQ(QDir(printing.out.path()).entryList(QDir::Files), QStringList());
}

TEST_F(ListPrintoutsTest, ctrlPInTheProjectAndTopicLists_printsAfterYes)
{
    struct Case
    {
        ListControl &list;
        QString title;
    };
    for (const Case &c : {Case {projects(), u"Corvanta Project List"_s},
             Case {topics(), u"Corvanta Topic List"_s}}) {
        QFile::remove(printing.file());
        ui.answers = {MsgBox::Yes};
        c.list.userKeyDown(Key::P, Key::CtrlMask);
        EXPECT_EQ(printedLines().value(0), c.title);
    }
}

} // namespace
} // namespace corvanta::test
