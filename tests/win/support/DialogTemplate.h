#pragma once

// Builds in-memory dialog templates (DLGTEMPLATE with DLGITEMTEMPLATE entries) for tests that need
// a dialog without a resource script.

#include <windows.h>

#include <string>
#include <vector>

class DialogTemplate
{
public:
    DialogTemplate(DWORD style, short width, short height, const std::wstring& caption = L"")
    {
        DLGTEMPLATE header{};
        header.style = style | DS_SETFONT;
        header.cx = width;
        header.cy = height;
        Append(&header, sizeof header);
        AppendWord(0); // no menu
        AppendWord(0); // standard dialog class
        AppendString(caption);
        AppendWord(8); // point size of the font
        AppendString(L"MS Shell Dlg");
    }

    DialogTemplate& Add(const std::wstring& className, WORD id, DWORD style, short x, short y,
                        short width, short height, const std::wstring& text = L"")
    {
        bytes_.resize((bytes_.size() + 3) / 4 * 4); // items are DWORD-aligned
        const DLGITEMTEMPLATE item{style | WS_CHILD | WS_VISIBLE, 0, x, y, width, height, id};
        Append(&item, sizeof item);
        AppendString(className);
        AppendString(text);
        AppendWord(0); // no creation data
        ++reinterpret_cast<DLGTEMPLATE*>(bytes_.data())->cdit;
        return *this;
    }

    // The template as the dialog manager expects it; valid until the next Add.
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

private:
    void Append(const void* data, size_t size)
    {
        bytes_.insert(bytes_.end(), static_cast<const char*>(data),
                      static_cast<const char*>(data) + size);
    }
    void AppendWord(WORD w) { Append(&w, sizeof w); }
    void AppendString(const std::wstring& s)
    {
        Append(s.c_str(), (s.size() + 1) * sizeof(wchar_t));
    }

    std::vector<char> bytes_;
};
