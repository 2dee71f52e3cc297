#include "ui/MainLayout.h"

#include "ui/SaturatedInt.h"

#include <cstdint>

namespace
{

LayoutRect Rect(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height)
{
    return {SaturatedInt(x), SaturatedInt(y), SaturatedInt(width), SaturatedInt(height)};
}

} // namespace

MainLayout ComputeMainLayout(int clientWidth, int clientHeight, int frame, int statusHeight,
                             bool twoPanels)
{
    const std::int64_t cy = clientHeight;
    const std::int64_t f = frame;
    const std::int64_t e = statusHeight;
    const std::int64_t w = std::int64_t{clientWidth} - 2 * f;
    const std::int64_t panelTop = e + 2 * f + 5;

    MainLayout layout{};
    layout.twoPanels = twoPanels;
    layout.statusLine = Rect(f, f, w, e + f);
    if (!twoPanels)
    {
        layout.panel1 = Rect(f, panelTop, w, cy - 3 * f - e - 5);
        return layout;
    }
    const std::int64_t h = cy / 2 - e / 2 - f - 5;
    layout.panel1 = Rect(f, panelTop, w, h);
    layout.panel2 = Rect(f, cy / 2 - e / 2 + e + 2 * f, w, h);
    return layout;
}
