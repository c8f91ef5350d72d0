#pragma once

#include <QString>

#include <functional>
#include <map>

namespace corvanta {

// The main window's operations by name. Each feature registers its operations under their names
// ("LoadEntryScreen", "DeleteProject") and its menu items under the item names
// ("mnuCreateProject"); menus, toolbar buttons ("toolbar:AddFile"), drop-down entries
// ("entry:Open File"), keys and the lists' handlers run them by name, and features run each
// other's the same way. A name nobody registered does nothing.
class Operations
{
public:
    // Registers operation under name, replacing what was there.
    void add(const QString &name, std::function<void()> operation);
    // Runs the operation registered under name; false when there is none.
    bool run(const QString &name) const;
    bool contains(const QString &name) const { return operations_.count(name) != 0; }
    // True while an operation runs (a modal window it opened is still up).
    bool running() const { return depth_ > 0; }
    // Runs after every outermost operation: work that must not happen under a running one.
    void setWhenIdle(std::function<void()> work) { whenIdle_ = std::move(work); }

private:
    std::map<QString, std::function<void()>> operations_;
    std::function<void()> whenIdle_;
    mutable int depth_ = 0;
};

} // namespace corvanta
