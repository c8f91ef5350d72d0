#pragma once

#include "app/Feature.h"

namespace corvanta {

class MainForm;

// Finds the entries of the Projects folder that no project name owns, lists them in the File
// List, and deletes the orphaned project folders when the user agrees.
class ProjectCleanup : public Feature {
public:
    explicit ProjectCleanup(MainForm &form);

    void CleanUpProjectFiles();

private:
    MainForm &f;
};

} // namespace corvanta
