#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <vector>

namespace corvanta {

// One menu or menu item. A separator has the caption "-". Items with children are submenus.
struct MenuItem {
    QString name;      // e.g. "mnuCreateProject"
    QString caption;   // e.g. "New Project"; "&" marks the access key
    QString shortcut;  // e.g. "Ctrl+N" (QKeySequence portable text), empty for none
    bool enabled = true;
    bool checked = false;
    bool checkable = false;
    std::vector<MenuItem> items;

    bool isSeparator() const { return caption == QStringLiteral("-"); }
};

struct ToolbarEntry {
    enum Kind { Button, DropDown, Separator };
    Kind kind = Button;
    QString key;       // e.g. "CreateProject"; empty for a separator
    QString tooltip;
    QStringList entries; // drop-down entries in order; dash lines included
    bool enabled = true;
};

struct StatusPanel {
    QString text;
    QString tooltip;
};

// The main window's menus, popup menus, toolbar and status bar as data. The Qt window builds its
// widgets from it and follows every change through the observer.
class CommandSurface {
public:
    CommandSurface();

    std::vector<MenuItem> &menuBar() { return menuBar_; }
    const std::vector<MenuItem> &menuBar() const { return menuBar_; }
    // mnuPopupFiles, mnuTopicPopup, mnuPopupList: never shown in the bar.
    std::vector<MenuItem> &popups() { return popups_; }
    const std::vector<MenuItem> &popups() const { return popups_; }
    std::vector<ToolbarEntry> &toolbar() { return toolbar_; }
    const std::vector<ToolbarEntry> &toolbar() const { return toolbar_; }
    // Panels 1..7 are indices 0..6.
    std::array<StatusPanel, 7> &panels() { return panels_; }
    const std::array<StatusPanel, 7> &panels() const { return panels_; }

    // Looks an item up by name anywhere in the menus; nullptr when there is none.
    MenuItem *item(const QString &name);
    const MenuItem *item(const QString &name) const;
    // The toolbar entry at a 1-based position, separators counted.
    ToolbarEntry *toolbarButton(int position);
    ToolbarEntry *toolbarButton(const QString &key);

    void setEnabled(const QString &name, bool enabled);
    void setChecked(const QString &name, bool checked);
    void setCaption(const QString &name, const QString &caption);
    void setToolbarEnabled(const QString &key, bool enabled);
    void setToolbarEnabled(int position, bool enabled); // 1-based, separators counted
    void setPanelText(int panel, const QString &text); // panel 1..7

    // Called after any change above with the item name, toolbar key or "panelN".
    std::function<void(const QString &)> onChanged;

private:
    std::vector<MenuItem> menuBar_;
    std::vector<MenuItem> popups_;
    std::vector<ToolbarEntry> toolbar_;
    std::array<StatusPanel, 7> panels_;
    void changed(const QString &what) { if (onChanged) onChanged(what); }
};

// The hot key message box: its title and its twelve lines, each ended by CR.
QString hotKeyListTitle();
QString hotKeyListText();

} // namespace corvanta
