#include "tools/qm7xx-log/SerialInput.h"

#include "meter/PortErrors.h"
#include "toolkit/Handles.h"
#include "tools/qm7xx-sim/MeterComWin.h"

#include <windows.h>

namespace
{

class WinSerialInput : public SerialInput
{
public:
    explicit WinSerialInput(UniqueHandle port) : port_(std::move(port)) {}

    std::size_t Read(std::uint8_t* buffer, std::size_t size, int timeoutMs, bool& dead) override
    {
        dead = false;
        if (!SetWaitFor(timeoutMs))
        {
            dead = IsPortDeadError(GetLastError());
            return 0;
        }
        DWORD got = 0;
        if (ReadFile(port_.Get(), buffer, static_cast<DWORD>(size), &got, nullptr))
            return got;
        const DWORD error = GetLastError();
        dead = IsPortDeadError(error);
        if (!dead)
            Sleep(static_cast<DWORD>(timeoutMs)); // a line error: no busy loop until it clears
        return 0;
    }

private:
    // A read returns at once with the bytes waiting, or with the first to come within `ms`.
    bool SetWaitFor(int ms)
    {
        const DWORD wait = ms > 0 ? static_cast<DWORD>(ms) : 1;
        if (wait == waitMs_)
            return true;
        COMMTIMEOUTS timeouts = {};
        timeouts.ReadIntervalTimeout = MAXDWORD;
        timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
        timeouts.ReadTotalTimeoutConstant = wait;
        if (!SetCommTimeouts(port_.Get(), &timeouts))
            return false;
        waitMs_ = wait;
        return true;
    }

    UniqueHandle port_;
    DWORD waitMs_ = 0;
};

} // namespace

std::unique_ptr<SerialInput> OpenSerialInput(const std::string& port, std::string& error)
{
    DWORD code = 0;
    UniqueHandle handle = OpenMeterCom(port, GENERIC_READ, code);
    if (!handle)
    {
        error = "Windows error " + std::to_string(code);
        return nullptr;
    }
    return std::make_unique<WinSerialInput>(std::move(handle));
}
