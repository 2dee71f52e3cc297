#pragma once

// Direct access to the settings key, bypassing the code under test: resets it and reads or plants
// raw values as another program would.

#include "app/SettingsStore.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct RawValue
{
    bool present = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

inline void DeleteSettingsKey()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, SETTINGS_KEY_PATH);
}

inline bool SettingsKeyExists()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SETTINGS_KEY_PATH, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

inline DWORD SettingsValueCount()
{
    HKEY key = nullptr;
    DWORD count = 0;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SETTINGS_KEY_PATH, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return count;
}

inline RawValue ReadRaw(const wchar_t* name)
{
    RawValue value;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SETTINGS_KEY_PATH, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return value;
    std::vector<BYTE> buffer(4096);
    DWORD size = static_cast<DWORD>(buffer.size());
    if (RegQueryValueExW(key, name, nullptr, &value.type, buffer.data(), &size) == ERROR_SUCCESS)
    {
        value.present = true;
        value.data.assign(buffer.begin(), buffer.begin() + size);
    }
    RegCloseKey(key);
    return value;
}

inline void WriteRaw(const wchar_t* name, DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, SETTINGS_KEY_PATH, 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const LSTATUS status = RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    ASSERT_EQ(status, ERROR_SUCCESS);
}

inline void WriteRawDword(const wchar_t* name, DWORD value)
{
    WriteRaw(name, REG_DWORD, &value, sizeof value);
}

// A REG_SZ of exactly text.size() characters, without the terminating zero. The registry adds a
// forgotten zero when the character after the counted data is zero, so one more non-zero
// character follows the counted data.
inline void WriteUnterminatedString(const wchar_t* name, const std::wstring& text)
{
    const std::wstring withGuard = text + L'#';
    WriteRaw(name, REG_SZ, withGuard.c_str(), static_cast<DWORD>(text.size() * sizeof(wchar_t)));
    ASSERT_EQ(ReadRaw(name).data.size(), text.size() * sizeof(wchar_t));
}

// Every test starts and ends without the settings key.
class SettingsKeyTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DeleteSettingsKey();
        ASSERT_FALSE(SettingsKeyExists());
    }
    void TearDown() override { DeleteSettingsKey(); }
};
