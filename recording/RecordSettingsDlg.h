#pragma once

// "Ustawienia zapisu do pliku": logging on or off, the log file, the column separator, the
// interval and the channels to log. Works on a copy of the recording settings; the caller takes
// the copy back only on OK.

#include "recording/RecordSettingsRules.h"
#include "toolkit/Dialog.h"

#include <functional>

class CRecordSettingsDlg : public CDialog
{
public:
    explicit CRecordSettingsDlg(CWnd* parent = nullptr);

    RecordingSettings settings;

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;

private:
    void EnableFields(bool enable) const;
    // The path and the interval are taken when their controls lose the focus.
    void TakePath();
    void TakeInterval();
    void ChooseFile();
    bool Checked(int id) const;
};

// The recording settings command: the dialog starts from `settings`; on OK `apply` takes the
// chosen settings. When it answers false (the file cannot be opened) the user is told and the
// dialog comes back, until the settings apply or the user cancels. True when they applied.
bool EditRecordingSettings(CWnd& owner, const RecordingSettings& settings,
                           const std::function<bool(const RecordingSettings&)>& apply);
