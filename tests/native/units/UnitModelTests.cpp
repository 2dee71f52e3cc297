#include "units/UnitModel.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

std::string Shown(const UnitState& s, double raw)
{
    const DisplayFormat f = s.Format();
    return f.format ? FormatNumber(f.format, s.ConvertValue(raw)) : std::string("<nothing>");
}

UnitState State(int code, int mode, int label = 1, double k = DEFAULT_K)
{
    UnitState s;
    s.unitCode = code;
    s.conversionMode = mode;
    s.showUnitLabel = label;
    s.k = k;
    return s;
}

TEST(UnitConversion, KlxToWm2MultipliesByK)
{
    EXPECT_EQ(Shown(State(UNIT_KLX, CONV_TO_WM2), 10.0), "14.70 W/m2");
}

TEST(UnitConversion, Wm2ToKlxDividesByKForBothResolutions)
{
    EXPECT_EQ(Shown(State(UNIT_WM2, CONV_TO_KLX, 1, 2.0), 10.0), "5.00 kLx");
    EXPECT_EQ(Shown(State(UNIT_WM2_FINE, CONV_TO_KLX, 1, 2.0), 10.0), "5.00 kLx");
}

TEST(UnitConversion, ValueAlreadyInTargetUnitIsUnchangedButShownWithTwoDecimals)
{
    EXPECT_EQ(Shown(State(UNIT_WM2, CONV_TO_WM2), 10.0), "10.00 W/m2");
    EXPECT_EQ(Shown(State(UNIT_WM2_FINE, CONV_TO_WM2), 1.23), "1.23 W/m2");
    EXPECT_EQ(Shown(State(UNIT_KLX, CONV_TO_KLX), 56.7), "56.70 kLx");
}

TEST(UnitConversion, UmolIsNeverConvertedWhateverTheMode)
{
    for (int mode : {CONV_NONE, CONV_TO_WM2, CONV_TO_KLX})
    {
        const UnitState s = State(UNIT_UMOL, mode, 1, 2.0);
        EXPECT_EQ(s.ConvertValue(100.0), 100.0) << "mode " << mode;
        EXPECT_STREQ(s.Format().format, "%.1f \xC2\xB5mol/sm2") << "mode " << mode;
    }
}

TEST(UnitConversion, NoConversionKeepsTheMetersResolution)
{
    EXPECT_EQ(Shown(State(UNIT_WM2, CONV_NONE), -42.0), "-42.0 W/m2");
    EXPECT_EQ(Shown(State(UNIT_KLX, CONV_NONE), 123.4), "123.4 kLx");
    EXPECT_EQ(Shown(State(UNIT_WM2_FINE, CONV_NONE), 123.45), "123.45 W/m2");
}

TEST(UnitConversion, UnitCodeOutsideOneToFourShowsNothingWithoutConversion)
{
    EXPECT_EQ(Shown(State(0, CONV_NONE), 1.0), "<nothing>");
    EXPECT_EQ(Shown(State(5, CONV_NONE), 1.0), "<nothing>");
    // A conversion mode still names a target unit, so the value is drawn.
    EXPECT_EQ(Shown(State(7, CONV_TO_KLX, 1, 2.0), 10.0), "5.00 kLx");
}

TEST(DisplayFormat, LabelOffShowsTheNumberAloneWithTheTablesDecimals)
{
    EXPECT_EQ(Shown(State(UNIT_WM2, CONV_NONE, 0), 12.34), "12.3");
    EXPECT_EQ(Shown(State(UNIT_WM2_FINE, CONV_NONE, 0), 12.345), "12.35");
    EXPECT_EQ(Shown(State(UNIT_KLX, CONV_TO_WM2, 0), 10.0), "14.70");
    EXPECT_EQ(Shown(State(UNIT_UMOL, CONV_TO_KLX, 0), 5.0), "5.0");
}

TEST(DisplayFormat, RaisedTwoOnlyForSquareMetreLabelsWithTheLastCharacterRemoved)
{
    struct Case
    {
        int code, mode, label;
        bool raised;
    };
    const Case cases[] = {
        {UNIT_WM2, CONV_NONE, 1, true},      {UNIT_KLX, CONV_NONE, 1, false},
        {UNIT_WM2_FINE, CONV_NONE, 1, true}, {UNIT_KLX, CONV_TO_WM2, 1, true},
        {UNIT_WM2, CONV_TO_KLX, 1, false},   {UNIT_UMOL, CONV_NONE, 1, true},
        {UNIT_WM2, CONV_NONE, 0, false},     {UNIT_UMOL, CONV_NONE, 0, false},
    };
    for (const Case& c : cases)
    {
        const DisplayFormat f = GetDisplayFormat(c.code, c.mode, c.label);
        ASSERT_NE(f.format, nullptr);
        EXPECT_EQ(f.raisedTwo, c.raised) << f.format;
        if (f.raisedTwo)
        {
            const std::string full = f.format;
            EXPECT_EQ(full.back(), '2');
            EXPECT_EQ(full.substr(0, full.size() - 1), f.shortFormat);
        }
    }
}

TEST(UnitOptions, IgnoredWhileTheMeterReportsUmol)
{
    UnitState s = State(UNIT_UMOL, CONV_NONE);
    EXPECT_FALSE(s.SetUnitOptions(CONV_TO_KLX, 0, 2.0));
    EXPECT_EQ(s.conversionMode, CONV_NONE);
    EXPECT_EQ(s.showUnitLabel, 1);
    EXPECT_EQ(s.k, DEFAULT_K);
}

TEST(UnitOptions, NoChangeWhenAllThreeAreEqualElseStoredAndRepainted)
{
    UnitState s = State(UNIT_KLX, CONV_NONE);
    EXPECT_FALSE(s.SetUnitOptions(CONV_NONE, 1, DEFAULT_K));
    EXPECT_TRUE(s.SetUnitOptions(CONV_NONE, 1, 1.471)); // K alone differs
    EXPECT_EQ(s.k, 1.471);
    EXPECT_TRUE(s.SetUnitOptions(CONV_TO_WM2, 0, 1.471));
    EXPECT_EQ(s.conversionMode, CONV_TO_WM2);
    EXPECT_EQ(s.showUnitLabel, 0);
}

TEST(FormatNumber, UsesAPointAndHandlesLongResults)
{
    EXPECT_EQ(FormatNumber("%.2f", 1.005e3), "1005.00");
    const std::string big = FormatNumber("%.1f kLx", 1e30); // longer than any internal buffer
    EXPECT_EQ(big.size(), 31u + 6u);
    EXPECT_EQ(big.substr(0, 2), "10");
    EXPECT_EQ(big.substr(big.size() - 6), ".0 kLx");
}

} // namespace
