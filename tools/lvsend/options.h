// The options given before the command, shared by every command.
#ifndef LVSEND_OPTIONS_H
#define LVSEND_OPTIONS_H

#include <windows.h>

#include <string>

struct Options {
    std::string className;  // window class of the monitor
    bool classGiven = false;
    std::string exePath;    // program that `start` runs; empty: lumeview.exe beside lvsend
    DWORD timeoutMs = 0;    // 0: each command's own limit
};

#endif
