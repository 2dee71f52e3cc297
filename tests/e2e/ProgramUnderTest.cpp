#include "tests/e2e/ProgramUnderTest.h"

#include "res/resource.h"
#include "tests/e2e/E2eConfig.h"
#include "toolkit/TextConv.h"

namespace
{

constexpr UINT CROSS_PROCESS_TIMEOUT_MS = 2000;
constexpr wchar_t DIALOG_CLASS[] = L"#32770";
constexpr wchar_t MAIN_CAPTION[] = L"QM7xx";

std::wstring CaptionOf(HWND window)
{
    // The caption the system keeps: asks nothing of the window, whose thread may be busy (the
    // start-up picture is shown while the program sleeps).
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

} // namespace

std::wstring WindowText(HWND window)
{
    // WM_GETTEXT reaches the control itself: an edit control keeps its text to itself.
    wchar_t text[512] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, CROSS_PROCESS_TIMEOUT_MS, &copied))
        return L"<no answer>";
    return std::wstring(text, copied);
}

ProgramUnderTest::ProgramUnderTest(const std::wstring& exePath)
{
    std::wstring commandLine = L"\"" + exePath + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info))
    {
        failure_ = "cannot start " + WideToUtf8(exePath) + " (error " +
                   std::to_string(GetLastError()) + ")";
        return;
    }
    process_.Reset(info.hProcess);
    thread_.Reset(info.hThread);
    processId_ = info.dwProcessId;
}

ProgramUnderTest::~ProgramUnderTest()
{
    if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT)
    {
        TerminateProcess(process_.Get(), 1);
        WaitForSingleObject(process_.Get(), 10000);
    }
}

std::vector<HWND> ProgramUnderTest::TopLevelWindows() const
{
    struct Search
    {
        DWORD processId;
        std::vector<HWND> found;
    } search{processId_, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL
        {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->processId && IsWindowVisible(window))
                s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool ProgramUnderTest::WaitForMainWindow(DWORD timeoutMs)
{
    if (!Started())
        return false;
    const bool found = WaitUntil(
        [this]
        {
            for (HWND window : TopLevelWindows())
            {
                if (ClassOf(window) == DIALOG_CLASS && CaptionOf(window) == MAIN_CAPTION)
                {
                    main_ = window;
                    return true;
                }
            }
            return WaitForSingleObject(process_.Get(), 0) != WAIT_TIMEOUT;
        },
        timeoutMs);
    if (main_)
        return true;
    DWORD code = 0;
    if (found && GetExitCodeProcess(process_.Get(), &code))
        failure_ = "the program ended with code " + std::to_string(code) + " before its window";
    else
        failure_ = "no main window within " + std::to_string(timeoutMs) + " ms";
    return false;
}

std::wstring ProgramUnderTest::StatusText() const
{
    return WindowText(GetDlgItem(main_, IDC_STATUS));
}

bool ProgramUnderTest::IsShown(int controlId) const
{
    return IsWindowVisible(GetDlgItem(main_, controlId)) != FALSE;
}

bool ProgramUnderTest::IsTopmost() const
{
    return (GetWindowLongW(main_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

RECT ProgramUnderTest::WindowRect() const
{
    RECT rect{};
    GetWindowRect(main_, &rect);
    return rect;
}

RECT ProgramUnderTest::ControlRect(int controlId) const
{
    RECT rect{};
    GetWindowRect(GetDlgItem(main_, controlId), &rect);
    const RECT window = WindowRect();
    OffsetRect(&rect, -window.left, -window.top);
    return rect;
}

void ProgramUnderTest::Command(UINT commandId) const
{
    PostMessageW(main_, WM_COMMAND, MAKEWPARAM(commandId, 0), 0);
}

void ProgramUnderTest::CloseBox() const
{
    PostMessageW(main_, WM_SYSCOMMAND, SC_CLOSE, 0);
}

HWND ProgramUnderTest::FindDialog(const std::wstring& caption) const
{
    for (HWND window : TopLevelWindows())
    {
        if (window != main_ && ClassOf(window) == DIALOG_CLASS && CaptionOf(window) == caption)
            return window;
    }
    return nullptr;
}

std::optional<DWORD> ProgramUnderTest::WaitForExit(DWORD timeoutMs)
{
    if (!process_ || WaitForSingleObject(process_.Get(), timeoutMs) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_.Get(), &code);
    return code;
}

::testing::AssertionResult StatusBecomes(const ProgramUnderTest& program,
                                         const std::wstring& expected, DWORD timeoutMs)
{
    std::wstring seen;
    if (WaitUntil([&] { return (seen = program.StatusText()) == expected; }, timeoutMs))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "the status line still reads \"" << WideToUtf8(seen) << "\" after " << timeoutMs
           << " ms; expected \"" << WideToUtf8(expected) << "\"";
}

::testing::AssertionResult EndsNormally(ProgramUnderTest& program)
{
    const std::optional<DWORD> code = program.WaitForExit(EXIT_TIMEOUT_MS);
    if (!code)
        return ::testing::AssertionFailure()
               << "the program is still running " << EXIT_TIMEOUT_MS << " ms after being closed";
    if (*code != 0)
        return ::testing::AssertionFailure() << "the program ended with code " << *code;
    return ::testing::AssertionSuccess();
}

void Press(HWND dialog, int buttonId)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), 0);
}
