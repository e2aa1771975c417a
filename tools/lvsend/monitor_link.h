// Reaching the running monitor: finding its window, sending with a time
// limit, starting it.
#ifndef LVSEND_MONITOR_LINK_H
#define LVSEND_MONITOR_LINK_H

#include <windows.h>

#include <string>

// Time limits of a send, in milliseconds.
const DWORD kSendTimeoutMs = 5000;
// A status report and the alert return only after the alert sound.
const DWORD kAlertTimeoutMs = 30000;
const DWORD kStartTimeoutMs = 15000;

// The options given before the command.
struct Options {
    std::string className;  // window class of the monitor
    bool classGiven = false;
    std::string exePath;    // program that `start` runs; empty: lumeview.exe beside lvsend
    DWORD timeoutMs = 0;    // 0: each command's own limit
};

// The message's name ("LVWM_ERROR"), or nullptr for numbers not in the protocol.
const char* MessageName(UINT message);
// Accepts the full name, the name without "LVWM_", or a number.
bool MessageByName(const std::string& word, UINT* message);

// The monitor's main window, or nullptr with the error already printed.
HWND FindMonitor(const Options& options);

// Sends and prints "NAME(wParam, lParam) -> result". Returns an exit code;
// *result holds the answer when it is ExitOk.
int SendAndPrint(const Options& options, HWND window, UINT message, WPARAM wParam,
                 LPARAM lParam, DWORD defaultTimeoutMs, LRESULT* result = nullptr);

// Finds the monitor, then SendAndPrint.
int SendToMonitor(const Options& options, UINT message, WPARAM wParam, LPARAM lParam,
                  DWORD defaultTimeoutMs = kSendTimeoutMs);

// Runs the monitor with commandRest after its name and waits for its window.
int StartMonitor(const Options& options, const std::string& commandRest);

// Directory of lvsend.exe, with its trailing '\'.
std::string OwnDirectory();

// The class name the monitor registers for an executable path: the file
// name up to its first '.', upper-cased.
std::string ClassNameForExe(const std::string& exePath);

#endif
