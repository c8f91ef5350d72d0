#include "app/Operations.h"

namespace corvanta {

void Operations::add(const QString &name, std::function<void()> operation)
{
    operations_[name] = std::move(operation);
}

bool Operations::run(const QString &name) const
{
    const auto it = operations_.find(name);
    if (it == operations_.end())
        return false;
    // Copied first: an operation may replace its own registration while it runs.
    const std::function<void()> operation = it->second;
    ++depth_;
    operation();
    if (--depth_ == 0 && whenIdle_) {
        const std::function<void()> work = whenIdle_;
        work();
    }
    return true;
}

} // namespace corvanta
