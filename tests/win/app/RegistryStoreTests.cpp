#include "app/RegistryStore.h"

#include "RegistryTestKey.h"

#include <cwchar>
#include <string>

namespace
{

using RegistryStore = SettingsKeyTest;

TEST_F(RegistryStore, WithoutAKeyEveryOperationAnswersFalse)
{
    CRegistryStore store;
    EXPECT_FALSE(store.IsOpen());
    EXPECT_FALSE(store.Close());
    DWORD word = 7;
    EXPECT_FALSE(store.QueryValue(L"TEXT", &word, sizeof word));
    EXPECT_FALSE(store.ReadDword(L"TEXT", &word));
    EXPECT_EQ(word, 7u);
    wchar_t text[8] = L"old";
    EXPECT_FALSE(store.ReadString(L"FONT_NAME", text, 8));
    EXPECT_FALSE(store.SetValue(L"TEXT", &word, REG_DWORD, sizeof word));
    EXPECT_FALSE(store.WriteString(L"FONT_NAME", L"Arial"));
    EXPECT_FALSE(SettingsKeyExists());
}

TEST_F(RegistryStore, OpenNeverCreatesTheKeyAndCreateDoes)
{
    CRegistryStore store;
    EXPECT_FALSE(store.Open(HKEY_CURRENT_USER, SETTINGS_KEY_PATH));
    EXPECT_FALSE(store.IsOpen());
    EXPECT_FALSE(SettingsKeyExists());

    ASSERT_TRUE(store.Create(HKEY_CURRENT_USER, SETTINGS_KEY_PATH));
    EXPECT_TRUE(SettingsKeyExists());
    EXPECT_TRUE(store.WriteString(L"FONT_NAME", L"Arial"));
    // Create on an existing key opens it with its values.
    ASSERT_TRUE(store.Create(HKEY_CURRENT_USER, SETTINGS_KEY_PATH));
    wchar_t text[8];
    EXPECT_TRUE(store.ReadString(L"FONT_NAME", text, 8));
    EXPECT_STREQ(text, L"Arial");

    ASSERT_TRUE(store.Open(HKEY_CURRENT_USER, SETTINGS_KEY_PATH));
    EXPECT_TRUE(store.Close());
    EXPECT_FALSE(store.Close()); // nothing held any more
    EXPECT_FALSE(store.WriteString(L"FONT_NAME", L"Other"));
}

TEST_F(RegistryStore, FailedOpenLeavesNoKeyHeld)
{
    CRegistryStore store;
    ASSERT_TRUE(store.Create(HKEY_CURRENT_USER, SETTINGS_KEY_PATH));
    EXPECT_FALSE(store.Open(HKEY_CURRENT_USER, L"SOFTWARE\\KORVEX\\NoSuchKey"));
    EXPECT_FALSE(store.IsOpen());
    DWORD word = 1;
    EXPECT_FALSE(store.SetValue(L"TEXT", &word, REG_DWORD, sizeof word));
    EXPECT_EQ(SettingsValueCount(), 0u);
}

TEST_F(RegistryStore, WritesKeepTypeSizeAndTheTerminatingZero)
{
    CRegistryStore store;
    ASSERT_TRUE(store.Create(HKEY_CURRENT_USER, SETTINGS_KEY_PATH));
    const DWORD word = 0x00FFE4CA;
    EXPECT_TRUE(store.SetValue(L"BACKGROUND", &word, REG_DWORD, sizeof word));
    EXPECT_TRUE(store.WriteString(L"FONT_NAME", L"Łódź"));
    EXPECT_TRUE(store.WriteString(L"FILE_NAME", L""));
    store.Close();

    const RawValue dword = ReadRaw(L"BACKGROUND");
    EXPECT_EQ(dword.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(dword.data, (std::vector<BYTE>{0xCA, 0xE4, 0xFF, 0x00}));
    const RawValue name = ReadRaw(L"FONT_NAME");
    EXPECT_EQ(name.type, static_cast<DWORD>(REG_SZ));
    ASSERT_EQ(name.data.size(), 5 * sizeof(wchar_t));
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(name.data.data())), L"Łódź");
    EXPECT_EQ(ReadRaw(L"FILE_NAME").data, (std::vector<BYTE>{0, 0}));
}

TEST_F(RegistryStore, QueryValueTakesRawBytesOfAnyTypeThatFit)
{
    const BYTE three[] = {0x34, 0x12, 0x01};
    const BYTE five[] = {1, 2, 3, 4, 5};
    WriteRaw(L"SHORT", REG_BINARY, three, sizeof three);
    WriteRaw(L"LONG", REG_BINARY, five, sizeof five);
    CRegistryStore store;
    ASSERT_TRUE(store.Create(HKEY_CURRENT_USER, SETTINGS_KEY_PATH));

    DWORD word = 0xAAAAAAAA;
    DWORD bytes = 0;
    EXPECT_TRUE(store.QueryValue(L"SHORT", &word, sizeof word, &bytes));
    EXPECT_EQ(bytes, 3u);
    EXPECT_EQ(word, 0xAA011234u); // the byte past the data is untouched
    EXPECT_FALSE(store.ReadDword(L"LONG", &word));
    EXPECT_FALSE(store.ReadDword(L"ABSENT", &word));
}

TEST_F(RegistryStore, ReadStringAlwaysLeavesATerminatedText)
{
    WriteUnterminatedString(L"SHORT", L"Courier");
    WriteUnterminatedString(L"FULL", std::wstring(16, L'A'));
    WriteUnterminatedString(L"ALMOST", std::wstring(15, L'B'));
    WriteRaw(L"TERMINATED_TOO_LONG", REG_SZ, std::wstring(16, L'C').c_str(), 17 * sizeof(wchar_t));
    WriteRaw(L"BINARY", REG_BINARY, L"Arial", 5 * sizeof(wchar_t));
    const BYTE odd[] = {'A', 0, 'B', 0, 'C'};
    WriteRaw(L"ODD", REG_BINARY, odd, sizeof odd);

    CRegistryStore store;
    ASSERT_TRUE(store.Create(HKEY_CURRENT_USER, SETTINGS_KEY_PATH));
    wchar_t buffer[16];
    std::wmemset(buffer, L'X', 16);
    EXPECT_TRUE(store.ReadString(L"SHORT", buffer, 16));
    EXPECT_EQ(std::wstring(buffer), L"Courier");

    std::wmemset(buffer, L'X', 16);
    EXPECT_TRUE(store.ReadString(L"ALMOST", buffer, 16));
    EXPECT_EQ(std::wstring(buffer), std::wstring(15, L'B'));

    // Sixteen characters fill the buffer with no room for the zero: refused, not cut.
    std::wmemset(buffer, L'X', 16);
    EXPECT_FALSE(store.ReadString(L"FULL", buffer, 16));
    EXPECT_EQ(buffer[0], L'\0');
    std::wmemset(buffer, L'X', 16);
    EXPECT_FALSE(store.ReadString(L"TERMINATED_TOO_LONG", buffer, 16));
    EXPECT_EQ(buffer[0], L'\0');

    std::wmemset(buffer, L'X', 16);
    EXPECT_TRUE(store.ReadString(L"BINARY", buffer, 16));
    EXPECT_EQ(std::wstring(buffer), L"Arial");

    std::wmemset(buffer, L'X', 16);
    EXPECT_TRUE(store.ReadString(L"ODD", buffer, 16));
    EXPECT_EQ(std::wstring(buffer), L"AB");

    std::wmemset(buffer, L'X', 16);
    EXPECT_FALSE(store.ReadString(L"ABSENT", buffer, 16));
    EXPECT_EQ(buffer[0], L'\0');
}

} // namespace
