#pragma once

// The logger's only input: the serial port the meter sends on, opened for reading at the meter's
// line settings (meter/MeterLine.h). Nothing is ever sent.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class SerialInput
{
public:
    virtual ~SerialInput() = default;
    // Waits up to `timeoutMs` for bytes and returns what came (0: none). `dead` is set when the
    // device behind the port has gone (a USB adapter pulled out, the terminal hung up): no read
    // on it will work again, only opening the port anew.
    virtual std::size_t Read(std::uint8_t* buffer, std::size_t size, int timeoutMs, bool& dead) = 0;
};

// Opens the port, raw, at 300 baud, 7 data bits, no parity, 1 stop bit where the device allows
// (a pseudo-terminal takes what it can). Null with a reason in `error` when it cannot be opened.
std::unique_ptr<SerialInput> OpenSerialInput(const std::string& port, std::string& error);
