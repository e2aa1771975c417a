// Bad input from the outside the monitor reads: numbers of every shape in
// its settings, a settings file that is a folder or read-only, a driver
// settings file of garbage, registry values far longer than their buffers.
// Each start works with the values the platform reads, and nothing is lost.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "lumeview/protocol.h"
#include "monitor_harness.h"
#include "panel_input.h"
#include "print_side_registry.h"
#include "process_metrics.h"
#include "recorder.h"
#include "resource.h"

namespace {

const char kSection[] = "Status Monitor";
const char kDocumentKey[] = "PrinterService\\StatusMonitor\\Document";

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

TEST(ReliabilitySettings, NotificationModeIsTheNumberThePlatformReads)
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

TEST(ReliabilitySettings, IsIconIsTheNumberThePlatformReads)
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

TEST(ReliabilitySettings, SettingsFileThatIsAFolderGivesTheDefaultsAndStaysAFolder)
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
// file is held open by another program that lets others read it only.
TEST(ReliabilitySettings, UnwritableSettingsFileIsKeptThenSavedOnceWritable)
{
    MonitorCopy monitor(Platform::NT, "ini_unwritable");
    const std::string settings = "[Status Monitor]\r\nevent_notification_type=1\r\nIsIcon=0\r\n";
    monitor.WriteIni(settings);
    const struct {
        const char* how;
        UINT message;
    } closings[] = {{"closed by request", LVWM_APPCLOSE}, {"closed by the user", WM_CLOSE}};
    HANDLE holder = CreateFileA(monitor.iniPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
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

TEST(ReliabilitySettings, HugeNamesAndLinesAroundTheSectionDoNotHideIt)
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

TEST(ReliabilityDriverSettings, GarbageDriverSettingsLeaveThePanelAsDrawn)
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
        monitor.WriteIni("[Status Monitor]\r\nevent_notification_type=1\r\n");
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

TEST(ReliabilityRegistry, PrinterNameLongerThanItsBufferFallsBackToTheDefaultPrinter)
{
    const struct {
        size_t length;
        bool fits;  // 255 characters and the NUL fill the 256-byte buffer
    } cases[] = {{255, true}, {256, false}, {100000, false}};
    MonitorCopy monitor(Platform::NT, "long_printer");
    for (const char* recorder : {"monq.exe", "ownq.exe", "defq.exe"})
        ASSERT_TRUE(InstallRecorder(monitor.directory + recorder));
    DefaultPrinter defaultPrinter;
    defaultPrinter.Set("Imprimante par d\xE9" "faut,winspool,LPT1:");
    size_t ownLines = 0;
    size_t defLines = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.length) + " characters");
        std::string name(c.length, 'P');
        PublishPrinterName(name);
        // A section named after the name cut to the buffer: a cut name
        // read as a whole one would pick it.
        std::string cut = name.substr(0, 255);
        monitor.WriteIni("[Status Monitor]\r\nevent_notification_type=1\r\nQueueExe=monq.exe /m\r\n[" + cut +
                         "]\r\nDevice Name=" + cut + "\r\nQueueExe=ownq.exe /own\r\n"
                         "[Imprimante par d\xE9" "faut]\r\nDevice Name=Imprimante\r\nQueueExe=defq.exe /def\r\n");
        ASSERT_NE(nullptr, monitor.StartAndWait("/P job"));
        Offer(monitor.Control(IDC_QUEUE_BUTTON));
        Click(monitor.Control(IDC_QUEUE_BUTTON));
        if (c.fits) {
            std::string log = WaitForRecorderLog(monitor.directory + "ownq.exe", ++ownLines);
            EXPECT_EQ(ownLines, static_cast<size_t>(std::count(log.begin(), log.end(), '\n')));
        } else {
            std::string log = WaitForRecorderLog(monitor.directory + "defq.exe", ++defLines);
            EXPECT_EQ(defLines, static_cast<size_t>(std::count(log.begin(), log.end(), '\n')))
                << "a name too long for the buffer gives way to the default printer";
        }
        EXPECT_EQ(1, monitor.Send(LVWM_APPCLOSE));
        EXPECT_EQ(0u, monitor.WaitForExit());
    }
    EXPECT_FALSE(FileExists(RecorderLogPath(monitor.directory + "monq.exe")));
    WithdrawPrinterName();
}

// Which name counts is the printer-identity rule's own test; here the real
// monitor with /P takes the viewer of the section of the name it found.
TEST(ReliabilityRegistry, WithPrinterNameTheViewerOfThePrinterFoundRuns)
{
    const struct {
        const char* registryName;  // nullptr: no value published
        const char* device;        // win.ini "windows"/"device"
        const char* section;       // whose QueueExe runs
    } cases[] = {
        {"AB", "Bureau,winspool,LPT1:", "ab"},
        {nullptr, "Bureau,winspool,LPT1:", "bureau"},
        {nullptr, "", "status monitor"},
    };
    MonitorCopy monitor(Platform::NT, "printer_identity");
    ASSERT_TRUE(InstallRecorder(monitor.directory + "q.exe"));
    // Each candidate name has a section of its own; so has the uncut entry.
    monitor.WriteIni("[Status Monitor]\r\nevent_notification_type=1\r\nQueueExe=q.exe status monitor\r\n"
                     "[A]\r\nDevice Name=A printer\r\nQueueExe=q.exe a\r\n"
                     "[AB]\r\nDevice Name=AB printer\r\nQueueExe=q.exe ab\r\n"
                     "[Bureau]\r\nDevice Name=Bureau\r\nQueueExe=q.exe bureau\r\n"
                     "[Bureau,winspool,LPT1:]\r\nDevice Name=Bureau\r\nQueueExe=q.exe uncut\r\n");
    DefaultPrinter defaultPrinter;
    ASSERT_NE(nullptr, monitor.StartAndWait("/P job"));
    Offer(monitor.Control(IDC_QUEUE_BUTTON));
    size_t lines = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("registry ") + (c.registryName ? c.registryName : "(none)") + ", device \"" +
                     c.device + "\"");
        WithdrawPrinterName();
        if (c.registryName) {
            PublishPrinterName(c.registryName);
        }
        defaultPrinter.Set(*c.device ? c.device : nullptr);
        Click(monitor.Control(IDC_QUEUE_BUTTON));
        std::string log = WaitForRecorderLog(monitor.directory + "q.exe", ++lines);
        ASSERT_EQ(lines, static_cast<size_t>(std::count(log.begin(), log.end(), '\n')));
        EXPECT_EQ(monitor.directory + "q.exe " + c.section + "\n", log.substr(log.rfind('\n', log.size() - 2) + 1));
    }
    WithdrawPrinterName();
}

TEST(ReliabilityRegistry, LongDocumentNamesShowTheirBeginningUpToTheReadBound)
{
    MonitorCopy monitor(Platform::NT, "huge_document");
    monitor.WriteIni("[Status Monitor]\r\nevent_notification_type=1\r\n");
    ASSERT_NE(nullptr, monitor.StartAndWait());
    struct Case {
        size_t length;
        bool shown;
    };
    const Case cases[] = {{200, true}, {1023, true}, {1024, false}, {1000000, false}};
    std::string subkey = std::string(kDocumentKey) + "\\DocName";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        std::string name = "Rapport annuel " + std::string(c.length - 15, 'r');
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueA(HKEY_CLASSES_ROOT, subkey.c_str(), REG_SZ, name.c_str(),
                                              static_cast<DWORD>(name.size())));
        bool answered = false;
        EXPECT_EQ(1, monitor.Send(LVWM_DOCNAME, 0, 0, 20000, &answered));
        EXPECT_TRUE(answered);
        EXPECT_EQ(c.shown ? Utf16FromCp1252(name.substr(0, 127)) : L"", monitor.ControlText(IDC_DOCUMENT_NAME));
    }
    RegDeleteKeyA(HKEY_CLASSES_ROOT, subkey.c_str());
    EXPECT_EQ(1, monitor.Send(LVWM_DOCNAME));
    EXPECT_EQ(L"", monitor.ControlText(IDC_DOCUMENT_NAME));
}

// Any program of the user can write the value; the monitor neither holds
// nor copies more of it than it shows.
TEST(ReliabilityRegistry, DocumentNameOfSixtyFourMegabytesLeavesMemoryFlat)
{
    const int kMessages = 1000;
    const DWORD kTimeBound = 60000;
    const SIZE_T kMemoryBound = 4 * 1024 * 1024;
    MonitorCopy monitor(Platform::NT, "docname_64mb");
    monitor.WriteIni("[Status Monitor]\r\nevent_notification_type=1\r\n");
    ASSERT_NE(nullptr, monitor.StartAndWait());
    ProcessMemory start = MemoryOf(monitor.process.hProcess);
    ASSERT_NE(0u, start.workingSet) << "GetProcessMemoryInfo gave nothing";

    std::string subkey = std::string(kDocumentKey) + "\\DocName";
    struct Removal {
        std::string subkey;
        ~Removal() { RegDeleteKeyA(HKEY_CLASSES_ROOT, subkey.c_str()); }
    } removal{subkey};
    std::string name(64 * 1024 * 1024, 'r');
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueA(HKEY_CLASSES_ROOT, subkey.c_str(), REG_SZ, name.c_str(),
                                          static_cast<DWORD>(name.size())));
    GrowthTrend workingSet;
    DWORD began = GetTickCount();
    int sent = 0;
    for (; sent < kMessages && GetTickCount() - began < kTimeBound; ++sent) {
        if (sent % 100 == 0)
            workingSet.Add(static_cast<double>(MemoryOf(monitor.process.hProcess).workingSet));
        ASSERT_EQ(1, monitor.Send(LVWM_DOCNAME)) << "message " << sent;
    }
    EXPECT_EQ(kMessages, sent) << "each read copies the whole value";
    ProcessMemory end = MemoryOf(monitor.process.hProcess);
    EXPECT_LE(end.peakWorkingSet, start.peakWorkingSet + kMemoryBound) << "the value was held in memory";
    EXPECT_LE(workingSet.MedianStep(), 64 * 1024.0);
    EXPECT_EQ(L"", monitor.ControlText(IDC_DOCUMENT_NAME));
}

// The printer name is refused unread as the document name is: one press
// with a name of sixty-four megabytes neither holds nor copies it.
TEST(ReliabilityRegistry, PrinterNameOfSixtyFourMegabytesIsRefusedUnread)
{
    const SIZE_T kMemoryBound = 4 * 1024 * 1024;
    MonitorCopy monitor(Platform::NT, "printer_64mb");
    std::string viewer = monitor.directory + "q.exe";
    ASSERT_TRUE(InstallRecorder(viewer));
    monitor.WriteIni(ModeSettings(1) + "QueueExe=q.exe /m\r\n");
    DefaultPrinter fallback("Atelier,winspool,LPT1:");
    ASSERT_NE(nullptr, monitor.StartAndWait("/P job"));
    PublishPrinterName(std::string(64 * 1024 * 1024, 'p'));
    ProcessMemory start = MemoryOf(monitor.process.hProcess);
    ASSERT_NE(0u, start.workingSet) << "GetProcessMemoryInfo gave nothing";
    Offer(monitor.Control(IDC_QUEUE_BUTTON));
    Click(monitor.Control(IDC_QUEUE_BUTTON));
    EXPECT_EQ(viewer + " /m\n", WaitForRecorderLog(viewer)) << "the default printer, without a section of its own";
    ProcessMemory end = MemoryOf(monitor.process.hProcess);
    EXPECT_LE(end.peakWorkingSet, start.peakWorkingSet + kMemoryBound) << "the value was copied";
    WithdrawPrinterName();
}
