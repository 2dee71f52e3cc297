#include "toolkit/TextConv.h"

#include <gtest/gtest.h>

namespace
{

TEST(TextConv, PolishTextSurvivesUtf8ToUtf16AndBack)
{
    const std::string utf8 = "Brak łączności z przyrządem.";
    const std::wstring wide = Utf8ToWide(utf8);
    EXPECT_EQ(wide, L"Brak \x0142\x0105"
                    L"czno\x015B"
                    L"ci z przyrz\x0105"
                    L"dem.");
    EXPECT_EQ(WideToUtf8(wide), utf8);
}

TEST(TextConv, LogHeaderIsWrittenInCodePage1250)
{
    // "Natężenie światła" in 1250: e-ogonek 0xEA, z-dot 0xBF, s-acute 0x9C, l-stroke 0xB3.
    EXPECT_EQ(Utf8ToCp1250("Natężenie światła"), "Nat\xEA\xBF"
                                                 "enie \x9C"
                                                 "wiat\xB3"
                                                 "a");
    EXPECT_EQ(Cp1250ToWide("\xEA\x9C\xB3"), L"\x0119\x015B\x0142");
}

TEST(TextConv, CharactersOutside1250BecomeQuestionMarksAndEmptyStaysEmpty)
{
    EXPECT_EQ(WideToCp1250(L"\x4E2D"), "?");
    EXPECT_EQ(Utf8ToWide(""), L"");
    EXPECT_EQ(WideToCp1250(L""), "");
}

} // namespace
