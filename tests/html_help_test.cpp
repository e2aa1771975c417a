// Help through HTML Help in the real monitor on each platform branch, seen
// by the HTML Help recorder in place of the system's hhctrl.ocx and by the
// help spy in place of the WinHelp viewer.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "help_spy.h"
#include "hhctrl_stand_in.h"
#include "lumeview/protocol.h"
#include "monitor_copy.h"
#include "panel_input.h"
#include "resource.h"
#include "settings_text.h"
#include "test_files.h"
#include "wine_platform.h"

namespace {

void Quit(MonitorCopy& monitor)
{
    monitor.Send(LVWM_APPCLOSE);
    EXPECT_EQ(0u, monitor.WaitForExit());
}

}  // namespace

TEST(HtmlHelp, EachPlatformServesEachHelpFileByItsRule)
{
    // aide.hlp has aide.chm beside it, seul.hlp has none.
    const struct {
        const char* helpFile;
        DeviceState state;
        DWORD topic;  // of the Help button in that state
    } files[] = {{"aide.chm", Ready, 502}, {"aide.hlp", Warning, 503}, {"seul.hlp", Error, 504}};
    struct Served {
        const char* htmlHelp;  // the file HtmlHelpA opens; nullptr: not called
        const char* winHelp;   // the file WinHelp is asked for; nullptr: not asked
    };
    const struct {
        Platform platform;
        const char* exeBase;
        Served served[3];  // for each of `files`
    } platforms[] = {
        {Platform::Windows98, "html_help_98", {{"aide.chm", nullptr}, {nullptr, "aide.hlp"}, {nullptr, "seul.hlp"}}},
        {Platform::NT, "html_help_xp", {{"aide.chm", nullptr}, {nullptr, "aide.hlp"}, {nullptr, "seul.hlp"}}},
        {Platform::Windows7, "html_help_7", {{"aide.chm", nullptr}, {"aide.chm", nullptr}, {nullptr, "seul.hlp"}}},
        {Platform::Windows10, "html_help_10", {{"aide.chm", nullptr}, {"aide.chm", nullptr}, {nullptr, "seul.hlp"}}},
    };
    HhctrlStandIn hhctrl;
    HelpSpy spy;
    for (const auto& p : platforms) {
        SCOPED_TRACE(PlatformName(p.platform));
        MonitorCopy monitor(p.platform, p.exeBase);
        ASSERT_TRUE(hhctrl.LoadedBy(monitor));
        for (const char* file : {"aide.chm", "aide.hlp", "seul.hlp"})
            WriteFileBytes(monitor.directory + file, "help");
        ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
        for (size_t i = 0; i < 3; ++i) {
            SCOPED_TRACE(files[i].helpFile);
            const Served& served = p.served[i];
            monitor.SetIni("Status Monitor", "EngssHelp", files[i].helpFile);
            monitor.Send(LVWM_APPINIT);  // reloads the path settings
            monitor.Send(LVWM_SETSTATE, files[i].state);
            size_t before = hhctrl.Log().calls.size();
            spy.Clear();
            // The press returns once the monitor has asked: WinHelp's request
            // reaches the spy meanwhile, HtmlHelpA has written its line.
            ASSERT_TRUE(Click(monitor.Control(IDC_PANEL_HELP)));
            HtmlHelpLog log = hhctrl.Log();
            ASSERT_EQ(before + (served.htmlHelp ? 1 : 0), log.calls.size()) << "calls of HtmlHelpA";
            if (served.htmlHelp) {
                const HtmlHelpCall& call = log.calls.back();
                EXPECT_EQ(kHelpContextCommand, call.command);
                EXPECT_EQ(files[i].topic, call.data);
                EXPECT_EQ(monitor.directory + served.htmlHelp, call.file);
                EXPECT_EQ(monitor.Panel(), call.owner);
            }
            ASSERT_EQ(served.winHelp ? 1u : 0u, spy.Requests().size()) << "requests of WinHelp";
            if (served.winHelp) {
                EXPECT_EQ(files[i].topic, spy.Requests()[0].data);
                EXPECT_EQ(monitor.directory + served.winHelp, spy.Requests()[0].file);
            }
        }
        Quit(monitor);
    }
}

// Asked once, HTML Help is told to close its windows when the monitor
// closes; never asked, it is never loaded.
TEST(HtmlHelp, ClosingTheMonitorClosesTheHtmlHelpWindowsItOpened)
{
    HhctrlStandIn hhctrl;
    for (bool asked : {true, false}) {
        SCOPED_TRACE(asked ? "help asked for" : "no help asked for");
        MonitorCopy monitor(Platform::Windows10, asked ? "html_help_asked" : "html_help_unasked");
        ASSERT_TRUE(hhctrl.LoadedBy(monitor));
        ASSERT_TRUE(monitor.StartWith(ModeSettings(1) + "EngssHelp=aide.chm\r\n"));
        if (asked) {
            ASSERT_TRUE(Click(monitor.Control(IDC_PANEL_HELP)));
        }
        Quit(monitor);
        HtmlHelpLog log = hhctrl.Log();
        hhctrl.Clear();
        if (!asked) {
            EXPECT_EQ(0u, log.loads);
            continue;
        }
        ASSERT_EQ(2u, log.calls.size());
        EXPECT_EQ(kCloseAllCommand, log.calls[1].command);
        EXPECT_EQ(nullptr, log.calls[1].owner);
        EXPECT_EQ("", log.calls[1].file);
        EXPECT_EQ(0u, log.calls[1].data);
    }
}
