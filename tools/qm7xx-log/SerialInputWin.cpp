#include "tools/qm7xx-log/SerialInput.h"

#include "meter/MeterLine.h"
#include "meter/PortErrors.h"
#include "toolkit/Handles.h"

#include <windows.h>

#include <cwchar>

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

std::wstring DeviceName(const std::string& port)
{
    std::wstring name(port.begin(), port.end()); // port names are ASCII
    if (name.rfind(L"\\\\.\\", 0) != 0)
        name = L"\\\\.\\" + name;
    return name;
}

} // namespace

std::unique_ptr<SerialInput> OpenSerialInput(const std::string& port, std::string& error)
{
    UniqueHandle handle(
        CreateFileW(DeviceName(port).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!handle)
    {
        error = "Windows error " + std::to_string(GetLastError());
        return nullptr;
    }
    // A driver that refuses the line settings (Wine on a pseudo-terminal refuses some) keeps its
    // own; the bytes flow either way.
    DCB line = {};
    line.DCBlength = sizeof line;
    if (GetCommState(handle.Get(), &line))
    {
        line.fOutxCtsFlow = 0;
        line.fOutxDsrFlow = 0;
        line.fOutX = 0;
        line.fInX = 0;
        wchar_t settings[64];
        std::swprintf(settings, 64, L"baud=%d parity=%lc data=%d stop=%d", METER_BAUD,
                      static_cast<wint_t>(METER_PARITY), METER_DATA_BITS, METER_STOP_BITS);
        if (BuildCommDCBW(settings, &line))
            SetCommState(handle.Get(), &line);
    }
    return std::make_unique<WinSerialInput>(std::move(handle));
}
