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
    doNotShowAdvert = checkBox_.SendMessage(BM_GETCHECK) != BST_UNCHECKED ? 1 : 0;
    CDialog::OnOK();
}

void EditAdvertAtStart(CWnd* owner, int& showAdv)
{
    CExtraSettingsDlg dialog(owner);
    dialog.doNotShowAdvert = showAdv == 0 ? 1 : 0;
    if (dialog.DoModal() == IDOK)
        showAdv = dialog.doNotShowAdvert ? 0 : 1;
}
