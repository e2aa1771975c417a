#include "shell/launch_rules.h"

#include <stdio.h>
#include <string.h>

#include "state/setting_names.h"

static void CopyBounded(char* target, size_t size, const char* source)
{
    lstrcpynA(target, source, static_cast<int>(size));
}

void DeriveExecutableNames(const char* modulePath, ExecutableNames* names)
{
    char fallback[kClassNameSize];
    snprintf(fallback, sizeof fallback, "Status %s", kStatusMonitor);
    CopyBounded(names->className, sizeof names->className, fallback);
    names->exeDirectory[0] = '\0';
    names->settingsPath[0] = '\0';

    char path[kPathSize];
    CopyBounded(path, sizeof path, modulePath);
    size_t index = strlen(path);
    if (index == 0)
        return;

    // Cut the file name at its first '.', leaving dots in folders alone.
    while (index > 0) {
        if (path[index] == '.')
            path[index] = '\0';
        else if (path[index] == '\\')
            break;
        --index;
    }
    CopyBounded(names->className, sizeof names->className, path + index + 1);
    // The directory with its trailing '\': the first index + 1 characters.
    lstrcpynA(names->exeDirectory, path, static_cast<int>(index + 2));
    // A settings path that does not fit is no path, as a module path that
    // does not fit is: cut, it would name another file.
    int written = snprintf(names->settingsPath, sizeof names->settingsPath, "%s.INI", path);
    if (written < 0 || static_cast<size_t>(written) >= sizeof names->settingsPath) {
        DeriveExecutableNames("", names);
        return;
    }
    if (names->className[0] != '\0')
        CharUpperBuffA(names->className, static_cast<DWORD>(strlen(names->className)));
}

bool ModulePathFits(DWORD length)
{
    return length > 0 && length < kPathSize;
}

static bool AtOrBelowBlank(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

const char* ArgumentsAfterProgramName(const char* fullCommandLine)
{
    const char* at = fullCommandLine;
    if (*at == '"') {
        ++at;
        while (*at != '\0' && *at != '"')
            ++at;
        if (*at == '"')
            ++at;
    } else {
        while (*at != '\0' && !AtOrBelowBlank(*at))
            ++at;
    }
    while (*at != '\0' && AtOrBelowBlank(*at))
        ++at;
    return at;
}

CommandLine ParseCommandLine(const char* commandLine)
{
    CommandLine parsed = {false, commandLine};
    if (strncmp(commandLine, "/P", 2) == 0) {
        parsed.printerNameMode = true;
        parsed.rest = commandLine + 2;
        if (*parsed.rest == ' ')
            ++parsed.rest;
    }
    return parsed;
}

bool RestAsksForIsIcon(const char* rest)
{
    return rest[0] != '\0';
}

bool LaunchAllowed(const char* rest, LONG notificationMode)
{
    if (rest[0] == '\0')
        return true;
    if (notificationMode == 2)
        return false;
    if (strncmp(rest, "/S", 2) == 0 && notificationMode == 0)
        return false;
    return true;
}

POINT CentredOrigin(const RECT& desktop, LONG width, LONG height)
{
    POINT origin;
    origin.x = desktop.left + (desktop.right - desktop.left - width) / 2;
    origin.y = desktop.top + (desktop.bottom - desktop.top - height) / 2;
    return origin;
}

SIZE FittedSize(const RECT& mainWindow, const RECT& panel)
{
    SIZE size;
    size.cx = (panel.right - panel.left) + (panel.left - mainWindow.left);
    size.cy = (panel.bottom - panel.top) + (panel.top - mainWindow.top);
    return size;
}
