// The main window and its panel hosted in the test's own process: the
// fonts each reset makes can be followed, a change of the system colours
// (which Wine keeps per process) reaches the panel, and the panel can be
// seen between its creation and its first paint.
#include <gtest/gtest.h>

#include <string>

#include "monitor_messages.h"
#include "print_side_registry.h"
#include "resource.h"
#include "screen.h"
#include "settings/settings_store.h"
#include "shell/monitor_windows.h"
#include "state/app_settings.h"
#include "state/current_dialog.h"
#include "state/monitor_state.h"
#include "state/window_object.h"
#include "test_environment.h"
#include "ui/status_panel.h"

TEST(PanelFonts, EveryResetReleasesTheFontItReplaces)
{
    monitorState.instance = GetModuleHandleA(nullptr);
    // Stands in for the main window: it ignores the state the reset sends.
    mainWindowObject.window = CreateWindowA("STATIC", "host", WS_OVERLAPPED, 0, 0, 500, 400, nullptr, nullptr,
                                            monitorState.instance, nullptr);
    HWND panel = CreateDialogParamA(monitorState.instance, MAKEINTRESOURCEA(IDD_STATUS_PANEL),
                                    mainWindowObject.window, StatusPanelProc, 0);
    ASSERT_NE(nullptr, panel);
    HWND status = GetDlgItem(panel, IDC_STATUS_TEXT);
    HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(GetDlgItem(panel, IDC_PANEL_CLOSE), WM_GETFONT, 0, 0));
    HFONT previous = reinterpret_cast<HFONT>(SendMessageA(status, WM_GETFONT, 0, 0));
    ASSERT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(previous));

    for (int reset = 0; reset < 1000; ++reset) {
        ASSERT_EQ(1, ResetPanel());
        HFONT current = reinterpret_cast<HFONT>(SendMessageA(status, WM_GETFONT, 0, 0));
        ASSERT_NE(previous, current) << "reset " << reset;
        ASSERT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(current));
        ASSERT_EQ(0u, GetObjectType(previous)) << "the replaced font is released, reset " << reset;
        previous = current;
    }
    EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(dialogFont)) << "the dialog's font is left alone";

    LOGFONTA font = {};
    ASSERT_NE(0, GetObjectA(previous, sizeof font, &font));
    EXPECT_EQ(-9, font.lfHeight) << "7 points at 90 dpi";
    EXPECT_STREQ("Arial", font.lfFaceName);
    EXPECT_EQ(DRAFT_QUALITY, font.lfQuality);
    EXPECT_EQ(DEFAULT_PITCH | FF_SWISS, font.lfPitchAndFamily);
    EXPECT_EQ(ANSI_CHARSET, font.lfCharSet);
    EXPECT_EQ(FW_DONTCARE, font.lfWeight);
    DestroyWindow(mainWindowObject.window);
}

// The first paint prepares the pictures with the button face of its time;
// a face changed afterwards must still show in their background.
TEST(PanelColoursInProcess, PicturesPreparedAtTheFirstPaintFollowANewButtonFace)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    ASSERT_TRUE(RegisterMainClass(instance, "LUMEVIEW_IN_TEST"));
    ASSERT_TRUE(CreateMonitorWindows(instance, "LUMEVIEW_IN_TEST"));
    HWND panel = panelWindowObject.window;
    ASSERT_NE(nullptr, panel);
    currentDialog = panel;
    SetWindowPos(mainWindowObject.window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    PumpMonitorMessagesFor(300);

    INT element = COLOR_BTNFACE;
    COLORREF original = GetSysColor(COLOR_BTNFACE);
    RECT drawn = ClientRectOnScreen(GetDlgItem(panel, IDC_DEVICE_PICTURE));
    ASSERT_EQ(original, ScreenImage(drawn).At(drawn.left, drawn.bottom - 1)) << "the first paint drew the picture";
    COLORREF changed = RGB(200, 180, 120);
    ASSERT_TRUE(SetSysColors(1, &element, &changed));
    SendMessageA(mainWindowObject.window, WM_SYSCOLORCHANGE, 0, 0);
    InvalidateRect(mainWindowObject.window, nullptr, TRUE);
    PumpMonitorMessagesFor(500);

    HWND picture = GetDlgItem(panel, IDC_DEVICE_PICTURE);
    RECT area = ClientRectOnScreen(picture);
    ScreenImage image(area);
    // The picture's bottom-left pixel is its background key.
    EXPECT_EQ(changed, image.At(area.left, area.bottom - 1));
    RECT logo = ClientRectOnScreen(GetDlgItem(panel, IDC_LOGO));
    EXPECT_EQ(changed, ScreenImage(logo).At(logo.left, logo.bottom - 1));
    RECT whole = ClientRectOnScreen(panel);
    EXPECT_EQ(changed, ScreenImage(whole).At(whole.left + 4, whole.bottom - 8))
        << "the panel's own background, clear of the main window's frame";

    SetSysColors(1, &element, &original);
    DestroyWindow(mainWindowObject.window);
}

// The driver's SuperQueue enables the print-queue button when the panel is
// made; the first paint disables it again, so only this process sees it.
TEST(PanelQueueButtonInProcess, SuperQueueEnablesItUntilTheFirstPaint)
{
    const struct {
        const char* line;  // in the driver's settings file
        const char* read;  // what the profile functions make of it
        bool enabled;
    } cases[] = {
        {"", "", false},
        {"SuperQueue=\r\n", "", false},
        {"SuperQueue=0\r\n", "0", false},
        {"SuperQueue=1\r\n", "1", true},
        {"SuperQueue=00\r\n", "00", true},
        {"SuperQueue=\" 0\"\r\n", " 0", true},
    };
    HINSTANCE instance = GetModuleHandleA(nullptr);
    ASSERT_TRUE(RegisterMainClass(instance, "LUMEVIEW_SUPER_QUEUE"));
    lstrcpynA(appSettings.settingsPath, (TestWorkDir() + "hosted.INI").c_str(), sizeof appSettings.settingsPath);
    DriverSettings driver;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.line + "\"");
        driver.Write(std::string("[Status Monitor]\r\n") + c.line);
        char read[300] = {};
        GetPrivateProfileStringA("Status Monitor", "SuperQueue", "", read, sizeof read, driver.path().c_str());
        ASSERT_STREQ(c.read, read);
        if (mainWindowObject.window)
            DestroyWindow(mainWindowObject.window);
        ASSERT_TRUE(CreateMonitorWindows(instance, "LUMEVIEW_SUPER_QUEUE"));
        HWND button = GetDlgItem(panelWindowObject.window, IDC_QUEUE_BUTTON);
        ASSERT_NE(nullptr, button);
        ASSERT_FALSE(IsWindowVisible(panelWindowObject.window)) << "not shown, so not painted yet";
        EXPECT_EQ(c.enabled, IsWindowEnabled(button) != FALSE);
    }
    // The last panel made, with the button enabled: shown once, it is painted.
    ShowWindow(mainWindowObject.window, SW_SHOWNA);
    UpdateWindow(mainWindowObject.window);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(panelWindowObject.window, IDC_QUEUE_BUTTON))) << "after the first paint";
    DestroyWindow(mainWindowObject.window);
}
