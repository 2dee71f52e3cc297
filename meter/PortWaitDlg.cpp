#include "meter/PortWaitDlg.h"

#include "meter/PortList.h"
#include "meter/PortScan.h"
#include "res/resource.h"

CPortWaitDlg::CPortWaitDlg(CWnd* parent) : CDialog(IDD_PORT_WAIT, parent) {}

CPortWaitDlg::~CPortWaitDlg()
{
    // Only when the window went without its WM_DESTROY reaching this object. The thread sends
    // nothing to any window, so a plain wait cannot block it.
    if (scanThread_)
        WaitForSingleObject(scanThread_.Get(), INFINITE);
}

BOOL CPortWaitDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    window_ = m_hWnd;
    DWORD threadId = 0;
    scanThread_.Reset(CreateThread(nullptr, 0, &CPortWaitDlg::ScanThread, this, 0, &threadId));
    if (!scanThread_)
    {
        // Without the thread nothing would close this window: scan here, then close.
        FillTarget();
        PostMessage(WM_CLOSE);
    }
    return TRUE;
}

DWORD WINAPI CPortWaitDlg::ScanThread(void* self)
{
    auto* dialog = static_cast<CPortWaitDlg*>(self);
    dialog->FillTarget();
    // The last thing this thread does: the window stays until the thread has ended.
    ::PostMessageW(dialog->window_, WM_CLOSE, 0, 0);
    return 0;
}

void CPortWaitDlg::FillTarget()
{
    std::string text;
    int presentCount = 0;
    if (!BuildPortList(text, presentCount))
        text.clear(); // out of memory: an empty list
    if (!target)
        return;
    for (std::string& entry : PortListEntries(text))
        target->push_back(std::move(entry));
}

bool CPortWaitDlg::OnCommand(UINT id, UINT code, HWND control)
{
    // "Anuluj" changes nothing: the scan is one short pass, and the window closes when it ends.
    if (id == IDC_WAIT_CANCEL)
        return true;
    return CDialog::OnCommand(id, code, control);
}

void CPortWaitDlg::WaitForScan()
{
    // The window's own messages are handled meanwhile; the thread itself only posts WM_CLOSE.
    while (scanThread_)
    {
        MSG msg;
        while (PeekMessageW(&msg, m_hWnd, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        const HANDLE thread = scanThread_.Get();
        if (MsgWaitForMultipleObjects(1, &thread, FALSE, 20, QS_ALLINPUT) == WAIT_OBJECT_0)
            scanThread_.Reset();
    }
}

LRESULT CPortWaitDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DESTROY)
        WaitForScan();
    return CDialog::WindowProc(msg, wParam, lParam);
}
