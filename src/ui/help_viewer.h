// Help topics asked of the WinHelp viewer.
#ifndef LUMEVIEW_HELP_VIEWER_H
#define LUMEVIEW_HELP_VIEWER_H

#include <windows.h>

// Asks for topic `topic` of the monitor's help file on behalf of `owner`;
// nothing without a help file path.
// A viewer that is open but does not answer is not asked: the request
// waits for its answer without a time limit and would hold the monitor.
void ShowHelpTopic(HWND owner, DWORD topic);

#endif
