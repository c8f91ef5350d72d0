#pragma once

#include "platform/Clock.h"

#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

namespace corvanta {

class SystemClock final : public Clock {
public:
    SystemClock() { timer_.start(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    double seconds() const override { return double(timer_.nsecsElapsed()) / 1e9; }
    void pause(int ms) override { QThread::msleep(ulong(ms)); }
    void singleShot(int ms, std::function<void()> task) override
    {
        QTimer::singleShot(ms, std::move(task));
    }

private:
    QElapsedTimer timer_;
};

} // namespace corvanta
