#include "ui/RaisedTwo.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

using Ints = std::vector<int>;

// The whole text is centred; the "2" box spans 200 pixels left and 193 right of its end, from
// 6/8 of the text height above the centre to 2/8 below, each part truncated toward zero.
TEST(RaisedTwo, PlacesTheShortenedTextAndTheRaisedTwoWithTruncatingHalves)
{
    const struct
    {
        BoxRect client;
        int width, height;
        Ints expected; // main box, then the "2" box, as left, top, right, bottom
    } cases[] = {
        {{0, 0, 528, 328}, 400, 103, {64, 113, 464, 215, 264, 87, 657, 189}},
        {{1, 1, 10, 12}, 401, 7, {-195, 3, 205, 9, 5, 1, 398, 7}},
        {{-11, -11, 0, 0}, 3, 9, {-6, -9, -4, -1, -204, -11, 189, -3}},
    };
    for (const auto& c : cases)
    {
        const RaisedTwoBoxes b = ComputeRaisedTwoBoxes(c.client, c.width, c.height);
        EXPECT_EQ(Ints({b.main.left, b.main.top, b.main.right, b.main.bottom, b.raised.left,
                        b.raised.top, b.raised.right, b.raised.bottom}),
                  c.expected);
    }
}

} // namespace
