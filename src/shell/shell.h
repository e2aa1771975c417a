// What the process shell shares with the rest of the monitor.
#ifndef LUMEVIEW_SHELL_H
#define LUMEVIEW_SHELL_H

#include <windows.h>

// The dialog that the message loop feeds: the panel, or the options
// dialog while it is open.
extern HWND currentDialog;

inline constexpr char kWindowTitle[] = "Brevik Solvane XL";

#endif
