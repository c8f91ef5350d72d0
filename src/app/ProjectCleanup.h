#pragma once

#include "app/FeatureContext.h"

namespace corvanta {

// Finds the entries of the Projects folder that no project name owns, lists them in the File
// List, and deletes the orphaned project folders when the user agrees.
class ProjectCleanup {
public:
    explicit ProjectCleanup(const FeatureContext &context);

    void CleanUpProjectFiles();

private:
    FeatureContext c;
};

} // namespace corvanta
