// Starting the monitor: two starts at the same moment leave one monitor,
// and a start loads only what every run needs.
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "lumeview/protocol.h"
#include "monitor_copy.h"
#include "panel_input.h"
#include "polling.h"
#include "process_list.h"
#include "process_metrics.h"
#include "resource.h"
#include "settings_text.h"
#include "test_environment.h"

namespace {

// A process started suspended, so that two can be let go together.
class SuspendedProcess {
public:
    SuspendedProcess(const std::string& exe, const std::string& arguments, const std::string& folder)
    {
        std::string line = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
        std::vector<char> buffer(line.begin(), line.end());
        buffer.push_back('\0');
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        started_ = CreateProcessA(exe.c_str(), buffer.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                                  folder.c_str(), &startup, &process_) != FALSE;
    }
    ~SuspendedProcess()
    {
        if (!started_)
            return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 99);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    SuspendedProcess(const SuspendedProcess&) = delete;
    SuspendedProcess& operator=(const SuspendedProcess&) = delete;

    bool Started() const { return started_; }
    void Resume() { ResumeThread(process_.hThread); }
    // Exit code, or STILL_ACTIVE while it runs after the timeout.
    DWORD WaitForExit(DWORD timeoutMs)
    {
        if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0)
            return STILL_ACTIVE;
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

private:
    bool started_ = false;
    PROCESS_INFORMATION process_ = {};
};

// Closes every copy of the class and waits until none is left.
bool CloseAll(const std::string& className)
{
    for (HWND window : WindowsOfClass(className.c_str())) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(window, LVWM_APPCLOSE, 0, 0, SMTO_NORMAL, 5000, &result);
    }
    return Eventually([&] { return WindowsOfClass(className.c_str()).empty(); }, 10000);
}

// Lower-cased file names of the DLLs loaded in a process.
std::vector<std::string> LoadedModules(HANDLE process)
{
    HMODULE modules[512];
    DWORD needed = 0;
    std::vector<std::string> names;
    if (!EnumProcessModules(process, modules, sizeof modules, &needed))
        return names;
    DWORD count = std::min<DWORD>(needed / sizeof(HMODULE), sizeof modules / sizeof modules[0]);
    for (DWORD i = 0; i < count; ++i) {
        char name[MAX_PATH] = {};
        if (GetModuleBaseNameA(process, modules[i], name, sizeof name)) {
            std::string lower = name;
            std::transform(lower.begin(), lower.end(), lower.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            names.push_back(lower);
        }
    }
    return names;
}

bool Loaded(HANDLE process, const char* dll)
{
    std::vector<std::string> modules = LoadedModules(process);
    return std::find(modules.begin(), modules.end(), dll) != modules.end();
}

}  // namespace

TEST(ReliabilityStartup, MonitorAndLvsendStartedTogetherLeaveOneMonitor)
{
    MonitorCopy monitor(Platform::NT, "twin_start");
    monitor.WriteIni(MonitorSettings().Key("event_notification_type", 1).Key("sound_audio_alert", 0).Text());
    const std::string lvsend = TestEnvironment("LVSEND_EXE");
    const int kRounds = 25;
    int twoAtOnce = 0;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        // lvsend needs a moment before it starts its copy; the direct start
        // is let go after a delay that sweeps across that moment.
        SuspendedProcess sender(lvsend, "--exe \"" + monitor.exePath + "\" start", monitor.directory);
        SuspendedProcess direct(monitor.exePath, "", monitor.directory);
        ASSERT_TRUE(sender.Started() && direct.Started());
        sender.Resume();
        Sleep(static_cast<DWORD>(round * 5));
        direct.Resume();

        EXPECT_EQ(0u, sender.WaitForExit(20000)) << "lvsend found no monitor";
        // The copy that came second hands over to the first and ends.
        bool settled = Eventually([&] {
            return RunningProcesses(monitor.exeName) == 1 && WindowsOfClass(monitor.className.c_str()).size() == 1;
        }, 5000);
        if (!settled)
            ++twoAtOnce;
        EXPECT_TRUE(settled) << RunningProcesses(monitor.exeName) << " copies run with "
                             << WindowsOfClass(monitor.className.c_str()).size() << " windows";
        ASSERT_TRUE(CloseAll(monitor.className));
        EXPECT_EQ(0u, direct.WaitForExit(10000));
        ASSERT_TRUE(Eventually([&] { return RunningProcesses(monitor.exeName) == 0; }, 10000));
    }
    RecordProperty("two_at_once", twoAtOnce);
}

TEST(ReliabilityStartup, SpoolerAndSoundLibraryLoadOnlyWhenFirstUsed)
{
    MonitorCopy monitor(Platform::NT, "lazy_libraries");
    monitor.WriteIni(MonitorSettings()
                         .Key("event_notification_type", 1)
                         .Key("sound_audio_alert", 1)
                         .Key("Soundfile", monitor.directory + "missing.wav")
                         .Text());
    ASSERT_NE(nullptr, monitor.StartAndWait());
    ASSERT_TRUE(Loaded(monitor.process.hProcess, "user32.dll")) << "the monitor's modules cannot be listed";
    EXPECT_FALSE(Loaded(monitor.process.hProcess, "winspool.drv")) << "the spooler loaded at start-up";
    EXPECT_FALSE(Loaded(monitor.process.hProcess, "winmm.dll")) << "the multimedia library loaded at start-up";

    // A missing sound file: the alert falls back to the beep after the try.
    EXPECT_EQ(1, monitor.Send(LVWM_ALERT, LV_ALERT_SOUND));
    EXPECT_TRUE(Loaded(monitor.process.hProcess, "winmm.dll")) << "the alert did not load it";

    // No printer of that name: the command opens nothing, but asked.
    HWND properties = monitor.Control(IDC_PROPERTIES);
    Offer(properties);
    ASSERT_TRUE(Click(properties));
    EXPECT_TRUE(Loaded(monitor.process.hProcess, "winspool.drv")) << "the properties command did not load it";
    EXPECT_EQ(1, monitor.Send(LVWM_SETSTATE, Ready));
}
