#include "compose/Program.h"

#include "app/Navigation.h"

namespace corvanta {

namespace {

// Commands of features other work is building now (help, calendar, about, the lock keys). Each is
// a placeholder that does nothing until its feature registers the name; the test of the command
// surface lists the same names.
const char *const ComingCommands[] = {
    // help, calendar, about
    "mnuCalendar", "mnuHelp", "mnuGettingStarted", "mnuCorvantaWebsite", "mnuAbout", "toolbar:HelpTopics",
    "entry:Help Topics", "entry:Corvanta Website", "entry:About Corvanta", "ShowHelpTopics",
    // lock keys
    "ToggleLockKey3", "ToggleLockKey4", "ToggleLockKey5", "ToggleLockKey6",
};

} // namespace

Program::Program(const Platform &platform, const ModalWindows &windows, const QString &dataFolder)
    : form_(platform, dataFolder, &windows.startup),
      launching_(form_.context()),
      fileListCommands_(form_.context(), windows.pointerEditor),
      pointerClipboard_(form_.context()),
      listPrintouts_(form_.context()),
      listAppearance_(form_.context()),
      projectMaintenance_(form_.context()),
      nameMoving_(form_.context()),
      projectCleanup_(form_.context()),
      globalFileSearch_(form_.context(), windows.fileSearch),
      externalChanges_(form_.context()),
      handIn_(form_.context())
{
    // The File List's popup and the files dropped on it are the pointer commands'.
    form_.navigation().setFileListHandler(&fileListCommands_);
    for (const char *name : ComingCommands)
        form_.operations.addPlaceholder(QString::fromLatin1(name));
}

Program::~Program()
{
    form_.navigation().setFileListHandler(nullptr);
}

} // namespace corvanta
