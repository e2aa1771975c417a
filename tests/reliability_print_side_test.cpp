// A print side that fails: its job window gone while registered, its named
// event missing, its process killed in the middle of a job, its job window
// no longer answering. The monitor keeps answering and serves the next
// print side.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "captured_process.h"
#include "lumeview/protocol.h"
#include "monitor_copy.h"
#include "panel_input.h"
#include "polling.h"
#include "resource.h"
#include "settings_text.h"
#include "stand_in_windows.h"
#include "wine_platform.h"

namespace {

// How soon the monitor must react once the cancel press came back.
const DWORD kMonitorAnswerMs = 3000;
// How long the monitor waits for a Win32s print side to take a cancel.
const DWORD kCancelWaitMs = 5000;

std::string CopyName(const char* base, Platform platform)
{
    return std::string(base) + (platform == Platform::Win32s ? "_32s" : platform == Platform::Windows95 ? "_95" : "_nt");
}

// Presses the cancel button and tells whether the press came back in time.
bool PressCancel(MonitorCopy& monitor, DWORD timeoutMs = 10000)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(monitor.Control(IDC_CANCEL_JOB), BM_CLICK, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

bool Answers(MonitorCopy& monitor, DWORD timeoutMs = 3000)
{
    bool answered = false;
    monitor.Send(WM_NULL, 0, 0, timeoutMs, &answered);
    return answered;
}

// The print side's job stand-in (lvsend job) for this monitor.
std::string PrintSideJob(const MonitorCopy& monitor)
{
    return LvsendCommandLine("--class " + monitor.className + " job --seconds 120");
}

// A job window whose thread reads no message for `busyMs` (or until told to
// go on), with input waiting, as a print side busy printing or hung.
class HungJobWindow {
public:
    explicit HungJobWindow(DWORD busyMs = INFINITE) : busyMs_(busyMs)
    {
        resume_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        made_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
        WaitForSingleObject(made_, 5000);
        busySince = GetTickCount();
    }
    ~HungJobWindow()
    {
        Resume();
        PostMessageA(window, WM_CLOSE, 0, 0);
        WaitForSingleObject(thread_, 5000);
        CloseHandle(thread_);
        CloseHandle(resume_);
        CloseHandle(made_);
    }
    HungJobWindow(const HungJobWindow&) = delete;
    HungJobWindow& operator=(const HungJobWindow&) = delete;

    // The thread answers its messages again.
    void Resume() { SetEvent(resume_); }

    HWND window = nullptr;
    DWORD busySince = 0;
    LONG cancels = 0;
    WPARAM cancelWParam = 0;
    LPARAM cancelLParam = 0;

private:
    static DWORD WINAPI Run(void* parameter)
    {
        HungJobWindow* self = static_cast<HungJobWindow*>(parameter);
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "LVRELIABILITYHUNGJOB";
        RegisterClassA(&windowClass);
        self->window = CreateWindowA("LVRELIABILITYHUNGJOB", "hung job", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                     windowClass.hInstance, nullptr);
        SetWindowLongPtrA(self->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        PostMessageA(self->window, WM_NULL, 0, 0);  // input waiting, never read while busy
        SetEvent(self->made_);
        WaitForSingleObject(self->resume_, self->busyMs_);
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        return 0;
    }

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<HungJobWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message == LVWM_CANCELJOB && self) {
            self->cancelWParam = wParam;
            self->cancelLParam = lParam;
            InterlockedIncrement(&self->cancels);
            return 1;
        }
        if (message == WM_CLOSE) {
            DestroyWindow(window);
            PostQuitMessage(0);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    DWORD busyMs_;
    HANDLE resume_ = nullptr;
    HANDLE made_ = nullptr;
    HANDLE thread_ = nullptr;
};

void RegisterJob(MonitorCopy& monitor, HWND job)
{
    ASSERT_EQ(1, monitor.Send(LVWM_JOBWINDOW, LV_JOB_REGISTER, reinterpret_cast<LPARAM>(job)));
    ASSERT_TRUE(Eventually([&] { return IsWindowEnabled(monitor.Control(IDC_CANCEL_JOB)) != FALSE; }));
}

}  // namespace

TEST(ReliabilityPrintSide, JobWindowDestroyedWhileRegisteredThenCancelOnEveryPlatform)
{
    for (Platform platform : {Platform::Win32s, Platform::Windows95, Platform::NT}) {
        SCOPED_TRACE(PlatformName(platform));
        bool byMessage = platform == Platform::Win32s;
        MonitorCopy monitor(platform, CopyName("dead_job", platform));
        ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
        HANDLE event = CreateEventA(nullptr, TRUE, TRUE, LV_CANCEL_EVENT_NAME);
        ASSERT_NE(nullptr, event);
        {
            JobWindow job;
            RegisterJob(monitor, job.window);
        }
        // The handle is dead but still registered: the button stays usable.
        EXPECT_TRUE(PressCancel(monitor));
        EXPECT_TRUE(Answers(monitor));
        EXPECT_TRUE(monitor.Running());
        if (byMessage)
            EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(event, 0)) << "Win32s has no event";
        else
            EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(event, 0)) << "the event still asks";

        // A new job window of a print side that came back gets the next cancel.
        SetEvent(event);
        JobWindow next;
        RegisterJob(monitor, next.window);
        EXPECT_TRUE(PressCancel(monitor));
        if (byMessage) {
            ASSERT_EQ(1u, next.Records().size());
            EXPECT_EQ(1u, next.Records()[0].wParam);
            EXPECT_EQ(0, next.Records()[0].lParam);
        } else {
            EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(event, 0)) << "the event was not reset";
        }
        CloseHandle(event);
        EXPECT_EQ(1, monitor.Send(LVWM_ERROR, OPECALL_RECOVER, 2));
        EXPECT_EQ(1, monitor.Send(LVWM_APPCLOSE));
        EXPECT_EQ(0u, monitor.WaitForExit());
    }
}

TEST(ReliabilityPrintSide, WithoutTheNamedEventCancelDoesNothingOnWindows95AndNT)
{
    for (Platform platform : {Platform::Windows95, Platform::NT}) {
        SCOPED_TRACE(PlatformName(platform));
        MonitorCopy monitor(platform, CopyName("no_event", platform));
        ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
        JobWindow job;
        ASSERT_EQ(1, monitor.Send(LVWM_JOBWINDOW, LV_JOB_REGISTER, reinterpret_cast<LPARAM>(job.window)));
        ASSERT_TRUE(Eventually([&] { return IsWindowEnabled(monitor.Control(IDC_CANCEL_JOB)) != FALSE; }));
        for (int press = 0; press < 3; ++press)
            EXPECT_TRUE(PressCancel(monitor));
        EXPECT_TRUE(job.Records(500).empty()) << "no message stands in for the event";
        HANDLE left = OpenEventA(EVENT_ALL_ACCESS, FALSE, LV_CANCEL_EVENT_NAME);
        EXPECT_EQ(nullptr, left) << "the monitor made the event itself";
        if (left)
            CloseHandle(left);
        EXPECT_TRUE(Answers(monitor));
    }
}

TEST(ReliabilityPrintSide, PrintSideKilledMidJobLeavesAMonitorThatServesTheNext)
{
    for (Platform platform : {Platform::Win32s, Platform::NT}) {
        SCOPED_TRACE(PlatformName(platform));
        MonitorCopy monitor(platform, CopyName("killed_job", platform));
        ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
        {
            CapturedProcess crashed(PrintSideJob(monitor));
            ASSERT_TRUE(crashed.WaitForOutput(" registered\n", 10000)) << crashed.Out();
            ASSERT_TRUE(Eventually([&] { return IsWindowEnabled(monitor.Control(IDC_CANCEL_JOB)) != FALSE; }));
            ASSERT_EQ(1, monitor.Send(LVWM_PROGRESS, LV_PROGRESS_DONE, 3));
            crashed.Kill();
        }
        // Its window and its event went with it; the registration did not.
        EXPECT_TRUE(PressCancel(monitor));
        EXPECT_TRUE(Answers(monitor));
        EXPECT_EQ(1, monitor.Send(LVWM_ERROR, OPECALL_RECOVER, 2));

        CapturedProcess next(PrintSideJob(monitor));
        ASSERT_TRUE(next.WaitForOutput(" registered\n", 10000)) << next.Out();
        EXPECT_TRUE(PressCancel(monitor));
        const char* expected = platform == Platform::Win32s ? "cancel request: LVWM_CANCELJOB(1, 0)"
                                                            : "cancel request: event EventLPIEmon reset";
        EXPECT_TRUE(next.WaitForOutput(expected, 10000)) << next.Out();
        next.Kill();
    }
}

TEST(ReliabilityPrintSide, HungJobWindowDoesNotHangTheMonitorOnWin32s)
{
    MonitorCopy monitor(Platform::Win32s, "hung_job_32s");
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
    HungJobWindow job;
    ASSERT_NE(nullptr, job.window);
    RegisterJob(monitor, job.window);

    // The request goes to a window that does not answer; the monitor waits
    // for it a few seconds, then goes on with its own work.
    DWORD pressed = GetTickCount();
    bool pressCameBack = PressCancel(monitor, 15000);
    DWORD waited = GetTickCount() - pressed;
    EXPECT_TRUE(pressCameBack) << "the monitor waits for the hung print side";
    RecordProperty("cancel_wait_ms", static_cast<int>(waited));
    EXPECT_GE(waited, kCancelWaitMs - 500) << "the monitor gave the print side no time to answer";
    EXPECT_LE(waited, kCancelWaitMs + 2500) << "the monitor waited too long";
    ASSERT_TRUE(PostMessageA(monitor.window, LVWM_APPMINIMUM, 0, 0));
    EXPECT_TRUE(Eventually([&] { return IsIconic(monitor.window) != FALSE; }, kMonitorAnswerMs))
        << "the monitor no longer takes its posted messages";
    EXPECT_TRUE(Answers(monitor, kMonitorAnswerMs));

    // The request whose wait ran out is not lost: it arrives once the print
    // side reads again, and a new one follows it.
    EXPECT_EQ(0, job.cancels);
    job.Resume();
    EXPECT_TRUE(Eventually([&] { return job.cancels == 1; }, 5000)) << "the request was dropped";
    EXPECT_TRUE(PressCancel(monitor));
    EXPECT_TRUE(Eventually([&] { return job.cancels == 2; }, 5000));
    EXPECT_TRUE(Answers(monitor));
}

TEST(ReliabilityPrintSide, BusyJobWindowGetsTheCancelOnceItReadsAgainOnWin32s)
{
    MonitorCopy monitor(Platform::Win32s, "busy_job_32s");
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
    HungJobWindow job(7000);
    ASSERT_NE(nullptr, job.window);
    RegisterJob(monitor, job.window);
    // Pressed when the print side has read nothing for over five seconds:
    // the time after which Windows takes a thread with input waiting as hung.
    Sleep(5500 - std::min<DWORD>(5500, GetTickCount() - job.busySince));
    ASSERT_EQ(0, job.cancels);
    DWORD pressed = GetTickCount();
    EXPECT_TRUE(PressCancel(monitor, 15000));
    EXPECT_LT(GetTickCount() - pressed, kCancelWaitMs - 1000) << "the monitor did not see the answer";
    EXPECT_TRUE(Eventually([&] { return job.cancels > 0; }, 5000)) << "the request was dropped";
    Sleep(500);
    EXPECT_EQ(1, job.cancels);
    EXPECT_EQ(1u, job.cancelWParam);
    EXPECT_EQ(0, job.cancelLParam);
    EXPECT_TRUE(Answers(monitor));
}
