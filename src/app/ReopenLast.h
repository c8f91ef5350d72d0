#pragma once

#include "app/FeatureContext.h"

namespace corvanta {

// "Reopen Last Project And Topic": when on, the project, topic and pointer current at the end of
// a run open at the start of the next. Off by default, so the usual start stays as it is. The
// setting and the place live under [Startup] in the settings file.
class ReopenLast final : public LastPlace
{
public:
    explicit ReopenLast(const FeatureContext &context);

    bool on() const;
    // The Settings menu's check item: turns it on or off and stores that.
    void toggle();
    // At the end of the start: opens the stored place when on.
    void ReopenLastPlace();
    // At shut-down, while the lists still hold the place: stores it when on.
    void StoreLastPlace();
    void reopenLastPlace() override { ReopenLastPlace(); }
    void storeLastPlace() override { StoreLastPlace(); }

private:
    FeatureContext c;
    QString read(const QString &key) const;
};

} // namespace corvanta
