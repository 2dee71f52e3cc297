#include "app/AppSettings.h"

#include "app/StoredForm.h"

namespace
{

using S = AppSettings;

constexpr SettingRow Dword(const wchar_t* name, std::uint32_t (*save)(const S&),
                           void (*load)(S&, std::uint32_t))
{
    return {name, StoredKind::Dword, 0, save, load, nullptr, nullptr};
}

constexpr SettingRow Text(const wchar_t* name, unsigned maxChars, std::string (*save)(const S&),
                          void (*load)(S&, const std::string&))
{
    return {name, StoredKind::Text, maxChars, nullptr, nullptr, save, load};
}

} // namespace

// The order is the order of loading and saving.
const std::array<SettingRow, 25> SETTINGS_TABLE = {{
    Dword(
        L"BACKGROUND", [](const S& s) { return s.look.backgroundColour; },
        [](S& s, std::uint32_t v) { s.look.backgroundColour = v; }),
    Dword(
        L"TEXT", [](const S& s) { return s.look.textColour; },
        [](S& s, std::uint32_t v) { s.look.textColour = v; }),
    Dword(
        L"SHOW_UNIT", [](const S& s) { return SignedToStored(s.units.conversionMode); },
        [](S& s, std::uint32_t v) { s.units.conversionMode = StoredToConversionMode(v); }),
    Dword(
        L"DEVICE_UNIT", [](const S& s) { return SignedToStored(s.unitCode); },
        [](S& s, std::uint32_t v)
        {
            if (IsUsableUnitCode(v))
                s.unitCode = StoredToSigned(v);
        }),
    Dword(
        L"IS_UNIT", [](const S& s) { return FlagToStored(s.units.showUnitLabel); },
        [](S& s, std::uint32_t v) { s.units.showUnitLabel = StoredToFlag(v); }),
    Dword(
        L"FONT_HEIGHT", [](const S& s) { return SignedToStored(s.look.font.height); },
        [](S& s, std::uint32_t v)
        {
            if (IsUsableFontHeight(v))
                s.look.font.height = StoredToSigned(v);
        }),
    Text(
        L"FONT_NAME", FONT_NAME_MAX_CHARS, [](const S& s) { return s.look.font.faceName; },
        [](S& s, const std::string& v) { s.look.font.faceName = v; }),
    Dword(
        L"FONT_ITALIC", [](const S& s) -> std::uint32_t { return s.look.font.italic; },
        [](S& s, std::uint32_t v) { s.look.font.italic = StoredToItalic(v); }),
    Dword(
        L"FONT_WEIGHT", [](const S& s) { return SignedToStored(s.look.font.weight); },
        [](S& s, std::uint32_t v) { s.look.font.weight = StoredToSigned(v); }),
    Dword(
        L"PORT_NR", [](const S& s) { return SignedToStored(s.portNr); },
        [](S& s, std::uint32_t v) { s.portNr = StoredToSigned(v); }),
    Text(
        L"FILE_NAME", FILE_NAME_MAX_CHARS, [](const S& s) { return s.recording.fileName; },
        [](S& s, const std::string& v) { s.recording.fileName = v; }),
    Dword(
        L"FILE_LOG", [](const S& s) { return FlagToStored(s.recording.fileLog); },
        [](S& s, std::uint32_t v) { s.recording.fileLog = StoredToFlag(v); }),
    Dword(
        L"FILE_LOG_CANAL1", [](const S& s) { return FlagToStored(s.recording.fileLogCanal1); },
        [](S& s, std::uint32_t v) { s.recording.fileLogCanal1 = StoredToFlag(v); }),
    Dword(
        L"FILE_LOG_CANAL2", [](const S& s) { return FlagToStored(s.recording.fileLogCanal2); },
        [](S& s, std::uint32_t v) { s.recording.fileLogCanal2 = StoredToFlag(v); }),
    Dword(
        L"FILE_SEP_FORMAT", [](const S& s) { return SignedToStored(s.recording.fileSepFormat); },
        [](S& s, std::uint32_t v) { s.recording.fileSepFormat = StoredToSigned(v); }),
    Dword(
        L"FILE_INTERVAL", [](const S& s) { return SignedToStored(s.recording.fileInterval); },
        [](S& s, std::uint32_t v) { s.recording.fileInterval = StoredToInterval(v); }),
    Dword(
        L"TOPMOST", [](const S& s) { return FlagToStored(s.topmost); },
        [](S& s, std::uint32_t v) { s.topmost = StoredToFlag(v); }),
    Dword(
        L"UNIT_K", [](const S& s) { return KToStored(s.units.k); },
        [](S& s, std::uint32_t v) { s.units.k = StoredToK(v); }),
    Dword(
        L"SHOW_ADV", [](const S& s) { return FlagToStored(s.showAdv); },
        [](S& s, std::uint32_t v) { s.showAdv = StoredToFlag(v); }),
    // The chart window's, after the nineteen of the program's first version.
    Dword(
        CHART_SPAN_VALUE, [](const S& s) { return SignedToStored(s.chart.spanSeconds); },
        [](S& s, std::uint32_t v) { s.chart.spanSeconds = StoredToChartSpan(v); }),
    Dword(
        CHART_OPEN_VALUE, [](const S& s) { return FlagToStored(s.chart.open); },
        [](S& s, std::uint32_t v) { s.chart.open = StoredToFlag(v); }),
    Dword(
        CHART_LEFT_VALUE, [](const S& s) { return SignedToStored(s.chart.left); },
        [](S& s, std::uint32_t v) { s.chart.left = StoredToSigned(v); }),
    Dword(
        CHART_TOP_VALUE, [](const S& s) { return SignedToStored(s.chart.top); },
        [](S& s, std::uint32_t v) { s.chart.top = StoredToSigned(v); }),
    Dword(
        CHART_RIGHT_VALUE, [](const S& s) { return SignedToStored(s.chart.right); },
        [](S& s, std::uint32_t v) { s.chart.right = StoredToSigned(v); }),
    Dword(
        CHART_BOTTOM_VALUE, [](const S& s) { return SignedToStored(s.chart.bottom); },
        [](S& s, std::uint32_t v) { s.chart.bottom = StoredToSigned(v); }),
}};

void LoadSettings(SettingsReader& reader, AppSettings& settings)
{
    for (const SettingRow& row : SETTINGS_TABLE)
    {
        if (row.kind == StoredKind::Dword)
        {
            if (const std::optional<std::uint32_t> value = reader.ReadDword(row.name))
                row.loadDword(settings, *value);
        }
        else if (const std::optional<std::string> text = reader.ReadText(row.name, row.maxChars))
        {
            row.loadText(settings, *text);
        }
    }
}

bool SaveSettings(SettingsWriter& writer, const AppSettings& settings)
{
    bool allWritten = true;
    for (const SettingRow& row : SETTINGS_TABLE)
    {
        const bool written = row.kind == StoredKind::Dword
                                 ? writer.WriteDword(row.name, row.saveDword(settings))
                                 : writer.WriteText(row.name, row.saveText(settings), row.maxChars);
        allWritten = written && allWritten;
    }
    return allWritten;
}
