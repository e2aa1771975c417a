// The panel's buttons and F1 pressed in the real monitor on the three
// platforms, and what that starts, asks for or changes outside it.
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <functional>
#include <string>
#include <vector>

#include "help_spy.h"
#include "monitor_harness.h"
#include "panel_input.h"
#include "protocol/lvwm_messages.h"
#include "recorder.h"

namespace {

const int kClose = 2;
const int kHelp = 9;
const int kQueue = 1000;
const int kCancelJob = 1001;
const int kProperties = 1004;
const int kOptions = 1005;

const int kPortrait = 101;   // orientation buttons of the driver's sheet
const int kLandscape = 102;

const char* PlatformName(Platform platform)
{
    return platform == Platform::Win32s ? "Win32s" : platform == Platform::Windows95 ? "Windows 95" : "NT";
}

std::string Settings(const std::string& monitorKeys, const std::string& more = "")
{
    return "[Status Monitor]\r\nevent_notification_type=1\r\n" + monitorKeys + more;
}

size_t LineCount(const std::string& text)
{
    size_t lines = 0;
    for (char c : text)
        lines += c == '\n';
    return lines;
}

std::string LastLine(const std::string& text)
{
    std::string body = text.substr(0, text.find_last_not_of("\r\n") + 1);
    size_t start = body.find_last_of('\n');
    return start == std::string::npos ? body : body.substr(start + 1);
}

// The print side's window that owns the current job.
class JobWindow {
public:
    JobWindow()
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "LumeviewTestJob";
        RegisterClassA(&windowClass);
        window = CreateWindowA("LumeviewTestJob", "job", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                               windowClass.hInstance, nullptr);
        received().clear();
    }
    ~JobWindow() { DestroyWindow(window); }

    struct Request {
        WPARAM wParam;
        LPARAM lParam;
    };
    static std::vector<Request>& received()
    {
        static std::vector<Request> requests;
        return requests;
    }

    HWND window;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == LVWM_CANCELJOB) {
            received().push_back({wParam, lParam});
            return 1;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
};

// Where the print side publishes the printer's name.
const char kPrinterSubkey[] = "PrinterService\\StatusMonitor\\Document\\DeviceName\\Status\\Monitor";

void PublishPrinterName(const std::string& name)
{
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueA(HKEY_CLASSES_ROOT, kPrinterSubkey, REG_SZ, name.c_str(),
                                          static_cast<DWORD>(name.size())));
}

void WithdrawPrinterName()
{
    RegDeleteKeyA(HKEY_CLASSES_ROOT, kPrinterSubkey);
}

// A PostScript description small enough for Wine's PostScript driver to
// build its document settings and its dialog from.
const char kTestPpd[] =
    "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n*LanguageVersion: English\n"
    "*LanguageEncoding: ISOLatin1\n*PCFileName: \"LVTEST.PPD\"\n*Manufacturer: \"Lumeview Tests\"\n"
    "*Product: \"(Test Printer)\"\n*ModelName: \"Lumeview Test Printer\"\n"
    "*ShortNickName: \"Lumeview Test Printer\"\n*NickName: \"Lumeview Test Printer\"\n"
    "*PSVersion: \"(3010.000) 0\"\n*LanguageLevel: \"3\"\n*ColorDevice: False\n*DefaultColorSpace: Gray\n"
    "*FileSystem: False\n*Throughput: \"1\"\n*LandscapeOrientation: Plus90\n*TTRasterizer: Type42\n"
    "*DefaultResolution: 300dpi\n"
    "*OpenUI *PageSize/Page Size: PickOne\n*OrderDependency: 10 AnySetup *PageSize\n*DefaultPageSize: A4\n"
    "*PageSize A4/A4: \"<</PageSize[595 842]/ImagingBBox null>>setpagedevice\"\n*CloseUI: *PageSize\n"
    "*OpenUI *PageRegion: PickOne\n*OrderDependency: 10 AnySetup *PageRegion\n*DefaultPageRegion: A4\n"
    "*PageRegion A4/A4: \"<</PageSize[595 842]/ImagingBBox null>>setpagedevice\"\n*CloseUI: *PageRegion\n"
    "*DefaultImageableArea: A4\n*ImageableArea A4/A4: \"18 18 577 824\"\n"
    "*DefaultPaperDimension: A4\n*PaperDimension A4/A4: \"595 842\"\n"
    "*DefaultFont: Courier\n*Font Courier: Standard \"(001.000)\" Standard ROM\n";

const char kTestDriver[] = "Lumeview Test PostScript";

// Real printers of the test's prefix, on Wine's PostScript driver and the
// FILE: port; removed again when the test ends.
class TestPrinters {
public:
    TestPrinters()
    {
        std::string ppd = TestWorkDir() + "lvtest.ppd";
        WriteFileBytes(ppd, kTestPpd);
        DRIVER_INFO_3A driver = {};
        driver.cVersion = 3;
        driver.pName = const_cast<char*>(kTestDriver);
        driver.pDriverPath = const_cast<char*>("wineps.drv");
        driver.pDataFile = &ppd[0];
        driver.pConfigFile = const_cast<char*>("wineps.drv");
        driver.pDefaultDataType = const_cast<char*>("RAW");
        EXPECT_TRUE(AddPrinterDriverExA(nullptr, 3, reinterpret_cast<BYTE*>(&driver),
                                        APD_COPY_NEW_FILES | APD_COPY_FROM_DIRECTORY))
            << "error " << GetLastError();
    }
    ~TestPrinters()
    {
        for (const std::string& name : added_)
            Delete(name);
    }
    TestPrinters(const TestPrinters&) = delete;
    TestPrinters& operator=(const TestPrinters&) = delete;

    bool Add(const std::string& name)
    {
        Delete(name);  // left over by an interrupted run
        PRINTER_INFO_2A info = {};
        info.pPrinterName = const_cast<char*>(name.c_str());
        info.pPortName = const_cast<char*>("FILE:");
        info.pDriverName = const_cast<char*>(kTestDriver);
        info.pPrintProcessor = const_cast<char*>("WinPrint");
        info.pDatatype = const_cast<char*>("RAW");
        HANDLE printer = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
        if (!printer)
            return false;
        ClosePrinter(printer);
        added_.push_back(name);
        return true;
    }

    static void Delete(const std::string& name)
    {
        HANDLE printer = nullptr;
        PRINTER_DEFAULTSA defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
        if (!OpenPrinterA(const_cast<char*>(name.c_str()), &printer, &defaults))
            return;
        DeletePrinter(printer);
        ClosePrinter(printer);
    }

    // Orientation of the printer's default document settings; 0 when unknown.
    static short Orientation(const std::string& name)
    {
        HANDLE printer = nullptr;
        if (!OpenPrinterA(const_cast<char*>(name.c_str()), &printer, nullptr))
            return 0;
        DWORD needed = 0;
        GetPrinterA(printer, 2, nullptr, 0, &needed);
        std::vector<BYTE> block(needed + 1);
        short orientation = 0;
        if (needed && GetPrinterA(printer, 2, block.data(), needed, &needed)) {
            const PRINTER_INFO_2A* info = reinterpret_cast<const PRINTER_INFO_2A*>(block.data());
            if (info->pDevMode)
                orientation = info->pDevMode->dmOrientation;
        }
        ClosePrinter(printer);
        return orientation;
    }

    // The printer's comment; "<none>" when it cannot be read.
    static std::string Comment(const std::string& name)
    {
        std::string comment = "<none>";
        WithRecord(name, [&](HANDLE, PRINTER_INFO_2A* info) { comment = info->pComment ? info->pComment : ""; });
        return comment;
    }

    // Changes the comment as an administrator would, everything else as it is.
    static bool SetComment(const std::string& name, const std::string& comment)
    {
        bool stored = false;
        WithRecord(name, [&](HANDLE printer, PRINTER_INFO_2A* info) {
            info->pComment = const_cast<char*>(comment.c_str());
            info->pSecurityDescriptor = nullptr;
            stored = SetPrinterA(printer, 2, reinterpret_cast<BYTE*>(info), 0) != FALSE;
        });
        return stored;
    }

private:
    static void WithRecord(const std::string& name, const std::function<void(HANDLE, PRINTER_INFO_2A*)>& use)
    {
        HANDLE printer = nullptr;
        PRINTER_DEFAULTSA defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
        if (!OpenPrinterA(const_cast<char*>(name.c_str()), &printer, &defaults))
            return;
        DWORD needed = 0;
        GetPrinterA(printer, 2, nullptr, 0, &needed);
        std::vector<BYTE> block(needed + 1);
        if (needed && GetPrinterA(printer, 2, block.data(), needed, &needed))
            use(printer, reinterpret_cast<PRINTER_INFO_2A*>(block.data()));
        ClosePrinter(printer);
    }

    std::vector<std::string> added_;
};

struct ControlSearch {
    int id;
    const char* className;
    HWND found;
};

BOOL CALLBACK MatchControl(HWND child, LPARAM data)
{
    ControlSearch* search = reinterpret_cast<ControlSearch*>(data);
    char name[64] = {};
    GetClassNameA(child, name, sizeof name);
    if (GetDlgCtrlID(child) == search->id && lstrcmpiA(name, search->className) == 0) {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

// A control anywhere inside `window`, pages of a property sheet included.
HWND ControlInside(HWND window, int id, const char* className)
{
    ControlSearch search = {id, className, nullptr};
    EnumChildWindows(window, MatchControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK MatchDriverSheet(HWND window, LPARAM data)
{
    if (IsWindowVisible(window) && ControlInside(window, kLandscape, "Button")) {
        *reinterpret_cast<HWND*>(data) = window;
        return FALSE;
    }
    return TRUE;
}

// The driver's document-properties sheet opened by the monitor, if any.
HWND DriverSheet(HWND mainWindow)
{
    HWND found = nullptr;
    EnumThreadWindows(GetWindowThreadProcessId(mainWindow, nullptr), MatchDriverSheet,
                      reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND WaitForDriverSheet(HWND mainWindow, DWORD timeoutMs = 10000)
{
    HWND sheet = nullptr;
    Eventually([&] { return (sheet = DriverSheet(mainWindow)) != nullptr; }, timeoutMs);
    return sheet;
}

// The properties command waits in the driver's dialog, so it is pressed
// without waiting for it.
void PressPropertiesButton(MonitorCopy& monitor)
{
    Offer(monitor.Control(kProperties));
    PostMessageA(monitor.Control(kProperties), BM_CLICK, 0, 0);
}

// The sheet's modal loop looks at its end only when a posted message comes,
// as the mouse's messages do; a click sent from here would leave it open.
void PressSheetButton(HWND sheet, int button)
{
    PostMessageA(GetDlgItem(sheet, button), BM_CLICK, 0, 0);
}

// In the open sheet, picks the other orientation and closes with `button`.
void FlipOrientationAndClose(HWND sheet, int button)
{
    HWND portrait = ControlInside(sheet, kPortrait, "Button");
    bool wasPortrait = IsChecked(portrait);
    HWND other = ControlInside(sheet, wasPortrait ? kLandscape : kPortrait, "Button");
    // Under load the page may take its time to take the click.
    EXPECT_TRUE(Eventually([&] {
        if (IsChecked(other))
            return true;
        Click(other);
        return IsChecked(other);
    }));
    PressSheetButton(sheet, button);
}

short Flipped(short orientation)
{
    return orientation == DMORIENT_PORTRAIT ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
}

}  // namespace

TEST(PanelCommandsHelp, StateTopicsAskedOfWinHelpOnWindows95AndNT)
{
    HelpSpy spy;
    for (Platform platform : {Platform::Windows95, Platform::NT}) {
        SCOPED_TRACE(PlatformName(platform));
        MonitorCopy monitor(platform, std::string("help_state_") + (platform == Platform::NT ? "nt" : "95"));
        monitor.WriteIni(Settings("EngssHelp=Moniteur.hlp\r\n"));
        ASSERT_NE(nullptr, monitor.StartAndWait());
        const struct {
            DeviceState state;
            DWORD topic;
        } cases[] = {{Warning, 503}, {Ready, 502}, {Error, 504}};
        for (const auto& c : cases) {
            SCOPED_TRACE("state " + std::to_string(c.state));
            spy.Clear();
            monitor.Send(LVWM_SETSTATE, c.state);
            Click(monitor.Control(kHelp));
            ASSERT_TRUE(spy.WaitFor(1));
            const HelpRequest& request = spy.Requests().back();
            EXPECT_EQ(static_cast<UINT>(HELP_CONTEXT), request.command);
            EXPECT_EQ(c.topic, request.data);
            EXPECT_EQ(monitor.directory + "Moniteur.hlp", request.file);
            EXPECT_EQ(monitor.Panel(), request.owner);
        }
    }
}

TEST(PanelCommandsHelp, Win32sStartsTheViewerOnTheFileOnlyWhenTheLineFits)
{
    HelpSpy spy;
    MonitorCopy monitor(Platform::Win32s);
    std::string viewer = monitor.directory + "winhelp.exe";
    ASSERT_TRUE(InstallRecorder(viewer));
    // "winhelp.exe " and the path fill the 256-byte line exactly, or one more.
    std::string fits(255 - 12 - monitor.directory.size(), 'h');
    const struct {
        std::string helpFile;
        bool runs;
    } cases[] = {
        {"Moniteur.hlp", true},
        {fits + "h", false},
        {std::string(300, 'h'), false},
        {fits, true},
    };
    monitor.WriteIni(Settings("EngssHelp=Moniteur.hlp\r\n"));
    ASSERT_NE(nullptr, monitor.StartAndWait());
    size_t lines = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.helpFile.substr(0, 20) + " " + std::to_string(c.helpFile.size()));
        monitor.SetIni("Status Monitor", "EngssHelp", c.helpFile.c_str());
        monitor.Send(LVWM_APPINIT);  // reloads the path settings
        monitor.Send(LVWM_SETSTATE, Warning);
        Click(monitor.Control(kHelp));
        if (!c.runs)
            continue;
        // A line that did not fit ran nothing: this one is the next line.
        std::string log = WaitForRecorderLog(viewer, ++lines);
        ASSERT_EQ(lines, LineCount(log));
        EXPECT_EQ("winhelp.exe " + monitor.directory + c.helpFile, LastLine(log));
    }
    EXPECT_TRUE(monitor.Running());
    EXPECT_TRUE(spy.Requests().empty()) << "no topic is asked for on Win32s";
}

TEST(PanelCommandsQueue, WithoutPrinterNameModeRunsTheCommandBuiltAtLoad)
{
    MonitorCopy monitor(Platform::NT);
    ASSERT_TRUE(InstallRecorder(monitor.directory + "fileq.exe"));
    monitor.WriteIni(Settings("QueueExe=fileq.exe /tous\r\n", "[Bureau 12]\r\nDevice Name=abc\r\nQueueExe=other.exe\r\n"));
    ASSERT_NE(nullptr, monitor.StartAndWait("job"));
    Offer(monitor.Control(kQueue));
    Click(monitor.Control(kQueue));
    std::string log = WaitForRecorderLog(monitor.directory + "fileq.exe");
    EXPECT_EQ(monitor.directory + "fileq.exe /tous\n", log);
}

TEST(PanelCommandsQueue, PrinterNameModeTakesTheViewerOfThePrintersSectionAsStored)
{
    const struct {
        const char* name;
        std::string printerSection;
        const char* started;  // recorder expected to run, nullptr for none
        std::string line;
    } cases[] = {
        {"no section", "", "monq.exe", "monq.exe /m"},
        {"no Device Name", "[Bureau 12]\r\nQueueExe=ownq.exe /o\r\n", "monq.exe", "monq.exe /m"},
        {"one character", "[Bureau 12]\r\nDevice Name=a\r\nQueueExe=ownq.exe /o\r\n", "monq.exe", "monq.exe /m"},
        {"two characters", "[Bureau 12]\r\nDevice Name=ab\r\nQueueExe=ownq.exe /o\r\n", "monq.exe", "monq.exe /m"},
        {"three characters", "[Bureau 12]\r\nDevice Name=abc\r\nQueueExe=ownq.exe /o\r\n", "ownq.exe", "ownq.exe /o"},
        {"own section without viewer", "[Bureau 12]\r\nDevice Name=Bureau 12\r\n", nullptr, ""},
        {"long name", "[Bureau 12]\r\nDevice Name=Bureau 12 au rez-de-chaussée\r\nQueueExe=ownq.exe  /o /p\r\n",
         "ownq.exe", "ownq.exe  /o /p"},
    };
    PublishPrinterName("Bureau 12");
    MonitorCopy monitor(Platform::NT);
    for (const char* recorder : {"monq.exe", "ownq.exe"})
        ASSERT_TRUE(InstallRecorder(monitor.directory + recorder));
    monitor.WriteIni(Settings("QueueExe=monq.exe /m\r\n"));
    ASSERT_NE(nullptr, monitor.StartAndWait("/P job"));
    size_t monLines = 0;
    size_t ownLines = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        monitor.WriteIni(Settings("QueueExe=monq.exe /m\r\n", c.printerSection));
        Offer(monitor.Control(kQueue));
        Click(monitor.Control(kQueue));
        if (!c.started) {
            // Nothing starts; the next press, with a viewer again, is the first to log.
            monitor.WriteIni(Settings("QueueExe=monq.exe /after\r\n"));
            Click(monitor.Control(kQueue));
            std::string log = WaitForRecorderLog(monitor.directory + "monq.exe", ++monLines);
            EXPECT_EQ("monq.exe /after", LastLine(log));
            EXPECT_EQ(ownLines, LineCount(ReadFileBytes(RecorderLogPath(monitor.directory + "ownq.exe"))));
            continue;
        }
        size_t& lines = std::string(c.started) == "monq.exe" ? monLines : ownLines;
        std::string log = WaitForRecorderLog(monitor.directory + c.started, ++lines);
        ASSERT_EQ(lines, LineCount(log));
        EXPECT_EQ(c.line, LastLine(log));
    }
    Sleep(300);
    EXPECT_EQ(monLines, LineCount(ReadFileBytes(RecorderLogPath(monitor.directory + "monq.exe"))));
    EXPECT_EQ(ownLines, LineCount(ReadFileBytes(RecorderLogPath(monitor.directory + "ownq.exe"))));
    WithdrawPrinterName();
}

TEST(PanelCommandsCancel, AsksThePrintSideItsWayOnlyWhileAJobIsRegistered)
{
    for (Platform platform : {Platform::Win32s, Platform::Windows95, Platform::NT}) {
        SCOPED_TRACE(PlatformName(platform));
        bool byMessage = platform == Platform::Win32s;
        MonitorCopy monitor(platform, std::string("cancel_") + (byMessage ? "32s" : platform == Platform::NT ? "nt" : "95"));
        monitor.WriteIni(Settings(""));
        ASSERT_NE(nullptr, monitor.StartAndWait());
        JobWindow job;
        HANDLE event = CreateEventA(nullptr, TRUE, TRUE, LV_CANCEL_EVENT_NAME);
        ASSERT_NE(nullptr, event);
        HWND button = monitor.Control(kCancelJob);

        // A job that has ended: the button goes grey; pressed all the same, nothing is asked.
        monitor.Send(LVWM_JOBWINDOW, LV_JOB_REGISTER, reinterpret_cast<LPARAM>(job.window));
        monitor.Send(LVWM_JOBWINDOW, LV_JOB_UNREGISTER, reinterpret_cast<LPARAM>(job.window));
        ASSERT_TRUE(Eventually([&] { return !IsWindowEnabled(button); }));
        EnableWindow(button, TRUE);
        Click(button);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(event, 0)) << "event left signalled";
        EXPECT_TRUE(JobWindow::received().empty());

        monitor.Send(LVWM_JOBWINDOW, LV_JOB_REGISTER, reinterpret_cast<LPARAM>(job.window));
        ASSERT_TRUE(Eventually([&] { return IsWindowEnabled(button) != FALSE; }));
        Click(button);
        if (byMessage) {
            EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(event, 0)) << "Win32s has no named event";
            ASSERT_EQ(1u, JobWindow::received().size());
            EXPECT_EQ(1u, JobWindow::received()[0].wParam);
            EXPECT_EQ(0, JobWindow::received()[0].lParam);
        } else {
            EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(event, 0)) << "event reset";
            EXPECT_TRUE(JobWindow::received().empty());
        }
        CloseHandle(event);
        // With the last handle closed the name is gone: the monitor kept none.
        HANDLE again = OpenEventA(EVENT_ALL_ACCESS, FALSE, LV_CANCEL_EVENT_NAME);
        EXPECT_EQ(nullptr, again) << "the monitor still holds the event";
        if (again)
            CloseHandle(again);
        EXPECT_TRUE(monitor.Running());
    }
}

TEST(PanelCommandsProperties, Win32sOpensThePrintersFolderAndNoPrinter)
{
    TestPrinters printers;
    ASSERT_TRUE(printers.Add("Status Monitor"));
    MonitorCopy monitor(Platform::Win32s);
    ASSERT_TRUE(InstallRecorder(monitor.directory + "control.exe"));
    monitor.WriteIni(Settings(""));
    ASSERT_NE(nullptr, monitor.StartAndWait());
    Offer(monitor.Control(kProperties));
    Click(monitor.Control(kProperties));
    std::string log = WaitForRecorderLog(monitor.directory + "control.exe");
    EXPECT_EQ("control.exe Imprimantes\n", log);
    EXPECT_EQ(nullptr, DriverSheet(monitor.window));
}

TEST(PanelCommandsProperties, NoSuchPrinterLeavesEverythingAsItWas)
{
    TestPrinters printers;
    ASSERT_TRUE(printers.Add("Bureau 12"));
    short before = TestPrinters::Orientation("Bureau 12");
    for (Platform platform : {Platform::Windows95, Platform::NT}) {
        SCOPED_TRACE(PlatformName(platform));
        MonitorCopy monitor(platform, std::string("props_none_") + (platform == Platform::NT ? "nt" : "95"));
        ASSERT_TRUE(InstallRecorder(monitor.directory + "control.exe"));
        // Without /P the printer is "Status Monitor", which does not exist here.
        monitor.WriteIni(Settings("Default Printer=Bureau 12\r\n"));
        ASSERT_NE(nullptr, monitor.StartAndWait());
        Offer(monitor.Control(kProperties));
        Click(monitor.Control(kProperties));
        EXPECT_EQ(nullptr, DriverSheet(monitor.window));
        EXPECT_EQ(1, monitor.Send(LVWM_SETSTATE, Ready)) << "the monitor goes on";
        EXPECT_FALSE(FileExists(RecorderLogPath(monitor.directory + "control.exe")));
        EXPECT_EQ(before, TestPrinters::Orientation("Bureau 12"));
    }
}

TEST(PanelCommandsProperties, NTDriverDialogOkStoresTheDefaultsCancelKeepsThem)
{
    TestPrinters printers;
    ASSERT_TRUE(printers.Add("Status Monitor"));
    ASSERT_TRUE(printers.Add("Bureau 12"));
    short start = TestPrinters::Orientation("Status Monitor");
    ASSERT_NE(0, start);
    MonitorCopy monitor(Platform::NT);
    monitor.WriteIni(Settings("Default Printer=Bureau 12\r\n"));
    ASSERT_NE(nullptr, monitor.StartAndWait());

    PressPropertiesButton(monitor);
    HWND sheet = WaitForDriverSheet(monitor.window);
    ASSERT_NE(nullptr, sheet) << "the printer's document settings are offered";
    EXPECT_EQ(monitor.window, GetWindow(sheet, GW_OWNER));
    FlipOrientationAndClose(sheet, IDCANCEL);
    ASSERT_TRUE(Eventually([&] { return !IsWindow(sheet); }));
    EXPECT_EQ(1, monitor.Send(LVWM_SETSTATE, Ready));
    EXPECT_EQ(start, TestPrinters::Orientation("Status Monitor")) << "Cancel stores nothing";

    PressPropertiesButton(monitor);
    sheet = WaitForDriverSheet(monitor.window);
    ASSERT_NE(nullptr, sheet);
    FlipOrientationAndClose(sheet, IDOK);
    EXPECT_TRUE(Eventually([&] { return TestPrinters::Orientation("Status Monitor") == Flipped(start); }))
        << "OK makes the choice the printer's default";
    EXPECT_EQ(start, TestPrinters::Orientation("Bureau 12")) << "without /P the Default Printer is not used";

    // The next opening starts from the new defaults.
    PressPropertiesButton(monitor);
    sheet = WaitForDriverSheet(monitor.window);
    ASSERT_NE(nullptr, sheet);
    EXPECT_TRUE(IsChecked(ControlInside(sheet, start == DMORIENT_PORTRAIT ? kLandscape : kPortrait, "Button")));
    PressSheetButton(sheet, IDCANCEL);
    EXPECT_TRUE(Eventually([&] { return !IsWindow(sheet); }));
}

TEST(PanelCommandsProperties, NTPrinterNameModeOpensThePrinterOrTheDefaultPrinterCutToFit)
{
    std::string longName(255, 'L');
    const std::string names[] = {"Bureau 12", "Atelier", longName};
    TestPrinters printers;
    for (const std::string& name : names)
        ASSERT_TRUE(printers.Add(name));
    const struct {
        const char* name;
        std::string settings;
        std::string opened;
    } cases[] = {
        {"own section", Settings("Default Printer=Atelier\r\n", "[Bureau 12]\r\nDevice Name=abc\r\n"), "Bureau 12"},
        {"two characters", Settings("Default Printer=Atelier\r\n", "[Bureau 12]\r\nDevice Name=ab\r\n"), "Atelier"},
        {"no section", Settings("Default Printer=Atelier\r\n"), "Atelier"},
        {"Default Printer longer than the name buffer", Settings("Default Printer=" + longName + "tail\r\n"), longName},
    };
    auto orientations = [&] {
        std::vector<short> now;
        for (const std::string& name : names)
            now.push_back(TestPrinters::Orientation(name));
        return now;
    };
    PublishPrinterName("Bureau 12");
    MonitorCopy monitor(Platform::NT);
    monitor.WriteIni(cases[0].settings);
    ASSERT_NE(nullptr, monitor.StartAndWait("/P job"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        monitor.WriteIni(c.settings);
        std::vector<short> expected = orientations();
        for (size_t i = 0; i < expected.size(); ++i)
            expected[i] = names[i] == c.opened ? Flipped(expected[i]) : expected[i];
        PressPropertiesButton(monitor);
        HWND sheet = WaitForDriverSheet(monitor.window);
        ASSERT_NE(nullptr, sheet);
        FlipOrientationAndClose(sheet, IDOK);
        EXPECT_TRUE(Eventually([&] { return orientations() == expected; })) << "only " << c.opened.substr(0, 20) << " changed";
    }
    WithdrawPrinterName();
}

TEST(PanelCommandsProperties, NTOkKeepsWhatAnotherChangedWhileTheDialogWasOpen)
{
    TestPrinters printers;
    ASSERT_TRUE(printers.Add("Status Monitor"));
    ASSERT_TRUE(TestPrinters::SetComment("Status Monitor", "Salle 3"));
    short start = TestPrinters::Orientation("Status Monitor");
    MonitorCopy monitor(Platform::NT);
    monitor.WriteIni(Settings(""));
    ASSERT_NE(nullptr, monitor.StartAndWait());
    PressPropertiesButton(monitor);
    HWND sheet = WaitForDriverSheet(monitor.window);
    ASSERT_NE(nullptr, sheet);
    ASSERT_TRUE(TestPrinters::SetComment("Status Monitor", "Salle 12, premier étage"));
    FlipOrientationAndClose(sheet, IDOK);
    EXPECT_TRUE(Eventually([&] { return TestPrinters::Orientation("Status Monitor") == Flipped(start); }));
    EXPECT_EQ("Salle 12, premier étage", TestPrinters::Comment("Status Monitor")) << "the comment was written back";
}

TEST(PanelCommandsContextHelp, F1AsksForTheTopicOfTheFocusedButtonOnEveryPlatform)
{
    const struct {
        int control;
        DWORD topic;
    } cases[] = {
        {kClose, 3112}, {kHelp, 3113}, {kQueue, 3108}, {kCancelJob, 3111}, {kProperties, 3109}, {kOptions, 3110},
    };
    HelpSpy spy;
    JobWindow job;
    for (Platform platform : {Platform::NT, Platform::Win32s}) {
        SCOPED_TRACE(PlatformName(platform));
        MonitorCopy monitor(platform, std::string("f1_panel_") + (platform == Platform::NT ? "nt" : "32s"));
        monitor.WriteIni(Settings("EngssHelp=Moniteur.hlp\r\n"));
        ASSERT_NE(nullptr, monitor.StartAndWait());
        monitor.Send(LVWM_JOBWINDOW, LV_JOB_REGISTER, reinterpret_cast<LPARAM>(job.window));
        ASSERT_TRUE(Eventually([&] { return IsWindowEnabled(monitor.Control(kCancelJob)) != FALSE; }));
        Offer(monitor.Control(kQueue));
        Offer(monitor.Control(kProperties));
        for (const auto& c : cases) {
            SCOPED_TRACE("control " + std::to_string(c.control));
            ASSERT_TRUE(TabTo(monitor.Panel(), monitor.Control(c.control)));
            spy.Clear();
            PressKey(monitor.Control(c.control), VK_F1);
            ASSERT_TRUE(spy.WaitFor(1));
            EXPECT_EQ(static_cast<UINT>(HELP_CONTEXT), spy.Requests()[0].command);
            EXPECT_EQ(c.topic, spy.Requests()[0].data);
            EXPECT_EQ(monitor.directory + "Moniteur.hlp", spy.Requests()[0].file);
            EXPECT_EQ(monitor.Panel(), spy.Requests()[0].owner);
        }
        // With every button greyed, hiding the focused one leaves the focus
        // on none of them.
        for (int control : {kClose, kHelp, kQueue, kCancelJob, kProperties})
            EnableWindow(monitor.Control(control), FALSE);
        ASSERT_EQ(monitor.Control(kOptions), FocusOf(monitor.window));
        ShowWindow(monitor.Control(kOptions), SW_HIDE);
        ASSERT_TRUE(Eventually([&] { return FocusOf(monitor.window) != monitor.Control(kOptions); }));
        int focused = GetDlgCtrlID(FocusOf(monitor.window));
        for (const auto& c : cases)
            ASSERT_NE(c.control, focused);
        spy.Clear();
        PressKey(monitor.Panel(), VK_F1);
        ASSERT_TRUE(spy.WaitFor(1));
        EXPECT_EQ(3107u, spy.Requests()[0].data) << "the status window as a whole";
        EXPECT_TRUE(monitor.Running());
    }
}

TEST(PanelCommandsClose, CloseAndEscapeEndTheMonitorAndSaveIsIconByTheRule)
{
    enum Way { CloseButton, EscapeKey };
    const struct {
        Way way;
        int mode;
        bool minimised;
        const char* isIcon;
    } cases[] = {
        {CloseButton, 0, false, "1"},
        {EscapeKey, 0, false, "1"},
        {EscapeKey, 1, false, "0"},
        {CloseButton, 2, false, "0"},
        {EscapeKey, 2, true, "1"},
    };
    MonitorCopy monitor(Platform::NT);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.way == CloseButton ? "Close" : "Escape") + " mode " + std::to_string(c.mode) +
                     (c.minimised ? " minimised" : ""));
        monitor.WriteIni("[Status Monitor]\r\nevent_notification_type=" + std::to_string(c.mode) + "\r\nIsIcon=x\r\n");
        ASSERT_NE(nullptr, monitor.StartAndWait());
        if (c.minimised)
            monitor.Send(LVWM_APPMINIMUM);
        monitor.SetIni("Status Monitor", "IsIcon", "x");
        if (c.way == CloseButton)
            Click(monitor.Control(kClose));
        else
            PressKeyIn(monitor.Panel(), VK_ESCAPE);
        EXPECT_EQ(0u, monitor.WaitForExit());
        EXPECT_EQ(nullptr, monitor.FindMainWindow());
        EXPECT_EQ(c.isIcon, monitor.ReadIni("Status Monitor", "IsIcon"));
    }
}
