#pragma once

#include "platform/FontDialog.h"

#include <optional>
#include <vector>

namespace corvanta::test {

// A font dialog that records the font it opened on and answers with a scripted choice.
class FakeFontDialog : public FontDialog
{
public:
    std::optional<FontSpec> choice; // the user's pick; none: the user cancels
    std::vector<FontSpec> openedOn;

    bool chooseFont(FontSpec &font) override
    {
        openedOn.push_back(font);
        if (!choice)
            return false;
        font = *choice;
        return true;
    }
};

} // namespace corvanta::test
