#pragma once

// The main window opened modeless, as far as its initialisation. The advert window and, without a
// stored port, the port dialog would follow it; these tests want neither.

#include "tests/win/support/MessageSpy.h"
#include "ui/MainDlg.h"
#include "ui/MainLayout.h"

#include <gtest/gtest.h>

#include <memory>

class MainWindowTest : public ::testing::Test
{
public:
    static AppSettings Quiet()
    {
        AppSettings settings;
        settings.showAdv = false; // the advert window would open 100 ms after the main window
        return settings;
    }

protected:
    explicit MainWindowTest(const AppSettings& settings = Quiet()) : window(settings) {}
    void SetUp() override
    {
        ASSERT_TRUE(window.Create());
        window.KillTimer(TIMER_PORT_RETRY);
        spy = std::make_unique<MessageSpy>(window.m_hWnd);
    }
    void TearDown() override { DestroyWindow(window.m_hWnd); }

    // The status line and the panels placed where the layout for this client size puts them.
    void ExpectLaidOut(int width, int height, bool twoPanels) const
    {
        const MainLayout layout = ComputeMainLayout(width, height, GetSystemMetrics(SM_CXDLGFRAME),
                                                    window.StatusLineHeight(), twoPanels);
        const std::pair<const CWnd*, LayoutRect> parts[] = {
            {&window.StatusLine(), layout.statusLine},
            {&window.Panel(0), layout.panel1},
            {&window.Panel(1), layout.panel2}};
        for (int i = 0; i < (twoPanels ? 3 : 2); ++i)
        {
            RECT r = parts[i].first->GetWindowRect();
            MapWindowPoints(nullptr, window.m_hWnd, reinterpret_cast<POINT*>(&r), 2);
            const LayoutRect& w = parts[i].second;
            const RECT want{w.x, w.y, w.x + w.width, w.y + w.height};
            EXPECT_TRUE(EqualRect(&r, &want)) << "part " << i;
        }
    }

    CMainDlg window;
    std::unique_ptr<MessageSpy> spy; // what the window is asked to do
};
