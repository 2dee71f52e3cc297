#pragma once

// The port selection dialog: the user names the COM port the meter is attached to.

#include "toolkit/Dialog.h"

class CPortDlg : public CDialog
{
public:
    explicit CPortDlg(CWnd* parent);

    // In: the port in use (0 for none). Out, after IDOK: the chosen port (always > 0).
    int portNumber = 0;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};
