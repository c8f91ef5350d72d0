#include "gui/FileSearchWindow.h"

#include "gui/KeyCodes.h"
#include "gui/ListBox.h"
#include "gui/Palette.h"
#include "gui/Twips.h"
#include "search/FileSearchTexts.h"

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QMenu>
#include <QProgressBar>
#include <QRadioButton>
#include <QSignalBlocker>

namespace corvanta {

namespace {

// The window's outer size in twips includes its border and caption; the client area is this
// much smaller.
constexpr float FrameWidth = 90;
constexpr float FrameHeight = 405;

QRect pixels(const TwipsRect &r)
{
    return QRect(toPixels(r.left), toPixels(r.top), toPixels(r.width), toPixels(r.height));
}

// A result as its file name, then its folder in a second, dimmer column; the row's text (and
// tooltip, and what is added or copied) stays the full path.
class ResultDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString path = opt.text;
        opt.text.clear();
        const QWidget *widget = opt.widget;
        QStyle *style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

        const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
        const QVariant foreground = index.data(Qt::ForegroundRole);
        const QColor ink = foreground.isValid() ? foreground.value<QColor>()
                                                : opt.palette.color(QPalette::Text);
        const QVariant background = index.data(Qt::BackgroundRole);
        const QColor paper = background.isValid() ? background.value<QColor>()
                                                  : opt.palette.color(QPalette::Base);
        const int nameWidth = text.width() * 2 / 5;
        const QRect nameRect(text.left(), text.top(), nameWidth - 8, text.height());
        const QRect folderRect(text.left() + nameWidth, text.top(), text.width() - nameWidth, text.height());
        painter->save();
        painter->setFont(opt.font);
        painter->setPen(ink);
        painter->drawText(nameRect, Qt::AlignVCenter | Qt::AlignLeft,
            opt.fontMetrics.elidedText(FileSearchText::resultName(path), Qt::ElideRight, nameRect.width()));
        painter->setPen(mixColours(ink, paper, 0.35));
        painter->drawText(folderRect, Qt::AlignVCenter | Qt::AlignLeft,
            opt.fontMetrics.elidedText(FileSearchText::resultFolder(path), Qt::ElideMiddle, folderRect.width()));
        painter->restore();
    }
};

} // namespace

FileSearchWindow::FileSearchWindow(FileSearch &search, QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
            | Qt::MSWindowsFixedSizeDialogHint),
      search_(search)
{
    setObjectName(QStringLiteral("frmFileSearch"));
    setModal(true);

    txtFileSearch_ = new QLineEdit(this);
    txtFileSearch_->setObjectName(QStringLiteral("txtFileSearch"));
    txtFileSearch_->setPlaceholderText(FileSearchText::patternPlaceholder());
    txtFileSearch_->setAccessibleName(QStringLiteral("Search For"));
    cmdStop_ = new QPushButton(FileSearchText::stopCaption(), this);
    cmdStop_->setObjectName(QStringLiteral("cmdStop"));
    cmdStop_->setFocusPolicy(Qt::NoFocus); // Enter in the text box must not press it
    cmdStop_->hide();
    lblStatus_ = new QLabel(this);
    lblStatus_->setObjectName(QStringLiteral("lblStatus"));
    Drive1_ = new QComboBox(this);
    Drive1_->setObjectName(QStringLiteral("Drive1"));
    Drive1_->setAccessibleName(QStringLiteral("Drive"));
    optMultiple_ = new QRadioButton(FileSearch::optMultipleCaption(), this);
    optMultiple_->setObjectName(QStringLiteral("optMultiple"));
    optMultiple_->setToolTip(FileSearch::optMultipleToolTip());
    optSingle_ = new QRadioButton(FileSearch::optSingleCaption(), this);
    optSingle_->setObjectName(QStringLiteral("optSingle"));
    optSingle_->setToolTip(FileSearch::optSingleToolTip());
    lstFileSearch_ = new ListBox(search.lstFileSearch, this);
    lstFileSearch_->setObjectName(QStringLiteral("lstFileSearch"));
    lstFileSearch_->setAccessibleName(QStringLiteral("Files Found"));
    lstFileSearch_->setItemDelegate(new ResultDelegate(lstFileSearch_));
    ProgressBar1_ = new QProgressBar(this);
    ProgressBar1_->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1_->setTextVisible(false);
    ProgressBar1_->setAccessibleName(QStringLiteral("Progress"));

    connect(txtFileSearch_, &QLineEdit::textEdited, this,
        [this](const QString &text) { search_.txtFileSearch_Change(text); });
    connect(
        Drive1_, &QComboBox::activated, this, [this](int index) { search_.Drive1_Change(index); });
    connect(cmdStop_, &QPushButton::clicked, this, [this] { search_.cmdStop_Click(); });
    connect(optMultiple_, &QRadioButton::clicked, this, [this] { search_.optMultiple_Click(); });
    connect(optSingle_, &QRadioButton::clicked, this, [this] { search_.optSingle_Click(); });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now == txtFileSearch_)
            search_.focusMovedTo(FileSearch::Control::TxtFileSearch);
        else if (now == Drive1_)
            search_.focusMovedTo(FileSearch::Control::Drive1);
    });

    setWindowTitle(search.caption());
    txtFileSearch_->setText(search.txtFileSearch());
    applyLayout();
    syncDrives();
    syncOptions();
    syncProgress();
    syncRunning();
    syncStatus();
    search_.onChanged = [this](FileSearch::Change change) { searchChanged(change); };
    qApp->installEventFilter(this);
    syncFocus();
}

FileSearchWindow::~FileSearchWindow()
{
    qApp->removeEventFilter(this);
    // The focus moves while the widgets go; this window must not hear it any more.
    disconnect(qApp, nullptr, this, nullptr);
    search_.onChanged = nullptr;
}

void FileSearchWindow::applyLayout()
{
    const FileSearch::Layout &l = search_.layout();
    move(toPixels(l.window.left), toPixels(l.window.top));
    setFixedSize(std::max(200, toPixels(l.window.width - FrameWidth)),
        std::max(150, toPixels(l.window.height - FrameHeight)));
    txtFileSearch_->setGeometry(pixels(l.txtFileSearch));
    // The option captions may be wider in this desktop's font than the places designed for
    // them: each takes at least its own width and pushes what follows to the right.
    QRect multiple = pixels(l.optMultiple);
    multiple.setWidth(std::max(multiple.width(), optMultiple_->sizeHint().width()));
    QRect single = pixels(l.optSingle);
    single.moveLeft(std::max(single.left(), multiple.right() + 6));
    single.setWidth(std::max(single.width(), optSingle_->sizeHint().width()));
    QRect drive = pixels(l.Drive1);
    const int driveRight = drive.right();
    drive.setLeft(std::max(drive.left(), single.right() + 6));
    drive.setRight(std::max(driveRight, drive.left() + 80));
    optMultiple_->setGeometry(multiple);
    optSingle_->setGeometry(single);
    Drive1_->setGeometry(drive);
    lstFileSearch_->setGeometry(pixels(l.lstFileSearch));
    ProgressBar1_->setGeometry(pixels(l.ProgressBar1));
    cmdStop_->setGeometry(pixels(l.cmdStop));
    lblStatus_->setGeometry(pixels(l.lblStatus));
}

void FileSearchWindow::searchChanged(FileSearch::Change change)
{
    switch (change) {
    case FileSearch::Change::Caption:
        setWindowTitle(search_.caption());
        break;
    case FileSearch::Change::Text:
        if (txtFileSearch_->text() != search_.txtFileSearch())
            txtFileSearch_->setText(search_.txtFileSearch());
        break;
    case FileSearch::Change::Drives:
        syncDrives();
        break;
    case FileSearch::Change::Options:
        syncOptions();
        break;
    case FileSearch::Change::Progress:
        syncProgress();
        break;
    case FileSearch::Change::Focus:
        syncFocus();
        break;
    case FileSearch::Change::Menu:
        break; // the popup is built from the items each time it opens
    case FileSearch::Change::Popup:
        showPopup();
        break;
    case FileSearch::Change::Close:
        accept();
        break;
    case FileSearch::Change::Running:
        syncRunning();
        break;
    case FileSearch::Change::Status:
        syncStatus();
        break;
    }
}

void FileSearchWindow::syncDrives()
{
    const QSignalBlocker block(Drive1_);
    const QStringList texts = search_.driveTexts();
    QStringList shown;
    for (int i = 0; i < Drive1_->count(); ++i)
        shown << Drive1_->itemText(i);
    if (shown != texts) {
        Drive1_->clear();
        Drive1_->addItems(texts);
    }
    Drive1_->setCurrentIndex(search_.driveIndex());
}

void FileSearchWindow::syncOptions()
{
    optMultiple_->setChecked(search_.optMultiple());
    optSingle_->setChecked(!search_.optMultiple());
}

void FileSearchWindow::syncProgress()
{
    const FileSearch::ProgressBar &bar = search_.ProgressBar1;
    ProgressBar1_->setRange(bar.Min, std::max(bar.Min, bar.Max));
    ProgressBar1_->setValue(std::clamp(bar.Value, bar.Min, std::max(bar.Min, bar.Max)));
    if (bar.Width > 0)
        ProgressBar1_->resize(toPixels(bar.Width), ProgressBar1_->height());
    ProgressBar1_->setVisible(bar.Visible);
    syncStatus(); // the outcome shows where the bar was
}

void FileSearchWindow::syncRunning()
{
    txtFileSearch_->setGeometry(pixels(search_.txtFileSearchPlace()));
    cmdStop_->setVisible(search_.SearchRunning);
}

void FileSearchWindow::syncStatus()
{
    lblStatus_->setText(search_.status());
    lblStatus_->setVisible(!search_.status().isEmpty() && !search_.ProgressBar1.Visible);
}

void FileSearchWindow::syncFocus()
{
    if (search_.focus() == FileSearch::Control::TxtFileSearch)
        txtFileSearch_->setFocus(Qt::OtherFocusReason);
    else if (search_.focus() == FileSearch::Control::Drive1)
        Drive1_->setFocus(Qt::OtherFocusReason);
}

void FileSearchWindow::showPopup()
{
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("mnuNamePointers"));
    for (const MenuItem &item : search_.mnuNamePointers) {
        if (item.isSeparator()) {
            menu.addSeparator();
            continue;
        }
        QAction *action = menu.addAction(item.caption);
        action->setObjectName(item.name);
        action->setCheckable(item.checkable);
        action->setChecked(item.checked);
        action->setEnabled(item.enabled);
    }
    QAction *chosen = choosePopupItem ? choosePopupItem(menu) : menu.exec(QCursor::pos());
    if (chosen)
        search_.menuClick(chosen->objectName());
}

bool FileSearchWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (!watched->isWidgetType() || static_cast<QWidget *>(watched)->window() != this)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress && !QApplication::activePopupWidget()) {
        auto *key = static_cast<QKeyEvent *>(event);
        int code = keyCodeFromQt(key);
        const int shift = shiftFromQt(key->modifiers());
        if (code != 0) {
            // The window first, then the text box; a handler that zeroes the code consumes it.
            search_.Form_KeyDown(code, shift);
            if (code != 0 && watched == txtFileSearch_)
                search_.txtFileSearch_KeyDown(code, shift);
            if (code == 0)
                return true;
        }
    } else if (event->type() == QEvent::MouseButtonDblClick && watched == txtFileSearch_) {
        search_.txtFileSearch_DblClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void FileSearchWindow::done(int result)
{
    // Every way of closing stops the search and clears the results.
    if (!unloaded_) {
        unloaded_ = true;
        search_.Form_Unload();
    }
    QDialog::done(result);
}

} // namespace corvanta
