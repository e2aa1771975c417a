// Starting the real monitor: the launch rule, the names it derives from its
// own path, the single-instance rule, IsIcon and the window's geometry.
#include <gtest/gtest.h>

#include <string>

#include "lumeview/protocol.h"
#include "monitor_copy.h"
#include "polling.h"
#include "settings_text.h"
#include "test_files.h"

namespace {

const char kSection[] = "Status Monitor";

void WriteMode(MonitorCopy& monitor, int mode)
{
    monitor.WriteIni(MonitorSettings().Key("event_notification_type", mode).Text());
}

// Starts the copy and tells whether it came up with a window (closing it
// again) or returned at once.
bool Runs(MonitorCopy& monitor, const std::string& commandLine)
{
    EXPECT_TRUE(monitor.Start(commandLine));
    if (monitor.WaitForWindow(15000)) {
        monitor.Send(LVWM_APPCLOSE);
        EXPECT_EQ(0u, monitor.WaitForExit());
        return true;
    }
    EXPECT_EQ(0u, monitor.WaitForExit()) << "a refused launch returns 0";
    return false;
}

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchVisibleWindow(HWND window, LPARAM parameter)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

// The process's visible top-level window, whatever its class.
HWND VisibleWindowOf(DWORD processId)
{
    WindowSearch search = {processId, nullptr};
    EnumWindows(MatchVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

// The rule's table is checked on its pure function; these rows show that a
// real start applies it: the mode read from the file, "/P" cut off before
// the rest is judged, and a refusal that returns 0 without a window.
TEST(StartupLaunch, RealMonitorFollowsTheTableInEveryMode)
{
    struct Case {
        const char* commandLine;
        bool runs[3];
    } cases[] = {
        {"", {true, true, true}},
        {"/S", {false, true, false}},
        {"/P", {true, true, true}},
        {"/P /S", {false, true, false}},
    };
    MonitorCopy monitor;
    for (int mode = 0; mode < 3; ++mode) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string("mode ") + std::to_string(mode) + " command line \"" + c.commandLine + "\"");
            WriteMode(monitor, mode);
            EXPECT_EQ(c.runs[mode], Runs(monitor, c.commandLine));
        }
    }
}

TEST(StartupLaunch, WithoutSettingsFileEmptyRunsAndSlashSReturns)
{
    MonitorCopy monitor;
    monitor.DeleteIni();
    EXPECT_FALSE(Runs(monitor, "/S"));
    monitor.DeleteIni();
    EXPECT_TRUE(Runs(monitor, ""));
}

TEST(StartupLaunch, RefusedLaunchLeavesSettingsUntouched)
{
    MonitorCopy monitor;
    WriteMode(monitor, 2);
    std::string before = ReadFileBytes(monitor.iniPath);
    EXPECT_FALSE(Runs(monitor, "document.doc"));
    EXPECT_EQ(before, ReadFileBytes(monitor.iniPath));
}

TEST(IsIconSetting, OneStartsMinimisedAndInactiveOnlyWithARest)
{
    struct Case {
        const char* isIcon;
        const char* commandLine;
        int mode;
        bool minimised;
    } cases[] = {
        {"1", "job", 0, true},
        {"1", "job", 1, true},
        {"2", "job", 0, false},
        {"1", "", 0, false},
        {"1", "/P", 1, false},
        {"1", "/P job", 1, true},
    };
    // A window of ours holds the foreground; a minimised start must not take it.
    HWND ours = CreateWindowA("STATIC", "foreground", WS_POPUP | WS_VISIBLE, 0, 0, 20, 20, nullptr, nullptr,
                              nullptr, nullptr);
    MonitorCopy monitor;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("IsIcon=") + c.isIcon + " command line \"" + c.commandLine + "\"");
        WriteMode(monitor, c.mode);
        monitor.SetIni(kSection, "IsIcon", c.isIcon);
        SetForegroundWindow(ours);
        ASSERT_EQ(ours, GetForegroundWindow());
        ASSERT_TRUE(monitor.Start(c.commandLine, SW_SHOWNORMAL));
        ASSERT_NE(nullptr, monitor.WaitForWindow());
        EXPECT_EQ(c.minimised, IsIconic(monitor.window) != FALSE);
        if (c.minimised) {
            EXPECT_NE(monitor.window, GetForegroundWindow()) << "the minimised start took the foreground";
        }
        monitor.Send(LVWM_APPCLOSE);
        EXPECT_EQ(0u, monitor.WaitForExit());
    }
    DestroyWindow(ours);
}

TEST(StartupNames, CopyNamedMonitorNewUsesClassMonitorAndItsIni)
{
    MonitorCopy monitor(Platform::NT, "monitor.new");
    const std::string settings = monitor.directory + "monitor.INI";
    WriteFileBytes(settings, MonitorSettings().Key("event_notification_type", 1).Text());
    ASSERT_TRUE(monitor.Start("/S"));
    // Found by its process, not by the class name it is meant to have.
    HWND window = nullptr;
    ASSERT_TRUE(Eventually([&] { return (window = VisibleWindowOf(monitor.process.dwProcessId)) != nullptr; }, 15000))
        << "no window: monitor.INI's mode 1 was not read";
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    EXPECT_STREQ("MONITOR", className);
    monitor.window = window;
    monitor.Send(LVWM_APPCLOSE);
    EXPECT_EQ(0u, monitor.WaitForExit());
    char isIcon[8] = {};
    GetPrivateProfileStringA(kSection, "IsIcon", "<absent>", isIcon, sizeof isIcon, settings.c_str());
    EXPECT_STREQ("0", isIcon) << "saved beside the copy in monitor.INI";
}

TEST(SingleInstance, SecondStartShowsTheRunningCopyAndLeavesSettingsAlone)
{
    MonitorCopy first;
    first.WriteIni(MonitorSettings().Key("event_notification_type", 1).Text());
    ASSERT_NE(nullptr, first.StartAndWait());
    const char* commandLines[] = {"", "/S", "/P /S", "job.doc"};
    for (int mode = 0; mode < 3; ++mode) {
        for (const char* commandLine : commandLines) {
            SCOPED_TRACE(std::string("mode ") + std::to_string(mode) + " \"" + commandLine + "\"");
            first.SetIni(kSection, "event_notification_type", std::to_string(mode).c_str());
            std::string before = ReadFileBytes(first.iniPath);
            ShowWindow(first.window, SW_HIDE);
            ASSERT_FALSE(IsWindowVisible(first.window));

            PROCESS_INFORMATION process = {};
            STARTUPINFOA startup = {};
            startup.cb = sizeof startup;
            std::string line = "\"" + first.exePath + "\" " + commandLine;
            ASSERT_TRUE(CreateProcessA(first.exePath.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                                       first.directory.c_str(), &startup, &process));
            ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 15000));
            DWORD code = 1;
            GetExitCodeProcess(process.hProcess, &code);
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
            EXPECT_EQ(0u, code);
            EXPECT_TRUE(IsWindowVisible(first.window)) << "LVWM_APPSHOW reached the running copy";
            EXPECT_EQ(before, ReadFileBytes(first.iniPath));
            EXPECT_TRUE(first.Running());
        }
    }
    first.Send(LVWM_APPCLOSE);
    EXPECT_EQ(0u, first.WaitForExit());
}

TEST(IsIconSetting, WrittenWhenMinimisedAndWhenOpened)
{
    MonitorCopy monitor;
    WriteMode(monitor, 1);
    ASSERT_NE(nullptr, monitor.StartAndWait());
    EXPECT_EQ("<absent>", monitor.ReadIni(kSection, "IsIcon"));

    monitor.Send(LVWM_APPMINIMUM);
    EXPECT_TRUE(IsIconic(monitor.window));
    EXPECT_EQ("1", monitor.ReadIni(kSection, "IsIcon"));

    ShowWindow(monitor.window, SW_RESTORE);
    EXPECT_FALSE(IsIconic(monitor.window));
    EXPECT_EQ("0", monitor.ReadIni(kSection, "IsIcon"));

    // The minimise box of the title bar.
    monitor.Send(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(monitor.window));
    EXPECT_EQ("1", monitor.ReadIni(kSection, "IsIcon"));

    monitor.Send(LVWM_APPSHOW);
    EXPECT_TRUE(IsIconic(monitor.window)) << "LVWM_APPSHOW leaves a minimised window minimised";
    monitor.Send(LVWM_APPCLOSE);
    EXPECT_EQ(0u, monitor.WaitForExit());
}

// The panel's Close button and Escape key close it too; their rows are
// with the panel's commands.
TEST(IsIconSetting, SavedByEveryWayOfClosing)
{
    enum Closer { UserClose, AppClose, OperationEnd };
    struct Case {
        int mode;
        Closer closer;
        bool minimised;
        const char* saved;
    } cases[] = {
        {0, UserClose, false, "1"},    {0, UserClose, true, "1"},
        {1, UserClose, false, "0"},    {1, UserClose, true, "1"},    {7, UserClose, false, "0"},
        {0, AppClose, false, "0"},     {1, AppClose, false, "0"},    {2, AppClose, false, "0"},
        {0, AppClose, true, "1"},      {1, AppClose, true, "1"},
        {0, OperationEnd, false, "0"}, {2, OperationEnd, true, "1"},
    };
    MonitorCopy monitor;
    for (const Case& c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode) + " closer " + std::to_string(c.closer) +
                     (c.minimised ? " minimised" : ""));
        WriteMode(monitor, c.mode);
        ASSERT_NE(nullptr, monitor.StartAndWait());
        if (c.minimised)
            monitor.Send(LVWM_APPMINIMUM);
        switch (c.closer) {
        case UserClose:
            monitor.Send(WM_CLOSE);
            break;
        case AppClose:
            monitor.Send(LVWM_APPCLOSE);
            break;
        case OperationEnd:
            monitor.Send(LVWM_OPERATION, LV_OP_ENDED);
            break;
        }
        EXPECT_EQ(0u, monitor.WaitForExit());
        EXPECT_EQ(c.saved, monitor.ReadIni(kSection, "IsIcon"));
    }
}

TEST(MainWindow, FixedFrameFittedAroundPanelAndCentred)
{
    MonitorCopy monitor;
    ASSERT_NE(nullptr, monitor.StartAndWait());
    LONG style = GetWindowLongA(monitor.window, GWL_STYLE);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_CLIPCHILDREN);

    char title[64] = {};
    GetWindowTextA(monitor.window, title, sizeof title);
    EXPECT_STREQ("Brevik Solvane XL", title);

    RECT outer;
    RECT panel;
    GetWindowRect(monitor.window, &outer);
    GetWindowRect(monitor.Panel(), &panel);
    EXPECT_EQ(outer.right, panel.right);
    EXPECT_EQ(outer.bottom, panel.bottom);
    EXPECT_NE(420, outer.right - outer.left) << "the window was fitted to the panel";

    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    LONG width = outer.right - outer.left;
    LONG height = outer.bottom - outer.top;
    EXPECT_EQ(desktop.left + (desktop.right - desktop.left - width) / 2, outer.left);
    EXPECT_EQ(desktop.top + (desktop.bottom - desktop.top - height) / 2, outer.top);
    monitor.Send(LVWM_APPCLOSE);
    EXPECT_EQ(0u, monitor.WaitForExit());
}

// A copy that is only busy (a long alert sound) is as still as a hung one
// until it reads again; then it shows itself.
TEST(SingleInstance, HungRunningCopyHoldsTheNewStartOnlySoLongAndShowsItselfOnceFree)
{
    MonitorCopy monitor(Platform::NT, "hung_copy");
    monitor.WriteIni(MonitorSettings().Key("event_notification_type", 1).Text());
    ASSERT_TRUE(monitor.Start("", SW_HIDE));
    ASSERT_TRUE(Eventually([&] { return (monitor.window = monitor.FindMainWindow()) != nullptr; }));
    ASSERT_EQ(1, monitor.Send(LVWM_SETSTATE, Ready)) << "start-up has ended";
    ASSERT_FALSE(IsWindowVisible(monitor.window));
    ASSERT_NE(static_cast<DWORD>(-1), SuspendThread(monitor.process.hThread));

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION second = {};
    std::string line = "\"" + monitor.exePath + "\" job";
    DWORD started = GetTickCount();
    ASSERT_TRUE(CreateProcessA(monitor.exePath.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                               monitor.directory.c_str(), &startup, &second));
    DWORD waited = WaitForSingleObject(second.hProcess, 12000);
    DWORD elapsed = GetTickCount() - started;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(second.hProcess, &code);
    if (waited != WAIT_OBJECT_0)
        TerminateProcess(second.hProcess, 99);
    CloseHandle(second.hProcess);
    CloseHandle(second.hThread);
    ResumeThread(monitor.process.hThread);

    ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), waited) << "the second start still waits";
    EXPECT_EQ(0u, code);
    EXPECT_LT(elapsed, 10000u);
    EXPECT_EQ(1, monitor.Send(LVWM_SETSTATE, Ready)) << "the first copy goes on once free";
    EXPECT_TRUE(Eventually([&] { return IsWindowVisible(monitor.window) != FALSE; }))
        << "the second start's request was lost";
}
