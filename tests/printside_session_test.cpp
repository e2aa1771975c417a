// One job in the whole session: the cancel event is one per session and the
// monitor serves one job window at a time. lvsend's job is the other process.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "captured_process.h"
#include "lvps.h"
#include "monitor_copy.h"
#include "polling.h"
#include "resource.h"
#include "settings_text.h"
#include "stand_in_windows.h"

namespace {

std::vector<LvpsCancelRequest> requests;

void Record(void*, const LvpsCancelRequest* request)
{
    requests.push_back(*request);
}

std::string LvsendJob(const std::string& className, const char* seconds)
{
    return LvsendCommandLine("--class " + className + " job --seconds " + seconds);
}

bool EventIsSignalled()
{
    HANDLE event = OpenEventA(SYNCHRONIZE, FALSE, LV_CANCEL_EVENT_NAME);
    bool signalled = event != nullptr && WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
    if (event != nullptr)
        CloseHandle(event);
    return signalled;
}

const char kRefused[] = "lvsend: cannot open the job: another program has a job open: the monitor serves one at a time\n";

}  // namespace

TEST(LvpsSession, ACancelPendingForAJobOutlivesAnotherProgramsTryAtAJob)
{
    requests.clear();
    MonitorCopy monitor(Platform::NT);
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
    LvpsMonitor link = {};
    ASSERT_EQ(LVPS_OK, lvps_find(monitor.exePath.c_str(), &link));
    LvpsJob* job = nullptr;
    ASSERT_EQ(LVPS_OK, lvps_job_open(Record, nullptr, &job));
    ASSERT_EQ(LVPS_OK, lvps_job_register(job, &link));
    ASSERT_TRUE(Eventually([&] { return IsWindowEnabled(monitor.Control(IDC_CANCEL_JOB)) != FALSE; }));
    DWORD_PTR ignored = 0;
    ASSERT_NE(0, SendMessageTimeoutA(monitor.Control(IDC_CANCEL_JOB), BM_CLICK, 0, 0, SMTO_NORMAL, 5000, &ignored));
    ASSERT_FALSE(EventIsSignalled()) << "the monitor's cancel resets the event";

    CapturedRun other = RunCaptured(LvsendJob(monitor.className, "1"), 20000);
    EXPECT_EQ(3u, other.exitCode);
    EXPECT_EQ(kRefused, other.err);
    EXPECT_EQ(std::string::npos, other.out.find("registered")) << other.out;
    EXPECT_FALSE(EventIsSignalled()) << "the refused open left the event as it was";

    EXPECT_EQ(LVPS_OK, lvps_job_wait(job, 2000));
    ASSERT_EQ(1u, requests.size()) << "the pending cancel was lost";
    EXPECT_EQ(LVPS_CANCEL_EVENT_RESET, requests[0].channel);
    EXPECT_TRUE(IsWindowEnabled(monitor.Control(IDC_CANCEL_JOB))) << "still this job's window";
    EXPECT_EQ(LVPS_OK, lvps_job_close(job));

    CapturedRun after = RunCaptured(LvsendJob(monitor.className, "1"), 20000);
    EXPECT_EQ(0u, after.exitCode) << after.err;
}

TEST(LvpsSession, AJobOfAProgramThatWasKilledLocksNobodyOut)
{
    SpyWindow spy;
    CapturedProcess other(LvsendJob(spy.className, "60"));
    ASSERT_TRUE(other.WaitForOutput(" registered\n")) << other.Out() << other.Err();
    LvpsJob* job = nullptr;
    EXPECT_EQ(LVPS_ERR_OTHER_JOB, lvps_job_open(nullptr, nullptr, &job));
    EXPECT_EQ(nullptr, job);
    EXPECT_TRUE(EventIsSignalled());

    other.Kill();
    ASSERT_EQ(LVPS_OK, lvps_job_open(nullptr, nullptr, &job)) << "the killed job's hold is taken over";
    CapturedRun refused = RunCaptured(LvsendJob(spy.className, "1"), 20000);
    EXPECT_EQ(3u, refused.exitCode);
    EXPECT_EQ(kRefused, refused.err);
    EXPECT_EQ(LVPS_OK, lvps_job_close(job));
}

// Each look at an auto-reset event would take its signal: a phantom request.
TEST(LvpsSession, AnAutoResetEventOfThatNameIsNotTakenForTheCancelEvent)
{
    HANDLE foreign = CreateEventA(nullptr, FALSE, TRUE, LV_CANCEL_EVENT_NAME);
    ASSERT_NE(nullptr, foreign);
    LvpsJob* job = nullptr;
    EXPECT_EQ(LVPS_ERR_SYSTEM, lvps_job_open(nullptr, nullptr, &job));
    EXPECT_EQ(nullptr, job);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(foreign, 0)) << "its signal was left alone";
    CloseHandle(foreign);

    ASSERT_EQ(LVPS_OK, lvps_job_open(nullptr, nullptr, &job)) << "once it is gone, the job makes its own";
    EXPECT_EQ(LVPS_OK, lvps_job_close(job));
}
