#include "app/MainLayout.h"

namespace corvanta {

MainLayout MainLayout::compute(float w, float h)
{
    MainLayout l;
    const float listWidth = w / 3 - 200;
    float left = 125;
    for (int i = 0; i < 3; ++i) {
        l.lists[i] = {left, 765, listWidth, h - 2100};
        l.labels[i] = {left + 75, 540, listWidth - 100, 255};
        left += listWidth + 100;
    }
    l.optOpenLeft = w - 2700;
    l.optPrintLeft = w - 2700 + 1150;
    l.lineRight = w;
    return l;
}

} // namespace corvanta
