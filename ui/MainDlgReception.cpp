// Reception: each byte of the meter, one window message each, and each tick of the watchdog go to
// the meter link; the panels, the layout and the status line show what it answers. The same link
// decides when the port is opened again after its device went away or fell silent.

#include "ui/MainDlg.h"

#include <dbt.h>

void CMainDlg::OnMeterByte(unsigned char byte)
{
    Show(link_.Feed(byte, GetTickCount64()));
}

void CMainDlg::OnWatchdog()
{
    // Not killed: it keeps firing every period until a good frame restarts it.
    Show(link_.WatchdogExpired());
}

void CMainDlg::Show(const LinkUpdate& update)
{
    if (update.outcome == FrameOutcome::GoodFrame)
    {
        panel1_.SetUnitCode(link_.UnitCode(0));
        panel2_.SetUnitCode(link_.UnitCode(1));
    }
    CReadingPanel* panels[] = {&panel1_, &panel2_};
    for (int i = 0; i < 2; ++i)
    {
        const PanelChange& change = update.panels[i];
        if (!change.touched)
            continue;
        if (change.clear)
        {
            panels[i]->ClearReading();
            panels[i]->SetBlinking(change.blinking);
            continue;
        }
        // Blinking first, then the value, so that a new error shows with its value.
        panels[i]->SetBlinking(change.blinking);
        panels[i]->SetReading(change.value);
    }
    if (update.restartWatchdog)
    {
        if (watchdogTimerId_)
            KillTimer(watchdogTimerId_);
        watchdogTimerId_ = SetTimer(TIMER_WATCHDOG, MeterLink::WATCHDOG_PERIOD_MS);
    }
    if (update.statusChanged)
        UpdateStatusLine();
    if (update.layoutChanged)
        LayOut();
}

void CMainDlg::LayOut()
{
    panel2_.ShowWindow(link_.SecondPanelShown() ? SW_SHOW : SW_HIDE);
    const SIZE size = maximised_ ? maximisedSize_ : restoredSize_;
    SendMessage(WM_SIZE, maximised_ ? SIZE_MAXIMIZED : SIZE_RESTORED, MAKELPARAM(size.cx, size.cy));
}

void CMainDlg::ReopenPort()
{
    // Quietly: a user who left the meter logging is not asked anything at every attempt.
    OpenPort(keptPort_);
    UpdateStatusLine();
}

void CMainDlg::OnReconnectTick()
{
    if (keptPort_ > 0 && link_.ReopenDue(GetTickCount64()))
        ReopenPort();
    else
        UpdateStatusLine(); // the reconnecting note appears once the meter has been silent long
}

void CMainDlg::OnPortDead(int port)
{
    // Its worker has ended; the port object goes at the next reopening.
    if (!serialPort_ || serialPort_->PortNumber() != port)
        return;
    link_.PortDied();
    UpdateStatusLine();
}

void CMainDlg::OnDeviceChange(WPARAM event, LPARAM data)
{
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    if (event != DBT_DEVICEARRIVAL || !header || header->dbch_devicetype != DBT_DEVTYP_PORT)
        return;
    // A port came back: the meter's, perhaps. Tried at once rather than at the next period.
    if (keptPort_ > 0 && link_.Reconnecting(GetTickCount64()))
        ReopenPort();
}
