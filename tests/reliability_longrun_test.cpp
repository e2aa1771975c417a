// A long run: ten thousand resets, state changes and progress updates.
// The real monitor's memory stays flat; hosted in this process, where its
// GDI objects can be counted, every object it replaces is released.
#include <gtest/gtest.h>

#include "lumeview/protocol.h"
#include "monitor_copy.h"
#include "monitor_messages.h"
#include "process_metrics.h"
#include "resource.h"
#include "settings_text.h"
#include "shell/monitor_windows.h"
#include "state/current_dialog.h"
#include "state/monitor_state.h"
#include "state/window_object.h"
#include "ui/panel_brushes.h"
#include "ui/status_panel.h"

namespace {

const int kRounds = 10000;
const int kWarmUpRounds = 300;
const int kRoundsBetweenReadings = 1000;

// One round: a state change away from Ready, a progress update, and a
// reset, which is a state change back to Ready.
void SendRound(MonitorCopy& monitor, int round)
{
    bool answered = false;
    ASSERT_EQ(1, monitor.Send(LVWM_SETSTATE, round % 2 ? Warning : Error, 0, 10000, &answered)) << "round " << round;
    ASSERT_EQ(1, monitor.Send(LVWM_PROGRESS, round % 2 ? LV_PROGRESS_DONE : LV_PROGRESS_TOTAL, round, 10000,
                              &answered)) << "round " << round;
    ASSERT_EQ(1, monitor.Send(LVWM_APPINIT, 0, 0, 10000, &answered)) << "round " << round;
}

// The monitor's main window and panel, made in this process as start-up
// makes them.
class HostedMonitor {
public:
    HostedMonitor()
    {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        monitorState.platformId = VER_PLATFORM_WIN32_NT;
        monitorState.notificationMode = NotifyAlways;
        RegisterMainClass(instance, "LUMEVIEW_LONG_RUN");
        CreateMonitorWindows(instance, "LUMEVIEW_LONG_RUN");
        panel = panelWindowObject.window;
        currentDialog = panel;
        ShowWindow(mainWindowObject.window, SW_SHOWNOACTIVATE);
        UpdateWindow(mainWindowObject.window);
        PumpMonitorMessages();
    }
    ~HostedMonitor()
    {
        DestroyWindow(mainWindowObject.window);
        PumpMonitorMessages();
    }
    HostedMonitor(const HostedMonitor&) = delete;
    HostedMonitor& operator=(const HostedMonitor&) = delete;

    // A round as SendRound. A paint takes some milliseconds here, so one
    // round in twenty paints what the rounds before it asked for.
    void Round(int round)
    {
        HWND window = mainWindowObject.window;
        SendMessageA(window, LVWM_SETSTATE, round % 2 ? Warning : Error, 0);
        SendMessageA(window, LVWM_PROGRESS, round % 2 ? LV_PROGRESS_DONE : LV_PROGRESS_TOTAL, round);
        SendMessageA(window, LVWM_APPINIT, 0, 0);
        if (round % 10 == 0)
            SendMessageA(window, WM_SYSCOLORCHANGE, 0, 0);
        if (round % 20 == 0) {
            UpdateWindow(window);
            PumpMonitorMessages();
        }
    }

    HWND panel = nullptr;
};

}  // namespace

TEST(ReliabilityLongRun, RealMonitorMemoryStaysFlatOverThirtyThousandMessages)
{
    MonitorCopy monitor(Platform::NT, "long_run");
    monitor.WriteIni(MonitorSettings().Key("event_notification_type", 1).Key("sound_audio_alert", 0).Text());
    ASSERT_NE(nullptr, monitor.StartAndWait());
    for (int round = 0; round < kWarmUpRounds; ++round) {
        SendRound(monitor, round);
        ASSERT_FALSE(testing::Test::HasFatalFailure());
    }
    GrowthTrend workingSet;
    GrowthTrend privateBytes;
    for (int round = 0; round <= kRounds; ++round) {
        if (round % kRoundsBetweenReadings == 0) {
            ProcessMemory memory = MemoryOf(monitor.process.hProcess);
            ASSERT_NE(0u, memory.workingSet) << "GetProcessMemoryInfo gave nothing";
            workingSet.Add(static_cast<double>(memory.workingSet));
            privateBytes.Add(static_cast<double>(memory.privateBytes));
        }
        if (round < kRounds)
            SendRound(monitor, round);
        ASSERT_FALSE(testing::Test::HasFatalFailure());
    }
    EXPECT_LE(workingSet.MedianStep(), kMemoryStepBound) << "working set grows by rounds";
    EXPECT_LE(privateBytes.MedianStep(), kMemoryStepBound) << "private bytes grow by rounds";
    EXPECT_LE(workingSet.Total(), kMemoryTotalBound);
    EXPECT_LE(privateBytes.Total(), kMemoryTotalBound);
    EXPECT_EQ(L"Disponible", monitor.ControlText(IDC_STATUS_TEXT));
}

TEST(ReliabilityLongRunInProcess, EveryReplacedGdiObjectIsReleased)
{
    // The count must see objects come and go, or it proves nothing.
    long before = LiveGdiObjects();
    HBRUSH probes[10];
    for (HBRUSH& probe : probes)
        probe = CreateSolidBrush(RGB(1, 2, 3));
    ASSERT_EQ(before + 10, LiveGdiObjects()) << "GDI objects cannot be counted here";
    for (HBRUSH probe : probes)
        DeleteObject(probe);
    ASSERT_EQ(before, LiveGdiObjects());

    HostedMonitor host;
    ASSERT_NE(nullptr, host.panel);
    for (int round = 0; round < kWarmUpRounds; ++round)
        host.Round(round);
    HFONT firstFont = reinterpret_cast<HFONT>(SendMessageA(monitorState.controls.statusText, WM_GETFONT, 0, 0));
    HBRUSH firstFace = faceBrush;
    GrowthTrend objects;
    GrowthTrend privateBytes;
    for (int round = 0; round <= kRounds; ++round) {
        if (round % kRoundsBetweenReadings == 0) {
            objects.Add(LiveGdiObjects());
            privateBytes.Add(static_cast<double>(MemoryOf(GetCurrentProcess()).privateBytes));
        }
        if (round < kRounds)
            host.Round(round);
    }
    // Wine may make a few objects of its own once, e.g. when another
    // program's window takes the foreground; a leak makes them every round.
    EXPECT_EQ(0, objects.MedianStep()) << "GDI objects grow by rounds";
    EXPECT_LE(objects.Total(), 32) << "GDI objects after " << kRounds << " rounds";
    EXPECT_EQ(0u, GetObjectType(firstFont)) << "the status font a reset replaced";
    EXPECT_EQ(0u, GetObjectType(firstFace)) << "the face brush a colour change replaced";
    EXPECT_LE(privateBytes.MedianStep(), kMemoryStepBound) << "private bytes grow by rounds";
    EXPECT_LE(privateBytes.Total(), kMemoryTotalBound);
}
