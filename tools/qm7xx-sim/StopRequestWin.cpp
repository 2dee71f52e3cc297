#include "tools/qm7xx-sim/StopRequest.h"

#include <windows.h>

#include <atomic>

namespace
{

std::atomic<bool> stopRequested{false};

// Windows ends the process as soon as the handler of these returns: it holds on, so that the main
// loop can finish its work and end the process itself (Windows allows about 5 seconds).
constexpr DWORD CLOSE_HOLD_MS = 10000;

BOOL WINAPI OnConsoleControl(DWORD event)
{
    // Ctrl+C, Ctrl+Break, closing the console, logoff, shutdown: the main loop ends soon after.
    stopRequested = true;
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        Sleep(CLOSE_HOLD_MS);
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
