#include "gui/PointerPlacesWindows.h"

#include "gui/Modal.h"
#include "gui/QtUi.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace corvanta {

namespace {

QTreeView *makeResults(QAbstractItemModel *model, QWidget *parent)
{
    auto *view = new QTreeView(parent);
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true); // keeps 100,000 rows quick
    view->setAllColumnsShowFocus(true);
    view->setModel(model);
    view->header()->setStretchLastSection(true);
    view->setColumnWidth(0, 220);
    view->setColumnWidth(1, 300);
    return view;
}

} // namespace

// --- PlacesModel ---

PlacesModel::PlacesModel(QStringList headers, std::function<int()> rows,
    std::function<QString(int, int)> cell, QObject *parent)
    : QAbstractTableModel(parent), headers_(std::move(headers)), rows_(std::move(rows)),
      cell_(std::move(cell)), shown_(rows_())
{
}

int PlacesModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : shown_;
}

int PlacesModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(headers_.size());
}

QVariant PlacesModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    return cell_(index.row(), index.column());
}

QVariant PlacesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section >= headers_.size())
        return {};
    return headers_.at(section);
}

void PlacesModel::reset()
{
    beginResetModel();
    shown_ = rows_();
    endResetModel();
}

void PlacesModel::grow()
{
    const int rows = rows_();
    if (rows <= shown_)
        return;
    beginInsertRows({}, shown_, rows - 1);
    shown_ = rows;
    endInsertRows();
}

// --- FindPointerWindow ---

FindPointerWindow::FindPointerWindow(PointerFinder &finder, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      finder_(finder)
{
    setObjectName(QStringLiteral("frmFindPointer"));
    setWindowTitle(PointerFinder::caption());
    setModal(true);
    filter_ = new QLineEdit(this);
    filter_->setObjectName(QStringLiteral("txtFindPointer"));
    filter_->setAccessibleName(QStringLiteral("Find"));
    model_ = new PlacesModel(
        {QStringLiteral("Name"), QStringLiteral("Target"), QStringLiteral("Place")},
        [this] { return finder_.resultCount(); },
        [this](int row, int column) {
            const PointerPlace &place = finder_.result(row);
            return column == 0 ? place.name() : column == 1 ? place.target() : place.where();
        },
        this);
    results_ = makeResults(model_, this);
    results_->setObjectName(QStringLiteral("lstFindPointer"));
    results_->setAccessibleName(QStringLiteral("Pointers Found"));
    results_->setSelectionMode(QAbstractItemView::SingleSelection);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(filter_);
    layout->addWidget(results_);
    resize(900, 480);

    finder_.onChanged = [this](PointerFinder::Change change) {
        if (change == PointerFinder::Change::Close) {
            accept();
            return;
        }
        model_->reset();
        if (model_->rowCount() > 0)
            results_->setCurrentIndex(model_->index(0, 0));
    };
    connect(filter_, &QLineEdit::textEdited, this,
        [this](const QString &text) { finder_.setFilter(text); });
    connect(results_, &QTreeView::doubleClicked, this,
        [this](const QModelIndex &index) { finder_.openResult(index.row()); });
    filter_->installEventFilter(this);
    results_->installEventFilter(this);
    finder_.onChanged(PointerFinder::Change::Results);
    filter_->setFocus();
}

int FindPointerWindow::currentRow() const
{
    const QModelIndex index = results_->currentIndex();
    return index.isValid() ? index.row() : -1;
}

bool FindPointerWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter) {
            if (key->modifiers() & Qt::ControlModifier)
                finder_.launchResult(currentRow());
            else
                finder_.openResult(currentRow());
            return true;
        }
        // The arrows move through the results while the filter box keeps the focus.
        const bool move = key->key() == Qt::Key_Down || key->key() == Qt::Key_Up
            || key->key() == Qt::Key_PageDown || key->key() == Qt::Key_PageUp;
        if (watched == filter_ && move) {
            QCoreApplication::sendEvent(results_, event);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// --- MissingTargetsWindow ---

MissingTargetsWindow::MissingTargetsWindow(MissingTargets &window, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      window_(window)
{
    setObjectName(QStringLiteral("frmMissingTargets"));
    setWindowTitle(MissingTargets::caption());
    setModal(true);
    model_ = new PlacesModel({QStringLiteral("Name"), QStringLiteral("Target"),
                                 QStringLiteral("Place"), QStringLiteral("State")},
        [this] { return int(window_.rows().size()); },
        [this](int row, int column) {
            const MissingTargets::Row &r = window_.rows()[size_t(row)];
            switch (column) {
            case 0: return r.place.name();
            case 1: return r.place.target();
            case 2: return r.place.where();
            default: return MissingTargets::stateText(r.state);
            }
        },
        this);
    results_ = makeResults(model_, this);
    results_->setObjectName(QStringLiteral("lstMissingTargets"));
    results_->setAccessibleName(QStringLiteral("Missing Targets"));
    results_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto *summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("lblMissingTargets"));
    goTo_ = new QPushButton(QStringLiteral("&Go To"), this);
    locate_ = new QPushButton(QStringLiteral("&Locate..."), this);
    locate_->setObjectName(QStringLiteral("cmdLocate"));
    findMoved_ = new QPushButton(QStringLiteral("Find &Moved"), this);
    findMoved_->setObjectName(QStringLiteral("cmdFindMoved"));
    remove_ = new QPushButton(QStringLiteral("&Remove Selected"), this);
    auto *close = new QPushButton(QStringLiteral("&Close"), this);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(summary, 1);
    buttons->addWidget(goTo_);
    buttons->addWidget(locate_);
    buttons->addWidget(findMoved_);
    buttons->addWidget(remove_);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(results_);
    layout->addLayout(buttons);
    resize(1000, 480);

    auto showSummary = [this, summary] {
        QString text = QString::number(window_.rows().size()) + QStringLiteral(" Of ")
            + QString::number(window_.checkedCount()) + QStringLiteral(" File Pointers");
        if (window_.checking())
            text += QStringLiteral(" - Checking ") + QString::number(window_.checkedCount() + 1)
                + QStringLiteral(" Of ") + QString::number(window_.fileTargetCount());
        summary->setText(text);
    };
    window_.onChanged = [this, showSummary](MissingTargets::Change change) {
        if (change == MissingTargets::Change::Close) {
            accept();
            return;
        }
        // Rows the check adds keep the user's selection; a removal shows the rows anew.
        if (change == MissingTargets::Change::Checked)
            model_->grow();
        else
            model_->reset();
        // The buttons act on the current row: there is always one, so Alt+L and Alt+M work at
        // once. It is not selected, so Remove Selected still takes only what the user chose.
        if (!results_->currentIndex().isValid() && model_->rowCount() > 0)
            results_->selectionModel()->setCurrentIndex(model_->index(0, 0), QItemSelectionModel::NoUpdate);
        showSummary();
    };
    showSummary();
    // The rows come in as they are checked, between the user's events.
    auto *poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, [this, poll] {
        window_.update();
        if (!window_.checking())
            poll->stop();
    });
    poll->start(25);
    connect(results_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        [this] { syncSelection(); });
    connect(results_, &QTreeView::doubleClicked, this,
        [this](const QModelIndex &index) { window_.goTo(index.row()); });
    connect(goTo_, &QPushButton::clicked, this, [this] {
        const QModelIndex index = results_->currentIndex();
        if (index.isValid())
            window_.goTo(index.row());
    });
    connect(locate_, &QPushButton::clicked, this, [this] {
        const QModelIndex index = results_->currentIndex();
        if (index.isValid())
            window_.locate(index.row());
    });
    window_.chooseMoved = [this](MissingTargets::MovedSearch &search) {
        return chooseMovedFile(search, this);
    };
    connect(findMoved_, &QPushButton::clicked, this, [this] {
        const QModelIndex index = results_->currentIndex();
        if (index.isValid())
            window_.findMoved(index.row());
    });
    connect(remove_, &QPushButton::clicked, this, [this] {
        syncSelection();
        window_.removeSelected();
        // The rows changed under the view: nothing stays selected.
        syncSelection();
    });
    connect(close, &QPushButton::clicked, this, [this] { window_.close(); });
}

// --- MovedFilesWindow ---

MovedFilesWindow::MovedFilesWindow(MissingTargets::MovedSearch &search, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      search_(search)
{
    setObjectName(QStringLiteral("frmMovedFiles"));
    setWindowTitle(MissingTargets::movedCaption());
    model_ = new PlacesModel({QStringLiteral("Name"), QStringLiteral("Folder"), QStringLiteral("Modified")},
        [this] { return int(search_.found().size()); },
        [this](int row, int column) {
            const MissingTargets::MovedFile &file = search_.found()[size_t(row)];
            switch (column) {
            case 0: return QFileInfo(file.path).fileName();
            case 1: return file.folder;
            default:
                return QLocale().toString(QDateTime::fromSecsSinceEpoch(file.modified), QLocale::ShortFormat);
            }
        },
        this);
    results_ = makeResults(model_, this);
    results_->setObjectName(QStringLiteral("lstMovedFiles"));
    results_->setAccessibleName(QStringLiteral("Moved Files"));
    progress_ = new QLabel(this);
    progress_->setObjectName(QStringLiteral("lblMovedFiles"));
    relink_ = new QPushButton(QStringLiteral("&Relink"), this);
    relink_->setDefault(true); // Enter relinks to the current row
    stop_ = new QPushButton(QStringLiteral("&Stop"), this);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(progress_, 1);
    buttons->addWidget(relink_);
    buttons->addWidget(stop_);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(results_);
    layout->addLayout(buttons);
    resize(800, 320);
    connect(relink_, &QPushButton::clicked, this, [this] {
        if (chosenRow() >= 0)
            accept();
    });
    connect(stop_, &QPushButton::clicked, this, [this] {
        search_.stop();
        takeNews();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(results_, &QTreeView::doubleClicked, this, &QDialog::accept);
    takeNews();
    // The walk's news come in between the user's events.
    auto *poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, [this, poll] {
        takeNews();
        if (!search_.running())
            poll->stop();
    });
    poll->start(25);
}

void MovedFilesWindow::takeNews()
{
    // The rows are kept newest first: the current file stays current wherever it goes.
    const int current = chosenRow();
    const QString path = current >= 0 ? search_.found()[size_t(current)].path : QString();
    if (search_.update()) {
        model_->reset();
        int row = 0;
        for (size_t i = 0; i < search_.found().size(); ++i) {
            if (search_.found()[i].path == path)
                row = int(i);
        }
        if (!search_.found().empty())
            results_->setCurrentIndex(model_->index(row, 0));
    }
    relink_->setEnabled(!search_.found().empty());
    stop_->setEnabled(search_.running() && !search_.stopped());
    progress_->setText(progress());
    // A walk to its end that found nothing is told by a box of its own.
    if (!search_.running() && !search_.stopped() && search_.found().empty())
        reject();
}

QString MovedFilesWindow::progress() const
{
    const QString count = QString::number(search_.found().size()) + QStringLiteral(" Found");
    if (search_.running() && !search_.stopped())
        return QStringLiteral("Searching ") + search_.folder() + QStringLiteral(" - ") + count;
    return count;
}

int MovedFilesWindow::chosenRow() const
{
    const QModelIndex current = results_->currentIndex();
    return current.isValid() && current.row() < int(search_.found().size()) ? current.row() : -1;
}

void MovedFilesWindow::keyPressEvent(QKeyEvent *event)
{
    // Escape ends a walk under way first, keeping what it found; then it closes.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier
        && search_.running() && !search_.stopped()) {
        stop_->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

int chooseMovedFile(MissingTargets::MovedSearch &search, QWidget *parent)
{
    MovedFilesWindow window(search, parent);
    if (runModal(window, parent) != QDialog::Accepted)
        return -1;
    return window.chosenRow();
}

void MissingTargetsWindow::syncSelection()
{
    for (size_t i = 0; i < window_.rows().size(); ++i)
        window_.setSelected(int(i), false);
    for (const QModelIndex &index : results_->selectionModel()->selectedRows())
        window_.setSelected(index.row(), true);
}

// --- QtUi ---

void QtUi::showFindPointer(PointerFinder &finder)
{
    FindPointerWindow window(finder, parent);
    runModal(window, parent);
}

void QtUi::showMissingTargets(MissingTargets &missing)
{
    if (missing.closed())
        return;
    MissingTargetsWindow window(missing, parent);
    runModal(window, parent);
}

} // namespace corvanta
