#include "meter/PortDlg.h"

#include "meter/PortList.h"
#include "meter/PortWaitDlg.h"
#include "res/Texts.h"
#include "res/resource.h"
#include "toolkit/TextConv.h"
#include "toolkit/WinApp.h"

CPortDlg::CPortDlg(CWnd* parent) : CDialog(IDD_PORT, parent) {}

LRESULT CPortDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_CREATE)
        return CDialog::WindowProc(msg, wParam, lParam);
    const LRESULT result = CDialog::WindowProc(msg, wParam, lParam);
    if (result != -1)
        ScanPorts();
    return result;
}

void CPortDlg::ScanPorts()
{
    nameList.clear();
    CPortWaitDlg wait(this);
    wait.target = &nameList;
    wait.DoModal(); // ends when the scan has filled the list, however it was closed
}

BOOL CPortDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_PORT_IN_USE, portNumber != 0
                                        ? texts::PORT_IN_USE + std::to_string(portNumber)
                                        : std::string(texts::NO_PORT_IN_USE));
    const HWND list = GetDlgItem(IDC_PORT_LIST);
    for (const std::string& name : nameList)
        ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(name).c_str()));
    const int selected = PreselectedEntry(nameList, portNumber);
    if (selected >= 0)
        ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    return TRUE;
}

void CPortDlg::OnOK()
{
    const int chosen = ParsePortChoice(GetDlgItemText(IDC_PORT_LIST));
    if (chosen <= 0)
    {
        AppMessageBox(texts::NO_PORT_CHOSEN);
        return;
    }
    portNumber = chosen;
    CDialog::OnOK();
}

bool ChoosePort(CWnd& owner, int portInUse, const std::function<bool(int)>& open)
{
    for (;;)
    {
        CPortDlg dialog(&owner);
        dialog.portNumber = portInUse;
        if (dialog.DoModal() != IDOK)
            return false;
        if (open(dialog.portNumber))
            return true;
        AppMessageBox(texts::PORT_OPEN_FAILED + std::to_string(dialog.portNumber));
        portInUse = 0; // the old port was closed to try the new one
    }
}
