// The one record of the run, touched only by the user-interface thread.
#ifndef LUMEVIEW_MONITOR_STATE_H
#define LUMEVIEW_MONITOR_STATE_H

#include <windows.h>

#include "lvwm_messages.h"

// Values of the event_notification_type setting.
enum NotificationMode {
    NotifyWhilePrinting = 0,
    NotifyAlways = 1,
    NotifyOff = 2
};

struct MonitorState {
    DeviceState deviceState;  // only ever Ready, Warning or Error
    HWND jobWindow;           // the print side's job window, 0 = none
    LONG pagesDone;
    LONG pagesTotal;
    LONG notificationMode;    // a NotificationMode as read, any value kept
    LONG alertEnabled;        // the alert sounds only for exactly 1
    BOOL printerNameMode;     // the command line began with "/P"
    DWORD platformId;         // 0 Win32s, 1 Windows 95 family, 2 NT
    HWND mainWindow;
    HWND panel;
    HWND statusText;          // panel control 1006
    HWND documentName;        // 1010
    HWND pagesText;           // 1011
    HWND progressBar;         // 1012
    HWND cancelJobButton;     // 1001
    HINSTANCE instance;
};

extern MonitorState monitorState;

#endif
