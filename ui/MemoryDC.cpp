#include "ui/MemoryDC.h"

CMemoryDC::CMemoryDC(CDC& target, const RECT& rect)
    : target_(target), rect_(rect), offScreen_(target.IsPrinting() ? 0 : 1)
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
