#include "monitor_harness.h"

#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>
#include <vector>

std::string TestEnvironment(const char* name)
{
    char value[1024] = {};
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    if (length == 0 || length >= sizeof value)
        ADD_FAILURE() << "environment variable " << name << " is not set";
    return value;
}

static std::string CurrentTestName()
{
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "_" + info->name() : "lvtest";
    std::string clean;
    for (char c : name)
        clean += std::isalnum(static_cast<unsigned char>(c)) ? static_cast<char>(std::tolower(c)) : '_';
    // Keep the executable name short; the tail is the distinctive part.
    if (clean.size() > 60)
        clean = clean.substr(clean.size() - 60);
    return clean;
}

static void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        std::string path = folder + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveTree(path + "\\");
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            RemoveDirectoryA(path.c_str());
        } else {
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

std::string TestWorkDir()
{
    // Emptied once per test, so that several copies can share it.
    static std::string preparedFor;
    std::string folder = TestEnvironment("LUMEVIEW_TEST_WORK") + "\\" + CurrentTestName() + "\\";
    if (preparedFor != folder) {
        CreateDirectoryA(TestEnvironment("LUMEVIEW_TEST_WORK").c_str(), nullptr);
        RemoveTree(folder);
        CreateDirectoryA(folder.c_str(), nullptr);
        preparedFor = folder;
    }
    return folder;
}

// Without a window manager on the test's X server, Wine would wait two
// seconds for one each time a window of a managed program is hidden or
// destroyed.
static void SetWineUnmanaged(const std::string& exeName)
{
    std::string keyName = "Software\\Wine\\AppDefaults\\" + exeName + "\\X11 Driver";
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CURRENT_USER, keyName.c_str(), &key));
    RegSetValueExA(key, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
    RegCloseKey(key);
}

const char* PlatformName(Platform platform)
{
    return platform == Platform::Win32s ? "Win32s" : platform == Platform::Windows95 ? "Windows 95" : "NT";
}

void SetWinePlatform(const std::string& exeName, Platform platform)
{
    const char* version = platform == Platform::Win32s ? "win31" : platform == Platform::Windows95 ? "win95" : "winxp";
    std::string keyName = "Software\\Wine\\AppDefaults\\" + exeName;
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CURRENT_USER, keyName.c_str(), &key));
    RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                   static_cast<DWORD>(strlen(version) + 1));
    RegCloseKey(key);
}

std::wstring Utf16FromCp1252(const std::string& text)
{
    if (text.empty())
        return L"";
    std::vector<wchar_t> wide(text.size() + 1);
    int length = MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                     static_cast<int>(wide.size()));
    return std::wstring(wide.data(), length);
}

std::string Utf8FromUtf16(const std::wstring& text)
{
    if (text.empty())
        return "";
    int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(length, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &narrow[0], length, nullptr, nullptr);
    return narrow;
}

bool Eventually(const std::function<bool()>& condition, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    do {
        if (condition())
            return true;
        Sleep(20);
    } while (GetTickCount() - start < timeoutMs);
    return condition();
}

std::string ModeSettings(int notificationMode, int alertEnabled)
{
    return "[Status Monitor]\r\nevent_notification_type=" + std::to_string(notificationMode) +
           "\r\nsound_audio_alert=" + std::to_string(alertEnabled) + "\r\n";
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

MonitorCopy::MonitorCopy(Platform platform, const std::string& exeBase, const std::string& folder)
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
    EXPECT_TRUE(CopyFileA(TestEnvironment("LUMEVIEW_EXE").c_str(), exePath.c_str(), FALSE))
        << "copy to " << exePath;
    SetWinePlatform(exeName, platform);
    SetWineUnmanaged(exeName);
}

// False when the processes cannot be listed at all.
static bool ListProcessesOf(const std::string& exeName, std::vector<DWORD>* found)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, exeName.c_str()) == 0)
            found->push_back(entry.th32ProcessID);
    }
    CloseHandle(snapshot);
    return true;
}

size_t RunningProcesses(const std::string& exeName)
{
    std::vector<DWORD> found;
    if (!ListProcessesOf(exeName, &found))
        ADD_FAILURE() << "the running processes cannot be listed";
    return found.size();
}

// Every process of the copy's executable, whoever started it: a copy left
// running after its test would hold CTest's output pipe open (Wine hands a
// new process the standard error of the one that starts it), and CTest
// would wait for it until the test's time-out.
static void EndProcessesOf(const std::string& exeName)
{
    std::vector<DWORD> found;
    ListProcessesOf(exeName, &found);
    for (DWORD id : found) {
        HANDLE stray = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
        if (!stray)
            continue;
        TerminateProcess(stray, 99);
        WaitForSingleObject(stray, 5000);
        CloseHandle(stray);
    }
}

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
