#pragma once

// The units dialog ("Jednostka"): the unit the meter sends, or a conversion between kLx and W/m2
// with the coefficient K, with or without the unit label. It works on copies: the caller fills the
// members, and reads them back after IDOK.

#include "meter/MeterReading.h"
#include "toolkit/Dialog.h"
#include "units/NumericEdit.h"
#include "units/UnitModel.h"

constexpr int K_DECIMALS = 3;

class CUnitsDlg : public CDialog
{
public:
    explicit CUnitsDlg(CWnd* parent);

    double k = DEFAULT_K;
    bool showDeviceUnits = true; // check box 1006: show what the meter sends, no conversion
    bool noReadingYet = true;
    int deviceNumber = 0;
    int meterUnit = UNIT_WM2;         // UNIT_KLX or UNIT_WM2, as the latest one-channel reading
    int conversionMode = CONV_TO_WM2; // the radio: CONV_TO_WM2 or CONV_TO_KLX
    bool showUnitLabel = true;        // check box 1007

protected:
    void BindControls() override;
    BOOL OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    void OnOK() override;

private:
    bool IsChecked(int id) const;
    void CheckRadio(int mode);
    // Reads 1006 and enables the conversion's controls only while it is unticked.
    void UpdateEnabling();

    CNumericEdit kEdit_{K_DECIMALS};
};

// The units command: the dialog starts from `options` and the latest reading; on OK the choice
// is written back to `options` and the answer is true.
bool ChooseUnits(CWnd& owner, const MeterReading& reading, UnitOptions& options);
