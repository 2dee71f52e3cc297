// The nineteen settings between the registry of the test's Wine prefix and the main window with
// its two panels, as the program loads them at start and saves them at exit.

#include "app/AppSettings.h"
#include "tests/e2e/SettingsKey.h"
#include "toolkit/TextConv.h"
#include "ui/MainDlg.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cwchar>
#include <functional>
#include <new>
#include <string>

// Allocation failure on demand, for the guard around each phase.
namespace
{
std::atomic<bool> failAllocations{false};
}

void* operator new(std::size_t size)
{
    if (failAllocations)
        throw std::bad_alloc();
    if (void* p = HeapAlloc(GetProcessHeap(), 0, size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept
{
    if (p)
        HeapFree(GetProcessHeap(), 0, p);
}
void operator delete(void* p, std::size_t) noexcept
{
    operator delete(p);
}

namespace
{

bool WriteText(const wchar_t* name, const std::wstring& text)
{
    return settings_key::WriteRaw(name, REG_SZ, text.c_str(),
                                  static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

class Settings : public ::testing::Test
{
protected:
    void SetUp() override { settings_key::Delete(); }
    void TearDown() override { settings_key::Delete(); }

    CRegistryStore store;
};

TEST_F(Settings, FirstRunCreatesTheKeyAndExitWritesEveryDefault)
{
    CMainDlg window;
    ASSERT_TRUE(LoadSettings(store, window));
    EXPECT_TRUE(settings_key::Exists());
    ASSERT_TRUE(SaveSettings(store, window));

    const struct
    {
        const wchar_t* name;
        DWORD value;
    } dwords[] = {
        {L"BACKGROUND", 0x00FFE4CA},
        {L"TEXT", 0x00804000},
        {L"SHOW_UNIT", 0},
        {L"DEVICE_UNIT", 2},
        {L"IS_UNIT", 1},
        {L"FONT_HEIGHT", 90},
        {L"FONT_ITALIC", 0},
        {L"FONT_WEIGHT", 0},
        {L"PORT_NR", 0},
        {L"FILE_LOG", 0},
        {L"FILE_LOG_CANAL1", 1},
        {L"FILE_LOG_CANAL2", 1},
        {L"FILE_SEP_FORMAT", 1},
        {L"FILE_INTERVAL", 1},
        {L"TOPMOST", 0},
        {L"UNIT_K", 1470},
        {L"SHOW_ADV", 1},
    };
    for (const auto& d : dwords)
        EXPECT_EQ(settings_key::ReadDword(d.name), d.value) << WideToUtf8(d.name);
    EXPECT_EQ(settings_key::ReadText(L"FONT_NAME"), std::wstring(L"Arial"));
    EXPECT_EQ(settings_key::ReadText(L"FILE_NAME"), std::wstring());
    EXPECT_EQ(settings_key::ValueNames().size(), 19u);
}

TEST_F(Settings, WhatOneRunSavesTheNextLoadsIntoBothPanelsAndTheirFonts)
{
    CMainDlg first;
    ASSERT_TRUE(LoadSettings(store, first));
    CReadingPanel& p = first.panel1; // saving takes panel 1's values
    p.backgroundColour = RGB(1, 2, 3);
    p.textColour = RGB(4, 5, 6);
    p.units = UnitState{UNIT_WM2, CONV_TO_KLX, 0, 4.007};
    p.logFont.lfHeight = -33;
    p.logFont.lfItalic = 1;
    p.logFont.lfWeight = FW_BOLD;
    std::wcscpy(p.logFont.lfFaceName, L"Courier New");
    first.portNr = -3; // none chosen, kept as stored
    first.fileName = "C:\\łąka.csv"; // opened at start, so it must be a place one can write
    first.fileLog = 1;
    first.fileLogCanal1 = 0;
    first.fileLogCanal2 = 1;
    first.fileSepFormat = 3;
    first.fileInterval = 3600;
    first.topmost = 1;
    first.showAdv = 0;
    ASSERT_TRUE(SaveSettings(store, first));

    CMainDlg second;
    ASSERT_TRUE(LoadSettings(store, second));
    for (const CReadingPanel* panel : {&second.panel1, &second.panel2})
    {
        EXPECT_EQ(panel->backgroundColour, RGB(1, 2, 3));
        EXPECT_EQ(panel->textColour, RGB(4, 5, 6));
        EXPECT_EQ(panel->units.unitCode, UNIT_WM2);
        EXPECT_EQ(panel->units.conversionMode, CONV_TO_KLX);
        EXPECT_EQ(panel->units.showUnitLabel, 0);
        EXPECT_EQ(panel->units.k, 4.007);
        EXPECT_EQ(panel->logFont.lfHeight, -33);
        EXPECT_EQ(panel->logFont.lfItalic, 1);
        EXPECT_EQ(panel->logFont.lfWeight, FW_BOLD);
        EXPECT_STREQ(panel->logFont.lfFaceName, L"Courier New");
    }
    EXPECT_EQ(second.portNr, -3);
    EXPECT_EQ(second.fileName, "C:\\łąka.csv");
    EXPECT_EQ(second.fileLog, 1);
    EXPECT_EQ(second.fileLogCanal1, 0);
    EXPECT_EQ(second.fileLogCanal2, 1);
    EXPECT_EQ(second.fileSepFormat, 3);
    EXPECT_EQ(second.fileInterval, 3600);
    EXPECT_EQ(second.topmost, 1);
    EXPECT_EQ(second.showAdv, 0);

    // At start each panel makes its own font from what was loaded.
    ASSERT_TRUE(second.Create());
    for (const CReadingPanel* panel : {&second.panel1, &second.panel2})
    {
        LOGFONTW made{};
        ASSERT_TRUE(GetObjectW(panel->ReadingFont(), sizeof made, &made));
        EXPECT_STREQ(made.lfFaceName, L"Courier New");
        EXPECT_EQ(made.lfHeight, -33);
        EXPECT_EQ(made.lfItalic, 1);
    }
    DestroyWindow(second.m_hWnd);
}

// What another program (or an older version) may have left in the key, and what it loads as.
TEST_F(Settings, OddStoredDataLoadsAsASoundValueOrKeepsTheDefault)
{
    const std::wstring longName(255, L'x');
    const struct Case
    {
        const char* what;
        std::function<bool(Settings&)> plant;
        std::function<bool(const CMainDlg&)> loaded;
    } cases[] = {
        {"italic word 0x100 is not italic",
         [](Settings&) { return settings_key::WriteDword(L"FONT_ITALIC", 0x100); },
         [](const CMainDlg& w)
         { return w.panel1.logFont.lfItalic == 0 && w.panel2.logFont.lfItalic == 0; }},
        {"italic word 0x101 is italic",
         [](Settings&) { return settings_key::WriteDword(L"FONT_ITALIC", 0x101); },
         [](const CMainDlg& w)
         { return w.panel1.logFont.lfItalic == 1 && w.panel2.logFont.lfItalic == 1; }},
        {"conversion mode 3 shows what the meter sends",
         [](Settings&) { return settings_key::WriteDword(L"SHOW_UNIT", 3); },
         [](const CMainDlg& w) { return w.panel1.units.conversionMode == CONV_NONE; }},
        {"unit code 9 keeps kLx",
         [](Settings&) { return settings_key::WriteDword(L"DEVICE_UNIT", 9); },
         [](const CMainDlg& w) { return w.panel2.units.unitCode == UNIT_KLX; }},
        {"font height 0 keeps 90",
         [](Settings&) { return settings_key::WriteDword(L"FONT_HEIGHT", 0); },
         [](const CMainDlg& w) { return w.panel1.logFont.lfHeight == 90; }},
        {"negative weight keeps its sign",
         [](Settings&) { return settings_key::WriteDword(L"FONT_WEIGHT", 0xFFFFFFFF); },
         [](const CMainDlg& w) { return w.panel1.logFont.lfWeight == -1; }},
        {"4 bytes of another type are taken",
         [](Settings&)
         {
             const BYTE b[4] = {7, 0, 0, 0};
             return settings_key::WriteRaw(L"PORT_NR", REG_BINARY, b, 4);
         },
         [](const CMainDlg& w) { return w.portNr == 7; }},
        {"2 bytes are zero-extended",
         [](Settings&)
         {
             const BYTE b[2] = {9, 1};
             return settings_key::WriteRaw(L"PORT_NR", REG_BINARY, b, 2);
         },
         [](const CMainDlg& w) { return w.portNr == 0x109; }},
        {"8 bytes do not fit",
         [](Settings&)
         {
             const BYTE b[8] = {5};
             return settings_key::WriteRaw(L"PORT_NR", REG_BINARY, b, 8);
         },
         [](const CMainDlg& w) { return w.portNr == 0; }},
        {"a face name of 32 characters names no font",
         [](Settings&) { return WriteText(L"FONT_NAME", std::wstring(32, L'F')); },
         [](const CMainDlg& w) { return std::wstring(w.panel2.logFont.lfFaceName) == L"Arial"; }},
        {"a file name of 255 characters is taken",
         [&](Settings&) { return WriteText(L"FILE_NAME", longName); },
         [&](const CMainDlg& w) { return w.fileName == std::string(255, 'x'); }},
        {"a file name of 256 characters is refused",
         [](Settings&) { return WriteText(L"FILE_NAME", std::wstring(256, L'y')); },
         [](const CMainDlg& w) { return w.fileName.empty(); }},
        {"a text without its terminating zero ends where its data ends",
         [](Settings&)
         {
             const wchar_t t[] = L"abc#";
             return settings_key::WriteRaw(L"FILE_NAME", REG_SZ, t, 3 * sizeof(wchar_t));
         },
         [](const CMainDlg& w) { return w.fileName == "abc"; }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        settings_key::Delete();
        ASSERT_TRUE(c.plant(*this));
        CMainDlg window;
        ASSERT_TRUE(LoadSettings(store, window));
        EXPECT_TRUE(c.loaded(window));
    }
}

TEST_F(Settings, AFileNameTooLongToStoreLeavesTheStoredOneAndTheRestIsWritten)
{
    ASSERT_TRUE(WriteText(L"FILE_NAME", L"C:\\stary.txt"));
    CMainDlg window;
    ASSERT_TRUE(LoadSettings(store, window));
    window.fileName = std::string(256, 'n');
    window.portNr = 4;
    EXPECT_FALSE(SaveSettings(store, window));
    EXPECT_EQ(settings_key::ReadText(L"FILE_NAME"), std::wstring(L"C:\\stary.txt"));
    EXPECT_EQ(settings_key::ReadDword(L"PORT_NR"), 4u);
}

TEST_F(Settings, AKeyDeletedWhileTheProgramRunsIsNotRecreatedAtExit)
{
    CMainDlg window;
    ASSERT_TRUE(LoadSettings(store, window));
    settings_key::Delete();
    EXPECT_FALSE(SaveSettings(store, window));
    EXPECT_FALSE(settings_key::Exists());
}

TEST_F(Settings, AFailureInsideEitherPhaseAbandonsItQuietly)
{
    ASSERT_TRUE(settings_key::WriteDword(L"PORT_NR", 5));
    ASSERT_TRUE(WriteText(L"FILE_NAME", L"C:\\pomiary\\dzien.txt"));
    ASSERT_TRUE(settings_key::WriteDword(L"FILE_LOG", 1));
    CMainDlg window;
    failAllocations = true; // the file name's text needs memory of its own
    const bool loaded = LoadSettings(store, window);
    failAllocations = false;
    EXPECT_FALSE(loaded);
    EXPECT_EQ(window.portNr, 5) << "values before the failure are in";
    EXPECT_EQ(window.fileLog, 0) << "values after it keep their defaults";

    window.fileName = "C:\\pomiary\\noc.txt";
    failAllocations = true;
    const bool saved = SaveSettings(store, window);
    failAllocations = false;
    EXPECT_FALSE(saved);
}

} // namespace
