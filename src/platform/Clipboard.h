#pragma once

#include <QString>

namespace corvanta {

// The system clipboard, as text.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void clear() = 0;
    virtual QString text() const = 0;     // "" when it holds no text
    virtual void setText(const QString &text) = 0;
};

} // namespace corvanta
