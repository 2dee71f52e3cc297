#include "tests/e2e/SettingsKey.h"

namespace
{

// An open key, closed when it goes out of scope.
class OpenKey
{
public:
    explicit OpenKey(bool create)
    {
        const LSTATUS status =
            create ? RegCreateKeyExW(HKEY_CURRENT_USER, PROGRAM_SETTINGS_KEY, 0, nullptr, 0,
                                     KEY_ALL_ACCESS, nullptr, &key_, nullptr)
                   : RegOpenKeyExW(HKEY_CURRENT_USER, PROGRAM_SETTINGS_KEY, 0, KEY_READ, &key_);
        if (status != ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~OpenKey()
    {
        if (key_)
            RegCloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

std::optional<std::vector<BYTE>> ReadRaw(const wchar_t* name, DWORD wantedType)
{
    OpenKey key(false);
    if (!key.Get())
        return std::nullopt;
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueExW(key.Get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != wantedType)
        return std::nullopt;
    std::vector<BYTE> data(size);
    if (RegQueryValueExW(key.Get(), name, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    data.resize(size);
    return data;
}

} // namespace

namespace settings_key
{

void Delete()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, PROGRAM_SETTINGS_KEY);
}

bool Exists()
{
    return OpenKey(false).Get() != nullptr;
}

bool WriteDword(const wchar_t* name, DWORD value)
{
    OpenKey key(true);
    return key.Get() &&
           RegSetValueExW(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value) == ERROR_SUCCESS;
}

bool WriteText(const wchar_t* name, const std::wstring& value)
{
    OpenKey key(true);
    const DWORD size = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return key.Get() &&
           RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          size) == ERROR_SUCCESS;
}

std::optional<DWORD> ReadDword(const wchar_t* name)
{
    const std::optional<std::vector<BYTE>> data = ReadRaw(name, REG_DWORD);
    if (!data || data->size() != sizeof(DWORD))
        return std::nullopt;
    DWORD value = 0;
    CopyMemory(&value, data->data(), sizeof value);
    return value;
}

std::optional<std::wstring> ReadText(const wchar_t* name)
{
    const std::optional<std::vector<BYTE>> data = ReadRaw(name, REG_SZ);
    if (!data)
        return std::nullopt;
    std::wstring text(reinterpret_cast<const wchar_t*>(data->data()),
                      data->size() / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0')
        text.pop_back();
    return text;
}

std::vector<std::wstring> ValueNames()
{
    std::vector<std::wstring> names;
    OpenKey key(false);
    if (!key.Get())
        return names;
    for (DWORD index = 0;; ++index)
    {
        wchar_t name[256] = {};
        DWORD length = 256;
        if (RegEnumValueW(key.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    return names;
}

} // namespace settings_key
