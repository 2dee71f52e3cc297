#include "app/RegistryStore.h"

#include <cwchar>

CRegistryStore::~CRegistryStore()
{
    Close();
}

bool CRegistryStore::Create(HKEY hive, const wchar_t* subKey, const wchar_t* keyClass)
{
    Close();
    HKEY key = nullptr;
    // The class parameter is not const in the API, but it is only read.
    const LSTATUS status =
        RegCreateKeyExW(hive, subKey, 0, const_cast<wchar_t*>(keyClass), REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS)
        return false;
    key_ = key;
    return true;
}

bool CRegistryStore::Open(HKEY hive, const wchar_t* subKey)
{
    Close();
    HKEY key = nullptr;
    if (RegOpenKeyExW(hive, subKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return false;
    key_ = key;
    return true;
}

bool CRegistryStore::Close()
{
    if (!key_)
        return false;
    const LSTATUS status = RegCloseKey(key_);
    key_ = nullptr;
    return status == ERROR_SUCCESS;
}

bool CRegistryStore::QueryValue(const wchar_t* name, void* buffer, DWORD sizeBytes,
                                DWORD* bytesRead, DWORD wantedType)
{
    if (!key_)
        return false;
    DWORD size = sizeBytes;
    DWORD type = REG_NONE;
    const LSTATUS status =
        RegQueryValueExW(key_, name, nullptr, &type, static_cast<BYTE*>(buffer), &size);
    if (status != ERROR_SUCCESS || (wantedType != REG_NONE && type != wantedType))
        return false;
    if (bytesRead)
        *bytesRead = size;
    return true;
}

bool CRegistryStore::ReadDword(const wchar_t* name, DWORD* value)
{
    return QueryValue(name, value, sizeof(DWORD), nullptr, REG_DWORD);
}

bool CRegistryStore::ReadString(const wchar_t* name, wchar_t* buffer, DWORD bufferChars)
{
    if (!key_ || bufferChars == 0)
        return false;
    buffer[0] = L'\0';
    const DWORD maxChars = MAXDWORD / sizeof(wchar_t);
    const DWORD chars = bufferChars < maxChars ? bufferChars : maxChars;
    DWORD bytes = 0;
    if (!QueryValue(name, buffer, chars * static_cast<DWORD>(sizeof(wchar_t)), &bytes, REG_SZ))
    {
        buffer[0] = L'\0'; // a refused read may have left partial data behind
        return false;
    }
    // Registry strings need not carry their terminating zero; an odd last byte is dropped.
    const DWORD charsRead = bytes / sizeof(wchar_t);
    if (charsRead < chars)
    {
        buffer[charsRead] = L'\0';
        return true;
    }
    if (std::wmemchr(buffer, L'\0', chars))
        return true;
    buffer[0] = L'\0'; // the whole buffer is text: terminating it would cut it
    return false;
}

bool CRegistryStore::SetValue(const wchar_t* name, const void* data, DWORD type, DWORD sizeBytes)
{
    if (!key_)
        return false;
    return RegSetValueExW(key_, name, 0, type, static_cast<const BYTE*>(data), sizeBytes) ==
           ERROR_SUCCESS;
}

bool CRegistryStore::WriteString(const wchar_t* name, const wchar_t* text)
{
    if (!key_ || !text)
        return false;
    const size_t chars = std::wcslen(text) + 1;
    if (chars > MAXDWORD / sizeof(wchar_t))
        return false;
    return SetValue(name, text, REG_SZ, static_cast<DWORD>(chars * sizeof(wchar_t)));
}
