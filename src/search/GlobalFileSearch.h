#pragma once

#include "app/Feature.h"
#include "search/Drives.h"

#include <functional>
#include <vector>

namespace corvanta {

class FileSearch;
class MainForm;

// Opens the global file search window from the menus, the toolbar and F9, and puts the main
// window back in order when it closes.
class GlobalFileSearch : public Feature
{
public:
    explicit GlobalFileSearch(MainForm &form);

    void OpenGlobalFileSearch();

    // The drive list offered; the mounted file systems and the home folder unless replaced.
    std::function<std::vector<DriveEntry>()> drives;
    // The window while it is open, else nullptr.
    FileSearch *openWindow() const { return open_; }

private:
    MainForm &f;
    FileSearch *open_ = nullptr;
};

} // namespace corvanta
