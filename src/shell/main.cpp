// Process start: the single-instance rule, the launch rule, the main
// window with its panel, and the message loop.
#include <windows.h>

#include <stdio.h>

#include "app_settings.h"
#include "launch_rules.h"
#include "lvwm_messages.h"
#include "main_window.h"
#include "monitor_state.h"
#include "resource.h"
#include "shell.h"
#include "status_panel.h"
#include "window_object.h"

static char windowClassName[kClassNameSize];
static OSVERSIONINFOA versionInfo;

static const DWORD kMainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
static const int kDefaultWidth = 420;
static const int kDefaultHeight = 300;
// A copy that hangs in its start must not hold every later start for long.
static const DWORD kStartTurnWaitMs = 10000;
static const char kStartTurnSuffix[] = ".start";

// A start looks for a running copy and, finding none, makes its window; two
// copies started at the same moment would both find none and both run. The
// look and the making of the window are taken in turns, under a mutex named
// after the window class.
class StartTurn {
public:
    explicit StartTurn(const char* className)
    {
        char name[kClassNameSize + sizeof kStartTurnSuffix];
        snprintf(name, sizeof name, "%s%s", className, kStartTurnSuffix);
        mutex_ = CreateMutexA(nullptr, FALSE, name);
        if (mutex_) {
            DWORD waited = WaitForSingleObject(mutex_, kStartTurnWaitMs);
            held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
        }
    }
    ~StartTurn() { End(); }
    StartTurn(const StartTurn&) = delete;
    StartTurn& operator=(const StartTurn&) = delete;

    void End()
    {
        if (held_)
            ReleaseMutex(mutex_);
        held_ = false;
        if (mutex_)
            CloseHandle(mutex_);
        mutex_ = nullptr;
    }

private:
    HANDLE mutex_ = nullptr;
    bool held_ = false;
};

static void DeriveNames()
{
    char modulePath[kPathSize] = {};
    GetModuleFileNameA(nullptr, modulePath, sizeof modulePath);
    modulePath[sizeof modulePath - 1] = '\0';

    ExecutableNames names;
    DeriveExecutableNames(modulePath, &names);
    lstrcpynA(windowClassName, names.className, sizeof windowClassName);
    lstrcpynA(appSettings.exeDirectory, names.exeDirectory, sizeof appSettings.exeDirectory);
    lstrcpynA(appSettings.settingsPath, names.settingsPath, sizeof appSettings.settingsPath);
}

// A running copy is asked to show itself; the caller waits for it, but no
// later start waits behind it.
static bool ForwardToRunningCopy(StartTurn* turn)
{
    HWND running = FindWindowA(windowClassName, nullptr);
    if (!running)
        return false;
    turn->End();
    SendMessageA(running, LVWM_APPSHOW, 0, 0);
    return true;
}

static void ReadPlatform()
{
    versionInfo.dwOSVersionInfoSize = sizeof versionInfo;
    GetVersionExA(&versionInfo);
    monitorState.platformId = versionInfo.dwPlatformId;
}

// Applies the command-line rule; false when the monitor must not run.
static bool AcceptCommandLine(const char* commandLine, int* showCommand)
{
    CommandLine parsed = ParseCommandLine(commandLine);
    monitorState.printerNameMode = parsed.printerNameMode;
    if (RestAsksForIsIcon(parsed.rest) && ReadIsIconSetting() == 1)
        *showCommand = SW_SHOWMINNOACTIVE;
    return LaunchAllowed(parsed.rest, monitorState.notificationMode);
}

static bool RegisterMainClass(HINSTANCE instance)
{
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_DEVICE_READY));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    windowClass.lpszClassName = windowClassName;
    return RegisterClassA(&windowClass) != 0;
}

static void CreatePanel()
{
    panelWindowObject.instance = mainWindowObject.instance;
    HWND panel = CreateDialogParamA(panelWindowObject.instance, MAKEINTRESOURCEA(IDD_STATUS_PANEL),
                                    mainWindowObject.window, StatusPanelProc, 0);
    panelWindowObject.window = panel;
    monitorState.panel = panel;
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

static int RunMessageLoop(HINSTANCE instance)
{
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDA_MAIN));
    currentDialog = monitorState.panel;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0)) {
        if (TranslateAcceleratorA(currentDialog, accelerators, &message))
            continue;
        if (IsDialogMessageA(currentDialog, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

// The C runtime's lpCmdLine is not used: it ends an unquoted program name at
// the first accented letter.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    DeriveNames();
    StartTurn turn(windowClassName);
    if (ForwardToRunningCopy(&turn))
        return 0;
    ReadPlatform();
    LoadNotificationSettings();
    if (!AcceptCommandLine(ArgumentsAfterProgramName(GetCommandLineA()), &showCommand))
        return 0;
    if (!RegisterMainClass(instance))
        return 0;

    monitorState.instance = instance;
    if (!mainWindowObject.create(windowClassName, kWindowTitle, kMainWindowStyle, 0, 0,
                                 kDefaultWidth, kDefaultHeight, nullptr, nullptr, instance, nullptr))
        return 0;
    monitorState.mainWindow = mainWindowObject.window;
    // From here a later start finds this window.
    turn.End();

    CreatePanel();
    FitAroundPanel();
    CentreOnDesktop();
    ShowWindow(mainWindowObject.window, showCommand);
    UpdateWindow(mainWindowObject.window);
    return RunMessageLoop(instance);
}
