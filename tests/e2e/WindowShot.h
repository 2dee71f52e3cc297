#pragma once

// What a window of another process shows on the screen, copied from its window DC. (PrintWindow
// would ask the window to paint into a DC of the probe, which under Wine belongs to the wrong
// process and stays blank.)

#include <windows.h>

#include <cstdint>
#include <vector>

class WindowShot
{
public:
    // The whole window, caption and frame included.
    explicit WindowShot(HWND window);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return pixels_.empty(); }
    COLORREF At(int x, int y) const;
    // Pixels of exactly this colour inside `area` (window coordinates).
    int Count(COLORREF colour, const RECT& area) const;
    int Count(COLORREF colour) const { return Count(colour, {0, 0, width_, height_}); }
    // Pixels of any other colour (the "ink" on a plain background), and their bounding box
    // (empty, right < left, when there is none).
    int CountOther(COLORREF background) const { return width_ * height_ - Count(background); }
    RECT InkBox(COLORREF background) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_; // as the DIB holds them
};
