// Stand-in for the queue viewer, the help viewer and the control panel.
#include <windows.h>

#include <stdio.h>

#include "recorder.h"

int main()
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self - 1);
    FILE* log = fopen(RecorderLogPath(self).c_str(), "ab");
    if (!log)
        return 1;
    fprintf(log, "%s\n", GetCommandLineA());
    fclose(log);
    return 0;
}
