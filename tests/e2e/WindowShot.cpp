#include "tests/e2e/WindowShot.h"

#include "toolkit/DC.h"
#include "toolkit/Handles.h"

WindowShot::WindowShot(HWND window)
{
    RECT rect{};
    if (!GetWindowRect(window, &rect))
        return;
    width_ = rect.right - rect.left;
    height_ = rect.bottom - rect.top;
    if (width_ <= 0 || height_ <= 0)
        return;

    const CWindowDC windowDc(window, true);
    const MemoryDcHandle memory(CreateCompatibleDC(windowDc.Get()));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const BitmapHandle bitmap(
        CreateDIBSection(memory.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!windowDc.Get() || !memory.Get() || !bitmap)
        return;
    const ScopedSelectObject selected(memory.Get(), bitmap.Get());
    if (!BitBlt(memory.Get(), 0, 0, width_, height_, windowDc.Get(), 0, 0, SRCCOPY))
        return;
    GdiFlush();
    const auto* source = static_cast<const std::uint32_t*>(bits);
    pixels_.resize(static_cast<size_t>(width_) * static_cast<size_t>(height_));
    for (size_t i = 0; i < pixels_.size(); ++i)
    {
        const std::uint32_t rgb = source[i]; // 0x00RRGGBB in a DIB
        pixels_[i] = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    }
}

COLORREF WindowShot::At(int x, int y) const
{
    return pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

int WindowShot::Count(COLORREF colour, const RECT& area) const
{
    if (Empty())
        return 0;
    int count = 0;
    for (int y = area.top < 0 ? 0 : area.top; y < area.bottom && y < height_; ++y)
    {
        for (int x = area.left < 0 ? 0 : area.left; x < area.right && x < width_; ++x)
            count += At(x, y) == colour;
    }
    return count;
}

RECT WindowShot::InkBox(COLORREF background) const
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

bool WindowShot::Save(const std::wstring& folder, const std::wstring& name) const
{
    if (Empty())
        return false;
    CreateDirectoryW(folder.c_str(), nullptr);
    // 32 bits a pixel, rows top-down (a negative height): the pixels as they are, blue first.
    std::vector<std::uint32_t> bgr(pixels_.size());
    for (size_t i = 0; i < bgr.size(); ++i)
        bgr[i] = RGB(GetBValue(pixels_[i]), GetGValue(pixels_[i]), GetRValue(pixels_[i]));
    const DWORD bytes = static_cast<DWORD>(bgr.size() * sizeof bgr[0]);
    BITMAPINFOHEADER header{sizeof header, width_, -height_, 1, 32, BI_RGB, bytes, 0, 0, 0, 0};
    BITMAPFILEHEADER file{0x4D42, 0, 0, 0, sizeof file + sizeof header}; // "BM"
    file.bfSize = file.bfOffBits + bytes;
    const UniqueHandle out(CreateFileW((folder + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return out && WriteFile(out.Get(), &file, sizeof file, &written, nullptr) &&
           WriteFile(out.Get(), &header, sizeof header, &written, nullptr) &&
           WriteFile(out.Get(), bgr.data(), bytes, &written, nullptr) && written == bytes;
}
