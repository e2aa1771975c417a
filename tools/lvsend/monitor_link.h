// Reaching the running monitor through lvps: finding its window, sending
// and printing each send, starting it.
#ifndef LVSEND_MONITOR_LINK_H
#define LVSEND_MONITOR_LINK_H

#include <windows.h>

#include <string>

#include "lvps.h"
#include "options.h"

// The message's name ("LVWM_ERROR"), or nullptr for numbers not in the protocol.
const char* MessageName(UINT message);
// Accepts the full name, the name without "LVWM_", or a number.
bool MessageByName(const std::string& word, UINT* message);

// lvsend's exit code for a status of the library.
int ExitCodeOf(LvpsStatus status);

// The monitor's main window, with the options' time limits and a trace that
// prints every send; an exit code, the error already printed.
int FindMonitor(const Options& options, LvpsMonitor* monitor);

// Finds the monitor and sends; the trace prints "NAME(wParam, lParam) -> result".
int SendToMonitor(const Options& options, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the monitor with commandRest after its name and waits until that
// copy shows its window or hands over to the one that runs.
int StartMonitor(const Options& options, const std::string& commandRest);

// Directory of lvsend.exe, with its trailing '\'.
std::string OwnDirectory();

#endif
