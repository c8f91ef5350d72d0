#pragma once

#include <QString>
#include <QStringList>

namespace corvanta {

// What the program's own options ask for. Qt's options (-platform, -style, ...) are Qt's: the
// application object takes them out of the words before these are read.
struct CommandLine {
    enum class Action { Run, Help, Version, Add, Error };
    Action action = Action::Run;
    QString dataDir;   // --data-dir, empty when not given
    QStringList files; // for Add: the files to add, as given
    QString topic;     // for Add: --topic, empty for the File List shown
    QString error;     // for Error: what was wrong, one line
};

// Reads the words the application object left (the program's name first).
CommandLine parseCommandLine(const QStringList &arguments);

// --help, --version and --add answered before the application object exists, so that they work
// without a display; words the program does not know are passed over here, not refused.
CommandLine::Action earlyAction(const QStringList &arguments);

// Whether the words choose a window system or display of their own (-platform, -display), so
// that starting needs no DISPLAY or WAYLAND_DISPLAY.
bool choosesDisplay(const QStringList &arguments);

QString commandLineHelp();
QString commandLineVersion();

} // namespace corvanta
