#pragma once

// The simulator's only output: the serial device it plays the meter on.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class SerialLine
{
public:
    virtual ~SerialLine() = default;
    // Blocks until every byte is handed to the driver. False on a write error.
    virtual bool Write(const std::uint8_t* bytes, std::size_t count) = 0;
    // Waits until the driver has sent what it holds.
    virtual void Drain() = 0;
};

// Opens the port and sets 300 baud, 7 data bits, no parity, 1 stop bit where the device allows
// (a pseudo-terminal does not mind the settings). Null with a reason in `error` when the port
// cannot be opened.
std::unique_ptr<SerialLine> OpenSerialLine(const std::string& port, std::string& error);
