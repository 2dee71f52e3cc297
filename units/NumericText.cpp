#include "units/NumericText.h"

#include "units/UnitModel.h"

#include <cstdlib>

namespace
{

constexpr std::string::size_type NONE = std::string::npos;

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

    // The first '.' or ',' is the separator; any other after it makes the text malformed.
    const std::string::size_type p = text.find_first_of(".,");
    const bool secondSeparator = p != NONE && text.find_first_of(".,", p + 1) != NONE;
    const bool innerMinus = text.find('-', 1) != NONE;
    const size_t wholeChars = p == NONE ? text.size() : p;
    if (secondSeparator || innerMinus || wholeChars >= MAX_WHOLE_PART_CHARS)
        return result;

    // The whole part has at most seven characters and the fraction at most nine digits: atoi
    // cannot overflow on either. Fraction digits beyond the decimals are dropped, not rounded.
    const int whole = std::atoi(text.substr(0, wholeChars).c_str());
    const std::string fractionDigits = p == NONE ? std::string() : text.substr(p + 1, d);
    const double fraction = std::atoi(fractionDigits.c_str()) / PowerOfTen(fractionDigits.size());
    // The sign of a leading '-' belongs to the fraction too (-0.5 has a whole part of 0).
    result.value = !text.empty() && text[0] == '-' ? whole - fraction : whole + fraction;
    result.valid = true;
    result.text = FixedPointText(result.value, decimals);
    return result;
}

std::string FixedPointText(double value, int decimals)
{
    return FormatNumber(("%." + std::to_string(ClampDecimals(decimals)) + "f").c_str(), value);
}
