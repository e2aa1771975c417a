// The notification-area icon, seen from a stand-in for the taskbar: what
// the monitor adds, changes and takes away, the balloon, and the click,
// the menu and a new taskbar; nothing at all with the setting off.
#include <windows.h>

#include <shellapi.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "lumeview/protocol.h"
#include "monitor_copy.h"
#include "panel_input.h"
#include "polling.h"
#include "protocol/status_table.h"
#include "resource.h"
#include "settings_text.h"
#include "text_conversion.h"
#include "tray_stand_in.h"

namespace {

const char kTitle[] = "Brevik Solvane XL";
const UINT kWholeIcon = NIF_ICON | NIF_TIP;

std::string IconSettings(int mode, const char* icon = "1")
{
    SettingsFile settings = MonitorSettings().Key("event_notification_type", mode);
    if (icon)
        settings.Key("notification_area_icon", icon);
    return settings.Text();
}

std::wstring Tip(const char* status)
{
    return Utf16FromCp1252(std::string(kTitle) + " - " + status);
}

const char* ReportText(WPARAM category, LPARAM code)
{
    return FindStatusEntry(LVWM_ERROR, category, code)->text;
}

// The device state whose small icon the call carries; -1 for none.
int IconState(const MonitorCopy& monitor, const TrayCall& call)
{
    const int ids[] = {IDI_DEVICE_READY, IDI_DEVICE_WARNING, IDI_DEVICE_ERROR};
    for (int state = 0; state < 3; ++state) {
        if (!call.iconBits.empty() && call.iconBits == SmallIconBits(monitor.exePath, ids[state]))
            return state;
    }
    return -1;
}

// Starts the monitor with the icon on; the add it makes first.
testing::AssertionResult StartWithIcon(MonitorCopy& monitor, TrayStandIn& tray, TrayCall* added, int mode = 1)
{
    if (!tray.Ready())
        return testing::AssertionFailure() << "no stand-in for the taskbar";
    testing::AssertionResult started = monitor.StartWith(IconSettings(mode));
    if (!started)
        return started;
    testing::AssertionResult came = tray.WaitForCalls(1);
    if (!came)
        return came << " after the start";
    *added = tray.Calls().front();
    if (added->action != NIM_ADD || added->window != monitor.window)
        return testing::AssertionFailure() << "the first call is " << added->action << " for " << added->window;
    return testing::AssertionSuccess();
}

// The one call a message led to, for ASSERT_TRUE.
testing::AssertionResult OneCallAfter(TrayStandIn& tray, const std::function<void()>& act, TrayCall* call)
{
    tray.Clear();
    act();
    std::vector<TrayCall> calls = tray.Calls();
    if (calls.size() != 1)
        return testing::AssertionFailure() << calls.size() << " calls instead of one";
    *call = calls.front();
    return testing::AssertionSuccess();
}

// The menu of the icon, opened as the shell does on a right click; the
// item at `position` chosen with the keyboard.
testing::AssertionResult ChooseFromMenu(const TrayCall& added, int position)
{
    PostMessageA(added.window, added.callbackMessage, added.id, WM_RBUTTONUP);
    HWND menu = nullptr;
    if (!Eventually([&] { return (menu = FindWindowA("#32768", nullptr)) && IsWindowVisible(menu); }))
        return testing::AssertionFailure() << "no menu within 5 s of the right click";
    for (int i = 0; i <= position; ++i)
        PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    return testing::AssertionSuccess();
}

struct PlatformCase {
    Platform platform;
    bool icon;
};

TEST(NotificationAreaIcon, FollowsTheStateAndTheStatusTextOnEachPlatform)
{
    const PlatformCase cases[] = {{Platform::Win32s, false}, {Platform::Windows95, true}, {Platform::NT, true}};
    for (const PlatformCase& test : cases) {
        SCOPED_TRACE(PlatformName(test.platform));
        TrayStandIn tray;
        MonitorCopy monitor(test.platform);
        if (!test.icon) {
            ASSERT_TRUE(monitor.StartWith(IconSettings(1)));
            monitor.Send(LVWM_ERROR, OPECALL_RECOVER, 2);
            monitor.Send(WM_CLOSE);
            EXPECT_EQ(0u, monitor.WaitForExit());
            EXPECT_TRUE(tray.Calls().empty()) << "Windows 3.1 has no notification area";
            continue;
        }
        TrayCall call;
        ASSERT_TRUE(StartWithIcon(monitor, tray, &call));
        EXPECT_EQ(static_cast<UINT>(NIF_MESSAGE | kWholeIcon), call.flags);
        EXPECT_EQ(Tip("Disponible"), call.tip);
        EXPECT_EQ(Ready, IconState(monitor, call));

        ASSERT_TRUE(OneCallAfter(tray, [&] { monitor.Send(LVWM_ERROR, OPECALL_RECOVER, 2); }, &call));
        EXPECT_EQ(static_cast<DWORD>(NIM_MODIFY), call.action);
        EXPECT_EQ(kWholeIcon, call.flags) << "the window is in front: no balloon";
        EXPECT_EQ(Tip(ReportText(OPECALL_RECOVER, 2)), call.tip);
        EXPECT_EQ(Error, IconState(monitor, call));

        tray.Clear();
        monitor.Send(LVWM_ERROR, OPECALL_RECOVER, 2);
        monitor.Send(LVWM_SETSTATE, Error);
        EXPECT_TRUE(tray.Calls().empty()) << "neither the state nor the text changed";

        ASSERT_TRUE(OneCallAfter(tray, [&] { monitor.Send(LVWM_SETSTATE, Warning); }, &call));
        EXPECT_EQ(Warning, IconState(monitor, call));
        EXPECT_EQ(Tip(ReportText(OPECALL_RECOVER, 2)), call.tip);

        // Longer than the 127 characters of the shell: cut between words.
        ASSERT_TRUE(OneCallAfter(tray, [&] { monitor.Send(LVWM_ERROR, OPECALL_ERROR, 2); }, &call));
        std::wstring whole = Tip(ReportText(OPECALL_ERROR, 2));
        EXPECT_LE(call.tip.size(), 127u);
        EXPECT_GT(call.tip.size(), 100u);
        EXPECT_EQ(whole.substr(0, call.tip.size()), call.tip);
        EXPECT_NE(std::wstring::npos, std::wstring(L" \n").find(whole[call.tip.size()])) << Utf8FromUtf16(call.tip);
    }
}

TEST(NotificationAreaIcon, SettingOffSendsNothingToTheTaskbar)
{
    for (const char* value : {static_cast<const char*>(nullptr), "0", "2"}) {
        SCOPED_TRACE(value ? value : "absent");
        TrayStandIn tray;
        ASSERT_TRUE(tray.Ready());
        MonitorCopy monitor;
        ASSERT_TRUE(monitor.StartWith(IconSettings(0, value)));
        monitor.Send(LVWM_APPMINIMUM);
        monitor.Send(LVWM_ERROR, OPECALL_RECOVER, 2);
        monitor.Send(RegisterWindowMessageA("TaskbarCreated"));
        monitor.Send(LVWM_OPERATION, LV_OP_ENDED);
        EXPECT_FALSE(tray.WaitForCalls(1, 500));
        EXPECT_EQ(0u, monitor.WaitForExit());
        EXPECT_TRUE(tray.Calls().empty());
    }
}

struct WayOut {
    const char* name;
    int mode;
    std::function<void(MonitorCopy&, const TrayCall&)> take;
};

TEST(NotificationAreaIcon, GoesOnEveryWayOut)
{
    const WayOut ways[] = {
        {"Close button", 1, [](MonitorCopy& m, const TrayCall&) { ASSERT_TRUE(Click(m.Control(IDC_PANEL_CLOSE))); }},
        {"WM_CLOSE", 1, [](MonitorCopy& m, const TrayCall&) { PostMessageA(m.window, WM_CLOSE, 0, 0); }},
        {"LVWM_APPCLOSE", 1, [](MonitorCopy& m, const TrayCall&) { m.Send(LVWM_APPCLOSE); }},
        {"end of an operation in mode 0", 0, [](MonitorCopy& m, const TrayCall&) { m.Send(LVWM_OPERATION, LV_OP_ENDED); }},
        {"menu Fermer", 1, [](MonitorCopy&, const TrayCall& added) { ASSERT_TRUE(ChooseFromMenu(added, 1)); }},
    };
    for (const WayOut& way : ways) {
        SCOPED_TRACE(way.name);
        TrayStandIn tray;
        MonitorCopy monitor;
        TrayCall added;
        ASSERT_TRUE(StartWithIcon(monitor, tray, &added, way.mode));
        way.take(monitor, added);
        ASSERT_TRUE(tray.WaitForCalls(2)) << "the removal";
        ASSERT_EQ(0u, monitor.WaitForExit());
        std::vector<TrayCall> calls = tray.Calls();
        EXPECT_EQ(static_cast<DWORD>(NIM_DELETE), calls.back().action);
        EXPECT_EQ(added.window, calls.back().window);
        EXPECT_EQ(added.id, calls.back().id);
        // The exit step ran as before.
        EXPECT_NE("<absent>", monitor.ReadIni("Status Monitor", "IsIcon"));
    }
}

TEST(NotificationAreaIcon, ComesBackWithANewTaskbarAndAfterARefusedAdd)
{
    // A taskbar still starting refuses the add twice; a newer one takes it.
    TrayStandIn starting(FALSE);
    MonitorCopy monitor;
    TrayCall added;
    ASSERT_TRUE(StartWithIcon(monitor, starting, &added));
    ASSERT_TRUE(starting.WaitForCalls(2, 5000)) << "the refused add tried again";
    TrayStandIn tray;
    ASSERT_TRUE(tray.WaitForCalls(1, 5000)) << "tried a third time";
    for (const TrayCall& call : starting.Calls())
        EXPECT_EQ(static_cast<DWORD>(NIM_ADD), call.action);
    EXPECT_EQ(static_cast<DWORD>(NIM_ADD), tray.Calls().front().action);
    TrayCall call;
    ASSERT_TRUE(OneCallAfter(tray, [&] { monitor.Send(LVWM_ERROR, OPECALL_RECOVER, 2); }, &call));
    EXPECT_EQ(static_cast<DWORD>(NIM_MODIFY), call.action) << "the third add was taken";

    tray.Clear();
    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    ASSERT_TRUE(tray.WaitForCalls(1));
    call = tray.Calls().front();
    EXPECT_EQ(static_cast<DWORD>(NIM_ADD), call.action);
    EXPECT_EQ(Tip(ReportText(OPECALL_RECOVER, 2)), call.tip);
    EXPECT_EQ(Error, IconState(monitor, call));
}

struct ClickCase {
    const char* name;
    LPARAM event;
    bool restores;
};

TEST(NotificationAreaIcon, ClickRestoresTheWindowAndBringsItForward)
{
    const ClickCase clicks[] = {
        {"click", WM_LBUTTONUP, true},
        {"click on the balloon", NIN_BALLOONUSERCLICK, true},
        {"mouse passing over", WM_MOUSEMOVE, false},
    };
    TrayStandIn tray;
    MonitorCopy monitor;
    TrayCall added;
    ASSERT_TRUE(StartWithIcon(monitor, tray, &added));
    for (const ClickCase& click : clicks) {
        SCOPED_TRACE(click.name);
        monitor.Send(LVWM_APPMINIMUM);
        ASSERT_TRUE(IsIconic(monitor.window));
        monitor.Send(added.callbackMessage, added.id, click.event);
        EXPECT_EQ(!click.restores, IsIconic(monitor.window) != FALSE);
        if (click.restores) {
            EXPECT_EQ(monitor.window, GetForegroundWindow());
            EXPECT_EQ("0", monitor.ReadIni("Status Monitor", "IsIcon")) << "opened by the user";
        }
    }
    monitor.Send(LVWM_APPMINIMUM);
    ASSERT_TRUE(ChooseFromMenu(added, 0));
    EXPECT_TRUE(Eventually([&] { return !IsIconic(monitor.window); })) << "menu Afficher";
    EXPECT_TRUE(monitor.Running());
}

struct BalloonStep {
    const char* name;
    WPARAM category;
    LPARAM code;
    DWORD balloonIcon;  // 0: no balloon
    bool call;
};

TEST(NotificationAreaIcon, BalloonForAnErrorOrANewWarningOutOfSight)
{
    const BalloonStep steps[] = {
        {"paper jam", OPECALL_RECOVER, 2, NIIF_ERROR, true},
        {"the same paper jam", OPECALL_RECOVER, 2, 0, false},
        {"toner low, a new warning", OPECALL_WARNING, 1, NIIF_WARNING, true},
        {"toner low again", OPECALL_WARNING, 1, 0, false},
        {"ready", 0, 0, 0, true},
        {"the paper jam once more", OPECALL_RECOVER, 2, NIIF_ERROR, true},
    };
    TrayStandIn tray;
    MonitorCopy monitor;
    TrayCall added;
    ASSERT_TRUE(StartWithIcon(monitor, tray, &added));
    monitor.Send(LVWM_APPMINIMUM);
    for (const BalloonStep& step : steps) {
        SCOPED_TRACE(step.name);
        tray.Clear();
        monitor.Send(LVWM_ERROR, step.category, step.code);
        std::vector<TrayCall> calls = tray.Calls();
        ASSERT_EQ(step.call ? 1u : 0u, calls.size());
        if (!step.call)
            continue;
        EXPECT_EQ(step.balloonIcon != 0, (calls[0].flags & NIF_INFO) != 0);
        if (step.balloonIcon) {
            EXPECT_EQ(Utf16FromCp1252(ReportText(step.category, step.code)), calls[0].info);
            EXPECT_EQ(Utf16FromCp1252(kTitle), calls[0].infoTitle);
            EXPECT_EQ(step.balloonIcon | NIIF_NOSOUND, calls[0].infoFlags) << "silent from shell 6.0";
        }
    }
    EXPECT_TRUE(IsIconic(monitor.window)) << "the balloon leaves the window as it was";
}

}  // namespace
