#include "gui/ListBox.h"

#include "gui/KeyCodes.h"
#include "gui/ListModel.h"
#include "gui/Palette.h"
#include "gui/Twips.h"
#include "platform/Keys.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QTimer>
#include <QUrl>

#include <algorithm>

namespace corvanta {

class ListBox::Follower : public ListControlObserver
{
public:
    explicit Follower(ListBox &view) : view_(view) { }

    void listReset() override { view_.followReset(); }
    void rowsInserted(int, int) override { }
    void rowsRemoved(int, int) override { }
    void rowsChanged(int, int) override { }
    void currentRowChanged(int row) override { view_.showCurrentRow(row); }
    void appearanceChanged() override { view_.applyAppearance(); }
    void focusRequested() override { view_.setFocus(Qt::OtherFocusReason); }

private:
    ListBox &view_;
};

ListBox::ListBox(ListControl &control, QWidget *parent)
    : QTableView(parent),
      control_(control),
      model_(new ListModel(control, this)),
      follower_(std::make_unique<Follower>(*this))
{
    setModel(model_);
    // After the model: on a reset the model has its new rows before the view looks at them.
    control_.addObserver(follower_.get());

    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(1);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setDragEnabled(false);
    setAutoScroll(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setTextElideMode(Qt::ElideRight);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    // Right-button handling (and any popup menu) belongs to the list's MouseDown handler.
    setContextMenuPolicy(Qt::PreventContextMenu);
    setFocusPolicy(Qt::StrongFocus);

    model_->setPalette(palette());
    applyAppearance();
    showCurrentRow(control_.ListIndex());
}

ListBox::~ListBox()
{
    control_.removeObserver(follower_.get());
}

int ListBox::pageRows() const
{
    const int rowHeight = std::max(1, verticalHeader()->defaultSectionSize());
    return std::max(1, viewport()->height() / rowHeight - 1);
}

QPoint ListBox::currentRowPopupPoint() const
{
    const QRect row = visualRect(currentIndex());
    const QPoint local = row.isValid() ? QPoint(row.left() + row.height(), row.bottom())
                                       : QPoint(0, 0);
    return viewport()->mapToGlobal(local);
}

void ListBox::applyAppearance()
{
    const QFont listFont = model_->font();
    if (font() != listFont)
        setFont(listFont);
    verticalHeader()->setDefaultSectionSize(QFontMetrics(listFont).height() + 2);
    setShowGrid(control_.gridLines() == GridLines::Shown);

    // Column 0 fills the list; the others take their own width and vanish without one.
    QHeaderView *header = horizontalHeader();
    for (int col = 0; col < model_->columnCount(); ++col) {
        const double twips = control_.ColWidth(col);
        setColumnHidden(col, control_.ColHide(col) || (col > 0 && twips <= 0));
        if (col == 0) {
            header->setSectionResizeMode(col, QHeaderView::Stretch);
        } else {
            header->setSectionResizeMode(col, QHeaderView::Fixed);
            header->resizeSection(col, std::max(1, toPixels(twips)));
        }
    }
}

void ListBox::showCurrentRow(int row)
{
    const QModelIndex index =
        row >= 0 && row < model_->rowCount() ? model_->index(row, 0) : QModelIndex();
    if (selectionModel()->currentIndex() != index)
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    if (index.isValid())
        scrollTo(index);
    viewport()->update(); // the focus mark spans the row, beyond the cell the view repaints
}

void ListBox::paintEvent(QPaintEvent *event)
{
    QTableView::paintEvent(event);
    // The list with the keyboard outlines its current row, selected or not, in any palette;
    // without one (an empty list) the place of a first row.
    if (!hasFocus())
        return;
    const QModelIndex current = currentIndex();
    const QRect cell = current.isValid() ? visualRect(current) : QRect(0, 0, 1, verticalHeader()->defaultSectionSize());
    const QRect row(0, cell.top(), viewport()->width(), cell.height());
    const QVariant painted = current.data(Qt::BackgroundRole);
    const QColor behind = painted.canConvert<QColor>() ? painted.value<QColor>() : palette().color(QPalette::Base);
    QPainter painter(viewport());
    painter.setPen(QPen(focusMarkColour(palette(), behind), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(row).adjusted(1, 1, -1, -1));
}

void ListBox::followReset()
{
    applyAppearance(); // a reset rebuilds the header sections
    showCurrentRow(control_.ListIndex());
}

// --- what the user does, handed to the control ---

bool ListBox::event(QEvent *event)
{
    // Focus moved by the program while the window was inactive shows up only at activation.
    if (event->type() == QEvent::WindowActivate)
        reportFocus(window()->focusWidget() == this);
    return QTableView::event(event);
}

void ListBox::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        model_->setPalette(palette());
    QTableView::changeEvent(event);
}

void ListBox::mousePressEvent(QMouseEvent *event)
{
    const int button = mouseButtonFromQt(event->button());
    if (button == Mouse::NoButton) {
        event->ignore();
        return;
    }
    typed_.clear();
    event->accept();
    pressed_ = event->button() == Qt::LeftButton;
    pressPos_ = event->position().toPoint();
    control_.userMouseDown(
        rowAt(event->position().toPoint().y()), button, shiftFromQt(event->modifiers()));
}

void ListBox::mouseReleaseEvent(QMouseEvent *event)
{
    pressed_ = false;
    event->accept(); // the press did all there is to do
}

void ListBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        mousePressEvent(event); // a quick second right press is just another press
        return;
    }
    event->accept();
    control_.userDoubleClick(rowAt(event->position().toPoint().y()));
}

void ListBox::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    if (startsPointerDrags_ && pressed_ && (event->buttons() & Qt::LeftButton)
        && control_.SelCount() > 0
        && (event->position().toPoint() - pressPos_).manhattanLength()
            >= QApplication::startDragDistance()) {
        pressed_ = false;
        auto *drag = new QDrag(this);
        auto *mime = new QMimeData;
        mime->setData(pointerDragFormat(), QByteArrayLiteral("pointers"));
        drag->setMimeData(mime);
        drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
        return;
    }
    control_.userMouseMove(rowAt(event->position().toPoint().y()), mouseButtonsFromQt(event->buttons()),
        shiftFromQt(event->modifiers()));
}

void ListBox::keyPressEvent(QKeyEvent *event)
{
    const bool popupKey = event->key() == Qt::Key_Menu
        || (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (popupKey) {
        typed_.clear();
        event->accept();
        const QScopedValueRollback<bool> during(popupKeyPressed_, true);
        control_.userPopupKey();
        return;
    }
    const bool typing = !typed_.isEmpty() && lastTyped_.isValid()
        && lastTyped_.elapsed() <= QApplication::keyboardInputInterval();
    // Keys without a code (modifiers alone, accented letters) skip KeyDown.
    const int code = keyCodeFromQt(event);
    if (code != Key::None
        && control_.userKeyDown(code, shiftFromQt(event->modifiers()), pageRows(), typing)) {
        typed_.clear();
        event->accept();
        return;
    }
    const QString text = event->text();
    const bool printable =
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        && !text.isEmpty() && text.front().isPrint();
    if (!printable) {
        event->ignore(); // F-keys, Enter, Escape and the like are the window's
        return;
    }
    if (!typing)
        typed_.clear();
    typed_ += text;
    lastTyped_.start();
    event->accept();
    control_.userKeyboardSearch(typed_);
}

void ListBox::focusInEvent(QFocusEvent *event)
{
    // Not the item view's own handler: it would make the first row current on its own.
    QFrame::focusInEvent(event); // NOLINT(bugprone-parent-virtual-call)
    viewport()->update();
    reportFocus(true);
}

void ListBox::focusOutEvent(QFocusEvent *event)
{
    QFrame::focusOutEvent(event); // NOLINT(bugprone-parent-virtual-call)
    viewport()->update();
    // A popup menu or another window taking over does not move the focus within this window.
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
        reportFocus(window()->focusWidget() == this);
    else
        reportFocus(false);
}

void ListBox::reportFocus(bool focus)
{
    control_.setHasFocus(focus);
}

// --- files dropped from a file manager ---

void ListBox::setAcceptsFileDrops(bool on)
{
    acceptsFileDrops_ = on;
    setAcceptDrops(on);
    viewport()->setAcceptDrops(on);
}

QStringList ListBox::droppedFiles(const QMimeData *mime)
{
    QStringList paths;
    if (!mime || !mime->hasUrls())
        return paths;
    for (const QUrl &url : mime->urls()) {
        if (!url.isLocalFile())
            return {};
        paths << url.toLocalFile();
    }
    return paths;
}

bool ListBox::acceptFileDrag(QDropEvent *event)
{
    if (!acceptsFileDrops_ || droppedFiles(event->mimeData()).isEmpty()) {
        event->ignore();
        return false;
    }
    // A pointer links to the file; never take a move, which would have the source delete it.
    const Qt::DropActions possible = event->possibleActions();
    if (possible & Qt::LinkAction) {
        event->setDropAction(Qt::LinkAction);
    } else if (possible & Qt::CopyAction) {
        event->setDropAction(Qt::CopyAction);
    } else {
        event->ignore();
        return false;
    }
    event->accept();
    return true;
}

void ListBox::setAcceptsPointerDrops(bool on)
{
    acceptsPointerDrops_ = on;
    setAcceptDrops(on || acceptsFileDrops_);
    viewport()->setAcceptDrops(on || acceptsFileDrops_);
}

bool ListBox::acceptPointerDrag(QDropEvent *event)
{
    if (!acceptsPointerDrops_ || !event->mimeData()
        || !event->mimeData()->hasFormat(pointerDragFormat()))
        return false;
    event->setDropAction(
        event->modifiers() & Qt::ControlModifier ? Qt::CopyAction : Qt::MoveAction);
    event->accept();
    return true;
}

void ListBox::dragEnterEvent(QDragEnterEvent *event)
{
    if (!acceptPointerDrag(event))
        acceptFileDrag(event);
}

void ListBox::dragMoveEvent(QDragMoveEvent *event)
{
    if (!acceptPointerDrag(event))
        acceptFileDrag(event);
}

void ListBox::dropEvent(QDropEvent *event)
{
    if (acceptPointerDrag(event)) {
        const int row = rowAt(event->position().toPoint().y());
        const bool copy = event->dropAction() == Qt::CopyAction;
        // Acted on once the drag is over: its boxes must not open inside it.
        if (row >= 0)
            QTimer::singleShot(0, this, [this, row, copy] { emit pointersDropped(row, copy); });
        return;
    }
    if (!acceptFileDrag(event))
        return;
    const QStringList paths = droppedFiles(event->mimeData());
    const int row = rowAt(event->position().toPoint().y());
    // The editors open after the drop is over, so the file manager is not kept waiting.
    QTimer::singleShot(0, this, [this, paths, row] { emit filesDropped(paths, row); });
}

} // namespace corvanta
