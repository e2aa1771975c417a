// The monitor started by an unquoted path through a folder with accented
// letters, as an installer in a French folder would start it: the switches
// still count.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lumeview/protocol.h"
#include "monitor_copy.h"
#include "recorder.h"
#include "resource.h"
#include "settings_text.h"
#include "test_environment.h"

namespace {

// Moves the copy into a folder named "Périphérique" (code page 1252).
void MoveIntoAccentedFolder(MonitorCopy& monitor)
{
    std::string folder = monitor.directory + "P\xE9riph\xE9rique\\";
    ASSERT_EQ(std::string::npos, folder.find(' ')) << "an unquoted start needs a path without blanks: " << folder;
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    std::string exePath = folder + monitor.exeName;
    ASSERT_TRUE(MoveFileA(monitor.exePath.c_str(), exePath.c_str()));
    monitor.iniPath = folder + monitor.iniPath.substr(monitor.directory.size());
    monitor.exePath = exePath;
    monitor.directory = folder;
}

bool StartUnquoted(MonitorCopy& monitor, const std::string& arguments)
{
    if (monitor.process.hProcess) {
        CloseHandle(monitor.process.hProcess);
        CloseHandle(monitor.process.hThread);
        monitor.process = {};
    }
    std::string line = monitor.exePath + (arguments.empty() ? "" : " " + arguments);
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, monitor.directory.c_str(),
                          &startup, &monitor.process) != FALSE;
}

}  // namespace

TEST(LaunchPath, UnquotedAccentedPathKeepsTheSwitches)
{
    const struct {
        int mode;
        const char* arguments;
        bool runs;
    } cases[] = {
        {2, "/P", true}, {0, "/P", true}, {1, "/P", true}, {0, "/P /S", false},
        {1, "/P /S", true}, {2, "", true}, {2, "job", false},
    };
    MonitorCopy monitor(Platform::NT, "accented");
    MoveIntoAccentedFolder(monitor);
    ASSERT_TRUE(InstallRecorder(monitor.directory + "queue.exe"));
    size_t lines = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode) + " arguments \"" + c.arguments + "\"");
        // Each case its own viewer argument: a press that starts nothing
        // cannot pass on the line the case before wrote.
        std::string argument = "/q" + std::to_string(&c - cases);
        monitor.WriteIni(
            MonitorSettings().Key("event_notification_type", c.mode).Key("QueueExe", "queue.exe " + argument).Text());
        ASSERT_TRUE(StartUnquoted(monitor, c.arguments));
        if (!c.runs) {
            // Watched while the copy runs: a window of a copy that ended
            // could not be seen any more.
            EXPECT_EQ(nullptr, monitor.WaitForWindow()) << "a refused launch shows no window";
            EXPECT_EQ(0u, monitor.WaitForExit()) << "a refused launch ends at once";
            continue;
        }
        ASSERT_NE(nullptr, monitor.WaitForWindow()) << "no window";
        // With /P the viewer is taken as stored; named without a folder, with
        // or without /P, it is the one beside the monitor.
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(monitor.Panel(), WM_COMMAND, IDC_QUEUE_BUTTON, 0, SMTO_NORMAL, 5000, &ignored);
        std::string log = WaitForRecorderLog(monitor.directory + "queue.exe", ++lines);
        EXPECT_EQ(lines, LineCount(log)) << "one viewer a press";
        EXPECT_EQ(monitor.directory + "queue.exe " + argument, LastLine(log));
        monitor.Send(LVWM_APPCLOSE);
        EXPECT_EQ(0u, monitor.WaitForExit());
    }
}

TEST(LaunchPath, LongestPathWineCanStartNamesClassAndSettings)
{
    // Wine starts no program from a path of 260 characters or more; 259 is
    // the longest whole path there is.
    std::string exeBase = "longpath";
    std::string folder(259 - TestWorkDir().size() - 1 - exeBase.size() - 4, 'd');
    MonitorCopy monitor(Platform::NT, exeBase, folder);
    ASSERT_EQ(259u, monitor.exePath.size());
    // Only the settings beside it let "/S" run the monitor.
    monitor.WriteIni(MonitorSettings().Key("event_notification_type", 1).Text());
    EXPECT_NE(nullptr, monitor.StartAndWait("/S"));
}
