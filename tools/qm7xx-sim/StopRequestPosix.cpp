#include "tools/qm7xx-sim/StopRequest.h"

#include <csignal>

namespace
{

volatile std::sig_atomic_t stopRequested = 0;

extern "C" void OnStopSignal(int)
{
    stopRequested = 1;
}

} // namespace

void InstallStopHandler()
{
    struct sigaction action = {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

bool StopRequested()
{
    return stopRequested != 0;
}
