#include "gui/MainWindow.h"

#include "app/Navigation.h"
#include "app/Sorting.h"
#include "gui/CommandSurfaceView.h"
#include "gui/KeyCodes.h"
#include "gui/ListBox.h"
#include "gui/ListModel.h"
#include "gui/TargetIcons.h"
#include "gui/Mnemonics.h"
#include "gui/QtUi.h"
#include "gui/Twips.h"
#include "platform/Keys.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QWindowStateChangeEvent>

namespace corvanta {

MainWindow::MainWindow(MainForm &form, QtUi &ui) : form_(form), ui_(ui)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(form.caption());
    setWindowIcon(QIcon(QStringLiteral(":/corvanta.png")));
    surface_ = new CommandSurfaceView(this, form.commands);

    central_ = new QWidget(this);
    setCentralWidget(central_);
    ListControl *controls[3] = {&form.lstProjectList, &form.lstTopicList, &form.lstFileList};
    const char *listNames[3] = {"lstProjectList", "lstTopicList", "lstFileList"};
    const char *labelNames[3] = {"lblProjectList", "lblTopicList", "lblFileList"};
    const char *spokenNames[3] = {"Projects", "Topics", "Files"};
    for (size_t i = 0; i < 3; ++i) {
        lists_[i] = new ListBox(*controls[i], central_);
        lists_[i]->setObjectName(QString::fromLatin1(listNames[i]));
        lists_[i]->setAccessibleName(QString::fromLatin1(spokenNames[i]));
        lists_[i]->listModel()->setColumnNames({QStringLiteral("Name"), QStringLiteral("Target")});
        labels_[i] = new QLabel(central_);
        labels_[i]->setObjectName(QString::fromLatin1(labelNames[i]));
        labels_[i]->setTextFormat(Qt::PlainText);
        labels_[i]->setBuddy(lists_[i]);
        labels_[i]->setToolTip(QStringLiteral(" Double Click or Right Click For Sort Options "));
        QFont bold = labels_[i]->font();
        bold.setBold(true);
        labels_[i]->setFont(bold);
        labels_[i]->installEventFilter(this);
    }
    // Files dragged from a file manager become pointers of the File List.
    lists_[2]->setStartsPointerDrags(true);
    lists_[1]->setAcceptsPointerDrops(true);
    connect(lists_[1], &ListBox::pointersDropped, this, [this](int row, bool copy) {
        form_.navigation().lstTopicList_PointersDropped(row, copy);
    });
    lists_[2]->setAcceptsFileDrops(true);
    // Each pointer shows its kind and whether its target is there.
    marks_ = new FileListMarks(*lists_[2], [this] { return form_.state.ProgramFolder; });
    connect(lists_[2], &ListBox::filesDropped, this, [this](const QStringList &paths, int row) {
        form_.navigation().lstFileList_FilesDropped(paths, row);
    });
    rule_ = new QFrame(central_);
    rule_->setFrameShape(QFrame::HLine);
    rule_->setFrameShadow(QFrame::Sunken);

    // The open/print choice sits at the right of the toolbar row.
    auto *spacer = new QWidget(this);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    optOpen_ = new QRadioButton(QStringLiteral("Open Files"), this);
    optOpen_->setObjectName(QStringLiteral("optOpen"));
    optOpen_->setToolTip(QStringLiteral(" Open Selected File "));
    optPrint_ = new QRadioButton(QStringLiteral("Print Files"), this);
    optPrint_->setObjectName(QStringLiteral("optPrint"));
    optPrint_->setToolTip(QStringLiteral(" Print Selected File "));
    // Taken by Tab only: a click on the choice leaves the focus in its list.
    optOpen_->setFocusPolicy(Qt::TabFocus);
    optPrint_->setFocusPolicy(Qt::TabFocus);
    if (QToolBar *bar = surface_->toolBar()) {
        bar->addWidget(spacer);
        bar->addWidget(optOpen_);
        bar->addWidget(optPrint_);
    }
    // Tab walks the three lists left to right, then the choice; the toolbar's buttons take none.
    setTabOrder(lists_[0], lists_[1]);
    setTabOrder(lists_[1], lists_[2]);
    setTabOrder(lists_[2], optOpen_);
    setTabOrder(optOpen_, optPrint_);
    connect(optOpen_, &QRadioButton::clicked, this, [this] { form_.run(QStringLiteral("optOpen_Click")); });
    connect(optPrint_, &QRadioButton::clicked, this, [this] { form_.run(QStringLiteral("optPrint_Click")); });

    connect(surface_, &CommandSurfaceView::menuItemClicked, this,
            [this](const QString &name) { form_.menuClick(name); });
    connect(surface_, &CommandSurfaceView::toolbarButtonClicked, this,
            [this](const QString &key) { form_.toolbarButtonClick(key); });
    connect(surface_, &CommandSurfaceView::toolbarEntryClicked, this,
            [this](const QString &entry) { form_.toolbarEntryClick(entry); });
    connect(surface_, &CommandSurfaceView::menuAboutToShow, this,
            [this](const QString &name) { form_.menuAboutToShow(name); });
    connect(surface_, &CommandSurfaceView::panelPressed, this,
            [this](int, int button) { form_.stbMain_MouseDown(button); });
    connect(surface_, &CommandSurfaceView::panelClicked, this,
            [this](int panel) { form_.stbMain_PanelClick(panel); });
    connect(surface_, &CommandSurfaceView::panelDoubleClicked, this,
            [this](int panel) { form_.stbMain_PanelDblClick(panel); });

    ui_.parent = this;
    ui_.popupMenu = [this](const QString &name) {
        if (QMenu *menu = menuNamed(name))
            menu->exec(popupPoint());
    };
    ui_.popupMenuAt = [this](const QString &name, int xTwips, int yTwips) {
        // Window coordinates count from the client area's top, 435 twips above the central widget.
        if (QMenu *menu = menuNamed(name))
            menu->exec(central_->mapToGlobal(QPoint(toPixels(xTwips), toPixels(yTwips - 435))));
    };

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    form_.screenWidth = toTwips(screen.width());
    form_.screenHeight = toTwips(screen.height());
    // Where a window may stand, in the same logical units as its geometry; primary first.
    QList<QScreen *> screens = QGuiApplication::screens();
    screens.removeOne(QGuiApplication::primaryScreen());
    screens.prepend(QGuiApplication::primaryScreen());
    for (const QScreen *s : std::as_const(screens)) {
        const QRect r = s->availableGeometry();
        form_.screens.push_back({toTwips(r.x()), toTwips(r.y()), toTwips(r.width()), toTwips(r.height())});
    }
    form_.onChanged = [this](MainForm::Change change) { formChanged(change); };
    fitMinimumWidthToFont();
    optOpen_->setChecked(form.optOpen());
    optPrint_->setChecked(!form.optOpen());
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(this);
    form_.onChanged = nullptr;
    ui_.parent = nullptr;
    ui_.popupMenu = nullptr;
}

void MainWindow::formChanged(MainForm::Change change)
{
    switch (change) {
    case MainForm::Change::Caption:
        setWindowTitle(form_.caption());
        break;
    case MainForm::Change::Geometry:
        applyGeometry();
        break;
    case MainForm::Change::WindowState:
        applying_ = true;
        if (form_.windowState() == WindowState::Normal)
            showNormal();
        applying_ = false;
        applyGeometry();
        break;
    case MainForm::Change::Enabled:
        // The lists and commands ignore input while disabled; the window stays painted.
        central_->setEnabled(form_.enabled());
        if (menuBar())
            menuBar()->setEnabled(form_.enabled());
        if (surface_->toolBar())
            surface_->toolBar()->setEnabled(form_.enabled());
        break;
    case MainForm::Change::Visible:
        applyGeometry();
        show();
        QApplication::processEvents();
        // Shown, the status bar has its size grip too.
        fitMinimumWidthToFont();
        break;
    case MainForm::Change::Labels:
        // A caption's buddy would take "&" for an access key: the names show as typed.
        labels_[0]->setText(literalText(form_.lblProjectList));
        labels_[1]->setText(literalText(form_.lblTopicList));
        labels_[2]->setText(literalText(form_.lblFileList));
        break;
    case MainForm::Change::Options:
        optOpen_->setChecked(form_.optOpen());
        optPrint_->setChecked(!form_.optOpen());
        break;
    case MainForm::Change::Focus:
        if (!form_.focusedList())
            central_->setFocus(Qt::OtherFocusReason);
        break;
    case MainForm::Change::Layout:
        applyLayout();
        break;
    case MainForm::Change::Quit:
        hide();
        QCoreApplication::quit();
        break;
    }
}

QRect MainWindow::frameRectFor(const WindowGeometry &g) const
{
    return QRect(toPixels(g.left), toPixels(g.top), toPixels(g.width), toPixels(g.height));
}

QMargins MainWindow::currentFrameMargins() const
{
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

void MainWindow::applyGeometry()
{
    if (form_.windowState() != WindowState::Normal)
        return;
    const QRect target = frameRectFor(form_.geometry());
    // The stored size is the outer one: the frame comes off it. Before the window system has
    // framed the window the frame is not known; reportGeometry places it again once it is.
    margins_ = currentFrameMargins();
    applying_ = true;
    if (form_.state.ClosingDown)
        setMinimumSize(1, 1);
    move(target.topLeft());
    const int clientWidth = std::max(1, target.width() - margins_.left() - margins_.right());
    resize(clientWidth, std::max(1, target.height() - margins_.top() - margins_.bottom()));
    applying_ = false;
    if (form_.state.ClosingDown) {
        repaint();
        return;
    }
    // A stored width narrower than the status panels need in the desktop's font gives way to
    // them: the lists are laid out for the width the window has.
    if (width() != clientWidth) {
        WindowGeometry g = form_.geometry();
        g.width = toTwips(width() + margins_.left() + margins_.right());
        form_.windowMoved(g);
    }
    form_.Form_Resize();
}

void MainWindow::fitMinimumWidthToFont()
{
    // Never wider than the screen the window is on: there the panels share what there is.
    const QScreen *shown = screen() ? screen() : QGuiApplication::primaryScreen();
    const int room = shown ? shown->availableGeometry().width() : QWIDGETSIZE_MAX;
    setMinimumWidth(std::min(statusBar()->minimumSizeHint().width(), room));
}

void MainWindow::reportGeometry()
{
    if (applying_ || form_.state.ClosingDown || windowState() & Qt::WindowMinimized)
        return;
    // Framed since it was placed: placed again with the frame, so that the twips stored at exit
    // bring the same window back.
    if (windowState() == Qt::WindowNoState && form_.windowState() == WindowState::Normal
        && currentFrameMargins() != margins_) {
        applyGeometry();
        return;
    }
    // Keep the stored twips when the window only shows them rounded to pixels.
    const QRect frame = frameGeometry();
    if (frame == frameRectFor(form_.geometry()))
        return;
    form_.windowMoved({toTwips(frame.x()), toTwips(frame.y()), toTwips(frame.width()), toTwips(frame.height())});
}

void MainWindow::applyLayout()
{
    const MainLayout &l = form_.layout();
    for (size_t i = 0; i < 3; ++i) {
        const TwipsRect &r = l.lists[i];
        const TwipsRect &c = l.labels[i];
        // The rule under the toolbar (435 twips down the client area) is the central widget's
        // top; the lists end where the layout says, but never under the status bar.
        // A caption taller than its place (a large desktop font) pushes its list down.
        const int yLabel = toPixels(c.top - 435);
        const int labelHeight = std::max(toPixels(c.height), labels_[i]->sizeHint().height());
        const int extra = labelHeight - toPixels(c.height);
        const int yList = toPixels(r.top - 435) + extra;
        const int room = std::max(toPixels(600), central_->height() - yList - 4);
        lists_[i]->setGeometry(toPixels(r.left), yList, toPixels(r.width), std::min(room, toPixels(r.height) - extra));
        labels_[i]->setGeometry(toPixels(c.left), yLabel, toPixels(c.width), labelHeight);
    }
    rule_->setGeometry(0, 0, central_->width(), 2);
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (applying_)
        return;
    reportGeometry();
    form_.Form_Resize();
}

void MainWindow::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    reportGeometry();
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Targets may have come or gone while another window had the focus.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        marks_->recheck(true);
    if (event->type() == QEvent::WindowStateChange && !applying_) {
        const Qt::WindowStates s = windowState();
        form_.windowStateChanged(s & Qt::WindowMinimized   ? WindowState::Minimised
                                 : s & Qt::WindowMaximized ? WindowState::Maximised
                                                           : WindowState::Normal);
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    form_.closeMainWindow();
    event->accept();
}

void MainWindow::openMenuBar()
{
    QMenuBar *bar = menuBar();
    if (!bar->actions().isEmpty())
        bar->setActiveAction(bar->actions().constFirst());
}

QPoint MainWindow::popupPoint() const
{
    // The popup key opens a list's popup at its current row; a press, under the mouse.
    for (const ListBox *list : lists_) {
        if (list->popupKeyPressed())
            return list->currentRowPopupPoint();
    }
    return QCursor::pos();
}

QMenu *MainWindow::menuNamed(const QString &name) const
{
    QMenu *menu = surface_->popup(name);
    return menu ? menu : surface_->menu(name);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    for (size_t i = 0; i < labels_.size(); ++i) {
        if (watched != labels_[i])
            continue;
        if (event->type() == QEvent::MouseButtonDblClick) {
            form_.sorting().label_DblClick(int(i));
            return true;
        }
        if (event->type() == QEvent::MouseButtonPress) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            form_.sorting().label_MouseDown(int(i), mouseButtonFromQt(mouse->button()));
            return true;
        }
    }
    // The window sees every key before its controls, as long as no other window is in front.
    // A menu, and the menu bar while it has the keyboard (after Alt, F10, or Escape out of one
    // of its menus), keep their own keys: Escape closes the menu and never the program.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        auto *widget = static_cast<QWidget *>(watched);
        if (widget->window() == this && !QApplication::activePopupWidget()
            && !QApplication::activeModalWidget() && !qobject_cast<QMenuBar *>(widget)) {
            auto *key = static_cast<QKeyEvent *>(event);
            int code = keyCodeFromQt(key);
            const int shift = shiftFromQt(key->modifiers());
            if (code != 0) {
                form_.Form_KeyDown(code, shift);
                if (code == 0)
                    return true;
                // F10 passes on from the form; Qt gives it no meaning, so the menu bar opens here.
                if (code == Key::F10 && shift == Key::NoShift && form_.enabled()) {
                    openMenuBar();
                    return true;
                }
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace corvanta
