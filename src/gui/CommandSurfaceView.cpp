#include "gui/CommandSurfaceView.h"

#include "gui/KeyCodes.h"
#include "gui/Mnemonics.h"
#include "gui/Palette.h"

#include "app/CommandSurface.h"
#include "platform/Keys.h"

#include <QAction>
#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <iterator>

namespace corvanta {

using namespace Qt::StringLiterals;

namespace {

// The desktop's icon theme first; where it has none, our own, drawn in the palette's colours.
// "DefaultScreen" is always the green and blue Double Arrows that the Getting Started window
// tells a new user to click.
QIcon toolbarIcon(const QString &key, const QWidget *button)
{
    struct Choice {
        const char16_t *key;
        const char *theme;
    };
    static const Choice choices[] = {
        {u"CreateProject", "folder-new"},       {u"EditFileData", "document-properties"},
        {u"EntryScreen", "go-home"},            {u"AddFile", "document-new"},
        {u"UtilityForm", "applications-internet"}, {u"AddEmail", "mail-message-new"},
        {u"FileSearch", "system-search"},       {u"HotKeys", "input-keyboard"},
        {u"HelpTopics", "help-contents"},
    };
    if (key == u"DefaultScreen")
        return paletteIcon(u":/icons/view-restore.svg"_s, button);
    for (const Choice &c : choices) {
        if (key == QStringView(c.key)) {
            const QString name = QLatin1String(c.theme);
            return QIcon::fromTheme(name, paletteIcon(u":/icons/"_s + name + u".svg"_s, button));
        }
    }
    return {};
}

} // namespace

CommandSurfaceView::CommandSurfaceView(QMainWindow *window, CommandSurface &surface)
    : QObject(window), surface_(surface), previousOnChanged_(surface.onChanged)
{
    buildMenuBar(window);
    buildPopups(window);
    buildToolBar(window);
    buildStatusBar(window);
    surface_.onChanged = [this](const QString &what) {
        if (previousOnChanged_)
            previousOnChanged_(what);
        refresh(what);
    };
}

CommandSurfaceView::~CommandSurfaceView()
{
    surface_.onChanged = previousOnChanged_;
}

QMenu *CommandSurfaceView::menu(const QString &name) const
{
    return barMenus_.value(name);
}

QMenu *CommandSurfaceView::popup(const QString &name) const
{
    return popups_.value(name);
}

QAction *CommandSurfaceView::action(const QString &name) const
{
    return actions_.value(name);
}

QToolButton *CommandSurfaceView::toolButton(const QString &key) const
{
    return buttons_.value(key);
}

QLabel *CommandSurfaceView::panel(int panel) const
{
    if (panel < 1 || panel > static_cast<int>(panels_.size()))
        return nullptr;
    return panels_[static_cast<size_t>(panel - 1)];
}

void CommandSurfaceView::buildMenuBar(QMainWindow *window)
{
    QMenuBar *bar = window->menuBar();
    for (const MenuItem &item : surface_.menuBar()) {
        auto *m = new QMenu(item.caption, bar);
        m->setObjectName(item.name);
        bar->addMenu(m);
        barMenus_.insert(item.name, m);
        actions_.insert(item.name, m->menuAction());
        m->menuAction()->setEnabled(item.enabled);
        watchMenu(m, item.name);
        fillMenu(m, item, barMenus_);
    }
}

void CommandSurfaceView::buildPopups(QMainWindow *window)
{
    for (const MenuItem &item : surface_.popups()) {
        // Owned by the window but never added to the bar.
        auto *m = new QMenu(item.caption, window);
        m->setObjectName(item.name);
        popups_.insert(item.name, m);
        actions_.insert(item.name, m->menuAction());
        watchMenu(m, item.name);
        fillMenu(m, item, popups_);
        // The title row stands out from the commands beneath it; it shows a name as typed.
        if (!m->actions().isEmpty()) {
            QAction *title = m->actions().constFirst();
            QFont font = title->font();
            font.setBold(true);
            title->setFont(font);
            titles_.insert(title->objectName());
        }
    }
}

void CommandSurfaceView::fillMenu(QMenu *menu, const MenuItem &item,
                                  QHash<QString, QMenu *> &menus)
{
    for (const MenuItem &child : item.items) {
        if (child.items.empty()) {
            addItem(menu, child);
            continue;
        }
        auto *sub = new QMenu(child.caption, menu);
        sub->setObjectName(child.name);
        menu->addMenu(sub);
        menus.insert(child.name, sub);
        actions_.insert(child.name, sub->menuAction());
        sub->menuAction()->setEnabled(child.enabled);
        watchMenu(sub, child.name);
        fillMenu(sub, child, menus);
    }
}

void CommandSurfaceView::watchMenu(QMenu *menu, const QString &name)
{
    connect(menu, &QMenu::aboutToShow, this, [this, name] {
        emit menuAboutToShow(name);
    });
}

QAction *CommandSurfaceView::addItem(QMenu *menu, const MenuItem &item)
{
    if (item.isSeparator()) {
        QAction *sep = menu->addSeparator();
        sep->setObjectName(item.name);
        actions_.insert(item.name, sep);
        return sep;
    }
    auto *act = new QAction(item.caption, menu);
    act->setObjectName(item.name);
    if (!item.shortcut.isEmpty()) {
        act->setShortcut(QKeySequence::fromString(item.shortcut, QKeySequence::PortableText));
        act->setShortcutContext(Qt::WindowShortcut);
    }
    act->setCheckable(item.checkable);
    act->setChecked(item.checked);
    act->setEnabled(item.enabled);
    menu->addAction(act);
    actions_.insert(item.name, act);
    const QString name = item.name;
    connect(act, &QAction::triggered, this, [this, name] {
        // Qt has already toggled a checkable action; the core alone decides the mark.
        syncAction(name);
        emit menuItemClicked(name);
    });
    return act;
}

void CommandSurfaceView::buildToolBar(QMainWindow *window)
{
    toolBar_ = new QToolBar(u"Toolbar1"_s, window);
    toolBar_->setObjectName(u"Toolbar1"_s);
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setContextMenuPolicy(Qt::PreventContextMenu);
    window->addToolBar(Qt::TopToolBarArea, toolBar_);
    // The button a narrow window shows for the buttons that do not fit.
    if (auto *more = toolBar_->findChild<QToolButton *>(u"qt_toolbar_ext_button"_s))
        more->setAccessibleName(u"More Buttons"_s);

    for (const ToolbarEntry &entry : surface_.toolbar()) {
        if (entry.kind == ToolbarEntry::Separator) {
            toolBar_->addSeparator();
            continue;
        }
        auto *button = new QToolButton(toolBar_);
        button->setObjectName(entry.key);
        button->setToolTip(entry.tooltip);
        button->setAccessibleName(entry.tooltip.trimmed());
        button->setIcon(toolbarIcon(entry.key, button));
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus); // as a toolbar's own buttons: the keys have the menus
        button->setEnabled(entry.enabled);
        const QString key = entry.key;
        connect(button, &QToolButton::clicked, this, [this, key] {
            emit toolbarButtonClicked(key);
        });
        if (entry.kind == ToolbarEntry::DropDown) {
            auto *dropDown = new QMenu(button);
            for (const QString &text : entry.entries) {
                // A dash line only divides the entries.
                if (!text.isEmpty() && text.count(u'-') == text.size()) {
                    dropDown->addSeparator();
                    continue;
                }
                QAction *act = dropDown->addAction(text);
                connect(act, &QAction::triggered, this, [this, text] {
                    emit toolbarEntryClicked(text);
                });
            }
            button->setMenu(dropDown);
            button->setPopupMode(QToolButton::MenuButtonPopup);
        }
        toolBar_->addWidget(button);
        buttons_.insert(entry.key, button);
    }
}

void CommandSurfaceView::buildStatusBar(QMainWindow *window)
{
    statusBar_ = window->statusBar();
    statusBar_->setObjectName(u"stbMain"_s);
    statusBar_->installEventFilter(this);
    const QFontMetrics metrics(statusBar_->font());
    const int keyWidth = metrics.horizontalAdvance(u"SCRL"_s) + 16;
    // What each panel shows, for a screen reader: the texts themselves are short or empty.
    static const char *const spokenNames[] = {"Date", "Line", "Caps Lock", "Num Lock", "Insert", "Scroll Lock", "User"};
    static_assert(std::size(spokenNames) == std::tuple_size_v<decltype(panels_)>);
    for (int i = 0; i < static_cast<int>(panels_.size()); ++i) {
        const StatusPanel &data = surface_.panels()[static_cast<size_t>(i)];
        auto *label = new QLabel(statusBar_);
        label->setObjectName(u"stbMainPanel"_s + QString::number(i + 1));
        label->setTextFormat(Qt::PlainText);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setText(data.text);
        label->setToolTip(data.tooltip);
        label->setAccessibleName(QString::fromLatin1(spokenNames[i]));
        if (i == 0)
            label->setMinimumWidth(metrics.horizontalAdvance(u"Wed  Sep 30, 2026"_s) + 16);
        else if (i == 1)
            label->setMinimumWidth(metrics.horizontalAdvance(u"Project Line: 99999"_s) + 16);
        else if (i >= 2 && i <= 5) {
            label->setMinimumWidth(keyWidth);
            label->setAlignment(Qt::AlignCenter);
        } else if (i == 6)
            label->setMinimumWidth(metrics.horizontalAdvance(u'M') * 10);
        label->installEventFilter(this);
        // Panel 2 takes the spare width so the others keep their places.
        statusBar_->addWidget(label, i == 1 ? 1 : 0);
        panels_[static_cast<size_t>(i)] = label;
    }
}

int CommandSurfaceView::panelOf(QObject *watched) const
{
    for (size_t i = 0; i < panels_.size(); ++i) {
        if (panels_[i] == watched)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

bool CommandSurfaceView::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease
        && type != QEvent::MouseButtonDblClick)
        return QObject::eventFilter(watched, event);

    auto *mouse = static_cast<QMouseEvent *>(event);
    const int panel = panelOf(watched);
    if (panel == 0) {
        if (watched == statusBar_ && type == QEvent::MouseButtonPress)
            emit panelPressed(0, mouseButtonFromQt(mouse->button()));
        return QObject::eventFilter(watched, event);
    }

    bool &swallow = swallowRelease_[static_cast<size_t>(panel - 1)];
    if (type == QEvent::MouseButtonPress) {
        swallow = false;
        emit panelPressed(panel, mouseButtonFromQt(mouse->button()));
    } else if (type == QEvent::MouseButtonDblClick) {
        swallow = true;
        emit panelDoubleClicked(panel);
    } else if (swallow) {
        swallow = false;
    } else if (panels_[static_cast<size_t>(panel - 1)]->rect().contains(mouse->position().toPoint())) {
        emit panelClicked(panel);
    }
    // Handled here, so the bar does not see the same press a second time.
    return true;
}

void CommandSurfaceView::refresh(const QString &what)
{
    if (what.startsWith(u"panel")) {
        bool ok = false;
        const int number = what.mid(5).toInt(&ok);
        if (ok) {
            syncPanel(number);
            return;
        }
    }
    if (buttons_.contains(what))
        syncButton(what);
    else
        syncAction(what);
}

void CommandSurfaceView::showTitle(QAction *title, const QString &name)
{
    title->setText(literalText(name));
    // A name wider than the screen has room for ends in "…"; any other shows whole.
    QMenu *menu = nullptr;
    for (QObject *owner : title->associatedObjects()) {
        if ((menu = qobject_cast<QMenu *>(owner)))
            break;
    }
    const QScreen *screen = menu && menu->screen() ? menu->screen() : QGuiApplication::primaryScreen();
    if (!menu || !screen)
        return;
    const int over = menu->sizeHint().width() - screen->availableGeometry().width();
    if (over <= 0)
        return;
    const QFontMetrics metrics(title->font());
    title->setText(literalText(metrics.elidedText(name, Qt::ElideRight, metrics.horizontalAdvance(name) - over)));
}

void CommandSurfaceView::syncAction(const QString &name)
{
    QAction *act = actions_.value(name);
    const MenuItem *item = surface_.item(name);
    if (!act || !item)
        return;
    if (titles_.contains(name))
        showTitle(act, item->caption);
    else if (!act->isSeparator())
        act->setText(item->caption);
    act->setEnabled(item->enabled);
    act->setCheckable(item->checkable);
    act->setChecked(item->checked);
}

void CommandSurfaceView::syncButton(const QString &key)
{
    QToolButton *button = buttons_.value(key);
    const ToolbarEntry *entry = surface_.toolbarButton(key);
    if (button && entry)
        button->setEnabled(entry->enabled);
}

void CommandSurfaceView::syncPanel(int panel)
{
    QLabel *label = this->panel(panel);
    if (label)
        label->setText(surface_.panels()[static_cast<size_t>(panel - 1)].text);
}

} // namespace corvanta
