#pragma once

// Screen arithmetic is done in 64 bits, where no int input can overflow it, and brought back
// into the int range here: exact for every real size, saturated for absurd ones.

#include <climits>
#include <cstdint>

inline int SaturatedInt(std::int64_t v)
{
    if (v > INT_MAX)
    {
        return INT_MAX;
    }
    if (v < INT_MIN)
    {
        return INT_MIN;
    }
    return static_cast<int>(v);
}
