// lvps as a driver meets it: wrong arguments, a path with no monitor, a
// monitor that closes or hangs in the middle of a job, a second job.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "captured_process.h"
#include "lvps.h"
#include "monitor_copy.h"
#include "polling.h"
#include "process_list.h"
#include "recorder.h"
#include "resource.h"
#include "settings_text.h"
#include "test_environment.h"
#include "test_files.h"

namespace {

void StartInMode1(MonitorCopy& monitor, LvpsMonitor* link)
{
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
    ASSERT_EQ(LVPS_OK, lvps_find(monitor.exePath.c_str(), link));
    ASSERT_EQ(monitor.window, link->window);
}

// Everything the job held is gone: its window, its signal and the named
// event (nothing else holds it here: no cancel was pressed).
void ExpectReleased(const LvpsJobInfo& info)
{
    EXPECT_FALSE(IsWindow(info.window));
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(info.cancelSignal, &flags));
    HANDLE event = OpenEventA(SYNCHRONIZE, FALSE, LV_CANCEL_EVENT_NAME);
    EXPECT_EQ(nullptr, event);
    if (event != nullptr)
        CloseHandle(event);
}

// A window on a thread of its own standing in for a monitor that answers
// every message after `answerMs`, as the real one answers a status report
// and the alert only once the alert sound has ended.
class SlowMonitor {
public:
    explicit SlowMonitor(DWORD answerMs) : answerMs_(answerMs)
    {
        made_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(made_, 5000)) << "no stand-in window";
    }
    ~SlowMonitor()
    {
        PostMessageA(window_, WM_CLOSE, 0, 0);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread_, 10000)) << "the stand-in's thread did not end";
        CloseHandle(thread_);
        CloseHandle(made_);
    }
    SlowMonitor(const SlowMonitor&) = delete;
    SlowMonitor& operator=(const SlowMonitor&) = delete;

    const std::string className = "LVPS_SLOW_MONITOR_" + std::to_string(GetCurrentProcessId());

private:
    static DWORD WINAPI Run(LPVOID parameter)
    {
        SlowMonitor* self = static_cast<SlowMonitor*>(parameter);
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = Proc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = self->className.c_str();
        RegisterClassA(&windowClass);
        self->window_ = CreateWindowA(self->className.c_str(), "slow", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                      windowClass.hInstance, self);
        SetEvent(self->made_);
        MSG message;
        while (self->window_ && GetMessageA(&message, nullptr, 0, 0) > 0)
            DispatchMessageA(&message);
        return 0;
    }
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE)
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(
                                  reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
        auto* self = reinterpret_cast<SlowMonitor*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message >= WM_USER && message < 0x8000) {
            Sleep(self->answerMs_);
            return 1;
        }
        if (message == WM_DESTROY)
            PostQuitMessage(0);
        return DefWindowProcA(window, message, wParam, lParam);
    }

    DWORD answerMs_;
    HWND window_ = nullptr;
    HANDLE made_ = nullptr;
    HANDLE thread_ = nullptr;
};

}  // namespace

TEST(Lvps, EachBadArgumentGetsItsStatusAtOnce)
{
    const std::string longPath = "C:\\" + std::string(300, 'a') + ".exe";
    const std::string longArguments(LVPS_COMMAND_LINE_MAX, 'x');
    LvpsMonitor none = {};
    LvpsMonitor link = {};
    LvpsJob* job = nullptr;
    char small[4];
    const struct {
        const char* call;
        std::function<LvpsStatus()> run;
        LvpsStatus expected;
    } cases[] = {
        {"find null path", [&] { return lvps_find(nullptr, &link); }, LVPS_ERR_ARGUMENT},
        {"find empty path", [&] { return lvps_find("", &link); }, LVPS_ERR_ARGUMENT},
        {"find over-long path", [&] { return lvps_find(longPath.c_str(), &link); }, LVPS_ERR_ARGUMENT},
        {"find a path with no monitor", [&] { return lvps_find("C:\\nowhere\\no_monitor.exe", &link); },
         LVPS_ERR_NO_MONITOR},
        {"find null record", [&] { return lvps_find_class("LUMEVIEW", nullptr); }, LVPS_ERR_ARGUMENT},
        {"class name into 4 bytes", [&] { return lvps_class_name("C:\\lumeview.exe", small, sizeof small); },
         LVPS_ERR_ARGUMENT},
        {"start null path", [&] { return lvps_start(nullptr, "", 0, &link, nullptr); }, LVPS_ERR_ARGUMENT},
        {"start a command line that does not fit",
         [&] { return lvps_start("C:\\lumeview.exe", longArguments.c_str(), 0, &link, nullptr); }, LVPS_ERR_ARGUMENT},
        {"start a missing program", [&] { return lvps_start("C:\\nowhere\\missing.exe", "", 0, &link, nullptr); },
         LVPS_ERR_START_FAILED},
        {"start with a limit past 600 s",
         [&] { return lvps_start("C:\\lumeview.exe", "", LVPS_LONGEST_TIMEOUT_MS + 1, &link, nullptr); },
         LVPS_ERR_ARGUMENT},
        {"send to no monitor", [&] { return lvps_show(&none); }, LVPS_ERR_NO_MONITOR},
        {"send on a null record", [&] { return lvps_send(nullptr, LVWM_APPSHOW, 0, 0, nullptr); }, LVPS_ERR_ARGUMENT},
        {"send WM_GETTEXT", [&] { return lvps_send(&none, WM_GETTEXT, 100, 1, nullptr); }, LVPS_ERR_ARGUMENT},
        {"document null", [&] { return lvps_publish_document(nullptr); }, LVPS_ERR_ARGUMENT},
        {"document of 128", [&] { return lvps_publish_document(std::string(128, 'd').c_str()); }, LVPS_ERR_ARGUMENT},
        {"printer of 1", [&] { return lvps_publish_printer("P"); }, LVPS_ERR_ARGUMENT},
        {"printer of 256", [&] { return lvps_publish_printer(std::string(256, 'p').c_str()); }, LVPS_ERR_ARGUMENT},
        {"job into null", [&] { return lvps_job_open(nullptr, nullptr, nullptr); }, LVPS_ERR_ARGUMENT},
        {"wait on no job", [&] { return lvps_job_wait(job, 10); }, LVPS_ERR_ARGUMENT},
        {"close no job", [&] { return lvps_job_close(job); }, LVPS_ERR_ARGUMENT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        DWORD start = GetTickCount();
        EXPECT_EQ(c.expected, c.run()) << lvps_status_text(c.run());
        EXPECT_LT(GetTickCount() - start, 2000u);
    }
    for (int status = LVPS_OK; status <= LVPS_ERR_OTHER_JOB; ++status)
        EXPECT_STRNE("unknown status", lvps_status_text(static_cast<LvpsStatus>(status))) << status;
}

// A status report and the alert return only after the alert sound: both take
// the report's limit, every other message the short one.
TEST(Lvps, AStatusReportAndTheAlertWaitForTheSoundUnderTheReportLimit)
{
    const DWORD kAnswerMs = 1500;
    SlowMonitor slow(kAnswerMs);
    LvpsMonitor link = {};
    ASSERT_EQ(LVPS_OK, lvps_find_class(slow.className.c_str(), &link));
    link.timeoutMs = 300;
    link.reportTimeoutMs = 10000;
    const struct {
        const char* call;
        std::function<LvpsStatus()> run;
        LvpsStatus expected;
    } cases[] = {
        {"status report", [&] { return lvps_report_status(&link, OPECALL_RECOVER, 2); }, LVPS_OK},
        {"alert", [&] { return lvps_send(&link, LVWM_ALERT, 1, 0, nullptr); }, LVPS_OK},
        {"show", [&] { return lvps_show(&link); }, LVPS_ERR_TIMEOUT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        DWORD start = GetTickCount();
        EXPECT_EQ(c.expected, c.run());
        DWORD took = GetTickCount() - start;
        if (c.expected == LVPS_OK)
            EXPECT_GE(took, kAnswerMs - 100) << "the stand-in answered early";
        else
            EXPECT_LT(took, kAnswerMs) << "the short limit did not apply";
    }
}

TEST(Lvps, ClassNameIsTheMonitorsOwnRule)
{
    char name[LVPS_CLASS_NAME_MAX + 1];
    ASSERT_EQ(LVPS_OK, lvps_class_name("C:\\Tools\\monitor.new.exe", name, sizeof name));
    EXPECT_STREQ("MONITOR", name);
    // The monitor sees its own path with '\', whatever the caller wrote.
    ASSERT_EQ(LVPS_OK, lvps_class_name("C:/Outils.v2/lumeview.exe", name, sizeof name));
    EXPECT_STREQ("LUMEVIEW", name);
}

TEST(Lvps, StartTellsALaunchedCopyFromARunningOneAndADecline)
{
    MonitorCopy monitor;
    MonitorClosedAtEnd closer(monitor.className);
    monitor.WriteIni(MonitorSettings().Key("event_notification_type", 0).Text());
    LvpsMonitor link = {};
    LvpsStartInfo info;
    ASSERT_EQ(LVPS_OK, lvps_start(monitor.exePath.c_str(), nullptr, 0, &link, &info));
    EXPECT_EQ(LVPS_START_LAUNCHED, info.outcome);
    EXPECT_EQ(monitor.FindMainWindow(), link.window);
    EXPECT_TRUE(IsWindowVisible(link.window));

    LvpsMonitor second = {};
    ASSERT_EQ(LVPS_OK, lvps_start(monitor.exePath.c_str(), "/S", 0, &second, &info));
    EXPECT_EQ(LVPS_START_ALREADY_RUNNING, info.outcome);
    EXPECT_EQ(link.window, second.window);
    EXPECT_EQ(link.processId, second.processId);
    EXPECT_EQ(1u, RunningProcesses(monitor.exeName)) << "the copy it launched has handed over and ended";

    ASSERT_EQ(LVPS_OK, lvps_close(&link));
    ASSERT_TRUE(Eventually([&] { return monitor.FindMainWindow() == nullptr; }));
    EXPECT_EQ(LVPS_ERR_GONE, lvps_show(&link)) << "a closed monitor's handle is not used";
    // The closed copy saves IsIcon last; the next start must not meet it.
    ASSERT_TRUE(Eventually([&] { return monitor.ReadIni("Status Monitor", "IsIcon") != "<absent>"; }));
    Sleep(500);

    EXPECT_EQ(LVPS_ERR_DECLINED, lvps_start(monitor.exePath.c_str(), "/S", 0, &link, &info));
    EXPECT_EQ(0u, info.exitCode);
    EXPECT_EQ(LVPS_ERR_START_FAILED, lvps_start((monitor.directory + "missing.exe").c_str(), "", 0, &link, &info));
    EXPECT_NE(0u, info.systemError);
}

DWORD WINAPI CallFromAnotherThread(LPVOID job)
{
    return lvps_job_wait(static_cast<LvpsJob*>(job), 10);
}

TEST(Lvps, ASecondJobOrAnotherThreadIsRefused)
{
    LvpsJob* job = nullptr;
    ASSERT_EQ(LVPS_OK, lvps_job_open(nullptr, nullptr, &job));
    LvpsJob* second = nullptr;
    EXPECT_EQ(LVPS_ERR_JOB_OPEN, lvps_job_open(nullptr, nullptr, &second));
    EXPECT_EQ(nullptr, second);
    HANDLE thread = CreateThread(nullptr, 0, CallFromAnotherThread, job, 0, nullptr);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 5000));
    DWORD status = 0;
    GetExitCodeThread(thread, &status);
    CloseHandle(thread);
    EXPECT_EQ(static_cast<DWORD>(LVPS_ERR_WRONG_THREAD), status);
    EXPECT_EQ(LVPS_OK, lvps_job_close(job));
    EXPECT_EQ(LVPS_ERR_ARGUMENT, lvps_job_close(job)) << "closed once";
}

TEST(Lvps, AMonitorThatClosesMidJobLeavesNothingBehind)
{
    MonitorCopy monitor;
    LvpsMonitor link = {};
    ASSERT_NO_FATAL_FAILURE(StartInMode1(monitor, &link));
    for (int round = 0; round < 3; ++round) {
        LvpsJob* job = nullptr;
        ASSERT_EQ(LVPS_OK, lvps_job_open(nullptr, nullptr, &job));
        ASSERT_EQ(LVPS_OK, lvps_job_register(job, &link));
        ASSERT_TRUE(Eventually([&] { return IsWindowEnabled(monitor.Control(IDC_CANCEL_JOB)) != FALSE; }));
        LvpsJobInfo info;
        ASSERT_EQ(LVPS_OK, lvps_job_info(job, &info));
        ASSERT_EQ(LVPS_OK, lvps_job_close(job));
        ExpectReleased(info);
        EXPECT_TRUE(Eventually([&] { return !IsWindowEnabled(monitor.Control(IDC_CANCEL_JOB)); }));
    }

    LvpsJob* job = nullptr;
    ASSERT_EQ(LVPS_OK, lvps_job_open(nullptr, nullptr, &job));
    ASSERT_EQ(LVPS_OK, lvps_job_register(job, &link));
    LvpsJobInfo info;
    ASSERT_EQ(LVPS_OK, lvps_job_info(job, &info));
    ASSERT_EQ(LVPS_OK, lvps_close(&link));
    EXPECT_EQ(0u, monitor.WaitForExit());
    EXPECT_EQ(LVPS_ERR_GONE, lvps_job_wait(job, 5000));
    EXPECT_EQ(LVPS_ERR_GONE, lvps_report_status(&link, OPECALL_RECOVER, 2));
    EXPECT_EQ(LVPS_OK, lvps_job_close(job));
    ExpectReleased(info);
}

TEST(Lvps, AHungMonitorCostsOnlyTheTimeLimit)
{
    MonitorCopy monitor;
    LvpsMonitor link = {};
    ASSERT_NO_FATAL_FAILURE(StartInMode1(monitor, &link));
    LvpsJob* job = nullptr;
    ASSERT_EQ(LVPS_OK, lvps_job_open(nullptr, nullptr, &job));
    ASSERT_EQ(LVPS_OK, lvps_job_register(job, &link));

    ASSERT_NE(static_cast<DWORD>(-1), SuspendThread(monitor.process.hThread));
    link.timeoutMs = 500;
    link.reportTimeoutMs = 500;
    DWORD start = GetTickCount();
    EXPECT_EQ(LVPS_ERR_TIMEOUT, lvps_report_status(&link, OPECALL_RECOVER, 2));
    EXPECT_EQ(LVPS_ERR_TIMEOUT, lvps_pages_done(&link, 1));
    // The job's own copy of the record carries the limit it registered with.
    EXPECT_EQ(LVPS_ERR_TIMEOUT, lvps_job_close(job));
    DWORD took = GetTickCount() - start;
    ResumeThread(monitor.process.hThread);
    EXPECT_GE(took, 500u + 500u);
    EXPECT_LT(took, 500u + 500u + LVPS_DEFAULT_TIMEOUT_MS + 2000u);

    ASSERT_EQ(LVPS_OK, lvps_job_open(nullptr, nullptr, &job)) << "released all the same";
    EXPECT_EQ(LVPS_OK, lvps_job_close(job));
}

// A stand-in for the monitor that writes the folder it was started in.
TEST(Lvps, AStartedMonitorRunsInItsOwnFolder)
{
    const std::string folder = TestWorkDir() + "monitor";
    const std::string exe = folder + "\\cwd_probe.exe";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(InstallRecorder(exe));
    char before[MAX_PATH];
    ASSERT_NE(0u, GetCurrentDirectoryA(sizeof before, before));
    ASSERT_TRUE(SetCurrentDirectoryA(TestWorkDir().c_str()));
    SetEnvironmentVariableA("LUMEVIEW_RECORDER_CWD", "1");
    const struct {
        const char* how;
        std::function<void()> start;
    } starts[] = {
        {"lvps_start", [&] {
             LvpsMonitor link = {};
             EXPECT_EQ(LVPS_ERR_DECLINED, lvps_start(exe.c_str(), "", 10000, &link, nullptr));
         }},
        {"lvsend start", [&] {
             CapturedRun run = RunCaptured(LvsendCommandLine("--exe \"" + exe + "\" start"), 20000);
             EXPECT_EQ(2u, run.exitCode) << run.err;
         }},
    };
    for (const auto& s : starts) {
        SCOPED_TRACE(s.how);
        DeleteFileA((exe + ".cwd").c_str());
        s.start();
        EXPECT_EQ(0, lstrcmpiA(folder.c_str(), ReadFileBytes(exe + ".cwd").c_str()))
            << ReadFileBytes(exe + ".cwd");
    }
    SetEnvironmentVariableA("LUMEVIEW_RECORDER_CWD", nullptr);
    SetCurrentDirectoryA(before);
}
