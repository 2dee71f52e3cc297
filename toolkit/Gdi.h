#pragma once

// Owners for GDI objects, and a scoped selection that puts the previous object
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
