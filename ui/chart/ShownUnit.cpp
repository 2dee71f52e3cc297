#include "ui/chart/ShownUnit.h"

#include "res/Texts.h"
#include "units/UnitModel.h"

#include <cstring>

ShownUnit ShownUnitOf(int unitCode, int conversionMode)
{
    // The panel's display format is where the unit shown is decided; its label says which it is.
    const DisplayFormat format = GetDisplayFormat(unitCode, conversionMode, 1);
    if (!format.format)
        return ShownUnit::None;
    if (std::strstr(format.format, "kLx"))
        return ShownUnit::Klx;
    if (std::strstr(format.format, "W/m"))
        return ShownUnit::Wm2;
    if (std::strstr(format.format, "mol"))
        return ShownUnit::Umol;
    return ShownUnit::None;
}

UnitText TextOf(ShownUnit unit)
{
    switch (unit)
    {
    case ShownUnit::Klx:
        return {texts::UNIT_KLX, 2};
    case ShownUnit::Wm2:
        return {texts::UNIT_WM2, 2};
    case ShownUnit::Umol:
        return {texts::UNIT_UMOL, 1};
    case ShownUnit::None:
        break;
    }
    return {"", 2};
}

DoseKind DoseOf(ShownUnit unit)
{
    switch (unit)
    {
    case ShownUnit::Umol: // umol/(s*m2) * s = umol/m2
        return {texts::DOSE_UMOL, texts::DOSE_UMOL_UNIT, 1e-6, 2};
    case ShownUnit::Wm2: // W/m2 * s = J/m2
        return {texts::DOSE_WM2, texts::DOSE_WM2_UNIT, 1e-3, 1};
    case ShownUnit::Klx: // klx * s
        return {texts::DOSE_KLX, texts::DOSE_KLX_UNIT, 1.0 / 3600.0, 2};
    case ShownUnit::None:
        break;
    }
    return {texts::DOSE_UNKNOWN, "", 0.0, 0};
}
