#include "job_stand_in.h"

#include <string>

#include "lvps.h"
#include "monitor_link.h"
#include "output.h"

namespace {

// How long one wait of the job lasts before the stop reasons are looked at.
const DWORD kServeSliceMs = 50;
// A line of the piped input longer than this is no command: it is skipped.
const size_t kLongestInputLine = 256;

// Set by Ctrl-C, by the stdin watcher and by a cancel with --until-cancel.
// Lives as long as the process: the watcher thread may outlive a job.
HANDLE stopEvent = nullptr;
bool watcherStarted = false;
volatile LONG stdinClosed = 0;

BOOL WINAPI OnConsoleControl(DWORD)
{
    SetEvent(stopEvent);
    return TRUE;
}

void InputEnded()
{
    InterlockedExchange(&stdinClosed, 1);
    SetEvent(stopEvent);
}

// Only a pipe is watched: a console or an inherited NUL would end the job
// at once or never say anything.
DWORD WINAPI WatchStdin(LPVOID)
{
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    std::string line;
    bool overlong = false;
    char chunk[256];
    DWORD got = 0;
    while (ReadFile(input, chunk, sizeof chunk, &got, nullptr) && got > 0) {
        for (DWORD i = 0; i < got; ++i) {
            if (chunk[i] != '\n') {
                if (line.size() < kLongestInputLine)
                    line += chunk[i];
                else
                    overlong = true;
                continue;
            }
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (!overlong && line == "quit") {
                InputEnded();
                return 0;
            }
            line.clear();
            overlong = false;
        }
    }
    InputEnded();
    return 0;
}

// The stop event, made once; false when it cannot be made.
bool PrepareStop(bool watchInput)
{
    if (stopEvent == nullptr)
        stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (stopEvent == nullptr)
        return false;
    ResetEvent(stopEvent);
    if (stdinClosed)
        SetEvent(stopEvent);
    if (watchInput && !watcherStarted && GetFileType(GetStdHandle(STD_INPUT_HANDLE)) == FILE_TYPE_PIPE) {
        HANDLE watcher = CreateThread(nullptr, 0, WatchStdin, nullptr, 0, nullptr);
        if (watcher != nullptr) {
            watcherStarted = true;
            CloseHandle(watcher);
        }
    }
    return true;
}

unsigned long HandleValue(HWND window)
{
    return static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window));
}

// The library's job, printing what happens to it; closed by its
// destructor on every path.
class JobStandIn {
public:
    explicit JobStandIn(bool stopOnCancel) : stopOnCancel_(stopOnCancel) {}
    ~JobStandIn() { Close(); }
    JobStandIn(const JobStandIn&) = delete;
    JobStandIn& operator=(const JobStandIn&) = delete;

    int Open(const LvpsMonitor& monitor)
    {
        LvpsStatus status = lvps_job_open(OnCancel, this, &job_);
        if (status != LVPS_OK)
            return Fail(ExitCodeOf(status), "cannot open the job: %s", lvps_status_text(status));
        PrintLine("event %s signalled", LV_CANCEL_EVENT_NAME);
        status = lvps_job_register(job_, &monitor);
        if (status != LVPS_OK)
            return ExitCodeOf(status);
        LvpsJobInfo info;
        lvps_job_info(job_, &info);
        PrintLine("job window 0x%08lX registered", HandleValue(info.window));
        return ExitOk;
    }

    // False once a reason to stop has come.
    bool Serve()
    {
        if (lvps_job_wait(job_, kServeSliceMs) == LVPS_ERR_GONE) {
            PrintLine("monitor closed");
            return false;
        }
        return WaitForSingleObject(stopEvent, 0) != WAIT_OBJECT_0;
    }

    int Close()
    {
        if (job_ == nullptr)
            return ExitOk;
        LvpsStatus status = lvps_job_close(job_);
        job_ = nullptr;
        return ExitCodeOf(status);
    }

private:
    static void OnCancel(void* context, const LvpsCancelRequest* request)
    {
        if (request->channel == LVPS_CANCEL_MESSAGE)
            PrintLine("cancel request: LVWM_CANCELJOB(%lu, %ld)", static_cast<unsigned long>(request->wParam),
                      static_cast<long>(request->lParam));
        else
            PrintLine("cancel request: event %s reset", LV_CANCEL_EVENT_NAME);
        if (static_cast<JobStandIn*>(context)->stopOnCancel_)
            SetEvent(stopEvent);
    }

    LvpsJob* job_ = nullptr;
    bool stopOnCancel_;
};

}  // namespace

int RunJob(const Options& options, const JobOptions& jobOptions)
{
    LvpsMonitor monitor;
    int code = FindMonitor(options, &monitor);
    if (code != ExitOk)
        return code;
    if (!PrepareStop(true))
        return Fail(ExitFailure, "cannot make the job's stop event (error %lu)", GetLastError());
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);

    JobStandIn job(jobOptions.untilCancel);
    code = job.Open(monitor);
    if (code == ExitOk) {
        DWORD started = GetTickCount();
        while (job.Serve() && (jobOptions.seconds == 0 || GetTickCount() - started < jobOptions.seconds * 1000)) {
        }
        code = job.Close();
        PrintLine("job ended");
    }
    SetConsoleCtrlHandler(OnConsoleControl, FALSE);
    return code;
}
