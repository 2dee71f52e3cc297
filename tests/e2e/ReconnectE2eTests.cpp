// A meter logged every second whose adapter is pulled out for about 10 s and plugged in again under
// the same name: the readings come back by themselves, and the log has a record for every second.

#include "res/resource.h"
#include "tests/e2e/E2eConfig.h"
#include "tests/e2e/Meter.h"
#include "tests/e2e/ProgramUnderTest.h"
#include "tests/e2e/SettingsKey.h"
#include "tests/e2e/VirtualPair.h"
#include "toolkit/TextConv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace
{

const std::vector<std::wstring> METER{L"--model", L"700",    L"--device", L"123",     L"--unit",
                                      L"wm2",     L"--fast", L"--fixed",  L"--level", L"456.7"};
constexpr wchar_t READING[] = L"QM-700 numer 123. Pomiar prawidłowy. Rejestracja do pliku co "
                              L"00:00:01.";

// The log's records as one letter a second: 'v' the meter's value, '?' none, and a gap of more
// than a second as many '!' as seconds are missing. Empty when a line is not a record of them.
std::string RecordsBySecond(const std::wstring& path)
{
    std::ifstream file(WideToUtf8(path), std::ios::binary); // a path of ASCII characters
    std::string line, seen;
    int previous = -1;
    while (std::getline(file, line))
    {
        if (line.rfind("Data i Godzina", 0) == 0)
            continue; // "Natężenie" in code page 1250 follows; the header is checked elsewhere
        int h = 0, m = 0, s = 0;
        char value[16] = {};
        if (std::sscanf(line.c_str(), "%*d.%*d.%*d %d:%d:%d;%15[^\r]", &h, &m, &s, value) != 4)
            return "bad line: " + line;
        const int second = h * 3600 + m * 60 + s;
        if (previous >= 0 && second > previous + 1)
            seen.append(static_cast<std::size_t>(second - previous - 1), '!');
        previous = second;
        seen += std::string(value) == "456.7" ? 'v' : std::string(value) == "???" ? '?' : 'x';
    }
    return seen;
}

TEST(ReconnectE2e, APulledAdapterComesBackByItselfAndNoSecondOfTheLogIsMissing)
{
    if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version"))
        GTEST_SKIP() << "the virtual serial pair is made under Wine only";
    const std::wstring log = WindowsPath(QM_E2E_RECONNECT_LOG);
    DeleteFileW(log.c_str());
    settings_key::Delete();
    ASSERT_TRUE(Pair("start"));
    const std::pair<const wchar_t*, DWORD> dwords[] = {{L"PORT_NR", LOST_PROGRAM_PORT},
                                                       {L"SHOW_ADV", 0},
                                                       {L"FILE_LOG", 1},
                                                       {L"FILE_LOG_CANAL2", 0},
                                                       {L"FILE_SEP_FORMAT", 3}};
    for (const auto& [name, value] : dwords)
        ASSERT_TRUE(settings_key::WriteDword(name, value));
    ASSERT_TRUE(settings_key::WriteText(L"FILE_NAME", log));

    ProgramUnderTest program(ProgramPath());
    ASSERT_TRUE(program.WaitForMainWindow(START_TIMEOUT_MS)) << program.Failure();
    Meter meter(SimulatorPath(), LOST_METER_PORT);
    ASSERT_TRUE(meter.Play(METER)) << meter.Failure();
    EXPECT_TRUE(StatusBecomes(program, READING));

    ASSERT_TRUE(Pair("stop"));
    meter.Unplug();
    const ULONGLONG pulled = GetTickCount64();
    EXPECT_TRUE(StatusBecomes(program,
                              L"Brak łączności z przyrządem. Ponawiam połączenie z portem COM14. "
                              L"Rejestracja do pliku co 00:00:01.",
                              12000));
    WaitUntil([&] { return GetTickCount64() - pulled >= 10000; }, 11000);
    ASSERT_TRUE(Pair("start"));
    ASSERT_TRUE(meter.Play(METER)) << meter.Failure();
    EXPECT_TRUE(StatusBecomes(program, READING, 8000)) << "no reading after the port came back";
    // A few records after the meter's return.
    WaitUntil(
        [&]
        {
            const std::string seen = RecordsBySecond(log);
            const std::size_t back = seen.find("?v");
            return back != std::string::npos && seen.size() >= back + 4;
        },
        8000);
    program.Command(ID_APP_EXIT);
    EXPECT_TRUE(EndsNormally(program));

    // Values, then "???" while the meter was away, then values again, with every second there (a
    // 1 s timer and the clock's second may pass each other once: one second twice, or none).
    const std::string seen = RecordsBySecond(log);
    const std::size_t lost = seen.find('?'), back = seen.find('v', lost);
    EXPECT_TRUE(lost != std::string::npos && back != std::string::npos && seen[0] == 'v' &&
                seen.find('x') == std::string::npos && seen.find('v', back) == back &&
                seen.find('?', back) == std::string::npos)
        << seen;
    EXPECT_LE(std::count(seen.begin(), seen.end(), '!'), 1) << seen;
    Pair("stop");
    settings_key::Delete();
}

} // namespace
