#include "toolkit/DC.h"

#include "toolkit/TextConv.h"

void CDC::FillSolidRect(const RECT& rect, COLORREF colour) const
{
    // ExtTextOut with an opaque rectangle fills without creating a brush.
    const COLORREF previous = ::SetBkColor(m_hDC, colour);
    ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, previous);
}

int CDC::DrawText(const std::string& text, RECT* rect, UINT format) const
{
    const std::wstring wide = Utf8ToWide(text);
    return ::DrawTextW(m_hDC, wide.c_str(), static_cast<int>(wide.size()), rect, format);
}

SIZE CDC::GetTextExtent(const std::string& text) const
{
    const std::wstring wide = Utf8ToWide(text);
    SIZE size{};
    GetTextExtentPoint32W(m_hDC, wide.c_str(), static_cast<int>(wide.size()), &size);
    return size;
}

CMemoryDC::CMemoryDC(CDC& target, const RECT& rect)
    : target_(target), rect_(rect), offScreen_(!target.IsPrinting())
{
    if (offScreen_)
    {
        memoryDc_ = MemoryDcHandle(CreateCompatibleDC(target.m_hDC));
        m_hDC = memoryDc_.Get();
        LPtoDP(target.m_hDC, reinterpret_cast<POINT*>(&rect_), 2);
        bitmap_.Reset(CreateCompatibleBitmap(target.m_hDC, rect_.right - rect_.left,
                                             rect_.bottom - rect_.top));
        oldBitmap_ = SelectObject(bitmap_.Get());
        SetMapMode(m_hDC, GetMapMode(target.m_hDC));
        SIZE extent{};
        GetWindowExtEx(target.m_hDC, &extent);
        SetWindowExtEx(m_hDC, extent.cx, extent.cy, nullptr);
        GetViewportExtEx(target.m_hDC, &extent);
        SetViewportExtEx(m_hDC, extent.cx, extent.cy, nullptr);
        DPtoLP(target.m_hDC, reinterpret_cast<POINT*>(&rect_), 2);
        SetWindowOrgEx(m_hDC, rect_.left, rect_.top, nullptr);
    }
    else
    {
        // A printer gets the drawing directly: there is nothing to flicker.
        m_hDC = target.m_hDC;
    }
    FillSolidRect(rect_, target.GetBkColor());
}

CMemoryDC::~CMemoryDC()
{
    if (offScreen_)
    {
        ::BitBlt(target_.m_hDC, rect_.left, rect_.top, rect_.right - rect_.left,
                 rect_.bottom - rect_.top, m_hDC, rect_.left, rect_.top, SRCCOPY);
        SelectObject(oldBitmap_);
    }
    m_hDC = nullptr; // the printer's context belongs to the caller; our own is deleted by its owner
}
