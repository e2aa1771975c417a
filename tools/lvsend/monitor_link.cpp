#include "monitor_link.h"

#include "arguments.h"
#include "lumeview/protocol.h"
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

unsigned long HandleValue(HWND window)
{
    return static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window));
}

// Every send of lvsend and of the library on its behalf: the answer on
// stdout, a failure on stderr.
void PrintSend(void*, const LvpsSendRecord* record)
{
    char name[32];
    const char* known = MessageName(record->message);
    if (known != nullptr)
        lstrcpynA(name, known, sizeof name);
    else
        snprintf(name, sizeof name, "message %u", record->message);

    switch (record->status) {
    case LVPS_OK:
        if (record->message == LVWM_JOBWINDOW) {
            // lParam is a window handle there, written as handles are
            PrintLine("%s(%lu, 0x%08lX) -> %ld", name, static_cast<unsigned long>(record->wParam),
                      static_cast<unsigned long>(record->lParam), static_cast<long>(record->result));
        } else {
            PrintLine("%s(%lu, %ld) -> %ld", name, static_cast<unsigned long>(record->wParam),
                      static_cast<long>(record->lParam), static_cast<long>(record->result));
        }
        break;
    case LVPS_ERR_TIMEOUT:
        Fail(ExitNoMonitor, "%s: no answer from the monitor within %lu ms", name, record->timeoutMs);
        break;
    default:
        Fail(ExitCodeOf(record->status), "%s: %s", name, lvps_status_text(record->status));
        break;
    }
}

std::string ClassOf(const Options& options)
{
    if (options.classGiven || options.exePath.empty())
        return options.className;
    char className[LVPS_CLASS_NAME_MAX + 1];
    if (lvps_class_name(options.exePath.c_str(), className, sizeof className) != LVPS_OK)
        return std::string();
    return className;
}

LvpsMonitor MonitorOf(const Options& options)
{
    LvpsMonitor monitor = {};
    monitor.timeoutMs = options.timeoutMs;
    monitor.reportTimeoutMs = options.timeoutMs;
    monitor.trace = PrintSend;
    return monitor;
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

int ExitCodeOf(LvpsStatus status)
{
    switch (status) {
    case LVPS_OK: return ExitOk;
    case LVPS_ERR_ARGUMENT: return ExitUsage;
    case LVPS_ERR_NO_MONITOR:
    case LVPS_ERR_GONE:
    case LVPS_ERR_TIMEOUT:
    case LVPS_ERR_REFUSED:
    case LVPS_ERR_DECLINED:
    case LVPS_ERR_EXITED: return ExitNoMonitor;
    default: return ExitFailure;
    }
}

int FindMonitor(const Options& options, LvpsMonitor* monitor)
{
    *monitor = MonitorOf(options);
    std::string className = ClassOf(options);
    if (className.empty())
        return Fail(ExitUsage, "--exe: '%s' is not a path the monitor can run from", options.exePath.c_str());
    if (lvps_find_class(className.c_str(), monitor) != LVPS_OK)
        return Fail(ExitNoMonitor, "no monitor is running (no window of class %s)", className.c_str());
    return ExitOk;
}

int SendToMonitor(const Options& options, UINT message, WPARAM wParam, LPARAM lParam)
{
    LvpsMonitor monitor;
    int code = FindMonitor(options, &monitor);
    if (code != ExitOk)
        return code;
    return ExitCodeOf(lvps_send(&monitor, message, wParam, lParam, nullptr));
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

int StartMonitor(const Options& options, const std::string& commandRest)
{
    std::string exe = options.exePath.empty() ? OwnDirectory() + "lumeview.exe" : options.exePath;
    char className[LVPS_CLASS_NAME_MAX + 1];
    if (lvps_class_name(exe.c_str(), className, sizeof className) != LVPS_OK)
        return Fail(ExitUsage, "start: '%s' is not a path the monitor can run from (at most %d characters)",
                    exe.c_str(), LVPS_PATH_MAX);

    LvpsMonitor monitor = MonitorOf(options);
    LvpsStartInfo info;
    LvpsStatus status = lvps_start(exe.c_str(), commandRest.c_str(), options.timeoutMs, &monitor, &info);
    DWORD limit = options.timeoutMs != 0 ? options.timeoutMs : LVPS_DEFAULT_START_TIMEOUT_MS;
    switch (status) {
    case LVPS_OK:
        if (info.outcome == LVPS_START_LAUNCHED)
            PrintLine("started %s: window 0x%08lX of class %s", Utf8FromCp1252(exe).c_str(),
                      HandleValue(monitor.window), Utf8FromCp1252(className).c_str());
        else
            PrintLine("already running: window 0x%08lX of class %s", HandleValue(monitor.window),
                      Utf8FromCp1252(className).c_str());
        return ExitOk;
    case LVPS_ERR_ARGUMENT:
        return Fail(ExitUsage, "start: the command line does not fit in %d characters", LVPS_COMMAND_LINE_MAX);
    case LVPS_ERR_START_FAILED:
        return Fail(ExitFailure, "cannot start %s (error %lu)", exe.c_str(), info.systemError);
    case LVPS_ERR_DECLINED:
    case LVPS_ERR_EXITED:
        return Fail(ExitNoMonitor, "%s ended with exit code %lu without opening a window", exe.c_str(),
                    info.exitCode);
    case LVPS_ERR_TIMEOUT:
        return Fail(ExitNoMonitor, "no window of class %s within %lu ms", className, limit);
    default:
        return Fail(ExitCodeOf(status), "start: %s", lvps_status_text(status));
    }
}
