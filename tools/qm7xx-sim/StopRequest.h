#pragma once

// Ctrl+C and termination requests: the simulator finishes the byte it is writing and stops.

void InstallStopHandler();
bool StopRequested();
