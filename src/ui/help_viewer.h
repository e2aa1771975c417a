// Help topics asked of WinHelp or HTML Help, whichever the system and the
// help file call for.
#ifndef LUMEVIEW_HELP_VIEWER_H
#define LUMEVIEW_HELP_VIEWER_H

#include <windows.h>

// Asks for topic `topic` of the monitor's help file on behalf of `owner`;
// nothing without a help file path.
// A WinHelp viewer that is open but does not answer is not asked: the
// request waits for its answer without a time limit and would hold the
// monitor.
void ShowHelpTopic(HWND owner, DWORD topic);

#endif
