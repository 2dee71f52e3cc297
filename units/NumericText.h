#pragma once

// Reading a decimal number typed into a numeric field (the coefficient K): '.' or ',' as the
// separator, a '-' only in front, fraction digits beyond the field's decimals dropped, not
// rounded, and the text the field shows afterwards.

#include <string>

// What a numeric field answers instead of a value for a malformed text. No accepted text reads as
// this value: accepted values are whole multiples of 10^-decimals, never finer than 10^-9.
constexpr double NUMERIC_FORMAT_ERROR = 3.1521e-10;

// Decimals a field may carry; more would not fit the fraction's digits in an int.
constexpr int MAX_NUMERIC_DECIMALS = 9;

// A text with this many characters or more before the separator (or in all, without one) is
// refused as malformed: the whole part is read as an int, and K never needs so many digits.
constexpr size_t MAX_WHOLE_PART_CHARS = 8;

struct NumericText
{
    bool valid = false; // false: a second separator, a '-' past the start, or a too long whole part
    double value = 0.0;
    std::string text; // the value in fixed-point form with the field's decimals ("2" -> "2.000")
};

// Reads `text` as a field with `decimals` decimals (clamped to 0..MAX_NUMERIC_DECIMALS).
NumericText ParseNumericText(const std::string& text, int decimals);

// The value as a field with `decimals` decimals shows it: "%.<decimals>f".
std::string FixedPointText(double value, int decimals);
