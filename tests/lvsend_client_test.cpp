// lvsend as a client of lvps: what its start says, and what it refuses or
// escapes rather than pass on to the system or the terminal.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

#include "captured_process.h"
#include "lumeview/protocol.h"
#include "monitor_copy.h"
#include "polling.h"
#include "process_list.h"
#include "process_metrics.h"
#include "settings_text.h"
#include "test_environment.h"
#include "test_files.h"

namespace {

std::string ExeOption(const MonitorCopy& monitor)
{
    return "--exe \"" + monitor.exePath + "\" ";
}

}  // namespace

// What lvps's start found, in lvsend's words and exit codes; the outcomes
// themselves are the kit's (printside_test).
TEST(LvsendClient, StartSaysWhatBecameOfTheCopyItRan)
{
    MonitorCopy monitor;
    MonitorClosedAtEnd closer(monitor.className);
    monitor.WriteIni(MonitorSettings().Key("event_notification_type", 0).Text());
    CapturedRun first = RunCaptured(LvsendCommandLine(ExeOption(monitor) + "start"));
    ASSERT_EQ(0u, first.exitCode) << first.err;
    monitor.window = monitor.FindMainWindow();
    ASSERT_NE(nullptr, monitor.window) << "lvsend ended before the window came";
    const unsigned long handle = static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(monitor.window));
    char expected[512];
    snprintf(expected, sizeof expected, "started %s: window 0x%08lX of class %s\n", monitor.exePath.c_str(), handle,
             monitor.className.c_str());
    EXPECT_EQ(expected, first.out);

    CapturedRun second = RunCaptured(LvsendCommandLine(ExeOption(monitor) + "start /S"));
    EXPECT_EQ(0u, second.exitCode) << second.err;
    snprintf(expected, sizeof expected, "already running: window 0x%08lX of class %s\n", handle,
             monitor.className.c_str());
    EXPECT_EQ(expected, second.out);

    EXPECT_EQ(1, monitor.Send(LVWM_APPCLOSE));
    // The closed copy ends by saving IsIcon; the next start must not meet it.
    ASSERT_TRUE(Eventually([&] { return RunningProcesses(monitor.exeName) == 0; }, 15000));
    // "/S" while the monitor shows only while printing: it declines to run.
    CapturedRun declined = RunCaptured(LvsendCommandLine(ExeOption(monitor) + "start /S"));
    EXPECT_EQ(2u, declined.exitCode);
    EXPECT_EQ("", declined.out);
    EXPECT_EQ("lvsend: " + monitor.exePath + " ended with exit code 0 without opening a window\n", declined.err);

    CapturedRun missing = RunCaptured(LvsendCommandLine("--exe \"" + monitor.directory + "missing.exe\" start"));
    EXPECT_EQ(3u, missing.exitCode);
    EXPECT_EQ("", missing.out);
    EXPECT_EQ(0u, missing.err.find("lvsend: cannot start " + monitor.directory + "missing.exe (error ")) << missing.err;
}

TEST(LvsendClient, StartRefusesACommandLineThatDoesNotFit)
{
    MonitorCopy monitor;
    MonitorClosedAtEnd closer(monitor.className);
    CapturedRun run = RunCaptured(LvsendCommandLine(ExeOption(monitor) + "start /P " + std::string(1100, 'x')));
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(1u, run.exitCode);
    EXPECT_EQ("lvsend: start: the command line does not fit in 1023 characters\n", run.err);
    // Without settings (mode 0) a copy runs with any command line but "/S":
    // one started at all, however slowly, would be running now.
    EXPECT_EQ(0u, RunningProcesses(monitor.exeName)) << "a copy was run with a cut command line";
}

TEST(LvsendClient, SendRefusesTheSystemsPointerMessages)
{
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
    for (const char* message : {"13 100 1", "12 0 1", "0x4A 0 1"}) {
        SCOPED_TRACE(message);
        CapturedRun run = RunCaptured(LvsendCommandLine("--class " + monitor.className + " send " + message));
        EXPECT_EQ(1u, run.exitCode) << run.err;
        EXPECT_EQ("", run.out);
        EXPECT_NE(std::string::npos, run.err.find("below WM_USER, 1024) whose parameters can be pointers: refused"))
            << run.err;
    }
    EXPECT_EQ(1, monitor.Send(LVWM_APPSHOW));
}

TEST(LvsendClient, ControlCharactersOfADocumentNameReachNoTerminal)
{
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
    const std::string target = "--class " + monitor.className + " ";
    CapturedRun published = RunCaptured(LvsendCommandLine(target + "docname \"a\x1B[2Jb\x07\x81\""));
    EXPECT_EQ(0u, published.exitCode) << published.err;
    EXPECT_NE(std::string::npos, published.out.find("\\DocName = \"a\\x1B[2Jb\\x07\\u0081\"\n")) << published.out;

    CapturedRun read = RunCaptured(LvsendCommandLine(target + "read"));
    EXPECT_EQ(0u, read.exitCode) << read.err;
    EXPECT_NE(std::string::npos, read.out.find("document: \"a\\x1B[2Jb\\x07\\u0081\"\n")) << read.out;
    EXPECT_EQ(std::string::npos, read.out.find('\x1B'));
}

TEST(LvsendClient, ScenarioCharactersWithoutA1252FormAreReported)
{
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
    const struct {
        const char* utf8;  // in a docname line
        const char* named;
    } cases[] = {
        {"\xD0\x96", "U+0416"},  // Cyrillic Zhe: no form at all
        {"\xC4\x81", "U+0101"},  // a with macron: best fit would make it 'a'
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.named);
        std::string scenario = TestWorkDir() + "chars.txt";
        WriteFileBytes(scenario, std::string("docname \"x") + c.utf8 + "\"\n");
        CapturedRun run = RunCaptured(LvsendCommandLine("--class " + monitor.className + " play \"" + scenario + "\""));
        EXPECT_EQ(1u, run.exitCode);
        EXPECT_EQ("", run.out);
        EXPECT_EQ("lvsend: " + scenario + ":1: " + c.named + " has no form in code page 1252, the monitor's\n",
                  run.err);
    }
}

// Words of the command line or of a scenario reach the terminal as UTF-8,
// their control characters escaped.
TEST(LvsendClient, ErrorLinesAreUtf8WithTheirControlCharactersEscaped)
{
    const std::string scenario = TestWorkDir() + "words.txt";
    const struct {
        std::string arguments;
        std::string scenarioLine;  // played when not empty
        std::string says;          // after "lvsend: "
    } cases[] = {
        {"d\xE9marre", "", "unknown command 'd\xC3\xA9marre' (try: lvsend help)"},
        {"fr\x1B[2Job\x07", "", "unknown command 'fr\\x1B[2Job\\x07' (try: lvsend help)"},
        {"error 3 x\x81\x7F", "", "error code: 'x\\u0081\\x7F' is not a number (decimal or 0x hex, 32 bits)"},
        {"", "eror\x1B]0;t\x07 3 5", scenario + ":1: unknown command 'eror\\x1B]0;t\\x07' (try: lvsend help)"},
        {"", "job --minutes\x0B", scenario + ":1: job: unexpected '--minutes\\x0B' (usage: job [--seconds N] "
                                   "[--until-cancel])"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments + c.scenarioLine);
        std::string arguments = c.arguments;
        if (!c.scenarioLine.empty()) {
            WriteFileBytes(scenario, c.scenarioLine + "\n");
            arguments = "play \"" + scenario + "\"";
        }
        CapturedRun run = RunCaptured(LvsendCommandLine(arguments));
        EXPECT_EQ(1u, run.exitCode);
        EXPECT_EQ("lvsend: " + c.says + "\n", run.err);
    }
}

TEST(LvsendClient, JobKeepsItsInputBounded)
{
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
    CapturedProcess job(LvsendCommandLine("--class " + monitor.className + " job --seconds 120"));
    ASSERT_TRUE(job.WaitForOutput(" registered\n")) << job.Out() << job.Err();
    SIZE_T before = MemoryOf(job.Process()).privateBytes;
    ASSERT_NE(0u, before) << "the first reading gave no private bytes";
    const std::string chunk(1 << 16, 'q');
    for (int i = 0; i < 64; ++i)
        ASSERT_TRUE(job.WriteInput(chunk));
    Sleep(500);
    EXPECT_LT(MemoryOf(job.Process()).privateBytes, before + (2u << 20)) << "after 4 MB without a line end";
    // That overlong line is no command, even ending in "quit"; the next line is.
    ASSERT_TRUE(job.WriteInput("uit\n"));
    Sleep(300);
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(job.Process(), 0));
    ASSERT_TRUE(job.WriteInput("quit\n"));
    ASSERT_TRUE(job.Finish(15000)) << job.Out();
    EXPECT_EQ(0u, job.exitCode);
    EXPECT_NE(std::string::npos, job.Out().find("\njob ended\n"));
}
