// The panel's buttons and its F1 key.
#include "panel_commands.h"

#include <stdio.h>
#include <stdlib.h>

#include "app_settings.h"
#include "help_topics.h"
#include "lvwm_messages.h"
#include "monitor_state.h"
#include "options_dialog.h"
#include "resource.h"
#include "shell.h"

static const int kHelpCommandSize = 256;
static const int kDeviceNameSize = 260;  // only its length is used
static const DWORD kCancelAnswerMs = 5000;  // the Win32s print side's time to take a cancel

// Help topics of the device states Ready, Warning and Error.
static const DWORD kStateHelpTopics[] = {502, 503, 504};

static const ControlTopic kPanelTopics[] = {
    {IDC_PANEL_CLOSE, 3112},
    {IDC_PANEL_HELP, 3113},
    {IDC_QUEUE_BUTTON, 3108},
    {IDC_CANCEL_JOB, 3111},
    {IDC_PROPERTIES, 3109},
    {IDC_OPTIONS, 3110},
};

// F1 with the focus on none of the buttons: the topic before the buttons'
// own, kept in the help file for the status window as a whole.
static const DWORD kPanelOverviewTopic = 3107;

// The panel goes first, then the main window, whose end ends the run.
static INT_PTR CloseMonitor(HWND panel)
{
    DestroyWindow(panel);
    DestroyWindow(monitorState.mainWindow);
    return 1;
}

// Win32s has no WinHelp service to ask for a topic: the viewer is started
// on the file instead. A path too long for the line is cut, not overrun.
static INT_PTR ShowStateHelp(HWND panel)
{
    if (monitorState.platformId != VER_PLATFORM_WIN32s) {
        WinHelpA(panel, appSettings.helpFilePath, HELP_CONTEXT, kStateHelpTopics[monitorState.deviceState]);
        return 1;
    }
    char command[kHelpCommandSize];
    snprintf(command, sizeof command, "winhelp.exe %s", appSettings.helpFilePath);
    WinExec(command, SW_SHOW);
    return 1;
}

// A printer has a section of its own once its Device Name has three
// characters or more.
static bool HasOwnSection(const char* printer)
{
    char deviceName[kDeviceNameSize];
    DWORD length = GetPrivateProfileStringA(printer, kKeyDeviceName, "", deviceName, sizeof deviceName,
                                            appSettings.settingsPath);
    return length >= 3;
}

// With /P the viewer is read afresh from the printer's section, as stored,
// without the program's directory.
static INT_PTR StartQueueViewer()
{
    if (monitorState.printerNameMode) {
        char printer[kPrinterNameSize];
        PrinterIdentity(printer);
        const char* section = HasOwnSection(printer) ? printer : kStatusMonitor;
        GetPrivateProfileStringA(section, kKeyQueueExe, "", appSettings.queueCommand,
                                 sizeof appSettings.queueCommand, appSettings.settingsPath);
    }
    WinExec(appSettings.queueCommand, SW_SHOW);
    return 1;
}

static ULONG_PTR answeredCancel = 0;  // number of the last cancel request answered

static VOID CALLBACK CancelAnswered(HWND, UINT, ULONG_PTR request, LRESULT)
{
    answeredCancel = request;
}

// Sent so that it stays queued until the job window reads again, however
// long its print side is busy: a send whose wait runs out is withdrawn under
// Wine, and SMTO_ABORTIFHUNG drops it. The panel waits for the answer only a
// while, taking sent messages meanwhile as SendMessageA would.
static void SendCancelRequest(HWND jobWindow)
{
    static ULONG_PTR lastRequest = 0;
    ULONG_PTR request = ++lastRequest;
    if (!SendMessageCallbackA(jobWindow, LVWM_CANCELJOB, 1, 0, CancelAnswered, request))
        return;
    DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        DWORD waited = GetTickCount() - start;
        if (answeredCancel == request || waited >= kCancelAnswerMs)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kCancelAnswerMs - waited, QS_SENDMESSAGE);
    }
}

// The print side reads the reset of its event as the cancel request; on
// Win32s, without named events, it is told by message instead.
static INT_PTR CancelJob()
{
    if (!monitorState.jobWindow)
        return 1;
    if (monitorState.platformId == VER_PLATFORM_WIN32s) {
        SendCancelRequest(monitorState.jobWindow);
        return 1;
    }
    HANDLE event = OpenEventA(EVENT_ALL_ACCESS, TRUE, LV_CANCEL_EVENT_NAME);
    if (!event)
        return 1;
    ResetEvent(event);
    CloseHandle(event);
    return 1;
}

// Closes the printer on every way out of the properties command.
class OpenedPrinter {
public:
    explicit OpenedPrinter(char* name)
    {
        PRINTER_DEFAULTSA defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
        if (!OpenPrinterA(name, &handle_, &defaults))
            handle_ = nullptr;
    }
    ~OpenedPrinter()
    {
        if (handle_)
            ClosePrinter(handle_);
    }
    OpenedPrinter(const OpenedPrinter&) = delete;
    OpenedPrinter& operator=(const OpenedPrinter&) = delete;

    HANDLE handle() const { return handle_; }

private:
    HANDLE handle_ = nullptr;
};

// A block of the size the spooler or the driver asks for, freed on every
// way out.
class Block {
public:
    explicit Block(size_t size) : bytes_(size > 0 ? malloc(size) : nullptr) {}
    ~Block() { free(bytes_); }
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;

    BYTE* bytes() const { return static_cast<BYTE*>(bytes_); }

private:
    void* bytes_;
};

// The driver's document dialog starts from the printer's defaults; OK makes
// what the user chose the new defaults.
static void EditDefaultDocumentSettings(HWND panel, HANDLE printer)
{
    DWORD needed = 0;
    // Asked without a buffer, the spooler normally fails and names the size
    // it needs; a failure that names none ends the command.
    if (GetPrinterA(printer, 2, nullptr, 0, &needed) || needed == 0)
        return;
    Block info(needed);
    if (!info.bytes() || !GetPrinterA(printer, 2, info.bytes(), needed, &needed))
        return;
    PRINTER_INFO_2A* record = reinterpret_cast<PRINTER_INFO_2A*>(info.bytes());

    LONG devModeSize = DocumentPropertiesA(panel, printer, record->pPrinterName, nullptr, nullptr, 0);
    if (devModeSize <= 0)
        return;
    Block devMode(static_cast<size_t>(devModeSize));
    if (!devMode.bytes())
        return;
    DEVMODEA* chosen = reinterpret_cast<DEVMODEA*>(devMode.bytes());
    if (DocumentPropertiesA(panel, printer, record->pPrinterName, chosen, nullptr,
                            DM_IN_PROMPT | DM_OUT_BUFFER) != IDOK)
        return;
    record->pDevMode = chosen;
    SetPrinterA(printer, 2, info.bytes(), 0);
}

// Without /P the printer is the one named "Status Monitor". A name longer
// than the buffer is cut to fit it.
static void PropertiesPrinterName(char* printer, size_t size)
{
    lstrcpynA(printer, kStatusMonitor, static_cast<int>(size));
    if (!monitorState.printerNameMode)
        return;
    char identity[kPrinterNameSize];
    PrinterIdentity(identity);
    lstrcpynA(printer, identity, static_cast<int>(size));
    if (!HasOwnSection(printer))
        GetPrivateProfileStringA(kStatusMonitor, kKeyDefaultPrinter, "", printer, static_cast<DWORD>(size),
                                 appSettings.settingsPath);
}

static INT_PTR ShowPrinterProperties(HWND panel)
{
    if (monitorState.platformId == VER_PLATFORM_WIN32s) {
        WinExec("control.exe Imprimantes", SW_SHOW);
        return 1;
    }
    char printer[kPrinterNameSize];
    PropertiesPrinterName(printer, sizeof printer);
    OpenedPrinter opened(printer);
    if (!opened.handle())
        return 1;
    if (monitorState.platformId == VER_PLATFORM_WIN32_WINDOWS)
        PrinterProperties(panel, opened.handle());
    else
        EditDefaultDocumentSettings(panel, opened.handle());
    return 1;
}

// The panel takes no input while the dialog is open; the dialog gives it
// back when it closes.
static INT_PTR OpenOptions()
{
    HWND dialog = CreateDialogParamA(monitorState.instance, MAKEINTRESOURCEA(IDD_OPTIONS),
                                     monitorState.mainWindow, OptionsDialogProc, 0);
    if (!dialog)
        return 1;
    ShowWindow(dialog, SW_SHOW);
    currentDialog = dialog;
    EnableWindow(monitorState.mainWindow, FALSE);
    return 1;
}

// The same on every platform, Win32s included.
static INT_PTR ShowControlHelp(HWND panel)
{
    int control = GetDlgCtrlID(GetFocus());
    WinHelpA(panel, appSettings.helpFilePath, HELP_CONTEXT,
             HelpTopicOf(kPanelTopics, control, kPanelOverviewTopic));
    return 0;
}

INT_PTR OnPanelCommand(HWND panel, WORD id)
{
    switch (id) {
    case IDC_PANEL_CLOSE:
        return CloseMonitor(panel);
    case IDC_PANEL_HELP:
        return ShowStateHelp(panel);
    case IDC_QUEUE_BUTTON:
        return StartQueueViewer();
    case IDC_CANCEL_JOB:
        return CancelJob();
    case IDC_PROPERTIES:
        return ShowPrinterProperties(panel);
    case IDC_OPTIONS:
        return OpenOptions();
    case IDM_CONTEXT_HELP:
        return ShowControlHelp(panel);
    default:
        return 0;
    }
}
