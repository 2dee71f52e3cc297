#pragma once

// Which errors of the calls on an open serial port mean that the device behind the handle has
// gone: a USB adapter pulled out, or a PC that slept and gave the adapter a new handle on waking.
// No call on that handle will work again; only opening the port anew can bring the meter back.
// Every other error is transient (a cancelled or timed-out request, a line error) and the port
// goes on being used.

// Windows error codes, by number so that the rule builds without the Windows headers.
constexpr unsigned long PORT_DEAD_ERRORS[] = {
    2,    // ERROR_FILE_NOT_FOUND
    5,    // ERROR_ACCESS_DENIED
    6,    // ERROR_INVALID_HANDLE
    21,   // ERROR_NOT_READY: under Wine, the terminal behind the port has hung up
    22,   // ERROR_BAD_COMMAND
    31,   // ERROR_GEN_FAILURE
    109,  // ERROR_BROKEN_PIPE: under Wine, a read from such a terminal
    433,  // ERROR_NO_SUCH_DEVICE
    1167, // ERROR_DEVICE_NOT_CONNECTED
    1617, // ERROR_DEVICE_REMOVED
};

constexpr bool IsPortDeadError(unsigned long error)
{
    for (const unsigned long dead : PORT_DEAD_ERRORS)
    {
        if (error == dead)
            return true;
    }
    return false;
}
