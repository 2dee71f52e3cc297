#pragma once

// The start-up picture: a borderless, system-modal (topmost) window showing the program's bitmap.

#include "res/resource.h"
#include "toolkit/Dialog.h"

class CSplashDlg : public CDialog
{
public:
    CSplashDlg() : CDialog(IDD_SPLASH) {}
};
