#include "app/LockKeys.h"

#include "app/CommandSurface.h"
#include "app/Operations.h"
#include "platform/Keyboard.h"

namespace corvanta {

namespace {

struct LockPanel
{
    int panel;
    LockKey key;
    const char *text; // shown while the key is on
};
constexpr LockPanel lockPanels[] = {
    {3, LockKey::Caps, "CAPS"},
    {4, LockKey::Num, "NUM"},
    {5, LockKey::Insert, "INS"},
    {6, LockKey::Scroll, "SCRL"},
};

} // namespace

LockKeys::LockKeys(const FeatureContext &context) : c(context), keyboard_(context.platform.keyboard)
{
    for (const LockPanel &p : lockPanels) {
        const int panel = p.panel;
        c.operations.add(QStringLiteral("ToggleLockKey") + QString::number(panel), [this, panel] { toggle(panel); });
    }
    if (keyboard_)
        keyboard_->onChanged = [this] { refresh(); };
    refresh();
}

LockKeys::~LockKeys()
{
    if (keyboard_)
        keyboard_->onChanged = nullptr;
}

void LockKeys::refresh()
{
    for (const LockPanel &p : lockPanels) {
        const bool on = keyboard_ && keyboard_->isOn(p.key).value_or(false);
        c.commands.setPanelText(p.panel, on ? QString::fromLatin1(p.text) : QString());
    }
}

void LockKeys::toggle(int panel)
{
    if (!keyboard_)
        return;
    for (const LockPanel &p : lockPanels) {
        if (p.panel == panel && keyboard_->toggle(p.key))
            refresh(); // the change may also be announced later; showing it twice is harmless
    }
}

} // namespace corvanta
