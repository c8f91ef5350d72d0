#pragma once

#include <QString>
#include <QStringList>

namespace corvanta {

// What the program's own options ask for. Qt's options (-platform, -style, ...) are Qt's: the
// application object takes them out of the words before these are read.
struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    QString dataDir;   // --data-dir, empty when not given
    QString error;     // for Error: what was wrong, one line
};

// Reads the words the application object left (the program's name first).
CommandLine parseCommandLine(const QStringList &arguments);

// --help and --version answered before the application object exists, so that both work
// without a display; words the program does not know are passed over here, not refused.
CommandLine::Action earlyAction(const QStringList &arguments);

// Whether the words choose a window system or display of their own (-platform, -display), so
// that starting needs no DISPLAY or WAYLAND_DISPLAY.
bool choosesDisplay(const QStringList &arguments);

QString commandLineHelp();
QString commandLineVersion();

} // namespace corvanta
