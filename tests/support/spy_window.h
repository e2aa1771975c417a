// A window of this process standing in for the monitor: it records every
// message of the program's range that another program sends it, and
// answers each with kSpyAnswer.
#ifndef LUMEVIEW_TEST_SPY_WINDOW_H
#define LUMEVIEW_TEST_SPY_WINDOW_H

#include <windows.h>

#include <string>
#include <vector>

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

const LRESULT kSpyAnswer = 4660;

class SpyWindow {
public:
    SpyWindow();
    ~SpyWindow();
    SpyWindow(const SpyWindow&) = delete;
    SpyWindow& operator=(const SpyWindow&) = delete;

    // What it received since the last spy window was made.
    static std::vector<Received>& received();

    std::string className;
    HWND window = nullptr;
};

#endif
