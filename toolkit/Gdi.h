#pragma once

// Owners for GDI objects and device contexts, and a scoped selection that puts the previous object
// back. Move-only.

#include <windows.h>

#include <utility>

template <typename T> class GdiObject
{
public:
    GdiObject() = default;
    explicit GdiObject(T object) : object_(object) {}
    ~GdiObject() { Reset(); }

    GdiObject(GdiObject&& other) noexcept : object_(other.Release()) {}
    GdiObject& operator=(GdiObject&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    T Get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    T Release() { return std::exchange(object_, nullptr); }
    void Reset(T object = nullptr)
    {
        if (object_)
            DeleteObject(object_);
        object_ = object;
    }

private:
    T object_ = nullptr;
};

using FontHandle = GdiObject<HFONT>;
using BitmapHandle = GdiObject<HBITMAP>;
using BrushHandle = GdiObject<HBRUSH>;

// A memory device context made by CreateCompatibleDC.
class MemoryDcHandle
{
public:
    MemoryDcHandle() = default;
    explicit MemoryDcHandle(HDC dc) : dc_(dc) {}
    ~MemoryDcHandle()
    {
        if (dc_)
            DeleteDC(dc_);
    }
    MemoryDcHandle(MemoryDcHandle&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
    MemoryDcHandle& operator=(MemoryDcHandle&& other) noexcept
    {
        std::swap(dc_, other.dc_);
        return *this;
    }
    MemoryDcHandle(const MemoryDcHandle&) = delete;
    MemoryDcHandle& operator=(const MemoryDcHandle&) = delete;

    HDC Get() const { return dc_; }

private:
    HDC dc_ = nullptr;
};

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
