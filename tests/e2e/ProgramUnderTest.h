#pragma once

// QM7xx.exe started as a process of its own and watched from outside: its main window is found
// among the top-level windows, read with cross-process messages and driven with posted commands,
// as a user's clicks would drive it.

#include "res/resource.h"
#include "toolkit/Handles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

std::wstring WindowText(HWND window);

class ProgramUnderTest
{
public:
    explicit ProgramUnderTest(const std::wstring& exePath);
    // A program still running (a failed case) is ended, so that it cannot hold the port.
    ~ProgramUnderTest();
    ProgramUnderTest(const ProgramUnderTest&) = delete;
    ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;

    // Why the start or the search for the main window failed.
    const std::string& Failure() const { return failure_; }

    // Waits for the visible main window: a top-level dialog of this process with the caption
    // "QM7xx" (the start-up picture, shown first for 3 s, has none). False when the program could
    // not start, ended first or showed no window in time.
    bool WaitForMainWindow(DWORD timeoutMs);
    HWND MainWindow() const { return main_; }

    std::wstring StatusText() const { return WindowText(GetDlgItem(main_, IDC_STATUS)); }
    bool IsShown(int controlId) const { return IsWindowVisible(GetDlgItem(main_, controlId)); }
    RECT WindowRect() const { return Rect(main_); }
    // Relative to the main window's top-left corner.
    RECT ControlRect(int controlId) const;

    // A menu choice: posted, so that a command that opens a modal dialog does not block the probe.
    void Command(UINT commandId) const { PostMessageW(main_, WM_COMMAND, commandId, 0); }
    // The close box of the caption bar.
    void CloseBox() const { PostMessageW(main_, WM_SYSCOMMAND, SC_CLOSE, 0); }
    // The visible top-level dialogs of the program with this caption (not the main window), and
    // the first of them or null.
    std::vector<HWND> Dialogs(const std::wstring& caption) const;
    HWND FindDialog(const std::wstring& caption) const
    {
        const std::vector<HWND> found = Dialogs(caption);
        return found.empty() ? nullptr : found[0];
    }

    // Waits for the process to end; its exit code, or nothing on time-out.
    std::optional<DWORD> WaitForExit(DWORD timeoutMs);

private:
    static RECT Rect(HWND window)
    {
        RECT rect{};
        GetWindowRect(window, &rect);
        return rect;
    }

    std::string failure_;
    DWORD processId_ = 0;
    UniqueHandle process_;
    HWND main_ = nullptr;
};

// The start-up picture alone takes 3 s, and Wine needs a moment to start a process.
constexpr DWORD START_TIMEOUT_MS = 20000;
constexpr DWORD EXIT_TIMEOUT_MS = 10000;
constexpr DWORD READING_TIMEOUT_MS = 8000;

// The status line reads `expected` within the time.
::testing::AssertionResult StatusBecomes(const ProgramUnderTest& program,
                                         const std::wstring& expected,
                                         DWORD timeoutMs = READING_TIMEOUT_MS);
// The program ends with exit code 0 within EXIT_TIMEOUT_MS.
::testing::AssertionResult EndsNormally(ProgramUnderTest& program);
// A click on a button of another process's dialog.
void Press(HWND dialog, int buttonId);
