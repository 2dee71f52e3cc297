#pragma once

// CWnd: a C++ object bound to a window by subclassing. One virtual WindowProc per class dispatches
// with a switch to named handlers and passes the rest to Default (the window's own procedure).

#include <windows.h>

#include <string>

class CWnd
{
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object bound to a window, or null when the window has none.
    static CWnd* FromHandle(HWND hwnd);

    // Binds this object to an existing window; OnAttached runs once bound.
    bool SubclassWindow(HWND hwnd);
    bool SubclassDlgItem(int id, CWnd& parent);
    // Unbinds without destroying the window.
    HWND UnsubclassWindow();

    // Message pre-translation, called by the modal loop for the target window and its parents.
    virtual BOOL PreTranslateMessage(MSG* msg);

    // Thin wrappers; texts are UTF-8.
    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL ShowWindow(int command) const { return ::ShowWindow(m_hWnd, command); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE) const;
    void SetWindowText(const std::string& text) const;
    std::string GetWindowText() const;
    RECT GetClientRect() const;
    RECT GetWindowRect() const;
    BOOL RedrawWindow(UINT flags = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW) const;
    UINT_PTR SetTimer(UINT_PTR id, UINT milliseconds) const;
    BOOL KillTimer(UINT_PTR id) const { return ::KillTimer(m_hWnd, id); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    void SetDlgItemText(int id, const std::string& text) const;
    std::string GetDlgItemText(int id) const;
    void SetFont(HFONT font, BOOL redraw = TRUE) const;

protected:
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // The window's own processing of a message (the procedure that was there before binding).
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);

    // A notification from this control to its parent, offered here first ("reflection"):
    // WM_COMMAND, WM_NOTIFY and WM_CTLCOLOR*. Answer true and set result to keep the parent from
    // seeing it.
    virtual bool OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // Called once right after the object has been bound to its window.
    virtual void OnAttached() {}

    // Binds at window creation (before WM_NCCREATE); used by dialogs, which must see every message.
    void BindDuringCreation(HWND hwnd);

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR refData);
    static bool ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
    bool Bind(HWND hwnd);
};
