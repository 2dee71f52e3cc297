#include "app/SettingsRegistry.h"

#include "app/StoredForm.h"
#include "toolkit/TextConv.h"

namespace
{

class RegistryReader : public SettingsReader
{
public:
    explicit RegistryReader(CRegistryStore& store) : store_(store) {}

    std::optional<std::uint32_t> ReadDword(const wchar_t* name) override
    {
        DWORD value = 0; // zero, so that shorter data is zero-extended
        if (!store_.ReadDword(name, &value))
            return std::nullopt;
        return value;
    }

    std::optional<std::string> ReadText(const wchar_t* name, unsigned maxChars) override
    {
        wchar_t buffer[SETTINGS_TEXT_BUFFER_CHARS];
        if (!store_.ReadString(name, buffer, SETTINGS_TEXT_BUFFER_CHARS))
            return std::nullopt;
        const std::wstring text(buffer);
        if (text.size() > maxChars)
            return std::nullopt;
        return WideToUtf8(text);
    }

private:
    CRegistryStore& store_;
};

class RegistryWriter : public SettingsWriter
{
public:
    explicit RegistryWriter(CRegistryStore& store) : store_(store) {}

    bool WriteDword(const wchar_t* name, std::uint32_t value) override
    {
        const DWORD stored = value;
        return store_.SetValue(name, &stored, REG_DWORD, sizeof stored);
    }

    bool WriteText(const wchar_t* name, const std::string& text, unsigned maxChars) override
    {
        const std::wstring wide = Utf8ToWide(text);
        return wide.size() <= maxChars && store_.WriteString(name, wide.c_str());
    }

private:
    CRegistryStore& store_;
};

} // namespace

bool LoadSettingsFromRegistry(CRegistryStore& store, AppSettings& settings)
{
    // The copying into the record runs under the same guard as the reading: whatever goes wrong,
    // the rest of the phase is abandoned quietly and the program starts with what it has.
    try
    {
        if (!store.Create(HKEY_CURRENT_USER, SETTINGS_KEY_PATH))
            return false;
        RegistryReader reader(store);
        LoadSettings(reader, settings);
        store.Close();
        return true;
    }
    catch (...)
    {
        return false;
    }
}

bool SaveSettingsToRegistry(CRegistryStore& store, const AppSettings& settings)
{
    try
    {
        if (!store.Open(HKEY_CURRENT_USER, SETTINGS_KEY_PATH))
            return false;
        RegistryWriter writer(store);
        const bool allWritten = SaveSettings(writer, settings);
        store.Close();
        return allWritten;
    }
    catch (...)
    {
        return false;
    }
}
