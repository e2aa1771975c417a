// lvps's job inside a host program: its message loop, its other threads,
// and messages from anyone.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "lvps.h"
#include "monitor_copy.h"
#include "polling.h"
#include "resource.h"
#include "settings_text.h"

namespace {

std::vector<LvpsCancelRequest> requests;

void Record(void*, const LvpsCancelRequest* request)
{
    requests.push_back(*request);
}

// A message sent from a thread of its own, as another program would.
struct Sent {
    HWND window;
    UINT message;
    WPARAM wParam;
};

DWORD WINAPI SendFromItsThread(LPVOID parameter)
{
    const Sent* sent = static_cast<const Sent*>(parameter);
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(sent->window, sent->message, sent->wParam, 0, SMTO_NORMAL, 5000, &answer);
    return static_cast<DWORD>(answer);
}

// Serves the job, as its thread would, until the sender has its answer.
DWORD SendAcrossThreads(LvpsJob* job, const Sent& sent)
{
    HANDLE thread = CreateThread(nullptr, 0, SendFromItsThread, const_cast<Sent*>(&sent), 0, nullptr);
    DWORD start = GetTickCount();
    while (WaitForSingleObject(thread, 0) == WAIT_TIMEOUT && GetTickCount() - start < 6000)
        lvps_job_wait(job, 20);
    DWORD answer = 0;
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 1000)) << "the send was never served";
    GetExitCodeThread(thread, &answer);
    CloseHandle(thread);
    return answer;
}

}  // namespace

TEST(LvpsJob, CancelRequestsOfBothChannelsReachTheCallbackAndTheSignal)
{
    requests.clear();
    LvpsJob* job = nullptr;
    ASSERT_EQ(LVPS_OK, lvps_job_open(Record, nullptr, &job));
    LvpsJobInfo info;
    ASSERT_EQ(LVPS_OK, lvps_job_info(job, &info));
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(info.cancelSignal, 0));

    HANDLE event = OpenEventA(EVENT_ALL_ACCESS, TRUE, LV_CANCEL_EVENT_NAME);
    ASSERT_NE(nullptr, event);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(event, 0)) << "made signalled";
    ResetEvent(event);
    DWORD start = GetTickCount();
    EXPECT_EQ(LVPS_OK, lvps_job_wait(job, 5000));
    EXPECT_LT(GetTickCount() - start, 1000u) << "a request ends the wait";
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(event, 0)) << "signalled again for the next request";
    CloseHandle(event);

    EXPECT_EQ(1u, SendAcrossThreads(job, {info.window, LVWM_CANCELJOB, 1}));
    ASSERT_EQ(2u, requests.size());
    EXPECT_EQ(LVPS_CANCEL_EVENT_RESET, requests[0].channel);
    EXPECT_EQ(LVPS_CANCEL_MESSAGE, requests[1].channel);
    EXPECT_EQ(1u, requests[1].wParam);
    ASSERT_EQ(LVPS_OK, lvps_job_info(job, &info));
    EXPECT_EQ(2u, info.cancelRequests);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(info.cancelSignal, 0));
    EXPECT_EQ(LVPS_OK, lvps_job_close(job));
}

TEST(LvpsJob, OnlyACancelSentFromAnotherThreadIsARequestAndNobodyClosesTheWindow)
{
    requests.clear();
    LvpsJob* job = nullptr;
    ASSERT_EQ(LVPS_OK, lvps_job_open(Record, nullptr, &job));
    LvpsJobInfo info;
    ASSERT_EQ(LVPS_OK, lvps_job_info(job, &info));
    const struct {
        const char* how;
        UINT message;
        bool sent;  // from another thread; else posted
        size_t requestsAfter;
    } cases[] = {
        {"WM_CLOSE posted", WM_CLOSE, false, 0},
        {"WM_CLOSE sent", WM_CLOSE, true, 0},
        {"LVWM_CANCELJOB posted", LVWM_CANCELJOB, false, 0},
        {"LVWM_CANCELJOB sent", LVWM_CANCELJOB, true, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        if (c.sent) {
            SendAcrossThreads(job, {info.window, c.message, 1});
        } else {
            ASSERT_TRUE(PostMessageA(info.window, c.message, 1, 0));
            EXPECT_EQ(LVPS_OK, lvps_job_wait(job, 100));
        }
        EXPECT_TRUE(IsWindow(info.window));
        EXPECT_EQ(c.requestsAfter, requests.size());
    }
    // This thread's own send is the driver's, not the monitor's.
    EXPECT_EQ(0, SendMessageA(info.window, LVWM_CANCELJOB, 1, 0));
    EXPECT_EQ(1u, requests.size());
    EXPECT_EQ(LVPS_OK, lvps_job_close(job));
    EXPECT_FALSE(IsWindow(info.window));
}

TEST(LvpsJob, AWaitLeavesTheQuitMessageAndOtherMessagesToTheCallersLoop)
{
    LvpsJob* job = nullptr;
    ASSERT_EQ(LVPS_OK, lvps_job_open(nullptr, nullptr, &job));
    LvpsJobInfo info;
    ASSERT_EQ(LVPS_OK, lvps_job_info(job, &info));
    const UINT kThreadMessage = WM_APP + 1;
    const UINT kJobMessage = WM_APP + 2;
    ASSERT_TRUE(PostMessageA(info.window, kJobMessage, 0, 0));
    ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), kThreadMessage, 7, 0));
    PostQuitMessage(3);
    DWORD start = GetTickCount();
    EXPECT_EQ(LVPS_OK, lvps_job_wait(job, 200));
    EXPECT_GE(GetTickCount() - start, 150u) << "a pending quit does not end the wait";

    // Any peek hands out the quit message, whatever its filter: read all.
    std::vector<std::pair<UINT, WPARAM>> left;
    MSG message;
    for (int i = 0; i < 100 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (message.message == kJobMessage || message.message == kThreadMessage || message.message == WM_QUIT)
            left.push_back({message.message, message.wParam});
    }
    const std::vector<std::pair<UINT, WPARAM>> expected = {{kThreadMessage, 7}, {WM_QUIT, 3}};
    EXPECT_EQ(expected, left) << "the job's own message served, the others left";
    EXPECT_EQ(LVPS_OK, lvps_job_close(job));
}

// Posts to the job window as fast as it can until told to stop, at most 10 s.
struct Flood {
    HWND window;
    volatile LONG stop;
    volatile LONG posted;
};

DWORD WINAPI PostFlood(LPVOID parameter)
{
    Flood* flood = static_cast<Flood*>(parameter);
    DWORD start = GetTickCount();
    while (!flood->stop && GetTickCount() - start < 10000) {
        if (PostMessageA(flood->window, WM_APP + 3, 0, 0))
            InterlockedIncrement(&flood->posted);
    }
    return 0;
}

TEST(LvpsJob, AFloodOfPostedMessagesDoesNotKeepAWaitPastItsLimit)
{
    LvpsJob* job = nullptr;
    ASSERT_EQ(LVPS_OK, lvps_job_open(nullptr, nullptr, &job));
    LvpsJobInfo info;
    ASSERT_EQ(LVPS_OK, lvps_job_info(job, &info));
    Flood flood = {info.window, 0, 0};
    HANDLE posters[2];
    for (HANDLE& poster : posters)
        poster = CreateThread(nullptr, 0, PostFlood, &flood, 0, nullptr);
    ASSERT_TRUE(Eventually([&] { return flood.posted > 2000; }));

    DWORD start = GetTickCount();
    EXPECT_EQ(LVPS_OK, lvps_job_wait(job, 300));
    DWORD took = GetTickCount() - start;
    InterlockedExchange(&flood.stop, 1);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForMultipleObjects(2, posters, TRUE, 5000));
    for (HANDLE poster : posters)
        CloseHandle(poster);
    EXPECT_GE(took, 300u);
    EXPECT_LT(took, 1500u) << "the wait outlasted its limit under the flood";
    EXPECT_EQ(LVPS_OK, lvps_job_close(job));
}

// The job's thread opens and registers it, then ends without closing it.
struct EndedThread {
    const LvpsMonitor* monitor;
    HANDLE opened;
    HANDLE end;
    LvpsJob* job;
    LvpsStatus status;
};

DWORD WINAPI OpenAndEnd(LPVOID parameter)
{
    EndedThread* ended = static_cast<EndedThread*>(parameter);
    ended->status = lvps_job_open(nullptr, nullptr, &ended->job);
    if (ended->status == LVPS_OK)
        ended->status = lvps_job_register(ended->job, ended->monitor);
    SetEvent(ended->opened);
    WaitForSingleObject(ended->end, 10000);
    return 0;
}

TEST(LvpsJob, AJobWhoseThreadEndedIsClosedFromAnotherThread)
{
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
    LvpsMonitor link = {};
    ASSERT_EQ(LVPS_OK, lvps_find(monitor.exePath.c_str(), &link));
    EndedThread ended = {&link, CreateEventA(nullptr, TRUE, FALSE, nullptr),
                         CreateEventA(nullptr, TRUE, FALSE, nullptr), nullptr, LVPS_ERR_SYSTEM};
    HANDLE thread = CreateThread(nullptr, 0, OpenAndEnd, &ended, 0, nullptr);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(ended.opened, 10000));
    ASSERT_EQ(LVPS_OK, ended.status);
    LvpsJobInfo info;
    ASSERT_EQ(LVPS_OK, lvps_job_info(ended.job, &info));
    ASSERT_TRUE(Eventually([&] { return IsWindowEnabled(monitor.Control(IDC_CANCEL_JOB)) != FALSE; }));

    EXPECT_EQ(LVPS_ERR_WRONG_THREAD, lvps_job_close(ended.job)) << "its thread still runs";
    EXPECT_TRUE(IsWindow(info.window));
    SetEvent(ended.end);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 10000));
    CloseHandle(thread);
    EXPECT_TRUE(Eventually([&] { return !IsWindow(info.window); })) << "the system destroys an ended thread's window";

    LvpsJob* job = nullptr;
    EXPECT_EQ(LVPS_ERR_JOB_OPEN, lvps_job_open(nullptr, nullptr, &job)) << "open until closed";
    EXPECT_EQ(LVPS_OK, lvps_job_close(ended.job));
    EXPECT_TRUE(Eventually([&] { return !IsWindowEnabled(monitor.Control(IDC_CANCEL_JOB)); }))
        << "the monitor heard the unregistering";
    ASSERT_EQ(LVPS_OK, lvps_job_open(nullptr, nullptr, &job));
    EXPECT_EQ(LVPS_OK, lvps_job_close(job));
    CloseHandle(ended.opened);
    CloseHandle(ended.end);
}
