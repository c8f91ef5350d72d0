#pragma once

#include <memory>
#include <vector>

namespace corvanta {

class MainForm;

// A concern of the main window (launching, sorting, ...) that registers its operations with the
// form when it is made and lives as long as the form.
class Feature {
public:
    virtual ~Feature() = default;
};

// Makes every feature of the main window; the one place that lists them.
std::vector<std::unique_ptr<Feature>> installFeatures(MainForm &form);

} // namespace corvanta
