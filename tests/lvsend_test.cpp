// lvsend.exe run as an integrator runs it: its output captured from pipes,
// its messages checked on a window of this process or on the real monitor.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "captured_process.h"
#include "lumeview/protocol.h"
#include "monitor_copy.h"
#include "polling.h"
#include "resource.h"
#include "settings_text.h"
#include "stand_in_windows.h"
#include "status_texts_expected.h"
#include "test_environment.h"
#include "test_files.h"
#include "text_conversion.h"

namespace {

CapturedRun RunLvsend(const std::string& arguments, DWORD timeoutMs = 60000)
{
    return RunCaptured(LvsendCommandLine(arguments), timeoutMs);
}

std::string ClassOption(const MonitorCopy& monitor)
{
    return "--class " + monitor.className + " ";
}

// lvsend's way of writing a text on one line.
std::string Quoted(const std::string& utf8)
{
    std::string out = "\"";
    for (char ch : utf8) {
        if (ch == '\n')
            out += "\\n";
        else if (ch == '"' || ch == '\\')
            out += std::string("\\") + ch;
        else
            out += ch;
    }
    return out + "\"";
}

}  // namespace

TEST(Lvsend, EachCommandSendsItsMessageWithItsParameters)
{
    const struct {
        const char* command;
        UINT message;
        DWORD wParam;
        DWORD lParam;
        const char* printed;
    } cases[] = {
        {"error 3 2", LVWM_ERROR, 3, 2, "LVWM_ERROR(3, 2) -> 4660"},
        {"error 0xFFFFFFFF -1", LVWM_ERROR, 0xFFFFFFFF, 0xFFFFFFFF, "LVWM_ERROR(4294967295, -1) -> 4660"},
        {"error -2147483648 4294967295", LVWM_ERROR, 0x80000000, 0xFFFFFFFF,
         "LVWM_ERROR(2147483648, -1) -> 4660"},
        {"operation 10", LVWM_OPERATION, 10, 0, "LVWM_OPERATION(10, 0) -> 4660"},
        {"operation 0x1E", LVWM_OPERATION, 30, 0, "LVWM_OPERATION(30, 0) -> 4660"},
        {"progress done 3", LVWM_PROGRESS, 1, 3, "LVWM_PROGRESS(1, 3) -> 4660"},
        {"progress total 12", LVWM_PROGRESS, 2, 12, "LVWM_PROGRESS(2, 12) -> 4660"},
        {"progress 3 -5", LVWM_PROGRESS, 3, 0xFFFFFFFB, "LVWM_PROGRESS(3, -5) -> 4660"},
        {"show", LVWM_APPSHOW, 0, 0, "LVWM_APPSHOW(0, 0) -> 4660"},
        {"minimise", LVWM_APPMINIMUM, 0, 0, "LVWM_APPMINIMUM(0, 0) -> 4660"},
        {"minimize", LVWM_APPMINIMUM, 0, 0, "LVWM_APPMINIMUM(0, 0) -> 4660"},
        {"init", LVWM_APPINIT, 0, 0, "LVWM_APPINIT(0, 0) -> 4660"},
        {"close", LVWM_APPCLOSE, 0, 0, "LVWM_APPCLOSE(0, 0) -> 4660"},
        {"state 1", LVWM_SETSTATE, 1, 0, "LVWM_SETSTATE(1, 0) -> 4660"},
        {"alert", LVWM_ALERT, 1, 0, "LVWM_ALERT(1, 0) -> 4660"},
        {"alert 0x00010001", LVWM_ALERT, 0x10001, 0, "LVWM_ALERT(65537, 0) -> 4660"},
        {"jobwindow register 0x1234", LVWM_JOBWINDOW, 1, 0x1234, "LVWM_JOBWINDOW(1, 0x00001234) -> 4660"},
        {"jobwindow unregister 4660", LVWM_JOBWINDOW, 0, 0x1234, "LVWM_JOBWINDOW(0, 0x00001234) -> 4660"},
        {"send LVWM_SETSTATE 2", LVWM_SETSTATE, 2, 0, "LVWM_SETSTATE(2, 0) -> 4660"},
        {"send docname", LVWM_DOCNAME, 0, 0, "LVWM_DOCNAME(0, 0) -> 4660"},
        {"send 1034 0x7FFFFFFF 0x80000000", LVWM_ERROR, 0x7FFFFFFF, 0x80000000,
         "LVWM_ERROR(2147483647, -2147483648) -> 4660"},
        {"send 0x464 1", LVWM_CANCELJOB, 1, 0, "LVWM_CANCELJOB(1, 0) -> 4660"},
        {"send 1500 7 8", 1500, 7, 8, "message 1500(7, 8) -> 4660"},
    };
    SpyWindow spy;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        spy.Clear();
        CapturedRun result = RunLvsend("--class " + spy.className + " " + c.command);
        ASSERT_TRUE(result.finished);
        EXPECT_EQ(0u, result.exitCode) << result.err;
        EXPECT_EQ(std::string(c.printed) + "\n", result.out);
        EXPECT_EQ("", result.err);
        ASSERT_EQ(1u, spy.Records().size());
        EXPECT_EQ(c.message, spy.Records()[0].message);
        EXPECT_EQ(c.wParam, static_cast<DWORD>(spy.Records()[0].wParam));
        EXPECT_EQ(c.lParam, static_cast<DWORD>(spy.Records()[0].lParam));
    }
}

TEST(Lvsend, DrivesTheRunningMonitor)
{
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
    const std::string target = ClassOption(monitor);

    CapturedRun result = RunLvsend(target + "error 3 2");
    EXPECT_EQ(0u, result.exitCode) << result.err;
    EXPECT_EQ("LVWM_ERROR(3, 2) -> 1\n", result.out);
    EXPECT_EQ(std::wstring(L"Incident papier"), monitor.ControlText(IDC_STATUS_TEXT));

    result = RunLvsend(target + "operation 20");
    EXPECT_EQ("LVWM_OPERATION(20, 0) -> 1\n", result.out);
    EXPECT_EQ(std::wstring(L"Num\u00e9risation en cours"), monitor.ControlText(IDC_STATUS_TEXT));

    EXPECT_EQ("LVWM_PROGRESS(2, 12) -> 1\n", RunLvsend(target + "progress total 12").out);
    EXPECT_EQ("LVWM_PROGRESS(1, 3) -> 1\n", RunLvsend(target + "progress done 3").out);
    EXPECT_EQ("LVWM_PROGRESS(3, 5) -> 0\n", RunLvsend(target + "progress 3 5").out);
    EXPECT_EQ("LVWM_SETSTATE(1, 0) -> 1\n", RunLvsend(target + "state 1").out);
    EXPECT_EQ("LVWM_SETSTATE(3, 0) -> 0\n", RunLvsend(target + "state 3").out);
    EXPECT_EQ("LVWM_ALERT(1, 0) -> 1\n", RunLvsend(target + "alert").out);

    EXPECT_EQ("LVWM_APPMINIMUM(0, 0) -> 1\n", RunLvsend(target + "minimise").out);
    EXPECT_TRUE(Eventually([&] { return IsIconic(monitor.window) != FALSE; }));
    EXPECT_EQ("LVWM_APPSHOW(0, 0) -> 1\n", RunLvsend(target + "show").out);

    EXPECT_EQ("LVWM_APPINIT(0, 0) -> 1\n", RunLvsend(target + "init").out);
    EXPECT_EQ(std::wstring(L"Disponible"), monitor.ControlText(IDC_STATUS_TEXT));

    result = RunLvsend(target + "close");
    EXPECT_EQ(0u, result.exitCode) << result.err;
    EXPECT_EQ("LVWM_APPCLOSE(0, 0) -> 1\n", result.out);
    EXPECT_EQ(0u, monitor.WaitForExit());

    result = RunLvsend(target + "show");
    EXPECT_EQ(2u, result.exitCode);
    EXPECT_EQ("", result.out);
}

TEST(Lvsend, ReadPrintsWhatThePanelShowsInUtf8)
{
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
    ASSERT_EQ(1, monitor.Send(LVWM_ERROR, OPECALL_ERROR, 2));

    CapturedRun result = RunLvsend(ClassOption(monitor) + "read");
    EXPECT_EQ(0u, result.exitCode) << result.err;
    std::vector<std::string> lines = OutputLines(result.out);
    ASSERT_EQ(5u, lines.size()) << result.out;
    EXPECT_EQ("status: " + Quoted(Utf8FromUtf16(ExpectedText(OPECALL_ERROR, 2))), lines[0]);
    // The accents arrive as UTF-8: é is C3 A9, â is C3 A2.
    EXPECT_NE(std::string::npos, lines[0].find("l'op\xC3\xA9ration en cours, v\xC3\xA9rifier le c\xC3\xA2" "ble"));
    EXPECT_EQ(0u, lines[1].find("document: \""));
    EXPECT_EQ(0u, lines[2].find("pages: \""));
    EXPECT_EQ("buttons: close=enabled help=enabled cancel-job=disabled options=enabled queue=hidden "
              "properties=hidden", lines[3]);
    EXPECT_EQ("window: shown", lines[4]);

    // A registered job window enables the cancel button once the panel repaints.
    SpyWindow job;
    ASSERT_EQ(1, monitor.Send(LVWM_JOBWINDOW, LV_JOB_REGISTER, reinterpret_cast<LPARAM>(job.window)));
    ASSERT_TRUE(Eventually([&] { return IsWindowEnabled(monitor.Control(IDC_CANCEL_JOB)) != FALSE; }));
    ASSERT_EQ(1, monitor.Send(LVWM_APPMINIMUM));
    ASSERT_TRUE(Eventually([&] { return IsIconic(monitor.window) != FALSE; }));
    lines = OutputLines(RunLvsend(ClassOption(monitor) + "read").out);
    ASSERT_EQ(5u, lines.size());
    EXPECT_EQ("buttons: close=enabled help=enabled cancel-job=enabled options=enabled queue=hidden "
              "properties=hidden", lines[3]);
    EXPECT_EQ("window: minimised", lines[4]);
}

TEST(Lvsend, DocnameAndPrinterArePublishedInTheRegistry)
{
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
    const std::string target = ClassOption(monitor);
    const std::string documentKey = "PrinterService\\StatusMonitor\\Document";

    // The command line reaches lvsend in code page 1252: é is E9.
    CapturedRun result = RunLvsend(target + "docname \"R\xE9sum\xE9 annuel.doc\"");
    EXPECT_EQ(0u, result.exitCode) << result.err;
    EXPECT_EQ("HKEY_CLASSES_ROOT\\" + documentKey + "\\DocName = \"R\xC3\xA9sum\xC3\xA9 annuel.doc\"\n"
              "LVWM_DOCNAME(0, 0) -> 1\n", result.out);
    char value[256] = {};
    LONG size = sizeof value;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueA(HKEY_CLASSES_ROOT, (documentKey + "\\DocName").c_str(), value, &size));
    EXPECT_EQ(std::string("R\xE9sum\xE9 annuel.doc"), value);
    EXPECT_EQ(std::wstring(L"R\u00e9sum\u00e9 annuel.doc"), monitor.ControlText(IDC_DOCUMENT_NAME));

    result = RunLvsend(target + "printer \"Brevik Solvane XL\"");
    EXPECT_EQ(0u, result.exitCode) << result.err;
    size = sizeof value;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueA(HKEY_CLASSES_ROOT,
                                            (documentKey + "\\DeviceName\\Status\\Monitor").c_str(), value, &size));
    EXPECT_EQ(std::string("Brevik Solvane XL"), value);

    // A scenario is UTF-8; its quoted words keep their blanks.
    std::string scenario = TestWorkDir() + "docname.txt";
    WriteFileBytes(scenario, "docname \"Plan d'\xC3\xA9t\xC3\xA9  2.xls\"\n");
    result = RunLvsend(target + "play \"" + scenario + "\"");
    EXPECT_EQ(0u, result.exitCode) << result.err;
    EXPECT_EQ(std::wstring(L"Plan d'\u00e9t\u00e9  2.xls"), monitor.ControlText(IDC_DOCUMENT_NAME));

    result = RunLvsend(target + "docname --remove");
    EXPECT_EQ(0u, result.exitCode) << result.err;
    size = sizeof value;
    EXPECT_NE(ERROR_SUCCESS, RegQueryValueA(HKEY_CLASSES_ROOT, (documentKey + "\\DocName").c_str(), value, &size));
    RegDeleteKeyA(HKEY_CLASSES_ROOT, (documentKey + "\\DeviceName\\Status\\Monitor").c_str());
}

// What the monitor's cancel command does, done from this process.
TEST(Lvsend, MistakesGiveOneLineOnStderrAndANonZeroExit)
{
    const std::string nobody = "--class LVSEND_NO_SUCH_MONITOR ";
    const struct {
        std::string arguments;
        DWORD exitCode;
        const char* says;
    } cases[] = {
        {"", 1, "usage: lvsend"},
        {"frobnicate", 1, "unknown command 'frobnicate'"},
        {"error 3", 1, "error: wrong number of arguments (usage: error CATEGORY CODE)"},
        {"error 3 2 1", 1, "error: wrong number of arguments"},
        {"show now", 1, "show: wrong number of arguments"},
        {"error three 2", 1, "'three' is not a number"},
        {"error 3 0x", 1, "'0x' is not a number"},
        {"error 3 12abc", 1, "'12abc' is not a number"},
        {"error 3 0x100000000", 1, "'0x100000000' is not a number"},
        {"error 3 4294967296", 1, "'4294967296' is not a number"},
        {"state -2147483649", 1, "'-2147483649' is not a number"},
        {"state \" 1\"", 1, "' 1' is not a number"},
        {"progress some 3", 1, "'some' is not a number"},
        {"send LVWM_NOTHING", 1, "'LVWM_NOTHING' is neither a message name nor a number"},
        {"wait 0xFFFFFFFF", 1, "wait: at most 600000 ms"},
        {"job --minutes 3", 1, "job: unexpected '--minutes'"},
        {"table --html", 1, "table: unexpected '--html'"},
        {"--timeout 0 show", 1, "--timeout: '0' is not a time"},
        {"--colour red show", 1, "unknown option --colour"},
        {"--class", 1, "--class needs a value"},
        {nobody + "error 3 2", 2, "no monitor is running (no window of class LVSEND_NO_SUCH_MONITOR)"},
        {nobody + "read", 2, "no monitor is running"},
        {nobody + "job --seconds 5", 2, "no monitor is running"},
        {"play Z:\\nonexistent\\scenario.txt", 3, "cannot read the scenario Z:\\nonexistent\\scenario.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("lvsend " + c.arguments);
        CapturedRun result = RunLvsend(c.arguments, 20000);
        ASSERT_TRUE(result.finished) << "still running after 20 s";
        EXPECT_EQ(c.exitCode, result.exitCode);
        EXPECT_EQ("", result.out);
        EXPECT_NE(std::string::npos, result.err.find(c.says)) << result.err;
        if (c.arguments.empty())
            continue;  // the usage text is several lines
        EXPECT_EQ(0u, result.err.find("lvsend: ")) << result.err;
        EXPECT_EQ(result.err.size() - 1, result.err.find('\n')) << "one line: " << result.err;
    }
}

// A window whose thread never reads its messages.
struct HungWindow {
    std::string className = "LVSEND_HUNG_" + std::to_string(GetCurrentProcessId());
    HANDLE created = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
};

DWORD WINAPI HungWindowThread(LPVOID parameter)
{
    HungWindow* hung = static_cast<HungWindow*>(parameter);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = hung->className.c_str();
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA(hung->className.c_str(), "hung", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                windowClass.hInstance, nullptr);
    SetEvent(hung->created);
    WaitForSingleObject(hung->release, 60000);
    DestroyWindow(window);
    return 0;
}

TEST(Lvsend, AWindowThatDoesNotAnswerTimesOut)
{
    HungWindow hung;
    HANDLE thread = CreateThread(nullptr, 0, HungWindowThread, &hung, 0, nullptr);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hung.created, 10000));

    DWORD start = GetTickCount();
    CapturedRun result = RunLvsend("--class " + hung.className + " --timeout 700 show", 20000);
    DWORD took = GetTickCount() - start;
    SetEvent(hung.release);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);

    EXPECT_TRUE(result.finished);
    EXPECT_EQ(2u, result.exitCode);
    EXPECT_EQ("lvsend: LVWM_APPSHOW: no answer from the monitor within 700 ms\n", result.err);
    EXPECT_GE(took, 700u);
    EXPECT_LT(took, 15000u);
}

TEST(Lvsend, EveryShippedScenarioPlaysToTheEnd)
{
    const struct {
        const char* file;
        const char* reached;  // a line of the output on the way
    } scenarios[] = {
        {"normal-print-job.txt", "LVWM_PROGRESS(1, 3) -> 1\n"},
        {"paper-jam.txt", "LVWM_ERROR(3, 2) -> 1\nLVWM_ERROR(0, 0) -> 1\n"},
        {"toner-low.txt", "LVWM_ERROR(4, 1) -> 1\n"},
        {"copy-and-scan.txt", "LVWM_OPERATION(30, 0) -> 1\nLVWM_ERROR(3, 5) -> 1\nLVWM_OPERATION(20, 0) -> 1\n"},
    };
    for (const auto& s : scenarios) {
        SCOPED_TRACE(s.file);
        MonitorCopy monitor(Platform::NT, std::string("lvsend_play_") + std::to_string(&s - scenarios));
        monitor.WriteIni(MonitorSettings().Key("event_notification_type", 0).Key("sound_audio_alert", 0).Text());
        std::string path = TestEnvironment("LUMEVIEW_SOURCE") + "\\tools\\lvsend\\scenarios\\" + s.file;

        CapturedRun result = RunLvsend("--exe \"" + monitor.exePath + "\" play \"" + path + "\"");
        ASSERT_TRUE(result.finished);
        EXPECT_EQ(0u, result.exitCode) << result.err;
        EXPECT_EQ("", result.err);
        EXPECT_EQ(0u, result.out.find("started " + monitor.exePath)) << result.out;
        EXPECT_NE(std::string::npos, result.out.find(s.reached)) << result.out;
        // The job ends with operation 1, which closes a monitor in mode 0.
        const std::string ending = "LVWM_OPERATION(1, 0) -> 1\n";
        EXPECT_EQ(result.out.size() - ending.size(), result.out.rfind(ending)) << result.out;
        EXPECT_TRUE(Eventually([&] { return monitor.FindMainWindow() == nullptr; }));
    }
}

TEST(Lvsend, AScenarioStopsAtItsFirstBadLine)
{
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
    std::string scenario = TestWorkDir() + "broken.txt";
    WriteFileBytes(scenario,
                   "# a paper jam, then a typing slip\r\n"
                   "\r\n"
                   "   error 3 2   # jam\r\n"
                   "wait 10\r\n"
                   "eror 3 5\r\n"
                   "error 3 5\r\n");
    CapturedRun result = RunLvsend(ClassOption(monitor) + "play \"" + scenario + "\"");
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(1u, result.exitCode);
    EXPECT_EQ("LVWM_ERROR(3, 2) -> 1\n", result.out);
    EXPECT_EQ("lvsend: " + scenario + ":5: unknown command 'eror' (try: lvsend help)\n", result.err);
    EXPECT_EQ(std::wstring(L"Incident papier"), monitor.ControlText(IDC_STATUS_TEXT));

    WriteFileBytes(scenario, "docname \"unclosed\n");
    result = RunLvsend(ClassOption(monitor) + "play \"" + scenario + "\"");
    EXPECT_EQ(1u, result.exitCode);
    EXPECT_EQ("lvsend: " + scenario + ":1: unclosed double quote\n", result.err);
}

TEST(Lvsend, TableListsEveryRowAsMarkdown)
{
    const char* categoryNames[] = {"", "SERVICE_ERROR", "OPECALL_ERROR", "OPECALL_RECOVER", "OPECALL_WARNING"};
    CapturedRun result = RunLvsend("table --markdown");
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(0u, result.exitCode) << result.err;
    std::vector<std::string> lines = OutputLines(result.out);
    ASSERT_EQ(2 + kExpectedRowCount + 1, lines.size()) << result.out;
    EXPECT_EQ("| Category | Code | Code name | Text | State |", lines[0]);
    EXPECT_EQ("|---|---|---|---|---|", lines[1]);
    for (size_t i = 0; i < kExpectedRowCount; ++i) {
        const ExpectedRow& row = kExpectedRows[i];
        SCOPED_TRACE(lines[2 + i]);
        std::string text = Utf8FromUtf16(row.text);
        std::string shown;
        for (char ch : text)
            shown += ch == '\n' ? std::string("\\n") : std::string(1, ch);
        std::string state = row.state == kErrorAlert ? "Error, alert" : row.state == kWarning ? "Warning" : "Ready";
        std::string start = "| " + std::to_string(row.category) + " " + categoryNames[row.category] + " | " +
                            std::to_string(row.code) + " | ";
        EXPECT_EQ(0u, lines[2 + i].find(start));
        EXPECT_NE(std::string::npos, lines[2 + i].find(" | `" + shown + "` | " + state + " |"));
        if (text.compare(0, 11, "LVWM_ERROR:") == 0) {
            std::string codeName = text.substr(text.rfind(':') + 1);
            EXPECT_EQ(start + codeName + " | ", lines[2 + i].substr(0, start.size() + codeName.size() + 3));
        }
    }
    EXPECT_EQ("| any | any | any other report | (empty) | by category and code |", lines.back());
}

TEST(Lvsend, PressClicksThePanelsButtonsAsAUserWould)
{
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
    CapturedRun unknown = RunLvsend(ClassOption(monitor) + "press nothing");
    EXPECT_EQ(1u, unknown.exitCode);
    EXPECT_EQ(1u, OutputLines(unknown.err).size());

    CapturedRun options = RunLvsend(ClassOption(monitor) + "press options");
    EXPECT_EQ(0u, options.exitCode) << options.err;
    // Tests beside this one may have options dialogs of their own open.
    HWND dialog = nullptr;
    EXPECT_TRUE(Eventually([&] {
        for (dialog = FindWindowExA(nullptr, nullptr, nullptr, "Options"); dialog;
             dialog = FindWindowExA(nullptr, dialog, nullptr, "Options")) {
            if (GetWindow(dialog, GW_OWNER) == monitor.window)
                return true;
        }
        return false;
    }));
    // The press is posted: the dialog exists a moment before the monitor
    // disables its window.
    EXPECT_TRUE(Eventually([&] { return IsWindowEnabled(monitor.window) == FALSE; }))
        << "the panel takes no input while the options are open";
    PostMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_TRUE(Eventually([&] { return IsWindowEnabled(monitor.window) != FALSE; }));

    EXPECT_EQ(0u, RunLvsend(ClassOption(monitor) + "press close").exitCode);
    EXPECT_EQ(0u, monitor.WaitForExit());
}
