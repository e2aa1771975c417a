// Which help engine serves a request: WinHelp, which Windows carried up to
// NT 5.x and the 95 family, or HTML Help, which is all that Vista and later
// leave.
#ifndef LUMEVIEW_HELP_ROUTE_H
#define LUMEVIEW_HELP_ROUTE_H

#include <windows.h>

#include <stddef.h>

enum class HelpRoute {
    WinHelp,            // WinHelpA on the file as named
    HtmlHelp,           // HtmlHelpA on the file as named
    HtmlHelpIfBeside,   // HtmlHelpA on the .chm beside the file when there is one, else WinHelpA
};

// False only where Windows leaves WinHelp out: the NT family from 6.0.
bool SystemHasWinHelp(DWORD platformId, DWORD majorVersion);

// A .chm is opened with HTML Help on the 95 and NT families; a .hlp where
// WinHelp is missing looks for its .chm. Win32s keeps WinHelp.
HelpRoute RouteHelp(DWORD platformId, DWORD majorVersion, const char* helpFile);

// The path with its ".hlp" replaced by ".chm"; false when it does not end
// in ".hlp" or the result does not fit `size`.
bool ChmBeside(const char* helpFile, char* chm, size_t size);

#endif
