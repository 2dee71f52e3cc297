#pragma once

// The about box: the program's icon, name and version, the credits and the maker's address.

#include "res/resource.h"
#include "toolkit/Dialog.h"

class CAboutDlg : public CDialog
{
public:
    explicit CAboutDlg(CWnd* parent = nullptr) : CDialog(IDD_ABOUTBOX, parent) {}
};

// The about command.
inline void ShowAbout(CWnd& owner)
{
    CAboutDlg(&owner).DoModal();
}
