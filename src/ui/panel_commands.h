// What the panel's buttons and F1 do.
#ifndef LUMEVIEW_PANEL_COMMANDS_H
#define LUMEVIEW_PANEL_COMMANDS_H

#include <windows.h>

// Runs command `id` of the panel; the dialog procedure's result.
INT_PTR OnPanelCommand(HWND panel, WORD id);

// What the Close button does: the panel goes, then the main window.
INT_PTR CloseMonitor(HWND panel);

#endif
