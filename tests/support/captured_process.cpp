#include "captured_process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "lumeview/protocol.h"
#include "test_environment.h"
#include "test_files.h"

namespace {

HANDLE InheritableFile(const std::string& path)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

void PumpAndWait(HANDLE process, DWORD ms)
{
    MsgWaitForMultipleObjects(1, &process, FALSE, ms, QS_ALLINPUT);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace

CapturedProcess::CapturedProcess(const std::string& commandLine, const char* file, int line)
{
    static int count = 0;
    std::string base = TestWorkDir() + "run" + std::to_string(++count);
    outPath_ = base + ".out";
    errPath_ = base + ".err";
    HANDLE out = InheritableFile(outPath_);
    HANDLE err = InheritableFile(errPath_);
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE inRead = nullptr;
    CreatePipe(&inRead, &input_, &inherit, 0);
    SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inRead;
    startup.hStdOutput = out;
    startup.hStdError = err;
    std::vector<char> command(commandLine.begin(), commandLine.end());
    command.push_back('\0');
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process_))
        ADD_FAILURE_AT(file, line) << commandLine << " cannot be started, error " << GetLastError();
    CloseHandle(out);
    CloseHandle(err);
    CloseHandle(inRead);
}

CapturedProcess::~CapturedProcess()
{
    CloseInput();
    Kill();
}

void CapturedProcess::Kill()
{
    if (process_.hProcess == nullptr)
        return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
    process_ = {};
}

testing::AssertionResult CapturedProcess::WaitForOutput(const std::string& text, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (Out().find(text) == std::string::npos) {
        if (process_.hProcess == nullptr)
            return testing::AssertionFailure() << "no program runs to print \"" << text << "\"";
        if (GetTickCount() - start > timeoutMs)
            return testing::AssertionFailure() << "no \"" << text << "\" in its output within " << timeoutMs << " ms";
        PumpAndWait(process_.hProcess, 20);
    }
    return testing::AssertionSuccess();
}

testing::AssertionResult CapturedProcess::Finish(DWORD timeoutMs)
{
    if (process_.hProcess == nullptr)
        return testing::AssertionFailure() << "no program runs";
    DWORD start = GetTickCount();
    while (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        if (GetTickCount() - start > timeoutMs) {
            TerminateProcess(process_.hProcess, 99);
            WaitForSingleObject(process_.hProcess, 5000);
            return testing::AssertionFailure() << "still running after " << timeoutMs << " ms, ended";
        }
        PumpAndWait(process_.hProcess, 20);
    }
    GetExitCodeProcess(process_.hProcess, &exitCode);
    return testing::AssertionSuccess();
}

bool CapturedProcess::WriteInput(const std::string& bytes)
{
    DWORD written = 0;
    return input_ != nullptr &&
           WriteFile(input_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

void CapturedProcess::CloseInput()
{
    if (input_ != nullptr) {
        CloseHandle(input_);
        input_ = nullptr;
    }
}

// A C program's text-mode output ends its lines with CR LF.
static std::string WithoutCarriageReturns(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

std::string CapturedProcess::Out() const
{
    return WithoutCarriageReturns(ReadFileBytes(outPath_));
}

std::string CapturedProcess::Err() const
{
    return WithoutCarriageReturns(ReadFileBytes(errPath_));
}

std::vector<std::string> OutputLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string LvsendCommandLine(const std::string& arguments)
{
    return "\"" + TestEnvironment("LVSEND_EXE") + "\" " + arguments;
}

CapturedRun RunCaptured(const std::string& commandLine, DWORD timeoutMs)
{
    CapturedProcess run(commandLine);
    bool finished = static_cast<bool>(run.Finish(timeoutMs));
    return {finished, run.exitCode, run.Out(), run.Err()};
}

MonitorClosedAtEnd::~MonitorClosedAtEnd()
{
    HWND window = FindWindowA(className_.c_str(), nullptr);
    if (window == nullptr)
        return;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
    PostMessageA(window, LVWM_APPCLOSE, 0, 0);
    if (process != nullptr) {
        if (WaitForSingleObject(process, 5000) != WAIT_OBJECT_0)
            TerminateProcess(process, 99);
        CloseHandle(process);
    }
}
