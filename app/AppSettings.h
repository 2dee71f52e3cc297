#pragma once

// The nineteen persistent settings: one table of registry value names, stored kinds and the
// object that holds each value at run time. Loading and saving both walk it in order. The ten
// display values live in both reading panels (loading gives both the same value, saving takes
// panel 1's); the others live in the main window. A setting's default is what its holder's
// constructor gives it, so it is written in that one place; a value that cannot be read leaves it.

#include "app/RegistryStore.h"

#include <array>
#include <cstdint>
#include <string>

class CMainDlg;

constexpr wchar_t SETTINGS_KEY_PATH[] = L"SOFTWARE\\KORVEX\\QM700v1.0"; // under HKEY_CURRENT_USER

enum class StoredKind
{
    Dword, // REG_DWORD, 4 bytes
    Text,  // REG_SZ, zero-terminated UTF-16
};

struct AppSetting
{
    const wchar_t* name;
    StoredKind kind;
    unsigned maxChars; // Text: the longest text accepted, in characters
    std::uint32_t (*saveDword)(const CMainDlg&);
    void (*loadDword)(CMainDlg&, std::uint32_t);
    std::wstring (*saveText)(const CMainDlg&);
    void (*loadText)(CMainDlg&, const std::wstring&);
};

extern const std::array<AppSetting, 19> APP_SETTINGS;

// Creates the key when missing and reads every value in table order into the window and its
// panels; a value that is absent or does not fit (more than 4 bytes for a DWORD, more than 255
// characters plus the zero for a text, a face name over 31 characters) keeps its default. Data
// shorter than 4 bytes is zero-extended. Closes the key. False when the key could not be created
// or an exception abandoned the phase: settings are a convenience, the program starts anyway.
bool LoadSettings(CRegistryStore& store, CMainDlg& window);

// Opens the key (never creates it: a key deleted while the program ran stays deleted) and writes
// every value in table order; a failed write does not stop the others. A text longer than its
// limit is not written, so the stored value stays rather than being cut into another path.
// Closes the key. True only when all nineteen values were written.
bool SaveSettings(CRegistryStore& store, const CMainDlg& window);
