#pragma once

// The persistent settings as one record, with every default written once (here and in the
// records it holds), and the table that maps each registry value name to a field of the record.
// Platform-free: the registry is reached through the small reader and writer interfaces below.

#include "ui/chart/ChartSettings.h"
#include "recording/RecordSettingsRules.h"
#include "ui/PanelLook.h"
#include "units/UnitModel.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// The key under HKEY_CURRENT_USER.
constexpr wchar_t SETTINGS_KEY_PATH[] = L"SOFTWARE\\KORVEX\\QM700v1.0";

struct AppSettings
{
    PanelLook look;                   // both panels
    UnitOptions units;                // both panels
    int unitCode = DEFAULT_UNIT_CODE; // the unit the meter sent last
    int portNr = 0;                   // 0: none chosen yet
    RecordingSettings recording;
    bool topmost = false;
    bool showAdv = true;
    ChartSettings chart;
};

enum class StoredKind
{
    Dword, // REG_DWORD
    Text,  // REG_SZ
};

struct SettingRow
{
    const wchar_t* name;
    StoredKind kind;
    unsigned maxChars; // Text: the longest text accepted, in UTF-16 code units
    std::uint32_t (*saveDword)(const AppSettings&);
    void (*loadDword)(AppSettings&, std::uint32_t);
    std::string (*saveText)(const AppSettings&); // UTF-8
    void (*loadText)(AppSettings&, const std::string&);
};

extern const std::array<SettingRow, 25> SETTINGS_TABLE;

// Where loading reads from: nothing for a value that is absent, of another registry type or
// does not fit (a text over maxChars).
class SettingsReader
{
public:
    virtual ~SettingsReader() = default;
    virtual std::optional<std::uint32_t> ReadDword(const wchar_t* name) = 0;
    virtual std::optional<std::string> ReadText(const wchar_t* name, unsigned maxChars) = 0;
};

class SettingsWriter
{
public:
    virtual ~SettingsWriter() = default;
    virtual bool WriteDword(const wchar_t* name, std::uint32_t value) = 0;
    // False, writing nothing, for a text over maxChars: the stored value stays rather than being
    // cut into another path.
    virtual bool WriteText(const wchar_t* name, const std::string& text, unsigned maxChars) = 0;
};

// Reads every value in table order into the record; a value that cannot be read keeps what the
// record holds (its default).
void LoadSettings(SettingsReader& reader, AppSettings& settings);
// Writes every value in table order; a failed write does not stop the others. True only when all
// were written.
bool SaveSettings(SettingsWriter& writer, const AppSettings& settings);
