#include "app/AppSettings.h"

#include "app/StoredForm.h"
#include "toolkit/TextConv.h"
#include "ui/MainDlg.h"

#include <cwchar>

namespace
{

using Window = CMainDlg;

std::array<CReadingPanel*, 2> Panels(Window& w)
{
    return {&w.panel1, &w.panel2};
}

constexpr AppSetting Dword(const wchar_t* name, std::uint32_t (*save)(const Window&),
                           void (*load)(Window&, std::uint32_t))
{
    return {name, StoredKind::Dword, 0, save, load, nullptr, nullptr};
}

constexpr AppSetting Text(const wchar_t* name, unsigned maxChars,
                          std::wstring (*save)(const Window&),
                          void (*load)(Window&, const std::wstring&))
{
    return {name, StoredKind::Text, maxChars, nullptr, nullptr, save, load};
}

} // namespace

const std::array<AppSetting, 19> APP_SETTINGS = {{
    Dword(
        L"BACKGROUND", [](const Window& w) -> std::uint32_t { return w.panel1.backgroundColour; },
        [](Window& w, std::uint32_t v)
        {
            for (CReadingPanel* p : Panels(w))
                p->backgroundColour = v;
        }),
    Dword(
        L"TEXT", [](const Window& w) -> std::uint32_t { return w.panel1.textColour; },
        [](Window& w, std::uint32_t v)
        {
            for (CReadingPanel* p : Panels(w))
                p->textColour = v;
        }),
    Dword(
        L"SHOW_UNIT", [](const Window& w) { return SignedToStored(w.panel1.units.conversionMode); },
        [](Window& w, std::uint32_t v)
        {
            for (CReadingPanel* p : Panels(w))
                p->units.conversionMode = StoredToConversionMode(v);
        }),
    Dword(
        L"DEVICE_UNIT", [](const Window& w) { return SignedToStored(w.panel1.units.unitCode); },
        [](Window& w, std::uint32_t v)
        {
            for (CReadingPanel* p : Panels(w))
                if (IsUsableUnitCode(v))
                    p->units.unitCode = StoredToSigned(v);
        }),
    Dword(
        L"IS_UNIT", [](const Window& w) { return SignedToStored(w.panel1.units.showUnitLabel); },
        [](Window& w, std::uint32_t v)
        {
            for (CReadingPanel* p : Panels(w))
                p->units.showUnitLabel = StoredToSigned(v);
        }),
    Dword(
        L"FONT_HEIGHT", [](const Window& w) { return SignedToStored(w.panel1.logFont.lfHeight); },
        [](Window& w, std::uint32_t v)
        {
            for (CReadingPanel* p : Panels(w))
                if (IsUsableFontHeight(v))
                    p->logFont.lfHeight = StoredToSigned(v);
        }),
    Text(
        L"FONT_NAME", FONT_NAME_MAX_CHARS,
        [](const Window& w) { return std::wstring(w.panel1.logFont.lfFaceName); },
        [](Window& w, const std::wstring& v)
        {
            for (CReadingPanel* p : Panels(w))
            {
                // The table's limit keeps it within the field; cut all the same, never overflow.
                std::wmemset(p->logFont.lfFaceName, 0, LF_FACESIZE);
                std::wcsncpy(p->logFont.lfFaceName, v.c_str(), LF_FACESIZE - 1);
            }
        }),
    Dword(
        L"FONT_ITALIC", [](const Window& w) -> std::uint32_t { return w.panel1.logFont.lfItalic; },
        [](Window& w, std::uint32_t v)
        {
            for (CReadingPanel* p : Panels(w))
                p->logFont.lfItalic = StoredToItalic(v);
        }),
    Dword(
        L"FONT_WEIGHT", [](const Window& w) { return SignedToStored(w.panel1.logFont.lfWeight); },
        [](Window& w, std::uint32_t v)
        {
            for (CReadingPanel* p : Panels(w))
                p->logFont.lfWeight = StoredToSigned(v);
        }),
    Dword(
        L"PORT_NR", [](const Window& w) { return SignedToStored(w.portNr); },
        [](Window& w, std::uint32_t v) { w.portNr = StoredToSigned(v); }),
    Text(
        L"FILE_NAME", FILE_NAME_MAX_CHARS, [](const Window& w) { return Utf8ToWide(w.fileName); },
        [](Window& w, const std::wstring& v) { w.fileName = WideToUtf8(v); }),
    Dword(
        L"FILE_LOG", [](const Window& w) { return SignedToStored(w.fileLog); },
        [](Window& w, std::uint32_t v) { w.fileLog = StoredToSigned(v); }),
    Dword(
        L"FILE_LOG_CANAL1", [](const Window& w) { return SignedToStored(w.fileLogCanal1); },
        [](Window& w, std::uint32_t v) { w.fileLogCanal1 = StoredToSigned(v); }),
    Dword(
        L"FILE_LOG_CANAL2", [](const Window& w) { return SignedToStored(w.fileLogCanal2); },
        [](Window& w, std::uint32_t v) { w.fileLogCanal2 = StoredToSigned(v); }),
    Dword(
        L"FILE_SEP_FORMAT", [](const Window& w) { return SignedToStored(w.fileSepFormat); },
        [](Window& w, std::uint32_t v) { w.fileSepFormat = StoredToSigned(v); }),
    Dword(
        L"FILE_INTERVAL", [](const Window& w) { return SignedToStored(w.fileInterval); },
        [](Window& w, std::uint32_t v) { w.fileInterval = StoredToSigned(v); }),
    Dword(
        L"TOPMOST", [](const Window& w) { return SignedToStored(w.topmost); },
        [](Window& w, std::uint32_t v) { w.topmost = StoredToSigned(v); }),
    Dword(
        L"UNIT_K", [](const Window& w) { return KToStored(w.panel1.units.k); },
        [](Window& w, std::uint32_t v)
        {
            for (CReadingPanel* p : Panels(w))
                p->units.k = StoredToK(v);
        }),
    Dword(
        L"SHOW_ADV", [](const Window& w) { return SignedToStored(w.showAdv); },
        [](Window& w, std::uint32_t v) { w.showAdv = StoredToSigned(v); }),
}};

namespace
{

void LoadValue(CRegistryStore& store, const AppSetting& setting, Window& window)
{
    if (setting.kind == StoredKind::Dword)
    {
        DWORD scratch = 0; // zero, so that shorter data is zero-extended
        if (store.ReadDword(setting.name, &scratch))
            setting.loadDword(window, scratch);
        return;
    }
    wchar_t buffer[SETTINGS_TEXT_BUFFER_CHARS];
    if (!store.ReadString(setting.name, buffer, SETTINGS_TEXT_BUFFER_CHARS))
        return;
    const std::wstring text(buffer);
    if (text.size() <= setting.maxChars)
        setting.loadText(window, text);
}

bool SaveValue(CRegistryStore& store, const AppSetting& setting, const Window& window)
{
    if (setting.kind == StoredKind::Dword)
    {
        const DWORD stored = setting.saveDword(window);
        return store.SetValue(setting.name, &stored, REG_DWORD, sizeof stored);
    }
    const std::wstring text = setting.saveText(window);
    return text.size() <= setting.maxChars && store.WriteString(setting.name, text.c_str());
}

} // namespace

bool LoadSettings(CRegistryStore& store, CMainDlg& window)
{
    // The copying into the window runs under the same guard as the reading: whatever goes wrong,
    // the rest of the phase is abandoned quietly and the program starts with what it has.
    try
    {
        if (!store.Create(HKEY_CURRENT_USER, SETTINGS_KEY_PATH))
            return false;
        for (const AppSetting& setting : APP_SETTINGS)
            LoadValue(store, setting, window);
        store.Close();
        return true;
    }
    catch (...)
    {
        return false;
    }
}

bool SaveSettings(CRegistryStore& store, const CMainDlg& window)
{
    try
    {
        if (!store.Open(HKEY_CURRENT_USER, SETTINGS_KEY_PATH))
            return false;
        bool allWritten = true;
        for (const AppSetting& setting : APP_SETTINGS)
            allWritten = SaveValue(store, setting, window) && allWritten;
        store.Close();
        return allWritten;
    }
    catch (...)
    {
        return false;
    }
}
