#include "units/UnitModel.h"

#include <gtest/gtest.h>

namespace
{

TEST(UnitModel, ConvertsAndFormatsEachUnitAndMode)
{
    const struct
    {
        int code, mode, label;
        double k, raw;
        const char* shown; // empty: nothing is drawn
        bool raisedTwo;
    } cases[] = {
        {UNIT_KLX, CONV_TO_WM2, 1, DEFAULT_K, 10.0, "14.70 W/m2", true},
        {UNIT_WM2, CONV_TO_KLX, 1, 2.0, 10.0, "5.00 kLx", false},
        {UNIT_WM2_FINE, CONV_TO_KLX, 1, 2.0, 10.0, "5.00 kLx", false},
        {UNIT_WM2_FINE, CONV_TO_WM2, 1, 2.0, 1.23, "1.23 W/m2", true},
        {UNIT_KLX, CONV_TO_KLX, 1, 2.0, 56.7, "56.70 kLx", false},
        {UNIT_UMOL, CONV_TO_WM2, 1, 2.0, 100.0, "100.0 \xC2\xB5mol/sm2", true},
        {UNIT_UMOL, CONV_TO_KLX, 0, 2.0, 5.0, "5.0", false},
        {UNIT_WM2, CONV_NONE, 1, 2.0, -42.0, "-42.0 W/m2", true},
        {UNIT_KLX, CONV_NONE, 1, 2.0, 123.4, "123.4 kLx", false},
        {UNIT_WM2_FINE, CONV_NONE, 1, 2.0, 123.45, "123.45 W/m2", true},
        {UNIT_WM2, CONV_NONE, 0, 2.0, 12.34, "12.3", false},
        {UNIT_WM2_FINE, CONV_NONE, 0, 2.0, 12.345, "12.35", false},
        {UNIT_KLX, CONV_TO_WM2, 0, DEFAULT_K, 10.0, "14.70", false},
        {0, CONV_NONE, 1, 2.0, 1.0, "", false},
        {7, CONV_TO_KLX, 1, 2.0, 10.0, "5.00 kLx", false}, // the mode still names a unit
    };
    for (const auto& c : cases)
    {
        UnitState s;
        static_cast<UnitOptions&>(s) = {c.mode, c.label != 0, c.k};
        s.unitCode = c.code;
        const DisplayFormat f = s.Format();
        EXPECT_EQ(f.format ? FormatNumber(f.format, s.ConvertValue(c.raw)) : "", c.shown);
        EXPECT_EQ(f.raisedTwo, c.raisedTwo) << c.shown;
        EXPECT_EQ(std::string(f.raisedTwo ? f.shortFormat : "") + "2",
                  f.raisedTwo ? f.format : "2");
    }
}

TEST(UnitModel, UnitOptionsAreIgnoredForUmolAndWhenNothingChanges)
{
    UnitState s;
    s.unitCode = UNIT_UMOL;
    EXPECT_FALSE(s.SetUnitOptions({CONV_TO_KLX, false, 2.0}));
    s.unitCode = UNIT_KLX;
    EXPECT_FALSE(s.SetUnitOptions({CONV_NONE, true, DEFAULT_K}));
    EXPECT_TRUE(s.SetUnitOptions({CONV_NONE, true, 1.471})) << "K alone differs";
    EXPECT_EQ(s.k, 1.471);
}

} // namespace
