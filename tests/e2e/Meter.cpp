#include "tests/e2e/Meter.h"

#include "tests/e2e/E2eConfig.h"
#include "toolkit/TextConv.h"

namespace
{

constexpr wchar_t FRAME_INTERVAL_MS[] = L"250";
// A simulator that refuses its options or its port ends within this time.
constexpr DWORD START_CHECK_MS = 300;

} // namespace

bool Meter::Play(const std::vector<std::wstring>& options)
{
    Unplug();
    std::wstring commandLine = L"\"" + exe_ + L"\" --port COM" + std::to_wstring(comPort_) +
                               L" --fast --fixed --interval " + FRAME_INTERVAL_MS;
    for (const std::wstring& option : options)
        commandLine += L" " + option;

    process_ = StartProcess(exe_, commandLine, failure_);
    if (!process_)
        return false;
    if (WaitForSingleObject(process_.Get(), START_CHECK_MS) == WAIT_OBJECT_0)
    {
        DWORD code = 0;
        GetExitCodeProcess(process_.Get(), &code);
        failure_ = "the simulator ended at once with code " + std::to_string(code) + ": " +
                   WideToUtf8(commandLine);
        process_.Reset();
        return false;
    }
    return true;
}

void Meter::Unplug()
{
    if (!process_)
        return;
    // Ended at once, as a pulled plug: a frame cut short is what the program must cope with.
    TerminateProcess(process_.Get(), 0);
    WaitForSingleObject(process_.Get(), 5000);
    process_.Reset();
}
