#include "app/StoredForm.h"

#include "units/UnitModel.h"

#include <cmath>
#include <limits>

namespace
{

constexpr double STORED_MAX = std::numeric_limits<std::uint32_t>::max();
// K * 1000 carries the error of K's binary form (about 1e-16 relative); 4.007 * 1000 is
// 4006.9999999999995. Far below a thousandth of any K, far above that error.
constexpr double WHOLE_NUMBER_TOLERANCE = 1e-12;

} // namespace

std::uint32_t KToStored(double k)
{
    if (std::isnan(k))
        k = DEFAULT_K;
    double thousandths = k * 1000.0;
    if (!(thousandths > 0.0))
        return 0;
    if (thousandths >= STORED_MAX)
        return std::numeric_limits<std::uint32_t>::max();
    const double whole = std::round(thousandths);
    if (std::fabs(thousandths - whole) <= thousandths * WHOLE_NUMBER_TOLERANCE)
        thousandths = whole;
    return static_cast<std::uint32_t>(thousandths); // in range: truncation is defined
}

double StoredToK(std::uint32_t stored)
{
    return stored == 0 ? DEFAULT_K : static_cast<double>(stored) * 0.001;
}

std::uint32_t FlagToStored(bool flag)
{
    return flag ? 1u : 0u;
}

bool StoredToFlag(std::uint32_t stored)
{
    return stored != 0;
}

int StoredToInterval(std::uint32_t stored)
{
    const int seconds = StoredToSigned(stored);
    return seconds < 1 ? 1 : seconds;
}

std::uint32_t SignedToStored(int value)
{
    return static_cast<std::uint32_t>(value); // modular: defined for every int
}

int StoredToSigned(std::uint32_t stored)
{
    if (stored <= static_cast<std::uint32_t>(std::numeric_limits<int>::max()))
        return static_cast<int>(stored);
    // Above INT_MAX: the two's complement negative, computed without an out-of-range cast.
    return -static_cast<int>(~stored) - 1;
}

std::uint8_t StoredToItalic(std::uint32_t stored)
{
    return static_cast<std::uint8_t>(stored & 0xFFu);
}

int StoredToConversionMode(std::uint32_t stored)
{
    return stored <= CONV_TO_KLX ? static_cast<int>(stored) : CONV_NONE;
}

bool IsUsableUnitCode(std::uint32_t stored)
{
    return stored >= UNIT_WM2 && stored <= UNIT_WM2_FINE;
}

bool IsUsableFontHeight(std::uint32_t stored)
{
    return stored != 0;
}
