#include "tests/e2e/VirtualPair.h"

#include "tests/e2e/E2eConfig.h"
#include "toolkit/TextConv.h"

namespace
{

const std::string LOST_PAIR_DIR = QM_E2E_LOST_PAIR_DIR;

bool PairRuns()
{
    return GetFileAttributesW(WindowsPath(LOST_PAIR_DIR + "/socat.pid").c_str()) !=
           INVALID_FILE_ATTRIBUTES;
}

} // namespace

// Wine starts a Linux program named by a Windows path as a process of its own, without a handle
// to it: the pid file tells when it is done.
bool Pair(const char* action)
{
    const std::string args = " " + std::string(action) + " " + LOST_PAIR_DIR + " " + QM_E2E_PREFIX +
                             " com" + std::to_string(LOST_PROGRAM_PORT) + " com" +
                             std::to_string(LOST_METER_PORT);
    std::string failure;
    StartProcess(std::wstring(), WindowsPath(QM_E2E_SERIAL_PAIR) + Utf8ToWide(args), failure);
    const std::wstring programEnd = L"\\\\.\\COM" + std::to_wstring(LOST_PROGRAM_PORT);
    const auto done = [&]
    {
        if (std::string(action) != "start")
            return !PairRuns();
        const UniqueHandle port(
            CreateFileW(programEnd.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        return PairRuns() && port.Valid();
    };
    return failure.empty() && WaitUntil(done, 10000);
}
