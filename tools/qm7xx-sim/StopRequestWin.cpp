#include "tools/qm7xx-sim/StopRequest.h"

#include <windows.h>

#include <atomic>

namespace
{

std::atomic<bool> stopRequested{false};

BOOL WINAPI OnConsoleControl(DWORD)
{
    // Ctrl+C, Ctrl+Break, closing the console, logoff, shutdown: the main loop ends soon after.
    stopRequested = true;
    return TRUE;
}

} // namespace

void InstallStopHandler()
{
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

bool StopRequested()
{
    return stopRequested;
}
