#pragma once

// The additional settings: one check box, "do not show the QMX information at start".

#include "toolkit/Dialog.h"

class CExtraSettingsDlg : public CDialog
{
public:
    explicit CExtraSettingsDlg(CWnd* parent = nullptr);

    bool doNotShowAdvert = false; // read back only after IDOK

protected:
    void BindControls() override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    CWnd checkBox_;
};

// The command of the main window: the box shows the negation of showAdv, and only OK changes it.
void EditAdvertAtStart(CWnd& owner, bool& showAdv);
