#include "app/MeterApp.h"

#include "app/SettingsRegistry.h"
#include "app/SplashDlg.h"
#include "toolkit/SystemLibrary.h"
#include "ui/MainDlg.h"

#include <commctrl.h>

#include <memory>

namespace
{
constexpr DWORD SPLASH_MS = 3000;
}

BOOL CMeterApp::InitInstance()
{
    RestrictDllSearchToSystem();
    CSplashDlg splash;
    if (splash.Create())
    {
        splash.ShowWindow(SW_SHOW);
        Sleep(SPLASH_MS); // the picture stays while nothing else happens
    }

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);

    CRegistryStore store;
    AppSettings settings;
    LoadSettingsFromRegistry(store, settings);
    auto window = std::make_unique<CMainDlg>(settings);
    m_pMainWnd = window.get();

    if (splash.m_hWnd)
        splash.ShowWindow(SW_HIDE);

    // However the window is closed, the settings are saved the same way.
    window->DoModal();
    SaveSettingsToRegistry(store, window->Settings());

    // The port's worker may still be delivering bytes: ending it is the port object's destructor.
    window->ClosePort();

    m_pMainWnd = nullptr;
    window.reset();
    if (splash.m_hWnd)
        DestroyWindow(splash.m_hWnd);
    return FALSE;
}
