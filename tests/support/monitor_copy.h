// Runs the real lumeview.exe under Wine for a test and drives it from this
// process as the print side would: window messages, the settings file,
// the texts the panel shows.
#ifndef LUMEVIEW_TEST_MONITOR_COPY_H
#define LUMEVIEW_TEST_MONITOR_COPY_H

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "wine_platform.h"

// A copy of lumeview.exe under a name of its own in the test's folder, so
// that tests running side by side never find each other's window.
class MonitorCopy {
public:
    // exeBase: file name without ".exe"; empty takes one from the test name.
    // folder: a folder of its own inside the test's folder, made if needed.
    // A copy that cannot be made is a failure at the caller's line, and the
    // copy then never starts.
    explicit MonitorCopy(Platform platform = Platform::NT, const std::string& exeBase = "",
                         const std::string& folder = "", const char* file = __builtin_FILE(),
                         int line = __builtin_LINE());
    ~MonitorCopy();
    MonitorCopy(const MonitorCopy&) = delete;
    MonitorCopy& operator=(const MonitorCopy&) = delete;

    // Starts the copy; showCommand < 0 leaves the start-up info without one.
    bool Start(const std::string& commandLine = "", int showCommand = -1);
    // Start and wait for its main window; a failure when none comes, reported
    // at the caller's line.
    HWND StartAndWait(const std::string& commandLine = "", int showCommand = -1,
                      const char* file = __builtin_FILE(), int line = __builtin_LINE());
    // Writes the settings file and starts; for ASSERT_TRUE, so that a start
    // without a window ends the test.
    testing::AssertionResult StartWith(const std::string& settings, const std::string& commandLine = "");
    HWND WaitForWindow(DWORD timeoutMs = 15000);
    // Exit code, or STILL_ACTIVE when the process outlives the timeout.
    DWORD WaitForExit(DWORD timeoutMs = 15000);
    bool Running() const;
    void Kill();

    // Sends to the main window with a timeout; *answered is false on timeout.
    // Without `answered`, a timeout is a failure at the caller's line.
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
                 DWORD timeoutMs = 10000, bool* answered = nullptr,
                 const char* file = __builtin_FILE(), int line = __builtin_LINE());
    // Finds the window again, e.g. after a second start.
    HWND FindMainWindow() const;

    HWND Panel() const;
    HWND Control(int id) const;
    // The text a control or window shows; a missing window or one that does
    // not answer is a failure at the caller's line, never an empty text.
    std::wstring ControlText(int id, const char* file = __builtin_FILE(), int line = __builtin_LINE()) const;
    std::wstring WindowTextW(HWND window, const char* file = __builtin_FILE(), int line = __builtin_LINE()) const;

    // Settings file beside the copy.
    void WriteIni(const std::string& content) const;
    void SetIni(const char* section, const char* key, const char* value) const;
    // The value, or `absent` when the key is not there.
    std::string ReadIni(const char* section, const char* key, const char* absent = "<absent>") const;
    bool IniExists() const;
    void DeleteIni() const;

    std::string directory;  // with trailing '\'
    std::string exeName;    // e.g. "startup_bringsforward.exe"
    std::string exePath;
    std::string className;  // the upper-cased name the monitor registers
    std::string iniPath;
    std::string currentFolder;  // the folder the copy starts in; empty: its own
    HWND window = nullptr;
    PROCESS_INFORMATION process = {};

private:
    bool made_ = false;  // copied, and Wine told its platform
};

#endif
