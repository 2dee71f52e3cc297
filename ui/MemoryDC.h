#pragma once

// An off-screen drawing surface for one paint: everything drawn into it reaches the target in a
// single BitBlt when it goes out of scope, so a window never shows a half-drawn state.

#include "toolkit/DC.h"
#include "toolkit/Gdi.h"

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
    int offScreen_;
    MemoryDcHandle memoryDc_;
};
