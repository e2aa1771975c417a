#include "ui/help_viewer.h"

#include "state/app_settings.h"
#include "state/monitor_state.h"
#include "ui/help_route.h"
#include "ui/html_help.h"

// Long enough for a viewer that is only busy, short enough that a hung one
// holds the monitor no longer than a slow click would.
static const UINT kViewerAnswerMs = 1500;

static void ShowWinHelpTopic(HWND owner, DWORD topic)
{
    // WinHelp sends to the first window of this class; with none, it starts
    // the viewer itself.
    HWND viewer = FindWindowA("MS_WINHELP", nullptr);
    DWORD_PTR ignored = 0;
    if (viewer && !SendMessageTimeoutA(viewer, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kViewerAnswerMs, &ignored))
        return;
    WinHelpA(owner, appSettings.helpFilePath, HELP_CONTEXT, topic);
}

// Where WinHelp is missing, a .hlp is served by its .chm when one lies
// beside it; without one, or without HTML Help, WinHelp says what it says.
static void ShowTopicBeside(HWND owner, DWORD topic)
{
    char chm[kPathSize];
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    if (ChmBeside(appSettings.helpFilePath, chm, sizeof chm))
        attributes = GetFileAttributesA(chm);
    bool isFile = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (!isFile || !ShowHtmlHelpTopic(owner, chm, topic))
        ShowWinHelpTopic(owner, topic);
}

void ShowHelpTopic(HWND owner, DWORD topic)
{
    // A help file name that did not fit names no help file.
    if (appSettings.helpFilePath[0] == '\0')
        return;
    switch (RouteHelp(monitorState.platformId, monitorState.windowsMajor, appSettings.helpFilePath)) {
    case HelpRoute::HtmlHelp:
        ShowHtmlHelpTopic(owner, appSettings.helpFilePath, topic);
        break;
    case HelpRoute::HtmlHelpIfBeside:
        ShowTopicBeside(owner, topic);
        break;
    case HelpRoute::WinHelp:
        ShowWinHelpTopic(owner, topic);
        break;
    }
}
