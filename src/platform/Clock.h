#pragma once

#include <QDateTime>

#include <functional>

namespace corvanta {

// Time as the program reads it; tests substitute a fixed clock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    // Seconds since an arbitrary origin, with sub-second precision; for elapsed times.
    virtual double seconds() const = 0;
    // Waits without processing events; for short visual pauses.
    virtual void pause(int ms) = 0;
    // Runs task once on the window's thread, ms milliseconds from now; events run meanwhile.
    virtual void singleShot(int ms, std::function<void()> task) = 0;
};

} // namespace corvanta
