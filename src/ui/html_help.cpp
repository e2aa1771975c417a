#include "ui/html_help.h"

#include "settings/system_paths.h"
#include "state/setting_names.h"

// From htmlhelp.h, which not every SDK of the monitor's builds carries.
static const UINT kHelpContext = 0x000F;  // HH_HELP_CONTEXT
static const UINT kCloseAll = 0x0012;     // HH_CLOSE_ALL

typedef HWND(WINAPI* HtmlHelpFunction)(HWND, LPCSTR, UINT, DWORD_PTR);

static HtmlHelpFunction htmlHelp = nullptr;

// Looked up once; a library without the call is kept loaded but unused.
static HtmlHelpFunction HtmlHelp()
{
    static bool tried = false;
    if (tried)
        return htmlHelp;
    tried = true;
    char path[kPathSize];
    if (!SystemLibraryPath("hhctrl.ocx", path, sizeof path))
        return nullptr;
    HMODULE module = LoadLibraryA(path);
    if (module)
        htmlHelp = reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void*>(GetProcAddress(module, "HtmlHelpA")));
    return htmlHelp;
}

bool ShowHtmlHelpTopic(HWND owner, const char* file, DWORD topic)
{
    HtmlHelpFunction function = HtmlHelp();
    if (!function)
        return false;
    function(owner, file, kHelpContext, topic);
    return true;
}

void CloseHtmlHelpWindows()
{
    if (htmlHelp)
        htmlHelp(nullptr, nullptr, kCloseAll, 0);
}
