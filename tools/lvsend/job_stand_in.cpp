#include "job_stand_in.h"

#include <string>

#include "lvwm_messages.h"
#include "output.h"

namespace {

const char kJobWindowClass[] = "LvsendJobWindow";

// Set by Ctrl-C, by the stdin watcher and by a cancel with --until-cancel.
// Lives as long as the process: the watcher thread may outlive a job.
HANDLE stopEvent = nullptr;
bool stopOnCancel = false;
bool watcherStarted = false;
volatile LONG stdinClosed = 0;

void CancelSeen(const char* how)
{
    PrintLine("cancel request: %s", how);
    if (stopOnCancel)
        SetEvent(stopEvent);
}

LRESULT CALLBACK JobWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == LVWM_CANCELJOB) {
        char how[64];
        snprintf(how, sizeof how, "LVWM_CANCELJOB(%lu, %ld)", static_cast<unsigned long>(wParam),
                 static_cast<long>(lParam));
        CancelSeen(how);
        return 1;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

BOOL WINAPI OnConsoleControl(DWORD)
{
    SetEvent(stopEvent);
    return TRUE;
}

// Only a pipe is watched: a console or an inherited NUL would end the job
// at once or never say anything.
DWORD WINAPI WatchStdin(LPVOID)
{
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    std::string line;
    char chunk[256];
    DWORD got = 0;
    while (ReadFile(input, chunk, sizeof chunk, &got, nullptr) && got > 0) {
        line.append(chunk, got);
        size_t end;
        while ((end = line.find('\n')) != std::string::npos) {
            std::string command = line.substr(0, end);
            line.erase(0, end + 1);
            if (!command.empty() && command.back() == '\r')
                command.pop_back();
            if (command == "quit") {
                InterlockedExchange(&stdinClosed, 1);
                SetEvent(stopEvent);
                return 0;
            }
        }
    }
    InterlockedExchange(&stdinClosed, 1);
    SetEvent(stopEvent);
    return 0;
}

HWND CreateJobWindow()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = JobWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kJobWindowClass;
    RegisterClassA(&windowClass);
    // A hidden top-level window: the monitor sends to it across processes.
    return CreateWindowA(kJobWindowClass, "lvsend job", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                         windowClass.hInstance, nullptr);
}

unsigned long HandleValue(HWND window)
{
    return static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window));
}

}  // namespace

int RunJob(const Options& options, const JobOptions& job)
{
    HWND monitor = FindMonitor(options);
    if (monitor == nullptr)
        return ExitNoMonitor;

    if (stopEvent == nullptr)
        stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ResetEvent(stopEvent);
    if (stdinClosed)
        SetEvent(stopEvent);
    stopOnCancel = job.untilCancel;
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    if (!watcherStarted && GetFileType(GetStdHandle(STD_INPUT_HANDLE)) == FILE_TYPE_PIPE) {
        HANDLE watcher = CreateThread(nullptr, 0, WatchStdin, nullptr, 0, nullptr);
        if (watcher != nullptr) {
            watcherStarted = true;
            CloseHandle(watcher);
        }
    }

    // Manual reset and signalled: the monitor's ResetEvent is the request.
    HANDLE cancelEvent = CreateEventA(nullptr, TRUE, TRUE, LV_CANCEL_EVENT_NAME);
    if (cancelEvent == nullptr)
        return Fail(ExitFailure, "cannot create the event %s (error %lu)", LV_CANCEL_EVENT_NAME,
                    GetLastError());
    if (GetLastError() == ERROR_ALREADY_EXISTS)
        SetEvent(cancelEvent);
    PrintLine("event %s signalled", LV_CANCEL_EVENT_NAME);

    HWND jobWindow = CreateJobWindow();
    if (jobWindow == nullptr) {
        CloseHandle(cancelEvent);
        return Fail(ExitFailure, "cannot create the job window (error %lu)", GetLastError());
    }
    int code = SendAndPrint(options, monitor, LVWM_JOBWINDOW, LV_JOB_REGISTER,
                            reinterpret_cast<LPARAM>(jobWindow), kSendTimeoutMs);
    if (code != ExitOk) {
        DestroyWindow(jobWindow);
        CloseHandle(cancelEvent);
        return code;
    }
    PrintLine("job window 0x%08lX registered", HandleValue(jobWindow));

    DWORD started = GetTickCount();
    for (;;) {
        DWORD waited = MsgWaitForMultipleObjects(1, &stopEvent, FALSE, 50, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (WaitForSingleObject(cancelEvent, 0) == WAIT_TIMEOUT) {
            CancelSeen("event " LV_CANCEL_EVENT_NAME " reset");
            SetEvent(cancelEvent);  // ready for the next request
        }
        if (waited == WAIT_OBJECT_0 || WaitForSingleObject(stopEvent, 0) == WAIT_OBJECT_0)
            break;
        if (!IsWindow(monitor)) {
            PrintLine("monitor closed");
            break;
        }
        if (job.seconds != 0 && GetTickCount() - started >= job.seconds * 1000)
            break;
    }

    if (IsWindow(monitor)) {
        code = SendAndPrint(options, monitor, LVWM_JOBWINDOW, LV_JOB_UNREGISTER,
                            reinterpret_cast<LPARAM>(jobWindow), kSendTimeoutMs);
    }
    PrintLine("job ended");
    DestroyWindow(jobWindow);
    CloseHandle(cancelEvent);
    SetConsoleCtrlHandler(OnConsoleControl, FALSE);
    return code;
}
