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
    operation();
    return true;
}

QStringList Operations::names() const
{
    QStringList all;
    for (const auto &entry : operations_)
        all << entry.first;
    return all;
}

} // namespace corvanta
