#include "tests/e2e/SettingsKey.h"

namespace settings_key
{

void Delete()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, PROGRAM_SETTINGS_KEY);
}

bool Exists()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, PROGRAM_SETTINGS_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool WriteRaw(const wchar_t* name, DWORD type, const void* data, DWORD size)
{
    return RegSetKeyValueW(HKEY_CURRENT_USER, PROGRAM_SETTINGS_KEY, name, type, data, size) ==
           ERROR_SUCCESS;
}

bool WriteDword(const wchar_t* name, DWORD value)
{
    return WriteRaw(name, REG_DWORD, &value, sizeof value);
}

bool WriteText(const wchar_t* name, const std::wstring& value)
{
    return WriteRaw(name, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

std::optional<DWORD> ReadDword(const wchar_t* name)
{
    DWORD value = 0, size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, PROGRAM_SETTINGS_KEY, name, RRF_RT_REG_DWORD, nullptr,
                     &value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

std::optional<std::wstring> ReadText(const wchar_t* name)
{
    wchar_t text[1024] = {};
    DWORD size = sizeof text;
    if (RegGetValueW(HKEY_CURRENT_USER, PROGRAM_SETTINGS_KEY, name, RRF_RT_REG_SZ, nullptr, text,
                     &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(text);
}

std::vector<std::wstring> ValueNames()
{
    std::vector<std::wstring> names;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, PROGRAM_SETTINGS_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    wchar_t name[256];
    for (DWORD i = 0, length = 256;
         RegEnumValueW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, length = 256)
        names.emplace_back(name, length);
    RegCloseKey(key);
    return names;
}

} // namespace settings_key
