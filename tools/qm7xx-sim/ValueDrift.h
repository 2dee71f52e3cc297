#pragma once

// The values a simulated meter channel reads, and how a value travels in a frame.

#include <cstdint>
#include <random>

// A reading that wanders around a level the way light does between two samples: each step pulls
// the value part of the way back to the level and adds a little noise. Deterministic for a seed.
class ValueDrift
{
public:
    ValueDrift(double level, double driftPercent, bool fixed, std::uint32_t seed);

    double Next();

private:
    double Gaussian();

    double level_;
    double sigma_;
    bool fixed_;
    double value_;
    std::mt19937 random_;
};

// A value as the meter sends it: a raw number of at most five characters and the whole-units
// flag (clear: raw x 0.1). Range 3 (W/m2 fine) carries a further x 0.01.
struct EncodedValue
{
    int raw = 0;
    bool wholeUnits = false;
};

// Tenths when the value fits in the field, else whole units (clamped to what the field holds).
EncodedValue EncodeValue(double value, int rangeCode);

// The value a receiver decodes from an encoded one.
double DecodedValue(const EncodedValue& encoded, int rangeCode);
