#include "compose/Program.h"

#include "app/Navigation.h"

namespace corvanta {

Program::Program(const Platform &platform, const ModalWindows &windows, const QString &dataFolder,
    const QString &executableFolder)
    : form_(platform, store_, dataFolder, &windows.startup),
      launching_(form_.context()),
      fileListCommands_(form_.context(), windows.pointerEditor),
      pointerClipboard_(form_.context()),
      listPrintouts_(form_.context()),
      listAppearance_(form_.context()),
      projectMaintenance_(form_.context(), fileListCommands_),
      nameMoving_(form_.context()),
      projectCleanup_(form_.context()),
      globalFileSearch_(form_.context(), windows.fileSearch, fileListCommands_),
      findPointer_(form_.context(), windows.findPointer),
      checkMissingTargets_(form_.context(), windows.missingTargets),
      reopenLast_(form_.context()),
      externalChanges_(form_.context()),
      handIn_(form_.context()),
      help_(form_.context(), windows.accessories, executableFolder),
      accessories_(form_.context(), windows.accessories),
      lockKeys_(form_.context())
{
    // The File List's popup and the files dropped on it are the pointer commands'.
    form_.navigation().setFileListHandler(&fileListCommands_);
}

Program::~Program()
{
    form_.navigation().setFileListHandler(nullptr);
}

} // namespace corvanta
