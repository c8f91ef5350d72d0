#pragma once

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>

#include <array>
#include <functional>

class QAction;
class QLabel;
class QMainWindow;
class QMenu;
class QStatusBar;
class QToolBar;
class QToolButton;

namespace corvanta {

class CommandSurface;
struct MenuItem;

// Builds the main window's menu bar, popup menus, toolbar and status bar from a CommandSurface
// and keeps them in step with it. User actions are only announced through the signals; the core
// decides what they do, including every check mark.
class CommandSurfaceView : public QObject {
    Q_OBJECT

public:
    CommandSurfaceView(QMainWindow *window, CommandSurface &surface);
    ~CommandSurfaceView() override;

    // A menu of the bar (or one of its submenus) by name, e.g. "mnuSortFiles"; nullptr if none.
    QMenu *menu(const QString &name) const;
    // A popup menu (or one of its submenus) by name, e.g. "mnuPopupFiles"; nullptr if none.
    QMenu *popup(const QString &name) const;
    // The action of any item or menu by name; nullptr if none.
    QAction *action(const QString &name) const;
    QToolButton *toolButton(const QString &key) const;
    QToolBar *toolBar() const { return toolBar_; }
    QLabel *panel(int panel) const; // panel 1..7

signals:
    void menuItemClicked(const QString &itemName);
    void toolbarButtonClicked(const QString &key);
    void toolbarEntryClicked(const QString &entryText);
    void menuAboutToShow(const QString &menuName);
    // Mouse press on the status bar: panel 1..7, or 0 between panels; button 1 left, 2 right,
    // 4 middle.
    void panelPressed(int panel, int button);
    void panelClicked(int panel);
    void panelDoubleClicked(int panel);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenuBar(QMainWindow *window);
    void buildPopups(QMainWindow *window);
    void fillMenu(QMenu *menu, const MenuItem &item, QHash<QString, QMenu *> &menus);
    void watchMenu(QMenu *menu, const QString &name);
    QAction *addItem(QMenu *menu, const MenuItem &item);
    void buildToolBar(QMainWindow *window);
    void buildStatusBar(QMainWindow *window);

    void refresh(const QString &what);
    void syncAction(const QString &name);
    void showTitle(QAction *title, const QString &name);
    void syncButton(const QString &key);
    void syncPanel(int panel);
    int panelOf(QObject *watched) const;

    CommandSurface &surface_;
    std::function<void(const QString &)> previousOnChanged_;
    QHash<QString, QAction *> actions_;
    QHash<QString, QMenu *> barMenus_;
    QHash<QString, QMenu *> popups_;
    QHash<QString, QToolButton *> buttons_;
    QSet<QString> titles_; // the popups' title rows, which show names
    QToolBar *toolBar_ = nullptr;
    QStatusBar *statusBar_ = nullptr;
    std::array<QLabel *, 7> panels_{};
    // The release that ends a double-click is not a second click.
    std::array<bool, 7> swallowRelease_{};
};

} // namespace corvanta
