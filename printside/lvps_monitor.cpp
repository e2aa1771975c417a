// Finding, starting and speaking to the monitor.
#include "lvps.h"

#include "lvps_text.h"
#include "shell/launch_rules.h"

namespace {

const DWORD kStartPollMs = 20;

bool TimeoutAllowed(DWORD timeoutMs)
{
    return timeoutMs <= LVPS_LONGEST_TIMEOUT_MS;
}

DWORD SendLimit(const LvpsMonitor* monitor, UINT message)
{
    // A status report and the alert return only after the alert sound.
    if (message == LVWM_ERROR || message == LVWM_ALERT)
        return monitor->reportTimeoutMs != 0 ? monitor->reportTimeoutMs : LVPS_DEFAULT_REPORT_TIMEOUT_MS;
    return monitor->timeoutMs != 0 ? monitor->timeoutMs : LVPS_DEFAULT_TIMEOUT_MS;
}

// A closed monitor's handle may name another window later: the process
// that owns it must still be the monitor's.
LvpsStatus Reachable(const LvpsMonitor* monitor)
{
    if (monitor->window == nullptr)
        return LVPS_ERR_NO_MONITOR;
    DWORD owner = 0;
    if (!IsWindow(monitor->window) || GetWindowThreadProcessId(monitor->window, &owner) == 0)
        return LVPS_ERR_GONE;
    if (monitor->processId != 0 && owner != monitor->processId)
        return LVPS_ERR_GONE;
    return LVPS_OK;
}

void Found(HWND window, LvpsMonitor* monitor)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    monitor->window = window;
    monitor->processId = owner;
}

// The path as the monitor will see its own (full, with '\'), and the
// class it registers for that path.
LvpsStatus MonitorNames(const char* exePath, char* fullPath, char* className, DWORD classSize)
{
    if (exePath == nullptr || exePath[0] == '\0' || !lvps::FitsIn(exePath, LVPS_PATH_MAX))
        return LVPS_ERR_ARGUMENT;
    DWORD length = GetFullPathNameA(exePath, LVPS_PATH_MAX + 1, fullPath, nullptr);
    if (length == 0 || length > LVPS_PATH_MAX)
        return LVPS_ERR_ARGUMENT;
    ExecutableNames names;
    DeriveExecutableNames(fullPath, &names);
    if (names.className[0] == '\0' || !lvps::FitsIn(names.className, classSize - 1))
        return LVPS_ERR_ARGUMENT;
    lstrcpynA(className, names.className, static_cast<int>(classSize));
    return LVPS_OK;
}

LvpsStatus SendExpectingAnswer(const LvpsMonitor* monitor, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    LvpsStatus status = lvps_send(monitor, message, wParam, lParam, &result);
    if (status == LVPS_OK && result == 0)
        return LVPS_ERR_REFUSED;
    return status;
}

// "exe" arguments, refused when it does not fit.
bool BuildCommandLine(const char* exePath, const char* arguments, char* line, DWORD size)
{
    line[0] = '\0';
    if (!lvps::Append(line, size, "\"") || !lvps::Append(line, size, exePath) || !lvps::Append(line, size, "\""))
        return false;
    if (arguments == nullptr || arguments[0] == '\0')
        return true;
    return lvps::Append(line, size, " ") && lvps::Append(line, size, arguments);
}

// The folder of a full path, without its last '\' unless it is a root's
// ("C:\"). False when the path names no folder.
bool FolderOf(const char* fullPath, char* folder, DWORD size)
{
    int last = -1;
    for (int i = 0; fullPath[i] != '\0'; ++i) {
        if (fullPath[i] == '\\')
            last = i;
    }
    if (last < 0)
        return false;
    int length = last == 2 && fullPath[1] == ':' ? last + 1 : last;
    if (length <= 0 || static_cast<DWORD>(length) >= size)
        return false;
    lstrcpynA(folder, fullPath, length + 1);
    return true;
}

// What became of a started process: its own window, a hand-over to the
// copy that runs, or an end without a window.
LvpsStatus AwaitStart(const PROCESS_INFORMATION& process, const char* className, DWORD limit,
                      LvpsMonitor* monitor, LvpsStartInfo* info)
{
    DWORD started = GetTickCount();
    for (;;) {
        HWND window = FindWindowA(className, nullptr);
        DWORD owner = 0;
        if (window != nullptr)
            GetWindowThreadProcessId(window, &owner);
        if (window != nullptr && owner == process.dwProcessId && IsWindowVisible(window)) {
            Found(window, monitor);
            info->outcome = LVPS_START_LAUNCHED;
            return LVPS_OK;
        }
        if (WaitForSingleObject(process.hProcess, kStartPollMs) == WAIT_OBJECT_0) {
            GetExitCodeProcess(process.hProcess, &info->exitCode);
            window = FindWindowA(className, nullptr);
            if (info->exitCode == 0 && window != nullptr) {
                Found(window, monitor);
                info->outcome = LVPS_START_ALREADY_RUNNING;
                return LVPS_OK;
            }
            return info->exitCode == 0 ? LVPS_ERR_DECLINED : LVPS_ERR_EXITED;
        }
        if (GetTickCount() - started >= limit)
            return LVPS_ERR_TIMEOUT;
    }
}

}  // namespace

extern "C" {

const char* lvps_status_text(LvpsStatus status)
{
    switch (status) {
    case LVPS_OK: return "done";
    case LVPS_ERR_ARGUMENT: return "an argument is missing, empty, too long or out of range";
    case LVPS_ERR_NO_MONITOR: return "no monitor is running";
    case LVPS_ERR_GONE: return "the monitor window is gone";
    case LVPS_ERR_TIMEOUT: return "the monitor did not answer within the time limit";
    case LVPS_ERR_REFUSED: return "the monitor refused the message";
    case LVPS_ERR_DECLINED: return "the monitor declined to run (its launch rule) and showed no window";
    case LVPS_ERR_EXITED: return "the monitor ended with an error code before showing a window";
    case LVPS_ERR_START_FAILED: return "the monitor program could not be started";
    case LVPS_ERR_REGISTRY: return "the registry value could not be written";
    case LVPS_ERR_SYSTEM: return "a window, window class or event could not be made";
    case LVPS_ERR_JOB_OPEN: return "a job is already open in this process";
    case LVPS_ERR_WRONG_THREAD: return "the job belongs to another thread";
    case LVPS_ERR_OTHER_JOB: return "another program has a job open: the monitor serves one at a time";
    }
    return "unknown status";
}

LvpsStatus lvps_class_name(const char* exePath, char* className, DWORD size)
{
    if (className == nullptr || size == 0)
        return LVPS_ERR_ARGUMENT;
    className[0] = '\0';
    char fullPath[LVPS_PATH_MAX + 1];
    return MonitorNames(exePath, fullPath, className, size);
}

LvpsStatus lvps_find_class(const char* className, LvpsMonitor* monitor)
{
    if (monitor == nullptr || className == nullptr || className[0] == '\0' ||
        !lvps::FitsIn(className, LVPS_CLASS_NAME_MAX))
        return LVPS_ERR_ARGUMENT;
    monitor->window = nullptr;
    monitor->processId = 0;
    HWND window = FindWindowA(className, nullptr);
    if (window == nullptr)
        return LVPS_ERR_NO_MONITOR;
    Found(window, monitor);
    return LVPS_OK;
}

LvpsStatus lvps_find(const char* exePath, LvpsMonitor* monitor)
{
    char className[LVPS_CLASS_NAME_MAX + 1];
    LvpsStatus status = lvps_class_name(exePath, className, sizeof className);
    if (status != LVPS_OK)
        return status;
    return lvps_find_class(className, monitor);
}

LvpsStatus lvps_start(const char* exePath, const char* arguments, DWORD timeoutMs, LvpsMonitor* monitor,
                      LvpsStartInfo* info)
{
    LvpsStartInfo ignored;
    if (info == nullptr)
        info = &ignored;
    info->outcome = LVPS_START_LAUNCHED;
    info->exitCode = 0;
    info->systemError = 0;
    if (monitor == nullptr || !TimeoutAllowed(timeoutMs))
        return LVPS_ERR_ARGUMENT;

    char fullPath[LVPS_PATH_MAX + 1];
    char className[LVPS_CLASS_NAME_MAX + 1];
    LvpsStatus status = MonitorNames(exePath, fullPath, className, sizeof className);
    if (status != LVPS_OK)
        return status;
    char commandLine[LVPS_COMMAND_LINE_MAX + 1];
    if (!BuildCommandLine(fullPath, arguments, commandLine, sizeof commandLine))
        return LVPS_ERR_ARGUMENT;

    // The monitor's own folder: a program it names without a path must not
    // be looked for in the print side's folder.
    char folder[LVPS_PATH_MAX + 1];
    if (!FolderOf(fullPath, folder, sizeof folder))
        return LVPS_ERR_ARGUMENT;

    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(fullPath, commandLine, nullptr, nullptr, FALSE, 0, nullptr, folder, &startup,
                        &process)) {
        info->systemError = GetLastError();
        return LVPS_ERR_START_FAILED;
    }
    CloseHandle(process.hThread);
    status = AwaitStart(process, className, timeoutMs != 0 ? timeoutMs : LVPS_DEFAULT_START_TIMEOUT_MS,
                        monitor, info);
    CloseHandle(process.hProcess);
    return status;
}

LvpsStatus lvps_send(const LvpsMonitor* monitor, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    // Below WM_USER the system copies memory behind lParam as a pointer.
    if (monitor == nullptr || message < WM_USER)
        return LVPS_ERR_ARGUMENT;
    LvpsSendRecord record;
    record.message = message;
    record.wParam = wParam;
    record.lParam = lParam;
    record.timeoutMs = SendLimit(monitor, message);
    record.result = 0;
    if (!TimeoutAllowed(record.timeoutMs))
        return LVPS_ERR_ARGUMENT;

    record.status = Reachable(monitor);
    if (record.status == LVPS_OK) {
        DWORD_PTR answer = 0;
        if (SendMessageTimeoutA(monitor->window, message, wParam, lParam, SMTO_NORMAL, record.timeoutMs,
                                &answer) != 0)
            record.result = static_cast<LRESULT>(answer);
        else
            record.status = IsWindow(monitor->window) ? LVPS_ERR_TIMEOUT : LVPS_ERR_GONE;
    }
    if (monitor->trace != nullptr)
        monitor->trace(monitor->traceContext, &record);
    if (result != nullptr)
        *result = record.result;
    return record.status;
}

LvpsStatus lvps_report_status(const LvpsMonitor* monitor, DWORD category, DWORD code)
{
    return SendExpectingAnswer(monitor, LVWM_ERROR, category, static_cast<LPARAM>(static_cast<LONG>(code)));
}

LvpsStatus lvps_operation(const LvpsMonitor* monitor, DWORD operation)
{
    return SendExpectingAnswer(monitor, LVWM_OPERATION, operation, 0);
}

LvpsStatus lvps_pages_done(const LvpsMonitor* monitor, LONG count)
{
    return SendExpectingAnswer(monitor, LVWM_PROGRESS, LV_PROGRESS_DONE, count);
}

LvpsStatus lvps_pages_total(const LvpsMonitor* monitor, LONG count)
{
    return SendExpectingAnswer(monitor, LVWM_PROGRESS, LV_PROGRESS_TOTAL, count);
}

LvpsStatus lvps_reset(const LvpsMonitor* monitor)
{
    return SendExpectingAnswer(monitor, LVWM_APPINIT, 0, 0);
}

LvpsStatus lvps_show(const LvpsMonitor* monitor)
{
    return SendExpectingAnswer(monitor, LVWM_APPSHOW, 0, 0);
}

LvpsStatus lvps_minimise(const LvpsMonitor* monitor)
{
    return SendExpectingAnswer(monitor, LVWM_APPMINIMUM, 0, 0);
}

LvpsStatus lvps_close(const LvpsMonitor* monitor)
{
    return SendExpectingAnswer(monitor, LVWM_APPCLOSE, 0, 0);
}

LvpsStatus lvps_show_document(const LvpsMonitor* monitor)
{
    return SendExpectingAnswer(monitor, LVWM_DOCNAME, 0, 0);
}

}  // extern "C"
