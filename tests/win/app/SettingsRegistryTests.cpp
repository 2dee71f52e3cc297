// The nineteen settings between the registry of the test's Wine prefix and the main window with
// its two panels, as the program loads them at start and saves them at exit.

#include "app/SettingsRegistry.h"
#include "tests/e2e/SettingsKey.h"
#include "ui/MainDlg.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <tuple>
#include <utility>

namespace
{

// A registry value as its type and raw bytes.
using Stored = std::pair<DWORD, std::string>;

Stored Word(DWORD value)
{
    return {REG_DWORD, std::string(reinterpret_cast<const char*>(&value), sizeof value)};
}
Stored Text(const std::wstring& text, bool terminated = true)
{
    const auto* bytes = reinterpret_cast<const char*>(text.c_str());
    return {REG_SZ, std::string(bytes, (text.size() + terminated) * sizeof(wchar_t))};
}
bool Plant(const wchar_t* name, const Stored& value)
{
    return settings_key::WriteRaw(name, value.first, value.second.data(),
                                  static_cast<DWORD>(value.second.size()));
}
Stored Read(const wchar_t* name)
{
    if (const auto word = settings_key::ReadDword(name))
        return Word(*word);
    return Text(settings_key::ReadText(name).value_or(L"(neither a word nor a text)"));
}

class Settings : public ::testing::Test
{
protected:
    void SetUp() override { settings_key::Delete(); }
    void TearDown() override { settings_key::Delete(); }

    CRegistryStore store;
};

TEST_F(Settings, FirstRunWritesEveryDefaultAndTheNextStartsBothPanelsFromWhatARunSaved)
{
    AppSettings first;
    ASSERT_TRUE(LoadSettingsFromRegistry(store, first)); // creates the key: saving never does
    ASSERT_TRUE(SaveSettingsToRegistry(store, first));
    const std::pair<const wchar_t*, DWORD> words[] = {
        {L"BACKGROUND", 0xFFE4CA}, {L"TEXT", 0x804000},     {L"SHOW_UNIT", 0},
        {L"DEVICE_UNIT", 2},       {L"IS_UNIT", 1},         {L"FONT_HEIGHT", 90},
        {L"FONT_ITALIC", 0},       {L"FONT_WEIGHT", 0},     {L"UNIT_K", 1470},
        {L"PORT_NR", 0},           {L"FILE_LOG", 0},        {L"FILE_LOG_CANAL1", 1},
        {L"FILE_LOG_CANAL2", 1},   {L"FILE_SEP_FORMAT", 1}, {L"FILE_INTERVAL", 1},
        {L"TOPMOST", 0},           {L"SHOW_ADV", 1}};
    for (const auto& [name, value] : words)
        EXPECT_EQ(Read(name), Word(value)) << name;
    EXPECT_EQ(Read(L"FONT_NAME"), Text(L"Arial"));
    EXPECT_EQ(Read(L"FILE_NAME"), Text(L""));

    first.look = {RGB(4, 5, 6), RGB(1, 2, 3), {-33, "Courier New", 1, FW_BOLD}};
    first.units = {CONV_TO_KLX, false, 4.007};
    first.unitCode = UNIT_WM2;
    first.showAdv = false;
    ASSERT_TRUE(SaveSettingsToRegistry(store, first));

    AppSettings second;
    ASSERT_TRUE(LoadSettingsFromRegistry(store, second));
    // At start each panel takes what was loaded and makes its own font from it.
    CMainDlg window(second);
    ASSERT_TRUE(window.Create());
    for (int i = 0; i < 2; ++i)
    {
        const CReadingPanel& panel = window.Panel(i);
        EXPECT_EQ(panel.Look().backgroundColour, RGB(1, 2, 3));
        EXPECT_EQ(panel.Units().k, 4.007);
        EXPECT_EQ(panel.Units().unitCode, UNIT_WM2);
        LOGFONTW made{};
        ASSERT_TRUE(GetObjectW(panel.ReadingFont(), sizeof made, &made));
        EXPECT_STREQ(made.lfFaceName, L"Courier New");
        EXPECT_EQ(made.lfHeight, -33);
        EXPECT_EQ(made.lfItalic, 1);
    }
    // Logging off saves the settings as they stand, as an exit would.
    window.ToggleTopmost();
    window.SendMessage(WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(Read(L"TOPMOST"), Word(1));
    EXPECT_EQ(Read(L"FONT_NAME"), Text(L"Courier New"));
    EXPECT_EQ(Read(L"SHOW_UNIT"), Word(CONV_TO_KLX));
    DestroyWindow(window.m_hWnd);
}

// What another program (or an older version) may have left in the key: what a run loads from it
// shows in what it writes back at exit.
TEST_F(Settings, OddStoredDataLoadsAsASoundValueOrKeepsTheDefault)
{
    const std::wstring longName(255, L'x');
    const std::tuple<const wchar_t*, Stored, Stored> cases[] = {
        // name, what was stored, what a run writes back
        {L"FONT_ITALIC", Word(0x100), Word(0)}, // only the low byte counts
        {L"SHOW_UNIT", Word(3), Word(0)},       // no conversion rather than an unknown one
        {L"DEVICE_UNIT", Word(9), Word(2)},
        {L"FONT_HEIGHT", Word(0), Word(90)},
        {L"PORT_NR", {REG_DWORD, std::string("\11\1", 2)}, Word(0x109)}, // zero-extended
        {L"PORT_NR", {REG_BINARY, std::string("\5\0\0\0", 4)}, Word(0)}, // another type
        {L"PORT_NR", Text(L"3"), Word(0)},                               // not COM51
        {L"FILE_NAME", Word(7), Text(L"")},
        {L"UNIT_K", Word(0), Word(1470)}, // would show "inf kLx"
        {L"FILE_INTERVAL", Word(0), Word(1)},
        {L"FILE_LOG_CANAL1", Word(2), Word(1)}, // on, in the dialog and in the logic alike
        {L"FONT_NAME", Text(std::wstring(32, L'F')), Text(L"Arial")},
        {L"FILE_NAME", Text(longName), Text(longName)},
        {L"FILE_NAME", Text(longName + L'y'), Text(L"")},
        {L"FILE_NAME", Text(L"abc", false), Text(L"abc")}, // ends where its data ends
    };
    for (const auto& [name, planted, saved] : cases)
    {
        settings_key::Delete();
        ASSERT_TRUE(Plant(name, planted));
        AppSettings loaded;
        ASSERT_TRUE(LoadSettingsFromRegistry(store, loaded));
        ASSERT_TRUE(SaveSettingsToRegistry(store, loaded));
        EXPECT_EQ(Read(name), saved) << name << " of " << planted.second.size() << " bytes";
    }
}

TEST_F(Settings, AValueThatCannotBeStoredFailsTheSaveAndLeavesWhatIsStored)
{
    ASSERT_TRUE(Plant(L"FILE_NAME", Text(L"C:\\pomiary\\dzien.txt")));
    AppSettings settings;
    ASSERT_TRUE(LoadSettingsFromRegistry(store, settings));
    settings.recording.fileName = std::string(256, 'n'); // too long to store: not cut
    settings.showAdv = false; // the last value, written after the file name's failure
    EXPECT_FALSE(SaveSettingsToRegistry(store, settings));
    EXPECT_EQ(Read(L"FILE_NAME"), Text(L"C:\\pomiary\\dzien.txt"));
    EXPECT_EQ(Read(L"SHOW_ADV"), Word(0));

    settings_key::Delete(); // while the program runs: exit does not recreate the key
    EXPECT_FALSE(SaveSettingsToRegistry(store, settings));
    EXPECT_EQ(settings_key::ValueCount(), std::nullopt);
}

} // namespace
