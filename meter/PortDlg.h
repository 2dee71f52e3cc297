#pragma once

// The port selection dialog "Port szeregowy": lists the COM ports present, names the port in use
// and returns the one the user picks. The list is scanned afresh every time the dialog opens.

#include "toolkit/Dialog.h"

#include <functional>
#include <string>
#include <vector>

class CPortDlg : public CDialog
{
public:
    explicit CPortDlg(CWnd* parent);

    // In: the port in use (0 for none). Out, after IDOK: the chosen port (always > 0).
    int portNumber = 0;
    // The entries of the list, filled by the scan while the dialog is being created.
    std::vector<std::string> nameList;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    void ScanPorts();
};

// The port command: the dialog names `portInUse` (0: none); the port chosen goes to `open`. A port
// that fails to open is reported and brings the dialog back, until one opens or the user cancels.
// True when a port was opened.
bool ChoosePort(CWnd& owner, int portInUse, const std::function<bool(int)>& open);
