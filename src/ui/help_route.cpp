#include "ui/help_route.h"

#include <string.h>

static char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Windows compares file names without case; `extension` is lower case.
static bool EndsWith(const char* path, const char* extension)
{
    size_t length = strlen(path);
    size_t extensionLength = strlen(extension);
    if (length < extensionLength)
        return false;
    const char* tail = path + length - extensionLength;
    for (size_t i = 0; i < extensionLength; ++i) {
        if (LowerAscii(tail[i]) != extension[i])
            return false;
    }
    return true;
}

bool SystemHasWinHelp(DWORD platformId, DWORD majorVersion)
{
    return !(platformId == VER_PLATFORM_WIN32_NT && majorVersion >= 6);
}

HelpRoute RouteHelp(DWORD platformId, DWORD majorVersion, const char* helpFile)
{
    if (platformId == VER_PLATFORM_WIN32s)
        return HelpRoute::WinHelp;
    if (EndsWith(helpFile, ".chm"))
        return HelpRoute::HtmlHelp;
    if (!SystemHasWinHelp(platformId, majorVersion) && EndsWith(helpFile, ".hlp"))
        return HelpRoute::HtmlHelpIfBeside;
    return HelpRoute::WinHelp;
}

bool ChmBeside(const char* helpFile, char* chm, size_t size)
{
    size_t length = strlen(helpFile);
    if (!EndsWith(helpFile, ".hlp") || length >= size)
        return false;
    memcpy(chm, helpFile, length - 4);
    memcpy(chm + length - 4, ".chm", 5);
    return true;
}
