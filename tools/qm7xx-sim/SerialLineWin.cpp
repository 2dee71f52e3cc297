#include "tools/qm7xx-sim/SerialLine.h"

#include "toolkit/Handles.h"

#include <windows.h>

namespace
{

class WinSerialLine : public SerialLine
{
public:
    explicit WinSerialLine(UniqueHandle port) : port_(std::move(port)) {}

    bool Write(const std::uint8_t* bytes, std::size_t count) override
    {
        while (count > 0)
        {
            DWORD written = 0;
            if (!WriteFile(port_.Get(), bytes, static_cast<DWORD>(count), &written, nullptr))
                return false;
            bytes += written;
            count -= written;
        }
        return true;
    }

    void Drain() override { FlushFileBuffers(port_.Get()); }

private:
    UniqueHandle port_;
};

std::wstring DeviceName(const std::string& port)
{
    std::wstring name(port.begin(), port.end()); // port names are ASCII
    if (name.rfind(L"\\\\.\\", 0) != 0)
        name = L"\\\\.\\" + name;
    return name;
}

std::string ErrorText(DWORD code)
{
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result = length != 0 ? std::string(text, length) : "error " + std::to_string(code);
    LocalFree(text);
    while (!result.empty() &&
           (result.back() == '\n' || result.back() == '\r' || result.back() == '.'))
        result.pop_back();
    return result;
}

} // namespace

std::unique_ptr<SerialLine> OpenSerialLine(const std::string& port, std::string& error)
{
    UniqueHandle handle(CreateFileW(DeviceName(port).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                    nullptr, OPEN_EXISTING, 0, nullptr));
    if (!handle)
    {
        error = ErrorText(GetLastError());
        return nullptr;
    }
    // Writes block until the driver has taken the bytes. A driver that refuses the line settings
    // (Wine on a pseudo-terminal refuses some) keeps its own; the bytes flow either way.
    COMMTIMEOUTS timeouts = {};
    SetCommTimeouts(handle.Get(), &timeouts);
    DCB line = {};
    line.DCBlength = sizeof line;
    if (GetCommState(handle.Get(), &line))
    {
        line.fOutxCtsFlow = 0;
        line.fOutxDsrFlow = 0;
        line.fOutX = 0;
        line.fInX = 0;
        if (BuildCommDCBW(L"baud=300 parity=N data=7 stop=1", &line))
            SetCommState(handle.Get(), &line);
    }
    return std::make_unique<WinSerialLine>(std::move(handle));
}
