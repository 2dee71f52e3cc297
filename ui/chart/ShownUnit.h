#pragma once

// The unit a reading panel shows a value in (after any conversion), and the light dose that
// builds up from a value of that unit over time. Platform-free; texts are UTF-8.

enum class ShownUnit : unsigned char
{
    None, // the panel shows no value (a unit it does not know)
    Klx,
    Wm2,
    Umol,
};

// The unit of the value a panel with this unit code and conversion mode shows: the one its
// display format names.
ShownUnit ShownUnitOf(int unitCode, int conversionMode);

// How values of a unit are written in the chart window: "kLx", "W/m²", "µmol/(s·m²)".
struct UnitText
{
    const char* label;
    int decimals;
};
UnitText TextOf(ShownUnit unit);

// A dose: the integral of a value over time, in a unit of its own.
struct DoseKind
{
    const char* name;     // what the dose is called, e.g. "Napromienienie"
    const char* label;    // its unit, e.g. "kJ/m²"
    double perUnitSecond; // the dose of one unit held for one second
    int decimals;
};
DoseKind DoseOf(ShownUnit unit);
