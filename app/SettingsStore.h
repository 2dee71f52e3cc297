#pragma once

// Loading the persistent settings at start-up and saving them at exit, in the per-user registry.

#include "app/AppSettings.h"
#include "app/RegistryStore.h"

constexpr wchar_t SETTINGS_KEY_PATH[] = L"SOFTWARE\\KORVEX\\QM700v1.0"; // under HKEY_CURRENT_USER

// Creates the key when missing and reads every value in table order; each value read replaces
// its field, anything else keeps what s held (the defaults). A value is kept out when its data
// does not fit (more than 4 bytes for a DWORD setting, more than 255 characters plus the zero for
// a text), and so is a FONT_NAME longer than 31 characters: a cut face name names no font.
// Data shorter than 4 bytes is zero-extended. Closes the key.
// False when the key could not be created or the phase was abandoned by an exception.
bool LoadSettings(CRegistryStore& store, AppSettings& s);

// Opens the key (never creates it) and writes every value in table order; a failed write does
// not stop the others. A text longer than its limit (file name 255, face name 31 characters) is
// not written, so the stored value stays as it was rather than being cut into another path.
// Closes the key. True only when all nineteen values were written.
bool SaveSettings(CRegistryStore& store, const AppSettings& s);
