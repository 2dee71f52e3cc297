#include "tests/e2e/WindowShot.h"

#include "toolkit/Gdi.h"
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

    const WindowDc windowDc(window, true);
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
    const int rowBytes = (width_ * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width_;
    header.biHeight = height_; // bottom-up, as every viewer expects
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(rowBytes * height_);
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;

    std::vector<char> rows(header.biSizeImage);
    for (int y = 0; y < height_; ++y)
    {
        char* row = rows.data() + static_cast<size_t>(height_ - 1 - y) * rowBytes;
        for (int x = 0; x < width_; ++x)
        {
            const COLORREF c = At(x, y);
            row[x * 3] = static_cast<char>(GetBValue(c));
            row[x * 3 + 1] = static_cast<char>(GetGValue(c));
            row[x * 3 + 2] = static_cast<char>(GetRValue(c));
        }
    }
    const UniqueHandle out(CreateFileW((folder + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    const auto write = [&out](const void* data, size_t size)
    {
        DWORD written = 0;
        return WriteFile(out.Get(), data, static_cast<DWORD>(size), &written, nullptr) &&
               written == size;
    };
    return out && write(&file, sizeof file) && write(&header, sizeof header) &&
           write(rows.data(), rows.size());
}
