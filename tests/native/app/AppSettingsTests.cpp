// The settings record through the table: every value a run saves, the next loads into its own
// field. (What odd stored data loads as is tested against the registry itself.)

#include "app/AppSettings.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>

namespace
{

// A registry key as two maps; a name in neither is absent.
struct FakeKey : SettingsReader, SettingsWriter
{
    std::map<std::wstring, std::uint32_t> words;
    std::map<std::wstring, std::string> texts;

    std::optional<std::uint32_t> ReadDword(const wchar_t* name) override
    {
        const auto it = words.find(name);
        return it == words.end() ? std::nullopt : std::optional<std::uint32_t>(it->second);
    }
    std::optional<std::string> ReadText(const wchar_t* name, unsigned) override
    {
        const auto it = texts.find(name);
        return it == texts.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    bool WriteDword(const wchar_t* name, std::uint32_t value) override
    {
        words[name] = value;
        return true;
    }
    bool WriteText(const wchar_t* name, const std::string& text, unsigned) override
    {
        texts[name] = text;
        return true;
    }
};

// Every field of the record.
auto Fields(const AppSettings& a)
{
    const FontChoice& f = a.look.font;
    const RecordingSettings& r = a.recording;
    return std::tie(a.look.textColour, a.look.backgroundColour, f.height, f.faceName, f.italic,
                    f.weight, a.units.conversionMode, a.units.showUnitLabel, a.units.k, a.unitCode,
                    a.portNr, r.fileName, r.fileLog, r.fileLogCanal1, r.fileLogCanal2,
                    r.fileSepFormat, r.fileInterval, a.topmost, a.showAdv);
}

TEST(AppSettings, EveryValueSavedIsLoadedBackByTheNextRun)
{
    AppSettings saved;
    saved.look = {0x123456, 0x654321, {-13, "Courier New", 1, 700}};
    saved.units = {CONV_TO_KLX, false, 2.345};
    saved.unitCode = UNIT_WM2_FINE;
    saved.portNr = 12;
    saved.recording = {"C:\\pomiary\\światło.csv", true, false, true, 3, 3600};
    saved.topmost = true;
    saved.showAdv = false;
    FakeKey key;
    EXPECT_TRUE(SaveSettings(key, saved));
    EXPECT_EQ(key.words.size() + key.texts.size(), SETTINGS_TABLE.size());
    AppSettings loaded;
    LoadSettings(key, loaded);
    EXPECT_TRUE(Fields(loaded) == Fields(saved));
}

} // namespace
