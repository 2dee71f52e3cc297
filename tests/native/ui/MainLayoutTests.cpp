#include "ui/MainLayout.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

using Ints = std::vector<int>;

// Each expectation: status line, panel 1 and panel 2 as x, y, width, height each.
TEST(MainLayout, PlacesTheStatusLineAndPanelsWithTruncatingHalves)
{
    const struct
    {
        int cx, cy, frame, statusHeight, two;
        Ints expected;
    } cases[] = {
        {534, 362, 3, 20, false, {3, 3, 528, 23, 3, 31, 528, 328, 0, 0, 0, 0}},
        {534, 362, 3, 21, true, {3, 3, 528, 24, 3, 32, 528, 163, 3, 198, 528, 163}},
        {100, 101, 4, 17, true, {4, 4, 92, 21, 4, 30, 92, 33, 4, 67, 92, 33}},
        {5, 1, 3, 1, true, {3, 3, -1, 4, 3, 12, -1, -8, 3, 7, -1, -8}}, // negative sizes passed on
    };
    for (const auto& c : cases)
    {
        const MainLayout l = ComputeMainLayout(c.cx, c.cy, c.frame, c.statusHeight, c.two != 0);
        Ints all;
        for (const LayoutRect& r : {l.statusLine, l.panel1, l.panel2})
            all.insert(all.end(), {r.x, r.y, r.width, r.height});
        EXPECT_EQ(all, c.expected);
    }
}

} // namespace
