#include "recording_window.h"

std::string RecordedMessage::CopiedText(size_t offset) const
{
    if (offset >= copied.size())
        return "";
    return std::string(copied.c_str() + offset, strnlen(copied.c_str() + offset, copied.size() - offset));
}

RecordingWindow::RecordingWindow(const std::string& name, MessageRange range, LRESULT answer, const char* file,
                                 int line)
    : className(name), range_(range), answer_(answer)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = className.c_str();
    // The class stays registered for the next window of that name.
    WNDCLASSA registered = {};
    if (!RegisterClassA(&windowClass) &&
        (!GetClassInfoA(instance, className.c_str(), &registered) || registered.lpfnWndProc != WindowProc)) {
        notMade_ = "the class " + className + " is registered by another window procedure";
    } else {
        window = CreateWindowA(className.c_str(), className.c_str(), WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, instance,
                               nullptr);
        if (window)
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        else
            notMade_ = "no window of class " + className + ", error " + std::to_string(GetLastError());
    }
    if (!notMade_.empty())
        ADD_FAILURE_AT(file, line) << notMade_;
}

RecordingWindow::~RecordingWindow()
{
    if (IsWindow(window))
        DestroyWindow(window);
}

const std::vector<RecordedMessage>& RecordingWindow::Records(DWORD waitMs)
{
    DWORD start = GetTickCount();
    do {
        MSG message;
        while (window && PeekMessageA(&message, window, range_.first, range_.last, PM_REMOVE))
            DispatchMessageA(&message);
        if (waitMs > 0)
            Sleep(10);
    } while (GetTickCount() - start < waitMs);
    return records_;
}

testing::AssertionResult RecordingWindow::WaitFor(size_t count, DWORD timeoutMs)
{
    if (!window)
        return testing::AssertionFailure() << notMade_;
    DWORD start = GetTickCount();
    while (records_.size() < count && GetTickCount() - start < timeoutMs) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    if (records_.size() < count)
        return testing::AssertionFailure() << className << " got " << records_.size() << " of " << count
                                           << " messages within " << timeoutMs << " ms";
    return testing::AssertionSuccess();
}

LRESULT CALLBACK RecordingWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self || message < self->range_.first || message > self->range_.last)
        return DefWindowProcA(window, message, wParam, lParam);
    RecordedMessage record = {message, wParam, lParam, 0, ""};
    if (message == WM_COPYDATA && lParam) {
        const COPYDATASTRUCT* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        record.copyTag = copy->dwData;
        if (copy->lpData)
            record.copied.assign(static_cast<const char*>(copy->lpData), copy->cbData);
    }
    self->records_.push_back(record);
    return self->answer_;
}
