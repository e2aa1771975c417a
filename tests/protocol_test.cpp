// The print side's messages, sent from this process to the real monitor
// as the print side sends them; results, texts, state and window effects.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

#include "help_spy.h"
#include "lumeview/protocol.h"
#include "monitor_copy.h"
#include "polling.h"
#include "resource.h"
#include "settings_text.h"

namespace {

// A step that must change nothing is judged only after the monitor has
// painted what it invalidated and finished that paint: the panel has no
// update region left and a message sent after it has been answered.
void WaitForPanelPaint(MonitorCopy& monitor)
{
    HWND panel = monitor.Panel();
    ASSERT_TRUE(Eventually([&] { return !GetUpdateRect(panel, nullptr, FALSE); })) << "the panel never painted";
    bool answered = false;
    monitor.Send(WM_NULL, 0, 0, 5000, &answered);
    ASSERT_TRUE(answered) << "no answer after the paint";
}

}  // namespace

TEST(SetState, RefusesUnknownStatesAndKeepsTheCurrentOne)
{
    HelpSpy spy;
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
    EXPECT_EQ(1, monitor.Send(LVWM_SETSTATE, Ready));
    EXPECT_EQ(Ready, ObservedDeviceState(monitor, spy));
    EXPECT_EQ(1, monitor.Send(LVWM_SETSTATE, Warning));
    EXPECT_EQ(Warning, ObservedDeviceState(monitor, spy));
    EXPECT_EQ(0, monitor.Send(LVWM_SETSTATE, 3));
    EXPECT_EQ(0, monitor.Send(LVWM_SETSTATE, 0xFFFFFFFF));
    EXPECT_EQ(Warning, ObservedDeviceState(monitor, spy));
    EXPECT_EQ(1, monitor.Send(LVWM_SETSTATE, Warning));
    EXPECT_EQ(1, monitor.Send(LVWM_SETSTATE, Error));
    EXPECT_EQ(Error, ObservedDeviceState(monitor, spy));
    EXPECT_EQ(1, monitor.Send(LVWM_APPINIT));
    EXPECT_EQ(Ready, ObservedDeviceState(monitor, spy)) << "a reset sets Ready";
    EXPECT_EQ(L"Disponible", monitor.ControlText(IDC_STATUS_TEXT));
}

TEST(StatusReport, PaperJamShowsTextSetsErrorAndKeepsFocusInPanel)
{
    HelpSpy spy;
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(ModeSettings(0)));
    ShowWindow(monitor.window, SW_HIDE);
    EXPECT_EQ(1, monitor.Send(LVWM_ERROR, OPECALL_RECOVER, 2));
    EXPECT_TRUE(IsWindowVisible(monitor.window));
    EXPECT_EQ(L"Incident papier", monitor.ControlText(IDC_STATUS_TEXT));
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(monitor.window, nullptr), &gui));
    EXPECT_TRUE(gui.hwndFocus == monitor.Panel() || IsChild(monitor.Panel(), gui.hwndFocus));
    EXPECT_EQ(Error, ObservedDeviceState(monitor, spy));
}

TEST(ShowPolicy, ReportsAndOperationsByMode)
{
    enum Sent { Report, Printing, Scanning, Copying, PowerSave, PrintingHighBits };
    struct Case {
        int mode;
        Sent sent;
        bool shows;
    } cases[] = {
        {0, Report, true}, {0, Printing, true}, {0, PrintingHighBits, true}, {0, Scanning, false}, {0, Copying, false}, {0, PowerSave, false},
        {1, Report, true}, {1, Printing, true}, {1, Scanning, true}, {1, Copying, true}, {1, PowerSave, true},
        {2, Report, true}, {2, Printing, true}, {2, Scanning, false},
        {7, Report, false}, {7, Printing, false}, {7, Scanning, false},
    };
    MonitorCopy monitor;
    int runningMode = -1;
    for (const Case& c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode) + " message " + std::to_string(c.sent));
        if (c.mode != runningMode) {
            if (runningMode >= 0) {
                monitor.Send(LVWM_APPCLOSE);
                monitor.WaitForExit();
            }
            ASSERT_TRUE(monitor.StartWith(ModeSettings(c.mode)));
            runningMode = c.mode;
        }
        ShowWindow(monitor.window, SW_HIDE);
        ASSERT_FALSE(IsWindowVisible(monitor.window));
        switch (c.sent) {
        case Report:
            EXPECT_EQ(1, monitor.Send(LVWM_ERROR, 0, 0));
            break;
        case Printing:
            EXPECT_EQ(1, monitor.Send(LVWM_OPERATION, LV_OP_PRINTING));
            break;
        case Scanning:
            EXPECT_EQ(1, monitor.Send(LVWM_OPERATION, LV_OP_SCANNING));
            break;
        case Copying:
            EXPECT_EQ(1, monitor.Send(LVWM_OPERATION, LV_OP_COPYING));
            break;
        case PowerSave:
            EXPECT_EQ(1, monitor.Send(LVWM_OPERATION, LV_OP_PSAVEMODE));
            break;
        case PrintingHighBits:
            EXPECT_EQ(1, monitor.Send(LVWM_OPERATION, 0x00050000 | LV_OP_PRINTING));
            break;
        }
        EXPECT_EQ(c.shows, IsWindowVisible(monitor.window) != FALSE);
    }
    monitor.Send(LVWM_APPCLOSE);
    EXPECT_EQ(0u, monitor.WaitForExit());
}

TEST(Operation, EndClosesTheMonitorUnlessAlwaysShown)
{
    for (int mode : {0, 1, 2, 7}) {
        SCOPED_TRACE("mode " + std::to_string(mode));
        MonitorCopy monitor;
        ASSERT_TRUE(monitor.StartWith(ModeSettings(mode)));
        monitor.Send(LVWM_PROGRESS, LV_PROGRESS_DONE, 3);
        monitor.Send(LVWM_PROGRESS, LV_PROGRESS_TOTAL, 12);
        monitor.Send(LVWM_OPERATION, LV_OP_PRINTING);
        EXPECT_EQ(L"Impression en cours", monitor.ControlText(IDC_STATUS_TEXT));
        bool answered = false;
        EXPECT_EQ(1, monitor.Send(LVWM_OPERATION, 0x00050000 | LV_OP_ENDED, 0, 10000, &answered));
        EXPECT_TRUE(answered);
        if (mode == 1) {
            EXPECT_TRUE(monitor.Running());
            EXPECT_EQ(L"Disponible", monitor.ControlText(IDC_STATUS_TEXT));
            EXPECT_TRUE(Eventually([&] { return monitor.ControlText(IDC_PAGES_TEXT).empty(); }))
                << "the end of an operation resets the total";
            monitor.Send(LVWM_PROGRESS, LV_PROGRESS_TOTAL, 12);
            EXPECT_TRUE(Eventually([&] { return monitor.ControlText(IDC_PAGES_TEXT) == L"3 de 12"; }))
                << "and keeps the pages done";
            monitor.Send(LVWM_APPCLOSE);
        }
        EXPECT_EQ(0u, monitor.WaitForExit());
    }
}

TEST(Operation, UnlistedCodeKeepsTheTextAndSetsReady)
{
    HelpSpy spy;
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
    monitor.Send(LVWM_ERROR, OPECALL_WARNING, 1);
    std::wstring warning = monitor.ControlText(IDC_STATUS_TEXT);
    EXPECT_EQ(Warning, ObservedDeviceState(monitor, spy));
    EXPECT_EQ(1, monitor.Send(LVWM_OPERATION, 77));
    EXPECT_EQ(warning, monitor.ControlText(IDC_STATUS_TEXT));
    EXPECT_EQ(Ready, ObservedDeviceState(monitor, spy));
}

TEST(Progress, CountsWriteThePagesLineAndOtherKindsAreRefused)
{
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
    EXPECT_EQ(0, monitor.Send(LVWM_PROGRESS, 3, 5));
    EXPECT_EQ(0, monitor.Send(LVWM_PROGRESS, 0, 5));
    EXPECT_EQ(1, monitor.Send(LVWM_PROGRESS, LV_PROGRESS_DONE, 3));
    EXPECT_EQ(1, monitor.Send(LVWM_PROGRESS, LV_PROGRESS_TOTAL, 12));
    EXPECT_TRUE(Eventually([&] { return monitor.ControlText(IDC_PAGES_TEXT) == L"3 de 12"; }));
    EXPECT_EQ(1, monitor.Send(LVWM_PROGRESS, LV_PROGRESS_DONE, 7));
    EXPECT_EQ(1, monitor.Send(LVWM_PROGRESS, LV_PROGRESS_TOTAL, 5));
    EXPECT_TRUE(Eventually([&] { return monitor.ControlText(IDC_PAGES_TEXT) == L"7 de 5"; }));
    // No page done yet, or fewer: no line.
    EXPECT_EQ(1, monitor.Send(LVWM_PROGRESS, LV_PROGRESS_DONE, 0));
    EXPECT_TRUE(Eventually([&] { return monitor.ControlText(IDC_PAGES_TEXT).empty(); }));
    EXPECT_EQ(1, monitor.Send(LVWM_PROGRESS, LV_PROGRESS_DONE, 4));
    EXPECT_TRUE(Eventually([&] { return monitor.ControlText(IDC_PAGES_TEXT) == L"4 de 5"; }));
    EXPECT_EQ(1, monitor.Send(LVWM_PROGRESS, LV_PROGRESS_DONE, -2));
    EXPECT_TRUE(Eventually([&] { return monitor.ControlText(IDC_PAGES_TEXT).empty(); }));
    EXPECT_EQ(1, monitor.Send(LVWM_PROGRESS, LV_PROGRESS_DONE, 2147483647));
    EXPECT_EQ(1, monitor.Send(LVWM_PROGRESS, LV_PROGRESS_TOTAL, 2147483647));
    EXPECT_TRUE(Eventually([&] { return monitor.ControlText(IDC_PAGES_TEXT) == L"2147483647 de 2147483647"; }));
}

TEST(JobWindow, RegistrationEnablesTheCancelButton)
{
    HWND job = CreateWindowA("STATIC", "job", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    HWND other = CreateWindowA("STATIC", "other", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    struct Step {
        WPARAM wParam;
        HWND handle;
        bool enabled;
    } steps[] = {
        {LV_JOB_REGISTER, job, true},
        {LV_JOB_UNREGISTER, other, true},
        {2, job, true},
        {LV_JOB_UNREGISTER, job, false},
        {LV_JOB_REGISTER, other, true},
        {0x00010000, other, false},
        {LV_JOB_REGISTER, job, true},
        {LV_JOB_REGISTER, nullptr, false},
    };
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
    WaitForPanelPaint(monitor);
    EXPECT_FALSE(IsWindowEnabled(monitor.Control(IDC_CANCEL_JOB))) << "no job window: the first paint disables the button";
    for (const Step& step : steps) {
        SCOPED_TRACE("wParam " + std::to_string(step.wParam));
        EXPECT_EQ(1, monitor.Send(LVWM_JOBWINDOW, step.wParam, reinterpret_cast<LPARAM>(step.handle)));
        WaitForPanelPaint(monitor);
        EXPECT_EQ(step.enabled, IsWindowEnabled(monitor.Control(IDC_CANCEL_JOB)) != FALSE);
    }
    DestroyWindow(job);
    DestroyWindow(other);
}

TEST(StandardMessages, ResultsOfTheMainWindow)
{
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
    EXPECT_EQ(1, monitor.Send(WM_SYSCOLORCHANGE));
    EXPECT_EQ(1, monitor.Send(WM_SETFOCUS));
    EXPECT_EQ(1, monitor.Send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(10, 10)));
    EXPECT_EQ(1, monitor.Send(LVWM_APPSHOW));
    EXPECT_EQ(1, monitor.Send(LVWM_ALERT, 0));
    EXPECT_EQ(0, monitor.Send(LVWM_CANCELJOB, 1, 0)) << "not a message the monitor handles";
    EXPECT_EQ(1, monitor.Send(LVWM_APPMINIMUM));
    EXPECT_TRUE(IsIconic(monitor.window));
    EXPECT_EQ(1, monitor.Send(WM_QUERYOPEN));
}

TEST(MessageRange, AnyMessageAndParameterLeavesTheMonitorAnswering)
{
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(MonitorSettings().Key("event_notification_type", 1).Text()));
    HWND dead = CreateWindowA("STATIC", "gone", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(dead);
    const LPARAM values[] = {0, 1, 2, 3, 10, 30, -1, -2147483647 - 1, 0x7FFFFFFF, 0x00010001,
                             reinterpret_cast<LPARAM>(dead)};
    std::mt19937 random(11);
    for (int i = 0; i < 3000; ++i) {
        UINT message = WM_USER + random() % 260;
        if (message == LVWM_APPCLOSE || message == LVWM_APPMINIMUM || message == LVWM_OPERATION)
            continue;
        WPARAM wParam = static_cast<WPARAM>(values[random() % 11]);
        LPARAM lParam = values[random() % 11];
        bool answered = false;
        monitor.Send(message, wParam, lParam, 10000, &answered);
        ASSERT_TRUE(answered) << "message " << message << " (" << wParam << ", " << lParam << ")";
    }
    EXPECT_TRUE(monitor.Running());
    EXPECT_EQ(1, monitor.Send(LVWM_APPINIT));
    EXPECT_EQ(L"Disponible", monitor.ControlText(IDC_STATUS_TEXT));
}
