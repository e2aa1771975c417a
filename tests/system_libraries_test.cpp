// The libraries the monitor loads at first use come from the system folder,
// whatever lies beside the monitor or in the folder it was started from;
// without one there, the monitor runs on.
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <string>

#include "hung_viewer.h"
#include "lumeview/protocol.h"
#include "monitor_copy.h"
#include "panel_input.h"
#include "recorder.h"
#include "resource.h"
#include "settings_text.h"
#include "system_stand_in.h"
#include "test_environment.h"
#include "test_files.h"
#include "wine_platform.h"

namespace {

// The full path of the process's module of that file name; empty when none.
std::string LoadedFrom(HANDLE process, const std::string& name)
{
    HMODULE modules[512];
    DWORD needed = 0;
    if (!EnumProcessModules(process, modules, sizeof modules, &needed))
        return "";
    for (DWORD i = 0; i < needed / sizeof(HMODULE) && i < sizeof modules / sizeof modules[0]; ++i) {
        char path[MAX_PATH] = {};
        if (!GetModuleFileNameExA(process, modules[i], path, sizeof path))
            continue;
        const char* slash = strrchr(path, '\\');
        if (lstrcmpiA(slash ? slash + 1 : path, name.c_str()) == 0)
            return path;
    }
    return "";
}

}  // namespace

TEST(SystemLibraries, SoundAndSpoolerLibrariesLoadFromTheSystemFolderOnly)
{
    const std::string system = SystemFolderPath(SystemFolder::System) + "\\";
    const char* libraries[] = {"winmm.dll", "winspool.drv"};
    MonitorCopy monitor(Platform::NT, "system_libraries", "moniteur");
    monitor.currentFolder = TestWorkDir();
    // Copies of the system's own: only the folder tells them apart.
    for (const char* library : libraries) {
        for (const std::string& folder : {monitor.directory, TestWorkDir()})
            ASSERT_TRUE(CopyFileA((system + library).c_str(), (folder + library).c_str(), FALSE)) << folder;
    }
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1, 1) + "Soundfile=" + monitor.directory + "missing.wav\r\n"));
    EXPECT_EQ(1, monitor.Send(LVWM_ALERT, LV_ALERT_SOUND));
    Offer(monitor.Control(IDC_PROPERTIES));
    ASSERT_TRUE(Click(monitor.Control(IDC_PROPERTIES)));
    for (const char* library : libraries) {
        SCOPED_TRACE(library);
        std::string loaded = LoadedFrom(monitor.process.hProcess, library);
        EXPECT_EQ(0, lstrcmpiA((system + library).c_str(), loaded.c_str())) << loaded;
    }
}

// Recorders named hhctrl.ocx beside the monitor and in the folder it was
// started from, and Wine told to prefer a native hhctrl.ocx to its own: the
// system's own serves the .chm all the same, and no copy ever loads.
TEST(SystemLibraries, HtmlHelpLoadsFromTheSystemFolderOnly)
{
    const std::string system = SystemFolderPath(SystemFolder::System) + "\\hhctrl.ocx";
    MonitorCopy monitor(Platform::Windows10, "html_help_decoys", "moniteur");
    monitor.currentFolder = TestWorkDir();
    ASSERT_TRUE(SetWineDllOverride(monitor.exeName, "hhctrl.ocx", "native,builtin"));
    const std::string decoys[] = {monitor.directory + "hhctrl.ocx", TestWorkDir() + "hhctrl.ocx"};
    for (const std::string& decoy : decoys)
        ASSERT_TRUE(InstallRecorder(decoy, kHtmlHelpRecorder));
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1) + "EngssHelp=aide.chm\r\n"));
    ASSERT_TRUE(Click(monitor.Control(IDC_PANEL_HELP)));
    std::string loaded = LoadedFrom(monitor.process.hProcess, "hhctrl.ocx");
    EXPECT_EQ(0, lstrcmpiA(system.c_str(), loaded.c_str())) << loaded;
    monitor.Send(LVWM_APPCLOSE);
    EXPECT_EQ(0u, monitor.WaitForExit());
    for (const std::string& decoy : decoys)
        EXPECT_FALSE(FileExists(RecorderLogPath(decoy))) << decoy << " loaded";
}

// Where the system has no hhctrl.ocx, a .chm opens nothing and the monitor
// runs on.
TEST(SystemLibraries, WithoutHtmlHelpAChmLeavesTheMonitorAnswering)
{
    SystemProgramStandIn missing(SystemFolder::System, "hhctrl.ocx", nullptr);
    ASSERT_TRUE(missing.installed());
    MonitorCopy monitor(Platform::Windows10, "html_help_missing");
    // Wine might still serve its own from the empty place.
    ASSERT_TRUE(SetWineDllOverride(monitor.exeName, "hhctrl.ocx", ""));
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1) + "EngssHelp=aide.chm\r\n"));
    // The first request finds no HTML Help; the second does not look again.
    // Posted, as a press would be: Wine passes over a fault in a sent one.
    for (int press = 0; press < 2; ++press) {
        ASSERT_TRUE(AnswersAfterAskingForHelp(
            monitor, [&] { PostMessageA(monitor.Panel(), WM_COMMAND, IDC_PANEL_HELP, 0); }));
    }
    EXPECT_EQ("", LoadedFrom(monitor.process.hProcess, "hhctrl.ocx"));
    monitor.Send(LVWM_APPCLOSE);
    EXPECT_EQ(0u, monitor.WaitForExit());
}
