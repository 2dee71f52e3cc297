#pragma once

// The application: start-up picture, settings loaded, the main window run modally, settings saved,
// the run's objects released. The main window's modal loop is the program's only message loop.

#include "toolkit/WinApp.h"

class CMeterApp : public CWinApp
{
public:
    BOOL InitInstance() override;
};
