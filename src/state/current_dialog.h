// The dialog that the message loop feeds: the panel, or the options
// dialog while it is open.
#ifndef LUMEVIEW_CURRENT_DIALOG_H
#define LUMEVIEW_CURRENT_DIALOG_H

#include <windows.h>

extern HWND currentDialog;

#endif
