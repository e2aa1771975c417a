// Stand-in for the queue viewer, the help viewer and the control panel.
// With LUMEVIEW_RECORDER_CWD set in its environment it also writes the
// folder it was started in to "<its path>.cwd"; without, it does nothing more.
#include <windows.h>

#include <stdio.h>

#include "recorder.h"

static void RecordCurrentFolder(const char* self)
{
    char wanted[8];
    if (GetEnvironmentVariableA("LUMEVIEW_RECORDER_CWD", wanted, sizeof wanted) == 0)
        return;
    char folder[MAX_PATH] = {};
    DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
    if (length == 0 || length >= sizeof folder)
        return;
    char path[MAX_PATH + 8];
    snprintf(path, sizeof path, "%s.cwd", self);
    FILE* out = fopen(path, "wb");
    if (!out)
        return;
    fputs(folder, out);
    fclose(out);
}

int main()
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self - 1);
    RecordCurrentFolder(self);
    FILE* log = fopen(RecorderLogPath(self).c_str(), "ab");
    if (!log)
        return 1;
    fprintf(log, "%s\n", GetCommandLineA());
    fclose(log);
    return 0;
}
