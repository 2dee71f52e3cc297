#include "app/ExtraSettingsDlg.h"

#include "res/resource.h"

CExtraSettingsDlg::CExtraSettingsDlg(CWnd* parent) : CDialog(IDD_EXTRA_SETTINGS, parent) {}

void CExtraSettingsDlg::BindControls()
{
    BindControl(IDC_NO_ADVERT_AT_START, checkBox_);
}

BOOL CExtraSettingsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    checkBox_.SendMessage(BM_SETCHECK, doNotShowAdvert ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CExtraSettingsDlg::OnOK()
{
    doNotShowAdvert = checkBox_.SendMessage(BM_GETCHECK) != BST_UNCHECKED;
    CDialog::OnOK();
}

void EditAdvertAtStart(CWnd& owner, bool& showAdv)
{
    CExtraSettingsDlg dialog(&owner);
    dialog.doNotShowAdvert = !showAdv;
    if (dialog.DoModal() == IDOK)
        showAdv = !dialog.doNotShowAdvert;
}
