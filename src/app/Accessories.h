#pragma once

#include "app/FeatureContext.h"

namespace corvanta {

class AccessoryDisplay;

// The calendar of the Tools menu and the about box of the Help menu, each shown modally.
class Accessories
{
public:
    Accessories(const FeatureContext &context, AccessoryDisplay &display);

    void ShowCalendar();
    void ShowAbout();

private:
    FeatureContext c;
    AccessoryDisplay &display_;
};

} // namespace corvanta
