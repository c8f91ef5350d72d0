#include "app/Accessories.h"

#include "app/About.h"
#include "app/AccessoryDisplay.h"
#include "app/Calendar.h"
#include "app/Operations.h"
#include "app/SharedState.h"

namespace corvanta {

Accessories::Accessories(const FeatureContext &context, AccessoryDisplay &display)
    : c(context), display_(display)
{
    for (const char *name : {"ShowCalendar", "mnuCalendar"})
        c.operations.add(QString::fromLatin1(name), [this] { ShowCalendar(); });
    for (const char *name : {"ShowAbout", "mnuAbout", "entry:About Corvanta"})
        c.operations.add(QString::fromLatin1(name), [this] { ShowAbout(); });
}

void Accessories::ShowCalendar()
{
    Calendar calendar(c.clock);
    calendar.Form_Load();
    display_.showCalendar(calendar);
}

void Accessories::ShowAbout()
{
    About about(c.state.ProgramFolder);
    about.Form_Load();
    display_.showAbout(about);
}

} // namespace corvanta
