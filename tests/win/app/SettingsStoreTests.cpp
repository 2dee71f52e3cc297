#include "app/SettingsStore.h"

#include "RegistryTestKey.h"
#include "toolkit/TextConv.h"

#include <cstring>
#include <string>

void PrintTo(const AppSettings& s, std::ostream* os)
{
    *os << "{bg " << s.background << ", text " << s.text << ", showUnit " << s.showUnit
        << ", deviceUnit " << s.deviceUnit << ", isUnit " << s.isUnit << ", height " << s.fontHeight
        << ", face \"" << s.fontName << "\", italic " << int(s.fontItalic) << ", weight "
        << s.fontWeight << ", port " << s.portNr << ", file \"" << s.fileName << "\", log "
        << s.fileLog << "/" << s.fileLogCanal1 << "/" << s.fileLogCanal2 << "/" << s.fileSepFormat
        << "/" << s.fileInterval << ", topmost " << s.topmost << ", K " << s.unitK << ", showAdv "
        << s.showAdv << "}";
}

namespace
{

using SettingsStore = SettingsKeyTest;

// Every field away from its default, the signed ones negative, the texts non-ASCII.
AppSettings Changed()
{
    AppSettings s;
    s.background = 0x00102030;
    s.text = 0x00FFFFFF;
    s.showUnit = CONV_TO_WM2;
    s.deviceUnit = UNIT_WM2_FINE;
    s.isUnit = 0;
    s.fontHeight = -24;
    s.fontName = "Times New Roman";
    s.fontItalic = 1;
    s.fontWeight = 700;
    s.portNr = -1;
    s.fileName = "C:\\pomiary\\łódź.csv";
    s.fileLog = 1;
    s.fileLogCanal1 = 0;
    s.fileLogCanal2 = 0;
    s.fileSepFormat = 3;
    s.fileInterval = 60;
    s.topmost = 1;
    s.unitK = 2.5;
    s.showAdv = 0;
    return s;
}

AppSettings Loaded()
{
    AppSettings s;
    CRegistryStore store;
    EXPECT_TRUE(LoadSettings(store, s));
    return s;
}

void Save(const AppSettings& s)
{
    CRegistryStore store;
    AppSettings ignored;
    ASSERT_TRUE(LoadSettings(store, ignored)); // creates the key
    EXPECT_TRUE(SaveSettings(store, s));
}

DWORD RawDword(const wchar_t* name)
{
    const RawValue v = ReadRaw(name);
    EXPECT_TRUE(v.present) << name;
    EXPECT_EQ(v.type, static_cast<DWORD>(REG_DWORD)) << name;
    EXPECT_EQ(v.data.size(), 4u) << name;
    DWORD word = 0;
    std::memcpy(&word, v.data.data(), v.data.size() < 4 ? v.data.size() : 4);
    return word;
}

std::wstring RawString(const wchar_t* name)
{
    const RawValue v = ReadRaw(name);
    EXPECT_TRUE(v.present) << name;
    EXPECT_EQ(v.type, static_cast<DWORD>(REG_SZ)) << name;
    // Stored with its terminating zero, and nothing after it.
    EXPECT_EQ(v.data.size() % sizeof(wchar_t), 0u) << name;
    const std::wstring text(reinterpret_cast<const wchar_t*>(v.data.data()),
                            v.data.size() / sizeof(wchar_t));
    EXPECT_TRUE(!text.empty() && text.back() == L'\0') << name;
    return text.empty() ? text : text.substr(0, text.size() - 1);
}

TEST_F(SettingsStore, FirstRunCreatesTheKeyAndExitWritesAllNineteenValues)
{
    CRegistryStore store;
    AppSettings s;
    ASSERT_TRUE(LoadSettings(store, s));
    EXPECT_EQ(s, AppSettings());
    EXPECT_TRUE(SettingsKeyExists());
    EXPECT_EQ(SettingsValueCount(), 0u); // loading writes nothing
    EXPECT_FALSE(store.IsOpen());

    ASSERT_TRUE(SaveSettings(store, s));
    EXPECT_FALSE(store.IsOpen());
    EXPECT_EQ(SettingsValueCount(), 19u);
    EXPECT_EQ(RawDword(L"BACKGROUND"), 0x00FFE4CAu);
    EXPECT_EQ(RawDword(L"TEXT"), 0x00804000u);
    EXPECT_EQ(RawDword(L"SHOW_UNIT"), 0u);
    EXPECT_EQ(RawDword(L"DEVICE_UNIT"), 2u);
    EXPECT_EQ(RawDword(L"IS_UNIT"), 1u);
    EXPECT_EQ(RawDword(L"FONT_HEIGHT"), 90u);
    EXPECT_EQ(RawString(L"FONT_NAME"), L"Arial");
    EXPECT_EQ(RawDword(L"FONT_ITALIC"), 0u);
    EXPECT_EQ(RawDword(L"FONT_WEIGHT"), 0u);
    EXPECT_EQ(RawDword(L"PORT_NR"), 0u);
    EXPECT_EQ(RawString(L"FILE_NAME"), L"");
    EXPECT_EQ(RawDword(L"FILE_LOG"), 0u);
    EXPECT_EQ(RawDword(L"FILE_LOG_CANAL1"), 1u);
    EXPECT_EQ(RawDword(L"FILE_LOG_CANAL2"), 1u);
    EXPECT_EQ(RawDword(L"FILE_SEP_FORMAT"), 1u);
    EXPECT_EQ(RawDword(L"FILE_INTERVAL"), 1u);
    EXPECT_EQ(RawDword(L"TOPMOST"), 0u);
    EXPECT_EQ(RawDword(L"UNIT_K"), 1470u);
    EXPECT_EQ(RawDword(L"SHOW_ADV"), 1u);
}

TEST_F(SettingsStore, SecondRunReadsBackWhatTheFirstSaved)
{
    const AppSettings changed = Changed();
    Save(changed);
    EXPECT_EQ(Loaded(), changed);
    // Signed fields keep their bit pattern in the registry, too.
    EXPECT_EQ(RawDword(L"FONT_HEIGHT"), 0xFFFFFFE8u);
    EXPECT_EQ(RawDword(L"PORT_NR"), 0xFFFFFFFFu);
    EXPECT_EQ(RawString(L"FILE_NAME"), L"C:\\pomiary\\\x0142\x00F3"
                                       L"d\x017A.csv");
    EXPECT_EQ(RawDword(L"UNIT_K"), 2500u);
}

TEST_F(SettingsStore, KPersistsInThousandthsRoundedDown)
{
    AppSettings s;
    s.unitK = 1.4705;
    Save(s);
    EXPECT_EQ(RawDword(L"UNIT_K"), 1470u);
    EXPECT_EQ(Loaded().unitK, 1.47);

    s.unitK = 1.47;
    for (int run = 0; run < 50; ++run)
    {
        Save(s);
        s = Loaded();
    }
    EXPECT_EQ(s.unitK, 1.47);

    // 4.007 * 1000 and 1.001 * 1000 fall just short of a whole number in double: each save must
    // still store the thousandths typed, not one less per run.
    for (const double typed : {4.007, 1.001})
    {
        const DWORD thousandths = static_cast<DWORD>(typed * 1000.0 + 0.5);
        s.unitK = typed;
        for (int run = 0; run < 50; ++run)
        {
            Save(s);
            ASSERT_EQ(RawDword(L"UNIT_K"), thousandths) << "run " << run;
            s = Loaded();
        }
        EXPECT_NEAR(s.unitK, typed, 1e-12);
    }
}

TEST_F(SettingsStore, OnlyTheLowByteOfFontItalicCounts)
{
    WriteRawDword(L"FONT_ITALIC", 0x00000101);
    EXPECT_EQ(Loaded().fontItalic, 1);
}

TEST_F(SettingsStore, FileNameOf255CharactersRoundTrips)
{
    AppSettings s;
    std::wstring longest(FILE_NAME_MAX_CHARS, L'\x0142'); // two UTF-8 bytes each
    longest.replace(0, 3, L"C:\\");
    s.fileName = WideToUtf8(longest);
    Save(s);
    EXPECT_EQ(RawString(L"FILE_NAME"), longest);
    EXPECT_EQ(Loaded().fileName, s.fileName);
}

TEST_F(SettingsStore, StoredFileNameOver255CharactersIsRefused)
{
    Save(Changed());
    const std::wstring tooLong(256, L'a');
    WriteRaw(L"FILE_NAME", REG_SZ, tooLong.c_str(), 257 * sizeof(wchar_t));
    AppSettings expected = Changed();
    expected.fileName.clear(); // the default stays
    EXPECT_EQ(Loaded(), expected);

    // 256 characters without the zero fit the buffer's bytes, but there is no room to end them.
    WriteUnterminatedString(L"FILE_NAME", tooLong);
    EXPECT_EQ(Loaded(), expected);
}

TEST_F(SettingsStore, FileNameOver255CharactersIsNotSavedAndTheStoredOneStays)
{
    Save(Changed());
    AppSettings s = Changed();
    s.fileName = std::string(256, 'a');
    s.fileLog = 0; // the values after it are still written
    s.showAdv = 1;
    CRegistryStore store;
    EXPECT_FALSE(SaveSettings(store, s));
    EXPECT_EQ(RawString(L"FILE_NAME"), L"C:\\pomiary\\\x0142\x00F3"
                                       L"d\x017A.csv");
    EXPECT_EQ(RawDword(L"FILE_LOG"), 0u);
    EXPECT_EQ(RawDword(L"SHOW_ADV"), 1u);
}

TEST_F(SettingsStore, FaceNameOver31CharactersIsRefusedNotCut)
{
    const std::wstring longest(FONT_NAME_MAX_CHARS, L'F');
    WriteRaw(L"FONT_NAME", REG_SZ, longest.c_str(), 32 * sizeof(wchar_t));
    EXPECT_EQ(Loaded().fontName, std::string(FONT_NAME_MAX_CHARS, 'F'));

    const std::wstring tooLong(FONT_NAME_MAX_CHARS + 1, L'F');
    WriteRaw(L"FONT_NAME", REG_SZ, tooLong.c_str(), 33 * sizeof(wchar_t));
    EXPECT_EQ(Loaded().fontName, "Arial");
}

TEST_F(SettingsStore, UnterminatedTextIsReadWithoutWhatFollowsIt)
{
    WriteUnterminatedString(L"FONT_NAME", L"Courier");
    WriteUnterminatedString(L"FILE_NAME", L"C:\\a.txt");
    AppSettings s = Loaded();
    EXPECT_EQ(s.fontName, "Courier");
    EXPECT_EQ(s.fileName, "C:\\a.txt");

    // Wine completes a REG_SZ that has room for its zero; data of another type it leaves as is.
    const std::wstring face = L"Courier";
    WriteRaw(L"FONT_NAME", REG_BINARY, face.c_str(), static_cast<DWORD>(face.size() * 2));
    WriteRaw(L"FILE_NAME", REG_BINARY, L"C:\\b.txt", 8 * sizeof(wchar_t));
    s = Loaded();
    EXPECT_EQ(s.fontName, "Courier");
    EXPECT_EQ(s.fileName, "C:\\b.txt");
}

TEST_F(SettingsStore, OtherTypesAreTakenAsRawBytesWhenTheyFit)
{
    const BYTE binary[] = {0x30, 0x20, 0x10, 0x00};
    WriteRaw(L"BACKGROUND", REG_BINARY, binary, sizeof binary);
    // The value read just before is all ones: the short one must not inherit its upper bytes.
    WriteRawDword(L"FILE_SEP_FORMAT", 0xFFFFFFFF);
    const BYTE two[] = {0x3C, 0x00};
    WriteRaw(L"FILE_INTERVAL", REG_BINARY, two, sizeof two);
    const unsigned long long eight = 1;
    WriteRaw(L"PORT_NR", REG_QWORD, &eight, sizeof eight);

    const AppSettings s = Loaded();
    EXPECT_EQ(s.background, 0x00102030u);
    EXPECT_EQ(s.fileSepFormat, -1);
    EXPECT_EQ(s.fileInterval, 60);
    EXPECT_EQ(s.portNr, 0); // eight bytes do not fit: the default stays
}

TEST_F(SettingsStore, AFailedReadKeepsTheDefaultOfThatValueOnly)
{
    const AppSettings changed = Changed();
    Save(changed);
    const unsigned long long eight = 5;
    WriteRaw(L"FONT_WEIGHT", REG_QWORD, &eight, sizeof eight);
    WriteRaw(L"FILE_LOG_CANAL1", REG_BINARY, "12345", 5);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, SETTINGS_KEY_PATH, 0, KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    RegDeleteValueW(key, L"FONT_ITALIC");
    RegCloseKey(key);

    AppSettings expected = changed;
    const AppSettings defaults;
    expected.fontWeight = defaults.fontWeight;
    expected.fileLogCanal1 = defaults.fileLogCanal1;
    expected.fontItalic = defaults.fontItalic;
    EXPECT_EQ(Loaded(), expected);
}

TEST_F(SettingsStore, KeyDeletedWhileRunningIsNotRecreatedAtExit)
{
    CRegistryStore store;
    AppSettings s;
    ASSERT_TRUE(LoadSettings(store, s));
    DeleteSettingsKey();
    EXPECT_FALSE(SaveSettings(store, Changed()));
    EXPECT_FALSE(SettingsKeyExists());
    EXPECT_FALSE(store.IsOpen());
    // The next run starts from the defaults and creates the key again.
    EXPECT_EQ(Loaded(), AppSettings());
    EXPECT_TRUE(SettingsKeyExists());
}

TEST_F(SettingsStore, SavingClosesAKeyLeftOpenBefore)
{
    CRegistryStore store;
    ASSERT_TRUE(store.Create(HKEY_CURRENT_USER, SETTINGS_KEY_PATH));
    EXPECT_TRUE(SaveSettings(store, Changed()));
    EXPECT_FALSE(store.IsOpen());
    EXPECT_EQ(Loaded(), Changed());
}

} // namespace
