// HTML Help, bound late: hhctrl.ocx is loaded from the system folder at the
// first request, so that the monitor starts and runs where it is missing
// and no copy beside the monitor or in the current folder ever loads.
#ifndef LUMEVIEW_HTML_HELP_H
#define LUMEVIEW_HTML_HELP_H

#include <windows.h>

// Opens topic `topic` of the .chm `file` for `owner`; false when HTML Help
// cannot be loaded.
bool ShowHtmlHelpTopic(HWND owner, const char* file, DWORD topic);

// Closes the HTML Help windows the monitor opened; nothing when HTML Help
// was never loaded.
void CloseHtmlHelpWindows();

#endif
