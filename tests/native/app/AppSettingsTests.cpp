#include "app/AppSettings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <set>
#include <string>

namespace
{

constexpr std::uint32_t STORED_MAX = std::numeric_limits<std::uint32_t>::max();

TEST(AppSettingsDefaults, MatchAFirstStart)
{
    const AppSettings s;
    EXPECT_EQ(s.background, 0x00FFE4CAu);
    EXPECT_EQ(s.text, 0x00804000u);
    EXPECT_EQ(s.showUnit, CONV_NONE);
    EXPECT_EQ(s.deviceUnit, UNIT_KLX);
    EXPECT_EQ(s.isUnit, 1);
    EXPECT_EQ(s.fontHeight, 90);
    EXPECT_EQ(s.fontName, "Arial");
    EXPECT_EQ(s.fontItalic, 0);
    EXPECT_EQ(s.fontWeight, 0);
    EXPECT_EQ(s.portNr, 0);
    EXPECT_EQ(s.fileName, "");
    EXPECT_EQ(s.fileLog, 0);
    EXPECT_EQ(s.fileLogCanal1, 1);
    EXPECT_EQ(s.fileLogCanal2, 1);
    EXPECT_EQ(s.fileSepFormat, 1);
    EXPECT_EQ(s.fileInterval, 1);
    EXPECT_EQ(s.topmost, 0);
    EXPECT_EQ(s.unitK, 1.47);
    EXPECT_EQ(s.showAdv, 1);
    EXPECT_EQ(KToStored(s.unitK), DEFAULT_UNIT_K_STORED);
}

TEST(StoredSettingsTable, NamesKindsAndOrderAreFixed)
{
    const wchar_t* const names[] = {
        L"BACKGROUND",    L"TEXT",      L"SHOW_UNIT",       L"DEVICE_UNIT",     L"IS_UNIT",
        L"FONT_HEIGHT",   L"FONT_NAME", L"FONT_ITALIC",     L"FONT_WEIGHT",     L"PORT_NR",
        L"FILE_NAME",     L"FILE_LOG",  L"FILE_LOG_CANAL1", L"FILE_LOG_CANAL2", L"FILE_SEP_FORMAT",
        L"FILE_INTERVAL", L"TOPMOST",   L"UNIT_K",          L"SHOW_ADV"};
    static_assert(sizeof(names) / sizeof(names[0]) == STORED_SETTINGS.size(), "nineteen values");
    std::set<int> ids;
    for (std::size_t i = 0; i < STORED_SETTINGS.size(); ++i)
    {
        const StoredSetting& v = STORED_SETTINGS[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(std::wstring(v.name), names[i]);
        EXPECT_EQ(static_cast<std::size_t>(v.id), i); // ids follow the table
        ids.insert(static_cast<int>(v.id));
        AppSettings s;
        const bool isText = v.kind == StoredKind::Text;
        EXPECT_EQ(TextSetting(s, v.id) != nullptr, isText);
    }
    EXPECT_EQ(ids.size(), STORED_SETTINGS.size());
    EXPECT_EQ(STORED_SETTINGS[6].maxChars, 31u);
    EXPECT_EQ(STORED_SETTINGS[10].maxChars, 255u);
}

TEST(StoredSettingsTable, TextIdsReachTheirOwnFields)
{
    AppSettings s;
    *TextSetting(s, SettingId::FontName) = "Courier New";
    *TextSetting(s, SettingId::FileName) = "C:\\pomiary.csv";
    EXPECT_EQ(s.fontName, "Courier New");
    EXPECT_EQ(s.fileName, "C:\\pomiary.csv");
    const AppSettings& constSettings = s;
    EXPECT_EQ(TextSetting(constSettings, SettingId::FontName), &s.fontName);
}

TEST(KStoredForm, ThousandthsAreTruncatedTowardZero)
{
    EXPECT_EQ(KToStored(1.47), 1470u);
    EXPECT_EQ(KToStored(1.4705), 1470u);
    EXPECT_EQ(KToStored(1.4709999), 1470u);
    EXPECT_EQ(KToStored(0.0009), 0u);
    EXPECT_EQ(KToStored(0.001), 1u);
    EXPECT_EQ(KToStored(0.0), 0u);
    EXPECT_EQ(StoredToK(1470), 1.47);
    EXPECT_EQ(StoredToK(0), 0.0);
}

TEST(KStoredForm, EveryThreeDecimalKIsStoredAsItself)
{
    // 4.007 * 1000 is 4006.9999999999995 in double: a plain truncation would lose a thousandth
    // at every save, and a K typed as 1.001 would come back as 1.000.
    EXPECT_EQ(KToStored(4.007), 4007u);
    EXPECT_EQ(KToStored(1.001), 1001u);
    for (std::uint32_t stored = 0; stored <= 200000; ++stored)
    {
        char typed[32];
        std::snprintf(typed, sizeof typed, "%u.%03u", stored / 1000, stored % 1000);
        ASSERT_EQ(KToStored(std::strtod(typed, nullptr)), stored) << typed;
        ASSERT_EQ(KToStored(StoredToK(stored)), stored) << stored;
    }
}

TEST(KStoredForm, LoadedKSurvivesSaveAcrossTheWholeRange)
{
    for (std::uint64_t stored = 0; stored <= STORED_MAX; stored += 65521)
        ASSERT_EQ(KToStored(StoredToK(static_cast<std::uint32_t>(stored))), stored);
    EXPECT_EQ(KToStored(StoredToK(STORED_MAX)), STORED_MAX);
    EXPECT_EQ(KToStored(StoredToK(STORED_MAX - 1)), STORED_MAX - 1);
}

TEST(KStoredForm, OutOfRangeKIsClampedAndNaNGivesTheDefault)
{
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(KToStored(std::numeric_limits<double>::quiet_NaN()), DEFAULT_UNIT_K_STORED);
    EXPECT_EQ(KToStored(-std::numeric_limits<double>::quiet_NaN()), DEFAULT_UNIT_K_STORED);
    EXPECT_EQ(KToStored(-1.47), 0u);
    EXPECT_EQ(KToStored(-0.0), 0u);
    EXPECT_EQ(KToStored(-inf), 0u);
    EXPECT_EQ(KToStored(-1e300), 0u);
    EXPECT_EQ(KToStored(4294967.295), STORED_MAX);
    EXPECT_EQ(KToStored(4294967.2949), STORED_MAX - 1);
    EXPECT_EQ(KToStored(4294967.296), STORED_MAX);
    EXPECT_EQ(KToStored(5e9), STORED_MAX);
    EXPECT_EQ(KToStored(1e300), STORED_MAX);
    EXPECT_EQ(KToStored(inf), STORED_MAX);
    EXPECT_EQ(KToStored(std::numeric_limits<double>::denorm_min()), 0u);
}

TEST(KStoredForm, StoredWordIsUnsigned)
{
    EXPECT_DOUBLE_EQ(StoredToK(STORED_MAX), 4294967.295);
    EXPECT_DOUBLE_EQ(StoredToK(0x80000000u), 2147483.648);
}

TEST(SignedStoredForm, BitPatternIsKept)
{
    EXPECT_EQ(SignedToStored(-1), 0xFFFFFFFFu);
    EXPECT_EQ(SignedToStored(-24), 0xFFFFFFE8u);
    EXPECT_EQ(SignedToStored(std::numeric_limits<int>::min()), 0x80000000u);
    EXPECT_EQ(StoredToSigned(0xFFFFFFFFu), -1);
    EXPECT_EQ(StoredToSigned(0xFFFFFFE8u), -24);
    EXPECT_EQ(StoredToSigned(0x80000000u), std::numeric_limits<int>::min());
    EXPECT_EQ(StoredToSigned(0x7FFFFFFFu), std::numeric_limits<int>::max());
    for (int v : {0, 1, 90, 700, -90, std::numeric_limits<int>::max()})
        EXPECT_EQ(StoredToSigned(SignedToStored(v)), v);
}

TEST(ItalicStoredForm, OnlyTheLowByteCounts)
{
    EXPECT_EQ(StoredToItalic(0x00000101u), 1);
    EXPECT_EQ(StoredToItalic(0xFFFFFF00u), 0);
    EXPECT_EQ(StoredToItalic(0x000000FFu), 255);
    AppSettings s;
    s.fontItalic = 255;
    EXPECT_EQ(StoredDword(s, SettingId::FontItalic), 0x000000FFu); // zero-extended, not -1
}

TEST(StoredDwords, EverySettingRoundTripsThroughItsStoredWord)
{
    AppSettings original;
    original.background = 0x00123456;
    original.text = 0x00FFFFFF;
    original.showUnit = CONV_TO_KLX;
    original.deviceUnit = UNIT_WM2_FINE;
    original.isUnit = 0;
    original.fontHeight = -24;
    original.fontItalic = 1;
    original.fontWeight = 700;
    original.portNr = -1;
    original.fileLog = 1;
    original.fileLogCanal1 = 0;
    original.fileLogCanal2 = 0;
    original.fileSepFormat = 3;
    original.fileInterval = 3600;
    original.topmost = 1;
    original.unitK = 2.5;
    original.showAdv = 0;
    AppSettings copy;
    copy.fontName = original.fontName;
    for (const StoredSetting& v : STORED_SETTINGS)
        if (v.kind == StoredKind::Dword)
            ApplyStoredDword(copy, v.id, StoredDword(original, v.id));
    EXPECT_EQ(copy, original);
    EXPECT_EQ(StoredDword(original, SettingId::FontHeight), 0xFFFFFFE8u);
    EXPECT_EQ(StoredDword(original, SettingId::UnitK), 2500u);
}

TEST(StoredDwords, TextIdsAreLeftAlone)
{
    AppSettings s;
    const AppSettings before = s;
    ApplyStoredDword(s, SettingId::FontName, 0x41414141u);
    ApplyStoredDword(s, SettingId::FileName, 0x41414141u);
    EXPECT_EQ(s, before);
    EXPECT_EQ(StoredDword(s, SettingId::FontName), 0u);
}

TEST(AppSettingsEquality, EachFieldCounts)
{
    const AppSettings base;
    AppSettings other = base;
    other.fileName = "x";
    EXPECT_NE(other, base);
    other = base;
    other.unitK = 1.471;
    EXPECT_NE(other, base);
    other = base;
    other.showAdv = 0;
    EXPECT_NE(other, base);
    EXPECT_EQ(AppSettings(), base);
}

} // namespace
