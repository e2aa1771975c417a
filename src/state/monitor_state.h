// The one record of the run, touched only by the user-interface thread.
#ifndef LUMEVIEW_MONITOR_STATE_H
#define LUMEVIEW_MONITOR_STATE_H

#include <windows.h>

#include "lumeview/protocol.h"
#include "state/setting_names.h"

// The panel's controls, looked up once when the panel is made: under Wine
// each look-up by id asks the window server for the panel's children.
struct PanelControls {
    HWND statusText;       // 1006
    HWND documentName;     // 1010
    HWND pagesText;        // 1011
    HWND progressBar;      // 1012
    HWND cancelJobButton;  // 1001
    HWND logo;             // 1014
    HWND devicePicture;    // 1002
    HWND stateIcon;        // 1003
    HWND queueButton;      // 1000
    HWND properties;       // 1004
    HWND documentLabel;    // 1016
    HWND pagesLabel;       // 1017
    HWND percentLabel;     // 1018
};

// The main window and the panel are held by their WindowObject records.
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
    BOOL notificationAreaIcon = FALSE;  // notification_area_icon read exactly 1 at start-up
    DWORD windowsMajor = 0;             // major version, as GetVersionExA reports it
    HINSTANCE instance = nullptr;     // the module whose resources the monitor shows
    PanelControls controls = {};
};

extern MonitorState monitorState;

#endif
