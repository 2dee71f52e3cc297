#include "app/SettingsStore.h"

#include "toolkit/TextConv.h"

#include <string>

namespace
{

constexpr DWORD TEXT_BUFFER_CHARS = static_cast<DWORD>(SETTINGS_TEXT_BUFFER_CHARS);

void LoadValue(CRegistryStore& store, const StoredSetting& value, AppSettings& s)
{
    if (value.kind == StoredKind::Dword)
    {
        DWORD scratch = 0; // zero, so that shorter data is zero-extended
        if (store.ReadDword(value.name, &scratch))
            ApplyStoredDword(s, value.id, scratch);
        return;
    }
    wchar_t buffer[TEXT_BUFFER_CHARS];
    if (!store.ReadString(value.name, buffer, TEXT_BUFFER_CHARS))
        return;
    const std::wstring text(buffer);
    if (text.size() <= value.maxChars)
        *TextSetting(s, value.id) = WideToUtf8(text);
}

bool SaveValue(CRegistryStore& store, const StoredSetting& value, const AppSettings& s)
{
    if (value.kind == StoredKind::Dword)
    {
        const DWORD stored = StoredDword(s, value.id);
        return store.SetValue(value.name, &stored, REG_DWORD, sizeof(stored));
    }
    const std::wstring text = Utf8ToWide(*TextSetting(s, value.id));
    if (text.size() > value.maxChars)
        return false;
    return store.WriteString(value.name, text.c_str());
}

} // namespace

bool LoadSettings(CRegistryStore& store, AppSettings& s)
{
    // Settings are a convenience: whatever goes wrong here, the program starts with what it has.
    try
    {
        if (!store.Create(HKEY_CURRENT_USER, SETTINGS_KEY_PATH))
            return false;
        for (const StoredSetting& value : STORED_SETTINGS)
            LoadValue(store, value, s);
        store.Close();
        return true;
    }
    catch (...)
    {
        return false;
    }
}

bool SaveSettings(CRegistryStore& store, const AppSettings& s)
{
    try
    {
        // A key deleted while the program ran stays deleted: saving never creates it.
        if (!store.Open(HKEY_CURRENT_USER, SETTINGS_KEY_PATH))
            return false;
        bool allWritten = true;
        for (const StoredSetting& value : STORED_SETTINGS)
            allWritten = SaveValue(store, value, s) && allWritten;
        store.Close();
        return allWritten;
    }
    catch (...)
    {
        return false;
    }
}
