#include "app/Operations.h"

namespace corvanta {

void Operations::add(const QString &name, std::function<void()> operation)
{
    operations_[name] = std::move(operation);
}

bool Operations::run(const QString &name) const
{
    const auto it = operations_.find(name);
    Q_ASSERT_X(it != operations_.end(), "Operations::run", qPrintable(QStringLiteral("no operation named ") + name));
    if (it == operations_.end())
        return false;
    // Copied first: an operation may replace its own registration while it runs.
    const std::function<void()> operation = it->second;
    perform(operation);
    return true;
}

void Operations::perform(const std::function<void()> &work) const
{
    ++depth_;
    work();
    if (--depth_ == 0 && whenIdle_) {
        const std::function<void()> idle = whenIdle_;
        idle();
    }
}

} // namespace corvanta
