#include "app/SettingsBinding.h"

#include "toolkit/TextConv.h"
#include "ui/MainDlg.h"

#include <cwchar>

AppSettings CaptureSettings(const CMainDlg& window)
{
    const CReadingPanel& panel = window.panel1;
    AppSettings s;
    s.background = panel.backgroundColour;
    s.text = panel.textColour;
    s.showUnit = panel.units.conversionMode;
    s.deviceUnit = panel.units.unitCode;
    s.isUnit = panel.units.showUnitLabel;
    s.fontHeight = panel.logFont.lfHeight;
    s.fontName = WideToUtf8(panel.logFont.lfFaceName);
    s.fontItalic = panel.logFont.lfItalic;
    s.fontWeight = panel.logFont.lfWeight;
    s.portNr = window.portNr;
    s.fileName = window.fileName;
    s.fileLog = window.fileLog;
    s.fileLogCanal1 = window.fileLogCanal1;
    s.fileLogCanal2 = window.fileLogCanal2;
    s.fileSepFormat = window.fileSepFormat;
    s.fileInterval = window.fileInterval;
    s.topmost = window.topmost;
    s.unitK = panel.units.k;
    s.showAdv = window.showAdv;
    return s;
}

void ApplySettings(const AppSettings& s, CMainDlg& window)
{
    const std::wstring faceName = Utf8ToWide(s.fontName);
    for (CReadingPanel* panel : {&window.panel1, &window.panel2})
    {
        panel->backgroundColour = s.background;
        panel->textColour = s.text;
        panel->units.conversionMode = s.showUnit;
        panel->units.unitCode = s.deviceUnit;
        panel->units.showUnitLabel = s.isUnit;
        panel->units.k = s.unitK;
        panel->logFont.lfHeight = s.fontHeight;
        panel->logFont.lfItalic = s.fontItalic;
        panel->logFont.lfWeight = s.fontWeight;
        // The store never hands over more than 31 characters; cut all the same, never overflow.
        std::wmemset(panel->logFont.lfFaceName, 0, LF_FACESIZE);
        std::wcsncpy(panel->logFont.lfFaceName, faceName.c_str(), LF_FACESIZE - 1);
    }
    window.portNr = s.portNr;
    window.fileName = s.fileName;
    window.fileLog = s.fileLog;
    window.fileLogCanal1 = s.fileLogCanal1;
    window.fileLogCanal2 = s.fileLogCanal2;
    window.fileSepFormat = s.fileSepFormat;
    window.fileInterval = s.fileInterval;
    window.topmost = s.topmost;
    window.showAdv = s.showAdv;
}
