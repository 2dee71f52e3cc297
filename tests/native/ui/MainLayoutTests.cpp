#include "ui/MainLayout.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>

bool operator==(const LayoutRect& a, const LayoutRect& b)
{
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

std::ostream& operator<<(std::ostream& os, const LayoutRect& r)
{
    return os << "(" << r.x << ", " << r.y << ") " << r.width << " x " << r.height;
}

namespace
{

TEST(MainLayout, OnePanelFillsTheClientAreaBelowTheStatusLine)
{
    const MainLayout l = ComputeMainLayout(534, 362, 3, 20, false);
    EXPECT_FALSE(l.twoPanels);
    EXPECT_EQ(l.statusLine, (LayoutRect{3, 3, 528, 23}));
    EXPECT_EQ(l.panel1, (LayoutRect{3, 31, 528, 328}));
    EXPECT_EQ(l.panel2, (LayoutRect{0, 0, 0, 0})) << "panel 2 is not placed";
}

TEST(MainLayout, TwoPanelsShareTheHeight)
{
    const MainLayout l = ComputeMainLayout(534, 362, 3, 20, true);
    EXPECT_TRUE(l.twoPanels);
    EXPECT_EQ(l.statusLine, (LayoutRect{3, 3, 528, 23}));
    EXPECT_EQ(l.panel1, (LayoutRect{3, 31, 528, 163}));
    EXPECT_EQ(l.panel2, (LayoutRect{3, 197, 528, 163}));
}

TEST(MainLayout, OddStatusHeightTruncatesItsHalf)
{
    // E = 21: E / 2 = 10, so panel 2 starts at 181 - 10 + 21 + 6 = 198, and H = 181 - 10 - 8 = 163.
    const MainLayout l = ComputeMainLayout(534, 362, 3, 21, true);
    EXPECT_EQ(l.statusLine, (LayoutRect{3, 3, 528, 24}));
    EXPECT_EQ(l.panel1, (LayoutRect{3, 32, 528, 163}));
    EXPECT_EQ(l.panel2, (LayoutRect{3, 198, 528, 163}));
}

TEST(MainLayout, OddClientHeightTruncatesItsHalf)
{
    // cy = 363: cy / 2 = 181 as for 362; the one-panel height takes the extra pixel.
    const MainLayout two = ComputeMainLayout(535, 363, 3, 20, true);
    EXPECT_EQ(two.panel1, (LayoutRect{3, 31, 529, 163}));
    EXPECT_EQ(two.panel2, (LayoutRect{3, 197, 529, 163}));
    EXPECT_EQ(ComputeMainLayout(535, 363, 3, 20, false).panel1, (LayoutRect{3, 31, 529, 329}));
}

TEST(MainLayout, OtherFrameWidths)
{
    const MainLayout l = ComputeMainLayout(100, 101, 4, 17, true);
    EXPECT_EQ(l.statusLine, (LayoutRect{4, 4, 92, 21}));
    // H = 50 - 8 - 4 - 5 = 33; panel 2 at 50 - 8 + 17 + 8 = 67.
    EXPECT_EQ(l.panel1, (LayoutRect{4, 30, 92, 33}));
    EXPECT_EQ(l.panel2, (LayoutRect{4, 67, 92, 33}));
    EXPECT_EQ(ComputeMainLayout(100, 101, 0, 20, false).panel1, (LayoutRect{0, 25, 100, 76}));
}

TEST(MainLayout, TinyAndZeroClientsGiveNegativeSizesUnchanged)
{
    const MainLayout one = ComputeMainLayout(0, 0, 3, 20, false);
    EXPECT_EQ(one.statusLine, (LayoutRect{3, 3, -6, 23}));
    EXPECT_EQ(one.panel1, (LayoutRect{3, 31, -6, -34}));

    const MainLayout two = ComputeMainLayout(0, 0, 3, 20, true);
    EXPECT_EQ(two.panel1, (LayoutRect{3, 31, -6, -18}));
    EXPECT_EQ(two.panel2, (LayoutRect{3, 16, -6, -18}));

    // cy = 1 and E = 1: the halves truncate to 0.
    const MainLayout odd = ComputeMainLayout(5, 1, 3, 1, true);
    EXPECT_EQ(odd.panel1, (LayoutRect{3, 12, -1, -8}));
    EXPECT_EQ(odd.panel2, (LayoutRect{3, 7, -1, -8}));
}

TEST(MainLayout, AbsurdInputsSaturateInsteadOfOverflowing)
{
    const MainLayout big = ComputeMainLayout(INT_MAX, INT_MAX, INT_MAX, INT_MAX, true);
    EXPECT_EQ(big.statusLine.width, -INT_MAX) << "INT_MAX - 2 * INT_MAX, exact";
    EXPECT_EQ(big.statusLine.height, INT_MAX);
    EXPECT_EQ(big.panel1.y, INT_MAX);

    const MainLayout small = ComputeMainLayout(INT_MIN, INT_MIN, INT_MIN, INT_MIN, false);
    EXPECT_EQ(small.statusLine.x, INT_MIN);
    EXPECT_EQ(small.statusLine.width, INT_MAX) << "INT_MIN - 2 * INT_MIN";
    EXPECT_EQ(small.panel1.height, INT_MAX) << "INT_MIN - 3 * INT_MIN - INT_MIN - 5";

    // The largest client a WM_SIZE can report is still exact.
    const MainLayout largest = ComputeMainLayout(65535, 65535, 3, 20, true);
    EXPECT_EQ(largest.panel1, (LayoutRect{3, 31, 65529, 32767 - 10 - 3 - 5}));
    EXPECT_EQ(largest.panel2.y, 32767 - 10 + 20 + 6);
}

} // namespace
