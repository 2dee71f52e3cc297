#include "tests/e2e/ProgramUnderTest.h"

#include "tests/e2e/E2eConfig.h"
#include "toolkit/TextConv.h"

namespace
{

constexpr UINT CROSS_PROCESS_TIMEOUT_MS = 2000;

// A top-level dialog with this caption (the caption the system keeps: asking the window could
// block while its thread is busy, as it is behind the start-up picture).
bool IsDialog(HWND window, const std::wstring& caption)
{
    wchar_t text[256] = {}, className[16] = {};
    GetWindowTextW(window, text, 256);
    GetClassNameW(window, className, 16);
    return std::wstring(className) == L"#32770" && text == caption;
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
    : process_(StartProcess(exePath, L"\"" + exePath + L"\"", failure_, &processId_))
{
}

ProgramUnderTest::~ProgramUnderTest()
{
    if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT)
    {
        TerminateProcess(process_.Get(), 1);
        WaitForSingleObject(process_.Get(), 10000);
    }
}

bool ProgramUnderTest::WaitForMainWindow(DWORD timeoutMs)
{
    const auto found = [this]
    {
        main_ = FindDialog(L"QM7xx");
        return main_ || WaitForSingleObject(process_.Get(), 0) != WAIT_TIMEOUT;
    };
    if (process_ && WaitUntil(found, timeoutMs) && main_)
        return true;
    if (failure_.empty())
        failure_ = "no main window within " + std::to_string(timeoutMs) + " ms";
    return false;
}

RECT ProgramUnderTest::ControlRect(int controlId) const
{
    RECT rect = Rect(GetDlgItem(main_, controlId));
    OffsetRect(&rect, -WindowRect().left, -WindowRect().top);
    return rect;
}

std::vector<HWND> ProgramUnderTest::Dialogs(const std::wstring& caption) const
{
    std::vector<HWND> found;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
    {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == processId_ && w != main_ && IsWindowVisible(w) && IsDialog(w, caption))
            found.push_back(w);
    }
    return found;
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
