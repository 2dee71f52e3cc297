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

    int Count(UINT message) const
    {
        int n = 0;
        for (const MSG& m : seen_)
            n += m.message == message;
        return n;
    }
    int Count(UINT message, WPARAM wParam) const
    {
        int n = 0;
        for (const MSG& m : seen_)
            n += m.message == message && m.wParam == wParam;
        return n;
    }
    // The last such message; a zeroed MSG when there was none.
    MSG Last(UINT message) const
    {
        for (auto m = seen_.rbegin(); m != seen_.rend(); ++m)
            if (m->message == message)
                return *m;
        return MSG{};
    }

private:
    static constexpr UINT_PTR ID = 0x5350; // "SP"
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR self)
    {
        MSG m{};
        m.hwnd = hwnd;
        m.message = msg;
        m.wParam = wParam;
        m.lParam = lParam;
        reinterpret_cast<MessageSpy*>(self)->seen_.push_back(m);
        return DefSubclassProc(hwnd, msg, wParam, lParam);
    }

    HWND hwnd_;
    std::vector<MSG> seen_;
};
