#include "panel_reader.h"

#include "monitor_link.h"
#include "output.h"
#include "resource.h"

namespace {

// The panel is the child of the main window that holds the status text.
HWND FindPanel(HWND mainWindow)
{
    for (HWND child = GetWindow(mainWindow, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgItem(child, IDC_STATUS_TEXT) != nullptr)
            return child;
    }
    return nullptr;
}

// The text as UTF-8; false when the control is missing or does not answer.
bool ControlText(HWND panel, int id, DWORD timeoutMs, std::string* text)
{
    HWND control = GetDlgItem(panel, id);
    if (control == nullptr)
        return false;
    const int kCapacity = 1024;
    wchar_t buffer[kCapacity] = {};
    DWORD_PTR length = 0;
    if (SendMessageTimeoutW(control, WM_GETTEXT, kCapacity, reinterpret_cast<LPARAM>(buffer),
                            SMTO_NORMAL, timeoutMs, &length) == 0)
        return false;
    if (length >= static_cast<DWORD_PTR>(kCapacity))
        length = kCapacity - 1;
    *text = Utf8FromWide(buffer, static_cast<int>(length));
    return true;
}

const char* ButtonState(HWND panel, int id)
{
    HWND button = GetDlgItem(panel, id);
    if (button == nullptr)
        return "missing";
    // The button's own style: IsWindowVisible would also say hidden for
    // every button of a hidden monitor.
    if ((GetWindowLongA(button, GWL_STYLE) & WS_VISIBLE) == 0)
        return "hidden";
    return IsWindowEnabled(button) ? "enabled" : "disabled";
}

const char* WindowState(HWND window)
{
    if (IsIconic(window))
        return "minimised";
    return IsWindowVisible(window) ? "shown" : "hidden";
}

}  // namespace

int ReadPanel(const Options& options)
{
    LvpsMonitor monitor;
    int code = FindMonitor(options, &monitor);
    if (code != ExitOk)
        return code;
    HWND mainWindow = monitor.window;
    HWND panel = FindPanel(mainWindow);
    if (panel == nullptr)
        return Fail(ExitNoMonitor, "the monitor window has no status panel");

    DWORD limit = options.timeoutMs != 0 ? options.timeoutMs : LVPS_DEFAULT_TIMEOUT_MS;
    const struct {
        const char* label;
        int id;
    } texts[] = {
        {"status", IDC_STATUS_TEXT},
        {"document", IDC_DOCUMENT_NAME},
        {"pages", IDC_PAGES_TEXT},
    };
    for (const auto& field : texts) {
        std::string text;
        if (!ControlText(panel, field.id, limit, &text))
            return Fail(ExitNoMonitor, "cannot read the %s text of the monitor", field.label);
        PrintLine("%s: %s", field.label, Quoted(text).c_str());
    }
    PrintLine("buttons: close=%s help=%s cancel-job=%s options=%s queue=%s properties=%s",
              ButtonState(panel, IDC_PANEL_CLOSE), ButtonState(panel, IDC_PANEL_HELP),
              ButtonState(panel, IDC_CANCEL_JOB), ButtonState(panel, IDC_OPTIONS),
              ButtonState(panel, IDC_QUEUE_BUTTON), ButtonState(panel, IDC_PROPERTIES));
    PrintLine("window: %s", WindowState(mainWindow));
    return ExitOk;
}

// Posted, as a click is: the monitor may open a dialog and keep it open.
int PressPanelButton(const Options& options, const std::string& name)
{
    const struct {
        const char* name;
        int id;
    } buttons[] = {
        {"close", IDC_PANEL_CLOSE}, {"help", IDC_PANEL_HELP},     {"cancel-job", IDC_CANCEL_JOB},
        {"options", IDC_OPTIONS},   {"queue", IDC_QUEUE_BUTTON}, {"properties", IDC_PROPERTIES},
    };
    int id = 0;
    for (const auto& button : buttons)
        if (name == button.name)
            id = button.id;
    if (id == 0)
        return Fail(ExitUsage, "press: unknown button '%s' (close, help, cancel-job, options, queue, properties)",
                    name.c_str());
    LvpsMonitor monitor;
    int code = FindMonitor(options, &monitor);
    if (code != ExitOk)
        return code;
    HWND panel = FindPanel(monitor.window);
    HWND button = panel ? GetDlgItem(panel, id) : nullptr;
    if (button == nullptr)
        return Fail(ExitNoMonitor, "the monitor has no %s button", name.c_str());
    if (!PostMessageA(button, BM_CLICK, 0, 0))
        return Fail(ExitFailure, "cannot press the %s button", name.c_str());
    PrintLine("pressed %s", name.c_str());
    return ExitOk;
}
