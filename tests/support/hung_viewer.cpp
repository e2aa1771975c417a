#include "hung_viewer.h"

#include <string>

#include "lumeview/protocol.h"
#include "monitor_copy.h"
#include "polling.h"
#include "recording_window.h"
#include "resource.h"
#include "text_conversion.h"

static const char kViewerClass[] = "MS_WINHELP";
// Longer than any test that holds it, so that no thread is left for ever.
static const DWORD kLongestHangMs = 120000;

HungViewer::HungViewer(const char* file, int line)
    : created_(CreateEventA(nullptr, TRUE, FALSE, nullptr)), release_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      thread_(CreateThread(nullptr, 0, Run, this, 0, nullptr)), file_(file), line_(line)
{
    if (WaitForSingleObject(created_, 5000) != WAIT_OBJECT_0)
        ADD_FAILURE_AT(file_, line_) << "no window of class " << kViewerClass;
}

HungViewer::~HungViewer()
{
    SetEvent(release_);
    if (WaitForSingleObject(thread_, 10000) != WAIT_OBJECT_0)
        ADD_FAILURE_AT(file_, line_) << "the viewer's thread did not end";
    CloseHandle(thread_);
    CloseHandle(created_);
    CloseHandle(release_);
}

DWORD WINAPI HungViewer::Run(void* self)
{
    HungViewer* viewer = static_cast<HungViewer*>(self);
    RecordingWindow window(kViewerClass, {WM_COPYDATA, WM_COPYDATA}, TRUE);
    if (window.window)
        SetEvent(viewer->created_);
    WaitForSingleObject(viewer->release_, kLongestHangMs);
    window.Records();
    return 0;
}

testing::AssertionResult AnswersAfterAskingForHelp(MonitorCopy& monitor, const std::function<void()>& press)
{
    press();
    // Posted, it waits behind the request in the monitor's queue.
    PostMessageA(monitor.window, LVWM_OPERATION, LV_OP_PRINTING, 0);
    const std::wstring printing = Utf16FromCp1252("Impression en cours");
    bool ended = false;
    if (!Eventually([&] { return (ended = !monitor.Running()) || monitor.ControlText(IDC_STATUS_TEXT) == printing; },
                    6000))
        return testing::AssertionFailure() << "the monitor read no message for 6 s after the request";
    if (ended)
        return testing::AssertionFailure() << (testing::Message() << "the monitor ended after the request, exit code "
                                                                  << std::hex << std::showbase
                                                                  << monitor.WaitForExit(0));
    bool answered = false;
    monitor.Send(LVWM_ERROR, OPECALL_RECOVER, 2, 3000, &answered);
    if (!answered)
        return testing::AssertionFailure() << "a report got no answer within 3 s";
    return testing::AssertionSuccess();
}
