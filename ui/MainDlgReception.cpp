// Reception: the bytes of the meter, one window message each, become frames, readings on the
// panels and the status line; a watchdog notices when good frames stop coming.

#include "ui/MainDlg.h"

namespace
{
constexpr int HIGHEST_RANGE_CODE = 3;
}

void CMainDlg::OnMeterByte(unsigned char byte)
{
    const FrameOutcome outcome = assembler.Feed(byte, decoder);
    if (outcome == FrameOutcome::NothingYet)
        return;
    if (outcome == FrameOutcome::GoodFrame)
        OnGoodFrame(assembler.LastLength());
    else
        OnBadFrame();
    UpdateStatusLine();
    CheckLayout();
}

void CMainDlg::OnGoodFrame(int length)
{
    const MeterReading& r = decoder.reading;
    twoChannelMode = length == FrameAssembler::TWO_CHANNEL_FRAME ? 1 : 0;
    linkLost = 0;

    if (!twoChannelMode)
    {
        reading1 = r.value1;
        panel1.SetUnitCode(r.unitKlx ? UNIT_KLX : UNIT_WM2);
        // Blinking first, then the value, so that a new error shows with its value.
        panel1.SetBlinking(r.calibrationError != 0 || r.measurementError != 0);
        panel1.SetReading(reading1);
    }
    else
    {
        reading1 = r.value1;
        reading2 = r.value2;
        // An undefined range code leaves the panel's unit as it was.
        if (r.range1 <= HIGHEST_RANGE_CODE)
            panel1.SetUnitCode(r.range1 + 1);
        if (r.range2 <= HIGHEST_RANGE_CODE)
            panel2.SetUnitCode(r.range2 + 1);
        panel1.SetBlinking(r.calibrationError != 0 || r.measurementError1 != 0);
        panel1.SetReading(reading1);
        if (r.secondChannel)
        {
            panel2.SetBlinking(r.calibrationError != 0 || r.measurementError2 != 0);
            panel2.SetReading(reading2);
        }
    }

    if (watchdogTimerId)
        KillTimer(watchdogTimerId);
    watchdogTimerId = SetTimer(TIMER_WATCHDOG, WATCHDOG_PERIOD_MS);
}

void CMainDlg::OnBadFrame()
{
    // A damaged frame means the meter cannot be trusted right now; the watchdog runs on as it was.
    linkLost = 1;
    panel1.ClearReading();
    panel1.SetBlinking(true);
    panel2.ClearReading();
    panel2.SetBlinking(true);
}

void CMainDlg::CheckLayout()
{
    const int secondChannel = decoder.reading.secondChannel;
    if (twoChannelMode == previousChannelMode && secondChannel == previousSecondChannel)
        return;
    previousChannelMode = twoChannelMode;
    previousSecondChannel = secondChannel;
    panel2.ShowWindow(twoChannelMode == 1 && secondChannel != 0 ? SW_SHOW : SW_HIDE);
    if (maximisedFlag)
        SendMessage(WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(maximisedSize.cx, maximisedSize.cy));
    else
        SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(restoredSize.cx, restoredSize.cy));
}

void CMainDlg::OnWatchdog()
{
    // Not killed: it keeps firing every period until a good frame restarts it.
    panel1.ClearReading();
    panel1.SetBlinking(true);
    panel2.ClearReading();
    panel2.SetBlinking(true);
    assembler.Reset();
    linkLost = 1;
    UpdateStatusLine();
}
