#pragma once

// Owners for GDI objects and device contexts, and a scoped selection that puts the previous object
// back. Move-only.

#include "toolkit/UniqueOwner.h"

#include <windows.h>

#include <utility>

struct GdiObjectTraits
{
    static void Free(HGDIOBJ object) { DeleteObject(object); }
};
template <typename T> using GdiObject = UniqueOwner<T, GdiObjectTraits>;

using FontHandle = GdiObject<HFONT>;
using BitmapHandle = GdiObject<HBITMAP>;
using BrushHandle = GdiObject<HBRUSH>;

// A memory device context made by CreateCompatibleDC.
struct MemoryDcTraits
{
    static void Free(HDC dc) { DeleteDC(dc); }
};
using MemoryDcHandle = UniqueOwner<HDC, MemoryDcTraits>;

// The device context of a window's client area (GetDC) or of the whole window, caption and frame
// included (GetWindowDC), released on scope exit.
class WindowDc
{
public:
    explicit WindowDc(HWND hwnd, bool wholeWindow = false)
        : hwnd_(hwnd), dc_(wholeWindow ? GetWindowDC(hwnd) : GetDC(hwnd))
    {
    }
    ~WindowDc()
    {
        if (dc_)
            ReleaseDC(hwnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC Get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

class ScopedSelectObject
{
public:
    ScopedSelectObject(HDC dc, HGDIOBJ object)
        : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr)
    {
    }
    ~ScopedSelectObject()
    {
        if (previous_)
            SelectObject(dc_, previous_);
    }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};
