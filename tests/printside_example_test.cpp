// The example print side in C, against the real monitor: a short job with a
// paper jam, cancelled from the panel on NT (event) and on Win32s (message).
#include <gtest/gtest.h>

#include <string>

#include "captured_process.h"
#include "lumeview/protocol.h"
#include "monitor_copy.h"
#include "polling.h"
#include "resource.h"
#include "settings_text.h"
#include "test_environment.h"

namespace {

void PlayAndCancel(Platform platform, const std::string& exeBase, const std::string& channel)
{
    MonitorCopy monitor(platform, exeBase);
    MonitorClosedAtEnd closer(monitor.className);
    monitor.WriteIni(MonitorSettings().Key("event_notification_type", 0).Key("sound_audio_alert", 0).Text());
    CapturedProcess example("\"" + TestEnvironment("LUMEVIEW_BIN") + "\\lvps_print_job.exe\" \"" +
                            monitor.exePath + "\"");
    ASSERT_TRUE(example.WaitForOutput("paper jam on page 3\n")) << example.Out();
    monitor.window = monitor.FindMainWindow();
    ASSERT_NE(nullptr, monitor.window);
    EXPECT_TRUE(Eventually([&] { return monitor.ControlText(IDC_STATUS_TEXT) == L"Incident papier"; }));
    EXPECT_EQ(std::wstring(L"Rapport annuel.doc"), monitor.ControlText(IDC_DOCUMENT_NAME));
    ASSERT_TRUE(Eventually([&] { return IsWindowEnabled(monitor.Control(IDC_CANCEL_JOB)) != FALSE; }));

    PostMessageA(monitor.Control(IDC_CANCEL_JOB), BM_CLICK, 0, 0);
    ASSERT_TRUE(example.Finish(15000)) << example.Out();
    EXPECT_EQ(0u, example.exitCode);
    EXPECT_EQ("page 1 printed\npage 2 printed\npaper jam on page 3\n"
              "cancel requested (" + channel + ")\njob cancelled after 2 of 6 pages\n",
              example.Out());
    // The end of the operation closes a monitor that shows only while printing.
    EXPECT_TRUE(Eventually([&] { return monitor.FindMainWindow() == nullptr; }));
}

}  // namespace

TEST(LvpsExample, CancelPressedOnThePanelStopsTheJobOnNt)
{
    PlayAndCancel(Platform::NT, "lvps_example_nt", "event reset");
}

TEST(LvpsExample, CancelPressedOnThePanelStopsTheJobOnWin32s)
{
    PlayAndCancel(Platform::Win32s, "lvps_example_win32s", "LVWM_CANCELJOB");
}
