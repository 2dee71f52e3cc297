#pragma once

// The small "Proszę czekać" window shown while a thread of its own scans for COM ports. The
// thread fills the target list and closes the window; the window, however it is closed, is not
// destroyed before the thread has ended, so the list is complete once DoModal returns.

#include "toolkit/Dialog.h"
#include "toolkit/Handles.h"

#include <string>
#include <vector>

class CPortWaitDlg : public CDialog
{
public:
    explicit CPortWaitDlg(CWnd* parent);
    ~CPortWaitDlg() override;

    // The list the scan appends the port entries to. Nothing may read it while the scan runs.
    std::vector<std::string>* target = nullptr;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;

private:
    static DWORD WINAPI ScanThread(void* self);
    void FillTarget();
    void WaitForScan();

    UniqueHandle scanThread_;
    HWND window_ = nullptr; // for the scan thread, which must not read m_hWnd
};
