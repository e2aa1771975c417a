// The monitor's settings file whatever it holds: numbers of every shape,
// noise, huge lines, a folder in its place, a file that cannot be written,
// path values too long for their buffers; and the driver's settings file.
// Each start works with the values the platform reads, and nothing is lost.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "help_spy.h"
#include "lumeview/protocol.h"
#include "monitor_copy.h"
#include "polling.h"
#include "print_side_registry.h"
#include "resource.h"
#include "settings/settings_store.h"
#include "settings_text.h"
#include "state/app_settings.h"
#include "test_environment.h"
#include "test_files.h"

namespace {

const char kSection[] = "Status Monitor";

// The number the platform's profile functions make of the text; the
// monitor must behave by it.
LONG PlatformReading(const MonitorCopy& monitor, const char* key)
{
    return static_cast<LONG>(GetPrivateProfileIntA(kSection, key, 0, monitor.iniPath.c_str()));
}

std::string RandomBytes(unsigned seed, size_t count)
{
    std::mt19937 random(seed);
    std::string bytes;
    bytes.reserve(count);
    for (size_t i = 0; i < count; ++i)
        bytes += static_cast<char>(random() & 0xFF);
    return bytes;
}

}  // namespace

TEST(SettingsFile, NotificationModeIsTheNumberThePlatformReads)
{
    const char* texts[] = {"1abc", "2xyz", "-1", "99999999999", "4294967297", "+1", " 1", "0x1", "01", "", "abc"};
    for (const char* text : texts) {
        SCOPED_TRACE(std::string("event_notification_type=") + text);
        MonitorCopy monitor(Platform::NT, "mode_number");
        monitor.WriteIni(std::string("[Status Monitor]\r\nsound_audio_alert=0\r\nevent_notification_type=") + text +
                         "\r\n");
        LONG mode = PlatformReading(monitor, "event_notification_type");
        ASSERT_NE(nullptr, monitor.StartAndWait());
        ShowWindow(monitor.window, SW_HIDE);
        ASSERT_EQ(1, monitor.Send(LVWM_ERROR, CATEGORY_NONE, 0));
        EXPECT_EQ(mode >= 0 && mode <= 2, IsWindowVisible(monitor.window) != FALSE)
            << "read as " << mode << ": a report shows the window in modes 0, 1 and 2 only";
        bool answered = false;
        monitor.Send(LVWM_OPERATION, LV_OP_ENDED, 0, 10000, &answered);
        if (mode == 1) {
            EXPECT_TRUE(monitor.Running()) << "mode 1 stays open after an operation";
            EXPECT_EQ(1, monitor.Send(LVWM_APPCLOSE));
        }
        EXPECT_EQ(0u, monitor.WaitForExit()) << "read as " << mode;
    }
}

TEST(SettingsFile, IsIconIsTheNumberThePlatformReads)
{
    const char* texts[] = {"1abc", "01", " 1", "1.5", "99999999999", "4294967297", "-1", "2", "x1"};
    for (const char* text : texts) {
        SCOPED_TRACE(std::string("IsIcon=") + text);
        MonitorCopy monitor(Platform::NT, "isicon_number");
        monitor.WriteIni(std::string("[Status Monitor]\r\nevent_notification_type=1\r\nIsIcon=") + text + "\r\n");
        LONG isIcon = PlatformReading(monitor, "IsIcon");
        ASSERT_NE(nullptr, monitor.StartAndWait("job", SW_SHOWNORMAL));
        EXPECT_EQ(isIcon == 1, IsIconic(monitor.window) != FALSE) << "read as " << isIcon;
        EXPECT_EQ(1, monitor.Send(LVWM_APPCLOSE));
        EXPECT_EQ(0u, monitor.WaitForExit());
    }
}

TEST(SettingsFile, StartsWithDefinedValuesWhateverTheFileHolds)
{
    std::mt19937 random(7);
    std::string noise;
    for (int i = 0; i < 20000; ++i)
        noise += static_cast<char>(random() & 0xFF);
    std::string manySections;
    for (int i = 0; i < 3000; ++i)
        manySections += "[Section " + std::to_string(i) + "]\r\nkey=value\r\n";
    const std::string settings[] = {
        noise,
        "[Status Monitor]\r\nevent_notification_type=" + std::string(100000, '9') + "\r\n",
        MonitorSettings()
            .Key("event_notification_type", "99999999999")
            .Key("sound_audio_alert", -1)
            .Key("IsIcon", "1abc")
            .Text(),
        "[Status Monitor]\r\nEngssHelp=" + std::string(5000, 'h') + "\r\nQueueExe=" + std::string(5000, 'q') +
            "\r\nSoundfile=" + std::string(5000, 's') + "\r\n",
        manySections,
        "no sections at all\r\n=\r\n[\r\n]]]\r\n",
    };
    HelpSpy spy;
    for (const std::string& content : settings) {
        SCOPED_TRACE(content.substr(0, 40));
        // A help file name too long for its buffer names no help file.
        bool helpRefused = content.find("EngssHelp=hhhh") != std::string::npos;
        MonitorCopy monitor;
        monitor.WriteIni(content);
        ASSERT_TRUE(monitor.Start(""));
        ASSERT_NE(nullptr, monitor.WaitForWindow());
        EXPECT_EQ(1, monitor.Send(LVWM_APPINIT));
        EXPECT_EQ(1, monitor.Send(LVWM_ERROR, OPECALL_RECOVER, 2, 30000));
        EXPECT_EQ(helpRefused ? -1 : Error, ObservedDeviceState(monitor, spy));
        EXPECT_EQ(helpRefused ? 0u : 1u, spy.Requests().size());
        monitor.Send(WM_CLOSE);
        EXPECT_EQ(0u, monitor.WaitForExit());
    }
}

TEST(SettingsFile, HugeNamesAndLinesAroundTheSectionDoNotHideIt)
{
    MonitorCopy monitor(Platform::NT, "ini_huge_lines");
    std::string content = "[" + std::string(100000, 'S') + "]\r\nevent_notification_type=2\r\n" +
                          std::string(100000, 'k') + "=1\r\n" + RandomBytes(3, 5000) + "\r\n" +
                          "[Status Monitor]\r\n" + std::string(100000, 'x') + "=2\r\n" +
                          "event_notification_type=1\r\nsound_audio_alert=0\r\n";
    monitor.WriteIni(content);
    LONG mode = PlatformReading(monitor, "event_notification_type");
    ASSERT_NE(nullptr, monitor.StartAndWait("/S"));
    EXPECT_EQ(1, monitor.Send(LVWM_OPERATION, LV_OP_ENDED));
    EXPECT_EQ(mode == 1, monitor.Running()) << "read as " << mode;
    if (monitor.Running())
        monitor.Send(LVWM_APPCLOSE);
    EXPECT_EQ(0u, monitor.WaitForExit());
}

TEST(SettingsFile, AFolderInItsPlaceGivesTheDefaultsAndStaysAFolder)
{
    MonitorCopy monitor(Platform::NT, "ini_folder");
    ASSERT_TRUE(CreateDirectoryA(monitor.iniPath.c_str(), nullptr));
    // Mode 0 by default: a start with /S is refused, an empty one runs.
    ASSERT_TRUE(monitor.Start("/S"));
    EXPECT_EQ(nullptr, monitor.WaitForWindow()) << "a window while the refused copy ran";
    EXPECT_EQ(0u, monitor.WaitForExit());

    ASSERT_NE(nullptr, monitor.StartAndWait(""));
    EXPECT_EQ(1, monitor.Send(LVWM_APPINIT));
    EXPECT_EQ(L"Disponible", monitor.ControlText(IDC_STATUS_TEXT));
    // Minimising and closing write IsIcon, which cannot be written here.
    EXPECT_EQ(1, monitor.Send(LVWM_APPMINIMUM));
    monitor.Send(WM_CLOSE);
    EXPECT_EQ(0u, monitor.WaitForExit());
    DWORD attributes = GetFileAttributesA(monitor.iniPath.c_str());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, attributes);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    RemoveDirectoryA(monitor.iniPath.c_str());
}

// Wine lets root write into a read-only folder and a read-only file, so the
// file is held open by another program that lets others read it only; the
// saves after the hold show that the monitor did try to write.
TEST(SettingsFile, UnwritableFileIsKeptThenSavedOnceWritable)
{
    MonitorCopy monitor(Platform::NT, "ini_unwritable");
    const std::string settings = MonitorSettings().Key("event_notification_type", 1).Key("IsIcon", 0).Text();
    monitor.WriteIni(settings);
    const struct {
        const char* how;
        UINT message;
    } closings[] = {{"closed by request", LVWM_APPCLOSE}, {"closed by the user", WM_CLOSE}};
    HANDLE holder = CreateFileA(monitor.iniPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    // The hold must keep every writer out, or a kept file would prove nothing.
    HANDLE writer = CreateFileA(monitor.iniPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (writer != INVALID_HANDLE_VALUE) {
        CloseHandle(writer);
        CloseHandle(holder);
        GTEST_SKIP() << "a file held for reading only can still be written here: nothing would be unwritable";
    }
    for (const auto& closing : closings) {
        SCOPED_TRACE(closing.how);
        ASSERT_NE(nullptr, monitor.StartAndWait("job"));
        EXPECT_EQ(1, monitor.Send(LVWM_APPMINIMUM));
        monitor.Send(closing.message);
        EXPECT_EQ(0u, monitor.WaitForExit());
    }
    CloseHandle(holder);
    EXPECT_EQ(settings, ReadFileBytes(monitor.iniPath)) << "the held file was changed";

    ASSERT_NE(nullptr, monitor.StartAndWait("job"));
    EXPECT_EQ(1, monitor.Send(LVWM_APPMINIMUM));
    EXPECT_EQ(1, monitor.Send(LVWM_APPCLOSE));
    EXPECT_EQ(0u, monitor.WaitForExit());
    EXPECT_EQ("1", monitor.ReadIni(kSection, "IsIcon")) << "the exit after the file became writable saves";
    EXPECT_EQ("1", monitor.ReadIni(kSection, "event_notification_type")) << "the rest of the file is kept";

    // Without a file (mode 0), a user's close makes one with IsIcon 1.
    monitor.DeleteIni();
    ASSERT_NE(nullptr, monitor.StartAndWait(""));
    monitor.Send(WM_CLOSE);
    EXPECT_EQ(0u, monitor.WaitForExit());
    EXPECT_EQ("1", monitor.ReadIni(kSection, "IsIcon"));
}

// A path or file name that does not fit its 260 bytes is refused, never
// cut to a name of another file.
TEST(SettingsFile, PathValuesThatDoNotFitAreRefusedNotCut)
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

TEST(DriverSettingsFile, GarbageLeavesThePanelAsDrawn)
{
    std::string manySections;
    for (int i = 0; i < 4000; ++i)
        manySections += "[Section " + std::to_string(i) + "]\r\nSuperQueue=1\r\n";
    const std::string contents[] = {
        RandomBytes(5, 30000),
        "[Status Monitor]\r\nSuperQueue=" + std::string(100000, '7') + "\r\n",
        manySections + "[Status Monitor]\r\nSuperQueue=" + RandomBytes(9, 300) + "\r\n",
        "[Status Monitor\r\nSuperQueue\r\n=\r\n]]]\r\n",
    };
    DriverSettings driver;
    for (const std::string& content : contents) {
        SCOPED_TRACE(content.substr(0, 30));
        driver.Write(content);
        MonitorCopy monitor(Platform::NT, "driver_garbage");
        monitor.WriteIni(MonitorSettings().Key("event_notification_type", 1).Text());
        ASSERT_NE(nullptr, monitor.StartAndWait());
        EXPECT_EQ(L"Disponible", monitor.ControlText(IDC_STATUS_TEXT));
        EXPECT_TRUE(Eventually([&] {
            return !IsWindowVisible(monitor.Control(IDC_QUEUE_BUTTON)) && !IsWindowEnabled(monitor.Control(IDC_QUEUE_BUTTON));
        })) << "the queue button stays hidden and grey after the first paint";
        EXPECT_EQ(1, monitor.Send(LVWM_ERROR, OPECALL_RECOVER, 2));
        EXPECT_EQ(1, monitor.Send(LVWM_APPCLOSE));
        EXPECT_EQ(0u, monitor.WaitForExit());
    }
}
