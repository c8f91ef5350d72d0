#pragma once

#include "platform/Printing.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace corvanta::test {

// One line as printed: where it starts, its text and the font it was printed in.
struct PrintedLine
{
    int column = 0; // 0 for an empty line
    QString text;
    double size = 0;
    bool bold = false;
};

struct PrintedDocument
{
    PageOrientation orientation = PageOrientation::Portrait;
    std::vector<PrintedLine> lines;
    bool ended = false;
};

// A print service whose dialog answers from a script and whose printer records every line.
class FakePrinter : public PrintService
{
public:
    bool cancel = false; // the user cancels the dialog
    PrintDialogSettings choice; // what the user picks when not cancelling
    int dialogs = 0;
    PrintDialogSettings shownWith; // the settings the dialog last opened with
    std::vector<PrintedDocument> documents;

    bool showPrintDialog() override
    {
        ++dialogs;
        shownWith = dialogSettings;
        if (cancel)
            return false;
        dialogSettings = choice;
        return true;
    }

    std::unique_ptr<PrintDocument> startDocument(PageOrientation orientation) override
    {
        documents.push_back({orientation, {}, false});
        return std::make_unique<Document>(*this, documents.size() - 1);
    }

    // The texts of one document's lines, empty lines included.
    QStringList texts(size_t document = 0) const
    {
        QStringList out;
        for (const PrintedLine &line : documents.at(document).lines)
            out << line.text;
        return out;
    }

private:
    class Document : public PrintDocument
    {
    public:
        Document(FakePrinter &printer, size_t index) : printer_(printer), index_(index) { }
        void setFontName(const QString &family) override { name_ = family; }
        void setFontSize(double points) override { size_ = points; }
        void setBold(bool bold) override { bold_ = bold; }
        QString fontName() const override { return name_; }
        double fontSize() const override { return size_; }
        bool bold() const override { return bold_; }
        double averageCharWidth() const override { return size_ / 2; }
        void printAt(int column, const QString &text) override
        {
            line_.column = column;
            line_.text += text;
            line_.size = size_;
            line_.bold = bold_;
        }
        void endLine() override
        {
            if (line_.column == 0) {
                line_.size = size_;
                line_.bold = bold_;
            }
            doc().lines.push_back(line_);
            line_ = PrintedLine();
        }
        void endDoc() override { doc().ended = true; }

    private:
        FakePrinter &printer_;
        size_t index_;
        QString name_ = QStringLiteral("Sans");
        double size_ = 10;
        bool bold_ = false;
        PrintedLine line_;
        PrintedDocument &doc() { return printer_.documents[index_]; }
    };
};

} // namespace corvanta::test
