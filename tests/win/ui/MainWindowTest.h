#pragma once

// The main window opened modeless, as far as its initialisation. Without a stored port the port
// dialog would follow 500 ms after the window shows; these tests do not want it.

#include "tests/win/support/MessageSpy.h"
#include "ui/MainDlg.h"

#include <gtest/gtest.h>

#include <memory>

class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(window.Create());
        window.KillTimer(TIMER_PORT_RETRY);
        spy = std::make_unique<MessageSpy>(window.m_hWnd);
    }
    void TearDown() override
    {
        spy.reset();
        if (window.m_hWnd)
            DestroyWindow(window.m_hWnd);
    }
    std::string Status() const { return window.statusLine.GetWindowText(); }

    CMainDlg window;
    std::unique_ptr<MessageSpy> spy; // what the window is asked to do
};
