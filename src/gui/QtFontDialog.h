#pragma once

#include "platform/FontDialog.h"

namespace corvanta {

// The font dialog (QFontDialog) over the active window.
class QtFontDialog : public FontDialog
{
public:
    bool chooseFont(FontSpec &font) override;
};

} // namespace corvanta
