#pragma once

// A COM port opened for the meter's line (300 baud, 7 data bits, no parity, 1 stop bit, no flow
// control), for the simulator's writing end and the logger's reading end alike.

#include "toolkit/Handles.h"

#include <windows.h>

#include <string>

// `port` is "COMn" (or already "\\.\COMn"); `access` is CreateFile's. None, with the system's error
// code in `error`, when the port cannot be opened. A driver that refuses the line settings (Wine
// on a pseudo-terminal refuses some) keeps its own; the bytes flow either way.
UniqueHandle OpenMeterCom(const std::string& port, DWORD access, DWORD& error);
