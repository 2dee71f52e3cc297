#include "units/NumericText.h"

#include "units/UnitModel.h"

#include <cstdlib>

namespace
{

constexpr std::string::size_type NONE = std::string::npos;

// The first '.' at or after `from`, else the first ',' there.
std::string::size_type FindSeparator(const std::string& text, std::string::size_type from)
{
    const std::string::size_type point = text.find('.', from);
    return point != NONE ? point : text.find(',', from);
}

int ClampDecimals(int decimals)
{
    return decimals < 0 ? 0 : (decimals > MAX_NUMERIC_DECIMALS ? MAX_NUMERIC_DECIMALS : decimals);
}

double PowerOfTen(size_t n)
{
    double power = 1.0;
    for (size_t i = 0; i < n; ++i)
        power *= 10.0;
    return power;
}

} // namespace

NumericText ParseNumericText(const std::string& text, int decimals)
{
    const size_t d = static_cast<size_t>(ClampDecimals(decimals));
    NumericText result;

    std::string::size_type p = FindSeparator(text, 0);
    if (p != NONE && p > 0)
    {
        // A ',' standing before the first '.' is the separator.
        const std::string::size_type comma = text.find(',');
        if (comma < p)
            p = comma;
    }
    const bool secondSeparator = p != NONE && FindSeparator(text, p + 1) != NONE;
    const bool innerMinus = text.find('-', 1) != NONE;
    const size_t wholeChars = p == NONE ? text.size() : p;
    if (secondSeparator || innerMinus || wholeChars >= MAX_WHOLE_PART_CHARS)
        return result;

    // The whole part has at most seven characters and the fraction at most nine digits: atoi
    // cannot overflow on either.
    if (p == NONE)
    {
        result.value = std::atoi(text.c_str());
    }
    else
    {
        const std::string cut = text.substr(0, p + d + 1);
        const int whole = std::atoi(cut.substr(0, p).c_str());
        const std::string fractionDigits = cut.substr(p + 1);
        const double fraction =
            std::atoi(fractionDigits.c_str()) / PowerOfTen(fractionDigits.size());
        result.value = !text.empty() && text[0] == '-' ? whole - fraction : whole + fraction;
    }
    result.valid = true;
    result.text = FixedPointText(result.value, decimals);
    return result;
}

std::string FixedPointText(double value, int decimals)
{
    return FormatNumber(("%." + std::to_string(ClampDecimals(decimals)) + "f").c_str(), value);
}
