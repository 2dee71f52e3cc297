#include "app/MeterApp.h"

#include "app/AppSettings.h"
#include "app/SplashDlg.h"
#include "ui/MainDlg.h"

#include <commctrl.h>

#include <memory>

namespace
{
constexpr DWORD SPLASH_MS = 3000;
}

BOOL CMeterApp::InitInstance()
{
    CSplashDlg splash;
    if (splash.Create())
    {
        splash.ShowWindow(SW_SHOW);
        Sleep(SPLASH_MS); // the picture stays while nothing else happens
    }

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);

    auto window = std::make_unique<CMainDlg>();
    m_pMainWnd = window.get();

    CRegistryStore store;
    LoadSettings(store, *window);

    if (splash.m_hWnd)
        splash.ShowWindow(SW_HIDE);

    // However the window is closed, the settings are saved the same way.
    window->DoModal();
    SaveSettings(store, *window);

    // The port's worker may still be delivering bytes: ending it is the port object's destructor.
    window->serialPort.reset();

    m_pMainWnd = nullptr;
    window.reset();
    if (splash.m_hWnd)
        DestroyWindow(splash.m_hWnd);
    return FALSE;
}
