#include "monitor_copy.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "process_list.h"
#include "test_environment.h"
#include "test_files.h"

MonitorCopy::MonitorCopy(Platform platform, const std::string& exeBase, const std::string& folder, const char* file,
                         int line)
{
    directory = TestWorkDir();
    if (!folder.empty()) {
        directory += folder + "\\";
        CreateDirectoryA(directory.c_str(), nullptr);
    }
    std::string base = exeBase.empty() ? CurrentTestName() : exeBase;
    exeName = base + ".exe";
    exePath = directory + exeName;
    std::string upper = base.substr(0, base.find('.'));
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    className = upper;
    iniPath = directory + base.substr(0, base.find('.')) + ".INI";
    if (!CopyFileA(TestEnvironment("LUMEVIEW_EXE").c_str(), exePath.c_str(), FALSE)) {
        ADD_FAILURE_AT(file, line) << "lumeview.exe cannot be copied to " << exePath << ", error " << GetLastError();
        return;
    }
    testing::AssertionResult told = SetWinePlatform(exeName, platform);
    if (told)
        told = SetWineUnmanaged(exeName);
    if (!told) {
        ADD_FAILURE_AT(file, line) << told.message();
        return;
    }
    made_ = true;
}

// Every process of the copy's executable, whoever started it, goes with
// it: a copy left running after its test would hold CTest's output pipe
// open (Wine hands a new process the standard error of the one that starts
// it), and CTest would wait for it until the test's time-out.
MonitorCopy::~MonitorCopy()
{
    if (process.hProcess) {
        if (Running())
            Kill();
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    EndProcessesOf(exeName);
}

bool MonitorCopy::Start(const std::string& commandLine, int showCommand)
{
    if (process.hProcess) {
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        process = {};
    }
    window = nullptr;
    if (!made_) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return false;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (showCommand >= 0) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(showCommand);
    }
    std::string line = "\"" + exePath + "\"";
    if (!commandLine.empty())
        line += " " + commandLine;
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    const std::string& current = currentFolder.empty() ? directory : currentFolder;
    return CreateProcessA(exePath.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          current.c_str(), &startup, &process) != FALSE;
}

HWND MonitorCopy::StartAndWait(const std::string& commandLine, int showCommand, const char* file, int line)
{
    if (!Start(commandLine, showCommand)) {
        ADD_FAILURE_AT(file, line) << exeName << " could not be started, error " << GetLastError();
        return nullptr;
    }
    HWND found = WaitForWindow();
    if (!found)
        ADD_FAILURE_AT(file, line) << exeName << " showed no window for \"" << commandLine << "\"";
    return found;
}

testing::AssertionResult MonitorCopy::StartWith(const std::string& settings, const std::string& commandLine)
{
    WriteIni(settings);
    if (!Start(commandLine))
        return testing::AssertionFailure() << exeName << " could not be started, error " << GetLastError();
    if (!WaitForWindow())
        return testing::AssertionFailure() << exeName << " showed no window for \"" << commandLine << "\"";
    return testing::AssertionSuccess();
}

HWND MonitorCopy::FindMainWindow() const
{
    return FindWindowA(className.c_str(), nullptr);
}

HWND MonitorCopy::WaitForWindow(DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        window = FindMainWindow();
        // The panel exists once start-up has finished building the window.
        if (window && FindWindowExA(window, nullptr, nullptr, nullptr) && IsWindowVisible(window))
            return window;
        if (process.hProcess && WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0)
            return nullptr;
        Sleep(20);
    }
    return nullptr;
}

DWORD MonitorCopy::WaitForExit(DWORD timeoutMs)
{
    if (!process.hProcess)
        return STILL_ACTIVE;
    if (WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process.hProcess, &code);
    return code;
}

bool MonitorCopy::Running() const
{
    return process.hProcess && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT;
}

void MonitorCopy::Kill()
{
    if (process.hProcess) {
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, 5000);
    }
}

LRESULT MonitorCopy::Send(UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs, bool* answered,
                          const char* file, int line)
{
    DWORD_PTR result = 0;
    LRESULT ok = SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, timeoutMs, &result);
    if (answered)
        *answered = ok != 0;
    else if (!ok)
        ADD_FAILURE_AT(file, line) << "message " << message << " got no answer within " << timeoutMs << " ms";
    return static_cast<LRESULT>(result);
}

HWND MonitorCopy::Panel() const
{
    return FindWindowExA(window, nullptr, nullptr, nullptr);
}

HWND MonitorCopy::Control(int id) const
{
    return GetDlgItem(Panel(), id);
}

std::wstring MonitorCopy::WindowTextW(HWND target, const char* file, int line) const
{
    const DWORD kTimeoutMs = 5000;
    if (!IsWindow(target)) {
        ADD_FAILURE_AT(file, line) << "no window " << target << " to read a text from";
        return L"";
    }
    wchar_t text[1024] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(target, WM_GETTEXT, sizeof text / sizeof text[0], reinterpret_cast<LPARAM>(text),
                             SMTO_NORMAL, kTimeoutMs, &copied)) {
        ADD_FAILURE_AT(file, line) << "WM_GETTEXT got no answer within " << kTimeoutMs << " ms";
        return L"";
    }
    return std::wstring(text, copied);
}

std::wstring MonitorCopy::ControlText(int id, const char* file, int line) const
{
    HWND control = Control(id);
    if (!control) {
        ADD_FAILURE_AT(file, line) << "the panel has no control " << id;
        return L"";
    }
    return WindowTextW(control, file, line);
}

void MonitorCopy::WriteIni(const std::string& content) const
{
    WriteFileBytes(iniPath, content);
}

void MonitorCopy::SetIni(const char* section, const char* key, const char* value) const
{
    WritePrivateProfileStringA(section, key, value, iniPath.c_str());
}

std::string MonitorCopy::ReadIni(const char* section, const char* key, const char* absent) const
{
    char value[1024] = {};
    GetPrivateProfileStringA(section, key, absent, value, sizeof value, iniPath.c_str());
    return value;
}

bool MonitorCopy::IniExists() const
{
    return FileExists(iniPath);
}

void MonitorCopy::DeleteIni() const
{
    DeleteFileA(iniPath.c_str());
}
