// What an unlucky install, a hung copy or another local program can make
// the monitor do: the command lines it builds, the start-up path, a second
// start, a second options request, and fonts without a panel.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "lumeview/protocol.h"
#include "monitor_harness.h"
#include "panel_input.h"
#include "process_metrics.h"
#include "protocol/main_window.h"
#include "recorder.h"
#include "resource.h"
#include "settings/setting_rules.h"
#include "settings/settings_store.h"
#include "shell/launch_rules.h"
#include "state/app_settings.h"
#include "state/monitor_state.h"
#include "state/window_object.h"

namespace {

std::set<std::string>& ExistingPrograms()
{
    static std::set<std::string> programs;
    return programs;
}

bool InExistingPrograms(const char* path)
{
    return ExistingPrograms().count(path) != 0;
}

BOOL CALLBACK CollectOptionsDialog(HWND window, LPARAM data)
{
    char title[32] = {};
    GetWindowTextA(window, title, sizeof title);
    if (IsWindowVisible(window) && lstrcmpA(title, "Options") == 0)
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

// Top-level options dialogs of the monitor's thread.
std::vector<HWND> OptionsDialogs(HWND mainWindow)
{
    std::vector<HWND> dialogs;
    EnumThreadWindows(GetWindowThreadProcessId(mainWindow, nullptr), CollectOptionsDialog,
                      reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

}  // namespace

TEST(CommandLineRule, ProgramQuotedArgumentsAsWrittenNothingWhenItDoesNotFit)
{
    ExistingPrograms() = {"D:\\Outils.exe", "D:\\Outils Brevik\\fileq.exe", "D:\\Outils Brevik\\Vue file\\q.exe",
                          "C:\\Program Files\\q.exe", "C:\\Program", "C:\\Tools\\fileq.exe", "monq.exe"};
    // Arguments that make the quoted line 259 characters long: all a 260-byte line holds.
    std::string filling(260 - sizeof "\"D:\\Outils Brevik\\fileq.exe\" ", 'x');
    const struct {
        const char* directory;
        std::string command;
        std::string line;  // empty: nothing to run
    } cases[] = {
        {"D:\\Outils Brevik\\", "fileq.exe /tous \"Bureau 12\"", "\"D:\\Outils Brevik\\fileq.exe\" /tous \"Bureau 12\""},
        {"D:\\Outils Brevik\\", "fileq.exe", "\"D:\\Outils Brevik\\fileq.exe\""},
        {"D:\\Outils Brevik\\", "Vue file\\q.exe  /a", "\"D:\\Outils Brevik\\Vue file\\q.exe\"  /a"},
        {"D:\\Outils Brevik\\", "\"Vue file\\q.exe\" /a", "\"D:\\Outils Brevik\\Vue file\\q.exe\" /a"},
        {"D:\\Outils Brevik\\", "absent.exe /a", ""},
        {"D:\\Outils Brevik\\", "", ""},
        {"D:\\Outils Brevik\\", "   ", ""},
        {"D:\\Outils Brevik\\", "fileq.exe " + filling, "\"D:\\Outils Brevik\\fileq.exe\" " + filling},
        {"D:\\Outils Brevik\\", "fileq.exe " + filling + "y", ""},
        {"C:\\Tools\\", "fileq.exe /tous", "C:\\Tools\\fileq.exe /tous"},
        {"", "C:\\Program Files\\q.exe /a", "\"C:\\Program Files\\q.exe\" /a"},
        {"", "\"C:\\Program Files\\q.exe\" /a", "\"C:\\Program Files\\q.exe\" /a"},
        {"", "\"monq.exe\" /m", "\"monq.exe\" /m"},
        {"", "monq.exe /m", "monq.exe /m"},
        {"", "\"\" /m", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.directory) + "|" + c.command.substr(0, 40));
        char line[260] = "untouched";
        EXPECT_EQ(!c.line.empty(), QuotedCommandLine(line, sizeof line, c.directory, c.command.c_str(), InExistingPrograms));
        EXPECT_EQ(c.line, line);
    }
}

TEST(CommandLineRule, QueueCommandIsDecidedWithinTheMonitorsFolderOrByAFullPath)
{
    ExistingPrograms() = {"D:\\Outils.exe", "D:\\Outils Brevik\\fileq.exe", "C:\\Program Files\\q.exe", "monq.exe"};
    const char* folder = "D:\\Outils Brevik\\";
    const struct {
        const char* queueCommand;
        const char* line;  // empty: nothing to run
    } cases[] = {
        {"D:\\Outils Brevik\\fileq.exe /a", "\"D:\\Outils Brevik\\fileq.exe\" /a"},
        {"D:\\Outils Brevik\\absent.exe /a", ""},  // never the shorter D:\Outils
        {"fileq.exe /a", "\"D:\\Outils Brevik\\fileq.exe\" /a"},
        {"monq.exe /m", ""},  // not beside the monitor: no search elsewhere
        {"\"C:\\Program Files\\q.exe\" /a", "\"C:\\Program Files\\q.exe\" /a"},
        {"C:\\Program Files\\q.exe /a", "\"C:\\Program Files\\q.exe\" /a"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.queueCommand);
        char line[260] = "untouched";
        EXPECT_EQ(*c.line != '\0', QueueCommandLine(line, sizeof line, c.queueCommand, folder, InExistingPrograms));
        EXPECT_STREQ(c.line, line);
    }
}

TEST(ModulePathRule, FailedOrCutPathIsNoPath)
{
    const struct {
        DWORD length;
        bool fits;
    } cases[] = {{0, false}, {1, true}, {259, true}, {260, false}, {261, false}};
    for (const auto& c : cases)
        EXPECT_EQ(c.fits, ModulePathFits(c.length)) << "length " << c.length;
}

TEST(ModulePath, LongestPathWineCanStartNamesClassAndSettings)
{
    // Wine starts no program from a path of 260 characters or more; 259 is
    // the longest whole path there is.
    std::string exeBase = "longpath";
    std::string folder(259 - TestWorkDir().size() - 1 - exeBase.size() - 4, 'd');
    MonitorCopy monitor(Platform::NT, exeBase, folder);
    ASSERT_EQ(259u, monitor.exePath.size());
    // Only the settings beside it let "/S" run the monitor.
    monitor.WriteIni("[Status Monitor]\r\nevent_notification_type=1\r\n");
    EXPECT_NE(nullptr, monitor.StartAndWait("/S"));
}

TEST(CommandsFromAFolderWithBlanks, QueueViewerRunsQuotedNeverTheShorterPath)
{
    MonitorCopy monitor(Platform::NT, "queue_blanks", "Outils Brevik");
    std::string planted = TestWorkDir() + "Outils.exe";
    std::string viewer = monitor.directory + "fileq.exe";
    ASSERT_TRUE(InstallRecorder(planted));
    ASSERT_TRUE(InstallRecorder(viewer));
    const std::string quiet[] = {
        "",                                       // the folder alone is no program
        "fileq.exe /" + std::string(248, 'x'),    // too long for the line once joined
    };
    monitor.WriteIni("[Status Monitor]\r\nevent_notification_type=1\r\n");
    ASSERT_NE(nullptr, monitor.StartAndWait("job"));
    auto pressQueue = [&](const std::string& queueExe) {
        monitor.SetIni("Status Monitor", "QueueExe", queueExe.c_str());
        monitor.Send(LVWM_APPINIT);  // reloads the path settings
        Offer(monitor.Control(IDC_QUEUE_BUTTON));
        Click(monitor.Control(IDC_QUEUE_BUTTON));
    };
    for (const std::string& queueExe : quiet)
        pressQueue(queueExe);
    pressQueue("fileq.exe /tous \"Bureau 12\"");
    EXPECT_EQ("\"" + viewer + "\" /tous \"Bureau 12\"\n", WaitForRecorderLog(viewer));

    // With /P the stored command is taken as written, the program quoted.
    EXPECT_EQ(1, monitor.Send(LVWM_APPCLOSE));
    EXPECT_EQ(0u, monitor.WaitForExit());
    monitor.SetIni("Status Monitor", "QueueExe", (viewer + " /p").c_str());
    ASSERT_NE(nullptr, monitor.StartAndWait("/P job"));
    Offer(monitor.Control(IDC_QUEUE_BUTTON));
    Click(monitor.Control(IDC_QUEUE_BUTTON));
    std::string log = WaitForRecorderLog(viewer, 2);
    EXPECT_EQ(2u, LineCount(log));
    EXPECT_EQ("\"" + viewer + "\" /p\n", log.substr(log.find('\n') + 1));
    Sleep(300);
    EXPECT_FALSE(FileExists(RecorderLogPath(planted))) << ReadFileBytes(RecorderLogPath(planted));
    EXPECT_EQ(2u, LineCount(ReadFileBytes(RecorderLogPath(viewer))));
}

// A copy that is only busy (a long alert sound) is as still as a hung one
// until it reads again; then it shows itself.
TEST(SecondStart, HungRunningCopyHoldsTheNewStartOnlySoLongAndShowsItselfOnceFree)
{
    MonitorCopy monitor(Platform::NT, "hung_copy");
    monitor.WriteIni("[Status Monitor]\r\nevent_notification_type=1\r\n");
    ASSERT_TRUE(monitor.Start("", SW_HIDE));
    ASSERT_TRUE(Eventually([&] { return (monitor.window = monitor.FindMainWindow()) != nullptr; }));
    ASSERT_EQ(1, monitor.Send(LVWM_SETSTATE, Ready)) << "start-up has ended";
    ASSERT_FALSE(IsWindowVisible(monitor.window));
    ASSERT_NE(static_cast<DWORD>(-1), SuspendThread(monitor.process.hThread));

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION second = {};
    std::string line = "\"" + monitor.exePath + "\" job";
    DWORD started = GetTickCount();
    ASSERT_TRUE(CreateProcessA(monitor.exePath.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                               monitor.directory.c_str(), &startup, &second));
    DWORD waited = WaitForSingleObject(second.hProcess, 12000);
    DWORD elapsed = GetTickCount() - started;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(second.hProcess, &code);
    if (waited != WAIT_OBJECT_0)
        TerminateProcess(second.hProcess, 99);
    CloseHandle(second.hProcess);
    CloseHandle(second.hThread);
    ResumeThread(monitor.process.hThread);

    ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), waited) << "the second start still waits";
    EXPECT_EQ(0u, code);
    EXPECT_LT(elapsed, 10000u);
    EXPECT_EQ(1, monitor.Send(LVWM_SETSTATE, Ready)) << "the first copy goes on once free";
    EXPECT_TRUE(Eventually([&] { return IsWindowVisible(monitor.window) != FALSE; }))
        << "the second start's request was lost";
}

// A path or file name that does not fit its 260 bytes is refused, never
// cut to a name of another file.
TEST(PathSettings, ValuesThatDoNotFitAreRefusedNotCut)
{
    const std::string directory = "C:\\Tools\\";
    std::string iniPath = TestWorkDir() + "paths.INI";
    lstrcpynA(appSettings.settingsPath, iniPath.c_str(), sizeof appSettings.settingsPath);
    lstrcpynA(appSettings.exeDirectory, directory.c_str(), sizeof appSettings.exeDirectory);
    const size_t joinable = 259 - directory.size();
    const struct {
        const char* key;
        size_t length;
        char (AppSettings::*field)[kPathSize];
        std::string expected;  // with the value written as `v`
    } cases[] = {
        {"EngssHelp", joinable, &AppSettings::helpFilePath, directory + "v"},
        {"EngssHelp", joinable + 1, &AppSettings::helpFilePath, ""},
        {"EngssHelp", 300, &AppSettings::helpFilePath, ""},
        {"Soundfile", 259, &AppSettings::soundFile, "v"},
        {"Soundfile", 260, &AppSettings::soundFile, ""},
        {"QueueExe", joinable, &AppSettings::queueCommand, directory + "v"},
        {"QueueExe", joinable + 1, &AppSettings::queueCommand, ""},
        {"QueueExe", 300, &AppSettings::queueCommand, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " of " + std::to_string(c.length));
        std::string value(c.length, 'h');
        WriteFileBytes(iniPath, "[Status Monitor]\r\n" + std::string(c.key) + "=" + value + "\r\n");
        LoadPathSettings();
        std::string expected = c.expected;
        size_t at = expected.find('v');
        if (at != std::string::npos)
            expected.replace(at, 1, value);
        EXPECT_EQ(expected, appSettings.*c.field);
    }
}

TEST(OptionsRequests, SecondRequestWhileOpenDoesNothing)
{
    MonitorCopy monitor(Platform::NT, "options_twice");
    monitor.WriteIni("[Status Monitor]\r\nevent_notification_type=1\r\n");
    ASSERT_NE(nullptr, monitor.StartAndWait());
    HWND panel = monitor.Panel();
    DWORD_PTR result = 0;
    for (int request = 0; request < 2; ++request)
        ASSERT_NE(0, SendMessageTimeoutA(panel, WM_COMMAND, IDC_OPTIONS, 0, SMTO_NORMAL, 5000, &result));
    std::vector<HWND> dialogs = OptionsDialogs(monitor.window);
    ASSERT_EQ(1u, dialogs.size());
    EXPECT_FALSE(IsWindowEnabled(monitor.window));

    ASSERT_NE(0, SendMessageTimeoutA(dialogs[0], WM_COMMAND, IDCANCEL, 0, SMTO_NORMAL, 5000, &result));
    EXPECT_TRUE(Eventually([&] { return OptionsDialogs(monitor.window).empty(); }));
    EXPECT_TRUE(IsWindowEnabled(monitor.window));

    // The panel takes the request again once the dialog is gone.
    ASSERT_NE(0, SendMessageTimeoutA(panel, WM_COMMAND, IDC_OPTIONS, 0, SMTO_NORMAL, 5000, &result));
    EXPECT_EQ(1u, OptionsDialogs(monitor.window).size());
}

TEST(FontsWithoutPanel, AppInitLeavesNoFontBehind)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "LUMEVIEW_NO_PANEL";
    ASSERT_NE(0, RegisterClassA(&windowClass));
    monitorState.instance = instance;
    mainWindowObject.window = CreateWindowA("LUMEVIEW_NO_PANEL", "no panel", WS_POPUP, 0, 0, 100, 100, nullptr,
                                            nullptr, instance, nullptr);
    ASSERT_NE(nullptr, mainWindowObject.window);
    ASSERT_EQ(nullptr, monitorState.controls.statusText);

    SendMessageA(mainWindowObject.window, LVWM_APPINIT, 0, 0);  // what a first reset keeps for good
    // The count must see a font come and go, or it proves nothing.
    long before = LiveGdiObjects();
    HFONT probe = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    ASSERT_EQ(before + 1, LiveGdiObjects()) << "fonts cannot be counted here";
    DeleteObject(probe);
    ASSERT_EQ(before, LiveGdiObjects());
    for (int reset = 0; reset < 100; ++reset)
        ASSERT_EQ(1, SendMessageA(mainWindowObject.window, LVWM_APPINIT, 0, 0));
    EXPECT_EQ(before, LiveGdiObjects()) << "GDI objects after 100 resets without a panel";
    DestroyWindow(mainWindowObject.window);
}
