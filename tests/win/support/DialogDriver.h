#pragma once

// Answers the modal dialogs and message boxes that the code under test opens on this thread: every
// few milliseconds, from inside whatever message loop is running, the topmost visible and enabled
// dialog (other than the ones to leave alone) is handed to a script that answers it. A dialog that
// stays open (a refused OK) is handed over again once it is enabled again, after a pause.

#include <windows.h>

#include <functional>
#include <map>
#include <set>
#include <string>

class DialogDriver
{
public:
    // The script gets the dialog and its caption; it answers it (posts a command) and may note
    // what it saw.
    using Script = std::function<void(HWND dialog, const std::wstring& caption)>;

    explicit DialogDriver(Script script, std::set<HWND> leaveAlone = {})
        : script_(std::move(script)), leaveAlone_(std::move(leaveAlone))
    {
        current_ = this;
    }
    ~DialogDriver()
    {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    static std::wstring TextOf(HWND hwnd)
    {
        wchar_t text[512] = {};
        GetWindowTextW(hwnd, text, 512);
        return text;
    }
    // The text of the message in a message box: its last static with a text, not an icon.
    static std::wstring MessageOf(HWND box)
    {
        HWND found = nullptr;
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        {
            wchar_t cls[32] = {};
            GetClassNameW(child, cls, 32);
            const bool icon = (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
            if (std::wstring(cls) == L"Static" && !icon && GetWindowTextLengthW(child) > 0)
                found = child;
        }
        return TextOf(found);
    }
    static void Press(HWND dialog, int id)
    {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        if (!current_ || current_->busy_)
            return;
        // The top-level windows from the top of the z-order down.
        HWND found = GetTopWindow(nullptr);
        for (wchar_t cls[16] = {}; found; found = GetWindow(found, GW_HWNDNEXT))
            if (GetWindowThreadProcessId(found, nullptr) == GetCurrentThreadId() &&
                GetClassNameW(found, cls, 16) && std::wstring(cls) == L"#32770" &&
                IsWindowVisible(found) && IsWindowEnabled(found) &&
                !current_->leaveAlone_.count(found))
                break;
        const ULONGLONG now = GetTickCount64();
        ULONGLONG& last = current_->handedOver_[found]; // 0 for a dialog not met before
        if (!found || now - last < 200)
            return;
        last = now;
        current_->busy_ = true;
        current_->script_(found, TextOf(found));
        current_->busy_ = false;
    }

    static inline DialogDriver* current_ = nullptr;
    Script script_;
    std::set<HWND> leaveAlone_;
    std::map<HWND, ULONGLONG> handedOver_;
    UINT_PTR timer_ = SetTimer(nullptr, 0, 20, &DialogDriver::Tick);
    bool busy_ = false;
};
