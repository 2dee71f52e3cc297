#include "tools/qm7xx-sim/ValueDrift.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr long long RAW_MAX = 99999;
constexpr long long RAW_MIN = -9999;
// How far each step pulls the value back to the level.
constexpr double PULL = 0.3;
constexpr double TWO_PI = 6.283185307179586;

double FineFactor(int rangeCode)
{
    return rangeCode == 3 ? 0.01 : 1.0;
}

} // namespace

ValueDrift::ValueDrift(double level, double driftPercent, bool fixed, std::uint32_t seed)
    : level_(level), sigma_((level == 0.0 ? 1.0 : std::fabs(level)) * driftPercent / 100.0),
      fixed_(fixed), value_(level), random_(seed)
{
}

double ValueDrift::Next()
{
    if (fixed_)
        return level_;
    value_ += PULL * (level_ - value_) + sigma_ * Gaussian();
    return value_;
}

// Box-Muller on the generator's own output, so the sequence is the same with every standard
// library (the distributions of <random> are not).
double ValueDrift::Gaussian()
{
    const double u1 = (static_cast<double>(random_()) + 1.0) / 4294967296.0;
    const double u2 = static_cast<double>(random_()) / 4294967296.0;
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(TWO_PI * u2);
}

EncodedValue EncodeValue(double value, int rangeCode)
{
    const double fine = FineFactor(rangeCode);
    value = std::clamp(value, -1e9, 1e9); // keeps llround defined
    const long long tenths = std::llround(value / (0.1 * fine));
    if (tenths >= RAW_MIN && tenths <= RAW_MAX)
        return {static_cast<int>(tenths), false};
    const long long whole = std::clamp(std::llround(value / fine), RAW_MIN, RAW_MAX);
    return {static_cast<int>(whole), true};
}

double DecodedValue(const EncodedValue& encoded, int rangeCode)
{
    double value = static_cast<double>(encoded.raw);
    if (!encoded.wholeUnits)
        value *= 0.1;
    if (rangeCode == 3)
        value *= 0.01;
    return value;
}
