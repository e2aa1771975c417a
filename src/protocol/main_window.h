// The main window procedure: the endpoint of the print side's messages.
#ifndef LUMEVIEW_MAIN_WINDOW_H
#define LUMEVIEW_MAIN_WINDOW_H

#include <windows.h>

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Sends LVWM_APPSHOW to `window` when the mode wants it for this reason;
// 1 when it did.
int ApplyShowPolicy(HWND window, unsigned reason);

#endif
