#include "app/Feature.h"

#include "app/MainForm.h"
#include "app/NameMoving.h"
#include "app/ProjectCleanup.h"
#include "app/ProjectMaintenance.h"
#include "filelist/FileListCommands.h"
#include "filelist/Launching.h"
#include "search/GlobalFileSearch.h"

namespace corvanta {

std::vector<std::unique_ptr<Feature>> installFeatures(MainForm &form)
{
    std::vector<std::unique_ptr<Feature>> features;
    features.push_back(std::make_unique<Launching>(form));
    features.push_back(std::make_unique<FileListCommands>(form));
    features.push_back(std::make_unique<ProjectMaintenance>(form));
    features.push_back(std::make_unique<NameMoving>(form));
    features.push_back(std::make_unique<ProjectCleanup>(form));
    features.push_back(std::make_unique<GlobalFileSearch>(form));
    return features;
}

} // namespace corvanta
