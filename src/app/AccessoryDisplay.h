#pragma once

namespace corvanta {

class About;
class Calendar;
class HelpWindow;

// The desktop's side of the small windows of the Help and Tools menus.
class AccessoryDisplay
{
public:
    virtual ~AccessoryDisplay() = default;
    // Shows the help window, or brings it to the front; returns at once, the window stays open
    // beside the main window and follows window.onChanged.
    virtual void showHelp(HelpWindow &window) = 0;
    // Modal: return when the window has closed.
    virtual void showCalendar(Calendar &calendar) = 0;
    virtual void showAbout(About &about) = 0;
};

} // namespace corvanta
