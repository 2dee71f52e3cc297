#pragma once

// How the reading panels look: colours and the parts of the font that are kept between runs.
// Platform-free; colours are COLORREF values (0x00BBGGRR).

#include <cstdint>
#include <string>

struct FontChoice
{
    std::int32_t height = 90;
    std::string faceName = "Arial"; // UTF-8
    std::uint8_t italic = 0;        // a byte, as the system's font description holds it
    std::int32_t weight = 0;        // 0: the font's default weight
};

struct PanelLook
{
    std::uint32_t textColour = 0x00804000;       // red 0, green 64, blue 128
    std::uint32_t backgroundColour = 0x00FFE4CA; // red 202, green 228, blue 255
    FontChoice font;
};
