// A program run by a test with its output going to files, read back while
// it runs; its input a pipe the test writes to.
#ifndef LUMEVIEW_TEST_CAPTURED_PROCESS_H
#define LUMEVIEW_TEST_CAPTURED_PROCESS_H

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

class CapturedProcess {
public:
    // A program that cannot be started is a failure at the caller's line.
    explicit CapturedProcess(const std::string& commandLine, const char* file = __builtin_FILE(),
                             int line = __builtin_LINE());
    ~CapturedProcess();
    CapturedProcess(const CapturedProcess&) = delete;
    CapturedProcess& operator=(const CapturedProcess&) = delete;

    // Waits, serving this thread's messages, until stdout holds text.
    [[nodiscard]] testing::AssertionResult WaitForOutput(const std::string& text, DWORD timeoutMs = 15000);
    // Waits for the exit; a failure, with the process ended, on timeout.
    [[nodiscard]] testing::AssertionResult Finish(DWORD timeoutMs = 30000);
    bool WriteInput(const std::string& bytes);
    void CloseInput();
    // Ends it as a crash would: nothing unregistered or closed by itself.
    void Kill();

    std::string Out() const;
    std::string Err() const;
    HANDLE Process() const { return process_.hProcess; }
    DWORD exitCode = STILL_ACTIVE;

private:
    std::string outPath_;
    std::string errPath_;
    HANDLE input_ = nullptr;
    PROCESS_INFORMATION process_ = {};
};

// A program's output cut into its lines, without the line ends.
std::vector<std::string> OutputLines(const std::string& text);

// lvsend's command line with these arguments.
std::string LvsendCommandLine(const std::string& arguments);

// Runs to the end (at most timeoutMs) and hands back what it printed.
struct CapturedRun {
    bool finished;
    DWORD exitCode;
    std::string out;
    std::string err;
};
CapturedRun RunCaptured(const std::string& commandLine, DWORD timeoutMs = 30000);

// Ends, when a test is over, a monitor that a program under test started:
// a copy left running would hold CTest's output open until its time-out.
class MonitorClosedAtEnd {
public:
    explicit MonitorClosedAtEnd(const std::string& className) : className_(className) {}
    ~MonitorClosedAtEnd();
    MonitorClosedAtEnd(const MonitorClosedAtEnd&) = delete;
    MonitorClosedAtEnd& operator=(const MonitorClosedAtEnd&) = delete;

private:
    std::string className_;
};

#endif
