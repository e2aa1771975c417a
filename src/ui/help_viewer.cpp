#include "ui/help_viewer.h"

#include "state/app_settings.h"

// Long enough for a viewer that is only busy, short enough that a hung one
// holds the monitor no longer than a slow click would.
static const UINT kViewerAnswerMs = 1500;

void ShowHelpTopic(HWND owner, DWORD topic)
{
    // A help file name that did not fit names no help file.
    if (appSettings.helpFilePath[0] == '\0')
        return;
    // WinHelp sends to the first window of this class; with none, it starts
    // the viewer itself.
    HWND viewer = FindWindowA("MS_WINHELP", nullptr);
    DWORD_PTR ignored = 0;
    if (viewer && !SendMessageTimeoutA(viewer, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kViewerAnswerMs, &ignored))
        return;
    WinHelpA(owner, appSettings.helpFilePath, HELP_CONTEXT, topic);
}
