// The printer name the print side publishes, and win.ini's default printer
// where that name is missing or too short to be one.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "lumeview/protocol.h"
#include "monitor_copy.h"
#include "panel_input.h"
#include "print_side_registry.h"
#include "process_metrics.h"
#include "recorder.h"
#include "resource.h"
#include "settings/printer_identity.h"
#include "settings_text.h"
#include "test_files.h"

TEST(PrinterIdentity, NamesShorterThanTwoCharactersGiveTheDefaultPrinter)
{
    DefaultPrinter fallback;
    const struct {
        const char* published;  // nullptr: nothing published
        const char* device;     // win.ini's default printer; nullptr: none
        const char* expected;
    } cases[] = {
        // An entry that is not there cannot be removed: each "none" follows one.
        {nullptr, "Atelier,winspool,LPT1:", "Atelier"},
        {"", "Atelier,winspool,LPT1:", "Atelier"},
        {"P", nullptr, ""},
        {"P", "Atelier,winspool,LPT1:", "Atelier"},
        {nullptr, nullptr, ""},
        {"PQ", "Atelier,winspool,LPT1:", "PQ"},
        {"Bureau 12", "Atelier,winspool,LPT1:", "Bureau 12"},
        {nullptr, "Atelier", "Atelier"},  // no comma: the whole entry
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.published ? std::string("\"") + c.published + "\"" : "nothing") + ", device " +
                     (c.device ? c.device : "none"));
        WithdrawPrinterName();
        if (c.published) {
            ASSERT_TRUE(PublishPrinterName(c.published));
        }
        ASSERT_TRUE(fallback.Set(c.device));
        char name[kPrinterNameSize] = "untouched";
        EXPECT_EQ(1, PrinterIdentity(name));
        EXPECT_STREQ(c.expected, name);
    }
    WithdrawPrinterName();
}

// The installer or another program may keep values of its own under the
// print side's keys: only the size of the default value bounds its read.
TEST(PrintSideNames, ANamedValueBesideTheNameLeavesItReadable)
{
    DefaultPrinter fallback;
    ASSERT_TRUE(fallback.Set("Atelier,winspool,LPT1:"));
    const std::string docName = LV_REGISTRY_DOCUMENT_KEY "\\" LV_REGISTRY_DOCNAME;
    const std::string printerName = LV_REGISTRY_DOCUMENT_KEY "\\" LV_REGISTRY_PRINTER_SUBKEY;
    const std::string notes(4096, 'n');
    for (const std::string& subkey : {docName, printerName}) {
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueA(HKEY_CLASSES_ROOT, subkey.c_str(), REG_SZ, "Bureau 12", 9));
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyA(HKEY_CLASSES_ROOT, subkey.c_str(), &key));
        EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "Notes", 0, REG_SZ, reinterpret_cast<const BYTE*>(notes.c_str()),
                                                static_cast<DWORD>(notes.size() + 1)));
        RegCloseKey(key);
    }
    char document[kDocumentNameSize] = "untouched";
    ReadDocumentName(document, sizeof document);
    EXPECT_STREQ("Bureau 12", document);
    char printer[kPrinterNameSize] = "untouched";
    EXPECT_EQ(1, PrinterIdentity(printer));
    EXPECT_STREQ("Bureau 12", printer);
    RegDeleteKeyA(HKEY_CLASSES_ROOT, docName.c_str());
    WithdrawPrinterName();
}

TEST(PrinterName, LongerThanItsBufferFallsBackToTheDefaultPrinter)
{
    const struct {
        size_t length;
        bool fits;  // 255 characters and the NUL fill the 256-byte buffer
    } cases[] = {{255, true}, {256, false}, {100000, false}};
    MonitorCopy monitor(Platform::NT, "long_printer");
    for (const char* recorder : {"monq.exe", "ownq.exe", "defq.exe"})
        ASSERT_TRUE(InstallRecorder(monitor.directory + recorder));
    DefaultPrinter defaultPrinter;
    ASSERT_TRUE(defaultPrinter.Set("Imprimante par d\xE9" "faut,winspool,LPT1:"));
    size_t ownLines = 0;
    size_t defLines = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.length) + " characters");
        std::string name(c.length, 'P');
        ASSERT_TRUE(PublishPrinterName(name));
        // A section named after the name cut to the buffer: a cut name
        // read as a whole one would pick it.
        std::string cut = name.substr(0, 255);
        monitor.WriteIni(MonitorSettings()
                             .Key("event_notification_type", 1)
                             .Key("QueueExe", "monq.exe /m")
                             .Section(cut)
                             .Key("Device Name", cut)
                             .Key("QueueExe", "ownq.exe /own")
                             .Section("Imprimante par d\xE9" "faut")
                             .Key("Device Name", "Imprimante")
                             .Key("QueueExe", "defq.exe /def")
                             .Text());
        ASSERT_NE(nullptr, monitor.StartAndWait("/P job"));
        Offer(monitor.Control(IDC_QUEUE_BUTTON));
        ASSERT_TRUE(Click(monitor.Control(IDC_QUEUE_BUTTON)));
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
TEST(PrinterName, WithSlashPTheViewerOfThePrinterFoundRuns)
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
    SettingsFile settings = MonitorSettings().Key("event_notification_type", 1).Key("QueueExe", "q.exe status monitor");
    const char* const printers[][3] = {{"A", "A printer", "a"},
                                       {"AB", "AB printer", "ab"},
                                       {"Bureau", "Bureau", "bureau"},
                                       {"Bureau,winspool,LPT1:", "Bureau", "uncut"}};
    for (const auto& printer : printers)
        settings.Section(printer[0]).Key("Device Name", printer[1]).Key("QueueExe", std::string("q.exe ") + printer[2]);
    monitor.WriteIni(settings.Text());
    DefaultPrinter defaultPrinter;
    ASSERT_NE(nullptr, monitor.StartAndWait("/P job"));
    Offer(monitor.Control(IDC_QUEUE_BUTTON));
    size_t lines = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("registry ") + (c.registryName ? c.registryName : "(none)") + ", device \"" +
                     c.device + "\"");
        WithdrawPrinterName();
        if (c.registryName) {
            ASSERT_TRUE(PublishPrinterName(c.registryName));
        }
        ASSERT_TRUE(defaultPrinter.Set(*c.device ? c.device : nullptr));
        ASSERT_TRUE(Click(monitor.Control(IDC_QUEUE_BUTTON)));
        std::string log = WaitForRecorderLog(monitor.directory + "q.exe", ++lines);
        ASSERT_EQ(lines, static_cast<size_t>(std::count(log.begin(), log.end(), '\n')));
        EXPECT_EQ(monitor.directory + "q.exe " + c.section + "\n", log.substr(log.rfind('\n', log.size() - 2) + 1));
    }
    WithdrawPrinterName();
}

// The printer name is refused unread as the document name is: one press
// with a name of sixty-four megabytes neither holds nor copies it.
TEST(PrinterName, OfSixtyFourMegabytesIsRefusedUnread)
{
    const SIZE_T kMemoryBound = 4 * 1024 * 1024;
    MonitorCopy monitor(Platform::NT, "printer_64mb");
    std::string viewer = monitor.directory + "q.exe";
    ASSERT_TRUE(InstallRecorder(viewer));
    monitor.WriteIni(ModeSettings(1) + "QueueExe=q.exe /m\r\n");
    DefaultPrinter fallback;
    ASSERT_TRUE(fallback.Set("Atelier,winspool,LPT1:"));
    ASSERT_NE(nullptr, monitor.StartAndWait("/P job"));
    ASSERT_TRUE(PublishPrinterName(std::string(64 * 1024 * 1024, 'p')));
    ProcessMemory start = MemoryOf(monitor.process.hProcess);
    ASSERT_NE(0u, start.workingSet) << "GetProcessMemoryInfo gave nothing";
    Offer(monitor.Control(IDC_QUEUE_BUTTON));
    ASSERT_TRUE(Click(monitor.Control(IDC_QUEUE_BUTTON)));
    EXPECT_EQ(viewer + " /m\n", WaitForRecorderLog(viewer)) << "the default printer, without a section of its own";
    ProcessMemory end = MemoryOf(monitor.process.hProcess);
    EXPECT_LE(end.peakWorkingSet, start.peakWorkingSet + kMemoryBound) << "the value was copied";
    WithdrawPrinterName();
}
