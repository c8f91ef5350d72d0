#pragma once

#include "platform/Clock.h"

#include <QElapsedTimer>

namespace corvanta {

class SystemClock final : public Clock {
public:
    SystemClock() { timer_.start(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    double seconds() const override { return double(timer_.nsecsElapsed()) / 1e9; }

private:
    QElapsedTimer timer_;
};

} // namespace corvanta
