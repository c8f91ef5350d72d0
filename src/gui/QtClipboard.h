#pragma once

#include "platform/Clipboard.h"

namespace corvanta {

// The desktop's clipboard through QGuiApplication.
class QtClipboard : public Clipboard {
public:
    void clear() override;
    QString text() const override;
    void setText(const QString &text) override;
};

} // namespace corvanta
