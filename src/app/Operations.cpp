#include "app/Operations.h"

namespace corvanta {

void Operations::add(const QString &name, std::function<void()> operation)
{
    operations_[name] = Entry{std::move(operation), false};
}

void Operations::addPlaceholder(const QString &name)
{
    operations_.try_emplace(name, Entry{[] {}, true});
}

bool Operations::isPlaceholder(const QString &name) const
{
    const auto it = operations_.find(name);
    return it != operations_.end() && it->second.placeholder;
}

bool Operations::run(const QString &name) const
{
    const auto it = operations_.find(name);
    Q_ASSERT_X(it != operations_.end(), "Operations::run", qPrintable(QStringLiteral("no operation named ") + name));
    if (it == operations_.end())
        return false;
    // Copied first: an operation may replace its own registration while it runs.
    const std::function<void()> operation = it->second.operation;
    ++depth_;
    operation();
    if (--depth_ == 0 && whenIdle_) {
        const std::function<void()> work = whenIdle_;
        work();
    }
    return true;
}

} // namespace corvanta
