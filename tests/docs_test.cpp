// The documents that ship with the monitor agree with the program.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "lumeview/protocol.h"
#include "monitor_copy.h"
#include "test_environment.h"
#include "test_files.h"

namespace {

// Runs lvsend and returns what it wrote to its standard output.
std::string LvsendOutput(const std::string& arguments)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return "";
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    std::string line = "\"" + TestEnvironment("LVSEND_EXE") + "\" " + arguments;
    bool started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd);
    // Read while it runs, so that a full pipe never stops it; a run that
    // does not end in time is cut short.
    std::string output;
    DWORD start = GetTickCount();
    bool ended = !started;
    while (started) {
        ended = WaitForSingleObject(process.hProcess, 20) == WAIT_OBJECT_0;
        DWORD available = 0;
        char buffer[4096];
        DWORD read = 0;
        while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available > 0 &&
               ReadFile(readEnd, buffer, available < sizeof buffer ? available : sizeof buffer, &read, nullptr) &&
               read > 0)
            output.append(buffer, read);
        if (ended || GetTickCount() - start > 30000)
            break;
    }
    EXPECT_TRUE(ended) << "lvsend " << arguments << " did not end";
    CloseHandle(readEnd);
    if (started) {
        if (!ended)
            TerminateProcess(process.hProcess, 99);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    std::string clean;
    for (char c : output)
        if (c != '\r')
            clean += c;
    return clean;
}

std::string Between(const std::string& text, const std::string& begin, const std::string& end)
{
    size_t start = text.find(begin);
    if (start == std::string::npos)
        return "<no " + begin + ">";
    start = text.find('\n', start) + 1;
    size_t stop = text.find(end, start);
    return stop == std::string::npos ? "<no " + end + ">" : text.substr(start, stop - start);
}

}  // namespace

TEST(Docs, ProtocolStatusTableIsTheProgramsOwn)
{
    std::string document = ReadFileBytes(TestEnvironment("LUMEVIEW_SOURCE") + "\\docs\\protocol.md");
    std::string generated = LvsendOutput("table --markdown");
    ASSERT_NE(std::string::npos, generated.find("Incident papier")) << generated;
    EXPECT_EQ(generated, Between(document, "<!-- status table: generated", "<!-- end of status table -->"))
        << "run scripts/update-protocol-doc.sh after changing the table";
}

TEST(Docs, ProtocolListsEveryMessageWithItsNumber)
{
    std::string document = ReadFileBytes(TestEnvironment("LUMEVIEW_SOURCE") + "\\docs\\protocol.md");
    struct Message {
        const char* name;
        int number;
    } messages[] = {
        {"LVWM_APPINIT", LVWM_APPINIT},     {"LVWM_APPCLOSE", LVWM_APPCLOSE}, {"LVWM_APPSHOW", LVWM_APPSHOW},
        {"LVWM_APPMINIMUM", LVWM_APPMINIMUM}, {"LVWM_JOBWINDOW", LVWM_JOBWINDOW}, {"LVWM_DOCNAME", LVWM_DOCNAME},
        {"LVWM_ERROR", LVWM_ERROR},         {"LVWM_OPERATION", LVWM_OPERATION}, {"LVWM_PROGRESS", LVWM_PROGRESS},
        {"LVWM_CANCELJOB", LVWM_CANCELJOB}, {"LVWM_ALERT", LVWM_ALERT},       {"LVWM_SETSTATE", LVWM_SETSTATE},
    };
    for (const Message& message : messages) {
        std::string row = "| `" + std::string(message.name) + "` | " + std::to_string(message.number) + " |";
        EXPECT_NE(std::string::npos, document.find(row)) << row;
    }
}

TEST(Docs, SampleSettingsHoldEveryKeyAtItsDefaultButTheHelpFile)
{
    std::string sample = TestEnvironment("LUMEVIEW_SOURCE") + "\\docs\\lumeview.sample.INI";
    // Every key of the monitor's section with the value a missing key gives
    // (0 for the numbers, empty for the texts), but the help file that
    // ships beside the monitor.
    const std::vector<std::string> defaults = {"sound_audio_alert=0", "event_notification_type=0",
                                               "notification_area_icon=0", "IsIcon=0",
                                               "EngssHelp=lumeview.chm", "Soundfile=", "QueueExe=",
                                               "Default Printer="};
    char section[4096] = {};
    DWORD length = GetPrivateProfileSectionA("Status Monitor", section, sizeof section, sample.c_str());
    ASSERT_LT(length, sizeof section - 2);
    std::vector<std::string> entries;
    for (const char* entry = section; *entry; entry += strlen(entry) + 1) {
        if (*entry != ';')
            entries.push_back(entry);
    }
    EXPECT_EQ(defaults, entries);

    // The monitor starts with it as with no file at all: mode 0 refuses "/S".
    MonitorCopy monitor;
    WriteFileBytes(monitor.iniPath, ReadFileBytes(sample));
    ASSERT_TRUE(monitor.Start("/S"));
    EXPECT_EQ(nullptr, monitor.WaitForWindow()) << "watched while the refused copy runs";
    EXPECT_EQ(0u, monitor.WaitForExit());
}
