#include "tests/e2e/SettingsKey.h"

namespace settings_key
{

void Delete()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, PROGRAM_SETTINGS_KEY);
}

bool StartFresh(DWORD port)
{
    Delete();
    return WriteDword(L"PORT_NR", port) && WriteDword(L"SHOW_ADV", 0);
}

bool StartLogging(DWORD port, const std::wstring& log, bool channel2)
{
    return StartFresh(port) && WriteDword(L"FILE_LOG", 1) && WriteDword(L"FILE_SEP_FORMAT", 3) &&
           (channel2 || WriteDword(L"FILE_LOG_CANAL2", 0)) && WriteText(L"FILE_NAME", log);
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

std::optional<DWORD> ValueCount()
{
    HKEY key = nullptr;
    DWORD count = 0;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, PROGRAM_SETTINGS_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return count;
}

} // namespace settings_key
