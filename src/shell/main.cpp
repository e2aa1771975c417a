// Process start: the single-instance rule, the launch rule, and the
// message loop.
#include <windows.h>

#include <stdio.h>

#include "lumeview/protocol.h"
#include "resource.h"
#include "settings/settings_store.h"
#include "shell/launch_rules.h"
#include "shell/message_step.h"
#include "shell/monitor_windows.h"
#include "state/app_settings.h"
#include "state/current_dialog.h"
#include "state/monitor_state.h"
#include "state/window_object.h"
#include "ui/queued_send.h"
#include "ui/tray_icon.h"

static char windowClassName[kClassNameSize];

// A copy that hangs in its start must not hold every later start for long.
static const DWORD kStartTurnWaitMs = 10000;
static const char kStartTurnSuffix[] = ".start";
// How long a second start waits for the running copy to show itself.
static const DWORD kShowAnswerMs = 5000;

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

// A path that does not fit is taken as no path: names derived from a cut
// one would put the settings in another folder.
static void DeriveNames()
{
    char modulePath[kModulePathSize] = {};
    DWORD length = GetModuleFileNameA(nullptr, modulePath, sizeof modulePath);
    if (!ModulePathFits(length))
        modulePath[0] = '\0';

    ExecutableNames names;
    DeriveExecutableNames(modulePath, &names);
    lstrcpynA(windowClassName, names.className, sizeof windowClassName);
    lstrcpynA(appSettings.exeDirectory, names.exeDirectory, sizeof appSettings.exeDirectory);
    lstrcpynA(appSettings.settingsPath, names.settingsPath, sizeof appSettings.settingsPath);
}

// A running copy is asked to show itself; no later start waits behind
// this one, and this one waits for a busy or hung copy (or another
// program's window of the same class) only so long. A copy that was only
// busy still shows itself once it reads again.
static bool ForwardToRunningCopy(StartTurn* turn)
{
    HWND running = FindWindowA(windowClassName, nullptr);
    if (!running)
        return false;
    turn->End();
    SendQueued(running, LVWM_APPSHOW, 0, 0, kShowAnswerMs);
    return true;
}

static void ReadPlatform()
{
    OSVERSIONINFOA versionInfo = {};
    versionInfo.dwOSVersionInfoSize = sizeof versionInfo;
    GetVersionExA(&versionInfo);
    monitorState.platformId = versionInfo.dwPlatformId;
    monitorState.windowsMajor = versionInfo.dwMajorVersion;
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

static int RunMessageLoop(HINSTANCE instance)
{
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDA_MAIN));
    currentDialog = panelWindowObject.window;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0))
        HandleMonitorMessage(accelerators, &message);
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
    monitorState.notificationAreaIcon = ReadNotificationAreaIconSetting();
    if (!AcceptCommandLine(ArgumentsAfterProgramName(GetCommandLineA()), &showCommand))
        return 0;
    if (!RegisterMainClass(instance, windowClassName))
        return 0;
    if (!CreateMonitorWindows(instance, windowClassName))
        return 0;
    // From here a later start finds this window.
    turn.End();

    ShowWindow(mainWindowObject.window, showCommand);
    UpdateWindow(mainWindowObject.window);
    if (monitorState.notificationAreaIcon)
        AddToNotificationArea();
    return RunMessageLoop(instance);
}
