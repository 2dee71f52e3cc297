#pragma once

// CDialog: a dialog from a template, run by a modal loop of its own so that every message first
// passes the PreTranslateMessage chain of its target window and that window's parents.

#include "toolkit/Wnd.h"

class CDialog : public CWnd
{
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    // An in-memory template (must outlive the dialog's window).
    explicit CDialog(const DLGTEMPLATE* dialogTemplate, CWnd* parent = nullptr);

    // Uses an in-memory template instead (must outlive the dialog's window).
    void InitModalIndirect(const DLGTEMPLATE* dialogTemplate) { template_ = dialogTemplate; }

    // Disables the owner, creates the dialog, runs the loop until EndDialog, enables the owner and
    // destroys the dialog. Answers the EndDialog result, or -1 when the dialog could not be
    // created.
    INT_PTR DoModal();
    // Creates the dialog modeless (no loop); false when the window could not be created.
    bool Create(CWnd* parent = nullptr);

    void EndDialog(INT_PTR result);
    bool IsModalLoopRunning() const { return inModalLoop_; }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // The standard initialisation binds the controls; answer TRUE to let the system set the focus.
    virtual BOOL OnInitDialog();
    // Data exchange: bind controls to their objects, in the order the dialog needs.
    virtual void BindControls() {}
    bool BindControl(int id, CWnd& control) { return control.SubclassDlgItem(id, *this); }

    // WM_COMMAND from a menu, an accelerator or a control; answer true when handled.
    virtual bool OnCommand(UINT id, UINT code, HWND control);
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }

private:
    static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam);
    HWND CreateWindowFromTemplate(HWND owner);
    bool PreTranslateChain(MSG* msg);
    void RunModalLoop();

    UINT templateId_ = 0;
    const DLGTEMPLATE* template_ = nullptr;
    CWnd* parent_ = nullptr;
    bool inModalLoop_ = false;
    bool ended_ = false;
    INT_PTR result_ = -1;
};
