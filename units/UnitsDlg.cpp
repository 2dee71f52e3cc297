#include "units/UnitsDlg.h"

#include "res/Texts.h"
#include "res/resource.h"
#include "toolkit/WinApp.h"
#include "units/NumericText.h"

#include <string>

CUnitsDlg::CUnitsDlg(CWnd* parent) : CDialog(IDD_UNITS, parent) {}

void CUnitsDlg::BindControls()
{
    kEdit_.SubclassDlgItem(IDC_UNITS_K, *this);
}

bool CUnitsDlg::IsChecked(int id) const
{
    return IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED;
}

void CUnitsDlg::CheckRadio(int mode)
{
    conversionMode = mode;
    CheckRadioButton(m_hWnd, IDC_UNITS_TO_WM2, IDC_UNITS_TO_KLX,
                     mode == CONV_TO_KLX ? IDC_UNITS_TO_KLX : IDC_UNITS_TO_WM2);
}

BOOL CUnitsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CheckDlgButton(m_hWnd, IDC_UNITS_SHOW_LABEL, showUnitLabel ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(m_hWnd, IDC_UNITS_DEVICE_UNITS, showDeviceUnits ? BST_CHECKED : BST_UNCHECKED);

    // With the meter's own unit shown, the radio names the conversion that keeps that unit. A
    // stored mode that is no conversion at all is treated the same, so that one radio is on.
    const int preset = meterUnit == UNIT_KLX ? CONV_TO_KLX : CONV_TO_WM2;
    const bool knownMode = conversionMode == CONV_TO_WM2 || conversionMode == CONV_TO_KLX;
    CheckRadio(showDeviceUnits || !knownMode ? preset : conversionMode);

    std::string meterText;
    if (!noReadingYet)
        meterText = texts::METER_UNIT_BEFORE_NUMBER + std::to_string(deviceNumber) +
                    texts::METER_UNIT_AFTER_NUMBER + (meterUnit == UNIT_KLX ? "kLx" : "W/m2");
    SetDlgItemText(IDC_UNITS_METER_UNIT, meterText);
    kEdit_.SetWindowText(FixedPointText(k, K_DECIMALS));

    UpdateEnabling();
    return TRUE;
}

void CUnitsDlg::UpdateEnabling()
{
    showDeviceUnits = IsChecked(IDC_UNITS_DEVICE_UNITS);
    for (int id :
         {IDC_UNITS_TO_WM2, IDC_UNITS_TO_KLX, IDC_UNITS_FORMULA, IDC_UNITS_K_LABEL, IDC_UNITS_K})
        EnableWindow(GetDlgItem(id), !showDeviceUnits);
}

bool CUnitsDlg::OnCommand(UINT id, UINT code, HWND control)
{
    if (code != BN_CLICKED)
        return CDialog::OnCommand(id, code, control);
    switch (id)
    {
    case IDC_UNITS_DEVICE_UNITS:
        UpdateEnabling();
        return true;
    case IDC_UNITS_SHOW_LABEL:
        showUnitLabel = IsChecked(IDC_UNITS_SHOW_LABEL);
        return true;
    case IDC_UNITS_TO_WM2:
        conversionMode = CONV_TO_WM2;
        return true;
    case IDC_UNITS_TO_KLX:
        conversionMode = CONV_TO_KLX;
        return true;
    default:
        return CDialog::OnCommand(id, code, control);
    }
}

void CUnitsDlg::OnOK()
{
    if (!showDeviceUnits)
    {
        const double value = kEdit_.GetValue();
        if (value == NUMERIC_FORMAT_ERROR)
            return; // the field has said why
        if (!(value > 0.0))
        {
            AppMessageBox(texts::K_NOT_POSITIVE);
            return;
        }
        k = value;
    }
    CDialog::OnOK();
}

bool ChooseUnits(CWnd& owner, const MeterReading& reading, UnitOptions& options)
{
    CUnitsDlg dialog(&owner);
    dialog.k = options.k;
    dialog.showUnitLabel = options.showUnitLabel;
    dialog.conversionMode = options.conversionMode;
    dialog.showDeviceUnits = options.conversionMode == CONV_NONE;
    dialog.meterUnit = reading.unitKlx ? UNIT_KLX : UNIT_WM2;
    dialog.deviceNumber = reading.deviceNumber;
    dialog.noReadingYet = reading.noReadingYet != 0;
    if (dialog.DoModal() != IDOK)
        return false;
    options.conversionMode = dialog.showDeviceUnits ? CONV_NONE : dialog.conversionMode;
    options.showUnitLabel = dialog.showUnitLabel;
    options.k = dialog.k;
    return true;
}
