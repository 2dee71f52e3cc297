#include "toolkit/Wnd.h"

#include "toolkit/TextConv.h"

#include <commctrl.h>

#include <vector>

namespace
{
constexpr UINT_PTR SUBCLASS_ID = 0x514D37; // "QM7"
// The bound object is also kept as a window property, so that any window can be asked for it.
constexpr wchar_t BOUND_OBJECT_PROPERTY[] = L"QM7xx.CWnd";
} // namespace

CWnd::~CWnd()
{
    UnsubclassWindow();
}

CWnd* CWnd::FromHandle(HWND hwnd)
{
    return hwnd ? static_cast<CWnd*>(GetPropW(hwnd, BOUND_OBJECT_PROPERTY)) : nullptr;
}

bool CWnd::Bind(HWND hwnd)
{
    if (!hwnd || m_hWnd || FromHandle(hwnd))
        return false;
    if (!SetPropW(hwnd, BOUND_OBJECT_PROPERTY, this))
        return false;
    if (!SetWindowSubclass(hwnd, &CWnd::SubclassProc, SUBCLASS_ID,
                           reinterpret_cast<DWORD_PTR>(this)))
    {
        RemovePropW(hwnd, BOUND_OBJECT_PROPERTY);
        return false;
    }
    m_hWnd = hwnd;
    return true;
}

bool CWnd::SubclassWindow(HWND hwnd)
{
    if (!Bind(hwnd))
        return false;
    OnAttached();
    return true;
}

void CWnd::BindDuringCreation(HWND hwnd)
{
    Bind(hwnd);
}

bool CWnd::SubclassDlgItem(int id, CWnd& parent)
{
    return SubclassWindow(::GetDlgItem(parent.m_hWnd, id));
}

HWND CWnd::UnsubclassWindow()
{
    HWND hwnd = m_hWnd;
    if (hwnd)
    {
        RemoveWindowSubclass(hwnd, &CWnd::SubclassProc, SUBCLASS_ID);
        RemovePropW(hwnd, BOUND_OBJECT_PROPERTY);
    }
    m_hWnd = nullptr;
    return hwnd;
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return Default(msg, wParam, lParam);
}

LRESULT CWnd::Default(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefSubclassProc(m_hWnd, msg, wParam, lParam);
}

bool CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*)
{
    return false;
}

bool CWnd::ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    HWND child = nullptr;
    switch (msg)
    {
    case WM_COMMAND:
        child = reinterpret_cast<HWND>(lParam); // 0 for menus and accelerators
        break;
    case WM_NOTIFY:
        child = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
        child = reinterpret_cast<HWND>(lParam);
        break;
    default:
        return false;
    }
    CWnd* target = FromHandle(child);
    return target && target->OnChildNotify(msg, wParam, lParam, result);
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR refData)
{
    CWnd* self = reinterpret_cast<CWnd*>(refData);
    LRESULT result = 0;
    if (ReflectToChild(msg, wParam, lParam, &result))
        return result;
    if (msg == WM_NCDESTROY)
    {
        // The window is going away: let the object see the message, then unbind it so that the
        // object may outlive its window (controls of a dialog, a dialog after its modal run).
        result = self->WindowProc(msg, wParam, lParam);
        if (self->m_hWnd == hwnd)
            self->UnsubclassWindow();
        return result;
    }
    return self->WindowProc(msg, wParam, lParam);
}

LRESULT CWnd::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageW(m_hWnd, msg, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) const
{
    return ::PostMessageW(m_hWnd, msg, wParam, lParam);
}

BOOL CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) const
{
    return ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}

void CWnd::SetWindowText(const std::string& text) const
{
    ::SetWindowTextW(m_hWnd, Utf8ToWide(text).c_str());
}

namespace
{
std::string TextOf(HWND hwnd)
{
    const int length = ::GetWindowTextLengthW(hwnd);
    if (length <= 0)
        return {};
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    const int copied = ::GetWindowTextW(hwnd, buffer.data(), length + 1);
    return WideToUtf8(std::wstring(buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0)));
}
} // namespace

std::string CWnd::GetWindowText() const
{
    return TextOf(m_hWnd);
}

void CWnd::SetDlgItemText(int id, const std::string& text) const
{
    ::SetWindowTextW(::GetDlgItem(m_hWnd, id), Utf8ToWide(text).c_str());
}

std::string CWnd::GetDlgItemText(int id) const
{
    return TextOf(::GetDlgItem(m_hWnd, id));
}

RECT CWnd::GetClientRect() const
{
    RECT r{};
    ::GetClientRect(m_hWnd, &r);
    return r;
}

RECT CWnd::GetWindowRect() const
{
    RECT r{};
    ::GetWindowRect(m_hWnd, &r);
    return r;
}

BOOL CWnd::RedrawWindow(UINT flags) const
{
    return ::RedrawWindow(m_hWnd, nullptr, nullptr, flags);
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT milliseconds) const
{
    return ::SetTimer(m_hWnd, id, milliseconds, nullptr);
}

void CWnd::SetFont(HFONT font, BOOL redraw) const
{
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), MAKELPARAM(redraw, 0));
}
