#include "app/StoredForm.h"

#include "units/UnitModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

namespace
{

TEST(StoredForm, KIsKeptInThousandthsRoundedDownAndEveryKOfThreeDecimalsSurvivesAnyRun)
{
    const std::pair<double, std::uint32_t> cases[] = {
        {1.47, 1470}, {1.4705, 1470},      {4.007, 4007},        {0.0005, 0},
        {-2.0, 0},    {1e12, 0xFFFFFFFFu}, {std::nan(""), 1470},
    };
    for (const auto& [k, stored] : cases)
        EXPECT_EQ(KToStored(k), stored) << k;
    for (std::uint32_t stored = 1; stored <= 100000; ++stored)
        ASSERT_EQ(KToStored(StoredToK(stored)), stored);
    EXPECT_EQ(StoredToK(0xFFFFFFFFu), 4294967.295); // unsigned, not -0.001
    EXPECT_EQ(StoredToK(0), DEFAULT_K) << "a K of 0 would show every converted value as inf";
}

TEST(StoredForm, SignedValuesKeepTheirBitPattern)
{
    for (int value : {0, 1, -1, 90, -12, std::numeric_limits<int>::min()})
        EXPECT_EQ(StoredToSigned(SignedToStored(value)), value);
    EXPECT_EQ(SignedToStored(-1), 0xFFFFFFFFu);
}

TEST(StoredForm, ValuesThatWouldMislabelOrHideTheReadingAreNotTaken)
{
    EXPECT_EQ(StoredToConversionMode(CONV_TO_KLX), CONV_TO_KLX);
    for (std::uint32_t bad : {3u, 0x80000000u, 0xFFFFFFFFu})
        EXPECT_EQ(StoredToConversionMode(bad), CONV_NONE) << bad;
    EXPECT_TRUE(IsUsableUnitCode(UNIT_WM2));
    EXPECT_TRUE(IsUsableUnitCode(UNIT_WM2_FINE));
    for (std::uint32_t bad : {0u, 5u, 0xFFFFFFFFu})
        EXPECT_FALSE(IsUsableUnitCode(bad)) << bad;
    EXPECT_FALSE(IsUsableFontHeight(0));
    EXPECT_TRUE(IsUsableFontHeight(SignedToStored(-12)));
}

} // namespace
