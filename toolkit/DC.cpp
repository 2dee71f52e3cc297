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
