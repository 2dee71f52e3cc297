#pragma once

// The settings record between the registry key and the program: loaded once before the main window
// exists, saved once after it has closed (or when the session ends).

#include "app/AppSettings.h"
#include "app/RegistryStore.h"

// Creates the key when missing and reads every value into the record; a value that is absent, of
// another registry type or does not fit (more than 4 bytes for a DWORD, more than its limit for a
// text) keeps its default. Data shorter than 4 bytes is zero-extended. Closes the key. False when
// the key could not be created or an exception abandoned the phase: settings are a convenience,
// the program starts anyway.
bool LoadSettingsFromRegistry(CRegistryStore& store, AppSettings& settings);

// Opens the key (never creates it: a key deleted while the program ran stays deleted) and writes
// every value; a failed write does not stop the others. Closes the key. True only when all values
// were written.
bool SaveSettingsToRegistry(CRegistryStore& store, const AppSettings& settings);
