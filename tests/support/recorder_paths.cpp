#include "recorder.h"
#include "test_environment.h"
#include "test_files.h"

#include <windows.h>

#include <algorithm>


std::string RecorderLogPath(const std::string& exePath)
{
    return exePath + ".log";
}

bool InstallRecorder(const std::string& exePath, const char* built)
{
    std::string source = TestEnvironment("LUMEVIEW_BIN") + "\\" + built;
    return CopyFileA(source.c_str(), exePath.c_str(), FALSE) != FALSE;
}

std::string WaitForRecorderLog(const std::string& exePath, size_t lines, unsigned timeoutMs)
{
    DWORD start = GetTickCount();
    std::string log;
    do {
        log = ReadFileBytes(RecorderLogPath(exePath));
        if (static_cast<size_t>(std::count(log.begin(), log.end(), '\n')) >= lines)
            return log;
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return log;
}

size_t LineCount(const std::string& text)
{
    size_t lines = 0;
    for (char c : text)
        lines += c == '\n';
    return lines;
}

std::string LastLine(const std::string& text)
{
    std::string body = text.substr(0, text.find_last_not_of("\r\n") + 1);
    size_t start = body.find_last_of('\n');
    return start == std::string::npos ? body : body.substr(start + 1);
}
