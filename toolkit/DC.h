#pragma once

// Every device context wrapper: CDC, a context and the drawing calls the program uses (it does not
// own the context it is given); CPaintDC, BeginPaint/EndPaint; CMemoryDC, an off-screen surface
// for one paint; CWindowDC, a window's context released on scope exit; MemoryDcHandle, the owner
// of a CreateCompatibleDC context.

#include "toolkit/Gdi.h"
#include "toolkit/Wnd.h"

#include <string>

class CDC
{
public:
    CDC() = default;
    explicit CDC(HDC dc) : m_hDC(dc) {}
    virtual ~CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;
    HDC GetSafeHdc() const { return m_hDC; }

    bool IsPrinting() const { return GetDeviceCaps(m_hDC, TECHNOLOGY) == DT_RASPRINTER; }
    void FillSolidRect(const RECT& rect, COLORREF colour) const;
    // Text is UTF-8; answers the height of the text as DrawTextW does.
    int DrawText(const std::string& text, RECT* rect, UINT format) const;
    SIZE GetTextExtent(const std::string& text) const;
    COLORREF SetBkColor(COLORREF colour) const { return ::SetBkColor(m_hDC, colour); }
    COLORREF GetBkColor() const { return ::GetBkColor(m_hDC); }
    COLORREF SetTextColor(COLORREF colour) const { return ::SetTextColor(m_hDC, colour); }
    HGDIOBJ SelectObject(HGDIOBJ object) const { return ::SelectObject(m_hDC, object); }
};

class CPaintDC : public CDC
{
public:
    explicit CPaintDC(const CWnd& wnd) : hwnd_(wnd.m_hWnd) { m_hDC = BeginPaint(hwnd_, &ps_); }
    ~CPaintDC() override { EndPaint(hwnd_, &ps_); }

    const PAINTSTRUCT& PaintStruct() const { return ps_; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
};

// A memory device context made by CreateCompatibleDC.
struct MemoryDcTraits
{
    static void Free(HDC dc) { DeleteDC(dc); }
};
using MemoryDcHandle = UniqueOwner<HDC, MemoryDcTraits>;

// The device context of a window's client area (GetDC) or of the whole window, caption and frame
// included (GetWindowDC), released on scope exit.
class CWindowDC
{
public:
    explicit CWindowDC(HWND hwnd, bool wholeWindow = false)
        : hwnd_(hwnd), dc_(wholeWindow ? GetWindowDC(hwnd) : GetDC(hwnd))
    {
    }
    ~CWindowDC()
    {
        if (dc_)
            ReleaseDC(hwnd_, dc_);
    }
    CWindowDC(const CWindowDC&) = delete;
    CWindowDC& operator=(const CWindowDC&) = delete;

    HDC Get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// An off-screen drawing surface for one paint: everything drawn into it reaches the target in a
// single BitBlt when it goes out of scope, so a window never shows a half-drawn state.

class CMemoryDC : public CDC
{
public:
    // rect is in logical units of the target.
    CMemoryDC(CDC& target, const RECT& rect);
    ~CMemoryDC() override;
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;

private:
    BitmapHandle bitmap_;
    HGDIOBJ oldBitmap_ = nullptr;
    CDC& target_;
    RECT rect_;
    bool offScreen_;
    MemoryDcHandle memoryDc_;
};
