// The libraries the monitor loads at first use come from the system folder,
// whatever lies beside the monitor or in the folder it was started from.
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <string>

#include "lumeview/protocol.h"
#include "monitor_copy.h"
#include "panel_input.h"
#include "resource.h"
#include "settings_text.h"
#include "system_stand_in.h"
#include "test_environment.h"

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
