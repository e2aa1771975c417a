// The main window and its panel hosted in this process, for what another
// process cannot see under Wine: the class icon a state change sets, the
// hide-and-show it does on Win32s alone, the progress bar's pixels (the
// bar is hidden at every paint, so it is drawn here while shown), and the
// options dialog going with the main window (a process that has ended has
// no windows left to look at).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lumeview/protocol.h"
#include "monitor_messages.h"
#include "process_metrics.h"
#include "protocol/main_window.h"
#include "resource.h"
#include "shell/monitor_windows.h"
#include "state/current_dialog.h"
#include "state/monitor_state.h"
#include "state/window_object.h"
#include "ui/status_panel.h"

namespace {

std::vector<WPARAM> shownOrHidden;  // WM_SHOWWINDOW of the main window, in order
int framePaints = 0;                 // WM_NCPAINT of the main window
HWND watched = nullptr;              // a window looked at when the main window goes
bool watchedAtDestroy = false;       // whether it still existed then

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SHOWWINDOW)
        shownOrHidden.push_back(wParam);
    if (message == WM_NCPAINT)
        ++framePaints;
    // The hosted window has no run to end and no settings file to save to.
    if (message == WM_DESTROY) {
        watchedAtDestroy = IsWindow(watched) != FALSE;
        return 0;
    }
    return MainWindowProc(window, message, wParam, lParam);
}

// Made as start-up makes it, shown above the other windows of the screen.
class HostedMonitor {
public:
    explicit HostedMonitor(const char* className)
    {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        monitorState = MonitorState();
        monitorState.notificationMode = NotifyAlways;
        RegisterMainClass(instance, className);
        CreateMonitorWindows(instance, className);
        SetWindowLongPtrA(mainWindowObject.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc));
        currentDialog = panelWindowObject.window;
        SetWindowPos(mainWindowObject.window, HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        UpdateWindow(mainWindowObject.window);
        PumpMonitorMessages();
    }
    ~HostedMonitor() { DestroyWindow(mainWindowObject.window); }
    HostedMonitor(const HostedMonitor&) = delete;
    HostedMonitor& operator=(const HostedMonitor&) = delete;
};

}  // namespace

TEST(SetStateInProcess, ClassIconByStateAndHideAndShowOnWin32sOnly)
{
    HostedMonitor host("LUMEVIEW_STATE_ICON");
    ASSERT_NE(nullptr, currentDialog);
    const struct {
        DeviceState state;
        int icon;
    } changes[] = {{Warning, IDI_DEVICE_WARNING}, {Error, IDI_DEVICE_ERROR}, {Ready, IDI_DEVICE_READY}};
    for (DWORD platform : {VER_PLATFORM_WIN32s, VER_PLATFORM_WIN32_WINDOWS, VER_PLATFORM_WIN32_NT}) {
        monitorState.platformId = platform;
        for (const auto& change : changes) {
            SCOPED_TRACE("platform " + std::to_string(platform) + " state " + std::to_string(change.state));
            shownOrHidden.clear();
            EXPECT_EQ(1, SendMessageA(mainWindowObject.window, LVWM_SETSTATE, change.state, 0));
            HICON expected = LoadIconA(monitorState.instance, MAKEINTRESOURCEA(change.icon));
            EXPECT_EQ(reinterpret_cast<LONG_PTR>(expected), GetClassLongPtrA(mainWindowObject.window, GCLP_HICON));
            std::vector<WPARAM> expectedSteps;
            if (platform == VER_PLATFORM_WIN32s)
                expectedSteps = {FALSE, TRUE};
            EXPECT_EQ(expectedSteps, shownOrHidden) << "hidden (0) and shown again (1)";
            EXPECT_TRUE(IsWindowVisible(mainWindowObject.window));
            shownOrHidden.clear();
            EXPECT_EQ(1, SendMessageA(mainWindowObject.window, LVWM_SETSTATE, change.state, 0));
            EXPECT_TRUE(shownOrHidden.empty()) << "the same state again changes nothing";
        }
    }
}

// A state change repaints the caption (its icon), the device picture and
// the state icon; every other control keeps what it shows.
TEST(SetStateInProcess, RepaintsTheCaptionAndTheTwoStatePicturesOnly)
{
    HostedMonitor host("LUMEVIEW_STATE_REPAINT");
    monitorState.platformId = VER_PLATFORM_WIN32_NT;
    framePaints = 0;
    ASSERT_EQ(1, SendMessageA(mainWindowObject.window, LVWM_SETSTATE, Error, 0));
    HWND panel = panelWindowObject.window;
    for (int id : {IDC_DEVICE_PICTURE, IDC_STATE_ICON})
        EXPECT_TRUE(GetUpdateRect(GetDlgItem(panel, id), nullptr, FALSE)) << "control " << id;
    for (int id : {IDC_LOGO, IDC_STATUS_TEXT, IDC_DOCUMENT_NAME, IDC_CANCEL_JOB, IDC_OPTIONS, IDC_PANEL_CLOSE})
        EXPECT_FALSE(GetUpdateRect(GetDlgItem(panel, id), nullptr, FALSE)) << "control " << id;
    PumpMonitorMessages();
    EXPECT_GE(framePaints, 1) << "the caption shows the new class icon";
    EXPECT_FALSE(GetUpdateRect(panel, nullptr, FALSE));
}

TEST(ProgressBarInProcess, GreenRunsFromTheInnerLeftEdgeForItsShare)
{
    HostedMonitor host("LUMEVIEW_PROGRESS_BAR");
    HWND bar = monitorState.controls.progressBar;
    ASSERT_NE(nullptr, bar);
    // An inner width of 100 pixels inside the one-pixel frame.
    RECT outer;
    RECT client;
    GetWindowRect(bar, &outer);
    GetClientRect(bar, &client);
    int frame = (outer.right - outer.left) - client.right;
    SetWindowPos(bar, nullptr, 0, 0, 102 + frame, outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetClientRect(bar, &client);
    ASSERT_EQ(102, client.right);
    // No message is handled from here on, so no paint hides the bar again.
    ShowWindow(bar, SW_SHOWNA);
    const COLORREF green = RGB(0, 255, 0);
    const struct {
        LONG done;
        LONG total;
        int greenWidth;
    } cases[] = {{5, 10, 50}, {1, 3, 33}, {10, 10, 100}, {7, 5, 100}, {0, 10, 0}, {3, -1, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.done) + " of " + std::to_string(c.total));
        ASSERT_EQ(1, ShowPageProgress(c.done, c.total));
        HDC dc = GetDC(bar);
        int y = client.bottom / 2;
        std::string row;
        for (int x = 0; x < client.right; ++x)
            row += GetPixel(dc, x, y) == green ? 'G' : '.';
        ReleaseDC(bar, dc);
        EXPECT_EQ("." + std::string(c.greenWidth, 'G') + std::string(100 - c.greenWidth, '.') + ".", row);
    }
}

TEST(OptionsInProcess, ClosingTheMonitorDestroysTheOpenDialogBeforeItsMainWindow)
{
    HostedMonitor host("LUMEVIEW_OPTIONS_CLOSE");
    HWND panel = panelWindowObject.window;
    ASSERT_NE(nullptr, panel);
    SendMessageA(panel, WM_COMMAND, IDC_OPTIONS, 0);
    watched = currentDialog;
    ASSERT_NE(panel, watched) << "no options dialog";
    ASSERT_TRUE(IsWindowVisible(watched));
    watchedAtDestroy = true;
    EXPECT_EQ(1, SendMessageA(mainWindowObject.window, LVWM_APPCLOSE, 0, 0));
    EXPECT_FALSE(IsWindow(mainWindowObject.window));
    EXPECT_FALSE(watchedAtDestroy) << "the dialog outlived the main window's end";
    EXPECT_FALSE(IsWindow(watched));
}

TEST(FontsWithoutPanel, AppInitLeavesNoFontBehind)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "LUMEVIEW_NO_PANEL";
    ASSERT_NE(0, RegisterClassA(&windowClass));
    monitorState.instance = instance;
    mainWindowObject.window = CreateWindowA("LUMEVIEW_NO_PANEL", "no panel", WS_POPUP, 0, 0, 100, 100, nullptr,
                                            nullptr, instance, nullptr);
    ASSERT_NE(nullptr, mainWindowObject.window);
    ASSERT_EQ(nullptr, monitorState.controls.statusText);

    SendMessageA(mainWindowObject.window, LVWM_APPINIT, 0, 0);  // what a first reset keeps for good
    // The count must see a font come and go, or it proves nothing.
    long before = LiveGdiObjects();
    HFONT probe = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    ASSERT_EQ(before + 1, LiveGdiObjects()) << "fonts cannot be counted here";
    DeleteObject(probe);
    ASSERT_EQ(before, LiveGdiObjects());
    for (int reset = 0; reset < 100; ++reset)
        ASSERT_EQ(1, SendMessageA(mainWindowObject.window, LVWM_APPINIT, 0, 0));
    EXPECT_EQ(before, LiveGdiObjects()) << "GDI objects after 100 resets without a panel";
    DestroyWindow(mainWindowObject.window);
}

// The loop hands keys to the panel as a dialog's: Tab moves between its
// buttons.
TEST(MessageLoopInProcess, TabMovesTheFocusToTheNextButton)
{
    HostedMonitor host("LUMEVIEW_LOOP_TAB");
    HWND close = GetDlgItem(panelWindowObject.window, IDC_PANEL_CLOSE);
    ASSERT_NE(nullptr, close);
    SetFocus(close);
    ASSERT_EQ(close, GetFocus());
    PostMessageA(close, WM_KEYDOWN, VK_TAB, 1);
    PostMessageA(close, WM_KEYUP, VK_TAB, 0xC0000001);
    PumpMonitorMessages();
    HWND focus = GetFocus();
    EXPECT_NE(close, focus) << "Tab left the focus where it was";
    EXPECT_EQ(panelWindowObject.window, GetParent(focus));
}
