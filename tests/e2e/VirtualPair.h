#pragma once

// A virtual serial pair of a test's own (COM14 for the program, COM15 for the meter), made and
// taken away as a USB adapter is plugged in and pulled out, so that doing it disturbs no other
// test.

#include <string>

constexpr int LOST_PROGRAM_PORT = 14;
constexpr int LOST_METER_PORT = 15;

// Runs scripts/serial-pair start|stop on the pair and waits until it is made (and the program's
// end opens) or gone.
bool Pair(const char* action);
