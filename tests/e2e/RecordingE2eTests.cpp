// A two-channel meter logged every second for about 20 s: the real program writes the log, this
// probe leaves it in the build tree with a note of what the meter sent, and
// check_recording_log.py reads it back as CSV.

#include "res/resource.h"
#include "tests/e2e/E2eConfig.h"
#include "tests/e2e/Meter.h"
#include "tests/e2e/ProgramUnderTest.h"
#include "tests/e2e/SettingsKey.h"
#include "toolkit/Handles.h"
#include "toolkit/TextConv.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

// Frames go out every second; after frame 6 the meter is silent for 9 s (the program gives up on
// it after 5), and from frame 10 on channel 1 reports W/m2 instead of kLx.
const std::vector<std::wstring> METER{L"--model",     L"701",     L"--device",       L"7",
                                      L"--fast",      L"--fixed", L"--range1",       L"klx",
                                      L"--level",     L"12.5",    L"--range2",       L"wm2-fine",
                                      L"--level2",    L"3.45",    L"--silence",      L"6:9",
                                      L"--change-at", L"10",      L"--range1-after", L"wm2"};
// What the log must show, for the reader: delimiter, the two headers, the values in each part.
constexpr char EXPECTED[] = R"({"delimiter": ";",
 "parts": [{"header": ["Data i Godzina", "Natężenie światła1[kLx]", "Natężenie światła2[W/m2]"],
            "values": ["12.5", "3.45"], "silent_rows": 2},
           {"header": ["Data i Godzina", "Natężenie światła1[W/m2]", "Natężenie światła2[W/m2]"],
            "values": ["12.5", "3.45"], "silent_rows": 0}]}
)";

bool WriteFileText(const std::wstring& path, const std::string& text)
{
    UniqueHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD n = 0;
    return file &&
           WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &n, nullptr) &&
           n == text.size();
}

TEST(RecordingE2e, TwoChannelMeterLoggedEverySecondWithSilenceAndAUnitChange)
{
    const std::wstring folder = WindowsPath(QM_E2E_RECORDING);
    const std::wstring log = folder + L"\\log.csv";
    CreateDirectoryW(folder.c_str(), nullptr);
    DeleteFileW(log.c_str());
    DeleteFileW((folder + L"\\expected.json").c_str());

    settings_key::Delete();
    const std::pair<const wchar_t*, DWORD> dwords[] = {
        {L"PORT_NR", PROGRAM_PORT}, {L"SHOW_ADV", 0},        {L"FILE_LOG", 1},
        {L"FILE_INTERVAL", 1},      {L"FILE_SEP_FORMAT", 3}, {L"FILE_LOG_CANAL1", 1},
        {L"FILE_LOG_CANAL2", 1}};
    for (const auto& [name, value] : dwords)
        ASSERT_TRUE(settings_key::WriteDword(name, value));
    ASSERT_TRUE(settings_key::WriteText(L"FILE_NAME", log));

    ProgramUnderTest program(ProgramPath());
    ASSERT_TRUE(program.WaitForMainWindow(20000)) << program.Failure();
    Meter meter(SimulatorPath(), METER_PORT);
    ASSERT_TRUE(meter.Play(METER)) << meter.Failure();
    const auto status = [&] { return WideToUtf8(program.StatusText()); };
    const std::string recording = " Rejestracja do pliku co 00:00:01.";
    EXPECT_TRUE(
        WaitUntil([&] { return status().find("Pomiar prawidłowy") != std::string::npos; }, 8000))
        << status();
    EXPECT_NE(status().find(recording), std::string::npos) << status();
    EXPECT_TRUE(WaitUntil([&] { return status().rfind("Brak", 0) == 0; }, 15000)) << status();
    EXPECT_TRUE(WaitUntil([&] { return status().rfind("QM-701", 0) == 0; }, 8000)) << status();
    Sleep(8000); // past the unit change, which comes four frames after the silence
    program.Command(ID_APP_EXIT);
    EXPECT_TRUE(program.WaitForExit(10000).has_value());
    meter.Unplug();
    settings_key::Delete();
    EXPECT_TRUE(WriteFileText(folder + L"\\expected.json", EXPECTED));
}

} // namespace
