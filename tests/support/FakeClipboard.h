#pragma once

#include "platform/Clipboard.h"

namespace corvanta::test {

// A clipboard of the test's own, so tests never touch the desktop's.
class FakeClipboard : public Clipboard {
public:
    QString content;
    void clear() override { content.clear(); }
    QString text() const override { return content; }
    void setText(const QString &text) override { content = text; }
};

} // namespace corvanta::test
