// The one record of the run, touched only by the user-interface thread.
#ifndef LUMEVIEW_MONITOR_STATE_H
#define LUMEVIEW_MONITOR_STATE_H

#include <windows.h>

#include "protocol/lvwm_messages.h"
#include "settings/setting_names.h"

struct MonitorState {
    DeviceState deviceState = Ready;  // only ever Ready, Warning or Error
    HWND jobWindow = nullptr;         // the print side's job window, 0 = none
    LONG pagesDone = 0;
    LONG pagesTotal = 0;
    LONG notificationMode = NotifyWhilePrinting;  // a NotificationMode as read, any value kept
    LONG alertEnabled = 1;            // counts as enabled until start-up reads the setting;
                                      // the alert sounds only for exactly 1
    BOOL printerNameMode = FALSE;     // the command line began with "/P"
    DWORD platformId = 0;             // 0 Win32s, 1 Windows 95 family, 2 NT
    HWND mainWindow = nullptr;
    HWND panel = nullptr;
    HWND statusText = nullptr;        // panel control 1006
    HWND documentName = nullptr;      // 1010
    HWND pagesText = nullptr;         // 1011
    HWND progressBar = nullptr;       // 1012
    HWND cancelJobButton = nullptr;   // 1001
    HINSTANCE instance = nullptr;
};

extern MonitorState monitorState;

#endif
