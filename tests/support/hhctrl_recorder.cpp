// Stands in for hhctrl.ocx: it opens no window and appends one line per
// event to "<its path>.log", as the recorder program does: "load" when a
// process loads it, and for each HtmlHelpA call
// "HtmlHelpA owner command data file", numbers in decimal, "-" for no file.
#include <windows.h>

#include <stdio.h>

static HINSTANCE self = nullptr;

static void Record(const char* line)
{
    char path[MAX_PATH + 8] = {};
    DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    lstrcatA(path, ".log");
    HANDLE log = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(log, line, lstrlenA(line), &written, nullptr);
    CloseHandle(log);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        self = instance;
        Record("load\n");
    }
    return TRUE;
}

extern "C" __declspec(dllexport) HWND WINAPI HtmlHelpA(HWND owner, LPCSTR file, UINT command, DWORD_PTR data)
{
    char line[MAX_PATH + 64];
    snprintf(line, sizeof line, "HtmlHelpA %lu %u %lu %s\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(owner)),
             command, static_cast<unsigned long>(data), file ? file : "-");
    Record(line);
    return nullptr;
}
