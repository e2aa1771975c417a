// The print side's job: the window the monitor sends LVWM_CANCELJOB to
// on Win32s, and the named event it resets elsewhere.
#include "lvps.h"

#include "lvps_text.h"

struct LvpsJob {
    HWND window;
    HANDLE cancelEvent;   // named, manual reset, signalled while no request is pending
    HANDLE cancelSignal;  // ours: signalled from the first request on
    HANDLE owner;         // the session's job mutex, held by the job's thread
    bool ownsOwner;
    HANDLE thread;        // the job's thread, to tell when it has ended
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
// Posted messages served before the clock is looked at again: a flood
// must not keep a wait past its limit.
const int kMostMessagesAtOnce = 64;

// One job per process, and through the owner mutex one per session.
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
    // Any program can post or send WM_CLOSE; the job ends by lvps_job_close.
    if (message == WM_CLOSE)
        return 0;
    if (message == LVWM_CANCELJOB && theJob.window == window) {
        // The monitor sends it from its own thread; a posted one, or one
        // from this thread, is nobody's request.
        if (!InSendMessage())
            return 0;
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

// Posted messages of the job window, a bounded number; messages sent to
// any window of the thread are delivered by the peek itself. The quit
// message comes out of a peek whatever its window filter: it is looked
// at first and left, with all others, for the caller's loop.
void ServeJobWindow(LvpsJob* job)
{
    MSG message;
    for (int served = 0; served < kMostMessagesAtOnce; ++served) {
        if (!PeekMessageA(&message, job->window, 0, 0, PM_NOREMOVE) || message.message == WM_QUIT)
            return;
        if (!PeekMessageA(&message, job->window, 0, 0, PM_REMOVE))
            return;
        // Posted meanwhile by a sent message's handler: put back.
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        DispatchMessageA(&message);
    }
}

// The kind of an event someone else made: NT's ntdll tells it, Windows 95
// has no such call. Its basic information starts with the type,
// 1 for an auto-reset (synchronization) event.
bool IsAutoReset(HANDLE event)
{
    typedef LONG(WINAPI * QueryEvent)(HANDLE, int, void*, ULONG, ULONG*);
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (ntdll == nullptr)
        return false;
    QueryEvent query = reinterpret_cast<QueryEvent>(
        reinterpret_cast<void (*)(void)>(GetProcAddress(ntdll, "NtQueryEvent")));
    if (query == nullptr)
        return false;
    LONG basic[2] = {0, 0};  // type, state
    ULONG got = 0;
    return query(event, 0, basic, sizeof basic, &got) == 0 && basic[0] == 1;
}

bool OnItsThread(const LvpsJob* job)
{
    return job->threadId == GetCurrentThreadId();
}

// The system has destroyed the window of an ended thread, so nothing of
// that thread is touched.
bool ThreadEnded(const LvpsJob* job)
{
    return job->thread != nullptr && WaitForSingleObject(job->thread, 0) == WAIT_OBJECT_0;
}

void Release(LvpsJob* job)
{
    bool onItsThread = OnItsThread(job);
    if (job->window != nullptr && onItsThread)
        DestroyWindow(job->window);
    UnregisterClassA(kJobWindowClass, lvps::OwnModule());
    if (job->cancelEvent != nullptr)
        CloseHandle(job->cancelEvent);
    if (job->cancelSignal != nullptr)
        CloseHandle(job->cancelSignal);
    // Last, so that the next owner finds the event as this job left it.
    // An ended thread's mutex is abandoned already.
    if (job->ownsOwner && onItsThread)
        ReleaseMutex(job->owner);
    if (job->owner != nullptr)
        CloseHandle(job->owner);
    if (job->thread != nullptr)
        CloseHandle(job->thread);
    ZeroMemory(job, sizeof *job);
    InterlockedExchange(&jobTaken, 0);
}

// The session's job, or LVPS_ERR_OTHER_JOB with the event untouched.
LvpsStatus TakeOwnership(LvpsJob* job)
{
    job->owner = CreateMutexA(nullptr, FALSE, LVPS_JOB_OWNER_MUTEX);
    if (job->owner == nullptr)
        return LVPS_ERR_SYSTEM;
    DWORD taken = WaitForSingleObject(job->owner, 0);
    if (taken == WAIT_TIMEOUT)
        return LVPS_ERR_OTHER_JOB;
    // Abandoned: its job's process or thread ended; the session is free.
    if (taken != WAIT_OBJECT_0 && taken != WAIT_ABANDONED)
        return LVPS_ERR_SYSTEM;
    job->ownsOwner = true;
    return LVPS_OK;
}

LvpsStatus Make(LvpsJob* job)
{
    LvpsStatus status = TakeOwnership(job);
    if (status != LVPS_OK)
        return status;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &job->thread,
                         SYNCHRONIZE, FALSE, 0))
        return LVPS_ERR_SYSTEM;
    job->cancelSignal = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    // Manual reset and signalled: the monitor's ResetEvent is the request.
    job->cancelEvent = CreateEventA(nullptr, TRUE, TRUE, LV_CANCEL_EVENT_NAME);
    if (job->cancelSignal == nullptr || job->cancelEvent == nullptr)
        return LVPS_ERR_SYSTEM;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        // Another program's auto-reset event would give a request at every look.
        if (IsAutoReset(job->cancelEvent))
            return LVPS_ERR_SYSTEM;
        // Left reset by a job that ended on a request it never read.
        SetEvent(job->cancelEvent);
    }

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
    if (!OnItsThread(job) && !ThreadEnded(job))
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
