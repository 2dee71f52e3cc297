#include "units/NumericEdit.h"

#include "res/resource.h"
#include "toolkit/TextConv.h"
#include "toolkit/WinApp.h"
#include "units/NumericText.h"

namespace
{

bool IsTypeable(WPARAM ch)
{
    return (ch >= L'0' && ch <= L'9') || ch == L'.' || ch == L',' || ch == L'-' || ch == VK_BACK;
}

std::string LoadText(UINT id)
{
    wchar_t text[256] = {};
    const int length = LoadStringW(CWinApp::ResourceInstance(), id, text, 256);
    return WideToUtf8(std::wstring(text, length > 0 ? static_cast<size_t>(length) : 0));
}

} // namespace

double CNumericEdit::GetValue()
{
    const std::string typed = GetWindowText();
    const NumericText parsed = ParseNumericText(typed, decimals_);
    if (!parsed.valid)
    {
        AppMessageBox(LoadText(IDS_BAD_NUMBER_FORMAT), MB_OK | MB_ICONEXCLAMATION);
        return NUMERIC_FORMAT_ERROR;
    }
    if (parsed.text != typed)
        SetWindowText(parsed.text);
    const int end = ::GetWindowTextLengthW(m_hWnd);
    SetSel(end, end);
    ScrollCaret();
    return parsed.value;
}

LRESULT CNumericEdit::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // Control characters (Ctrl+C, Ctrl+V...) are swallowed too; the context menu's paste is not
    // a character and passes.
    if (msg == WM_CHAR && !IsTypeable(wParam))
        return 0;
    return Default(msg, wParam, lParam);
}
