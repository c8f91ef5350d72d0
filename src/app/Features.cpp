#include "app/Feature.h"

#include "app/MainForm.h"

namespace corvanta {

std::vector<std::unique_ptr<Feature>> installFeatures(MainForm &form)
{
    std::vector<std::unique_ptr<Feature>> features;
    Q_UNUSED(form);
    // One line per feature: features.push_back(std::make_unique<Launching>(form));
    return features;
}

} // namespace corvanta
