#include "tests/e2e/WindowShot.h"

#include "toolkit/DC.h"
#include "toolkit/Gdi.h"

#include <algorithm>

WindowShot::WindowShot(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    // 32 bits a pixel, rows top-down (a negative height), as a .bmp file keeps them too.
    const BITMAPINFO info{{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0},
                          {}};
    const CWindowDC windowDc(window, true);
    const MemoryDcHandle memory(CreateCompatibleDC(windowDc.Get()));
    void* bits = nullptr;
    const BitmapHandle bitmap(
        CreateDIBSection(memory.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (width <= 0 || height <= 0 || !windowDc.Get() || !memory.Get() || !bitmap)
        return;
    const ScopedSelectObject selected(memory.Get(), bitmap.Get());
    if (!BitBlt(memory.Get(), 0, 0, width, height, windowDc.Get(), 0, 0, SRCCOPY))
        return;
    GdiFlush();
    const auto* source = static_cast<const std::uint32_t*>(bits);
    pixels_.assign(source, source + static_cast<size_t>(width) * static_cast<size_t>(height));
    width_ = width;
    height_ = height;
}

COLORREF WindowShot::At(int x, int y) const
{
    // 0x00RRGGBB in a DIB.
    const std::uint32_t rgb = pixels_[static_cast<size_t>(y) * width_ + static_cast<size_t>(x)];
    return RGB(rgb >> 16, rgb >> 8, rgb);
}

int WindowShot::Count(COLORREF colour, const RECT& area) const
{
    int count = 0;
    for (int y = std::max(0L, area.top); y < std::min<LONG>(area.bottom, height_); ++y)
        for (int x = std::max(0L, area.left); x < std::min<LONG>(area.right, width_); ++x)
            count += At(x, y) == colour;
    return count;
}

RECT WindowShot::InkBox(COLORREF background) const
{
    RECT box{width_, height_, -1, -1};
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (At(x, y) != background)
                box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                       std::max<LONG>(box.right, x), std::max<LONG>(box.bottom, y)};
    return box;
}
