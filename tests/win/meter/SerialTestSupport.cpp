#include "SerialTestSupport.h"

#include "meter/SerialPort.h"
#include "tests/win/support/MessagePump.h"

#include <tlhelp32.h>

namespace
{

const wchar_t SINK_CLASS[] = L"QM7xxTestByteSink";

} // namespace

ByteSink::ByteSink()
{
    static const ATOM registered = []
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &ByteSink::WindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = SINK_CLASS;
        return RegisterClassW(&wc);
    }();
    (void)registered;
    window_ = CreateWindowExW(0, SINK_CLASS, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), this);
}

ByteSink::~ByteSink()
{
    if (window_ != nullptr)
        DestroyWindow(window_);
}

LRESULT CALLBACK ByteSink::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
    {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* sink = reinterpret_cast<ByteSink*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == SerialPort::WM_METER_BYTE && sink != nullptr)
    {
        const auto byte = static_cast<unsigned char>(wParam);
        sink->bytes_.push_back(byte);
        if (sink->onByte)
            sink->onByte(byte);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool ByteSink::PumpUntil(std::size_t count, DWORD timeoutMs)
{
    return ::PumpUntil([&] { return bytes_.size() >= count; }, timeoutMs);
}

void ByteSink::PumpFor(DWORD ms)
{
    ::PumpFor(ms);
}

PortWriter::PortWriter(int portNumber)
    : port_(CreateFileW(ComDeviceName(portNumber).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                        OPEN_EXISTING, 0, nullptr))
{
}

bool PortWriter::Write(const std::vector<unsigned char>& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size())
    {
        DWORD written = 0;
        if (!WriteFile(port_.Get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                       &written, nullptr))
            return false;
        done += written;
    }
    return true;
}

bool SyncWithWorker(ByteSink& sink, PortWriter& writer)
{
    constexpr unsigned char SYNC = 0xA5;
    constexpr unsigned char MARKER = 0xC3;
    sink.Clear();
    bool listening = false;
    for (int attempt = 0; attempt < 1000 && !listening; ++attempt)
    {
        if (!writer.Write({SYNC}))
            return false;
        listening = sink.PumpUntil(1, 10);
    }
    if (!listening || !writer.Write({MARKER}))
        return false;
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while (sink.Bytes().empty() || sink.Bytes().back() != MARKER)
    {
        if (GetTickCount64() >= deadline)
            return false;
        sink.PumpUntil(sink.Bytes().size() + 1, 100);
    }
    sink.Clear();
    return true;
}

std::wstring ComDeviceName(int portNumber)
{
    return L"\\\\.\\COM" + std::to_wstring(portNumber);
}

bool RunningUnderWine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

int ThreadCountOfThisProcess()
{
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snapshot)
        return -1;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    int count = 0;
    const DWORD self = GetCurrentProcessId();
    for (BOOL more = Thread32First(snapshot.Get(), &entry); more;
         more = Thread32Next(snapshot.Get(), &entry))
    {
        if (entry.th32OwnerProcessID == self)
            ++count;
    }
    return count;
}

DWORD HandleCountOfThisProcess()
{
    DWORD count = 0;
    GetProcessHandleCount(GetCurrentProcess(), &count);
    return count;
}
