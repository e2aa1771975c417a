// The print side's messages: status reports, operation changes, page
// counts, the document name, the job window, and show/minimise/close.
#include "protocol/main_window.h"

#include <mmsystem.h>
#include <shellapi.h>

#include "lumeview/protocol.h"
#include "protocol/protocol_rules.h"
#include "protocol/status_table.h"
#include "resource.h"
#include "settings/printer_identity.h"
#include "settings/settings_store.h"
#include "settings/system_paths.h"
#include "state/app_settings.h"
#include "state/monitor_state.h"
#include "state/window_object.h"
#include "ui/html_help.h"
#include "ui/panel_brushes.h"
#include "ui/panel_commands.h"
#include "ui/status_panel.h"
#include "ui/tray_icon.h"

static const DWORD kBeepFrequency = 8000;
static const DWORD kBeepMilliseconds = 500;

int ApplyShowPolicy(HWND window, unsigned reason)
{
    if (!ShowPolicyShows(monitorState.notificationMode, reason))
        return 0;
    SendMessageA(window, LVWM_APPSHOW, 0, 0);
    return 1;
}

// The state or the status text changed since the notification-area icon
// was told.
static bool iconBehind = false;
// A report or an operation change under way tells the icon once, when it
// is done, of all its changes.
static bool iconHeld = false;

// Writing the text the control already shows would only repaint it, which
// was a third of the cost of a repeated report. True when it changed.
static bool SetStatusText(const char* text)
{
    if (!SetTextUnlessShown(monitorState.controls.statusText, text))
        return false;
    iconBehind = true;
    return true;
}

static void TellIcon()
{
    if (!iconBehind || iconHeld)
        return;
    iconBehind = false;
    ShowStateInNotificationArea();
}

// Every matching row shows the window; the first with a text ends the
// walk. True when the text changed.
static bool ShowReportText(HWND window, WPARAM category, LPARAM code)
{
    for (const StatusEntry* row = statusTable; row->message != 0; ++row) {
        if (!StatusEntryMatches(*row, LVWM_ERROR, category, code))
            continue;
        ApplyShowPolicy(window, kShowReasonStatusReport);
        if (row->text)
            return SetStatusText(row->text);
    }
    return false;
}

// The panel's dialog code puts the focus it is given on its first enabled,
// visible tab stop. Found already there, whatever disabled, hid or moved
// controls since, the focus is left alone: the hand-back would move nothing
// and still cost two focus changes and a button repaint on every report.
static void GiveFocusToPanel()
{
    HWND focus = GetFocus();
    if (focus && focus == GetNextDlgTabItem(panelWindowObject.window, nullptr, FALSE))
        return;
    SetFocus(panelWindowObject.window);
}

// The icon learns of the report before its alert, which may sound for
// seconds.
static LRESULT OnStatusReport(HWND window, WPARAM category, LPARAM code)
{
    DeviceState before = monitorState.deviceState;
    iconHeld = true;
    bool textChanged = ShowReportText(window, category, code);
    StateDecision decision = DecideReportState(static_cast<DWORD>(category), static_cast<DWORD>(code));
    SendMessageA(window, LVWM_SETSTATE, decision.state, 0);
    iconHeld = false;
    if (iconBehind) {
        iconBehind = false;
        ShowReportInNotificationArea(before, textChanged);
    }
    if (decision.alert)
        SendMessageA(window, LVWM_ALERT, LV_ALERT_SOUND, 0);
    GiveFocusToPanel();
    return 1;
}

static LRESULT OnOperation(HWND window, WPARAM wParam)
{
    unsigned operation = LOWORD(wParam);
    iconHeld = true;
    ApplyShowPolicy(window, operation);
    const char* caption = OperationCaption(operation);
    if (operation == LV_OP_ENDED) {
        SendMessageA(window, LVWM_PROGRESS, LV_PROGRESS_TOTAL, 0);
        SetStatusText(caption);
        if (monitorState.notificationMode != NotifyAlways)
            SendMessageA(window, LVWM_APPCLOSE, 0, 0);
    } else if (caption) {
        SetStatusText(caption);
    }
    // After a close there is no window left and this does nothing.
    SendMessageA(window, LVWM_SETSTATE, Ready, 0);
    iconHeld = false;
    TellIcon();
    return 1;
}

// Loaded at the first change to their state. They are shared icons, which
// the system keeps for the life of the module.
static HICON WindowIcon(WPARAM state)
{
    static const WORD iconIds[] = {IDI_DEVICE_READY, IDI_DEVICE_WARNING, IDI_DEVICE_ERROR};
    static HICON icons[sizeof iconIds / sizeof iconIds[0]];
    if (!icons[state])
        icons[state] = LoadIconA(monitorState.instance, MAKEINTRESOURCEA(iconIds[state]));
    return icons[state];
}

// Only the caption shows the class icon: the band above the client area,
// with the window's frame, is all that is redrawn.
static void RedrawCaption(HWND window)
{
    RECT frame;
    if (!GetWindowRect(window, &frame))
        return;
    RECT above = {-(frame.right - frame.left), -(frame.bottom - frame.top), frame.right - frame.left, 0};
    RedrawWindow(window, &above, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

static LRESULT OnSetState(WPARAM state)
{
    if (state == static_cast<WPARAM>(monitorState.deviceState))
        return 1;
    if (!IsDeviceState(state))
        return 0;
    monitorState.deviceState = static_cast<DeviceState>(state);
    HICON icon = WindowIcon(state);
    if (!icon)
        return 0;
    if (!panelWindowObject.window)
        return 0;
    InvalidateStatePictures();
    // The small icon is given too: a class without one has a small copy
    // derived at every change of its icon, and Wine never frees that copy.
    SetClassLongPtrA(mainWindowObject.window, GCLP_HICONSM, reinterpret_cast<LONG_PTR>(icon));
    SetClassLongPtrA(mainWindowObject.window, GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
    if (monitorState.platformId == VER_PLATFORM_WIN32s) {
        // Win32s takes the new class icon only when the window is shown anew.
        ShowWindow(mainWindowObject.window, SW_HIDE);
        ShowWindow(mainWindowObject.window, SW_SHOWNA);
    } else {
        // The caption keeps the old icon until its frame is drawn again.
        RedrawCaption(mainWindowObject.window);
    }
    iconBehind = true;
    TellIcon();
    return 1;
}

// The system's multimedia library is loaded by the first alert, not at
// start-up: most runs never sound one, and loading it slowed every start
// under Wine.
static BOOL PlaySoundFile(const char* file)
{
    typedef BOOL(WINAPI * PlayFunction)(LPCSTR, UINT);
    static PlayFunction play = nullptr;
    char path[kPathSize];
    if (!play && SystemLibraryPath("winmm.dll", path, sizeof path)) {
        HMODULE multimedia = LoadLibraryA(path);
        FARPROC found = multimedia ? GetProcAddress(multimedia, "sndPlaySoundA") : nullptr;
        play = reinterpret_cast<PlayFunction>(reinterpret_cast<void*>(found));
    }
    return play ? play(file, SND_NODEFAULT) : FALSE;
}

// Synchronous on purpose: the print side learns of the end of the sound.
static LRESULT OnAlert(WPARAM wParam)
{
    if (monitorState.alertEnabled == 1 && LOWORD(wParam) == LV_ALERT_SOUND) {
        if (!PlaySoundFile(appSettings.soundFile))
            Beep(kBeepFrequency, kBeepMilliseconds);
    }
    return 1;
}

static LRESULT OnShow()
{
    HWND window = mainWindowObject.window;
    if (IsIconic(window))
        return 1;
    ShowWindow(window, SW_SHOW);
    // Asking costs the window server less than a request that changes nothing.
    if (monitorState.platformId != VER_PLATFORM_WIN32s) {
        if (GetForegroundWindow() != window)
            SetForegroundWindow(window);
    } else {
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    return 1;
}

static LRESULT OnMinimise()
{
    ShowWindow(mainWindowObject.window, SW_MINIMIZE);
    return 1;
}

static LRESULT OnClose()
{
    mainWindowObject.closedByRequest = 1;
    DestroyWindow(mainWindowObject.window);
    return 1;
}

// The reset writes the status text whether it changed or not; the icon
// compares.
static LRESULT OnReset()
{
    iconHeld = true;
    ResetPanel();
    iconHeld = false;
    iconBehind = true;
    TellIcon();
    return 1;
}

// The cancel-job button lies under the panel's origin area; repainting
// that area lets the panel enable or disable it.
static LRESULT OnJobWindow(WPARAM wParam, LPARAM lParam)
{
    HWND handle = reinterpret_cast<HWND>(lParam);
    switch (LOWORD(wParam)) {
    case LV_JOB_REGISTER:
        monitorState.jobWindow = handle;
        break;
    case LV_JOB_UNREGISTER:
        if (handle == monitorState.jobWindow)
            monitorState.jobWindow = nullptr;
        break;
    default:
        break;
    }
    RECT area = {0, 0, 0, 0};
    GetClientRect(monitorState.controls.cancelJobButton, &area);
    InvalidateRect(mainWindowObject.window, &area, TRUE);
    return 1;
}

static LRESULT OnDocumentName()
{
    char name[kDocumentNameSize];
    ReadDocumentName(name, sizeof name);
    SetWindowTextA(monitorState.controls.documentName, name);
    return 1;
}

static LRESULT OnProgress(HWND window, WPARAM which, LPARAM count)
{
    if (which == LV_PROGRESS_DONE)
        monitorState.pagesDone = static_cast<LONG>(count);
    else if (which == LV_PROGRESS_TOTAL)
        monitorState.pagesTotal = static_cast<LONG>(count);
    else
        return 0;
    InvalidateRect(window, nullptr, TRUE);
    return 1;
}

static LRESULT OnSize(WPARAM kind)
{
    if (kind == SIZE_MINIMIZED)
        WriteIsIconSetting("1");
    return 1;
}

static LRESULT OnQueryOpen()
{
    WriteIsIconSetting("0");
    return 1;
}

static LRESULT OnSystemColours()
{
    RebuildFaceBrush();
    return 1;
}

// The exit step: the end of the main window ends the run.
static void SaveAndQuit(int exitCode)
{
    SaveIsIconOnExit();
    PostQuitMessage(exitCode);
}

// A click on the icon, or on its balloon, shows the window as a second
// start does, restoring it first when it is minimised.
static void ShowFromNotificationArea(HWND window)
{
    if (IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    SendMessageA(window, LVWM_APPSHOW, 0, 0);
}

// The icon is added without a version, so the shell sends the mouse
// message itself.
static LRESULT OnNotificationAreaIcon(HWND window, LPARAM event)
{
    switch (event) {
    case WM_LBUTTONUP:
    case NIN_BALLOONUSERCLICK:
        ShowFromNotificationArea(window);
        break;
    case WM_RBUTTONUP:
        switch (ChooseFromNotificationAreaMenu(window)) {
        case IDM_TRAY_SHOW:
            ShowFromNotificationArea(window);
            break;
        case IDM_TRAY_CLOSE:
            CloseMonitor(panelWindowObject.window);
            break;
        default:
            break;
        }
        break;
    default:
        break;
    }
    return 0;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case LVWM_APPINIT:
        return OnReset();
    case LVWM_APPCLOSE:
        return OnClose();
    case LVWM_APPSHOW:
        return OnShow();
    case LVWM_APPMINIMUM:
        return OnMinimise();
    case LVWM_JOBWINDOW:
        return OnJobWindow(wParam, lParam);
    case LVWM_DOCNAME:
        return OnDocumentName();
    case LVWM_ERROR:
        return OnStatusReport(window, wParam, lParam);
    case LVWM_OPERATION:
        return OnOperation(window, wParam);
    case LVWM_PROGRESS:
        return OnProgress(window, wParam, lParam);
    case LVWM_ALERT:
        return OnAlert(wParam);
    case LVWM_SETSTATE:
        return OnSetState(wParam);
    case WM_CREATE:
        return 0;
    case WM_DESTROY:
        RemoveFromNotificationArea();
        // HTML Help windows are the monitor's own and go with it.
        CloseHtmlHelpWindows();
        SaveAndQuit(0);
        return 0;
    case WM_SIZE:
        return OnSize(wParam);
    case WM_SETFOCUS:
        SetFocus(panelWindowObject.window);
        return 1;
    case WM_QUERYOPEN:
        return OnQueryOpen();
    case WM_SYSCOLORCHANGE:
        return OnSystemColours();
    case kTrayIconMessage:
        return OnNotificationAreaIcon(window, lParam);
    default:
        if (IsTaskbarCreated(message)) {
            AddAgainToNotificationArea();
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
