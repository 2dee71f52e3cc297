#include "ui/RaisedTwo.h"

#include "ui/SaturatedInt.h"

#include <cstdint>

namespace
{

BoxRect Box(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom)
{
    return {SaturatedInt(left), SaturatedInt(top), SaturatedInt(right), SaturatedInt(bottom)};
}

// The "2" box spans 200 pixels left and 193 right of the whole text's right end.
constexpr std::int64_t RAISED_LEFT = 200;
constexpr std::int64_t RAISED_RIGHT = 193;

} // namespace

RaisedTwoBoxes ComputeRaisedTwoBoxes(const BoxRect& client, int textWidth, int textHeight)
{
    const std::int64_t w = textWidth;
    const std::int64_t h = textHeight;
    const std::int64_t cx = (std::int64_t{client.left} + client.right) / 2;
    const std::int64_t cy = (std::int64_t{client.top} + client.bottom) / 2;
    const std::int64_t textEnd = cx + w / 2;

    RaisedTwoBoxes boxes{};
    boxes.main = Box(cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2);
    boxes.raised =
        Box(textEnd - RAISED_LEFT, cy + (-h * 6) / 8, textEnd + RAISED_RIGHT, cy + (h * 2) / 8);
    return boxes;
}
