#pragma once

// The unit model shared by the panels, the units dialog and the settings: the meter's unit codes,
// the conversion between kLx and W/m2 with the coefficient K, and the display formats.

#include <string>

enum UnitCode : int
{
    UNIT_WM2 = 1,      // W/m2, 0.1 resolution
    UNIT_KLX = 2,      // kLx
    UNIT_UMOL = 3,     // umol/(s*m2), never converted
    UNIT_WM2_FINE = 4, // W/m2, 0.01 resolution
};

enum ConversionMode : int
{
    CONV_NONE = 0,   // show what the meter sends
    CONV_TO_WM2 = 1, // kLx values multiplied by K
    CONV_TO_KLX = 2, // W/m2 values divided by K
};

constexpr double DEFAULT_K = 1.47;
// Until the first reading (or a stored DEVICE_UNIT) says otherwise, a panel assumes kLx.
constexpr int DEFAULT_UNIT_CODE = UNIT_KLX;

// How a converted value is drawn. Texts are UTF-8.
struct DisplayFormat
{
    const char* format = nullptr;      // printf format of the whole text; null: draw nothing
    bool raisedTwo = false;            // the unit label ends in a "2" drawn as a superscript
    const char* shortFormat = nullptr; // the format without that final "2" (only when raisedTwo)
};

// Returns the display format for a unit code, conversion mode and unit label flag.
DisplayFormat GetDisplayFormat(int unitCode, int conversionMode, bool showUnitLabel);

// The value to display for a raw meter value.
double ConvertValue(double raw, int unitCode, int conversionMode, double k);

// printf-style formatting of one double; the decimal point is always '.'.
std::string FormatNumber(const char* format, double value);

// What the user chooses in the units dialog; kept between runs.
struct UnitOptions
{
    int conversionMode = CONV_NONE;
    bool showUnitLabel = true;
    double k = DEFAULT_K;
};

// The unit state that every reading panel embeds: the user's options and the meter's unit.
class UnitState : public UnitOptions
{
public:
    int unitCode = DEFAULT_UNIT_CODE;

    void SetUnitCode(int code) { unitCode = code; }

    // Ignored while the meter reports umol, and when nothing would change (K compared exactly).
    // Returns true when the options were stored, i.e. when the panel must repaint.
    bool SetUnitOptions(const UnitOptions& options);

    double ConvertValue(double raw) const
    {
        return ::ConvertValue(raw, unitCode, conversionMode, k);
    }
    DisplayFormat Format() const
    {
        return GetDisplayFormat(unitCode, conversionMode, showUnitLabel);
    }
};
