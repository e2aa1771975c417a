// The panel's buttons and F1 pressed in the real monitor on the three
// platforms, and what that starts, asks for or changes outside it.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "help_spy.h"
#include "hung_viewer.h"
#include "lumeview/protocol.h"
#include "monitor_copy.h"
#include "panel_input.h"
#include "polling.h"
#include "print_side_registry.h"
#include "recorder.h"
#include "resource.h"
#include "settings_text.h"
#include "stand_in_windows.h"
#include "system_stand_in.h"
#include "test_environment.h"
#include "test_files.h"
#include "wine_platform.h"

TEST(PanelCommandsHelp, StateTopicsAskedOfWinHelpOnWindows95AndNT)
{
    HelpSpy spy;
    for (Platform platform : {Platform::Windows95, Platform::NT}) {
        SCOPED_TRACE(PlatformName(platform));
        MonitorCopy monitor(platform, std::string("help_state_") + (platform == Platform::NT ? "nt" : "95"));
        monitor.WriteIni(ModeSettings(1) + "EngssHelp=Moniteur.hlp\r\n");
        ASSERT_NE(nullptr, monitor.StartAndWait());
        const struct {
            DeviceState state;
            DWORD topic;
        } cases[] = {{Warning, 503}, {Ready, 502}, {Error, 504}};
        for (const auto& c : cases) {
            SCOPED_TRACE("state " + std::to_string(c.state));
            spy.Clear();
            monitor.Send(LVWM_SETSTATE, c.state);
            ASSERT_TRUE(Click(monitor.Control(IDC_PANEL_HELP)));
            ASSERT_TRUE(spy.WaitFor(1));
            const HelpRequest request = spy.Requests().back();
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
    SystemProgramStandIn viewer(SystemFolder::Windows, "winhelp.exe");
    ASSERT_TRUE(viewer.installed());
    // Programs of the same name beside the monitor and in the folder it was
    // started from are never the viewer.
    MonitorCopy monitor(Platform::Win32s, "", "moniteur");
    monitor.currentFolder = TestWorkDir();
    const std::string decoys[] = {monitor.directory + "winhelp.exe", TestWorkDir() + "winhelp.exe"};
    for (const std::string& decoy : decoys)
        ASSERT_TRUE(InstallRecorder(decoy));
    // The viewer's path, a blank and the file's path fill the 256-byte line
    // exactly, or one more.
    std::string fits(255 - viewer.path.size() - 1 - monitor.directory.size(), 'h');
    const struct {
        std::string helpFile;
        bool runs;
        std::string opened;  // the file the viewer is started on
    } cases[] = {
        {"Moniteur.hlp", true, "Moniteur.hlp"},
        {fits + "h", false, ""},
        {std::string(300, 'h'), false, ""},  // refused at load: no help file
        {fits, true, fits},
    };
    monitor.WriteIni(ModeSettings(1) + "EngssHelp=Moniteur.hlp\r\n");
    ASSERT_NE(nullptr, monitor.StartAndWait());
    size_t lines = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.helpFile.substr(0, 20) + " " + std::to_string(c.helpFile.size()));
        monitor.SetIni("Status Monitor", "EngssHelp", c.helpFile.c_str());
        monitor.Send(LVWM_APPINIT);  // reloads the path settings
        monitor.Send(LVWM_SETSTATE, Warning);
        ASSERT_TRUE(Click(monitor.Control(IDC_PANEL_HELP)));
        if (!c.runs)
            continue;
        // A line that did not fit ran nothing: this one is the next line.
        std::string log = WaitForRecorderLog(viewer.path, ++lines);
        ASSERT_EQ(lines, LineCount(log));
        EXPECT_EQ(viewer.path + " " + monitor.directory + c.opened, LastLine(log));
    }
    EXPECT_TRUE(monitor.Running());
    EXPECT_TRUE(spy.Requests().empty()) << "no topic is asked for on Win32s";
    for (const std::string& decoy : decoys)
        EXPECT_FALSE(FileExists(RecorderLogPath(decoy))) << decoy << " ran";
}

// A viewer that is open but reads no messages is not asked: the request
// would wait for its answer without end.
TEST(PanelCommandsHelp, AViewerThatDoesNotAnswerHoldsNeitherHelpNorF1)
{
    HungViewer viewer;
    const struct {
        Platform platform;
        bool f1;
    } cases[] = {{Platform::NT, false}, {Platform::Win32s, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(PlatformName(c.platform)) + (c.f1 ? " F1" : " Help"));
        MonitorCopy monitor(c.platform, std::string("hung_viewer_") + (c.f1 ? "f1" : "help"));
        ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
        EXPECT_TRUE(AnswersAfterAskingForHelp(monitor, [&] {
            if (c.f1)
                PressKeyIn(monitor.Panel(), VK_F1);
            else
                PostMessageA(monitor.Panel(), WM_COMMAND, IDC_PANEL_HELP, 0);
        }));
    }
}

TEST(PanelCommandsQueue, WithoutPrinterNameModeRunsTheCommandBuiltAtLoad)
{
    // The published printer has a section and a viewer of its own, which
    // only /P may use.
    ASSERT_TRUE(PublishPrinterName("Bureau 12"));
    MonitorCopy monitor(Platform::NT);
    for (const char* recorder : {"fileq.exe", "ownq.exe"})
        ASSERT_TRUE(InstallRecorder(monitor.directory + recorder));
    monitor.WriteIni(ModeSettings(1) + "QueueExe=fileq.exe /tous\r\n" +
                     "[Bureau 12]\r\nDevice Name=Bureau 12\r\nQueueExe=ownq.exe /o\r\n");
    ASSERT_NE(nullptr, monitor.StartAndWait("job"));
    Offer(monitor.Control(IDC_QUEUE_BUTTON));
    ASSERT_TRUE(Click(monitor.Control(IDC_QUEUE_BUTTON)));
    std::string log = WaitForRecorderLog(monitor.directory + "fileq.exe");
    EXPECT_EQ(monitor.directory + "fileq.exe /tous\n", log);
    Sleep(300);
    EXPECT_FALSE(FileExists(RecorderLogPath(monitor.directory + "ownq.exe")))
        << ReadFileBytes(RecorderLogPath(monitor.directory + "ownq.exe"));
    WithdrawPrinterName();
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
    ASSERT_TRUE(PublishPrinterName("Bureau 12"));
    MonitorCopy monitor(Platform::NT);
    for (const char* recorder : {"monq.exe", "ownq.exe"})
        ASSERT_TRUE(InstallRecorder(monitor.directory + recorder));
    monitor.WriteIni(ModeSettings(1) + "QueueExe=monq.exe /m\r\n");
    ASSERT_NE(nullptr, monitor.StartAndWait("/P job"));
    size_t monLines = 0;
    size_t ownLines = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        monitor.WriteIni(ModeSettings(1) + "QueueExe=monq.exe /m\r\n" + c.printerSection);
        Offer(monitor.Control(IDC_QUEUE_BUTTON));
        ASSERT_TRUE(Click(monitor.Control(IDC_QUEUE_BUTTON)));
        if (!c.started) {
            // Nothing starts; the next press, with a viewer again, is the first to log.
            monitor.WriteIni(ModeSettings(1) + "QueueExe=monq.exe /after\r\n");
            ASSERT_TRUE(Click(monitor.Control(IDC_QUEUE_BUTTON)));
            std::string log = WaitForRecorderLog(monitor.directory + "monq.exe", ++monLines);
            EXPECT_EQ(monitor.directory + "monq.exe /after", LastLine(log));
            EXPECT_EQ(ownLines, LineCount(ReadFileBytes(RecorderLogPath(monitor.directory + "ownq.exe"))));
            continue;
        }
        size_t& lines = std::string(c.started) == "monq.exe" ? monLines : ownLines;
        std::string log = WaitForRecorderLog(monitor.directory + c.started, ++lines);
        ASSERT_EQ(lines, LineCount(log));
        // A program named without a folder is the one beside the monitor.
        EXPECT_EQ(monitor.directory + c.line, LastLine(log));
    }
    Sleep(300);
    EXPECT_EQ(monLines, LineCount(ReadFileBytes(RecorderLogPath(monitor.directory + "monq.exe"))));
    EXPECT_EQ(ownLines, LineCount(ReadFileBytes(RecorderLogPath(monitor.directory + "ownq.exe"))));
    WithdrawPrinterName();
}

// Which program the command names is decided at the press: a viewer
// installed after the start runs, and one named without a folder is looked
// for beside the monitor, never in the folder it was started from.
TEST(PanelCommandsQueue, ViewerIsLookedForAtThePressBesideTheMonitorOnly)
{
    ASSERT_TRUE(PublishPrinterName("Bureau 12"));
    MonitorCopy monitor(Platform::NT, "queue_at_press", "moniteur");
    monitor.currentFolder = TestWorkDir();
    std::string decoy = TestWorkDir() + "lateq.exe";
    std::string viewer = monitor.directory + "lateq.exe";
    ASSERT_TRUE(InstallRecorder(decoy));
    monitor.WriteIni(ModeSettings(1) + "QueueExe=lateq.exe /a\r\n[Bureau 12]\r\nDevice Name=Bureau 12\r\n"
                     "QueueExe=lateq.exe /p\r\n");
    auto pressQueue = [&] {
        Offer(monitor.Control(IDC_QUEUE_BUTTON));
        ASSERT_TRUE(Click(monitor.Control(IDC_QUEUE_BUTTON)));
    };
    for (const char* commandLine : {"job", "/P job"}) {
        SCOPED_TRACE(commandLine);
        DeleteFileA(viewer.c_str());
        ASSERT_NE(nullptr, monitor.StartAndWait(commandLine));
        ASSERT_NO_FATAL_FAILURE(pressQueue());
        ASSERT_TRUE(InstallRecorder(viewer));
        ASSERT_NO_FATAL_FAILURE(pressQueue());
        size_t lines = std::string(commandLine) == "job" ? 1 : 2;
        std::string log = WaitForRecorderLog(viewer, lines);
        EXPECT_EQ(lines, LineCount(log));
        EXPECT_EQ(viewer + (lines == 1 ? " /a" : " /p"), LastLine(log));
        EXPECT_EQ(1, monitor.Send(LVWM_APPCLOSE));
        EXPECT_EQ(0u, monitor.WaitForExit());
    }
    Sleep(300);
    EXPECT_FALSE(FileExists(RecorderLogPath(decoy))) << ReadFileBytes(RecorderLogPath(decoy));
    WithdrawPrinterName();
}

TEST(PanelCommandsCancel, AsksThePrintSideItsWayOnlyWhileAJobIsRegistered)
{
    for (Platform platform : {Platform::Win32s, Platform::Windows95, Platform::NT}) {
        SCOPED_TRACE(PlatformName(platform));
        bool byMessage = platform == Platform::Win32s;
        MonitorCopy monitor(platform, std::string("cancel_") + (byMessage ? "32s" : platform == Platform::NT ? "nt" : "95"));
        monitor.WriteIni(ModeSettings(1));
        ASSERT_NE(nullptr, monitor.StartAndWait());
        JobWindow job;
        HANDLE event = CreateEventA(nullptr, TRUE, TRUE, LV_CANCEL_EVENT_NAME);
        ASSERT_NE(nullptr, event);
        HWND button = monitor.Control(IDC_CANCEL_JOB);

        // A job that has ended: the button goes grey; pressed all the same, nothing is asked.
        monitor.Send(LVWM_JOBWINDOW, LV_JOB_REGISTER, reinterpret_cast<LPARAM>(job.window));
        monitor.Send(LVWM_JOBWINDOW, LV_JOB_UNREGISTER, reinterpret_cast<LPARAM>(job.window));
        ASSERT_TRUE(Eventually([&] { return !IsWindowEnabled(button); }));
        EnableWindow(button, TRUE);
        ASSERT_TRUE(Click(button));
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(event, 0)) << "event left signalled";
        EXPECT_TRUE(job.Records().empty());

        monitor.Send(LVWM_JOBWINDOW, LV_JOB_REGISTER, reinterpret_cast<LPARAM>(job.window));
        ASSERT_TRUE(Eventually([&] { return IsWindowEnabled(button) != FALSE; }));
        ASSERT_TRUE(Click(button));
        if (byMessage) {
            EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(event, 0)) << "Win32s has no named event";
            ASSERT_EQ(1u, job.Records().size());
            EXPECT_EQ(1u, job.Records()[0].wParam);
            EXPECT_EQ(0, job.Records()[0].lParam);
        } else {
            EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(event, 0)) << "event reset";
            EXPECT_TRUE(job.Records().empty());
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

TEST(PanelCommandsContextHelp, F1AsksForTheTopicOfTheFocusedButtonOnEveryPlatform)
{
    const struct {
        int control;
        DWORD topic;
    } cases[] = {
        {IDC_PANEL_CLOSE, 3112}, {IDC_PANEL_HELP, 3113}, {IDC_QUEUE_BUTTON, 3108}, {IDC_CANCEL_JOB, 3111}, {IDC_PROPERTIES, 3109}, {IDC_OPTIONS, 3110},
    };
    HelpSpy spy;
    JobWindow job;
    for (Platform platform : {Platform::NT, Platform::Win32s}) {
        SCOPED_TRACE(PlatformName(platform));
        MonitorCopy monitor(platform, std::string("f1_panel_") + (platform == Platform::NT ? "nt" : "32s"));
        monitor.WriteIni(ModeSettings(1) + "EngssHelp=Moniteur.hlp\r\n");
        ASSERT_NE(nullptr, monitor.StartAndWait());
        monitor.Send(LVWM_JOBWINDOW, LV_JOB_REGISTER, reinterpret_cast<LPARAM>(job.window));
        ASSERT_TRUE(Eventually([&] { return IsWindowEnabled(monitor.Control(IDC_CANCEL_JOB)) != FALSE; }));
        Offer(monitor.Control(IDC_QUEUE_BUTTON));
        Offer(monitor.Control(IDC_PROPERTIES));
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
        for (int control : {IDC_PANEL_CLOSE, IDC_PANEL_HELP, IDC_QUEUE_BUTTON, IDC_CANCEL_JOB, IDC_PROPERTIES})
            EnableWindow(monitor.Control(control), FALSE);
        ASSERT_EQ(monitor.Control(IDC_OPTIONS), FocusOf(monitor.window));
        ShowWindow(monitor.Control(IDC_OPTIONS), SW_HIDE);
        ASSERT_TRUE(Eventually([&] { return FocusOf(monitor.window) != monitor.Control(IDC_OPTIONS); }));
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
        {CloseButton, 2, true, "1"},
        {EscapeKey, 2, true, "1"},
    };
    MonitorCopy monitor(Platform::NT);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.way == CloseButton ? "Close" : "Escape") + " mode " + std::to_string(c.mode) +
                     (c.minimised ? " minimised" : ""));
        monitor.WriteIni(MonitorSettings().Key("event_notification_type", c.mode).Key("IsIcon", "x").Text());
        ASSERT_NE(nullptr, monitor.StartAndWait());
        if (c.minimised)
            monitor.Send(LVWM_APPMINIMUM);
        monitor.SetIni("Status Monitor", "IsIcon", "x");
        if (c.way == CloseButton)
            ASSERT_TRUE(Click(monitor.Control(IDC_PANEL_CLOSE)));
        else
            PressKeyIn(monitor.Panel(), VK_ESCAPE);
        EXPECT_EQ(0u, monitor.WaitForExit());
        EXPECT_EQ(c.isIcon, monitor.ReadIni("Status Monitor", "IsIcon"));
    }
}

TEST(PanelCommandsQueue, FromAFolderWithBlanksTheViewerRunsQuotedNeverTheShorterPath)
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
    monitor.WriteIni(MonitorSettings().Key("event_notification_type", 1).Text());
    ASSERT_NE(nullptr, monitor.StartAndWait("job"));
    auto pressQueue = [&](const std::string& queueExe) {
        monitor.SetIni("Status Monitor", "QueueExe", queueExe.c_str());
        monitor.Send(LVWM_APPINIT);  // reloads the path settings
        Offer(monitor.Control(IDC_QUEUE_BUTTON));
        ASSERT_TRUE(Click(monitor.Control(IDC_QUEUE_BUTTON)));
    };
    for (const std::string& queueExe : quiet)
        ASSERT_NO_FATAL_FAILURE(pressQueue(queueExe));
    ASSERT_NO_FATAL_FAILURE(pressQueue("fileq.exe /tous \"Bureau 12\""));
    EXPECT_EQ("\"" + viewer + "\" /tous \"Bureau 12\"\n", WaitForRecorderLog(viewer));

    // With /P the stored command is taken as written, the program quoted.
    EXPECT_EQ(1, monitor.Send(LVWM_APPCLOSE));
    EXPECT_EQ(0u, monitor.WaitForExit());
    monitor.SetIni("Status Monitor", "QueueExe", (viewer + " /p").c_str());
    ASSERT_NE(nullptr, monitor.StartAndWait("/P job"));
    Offer(monitor.Control(IDC_QUEUE_BUTTON));
    ASSERT_TRUE(Click(monitor.Control(IDC_QUEUE_BUTTON)));
    std::string log = WaitForRecorderLog(viewer, 2);
    EXPECT_EQ(2u, LineCount(log));
    EXPECT_EQ("\"" + viewer + "\" /p\n", log.substr(log.find('\n') + 1));
    Sleep(300);
    EXPECT_FALSE(FileExists(RecorderLogPath(planted))) << ReadFileBytes(RecorderLogPath(planted));
    EXPECT_EQ(2u, LineCount(ReadFileBytes(RecorderLogPath(viewer))));
}
