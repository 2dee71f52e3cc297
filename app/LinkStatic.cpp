#include "app/LinkStatic.h"

#include "app/LinkText.h"
#include "toolkit/DC.h"
#include "toolkit/Handles.h"
#include "toolkit/TextConv.h"
#include "toolkit/WinApp.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <vector>

namespace
{

constexpr UINT_PTR TOOL_ID = 1;
constexpr WORD HELP_PROGRAM_HAND_CURSOR = 106;
constexpr int LINK_OPENED = 33; // what a successful start answers, as the shell's codes above 32
// CreateProcess takes a command line of at most 32767 characters, terminating zero included.
constexpr size_t MAX_COMMAND_LINE_CHARS = 32766;

// Starts a command line as the fallback does; LINK_OPENED, or a start failure code (0 to 31).
int StartCommandLine(std::wstring commandLine, int showCommand)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return FailedStartCode(GetLastError());
    UniqueHandle ownedProcess(process.hProcess);
    UniqueHandle ownedThread(process.hThread);
    return LINK_OPENED;
}

} // namespace

CLinkStatic::CLinkStatic() : hoverColour_(GetSysColor(COLOR_HIGHLIGHT)) {}

CLinkStatic::~CLinkStatic() = default;

void CLinkStatic::OnAttached()
{
    SetWindowLongPtrW(m_hWnd, GWL_STYLE, GetWindowLongPtrW(m_hWnd, GWL_STYLE) | SS_NOTIFY);
    const std::string text = GetWindowText();
    if (target_.empty())
        target_ = text;
    if (text.empty())
        SetWindowText(target_);

    LOGFONTW logFont{};
    auto font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    GetObjectW(font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT), sizeof logFont,
               &logFont);
    logFont.lfUnderline = underline_ ? TRUE : FALSE;
    FontHandle linkFont(CreateFontIndirectW(&logFont));
    SetFont(linkFont.Get(), TRUE);
    linkFont_ = std::move(linkFont); // the control no longer uses the font this replaces

    FitToText();
    LoadLinkCursor();
    CreateTooltip();
}

void CLinkStatic::CreateTooltip()
{
    tooltip_.Reset(CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr,
                                   CWinApp::ResourceInstance(), nullptr));
    if (tooltip_)
        SendToolInfo(TTM_ADDTOOLW);
}

void CLinkStatic::SendToolInfo(UINT message)
{
    std::wstring text = Utf8ToWide(target_);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = m_hWnd;
    tool.uId = TOOL_ID;
    tool.rect = GetClientRect();
    tool.lpszText = text.data();
    ::SendMessageW(tooltip_.Get(), message, 0, reinterpret_cast<LPARAM>(&tool));
}

void CLinkStatic::SetTarget(const std::string& target)
{
    target_ = target;
    if (!m_hWnd)
        return;
    FitToText();
    if (tooltip_)
        SendToolInfo(TTM_UPDATETIPTEXTW);
}

void CLinkStatic::MarkVisited(bool visited)
{
    visited_ = visited;
    if (m_hWnd)
        InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CLinkStatic::FitToText()
{
    if (!m_hWnd || !fitToText_)
        return;
    RECT r = GetWindowRect();
    if (HWND parent = ::GetParent(m_hWnd))
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);

    SIZE text{};
    {
        CWindowDC dc(m_hWnd);
        ScopedSelectObject font(dc.Get(), linkFont_.Get());
        text = CDC(dc.Get()).GetTextExtent(GetWindowText());
    }

    // Integer halvings truncate toward zero, also when the text is larger than the control.
    const LONG_PTR style = GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    if (style & SS_CENTERIMAGE)
    {
        const LONG shrink = (r.bottom - r.top - text.cy) / 2;
        r.top += shrink;
        r.bottom -= shrink;
    }
    else
    {
        r.bottom = r.top + text.cy;
    }
    const LONG_PTR alignment = style & SS_TYPEMASK;
    if (alignment == SS_CENTER)
    {
        const LONG shrink = (r.right - r.left - text.cx) / 2;
        r.left += shrink;
        r.right -= shrink;
    }
    else if (alignment == SS_RIGHT)
    {
        r.left = r.right - text.cx;
    }
    else
    {
        r.right = r.left + text.cx;
    }
    SetWindowPos(m_hWnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER);
}

void CLinkStatic::LoadLinkCursor()
{
    if (linkCursor_)
        return;
    std::vector<wchar_t> folder(MAX_PATH);
    const UINT length = GetWindowsDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
    if (length == 0 || length >= folder.size())
        return;
    const std::wstring path = std::wstring(folder.data(), length) + L"\\winhlp32.exe";
    // Only its resources are wanted: the help program is mapped as data, never run.
    UniqueModule helpProgram(LoadLibraryExW(
        path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!helpProgram)
        return;
    if (HCURSOR hand = LoadCursorW(helpProgram.Get(), MAKEINTRESOURCEW(HELP_PROGRAM_HAND_CURSOR)))
        linkCursor_.Reset(CopyIcon(hand));
}

int CLinkStatic::OpenLink(const std::string& target, int showCommand) const
{
    const std::wstring wideTarget = Utf8ToWide(target);
    const auto shell = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", wideTarget.c_str(), nullptr, nullptr, showCommand));
    const int shellCode = static_cast<int>(shell);
    if (static_cast<UINT_PTR>(shell) > 32)
        return shellCode;

    // The shell could not: run the program that opens .htm files, as its open command says.
    std::string fileType;
    if (ReadDefaultRegValue(classesRoot, ".htm", fileType) != ERROR_SUCCESS || fileType.empty())
        return shellCode;
    std::string command;
    if (ReadDefaultRegValue(classesRoot, fileType + "\\shell\\open\\command", command) !=
        ERROR_SUCCESS)
        return shellCode;
    std::wstring commandLine = Utf8ToWide(BuildOpenCommand(command, target));
    if (commandLine.size() > MAX_COMMAND_LINE_CHARS)
        return shellCode; // no program can be started with it: the shell's answer stands
    return StartCommandLine(std::move(commandLine), showCommand);
}

LSTATUS CLinkStatic::ReadDefaultRegValue(HKEY hive, const std::string& subKey,
                                         std::string& destination)
{
    HKEY opened = nullptr;
    LSTATUS status = RegOpenKeyExW(hive, Utf8ToWide(subKey).c_str(), 0, KEY_QUERY_VALUE, &opened);
    if (status != ERROR_SUCCESS)
        return status;
    // Whatever the value's length: ask for its size, read, and ask again if it grew meanwhile.
    std::vector<wchar_t> text(MAX_PATH);
    for (;;)
    {
        DWORD type = 0;
        DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        status = RegQueryValueExW(opened, nullptr, nullptr, &type,
                                  reinterpret_cast<BYTE*>(text.data()), &bytes);
        if (status == ERROR_MORE_DATA)
        {
            text.resize(bytes / sizeof(wchar_t) + 1);
            continue;
        }
        if (status == ERROR_SUCCESS && type != REG_SZ && type != REG_EXPAND_SZ)
            status = ERROR_INVALID_DATA;
        if (status == ERROR_SUCCESS)
        {
            // The stored text may or may not end in a zero.
            std::wstring value(text.data(), bytes / sizeof(wchar_t));
            value.resize(wcsnlen(value.c_str(), value.size()));
            destination = WideToUtf8(value);
        }
        break;
    }
    RegCloseKey(opened);
    return status;
}

void CLinkStatic::ShowOpenError(int code)
{
    AppMessageBox(OpenErrorText(code), MB_OK | MB_ICONEXCLAMATION);
}

BOOL CLinkStatic::PreTranslateMessage(MSG* msg)
{
    if (msg->hwnd == m_hWnd && tooltip_)
        ::SendMessageW(tooltip_.Get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
    return CStatic::PreTranslateMessage(msg);
}

LRESULT CLinkStatic::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_MOUSEMOVE:
    {
        const LRESULT result = Default(msg, wParam, lParam);
        OnMouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return result;
    }
    case WM_SETCURSOR:
        if (!linkCursor_)
            return FALSE;
        SetCursor(linkCursor_.Get());
        return TRUE;
    case WM_DESTROY:
        tooltip_.Reset(); // owned by this window; it goes first
        break;
    default:
        break;
    }
    return CStatic::WindowProc(msg, wParam, lParam);
}

void CLinkStatic::OnMouseMove(POINT point)
{
    if (!hover_)
    {
        hover_ = true;
        RedrawWindow();
        SetCapture(m_hWnd);
        return;
    }
    const RECT client = GetClientRect();
    if (!PtInRect(&client, point))
    {
        hover_ = false;
        ReleaseCapture();
        RedrawWindow();
    }
}

bool CLinkStatic::OnChildNotify(UINT msg, WPARAM wParam, LPARAM, LRESULT* result)
{
    if (msg == WM_CTLCOLORSTATIC)
    {
        *result = reinterpret_cast<LRESULT>(OnCtlColor(reinterpret_cast<HDC>(wParam)));
        return true;
    }
    if (msg == WM_COMMAND && HIWORD(wParam) == STN_CLICKED)
    {
        OnClicked();
        *result = 0;
        return true;
    }
    return false;
}

HBRUSH CLinkStatic::OnCtlColor(HDC dc) const
{
    SetTextColor(dc, hover_ ? hoverColour_ : visited_ ? visitedColour_ : unvisitedColour_);
    SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

void CLinkStatic::OnClicked()
{
    const int code = OpenLink(target_, SW_SHOW);
    visited_ = code > 32;
    if (code > 32)
    {
        MarkVisited(true);
        return;
    }
    // The colour follows at the next repaint.
    MessageBeep(MB_ICONEXCLAMATION);
    ShowOpenError(code);
}
