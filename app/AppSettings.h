#pragma once

// The nineteen persistent settings, their registry value names in the order they are always read
// and written, and the conversions between a setting and its stored form. Platform-free: the
// registry side lives in SettingsStore.

#include "units/UnitModel.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// Face names hold at most 31 characters (LF_FACESIZE 32 with the terminating zero); log file names
// at most 255. Characters are UTF-16 code units, as the registry and LOGFONTW count them.
constexpr std::size_t FONT_NAME_MAX_CHARS = 31;
constexpr std::size_t FILE_NAME_MAX_CHARS = 255;
// Text values are read into buffers of this many characters, terminating zero included.
constexpr std::size_t SETTINGS_TEXT_BUFFER_CHARS = 256;

constexpr std::uint32_t DEFAULT_UNIT_K_STORED = 1470; // DEFAULT_K in thousandths

struct AppSettings
{
    std::uint32_t background = 0x00FFE4CA; // COLORREF 0x00BBGGRR
    std::uint32_t text = 0x00804000;       // COLORREF
    int showUnit = CONV_NONE;
    // The meter replaces it with the first reading; until then the panels assume kLx.
    int deviceUnit = DEFAULT_UNIT_CODE;
    int isUnit = 1;
    int fontHeight = 90;
    std::string fontName = "Arial"; // UTF-8, at most FONT_NAME_MAX_CHARS characters
    std::uint8_t fontItalic = 0;
    int fontWeight = 0;
    int portNr = 0;       // 0 or less: no port chosen
    std::string fileName; // UTF-8, at most FILE_NAME_MAX_CHARS characters
    int fileLog = 0;
    int fileLogCanal1 = 1;
    int fileLogCanal2 = 1;
    int fileSepFormat = 1; // tab
    int fileInterval = 1;  // seconds
    int topmost = 0;
    double unitK = DEFAULT_K;
    // The advert is offered at the first start; the user can switch it off in the additional
    // settings, and that choice persists.
    int showAdv = 1;
};

bool operator==(const AppSettings& a, const AppSettings& b);
inline bool operator!=(const AppSettings& a, const AppSettings& b)
{
    return !(a == b);
}

enum class SettingId
{
    Background,
    Text,
    ShowUnit,
    DeviceUnit,
    IsUnit,
    FontHeight,
    FontName,
    FontItalic,
    FontWeight,
    PortNr,
    FileName,
    FileLog,
    FileLogCanal1,
    FileLogCanal2,
    FileSepFormat,
    FileInterval,
    Topmost,
    UnitK,
    ShowAdv,
};

enum class StoredKind
{
    Dword, // REG_DWORD, 4 bytes
    Text,  // REG_SZ, zero-terminated UTF-16
};

struct StoredSetting
{
    SettingId id;
    const wchar_t* name; // registry value name
    StoredKind kind;
    std::size_t maxChars; // Text only: the longest text accepted, in characters
};

// Loading and saving both walk this table, so they cannot disagree on names or order.
constexpr std::array<StoredSetting, 19> STORED_SETTINGS = {{
    {SettingId::Background, L"BACKGROUND", StoredKind::Dword, 0},
    {SettingId::Text, L"TEXT", StoredKind::Dword, 0},
    {SettingId::ShowUnit, L"SHOW_UNIT", StoredKind::Dword, 0},
    {SettingId::DeviceUnit, L"DEVICE_UNIT", StoredKind::Dword, 0},
    {SettingId::IsUnit, L"IS_UNIT", StoredKind::Dword, 0},
    {SettingId::FontHeight, L"FONT_HEIGHT", StoredKind::Dword, 0},
    {SettingId::FontName, L"FONT_NAME", StoredKind::Text, FONT_NAME_MAX_CHARS},
    {SettingId::FontItalic, L"FONT_ITALIC", StoredKind::Dword, 0},
    {SettingId::FontWeight, L"FONT_WEIGHT", StoredKind::Dword, 0},
    {SettingId::PortNr, L"PORT_NR", StoredKind::Dword, 0},
    {SettingId::FileName, L"FILE_NAME", StoredKind::Text, FILE_NAME_MAX_CHARS},
    {SettingId::FileLog, L"FILE_LOG", StoredKind::Dword, 0},
    {SettingId::FileLogCanal1, L"FILE_LOG_CANAL1", StoredKind::Dword, 0},
    {SettingId::FileLogCanal2, L"FILE_LOG_CANAL2", StoredKind::Dword, 0},
    {SettingId::FileSepFormat, L"FILE_SEP_FORMAT", StoredKind::Dword, 0},
    {SettingId::FileInterval, L"FILE_INTERVAL", StoredKind::Dword, 0},
    {SettingId::Topmost, L"TOPMOST", StoredKind::Dword, 0},
    {SettingId::UnitK, L"UNIT_K", StoredKind::Dword, 0},
    {SettingId::ShowAdv, L"SHOW_ADV", StoredKind::Dword, 0},
}};

// K in thousandths, truncated toward zero: 1.4705 is stored as 1470. A product that lies within
// rounding error of a whole number counts as that number, so that every K of three decimals
// (typed, or loaded as stored * 0.001) is stored as itself instead of one thousandth less.
// NaN gives the default 1470; anything else outside 0 .. 4294967.295 is clamped.
std::uint32_t KToStored(double k);
double StoredToK(std::uint32_t stored); // stored * 0.001, unsigned

// Signed fields keep their 32-bit pattern: -1 is stored as 0xFFFFFFFF and loads back as -1.
std::uint32_t SignedToStored(int value);
int StoredToSigned(std::uint32_t stored);

// The italic flag is a byte: only the low byte of the stored word counts.
inline std::uint8_t StoredToItalic(std::uint32_t stored)
{
    return static_cast<std::uint8_t>(stored & 0xFFu);
}

// The stored word of a Dword setting, and the setting given its stored word. Both ignore Text ids.
std::uint32_t StoredDword(const AppSettings& s, SettingId id);
void ApplyStoredDword(AppSettings& s, SettingId id, std::uint32_t stored);

// The field of a Text setting; null for a Dword id.
std::string* TextSetting(AppSettings& s, SettingId id);
const std::string* TextSetting(const AppSettings& s, SettingId id);
