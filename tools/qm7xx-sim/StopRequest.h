#pragma once

// Ctrl+C and termination requests (SIGINT, SIGTERM, SIGHUP; Ctrl+C, Ctrl+Break, closing the
// console): the main loop sees the request, finishes what it is writing and ends.

void InstallStopHandler();
bool StopRequested();
