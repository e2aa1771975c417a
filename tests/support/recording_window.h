// A window of this process under a chosen class name, standing in for
// another program's (the monitor, a print job, the help viewer): it records
// every message of a chosen range that reaches it, with the bytes a
// WM_COPYDATA copied, and answers each with a chosen value. It serves the
// thread that made it.
#ifndef LUMEVIEW_TEST_RECORDING_WINDOW_H
#define LUMEVIEW_TEST_RECORDING_WINDOW_H

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

struct RecordedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    // WM_COPYDATA only: the block's tag (dwData) and the bytes it copied.
    ULONG_PTR copyTag;
    std::string copied;

    // The copied bytes read as a T; false when fewer came.
    template <typename T>
    bool CopiedAs(T* block) const
    {
        if (copied.size() < sizeof(T))
            return false;
        std::memcpy(block, copied.data(), sizeof(T));
        return true;
    }
    // The string copied at `offset`, up to its terminator or the block's end.
    std::string CopiedText(size_t offset) const;
};

struct MessageRange {
    UINT first;
    UINT last;  // included
};

class RecordingWindow {
public:
    // A window that cannot be made is a failure at the caller's line; it
    // then records nothing and every wait fails.
    RecordingWindow(const std::string& className, MessageRange range, LRESULT answer,
                    const char* file = __builtin_FILE(), int line = __builtin_LINE());
    ~RecordingWindow();
    RecordingWindow(const RecordingWindow&) = delete;
    RecordingWindow& operator=(const RecordingWindow&) = delete;

    // Handles for `waitMs` (at least once) what this thread's queue holds
    // for the window, so that a message posted instead of sent is recorded
    // too; then the records since the window was made or cleared.
    const std::vector<RecordedMessage>& Records(DWORD waitMs = 0);
    void Clear() { records_.clear(); }
    // Serves this thread's messages until `count` records came; a failure
    // saying how many did otherwise.
    [[nodiscard]] testing::AssertionResult WaitFor(size_t count, DWORD timeoutMs = 5000);

    const std::string className;
    HWND window = nullptr;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    MessageRange range_;
    LRESULT answer_;
    std::string notMade_;  // why there is no window
    std::vector<RecordedMessage> records_;
};

#endif
