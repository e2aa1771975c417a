// Making the monitor's windows: the main window class, the main window
// with its panel fitted inside, centred on the desktop. Start-up calls
// these; the tests that host the monitor in their own process call the
// same.
#ifndef LUMEVIEW_MONITOR_WINDOWS_H
#define LUMEVIEW_MONITOR_WINDOWS_H

#include <windows.h>

// Registers the main window class under `className`; false when it failed.
bool RegisterMainClass(HINSTANCE instance, const char* className);

// Makes the main window titled "Brevik Solvane XL" and the panel inside it,
// fits the window around the panel and centres it; nothing is shown yet.
// False when no main window was made; a missing panel leaves the window
// at its first size.
bool CreateMonitorWindows(HINSTANCE instance, const char* className);

#endif
