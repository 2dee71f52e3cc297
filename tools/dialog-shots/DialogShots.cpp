// Pictures of the about box, the additional settings and the advert window, each shown alone (a
// window over another top-level window can come out black on a virtual display without a window
// manager). Usage: qm7xx_dialog_shots FOLDER  (writes about.bmp, extra-settings.bmp, advert.bmp).

#include "app/AboutDlg.h"
#include "app/AdvertDlg.h"
#include "app/ExtraSettingsDlg.h"
#include "tests/e2e/WindowShot.h"

#include <commctrl.h>

#include <cstdio>
#include <string>

namespace
{

constexpr DWORD SETTLE_MS = 1500; // time for the window to be painted everywhere

void PumpFor(DWORD milliseconds)
{
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (MSG msg; GetTickCount64() < end;
         MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT))
    {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
}

bool Shoot(CDialog& dialog, const std::wstring& folder, const wchar_t* name)
{
    if (!dialog.Create())
        return false;
    SetWindowPos(dialog.m_hWnd, HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    PumpFor(SETTLE_MS);
    const WindowShot shot(dialog.m_hWnd);
    const bool saved = !shot.Empty() && shot.Save(folder, name);
    DestroyWindow(dialog.m_hWnd);
    PumpFor(200);
    return saved;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: qm7xx_dialog_shots FOLDER\n");
        return 2;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    const std::wstring folder = argv[1];

    CAboutDlg about;
    CExtraSettingsDlg extra; // as a first start shows it: the advert is on
    CAdvertDlg advert;
    const bool ok = Shoot(about, folder, L"about.bmp") &&
                    Shoot(extra, folder, L"extra-settings.bmp") &&
                    Shoot(advert, folder, L"advert.bmp");
    if (!ok)
        std::fprintf(stderr, "qm7xx_dialog_shots: a dialog could not be shown or saved\n");
    return ok ? 0 : 1;
}
