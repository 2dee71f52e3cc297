#pragma once

// The meter's serial line: it sends at 300 baud, 7 data bits, no parity, 1 stop bit, and is
// never sent anything.

constexpr int METER_BAUD = 300;
constexpr char METER_PARITY = 'N';
constexpr int METER_DATA_BITS = 7;
constexpr int METER_STOP_BITS = 1;
