// The monitor's icon in the notification area, for integrators who switch
// it on (notification_area_icon): the device state, the status text in
// its tooltip, a balloon for an error that comes while the window is out
// of sight, and a menu to show or close the monitor.
#ifndef LUMEVIEW_TRAY_ICON_H
#define LUMEVIEW_TRAY_ICON_H

#include <windows.h>

#include "lumeview/protocol.h"

// What the shell sends the main window for the icon's mouse events: the
// icon's id in wParam, the mouse message in lParam. Out of the range of
// the print side's messages.
const UINT kTrayIconMessage = WM_APP + 1;

// Puts the icon of the main window in the notification area; an add the
// shell refuses is tried again a few times. Nothing on Win32s, whose
// Windows has no notification area, nor where shell32 cannot notify.
void AddToNotificationArea();

// Shows the current state and status text, when they differ from what the
// icon shows.
void ShowStateInNotificationArea();
// The same after a status report that took the state from `before`,
// with the balloon when one is due.
void ShowReportInNotificationArea(DeviceState before, bool textChanged);

// Takes the icon away; nothing when there is none.
void RemoveFromNotificationArea();

// Whether `message` is the shell's "TaskbarCreated": a new taskbar holds
// none of the icons of the old one.
bool IsTaskbarCreated(UINT message);
void AddAgainToNotificationArea();

// The icon's menu, "Afficher" and "Fermer"; the caller destroys it.
HMENU CreateNotificationAreaMenu();
// Shows the menu at the cursor; the command chosen, 0 for none.
UINT ChooseFromNotificationAreaMenu(HWND window);

#endif
