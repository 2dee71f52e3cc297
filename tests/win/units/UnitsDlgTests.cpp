#include "res/resource.h"
#include "tests/win/support/DialogDriver.h"
#include "units/UnitsDlg.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{

using Step = std::function<void(HWND)>;

// The units command on two panels in kLx with `mode`, the label on and K = 2, after a reading in
// kLx or W/m2 (none yet: unitKlx < 0). Each time the dialog shows, its K field is noted and the
// next step answers it (Cancel when none is left); a message box has its text noted and gets OK.
std::vector<std::wstring> RunUnits(CReadingPanel (&panels)[2], int mode, int unitKlx,
                                   const std::vector<Step>& steps)
{
    for (CReadingPanel& panel : panels)
        panel.units = UnitState{UNIT_KLX, mode, 1, 2.0};
    MeterReading reading;
    reading.noReadingYet = unitKlx < 0;
    reading.unitKlx = unitKlx < 0 ? 0 : unitKlx;
    reading.deviceNumber = 55;
    std::vector<std::wstring> seen;
    size_t next = 0;
    DialogDriver driver(
        [&](HWND window, const std::wstring& caption)
        {
            const bool units = caption == L"Jednostka";
            seen.push_back(units ? DialogDriver::TextOf(GetDlgItem(window, IDC_UNITS_K))
                                 : DialogDriver::MessageOf(window));
            (units && next < steps.size()) ? steps[next++](window)
                                           : DialogDriver::Press(window, units ? IDCANCEL : IDOK);
        });
    CWnd owner;
    ChooseUnits(owner, reading, panels[0], panels[1]);
    return seen;
}

// Clicks `click` (when not 0), types the keys into the emptied K field, then OK.
Step TypeAndOk(const std::wstring& keys, int click = 0)
{
    return [keys, click](HWND dialog)
    {
        SendDlgItemMessageW(dialog, click, BM_CLICK, 0, 0);
        SetDlgItemTextW(dialog, IDC_UNITS_K, L"");
        for (wchar_t key : keys)
            SendDlgItemMessageW(dialog, IDC_UNITS_K, WM_CHAR, key, 1);
        DialogDriver::Press(dialog, IDOK);
    };
}

TEST(UnitsDialog, RefusedKKeepsTheDialogOpenAndAGoodOneGoesToBothPanels)
{
    CReadingPanel panels[2];
    EXPECT_EQ(RunUnits(panels, CONV_TO_WM2, 0,
                       {TypeAndOk(L"1.2.3", IDC_UNITS_TO_KLX), TypeAndOk(L"-0.5"),
                        TypeAndOk(L"1,4x769")}),
              (std::vector<std::wstring>{L"2.000", L"Nieprawidłowy format danych.", L"1.2.3",
                                         L"Wartość współczynnika K powinna być większa od zera",
                                         L"-0.500"}));
    for (const CReadingPanel& panel : panels)
    {
        EXPECT_EQ(panel.units.conversionMode, CONV_TO_KLX);
        EXPECT_DOUBLE_EQ(panel.units.k, 1.476);
    }
}

TEST(UnitsDialog, TheMetersUnitsTickedDisableTheConversionAndOkAppliesModeZeroKeepingK)
{
    CReadingPanel panels[2];
    const std::wstring sends = L"Miernik QM-700 nr 55 przesyła wynik wyrażony w jednostkach ";
    const struct
    {
        int mode, unitKlx, radio;
        std::wstring meterText;
    } cases[] = {{CONV_NONE, -1, IDC_UNITS_TO_WM2, L""},
                 {CONV_NONE, 0, IDC_UNITS_TO_WM2, sends + L"W/m2"},
                 {CONV_NONE, 2, IDC_UNITS_TO_KLX, sends + L"kLx"},
                 {CONV_TO_KLX, 0, IDC_UNITS_TO_KLX, sends + L"W/m2"},
                 {7, 2, IDC_UNITS_TO_KLX, sends + L"kLx"}}; // an odd stored mode: as for none
    for (const auto& c : cases)
    {
        std::vector<bool> enabled;
        const Step look = [&](HWND dialog)
        {
            EXPECT_EQ(DialogDriver::TextOf(GetDlgItem(dialog, IDC_UNITS_METER_UNIT)), c.meterText);
            EXPECT_EQ(IsDlgButtonChecked(dialog, c.radio), UINT{BST_CHECKED}) << c.mode;
            for (int click = c.mode == CONV_NONE ? 0 : -1; click < 2; ++click)
            {
                enabled.push_back(IsWindowEnabled(GetDlgItem(dialog, IDC_UNITS_K)));
                SendDlgItemMessageW(dialog, IDC_UNITS_DEVICE_UNITS, BM_CLICK, 0, 0);
            }
            TypeAndOk(L"1.2.3")(dialog); // not read: the box ends ticked
        };
        EXPECT_EQ(RunUnits(panels, c.mode, c.unitKlx, {look}), std::vector<std::wstring>{L"2.000"});
        EXPECT_EQ(enabled, (c.mode == CONV_NONE ? std::vector<bool>{false, true}
                                                : std::vector<bool>{true, false, true}));
        EXPECT_TRUE(panels[1].units.conversionMode == CONV_NONE && panels[1].units.k == 2.0);
    }
}

} // namespace
