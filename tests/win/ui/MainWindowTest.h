#pragma once

// The main window opened modeless, as far as its initialisation. The advert window and, without a
// stored port, the port dialog would follow it; these tests want neither.

#include "tests/win/support/MessageSpy.h"
#include "ui/MainDlg.h"

#include <gtest/gtest.h>

#include <memory>

class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.showAdv = 0; // the advert window would open 100 ms after the main window
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
