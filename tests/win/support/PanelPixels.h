#pragma once

// Reads back what a window shows: its client area copied into a 32-bit bitmap.

#include "toolkit/Gdi.h"

#include <windows.h>

#include <cstdint>
#include <vector>

class WindowPixels
{
public:
    explicit WindowPixels(HWND hwnd)
    {
        RECT client{};
        GetClientRect(hwnd, &client);
        width_ = client.right;
        height_ = client.bottom;
        pixels_.resize(static_cast<size_t>(width_) * static_cast<size_t>(height_));
        WindowDc windowDc(hwnd);
        MemoryDcHandle memory(CreateCompatibleDC(windowDc.Get()));
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        BitmapHandle bitmap(
            CreateDIBSection(memory.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!bitmap || !bits)
            return;
        ScopedSelectObject select(memory.Get(), bitmap.Get());
        BitBlt(memory.Get(), 0, 0, width_, height_, windowDc.Get(), 0, 0, SRCCOPY);
        GdiFlush();
        const auto* source = static_cast<const std::uint32_t*>(bits);
        for (size_t i = 0; i < pixels_.size(); ++i)
        {
            const std::uint32_t bgr = source[i]; // 0x00RRGGBB in a DIB
            pixels_[i] = RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
        }
    }

    int Width() const { return width_; }
    int Height() const { return height_; }
    COLORREF At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }

    // Pixels that are not the given colour (the "ink" on a plain background).
    int CountOther(COLORREF background) const
    {
        int n = 0;
        for (COLORREF c : pixels_)
            n += c != background;
        return n;
    }
    int Count(COLORREF colour) const
    {
        int n = 0;
        for (COLORREF c : pixels_)
            n += c == colour;
        return n;
    }
    // Bounding box of the ink; empty (right < left) when there is none.
    RECT InkBox(COLORREF background) const
    {
        RECT box{width_, height_, -1, -1};
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                if (At(x, y) != background)
                {
                    box.left = x < box.left ? x : box.left;
                    box.top = y < box.top ? y : box.top;
                    box.right = x > box.right ? x : box.right;
                    box.bottom = y > box.bottom ? y : box.bottom;
                }
        return box;
    }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<COLORREF> pixels_;
};
