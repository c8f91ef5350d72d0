#include "gui/QtPrinting.h"
#include "platform/Keys.h"
#include "platform/MsgBox.h"
#include "support/FormFixture.h"
#include "support/TempFolder.h"

#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>

namespace corvanta::test {
namespace {

// The Qt printer writing PDF files into a temporary folder, with the print dialog answered from
// a script: Print (or Cancel), "All" or "Selection", a number of copies.
class PdfPrintService : public QtPrintService
{
public:
    TempFolder out;
    int dialogs = 0;
    int shownFlags = -1; // the flags the dialog last opened with
    bool cancel = false;
    bool chooseSelection = false;
    int copies = 1;

    PdfPrintService()
    {
        printer().setOutputFormat(QPrinter::PdfFormat);
        printer().setOutputFileName(file());
    }

    QString file(const QString &name = QStringLiteral("printout.pdf")) const
    {
        return out.file(name);
    }

    // A PDF's text, laid out as printed (pages separated by form feeds); "" when there is none.
    QString text(const QString &name = QStringLiteral("printout.pdf")) const
    {
        QProcess process;
        process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file(name), QStringLiteral("-")});
        process.waitForFinished(30000);
        return QString::fromUtf8(process.readAllStandardOutput());
    }

protected:
    bool runDialog() override
    {
        ++dialogs;
        shownFlags = dialogSettings.flags;
        if (cancel)
            return false;
        dialogSettings.flags =
            (dialogSettings.flags & ~PrintFlags::Selection) | (chooseSelection ? PrintFlags::Selection : 0);
        dialogSettings.copies = copies;
        return true;
    }
};

// The three list printouts, printed to PDF files and read back as text.
class ListPrintoutsTest : public FormFixture
{
protected:
    PdfPrintService printing;

    void SetUp() override
    {
        printService = &printing;
        if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
        data.write(u"Project.List"_s, "Alpha\r\nBeta...Gamma\r\nDelta Echo\r\n");
        data.write(u"Project.Topics"_s, "Inbox\r\nOld...stuff\r\n");
        data.write(u"Project.Files"_s, "Home page\thttp://example.com\r\n\t/no/name\r\nLetter\t/l.odt\r\n");
        start();
    }
    // The printed lines without the layout's indent (the text tool drops the empty line under the
    // large title).
    QStringList printed(const QString &pdf = u"printout.pdf"_s) const
    {
        QStringList lines = printing.text(pdf).split(u'\n');
        for (QString &line : lines)
            line = line.trimmed();
        while (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }
};

TEST_F(ListPrintoutsTest, eachList_printsItsTitleAndRowsInItsLayout)
{
    const QStringList files = {u"Corvanta File List"_s, u"Home page"_s, u"http://example.com"_s, u""_s,
        u""_s, u"/no/name"_s, u""_s, u"Letter"_s, u"/l.odt"_s};
    const std::pair<const char *, QStringList> cases[] = {
        // The project row " ..." and names holding "..." stay out; a pointer takes three lines.
        {"mnuPrintOutProjects", {u"Corvanta Project List"_s, u"Alpha"_s, u"Delta Echo"_s}},
        {"mnuTopicPopupPrintTopicList", {u"Corvanta Topic List"_s, u"Inbox"_s}},
        {"entry:Print File List", files},
    };
    for (const auto &[item, lines] : cases) {
        SCOPED_TRACE(item);
        form->run(QString::fromLatin1(item));
        EXPECT_EQ(printed(), lines);
        EXPECT_EQ(printing.shownFlags, PrintFlags::HidePrintToFile); // "All", no "Selection"
    }
    // Two rows selected: the dialog opens on "Selection", which prints only them.
    form->lstFileList.selectRow(2);
    form->lstFileList.setRow(0);
    form->lstFileList.setSelected(true);
    printing.chooseSelection = true;
    form->run(u"mnuPrintFileList"_s);
    EXPECT_EQ(printing.shownFlags, PrintFlags::HidePrintToFile | PrintFlags::Selection);
    EXPECT_EQ(printed(), (QStringList {files[0], files[1], files[2], u""_s, files[7], files[8]}));
}

TEST_F(ListPrintoutsTest, longLists_askFromRow726AndNoPrintsNothing)
{
    for (const auto &[count, answer, asked] : {std::tuple {725, MsgBox::No, false}, {726, MsgBox::No, true},
             {800, MsgBox::Yes, true}}) {
        SCOPED_TRACE(count);
        QFile::remove(printing.file());
        projects().clear();
        for (int i = 0; i < count; ++i)
            projects().addRow(u"Project %1"_s.arg(i));
        ui.answers = {answer};
        form->run(u"mnuPrintOutProjects"_s);
        ASSERT_EQ(ui.boxes.size(), asked ? 1u : 0u);
        const QString pages = QString::number(count / 66);
        if (asked) {
            EXPECT_EQ(ui.boxes[0].text + ui.boxes[0].title,
                u"This Printout Will Print Approximately "_s + pages
                    + u" Pages.     \rDo You Want To Print The Project List?\r "_s + pages + u" Page Printout"_s);
            EXPECT_EQ(ui.boxes[0].flags, MsgBox::YesNo | MsgBox::Question);
        }
        EXPECT_EQ(QFileInfo::exists(printing.file()), answer == MsgBox::Yes || !asked);
        ui.boxes.clear();
    }
    EXPECT_TRUE(printing.text().contains(u"Project 799"_s));
    EXPECT_GE(printing.text().count(u'\f'), 2); // on pages of their own
}

TEST_F(ListPrintoutsTest, ctrlPWithTwoCopies_printsTwoDocumentsAndCancelPrintsNothing)
{
    // Two copies are two documents; a later copy never goes over a file that is there.
    printing.copies = 2;
    ui.answers = {MsgBox::Yes};
    topics().userKeyDown(Key::P, Key::CtrlMask);
    for (const QString &pdf : {u"printout.pdf"_s, u"printout-2.pdf"_s})
        EXPECT_EQ(printed(pdf), (QStringList {u"Corvanta Topic List"_s, u"Inbox"_s}));

    QDir(printing.out.path()).removeRecursively();
    QDir().mkpath(printing.out.path());
    printing.cancel = true;
    form->run(u"mnuPrintOutFiles"_s);
    EXPECT_EQ(printing.dialogs, 2);
    EXPECT_EQ(QDir(printing.out.path()).entryList(QDir::Files), QStringList());
}

} // namespace
} // namespace corvanta::test
