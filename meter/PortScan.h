#pragma once

// Finding the COM ports the system knows of, without opening any: the device database of the
// "Ports" class through setupapi.dll (loaded at run time), and the default configuration the
// system keeps for each port name.

#include "meter/PortList.h"

#include <string>

// Marks the ports the device database lists as present, with their descriptions. False when the
// device list could not be walked (no setupapi.dll, a function missing, no "Ports" class, no
// list); the table is then as it was.
bool EnumeratePorts(PortTable& table);

// Marks COM1..COM256 present when the system has a default configuration for the name. Only
// entries still empty are asked about, unless `force` is set.
void ProbePorts(PortTable& table, bool force);

// The whole scan: the device database, then the probe (forced when the database failed), then
// the list text. False when the text cannot be allocated.
bool BuildPortList(std::string& text, int& presentCount);
