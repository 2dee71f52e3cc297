#include "meter/PortDlg.h"

#include "meter/PortChoice.h"
#include "res/resource.h"
#include "toolkit/WinApp.h"

#include <string>

CPortDlg::CPortDlg(CWnd* parent) : CDialog(IDD_PORT, parent) {}

BOOL CPortDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const std::string inUse = portNumber != 0
                                  ? "Aktualnie używany port: COM" + std::to_string(portNumber)
                                  : std::string("Aktualnie żaden port nie jest używany");
    SetDlgItemText(IDC_PORT_IN_USE, inUse);
    return TRUE;
}

void CPortDlg::OnOK()
{
    const int chosen = ParsePortChoice(GetDlgItemText(IDC_PORT_LIST));
    if (chosen <= 0)
    {
        AppMessageBox("Nie wybrano żadnego portu.");
        return;
    }
    portNumber = chosen;
    CDialog::OnOK();
}
