#include "gui/HelpViewer.h"

#include "app/HelpWindow.h"
#include "gui/Palette.h"
#include "gui/Twips.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include <algorithm>

namespace corvanta {

namespace {

constexpr int urlRole = Qt::UserRole;
constexpr int zoomLimit = 8;

QAction *addButton(QToolBar *bar, const QString &text, const char *theme, QStyle::StandardPixmap fallback,
    const QKeySequence &keys)
{
    QAction *action = bar->addAction(QIcon::fromTheme(QLatin1String(theme), bar->style()->standardIcon(fallback)), text);
    action->setObjectName(QString(text).remove(u' ').remove(u'&'));
    action->setShortcut(keys);
    action->setToolTip(QStringLiteral("%1 (%2)").arg(QString(text).remove(u'&'), keys.toString(QKeySequence::NativeText)));
    return action;
}

} // namespace

HelpViewer::HelpViewer(HelpWindow &window, QWidget *parent) : QWidget(parent, Qt::Window), window_(&window)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(HelpWindow::caption());

    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("txtHelp"));
    browser_->setAccessibleName(QStringLiteral("Help Page"));
    // Every link goes through the core: it knows where the other document lies and opens addresses
    // on the desktop.
    browser_->setOpenLinks(false);
    browser_->setOpenExternalLinks(false);
    connect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl &link) { linkClicked(link); });
    connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl &url) {
        if (window_)
            window_->sourceShown(url);
        markContents(url);
    });

    contents_ = new QTreeWidget(this);
    contents_->setObjectName(QStringLiteral("tvwContents"));
    contents_->setAccessibleName(QStringLiteral("Contents"));
    contents_->setHeaderLabel(QStringLiteral("Contents"));
    contents_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(contents_, &QTreeWidget::itemActivated, this,
        [this](QTreeWidgetItem *item) { linkClicked(item->data(0, urlRole).toUrl()); });
    connect(contents_, &QTreeWidget::itemClicked, this,
        [this](QTreeWidgetItem *item) { linkClicked(item->data(0, urlRole).toUrl()); });

    auto *bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction *back = addButton(bar, QStringLiteral("&Back"), "go-previous", QStyle::SP_ArrowBack, QKeySequence::Back);
    QAction *forward =
        addButton(bar, QStringLiteral("&Forward"), "go-next", QStyle::SP_ArrowForward, QKeySequence::Forward);
    QAction *home = addButton(bar, QStringLiteral("&Contents"), "go-home", QStyle::SP_DirHomeIcon,
        QKeySequence(Qt::ALT | Qt::Key_Home));
    bar->addSeparator();
    QAction *zoomIn = addButton(bar, QStringLiteral("Zoom &In"), "zoom-in", QStyle::SP_ArrowUp, QKeySequence::ZoomIn);
    QAction *zoomOut =
        addButton(bar, QStringLiteral("Zoom &Out"), "zoom-out", QStyle::SP_ArrowDown, QKeySequence::ZoomOut);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(home, &QAction::triggered, this, [this] { linkClicked(QUrl(QStringLiteral("#contents"))); });
    connect(zoomIn, &QAction::triggered, this, [this] { zoom(1); });
    connect(zoomOut, &QAction::triggered, this, [this] { zoom(-1); });

    bar->addSeparator();
    auto *findLabel = new QLabel(QStringLiteral("Fi&nd:"), bar);
    findField_ = new QLineEdit(bar);
    findField_->setObjectName(QStringLiteral("txtFind"));
    findField_->setClearButtonEnabled(true);
    findField_->setPlaceholderText(QStringLiteral("Find in this page"));
    findField_->setMaximumWidth(220);
    findLabel->setBuddy(findField_);
    bar->addWidget(findLabel);
    bar->addWidget(findField_);
    QAction *previous = bar->addAction(QStringLiteral("&Previous"));
    previous->setObjectName(QStringLiteral("Previous"));
    previous->setShortcut(QKeySequence::FindPrevious);
    QAction *next = bar->addAction(QStringLiteral("&Next"));
    next->setObjectName(QStringLiteral("Next"));
    next->setShortcut(QKeySequence::FindNext);
    findResult_ = new QLabel(bar);
    bar->addWidget(findResult_);
    auto *find = new QAction(this);
    find->setShortcut(QKeySequence::Find);
    addAction(find);
    connect(find, &QAction::triggered, this, [this] {
        findField_->setFocus(Qt::ShortcutFocusReason);
        findField_->selectAll();
    });
    connect(findField_, &QLineEdit::returnPressed, this, [this] {
        findText(findField_->text(), QApplication::keyboardModifiers() & Qt::ShiftModifier);
    });
    connect(findField_, &QLineEdit::textEdited, this, [this] { findResult_->clear(); });
    connect(next, &QAction::triggered, this, [this] { findText(findField_->text()); });
    connect(previous, &QAction::triggered, this, [this] { findText(findField_->text(), true); });

    split_ = new QSplitter(this);
    split_->addWidget(contents_);
    split_->addWidget(browser_);
    split_->setStretchFactor(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(split_);

    fillContents();
    browser_->installEventFilter(this);
    applyLinkColour();
    resize(toPixels(window_->width()), toPixels(window_->height()));
    // The contents pane as wide as its longest entry needs.
    const QFontMetrics metrics(contents_->font());
    const int textMargin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, contents_) + 1);
    for (QTreeWidgetItemIterator it(contents_); *it; ++it) {
        const int depth = (*it)->parent() ? 2 : 1;
        contentsWidth_ = std::max(contentsWidth_, depth * contents_->indentation() + metrics.horizontalAdvance((*it)->text(0)) + textMargin);
    }
    contentsWidth_ += 2 * contents_->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, contents_);
    fitContentsPane();
    window_->onChanged = [this] { follow(); };
    window_->onDestroyed = [this] {
        window_ = nullptr;
        hide();
    };
    // Closing the program with the help window open keeps its size too.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        if (isVisible())
            storeSize();
    });
}

HelpViewer::~HelpViewer()
{
    if (window_) {
        window_->onChanged = nullptr;
        window_->onDestroyed = nullptr;
    }
}

QSize HelpViewer::openingSize() const
{
    const QSize stored(toPixels(window_->width()), toPixels(window_->height()));
    return {std::max(stored.width(), contentsWidth_ * 5 / 3), stored.height()};
}

void HelpViewer::fitContentsPane()
{
    const int pane = std::clamp(contentsWidth_, toPixels(3300), width() * 3 / 5);
    split_->setSizes({pane, width() - pane});
}

void HelpViewer::fillContents()
{
    contents_->clear();
    for (const HelpTopic &document : window_->contents()) {
        auto *item = new QTreeWidgetItem(contents_, {document.title});
        item->setData(0, urlRole, document.url);
        for (const HelpTopic &section : document.sections) {
            auto *child = new QTreeWidgetItem(item, {section.title});
            child->setData(0, urlRole, section.url);
        }
        item->setExpanded(true);
    }
}

void HelpViewer::markContents(const QUrl &url)
{
    const QSignalBlocker quiet(contents_);
    for (int i = 0; i < contents_->topLevelItemCount(); ++i) {
        QTreeWidgetItem *document = contents_->topLevelItem(i);
        for (int j = 0; j < document->childCount(); ++j) {
            if (document->child(j)->data(0, urlRole).toUrl() == url) {
                contents_->setCurrentItem(document->child(j));
                return;
            }
        }
    }
}

void HelpViewer::linkClicked(const QUrl &link)
{
    if (window_)
        window_->linkClicked(link);
}

QRect HelpViewer::placeBeside(const QRect &owner, const QSize &wanted, const QRect &available)
{
    const QSize size = wanted.boundedTo(available.size());
    const int roomRight = available.right() - owner.right();
    const int roomLeft = owner.left() - available.left();
    const int x = roomRight >= size.width() || roomRight >= roomLeft ? owner.right() + 1 : owner.left() - size.width();
    const int y = owner.top();
    // Where there is not room enough on either side, it overlaps the owner but stays on screen.
    return QRect(std::clamp(x, available.left(), available.right() + 1 - size.width()),
                 std::clamp(y, available.top(), available.bottom() + 1 - size.height()), size.width(), size.height());
}

QColor HelpViewer::linkColour() const
{
    const QPalette palette = browser_->palette();
    return readableColour(palette.color(QPalette::Link), palette.color(QPalette::Text), palette.color(QPalette::Base), 4.5);
}

void HelpViewer::applyLinkColour()
{
    // The page takes the colour when it is read: a new colour reads the page again.
    const QString sheet = QStringLiteral("a { color: %1; }").arg(linkColour().name());
    if (browser_->document()->defaultStyleSheet() == sheet)
        return;
    browser_->document()->setDefaultStyleSheet(sheet);
    if (!browser_->source().isEmpty())
        browser_->reload();
}

bool HelpViewer::eventFilter(QObject *watched, QEvent *event)
{
    // The page's own palette: a style sheet may give it colours of its own.
    if (watched == browser_ && (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange))
        applyLinkColour();
    return QWidget::eventFilter(watched, event);
}

void HelpViewer::follow()
{
    if (!window_)
        return;
    const QUrl source = window_->source();
    if (browser_->source() != source)
        browser_->setSource(source, QTextDocument::HtmlResource);
}

bool HelpViewer::findText(const QString &text, bool backwards)
{
    if (text.isEmpty()) {
        findResult_->clear();
        return false;
    }
    const QTextDocument::FindFlags flags = backwards ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    bool found = browser_->find(text, flags);
    if (!found) {
        // Round once from the other end of the page.
        const QTextCursor kept = browser_->textCursor();
        browser_->moveCursor(backwards ? QTextCursor::End : QTextCursor::Start);
        found = browser_->find(text, flags);
        if (!found)
            browser_->setTextCursor(kept);
    }
    findResult_->setText(found ? QString() : QStringLiteral("  Not found"));
    if (!found)
        QApplication::beep();
    return found;
}

void HelpViewer::zoom(int steps)
{
    const int target = std::clamp(zoom_ + steps, -zoomLimit / 2, zoomLimit);
    if (target == zoom_)
        return;
    browser_->zoomIn(target - zoom_);
    zoom_ = target;
}

void HelpViewer::storeSize()
{
    if (window_)
        window_->Form_Unload(int(toTwips(width())), int(toTwips(height())));
}

void HelpViewer::closeEvent(QCloseEvent *event)
{
    storeSize();
    QWidget::closeEvent(event);
}

void HelpViewer::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace corvanta
