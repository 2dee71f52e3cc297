#pragma once

// The program's settings key in the registry of the test's Wine prefix, prepared before a start
// and read after the program has ended. Written out here rather than taken from the program, so
// that a wrong key or value name in the program shows.

#include <windows.h>

#include <optional>
#include <string>

constexpr wchar_t PROGRAM_SETTINGS_KEY[] = L"SOFTWARE\\KORVEX\\QM700v1.0"; // under HKCU

namespace settings_key
{

void Delete();
// A new key for a start that opens this port and shows no advert window; false when a value
// could not be written.
bool StartFresh(DWORD port);
// The same, logging every second to `log` with semicolons, channel 2 too unless told not to.
bool StartLogging(DWORD port, const std::wstring& log, bool channel2 = true);
// Creates the key when missing. False when the value could not be written.
bool WriteRaw(const wchar_t* name, DWORD type, const void* data, DWORD size);
bool WriteDword(const wchar_t* name, DWORD value);
bool WriteText(const wchar_t* name, const std::wstring& value);

// A REG_DWORD value; nothing when absent or of another type.
std::optional<DWORD> ReadDword(const wchar_t* name);
// A REG_SZ value without its terminating zero; nothing when absent or of another type.
std::optional<std::wstring> ReadText(const wchar_t* name);
// How many values the key holds; nothing when there is no key.
std::optional<DWORD> ValueCount();

} // namespace settings_key
