#pragma once

#include <QString>

#include <functional>
#include <map>

namespace corvanta {

// The dispatch table: what the user starts by name. Each feature registers its menu items
// ("mnuCreateProject"), toolbar buttons ("toolbar:AddFile"), drop-down entries ("entry:Open
// File") and the operations the function keys name ("LoadEntryScreen"); the menus, toolbar,
// popups and keys run them by name. Features call each other through typed interfaces
// (app/FeatureCalls.h), not through this table. Running a name nobody registered is a
// programming error: it asserts in debug builds and does nothing otherwise.
class Operations
{
public:
    // Registers operation under name, replacing what was there.
    void add(const QString &name, std::function<void()> operation);
    // Runs the operation registered under name; false when there is none.
    bool run(const QString &name) const;
    // Runs work as an operation, as run does: running() holds meanwhile, and the idle work
    // follows when it is the outermost.
    void perform(const std::function<void()> &work) const;
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
