#pragma once

// CDC: a device context and the drawing calls the program uses; CPaintDC: BeginPaint/EndPaint.
// A CDC does not own the context it is given.

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
