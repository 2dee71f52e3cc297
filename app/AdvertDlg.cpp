#include "app/AdvertDlg.h"

#include "res/resource.h"
#include "toolkit/SystemLibrary.h"
#include "toolkit/UserHandles.h"
#include "toolkit/WinApp.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>

namespace
{

// The page about QMX on the maker's web site.
constexpr char ADVERT_LINK_TARGET[] = "http://www.korvex.pl/po/qmx_program.html";

struct RtfSource
{
    std::string_view rest;
};

DWORD CALLBACK ReadRtf(DWORD_PTR cookie, BYTE* buffer, LONG wanted, LONG* given)
{
    auto* source = reinterpret_cast<RtfSource*>(cookie);
    const size_t n = std::min(source->rest.size(), static_cast<size_t>(wanted));
    std::memcpy(buffer, source->rest.data(), n);
    source->rest.remove_prefix(n);
    *given = static_cast<LONG>(n);
    return 0;
}

// The advert page, a resource of the program (RTF, code page 1250).
std::string_view AdvertPage()
{
    HINSTANCE instance = CWinApp::ResourceInstance();
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(IDR_ADVERT_PAGE), RT_RCDATA);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return {};
    return {static_cast<const char*>(data), SizeofResource(instance, found)};
}

} // namespace

bool CRichText::LoadControlLibrary()
{
    // Kept for the whole process: the control's window class lives in it.
    static const SystemLibrary library(L"msftedit.dll");
    return static_cast<bool>(library);
}

bool CRichText::StreamInRtf(std::string_view rtf) const
{
    RtfSource source{rtf};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = &ReadRtf;
    SendMessage(EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    return stream.dwError == 0 && source.rest.empty();
}

CAdvertDlg::CAdvertDlg(CWnd* parent) : CDialog(IDD_ADVERT, parent)
{
    // Without the control's class the dialog cannot be created, and DoModal answers -1.
    CRichText::LoadControlLibrary();
}

void CAdvertDlg::BindControls()
{
    BindControl(IDC_ADVERT_LINK, link);
    BindControl(IDC_ADVERT_PAGE, richText);
}

BOOL CAdvertDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    richText.StreamInRtf(AdvertPage());
    link.SetTarget(ADVERT_LINK_TARGET);
    return TRUE;
}

BOOL CAdvertDlg::PreTranslateMessage(MSG* msg)
{
    switch (msg->message)
    {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        if (msg->hwnd == richText.m_hWnd)
        {
            ::SetFocus(m_hWnd);
            return TRUE;
        }
        break;
    default:
        break;
    }
    return CDialog::PreTranslateMessage(msg);
}
