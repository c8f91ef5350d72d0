#pragma once

#include "app/FeatureContext.h"
#include "platform/FontDialog.h"

namespace corvanta {

// Each list's font and grid lines: chosen in the font dialog, reset to the default after a
// question, switched from either of a list's two "Display Lines" items. Every change shows at
// once and is written to the list's section of the settings file, which applies it at the next
// start.
class ListAppearance
{
public:
    enum class Which { Projects, Topics, Files };

    explicit ListAppearance(const FeatureContext &context);

    void SelectListFont(Which which);
    void ResetListFont(Which which);
    void ToggleListLines(Which which);

private:
    FeatureContext c;

    struct Variant;
    Variant variant(Which which) const;
    void write(const QString &section, const QString &key, const QString &value);
    void writeFont(const Variant &v, const FontSpec &font);
};

} // namespace corvanta
