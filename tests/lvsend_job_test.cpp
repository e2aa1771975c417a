// lvsend's job stand-in as an integrator runs it: it registers its window,
// sees both ways of cancelling, and ends when its input closes or its time
// is up.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "captured_process.h"
#include "lumeview/protocol.h"
#include "monitor_copy.h"
#include "polling.h"
#include "resource.h"
#include "settings_text.h"
#include "stand_in_windows.h"

namespace {

std::string ClassOption(const MonitorCopy& monitor)
{
    return "--class " + monitor.className + " ";
}

}  // namespace

TEST(Lvsend, JobSeesBothWaysOfCancelling)
{
    SpyWindow monitor;
    CapturedProcess job(LvsendCommandLine("--class " + monitor.className + " job --seconds 60"));
    ASSERT_TRUE(job.WaitForOutput(" registered\n")) << job.Out() << job.Err();
    size_t at = job.Out().find("job window 0x");
    ASSERT_NE(std::string::npos, at);
    HWND jobWindow = reinterpret_cast<HWND>(static_cast<UINT_PTR>(strtoul(job.Out().c_str() + at + 11, nullptr, 16)));
    ASSERT_TRUE(IsWindow(jobWindow));
    ASSERT_EQ(1u, monitor.Records().size());
    EXPECT_EQ(static_cast<UINT>(LVWM_JOBWINDOW), monitor.Records()[0].message);
    EXPECT_EQ(1u, monitor.Records()[0].wParam);
    EXPECT_EQ(jobWindow, reinterpret_cast<HWND>(monitor.Records()[0].lParam));

    HANDLE cancelEvent = OpenEventA(EVENT_ALL_ACCESS, TRUE, "EventLPIEmon");
    ASSERT_NE(nullptr, cancelEvent);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(cancelEvent, 0)) << "created signalled";
    ResetEvent(cancelEvent);
    EXPECT_TRUE(job.WaitForOutput("\ncancel request: event EventLPIEmon reset\n")) << job.Out();
    EXPECT_TRUE(Eventually([&] { return WaitForSingleObject(cancelEvent, 0) == WAIT_OBJECT_0; }))
        << "signalled again for the next request";
    CloseHandle(cancelEvent);

    DWORD_PTR answer = 0;
    EXPECT_NE(0, SendMessageTimeoutA(jobWindow, LVWM_CANCELJOB, 1, 0, SMTO_NORMAL, 5000, &answer));
    EXPECT_TRUE(job.WaitForOutput("\ncancel request: LVWM_CANCELJOB(1, 0)\n")) << job.Out();

    job.CloseInput();
    ASSERT_TRUE(job.Finish(10000));
    EXPECT_EQ(0u, job.exitCode) << job.Err();
    ASSERT_EQ(2u, monitor.Records().size());
    EXPECT_EQ(static_cast<UINT>(LVWM_JOBWINDOW), monitor.Records()[1].message);
    EXPECT_EQ(0u, monitor.Records()[1].wParam);
    EXPECT_EQ(jobWindow, reinterpret_cast<HWND>(monitor.Records()[1].lParam));
}

TEST(Lvsend, JobReportsTheResetOfTheCancelEvent)
{
    MonitorCopy monitor(Platform::NT);
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
    CapturedProcess job(LvsendCommandLine(ClassOption(monitor) + "job --seconds 60 --until-cancel"));
    ASSERT_TRUE(job.WaitForOutput(" registered\n")) << job.Out() << job.Err();
    EXPECT_EQ(0u, job.Out().find("event EventLPIEmon signalled\nLVWM_JOBWINDOW(1, 0x")) << job.Out();
    ASSERT_TRUE(Eventually([&] { return IsWindowEnabled(monitor.Control(IDC_CANCEL_JOB)) != FALSE; }));

    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(monitor.Control(IDC_CANCEL_JOB), BM_CLICK, 0, 0, SMTO_NORMAL, 5000, &ignored);
    ASSERT_TRUE(job.Finish(15000)) << job.Out();
    EXPECT_EQ(0u, job.exitCode) << job.Err();
    std::vector<std::string> lines = OutputLines(job.Out());
    ASSERT_EQ(6u, lines.size()) << job.Out();
    EXPECT_EQ("cancel request: event EventLPIEmon reset", lines[3]);
    EXPECT_EQ(0u, lines[4].find("LVWM_JOBWINDOW(0, 0x")) << lines[4];
    EXPECT_EQ(lines[1].substr(lines[1].find("0x")), lines[4].substr(lines[4].find("0x")));
    EXPECT_EQ("job ended", lines[5]);
    EXPECT_TRUE(Eventually([&] { return !IsWindowEnabled(monitor.Control(IDC_CANCEL_JOB)); }))
        << "unregistered: the cancel button goes grey";
}

TEST(Lvsend, JobEndsWhenItsInputClosesOrItsTimeIsUp)
{
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
    {
        CapturedProcess job(LvsendCommandLine(ClassOption(monitor) + "job"));
        ASSERT_TRUE(job.WaitForOutput(" registered\n")) << job.Out() << job.Err();
        job.CloseInput();
        ASSERT_TRUE(job.Finish(10000)) << job.Out();
        EXPECT_EQ(0u, job.exitCode);
        EXPECT_NE(std::string::npos, job.Out().find("\nLVWM_JOBWINDOW(0, 0x")) << job.Out();
    }
    DWORD start = GetTickCount();
    CapturedRun result = RunCaptured(LvsendCommandLine(ClassOption(monitor) + "job --seconds 1"), 20000);
    EXPECT_TRUE(result.finished);
    EXPECT_EQ(0u, result.exitCode) << result.err;
    EXPECT_GE(GetTickCount() - start, 1000u);
    EXPECT_NE(std::string::npos, result.out.find("\nLVWM_JOBWINDOW(0, 0x")) << result.out;
    EXPECT_NE(std::string::npos, result.out.find("\njob ended\n")) << result.out;
}
