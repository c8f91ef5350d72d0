#include "compose/Program.h"

#include "app/Navigation.h"

namespace corvanta {

Program::Program(const Platform &platform, const ModalWindows &windows, const QString &dataFolder,
    const QString &executableFolder)
    : form_(platform, store_, dataFolder, &windows.startup),
      launching_(form_.context()),
      fileListCommands_(form_.context(), windows.pointerEditor, launching_),
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
    // The work the lists' events start that other features do, and the place kept across runs.
    Navigation &navigation = form_.navigation();
    navigation.setFileListHandler(&fileListCommands_);
    navigation.setShownFilesWatch(&externalChanges_);
    navigation.setNameCommands(&projectMaintenance_);
    navigation.setPointerLaunches(&launching_);
    navigation.setPointerDrops(&pointerClipboard_);
    navigation.setListPrinting(&listPrintouts_);
    form_.setLastPlace(&reopenLast_);
}

Program::~Program()
{
    Navigation &navigation = form_.navigation();
    navigation.setFileListHandler(nullptr);
    navigation.setShownFilesWatch(nullptr);
    navigation.setNameCommands(nullptr);
    navigation.setPointerLaunches(nullptr);
    navigation.setPointerDrops(nullptr);
    navigation.setListPrinting(nullptr);
    form_.setLastPlace(nullptr);
}

} // namespace corvanta
