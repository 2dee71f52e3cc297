#pragma once

// A serial device opened for the meter's line (300 baud, 7 data bits, no parity, 1 stop bit, raw,
// no flow control), for the simulator's writing end and the logger's reading end alike.

#include <string>

// `flags` are open(2)'s access and mode flags (O_NOCTTY and O_CLOEXEC are added). The descriptor,
// or -1 with the reason in `error` when the device cannot be opened or is no terminal. A device
// that refuses the line settings keeps its own (a pseudo-terminal does not mind them).
int OpenMeterTty(const std::string& path, int flags, std::string& error);
