#include "ui/tray_icon.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <string.h>

#include "resource.h"
#include "settings/system_paths.h"
#include "state/monitor_state.h"
#include "state/window_object.h"
#include "ui/tray_rules.h"

typedef BOOL(WINAPI* NotifyFunction)(DWORD, PNOTIFYICONDATAA);

static const UINT kIconId = 1;
static const UINT_PTR kAddRetryTimer = 1;
static const UINT kAddRetryMs = 2000;
static const int kAddRetries = 5;
static const UINT kBalloonMs = 15000;
static const int kStatusReadSize = 512;

// Shell_NotifyIconA of the system's shell32, looked up rather than
// imported: the monitor without the icon never loads the shell.
static NotifyFunction notifyIcon = nullptr;
static ShellVersion shell = {4, 0, 0};
static UINT taskbarCreated = 0;  // 0 until the icon is asked for
static bool added = false;       // the shell holds the icon
static int retriesLeft = 0;
// What the icon shows, so that an unchanged state and text cost no call.
static DeviceState shownState = Ready;
static char shownTip[sizeof(NOTIFYICONDATAA::szTip)];

static bool LoadShell()
{
    char path[kPathSize];
    if (!SystemLibraryPath("shell32.dll", path, sizeof path))
        return false;
    HMODULE module = LoadLibraryA(path);
    if (!module)
        return false;
    notifyIcon = reinterpret_cast<NotifyFunction>(
        reinterpret_cast<void*>(GetProcAddress(module, "Shell_NotifyIconA")));
    DLLGETVERSIONPROC getVersion = reinterpret_cast<DLLGETVERSIONPROC>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllGetVersion")));
    DLLVERSIONINFO version;
    memset(&version, 0, sizeof version);
    version.cbSize = sizeof version;
    if (getVersion && SUCCEEDED(getVersion(&version)))
        shell = {version.dwMajorVersion, version.dwMinorVersion, version.dwBuildNumber};
    return notifyIcon != nullptr;
}

// Loaded at the first use of their state and kept for the run.
static HICON SmallStateIcon(DeviceState state)
{
    static const WORD iconIds[] = {IDI_DEVICE_READY, IDI_DEVICE_WARNING, IDI_DEVICE_ERROR};
    static HICON icons[sizeof iconIds / sizeof iconIds[0]];
    if (!icons[state])
        icons[state] = static_cast<HICON>(LoadImageA(monitorState.instance, MAKEINTRESOURCEA(iconIds[state]),
                                                     IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                     GetSystemMetrics(SM_CYSMICON), 0));
    return icons[state];
}

static void ReadStatusText(char* text, int size)
{
    text[0] = '\0';
    if (monitorState.controls.statusText)
        GetWindowTextA(monitorState.controls.statusText, text, size);
}

// The icon as the state and status text have it, in the layout the shell
// knows.
static void Describe(NOTIFYICONDATAA* data, UINT flags, const char* status)
{
    memset(data, 0, sizeof *data);
    data->cbSize = NotifyIconDataSize(shell);
    data->hWnd = mainWindowObject.window;
    data->uID = kIconId;
    data->uFlags = flags;
    data->uCallbackMessage = kTrayIconMessage;
    data->hIcon = SmallStateIcon(monitorState.deviceState);
    JoinTooltip(data->szTip, TooltipSize(shell), kMonitorTitle, status);
}

// What is shown is noted before the call: a report that reaches the
// monitor while the shell handles the call is shown after it.
static BOOL Notify(DWORD action, NOTIFYICONDATAA* data)
{
    shownState = monitorState.deviceState;
    lstrcpynA(shownTip, data->szTip, sizeof shownTip);
    return notifyIcon(action, data);
}

static void AddIcon();

static VOID CALLBACK RetryAdd(HWND window, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(window, timer);
    if (!added)
        AddIcon();
}

static void AddIcon()
{
    char status[kStatusReadSize];
    ReadStatusText(status, sizeof status);
    NOTIFYICONDATAA data;
    Describe(&data, NIF_MESSAGE | NIF_ICON | NIF_TIP, status);
    added = Notify(NIM_ADD, &data) != FALSE;
    if (!added && retriesLeft > 0) {
        --retriesLeft;
        SetTimer(mainWindowObject.window, kAddRetryTimer, kAddRetryMs, RetryAdd);
    }
}

void AddToNotificationArea()
{
    if (monitorState.platformId == VER_PLATFORM_WIN32s || !LoadShell())
        return;
    taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    retriesLeft = kAddRetries;
    AddIcon();
}

// The window is out of sight when minimised or behind another program's.
static bool OutOfSight()
{
    HWND window = mainWindowObject.window;
    return IsIconic(window) || GetForegroundWindow() != window;
}

static void ShowInNotificationArea(const DeviceState* before, bool textChanged)
{
    if (!added)
        return;
    char status[kStatusReadSize];
    ReadStatusText(status, sizeof status);
    NOTIFYICONDATAA data;
    Describe(&data, NIF_ICON | NIF_TIP, status);
    DeviceState state = monitorState.deviceState;
    bool balloon = before && BalloonDue(*before, state, textChanged, status, OutOfSight(), shell);
    if (!balloon && state == shownState && strcmp(data.szTip, shownTip) == 0)
        return;
    if (balloon) {
        data.uFlags |= NIF_INFO;
        lstrcpynA(data.szInfo, status, static_cast<int>(WordsThatFit(status, sizeof data.szInfo - 1) + 1));
        lstrcpynA(data.szInfoTitle, kMonitorTitle, sizeof data.szInfoTitle);
        data.uTimeout = kBalloonMs;
        data.dwInfoFlags = BalloonIconFlags(state, shell);
    }
    Notify(NIM_MODIFY, &data);
}

void ShowStateInNotificationArea()
{
    ShowInNotificationArea(nullptr, false);
}

void ShowReportInNotificationArea(DeviceState before, bool textChanged)
{
    ShowInNotificationArea(&before, textChanged);
}

void RemoveFromNotificationArea()
{
    if (!notifyIcon)
        return;
    KillTimer(mainWindowObject.window, kAddRetryTimer);
    retriesLeft = 0;
    if (!added)
        return;
    added = false;
    NOTIFYICONDATAA data;
    Describe(&data, 0, "");
    notifyIcon(NIM_DELETE, &data);
}

// Not a constant, so the window procedure cannot give it a case.
bool IsTaskbarCreated(UINT message)
{
    return taskbarCreated != 0 && message == taskbarCreated;
}

void AddAgainToNotificationArea()
{
    KillTimer(mainWindowObject.window, kAddRetryTimer);
    added = false;
    retriesLeft = kAddRetries;
    AddIcon();
}

HMENU CreateNotificationAreaMenu()
{
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return nullptr;
    AppendMenuA(menu, MF_STRING, IDM_TRAY_SHOW, "Afficher");
    AppendMenuA(menu, MF_STRING, IDM_TRAY_CLOSE, "Fermer");
    return menu;
}

// The menu closes on a click elsewhere only while its window is in front,
// and a message after it lets the next click on the icon open it again.
UINT ChooseFromNotificationAreaMenu(HWND window)
{
    HMENU menu = CreateNotificationAreaMenu();
    if (!menu)
        return 0;
    POINT cursor = {0, 0};
    GetCursorPos(&cursor);
    SetForegroundWindow(window);
    UINT chosen = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON,
                                                   cursor.x, cursor.y, 0, window, nullptr));
    PostMessageA(window, WM_NULL, 0, 0);
    DestroyMenu(menu);
    return chosen;
}
