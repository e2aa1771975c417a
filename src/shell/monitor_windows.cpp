#include "shell/monitor_windows.h"

#include "protocol/main_window.h"
#include "resource.h"
#include "shell/launch_rules.h"
#include "state/monitor_state.h"
#include "state/window_object.h"
#include "ui/status_panel.h"

static const DWORD kMainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
static const int kDefaultWidth = 420;
static const int kDefaultHeight = 300;

bool RegisterMainClass(HINSTANCE instance, const char* className)
{
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_DEVICE_READY));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    windowClass.lpszClassName = className;
    return RegisterClassA(&windowClass) != 0;
}

static void CreatePanel()
{
    panelWindowObject.instance = mainWindowObject.instance;
    HWND panel = CreateDialogParamA(panelWindowObject.instance, MAKEINTRESOURCEA(IDD_STATUS_PANEL),
                                    mainWindowObject.window, StatusPanelProc, 0);
    panelWindowObject.window = panel;
    if (!panel)
        return;
    RECT bounds;
    GetWindowRect(panel, &bounds);
    panelWindowObject.move(0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top, TRUE);
}

// Without a panel the window keeps its first size.
static void FitAroundPanel()
{
    if (!panelWindowObject.window)
        return;
    RECT mainBounds;
    RECT panelBounds;
    GetWindowRect(mainWindowObject.window, &mainBounds);
    GetWindowRect(panelWindowObject.window, &panelBounds);
    SIZE size = FittedSize(mainBounds, panelBounds);
    mainWindowObject.rect.width = size.cx;
    mainWindowObject.rect.height = size.cy;
    // Resizing must not activate the window: a minimised start stays inactive.
    SetWindowPos(mainWindowObject.window, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

static void CentreOnDesktop()
{
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    struct FrameRect current;
    mainWindowObject.getRect(&current);
    POINT origin = CentredOrigin(desktop, current.width, current.height);
    mainWindowObject.move(origin.x, origin.y, mainWindowObject.rect.width,
                          mainWindowObject.rect.height, TRUE);
}

bool CreateMonitorWindows(HINSTANCE instance, const char* className)
{
    monitorState.instance = instance;
    if (!mainWindowObject.create(className, kMonitorTitle, kMainWindowStyle, 0, 0, kDefaultWidth,
                                 kDefaultHeight, nullptr, nullptr, instance, nullptr))
        return false;
    CreatePanel();
    FitAroundPanel();
    CentreOnDesktop();
    return true;
}
