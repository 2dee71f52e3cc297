#pragma once

// Builds in-memory dialog templates (DLGTEMPLATE with DLGITEMTEMPLATE entries) for tests that need
// a dialog without a resource script.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class DialogTemplate
{
public:
    DialogTemplate(DWORD style, short width, short height, const std::wstring& caption = L"")
    {
        header_.style = style | DS_SETFONT;
        header_.cx = width;
        header_.cy = height;
        caption_ = caption;
    }

    DialogTemplate& Add(const std::wstring& className, WORD id, DWORD style, short x, short y,
                        short width, short height, const std::wstring& text = L"")
    {
        items_.push_back({className, id, style | WS_CHILD | WS_VISIBLE, x, y, width, height, text});
        return *this;
    }

    // The template, laid out as the dialog manager expects (DWORD-aligned items).
    const DLGTEMPLATE* Get()
    {
        buffer_.clear();
        DLGTEMPLATE header = header_;
        header.cdit = static_cast<WORD>(items_.size());
        Append(&header, sizeof header);
        AppendWord(0); // no menu
        AppendWord(0); // standard dialog class
        AppendString(caption_);
        AppendWord(8);
        AppendString(L"MS Shell Dlg");
        for (const Item& item : items_)
        {
            Align();
            DLGITEMTEMPLATE entry{};
            entry.style = item.style;
            entry.x = item.x;
            entry.y = item.y;
            entry.cx = item.width;
            entry.cy = item.height;
            entry.id = item.id;
            Append(&entry, sizeof entry);
            AppendString(item.className);
            AppendString(item.text);
            AppendWord(0); // no creation data
        }
        return reinterpret_cast<const DLGTEMPLATE*>(buffer_.data());
    }

private:
    struct Item
    {
        std::wstring className;
        WORD id;
        DWORD style;
        short x, y, width, height;
        std::wstring text;
    };

    void Append(const void* data, size_t size)
    {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        buffer_.insert(buffer_.end(), bytes, bytes + size);
    }
    void AppendWord(WORD w) { Append(&w, sizeof w); }
    void AppendString(const std::wstring& s)
    {
        Append(s.c_str(), (s.size() + 1) * sizeof(wchar_t));
    }
    void Align()
    {
        while (buffer_.size() % 4)
            buffer_.push_back(0);
    }

    DLGTEMPLATE header_{};
    std::wstring caption_;
    std::vector<Item> items_;
    std::vector<std::uint8_t> buffer_;
};
