#include "res/resource.h"
#include "tests/win/support/DialogDriver.h"
#include "units/UnitsDlg.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{

// The units command from `mode`, the label on and K = 2, after a reading in kLx or W/m2 (none
// yet: unitKlx < 0); the choice is left in `options`. Each time the dialog shows, its K field is
// noted and the next step answers it (Cancel when none is left); a message box has its text noted
// and gets OK.
std::vector<std::wstring> RunUnits(UnitOptions& options, int mode, int unitKlx,
                                   const std::vector<std::function<void(HWND)>>& steps)
{
    options = {mode, true, 2.0};
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
    ChooseUnits(owner, reading, options);
    return seen;
}

// Clicks `click` (when not 0), types the keys into the emptied K field, then OK.
std::function<void(HWND)> TypeAndOk(const std::wstring& keys, int click = 0)
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

TEST(UnitsDialog, TheMetersUnitsDisableTheConversionAndARefusedKKeepsTheDialogOpen)
{
    UnitOptions options;
    const std::wstring sends = L"Miernik QM-700 nr 55 przesyła wynik wyrażony w jednostkach ";
    const auto check = [&](int mode, int unitKlx, int radio, const std::wstring& meterText)
    {
        SCOPED_TRACE(mode);
        const bool ticked = mode == CONV_NONE;
        const auto look = [&](HWND dialog)
        {
            EXPECT_EQ(DialogDriver::TextOf(GetDlgItem(dialog, IDC_UNITS_METER_UNIT)), meterText);
            EXPECT_EQ(IsDlgButtonChecked(dialog, radio), UINT{BST_CHECKED});
            EXPECT_NE(IsWindowEnabled(GetDlgItem(dialog, IDC_UNITS_K)), ticked);
            SendDlgItemMessageW(dialog, IDC_UNITS_DEVICE_UNITS, BM_CLICK, 0, 0);
            EXPECT_EQ(IsWindowEnabled(GetDlgItem(dialog, IDC_UNITS_K)), ticked);
            // Ticked again: OK applies the meter's units and keeps K without reading the field.
            TypeAndOk(L"1.2.3", ticked ? IDC_UNITS_DEVICE_UNITS : 0)(dialog);
        };
        EXPECT_EQ(RunUnits(options, mode, unitKlx, {look}), std::vector<std::wstring>{L"2.000"});
        EXPECT_TRUE(options.conversionMode == CONV_NONE && options.k == 2.0);
    };
    check(CONV_NONE, -1, IDC_UNITS_TO_WM2, L"");
    check(CONV_NONE, 2, IDC_UNITS_TO_KLX, sends + L"kLx");
    check(CONV_TO_KLX, 0, IDC_UNITS_TO_KLX, sends + L"W/m2");

    // ',' is typed as the separator and a letter is swallowed: "1,4769", cut to K's decimals.
    EXPECT_EQ(RunUnits(options, CONV_TO_WM2, 0,
                       {TypeAndOk(L"1.2.3", IDC_UNITS_TO_KLX), TypeAndOk(L"-0.5"),
                        TypeAndOk(L"1,4x769")}),
              (std::vector<std::wstring>{L"2.000", L"Nieprawidłowy format danych.", L"1.2.3",
                                         L"Wartość współczynnika K powinna być większa od zera",
                                         L"-0.500"}));
    EXPECT_TRUE(options.conversionMode == CONV_TO_KLX && options.k == 1.476);
}

} // namespace
