#pragma once

// Where each persistent setting lives at run time: the display values in both reading panels, the
// rest in the main window. Loading gives both panels the same values; saving takes panel 1's.

#include "app/AppSettings.h"

class CMainDlg;

// The values the window and its panels hold now (their constructors' defaults before loading).
AppSettings CaptureSettings(const CMainDlg& window);
void ApplySettings(const AppSettings& settings, CMainDlg& window);
