#include "tools/qm7xx-sim/MeterComWin.h"

#include "meter/MeterLine.h"

#include <cwchar>

UniqueHandle OpenMeterCom(const std::string& port, DWORD access, DWORD& error)
{
    std::wstring name(port.begin(), port.end()); // port names are ASCII
    if (name.rfind(L"\\\\.\\", 0) != 0)
        name = L"\\\\.\\" + name;
    UniqueHandle handle(CreateFileW(name.c_str(), access, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!handle)
    {
        error = GetLastError();
        return handle;
    }
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
    return handle;
}
