#include "monitor_link.h"

#include <string.h>

#include "arguments.h"
#include "lvwm_messages.h"
#include "output.h"

namespace {

struct MessageEntry {
    UINT message;
    const char* name;
};

const MessageEntry messages[] = {
    {LVWM_APPINIT, "LVWM_APPINIT"},
    {LVWM_APPCLOSE, "LVWM_APPCLOSE"},
    {LVWM_APPSHOW, "LVWM_APPSHOW"},
    {LVWM_APPMINIMUM, "LVWM_APPMINIMUM"},
    {LVWM_JOBWINDOW, "LVWM_JOBWINDOW"},
    {LVWM_DOCNAME, "LVWM_DOCNAME"},
    {LVWM_ERROR, "LVWM_ERROR"},
    {LVWM_OPERATION, "LVWM_OPERATION"},
    {LVWM_PROGRESS, "LVWM_PROGRESS"},
    {LVWM_CANCELJOB, "LVWM_CANCELJOB"},
    {LVWM_ALERT, "LVWM_ALERT"},
    {LVWM_SETSTATE, "LVWM_SETSTATE"},
};

DWORD Limit(const Options& options, DWORD defaultTimeoutMs)
{
    return options.timeoutMs != 0 ? options.timeoutMs : defaultTimeoutMs;
}

std::string ClassOf(const Options& options)
{
    if (options.classGiven)
        return options.className;
    if (!options.exePath.empty())
        return ClassNameForExe(options.exePath);
    return LV_DEFAULT_CLASS;
}

}  // namespace

const char* MessageName(UINT message)
{
    for (const MessageEntry& entry : messages) {
        if (entry.message == message)
            return entry.name;
    }
    return nullptr;
}

bool MessageByName(const std::string& word, UINT* message)
{
    for (const MessageEntry& entry : messages) {
        if (lstrcmpiA(word.c_str(), entry.name) == 0 || lstrcmpiA(word.c_str(), entry.name + 5) == 0) {
            *message = entry.message;
            return true;
        }
    }
    DWORD number = 0;
    if (!ParseNumber(word, &number))
        return false;
    *message = number;
    return true;
}

HWND FindMonitor(const Options& options)
{
    std::string className = ClassOf(options);
    HWND window = FindWindowA(className.c_str(), nullptr);
    if (window == nullptr)
        Fail(ExitNoMonitor, "no monitor is running (no window of class %s)", className.c_str());
    return window;
}

int SendAndPrint(const Options& options, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                 DWORD defaultTimeoutMs, LRESULT* result)
{
    char name[32];
    const char* known = MessageName(message);
    if (known != nullptr)
        lstrcpynA(name, known, sizeof name);
    else
        snprintf(name, sizeof name, "message %u", message);

    DWORD limit = Limit(options, defaultTimeoutMs);
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, limit, &answer) == 0) {
        if (!IsWindow(window))
            return Fail(ExitNoMonitor, "%s: the monitor window is gone", name);
        return Fail(ExitNoMonitor, "%s: no answer from the monitor within %lu ms", name, limit);
    }
    if (message == LVWM_JOBWINDOW) {
        // lParam is a window handle there, written as handles are
        PrintLine("%s(%lu, 0x%08lX) -> %ld", name, static_cast<unsigned long>(wParam),
                  static_cast<unsigned long>(lParam), static_cast<long>(answer));
    } else {
        PrintLine("%s(%lu, %ld) -> %ld", name, static_cast<unsigned long>(wParam),
                  static_cast<long>(lParam), static_cast<long>(answer));
    }
    if (result != nullptr)
        *result = static_cast<LRESULT>(answer);
    return ExitOk;
}

int SendToMonitor(const Options& options, UINT message, WPARAM wParam, LPARAM lParam,
                  DWORD defaultTimeoutMs)
{
    HWND window = FindMonitor(options);
    if (window == nullptr)
        return ExitNoMonitor;
    return SendAndPrint(options, window, message, wParam, lParam, defaultTimeoutMs);
}

std::string OwnDirectory()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return std::string();
    std::string directory(path, length);
    size_t slash = directory.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : directory.substr(0, slash + 1);
}

std::string ClassNameForExe(const std::string& exePath)
{
    size_t slash = exePath.find_last_of("\\/");
    std::string name = slash == std::string::npos ? exePath : exePath.substr(slash + 1);
    name = name.substr(0, name.find('.'));
    char upper[MAX_PATH];
    lstrcpynA(upper, name.c_str(), sizeof upper);
    CharUpperA(upper);
    return upper;
}

int StartMonitor(const Options& options, const std::string& commandRest)
{
    std::string exe = options.exePath.empty() ? OwnDirectory() + "lumeview.exe" : options.exePath;
    std::string className = options.classGiven ? options.className : ClassNameForExe(exe);

    char commandLine[1024];
    if (commandRest.empty())
        snprintf(commandLine, sizeof commandLine, "\"%s\"", exe.c_str());
    else
        snprintf(commandLine, sizeof commandLine, "\"%s\" %s", exe.c_str(), commandRest.c_str());

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(exe.c_str(), commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return Fail(ExitFailure, "cannot start %s (error %lu)", exe.c_str(), GetLastError());
    }
    CloseHandle(process.hThread);

    DWORD limit = Limit(options, kStartTimeoutMs);
    DWORD started = GetTickCount();
    int code = ExitOk;
    for (;;) {
        HWND window = FindWindowA(className.c_str(), nullptr);
        if (window != nullptr) {
            PrintLine("started %s: window 0x%08lX of class %s", exe.c_str(),
                      static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window)), className.c_str());
            break;
        }
        if (WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0) {
            // A second copy hands over to the first and ends at once.
            window = FindWindowA(className.c_str(), nullptr);
            if (window != nullptr)
                continue;
            DWORD exitCode = 0;
            GetExitCodeProcess(process.hProcess, &exitCode);
            code = Fail(ExitNoMonitor, "%s ended with exit code %lu without opening a window",
                        exe.c_str(), exitCode);
            break;
        }
        if (GetTickCount() - started > limit) {
            code = Fail(ExitNoMonitor, "no window of class %s within %lu ms", className.c_str(), limit);
            break;
        }
    }
    CloseHandle(process.hProcess);
    return code;
}
