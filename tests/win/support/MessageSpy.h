#pragma once

// Records the messages a window receives, by one more subclass in front of its own procedure, so
// that tests can count paints, timers and re-layouts without hooks in the code under test.

#include <windows.h>

#include <commctrl.h>

#include <vector>

class MessageSpy
{
public:
    explicit MessageSpy(HWND hwnd) : hwnd_(hwnd)
    {
        SetWindowSubclass(hwnd_, Proc, ID, reinterpret_cast<DWORD_PTR>(this));
    }
    ~MessageSpy() { RemoveWindowSubclass(hwnd_, Proc, ID); }
    MessageSpy(const MessageSpy&) = delete;
    MessageSpy& operator=(const MessageSpy&) = delete;

    static constexpr WPARAM ANY = ~WPARAM{0};
    // How many such messages came (with that wParam when one is given).
    int Count(UINT message, WPARAM wParam = ANY) const
    {
        int count = 0;
        for (const MSG& m : seen_)
            count += m.message == message && (wParam == ANY || m.wParam == wParam);
        return count;
    }

private:
    static constexpr UINT_PTR ID = 0x5350; // "SP"
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR self)
    {
        reinterpret_cast<MessageSpy*>(self)->seen_.push_back(MSG{hwnd, msg, wParam, lParam, 0, {}});
        return DefSubclassProc(hwnd, msg, wParam, lParam);
    }

    HWND hwnd_;
    std::vector<MSG> seen_;
};
