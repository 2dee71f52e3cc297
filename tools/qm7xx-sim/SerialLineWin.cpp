#include "tools/qm7xx-sim/SerialLine.h"

#include "toolkit/Handles.h"
#include "tools/qm7xx-sim/MeterComWin.h"

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
    DWORD code = 0;
    UniqueHandle handle = OpenMeterCom(port, GENERIC_READ | GENERIC_WRITE, code);
    if (!handle)
    {
        error = ErrorText(code);
        return nullptr;
    }
    // Writes block until the driver has taken the bytes.
    COMMTIMEOUTS timeouts = {};
    SetCommTimeouts(handle.Get(), &timeouts);
    return std::make_unique<WinSerialLine>(std::move(handle));
}
