// The printer properties command pressed in the real monitor: the Printers
// folder on Win32s, and on NT the driver's document settings of real test
// printers, stored on OK and kept on Cancel.
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <functional>
#include <string>
#include <vector>

#include "lumeview/protocol.h"
#include "monitor_copy.h"
#include "panel_input.h"
#include "polling.h"
#include "print_side_registry.h"
#include "recorder.h"
#include "resource.h"
#include "settings_text.h"
#include "system_stand_in.h"
#include "test_environment.h"
#include "test_files.h"
#include "wine_platform.h"

namespace {

const int kPortrait = 101;   // orientation buttons of the driver's sheet
const int kLandscape = 102;

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
    Offer(monitor.Control(IDC_PROPERTIES));
    PostMessageA(monitor.Control(IDC_PROPERTIES), BM_CLICK, 0, 0);
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
        EXPECT_TRUE(Click(other));
        return IsChecked(other);
    }));
    PressSheetButton(sheet, button);
}

short Flipped(short orientation)
{
    return orientation == DMORIENT_PORTRAIT ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
}

}  // namespace

TEST(PanelCommandsProperties, Win32sOpensThePrintersFolderAndNoPrinter)
{
    TestPrinters printers;
    ASSERT_TRUE(printers.Add("Status Monitor"));
    SystemProgramStandIn controlPanel(SystemFolder::System, "control.exe");
    ASSERT_TRUE(controlPanel.installed());
    // Programs of the same name beside the monitor and in the folder it was
    // started from are never the control panel.
    MonitorCopy monitor(Platform::Win32s, "", "moniteur");
    monitor.currentFolder = TestWorkDir();
    const std::string decoys[] = {monitor.directory + "control.exe", TestWorkDir() + "control.exe"};
    for (const std::string& decoy : decoys)
        ASSERT_TRUE(InstallRecorder(decoy));
    monitor.WriteIni(ModeSettings(1));
    ASSERT_NE(nullptr, monitor.StartAndWait());
    Offer(monitor.Control(IDC_PROPERTIES));
    ASSERT_TRUE(Click(monitor.Control(IDC_PROPERTIES)));
    std::string log = WaitForRecorderLog(controlPanel.path);
    EXPECT_EQ(controlPanel.path + " Imprimantes\n", log);
    EXPECT_EQ(nullptr, DriverSheet(monitor.window));
    for (const std::string& decoy : decoys)
        EXPECT_FALSE(FileExists(RecorderLogPath(decoy))) << decoy << " ran";
}

TEST(PanelCommandsProperties, NoSuchPrinterLeavesEverythingAsItWas)
{
    TestPrinters printers;
    ASSERT_TRUE(printers.Add("Bureau 12"));
    short before = TestPrinters::Orientation("Bureau 12");
    SystemProgramStandIn controlPanel(SystemFolder::System, "control.exe");
    ASSERT_TRUE(controlPanel.installed());
    for (Platform platform : {Platform::Windows95, Platform::NT}) {
        SCOPED_TRACE(PlatformName(platform));
        MonitorCopy monitor(platform, std::string("props_none_") + (platform == Platform::NT ? "nt" : "95"));
        // Without /P the printer is "Status Monitor", which does not exist here.
        monitor.WriteIni(ModeSettings(1) + "Default Printer=Bureau 12\r\n");
        ASSERT_NE(nullptr, monitor.StartAndWait());
        Offer(monitor.Control(IDC_PROPERTIES));
        ASSERT_TRUE(Click(monitor.Control(IDC_PROPERTIES)));
        EXPECT_EQ(nullptr, DriverSheet(monitor.window));
        EXPECT_EQ(1, monitor.Send(LVWM_SETSTATE, Ready)) << "the monitor goes on";
        EXPECT_FALSE(FileExists(RecorderLogPath(controlPanel.path)));
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
    monitor.WriteIni(ModeSettings(1) + "Default Printer=Bureau 12\r\n");
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
        {"own section", ModeSettings(1) + "Default Printer=Atelier\r\n" + "[Bureau 12]\r\nDevice Name=abc\r\n", "Bureau 12"},
        {"two characters", ModeSettings(1) + "Default Printer=Atelier\r\n" + "[Bureau 12]\r\nDevice Name=ab\r\n", "Atelier"},
        {"no section", ModeSettings(1) + "Default Printer=Atelier\r\n", "Atelier"},
        {"Default Printer longer than the name buffer", ModeSettings(1) + "Default Printer=" + longName + "tail\r\n", longName},
    };
    auto orientations = [&] {
        std::vector<short> now;
        for (const std::string& name : names)
            now.push_back(TestPrinters::Orientation(name));
        return now;
    };
    ASSERT_TRUE(PublishPrinterName("Bureau 12"));
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
    monitor.WriteIni(ModeSettings(1));
    ASSERT_NE(nullptr, monitor.StartAndWait());
    PressPropertiesButton(monitor);
    HWND sheet = WaitForDriverSheet(monitor.window);
    ASSERT_NE(nullptr, sheet);
    ASSERT_TRUE(TestPrinters::SetComment("Status Monitor", "Salle 12, premier étage"));
    FlipOrientationAndClose(sheet, IDOK);
    EXPECT_TRUE(Eventually([&] { return TestPrinters::Orientation("Status Monitor") == Flipped(start); }));
    EXPECT_EQ("Salle 12, premier étage", TestPrinters::Comment("Status Monitor")) << "the comment was written back";
}
