#include "settings/system_paths.h"

#include <windows.h>

#include <stdio.h>

#include "state/setting_names.h"

typedef UINT(WINAPI* FolderFunction)(LPSTR, UINT);

// snprintf's result into `out`: false, with `out` emptied, when it was cut.
static bool Whole(int length, char* out, size_t size)
{
    if (length >= 0 && static_cast<size_t>(length) < size)
        return true;
    if (size > 0)
        out[0] = '\0';
    return false;
}

// A drive's root folder already ends in a backslash.
static bool PathInFolder(FolderFunction folderOf, const char* name, char* path, size_t size)
{
    char folder[kPathSize];
    UINT length = folderOf(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder)
        return false;
    const char* separator = folder[length - 1] == '\\' ? "" : "\\";
    return Whole(snprintf(path, size, "%s%s%s", folder, separator, name), path, size);
}

static bool IsFile(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool SystemLibraryPath(const char* name, char* path, size_t size)
{
    return PathInFolder(GetSystemDirectoryA, name, path, size);
}

bool SystemProgramCommand(const char* name, const char* arguments, char* command, size_t size)
{
    const FolderFunction folders[] = {GetWindowsDirectoryA, GetSystemDirectoryA};
    for (FolderFunction folderOf : folders) {
        char program[kPathSize];
        if (PathInFolder(folderOf, name, program, sizeof program) && IsFile(program))
            return Whole(snprintf(command, size, "%s %s", program, arguments), command, size);
    }
    return false;
}
