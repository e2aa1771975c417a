// The panel's buttons and its F1 key.
#include "ui/panel_commands.h"

#include <stdlib.h>

#include "lumeview/protocol.h"
#include "resource.h"
#include "settings/printer_identity.h"
#include "settings/settings_store.h"
#include "settings/system_paths.h"
#include "state/app_settings.h"
#include "state/monitor_state.h"
#include "state/window_object.h"
#include "ui/help_topic_lookup.h"
#include "ui/help_viewer.h"
#include "ui/options_dialog.h"
#include "ui/queued_send.h"
#include "ui/spooler.h"

static const int kHelpCommandSize = 256;
static const DWORD kCancelAnswerMs = 5000;  // the Win32s print side's time to take a cancel

// Help topics of the device states Ready, Warning and Error.
static const DWORD kStateHelpTopics[] = {IDH_STATE_READY, IDH_STATE_WARNING, IDH_STATE_ERROR};

static const ControlTopic kPanelTopics[] = {
    {IDC_PANEL_CLOSE, IDH_PANEL_CLOSE},
    {IDC_PANEL_HELP, IDH_PANEL_HELP},
    {IDC_QUEUE_BUTTON, IDH_QUEUE_BUTTON},
    {IDC_CANCEL_JOB, IDH_CANCEL_JOB},
    {IDC_PROPERTIES, IDH_PROPERTIES},
    {IDC_OPTIONS, IDH_OPTIONS},
};

// The panel goes first, then the main window, whose end ends the run.
INT_PTR CloseMonitor(HWND panel)
{
    DestroyWindow(panel);
    DestroyWindow(mainWindowObject.window);
    return 1;
}

// Win32s has no WinHelp service to ask for a topic: the system's viewer is
// started on the file instead. A line too long for its buffer is not run:
// cut, it would name another file.
static INT_PTR ShowStateHelp(HWND panel)
{
    if (monitorState.platformId != VER_PLATFORM_WIN32s) {
        ShowHelpTopic(panel, kStateHelpTopics[monitorState.deviceState]);
        return 1;
    }
    char command[kHelpCommandSize];
    if (appSettings.helpFilePath[0] != '\0' &&
        SystemProgramCommand("winhelp.exe", appSettings.helpFilePath, command, sizeof command))
        WinExec(command, SW_SHOW);
    return 1;
}

// With /P the viewer is read afresh from the printer's section, as stored.
// Which program the command names is decided only now, so that a viewer
// installed after the settings were loaded runs.
static INT_PTR StartQueueViewer()
{
    if (monitorState.printerNameMode) {
        char printer[kPrinterNameSize];
        PrinterIdentity(printer);
        ReadPrinterQueueCommand(printer, appSettings.queueCommand, sizeof appSettings.queueCommand);
    }
    char line[kPathSize];
    if (QueueCommandToRun(line, sizeof line))
        WinExec(line, SW_SHOW);
    return 1;
}

// The print side reads the reset of its event as the cancel request; on
// Win32s, without named events, it is told by message instead.
static INT_PTR CancelJob()
{
    if (!monitorState.jobWindow)
        return 1;
    if (monitorState.platformId == VER_PLATFORM_WIN32s) {
        // The print side may be busy: the request waits for it in its queue.
        SendQueued(monitorState.jobWindow, LVWM_CANCELJOB, 1, 0, kCancelAnswerMs);
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
        if (!SpoolerOpenPrinter(name, &handle_, &defaults))
            handle_ = nullptr;
    }
    ~OpenedPrinter()
    {
        if (handle_)
            SpoolerClosePrinter(handle_);
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

// Reads the printer's level-2 record into a block of the size the spooler
// asks for; the record is 0 when it cannot be read.
class PrinterRecord {
public:
    explicit PrinterRecord(HANDLE printer) : size_(NeededSize(printer)), block_(size_)
    {
        DWORD needed = 0;
        if (block_.bytes() && SpoolerGetPrinter(printer, 2, block_.bytes(), size_, &needed))
            record_ = reinterpret_cast<PRINTER_INFO_2A*>(block_.bytes());
    }
    PrinterRecord(const PrinterRecord&) = delete;
    PrinterRecord& operator=(const PrinterRecord&) = delete;

    PRINTER_INFO_2A* record() const { return record_; }

private:
    // Asked without a buffer, the spooler normally fails and names the size
    // it needs; a failure that names none gives no record.
    static DWORD NeededSize(HANDLE printer)
    {
        DWORD needed = 0;
        return SpoolerGetPrinter(printer, 2, nullptr, 0, &needed) ? 0 : needed;
    }

    DWORD size_;
    Block block_;
    PRINTER_INFO_2A* record_ = nullptr;
};

// Stores `chosen` as the printer's default document settings. The record
// is read again at this moment, so that what others changed while the
// dialog was open (comment, port, share) is written back as they left it,
// and without its security descriptor, which the spooler then leaves as it
// is. Level 8, which holds the settings alone, is not known before
// Windows 2000.
static void StoreDefaultDocumentSettings(HANDLE printer, DEVMODEA* chosen)
{
    PrinterRecord fresh(printer);
    if (!fresh.record())
        return;
    fresh.record()->pDevMode = chosen;
    fresh.record()->pSecurityDescriptor = nullptr;
    SpoolerSetPrinter(printer, 2, reinterpret_cast<BYTE*>(fresh.record()), 0);
}

// The driver's document dialog starts from the printer's defaults; OK makes
// what the user chose the new defaults.
static void EditDefaultDocumentSettings(HWND panel, HANDLE printer)
{
    PrinterRecord info(printer);
    PRINTER_INFO_2A* record = info.record();
    if (!record)
        return;

    LONG devModeSize = SpoolerDocumentProperties(panel, printer, record->pPrinterName, nullptr, nullptr, 0);
    if (devModeSize <= 0)
        return;
    Block devMode(static_cast<size_t>(devModeSize));
    if (!devMode.bytes())
        return;
    DEVMODEA* chosen = reinterpret_cast<DEVMODEA*>(devMode.bytes());
    if (SpoolerDocumentProperties(panel, printer, record->pPrinterName, chosen, nullptr,
                                  DM_IN_PROMPT | DM_OUT_BUFFER) != IDOK)
        return;
    StoreDefaultDocumentSettings(printer, chosen);
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
    if (!PrinterHasOwnSection(printer))
        ReadDefaultPrinter(printer, static_cast<DWORD>(size));
}

static INT_PTR ShowPrinterProperties(HWND panel)
{
    if (monitorState.platformId == VER_PLATFORM_WIN32s) {
        char command[kPathSize];
        if (SystemProgramCommand("control.exe", "Imprimantes", command, sizeof command))
            WinExec(command, SW_SHOW);
        return 1;
    }
    char printer[kPrinterNameSize];
    PropertiesPrinterName(printer, sizeof printer);
    OpenedPrinter opened(printer);
    if (!opened.handle())
        return 1;
    if (monitorState.platformId == VER_PLATFORM_WIN32_WINDOWS)
        SpoolerPrinterProperties(panel, opened.handle());
    else
        EditDefaultDocumentSettings(panel, opened.handle());
    return 1;
}

// The same on every platform, Win32s included.
static INT_PTR ShowControlHelp(HWND panel)
{
    int control = GetDlgCtrlID(GetFocus());
    ShowHelpTopic(panel, HelpTopicOf(kPanelTopics, control, IDH_STATUS_PANEL));
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
        OpenOptionsDialog();
        return 1;
    case IDM_CONTEXT_HELP:
        return ShowControlHelp(panel);
    default:
        return 0;
    }
}
