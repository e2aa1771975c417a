// The options dialog: the notification mode and the (hidden) alert box.
#ifndef LUMEVIEW_OPTIONS_DIALOG_H
#define LUMEVIEW_OPTIONS_DIALOG_H

#include <windows.h>

// Procedure of the modeless dialog made from template 133, owned by the
// main window; OK stores the settings, Cancel reloads them from the file.
INT_PTR CALLBACK OptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
