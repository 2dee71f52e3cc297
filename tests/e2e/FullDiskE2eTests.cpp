// A meter logged every second onto a small disk that fills up for about 10 s and is then freed:
// the user is told once, and afterwards every second is in the file, in order, in whole lines.

#include "res/resource.h"
#include "tests/e2e/E2eConfig.h"
#include "tests/e2e/LogSeconds.h"
#include "tests/e2e/Meter.h"
#include "tests/e2e/ProgramUnderTest.h"
#include "tests/e2e/SettingsKey.h"
#include "toolkit/TextConv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace
{

const std::string DISK = QM_E2E_SMALL_DISK;

// A small disk is given out in pages of 4 KiB, and a file's last page takes records until it is
// full even on a full disk. A log begun with a long first line fills its page after a dozen
// records; the disk is filled when the next record no longer fits.
constexpr long PAGE = 4096;
constexpr long EARLIER_LOG = 3700;
constexpr long RECORD = 27; // "2026.12.07 10:15:00;456.7" and CR LF

long FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)
               ? static_cast<long>(data.nFileSizeLow)
               : -1;
}

// Takes the disk's free space with a file of its own; true when the disk is full.
bool FillDisk(const std::wstring& filler)
{
    const UniqueHandle file(CreateFileW(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    const std::vector<char> block(1024, 'f');
    DWORD written = 0;
    while (file.Valid() && WriteFile(file.Get(), block.data(), 1024, &written, nullptr) &&
           written == 1024)
        ;
    return file.Valid() && GetLastError() == ERROR_DISK_FULL;
}

TEST(FullDiskE2e, ADiskThatFillsUpIsToldOnceAndEverySecondIsWrittenOnceItIsFreed)
{
    if (GetFileAttributesW(WindowsPath(DISK + "/mounted").c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no small disk: mounting a tmpfs on " << DISK << " was refused (not root?)";
    const std::wstring log = WindowsPath(DISK + "/log.csv");
    const std::wstring filler = WindowsPath(DISK + "/filler");
    ASSERT_TRUE(settings_key::StartLogging(PROGRAM_PORT, log, false));
    {
        const UniqueHandle earlier(CreateFileW(log.c_str(), GENERIC_WRITE, 0, nullptr,
                                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        const std::string line = "Data i Godzina;" + std::string(EARLIER_LOG - 17, '-') + "\r\n";
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(earlier.Get(), line.data(), EARLIER_LOG, &written, nullptr));
    }
    // The meter first, so that every record has its value.
    Meter meter(SimulatorPath(), METER_PORT);
    ASSERT_TRUE(meter.Play(QM700_WM2)) << meter.Failure();
    ProgramUnderTest program(ProgramPath());
    ASSERT_TRUE(program.WaitForMainWindow(START_TIMEOUT_MS)) << program.Failure();
    ASSERT_TRUE(StatusBecomes(program, L"QM-700 numer 123. Pomiar prawidłowy. Rejestracja do "
                                       L"pliku co 00:00:01."));
    ASSERT_TRUE(WaitUntil([&] { return PAGE - FileSize(log) % PAGE < RECORD; }, 30000, 10))
        << "the log's page never filled: " << FileSize(log) << " bytes";

    ASSERT_TRUE(FillDisk(filler));
    const ULONGLONG full = GetTickCount64();
    int mostBoxes = 0;
    const auto waiting = [&]
    {
        mostBoxes = std::max(mostBoxes, static_cast<int>(program.Dialogs(L"QM7xx").size()));
        return program.StatusText().find(L"Zapis do pliku wstrzymany") != std::wstring::npos;
    };
    EXPECT_TRUE(WaitUntil(waiting, 5000)) << "no backlog shown";
    WaitUntil([&] { return waiting() && GetTickCount64() - full >= 10000; }, 12000);
    EXPECT_EQ(mostBoxes, 1) << "one message for the whole spell";
    if (HWND box = program.FindDialog(L"QM7xx"))
        Press(box, IDOK);

    DeleteFileW(filler.c_str());
    EXPECT_TRUE(WaitUntil([&] { return !waiting(); }, 8000)) << "the backlog was never written";
    WaitUntil([&] { return false; }, 2000); // a few records more
    program.Command(ID_APP_EXIT);
    EXPECT_TRUE(EndsNormally(program));
    EXPECT_LE(mostBoxes, 1);

    // Every second, in order, each a whole line with the meter's value (a 1 s timer and the
    // clock's second may pass each other once: one second twice, or none).
    const std::string seen = LogSeconds(WideToUtf8(log), "456.7");
    EXPECT_GE(seen.size(), 20u) << seen;
    EXPECT_EQ(seen.find_first_not_of("v!", seen.find_first_not_of('?')), std::string::npos) << seen;
    EXPECT_LE(std::count(seen.begin(), seen.end(), '!'), 1) << seen;
    settings_key::Delete();
}

} // namespace
