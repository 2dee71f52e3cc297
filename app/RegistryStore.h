#pragma once

// One open registry key with typed reads and writes. Every operation answers true on success;
// all but Create and Open answer false at once when no key is held. Names and paths are UTF-16,
// sizes are in bytes unless a parameter says characters.

#include <windows.h>

class CRegistryStore
{
public:
    CRegistryStore() = default;
    ~CRegistryStore();
    CRegistryStore(const CRegistryStore&) = delete;
    CRegistryStore& operator=(const CRegistryStore&) = delete;

    // Creates the key when missing, opens it when present (KEY_ALL_ACCESS, non-volatile).
    // A key held before is closed first.
    bool Create(HKEY hive, const wchar_t* subKey, const wchar_t* keyClass = nullptr);
    // Closes the held key, then opens an existing key; never creates one.
    bool Open(HKEY hive, const wchar_t* subKey);
    // The store holds no key afterwards, whatever RegCloseKey answered.
    bool Close();
    bool IsOpen() const { return key_ != nullptr; }

    // Raw bytes of a value of wantedType (REG_NONE: any type). Fails when the data is larger than
    // sizeBytes or of another type. bytesRead (optional) receives the size of the data.
    bool QueryValue(const wchar_t* name, void* buffer, DWORD sizeBytes, DWORD* bytesRead = nullptr,
                    DWORD wantedType = REG_NONE);
    // A REG_DWORD of up to 4 bytes; bytes beyond the stored data are left as they were.
    bool ReadDword(const wchar_t* name, DWORD* value);
    // A REG_SZ. bufferChars is in characters, the terminating zero included. The buffer always ends
    // up zero-terminated: on failure it holds the empty text; stored data without its terminating
    // zero is terminated here, and refused when there is no room left to do so.
    bool ReadString(const wchar_t* name, wchar_t* buffer, DWORD bufferChars);
    bool SetValue(const wchar_t* name, const void* data, DWORD type, DWORD sizeBytes);
    // REG_SZ with the terminating zero stored.
    bool WriteString(const wchar_t* name, const wchar_t* text);

private:
    HKEY key_ = nullptr;
};
