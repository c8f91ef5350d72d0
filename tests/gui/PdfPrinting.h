#pragma once

#include "gui/QtPrinting.h"
#include "support/FormFixture.h"
#include "support/TempFolder.h"

#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>

namespace corvanta::test {

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

    static bool canReadPdf() { return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(); }

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

// The whole program printing to PDF files.
class PdfFormFixture : public FormFixture
{
protected:
    PdfPrintService printing;

    Platform platform() override
    {
        Platform p = FormFixture::platform();
        p.printing = &printing;
        return p;
    }
};

} // namespace corvanta::test
