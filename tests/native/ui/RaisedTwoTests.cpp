#include "ui/RaisedTwo.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>

bool operator==(const BoxRect& a, const BoxRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::ostream& operator<<(std::ostream& os, const BoxRect& r)
{
    return os << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
}

namespace
{

TEST(RaisedTwo, DocumentedPanelExample)
{
    const RaisedTwoBoxes b = ComputeRaisedTwoBoxes({0, 0, 528, 328}, 400, 103);
    EXPECT_EQ(b.main, (BoxRect{64, 113, 464, 215}));
    // -618 / 8 truncates to -77 (not -78), 206 / 8 to 25.
    EXPECT_EQ(b.raised, (BoxRect{264, 87, 657, 189}));
}

TEST(RaisedTwo, OddSizesTruncateEachHalfSeparately)
{
    // w = 401: w / 2 = 200 on both sides, so the main box is 400 wide, not 401.
    // h = 7: -42 / 8 = -5, 14 / 8 = 1. Client (1, 1)-(10, 12): cx = 5, cy = 6.
    const RaisedTwoBoxes b = ComputeRaisedTwoBoxes({1, 1, 10, 12}, 401, 7);
    EXPECT_EQ(b.main, (BoxRect{-195, 3, 205, 9}));
    EXPECT_EQ(b.raised, (BoxRect{5, 1, 398, 7}));
}

TEST(RaisedTwo, NegativeCentreTruncatesTowardZero)
{
    // Client (-11, -11)-(0, 0): cx = cy = -11 / 2 = -5.
    const RaisedTwoBoxes b = ComputeRaisedTwoBoxes({-11, -11, 0, 0}, 3, 9);
    EXPECT_EQ(b.main, (BoxRect{-6, -9, -4, -1}));
    // -54 / 8 = -6, 18 / 8 = 2.
    EXPECT_EQ(b.raised, (BoxRect{-204, -11, 189, -3}));
}

TEST(RaisedTwo, TextWiderThanThePanelIsStillCentred)
{
    const RaisedTwoBoxes b = ComputeRaisedTwoBoxes({0, 0, 100, 50}, 300, 20);
    EXPECT_EQ(b.main, (BoxRect{-100, 15, 200, 35}));
    EXPECT_EQ(b.raised, (BoxRect{0, 10, 393, 30}));
}

TEST(RaisedTwo, EmptyTextAndEmptyClient)
{
    const RaisedTwoBoxes b = ComputeRaisedTwoBoxes({0, 0, 0, 0}, 0, 0);
    EXPECT_EQ(b.main, (BoxRect{0, 0, 0, 0}));
    EXPECT_EQ(b.raised, (BoxRect{-200, 0, 193, 0}));
}

TEST(RaisedTwo, AbsurdInputsSaturateInsteadOfOverflowing)
{
    const RaisedTwoBoxes big =
        ComputeRaisedTwoBoxes({INT_MAX, INT_MAX, INT_MAX, INT_MAX}, INT_MAX, INT_MAX);
    EXPECT_EQ(big.main.left, 1073741824) << "cx = INT_MAX, w / 2 = 1073741823";
    EXPECT_EQ(big.main.right, INT_MAX);
    EXPECT_EQ(big.raised.right, INT_MAX);
    EXPECT_EQ(big.raised.top, 536870912) << "INT_MAX + (-INT_MAX * 6) / 8, exact";

    const RaisedTwoBoxes small =
        ComputeRaisedTwoBoxes({INT_MIN, INT_MIN, INT_MIN, INT_MIN}, INT_MIN, INT_MIN);
    EXPECT_EQ(small.main.left, -1073741824);
    EXPECT_EQ(small.main.right, INT_MIN);
    EXPECT_EQ(small.raised.left, INT_MIN);
    EXPECT_EQ(small.raised.top, -536870912) << "-INT_MIN * 6 needs more than 32 bits";
    EXPECT_EQ(small.raised.bottom, INT_MIN);
}

} // namespace
