#include "hhctrl_stand_in.h"

#include <sstream>

#include "monitor_copy.h"
#include "polling.h"
#include "recorder.h"
#include "test_files.h"
#include "wine_platform.h"

HhctrlStandIn::HhctrlStandIn(const char* file, int line)
    : SystemProgramStandIn(SystemFolder::System, "hhctrl.ocx", kHtmlHelpRecorder, file, line)
{
}

testing::AssertionResult HhctrlStandIn::LoadedBy(const MonitorCopy& monitor) const
{
    testing::AssertionResult ready = installed();
    return ready ? SetWineDllOverride(monitor.exeName, "hhctrl.ocx", "native") : ready;
}

HtmlHelpLog HhctrlStandIn::Log() const
{
    HtmlHelpLog log;
    // A line still being written is left for the next read.
    std::string text = ReadFileBytes(RecorderLogPath(path));
    std::istringstream lines(text.substr(0, text.find_last_of('\n') + 1));
    std::string line;
    while (std::getline(lines, line)) {
        if (line == "load") {
            ++log.loads;
            continue;
        }
        std::istringstream fields(line);
        std::string name;
        unsigned long owner = 0;
        HtmlHelpCall call = {};
        fields >> name >> owner >> call.command >> call.data >> std::ws;
        std::getline(fields, call.file);
        call.owner = reinterpret_cast<HWND>(static_cast<UINT_PTR>(owner));
        if (call.file == "-")
            call.file.clear();
        log.calls.push_back(call);
    }
    return log;
}

HtmlHelpLog HhctrlStandIn::WaitForCalls(size_t calls, DWORD timeoutMs) const
{
    HtmlHelpLog log;
    Eventually([&] {
        log = Log();
        return log.calls.size() >= calls;
    }, timeoutMs);
    return log;
}

void HhctrlStandIn::Clear() const
{
    DeleteFileA(RecorderLogPath(path).c_str());
}
