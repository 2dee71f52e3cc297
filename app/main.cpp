#include "app/MeterApp.h"

#include <windows.h>

namespace
{
CMeterApp theApp;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return theApp.Run();
}
