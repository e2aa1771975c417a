#include "help_spy.h"

#include "monitor_copy.h"
#include "resource.h"

// The block WinHelp sends with WM_COPYDATA.
#pragma pack(push, 1)
struct WinHelpBlock {
    WORD size;
    WORD command;
    LONG data;
    LONG reserved;
    WORD fileOffset;
    WORD dataOffset;
};
#pragma pack(pop)

static const ULONG_PTR kWinHelpCopyData = 0x0A1DE505;

HelpSpy::HelpSpy(const char* file, int line) : window_("MS_WINHELP", {WM_COPYDATA, WM_COPYDATA}, TRUE, file, line) {}

testing::AssertionResult HelpSpy::WaitFor(size_t count, DWORD timeoutMs)
{
    testing::AssertionResult came = window_.WaitFor(count, timeoutMs);
    if (came && Requests().size() < count)
        return testing::AssertionFailure() << "of " << window_.Records().size() << " blocks copied, "
                                           << Requests().size() << " are help requests";
    return came;
}

std::vector<HelpRequest> HelpSpy::Requests()
{
    std::vector<HelpRequest> requests;
    for (const RecordedMessage& record : window_.Records()) {
        WinHelpBlock block;
        if (record.copyTag != kWinHelpCopyData || !record.CopiedAs(&block))
            continue;
        HelpRequest request = {block.command, static_cast<DWORD>(block.data), "", reinterpret_cast<HWND>(record.wParam)};
        if (block.fileOffset)
            request.file = record.CopiedText(block.fileOffset);
        requests.push_back(request);
    }
    return requests;
}

int ObservedDeviceState(MonitorCopy& monitor, HelpSpy& spy)
{
    spy.Clear();
    DWORD_PTR result = 0;
    SendMessageTimeoutA(monitor.Control(IDC_PANEL_HELP), BM_CLICK, 0, 0, SMTO_NORMAL, 5000, &result);
    if (!spy.WaitFor(1))
        return -1;
    DWORD topic = spy.Requests().back().data;
    return topic >= 502 && topic <= 504 ? static_cast<int>(topic - 502) : -1;
}
