#include "panel_commands.h"

#include <stdio.h>

#include "app_settings.h"
#include "monitor_state.h"
#include "resource.h"

static const int kHelpCommandSize = 256;

// Help topics of the device states Ready, Warning and Error.
static const DWORD kStateHelpTopics[] = {502, 503, 504};

// The panel goes first, then the main window, whose end ends the run.
static INT_PTR CloseMonitor(HWND panel)
{
    DestroyWindow(panel);
    DestroyWindow(monitorState.mainWindow);
    return 1;
}

// Win32s has no WinHelp service to ask for a topic: the viewer is started
// on the file instead.
static INT_PTR ShowStateHelp(HWND panel)
{
    if (monitorState.platformId != VER_PLATFORM_WIN32s) {
        WinHelpA(panel, appSettings.helpFilePath, HELP_CONTEXT, kStateHelpTopics[monitorState.deviceState]);
        return 1;
    }
    char command[kHelpCommandSize];
    snprintf(command, sizeof command, "winhelp.exe %s", appSettings.helpFilePath);
    WinExec(command, SW_SHOW);
    return 1;
}

INT_PTR OnPanelCommand(HWND panel, WORD id)
{
    switch (id) {
    case IDC_PANEL_CLOSE:
        return CloseMonitor(panel);
    case IDC_PANEL_HELP:
        return ShowStateHelp(panel);
    default:
        return 0;
    }
}
