#pragma once

#include "app/Accessories.h"
#include "app/AccessoryDisplay.h"
#include "app/Help.h"
#include "app/LockKeys.h"
#include "app/ExternalChanges.h"
#include "app/MainForm.h"
#include "app/NameMoving.h"
#include "app/ProjectCleanup.h"
#include "app/ProjectMaintenance.h"
#include "app/ReopenLast.h"
#include "app/StartupWindow.h"
#include "editor/PointerEditor.h"
#include "filelist/FileListCommands.h"
#include "filelist/HandIn.h"
#include "filelist/Launching.h"
#include "filelist/ListAppearance.h"
#include "filelist/ListPrintouts.h"
#include "filelist/PointerClipboard.h"
#include "search/FileSearch.h"
#include "search/FindPointer.h"
#include "search/MissingTargets.h"
#include "search/GlobalFileSearch.h"

#include <QString>

namespace corvanta {

// The desktop's side of the core's windows; the Qt window (or a test's fake) is all of them.
struct ModalWindows
{
    StartupWindowDisplay &startup;
    PointerEditorDisplay &pointerEditor;
    FileSearchDisplay &fileSearch;
    AccessoryDisplay &accessories;
    FindPointerDisplay &findPointer;
    MissingTargetsDisplay &missingTargets;

    template<typename T> static ModalWindows of(T &desktop)
    {
        return {desktop, desktop, desktop, desktop, desktop, desktop};
    }
};

// The program's logic as the user gets it: the main form and every feature, made in order and
// wired together. This is the one place that knows every feature. A new feature is a member
// here, made from form().context() and handed the interfaces it needs (app/FeatureCalls.h); it
// registers its menu items, toolbar buttons and keys in the dispatch table and reaches the
// others only through those interfaces.
class Program
{
public:
    // executableFolder: where the running program lies, for its installed help documents.
    Program(const Platform &platform, const ModalWindows &windows, const QString &dataFolder,
        const QString &executableFolder = QString());
    ~Program();
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    MainForm &form() { return form_; }
    Store &store() { return store_; }

    // The features, for tests.
    Launching &launching() { return launching_; }
    FileListCommands &fileListCommands() { return fileListCommands_; }
    ProjectMaintenance &projectMaintenance() { return projectMaintenance_; }
    NameMoving &nameMoving() { return nameMoving_; }
    ProjectCleanup &projectCleanup() { return projectCleanup_; }
    GlobalFileSearch &globalFileSearch() { return globalFileSearch_; }
    PointerClipboard &pointerClipboard() { return pointerClipboard_; }
    CheckMissingTargets &checkMissingTargets() { return checkMissingTargets_; }
    ExternalChanges &externalChanges() { return externalChanges_; }
    HandInReceiver &handIn() { return handIn_; }
    Help &help() { return help_; }
    LockKeys &lockKeys() { return lockKeys_; }

private:
    // The store of the run's files, then the form: the features hold references into both and go
    // before them.
    Store store_;
    MainForm form_;
    // In the order they register; a later registration of the same name would win.
    Launching launching_;
    FileListCommands fileListCommands_;
    PointerClipboard pointerClipboard_;
    ListPrintouts listPrintouts_;
    ListAppearance listAppearance_;
    ProjectMaintenance projectMaintenance_;
    NameMoving nameMoving_;
    ProjectCleanup projectCleanup_;
    GlobalFileSearch globalFileSearch_;
    FindPointer findPointer_;
    CheckMissingTargets checkMissingTargets_;
    ReopenLast reopenLast_;
    ExternalChanges externalChanges_;
    HandInReceiver handIn_;
    Help help_;
    Accessories accessories_;
    LockKeys lockKeys_;
};

} // namespace corvanta
