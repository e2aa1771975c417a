// The print side's job: the window the monitor sends LVWM_CANCELJOB to
// on Win32s, and the named event it resets elsewhere.
#include "lvps.h"

#include "lvps_text.h"

struct LvpsJob {
    HWND window;
    HANDLE cancelEvent;   // named, manual reset, signalled while no request is pending
    HANDLE cancelSignal;  // ours: signalled from the first request on
    DWORD threadId;
    volatile LONG requests;
    LvpsCancelCallback callback;
    void* context;
    LvpsMonitor monitor;  // the one registered with, window 0 when none
};

namespace {

const char kJobWindowClass[] = "LvpsJobWindow";
// How often the event is looked at while waiting: it has no signal for
// being reset.
const DWORD kEventPollMs = 50;

// The named event is one per session, so one job per process.
LvpsJob theJob;
volatile LONG jobTaken = 0;

void NoteRequest(LvpsJob* job, LvpsCancelChannel channel, WPARAM wParam, LPARAM lParam)
{
    InterlockedIncrement(&job->requests);
    SetEvent(job->cancelSignal);
    if (job->callback != nullptr) {
        LvpsCancelRequest request;
        request.channel = channel;
        request.wParam = wParam;
        request.lParam = lParam;
        job->callback(job->context, &request);
    }
}

LRESULT CALLBACK JobWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == LVWM_CANCELJOB && theJob.window == window) {
        NoteRequest(&theJob, LVPS_CANCEL_MESSAGE, wParam, lParam);
        return 1;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Reads a reset as a request and signals the event again for the next one.
void CheckEvent(LvpsJob* job)
{
    if (WaitForSingleObject(job->cancelEvent, 0) != WAIT_TIMEOUT)
        return;
    SetEvent(job->cancelEvent);
    NoteRequest(job, LVPS_CANCEL_EVENT_RESET, 0, 0);
}

// Posted messages of the job window; messages sent to any window of the
// thread are delivered by the peek itself. Others stay for the caller's loop.
void ServeJobWindow(LvpsJob* job)
{
    MSG message;
    while (PeekMessageA(&message, job->window, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}

void Release(LvpsJob* job)
{
    if (job->window != nullptr)
        DestroyWindow(job->window);
    UnregisterClassA(kJobWindowClass, lvps::OwnModule());
    if (job->cancelEvent != nullptr)
        CloseHandle(job->cancelEvent);
    if (job->cancelSignal != nullptr)
        CloseHandle(job->cancelSignal);
    ZeroMemory(job, sizeof *job);
    InterlockedExchange(&jobTaken, 0);
}

LvpsStatus Make(LvpsJob* job)
{
    job->cancelSignal = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    // Manual reset and signalled: the monitor's ResetEvent is the request.
    job->cancelEvent = CreateEventA(nullptr, TRUE, TRUE, LV_CANCEL_EVENT_NAME);
    if (job->cancelSignal == nullptr || job->cancelEvent == nullptr)
        return LVPS_ERR_SYSTEM;
    // Left reset by a job that ended on a request it never read.
    if (GetLastError() == ERROR_ALREADY_EXISTS)
        SetEvent(job->cancelEvent);

    WNDCLASSA windowClass;
    ZeroMemory(&windowClass, sizeof windowClass);
    windowClass.lpfnWndProc = JobWindowProc;
    windowClass.hInstance = lvps::OwnModule();
    windowClass.lpszClassName = kJobWindowClass;
    if (RegisterClassA(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return LVPS_ERR_SYSTEM;
    // A hidden top-level window: the monitor sends to it across processes.
    job->window = CreateWindowA(kJobWindowClass, "lvps job", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                windowClass.hInstance, nullptr);
    return job->window != nullptr ? LVPS_OK : LVPS_ERR_SYSTEM;
}

bool OnItsThread(const LvpsJob* job)
{
    return job->threadId == GetCurrentThreadId();
}

bool IsTheOpenJob(const LvpsJob* job)
{
    return job == &theJob && jobTaken != 0 && theJob.window != nullptr;
}

bool MonitorStillThere(const LvpsMonitor& monitor)
{
    DWORD owner = 0;
    return IsWindow(monitor.window) && GetWindowThreadProcessId(monitor.window, &owner) != 0 &&
           (monitor.processId == 0 || owner == monitor.processId);
}

}  // namespace

extern "C" {

LvpsStatus lvps_job_open(LvpsCancelCallback callback, void* context, LvpsJob** job)
{
    if (job == nullptr)
        return LVPS_ERR_ARGUMENT;
    *job = nullptr;
    if (InterlockedExchange(&jobTaken, 1) != 0)
        return LVPS_ERR_JOB_OPEN;
    ZeroMemory(&theJob, sizeof theJob);
    theJob.threadId = GetCurrentThreadId();
    theJob.callback = callback;
    theJob.context = context;
    LvpsStatus status = Make(&theJob);
    if (status != LVPS_OK) {
        Release(&theJob);
        return status;
    }
    *job = &theJob;
    return LVPS_OK;
}

LvpsStatus lvps_job_register(LvpsJob* job, const LvpsMonitor* monitor)
{
    if (!IsTheOpenJob(job) || monitor == nullptr)
        return LVPS_ERR_ARGUMENT;
    if (!OnItsThread(job))
        return LVPS_ERR_WRONG_THREAD;
    LRESULT result = 0;
    LvpsStatus status = lvps_send(monitor, LVWM_JOBWINDOW, LV_JOB_REGISTER,
                                  reinterpret_cast<LPARAM>(job->window), &result);
    if (status != LVPS_OK)
        return status;
    if (result == 0)
        return LVPS_ERR_REFUSED;
    job->monitor = *monitor;
    return LVPS_OK;
}

LvpsStatus lvps_job_wait(LvpsJob* job, DWORD timeoutMs)
{
    if (!IsTheOpenJob(job) || timeoutMs > LVPS_LONGEST_TIMEOUT_MS)
        return LVPS_ERR_ARGUMENT;
    if (!OnItsThread(job))
        return LVPS_ERR_WRONG_THREAD;
    LONG before = job->requests;
    DWORD started = GetTickCount();
    for (;;) {
        ServeJobWindow(job);
        CheckEvent(job);
        if (job->monitor.window != nullptr && !MonitorStillThere(job->monitor))
            return LVPS_ERR_GONE;
        DWORD waited = GetTickCount() - started;
        if (job->requests != before || waited >= timeoutMs)
            return LVPS_OK;
        DWORD slice = timeoutMs - waited < kEventPollMs ? timeoutMs - waited : kEventPollMs;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, slice, QS_ALLINPUT);
    }
}

LvpsStatus lvps_job_info(const LvpsJob* job, LvpsJobInfo* info)
{
    if (!IsTheOpenJob(job) || info == nullptr)
        return LVPS_ERR_ARGUMENT;
    info->window = job->window;
    info->cancelRequests = static_cast<DWORD>(job->requests);
    info->cancelSignal = job->cancelSignal;
    return LVPS_OK;
}

LvpsStatus lvps_job_close(LvpsJob* job)
{
    if (!IsTheOpenJob(job))
        return LVPS_ERR_ARGUMENT;
    if (!OnItsThread(job))
        return LVPS_ERR_WRONG_THREAD;
    LvpsStatus status = LVPS_OK;
    if (job->monitor.window != nullptr && MonitorStillThere(job->monitor)) {
        status = lvps_send(&job->monitor, LVWM_JOBWINDOW, LV_JOB_UNREGISTER,
                           reinterpret_cast<LPARAM>(job->window), nullptr);
        // Closed meanwhile: nothing is left to unregister from.
        if (status == LVPS_ERR_GONE)
            status = LVPS_OK;
    }
    Release(job);
    return status;
}

}  // extern "C"
