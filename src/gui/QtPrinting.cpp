#include "gui/QtPrinting.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <vector>

namespace corvanta {

namespace {

// A document on a QPainter over the printer: lines placed top to bottom in the page's printable
// area, a new page when the next line would not fit.
class QtPrintDocument : public PrintDocument
{
public:
    explicit QtPrintDocument(QPrinter &printer) : printer_(printer)
    {
        active_ = painter_.begin(&printer_);
        font_ = painter_.font();
    }
    ~QtPrintDocument() override
    {
        if (painter_.isActive())
            painter_.end();
    }
    bool active() const { return active_; }

    void setFontName(const QString &family) override { font_.setFamily(family); }
    void setFontSize(double points) override { font_.setPointSizeF(points); }
    void setBold(bool bold) override { font_.setBold(bold); }
    QString fontName() const override { return font_.family(); }
    double fontSize() const override { return font_.pointSizeF(); }
    bool bold() const override { return font_.bold(); }
    double averageCharWidth() const override
    {
        return averageWidthPixels() * 72.0 / printer_.resolution();
    }

    void printAt(int column, const QString &text) override
    {
        const QFontMetricsF metrics(font_, &printer_);
        pieces_.push_back({std::max(0, column - 1) * averageWidthPixels(), text, font_});
        lineHeight_ = std::max(lineHeight_, metrics.lineSpacing());
        ascent_ = std::max(ascent_, metrics.ascent());
    }

    void endLine() override
    {
        if (!painter_.isActive())
            return;
        if (pieces_.empty()) {
            const QFontMetricsF metrics(font_, &printer_);
            lineHeight_ = metrics.lineSpacing();
        }
        const double pageHeight =
            printer_.pageLayout().paintRectPixels(printer_.resolution()).height();
        if (y_ > 0 && y_ + lineHeight_ > pageHeight) {
            printer_.newPage();
            y_ = 0;
        }
        for (const Piece &piece : pieces_) {
            painter_.setFont(piece.font);
            painter_.drawText(QPointF(piece.x, y_ + ascent_), piece.text);
        }
        y_ += lineHeight_;
        pieces_.clear();
        lineHeight_ = 0;
        ascent_ = 0;
    }

    void endDoc() override
    {
        if (!pieces_.empty())
            endLine();
        if (painter_.isActive())
            painter_.end();
    }

private:
    struct Piece
    {
        double x;
        QString text;
        QFont font;
    };
    QPrinter &printer_;
    QPainter painter_;
    QFont font_;
    bool active_ = false;
    std::vector<Piece> pieces_;
    double y_ = 0;
    double lineHeight_ = 0;
    double ascent_ = 0;

    double averageWidthPixels() const
    {
        const QFontMetricsF metrics(font_, &printer_);
        const double width = metrics.averageCharWidth();
        return width > 0 ? width : metrics.horizontalAdvance(u'x');
    }
};

QPageLayout::Orientation toQt(PageOrientation o)
{
    return o == PageOrientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}

} // namespace

QtPrintService::QtPrintService()
    : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) { }

QtPrintService::~QtPrintService() = default;

bool QtPrintService::hasPrinters()
{
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

QString QtPrintService::copyFileName(const QString &file, int copy)
{
    const QFileInfo info(file);
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    const QString base = info.dir().filePath(info.completeBaseName());
    QString name;
    for (int n = copy; name.isEmpty() || QFileInfo::exists(name); ++n)
        name = base + u'-' + QString::number(n) + suffix;
    return name;
}

bool QtPrintService::showPrintDialog()
{
    // The dialog opens on the user's own file name, not on the last copy's.
    if (!jobFile_.isEmpty())
        printer_->setOutputFileName(jobFile_);
    if (!runDialog())
        return false;
    jobFile_ = printer_->outputFileName();
    jobDocuments_ = 0;
    return true;
}

bool QtPrintService::runDialog()
{
    PrintDialogSettings &settings = dialogSettings;
    printer_->setCopyCount(std::max(1, settings.copies));
    printer_->setPageOrientation(toQt(settings.orientation));
    QPrintDialog dialog(printer_.get(), QApplication::activeWindow());
    // Without a printer a PDF file is the only place a printout can go.
    dialog.setOption(QAbstractPrintDialog::PrintToFile,
        !(settings.flags & PrintFlags::HidePrintToFile) || !hasPrinters());
    const bool selection = settings.flags & PrintFlags::Selection;
    dialog.setOption(QAbstractPrintDialog::PrintSelection, selection);
    dialog.setPrintRange(
        selection ? QAbstractPrintDialog::Selection : QAbstractPrintDialog::AllPages);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    settings.flags = (settings.flags & ~PrintFlags::Selection)
        | (dialog.printRange() == QAbstractPrintDialog::Selection ? PrintFlags::Selection : 0);
    settings.copies = std::max(1, printer_->copyCount());
    settings.orientation = printer_->pageLayout().orientation() == QPageLayout::Landscape
        ? PageOrientation::Landscape
        : PageOrientation::Portrait;
    // Each copy is a document of its own: the printer must not multiply them again.
    printer_->setCopyCount(1);
    return true;
}

std::unique_ptr<PrintDocument> QtPrintService::startDocument(PageOrientation orientation)
{
    printer_->setPageOrientation(toQt(orientation));
    ++jobDocuments_;
    if (!jobFile_.isEmpty())
        printer_->setOutputFileName(
            jobDocuments_ == 1 ? jobFile_ : copyFileName(jobFile_, jobDocuments_));
    auto doc = std::make_unique<QtPrintDocument>(*printer_);
    if (!doc->active())
        return nullptr;
    return doc;
}

} // namespace corvanta
