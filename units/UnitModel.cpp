#include "units/UnitModel.h"

#include <cstdio>

DisplayFormat GetDisplayFormat(int unitCode, int conversionMode, bool showUnitLabel)
{
    const bool label = showUnitLabel;
    const int e = unitCode == UNIT_UMOL ? 3 : conversionMode;
    switch (e)
    {
    case CONV_NONE:
        switch (unitCode)
        {
        case UNIT_WM2:
            return label ? DisplayFormat{"%.1f W/m2", true, "%.1f W/m"} : DisplayFormat{"%.1f"};
        case UNIT_KLX:
            return label ? DisplayFormat{"%.1f kLx"} : DisplayFormat{"%.1f"};
        case UNIT_WM2_FINE:
            return label ? DisplayFormat{"%.2f W/m2", true, "%.2f W/m"} : DisplayFormat{"%.2f"};
        default:
            return {}; // an unknown unit shows no value at all
        }
    case CONV_TO_WM2:
        return label ? DisplayFormat{"%.2f W/m2", true, "%.2f W/m"} : DisplayFormat{"%.2f"};
    case CONV_TO_KLX:
        return label ? DisplayFormat{"%.2f kLx"} : DisplayFormat{"%.2f"};
    case 3:
        // Reached only for umol, whatever the label flag: the units dialog cannot change this
        // panel.
        return label ? DisplayFormat{"%.1f \xC2\xB5mol/sm2", true, "%.1f \xC2\xB5mol/sm"}
                     : DisplayFormat{"%.1f"};
    default:
        return {};
    }
}

double ConvertValue(double raw, int unitCode, int conversionMode, double k)
{
    if (conversionMode == unitCode || conversionMode == CONV_NONE || unitCode == UNIT_UMOL ||
        (conversionMode == CONV_TO_WM2 && unitCode == UNIT_WM2_FINE))
        return raw;
    if (conversionMode == CONV_TO_KLX)
        return raw / k;
    return raw * k;
}

std::string FormatNumber(const char* format, double value)
{
    char buffer[64];
    const int n = std::snprintf(buffer, sizeof buffer, format, value);
    if (n < 0)
        return {};
    if (static_cast<size_t>(n) < sizeof buffer)
        return std::string(buffer, static_cast<size_t>(n));
    std::string big(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(&big[0], big.size(), format, value);
    big.resize(static_cast<size_t>(n));
    return big;
}

bool UnitState::SetUnitOptions(const UnitOptions& options)
{
    if (unitCode == UNIT_UMOL)
        return false;
    if (options.conversionMode == conversionMode && options.showUnitLabel == showUnitLabel &&
        options.k == k)
        return false;
    static_cast<UnitOptions&>(*this) = options;
    return true;
}
