#pragma once

#include "app/Editors.h"
#include "app/FeatureContext.h"
#include "search/Drives.h"

#include <functional>
#include <vector>

namespace corvanta {

class FileSearch;
class FileSearchDisplay;

// Opens the global file search window from the menus, the toolbar and F9, and puts the main
// window back in order when it closes.
class GlobalFileSearch
{
public:
    using DriveSource = std::function<std::vector<DriveEntry>()>;

    GlobalFileSearch(const FeatureContext &context, FileSearchDisplay &windows, Editors &editors);

    void OpenGlobalFileSearch();

    // Where the drive list offered comes from: the mounted file systems and the home folder
    // unless replaced.
    void setDriveSource(DriveSource drives) { drives_ = std::move(drives); }
    // The window while it is open, else nullptr.
    const FileSearch *openWindow() const { return open_; }

private:
    FeatureContext c;
    FileSearchDisplay &windows_;
    Editors &editors_;
    DriveSource drives_;
    FileSearch *open_ = nullptr;
};

} // namespace corvanta
